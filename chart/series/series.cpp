// The line-type series core and the line, horizontal line and point series:
// settings, copying, stacking, extremes, margins, the visible range and the
// click test. Drawing is in series_draw.cpp, registration in series_register.cpp.
#include "chart/series/series.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzgeometry.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/engine/axispanel.h"
#include "chart/engine/chartaxis.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

template <>
const EnumInfo& EnumInfoOf<TCustomSeriesStack>() {
    static const EnumInfo info{"TCustomSeriesStack", {"cssNone", "cssOverlap", "cssStack", "cssStack100"}};
    return info;
}

// ---------------------------------------------------------------------------
// TCustomLineSeries

const ClassInfo& TCustomLineSeries::StaticClass() {
    static const ClassInfo info =
        MakeClassInfo<TCustomLineSeries>("TCustomLineSeries", &TChartSeries::StaticClass());
    return info;
}

void TCustomLineSeries::Assign(TPersistent* Source) {
    if (auto* s = dynamic_cast<TCustomLineSeries*>(Source)) SetTreatNulls(s->GetTreatNulls());
    TChartSeries::Assign(Source);
}

// ---------------------------------------------------------------------------
// TCustomSeries

const ClassInfo& TCustomSeries::StaticClass() {
    static const ClassInfo info =
        MakeClassInfo<TCustomSeries>("TCustomSeries", &TCustomLineSeries::StaticClass());
    return info;
}

TCustomSeries::TCustomSeries(TComponent* AOwner) : TCustomLineSeries(AOwner) {
    TNotifyEvent changed;
    changed.Bind([this](TObject* Sender) { CanvasChanged(Sender); });
    FAreaChartBrush.reset(Create<TChartBrush>(changed));
    FAreaLinesPen.reset(CreateChartPen());
    FOutLine.reset(Create<TChartHiddenPen>(changed));
    FPointer.reset(Create<TSeriesPointer>(this));
    FShadow.reset(Create<TZuzShadow>(changed));
    FShadow->SetSize(0);
    FShadow->InitValues(FShadow->GetColor(), 0);
    FGradient.reset(Create<TZuzGradient>(changed));
    KeepPointBeyondEdge = false;
}

int TCustomSeries::AddXY(double X, double Y, const String& Label, TColor Color) {
    int index = TCustomLineSeries::AddXY(X, Y, Label, Color);
    // Points take their place along the X values; along Y, a horizontal series moves its own.
    if (index < 0 || YMandatory() || GetYValues()->GetOrder() != loAscending) return index;
    while (index > 0 && YValue(index - 1) > Y) {
        SwapValueIndex(index - 1, index);
        --index;
    }
    return index;
}

TCustomSeries::~TCustomSeries() {
    FGradient.reset();
    FAreaChartBrush.reset();
    FAreaLinesPen.reset();
    FShadow.reset();
    FOutLine.reset();
    FPointer.reset();
}

void TCustomSeries::SetAreaChartBrush(TChartBrush* Value) {
    FAreaChartBrush->Assign(Value);
}
TBrushStyle TCustomSeries::GetAreaBrush() const {
    return FAreaChartBrush->GetStyle();
}
void TCustomSeries::SetAreaBrush(TBrushStyle Value) {
    FAreaChartBrush->SetStyle(Value);
}
void TCustomSeries::SetAreaLinesPen(TChartPen* Value) {
    FAreaLinesPen->Assign(Value);
}
TBrushStyle TCustomSeries::GetLineBrush() const {
    return GetBrush()->GetStyle();
}
void TCustomSeries::SetLineBrush(TBrushStyle Value) {
    GetBrush()->SetStyle(Value);
}
void TCustomSeries::SetOutLine(TChartHiddenPen* Value) {
    FOutLine->Assign(Value);
}
void TCustomSeries::SetPointer(TSeriesPointer* Value) {
    FPointer->Assign(Value);
}
void TCustomSeries::SetShadow(TZuzShadow* Value) {
    FShadow->Assign(Value);
}
void TCustomSeries::SetGradient(TZuzGradient* Value) {
    FGradient->Assign(Value);
}

// A percentage: a file's number beyond it would wrap the blend's alpha.
void TCustomSeries::SetTransparency(int Value) {
    Value = std::clamp(Value, 0, 100);
    if (FTransparency == Value) return;
    FTransparency = Value;
    Repaint();
}

