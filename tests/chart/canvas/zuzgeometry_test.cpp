// The panel unit's colours and hit tests, against the numbers of their rules.
#include "chart/canvas/zuzgeometry.h"

#include <gtest/gtest.h>

TEST(DefaultColors, PaletteOrderWrapsBothWays) {
    SetDefaultColorPalette();
    ASSERT_EQ(ColorPalette.size(), 20u);
    EXPECT_EQ(GetDefaultColor(0), clRed);
    EXPECT_EQ(GetDefaultColor(3), clBlue);
    EXPECT_EQ(GetDefaultColor(19), clMedGray);
    EXPECT_EQ(GetDefaultColor(20), clRed);
    // A negative index counts back from the end instead of reading before the palette.
    EXPECT_EQ(GetDefaultColor(-1), clMedGray);
    EXPECT_EQ(GetDefaultColor(-20), clRed);
    const TColor mine[] = {clLime, clNavy, clAqua};
    SetDefaultColorPalette(mine, 1);
    ASSERT_EQ(ColorPalette.size(), 2u);
    EXPECT_EQ(GetDefaultColor(3), clNavy);
    SetDefaultColorPalette(mine, 0); // the built-in palette, not a one-colour one
    EXPECT_EQ(ColorPalette.size(), 20u);
}

TEST(HitTests, PointInLineMeasuresToTheSegmentWithinToleranceAndOne) {
    EXPECT_TRUE(PointInLine(TPoint(0, 0), 0, 0, 10, 0));
    EXPECT_TRUE(PointInLine(TPoint(5, 1), 0, 0, 10, 0)); // distance 1 = tolerance 0 + 1
    EXPECT_FALSE(PointInLine(TPoint(5, 2), 0, 0, 10, 0));
    EXPECT_TRUE(PointInLine(TPoint(5, 3), 0, 0, 10, 0, 2));
    EXPECT_FALSE(PointInLine(TPoint(12, 0), 0, 0, 10, 0)); // past the end: 2 from the end point
    EXPECT_TRUE(PointInLine(TPoint(11, 0), TPoint(0, 0), TPoint(10, 0)));
    EXPECT_TRUE(PointInLine(TPoint(4, 4), TPoint(3, 3), TPoint(3, 3), 1)); // zero length
    EXPECT_FALSE(PointInLine(TPoint(5, 5), TPoint(3, 3), TPoint(3, 3), 1));
}

TEST(HitTests, PolygonsTrianglesAndEllipses) {
    const TPoint square[] = {TPoint(0, 0), TPoint(10, 0), TPoint(10, 10), TPoint(0, 10)};
    EXPECT_TRUE(PointInPolygon(TPoint(5, 5), square, 3));
    EXPECT_TRUE(PointInPolygon(TPoint(0, 0), square, 3));   // top-left edge counts
    EXPECT_FALSE(PointInPolygon(TPoint(10, 5), square, 3)); // right edge does not
    EXPECT_FALSE(PointInPolygon(TPoint(5, 5), square, -1));
    // Upward triangle: base at Y1 = 20, tip at ((0 + 20) div 2, Y0 = 0).
    EXPECT_TRUE(PointInTriangle(TPoint(10, 15), 0, 20, 0, 20));
    EXPECT_FALSE(PointInTriangle(TPoint(2, 5), 0, 20, 0, 20));
    // Sideways: tip at (X0 = 0, 10), base at X1 = 20.
    EXPECT_TRUE(PointInHorizTriangle(TPoint(15, 10), 0, 20, 0, 20));
    EXPECT_FALSE(PointInHorizTriangle(TPoint(5, 2), 0, 20, 0, 20));
    EXPECT_TRUE(PointInEllipse(TPoint(10, 5), 0, 0, 20, 10)); // centre
    EXPECT_TRUE(PointInEllipse(TPoint(20, 5), 0, 0, 20, 10)); // on the rim
    EXPECT_FALSE(PointInEllipse(TPoint(19, 1), TRect(0, 0, 20, 10)));
    EXPECT_FALSE(PointInEllipse(TPoint(0, 0), 0, 0, 1, 10)); // no width
}

TEST(HitTests, CrossingLinesMeetAlsoWhenOneIsVertical) {
    double x = 0, y = 0;
    EXPECT_TRUE(CrossingLines(0, 0, 10, 10, 0, 10, 10, 0, x, y));
    EXPECT_DOUBLE_EQ(x, 5);
    EXPECT_DOUBLE_EQ(y, 5);
    // A vertical segment has no slope; it still crosses.
    EXPECT_TRUE(CrossingLines(5, -5, 5, 5, 0, 1, 10, 3, x, y));
    EXPECT_DOUBLE_EQ(x, 5);
    EXPECT_DOUBLE_EQ(y, 2);
    EXPECT_TRUE(CrossingLines(0, 1, 10, 3, 5, -5, 5, 5, x, y));
    EXPECT_DOUBLE_EQ(x, 5);
    EXPECT_DOUBLE_EQ(y, 2);
    // The lines meet beyond the segments: the point, but no crossing.
    EXPECT_FALSE(CrossingLines(0, 0, 1, 1, 10, 0, 9, 1, x, y));
    EXPECT_DOUBLE_EQ(x, 5);
    EXPECT_DOUBLE_EQ(y, 5);
    // Parallel: X from the first point, Y on the second line.
    EXPECT_FALSE(CrossingLines(0, 0, 10, 10, 0, 2, 10, 12, x, y));
    EXPECT_DOUBLE_EQ(x, 0);
    EXPECT_DOUBLE_EQ(y, 2);
    EXPECT_FALSE(CrossingLines(1, 0, 1, 10, 4, 0, 4, 10, x, y)); // two verticals
    EXPECT_DOUBLE_EQ(x, 1);
}
