// The series drawing road: visible ranges with and without the
// draw-between-points rule, pages, depth order, mark texts in every style
// under fixed format settings, legend texts, and the mouse over points.
#include "chart/canvas/zuzconst.h"
#include "chart/engine/chartseries.h"
#include "fakechart.h"
#include "tests/chart/canvas/canvasfixture.h"

#include <gtest/gtest.h>

namespace {

// ---------------------------------------------------------------------------
// Visible range

struct RangeRow {
    const char* rule;
    std::vector<double> values;
    double start, end;
    bool between;
    int first, last;
};

std::vector<double> ZeroTo99() {
    std::vector<double> v(100);
    for (int i = 0; i < 100; ++i) v[static_cast<std::size_t>(i)] = i;
    return v;
}

class VisibleRange : public ::testing::TestWithParam<RangeRow> {};

TEST_P(VisibleRange, CoversThePointsTheAxisShows) {
    const RangeRow& r = GetParam();
    int first = 7, last = 7;
    VisibleIndexRange(r.values, r.start, r.end, r.between, first, last);
    EXPECT_EQ(first, r.first);
    EXPECT_EQ(last, r.last);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, VisibleRange,
    ::testing::Values(RangeRow{"EndBetweenTwoPointsStopsBeforeIt", ZeroTo99(), 10, 20.5, false, 10, 20},
                      RangeRow{"DrawBetweenPointsTakesThePointBeyondTheEnd", ZeroTo99(), 10, 20.5, true, 10,
                               21},
                      RangeRow{"AnEndOnAPointEndsThereEitherWay", ZeroTo99(), 10, 20, true, 10, 20},
                      RangeRow{"AStartBetweenPointsBeginsAtTheNext", ZeroTo99(), 9.5, 20, false, 10, 20},
                      RangeRow{"AStartBeforeTheFirstPointBeginsAtIt", ZeroTo99(), -5, 3.5, false, 0, 3},
                      RangeRow{"AnEndBeyondTheLastPointKeepsIt", ZeroTo99(), 95.5, 500, false, 96, 99},
                      RangeRow{"ARangeBeyondThePointsShowsNone", ZeroTo99(), 150, 160, false, -1, -1},
                      RangeRow{"ARangeBetweenTwoPointsShowsNoneWithoutTheRule", {0, 10}, 3, 4, false, 1, 0},
                      RangeRow{"NoPointsNoRange", {}, 0, 1, true, -1, -1}),
    [](const auto& info) { return std::string(info.param.rule); });

// ---------------------------------------------------------------------------
// Pages

struct PageRow {
    const char* rule;
    int count, perPage, page, first, last;
};

class Paging : public ::testing::TestWithParam<PageRow> {};

TEST_P(Paging, GivesThePagesIndexRange) {
    const PageRow& r = GetParam();
    int first = 7, last = 7;
    CalcFirstLastPage(r.count, r.perPage, r.page, first, last);
    EXPECT_EQ(first, r.first);
    EXPECT_EQ(last, r.last);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Paging,
    ::testing::Values(PageRow{"FirstPage", 25, 10, 1, 0, 9}, PageRow{"ShortLastPage", 25, 10, 3, 20, 24},
                      PageRow{"APageBeyondTheEndShowsTheLastFullPage", 25, 10, 5, 10, 19},
                      PageRow{"FewerPointsThanAPage", 5, 10, 1, 0, 4},
                      PageRow{"OnePointPerPage", 25, 1, 3, 2, 2},
                      PageRow{"NoPagingShowsAll", 25, 0, 4, 0, 24}, PageRow{"NoPoints", 0, 10, 1, -1, -1}),
    [](const auto& info) { return std::string(info.param.rule); });

// ---------------------------------------------------------------------------
// A series on the fake chart

class Road : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartEngineUnits(); }
    void SetUp() override {
        keep = FormatSettings;
        FormatSettings = TFormatSettings();
        FormatSettings.DecimalSeparator = u'.';
        FormatSettings.ThousandSeparator = u',';
        chart = MakeOwned<TFakeChart>(nullptr);
    }
    void TearDown() override { FormatSettings = keep; }
    TChartSeries* NewSeries() {
        auto* s = Create<TChartSeries>(chart.get());
        s->SetParentChart(chart.get());
        return s;
    }
    TFormatSettings keep;
    Owned<TFakeChart> chart;
};

