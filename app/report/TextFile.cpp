#include "app/report/TextFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace oxw::report {

void TextFile::Create(const std::string& path, const Opener& open, std::size_t bufferBytes) {
    Close();
    failure_.clear();
    errno = 0;
    std::FILE* f = open ? open(path) : std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        throw std::runtime_error("Cannot create file \"" + path + "\": " +
                                 std::strerror(errno != 0 ? errno : EIO));
    }
    // The file's own buffer does the buffering: every hand-over is one write to the system.
    std::setvbuf(f, nullptr, _IONBF, 0);
    file_ = f;
    fd_ = ::fileno(f);
    path_ = path;
    capacity_ = std::max<std::size_t>(bufferBytes, 1);
    used_ = 0;
}

void TextFile::Fail(int error) {
    // The first failure is the one to report; what follows from it adds nothing.
    if (failure_.empty()) {
        failure_ = "Cannot write file \"" + path_ + "\": " + std::strerror(error != 0 ? error : EIO);
    }
    if (failureFlag_ != nullptr) *failureFlag_ = true;
}

void TextFile::Put(std::string_view text) {
    if (!Writable() || text.empty()) return;
    errno = 0;
    if (fd_ >= 0) {
        // Written whole, as the C library writes for an unbuffered stream: the first failure
        // stops it (a write that takes nothing counts as one).
        while (!text.empty()) {
            const ssize_t written = ::write(fd_, text.data(), text.size());
            if (written <= 0) {
                Fail(written < 0 ? errno : EIO);
                return;
            }
            text.remove_prefix(static_cast<std::size_t>(written));
        }
        return;
    }
    // The C library may count a failed write of an unbuffered stream as written (a sink that
    // reports -1); its error indicator tells.
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::ferror(file_))
        Fail(errno);
}

void TextFile::HandOver() {
    const std::size_t n = used_;
    used_ = 0;
    Put({buffer_.get(), n});
}

bool TextFile::MakeRoom(std::size_t bytes) {
    if (!buffer_) buffer_ = std::make_unique<char[]>(capacity_);
    if (capacity_ - used_ >= bytes) return true;
    HandOver();
    return Writable() && bytes <= capacity_;
}

void TextFile::Write(std::string_view text) {
    if (!Writable() || text.empty()) return;
    if (MakeRoom(text.size()))
        Append(text);
    else
        Put(text);
}

void TextFile::WriteLineSlow(std::string_view prefix, std::string_view text) {
    if (!Writable()) return;
    if (MakeRoom(prefix.size() + text.size() + 2)) {
        Append(prefix);
        Append(text);
        Append("\r\n");
    } else {
        // A line larger than the buffer goes to the system at once.
        Put(prefix);
        Put(text);
        Put("\r\n");
    }
}

bool TextFile::FlushBuffer() {
    // The C library holds nothing back (the stream is unbuffered): an empty buffer means every
    // byte written so far has been handed over, and checked.
    if (file_ != nullptr && used_ > 0 && !Failed()) {
        HandOver();
        errno = 0;
        if (!Failed() && fd_ < 0 && (std::fflush(file_) != 0 || std::ferror(file_))) Fail(errno);
    }
    return !Failed();
}

bool TextFile::Close() {
    if (file_ == nullptr) return !Failed();
    Flush();
    errno = 0;
    if (std::fclose(file_) != 0) Fail(errno);
    file_ = nullptr;
    fd_ = -1;
    used_ = 0;
    buffer_.reset();
    return !Failed();
}

}  // namespace oxw::report
