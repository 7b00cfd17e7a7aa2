// The arrow series: its end-point lists, the arrow drawing, the extent over
// both ends, the click along the shaft, and sample arrows.
#include "chart/series/arrowcha.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzgeometry.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/seriestypes.h"

#include <algorithm>
#include <array>
#include <cmath>

const ClassInfo& TArrowSeries::StaticClass() {
    using C = TArrowSeries;
    static const PropInfo props[] = {
        MakeProp<&C::GetArrowHeight, &C::SetArrowHeight>("ArrowHeight").Stored(false),
        MakeProp<&C::GetArrowPercent, &C::SetArrowPercent>("ArrowPercent").Default(50),
        MakeProp<&C::GetArrowWidth, &C::SetArrowWidth>("ArrowWidth").Stored(false),
        MakeProp<&C::GetEndXValues, &C::SetEndXValues>("EndXValues"),
        MakeProp<&C::GetEndYValues, &C::SetEndYValues>("EndYValues"),
        MakeProp<&C::GetStartXValues, &C::SetStartXValues>("StartXValues"),
        MakeProp<&C::GetStartYValues, &C::SetStartYValues>("StartYValues"),
    };
    static const ClassInfo info = MakeClassInfo<C>("TArrowSeries", &TPointSeries::StaticClass(), props);
    return info;
}

TArrowSeries::TArrowSeries(TComponent* AOwner)
    : TPointSeries(AOwner), FEndXValues(new TChartValueList(this, VavIve_ValuesArrowEndX)),
      FEndYValues(new TChartValueList(this, VavIve_ValuesArrowEndY)) {
    CalcVisiblePoints = false;
    GetXValues()->InitDateTime(true);
    FEndXValues->InitDateTime(true);
    GetPointer()->DefaultInflateMargins = false;
    GetPointer()->SetInflateMargins(false);
    // Its marks start clear and unframed, so that is theirs to leave unwritten, and opaque or
    // framed is written.
    GetMarks()->GetFrame()->DefaultVisible = false;
    GetMarks()->GetFrame()->SetVisible(false);
    GetMarks()->DefaultTransparent = true;
    GetMarks()->SetTransparent(true);
}

int TArrowSeries::AddArrow(double X0, double Y0, double X1, double Y1, const String& Label, TColor Color) {
    FEndXValues->TempValue = X1;
    FEndYValues->TempValue = Y1;
    return AddXY(X0, Y0, Label, Color);
}

void TArrowSeries::GetArrowPoints(int ValueIndex, TPoint& From, TPoint& To) const {
    From = {CalcXPos(ValueIndex), CalcYPos(ValueIndex)};
    To = {CalcXPosValue(FEndXValues->GetValue(ValueIndex)), CalcYPosValue(FEndYValues->GetValue(ValueIndex))};
}

void TArrowSeries::DrawValue(int ValueIndex) {
    ISeriesChart* chart = GetParentChart();
    TCanvas3D* canvas = chart ? chart->GetCanvas() : nullptr;
    if (!canvas || ValueIndex < 0 || ValueIndex >= Count()) return;
    TPoint from, to;
    GetArrowPoints(ValueIndex, from, to);
    // An arrow without length has no direction to point its head in.
    if (from == to) return;
    const TColor color = GetValueColor(ValueIndex);
    TSeriesPointer* p = GetPointer();
    const bool is3D = chart->GetView3D();
    if (is3D)
        p->PrepareCanvas(canvas, color);
    else
        canvas->AssignVisiblePenColor(p->GetPen(), color);
    canvas->Arrow(is3D, from, to, p->GetHorizSize(), p->GetVertSize(), MiddleZ, FArrowPercent);
}

double TArrowSeries::MaxXValue() const {
    return std::max(TPointSeries::MaxXValue(), FEndXValues->GetMaxValue());
}

double TArrowSeries::MinXValue() const {
    return std::min(TPointSeries::MinXValue(), FEndXValues->GetMinValue());
}

