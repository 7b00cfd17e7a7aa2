#include "tests/archive/graphcheck.h"

#include "archive/mainform.h"
#include "chart/engine/chart.h"
#include "chart/series/series.h"
#include "graphs/okcancl1.h"
#include "platform/core/sysutils.h"

namespace graphtest {

SettingsDialog::SettingsDialog() {
    Application->CreateForm(GraphSettings);
}

SettingsDialog::~SettingsDialog() {
    if (GraphSettings) GraphSettings->Free();
    GraphSettings = nullptr;
}

Points PointsOf(const TChartSeries* s) {
    Points p;
    for (int i = 0; i < s->Count(); ++i)
        p.push_back({(*s->GetXValues())[i], s->IsNull(i) ? std::nan("") : (*s->GetYValues())[i]});
    return p;
}

std::vector<ShownSeries> OpenGraphOfEveryColumn(TMainForm& Form) {
    Form.IsShortCut(ShortCut('G', {ssCtrl}));
    GraphRecord& g = Form.graphs[Form.graphCount];
    Form.GraphWindowActivate(g.graphForm);
    GraphSettings->FormActivate(GraphSettings);
    TCheckListBox* list = GraphSettings->CheckListBoxValue;
    for (int k = 0; k < list->GetItems()->GetCount(); ++k) {
        list->SetItemIndex(k);
        list->SetChecked(k, true);
        GraphSettings->CheckListBoxValueClickCheck(list);
    }
    std::vector<ShownSeries> shown;
    for (int s = 0; s < g.graphChart->SeriesCount(); ++s) {
        const TChartSeries* series = g.graphChart->GetSeries(s);
        const int column = g.seriesRecords[s + 1].valueColumn;
        shown.push_back(
            {StringToAnsi(series->GetTitle()), PointsOf(series), PointsOf(Form.dataSeries[column - 1])});
    }
    return shown;
}

} // namespace graphtest
