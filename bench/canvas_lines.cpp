// 100,000 one-pixel line segments on a 1920x1080 bitmap: through the canvas
// (our device context and line rasteriser) and, for the ratio, with plain
// QPainter on a QImage.
#include "platform/gui/graphics.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

constexpr int kWidth = 1920, kHeight = 1080, kSegments = 100000;

const std::vector<QLine>& Segments() {
    static const std::vector<QLine> lines = [] {
        std::mt19937 rng(2024);
        std::uniform_int_distribution<int> x(0, kWidth - 1), y(0, kHeight - 1);
        std::vector<QLine> v;
        v.reserve(kSegments);
        for (int i = 0; i < kSegments; ++i) v.emplace_back(x(rng), y(rng), x(rng), y(rng));
        return v;
    }();
    return lines;
}

void CanvasLines(benchmark::State& state) {
    TBitmap bmp;
    bmp.SetSize(kWidth, kHeight);
    TCanvas* c = bmp.GetCanvas();
    const auto& lines = Segments();
    int i = 0;
    for (auto _ : state) {
        c->GetPen()->SetColor(static_cast<TColor>(++i * 0x10101 & 0xFFFFFF));
        for (const QLine& l : lines) {
            c->MoveTo(l.x1(), l.y1());
            c->LineTo(l.x2(), l.y2());
        }
        benchmark::DoNotOptimize(c->GetPixel(0, 0));
    }
    state.SetItemsProcessed(state.iterations() * kSegments);
}
BENCHMARK(CanvasLines)->Unit(benchmark::kMillisecond);

void QPainterLines(benchmark::State& state) {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    const auto& lines = Segments();
    int i = 0;
    for (auto _ : state) {
        p.setPen(QPen(QColor::fromRgb(static_cast<QRgb>(++i * 0x10101 & 0xFFFFFF)), 1));
        for (const QLine& l : lines) p.drawLine(l);
        benchmark::DoNotOptimize(img.constBits()[0]);
    }
    state.SetItemsProcessed(state.iterations() * kSegments);
}
BENCHMARK(QPainterLines)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
