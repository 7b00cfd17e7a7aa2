// The series pointer: every style probed pixel by pixel around a point at
// (20, 20) with half-sizes 4, the shadow, transparency and gradient, sizes,
// margins and copying.
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/engine/seriespointer.h"
#include "fakechart.h"
#include "tests/chart/canvas/canvasfixture.h"
#include "tests/chart/canvas/scene3dfixture.h"

#include <gtest/gtest.h>

namespace {

using canvastest::CanvasOn;

class Pointer : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartEngineUnits(); }
    void SetUp() override {
        on = std::make_unique<CanvasOn>(40, 40);
        pointer = std::make_unique<TSeriesPointer>(nullptr);
        on->canvas.Pen->SetColor(clBlack);
        on->canvas.Brush->SetColor(clRed);
        on->canvas.Brush->SetStyle(bsSolid);
    }
    void Draw(TSeriesPointerStyle Style, int H = 4, int V = 4) {
        pointer->DrawPointer(&on->canvas, false, 20, 20, H, V, clRed, Style);
    }
    bool Ink(int X, int Y) { return on->At(X, Y) != clWhite; }
    std::unique_ptr<CanvasOn> on;
    std::unique_ptr<TSeriesPointer> pointer;
};

TEST_F(Pointer, TheDefaultIsANineByNineSquareCentredOnThePoint) {
    EXPECT_EQ(pointer->GetStyle(), psRectangle);
    Draw(pointer->GetStyle(), pointer->GetHorizSize(), pointer->GetVertSize());
    EXPECT_EQ(on->InkBox(), TRect(16, 16, 25, 25));
    EXPECT_EQ(on->At(16, 16), clBlack); // the frame
    EXPECT_EQ(on->At(20, 20), clRed);   // the fill
}

TEST_F(Pointer, AHalfWidthOfOneGivesAThreePixelWideSquare) {
    pointer->SetHorizSize(1);
    Draw(psRectangle, pointer->GetHorizSize(), pointer->GetVertSize());
    EXPECT_EQ(on->InkBox(), TRect(19, 16, 22, 25));
}

TEST_F(Pointer, ASmallDotIsExactlyOnePixelInTheBrushColour) {
    Draw(psSmallDot);
    EXPECT_EQ(on->InkBox(), TRect(20, 20, 21, 21));
    EXPECT_EQ(on->At(20, 20), clRed);
}

TEST_F(Pointer, NothingDrawsNothing) {
    Draw(psNothing);
    EXPECT_EQ(on->InkBox(), TRect());
}

TEST_F(Pointer, ACircleFillsItsBoxWithoutTheCorners) {
    Draw(psCircle);
    EXPECT_EQ(on->InkBox(), TRect(16, 16, 24, 24));
    EXPECT_FALSE(Ink(16, 16));
    EXPECT_EQ(on->At(20, 20), clRed);
}

struct Probe {
    const char* rule;
    TSeriesPointerStyle style;
    std::vector<TPoint> inked, blank;
};

class PointerShape : public Pointer, public ::testing::WithParamInterface<Probe> {};

TEST_P(PointerShape, InksItsCornersAndLeavesTheRestOfTheBox) {
    const Probe& p = GetParam();
    Draw(p.style);
    EXPECT_TRUE(RectangleInRectangle(on->InkBox(), TRect(15, 15, 26, 26))) << "drawn outside the box";
    for (TPoint q : p.inked) EXPECT_TRUE(Ink(q.X, q.Y)) << "blank at " << q.X << "," << q.Y;
    for (TPoint q : p.blank) EXPECT_FALSE(Ink(q.X, q.Y)) << "inked at " << q.X << "," << q.Y;
}

