#pragma once
// Start-up of a benchmark program that needs the main window: the units as
// the program starts them.

#include "archive/moltren.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

inline int RunBenchmarks(int argc, char** argv) {
    // The window is never shown: no display is needed.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    InitUnits(ProgramUnits());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DoneUnits();
    return 0;
}
