// The arrow, bubble and Gantt series on the 0..10 chart: where each draws
// (pixel probes), what a click returns, how far each widens the axes, the
// degenerate arrows, bubbles and bars, sample values from a fixed seed, and
// the gallery registration.
#include "chart/canvas/zuzconst.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/seriestypes.h"
#include "chart/series/arrowcha.h"
#include "chart/series/bubblech.h"
#include "chart/series/ganttch.h"
#include "chart/series/zuzshape.h"
#include "chart/series/zuzstore.h"
#include "linefixture.h"
#include "platform/core/streams.h"
#include "tests/chart/series/keeptypes.h"
#include "tests/chart/series/picturefile.h"

namespace {

class SeriesPictures : public LineTest {
protected:
    void SavePicture(const char* Name) { EXPECT_TRUE(KeepPicture(probe::Grab(out), Name)); }
    // Whether any pixel of the picture has Color.
    bool AnyPixel(TColor Color) {
        for (int y = 0; y < out.GetHeight(); ++y)
            for (int x = 0; x < out.GetWidth(); ++x)
                if (Is({x, y}, Color)) return true;
        return false;
    }
};

// ---------------------------------------------------------------------------
// Arrows

using Arrows = SeriesPictures;

TEST_F(Arrows, TheShaftRunsFromStartToEndAndTheHeadOpensAtTheEnd) {
    auto* s = Add<TArrowSeries>({});
    s->AddArrow(2, 5, 8, 5, {}, clRed);
    s->SetArrowWidth(8);
    s->SetArrowHeight(8);
    Draw();
    SavePicture("arrow.png");
    const TPoint from = At(2, 5), to = At(8, 5);
    EXPECT_TRUE(Near(Mid(from, to), clRed, 0)) << "shaft";
    // The head spreads sideways near the end, not near the start.
    bool headAtEnd = false, headAtStart = false;
    for (int dy = 3; dy <= 6; ++dy) {
        headAtEnd |= Is({to.X - 5, to.Y - dy}, clRed) || Is({to.X - 6, to.Y - dy}, clRed);
        headAtStart |= Is({from.X + 5, from.Y - dy}, clRed) || Is({from.X + 6, from.Y - dy}, clRed);
    }
    EXPECT_TRUE(headAtEnd);
    EXPECT_FALSE(headAtStart);
}

TEST_F(Arrows, AReversedArrowPutsItsHeadAtTheLeft) {
    auto* s = Add<TArrowSeries>({});
    s->AddArrow(8, 5, 2, 5, {}, clRed);
    s->SetArrowWidth(8);
    s->SetArrowHeight(8);
    Draw();
    const TPoint head = At(2, 5);
    bool spread = false;
    for (int dy = 3; dy <= 6; ++dy)
        spread |= Is({head.X + 5, head.Y + dy}, clRed) || Is({head.X + 6, head.Y + dy}, clRed);
    EXPECT_TRUE(spread);
}

TEST_F(Arrows, TheAutomaticRangeCoversBothEndsOfEveryArrow) {
    auto* s = Add<TArrowSeries>({});
    s->AddArrow(1, 2, 20, -5);
    s->AddArrow(3, 4, 0.5, 30);
    EXPECT_EQ(s->MaxXValue(), 20);
    EXPECT_EQ(s->MinXValue(), 0.5);
    EXPECT_EQ(s->MaxYValue(), 30);
    EXPECT_EQ(s->MinYValue(), -5);
}

TEST_F(Arrows, AnArrowWithoutLengthDrawsNothingAndDoesNotFail) {
    auto* s = Add<TArrowSeries>({});
    s->AddArrow(5, 5, 5, 5, {}, clRed);
    chart->GetLegend()->SetVisible(false); // its symbol shows the arrow's colour
    EXPECT_NO_THROW(Draw());
    EXPECT_FALSE(AnyPixel(clRed));
}

TEST_F(Arrows, AClickOnAShaftReturnsTheFirstArrowThereAndOffAllShaftsMinusOne) {
    auto* s = Add<TArrowSeries>({});
    s->AddArrow(1, 2, 9, 2);
    s->AddArrow(1, 7, 9, 7);
    s->AddArrow(1, 7, 9, 7);
    Draw();
    EXPECT_EQ(s->Clicked(Mid(At(1, 2), At(9, 2))), 0);
    EXPECT_EQ(s->Clicked(Mid(At(1, 7), At(9, 7))), 1) << "the lowest index of two on top of each other";
    EXPECT_EQ(s->Clicked(At(5, 4.5)), -1);
    EXPECT_EQ(s->Clicked(At(9, 2).X + 6, At(9, 2).Y), -1) << "past the end";
    // In 3D the arrows stand at the middle of the depth.
    chart->SetView3D(true);
    chart->Set3DPercent(100); // a box that holds the series
    s->SetDepth(40);
    Draw();
    TCanvas3D* c = chart->GetCanvas();
    const TPoint flat = Mid(At(1, 2), At(9, 2)), deep = c->Calculate3DPosition(flat, s->MiddleZ);
    ASSERT_GT(std::abs(deep.Y - flat.Y), 4);
    EXPECT_EQ(s->Clicked(deep), 0) << "in 3D";
    EXPECT_EQ(s->Clicked(flat), -1) << "in 3D, where it is not drawn";
    // There it is filled: its head is hit off the middle line too.
    s->SetArrowWidth(16);
    s->SetArrowHeight(12);
    Draw();
    const TPoint tip = At(9, 2);
    EXPECT_EQ(s->Clicked(c->Calculate3DPosition(tip.X - 10, tip.Y - 6, s->MiddleZ)), 0) << "the head in 3D";
    EXPECT_EQ(s->Clicked(c->Calculate3DPosition(tip.X - 10, tip.Y - 10, s->MiddleZ)), -1) << "beside it";
}

TEST_F(Arrows, EndListsAreNamedDateTimeAndTheStartListsAreTheXAndYLists) {
    auto* s = Add<TArrowSeries>({});
    EXPECT_EQ(s->GetEndXValues()->GetName(), VavIve_ValuesArrowEndX);
    EXPECT_EQ(s->GetEndYValues()->GetName(), VavIve_ValuesArrowEndY);
    EXPECT_TRUE(s->GetEndXValues()->GetDateTime());
    EXPECT_TRUE(s->GetXValues()->GetDateTime());
    EXPECT_EQ(s->GetStartXValues(), s->GetXValues());
    EXPECT_EQ(s->GetStartYValues(), s->GetYValues());
    EXPECT_EQ(s->GetArrowPercent(), 50);
    EXPECT_FALSE(s->CalcVisiblePoints);
    EXPECT_FALSE(s->GetPointer()->GetInflateMargins());
    EXPECT_TRUE(s->GetMarks()->GetTransparent());
    EXPECT_FALSE(s->CanDoExtra());
    EXPECT_EQ(s->AddArrow(1, 2, 3, 4), 0);
    EXPECT_EQ(s->GetEndXValues()->GetValue(0), 3);
    EXPECT_EQ(s->GetEndYValues()->GetValue(0), 4);
    EXPECT_THROW(s->GetEndXValues()->GetValue(1), Exception);
}

// ---------------------------------------------------------------------------
// Bubbles

using Bubbles = SeriesPictures;

TEST_F(Bubbles, TheRadiusIsInVerticalAxisUnitsAndSquaredBubblesAreRound) {
    auto* s = Add<TBubbleSeries>({});
    s->AddBubble(5, 5, 2, {}, clRed);
    Draw();
    SavePicture("bubble.png");
    const TPoint c = At(5, 5);
    const int r = At(5, 5).Y - At(5, 7).Y;
    EXPECT_TRUE(Is(At(5, 6.6), clRed));
    EXPECT_FALSE(Is(At(5, 7.5), clRed));
    EXPECT_TRUE(Is({c.X + r - 3, c.Y}, clRed)) << "as wide as high";
    EXPECT_FALSE(Is({c.X + r + 3, c.Y}, clRed));
}

TEST_F(Bubbles, ANonSquaredBubbleTakesItsWidthFromTheHorizontalAxis) {
    chart->GetBottomAxis()->SetMinMax(0, 20); // half the pixels per unit across
    auto* s = Add<TBubbleSeries>({});
    s->SetSquared(false);
    s->AddBubble(10, 5, 2, {}, clRed);
    Draw();
    const TPoint c = At(10, 5);
    const int rx = At(12, 5).X - c.X, ry = c.Y - At(10, 7).Y;
    ASSERT_LT(rx + 4, ry);
    EXPECT_TRUE(Is({c.X, c.Y - ry + 3}, clRed));
    EXPECT_FALSE(Is({c.X + rx + 3, c.Y}, clRed)) << "an ellipse, narrower than high";
    EXPECT_TRUE(Is({c.X + rx - 2, c.Y}, clRed));
    // A file's radius far beyond the axis: a bubble as wide as the largest picture.
    s->GetRadiusValues()->SetValue(0, 1e12);
    Draw();
    EXPECT_TRUE(Is({At(10, 5).X + 50, At(10, 5).Y}, clRed));
}

TEST_F(Bubbles, ABubbleCutAtTheChartsEdgeCastsNoShadowBeyondIt) {
    auto* s = Add<TBubbleSeries>({});
    s->AddBubble(0, 5, 3, {}, clRed);
    const auto picture = [&] {
        Draw();
        std::vector<probe::Rgb> p;
        for (int y = 0; y < out.GetHeight(); ++y)
            for (int x = 0; x < out.GetWidth(); ++x) p.push_back(Pixel({x, y}));
        return p;
    };
    const std::vector<probe::Rgb> plain = picture();
    s->GetPointer()->GetShadow()->SetVisible(true);
    s->GetPointer()->GetShadow()->SetSize(6);
    const std::vector<probe::Rgb> shaded = picture();
    const int axis = At(0, 5).X;
    int outside = 0, inside = 0;
    for (int y = 0; y < out.GetHeight(); ++y)
        for (int x = 0; x < out.GetWidth(); ++x) {
            const std::size_t i = static_cast<std::size_t>(y * out.GetWidth() + x);
            if (plain[i] == shaded[i]) continue;
            (x < axis - 1 ? outside : inside)++;
        }
    EXPECT_GT(inside, 0) << "the shadow falls inside the chart";
    EXPECT_EQ(outside, 0) << "and not over the axis labels";
}

TEST_F(Bubbles, TheVerticalRangeCoversEveryBubblesTopAndBottom) {
    auto* s = Add<TBubbleSeries>({});
    s->AddBubble(1, 5, 3);
    s->AddBubble(2, 1, 4);
    s->AddBubble(3, 8, 0);
    EXPECT_EQ(s->MaxYValue(), 8);
    EXPECT_EQ(s->MinYValue(), -3);
    EXPECT_EQ(s->GetRadiusValues()->GetName(), VavIve_ValuesBubbleRadius);
}

TEST_F(Bubbles, ABubbleOfRadiusZeroOrBelowAPixelIsADotThatCanBeClicked) {
    auto* s = Add<TBubbleSeries>({});
    s->AddBubble(3, 5, 0, {}, clRed);
    s->AddBubble(7, 5, 0.001, {}, clBlue);
    EXPECT_NO_THROW(Draw());
    SavePicture("bubble-dots.png");
    for (const auto& [x, color] : {std::pair{3.0, clRed}, std::pair{7.0, clBlue}}) {
        const TPoint c = At(x, 5);
        bool near = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) near = near || Is({c.X + dx, c.Y + dy}, color);
        EXPECT_TRUE(near) << x;
        EXPECT_FALSE(Is({c.X + 3, c.Y}, color)) << x << ": a dot, no more";
        EXPECT_EQ(s->Clicked(c.X + 1, c.Y), x == 3 ? 0 : 1) << "beside its centre";
        EXPECT_EQ(s->Clicked(c.X + 4, c.Y), -1) << x;
    }
    EXPECT_EQ(s->MaxYValue(), 5.001) << "they still count in the range";
}

