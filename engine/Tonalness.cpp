#include "engine/Tonalness.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "engine/Conversions.h"
#include "engine/Convert.h"
#include "engine/Engine.h"
#include "engine/HearingWork.h"
#include "numeric/NumberFormat.h"

namespace oxw::engine {

ChromaName NameOfPitch(double f, double aTune) { return NameOfPitch(f, aTune, LOG2(aTune)); }

ChromaName NameOfPitch(double f, double aTune, double log2ATune) {
    ChromaName n;
    // Fifty octaves up keep x positive, so that the truncation is a floor.
    const double x = LOG2(f) - log2ATune + 50.0;
    n.Pitch = 12.0 * (x - std::trunc(x));
    const auto nearest = RoundHalfEven(n.Pitch);
    const auto cents = RoundHalfEven(100.0 * (n.Pitch - static_cast<double>(nearest)));
    n.PlusMinus = cents < 0 ? '-' : '+';
    n.Cents = static_cast<int>(std::llabs(cents));
    n.Note = static_cast<int>(RoundHalfEven(12.0 * LOG2(f / aTune) + 48.0));
    // A pitch just below A counts as A, with a '-' deviation.
    if (nearest == 12) n.Pitch = 0.0;
    return n;
}

void Engine::FindChromaName(double f) {
    RunState& s = S();
    Log("S", "FindChromaName");
    HearingWork& work = Hearing();
    if (work.aTune != s.ATune) {
        work.aTune = s.ATune;
        work.log2ATune = LOG2(s.ATune);
    }
    const ChromaName n = NameOfPitch(f, s.ATune, work.log2ATune);
    s.Pitch = n.Pitch;
    s.Cents = n.Cents;
    s.PlusMinus = n.PlusMinus;
    s.Note = n.Note;
    Log("E", "FindChromaName");
}

void Engine::CalculateParncuttMeasures() {
    RunState& s = S();
    Log("S", "CalculateParncuttMeasures");
    Log("D", " Calculate Salience using CompoundWeight");
    const int n = std::min({s.PitchCount, static_cast<int>(s.CompoundWeight.size()) - 1,
                            static_cast<int>(s.Compoundsv.size()) - 1,
                            static_cast<int>(s.Salience.size()) - 1});
    double ptsum = 0, multsum = 0;
    s.ComplexTonalness = 0;
    for (int i = 1; i <= n; ++i) {
        const double w = s.CompoundWeight[static_cast<std::size_t>(i)];
        ptsum += w * w;
        multsum += w;
        if (s.Compoundsv[static_cast<std::size_t>(i)] == 'v' && w / 6.2 > s.ComplexTonalness)
            s.ComplexTonalness = w / 6.2;
    }
    // Every pattern weight is at least 0.1, so the heaviest and the sum are positive.
    const double first = n >= 1 ? s.CompoundWeight[1] : 0.0;
    const bool weighed = first > 0 && multsum > 0;
    s.PureTonalness = std::sqrt(ptsum / 5.2);
    s.Multiplicity = weighed ? std::sqrt(multsum / first) : 0.0;
    const double norm = weighed ? std::sqrt(first * multsum) : 0.0;
    for (int i = 1; i <= n; ++i) {
        const auto k = static_cast<std::size_t>(i);
        s.Salience[k] = weighed ? s.CompoundWeight[k] / norm : 0.0;
    }
    Log("E", "CalculateParncuttMeasures");
    std::string& line = Hearing().text;
    line.assign(
        "CalculateParncuttMeasures ptsum, multsum, ComplexTonalness, PureTonalness, "
        "Multiplicity ");
    bool firstValue = true;
    for (double v : {ptsum, multsum, s.ComplexTonalness, s.PureTonalness, s.Multiplicity}) {
        if (!firstValue) line += ", ";
        firstValue = false;
        numeric::appendFloatToStr(line, v);
    }
    Log("D", line);
}

void Engine::TallyChromaAndPitch() {
    RunState& s = S();
    Log("S", "TallyChromaAndPitch");
    Log("D", " Calculate ChromaSalience, PitchSalience using Salience");
    std::fill(s.ChromaSalience.begin(), s.ChromaSalience.begin() + 12, 0.0);
    if (s.PitchSalience.size() < 88) s.PitchSalience.resize(88);
    std::fill(s.PitchSalience.begin(), s.PitchSalience.begin() + 88, 0.0);
    const int n = std::min({s.PitchCount, static_cast<int>(s.CompoundPitch.size()) - 1,
                            static_cast<int>(s.Salience.size()) - 1});
    auto key = [&s](int k, double share) {
        if (k >= 0 && k <= 87) s.PitchSalience[static_cast<std::size_t>(k)] += share;
    };
    for (int i = 1; i <= n; ++i) {
        FindChromaName(s.CompoundPitch[static_cast<std::size_t>(i)]);
        const auto c = static_cast<int>(RoundHalfEven(s.Pitch));
        const double salience = s.Salience[static_cast<std::size_t>(i)];
        const double nearest = (100 - s.Cents) * salience / 100.0;
        s.ChromaSalience[static_cast<std::size_t>(c)] += nearest;
        key(s.Note, nearest);
        if (s.Cents == 0) continue;
        // The neighbour's share goes to a key only when the nearest key is among the 88 too.
        const double neighbour = s.Cents * salience / 100.0;
        const int step = s.PlusMinus == '+' ? 1 : -1;
        s.ChromaSalience[static_cast<std::size_t>((c + 12 + step) % 12)] += neighbour;
        if (s.Note >= 0 && s.Note <= 87) key(s.Note + step, neighbour);
    }
    Log("E", "TallyChromaAndPitch");
}

}  // namespace oxw::engine
