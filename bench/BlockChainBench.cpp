// Speed of the block chain of both passes on a generated 20 s stereo file, for the analysis
// channel "2" and for "Both" (the series, the level difference and the cross-correlation of the
// two channels are all computed; the second argument is 1): per block, the block reader,
// the compact spectra and every later step of the chain as far as it is built (steps still
// unbuilt only write their two log lines). The host drops the audit lines, so the time is the
// engine's own. The counter "x_realtime" is seconds of sound analysed per second: one block
// moves the analysis on by one hop of 2205 frames, 50 ms at 44.1 kHz.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

#include "bench/PitchSteps.h"
#include "bench/QuietHost.h"
#include "bench/StereoFile.h"
#include "engine/Engine.h"

namespace {

using namespace oxw::engine;

using oxw::bench::QuietHost;

// An engine on the file as a run leaves it before its first block.
void SetUp(Engine& e, QuietHost& host, const std::string& path, const char* mode, bool both) {
    host.texts = {{"CurrentProcessingMode", "Standard"},
                  {"MusicFFTSampleSize", "4096"},
                  {"QualityFFTSampleSize", "32768"},
                  {"AnalysisChannel", "Both"},
                  {"MusicBinCount", "108"},
                  {"QualityBinCount", "121"}};
    RunState& s = e.S();
    s.SoundFileName = path;
    e.MainLineProcess1();
    e.Stream().open(path, std::ios::binary);
    e.ReadSoundFileHeader();
    e.SoundFileCheckButton1Click();  // sets the analysis channel to "2"
    if (both) host.texts["AnalysisChannel"] = "Both";
    e.ScanSoundFile();
    e.InitialiseMeans();
    e.SetUpCompactIBinRanges();
    for (auto* v : {&s.LX, &s.WS, &s.FX, &s.V}) v->assign(MAXTONES, 0.0);
    s.PitchSalience.assign(88, 0.0);
    for (auto* v : {&s.Larray, &s.Narray, &s.DLarray})
        v->assign(static_cast<std::size_t>(s.PERCENTILEARRAYMAX), 0.0);
    s.Oct_T.assign(10, 0.0);
    s.ThirdOct_T.assign(22, 0.0);
    for (auto* v : {&s.ImagInV, &s.RealInV, &s.RealOutV, &s.ImagOutV}) v->assign(32768, 0.0);
    host.texts["CurrentProcessingMode"] = mode;
    e.Stream().clear();
    e.Stream().seekg(s.StreamDataChunk);
    s.Compression = 10;
    s.Elements = 100;
    s.CountElement = 1;
    e.InitialiseCompression();
}

void PassOneBlock(Engine& e) {
    benchmark::DoNotOptimize(e.MakeSpectrum());
    e.CompressSpectrum();
    e.CalculateLA();
    e.CalculateSpectDiss();
    e.DoTransferFunctions();
    e.FindRoexComponentLevels();
    e.FindExcitation();
    e.CalculateLoudness();
    e.CalculateSharpness();
    e.ExtractTonalComponents();
    e.CalculateToneDissonance();
    oxw::bench::PitchSteps(e);
    e.AccumulateMeans_T();
}

void PassTwoBlock(Engine& e) {
    benchmark::DoNotOptimize(e.MakeSpectrum());
    e.NordicCompressSpectrum();
    e.CalculateLA();
    e.CalculateSpectDiss();
    e.DoTransferFunctions();
    e.FindRoexComponentLevels();
    e.FindExcitation();
    e.CalculateLoudness();
    e.CalculateSharpness();
    e.ExtractTonalComponents();
    e.NordicExtractTonalComponents();
    e.NordicExtractRoughnessComponents();
    e.NordicCalculateToneDissonance();
    e.AccumulateMeans_T();
}

enum class Part { Chain, Reader, Compact };

void Run(benchmark::State& state, Part part) {
    const bool passTwo = state.range(0) == 32768;
    const std::string path = oxw::bench::StereoFile();
    QuietHost host;
    Engine e(host);
    const bool both = state.range(1) == 1;
    SetUp(e, host, path, passTwo ? "Extended" : "Standard", both);
    RunState& s = e.S();
    const std::int64_t lastStart = s.DataEnd - static_cast<std::int64_t>(state.range(0)) * 4;
    std::int64_t blocks = 0;
    // Every block moves the stream on by one hop; it goes back to the start (through Stream(),
    // which drops the kept block) before a block would pass the end.
    std::int64_t next = static_cast<std::int64_t>(e.Stream().tellg());
    for (auto _ : state) {
        if (next > lastStart) {
            e.Stream().clear();
            e.Stream().seekg(s.StreamDataChunk);
            next = s.StreamDataChunk;
        }
        if (part == Part::Reader || part == Part::Chain || blocks == 0) next += 2205 * 4;
        if (part == Part::Chain) {
            if (passTwo)
                PassTwoBlock(e);
            else
                PassOneBlock(e);
        } else if (part == Part::Reader || blocks == 0) {
            benchmark::DoNotOptimize(e.MakeSpectrum());
        }
        if (part == Part::Compact) {
            if (passTwo)
                e.NordicCompressSpectrum();
            else
                e.CompressSpectrum();
        }
        if (++blocks % 10 == 0) e.InitialiseCompression();
        benchmark::DoNotOptimize(s.Intensity[100]);
    }
    if (part != Part::Compact)
        state.counters["x_realtime"] = benchmark::Counter(
            static_cast<double>(blocks) * 2205 / 44100, benchmark::Counter::kIsRate);
    state.SetLabel(std::to_string(state.range(0)) + " points, channel " + (both ? "Both" : "2"));
}
// The whole chain, the block reader alone (MakeSpectrum) and the compact spectrum alone (of one
// block read beforehand; pass 1 includes its 1980 array-file lines per block).
void BM_BlockChain(benchmark::State& state) { Run(state, Part::Chain); }
void BM_BlockReader(benchmark::State& state) { Run(state, Part::Reader); }
void BM_CompactSpectrum(benchmark::State& state) { Run(state, Part::Compact); }
BENCHMARK(BM_BlockChain)->ArgsProduct({{4096, 32768}, {0, 1}})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlockReader)->ArgsProduct({{4096, 32768}, {0, 1}})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CompactSpectrum)->Args({4096, 0})->Args({32768, 0})->Unit(benchmark::kMicrosecond);

}  // namespace
