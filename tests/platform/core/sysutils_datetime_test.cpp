// Dates and times: encoding, FormatDateTime, the *ToStr functions, reading
// dates back and the clock hook.

#include "platform/core/sysutils.h"

#include <gtest/gtest.h>

namespace {

constexpr TDateTime k15Mar2023 = 45000; // a Wednesday

class SysUtilsDateTime : public ::testing::Test {
protected:
    void SetUp() override {
        FormatSettings = EnglishFormatSettings();
        SetClock([] { return k15Mar2023 + 0.375; });
    }
    void TearDown() override {
        FormatSettings = EnglishFormatSettings();
        SetClock(nullptr);
    }
    static TFormatSettings WithDateSeparator(Char sep) {
        TFormatSettings fs = EnglishFormatSettings();
        fs.DateSeparator = sep;
        return fs;
    }
};

TEST_F(SysUtilsDateTime, EncodeAndDecodeDates) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(2023, 3, 15), k15Mar2023);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
    EXPECT_EQ(EncodeTime(18, 0, 0, 0), 0.75);
    EXPECT_EQ(EncodeTime(23, 59, 59, 999), 86399999.0 / 86400000);

    // Every day of the calendar decodes back to itself.
    for (int day = -693593; day <= 2958465; day += 97) {
        Word y = 0, m = 0, d = 0;
        DecodeDate(day, y, m, d);
        ASSERT_EQ(EncodeDate(y, m, d), day) << y << "-" << m << "-" << d;
    }
    Word y = 0, m = 0, d = 0;
    DecodeDate(-693594, y, m, d); // before 1 January 0001
    EXPECT_EQ(y + m + d, 0);
    DecodeDate(23936899, y, m, d); // 31 December 67436, a leap year whose Word-wrapped number (1900) is not
    EXPECT_EQ(m * 100 + d, 1231);
    DecodeDate(EncodeDate(2000, 12, 31), y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, 20001231);
    DecodeDate(EncodeDate(2024, 2, 29), y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, 20240229);
}

TEST_F(SysUtilsDateTime, InvalidPartsRaise) {
    const struct {
        Word y, m, d;
    } badDates[] = {{2023, 2, 29}, {1900, 2, 29}, {0, 1, 1},   {10000, 1, 1},
                    {2023, 13, 1}, {2023, 4, 31}, {2023, 1, 0}};
    for (const auto& b : badDates) {
        TDateTime v = -1;
        EXPECT_FALSE(TryEncodeDate(b.y, b.m, b.d, v));
        EXPECT_EQ(v, -1);
        try {
            EncodeDate(b.y, b.m, b.d);
            ADD_FAILURE() << b.y << "-" << b.m << "-" << b.d;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), u"Invalid argument to date encode");
        }
    }
    EXPECT_NO_THROW(EncodeDate(2024, 2, 29));
    EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
    for (auto t : {std::array<Word, 4>{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}}) {
        try {
            EncodeTime(t[0], t[1], t[2], t[3]);
            ADD_FAILURE();
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), u"Invalid argument to time encode");
        }
    }
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(2023));
}

TEST_F(SysUtilsDateTime, DecodingRoundsToTheMillisecondFirst) {
    Word h = 0, n = 0, s = 0, ms = 0;
    DecodeTime(k15Mar2023 + 0.5 - 1e-9, h, n, s, ms);
    EXPECT_EQ(h * 10000 + n * 100 + s, 120000);
    EXPECT_EQ(ms, 0);
    DecodeTime(EncodeTime(9, 5, 7, 45), h, n, s, ms);
    EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, 90507045);
    // Just before midnight rounds into the next day.
    Word y = 0, m = 0, d = 0;
    DecodeDate(k15Mar2023 + 1 - 1e-10, y, m, d);
    EXPECT_EQ(d, 16);
    EXPECT_EQ(DayOfWeek(k15Mar2023), 4);
    EXPECT_EQ(DayOfWeek(k15Mar2023 + 4), 1); // Sunday
    EXPECT_EQ(DayOfWeek(0), 7);              // 30 December 1899 was a Saturday
}

