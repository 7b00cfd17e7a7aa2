// The axis panel and the chart control: the drawing order, the standard axes,
// the series list and its colours, the depth of series, ranges and paging,
// switches restored after a failing draw, and a chart streamed and read back.
#include "chart/engine/chart.h"

#include "chart/canvas/zuzcanvas.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/colorpalettes.h"
#include "chart/engine/serieslist.h"
#include "chart/engine/zuzfunction.h"
#include "charttestseries.h"
#include "fakechart.h"
#include "platform/gui/forms.h"
#include "tests/support/guiprobe.h"
#include "tests/support/picturefile.h"
#include "tests/support/streamtext.h"
#include "tests/support/testclass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// A canvas that notes the steps it is asked for besides drawing them.
class TRecordingCanvas : public TZuzCanvas3D {
public:
    TRecordingCanvas() { RecordsEntities = true; }
    void Projection(int MaxDepth, const TRect& ABounds, const TRect& ARect) override {
        Note("projection");
        TZuzCanvas3D::Projection(MaxDepth, ABounds, ARect);
    }
    // Only the outermost entities: the road's own, not the parts inside them.
    void BeginEntity(const String& Name) override {
        if (depth++ == 0) Note("begin " + std::string(UTF8Encode(Name)));
    }
    void EndEntity() override {
        if (--depth == 0) Note("end");
    }
    int depth = 0;
};

// A tool that notes the chart's events.
class TNoteTool : public testsupport::TTestClass<TNoteTool, TZuzCustomTool, "TNoteTool"> {
public:
    using TTestClass::TTestClass;
    void ChartEvent(TChartToolEvent E) override {
        static const char* names[] = {"tool after draw",  "tool before series", "tool before draw",
                                      "tool before axes", "tool after series",  "tool mouse leave"};
        Note(names[E]);
    }
};

// A chart that notes the road's hooks.
class TNoteChart : public TChart {
public:
    using TChart::TChart;
    void CalcWallsRect() override {
        Note("walls rect");
        TChart::CalcWallsRect();
    }
    void DrawWalls() override { Note(AutoRepaint ? "walls (repainting!)" : "walls"); }
    void DrawTitlesAndLegend(bool BeforeSeries) override {
        Note(BeforeSeries ? "titles before" : "titles after");
    }
    void DoOnBeforeDrawChart() override { Note("before chart"); }
    void DoOnBeforeDrawSeries() override { Note("before series"); }
    void DoOnAfterDraw() override { Note("after draw"); }
    void Paint() override { TChart::Paint(); }
};

class ChartTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        StartEngineUnits();
        RegisterClass(TPolySeries::StaticClass());
        RegisterClass(TChart::StaticClass());
        GdiSetTextAntialiasing(false);
    }
    void SetUp() override { Log = &log; }
    void TearDown() override { Log = nullptr; }

    template <class C = TChart>
    Owned<C> NewChart(int W = 400, int H = 300) {
        Owned<C> c(Create<C>(nullptr));
        c->SetBounds(0, 0, W, H);
        c->SetBevelOuter(bvNone);
        c->SetView3D(false);
        c->SetColor(clWhite);
        return c;
    }
    static TPolySeries* AddLine(TCustomAxisPanel* Chart, int Points, double Step = 1) {
        auto* s = Create<TPolySeries>(nullptr);
        Chart->AddSeries(s);
        for (int i = 0; i < Points; ++i) s->AddXY(i * Step, i % 7);
        return s;
    }
    static void DrawOn(TCustomZuzPanel* Chart, TBitmap& Out) {
        Out.SetSize(Chart->GetWidth(), Chart->GetHeight());
        Chart->Draw(Out.GetCanvas(), TRect(0, 0, Chart->GetWidth(), Chart->GetHeight()));
    }
    std::vector<std::string> log;
};

} // namespace

// ---------------------------------------------------------------------------
// The drawing road

