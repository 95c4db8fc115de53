#pragma once
// A fresh folder of its own under the system's temporary folder, removed with everything in it
// when the object goes. The name holds the given prefix, the process id and a serial number, so
// suites running side by side and tests within one suite never share a folder.
#include <atomic>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

namespace oxw::test {

class TempDir {
public:
    explicit TempDir(const std::string& prefix = "oxw") {
        static std::atomic<int> serial{0};
        path_ = std::filesystem::temp_directory_path() /
                (prefix + "-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
        std::filesystem::remove_all(path_);  // a leftover of an earlier process with the same id
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

}  // namespace oxw::test
