// Bar series: how several bar series share a category (side, stacked, stacked
// to 100 %, self-stacked), the bar size, origins and ranges, every bar style
// by pixel probes in 2D and 3D, and which point a click hits.
#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/engine/chartlegend.h"
#include "chart/series/series.h"
#include "chart/series/series_bar.h"
#include "platform/gui/jpeg.h"
#include "seriesfixture.h"

#include <cmath>
#include <vector>

namespace {

class BarTest : public SeriesTest {
protected:
    // The category axis at fixed 0..3 and the value axis at fixed 0..100, so
    // that the rectangles below follow from the axis pixels alone.
    void FixAxes(double XMin = -0.5, double XMax = 3.5, double YMin = 0, double YMax = 100) {
        Bottom()->SetMinMax(XMin, XMax);
        Left()->SetMinMax(YMin, YMax);
    }
    int X(double V) { return Bottom()->CalcXPosValue(V); }
    int Y(double V) { return Left()->CalcYPosValue(V); }
    static TRect Bounds(TCustomBarSeries* S, int I) {
        TRect r;
        S->CalcBarBounds(I, r);
        return r;
    }
    bool IsColor(int X, int Y, TColor C) { return Pixel(X, Y) == Rgb(C); }
};

} // namespace

// ---------------------------------------------------------------------------
// Sharing a category

TEST_F(BarTest, SideBySideSeriesCountSlotsAndOrderSkippingInactiveOnes) {
    auto* a = AddSeries<TBarSeries>({1, 2, 3});
    auto* hidden = AddSeries<TBarSeries>({1, 2, 3});
    auto* b = AddSeries<TBarSeries>({1, 2, 3});
    auto* c = AddSeries<TBarSeries>({1, 2, 3, 4, 5});
    hidden->SetActive(false);
    Draw();
    EXPECT_EQ(a->BarSlots, 3);
    EXPECT_EQ(a->BarOrder, 1);
    EXPECT_EQ(b->BarOrder, 2);
    EXPECT_EQ(c->BarOrder, 3);
    // The longest series plus one for the side margins.
    EXPECT_EQ(a->MaxBarPoints, 6);
}

// A page of two points draws those two bars of each series, not the bars of the pages beside
// it that the room kept for the bars' width takes in.
TEST_F(BarTest, APageDrawsTheBarsOfItsOwnPointsOnly) {
    auto* a = AddSeries<TBarSeries>({10, 20, 30, 40, 50, 60});
    auto* b = AddSeries<TBarSeries>({15, 25, 35, 45, 55, 65});
    chart->SetMaxPointsPerPage(2);
    for (const int page : {1, 2, 3}) {
        chart->SetPage(page);
        Draw();
        for (TCustomBarSeries* s : {a, b}) {
            EXPECT_EQ(s->FirstValueIndex, 2 * (page - 1)) << page;
            EXPECT_EQ(s->LastValueIndex, 2 * page - 1) << page;
        }
    }
}

TEST_F(BarTest, ALoneSideBarIsSeventyPercentOfItsSlotMadeEven) {
    auto* s = AddSeries<TBarSeries>({10, 20, 30, 40});
    Draw();
    ASSERT_TRUE(Bottom()->GetAutomatic());
    const int slot = Bottom()->IAxisSize / 5;
    int expected = static_cast<int>(Round(0.70 * slot));
    if (expected % 2) ++expected;
    EXPECT_EQ(s->BarSlots, 1);
    EXPECT_EQ(s->BarOrder, 1);
    EXPECT_EQ(s->CurrentBarSize, expected);
    EXPECT_EQ(s->CurrentBarSize % 2, 0);
}

TEST_F(BarTest, ACustomBarWidthIsTakenAsItIsWithoutEvening) {
    auto* s = AddSeries<TBarSeries>({10, 20});
    s->SetCustomBarWidth(13);
    Draw();
    EXPECT_EQ(s->CurrentBarSize, 13);
    s->SetCustomBarWidth(2147483647);
    EXPECT_EQ(s->GetCustomBarWidth(), kLargestPictureSide);
}

TEST_F(BarTest, ZeroBarSlotsCountAsOneInsteadOfDividingByZero) {
    // Margins asked for before any draw laid out the slots.
    auto* s = AddSeries<TBarSeries>({10, 20});
    s->MaxBarPoints = 2;
    ASSERT_EQ(s->BarSlots, 0);
    Bottom()->IAxisSize = 200;
    int m1 = 0, m2 = 0;
    s->InternalApplyBarMargin(m1, m2);
    EXPECT_EQ(s->CurrentBarSize, 70);
    EXPECT_EQ(m1, 70);
    EXPECT_EQ(s->BarMargin(), 70);
}

TEST_F(BarTest, SideMarginsGiveAWholeGroupOfMarginAtEachEndAndWithoutThemHalf) {
    auto* a = AddSeries<TBarSeries>({1, 2});
    AddSeries<TBarSeries>({1, 2});
    Draw();
    EXPECT_EQ(a->BarMargin(), a->CurrentBarSize * 2);
    a->SetSideMargins(false);
    Draw();
    EXPECT_EQ(a->BarMargin(), a->CurrentBarSize);
}

TEST_F(BarTest, SideBySideRectanglesStandInOrderAroundTheCategory) {
    auto* a = AddSeries<TBarSeries>({40, 50, 60, 70}, clRed);
    auto* b = AddSeries<TBarSeries>({20, 30, 80, 90}, clBlue);
    FixAxes();
    Draw();
    const int size = a->CurrentBarSize;
    ASSERT_GT(size, 4);
    for (int i = 0; i < 4; ++i) {
        // Slots of two: the first bar ends where the category's centre is.
        const TRect ra = Bounds(a, i), rb = Bounds(b, i);
        EXPECT_EQ(ra.Left, X(i) - size) << i;
        EXPECT_EQ(rb.Left, X(i)) << i;
        EXPECT_EQ(ra.Right, ra.Left + size + 1) << i;
        EXPECT_EQ(ra.Top, Y(a->YValue(i))) << i;
        EXPECT_EQ(ra.Bottom, Y(0)) << i;
        // Pixel probes inside each bar and just above them.
        EXPECT_TRUE(IsColor(ra.Left + size / 2, (ra.Top + ra.Bottom) / 2, clRed)) << i;
        EXPECT_TRUE(IsColor(rb.Left + size / 2, (rb.Top + rb.Bottom) / 2, clBlue)) << i;
        EXPECT_FALSE(IsColor(ra.Left + size / 2, ra.Top - 3, clRed)) << i;
    }
    SavePicture("bar-side.png");
}

