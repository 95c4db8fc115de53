#include "app/report/TextFile.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace oxw::report {

namespace {

std::size_t PageBytes() { return static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)); }

// A regular file open for reading and writing, on a file system that maps it: a shared mapping
// of it can be written (tried on one page, nothing touched).
bool CanMap(int fd) {
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        (::fcntl(fd, F_GETFL) & O_ACCMODE) != O_RDWR)
        return false;
    const std::size_t page = PageBytes();
    void* probe = ::mmap(nullptr, page, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (probe == MAP_FAILED) return false;
    ::munmap(probe, page);
    return true;
}

std::size_t WholePages(std::size_t bytes) {
    const std::size_t page = PageBytes();
    return (bytes + page - 1) / page * page;
}

}  // namespace

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

void TextFile::Create(const std::string& path, const Opener& open, std::size_t bufferBytes,
                      Mode mode) {
    Close();
    failure_.clear();
    errno = 0;
    // A mapping needs the file open for reading too.
    const char* how = mode == Mode::Mapped ? "w+b" : "wb";
    std::FILE* f = open ? open(path) : std::fopen(path.c_str(), how);
    if (f == nullptr) {
        throw std::runtime_error("Cannot create file \"" + path + "\": " +
                                 std::strerror(errno != 0 ? errno : EIO));
    }
    // The file's own buffer does the buffering: every hand-over is one write to the system.
    std::setvbuf(f, nullptr, _IONBF, 0);
    file_ = f;
    fd_ = ::fileno(f);
    path_ = path;
    mapped_ = mode == Mode::Mapped && CanMap(fd_);
    capacity_ = mapped_ ? WholePages(std::max<std::size_t>(bufferBytes, 1))
                        : std::max<std::size_t>(bufferBytes, 1);
    step_ = capacity_;
    used_ = 0;
    handedOver_ = 0;
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
            handedOver_ += static_cast<std::uint64_t>(written);
            text.remove_prefix(static_cast<std::size_t>(written));
        }
        return;
    }
    // The C library may count a failed write of an unbuffered stream as written (a sink that
    // reports -1); its error indicator tells.
    const std::size_t written = std::fwrite(text.data(), 1, text.size(), file_);
    handedOver_ += written;
    if (written != text.size() || std::ferror(file_)) Fail(errno);
}

void TextFile::HandOver() {
    const std::size_t n = used_;
    used_ = 0;
    Put({buffer_, n});
}

bool TextFile::MakeRoom(std::size_t bytes) {
    if (!buffer_) {
        ownBuffer_ = std::make_unique<char[]>(capacity_);
        buffer_ = ownBuffer_.get();
    }
    if (capacity_ - used_ >= bytes) return true;
    HandOver();
    return Writable() && bytes <= capacity_;
}

void TextFile::Unmap() {
    if (mapped_ && buffer_ != nullptr) ::munmap(buffer_, capacity_);
    buffer_ = nullptr;
}

bool TextFile::NextStep() {
    if (buffer_ != nullptr) {
        Unmap();
        handedOver_ += used_;
        used_ = 0;
    }
    // The step's blocks first: a full disk fails here, not as a fault when the text is copied.
    // A disk (or file size limit) without room for a whole step takes a smaller one, down to a
    // page, so that every line that fits is written.
    const auto offset = static_cast<off_t>(handedOver_);
    capacity_ = step_;
    int error = 0;
    for (;;) {
        error = ::posix_fallocate(fd_, offset, static_cast<off_t>(capacity_));
        if (error == EINTR) continue;
        if ((error != ENOSPC && error != EFBIG) || capacity_ <= PageBytes()) break;
        capacity_ = WholePages(capacity_ / 2);
    }
    if (error != 0) {
        Fail(error);
        return false;
    }
    void* step = ::mmap(nullptr, capacity_, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, offset);
    if (step == MAP_FAILED) {
        Fail(errno);
        return false;
    }
    buffer_ = static_cast<char*>(step);
    return true;
}

void TextFile::AppendMapped(std::string_view text) {
    while (!text.empty()) {
        if ((buffer_ == nullptr || used_ == capacity_) && !NextStep()) return;
        const std::size_t n = std::min(text.size(), capacity_ - used_);
        Append(text.substr(0, n));
        text.remove_prefix(n);
    }
}

void TextFile::Write(std::string_view text) {
    if (!Writable() || text.empty()) return;
    if (mapped_)
        AppendMapped(text);
    else if (MakeRoom(text.size()))
        Append(text);
    else
        Put(text);
}

void TextFile::WriteLineSlow(std::string_view prefix, std::string_view text) {
    if (!Writable()) return;
    if (mapped_) {
        // Whole steps hold the text of a line that crosses into the next one.
        AppendMapped(prefix);
        if (Writable()) AppendMapped(text);
        if (Writable()) AppendMapped("\r\n");
    } else if (MakeRoom(prefix.size() + text.size() + 2)) {
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
    if (mapped_) {
        // The zero bytes after the text (the rest of the last step, or a step that failed part
        // way) go; the text stays whatever failed before.
        Unmap();
        if (::ftruncate(fd_, static_cast<off_t>(Length())) != 0) Fail(errno);
        mapped_ = false;
    }
    errno = 0;
    if (std::fclose(file_) != 0) Fail(errno);
    file_ = nullptr;
    fd_ = -1;
    used_ = 0;
    buffer_ = nullptr;
    ownBuffer_.reset();
    return !Failed();
}

}  // namespace oxw::report