TEST_F(Bubbles, AClickInsideTheCircleHitsAndInTheCornerOfItsSquareMisses) {
    auto* s = Add<TBubbleSeries>({});
    s->AddBubble(3, 3, 2, {}, clRed);
    s->AddBubble(7, 7, 1, {}, clBlue);
    Draw();
    EXPECT_EQ(s->Clicked(At(3, 4)), 0);
    EXPECT_EQ(s->Clicked(At(7, 7.5)), 1);
    EXPECT_EQ(s->Clicked(At(4.8, 4.8)), -1) << "inside the square, outside the circle";
    EXPECT_EQ(s->Clicked(At(9, 2)), -1);
}

TEST_F(Bubbles, PointerStylesAreHitInsideTheirOwnFigure) {
    auto* s = Add<TBubbleSeries>({});
    s->AddBubble(5, 5, 2, {}, clRed);
    Draw();
    const TPoint c = At(5, 5);
    const int r = c.Y - At(5, 7).Y;
    auto hit = [&](TSeriesPointerStyle Style, int Dx, int Dy) {
        s->GetPointer()->SetStyle(Style);
        return s->ClickedPointer(0, c.X, c.Y, c.X + Dx, c.Y + Dy);
    };
    EXPECT_TRUE(hit(psTriangle, 0, r - 2));
    EXPECT_FALSE(hit(psTriangle, r - 2, -r + 2)) << "beside the apex";
    EXPECT_TRUE(hit(psDownTriangle, r - 3, -r + 2));
    EXPECT_FALSE(hit(psDownTriangle, r - 2, r - 2));
    EXPECT_FALSE(hit(psDiamond, r - 2, r - 2));
    EXPECT_TRUE(hit(psDiamond, r / 2 - 1, 0));
    EXPECT_TRUE(hit(psRectangle, r - 2, r - 2));
    EXPECT_FALSE(hit(psNothing, 0, 0));
    EXPECT_TRUE(hit(psLeftTriangle, r - 2, 0));
    EXPECT_FALSE(hit(psLeftTriangle, -r + 2, r - 3));
    EXPECT_TRUE(hit(psRightTriangle, -r + 2, 0));
    EXPECT_FALSE(hit(psRightTriangle, r - 2, r - 3));
    EXPECT_FALSE(s->ClickedPointer(5, c.X, c.Y, c.X, c.Y)) << "no such bubble";
}

