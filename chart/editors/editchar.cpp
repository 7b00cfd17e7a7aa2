#include "chart/editors/editchar.h"

#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzediseri.h"
#include "chart/editors/zuzeditcha.h"
#include "chart/editors/zuzlisb.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/charttitle.h"
#include "chart/engine/chartwalls.h"
#include "chart/engine/zuzfunction.h"
#include "platform/gui/comctrls.h"

namespace {

TCustomChart* ChartOf(const TCustomChartElement* Element) {
    return Element ? dynamic_cast<TCustomChart*>(Element->GetParentChart()) : nullptr;
}
TCustomChart* ChartOf(const TZuzCustomShape* Shape) {
    return Shape ? dynamic_cast<TCustomChart*>(Shape->GetParentChart()) : nullptr;
}

// An editor on the chart, owned by the application, translated but for its series list (whose
// rows are the series' own titles). The caller's scope frees it, whatever happens.
Owned<TChartEditForm> NewEditor(TCustomChart* Chart) {
    Owned<TChartEditForm> form(Create<TChartEditForm>(Application));
    form->SetChart(Chart);
    form->CheckHelpFile();
    TControl* const keep[] = {form->LBSeries};
    ZuzTranslateControl(form.get(), keep);
    return form;
}

// The series page for the series, open on the tab; PageSeries' change handler loads it.
void OpenSeriesTab(TChartEditForm* Form, TChartSeries* Series, TTabSheet* (*Tab)(TFormZuzSeries*)) {
    Form->MainPage->SetActivePage(Form->TabSeries);
    Form->LBSeries->SetSelectedSeries(Series);
    Form->SetTabSeries();
    TFormZuzSeries* page = Form->SeriesForm;
    if (!page) return;
    page->PageSeries->SetActivePage(Tab(page));
    page->PageSeriesChange(Form);
}

} // namespace

void EditChartPage(TForm*, TCustomChart* AChart, int PageIndex) {
    Owned<TChartEditForm> form = NewEditor(AChart);
    form->StartPage = PageIndex;
    form->ShowModal();
}

void EditChart(TForm* AForm, TCustomChart* AChart) {
    EditChartPage(AForm, AChart, cetMain);
}

void EditChartLegend(TForm* AForm, TCustomChart* AChart) {
    EditChartPage(AForm, AChart, cetLegend);
}

void EditChartTitle(TForm*, TChartTitle* ATitle) {
    Owned<TChartEditForm> form = NewEditor(ChartOf(ATitle));
    form->StartTitle = ATitle;
    form->StartPage = cetTitles;
    form->ShowModal();
}

void EditChartWall(TForm*, TCustomChartWall* AWall) {
    Owned<TChartEditForm> form = NewEditor(ChartOf(AWall));
    form->StartWall = AWall;
    form->StartPage = cetWalls;
    form->ShowModal();
}

void EditChartAxis(TForm*, TChartAxis* Axis) {
    Owned<TChartEditForm> form = NewEditor(Axis ? dynamic_cast<TCustomChart*>(Axis->ParentChart) : nullptr);
    form->StartAxis = Axis;
    form->StartPage = cetAxis;
    form->ShowModal();
}

void EditChartTool(TForm*, TZuzCustomTool* ATool) {
    Owned<TChartEditForm> form = NewEditor(ChartOf(ATool));
    form->StartTool = ATool;
    form->ShowModal();
}

void EditSeries(TForm*, TChartSeries* ASeries) {
    Owned<TChartEditForm> form = NewEditor(ChartOf(ASeries));
    form->StartSeries = ASeries;
    form->ShowModal();
}

void EditSeriesMarks(TForm*, TChartSeries* ASeries, bool Symbol) {
    Owned<TChartEditForm> form = NewEditor(ChartOf(ASeries));
    form->StartSeries = ASeries;
    OpenSeriesTab(form.get(), ASeries, [](TFormZuzSeries* Page) { return Page->TabMarks; });
    if (Symbol && form->SeriesForm)
        form->SeriesForm->PageControlMarks->SetActivePage(form->SeriesForm->TabSymbol);
    form->ShowModal();
}

void EditSeriesDataSource(TForm*, TChartSeries* ASeries) {
    Owned<TChartEditForm> form = NewEditor(ChartOf(ASeries));
    form->StartSeries = ASeries;
    OpenSeriesTab(form.get(), ASeries, [](TFormZuzSeries* Page) { return Page->TabDataSource; });
    form->ShowModal();
}

void EditDSSChart(TComponent*, TCustomChart* AChart) {
    Owned<TChartEditForm> form = NewEditor(AChart);
    form->DataSourceMode = true;
    form->ShowModal();
}

void EditChartPart(TForm* AForm, TCustomChart* AChart, const TChartClickedPart& Part) {
    switch (Part.Style) {
    case cpLegend:
        EditChartLegend(AForm, AChart);
        break;
    case cpAxis:
        EditChartAxis(AForm, Part.AAxis);
        break;
    case cpSeries:
        EditSeries(AForm, Part.ASeries);
        break;
    case cpTitle:
        EditChartTitle(AForm, AChart->GetTitle());
        break;
    case cpFoot:
        EditChartTitle(AForm, AChart->GetFoot());
        break;
    case cpSeriesMarks:
        EditSeriesMarks(AForm, Part.ASeries, false);
        break;
    case cpSubTitle:
        EditChartTitle(AForm, AChart->GetSubTitle());
        break;
    case cpSubFoot:
        EditChartTitle(AForm, AChart->GetSubFoot());
        break;
    default: // nothing, the chart's rectangle, an axis title
        EditChart(AForm, AChart);
        break;
    }
}
