#include "chart/engine/seriessource.h"

#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzconst.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/zuzfunction.h"
#include "platform/gui/forms.h"

// ---------------------------------------------------------------------------
// Data-source components

const ClassInfo& TZuzSeriesSource::StaticClass() {
    using C = TZuzSeriesSource;
    static const PropInfo props[] = {
        MakeProp<&C::GetActive, &C::SetActive>("Active").Default(0),
        MakeProp<&C::GetSeries, &C::SetSeries>("Series"),
    };
    static const ClassInfo info = MakeClassInfo<C>("TZuzSeriesSource", &TComponent::StaticClass(), props);
    return info;
}

void TZuzSeriesSource::BeforeDestruction() {
    IncludeState(csDestroying);
    Close();
    TComponent::BeforeDestruction();
}

void TZuzSeriesSource::Loaded() {
    TComponent::Loaded();
    Refresh();
}

void TZuzSeriesSource::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSeries) SetSeries(nullptr);
}

void TZuzSeriesSource::SetActive(bool Value) {
    if (Value != FActive && FSeries) {
        if (Value) {
            if (!GetComponentState().Contains(csLoading)) {
                FActive = true; // Load may look at it
                Load();
            }
        } else if (!GetComponentState().Contains(csDestroying) &&
                   !FSeries->GetComponentState().Contains(csDestroying) && !FKeepValues)
            FSeries->Clear();
    }
    FActive = Value;
}

void TZuzSeriesSource::Close() {
    const TComponentState s = GetComponentState();
    if (!s.Contains(csLoading) && !s.Contains(csDestroying)) SetActive(false);
}

void TZuzSeriesSource::Refresh() {
    if (FActive && !GetComponentState().Contains(csLoading)) Load();
}

void TZuzSeriesSource::SetSeries(TChartSeries* Value) {
    if (FSeries == Value) return;
    Close();
    TChartSeries* old = FSeries;
    if (old) old->RemoveFreeNotification(this);
    FSeries = Value;
    if (Value) {
        Value->FreeNotification(this);
        if (Value->GetDataSource() != this) Value->SetDataSource(this);
    } else if (old && old->GetDataSource() == this && !old->GetComponentState().Contains(csDestroying))
        old->SetDataSource(nullptr);
}

bool TZuzSeriesSource::HasSeries(TChartSeries* Series) const {
    TComponent* source = Series ? Series->GetDataSource() : nullptr;
    return source && source->ClassNameA() == ClassNameA();
}

namespace {

const TZuzSeriesSource::Traits* TraitsOf(const ClassInfo& Class) {
    for (const ClassInfo* c = &Class; c; c = c->parent)
        if (c->traits) return static_cast<const TZuzSeriesSource::Traits*>(c->traits);
    return nullptr;
}

} // namespace

bool TZuzSeriesSource::Available(const ClassInfo& Class, ISeriesChart* Chart) {
    const Traits* t = TraitsOf(Class);
    return t && t->Available ? t->Available(Chart) : true;
}

String TZuzSeriesSource::Description(const ClassInfo& Class) {
    const Traits* t = TraitsOf(Class);
    return t && t->Description ? t->Description() : String();
}

String TZuzSeriesSource::Editor(const ClassInfo& Class) {
    const Traits* t = TraitsOf(Class);
    return t && t->Editor ? t->Editor() : String();
}

bool TZuzSeriesSource::HasNew(const ClassInfo& Class) {
    const Traits* t = TraitsOf(Class);
    return t && t->HasNew ? t->HasNew() : false;
}

std::vector<const ClassInfo*>& ZuzSources() {
    static std::vector<const ClassInfo*> sources;
    return sources;
}

void ZuzFreeSources() {
    std::vector<const ClassInfo*>().swap(ZuzSources());
}

// ---------------------------------------------------------------------------
// Free functions

String SeriesNameOrIndex(const TCustomChartSeries* Series) {
    if (!Series->GetName().empty()) return Series->GetName();
    const ISeriesChart* chart = Series->GetParentChart();
    return VavIve_Series + IntToStr(chart ? chart->SeriesIndexOf(Series) + 1 : 0);
}

String SeriesTitleOrName(const TCustomChartSeries* Series) {
    String title = Series->GetTitle();
    if (title.empty()) return SeriesNameOrIndex(Series);
    for (Char& c : title)
        if (c == u'\x06') c = u' ';
    return title;
}

void FillSeriesItems(TStrings* Items, const TCustomSeriesList* List, bool UseTitles) {
    Items->BeginUpdate();
    try {
        for (TChartSeries* s : *List) {
            const bool listed = s->GetShowInEditor() || (s->GetComponentState().Contains(csDesigning) &&
                                                         !s->GetStyle().Contains(tssIsTemplate));
            if (listed) Items->AddObject(UseTitles ? SeriesTitleOrName(s) : s->GetName(), s);
        }
    } catch (...) {
        Items->EndUpdate();
        throw;
    }
    Items->EndUpdate();
}

namespace {
int QuietUserMessages = 0;
} // namespace

void ShowMessageUser(const String& Text) {
    constexpr UINT MB_TASKMODAL = 0x2000;
    if (Application && QuietUserMessages == 0)
        Application->MessageBox(Text, String(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

TQuietUserMessages::TQuietUserMessages() {
    ++QuietUserMessages;
}

TQuietUserMessages::~TQuietUserMessages() {
    --QuietUserMessages;
}

// ---------------------------------------------------------------------------
// Unit start-up

int MaxPixelPos = 0x3FFFFFF;

void ZuzEngineInitialization() {
    RegisterClasses(
        {&TChartSeries::StaticClass(), &TZuzFunction::StaticClass(), &TZuzMovingFunction::StaticClass(),
         &TZuzSeriesSource::StaticClass(), &TSeriesMarks::StaticClass(), &TChartValueList::StaticClass(),
         &TChartAxisTitle::StaticClass(), &TChartAxis::StaticClass(), &TChartDepthAxis::StaticClass()});
    MaxPixelPos = IsWindowsNT ? 0x3FFFFFF : 0x7FFF;
}

void ZuzEngineFinalization() {
    ZuzFreeSources();
    for (const ClassInfo* c :
         {&TChartSeries::StaticClass(), &TZuzFunction::StaticClass(), &TZuzMovingFunction::StaticClass(),
          &TZuzSeriesSource::StaticClass(), &TSeriesMarks::StaticClass(), &TChartValueList::StaticClass(),
          &TChartAxisTitle::StaticClass(), &TChartAxis::StaticClass(), &TChartDepthAxis::StaticClass()})
        UnRegisterClass(*c);
}
