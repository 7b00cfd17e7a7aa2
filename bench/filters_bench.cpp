// Image filters on a screen-sized 24-bit bitmap: the blur and a 3x3 convolution (sharpen)
// through the filters, and in the same run a plain loop over QImage scan lines doing the same
// arithmetic (a copy of the rows as they were, nine float weights, the factor, clamping and
// rounding halves to even). The ratios (filter / plain loop) are printed last.
#include "bench/benchmain.h"
#include "chart/canvas/zuzfilters.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

// Some picture: the same pixels for the filter's bitmap and the plain loop's image.
Byte Sample(int x, int y, int channel) {
    return static_cast<Byte>((x * 7 + y * 13 + channel * 85 + (x ^ y)) & 0xFF);
}

Owned<TBitmap> MakeBitmap() {
    auto b = MakeOwned<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        Byte* row = b->ScanLine(y);
        for (int x = 0; x < kWidth; ++x)
            for (int c = 0; c < 3; ++c) row[3 * x + c] = Sample(x, y, c);
    }
    return b;
}

QImage MakeImage() {
    QImage img(kWidth, kHeight, QImage::Format_BGR888);
    for (int y = 0; y < kHeight; ++y) {
        uchar* row = img.scanLine(y);
        for (int x = 0; x < kWidth; ++x)
            for (int c = 0; c < 3; ++c) row[3 * x + c] = Sample(x, y, c);
    }
    return img;
}

// The plain loop: the whole image less its one-pixel border, from a copy of its rows.
void PlainConvolve(QImage& img, const std::array<float, 9>& w, std::vector<uchar>& copy) {
    float sum = 0;
    for (float v : w) sum += v;
    const float f = 1.0f / sum;
    const std::size_t rowBytes = static_cast<std::size_t>(kWidth) * 3;
    copy.resize(rowBytes * kHeight);
    for (int y = 0; y < kHeight; ++y) std::copy_n(img.constScanLine(y), rowBytes, copy.data() + rowBytes * y);
    const int n = (kWidth - 2) * 3;
    for (int y = 1; y < kHeight - 1; ++y) {
        const uchar* up = copy.data() + rowBytes * (y - 1);
        const uchar* mid = up + rowBytes;
        const uchar* down = mid + rowBytes;
        uchar* out = img.scanLine(y) + 3;
        for (int i = 0; i < n; ++i) {
            const float v = w[0] * up[i] + w[1] * up[i + 3] + w[2] * up[i + 6] + w[3] * mid[i] +
                            w[4] * mid[i + 3] + w[5] * mid[i + 6] + w[6] * down[i] + w[7] * down[i + 3] +
                            w[8] * down[i + 6];
            const float c = std::clamp(v * f, 0.0f, 255.0f);
            out[i] = static_cast<uchar>((c + 12582912.0f) - 12582912.0f);
        }
    }
}

constexpr std::array<float, 9> kBlur = {1, 1, 1, 1, 1, 1, 1, 1, 1};
constexpr float e = -0.125f;
constexpr std::array<float, 9> kSharpen = {e, e, e, e, 2.0f, e, e, e, e};

void FilterBlur(benchmark::State& state) {
    auto b = MakeBitmap();
    auto blur = MakeOwned<TBlurFilter>(nullptr);
    for (auto _ : state) {
        blur->Apply(b.get());
        benchmark::DoNotOptimize(b->ScanLine(kHeight / 2)[kWidth]);
    }
}

void PlainBlur(benchmark::State& state) {
    QImage img = MakeImage();
    std::vector<uchar> copy;
    for (auto _ : state) {
        PlainConvolve(img, kBlur, copy);
        benchmark::DoNotOptimize(img.constScanLine(kHeight / 2)[kWidth]);
    }
}

void FilterConvolution(benchmark::State& state) {
    auto b = MakeBitmap();
    auto sharpen = MakeOwned<TSharpenFilter>(nullptr);
    for (auto _ : state) {
        sharpen->Apply(b.get());
        benchmark::DoNotOptimize(b->ScanLine(kHeight / 2)[kWidth]);
    }
}

void PlainConvolution(benchmark::State& state) {
    QImage img = MakeImage();
    std::vector<uchar> copy;
    for (auto _ : state) {
        PlainConvolve(img, kSharpen, copy);
        benchmark::DoNotOptimize(img.constScanLine(kHeight / 2)[kWidth]);
    }
}

// By processor time.
void PrintRatios(const std::map<std::string, double>& Times) {
    std::printf("\nRatios (filter / plain scan-line loop):\n");
    for (const char* what : {"Blur", "Convolution"}) {
        const auto f = Times.find(std::string("Filter") + what), p = Times.find(std::string("Plain") + what);
        if (f != Times.end() && p != Times.end()) std::printf("  %-12s %.2f\n", what, f->second / p->second);
    }
}

} // namespace

int main(int argc, char** argv) {
    for (auto [name, fn] : {std::pair{"FilterBlur", &FilterBlur}, std::pair{"PlainBlur", &PlainBlur},
                            std::pair{"FilterConvolution", &FilterConvolution},
                            std::pair{"PlainConvolution", &PlainConvolution}})
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->Repetitions(5);
    MedianTimes reporter;
    return RunBenchmarks(argc, argv, &reporter, [&] { PrintRatios(reporter.processor); });
}
