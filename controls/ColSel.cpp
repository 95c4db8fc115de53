// TColSel: the colour selector; see ColSel.h.
#include "controls/ColSel.h"

#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QStylePainter>

#include <cmath>
#include <optional>

#include "controls/ColorTable.h"
#include "platform/Canvas.h"
#include "platform/Dialogs.h"

using oxw::platform::Canvas;

namespace {

// The value colours are compared by: the current RGB value of a system colour, any other
// colour as it is (so clNone and clDefault match no ordinary colour).
TColor MatchValue(TColor c) { return (c & clSystemColor) != 0 ? FromQColor(ToQColor(c)) : c; }

// The list entries drawn by the selector itself.
class ColSelDelegate : public QStyledItemDelegate {
public:
    explicit ColSelDelegate(TColSel* owner) : QStyledItemDelegate(owner), owner_(owner) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (option.state & QStyle::State_Selected)
            painter->fillRect(option.rect, option.palette.highlight());
        else
            painter->fillRect(option.rect, ToQColor(clWindow));
        QImage picture = owner_->ItemImage(index.row(), option.rect.size());
        painter->drawImage(option.rect.topLeft(), picture);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& /*index*/) const override
    {
        return {owner_->width(), option.fontMetrics.height() + 4};
    }

private:
    TColSel* owner_;
};

}  // namespace

TColSel::TColSel(QWidget* parent) : QComboBox(parent)
{
    for (int i = 1; i <= MaxColors; ++i) {
        const auto ix = static_cast<std::size_t>(i);
        FColors[ix] = PredefinedColor(i);
        FColorNames[ix] = QString::fromStdString(ColorToString(FColors[ix]));
    }
    setItemDelegate(new ColSelDelegate(this));
    setMouseTracking(true);
    connect(this, &QComboBox::activated, this, &TColSel::Click);
    LoadColorsIntoComboList();
}

TColor TColSel::Colors(int ix) const
{
    return ix >= 1 && ix <= MaxColors ? FColors[static_cast<std::size_t>(ix)] : clBlack;
}

QString TColSel::ColorNames(int ix) const
{
    return ix >= 1 && ix <= MaxColors ? FColorNames[static_cast<std::size_t>(ix)] : QString();
}

void TColSel::LoadColorsIntoComboList()
{
    clear();
    for (int i = 1; i <= FNumColors; ++i)
        addItem(FColorNames[static_cast<std::size_t>(i)]);
    setCurrentIndex(FSelColorIx - 1);
}

void TColSel::SetSelColor(TColor c)
{
    const TColor wanted = MatchValue(c);
    for (int i = 1; i <= FNumColors; ++i) {
        const auto ix = static_cast<std::size_t>(i);
        if (MatchValue(FColors[ix]) == wanted) {
            FSelColorIx = i;
            FColorNames[ix] = QString::fromStdString(ColorToString(FColors[ix]));
            setItemText(i - 1, FColorNames[ix]);
            setCurrentIndex(i - 1);
            update();
            return;
        }
    }
    const auto sel = static_cast<std::size_t>(FSelColorIx);
    FColors[sel] = c;
    FColorNames[sel] = QString::fromStdString(ColorToString(wanted));
    setItemText(FSelColorIx - 1, FColorNames[sel]);
    update();
}

void TColSel::SetNumColors(int n)
{
    if (n < 1 || n > MaxColors)
        return;
    FNumColors = n;
    FSelColorIx = 1;
    LoadColorsIntoComboList();
}

void TColSel::SetColorBarWidth(int w)
{
    if (w < 0 || w == FColorBarWidth)
        return;
    FColorBarWidth = w;
    update();
}

void TColSel::SetEnabled(bool on)
{
    FEnabled = on;
    setEnabled(on);
    update();
}

void TColSel::Click(int entry)
{
    if (entry >= 0)
        FSelColorIx = entry + 1;
    if (OnClick)
        OnClick(this);
}

bool TColSel::IsUserEditable(int ix) const
{
    return ix >= 1 && ix <= MaxColors && FIsUserEditable[static_cast<std::size_t>(ix)];
}

