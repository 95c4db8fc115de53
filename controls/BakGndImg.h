#pragma once
// TBakGndImg: the background of a chart's data area: a picture file (stretched, tiled or at its
// own size), or the chart colour with one area of it (left of, right of, above, below or between
// world positions of layer 1) in AreaColor. Every setter stores and fires OnChange.
#include <QString>

#include "controls/ChartSettings.h"
#include "controls/RChartTypes.h"

class TBakGndImg {
public:
    virtual ~TBakGndImg() = default;

    // File of the picture; empty: none. Without IncludePath only the file-name part is kept.
    const QString& Name() const { return FName; }
    void SetName(const QString& name);
    bool IncludePath() const { return FIncldPath; }
    // Switching it off also strips the folder from the current name.
    void SetIncludePath(bool on);
    TBkgFill FillMode() const { return FFillMode; }
    void SetFillMode(TBkgFill m);
    TBGAreaMode AreaMode() const { return FBGAreaMode; }
    void SetAreaMode(TBGAreaMode m);
    TColor AreaColor() const { return FBGAreaColor; }
    void SetAreaColor(TColor c);
    double AreaLeft() const { return FBGAreaLeft; }
    void SetAreaLeft(double v);
    double AreaRight() const { return FBGAreaRight; }
    void SetAreaRight(double v);
    double AreaTop() const { return FBGAreaTop; }
    void SetAreaTop(double v);
    double AreaBottom() const { return FBGAreaBottom; }
    void SetAreaBottom(double v);

    // Takes every setting of `source` (the name as it stands there) and fires OnChange once.
    void Assign(const TBakGndImg& source);

    TChangeEvent OnChange;

private:
    void Changed() const
    {
        if (OnChange)
            OnChange();
    }

    QString FName;
    bool FIncldPath = false;
    TBkgFill FFillMode = bfStretch;
    TBGAreaMode FBGAreaMode = bamNone;
    TColor FBGAreaColor = 0xDDDDDD;
    double FBGAreaLeft = -1.0;
    double FBGAreaRight = 1.0;
    double FBGAreaTop = 1.0;
    double FBGAreaBottom = -1.0;
};
