#include "engine/HearingWork.h"

#include <algorithm>

#include "engine/Convert.h"

namespace oxw::engine {

namespace {

int Bins(int n) { return std::clamp(n, 0, COMPACT_SIZE - 1); }

// The result arrays of the run with room for the set's bins and the ERB grid (sized by the run
// reset; a state that skipped it gets the room on its first block).
void MakeRoom(HearingSet& set) {
    auto room = [](std::vector<double>& v, int last) {
        const auto size = static_cast<std::size_t>(last) + 1;
        if (v.size() < size) v.resize(size);
    };
    room(*set.RoexL, set.n);
    room(*set.SpecLoud, SPECLOUD_LAST);
}

}  // namespace

Engine::HearingWork::HearingWork(RunState& s)
    : sets{HearingSet{"", "CalculateSpectDiss 6347 Nordic fCBW, ", &s.CompactF, &s.CompactI,
                      &s.CompL, &s.CompInt, &s.RoexL, &s.Esig, &s.SpecLoud, &s.Loudness,
                      &s.Nmax_T, &s.SharpnessZ, &s.SharpnessA, &s.TimbralWidth, &s.Volume,
                      &s.SpectDissS, &s.SpectDissHK},
           HearingSet{"_Nordic108", "CalculateSpectDiss 6417 Nordic fCBW, ",
                      &s.CompactF_Nordic108, &s.CompactINewBins, &s.CompL_Nordic108,
                      &s.CompInt_Nordic108, &s.RoexL_Nordic108, &s.Esig_Nordic108,
                      &s.SpecLoud_Nordic108, &s.Loudness_Nordic108, &s.Nmax_T_Nordic108,
                      &s.SharpnessZ_Nordic108, &s.SharpnessA_Nordic108,
                      &s.TimbralWidth_Nordic108, &s.Volume_Nordic108, &s.SpectDissS_Nordic108,
                      &s.SpectDissHK_Nordic108},
           HearingSet{"_Nordic121", "CalculateSpectDiss 6476 Nordic fCBW, ",
                      &s.CompactF_Nordic121, &s.DeepCompactINewBins, &s.CompL_Nordic121,
                      &s.CompInt_Nordic121, &s.RoexL_Nordic121, &s.Esig_Nordic121,
                      &s.SpecLoud_Nordic121, &s.Loudness_Nordic121, &s.Nmax_T_Nordic121,
                      &s.SharpnessZ_Nordic121, &s.SharpnessA_Nordic121,
                      &s.TimbralWidth_Nordic121, &s.Volume_Nordic121, &s.SpectDissS_Nordic121,
                      &s.SpectDissHK_Nordic121}} {}

Engine::HearingWork& Engine::Hearing() {
    if (!hearingWork_) hearingWork_ = std::make_shared<HearingWork>(S());
    return *hearingWork_;
}

std::span<HearingSet> Engine::HearingWork::Sets(Engine& e) {
    const std::string mode = e.Host().GetText("CurrentProcessingMode");
    std::span<HearingSet> active;
    if (mode == "Standard") {
        sets[0].n = Bins(e.S().DravolekSizeOfCompactSpectrum);
        active = {sets.data(), 1};
    } else if (mode == "Extended") {
        sets[1].n = Bins(StrToInt(e.Host().GetText("MusicBinCount")));
        sets[2].n = Bins(StrToInt(e.Host().GetText("QualityBinCount")));
        active = {sets.data() + 1, 2};
    }
    for (HearingSet& set : active) MakeRoom(set);
    return active;
}

}  // namespace oxw::engine
