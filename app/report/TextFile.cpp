#include "app/report/TextFile.h"

#include <cerrno>
#include <cstring>

namespace oxw::report {

void TextFile::Create(const std::string& path, const Opener& open) {
    Close();
    failure_.clear();
    errno = 0;
    std::FILE* f = open ? open(path) : std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        throw std::runtime_error("Cannot create file \"" + path + "\": " +
                                 std::strerror(errno != 0 ? errno : EIO));
    }
    std::setvbuf(f, nullptr, _IOFBF, 1 << 16);
    file_ = f;
    path_ = path;
}

void TextFile::Fail(int error) {
    // The first failure is the one to report; what follows from it adds nothing.
    if (failure_.empty()) {
        failure_ = "Cannot write file \"" + path_ + "\": " + std::strerror(error != 0 ? error : EIO);
    }
}

void TextFile::Write(std::string_view text) {
    if (file_ == nullptr || Failed() || text.empty()) return;
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) Fail(errno);
}

void TextFile::WriteLine(std::string_view text) {
    Write(text);
    Write("\r\n");
}

bool TextFile::Flush() {
    if (file_ != nullptr && !Failed()) {
        errno = 0;
        // After a failed buffered write the C library may report success on later flushes;
        // its error indicator stays set.
        if (std::fflush(file_) != 0 || std::ferror(file_)) Fail(errno);
    }
    return !Failed();
}

bool TextFile::Close() {
    if (file_ == nullptr) return !Failed();
    Flush();
    errno = 0;
    if (std::fclose(file_) != 0) Fail(errno);
    file_ = nullptr;
    return !Failed();
}

}  // namespace oxw::report
