#pragma once
// The state of one analysis engine: the run parameters, counters, spectra, result arrays and
// scalar results that every engine step reads and writes. Names follow the engine's own
// vocabulary: no suffix = current block, _T = mean over one output line, _S = mean over the file,
// _Nordic108/_Nordic121 = the tone pass on the 108/121-bin spectra, Dravolek... = copies of the
// first pass kept beside the tone pass. Arrays are used from index 1 unless said otherwise.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace oxw::engine {

// Fixed values of the engine.
inline constexpr int SR = 44100;            // frames per second assumed for line counts
inline constexpr int OFFSET = 441;          // hop in frames at resolution 1 (10 ms)
inline constexpr int MYPOINTS = 32768;      // FFT size of the tone pass
inline constexpr double MAXENDTIME = 4800.0;  // longest stretch in seconds
inline constexpr int MAXTONES = 1024;
inline constexpr int NCOMPS = 512;
inline constexpr double HIDDENCAL = -70.0;  // calibration offset in dB
inline constexpr int EARS = 2;
inline constexpr double ESTART = 2.0, EEND = 39.0, ESTEP = 0.25;  // ERB-rate grid
inline constexpr int MINDECILE = 20;
inline constexpr double MINWEIGHT = 0.1;
inline constexpr double SPWEIGHT = 0.5;
inline constexpr int MMAX = 12;
inline constexpr int NO_TONIC = -99;  // the tonic of a line or file without a key
inline constexpr int SPECTRUM_SIZE = 32769;  // spectrum arrays are indexed 0..32768
inline constexpr int COMPACT_SIZE = 201;     // compact arrays are indexed 0..200
inline constexpr int SPECLOUD_SIZE = 157;    // EEND / ESTEP + 1
inline constexpr int SPECLOUD_FIRST = 8;     // ESTART / ESTEP
inline constexpr int SPECLOUD_LAST = 156;    // EEND / ESTEP

using Spectrum = std::array<double, SPECTRUM_SIZE>;
using Compact = std::array<double, COMPACT_SIZE>;
using FreqTable = std::array<std::array<double, 12>, 13>;  // [note 1..12][octave column 1..11]

struct RunState {
    // Window code of the block reader: R N T W B K F M.
    char WINFUNCT = 'N';

    // Run parameters.
    int POINTS = 4096;
    int Compression = 10;
    int Resolution = 5;
    double Calibration = HIDDENCAL;
    double StartTime = 0.0;
    double EndTime = MAXENDTIME;
    double ATune = 440.0;
    bool PitchShift = false;
    char Field = 'F';
    bool TwoChan = false;
    bool ByteSwap = false;
    bool Calculate = false;
    std::int64_t Counter = 0;    // byte offset of the next block from the first data byte
    std::int64_t BytesRead = 0;  // bytes read from the sound file in this run
    int Lines = 0;
    int Elements = 0;
    int CountLine = 0;
    int CountCompress = 0;
    int CountElement = 0;
    int DisplayedLogLines = 0;
    int PERCENTILEARRAYMAX = 480000;
    std::string SoundFileName;
    std::string ShortSoundFileName;

    // What the main window keeps of the run.
    std::string ProcessingOptionSelected;  // "Introductory" or "Advanced"
    bool ProcessingABatch = false;
    std::int64_t InputSize = 0;     // RIFF chunk size as the header declares it
    // The RIFF size the gate compares: InputSize, or what the file holds after the RIFF header
    // (file size - 8) when the field reads 0 (streaming recorders) or more than the file holds.
    std::int64_t InputSizeHeld = 0;
    std::int64_t sizert1 = 0, sizert2 = 0;
    std::int64_t StreamDataChunk = 0;        // absolute position of the first sample
    std::int64_t SoundFileStartPointer = 0;  // absolute position of the first block of a pass
    std::int64_t SoundFileMaxPointer = 0;
    std::int64_t ChunkLength = 0;            // bytes of sample data
    std::int64_t DeclaredChunkLength = 0;    // bytes of sample data the header declares
    std::int64_t DataEnd = 0;                // absolute position after the last sample byte
    // The run's sentence that its sound data ended before the end asked for, at the last end
    // found; empty while it has not.
    std::string EarlyEnd;
    int SoundFileNoOfChannels = 0;
    std::int64_t SoundFileSampleRate = 0;        // as the header gives them, never narrowed
    std::int64_t SoundFileAvBytesPerSecond = 0;
    int SoundFileBlockAlign = 0;
    int SoundFileSigBitsPerSample = 0;
    double SumChromaSalienceS = 0.0;

