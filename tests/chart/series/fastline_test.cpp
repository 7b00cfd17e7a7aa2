// The fast line series drawn on a chart and probed pixel by pixel: every
// point or one per pixel column, null points joined, broken or stepped over,
// stairs, a new point drawn at once with automatic repaint off (with the
// device-context pen too), the hit test, margins and the colour rule.
#include "chart/canvas/zuzcanvas.h"
#include "linefixture.h"
#include "tests/chart/series/picturefile.h"
#include "tests/support/streamtext.h"

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

class TPaintChart : public TChart {
public:
    using TChart::TChart;
    void Paint() { TChart::Paint(); }
};

struct Pt {
    double x, y;
    bool null = false;
};

class FastLine : public LineTest {
protected:
    void SetUp() override {
        LineTest::SetUp();
        series = Add<TFastLineSeries>({});
    }
    void Fill(std::initializer_list<Pt> Points) {
        for (const Pt& p : Points)
            if (p.null)
                series->AddNullXY(p.x, p.y);
            else
                series->AddXY(p.x, p.y);
    }
    bool Red(TPoint P) { return Is(P, clRed); }
    bool RedNear(TPoint P) { return Near(P, clRed); }

    TFastLineSeries* series = nullptr;
};

} // namespace

// ---------------------------------------------------------------------------
// Drawing

TEST_F(FastLine, TheLineStartsOnTheFirstPointAndStopsJustBeforeTheLast) {
    Fill({{1, 4}, {9, 4}});
    Draw();
    const TPoint a = At(1, 4), b = At(9, 4);
    EXPECT_TRUE(Red(a));
    EXPECT_FALSE(Red({a.X - 1, a.Y}));
    EXPECT_TRUE(Red({b.X - 1, b.Y}));
    EXPECT_FALSE(Red(b));
    EXPECT_FALSE(Red({a.X + 20, a.Y - 1})) << "pen width 1";
}

TEST_F(FastLine, AllPointsDrawASpikeWithinOnePixelColumnAndOnePerColumnDoesNot) {
    Fill({{0, 2}, {4, 2}, {4.001, 8}, {4.002, 2}, {10, 2}});
    Draw();
    ASSERT_EQ(At(4, 0).X, At(4.002, 0).X) << "the three points share a column";
    const TPoint spike = At(4, 5), after = At(7, 2);
    EXPECT_TRUE(Red(spike));
    EXPECT_TRUE(Red(after));

    series->SetDrawAllPoints(false);
    Draw();
    EXPECT_FALSE(Red(spike));
    EXPECT_TRUE(Red(after)) << "the line goes on from the column's first point";
}

TEST_F(FastLine, NullPointsAreJoinedBrokenOrSteppedOverAsTheSeriesSays) {
    Fill({{0, 2}, {3, 2}, {5, 8, true}, {7, 2}, {10, 2}});
    Draw();
    const TPoint intoNull = At(4, 5), outOfNull = At(6, 5), across = At(5, 2), before = At(1.5, 2),
                 after = At(8.5, 2);
    struct Row {
        const char* rule;
        bool ignoreNulls;
        TTreatNullsStyle treat;
        bool intoNull, outOfNull, across;
    };
    const Row rows[] = {
        {"ByDefaultANullIsJoinedLikeAnyPoint", true, tnIgnore, true, true, false},
        {"IgnoringNullsLeavesTheRuleUnasked", true, tnDontPaint, true, true, false},
        {"DontPaintLeavesAGapFromTheNullToTheNextPoint", false, tnDontPaint, false, false, false},
        {"SkipJoinsThePointsEitherSideOfTheNull", false, tnSkip, false, false, true},
        {"IgnoreDrawsTheNullAtItsValue", false, tnIgnore, true, true, false},
    };
    for (const Row& r : rows) {
        series->SetIgnoreNulls(r.ignoreNulls);
        series->SetTreatNulls(r.treat);
        Draw();
        EXPECT_EQ(RedNear(intoNull), r.intoNull) << r.rule;
        EXPECT_EQ(RedNear(outOfNull), r.outOfNull) << r.rule;
        EXPECT_EQ(Red(across), r.across) << r.rule;
        EXPECT_TRUE(Red(before)) << r.rule;
        EXPECT_TRUE(Red(after)) << r.rule;
    }
}

