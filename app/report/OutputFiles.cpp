#include "app/report/OutputFiles.h"

#include <cstdio>
#include <filesystem>

#include "engine/RunHost.h"

namespace oxw::report {

namespace {

constexpr const char* kArrayNames[kArrayFiles] = {
    "",         "CompactF",  "CompactI",   "CompactI_T",     "Intensity",      "Oct_T",
    "Oct_S",    "ThirdOct_T", "ThirdOct_S", "Narray",        "Larray",         "DLArray",
    "CompInt",  "CompL",     "RoexL",      "Esig",           "SpecLoud",       "SpecLoud_T",
    "SpecLoud_S", "PitchSalience", "PitchSalience_T", "PitchSalience_S", "CompoundPitch",
    "CompoundWeight", "ChromaSalience", "ChromaSalience_T", "ChromaSalience_S", "Salience",
    "FX",       "V",         "WS",         "Vpitch",         "CompoundSV",     "ToneF",
    "ToneRef",  "LX",        "ToneL",      "VW",             "", "", "", "", "", "", "", "", "",
    "", "", "", "", "", "", "ProgressiveChromaSalience", "ProgressivePitchSalience"};

constexpr const char* ArrayDataHeader =
    "Start of array data listing: Array Name, Line Number, Row Number, Value";
constexpr const char* ArrayDataTrailer = "End of array data";
// The header and trailer of a dump of single variables; no such dump is written.
[[maybe_unused]] constexpr const char* VariableDataHeader =
    "Start of variable data listing: Variable Name, Line number, Value";
[[maybe_unused]] constexpr const char* VariableDataTrailer = "End of variable data";

std::tm LocalNow() {
    std::time_t t = std::time(nullptr);
    std::tm out{};
    localtime_r(&t, &out);
    return out;
}

std::string Two(int v) {
    char b[12];  // any int
    std::snprintf(b, sizeof b, "%02d", v);
    return b;
}

void WriteHeader(TextFile& f, const char* title, const std::string& columns) {
    f.WriteLine("");
    f.WriteLine(title);
    f.WriteLine(columns);
}

}  // namespace

const char* ArrayFileName(int n) { return (n >= 0 && n < kArrayFiles) ? kArrayNames[n] : ""; }

std::string FormatStamp(const std::tm& t) {
    return std::to_string(t.tm_year + 1900) + " " + Two(t.tm_mon + 1) + " " +
           std::to_string(t.tm_mday) + "  at  " + Two(t.tm_hour) + " " + Two(t.tm_min) + " " +
           Two(t.tm_sec);
}

OutputFileNames BuildOutputFileNames(const std::string& soundFileName, const std::string& stamp) {
    OutputFileNames n;
    n.FileDateTimeStamp = stamp;
    n.filenamelength = static_cast<int>(soundFileName.size());
    n.NoExtFileName = soundFileName.substr(0, soundFileName.size() >= 4 ? soundFileName.size() - 4 : 0);
    const std::string base = n.NoExtFileName + " " + stamp;
    auto acoustic = [&](const char* k) { return base + " Acoustic " + k + n.FileNameExtension; };
    auto tone = [&](const char* k) { return base + " Tone " + k + n.FileNameExtension; };
    n.DravolekLevelFileName = acoustic("L");
    n.NordicLevelFileName = tone("L");
    n.DravolekLoudFileName = acoustic("N");
    n.NordicLoudFileName = tone("N");
    n.DravolekPitchFileName = acoustic("P");
    n.NordicPitchFileName = tone("P");
    n.DravolekTraceFileName = acoustic("T");
    n.NordicTraceFileName = tone("T");
    n.DravolekSummaryFileName = acoustic("S");
    n.NordicSummaryFileName = tone("S");
    for (int i = 1; i < kArrayFiles; ++i) {
        if (*kArrayNames[i] != '\0') n.PDataFileName[i] = base + " " + kArrayNames[i] + ".ARY";
    }
    n.LogFileName = base + " LOG.LOG";
    return n;
}

std::string LevelColumnLine() {
    return "TIME,\tL(A),\tL(B),\tL(C),\tL(lin),\tLN,\tCentroid,\t"
           "?L,\tICCC,\tLag,\t"
           "31.5Hz,\t63Hz,\t125Hz,\t250Hz,\t500Hz,\t1kHz,\t2kHz,\t4kHz,\t8kHz,\t16kHz,\t"
           "125Hz,\t160Hz,\t200Hz,\t250Hz,\t315Hz,\t400Hz,\t500Hz,\t630Hz,\t800Hz,\t1000Hz,\t"
           "1250Hz,\t1600Hz,\t2000Hz,\t2500Hz,\t3150Hz,\t4000Hz,\t5000Hz,\t6300Hz,\t8000Hz,\t10000Hz,\t"
           "12500Hz,\t16000Hz";
}

std::string LoudColumnLine() {
    std::string s = "TIME,\tN,\tNmax,\tS(Z&F),\tS(A),\tTW,\tV,\t";
    for (int e = 2; e <= 39; ++e) {
        s += std::to_string(e) + "Erb";
        if (e < 39) s += ",\t";
    }
    return s;
}

std::string PitchColumnLine() {
    std::string s =
        "TIME,\tSDiss(H&K),\tSDiss(S),\tTDiss(H&K),\tTDiss(S),\tPTonal,\tCTonal,\tMult,\t"
        "Tonic,\tM/m\tR^2,\tA,\tE,\tB,\tF#,\tC#,\tG#,\tD#,\tA#,\tF,\tC,\tG,\tD,\t";
    static const char* names[12] = {"A", "A#", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#"};
    int octave = 0;
    for (int k = 0; k < 88; ++k) {
        const int note = k % 12;
        if (note == 3) ++octave;  // the octave number changes at C
        s += std::string(names[note]) + std::to_string(octave);
        if (k < 87) s += ",\t";
    }
    return s;
}

OutputFiles::OutputFiles() : clock_(LocalNow) {
    ForEachFile([this](TextFile& f) { f.ReportFailuresTo(&anyFailure_); });
}

std::array<OutputFiles::NamedFile, 11> OutputFiles::TextFiles() {
    const OutputFileNames& n = Names;
    return {{{&LogFile, &n.LogFileName},
             {&DravolekLevelFile, &n.DravolekLevelFileName},
             {&NordicLevelFile, &n.NordicLevelFileName},
             {&DravolekLoudFile, &n.DravolekLoudFileName},
             {&NordicLoudFile, &n.NordicLoudFileName},
             {&DravolekPitchFile, &n.DravolekPitchFileName},
             {&NordicPitchFile, &n.NordicPitchFileName},
             {&DravolekTraceFile, &n.DravolekTraceFileName},
             {&NordicTraceFile, &n.NordicTraceFileName},
             {&DravolekSummaryFile, &n.DravolekSummaryFileName},
             {&NordicSummaryFile, &n.NordicSummaryFileName}}};
}

template <typename Each>
void OutputFiles::ForEachFile(Each each) {
    for (const NamedFile& f : TextFiles()) each(*f.file);
    for (TextFile& f : P) each(f);
}

void OutputFiles::DravolekFormatOutput(engine::RunHost& host, const std::string& soundFileName) {
    host.SetText("CurrentProcessingMode", "Standard");
    CloseAll();  // an earlier run's files take no line of this run
    host.CreateAuditLog("S", "DravolekFormatOutput");
    TimeSeriesCopied = false;

    // One stamp serves every file of the run; a stamp whose files exist already (a run within
    // the same second) gives way to the next second.
    std::tm t = clock_();
    std::string stamp = FormatStamp(t);
    for (int tries = 0; tries < 3600; ++tries) {
        if (!std::filesystem::exists(BuildOutputFileNames(soundFileName, stamp).LogFileName)) break;
        ++t.tm_sec;
        std::mktime(&t);
        stamp = FormatStamp(t);
    }
    Names = BuildOutputFileNames(soundFileName, stamp);

    auto create = [this](TextFile& file, const std::string& name,
                         std::size_t buffer = TextFile::kDefaultBufferBytes,
                         TextFile::Mode mode = TextFile::Mode::Buffered) {
        file.Create(name, opener_, buffer, mode);
    };
    create(LogFile, Names.LogFileName, kLogStepBytes, TextFile::Mode::Mapped);
    create(DravolekLevelFile, Names.DravolekLevelFileName);
    create(NordicLevelFile, Names.NordicLevelFileName);
    create(DravolekLoudFile, Names.DravolekLoudFileName);
    create(NordicLoudFile, Names.NordicLoudFileName);
    create(DravolekPitchFile, Names.DravolekPitchFileName);
    create(NordicPitchFile, Names.NordicPitchFileName);
    create(DravolekTraceFile, Names.DravolekTraceFileName);
    create(NordicTraceFile, Names.NordicTraceFileName);
    create(DravolekSummaryFile, Names.DravolekSummaryFileName);
    create(NordicSummaryFile, Names.NordicSummaryFileName);
    create(P[1], Names.PDataFileName[1], kArrayBufferBytes);
    host.CreateAuditLog("M1", ArrayDataHeader);
    host.CreateAuditLog("M1", ArrayDataTrailer);
    create(P[2], Names.PDataFileName[2], kArrayBufferBytes);
    create(P[4], Names.PDataFileName[4], kArrayBufferBytes);
    create(P[54], Names.PDataFileName[54], kArrayBufferBytes);
    // Every file a run writes is new now: failures of an earlier run are gone with its files.
    failureTaken_ = false;
    anyFailure_ = false;
    ForEachFile([this](TextFile& f) { anyFailure_ = anyFailure_ || f.Failed(); });

    WriteHeader(DravolekLevelFile, "DRAVOLEK LEVEL ANALYSIS OUTPUT", LevelColumnLine());
    WriteHeader(NordicLevelFile, "NORDIC LEVEL ANALYSIS OUTPUT", LevelColumnLine());
    WriteHeader(DravolekLoudFile, "DRAVOLEK LOUD ANALYSIS OUTPUT", LoudColumnLine());
    WriteHeader(NordicLoudFile, "NORDIC LOUD ANALYSIS OUTPUT", LoudColumnLine());
    WriteHeader(DravolekPitchFile, "DRAVOLEK PITCH ANALYSIS OUTPUT", PitchColumnLine());
    WriteHeader(NordicPitchFile, "NORDIC PITCH ANALYSIS OUTPUT", PitchColumnLine());
    // The header lines reach the disk now: the Tone files get nothing more, and a program that
    // opens a file during the run sees its header.
    FlushAll();
    CheckWrites();
    host.CreateAuditLog("E", "FormatOutput");
}

void OutputFiles::CloseAll() {
    ForEachFile([](TextFile& f) { f.Close(); });
}

void OutputFiles::FlushAll() {
    ForEachFile([](TextFile& f) { f.Flush(); });
}

std::optional<std::string> OutputFiles::TakeWriteFailure() {
    if (failureTaken_) return std::nullopt;
    std::optional<std::string> first;
    ForEachFile([&first](TextFile& f) {
        if (!first && f.Failed()) first = f.Failure();
    });
    failureTaken_ = first.has_value();
    return first;
}

void OutputFiles::ThrowWriteFailure() {
    if (auto failure = TakeWriteFailure()) throw WriteError(*failure);
}

void OutputFiles::CloseAtExit() {
    CloseAll();
    if (!Named() || !TimeSeriesCopied) return;
    std::error_code ec;
    for (const std::string* n :
         {&Names.DravolekLevelFileName, &Names.DravolekLoudFileName, &Names.DravolekPitchFileName}) {
        std::filesystem::remove(*n, ec);
    }
}

}  // namespace oxw::report
