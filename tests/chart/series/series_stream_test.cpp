// Line, point, bar and pie series written with their chart as object text and read back:
// what differs from the defaults comes back, defaults are not written.
#include "chart/engine/chartlegend.h"
#include "chart/series/series.h"
#include "chart/series/series_bar.h"
#include "chart/series/series_pie.h"
#include "seriesfixture.h"
#include "tests/support/streamtext.h"

#include <string>

namespace {

class SeriesStreamTest : public SeriesTest {
protected:
    static void SetUpTestSuite() {
        SeriesTest::SetUpTestSuite();
        RegisterClass(TChart::StaticClass());
        RegisterZuzStandardSeries();
    }
};

} // namespace

TEST_F(SeriesStreamTest, ABarSeriesWritesOnlyWhatDiffersFromItsDefaultsAndReadsItBack) {
    auto* bar = AddSeries<TBarSeries>({1, 2});
    bar->SetName(u"Bar1");
    const std::string plain = streamtext::ObjectText(chart.get());
    for (const char* name :
         {"BarWidthPercent", "MultiBar", "SideMargins", "UseYOrigin", "Length", "BarStyle"})
        EXPECT_EQ(plain.find(name), std::string::npos) << name << " is a default:\n" << plain;
    bar->SetBarStyle(bsCone);
    bar->SetMultiBar(mbStacked100);
    bar->SetBarWidthPercent(55);
    bar->SetYOrigin(2.5);
    bar->SetStackGroup(3);
    bar->GetGradient()->SetRelative(true);
    bar->SetCustomBarWidth(9);
    bar->GetMarks()->SetArrowLength(33);
    const std::string text = streamtext::ObjectText(chart.get());
    Owned<TChart> copy(Create<TChart>(nullptr));
    streamtext::ReadText(text, copy.get());
    ASSERT_EQ(copy->SeriesCount(), 1);
    auto* back = dynamic_cast<TBarSeries*>(copy->GetSeries(0));
    ASSERT_NE(back, nullptr) << text;
    EXPECT_EQ(back->GetBarStyle(), bsCone);
    EXPECT_EQ(back->GetMultiBar(), mbStacked100);
    EXPECT_EQ(back->GetBarWidthPercent(), 55);
    EXPECT_DOUBLE_EQ(back->GetYOrigin(), 2.5);
    EXPECT_EQ(back->GetStackGroup(), 3);
    EXPECT_TRUE(back->GetGradient()->GetRelative());
    EXPECT_EQ(back->GetCustomBarWidth(), 9);
    EXPECT_EQ(back->GetMarks()->GetCallout()->GetLength(), 33);
}

TEST_F(SeriesStreamTest, APieKeepsItsSettingsAndTheOtherSliceThroughAStream) {
    auto* pie = AddSeries<TPieSeries>({5, 10, 85});
    pie->SetName(u"Pie1");
    pie->SetAngleSize(180);
    pie->SetExplodeBiggest(20);
    pie->SetRotationAngle(30);
    pie->GetOtherSlice()->SetStyle(poBelowPercent);
    pie->GetOtherSlice()->SetValue(12);
    pie->GetOtherSlice()->SetText(u"Прочее");
    pie->GetPieMarks()->SetLegSize(6);
    pie->SetCircled(true);
    // The grouped points' legend, made by the first write, writes nothing while hidden.
    const std::string hidden = streamtext::ObjectText(chart.get());
    EXPECT_EQ(hidden.find("OtherSlice.Legend"), std::string::npos) << hidden;
    EXPECT_EQ(hidden.find("Title.Font.Style"), std::string::npos) << "a legend title starts bold";
    pie->GetOtherSlice()->GetLegend()->SetVisible(true);
    pie->GetOtherSlice()->GetLegend()->SetAlignment(laLeft);
    const std::string text = streamtext::ObjectText(chart.get());
    Owned<TChart> copy(Create<TChart>(nullptr));
    streamtext::ReadText(text, copy.get());
    auto* back = dynamic_cast<TPieSeries*>(copy->GetSeries(0));
    ASSERT_NE(back, nullptr) << text;
    EXPECT_EQ(back->GetAngleSize(), 180);
    EXPECT_EQ(back->GetExplodeBiggest(), 20);
    EXPECT_EQ(back->GetRotationAngle(), 30);
    EXPECT_EQ(back->GetOtherSlice()->GetStyle(), poBelowPercent);
    EXPECT_DOUBLE_EQ(back->GetOtherSlice()->GetValue(), 12);
    EXPECT_EQ(back->GetOtherSlice()->GetText(), u"Прочее");
    EXPECT_EQ(back->GetPieMarks()->GetLegSize(), 6);
    EXPECT_TRUE(back->GetCircled());
    // The grouped points' legend comes back shown, where it was, on the copy.
    TChartLegend* legend = back->GetOtherSlice()->ExistingLegend();
    ASSERT_NE(legend, nullptr) << text;
    EXPECT_TRUE(legend->GetVisible());
    EXPECT_EQ(legend->GetAlignment(), laLeft);
    EXPECT_EQ(legend->Series, back);
    EXPECT_EQ(legend->GetParentChart(), copy.get());
}