TEST_F(BarTest, StackedBarsStandOnTheEarlierSeriesAndNegativesOnNegatives) {
    auto* a = AddSeries<TBarSeries>({30, -20, 10}, clRed);
    auto* b = AddSeries<TBarSeries>({40, -30, 25}, clBlue);
    a->SetMultiBar(mbStacked);
    EXPECT_EQ(b->GetMultiBar(), mbStacked); // shared with the chart's other bars
    FixAxes(-0.5, 2.5, -60, 80);
    Draw();
    EXPECT_EQ(a->BarSlots, 1);
    EXPECT_EQ(b->BarOrder, 1);
    EXPECT_DOUBLE_EQ(b->PointOrigin(0, false), 30);
    EXPECT_DOUBLE_EQ(b->PointOrigin(1, false), -20);
    EXPECT_EQ(Bounds(b, 0).Bottom, Y(30));
    EXPECT_EQ(Bounds(b, 0).Top, Y(70));
    EXPECT_EQ(Bounds(b, 1).Bottom, Y(-20));
    EXPECT_EQ(Bounds(b, 1).Top, Y(-50));
    // Both series of a category share one column.
    EXPECT_EQ(Bounds(a, 2).Left, Bounds(b, 2).Left);
    EXPECT_DOUBLE_EQ(b->MaxYValue(), 70);
    EXPECT_DOUBLE_EQ(b->MinYValue(), -50);
    const TRect r = Bounds(b, 0);
    EXPECT_TRUE(IsColor((r.Left + r.Right) / 2, Y(50), clBlue));
    EXPECT_TRUE(IsColor((r.Left + r.Right) / 2, Y(15), clRed));
    // The marks of the lower series stand on the bars stacked on it, not under them.
    a->GetMarks()->SetVisible(true);
    Draw();
    SavePicture("bar-stacked.png");
    const probe::Rgb mark = Pixel((r.Left + r.Right) / 2, Bounds(a, 0).Top - 24);
    EXPECT_NE(mark, Rgb(clBlue));
    EXPECT_NE(mark, Rgb(clWhite));
}

TEST_F(BarTest, StackGroupsFormSideBySideStacksOrderedByTheirGroup) {
    auto* a = AddSeries<TBarSeries>({10, 20});
    auto* b = AddSeries<TBarSeries>({10, 20});
    auto* c = AddSeries<TBarSeries>({10, 20});
    a->SetMultiBar(mbStacked);
    a->SetStackGroup(5);
    b->SetStackGroup(7);
    c->SetStackGroup(5);
    Draw();
    EXPECT_EQ(a->BarSlots, 2);
    EXPECT_EQ(a->BarOrder, 1);
    EXPECT_EQ(b->BarOrder, 2);
    EXPECT_EQ(c->BarOrder, 1);
    EXPECT_DOUBLE_EQ(c->PointOrigin(1, false), 20); // only a's 20, not b's
}

TEST_F(BarTest, StackedTo100PercentEndsAtTheTopAndAllZeroStaysAtZero) {
    auto* a = AddSeries<TBarSeries>({25, 0}, clRed);
    auto* b = AddSeries<TBarSeries>({75, 0}, clBlue);
    a->SetMultiBar(mbStacked100);
    Draw();
    EXPECT_DOUBLE_EQ(a->MaxYValue(), 100);
    EXPECT_DOUBLE_EQ(a->MinYValue(), 0);
    EXPECT_EQ(Bounds(a, 0).Top, Y(25));
    EXPECT_EQ(Bounds(b, 0).Bottom, Y(25));
    EXPECT_EQ(Bounds(b, 0).Top, Y(100));
    // A category of zeros starts and ends at pixel 0.
    EXPECT_EQ(b->GetOriginPos(1), 0);
    EXPECT_EQ(b->CalcYPos(1), 0);
    SavePicture("bar-stacked100.png");
}

TEST_F(BarTest, ASelfStackedSeriesPilesItsOwnPointsInOneColumnAtItsIndex) {
    auto* first = AddSeries<TBarSeries>({5});
    auto* s = AddSeries<TBarSeries>({10, 20, 30}, clGreen);
    s->SetMultiBar(mbSelfStack);
    Draw();
    // Each column has its own share of the axis, inside the chart.
    EXPECT_LT(Bounds(first, 0).Right, Bounds(s, 0).Left);
    EXPECT_GE(Bounds(first, 0).Left, chart->GetChartRect().Left);
    EXPECT_LE(Bounds(s, 0).Right, chart->GetChartRect().Right);
    EXPECT_FALSE(s->CalcVisiblePoints);
    EXPECT_DOUBLE_EQ(s->MinXValue(), 1);
    EXPECT_DOUBLE_EQ(s->MaxXValue(), 1);
    EXPECT_DOUBLE_EQ(s->MaxYValue(), 60);
    EXPECT_EQ(Bounds(s, 0).Left, Bounds(s, 2).Left);
    EXPECT_EQ(Bounds(s, 1).Bottom, Y(10));
    EXPECT_EQ(Bounds(s, 2).Bottom, Y(30));
    EXPECT_EQ(Bounds(s, 2).Top, Y(60));
}

