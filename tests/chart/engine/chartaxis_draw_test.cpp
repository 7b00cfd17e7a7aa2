// The axis's labels and drawing: texts under English and Russian settings,
// label styles, the widest label, the label sequences, custom labels, ticks,
// grids and minor ticks, pixel probes of a drawn axis and pictures of date axes.
#include "axisfixture.h"
#include "tests/chart/canvas/canvasfixture.h"
#include "tests/support/picturefile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <limits>

namespace {

using canvastest::CanvasOn;

constexpr double Hour = 1.0 / 24;

class AxisLabels : public AxisFixture {};

// ---------------------------------------------------------------------------
// Texts

struct TextRow {
    const char* rule;
    bool russian, dateTime;
    double range, value;
    const char16_t* format; // empty: the axis's default
    const char16_t* expected;
    bool logarithmic = false;
};

class LabelText : public AxisLabels, public ::testing::WithParamInterface<TextRow> {};

TEST_P(LabelText, FollowsTheFormatAndTheSettings) {
    const TextRow& r = GetParam();
    FormatSettings = r.russian ? RussianFormatSettings() : EnglishFormatSettings();
    chart->Bottom->SetLogarithmic(r.logarithmic);
    TChartAxis* a = Bottom(r.value - r.range, r.value);
    a->IAxisDateTime = r.dateTime;
    if (*r.format) (r.dateTime ? a->SetDateTimeFormat(r.format) : a->SetValuesFormat(r.format));
    EXPECT_EQ(a->LabelValue(r.value), String(r.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Vectors, LabelText,
    ::testing::Values(
        TextRow{"EnglishThousands", false, false, 1, 1234.5, u"", u"1,234.5"},
        TextRow{"RussianThousands", true, false, 1, 1234.5, u"", u"1\u00A0234,5"},
        TextRow{"TinyValuesShowZero", false, false, 1, 0.0001, u"", u"0"},
        TextRow{"TinyPowersShowTheirValue", false, false, 5e-5, 0.0001, u"", u"0.0001", true},
        TextRow{"RussianTinyPowersShowTheirValue", true, false, 5e-5, 0.0001, u"", u"0,0001", true},
        TextRow{"PowersFarBelowOneShowTheirExponent", true, false, 5e-13, 1e-12, u"", u"1E-12", true},
        TextRow{"PowersTheFormatShowsKeepIt", true, false, 5e-4, 0.001, u"", u"0,001", true},
        TextRow{"ThreeDecimalsRounded", false, false, 1, -1234.5678, u"", u"-1,234.568"},
        TextRow{"RussianThreeDecimals", true, false, 1, -1234.5678, u"", u"-1\u00A0234,568"},
        TextRow{"OwnNumberFormat", false, false, 1, 25, u"##0.## %", u"25 %"},
        TextRow{"HoursShowTheShortTime", true, true, 0.5, 45000.75, u"", u"18:00"},
        TextRow{"EnglishHoursShowTheShortTime", false, true, 0.5, 45000.75, u"", u"6:00 PM"},
        TextRow{"DaysShowTheShortDate", true, true, 30, 45000.75, u"", u"15.03.2023"},
        TextRow{"EnglishDaysShowTheShortDate", false, true, 30, 45000.75, u"", u"3/15/2023"},
        TextRow{"OneDayExactlyIsStillTimes", true, true, 1, 45000.5, u"", u"12:00"},
        TextRow{"OwnDateFormat", true, true, 0.5, 45000.75, u"dd/MM HH:mm", u"15.03 18:00"},
        TextRow{"AHairBeforeTheHourShowsTheHour", true, true, 0.5, 45000.5 - 1e-9, u"HH:mm:ss", u"12:00:00"}),
    [](const auto& info) { return std::string(info.param.rule); });

// The settings the program takes from the system: run once more under ru_RU.UTF-8.
TEST(AxisLabelsUnderTheSystemLocale, FollowTheProgramsFormatSettings) {
    StartEngineUnits();
    auto chart = MakeOwned<TAxisTestChart>(nullptr);
    TChartAxis* a = chart->Bottom;
    a->IMinimum = 45000;
    a->IMaximum = 45030;
    a->InternalCalcRange();
    const char* locale = std::getenv("MOLTREN_TEST_LOCALE");
    const bool russian = locale && std::string(locale).rfind("ru_RU", 0) == 0;
    // The system's own thousands separator (a narrow no-break space under glibc's Russian).
    const String thousands =
        russian ? String(u"1") + FormatSettings.ThousandSeparator + u"234,5" : u"1,234.5";
    EXPECT_EQ(a->LabelValue(1234.5), thousands);
    EXPECT_EQ(FormatSettings.DecimalSeparator, russian ? u',' : u'.');
    a->IAxisDateTime = true;
    EXPECT_EQ(a->LabelValue(45000.75), russian ? u"15.03.2023" : FormatDateTime(u"ddddd", 45000.75));
    a->IMaximum = 45000.5;
    a->InternalCalcRange();
    EXPECT_EQ(a->LabelValue(45000.75),
              russian ? u"18:00" : FormatDateTime(FormatSettings.ShortTimeFormat, 45000.75));
}

TEST_F(AxisLabels, TheChartsEventHasTheLastWordAndMultiLineBreaksAtSpaces) {
    TChartAxis* a = Bottom(0, 10);
    chart->GetAxisLabel = TAxisOnGetLabel([](TChartAxis*, TChartSeries* s, int index, String& text) {
        EXPECT_EQ(s, nullptr);
        EXPECT_EQ(index, -1);
        text += u" kWh";
    });
    EXPECT_EQ(a->LabelValue(5), u"5 kWh");
    a->SetLabelsMultiLine(true);
    EXPECT_EQ(a->LabelValue(5), u"5\rkWh");
}

TEST_F(AxisLabels, StyleFollowsTheSeriesOnTheAxis) {
    EXPECT_EQ(chart->Bottom->CalcLabelStyle(), talNone);
    TChartSeries* s = NewSeries();
    s->AddXY(1, 2);
    s->AddXY(2, 3);
    EXPECT_EQ(chart->Bottom->CalcLabelStyle(), talValue);
    EXPECT_EQ(chart->Left->CalcLabelStyle(), talValue);
    EXPECT_EQ(chart->Top->CalcLabelStyle(), talNone);
    s->SetXLabel(1, u"March");
    EXPECT_EQ(chart->Bottom->CalcLabelStyle(), talText);
    EXPECT_EQ(chart->Left->CalcLabelStyle(), talValue); // labels belong to the X values
    chart->Bottom->SetLabelStyle(talValue);
    EXPECT_EQ(chart->Bottom->CalcLabelStyle(), talValue);
    EXPECT_EQ(chart->Depth->CalcLabelStyle(), talText); // all at one depth: the titles
    s->SetActive(false);
    EXPECT_EQ(chart->Left->CalcLabelStyle(), talNone);
}

TEST_F(AxisLabels, MaxLabelsWidthMeasuresAtMostFiveThousandWithTheEventOff) {
    TChartSeries* s = NewSeries();
    s->AddXY(0, 0);
    s->AddXY(1e6, 0);
    TChartAxis* a = Bottom(0, 1e6, 0, 10000000);
    a->SetLabelsSeparation(0); // the step is then as small as the pixels allow
    int calls = 0;
    chart->GetAxisLabel = TAxisOnGetLabel([&](TChartAxis*, TChartSeries*, int, String& text) {
        ++calls;
        text = u"far too wide a label";
    });
    chart->Measured = 0;
    const int width = a->MaxLabelsWidth();
    // Only the step's few probes, before the measure, go through the event.
    EXPECT_LE(calls, 8);
    EXPECT_EQ(chart->Measured - calls, 5000);
    EXPECT_TRUE(static_cast<bool>(chart->GetAxisLabel));
    EXPECT_EQ(width, 9 * 7); // "1,000,000"; no canvas, so no space is added
    // A measure that fails half-way brings the event back too.
    chart->Measured = 0;
    chart->ThrowAtMeasure = 100;
    EXPECT_THROW(a->MaxLabelsWidth(), Exception);
    chart->ThrowAtMeasure = -1;
    ASSERT_TRUE(static_cast<bool>(chart->GetAxisLabel));
    calls = 0;
    String text;
    chart->GetAxisLabel(a, nullptr, -1, text);
    EXPECT_EQ(calls, 1);
}

TEST_F(AxisLabels, MaxLabelsWidthOfCustomLabelsIsTheWidestItem) {
    TChartAxis* a = Bottom(0, 10);
    a->GetItems()->Add(1, u"one");
    a->GetItems()->Add(2, u"twenty");
    EXPECT_EQ(a->MaxLabelsWidth(), 6 * 7);
}

// ---------------------------------------------------------------------------
// Label sequences

TEST_F(AxisLabels, ValueLabelsRunFromTheMaximumDown) {
    TChartAxis* a = Bottom(0, 100);
    std::vector<double> expected;
    for (int v = 100; v >= 0; v -= 5) expected.push_back(v);
    EXPECT_EQ(a->ValueLabels(5, dtNone), expected);
    Bottom(-10, 10);
    EXPECT_EQ(a->ValueLabels(5, dtNone), (std::vector<double>{10, 5, 0, -5, -10}));
    Bottom(0.3, 9.7);
    EXPECT_EQ(a->ValueLabels(2, dtNone), (std::vector<double>{8, 6, 4, 2}));
    a->SetRoundFirstLabel(false);
    const std::vector<double> unrounded = a->ValueLabels(2, dtNone);
    const std::vector<double> expectedUnrounded{9.7, 7.7, 5.7, 3.7, 1.7};
    ASSERT_EQ(unrounded.size(), expectedUnrounded.size());
    for (std::size_t i = 0; i < unrounded.size(); ++i) EXPECT_NEAR(unrounded[i], expectedUnrounded[i], 1e-12);
    a->SetRoundFirstLabel(true);
    // Tenths stepped down to zero end on a label that reads 0, not -0.
    Bottom(0, 1);
    const std::vector<double> tenths = a->ValueLabels(0.1, dtNone);
    ASSERT_EQ(tenths.size(), 11u);
    EXPECT_EQ(a->LabelValue(tenths.back()), u"0");
    EXPECT_EQ(a->LabelValue(tenths[3]), u"0.7");
    Bottom(0, 1e-11);
    EXPECT_EQ(a->ValueLabels(1e-12, dtNone).size(), 1u);
    Bottom(0, 1e6);
    EXPECT_TRUE(a->ValueLabels(10, dtNone).empty()); // 100,000 steps: none
}

TEST_F(AxisLabels, ExactDateLabelsFallOnCalendarSteps) {
    TChartAxis* a = Bottom(45000.3, 45004.6);
    a->IAxisDateTime = true;
    a->SetDesiredIncrement(1);
    EXPECT_EQ(a->LabelStepKind(1), dtOneDay);
    EXPECT_EQ(a->LabelStepKind(1.5), dtTwoDays);
    EXPECT_EQ(a->ValueLabels(1, dtOneDay), (std::vector<double>{45004, 45003, 45002, 45001}));
    // Months: the 1st of each, whatever the month's length (45000 is 15 March 2023).
    Bottom(45000, 45100);
    a->SetDesiredIncrement(30);
    const std::vector<double> months = a->ValueLabels(30, dtOneMonth);
    ASSERT_EQ(months.size(), 3u);
    for (const double m : months) {
        Word y, mo, d;
        DecodeDate(m, y, mo, d);
        EXPECT_EQ(d, 1);
    }
    EXPECT_EQ(FormatDateTime(u"dd.MM.yyyy", months.front()), u"01.06.2023");
}

TEST_F(AxisLabels, LogarithmicLabelsArePowersOfTheBase) {
    TChartSeries* s = NewSeries();
    s->AddXY(1, 1);
    s->AddXY(1000, 1);
    TChartAxis* a = chart->Bottom;
    a->SetLogarithmic(true);
    Bottom(1, 1000);
    EXPECT_EQ(a->LogLabels(), (std::vector<double>{1, 10, 100, 1000}));
    a->SetLogarithmicBase(2);
    Bottom(3, 40);
    EXPECT_EQ(a->LogLabels(), (std::vector<double>{4, 8, 16, 32}));
    // No power inside: steps of a tenth of the power below.
    a->SetLogarithmicBase(10);
    Bottom(2, 3);
    const std::vector<double> v = a->LogLabels();
    ASSERT_FALSE(v.empty());
    EXPECT_NEAR(v.front(), 2, 1e-9);
    EXPECT_NEAR(v.back(), 3, 1e-9);
    // A range from zero or below starts at 1, where the scale starts: no label beyond the axis.
    Bottom(0, 100);
    EXPECT_EQ(a->LogLabels(), (std::vector<double>{1, 10, 100}));
    Bottom(-5, 100);
    EXPECT_EQ(a->LogLabels(), (std::vector<double>{1, 10, 100}));
    EXPECT_EQ(a->IMinimum, -5);
}

// ---------------------------------------------------------------------------
// Drawing with a canvas

class AxisDrawing : public AxisLabels {
protected:
    void SetUp() override {
        AxisLabels::SetUp();
        chart->Canvas = &on.canvas;
        chart->ChartRect = TRect{40, 20, 440, 220};
        chart->Layout();
    }
    // The bottom axis over [Min, Max] with labels below the chart.
    TChartAxis* DrawBottom(double Min, double Max) {
        TChartAxis* a = chart->Bottom;
        a->SetMinMax(Min, Max);
        a->AdjustMaxMin();
        TRect r = chart->ChartRect;
        a->CalcRect(r, false);
        a->Draw(true);
        return a;
    }
    // The bottom axis of a chart whose one series runs from (0, 0) to (10, 1).
    TChartAxis* BottomOverTen() {
        TChartSeries* s = NewSeries();
        s->AddXY(0, 0);
        s->AddXY(10, 1);
        return chart->Bottom;
    }
    // White again for the next drawing: a drawn label leaves the brush clear.
    void Clear() {
        on.canvas.Brush->SetStyle(bsSolid);
        on.canvas.Brush->SetColor(clWhite);
        on.canvas.FillRect(TRect{0, 0, 480, 300});
    }
    CanvasOn on{480, 300};
};

TEST_F(AxisDrawing, TicksFallOnTheLabelsFromTheMaximumDown) {
    TChartAxis* a = BottomOverTen();
    a->SetDesiredIncrement(2);
    DrawBottom(0, 10);
    EXPECT_EQ(a->Tick, (std::vector<int>{440, 360, 280, 200, 120, 40}));
    ASSERT_EQ(a->GetItems()->Count(), 6);
    EXPECT_TRUE(a->GetItems()->Automatic);
    EXPECT_EQ(a->GetItems()->Get(0)->GetText(), u"10");
    a->SetLabelsOnAxis(false); // the labels on the end pixels go
    a->Draw(true);
    EXPECT_EQ(a->Tick, (std::vector<int>{360, 280, 200, 120}));
    a->SetLabels(false); // hidden labels record no ticks ...
    a->Draw(true);
    EXPECT_TRUE(a->Tick.empty());
    a->SetTickOnLabelsOnly(false); // ... unless ticks go everywhere
    a->Draw(true);
    EXPECT_EQ(a->Tick, (std::vector<int>{360, 280, 200, 120}));
}

TEST_F(AxisDrawing, CustomLabelsReplaceTheComputedOnesWithinTheRange) {
    TChartAxis* a = BottomOverTen();
    a->GetItems()->Add(5, u"five");
    a->GetItems()->Add(50, u"outside");
    DrawBottom(0, 10);
    EXPECT_EQ(a->Tick, (std::vector<int>{240}));
    EXPECT_FALSE(a->GetItems()->Automatic);
    EXPECT_EQ(a->GetItems()->Count(), 2);
    a->GetItems()->Clear(); // stays custom: no labels at all
    a->Draw(true);
    EXPECT_TRUE(a->Tick.empty());
    a->GetItems()->Automatic = true;
    a->SetDesiredIncrement(5);
    a->Draw(true);
    EXPECT_EQ(a->Tick.size(), 3u);
}

TEST_F(AxisDrawing, TextLabelsSkipTheOnesThatWouldOverlap) {
    TChartSeries* s = NewSeries();
    chart->FixedMetrics = true;
    chart->CharWidth = 10; // five characters: 50 pixels
    for (int i = 0; i <= 10; ++i) s->AddXY(i, i, u"label");
    TChartAxis* a = chart->Bottom;
    chart->ChartRect = TRect{40, 20, 340, 220}; // 30 pixels a point
    chart->Layout();
    DrawBottom(0, 10);
    EXPECT_EQ(a->GetItems()->Count(), 6);
    EXPECT_EQ(a->Tick, (std::vector<int>{40, 100, 160, 220, 280, 340}));
    a->SetLabelsSeparation(0); // labels may touch: every one
    a->Draw(true);
    EXPECT_EQ(a->Tick.size(), 11u);
}

TEST_F(AxisDrawing, TheNextLabelEventPlacesLabelsOrLeavesThemToTheAxis) {
    TChartAxis* a = BottomOverTen();
    a->SetDesiredIncrement(5);
    chart->GetNextAxisLabel = TAxisOnGetNextLabel([](TChartAxis*, int, double&, bool&) {});
    DrawBottom(0, 10);
    EXPECT_EQ(a->Tick, (std::vector<int>{440, 240, 40})); // Stop at once: the ordinary labels
    chart->GetNextAxisLabel = TAxisOnGetNextLabel([](TChartAxis*, int index, double& value, bool& stop) {
        stop = index == 3;
        value = index * 4;
    });
    a->Draw(true);
    EXPECT_EQ(a->Tick, (std::vector<int>{40, 200, 360}));
    int calls = 0;
    chart->GetNextAxisLabel = TAxisOnGetNextLabel([&](TChartAxis*, int, double& value, bool& stop) {
        ++calls;
        stop = false;
        value = 5;
    });
    a->Draw(true);
    EXPECT_EQ(calls, 2001);
}

TEST_F(AxisDrawing, GridLinesFollowDrawEveryAndCentering) {
    TChartAxis* a = BottomOverTen();
    a->GetGrid()->SetStyle(psSolid);
    a->GetGrid()->SetColor(clRed);
    a->GetAxisPen()->Hide();
    a->SetDesiredIncrement(2);
    a->GetGrid()->SetDrawEvery(2);
    DrawBottom(0, 10);
    const int y = 100;
    auto red = [&](int x) { return on.At(x, y) == clRed; };
    // Ticks 440, 360, 280, 200, 120, 40: every second from the first, inside the axis only.
    EXPECT_FALSE(red(360));
    EXPECT_TRUE(red(280));
    EXPECT_FALSE(red(200));
    EXPECT_TRUE(red(120));
    Clear();
    a->GetGrid()->SetDrawEvery(0); // as 1
    a->GetGrid()->SetCentered(true);
    a->Draw(true);
    EXPECT_TRUE(red(400) && red(320) && red(240) && red(160) && red(80));
    EXPECT_FALSE(red(360) || red(280));
}

TEST_F(AxisDrawing, MinorTicksStayInsideAndNeedTwoTicksToReachTheEnds) {
    TChartAxis* a = BottomOverTen();
    a->SetDesiredIncrement(3); // labels at 9, 6, 3, 0: the axis goes on past 9
    a->GetMinorTicks()->SetColor(clBlue);
    a->GetMinorTicks()->SetWidth(1);
    a->GetTicks()->Hide();
    a->GetAxisPen()->Hide();
    a->GetMinorGrid()->Show();
    a->GetMinorGrid()->SetStyle(psSolid);
    a->GetMinorGrid()->SetColor(clLime);
    DrawBottom(0, 10);
    ASSERT_EQ(a->Tick, (std::vector<int>{400, 280, 160, 40}));
    // 3 minor ticks in each 120-pixel gap (30 apart), and on past the last label up to the end.
    for (const int x : {70, 100, 130, 190, 310, 370, 430}) EXPECT_EQ(on.At(x, 100), clLime) << x;
    for (const int x : {40, 160, 400, 440}) EXPECT_NE(on.At(x, 100), clLime) << x;
    EXPECT_EQ(on.At(70, a->PosAxis + 1), clBlue);
    // One tick: nothing to extrapolate from.
    Clear();
    a->GetItems()->Add(5, u"five"); // the labels recorded so far go
    EXPECT_EQ(a->GetItems()->Count(), 1);
    a->Draw(true);
    EXPECT_EQ(a->Tick, (std::vector<int>{240}));
    EXPECT_EQ(on.InkBox(clLime), TRect());
}

TEST_F(AxisDrawing, AnyMinorTickCountDrawsQuicklyAndOnlyInside) {
    TChartAxis* a = BottomOverTen();
    a->SetDesiredIncrement(3);
    a->GetGrid()->Hide();
    a->GetMinorGrid()->Show();
    a->GetMinorGrid()->SetStyle(psSolid);
    a->GetMinorGrid()->SetColor(clLime);
    const auto start = std::chrono::steady_clock::now();
    for (const int count : {1000, std::numeric_limits<int>::max()}) {
        Clear();
        a->SetMinorTickCount(count);
        DrawBottom(0, 10);
        ASSERT_EQ(a->Tick, (std::vector<int>{400, 280, 160, 40})) << count;
        // More parts than pixels leave no pixel inside the axis without its line ...
        for (int x = 41; x < 440; ++x) {
            if (x == 160 || x == 280 || x == 400) continue;
            ASSERT_EQ(on.At(x, 100), clLime) << count << ": " << x;
        }
        // ... and none outside it.
        for (const int x : {39, 40, 440, 441}) EXPECT_NE(on.At(x, 100), clLime) << count << ": " << x;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

// The ticks a power beyond the labels that a logarithmic minor grid records stay undrawn.
TEST_F(AxisDrawing, LogarithmicTicksStayWithinTheAxis) {
    chart->ChartRect = TRect{140, 20, 340, 220}; // room on either side
    chart->Layout();
    TChartAxis* a = BottomOverTen();
    a->SetLogarithmic(true);
    a->GetTicks()->SetColor(clRed);
    a->GetTicksInner()->SetColor(clRed);
    a->GetTicksInner()->Show();
    a->GetAxisPen()->Hide();
    a->GetMinorTicks()->Hide();
    a->GetMinorGrid()->Show();
    a->SetLabels(false);
    a->SetTickOnLabelsOnly(false);
    DrawBottom(2, 500); // labels at 10 and 100; ticks recorded at 1 and 1000 too
    ASSERT_EQ(a->Tick.size(), 4u);
    const TRect ink = on.InkBox(clRed);
    ASSERT_NE(ink, TRect());
    EXPECT_GE(ink.Left, 140);
    EXPECT_LE(ink.Right, 341);
    // Where the labels keep only every k-th power, every decade between them has its minor ticks.
    a->SetLabels(true);
    a->GetMinorGrid()->SetStyle(psSolid);
    a->GetMinorGrid()->SetColor(clLime);
    Clear();
    DrawBottom(1, 1e12);
    ASSERT_GT(a->LogLabels()[1], 10.0);
    for (double decade = 1; decade < 1e12; decade *= 10) {
        bool ticked = false;
        for (int x = a->CalcPosValue(decade) + 1; x < a->CalcPosValue(decade * 10); ++x)
            ticked = ticked || on.At(x, 120) == clLime;
        EXPECT_TRUE(ticked) << "no minor grid line from " << decade << " on";
    }
}

TEST_F(AxisDrawing, LineAndTicksLieOnTheirPixels) {
    TChartAxis* a = BottomOverTen();
    a->SetDesiredIncrement(5);
    a->GetAxisPen()->SetColor(clBlue);
    a->GetAxisPen()->SetWidth(1);
    a->GetTicks()->SetColor(clRed);
    a->GetTicksInner()->SetColor(clLime);
    a->SetTickInnerLength(3);
    a->GetGrid()->Hide();
    a->GetMinorTicks()->Hide();
    DrawBottom(0, 10);
    ASSERT_EQ(a->PosAxis, 220);
    EXPECT_EQ(on.At(100, 220), clBlue); // the line
    EXPECT_EQ(on.At(240, 221), clRed);  // an outer tick, below
    EXPECT_EQ(on.At(240, 224), clRed);
    EXPECT_NE(on.At(240, 225), clRed);
    EXPECT_EQ(on.At(240, 218), clLime); // an inner tick, above
    EXPECT_NE(on.At(250, 222), clRed);  // no tick between labels
    // Labels below the ticks, centred on them.
    const TRect ink = on.InkBox(clBlack);
    EXPECT_GE(ink.Top, 225);
    EXPECT_NEAR((ink.Left + ink.Right) / 2, 240, 210);
}

TEST_F(AxisDrawing, ASolidLineIsThePensWidthToEachSide) {
    TChartAxis* a = BottomOverTen();
    a->GetAxisPen()->SetColor(clBlue);
    a->GetAxisPen()->SetWidth(3);
    a->GetAxisPen()->SetLineMode(lmRectangle);
    a->GetTicks()->Hide();
    a->GetGrid()->Hide();
    a->GetMinorTicks()->Hide();
    a->SetLabels(false);
    DrawBottom(0, 10);
    const TRect box = on.InkBox();
    EXPECT_NEAR(box.Top, 220 - 3, 1);
    EXPECT_NEAR(box.Bottom, 220 + 3, 1);
    EXPECT_NEAR(box.Left, 40, 1);
    EXPECT_NEAR(box.Right, 440, 1);
    EXPECT_EQ(on.At(240, 220), clBlue);
    // The dotted grid drawn after it keeps its gaps clear, not filled in the line's colour.
    Clear();
    a->GetGrid()->Show();
    a->SetLabels(true);
    a->Draw(true);
    EXPECT_EQ(on.InkBox(clBlue), box);
}

TEST_F(AxisDrawing, TitlesAndDepthAxesDrawWithoutLabelsOfTheirOwn) {
    TChartSeries* s = NewSeries();
    s->SetTitle(u"Energy");
    s->AddXY(0, 0);
    s->AddXY(10, 1);
    TChartAxis* bottom = chart->Bottom;
    bottom->GetTitle()->SetCaption(u"Time of reading");
    bottom->AdjustMaxMin();
    TRect r = chart->ChartRect;
    bottom->CalcRect(r, true);
    bottom->Draw(true);
    const TRect title = bottom->GetTitle()->ShapeBounds;
    EXPECT_GT(title.Width(), 3 * title.Height());
    EXPECT_NEAR((title.Left + title.Right) / 2, bottom->ICenterPos, 2);
    EXPECT_TRUE(bottom->GetTitle()->Clicked(bottom->ICenterPos, (title.Top + title.Bottom) / 2));
    EXPECT_FALSE(bottom->GetTitle()->Clicked(title.Right + 5, title.Top));
    bottom->GetTitle()->SetAngle(90); // the same box stood up about its middle
    EXPECT_TRUE(
        bottom->GetTitle()->Clicked(bottom->ICenterPos, (title.Top + title.Bottom) / 2 - title.Width() / 3));
    // The depth axis over one series shows its title at the middle of the depth.
    chart->View3D = true;
    chart->Width3D = 30;
    TChartAxis* d = chart->Depth;
    d->SetVisible(true);
    d->InternalCalcPositions();
    d->IMinimum = -0.5;
    d->IMaximum = 0.5;
    d->InternalCalcRange();
    d->Draw(true);
    ASSERT_EQ(d->GetItems()->Count(), 1);
    EXPECT_EQ(d->Tick, (std::vector<int>{15}));
}

TEST_F(AxisDrawing, HostileRangesDrawNoValueLabelsAndEndQuickly) {
    const auto start = std::chrono::steady_clock::now();
    TChartSeries* s = NewSeries();
    s->AddXY(0, 0);
    s->AddXY(1, 1);
    TChartAxis* a = chart->Bottom;
    const double inf = std::numeric_limits<double>::infinity(),
                 nan = std::numeric_limits<double>::quiet_NaN();
    for (const auto& [lo, hi] : {std::pair{0.0, inf}, std::pair{-inf, inf}, std::pair{nan, 1.0},
                                 std::pair{0.0, 1e308}, std::pair{-1e308, 1e308}, std::pair{0.0, 5e-324}}) {
        a->SetMinMax(0, 1);
        a->AdjustMaxMin();
        a->IMinimum = lo;
        a->IMaximum = hi;
        a->InternalCalcRange();
        a->Draw(true);
        if (std::isfinite(lo) && std::isfinite(hi))
            EXPECT_LE(a->GetItems()->Count(), 50) << lo << ".." << hi;
        else
            EXPECT_EQ(a->GetItems()->Count(), 0) << lo << ".." << hi;
    }
    // A logarithmic base below 1 labels the powers once, upwards.
    s->AddXY(1000, 1);
    a->SetAutomatic(true);
    a->SetLogarithmicBase(0.1);
    a->SetLogarithmic(true);
    a->GetMinorGrid()->Show();
    a->SetLabelsAlternate(true);
    a->AdjustMaxMin();
    a->Draw(true);
    EXPECT_EQ(a->GetItems()->Count(), 4); // 1, 10, 100, 1000: the scale from 0 starts at 1
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(AxisDrawing, LabelsAlternateRowsAndTheDrawEventMovesOrDropsThem) {
    TChartAxis* a = BottomOverTen();
    a->GetAxisPen()->Hide();
    a->GetTicks()->Hide();
    a->GetGrid()->Hide();
    a->GetMinorTicks()->Hide();
    a->GetItems()->Add(2, u"8");
    a->GetItems()->Add(8, u"8");
    a->SetLabelsAlternate(true);
    DrawBottom(0, 10);
    const int h = on.canvas.TextHeight(u"W");
    const TRect first = on.InkBox(clBlack);
    EXPECT_GE(first.Bottom - first.Top, h); // the second label a row lower
    std::vector<std::pair<int, int>> seen;
    a->OnDrawLabel = TAxisDrawLabelEvent([&](TChartAxis*, int& x, int& y, int&, String& text, bool& draw) {
        seen.emplace_back(x, y);
        draw = text != u"8";
    });
    Clear();
    a->Draw(true);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].first, 120);
    EXPECT_EQ(seen[1].second - seen[0].second, h);
    EXPECT_EQ(on.InkBox(clBlack), TRect());           // both cancelled
    EXPECT_EQ(a->Tick, (std::vector<int>{120, 360})); // their ticks stay
}

// Measuring the label band goes through the fonts of every label: a custom label and a title
// drawn after it still show in their own fonts. The labels move to the band's outer edge, the
// title keeps its own room beyond it, also when the labels alternate.
TEST_F(AxisDrawing, CustomLabelsAndTheTitleKeepTheirFontsWhenTheBandIsMeasured) {
    TChartSeries* s = NewSeries();
    s->AddXY(0, 0);
    s->AddXY(10, 10);
    chart->ChartRect = TRect{200, 20, 440, 220};
    chart->Layout();
    for (TChartAxis* a : {chart->Bottom, chart->Left}) {
        a->GetItems()->Add(2, u"88");
        a->GetItems()->Add(8, u"88");
        a->GetItems()->Add(9, u"88");
        a->GetItems()->Get(0)->GetFont()->SetColor(clRed);
        a->GetItems()->Get(1)->GetFont()->SetColor(clLime);
        a->GetItems()->Get(2)->GetFont()->SetColor(clFuchsia);
    }
    chart->Bottom->SetLabelsAlternate(true); // the second label a row lower
    DrawBottom(0, 10);
    EXPECT_NE(on.InkBox(clRed), TRect());
    EXPECT_NE(on.InkBox(clLime), TRect());
    EXPECT_TRUE(probe::Grab(on.target).SavePng(testsupport::PictureFile("axis-fonts-alternate.png")));
    Clear();
    TChartAxis* left = chart->Left; // labels at the band's outer edge, and a level title
    left->SetLabelsAlign(alOpposite);
    left->SetLabelsAlternate(true); // the band is measured for the second label
    left->GetTitle()->SetCaption(u"kW");
    left->GetTitle()->SetAngle(0);
    left->GetTitle()->GetFont()->SetColor(clBlue);
    left->SetMinMax(0, 10);
    left->AdjustMaxMin();
    TRect r = chart->ChartRect;
    left->CalcRect(r, true);
    chart->ChartRect = r; // the chart beside the labels and the title
    chart->Layout();
    left->Draw(true);
    const TRect red = on.InkBox(clRed), lime = on.InkBox(clLime), title = on.InkBox(clBlue);
    EXPECT_NE(red, TRect());
    EXPECT_NE(lime, TRect());
    EXPECT_NE(title, TRect());
    EXPECT_GE(title.Left, 0);
    EXPECT_LE(title.Right, std::min(red.Left, lime.Left)); // beside the labels, not over them
    EXPECT_TRUE(probe::Grab(on.target).SavePng(testsupport::PictureFile("axis-fonts-opposite.png")));
}

// A label event's depth is where the label is drawn.
TEST_F(AxisDrawing, TheDrawEventMovesALabelInDepth) {
    struct DepthsNoted : TZuzCanvas3D {
        std::vector<int> Z;
        void TextOut3D(int X, int Y, int Z0, const String& Text) override {
            Z.push_back(Z0);
            TZuzCanvas3D::TextOut3D(X, Y, Z0, Text);
        }
    } noted;
    noted.InitWindow(on.target.GetCanvas(), nullptr, clWhite, false, TRect(0, 0, 480, 300));
    chart->Canvas = &noted;
    TChartAxis* a = BottomOverTen();
    a->GetItems()->Add(5, u"5");
    a->OnDrawLabel = TAxisDrawLabelEvent([](TChartAxis*, int&, int&, int& z, String&, bool&) { z = 7; });
    DrawBottom(0, 10);
    EXPECT_EQ(noted.Z, (std::vector<int>{7}));
    chart->Canvas = &on.canvas;
}

TEST_F(AxisDrawing, TurnedLabelsStandUpOrLeanAtTheirTick) {
    TChartAxis* a = BottomOverTen();
    a->SetLabelsSize(60);
    a->GetAxisPen()->Hide();
    a->GetTicks()->Hide();
    a->GetGrid()->Hide();
    a->GetMinorTicks()->Hide();
    a->GetItems()->Add(5, u"12345678");
    a->SetLabelsAngle(90);
    DrawBottom(0, 10);
    TRect up = on.InkBox(clBlack);
    EXPECT_GT(up.Height(), 2 * up.Width());        // standing
    EXPECT_NEAR((up.Left + up.Right) / 2, 240, 3); // across the tick
    EXPECT_GE(up.Top, a->PosLabels - 1);           // hanging from the label band down
    EXPECT_LE(up.Top, a->PosLabels + 4);
    Clear();
    a->SetLabelsAngle(45);
    a->Draw(true);
    const TRect lean = on.InkBox(clBlack);
    EXPECT_NEAR(lean.Width(), lean.Height(), lean.Height() / 3 + 2); // diagonal
    EXPECT_LE(lean.Right, 240 + 8);                                  // ending at the tick
    EXPECT_GE(lean.Right, 240 - 8);
    EXPECT_GE(lean.Top, a->PosLabels - 4);
    // At another angle, or on a side axis, a leaning label keeps to the outer side of its point
    // instead of running back over the axis and the plot.
    a->SetLabelsAngle(30);
    Clear();
    a->Draw(true);
    EXPECT_GE(on.InkBox(clBlack).Top, a->PosLabels - 1);
    TChartAxis* left = chart->Left;
    for (TDarkGrayPen* pen : {left->GetTicks(), left->GetMinorTicks()}) pen->Hide();
    left->GetAxisPen()->Hide();
    left->GetGrid()->Hide();
    left->GetItems()->Add(5, u"12345678");
    left->SetMinMax(0, 10);
    TRect r = chart->ChartRect;
    left->CalcRect(r, false);
    for (const int angle : {45, 30, 300}) {
        left->SetLabelsAngle(angle);
        Clear();
        left->Draw(true);
        const TRect ink = on.InkBox(clBlack);
        EXPECT_LE(ink.Right, left->PosLabels + 1) << angle;
        EXPECT_GT(ink.Bottom, 120) << angle; // its end at the tick
        EXPECT_LT(ink.Top, 120) << angle;
    }
    // A leaning title keeps to its room beyond the labels, centred on the axis.
    left->SetLabels(false);
    left->GetItems()->Clear();
    left->GetTitle()->SetCaption(u"Заголовок оси");
    r = TRect{140, 20, 440, 220}; // room for the title to the left
    left->CalcRect(r, false);
    for (const int angle : {45, 30, 300}) {
        left->GetTitle()->SetAngle(angle);
        Clear();
        left->Draw(true);
        const TRect ink = on.InkBox(clBlack);
        EXPECT_LE(ink.Right, left->PosTitle + 1) << angle;
        EXPECT_NEAR((ink.Top + ink.Bottom) / 2, left->ICenterPos, 3) << angle;
    }
}

// A label shows what lies under it, whatever an earlier drawing left on the device: a picture
// brush leaves the brush clear over an opaque background in its back colour.
TEST_F(AxisDrawing, LabelsTakeNoBackgroundFromWhatTheCanvasWasLeftWith) {
    TChartAxis* a = BottomOverTen();
    TChartBrush picture(TNotifyEvent{});
    picture.SetStyle(bsClear);
    on.canvas.AssignBrushColor(&picture, clWhite, clRed);
    DrawBottom(0, 10);
    ASSERT_GT(a->GetItems()->Count(), 1);
    EXPECT_EQ(on.InkBox(clRed), TRect());
}

TEST_F(AxisDrawing, CustomDrawMinMaxPutsTheAxisBackAfterwards) {
    TChartAxis* a = chart->Bottom;
    a->SetMinMax(0, 10);
    a->AdjustMaxMin();
    TChartSeries* s = NewSeries();
    s->AddXY(0, 0);
    chart->Repaints = 0;
    a->CustomDrawMinMax(250, 270, 230, false, 100, 200, 25);
    EXPECT_EQ(a->GetMinimum(), 0);
    EXPECT_EQ(a->GetMaximum(), 10);
    EXPECT_EQ(a->GetIncrement(), 0);
    EXPECT_EQ(a->IMaximum, 10);
    EXPECT_TRUE(a->GetGrid()->GetVisible());
    // The drawing itself used the given range.
    EXPECT_EQ(a->Tick.size(), 5u);
    chart->GetAxisLabel =
        TAxisOnGetLabel([](TChartAxis*, TChartSeries*, int, String&) { throw Exception(u"no"); });
    EXPECT_THROW(a->CustomDrawMinMax(250, 270, 230, false, 100, 200, 25), Exception);
    EXPECT_EQ(a->GetMaximum(), 10);
    EXPECT_EQ(a->IMaximum, 10);
}

// ---------------------------------------------------------------------------
// No two labels of an axis overlap, whatever its kind, length and font

// A canvas that notes where each text it writes lies.
class TTextBoxCanvas : public TZuzCanvas3D {
public:
    void TextOut3D(int X, int Y, int Z, const String& Text) override {
        const TPoint p = Calculate3DPosition(X, Y, Z);
        const int w = TextWidth(Text), h = TextHeight(Text);
        const UINT align = GetTextAlign();
        const int left = (align & TA_CENTER) == TA_CENTER ? p.X - w / 2 : (align & TA_RIGHT) ? p.X - w : p.X;
        const int top = (align & TA_BOTTOM) ? p.Y - h : p.Y;
        Boxes.push_back({TRect{left, top, left + w, top + h}, Text});
        TZuzCanvas3D::TextOut3D(X, Y, Z, Text);
    }
    std::vector<std::pair<TRect, String>> Boxes;
};

struct SpreadRow {
    const char* rule;
    double min, max;
    bool logarithmic = false, inverted = false, custom = false, dateTime = false;
    const char16_t* dateFormat = u""; // a date-time axis's own; empty: chosen from the range
    bool alternate = false;
    bool shuffled = false; // custom labels added out of the axis's order
};

class LabelsApart : public AxisLabels, public ::testing::WithParamInterface<SpreadRow> {};

TEST_P(LabelsApart, AtEveryLengthAndFontSize) {
    const SpreadRow& r = GetParam();
    probe::EnsureApplication();
    ZuzConstInitialization();
    ZuzCanvasInitialization();
    TBitmap target;
    target.SetSize(1400, 1400);
    TTextBoxCanvas canvas;
    canvas.InitWindow(target.GetCanvas(), nullptr, clWhite, false, TRect(0, 0, 1400, 1400));
    chart->Canvas = &canvas;
    TChartSeries* s = NewSeries();
    s->GetXValues()->SetDateTime(r.dateTime);
    s->GetYValues()->SetDateTime(r.dateTime);
    s->AddXY(r.min, r.min);
    s->AddXY(r.max, r.max);
    for (TChartAxis* a : {chart->Bottom, chart->Left}) {
        a->SetLogarithmic(r.logarithmic);
        a->SetLabelsAlternate(r.alternate);
        a->SetInverted(r.inverted);
        a->SetDateTimeFormat(r.dateFormat);
        if (r.custom)
            for (int n = 0; n <= 10; ++n) {
                const int i = !r.shuffled ? n : n % 2 ? 10 - n / 2 : n / 2;
                a->GetItems()->Add(r.min + (r.max - r.min) * i / 10, u"Метка " + IntToStr(i * 1000));
            }
    }
    for (const bool russian : {false, true})
        for (const int length : {100, 130, 150, 160, 200, 250, 300, 380, 450, 520, 650, 800, 900, 1200})
            for (const int size : {6, 8, 10, 14, 20})
                for (TChartAxis* a : {chart->Bottom, chart->Left}) {
                    FormatSettings = russian ? RussianFormatSettings() : EnglishFormatSettings();
                    const std::string where = std::string(a == chart->Bottom ? "bottom" : "left") +
                                              " axis of " + std::to_string(length) + " px, font " +
                                              std::to_string(size) + (russian ? ", Russian" : "");
                    chart->ChartRect = a == chart->Bottom ? TRect{100, 20, 100 + length, 1300}
                                                          : TRect{150, 50, 1300, 50 + length};
                    chart->Layout();
                    a->GetLabelsFont()->SetSize(size);
                    a->SetMinMax(r.min, r.max);
                    a->AdjustMaxMin();
                    TRect rect = chart->ChartRect;
                    a->CalcRect(rect, false);
                    canvas.Boxes.clear();
                    a->Draw(true);
                    const auto& boxes = canvas.Boxes;
                    EXPECT_GE(boxes.size(), 1u) << where;
                    for (std::size_t i = 0; i < boxes.size(); ++i)
                        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                            TRect both;
                            EXPECT_FALSE(IntersectRect(both, boxes[i].first, boxes[j].first))
                                << "\"" << UTF8Encode(boxes[i].second) << "\" and \""
                                << UTF8Encode(boxes[j].second) << "\" on the " << where;
                        }
                }
    chart->Canvas = nullptr;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, LabelsApart,
    ::testing::Values(SpreadRow{"Linear", -1234.5, 98765.4}, SpreadRow{"LinearTenths", 0, 0.1},
                      SpreadRow{"LinearInverted", 0, 1, false, true},
                      SpreadRow{"LogarithmicSixDecades", 1, 1e6, true},
                      SpreadRow{"LogarithmicTwelveDecades", 1, 1e12, true},
                      SpreadRow{"LogarithmicBelowOneThousandth", 0.0001, 100, true},
                      SpreadRow{"LogarithmicInverted", 1, 1e9, true, true},
                      SpreadRow{"CustomLabels", 0, 10, false, false, true},
                      SpreadRow{"DatesDayAndMonthName", 46023, 46091, false, false, false, true, u"d mmmm"},
                      SpreadRow{"DatesMonthName", 46023, 46387, false, false, false, true, u"mmmm"},
                      SpreadRow{"DatesOverTwoMonths", 46023, 46091, false, false, false, true},
                      SpreadRow{"DatesOverThreeYears", 46023, 47118, false, false, false, true},
                      SpreadRow{"TimesOverADay", 46023, 46024, false, false, false, true},
                      SpreadRow{"DatesOverAWeek", -1, 7, false, false, false, true},
                      SpreadRow{"DatesInverted", 46023, 46091, false, true, false, true, u"d mmmm"},
                      SpreadRow{"DatesInTwoRows", 46023, 46091, false, false, false, true, u"d mmmm", true},
                      SpreadRow{"CustomLabelsOutOfOrder", 0, 10, false, false, true, false, u"", false,
                                true}),
    [](const auto& info) { return std::string(info.param.rule); });

// ---------------------------------------------------------------------------
// Pictures of date axes, for an operator's eye

struct DateAxisPicture {
    const char* name;
    double from, to;
};

class DateAxisPictures : public AxisLabels, public ::testing::WithParamInterface<DateAxisPicture> {};

TEST_P(DateAxisPictures, ShowLabelsAnOperatorReads) {
    const DateAxisPicture& p = GetParam();
    FormatSettings = RussianFormatSettings();
    CanvasOn on(800, 160);
    chart->Canvas = &on.canvas;
    chart->ChartRect = TRect{50, 20, 760, 110};
    chart->Layout();
    TChartSeries* s = NewSeries();
    s->GetXValues()->SetDateTime(true);
    for (double t = p.from; t <= p.to + 1e-9; t += Hour) s->AddXY(t, std::sin(t * 3));
    TChartAxis* a = chart->Bottom;
    a->SetDesiredIncrement(1.0 / 86400); // the graph windows' setting: one second at least
    a->SetLabelsSeparation(25);
    a->AdjustMaxMin();
    TRect r = chart->ChartRect;
    a->CalcRect(r, false);
    a->Draw(true);
    TChartAxis* left = chart->Left;
    left->AdjustMaxMin();
    r = chart->ChartRect;
    left->CalcRect(r, false);
    left->Draw(true);
    ASSERT_GE(a->GetItems()->Count(), 3);
    // Labels do not run into each other: each stays clear of the next.
    on.canvas.AssignFont(a->GetLabelsFont());
    for (int i = 1; i < a->GetItems()->Count(); ++i) {
        const TAxisItem* x = a->GetItems()->Get(i - 1);
        const TAxisItem* y = a->GetItems()->Get(i);
        const int gap = a->CalcPosValue(x->GetValue()) - a->CalcPosValue(y->GetValue());
        EXPECT_GT(gap, (on.canvas.TextWidth(x->GetText()) + on.canvas.TextWidth(y->GetText())) / 2)
            << String(x->GetText()).size();
    }
    EXPECT_TRUE(
        probe::Grab(on.target).SavePng(testsupport::PictureFile(std::string("dateaxis-") + p.name + ".png")));
}

INSTANTIATE_TEST_SUITE_P(Ranges, DateAxisPictures,
                         ::testing::Values(DateAxisPicture{"day", 45000, 45001},
                                           DateAxisPicture{"month", 45000, 45031},
                                           DateAxisPicture{"year", 45000, 45365}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