// ---------------------------------------------------------------------------
// Gantt bars

using Gantt = SeriesPictures;

TEST_F(Gantt, ABarRunsFromStartToEndOnItsRowAndAReversedTaskTheSameWay) {
    auto* s = Add<TGanttSeries>({});
    s->AddGanttColor(2, 6, 3, {}, clRed);
    s->AddGanttColor(8, 4, 7, {}, clBlue);
    Draw();
    SavePicture("gantt.png");
    EXPECT_TRUE(Is(At(2.5, 3), clRed));
    EXPECT_TRUE(Is(At(5.5, 3), clRed));
    EXPECT_FALSE(Is(At(6.5, 3), clRed));
    EXPECT_FALSE(Is(At(1.5, 3), clRed));
    EXPECT_FALSE(Is(At(4, 4), clRed)) << "the bar is thin";
    // The end before the start: still the bar between them.
    EXPECT_TRUE(Is(At(4.5, 7), clBlue));
    EXPECT_TRUE(Is(At(7.5, 7), clBlue));
    EXPECT_FALSE(Is(At(8.5, 7), clBlue));
    EXPECT_FALSE(Is(At(3.5, 7), clBlue));
}

TEST_F(Gantt, ANextTaskIsJoinedByAStepLineAndABadNextTaskDrawsNone) {
    struct Row {
        const char* rule;
        double next;
        bool joined;
        bool nextHasNoValue = false;
    };
    for (const Row& r : {Row{"next task", 1, true}, Row{"none", -1, false}, Row{"the count", 2, false},
                         Row{"beyond", 99, false}, Row{"far beyond", 1e300, false},
                         Row{"a next task without a value", 1, false, true}}) {
        chart->FreeAllSeries();
        auto* s = Add<TGanttSeries>({});
        s->GetConnectingPen()->SetColor(clBlue);
        s->AddGanttColor(1, 3, 2, {}, clRed);
        s->AddGanttColor(6, 9, 8, {}, clRed);
        s->GetNextTask()->SetValue(0, r.next);
        if (r.nextHasNoValue) s->SetNull(1);
        EXPECT_NO_THROW(Draw()) << r.rule;
        // The step turns halfway between the first end and the next start.
        EXPECT_EQ(Is(At(4.5, 5), clBlue), r.joined) << r.rule;
        EXPECT_EQ(Is(At(4, 2), clBlue), r.joined) << r.rule;
    }
}