TEST_F(BarTest, BarsGrowFromTheOriginBothWaysAndTheRangeReachesIt) {
    auto* s = AddSeries<TBarSeries>({15, 5, 30});
    s->SetYOrigin(10);
    EXPECT_DOUBLE_EQ(s->MinYValue(), 5);
    s->Clear();
    s->Add(20);
    s->Add(30);
    EXPECT_DOUBLE_EQ(s->MinYValue(), 10); // lowered to the origin
    s->Add(5);
    Draw();
    EXPECT_EQ(Bounds(s, 0).Bottom, Y(10));
    EXPECT_EQ(Bounds(s, 2).Top, Y(5));
    EXPECT_EQ(Bounds(s, 2).Bottom, Y(10));
    // Without a pen a bar grows by a pixel at its far edge: the bottom of one
    // above the origin, the top (the value end) of one below it.
    s->GetPen()->SetVisible(false);
    EXPECT_EQ(Bounds(s, 0).Bottom, Y(10) + 1);
    EXPECT_EQ(Bounds(s, 2).Top, Y(5) + 1);
    s->SetUseYOrigin(false);
    EXPECT_EQ(s->GetOriginPos(0), Left()->IEndPos);
}

TEST_F(BarTest, FullWidthBarsTouchEachEndingWhereTheNextBegins) {
    auto* s = AddSeries<TBarSeries>({10, 20, 30});
    s->SetBarWidthPercent(100);
    Draw();
    for (int i = 0; i < 2; ++i) EXPECT_EQ(Bounds(s, i).Right, Bounds(s, i + 1).Left + 1) << i;
    // Side by side, the next bar is the other series': each stays in its own slot.
    auto* b = AddSeries<TBarSeries>({5, 15, 25});
    b->SetBarWidthPercent(100);
    Draw();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Bounds(s, i).Right, Bounds(b, i).Left + 1) << i;
    // So on an inverted axis: every bar as wide as the first, beside the other series' bar.
    Bottom()->SetInverted(true);
    Draw();
    const int width = Bounds(s, 0).Right - Bounds(s, 0).Left;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Bounds(s, i).Right - Bounds(s, i).Left, width) << i;
        EXPECT_EQ(Bounds(b, i).Right - Bounds(b, i).Left, width) << i;
        EXPECT_LE(Bounds(s, i).Right, Bounds(b, i).Left + 1) << i;
    }
    Bottom()->SetInverted(false);
    s->SetActive(false);
    b->SetActive(false);
    auto* h = AddSeries<THorizBarSeries>({10, 20, 30});
    auto* k = AddSeries<THorizBarSeries>({5, 15, 25});
    h->SetBarWidthPercent(100);
    k->SetBarWidthPercent(100);
    Draw();
    for (int i = 0; i < 3; ++i) EXPECT_LE(Bounds(h, i).Bottom, Bounds(k, i).Top + 1) << i;
}

TEST_F(BarTest, DepthPercentKeepsTheMiddleOfTheSeriesDepth) {
    chart->SetView3D(true);
    auto* s = AddSeries<TBarSeries>({10});
    Draw();
    const int full = s->EndZ - s->StartZ;
    ASSERT_GT(full, 4);
    s->SetDepthPercent(50);
    Draw();
    EXPECT_NEAR(s->EndZ - s->StartZ, full / 2, 1);
    s->SetDepthPercent(0);
    Draw();
    EXPECT_EQ(s->EndZ - s->StartZ, full);
    // A file's number beyond the whole depth is the whole depth; an offset, a whole bar.
    s->SetDepthPercent(2147483647);
    s->SetOffsetPercent(-2147483647 - 1);
    Draw();
    EXPECT_EQ(s->EndZ - s->StartZ, full);
    EXPECT_EQ(s->GetOffsetPercent(), -100);
}

// ---------------------------------------------------------------------------
// Drawing

TEST_F(BarTest, AShadowStandsBesideItsBarFlatOrSmoothAndANullPointCastsNone) {
    auto* s = AddSeries<TBarSeries>({50, 60});
    s->SetNull(1);
    s->GetShadow()->SetVisible(true);
    s->GetShadow()->SetSize(4);
    s->GetShadow()->SetSmooth(false);
    FixAxes();
    Draw();
    const TRect r0 = Bounds(s, 0), r1 = Bounds(s, 1);
    EXPECT_TRUE(IsColor((r0.Left + r0.Right) / 2, (r0.Top + r0.Bottom) / 2, clRed));
    EXPECT_EQ(Pixel(r1.Left + 2, (r1.Top + r1.Bottom) / 2), Rgb(clWhite));
    // The shadow of point 0 shows right of it.
    EXPECT_EQ(Pixel(r0.Right + 1, (r0.Top + r0.Bottom) / 2), Rgb(TColor(0x808080)));
    // A smooth one too, beside the bar, in 2D and 3D, fading out within its size.
    s->GetShadow()->SetSize(6);
    s->GetShadow()->SetSmooth(true);
    for (const bool threeD : {false, true}) {
        chart->SetView3D(threeD);
        Draw();
        const TRect r = Bounds(s, 0);
        const TPoint side = chart->GetCanvas()->Calculate3DPosition(r.Right, (r.Top + r.Bottom) / 2, s->EndZ);
        EXPECT_LT(Pixel(side.X + 1, side.Y).Lightness(), 200) << threeD;
        EXPECT_EQ(Pixel(side.X + 14, side.Y), Rgb(clWhite)) << threeD;
    }
    // A bar that grows down casts one too, and so does a horizontal bar that grows left.
    chart->SetView3D(false);
    s->GetYValues()->SetValue(0, -50);
    FixAxes(-0.5, 3.5, -100, 100);
    Draw();
    const TRect down = Bounds(s, 0);
    EXPECT_LT(Pixel(down.Right + 1, (down.Top + down.Bottom) / 2).Lightness(), 200);
    s->SetActive(false);
    auto* h = AddSeries<THorizBarSeries>({-50});
    h->GetShadow()->SetVisible(true);
    h->GetShadow()->SetSize(6);
    Bottom()->SetMinMax(-100, 100);
    Left()->SetMinMax(-0.5, 3.5);
    Draw();
    TRect left;
    h->CalcBarBounds(0, left);
    EXPECT_NE(Pixel((left.Left + left.Right) / 2, std::max(left.Top, left.Bottom) + 2), Rgb(clWhite));
}

