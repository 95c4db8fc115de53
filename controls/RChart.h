#pragma once
// TRChart: the 2-D chart. What it shows is an ordered list of drawing commands (items) in world
// units: set the item attributes (DataColor, PenStyle, LineWidth, ClassDefault, ActiveLayer ...),
// call the adders (MoveTo, DrawTo, MarkAt, Line, Rectangle, Bar3D), then ShowGraf. Items are
// converted to pixels with the scaling of their layer at every render, so the same list redraws
// after zooming, panning or resizing.
//
// The chart has 16 layers, each with an x and a y axis (TScalePropsHoriz, TScalePropsVert) and
// its own world-to-pixel mapping; each axis is drawn by a hidden TScale onto the chart's picture.
// The data area lies inside the margins: x from MarginLeft to Width - MarginRight - ShadowWidth,
// y from MarginTop to Height - MarginBottom - ShadowWidth.
//
// The implementation is spread over file pairs by topic:
//   RChartItems      the item list (shared by the charts of a sharing group)
//   RChartData.cpp   adders, removal, queries, data sharing (UseDataOf)
//   RChartScaling    R2M / M2R, ranges and their chain, joined layers, zoom history
//   RChart.cpp       creation and the chart's properties; RChartLayouts.cpp the standard layouts
//   RChartRender     Paint, ShowGraf and the stages of a render
//   RChartDataBmp    items on the data bitmap; RChartGrid.cpp the grid, RChartTextLabels.cpp
//                    the text labels and the frame
//   RChartMouse      pan, zoom, cross-hair and label dragging, the position report
//
// Painting: the chart builds its picture off screen and shows it in its paint event. Paint and
// ShowGraf only ask for a render; the render runs at the next paint event (or PaintImage), so a
// run of requests costs one render, and a request made during a render runs after it.
#include <QImage>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

#include "controls/BakGndImg.h"
#include "controls/ChartSettings.h"
#include "controls/JointLayers.h"
#include "controls/RChartItems.h"
#include "controls/RChartTypes.h"
#include "controls/Scale.h"
#include "controls/ScaleProps.h"
#include "platform/Canvas.h"

namespace oxw::platform {
class Dialogs;
}
class TDataBmpPainter;

class TCustomRChart : public QWidget {
    Q_OBJECT
public:
    using Canvas = oxw::platform::Canvas;
    // Render events: Top and Left are what a handler subtracts from control pixels to draw on the
    // canvas it is given; it may hand back another canvas, on which the render then goes on.
    using TRenderEvent = std::function<void(TCustomRChart* Sender, Canvas*& Canvas, int Top, int Left)>;
    using TScaleTickDrawnEvent = std::function<void(TCustomRChart* Sender, Canvas& Canvas, TScaleType ScaleType,
                                                    double CurrentTickPos, int ChartX, int ChartY)>;
    using TMouseMoveInChartEvent =
        std::function<void(TCustomRChart* Sender, bool InChart, TShiftState Shift, double rMousePosX, double rMousePosY)>;
    using TNotifyEvent = std::function<void(TCustomRChart* Sender)>;
    using TCrossHairMoveEvent = std::function<void(TCustomRChart* Sender, int WhichCrossHair)>;
    using TTextLabelMoveEvent = std::function<void(TCustomRChart* Sender, int WhichTextLabel)>;

    // 280 x 200 pixels, standard layout rcl_X1Bottom_Y1Left, axes of layer L in colour L of
    // the colour table, empty item list. The chart can be rendered at once.
    explicit TCustomRChart(QWidget* parent = nullptr);
    ~TCustomRChart() override;

    // ================= items (RChartData.cpp) =================
    // Adders: coordinates in world units of the active layer, stored unchanged; none repaints.
    void MarkAt(double x, double y, std::uint8_t mk);
    void MoveTo(double x, double y);
    void DrawTo(double x, double y);
    void Line(double x1, double y1, double x2, double y2);
    void Rectangle(double x1, double y1, double x2, double y2);
    // Angle is limited to 0..180 degrees.
    void Bar3D(double llx, double lly, double urx, double ury, int Depth, int Angle);