TEST_F(SysUtilsDateTime, NegativeValuesKeepTheDateSignAndAPositiveTime) {
    // -1.25 is 29 December 1899, 06:00: the fraction is the time of day whatever the sign.
    EXPECT_EQ(FormatDateTime(u"yyyy-mm-dd hh:nn", -1.25), u"1899-12-29 06:00");
    EXPECT_EQ(FormatDateTime(u"yyyy-mm-dd hh:nn", -0.5), u"1899-12-30 12:00");
    EXPECT_EQ(FormatDateTime(u"yyyy-mm-dd", -693593), u"0001-01-01");
    // Before the first day of the calendar there is no month to name.
    EXPECT_EQ(FormatDateTime(u"yyyy-mm-dd mmm mmmm|", -693594), u"0000-00-00  |");
    EXPECT_EQ(FormatDateTime(u"dd mmmm yyyy", -1e6, RussianFormatSettings()), u"00  0000");
    EXPECT_EQ(DateTimeToStr(-1.25), u"12/29/1899 6:00:00 AM");
}

TEST_F(SysUtilsDateTime, FormatDateTimeVectors) {
    const TFormatSettings slash = WithDateSeparator(u'/');
    EXPECT_EQ(FormatDateTime(u"HH:mm:ss", k15Mar2023 + 0.5, slash), u"12:00:00");
    EXPECT_EQ(FormatDateTime(u"HH:mm:ss", k15Mar2023 + 0.5 - 1e-9, slash), u"12:00:00");
    EXPECT_EQ(FormatDateTime(u"dd/MM/yyyy HH:mm:ss", k15Mar2023 + 0.75, slash), u"15/03/2023 18:00:00");
    EXPECT_EQ(FormatDateTime(u"dd/MM/yyyy HH:mm:ss", k15Mar2023 + 0.75, WithDateSeparator(u'.')),
              u"15.03.2023 18:00:00");
    EXPECT_EQ(FormatDateTime(u"HH:mm", k15Mar2023 + 0.75, slash), u"18:00");

    const TDateTime t = k15Mar2023 + EncodeTime(9, 5, 7, 45);
    const struct {
        const char16_t* format;
        TDateTime value;
        const char16_t* text;
    } cases[] = {
        {u"d/m/y", t, u"15/3/23"},
        {u"dd/mm/yyy", t, u"15/03/2023"},
        {u"ddd mmm", t, u"Wed Mar"},
        {u"dddd, mmmm d, yyyy", t, u"Wednesday, March 15, 2023"},
        {u"mmmmm", t, u"March"},
        {u"ddddd", t, u"3/15/2023"},
        {u"dddddd", t, u"Wednesday, March 15, 2023"},
        {u"h:n:s.z", t, u"9:5:7.45"},
        {u"hh:nn:ss.zzz", t, u"09:05:07.045"},
        {u"hh:mm", t, u"09:05"},       // m after h: minutes
        {u"h 'at' m", t, u"9 at 5"},   // a quoted literal does not break the pairing
        {u"mm/dd hh", t, u"03/15 09"}, // m before any h: month
        {u"hh dd mm", t, u"09 15 03"}, // another letter token came between
        {u"\"hh\" hh", t, u"hh 09"},
        {u"h:mm am/pm", k15Mar2023 + 0.75, u"6:00 pm"},
        {u"h:mm AM/PM", t, u"9:05 AM"},
        {u"h a/p", k15Mar2023 + 0.75, u"6 p"},
        {u"hh ampm", k15Mar2023 + 0.75, u"06 PM"},
        {u"h am/pm", k15Mar2023, u"12 am"},
        {u"h:nn", k15Mar2023 + 0.75, u"18:00"}, // no marker: 24 hours
        {u"c", k15Mar2023 + 0.75, u"3/15/2023 6:00:00 PM"},
        {u"", k15Mar2023 + 0.75, u"3/15/2023 6:00:00 PM"},
        {u"t", k15Mar2023 + 0.75, u"6:00 PM"},
        {u"tt", k15Mar2023 + 0.75, u"6:00:00 PM"},
        {u"aaa aaaa", t, u"Wed Wednesday"},
        {u"x-q", t, u"x-q"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.format, c.value), c.text) << UTF8Encode(c.format);
}