void TCustomSeries::SetStacked(TCustomSeriesStack Value) {
    if (FStacked == Value) return;
    FStacked = Value;
    if (ISeriesChart* chart = GetParentChart())
        for (int t = 0; t < chart->SeriesCount(); ++t)
            if (auto* s = dynamic_cast<TCustomSeries*>(chart->GetSeries(t));
                s && s != this && ClassType().InheritsFrom(s->ClassType()))
                s->FStacked = Value;
    Repaint();
}

TColor TCustomSeries::GetAreaBrushColor(TColor Color) const {
    return GetColorEachPoint() || FAreaColor == clZuzColor ? Color : FAreaColor;
}

void TCustomSeries::SetParentChart(ISeriesChart* Value) {
    TCustomLineSeries::SetParentChart(Value);
    FPointer->SetParentChart(Value);
}

void TCustomSeries::Removed() {
    TCustomLineSeries::Removed();
    FPointer->SetParentChart(nullptr);
}

bool TCustomSeries::RaiseClicked() const {
    return TCustomLineSeries::RaiseClicked() || (FPointer->GetVisible() && OnClickPointer);
}

void TCustomSeries::Assign(TPersistent* Source) {
    if (auto* s = dynamic_cast<TCustomSeries*>(Source)) {
        FClickableLine = s->FClickableLine;
        FAreaChartBrush->Assign(s->FAreaChartBrush.get());
        FAreaColor = s->FAreaColor;
        FAreaLinesPen->Assign(s->FAreaLinesPen.get());
        FColorEachLine = s->FColorEachLine;
        FDark3D = s->FDark3D;
        FDrawArea = s->FDrawArea;
        FDrawLine = s->FDrawLine;
        FInvertedStairs = s->FInvertedStairs;
        FLineHeight = s->FLineHeight;
        FPointer->Assign(s->FPointer.get());
        FStacked = s->FStacked;
        FStairs = s->FStairs;
        FOutLine->Assign(s->FOutLine.get());
        FShadow->Assign(s->FShadow.get());
        FTransparency = s->FTransparency;
        FGradient->Assign(s->FGradient.get());
    }
    TCustomLineSeries::Assign(Source);
}

// ---------------------------------------------------------------------------
// Stacking and the origin

double TCustomSeries::PointOrigin(int ValueIndex, bool SumAll) const {
    const ISeriesChart* chart = GetParentChart();
    if (!chart || ValueIndex < 0 || ValueIndex >= Count()) return 0;
    const bool positive = MandatoryValueList()->GetValue(ValueIndex) >= 0;
    double sum = 0;
    for (int t = 0; t < chart->SeriesCount(); ++t) {
        TChartSeries* s = chart->GetSeries(t);
        if (!SumAll && s == this) break;
        const auto* cs = dynamic_cast<const TCustomSeries*>(s);
        if (!cs || !s->GetActive() || !SameClassOrigin(cs) || s->Count() <= ValueIndex) continue;
        const double v = s->GetOriginValue(ValueIndex);
        if (positive ? v > 0 : v < 0) sum += v;
    }
    return sum;
}

int TCustomSeries::CalcStackedPos(int ValueIndex, double Value) const {
    const TChartAxis* axis = MandatoryAxis();
    const int end = axis ? axis->IEndPos : 0;
    const double t = PointOrigin(ValueIndex, false) + Value;
    if (FStacked == cssStack) return std::min(end, CalcPosValue(t));
    const double total = PointOrigin(ValueIndex, true);
    return total == 0 ? end : CalcPosValue(t * 100 / total);
}

int TCustomSeries::GetOriginPos(int ValueIndex) const {
    if (InStack()) return CalcStackedPos(ValueIndex, 0);
    if (YMandatory()) {
        const TChartAxis* v = GetVertAxisObject();
        return !v ? 0 : v->GetInverted() ? v->IStartPos : v->IEndPos;
    }
    const TChartAxis* h = GetHorizAxisObject();
    return !h ? 0 : h->GetInverted() ? h->IEndPos : h->IStartPos;
}

int TCustomSeries::CalcXPos(int ValueIndex) const {
    if (!YMandatory() && InStack()) return CalcStackedPos(ValueIndex, XValue(ValueIndex));
    return TCustomLineSeries::CalcXPos(ValueIndex);
}

int TCustomSeries::CalcYPos(int ValueIndex) const {
    if (YMandatory() && InStack()) return CalcStackedPos(ValueIndex, YValue(ValueIndex));
    return TCustomLineSeries::CalcYPos(ValueIndex);
}

