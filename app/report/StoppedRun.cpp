#include "app/report/StoppedRun.h"

#include <cstdio>
#include <filesystem>

#include "app/report/OutputFiles.h"

namespace oxw::report {

namespace {

// Appends `line` with CR LF, after a line end of its own when the file ends inside a line (a
// write that the full disk cut short).
void AppendLine(const std::string& path, const std::string& line) {
    std::FILE* f = std::fopen(path.c_str(), "a+b");
    if (f == nullptr) return;
    std::string text;
    if (std::fseek(f, -1, SEEK_END) == 0 && std::fgetc(f) != '\n') text = "\r\n";
    text += line + "\r\n";
    std::fseek(f, 0, SEEK_END);  // from reading to writing
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

}  // namespace

std::string StoppedRunLine(const std::string& reason) {
    return "The analysis stopped before its end: " + reason;
}

void CloseStoppedRun(OutputFiles& files, const std::string& reason) {
    files.CloseAll();
    std::error_code ec;
    for (const std::string& name : files.Names.PDataFileName) {
        if (!name.empty()) std::filesystem::remove(name, ec);
    }
    for (const OutputFiles::NamedFile& f : files.TextFiles()) {
        const std::string& name = *f.name;
        if (!name.empty() && std::filesystem::is_regular_file(name, ec))
            AppendLine(name, StoppedRunLine(reason));
    }
}

}  // namespace oxw::report