TEST_F(Gantt, AClickBetweenStartAndEndHitsButOutsideOrAboveTheBarMisses) {
    auto* s = Add<TGanttSeries>({});
    s->AddGantt(2, 6, 3);
    s->AddGantt(9, 5, 7);
    Draw();
    const int v = s->GetPointer()->GetVertSize();
    EXPECT_EQ(s->Clicked(At(4, 3)), 0);
    EXPECT_EQ(s->Clicked(At(6, 3)), 0);
    EXPECT_EQ(s->Clicked(At(6.5, 3)), -1);
    EXPECT_EQ(s->Clicked(At(4, 3).X, At(4, 3).Y - v - 1), -1) << "above the bar";
    EXPECT_EQ(s->Clicked(At(7, 7)), 1) << "a reversed bar is hit where it is drawn";
    // In 3D the bar is a block from the front to the back of the depth: its top is hit too.
    chart->SetView3D(true);
    chart->Set3DPercent(100); // a box that holds the series
    s->SetDepth(40);
    Draw();
    TCanvas3D* c = chart->GetCanvas();
    const TPoint top = c->Calculate3DPosition(At(4, 3).X, At(4, 3).Y - v + 1, s->EndZ - 1);
    const TPoint above = c->Calculate3DPosition(At(4, 3).X, At(4, 3).Y - v - 2, s->EndZ);
    ASSERT_LT(top.Y, c->Calculate3DPosition(At(4, 3).X, At(4, 3).Y - v, s->StartZ).Y - 4);
    EXPECT_EQ(s->Clicked(top), 0) << "the top of the bar in 3D";
    EXPECT_EQ(s->Clicked(above), -1) << "above the bar in 3D";
}