TEST_F(Road, UnorderedOrUncheckedPointsAreAllVisible) {
    TChartSeries* s = NewSeries();
    s->GetXValues()->SetOrder(loNone);
    for (double x : {5.0, 1.0, 9.0}) s->AddXY(x, 1);
    s->CalcFirstLastVisibleIndex();
    EXPECT_EQ(s->FirstValueIndex, 0);
    EXPECT_EQ(s->LastValueIndex, 2);
    EXPECT_EQ(s->VisibleCount(), 3);

    TChartSeries* empty = NewSeries();
    empty->CalcFirstLastVisibleIndex();
    EXPECT_EQ(empty->FirstValueIndex, -1);
    EXPECT_EQ(empty->VisibleCount(), 0);
}

TEST_F(Road, TheSeriesPageComesFromTheChart) {
    TChartSeries* s = NewSeries();
    for (int i = 0; i < 25; ++i) s->AddXY(i, i);
    chart->PointsPerPage = 10;
    chart->Page = 3;
    int first = 0, last = 0;
    s->CalcFirstLastPage(first, last);
    EXPECT_EQ(first, 20);
    EXPECT_EQ(last, 24);
}

TEST_F(Road, AutomaticSeriesTakeSuccessiveDepthSlotsIn3DOnly) {
    TChartSeries* a = NewSeries();
    TChartSeries* b = NewSeries();
    TChartSeries* c = NewSeries();
    auto pass = [&] {
        chart->MaxZOrder = -1;
        for (TChartSeries* s : {a, b, c}) s->CalcZOrder();
    };
    pass();
    EXPECT_EQ(a->GetZOrder() + b->GetZOrder() + c->GetZOrder(), 0);
    chart->View3D = true;
    pass();
    EXPECT_EQ(a->GetZOrder(), 0);
    EXPECT_EQ(b->GetZOrder(), 1);
    EXPECT_EQ(c->GetZOrder(), 2);

    b->SetZOrder(0); // shares a's slot
    pass();
    EXPECT_EQ(b->GetZOrder(), 0);
    EXPECT_TRUE(a->MoreSameZOrder());
    EXPECT_TRUE(a->FirstInZOrder());
    EXPECT_FALSE(b->FirstInZOrder());
    EXPECT_FALSE(c->MoreSameZOrder());
    chart->ZOrderApplied = false;
    EXPECT_FALSE(a->MoreSameZOrder());
    b->SetActive(false);
    EXPECT_FALSE(b->FirstInZOrder());
}

TEST_F(Road, DepthPositionsFollowTheSlotAndTheSeriesDepth) {
    TChartSeries* s = NewSeries();
    chart->SlotDepth = 10;
    s->IZOrder = 2;
    s->CalcDepthPositions();
    EXPECT_EQ(s->StartZ, 20);
    EXPECT_EQ(s->EndZ, 30);
    EXPECT_EQ(s->MiddleZ, 25);
    EXPECT_EQ(s->GetMarks()->ZPosition, 25);
    s->SetDepth(5);
    s->CalcDepthPositions();
    EXPECT_EQ(s->EndZ, 25);
    EXPECT_EQ(s->MiddleZ, 22);
    // A file's depth and slot are held to the editor's largest depth and to a thousand slots.
    s->SetDepth(2147483647);
    s->SetZOrder(-2147483647 - 1);
    EXPECT_EQ(s->GetDepth(), 1200);
    EXPECT_EQ(s->GetZOrder(), -kLargestZOrder);
    s->SetZOrder(2147483647);
    EXPECT_EQ(s->GetZOrder(), 1000);
}

