#pragma once
// The chart library's and the chart editor's units, started once in the program's order, as
// every test of the editors needs them.

#include "chart/editors/zuzeditorunits.h"
#include "tests/chart/series/chartunits.h"

inline void StartChartEditorUnits() {
    static bool started = false;
    if (started) return;
    started = true;
    StartChartUnits();
    for (const TUnitEntry& unit : ZuzEditorUnits())
        if (unit.init) unit.init();
}