double TArrowSeries::MaxYValue() const {
    return std::max(TPointSeries::MaxYValue(), FEndYValues->GetMaxValue());
}

double TArrowSeries::MinYValue() const {
    return std::min(TPointSeries::MinYValue(), FEndYValues->GetMinValue());
}

namespace {
// The filled arrow a 3D chart draws from From to To, as the canvas lays it out before it turns
// it into the view: a shaft as wide as the head's percent, and the head.
std::array<TPoint, 7> FilledArrow(TPoint From, TPoint To, int HeadWidth, int HeadHeight, int Percent) {
    const double dx = static_cast<double>(To.X) - From.X, dy = static_cast<double>(From.Y) - To.Y;
    const double l = std::sqrt(dx * dx + dy * dy);
    const double h = std::min(HeadHeight, ZuzRound(l));
    const double s = dy / l, c = dx / l;
    auto back = [&](double U, double V) { return TPoint(ZuzRound(U * c + V * s), ZuzRound(-U * s + V * c)); };
    const double uT = To.X * c - To.Y * s, vT = To.X * s + To.Y * c, uF = From.X * c - From.Y * s;
    const double half = HeadWidth * 0.5, w = HeadWidth * 0.005 * Percent;
    return {back(uF, vT + w),        back(uF, vT - w),    back(uT - h, vT - w), back(uT - h, vT - half), To,
            back(uT - h, vT + half), back(uT - h, vT + w)};
}
} // namespace

int TArrowSeries::Clicked(int X, int Y) {
    if (ClippedAway(X, Y)) return -1;
    ISeriesChart* chart = GetParentChart();
    if (!chart) return -1;
    // In 3D the arrows stand at the middle of the series' depth, where they are drawn, and are
    // filled: a click anywhere on one finds it, not only along its middle line.
    const bool filled = chart->GetView3D() && chart->GetCanvas();
    if (filled) chart->GetCanvas()->Calculate2DPosition(X, Y, MiddleZ);
    const int width = GetPen()->GetWidth();
    for (int i = 0; i < Count(); ++i) {
        TPoint from, to;
        GetArrowPoints(i, from, to);
        if (PointInLine({X, Y}, from, to, width)) return i;
        if (filled && from != to) {
            const std::array<TPoint, 7> shape = FilledArrow(from, to, GetPointer()->GetHorizSize(),
                                                            GetPointer()->GetVertSize(), FArrowPercent);
            if (PointInPolygon({X, Y}, shape.data(), 6)) return i;
        }
    }
    return -1;
}

void TArrowSeries::AddSampleValues(int NumValues, bool) {
    const TSampleBounds b = RandomBounds(NumValues);
    const int w = static_cast<int>(Round(NumValues * b.XStep));
    const int h = static_cast<int>(Round(b.RangeY));
    for (int i = 0; i < NumValues; ++i) {
        const double x0 = b.NextX + RandomValue(w);
        const double y0 = b.LowY + RandomValue(h);
        const double x1 = x0 + RandomValue(w);
        const double y1 = y0 + RandomValue(h);
        AddArrow(x0, y0, x1, y1);
    }
}

void TArrowSeries::PrepareForGallery(bool IsEnabled) {
    TPointSeries::PrepareForGallery(IsEnabled);
    FillSampleValues(3);
    SetArrowWidth(12);
    SetArrowHeight(12);
    if (!IsEnabled) SetSeriesColor(static_cast<TColor>(0xC0C0C0));
}

bool TArrowSeries::IsValidSourceOf(TChartSeries* Series) const {
    return dynamic_cast<TArrowSeries*>(Series) != nullptr;
}

void ArrowChaInitialization() {
    RegisterZuzSeries(&TArrowSeries::StaticClass(), &VavIve_GalleryArrow, &VavIve_GalleryExtended, 2);
}

void ArrowChaFinalization() {
    UnRegisterZuzSeries({&TArrowSeries::StaticClass()});
}