    // Compact bin grids.
    Compact CompactF{}, CompactF_Nordic108{}, CompactF_Nordic121{};
    Compact CompactIBinCentreFreqs{}, CompactIBinLowBandFreqs{}, CompactIBinHighBandFreqs{};
    Compact DeepCompactIBinLowBandFreqs{}, DeepCompactIBinHighBandFreqs{};
    int DravolekSizeOfCompactSpectrum = 108;
    int NordicSizeOfCompactSpectrum = 121;

    // Spectra.
    Spectrum Intensity{}, ImagIn{}, DravolekSpectrum{}, NordicSpectrum{};
    Compact CompactI{}, CompactI_T{};

    // Arrays sized per run.
    std::vector<double> Oct_S, DravolekOct_S, ThirdOct_S, DravolekThirdOct_S;
    std::vector<double> Oct_T, ThirdOct_T;
    std::vector<double> PitchSalience, PitchSalience_S, DravolekPitchSalience_S, PitchSalience_T,
        DravolekPitchSalience_T;
    std::vector<double> RoexL, RoexL_Nordic108, RoexL_Nordic121;
    std::vector<double> SpecLoud, SpecLoud_Nordic108, SpecLoud_Nordic121, SpecLoud_S,
        SpecLoud_S_Nordic108, SpecLoud_S_Nordic121, DravolekSpecLoud_S, SpecLoud_T,
        SpecLoud_T_Nordic108, SpecLoud_T_Nordic121;
    std::vector<double> ToneF, ToneF_Nordic108, ToneF_Nordic121, RoughnessF_Nordic108, ToneL,
        ToneL_Nordic108, ToneL_Nordic121, RoughnessL_Nordic108;
    std::vector<double> ToneRef, ToneRef_Nordic108, ToneRef_Nordic121, RoughnessRef_Nordic108;
    std::vector<double> LX, WS, FX, V;
    std::vector<double> Larray, Narray, DLarray;
    // Dimensioned at the start of a run, their lengths logged; the block reader keeps its series
    // and spectrum in RealInD, RealOut and ImagOut.
    std::vector<double> ImagInV, RealInV, RealOutV, ImagOutV;

    // Whole-file accumulators and extremes.
    double Int_S = 0, IntA_S = 0, IntB_S = 0, IntC_S = 0, Centroid_S = 0;
    double Loudness_S = 0, Loudness_S_Nordic108 = 0, Loudness_S_Nordic121 = 0;
    double SharpnessZ_S = 0, SharpnessA_S = 0, TimbralWidth_S = 0, Volume_S = 0;
    double SpectDissS_S = 0, SpectDissS_S_Nordic108 = 0, SpectDissS_S_Nordic121 = 0;
    double SpectDissHK_S = 0, SpectDissHK_S_Nordic108 = 0, SpectDissHK_S_Nordic121 = 0;
    double DissonanceS_S = 0, DissonanceHK_S = 0;
    double PureTonalness_S = 0, ComplexTonalness_S = 0, Multiplicity_S = 0;
    std::array<double, 13> ChromaSalience_S{}, ChromaSalience_T{};
    double ICCC_S = 0, ICCClag_S = 0, DeltaL_S = 0;
    double Nmax = 0, Nmin = 9999.0, LAmax = -9999.0, LAmin = 9999.0, DLmax = -9999.0,
           DLmin = 9999.0;