void TCustomSeries::CalcZOrder() {
    ISeriesChart* chart = GetParentChart();
    // Stacked series share one depth: the first of them takes a slot.
    if (FStacked == cssNone || !chart || chart->GetMaxZOrder() < 0) {
        TCustomLineSeries::CalcZOrder();
        return;
    }
    IZOrder = chart->GetMaxZOrder();
}

// ---------------------------------------------------------------------------
// Extremes

double TCustomSeries::CalcMinMaxValue(bool IsMin) const {
    const TChartValueList* list = MandatoryValueList();
    if (Count() == 0) return 0;
    // Without point colours no point is null.
    if (!HasColorList() || GetTreatNulls() == tnIgnore)
        return IsMin ? list->GetMinValue() : list->GetMaxValue();
    bool any = false;
    double r = 0;
    for (int i = 0; i < Count(); ++i) {
        if (IsNull(i)) continue;
        const double v = list->GetValue(i);
        if (!any || (IsMin ? v < r : v > r)) r = v;
        any = true;
    }
    return r;
}

double TCustomSeries::MaxYValue() const {
    if (!YMandatory()) {
        double r = TCustomLineSeries::MaxYValue();
        return r;
    }
    if (FStacked == cssStack100) return 100;
    double r = CalcMinMaxValue(false);
    if (FStacked == cssStack)
        for (int i = 0; i < Count(); ++i) r = std::max(r, PointOrigin(i, false) + YValue(i));
    return r;
}

double TCustomSeries::MinYValue() const {
    if (!YMandatory()) {
        double r = TCustomLineSeries::MinYValue();
        if (FStacked == cssStack)
            for (int i = 0; i < Count(); ++i) r = std::min(r, PointOrigin(i, false) + YValue(i));
        return r;
    }
    if (FStacked == cssStack100) return 0;
    double r = CalcMinMaxValue(true);
    if (FStacked == cssStack)
        for (int i = 0; i < Count(); ++i) r = std::min(r, PointOrigin(i, false) + YValue(i));
    return r;
}

double TCustomSeries::MaxXValue() const {
    if (YMandatory()) return TCustomLineSeries::MaxXValue();
    if (FStacked == cssStack100) return 100;
    double r = CalcMinMaxValue(false);
    if (FStacked == cssStack)
        for (int i = 0; i < Count(); ++i) r = std::max(r, PointOrigin(i, false) + XValue(i));
    return r;
}

double TCustomSeries::MinXValue() const {
    if (YMandatory()) return TCustomLineSeries::MinXValue();
    if (FStacked == cssStack100) return 0;
    return CalcMinMaxValue(true);
}

// ---------------------------------------------------------------------------
// Margins

void TCustomSeries::CalcHorizMargins(int& LeftMargin, int& RightMargin) {
    TCustomLineSeries::CalcHorizMargins(LeftMargin, RightMargin);
    FPointer->CalcHorizMargins(LeftMargin, RightMargin);
    if (FDrawLine) {
        const int pen = GetLinePen()->GetWidth();
        if (FStairs) LeftMargin = std::max(LeftMargin, pen), RightMargin = std::max(RightMargin, pen);
        if (FOutLine->GetVisible()) {
            const int w = FOutLine->GetWidth();
            LeftMargin = std::max(LeftMargin, w), RightMargin = std::max(RightMargin, w);
        }
    }
    if (!YMandatory() && GetMarks()->GetVisible()) RightMargin = std::max(LeftMargin, CalcMarkLength());
}

void TCustomSeries::CalcVerticalMargins(int& TopMargin, int& BottomMargin) {
    TCustomLineSeries::CalcVerticalMargins(TopMargin, BottomMargin);
    FPointer->CalcVerticalMargins(TopMargin, BottomMargin);
    if (FDrawLine) {
        const int pen = GetLinePen()->GetWidth();
        if (FStairs) TopMargin = std::max(TopMargin, pen), BottomMargin = std::max(BottomMargin, pen);
        if (FOutLine->GetVisible()) {
            const int w = FOutLine->GetWidth();
            TopMargin = std::max(TopMargin, w), BottomMargin = std::max(BottomMargin, w);
        }
    }
    if (YMandatory() && GetMarks()->GetVisible()) TopMargin = std::max(BottomMargin, CalcMarkLength());
    const ISeriesChart* chart = GetParentChart();
    if (FLineHeight >= 1 && !FDrawArea && chart && chart->GetView3D())
        BottomMargin = std::max(BottomMargin, FLineHeight);
}

