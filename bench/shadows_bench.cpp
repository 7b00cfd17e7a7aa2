// Smooth shadows at the largest size the shadow editor offers (1000 pixels each way), each as a
// ratio to the same chart with those shadows off, in the same run: (a) twelve bars whose marks
// cast the shadow, at 400 x 300; (b) a bar chart with every shadow it has at that size (panel,
// walls, legend, title, bars, marks, fonts), at 400 x 300, where each shadow falls outside the
// picture, and at 1920 x 1080, where part of them falls inside it; (c) the same at 400 x 300 with
// the fonts' shadows left as they are: a font's shadow widens every text by its size. Profiles of
// (b) at 400 x 300 put 55 to 65 % of its time in the blur, most of it the marks' shadows, which
// the fonts' shadows widen, then the panel's; and 13 to 20 % in measuring the axis labels. It
// draws in 10 to 18 ms, 10 to 18 times the drawing without shadows, as the machine goes.
#include "bench/benchmain.h"
#include "chart/canvas/zuzfont.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/engine/chart.h"
#include "chart/engine/charttitle.h"
#include "chart/engine/seriesmarks.h"
#include "chart/series/series_bar.h"
#include "platform/core/collections.h"

#include <cstdio>
#include <functional>
#include <set>
#include <string>

namespace {

constexpr int kLargest = 1000;

// Every shadow reachable through the published properties of Object; the fonts' too with Fonts.
void ForEachShadow(TObject* Object, const std::function<void(TZuzShadow*)>& Fn, std::set<TObject*>& Seen,
                   bool Fonts) {
    if (!Object || !Seen.insert(Object).second || (!Fonts && dynamic_cast<TZuzFont*>(Object))) return;
    if (auto* shadow = dynamic_cast<TZuzShadow*>(Object)) {
        Fn(shadow);
        return;
    }
    if (auto* items = dynamic_cast<TCollection*>(Object))
        for (TCollectionItem* item : *items) ForEachShadow(item, Fn, Seen, Fonts);
    for (const PropInfo* p : Object->ClassType().AllProps())
        if (p->kind == PropKind::Object && p->getObj) ForEachShadow(p->getObj(*Object), Fn, Seen, Fonts);
}

Owned<TChart> BarChart(int Width, int Height) {
    Owned<TChart> chart(Create<TChart>(nullptr));
    chart->SetBounds(0, 0, Width, Height);
    chart->GetTitle()->GetText()->Add(u"Расход за сутки");
    auto* bars = Create<TBarSeries>(chart.get());
    chart->AddSeries(bars);
    bars->GetMarks()->SetVisible(true);
    for (int i = 0; i < 12; ++i) bars->Add(10 + (i * 7) % 12);
    return chart;
}

// The twelve bars; their marks' shadow at the largest size, or off.
Owned<TChart> MarksShadowChart(bool Shadows) {
    auto chart = BarChart(400, 300);
    TZuzShadow* shadow = chart->GetSeries(0)->GetMarks()->GetShadow();
    shadow->SetSize(kLargest);
    shadow->SetVisible(Shadows);
    return chart;
}

// Every shadow of the chart, its series included, at the largest size, or every one off.
Owned<TChart> EveryShadowChart(int Width, int Height, bool Shadows, bool Fonts = true) {
    auto chart = BarChart(Width, Height);
    std::set<TObject*> seen;
    const auto set = [&](TZuzShadow* s) {
        s->SetSize(kLargest);
        s->SetVisible(Shadows);
    };
    ForEachShadow(chart.get(), set, seen, Fonts);
    for (int i = 0; i < chart->SeriesCount(); ++i) ForEachShadow(chart->GetSeries(i), set, seen, Fonts);
    return chart;
}

void Redraw(benchmark::State& state, const Owned<TChart>& Chart) {
    const TRect r(0, 0, Chart->GetWidth(), Chart->GetHeight());
    TBitmap target;
    target.SetSize(r.Right, r.Bottom);
    Chart->Draw(target.GetCanvas(), r);
    for (auto _ : state) Chart->Draw(target.GetCanvas(), r);
}

void MarksShadowsOn(benchmark::State& state) {
    Redraw(state, MarksShadowChart(true));
}
void MarksShadowsOff(benchmark::State& state) {
    Redraw(state, MarksShadowChart(false));
}
void EveryShadowOn(benchmark::State& state) {
    Redraw(state, EveryShadowChart(400, 300, true));
}
void EveryShadowOff(benchmark::State& state) {
    Redraw(state, EveryShadowChart(400, 300, false));
}
void ShapeShadowsOn(benchmark::State& state) {
    Redraw(state, EveryShadowChart(400, 300, true, false));
}
void ShapeShadowsOff(benchmark::State& state) {
    Redraw(state, EveryShadowChart(400, 300, false, false));
}
void EveryShadowScreenOn(benchmark::State& state) {
    Redraw(state, EveryShadowChart(1920, 1080, true));
}
void EveryShadowScreenOff(benchmark::State& state) {
    Redraw(state, EveryShadowChart(1920, 1080, false));
}

void PrintRatios(const MedianTimes& Times) {
    for (const auto& [label, clock] :
         {std::pair{"wall", &Times.wall}, std::pair{"processor", &Times.processor}}) {
        std::printf("\nRatios, shadows on to off (%s time):\n", label);
        for (const char* what : {"MarksShadows", "EveryShadow", "ShapeShadows", "EveryShadowScreen"}) {
            const auto on = clock->find(std::string(what) + "On"),
                       off = clock->find(std::string(what) + "Off");
            if (on != clock->end() && off != clock->end())
                std::printf("  %-18s %8.2f x\n", what, on->second / off->second);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    for (const auto& [name, fn] :
         {std::pair{"MarksShadowsOff", &MarksShadowsOff}, std::pair{"MarksShadowsOn", &MarksShadowsOn},
          std::pair{"EveryShadowOff", &EveryShadowOff}, std::pair{"EveryShadowOn", &EveryShadowOn},
          std::pair{"ShapeShadowsOff", &ShapeShadowsOff}, std::pair{"ShapeShadowsOn", &ShapeShadowsOn},
          std::pair{"EveryShadowScreenOff", &EveryShadowScreenOff},
          std::pair{"EveryShadowScreenOn", &EveryShadowScreenOn}})
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->UseRealTime();
    MedianTimes reporter;
    return RunBenchmarks(argc, argv, &reporter, [&] { PrintRatios(reporter); });
}
