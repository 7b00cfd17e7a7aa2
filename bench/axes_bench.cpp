// The axes of a graph window against the lines they frame: a chart of 13
// series of 8,760 hourly points (a year), its six axes recomputed as a scroll
// step does (range, pixel extent, label step, widest label), and the labels,
// ticks and grid of the year's date axis drawn; each as a share of drawing the
// same 13 x 8,759 segments with plain QPainter::drawLines on a QImage in the
// same run. The ratios are printed last.
#include "bench/benchmain.h"
#include "tests/chart/engine/fakeaxischart.h"

#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1280, kHeight = 800, kSeries = 13, kPoints = 8760;
constexpr double kStart = 45000; // 15 March 2023

// Hourly readings of a year, as the graph windows hold them.
struct YearChart {
    Owned<TAxisTestChart> chart{Create<TAxisTestChart>(nullptr)};
    TBitmap target;
    TZuzCanvas3D canvas;
    YearChart() {
        target.SetSize(kWidth, kHeight);
        canvas.InitWindow(target.GetCanvas(), nullptr, clWhite, false, TRect(0, 0, kWidth, kHeight));
        chart->Canvas = &canvas;
        chart->ChartRect = TRect{60, 20, kWidth - 20, kHeight - 40};
        for (int s = 0; s < kSeries; ++s) {
            auto* series = Create<TChartSeries>(chart.get());
            series->SetParentChart(chart.get());
            series->GetXValues()->SetDateTime(true);
            series->BeginUpdate();
            for (int i = 0; i < kPoints; ++i)
                series->AddXY(kStart + i / 24.0, 100 * s + 50 * std::sin(i * 0.01 + s));
            series->EndUpdate();
        }
        // The graph windows' bottom axis: one second at least, a quarter of a label apart.
        chart->Bottom->SetDesiredIncrement(1.0 / 86400);
        chart->Bottom->SetLabelsSeparation(25);
    }
    // What a scroll step asks of every axis before the series are drawn.
    void Recalculate() {
        for (TChartAxis* a : chart->Axes) {
            a->AdjustMaxMin();
            a->InternalCalcPositions();
            a->IAxisDateTime = a->IsDateTime();
            canvas.AssignFont(a->GetLabelsFont());
            benchmark::DoNotOptimize(a->CalcIncrement());
            benchmark::DoNotOptimize(a->MaxLabelsWidth());
        }
    }
};

YearChart& Chart() {
    static YearChart chart;
    return chart;
}

void AxesRecalculate(benchmark::State& state) {
    YearChart& c = Chart();
    for (auto _ : state) c.Recalculate();
}

void DateAxisLabels(benchmark::State& state) {
    YearChart& c = Chart();
    c.Recalculate();
    TChartAxis* a = c.chart->Bottom;
    TRect r = c.chart->ChartRect;
    a->CalcRect(r, false);
    for (auto _ : state) a->Draw(true);
    state.counters["labels"] = a->GetItems()->Count();
}

// The series' segments in pixels, as the series road would map them.
std::vector<std::vector<QLine>> Segments() {
    YearChart& c = Chart();
    c.Recalculate();
    std::vector<std::vector<QLine>> all;
    for (int s = 0; s < c.chart->SeriesCount(); ++s) {
        TChartSeries* series = c.chart->GetSeries(s);
        std::vector<QLine> lines;
        lines.reserve(kPoints);
        QPoint prev;
        for (int i = 0; i < series->Count(); ++i) {
            const QPoint p(c.chart->Bottom->CalcXPosValue(series->XValue(i)),
                           c.chart->Left->CalcYPosValue(series->YValue(i)));
            if (i > 0) lines.emplace_back(prev, p);
            prev = p;
        }
        all.push_back(std::move(lines));
    }
    return all;
}

void QPainterDrawLines(benchmark::State& state) {
    const std::vector<std::vector<QLine>> segments = Segments();
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (auto _ : state) {
        for (std::size_t s = 0; s < segments.size(); ++s) {
            p.setPen(QPen(QColor::fromHsv(static_cast<int>(s) * 27, 255, 200), 1));
            p.drawLines(segments[s].data(), static_cast<int>(segments[s].size()));
        }
        benchmark::DoNotOptimize(img.constBits()[0]);
    }
    state.SetItemsProcessed(state.iterations() * kSeries * (kPoints - 1));
}

void PrintRatios(const std::map<std::string, double>& times) {
    const auto base = times.find("QPainterDrawLines");
    const auto recalc = times.find("AxesRecalculate");
    const auto labels = times.find("DateAxisLabels");
    if (base == times.end() || recalc == times.end() || labels == times.end()) return;
    std::printf("\nShares of QPainter::drawLines of 13 x 8,759 segments (processor time):\n");
    std::printf("  six axes recomputed:       %5.1f %%\n", 100 * recalc->second / base->second);
    std::printf("  year's date axis drawn:    %5.1f %%\n", 100 * labels->second / base->second);
    std::printf("  together (target < 10 %%): %5.1f %%\n",
                100 * (recalc->second + labels->second) / base->second);
}

} // namespace

int main(int argc, char** argv) {
    for (const auto& [name, fn] :
         {std::pair{"QPainterDrawLines", &QPainterDrawLines}, std::pair{"AxesRecalculate", &AxesRecalculate},
          std::pair{"DateAxisLabels", &DateAxisLabels}})
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMicrosecond)->Repetitions(5);
    MedianTimes reporter;
    return RunBenchmarks(argc, argv, &reporter, [&] {
        PrintRatios(reporter.processor);
        Chart().chart.reset(); // before the units stop
    });
}