// ---------------------------------------------------------------------------
// The visible range

bool TCustomSeries::IsPointInChartRect(int ValueIndex) const {
    const ISeriesChart* chart = GetParentChart();
    if (!chart) return false;
    const TRect r = chart->GetChartRect();
    const int x = CalcXPos(ValueIndex), y = CalcYPos(ValueIndex);
    const int h = FPointer->GetHorizSize(), v = FPointer->GetVertSize();
    return x - h < r.Right && r.Left < x + h && y - v < r.Bottom && r.Top < y + v;
}

void TCustomSeries::CalcFirstLastVisibleIndex() {
    TCustomLineSeries::CalcFirstLastVisibleIndex();
    int& first = FirstValueIndex;
    int& last = LastValueIndex;
    const TChartValueList* pos = NotMandatoryValueList();
    const int n = Count();
    while (last >= 0 && last < n - 1 && IsPointInChartRect(last + 1)) ++last;
    while (last >= 0 && last < n - 1 && pos->GetValue(last + 1) == pos->GetValue(last)) ++last;
    while (first >= 1 && IsPointInChartRect(first - 1)) --first;
    while (first >= 1 && pos->GetValue(first - 1) == pos->GetValue(first)) --first;
}

// ---------------------------------------------------------------------------
// The click test

bool TCustomSeries::ClickedPointer(int ValueIndex, int PointX, int PointY, int X, int Y) {
    PreparePointer(ValueIndex);
    if (DoGetPointerStyle(ValueIndex) == psNothing) return false;
    return std::abs(PointX - X) < FPointer->GetHorizSize() && std::abs(Y - PointY) < FPointer->GetVertSize();
}

TRect TCustomSeries::PointerBox(int ValueIndex, int PointX, int PointY) {
    PreparePointer(ValueIndex);
    const int h = FPointer->GetHorizSize(), v = FPointer->GetVertSize();
    return {PointX - h, PointY - v, PointX + h, PointY + v};
}

// Whether a polygon filled on the screen fills the pixel P: it fills the pixels whose middles it
// holds, so a face seen nearly edge-on, thinner than a pixel, is drawn only where it grows half a
// pixel wide.
static bool FillsPixel(TPoint P, const TPoint (&Q)[4]) {
    TPoint twice[4];
    for (int i = 0; i < 4; ++i) twice[i] = {2 * Q[i].X, 2 * Q[i].Y};
    return PointInPolygon({2 * P.X + 1, 2 * P.Y + 1}, twice, 3);
}

