#include "chart/engine/seriespointer.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/engine/chartseries.h"

#include <algorithm>
#include <array>
#include <vector>

template <>
const EnumInfo& EnumInfoOf<TSeriesPointerStyle>() {
    static const EnumInfo info{"TSeriesPointerStyle",
                               {"psRectangle", "psCircle", "psTriangle", "psDownTriangle", "psCross",
                                "psDiagCross", "psStar", "psDiamond", "psSmallDot", "psNothing",
                                "psLeftTriangle", "psRightTriangle", "psHexagon"}};
    return info;
}

const ClassInfo& TSeriesPointer::StaticClass() {
    using C = TSeriesPointer;
    static const PropInfo props[] = {
        MakeProp<&C::GetBrush, &C::SetBrush>("Brush"),
        MakeProp<&C::GetDark3D, &C::SetDark3D>("Dark3D").Default(1),
        MakeProp<&C::GetDraw3D, &C::SetDraw3D>("Draw3D").Stored<&C::IsDraw3DStored>(),
        MakeProp<&C::GetGradient, &C::SetGradient>("Gradient"),
        MakeProp<&C::GetHorizSize, &C::SetHorizSize>("HorizSize").Default(4),
        MakeProp<&C::GetInflateMargins, &C::SetInflateMargins>("InflateMargins")
            .Stored<&C::IsInflateMarginsStored>(),
        MakeProp<&C::GetPen, &C::SetPen>("Pen"),
        MakeProp<&C::GetShadow, &C::SetShadow>("Shadow"),
        MakeProp<&C::GetStyle, &C::SetStyle>("Style"),
        MakeProp<&C::GetTransparency, &C::SetTransparency>("Transparency").Default(0),
        MakeProp<&C::GetVertSize, &C::SetVertSize>("VertSize").Default(4),
        MakeProp<&C::GetVisible, &C::SetVisible>("Visible"),
    };
    static const ClassInfo info =
        MakeClassInfo<C>("TSeriesPointer", &TZuzCustomShapeBrushPen::StaticClass(), props);
    return info;
}

TSeriesPointer::TSeriesPointer(TChartSeries* Series) : FSeries(Series) {
    SetParentChart(Chart());
    TNotifyEvent changed;
    changed.Bind([this](TObject*) { Repaint(); });
    FGradient.reset(Create<TZuzGradient>(changed));
    FShadow.reset(Create<TZuzShadow>(changed));
    FShadow->SetSize(3);
    FShadow->SetVisible(false);
    FShadow->InitValues(FShadow->GetColor(), 3);
    FShadow->DefaultVisible = false;
}

TSeriesPointer::~TSeriesPointer() = default;

ISeriesChart* TSeriesPointer::Chart() const {
    return FSeries ? FSeries->GetParentChart() : nullptr;
}

void TSeriesPointer::Repaint() {
    if (ISeriesChart* c = Chart()) c->Invalidate();
}

void TSeriesPointer::SetVisible(bool Value) {
    if (GetVisible() == Value) return;
    // Quietly through the shape, then once through the series: a series that changes its
    // pointer for a moment while it draws has left its chart for that moment.
    TCustomZuzPanel* const panel = GetParentChart();
    SetParent(nullptr);
    TZuzCustomShapeBrushPen::SetVisible(Value);
    SetParent(panel);
    Repaint();
}

TCustomZuzPanel* PanelOf(ISeriesChart* Chart) {
    return Chart ? dynamic_cast<TCustomZuzPanel*>(Chart->ChartComponent()) : nullptr;
}

void TSeriesPointer::SetParentChart(ISeriesChart* Value) {
    SetParent(PanelOf(Value));
}

void TSeriesPointer::Assign(TPersistent* Source) {
    auto* p = dynamic_cast<TSeriesPointer*>(Source);
    if (!p) {
        TZuzCustomShapeBrushPen::Assign(Source);
        return;
    }
    FDark3D = p->FDark3D;
    FDraw3D = p->FDraw3D;
    FGradient->Assign(p->FGradient.get());
    FHorizSize = p->FHorizSize;
    FInflateMargins = p->FInflateMargins;
    FShadow->Assign(p->FShadow.get());
    FStyle = p->FStyle;
    FTransparency = p->FTransparency;
    FVertSize = p->FVertSize;
    TZuzCustomShapeBrushPen::Assign(Source);
}

TColor TSeriesPointer::GetColor() const {
    return GetBrush()->GetColor();
}

void TSeriesPointer::SetColor(TColor Value) {
    GetBrush()->SetColor(Value);
}

void TSeriesPointer::SetGradient(TZuzGradient* Value) {
    FGradient->Assign(Value);
}

