// The bar series base: properties, the sharing of a category among the bar
// series of a chart, the bar size and margins, where a bar starts, the range
// that stacking produces, depth, visible range, clicks and the gallery.
#include "chart/series/series_bar.h"

#include "chart/canvas/zuzshadow.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/seriestypes.h"
#include "platform/core/filer.h"

#include <algorithm>
#include <cmath>

template <>
const EnumInfo& EnumInfoOf<TBarStyle>() {
    static const EnumInfo info{"TBarStyle",
                               {"bsRectangle", "bsPyramid", "bsInvPyramid", "bsCilinder", "bsEllipse",
                                "bsArrow", "bsRectGradient", "bsCone", "bsBevel", "bsSlantCube", "bsDiamond",
                                "bsInvArrow", "bsInvCone"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TMultiBar>() {
    static const EnumInfo info{"TMultiBar",
                               {"mbNone", "mbSide", "mbStacked", "mbStacked100", "mbSideAll", "mbSelfStack"}};
    return info;
}

// ---------------------------------------------------------------------------
// Gradient

const ClassInfo& TBarSeriesGradient::StaticClass() {
    using C = TBarSeriesGradient;
    static const PropInfo props[] = {
        MakeProp<&C::GetAngle, &C::SetAngle>("Angle").Default(0),
        MakeProp<&C::GetBalance, &C::SetBalance>("Balance").Default(50),
        MakeProp<&C::GetDirection, &C::SetDirection>("Direction"),
        MakeProp<&C::GetMidColor, &C::SetMidColor>("MidColor").Default(clNone),
        MakeProp<&C::GetRadialX, &C::SetRadialX>("RadialX").Default(0),
        MakeProp<&C::GetRadialY, &C::SetRadialY>("RadialY").Default(0),
        MakeProp<&C::GetRelative, &C::SetRelative>("Relative").Default(0),
        MakeProp<&C::GetStartColor, &C::SetStartColor>("StartColor").Default(0xFFFFFF),
        MakeProp<&C::GetSub, &C::SetSub>("SubGradient").Stored<&C::HasSub>(),
        MakeProp<&C::GetVisible, &C::SetVisible>("Visible").Default(1),
    };
    static const ClassInfo info =
        MakeClassInfo<C>("TBarSeriesGradient", &TCustomZuzGradient::StaticClass(), props);
    return info;
}

TBarSeriesGradient::TBarSeriesGradient(TNotifyEvent ChangedEvent)
    : TCustomZuzGradient(ChangedEvent), FChanged(ChangedEvent) {
    SetVisible(true);
}

void TBarSeriesGradient::DefineProperties(TFiler* Filer) {
    TCustomZuzGradient::DefineProperties(Filer);
    // Older files wrote the end colour, which is the bar's own colour whenever it is drawn.
    Filer->DefineProperty(
        "EndColor", [](TReader* Reader) { Reader->SkipValue(); }, nullptr, false);
}

void TBarSeriesGradient::Assign(TPersistent* Source) {
    if (auto* g = dynamic_cast<TBarSeriesGradient*>(Source)) FRelative = g->FRelative;
    TCustomZuzGradient::Assign(Source);
}

void TBarSeriesGradient::SetRelative(bool Value) {
    if (FRelative == Value) return;
    FRelative = Value;
    if (FChanged) FChanged(this);
}

// ---------------------------------------------------------------------------
// The base

const ClassInfo& TCustomBarSeries::StaticClass() {
    using C = TCustomBarSeries;
    static const PropInfo props[] = {
        MakeProp<&C::GetAutoBarSize, &C::SetAutoBarSize>("AutoBarSize").Default(0),
        MakeProp<&C::GetAutoMarkPosition, &C::SetAutoMarkPosition>("AutoMarkPosition").Default(1),
        MakeProp<&C::GetBarBrush, &C::SetBarBrush>("BarBrush"),
        MakeProp<&C::GetBarPen, &C::SetBarPen>("BarPen"),
        MakeProp<static_cast<TBarStyle (C::*)() const>(&C::GetBarStyle), &C::SetBarStyle>("BarStyle")
            .Default(bsRectangle),
        MakeProp<&C::GetBarWidthPercent, &C::SetBarWidthPercent>("BarWidthPercent").Default(70),
        MakeProp<&C::GetBevelSize, &C::SetBevelSize>("BevelSize").Default(1),
        MakeProp<&C::GetDark3D, &C::SetDark3D>("Dark3D").Default(1),
        MakeProp<&C::GetDarkPen, &C::SetDarkPen>("DarkPen").Default(0),
        MakeProp<&C::GetDepthPercent, &C::SetDepthPercent>("DepthPercent").Default(100),
        MakeProp<&C::GetGradient, &C::SetGradient>("Gradient"),
        MakeProp<&C::GetMultiBar, &C::SetMultiBar>("MultiBar").Default(mbSide),
        MakeProp<&C::GetOffsetPercent, &C::SetOffsetPercent>("OffsetPercent").Default(0),
        MakeProp<&C::GetShadow, &C::SetShadow>("Shadow"),
        MakeProp<&C::GetSideMargins, &C::SetSideMargins>("SideMargins").Default(1),
        MakeProp<&C::GetStackGroup, &C::SetStackGroup>("StackGroup").Default(0),
        MakeProp<&C::GetTickLines, &C::SetTickLines>("TickLines"),
        MakeProp<&C::GetTransparency, &C::SetTransparency>("Transparency").Default(0),
        MakeProp<&C::GetUseYOrigin, &C::SetUseYOrigin>("UseYOrigin").Default(1),
        MakeProp<&C::GetYOrigin, &C::SetYOrigin>("YOrigin"),
        MakeProp<&C::OnGetBarStyle>("OnGetBarStyle"),
    };
    static const ClassInfo info = MakeClassInfo<C>("TCustomBarSeries", &TChartSeries::StaticClass(), props);
    return info;
}

TCustomBarSeries::TCustomBarSeries(TComponent* AOwner) : TChartSeries(AOwner) {
    TNotifyEvent changed;
    changed.Bind([this](TObject*) { Repaint(); });
    FGradient.reset(Create<TBarSeriesGradient>(changed));
    FShadow.reset(Create<TZuzShadow>(changed));
    FShadow->InitValues(static_cast<TColor>(0x808080), 0);
    FShadow->SetColor(static_cast<TColor>(0x808080));
    FShadow->SetSize(0);
    FTickLines.reset(Create<TChartHiddenPen>(changed));
    GetMarks()->SetVisible(true);
    GetMarks()->DefaultVisible = true;
    GetMarks()->GetCallout()->SetLength(20);
    GetMarks()->GetCallout()->DefaultLength = 20;
}

TCustomBarSeries::~TCustomBarSeries() = default;

void TCustomBarSeries::Assign(TPersistent* Source) {
    if (auto* s = dynamic_cast<TCustomBarSeries*>(Source)) {
        FAutoMarkPosition = s->FAutoMarkPosition;
        FBarWidthPercent = s->FBarWidthPercent;
        FBarStyle = s->FBarStyle;
        FBevelSize = s->FBevelSize;
        FCustomBarSize = s->FCustomBarSize;
        FDark3D = s->FDark3D;
        FDarkPen = s->FDarkPen;
        FDepthPercent = s->FDepthPercent;
        FGradient->Assign(s->FGradient.get());
        FMultiBar = s->FMultiBar;
        FOffsetPercent = s->FOffsetPercent;
        FYOrigin = s->FYOrigin;
        FShadow->Assign(s->FShadow.get());
        FSideMargins = s->FSideMargins;
        FStackGroup = s->FStackGroup;
        FTickLines->Assign(s->FTickLines.get());
        FTransparency = s->FTransparency;
        FUseYOrigin = s->FUseYOrigin;
    }
    TChartSeries::Assign(Source);
}

TCanvas3D* TCustomBarSeries::Canvas() const {
    return GetParentChart() ? GetParentChart()->GetCanvas() : nullptr;
}

bool TCustomBarSeries::Is3D() const {
    return GetParentChart() && GetParentChart()->GetView3D();
}

bool TCustomBarSeries::IsOrthogonal() const {
    TCanvas3D* c = Canvas();
    return c && c->View3DOptions && c->View3DOptions->GetOrthogonal();
}

void TCustomBarSeries::SetBarStyle(TBarStyle Value) {
    if (FBarStyle == Value) return;
    FBarStyle = Value;
    Repaint();
}

// Percentages of the series' depth and of a bar's width, as the editor offers them: a file's
// number is multiplied with the chart's sizes.
void TCustomBarSeries::SetDepthPercent(int Value) {
    SetIntegerProperty(FDepthPercent, std::clamp(Value, 0, 100));
}
void TCustomBarSeries::SetOffsetPercent(int Value) {
    SetIntegerProperty(FOffsetPercent, std::clamp(Value, -100, 100));
}

// A percentage: a file's number beyond it would wrap the blend's alpha.
void TCustomBarSeries::SetTransparency(int Value) {
    Value = std::clamp(Value, 0, 100);
    if (FTransparency == Value) return;
    FTransparency = Value;
    Repaint();
}

void TCustomBarSeries::SetShadow(TZuzShadow* Value) {
    FShadow->Assign(Value);
}

void TCustomBarSeries::SetTickLines(TChartHiddenPen* Value) {
    FTickLines->Assign(Value);
}

void TCustomBarSeries::SetMultiBar(TMultiBar Value) {
    if (FMultiBar == Value) return;
    FMultiBar = Value;
    SetOtherBars(true);
    Repaint();
}

void TCustomBarSeries::SetSideMargins(bool Value) {
    SetBooleanProperty(FSideMargins, Value);
    SetOtherBars(true);
}

void TCustomBarSeries::SetParentChart(ISeriesChart* Value) {
    TChartSeries::SetParentChart(Value);
    SetOtherBars(false);
}

void TCustomBarSeries::SetOtherBars(bool SetOthers) {
    ISeriesChart* chart = GetParentChart();
    if (!chart) return;
    for (int t = 0; t < chart->SeriesCount(); ++t) {
        auto* s = dynamic_cast<TCustomBarSeries*>(chart->GetSeries(t));
        if (!s || !s->InheritsFrom(ClassType())) continue;
        if (SetOthers) {
            s->FMultiBar = FMultiBar;
            s->FSideMargins = FSideMargins;
            s->CalcVisiblePoints = s->FMultiBar != mbSelfStack;
        } else {
            if (s == this) return;
            FMultiBar = s->FMultiBar;
            FSideMargins = s->FSideMargins;
            return;
        }
    }
}

TCustomBarSeries* TCustomBarSeries::SameClassBar(TChartSeries* Series) const {
    auto* bar = dynamic_cast<TCustomBarSeries*>(Series);
    return bar && SameClass(bar) ? bar : nullptr;
}

TBarStyle TCustomBarSeries::GetBarStyle(int ValueIndex) {
    TBarStyle style = FBarStyle;
    if (OnGetBarStyle) OnGetBarStyle(this, ValueIndex, style);
    return style;
}

// ---------------------------------------------------------------------------
// Layout

void TCustomBarSeries::DoBeforeDrawChart() {
    TChartSeries::DoBeforeDrawChart();
    BarOrder = 1;
    PreviousBarPoints = 0;
    BarSlots = 0;
    MaxBarPoints = -1;
    std::vector<int> groups;
    bool selfReached = false;
    int columns = 0;
    ISeriesChart* chart = GetParentChart();
    if (!chart) return;
    for (int t = 0; t < chart->SeriesCount(); ++t) {
        TChartSeries* s = chart->GetSeries(t);
        if (!s->GetActive()) continue;
        const int n = s->Count();
        auto* bar = SameClassBar(s);
        if (!bar) {
            if (s->YMandatory() && (n > MaxBarPoints || MaxBarPoints == -1)) MaxBarPoints = n;
            continue;
        }
        if (bar == this) selfReached = true;
        ++columns;
        if (MaxBarPoints == -1 || MaxBarPoints < n) MaxBarPoints = n + (bar->FSideMargins && n >= 1 ? 1 : 0);
        switch (bar->FMultiBar) {
        case mbNone:
        case mbSelfStack:
            BarSlots = 1;
            break;
        case mbSide:
        case mbSideAll:
            ++BarSlots;
            if (!selfReached) ++BarOrder;
            break;
        case mbStacked:
        case mbStacked100:
            if (std::find(groups.begin(), groups.end(), bar->FStackGroup) == groups.end()) {
                groups.push_back(bar->FStackGroup);
                ++BarSlots;
                if (!selfReached) ++BarOrder;
            }
            break;
        }
        if (!selfReached) PreviousBarPoints += n;
    }
    if (const auto g = std::find(groups.begin(), groups.end(), FStackGroup); g != groups.end())
        BarOrder = static_cast<int>(g - groups.begin()) + 1;
    const int perPage = chart->GetMaxPointsPerPage();
    // Each self-stacked series is one column at its own index, so the axis is shared among the
    // columns, with room for half a column at both ends as other bars have.
    if (FMultiBar == mbSelfStack)
        MaxBarPoints = perPage != 0 ? perPage : columns + (FSideMargins ? 1 : 0);
    else if (perPage > 0)
        MaxBarPoints = perPage;
}

void TCustomBarSeries::InternalApplyBarMargin(int& Margin1, int& Margin2) {
    if (FCustomBarSize != 0) {
        CurrentBarSize = FCustomBarSize;
    } else if (MaxBarPoints < 1) {
        CurrentBarSize = 0;
    } else if (TChartAxis* axis = CategoryAxis()) {
        int slot;
        if (FAutoBarSize) {
            const double span = 2.0 + axis->GetMaximum() - axis->GetMinimum();
            slot = span > 0 ? static_cast<int>(Round(axis->IAxisSize / span)) : 0;
        } else if (axis->GetAutomatic()) {
            slot = axis->IAxisSize / MaxBarPoints;
        } else {
            const TChartValueList* list = NotMandatoryValueList();
            const double lo = Count() > 0 ? list->GetMinValue() : 0;
            const double step = Count() > 0 ? (list->GetMaxValue() - lo) / Count() : 0;
            const double hi = Count() > 0 ? list->GetMaxValue() : 0;
            slot = std::abs(axis->CalcPosValue(hi + step) - axis->CalcPosValue(lo)) / MaxBarPoints;
        }
        // A layout not made yet (no draw since the series joined) has no slots: one.
        CurrentBarSize = static_cast<int>(Round(FBarWidthPercent * 0.01 * slot)) / BarSlotsOrOne();
        if (CurrentBarSize % 2 != 0) ++CurrentBarSize;
    } else {
        CurrentBarSize = 0;
    }
    const int m = BarMargin();
    Margin1 += m;
    Margin2 += m;
}

int TCustomBarSeries::BarMargin() const {
    const int m = FMultiBar == mbSideAll ? CurrentBarSize : CurrentBarSize * BarSlotsOrOne();
    return FSideMargins ? m : m / 2;
}

int TCustomBarSeries::ApplyBarOffset(int Position) const {
    if (FOffsetPercent == 0) return Position;
    return Position + static_cast<int>(Round(FOffsetPercent * CurrentBarSize * 0.01));
}

double TCustomBarSeries::PointOrigin(int ValueIndex, bool SumAll) const {
    if (FMultiBar == mbStacked || FMultiBar == mbStacked100) {
        ISeriesChart* chart = GetParentChart();
        if (!chart) return 0;
        const bool positive = MandatoryValueList()->GetValue(ValueIndex) >= 0;
        double sum = 0;
        for (int t = 0; t < chart->SeriesCount(); ++t) {
            TChartSeries* s = chart->GetSeries(t);
            if (!SumAll && s == this) break;
            const TCustomBarSeries* bar = SameClassBar(s);
            if (!s->GetActive() || !bar || s->Count() <= ValueIndex || bar->FStackGroup != FStackGroup)
                continue;
            const double v = s->GetOriginValue(ValueIndex);
            if ((v >= 0) == positive) sum += v;
        }
        return sum;
    }
    if (FMultiBar == mbSelfStack) {
        double sum = 0;
        for (int i = 0; i < ValueIndex; ++i) sum += MandatoryValueList()->GetValue(i);
        return sum;
    }
    return FYOrigin;
}

int TCustomBarSeries::InternalGetOriginPos(int ValueIndex, int DefaultPos) const {
    const double o = PointOrigin(ValueIndex, false);
    switch (FMultiBar) {
    case mbStacked:
    case mbSelfStack:
        return CalcPosValue(o);
    case mbStacked100: {
        const double total = PointOrigin(ValueIndex, true);
        return total == 0 ? 0 : CalcPosValue(o * 100 / total);
    }
    default:
        return FUseYOrigin ? CalcPosValue(o) : DefaultPos;
    }
}

double TCustomBarSeries::MaxMandatoryValue(double Value) const {
    if (FMultiBar == mbStacked100) return 100;
    double result = Value;
    if (FMultiBar == mbSelfStack) {
        result = MandatoryValueList()->GetTotal();
    } else if (FMultiBar == mbStacked) {
        for (int i = 0; i < Count(); ++i)
            result = std::max(result, PointOrigin(i, false) + MandatoryValueList()->GetValue(i));
    }
    if (FUseYOrigin && result < FYOrigin) result = FYOrigin;
    return result;
}

double TCustomBarSeries::MinMandatoryValue(double Value) const {
    if (FMultiBar == mbStacked100) return 0;
    double result = Value;
    if (FMultiBar == mbStacked || FMultiBar == mbSelfStack)
        for (int i = 0; i < Count(); ++i)
            result = std::min(result, PointOrigin(i, false) + MandatoryValueList()->GetValue(i));
    if (FUseYOrigin && result > FYOrigin) result = FYOrigin;
    return result;
}

void TCustomBarSeries::CalcDepthPositions() {
    TChartSeries::CalcDepthPositions();
    if (FDepthPercent == 0) return;
    const int d = static_cast<int>(Round((EndZ - StartZ) * (100 - FDepthPercent) * 0.005));
    StartZ += d;
    EndZ -= d;
    MiddleZ = (StartZ + EndZ) / 2;
}

void TCustomBarSeries::CalcZOrder() {
    ISeriesChart* chart = GetParentChart();
    if (FMultiBar == mbNone || !chart) {
        TChartSeries::CalcZOrder();
        return;
    }
    for (int t = 0; t < chart->SeriesCount(); ++t) {
        TChartSeries* s = chart->GetSeries(t);
        if (!s->GetActive()) continue;
        if (s == this) break;
        if (SameClassBar(s)) {
            IZOrder = s->GetZOrder();
            return;
        }
    }
    TChartSeries::CalcZOrder();
}

bool TCustomBarSeries::IsPointInChartRect(int ValueIndex) const {
    if (!GetParentChart()) return false;
    TRect r;
    CalcBarBounds(ValueIndex, r);
    TRect both;
    return IntersectRect(both, r, GetParentChart()->GetChartRect());
}

void TCustomBarSeries::CalcFirstLastVisibleIndex() {
    if (FMultiBar == mbSelfStack) {
        FirstValueIndex = Count() > 0 ? 0 : -1;
        LastValueIndex = Count() - 1;
        return;
    }
    ISeriesChart* chart = GetParentChart();
    if (chart && chart->GetMaxPointsPerPage() == 1) {
        const int i = chart->GetPage() - 1;
        FirstValueIndex = LastValueIndex = i < Count() ? i : -1;
        return;
    }
    TChartSeries::CalcFirstLastVisibleIndex();
    if (FirstValueIndex < 0) return;
    const TChartValueList* x = NotMandatoryValueList();
    while (LastValueIndex < Count() - 1 && IsPointInChartRect(LastValueIndex + 1)) ++LastValueIndex;
    while (LastValueIndex < Count() - 1 && x->GetValue(LastValueIndex + 1) == x->GetValue(LastValueIndex))
        ++LastValueIndex;
    while (FirstValueIndex > 0 && IsPointInChartRect(FirstValueIndex - 1)) --FirstValueIndex;
    while (FirstValueIndex > 0 && x->GetValue(FirstValueIndex - 1) == x->GetValue(FirstValueIndex))
        --FirstValueIndex;
    // A page shows its own points: the room its axis keeps for the bars' width also takes in
    // bars of the pages beside it, which would stand cut at the walls with their marks beyond.
    const TChartAxis* axis = YMandatory() ? GetHorizAxisObject() : GetVertAxisObject();
    if (chart && chart->GetMaxPointsPerPage() > 0 && axis && x->GetOrder() == loAscending) {
        while (FirstValueIndex <= LastValueIndex && x->GetValue(FirstValueIndex) < axis->GetMinimum())
            ++FirstValueIndex;
        while (LastValueIndex >= FirstValueIndex && x->GetValue(LastValueIndex) > axis->GetMaximum())
            --LastValueIndex;
        if (FirstValueIndex > LastValueIndex) FirstValueIndex = LastValueIndex = -1;
    }
}

int TCustomBarSeries::Clicked(int X, int Y) {
    if (ClippedAway(X, Y)) return -1;
    if (FirstValueIndex < 0 || LastValueIndex < 0) return -1;
    const int last = std::min(LastValueIndex, Count() - 1);
    // A null point draws no bar.
    for (int i = FirstValueIndex; i <= last; ++i)
        if (!IsNull(i) && InternalClicked(i, TPoint(X, Y))) return i;
    return -1;
}

int TCustomBarSeries::CalcMarkLength(int ValueIndex) {
    TSeriesMarks* marks = GetMarks();
    if (Count() == 0 || !marks->GetVisible()) return 0;
    TCanvas3D* c = Canvas();
    if (!c) return 0;
    c->AssignFont(marks->GetFont());
    int length = InternalCalcMarkLength(ValueIndex) + marks->GetCallout()->GetLength();
    if (marks->GetFrame()->GetVisible()) length += 2 * marks->GetFrame()->GetWidth();
    return length;
}

// ---------------------------------------------------------------------------
// Samples and gallery

int TCustomBarSeries::NumSampleValues() const {
    ISeriesChart* chart = GetParentChart();
    if (chart && chart->SeriesCount() > 1)
        for (int t = 0; t < chart->SeriesCount(); ++t) {
            TChartSeries* s = chart->GetSeries(t);
            if (s != this && dynamic_cast<TCustomBarSeries*>(s) && s->Count() > 0) return s->Count();
        }
    return 6;
}

void TCustomBarSeries::AddSampleValues(int NumValues, bool OnlyMandatory) {
    ISeriesChart* chart = GetParentChart();
    if (chart)
        for (int t = 0; t < chart->SeriesCount(); ++t) {
            TChartSeries* s = chart->GetSeries(t);
            if (s != this && SameClass(s) && HasNoMandatoryValues(s)) {
                TChartSeries::AddSampleValues(NumValues, OnlyMandatory);
                break;
            }
        }
    TChartSeries::AddSampleValues(NumValues, true);
}

void TCustomBarSeries::PrepareForGallery(bool IsEnabled) {
    TChartSeries::PrepareForGallery(IsEnabled);
    SetBarWidthPercent(85);
    SetBarStyle(bsRectGradient);
    FGradient->SetVisible(true);
    SetMultiBar(mbNone);
    SetDarkPen(130);
}

void TCustomBarSeries::CreateSubGallery(const std::function<void(const String&)>& AddSubChart) {
    TChartSeries::CreateSubGallery(AddSubChart);
    for (const char16_t* name : {u"Colors", u"Pyramid", u"Ellipse", u"Inv. Pyramid", u"Gradient"})
        AddSubChart(name);
    if (SubGalleryStack())
        for (const char16_t* name : {u"Stack", u"Stack 100%", u"Self Stacked"}) AddSubChart(name);
    AddSubChart(u"Sides");
    AddSubChart(u"Side All");
}

void TCustomBarSeries::SetSubGallery(TChartSeries* Series, int Index) {
    auto* bar = dynamic_cast<TCustomBarSeries*>(Series);
    if (!bar) return;
    switch (Index) {
    case 1:
        bar->SetColorEachPoint(true);
        return;
    case 2:
        bar->SetBarStyle(bsPyramid);
        return;
    case 3:
        bar->SetBarStyle(bsEllipse);
        return;
    case 4:
        bar->SetBarStyle(bsInvPyramid);
        return;
    case 5:
        bar->SetBarStyle(bsRectGradient);
        return;
    default:
        break;
    }
    if (Index < 6) {
        TChartSeries::SetSubGallery(Series, Index);
        return;
    }
    ISeriesChart* chart = bar->GetParentChart();
    if (chart && chart->SeriesCount() == 1) {
        bar->FillSampleValues(2);
        auto* second = static_cast<TCustomBarSeries*>(
            CreateNewSeries(bar->GetOwner(), chart, &bar->ClassType(), nullptr));
        second->SetTitle(u"");
        second->FillSampleValues(2);
        second->GetMarks()->SetVisible(false);
        second->SetBarWidthPercent(bar->GetBarWidthPercent());
        bar->GetMarks()->SetVisible(false);
        SetSubGallery(second, Index);
    }
    if (!SubGalleryStack()) Index += 3;
    switch (Index) {
    case 6:
        bar->SetMultiBar(mbStacked);
        break;
    case 7:
        bar->SetMultiBar(mbStacked100);
        break;
    case 8:
        bar->SetMultiBar(mbSelfStack);
        break;
    case 9:
        bar->SetMultiBar(mbSide);
        break;
    case 10:
        bar->SetMultiBar(mbSideAll);
        break;
    default:
        TChartSeries::SetSubGallery(Series, Index);
    }
}
