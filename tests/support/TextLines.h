#pragma once
// The lines of a text file the program wrote, without their CR LF ends.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace oxw::test {

inline std::vector<std::string> ReadLines(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> out;
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        out.push_back(l);
    }
    return out;
}

}  // namespace oxw::test
