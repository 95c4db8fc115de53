#pragma once
// A plain text output file with CR LF line ends, buffered, in the manner of the report files:
// writes to a file that is not open are dropped; creation errors are reported by exception.
#include <cstdio>
#include <string>
#include <string_view>

namespace oxw::report {

class TextFile {
public:
    TextFile() = default;
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;
    ~TextFile() { Close(); }

    // Creates (or empties) the file for writing; throws std::runtime_error naming the file.
    void Create(const std::string& path);
    bool IsOpen() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }

    // Writes text + CR LF; dropped when the file is not open.
    void WriteLine(std::string_view text);
    // Writes text without a line end.
    void Write(std::string_view text);
    // Returns false when the flush failed.
    bool Flush();
    void Close();

private:
    std::FILE* file_ = nullptr;
    std::string path_;
};

}  // namespace oxw::report