void TSeriesPointer::SetShadow(TZuzShadow* Value) {
    FShadow->Assign(Value);
}

// Half-sizes up to the largest the editors offer (the arrow editor's, beyond the pointer
// editor's 1000): the margins and the symbol's corners are the size added to a place.
void TSeriesPointer::SetHorizSize(int Value) {
    if (Value < 1) throw ChartException(VavIve_CheckPointerSize);
    Store(FHorizSize, std::min(Value, kLargestPointerSize));
}

void TSeriesPointer::SetVertSize(int Value) {
    if (Value < 1) throw ChartException(VavIve_CheckPointerSize);
    Store(FVertSize, std::min(Value, kLargestPointerSize));
}

void TSeriesPointer::ChangeHorizSize(int Value) {
    FHorizSize = std::clamp(Value, -kLargestPictureSide, kLargestPictureSide);
}

void TSeriesPointer::ChangeVertSize(int Value) {
    FVertSize = std::clamp(Value, -kLargestPictureSide, kLargestPictureSide);
}

void TSeriesPointer::SetSize(int Value) {
    SetHorizSize(Value);
    SetVertSize(Value);
}

void TSeriesPointer::CalcHorizMargins(int& Left, int& Right) const {
    if (!GetVisible() || !FInflateMargins) return;
    Left = std::max(Left, FHorizSize + 1);
    Right = std::max(Right, FHorizSize + 1);
}

void TSeriesPointer::CalcVerticalMargins(int& Top, int& Bottom) const {
    if (!GetVisible() || !FInflateMargins) return;
    Top = std::max(Top, FVertSize + 1);
    Bottom = std::max(Bottom, FVertSize + 1);
}

int TSeriesPointer::GetStartZ() const {
    return FSeries ? FSeries->StartZ : 0;
}

int TSeriesPointer::GetMiddleZ() const {
    return FSeries ? FSeries->MiddleZ : 0;
}

int TSeriesPointer::GetEndZ() const {
    return FSeries ? FSeries->EndZ : 0;
}

// A pointer without a colour of its own is drawn in its series' colour.
TColor TSeriesPointer::ShownColor() const {
    const TColor c = GetColor();
    return c == clDefault && FSeries ? FSeries->GetSeriesColor() : c;
}

void TSeriesPointer::Prepare() {
    if (ISeriesChart* c = Chart())
        if (TCanvas3D* canvas = c->GetCanvas()) PrepareCanvas(canvas, ShownColor());
}

void TSeriesPointer::PrepareCanvas(TZuzCanvas* Canvas, TColor Color) {
    if (!GetPen()->GetVisible())
        Canvas->Pen->SetStyle(psClear);
    else
        Canvas->AssignVisiblePenColor(GetPen(),
                                      GetPen()->GetColor() == clDefault ? Color : GetPen()->GetColor());
    // A pattern is drawn in the symbol's colour over the brush's background (none: what lies
    // beneath shows through), as a bar's is.
    const TColor brush = GetBrush()->GetColor() == clDefault ? Color : GetBrush()->GetColor();
    Canvas->AssignBrush(GetBrush(), brush, GetBrush()->GetBackColor());
}

void TSeriesPointer::Draw(int X, int Y) {
    Draw(X, Y, ShownColor(), FStyle);
}

void TSeriesPointer::Draw(int X, int Y, TColor Color, TSeriesPointerStyle Style) {
    ISeriesChart* c = Chart();
    if (!c || !c->GetCanvas()) return;
    DrawPointer(c->GetCanvas(), c->GetView3D(), X, Y, FHorizSize, FVertSize, Color, Style);
}

namespace {
// The outline points of the polygon styles, in screen space before any depth.
std::vector<TPoint> PolygonOf(TSeriesPointerStyle Style, int X, int Y, int L, int T, int R, int B, int V) {
    switch (Style) {
    case psTriangle:
        return {{L, B}, {R, B}, {X, T}};
    case psDownTriangle:
        return {{L, T}, {R, T}, {X, B}};
    case psDiamond:
        return {{L, Y}, {X, T}, {R, Y}, {X, B}};
    case psLeftTriangle:
        return {{L, Y}, {R, T}, {R, B}};
    case psRightTriangle:
        return {{R, Y}, {L, T}, {L, B}};
    case psHexagon:
        return {{X, T}, {L, Y - V / 2}, {L, Y + V / 2}, {X, B}, {R, Y + V / 2}, {R, Y - V / 2}};
    default:
        return {};
    }
}

std::vector<TPoint> AtDepth(TCanvas3D* Canvas, std::vector<TPoint> Points, bool Is3D, int Z) {
    if (Is3D)
        for (TPoint& p : Points) p = Canvas->Calculate3DPosition(p, Z);
    return Points;
}

// Ends the canvas's blending block however the drawing inside it ends.
class TBlendScope {
public:
    TBlendScope(TZuzCanvas* Canvas, const TRect& R, int Transparency) : FCanvas(Canvas) {
        if (Transparency != 0) FBlend = Canvas->BeginBlending(R, Transparency);
    }
    ~TBlendScope() {
        if (FBlend) FCanvas->EndBlending(std::move(FBlend));
    }
    TBlendScope(const TBlendScope&) = delete;
    TBlendScope& operator=(const TBlendScope&) = delete;

private:
    TZuzCanvas* FCanvas;
    Owned<TZuzBlend> FBlend;
};
} // namespace