INSTANTIATE_TEST_SUITE_P(
    Styles, PointerShape,
    ::testing::Values(
        Probe{"TriangleStandsOnItsBase", psTriangle, {{16, 24}, {24, 24}, {20, 16}}, {{16, 16}, {24, 16}}},
        Probe{"DownTriangleHangsFromItsBase",
              psDownTriangle,
              {{16, 16}, {24, 16}, {20, 24}},
              {{16, 24}, {24, 24}}},
        Probe{"CrossReachesTheFarEdges",
              psCross,
              {{16, 20}, {24, 20}, {20, 16}, {20, 24}},
              {{17, 17}, {23, 23}}},
        Probe{"DiagonalCrossReachesTheCorners",
              psDiagCross,
              {{16, 16}, {24, 24}, {24, 16}, {16, 24}},
              {{20, 16}, {16, 20}}},
        Probe{"StarIsBothCrosses", psStar, {{16, 16}, {24, 24}, {20, 16}, {16, 20}}, {{18, 16}, {16, 18}}},
        Probe{"DiamondTouchesTheEdgeMiddles",
              psDiamond,
              {{16, 20}, {20, 16}, {24, 20}, {20, 24}},
              {{16, 16}, {24, 24}}},
        Probe{"LeftTrianglePointsLeft", psLeftTriangle, {{16, 20}, {24, 16}, {24, 24}}, {{16, 16}, {16, 24}}},
        Probe{"RightTrianglePointsRight",
              psRightTriangle,
              {{24, 20}, {16, 16}, {16, 24}},
              {{24, 16}, {24, 24}}},
        Probe{"HexagonCutsTheFourCorners",
              psHexagon,
              {{20, 16}, {16, 20}, {24, 20}, {20, 24}},
              {{16, 16}, {24, 16}, {16, 24}, {24, 24}}}),
    [](const auto& info) { return std::string(info.param.rule); });

TEST_F(Pointer, AVisibleShadowFallsOnlyBehindRectanglesCirclesAndHexagons) {
    pointer->GetShadow()->SetVisible(true);
    pointer->GetShadow()->SetSmooth(false);
    pointer->GetShadow()->SetColor(clGray);
    Draw(psRectangle);
    EXPECT_EQ(on->At(26, 26), clGray); // three pixels right and down
    EXPECT_EQ(on->At(20, 20), clRed);
    EXPECT_EQ(on->canvas.Brush->GetColor(), clRed) << "the shadow kept the brush";

    SetUp();
    pointer->GetShadow()->SetVisible(true);
    Draw(psTriangle);
    EXPECT_TRUE(RectangleInRectangle(on->InkBox(), TRect(16, 16, 25, 25)));
}

TEST_F(Pointer, TransparencyLetsTheBackgroundThrough) {
    pointer->SetTransparency(50);
    Draw(psRectangle);
    const auto rgb = on->RgbAt(20, 20);
    EXPECT_EQ(rgb[0], 255);
    EXPECT_GT(rgb[1], 100);
    EXPECT_LT(rgb[1], 155);
    // A wide frame, beyond the box on every side, is seen through all along.
    SetUp();
    pointer->SetTransparency(50);
    on->canvas.Pen->SetWidth(5);
    Draw(psRectangle);
    int opaque = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) opaque += on->At(x, y) == clBlack;
    EXPECT_EQ(opaque, 0);
}

TEST_F(Pointer, AGradientEndsInThePointColourUnlessItKeepsItsOwn) {
    pointer->GetGradient()->SetVisible(true);
    pointer->GetGradient()->SetStartColor(clWhite);
    pointer->GetGradient()->SetEndColor(clBlue);
    pointer->GetGradient()->SetDirection(gdTopBottom);
    // From white, a shade of red keeps its red full and a shade of blue its blue.
    auto shaded = [&](int Shift) {
        for (const int y : {17, 23}) {
            const TColor c = on->At(20, y);
            if (((c >> Shift) & 0xFF) == 0xFF && c != clWhite) return true;
        }
        return false;
    };
    Draw(psRectangle);
    EXPECT_TRUE(shaded(0)) << "the point's red";
    EXPECT_NE(on->At(20, 17), on->At(20, 23)); // shaded from top to bottom
    EXPECT_EQ(pointer->GetGradient()->GetEndColor(), clBlue) << "drawing keeps the stored gradient";

    SetUp();
    pointer->GradientOwnColors = true;
    pointer->GetGradient()->SetVisible(true);
    pointer->GetGradient()->SetEndColor(clBlue);
    Draw(psRectangle);
    EXPECT_TRUE(shaded(16)) << "its own blue";
    EXPECT_EQ(pointer->GetGradient()->GetEndColor(), clBlue);
    // The gradient fills inside the frame, which stays whole on every side.
    for (const TPoint edge : {TPoint(20, 16), TPoint(16, 20), TPoint(20, 24), TPoint(24, 20)})
        EXPECT_EQ(on->At(edge.X, edge.Y), clBlack) << edge.X << "," << edge.Y;
}

