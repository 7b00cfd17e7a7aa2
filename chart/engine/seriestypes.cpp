#include "chart/engine/seriestypes.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuztext.h"
#include "chart/engine/colorpalettes.h"
#include "chart/engine/zuzfunction.h"

#include <algorithm>

namespace {
std::unique_ptr<TZuzSeriesTypes> gSeriesTypes;
std::unique_ptr<TZuzToolTypes> gToolTypes;

bool IsOneOf(const ClassInfo* C, std::initializer_list<const ClassInfo*> Classes) {
    return C && std::find(Classes.begin(), Classes.end(), C) != Classes.end();
}
} // namespace

TZuzSeriesTypes& ZuzSeriesTypes() {
    if (!gSeriesTypes) gSeriesTypes = std::make_unique<TZuzSeriesTypes>();
    return *gSeriesTypes;
}

TZuzToolTypes& ZuzToolTypes() {
    if (!gToolTypes) gToolTypes = std::make_unique<TZuzToolTypes>();
    return *gToolTypes;
}

TZuzSeriesType* TZuzSeriesTypes::Find(const ClassInfo* SeriesClass) const {
    for (const auto& t : FItems)
        if (t->SeriesClass == SeriesClass && !t->FunctionClass) return t.get();
    return nullptr;
}

int TZuzToolTypes::IndexOf(const ClassInfo* ToolClass) const {
    const auto it = std::find(FItems.begin(), FItems.end(), ToolClass);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

int RegisterZuzSeriesFunction(const ClassInfo* SeriesClass, const ClassInfo* FunctionClass,
                              const String* Description, const String* GalleryPage, int NumGallerySeries,
                              int SubIndex) {
    if (SeriesClass) RegisterClass(*SeriesClass);
    if (FunctionClass) RegisterClass(*FunctionClass);
    auto& items = ZuzSeriesTypes().FItems;
    if (SubIndex == 0)
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i]->SeriesClass == SeriesClass && items[i]->FunctionClass == FunctionClass)
                return static_cast<int>(i);
    auto t = std::make_unique<TZuzSeriesType>();
    t->SeriesClass = SeriesClass;
    t->FunctionClass = FunctionClass;
    t->Description = Description;
    t->GalleryPage = GalleryPage;
    t->NumGallerySeries = NumGallerySeries;
    t->SubIndex = SubIndex;
    items.push_back(std::move(t));
    return static_cast<int>(items.size()) - 1;
}

int RegisterZuzSeries(const ClassInfo* SeriesClass, const String* Description, const String* GalleryPage,
                      int NumGallerySeries) {
    return RegisterZuzSeriesFunction(SeriesClass, nullptr, Description, GalleryPage, NumGallerySeries, 0);
}

int RegisterZuzSeries(const ClassInfo* SeriesClass, const String* Description) {
    return RegisterZuzSeries(SeriesClass, Description, &VavIve_GalleryStandard, 2);
}

int RegisterZuzFunction(const ClassInfo* FunctionClass, const String* Description, const String* GalleryPage,
                        int NumGallerySeries) {
    return RegisterZuzSeriesFunction(nullptr, FunctionClass, Description, GalleryPage, NumGallerySeries, 0);
}

int RegisterZuzBasicFunction(const ClassInfo* FunctionClass, const String* Description) {
    return RegisterZuzFunction(FunctionClass, Description, &VavIve_GalleryStandard, 2);
}

void UnRegisterZuzSeries(std::initializer_list<const ClassInfo*> SeriesClasses) {
    std::erase_if(ZuzSeriesTypes().FItems,
                  [&](const auto& t) { return IsOneOf(t->SeriesClass, SeriesClasses); });
}

void UnRegisterZuzFunctions(std::initializer_list<const ClassInfo*> FunctionClasses) {
    std::erase_if(ZuzSeriesTypes().FItems,
                  [&](const auto& t) { return IsOneOf(t->FunctionClass, FunctionClasses); });
}

void RegisterZuzTools(std::initializer_list<const ClassInfo*> ToolClasses) {
    for (const ClassInfo* c : ToolClasses)
        if (ZuzToolTypes().IndexOf(c) < 0) {
            RegisterClass(*c);
            ZuzToolTypes().Add(c);
        }
}

void UnRegisterZuzTools(std::initializer_list<const ClassInfo*> ToolClasses) {
    for (const ClassInfo* c : ToolClasses)
        if (const int i = ZuzToolTypes().IndexOf(c); i >= 0) ZuzToolTypes().Delete(i);
}

String GetNewSeriesName(const TComponent* Owner) {
    return ZuzGetUniqueName(Owner, u"Series");
}

TChartSeries* CreateNewSeries(TComponent* Owner, ISeriesChart* Chart, const ClassInfo* SeriesClass,
                              const ClassInfo* FunctionClass) {
    TComponent* owner = Owner;
    if (Chart) {
        TComponent* chart = Chart->ChartComponent();
        if (!owner) owner = chart;
        for (int i = 0; i < Chart->SeriesCount(); ++i)
            if (Chart->GetSeries(i)->GetOwner() == chart) {
                owner = chart;
                break;
            }
    }
    auto* series = dynamic_cast<TChartSeries*>(SeriesClass->CreateComponent(owner));
    if (!series) return nullptr;
    series->SetName(GetNewSeriesName(owner));
    series->SetParentChart(Chart);
    if (FunctionClass) CreateNewZuzFunction(series, FunctionClass);
    return series;
}