TEST_F(Gantt, TasksStartWithoutANextTaskAndTheEndWidensTheRange) {
    auto* s = Add<TGanttSeries>({});
    s->AddGantt(2, 12, 1, u"A");
    s->AddXY(3, 2);
    EXPECT_EQ(s->GetNextTask()->GetValue(0), -1);
    EXPECT_EQ(s->GetNextTask()->GetValue(1), -1);
    EXPECT_EQ(s->MaxXValue(), 12);
    EXPECT_EQ(s->GetStartValues()->GetName(), VavIve_ValuesGanttStart);
    EXPECT_TRUE(s->GetStartValues()->GetDateTime());
    EXPECT_TRUE(s->GetEndValues()->GetDateTime());
    EXPECT_FALSE(s->YMandatory());
    EXPECT_EQ(s->GetPointer()->GetStyle(), psRectangle);
}

// ---------------------------------------------------------------------------
// Samples, assignment and registration

TEST(SampleRandom, ANonPositiveLimitGivesZero) {
    RandSeed = 12345;
    EXPECT_EQ(TChartSeries::RandomValue(0), 0);
    EXPECT_EQ(TChartSeries::RandomValue(-7), 0);
    for (int i = 0; i < 50; ++i) {
        const int v = TChartSeries::RandomValue(3);
        EXPECT_TRUE(v >= 0 && v < 3);
    }
}

using Samples = SeriesPictures;

TEST_F(Samples, SampleArrowsAndBubblesFromAFixedSeedEqualTheTable) {
    chart->FreeAllSeries();
    auto* a = Create<TArrowSeries>(nullptr);
    Owned<TArrowSeries> ownA(a);
    RandSeed = 1;
    a->FillSampleValues(3);
    ASSERT_EQ(a->Count(), 3);
    for (int i = 0; i < 3; ++i) {
        // Each arrow goes right and up from a start inside the bounds.
        EXPECT_GE(a->GetEndXValues()->GetValue(i), a->GetXValues()->GetValue(i));
        EXPECT_GE(a->GetEndYValues()->GetValue(i), a->GetYValues()->GetValue(i));
    }
    auto* b = Create<TBubbleSeries>(nullptr);
    Owned<TBubbleSeries> ownB(b);
    RandSeed = 1;
    b->FillSampleValues(0);
    ASSERT_EQ(b->Count(), 8);
    for (int i = 1; i < 8; ++i) EXPECT_GT(b->GetXValues()->GetValue(i), b->GetXValues()->GetValue(i - 1));
    // Arrows start on today's date: days from today.
    const double today = Date();
    std::vector<double> got;
    for (int i = 0; i < 3; ++i)
        got.insert(got.end(), {a->GetXValues()->GetValue(i) - today, a->GetYValues()->GetValue(i),
                               a->GetEndXValues()->GetValue(i) - today, a->GetEndYValues()->GetValue(i)});
    for (int i = 0; i < 8; ++i)
        got.insert(got.end(),
                   {b->GetYValues()->GetValue(i), Round(b->GetRadiusValues()->GetValue(i) * 3) / 3.0});
    const std::vector<double> table = {1,   861,       1,  1388,      1,   548,       2,   1142,
                                       2,   470,       3,  1081,      795, 377 / 3.0, 493, 359 / 3.0,
                                       429, 335 / 3.0, 20, 377 / 3.0, 396, 368 / 3.0, 404, 368 / 3.0,
                                       536, 359 / 3.0, 63, 500 / 3.0};
    ASSERT_EQ(got.size(), table.size());
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], table[i], 1e-9) << i;
}