void TSeriesPointer::DrawShadow(TCanvas3D* Canvas, TSeriesPointerStyle Style, const TRect& R,
                                std::span<const TPoint> Outline, int Z) {
    if (!FShadow->GetVisible() || FShadow->GetSize() == 0) return;
    if (Style != psRectangle && Style != psCircle && Style != psHexagon) return;
    const TShadowLookKept keep(Canvas);
    // A bubble cut at the chart's edge casts no shadow over the axis labels.
    const TShadowClipped clipped(FShadow.get());
    if (!Outline.empty())
        FShadow->Draw(Canvas, Outline);
    else if (Style == psRectangle)
        FShadow->Draw(Canvas, R, Z);
    else
        FShadow->DrawEllipse(Canvas, R, Z);
}

void TSeriesPointer::FillGradient(TCanvas3D* Canvas, TSeriesPointerStyle Style, const TRect& R,
                                  std::span<const TPoint> Shape, bool Is3D, int Z, TColor Color) {
    if (!FGradient->GetVisible()) return;
    // The symbol's own colour goes to a copy: no change of the chart, nor of what it saves.
    TZuzGradient shown;
    shown.Assign(FGradient.get());
    if (!GradientOwnColors) shown.SetEndColor(Color);
    auto* gdi = dynamic_cast<TZuzCanvas3D*>(Canvas);
    if (Style == psCircle && Is3D && gdi && !gdi->IsOrthogonal()) {
        // A turned view leans the circle: the gradient fills the ring the circle is drawn as
        // there, not the upright ellipse across its corners, which spills past one side of it
        // and leaves the other in the plain colour.
        std::array<TPoint, 64> ring;
        gdi->GetCirclePoints(ring, R.Left, R.Top, R.Right, R.Bottom, Z);
        shown.Draw(Canvas, ring, Z, false);
    } else if (Style == psCircle) {
        const TRect r = Is3D ? TRect(Canvas->Calculate3DPosition(R.Left, R.Top, Z),
                                     Canvas->Calculate3DPosition(R.Right, R.Bottom, Z))
                             : R;
        Canvas->ClipEllipse(r, false);
        shown.Draw(Canvas, r);
        Canvas->UnClipRectangle();
    } else if (!Shape.empty()) {
        shown.Draw(Canvas, Shape, Z, false);
    } else if (Is3D) {
        shown.Draw(Canvas,
                   TFourPoints{TPoint(R.Left, R.Top), TPoint(R.Right, R.Top), TPoint(R.Right, R.Bottom),
                               TPoint(R.Left, R.Bottom)},
                   Z);
    } else {
        shown.Draw(Canvas, R);
    }
}