TEST_F(ChartTest, TheRoadDrawsItsStepsInTheirFixedOrder) {
    auto chart = NewChart<TNoteChart>();
    chart->SetInternalCanvas(new TRecordingCanvas);
    chart->GetToolsList()->Add(Create<TNoteTool>(chart.get()));
    TPolySeries* s = AddLine(chart.get(), 2);
    s->SetName(u"Line1");
    TBitmap out;
    DrawOn(chart.get(), out);
    const std::vector<std::string> expected = {"tool before draw",
                                               "before chart",
                                               "series before chart",
                                               "titles before",
                                               "walls rect",
                                               "projection",
                                               "walls",
                                               "tool before axes",
                                               "begin axes",
                                               "end",
                                               "tool before series",
                                               "before series",
                                               "begin Line1",
                                               "value 0",
                                               "value 1",
                                               "end",
                                               "tool after series",
                                               "titles after",
                                               "tool after draw",
                                               "after draw"};
    EXPECT_EQ(log, expected);

    // Axes in front of the series come after them.
    chart->SetAxisBehind(false);
    log.clear();
    DrawOn(chart.get(), out);
    // The axes' three steps move from before the series to after them.
    std::vector<std::string> front = expected;
    const auto axes = front.begin() + 7;
    ASSERT_EQ(*axes, "tool before axes");
    front.erase(axes, axes + 3);
    front.insert(front.begin() + 14, {"tool before axes", "begin axes", "end"});
    ASSERT_EQ(front[13], "tool after series");
    EXPECT_EQ(log, front);
    EXPECT_TRUE(chart->AutoRepaint);
}

TEST_F(ChartTest, SeriesSharingADepthSlotAreDrawnPointByPointTogether) {
    auto chart = NewChart<TNoteChart>();
    chart->SetView3D(true);
    TPolySeries* a = AddLine(chart.get(), 3);
    TPolySeries* b = AddLine(chart.get(), 2);
    a->Mark = 1;
    b->Mark = 2;
    a->SetZOrder(0);
    b->SetZOrder(0);
    TBitmap out;
    DrawOn(chart.get(), out);
    std::vector<std::string> drawn;
    for (const auto& v : log)
        if (v.rfind("value", 0) == 0) drawn.push_back(v);
    // Point 0 of both, then point 1 of both, then the rest of the longer one.
    EXPECT_EQ(drawn, (std::vector<std::string>{"value 0 of 1", "value 0 of 2", "value 1 of 1", "value 1 of 2",
                                               "value 2 of 1"}));
}

TEST_F(ChartTest, AFailingDrawPutsTheSwitchesBackAndAFailingPaintIsNotRetriedUntilAChange) {
    auto chart = NewChart<TNoteChart>();
    TPolySeries* s = AddLine(chart.get(), 3);
    s->FailAt = 1;
    TBitmap out;
    EXPECT_THROW(DrawOn(chart.get(), out), Exception);
    EXPECT_TRUE(chart->AutoRepaint);
    // The window's paint: the first failure goes out, the next paints wait for a change.
    auto form = MakeOwned<TForm>(nullptr);
    chart->SetParent(form.get());
    s->Drawn = 0;
    EXPECT_THROW(chart->Paint(), Exception);
    EXPECT_NO_THROW(chart->Paint());
    EXPECT_EQ(s->Drawn, 2);
    s->FailAt = -1;
    chart->Invalidate();
    EXPECT_NO_THROW(chart->Paint());
    EXPECT_EQ(s->Drawn, 5);
    chart->SetParent(nullptr);
}

TEST_F(ChartTest, AnEmptyChartAndAChartOfOnePointDraw) {
    auto chart = NewChart();
    TBitmap out;
    EXPECT_NO_THROW(DrawOn(chart.get(), out));
    AddLine(chart.get(), 1);
    EXPECT_NO_THROW(DrawOn(chart.get(), out));
    chart->SetView3D(true);
    EXPECT_NO_THROW(DrawOn(chart.get(), out));
}