    // Empties the list (capacity 0, counters 0); does not repaint.
    void ClearGraf();
    void RemoveLastItem();
    // Removes the items of class ClassNumber (255 is not a wildcard); returns how many went.
    int RemoveItemsByClass(std::uint8_t ClassNumber);
    TrcItem GetTypeOfLastItem() const { return FData->LastKind(); }
    // A copy of item Item (0-based); an empty item outside the list.
    TrcChartItem GetItemParams(int Item) const;
    // Index of the item whose first point lies nearest on screen to the world point (mx, my),
    // both converted with the active layer's scaling; Dist receives the distance in pixels.
    // ItemID filters the kind (tkEverything any, tkNotMoveTo any but tkMoveTo, tkNone nothing),
    // ClassNumber the class (255 any). Ties go to the first added; items with a coordinate that
    // is not finite are skipped. -1 and Dist = sqrt(1.7e308) when nothing is found.
    int FindNearestItemScreen(double mx, double my, TrcItem ItemID, std::uint8_t ClassNumber, double& Dist);

    int NumItems() const { return FData->NumItems(); }
    int ItemCount(TrcItem kind) const { return FData->ItemCount(kind); }
    int Capacity() const { return FData->Capacity(); }
    int LastElemOnShow() const { return FData->LastElemOnShow(); }
    int AllocSize() const { return FAllocSize; }
    void SetAllocSize(int n);  // 1..1,000,000; other values ignored

    // Item attributes, read by every adder; their setters only store.
    TColor DataColor() const { return FDataColor; }
    void SetDataColor(TColor c) { FDataColor = c; }
    TPenStyle PenStyle() const { return FPenStyle; }
    void SetPenStyle(TPenStyle s) { FPenStyle = s; }
    std::uint8_t LineWidth() const { return FLineWidth; }
    void SetLineWidth(std::uint8_t w) { FLineWidth = w; }
    TColor FillColor() const { return FFillColor; }
    void SetFillColor(TColor c) { FFillColor = c; }
    int DataTag() const { return FDataTag; }
    void SetDataTag(int tag) { FDataTag = tag; }
    std::uint8_t ClassDefault() const { return FClassDefault; }
    void SetClassDefault(std::uint8_t c);  // 255 ignored
    bool TransparentItems() const { return FTransparentItems; }
    void SetTransparentItems(bool on) { FTransparentItems = on; }
    int ActiveLayer() const { return FActiveLayer; }
    void SetActiveLayer(int layer);  // 1..16, others ignored
    bool ClassVisible(int cls) const;
    void SetClassVisible(int cls, bool on);  // classes 0..255; the renderer skips hidden ones
    bool LayerVisible(int layer) const;
    void SetLayerVisible(int layer, bool on);
    bool MouseAffectsLayer(int layer) const;
    void SetMouseAffectsLayer(int layer, bool on);

    // Data sharing: this chart shows the items of `orc` (or of the chart orc itself uses), up to
    // four users per owner; nullptr detaches it with a copy of the items it shows. Refusals are
    // information message boxes.
    TCustomRChart* UseDataOf() const { return FUseDataOf; }
    void SetUseDataOf(TCustomRChart* orc);
    int DataUsersNum() const { return FDataUsersNum; }
    TCustomRChart* DataUser(int ix) const;  // 0..DataUsersNum-1
    // Where the chart's message boxes go; nullptr: the platform's own.
    void SetDialogs(oxw::platform::Dialogs* dialogs) { FDialogs = dialogs; }

    // ================= scaling (RChartScaling.cpp) =================
    void AdjustScaling();
    // World to control pixels with the layer's mapping (layer limited to 1..16); values beyond
    // +-2147483647 pixels are limited to it, the rest rounded (halves to even).
    void R2M(int Layer, double xin, double yin, int& xout, int& yout);
    // Control pixels to world units (a data area under one pixel gives the middle of the range).
    void M2R(int Layer, int xin, int yin, double& xout, double& yout);
    // Layer 0: all 16 layers. Equal bounds are widened by MinRange; a bound that is not finite
    // leaves its axis unchanged. Paints with AutoRedraw.
    void SetRange(int Layer, double xLo, double yLo, double xHi, double yHi);
    void SetRangeIntern(int Layer, double xLo, double yLo, double xHi, double yHi, bool EnterToZoomStack, bool ConfineRange);
    void ForceRange(int Layer, double xLo, double yLo, double xHi, double yHi, bool EnterToZoomStack, bool ConfineRange);
    void ForceRngIntern(int Layer, double xLo, double yLo, double xHi, double yHi, bool EnterToZoomStack, bool ConfineRange);
    // The handler of every axis setting's change.
    void ScalePropsChanged();
    bool Isometric() const { return FIsometric; }
    void SetIsometric(bool on);
    TJointLayers& JointLayers() { return FJointLayers; }
    // Takes the joins of `source`: each follower takes its masters' ranges at once, then the
    // chart repaints by the style rule.
    void SetJointLayers(const TJointLayers& source) { FJointLayers.Assign(source); }
    // Zoom history: 16 slots of the 16 layers' ranges (x low, y high, x high, y low).
    void ZoomStateOnStack();
    void ClearZoomHistory();
    TRectDouble ZoomStack(int slot, int layer) const;  // slot 1..16, layer 1..16
    int ZoomStackPointer() const { return FZStackPoi; }