int TCustomSeries::Clicked(int X, int Y) {
    if (ClippedAway(X, Y)) return -1;
    ISeriesChart* chart = GetParentChart();
    TCanvas3D* canvas = chart ? chart->GetCanvas() : nullptr;
    const TPoint screen{X, Y};
    if (canvas) canvas->Calculate2DPosition(X, Y, StartZ);
    const int base = TCustomLineSeries::Clicked(X, Y);
    if (base != -1) return base;
    if (FirstVisibleIndex < 0 || LastVisibleIndex < 0) return -1;
    const TPoint mouse{X, Y};
    const bool is3D = chart && chart->GetView3D();
    const bool vertical = YMandatory();
    const int start = FClickableLine ? std::max(0, FirstVisibleIndex - 1) : FirstVisibleIndex;
    // The line is found only where it is drawn: with its pen hidden the paper between the points
    // stays blank, unless an outline is drawn along it or it is the edge of a filled area. In 3D
    // the ribbon's face is found where its brush fills it, its edges where a pen draws them.
    const auto inked = [](const TChartPen* P) { return P->GetVisible() && P->GetStyle() != psClear; };
    const bool lineDrawn = FDrawArea || (FDrawLine && (inked(GetLinePen()) || inked(FOutLine.get())));
    const bool faceFilled = (FDrawLine || FDrawArea) &&
                            (GetLineBrush() != bsClear || GetBrush()->HasImage() || FGradient->GetVisible());
    // One flat piece of the ribbon, from A to B at the front back to the same at the back, as it
    // stands on the screen: a turned or perspective view leans it any way.
    const auto onRibbon = [&](TPoint A, TPoint B) {
        const TPoint q[4] = {
            canvas->Calculate3DPosition(A.X, A.Y, StartZ), canvas->Calculate3DPosition(B.X, B.Y, StartZ),
            canvas->Calculate3DPosition(B.X, B.Y, EndZ), canvas->Calculate3DPosition(A.X, A.Y, EndZ)};
        return (lineDrawn && (PointInLine(screen, q[0], q[1]) || PointInLine(screen, q[2], q[3]))) ||
               (faceFilled && FillsPixel(screen, q));
    };
    // A flat line answers a click beside it only where it runs inside the clip: a line along the
    // chart's edge (an area flattened on it by a zoom) is cut away whole.
    const auto onLine = [&](TPoint A, TPoint B) {
        if (!PointInLine(mouse, A, B)) return false;
        const double dx = B.X - A.X, dy = B.Y - A.Y, len2 = dx * dx + dy * dy;
        const double t = len2 == 0 ? 0 : std::clamp(((X - A.X) * dx + (Y - A.Y) * dy) / len2, 0.0, 1.0);
        return !ClippedAway(static_cast<int>(std::lround(A.X + t * dx)),
                            static_cast<int>(std::lround(A.Y + t * dy)));
    };
    // A cube or pyramid pointer stands from the front to the back of the depth: the click is
    // looked for on its outline on the screen, the hull of its corners as projected.
    const auto pointerClicked = [&](int I, int PX, int PY) {
        const TSeriesPointerStyle style = DoGetPointerStyle(I);
        const bool solid = is3D && canvas && FPointer->GetDraw3D() &&
                           (style == psRectangle || style == psTriangle || style == psDownTriangle);
        if (!solid) {
            if (!ClickedPointer(I, PX, PY, X, Y)) return false;
            // A flat pointer is drawn in the plane of the front: turned edge-on it is a sliver on
            // the screen, and the click taken back into that plane lands anywhere in its box.
            const bool sphere =
                style == psCircle && FPointer->GetDraw3D() && canvas && canvas->GetSupportsFullRotation();
            if (!is3D || !canvas || sphere) return true;
            const TRect b = PointerBox(I, PX, PY);
            std::vector<TPoint> face;
            for (const TPoint c : {b.TopLeft(), TPoint(b.Right + 1, b.Top), TPoint(b.Right + 1, b.Bottom + 1),
                                   TPoint(b.Left, b.Bottom + 1)})
                face.push_back(canvas->Calculate3DPosition(c, FPointer->GetStartZ()));
            return TCanvas3D::ConvexHull(face) &&
                   PointInPolygon(screen, face.data(), static_cast<int>(face.size()) - 1);
        }
        const TRect b = PointerBox(I, PX, PY);
        const int z0 = FPointer->GetStartZ(), z1 = FPointer->GetEndZ();
        std::vector<TPoint> hull;
        if (style == psRectangle) {
            for (const int z : {z0, z1})
                for (const TPoint c :
                     {b.TopLeft(), TPoint(b.Right, b.Top), b.BottomRight(), TPoint(b.Left, b.Bottom)})
                    hull.push_back(canvas->Calculate3DPosition(c, z));
        } else {
            const int base = style == psTriangle ? b.Bottom : b.Top,
                      tip = style == psTriangle ? b.Top : b.Bottom;
            for (const int z : {z0, z1})
                for (const int x : {b.Left, b.Right}) hull.push_back(canvas->Calculate3DPosition(x, base, z));
            hull.push_back(canvas->Calculate3DPosition((b.Left + b.Right) / 2, tip, (z0 + z1) / 2));
        }
        return TCanvas3D::ConvexHull(hull) &&
               PointInPolygon(screen, hull.data(), static_cast<int>(hull.size()) - 1);
    };
    // A null point draws no pointer, and the line and area reach it only when nulls are ignored;
    // past it they go on from it only then, from the point before it when it is skipped.
    const TTreatNullsStyle nulls = GetTreatNulls();
    int prevX = 0, prevY = 0;
    bool prevNull = false;
    for (int i = start; i <= LastVisibleIndex && i < Count(); ++i) {
        const int px = CalcXPos(i), py = CalcYPos(i);
        const bool null = IsNull(i);
        if (!null && FPointer->GetVisible() && pointerClicked(i, px, py)) {
            if (OnClickPointer) OnClickPointer(this, i, X, Y);
            return i;
        }
        if (!null && px == X && py == Y) return i;
        const bool joined = nulls == tnIgnore || (!null && !(prevNull && nulls == tnDontPaint));
        // The line from a point before the chart's edge is drawn from that edge on.
        if (i == FirstVisibleIndex && i > start && !FDrawArea) {
            const TPoint edge = EdgeStart(i, !DrawValuesForward());
            prevX = edge.X;
            prevY = edge.Y;
        }
        if (i > start && FClickableLine && joined) {
            bool hit = false;
            if (is3D && canvas && FStairs) {
                // A step in 3D is a tread along the position axis and a riser to the new value,
                // the riser first when inverted.
                const TPoint corner = vertical != FInvertedStairs ? TPoint(px, prevY) : TPoint(prevX, py);
                hit = onRibbon({prevX, prevY}, corner) || onRibbon(corner, {px, py});
            } else if (is3D && canvas) {
                hit = onRibbon({prevX, prevY}, {px, py});
            } else if (lineDrawn && FStairs) {
                if (FInvertedStairs == vertical)
                    hit = onLine({prevX, prevY}, {prevX, py}) || onLine({prevX, py}, {px, py});
                else
                    hit = onLine({prevX, prevY}, {px, prevY}) || onLine({px, prevY}, {px, py});
            } else if (lineDrawn) {
                hit = onLine({prevX, prevY}, {px, py});
            }
            if (!hit && FDrawArea) {
                const int topPrev =
                    FStairs ? (FInvertedStairs ? (vertical ? py : px) : (vertical ? prevY : prevX))
                            : (vertical ? prevY : prevX);
                const int topHere = FStairs ? topPrev : (vertical ? py : px);
                const int o0 = GetOriginPos(i - 1), o1 = GetOriginPos(i);
                const TPoint q[4] = {vertical ? TPoint(prevX, topPrev) : TPoint(topPrev, prevY),
                                     vertical ? TPoint(px, topHere) : TPoint(topHere, py),
                                     vertical ? TPoint(px, o1) : TPoint(o1, py),
                                     vertical ? TPoint(prevX, o0) : TPoint(o0, prevY)};
                // In 3D the piece is painted at the back when the chart is seen from behind, and at
                // both ends of the depth on a canvas that turns all round.
                if (!is3D || !canvas) {
                    hit = PointInPolygon(mouse, q, 3);
                } else {
                    const int face = AreaFaceZ(canvas);
                    for (const int z : {face, face == StartZ ? EndZ : StartZ}) {
                        TPoint at[4];
                        for (int k = 0; k < 4; ++k) at[k] = canvas->Calculate3DPosition(q[k], z);
                        hit = PointInPolygon(screen, at, 3);
                        if (hit || !canvas->GetSupportsFullRotation()) break;
                    }
                    // The area ends in a side face, from the front to the back, at the point
                    // drawn last (the first one when the values are drawn backwards) and next
                    // to a null point left out.
                    const int e = DrawValuesForward() ? i : i - 1;
                    const auto nullAt = [&](int K) {
                        return nulls == tnDontPaint && K >= 0 && K < Count() && IsNull(K);
                    };
                    if (!hit && (e == LastDisplayedIndex() || nullAt(e - 1) || nullAt(e + 1))) {
                        const int ex = CalcXPos(e), ey = CalcYPos(e), o = GetOriginPos(e);
                        const TPoint foot = vertical ? TPoint(ex, o) : TPoint(o, ey);
                        const TPoint side[4] = {canvas->Calculate3DPosition(ex, ey, StartZ),
                                                canvas->Calculate3DPosition(ex, ey, EndZ),
                                                canvas->Calculate3DPosition(foot, EndZ),
                                                canvas->Calculate3DPosition(foot, StartZ)};
                        hit = PointInPolygon(screen, side, 3);
                    }
                }
            }
            if (hit) return i - 1;
        }
        prevNull = null;
        if (null && nulls == tnSkip && i > start) continue;
        prevX = px;
        prevY = py;
    }
    return -1;
}