TEST_F(ChartTest, ASmallChartShowsItsAxesAndGridWhereTheyBelong) {
    auto chart = NewChart(200, 150);
    TPolySeries* s = AddLine(chart.get(), 5);
    s->DrawLines = false;
    chart->GetLeftAxis()->GetGrid()->SetStyle(psSolid);
    chart->GetLeftAxis()->GetGrid()->SetColor(clRed);
    TBitmap out;
    DrawOn(chart.get(), out);
    const TRect r = chart->GetChartRect();
    ASSERT_GT(r.Width(), 50);
    // The left axis's line runs down the left edge and the bottom one along the bottom.
    EXPECT_EQ(probe::Pixel(out, r.Left, (r.Top + r.Bottom) / 2), (probe::Rgb{0, 0, 0}));
    EXPECT_EQ(probe::Pixel(out, (r.Left + r.Right) / 2, r.Bottom), (probe::Rgb{0, 0, 0}));
    // A grid line of the left axis crosses the chart at the label of 3.
    const int y = chart->GetLeftAxis()->CalcPosValue(3);
    EXPECT_EQ(probe::Pixel(out, (r.Left + r.Right) / 2 + 1, y), (probe::Rgb{255, 0, 0}));
    // Inside the chart, between the grid lines, the background shows.
    int white = 0;
    for (int yy = chart->GetLeftAxis()->CalcPosValue(4); yy < y; ++yy)
        if (probe::Pixel(out, (r.Left + r.Right) / 2, yy) == probe::Rgb{255, 255, 255}) ++white;
    EXPECT_GT(white, 0);
}

// ---------------------------------------------------------------------------
// Axes, series and colours

TEST_F(ChartTest, TheSixStandardAxesComeInCreationOrder) {
    auto chart = NewChart();
    TChartAxes* axes = chart->GetAxes();
    ASSERT_EQ(axes->Count(), 6);
    EXPECT_EQ(axes->Get(0), chart->GetBottomAxis());
    EXPECT_EQ(axes->Get(1), chart->GetTopAxis());
    EXPECT_EQ(axes->Get(2), chart->GetLeftAxis());
    EXPECT_EQ(axes->Get(3), chart->GetRightAxis());
    EXPECT_EQ(axes->Get(4), chart->GetDepthAxis());
    EXPECT_EQ(axes->Get(5), chart->GetDepthTopAxis());
    EXPECT_TRUE(chart->GetTopAxis()->GetOtherSide());
    EXPECT_EQ(chart->GetTopAxis()->GetZPosition(), 100);
    EXPECT_EQ(chart->GetRightAxis()->GetGrid()->GetZPosition(), 100);
    EXPECT_EQ(chart->GetLeftAxis()->GetTitle()->GetAngle(), 90);
    EXPECT_EQ(chart->GetRightAxis()->GetTitle()->GetAngle(), 270);
    EXPECT_TRUE(chart->GetDepthAxis()->IsDepthAxis);
    EXPECT_FALSE(chart->GetDepthAxis()->GetVisible());
    EXPECT_TRUE(chart->GetDepthAxis()->GetOtherSide());
    EXPECT_FALSE(chart->GetDepthTopAxis()->GetOtherSide());
}

