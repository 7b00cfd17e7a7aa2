// The ranges the series give their axes, and the paging of points.

#include "chart/canvas/zuzconst.h"
#include "chart/engine/axispanel.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/chartvaluelist.h"
#include "platform/gui/printers.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// Series on an axis

bool TCustomAxisPanel::HasActiveSeries(const TChartAxis* Axis) const {
    for (int t = 0; t < SeriesCount(); ++t) {
        const TChartSeries* s = GetSeries(t);
        if (!s->GetActive()) continue;
        // A series without axes (a pie) hides them all.
        if (!s->UseAxis()) return false;
        if (s->AssociatedToAxis(Axis)) return true;
    }
    return SeriesCount() == 0 || CountActiveSeries() == 0;
}

bool TCustomAxisPanel::NoActiveSeries(const TChartAxis* Axis) const {
    for (int t = 0; t < SeriesCount(); ++t)
        if (const TChartSeries* s = GetSeries(t); s->GetActive() && s->AssociatedToAxis(Axis)) return false;
    return true;
}

TChartSeries* TCustomAxisPanel::GetAxisSeries(const TChartAxis* Axis) const {
    const bool all = NoActiveSeries(Axis);
    for (int t = 0; t < SeriesCount(); ++t)
        if (TChartSeries* s = GetSeries(t); (all || s->GetActive()) && s->AssociatedToAxis(Axis)) return s;
    return nullptr;
}

TChartSeries* TCustomAxisPanel::GetAxisSeriesMaxPoints(const TChartAxis* Axis) const {
    const bool all = NoActiveSeries(Axis);
    TChartSeries* best = nullptr;
    for (int t = 0; t < SeriesCount(); ++t) {
        TChartSeries* s = GetSeries(t);
        if ((all || s->GetActive()) && s->AssociatedToAxis(Axis) && (!best || s->Count() > best->Count()))
            best = s;
    }
    return best;
}

double TCustomAxisPanel::InternalMinMax(TChartAxis* Axis, bool IsMin, bool IsX) {
    if (Axis->IsDepthAxis) {
        if (Axis->CalcLabelStyle() != talValue) return IsMin ? -0.5 : MaxZOrder + 0.5;
        double result = 0;
        bool first = true;
        for (int t = 0; t < SeriesCount(); ++t) {
            const TChartSeries* s = GetSeries(t);
            if (!s->GetActive()) continue;
            const double v = IsMin ? s->MinZValue() : s->MaxZValue();
            result = first ? v : (IsMin ? std::min(result, v) : std::max(result, v));
            first = false;
        }
        return result;
    }
    const TChartSeries* pagingSeries = GetAxisSeries(Axis);
    const bool pagingX = !pagingSeries || pagingSeries->YMandatory();
    const int perPage = FPages->GetMaxPointsPerPage();
    if (perPage > 0 && IsX == pagingX) {
        TChartSeries* s = GetAxisSeriesMaxPoints(Axis);
        if (s && s->Count() > 0) {
            int first = 0, last = 0;
            s->CalcFirstLastPage(first, last);
            const TChartValueList* list = IsX ? s->GetXValues() : s->GetYValues();
            if (IsMin) return list->GetValue(first);
            const double atLast = list->GetValue(last);
            const int n = last - first + 1;
            const double f = list->GetValue(first);
            // A page whose points share one value has no width of its own to scale to: it keeps
            // the spacing of a full page too, instead of showing every point of the series at
            // that one place.
            if (atLast != f && (FPages->GetScaleLastPage() || n >= perPage)) return atLast;
            // A short last page keeps the spacing of a full one.
            if (atLast == f) return f + static_cast<double>(perPage) / n;
            return f + perPage * (atLast - f) / n;
        }
        return 0;
    }
    const bool all = NoActiveSeries(Axis);
    double result = 0;
    bool found = false;
    for (int t = 0; t < SeriesCount(); ++t) {
        const TChartSeries* s = GetSeries(t);
        if ((!all && !s->GetActive()) || s->Count() == 0) continue;
        const bool tied = IsX ? (s->GetHorizAxis() == aBothHorizAxis || s->GetHorizAxisObject() == Axis)
                              : (s->GetVertAxis() == aBothVertAxis || s->GetVertAxisObject() == Axis);
        if (!tied) continue;
        double v;
        if (perPage > 0 && FPages->GetAutoScale()) {
            const int from = FPages->FirstValueIndex();
            if (from >= s->Count()) continue;
            const int to = std::min(from + perPage, s->Count()) - 1;
            const TChartValueList* list = IsX ? s->GetXValues() : s->GetYValues();
            v = list->GetValue(from);
            for (int i = from + 1; i <= to; ++i)
                v = IsMin ? std::min(v, list->GetValue(i)) : std::max(v, list->GetValue(i));
        } else {
            v = IsX ? (IsMin ? s->MinXValue() : s->MaxXValue()) : (IsMin ? s->MinYValue() : s->MaxYValue());
        }
        result = found ? (IsMin ? std::min(result, v) : std::max(result, v)) : v;
        found = true;
    }
    return result;
}

// ---------------------------------------------------------------------------
// Paging on the panel