// Each type's sample values on automatic axes, flat and in 3D, saved for a person
// to look at; each picture shows the series' colour inside the chart's rectangle.
TEST_F(Samples, EveryTypeDrawsItsSamplesFlatAndIn3D) {
    struct Row {
        const char* name;
        TChartSeries* (*make)(TComponent*);
    };
    const Row rows[] = {
        {"arrow", [](TComponent* O) -> TChartSeries* { return Create<TArrowSeries>(O); }},
        {"bubble", [](TComponent* O) -> TChartSeries* { return Create<TBubbleSeries>(O); }},
        {"gantt", [](TComponent* O) -> TChartSeries* { return Create<TGanttSeries>(O); }},
        {"shape", [](TComponent* O) -> TChartSeries* { return Create<TChartShape>(O); }},
    };
    chart->SetBounds(0, 0, 480, 320);
    for (const Row& r : rows) {
        chart->FreeAllSeries();
        chart->GetBottomAxis()->SetAutomatic(true);
        chart->GetLeftAxis()->SetAutomatic(true);
        TChartSeries* s = r.make(chart.get());
        chart->AddSeries(s);
        RandSeed = 3;
        s->FillSampleValues(8);
        s->SetColorEachPoint(false);
        s->SetSeriesColor(clRed);
        if (auto* shape = dynamic_cast<TChartShape*>(s)) shape->GetText()->Add(u"Узел");
        for (const bool in3D : {false, true}) {
            chart->SetView3D(in3D);
            Draw();
            SavePicture((std::string(r.name) + (in3D ? "-samples-3d.png" : "-samples.png")).c_str());
            const TRect cr = chart->GetChartRect();
            bool red = false;
            for (int y = cr.Top; y < cr.Bottom && !red; ++y)
                for (int x = cr.Left; x < cr.Right && !red; ++x)
                    red = Pixel({x, y}).r > 150 && Pixel({x, y}).g < 80;
            EXPECT_TRUE(red) << r.name << (in3D ? " in 3D" : "");
        }
    }
}

TEST_F(Samples, EveryLegendRowIsWrittenOnTheLegendsOwnColour) {
    chart->SetBounds(0, 0, 480, 320);
    chart->GetBottomAxis()->SetAutomatic(true);
    chart->GetLeftAxis()->SetAutomatic(true);
    auto* g = Create<TGanttSeries>(chart.get());
    chart->AddSeries(g);
    for (int i = 0; i < 6; ++i) g->AddGantt(45000 + i, 45003 + i, i, u"Task");
    // Pixels of Colour in the legend box, inside its frame.
    const auto share = [&](TColor Colour) {
        const TRect r = chart->GetLegend()->RectLegend;
        int n = 0, all = 0;
        for (int y = r.Top + 2; y < r.Bottom - 2; ++y)
            for (int x = r.Left + 2; x < r.Right - 2; ++x, ++all) n += Is({x, y}, Colour) ? 1 : 0;
        return all > 0 ? n * 100 / all : 100;
    };
    Draw();
    SavePicture("gantt-legend.png");
    // The pointer symbols leave an opaque black background on the canvas: rows of
    // text after the first came out as black blocks. The text itself is about a sixth of the
    // box; the blocks were well over half.
    EXPECT_LT(share(clBlack), 25);
    // A task without a value draws no symbol but leaves its colour in the brush: the next row
    // came out on a white block in a silver legend.
    const int none = g->AddNull(u"Пусто");
    g->AddGantt(45007, 45009, 7, u"Task");
    chart->GetLegend()->SetColor(clSilver);
    Draw();
    SavePicture("gantt-legend-null.png");
    EXPECT_LT(share(clWhite), 3);
    // Its row shows the label alone, not the date of nought; and it has no bar, where one
    // ran across the whole chart.
    EXPECT_EQ(chart->GetLegend()->FormattedValue(g, none), String(1, ZuzColumnSeparator) + u"Пусто");
    const TRect cr = chart->GetChartRect();
    const int top = g->CalcYPos(none) - g->GetPointer()->GetVertSize();
    int black = 0;
    for (int x = cr.Left + 2; x < cr.Right - 2; ++x) black += Is({x, top}, clBlack) ? 1 : 0;
    EXPECT_EQ(black, 0);
    EXPECT_EQ(g->Clicked((cr.Left + cr.Right) / 2, g->CalcYPos(none)), -1);
}