TEST_F(SysUtilsDateTime, NestedFormatsStopAtTheSecondLevel) {
    FormatSettings.ShortDateFormat = u"ddddd"; // refers to itself
    EXPECT_EQ(FormatDateTime(u"ddddd", k15Mar2023), u"");
    FormatSettings.LongDateFormat = u"'<'ddddd'>'";
    FormatSettings.ShortDateFormat = u"dd";
    EXPECT_EQ(FormatDateTime(u"dddddd", k15Mar2023), u"<>");
}

TEST_F(SysUtilsDateTime, ToStrFunctionsRussian) {
    FormatSettings = RussianFormatSettings();
    EXPECT_EQ(DateTimeToStr(k15Mar2023 + 0.75), u"15.03.2023 18:00:00");
    EXPECT_EQ(DateTimeToStr(k15Mar2023), u"15.03.2023"); // midnight: no time
    EXPECT_EQ(DateTimeToStr(k15Mar2023 + 0.4 / MSecsPerDay), u"15.03.2023");
    EXPECT_EQ(DateTimeToStr(k15Mar2023 + 1.0 / SecsPerDay), u"15.03.2023 0:00:01");
    EXPECT_EQ(DateToStr(k15Mar2023 + 0.75), u"15.03.2023");
    EXPECT_EQ(TimeToStr(EncodeTime(9, 5, 0, 0)), u"9:05:00");
    EXPECT_EQ(TimeToStr(0), u"0:00:00");
    EXPECT_EQ(FormatDateTime(u"dddd, d mmmm yyyy", k15Mar2023), u"среда, 15 Март 2023");
    EXPECT_EQ(FormatDateTime(u"ddd mmm", k15Mar2023), u"Ср мар");
    EXPECT_EQ(FormatDateTime(u"dddddd", k15Mar2023), u"15 Март 2023 г.");
    EXPECT_EQ(FormatDateTime(u"t", k15Mar2023 + 0.75), u"18:00");
    EXPECT_EQ(FormatDateTime(u"h:nn ampm", k15Mar2023 + 0.75), u"6:00 "); // no AM/PM strings in Russian

    EXPECT_EQ(DateTimeToStr(k15Mar2023 + 0.75), u"15.03.2023 18:00:00");
    FormatSettings = EnglishFormatSettings();
    EXPECT_EQ(DateTimeToStr(k15Mar2023), u"3/15/2023");
    EXPECT_EQ(TimeToStr(0), u"12:00:00 AM");
    EXPECT_EQ(DateTimeToStr(k15Mar2023 + 0.75, RussianFormatSettings()), u"15.03.2023 18:00:00");
}

TEST_F(SysUtilsDateTime, StrToDateFollowsTheShortDateOrder) {
    EXPECT_EQ(StrToDate(u"3/15/2023"), k15Mar2023);
    EXPECT_EQ(StrToDate(u" 3 / 15 / 2023 "), k15Mar2023);
    EXPECT_EQ(StrToDate(u"3/15"), k15Mar2023); // the clock's year
    EXPECT_EQ(StrToDate(u"3/15/23"), k15Mar2023);
    EXPECT_EQ(StrToDate(u"3/15/80"), EncodeDate(1980, 3, 15)); // window of 50 years from 2023
    EXPECT_EQ(StrToDate(u"3/15/72"), EncodeDate(2072, 3, 15));
    for (const char16_t* bad :
         {u"", u"15/3/2023", u"2/30/2023", u"3/15/2023 x", u"3-15-2023", u"3/", u"a/b/c"})
        EXPECT_THROW(StrToDate(bad), EConvertError) << UTF8Encode(bad);
    try {
        StrToDate(u"x");
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"'x' is not a valid date");
    }

    FormatSettings = RussianFormatSettings();
    EXPECT_EQ(StrToDate(u"15.03.2023"), k15Mar2023);
    EXPECT_EQ(StrToDate(u"15.03.2023."), k15Mar2023);
    EXPECT_EQ(StrToDate(u"15.3"), k15Mar2023);
    EXPECT_THROW(StrToDate(u"03/15/2023"), EConvertError);

    FormatSettings.ShortDateFormat = u"yyyy-MM-dd";
    FormatSettings.DateSeparator = u'-';
    EXPECT_EQ(StrToDate(u"2023-03-15"), k15Mar2023);
}

