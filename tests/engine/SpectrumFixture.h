// Shared set-up of the spectrum front-end tests: generated WAV files in a temporary folder and
// an engine whose block reader is positioned on such a file, with the settings texts of a run.
#pragma once

#include "engine/Engine.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"
#include "support/WavWriter.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace oxw::engine::spectrumtest {

using Frames = std::vector<std::int16_t>;  // interleaved 16-bit frames
using test::TempDir;

// round(amplitude sin(2 pi cycles i / period)) for i = 0..n-1.
inline std::vector<int> Sine(std::size_t n, double amplitude, double cycles, double period) {
    std::vector<int> x(n);
    for (std::size_t i = 0; i < n; ++i)
        x[i] = static_cast<int>(
            std::lround(amplitude * std::sin(2 * std::numbers::pi * cycles * i / period)));
    return x;
}

// Seeded integers drawn uniformly from lo..hi.
inline std::vector<int> Uniform(std::size_t n, int lo, int hi, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> d(lo, hi);
    std::vector<int> v(n);
    for (auto& x : v) x = d(rng);
    return v;
}

// Deterministic noise in -amplitude..amplitude (a linear congruential generator).
inline std::vector<int> Noise(std::size_t n, int amplitude, std::uint32_t seed = 12345) {
    std::vector<int> x(n);
    for (auto& v : x) {
        seed = seed * 1664525u + 1013904223u;
        v = static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(2 * amplitude + 1)) -
            amplitude;
    }
    return x;
}

// Interleaved frames of one channel, or of two when `right` is given.
inline Frames Interleave(const std::vector<int>& left, const std::vector<int>& right = {}) {
    Frames f;
    for (std::size_t i = 0; i < left.size(); ++i) {
        f.push_back(static_cast<std::int16_t>(left[i]));
        if (!right.empty()) f.push_back(static_cast<std::int16_t>(right[i]));
    }
    return f;
}

// WAV bytes of 16-bit frames at 44100 Hz.
inline std::vector<std::uint8_t> WavOf(const Frames& frames, std::uint16_t channels) {
    return test::WavBytesFromFrames(test::WavFormat().Channels(channels), frames);
}

// WAV bytes of 100 silent mono frames.
inline std::vector<std::uint8_t> SilentWav(std::uint32_t rate = 44100) {
    return test::WavBytesFromFrames(test::WavFormat().Rate(rate), Frames(100, 0));
}

// Sizes the FFT vectors, the per-line result arrays and the percentile sample arrays of a run.
inline void SizeRunArrays(RunState& s, std::size_t percentiles) {
    for (auto* v : {&s.RealInV, &s.ImagInV, &s.RealOutV, &s.ImagOutV}) v->assign(32768, 0.0);
    for (auto* v : {&s.Larray, &s.Narray, &s.DLarray}) v->assign(percentiles, 0.0);
    s.PitchSalience.assign(88, 0.0);
    s.Oct_T.assign(10, 0.0);
    s.ThirdOct_T.assign(22, 0.0);
}

// The bin 1..109 of the 108-bin grid whose centre is nearest to f (109 lies above the grid).
inline int NearestLabel(const RunState& s, double f) {
    int best = 1;
    for (int b = 2; b <= 109; ++b)
        if (std::fabs(s.CompactF[b] - f) < std::fabs(s.CompactF[best] - f)) best = b;
    return best;
}

// An engine on one sound file, as a run leaves it before its first block: run reset, header
// read, stream at the first data byte, compact grids set up, arrays of the driver sized.
class BlockReader {
public:
    test::ScriptedHost host;
    Engine engine{host};
    TempDir dir{"oxw-spectrum"};

    explicit BlockReader(const std::vector<std::uint8_t>& wav, const std::string& channel = "Both",
                         const std::string& mode = "Standard")
        : BlockReader([&](const std::filesystem::path& p) { test::WriteWavFile(p, wav); }, channel,
                      mode) {}
    // On the file that `write` makes (a sparse one, say).
    explicit BlockReader(const std::function<void(const std::filesystem::path&)>& write,
                         const std::string& channel = "Both", const std::string& mode = "Standard") {
        host.texts = {{"CurrentProcessingMode", mode},   {"MusicFFTSampleSize", "4096"},
                      {"QualityFFTSampleSize", "32768"}, {"AnalysisChannel", channel},
                      {"MusicBinCount", "108"},          {"QualityBinCount", "121"}};
        const std::filesystem::path path = dir / "block.wav";
        write(path);
        engine.S().SoundFileName = path.string();
        engine.MainLineProcess1();
        engine.Stream().open(path, std::ios::binary);
        engine.ReadSoundFileHeader();
        engine.SetUpCompactIBinRanges();
        host.texts["CurrentProcessingMode"] = mode;
        host.texts["PositionStart"] = std::to_string(engine.S().StreamDataChunk);
        SizeRunArrays(engine.S(), static_cast<std::size_t>(engine.S().PERCENTILEARRAYMAX));
        log0 = host.log.size();
    }

    RunState& S() { return engine.S(); }
    // Moves the stream to frame `frame` of the sound data.
    void SeekFrame(std::int64_t frame) {
        engine.Stream().clear();
        engine.Stream().seekg(S().StreamDataChunk + frame * S().SoundFileBlockAlign);
    }
    // Audit lines written since the set-up.
    std::vector<test::LogLine> NewLog() const {
        return {host.log.begin() + static_cast<std::ptrdiff_t>(log0), host.log.end()};
    }
    std::size_t log0 = 0;
};

}  // namespace oxw::engine::spectrumtest
