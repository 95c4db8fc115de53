#include "support/FailingStreams.h"

#include <algorithm>
#include <cerrno>
#include <ios>

#include <fcntl.h>
#include <unistd.h>

namespace oxw::test {

namespace {

struct Sink {
    int fd;
    std::size_t budget;
};

ssize_t SinkWrite(void* cookie, const char* data, std::size_t size) {
    auto* sink = static_cast<Sink*>(cookie);
    const std::size_t n = std::min(size, sink->budget);
    std::size_t done = 0;
    while (done < n) {
        const ssize_t w = ::write(sink->fd, data + done, n - done);
        if (w < 0) return -1;
        done += static_cast<std::size_t>(w);
    }
    sink->budget -= n;
    if (n < size) errno = ENOSPC;  // the disk is full: what fitted is written, the rest fails
    return n == 0 && size > 0 ? -1 : static_cast<ssize_t>(n);
}

int SinkClose(void* cookie) {
    auto* sink = static_cast<Sink*>(cookie);
    const int result = ::close(sink->fd);
    delete sink;
    return result;
}

}  // namespace

std::FILE* OpenFailingAfter(const std::string& path, std::size_t budget) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return nullptr;
    cookie_io_functions_t io{};
    io.write = SinkWrite;
    io.close = SinkClose;
    std::FILE* f = ::fopencookie(new Sink{fd, budget}, "w", io);
    if (f == nullptr) ::close(fd);
    return f;
}

std::int64_t FailingReadBuffer::Here() {
    return static_cast<std::int64_t>(inner_.pubseekoff(0, std::ios_base::cur, std::ios_base::in));
}

void FailingReadBuffer::FailRead() {
    // A stream buffer reports a read error by throwing; the stream turns it into its bad state.
    errno = EIO;
    throw std::ios_base::failure("read error");
}

std::streamsize FailingReadBuffer::xsgetn(char* s, std::streamsize n) {
    if (fails_ == Fails::Read && Here() + n > limit_) FailRead();
    return inner_.sgetn(s, n);
}

FailingReadBuffer::int_type FailingReadBuffer::underflow() {
    if (fails_ == Fails::Read && Here() + 1 > limit_) FailRead();
    return inner_.sgetc();
}

FailingReadBuffer::int_type FailingReadBuffer::uflow() {
    if (fails_ == Fails::Read && Here() + 1 > limit_) FailRead();
    return inner_.sbumpc();
}

FailingReadBuffer::pos_type FailingReadBuffer::seekoff(off_type off, std::ios_base::seekdir dir,
                                                       std::ios_base::openmode which) {
    const pos_type p = inner_.pubseekoff(off, dir, which);
    if (fails_ == Fails::Tell && off == 0 && dir == std::ios_base::cur &&
        off_type(p) > limit_) {
        return pos_type(off_type(-1));
    }
    return p;
}

FailingReadBuffer::pos_type FailingReadBuffer::seekpos(pos_type pos, std::ios_base::openmode which) {
    if (fails_ == Fails::Seek && off_type(pos) > limit_) return pos_type(off_type(-1));
    return inner_.pubseekpos(pos, which);
}

}  // namespace oxw::test