TEST_F(Samples, ArrowsBubblesAndTasksComeBackFromTheChartFileWithTheirOwnSettings) {
    ZuzStoreInitialization();
    RegisterClasses({&TChart::StaticClass(), &TArrowSeries::StaticClass(), &TBubbleSeries::StaticClass(),
                     &TGanttSeries::StaticClass()});
    chart->FreeAllSeries();
    chart->SetName(u"Chart1");
    auto* a = Add<TArrowSeries>({});
    a->SetName(u"Arrows");
    a->SetArrowPercent(30);
    a->SetArrowWidth(14);
    a->AddArrow(1, 2, 3, 4, u"вверх", clBlue);
    a->GetEndXValues()->SetDateTime(false);      // lists of dates to start with, made plain
    a->GetMarks()->SetTransparent(false);        // clear marks to start with, made opaque
    a->GetMarks()->GetFrame()->SetVisible(true); // and unframed, made framed
    auto* b = Add<TBubbleSeries>({});
    b->SetName(u"Bubbles");
    b->SetSquared(false);
    b->GetMarks()->SetTransparent(false);
    b->GetMarks()->GetFrame()->SetVisible(true);
    b->GetPointer()->SetInflateMargins(true); // room at the axes' ends, not what it is made with
    b->AddBubble(5, 5, 1.5, u"пузырь");
    b->AddBubble(6, 5, 0);
    auto* g = Add<TGanttSeries>({});
    g->SetName(u"Tasks");
    g->GetConnectingPen()->SetColor(clGreen);
    g->SetColorEachPoint(false); // one colour for all, not what it is made with
    g->AddGantt(45000, 45003, 1, u"Монтаж");
    g->AddGantt(45004, 45006, 2, u"Пуск");
    g->GetNextTask()->SetValue(0, 1);
    g->GetXValues()->SetDateTime(false);
    // Saved as shown: a bubble's size, here the nought of the last, stays its own.
    Draw();

    TMemoryStream file;
    SaveChartToStream(chart.get(), &file, true, true);
    const std::string text(static_cast<const char*>(file.Memory()), static_cast<std::size_t>(file.GetSize()));
    EXPECT_EQ(text.find("ArrowWidth"), std::string::npos) << "the head's size is the pointer's, stored there";
    file.SetPosition(0);
    Owned<TChart> back(Create<TChart>(nullptr));
    TCustomChart* target = back.get();
    LoadChartFromStream(target, &file);
    ASSERT_EQ(back->SeriesCount(), 3);
    auto* a2 = dynamic_cast<TArrowSeries*>(back->GetSeries(0));
    auto* b2 = dynamic_cast<TBubbleSeries*>(back->GetSeries(1));
    auto* g2 = dynamic_cast<TGanttSeries*>(back->GetSeries(2));
    ASSERT_TRUE(a2 && b2 && g2);
    EXPECT_EQ(a2->GetArrowPercent(), 30);
    EXPECT_EQ(a2->GetArrowWidth(), 14);
    ASSERT_EQ(a2->Count(), 1);
    EXPECT_EQ(a2->GetEndXValues()->GetValue(0), 3);
    EXPECT_EQ(a2->GetEndYValues()->GetValue(0), 4);
    EXPECT_EQ(a2->GetValueColor(0), clBlue);
    EXPECT_FALSE(a2->GetEndXValues()->GetDateTime());
    EXPECT_TRUE(a2->GetXValues()->GetDateTime());
    EXPECT_FALSE(g2->GetXValues()->GetDateTime());
    EXPECT_TRUE(g2->GetEndValues()->GetDateTime());
    EXPECT_FALSE(b2->GetSquared());
    EXPECT_FALSE(a2->GetMarks()->GetTransparent());
    EXPECT_FALSE(b2->GetMarks()->GetTransparent());
    EXPECT_TRUE(a2->GetMarks()->GetFrame()->GetVisible());
    EXPECT_TRUE(b2->GetMarks()->GetFrame()->GetVisible());
    EXPECT_TRUE(b2->GetPointer()->GetInflateMargins());
    EXPECT_FALSE(g2->GetColorEachPoint());
    ASSERT_EQ(b2->Count(), 2);
    EXPECT_EQ(b2->GetRadiusValues()->GetValue(0), 1.5);
    EXPECT_EQ(g2->GetConnectingPen()->GetColor(), clGreen);
    ASSERT_EQ(g2->Count(), 2);
    EXPECT_EQ(g2->GetEndValues()->GetValue(1), 45006);
    EXPECT_EQ(g2->GetNextTask()->GetValue(0), 1) << "the link to the next task is kept";
    EXPECT_EQ(g2->GetNextTask()->GetValue(1), -1);
    EXPECT_EQ(g2->Labels().GetLabel(0), u"Монтаж");
    TMemoryStream again;
    SaveChartToStream(back.get(), &again, true, true);
    EXPECT_EQ(
        std::string(static_cast<const char*>(again.Memory()), static_cast<std::size_t>(again.GetSize())),
        text);
    ZuzStoreFinalization();
}

