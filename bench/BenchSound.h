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

// Stereo frames one at a time: pink noise near -20 dB of full scale plus a 220 Hz chord with
// harmonics on the left; the right channel repeats the left 7 samples later at 0.7 times the
// level, with quieter pink noise of its own.
class StereoPinkAndTones {
public:
    explicit StereoPinkAndTones(std::uint32_t seed = 2024) : common_(seed), own_(seed + 1) {
        for (double f : {220.0, 277.18, 329.63})
            for (int h = 1; h <= 4; ++h) {
                const double w = 2 * std::numbers::pi * f * h / 44100.0;
                partials_.push_back({1.0, 0.0, std::cos(w), std::sin(w), 1500.0 / h});
            }
    }
    // Writes the next frame's two samples.
    void Next(std::int16_t& left, std::int16_t& right) {
        double x = 3000.0 * common_.Next();
        for (Partial& p : partials_) {
            x += p.amplitude * p.im;
            const double re = p.re * p.stepRe - p.im * p.stepIm;
            p.im = p.re * p.stepIm + p.im * p.stepRe;
            p.re = re;
        }
        const double delayed = delay_[position_];
        delay_[position_] = x;
        position_ = (position_ + 1) % kDelay;
        left = ToPcm16(x);
        right = ToPcm16(0.7 * delayed + 1000.0 * own_.Next());
    }

private:
    static constexpr std::size_t kDelay = 7;
    // A partial is a unit phasor turned by one step per frame.
    struct Partial {
        double re, im, stepRe, stepIm, amplitude;
    };
    PinkNoise common_, own_;
    std::vector<Partial> partials_;
    double delay_[kDelay] = {};
    std::size_t position_ = 0;
};

// `seconds` of StereoPinkAndTones as a 16-bit PCM RIFF/WAVE file at 44100 Hz, written a block
// at a time so that the benchmark's own memory stays small.
inline void WriteStereoWav(const std::filesystem::path& path, double seconds,
                           std::uint32_t seed = 2024) {
    const auto frames = static_cast<std::uint32_t>(seconds * 44100);
    std::vector<char> b;
    auto put = [&b](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    auto id = [&b](const char* s) { b.insert(b.end(), s, s + 4); };
    const std::uint32_t dataBytes = frames * 4;
    id("RIFF");
    put(36 + dataBytes, 4);
    id("WAVE");
    id("fmt ");
    put(16, 4);
    put(1, 2);        // PCM
    put(2, 2);        // channels
    put(44100, 4);    // frames per second
    put(44100 * 4, 4);
    put(4, 2);        // bytes per frame
    put(16, 2);       // bits per sample
    id("data");
    put(dataBytes, 4);
    std::ofstream out(path, std::ios::binary);
    StereoPinkAndTones sound(seed);
    for (std::uint32_t i = 0; i < frames; ++i) {
        std::int16_t left, right;
        sound.Next(left, right);
        put(static_cast<std::uint16_t>(left), 2);
        put(static_cast<std::uint16_t>(right), 2);
        if (b.size() >= (1u << 16) || i + 1 == frames) {
            out.write(b.data(), static_cast<std::streamsize>(b.size()));
            b.clear();
        }
    }
}

}  // namespace oxw::bench
