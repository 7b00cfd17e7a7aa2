// JPEG compression of a screen-sized chart picture at quality 95: through the picture
// class (a bitmap assigned to it is compressed), and in the same run libjpeg-turbo's own
// cjpeg on the same pixels written as a PPM file. Both are timed by the wall clock, cjpeg
// with its process start and file reading included. The ratio (picture / cjpeg) is printed last.
#include "bench/benchmain.h"
#include "platform/gui/jpeg.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

// What the graph windows save: a black chart with a grey grid and three coloured lines.
Owned<TBitmap> MakeChart() {
    auto b = MakeOwned<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(kWidth, kHeight);
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetColor(clBlack);
    c->FillRect(TRect(0, 0, kWidth, kHeight));
    c->GetPen()->SetColor(clGray);
    for (int x = 60; x < kWidth; x += 120) {
        c->MoveTo(x, 20);
        c->LineTo(x, kHeight - 40);
    }
    for (int y = 20; y < kHeight - 40; y += 100) {
        c->MoveTo(60, y);
        c->LineTo(kWidth - 20, y);
    }
    const TColor colours[] = {clLime, clYellow, clAqua};
    for (int s = 0; s < 3; ++s) {
        c->GetPen()->SetColor(colours[s]);
        c->GetPen()->SetWidth(2);
        for (int x = 60; x < kWidth - 20; ++x) {
            const int y =
                kHeight / 2 +
                static_cast<int>(std::lround(300 * std::sin(x / (90.0 + 40 * s)) * std::cos(x / 700.0)));
            if (x == 60)
                c->MoveTo(x, y);
            else
                c->LineTo(x, y);
        }
    }
    return b;
}

std::string gPpm; // the chart's pixels as a PPM file

void WritePpm(TBitmap* b, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << kWidth << ' ' << kHeight << "\n255\n";
    std::string row(static_cast<std::size_t>(kWidth) * 3, '\0');
    for (int y = 0; y < kHeight; ++y) {
        const Byte* p = b->ScanLine(y);
        for (int x = 0; x < kWidth; ++x) {
            row[3 * x] = static_cast<char>(p[3 * x + 2]);
            row[3 * x + 1] = static_cast<char>(p[3 * x + 1]);
            row[3 * x + 2] = static_cast<char>(p[3 * x]);
        }
        out.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
}

void PictureCompress(benchmark::State& state) {
    auto chart = MakeChart();
    TJPEGImage picture;
    picture.SetCompressionQuality(95);
    for (auto _ : state) {
        picture.Assign(chart.get());
        benchmark::DoNotOptimize(picture.GetData().data());
    }
    state.counters["bytes"] = static_cast<double>(picture.GetData().size());
}

void CjpegCompress(benchmark::State& state) {
    static const bool written = (WritePpm(MakeChart().get(), gPpm), true); // the units are up by now
    benchmark::DoNotOptimize(written);
    const char* argv[] = {"cjpeg", "-quality", "95", "-outfile", "/dev/null", gPpm.c_str(), nullptr};
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawnp(&pid, "cjpeg", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
            state.SkipWithError("cjpeg is not installed (libjpeg-turbo-progs)");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("cjpeg failed");
            break;
        }
    }
}

void PrintRatio(const std::map<std::string, double>& Times) {
    const auto p = Times.find("PictureCompress"), c = Times.find("CjpegCompress");
    if (p != Times.end() && c != Times.end())
        std::printf("\nRatio (picture / cjpeg), 1920x1080 at quality 95: %.2f\n", p->second / c->second);
}

} // namespace

int main(int argc, char** argv) {
    char dir[] = "/tmp/moltren-jpeg-bench-XXXXXX";
    if (!mkdtemp(dir)) return 1;
    gPpm = std::string(dir) + "/chart.ppm";
    for (auto [name, fn] :
         {std::pair{"PictureCompress", &PictureCompress}, std::pair{"CjpegCompress", &CjpegCompress}})
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);
    MedianTimes reporter;
    const int rc = RunBenchmarks(argc, argv, &reporter, [&] { PrintRatio(reporter.wall); });
    std::remove(gPpm.c_str());
    rmdir(dir);
    return rc;
}
