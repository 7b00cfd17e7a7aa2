// The shape series: its two points, the figure's rectangle in each way of
// reading them, the figures flat and in 3D, the text inside, the click test,
// the gallery variants and sample points.
#include "chart/series/zuzshape.h"

#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzfont.h"
#include "chart/canvas/zuzgeometry.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/engine/seriestypes.h"
#include "platform/core/lists.h"

#include <algorithm>
#include <cmath>
#include <vector>

template <>
const EnumInfo& EnumInfoOf<TChartShapeStyle>() {
    static const EnumInfo info{"TChartShapeStyle",
                               {"chasRectangle", "chasCircle", "chasVertLine", "chasHorizLine",
                                "chasTriangle", "chasInvertTriangle", "chasLine", "chasDiamond", "chasCube",
                                "chasCross", "chasDiagCross", "chasStar", "chasPyramid",
                                "chasInvertPyramid"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TChartShapeXYStyle>() {
    static const EnumInfo info{"TChartShapeXYStyle", {"xysPixels", "xysAxis", "xysAxisOrigin"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TZuzVertAlign>() {
    static const EnumInfo info{"TZuzVertAlign", {"vaTop", "vaCenter", "vaBottom"}};
    return info;
}

const ClassInfo& TChartShape::StaticClass() {
    using C = TChartShape;
    static const PropInfo props[] = {
        MakeProp<&C::GetAlignment, &C::SetAlignment>("Alignment").Default(taCenter),
        MakeProp<&C::GetBrush, &C::SetBrush>("Brush"),
        MakeProp<&C::GetFont, &C::SetFont>("Font"),
        MakeProp<&C::GetGradient, &C::SetGradient>("Gradient"),
        MakeProp<&C::GetPen, &C::SetPen>("Pen"),
        MakeProp<&C::GetRoundRectangle, &C::SetRoundRectangle>("RoundRectangle").Default(0),
        MakeProp<&C::GetStyle, &C::SetStyle>("Style").Default(chasCircle),
        MakeProp<&C::GetText, &C::SetText>("Text"),
        MakeProp<&C::GetTransparency, &C::SetTransparency>("Transparency").Default(0),
        MakeProp<&C::GetTransparent, &C::SetTransparent>("Transparent").Default(0),
        MakeProp<&C::GetVertAlign, &C::SetVertAlign>("VertAlign").Default(vaCenter),
        MakeProp<&C::StreamedX0, &C::SetX0>("X0").Stored<&C::HasPoint0>(),
        MakeProp<&C::StreamedX1, &C::SetX1>("X1").Stored<&C::HasPoint1>(),
        MakeProp<&C::GetXYStyle, &C::SetXYStyle>("XYStyle").Default(xysAxis),
        MakeProp<&C::StreamedY0, &C::SetY0>("Y0").Stored<&C::HasPoint0>(),
        MakeProp<&C::StreamedY1, &C::SetY1>("Y1").Stored<&C::HasPoint1>(),
    };
    static const ClassInfo info = MakeClassInfo<C>("TChartShape", &TChartSeries::StaticClass(), props);
    return info;
}

TChartShape::TChartShape(TComponent* AOwner) : TChartSeries(AOwner), FText(std::make_unique<TStringList>()) {
    CalcVisiblePoints = false;
    GetBrush()->SetColor(clWhite);
    TNotifyEvent changed;
    changed.Bind([this](TObject* Sender) { CanvasChanged(Sender); });
    FFont.reset(Create<TZuzFont>(changed));
    FGradient.reset(Create<TZuzGradient>(changed));
    FText->OnChange.Bind([this](TObject*) { Repaint(); });
    SetSeriesColor(GetBrush()->GetColor());
    AddDefaultPoints();
}

TChartShape::~TChartShape() {
    FText->OnChange = {};
}

void TChartShape::Assign(TPersistent* Source) {
    if (auto* s = dynamic_cast<TChartShape*>(Source)) {
        FAlignment = s->FAlignment;
        FFont->Assign(s->FFont.get());
        FGradient->Assign(s->FGradient.get());
        FRoundRectangle = s->FRoundRectangle;
        FStyle = s->FStyle;
        FText->Assign(s->FText.get());
        FTransparency = s->FTransparency;
        FTransparent = s->FTransparent;
        FVertAlign = s->FVertAlign;
        FXYStyle = s->FXYStyle;
    }
    TChartSeries::Assign(Source);
}

void TChartShape::AddDefaultPoints() {
    AddXY(0, 0);
    AddXY(100, 100);
}

void TChartShape::EnsurePoints(int Needed) {
    // The corners are points 0 and 1 by position: a corner added goes last,
    // not sorted in front of one already set.
    const TChartListOrder order = GetXValues()->GetOrder();
    GetXValues()->SetOrder(loNone);
    while (Count() < Needed) AddXY(0, 0);
    GetXValues()->SetOrder(order);
}

double TChartShape::GetX0() {
    EnsurePoints(1);
    return GetXValues()->GetValue(0);
}

double TChartShape::GetY0() {
    EnsurePoints(1);
    return GetYValues()->GetValue(0);
}

double TChartShape::GetX1() {
    EnsurePoints(2);
    return GetXValues()->GetValue(1);
}

double TChartShape::GetY1() {
    EnsurePoints(2);
    return GetYValues()->GetValue(1);
}

double TChartShape::PointValue(int Index, bool IsX) const {
    if (Index >= Count()) return 0;
    return (IsX ? GetXValues() : GetYValues())->GetValue(Index);
}

void TChartShape::SetPointValue(int Index, bool IsX, double Value) {
    EnsurePoints(Index + 1);
    (IsX ? GetXValues() : GetYValues())->SetValue(Index, Value);
    // Points set by hand are the shape's own and go with the chart.
    SetManualData(true);
    Repaint();
}

void TChartShape::SetShapeRectangle(const TRect& Rect) {
    SetXYStyle(xysPixels);
    SetX0(Rect.Left);
    SetY0(Rect.Top);
    SetX1(Rect.Right);
    SetY1(Rect.Bottom);
}

TStrings* TChartShape::GetText() const {
    return FText.get();
}

void TChartShape::SetText(TStrings* Value) {
    FText->Assign(Value);
    Repaint();
}

void TChartShape::SetFont(TZuzFont* Value) {
    FFont->Assign(Value);
}

void TChartShape::SetGradient(TZuzGradient* Value) {
    FGradient->Assign(Value);
}

void TChartShape::SetSeriesColor(TColor Color) {
    TChartSeries::SetSeriesColor(Color);
    GetBrush()->SetColor(Color);
}

void TChartShape::CalcZOrder() {
    if (UseAxis()) TChartSeries::CalcZOrder();
}

TRect TChartShape::GetShapeRectangle() const {
    if (Count() < 2) return {};
    const double x0 = GetXValues()->GetValue(0), y0 = GetYValues()->GetValue(0);
    const double x1 = GetXValues()->GetValue(1), y1 = GetYValues()->GetValue(1);
    switch (FXYStyle) {
    case xysPixels:
        return {static_cast<int>(Trunc(x0)), static_cast<int>(Trunc(y0)), static_cast<int>(Trunc(x1)),
                static_cast<int>(Trunc(y1))};
    case xysAxisOrigin: {
        const int left = CalcXPos(0), top = CalcYPos(0);
        return {left, top, left + static_cast<int>(Trunc(x1)), top + static_cast<int>(Trunc(y1))};
    }
    default:
        return {CalcXPos(0), CalcYPos(0), CalcXPos(1), CalcYPos(1)};
    }
}

TRect TChartShape::AdjustedRectangle() const {
    TRect r = OrientRectangle(GetShapeRectangle());
    if (r.Right == r.Left) ++r.Right;
    if (r.Bottom == r.Top) ++r.Bottom;
    return r;
}

void TChartShape::DrawValue(int ValueIndex) {
    ISeriesChart* chart = GetParentChart();
    TCanvas3D* canvas = chart ? chart->GetCanvas() : nullptr;
    if (!canvas || ValueIndex != 0 || Count() != 2) return;
    const TRect r = AdjustedRectangle();
    TRect common;
    if (!IntersectRect(common, r, chart->GetChartRect())) return;
    const bool is3D = chart->GetView3D() && FXYStyle != xysPixels;
    Owned<TZuzBlend> blend;
    if (FTransparency > 0) {
        TRect area = r;
        if (is3D) {
            // A solid spans its depth, and a turned view tilts even a flat figure: the box
            // of every corner holds all of it.
            std::vector<TPoint> corners;
            for (const int z : {StartZ, MiddleZ, EndZ})
                for (const TPoint p : {TPoint{r.Left, r.Top}, TPoint{r.Right, r.Top},
                                       TPoint{r.Left, r.Bottom}, TPoint{r.Right, r.Bottom}})
                    corners.push_back(canvas->Calculate3DPosition(p, z));
            area = RectFromPolygon(corners);
        }
        // The outline runs on the rectangle's last column and row and spreads with its
        // width: all of it is blended, or the figure keeps a solid edge on two sides.
        const int half = GetPen()->GetVisible() ? GetPen()->GetWidth() / 2 : 0;
        area = TRect(area.Left - half, area.Top - half, area.Right + half + 1, area.Bottom + half + 1);
        blend = canvas->BeginBlending(area, FTransparency);
    }
    // A line keeps the direction its points give it.
    DrawShape(is3D, FStyle == chasLine ? GetShapeRectangle() : r);
    DrawText(r);
    if (blend) canvas->EndBlending(std::move(blend));
}

void TChartShape::FillGradient(bool Is3D, const TRect& Rect) {
    TCanvas3D* canvas = GetParentChart()->GetCanvas();
    TRect area = Rect;
    if (Is3D) {
        const TPoint a = canvas->Calculate3DPosition(Rect.Left, Rect.Top, MiddleZ);
        const TPoint b = canvas->Calculate3DPosition(Rect.Right, Rect.Bottom, MiddleZ);
        area = TRect(a.X, a.Y, b.X, b.Y);
    }
    const bool round = FStyle == chasCircle;
    if (round) canvas->ClipEllipse(area, false);
    FGradient->Draw(canvas, area);
    if (round) canvas->UnClipRectangle();
    // The figure is only outlined over the gradient.
    canvas->Brush->SetStyle(bsClear);
}

void TChartShape::DrawShape(bool Is3D, const TRect& Rect) {
    ISeriesChart* chart = GetParentChart();
    TCanvas3D* canvas = chart ? chart->GetCanvas() : nullptr;
    if (!canvas) return;
    const int l = Rect.Left, t = Rect.Top, r = Rect.Right, b = Rect.Bottom;
    const int cx = (l + r) / 2, cy = (t + b) / 2;
    const int z = MiddleZ;

    canvas->AssignVisiblePen(GetPen());
    const TColor brushColor = GetBrush()->GetColor();
    if (FTransparent) {
        canvas->Brush->SetStyle(bsClear);
    } else if (brushColor == clZuzColor) {
        const int index = chart->SeriesIndexOf(this);
        canvas->AssignBrush(GetBrush(), chart->GetDefaultColor(index), GetSeriesColor());
    } else {
        canvas->AssignBrush(GetBrush(), GetSeriesColor(), brushColor);
    }
    canvas->SetBackMode(brushColor == clNone ? cbmTransparent : cbmOpaque);
    const bool gradient = !FTransparent && FGradient->GetVisible();

    switch (FStyle) {
    case chasRectangle:
        if (Is3D) {
            if (gradient) FillGradient(true, Rect);
            canvas->RectangleWithZ(Rect, z);
        } else if (FRoundRectangle) {
            canvas->RoundRect(l, t, r, b, 12, 12);
        } else {
            if (gradient) FillGradient(false, Rect);
            canvas->Rectangle(l, t, r + 1, b + 1);
        }
        break;
    case chasCircle:
        if (gradient) FillGradient(Is3D, Rect);
        if (Is3D)
            canvas->EllipseWithZ(l, t, r, b, z);
        else
            canvas->Ellipse(l, t, r, b);
        break;
    case chasVertLine:
        if (Is3D)
            canvas->VertLine3D(cx, t, b, z);
        else
            canvas->DoVertLine(cx, t, b);
        break;
    case chasHorizLine:
        if (Is3D)
            canvas->HorizLine3D(l, r, cy, z);
        else
            canvas->DoHorizLine(l, r + 1, cy);
        break;
    case chasTriangle:
    case chasInvertTriangle:
    case chasPyramid:
    case chasInvertPyramid: {
        const bool up = FStyle == chasTriangle || FStyle == chasPyramid;
        const bool solid = FStyle == chasPyramid || FStyle == chasInvertPyramid;
        if (Is3D && solid) {
            canvas->Pyramid(true, l, up ? t : b, r, up ? b : t, StartZ, EndZ, !FTransparent);
        } else {
            const TPoint p0{l, up ? b : t}, p1{cx, up ? t : b}, p2{r, up ? b : t};
            if (Is3D) {
                canvas->TriangleWithZ(p0, p1, p2, z);
            } else {
                const TPoint points[] = {p0, p1, p2};
                canvas->Polygon(points);
            }
        }
        break;
    }
    case chasLine:
        if (Is3D)
            canvas->LineWithZ(l, t, r, b, z);
        else
            canvas->Line(l, t, r, b);
        break;
    case chasDiamond: {
        const TPoint points[] = {{l, cy}, {cx, t}, {r, cy}, {cx, b}};
        if (Is3D)
            canvas->PlaneWithZ(points[0], points[1], points[2], points[3], z);
        else
            canvas->Polygon(points);
        break;
    }
    case chasCube:
        if (Is3D)
            canvas->Cube(l, r, t, b, StartZ, EndZ, !FTransparent);
        else
            canvas->Rectangle(l, t, r, b);
        break;
    case chasCross:
    case chasDiagCross:
    case chasStar:
        if (FStyle != chasDiagCross) {
            if (Is3D) {
                canvas->VertLine3D(cx, t, b, z);
                canvas->HorizLine3D(l, r, cy, z);
            } else {
                canvas->DoVertLine(cx, t, b + 1);
                canvas->DoHorizLine(l, r + 1, cy);
            }
        }
        if (FStyle != chasCross) {
            if (Is3D) {
                canvas->LineWithZ(l, t, r, b, z);
                canvas->LineWithZ(l, b, r, t, z);
            } else {
                canvas->Line(l, t, r + 1, b + 1);
                canvas->Line(l, b, r + 1, t - 1);
            }
        }
        break;
    }
}

void TChartShape::DrawText(const TRect& Rect) {
    const int lines = FText->GetCount();
    ISeriesChart* chart = GetParentChart();
    TCanvas3D* canvas = chart ? chart->GetCanvas() : nullptr;
    if (!canvas || lines == 0) return;
    canvas->AssignFont(FFont.get());
    // Text in the fill's own colour would vanish.
    const TColor fill = canvas->Brush->GetColor();
    if (canvas->Font->GetColor() == fill) canvas->Font->SetColor(fill == clBlack ? clWhite : clBlack);
    const int h = canvas->TextHeight(u"W");
    const int cx = (Rect.Left + Rect.Right) / 2, cy = (Rect.Top + Rect.Bottom) / 2;
    int y = FVertAlign == vaTop      ? Rect.Top
            : FVertAlign == vaCenter ? cy - static_cast<int>(Round(lines * h / 2.0))
                                     : Rect.Bottom - lines * h;
    canvas->SetBackMode(cbmTransparent);
    const int penWidth = GetPen()->GetWidth();
    for (int i = 0; i < lines; ++i) {
        const String line = FText->GetStrings(i);
        const int w = canvas->TextWidth(line);
        const int x = FAlignment == taLeftJustify ? Rect.Left + penWidth + 4
                      : FAlignment == taCenter    ? cx - w / 2
                                                  : Rect.Right - penWidth - w - 4;
        canvas->SetTextAlign(TA_LEFT);
        if (FXYStyle == xysPixels)
            canvas->TextOut(x, y, line);
        else
            canvas->TextOut3D(x, y, StartZ, line);
        y += h;
    }
}

void TChartShape::DrawLegendShape(int, const TRect& Rect) {
    DrawShape(false, Rect);
}

int TChartShape::Clicked(int X, int Y) {
    if (ClippedAway(X, Y)) return -1;
    ISeriesChart* chart = GetParentChart();
    if (!chart || Count() < 2) return -1;
    if (TCanvas3D* canvas = chart->GetCanvas()) canvas->Calculate2DPosition(X, Y, StartZ);
    const TRect s = GetShapeRectangle();
    const TRect r = OrientRectangle(s);
    const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    const TPoint p{X, Y};
    bool hit;
    switch (FStyle) {
    case chasCircle:
        hit = PointInEllipse(p, r);
        break;
    case chasVertLine:
        hit = PointInLine(p, cx, r.Top, cx, r.Bottom);
        break;
    case chasHorizLine:
        hit = PointInLine(p, r.Left, cy, r.Right, cy);
        break;
    case chasTriangle:
    case chasPyramid:
        hit = PointInTriangle(p, {r.Left, r.Bottom}, {cx, r.Top}, {r.Right, r.Bottom});
        break;
    case chasInvertTriangle:
    case chasInvertPyramid:
        hit = PointInTriangle(p, {r.Left, r.Top}, {cx, r.Bottom}, {r.Right, r.Top});
        break;
    case chasLine:
        hit = PointInLine(p, s.Left, s.Top, s.Right, s.Bottom);
        break;
    case chasDiamond: {
        const TPoint points[] = {{r.Left, cy}, {cx, r.Top}, {r.Right, cy}, {cx, r.Bottom}};
        hit = PointInPolygon(p, points, 3);
        break;
    }
    default:
        hit = PointInRect(r, X, Y);
    }
    return hit ? 0 : -1;
}

void TChartShape::CreateSubGallery(const std::function<void(const String&)>& AddSubChart) {
    TChartSeries::CreateSubGallery(AddSubChart);
    for (const String* text :
         {&VavIve_Rectangle, &VavIve_VertLine, &VavIve_HorizLine, &VavIve_Ellipse, &VavIve_DownTri,
          &VavIve_Line, &VavIve_Diamond, &VavIve_Cube, &VavIve_Cross, &VavIve_DiagCross, &VavIve_Star,
          &VavIve_Pyramid, &VavIve_InvPyramid, &VavIve_Hollow})
        AddSubChart(*text);
}

void TChartShape::SetSubGallery(TChartSeries* Series, int Index) {
    auto* s = dynamic_cast<TChartShape*>(Series);
    if (!s) return;
    static const TChartShapeStyle styles[] = {chasRectangle,      chasVertLine,  chasHorizLine, chasCircle,
                                              chasInvertTriangle, chasLine,      chasDiamond,   chasCube,
                                              chasCross,          chasDiagCross, chasStar,      chasPyramid,
                                              chasInvertPyramid};
    if (Index >= 1 && Index <= 13)
        s->SetStyle(styles[Index - 1]);
    else if (Index == 14)
        s->SetTransparent(!s->GetTransparent());
}

void TChartShape::AddSampleValues(int, bool) {
    const TSampleBounds b = RandomBounds(1);
    if (b.XStep == 0) {
        AddDefaultPoints();
        return;
    }
    AddXY(b.NextX + b.XStep / 8, b.CurrentY / 2);
    AddXY(b.NextX + b.XStep - b.XStep / 8, b.CurrentY + RandomValue(static_cast<int>(Round(b.RangeY))));
}

void TChartShape::PrepareForGallery(bool IsEnabled) {
    TChartSeries::PrepareForGallery(IsEnabled);
    FFont->SetColor(IsEnabled ? TColor(0x00FFFF) : TColor(0x808080));
    FFont->SetStyle(FFont->GetStyle() + fsBold);
    FFont->SetSize(12);
    FText->Clear();
    ISeriesChart* chart = GetParentChart();
    const bool second = chart && chart->SeriesCount() >= 2 && chart->GetSeries(1) == this;
    if (!second) {
        SetStyle(chasTriangle);
        FText->Add(VavIve_ShapeGallery2);
    } else {
        SetStyle(chasCircle);
        FText->Add(VavIve_ShapeGallery1);
    }
    GetBrush()->SetColor(IsEnabled ? clZuzColor : TColor(0xC0C0C0));
}

bool TChartShape::IsValidSourceOf(TChartSeries* Series) const {
    return dynamic_cast<TChartShape*>(Series) != nullptr;
}

void ZuzShapeInitialization() {
    RegisterZuzSeries(&TChartShape::StaticClass(), &VavIve_GalleryShape, &VavIve_GalleryStandard, 2);
}

void ZuzShapeFinalization() {
    UnRegisterZuzSeries({&TChartShape::StaticClass()});
}
