#pragma once
// The lines of a text file the program wrote, without their CR LF ends; the text of a file
// written through a mapping (the LOG) while it is open.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace oxw::test {

// The text of a LOG still open ends at its first zero byte (the rest of its last step).
inline std::vector<std::string> ReadLines(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> out;
    for (std::string l; std::getline(in, l);) {
        const std::size_t zero = l.find('\0');
        if (zero == 0) break;
        if (zero != std::string::npos) l.resize(zero);
        if (!l.empty() && l.back() == '\r') l.pop_back();
        out.push_back(l);
        if (zero != std::string::npos) break;
    }
    return out;
}

// A file written through a mapping, while it is open or after its program was killed: the bytes
// before its first zero byte; none when anything but zero bytes follows them.
inline std::optional<std::string> MappedFileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string all{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::size_t end = std::min(all.find('\0'), all.size());
    if (all.find_first_not_of('\0', end) != std::string::npos) return std::nullopt;
    all.resize(end);
    return all;
}

}  // namespace oxw::test