TEST_F(FastLine, StairsStepAcrossThenUpAndInvertedStairsUpThenAcross) {
    Fill({{2, 2}, {8, 8}});
    series->SetStairs(true);
    Draw();
    const TPoint tread = At(5, 2), riser = At(8, 5), invertedRiser = At(2, 5), invertedTread = At(5, 8);
    EXPECT_TRUE(Red(tread));
    EXPECT_TRUE(Red(riser));
    EXPECT_FALSE(Red(invertedRiser));
    EXPECT_FALSE(Red(invertedTread));
    EXPECT_FALSE(RedNear(At(5, 5))) << "no diagonal";

    series->SetInvertedStairs(true);
    Draw();
    EXPECT_FALSE(Red(tread));
    EXPECT_FALSE(Red(riser));
    EXPECT_TRUE(Red(invertedRiser));
    EXPECT_TRUE(Red(invertedTread));
}

TEST_F(FastLine, InThreeDimensionsTheLineRunsAtTheSeriesMiddleDepth) {
    Fill({{1, 4}, {9, 4}});
    chart->SetView3D(true);
    chart->Set3DPercent(100); // a box that holds the series
    series->SetDepth(40);
    Draw();
    ASSERT_GT(series->MiddleZ, 5);
    TCanvas3D* c = chart->GetCanvas();
    const TPoint flat = At(5, 4), deep = c->Calculate3DPosition(flat, series->MiddleZ);
    ASSERT_NE(flat, deep);
    EXPECT_TRUE(RedNear(deep));
    EXPECT_FALSE(RedNear(flat));
    // A click on the drawn line finds it.
    EXPECT_EQ(series->Clicked(deep), 0);
}

TEST_F(FastLine, ASeriesStartingLeftOfTheChartComesInFromThePointBefore) {
    Fill({{-10, 4}, {5, 4}, {9, 4}});
    chart->GetBottomAxis()->SetMinMax(2, 10);
    Draw();
    EXPECT_EQ(series->FirstVisibleIndex, 1);
    const TPoint edge = At(2.5, 4);
    EXPECT_TRUE(Red(edge));
}

// ---------------------------------------------------------------------------
// A new point with automatic repaint off

class FastLineOnScreen : public FastLine {
protected:
    TChart* NewChart() override { return Create<TPaintChart>(nullptr); }
    void SetUp() override {
        FastLine::SetUp();
        form = MakeOwned<TForm>(nullptr);
        chart->SetParent(form.get());
        Fill({{0, 2}, {5, 2}});
        Paint();
    }
    void TearDown() override { chart->SetParent(nullptr); }
    void Paint() { static_cast<TPaintChart*>(chart.get())->Paint(); }
    // What the chart's window shows now.
    bool RedOnScreenNear(TPoint P) {
        const auto c = static_cast<COLORREF>(ColorToRGB(clRed));
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (probe::Pixel(*chart, P.X + dx, P.Y + dy) ==
                    probe::Rgb{GetRValue(c), GetGValue(c), GetBValue(c)})
                    return true;
        return false;
    }
    Owned<TForm> form;
};

TEST_F(FastLineOnScreen, WithAutoRepaintANewPointWaitsForThePaint) {
    series->AddXY(10, 8);
    EXPECT_FALSE(RedOnScreenNear(At(7.5, 5)));
    Paint();
    EXPECT_TRUE(RedOnScreenNear(At(7.5, 5)));
}

TEST_F(FastLineOnScreen, WithoutAutoRepaintANewPointIsOneMoreSegmentDrawnAtOnce) {
    series->SetAutoRepaint(false);
    series->AddXY(10, 8);
    EXPECT_TRUE(RedOnScreenNear(At(7.5, 5)));
    EXPECT_TRUE(RedOnScreenNear(At(2.5, 2))) << "the picture before stays";
}

TEST_F(FastLineOnScreen, AHiddenSeriesDrawsNoNewSegment) {
    series->SetAutoRepaint(false);
    series->SetActive(false);
    Paint();
    series->AddXY(10, 8);
    EXPECT_FALSE(RedOnScreenNear(At(7.5, 5)));
}