// ---------------------------------------------------------------------------
// Mark texts

class MarkTexts : public Road {
protected:
    void SetUp() override {
        Road::SetUp();
        s = NewSeries();
        s->SetTitle(u"Давление");
        s->AddXY(0, 1);
        s->AddXY(1, 3, u"b");
    }
    String Text(TSeriesMarksStyle Style, int Index, bool MultiLine = false) {
        s->GetMarks()->SetStyle(Style);
        s->GetMarks()->SetMultiLine(MultiLine);
        return s->GetMarkText(Index);
    }
    TChartSeries* s = nullptr;
};

struct MarkRow {
    const char* rule;
    TSeriesMarksStyle style;
    int index;
    bool multiLine;
    const char16_t* text;
};

class MarkText : public MarkTexts, public ::testing::WithParamInterface<MarkRow> {};

TEST_P(MarkText, ShowsWhatItsStyleSays) {
    const MarkRow& r = GetParam();
    chart->LegendText = u"3\x06"
                        u"b\rc"; // the legend's columns and lines
    EXPECT_EQ(Text(r.style, r.index, r.multiLine), String(r.text));
}

INSTANTIATE_TEST_SUITE_P(
    Styles, MarkText,
    ::testing::Values(MarkRow{"ValueInTheValueFormat", smsValue, 1, false, u"3"},
                      MarkRow{"PercentOfTheAbsoluteTotal", smsPercent, 0, false, u"25 %"},
                      MarkRow{"LabelWhenThereIsOne", smsLabel, 1, false, u"b"},
                      MarkRow{"ValueForAnEmptyLabel", smsLabel, 0, false, u"1"},
                      MarkRow{"LabelAndPercent", smsLabelPercent, 1, false, u"b 75 %"},
                      MarkRow{"LabelAndPercentOnTwoLines", smsLabelPercent, 1, true, u"b\r75 %"},
                      MarkRow{"LabelAndValue", smsLabelValue, 1, false, u"b 3"},
                      MarkRow{"LegendTextOnOneLineItsColumnsSpaced", smsLegend, 1, false, u"3 b c"},
                      MarkRow{"LegendTextKeepsItsLines", smsLegend, 1, true, u"3 b\rc"},
                      MarkRow{"PercentOfTotal", smsPercentTotal, 0, false, u"25 % of 4"},
                      MarkRow{"PercentOfTotalOnTwoLines", smsPercentTotal, 0, true, u"25 %\rof 4"},
                      MarkRow{"LabelPercentOfTotal", smsLabelPercentTotal, 1, false, u"b 75 % of 4"},
                      MarkRow{"XWithoutAnAxisInTheValueFormat", smsXValue, 1, false, u"1"},
                      MarkRow{"XAndValue", smsXY, 1, false, u"1 3"},
                      MarkRow{"SeriesTitle", smsSeriesTitle, 0, false, u"Давление"},
                      MarkRow{"PointIndex", smsPointIndex, 1, false, u"1"},
                      MarkRow{"RelativeToTheFirstIsAHundredForIt", smsPercentRelative, 0, false, u"100 %"},
                      MarkRow{"RelativeToTheFirst", smsPercentRelative, 1, false, u"300 %"}),
    [](const auto& info) { return std::string(info.param.rule); });

TEST_F(MarkTexts, TheValueFormatFollowsTheLocale) {
    s->AddXY(2, 1234.5);
    EXPECT_EQ(Text(smsValue, 2), u"1,234.5");
    FormatSettings = RussianFormatSettings();
    EXPECT_EQ(Text(smsValue, 2), String(u"1") + FormatSettings.ThousandSeparator + u"234,5");
    EXPECT_EQ(Text(smsPercentTotal, 0),
              u"0,08 % of 1" + String(1, FormatSettings.ThousandSeparator) + u"238,5");
}

