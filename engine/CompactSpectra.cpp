// Compact spectra: the block's intensity spectrum summed into the 108 bins of the first pass
// (CompactI) and into the 108 and 121 bins of the tone pass (CompactINewBins,
// DeepCompactINewBins). Every bin holds the lines that lie between the edges half-way to its
// neighbouring centre frequencies, so a bin's contents agree with the centre frequency that
// labels it; the line-to-bin maps are built once per block length.
#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>

#include "engine/Convert.h"
#include "engine/SpectrumWork.h"
#include "numeric/NumberFormat.h"

namespace oxw::engine {

namespace {
constexpr int kFirstBandLine = 42;  // lines below are bins of their own at 4096 points

int BinCount(const std::string& text) { return std::clamp(StrToInt(text), 0, COMPACT_SIZE - 1); }

// The sum of a bin being added to, kept in a register while the lines stay in the bin.
struct BinSum {
    Compact& sums;
    int bin = 0;
    double sum = 0;
    void Add(int b, double value) {
        if (b == 0) return;
        if (b != bin) {
            Flush();
            bin = b;
            sum = sums[static_cast<std::size_t>(b)];
        }
        sum += value;
    }
    void Flush() {
        if (bin != 0) sums[static_cast<std::size_t>(bin)] = sum;
    }
};

// Adds Intensity[l], l = 1..half, to the sum of its bin in each map (none for bin 0), line
// after line: the same additions in the same order as through the arrays, without a store and
// load between those of one bin, and the two maps' additions side by side.
void AddToBins(const std::vector<int>& binsA, Compact& sumsA, const std::vector<int>& binsB,
               Compact& sumsB, const Spectrum& intensity, int half) {
    BinSum a{sumsA}, b{sumsB};
    for (int l = 1; l <= half; ++l) {
        const auto li = static_cast<std::size_t>(l);
        a.Add(binsA[li], intensity[li]);
        b.Add(binsB[li], intensity[li]);
    }
    a.Flush();
    b.Flush();
}

char* PutText(char* out, std::string_view text) {
    return std::copy(text.begin(), text.end(), out);
}
}  // namespace

const std::vector<int>& LineBinMap::For(int points, double rate, const Compact& low,
                                        const Compact& high, int count) {
    if (points == points_ && rate == rate_ && count == count_ && low == low_ && high == high_)
        return bin_;
    points_ = points;
    rate_ = rate;
    count_ = count;
    low_ = low;
    high_ = high;
    bin_.assign(static_cast<std::size_t>(points / 2 + 1), 0);
    for (int line = 1; line <= points / 2; ++line) {
        const double f = LineHz(line, rate, points);
        for (int b = 1; b <= count; ++b) {
            if (low[b] < f && f <= high[b]) {
                bin_[static_cast<std::size_t>(line)] = b;
                break;
            }
        }
    }
    return bin_;
}

void Engine::CompressSpectrum() {
    RunState& s = S();
    Log("S", "CompressSpectrum");
    const int n = std::clamp(s.DravolekSizeOfCompactSpectrum, 0, COMPACT_SIZE - 1);
    Log("D", " Calculate CompactI " + std::to_string(s.DravolekSizeOfCompactSpectrum) +
                 " elements) using Intensity");
    const int half = std::min(s.POINTS / 2, SPECTRUM_SIZE - 1);
    const std::vector<int>& bin = Work().pass1Bins.For(2 * half, SR, s.CompactIBinLowBandFreqs,
                                                       s.CompactIBinHighBandFreqs, n);
    std::fill_n(s.CompactI.begin() + 1, n, 0.0);
    // The array-file lines go to the log in batches of about 16 kB, each line ended by '\n'.
    // A line: the longest opening, two integers, two separators, the value and the end.
    constexpr std::size_t kBatchBytes = std::size_t{1} << 14;
    constexpr std::size_t kLineRoom = 40 + 2 * 12 + 2 * 2 + numeric::kFloatToStrRoom + 1;
    std::string& batch = Work().auditLines;
    batch.resize(kBatchBytes + kLineRoom);
    char* const first = batch.data();
    char* p = first;
    const auto handOver = [&] {
        Host().CreateAuditLogLines("M2", std::string_view(first, static_cast<std::size_t>(p - first)));
        p = first;
    };
    // "<line>, <bin>, " of the lines of one bin, written when the bin changes.
    char middle[2 * 12 + 2 * 2];
    std::string_view middleText;
    int middleBin = 0;
    int previous = 0;
    for (int i = 1; i <= half; ++i) {
        const int b = bin[static_cast<std::size_t>(i)];
        if (b == 0) continue;
        s.CompactI[b] += s.Intensity[i];
        if (i >= kFirstBandLine) {
            // One array-file line per line summed into a band: the first line of a bin opens it.
            if (b != middleBin) {
                char* m = PutText(std::to_chars(middle, middle + 12, s.CountLine).ptr, ", ");
                m = PutText(std::to_chars(m, m + 12, b).ptr, ", ");
                middleText = std::string_view(middle, static_cast<std::size_t>(m - middle));
                middleBin = b;
            }
            p = PutText(p, b == previous ? "Below upper range CompactI, "
                                         : "Above lower range < 66 CompactI, ");
            p = PutText(p, middleText);
            p = numeric::writeFloatToStr(p, s.CompactI[b]);
            *p++ = '\n';
            if (static_cast<std::size_t>(p - first) >= kBatchBytes) handOver();
        }
        previous = b;
    }
    if (p != first) handOver();
    Log("M2", "End of array data");
    Log("M2", "Now list all CompactI values ************************************");
    Log("E", "CompressSpectrum");
}

void Engine::NordicCompressSpectrum() {
    RunState& s = S();
    Log("S", "NordicCompressSpectrum");
    Log("D", " NordicCompressSpectrum Calculate CompactI " +
                 std::to_string(s.DravolekSizeOfCompactSpectrum) + " elements using Intensity");
    s.CompactI.fill(0.0);
    s.CompactINewBins.fill(0.0);
    s.DeepCompactINewBins.fill(0.0);
    const int half = std::min(s.POINTS / 2, SPECTRUM_SIZE - 1);
    const double rate = s.SoundFileSampleRate;
    SpectrumWork& w = Work();
    const std::vector<int>& deep = w.nordic121Bins.For(
        2 * half, rate, s.DeepCompactIBinLowBandFreqs, s.DeepCompactIBinHighBandFreqs,
        BinCount(host_.GetText("QualityBinCount")));
    const std::vector<int>& bins108 =
        w.nordic108Bins.For(2 * half, rate, s.CompactIBinLowBandFreqs, s.CompactIBinHighBandFreqs,
                            BinCount(host_.GetText("MusicBinCount")));
    AddToBins(deep, s.DeepCompactINewBins, bins108, s.CompactINewBins, s.Intensity, half);
    Log("E", "NordicCompressSpectrum");
}

}  // namespace oxw::engine
