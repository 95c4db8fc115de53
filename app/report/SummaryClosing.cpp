// The summary report's closing parts: the copy of the level, loudness and pitch files, the
// time-history block and the Nordic tone block, both cut out of the trace file's rows.
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>

#include "app/report/SummaryParts.h"

namespace oxw::report {

namespace {

bool AtEnd(std::istream& in) { return in.peek() == std::char_traits<char>::eof(); }

// Reads one line without its line end; a line past the end of the file reads as empty.
std::string ReadLine(std::istream& in) {
    std::string line;
    if (!std::getline(in, line)) return {};
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

// 1-based position of the first occurrence of marker in line; 0 when it does not occur.
int Pos(const std::string& line, std::string_view marker) {
    const auto p = line.find(marker);
    return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

// The line from its start-th character (1-based; below 1 counts as 1) to its end.
std::string CopyFrom(const std::string& line, int start) {
    const auto from = static_cast<std::size_t>(start < 1 ? 0 : start - 1);
    return from < line.size() ? line.substr(from) : std::string();
}

// Copies every line of a closed text file into the report; false when it could not be read.
bool CopyRows(const std::string& path, TextFile& out) {
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.WriteLine(line);
    }
    return !in.bad();
}

// Reads the trace file's rows written so far, the file staying open for writing; each line of
// the block goes straight into the summary.
template <typename Cut>
void WriteFromTrace(OutputFiles& files, Cut cut) {
    files.DravolekTraceFile.Flush();
    std::ifstream trace(files.Names.DravolekTraceFileName, std::ios::binary);
    cut(trace, [&files](const std::string& line) { files.DravolekSummaryFile.WriteLine(line); });
}

}  // namespace

void TimeHistoryLines(std::istream& trace, const LineSink& out) {
    // The block rows ("History 01.00", "History 01.01") are written for every recorded block,
    // the line rows ("History 02.00", "History 02.01") at the end of every output line, so a
    // line of several blocks pairs with the last block row before it. The column names come
    // first, from anywhere in the trace: one reading for them, a second for the rows, so that
    // no more than a line is held however long the run.
    std::optional<std::string> blockColumns, lineColumns;
    const std::istream::pos_type start = trace.tellg();
    while (!AtEnd(trace) && !(blockColumns && lineColumns)) {
        const std::string line = ReadLine(trace);
        if (Pos(line, "History 01.00") > 0) {
            if (!blockColumns) blockColumns = CopyFrom(line, Pos(line, "Time"));
        } else if (Pos(line, "History 01.01") == 0 && Pos(line, "History 02.00") > 0) {
            if (!lineColumns) lineColumns = CopyFrom(line, Pos(line, "Loudness_S"));
        }
    }
    // A part that the trace does not hold is left out.
    auto joined = [](const std::optional<std::string>& a, const std::optional<std::string>& b) {
        return a && b ? *a + ", " + *b : a ? *a : b ? *b : std::string();
    };
    out("");
    out("TIME HISTORY Elements");
    out(joined(blockColumns, lineColumns));
    trace.clear();
    trace.seekg(start);
    std::optional<std::string> lastBlock;
    while (!AtEnd(trace)) {
        const std::string line = ReadLine(trace);
        if (Pos(line, "History 01.00") > 0) continue;
        if (const int p1 = Pos(line, "History 01.01"); p1 > 0) {
            lastBlock = CopyFrom(line, p1 + 14);
        } else if (Pos(line, "History 02.00") > 0) {
            continue;
        } else if (const int p3 = Pos(line, "History 02.01"); p3 > 0) {
            const std::string values = CopyFrom(line, p3 + 14);
            out(lastBlock ? *lastBlock + ", " + values : values);
        }
    }
}

void NordicToneLines(std::istream& trace, const LineSink& out) {
    out("");
    out("NORDIC TONE Elements");
    std::string line;
    bool found = false;
    while (!found && !AtEnd(trace)) {
        line = ReadLine(trace);
        found = Pos(line, "Nordic 01.00") > 0;
    }
    if (!found) {
        out("No tone was found");
        return;
    }
    out(CopyFrom(line, Pos(line, "Nordic 01.00") + 19));
    line = ReadLine(trace);
    int s = Pos(line, "Nordic 01.01") + 14;  // cut position of the value rows
    out(CopyFrom(line, s));
    // Rows come in pairs (column names, values); only the values of tone rows are kept.
    while (!AtEnd(trace)) {
        ReadLine(trace);
        const std::string b = ReadLine(trace);
        if (Pos(b, "History 01.00") > 0) s = 0;
        if (Pos(b, "History 01.01") > 0) s = 0;
        if (Pos(b, "Nordic 01.00") > 0) s = 0;
        if (const int p = Pos(b, "Nordic 01.01"); p > 0) s = p + 14;
        if (s > 0) out(CopyFrom(b, s));
    }
}

namespace summary {

bool CopyTimeSeries(OutputFiles& files, engine::RunHost& host) {
    const std::pair<TextFile*, const std::string*> series[] = {
        {&files.DravolekLevelFile, &files.Names.DravolekLevelFileName},
        {&files.DravolekLoudFile, &files.Names.DravolekLoudFileName},
        {&files.DravolekPitchFile, &files.Names.DravolekPitchFileName}};
    bool copied = true;
    for (const auto& [file, name] : series) {
        copied = file->Close() && copied;
        if (!CopyRows(*name, files.DravolekSummaryFile)) {
            copied = false;
            host.CreateAuditLog("D", "OutputSummary could not copy \"" + *name + "\"");
        }
    }
    return copied;
}

void DeleteTimeSeries(OutputFiles& files) {
    std::error_code ec;
    for (const std::string* name : {&files.Names.DravolekLevelFileName,
                                    &files.Names.DravolekLoudFileName,
                                    &files.Names.DravolekPitchFileName}) {
        std::filesystem::remove(*name, ec);
    }
    files.TimeSeriesCopied = true;
}

void WriteTimeHistory(OutputFiles& files) { WriteFromTrace(files, TimeHistoryLines); }

void WriteNordicBlock(OutputFiles& files) { WriteFromTrace(files, NordicToneLines); }

}  // namespace summary

}  // namespace oxw::report
