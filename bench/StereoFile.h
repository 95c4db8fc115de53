#pragma once
// The block benchmarks' sound file: 20 s of 16-bit stereo pink noise and tones (BenchSound.h),
// written once per process into the temporary folder and removed when the process ends; returns
// its path.
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

#include "bench/BenchSound.h"

namespace oxw::bench {

inline std::string StereoFile() {
    struct File {
        std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("oxw-blockchain-" + std::to_string(::getpid()) + ".wav");
        File() { WriteStereoWav(path, 20); }
        ~File() {
            std::error_code ec;
            std::filesystem::remove(path, ec);
        }
    };
    static const File file;
    return file.path.string();
}

}  // namespace oxw::bench
