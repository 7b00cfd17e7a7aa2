// The main window's graph side: the data series of the value columns on the
// hidden chart, and the graph windows that plot copies of them (building,
// numbering, activation, closing, the time scroll bar, the popup commands).
#include "archive/mainform.h"

#include "chart/canvas/zuzprocs.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"
#include "chart/series/series.h"
#include "chart/series/zuzedit.h"
#include "chart/series/zuzexportformat.h"
#include "chart/series/zuzjpeg.h"
#include "graphs/okcancl1.h"
#include "platform/core/sysutils.h"

void TMainForm::BindGraphComponents() {
    Bind(ToolButton4, u"ToolButton4");
    Bind(Chart1, u"Chart1");
    Bind(AddGraphic1, u"AddGraphic1");
    Bind(AddGraphic, u"AddGraphic");
    Bind(ChartPreviewer, u"ChartPreviewer");
    Bind(PopupMenuGr, u"PopupMenuGr");
    Bind(MenuItem1, u"MenuItem1");
    Bind(MenuItem4, u"MenuItem4");
    Bind(N6, u"N6");
}

// ---------------------------------------------------------------------------
// Data series

void TMainForm::ClearDataSeries() {
    Chart1->RemoveAllSeries();
    ClearGraphSeries();
    // The graph windows hold copies: the last read's series go now, not with the program.
    for (TLineSeries*& series : dataSeries) {
        if (series) series->Free();
        series = nullptr;
    }
}

void TMainForm::ClearColumnList() {
    if (GraphSettings) GraphSettings->CheckListBoxValue->GetItems()->Clear();
}

void TMainForm::AddColumnSeries(int Column) {
    if (Column < 0 || Column >= MaxDataSeries) return;
    TLineSeries* series = Create<TLineSeries>(Chart1);
    dataSeries[Column] = series;
    series->GetXValues()->SetDateTime(true);
    Chart1->AddSeries(series);
    const String header = StringGrid->GetCells(Column + 1, 0);
    series->SetTitle(header);
    series->GetPen()->SetWidth(2);
    if (GraphSettings) GraphSettings->CheckListBoxValue->GetItems()->Add(header);
}

void TMainForm::AddRecordPoints(const TArchiveRecord& Record) {
    // A record without a real date and time has no place on a time axis: the
    // table shows "Err.4", the series leave it out.
    if (!Record.timeValid) return;
    const auto marker = [](double v) { return v == ValueConvertError || v == ValueMissing; };
    bool anyNonZero = false;
    for (const double v : Record.values) anyNonZero = anyNonZero || marker(v) || v != 0.0;
    const int count = std::min(static_cast<int>(Record.values.size()), MaxDataSeries);
    for (int m = 0; m < count; ++m) {
        TLineSeries* series = dataSeries[m];
        if (!series) continue;
        const double v = Record.values[m];
        if (marker(v) || !anyNonZero)
            series->AddNullXY(Record.time, 0, {});
        else
            series->AddXY(Record.time, v, {}, clDefault);
    }
}

void TMainForm::RenameColumnSeries(int Column) {
    const String header = StringGrid->GetCells(Column, 0);
    if (Chart1->SeriesCount() > 0 && Column >= 1 && Column <= MaxDataSeries && dataSeries[Column - 1]) {
        dataSeries[Column - 1]->SetTitle(header);
        if (GraphSettings) {
            TStrings* items = GraphSettings->CheckListBoxValue->GetItems();
            if (Column - 1 < items->GetCount()) items->SetStrings(Column - 1, header);
        }
    }
    for (int i = 1; i <= graphCount; ++i) {
        GraphRecord& g = graphs[i];
        for (int j = 1; j <= g.seriesCount; ++j)
            if (g.seriesRecords[j].valueColumn == Column && g.seriesRecords[j].lineSeries)
                g.seriesRecords[j].lineSeries->SetTitle(header);
    }
}

GraphRecord* TMainForm::CurrentGraphRecord() {
    return currentGraph >= 1 && currentGraph <= graphCount ? &graphs[currentGraph] : nullptr;
}

