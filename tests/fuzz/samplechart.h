#pragma once
// The chart several harnesses seed from: a bar and a line series with
// bevelled marks, a bevelled HTML title, a bevelled legend placed in percent,
// a gradient and a filtered back image.

#include "chart/engine/chart.h"

#include <string>

Owned<TChart> SampleChart();
// The chart drawn into an enhanced metafile, as its picture export writes it.
std::string SampleChartMetafile();