TEST_F(Samples, SampleGanttTasksStartFromTodayAndLinkToALaterTask) {
    auto* g = Create<TGanttSeries>(nullptr);
    Owned<TGanttSeries> own(g);
    RandSeed = 7;
    g->FillSampleValues(40);
    const int n = g->Count();
    EXPECT_GE(n, 10);
    EXPECT_LE(n, 30);
    const double today = Date();
    int linked = 0;
    for (int i = 0; i < n; ++i) {
        const double start = g->GetStartValues()->GetValue(i), end = g->GetEndValues()->GetValue(i);
        EXPECT_GE(start, today);
        EXPECT_GE(end - start, 9);
        EXPECT_LE(end - start, 24);
        const double next = g->GetNextTask()->GetValue(i);
        if (next != -1) {
            ++linked;
            ASSERT_GE(next, 0);
            ASSERT_LT(next, n);
            EXPECT_LT(end, g->GetStartValues()->GetValue(static_cast<int>(next)));
        }
    }
    EXPECT_GT(linked, 0);
    g->FillSampleValues(1);
    EXPECT_EQ(g->Count(), 1) << "one value asked, one task";
}

TEST_F(Samples, AssignCopiesTheTypesOwnSettingsAndSourcesMustBeOfTheSameType) {
    auto* b1 = Add<TBubbleSeries>({});
    auto* b2 = Add<TBubbleSeries>({});
    b1->SetSquared(false);
    b2->Assign(b1);
    EXPECT_FALSE(b2->GetSquared());
    auto* g1 = Add<TGanttSeries>({});
    auto* g2 = Add<TGanttSeries>({});
    g1->GetConnectingPen()->SetColor(clLime);
    g2->Assign(g1);
    EXPECT_EQ(g2->GetConnectingPen()->GetColor(), clLime);
    auto* a = Add<TArrowSeries>({});
    EXPECT_TRUE(b1->IsValidSourceOf(b2));
    EXPECT_FALSE(b1->IsValidSourceOf(g1));
    EXPECT_TRUE(g1->IsValidSourceOf(g2));
    EXPECT_FALSE(g1->IsValidSourceOf(a));
    EXPECT_FALSE(a->IsValidSourceOf(b1));
}

TEST_F(Samples, TheTypesRegisterWithTheirDescriptionsPagesAndGallerySeries) {
    const KeepTypes keep;
    ZuzSeriesTypes().Clear();
    ArrowChaInitialization();
    BubbleChInitialization();
    GanttChInitialization();
    struct Row {
        const ClassInfo* cls;
        const String& description;
        const String& page;
        int gallery;
        const char* name;
    };
    for (const Row& r :
         {Row{&TArrowSeries::StaticClass(), VavIve_GalleryArrow, VavIve_GalleryExtended, 2, "TArrowSeries"},
          Row{&TBubbleSeries::StaticClass(), VavIve_GalleryBubble, VavIve_GalleryStandard, 1,
              "TBubbleSeries"},
          Row{&TGanttSeries::StaticClass(), VavIve_GalleryGantt, VavIve_GalleryStandard, 1,
              "TGanttSeries"}}) {
        const TZuzSeriesType* t = ZuzSeriesTypes().Find(r.cls);
        ASSERT_NE(t, nullptr) << r.name;
        EXPECT_EQ(t->GetDescription(), r.description);
        EXPECT_EQ(t->GetGalleryPage(), r.page);
        EXPECT_EQ(t->NumGallerySeries, r.gallery);
        EXPECT_NE(GetClass(r.name), nullptr) << "a stream can create it by name";
    }
    EXPECT_EQ(ZuzSeriesTypes().Find(&TGanttSeries::StaticClass())->GetDescription(), u"Gantt");
    ArrowChaFinalization();
    EXPECT_EQ(ZuzSeriesTypes().Find(&TArrowSeries::StaticClass()), nullptr);
}

} // namespace