// ---------------------------------------------------------------------------
// TLineSeries

const ClassInfo& TLineSeries::StaticClass() {
    using C = TCustomSeries;
    static const PropInfo props[] = {
        MakeProp<&C::GetColorEachLine, &C::SetColorEachLine>("ColorEachLine").Default(1),
        MakeProp<&C::GetGradient, &C::SetGradient>("Gradient"),
        MakeProp<&C::GetShadow, &C::SetShadow>("Shadow"),
        MakeProp<&C::GetStacked, &C::SetStacked>("Stacked").Default(cssNone),
        MakeProp<&C::GetBrush, &C::SetBrush>("Brush"),
        MakeProp<&C::GetClickableLine, &C::SetClickableLine>("ClickableLine").Default(1),
        MakeProp<&C::GetDark3D, &C::SetDark3D>("Dark3D").Default(1),
        MakeProp<&C::GetInvertedStairs, &C::SetInvertedStairs>("InvertedStairs").Default(0),
        MakeProp<&C::GetLineBrush, &C::SetLineBrush>("LineBrush").Default(bsSolid),
        MakeProp<&C::GetLineHeight, &C::SetLineHeight>("LineHeight").Default(0),
        MakeProp<&C::GetLinePen, &C::SetLinePen>("LinePen"),
        MakeProp<&C::GetOutLine, &C::SetOutLine>("OutLine"),
        MakeProp<&C::GetPointer, &C::SetPointer>("Pointer"),
        MakeProp<&C::GetStairs, &C::SetStairs>("Stairs").Default(0),
        MakeProp<&C::GetTreatNulls, &C::SetTreatNulls>("TreatNulls").Default(tnDontPaint),
        MakeProp<&C::GetTransparency, &C::SetTransparency>("Transparency").Default(0),
        MakeProp<&C::OnClickPointer>("OnClickPointer"),
    };
    static const ClassInfo info =
        MakeClassInfo<TLineSeries>("TLineSeries", &TCustomSeries::StaticClass(), props);
    return info;
}

