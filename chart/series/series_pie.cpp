// The pie series: the Other slice, slice angles, explode, the multi-pie
// grid, the slices in 2D and 3D, marks with legs, legend counting, clicks and
// the gallery.
#include "chart/series/series_pie.h"

#include "chart/canvas/zuzgeometry.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuztext.h"
#include "chart/engine/axispanel.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartlegend.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <iterator>
#include <numbers>

namespace {
constexpr double Pi = std::numbers::pi;
} // namespace

template <>
const EnumInfo& EnumInfoOf<TMultiPie>() {
    static const EnumInfo info{"TMultiPie", {"mpAutomatic", "mpDisabled"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TPieOtherStyle>() {
    static const EnumInfo info{"TPieOtherStyle", {"poNone", "poBelowPercent", "poBelowValue"}};
    return info;
}

// ---------------------------------------------------------------------------
// Slice lists

int TSliceValueList::Get(int Index) const {
    return Index >= 0 && Index < Count() ? FItems[static_cast<std::size_t>(Index)] : 0;
}

void TSliceValueList::Put(int Index, int Value) {
    if (Index < 0) return;
    while (Count() <= Index) FItems.push_back(0);
    int& item = FItems[static_cast<std::size_t>(Index)];
    if (item == Value) return;
    item = Value;
    if (FOwner) FOwner->Repaint();
}

void TSliceValueList::Delete(int Index) {
    if (Index >= 0 && Index < Count()) FItems.erase(FItems.begin() + Index);
}

void TSliceValueList::Exchange(int A, int B, int Total) {
    if (FItems.empty()) return;
    while (Count() < Total) FItems.push_back(0);
    if (A >= 0 && B >= 0 && A < Count() && B < Count())
        std::swap(FItems[static_cast<std::size_t>(A)], FItems[static_cast<std::size_t>(B)]);
}

// ---------------------------------------------------------------------------
// Other slice and pie marks

const ClassInfo& TPieOtherSlice::StaticClass() {
    using C = TPieOtherSlice;
    static const PropInfo props[] = {
        MakeProp<&C::GetColor, &C::SetColor>("Color").Default(clZuzColor),
        MakeProp<&C::GetLegend, &C::SetLegend>("Legend").Stored<&C::HasLegend>(),
        MakeProp<&C::GetStyle, &C::SetStyle>("Style").Default(poNone),
        MakeProp<&C::GetText, &C::SetText>("Text").Stored<&C::IsTextStored>(),
        MakeProp<&C::GetValue, &C::SetValue>("Value"),
    };
    static const ClassInfo info = MakeClassInfo<C>("TPieOtherSlice", &TPersistent::StaticClass(), props);
    return info;
}

TPieOtherSlice::TPieOtherSlice(TPieSeries* Owner) : FOwner(Owner) {}

TPieOtherSlice::~TPieOtherSlice() = default;

TChartLegend* TPieOtherSlice::GetLegend() {
    if (!FLegend) {
        TCustomZuzPanel* chart = nullptr;
        if (FOwner && FOwner->GetParentChart())
            chart = dynamic_cast<TCustomChart*>(FOwner->GetParentChart()->ChartComponent());
        FLegend = MakeOwned<TChartLegend>(chart);
        FLegend->SetVisible(false);
        FLegend->DefaultVisible = false;
        FLegend->Series = FOwner;
    }
    return FLegend.get();
}

void TPieOtherSlice::SetLegend(TChartLegend* Value) {
    if (!Value)
        FLegend.reset();
    else
        GetLegend()->Assign(Value);
}

void TPieOtherSlice::Assign(TPersistent* Source) {
    if (auto* s = dynamic_cast<TPieOtherSlice*>(Source)) {
        if (s->FLegend) GetLegend()->Assign(s->FLegend.get());
        FColor = s->FColor;
        FStyle = s->FStyle;
        FText = s->FText;
        FValue = s->FValue;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TPieOtherSlice::Changed() {
    if (FOwner) FOwner->Repaint();
}

void TPieOtherSlice::SetColor(TColor Value) {
    if (FColor == Value) return;
    FColor = Value;
    Changed();
}

void TPieOtherSlice::SetStyle(TPieOtherStyle Value) {
    if (FStyle == Value) return;
    FStyle = Value;
    Changed();
}

void TPieOtherSlice::SetText(const String& Value) {
    if (FText == Value) return;
    FText = Value;
    Changed();
}

void TPieOtherSlice::SetValue(double Value) {
    if (FValue == Value) return;
    FValue = Value;
    Changed();
}

const ClassInfo& TPieMarks::StaticClass() {
    using C = TPieMarks;
    static const PropInfo props[] = {
        MakeProp<&C::GetLegSize, &C::SetLegSize>("LegSize").Default(0),
        MakeProp<&C::GetVertCenter, &C::SetVertCenter>("VertCenter").Default(0),
    };
    static const ClassInfo info = MakeClassInfo<C>("TPieMarks", &TPersistent::StaticClass(), props);
    return info;
}

void TPieMarks::Assign(TPersistent* Source) {
    if (auto* s = dynamic_cast<TPieMarks*>(Source)) {
        FLegSize = s->FLegSize;
        FVertCenter = s->FVertCenter;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TPieMarks::Changed() {
    if (FOwner) FOwner->Repaint();
}

// A leg in pixels is summed with the arrow's end: held to the largest picture, as a place is.
void TPieMarks::SetLegSize(int Value) {
    Value = std::clamp(Value, -kLargestPictureSide, kLargestPictureSide);
    if (FLegSize == Value) return;
    FLegSize = Value;
    Changed();
}

void TPieMarks::SetVertCenter(bool Value) {
    if (FVertCenter == Value) return;
    FVertCenter = Value;
    Changed();
}

// ---------------------------------------------------------------------------
// The series

const ClassInfo& TPieSeries::StaticClass() {
    using C = TPieSeries;
    static const PropInfo props[] = {
        MakeProp<&C::GetAngleSize, &C::SetAngleSize>("AngleSize").Default(360),
        MakeProp<&C::GetAutoMarkPosition, &C::SetAutoMarkPosition>("AutoMarkPosition").Default(1),
        MakeProp<&C::GetCircleBackColor, &C::SetCircleBackColor>("CircleBackColor").Default(clZuzColor),
        // A pie starts with a colour per slice: only turning that off is written.
        MakeProp<&C::GetColorEachPoint, &C::SetColorEachPoint>("ColorEachPoint").Default(1),
        MakeProp<&C::GetDark3D, &C::SetDark3D>("Dark3D").Default(1),
        MakeProp<&C::GetDarkPen, &C::SetDarkPen>("DarkPen").Default(0),
        MakeProp<&C::GetExplodeBiggest, &C::SetExplodeBiggest>("ExplodeBiggest").Default(0),
        MakeProp<&C::GetGradient, &C::SetGradient>("Gradient"),
        MakeProp<&C::GetGradientBright, &C::SetGradientBright>("GradientBright").Default(0),
        MakeProp<&C::GetMultiPie, &C::SetMultiPie>("MultiPie").Default(mpAutomatic),
        MakeProp<&C::GetOtherSlice, &C::SetOtherSlice>("OtherSlice"),
        MakeProp<&C::GetPieMarks, &C::SetPieMarks>("PieMarks"),
        MakeProp<&C::GetPiePen, &C::SetPiePen>("PiePen"),
        MakeProp<&C::GetPieValues, &C::SetPieValues>("PieValues"),
        MakeProp<&C::GetRotationAngle, &C::SetRotationAngle>("RotationAngle").Default(0),
        MakeProp<&C::GetUsePatterns, &C::SetUsePatterns>("UsePatterns").Default(0),
    };
    static const ClassInfo info = MakeClassInfo<C>("TPieSeries", &TCircledSeries::StaticClass(), props);
    return info;
}

TPieSeries::TPieSeries(TComponent* AOwner) : TCircledSeries(AOwner) {
    FOtherSlice.reset(Create<TPieOtherSlice>(this));
    FPieMarks.reset(Create<TPieMarks>(this));
    GetXValues()->SetName(u"");
    GetYValues()->SetName(u"Pie");
    GetMarks()->SetVisible(true);
    GetMarks()->DefaultVisible = true;
    GetMarks()->GetCallout()->SetLength(8);
    SetColorEachPoint(true);
    GetGradient()->SetStartColor(clWhite);
    GetGradient()->DefaultDirection = gdRadial;
    GetGradient()->SetDirection(gdRadial);
    UseSeriesColor = false;
    UseNotMandatory = false;
}

TPieSeries::~TPieSeries() = default;

void TPieSeries::Assign(TPersistent* Source) {
    if (auto* s = dynamic_cast<TPieSeries*>(Source)) {
        FAngleSize = s->FAngleSize;
        FAutoMarkPosition = s->FAutoMarkPosition;
        FDark3D = s->FDark3D;
        FDarkPen = s->FDarkPen;
        FExplodeBiggest = s->FExplodeBiggest;
        FExplode.Assign(s->FExplode);
        FMultiPie = s->FMultiPie;
        FDepth.Assign(s->FDepth);
        FUsePatterns = s->FUsePatterns;
        FOtherSlice->Assign(s->FOtherSlice.get());
        FPieMarks->Assign(s->FPieMarks.get());
    }
    TCircledSeries::Assign(Source);
    SetColorEachPoint(true);
}

void TPieSeries::SetParentChart(ISeriesChart* Value) {
    TCircledSeries::SetParentChart(Value);
    if (GetComponentState().Contains(csDestroying)) return;
    if (TChartLegend* legend = FOtherSlice->ExistingLegend())
        legend->SetParent(Value ? dynamic_cast<TCustomChart*>(Value->ChartComponent()) : nullptr);
}

// Percent of a radius, held as a place in pixels is: the radius times it stays an int. A
// slice drawn nearer the centre than its neighbours is no explosion: none below 0.
void TPieSeries::SetExplodeBiggest(int Value) {
    SetIntegerProperty(FExplodeBiggest, std::clamp(Value, 0, kLargestPictureSide));
    CalcExplodeBiggest();
}

// The editor's range: darkest to brightest.
void TPieSeries::SetGradientBright(int Value) {
    Value = std::clamp(Value, -255, 255);
    SetIntegerProperty(FGradientBright, Value);
    if (Value == 0) GetGradient()->SetStartColor(clWhite);
}

void TPieSeries::SetMultiPie(TMultiPie Value) {
    if (FMultiPie == Value) return;
    FMultiPie = Value;
    Repaint();
}

int TPieSeries::PieCount() const {
    ISeriesChart* chart = GetParentChart();
    if (!chart) return 0;
    int n = 0;
    for (int t = 0; t < chart->SeriesCount(); ++t)
        if (TChartSeries* s = chart->GetSeries(t); s->GetActive() && SameClass(s)) ++n;
    return n;
}

bool TPieSeries::FullRotation() const {
    TCanvas3D* c = Canvas();
    return c && c->GetSupportsFullRotation();
}

// ---------------------------------------------------------------------------
// Points

void TPieSeries::RemoveOtherSlice() {
    for (int i = 0; i < Count(); ++i)
        if (GetxValue(i) == OtherX) {
            TChartSeries::Delete(i);
            return;
        }
}

void TPieSeries::Delete(int ValueIndex) {
    TCircledSeries::Delete(ValueIndex);
    FExplode.Delete(ValueIndex);
    FDepth.Delete(ValueIndex);
}

void TPieSeries::SwapValueIndex(int A, int B) {
    TCircledSeries::SwapValueIndex(A, B);
    FExplode.Exchange(A, B, Count());
    FDepth.Exchange(A, B, Count());
}

void TPieSeries::ClearLists() {
    TCircledSeries::ClearLists();
    FExplode.Clear();
    FDepth.Clear();
    FAngles.clear();
}

void TPieSeries::Clear() {
    TCircledSeries::Clear();
    FExplode.Clear();
    FDepth.Clear();
    FAngles.clear();
}

void TPieSeries::WriteData(TStream* Stream) {
    RemoveOtherSlice();
    TCircledSeries::WriteData(Stream);
}

void TPieSeries::CheckOrder() {
    GetXValues()->SetOrder(loAscending);
    Repaint();
}

double TPieSeries::MaxXValue() const {
    return GetHorizAxisObject() ? GetHorizAxisObject()->GetMaximum() : 0;
}
double TPieSeries::MinXValue() const {
    return GetHorizAxisObject() ? GetHorizAxisObject()->GetMinimum() : 0;
}
double TPieSeries::MaxYValue() const {
    return GetVertAxisObject() ? GetVertAxisObject()->GetMaximum() : 0;
}
double TPieSeries::MinYValue() const {
    return GetVertAxisObject() ? GetVertAxisObject()->GetMinimum() : 0;
}

int TPieSeries::CalcXPos(int ValueIndex) const {
    return GetxValue(ValueIndex) == OtherX ? 0 : TCircledSeries::CalcXPos(ValueIndex);
}

void TPieSeries::CalcFirstLastVisibleIndex() {
    if (FOtherSlice->GetStyle() != poNone)
        FirstValueIndex = -1;
    else
        CalcFirstLastPage(FirstValueIndex, LastValueIndex);
    if (FirstValueIndex == -1) TCircledSeries::CalcFirstLastVisibleIndex();
}

void TPieSeries::CalcZOrder() {
    // A pie claims no depth slot of the chart's; counted from the back, a pie
    // alone stands at depth 0.
    IZOrder = -1;
}

// ---------------------------------------------------------------------------
// Before drawing: the Other slice and the grid of pies

void TPieSeries::DoBeforeDrawChart() {
    TCircledSeries::DoBeforeDrawChart();
    std::unique_ptr<TSeriesMarkPosition> savedMark;
    for (int i = 0; i < Count(); ++i)
        if (GetxValue(i) == OtherX) {
            if (TSeriesMarkPosition* p = GetMarks()->Positions().Get(i); p && p->Custom)
                savedMark = std::make_unique<TSeriesMarkPosition>(*p);
            break;
        }
    TChartValueList* values = GetYValues();
    if (values->GetOrder() != loNone) values->Sort();
    RemoveOtherSlice();
    FAngles.clear();
    TChartValueList* xs = GetXValues();
    for (int i = 0; i < Count(); ++i) xs->SetValueQuiet(i, i);
    const double total = values->GetTotalABS();
    if (FOtherSlice->GetStyle() == poNone || !(total > 0)) return;
    double sum = 0;
    bool grouped = false;
    for (int i = 0; i < Count(); ++i) {
        const double v = std::abs(values->GetValue(i));
        const double measure = FOtherSlice->GetStyle() == poBelowPercent ? v * 100 / total : v;
        if (measure < FOtherSlice->GetValue()) {
            xs->SetValueQuiet(i, GroupedX);
            sum += v;
            grouped = true;
        }
    }
    if (!grouped) return;
    // The Other point goes last whatever the X order: it is drawn after the others.
    const TChartListOrder order = xs->GetOrder();
    xs->SetOrder(loNone);
    const int index = AddXY(OtherX, sum, FOtherSlice->GetText(), FOtherSlice->GetColor());
    xs->SetOrder(order);
    // Percent marks and angles share the total of the points themselves: the
    // Other point only sums points already counted.
    values->SetTotalABS(total);
    if (savedMark) GetMarks()->Positions().Put(index, *savedMark);
}

void TPieSeries::DoBeforeDrawValues() {
    TCustomAxisPanel* panel = Panel();
    FChartRectSaved = panel != nullptr;
    if (panel) FSavedChartRect = panel->GetChartRect();
    const int n = PieCount();
    if (panel && FMultiPie == mpAutomatic && n > 1) {
        int k = 0;
        for (int t = 0; t < panel->SeriesCount(); ++t) {
            TChartSeries* s = panel->GetSeries(t);
            if (s == this) break;
            if (s->GetActive() && SameClass(s)) ++k;
        }
        const int cols = std::max(1, static_cast<int>(Round(std::sqrt(static_cast<double>(n)))));
        const int rows = std::max(1, static_cast<int>(Round(std::sqrt(static_cast<double>(n)) + 0.5)));
        const TRect r = FSavedChartRect;
        const int w = (r.Right - r.Left) / cols, h = (r.Bottom - r.Top) / rows;
        TRect cell(r.Left + (k % cols) * w, r.Top + (k / cols) * h, 0, 0);
        cell.Right = cell.Left + w;
        cell.Bottom = cell.Top + h;
        if (TCanvas3D* c = Canvas()) {
            const TPoint a = c->Calculate3DPosition(cell.Left, cell.Top, 0);
            const TPoint b = c->Calculate3DPosition(cell.Right, cell.Bottom, 0);
            cell = TRect(a.X, a.Y, b.X, b.Y);
        }
        panel->SetChartRect(cell);
    }
    TCircledSeries::DoBeforeDrawValues();
    RaiseHangingPie();
}

// The slices hang below their faces where depth runs up the screen: there the far ring would
// stand above the face.
bool TPieSeries::DepthRunsUp() const {
    TCanvas3D* c = Canvas();
    return c && Is3D() &&
           c->Calculate3DPosition(CircleXCenter, CircleYCenter, EndZ).Y <
               c->Calculate3DPosition(CircleXCenter, CircleYCenter, StartZ).Y;
}

// The chart's depth is laid out round the middle of the chart, its far side above the near one
// where depth runs up the screen. A pie's slices then hang below their faces instead, as far as
// the far ring would stand above: the pie goes up by that much, into the room kept for its
// depth, or its walls would run below the chart over the foot title and leave the room above
// empty.
void TPieSeries::RaiseHangingPie() {
    TCanvas3D* c = Canvas();
    if (!c || FullRotation() || !DepthRunsUp()) return;
    const TPoint face = c->Calculate3DPosition(CircleXCenter, CircleYCenter, StartZ);
    const int hang = face.Y - c->Calculate3DPosition(CircleXCenter, CircleYCenter, EndZ).Y;
    // How far the face moves on the screen for a step up in the chart.
    constexpr int step = 100;
    const int moved = face.Y - c->Calculate3DPosition(CircleXCenter, CircleYCenter - step, StartZ).Y;
    if (moved <= 0) return;
    const int up = static_cast<int>(Round(static_cast<double>(hang) * step / moved));
    CircleRect.Top -= up;
    CircleRect.Bottom -= up;
    CircleYCenter -= up;
    // An orthogonal view keeps the depth's room at the side the depth runs to as well: the
    // slices hang the other way, past the chart's edge, unless the pie moves into that room too.
    if (!c->IsOrthogonal()) return;
    const int aside = c->Calculate3DPosition(CircleXCenter, CircleYCenter, EndZ).X - face.X;
    const int across = c->Calculate3DPosition(CircleXCenter + step, CircleYCenter, StartZ).X - face.X;
    if (across <= 0) return;
    const int right = static_cast<int>(Round(static_cast<double>(aside) * step / across));
    CircleRect.Left += right;
    CircleRect.Right += right;
    CircleXCenter += right;
}

void TPieSeries::DoAfterDrawValues() {
    if (FChartRectSaved)
        if (TCustomAxisPanel* panel = Panel()) panel->SetChartRect(FSavedChartRect);
    FChartRectSaved = false;
    TCircledSeries::DoAfterDrawValues();
}

// ---------------------------------------------------------------------------
// Angles and explode

void TPieSeries::CalcAngles() {
    if (!FAngles.empty()) return;
    FAngles.assign(static_cast<std::size_t>(Count()), TPieAngle{});
    const double span = FAngleSize * Pi / 180;
    const TChartValueList* values = GetYValues();
    const bool ranged = FOtherSlice->GetStyle() == poNone && FirstValueIndex >= 0;
    const int first = FirstValueIndex >= 0 ? FirstValueIndex : 0;
    const int last = FirstValueIndex >= 0 ? std::min(LastValueIndex, Count() - 1) : Count() - 1;
    double total = 0;
    if (ranged)
        for (int i = first; i <= last; ++i) total += std::abs(values->GetValue(i));
    else
        total = values->GetTotalABS();
    const double factor = total != 0 ? span / total : 0;
    double running = 0, previous = 0;
    for (int i = first; i <= last; ++i) {
        TPieAngle& a = FAngles[static_cast<std::size_t>(i)];
        a.StartAngle = i == first ? 0 : previous;
        if (total == 0) {
            a.EndAngle = span;
        } else {
            if (!BelongsToOtherSlice(i)) running += std::abs(values->GetValue(i));
            a.EndAngle = running == total ? span : std::min(running * factor, a.StartAngle + span);
        }
        a.MidAngle = (a.StartAngle + a.EndAngle) * 0.5;
        previous = a.EndAngle;
    }
}

void TPieSeries::CalcExplodeBiggest() {
    if (Count() == 0) return;
    const TChartValueList* values = GetYValues();
    int biggest = -1;
    ISeriesChart* chart = GetParentChart();
    if (chart && chart->GetMaxPointsPerPage() > 0) {
        int first, last;
        CalcFirstLastPage(first, last);
        for (int i = std::max(first, 0); i <= last; ++i)
            if (biggest == -1 || values->GetValue(i) > values->GetValue(biggest)) biggest = i;
    } else {
        const double top = values->GetMaxValue();
        for (int i = 0; i < Count() && biggest == -1; ++i)
            if (values->GetValue(i) == top) biggest = i;
    }
    if (biggest < 0) return;
    // The slice exploded as the biggest before gives its place back when another one is the
    // biggest now (its values changed, or the small ones were grouped into a bigger Other).
    if (FBiggestExploded >= 0 && FBiggestExploded != biggest && FBiggestExploded < Count() &&
        FExplode.Get(FBiggestExploded) == FExplodeBiggest)
        FExplode.Put(FBiggestExploded, 0);
    FExplode.Put(biggest, FExplodeBiggest);
    FBiggestExploded = biggest;
}

void TPieSeries::CalcExplodedRadius(int ValueIndex, int& AXRadius, int& AYRadius) const {
    const double f = 1 + FExplode.Get(ValueIndex) * 0.01;
    AXRadius = static_cast<int>(Round(XRadius * f));
    AYRadius = static_cast<int>(Round(YRadius * f));
}

void TPieSeries::CalcExplodedOffset(int ValueIndex, int& OffsetX, int& OffsetY) const {
    OffsetX = OffsetY = 0;
    const int percent = FExplode.Get(ValueIndex);
    if (!SliceSides || percent <= 0 || ValueIndex < 0 || ValueIndex >= static_cast<int>(FAngles.size()))
        return;
    double a = FAngles[static_cast<std::size_t>(ValueIndex)].MidAngle;
    if (FullRotation()) a = FAngleSize * Pi / 45 + a + Pi;
    a += RotationRadians();
    // In double: a radius of a large picture times a large percent passes an int.
    OffsetX = static_cast<int>(Round(static_cast<double>(XRadius) * percent * 0.01 * std::cos(a)));
    OffsetY = static_cast<int>(Round(static_cast<double>(YRadius) * percent * 0.01 * std::sin(a)));
}

int TPieSeries::SliceEndZ(int ValueIndex) const {
    if (ValueIndex < FDepth.Count())
        return StartZ + static_cast<int>(Round(FDepth.Get(ValueIndex) * (EndZ - StartZ) * 0.01));
    return EndZ;
}

// The angle of the rim point farthest back: the slices hang below their faces, and what
// hangs from one slice falls on the slices in front of it, which must be drawn after it. In the
// pie's own view that is the top of the circle, whatever part of it the pie spans.
double TPieSeries::BackAngle() const {
    TCanvas3D* c = Canvas();
    if (!c) return Pi / 2;
    const TPoint o = c->Calculate3DPosition(CircleXCenter, CircleYCenter, StartZ);
    auto from = [&](const TPoint& P) { return TPoint(P.X - o.X, P.Y - o.Y); };
    TPoint hang = from(c->Calculate3DPosition(CircleXCenter, CircleYCenter, EndZ));
    if (hang.Y < 0) hang = TPoint(-hang.X, -hang.Y);
    const TPoint right = from(c->Calculate3DPosition(CircleXCenter + XRadius, CircleYCenter, StartZ));
    const TPoint up = from(c->Calculate3DPosition(CircleXCenter, CircleYCenter - YRadius, StartZ));
    const double towardsRight = static_cast<double>(right.X) * hang.X + static_cast<double>(right.Y) * hang.Y;
    const double towardsUp = static_cast<double>(up.X) * hang.X + static_cast<double>(up.Y) * hang.Y;
    if (towardsRight == 0 && towardsUp == 0) return Pi / 2;
    return std::atan2(towardsUp, towardsRight) + Pi;
}

// A hole never outgrows the pie, whatever size code set it to.
int TPieSeries::HolePercent() const {
    return FDonutPercent < 1 ? 0 : std::min(FDonutPercent, 100);
}

double TPieSeries::HoleFraction() const {
    return HolePercent() * 0.01;
}

double TPieSeries::SliceOrderKey(int ValueIndex) const {
    // How far round the circle the slice's middle lies from its back.
    const double a = FAngles[static_cast<std::size_t>(ValueIndex)].MidAngle + RotationRadians();
    const double d = std::fmod(std::abs(a - BackAngle()), 2 * Pi);
    return std::min(d, 2 * Pi - d);
}

// ---------------------------------------------------------------------------
// Drawing

void TPieSeries::DrawAllValues() {
    TCanvas3D* c = Canvas();
    if (!c || FirstValueIndex < 0) return;
    if (FExplodeBiggest > 0) CalcExplodeBiggest();
    int exploded = -1;
    for (int i = FirstValueIndex; i <= LastValueIndex; ++i)
        if (FExplode.Get(i) > (exploded == -1 ? 0 : FExplode.Get(exploded))) exploded = i;
    CalcAngles();
    SliceSides = exploded != -1 || FDepth.Count() > 0;
    const bool is3D = Is3D();
    if (exploded != -1) {
        int dx, dy;
        CalcExplodedOffset(exploded, dx, dy);
        // The slice moves out by its whole offset: a circle shrunk by half of it leaves the slice
        // standing past the chart by the other half. A 3D pie shrinks until the moved slice's rim
        // reaches where the whole circle's did, which keeps the slice and its side on the panel
        // and off the foot title; a flat one keeps the picture it always had. The offset shrinks
        // with the radius: shrinking by all of it would leave a slice moved out by its radius or
        // more no pie at all.
        auto inset = [is3D](int Offset, int Radius) {
            Offset = std::abs(Offset);
            if (!is3D) return Offset / 2;
            return Radius + Offset > 0
                       ? static_cast<int>(std::ceil(static_cast<double>(Offset) * Radius / (Radius + Offset)))
                       : 0;
        };
        const int ix = inset(dx, XRadius), iy = inset(dy, YRadius);
        CircleRect =
            TRect(CircleRect.Left + ix, CircleRect.Top + iy, CircleRect.Right - ix, CircleRect.Bottom - iy);
        AdjustCircleRect();
        // Shrunk more across the slice's way out than along the other: a circled pie stays round.
        KeepRound();
        CalcRadius();
    }
    if (GetShadow()->GetVisible() && GetShadow()->GetSize() != 0) DrawShadow(exploded != -1);
    FDrawn.clear();
    auto draw = [&](int i) {
        FDrawn.push_back({i, SliceSides});
        c->BeginEntity(IntToStr(i));
        DrawValue(i);
        c->EndEntity();
    };
    if (is3D && !FullRotation() && (SliceSides || FDonutPercent >= 1 || FAngleSize != 360)) {
        std::vector<int> order;
        for (int i = FirstValueIndex; i <= LastValueIndex; ++i) order.push_back(i);
        const int n = static_cast<int>(order.size());
        ZuzSort(
            0, n - 1,
            [&](int A, int B) {
                const double ka = SliceOrderKey(order[static_cast<std::size_t>(A)]);
                const double kb = SliceOrderKey(order[static_cast<std::size_t>(B)]);
                return ka < kb ? -1 : (ka > kb ? 1 : 0);
            },
            [&](int A, int B) {
                std::swap(order[static_cast<std::size_t>(A)], order[static_cast<std::size_t>(B)]);
            });
        // A donut or a partial pie shows the cut faces of its end slices.
        const bool cutFaces = !SliceSides && (FDonutPercent >= 1 || FAngleSize != 360);
        for (int i : order) {
            const bool sides = SliceSides;
            if (cutFaces && (i == FirstValueIndex || i == LastValueIndex)) SliceSides = true;
            draw(i);
            SliceSides = sides;
        }
    } else {
        for (int i = FirstValueIndex; i <= LastValueIndex; ++i) draw(i);
    }
    DrawOtherLegend();
}

// The shadow falls where the slices lie: a whole disc casts an ellipse, but a partial pie, a
// donut or a pie with a slice moved out casts the outline of its slices, or a grey disc would
// show through the hole, beside a half pie and in the gap of the moved-out slice.
void TPieSeries::DrawShadow(bool Exploded) {
    TCanvas3D* c = Canvas();
    // Where depth runs up the screen the slices hang below their faces as far as their far ring
    // would stand above them: the shadow, cast at the far side of the pie, hangs so too, under
    // the pie, not on a disc standing behind it.
    const bool hangs = DepthRunsUp();
    if (!Exploded && FDonutPercent < 1 && FAngleSize == 360 && !hangs) {
        GetShadow()->DrawEllipse(c, CircleRect, EndZ - 10);
        return;
    }
    const double hole = HoleFraction();
    const auto outline = [&](double From, double To, int Dx, int Dy) {
        constexpr int steps = 64;
        std::vector<TPoint> points;
        const auto add = [&](double Angle, double Part) {
            int x, y;
            AngleToPos(Angle, XRadius * Part, YRadius * Part, x, y);
            const TPoint cast = c->Calculate3DPosition(x + Dx, y - Dy, EndZ - 10);
            if (!hangs) {
                points.push_back(cast);
                return;
            }
            points.push_back(ZuzHangBelow(cast, c->Calculate3DPosition(x + Dx, y - Dy, StartZ)));
        };
        const bool whole = To - From >= 2 * Pi;
        for (int i = 0; i <= steps; ++i) add(From + (To - From) * i / steps, 1);
        if (hole > 0)
            for (int i = steps; i >= 0; --i) add(From + (To - From) * i / steps, hole);
        else if (!whole)
            add(0, 0);
        GetShadow()->Draw(c, points);
    };
    if (!Exploded) {
        outline(0, FAngleSize * Pi / 180, 0, 0);
        return;
    }
    for (int i = FirstValueIndex; i <= LastValueIndex && i < static_cast<int>(FAngles.size()); ++i) {
        const TPieAngle& a = FAngles[static_cast<std::size_t>(i)];
        if (BelongsToOtherSlice(i) || a.EndAngle <= a.StartAngle) continue;
        int dx, dy;
        CalcExplodedOffset(i, dx, dy);
        outline(a.StartAngle, a.EndAngle, dx, dy);
    }
}

TBrushStyle TPieSeries::SliceBrushStyle(int ValueIndex) const {
    TCanvas3D* c = Canvas();
    if (ValueIndex < 0 || (!FUsePatterns && !(c && c->GetMonochrome()))) return bsSolid;
    static const TBrushStyle styles[] = {bsHorizontal, bsVertical, bsFDiagonal,
                                         bsBDiagonal,  bsCross,    bsDiagCross};
    return styles[ValueIndex % 6];
}

void TPieSeries::PreparePiePen(int ValueIndex) {
    TCanvas3D* c = Canvas();
    if (FDarkPen < 1 || ValueIndex < 0)
        c->AssignVisiblePen(GetPen());
    else
        c->AssignVisiblePenColor(
            GetPen(), ApplyDark(GetValueColor(ValueIndex), static_cast<Byte>(255 - std::min(FDarkPen, 255))));
}

TZuzGradient* TPieSeries::SliceGradient(TColor Color) {
    if (!FSliceGradient) FSliceGradient = MakeOwned<TZuzGradient>();
    TZuzGradient* g = FSliceGradient.get();
    g->Assign(GetGradient());
    g->SetEndColor(Color);
    if (FGradientBright > 0)
        g->SetStartColor(ApplyBright(Color, static_cast<Byte>(std::min(FGradientBright, 255))));
    else if (FGradientBright < 0)
        g->SetStartColor(ApplyDark(Color, static_cast<Byte>(std::min(-FGradientBright, 255))));
    return g;
}

void TPieSeries::DrawValue(int ValueIndex) {
    TCanvas3D* c = Canvas();
    if (!c || !CircleDrawn() || BelongsToOtherSlice(ValueIndex)) return;
    const TBrushStyle saved = GetBrush()->GetStyle();
    GetBrush()->SetStyle(SliceBrushStyle(ValueIndex));
    const TColor color = c->GetMonochrome() ? clBlack : GetValueColor(ValueIndex);
    try {
        if (color == clNone)
            c->Brush->SetStyle(bsClear);
        else
            c->AssignBrush(GetBrush(), color, CalcCircleBackColor());
        PreparePiePen(ValueIndex);
        DrawPie(ValueIndex);
    } catch (...) {
        GetBrush()->SetStyle(saved);
        throw;
    }
    GetBrush()->SetStyle(saved);
}

void TPieSeries::DrawPie(int ValueIndex) {
    TCanvas3D* c = Canvas();
    if (ValueIndex >= static_cast<int>(FAngles.size())) return;
    const TPieAngle& a = FAngles[static_cast<std::size_t>(ValueIndex)];
    int dx, dy;
    CalcExplodedOffset(ValueIndex, dx, dy);
    const int cx = CircleXCenter + dx, cy = CircleYCenter - dy;
    const double rot = RotationRadians();
    if (Is3D()) {
        const TColor color = c->GetMonochrome() ? clBlack : GetValueColor(ValueIndex);
        c->Pie3D(cx, cy, XRadius, YRadius, StartZ, SliceEndZ(ValueIndex), a.StartAngle + rot,
                 a.EndAngle + rot, FDark3D, SliceSides, HolePercent(),
                 GetGradient()->GetVisible() && color != clNone ? SliceGradient(color) : nullptr);
        return;
    }
    if (FDonutPercent < 1) {
        int x0, y0, x1, y1;
        AngleToPos(a.StartAngle, XRadius, YRadius, x0, y0);
        AngleToPos(a.EndAngle, XRadius, YRadius, x1, y1);
        if (x0 == x1 && y0 == y1 && Count() > 1 && a.EndAngle - a.StartAngle <= 1) return;
        c->Pie(CircleRect.Left + dx, CircleRect.Top - dy, CircleRect.Right + dx, CircleRect.Bottom - dy,
               x0 + dx, y0 - dy, x1 + dx, y1 - dy);
        return;
    }
    if (GetYValues()->GetValue(ValueIndex) != 0)
        c->Donut(cx, cy, XRadius, YRadius, a.StartAngle + rot, a.EndAngle + rot, HolePercent());
}

void TPieSeries::DrawMark(int ValueIndex, const String& Text, TSeriesMarkPosition& Position) {
    if (BelongsToOtherSlice(ValueIndex) || ValueIndex >= static_cast<int>(FAngles.size())) return;
    TSeriesMarks* marks = GetMarks();
    int rx, ry;
    CalcExplodedRadius(ValueIndex, rx, ry);
    double angle = FAngles[static_cast<std::size_t>(ValueIndex)].MidAngle;
    if (FullRotation()) angle = Pi + angle + Pi / 2;
    // The arrow starts at the rim of the slice's face, which is drawn at the start depth: the
    // ring at its far depth may lie off the drawn pie.
    marks->ZPosition = StartZ;
    Position.ArrowStartFixed = true;
    const int distance = marks->GetCallout()->GetDistance();
    const int d = marks->GetCallout()->GetLength() + distance;
    AngleToPos(angle, rx + d, ry + d, Position.ArrowEnd.X, Position.ArrowEnd.Y);
    AngleToPos(angle, rx + distance, ry + distance, Position.ArrowStart.X, Position.ArrowStart.Y);
    Position.TopLeft.X = Position.ArrowEnd.X;
    if (Position.ArrowEnd.X <= CircleXCenter) Position.TopLeft.X -= Position.Width;
    Position.TopLeft.Y = Position.ArrowEnd.Y;
    if (Position.ArrowEnd.Y <= CircleYCenter) Position.TopLeft.Y -= Position.Height;
    if (FPieMarks->GetVertCenter()) {
        if (Position.ArrowEnd.Y <= CircleYCenter)
            Position.ArrowEnd.Y -= Position.Height / 2;
        else
            Position.ArrowEnd.Y += Position.Height / 2;
    }
    const int leg = FPieMarks->GetLegSize();
    Position.HasMidPoint = leg > 0;
    Position.MidPoint = TPoint();
    if (leg > 0) {
        if (Position.ArrowEnd.X <= CircleXCenter) {
            if (Position.ArrowEnd.X + leg <= Position.ArrowStart.X) {
                Position.MidPoint.X = Position.ArrowEnd.X + leg;
            } else {
                Position.MidPoint.X = Position.ArrowStart.X;
                Position.ArrowEnd.X = Position.ArrowStart.X - leg;
                Position.TopLeft.X = Position.ArrowEnd.X - Position.Width;
            }
        } else if (Position.ArrowEnd.X - leg >= Position.ArrowStart.X) {
            Position.MidPoint.X = Position.ArrowEnd.X - leg;
        } else {
            Position.MidPoint.X = Position.ArrowStart.X;
            Position.ArrowEnd.X += leg;
            Position.TopLeft.X = Position.ArrowEnd.X;
        }
        Position.MidPoint.Y = Position.ArrowEnd.Y;
    }
    if (FAutoMarkPosition) marks->AntiOverlap(FirstValueIndex, ValueIndex, Position);
    TCircledSeries::DrawMark(ValueIndex, Text, Position);
}

// ---------------------------------------------------------------------------
// Legend and clicks

// The chart's legend lists the slices drawn; the Other slice's own legend the
// points grouped into it.
int TPieSeries::CountLegendItems() const {
    int n = 0;
    for (int i = 0; i < Count(); ++i)
        if (BelongsToOtherSlice(i) == FDrawingOtherLegend) ++n;
    return n;
}

int TPieSeries::LegendToValueIndex(int LegendIndex) const {
    int n = -1;
    for (int i = 0; i < Count(); ++i)
        if (BelongsToOtherSlice(i) == FDrawingOtherLegend && ++n == LegendIndex) return i;
    return LegendIndex;
}

void TPieSeries::DrawOtherLegend() {
    TChartLegend* legend = FOtherSlice->ExistingLegend();
    if (!legend || !legend->GetVisible() || !dynamic_cast<TCustomChart*>(legend->GetParentChart())) return;
    struct Owner {
        bool& Flag;
        explicit Owner(bool& F) : Flag(F) { Flag = true; }
        ~Owner() { Flag = false; }
        Owner(const Owner&) = delete;
        Owner& operator=(const Owner&) = delete;
    } const owner(FDrawingOtherLegend);
    legend->DrawLegend();
}

void TPieSeries::PrepareLegendCanvas(int ValueIndex, TColor& BackColor, TBrushStyle& BrushStyle) {
    BackColor = CalcCircleBackColor();
    if (Canvas()) PreparePiePen(ValueIndex);
    BrushStyle = SliceBrushStyle(ValueIndex);
}

void TPieSeries::DrawLegendShape(int ValueIndex, const TRect& Rect) {
    TCircledSeries::DrawLegendShape(ValueIndex, Rect);
    TCanvas3D* c = Canvas();
    if (!c || !GetGradient()->GetVisible() || ValueIndex < 0) return;
    const TColor color = c->GetMonochrome() ? clBlack : GetValueColor(ValueIndex);
    if (color == clNone) return;
    SliceGradient(color)->Draw(c, Rect);
    c->Brush->SetStyle(bsClear);
    c->AssignVisiblePen(GetPen());
    c->Rectangle(Rect);
}

int TPieSeries::Clicked(int X, int Y) {
    // A mark stands for its slice.
    int marks = TCircledSeries::Clicked(X, Y);
    if (marks == -1 && GetMarks()->GetVisible()) marks = GetMarks()->Clicked(X, Y);
    if (marks != -1 && BelongsToOtherSlice(marks)) marks = -1; // its mark is not drawn
    return marks != -1 ? marks : CalcClickedPie(X, Y, true);
}

// A slice answers a click where it is drawn: on its face at the start depth, seen from above,
// and, in 3D, on the walls and cut faces that hang below that face where they turn to the
// viewer. A donut's slice is a ring piece: its hole answers nothing, but in 3D the wall round
// the hole, which each slice draws before its face, answers where nothing drawn later covers it.
// Where slices overlap on the screen the one drawn last is seen, so they are tried from the
// front of the pie back.
int TPieSeries::CalcClickedPie(int X, int Y, bool Exploded) {
    TCanvas3D* c = Canvas();
    // A circle squeezed too small to draw (a legend taking most of a small panel) is not there.
    if (FAngles.empty() || !c || !CircleDrawn()) return -1;
    const TPoint p(X, Y);
    const int n = std::min(Count(), static_cast<int>(FAngles.size()));
    std::vector<TDrawnSlice> order(FDrawn);
    if (order.empty())
        for (int i = 0; i < n; ++i) order.push_back({i, SliceSides});
    const bool is3D = Is3D();
    const double hole = HoleFraction();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const int i = it->Index;
        // A null slice is drawn with a clear brush: no face of it is there to click.
        if (i < 0 || i >= n || BelongsToOtherSlice(i) || IsNull(i)) continue;
        const TPieAngle& a = FAngles[static_cast<std::size_t>(i)];
        int dx = 0, dy = 0;
        if (Exploded) CalcExplodedOffset(i, dx, dy);
        const int z = SliceEndZ(i);
        auto at = [&](double Angle, int Z, double Part = 1) {
            int x, y;
            AngleToPos(Angle, XRadius * Part, YRadius * Part, x, y);
            return c->Calculate3DPosition(x + dx, y - dy, Z);
        };
        // Enough chords that none stands off the drawn rim by a quarter pixel.
        const double span = a.EndAngle - a.StartAngle;
        const int m = std::max(30, static_cast<int>(std::ceil(
                                       std::abs(span) / std::sqrt(2.0 / std::max({XRadius, YRadius, 1})))));
        const double step = span / m;
        // The face: the rim from the end angle back to the start, closed through the centre or,
        // in a donut, along the hole's rim.
        std::vector<TPoint> face;
        for (int k = 0; k <= m; ++k) face.push_back(at(a.EndAngle - k * step, StartZ));
        const TPoint centreTop = c->Calculate3DPosition(CircleXCenter + dx, CircleYCenter - dy, StartZ);
        if (hole > 0)
            for (int k = 0; k <= m; ++k) face.push_back(at(a.StartAngle + k * step, StartZ, hole));
        else
            face.push_back(centreTop);
        if (PointInPolygon(p, face.data(), static_cast<int>(face.size()) - 1)) return i;
        if (!is3D || z == StartZ) continue;
        // The rims from the start angle to the end at the face and at the slice's far depth,
        // that ring hung below the face as the drawing hangs it.
        TPoint centreBottom = c->Calculate3DPosition(CircleXCenter + dx, CircleYCenter - dy, z);
        const bool flip = centreBottom.Y < centreTop.Y;
        auto hang = [&](TPoint Bottom, TPoint Top) { return flip ? ZuzHangBelow(Bottom, Top) : Bottom; };
        centreBottom = hang(centreBottom, centreTop);
        std::vector<TPoint> top(m + 1), bottom(m + 1), innerTop(m + 1), innerBottom(m + 1);
        for (int k = 0; k <= m; ++k) {
            const double angle = a.StartAngle + k * step;
            top[k] = at(angle, StartZ);
            bottom[k] = hang(at(angle, z), top[k]);
            innerTop[k] = hole > 0 ? at(angle, StartZ, hole) : centreTop;
            innerBottom[k] = hole > 0 ? hang(at(angle, z, hole), innerTop[k]) : centreBottom;
        }
        if (hole > 0) {
            // The hole's wall is drawn whole, turned to the viewer or not.
            std::vector<TPoint> wall(innerTop.rbegin(), innerTop.rend());
            wall.insert(wall.end(), innerBottom.begin(), innerBottom.end());
            if (PointInPolygon(p, wall.data(), static_cast<int>(wall.size()) - 1)) return i;
        }
        // Growing angles run round the screen one way; a face whose corners run that way too is
        // turned to the viewer.
        const int turn = ZuzWinding(
            {centreTop, c->Calculate3DPosition(CircleXCenter + dx + XRadius, CircleYCenter - dy, StartZ),
             c->Calculate3DPosition(CircleXCenter + dx, CircleYCenter - dy - YRadius, StartZ)});
        auto holds = [&](std::initializer_list<TPoint> Face) {
            return ZuzWinding(Face) * turn > 0 &&
                   PointInPolygon(p, Face.begin(), static_cast<int>(Face.size()) - 1);
        };
        for (int k = 0; k < m; ++k)
            if (holds({top[k], bottom[k], bottom[k + 1], top[k + 1]})) return i;
        if (it->Sides && (holds({innerTop[m], top[m], bottom[m], innerBottom[m]}) ||
                          holds({innerTop[0], innerBottom[0], bottom[0], top[0]})))
            return i;
    }
    return -1;
}

void TPieSeries::CalcSelectionPos(int ValueIndex, int& X, int& Y) {
    if (ValueIndex < 0 || ValueIndex >= static_cast<int>(FAngles.size())) {
        X = CircleXCenter;
        Y = CircleYCenter;
        return;
    }
    int rx, ry;
    CalcExplodedRadius(ValueIndex, rx, ry);
    AngleToPos(FAngles[static_cast<std::size_t>(ValueIndex)].MidAngle, rx, ry, X, Y);
}

// ---------------------------------------------------------------------------
// 3D options, samples and gallery

void TPieSeries::InitCustom3DOptions() {
    TCustomAxisPanel* p = Panel();
    if (!p || !p->GetView3DOptions()) return;
    TView3DOptions* o = p->GetView3DOptions();
    o->SetOrthogonal(false);
    o->SetRotation(360);
    o->SetElevation(315);
    o->SetPerspective(0);
    o->SetTilt(0);
}

void TPieSeries::DisableRotation() {
    TCustomAxisPanel* p = Panel();
    if (!p || !p->GetView3DOptions()) return;
    TView3DOptions* o = p->GetView3DOptions();
    o->SetOrthogonal(false);
    o->SetRotation(0);
    o->SetElevation(305);
}

void TPieSeries::AddSampleValues(int NumValues, bool OnlyMandatory) {
    static const char16_t* const labels[] = {u"Cars",  u"Phones",    u"Tables", u"Monitors",
                                             u"Lamps", u"Keyboards", u"Bikes",  u"Chairs"};
    for (int i = 0; i < NumValues; ++i) Add(1 + RandomValue(1000), labels[i % 8], clZuzColor);
}

void TPieSeries::PrepareForGallery(bool IsEnabled) {
    TCircledSeries::PrepareForGallery(IsEnabled);
    FillSampleValues(8);
    if (TCustomAxisPanel* p = Panel()) p->Set3DPercent(75);
    GetMarks()->GetCallout()->SetLength(0);
    GetMarks()->SetDrawEvery(1);
    GetGradient()->SetVisible(true);
    DisableRotation();
}

void TPieSeries::GalleryChanged3D(bool Is3D) {
    TCircledSeries::GalleryChanged3D(Is3D);
    DisableRotation();
    SetCircled(!Is3D);
}

void TPieSeries::CreateSubGallery(const std::function<void(const String&)>& AddSubChart) {
    TCircledSeries::CreateSubGallery(AddSubChart);
    for (const char16_t* name :
         {u"Patterns", u"Exploded", u"Shadow", u"Marks", u"Semi Pie", u"No Border", u"Dark Border"})
        AddSubChart(name);
}

void TPieSeries::SetSubGallery(TChartSeries* Series, int Index) {
    auto* pie = dynamic_cast<TPieSeries*>(Series);
    if (!pie) return;
    switch (Index) {
    case 1:
        pie->SetUsePatterns(true);
        pie->GetGradient()->SetVisible(false);
        break;
    case 2:
        pie->SetExplodeBiggest(30);
        break;
    case 3:
        pie->GetShadow()->SetHorizSize(10);
        pie->GetShadow()->SetVertSize(10);
        break;
    case 4:
        pie->GetMarks()->SetVisible(true);
        pie->Clear();
        pie->Add(30, u"A", clZuzColor);
        pie->Add(70, u"B", clZuzColor);
        break;
    case 5:
        pie->SetAngleSize(180);
        break;
    case 6:
        pie->GetPen()->SetVisible(false);
        break;
    case 7:
        pie->SetDarkPen(32);
        break;
    default:
        TCircledSeries::SetSubGallery(Series, Index);
    }
}