    // ================= properties (RChart.cpp) =================
    TScalePropsHoriz* GetScalePropsX(int Layer);  // layers outside 1..16 give layer 1's
    TScalePropsVert* GetScalePropsY(int Layer);
    TScalePropsHoriz* GetScalePropsX1() { return GetScalePropsX(1); }
    TScalePropsHoriz* GetScalePropsX2() { return GetScalePropsX(2); }
    TScalePropsHoriz* GetScalePropsX3() { return GetScalePropsX(3); }
    TScalePropsHoriz* GetScalePropsX4() { return GetScalePropsX(4); }
    TScalePropsVert* GetScalePropsY1() { return GetScalePropsY(1); }
    TScalePropsVert* GetScalePropsY2() { return GetScalePropsY(2); }
    TScalePropsVert* GetScalePropsY3() { return GetScalePropsY(3); }
    TScalePropsVert* GetScalePropsY4() { return GetScalePropsY(4); }
    // Replace every setting of an axis of layers 1..4 by those of `source` (the chart keeps its
    // own object); the chart lays out and repaints as after a change of one axis setting.
    void SetScale1X(const TScalePropsHoriz& source) { GetScalePropsX(1)->Assign(source); }
    void SetScale2X(const TScalePropsHoriz& source) { GetScalePropsX(2)->Assign(source); }
    void SetScale3X(const TScalePropsHoriz& source) { GetScalePropsX(3)->Assign(source); }
    void SetScale4X(const TScalePropsHoriz& source) { GetScalePropsX(4)->Assign(source); }
    void SetScale1Y(const TScalePropsVert& source) { GetScalePropsY(1)->Assign(source); }
    void SetScale2Y(const TScalePropsVert& source) { GetScalePropsY(2)->Assign(source); }
    void SetScale3Y(const TScalePropsVert& source) { GetScalePropsY(3)->Assign(source); }
    void SetScale4Y(const TScalePropsVert& source) { GetScalePropsY(4)->Assign(source); }
    // The hidden scale that draws an axis (for reading its recorded ticks).
    const TScale& HelperScaleX(int Layer) const;
    const TScale& HelperScaleY(int Layer) const;

    // Margins round the data area (0..2^24) and the shadow (0..32).
    int MarginLeft() const { return FLRim; }
    void SetMarginLeft(int m);
    int MarginRight() const { return FRRim; }
    void SetMarginRight(int m);
    int MarginTop() const { return FTRim; }
    void SetMarginTop(int m);
    int MarginBottom() const { return FBRim; }
    void SetMarginBottom(int m);
    void SetMargins(int left, int right, int top, int bottom);
    int ShadowWidth() const { return FShadowWidth; }
    void SetShadowWidth(int w);
    // The bounds of the control, its size raised to hold the margins, shadow and a data area of
    // at least 80 x 20 pixels.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    QSize sizeHint() const override { return {280, 200}; }
    QSize minimumSizeHint() const override;