TEST_F(BarTest, AShadowOfSizeZeroIsNotDrawnEvenWhenVisible) {
    auto* s = AddSeries<TBarSeries>({50});
    s->GetShadow()->SetVisible(true);
    s->GetShadow()->SetSmooth(false);
    FixAxes();
    Draw();
    const TRect r = Bounds(s, 0);
    EXPECT_EQ(Pixel(r.Right + 1, (r.Top + r.Bottom) / 2), Rgb(clWhite));
}

TEST_F(BarTest, DarkPenDarkensTheFrameFromThePointColour) {
    auto* s = AddSeries<TBarSeries>({50}, TColor(0x00C0C0));
    FixAxes();
    Draw();
    const TRect r = Bounds(s, 0);
    const int midY = (r.Top + r.Bottom) / 2;
    EXPECT_EQ(Pixel(r.Left, midY), Rgb(clBlack)); // DarkPen 0 keeps the pen's colour
    s->SetDarkPen(130);
    Draw();
    EXPECT_EQ(Pixel(r.Left, midY), Rgb(ApplyDark(TColor(0x00C0C0), 125)));
}

TEST_F(BarTest, AZeroHeightBarIsALineInTheBrushColour) {
    auto* s = AddSeries<TBarSeries>({0, 50}, clBlue);
    FixAxes(-0.5, 3.5, -100, 100);
    Draw();
    const TRect r = Bounds(s, 0);
    ASSERT_EQ(r.Top, r.Bottom);
    EXPECT_TRUE(IsColor(r.Left + 2, Y(0), clBlue));
    EXPECT_TRUE(IsColor(r.Right - 2, Y(0), clBlue));
    // Without a pen too: it does not grow a pixel off the line.
    s->GetPen()->SetVisible(false);
    Draw();
    EXPECT_TRUE(IsColor(r.Left + 2, Y(0), clBlue));
    EXPECT_TRUE(IsColor(r.Right - 2, Y(0), clBlue));
    // A horizontal bar of no width the same: a line down its height at the origin.
    chart->RemoveAllSeries();
    auto* h = AddSeries<THorizBarSeries>({0, 50}, clBlue);
    h->GetPen()->SetVisible(false);
    Left()->SetMinMax(-0.5, 3.5);
    Bottom()->SetMinMax(-100, 100);
    Draw();
    const TRect v = Bounds(h, 0);
    EXPECT_EQ(v.Left, v.Right);
    for (const int y : {v.Top + 2, v.Bottom - 2}) {
        EXPECT_TRUE(IsColor(X(0), y, clBlue)) << y;
        EXPECT_FALSE(IsColor(X(0) - 1, y, clBlue)) << y;
    }
}

namespace {

// Where a pixel probe of a 2D bar looks, in fractions of the bar (0,0 top left).
struct StyleProbe {
    const char* rule;
    TBarStyle style;
    double fx, fy;
    bool filled;
};

class BarStyleRule : public BarTest, public ::testing::WithParamInterface<StyleProbe> {};

} // namespace

TEST_P(BarStyleRule, FillsWhereTheShapeIs) {
    const StyleProbe& p = GetParam();
    auto* s = AddSeries<TBarSeries>({80, 80, 80}, clBlue);
    s->SetBarStyle(p.style);
    s->SetBarWidthPercent(90);
    s->GetGradient()->SetStartColor(clBlue);
    FixAxes(-0.5, 2.5);
    Draw();
    const TRect r = Bounds(s, 1);
    const int x = r.Left + static_cast<int>((r.Right - r.Left) * p.fx);
    const int y = r.Top + static_cast<int>((r.Bottom - r.Top) * p.fy);
    EXPECT_EQ(Pixel(x, y) == Rgb(clBlue), p.filled) << p.rule << " at " << x << "," << y << " in " << r.Left
                                                    << "," << r.Top << "," << r.Right << "," << r.Bottom;
}

INSTANTIATE_TEST_SUITE_P(
    Styles, BarStyleRule,
    ::testing::Values(StyleProbe{"RectangleFillsItsCorner", bsRectangle, 0.1, 0.1, true},
                      StyleProbe{"PyramidLeavesTheCornerBesideItsTipEmpty", bsPyramid, 0.1, 0.1, false},
                      StyleProbe{"PyramidStandsOnItsBase", bsPyramid, 0.1, 0.95, true},
                      StyleProbe{"InvertedPyramidHasItsBaseOnTop", bsInvPyramid, 0.1, 0.05, true},
                      StyleProbe{"InvertedPyramidEndsInATipBelow", bsInvPyramid, 0.1, 0.95, false},
                      StyleProbe{"ConeIsATriangleIn2D", bsCone, 0.1, 0.1, false},
                      StyleProbe{"InvertedConeIsATriangleIn2D", bsInvCone, 0.1, 0.95, false},
                      StyleProbe{"EllipseLeavesItsCornersEmpty", bsEllipse, 0.05, 0.05, false},
                      StyleProbe{"EllipseFillsItsMiddle", bsEllipse, 0.5, 0.5, true},
                      StyleProbe{"DiamondLeavesItsCornersEmpty", bsDiamond, 0.1, 0.9, false},
                      StyleProbe{"DiamondFillsItsMiddle", bsDiamond, 0.5, 0.5, true},
                      StyleProbe{"CylinderIsARectangleIn2D", bsCilinder, 0.1, 0.1, true},
                      StyleProbe{"SlantCubeIsARectangleIn2D", bsSlantCube, 0.1, 0.1, true},
                      StyleProbe{"ArrowShaftLeavesTheSidesEmpty", bsArrow, 0.05, 0.9, false},
                      StyleProbe{"ArrowShaftRunsDownTheMiddle", bsArrow, 0.5, 0.8, true},
                      StyleProbe{"InvertedArrowHeadIsAtTheBottom", bsInvArrow, 0.3, 0.9, true},
                      StyleProbe{"GradientEndsInTheBarColour", bsRectGradient, 0.5, 0.5, true},
                      StyleProbe{"BevelFillsInside", bsBevel, 0.5, 0.5, true}),
    [](const auto& info) { return std::string(info.param.rule); });

