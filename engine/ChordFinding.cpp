#include "engine/ChordFinding.h"

#include <string>

#include "engine/Engine.h"

namespace oxw::engine {

// Rows 20 ("MPM") and 22 ("MAm") take their roots where their templates put them: row 20's
// strong values 1, 5, 8 (and 0) are root, major third, fifth (and major seventh) of value 1; row
// 22's 4, 8, 0, 2 are root, major third, augmented fifth and minor seventh of value 4.
const std::array<ChordTemplate, 27> kChordTemplates = {{
    {"___", 0, {2.28, 0, 0.05, 0, 0, 0.35, 0, 0, 0.19, 0, 0.03, 0}},
    {"__M", 1, {1.44, 1.37, 0.03, 0.03, 0, 0.22, 0.21, 0, 0.13, 0.12, 0.03, 0.02}},
    {"__m", 2, {1.43, 0, 1.53, 0, 0.03, 0.18, 0, 0.18, 0.11, 0, 0.21, 0}},
    {"m__", 0, {1.38, 0.02, 0.03, 1.42, 0, 0.4, 0, 0, 0.66, 0, 0.02, 0.12}},
    {"M__", 0, {1.68, 0, 0.09, 0, 1.09, 0.16, 0.02, 0, 0.09, 0.17, 0.02, 0}},
    {"_P_", 5, {0.95, 0.09, 0.02, 0.02, 0, 1.82, 0, 0.02, 0.08, 0, 0.25, 0}},
    {"_d_", 6, {1.46, 0, 0.31, 0, 0.03, 0.23, 1.51, 0, 0.29, 0, 0.02, 0.23}},
    {"M_M", 1, {0.45, 0.82, 0.01, 0.05, 0, 1.62, 0.06, 0.02, 0.04, 0.04, 0.24, 0.01}},
    {"_PM", 5, {1.48, 0.04, 0.06, 0.01, 0.48, 1.1, 0.01, 0.01, 0.1, 0.07, 0.15, 0}},
    {"m_m", 2, {0.79, 0.08, 0.72, 0.01, 0.01, 1.45, 0, 0.18, 0.06, 0, 0.46, 0}},
    {"_Pm", 5, {0.77, 0.11, 0.02, 0.68, 0, 1.46, 0, 0.01, 0.3, 0, 0.17, 0.05}},
    {"M_m", 2, {0.82, 0, 1.34, 0, 0.06, 0.1, 0.95, 0.1, 0.16, 0, 0.12, 0.15}},
    {"_dm", 6, {1.37, 0, 0.26, 0, 0.81, 0.14, 0.86, 0, 0.17, 0.1, 0.02, 0.1}},
    {"SP_", 7, {1.35, 0, 0.68, 0.08, 0.01, 0.17, 0, 1.39, 0.05, 0.02, 0.1, 0}},
    {"md_", 0, {1.08, 0.02, 0.23, 0.93, 0.02, 0.31, 1.11, 0, 0.71, 0, 0.02, 0.49}},
    {"mP_", 0, {1.34, 0.01, 0.02, 1.09, 0, 0.32, 0, 0.79, 0.32, 0.02, 0.01, 0.06}},
    {"MP_", 0, {1.62, 0, 0.05, 0.05, 0.55, 0.17, 0.01, 0.58, 0.06, 0.16, 0.01, 0}},
    {"MA_", 8, {1.22, 0.12, 0.07, 0, 1.24, 0.12, 0.07, 0, 1.26, 0.12, 0.06, 0}},
    {"mPM", 1, {0.65, 0.77, 0.04, 0.01, 1.17, 0.05, 0.21, 0, 1.12, 0.24, 0.05, 0.01}},
    {"MPM", 1, {0.33, 1.16, 0.01, 0.04, 0.06, 1.08, 0.1, 0.02, 0.94, 0.03, 0.27, 0.01}},
    {"SPm", 7, {1.11, 0.04, 0.57, 0.1, 0.01, 1.05, 0, 1.11, 0.05, 0.01, 0.31, 0}},
    {"MAm", 4, {0.96, 0.12, 0.63, 0, 1.09, 0.08, 0.05, 0.06, 1.13, 0.08, 0.18, 0}},
    {"Mdm", 2, {0.67, 0.09, 1.11, 0, 0.2, 0.09, 0.73, 0.08, 1.11, 0, 0.19, 0.09}},
    {"mPm", 5, {0.51, 0.3, 0.01, 0.47, 0.05, 0.92, 0.01, 0.01, 1.28, 0, 0.19, 0.04}},
    {"mdm", 2, {0.62, 0.31, 0.61, 0.01, 0.13, 1.1, 0.01, 0.15, 1.01, 0, 0.54, 0}},
    {"MPm", 8, {0.51, 0.12, 0.09, 0.47, 0.08, 0.15, 0.49, 0, 1.38, 0, 0.04, 0.2}},
    {"mdd", 6, {0.83, 0.02, 0.61, 0.86, 0.02, 0.61, 0.88, 0.02, 0.61, 0.87, 0.02, 0.62}},
}};

TranspositionFit ChordProfile(const ChromaProfile& w, ProfileSums x, const Chroma& chromata) {
    return BestTransposition(w, SumsOf(w.data()), chromata, x, 0.0);
}

void Engine::FindChord(const std::array<double, 13>& chromata, std::string& chord, double& R2) {
    Log("S", "FindChord");
    double r = 0;
    int root = 0;
    const char* intervals = "";
    const ProfileSums x = SumsOf(chromata.data());
    for (const ChordTemplate& row : kChordTemplates) {
        Log("S", "ChordProfile");
        const TranspositionFit fit = ChordProfile(row.w, x, chromata);
        Log("E", "ChordProfile");
        if (fit.t >= 0 && fit.r > r) {
            r = fit.r;
            root = (fit.t + row.offset) % 12;
            intervals = row.code;
        }
    }
    chord.assign(NoteName(root)).append(intervals);
    R2 = r * r;
    Log("E", "FindChord");
}

}  // namespace oxw::engine
