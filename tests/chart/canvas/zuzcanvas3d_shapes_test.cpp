// The canvas's 2D shapes given by angles, and the darkened and brightened colours of 3D sides.
#include "chart/canvas/zuzcanvas.h"

#include "tests/chart/canvas/canvasfixture.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace canvastest;

namespace {

constexpr TColor kRed = static_cast<TColor>(0x0000FF);

} // namespace

TEST(Shapes, AnArcByAnglesRunsCounterClockwiseFromItsStartAngle) {
    CanvasOn c(110, 60);
    c.canvas.Pen->SetColor(clBlack);
    c.canvas.Arc(0, 0, 100, 50, 0.0, 90.0);
    // From (100, 25) to (50, 0): the upper right quarter only.
    const TRect box = c.InkBox();
    EXPECT_GE(box.Left, 49);
    EXPECT_LE(box.Bottom, 27);
    EXPECT_GE(box.Right, 98);
    EXPECT_LE(box.Top, 1);
}

TEST(Shapes, DonutsHaveHolesUnlessTheirEndsMeet) {
    CanvasOn c(100, 100);
    c.canvas.Brush->SetColor(kRed);
    c.canvas.Pen->SetColor(clBlack);
    const double pi = std::numbers::pi;
    c.canvas.Donut(50, 50, 40, 40, 0, pi / 2, 50);
    EXPECT_EQ(c.At(71, 29), kRed);    // in the ring, half way round the quarter
    EXPECT_EQ(c.At(68, 32), kRed);    // in the ring on the centre side of the chord between its ends
    EXPECT_EQ(c.At(56, 44), clWhite); // in the hole
    EXPECT_EQ(c.At(30, 70), clWhite); // another quarter
    CanvasOn full(100, 100);
    full.canvas.Brush->SetColor(kRed);
    full.canvas.Donut(50, 50, 40, 40, 0, 2 * pi, 50); // the inner ends coincide: no hole
    EXPECT_EQ(full.At(50, 50), kRed);
}

TEST(Shapes, DarkAndBrightColours) {
    EXPECT_EQ(ApplyDark(clWhite, 64), static_cast<TColor>(RGB(191, 191, 191)));
    EXPECT_EQ(ApplyDark(static_cast<TColor>(RGB(50, 100, 200)), 64), static_cast<TColor>(RGB(0, 36, 136)));
    EXPECT_EQ(ApplyBright(static_cast<TColor>(RGB(200, 100, 0)), 64), static_cast<TColor>(RGB(255, 164, 64)));
    CanvasOn c(10, 10);
    c.canvas.Brush->SetStyle(bsSolid);
    c.canvas.InternalDark(clWhite, 64);
    EXPECT_EQ(c.canvas.Brush->GetColor(), static_cast<TColor>(RGB(191, 191, 191)));
    c.canvas.Brush->SetStyle(bsCross);
    c.canvas.InternalDark(clWhite, 128);
    EXPECT_EQ(c.canvas.GetBackColor(), static_cast<TColor>(RGB(127, 127, 127)));
}
