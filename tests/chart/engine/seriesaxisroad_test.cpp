// The drawing road on real axes: the visible points for an axis range that
// ends between two points, an inverted axis and the drawing direction, the
// point loop, and the marks loop with every-nth marks and null points.
#include "chart/engine/chartseries.h"
#include "chart/engine/colorpalettes.h"
#include "chart/engine/zuzfunction.h"
#include "fakeaxischart.h"
#include "tests/chart/canvas/canvasfixture.h"
#include "tests/support/testclass.h"

#include <gtest/gtest.h>

namespace {

class TRecordingSeries : public TChartSeries {
public:
    using TChartSeries::TChartSeries;
    void DrawValue(int ValueIndex) override { Drawn.push_back(ValueIndex); }
    std::vector<int> Drawn;
};

class RoadOnAxes : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartEngineUnits(); }
    void SetUp() override {
        FormatSettings = EnglishFormatSettings();
        chart = MakeOwned<TAxisTestChart>(nullptr);
        s = Create<TRecordingSeries>(chart.get());
        s->SetParentChart(chart.get());
        for (int x = 0; x < 100; ++x) s->AddXY(x, x % 7);
        Show(10, 20.5);
        TChartAxis* left = chart->Left;
        left->IStartPos = 50;
        left->IEndPos = 450;
        left->IMinimum = 0;
        left->IMaximum = 10;
        left->RecalcSizeCenter();
    }
    void TearDown() override { FormatSettings = EnglishFormatSettings(); }
    // The bottom axis shows Min .. Max across the chart rectangle.
    void Show(double Min, double Max) {
        TChartAxis* a = chart->Bottom;
        a->IStartPos = 100;
        a->IEndPos = 500;
        a->IMinimum = Min;
        a->IMaximum = Max;
        a->RecalcSizeCenter();
    }
    Owned<TAxisTestChart> chart;
    TRecordingSeries* s = nullptr;
};

TEST_F(RoadOnAxes, AnAxisEndingBetweenTwoPointsShowsThePointsBeforeIt) {
    ASSERT_EQ(s->GetHorizAxisObject(), chart->Bottom);
    s->CalcFirstLastVisibleIndex();
    EXPECT_EQ(s->FirstValueIndex, 10);
    EXPECT_EQ(s->LastValueIndex, 20);
    s->DrawBetweenPoints = true;
    s->CalcFirstLastVisibleIndex();
    EXPECT_EQ(s->LastValueIndex, 21) << "the line reaches the edge";
    s->CalcVisiblePoints = false;
    s->CalcFirstLastVisibleIndex();
    EXPECT_EQ(s->FirstValueIndex, 0);
    EXPECT_EQ(s->LastValueIndex, 99);
}

TEST_F(RoadOnAxes, OffsetsNarrowTheRangeOnTheAxisEnds) {
    chart->Bottom->SetMinimumOffset(40); // 40 px of 400 = 1.05 on each end
    chart->Bottom->SetMaximumOffset(40);
    s->CalcFirstLastVisibleIndex();
    EXPECT_EQ(s->FirstValueIndex, 12);
    EXPECT_EQ(s->LastValueIndex, 19);
    s->DrawBetweenPoints = true;
    s->CalcFirstLastVisibleIndex();
    EXPECT_EQ(s->LastValueIndex, 21) << "a line still crosses the padding to the chart's edge";
}

TEST_F(RoadOnAxes, AnInvertedAxisDrawsBackwards) {
    chart->Bottom->SetInvertedField(true);
    chart->Bottom->RecalcSizeCenter();
    s->CalcFirstLastVisibleIndex();
    EXPECT_EQ(s->FirstValueIndex, 10);
    EXPECT_EQ(s->LastValueIndex, 20);
    EXPECT_FALSE(s->DrawValuesForward());
    EXPECT_EQ(s->FirstDisplayedIndex(), 20);
    EXPECT_EQ(s->LastDisplayedIndex(), 10);
    s->DrawAllValues();
    ASSERT_EQ(s->Drawn.size(), 11u);
    EXPECT_EQ(s->Drawn.front(), 20);
    EXPECT_EQ(s->Drawn.back(), 10);
}

TEST_F(RoadOnAxes, ThePointLoopDrawsTheVisiblePointsForwards) {
    s->CalcFirstLastVisibleIndex();
    EXPECT_TRUE(s->DrawValuesForward());
    s->DrawAllValues();
    ASSERT_EQ(s->Drawn.size(), 11u);
    EXPECT_EQ(s->Drawn.front(), 10);
    EXPECT_EQ(s->Drawn.back(), 20);

    Show(150, 160);
    s->Drawn.clear();
    s->CalcFirstLastVisibleIndex();
    s->DrawAllValues();
    EXPECT_TRUE(s->Drawn.empty());
}

