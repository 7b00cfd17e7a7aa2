// The controls' share of a long read, as the tests once timed it: rows added
// one by one to a string grid, and lines taken by a memo in one update.
#include "bench/benchmain.h"
#include "platform/gui/forms.h"
#include "platform/gui/grids.h"
#include "platform/gui/stdctrls.h"

namespace {

// 10,000 rows of 14 cells, a row at a time, on a shown form.
void GridRowByRow(benchmark::State& state) {
    Owned<TForm> form{Create<TForm>(nullptr, TCustomForm::NewTag{})};
    form->SetClientWidth(500);
    form->SetClientHeight(300);
    auto* grid = Create<TStringGrid>(form.get());
    grid->SetParent(form.get());
    grid->SetAlign(alClient);
    form->Show();
    for (auto _ : state) {
        grid->SetRowCount(2);
        grid->SetColCount(14);
        for (int r = 1; r <= 10000; ++r) {
            if (r > 1) grid->SetRowCount(grid->GetRowCount() + 1);
            for (int c = 0; c < 14; ++c) grid->SetCells(c, r, u"12345,67");
        }
        Application->ProcessMessages();
    }
    state.counters["cells/s"] =
        benchmark::Counter(140000.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(GridRowByRow)->Unit(benchmark::kMillisecond);

// 10,000 lines into a shown memo in one update.
void MemoOneUpdate(benchmark::State& state) {
    Owned<TForm> form{Create<TForm>(nullptr, TCustomForm::NewTag{})};
    auto* memo = Create<TMemo>(form.get());
    memo->SetParent(form.get());
    form->Show();
    TStringList lines;
    for (int i = 0; i < 10000; ++i) lines.Add(u" 05 10 12 30 " + IntToStr(i) + u" ");
    for (auto _ : state) {
        memo->GetLines()->Clear();
        memo->GetLines()->BeginUpdate();
        memo->GetLines()->AddStrings(&lines);
        memo->GetLines()->EndUpdate();
    }
    state.counters["lines/s"] =
        benchmark::Counter(10000.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(MemoOneUpdate)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
