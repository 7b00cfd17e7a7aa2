#pragma once
// The chart benchmark's graph window: a chart of 1280 x 800 with 13 series of
// 8,760 hourly points each (pen width 2, a date-time bottom axis), drawn by a
// stand-in series that draws its visible points as one polyline. Its full
// redraw is the baseline other graph benchmarks are measured against.

#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/chartvaluelist.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace polylinechart {

constexpr int kWidth = 1280, kHeight = 800, kSeries = 13, kPoints = 8760;
constexpr double kStart = 45000;

// Draws its visible points as one polyline.
class TPolylineSeries : public TChartSeries {
public:
    using TChartSeries::TChartSeries;
    void DrawAllValues() override {
        const int first = FirstValueIndex, last = LastValueIndex;
        if (first < 0 || last < first) return;
        points.resize(static_cast<std::size_t>(last - first + 1));
        for (int i = first; i <= last; ++i)
            points[static_cast<std::size_t>(i - first)] = {CalcXPos(i), CalcYPos(i)};
        TCanvas3D* c = GetParentChart()->GetCanvas();
        c->AssignVisiblePenColor(GetPen(), GetSeriesColor());
        c->Polyline(points);
    }
    std::vector<TPoint> points;
};

// The graph window's chart with no series yet: its size, 2D, no bevel.
inline Owned<TChart> NewEmptyChart() {
    Owned<TChart> chart(Create<TChart>(nullptr));
    chart->SetBounds(0, 0, kWidth, kHeight);
    chart->SetView3D(false);
    chart->SetBevelOuter(bvNone);
    return chart;
}

inline Owned<TChart> NewChart() {
    Owned<TChart> chart = NewEmptyChart();
    for (int s = 0; s < kSeries; ++s) {
        auto* series = Create<TPolylineSeries>(chart.get());
        series->GetPen()->SetWidth(2);
        chart->AddSeries(series);
        series->GetXValues()->SetDateTime(true);
        series->BeginUpdate();
        for (int i = 0; i < kPoints; ++i)
            series->AddXY(kStart + i / 24.0, 100 * s + 50 * std::sin(i * 0.01 + s));
        series->EndUpdate();
    }
    return chart;
}

// A bitmap of the chart's size to draw a chart into.
struct Frame {
    TBitmap target;
    Frame() { target.SetSize(kWidth, kHeight); }
    void Draw(TChart* Chart) { Chart->Draw(target.GetCanvas(), TRect(0, 0, kWidth, kHeight)); }
};

// The baseline: the whole chart drawn again.
inline void FullRedraw(benchmark::State& state) {
    auto chart = NewChart();
    Frame f;
    f.Draw(chart.get());
    for (auto _ : state) f.Draw(chart.get());
}

// Each round moves the bottom axis a tenth of its range along and back, as a
// scroll step moves it, and draws the chart again.
inline void ScrollRounds(benchmark::State& state, TChart* Chart) {
    Frame f;
    f.Draw(Chart);
    TChartAxis* bottom = Chart->GetBottomAxis();
    const double lo = bottom->GetMinimum(), hi = bottom->GetMaximum();
    bool there = false;
    for (auto _ : state) {
        const double d = there ? 0 : (hi - lo) * 0.1;
        bottom->SetMinMax(lo + d, hi + d);
        there = !there;
        f.Draw(Chart);
    }
}

} // namespace polylinechart