TChartSeries* TMainForm::ColumnSeries(int Index) {
    return Index >= 0 && Index < MaxDataSeries ? dataSeries[Index] : nullptr;
}

String TMainForm::ColumnHeader(int Column) {
    return Column >= 1 && Column < StringGrid->GetColCount() ? StringGrid->GetCells(Column, 0) : String();
}

// ---------------------------------------------------------------------------
// Graph windows

void TMainForm::AddGraphicExecute(TObject* Sender) {
    if (graphCount >= MaxGraphWindows) return;
    const int g = ++graphCount;
    GraphRecord& G = graphs[g];
    G = GraphRecord{};
    G.graphNumber = NewGraphNumber();
    const String number = IntToStr(G.graphNumber);
    TForm* form = Create<TForm>(this, TCustomForm::NewTag{});
    G.graphForm = form;
    form->SetIconFromImages(ImageList, 4);
    form->SetName(u"GraphForm" + number);
    G.graphCaption = u"График" + number;
    form->SetCaption(G.graphCaption);
    form->SetHeight(350);
    form->SetWidth(500);
    form->OnClose.Bind(this, &TMainForm::GraphWindowClose, "GraphWindowClose");
    form->OnActivate.Bind(this, &TMainForm::GraphWindowActivate, "GraphWindowActivate");

    TChart* chart = Create<TChart>(form);
    G.graphChart = chart;
    chart->SetColor(clBlack);
    G.backColor = clBlack;
    SetGraphLegend(chart, true);
    G.legendVisible = true;
    G.labelsRotated = false;
    G.autoX = true;
    chart->GetBottomAxis()->SetAutomatic(true);
    G.autoY = true;
    chart->GetLeftAxis()->SetAutomatic(true);
    G.yMax = 100;
    chart->GetLeftAxis()->SetMaximum(100);
    G.yMin = 0;
    chart->GetLeftAxis()->SetMinimum(0);
    G.seriesCount = 0;

    TStatusBar* status = Create<TStatusBar>(form);
    G.graphStatusBar = status;
    status->SetParent(form);
    status->SetAlign(alBottom);
    status->GetPanels()->BeginUpdate();
    for (int i = 0; i < 5; ++i) status->GetPanels()->Add()->SetWidth(130);
    status->GetPanels()->EndUpdate();
    status->SetVisible(false);

    TScrollBar* bar = Create<TScrollBar>(form);
    G.graphScrollBar = bar;
    bar->SetParent(form);
    bar->SetAlign(alBottom);
    bar->SetTabStop(false);
    bar->SetVisible(false);
    bar->SetLargeChange(10);
    bar->OnChange.Bind(this, &TMainForm::GraphAxisFollow, "GraphAxisFollow");

    G.textColor = clWhite;
    SetGraphTextColor(chart, clWhite);
    chart->GetZoom()->SetAllow(false);
    G.timeFormat = u"HH:mm:ss";
    chart->GetBottomAxis()->SetDateTimeFormat(G.timeFormat);
    chart->GetBottomAxis()->SetDesiredIncrement(DateTimeStep[dtOneSecond]);
    chart->GetBottomAxis()->SetLabelsSeparation(25);
    chart->SetAlign(alClient);
    chart->SetParent(form);
    chart->SetView3D(false);
    chart->SetScrollMouseButton(mbMiddle);
    chart->SetAllowPanning(pmNone);
    form->SetPopupMenu(PopupMenuGr);
    chart->SetPrintProportional(true);
    chart->PrintMargins = TRect(2, 2, 2, 2);
    form->Show();
    if (graphCount >= MaxGraphWindows) AddGraphic->SetEnabled(false);
}

bool TMainForm::GraphNumberFree(int Number) {
    // The window being built is the last entry: only the others count.
    for (int i = 1; i < graphCount; ++i)
        if (graphs[i].graphNumber == Number) return false;
    return true;
}

