#include "chart/engine/serieslist.h"

#include "chart/canvas/zuzpanelprocs.h"
#include "chart/engine/chartseries.h"
#include "platform/core/filer.h"
#include "platform/gui/graphics.h"

template <>
const EnumInfo& EnumInfoOf<TSeriesGroupActive>() {
    static const EnumInfo info{"TSeriesGroupActive", {"gaYes", "gaNo", "gaSome"}};
    return info;
}

bool TSeriesEnumerator::MoveNext() {
    if (FIndex < FList->Count() - 1) {
        ++FIndex;
        return true;
    }
    return false;
}

TChartSeries* TSeriesEnumerator::Current() const {
    return FList->Get(FIndex);
}

const ClassInfo& TCustomSeriesList::StaticClass() {
    static const ClassInfo info =
        MakeClassInfo<TCustomSeriesList>("TCustomSeriesList", &TObject::StaticClass());
    return info;
}

void TCustomSeriesList::ClearValues() {
    for (int t = 0; t < Count(); ++t) Get(t)->Clear();
}

void TCustomSeriesList::FillSampleValues(int NumValues) {
    for (int t = 0; t < Count(); ++t) Get(t)->FillSampleValues(NumValues);
}

void TCustomSeriesList::AssignList(const TCustomSeriesList& Source) {
    Clear();
    for (TChartSeries* s : Source) Add(s);
}

// ---------------------------------------------------------------------------
// Groups

const ClassInfo& TSeriesGroup::StaticClass() {
    using C = TSeriesGroup;
    static const PropInfo props[] = {
        // Written even empty: an emptied name would otherwise load as the one the group starts with.
        MakeProp<&C::GetName, &C::SetName>("Name").NoDefault(),
        // Read from the members, so never written; a file that carries it still loads.
        MakeProp<&C::GetActive, &C::SetActive>("Active").Stored(false),
    };
    static const ClassInfo info = MakeClassInfo<C>("TSeriesGroup", &TCollectionItem::StaticClass(), props);
    return info;
}

TSeriesGroup::TSeriesGroup(TCollection* Collection) : TCollectionItem(Collection) {
    if (Collection) {
        FName = u"Group" + IntToStr(Collection->GetCount());
        if (auto* owner = dynamic_cast<TComponent*>(Collection->GetOwner())) FSeries.SetOwner(owner);
    }
}

TSeriesGroup::~TSeriesGroup() = default;

void TSeriesGroup::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TSeriesGroup*>(Source)) {
        FName = src->FName;
        FSeries.AssignList(src->FSeries);
        return;
    }
    TCollectionItem::Assign(Source);
}

void TSeriesGroup::DefineProperties(TFiler* Filer) {
    TCollectionItem::DefineProperties(Filer);
    Filer->DefineProperty(
        "Series",
        [this](TReader* Reader) {
            FReadNames = std::make_unique<std::vector<String>>();
            Reader->ReadListBegin();
            while (!Reader->EndOfList()) FReadNames->push_back(Reader->ReadString());
            Reader->ReadListEnd();
        },
        [this](TWriter* Writer) {
            Writer->WriteListBegin();
            for (TChartSeries* s : FSeries) Writer->WriteString(s->GetName());
            Writer->WriteListEnd();
        },
        IsSeriesStored());
}

void TSeriesGroup::TakeReadSeries(const TCustomSeriesList& ChartSeries) {
    if (!FReadNames) return;
    const std::unique_ptr<std::vector<String>> names = std::move(FReadNames);
    FSeries.Clear();
    // A name no series of the chart has adds nothing.
    for (const String& name : *names)
        for (TChartSeries* s : ChartSeries)
            if (!name.empty() && SameText(s->GetName(), name)) {
                if (FSeries.IndexOf(s) < 0) FSeries.Add(s);
                break;
            }
}

void TSeriesGroup::SetSeries(const TCustomSeriesList* Value) {
    FSeries.AssignList(*Value);
}

