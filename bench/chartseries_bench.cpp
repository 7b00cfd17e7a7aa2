// The graph windows' load: 13 series of a year of hourly points added in X
// order, and the same copied with Assign into 13 new series, each against
// appending the same doubles to two vectors per series in the same run.
//
// The allocator keeps its default settings, as in the program: every round
// frees all it made, and the top of the heap may go back to the system between
// rounds, so the figures include the fresh pages the program itself pays for.
#include "benchmain.h"
#include "chart/engine/chartseries.h"

#include <ctime>
#include <vector>

namespace {

constexpr int kSeries = 13;
constexpr int kPoints = 8760;

// Processor time: the machine is shared, and wall time would count other programs.
double Seconds(std::clock_t D) {
    return static_cast<double>(D) / CLOCKS_PER_SEC;
}

void GraphWindowLoad(benchmark::State& state) {
    std::vector<double> x(kPoints), y(kPoints);
    for (int t = 0; t < kPoints; ++t) {
        x[static_cast<std::size_t>(t)] = 45000 + t / 24.0;
        y[static_cast<std::size_t>(t)] = (t * 37 % 1000) * 0.1;
    }
    double vectors = 0, adds = 0, assigns = 0;
    for (auto _ : state) {
        const std::clock_t t0 = std::clock();
        // Each series' two vectors keep their points to the end of the round, as the series do.
        std::vector<std::vector<double>> kept(2 * kSeries);
        for (int s = 0; s < kSeries; ++s) {
            std::vector<double>& vx = kept[static_cast<std::size_t>(2 * s)];
            std::vector<double>& vy = kept[static_cast<std::size_t>(2 * s + 1)];
            for (int t = 0; t < kPoints; ++t) {
                vx.push_back(x[static_cast<std::size_t>(t)]);
                vy.push_back(y[static_cast<std::size_t>(t)]);
            }
            benchmark::DoNotOptimize(vx.data());
            benchmark::DoNotOptimize(vy.data());
        }
        const std::clock_t t1 = std::clock();
        std::vector<Owned<TChartSeries>> series;
        for (int s = 0; s < kSeries; ++s) {
            series.push_back(MakeOwned<TChartSeries>(nullptr));
            for (int t = 0; t < kPoints; ++t)
                series.back()->AddXY(x[static_cast<std::size_t>(t)], y[static_cast<std::size_t>(t)]);
        }
        const std::clock_t t2 = std::clock();
        std::vector<Owned<TChartSeries>> copies;
        for (int s = 0; s < kSeries; ++s) {
            copies.push_back(MakeOwned<TChartSeries>(nullptr));
            copies.back()->Assign(series[static_cast<std::size_t>(s)].get());
        }
        const std::clock_t t3 = std::clock();
        vectors += Seconds(t1 - t0);
        adds += Seconds(t2 - t1);
        assigns += Seconds(t3 - t2);
        state.SetIterationTime(Seconds(t3 - t0));
    }
    state.counters["AddXY_ratio"] = adds / vectors;
    state.counters["Assign_ratio"] = assigns / vectors;
}
BENCHMARK(GraphWindowLoad)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
