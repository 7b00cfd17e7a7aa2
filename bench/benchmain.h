#pragma once
// Start-up of a benchmark program that needs the main window: the units, the
// forms unit and the form resources, as the program starts them.

#include "moltren_resources.h"
#include "platform/core/units.h"
#include "platform/gui/forms.h"
#include "serial/comportctrls.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

inline int RunBenchmarks(int argc, char** argv) {
    // The window is never shown: no display is needed.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    InitUnits();
    InitFormsUnit();
    RegisterComPortClasses();
    RegisterMoltrenResources();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DoneFormsUnit();
    DoneUnits();
    return 0;
}