// A first value of 0 gives no base for a percentage; the percent format of 0
// stands in (rather than a division by zero).
TEST_F(MarkTexts, RelativeToAFirstValueOfZeroShowsZero) {
    s->SetYValue(0, 0);
    EXPECT_EQ(Text(smsPercentRelative, 0), u"100 %");
    EXPECT_EQ(Text(smsPercentRelative, 1), u"0 %");
}

TEST_F(MarkTexts, AllZeroValuesShowAHundredPercent) {
    s->SetYValue(0, 0);
    s->SetYValue(1, 0);
    EXPECT_EQ(Text(smsPercent, 1), u"100 %");
}

TEST_F(MarkTexts, AnItemsOwnLinesReplaceTheText) {
    TStrings* lines = s->GetMarks()->Item(1)->GetText();
    lines->Add(u"первая");
    lines->Add(u"second");
    EXPECT_EQ(Text(smsValue, 1), String(u"первая") + ZuzLineSeparator + u"second");
    EXPECT_EQ(Text(smsValue, 0), u"1");
}

TEST_F(MarkTexts, TheEventHasTheLastWord) {
    s->OnGetMarkText.Bind([](TChartSeries*, int Index, String& Text) { Text += u"!"; });
    EXPECT_EQ(Text(smsValue, 1), u"3!");
    s->GetMarks()->Item(0)->GetText()->Add(u"own");
    EXPECT_EQ(Text(smsValue, 0), u"own!") << "also over a point's own text";
}

TEST_F(MarkTexts, DrawEveryBelowOneCountsAsOne) {
    for (int every : {0, -2, 1}) {
        s->GetMarks()->SetDrawEvery(every);
        EXPECT_EQ(s->GetMarks()->DrawEveryStep(), 1);
    }
    s->GetMarks()->SetDrawEvery(0);
    EXPECT_EQ(s->GetMarks()->Clicked(0, 0), -1);
}

// ---------------------------------------------------------------------------
// Legend texts

struct LegendRow {
    const char* rule;
    TLegendTextStyle style;
    int index;
    const char16_t* text;
};

class LegendText : public MarkTexts, public ::testing::WithParamInterface<LegendRow> {};

TEST_P(LegendText, ShowsWhatItsStyleSays) {
    const LegendRow& r = GetParam();
    EXPECT_EQ(s->LegendString(r.index, r.style), String(r.text));
}

INSTANTIATE_TEST_SUITE_P(
    Styles, LegendText,
    ::testing::Values(LegendRow{"Plain", ltsPlain, 1, u"b"},
                      LegendRow{"LeftValue", ltsLeftValue, 1,
                                u"3\x06"
                                u"b"},
                      LegendRow{"RightValue", ltsRightValue, 1,
                                u"b\x06"
                                u"3"},
                      LegendRow{"RightValueAloneWithoutLabel", ltsRightValue, 0, u"1"},
                      LegendRow{"LeftPercent", ltsLeftPercent, 1,
                                u"75 %\x06"
                                u"b"},
                      LegendRow{"RightPercent", ltsRightPercent, 1,
                                u"b\x06"
                                u"75 %"},
                      LegendRow{"LeftPercentAloneWithoutLabel", ltsLeftPercent, 0, u"25 %"},
                      LegendRow{"XValue", ltsXValue, 1, u"1"}, LegendRow{"Value", ltsValue, 1, u"3"},
                      LegendRow{"Percent", ltsPercent, 0, u"25 %"},
                      LegendRow{"XAndValue", ltsXAndValue, 1,
                                u"1\x06"
                                u"3"},
                      LegendRow{"XAndPercent", ltsXAndPercent, 1,
                                u"1\x06"
                                u"75 %"}),
    [](const auto& info) { return std::string(info.param.rule); });

