// A graph window's full redraw: a chart of 1280 x 800 with 13 series of 8,760
// hourly points each (pen width 2, a date-time bottom axis, antialiasing off),
// drawn through the chart's road by a stand-in series that draws its visible
// points as one polyline, every segment and no point dropped. Measured: (a) a
// full redraw, (b) a redraw after scrolling the bottom axis by a tenth, (c) the
// first frame of a new chart; each as a ratio to plain QPainter drawing the
// same segments one drawLine(QPointF, QPointF) each on a QImage of the same
// size in the same run. The ratios are printed last.
#include "bench/benchmain.h"
#include "bench/polylinechart.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/chartvaluelist.h"
#include "chart/engine/zuzfunction.h"

#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace polylinechart;

void RedrawAfterScroll(benchmark::State& state) {
    auto chart = NewChart();
    ScrollRounds(state, chart.get());
}

void FirstFrame(benchmark::State& state) {
    Frame f;
    for (auto _ : state) {
        state.PauseTiming();
        auto chart = NewChart();
        state.ResumeTiming();
        f.Draw(chart.get());
        state.PauseTiming();
        chart.reset();
        state.ResumeTiming();
    }
}

void QPainterLines(benchmark::State& state) {
    auto chart = NewChart();
    Frame f;
    f.Draw(chart.get());
    std::vector<std::vector<QPointF>> all;
    for (int s = 0; s < chart->SeriesCount(); ++s) {
        auto* series = static_cast<TPolylineSeries*>(chart->GetSeries(s));
        std::vector<QPointF> pts;
        for (const TPoint& p : series->points) pts.emplace_back(p.X, p.Y);
        all.push_back(std::move(pts));
    }
    QImage img(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        img.fill(Qt::white);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        for (std::size_t s = 0; s < all.size(); ++s) {
            p.setPen(QPen(QColor::fromHsv(static_cast<int>(s) * 27, 255, 200), 2));
            for (std::size_t i = 1; i < all[s].size(); ++i) p.drawLine(all[s][i - 1], all[s][i]);
        }
        p.end();
        benchmark::DoNotOptimize(img.constBits()[0]);
    }
}

void PrintRatios(const std::map<std::string, double>& times) {
    const auto base = times.find("QPainterLines");
    if (base == times.end()) return;
    std::printf("\nRatios to QPainter drawing the same segments (targets: a, b <= 0.63; c <= 1):\n");
    for (const char* name : {"FullRedraw", "RedrawAfterScroll", "FirstFrame"})
        if (const auto t = times.find(name); t != times.end())
            std::printf("  %-18s %5.2f x\n", name, t->second / base->second);
}

} // namespace

int main(int argc, char** argv) {
    for (const auto& [name, fn] :
         {std::pair{"QPainterLines", &QPainterLines}, std::pair{"FullRedraw", &FullRedraw},
          std::pair{"RedrawAfterScroll", &RedrawAfterScroll}, std::pair{"FirstFrame", &FirstFrame}})
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->Repetitions(3)->UseRealTime();
    MedianTimes reporter;
    return RunBenchmarks(argc, argv, &reporter, [&] { PrintRatios(reporter.wall); });
}