TZuzFunction* CreateNewZuzFunction(TChartSeries* Series, const ClassInfo* FunctionClass) {
    TComponent* owner = Series->GetOwner();
    auto* f = dynamic_cast<TZuzFunction*>(FunctionClass->CreateComponent(owner));
    if (!f) return nullptr;
    f->SetParentSeries(Series);
    f->SetName(ZuzGetUniqueName(owner, u"ZuzFunction"));
    return f;
}

TChartSeries* CloneChartSeries(TChartSeries* Series) {
    return CloneChartSeries(Series, Series->GetOwner(), Series->GetParentChart());
}

TChartSeries* CloneChartSeries(TChartSeries* Series, ISeriesChart* Chart) {
    return CloneChartSeries(Series, Series->GetOwner(), Chart);
}

TChartSeries* CloneChartSeries(TChartSeries* Series, TComponent* Owner, ISeriesChart* Chart) {
    const TZuzFunction* f = Series->GetFunction();
    TChartSeries* s = CreateNewSeries(Owner, Chart, &Series->ClassType(), f ? &f->ClassType() : nullptr);
    if (s) s->Assign(Series);
    return s;
}

TZuzCustomTool* CloneChartTool(TZuzCustomTool* Tool, TComponent* Owner) {
    auto* t = dynamic_cast<TZuzCustomTool*>(Tool->ClassType().CreateComponent(Owner));
    if (!t) return nullptr;
    t->SetName(ZuzGetUniqueName(Owner, u"ChartTool"));
    t->Assign(Tool);
    return t;
}

void ChangeSeriesType(TChartSeries*& Series, const ClassInfo* NewClass) {
    if (&Series->ClassType() == NewClass) return;
    TChartSeries* created = CreateNewSeries(Series->GetOwner(), Series->GetParentChart(), NewClass, nullptr);
    if (!created) return;
    AssignSeries(Series, created);
    Series = created;
}

void ChangeAllSeriesType(ISeriesChart* Chart, const ClassInfo* NewClass) {
    for (int i = 0; i < Chart->SeriesCount(); ++i) {
        TChartSeries* s = Chart->GetSeries(i);
        ChangeSeriesType(s, NewClass);
    }
}

namespace {
// Dependent takes New as its source in Old's place.
void MoveDependent(TChartSeries* Dependent, TChartSeries* Old, TChartSeries* New) {
    TDataSourcesList& sources = Dependent->DataSources();
    std::vector<TComponent*> items(sources.begin(), sources.end());
    if (std::find(items.begin(), items.end(), New) == items.end()) {
        const auto at = std::find(items.begin(), items.end(), Old);
        items.insert(at, New);
        New->FreeNotification(Dependent);
    }
    std::erase(items, static_cast<TComponent*>(Old));
    Old->RemoveFreeNotification(Dependent);
    sources.InheritedClear();
    for (TComponent* c : items) sources.InheritedAdd(c);
    New->AddLinkedSeries(Dependent);
    Old->RemoveLinkedSeries(Dependent);
}
} // namespace

void AssignSeries(TChartSeries*& OldSeries, TChartSeries*& NewSeries) {
    if (OldSeries == NewSeries) return;
    TChartSeries* oldS = OldSeries;
    TChartSeries* newS = NewSeries;
    newS->Assign(oldS);
    newS->AfterDrawValues = oldS->AfterDrawValues;
    newS->BeforeDrawValues = oldS->BeforeDrawValues;
    newS->OnAfterAdd = oldS->OnAfterAdd;
    newS->OnBeforeAdd = oldS->OnBeforeAdd;
    newS->OnClearValues = oldS->OnClearValues;
    newS->OnClick = oldS->OnClick;
    newS->OnDblClick = oldS->OnDblClick;
    newS->OnGetMarkText = oldS->OnGetMarkText;
    newS->OnMouseEnter = oldS->OnMouseEnter;
    newS->OnMouseLeave = oldS->OnMouseLeave;
    const String name = oldS->GetName();

    while (oldS->LinkedSeries()->Count() > 0) {
        TChartSeries* dependent = oldS->LinkedSeries()->Get(0);
        MoveDependent(dependent, oldS, newS);
    }

    ISeriesChart* chart = oldS->GetParentChart();
    if (chart) {
        if (TChartTools* tools = chart->GetTools())
            for (TZuzCustomTool* t : *tools)
                if (auto* st = dynamic_cast<TZuzCustomToolSeries*>(t); st && st->GetSeries() == oldS)
                    st->SetSeries(newS);
        const int a = chart->SeriesIndexOf(oldS);
        const int b = chart->SeriesIndexOf(newS);
        if (a >= 0 && b >= 0) chart->ExchangeSeries(a, b);
    }
    oldS->Free();
    OldSeries = nullptr;

    newS->SetName(name);
    if (chart) chart->BroadcastSeriesEvent(newS, seChangeTitle);
    newS->CheckDataSource();
}

String GetGallerySeriesName(const TChartSeries* Series) {
    if (const TZuzSeriesType* t = ZuzSeriesTypes().Find(&Series->ClassType())) return t->GetDescription();
    return Series->ClassName();
}

void ZuzSeriesTypesInitialization() {
    ZuzSeriesTypes();
    ZuzToolTypes();
    ColorPalettesInitialization();
}

void ZuzSeriesTypesFinalization() {
    ColorPalettesFinalization();
    gToolTypes.reset();
    gSeriesTypes.reset();
}
