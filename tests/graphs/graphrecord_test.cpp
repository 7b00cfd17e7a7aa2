// The graph records and the time scroll bar's range.
#include "graphs/graphrecord.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

namespace {

struct RangeRow {
    const char* rule;
    double spanDays;
    double visibleSeconds;
    int min, max;
};

class TimeScrollRangeRule : public ::testing::TestWithParam<RangeRow> {};

TEST_P(TimeScrollRangeRule, HoldsWhatTheBarCanCount) {
    const RangeRow& r = GetParam();
    const TScrollRange range = TimeScrollRange(r.spanDays, r.visibleSeconds);
    EXPECT_EQ(range.Min, r.min);
    EXPECT_EQ(range.Max, r.max);
}

INSTANTIATE_TEST_SUITE_P(
    Spans, TimeScrollRangeRule,
    ::testing::Values(RangeRow{"AnHourShownAMinuteAtATime", 1.0 / 24, 60, 60, 3600},
                      RangeRow{"WholeSecondsOfTheSpanRoundedDownAfterAHundredth", 10.995 / 86400, 3, 3, 11},
                      RangeRow{"VisibleSecondsTruncated", 1, 59.9, 59, 86400},
                      RangeRow{"ACenturyDoesNotWrapTheBar", 36524, 60, 60, INT_MAX},
                      RangeRow{"AWindowWiderThanTheDataNeverPutsMinAboveMax", 10.0 / 86400, 60, 10, 10},
                      RangeRow{"NoDataIsAnEmptyRange", 0, 60, 0, 0},
                      RangeRow{"ABrokenSpanIsAnEmptyRange", std::nan(""), 60, 0, 0},
                      RangeRow{"ANegativeSpanIsAnEmptyRange", -1, 60, 0, 0}),
    [](const auto& info) { return std::string(info.param.rule); });

TEST(GraphRecords, CopyingAndResettingASeriesRecordTakeEveryField) {
    SeriesRecord source;
    source.penStyleName = u"esSquare";
    source.valueColumn = 4;
    source.seriesColor = clRed;
    source.penWidth = 3;
    source.marksVisible = true;
    source.pointerVisible = true;
    SeriesRecord target;
    EXPECT_EQ(&CopySeriesRecord(target, source), &target);
    EXPECT_EQ(target.penStyleName, u"esSquare");
    EXPECT_EQ(target.valueColumn, 4);
    EXPECT_EQ(target.seriesColor, clRed);
    EXPECT_EQ(target.penWidth, 3);
    EXPECT_TRUE(target.marksVisible && target.pointerVisible);
    EXPECT_EQ(PenStyleIndex(target), 1);

    // A window holds a record for each of its thirty series, all reset alike.
    GraphRecord g;
    ASSERT_EQ(g.seriesRecords.size(), 31u);
    g.seriesRecords[30] = source;
    g.ResetSeries(30);
    EXPECT_TRUE(g.seriesRecords[30].penStyleName.empty());
    EXPECT_EQ(g.seriesRecords[30].valueColumn, 0);
    EXPECT_FALSE(g.seriesRecords[30].marksVisible);
}

TEST(GraphRecords, LineStylesAndTheirTags) {
    SeriesRecord r;
    for (int i : {0, 1, 2}) {
        ApplyPenStyle(r, i);
        EXPECT_EQ(PenStyleIndex(r), i);
    }
    EXPECT_EQ(r.penStyleName, u"esFlat");
    ApplyPenStyle(r, 7); // no such style: the record keeps its own
    EXPECT_EQ(r.penStyleName, u"esFlat");
    EXPECT_EQ(PenStyleIndex(SeriesRecord{}), 0);
}

} // namespace
