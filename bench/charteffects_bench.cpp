// Chart effects at screen size, through the chart canvas and, in the same run, drawn with
// plain QPainter: a 1920x1080 linear gradient, the same size radial gradient, and 1,000 text
// labels with a drop shadow. The ratios (canvas / QPainter) are printed last, by processor and
// by wall time: Qt fills large gradients on helper threads, which the processor time of the
// calling thread leaves out.
#include "bench/benchmain.h"
#include "chart/canvas/zuzfont.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzshadow.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int kWidth = 1920, kHeight = 1080, kLabels = 1000;
constexpr TColor kStart = static_cast<TColor>(0xF0E0C0), kEnd = static_cast<TColor>(0x603010);

QColor Q(TColor c) {
    const auto v = static_cast<COLORREF>(c);
    return QColor(GetRValue(v), GetGValue(v), GetBValue(v));
}

String Label(int i) {
    return IntToStr(1 + i % 28) + u".05.2026 " + IntToStr(i % 24) + u":00";
}

TPoint LabelAt(int i) {
    return {(i % 10) * 190 + 5, (i / 10) * 10 + 5};
}

// A chart canvas drawing straight onto a screen-sized bitmap.
struct Canvas {
    TBitmap bitmap;
    TZuzCanvas3D canvas;
    Canvas() {
        bitmap.SetSize(kWidth, kHeight);
        canvas.SetUseBuffer(false);
        canvas.InitWindow(bitmap.GetCanvas(), nullptr, clWhite, false, TRect(0, 0, kWidth, kHeight));
    }
};

void CanvasLinear(benchmark::State& state) {
    Canvas c;
    for (auto _ : state) {
        c.canvas.GradientFill(TRect(0, 0, kWidth, kHeight), kStart, kEnd, gdTopBottom, 50, 0, 0);
        benchmark::DoNotOptimize(c.canvas.GetPixel(0, 0));
    }
}

void QPainterLinear(benchmark::State& state) {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&img);
        QLinearGradient g(0, kHeight, 0, 0);
        g.setColorAt(0, Q(kStart));
        g.setColorAt(1, Q(kEnd));
        p.fillRect(img.rect(), g);
        p.end();
        benchmark::DoNotOptimize(img.constBits()[0]);
    }
}

void CanvasRadial(benchmark::State& state) {
    Canvas c;
    TZuzGradient g;
    g.SetDirection(gdRadial);
    g.SetStartColor(kStart);
    g.SetEndColor(kEnd);
    for (auto _ : state) {
        g.Draw(&c.canvas, TRect(0, 0, kWidth, kHeight));
        benchmark::DoNotOptimize(c.canvas.GetPixel(0, 0));
    }
}

void QPainterRadial(benchmark::State& state) {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&img);
        QRadialGradient g(QPointF(kWidth / 2.0, kHeight / 2.0), kWidth / 2.0,
                          QPointF(kWidth / 2.0, kHeight / 2.0));
        g.setColorAt(0, Q(kStart));
        g.setColorAt(1, Q(kEnd));
        p.fillRect(img.rect(), g);
        p.end();
        benchmark::DoNotOptimize(img.constBits()[0]);
    }
}

void CanvasShadowedLabels(benchmark::State& state) {
    Canvas c;
    TZuzFont font;
    font.GetShadow()->SetSize(2);
    font.GetShadow()->SetColor(clGray);
    c.canvas.AssignFont(&font);
    c.canvas.Brush->SetStyle(bsClear);
    for (auto _ : state) {
        for (int i = 0; i < kLabels; ++i) {
            const TPoint p = LabelAt(i);
            c.canvas.TextOut(p.X, p.Y, Label(i));
        }
        benchmark::DoNotOptimize(c.canvas.GetPixel(0, 0));
    }
}

void QPainterShadowedLabels(benchmark::State& state) {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11); // 8 points at 96 dots per inch
    for (auto _ : state) {
        QPainter p(&img);
        p.setFont(font);
        const int ascent = QFontMetrics(font).ascent();
        for (int i = 0; i < kLabels; ++i) {
            const TPoint at = LabelAt(i);
            const String label = Label(i);
            const QString text = QString::fromUtf16(label.data(), static_cast<qsizetype>(label.size()));
            p.setPen(Q(clGray));
            p.drawText(at.X + 2, at.Y + 2 + ascent, text);
            p.setPen(Qt::black);
            p.drawText(at.X, at.Y + ascent, text);
        }
        p.end();
        benchmark::DoNotOptimize(img.constBits()[0]);
    }
}

// Both clocks: QPainter may fill on helper threads that its processor time does not count.
void PrintRatios(const MedianTimes& Times) {
    std::printf("\nRatios (canvas / plain QPainter):\n");
    const auto& cpu = Times.processor;
    const auto& wall = Times.wall;
    for (const char* what : {"Linear", "Radial", "ShadowedLabels"}) {
        const std::string c = std::string("Canvas") + what, q = std::string("QPainter") + what;
        if (cpu.count(c) && cpu.count(q))
            std::printf("  %-16s %.2f by processor time, %.2f by wall time\n", what, cpu.at(c) / cpu.at(q),
                        wall.at(c) / wall.at(q));
    }
}

} // namespace

int main(int argc, char** argv) {
    for (auto [name, fn] :
         {std::pair{"CanvasLinear", &CanvasLinear}, std::pair{"QPainterLinear", &QPainterLinear},
          std::pair{"CanvasRadial", &CanvasRadial}, std::pair{"QPainterRadial", &QPainterRadial},
          std::pair{"CanvasShadowedLabels", &CanvasShadowedLabels},
          std::pair{"QPainterShadowedLabels", &QPainterShadowedLabels}})
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->Repetitions(5);
    MedianTimes reporter;
    return RunBenchmarks(argc, argv, &reporter, [&] { PrintRatios(reporter); });
}