TEST_F(FastLineOnScreen, TheDeviceContextPenDrawsInTheLineColourAndLeavesTheCanvasPen) {
    TCanvas3D* c = chart->GetCanvas();
    c->Pen->SetColor(clBlue);
    c->Pen->SetStyle(psSolid);
    c->Pen->SetWidth(1);
    const TPoint p = At(2, 6), q = At(4, 6), r = At(6, 7);
    c->MoveTo(p.X, p.Y);
    c->LineTo(q.X, q.Y); // the canvas's blue pen is in the device now
    series->SetAutoRepaint(false);
    series->SetFastPen(true);
    ASSERT_TRUE(series->GetFastPen());
    series->AddXY(10, 8);
    EXPECT_TRUE(RedOnScreenNear(At(7.5, 5)));
    // The canvas, its pen unchanged, draws blue again afterwards.
    c->MoveTo(q.X, r.Y);
    c->LineTo(r.X, r.Y);
    EXPECT_EQ(probe::Pixel(*chart, (q.X + r.X) / 2, r.Y), (probe::Rgb{0, 0, 255}));
}

TEST_F(FastLine, TheFastPenStaysOffWhereTheSystemCannotColourIt) {
    const auto saved = ZuzSetDCPenColor;
    ZuzSetDCPenColor = nullptr;
    series->SetFastPen(true);
    EXPECT_FALSE(series->GetFastPen());
    ZuzSetDCPenColor = saved;
    series->SetFastPen(true);
    EXPECT_TRUE(series->GetFastPen());
}

TEST_F(FastLine, ANewPointWithoutAChartIsOnlyStoredAndOneBeforeAnyPaintFailsNot) {
    Owned<TFastLineSeries> alone(Create<TFastLineSeries>(nullptr));
    alone->SetAutoRepaint(false);
    alone->SetFastPen(true);
    EXPECT_NO_THROW(alone->AddXY(1, 1));
    EXPECT_NO_THROW(alone->AddXY(2, 3));
    EXPECT_EQ(alone->Count(), 2);
    // A chart that has no window yet and was never drawn.
    series->SetAutoRepaint(false);
    EXPECT_NO_THROW(series->AddXY(1, 1));
    EXPECT_NO_THROW(series->AddXY(2, 3));
    EXPECT_EQ(series->Count(), 2);
}

TEST_F(FastLine, WithoutAutoRepaintANewPointStillReachesTheAddEventAndSeriesFedFromIt) {
    Fill({{0, 2}, {5, 2}});
    std::vector<int> heard;
    series->OnAfterAdd.Bind([&](TChartSeries*, int Index) { heard.push_back(Index); });
    TChartSeries* copy = Add<TLineSeries>({});
    copy->SetDataSource(series);
    ASSERT_EQ(copy->Count(), 2);
    series->SetAutoRepaint(false);
    series->AddXY(10, 8);
    EXPECT_EQ(heard, std::vector<int>{2});
    ASSERT_EQ(copy->Count(), 3);
    EXPECT_EQ(copy->YValue(2), 8);
}

// ---------------------------------------------------------------------------
// Hit test, margins, colours, defaults

TEST_F(FastLine, AClickOnALineOrAPointFindsThePointTheLineLeaves) {
    Fill({{1, 2}, {5, 2}, {9, 8}});
    Draw();
    EXPECT_EQ(series->Clicked(At(1, 2)), 0);
    EXPECT_EQ(series->Clicked(At(3, 2)), 0);
    EXPECT_EQ(series->Clicked(At(5, 2)), 1);
    EXPECT_EQ(series->Clicked(At(9, 8)), 2);
    EXPECT_EQ(series->Clicked(At(3, 6)), -1);
    EXPECT_EQ(series->Clicked(At(9, 2)), -1) << "the corner a step would turn";
    // A step is hit only on the legs drawn: across then up, inverted up then across.
    series->SetStairs(true);
    EXPECT_EQ(series->Clicked(At(9, 2)), 1);
    EXPECT_EQ(series->Clicked(At(9, 5)), 1);
    EXPECT_EQ(series->Clicked(At(7, 2)), 1);
    EXPECT_EQ(series->Clicked(At(7, 5)), -1) << "the diagonal is not drawn";
    EXPECT_EQ(series->Clicked(At(5, 5)), -1);
    EXPECT_EQ(series->Clicked(At(7, 8)), -1);
    series->SetInvertedStairs(true);
    EXPECT_EQ(series->Clicked(At(5, 8)), 1);
    EXPECT_EQ(series->Clicked(At(5, 5)), 1);
    EXPECT_EQ(series->Clicked(At(7, 8)), 1);
    EXPECT_EQ(series->Clicked(At(9, 5)), -1);
    EXPECT_EQ(series->Clicked(At(7, 2)), -1);
    EXPECT_EQ(series->Clicked(At(5, 5).X + 3, At(5, 5).Y), -1) << "beside the riser";
    EXPECT_EQ(series->Clicked(At(7, 8).X, At(7, 8).Y + 3), -1) << "beside the tread";
    series->Clear();
    EXPECT_EQ(series->Clicked(At(1, 2)), -1) << "no visible points";
}

