#include "engine/TonalComponents.h"

#include <algorithm>

#include "engine/Conversions.h"
#include "engine/HearingWork.h"

namespace oxw::engine {

namespace {

// Necessary conditions of the tests on the levels, checked on the intensities first (the level
// rises with the intensity, and no energy reads 0 dB like an intensity of 1). The margins lie
// far outside the rounding of the levels, so only the exact tests decide.
bool MayBeTone(const Spectrum& I, int i) {
    auto v = [&I](int k) {
        const double x = I[static_cast<std::size_t>(k)];
        return x > 0 ? x : 1.0;
    };
    constexpr double kNear = 1 - 1e-9;
    constexpr double kTen = 10 * kNear, kSix = 3.981071705534972 * kNear;  // 10 and 6 dB
    const double x = v(i);
    return x >= v(i - 1) && x >= kNear * v(i + 1) && x > kTen && x >= kSix * v(i - 3) &&
           x >= kSix * v(i - 2) && x >= kSix * v(i + 2) && x >= kSix * v(i + 3);
}

}  // namespace

int FindTonalComponents(const Spectrum& Intensity, int points, double* F, double* L, double* Ref,
                        int capacity) {
    if (points <= 0) return 0;
    auto dB = [&Intensity](int k) { return I2dB(Intensity[static_cast<std::size_t>(k)]); };
    int n = 0;
    for (int i = 4; i <= NCOMPS - 3 && n < capacity; ++i) {
        if (!MayBeTone(Intensity, i)) continue;
        const double Li = dB(i), below = dB(i - 1), above = dB(i + 1);
        if (!(Li > below && Li >= above && Li > 10.0)) continue;
        if (!(Li - dB(i - 3) >= 6.0 && Li - dB(i - 2) >= 6.0 && Li - dB(i + 2) >= 6.0 &&
              Li - dB(i + 3) >= 6.0))
            continue;
        ++n;
        // The product i x SR is a whole number; the division by the block length is not.
        F[n] = 0.46 * (above - below) +
               static_cast<double>(static_cast<long long>(i) * SR) / points;
        L[n] = Li + 1.6;
        Ref[n] = i;
    }
    return n;
}

int ListedTones(int count, std::initializer_list<const std::vector<double>*> arrays) {
    int room = MAXTONES - 1;
    for (const std::vector<double>* a : arrays)
        room = std::min(room, static_cast<int>(a->size()) - 1);
    return std::clamp(count, 0, std::max(room, 0));
}

void Engine::ExtractTonalComponents() {
    RunState& s = S();
    Log("S", "ExtractTonalComponents");
    Log("D", "ToneF, ToneL, ToneRef using Intensity");
    if (host_.GetText("CurrentProcessingMode") == "Standard") {
        const auto room = std::min({s.ToneF.size(), s.ToneL.size(), s.ToneRef.size()});
        const int capacity = std::clamp(static_cast<int>(room) - 1, 0, MAXTONES - 1);
        s.NTones = FindTonalComponents(s.Intensity, s.POINTS, s.ToneF.data(), s.ToneL.data(),
                                       s.ToneRef.data(), capacity);
    }
    std::string& line = Hearing().text;
    line.assign(" ExtractTonalComponents NTones value is ");
    line += std::to_string(s.NTones);
    Log("D", line);
    host_.Refresh();
    Log("E", "ExtractTonalComponents");
}

}  // namespace oxw::engine
