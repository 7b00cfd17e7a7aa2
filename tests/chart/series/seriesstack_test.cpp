// Stacked line-type series (positions, ranges, the zero total of a 100 %
// stack), areas, the 3D ribbon, the shadow and outline passes, margins, the
// visible range around the axis ends, and an edge segment on a logarithmic axis.
#include "chart/canvas/zuzshadow.h"
#include "linefixture.h"
#include "tests/chart/series/picturefile.h"

namespace {

using Stacking = LineTest;

TEST_F(Stacking, AStackedSeriesSitsOnTheSumOfTheSeriesBeforeIt) {
    auto* a = Add({{1, 2}, {9, 3}});
    auto* b = Add({{1, 4}, {9, -1}}, clBlue);
    a->SetStacked(cssStack);
    EXPECT_EQ(b->GetStacked(), cssStack) << "the mode goes to the chart's series of the class";
    EXPECT_DOUBLE_EQ(b->PointOrigin(0, false), 2);
    EXPECT_DOUBLE_EQ(b->PointOrigin(1, false), 0) << "a negative value stacks only on negatives";
    EXPECT_DOUBLE_EQ(a->PointOrigin(0, true), 6);
    EXPECT_DOUBLE_EQ(b->MaxYValue(), 6);
    EXPECT_DOUBLE_EQ(b->MinYValue(), -1);
    Draw();
    EXPECT_EQ(b->CalcYPos(0), At(1, 6).Y);
    EXPECT_TRUE(Near(At(1, 6), clBlue));
}

TEST_F(Stacking, AHundredPercentStackScalesToTheTotalAndAZeroTotalSitsAtTheAxisEnd) {
    auto* a = Add({{1, 1}, {9, 0}});
    auto* b = Add({{1, 3}, {9, 0}}, clBlue);
    a->SetStacked(cssStack100);
    chart->GetLeftAxis()->SetMinMax(0, 100);
    EXPECT_DOUBLE_EQ(b->MaxYValue(), 100);
    EXPECT_DOUBLE_EQ(b->MinYValue(), 0);
    Draw();
    EXPECT_EQ(a->CalcYPos(0), chart->GetLeftAxis()->CalcYPosValue(25));
    EXPECT_EQ(b->CalcYPos(0), chart->GetLeftAxis()->CalcYPosValue(100));
    EXPECT_EQ(b->CalcYPos(1), chart->GetLeftAxis()->IEndPos) << "no division by a zero total";
}

TEST_F(Stacking, AnAreaFillsDownToTheAxis) {
    auto* s = Add({{1, 8}, {9, 8}});
    s->SetDrawArea(true);
    s->GetAreaLinesPen()->SetVisible(false);
    Draw();
    EXPECT_TRUE(Is(At(5, 4), clRed));
    EXPECT_TRUE(Is(At(5, 1), clRed));
    EXPECT_FALSE(Is(At(5, 9), clRed));
}

TEST_F(Stacking, InThreeDTheLineIsARibbonInTheSeriesColour) {
    chart->SetView3D(true);
    chart->Set3DPercent(100);
    auto* s = Add({{1, 2}, {9, 8}});
    Draw();
    KeepPicture(probe::Grab(out), "line-3d.png");
    int red = 0;
    for (int y = 0; y < chart->GetHeight(); ++y)
        for (int x = 0; x < chart->GetWidth(); ++x) red += Is({x, y}, clRed);
    EXPECT_GT(red, 200) << "a ribbon, not a thin line";
    s->SetStairs(true);
    Draw();
    s->SetLineHeight(5);
    s->SetStairs(false);
    int top = 0, bottom = 0;
    s->CalcVerticalMargins(top, bottom);
    EXPECT_GE(bottom, 5) << "room below for the ribbon's front face";
    Draw();
    s->SetLineHeight(2147483647);
    EXPECT_EQ(s->GetLineHeight(), 1000) << "a file's height, held to the editor's largest";
}

TEST_F(Stacking, TheShadowIsDrawnOffsetInItsColourUnderTheLine) {
    auto* s = Add({{1, 5}, {9, 5}});
    s->GetShadow()->SetVisible(true);
    s->GetShadow()->SetColor(clGreen);
    s->GetShadow()->SetSize(6);
    Draw();
    const TPoint m = At(5, 5);
    EXPECT_TRUE(Near({m.X + 6, m.Y + 6}, clGreen));
    EXPECT_TRUE(Is(m, clRed));
    EXPECT_EQ(s->GetSeriesColor(), clRed) << "the colour is put back";
}

TEST_F(Stacking, TheOutlineIsAWiderPenUnderTheLine) {
    auto* s = Add({{1, 5}, {9, 5}});
    s->GetOutLine()->SetVisible(true);
    s->GetOutLine()->SetColor(clBlack);
    s->GetOutLine()->SetWidth(2);
    Draw();
    const TPoint m = At(5, 5);
    EXPECT_TRUE(Is(m, clRed));
    EXPECT_TRUE(Near({m.X, m.Y - 2}, clBlack));
    EXPECT_EQ(s->GetLinePen()->GetWidth(), 1) << "the line pen is put back";
}

TEST_F(Stacking, StairsAndPointersWidenTheMargins) {
    auto* s = Add({{1, 5}});
    s->GetLinePen()->SetWidth(6);
    int l = 0, r = 0;
    s->CalcHorizMargins(l, r);
    EXPECT_EQ(l, 0);
    s->SetStairs(true);
    s->CalcHorizMargins(l, r);
    EXPECT_EQ(l, 6);
    EXPECT_EQ(r, 6);
    s->GetPointer()->SetVisible(true);
    s->GetPointer()->SetHorizSize(9);
    s->CalcHorizMargins(l, r);
    EXPECT_EQ(l, 10);
}

TEST_F(Stacking, TheVisibleRangeKeepsPointsWhosePointerReachesIntoTheChart) {
    auto* s = Add({{-0.05, 5}, {5, 5}, {10.05, 5}, {15, 5}});
    Draw();
    EXPECT_EQ(s->FirstVisibleIndex, 0);
    EXPECT_EQ(s->LastVisibleIndex, 2) << "the point past the edge, not the one beyond";
    auto* t = Add({{5, 5}, {9, 5}, {12, 5}, {12, 6}});
    Draw();
    EXPECT_EQ(t->LastVisibleIndex, 3) << "a neighbour with the same X joins";
}

TEST_F(Stacking, OnALogarithmicAxisAnEdgeSegmentFromANonPositiveValueStartsAtZero) {
    chart->GetLeftAxis()->SetMinMax(1, 100);
    chart->GetLeftAxis()->SetLogarithmic(true);
    auto* s = Add({{-5, -1}, {5, 10}});
    Draw();
    EXPECT_EQ(s->FirstVisibleIndex, 1) << "the segment from point 0 enters at the edge";
    EXPECT_TRUE(Near(At(5, 10), clRed));
}

} // namespace
