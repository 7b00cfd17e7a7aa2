#include "chart/series/zuzchartunits.h"

#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzfilters.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/seriestypes.h"
#include "chart/series/arrowcha.h"
#include "chart/series/bubblech.h"
#include "chart/series/ganttch.h"
#include "chart/series/series.h"
#include "chart/series/zuzexportformat.h"
#include "chart/series/zuzfunci.h"
#include "chart/series/zuzshape.h"

namespace {

// The texts come before anything that reads them, the series-type registry before the
// types that enter it (the standard ones first: the galleries show them in this order).
const TUnitEntry kChartUnits[] = {
    {"ZuzConst", ZuzConstInitialization, ZuzConstFinalization},
    {"ZuzCanvas", ZuzCanvasInitialization, ZuzCanvasFinalization},
    {"ZuzProcs", ZuzProcsInitialization, ZuzProcsFinalization},
    {"ZuzFilters", ZuzFiltersInitialization, ZuzFiltersFinalization},
    {"ZuzChart", ZuzSeriesTypesInitialization, ZuzSeriesTypesFinalization},
    {"ZuzEngine", ZuzEngineInitialization, ZuzEngineFinalization},
    {"ZuzFunci", ZuzFunciInitialization, ZuzFunciFinalization},
    {"Series", RegisterZuzStandardSeries, nullptr},
    {"ArrowCha", ArrowChaInitialization, ArrowChaFinalization},
    {"BubbleCh", BubbleChInitialization, BubbleChFinalization},
    {"GanttCh", GanttChInitialization, GanttChFinalization},
    {"ZuzShape", ZuzShapeInitialization, ZuzShapeFinalization},
    {"ZuzExportFormats", ZuzExportFormatsInitialization, ZuzExportFormatsFinalization},
};

} // namespace

std::span<const TUnitEntry> ZuzChartUnits() {
    return kChartUnits;
}
