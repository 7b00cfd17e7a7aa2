// Where a series's points come from: data sources and linked series, copying
// one series into another, sample values; and the chart's checks of them.
#include "chart/engine/chartseries.h"
#include "chart/engine/seriesmarks.h"
#include "chart/engine/zuzfunction.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzfont.h"
#include "chart/engine/seriessource.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace {

// True when Source takes its points, directly or through other series, from Dest.
bool FeedsFrom(TChartSeries* Source, TChartSeries* Dest, std::set<TChartSeries*>& Seen) {
    if (!Source || !Seen.insert(Source).second) return false;
    for (TComponent* c : Source->DataSources()) {
        if (c == Dest) return true;
        if (auto* s = dynamic_cast<TChartSeries*>(c))
            if (FeedsFrom(s, Dest, Seen)) return true;
    }
    return false;
}

void CheckNoCycle(TChartSeries* Dest, TChartSeries* Source) {
    std::set<TChartSeries*> seen;
    if (Source == Dest || FeedsFrom(Source, Dest, seen)) throw ChartException(VavIve_CircularSeries);
}

String NameOrClass(TComponent* C) {
    return C->GetName().empty() ? C->ClassName() : C->GetName();
}

} // namespace

// ---------------------------------------------------------------------------
// The chart's checks

void ISeriesChart::CheckDatasource(TChartSeries* Series) {
    if (Series->GetComponentState().Contains(csLoading)) return;
    TComponent* source = Series->GetDataSource();
    if (!source) {
        TZuzFunction* f = Series->GetFunction();
        if (f) {
            if (f->NoSourceRequired) {
                Series->BeginUpdate();
                Series->Clear();
                f->AddPoints(nullptr);
                Series->EndUpdate();
            }
        } else if (!Series->GetManualData() && Series->CanAddRandomPoints())
            Series->FillSampleValues(Series->NumSampleValues());
    } else if (auto* s = dynamic_cast<TChartSeries*>(source))
        Series->AddValues(s);
    else if (auto* src = dynamic_cast<TZuzSeriesSource*>(source))
        src->Refresh();
}

void ISeriesChart::CheckOtherSeries(TChartSeries* Dest, TChartSeries* Source) {
    if (Source) CheckNoCycle(Dest, Source);
}

bool ISeriesChart::IsValidDataSource(TChartSeries* Series, TComponent* Component) {
    if (Series->IsValidDataSource(Component)) return true;
    return Component && Component->Is<TZuzSeriesSource>() &&
           TZuzSeriesSource::Available(Component->ClassType(), this);
}

void ISeriesChart::RemovedDataSource(TChartSeries* Series, TComponent* Component) {
    if (auto* src = dynamic_cast<TZuzSeriesSource*>(Component))
        if (Series->GetDataSource() == Component) src->SetSeries(nullptr);
}

// ---------------------------------------------------------------------------
// The list of data sources

int TDataSourcesList::IndexOf(const TComponent* Component) const {
    for (std::size_t t = 0; t < FItems.size(); ++t)
        if (FItems[t] == Component) return static_cast<int>(t);
    return -1;
}

int TDataSourcesList::Add(TComponent* Component) {
    return FOwner->InternalSetDataSource(Component, false);
}

int TDataSourcesList::InheritedAdd(TComponent* Component) {
    FItems.push_back(Component);
    return Count() - 1;
}

void TDataSourcesList::Clear() {
    FOwner->RemoveAllLinkedSeries();
    FItems.clear();
    if (!FOwner->GetManualData()) FOwner->Clear();
}

void TDataSourcesList::Remove(TComponent* Component) {
    if (IndexOf(Component) >= 0) FOwner->InternalRemoveDataSource(Component);
}

// ---------------------------------------------------------------------------
// Data sources of a series

TComponent* TChartSeries::GetDataSource() const {
    return FDataSources.Count() > 0 ? FDataSources[0] : nullptr;
}

void TChartSeries::SetDataSource(TComponent* Value) {
    if (!Value) {
        if (TComponent* current = GetDataSource()) InternalRemoveDataSource(current);
    } else
        InternalSetDataSource(Value, true);
}

bool TChartSeries::IsValidDataSource(TComponent* Component) const {
    auto* s = dynamic_cast<TChartSeries*>(Component);
    return s && s != this && IsValidSeriesSource(s);
}

bool TChartSeries::IsValidSeriesSource(TChartSeries* Series) const {
    return FFunction ? FFunction->IsValidSource(Series) : true;
}