// Both margins grow by the width less half of what it has beyond two.
TEST_F(FastLine, MarginsGrowByThePenWidthLessHalfOfItsExcessOverTwo) {
    for (const auto& [width, margin] : {std::pair{1, 1}, {2, 2}, {3, 3}, {4, 3}, {7, 5}}) {
        series->GetLinePen()->SetWidth(width);
        int a = 0, b = 0;
        series->CalcHorizMargins(a, b);
        EXPECT_EQ(std::pair(a, b), std::pair(margin, margin)) << "width " << width;
        series->CalcVerticalMargins(a, b);
        EXPECT_EQ(std::pair(a, b), std::pair(margin, margin)) << "width " << width;
    }
}

TEST_F(FastLine, TheSeriesColourAndTheLineColourAlwaysAgree) {
    series->SetSeriesColor(clBlue);
    EXPECT_EQ(series->GetLinePen()->GetColor(), clBlue);
    TChartPen pen(TNotifyEvent{});
    pen.SetColor(clGreen);
    series->SetLinePen(&pen);
    EXPECT_EQ(series->GetSeriesColor(), clGreen);
    // A series that takes the chart's next free colour draws in it.
    auto* second = Create<TFastLineSeries>(chart.get());
    chart->AddSeries(second);
    EXPECT_NE(second->GetSeriesColor(), clGreen);
    EXPECT_EQ(second->GetLinePen()->GetColor(), second->GetSeriesColor());
    // A black line is written all the same, or it would load in the colour the chart gives.
    second->SetName(u"Fast2");
    second->GetLinePen()->SetColor(clBlack);
    EXPECT_NE(streamtext::ObjectText(second).find("LinePen.Color = clBlack"), std::string::npos);
}

TEST_F(FastLine, DefaultsGalleryAndCopying) {
    EXPECT_TRUE(series->GetAutoRepaint());
    EXPECT_TRUE(series->GetDrawAllPoints());
    EXPECT_TRUE(series->GetIgnoreNulls());
    EXPECT_FALSE(series->GetFastPen());
    EXPECT_FALSE(series->GetStairs());
    EXPECT_EQ(series->GetTreatNulls(), tnIgnore);
    EXPECT_TRUE(series->KeepPointBeyondEdge);
    EXPECT_FALSE(series->SingleFunctionPoint);
    EXPECT_EQ(series->GetEditorClass(), u"TFastLineSeriesEditor");

    std::vector<String> names;
    series->CreateSubGallery([&](const String& Name) { names.push_back(Name); });
    EXPECT_EQ(names, (std::vector<String>{u"Normal", u"Marks", u"Dotted", u"Stairs"}));
    series->SetSubGallery(series, 2);
    EXPECT_TRUE(series->GetLinePen()->GetSmallDots());
    series->SetSubGallery(series, 3);
    EXPECT_TRUE(series->GetStairs());

    series->SetDrawAllPoints(false);
    series->SetIgnoreNulls(false);
    series->SetInvertedStairs(true);
    series->SetAutoRepaint(false);
    series->SetTreatNulls(tnSkip);
    Owned<TFastLineSeries> copy(Create<TFastLineSeries>(nullptr));
    copy->Assign(series);
    EXPECT_FALSE(copy->GetDrawAllPoints());
    EXPECT_FALSE(copy->GetIgnoreNulls());
    EXPECT_FALSE(copy->GetAutoRepaint());
    EXPECT_TRUE(copy->GetStairs());
    EXPECT_TRUE(copy->GetInvertedStairs());
    EXPECT_EQ(copy->GetTreatNulls(), tnSkip);
}