TEST_F(SysUtilsDateTime, StrToTimeAndDateTime) {
    EXPECT_EQ(StrToTime(u"6:00 PM"), 0.75);
    EXPECT_EQ(StrToTime(u"PM 6:00"), 0.75);
    EXPECT_EQ(StrToTime(u"12:00 am"), 0);
    EXPECT_EQ(StrToTime(u"12:30:15.5"), EncodeTime(12, 30, 15, 5)); // the class library reads "5" as 5 ms
    for (const char16_t* bad : {u"", u"13:00 PM", u"0:00 AM", u"24:00", u"12:60", u"12:", u"12:00 x"})
        EXPECT_THROW(StrToTime(bad), EConvertError) << UTF8Encode(bad);

    FormatSettings = RussianFormatSettings();
    EXPECT_EQ(StrToTime(u"18"), 0.75);
    EXPECT_EQ(StrToTime(u"18:00"), 0.75);
    EXPECT_EQ(StrToTime(u"18:00:00"), 0.75);
    EXPECT_EQ(StrToDateTime(u"15.03.2023 18:00:00"), k15Mar2023 + 0.75);
    EXPECT_EQ(StrToDateTime(u"15.03.2023"), k15Mar2023);
    EXPECT_EQ(StrToDateTime(u"18:00"), 0.75);
    EXPECT_EQ(StrToDateTime(u"01.01.1899 06:00"), EncodeDate(1899, 1, 1) - 0.25);
    for (const char16_t* bad : {u"15.03.2023 25:00", u"15.03.2023 18:00:00 junk", u"31.02.2023 10:00"})
        EXPECT_THROW(StrToDateTime(bad), EConvertError) << UTF8Encode(bad);
    try {
        StrToDateTime(u"Err.4");
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"'Err.4' is not a valid date and time");
    }
    TDateTime v = 7;
    EXPECT_FALSE(TryStrToDateTime(u"Значение1", v));
    EXPECT_EQ(v, 7);
}

TEST_F(SysUtilsDateTime, TextRoundTrips) {
    const TDateTime values[] = {k15Mar2023, k15Mar2023 + 0.75,
                                EncodeDate(2009, 10, 5) + EncodeTime(12, 30, 0, 0),
                                EncodeDate(2024, 2, 29) + EncodeTime(23, 59, 59, 0),
                                EncodeDate(1999, 12, 31) + EncodeTime(0, 0, 1, 0)};
    for (const TFormatSettings& fs : {EnglishFormatSettings(), RussianFormatSettings()}) {
        for (TDateTime v : values) {
            EXPECT_NEAR(StrToDateTime(DateTimeToStr(v, fs), fs), v, 0.5 / MSecsPerDay)
                << UTF8Encode(DateTimeToStr(v, fs));
            EXPECT_EQ(StrToDate(DateToStr(v, fs), fs), Int(v));
            EXPECT_NEAR(StrToTime(TimeToStr(v, fs), fs), Frac(v), 0.5 / MSecsPerDay);
        }
    }
}

TEST_F(SysUtilsDateTime, ClockHook) {
    EXPECT_EQ(Now(), k15Mar2023 + 0.375);
    EXPECT_EQ(Date(), k15Mar2023);
    EXPECT_EQ(Time(), 0.375);
    SetClock(nullptr);
    const TDateTime now = Now();
    EXPECT_GT(now, EncodeDate(2023, 1, 1));
    EXPECT_LT(now, EncodeDate(2200, 1, 1));
}

} // namespace