    // Per-line accumulators.
    double Loudness_T = 0, SharpnessZ_T = 0, SharpnessA_T = 0, TimbralWidth_T = 0, Volume_T = 0;
    double SpectDissS_T = 0, SpectDissHK_T = 0, DissonanceS_T = 0, DissonanceHK_T = 0;
    double PureTonalness_T = 0, ComplexTonalness_T = 0, Multiplicity_T = 0;
    double ICCC_T = 0, ICCClag_T = 0, DeltaL_T = 0;
    double Nmax_T = 0, Nmax_T_Nordic108 = 0, Nmax_T_Nordic121 = 0;

    // Pass-1 copies kept beside the tone pass.
    double DravolekInt_S = 0, DravolekIntA_S = 0, DravolekIntB_S = 0, DravolekIntC_S = 0,
           DravolekCentroid_S = 0;
    double DravolekLoudness_S = 0, DravolekSharpnessZ_S = 0, DravolekSharpnessA_S = 0,
           DravolekTimbralWidth_S = 0, DravolekVolume_S = 0;
    double DravolekSpectDissS_S = 0, DravolekSpectDissHK_S = 0, DravolekDissonanceS_S = 0,
           DravolekDissonanceHK_S = 0;
    double DravolekPureTonalness_s = 0, DravolekComplexTonalness_S = 0,
           DravolekMultiplicity_S = 0;
    double DravolekNmax = 0, DravolekNmin = 0, DravolekLAmax = 0, DravolekLAmin = 0,
           DravolekDLmax = 0, DravolekDLmin = 0;
    double DravolekICCC_S = 0, DravolekICCClag_S = 0, DravolekDeltaL_S = 0;

    // Results of the key, chord and tone steps that the driver passes around.
    int NTonesM = 0, NTonesM_Nordic108 = 0;
    int PitchCount = 0;
    std::string DisplayPitchCount;  // PitchCount in decimal, as the pattern step leaves it
    // Keys: the text ("C  major"), R^2, the tonic in semitones above A (per line: its place on
    // the circle of fifths; NO_TONIC without a key) and the mode code (0 major, -3 minor).
    std::string Tonality_S;
    double TonalityR2_T = 0, TonalityR2_S = 0;
    int Tonality_T = 0, MajMin_T = 0;
    std::string Chord_S;  // root name and chord code ("C MP_")
    double ChordR2_S = 0;

    // Pitch model of a block. Virtual pitches (Hz) and weights [base 1..MaxPitches][m 1..MMAX];
    // the compound pitch pattern, entries 1..PitchCount: pitch (Hz), weight, kind ('s' spectral,
    // 'v' virtual) and normalised salience; the last pitch named: semitones above A (0 to < 12),
    // deviation from the nearest semitone (cents, 0..50) with its sign, nearest key (0 = A0).
    int MaxPitches = 0;
    std::vector<std::array<double, MMAX + 1>> VPitch, VW;
    std::vector<double> CompoundPitch, CompoundWeight, Salience;
    std::vector<char> Compoundsv;
    double Pitch = 0;
    int Cents = 0;
    char PlusMinus = '+';
    int Note = 0;

    // Hearing steps of a block: the compact levels after the ear transfer (dB) and their
    // intensities, the excitation on the ERB grid (intensity, indices 8..156), the tone-pass
    // loudness (sone), timbre and spectral dissonance, and the first pass's tone count.
    Compact CompL{}, CompInt{}, CompL_Nordic108{}, CompInt_Nordic108{}, CompL_Nordic121{},
        CompInt_Nordic121{};
    std::array<double, SPECLOUD_SIZE> Esig{}, Esig_Nordic108{}, Esig_Nordic121{};
    double Loudness_Nordic108 = 0, Loudness_Nordic121 = 0;
    double SharpnessZ_Nordic108 = 0, SharpnessA_Nordic108 = 0, TimbralWidth_Nordic108 = 0,
           Volume_Nordic108 = 0;
    double SharpnessZ_Nordic121 = 0, SharpnessA_Nordic121 = 0, TimbralWidth_Nordic121 = 0,
           Volume_Nordic121 = 0;
    double SpectDissS_Nordic108 = 0, SpectDissHK_Nordic108 = 0, SpectDissS_Nordic121 = 0,
           SpectDissHK_Nordic121 = 0;
    int NTones = 0;