int TChartSeries::InternalSetDataSource(TComponent* Value, bool ClearOthers) {
    if (FParentChart) {
        if (!FParentChart->IsValidDataSource(this, Value))
            throw ChartException(VavIve_SeriesInvDataSource, {NameOrClass(Value)});
    } else if (!IsValidDataSource(Value))
        throw ChartException(VavIve_SeriesSetDataSource);
    if (FDataSources.IndexOf(Value) >= 0) return -1;
    if (auto* s = dynamic_cast<TChartSeries*>(Value)) {
        // A source that would feed this series from itself is refused, chart or not.
        if (FParentChart)
            FParentChart->CheckOtherSeries(this, s);
        else
            CheckNoCycle(this, s);
    }
    if (ClearOthers && !Loading()) FDataSources.Clear();
    const int index = InternalAddDataSource(Value);
    CheckDataSource();
    return index;
}

int TChartSeries::InternalAddDataSource(TComponent* Value) {
    if (!Value) return -1;
    FDataSources.InheritedAdd(Value);
    FManualData = false;
    // Told when the source goes, whichever way it goes (even after this series
    // left its chart and stopped being notified of the source's points).
    Value->FreeNotification(this);
    if (auto* s = dynamic_cast<TChartSeries*>(Value))
        s->AddLinkedSeries(this);
    else {
        if (auto* src = dynamic_cast<TZuzSeriesSource*>(Value)) {
            TChartSeries* old = src->GetSeries();
            if (old && old != this) {
                const bool wasActive = src->GetActive();
                if (wasActive) src->Close();
                if (src->GetOwner() == old) {
                    old->RemoveComponent(src);
                    InsertComponent(src);
                }
                const int i = old->FDataSources.IndexOf(src);
                if (i >= 0) old->FDataSources.FItems.erase(old->FDataSources.FItems.begin() + i);
                src->SetSeries(nullptr);
                src->SetSeries(this);
                if (wasActive) src->Open();
            }
        }
    }
    return FDataSources.Count() - 1;
}

void TChartSeries::InternalRemoveDataSource(TComponent* Value) {
    if (Destroying()) return;
    const int i = FDataSources.IndexOf(Value);
    Value->RemoveFreeNotification(this);
    if (FParentChart && GetDataSource()) FParentChart->RemovedDataSource(this, Value);
    if (i == 0)
        FDataSources.Clear();
    else if (i > 0) {
        if (auto* s = dynamic_cast<TChartSeries*>(Value)) s->RemoveLinkedSeries(this);
        FDataSources.FItems.erase(FDataSources.FItems.begin() + i);
    }
    CheckDataSource();
}

void TChartSeries::CheckDataSource() {
    if (FUpdateCount == 0 && FParentChart) FParentChart->CheckDatasource(this);
}

void TChartSeries::SetColorSource(const String& Value) {
    if (FColorSource == Value) return;
    FColorSource = Value;
    CheckDataSource();
}

void TChartSeries::SetLabelsSource(const String& Value) {
    if (FLabelsSource == Value) return;
    FLabelsSource = Value;
    CheckDataSource();
}