TLineSeries::TLineSeries(TComponent* AOwner) : TCustomSeries(AOwner) {
    SetDrawLine(true);
    SingleFunctionPoint = false;
    GetPointer()->SetVisible(false);
    KeepPointBeyondEdge = true;
}

void TLineSeries::Assign(TPersistent* Source) {
    TCustomSeries::Assign(Source);
    if (!dynamic_cast<TLineSeries*>(Source)) GetPointer()->SetVisible(false);
    SetDrawArea(false);
    SetDrawLine(true);
}

void TLineSeries::PrepareLegendCanvas(int ValueIndex, TColor& BackColor, TBrushStyle& BrushStyle) {
    if (ISeriesChart* chart = GetParentChart(); chart && chart->GetCanvas())
        chart->GetCanvas()->AssignVisiblePen(GetLinePen());
    BrushStyle = GetLineBrush();
}

void TLineSeries::CreateSubGallery(const std::function<void(const String&)>& AddSubChart) {
    TCustomSeries::CreateSubGallery(AddSubChart);
    for (const String* text : {&VavIve_Stairs, &VavIve_Points, &VavIve_Height, &VavIve_Hollow, &VavIve_Colors,
                               &VavIve_Marks, &VavIve_NoBorder, &VavIve_Outline})
        AddSubChart(*text);
}

