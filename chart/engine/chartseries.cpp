#include "chart/engine/chartseries.h"
#include "chart/engine/seriessource.h"
#include "chart/engine/zuzfunction.h"

#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzgeometry.h"
#include "chart/canvas/zuztext.h"

#include <algorithm>

template <>
const EnumInfo& EnumInfoOf<THorizAxis>() {
    static const EnumInfo info{"THorizAxis",
                               {"aTopAxis", "aBottomAxis", "aBothHorizAxis", "aCustomHorizAxis"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TVertAxis>() {
    static const EnumInfo info{"TVertAxis", {"aLeftAxis", "aRightAxis", "aBothVertAxis", "aCustomVertAxis"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TChartSeriesStyleItem>() {
    static const EnumInfo info{"TChartSeriesStyleItem",
                               {"tssIsTemplate", "tssDenyChangeType", "tssDenyDelete", "tssDenyClone",
                                "tssIsPersistent", "tssHideDataSource"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TSeriesRecalcOption>() {
    static const EnumInfo info{"TSeriesRecalcOption", {"rOnDelete", "rOnModify", "rOnInsert", "rOnClear"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TTreatNullsStyle>() {
    static const EnumInfo info{"TTreatNullsStyle", {"tnDontPaint", "tnSkip", "tnIgnore"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TChartSeriesEvent>() {
    static const EnumInfo info{
        "TChartSeriesEvent",
        {"seAdd", "seRemove", "seChangeTitle", "seChangeColor", "seSwap", "seChangeActive", "seDataChanged"}};
    return info;
}

// ---------------------------------------------------------------------------
// Chart elements

const ClassInfo& TCustomChartElement::StaticClass() {
    using C = TCustomChartElement;
    static const PropInfo props[] = {
        MakeProp<&C::GetShowInEditor, &C::SetShowInEditor>("ShowInEditor").Default(1),
    };
    static const ClassInfo info = MakeClassInfo<C>("TCustomChartElement", &TComponent::StaticClass(), props);
    return info;
}

TCustomChartElement::TCustomChartElement(TComponent* AOwner) : TComponent(AOwner) {
    TNotifyEvent changed;
    changed.Bind([this](TObject* Sender) { CanvasChanged(Sender); });
    FBrush.reset(Create<TChartBrush>(changed));
    FPen.reset(CreateChartPen());
}

TCustomChartElement::~TCustomChartElement() = default;

void TCustomChartElement::BeforeDestruction() {
    FPen.reset();
    FBrush.reset();
    SetParentChart(nullptr);
    TComponent::BeforeDestruction();
}

TChartPen* TCustomChartElement::CreateChartPen() {
    TNotifyEvent changed;
    changed.Bind([this](TObject* Sender) { CanvasChanged(Sender); });
    return Create<TChartPen>(changed);
}

void TCustomChartElement::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TCustomChartElement*>(Source)) {
        FActive = src->FActive;
        FBrush->Assign(src->FBrush.get());
        FPen->Assign(src->FPen.get());
        SetTag(src->GetTag());
        return;
    }
    TComponent::Assign(Source);
}

void TCustomChartElement::SetActive(bool Value) {
    SetBooleanProperty(FActive, Value);
}

void TCustomChartElement::SetPen(TChartPen* Value) {
    FPen->Assign(Value);
}

void TCustomChartElement::SetBrush(TChartBrush* Value) {
    FBrush->Assign(Value);
}

void TCustomChartElement::SetBooleanProperty(bool& Field, bool Value) {
    if (Field == Value) return;
    Field = Value;
    Repaint();
}
void TCustomChartElement::SetColorProperty(TColor& Field, TColor Value) {
    if (Field == Value) return;
    Field = Value;
    Repaint();
}
void TCustomChartElement::SetIntegerProperty(int& Field, int Value) {
    if (Field == Value) return;
    Field = Value;
    Repaint();
}
void TCustomChartElement::SetDoubleProperty(double& Field, double Value) {
    if (Field == Value) return;
    Field = Value;
    Repaint();
}
void TCustomChartElement::SetStringProperty(String& Field, const String& Value) {
    if (Field == Value) return;
    Field = Value;
    Repaint();
}

TComponent* TCustomChartElement::GetParentComponent() const {
    return FParentChart ? FParentChart->ChartComponent() : nullptr;
}

void TCustomChartElement::SetParentComponent(TComponent* Value) {
    if (auto* chart = dynamic_cast<ISeriesChart*>(Value)) SetParentChart(chart);
}

// ---------------------------------------------------------------------------
// Series

const ClassInfo& TCustomChartSeries::StaticClass() {
    using C = TCustomChartSeries;
    static const PropInfo props[] = {
        MakeProp<&C::GetActive, &C::SetActive>("Active").Default(1),
        MakeProp<&C::GetShowInLegend, &C::SetShowInLegend>("ShowInLegend").Default(1),
        MakeProp<&C::GetTitle, &C::SetTitle>("Title"),
    };
    static const ClassInfo info =
        MakeClassInfo<C>("TCustomChartSeries", &TCustomChartElement::StaticClass(), props);
    return info;
}

void TCustomChartSeries::Assign(TPersistent* Source) {
    bool retitled = false;
    if (auto* src = dynamic_cast<TCustomChartSeries*>(Source)) {
        FShowInLegend = src->FShowInLegend;
        retitled = FTitle != src->FTitle;
        FTitle = src->FTitle;
        FStyle = src->FStyle;
        FIdentifier = src->FIdentifier;
    }
    TCustomChartElement::Assign(Source);
    // A clone or a series of a new type takes its title already on the chart: whoever lists the
    // series by title hears of it, as of a title set.
    if (retitled && FParentChart) FParentChart->BroadcastSeriesEvent(this, seChangeTitle);
}

void TCustomChartSeries::SetActive(bool Value) {
    if (FActive == Value) return;
    SetBooleanProperty(FActive, Value);
    if (FParentChart) FParentChart->BroadcastSeriesEvent(this, seChangeActive);
    RepaintDesigner();
}

void TCustomChartSeries::SetTitle(const String& Value) {
    SetStringProperty(FTitle, Value);
    if (FParentChart) FParentChart->BroadcastSeriesEvent(this, seChangeTitle);
    RepaintDesigner();
}

void TCustomChartSeries::GalleryChanged3D(bool Is3D) {
    if (FParentChart) FParentChart->SetView3D(Is3D);
}

bool TCustomChartSeries::SameClass(const TCustomChartSeries* Series) const {
    return Series && (InheritsFrom(Series->ClassType()) || Series->InheritsFrom(ClassType()));
}

void TCustomChartSeries::RepaintDesigner() {
    if (FParentChart) FParentChart->RepaintDesigner();
}

// ---------------------------------------------------------------------------
// Series with points

bool ZuzRandomAtRunTime = false;
const String ZuzNoLabel;

TChartSeries::TChartSeries(TComponent* AOwner)
    : TCustomChartSeries(AOwner), FLinkedSeries(std::make_unique<TCustomSeriesList>()),
      FMarks(Create<TSeriesMarks>(this)), FPercentFormat(VavIve_DefPercentFormat),
      FValueFormat(VavIve_DefValueFormat) {
    FX = new TChartValueList(this, VavIve_ValuesX);
    FX->SetOrder(loAscending);
    FY = new TChartValueList(this, VavIve_ValuesY);
    FMandatory = FY;
    FNotMandatory = FX;
}

TChartSeries::~TChartSeries() = default;

void TChartSeries::BeforeDestruction() {
    IncludeState(csDestroying);
    if (FFunction) {
        TZuzFunction* f = FFunction;
        FFunction = nullptr;
        f->Free();
    }
    RemoveAllLinkedSeries();
    if (FDataSources.Count() > 0) {
        TComponent* first = FDataSources[0];
        if (first->GetOwner() == this) first->Free();
    }
    for (TComponent* c : std::vector<TComponent*>(FDataSources.begin(), FDataSources.end())) {
        if (c == this) continue;
        // A data source that feeds this series lets it go; the link dropped below would
        // otherwise keep it from hearing that the series is freed.
        if (auto* src = dynamic_cast<TZuzSeriesSource*>(c); src && src->GetSeries() == this)
            src->SetSeries(nullptr);
        c->RemoveFreeNotification(this);
    }
    FDataSources.InheritedClear();
    // The series that take their points from this one forget it.
    for (TChartSeries* s : std::vector<TChartSeries*>(FLinkedSeries->begin(), FLinkedSeries->end()))
        if (s) {
            const int i = s->FDataSources.IndexOf(this);
            if (i >= 0) s->FDataSources.FItems.erase(s->FDataSources.FItems.begin() + i);
        }
    FLinkedSeries->Clear();
    Clear();
    TCustomChartSeries::BeforeDestruction();
}

void TChartSeries::CheckIndex(int ValueIndex, const char16_t* Call) const {
    if (ValueIndex >= 0 && ValueIndex < Count()) return;
    // Delete's words are the message table's; every other call says the same of itself.
    if (!Call) throw ChartException(VavIve_SeriesDelete, {ValueIndex, Count() - 1});
    throw ChartException(u"Series %s: ValueIndex %d out of bounds (0 to %d).",
                         {String(Call), ValueIndex, Count() - 1});
}

// Points in ------------------------------------------------------------------

int TChartSeries::AddXY(double X, double Y, const String& Label, TColor Color) {
    // A plain point landing last in a plain series (the graph windows' load):
    // both lists grow at their end, and unless someone listens only the repaint follows.
    if (Color == clDefault && Label.empty() && (FPlainShape || CheckPlainShape()) && !OnBeforeAdd &&
        AppendsPlainly(X)) {
        FX->TempValue = X;
        FY->TempValue = Y;
        const int index = FX->StoreLast(X);
        FY->StoreLast(Y);
        // Nobody to tell, nothing showing it: the point is in.
        if (FUpdateCount != 0 || (FNotifyKind == kNotifyBase && !OnAfterAdd && FLinkedSeries->Count() == 0 &&
                                  !(FActive && FParentChart)))
            return index;
        return TellAppended(index);
    }
    return AddPoint(X, Y, Label, Color);
}

bool TChartSeries::CheckPlainShape() {
    FPlainShape =
        !FColors && FLabels.Count() == 0 && FValuesList.Count() == 2 && FX->IsBaseList() && FY->IsBaseList();
    return FPlainShape;
}

std::uint8_t TChartSeries::ClassifyNotifications() const {
    FNotifyKind = KeepsBaseNotifications() ? kNotifyBase : kNotifyOwn;
    return FNotifyKind;
}

int TChartSeries::TellAppended(int Index) {
    if (AddIsListenedTo())
        NotifyNewValue(this, Index);
    else if (FActive && FParentChart)
        Repaint();
    return Index;
}

int TChartSeries::AddPoint(double X, double Y, const String& Label, TColor Color) {
    FX->TempValue = X;
    FY->TempValue = Y;
    if (OnBeforeAdd && !OnBeforeAdd(this)) return -1;
    const int index = FX->AddNextValue();
    FY->InsertValue(index, Y);
    // Only a point put before others moves their marks: items read ahead of the data stay.
    if (index < Count() - 1) FMarks->InsertPoint(index);
    // A plain point of a plain series stops here.
    if (FValuesList.Count() > 2 || FColors || Color != clDefault || !Label.empty() || FLabels.Count() > 0)
        InsertPointExtras(index, Label, Color);
    if (FUpdateCount == 0) NotifyNewValue(this, index);
    return index;
}

void TChartSeries::InsertPointExtras(int Index, const String& Label, TColor Color) {
    for (int t = 2, n = FValuesList.Count(); t < n; ++t) {
        TChartValueList* l = FValuesList[t];
        l->InsertValue(Index, l->TempValue);
    }
    if (FColors || Color != clDefault) InsertColor(Index, Color);
    if (!Label.empty() || FLabels.Count() > 0) FLabels.InsertLabel(Index, Label);
}

void TChartSeries::InsertColor(int Index, TColor Color) {
    if (FColors)
        FColors->insert(FColors->begin() + Index, Color);
    else if (Color != clDefault)
        NewColorList(std::vector<TColor>(static_cast<std::size_t>(Count()),
                                         clDefault))[static_cast<std::size_t>(Index)] = Color;
}

std::vector<TColor>& TChartSeries::NewColorList(std::vector<TColor> Colors) {
    FColors = std::make_unique<std::vector<TColor>>(std::move(Colors));
    ShapeChanged();
    return *FColors;
}

int TChartSeries::Add(double Value, const String& Label, TColor Color) {
    if (FYMandatory) return AddXY(FX->Count(), Value, Label, Color);
    return AddXY(Value, FY->Count(), Label, Color);
}

int TChartSeries::AddX(double Value, const String& Label, TColor Color) {
    return AddXY(Value, FX->Count(), Label, Color);
}

int TChartSeries::AddY(double Value, const String& Label, TColor Color) {
    return AddXY(FX->Count(), Value, Label, Color);
}

int TChartSeries::AddNull(double Value) {
    return Add(Value, {}, clNone);
}

int TChartSeries::AddNull(const String& Label) {
    return Add(FDefaultNullValue, Label, clNone);
}

int TChartSeries::AddNullXY(double X, double Y, const String& Label) {
    return AddXY(X, Y, Label, clNone);
}

int TChartSeries::AddArray(std::span<const double> Values) {
    BeginUpdate();
    try {
        for (double v : Values) Add(v);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    return static_cast<int>(Values.size());
}

int TChartSeries::AddArray(std::span<const double> XArray, std::span<const double> YArray) {
    if (YArray.size() < XArray.size())
        throw ChartException(u"AddArray: %d X values but only %d Y values.",
                             {static_cast<int>(XArray.size()), static_cast<int>(YArray.size())});
    BeginUpdate();
    try {
        for (std::size_t t = 0; t < XArray.size(); ++t) AddXY(XArray[t], YArray[t]);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    return static_cast<int>(XArray.size());
}

int TChartSeries::AddChartValue(TChartSeries* Source, int ValueIndex) {
    Source->CheckIndex(ValueIndex, u"AddChartValue");
    const auto at = static_cast<std::size_t>(ValueIndex);
    double x = Source->FX->Values()[at];
    double y = Source->FY->Values()[at];
    if (Source->FYMandatory != FYMandatory) std::swap(x, y);
    FX->TempValue = x;
    const int index = FX->AddNextValue();
    FY->InsertValue(index, y);
    if (index < Count() - 1) FMarks->InsertPoint(index);
    for (int t = 2; t < FValuesList.Count(); ++t) {
        const double v = t < Source->FValuesList.Count() ? Source->FValuesList[t]->Values()[at] : 0;
        FValuesList[t]->InsertValue(index, v);
    }
    return index;
}

void TChartSeries::AddedValue(TChartSeries* Source, int ValueIndex) {
    const int index = AddChartValue(Source, ValueIndex);
    const TColor color = Source->FColors && ValueIndex < static_cast<int>(Source->FColors->size())
                             ? (*Source->FColors)[static_cast<std::size_t>(ValueIndex)]
                             : clDefault;
    if (FColors || color != clDefault) InsertColor(index, color);
    if (ValueIndex < Source->FLabels.Count() || FLabels.Count() > 0)
        FLabels.InsertLabel(index, Source->FLabels.GetLabel(ValueIndex));
    if (FUpdateCount == 0) NotifyNewValue(this, index);
}

// Points out -----------------------------------------------------------------

void TChartSeries::Delete(int ValueIndex) {
    CheckIndex(ValueIndex);
    for (TChartValueList* l : FValuesList) l->Delete(ValueIndex);
    if (FColors && ValueIndex < static_cast<int>(FColors->size()))
        FColors->erase(FColors->begin() + ValueIndex);
    if (ValueIndex < FLabels.Count()) FLabels.DeleteLabel(ValueIndex);
    FMarks->DeletePoints(ValueIndex);
    NotifyValue(veDelete, ValueIndex);
    if (FActive) Repaint();
}

void TChartSeries::Delete(int Start, int Quantity, bool RemoveGap) {
    if (Start < 0 || Start >= Count()) return;
    Quantity = std::min(Quantity, Count() - Start);
    if (Quantity < 0) Quantity = 0;
    for (TChartValueList* l : FValuesList) l->Delete(Start, Quantity);
    if (Quantity >= 1) {
        if (FColors && Start < static_cast<int>(FColors->size())) {
            const int n = std::min(Quantity, static_cast<int>(FColors->size()) - Start);
            FColors->erase(FColors->begin() + Start, FColors->begin() + Start + n);
            if (FColors->empty()) FColors.reset();
        }
        FLabels.Delete(Start, Quantity);
        FMarks->DeletePoints(Start, Quantity);
    }
    NotifyValue(veDelete, -1);
    if (FActive) Repaint();
    if (RemoveGap) FNotMandatory->FillSequence();
}

void TChartSeries::ClearLists() {
    for (TChartValueList* l : FValuesList) l->ClearValues();
    FColors.reset();
    FLabels.Clear();
    FMarks->Clear();
}

void TChartSeries::Clear() {
    FirstValueIndex = -1;
    LastValueIndex = -1;
    ClearLists();
    if (OnClearValues) OnClearValues(this);
    NotifyValue(veClear, 0);
    if (FFunction) FFunction->Clear();
    if (FActive && FParentChart && !FParentChart->ChartDestroying()) Repaint();
}

void TChartSeries::SwapValueIndex(int A, int B) {
    for (TChartValueList* l : FValuesList) l->Exchange(A, B);
    if (FColors) {
        const auto n = static_cast<int>(FColors->size());
        if (A < n && B < n)
            std::swap((*FColors)[static_cast<std::size_t>(A)], (*FColors)[static_cast<std::size_t>(B)]);
    }
    if (FLabels.Count() > 0) FLabels.Exchange(A, B);
    FMarks->ExchangePoints(A, B);
}

void TChartSeries::CheckOrder() {
    if (FMandatory->GetOrder() == loNone) return;
    FMandatory->Sort();
    if (FNotMandatory->GetValueSource().empty()) FNotMandatory->FillSequence();
    Repaint();
}

void TChartSeries::SortByLabels(TChartListOrder Order) {
    if (Order == loNone) return;
    FLabelsOrder = Order;
    ZuzSort(
        0, Count() - 1,
        [this](int a, int b) {
            const String la = FLabels.GetLabel(a), lb = FLabels.GetLabel(b);
            const int r = la < lb ? -1 : (la > lb ? 1 : 0);
            return FLabelsOrder == loDescending ? -r : r;
        },
        [this](int a, int b) { SwapValueIndex(a, b); });
    FLabelsOrder = loNone;
    FNotMandatory->FillSequence();
    Repaint();
}

// Points ---------------------------------------------------------------------

void TChartSeries::SetXValue(int Index, double Value) {
    FX->SetValueQuiet(Index, Value);
    Repaint();
}

void TChartSeries::SetYValue(int Index, double Value) {
    FY->SetValueQuiet(Index, Value);
    Repaint();
}

String TChartSeries::GetXLabel(int ValueIndex) const {
    CheckIndex(ValueIndex, u"GetXLabel");
    return FLabels.GetLabel(ValueIndex);
}

void TChartSeries::SetXLabel(int ValueIndex, const String& Value) {
    CheckIndex(ValueIndex, u"SetXLabel");
    FLabels.SetLabel(ValueIndex, Value);
}

// Colours --------------------------------------------------------------------

TColor TChartSeries::OwnColor(int ValueIndex) const {
    if (FColors && ValueIndex >= 0 && ValueIndex < static_cast<int>(FColors->size()))
        return (*FColors)[static_cast<std::size_t>(ValueIndex)];
    return clDefault;
}

TColor TChartSeries::GetValueColor(int ValueIndex) const {
    CheckIndex(ValueIndex, u"ValueColor");
    const TColor own = OwnColor(ValueIndex);
    if (own != clDefault) return own;
    if (FColorEachPoint)
        return FParentChart ? FParentChart->GetDefaultColor(ValueIndex) : ::GetDefaultColor(ValueIndex);
    return GetSeriesColor();
}

void TChartSeries::SetValueColor(int ValueIndex, TColor Color) {
    CheckIndex(ValueIndex, u"SetValueColor");
    if (!FColors && Color == clDefault) return;
    if (!FColors) NewColorList(std::vector<TColor>(static_cast<std::size_t>(Count()), clDefault));
    (*FColors)[static_cast<std::size_t>(ValueIndex)] = Color;
    Repaint();
}

void TChartSeries::SetNull(int ValueIndex, bool Null) {
    CheckIndex(ValueIndex, u"SetNull");
    SetValueColor(ValueIndex, Null ? clNone : clDefault);
}

void TChartSeries::ColorRange(TChartValueList* List, double FromValue, double ToValue, TColor Color) {
    for (int t = 0; t < List->Count(); ++t) {
        const double v = List->GetValue(t);
        if (v >= FromValue && v <= ToValue && !IsNull(t)) SetValueColor(t, Color);
    }
    Repaint();
}

TColor TChartSeries::GetSeriesColor() const {
    return FColor == clDefault ? FInternalColor : FColor;
}

void TChartSeries::SetSeriesColor(TColor Color) {
    // Made automatic again, the series takes the colour its chart gives an automatic series,
    // as it does when it comes back from a file: clDefault itself is no colour to draw in.
    if (Color == clDefault) {
        if (FColor == clDefault) return;
        SetColorProperty(FColor, clDefault);
        if (FParentChart) FInternalColor = FParentChart->GetFreeSeriesColor(true, this);
        NotifyColorChanged();
        return;
    }
    if (FColor == clDefault && Color == FInternalColor) return;
    SetColorProperty(FColor, Color);
    FInternalColor = Color;
    NotifyColorChanged();
}

void TChartSeries::ChangeInternalColor(TColor Color) {
    FInternalColor = Color;
    SetSeriesColor(Color);
}

void TChartSeries::NotifyColorChanged() {
    if (FParentChart) FParentChart->BroadcastSeriesEvent(this, seChangeColor);
    RepaintDesigner();
}

bool TChartSeries::IsValueFormatStored() const {
    return FValueFormat != VavIve_DefValueFormat;
}

bool TChartSeries::IsPercentFormatStored() const {
    return FPercentFormat != VavIve_DefPercentFormat;
}

void TChartSeries::SetTreatNulls(TTreatNullsStyle Value) {
    if (FTreatNulls == Value) return;
    FTreatNulls = Value;
    Repaint();
}

// Value lists ----------------------------------------------------------------

void TChartSeries::SetChartValueList(TChartValueList* List, TChartValueList* Value) {
    List->Assign(Value);
    Repaint();
}

void TChartSeries::SetHorizontal() {
    FMandatory = FX;
    FNotMandatory = FY;
    FYMandatory = false;
}

TChartValueList* TChartSeries::GetYValueList(const String& AListName) const {
    const String wanted = AnsiUpperCase(AListName);
    for (int t = 2; t < FValuesList.Count(); ++t)
        if (AnsiUpperCase(FValuesList[t]->GetName()) == wanted) return FValuesList[t];
    return FMandatory;
}

void TChartSeries::ReplaceList(TChartValueList* OldList, TChartValueList* NewList) {
    FValuesList.Extract(NewList);
    const int i = FValuesList.IndexOf(OldList);
    if (i < 0) return;
    NewList->SetName(OldList->GetName());
    FValuesList.Put(i, NewList);
    if (OldList == FX) {
        FX = NewList;
        if (FNotMandatory == OldList) FNotMandatory = NewList;
        if (FMandatory == OldList) FMandatory = NewList;
    } else if (OldList == FY) {
        FY = NewList;
        if (FMandatory == OldList) FMandatory = NewList;
        if (FNotMandatory == OldList) FNotMandatory = NewList;
    }
    OldList->Free();
}

// Updates and notifications --------------------------------------------------

void TChartSeries::EndUpdate() {
    if (FUpdateCount == 0) return;
    if (--FUpdateCount == 0) RefreshSeries();
}

void TChartSeries::RefreshSeries() {
    NotifyValue(veRefresh, 0);
    if (FParentChart) FParentChart->BroadcastSeriesEvent(this, seDataChanged);
    // The points added or changed inside BeginUpdate/EndUpdate show once, now.
    if (FActive) Repaint();
}

void TChartSeries::NotifyNewValue(TChartSeries* Sender, int ValueIndex) {
    if (OnAfterAdd) OnAfterAdd(this, ValueIndex);
    NotifyValue(veAdd, ValueIndex);
    if (FActive) Repaint();
}

void TChartSeries::NotifyValue(TValueEvent ValueEvent, int ValueIndex) {
    if (FUpdateCount != 0 || FLinkedSeries->Count() == 0) return;
    // A linked series may leave the list while it is told; walk by index.
    for (int t = 0; t < FLinkedSeries->Count(); ++t) {
        TChartSeries* s = FLinkedSeries->Get(t);
        const TSeriesRecalcOptions o = s->FRecalcOptions;
        switch (ValueEvent) {
        case veClear:
            if (o.Contains(rOnClear)) s->Clear();
            break;
        case veAdd:
            if (o.Contains(rOnInsert) && !s->FFunction) s->AddedValue(this, ValueIndex);
            break;
        case veDelete:
            if (o.Contains(rOnDelete) && !s->FFunction) {
                if (ValueIndex < 0)
                    s->AddValues(this);
                else
                    s->DeletedValue(this, ValueIndex);
            }
            break;
        case veRefresh:
            s->AddValues(this);
            break;
        case veModify:
            if (o.Contains(rOnModify)) s->AddValues(this);
            break;
        }
    }
}

void TChartSeries::AddLinkedSeries(TChartSeries* Series) {
    if (!FLinkedSeries->Contains(Series)) FLinkedSeries->Add(Series);
}

void TChartSeries::RemoveLinkedSeries(TChartSeries* Series) {
    FLinkedSeries->Remove(Series);
}

void TChartSeries::RemoveAllLinkedSeries() {
    for (TComponent* c : FDataSources)
        if (auto* s = dynamic_cast<TChartSeries*>(c)) s->RemoveLinkedSeries(this);
}

// Axes -----------------------------------------------------------------------

void TChartSeries::RecalcGetAxis() {
    if (!FParentChart) {
        FGetHorizAxis = FGetVertAxis = nullptr;
        return;
    }
    if (FHorizAxis == aTopAxis)
        FGetHorizAxis = FParentChart->GetTopAxis();
    else if (FHorizAxis == aCustomHorizAxis && FCustomHorizAxis)
        FGetHorizAxis = FCustomHorizAxis;
    else
        FGetHorizAxis = FParentChart->GetBottomAxis();
    if (FVertAxis == aRightAxis)
        FGetVertAxis = FParentChart->GetRightAxis();
    else if (FVertAxis == aCustomVertAxis && FCustomVertAxis)
        FGetVertAxis = FCustomVertAxis;
    else
        FGetVertAxis = FParentChart->GetLeftAxis();
}

void TChartSeries::SetHorizAxis(THorizAxis Value) {
    if (FHorizAxis == Value) return;
    FHorizAxis = Value;
    if (Value != aCustomHorizAxis && !Loading()) FCustomHorizAxis = nullptr;
    RecalcGetAxis();
    Repaint();
}

void TChartSeries::SetVertAxis(TVertAxis Value) {
    if (FVertAxis == Value) return;
    FVertAxis = Value;
    if (Value != aCustomVertAxis && !Loading()) FCustomVertAxis = nullptr;
    RecalcGetAxis();
    Repaint();
}

void TChartSeries::SetCustomHorizAxis(TChartAxis* Value) {
    FCustomHorizAxis = Value;
    FHorizAxis = Value ? aCustomHorizAxis : aBottomAxis;
    RecalcGetAxis();
    Repaint();
}

void TChartSeries::SetCustomVertAxis(TChartAxis* Value) {
    FCustomVertAxis = Value;
    FVertAxis = Value ? aCustomVertAxis : aLeftAxis;
    RecalcGetAxis();
    Repaint();
}

bool TChartSeries::AssociatedToAxis(const TChartAxis* Axis) const {
    if (!UseAxis() || !Axis || !FParentChart) return false;
    if (FParentChart->IsHorizontalAxis(Axis)) return FHorizAxis == aBothHorizAxis || Axis == FGetHorizAxis;
    return FVertAxis == aBothVertAxis || Axis == FGetVertAxis;
}

TChartValueList* TChartSeries::ValueListOfAxis(const TChartAxis* Axis) const {
    if (!AssociatedToAxis(Axis)) return nullptr;
    return FParentChart->IsHorizontalAxis(Axis) ? FX : FY;
}

// Chart membership -----------------------------------------------------------

void TChartSeries::SetParentChart(ISeriesChart* Value) {
    if (FParentChart == Value) return;
    if (FParentChart) FParentChart->RemoveSeries(this);
    TCustomChartSeries::SetParentChart(Value);
    FMarks->SetParentChart(Value);
    if (Value) Value->InternalAddSeries(this);
}

void TChartSeries::Added() {
    if (FColor == clDefault && FParentChart) {
        ChangeInternalColor(FParentChart->GetFreeSeriesColor(true, nullptr));
        NotifyColorChanged();
    }
    RecalcGetAxis();
    CheckDataSource();
}

void TChartSeries::Removed() {
    if (FParentChart && FCursor != crDefault && FParentChart->GetChartCursor() == FCursor)
        FParentChart->RestoreChartCursor();
    RemoveAllLinkedSeries();
    TCustomChartSeries::Removed();
    FMarks->SetParentChart(nullptr);
}

void TChartSeries::GetChildren(TGetChildProc Proc, TComponent* Root) {
    TCustomChartSeries::GetChildren(Proc, Root);
    if (FFunction) Proc(FFunction);
}

void TChartSeries::SetFunction(TZuzFunction* Value) {
    if (FFunction == Value) return;
    if (FFunction) {
        TZuzFunction* old = FFunction;
        FFunction = nullptr;
        old->Free();
    }
    FFunction = Value;
    if (Value) {
        Value->InternalSetParentSeries(this);
        FManualData = false;
        Value->FreeNotification(this);
    }
    CheckDataSource();
}

void TChartSeries::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomChartSeries::Notification(AComponent, Operation);
    if (Operation != opRemove || AComponent == this) return;
    if (FFunction == AComponent) FFunction = nullptr;
    const int source = FDataSources.IndexOf(AComponent);
    if (source >= 0) {
        if (Destroying())
            FDataSources.FItems.erase(FDataSources.FItems.begin() + source);
        else
            InternalRemoveDataSource(AComponent);
    }
    if (auto* s = dynamic_cast<TChartSeries*>(AComponent)) FLinkedSeries->Remove(s);
}

// ---------------------------------------------------------------------------
// Labels

String TLabelsList::GetLabel(int Index) const {
    if (Index < 0 || Index >= Count()) return {};
    const auto& p = FItems[static_cast<std::size_t>(Index)];
    return p ? *p : String();
}

void TLabelsList::SetLabel(int Index, const String& Value) {
    if (Index < 0) throw EListError(u"List index out of bounds (%d)", {Index});
    if (!Value.empty()) {
        if (Index >= Count()) FItems.resize(static_cast<std::size_t>(Index) + 1);
        FItems[static_cast<std::size_t>(Index)] = std::make_unique<String>(Value);
        if (FOwner) FOwner->ShapeChanged();
    } else if (Index < Count())
        FItems[static_cast<std::size_t>(Index)].reset();
    if (FOwner) FOwner->Repaint();
}

void TLabelsList::InsertLabel(int Index, const String& Value) {
    if (Index < 0) throw EListError(u"List index out of bounds (%d)", {Index});
    if (Value.empty() && FItems.empty()) return;
    if (Index > Count()) FItems.resize(static_cast<std::size_t>(Index));
    FItems.insert(FItems.begin() + Index, Value.empty() ? nullptr : std::make_unique<String>(Value));
    if (FOwner) FOwner->ShapeChanged();
}

void TLabelsList::DeleteLabel(int Index) {
    if (Index < 0 || Index >= Count()) throw EListError(u"List index out of bounds (%d)", {Index});
    FItems.erase(FItems.begin() + Index);
}

void TLabelsList::Delete(int Start, int Quantity) {
    if (Start < 0 || Start >= Count() || Quantity <= 0) return;
    const int n = std::min(Quantity, Count() - Start);
    FItems.erase(FItems.begin() + Start, FItems.begin() + Start + n);
}

void TLabelsList::Exchange(int Index1, int Index2) {
    if (Index1 < 0 || Index2 < 0)
        throw EListError(u"List index out of bounds (%d)", {std::min(Index1, Index2)});
    const int n = std::max(Index1, Index2);
    if (n >= Count()) {
        FItems.resize(static_cast<std::size_t>(n) + 1);
        if (FOwner) FOwner->ShapeChanged();
    }
    std::swap(FItems[static_cast<std::size_t>(Index1)], FItems[static_cast<std::size_t>(Index2)]);
}

void TLabelsList::Assign(const TLabelsList& Source) {
    Clear();
    FItems.reserve(Source.FItems.size());
    for (const auto& p : Source.FItems) FItems.push_back(p ? std::make_unique<String>(*p) : nullptr);
    if (FOwner && !FItems.empty()) FOwner->ShapeChanged();
}

void TLabelsList::AssignFirst(const TLabelsList& Source, int Count) {
    Clear();
    const int n = std::min(Count, Source.Count());
    const auto first = Source.FItems.begin();
    if (std::none_of(first, first + n, [](const auto& p) { return p && !p->empty(); })) return;
    FItems.reserve(static_cast<std::size_t>(Count));
    for (int t = 0; t < n; ++t) {
        const auto& p = Source.FItems[static_cast<std::size_t>(t)];
        FItems.push_back(p && !p->empty() ? std::make_unique<String>(*p) : nullptr);
    }
    FItems.resize(static_cast<std::size_t>(Count));
    if (FOwner && !FItems.empty()) FOwner->ShapeChanged();
}

int TLabelsList::IndexOfLabel(const String& Value, bool CaseSensitive) const {
    const String wanted = CaseSensitive ? Value : AnsiUpperCase(Value);
    for (int t = 0; t < Count(); ++t) {
        const String l = GetLabel(t);
        if ((CaseSensitive ? l : AnsiUpperCase(l)) == wanted) return t;
    }
    return -1;
}

// ---------------------------------------------------------------------------
// Published properties of series

const ClassInfo& TChartSeries::StaticClass() {
    using C = TChartSeries;
    static const PropInfo props[] = {
        MakeProp<&C::GetColorEachPoint, &C::SetColorEachPoint>("ColorEachPoint").Default(0),
        MakeProp<&C::GetColorSource, &C::SetColorSource>("ColorSource"),
        MakeProp<&C::GetCursor, &C::SetCursor>("Cursor").Default(crDefault),
        MakeProp<&C::GetDataSource, &C::SetDataSource>("DataSource"),
        MakeProp<&C::GetDepth, &C::SetDepth>("Depth").Default(-1),
        MakeProp<&C::GetHorizAxis, &C::SetHorizAxis>("HorizAxis").Default(aBottomAxis),
        MakeProp<&C::GetMarks>("Marks"),
        MakeProp<&C::GetPercentFormat, &C::SetPercentFormat>("PercentFormat")
            .Stored<&C::IsPercentFormatStored>(),
        MakeProp<&C::GetRecalcOptions, &C::SetRecalcOptions>("RecalcOptions")
            .Default(static_cast<std::int64_t>(
                TSeriesRecalcOptions{rOnDelete, rOnModify, rOnInsert, rOnClear}.Bits())),
        MakeProp<&C::GetSeriesColor, &C::SetSeriesColor>("SeriesColor").Stored<&C::IsColorStored>(),
        MakeProp<&C::GetTreatNulls, &C::SetTreatNulls>("TreatNulls").Default(tnDontPaint),
        MakeProp<&C::GetValueFormat, &C::SetValueFormat>("ValueFormat").Stored<&C::IsValueFormatStored>(),
        MakeProp<&C::GetVertAxis, &C::SetVertAxis>("VertAxis").Default(aLeftAxis),
        MakeProp<&C::GetLabelsSource, &C::SetLabelsSource>("XLabelsSource"),
        MakeProp<&C::GetXValuesProp>("XValues"),
        MakeProp<&C::GetYValuesProp>("YValues"),
        MakeProp<&C::StoredZOrder, &C::SetZOrder>("ZOrder").Default(-1),
        MakeProp<&C::AfterDrawValues>("AfterDrawValues"),
        MakeProp<&C::BeforeDrawValues>("BeforeDrawValues"),
        MakeProp<&C::OnAfterAdd>("OnAfterAdd"),
        MakeProp<&C::OnBeforeAdd>("OnBeforeAdd"),
        MakeProp<&C::OnClearValues>("OnClearValues"),
        MakeProp<&C::OnClick>("OnClick"),
        MakeProp<&C::OnDblClick>("OnDblClick"),
        MakeProp<&C::OnGetMarkText>("OnGetMarkText"),
        MakeProp<&C::OnMouseEnter>("OnMouseEnter"),
        MakeProp<&C::OnMouseLeave>("OnMouseLeave"),
    };
    static const ClassInfo info = MakeClassInfo<C>("TChartSeries", &TCustomChartSeries::StaticClass(), props);
    return info;
}
