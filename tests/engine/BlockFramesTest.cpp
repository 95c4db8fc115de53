// Blocks that follow one another keep the frames they share: every block, its frame count, the
// stream position after it and its failures equal those of a fresh read of the same block, and
// the interaural sums moved on from the previous block equal sums worked out afresh.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fstream>
#include <random>
#include <tuple>
#include <vector>

#include "SpectrumFixture.h"
#include "engine/BlockFrames.h"
#include "engine/LagProducts.h"

namespace oxw::engine {
namespace {

using namespace spectrumtest;

struct Block {
    int frames;
    std::vector<int> a, b;
    std::int64_t after;  // stream position after the read
};

Block ReadBlock(BlockFrames& f, std::ifstream& in, std::int64_t start, std::int64_t dataEnd,
                const FrameLayout& layout) {
    int error = 0;
    const int frames = f.Read(in, start, dataEnd, layout, error);
    Block b{frames, {}, {}, static_cast<std::int64_t>(in.tellg())};
    b.a.assign(f.Channel(0), f.Channel(0) + layout.points);
    if (layout.channels > 1) b.b.assign(f.Channel(1), f.Channel(1) + layout.points);
    return b;
}

TEST(BlockFrames, FollowingBlocksEqualFreshReads) {
    // 8-, 16- and 24-bit files of seeded noise, one or two channels taken, a trailing chunk or a
    // file cut short; blocks at odd hops run on until they are wholly past the data.
    struct Case {
        const char* name;
        std::uint16_t bits, channels;
        int taken, points, frames;
        std::vector<int> hops;
        bool cutShort;
    } const cases[] = {
        {"16-bit stereo", 16, 2, 2, 512, 3000, {221, 1, 37, 511, 300}, false},
        {"16-bit stereo cut short", 16, 2, 2, 512, 3000, {221, 257, 199}, true},
        {"8-bit mono", 8, 1, 1, 256, 1500, {17, 255, 3}, false},
        {"24-bit three channels, two taken", 24, 3, 2, 300, 2000, {101, 7, 299}, false},
        {"16-bit stereo, first channel taken", 16, 2, 1, 128, 1000, {64, 127}, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::int16_t> samples;
        for (int v : Uniform(static_cast<std::size_t>(c.frames) * c.channels, -32768, 32767, 7))
            samples.push_back(static_cast<std::int16_t>(v));
        auto format = test::WavFormat().Bits(c.bits).Channels(c.channels);
        const int blockAlign = c.bits / 8 * c.channels;
        if (c.cutShort) format.KeepDataBytes(static_cast<std::size_t>(c.frames - 400) * blockAlign);
        auto wav = test::WavBytesFromFrames(format, samples);
        wav.insert(wav.end(), {'L', 'I', 'S', 'T', 8, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8});
        TempDir dir{"oxw-frames"};
        test::WriteWavFile(dir / "f.wav", wav);
        constexpr std::int64_t kData = 44;
        const std::int64_t dataEnd = kData + static_cast<std::int64_t>(c.frames) * blockAlign;
        const FrameLayout layout{c.points, blockAlign, c.bits / 8, c.taken};

        std::ifstream kept(dir / "f.wav", std::ios::binary), fresh(dir / "f.wav", std::ios::binary);
        BlockFrames following;
        std::int64_t frame = 0;
        bool movedOn = false;
        for (std::size_t k = 0; frame * blockAlign < dataEnd - kData + 3 * c.points * blockAlign; ++k) {
            SCOPED_TRACE(frame);
            const std::int64_t start = kData + frame * blockAlign;
            kept.seekg(start);
            fresh.seekg(start);
            const Block got = ReadBlock(following, kept, start, dataEnd, layout);
            BlockFrames once;
            const Block want = ReadBlock(once, fresh, start, dataEnd, layout);
            ASSERT_EQ(std::tie(got.frames, got.a, got.b, got.after),
                      std::tie(want.frames, want.a, want.b, want.after));
            movedOn |= following.Shift() > 0;
            frame += c.hops[k % c.hops.size()];
        }
        EXPECT_TRUE(movedOn);
    }
}

TEST(BlockFrames, KeepsOnlyABlockReadWholeAndFollowedInTheFile) {
    const std::vector<int> left = Uniform(4000, -30000, 30000, 3), right = Uniform(4000, -5, 5, 4);
    TempDir dir{"oxw-frames"};
    test::WriteWavFile(dir / "f.wav", WavOf(Interleave(left, right), 2));
    const std::int64_t dataEnd = 44 + 4000 * 4;
    const FrameLayout layout{1024, 4, 2, 2};
    struct Step { std::int64_t frame; int shift; } const steps[] = {
        {0, 0},      {100, 100}, {1124, 0},  // no frame shared
        {1000, 0},   // back
        {1001, 1},   {1001, 0},  // the same block again
        {3500, 0},   {3501, 0},  // a block not read whole is not kept
    };
    std::ifstream in(dir / "f.wav", std::ios::binary);
    BlockFrames f;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.frame);
        in.seekg(44 + step.frame * 4);
        int error = 0;
        const int frames = f.Read(in, 44 + step.frame * 4, dataEnd, layout, error);
        EXPECT_EQ(frames, std::min<std::int64_t>(1024, 4000 - step.frame));
        EXPECT_EQ(f.Shift(), step.shift);
        for (int i = 0; i < frames; ++i) {
            ASSERT_EQ(f.Channel(0)[i], left[static_cast<std::size_t>(step.frame + i)]);
            ASSERT_EQ(f.Channel(1)[i], right[static_cast<std::size_t>(step.frame + i)]);
        }
    }
    // A changed layout, or a kept block forgotten, reads afresh.
    in.seekg(44 + 2000 * 4);
    int error = 0;
    f.Read(in, 44 + 2000 * 4, dataEnd, layout, error);
    in.seekg(44 + 2001 * 4);
    f.Read(in, 44 + 2001 * 4, dataEnd, FrameLayout{1024, 4, 2, 1}, error);
    EXPECT_EQ(f.Shift(), 0);
    f.Forget();
    in.seekg(44 + 2002 * 4);
    f.Read(in, 44 + 2002 * 4, dataEnd, FrameLayout{1024, 4, 2, 1}, error);
    EXPECT_EQ(f.Shift(), 0);
    EXPECT_EQ(f.Channel(0)[0], left[2002]);
}

TEST(BlockFrames, AReadThatFailsOnTheNewFramesFails) {
    // The stream of a kept block now reads a folder: reading its new frames fails with the
    // system's reason, and the next block is read afresh.
    TempDir dir{"oxw-frames"};
    test::WriteWavFile(dir / "f.wav", WavOf(Interleave(Uniform(3000, -9, 9, 5)), 1));
    std::ifstream in(dir / "f.wav", std::ios::binary);
    BlockFrames f;
    const FrameLayout layout{512, 2, 2, 1};
    int error = 0;
    in.seekg(44);
    ASSERT_EQ(f.Read(in, 44, 44 + 6000, layout, error), 512);
    in.close();
    in.open(dir.Path(), std::ios::binary);
    ASSERT_TRUE(in.is_open());
    in.seekg(44 + 2 * 100);
    EXPECT_EQ(f.Read(in, 44 + 2 * 100, 44 + 6000, layout, error), -1);
    EXPECT_NE(error, 0);
    in.close();
    in.open(dir / "f.wav", std::ios::binary);
    in.seekg(44 + 2 * 101);
    EXPECT_EQ(f.Read(in, 44 + 2 * 101, 44 + 6000, layout, error), 512);
    EXPECT_EQ(f.Shift(), 0);
}

TEST(BlockLagSums, MovedOnSumsEqualSumsAfresh) {
    // A window of n samples slides over seeded and full-scale samples by odd steps, some longer
    // than half the window (summed afresh); every step's sums equal the plain ones.
    struct Case { const char* name; int lo, hi, n, maxLag; std::vector<int> steps; } const cases[] = {
        {"noise, 91 lags", -32768, 32767, 2000, 45, {1, 37, 220, 999, 1500, 3}},
        {"full scale", 32767, 32767, 777, 45, {5, 388, 389}},
        {"squares", -32768, -32768, 1000, 0, {17, 450, 1}},
        {"short block", -100, 100, 95, 45, {1, 2}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<int> a = Uniform(12000, c.lo, c.hi, 11), b = Uniform(12000, c.lo, c.hi, 12);
        BlockLagSums sums;
        const int first = c.maxLag, last = c.n - c.maxLag;
        std::vector<std::int64_t> want(static_cast<std::size_t>(2 * c.maxLag + 1));
        int at = 0, shift = 0;
        for (std::size_t k = 0; k < 12; ++k) {
            SCOPED_TRACE(at);
            const std::int64_t* got = sums.For(a.data() + at, b.data() + at, first, last, c.maxLag, shift);
            LagProductSumsPlain(a.data() + at, b.data() + at, first, last, c.maxLag, want.data());
            ASSERT_EQ(std::vector<std::int64_t>(got, got + want.size()), want);
            shift = c.steps[k % c.steps.size()];
            at += shift;
        }
    }
}

TEST(BlockSpectrum, BlocksThatFollowEqualBlocksReadAfresh) {
    // Tone-pass (32768 points) and first-pass (4096 points) blocks of a stereo file, and mono
    // blocks: each block of a run that moves on by its hop gives the samples, the spectrum, the
    // level difference, the correlation and its lag of a block read on its own.
    struct Case { const char* name; int channels; const char* mode; int blocks; } const cases[] = {
        {"stereo, 32768 points", 2, "Extended", 5},
        {"stereo, 4096 points", 2, "Standard", 6},
        {"mono, 4096 points", 1, "Standard", 4}};
    const std::size_t frames = 32768 + 6 * 2205;
    const std::vector<int> left = Uniform(frames, -20000, 20000, 21);
    std::vector<int> right = Uniform(frames, -3000, 3000, 22);
    for (std::size_t i = 7; i < frames; ++i) right[i] += left[i - 7] / 2;  // left, 7 frames on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto wav = WavOf(c.channels == 2 ? Interleave(left, right) : Interleave(left),
                               static_cast<std::uint16_t>(c.channels));
        BlockReader run(wav, "Both", c.mode), once(wav, "Both", c.mode);
        for (int k = 0; k < c.blocks; ++k) {
            SCOPED_TRACE(k);
            EXPECT_TRUE(run.engine.MakeSpectrum());
            once.SeekFrame(static_cast<std::int64_t>(k) * 2205);  // read afresh
            EXPECT_TRUE(once.engine.MakeSpectrum());
            const RunState& s = run.S();
            const RunState& t = once.S();
            ASSERT_EQ(s.OneIn, t.OneIn);
            ASSERT_EQ(s.Intensity, t.Intensity);
            ASSERT_EQ(std::tie(s.DeltaL, s.ICCC, s.ICCClag, s.StreamPositionOverlayStart, s.BytesRead),
                      std::tie(t.DeltaL, t.ICCC, t.ICCClag, t.StreamPositionOverlayStart, t.BytesRead));
            ASSERT_EQ(s.BytesRead, (k + 1) * static_cast<std::int64_t>(s.POINTS) * 2 * c.channels);
        }
        if (c.channels == 2) {
            EXPECT_NE(run.S().ICCClag, 0.0);
        }
    }
}

}  // namespace
}  // namespace oxw::engine