TEST_F(MarkTexts, LegendPercentKeepsTheSignAndDatesShowAsDates) {
    s->SetYValue(0, -1);
    EXPECT_EQ(s->LegendString(0, ltsPercent), u"-25 %");
    EXPECT_EQ(Text(smsPercent, 0), u"25 %"); // the mark's percentage is unsigned
    s->GetYValues()->SetDateTime(true);
    s->SetYValue(1, EncodeDate(2024, 2, 29) + 0.5);
    EXPECT_EQ(s->LegendString(1, ltsValue), DateTimeToStr(EncodeDate(2024, 2, 29) + 0.5));
    // A value no calendar holds has no date to show, as on the axis.
    s->SetYValue(1, 1e300);
    EXPECT_EQ(s->LegendString(1, ltsValue), u"");
}

// ---------------------------------------------------------------------------
// The mouse

class TLeftHalf : public TChartSeries {
public:
    using TChartSeries::TChartSeries;
    int Clicked(int X, int Y) override { return X < 10 ? 0 : -1; }
};

TEST_F(Road, TheMouseEntersAndLeavesOnceAndSetsTheCursor) {
    auto* s = Create<TLeftHalf>(chart.get());
    s->SetParentChart(chart.get());
    s->AddXY(0, 0);
    EXPECT_FALSE(s->CheckMouse(5, 5)) << "nobody listens";
    int enter = 0, leave = 0;
    s->OnMouseEnter.Bind([&](TObject*) { ++enter; });
    s->OnMouseLeave.Bind([&](TObject*) { ++leave; });
    s->SetCursor(crHandPoint);
    EXPECT_TRUE(s->CheckMouse(5, 5));
    EXPECT_TRUE(s->CheckMouse(6, 5));
    EXPECT_EQ(enter, 1);
    EXPECT_EQ(chart->Cursor, crHandPoint);
    EXPECT_FALSE(s->CheckMouse(50, 5));
    EXPECT_FALSE(s->CheckMouse(51, 5));
    EXPECT_EQ(leave, 1);
    EXPECT_FALSE(s->MouseInside);
    EXPECT_FALSE(s->RaiseClicked());
    s->OnDblClick.Bind([](TChartSeries*, int, TMouseButton, TShiftState, int, int) {});
    EXPECT_TRUE(s->RaiseClicked());
}

// ---------------------------------------------------------------------------
// The legend symbol

class TThrowingSymbol : public TChartSeries {
public:
    using TChartSeries::TChartSeries;
    void DrawLegendShape(int ValueIndex, const TRect& Rect) override {
        ++Drawn;
        if (Raise) throw Exception(u"symbol");
    }
    void PrepareLegendCanvas(int ValueIndex, TColor& BackColor, TBrushStyle& BrushStyle) override {
        BrushStyle = bsDiagCross;
    }
    int Drawn = 0;
    bool Raise = false;
};

TEST_F(Road, TheLegendSymbolTakesThePreparedBrushForTheMomentOnly) {
    auto on = std::make_unique<canvastest::CanvasOn>(20, 20);
    chart->Canvas = &on->canvas;
    auto* s = Create<TThrowingSymbol>(chart.get());
    s->SetParentChart(chart.get());
    s->AddXY(0, 1, u"", clRed);
    s->DrawLegend(0, TRect(0, 0, 10, 10));
    EXPECT_EQ(s->Drawn, 1);
    EXPECT_EQ(on->canvas.Brush->GetColor(), clRed);
    EXPECT_EQ(s->GetBrush()->GetStyle(), bsSolid);

    s->Raise = true;
    EXPECT_THROW(s->DrawLegend(0, TRect(0, 0, 10, 10)), Exception);
    EXPECT_EQ(s->GetBrush()->GetStyle(), bsSolid) << "restored when the drawing raised";

    s->Raise = false;
    s->SetColorEachPoint(true);
    s->DrawLegend(-1, TRect(0, 0, 10, 10));
    EXPECT_EQ(s->Drawn, 2) << "no symbol for the whole of a series coloured per point";
    s->AddNullXY(1, 1);
    s->DrawLegend(1, TRect(0, 0, 10, 10));
    EXPECT_EQ(s->Drawn, 2) << "no symbol for a null point";
}

} // namespace
