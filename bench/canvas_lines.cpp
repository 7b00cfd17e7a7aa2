// Lines at chart scale: 13 series of 8,760 points (a year of hourly values)
// as random walks across 1280x800, at widths 1 and 2, through the chart
// canvas (LineTo and Polyline, on a bitmap and on a control's canvas) and, in
// the same run, two QPainter baselines: a clipped RGB32 image with the same
// integer points, and an ARGB32 premultiplied image with QPointF ends (what
// chart targets use). The ratios against both baselines are printed last.
#include "bench/benchmain.h"
#include "chart/canvas/zuzcanvas.h"
#include "platform/gui/extctrls.h"

#include <QImage>
#include <QPainter>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1280, kHeight = 800, kSeries = 13, kPoints = 8760;

using Series = std::vector<TPoint>;

const std::vector<Series>& Walks() {
    static const std::vector<Series> walks = [] {
        std::mt19937 rng(2024);
        std::uniform_int_distribution<int> start(100, kHeight - 100), step(-6, 6);
        std::vector<Series> all(kSeries);
        for (Series& s : all) {
            int y = start(rng);
            s.reserve(kPoints);
            for (int i = 0; i < kPoints; ++i) {
                y += step(rng);
                if (y < 0) y = -y;
                if (y >= kHeight) y = 2 * (kHeight - 1) - y;
                s.emplace_back(static_cast<int>(static_cast<long long>(i) * (kWidth - 1) / (kPoints - 1)), y);
            }
        }
        return all;
    }();
    return walks;
}

TColor SeriesColor(int s) {
    static constexpr TColor colors[] = {clRed,  clGreen, clBlue,    clMaroon, clNavy, clOlive, clPurple,
                                        clTeal, clGray,  clFuchsia, clLime,   clAqua, clBlack};
    return colors[s % 13];
}

constexpr std::int64_t kSegments = static_cast<std::int64_t>(kSeries) * (kPoints - 1);

// The chart canvas drawing straight onto the target, as a graph window's
// series do: the series pen set, then its points joined.
void DrawWalks(TZuzCanvas3D& canvas, int width, bool polyline) {
    TChartPen pen;
    pen.SetWidth(width);
    const auto& walks = Walks();
    for (int s = 0; s < kSeries; ++s) {
        pen.SetColor(SeriesColor(s));
        canvas.AssignVisiblePen(&pen);
        const Series& w = walks[static_cast<std::size_t>(s)];
        if (polyline) {
            canvas.Polyline(w.data(), kPoints - 1);
        } else {
            canvas.MoveTo(w[0].X, w[0].Y);
            for (int i = 1; i < kPoints; ++i)
                canvas.LineTo(w[static_cast<std::size_t>(i)].X, w[static_cast<std::size_t>(i)].Y);
        }
    }
}

void CanvasOnBitmap(benchmark::State& state, int width, bool polyline) {
    TBitmap bmp;
    bmp.SetSize(kWidth, kHeight);
    TZuzCanvas3D canvas;
    canvas.SetUseBuffer(false);
    canvas.InitWindow(bmp.GetCanvas(), nullptr, clWhite, false, TRect(0, 0, kWidth, kHeight));
    for (auto _ : state) {
        DrawWalks(canvas, width, polyline);
        benchmark::DoNotOptimize(bmp.GetCanvas()->GetPixel(0, 0));
    }
    state.SetItemsProcessed(state.iterations() * kSegments);
}

void CanvasOnControl(benchmark::State& state, int width, bool polyline) {
    const Owned<TPaintBox> box{Create<TPaintBox>(nullptr)};
    box->SetBounds(0, 0, kWidth, kHeight);
    TZuzCanvas3D canvas;
    canvas.SetUseBuffer(false);
    canvas.InitWindow(box->GetCanvas(), nullptr, clWhite, false, TRect(0, 0, kWidth, kHeight));
    for (auto _ : state) {
        DrawWalks(canvas, width, polyline);
        benchmark::DoNotOptimize(box->GetCanvas()->GetPixel(0, 0));
    }
    state.SetItemsProcessed(state.iterations() * kSegments);
}

// One drawLine per segment on an image of the given format: the clipped RGB32
// baseline joins the integer points with the clip set to the image (with no clip
// every pixel takes the painter's generic path), the premultiplied ARGB32 one
// joins QPointF ends as chart targets do.
template <class Point>
void QPainterLines(benchmark::State& state, QImage::Format format, bool clipped, int width) {
    QImage img(kWidth, kHeight, format);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (clipped) p.setClipRect(img.rect());
    const auto& walks = Walks();
    for (auto _ : state) {
        for (int s = 0; s < kSeries; ++s) {
            p.setPen(QPen(QColor::fromRgb(static_cast<QRgb>(SeriesColor(s))), width));
            const Series& w = walks[static_cast<std::size_t>(s)];
            for (std::size_t i = 1; i < w.size(); ++i)
                p.drawLine(Point(w[i - 1].X, w[i - 1].Y), Point(w[i].X, w[i].Y));
        }
        benchmark::DoNotOptimize(img.constBits()[0]);
    }
    state.SetItemsProcessed(state.iterations() * kSegments);
}

// By processor time: steadier than wall time on a shared machine.
void PrintRatios(const std::map<std::string, double>& times) {
    std::printf("\nRatios (processor time / baseline processor time):\n");
    for (int width : {1, 2}) {
        const std::string w = "/w" + std::to_string(width);
        const auto clipped = times.find("QPainterClippedRGB32" + w);
        const auto premul = times.find("QPainterARGB32PremultipliedQPointF" + w);
        if (clipped == times.end() || premul == times.end()) continue;
        for (const char* name :
             {"CanvasBitmapLineTo", "CanvasBitmapPolyline", "CanvasControlLineTo", "CanvasControlPolyline"}) {
            const auto it = times.find(name + w);
            if (it == times.end()) continue;
            std::printf(
                "  %-24s width %d: %.2fx clipped RGB32 QPainter, %.2fx ARGB32 premultiplied QPointF\n", name,
                width, it->second / clipped->second, it->second / premul->second);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    for (int width : {1, 2}) {
        const std::string w = "/w" + std::to_string(width);
        auto reg = [&](const std::string& name, auto fn) {
            benchmark::RegisterBenchmark((name + w).c_str(), fn)
                ->Unit(benchmark::kMillisecond)
                ->Repetitions(5);
        };
        reg("QPainterClippedRGB32",
            [width](benchmark::State& s) { QPainterLines<QPoint>(s, QImage::Format_RGB32, true, width); });
        reg("QPainterARGB32PremultipliedQPointF", [width](benchmark::State& s) {
            QPainterLines<QPointF>(s, QImage::Format_ARGB32_Premultiplied, false, width);
        });
        reg("CanvasBitmapLineTo", [width](benchmark::State& s) { CanvasOnBitmap(s, width, false); });
        reg("CanvasBitmapPolyline", [width](benchmark::State& s) { CanvasOnBitmap(s, width, true); });
        reg("CanvasControlLineTo", [width](benchmark::State& s) { CanvasOnControl(s, width, false); });
        reg("CanvasControlPolyline", [width](benchmark::State& s) { CanvasOnControl(s, width, true); });
    }
    MedianTimes reporter;
    return RunBenchmarks(argc, argv, &reporter, [&] { PrintRatios(reporter.processor); });
}