TEST_F(ChartTest, AxesShowWithoutSeriesAndHideBehindASeriesWithoutAxes) {
    auto chart = NewChart();
    EXPECT_TRUE(chart->CalcIsAxisVisible(chart->GetLeftAxis()));
    EXPECT_FALSE(chart->CalcIsAxisVisible(chart->GetDepthAxis()));
    chart->GetDepthAxis()->SetVisible(true);
    chart->SetView3D(true);
    EXPECT_TRUE(chart->CalcIsAxisVisible(chart->GetDepthAxis()));
    auto* pie = Create<TPolySeries>(nullptr);
    pie->NoAxes = true;
    chart->AddSeries(pie);
    EXPECT_FALSE(chart->ActiveSeriesUseAxis());
    TPolySeries* line = AddLine(chart.get(), 3);
    // First in the list, it hides the axes of the series after it.
    EXPECT_FALSE(chart->CalcIsAxisVisible(chart->GetLeftAxis()));
    EXPECT_TRUE(chart->ActiveSeriesUseAxis());
    line->SetActive(false);
    pie->SetActive(false);
    EXPECT_TRUE(chart->CalcIsAxisVisible(chart->GetLeftAxis()));
    EXPECT_TRUE(chart->ActiveSeriesUseAxis());
}

TEST_F(ChartTest, SeriesJoinAndLeaveTellingTheListenersAndTheEvents) {
    auto chart = NewChart();
    std::vector<std::string> events;
    chart->OnAddSeries.Bind([&](TCustomChartSeries*) { events.push_back("add"); });
    chart->OnRemoveSeries.Bind([&](TCustomChartSeries*) { events.push_back("remove"); });
    TPolySeries* a = AddLine(chart.get(), 1);
    TPolySeries* b = AddLine(chart.get(), 1);
    EXPECT_EQ(chart->SeriesCount(), 2);
    EXPECT_EQ(a->GetParentChart(), static_cast<ISeriesChart*>(chart.get()));
    auto* stranger = Create<TPolySeries>(nullptr);
    chart->RemoveSeries(stranger);
    chart->RemoveSeries(-1);
    EXPECT_EQ(chart->SeriesCount(), 2);
    chart->RemoveAllSeries();
    EXPECT_EQ(chart->SeriesCount(), 0);
    EXPECT_EQ(events, (std::vector<std::string>{"add", "add", "remove", "remove"}));
    // Taken out, not freed.
    EXPECT_EQ(a->GetParentChart(), nullptr);
    a->Free();
    b->Free();
    stranger->Free();
}

TEST_F(ChartTest, FreeingSeriesOfAClassKeepsTheOthersInOrderAndTakesThemOutOfTheirGroups) {
    auto chart = NewChart();
    TPolySeries* a = AddLine(chart.get(), 1);
    auto* plain = Create<TChartSeries>(nullptr);
    chart->AddSeries(plain);
    TPolySeries* b = AddLine(chart.get(), 1);
    auto* other = Create<TChartSeries>(nullptr);
    chart->AddSeries(other);
    TSeriesGroup* g = chart->GetSeriesList()->AddGroup(u"G");
    g->Add(a);
    g->Add(plain);
    g->Add(b);
    chart->ExchangeSeries(a, b);
    EXPECT_EQ(chart->GetSeries(0), b);
    EXPECT_EQ(g->GetSeries()->Get(0), b);
    chart->SeriesUp(b); // the first stays first
    EXPECT_EQ(chart->GetSeries(0), b);
    chart->FreeAllSeries(&TPolySeries::StaticClass());
    ASSERT_EQ(chart->SeriesCount(), 2);
    EXPECT_EQ(chart->GetSeries(0), plain);
    EXPECT_EQ(chart->GetSeries(1), other);
    // The freed ones are no longer members; one taken out of the chart is not either.
    ASSERT_EQ(g->GetSeries()->Count(), 1);
    EXPECT_EQ(g->GetSeries()->Get(0), plain);
    chart->RemoveSeries(plain);
    EXPECT_EQ(g->GetSeries()->Count(), 0);
    plain->Free();
}