void TColSel::SetIsUserEditable(int ix, bool on)
{
    if (ix < 1 || ix > MaxColors)
        return;
    FIsUserEditable[static_cast<std::size_t>(ix)] = on;
    update();
}

void TColSel::showPopup()
{
    DropDown();
    QComboBox::showPopup();
}

void TColSel::DropDown()
{
    const auto sel = static_cast<std::size_t>(FSelColorIx);
    if (FMouseAreaCode != 1 || !FIsUserEditable[sel])
        return;
    oxw::platform::Dialogs& dialogs = FDialogs ? *FDialogs : oxw::platform::PlatformDialogs();
    const std::optional<QColor> chosen = dialogs.ChooseColor(ToQColor(FColors[sel]));
    if (!chosen)
        return;
    FColors[sel] = FromQColor(*chosen);
    FColorNames[sel] = QString::fromStdString(ColorToString(FColors[sel]));
    setItemText(FSelColorIx - 1, FColorNames[sel]);
    update();
}

void TColSel::mouseMoveEvent(QMouseEvent* event)
{
    FMouseAreaCode = event->position().x() < FColorBarWidth ? 1 : 0;
    QComboBox::mouseMoveEvent(event);
}

void TColSel::DrawItem(Canvas& cv, int Index, const QRect& Rect) const
{
    const int i = Index + 1;
    if (i < 1 || i > MaxColors)
        return;
    const TColor brush = cv.Brush.Color, font = cv.Font.Color;
    const int left = Rect.left(), top = Rect.top(), bottom = Rect.bottom() + 1;
    const int barEnd = left + 3 + FColorBarWidth;
    cv.Brush.Style = bsSolid;
    if (FColorBarWidth > 0) {
        if (FEnabled) {
            cv.Pen.Color = clBlack;
            cv.Brush.Color = FColors[static_cast<std::size_t>(i)];
        } else {
            cv.Pen.Color = cv.Brush.Color = clSilver;
            cv.Rectangle(left - 1, top - 1, barEnd, bottom + 1);
            cv.Pen.Color = clGray;
        }
        cv.Rectangle(left + 3, top + 2, barEnd, bottom - 2);
    }
    if (FIsUserEditable[static_cast<std::size_t>(i)] && FColorBarWidth >= 12 && FEnabled)
        DrawEditableMark(cv, i, Rect);
    cv.Font.Color = FEnabled ? clBlack : clGray;
    cv.Brush.Color = FEnabled ? clWindow : clSilver;
    const QString& name = FColorNames[static_cast<std::size_t>(i)];
    cv.TextOut(barEnd + 3, top + (bottom - top - cv.TextHeight(name)) / 2, name);
    cv.Brush.Color = brush;
    cv.Font.Color = font;
}

void TColSel::DrawEditableMark(Canvas& cv, int i, const QRect& Rect) const
{
    const QColor c = ToQColor(FColors[static_cast<std::size_t>(i)]);
    const double r = c.red(), g = c.green(), b = c.blue();
    cv.Pen.Color = std::sqrt(r * r + b * b + 2 * g * g) / 2 <= 180 ? clWhite : clBlack;
    const int left = Rect.left(), top = Rect.top(), bottom = Rect.bottom() + 1;
    cv.Polyline({{left + 5, top + 4}, {left + 5, bottom - 5}, {left + 8, bottom - 5}, {left + 11, bottom - 8},
                 {left + 11, top + 7}, {left + 8, top + 4}, {left + 5, top + 4}});
}

QImage TColSel::ItemImage(int Index, const QSize& size) const
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(ToQColor(clWindow));
    if (picture.isNull())
        return picture;
    Canvas cv(picture);
    cv.Font.Font = font();
    DrawItem(cv, Index, QRect(QPoint(0, 0), size));
    return picture;
}

void TColSel::paintEvent(QPaintEvent* /*event*/)
{
    QStylePainter p(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    opt.currentText.clear();
    opt.currentIcon = QIcon();
    p.drawComplexControl(QStyle::CC_ComboBox, opt);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    if (currentIndex() >= 0 && field.isValid())
        p.drawImage(field.topLeft(), ItemImage(currentIndex(), field.size()));
}
