// Opening a graph window on all 13 value columns of a month and of a year of
// hourly readings (the window built, the series copied from the data series,
// the first frame drawn at 1280 x 800), and one step of its time scroll bar
// over the year shown a day at a time (the axis moved and the frame drawn
// again). Each as a ratio to the full redraw of the chart benchmark's graph
// window (13 series of 8,760 points as one polyline each, 1280 x 800) in the
// same run. The ratios are printed last.
#include "archive/mainform.h"
#include "bench/benchmain.h"
#include "bench/polylinechart.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/chartvaluelist.h"
#include "graphs/okcancl1.h"
#include "platform/core/dateutils.h"
#include "platform/core/sysutils.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using polylinechart::Frame;
using polylinechart::FullRedraw;
constexpr int kColumns = 13;

// The main window after a read of `days` days of hourly records with 13 values.
class Program {
public:
    explicit Program(int days) {
        Application->CreateForm(MainForm);
        Application->CreateForm(GraphSettings);
        const TDateTime first = EncodeDate(2023, 1, 1);
        for (int d = 0; d < days; ++d) {
            MainForm->currentDate = first + d;
            Word y, m, day;
            DecodeDate(first + d, y, m, day);
            for (int h = 0; h < 24; ++h) {
                char text[256];
                int n = std::snprintf(text, sizeof text, " %02d %02d %02d 00", day, m, h);
                for (int c = 0; c < kColumns; ++c)
                    n += std::snprintf(text + n, sizeof text - n, " %.2f",
                                       100 * c + 50 * std::sin((d * 24 + h) * 0.01 + c));
                MainForm->records->Add(AnsiToString(text));
            }
            MainForm->BuildArchiveGrid();
        }
    }
    ~Program() {
        GraphSettings->Free();
        GraphSettings = nullptr;
        MainForm->Free();
        MainForm = nullptr;
    }
    // Ctrl+G and every column ticked in the settings dialog.
    GraphRecord& Open() {
        MainForm->AddGraphicExecute(MainForm->AddGraphic);
        GraphRecord& g = MainForm->graphs[MainForm->graphCount];
        MainForm->GraphWindowActivate(g.graphForm);
        GraphSettings->FormActivate(GraphSettings);
        for (int k = 0; k < kColumns; ++k) {
            GraphSettings->CheckListBoxValue->SetItemIndex(k);
            GraphSettings->CheckListBoxValue->SetChecked(k, true);
            GraphSettings->CheckListBoxValueClickCheck(GraphSettings->CheckListBoxValue);
        }
        return g;
    }
    void Close(GraphRecord& g) {
        TCloseAction action = caNone;
        TForm* form = g.graphForm;
        MainForm->GraphWindowClose(form, action);
        form->Free();
    }
};

void OpenWindow(benchmark::State& state, int days) {
    Program program(days);
    Frame f;
    for (auto _ : state) {
        GraphRecord& g = program.Open();
        f.Draw(g.graphChart);
        state.PauseTiming();
        program.Close(g);
        state.ResumeTiming();
    }
}

void OpenMonth(benchmark::State& state) {
    OpenWindow(state, 31);
}

void OpenYear(benchmark::State& state) {
    OpenWindow(state, 365);
}

void ScrollStep(benchmark::State& state) {
    Program program(365);
    GraphRecord& g = program.Open();
    GraphSettings->CheckBoxAutoX->SetChecked(false);
    GraphSettings->EditXvalueCount->SetText(u"86400");
    GraphSettings->ApplayClick(GraphSettings->Applay);
    Frame f;
    f.Draw(g.graphChart);
    TScrollBar* bar = g.graphScrollBar;
    const int from = bar->GetMax() / 2;
    bar->SetPosition(from);
    f.Draw(g.graphChart);
    bool there = false;
    for (auto _ : state) {
        // One large step along and back, as the operator clicks beside the thumb.
        bar->SetPosition(there ? from : from + bar->GetLargeChange());
        there = !there;
        f.Draw(g.graphChart);
    }
}

void PrintRatios(const std::map<std::string, double>& times) {
    const auto base = times.find("FullRedraw");
    if (base == times.end()) return;
    std::printf("\nRatios to the full redraw of the chart benchmark's graph window:\n");
    for (const char* name : {"OpenMonth", "OpenYear", "ScrollStep"})
        if (const auto t = times.find(name); t != times.end())
            std::printf("  %-10s %6.3f x\n", name, t->second / base->second);
}

} // namespace

int main(int argc, char** argv) {
    for (const auto& [name, fn] : {std::pair{"FullRedraw", &FullRedraw}, std::pair{"OpenMonth", &OpenMonth},
                                   std::pair{"OpenYear", &OpenYear}, std::pair{"ScrollStep", &ScrollStep}})
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->Repetitions(3)->UseRealTime();
    MedianTimes reporter;
    return RunBenchmarks(argc, argv, &reporter, [&] { PrintRatios(reporter.wall); });
}
