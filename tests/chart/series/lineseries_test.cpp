// The line series drawn: pixel probes of a line through known points (its
// first pixel, the pixel before its last point, the middle of segments), gaps
// at null points under each null rule, stairs corners, pen width, pointers,
// the edge segment of a scrolled line, and a new line series's settings.
#include "chart/canvas/zuzcanvas.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/chartvaluelist.h"
#include "chart/series/series_area.h"
#include "linefixture.h"

namespace {

using LineDrawing = LineTest;

TEST_F(LineDrawing, ANewLineSeriesDrawsItsLineWithAHiddenPointerAndNullsAsGaps) {
    auto* s = Create<TLineSeries>(chart.get());
    EXPECT_TRUE(s->GetDrawLine());
    EXPECT_FALSE(s->GetDrawArea());
    EXPECT_FALSE(s->GetPointer()->GetVisible());
    EXPECT_EQ(s->GetTreatNulls(), tnDontPaint);
    EXPECT_TRUE(s->KeepPointBeyondEdge);
    EXPECT_FALSE(s->SingleFunctionPoint);
    EXPECT_TRUE(s->GetClickableLine());
    EXPECT_TRUE(s->GetColorEachLine());
    EXPECT_EQ(s->GetStacked(), cssNone);
}

TEST_F(LineDrawing, EachLineIsShownInTheLegendInItsOwnColour) {
    Add({{1, 2}, {9, 2}}, clRed);
    Add({{1, 6}, {9, 6}}, clBlue);
    Draw();
    bool red = false, blue = false;
    for (int y = 0; y < chart->GetHeight(); ++y)
        for (int x = chart->GetChartRect().Right + 2; x < chart->GetWidth(); ++x) {
            red = red || Is({x, y}, clRed);
            blue = blue || Is({x, y}, clBlue);
        }
    EXPECT_TRUE(red);
    EXPECT_TRUE(blue);
    // In 3D the ribbon's block casts the legend symbol's shadow.
    chart->SetView3D(true);
    TLegendSymbol* symbol = chart->GetLegend()->GetSymbol();
    symbol->GetShadow()->SetVisible(true);
    Draw();
    const TRect s = chart->GetLegend()->GetItems()->Get(0)->SymbolRect;
    EXPECT_FALSE(Is({s.Right + 1, (s.Top + s.Bottom) / 2}, clWhite));
}

TEST_F(LineDrawing, TheLineStartsOnItsFirstPointAndRunsThroughEveryPoint) {
    Add({{1, 2}, {5, 8}, {9, 2}});
    Draw();
    EXPECT_TRUE(Is(At(1, 2), clRed)) << "first pixel";
    EXPECT_TRUE(Is(At(5, 8), clRed)) << "the middle point";
    EXPECT_TRUE(Near(Mid(At(1, 2), At(5, 8)), clRed)) << "first segment";
    EXPECT_TRUE(Near(Mid(At(5, 8), At(9, 2)), clRed)) << "second segment";
    // The last segment stops one pixel short of its end, as every line does.
    const TPoint last = At(9, 2), before = At(5, 8);
    const int dx = last.X > before.X ? -1 : 1;
    EXPECT_TRUE(Near({last.X + dx, last.Y}, clRed)) << "the pixel before the last point";
    EXPECT_FALSE(Near(At(9.8, 9), clRed, 3)) << "nothing beyond the line";
}

TEST_F(LineDrawing, ANullPointLeavesAGapOnBothSidesOfIt) {
    auto* s = Add({{1, 5}, {3, 5}, {5, 5}, {7, 5}, {9, 5}});
    s->SetNull(2);
    Draw();
    EXPECT_TRUE(Near(Mid(At(1, 5), At(3, 5)), clRed)) << "before the gap";
    EXPECT_FALSE(Near(Mid(At(3, 5), At(5, 5)), clRed)) << "into the null point";
    EXPECT_FALSE(Near(Mid(At(5, 5), At(7, 5)), clRed)) << "out of the null point";
    EXPECT_TRUE(Near(Mid(At(7, 5), At(9, 5)), clRed)) << "after the gap";
}

TEST_F(LineDrawing, AddNullXYAddsAGapAtItsX) {
    auto* s = Add({{1, 5}, {3, 5}});
    s->AddNullXY(5, 5);
    s->AddXY(7, 5);
    s->AddXY(9, 5);
    EXPECT_TRUE(s->IsNull(2));
    Draw();
    EXPECT_FALSE(Near(Mid(At(3, 5), At(5, 5)), clRed));
    EXPECT_FALSE(Near(Mid(At(5, 5), At(7, 5)), clRed));
    EXPECT_TRUE(Near(Mid(At(7, 5), At(9, 5)), clRed));
}

TEST_F(LineDrawing, SkippingANullJoinsItsNeighboursStraight) {
    auto* s = Add({{1, 2}, {5, 9}, {9, 2}});
    s->SetNull(1);
    s->SetTreatNulls(tnSkip);
    Draw();
    EXPECT_TRUE(Near(At(5, 2), clRed)) << "the straight line under the null point";
    EXPECT_FALSE(Near(At(3, 5.5), clRed, 2)) << "no line up to the null point";
}

TEST_F(LineDrawing, IgnoringNullsDrawsThePointAtItsValue) {
    auto* s = Add({{1, 8}, {5, 2}, {9, 8}});
    auto* area = Add<TAreaSeries>({{1, 1}, {5, 1.5}, {9, 1}}, clBlue);
    for (TCustomSeries* each : {static_cast<TCustomSeries*>(s), static_cast<TCustomSeries*>(area)}) {
        each->SetNull(1);
        each->SetTreatNulls(tnIgnore);
    }
    Draw();
    EXPECT_TRUE(Near(Mid(At(1, 8), At(5, 2)), clRed));
    EXPECT_TRUE(Near(Mid(At(5, 2), At(9, 8)), clRed));
    EXPECT_TRUE(Is(At(3, 0.5), clBlue)) << "the area into the null point";
    EXPECT_DOUBLE_EQ(s->MinYValue(), 2) << "the null point counts in the range";
    chart->SetView3D(true);
    Draw();
    TCanvas3D* c = chart->GetCanvas();
    EXPECT_TRUE(Near(c->Calculate3DPosition(Mid(At(1, 8), At(5, 2)), s->MiddleZ), clRed)) << "the 3D ribbon";
    EXPECT_TRUE(Is(c->Calculate3DPosition(At(3, 0.5), area->StartZ), clBlue)) << "the 3D area";
}

TEST_F(LineDrawing, ANullPointDoesNotCountInTheRangeUnlessIgnored) {
    auto* s = Add({{1, 2}, {5, 80}, {9, 3}});
    s->SetNull(1);
    EXPECT_DOUBLE_EQ(s->MaxYValue(), 3);
    EXPECT_DOUBLE_EQ(s->MinYValue(), 2);
    auto* empty = Create<TLineSeries>(chart.get());
    EXPECT_DOUBLE_EQ(empty->MaxYValue(), 0);
}

TEST_F(LineDrawing, StairsGoAcrossFirstThenUp) {
    auto* s = Add({{2, 2}, {8, 8}});
    s->SetStairs(true);
    Draw();
    EXPECT_TRUE(Near(At(5, 2), clRed)) << "the tread at the first level";
    EXPECT_TRUE(Near(At(8, 2), clRed)) << "the corner";
    EXPECT_TRUE(Near(At(8, 5), clRed)) << "the riser at the second point";
    EXPECT_FALSE(Near(At(2, 8), clRed, 2)) << "no inverted corner";
    EXPECT_FALSE(Near(At(5, 5), clRed, 2)) << "no diagonal";
    // An inverted axis draws the values backwards: the same step, mirrored; in 3D too where the
    // first point is past the zoomed axis's edge (a third point keeps two in sight).
    chart->GetBottomAxis()->SetInverted(true);
    for (const bool is3D : {false, true}) {
        chart->SetView3D(is3D);
        if (is3D) s->AddXY(9, 9);
        chart->GetBottomAxis()->SetMinMax(is3D ? 3 : 0, 10);
        Draw();
        const auto at = [&](double X, double Y) {
            return chart->GetCanvas()->Calculate3DPosition(At(X, Y), (s->StartZ + s->EndZ) / 2);
        };
        EXPECT_TRUE(Near(at(5, 2), clRed)) << "inverted axis, 3D " << is3D << ": the tread";
        EXPECT_TRUE(is3D || Near(at(8, 5), clRed)) << "inverted axis: the riser"; // darker in 3D
        EXPECT_FALSE(Near(at(5, 8), clRed, 2))
            << "inverted axis, 3D " << is3D << ": no tread at the second level";
        // The area under the step fills up to the tread only.
        s->SetDrawArea(true);
        Draw();
        const auto front = [&](double X, double Y) {
            return chart->GetCanvas()->Calculate3DPosition(At(X, Y), s->StartZ);
        };
        EXPECT_TRUE(Is(front(5, 1), clRed)) << "inverted axis, 3D " << is3D << ": the area";
        EXPECT_FALSE(Near(front(5, 5), clRed)) << "inverted axis, 3D " << is3D << ": no area over the tread";
        s->SetDrawArea(false);
    }
}

TEST_F(LineDrawing, InvertedStairsGoUpFirstThenAcross) {
    auto* s = Add({{2, 2}, {8, 8}});
    s->SetStairs(true);
    s->SetInvertedStairs(true);
    Draw();
    EXPECT_TRUE(Near(At(2, 5), clRed)) << "the riser at the first point";
    EXPECT_TRUE(Near(At(2, 8), clRed)) << "the corner";
    EXPECT_TRUE(Near(At(5, 8), clRed)) << "the tread at the second level";
    EXPECT_FALSE(Near(At(8, 2), clRed, 2));
}

TEST_F(LineDrawing, ThePenWidthWidensTheLine) {
    auto* s = Add({{1, 5}, {9, 5}});
    s->GetLinePen()->SetWidth(5);
    Draw();
    const TPoint m = At(5, 5);
    EXPECT_TRUE(Is({m.X, m.Y - 2}, clRed));
    EXPECT_TRUE(Is({m.X, m.Y + 2}, clRed));
    EXPECT_FALSE(Is({m.X, m.Y - 5}, clRed));
}

TEST_F(LineDrawing, ADashedPenLeavesGapsAlongTheLineInItsSeriesOwnColour) {
    // A wide pen in the same style follows: each series keeps its own colour.
    const std::pair<TColor, int> lines[] = {{clRed, 1}, {clBlue, 2}, {clLime, 2}};
    for (int i = 0; i < 3; ++i) {
        auto* s = Add({{1, 2.0 + 3 * i}, {9, 2.0 + 3 * i}}, lines[i].first);
        s->GetLinePen()->SetStyle(psDash);
        s->GetLinePen()->SetWidth(lines[i].second);
    }
    Draw();
    for (int i = 0; i < 3; ++i) {
        const TPoint a = At(1, 2.0 + 3 * i), b = At(9, 2.0 + 3 * i);
        int inked = 0, gaps = 0;
        for (int x = a.X + 1; x < b.X; ++x) {
            bool column = false; // a wide pen's rows lie around the line's
            for (int dy = -1; dy <= 1; ++dy) column = column || Is({x, a.Y + dy}, lines[i].first);
            (column ? inked : gaps)++;
        }
        EXPECT_GT(inked, 10) << i;
        EXPECT_GT(gaps, 10) << i;
    }
}

TEST_F(LineDrawing, AHiddenPenDrawsNoLine) {
    auto* s = Add({{1, 5}, {9, 5}});
    s->GetLinePen()->SetVisible(false);
    Draw();
    EXPECT_FALSE(Near(At(5, 5), clRed));
}

TEST_F(LineDrawing, PointersAreDrawnOverTheLineAtEveryNonNullPoint) {
    auto* s = Add({{1, 5}, {5, 5}, {9, 5}});
    s->SetNull(1);
    s->GetPointer()->SetVisible(true);
    s->GetPointer()->GetBrush()->SetColor(clBlue);
    s->GetPointer()->SetHorizSize(3);
    s->GetPointer()->SetVertSize(3);
    Draw();
    const TPoint p0 = At(1, 5), p2 = At(9, 5), p1 = At(5, 5);
    EXPECT_TRUE(Near({p0.X, p0.Y - 3}, clBlack)) << "the frame of the first pointer";
    EXPECT_TRUE(Near({p2.X, p2.Y - 3}, clBlack)) << "the frame of the last pointer";
    EXPECT_FALSE(Near({p1.X, p1.Y - 3}, clBlack)) << "no pointer at the null point";
}

TEST_F(LineDrawing, WithAVisiblePointerAndOneColourPerLineOffEverySegmentTakesTheSeriesColour) {
    auto* s = Add({{1, 5}, {5, 5}, {9, 5}});
    s->SetValueColor(1, clGreen);
    s->SetValueColor(2, clBlue);
    s->SetColorEachLine(false);
    s->GetPointer()->SetVisible(true);
    Draw();
    EXPECT_TRUE(Is(Mid(At(5, 5), At(9, 5)), clRed));
    s->GetPointer()->SetVisible(false);
    Draw();
    EXPECT_TRUE(Is(Mid(At(5, 5), At(9, 5)), clBlue)) << "a segment takes its end point's colour";
}

TEST_F(LineDrawing, ALineScrolledPastItsFirstPointEntersFromTheEdgeAtTheInterpolatedValue) {
    Add({{-10, 0}, {10, 10}});
    Draw();
    // At X = 0 the line from (-10, 0) to (10, 10) is at 5.
    const TPoint edge = At(0, 5);
    EXPECT_TRUE(Near({edge.X + 1, edge.Y}, clRed, 1));
    EXPECT_TRUE(Near(At(5, 7.5), clRed));
}

TEST_F(LineDrawing, TheSegmentToThePointPastTheRightEdgeIsDrawn) {
    Add({{5, 5}, {20, 5}});
    Draw();
    EXPECT_TRUE(Near(At(9, 5), clRed)) << "up to the chart's edge";
}

TEST_F(LineDrawing, OneDisplayedPointDrawsOnlyItsPointer) {
    auto* s = Add({{5, 5}});
    Draw();
    EXPECT_FALSE(Near(At(5, 5), clRed, 2));
    s->GetPointer()->SetVisible(true);
    Draw();
    EXPECT_TRUE(Near(At(5, 5), clRed, 2));
}

TEST_F(LineDrawing, ADateTimeSeriesOfHourlyPointsDrawsEveryHour) {
    chart->GetBottomAxis()->SetMinMax(46000, 46001);
    auto* s = Create<TLineSeries>(chart.get());
    chart->AddSeries(s);
    s->SetSeriesColor(clRed);
    s->GetXValues()->SetDateTime(true);
    for (int h = 0; h <= 24; ++h) s->AddXY(46000 + h / 24.0, h % 2 ? 8 : 2);
    Draw();
    int peaks = 0;
    for (int h = 1; h < 24; h += 2)
        peaks += Near(
            {chart->GetBottomAxis()->CalcXPosValue(46000 + h / 24.0), chart->GetLeftAxis()->CalcYPosValue(8)},
            clRed);
    EXPECT_EQ(peaks, 12);
}

// ---------------------------------------------------------------------------
// Copying

TEST_F(LineDrawing, AssignCopiesPenNullsPointerColourAndPoints) {
    auto* a = Add({{1, 2}, {3, 4}});
    a->SetNull(1);
    a->SetTreatNulls(tnSkip);
    a->GetLinePen()->SetWidth(3);
    a->GetLinePen()->SetStyle(psDot);
    a->GetPointer()->SetVisible(true);
    a->SetStairs(true);
    a->GetXValues()->SetDateTime(true);
    auto* b = Create<TLineSeries>(chart.get());
    b->Assign(a);
    EXPECT_EQ(b->Count(), 2);
    EXPECT_TRUE(b->IsNull(1));
    EXPECT_EQ(b->GetTreatNulls(), tnSkip);
    EXPECT_EQ(b->GetLinePen()->GetWidth(), 3);
    EXPECT_EQ(b->GetLinePen()->GetStyle(), psDot);
    EXPECT_TRUE(b->GetPointer()->GetVisible());
    EXPECT_TRUE(b->GetStairs());
    EXPECT_EQ(b->GetSeriesColor(), clRed);
    EXPECT_TRUE(b->GetXValues()->GetDateTime());
}

TEST_F(LineDrawing, APointSeriesAssignedToALineHidesItsPointerAndTheLineGoesOn) {
    auto* p = Add<TPointSeries>({{1, 2}});
    auto* l = Create<TLineSeries>(chart.get());
    l->Assign(p);
    EXPECT_FALSE(l->GetPointer()->GetVisible());
    EXPECT_TRUE(l->GetDrawLine());
    auto* p2 = Create<TPointSeries>(chart.get());
    auto* l2 = Add({{1, 2}});
    p2->Assign(l2);
    EXPECT_TRUE(p2->GetPointer()->GetVisible());
    EXPECT_FALSE(p2->GetDrawLine());
}

} // namespace
