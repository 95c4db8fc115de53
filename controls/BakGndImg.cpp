// The background of a chart's data area; see BakGndImg.h.
#include "controls/BakGndImg.h"

#include <QFileInfo>

namespace {
QString WithoutFolder(const QString& path) { return path.isEmpty() ? path : QFileInfo(path).fileName(); }
}  // namespace

void TBakGndImg::SetName(const QString& name)
{
    FName = FIncldPath ? name : WithoutFolder(name);
    Changed();
}

void TBakGndImg::SetIncludePath(bool on)
{
    FIncldPath = on;
    if (!on)
        FName = WithoutFolder(FName);
    Changed();
}

void TBakGndImg::SetFillMode(TBkgFill m) { FFillMode = m; Changed(); }
void TBakGndImg::SetAreaMode(TBGAreaMode m) { FBGAreaMode = m; Changed(); }
void TBakGndImg::SetAreaColor(TColor c) { FBGAreaColor = c; Changed(); }
void TBakGndImg::SetAreaLeft(double v) { FBGAreaLeft = v; Changed(); }
void TBakGndImg::SetAreaRight(double v) { FBGAreaRight = v; Changed(); }
void TBakGndImg::SetAreaTop(double v) { FBGAreaTop = v; Changed(); }
void TBakGndImg::SetAreaBottom(double v) { FBGAreaBottom = v; Changed(); }

void TBakGndImg::Assign(const TBakGndImg& source)
{
    FName = source.FName;
    FIncldPath = source.FIncldPath;
    FFillMode = source.FFillMode;
    FBGAreaMode = source.FBGAreaMode;
    FBGAreaColor = source.FBGAreaColor;
    FBGAreaLeft = source.FBGAreaLeft;
    FBGAreaRight = source.FBGAreaRight;
    FBGAreaTop = source.FBGAreaTop;
    FBGAreaBottom = source.FBGAreaBottom;
    Changed();
}