void TLineSeries::SetSubGallery(TChartSeries* Series, int Index) {
    auto* s = dynamic_cast<TCustomSeries*>(Series);
    if (!s) return;
    switch (Index) {
    case 1:
        s->SetStairs(true);
        break;
    case 2:
        s->GetPointer()->SetVisible(true);
        break;
    case 3:
        s->SetLineHeight(5);
        break;
    case 4:
        s->SetLineBrush(bsClear);
        break;
    case 5:
        s->SetColorEachPoint(true);
        break;
    case 6:
        s->GetMarks()->SetVisible(true);
        break;
    case 7:
        s->GetLinePen()->SetVisible(false);
        break;
    case 8:
        s->GetOutLine()->SetVisible(true);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------
// THorizLineSeries

const ClassInfo& THorizLineSeries::StaticClass() {
    static const ClassInfo info =
        MakeClassInfo<THorizLineSeries>("THorizLineSeries", &TLineSeries::StaticClass());
    return info;
}

THorizLineSeries::THorizLineSeries(TComponent* AOwner) : TLineSeries(AOwner) {
    SetHorizontal();
    CalcVisiblePoints = false;
    GetXValues()->SetOrder(loNone);
    GetYValues()->SetOrder(loAscending);
}

int THorizLineSeries::CalcMarkLength() {
    return MaxMarkWidth();
}

void THorizLineSeries::DrawMark(int ValueIndex, const String& Text, TSeriesMarkPosition& Position) {
    TMarksCallout* c = GetMarks()->GetCallout();
    int l = c->GetLength() + c->GetDistance();
    const bool left = GetOriginPos(ValueIndex) > Position.ArrowStart.X;
    if (left) l = -l - Position.Width;
    Position.TopLeft.X += Position.Width / 2 + l;
    Position.TopLeft.Y += Position.Height / 2;
    Position.ArrowEnd.X += l;
    Position.ArrowStart.X += left ? -c->GetDistance() : c->GetDistance();
    TCustomSeries::DrawMark(ValueIndex, Text, Position);
}

// ---------------------------------------------------------------------------
// TPointSeries

const ClassInfo& TPointSeries::StaticClass() {
    using C = TCustomSeries;
    static const PropInfo props[] = {
        MakeProp<&C::GetStacked, &C::SetStacked>("Stacked").Default(cssNone),
        MakeProp<&C::GetClickableLine, &C::SetClickableLine>("ClickableLine").Default(1),
        MakeProp<&C::GetPointer, &C::SetPointer>("Pointer"),
        MakeProp<&TPointSeries::GetTransparency, &TPointSeries::SetTransparency>("Transparency").Default(0),
        MakeProp<&C::OnClickPointer>("OnClickPointer"),
    };
    static const ClassInfo info =
        MakeClassInfo<TPointSeries>("TPointSeries", &TCustomSeries::StaticClass(), props);
    return info;
}

TPointSeries::TPointSeries(TComponent* AOwner) : TCustomSeries(AOwner) {
    SetFixed();
    TMarksCallout* c = GetMarks()->GetCallout();
    c->SetLength(0);
    c->DefaultLength = 0;
}

void TPointSeries::SetFixed() {
    GetPointer()->SetVisible(true);
    SetDrawArea(false);
    SetDrawLine(false);
    SetClickableLine(false);
}

void TPointSeries::Assign(TPersistent* Source) {
    TCustomSeries::Assign(Source);
    SetFixed();
}

void TPointSeries::SetColorEachPoint(bool Value) {
    TCustomSeries::SetColorEachPoint(Value);
    if (Value) GetPointer()->SetColor(clZuzColor);
}

int TPointSeries::GetTransparency() const {
    return GetPointer()->GetTransparency();
}

void TPointSeries::SetTransparency(int Value) {
    GetPointer()->SetTransparency(Value);
}

void TPointSeries::PrepareForGallery(bool IsEnabled) {
    TCustomSeries::PrepareForGallery(IsEnabled);
    ISeriesChart* chart = GetParentChart();
    const auto* panel = Panel();
    const int size = panel && panel->GetWidth() < 50 ? 4 : 6;
    GetPointer()->SetHorizSize(size);
    GetPointer()->SetVertSize(size);
    if (chart && chart->SeriesCount() >= 2 && chart->GetSeries(1) == this) GetPointer()->SetStyle(psTriangle);
}

void TPointSeries::CreateSubGallery(const std::function<void(const String&)>& AddSubChart) {
    TCustomSeries::CreateSubGallery(AddSubChart);
    for (const String* text :
         {&VavIve_Colors, &VavIve_Marks, &VavIve_Hollow, &VavIve_NoBorder, &VavIve_Gradient})
        AddSubChart(*text);
    if (!CanDoExtra()) return;
    for (const String* text : {&VavIve_Point2D, &VavIve_Triangle, &VavIve_Star, &VavIve_Circle,
                               &VavIve_DownTri, &VavIve_Cross, &VavIve_Diamond, &VavIve_Hexagon})
        AddSubChart(*text);
}

void TPointSeries::SetSubGallery(TChartSeries* Series, int Index) {
    auto* s = dynamic_cast<TCustomSeries*>(Series);
    if (!s) return;
    TSeriesPointer* p = s->GetPointer();
    if (Index >= 6 && !CanDoExtra()) return;
    switch (Index) {
    case 1:
        s->SetColorEachPoint(true);
        break;
    case 2:
        s->GetMarks()->SetVisible(true);
        break;
    case 3:
        p->GetBrush()->SetStyle(bsClear);
        break;
    case 4:
        p->GetPen()->SetVisible(false);
        break;
    case 5:
        p->GetGradient()->SetVisible(true);
        break;
    case 6:
        p->SetDraw3D(false);
        break;
    case 7:
        p->SetStyle(psTriangle);
        break;
    case 8:
        p->SetStyle(psStar);
        break;
    case 9:
        p->SetStyle(psCircle);
        p->SetHorizSize(8);
        p->SetVertSize(8);
        break;
    case 10:
        p->SetStyle(psDownTriangle);
        break;
    case 11:
        p->SetStyle(psCross);
        break;
    case 12:
        p->SetStyle(psDiamond);
        break;
    case 13:
        p->SetStyle(psHexagon);
        break;
    default:
        break;
    }
}
