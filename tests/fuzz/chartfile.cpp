// The chart file, binary or text, loaded into a chart that already holds a
// series: a refused file leaves the chart as it was; an accepted one draws
// (or refuses to with an Exception), saves again, and what it saves loads
// back as the same chart. Its dictionary (chartfile.dict) holds the names of
// the charts' published numbers and the values a hostile file gives them.
#include "tests/fuzz/fuzzing.h"
#include "tests/fuzz/samplechart.h"
#include "tests/support/guiprobe.h"

fuzz::Seeds FuzzSeeds() {
    fuzz::Seeds seeds;
    const auto keep = [&](TChart* Chart, const std::string& Name) {
        seeds.push_back({Name + ".zuz", SavedChart(Chart, false)});
        seeds.push_back({Name + ".txt.zuz", SavedChart(Chart, true)});
    };
    const std::vector<Owned<TChart>> charts = SeriesTypeCharts();
    for (std::size_t i = 0; i < charts.size(); ++i) keep(charts[i].get(), "type" + std::to_string(i));
    keep(SampleChart().get(), "sample");
    return seeds;
}

void FuzzOne(std::string_view Input) {
    const ChartFileRun run = RunChartFile(Input);
    fuzz::Check(run.fault.empty(), run.fault);
    // Windows of freed controls go with the next turn of the event loop.
    probe::ProcessEvents();
}
