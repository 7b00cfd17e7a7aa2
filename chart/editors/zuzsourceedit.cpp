#include "chart/editors/zuzsourceedit.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/engine/chart.h"
#include "chart/engine/seriessource.h"
#include "chart/engine/seriestypes.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TBaseSourceEditor::StaticClass() {
    using F = TBaseSourceEditor;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormCreate>("FormCreate"),
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::CBSourcesChange>("CBSourcesChange"),
        MakeMethod<&F::FormCloseQuery>("FormCloseQuery"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TBaseSourceEditor>("TBaseSourceEditor", &TForm::StaticClass(), methods);
    return ci;
}

TBaseSourceEditor::TBaseSourceEditor(TComponent* AOwner) : TForm(AOwner) {}

void TBaseSourceEditor::BindComponents() {
    Bind(LLabel, u"LLabel");
    Bind(CBSources, u"CBSources");
    Bind(Pan, u"Pan");
    Bind(PanelApply, u"PanelApply");
    Bind(BApply, u"BApply");
}

void TBaseSourceEditor::FormCreate(TObject*) {
    SkipValidation = false;
    SetAlign(alClient);
}

void TBaseSourceEditor::FormShow(TObject*) {
    TObject* tag = reinterpret_cast<TObject*>(GetTag());
    if (auto* series = dynamic_cast<TChartSeries*>(tag))
        FSeries = series;
    else if (auto* chart = dynamic_cast<TCustomChart*>(tag))
        FChart = chart;
    BApply->SetEnabled(false);
    ZuzTranslateControl(this);
}

void TBaseSourceEditor::CBSourcesChange(TObject*) {
    BApply->SetEnabled(true);
}

void TBaseSourceEditor::FormCloseQuery(TObject*, bool& CanClose) {
    CanClose = true;
    if (!BApply->GetEnabled()) return;
    switch (MessageDlg(VavIve_SureToApply, mtConfirmation, mbYesNoCancel, 0)) {
    case mrYes:
        BApply->Click();
        CanClose = !BApply->GetEnabled();
        break;
    case mrNo:
        BApply->SetEnabled(false);
        break;
    default:
        CanClose = false;
        break;
    }
}

namespace {
bool IsCurrentSource(const TChartSeries* Series, const TComponent* Component) {
    return Series && Series->DataSources().IndexOf(Component) >= 0;
}
} // namespace

void TBaseSourceEditor::AddComponentDataSource(TComponent* Component, TStrings* Items, bool AddCurrent) {
    if (Items->IndexOfObject(Component) >= 0 || !IsValid(Component)) return;
    if (!SkipValidation) {
        ISeriesChart* chart = FSeries ? FSeries->GetParentChart() : nullptr;
        if (!chart || !chart->IsValidDataSource(FSeries, Component)) return;
    }
    if (!AddCurrent && IsCurrentSource(FSeries, Component)) return;
    auto* series = dynamic_cast<TChartSeries*>(Component);
    String text = series ? SeriesTitleOrName(series) : Component->GetName();
    TComponent* owner = Component->GetOwner();
    if (owner && FSeries && owner != FSeries->GetOwner()) text = owner->GetName() + u"." + text;
    Items->AddObject(text, Component);
}

void TBaseSourceEditor::CheckReplaceSource(TComponent* Source) {
    if (FChart && !FSeries && ZuzSeriesTypes().Count() > 0) {
        const TZuzSeriesType* first = ZuzSeriesTypes().Get(0);
        FSeries = CreateNewSeries(FChart->GetOwner(), FChart, first->SeriesClass, first->FunctionClass);
    }
    if (!FSeries || FSeries->GetDataSource() == Source) return;
    // A series source this series made for itself goes with the change.
    if (auto* old = dynamic_cast<TZuzSeriesSource*>(FSeries->GetDataSource());
        old && old->GetOwner() == FSeries) {
        old->SetSeries(nullptr);
        FSeries->SetDataSource(nullptr);
        old->Free();
    }
    FSeries->SetDataSource(nullptr);
    if (auto* src = dynamic_cast<TZuzSeriesSource*>(Source); src && !src->GetSeries())
        src->SetSeries(FSeries);
    FSeries->SetDataSource(Source);
}

namespace {
void AddOwnedSeries(TComponent* Owner, TStrings* Items1, TStrings* Items2, TChartSeries* Series,
                    bool AddCurrent) {
    ISeriesChart* chart = Series->GetParentChart();
    for (int i = 0; i < Owner->GetComponentCount(); ++i) {
        TComponent* c = Owner->GetComponent(i);
        if (auto* s = dynamic_cast<TChartSeries*>(c); s && chart && chart->IsValidDataSource(Series, s)) {
            Items2->AddObject(SeriesTitleOrName(s), s);
            if (AddCurrent || !IsCurrentSource(Series, s)) Items1->AddObject(SeriesTitleOrName(s), s);
        }
        AddOwnedSeries(c, Items1, Items2, Series, AddCurrent);
    }
}
} // namespace

void FillSeriesSources(TStrings* Items1, TStrings* Items2, TChartSeries* Series, bool AddCurrent) {
    // The program has no frame of child windows, so the search always runs.
    if (!Series || !Series->GetOwner()) return;
    AddOwnedSeries(Series->GetOwner(), Items1, Items2, Series, AddCurrent);
}

void RegisterZuzSourceEditClasses() {
    RegisterClass(TBaseSourceEditor::StaticClass());
}
