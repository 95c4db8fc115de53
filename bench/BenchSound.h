#pragma once
// Sound files for the benchmarks: seeded 16-bit stereo at 44100 Hz of pink noise plus tones, the
// right channel a delayed, quieter copy of the left with noise of its own (so the cross-
// correlation finds a lag and a coefficient below 1), written as a RIFF/WAVE file.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace oxw::bench {

// Pink noise of roughly unit spread from seeded white noise (three-pole approximation of the
// 1/f slope over the audio band).
class PinkNoise {
public:
    explicit PinkNoise(std::uint32_t seed) : rng_(seed) {}
    double Next() {
        // Uniform white noise of unit variance.
        const double white = (static_cast<double>(rng_()) / 4294967295.0 * 2 - 1) * 1.7320508;
        b0_ = 0.99765 * b0_ + white * 0.0990460;
        b1_ = 0.96300 * b1_ + white * 0.2965164;
        b2_ = 0.57000 * b2_ + white * 1.0526913;
        return (b0_ + b1_ + b2_ + white * 0.1848) * 0.25;
    }

private:
    std::mt19937 rng_;
    double b0_ = 0, b1_ = 0, b2_ = 0;
};

inline std::int16_t ToPcm16(double x) {
    return static_cast<std::int16_t>(std::lround(std::clamp(x, -32768.0, 32767.0)));
}

// `seconds` of stereo frames: pink noise near -20 dB of full scale plus a 220 Hz chord with
// harmonics; the right channel repeats the left 7 samples later at 0.7 times the level.
inline std::vector<std::int16_t> StereoPinkAndTones(double seconds, std::uint32_t seed = 2024) {
    const auto frames = static_cast<std::size_t>(seconds * 44100);
    constexpr std::size_t kDelay = 7;
    PinkNoise common(seed), own(seed + 1);
    // Each partial is a unit phasor turned by one step per frame.
    struct Partial {
        double re, im, stepRe, stepIm, amplitude;
    };
    std::vector<Partial> partials;
    for (double f : {220.0, 277.18, 329.63})
        for (int h = 1; h <= 4; ++h) {
            const double w = 2 * std::numbers::pi * f * h / 44100.0;
            partials.push_back({1.0, 0.0, std::cos(w), std::sin(w), 1500.0 / h});
        }
    std::vector<double> left(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        double x = 3000.0 * common.Next();
        for (Partial& p : partials) {
            x += p.amplitude * p.im;
            const double re = p.re * p.stepRe - p.im * p.stepIm;
            p.im = p.re * p.stepIm + p.im * p.stepRe;
            p.re = re;
        }
        left[i] = x;
    }
    std::vector<std::int16_t> interleaved(2 * frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const double delayed = i >= kDelay ? left[i - kDelay] : 0.0;
        interleaved[2 * i] = ToPcm16(left[i]);
        interleaved[2 * i + 1] = ToPcm16(0.7 * delayed + 1000.0 * own.Next());
    }
    return interleaved;
}

// A 16-bit PCM RIFF/WAVE file of interleaved frames at 44100 Hz.
inline void WriteWav16(const std::filesystem::path& path, const std::vector<std::int16_t>& samples,
                       int channels) {
    std::vector<char> b;
    auto put = [&b](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    auto id = [&b](const char* s) { b.insert(b.end(), s, s + 4); };
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    const auto align = static_cast<std::uint32_t>(channels * 2);
    id("RIFF");
    put(36 + dataBytes, 4);
    id("WAVE");
    id("fmt ");
    put(16, 4);
    put(1, 2);
    put(static_cast<std::uint32_t>(channels), 2);
    put(44100, 4);
    put(44100 * align, 4);
    put(align, 2);
    put(16, 2);
    id("data");
    put(dataBytes, 4);
    for (std::int16_t v : samples) put(static_cast<std::uint16_t>(v), 2);
    std::ofstream(path, std::ios::binary).write(b.data(), static_cast<std::streamsize>(b.size()));
}

}  // namespace oxw::bench
