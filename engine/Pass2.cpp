// The tone pass of the two-pass option, and the closing log dumps of a run.
#include <cmath>

#include "engine/Convert.h"
#include "engine/Engine.h"
#include "engine/SpectrumWork.h"
#include "numeric/FMath.h"
#include "numeric/FastFourier.h"
#include "numeric/NumberFormat.h"

namespace oxw::engine {

using numeric::floatToStrF;

void Engine::Pass2() {
    RunState& s = S();
    SeekStream(s.StreamDataChunk);
    host_.SetText("CurrentProcessingMode", "Extended");
    host_.Refresh();
    host_.SelectFFTSize32768();
    // The tone pass reads both channels of a two-channel file; a one-channel file has one.
    ShowMonoChannel();
    s.Counter = RoundHalfEven(StrToInt64(checkForm_.SoundFileAvBytesPerSecond.Text) * s.StartTime);
    Gate(s.Counter);
    ScanSoundFile();
    KeepTonePassInsideData();
    SaveInitialiseMeansVariables();
    InitialiseMeans();
    Log("D", " 3746 Execute SetUpCompactIBinRanges in JointNordic ");
    SetUpCompactIBinRanges();
    Log("D", "3748 After SetUpCompactIBinRanges");
    Log("D", "3764 value of PERCENTILEARRAYMAX = " + std::to_string(s.PERCENTILEARRAYMAX));
    for (auto* a : {&s.Larray, &s.Narray, &s.DLarray}) std::fill(a->begin(), a->end(), 0.0);
    if (s.Calculate) {
        Log("D", "Done NordicFormatOutput");
        s.CountElement = 1;
        StartPosition();
        host_.SetProgressRange(1, s.Lines);
        host_.Refresh();
        Log("D", "3782 StartPointer value ");
        Log("D", "3168 Main After start positioning Stream Position Max = ");
        for (s.CountLine = 1; s.CountLine <= s.Lines; ++s.CountLine) Pass2Line();
    }
    host_.OutputSummary();
    SpectrumDump("Nordic Spectrum dB values , Intensity index, ", s.NordicSpectrum, true);
    DominantResultLines();
}

// The tone pass's 32768-point blocks reach up to 30563 frames beyond their hop, past the end of
// a stretch that ends with the sound data. Such a block would count its missing frames as
// silence, and moving every one of them back onto the data's last frames would only repeat one
// block: the pass analyses the lines whose blocks lie wholly inside the sound data.
void Engine::KeepTonePassInsideData() {
    RunState& s = S();
    const std::int64_t hop = static_cast<std::int64_t>(OFFSET) * s.Resolution;
    if (s.Lines < 1 || s.Compression < 1 || hop < 1) return;
    const std::int64_t held = FramesHeld();
    const std::int64_t blocks = held >= s.POINTS ? (held - s.POINTS) / hop + 1 : 0;
    const std::int64_t lines = blocks / s.Compression;
    if (lines >= s.Lines) return;
    Log("D", "Tone pass: " + std::to_string(lines) + " of " + std::to_string(s.Lines) +
                 " lines have their blocks inside the sound data");
    s.Lines = static_cast<int>(lines);
    s.Elements = s.Lines * s.Compression;
    if (s.Lines < 1) s.Calculate = false;
}

void Engine::Pass2Line() {
    RunState& s = S();
    host_.SetProgressPosition(s.CountLine);
    Log("D", "3855 start of inner mainline loop, CountLine = " + std::to_string(s.CountLine) +
                 " Total loops (Lines) = " + std::to_string(s.Lines));
    host_.Refresh();
    host_.SetText("SoundFileBytesRead", std::to_string(s.BytesRead));
    Log("D", "3865 now going to do InitialiseCompression in Nordic");
    Log("D", "3869 Now do InitialiseCompression");
    InitialiseCompression();
    for (s.CountCompress = 1; s.CountCompress <= s.Compression; ++s.CountCompress) {
        Log("D", "3872 Before call to MakeSpectrum, Stream.Position = " +
                     std::to_string(StreamPosition()));
        // The tone pass reads the blocks the first pass found inside the data: a block that
        // no longer is stops the run.
        const std::int64_t passEnd = s.DataEnd;
        if (!MakeSpectrum()) throw TonePassShrank(s.DataEnd, passEnd);
        NordicCompressSpectrum();
        CalculateLA();
        CalculateSpectDiss();
        DoTransferFunctions();
        FindRoexComponentLevels();
        FindExcitation();
        CalculateLoudness();
        CalculateSharpness();
        ExtractTonalComponents();
        NordicExtractTonalComponents();
        NordicExtractRoughnessComponents();
        NordicCalculateToneDissonance();
        AccumulateMeans_T();
    }
}

void Engine::SpectrumDump(const char* title, const Spectrum& summed, bool withIntensity) {
    const RunState& s = S();
    const std::int64_t half = RoundHalfEven(s.POINTS / 2.0);
    // Line frequencies from the FFT component that served the pass's blocks, set to POINTS
    // points: line i lies at i x rate / POINTS at the file's sample rate.
    const TFastFourier& fft = Work().Fft(s.POINTS);
    const double sampleTime =
        s.SoundFileSampleRate > 0 ? 1.0 / static_cast<double>(s.SoundFileSampleRate) : 0.0;
    for (int i = 1; i <= half && i < SPECTRUM_SIZE; ++i) {
        const double f = sampleTime > 0 ? fft.FreqOfLine(i, sampleTime) : 0.0;
        std::string line = std::string(title) + std::to_string(i) + ", Intensity Hz, " +
                           floatToStrF(f, 6, 2) + ", Summed value, " +
                           floatToStrF(summed[i], 10, 3);
        if (withIntensity) line += ", Intensity, " + floatToStrF(s.Intensity[i], 10, 3);
        line += ", Log Summed value, " + floatToStrF(fmath::Log(summed[i]), 10, 3);
        Log("D", line);
    }
}

}  // namespace oxw::engine