TEST_F(FastLine, ItsSettingsStreamOnlyWhenTheyDifferFromTheDefaults) {
    series->SetName(u"Fast1");
    std::string text = streamtext::ObjectText(series);
    for (const char* name : {"AutoRepaint", "DrawAllPoints", "IgnoreNulls", "Stairs", "TreatNulls"})
        EXPECT_EQ(text.find(name), std::string::npos) << name << " in\n" << text;
    series->SetAutoRepaint(false);
    series->SetDrawAllPoints(false);
    series->SetIgnoreNulls(false);
    series->SetStairs(true);
    series->SetInvertedStairs(true);
    series->SetTreatNulls(tnDontPaint);
    text = streamtext::ObjectText(series);
    Owned<TFastLineSeries> back(Create<TFastLineSeries>(nullptr));
    streamtext::ReadText(text, back.get());
    EXPECT_FALSE(back->GetAutoRepaint());
    EXPECT_FALSE(back->GetDrawAllPoints());
    EXPECT_FALSE(back->GetIgnoreNulls());
    EXPECT_TRUE(back->GetStairs());
    EXPECT_TRUE(back->GetInvertedStairs());
    EXPECT_EQ(back->GetTreatNulls(), tnDontPaint) << text;

    // The series' settings come first, the fast line's own next and the values last; a file
    // of the order written before still loads, by name.
    series->SetShowInLegend(false);
    series->SetTitle(u"Расход");
    text = streamtext::ObjectText(series);
    std::size_t last = 0;
    for (const char* name : {"Marks", "ShowInLegend", "Title", "AutoRepaint", "DrawAllPoints", "IgnoreNulls",
                             "InvertedStairs", "LinePen", "Stairs", "TreatNulls", "XValues", "YValues"}) {
        const std::size_t at = text.find(std::string("\n  ") + name);
        ASSERT_NE(at, std::string::npos) << name << " in\n" << text;
        EXPECT_GT(at, last) << name << " in\n" << text;
        last = at;
    }
    Owned<TFastLineSeries> older(Create<TFastLineSeries>(nullptr));
    streamtext::ReadText("object Fast1: TFastLineSeries\n  ShowInLegend = False\n  Title = 'old'\n"
                         "  TreatNulls = tnSkip\n  XValues.Order = loNone\n  AutoRepaint = False\n"
                         "  Stairs = True\nend\n",
                         older.get());
    EXPECT_FALSE(older->GetShowInLegend());
    EXPECT_EQ(older->GetTitle(), u"old");
    EXPECT_EQ(older->GetTreatNulls(), tnSkip);
    EXPECT_EQ(older->GetXValues()->GetOrder(), loNone);
    EXPECT_FALSE(older->GetAutoRepaint());
    EXPECT_TRUE(older->GetStairs());
}

// ---------------------------------------------------------------------------
// A picture to look at

TEST_F(FastLine, ThirteenHourlySeriesOverAMonthShowEachInItsColourWithTheirGaps) {
    chart->SetBounds(0, 0, 800, 500);
    chart->RemoveAllSeries();
    chart->GetLeftAxis()->SetAutomatic(true);
    chart->GetBottomAxis()->SetAutomatic(true);
    const double start = EncodeDate(2026, 1, 1);
    std::vector<TFastLineSeries*> all;
    for (int k = 0; k < 13; ++k) {
        auto* s = Create<TFastLineSeries>(chart.get());
        chart->AddSeries(s);
        s->GetLinePen()->SetWidth(2);
        s->SetIgnoreNulls(false);
        s->SetTreatNulls(tnDontPaint);
        s->GetXValues()->SetDateTime(true);
        for (int h = 0; h < 24 * 31; ++h) {
            const double x = start + h / 24.0, y = 100 * k + 30 * std::sin(h / (6.0 + k));
            if (h % 200 >= 190 + k % 5) // a few hours missing, a gap in each series
                s->AddNullXY(x, y);
            else
                s->AddXY(x, y);
        }
        all.push_back(s);
    }
    Draw();
    const TRect r = chart->GetChartRect();
    for (TFastLineSeries* s : all) {
        int coloured = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) coloured += Is({x, y}, s->GetSeriesColor());
        EXPECT_GT(coloured, 500) << UTF8Encode(s->GetName());
    }
    EXPECT_TRUE(KeepPicture(probe::Grab(out), "fastline.png"));
}
