#include "engine/BlockFrames.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace oxw::engine {

namespace {

// Room for this many blocks per channel: a block that moves on needs its predecessor's samples
// only until the next, so the kept samples are moved to the front once every few blocks.
constexpr int kBlocksHeld = 4;

// Reads up to `frames` whole frames from `in`, whose position is byte `pos`, never at or past
// `dataEnd`; returns how many frames were read. A file that ends early reads as the end of the
// data; a read that fails returns -1 with `error` set.
int ReadFrames(std::ifstream& in, std::int64_t pos, std::int64_t dataEnd, int frames,
               int blockAlign, std::vector<unsigned char>& raw, int& error) {
    const std::int64_t want = static_cast<std::int64_t>(frames) * blockAlign;
    if (static_cast<std::int64_t>(raw.size()) < want) raw.resize(static_cast<std::size_t>(want));
    if (pos < 0) return 0;
    std::int64_t avail = std::clamp<std::int64_t>(dataEnd - pos, 0, want);
    avail -= avail % blockAlign;
    if (avail == 0) return 0;
    errno = 0;
    in.read(reinterpret_cast<char*>(raw.data()), static_cast<std::streamsize>(avail));
    if (in.bad()) {
        error = errno;
        return -1;
    }
    const std::int64_t got = in.gcount();
    in.clear();
    return static_cast<int>(got / blockAlign);
}

// The samples of `frames` frames of `raw` into a (first sample) and b (second, when b is given).
template <int Bytes>
void Samples(const unsigned char* raw, int frames, int blockAlign, int bytes, int* a, int* b) {
    const int width = Bytes > 0 ? Bytes : bytes;
    for (int k = 0; k < frames; ++k) {
        const unsigned char* frame = raw + static_cast<std::ptrdiff_t>(k) * blockAlign;
        a[k] = Sample16(frame, width);
        if (b) b[k] = Sample16(frame + width, width);
    }
}

}  // namespace

int BlockFrames::Read(std::ifstream& in, std::int64_t start, std::int64_t dataEnd,
                      const FrameLayout& layout, int& error) {
    ++serial_;
    const std::int64_t step = start - start_;
    const bool follows = kept_ && layout == layout_ && step > 0 &&
                         step % layout.blockAlign == 0 && step / layout.blockAlign < layout.points;
    kept_ = false;
    shift_ = 0;
    if (layout != layout_) {
        layout_ = layout;
        const auto held = static_cast<std::size_t>(kBlocksHeld) * layout.points;
        for (int c = 0; c < layout.channels; ++c)
            if (ch_[c].size() < held) ch_[c].resize(held);
    }
    const int frames = follows ? ReadOn(in, dataEnd, static_cast<int>(step / layout.blockAlign), error)
                               : ReadFresh(in, start, dataEnd, error);
    if (frames < 0) return -1;
    start_ = start;
    kept_ = frames == layout.points;
    return frames;
}

int BlockFrames::ReadFresh(std::ifstream& in, std::int64_t start, std::int64_t dataEnd,
                           int& error) {
    const int n = layout_.points;
    offset_ = 0;
    const int frames = ReadFrames(in, start, dataEnd, n, layout_.blockAlign, raw_, error);
    if (frames < 0) return -1;
    Convert(frames, 0);
    return frames;
}

// The block `shift` frames on from the kept one: its first points - shift frames are the kept
// block's last ones, the others follow the kept block in the file.
int BlockFrames::ReadOn(std::ifstream& in, std::int64_t dataEnd, int shift, int& error) {
    const int n = layout_.points;
    const std::int64_t next = start_ + static_cast<std::int64_t>(n) * layout_.blockAlign;
    in.clear();
    in.seekg(next);
    if (in.fail()) {
        // A stream that cannot move there reads the whole block from where it stands.
        in.clear();
        return ReadFresh(in, start_ + static_cast<std::int64_t>(shift) * layout_.blockAlign,
                         dataEnd, error);
    }
    if (offset_ + shift + n > kBlocksHeld * n) {
        for (int c = 0; c < layout_.channels; ++c)
            std::memmove(ch_[c].data(), ch_[c].data() + offset_, sizeof(int) * static_cast<std::size_t>(n));
        offset_ = 0;
    }
    offset_ += shift;
    shift_ = shift;
    const int frames = ReadFrames(in, next, dataEnd, shift, layout_.blockAlign, raw_, error);
    if (frames < 0) return -1;
    Convert(frames, n - shift);
    return n - shift + frames;
}

// Converts the `frames` frames just read into samples to.. of the current block, and makes the
// rest of the block silent.
void BlockFrames::Convert(int frames, int to) {
    const unsigned char* raw = raw_.data();
    int* a = Channel(0) + to;
    int* b = layout_.channels > 1 ? Channel(1) + to : nullptr;
    if (layout_.bytesPerSample == 2)
        Samples<2>(raw, frames, layout_.blockAlign, 2, a, b);
    else
        Samples<0>(raw, frames, layout_.blockAlign, layout_.bytesPerSample, a, b);
    const int rest = layout_.points - to - frames;
    std::fill_n(a + frames, rest, 0);
    if (b) std::fill_n(b + frames, rest, 0);
}

}  // namespace oxw::engine
