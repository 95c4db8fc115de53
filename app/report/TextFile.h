#pragma once
// A plain text output file with CR LF line ends, buffered, in the manner of the report files:
// writes to a file that is not open are dropped; creation errors are reported by exception.
// Every write, flush and close is checked: the first failure is kept (a full disk, a lost
// device ...) and later writes to that file are dropped, so the report layer can name the file
// and the system's reason once.
//
// The file keeps its own buffer and hands it to the system whole (one write per hand-over), when
// it is full, at a flush and at the close; a text larger than the buffer goes to the system at
// once. The buffer is taken at the first write and given back at the close. A hand-over goes
// straight to the file's descriptor where the stream has one (the C library would hold nothing
// back of an unbuffered stream either), else through the stream.
//
// A mapped file (Mode::Mapped, for a file that must be on disk up to its last line at every
// moment without a system call per line) writes its text straight into a shared mapping of the
// file: what is copied there belongs to the system at once and stays in the file even when the
// program is killed. The file grows in steps of the buffer's size (rounded up to whole pages):
// each step's blocks are reserved first (posix_fallocate), so a full disk fails there, checked
// and reported like a failed write, never while the text is copied. A step without room is
// halved, down to a page, before it fails. The close cuts the file to
// its text. While the file is open, and in the file of a program killed before the close, its
// text is followed by zero bytes up to the end of the last step. A stream that cannot be mapped
// (a device, a test's sink, a file not open for reading and writing or on a file system that
// does not map it) is written as a buffered file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace oxw::report {

// A write, flush or close of an output file failed; the text names the file and the reason:
// Cannot write file "<path>": No space left on device
class WriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Start-up: a file that would grow past the process's file size limit (ulimit -f) fails its
// write, reservation or extension with EFBIG, checked and reported as any other failed write,
// instead of the signal (SIGXFSZ) that would end the program on the spot.
void IgnoreFileSizeSignal();

class TextFile {
public:
    // Opens `path` for writing, emptying it; returns null with errno set when it cannot.
    using Opener = std::function<std::FILE*(const std::string& path)>;
    static constexpr std::size_t kDefaultBufferBytes = std::size_t{1} << 16;
    enum class Mode { Buffered, Mapped };

    TextFile() = default;
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;
    ~TextFile() { Close(); }

    // Creates (or empties) the file for writing, through `open` when given (a device or a test's
    // sink in place of the file), with a buffer of `bufferBytes` (at least 1; for a mapped file
    // the step of its growth); throws std::runtime_error naming the file. Forgets an earlier
    // failure.
    void Create(const std::string& path, const Opener& open = nullptr,
                std::size_t bufferBytes = kDefaultBufferBytes, Mode mode = Mode::Buffered);
    bool IsOpen() const { return file_ != nullptr; }
    bool IsMapped() const { return mapped_; }
    const std::string& Path() const { return path_; }
    // Bytes of text written since Create (the file's length once it is closed and nothing failed).
    std::uint64_t Length() const { return handedOver_ + used_; }

    // Writes text + CR LF; dropped when the file is not open or has failed.
    void WriteLine(std::string_view text) { WriteLine({}, text); }
    // Writes prefix + text + CR LF as one line, in one checked step.
    void WriteLine(std::string_view prefix, std::string_view text) {
        // A line that fits the buffer's room is copied in here; the rest takes the long way.
        const std::size_t bytes = prefix.size() + text.size() + 2;
        if (buffer_ && Writable() && capacity_ - used_ >= bytes) {
            Append(prefix);
            Append(text);
            Append("\r\n");
        } else {
            WriteLineSlow(prefix, text);
        }
    }
    // Writes text without a line end.
    void Write(std::string_view text);
    // Hands the buffered text to the system (a mapped file holds nothing back). False when this
    // file has failed, now or before (also after it was closed); true for a file never opened.
    bool Flush() { return used_ == 0 || mapped_ ? !Failed() : FlushBuffer(); }
    // Flushes and closes; the same result as Flush. A file that is not open is skipped.
    bool Close();

    bool Failed() const { return !failure_.empty(); }
    // "Cannot write file "<path>": <reason>" for the first failure since Create; empty when none.
    const std::string& Failure() const { return failure_; }
    // A flag that this file sets on its failures (shared by the files of a run, so that a check
    // of all of them costs one test while none has failed); null for none.
    void ReportFailuresTo(bool* flag) { failureFlag_ = flag; }

private:
    bool Writable() const { return file_ != nullptr && failure_.empty(); }
    // Room for `bytes` more in the buffer, handing it over first when needed; false when the
    // text is larger than the buffer or the hand-over failed.
    bool MakeRoom(std::size_t bytes);
    void Append(std::string_view text) {
        if (text.empty()) return;  // an empty view may hold no pointer at all
        std::memcpy(buffer_ + used_, text.data(), text.size());
        used_ += text.size();
    }
    // Copies `text` into the mapping, moving on to the next step wherever the present one is full.
    void AppendMapped(std::string_view text);
    // Unmaps the present step and maps the next one, its blocks reserved first; false on failure.
    bool NextStep();
    void Unmap();
    void WriteLineSlow(std::string_view prefix, std::string_view text);
    bool FlushBuffer();
    // Writes `text` straight to the system (after the buffer's contents).
    void Put(std::string_view text);
    // Hands the buffer's contents to the system.
    void HandOver();
    void Fail(int error);

    std::FILE* file_ = nullptr;
    int fd_ = -1;  // the file's descriptor, -1 for a stream without one (a test's sink)
    std::string path_;
    std::string failure_;
    bool* failureFlag_ = nullptr;
    std::unique_ptr<char[]> ownBuffer_;
    // Where lines are copied: the own buffer, or the mapped step of a mapped file.
    char* buffer_ = nullptr;
    std::size_t capacity_ = kDefaultBufferBytes;
    // A mapped file's step of growth; capacity_ is the present step, less where there was no room.
    std::size_t step_ = kDefaultBufferBytes;
    std::size_t used_ = 0;
    // Bytes handed to the system before the buffer's (for a mapped file: the offset of its step).
    std::uint64_t handedOver_ = 0;
    bool mapped_ = false;
};

}  // namespace oxw::report