TEST_F(BarTest, ABevelFramesTheBarBrightAboveAndDarkBelow) {
    auto* s = AddSeries<TBarSeries>({80, 80, 80}, TColor(0x808000));
    s->SetBarStyle(bsBevel);
    s->SetBevelSize(3);
    FixAxes(-0.5, 2.5);
    Draw();
    const TRect r = Bounds(s, 1);
    const int cx = (r.Left + r.Right) / 2;
    EXPECT_EQ(Pixel(cx, r.Top + 2), Rgb(ApplyBright(TColor(0x808000), DarkerColorQuantity)));
    EXPECT_EQ(Pixel(cx, r.Bottom - 3), Rgb(ApplyDark(TColor(0x808000), DarkColorQuantity)));
    // A bar below its origin has its rectangle the other way round, and the same bevel.
    s->GetYValues()->SetValue(1, -80);
    FixAxes(-0.5, 2.5, -100, 100);
    Draw();
    const TRect below = OrientRectangle(Bounds(s, 1));
    EXPECT_EQ(Pixel(cx, below.Top + 2), Rgb(ApplyBright(TColor(0x808000), DarkerColorQuantity)));
    EXPECT_EQ(Pixel(cx, below.Bottom - 3), Rgb(ApplyDark(TColor(0x808000), DarkColorQuantity)));
    s->SetBevelSize(2147483647);
    EXPECT_EQ(s->GetBevelSize(), 100) << "a file's size, to the editor's widest";
    s->SetBarWidthPercent(2147483647);
    EXPECT_EQ(s->GetBarWidthPercent(), 100) << "a file's width, to the editor's widest";
}

TEST_F(BarTest, ARelativeGradientShadesSmallerBarsNearerItsStartColour) {
    auto* s = AddSeries<TBarSeries>({100, 50}, TColor(0x0000FF));
    s->GetGradient()->SetRelative(true);
    s->GetGradient()->SetStartColor(TColor(0xFFFFFF));
    s->BarColor = TColor(0x0000FF);
    EXPECT_EQ(Rgb(s->CalcGradientColor(0)), Rgb(TColor(0x0000FF)));
    EXPECT_EQ(Rgb(s->CalcGradientColor(1)), Rgb(TColor(0x8080FF)));
}