void TChartSeries::AddValues(TChartSeries* Source) {
    BeginUpdate();
    try {
        Clear();
        if (FFunction) {
            FX->SetDateTime(Source->FX->GetDateTime());
            FY->SetDateTime(Source->FY->GetDateTime());
            FFunction->AddPoints(Source);
        } else if (IsValidSourceOf(Source) && !CopyWholeLists(Source))
            for (int t = 0; t < Source->Count(); ++t) AddedValue(Source, t);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

namespace {

// Every value would be appended by a list of this order: none is placed
// before one that came earlier.
bool KeepsOrder(std::span<const double> Values, TChartListOrder Order) {
    if (Order == loNone) return true;
    for (std::size_t t = 1; t < Values.size(); ++t)
        if (Order == loAscending ? Values[t - 1] > Values[t] : Values[t - 1] < Values[t]) return false;
    return true;
}

} // namespace

bool TChartSeries::CopyWholeLists(TChartSeries* Source) {
    const int n = Source->Count();
    if (n == 0 || Count() != 0 || !CopiesPointsWhole()) return false;
    for (const TChartValueList* l : FValuesList)
        if (!l->IsBaseList()) return false;
    const bool crossed = Source->FYMandatory != FYMandatory;
    const TChartValueList* x = crossed ? Source->FY : Source->FX;
    const TChartValueList* y = crossed ? Source->FX : Source->FY;
    if (!KeepsOrder(x->Values(), FX->GetOrder())) return false;
    FX->AppendValues(x->Values());
    FY->AppendValues(y->Values());
    for (int t = 2; t < FValuesList.Count(); ++t)
        if (t < Source->FValuesList.Count())
            FValuesList[t]->AppendValues(Source->FValuesList[t]->Values());
        else
            FValuesList[t]->AppendValues(std::vector<double>(static_cast<std::size_t>(n), 0.0));
    // Colours and labels as the points one by one would leave them: a colour
    // list only when some point has its own colour, labels only when some
    // point has one, each as long as the points.
    if (Source->FColors) {
        const auto colours = std::span<const TColor>(*Source->FColors)
                                 .first(std::min(Source->FColors->size(), static_cast<std::size_t>(n)));
        if (std::any_of(colours.begin(), colours.end(), [](TColor c) { return c != clDefault; }))
            std::copy(colours.begin(), colours.end(),
                      NewColorList(std::vector<TColor>(static_cast<std::size_t>(n), clDefault)).begin());
    }
    FLabels.AssignFirst(Source->FLabels, n);
    return true;
}

void TChartSeries::Loaded() {
    TCustomChartSeries::Loaded();
    if (FPendingSources) {
        const std::unique_ptr<std::vector<String>> names = std::move(FPendingSources);
        FDataSources.InheritedClear();
        RemoveAllLinkedSeries();
        TComponent* owner = GetOwner();
        for (const String& name : *names) {
            TComponent* c = owner ? owner->FindComponent(name) : nullptr;
            if (!c || c == this) continue;
            // A stream cannot link series in a circle.
            if (auto* s = dynamic_cast<TChartSeries*>(c)) CheckNoCycle(this, s);
            InternalAddDataSource(c);
        }
    }
    CheckDataSource();
}

// ---------------------------------------------------------------------------
// Copying

void TChartSeries::Assign(TPersistent* Source) {
    // A series is already a copy of itself (taking its own sources again would empty it).
    if (Source == this) return;
    auto* src = dynamic_cast<TChartSeries*>(Source);
    if (!src) {
        TCustomChartSeries::Assign(Source);
        return;
    }
    const bool contour = GetOwner() && GetOwner()->ClassNameIs("TContourSeries");
    const bool ownPoints = src->FDataSources.Count() == 0 || src->FManualData;
    // Taking sources that feed from this series would close a circle that the next refresh
    // follows for ever: refused before anything is copied.
    if (!contour && !ownPoints)
        for (TComponent* c : src->FDataSources)
            if (auto* s = dynamic_cast<TChartSeries*>(c)) CheckNoCycle(this, s);
    TCustomChartSeries::Assign(Source);
    AssignFormat(src);
    if (src->FFunction && !FFunction) {
        TZuzFunction* f = src->FFunction;
        src->FFunction = nullptr;
        f->RemoveFreeNotification(src);
        SetFunction(f);
    } else if (src->FFunction)
        // A function of its own (a clone's) takes the settings; the points below follow them.
        FFunction->Assign(src->FFunction);
    FManualData = src->FManualData;
    const bool designedSample = src->Designing() && !src->FManualData;
    if (contour || (ownPoints && !designedSample)) {
        if (src->FColors)
            NewColorList(*src->FColors);
        else
            FColors.reset();
        FLabels.Assign(src->FLabels);
        AssignValues(src);
        // Taking the points cleared the items the marks were given with their settings.
        FMarks->Items().Assign(src->FMarks->Items());
    } else if (!ownPoints) {
        FDataSources.InheritedClear();
        for (TComponent* c : src->FDataSources) InternalAddDataSource(c);
    }
    CheckDataSource();
}

void TChartSeries::AssignFormat(TChartSeries* Source) {
    SetDataSource(nullptr);
    if (Source->FYMandatory == FYMandatory) {
        FX->Assign(Source->FX);
        FY->Assign(Source->FY);
    } else {
        FX->Assign(Source->FY);
        FY->Assign(Source->FX);
    }
    for (int t = 2; t < FValuesList.Count() && t < Source->FValuesList.Count(); ++t)
        FValuesList[t]->Assign(Source->FValuesList[t]);
    FLabelsSource = Source->FLabelsSource;
    FColorSource = Source->FColorSource;
    FMarks->Assign(Source->FMarks.get());
    FColor = Source->FColor;
    ChangeInternalColor(Source->FInternalColor);
    FColorEachPoint = Source->FColorEachPoint;
    FValueFormat = Source->FValueFormat;
    FPercentFormat = Source->FPercentFormat;
    FCustomHorizAxis = Source->FCustomHorizAxis;
    FHorizAxis = Source->FHorizAxis;
    FCustomVertAxis = Source->FCustomVertAxis;
    FVertAxis = Source->FVertAxis;
    FRecalcOptions = Source->FRecalcOptions;
    FCursor = Source->FCursor;
    FDepth = Source->FDepth;
    RecalcGetAxis();
}

// ---------------------------------------------------------------------------
// Sample values

int TChartSeries::RandomValue(int Limit) {
    // An empty or negative range has no integer below it: 0, not the
    // generator's wrap-around of a negative limit.
    if (Limit <= 0) return 0;
    return Random(Limit);
}

bool TChartSeries::CanAddRandomPoints() const {
    return ZuzRandomAtRunTime || Designing();
}

TSampleBounds TChartSeries::RandomBounds(int NumValues) {
    double minY = 0, maxY = 1000, minX = 0, maxX = 0;
    if (FParentChart && FParentChart->GetMaxValuesCount() > 0) {
        minY = FParentChart->MinYValue(FGetVertAxis);
        maxY = FParentChart->MaxYValue(FGetVertAxis);
        if (maxY == minY) maxY = minY == 0 ? 1000 : 2 * minY;
        minX = FParentChart->MinXValue(FGetHorizAxis);
        maxX = FParentChart->MaxXValue(FGetHorizAxis);
        if (maxX == minX) maxX = minX == 0 ? NumValues - 1 : 2 * minX;
        if (!FYMandatory) {
            std::swap(minX, minY);
            std::swap(maxX, maxY);
        }
    } else if (FX->GetDateTime()) {
        minX = Date();
        maxX = minX + NumValues - 1;
    } else {
        minX = 0;
        maxX = NumValues - 1;
    }
    TSampleBounds b;
    b.XStep = NumValues > 1 ? (maxX - minX) / (NumValues - 1) : maxX - minX;
    b.RangeY = std::clamp(maxY - minY, -2147483647.0, 2147483647.0);
    b.CurrentY = RandomValue(100) * b.RangeY * 0.01 + minY;
    b.NextX = minX;
    b.LowY = minY;
    return b;
}

void TChartSeries::AddSampleValues(int NumValues, bool OnlyMandatory) {
    TSampleBounds b = RandomBounds(NumValues);
    const double d = b.RangeY * 0.25;
    for (int t = 0; t < NumValues; ++t) {
        b.CurrentY = std::fabs(RandomValue(100) * d * 0.01 + b.CurrentY - d * 0.5);
        if (OnlyMandatory)
            Add(b.CurrentY);
        else if (FYMandatory)
            AddXY(b.NextX, b.CurrentY);
        else
            AddXY(b.CurrentY, b.NextX);
        b.NextX += b.XStep;
    }
}

void TChartSeries::FillSampleValues(int NumValues) {
    if (NumValues < 0) throw ChartException(VavIve_FillSample);
    if (NumValues == 0) NumValues = SampleCount > 0 ? SampleCount : NumSampleValues();
    Clear();
    RandSeed = RandomValue(7774444);
    BeginUpdate();
    try {
        AddSampleValues(NumValues, false);
        CheckOrder();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    FManualData = false;
}

void TChartSeries::PrepareForGallery(bool IsEnabled) {
    FillSampleValues(4);
    // A sample is too small for readable marks.
    TSeriesMarks* marks = GetMarks();
    marks->SetVisible(false);
    marks->GetFont()->SetSize(7);
    marks->GetCallout()->SetLength(4);
    marks->SetDrawEvery(2);
    // A disabled sample is all grey: palette colours per point would hide it.
    FColorEachPoint = IsEnabled;
    if (!IsEnabled)
        SetSeriesColor(static_cast<TColor>(0xC0C0C0));
    else if (FParentChart)
        SetSeriesColor(FParentChart->GetDefaultColor(FParentChart->SeriesIndexOf(this) == 0 ? 0 : 3));
}

void TChartSeries::CreateSubGallery(const std::function<void(const String&)>& AddSubChart) {
    AddSubChart(VavIve_Normal);
}
