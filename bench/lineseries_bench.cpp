// A graph window's full redraw with line series: a chart of 1280 x 800 with 13
// line series of 8,760 hourly points each (pen width 2, pointers off, a
// date-time bottom axis, antialiasing off, every 97th point null and drawn as
// a gap), drawn every segment; and the same chart of 13 fast line series
// (null points as gaps too). Measured: (a) a full redraw, (b) a redraw after
// scrolling the bottom axis by a tenth, each as a ratio to plain QPainter
// drawing the same segments one drawLine(QPointF, QPointF) each on a QImage of
// the same size (Format_ARGB32_Premultiplied) in the same run. The ratios are
// printed last.
#include "bench/benchmain.h"
#include "bench/polylinechart.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartvaluelist.h"
#include "chart/series/series.h"

#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using polylinechart::Frame;
using polylinechart::kHeight;
using polylinechart::kPoints;
using polylinechart::kSeries;
using polylinechart::kStart;
using polylinechart::kWidth;
constexpr int kNullEvery = 97;

// The series of one kind, drawn with their null points as gaps.
TCustomLineSeries* NewLine(TChart* Chart) {
    return Create<TLineSeries>(Chart);
}
TCustomLineSeries* NewFastLine(TChart* Chart) {
    auto* s = Create<TFastLineSeries>(Chart);
    s->SetIgnoreNulls(false);
    s->SetTreatNulls(tnDontPaint);
    return s;
}
using NewSeries = TCustomLineSeries* (*)(TChart*);

Owned<TChart> NewChart(NewSeries Kind = NewLine) {
    Owned<TChart> chart = polylinechart::NewEmptyChart();
    for (int s = 0; s < kSeries; ++s) {
        TCustomLineSeries* series = Kind(chart.get());
        series->GetLinePen()->SetWidth(2);
        chart->AddSeries(series);
        series->GetXValues()->SetDateTime(true);
        series->BeginUpdate();
        for (int i = 0; i < kPoints; ++i) {
            const double x = kStart + i / 24.0;
            if (i % kNullEvery == kNullEvery - 1)
                series->AddNullXY(x, 0);
            else
                series->AddXY(x, 100 * s + 50 * std::sin(i * 0.01 + s));
        }
        series->EndUpdate();
    }
    return chart;
}

template <NewSeries Kind = NewLine>
void FullRedraw(benchmark::State& state) {
    auto chart = NewChart(Kind);
    Frame f;
    f.Draw(chart.get());
    for (auto _ : state) f.Draw(chart.get());
}

template <NewSeries Kind = NewLine>
void RedrawAfterScroll(benchmark::State& state) {
    auto chart = NewChart(Kind);
    polylinechart::ScrollRounds(state, chart.get());
}

// The segments the series draw: between neighbours in the visible range,
// none into or out of a null point.
std::vector<std::vector<std::pair<QPointF, QPointF>>> Segments(TChart* Chart) {
    std::vector<std::vector<std::pair<QPointF, QPointF>>> all;
    for (int s = 0; s < Chart->SeriesCount(); ++s) {
        TChartSeries* series = Chart->GetSeries(s);
        std::vector<std::pair<QPointF, QPointF>> segs;
        for (int i = std::max(1, series->FirstValueIndex); i <= series->LastValueIndex; ++i)
            if (!series->IsNull(i) && !series->IsNull(i - 1))
                segs.emplace_back(QPointF(series->CalcXPos(i - 1), series->CalcYPos(i - 1)),
                                  QPointF(series->CalcXPos(i), series->CalcYPos(i)));
        all.push_back(std::move(segs));
    }
    return all;
}

void QPainterLines(benchmark::State& state) {
    auto chart = NewChart();
    Frame f;
    f.Draw(chart.get());
    const auto all = Segments(chart.get());
    QImage img(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        img.fill(Qt::white);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        for (std::size_t s = 0; s < all.size(); ++s) {
            p.setPen(QPen(QColor::fromHsv(static_cast<int>(s) * 27, 255, 200), 2));
            for (const auto& [a, b] : all[s]) p.drawLine(a, b);
        }
        p.end();
        benchmark::DoNotOptimize(img.constBits()[0]);
    }
}

void PrintRatios(const char* Clock, const std::map<std::string, double>& times) {
    const auto base = times.find("QPainterLines");
    if (base == times.end()) return;
    std::printf("\nRatios to QPainter drawing the same segments, %s (target <= 0.63):\n", Clock);
    for (const char* name : {"FullRedraw", "RedrawAfterScroll", "FastLineFullRedraw", "FastLineAfterScroll"})
        if (const auto t = times.find(name); t != times.end())
            std::printf("  %-20s %5.2f x\n", name, t->second / base->second);
}

} // namespace

int main(int argc, char** argv) {
    for (const auto& [name, fn] :
         {std::pair{"QPainterLines", &QPainterLines}, std::pair{"FullRedraw", &FullRedraw<>},
          std::pair{"RedrawAfterScroll", &RedrawAfterScroll<>},
          std::pair{"FastLineFullRedraw", &FullRedraw<NewFastLine>},
          std::pair{"FastLineAfterScroll", &RedrawAfterScroll<NewFastLine>}})
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->Repetitions(3)->UseRealTime();
    MedianTimes reporter;
    return RunBenchmarks(argc, argv, &reporter, [&] {
        PrintRatios("wall time", reporter.wall);
        PrintRatios("processor time", reporter.processor);
    });
}
