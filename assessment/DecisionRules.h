#pragma once
// The intrusive-noise rating of the decision-support window: the listener's overall noise
// sensitivity (ns, 0..3), the LAeq of the last analysed sound (L, dB(A)) and its night-time
// modified unbiased annoyance (U), with answer flags of the questionnaire, give up to four
// outcome sentences. No Qt: the window reads its carriers into `DecisionInputs` and shows the
// outcome.

#include <optional>

namespace oxw::assessment {

struct DecisionInputs {
    // nullopt: the carrier holds "not available" (or no number).
    std::optional<double> ns, L, U;
    // Noise in the environment a problem "Sometimes" / "Often".
    bool LE24 = false, LE25 = false;
    // Neighbourhood "Very Quiet" / "Quiet" / "Moderately noisy".
    bool LE26 = false, LE27 = false, LE28 = false;
    // Disturbed or annoyed at home "No" / "Not Often".
    bool LE31 = false, LE32 = false;
    // The sound is "repetitive" / "annoying".
    bool SC76 = false, SC78 = false;
};

// Each sentence is null when its rule gives none; the window hides that label.
struct DecisionOutcome {
    const char* NoiseSensitivity = nullptr;
    const char* SoundscapeAndAmenity = nullptr;
    const char* Amenity = nullptr;
    const char* AdverseEffects = nullptr;
    bool Line20 = false;  // better-than-average soundscape found
    bool Line25 = false;  // average soundscape found
    // The error text shows when neither ns nor L is a number; the ratings when either is.
    bool ErrorCondition = false;
    bool RatingOutcome = false;
};

// Every evaluation starts afresh: nothing of an earlier one carries over. The adverse-effect
// rules that bound L hold only when L is a number.
DecisionOutcome RateIntrusiveNoise(const DecisionInputs& in);

}  // namespace oxw::assessment
