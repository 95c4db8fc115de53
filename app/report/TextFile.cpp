#include "app/report/TextFile.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace oxw::report {

void TextFile::Create(const std::string& path) {
    Close();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        throw std::runtime_error("Cannot create file \"" + path + "\": " + std::strerror(errno));
    }
    std::setvbuf(f, nullptr, _IOFBF, 1 << 16);
    file_ = f;
    path_ = path;
}

void TextFile::Write(std::string_view text) {
    if (file_ != nullptr && !text.empty()) std::fwrite(text.data(), 1, text.size(), file_);
}

void TextFile::WriteLine(std::string_view text) {
    if (file_ == nullptr) return;
    Write(text);
    std::fwrite("\r\n", 1, 2, file_);
}

bool TextFile::Flush() { return file_ == nullptr || std::fflush(file_) == 0; }

void TextFile::Close() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

}  // namespace oxw::report
