// A graph window's chart, 13 series of a year of hourly points, saved with its
// points in the chart's own binary file and loaded back, and its data exported
// as delimited text, each against writing and reading the same doubles with
// fwrite and fread in the same run.
//
// Two saves are measured: into a file stream, which writes as fwrite does, and
// the whole-file save, which builds the file beside the old one, flushes it to
// the disk and renames it over the old one, so that a failed save never costs
// the earlier file; the difference is the price of that guarantee. The ratios
// are processor time (the machine is shared); wall time is printed beside them.
#include "benchmain.h"
#include "chart/engine/chart.h"
#include "chart/series/series.h"
#include "chart/series/zuzstore.h"
#include "platform/core/streams.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <random>
#include <vector>

namespace {

constexpr int kSeries = 13;
constexpr int kPoints = 8760;

struct Clocks {
    std::clock_t processor = std::clock();
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
};

// Seconds since Start on both clocks, added to the totals.
void Add(const Clocks& Start, double& Processor, double& Wall) {
    Processor += static_cast<double>(std::clock() - Start.processor) / CLOCKS_PER_SEC;
    Wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - Start.wall).count();
}

std::filesystem::path ScratchFolder() {
    std::random_device seed;
    auto dir = std::filesystem::temp_directory_path() / ("moltren-zuzstore-bench-" + std::to_string(seed()));
    std::filesystem::create_directories(dir);
    return dir;
}

String Name(const std::filesystem::path& Path) {
    return String(Path.u16string());
}

void ChartFile(benchmark::State& state) {
    std::vector<std::vector<double>> x(kSeries, std::vector<double>(kPoints)), y = x;
    Owned<TChart> chart(Create<TChart>(nullptr));
    for (int s = 0; s < kSeries; ++s) {
        auto* series = Create<TLineSeries>(chart.get());
        series->SetName(u"Series" + String(UTF8ToString(std::to_string(s + 1))));
        chart->AddSeries(series);
        for (int t = 0; t < kPoints; ++t) {
            const auto i = static_cast<std::size_t>(t);
            x[static_cast<std::size_t>(s)][i] = 45000 + t / 24.0;
            y[static_cast<std::size_t>(s)][i] = (t * 37 % 1000) * 0.1 + s;
            series->AddXY(x[static_cast<std::size_t>(s)][i], y[static_cast<std::size_t>(s)][i]);
        }
    }
    Owned<TChart> loaded(Create<TChart>(nullptr));
    TCustomChart* target = loaded.get();
    const std::filesystem::path dir = ScratchFolder();
    const std::filesystem::path raw = dir / "raw.bin", zuz = dir / "chart.zuz", txt = dir / "data.txt";
    std::vector<double> back(kPoints);

    double fwriteP = 0, fwriteW = 0, freadP = 0, freadW = 0, streamP = 0, streamW = 0, fileP = 0, fileW = 0,
           loadP = 0, loadW = 0, textP = 0, textW = 0;
    for (auto _ : state) {
        const Clocks round;
        Clocks c;
        if (std::FILE* f = std::fopen(raw.c_str(), "wb")) {
            for (int s = 0; s < kSeries; ++s) {
                std::fwrite(x[static_cast<std::size_t>(s)].data(), sizeof(double), kPoints, f);
                std::fwrite(y[static_cast<std::size_t>(s)].data(), sizeof(double), kPoints, f);
            }
            std::fclose(f);
        }
        Add(c, fwriteP, fwriteW);

        c = Clocks();
        if (std::FILE* f = std::fopen(raw.c_str(), "rb")) {
            for (int s = 0; s < 2 * kSeries; ++s) {
                benchmark::DoNotOptimize(std::fread(back.data(), sizeof(double), kPoints, f));
                benchmark::ClobberMemory();
            }
            std::fclose(f);
        }
        Add(c, freadP, freadW);

        c = Clocks();
        {
            TFileStream out(Name(zuz), fmCreate);
            SaveChartToStream(chart.get(), &out, true, false);
        }
        Add(c, streamP, streamW);

        c = Clocks();
        SaveChartToFile(chart.get(), Name(zuz), true, false);
        Add(c, fileP, fileW);

        c = Clocks();
        LoadChartFromFile(target, Name(zuz));
        Add(c, loadP, loadW);
        if (target->SeriesCount() != kSeries || target->GetSeries(kSeries - 1)->Count() != kPoints)
            state.SkipWithError("the chart did not load back whole");

        c = Clocks();
        {
            TSeriesDataText text(chart.get());
            TFileStream out(Name(txt), fmCreate);
            text.SaveToStream(&out);
        }
        Add(c, textP, textW);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - round.wall).count());
    }
    // Milliseconds of one round, wall clock, to put the ratios in proportion.
    const double perRound =
        1000.0 / static_cast<double>(std::max<benchmark::IterationCount>(1, state.iterations()));
    state.counters["fwrite_ms"] = fwriteW * perRound;
    state.counters["fread_ms"] = freadW * perRound;
    state.counters["Save_ms"] = streamW * perRound;
    state.counters["Load_ms"] = loadW * perRound;
    state.counters["Text_ms"] = textW * perRound;
    state.counters["Save_ratio"] = streamP / fwriteP;
    state.counters["SaveWhole_ratio"] = fileP / fwriteP;
    state.counters["Load_ratio"] = loadP / freadP;
    state.counters["Text_ratio"] = textP / fwriteP;
    state.counters["Save_wall"] = streamW / fwriteW;
    state.counters["SaveWhole_wall"] = fileW / fwriteW;
    state.counters["Load_wall"] = loadW / freadW;
    state.counters["Text_wall"] = textW / fwriteW;
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}
BENCHMARK(ChartFile)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
