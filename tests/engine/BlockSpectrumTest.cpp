// The block reader: calibrated levels of tones worked out by hand, the interaural values, the
// time windows, the end of the sound data, the counters and the audit lines of one block.
#include "SpectrumFixture.h"
#include "engine/PowerSums.h"
#include "numeric/FastFourier.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace oxw::engine {
namespace {

using namespace spectrumtest;

// A bin-centred tone x[n] = A sin(2 pi k0 n / N) puts A / 2 sum w(n) on line k0. Window 'N'
// weights by 1 - cos(2 pi n / (N - 1)) and the FFT component again by its cos^2 window
// (1 - cos(2 pi (n + 1) / N)) / 2: the product averages (1 + 1/2) / 2 = 0.75, so |X[k0]| =
// 0.375 A N; window 'R' gives A N / 2. Intensity = 10^(-70 / 10) (4096 / N)^2 |X|^2, so the
// level is -70 + 20 log10(gain A 4096) for every N: 73.727 dB ('N') and 76.227 dB ('R').
TEST(BlockSpectrum, ToneLevelFollowsCalibrationInEveryLayout) {
    const double A = 10000;
    const int k0 = 93;  // 93 x 44100 / 4096 = 1001.3 Hz
    // Mode "Standard": 4096 points, "Extended": 32768 points.
    struct { const char* name; int channels; const char* mode; char window; } const cases[] = {
        {"mono 4096 Hanning", 1, "Standard", 'N'},
        {"identical stereo 4096 Hanning", 2, "Standard", 'N'},
        {"mono 32768 Hanning", 1, "Extended", 'N'},
        {"identical stereo 32768 Hanning", 2, "Extended", 'N'},
        {"mono 4096 rectangular", 1, "Standard", 'R'},
        {"mono 32768 rectangular", 1, "Extended", 'R'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto x = Sine(40000, A, k0, 4096);
        BlockReader r(WavOf(Interleave(x, c.channels == 1 ? std::vector<int>{} : x), c.channels),
                      "Both", c.mode);
        r.S().WINFUNCT = c.window;
        ASSERT_TRUE(r.engine.MakeSpectrum());
        const RunState& s = r.S();
        const bool pass1 = std::string(c.mode) == "Standard";
        ASSERT_EQ(s.POINTS, pass1 ? 4096 : 32768);
        const int peak = k0 * s.POINTS / 4096;
        EXPECT_EQ(std::max_element(&s.Intensity[1], &s.Intensity[s.POINTS / 2]) - &s.Intensity[0],
                  peak);
        EXPECT_NEAR(10 * std::log10(s.Intensity[peak]),
                    -70 + 20 * std::log10((c.window == 'N' ? 0.375 : 0.5) * A * 4096), 0.01);
        EXPECT_EQ(s.Intensity[0], 0.0);
        EXPECT_EQ(s.DeltaL, 0.0);
        EXPECT_NEAR(s.ICCC, 1.0, 1e-12);  // one channel, or two identical ones
        EXPECT_EQ(s.ICCClag, 0.0);
        // The block's spectrum is added to the summed spectrum of its own pass only.
        const Spectrum& mine = pass1 ? s.DravolekSpectrum : s.NordicSpectrum;
        const Spectrum& other = pass1 ? s.NordicSpectrum : s.DravolekSpectrum;
        EXPECT_EQ(mine[peak], s.Intensity[peak]);
        // Lines 1..POINTS/2 are summed: the Nyquist line is the last, the mirror lines are not.
        const int nyquist = s.POINTS / 2;
        EXPECT_GT(s.Intensity[nyquist], 0.0);
        EXPECT_EQ(mine[nyquist], s.Intensity[nyquist]);
        EXPECT_EQ(mine[nyquist + 1], 0.0);
        EXPECT_EQ(*std::max_element(other.begin(), other.end()), 0.0);
    }
}

TEST(BlockSpectrum, IntensityIsTheCalibratedPowerOfTheTwiceWindowedBlock) {
    // Noise, mono, window 'N': the series is weighted by 1 - cos(2 pi n / (N - 1)) and, inside
    // the FFT component, by cos^2(pi (n + 1 - N/2) / N); line k is then
    // 10^(-70/10) |sum_n x[n] w(n) exp(+2 pi i k n / N)|^2, here summed directly.
    const int N = 4096;
    const auto x = Noise(6000, 20000, 777);
    BlockReader r(WavOf(Interleave(x), 1));
    ASSERT_TRUE(r.engine.MakeSpectrum());
    const long double pi = std::numbers::pi_v<long double>;
    for (int k : {1, 2, 93, 1000, 2047, 2048, 3000}) {
        long double re = 0, im = 0;
        for (int n = 0; n < N; ++n) {
            const long double c = std::cos(pi * (n + 1 - N / 2.0L) / N);
            const long double w = (1 - std::cos(2 * pi * n / (N - 1))) * c * c;
            const long long kn = static_cast<long long>(k) * n % N;
            const long double a = 2 * pi * static_cast<long double>(kn) / N;
            re += x[static_cast<std::size_t>(n)] * w * std::cos(a);
            im += x[static_cast<std::size_t>(n)] * w * std::sin(a);
        }
        const double expected = static_cast<double>(1e-7L * (re * re + im * im));
        EXPECT_NEAR(r.S().Intensity[k], expected, 1e-9 * expected) << "line " << k;
    }
    EXPECT_EQ(r.S().Intensity[0], 0.0);
}

TEST(BlockSpectrum, InterauralLevelDifferenceAndLag) {
    // The left channel repeats the right one `delay` samples later: the lag is delay / 44.1 ms.
    struct Case { const char* name; int delay; double rightGain; } const cases[] = {
        {"right at half amplitude", 0, 0.5}, {"left 10 samples late", 10, 1.0},
        {"left 7 samples early", -7, 1.0},   {"left 45 samples late", 45, 1.0},
        {"right inverted", 0, -1.0}};  // the correlation keeps its sign
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Even noise values halve exactly, so the level difference is exactly 10 log10(1/4).
        auto right = Noise(8000, 8000);
        for (auto& v : right) v = 2 * (v / 2);
        std::vector<int> left(right.size(), 0);
        for (int i = std::max(c.delay, 0); i < 8000 && i - c.delay < 8000; ++i)
            left[static_cast<std::size_t>(i)] = right[static_cast<std::size_t>(i - c.delay)];
        for (auto& v : right) v = static_cast<int>(v * c.rightGain);
        BlockReader r(WavOf(Interleave(left, right), 2));
        r.SeekFrame(100);
        ASSERT_TRUE(r.engine.MakeSpectrum());
        // The level difference of the block's frames 100..4195, summed directly.
        double l2 = 0, r2 = 0;
        for (std::size_t i = 100; i < 4196; ++i) {
            l2 += static_cast<double>(left[i]) * left[i];
            r2 += static_cast<double>(right[i]) * right[i];
        }
        EXPECT_NEAR(r.S().DeltaL, 10 * std::log10(r2 / l2), 1e-9);
        if (c.rightGain == 0.5) { EXPECT_NEAR(r.S().DeltaL, -6.0206, 1e-4); }
        EXPECT_NEAR(r.S().ICCClag, c.delay / 44.1, 1e-12);
        EXPECT_GT(r.S().ICCC * c.rightGain, 0.98 * std::fabs(c.rightGain));
    }
}

TEST(BlockSpectrum, SilentChannelIsUncorrelated) {
    const auto noise = Noise(5000, 3000);
    const std::vector<int> silent(noise.size(), 0);
    struct Case { const char* name; std::vector<int> left, right; } const cases[] = {
        {"right silent", noise, silent},
        {"left silent", silent, noise},
        {"both silent", silent, silent}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BlockReader r(WavOf(Interleave(c.left, c.right), 2));
        r.S().ICCC = 0.7;
        ASSERT_TRUE(r.engine.MakeSpectrum());
        EXPECT_EQ(r.S().ICCC, 0.0);
        EXPECT_EQ(r.S().ICCClag, 0.0);
        EXPECT_EQ(r.S().DeltaL, 0.0);
        // Called on its own, the correlation of a silent channel is 0 at lag 0 (no 0 / 0).
        double maxcor = 0.7, maxlag = 0.3;
        r.engine.CrossCorrelation(c.left.data(), c.right.data(), maxcor, maxlag);
        EXPECT_EQ(maxcor, 0.0);
        EXPECT_EQ(maxlag, 0.0);
    }
}

TEST(BlockSpectrum, ChannelChoiceFormsTheSeries) {
    // Frames (3, 4), (3, 2), (-3, -4), (10, -20): the mean rounds halves to even.
    const std::vector<int> left{3, 3, -3, 10}, right{4, 2, -4, -20};
    struct Case { const char* channel; std::vector<int> series; bool note; } const cases[] = {
        {"Both", {4, 2, -4, -5}, false},
        {"1", {3, 3, -3, 10}, true},
        {"2", {4, 2, -4, -20}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.channel);
        BlockReader r(WavOf(Interleave(left, right), 2), c.channel);
        ASSERT_TRUE(r.engine.MakeSpectrum());
        EXPECT_EQ(std::vector<int>(r.S().OneIn.begin(), r.S().OneIn.begin() + 4), c.series);
        EXPECT_EQ(r.S().ICCC, 0.0);  // too short to correlate ("Both") or not asked for
        EXPECT_EQ(r.host.Count("D", "5621 Processing channel 1 only"), c.note ? 1 : 0);
        // 10 log10((16 + 4 + 16 + 400) / (9 + 9 + 9 + 100)): the level difference of the frames.
        EXPECT_NEAR(r.S().DeltaL, 10 * std::log10(436.0 / 127.0), 1e-9);
    }
}

TEST(BlockSpectrum, NeverReadsPastTheSoundData) {
    // 3000 frames of a loud constant, then a trailing chunk (or, cut short, no more bytes):
    // a block starting at frame 2000 holds 1000 frames of data and 3096 frames of silence,
    // even after a block that was loud all through.
    struct Case { const char* name; int channels; bool cutShort; } const cases[] = {
        {"mono, trailing chunk", 1, false},
        {"stereo, trailing chunk", 2, false},
        {"mono, file cut short", 1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<int> loud(3000, 1000);
        auto wavFormat = test::WavFormat().Channels(static_cast<std::uint16_t>(c.channels));
        Frames frames = Interleave(loud, c.channels == 1 ? std::vector<int>{} : loud);
        if (c.cutShort) {
            // The header declares 8000 frames; the file holds 3000.
            frames.resize(frames.size() * 8 / 3, 1000);
            wavFormat.KeepDataBytes(3000 * 2);
        }
        auto wav = test::WavBytesFromFrames(wavFormat, frames);
        if (!c.cutShort) {
            const std::vector<std::uint8_t> body(40000, 0x7F);
            wav.insert(wav.end(), {'L', 'I', 'S', 'T', 0x40, 0x9C, 0, 0});
            wav.insert(wav.end(), body.begin(), body.end());
            test::PutU32(wav, 4, static_cast<std::uint32_t>(wav.size() - 8));
        }
        BlockReader r(wav, "2");
        RunState& s = r.S();
        ASSERT_TRUE(r.engine.MakeSpectrum());  // frames 0..4095: the first 3000 loud
        const std::int64_t bytesAfterFirst = s.BytesRead;
        r.SeekFrame(2000);
        ASSERT_TRUE(r.engine.MakeSpectrum());
        for (int i = 0; i < 4096; ++i) ASSERT_EQ(s.OneIn[i], i < 1000 ? 1000 : 0) << i;
        EXPECT_EQ(s.BytesRead - bytesAfterFirst, 1000 * 2 * c.channels);
        // The stream still moves on by one hop.
        EXPECT_EQ(static_cast<std::int64_t>(r.engine.Stream().tellg()),
                  s.StreamDataChunk + (2000 + 2205) * 2 * c.channels);
        // A block wholly past the end is silent.
        ASSERT_TRUE(r.engine.MakeSpectrum());
        for (int i = 0; i < 4096; ++i) ASSERT_EQ(s.OneIn[i], 0) << i;
    }
}

TEST(BlockSpectrum, BlockReaderTakesOnlyFramesItCanHold) {
    // Whatever the run state says of the frames (a caller that skipped the check dialog), the
    // reader sizes nothing from a frame it cannot hold and reads no sample outside its frame.
    struct Case { const char* name; int blockAlign, channels; bool twoChan, fits; } const cases[] = {
        {"65535-byte frames", 65535, 1, false, false},
        {"65-byte frames", 65, 1, false, false},
        {"no bytes per frame", 0, 1, false, false},
        {"one byte for two channels", 1, 2, true, false},
        {"two samples from a one-sample frame", 2, 1, true, false},
        {"64-byte frames of 16 channels", 64, 16, false, true},
        {"two 16-bit channels", 4, 2, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BlockReader r(WavOf(Frames(10000, 5), 1));
        RunState& s = r.S();
        s.SoundFileBlockAlign = c.blockAlign;
        s.SoundFileNoOfChannels = c.channels;
        s.TwoChan = c.twoChan;
        if (c.fits) {
            EXPECT_NO_THROW(EXPECT_TRUE(r.engine.MakeSpectrum()));
            continue;
        }
        try {
            (void)r.engine.MakeSpectrum();
            ADD_FAILURE() << "the block was read";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()),
                      "The sound file \"" + s.SoundFileName + "\" has frames of " +
                          std::to_string(c.blockAlign) + " bytes for " + std::to_string(c.channels) +
                          " channel(s); the block reader takes frames of 1 to 64 bytes with at "
                          "least one byte per sample.");
        }
    }
}

TEST(BlockSpectrum, WindowFunctionsMatchTheirFormulas) {
    // Nine samples of 1: w(i) with c_m = cos(2 pi m i / 8), at i = 0, 2, 4 and 6.
    struct Case { char code; double w[4]; } const cases[] = {
        {'R', {1, 1, 1, 1}},
        {'N', {1e-20, 1, 2, 1}},
        {'M', {0.15, 1, 1.85, 1}},
        {'T', {1e-20, 1, 2, 1}},
        {'W', {1.5 * (1 - 0.64), 1.5 * (1 - 0.16), 1.5, 1.5 * (1 - 0.16)}},
        {'B', {1e-20, 1 - 0.19, 1 + 1.19 + 0.19, 1 - 0.19}},
        {'K', {1 - 1.24 + 0.244 - 0.00305, 1 - 0.244, 1 + 1.24 + 0.244 + 0.00305, 1 - 0.244}},
        {'F',
         {1 - 1.93 + 1.29 - 0.388 + 0.0322, 1 - 1.29 + 0.0322, 1 + 1.93 + 1.29 + 0.388 + 0.0322,
          1 - 1.29 + 0.0322}},
    };
    test::ScriptedHost host;
    Engine engine(host);
    const int ones[9] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
    for (const auto& c : cases) {
        double out[9];
        engine.DoWindowFunctions(9, c.code, ones, out);
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(out[2 * i], c.w[i], 1e-12) << c.code << 2 * i;
    }
    // A zero sample gives 1e-20, a negative one keeps its sign.
    const int samples[3] = {0, -5, 7};
    double out[3];
    engine.DoWindowFunctions(3, 'R', samples, out);
    EXPECT_EQ(std::vector<double>(out, out + 3), (std::vector<double>{1e-20, -5.0, 7.0}));
}

TEST(BlockSpectrum, BlockLengthNotAPowerOfTwoIsRefusedByTheNamedComponent) {
    BlockReader r(WavOf(Frames(10000, 5), 1));
    r.host.texts["MusicFFTSampleSize"] = "3000";
    try {
        ASSERT_TRUE(r.engine.MakeSpectrum());
        ADD_FAILURE() << "a block of 3000 points was transformed";
    } catch (const EVKRFourierError& e) {
        EXPECT_STREQ(e.what(), "Component \"FastFourier4096\": data length must be power of 2");
    }
}

TEST(BlockSpectrum, AuditLinesOfOneBlockAndPositionsPast32Bits) {
    // 16-bit mono whose data runs to 3.5 GiB (a sparse file), with 4096 frames of 5 written at
    // the first data byte, across byte 2^31 and past 3 GiB: each block is read whole, shown at
    // its first byte, and the stream moves on by 2205 frames. The counters hold 64 bits too:
    // 2147483548 + 1 x 441 x 5 = 2147485753, odd, lowered by one; 4096 samples of 2 bytes read.
    constexpr std::uint64_t kDataBytes = 3758096384;
    const std::int64_t firstFrames[] = {0, 1073740800, 1610613736};
    BlockReader r([&](const std::filesystem::path& p) {
        test::WriteSparseWav(p, test::WavFormat(), kDataBytes);
        for (std::int64_t f : firstFrames)
            test::PutFramesAt(p, 44 + 2 * static_cast<std::uint64_t>(f), Frames(4096, 5));
    });
    for (const std::int64_t f : firstFrames) {
        const std::int64_t start = 44 + 2 * f;
        SCOPED_TRACE(start);
        r.S().Counter = INT32_MAX - 99;
        r.S().BytesRead = 4294967290LL;
        r.SeekFrame(f);
        const std::size_t logged = r.host.log.size();
        ASSERT_TRUE(r.engine.MakeSpectrum());
        EXPECT_EQ(r.host.GetText("PositionCurrent"), std::to_string(start));
        EXPECT_EQ(std::count(r.S().OneIn.begin(), r.S().OneIn.begin() + 4096, 5), 4096);
        EXPECT_EQ(r.S().BytesRead, 4294967290LL + 8192);
        // The block's last lines: the counter, the stream position and the file length.
        ASSERT_GE(r.host.log.size(), logged + 2);
        EXPECT_EQ(r.host.log[r.host.log.size() - 2],
                  (test::LogLine{"D", "Next Line - overlap start Sample position (end of MakeSpectrum) = "
                                      "2147485752 OFFSET 441 Resolution 5 SoundFileBytesToRead = 2 "
                                      "Stream.Position " + std::to_string(start + 4410) +
                                      " StreamPositionOverlayAdjustment 4410 File Length 3758096384"}));
        EXPECT_EQ(r.host.log.back(), (test::LogLine{"E", "MakeSpectrum"}));
    }
}


// The channel power sum taken in runs gives the bits of the sum taken term by term: blocks of
// noise at several levels, silence, a click, full-scale alternation and a ramp whose sum passes
// through many binades, at lengths that leave runs short; and the lanes' terms equal the
// divisions for every 16-bit magnitude.
TEST(PowerSums, RunsGiveTheBitsOfTheSumInOrder) {
    std::vector<double> lanes(32769, -1.0);
    LaneSquaresOverMillion(lanes.data());
    if (lanes[0] != -1.0) {
        for (int v = 0; v <= 32768; ++v)
            ASSERT_EQ(lanes[static_cast<std::size_t>(v)], v * static_cast<double>(v) / 1e6) << v;
    }
    std::mt19937 gen(7);
    auto noise = [&gen](int amplitude, int n) {
        std::uniform_int_distribution<int> d(-amplitude, std::min(amplitude, 32767));
        std::vector<int> x(static_cast<std::size_t>(n));
        for (int& v : x) v = d(gen);
        return x;
    };
    std::vector<std::pair<const char*, std::vector<int>>> blocks;
    for (int amplitude : {1, 30, 3000, 32768}) blocks.emplace_back("noise", noise(amplitude, 32768));
    blocks.emplace_back("silence", std::vector<int>(32768, 0));
    std::vector<int> click(32768, 0);
    click.front() = click.back() = -32768;
    blocks.emplace_back("clicks", click);
    std::vector<int> extremes(32768), ramp(32768);
    for (int i = 0; i < 32768; ++i) {
        extremes[static_cast<std::size_t>(i)] = i % 2 ? 32767 : -32768;
        ramp[static_cast<std::size_t>(i)] = i;
    }
    blocks.emplace_back("extremes", extremes);
    blocks.emplace_back("ramp", ramp);
    for (const auto& [name, x] : blocks) {
        for (int n : {32768, 4096, 4095, 130, 64, 1, 0}) {
            const double fast = PowerSum(x.data(), n), plain = PowerSumInOrder(x.data(), n);
            EXPECT_EQ(std::bit_cast<std::uint64_t>(fast), std::bit_cast<std::uint64_t>(plain))
                << name << " n " << n;
        }
    }
}

}  // namespace
}  // namespace oxw::engine
