// DateUtils: calendar arithmetic across month ends, leap years and the
// negative side of the day line.

#include "platform/core/dateutils.h"

#include <gtest/gtest.h>

namespace {

TDateTime D(Word y, Word m, Word d) {
    return EncodeDate(y, m, d);
}

String Text(TDateTime v) {
    return FormatDateTime(u"yyyy-mm-dd hh:nn:ss.zzz", v, EnglishFormatSettings());
}

TEST(DateUtils, IncMonthClampsTheDayAndKeepsTheTime) {
    const struct {
        TDateTime from;
        int months;
        TDateTime to;
    } cases[] = {
        {D(2023, 1, 31), 1, D(2023, 2, 28)},    {D(2024, 1, 31), 1, D(2024, 2, 29)},
        {D(2023, 3, 31), -1, D(2023, 2, 28)},   {D(2023, 10, 31), 1, D(2023, 11, 30)},
        {D(2023, 12, 15), 1, D(2024, 1, 15)},   {D(2024, 1, 15), -1, D(2023, 12, 15)},
        {D(2023, 5, 20), -17, D(2021, 12, 20)}, {D(2023, 5, 20), 0, D(2023, 5, 20)},
    };
    for (const auto& c : cases) EXPECT_EQ(Text(IncMonth(c.from, c.months)), Text(c.to)) << UTF8Encode(Text(c.from));
    EXPECT_EQ(IncMonth(D(2023, 12, 15) + 0.75), D(2024, 1, 15) + 0.75);
    EXPECT_EQ(Text(IncYear(D(2024, 2, 29))), Text(D(2025, 2, 28)));
    EXPECT_EQ(Text(IncYear(D(2024, 2, 29), 4)), Text(D(2028, 2, 29)));
    EXPECT_EQ(Text(IncMonth(D(1899, 12, 29) - 0.25, 1)), u"1900-01-29 06:00:00.000");
    EXPECT_THROW(IncMonth(D(9999, 12, 1), 1), EConvertError);
}

TEST(DateUtils, DaysInMonth) {
    EXPECT_EQ(DaysInAMonth(2023, 2), 28);
    EXPECT_EQ(DaysInAMonth(2024, 2), 29);
    EXPECT_EQ(DaysInAMonth(2100, 2), 28);
    EXPECT_EQ(DaysInAMonth(2000, 2), 29);
    EXPECT_EQ(DaysInAMonth(2023, 12), 31);
    EXPECT_EQ(DaysInMonth(D(2024, 2, 10) + 0.5), 29);
    EXPECT_EQ(DaysInMonth(D(2023, 4, 30)), 30);
    EXPECT_THROW(DaysInAMonth(2023, 13), ERangeError);
    EXPECT_THROW(DaysInAMonth(2023, 0), ERangeError);
}

TEST(DateUtils, IncrementsAlongTheDayLine) {
    EXPECT_EQ(IncDay(D(2023, 12, 31)), D(2024, 1, 1));
    EXPECT_EQ(IncDay(D(2024, 3, 1), -1), D(2024, 2, 29));
    EXPECT_EQ(IncDay(D(2023, 3, 15) + 0.75, 2), D(2023, 3, 17) + 0.75);
    EXPECT_EQ(IncHour(D(2023, 3, 15), 30), D(2023, 3, 16) + 0.25);
    EXPECT_EQ(Text(IncMinute(D(2023, 3, 15), -1)), u"2023-03-14 23:59:00.000");
    EXPECT_EQ(Text(IncSecond(D(2023, 3, 15) + 0.5)), u"2023-03-15 12:00:01.000");
    EXPECT_EQ(Text(IncMilliSecond(D(2023, 3, 15), 86400001)), u"2023-03-16 00:00:00.001");
    // Across 30 December 1899, where the sign of the value flips.
    EXPECT_EQ(IncDay(-1.25, 1), 0.25);
    EXPECT_EQ(IncDay(0.25, -1), -1.25);
    EXPECT_EQ(Text(IncHour(0.125, -6)), u"1899-12-29 21:00:00.000");
    EXPECT_EQ(Text(IncHour(-1.875, 6)), u"1899-12-30 03:00:00.000");
}

TEST(DateUtils, PartsAndRecoding) {
    const TDateTime v = D(2023, 3, 15) + EncodeTime(18, 30, 15, 250);
    EXPECT_EQ(YearOf(v), 2023);
    EXPECT_EQ(MonthOf(v), 3);
    EXPECT_EQ(DayOf(v), 15);
    EXPECT_EQ(DateOf(v), D(2023, 3, 15));
    EXPECT_EQ(StartOfTheDay(v), D(2023, 3, 15));
    EXPECT_NEAR(TimeOf(v), EncodeTime(18, 30, 15, 250), 1e-9);
    Word y, m, d, h, n, s, ms;
    DecodeDateTime(v, y, m, d, h, n, s, ms);
    EXPECT_EQ((std::vector<int>{y, m, d, h, n, s, ms}), (std::vector<int>{2023, 3, 15, 18, 30, 15, 250}));
    EXPECT_EQ(Text(RecodeDate(v, 2024, 2, 29)), u"2024-02-29 18:30:15.250");
    EXPECT_EQ(Text(RecodeTime(v, 6, 0, 0, 0)), u"2023-03-15 06:00:00.000");
    EXPECT_EQ(Text(RecodeDate(v, 1899, 12, 1)), u"1899-12-01 18:30:15.250");
    EXPECT_THROW(RecodeDate(v, 2023, 2, 29), EConvertError);
    EXPECT_THROW(RecodeTime(v, 24, 0, 0, 0), EConvertError);
}

} // namespace
