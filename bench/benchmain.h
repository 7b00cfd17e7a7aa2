#pragma once
// Start-up of a benchmark program that needs the main window: the units as
// the program starts them.

#include "archive/moltren.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

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

// Keeps each benchmark's median time per iteration (or its only run's) by
// function name, on both clocks, for the ratios a program prints at the end.
class MedianTimes : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            const std::string name = r.run_name.function_name;
            if ((r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") ||
                (r.run_type == Run::RT_Iteration && !processor.count(name))) {
                processor[name] = r.GetAdjustedCPUTime();
                wall[name] = r.GetAdjustedRealTime();
            }
        }
    }
    std::map<std::string, double> processor, wall;
};