TSeriesGroupActive TSeriesGroup::GetActive() const {
    int active = 0;
    for (TChartSeries* s : FSeries)
        if (s->GetActive()) ++active;
    if (active == FSeries.Count()) return gaYes;
    return active == 0 ? gaNo : gaSome;
}

void TSeriesGroup::SetActive(TSeriesGroupActive Value) {
    if (Value == gaSome || Value == GetActive()) return;
    for (int t = 0; t < FSeries.Count(); ++t) FSeries.Get(t)->SetActive(Value == gaYes);
}

const ClassInfo& TSeriesGroups::StaticClass() {
    static const ClassInfo info =
        MakeClassInfo<TSeriesGroups>("TSeriesGroups", &TOwnedCollection::StaticClass());
    return info;
}

TSeriesGroups::TSeriesGroups(TPersistent* Owner) : TOwnedCollection(Owner, TSeriesGroup::StaticClass()) {}

TSeriesGroup* TSeriesGroups::Get(int Index) const {
    return static_cast<TSeriesGroup*>(GetItem(Index));
}

void TSeriesGroups::Put(int Index, TSeriesGroup* Value) {
    SetItem(Index, Value);
}

int TSeriesGroups::Contains(const TChartSeries* Series) const {
    for (int t = 0; t < GetCount(); ++t)
        if (Get(t)->GetSeries()->IndexOf(const_cast<TChartSeries*>(Series)) >= 0) return t;
    return -1;
}

TSeriesGroup* TSeriesGroups::FindByName(const String& Name, bool CaseSensitive) const {
    const String wanted = CaseSensitive ? Name : AnsiUpperCase(Name);
    for (int t = 0; t < GetCount(); ++t) {
        const String& n = Get(t)->GetName();
        if ((CaseSensitive ? n : AnsiUpperCase(n)) == wanted) return Get(t);
    }
    return nullptr;
}

void TSeriesGroups::TakeReadSeries(const TCustomSeriesList& ChartSeries) {
    for (int t = 0; t < GetCount(); ++t) Get(t)->TakeReadSeries(ChartSeries);
}

void TSeriesGroups::RemoveSeries(TChartSeries* Series) {
    for (int t = 0; t < GetCount(); ++t) Get(t)->GetSeries()->Remove(Series);
}

// ---------------------------------------------------------------------------
// The chart's series list

const ClassInfo& TChartSeriesList::StaticClass() {
    static const ClassInfo info =
        MakeClassInfo<TChartSeriesList>("TChartSeriesList", &TCustomSeriesList::StaticClass());
    return info;
}

TChartSeriesList::TChartSeriesList(TComponent* Owner)
    : TCustomSeriesList(Owner), FGroups(Create<TSeriesGroups>(Owner)) {}

TChartSeriesList::~TChartSeriesList() = default;

TSeriesGroup* TChartSeriesList::AddGroup(const String& Name) {
    auto* g = static_cast<TSeriesGroup*>(FGroups->Add());
    g->SetName(Name);
    return g;
}

void TChartSeriesList::Assign(const TChartSeriesList& Source) {
    FGroups->Assign(Source.FGroups.get());
}

void TChartSeriesList::SetGroups(TSeriesGroups* Value) {
    FGroups->Assign(Value);
}

bool TChartSeriesList::GetAllActive() const {
    for (TChartSeries* s : *this)
        if (!s->GetActive()) return false;
    return true;
}

void TChartSeriesList::SetAllActive(bool Value) {
    for (int t = 0; t < Count(); ++t) Get(t)->SetActive(Value);
}

void ZuzDrawBitmapEditor(TCanvas* Canvas, const TObject* Element, int Left, int Top) {
    TBitmap icon;
    ZuzGetBitmapEditor(Element, &icon);
    if (icon.GetWidth() > 0 && icon.GetHeight() > 0) Canvas->Draw(Left, Top, &icon);
}
