#include "app/report/SummaryReport.h"

#include <cmath>
#include <limits>

#include "app/report/OutputFiles.h"
#include "app/report/SummaryParts.h"
#include "engine/Convert.h"
#include "numeric/FMath.h"
#include "numeric/NumberFormat.h"

namespace oxw::report {

namespace summary {

std::string Text(std::string_view text, int width) {
    const auto n = static_cast<std::string_view::size_type>(width < 0 ? 0 : width);
    std::string out(text.size() < n ? n - text.size() : 0, ' ');
    return out.append(text);
}

std::string Rounded(double x, int width) {
    if (!std::isfinite(x) || std::fabs(x) >= 9.0e18) return numeric::fixedField(x, width, 0);
    return numeric::intField(engine::RoundHalfEven(x), width);
}

double At(const std::vector<double>& a, int i) {
    return (i >= 0 && static_cast<std::size_t>(i) < a.size()) ? a[static_cast<std::size_t>(i)]
                                                              : 0.0;
}

}  // namespace summary

namespace {

// Unbiased annoyance with the day (1.0) or night (3.84) factor d.
double UnbiasedAnnoyance(const engine::RunState& s, double d) {
    const double n10 = s.N10;
    return d * fmath::Power(n10, 1.3) *
           (1.0 + 0.25 * (s.SharpnessA_S - 1.0) * fmath::Log10(n10 + 10.0) +
            0.3 * s.DissonanceS_S * (1.0 + n10) / (0.3 + n10));
}

double EquivalentLevel(const engine::RunState& s) {
    const bool recorded = s.Elements > engine::MINDECILE && s.Elements < s.PERCENTILEARRAYMAX;
    if (!recorded || !(s.SumLArray > 0.0)) return std::numeric_limits<double>::quiet_NaN();
    return 10.0 * fmath::Log10(s.SumLArray / s.Elements);
}

}  // namespace

SummaryValues ComputeSummaryValues(const engine::RunState& s) {
    SummaryValues v;
    const double sharp = s.SharpnessA_S, sdiss = s.SpectDissS_S, tdiss = s.DissonanceS_S;
    const double n5 = s.N5;
    const double common =
        std::exp(-1.08 * sharp) * std::exp(-0.7 * sdiss) * std::exp(-(0.023 * n5) * (0.023 * n5));
    v.SensoryPleasantness_dT = 100.0 * (1.24 - std::exp(-0.486)) * common;
    v.SensoryPleasantness_TDissS = 100.0 * (1.24 - std::exp(-2.43 * tdiss)) * common;
    const double wS = fmath::Log10(n5 + 10.0) * (sharp - 1.75) * 0.25;
    const double wFR = 2.18 * (0.4 * tdiss + 0.6 * sdiss) / fmath::Power(n5, 0.4);
    // Without loudness there is no annoyance: N5 (1 + sqrt(wS^2 + wFR^2)) tends to 0 with N5,
    // although wFR alone grows without bound (and is 0 / 0 when the dissonances are 0 too).
    v.PsychAnnoy = n5 > 0 ? n5 * (1.0 + std::sqrt(wS * wS + wFR * wFR)) : 0.0;
    v.UBA_M_Day = UnbiasedAnnoyance(s, 1.0);
    v.UBA_M_Night = UnbiasedAnnoyance(s, 3.84);
    v.OverallLEQ_dBA = EquivalentLevel(s);
    return v;
}

std::optional<SummaryValues> OutputSummary(const engine::RunState& s, engine::RunHost& host,
                                           OutputFiles& files, const FftRadios& radios) {
    host.CreateAuditLog("S", "OutputSummary");
    std::optional<SummaryValues> result;
    TextFile& out = files.DravolekSummaryFile;
    if (host.GetText("CurrentProcessingMode") == "Extended") {
        summary::WriteNordicBlock(files);
    } else {
        result = ComputeSummaryValues(s);
        summary::WriteFirstHalf(out, s, host, radios, *result);
        summary::WriteTables(out, s);
        const bool copied = summary::CopyTimeSeries(files, host);
        summary::WriteTimeHistory(files);
        out.WriteLine("End Of Summary File");
        // The level, loudness and pitch files go only once the whole report is on its way to
        // the disk; a report cut short (a full disk) leaves them in place.
        if (copied && out.IsOpen() && out.Flush()) summary::DeleteTimeSeries(files);
    }
    // Every file of the run is handed to the system at the end of a pass, so that a file that
    // cannot be written (an array file, flushed nowhere else) ends the run, not the exit.
    files.FlushAll();
    files.CheckWrites();
    host.CreateAuditLog("E", "OutputSummary");
    return result;
}

}  // namespace oxw::report
