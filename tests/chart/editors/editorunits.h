#pragma once
// The chart library's and the chart editor's units, started once in the program's order, as
// every test of the editors needs them.

#include "chart/editors/zuzeditorunits.h"
#include "chart/series/zuzchartunits.h"
#include "platform/gui/forms.h"
#include "platform/gui/jpeg.h"

inline void StartChartEditorUnits() {
    static bool started = false;
    if (started) return;
    started = true;
    InitFormsUnit();
    JpegInitialization();
    for (const std::span<const TUnitEntry> units : {ZuzChartUnits(), ZuzEditorUnits()})
        for (const TUnitEntry& unit : units)
            if (unit.init) unit.init();
}