void TSeriesPointer::DrawPointer(TCanvas3D* Canvas, bool Is3D, int X, int Y, int HorizSize, int VertSize,
                                 TColor Color, TSeriesPointerStyle Style) {
    const int h = HorizSize, v = VertSize;
    const int L = X - h, R = X + h, T = Y - v, B = Y + v;
    const int z0 = GetStartZ(), zm = GetMiddleZ(), z1 = GetEndZ();
    const TRect box(L, T, R + 1, B + 1);
    const std::vector<TPoint> outline = AtDepth(Canvas, PolygonOf(Style, X, Y, L, T, R, B, v), Is3D, z0);
    const std::vector<TPoint> boxCorners = {TPoint(L, T), TPoint(R + 1, T), TPoint(R + 1, B + 1),
                                            TPoint(L, B + 1)};

    if (Style == psRectangle && Is3D) {
        // A chart's canvas takes a box's shadow in screen points: the box's at its depth, as
        // drawn, or the shadow falls where the box would stand at the front.
        const std::vector<TPoint> corners = AtDepth(Canvas, boxCorners, true, z0);
        if (corners[0].Y == corners[1].Y && corners[0].X == corners[3].X)
            DrawShadow(Canvas, Style, TRect(corners[0], corners[2]), {}, 0);
        else
            DrawShadow(Canvas, Style, box, corners, z0);
    } else if (Style == psRectangle || Style == psCircle) {
        DrawShadow(Canvas, Style, box, {}, z0);
    } else if (Style == psHexagon) {
        DrawShadow(Canvas, Style, box, outline, z0);
    }

    TRect blendRect = box;
    if (Is3D) {
        // The block holds every corner the symbol reaches on the screen: a cube's or a pyramid's
        // far side, and the skewed edges of a turned view, are blended as the front is.
        const bool solid =
            FDraw3D && (Style == psRectangle || Style == psTriangle || Style == psDownTriangle);
        std::vector<TPoint> reached = AtDepth(Canvas, boxCorners, true, z0);
        if (solid) {
            const std::vector<TPoint> back = AtDepth(Canvas, boxCorners, true, z1);
            reached.insert(reached.end(), back.begin(), back.end());
        }
        blendRect = PolygonBounds(reached);
    }
    // A wide frame reaches past the box on every side: blended with it, or it stays opaque.
    const int frame = Canvas->Pen->GetStyle() == psClear ? 0 : Canvas->Pen->GetWidth();
    InflateRect(blendRect, frame, frame);
    TBlendScope blend(Canvas, blendRect, FTransparency);

    auto line = [&](int X0, int Y0, int X1, int Y1) {
        if (Is3D)
            Canvas->LineWithZ(X0, Y0, X1, Y1, z0);
        else
            Canvas->Line(X0, Y0, X1, Y1);
    };
    auto cross = [&] {
        line(L, Y, R + 1, Y);
        line(X, T, X, B + 1);
    };
    auto diagCross = [&] {
        line(L, T, R + 1, B + 1);
        line(R, T, L - 1, B + 1);
    };

    switch (Style) {
    case psRectangle:
        if (!Is3D)
            Canvas->Rectangle(L, T, R + 1, B + 1);
        else if (FDraw3D)
            Canvas->Cube(L, R, T, B, z0, z1, FDark3D);
        else
            Canvas->RectangleWithZ(TRect(L, T, R + 1, B + 1), z0);
        break;
    case psCircle:
        if (!Is3D)
            Canvas->Ellipse(L, T, R, B);
        else if (FDraw3D && Canvas->GetSupportsFullRotation())
            Canvas->Sphere(X, Y, zm, h);
        else
            Canvas->EllipseWithZ(L, T, R, B, z0);
        break;
    case psTriangle:
    case psDownTriangle:
        if (Is3D && FDraw3D) {
            // Upward from the base at the bottom, or downward from the top.
            if (Style == psTriangle)
                Canvas->Pyramid(true, L, T, R, B, z0, z1, FDark3D);
            else
                Canvas->Pyramid(true, L, B, R, T, z0, z1, FDark3D);
        } else {
            Canvas->Polygon(outline);
        }
        break;
    case psCross:
        cross();
        break;
    case psDiagCross:
        diagCross();
        break;
    case psStar:
        cross();
        diagCross();
        break;
    case psSmallDot:
        if (Is3D)
            Canvas->SetPixel3D(X, Y, zm, Canvas->Brush->GetColor());
        else
            Canvas->SetPixel(X, Y, Canvas->Brush->GetColor());
        break;
    case psNothing:
        break;
    default:
        Canvas->Polygon(outline);
        break;
    }

    if (Style != psNothing && Style != psSmallDot && Style != psCross && Style != psDiagCross &&
        Style != psStar) {
        std::vector<TPoint> face = outline;
        // A pyramid's front face rises to its tip at the middle of its depth: the gradient fills
        // that face, not a flat triangle that leaves part of the face in the plain colour.
        if (Is3D && FDraw3D && (Style == psTriangle || Style == psDownTriangle))
            face[2] = Canvas->Calculate3DPosition(X, Style == psTriangle ? T : B, (z0 + z1) / 2);
        // A cube's front face is filled at its own corners and its frame drawn again over the
        // fill: a frame's width taken off the box before the turn misses the turned face's
        // edges by a pixel here and there.
        if (Is3D && FDraw3D && Style == psRectangle)
            face = AtDepth(Canvas, {TPoint(L, T), TPoint(R, T), TPoint(R, B), TPoint(L, B)}, true, z0);
        // The gradient fills the square or the circle inside its frame, which stays whole.
        const TRect inside = Style == psRectangle ? TRect(L + frame, T + frame, R + 1 - frame, B + 1 - frame)
                                                  : TRect(L + frame, T + frame, R - frame, B - frame);
        FillGradient(Canvas, Style, inside, face, Is3D, z0, Color);
    }
}