namespace oxw::engine {

void Engine::DominantResultLines() {
    const RunState& s = S();
    using numeric::floatToStrF;
    Log("D", " , 8147 DOMINANT TONE RESULT,  , Start CB Line, " + std::to_string(s.DominantToneCBStart) +
                 " , Critical Band (Hz) " + floatToStrF(s.DominantToneStartCBHz, 10, 0) + " ,  to " +
                 floatToStrF(s.DominantToneEndCBHz, 10, 0) + " , End CB Line, " +
                 std::to_string(s.DominantToneCBEnd) + " , Tone Level (Hz) " +
                 floatToStrF(s.DominantToneHz, 10, 0) + " , 3dB bandwidth of tone, " +
                 floatToStrF(s.DominantTone3dBBandwidth, 10, 0) +
                 " , Loudness in Critical Band (dB), " + floatToStrF(s.DominantToneLoudness, 10, 1) +
                 " , Tonal Audibility, " + floatToStrF(s.DominantTone, 10, 1));
    Log("D", " , 8147 DOMINANT ROUGHNESS RESULT,  , Start CB Line, " +
                 std::to_string(s.DominantRoughnessCBStart) + " , Critical Band (Hz) " +
                 floatToStrF(s.DominantRoughnessStartCBHz, 10, 0) + " ,  to " +
                 floatToStrF(s.DominantRoughnessEndCBHz, 10, 0) + " , Roughness End CB Line, " +
                 std::to_string(s.DominantRoughnessCBEnd) + " , Roughness Level (Hz) " +
                 floatToStrF(s.DominantRoughnessHz, 10, 0) + " , 3dB bandwidth of tone, " +
                 floatToStrF(s.DominantRoughness3dBBandwidth, 10, 0) +
                 " , Roughness in Critical Band (dB), " +
                 floatToStrF(s.DominantRoughnessLoudness, 10, 1) + " , Roughness Audibility, " +
                 floatToStrF(s.DominantRoughness, 10, 1));
}

}  // namespace oxw::engine