TEST_F(Pointer, SizesBelowOneAreRefusedAndTheOldSizeKept) {
    for (int bad : {0, -3}) {
        EXPECT_THROW(pointer->SetHorizSize(bad), ChartException);
        EXPECT_THROW(pointer->SetVertSize(bad), ChartException);
    }
    try {
        pointer->SetSize(0);
    } catch (const ChartException& e) {
        EXPECT_EQ(e.Message(), u"Pointer size must be greater than zero");
    }
    EXPECT_EQ(pointer->GetHorizSize(), 4);
    EXPECT_EQ(pointer->GetVertSize(), 4);
    pointer->SetHorizSize(6);
    EXPECT_EQ(pointer->GetSize(), 6);
    // A file's size beyond the largest an editor offers is held there.
    pointer->SetHorizSize(2147483647);
    pointer->SetVertSize(kLargestPointerSize + 1);
    EXPECT_EQ(pointer->GetHorizSize(), kLargestPointerSize);
    EXPECT_EQ(pointer->GetVertSize(), kLargestPointerSize);
}

TEST_F(Pointer, MarginsLeaveRoomOnlyForAVisibleInflatingPointer) {
    int a = 0, b = 9;
    pointer->CalcHorizMargins(a, b);
    EXPECT_EQ(a, 5);
    EXPECT_EQ(b, 9);
    pointer->SetVertSize(2);
    a = b = 0;
    pointer->CalcVerticalMargins(a, b);
    EXPECT_EQ(a, 3);
    pointer->SetInflateMargins(false);
    a = b = 0;
    pointer->CalcHorizMargins(a, b);
    EXPECT_EQ(a, 0);
    pointer->SetInflateMargins(true);
    pointer->SetVisible(false);
    pointer->CalcHorizMargins(a, b);
    EXPECT_EQ(a, 0);
}

TEST_F(Pointer, PrepareTakesThePointColourWhereThePointerHasNone) {
    pointer->GetPen()->SetColor(clDefault);
    pointer->GetBrush()->SetColor(clDefault);
    pointer->PrepareCanvas(&on->canvas, clGreen);
    EXPECT_EQ(on->canvas.Brush->GetColor(), clGreen);
    EXPECT_EQ(on->canvas.Pen->GetColor(), clGreen);
    pointer->GetPen()->SetVisible(false);
    pointer->PrepareCanvas(&on->canvas, clGreen);
    EXPECT_EQ(on->canvas.Pen->GetStyle(), psClear);
    // A pattern is drawn in that colour over what lies beneath, as a bar's is.
    pointer->GetBrush()->SetStyle(bsDiagCross);
    pointer->PrepareCanvas(&on->canvas, clGreen);
    Draw(psRectangle);
    int green = 0, white = 0, other = 0;
    for (int y = 17; y < 24; ++y)
        for (int x = 17; x < 24; ++x)
            ++(on->At(x, y) == clGreen ? green : on->At(x, y) == clWhite ? white : other);
    EXPECT_GT(green, 5);
    EXPECT_GT(white, 5);
    EXPECT_EQ(other, 0);
    // Prepared and drawn by a program, it takes its series' colour.
    auto chart = MakeOwned<TFakeChart>(nullptr);
    chart->Canvas = &on->canvas;
    auto* s = Create<TChartSeries>(chart.get());
    s->SetParentChart(chart.get());
    s->SetSeriesColor(clBlue);
    TSeriesPointer own(s);
    own.GetBrush()->SetColor(clDefault);
    own.Prepare();
    own.Draw(30, 30);
    EXPECT_EQ(on->At(30, 30), clBlue);
}