TEST_F(RoadOnAxes, MarksGoOnEveryNthIndexAndSkipNullPoints) {
    canvastest::CanvasOn on(600, 500);
    chart->Canvas = &on.canvas;
    TSeriesMarks* marks = s->GetMarks();
    marks->SetVisible(true);
    marks->SetStyle(smsValue);
    marks->SetDrawEvery(2);
    s->SetNull(14);
    s->CalcFirstLastVisibleIndex();
    s->DrawMarks();
    std::vector<int> placed;
    for (int i = 0; i < marks->Positions().Count(); ++i)
        if (marks->Positions()[i]) placed.push_back(i);
    EXPECT_EQ(placed, (std::vector<int>{10, 12, 16, 18, 20}));
    const TSeriesMarkPosition* p = marks->Positions()[12];
    EXPECT_EQ(p->ArrowStart, TPoint(s->CalcXPos(12), s->CalcYPos(12)));

    marks->SetDrawEvery(0); // counts as 1, no division by zero
    s->DrawMarks();
    EXPECT_NE(marks->Positions()[11], nullptr);
}

TEST_F(RoadOnAxes, XTextsComeFromTheHorizontalAxis) {
    s->GetMarks()->SetStyle(smsXValue);
    chart->Bottom->SetValuesFormat(u"0.0");
    EXPECT_EQ(s->GetMarkText(15), u"15.0");
    EXPECT_EQ(s->LegendString(15, ltsXValue), u"15.0");
    EXPECT_TRUE(s->IsPointInChartRect(15));
    EXPECT_FALSE(s->IsPointInChartRect(50));
}

class TCountingTheme : public TChartTheme {
public:
    using TChartTheme::TChartTheme;
    void ChangeAxis(TChartAxis* Axis) override { Visited.push_back(Axis); }
    std::vector<TChartAxis*> Visited;
};

TEST_F(RoadOnAxes, AThemeVisitsTheAxesListThenTheCustomAxes) {
    auto* custom = static_cast<TChartAxis*>(chart->CustomAxes.Add());
    TCountingTheme theme(chart.get());
    theme.Apply();
    ASSERT_EQ(theme.Visited.size(), 8u);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(theme.Visited[static_cast<std::size_t>(i)], chart->Axes.Get(i));
    EXPECT_EQ(theme.Visited.back(), custom);
    TCountingTheme none(nullptr);
    none.Apply();
    EXPECT_TRUE(none.Visited.empty());
}

class TAxisMarker : public testsupport::TTestClass<TAxisMarker, TZuzCustomToolAxis, "TAxisMarker"> {
public:
    using TTestClass::TTestClass;
};

TEST_F(RoadOnAxes, AnAxisToolJoinsItsAxisChartAndStreamsTheAxisIndex) {
    ISeriesChart* seriesChart = chart.get();
    auto* tool = Create<TAxisMarker>(chart.get());
    tool->SetAxis(chart->Top);
    EXPECT_EQ(tool->GetParentChart(), seriesChart);
    EXPECT_EQ(chart->Tools.IndexOf(tool), 0);
    EXPECT_EQ(tool->GetEditorClass(), u"TAxisToolEditor");

    TMemoryStream stream;
    stream.WriteComponent(tool);
    auto* back = Create<TAxisMarker>(chart.get());
    back->SetParentChart(chart.get());
    stream.SetPosition(0);
    stream.ReadComponent(back);
    EXPECT_EQ(back->GetAxis(), chart->Top);

    tool->SetAxis(nullptr);
    EXPECT_EQ(tool->GetParentChart(), nullptr);
    EXPECT_EQ(chart->Tools.IndexOf(tool), -1);
}

} // namespace

namespace {

class TCountFunction : public TZuzFunction {
public:
    using TZuzFunction::TZuzFunction;
    double Calculate(TChartSeries* Series, int FirstIndex, int LastIndex) override {
        return LastIndex - FirstIndex + 1;
    }
};

// A range period steps along the output series's horizontal axis: in whole
// months on a date axis that asks for exact dates, in 30-day steps otherwise.
TEST_F(RoadOnAxes, RangePeriodsStepByTheOutputsAxis) {
    s->Clear();
    s->SetManualData(true);
    for (TDateTime d = EncodeDate(2024, 1, 1); d <= EncodeDate(2024, 3, 31); d += 1) s->AddXY(d, 1);
    auto* out = Create<TChartSeries>(chart.get());
    out->SetParentChart(chart.get());
    ASSERT_EQ(out->GetHorizAxisObject(), chart->Bottom);
    auto* f = Create<TCountFunction>(chart.get());
    f->SetParentSeries(out);
    f->SetPeriodStyle(psRange);
    f->SetPeriodAlign(paFirst);
    chart->Bottom->IAxisDateTime = true;
    f->SetPeriod(30);
    out->SetDataSource(s);
    ASSERT_EQ(out->Count(), 3);
    EXPECT_EQ(out->YValue(1), 29);
    EXPECT_EQ(out->XValue(2), EncodeDate(2024, 3, 1));

    chart->Bottom->SetExactDateTime(false);
    f->SetPeriod(31);
    f->SetPeriod(30);
    ASSERT_EQ(out->Count(), 4);
    EXPECT_EQ(out->YValue(0), 30);
    EXPECT_EQ(out->XValue(1), EncodeDate(2024, 1, 31));
}

} // namespace
