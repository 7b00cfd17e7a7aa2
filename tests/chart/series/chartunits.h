#pragma once
// The chart library's units below the editors, started once in the program's order, as the
// tests of charts, series and pictures need them.

#include "chart/series/zuzchartunits.h"
#include "platform/gui/forms.h"
#include "platform/gui/jpeg.h"

inline void StartChartUnits() {
    static bool started = false;
    if (started) return;
    started = true;
    InitFormsUnit();
    JpegInitialization();
    for (const TUnitEntry& unit : ZuzChartUnits())
        if (unit.init) unit.init();
}
