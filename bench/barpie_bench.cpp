// Full redraws of the block-shaped series on a 1280 x 800 chart, antialiasing
// off: (a) a stacked bar chart of 13 series of 8,760 points each, (b) a pie of
// 1,000 slices. Each is a ratio to plain QPainter drawing the same rectangles
// (drawRect with a pen and brush) or the same slices (drawPie) on a QImage of
// the same size in the same run. The ratios are printed last.
#include "bench/benchmain.h"
#include "chart/engine/chart.h"
#include "chart/series/series_bar.h"
#include "chart/series/series_pie.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1280, kHeight = 800, kSeries = 13, kPoints = 8760, kSlices = 1000;

Owned<TChart> NewChart() {
    Owned<TChart> chart(Create<TChart>(nullptr));
    chart->SetBounds(0, 0, kWidth, kHeight);
    chart->SetView3D(false);
    chart->SetBevelOuter(bvNone);
    return chart;
}

Owned<TChart> StackedBars() {
    auto chart = NewChart();
    for (int s = 0; s < kSeries; ++s) {
        auto* series = Create<TBarSeries>(chart.get());
        chart->AddSeries(series);
        series->GetMarks()->SetVisible(false);
        series->SetMultiBar(mbStacked);
        series->BeginUpdate();
        for (int i = 0; i < kPoints; ++i) series->Add(10 + 5 * std::sin(i * 0.01 + s));
        series->EndUpdate();
    }
    return chart;
}

Owned<TChart> BigPie() {
    auto chart = NewChart();
    auto* pie = Create<TPieSeries>(chart.get());
    chart->AddSeries(pie);
    pie->GetMarks()->SetVisible(false);
    pie->GetGradient()->SetVisible(false);
    pie->GetShadow()->SetVisible(false);
    for (int i = 0; i < kSlices; ++i) pie->Add(1 + (i * 37) % 100);
    return chart;
}

struct Frame {
    TBitmap target;
    Frame() { target.SetSize(kWidth, kHeight); }
    void Draw(TChart* Chart) { Chart->Draw(target.GetCanvas(), TRect(0, 0, kWidth, kHeight)); }
};

// Plain QPainter on a white QImage of the chart's size, a black pen, no antialiasing.
template <class F>
void PaintEach(benchmark::State& state, F&& Draw) {
    QImage img(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        img.fill(Qt::white);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::black);
        Draw(p);
        p.end();
        benchmark::DoNotOptimize(img.constBits()[0]);
    }
}

void StackedBarRedraw(benchmark::State& state) {
    auto chart = StackedBars();
    Frame f;
    f.Draw(chart.get());
    for (auto _ : state) f.Draw(chart.get());
}

void PieRedraw(benchmark::State& state) {
    auto chart = BigPie();
    Frame f;
    f.Draw(chart.get());
    for (auto _ : state) f.Draw(chart.get());
}

void QPainterRects(benchmark::State& state) {
    auto chart = StackedBars();
    Frame f;
    f.Draw(chart.get());
    std::vector<std::vector<QRect>> all;
    for (int s = 0; s < chart->SeriesCount(); ++s) {
        auto* series = static_cast<TBarSeries*>(chart->GetSeries(s));
        std::vector<QRect> rects;
        for (int i = 0; i < series->Count(); ++i) {
            TRect r;
            series->CalcBarBounds(i, r);
            rects.emplace_back(QPoint(r.Left, std::min(r.Top, r.Bottom)),
                               QPoint(r.Right - 1, std::max(r.Top, r.Bottom) - 1));
        }
        all.push_back(std::move(rects));
    }
    PaintEach(state, [&](QPainter& p) {
        for (std::size_t s = 0; s < all.size(); ++s) {
            p.setBrush(QColor::fromHsv(static_cast<int>(s) * 27, 255, 200));
            for (const QRect& r : all[s]) p.drawRect(r);
        }
    });
}

void QPainterPies(benchmark::State& state) {
    auto chart = BigPie();
    Frame f;
    f.Draw(chart.get());
    auto* pie = static_cast<TPieSeries*>(chart->GetSeries(0));
    const QRect box(pie->CircleRect.Left, pie->CircleRect.Top, pie->CircleRect.Right - pie->CircleRect.Left,
                    pie->CircleRect.Bottom - pie->CircleRect.Top);
    std::vector<std::pair<int, int>> spans; // sixteenths of a degree
    for (const TPieAngle& a : pie->Angles())
        spans.emplace_back(static_cast<int>(a.StartAngle * 180 / std::numbers::pi * 16),
                           static_cast<int>((a.EndAngle - a.StartAngle) * 180 / std::numbers::pi * 16));
    PaintEach(state, [&](QPainter& p) {
        int k = 0;
        for (const auto& [start, span] : spans) {
            p.setBrush(QColor::fromHsv((k++ * 27) % 360, 255, 200));
            p.drawPie(box, start, span);
        }
    });
}

void PrintRatios(const MedianTimes& times) {
    auto ratio = [&](const std::map<std::string, double>& clock, const char* name, const char* base) {
        const auto t = clock.find(name), b = clock.find(base);
        if (t != clock.end() && b != clock.end())
            std::printf("  %-18s %6.2f x %s\n", name, t->second / b->second, base);
    };
    for (const auto& [label, clock] :
         {std::pair{"wall", &times.wall}, std::pair{"processor", &times.processor}}) {
        std::printf("\nRatios to QPainter drawing the same shapes (%s time):\n", label);
        ratio(*clock, "StackedBarRedraw", "QPainterRects");
        ratio(*clock, "PieRedraw", "QPainterPies");
    }
}

} // namespace

int main(int argc, char** argv) {
    for (const auto& [name, fn] :
         {std::pair{"QPainterRects", &QPainterRects}, std::pair{"StackedBarRedraw", &StackedBarRedraw},
          std::pair{"QPainterPies", &QPainterPies}, std::pair{"PieRedraw", &PieRedraw}})
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->Repetitions(3)->UseRealTime();
    MedianTimes reporter;
    return RunBenchmarks(argc, argv, &reporter, [&] { PrintRatios(reporter); });
}
