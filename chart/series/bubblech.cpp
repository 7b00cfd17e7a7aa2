// The bubble series: pointer sizes from the radius in axis units, the extent
// over every bubble's top and bottom, the click inside the bubble's figure,
// and sample bubbles.
#include "chart/series/bubblech.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzgeometry.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/seriestypes.h"

#include <algorithm>
#include <cmath>

const ClassInfo& TBubbleSeries::StaticClass() {
    using C = TBubbleSeries;
    static const PropInfo props[] = {
        // Made with a colour per bubble: only turning that off is written.
        MakeProp<&C::GetColorEachPoint, &C::SetColorEachPoint>("ColorEachPoint").Default(1),
        MakeProp<&C::GetRadiusValues, &C::SetRadiusValues>("RadiusValues"),
        MakeProp<&C::GetSquared, &C::SetSquared>("Squared").Default(1),
    };
    static const ClassInfo info = MakeClassInfo<C>("TBubbleSeries", &TPointSeries::StaticClass(), props);
    return info;
}

TBubbleSeries::TBubbleSeries(TComponent* AOwner)
    : TPointSeries(AOwner), FRadiusValues(new TChartValueList(this, VavIve_ValuesBubbleRadius)) {
    GetPointer()->DefaultInflateMargins = false;
    GetPointer()->SetInflateMargins(false);
    GetPointer()->SetStyle(psCircle);
    // A bubble's size is its radius, not the pointer's.
    GetPointer()->AllowChangeSize = false;
    // Its marks start clear and unframed, so that is theirs to leave unwritten, and opaque or
    // framed is written.
    GetMarks()->GetFrame()->DefaultVisible = false;
    GetMarks()->GetFrame()->SetVisible(false);
    GetMarks()->DefaultTransparent = true;
    GetMarks()->SetTransparent(true);
    SetColorEachPoint(true);
    DrawBetweenPoints = false;
}

void TBubbleSeries::Assign(TPersistent* Source) {
    if (auto* s = dynamic_cast<TBubbleSeries*>(Source)) FSquared = s->FSquared;
    TPointSeries::Assign(Source);
}

int TBubbleSeries::AddBubble(double X, double Y, double Radius, const String& Label, TColor Color) {
    FRadiusValues->TempValue = Radius;
    return AddXY(X, Y, Label, Color);
}

void TBubbleSeries::PointerSizes(int ValueIndex, int& HorizSize, int& VertSize) const {
    const double r = FRadiusValues->GetValue(ValueIndex);
    const TChartAxis* vert = GetVertAxisObject();
    const TChartAxis* horiz = GetHorizAxisObject();
    // However small the radius, the bubble shows as a dot that a click can find.
    VertSize = std::max(1, vert ? vert->CalcSizeValue(r) : 0);
    HorizSize = FSquared || !horiz ? VertSize : std::max(1, horiz->CalcSizeValue(r));
}

void TBubbleSeries::ApplyPointerSizes(int ValueIndex) const {
    int h = 0, v = 0;
    PointerSizes(ValueIndex, h, v);
    GetPointer()->ChangeHorizSize(h);
    GetPointer()->ChangeVertSize(v);
}

namespace {

// A bubble's sizes serve the one point they were made for: the pointer gets
// its own back afterwards, so what a chart file keeps does not hang on which
// bubble was drawn last.
class TKeptPointerSizes {
public:
    explicit TKeptPointerSizes(TSeriesPointer* Pointer)
        : FPointer(Pointer), FHorizSize(Pointer->GetHorizSize()), FVertSize(Pointer->GetVertSize()) {}
    ~TKeptPointerSizes() {
        FPointer->ChangeHorizSize(FHorizSize);
        FPointer->ChangeVertSize(FVertSize);
    }
    TKeptPointerSizes(const TKeptPointerSizes&) = delete;
    TKeptPointerSizes& operator=(const TKeptPointerSizes&) = delete;

private:
    TSeriesPointer* FPointer;
    int FHorizSize;
    int FVertSize;
};

} // namespace

void TBubbleSeries::PreparePointer(int ValueIndex) {
    ApplyPointerSizes(ValueIndex);
}

void TBubbleSeries::DrawValue(int ValueIndex) {
    // A null point draws no bubble (its colour is no colour at all).
    if (ValueIndex < 0 || ValueIndex >= Count() || IsNull(ValueIndex)) return;
    const TKeptPointerSizes kept(GetPointer());
    PreparePointer(ValueIndex);
    DrawPointer(CalcXPos(ValueIndex), CalcYPos(ValueIndex), GetValueColor(ValueIndex), ValueIndex);
}

