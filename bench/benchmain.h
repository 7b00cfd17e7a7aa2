#pragma once
// Start-up of a benchmark program that needs the main window: the units as
// the program starts them.

#include "archive/moltren.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>

// With a reporter, the runs go through it (it keeps the times), and `Report`
// prints from what it kept once they are over (the ratios).
inline int RunBenchmarks(int argc, char** argv, benchmark::BenchmarkReporter* Reporter = nullptr,
                         const std::function<void()>& Report = {}) {
    // The window is never shown: no display is needed.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    InitUnits(ProgramUnits());
    benchmark::Initialize(&argc, argv);
    if (Reporter)
        benchmark::RunSpecifiedBenchmarks(Reporter);
    else
        benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (Report) Report();
    DoneUnits();
    return 0;
}
