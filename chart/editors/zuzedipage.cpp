#include "chart/editors/zuzedipage.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/canvas/zuztext.h"
#include "chart/editors/zuzedigene.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/colorpalettes.h"
#include "chart/engine/zuzfunction.h"
#include "platform/core/sysutils.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/stdctrls.h"

const ClassInfo& TFormZuzPage::StaticClass() {
    using F = TFormZuzPage;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::SEPointsPerPageChange>("SEPointsPerPageChange"),
        MakeMethod<&F::CBScaleLastClick>("CBScaleLastClick"),
        MakeMethod<&F::CBPageLegendClick>("CBPageLegendClick"),
        MakeMethod<&F::CBAutoScaleClick>("CBAutoScaleClick"),
        MakeMethod<&F::CBNoPagesClick>("CBNoPagesClick"),
        MakeMethod<&F::ChartPageNavigator1ButtonClicked>("ChartPageNavigator1ButtonClicked"),
        MakeMethod<&F::CBPageNumClick>("CBPageNumClick"),
        MakeMethod<&F::BEditToolClick>("BEditToolClick"),
    };
    static const ClassInfo ci = MakeClassInfo<TFormZuzPage>("TFormZuzPage", &TForm::StaticClass(), methods);
    return ci;
}

TFormZuzPage::TFormZuzPage(TComponent* AOwner) : TForm(AOwner) {}

TFormZuzPage::TFormZuzPage(TComponent* AOwner, TCustomChart* Chart) : TForm(AOwner), FChart(Chart) {}

void TFormZuzPage::AfterConstruction() {
    TForm::AfterConstruction();
    ChartPageNavigator1->SetChart(FChart);
}

void TFormZuzPage::BindComponents() {
    Bind(Label1, u"Label1");
    Bind(SEPointsPerPage, u"SEPointsPerPage");
    Bind(UDPointsPerPage, u"UDPointsPerPage");
    Bind(CBScaleLast, u"CBScaleLast");
    Bind(CBPageLegend, u"CBPageLegend");
    Bind(CBAutoScale, u"CBAutoScale");
    Bind(CBNoPages, u"CBNoPages");
    Bind(ChartPageNavigator1, u"ChartPageNavigator1");
    Bind(LabelPages, u"LabelPages");
    Bind(CBPageNum, u"CBPageNum");
    Bind(BEditTool, u"BEditTool");
}

TCustomChart* TFormZuzPage::GetChart() const {
    return ChartPageNavigator1 ? dynamic_cast<TCustomChart*>(ChartPageNavigator1->GetChart()) : nullptr;
}

void TFormZuzPage::FormShow(TObject*) {
    TCustomChart* chart = GetChart();
    if (!chart) return;
    {
        const TRestoreOnExit<bool> filling(FFilling, true);
        TChartPage* pages = chart->GetPages();
        UDPointsPerPage->SetPosition(pages->GetMaxPointsPerPage());
        CBScaleLast->SetChecked(pages->GetScaleLastPage());
        CBPageLegend->SetChecked(chart->GetLegend()->GetCurrentPage());
        CBAutoScale->SetChecked(pages->GetAutoScale());
        SetNoPages();
        ShowPageLabel();
        CBPageNum->SetVisible(ZuzPageNumToolClass != nullptr);
        TZuzCustomTool* tool = PageNumTool(false);
        CBPageNum->SetChecked(tool && tool->GetActive());
    }
    SetEditTool();
    ZuzTranslateControl(this);
}

void TFormZuzPage::SetNoPages() {
    const TRestoreOnExit<bool> filling(FFilling, true);
    CBNoPages->SetChecked(GetChart()->GetPages()->GetMaxPointsPerPage() == 0);
    CBNoPages->SetEnabled(!CBNoPages->GetChecked());
}

void TFormZuzPage::ShowPageLabel() {
    TChartPage* pages = GetChart()->GetPages();
    LabelPages->SetCaption(Format(VavIve_PageOfPages, {pages->GetCurrent(), pages->Count()}));
}

void TFormZuzPage::SetEditTool() {
    BEditTool->SetVisible(CBPageNum->GetVisible());
    BEditTool->SetEnabled(BEditTool->GetVisible() && PageNumTool(false));
}

void TFormZuzPage::SEPointsPerPageChange(TObject*) {
    if (FFilling || !GetShowing() || !GetChart()) return;
    const int points = Trim(SEPointsPerPage->GetText()).empty() ? 0 : UDPointsPerPage->GetPosition();
    GetChart()->GetPages()->SetMaxPointsPerPage(points);
    SetNoPages();
    ShowPageLabel();
}

void TFormZuzPage::CBScaleLastClick(TObject*) {
    if (!FFilling && GetChart()) GetChart()->GetPages()->SetScaleLastPage(CBScaleLast->GetChecked());
}

void TFormZuzPage::CBPageLegendClick(TObject*) {
    if (!FFilling && GetChart()) GetChart()->GetLegend()->SetCurrentPage(CBPageLegend->GetChecked());
}

void TFormZuzPage::CBAutoScaleClick(TObject*) {
    if (!FFilling && GetChart()) GetChart()->GetPages()->SetAutoScale(CBAutoScale->GetChecked());
}

void TFormZuzPage::CBNoPagesClick(TObject*) {
    if (FFilling || !GetChart()) return;
    if (CBNoPages->GetChecked()) {
        GetChart()->GetPages()->SetMaxPointsPerPage(0);
        const TRestoreOnExit<bool> filling(FFilling, true);
        UDPointsPerPage->SetPosition(0);
    }
    SetNoPages();
    ShowPageLabel();
}

void TFormZuzPage::ChartPageNavigator1ButtonClicked(TObject*, TZuzNavigateBtn) {
    if (GetChart()) ShowPageLabel();
}

TZuzCustomTool* TFormZuzPage::PageNumTool(bool Create) {
    TCustomChart* chart = GetChart();
    if (!ZuzPageNumToolClass || !chart) return nullptr;
    for (TZuzCustomTool* tool : *chart->GetTools())
        if (tool->ClassType().InheritsFrom(*ZuzPageNumToolClass)) return tool;
    if (!Create) return nullptr;
    TComponent* owner = chart->GetOwner() ? chart->GetOwner() : chart;
    auto* tool = dynamic_cast<TZuzCustomTool*>(ZuzPageNumToolClass->CreateComponent(owner));
    if (!tool) return nullptr;
    tool->SetName(ZuzGetUniqueName(owner, u"ChartTool"));
    chart->GetTools()->Add(tool);
    return tool;
}

void TFormZuzPage::CBPageNumClick(TObject*) {
    if (FFilling) return;
    if (TZuzCustomTool* tool = PageNumTool(true)) tool->SetActive(CBPageNum->GetChecked());
    SetEditTool();
}

void TFormZuzPage::BEditToolClick(TObject*) {
    TZuzCustomTool* tool = PageNumTool(false);
    if (!tool) return;
    const ClassInfo* editorClass = GetClass(UTF8Encode(tool->GetEditorClass()));
    if (!editorClass) return;
    auto* created = dynamic_cast<TCustomForm*>(editorClass->CreateComponent(this));
    if (!created) return;
    const TFormFreer<TCustomForm> editor{created};
    editor->SetAlign(alNone);
    PositionToCenter(editor.get());
    editor->SetTag(reinterpret_cast<NativeInt>(tool));
    ZuzTranslateControl(editor.get());
    editor->ShowModal();
}

void ZuzEdiPageInitialization() {
    RegisterClass(TFormZuzPage::StaticClass());
}