TEST_F(ChartTest, SeriesTakeTheFirstFreeColourAndAFullPaletteGivesItsLast) {
    auto chart = NewChart();
    chart->CustomPalette = {clRed, clGreen, clBlue};
    TPolySeries* a = AddLine(chart.get(), 1);
    TPolySeries* b = AddLine(chart.get(), 1);
    EXPECT_EQ(a->GetSeriesColor(), clRed);
    EXPECT_EQ(b->GetSeriesColor(), clGreen);
    // The background colour is never free when the background counts.
    chart->SetColor(clBlue);
    EXPECT_FALSE(chart->IsFreeSeriesColor(clBlue, true, nullptr));
    EXPECT_TRUE(chart->IsFreeSeriesColor(clBlue, false, nullptr));
    EXPECT_EQ(chart->GetFreeSeriesColor(true, nullptr), clBlue);
    EXPECT_EQ(chart->GetDefaultColor(4), clGreen);
}

// ---------------------------------------------------------------------------
// Depth

TEST_F(ChartTest, ThreeDPercentIsKeptInItsRangeAndSetsTheDepthOfEachSeries) {
    auto chart = NewChart();
    EXPECT_THROW(chart->Set3DPercent(0), Exception);
    EXPECT_THROW(chart->Set3DPercent(101), Exception);
    EXPECT_EQ(chart->GetChart3DPercent(), 15);
    chart->SetView3D(true);
    chart->GetView3DOptions()->SetOrthogonal(true);
    TPolySeries* s[3] = {AddLine(chart.get(), 2), AddLine(chart.get(), 2), AddLine(chart.get(), 2)};
    chart->CalcSeriesZOrder();
    EXPECT_EQ(chart->MaxZOrder, 2);
    EXPECT_EQ(s[0]->GetZOrder(), 2);
    EXPECT_EQ(s[1]->GetZOrder(), 1);
    EXPECT_EQ(s[2]->GetZOrder(), 0);
    // 15 tenths of a percent of a 400-pixel-wide chart, three slots deep.
    chart->SetChartRect(TRect(50, 0, 450, 300));
    chart->ReCalcWidthHeight();
    chart->CalcSize3DWalls();
    EXPECT_EQ(chart->SeriesWidth3D, 6);
    EXPECT_EQ(chart->Width3D, 18);
    // A turned view is twice as deep.
    chart->GetView3DOptions()->SetOrthogonal(false);
    chart->CalcSize3DWalls();
    EXPECT_EQ(chart->SeriesWidth3D, 12);
    EXPECT_EQ(chart->Width3D, 36);
}

// ---------------------------------------------------------------------------
// Ranges and paging

TEST_F(ChartTest, PagesSplitThePointsAndClampTheCurrentPage) {
    auto chart = NewChart();
    AddLine(chart.get(), 25);
    TChartPage* pages = chart->GetPages();
    EXPECT_EQ(pages->Count(), 1);
    int changes = 0;
    chart->OnPageChange.Bind([&](TObject*) { ++changes; });
    pages->SetMaxPointsPerPage(10);
    EXPECT_EQ(pages->Count(), 3);
    pages->SetCurrent(5);
    EXPECT_EQ(pages->GetCurrent(), 3);
    pages->NextPage();
    EXPECT_EQ(pages->GetCurrent(), 3);
    pages->PreviousPage();
    EXPECT_EQ(pages->GetCurrent(), 2);
    EXPECT_EQ(changes, 2);
    EXPECT_THROW(pages->SetMaxPointsPerPage(-1), ChartException);
    EXPECT_EQ(pages->GetMaxPointsPerPage(), 10);
    // Fewer points a page: fewer pages, and the page shown comes down with them.
    pages->SetCurrent(3);
    pages->SetMaxPointsPerPage(20);
    EXPECT_EQ(pages->GetCurrent(), 2);
}

