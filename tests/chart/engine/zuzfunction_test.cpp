// Function and tool bases: how a function walks its source (whole, by a number
// of points, by an X range in calendar steps, many sources, a moving window)
// and how tools join and leave a chart.
#include "chart/canvas/zuzconst.h"
#include "chart/engine/zuzfunction.h"
#include "fakechart.h"
#include "platform/core/sysutils.h"
#include "tests/support/testclass.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// The sum of the source's mandatory values over a period, so every result
// says which points it covered.
class TSumFunction : public testsupport::TTestClass<TSumFunction, TZuzFunction, "TSumFunction"> {
public:
    using TTestClass::TTestClass;
    double Calculate(TChartSeries* Series, int FirstIndex, int LastIndex) override {
        ++Calls;
        if (FirstIndex == -1) {
            FirstIndex = 0;
            LastIndex = Series->Count() - 1;
        }
        double sum = 0;
        for (int i = FirstIndex; i <= LastIndex; ++i) sum += ValueList(Series)->GetValue(i);
        return sum;
    }
    double CalculateMany(const TDataSourcesList& Sources, int ValueIndex) override {
        double sum = 0;
        for (TComponent* c : Sources) {
            auto* s = dynamic_cast<TChartSeries*>(c);
            if (ValueIndex < s->Count()) sum += s->YValue(ValueIndex);
        }
        return sum;
    }
    int Calls = 0;
};

class TSumMoving : public testsupport::TTestClass<TSumMoving, TZuzMovingFunction, "TSumMoving"> {
public:
    using TTestClass::TTestClass;
    double Calculate(TChartSeries* Series, int FirstIndex, int LastIndex) override {
        double sum = 0;
        for (int i = FirstIndex; i <= LastIndex; ++i) sum += Series->YValue(i);
        return sum;
    }
};

using Points = std::vector<std::pair<double, double>>;

Points PointsOf(const TChartSeries* S) {
    Points p;
    for (int i = 0; i < S->Count(); ++i) p.emplace_back(S->XValue(i), S->YValue(i));
    return p;
}

class Functions : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartEngineUnits(); }
    void SetUp() override { chart = MakeOwned<TFakeChart>(nullptr); }
    TChartSeries* NewSeries() {
        auto* s = Create<TChartSeries>(chart.get());
        s->SetParentChart(chart.get());
        return s;
    }
    // A source with the given Y values at X = 1, 2, 3, ...
    TChartSeries* SourceOf(std::initializer_list<double> Ys) {
        TChartSeries* s = NewSeries();
        s->SetManualData(true);
        double x = 1;
        for (double y : Ys) s->AddXY(x++, y);
        return s;
    }
    template <class F>
    F* Attach(TChartSeries* Output) {
        auto* f = Create<F>(chart.get());
        f->SetParentSeries(Output);
        return f;
    }
    Owned<TFakeChart> chart;
};

TEST_F(Functions, PeriodZeroGivesOneResultInTheMiddleOfTheSource) {
    TChartSeries* src = SourceOf({1, 2, 3, 4, 5, 6, 7, 8, 9});
    TChartSeries* out = NewSeries();
    Attach<TSumFunction>(out);
    out->SetDataSource(src);
    EXPECT_EQ(PointsOf(out), (Points{{5, 45}}));
}

TEST_F(Functions, PeriodZeroWithoutSinglePointDrawsALevelAcrossTheSource) {
    TChartSeries* src = SourceOf({1, 2, 3, 4, 5, 6, 7, 8, 9});
    TChartSeries* out = NewSeries();
    out->SinglePointResult = false;
    Attach<TSumFunction>(out);
    out->SetDataSource(src);
    EXPECT_EQ(PointsOf(out), (Points{{1, 45}, {9, 45}}));
}

TEST_F(Functions, PeriodsByPointsLeaveOutTheShortLastPeriod) {
    TChartSeries* src = SourceOf({1, 2, 3, 4, 5, 6, 7});
    TChartSeries* out = NewSeries();
    auto* f = Attach<TSumFunction>(out);
    f->SetPeriod(3);
    out->SetDataSource(src);
    EXPECT_EQ(PointsOf(out), (Points{{2, 6}, {5, 15}}));

    f->SetPeriodAlign(paFirst);
    EXPECT_EQ(PointsOf(out), (Points{{1, 6}, {4, 15}}));
    f->SetPeriodAlign(paLast);
    EXPECT_EQ(PointsOf(out), (Points{{3, 6}, {6, 15}}));
}

