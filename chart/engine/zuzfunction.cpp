#include "chart/engine/zuzfunction.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzprocs.h"
#include "chart/engine/chartaxis.h"
#include "platform/core/filer.h"

#include <algorithm>
#include <cmath>
#include <limits>

template <>
const EnumInfo& EnumInfoOf<TFunctionPeriodStyle>() {
    static const EnumInfo info{"TFunctionPeriodStyle", {"psNumPoints", "psRange"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TFunctionPeriodAlign>() {
    static const EnumInfo info{"TFunctionPeriodAlign", {"paFirst", "paCenter", "paLast"}};
    return info;
}

// ---------------------------------------------------------------------------
// Functions

const ClassInfo& TZuzFunction::StaticClass() {
    using C = TZuzFunction;
    static const PropInfo props[] = {
        MakeProp<&C::GetPeriod, &C::SetPeriod>("Period").Stored<&C::IsPeriodStored>(),
        MakeProp<&C::GetPeriodAlign, &C::SetPeriodAlign>("PeriodAlign").Default(paCenter),
        MakeProp<&C::GetPeriodStyle, &C::SetPeriodStyle>("PeriodStyle").Default(psNumPoints),
    };
    static const ClassInfo info = MakeClassInfo<C>("TZuzFunction", &TComponent::StaticClass(), props);
    return info;
}

void TZuzFunction::Assign(TPersistent* Source) {
    if (auto* f = dynamic_cast<TZuzFunction*>(Source)) {
        FPeriod = f->FPeriod;
        FPeriodStyle = f->FPeriodStyle;
        FPeriodAlign = f->FPeriodAlign;
        return;
    }
    TComponent::Assign(Source);
}

void TZuzFunction::SetPeriod(double Value) {
    if (!(Value >= 0)) throw ChartException(VavIve_FunctionPeriod); // NaN too
    if (FPeriod == Value) return;
    FPeriod = Value;
    ReCalculate();
}

void TZuzFunction::SetPeriodStyle(TFunctionPeriodStyle Value) {
    if (FPeriodStyle == Value) return;
    FPeriodStyle = Value;
    ReCalculate();
}

void TZuzFunction::SetPeriodAlign(TFunctionPeriodAlign Value) {
    if (FPeriodAlign == Value) return;
    FPeriodAlign = Value;
    ReCalculate();
}

void TZuzFunction::SetParentSeries(TChartSeries* Value) {
    if (FParentSeries == Value) return;
    if (FParentSeries && FParentSeries->GetFunction() == this) FParentSeries->InternalSetFunction(nullptr);
    FParentSeries = nullptr;
    if (Value) Value->SetFunction(this); // which makes it the parent
}

TComponent* TZuzFunction::GetParentComponent() const {
    return FParentSeries;
}

void TZuzFunction::SetParentComponent(TComponent* Value) {
    if (auto* s = dynamic_cast<TChartSeries*>(Value)) SetParentSeries(s);
}

void TZuzFunction::ReCalculate() {
    if (!FUpdating && FParentSeries) FParentSeries->CheckDataSource();
}

void TZuzFunction::EndUpdate() {
    if (!FUpdating) return;
    FUpdating = false;
    ReCalculate();
}

TChartValueList* TZuzFunction::ValueList(TChartSeries* Series) const {
    const String name = FParentSeries ? FParentSeries->MandatoryValueList()->GetValueSource() : String();
    if (!name.empty()) return Series->GetYValueList(name);
    return Series->MandatoryValueList();
}

void TZuzFunction::AddFunctionXY(bool SourceYMandatory, double X, double Y) {
    if (SourceYMandatory)
        FParentSeries->AddXY(X, Y);
    else
        FParentSeries->AddXY(Y, X);
}

void TZuzFunction::PrepareForGallery(ISeriesChart* Chart) {
    for (int i = 0; i < Chart->SeriesCount(); ++i) Chart->GetSeries(i)->PrepareForGallery(true);
}

int TZuzFunction::PointsPerPeriod() const {
    // Clamped before rounding: a period longer than any source must stay a
    // positive count, not overflow into a negative one.
    return static_cast<int>(Round(std::clamp(FPeriod, 1.0, double(std::numeric_limits<int>::max()))));
}

void TZuzFunction::AddPoints(TChartSeries* Source) {
    if (FUpdating || !Source || !FParentSeries) return;
    if (FParentSeries->DataSources().Count() > 1)
        AddPointsFromMany();
    else if (Source->Count() > 0)
        DoCalculation(Source, Source->NotMandatoryValueList());
}

void TZuzFunction::AddPointsFromMany() {
    const TDataSourcesList& sources = FParentSeries->DataSources();
    TChartSeries* most = nullptr;
    for (TComponent* c : sources)
        if (auto* s = dynamic_cast<TChartSeries*>(c))
            if (!most || s->Count() > most->Count()) most = s;
    if (!most) return;
    TChartValueList* xs = most->NotMandatoryValueList();
    for (int i = 0; i < most->Count(); ++i) {
        double x = xs->GetValue(i);
        double value = CalculateMany(sources, i);
        if (!most->YMandatory()) std::swap(x, value);
        FParentSeries->AddXY(x, value, most->GetXLabel(i), clDefault);
    }
}

void TZuzFunction::DoCalculation(TChartSeries* Source, TChartValueList* NotMandatorySource) {
    if (FPeriod != 0)
        CalculateByPeriod(Source, NotMandatorySource);
    else
        CalculateAllPoints(Source, NotMandatorySource);
}

void TZuzFunction::CalculateAllPoints(TChartSeries* Source, TChartValueList* NotMandatorySource) {
    const double value = Calculate(Source, -1, -1);
    const double lo = NotMandatorySource->GetMinValue();
    const double hi = NotMandatorySource->GetMaxValue();
    if (FParentSeries->SinglePointResult) {
        const double x = lo + (hi - lo) * 0.5;
        if (!Source->YMandatory() && FParentSeries->YMandatory())
            FParentSeries->AddXY(x, value);
        else if (FParentSeries->YMandatory())
            AddFunctionXY(Source->YMandatory(), x, value);
        else
            FParentSeries->AddXY(value, x);
    } else {
        AddFunctionXY(Source->YMandatory(), lo, value);
        AddFunctionXY(Source->YMandatory(), hi, value);
    }
}

namespace {
double AlignedX(TFunctionPeriodAlign Align, double First, double Last) {
    switch (Align) {
    case paFirst:
        return First;
    case paLast:
        return Last;
    default:
        return (First + Last) * 0.5;
    }
}

// One period further along the parent's horizontal axis, which keeps calendar
// months and years whole on date axes; without an axis, when the X values are
// dates.
double NextPeriodStart(const TChartSeries* Parent, double T, double Period) {
    const TDateTimeStep step = FindDateTimeStep(Period);
    double next = T;
    if (const TChartAxis* axis = Parent->GetHorizAxisObject())
        axis->IncDecDateTime(true, next, Period, step);
    else
        ZuzDateTimeIncrement(Parent->GetXValues()->GetDateTime(), true, next, Period, step);
    return next;
}
} // namespace

void TZuzFunction::CalculateByPeriod(TChartSeries* Source, TChartValueList* NotMandatorySource) {
    const int n = Source->Count();
    if (n == 0) return;
    const bool yMandatory = Source->YMandatory();
    int first = 0;
    double t = NotMandatorySource->GetValue(0);
    while (first <= n - 1) {
        int last;
        double firstX, lastX = 0;
        bool hasPoints = true;
        if (FPeriodStyle == psRange) {
            firstX = t;
            const double next = NextPeriodStart(FParentSeries, t, FPeriod);
            // A step that does not move (a period too small for the values'
            // magnitude) would never reach the end.
            if (!(next > t)) break;
            t = next;
            lastX = t - 0.001 * FPeriod;
            last = first;
            while (last + 1 < n && NotMandatorySource->GetValue(last + 1) < t) ++last;
            // An X no step reaches (NaN, infinity) joins the range it stands
            // in; waiting for t to pass it would add empty periods for ever.
            const double x = NotMandatorySource->GetValue(first);
            hasPoints = x < t || !std::isfinite(x);
        } else {
            last = PointsPerPeriod() + first - 1;
            firstX = NotMandatorySource->GetValue(first);
            if (last < n) lastX = NotMandatorySource->GetValue(last);
        }
        if (last < n) {
            const double x = AlignedX(FPeriodAlign, firstX, lastX);
            if (hasPoints)
                CalculatePeriod(Source, x, first, last);
            else
                AddFunctionXY(yMandatory, x, 0);
        }
        if (hasPoints) first = last + 1;
    }
}

void TZuzFunction::CalculatePeriod(TChartSeries* Source, double X, int FirstIndex, int LastIndex) {
    AddFunctionXY(Source->YMandatory(), X, Calculate(Source, FirstIndex, LastIndex));
}

const ClassInfo& TZuzMovingFunction::StaticClass() {
    using C = TZuzMovingFunction;
    static const PropInfo props[] = {
        MakeProp<&C::GetPeriodAlign, &C::SetPeriodAlign>("PeriodAlign").Default(paLast),
    };
    static const ClassInfo info = MakeClassInfo<C>("TZuzMovingFunction", &TZuzFunction::StaticClass(), props);
    return info;
}

TZuzMovingFunction::TZuzMovingFunction(TComponent* AOwner) : TZuzFunction(AOwner) {
    InitPeriod(1);
    SetPeriodAlign(paLast);
    SingleSourceOnly = true;
}

void TZuzMovingFunction::DoCalculation(TChartSeries* Source, TChartValueList* NotMandatorySource) {
    const int p = PointsPerPeriod();
    const int n = Source->Count();
    if (n < p) return;
    for (int i = p - 1; i < n; ++i) {
        const double value = Calculate(Source, i - p + 1, i);
        const double x = AlignedX(GetPeriodAlign(), NotMandatorySource->GetValue(i - p + 1),
                                  NotMandatorySource->GetValue(i));
        AddFunctionXY(Source->YMandatory(), x, value);
    }
}

// ---------------------------------------------------------------------------
// Tools

const ClassInfo& TZuzCustomTool::StaticClass() {
    static const ClassInfo info =
        MakeClassInfo<TZuzCustomTool>("TZuzCustomTool", &TCustomChartElement::StaticClass());
    return info;
}

void TZuzCustomTool::SetParentChart(ISeriesChart* Value) {
    ISeriesChart* old = GetParentChart();
    if (old == Value) return;
    if (old) {
        if (TChartTools* tools = old->GetTools()) tools->Remove(this);
        if (!Value) old->Invalidate();
    }
    TCustomChartElement::SetParentChart(Value);
    if (Value)
        if (TChartTools* tools = Value->GetTools()) tools->InternalAdd(this);
}

const ClassInfo& TZuzCustomToolSeries::StaticClass() {
    using C = TZuzCustomToolSeries;
    static const PropInfo props[] = {
        MakeProp<&C::GetSeries, &C::SetSeries>("Series"),
    };
    static const ClassInfo info =
        MakeClassInfo<C>("TZuzCustomToolSeries", &TZuzCustomTool::StaticClass(), props);
    return info;
}

void TZuzCustomToolSeries::Assign(TPersistent* Source) {
    if (auto* t = dynamic_cast<TZuzCustomToolSeries*>(Source)) SetSeries(t->FSeries);
    TZuzCustomTool::Assign(Source);
}

void TZuzCustomToolSeries::SetSeries(TChartSeries* Value) {
    if (FSeries == Value) return;
    if (FSeries) FSeries->RemoveFreeNotification(this);
    FSeries = Value;
    if (FSeries) FSeries->FreeNotification(this);
}

void TZuzCustomToolSeries::Notification(TComponent* AComponent, TOperation Operation) {
    TZuzCustomTool::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSeries) SetSeries(nullptr);
}

namespace {
bool ShowsActiveSeries(ISeriesChart* Chart, TChartAxis* Axis) {
    if (!Axis) return false;
    for (int i = 0; i < Chart->SeriesCount(); ++i) {
        TChartSeries* s = Chart->GetSeries(i);
        if (s->GetActive() && s->AssociatedToAxis(Axis)) return true;
    }
    return false;
}

TChartAxis* AxisOfTool(ISeriesChart* Chart, TChartAxis* First, TChartAxis* Second) {
    if (ShowsActiveSeries(Chart, First)) return First;
    if (ShowsActiveSeries(Chart, Second)) return Second;
    return First;
}
} // namespace

TChartAxis* TZuzCustomToolSeries::GetHorizAxis() const {
    if (FSeries) return FSeries->GetHorizAxisObject();
    ISeriesChart* c = GetParentChart();
    return c ? AxisOfTool(c, c->GetBottomAxis(), c->GetTopAxis()) : nullptr;
}

TChartAxis* TZuzCustomToolSeries::GetVertAxis() const {
    if (FSeries) return FSeries->GetVertAxisObject();
    ISeriesChart* c = GetParentChart();
    return c ? AxisOfTool(c, c->GetLeftAxis(), c->GetRightAxis()) : nullptr;
}

const ClassInfo& TZuzCustomToolAxis::StaticClass() {
    static const ClassInfo info =
        MakeClassInfo<TZuzCustomToolAxis>("TZuzCustomToolAxis", &TZuzCustomTool::StaticClass());
    return info;
}

void TZuzCustomToolAxis::Assign(TPersistent* Source) {
    if (auto* t = dynamic_cast<TZuzCustomToolAxis*>(Source)) SetAxis(t->FAxis);
    TZuzCustomTool::Assign(Source);
}

void TZuzCustomToolAxis::SetAxis(TChartAxis* Value) {
    if (FAxis == Value) return;
    FAxis = Value;
    SetParentChart(Value ? dynamic_cast<ISeriesChart*>(Value->ParentChart) : nullptr);
    Repaint();
}

namespace {
IAxisChart* AxesOf(ISeriesChart* Chart) {
    return dynamic_cast<IAxisChart*>(Chart);
}
} // namespace

void TZuzCustomToolAxis::DefineProperties(TFiler* Filer) {
    TZuzCustomTool::DefineProperties(Filer);
    IAxisChart* axes = FAxis ? FAxis->ParentChart : nullptr;
    Filer->DefineProperty(
        "AxisID",
        [this](TReader* Reader) {
            FAxisID = Reader->ReadInteger();
            ResolveAxisID();
        },
        [this, axes](TWriter* Writer) { Writer->WriteInteger(axes->GetAxes()->IndexOf(FAxis)); },
        axes != nullptr);
}

void TZuzCustomToolAxis::Loaded() {
    TZuzCustomTool::Loaded();
    ResolveAxisID();
}

void TZuzCustomToolAxis::ResolveAxisID() {
    IAxisChart* axes = AxesOf(GetParentChart());
    if (FAxisID < 0 || !axes) return;
    if (FAxisID < axes->GetAxes()->Count()) SetAxis(axes->GetAxes()->Get(FAxisID));
    FAxisID = -1;
}

int TChartTools::IndexOf(const TZuzCustomTool* Tool) const {
    const auto it = std::find(FItems.begin(), FItems.end(), Tool);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TZuzCustomTool* TChartTools::Add(TZuzCustomTool* Tool) {
    if (FChart)
        Tool->SetParentChart(FChart);
    else
        InternalAdd(Tool);
    return Tool;
}

TZuzCustomTool* TChartTools::Add(const ClassInfo& ToolClass) {
    TComponent* owner = FChart ? FChart->ChartComponent() : nullptr;
    auto* tool = dynamic_cast<TZuzCustomTool*>(ToolClass.CreateComponent(owner));
    return tool ? Add(tool) : nullptr;
}

void TChartTools::Remove(TZuzCustomTool* Tool) {
    const int i = IndexOf(Tool);
    if (i >= 0) FItems.erase(FItems.begin() + i);
}

void TChartTools::Clear() {
    while (!FItems.empty()) {
        TZuzCustomTool* t = FItems.front();
        const std::size_t before = FItems.size();
        t->Free();
        // A tool that did not leave the list on its own is taken out here.
        if (FItems.size() == before && !FItems.empty() && FItems.front() == t) FItems.erase(FItems.begin());
    }
}

void TChartTools::SetActive(bool Value) {
    for (TZuzCustomTool* t : FItems) t->SetActive(Value);
}