TEST_F(SeriesStreamTest, ALineSeriesKeepsItsNullRuleAndStairsAndAPointSeriesItsUnclickableLine) {
    auto* line = AddSeries<TLineSeries>({1, 2});
    line->SetName(u"Line1");
    auto* points = AddSeries<TPointSeries>({3, 4});
    points->SetName(u"Point1");
    const std::string plain = streamtext::ObjectText(chart.get());
    for (const char* name : {"TreatNulls", "Stairs", "LineHeight", "Dark3D", "Length"})
        EXPECT_EQ(plain.find(name), std::string::npos) << name << " is a default:\n" << plain;
    // A point series turns its clickable line off but keeps True as the stored default.
    EXPECT_NE(plain.find("ClickableLine = False"), std::string::npos) << plain;
    line->SetTreatNulls(tnSkip);
    line->SetStairs(true);
    const std::string text = streamtext::ObjectText(chart.get());
    Owned<TChart> copy(Create<TChart>(nullptr));
    streamtext::ReadText(text, copy.get());
    ASSERT_EQ(copy->SeriesCount(), 2);
    auto* back = dynamic_cast<TLineSeries*>(copy->GetSeries(0));
    ASSERT_NE(back, nullptr) << text;
    EXPECT_EQ(back->GetTreatNulls(), tnSkip) << text;
    EXPECT_TRUE(back->GetStairs());
    auto* backPoints = dynamic_cast<TPointSeries*>(copy->GetSeries(1));
    ASSERT_NE(backPoints, nullptr) << text;
    EXPECT_FALSE(backPoints->GetClickableLine());
    EXPECT_EQ(backPoints->GetMarks()->GetCallout()->GetLength(), 0);
}

TEST_F(SeriesStreamTest, WhatABarOrPieStartsWithButTheUserTurnedOffComesBackOff) {
    auto* bar = AddSeries<TBarSeries>({1, 2});
    bar->SetName(u"Bar1");
    auto* pie = AddSeries<TPieSeries>({3, 4});
    pie->SetName(u"Pie1");
    const std::string plain = streamtext::ObjectText(chart.get());
    EXPECT_EQ(plain.find("ColorEachPoint"), std::string::npos) << plain;
    // The fixture's series start with hidden marks, which is now written.
    EXPECT_NE(plain.find("Marks.Visible = False"), std::string::npos) << plain;
    pie->SetColorEachPoint(false);
    const std::string text = streamtext::ObjectText(chart.get());
    Owned<TChart> copy(Create<TChart>(nullptr));
    streamtext::ReadText(text, copy.get());
    ASSERT_EQ(copy->SeriesCount(), 2);
    EXPECT_FALSE(copy->GetSeries(0)->GetMarks()->GetVisible()) << text;
    EXPECT_FALSE(copy->GetSeries(1)->GetMarks()->GetVisible()) << text;
    EXPECT_FALSE(copy->GetSeries(1)->GetColorEachPoint()) << text;
}