// Rounded, a period below one half would be zero points long: each period
// would end before it began and the walk would add results for ever.
TEST_F(Functions, APeriodBelowOneHalfPointEndsAsAPeriodOfOnePoint) {
    TChartSeries* src = SourceOf({4, 5, 6});
    TChartSeries* out = NewSeries();
    auto* f = Attach<TSumFunction>(out);
    f->SetPeriod(0.3);
    out->SetDataSource(src);
    EXPECT_EQ(PointsOf(out), (Points{{1, 4}, {2, 5}, {3, 6}}));
}

// A NaN period is no length at all: taken, every later walk would fail.
TEST_F(Functions, ANegativeOrNaNPeriodIsRefusedAndTheOldOneKept) {
    TChartSeries* out = NewSeries();
    auto* f = Attach<TSumFunction>(out);
    out->SetDataSource(SourceOf({1, 2, 3}));
    f->SetPeriod(2);
    for (const double bad : {-1.0, std::numeric_limits<double>::quiet_NaN()}) {
        try {
            f->SetPeriod(bad);
            FAIL() << "the period " << bad << " was taken";
        } catch (const ChartException& e) {
            EXPECT_EQ(e.Message(), VavIve_FunctionPeriod);
        }
        EXPECT_EQ(f->GetPeriod(), 2);
    }
}

TEST_F(Functions, UpdatesRecalculateOnceAtTheEnd) {
    TChartSeries* src = SourceOf({1, 2, 3, 4});
    TChartSeries* out = NewSeries();
    auto* f = Attach<TSumFunction>(out);
    out->SetDataSource(src);
    f->Calls = 0;
    f->BeginUpdate();
    f->SetPeriod(1);
    f->SetPeriod(2);
    f->SetPeriod(4);
    EXPECT_EQ(f->Calls, 0);
    f->EndUpdate();
    EXPECT_EQ(f->Calls, 1);
    EXPECT_EQ(PointsOf(out), (Points{{2.5, 10}}));
}

TEST_F(Functions, ASourceWithoutPointsGivesNoResults) {
    TChartSeries* src = SourceOf({});
    TChartSeries* out = NewSeries();
    Attach<TSumFunction>(out)->SetPeriod(2);
    out->SetDataSource(src);
    EXPECT_EQ(out->Count(), 0);
}

TEST_F(Functions, ManySourcesAddIndexByIndexAlongTheLongestSource) {
    TChartSeries* a = SourceOf({1, 2, 3});
    TChartSeries* b = SourceOf({10, 20});
    a->SetXLabel(2, u"third");
    TChartSeries* out = NewSeries();
    Attach<TSumFunction>(out);
    out->DataSources().Add(a);
    out->DataSources().Add(b);
    out->CheckDataSource();
    EXPECT_EQ(PointsOf(out), (Points{{1, 11}, {2, 22}, {3, 3}}));
    EXPECT_EQ(out->GetXLabel(2), u"third");
}

TEST_F(Functions, AMovingWindowGivesOneResultPerFullWindowAtItsLastX) {
    TChartSeries* src = SourceOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    TChartSeries* out = NewSeries();
    auto* f = Attach<TSumMoving>(out);
    EXPECT_EQ(f->GetPeriodAlign(), paLast);
    EXPECT_TRUE(f->SingleSourceOnly);
    f->SetPeriod(3);
    out->SetDataSource(src);
    ASSERT_EQ(out->Count(), 8);
    EXPECT_EQ(PointsOf(out).front(), (std::pair<double, double>{3, 6}));
    EXPECT_EQ(PointsOf(out).back(), (std::pair<double, double>{10, 27}));
    f->SetPeriodAlign(paCenter);
    EXPECT_EQ(PointsOf(out).front(), (std::pair<double, double>{2, 6}));
}

TEST_F(Functions, AMovingWindowNeverReadsPastItsSource) {
    TChartSeries* src = SourceOf({1, 2, 3});
    TChartSeries* out = NewSeries();
    auto* f = Attach<TSumMoving>(out);
    f->SetPeriod(0.2); // one point per window
    out->SetDataSource(src);
    EXPECT_EQ(PointsOf(out), (Points{{1, 1}, {2, 2}, {3, 3}}));
    f->SetPeriod(5); // longer than the source
    EXPECT_EQ(out->Count(), 0);
}