TEST_F(ChartTest, APageShowsItsOwnPointsAndAShortLastPageCanKeepAFullPagesSpacing) {
    auto chart = NewChart();
    TPolySeries* s = AddLine(chart.get(), 25);
    TChartAxis* bottom = chart->GetBottomAxis();
    chart->SetMaxPointsPerPage(10);
    chart->SetPage(2);
    EXPECT_EQ(chart->MinXValue(bottom), 10);
    EXPECT_EQ(chart->MaxXValue(bottom), 19);
    chart->SetPage(3);
    EXPECT_EQ(chart->MaxXValue(bottom), 24);
    chart->SetScaleLastPage(false);
    EXPECT_EQ(chart->MinXValue(bottom), 20);
    EXPECT_EQ(chart->MaxXValue(bottom), 28);
    // All X equal on the short page: a spacing of one page over its points.
    for (int i = 20; i < 25; ++i) s->GetXValues()->SetValue(i, 20);
    EXPECT_DOUBLE_EQ(chart->MaxXValue(bottom), 22);
    // A last page of one point, scaled or not, has a page's width, not none.
    for (int i = 25; i <= 30; ++i) s->AddXY(i, 1);
    chart->SetPage(4);
    for (const bool scaled : {true, false}) {
        chart->SetScaleLastPage(scaled);
        EXPECT_EQ(chart->MinXValue(bottom), 30);
        EXPECT_EQ(chart->MaxXValue(bottom), 40);
    }
    // Without paging, the whole series.
    chart->SetMaxPointsPerPage(0);
    EXPECT_EQ(chart->MinXValue(bottom), 0);
    EXPECT_EQ(chart->GetPage(), 1);
}

TEST_F(ChartTest, AutoScaleRangesTheOtherAxisOverThePageOnly) {
    auto chart = NewChart();
    auto* s = Create<TPolySeries>(nullptr);
    chart->AddSeries(s);
    for (int i = 0; i < 20; ++i) s->AddXY(i, i < 10 ? i : 100 + i);
    chart->SetMaxPointsPerPage(10);
    TChartAxis* left = chart->GetLeftAxis();
    EXPECT_EQ(chart->MaxYValue(left), 119);
    chart->GetPages()->SetAutoScale(true);
    EXPECT_EQ(chart->MaxYValue(left), 9);
    chart->SetPage(2);
    EXPECT_EQ(chart->MinYValue(left), 110);
}

TEST_F(ChartTest, TheDepthAxisRangesOverTheSlotsAndAnUnusedAxisOverNothing) {
    auto chart = NewChart();
    chart->SetView3D(true);
    for (int i = 0; i < 3; ++i) AddLine(chart.get(), 2);
    chart->CalcSeriesZOrder();
    EXPECT_EQ(chart->MinXValue(chart->GetDepthAxis()), -0.5);
    EXPECT_EQ(chart->MaxXValue(chart->GetDepthAxis()), 2.5);
    // Its labels are the series' titles: its title's room starts beyond the widest of them.
    TChartAxis* depth = chart->GetDepthAxis();
    chart->GetSeries(1)->SetTitle(u"Расход за сутки, м³");
    chart->GetCanvas()->AssignFont(depth->GetLabelsFont());
    EXPECT_GE(depth->MaxLabelsWidth(), chart->GetCanvas()->TextWidth(u"Расход за сутки, м³"));
    // Shown at the top, beside the left axis, it stands in room of its own inside the panel,
    // its title beyond its labels, and leaves the left axis's labels at their line.
    TChartAxis *top = chart->GetDepthTopAxis(), *left = chart->GetLeftAxis();
    top->SetVisible(true);
    top->GetTitle()->SetCaption(u"Насосы");
    TBitmap out;
    DrawOn(chart.get(), out);
    chart->GetCanvas()->AssignFont(top->GetTitle()->GetFont());
    EXPECT_GE(top->PosTitle - chart->GetCanvas()->TextWidth(u"Насосы"), 0);
    EXPECT_LE(top->PosTitle, top->PosLabels - top->MaxLabelsWidth());
    EXPECT_EQ(left->PosLabels, chart->GetChartRect().Left - chart->CalcWallSize(left) - left->SizeTickAxis());
    chart->FreeAllSeries();
    EXPECT_EQ(chart->MinYValue(chart->GetRightAxis()), 0);
    EXPECT_EQ(chart->MaxYValue(chart->GetRightAxis()), 0);
}