    // Style properties: each repaints with AutoRedraw.
    TShadowStyle ShadowStyle() const { return FShadowStyle; }
    void SetShadowStyle(TShadowStyle s);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor c);
    TColor ShadowBakColor() const { return FShadowBakColor; }
    void SetShadowBakColor(TColor c);
    TColor ChartColor() const { return FChartColor; }
    void SetChartColor(TColor c);
    TColor WindColor() const { return FWindColor; }
    void SetWindColor(TColor c);
    TColor ChartFrameColor() const { return FChartFrameColor; }
    void SetChartFrameColor(TColor c);
    TColor GridColor() const { return FGridColor; }
    void SetGridColor(TColor c);
    GridStyleType GridStyle() const { return FGridStyle; }
    void SetGridStyle(GridStyleType s);
    // Grid step in world units; 0: at the ticks; on a logarithmic axis -1 decades, -2 the 1-2-5
    // series, -3 every integer mantissa. Values below -3 are ignored.
    double GridDx() const { return FGridDx; }
    void SetGridDx(double d);
    double GridDy() const { return FGridDy; }
    void SetGridDy(double d);
    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& c);
    int CaptionPosX() const { return FCaptionPosX; }
    void SetCaptionPosX(int x);
    int CaptionPosY() const { return FCaptionPosY; }
    void SetCaptionPosY(int y);
    TAlignment CaptionAlignment() const { return FCaptionAlignment; }
    void SetCaptionAlignment(TAlignment a);
    TCaptionAnchorHoriz CaptionAnchorHoriz() const { return FCaptionAnchorHoriz; }
    void SetCaptionAnchorHoriz(TCaptionAnchorHoriz a);
    TCaptionAnchorVert CaptionAnchorVert() const { return FCaptionAnchorVert; }
    void SetCaptionAnchorVert(TCaptionAnchorVert a);
    TFontStyles TextFontStyle() const { return FTextFontStyle; }
    void SetTextFontStyle(TFontStyles s);
    TTextBkg TextBkStyle() const { return FTextBkStyle; }
    void SetTextBkStyle(TTextBkg s);
    TColor TextBkColor() const { return FTextBkColor; }
    void SetTextBkColor(TColor c);
    TAlignment TextAlignment() const { return FTextAlignment; }
    void SetTextAlignment(TAlignment a);
    bool AutoRedraw() const { return FAutoRedraw; }
    void SetAutoRedraw(bool on) { FAutoRedraw = on; }
    TrcLayout StandardLayout() const { return FStandardLayout; }
    void SetStdLayout(TrcLayout layout);
    TBakGndImg& BackGroundImg() { return FBackGroundImg; }
    // Takes every setting of `source`; the chart repaints by the style rule.
    void SetBackGroundImg(const TBakGndImg& source) { FBackGroundImg.Assign(source); }
    TCrossHair& CrossHair(int ix);  // 1..4 (others give 1)
    void SetCrossHair(int ix, const TCrossHair& source);
    TCrossHair& CrossHair1() { return CrossHair(1); }
    TCrossHair& CrossHair2() { return CrossHair(2); }
    TCrossHair& CrossHair3() { return CrossHair(3); }
    TCrossHair& CrossHair4() { return CrossHair(4); }
    // Text label ix of 1..30; others raise EVKRRChartError
    // "Component "<Name>": invalid index into TextLabel array".
    TTextLabel& TextLabels(int ix);
    TTextLabel& GetFTextLabel(int ix) { return TextLabels(ix); }
    bool SuppressPaint() const { return FSuppressPaint; }
    // Switching suppression off paints.
    void SetSuppressPaint(bool on);

    // ================= rendering (RChartRender.cpp) =================
    // Asks for a full render (nothing while suppressed or loading).
    void Paint();
    // Shows the items: on a visible chart the data area is rebuilt at the next paint (with
    // AutoRedraw; else a full render); the charts sharing the items repaint by their style rule.
    void ShowGraf();
    // The style rule: paints with AutoRedraw.
    void StyleChanged();
    // Runs the render asked for and gives the picture the control shows.
    QImage PaintImage();
    // The picture the control shows now, without rendering.
    const QImage& Picture() const { return FScreen; }
    // Renders done so far (full ones and data-area ones), for tests of the repaint rules.
    int FullRenderCount() const { return FFullRenders; }
    int DataRenderCount() const { return FDataRenders; }

    // The stages of a render (each on the canvas it is given).
    void ConstructChartBmp(Canvas& cv);
    void InitGraf(Canvas& cv, int PosX, int PosY);
    void ConstructDataBmp(Canvas& cv, int PosX, int PosY, bool BlkWhite, int FirstItem);

    // ================= mouse (RChartMouse.cpp) =================
    TMouseActMode MouseAction() const { return RcMouseAction; }
    void SetMouseAction(TMouseActMode m) { RcMouseAction = m; }
    bool MouseCursorFixed() const { return FMCurFixed; }
    void SetMouseCursorFixed(bool on) { FMCurFixed = on; }
    double MousePosX() const { return FMousePosX; }
    double MousePosY() const { return FMousePosY; }
    TZoomState ZoomState() const { return FZoomState; }
    // The rubber-band box. No mouse action of the chart starts one: code that sets
    // MouseBoxState to msFirstCorner gets a box drawn with the mouse. A left press stores the
    // first corner (msRectDraw); moves keep the second corner inside the data area and show the
    // box by exclusive or; the left release stores the second corner (msFinished). A right
    // press before the first corner or a right release while drawing cancels (msNormal).
    TMouseBoxState MouseBoxState = msNormal;
    int MouseBoxX1 = 0, MouseBoxY1 = 0, MouseBoxX2 = 0, MouseBoxY2 = 0;
    // The handlers of the mouse messages (pixels of the control).
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    void MouseMove(TShiftState Shift, int X, int Y);
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    // The position report after a mouse move: fires OnMouseMoveInChart.
    void MouseMoveInChart(TShiftState Shift, int X, int Y);

    // ================= events =================
    TScaleTickDrawnEvent OnScaleTickDrawn;
    TRenderEvent OnScalesRendered;
    TRenderEvent OnBeforeRenderData;
    TRenderEvent OnDataRendered;
    TMouseMoveInChartEvent OnMouseMoveInChart;
    TNotifyEvent OnZoomPan;
    TCrossHairMoveEvent OnCrossHairMove;
    TTextLabelMoveEvent OnTextLabelMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    // A focused chart keeps the arrow keys and Tab (Backtab) for itself: they reach
    // keyPressEvent, which takes them, instead of moving the focus to another control.
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    friend class TDataBmpPainter;
    friend class TJointLayers;

    // ---- geometry ----
    int DataWidth() const { return width() - FLRim - FRRim - FShadowWidth; }
    int DataHeight() const { return height() - FTRim - FBRim - FShadowWidth; }
    int DataRight() const { return width() - FRRim - FShadowWidth; }
    int DataBottom() const { return height() - FBRim - FShadowWidth; }
    bool InDataArea(int X, int Y) const;
    // Takes a new size of the widget into the scales and the mapping (Qt may resize a hidden
    // widget without a resize event).
    void SyncBounds();
    void BoundsChanged();
    void MarginsChanged();
    void ResizeGrafBmp();

    // ---- items ----
    TrcChartItem& NewItem(TrcItem kind);
    void ShowMessage(const QString& text);
    void RemoveUser(TCustomRChart* user);
    void DetachFromOwner();

    // ---- scaling ----
    void R2MRaw(int Layer, double xin, double yin, int& xout, int& yout) const;
    void SetScaleProps(TScale& scl, const TScaleProps& props);
    void CopyAllScaleProps();
    void SetHelperMargins();
    void ResetIsometricRanges(int widthShadows);
    double IsometricHeight(double xSpan, int widthShadows) const;
    bool RangeCounts(const TScaleProps& axis) const;

    // ---- rendering ----
    void RequestRender(bool full);
    void RenderPending();
    void RenderFull();
    void RenderData();
    void DrawFinish(int xPos, int yPos, QImage& SrcBmp);
    void DrawShadow(Canvas& cv);
    void DrawCaption(Canvas& cv);
    void DrawBackGroundArea(Canvas& cv, int PosX, int PosY, int w, int h);
    bool DrawBackGroundImage(Canvas& cv, int w, int h);
    bool CanPaint() const { return !FSuppressPaint && !FLoading; }

    // ---- mouse ----
    void TakeAnchors(int X, int Y);
    void StartDrag(int X, int Y);
    void DragStep(int X, int Y);
    void PanStep(int X, int Y);
    void ZoomDragStep(int X, int Y);
    // A pixel held inside the data area's columns (X) or rows (Y), for a corner being drawn.
    int InDataX(int X) const;
    int InDataY(int Y) const;
    void ZoomWindowMove(int X, int Y);
    void ZoomWindowUp(TMouseButton Button);
    void MouseBoxDown(TMouseButton Button, int X, int Y);
    void MouseBoxMove(int X, int Y);
    void MouseBoxUp(TMouseButton Button, int X, int Y);
    void PickCrossHair(int X, int Y);
    void PickTextLabel(int X, int Y);
    void DragCrossHair(int X, int Y);
    void DragTextLabel(int X, int Y);
    QPoint LabelPixel(const TTextLabel& label) const;
    void UpdateCursor(int X, int Y);

    // ---- items and sharing ----
    std::shared_ptr<TChartItemList> FData;
    int FAllocSize = 1000;
    TCustomRChart* FUseDataOf = nullptr;
    std::array<TCustomRChart*, MaxDataUsers> FDataUsers{};
    int FDataUsersNum = 0;
    oxw::platform::Dialogs* FDialogs = nullptr;
    TColor FDataColor = clBlack;
    TPenStyle FPenStyle = psSolid;
    std::uint8_t FLineWidth = 1;
    TColor FFillColor = clSilver;
    int FDataTag = 0;
    std::uint8_t FClassDefault = 0;
    bool FTransparentItems = false;
    int FActiveLayer = 1;
    std::array<bool, 256> FClassVisible{};
    std::array<bool, MaxNumLayers + 1> FLayerVisible{};
    std::array<bool, MaxNumLayers + 1> FMouseAffLayer{};

    // ---- scaling ----
    std::array<long double, MaxNumLayers + 1> Cpkx{}, Cpdx{}, Cpky{}, Cpdy{};
    double Fxasp = 1.0, Fyasp = 1.0;
    bool FIsometric = false;
    TJointLayers FJointLayers{this};
    std::array<std::array<TRectDouble, MaxNumLayers + 1>, MaxZoomStack + 1> FZoomStack{};
    int FZStackPoi = 1;
    std::array<std::unique_ptr<TScalePropsHoriz>, MaxNumLayers + 1> FScalePropsX;
    std::array<std::unique_ptr<TScalePropsVert>, MaxNumLayers + 1> FScalePropsY;
    std::array<std::unique_ptr<TScale>, MaxNumLayers + 1> FScaleX;
    std::array<std::unique_ptr<TScale>, MaxNumLayers + 1> FScaleY;
    int FBoundsW = -1, FBoundsH = -1;  // the size the scales and mapping were set for

    // ---- properties ----
    int FLRim = 50, FRRim = 10, FTRim = 16, FBRim = 32;
    int FShadowWidth = 0;
    TShadowStyle FShadowStyle = ssFlying;
    TColor FShadowColor = clGrayText;
    TColor FShadowBakColor = clBtnFace;
    TColor FChartColor = clWhite;
    TColor FWindColor = clBtnFace;
    TColor FChartFrameColor = clBlack;
    TColor FGridColor = clBlack;
    GridStyleType FGridStyle = gsNone;
    double FGridDx = 0.0, FGridDy = 0.0;
    QString FCaption;
    int FCaptionPosX = 0, FCaptionPosY = -16;
    TAlignment FCaptionAlignment = taRightJustify;
    TCaptionAnchorHoriz FCaptionAnchorHoriz = cahChartRight;
    TCaptionAnchorVert FCaptionAnchorVert = cavChartTop;
    TFontStyles FTextFontStyle = 0;
    TTextBkg FTextBkStyle = tbClear;
    TColor FTextBkColor = clWhite;
    TAlignment FTextAlignment = taCenter;
    bool FAutoRedraw = true;
    TrcLayout FStandardLayout = rcl_X1Bottom_Y1Left;
    TBakGndImg FBackGroundImg;
    std::array<TCrossHair, MaxCrossH + 1> FCrossHair;
    std::array<std::unique_ptr<TTextLabel>, MaxTxtLbl + 1> FTextLabels;
    bool FSuppressPaint = true;
    bool FLoading = true;

    // ---- rendering ----
    struct CanvasState {
        oxw::platform::TPen Pen;
        oxw::platform::TBrush Brush;
        oxw::platform::TCanvasFont Font;
    };
    QImage ChartBmp, GrafBmp, AuxBmp;
    QImage FScreen;  // what the control shows
    CanvasState FChartCv, FGrafCv;  // canvas settings kept between renders
    bool FFullPending = true, FDataPending = false, FRendering = false;
    int FFullRenders = 0, FDataRenders = 0;

    // ---- mouse ----
    TMouseActMode RcMouseAction = maNone;
    bool FMCurFixed = true;
    bool LButtonWasDown = false;
    std::array<int, MaxNumLayers + 1> FMAnchorScrX{}, FMAnchorScrY{};
    std::array<double, MaxNumLayers + 1> FMAnchorRcLoX{}, FMAnchorRcLoY{}, FMAnchorRcHiX{}, FMAnchorRcHiY{};
    TZoomState FZoomState = zsNormal;
    int WindAnchorX = 0, WindAnchorY = 0, WindOldCornerX = 0, WindOldCornerY = 0;
    int CHNext = 1, TLNext = 1;
    int LastMouseX = 0, LastMouseY = 0;
    double FMousePosX = 0.0, FMousePosY = 0.0;
};

// The chart as forms place it.
class TRChart : public TCustomRChart {
    Q_OBJECT
public:
    explicit TRChart(QWidget* parent = nullptr) : TCustomRChart(parent) {}
};