// A bar in the legend's own colour keeps an outline there, its pen shown or hidden.
TEST_F(BarTest, ASymbolInTheLegendsColourShowsItsOutlineWithOrWithoutThePen) {
    auto* framed = AddSeries<TBarSeries>({3, 5, 2});
    auto* bare = AddSeries<TBarSeries>({3, 5, 2});
    bare->GetPen()->SetVisible(false);
    for (const TColor legend : {clWhite, clBlack}) {
        chart->GetLegend()->SetColor(legend);
        framed->SetSeriesColor(legend);
        bare->SetSeriesColor(legend);
        Draw();
        for (int i = 0; i < 2; ++i) {
            const TRect r = chart->GetLegend()->GetItems()->Get(i)->SymbolRect;
            const TColor outline = legend == clBlack ? clWhite : clBlack;
            EXPECT_TRUE(IsColor(r.Left, (r.Top + r.Bottom) / 2, outline)) << legend << " item " << i;
            EXPECT_TRUE(IsColor((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2, legend))
                << legend << " item " << i;
        }
    }
}

// The legend symbol paints the brush picture; drawing leaves the picture as it was.
TEST_F(BarTest, DrawingKeepsTheBrushPictureAndOneWithoutAGraphicDrawsAsNone) {
    auto* bar = AddSeries<TBarSeries>({3, 5, 2});
    Draw();
    const probe::Picture plain = probe::Grab(out);
    bar->GetBrush()->GetImage(); // as the brush dialog leaves a picture it cleared
    for (int round = 1; round <= 2; ++round) {
        Draw();
        EXPECT_EQ(DifferingPixels(plain, probe::Grab(out)), 0) << round;
    }
    EXPECT_EQ(bar->GetBrush()->GetImage()->GetGraphic(), nullptr);

    TBitmap tile;
    tile.SetSize(8, 8);
    tile.GetCanvas()->GetBrush()->SetColor(clBlue);
    tile.GetCanvas()->FillRect(TRect(0, 0, 8, 8));
    TJPEGImage jpeg;
    jpeg.Assign(&tile);
    bar->GetBrush()->GetImage()->SetGraphic(&jpeg);
    Draw();
    EXPECT_NE(dynamic_cast<TJPEGImage*>(bar->GetBrush()->GetImage()->GetGraphic()), nullptr);
}

TEST_F(BarTest, BarsIn3DAreCubesWithDarkerSideFaces) {
    chart->SetView3D(true);
    chart->GetView3DOptions()->SetOrthogonal(true);
    auto* s = AddSeries<TBarSeries>({60, 80, 40}, clBlue);
    FixAxes(-0.5, 2.5);
    Draw();
    SavePicture("bar-3d.png");
    const TRect r = Bounds(s, 1);
    const TPoint front =
        chart->GetCanvas()->Calculate3DPosition((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2, s->StartZ);
    EXPECT_EQ(Pixel(front.X, front.Y), Rgb(clBlue));
    // The right face lies beyond the front's right edge and is darker.
    const TPoint side =
        chart->GetCanvas()->Calculate3DPosition(r.Right, (r.Top + r.Bottom) / 2, (s->StartZ + s->EndZ) / 2);
    const probe::Rgb p = Pixel(side.X + 1, side.Y);
    EXPECT_LT(p.Lightness(), Rgb(clBlue).Lightness());
    EXPECT_GT(p.b, 0);
}

TEST_F(BarTest, ATransparentBarIsSeenThroughAllOverOnEitherSideOfItsOriginInEveryView) {
    chart->GetLegend()->SetVisible(false);
    // A wide frame, and a bar of no height drawn as a line.
    auto* s = AddSeries<TBarSeries>({60, -60, 0}, clBlue);
    s->GetPen()->SetWidth(4);
    s->GetShadow()->SetVisible(true);
    s->GetShadow()->SetSize(6);
    s->GetShadow()->SetSmooth(false);
    FixAxes(-0.5, 2.5, -100, 100);
    const auto shot = [&](bool Shown, int Transparency) {
        for (const int i : {0, 1, 2}) s->SetNull(i, !Shown);
        s->SetTransparency(Transparency);
        s->GetShadow()->SetTransparency(Transparency);
        Draw();
        return probe::Grab(out);
    };
    for (const int view : {0, 1, 2}) {
        chart->SetView3D(view > 0);
        chart->GetView3DOptions()->SetOrthogonal(view == 1);
        const probe::Picture none = shot(false, 0), opaque = shot(true, 0), half = shot(true, 50);
        // Every pixel the bars or their shadows paint shows what lies behind them.
        int unblended = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                unblended += opaque.Pixel(x, y) != none.Pixel(x, y) && half.Pixel(x, y) == opaque.Pixel(x, y);
        EXPECT_EQ(unblended, 0) << view;
    }
}

TEST_F(BarTest, ABrushPictureFillsItsOwnSeriesOnlyAndNotTheLineDrawnAfterIt) {
    chart->SetView3D(true);
    chart->Set3DPercent(60);
    auto* bar = AddSeries<TBarSeries>({60, 80, 40});
    TBitmap picture;
    picture.SetSize(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) picture.GetCanvas()->SetPixel(x, y, (x + y) % 2 ? clRed : clLime);
    bar->GetBrush()->GetImage()->SetGraphic(&picture);
    auto* line = AddSeries<TLineSeries>({20, 20, 20}, clBlue);
    FixAxes(-0.5, 2.5);
    Draw();
    // The ribbon's top between the first two points, halfway back.
    const TPoint top =
        chart->GetCanvas()->Calculate3DPosition(X(0.5), Y(20), (line->StartZ + line->EndZ) / 2);
    const probe::Rgb p = Pixel(top.X, top.Y);
    EXPECT_TRUE(p.r == 0 && p.g == 0 && p.b > 0) << p;
    // Nor the 2D chart behind the bars, after the legend drew its symbol with the picture.
    chart->SetView3D(false);
    line->SetActive(false);
    Draw();
    int painted = 0;
    for (int x = X(0.4); x <= X(0.6); ++x)
        painted += Pixel(x, Y(85)) == Rgb(clRed) || Pixel(x, Y(85)) == Rgb(clLime);
    EXPECT_EQ(painted, 0);
}

// Seen from behind, the back wall stands before the bars: it is drawn after them, and the grid
// lines on it come over them.
TEST_F(BarTest, SeenFromBehindTheBackWallAndItsGridLinesComeOverTheBars) {
    chart->SetView3D(true);
    chart->Set3DPercent(40);
    TView3DOptions* view = chart->GetView3DOptions();
    view->SetOrthogonal(false);
    view->SetRotation(210);
    view->SetElevation(345);
    view->SetZoom(70);
    Bottom()->GetGrid()->SetStyle(psSolid);
    Bottom()->GetGrid()->SetColor(clRed);
    AddSeries<TBarSeries>({60, 80, 40, 70}, clBlue);
    FixAxes();
    Draw();
    SavePicture("bar-3d-behind.png");
    // Where the grid line of the second bar lies on the back wall, the bar is behind it.
    const TPoint p = chart->GetCanvas()->Calculate3DPosition(X(1), Y(40), chart->Width3D);
    EXPECT_EQ(Pixel(p.X, p.Y), Rgb(clRed));
}

// ---------------------------------------------------------------------------
// Clicks

TEST_F(BarTest, AClickOnTheTopEdgeHitsAndBesideAPyramidTipMisses) {
    auto* s = AddSeries<TBarSeries>({40, 80});
    FixAxes(-0.5, 1.5);
    Draw();
    const TRect r = Bounds(s, 1);
    EXPECT_EQ(s->Clicked((r.Left + r.Right) / 2, r.Top), 1);
    EXPECT_EQ(s->Clicked((r.Left + r.Right) / 2, r.Top - 2), -1);
    EXPECT_EQ(s->Clicked(r.Left + 1, (r.Top + r.Bottom) / 2), 1);
    EXPECT_EQ(s->Clicked(r.Left - 2, (r.Top + r.Bottom) / 2), -1);
    s->SetBarStyle(bsPyramid);
    EXPECT_EQ(s->Clicked(r.Left + 1, r.Top + 2), -1);
    EXPECT_EQ(s->Clicked((r.Left + r.Right) / 2, r.Top + 2), 1);
    EXPECT_EQ(s->Clicked(r.Left + 2, r.Bottom - 2), 1);
    s->SetBarStyle(bsEllipse);
    EXPECT_EQ(s->Clicked(r.Left + 1, r.Top + 1), -1);
    EXPECT_EQ(s->Clicked((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), 1);
}

// Every style, both ways, flat and in 3D seen straight and turned: a click on the bar's colour
// finds the bar, on its top and side faces too, and a click where none of its colour is near
// finds nothing, beside an arrow's shaft or a diamond's corners as well (a thin tip is drawn
// shorter than its shape, so "near" reaches six pixels).
template <class S>
static void ExpectClickedWhereDrawn(TChart* Chart) {
    const int w = Chart->GetWidth(), h = Chart->GetHeight();
    for (int style = bsRectangle; style <= bsInvCone; ++style)
        for (const int view : {0, 1, 2}) {
            Chart->FreeAllSeries();
            Chart->SetView3D(view > 0);
            Chart->GetView3DOptions()->SetOrthogonal(view < 2);
            Chart->GetView3DOptions()->SetRotation(330);
            Chart->GetView3DOptions()->SetElevation(340);
            auto* s = Create<S>(Chart);
            Chart->AddSeries(s);
            s->SetSeriesColor(clRed);
            s->GetMarks()->SetVisible(false);
            s->GetBarPen()->SetVisible(false);
            s->GetGradient()->SetStartColor(clRed);
            s->SetBarStyle(static_cast<TBarStyle>(style));
            for (const double v : {8.0, -5.0, 3.0}) s->Add(v);
            TBitmap b;
            b.SetSize(w, h);
            Chart->Draw(b.GetCanvas(), TRect(0, 0, w, h));
            auto reds = [&](int X, int Y, int R) {
                int n = 0;
                for (int dy = -R; dy <= R; ++dy)
                    for (int dx = -R; dx <= R; ++dx) {
                        const probe::Rgb q = probe::Pixel(b, X + dx, Y + dy);
                        n += q.r > q.g + 60 && q.r > q.b + 60;
                    }
                return n;
            };
            int missed = 0, wrong = 0;
            for (int y = 4; y < h - 4; y += 4)
                for (int x = 4; x < w - 4; x += 4) {
                    const int hit = s->Clicked(x, y);
                    missed += hit < 0 && reds(x, y, 2) == 25;
                    wrong += hit >= 0 && reds(x, y, 6) == 0;
                }
            EXPECT_EQ(missed, 0) << "style " << style << ", view " << view;
            EXPECT_EQ(wrong, 0) << "style " << style << ", view " << view;
        }
}

TEST_F(BarTest, AClickFindsABarOfAnyStyleWhereItIsDrawnAndNowhereElse) {
    chart->GetLegend()->SetVisible(false);
    ExpectClickedWhereDrawn<TBarSeries>(chart.get());
    ExpectClickedWhereDrawn<THorizBarSeries>(chart.get());
    // A narrow arrow's shaft answers on every pixel drawn across it.
    chart->FreeAllSeries();
    chart->SetView3D(false);
    auto* s = AddSeries<TBarSeries>({80, 80, 80}, clRed);
    s->SetBarStyle(bsInvArrow);
    FixAxes(-0.5, 2.5);
    for (int percent = 2; percent <= 8; ++percent) {
        s->SetBarWidthPercent(percent);
        Draw();
        const TRect r = Bounds(s, 1);
        const int y = r.Top + (r.Bottom - r.Top) / 4;
        for (int x = r.Left - 2; x <= r.Right + 2; ++x)
            if (Pixel(x, y) != Rgb(clWhite)) {
                EXPECT_EQ(s->Clicked(x, y), 1) << percent << "% at " << x;
            }
    }
}

// ---------------------------------------------------------------------------
// Horizontal bars

TEST_F(BarTest, HorizontalBarsGrowRightFromTheOriginAlongTheVerticalCategories) {
    auto* s = AddSeries<THorizBarSeries>({40, 80}, clGreen);
    Left()->SetMinMax(-0.5, 1.5);
    Bottom()->SetMinMax(0, 100);
    Draw();
    const TRect r = Bounds(s, 1);
    EXPECT_EQ(r.Left, X(0));
    EXPECT_EQ(r.Right, X(80));
    EXPECT_EQ(r.Top, Left()->CalcYPosValue(1) - s->CurrentBarSize / 2);
    EXPECT_EQ(r.Bottom, r.Top + s->CurrentBarSize - 1);
    EXPECT_TRUE(IsColor((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2, clGreen));
    EXPECT_EQ(s->Clicked((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), 1);
    EXPECT_EQ(s->Clicked(X(90), (r.Top + r.Bottom) / 2), -1);
    SavePicture("bar-horizontal.png");
    // A pyramid lies with its base on the origin and its tip at the value; an inverted one the
    // other way round.
    const int cy = (r.Top + r.Bottom) / 2;
    s->SetBarStyle(bsPyramid);
    EXPECT_EQ(s->Clicked(r.Left + 2, r.Top + 1), 1);
    EXPECT_EQ(s->Clicked(r.Right - 2, r.Top + 1), -1);
    EXPECT_EQ(s->Clicked(r.Left + (r.Right - r.Left) * 3 / 4, cy), 1);
    s->SetBarStyle(bsInvCone);
    EXPECT_EQ(s->Clicked(r.Right - 2, r.Top + 1), 1);
    EXPECT_EQ(s->Clicked(r.Left + 2, r.Top + 1), -1);
}

// In 3D the gradient lies on the bar's front, and a tick line's depth line on the face that
// shows.
TEST_F(BarTest, HorizontalBarsIn3DShowTheirGradientAndTickLinesOnTheirFaces) {
    chart->SetView3D(true);
    chart->GetView3DOptions()->SetOrthogonal(true);
    auto* s = AddSeries<THorizBarSeries>({75, 75}, clBlue);
    s->GetTickLines()->SetVisible(true);
    s->GetTickLines()->SetColor(clYellow);
    Left()->SetMinMax(-0.5, 1.5);
    Bottom()->SetMinMax(0, 100);
    Draw();
    SavePicture("bar-horizontal-3d-ticks.png");
    const TRect r = Bounds(s, 1);
    TCanvas3D* c = chart->GetCanvas();
    const int mid = (s->StartZ + s->EndZ) / 2;
    int seen = 0;
    for (const int pos : Bottom()->Tick) {
        if (pos <= r.Left + 2 || pos >= r.Right - 2) continue;
        ++seen;
        const TPoint top = c->Calculate3DPosition(pos, r.Top, mid);
        const TPoint bottom = c->Calculate3DPosition(pos, r.Bottom, mid);
        EXPECT_EQ(Pixel(top.X, top.Y), Rgb(clYellow)) << pos;
        EXPECT_NE(Pixel(bottom.X, bottom.Y), Rgb(clYellow)) << pos;
    }
    EXPECT_GE(seen, 2);
    // A gradient from red to the bar's blue covers the front to its corners: red at the
    // value's end, blue at the origin's.
    s->GetTickLines()->SetVisible(false);
    s->SetBarStyle(bsRectGradient);
    s->GetGradient()->SetStartColor(clRed);
    chart->GetView3DOptions()->SetOrthogonal(false);
    chart->GetView3DOptions()->SetRotation(345);
    chart->GetView3DOptions()->SetElevation(345);
    Draw();
    SavePicture("bar-horizontal-3d-gradient.png");
    const TRect b = Bounds(s, 1);
    const int w = b.Right - b.Left;
    auto at = [&](int X, int Y) {
        const TPoint p = c->Calculate3DPosition(X, Y, s->StartZ);
        return Pixel(p.X, p.Y);
    };
    for (const int y : {b.Top + 3, b.Bottom - 3}) {
        const probe::Rgb end = at(b.Right - 3, y), origin = at(b.Left + w / 8, y);
        EXPECT_GT(end.r, end.b + 100) << end;
        EXPECT_GT(origin.b, origin.r + 100) << origin;
        EXPECT_EQ(end.g + origin.g, 0);
    }
}

TEST_F(BarTest, AHorizontalSeriesOnAnInvertedAxisWithBothSignsGetsMarkRoomAtBothEnds) {
    auto* s = AddSeries<THorizBarSeries>({-40, 80});
    s->GetMarks()->SetVisible(true);
    Bottom()->SetInverted(true);
    Draw();
    int l = 0, r = 0;
    s->CalcHorizMargins(l, r);
    EXPECT_GT(l, 0);
    EXPECT_GT(r, 0);
    EXPECT_EQ(l, r);
}

// ---------------------------------------------------------------------------
// Pictures of every style (looked at; the probes above hold the rules)

TEST_F(BarTest, DrawingGradientBarsAndLegendSymbolsChangesNoGradientAndAsksNoRepaint) {
    auto* s = AddSeries<TBarSeries>({3, 5}, clBlue);
    s->SetBarStyle(bsRectGradient);
    s->GetGradient()->SetVisible(true);
    TZuzGradient* symbol = chart->GetLegend()->GetSymbol()->GetGradient();
    symbol->SetVisible(true);
    const TColor barEnd = s->GetGradient()->GetEndColor(), symbolEnd = symbol->GetEndColor();
    int changes = 0;
    for (TCustomZuzGradient* g :
         {static_cast<TCustomZuzGradient*>(s->GetGradient()), static_cast<TCustomZuzGradient*>(symbol)})
        g->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
    Draw();
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(s->GetGradient()->GetEndColor(), barEnd);
    EXPECT_EQ(symbol->GetEndColor(), symbolEnd);
}

TEST_F(BarTest, EveryStyleDrawsInsideItsBarIn2DAnd3D) {
    auto* s = AddSeries<TBarSeries>({}, clBlue);
    const TColor colors[] = {clRed, clGreen, clOlive, clBlue, clPurple, clTeal, clMaroon};
    for (int i = 0; i < 13; ++i) s->Add(40 + 4 * i, {}, colors[i % 7]);
    s->GetGradient()->SetStartColor(clWhite);
    s->OnGetBarStyle.Bind([](TCustomBarSeries*, int ValueIndex, TBarStyle& Style) {
        Style = static_cast<TBarStyle>(ValueIndex);
    });
    chart->SetBounds(0, 0, 640, 300);
    for (const bool is3D : {false, true}) {
        chart->SetView3D(is3D);
        out.SetSize(640, 300);
        chart->Draw(out.GetCanvas(), TRect(0, 0, 640, 300));
        SavePicture(is3D ? "bar-styles-3d.png" : "bar-styles.png");
        // Nothing of any bar spills left of its slot or above its value.
        for (int i = 0; i < 13; ++i) {
            const TRect r = Bounds(s, i);
            for (int y = r.Top; y < r.Bottom; y += 7)
                EXPECT_NE(Pixel(r.Left - 3, y), Rgb(s->ValueColor(i))) << i << (is3D ? " 3D" : "");
        }
    }
}

TEST_F(BarTest, MarksStandCentredAboveUpwardBarsAndBelowDownwardOnesOnTheirCallouts) {
    // The callout's pen starts white, which shows on the chart's own face
    // colour but not on the white of the other pictures.
    chart->SetColor(clBtnFace);
    auto* s = AddSeries<TBarSeries>({40, -30, 60}, clTeal);
    s->GetMarks()->SetVisible(true); // on callouts of the bar's 20 pixels
    FixAxes(-0.5, 2.5, -60, 100);
    Draw();
    SavePicture("bar-marks.png");
    // The mark's box sits on the bar's axis line, clear of the bar.
    const TRect up = Bounds(s, 0), down = Bounds(s, 1);
    const int cx = (up.Left + up.Right) / 2;
    const probe::Rgb face = Pixel(up.Left + 3, up.Top - 5);
    EXPECT_NE(face, Rgb(clWhite));
    EXPECT_NE(Pixel(cx, up.Top - 24), face); // the mark's box
    EXPECT_NE(Pixel(cx, up.Top - 24), Rgb(clTeal));
    const int dx = (down.Left + down.Right) / 2;
    EXPECT_NE(Pixel(dx, down.Top + 24), face);
    EXPECT_NE(Pixel(dx, down.Top + 24), Rgb(clTeal));
    // The callout runs from the bar's end towards the box (whose shadow hides
    // its last pixels), in the middle of the bar.
    for (int d = 2; d <= 10; d += 4) {
        EXPECT_EQ(Pixel(cx, up.Top - d), Rgb(clWhite)) << d;
        EXPECT_EQ(Pixel(cx + 4, up.Top - d), face) << d;
        EXPECT_EQ(Pixel(dx, down.Top + d), Rgb(clWhite)) << d;
    }
    // A black pen draws it the same way.
    s->GetMarks()->GetCallout()->GetArrow()->SetColor(clBlack);
    Draw();
    EXPECT_EQ(Pixel(cx, up.Top - 6), Rgb(clBlack));
}

TEST_F(BarTest, TickLinesCrossTheBarAtTheValueAxisTicksInsideIt) {
    auto* s = AddSeries<TBarSeries>({45, 45, 45}, clBlue);
    s->GetTickLines()->SetVisible(true);
    s->GetTickLines()->SetColor(clYellow);
    FixAxes(-0.5, 2.5, 0, 100);
    Draw();
    const TRect r = Bounds(s, 1);
    const int cx = (r.Left + r.Right) / 2;
    std::vector<int> inside;
    for (int pos : Left()->Tick)
        if (pos > r.Top + 1 && pos < r.Bottom - 1) {
            EXPECT_EQ(Pixel(cx, pos), Rgb(clYellow)) << pos;
            inside.push_back(pos);
        }
    ASSERT_GE(inside.size(), 2u);
    // Between two ticks the bar shows.
    EXPECT_EQ(Pixel(cx, (inside[0] + inside[1]) / 2), Rgb(clBlue));
    // Beside the bar the tick line does not go on.
    EXPECT_NE(Pixel(r.Right + 3, inside[0]), Rgb(clYellow));
}
