#pragma once
// TScaleProps: the settings of one axis of a chart layer: range, smallest span, linear or
// logarithmic, caption, visibility. Every setter ends by notifying the owning chart, which
// takes the new settings into its scaling and repaints.

#include <QString>

#include <functional>

class TScaleProps {
public:
    using TNotifyEvent = std::function<void()>;

    TScaleProps() = default;
    TScaleProps(const TScaleProps&) = delete;
    TScaleProps& operator=(const TScaleProps&) = delete;

    double RangeLow() const { return FRangeLow; }
    double RangeHigh() const { return FRangeHigh; }
    // The smallest span the axis keeps between its two ends (default 1e-10).
    double MinRange() const { return FMinRngDiff; }
    bool Logarithmic() const { return FLogAx; }
    const QString& Caption() const { return FCaption; }
    bool Visible() const { return FVisible; }
    int MinTicks() const { return FMinTicks; }

    // Sets the low end. When it comes closer than MinRange to the high end, the high end moves
    // to low + MinRange. On a logarithmic axis a value below 1e-100 is ignored. A low end above
    // the high end is accepted (a reversed axis).
    void SetRangeLow(double value);
    // The mirror of SetRangeLow: too close moves the low end to high - MinRange.
    void SetRangeHigh(double value);
    // Values of 1e-100 or less are ignored; a span below the new minimum is widened
    // symmetrically about its midpoint.
    void SetMinRange(double value);
    // Switching on succeeds only when both ends are at least 1e-100.
    void SetLogarithmic(bool on);
    void SetCaption(const QString& caption);
    void SetVisible(bool visible);
    void SetMinTicks(int ticks);

    void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }

private:
    void Changed() const
    {
        if (FOnChange) FOnChange();
    }

    double FRangeLow = 0.0;
    double FRangeHigh = 1.0;
    double FMinRngDiff = 1e-10;
    bool FLogAx = false;
    bool FVisible = false;
    int FMinTicks = 3;
    QString FCaption;
    TNotifyEvent FOnChange;
};
