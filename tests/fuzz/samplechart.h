#pragma once
// The charts the fuzz harnesses seed from and the walker of tests/chart/series
// sets every number of, and the check both put a chart file through: the
// chart-file fuzzing and the tests share them, so what one finds the other
// guards.

#include "chart/engine/chart.h"

#include <string>
#include <string_view>
#include <vector>

// A bar and a line series with bevelled marks, a bevelled HTML title, a
// bevelled legend placed in percent, a gradient and a filtered back image.
Owned<TChart> SampleChart();
// The chart drawn into an enhanced metafile, as its picture export writes it.
std::string SampleChartMetafile();

// One chart for each registered series type: eight sample points, and the
// type's function over them in a second series when it is a function.
std::vector<Owned<TChart>> SeriesTypeCharts();
// The sample chart with everything around the series shown: a legend with a
// title, the four titles, walls, an axis with custom labels, marks with a
// callout, shadows, gradients, pens and fonts; in 3D or flat.
Owned<TChart> DressedChart(bool View3D);

// The chart and every component below it (series, functions), each after its owner.
std::vector<TComponent*> ChartParts(TCustomChart* Chart);

// The chart as a file, binary or text, with its points.
std::string SavedChart(TCustomChart* Chart, bool Text);

// What a chart file does to a chart of Width x Height that already holds a
// series. A refused file must leave the chart as it was; an accepted one draws
// (or refuses to with an Exception), saves again, and what it saves must load
// back and, drawn again, save as the same chart. Fault names the rule broken,
// empty when none.
struct ChartFileRun {
    std::string fault;
    double drawSeconds = 0;
};
ChartFileRun RunChartFile(std::string_view Input, int Width = 320, int Height = 240);