int TCustomAxisPanel::GetPage() const {
    return FPages->GetCurrent();
}
void TCustomAxisPanel::SetPage(int Value) {
    FPages->SetCurrent(Value);
}
int TCustomAxisPanel::GetMaxPointsPerPage() const {
    return FPages->GetMaxPointsPerPage();
}
void TCustomAxisPanel::SetMaxPointsPerPage(int Value) {
    FPages->SetMaxPointsPerPage(Value);
}
bool TCustomAxisPanel::GetScaleLastPage() const {
    return FPages->GetScaleLastPage();
}
void TCustomAxisPanel::SetScaleLastPage(bool Value) {
    FPages->SetScaleLastPage(Value);
}
void TCustomAxisPanel::Loaded() {
    TCustomZuzPanelExtended::Loaded();
    // The groups were read before the series they name.
    FSeriesList->GetGroups()->TakeReadSeries(*FSeriesList);
    // The page read with the chart, now that its series are there to count pages by.
    if (FPages->GetCurrent() > FPages->Count()) FPages->SetCurrent(FPages->GetCurrent());
}

int TCustomAxisPanel::NumPages() const {
    return FPages->Count();
}
void TCustomAxisPanel::NextPage() {
    FPages->NextPage();
}
void TCustomAxisPanel::PreviousPage() {
    FPages->PreviousPage();
}

void TCustomAxisPanel::PrintPages(int FromPage, int ToPage) {
    TPrinter* printer = Printer();
    if (!GetName().empty()) printer->Title = GetName();
    printer->BeginDoc();
    const int old = FPages->GetCurrent();
    try {
        if (ToPage == 0) ToPage = FPages->Count();
        if (FromPage == 0) FromPage = 1;
        const TRect r = ChartPrintRect();
        for (int page = FromPage; page <= ToPage; ++page) {
            FPages->SetCurrent(page);
            PrintPartial(r);
            if (page < ToPage) printer->NewPage();
        }
        FPages->SetCurrent(old);
    } catch (...) {
        // The job is abandoned whatever happens, also when going back to the page
        // raises in its turn (a page-change handler), so the printer is never left busy.
        try {
            if (FPages->GetCurrent() != old) FPages->SetCurrent(old);
        } catch (...) {
            printer->Abort();
            throw;
        }
        printer->Abort();
        throw;
    }
    printer->EndDoc();
}

// ---------------------------------------------------------------------------
// The pages

const ClassInfo& TChartPage::StaticClass() {
    using C = TChartPage;
    static const PropInfo props[] = {
        MakeProp<&C::GetAutoScale, &C::SetAutoScale>("AutoScale").Default(false),
        MakeProp<&C::GetCurrent, &C::SetCurrent>("Current").Default(1),
        MakeProp<&C::GetMaxPointsPerPage, &C::SetMaxPointsPerPage>("MaxPointsPerPage").Default(0),
        MakeProp<&C::GetScaleLastPage, &C::SetScaleLastPage>("ScaleLastPage").Default(true),
    };
    static const ClassInfo ci = MakeClassInfo<C>("TChartPage", &TPersistent::StaticClass(), props);
    return ci;
}

void TChartPage::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TChartPage*>(Source)) {
        FAutoScale = src->FAutoScale;
        FCurrent = src->FCurrent;
        FMaxPointsPerPage = src->FMaxPointsPerPage;
        FScaleLastPage = src->FScaleLastPage;
        return;
    }
    TPersistent::Assign(Source);
}

void TChartPage::SetAutoScale(bool Value) {
    FPanel->SetBooleanProperty(FAutoScale, Value);
}

void TChartPage::SetScaleLastPage(bool Value) {
    FPanel->SetBooleanProperty(FScaleLastPage, Value);
}

void TChartPage::Announce() {
    FPanel->BroadcastZuzEventClass(ZuzEventClass<TChartChangePage>);
}

bool TChartPage::Loading() const {
    return FPanel->GetComponentState().Contains(csLoading);
}

void TChartPage::SetCurrent(int Value) {
    // A chart being read has no series yet to count pages by: the page read is kept
    // until the chart is whole, and checked then.
    if (Loading()) {
        FCurrent = std::max(1, Value);
        return;
    }
    Value = std::max(1, std::min(Value, Count()));
    if (Value == FCurrent) return;
    FPanel->SetIntegerProperty(FCurrent, Value);
    Announce();
    if (FPanel->OnPageChange) FPanel->OnPageChange(this);
}

void TChartPage::SetMaxPointsPerPage(int Value) {
    if (Value < 0) throw ChartException(VavIve_MaxPointsPerPage);
    FPanel->SetIntegerProperty(FMaxPointsPerPage, Value);
    const int n = Count();
    if (FCurrent > n && !Loading()) FCurrent = n;
    Announce();
}

void TChartPage::NextPage() {
    if (FMaxPointsPerPage > 0 && FCurrent < Count()) SetCurrent(FCurrent + 1);
}

void TChartPage::PreviousPage() {
    if (FMaxPointsPerPage > 0 && FCurrent >= 2) SetCurrent(FCurrent - 1);
}

int TChartPage::CountOver(TChartAxis* Axis) const {
    int p = 0;
    for (int t = 0; t < FPanel->SeriesCount(); ++t)
        if (const TChartSeries* s = FPanel->GetSeries(t); s->GetActive() && s->AssociatedToAxis(Axis))
            p = std::max(p, s->Count());
    if (p < 1) return 1;
    return p / FMaxPointsPerPage + (p % FMaxPointsPerPage != 0 ? 1 : 0);
}

int TChartPage::Count() const {
    if (FMaxPointsPerPage < 1 || FPanel->SeriesCount() == 0) return 1;
    if (!FPanel->GetSeries(0)->YMandatory())
        return std::max(CountOver(FPanel->GetLeftAxis()), CountOver(FPanel->GetRightAxis()));
    return std::max(CountOver(FPanel->GetBottomAxis()), CountOver(FPanel->GetTopAxis()));
}
