#pragma once
// TRChart: the 2-D chart. What it shows is an ordered list of drawing commands (items) in world
// units: MoveTo starts a polyline, DrawTo extends it. The items are converted to pixels with the
// axes' ranges every time the chart paints, so the same list redraws correctly after the range
// changes. Axes are set through their TScaleProps (GetScalePropsX1, GetScalePropsY1).
//
// Layout as the standard "x axis at the bottom, y axis at the left": margins left 50, right 20,
// top 20, bottom 40 pixels around the data area, the chart caption right-aligned above it.

#include <QColor>
#include <QPointF>
#include <QString>
#include <QWidget>

#include <vector>

#include "controls/ScaleProps.h"

class TRChart : public QWidget {
    Q_OBJECT
public:
    explicit TRChart(QWidget* parent = nullptr);

    // Axis settings of the first horizontal and the first vertical axis (owned by the chart).
    TScaleProps* GetScalePropsX1() { return &scaleX1_; }
    TScaleProps* GetScalePropsY1() { return &scaleY1_; }

    // Starts a new polyline at (x, y), in axis units.
    void MoveTo(double x, double y);
    // A line from the current drawing position to (x, y), which becomes the current position.
    void DrawTo(double x, double y);
    // Shows the items added so far (schedules one repaint; many calls before the next paint
    // cost one paint).
    void ShowGraf();
    // Removes every item; the chart shows the empty data area at its next paint.
    void ClearGraf();

    // Colour of the items added from now on.
    QColor DataColor() const { return dataColor_; }
    void SetDataColor(const QColor& color) { dataColor_ = color; }

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);

    int NumItems() const { return static_cast<int>(items_.size()); }

    int MarginLeft() const { return lRim_; }
    int MarginRight() const { return rRim_; }
    int MarginTop() const { return tRim_; }
    int MarginBottom() const { return bRim_; }
    void SetMargins(int left, int right, int top, int bottom);

    // World (axis) coordinates to widget pixels with the current ranges.
    QPointF R2M(double x, double y) const;

    QSize sizeHint() const override { return {280, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    enum class ItemKind { MoveTo, LineTo };
    struct Item {
        ItemKind kind;
        double x;
        double y;
        QRgb color;
    };

    void ScalePropsChanged() { update(); }
    QRect DataRect() const;

    TScaleProps scaleX1_;
    TScaleProps scaleY1_;
    std::vector<Item> items_;
    QColor dataColor_ = Qt::black;
    QColor chartColor_ = Qt::white;
    QString caption_;
    int lRim_ = 50;
    int rRim_ = 20;
    int tRim_ = 20;
    int bRim_ = 40;
};