// A period of more points than an int holds must still be longer than the
// source, not wrap round to a negative count that reads before the first point.
TEST_F(Functions, APeriodOfMorePointsThanAnIntHoldsGivesNoResults) {
    for (const double period : {3e9, 1e30}) {
        TChartSeries* src = SourceOf({1, 2, 3});
        TChartSeries* out = NewSeries();
        Attach<TSumFunction>(out)->SetPeriod(period);
        out->SetDataSource(src);
        EXPECT_EQ(out->Count(), 0) << period;
        TChartSeries* moving = NewSeries();
        Attach<TSumMoving>(moving)->SetPeriod(period);
        moving->SetDataSource(src);
        EXPECT_EQ(moving->Count(), 0) << period;
    }
}

// Daily values through the first quarter of a leap year, one point a day
// valued 1: each month's result counts its days.
class CalendarPeriods : public Functions {
protected:
    TChartSeries* Daily(TDateTime From, TDateTime To) {
        TChartSeries* s = NewSeries();
        s->SetManualData(true);
        s->GetXValues()->SetDateTime(true);
        for (TDateTime d = From; d <= To; d += 1) s->AddXY(d, 1);
        return s;
    }
    TChartSeries* Output(double Period, TFunctionPeriodAlign Align) {
        TChartSeries* out = NewSeries();
        out->GetXValues()->SetDateTime(true);
        auto* f = Attach<TSumFunction>(out);
        f->SetPeriodStyle(psRange);
        f->SetPeriodAlign(Align);
        f->SetPeriod(Period);
        return out;
    }
};

TEST_F(CalendarPeriods, AMonthPeriodGroupsWholeMonthsOverALeapFebruary) {
    TChartSeries* src = Daily(EncodeDate(2024, 1, 1), EncodeDate(2024, 3, 31));
    TChartSeries* out = Output(30, paFirst);
    out->SetDataSource(src);
    EXPECT_EQ(
        PointsOf(out),
        (Points{{EncodeDate(2024, 1, 1), 31}, {EncodeDate(2024, 2, 1), 29}, {EncodeDate(2024, 3, 1), 31}}));
}

TEST_F(CalendarPeriods, AMonthEndStartStepsToTheFollowingMonthsStart) {
    TChartSeries* src = Daily(EncodeDate(2023, 1, 31), EncodeDate(2023, 3, 2));
    TChartSeries* out = Output(30, paFirst);
    out->SetDataSource(src);
    // The first period runs from the 31st to the 1st of February; the
    // calendar step starts every later one on a month's first day.
    EXPECT_EQ(
        PointsOf(out),
        (Points{{EncodeDate(2023, 1, 31), 1}, {EncodeDate(2023, 2, 1), 28}, {EncodeDate(2023, 3, 1), 2}}));
}

TEST_F(CalendarPeriods, ARangeWithoutPointsGivesAZeroResult) {
    TChartSeries* src = NewSeries();
    src->SetManualData(true);
    src->GetXValues()->SetDateTime(true);
    src->AddXY(EncodeDate(2024, 1, 10), 1);
    src->AddXY(EncodeDate(2024, 3, 10), 1);
    TChartSeries* out = Output(30, paFirst);
    out->SetDataSource(src);
    EXPECT_EQ(
        PointsOf(out),
        (Points{{EncodeDate(2024, 1, 10), 1}, {EncodeDate(2024, 2, 1), 0}, {EncodeDate(2024, 3, 1), 1}}));
}

TEST_F(CalendarPeriods, PlainXRangesStepByThePeriod) {
    TChartSeries* src = SourceOf({1, 1, 1, 1, 1}); // X 1..5
    TChartSeries* out = Output(2, paCenter);
    out->GetXValues()->SetDateTime(false);
    out->SetDataSource(src);
    // [1,3) [3,5) [5,7); each result at the middle of its first X and the
    // period's end less a thousandth of the period.
    EXPECT_EQ(PointsOf(out), (Points{{(1 + 2.998) / 2, 2}, {(3 + 4.998) / 2, 2}, {(5 + 6.998) / 2, 1}}));
}

// A period too small to move X at its magnitude: t + period == t. Walked as
// described, each range would be empty and the walk would add zero results
// for ever.
TEST_F(CalendarPeriods, ARangeThatDoesNotAdvanceEnds) {
    TChartSeries* src = NewSeries();
    src->SetManualData(true);
    src->AddXY(1e20, 1);
    src->AddXY(2e20, 1);
    TChartSeries* out = Output(1, paFirst);
    out->GetXValues()->SetDateTime(false);
    out->SetDataSource(src);
    EXPECT_EQ(out->Count(), 0);
}