TEST_F(Pointer, AssignCopiesTheLookAndChangesRepaintTheChart) {
    auto chart = MakeOwned<TFakeChart>(nullptr);
    auto* s = Create<TChartSeries>(chart.get());
    s->SetParentChart(chart.get());
    TSeriesPointer a(s), b(s);
    const int before = chart->Repaints;
    a.SetStyle(psDiamond);
    a.SetHorizSize(7);
    a.SetTransparency(30);
    a.SetDraw3D(false);
    EXPECT_EQ(chart->Repaints, before + 4);
    a.SetStyle(psDiamond);
    EXPECT_EQ(chart->Repaints, before + 4);
    b.Assign(&a);
    const int assigned = chart->Repaints;
    EXPECT_EQ(b.GetStyle(), psDiamond);
    EXPECT_EQ(b.GetHorizSize(), 7);
    EXPECT_EQ(b.GetTransparency(), 30);
    EXPECT_FALSE(b.GetDraw3D());
    b.ChangeStyle(psCircle);
    EXPECT_EQ(chart->Repaints, assigned);
}

} // namespace

// In 3D the symbol stands at its series's depth: (X, Y, Z) lands on (X + Z, Y - Z).
class Pointer3D : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartEngineUnits(); }
    void SetUp() override {
        series = MakeOwned<TChartSeries>(nullptr);
        series->StartZ = 10;
        series->MiddleZ = 15;
        series->EndZ = 20;
        pointer = std::make_unique<TSeriesPointer>(series.get());
        scene.canvas.Pen->SetStyle(psClear);
    }
    void Draw(TSeriesPointerStyle Style) {
        scene.canvas.shapes.clear();
        pointer->DrawPointer(&scene.canvas, true, 50, 60, 4, 4, clRed, Style);
    }
    scene3d::Scene scene;
    Owned<TChartSeries> series;
    std::unique_ptr<TSeriesPointer> pointer;
};

TEST_F(Pointer3D, AFlatSquareStandsAtTheSeriesStartDepth) {
    pointer->SetDraw3D(false);
    Draw(psRectangle);
    EXPECT_TRUE(scene.Inked(60, 50));
    EXPECT_FALSE(scene.Inked(50, 60));
    EXPECT_FALSE(scene.Inked(66, 44));
}

TEST_F(Pointer3D, SolidsReachFromTheStartToTheEndDepth) {
    Draw(psRectangle);
    EXPECT_GE(scene.canvas.Polygons().size(), 2u) << "a cube shows more than its front";
    EXPECT_TRUE(scene.Inked(60, 50));
    EXPECT_TRUE(scene.Inked(69, 41)) << "the back corner at the end depth";
    Draw(psTriangle);
    EXPECT_GE(scene.canvas.Polygons().size(), 2u) << "a pyramid";
    pointer->SetDraw3D(false);
    Draw(psTriangle);
    EXPECT_EQ(scene.canvas.Polygons().size(), 1u);
}

TEST_F(Pointer3D, ASquaresShadowFallsBesideItAtItsDepth) {
    pointer->SetDraw3D(false);
    pointer->GetShadow()->SetVisible(true);
    for (const bool smooth : {false, true}) {
        scene.canvas.shapes.clear();
        pointer->GetShadow()->SetSmooth(smooth);
        Draw(psRectangle);
        EXPECT_TRUE(scene.Inked(62, 57)) << "below the square at the series depth, smooth " << smooth;
        EXPECT_FALSE(scene.Inked(52, 67)) << "where the square would stand at the front, smooth " << smooth;
    }
}

TEST_F(Pointer3D, ASmallDotSitsAtTheMiddleDepth) {
    scene.canvas.Brush->SetColor(clRed);
    Draw(psSmallDot);
    EXPECT_EQ(scene.InkCount(), 1);
    EXPECT_TRUE(scene.Inked(65, 45));
}
