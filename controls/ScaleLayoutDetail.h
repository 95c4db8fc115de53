#pragma once
// Shared by the numeric and the time layouts of a scale (ScaleLayout.h); not for other users.
#include "controls/ScaleLayout.h"

namespace oxw::controls::detail {

// Relative tolerance at the ends of a range.
inline constexpr double QSave = 0.999999999;

// Ends a tick loop after 10000 candidates or when a candidate repeats the previous value.
class CandidateLimit {
public:
    bool Next(long double value)
    {
        if (++count_ > kMaxCandidates || (count_ > 1 && value == last_))
            return false;
        last_ = value;
        return true;
    }

private:
    static constexpr int kMaxCandidates = 10000;
    int count_ = 0;
    long double last_ = 0.0L;
};

// The numeric layouts.
void LinearLayout(const TScaleLayoutInput& in, TScaleLayout& out);
void LogLayout(const TScaleLayoutInput& in, TScaleLayout& out);
// The time-of-day layout; false (and nothing laid out) when it declines.
bool TimeLayout(const TScaleLayoutInput& in, TScaleLayout& out);
void DateTimeLayout(const TScaleLayoutInput& in, TScaleLayout& out);

}  // namespace oxw::controls::detail