// An X that compares with nothing (NaN) or that no step reaches (infinity)
// would leave every later range empty: the walk must take it as a period of
// the range it falls in and go on, not add zero results for ever.
TEST_F(CalendarPeriods, AnXNoStepReachesIsTakenWhereItStands) {
    for (const double odd :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        TChartSeries* src = NewSeries();
        src->SetManualData(true);
        src->GetXValues()->SetOrder(loNone);
        src->AddXY(1, 1);
        src->AddXY(odd, 2);
        src->AddXY(2, 4);
        TChartSeries* out = Output(1, paFirst);
        out->GetXValues()->SetDateTime(false);
        out->SetDataSource(src);
        // Every point is counted once, and the walk ends.
        double total = 0;
        for (int i = 0; i < out->Count(); ++i) total += out->YValue(i);
        EXPECT_EQ(total, 7) << odd;
        EXPECT_LE(out->Count(), 3) << odd;
    }
}

TEST_F(Functions, AFunctionMovesFromSeriesToSeriesWithoutBeingFreed) {
    TChartSeries* a = NewSeries();
    TChartSeries* b = NewSeries();
    auto* f = Attach<TSumFunction>(a);
    EXPECT_EQ(a->GetFunction(), f);
    f->SetParentSeries(b);
    EXPECT_EQ(a->GetFunction(), nullptr);
    EXPECT_EQ(b->GetFunction(), f);
    EXPECT_EQ(f->GetParentSeries(), b);
    EXPECT_EQ(f->GetParentComponent(), b);
}

TEST_F(Functions, AssignCopiesThePeriodSettings) {
    auto* a = Create<TSumFunction>(chart.get());
    auto* b = Create<TSumFunction>(chart.get());
    a->SetPeriod(7);
    a->SetPeriodStyle(psRange);
    a->SetPeriodAlign(paFirst);
    b->Assign(a);
    EXPECT_EQ(b->GetPeriod(), 7);
    EXPECT_EQ(b->GetPeriodStyle(), psRange);
    EXPECT_EQ(b->GetPeriodAlign(), paFirst);
    EXPECT_EQ(b->GetEditorClass(), u"TZuzFunctionEditor");
}

// ---------------------------------------------------------------------------
// Tools

class TCountingTool : public testsupport::TTestClass<TCountingTool, TZuzCustomToolSeries, "TCountingTool"> {
public:
    using TTestClass::TTestClass;
};

TEST_F(Functions, ToolsJoinLeaveAndAreFreedWithTheirChartsList) {
    TChartTools& tools = chart->Tools;
    TZuzCustomTool* t1 = tools.Add(TCountingTool::StaticClass());
    auto* t2 = Create<TCountingTool>(chart.get());
    tools.Add(t2);
    ASSERT_EQ(tools.Count(), 2);
    EXPECT_EQ(t1->GetParentChart(), chart.get());
    EXPECT_EQ(tools[1], t2);

    const int repaints = chart->Repaints;
    t1->SetParentChart(nullptr);
    EXPECT_EQ(tools.Count(), 1);
    EXPECT_GT(chart->Repaints, repaints);
    t1->SetParentChart(chart.get());
    EXPECT_EQ(tools.IndexOf(t1), 1);

    tools.SetActive(false);
    EXPECT_FALSE(t1->GetActive());
    EXPECT_FALSE(t2->GetActive());

    t2->Free();
    EXPECT_EQ(tools.Count(), 1);
    tools.Clear();
    EXPECT_EQ(tools.Count(), 0);
}

TEST_F(Functions, ASeriesToolForgetsAFreedSeries) {
    auto* tool = Create<TCountingTool>(chart.get());
    TChartSeries* s = NewSeries();
    tool->SetSeries(s);
    EXPECT_EQ(tool->GetSeries(), s);
    auto* copy = Create<TCountingTool>(chart.get());
    copy->Assign(tool);
    EXPECT_EQ(copy->GetSeries(), s);
    s->Free();
    EXPECT_EQ(tool->GetSeries(), nullptr);
    EXPECT_EQ(copy->GetSeries(), nullptr);
    EXPECT_EQ(tool->GetEditorClass(), u"TSeriesToolEditor");
}

} // namespace
