#include "assessment/DecisionRules.h"

namespace oxw::assessment {

namespace {

const char* NoiseSensitivitySentence(double ns)
{
    if (ns < 1.11) return "Less than average Personal Noise Sensitivity";
    if (ns <= 1.63) return "Average Personal Noise Sensitivity";
    return "More than average Personal Noise Sensitivity";
}

void RateSoundscape(double L, const DecisionInputs& in, DecisionOutcome& out)
{
    if (L < 35 && in.LE24 && in.LE25) {
        out.Line20 = true;
        out.SoundscapeAndAmenity = "Better than average soundscape and amenity";
    }
    if (L >= 35 && L <= 55 && in.LE26) {
        out.Line25 = true;
        out.SoundscapeAndAmenity = "Average soundscape and amenity";
    }
    if (L > 55 && in.LE27 && in.LE28) out.SoundscapeAndAmenity = "Less than average soundscape and amenity";
}

const char* AmenitySentence(double U)
{
    if (U < 50) return "Better than average amenity";
    if (U <= 100) return "Average amenity";
    return "Less than average amenity";
}

// The rules in turn; a later match overwrites an earlier one.
const char* AdverseEffectSentence(double U, const DecisionInputs& in, const DecisionOutcome& out)
{
    const char* sentence = nullptr;
    const bool middleL = in.L && *in.L >= 35 && *in.L <= 55;
    const bool loudL = in.L && *in.L >= 55;
    if (U < 50 && out.Line20) sentence = "No adverse effect expected";
    if (U < 50 && in.LE31 && in.SC76 && out.Line25) sentence = "Minor adverse effect";
    if (U >= 50 && U <= 100 && in.LE31 && in.SC76 && in.SC78 && middleL)
        sentence = "Adverse effects more than minor";
    if (U > 100 && in.LE32 && in.SC76 && in.SC78 && middleL) sentence = "Nuisance adverse effect expected";
    if (U > 100 && in.LE32 && in.SC76 && in.SC78 && loudL) sentence = "Significant adverse effect";
    return sentence;
}

}  // namespace

DecisionOutcome RateIntrusiveNoise(const DecisionInputs& in)
{
    DecisionOutcome out;
    if (in.ns) out.NoiseSensitivity = NoiseSensitivitySentence(*in.ns);
    if (in.L) RateSoundscape(*in.L, in, out);
    if (in.U) {
        out.Amenity = AmenitySentence(*in.U);
        out.AdverseEffects = AdverseEffectSentence(*in.U, in, out);
    }
    out.RatingOutcome = in.ns.has_value() || in.L.has_value();
    out.ErrorCondition = !out.RatingOutcome;
    return out;
}

}  // namespace oxw::assessment
