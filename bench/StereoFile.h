#pragma once
// The benchmarks' sound file: 20 s of 16-bit stereo at 44100 Hz, a 440 Hz tone with its first
// five harmonics over noise, the right channel a scaled copy of the tone minus the noise. Written
// once per process into the temporary folder; returns its path.
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include <unistd.h>

namespace oxw::bench {

inline std::string StereoFile() {
    static const std::string path = [] {
        auto put = [](std::vector<char>& b, std::uint32_t v, int bytes) {
            for (int i = 0; i < bytes; ++i) b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
        };
        const std::uint32_t frames = 20 * 44100;
        std::vector<char> b{'R', 'I', 'F', 'F'};
        put(b, 36 + frames * 4, 4);
        for (char c : std::string("WAVEfmt ")) b.push_back(c);
        put(b, 16, 4);
        put(b, 1, 2);
        put(b, 2, 2);
        put(b, 44100, 4);
        put(b, 44100 * 4, 4);
        put(b, 4, 2);
        put(b, 16, 2);
        for (char c : std::string("data")) b.push_back(c);
        put(b, frames * 4, 4);
        std::uint32_t seed = 1;
        for (std::uint32_t i = 0; i < frames; ++i) {
            double x = 0;
            for (int h = 1; h <= 5; ++h)
                x += 3000.0 / h * std::sin(2 * std::numbers::pi * 440.0 * h * i / 44100.0);
            seed = seed * 1664525u + 1013904223u;
            const double noise = static_cast<int>(seed >> 20) - 2048;
            put(b, static_cast<std::uint16_t>(static_cast<std::int16_t>(x + noise)), 2);
            put(b, static_cast<std::uint16_t>(static_cast<std::int16_t>(0.7 * x - noise)), 2);
        }
        const auto file = std::filesystem::temp_directory_path() /
                          ("oxw-blockchain-" + std::to_string(::getpid()) + ".wav");
        std::ofstream(file, std::ios::binary)
            .write(b.data(), static_cast<std::streamsize>(b.size()));
        return file.string();
    }();
    return path;
}

}  // namespace oxw::bench
