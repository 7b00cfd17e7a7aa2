// The axis's numbers: setters and their checks, the automatic range, the
// label step, the value/pixel mapping and placement, and hostile input.
#include "axisfixture.h"
#include "chart/canvas/zuzconst.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <random>

namespace {

constexpr double Second = 1.0 / 86400, Minute = 1.0 / 1440, Hour = 1.0 / 24;

class Axis : public AxisFixture {};

// ---------------------------------------------------------------------------
// Settings

TEST_F(Axis, StoredRulesFollowTheAutomaticFlagsAndDefaults) {
    TChartAxis* a = chart->Bottom;
    EXPECT_FALSE(a->IsMinStored());
    a->SetAutomaticMinimum(false);
    EXPECT_TRUE(a->IsMinStored());
    EXPECT_FALSE(a->IsMaxStored());
    EXPECT_FALSE(a->IsLogBaseStored());
    a->SetLogarithmicBase(2);
    EXPECT_TRUE(a->IsLogBaseStored());
    EXPECT_FALSE(a->IsCustomStored());
    // ZPosition: above 0.011 on a near axis, other than 100 on a far one, never on a depth axis.
    EXPECT_FALSE(a->IsZPosStored());
    a->SetZPosition(0.01);
    EXPECT_FALSE(a->IsZPosStored());
    a->SetZPosition(5);
    EXPECT_TRUE(a->IsZPosStored());
    EXPECT_FALSE(chart->Top->IsZPosStored());
    chart->Depth->SetZPosition(30);
    EXPECT_FALSE(chart->Depth->IsZPosStored());
    EXPECT_FALSE(a->IsAxisValuesFormatStored());
    a->SetValuesFormat(u"0.0");
    EXPECT_TRUE(a->IsAxisValuesFormatStored());
}

TEST_F(Axis, SettersCheckTheirValuesAndKeepTheOldOneOnFailure) {
    TChartAxis* a = chart->Bottom;
    a->SetMinMax(5, 3);
    EXPECT_EQ(a->GetMinimum(), 3);
    EXPECT_EQ(a->GetMaximum(), 5);
    EXPECT_FALSE(a->GetAutomatic() || a->GetAutomaticMinimum() || a->GetAutomaticMaximum());
    a->SetMinMax(2, 2);
    EXPECT_EQ(a->GetMaximum(), 2 + 1e-10);

    a->SetMinMax(0, 10);
    try {
        a->SetMinimum(11);
        FAIL();
    } catch (const AxisException& e) {
        EXPECT_EQ(e.Message(), u"Axis Minimum Value must be <= Maximum");
    }
    EXPECT_EQ(a->GetMinimum(), 0);
    EXPECT_THROW(a->SetMaximum(-1), AxisException);
    chart->IncludeState(csReading);
    a->SetMinimum(11); // a stream may hold it
    EXPECT_EQ(a->GetMinimum(), 11);
    chart->ExcludeState(csReading);

    EXPECT_THROW(a->SetDesiredIncrement(-1), AxisException);
    a->SetLabelsSeparation(0);
    EXPECT_EQ(a->GetLabelsSeparation(), 0);
    try {
        a->SetLabelsSeparation(-1);
        FAIL();
    } catch (const AxisException& e) {
        EXPECT_EQ(e.Message(), u"Labels Separation % must be greater than 0");
    }
    for (const double bad : {1.0, 0.0, -2.0}) EXPECT_THROW(a->SetLogarithmicBase(bad), AxisException) << bad;
    a->SetLogarithmicBase(2);
    a->SetLogarithmicBase(0.5);
    EXPECT_EQ(a->GetLogarithmicBase(), 0.5);
    a->SetLabelsAngle(450);
    EXPECT_EQ(a->GetLabelsAngle(), 90);
    a->SetLabelsAngle(-30);
    EXPECT_EQ(a->GetLabelsAngle(), -30);
    a->SetZPosition(0);
    EXPECT_EQ(a->GetZPosition(), 0.01);
    // Lengths and offsets in pixels from a file are held to the largest picture's side.
    a->SetTickLength(2147483647);
    a->SetMinimumOffset(-2147483647 - 1);
    EXPECT_EQ(a->GetTickLength(), kLargestPictureSide);
    EXPECT_EQ(a->GetMinimumOffset(), -kLargestPictureSide);
    // Places on the chart from a file are held to the editor's range.
    a->SetStartPosition(-1e300);
    a->SetEndPosition(1e300);
    a->SetPositionPercent(-1e300);
    EXPECT_EQ(a->GetStartPosition(), 0);
    EXPECT_EQ(a->GetEndPosition(), 100);
    EXPECT_EQ(a->GetPositionPercent(), -1000);
    a->SetPositionPercent(std::nan(""));
    EXPECT_EQ(a->GetPositionPercent(), -1000);
}

TEST_F(Axis, AutomaticFlagsFollowEachOther) {
    TChartAxis* a = chart->Bottom;
    a->SetAutomatic(false);
    EXPECT_FALSE(a->GetAutomaticMinimum() || a->GetAutomaticMaximum());
    a->SetAutomaticMinimum(true);
    EXPECT_FALSE(a->GetAutomatic());
    a->SetAutomaticMaximum(true);
    EXPECT_TRUE(a->GetAutomatic());
    a->SetAutomaticMaximum(false);
    EXPECT_FALSE(a->GetAutomatic());
    chart->IncludeState(csLoading);
    a->SetAutomatic(true);
    EXPECT_FALSE(a->GetAutomaticMaximum()); // a stream sets each flag itself
    chart->ExcludeState(csLoading);
}

TEST_F(Axis, AChangedSettingRepaintsAnEqualOneDoesNot) {
    TChartAxis* a = chart->Bottom;
    chart->Repaints = 0;
    a->SetTickLength(4);
    EXPECT_EQ(chart->Repaints, 0);
    a->SetTickLength(5);
    EXPECT_EQ(chart->Repaints, 1);
    a->GetGrid()->SetColor(clRed); // owned pens repaint the chart too
    EXPECT_EQ(chart->Repaints, 2);
}

TEST_F(Axis, AssignCopiesTheSettingsButNotThePosition) {
    TChartAxis* a = chart->Bottom;
    a->SetMinMax(1, 9);
    a->SetLabelsAngle(90);
    a->SetZPosition(40);
    a->GetItems()->Add(5, u"five");
    chart->Left->Assign(a);
    EXPECT_EQ(chart->Left->GetMaximum(), 9);
    EXPECT_EQ(chart->Left->GetLabelsAngle(), 90);
    EXPECT_TRUE(chart->Left->GetHorizontal());
    EXPECT_NE(chart->Left->GetZPosition(), 40);
    ASSERT_EQ(chart->Left->GetItems()->Count(), 1);
    EXPECT_EQ(chart->Left->GetItems()->Get(0)->GetText(), u"five");
    EXPECT_FALSE(chart->Left->GetItems()->Automatic);
}

TEST_F(Axis, TheSeventhAxisIsACustomOneAndItsSeriesReturnWhenItGoes) {
    auto* custom = static_cast<TChartAxis*>(chart->CustomAxes.Add());
    EXPECT_EQ(chart->Axes.Count(), 7);
    EXPECT_EQ(custom->GetCollection(), &chart->CustomAxes);
    EXPECT_TRUE(custom->IsCustom());
    EXPECT_EQ(chart->Bottom->GetCollection(), nullptr);
    TChartSeries* s = NewSeries();
    s->SetCustomVertAxis(custom);
    EXPECT_EQ(s->GetVertAxisObject(), custom);
    custom->Free();
    EXPECT_EQ(chart->Axes.Count(), 6);
    EXPECT_EQ(s->GetCustomVertAxis(), nullptr);
    EXPECT_EQ(s->GetVertAxis(), aLeftAxis);
    EXPECT_EQ(s->GetVertAxisObject(), chart->Left);
}

TEST_F(Axis, CustomAxesFollowTheirMasterAxis) {
    chart->CustomAxes.ResetScales(chart->Left); // none: nothing happens
    auto* follower = static_cast<TChartAxis*>(chart->CustomAxes.Add());
    auto* other = static_cast<TChartAxis*>(chart->CustomAxes.Add());
    follower->MasterAxis = chart->Left;
    chart->Left->SetMinMax(3, 7);
    EXPECT_EQ(follower->GetMinimum(), 3);
    EXPECT_EQ(follower->GetMaximum(), 7);
    EXPECT_TRUE(other->GetAutomatic());
    // A ring of masters hands the range round once and ends.
    follower->MasterAxis = other;
    other->MasterAxis = follower;
    follower->SetMinMax(1, 2);
    EXPECT_EQ(other->GetMaximum(), 2);
}

TEST_F(Axis, AxesListResetsHidesAndSwitchesTheMappings) {
    chart->Bottom->SetMinMax(0, 1);
    chart->Left->SetAutomaticMaximum(false);
    chart->Axes.Reset();
    EXPECT_TRUE(chart->Bottom->GetAutomatic() && chart->Left->GetAutomaticMaximum());
    chart->Axes.Hide();
    EXPECT_FALSE(chart->Axes.GetVisible());
    TChartAxis* a = Bottom(0, 400, 101, 501);
    EXPECT_EQ(a->CalcPosValue(0.5), 102); // clamped: Round(101.5)
    chart->Axes.SetFastCalc(true);
    EXPECT_EQ(a->CalcPosValue(0.5), 101); // fast: 101 + Round(0.5)
    EXPECT_EQ(a->CalcPosValue(1.5), 103);
}

// ---------------------------------------------------------------------------
// Range

TEST_F(Axis, AdjustMaxMinTakesTheEndsFromTheSeriesOnTheAxis) {
    TChartSeries* s = NewSeries();
    s->AddXY(2, 30);
    s->AddXY(8, -5);
    chart->Layout();
    chart->Bottom->AdjustMaxMin();
    chart->Left->AdjustMaxMin();
    EXPECT_EQ(chart->Bottom->IMinimum, 2);
    EXPECT_EQ(chart->Bottom->IMaximum, 8);
    EXPECT_EQ(chart->Left->IMinimum, -5);
    EXPECT_EQ(chart->Left->IRange, 35);
    chart->Left->SetAutomaticMaximum(false);
    chart->Left->SetMaximum(100);
    chart->Left->AdjustMaxMin();
    EXPECT_EQ(chart->Left->IMaximum, 100);
    EXPECT_EQ(chart->Left->IMinimum, -5);
    // No series: 0..0, every value in the middle, step 1.
    chart->Right->InternalCalcPositions();
    chart->Right->AdjustMaxMin();
    EXPECT_TRUE(chart->Right->IRangeZero);
    EXPECT_EQ(chart->Right->CalcPosValue(123), chart->Right->ICenterPos);
    EXPECT_EQ(chart->Right->CalcLabelsIncrement(5), 1);
}

TEST_F(Axis, RoundedEndsFallOnTheIncrementInDouble) {
    TChartSeries* s = NewSeries();
    s->AddXY(-0.3, 0);
    s->AddXY(1.1, 0);
    chart->Layout();
    TChartAxis* a = chart->Bottom;
    a->SetDesiredIncrement(0.25);
    a->SetMaximumRound(true);
    a->SetMinimumRound(true);
    a->AdjustMaxMin();
    EXPECT_DOUBLE_EQ(a->IMaximum, 1.25);
    EXPECT_DOUBLE_EQ(a->IMinimum, -0.5);
    // Quotients beyond 32 bits keep their value.
    s->Clear();
    s->AddXY(5e9, 0);
    s->AddXY(5e9 + 0.3, 0);
    a->AdjustMaxMin();
    EXPECT_EQ(a->IMaximum, 5e9 + 0.5);
    EXPECT_EQ(a->IMinimum, 5e9);
}

TEST_F(Axis, AdjustMaxMinRectWidensTheRangeForPixelMargins) {
    chart->ChartRect = TRect{100, 50, 500, 450};
    TChartAxis* a = chart->Bottom;
    a->InternalCalcPositions();
    a->IMinimum = 0;
    a->IMaximum = 10;
    a->InternalCalcRange();
    a->AdjustMaxMinRect(TRect{5, 0, 5, 0});
    EXPECT_NEAR(a->IMinimum, -0.1282051282, 1e-9);
    EXPECT_NEAR(a->IMaximum, 10.1282051282, 1e-9);
    EXPECT_EQ(a->IStartPos, 100);
    EXPECT_NEAR(a->CalcPosValue(0), 105, 1);
    EXPECT_NEAR(a->CalcPosValue(10), 495, 1);
    // Margins that leave no axis keep the range.
    a->IMinimum = 0;
    a->IMaximum = 10;
    a->InternalCalcRange();
    a->AdjustMaxMinRect(TRect{200, 0, 200, 0});
    EXPECT_EQ(a->IMinimum, 0);
    EXPECT_EQ(a->IMaximum, 10);
}

TEST_F(Axis, ScrollMovesTheFixedRangeOnlyTowardsTheSeries) {
    TChartSeries* s = NewSeries();
    s->AddXY(0, 0);
    s->AddXY(10, 0);
    TChartAxis* a = chart->Bottom;
    a->SetMinMax(0, 20);
    a->Scroll(1, true);
    EXPECT_EQ(a->GetMaximum(), 20); // the series already ends inside
    a->Scroll(0, true);
    EXPECT_EQ(a->GetMinimum(), 0);
    a->Scroll(-1, true);
    EXPECT_EQ(a->GetMinimum(), 0);
    a->SetMinMax(2, 5);
    a->Scroll(-1, true);
    EXPECT_EQ(a->GetMinimum(), 1);
    a->Scroll(3, false);
    EXPECT_EQ(a->GetMaximum(), 7);
}

TEST_F(Axis, LogarithmicAxesRefuseDatesAndNegativeRanges) {
    TChartSeries* s = NewSeries();
    s->AddXY(1, -3);
    EXPECT_THROW(chart->Left->SetLogarithmic(true), AxisException);
    EXPECT_FALSE(chart->Left->GetLogarithmic());
    s->GetXValues()->SetDateTime(true);
    try {
        chart->Bottom->SetLogarithmic(true);
        FAIL();
    } catch (const AxisException& e) {
        EXPECT_EQ(e.Message(), u"DateTime Axis cannot be Logarithmic");
    }
    EXPECT_TRUE(chart->Bottom->IsDateTime());
    EXPECT_FALSE(chart->Left->IsDateTime());
}

TEST_F(Axis, DepthAxesShareTheirInversion) {
    chart->Depth->SetInverted(true);
    EXPECT_TRUE(chart->DepthTop->GetInverted());
    chart->DepthTop->SetInverted(false);
    EXPECT_FALSE(chart->Depth->GetInverted());
}

// ---------------------------------------------------------------------------
// The label step

TEST(NextNiceStep, TakesTheNextOfOneTwoFiveAsTheNearestDouble) {
    const std::pair<double, double> rows[] = {{1, 2},       {2, 5},       {5, 10},        {10, 20},
                                              {0.3, 0.5},   {0.1, 0.2},   {0.003, 0.005}, {1e-6, 2e-6},
                                              {1e-5, 2e-5}, {1999, 2000}, {7e12, 1e13}};
    for (const auto& [in, out] : rows) EXPECT_EQ(NextNiceStep(in), out) << in;
    EXPECT_EQ(NextNiceStep(std::numeric_limits<double>::infinity()), 1);
}

TEST(NextNiceStep, ZeroNegativeAndNaNGiveASmallPositiveStep) {
    for (const double v : {0.0, -1.0, -1e300, std::numeric_limits<double>::quiet_NaN()}) {
        const double r = NextNiceStep(v);
        EXPECT_GT(r, 0) << v;
        EXPECT_LE(r, 1e-12) << v;
    }
}

TEST(NextNiceStep, AlwaysGrowsStrictly) {
    std::mt19937_64 random(16);
    std::uniform_real_distribution<double> exponent(-320, 308), mantissa(1, 10);
    for (int i = 0; i < 200000; ++i) {
        const double v = mantissa(random) * std::pow(10.0, exponent(random));
        if (!(v > 0) || std::isinf(v)) continue;
        const double r = NextNiceStep(v);
        ASSERT_GT(r, v) << v;
        ASSERT_GT(NextNiceStep(std::nextafter(r, 0.0)), std::nextafter(r, 0.0)) << r;
    }
    for (double v : {5e-324, 1e-310, 2e-6 * (1 - 1e-15), 1.7976931348623157e308})
        EXPECT_GT(NextNiceStep(v), v) << v;
}

struct StepRow {
    const char* rule;
    double min, max;
    int maxLabels;
    double increment;
    int separation;
    bool dateTime;
    double expected;
};

class LabelStep : public Axis, public ::testing::WithParamInterface<StepRow> {};

TEST_P(LabelStep, IsTheSmallestThatFits) {
    const StepRow& r = GetParam();
    TChartAxis* a = Bottom(r.min, r.max);
    a->SetDesiredIncrement(r.increment);
    a->SetLabelsSeparation(r.separation);
    a->IAxisDateTime = r.dateTime;
    EXPECT_NEAR(a->CalcLabelsIncrement(r.maxLabels), r.expected, r.expected * 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Vectors, LabelStep,
    ::testing::Values(StepRow{"AGivenIncrementIsOnlyALowerBound", 0, 1000, 10, 0.5, 10, false, 100},
                      StepRow{"NoSeparationTakesTheStartStep", 0, 100, 9, 0, 0, false, 10},
                      StepRow{"AZeroRangeStepsByOne", 5, 5, 10, 0, 10, false, 1},
                      StepRow{"NoRoomGivesTheSmallestStep", 0, 100, 0, 0, 10, false, 1e-12},
                      StepRow{"OneDayTakesSixHoursForTenLabels", 45000, 45001, 10, 0, 10, true, 6 * Hour},
                      StepRow{"ThirtyYearsDoubleYearStepsToEight", 0, 30 * 365, 5, 0, 10, true, 8 * 365},
                      StepRow{"OneSecondForTwentyLabelsOverAMinute", 45000, 45000 + Minute, 20, 0, 10, true,
                              5 * Second},
                      StepRow{"OneMonthTakesWeeks", 45000, 45030, 6, 0, 10, true, 7},
                      StepRow{"OneYearTakesMonths", 45000, 45365, 12, 0, 10, true, 30},
                      StepRow{"DecadesTakeYearSteps", 30000, 30000 + 3650, 10, 0, 10, true, 365},
                      StepRow{"NoRoomOnADateAxisGivesOneMicrosecond", 0, 1, 0, 0, 10, true,
                              DateTimeStep[dtOneMicroSecond]}),
    [](const auto& info) { return std::string(info.param.rule); });

TEST_F(Axis, FewPointsOnTheAxisKeepTheStepWhole) {
    TChartSeries* s = NewSeries();
    for (int i = 0; i < 5; ++i) s->AddXY(i, i);
    TChartAxis* a = Bottom(0, 4);
    EXPECT_EQ(a->CalcLabelsIncrement(20), 1);
}

TEST_F(Axis, CalcIncrementMeasuresItsLabelsAndReRunsFromOne) {
    chart->CharWidth = 5; // "12.5", the widest probe, is 20 pixels
    TChartAxis* a = Bottom(0, 100, 0, 500);
    EXPECT_EQ(a->CalcIncrement(), 5);
    EXPECT_EQ(a->GetIncrement(), 0); // put back after the second run
    // A separation of 100 % doubles each label's room: 40 pixels leave room for 12 labels, not 25.
    a->SetLabelsSeparation(100);
    EXPECT_EQ(a->CalcIncrement(), 10);
    a->SetLabelsSeparation(10);
    a->SetLabelsAlternate(true);
    EXPECT_EQ(a->CalcIncrement(), 2.5);
    // "1,000.456" leaves room for 12 labels and a step of 100; the second run
    // measures whole labels ("1,000"), has room for 22 and takes 50.
    a->SetLabelsAlternate(false);
    a = Bottom(0.123, 1000.456, 0, 600);
    EXPECT_EQ(a->CalcIncrement(), 50);
    // The labels a step gives are measured, not only the probes: "0", "1" and "0.5" leave room
    // for a step of 0.05, whose "0.05" and "0.15" would then touch; a step of 0.1 fits. Likewise
    // "0.005" and "0.015" on 0..0.1.
    for (const bool russian : {false, true}) {
        FormatSettings = russian ? RussianFormatSettings() : EnglishFormatSettings();
        a = Bottom(0, 1, 0, 420);
        EXPECT_NEAR(a->CalcIncrement(), 0.1, 1e-12) << russian;
        a = Bottom(0, 0.1, 0, 480);
        EXPECT_NEAR(a->CalcIncrement(), 0.01, 1e-12) << russian;
    }
}

TEST_F(Axis, TheGraphWindowsHourTakesTenMinuteSteps) {
    TChartSeries* s = NewSeries();
    s->GetXValues()->SetDateTime(true);
    s->AddXY(45000, 1);
    s->AddXY(45000 + Hour, 2);
    TChartAxis* a = Bottom(45000, 45000 + Hour, 0, 600);
    a->IAxisDateTime = true;
    a->SetDesiredIncrement(Second);
    a->SetLabelsSeparation(25);
    a->SetDateTimeFormat(u"HH:mm:ss");
    EXPECT_NEAR(a->CalcIncrement(), 10 * Minute, 1e-12);
}

TEST_F(Axis, AShortDateAxisTakesNoMoreDatesThanFitEndToEnd) {
    chart->CharWidth = 5; // "dd.mm.yyyy" is 50 pixels, 55 with its separation
    TChartAxis* a = Bottom(45000, 45030, 0, 90);
    a->IAxisDateTime = true;
    a->SetDateTimeFormat(u"dd.mm.yyyy");
    // 90 pixels round to room for two 55-pixel labels, yet two dates half a month apart lie 45
    // pixels from each other: a month apart, one of them is left out instead.
    EXPECT_GE(a->CalcIncrement() * 90 / 30, 50);
}

TEST_F(Axis, HostileRangesEndQuickly) {
    const auto start = std::chrono::steady_clock::now();
    const double inf = std::numeric_limits<double>::infinity(),
                 nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<double, double> ranges[] = {
        {0, inf},   {-inf, inf},           {nan, 1},    {0, nan},
        {0, 1e308}, {-1e308, 1e308},       {0, 5e-324}, {1e300, 1e300 * 1.0000001},
        {10, -10},  {45000, 45000 + 1e-15}};
    for (const bool dateTime : {false, true})
        for (const auto& [lo, hi] : ranges) {
            TChartAxis* a = Bottom(lo, hi);
            a->IAxisDateTime = dateTime;
            const double inc = a->CalcIncrement();
            EXPECT_TRUE(inc > 0 || std::isnan(hi - lo)) << lo << ".." << hi;
            if (!std::isfinite(lo) || !std::isfinite(hi)) {
                EXPECT_EQ(inc, 1);
                EXPECT_TRUE(a->ValueLabels(inc, dtNone).empty());
            }
            EXPECT_LE(a->ValueLabels(inc, dtNone).size(), static_cast<std::size_t>(MaxAxisLabelSteps));
            EXPECT_LE(a->ValueLabels(1e-300, dtNone).size(), static_cast<std::size_t>(MaxAxisLabelSteps));
            EXPECT_LE(a->ValueLabels(inc, dtOneYear).size(), static_cast<std::size_t>(MaxAxisLabelSteps));
            a->MaxLabelsWidth();
        }
    // A logarithmic base below 1 walks the same powers.
    TChartAxis* a = Bottom(1, 1000);
    a->IAxisDateTime = false;
    a->SetLogarithmicBase(0.5);
    a->SetLogarithmic(true);
    a->IMinimum = 1;
    a->IMaximum = 1000;
    a->InternalCalcRange();
    EXPECT_GT(a->CalcLabelsIncrement(10), 1);
    EXPECT_EQ(a->LogLabels().size(), 10u); // 1, 2, 4 ... 512
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

// ---------------------------------------------------------------------------
// Mapping

struct MapRow {
    const char* rule;
    bool horizontal, inverted, logarithmic;
    int from, to;
    double min, max, value;
    int expected;
};

class Mapping : public Axis, public ::testing::WithParamInterface<MapRow> {};

TEST_P(Mapping, PutsTheValueOnItsPixel) {
    const MapRow& r = GetParam();
    TChartAxis* a = r.horizontal ? chart->Bottom : chart->Left;
    a->SetInverted(r.inverted);
    a->IStartPos = r.from;
    a->IEndPos = r.to;
    a->IMinimum = r.min;
    a->IMaximum = r.max;
    if (r.logarithmic) {
        TChartSeries* s = NewSeries();
        s->AddXY(r.min, r.min);
        s->AddXY(r.max, r.max);
        a->SetLogarithmic(true);
        a->IMinimum = r.min;
        a->IMaximum = r.max;
    }
    a->RecalcSizeCenter();
    EXPECT_EQ(a->CalcPosValue(r.value), r.expected);
}

const double Far = 1e6 * 10;

INSTANTIATE_TEST_SUITE_P(
    Vectors, Mapping,
    ::testing::Values(
        MapRow{"MiddleOfBottomAxis", true, false, false, 100, 500, 0, 10, 5, 300},
        MapRow{"MiddleOfInvertedBottomAxis", true, true, false, 100, 500, 0, 10, 5, 300},
        MapRow{"QuarterOfBottomAxis", true, false, false, 100, 500, 0, 10, 2.5, 200},
        MapRow{"QuarterOfInvertedBottomAxis", true, true, false, 100, 500, 0, 10, 2.5, 400},
        MapRow{"LeftAxisMinimumAtTheBottom", false, false, false, 50, 450, 0, 100, 0, 450},
        MapRow{"LeftAxisMaximumAtTheTop", false, false, false, 50, 450, 0, 100, 100, 50},
        MapRow{"InvertedLeftAxisMaximumAtTheBottom", false, true, false, 50, 450, 0, 100, 100, 450},
        MapRow{"ZeroRangeInTheMiddle", true, false, false, 100, 501, 3, 3, 77, 300},
        MapRow{"FarAboveClampsToMaxPixelPos", true, false, false, 100, 500, 0, 10, Far, 0x3FFFFFF},
        MapRow{"FarBelowClampsToMinusMaxPixelPos", true, false, false, 100, 500, 0, 10, -Far, -0x3FFFFFF},
        MapRow{"OutsideStillMapsLinearly", true, false, false, 100, 500, 0, 10, 12.5, 600},
        MapRow{"LogarithmicDecade", true, false, true, 0, 300, 1, 1000, 10, 100},
        MapRow{"LogarithmicZeroAtTheStart", true, false, true, 0, 300, 1, 1000, 0, 0},
        MapRow{"LogarithmicZeroAtTheBottomOfAVerticalAxis", false, false, true, 0, 300, 1, 1000, -5, 300},
        MapRow{"LogarithmicInvertedDecade", true, true, true, 0, 300, 1, 1000, 10, 200}),
    [](const auto& info) { return std::string(info.param.rule); });

TEST_F(Axis, PixelsMapBackToValues) {
    TChartAxis* a = Bottom(0, 10);
    EXPECT_EQ(a->CalcPosPoint(200), 2.5);
    a->SetInverted(true);
    EXPECT_EQ(a->CalcPosPoint(200), 7.5);
    a->SetInverted(false);
    EXPECT_EQ(a->CalcSizeValue(2.5), 100);
    EXPECT_EQ(a->CalcSizeValue(-1), 0);
    // Logarithmic: the ends exactly, without a round trip through exp and ln.
    TChartSeries* s = NewSeries();
    s->AddXY(0.3, 1);
    s->AddXY(0.7, 1);
    a->SetLogarithmic(true);
    a->IMinimum = 0.3;
    a->IMaximum = 0.7;
    a->InternalCalcRange();
    EXPECT_EQ(a->CalcPosPoint(100), 0.3);
    EXPECT_EQ(a->CalcPosPoint(500), 0.7);
    EXPECT_NEAR(a->CalcPosPoint(300), std::sqrt(0.3 * 0.7), 1e-12);
}

TEST_F(Axis, FarValuesStayOnTheirSideInEveryMapping) {
    const double inf = std::numeric_limits<double>::infinity();
    // A narrow logarithmic range makes even near values thousands of axes long.
    TChartSeries* s = NewSeries();
    s->AddXY(1, 1);
    s->AddXY(1.000001, 1);
    TChartAxis* a = Bottom(1, 1.000001);
    a->SetLogarithmic(true);
    a->IMinimum = 1;
    a->IMaximum = 1.000001;
    a->InternalCalcRange();
    for (const bool inverted : {false, true}) {
        a->SetInverted(inverted);
        for (const double v : {1e300, inf}) {
            const int p = a->CalcPosValue(v);
            if (inverted)
                EXPECT_LT(p, 100) << v;
            else
                EXPECT_GT(p, 500) << v;
        }
    }
    TChartAxis* left = chart->Left;
    left->IStartPos = 50;
    left->IEndPos = 450;
    left->SetLogarithmic(true);
    left->IMinimum = 1;
    left->IMaximum = 1.000001;
    left->RecalcSizeCenter();
    EXPECT_LT(left->CalcPosValue(1e300), 50);
    // The fast mapping, meant for values near the range, still keeps the side.
    chart->GetAxes()->SetFastCalc(true);
    TChartAxis* b = chart->Bottom;
    b->SetLogarithmic(false);
    b->SetInverted(false);
    b->IMinimum = 0;
    b->IMaximum = 10;
    b->RecalcSizeCenter();
    EXPECT_GT(b->CalcPosValue(1e300), 500);
    EXPECT_LT(b->CalcPosValue(-1e300), 100);
    left->SetLogarithmic(false);
    left->IMinimum = 0;
    left->IMaximum = 10;
    left->RecalcSizeCenter();
    EXPECT_LT(left->CalcPosValue(1e300), 50);
    EXPECT_GT(left->CalcPosValue(-1e300), 450);
    chart->GetAxes()->SetFastCalc(false);
}

TEST_F(Axis, DepthMappingCountsFromTheFront) {
    TChartAxis* d = chart->Depth;
    d->IStartPos = 0;
    d->IEndPos = 60;
    d->IMinimum = -0.5;
    d->IMaximum = 2.5;
    d->RecalcSizeCenter();
    EXPECT_EQ(d->CalcPosValue(0.5), 20);
    d->SetInverted(true);
    EXPECT_EQ(d->CalcPosValue(0.5), 40);
}

TEST_F(Axis, PlacementFollowsStartEndAndPositionPercent) {
    chart->ChartRect = TRect{100, 50, 500, 450};
    TChartAxis* a = chart->Bottom;
    a->SetEndPosition(50);
    a->InternalCalcPositions();
    EXPECT_EQ(a->IStartPos, 100);
    EXPECT_EQ(a->IEndPos, 300);
    EXPECT_EQ(a->ICenterPos, 200);
    const TRect r{0, 0, 400, 300};
    chart->Left->SetPositionPercent(50);
    EXPECT_EQ(chart->Left->ApplyPosition(chart->Left->GetRectangleEdge(r), r), 200);
    chart->Right->SetPositionPercent(50);
    EXPECT_EQ(chart->Right->ApplyPosition(chart->Right->GetRectangleEdge(r), r), 200);
    chart->Bottom->SetPositionPercent(10);
    EXPECT_EQ(chart->Bottom->ApplyPosition(chart->Bottom->GetRectangleEdge(r), r),
              270); // upward, into the chart
    chart->Bottom->SetPosUnits(muPixels);
    EXPECT_EQ(chart->Bottom->ApplyPosition(300, r), 290);
    EXPECT_EQ(chart->Left->InflateAxisPos(100, 5), 95);
    EXPECT_EQ(chart->Top->InflateAxisPos(100, 5), 95);
    EXPECT_EQ(chart->Bottom->InflateAxisPos(100, 5), 105);
    TRect q{0, 0, 100, 100};
    chart->Right->InflateAxisRect(q, 10);
    EXPECT_EQ(q.Right, 90);
    EXPECT_EQ(a->SizeTickAxis(), 7); // pen 2 + 1, ticks 4, minor 2
    a->GetAxisPen()->Hide();
    EXPECT_EQ(a->SizeTickAxis(), 4);
    a->GetTicks()->Hide();
    EXPECT_EQ(a->SizeTickAxis(), 2);
}

TEST_F(Axis, CalcRectTakesTheRoomOfTitleLabelsAndTicks) {
    chart->ChartRect = TRect{0, 0, 400, 300};
    chart->Layout();
    TChartAxis* a = chart->Left;
    a->GetTitle()->SetCaption(u"Value");
    a->SetTitleSize(12);
    a->SetLabelsSize(30);
    chart->WallSize = 3;
    TRect r{0, 0, 400, 300};
    a->CalcRect(r, true);
    EXPECT_EQ(r.Left, 12 + 30 + 3 + 7);
    EXPECT_EQ(a->PosTitle, 12);
    EXPECT_EQ(a->PosLabels, 42);
    chart->Axes.OnCalcPosLabels = TAxisCalcPosLabels([](TChartAxis*, int) { return 10; });
    r = TRect{0, 0, 400, 300};
    a->CalcRect(r, true);
    EXPECT_EQ(r.Left, 12 + 10 + 3 + 7);
    r = TRect{0, 0, 400, 300};
    a->CalcRect(r, false);
    EXPECT_EQ(a->PosAxis, 0);
    EXPECT_EQ(a->PosLabels, -7);
    EXPECT_EQ(a->PosTitle, -37);
}

TEST_F(Axis, ClickedHitsTheLabelBandAndTheGap) {
    chart->ChartRect = TRect{100, 50, 500, 450};
    chart->Layout();
    TChartAxis* a = chart->Bottom;
    a->PosAxis = 450;
    a->PosLabels = 470;
    EXPECT_TRUE(a->Clicked(300, 447));
    EXPECT_TRUE(a->Clicked(300, 470));
    EXPECT_FALSE(a->Clicked(300, 446));
    EXPECT_FALSE(a->Clicked(501, 460));
    a->SetVisible(false);
    EXPECT_FALSE(a->Clicked(300, 460));
}

} // namespace
