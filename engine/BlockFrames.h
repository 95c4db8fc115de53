#pragma once
// The sample frames of the block reader's current block, as 16-bit values of the first one or
// two channels of each frame. Blocks of a pass overlap (a 32768-frame block moves on by a hop
// of 2205 frames): when a block starts inside the previous one, which was read whole, with the
// same layout, the frames they share are kept and only the new frames at its end are read and
// converted. The samples, the frames read and the failures are the same as those of a fresh
// read of the whole block; the previous block's samples stay in place before the current ones,
// so that sums over the block can be moved on by the frames that left and came in.
#include <cstdint>
#include <fstream>
#include <vector>

namespace oxw::engine {

// The widest frame the block reader takes (16 channels of 32-bit samples).
inline constexpr int kMaxFrameBytes = 64;

// One little-endian sample of `bytes` bytes as a 16-bit value: 16-bit samples as they stand,
// wider ones by their two most significant bytes, 8-bit (unsigned) ones scaled up.
inline int Sample16(const unsigned char* p, int bytes) {
    if (bytes == 1) return (static_cast<int>(p[0]) - 128) * 256;
    const auto u = static_cast<std::uint16_t>(p[bytes - 2] | (p[bytes - 1] << 8));
    return static_cast<std::int16_t>(u);
}

struct FrameLayout {
    int points = 0;          // frames per block
    int blockAlign = 0;      // bytes per frame
    int bytesPerSample = 0;  // bytes per sample
    int channels = 0;        // channels taken: 1 or 2
    bool operator==(const FrameLayout&) const = default;
};

class BlockFrames {
public:
    // Reads the block of `layout.points` frames at byte `start` of `in`, whose position is
    // `start`, never at or past `dataEnd` (the end of the sound data: a trailing chunk is not
    // sound). Frames past the end of the data, or of a file that ends early, are 0. Returns the
    // frames read, or -1 with `error` set (errno) when a read fails.
    int Read(std::ifstream& in, std::int64_t start, std::int64_t dataEnd,
             const FrameLayout& layout, int& error);

    // Samples 0..points-1 of channel c (0, or 1 of a two-channel layout) of the current block.
    const int* Channel(int c) const { return ch_[c].data() + offset_; }
    int* Channel(int c) { return ch_[c].data() + offset_; }
    // Frames the current block moved on from the previous one, whose samples Channel(c)[-Shift()
    // .. points-Shift()-1] still hold; 0 when the block was read afresh.
    int Shift() const { return shift_; }
    // Counts the blocks read; consecutive numbers are consecutive blocks.
    std::uint64_t Serial() const { return serial_; }
    // Drops the kept block (the stream was opened or moved by someone else).
    void Forget() { kept_ = false; }

private:
    int ReadFresh(std::ifstream& in, std::int64_t start, std::int64_t dataEnd, int& error);
    int ReadOn(std::ifstream& in, std::int64_t dataEnd, int shift, int& error);
    void Convert(int frames, int to);

    std::vector<int> ch_[2];
    std::vector<unsigned char> raw_;
    FrameLayout layout_;
    std::int64_t start_ = 0;  // byte of the current block's first frame
    int offset_ = 0;          // of the current block in ch_
    int shift_ = 0;
    bool kept_ = false;  // the current block can serve the next
    std::uint64_t serial_ = 0;
};

}  // namespace oxw::engine
