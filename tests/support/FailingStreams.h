#pragma once
// Streams that fail part way, for the checks of write and read errors: an output file on a disk
// that fills up, and a sound file whose reads, seeks or position reads fail.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <streambuf>
#include <string>

namespace oxw::test {

// Opens `path` for writing (emptying it) through a stream that takes `budget` bytes and then
// fails every write with "No space left on device", as a file on a full disk does: the bytes that
// fit reach the file. Null when the file cannot be created.
std::FILE* OpenFailingAfter(const std::string& path, std::size_t budget);

// Reads through another stream buffer until byte `limit` of the file; then the chosen operation
// fails as on a device that cannot be read: a read ending past the limit (errno EIO), a seek to
// a position past it, or the position read once the stream stands past it.
class FailingReadBuffer : public std::streambuf {
public:
    enum class Fails { Read, Seek, Tell };
    FailingReadBuffer(std::streambuf& inner, Fails fails, std::int64_t limit)
        : inner_(inner), fails_(fails), limit_(limit) {}

protected:
    std::streamsize xsgetn(char* s, std::streamsize n) override;
    int_type underflow() override;
    int_type uflow() override;
    pos_type seekoff(off_type off, std::ios_base::seekdir dir, std::ios_base::openmode which) override;
    pos_type seekpos(pos_type pos, std::ios_base::openmode which) override;

private:
    std::int64_t Here();
    void FailRead();

    std::streambuf& inner_;
    Fails fails_;
    std::int64_t limit_;
};

}  // namespace oxw::test