bool TBubbleSeries::IsPointInChartRect(int ValueIndex) const {
    if (ValueIndex < 0 || ValueIndex >= Count()) return false;
    const TKeptPointerSizes kept(GetPointer());
    ApplyPointerSizes(ValueIndex);
    return TPointSeries::IsPointInChartRect(ValueIndex);
}

void TBubbleSeries::DrawLegendShape(int ValueIndex, const TRect& Rect) {
    const int size = std::min(Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
    const TKeptPointerSizes kept(GetPointer());
    GetPointer()->ChangeHorizSize(size);
    GetPointer()->ChangeVertSize(size);
    TPointSeries::DrawLegendShape(ValueIndex, Rect);
}

double TBubbleSeries::MaxYValue() const {
    double result = TPointSeries::MaxYValue();
    for (int i = 0; i < Count(); ++i)
        result = std::max(result, GetYValues()->GetValue(i) + FRadiusValues->GetValue(i));
    return result;
}

double TBubbleSeries::MinYValue() const {
    double result = TPointSeries::MinYValue();
    for (int i = 0; i < Count(); ++i)
        result = std::min(result, GetYValues()->GetValue(i) - FRadiusValues->GetValue(i));
    return result;
}

double TBubbleSeries::MaxZValue() const {
    if (!GetPointer()->GetDraw3D()) return TPointSeries::MaxZValue();
    return FRadiusValues->GetMaxValue();
}

double TBubbleSeries::MinZValue() const {
    if (!GetPointer()->GetDraw3D()) return TPointSeries::MinZValue();
    return -FRadiusValues->GetMaxValue();
}

bool TBubbleSeries::ClickedPointer(int ValueIndex, int PointX, int PointY, int X, int Y) {
    if (ValueIndex < 0 || ValueIndex >= Count()) return false;
    const TKeptPointerSizes kept(GetPointer());
    PreparePointer(ValueIndex);
    const int h = GetPointer()->GetHorizSize(), v = GetPointer()->GetVertSize();
    const TSeriesPointerStyle style = DoGetPointerStyle(ValueIndex);
    const TRect r(PointX - h, PointY - v, PointX + h, PointY + v);
    const int cx = PointX, cy = PointY;
    const TPoint p{X, Y};
    switch (style) {
    case psCircle:
    case psHexagon:
        return PointInEllipse(p, r);
    case psTriangle:
        return PointInTriangle(p, {r.Left, r.Bottom}, {cx, r.Top}, {r.Right, r.Bottom});
    case psDownTriangle:
        return PointInTriangle(p, {r.Left, r.Top}, {cx, r.Bottom}, {r.Right, r.Top});
    case psDiamond: {
        const TPoint points[] = {{cx, r.Top}, {r.Right, cy}, {cx, r.Bottom}, {r.Left, cy}};
        return PointInPolygon(p, points, 3);
    }
    case psLeftTriangle:
        return PointInTriangle(p, {r.Right, r.Top}, {r.Left, cy}, {r.Right, r.Bottom});
    case psRightTriangle:
        return PointInTriangle(p, {r.Left, r.Top}, {r.Right, cy}, {r.Left, r.Bottom});
    case psNothing:
        return false;
    default:
        return std::abs(PointX - X) < h && std::abs(PointY - Y) < v;
    }
}

TRect TBubbleSeries::PointerBox(int ValueIndex, int PointX, int PointY) {
    const TKeptPointerSizes kept(GetPointer());
    return TPointSeries::PointerBox(ValueIndex, PointX, PointY);
}

TZuzGradient* TBubbleSeries::GetGradient() const {
    return GetPointer()->GetGradient();
}

void TBubbleSeries::AddSampleValues(int NumValues, bool) {
    TSampleBounds b = RandomBounds(NumValues);
    const int range = static_cast<int>(Round(b.RangeY));
    for (int i = 0; i < NumValues; ++i) {
        const double y = RandomValue(range);
        const double radius = static_cast<double>(Round(b.RangeY / (10 + RandomValue(15)))) + b.RangeY / 15;
        AddBubble(b.NextX, y, radius);
        b.NextX += b.XStep;
    }
}

void TBubbleSeries::PrepareForGallery(bool IsEnabled) {
    TPointSeries::PrepareForGallery(IsEnabled);
    GetPointer()->GetGradient()->SetVisible(true);
}

bool TBubbleSeries::IsValidSourceOf(TChartSeries* Series) const {
    return dynamic_cast<TBubbleSeries*>(Series) != nullptr;
}

void BubbleChInitialization() {
    RegisterZuzSeries(&TBubbleSeries::StaticClass(), &VavIve_GalleryBubble, &VavIve_GalleryStandard, 1);
}

void BubbleChFinalization() {
    UnRegisterZuzSeries({&TBubbleSeries::StaticClass()});
}