int TMainForm::NewGraphNumber() {
    for (int n = 1; n <= MaxGraphNumber; ++n)
        if (GraphNumberFree(n)) return n;
    return MaxGraphNumber;
}

int TMainForm::GraphOfControl(TComponent* Control) const {
    for (auto* c = dynamic_cast<TControl*>(Control); c; c = c->GetParent())
        for (int i = 1; i <= graphCount; ++i)
            if (graphs[i].graphForm == c) return i;
    return 0;
}

void TMainForm::GraphWindowActivate(TObject* Sender) {
    for (int i = 1; i <= graphCount; ++i) {
        if (graphs[i].graphForm != Sender) continue;
        currentGraph = i;
        StatusBar->GetPanels()->GetItem(2)->SetText(IntToStr(graphs[i].graphNumber));
    }
}

void TMainForm::GraphWindowClose(TObject* Sender, TCloseAction& Action) {
    int i = 1;
    while (i <= graphCount && graphs[i].graphForm != Sender) ++i;
    if (i > graphCount) return;
    // The form owns the chart, the bars and, through the chart, the series.
    Action = caFree;
    AddGraphic->SetEnabled(true);
    for (int j = i; j < graphCount; ++j) graphs[j] = graphs[j + 1];
    graphs[graphCount] = GraphRecord{};
    --graphCount;
    // The current window keeps being current at its new place; a closed one is
    // current no more, until the next window is activated.
    if (currentGraph == i)
        currentGraph = 0;
    else if (currentGraph > i)
        --currentGraph;
    if (graphCount == 0) Application->BringToFront();
}

void TMainForm::GraphAxisFollow(TObject* Sender) {
    // The window whose bar moved, whichever window was activated last.
    int g = 0;
    for (int i = 1; i <= graphCount; ++i)
        if (graphs[i].graphScrollBar == Sender) g = i;
    if (g == 0) return;
    const GraphRecord& G = graphs[g];
    TChart* chart = G.graphChart;
    TChartAxis* axis = chart->GetBottomAxis();
    const int p = G.graphScrollBar->GetPosition();
    const double w = G.visibleSeconds / 86400;
    const double x0 = chart->MinXValue(axis);
    const double right = x0 + p / 86400.0;
    // Minimum first when moving left, maximum first when moving right: the
    // minimum stays below the maximum at every step.
    if (right <= axis->GetMaximum()) {
        if (p > G.visibleSeconds) {
            axis->SetMinimum(right - w);
            axis->AdjustMaxMin();
            axis->SetMaximum(axis->GetMinimum() + w);
        } else {
            axis->SetMinimum(x0);
            axis->SetMaximum(x0 + w);
        }
    } else {
        axis->SetMaximum(right);
        axis->AdjustMaxMin();
        axis->SetMinimum(axis->GetMaximum() - w);
    }
}

void TMainForm::ClearGraphSeries() {
    for (int i = 1; i <= graphCount; ++i) {
        GraphRecord& G = graphs[i];
        for (int j = 1; j <= G.seriesCount; ++j) {
            if (G.seriesRecords[j].lineSeries) G.seriesRecords[j].lineSeries->Free();
            G.ResetSeries(j);
        }
        G.seriesCount = 0;
    }
}

int TMainForm::PopupGraph() {
    const int g = GraphOfControl(PopupMenuGr->GetPopupComponent());
    if (g != 0) currentGraph = g;
    return g;
}

void TMainForm::MenuItem1Click(TObject* Sender) {
    if (PopupGraph() == 0) return;
    GraphSettings->ShowModal();
}

void TMainForm::MenuItem4Click(TObject* Sender) {
    const int g = PopupGraph();
    if (g == 0) return;
    ChartPreviewer->SetChart(graphs[g].graphChart);
    ChartPreviewer->SetTitle(u"Печать " + graphs[g].graphCaption);
    ChartPreviewer->Execute();
}

void TMainForm::N6Click(TObject* Sender) {
    const int g = PopupGraph();
    if (g == 0) return;
    ZuzSavePanel(&TJPEGExportFormat::NewInstance, graphs[g].graphChart);
}