    // Joint Nordic tone and roughness lists of one tone-pass block (entries 1..count; the 121-bin
    // counts stay 0) and the last candidate's 3 dB points, bandwidths and critical band (Hz).
    int NTones_Nordic108 = 0, NTones_Nordic121 = 0;
    int NRoughness_Nordic108 = 0, NRoughness_Nordic121 = 0;
    double Start3dBHz = 0, End3dBHz = 0, ToneBandWidth3dBHz = 0, RoughnessBandWidth3dBHz = 0,
           CriticalBandWidth_Nordic = 0;

    // Dominant tone and roughness of the tone pass: running maxima of the audibility (dB) over
    // every block, never reset; levels in dB, frequencies and bandwidths in Hz.
    int DominantToneCBStart = 0, DominantToneCBEnd = 0;
    double DominantToneStartCBHz = 0, DominantToneEndCBHz = 0, DominantToneHz = 0,
           DominantTone3dBBandwidth = 0, DominantToneLoudness = 0, DominantTone = 0,
           DominantToneMaskingNoise = 0;
    int DominantRoughnessCBStart = 0, DominantRoughnessCBEnd = 0;
    double DominantRoughnessStartCBHz = 0, DominantRoughnessEndCBHz = 0, DominantRoughnessHz = 0,
           DominantRoughness3dBBandwidth = 0, DominantRoughnessLoudness = 0, DominantRoughness = 0,
           DominantRoughnessMaskingNoise = 0;

    // Percentiles, energy sum of the recorded blocks and room-noise ratings read by the summary.
    double LA1 = 0, LA5 = 0, LA10 = 0, LA20 = 0, LA50 = 0, LA80 = 0, LA90 = 0;
    double No1 = 0, N5 = 0, N10 = 0, N20 = 0, N50 = 0, N80 = 0, N90 = 0;
    double DL10 = 0, DL20 = 0, DL50 = 0, DL80 = 0, DL90 = 0;
    double SumLArray = 0;  // sum of 10^(LA/10) over the blocks recorded for the percentiles
    double NC = 0, PNC = 0, SIL = 0, SILd = 0, RC = 0, NR = 0;  // SILd: distance, m
    std::string RCclass;

    // Weighted and band levels: A level of the block (dB); line intensity sums and levels (dB).
    double LA = 0, LA_Nordic108 = 0, LA_Nordic121 = 0;
    double Int_T = 0, IntA_T = 0, IntB_T = 0, IntC_T = 0;
    double SPL_T = 0, LA_T = 0, LB_T = 0, LC_T = 0, Centroid_T = 0;  // Centroid_T in Hz

    // Block spectrum and compact spectra: the block's sample series, its windowed form and FFT,
    // the interaural level difference (dB), correlation and lag (ms), the block's stream position
    // and hop (bytes), and the two compact spectra of the tone pass.
    std::array<int, SPECTRUM_SIZE> OneIn{};
    Spectrum RealInD{}, RealOut{}, ImagOut{};
    double DeltaL = 0, ICCC = 0, ICCClag = 0;
    std::int64_t StreamPositionOverlayStart = 0, StreamPositionOverlayAdjustment = 0;
    Compact CompactINewBins{}, DeepCompactINewBins{};
    // Line means: block results of the later steps that the line means add up.
    double Loudness = 0, SharpnessZ = 0, SharpnessA = 0, TimbralWidth = 0, Volume = 0;
    double SpectDissS = 0, SpectDissHK = 0, DissonanceS = 0, DissonanceHK = 0;
    double PureTonalness = 0, ComplexTonalness = 0, Multiplicity = 0;
    std::array<double, 13> ChromaSalience{};

    // Note-frequency table of the contour view: [note 1..12][octave column 1..11].
    FreqTable FreqArray{};
};

}  // namespace oxw::engine