// ---------------------------------------------------------------------------
// Streams

TEST_F(ChartTest, AChartWithItsSeriesAndSettingsIsReadBackEqualFromBothStreamForms) {
    auto owner = MakeOwned<TForm>(nullptr);
    auto* chart = Create<TChart>(owner.get());
    chart->SetName(u"Chart1");
    chart->SetBounds(0, 0, 300, 200);
    chart->Set3DPercent(30);
    chart->SetAxisBehind(false);
    chart->SetView3D(false);
    chart->GetLeftAxis()->SetMinMax(-5, 50);
    chart->GetPages()->SetMaxPointsPerPage(12);
    chart->SetScrollMouseButton(mbMiddle);
    auto* s = Create<TPolySeries>(owner.get());
    s->SetName(u"Series1");
    s->ForceSaveData = true;
    chart->AddSeries(s);
    s->AddXY(1, 2, u"один");
    s->AddXY(2, 3);
    const std::string text = streamtext::ObjectText(chart);
    for (const char* line :
         {"Chart3DPercent = 30", "AxisBehind = False", "View3D = False", "LeftAxis.Automatic = False",
          "Pages.MaxPointsPerPage = 12", "ScrollMouseButton = mbMiddle", "object Series1: TPolySeries"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    // Defaults are not written.
    for (const char* line : {"ClipPoints", "View3DWalls", "AxisVisible", "BottomAxis.Visible"})
        EXPECT_EQ(text.find(line), std::string::npos) << line;

    auto owner2 = MakeOwned<TForm>(nullptr);
    auto* copy = Create<TChart>(owner2.get());
    streamtext::ReadText(text, copy);
    EXPECT_EQ(streamtext::ObjectText(copy), text);
    ASSERT_EQ(copy->SeriesCount(), 1);
    ASSERT_EQ(copy->GetSeries(0)->Count(), 2);
    EXPECT_EQ(copy->GetSeries(0)->GetXLabel(0), u"один");
    EXPECT_EQ(copy->GetLeftAxis()->GetMaximum(), 50);

    // The binary form alone.
    TMemoryStream binary;
    binary.WriteComponent(chart);
    binary.SetPosition(0);
    auto owner3 = MakeOwned<TForm>(nullptr);
    auto* third = Create<TChart>(owner3.get());
    binary.ReadComponent(third);
    EXPECT_EQ(streamtext::ObjectText(third), text);
}

TEST_F(ChartTest, OlderChartsPagingPropertiesAreReadIntoThePagesAndNeverWritten) {
    auto chart = NewChart();
    chart->SetName(u"Old");
    AddLine(chart.get(), 40);
    streamtext::ReadText(
        "object Old: TChart\n  MaxPointsPerPage = 10\n  ScaleLastPage = False\n  Page = 2\nend\n",
        chart.get());
    EXPECT_EQ(chart->GetPages()->GetMaxPointsPerPage(), 10);
    EXPECT_FALSE(chart->GetPages()->GetScaleLastPage());
    EXPECT_EQ(chart->GetPages()->GetCurrent(), 2);
    const std::string text = streamtext::ObjectText(chart.get());
    EXPECT_EQ(text.find("\n  MaxPointsPerPage"), std::string::npos) << text;
    EXPECT_NE(text.find("Pages.MaxPointsPerPage = 10"), std::string::npos) << text;
}

// ---------------------------------------------------------------------------
// A picture to look at

TEST_F(ChartTest, TwoSeriesOnADateAxisRenderToAPicture) {
    auto chart = NewChart(640, 400);
    const double start = EncodeDate(2026, 1, 1);
    for (int k = 0; k < 2; ++k) {
        auto* s = Create<TPolySeries>(nullptr);
        chart->AddSeries(s);
        s->GetXValues()->SetDateTime(true);
        for (int h = 0; h < 24 * 14; ++h)
            s->AddXY(start + h / 24.0, 50 + 30 * k + 20 * std::sin(h / (8.0 + 5 * k)));
    }
    chart->GetBottomAxis()->GetTitle()->SetCaption(u"Дата");
    TBitmap out;
    DrawOn(chart.get(), out);
    // Both series show in their colours inside the chart rectangle.
    const TRect r = chart->GetChartRect();
    int coloured[2] = {0, 0};
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            for (int k = 0; k < 2; ++k) {
                const auto p = static_cast<COLORREF>(ColorToRGB(chart->GetSeries(k)->GetSeriesColor()));
                if (probe::Pixel(out, x, y) == probe::Rgb{GetRValue(p), GetGValue(p), GetBValue(p)})
                    ++coloured[k];
            }
    EXPECT_GT(coloured[0], 300);
    EXPECT_GT(coloured[1], 300);
    EXPECT_GE(chart->GetBottomAxis()->GetItems()->Count(), 3);
    EXPECT_TRUE(probe::Grab(out).SavePng(testsupport::PictureFile("chart.png")));
}

TEST_F(ChartTest, ClearChartReturnsToANewChartWithNoSeriesAndNoTools) {
    auto chart = NewChart();
    AddLine(chart.get(), 3);
    chart->GetToolsList()->Add(Create<TNoteTool>(chart.get()));
    chart->Set3DPercent(40);
    chart->SetAxisVisible(false);
    chart->GetPages()->SetMaxPointsPerPage(5);
    chart->ClearChart();
    EXPECT_EQ(chart->SeriesCount(), 0);
    EXPECT_EQ(chart->GetToolsList()->Count(), 0);
    EXPECT_EQ(chart->GetChart3DPercent(), 15);
    EXPECT_TRUE(chart->GetAxisVisible());
    EXPECT_EQ(chart->GetPages()->GetMaxPointsPerPage(), 0);
}

TEST_F(ChartTest, ThePaletteIndexIsStreamedOnlyWhenItIsNotTheDefaultAndColoursTheSeriesReadBack) {
    auto chart = NewChart();
    chart->SetName(u"P");
    EXPECT_EQ(streamtext::ObjectText(chart.get()).find("ColorPaletteIndex"), std::string::npos);
    streamtext::ReadText("object P: TChart\n  ColorPaletteIndex = 3\nend\n", chart.get());
    EXPECT_EQ(chart->GetColorPaletteIndex(), 3);
    EXPECT_NE(streamtext::ObjectText(chart.get()).find("ColorPaletteIndex = 3"), std::string::npos);
    streamtext::ReadText("object P: TChart\n  ColorPaletteIndex = 2147483647\nend\n", chart.get());
    EXPECT_EQ(chart->GetColorPaletteIndex(), kLastPalette);

    // Series without colours of their own come back in the palette's colours, and so does the
    // next one added.
    auto owner = MakeOwned<TForm>(nullptr);
    auto* saved = Create<TChart>(owner.get());
    saved->SetName(u"Saved");
    saved->SetColorPaletteIndex(13);
    for (const char16_t* name : {u"S1", u"S2"}) {
        auto* s = Create<TPolySeries>(owner.get());
        s->SetName(name);
        saved->AddSeries(s);
    }
    auto owner2 = MakeOwned<TForm>(nullptr);
    auto* loaded = Create<TChart>(owner2.get());
    streamtext::ReadText(streamtext::ObjectText(saved), loaded);
    ASSERT_EQ(loaded->SeriesCount(), 2);
    EXPECT_EQ(loaded->GetSeries(0)->GetSeriesColor(), static_cast<TColor>(0xA36644));
    EXPECT_EQ(loaded->GetSeries(1)->GetSeriesColor(), static_cast<TColor>(0x359CF3));
    EXPECT_EQ(AddLine(loaded, 1)->GetSeriesColor(), static_cast<TColor>(0x144CF1));
}
