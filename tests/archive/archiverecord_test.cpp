#include "archive/archiverecord.h"

#include "platform/core/sysutils.h"

#include <gtest/gtest.h>

namespace {

using Records = std::vector<AnsiString>;

TEST(CommandFrames, DeviceNumberCodeAndPackedBcdDate) {
    EXPECT_EQ(ResetIndexFrame(7), (TCommandFrame{0x07, 0x01, 0x00, 0x00, 0x07}));
    EXPECT_EQ(ReadDayFrame(7, EncodeDate(2009, 10, 5)), (TCommandFrame{0x07, 0x03, 0x10, 0x05, 0x07}));
    EXPECT_EQ(ReadDayFrame(10, EncodeDate(2009, 12, 31) + 0.75),
              (TCommandFrame{0x0A, 0x03, 0x12, 0x31, 0x0A}));
    EXPECT_EQ(ReadDayFrame(99, EncodeDate(2024, 2, 29)), (TCommandFrame{0x63, 0x03, 0x02, 0x29, 0x63}));
}

TEST(CutReplyRecords, RecordsDropTheirHeaderAndMarkersEndNothing) {
    // Two records and a portion marker.
    EXPECT_EQ(CutReplyRecords("\xF0\x01\x02\x03"
                              "ab\xFF\xF0\x01\x02\x03"
                              "cd\xFF="),
              (Records{"ab", "cd"}));
    // The day's end: "?" 0xFF ends no record.
    EXPECT_EQ(CutReplyRecords("\xF0\x01\x02\x03"
                              "ab\xFF?\xFF"),
              (Records{"ab"}));
    // A 0xF0 inside a record starts it anew.
    EXPECT_EQ(CutReplyRecords("\xF0\x01\x02\x03xx\xF0\x01\x02\x03"
                              "ab\xFF"),
              (Records{"ab"}));
    // A 0xFF right after 0xFF or "?" does not end the open record; a later one does.
    EXPECT_EQ(CutReplyRecords("\xF0\x01\x02\x03"
                              "a?\xFF"
                              "b\xFF"),
              (Records{"a?\xFF"
                       "b"}));
    // An unfinished record is no record.
    EXPECT_EQ(CutReplyRecords("\xF0\x01\x02\x03"
                              "ab"),
              Records{});
}

TEST(CutReplyRecords, StrayEndBytesCutNothing) {
    // Each cut consumes its start: "=" followed by 0xFF, or a second record end,
    // must not cut the same record again.
    EXPECT_EQ(CutReplyRecords("\xF0\x01\x02\x03"
                              "ab\xFF=\xFF"),
              (Records{"ab"}));
    EXPECT_EQ(CutReplyRecords("\xF0\x01\x02\x03"
                              "ab\xFFzz\xFF"),
              (Records{"ab"}));
    // No 0xF0 before the 0xFF at all, including a 0xFF as the very first byte.
    EXPECT_EQ(CutReplyRecords("\xFFzz\xFF"), Records{});
    EXPECT_EQ(CutReplyRecords(""), Records{});
}

TEST(CutReplyRecords, RecordsWithNothingAfterTheirHeaderAreDropped) {
    EXPECT_EQ(CutReplyRecords("\xF0\x01\xFF\xF0\x01\x02\xFF"), Records{});
    // Exactly the header, as a reset's reply is framed: no record, and the
    // next frame is still cut.
    EXPECT_EQ(CutReplyRecords("\xF0\x01\x02\x03\xFF\xF0\x01\x02\x03"
                              "a\xFF"),
              (Records{"a"}));
}

TEST(DeviceText, Utf8WhenItIsUtf8AndWindows1251Otherwise) {
    EXPECT_EQ(DeviceText("05 10 12 30 1.5"), u"05 10 12 30 1.5");
    EXPECT_EQ(DeviceText("\xD0\x96 \xE2\x84\x96"), u"Ж №");
    // One byte that is not UTF-8 makes the whole record Windows-1251.
    EXPECT_EQ(DeviceText("\xD0\x96 \xCA"), u"Р– К");
    EXPECT_EQ(DeviceText("\xC0\xFF\xA8\xB8\x88\xB9"), u"АяЁё€№");
    // Overlong forms and surrogates are not UTF-8.
    EXPECT_EQ(DeviceText("\xC0\xAF"), u"АЇ");
    EXPECT_EQ(DeviceText("\xED\xA0\x80"), u"н\u00A0Ђ");
    // Every byte is a character of its own, so no two records read alike.
    std::u16string seen;
    for (int b = 0x80; b < 0x100; ++b) {
        const String c = DeviceText(std::string(1, static_cast<char>(b)));
        ASSERT_EQ(c.size(), 1u) << b;
        EXPECT_NE(c[0], u'\uFFFD') << b;
        EXPECT_GE(c[0], 0x80) << b;
        EXPECT_EQ(seen.find(c[0]), std::u16string::npos) << b;
        seen += c;
    }
}

TEST(DeviceNumbers, SameInEveryLocale) {
    double v = 0;
    const std::pair<const char16_t*, double> good[] = {{u"1.5", 1.5},    {u"1,5", 1.5}, {u"-0.25", -0.25},
                                                       {u"+7", 7},       {u".5", 0.5},  {u"5.", 5},
                                                       {u"1.5E3", 1500}, {u"2e-1", 0.2}};
    for (const auto& [text, value] : good) {
        EXPECT_TRUE(TryParseDeviceNumber(text, v)) << StringToAnsi(text);
        EXPECT_EQ(v, value) << StringToAnsi(text);
    }

    for (const char16_t* bad :
         {u"",     u"abc", u"-",  u".",   u"1.2.3", u"1,2.3",  u"NaN", u"nan", u"INF", u"-inf", u"Infinity",
          u"0x10", u"$10", u"1e", u"1e+", u"1e999", u"-1e400", u"1 ",  u" 1",  u"1-",  u"١"}) {
        EXPECT_FALSE(TryParseDeviceNumber(bad, v)) << StringToAnsi(bad);
    }
}

TEST(DeviceNumbers, TokenValuesAndMarkers) {
    EXPECT_EQ(DeviceTokenValue(u"0"), 0);
    EXPECT_EQ(DeviceTokenValue(u"2.25"), 2.25);
    EXPECT_EQ(DeviceTokenValue(u"abc"), ValueConvertError);
    for (const char16_t* missing : {u"9999", u"99.99", u"999,9", u"9.999", u".9999", u"9999."})
        EXPECT_EQ(DeviceTokenValue(missing), ValueMissing) << StringToAnsi(missing);
    // Only the device's exact text means "missing".
    EXPECT_EQ(DeviceTokenValue(u"9999.0"), 9999.0);
    EXPECT_EQ(DeviceTokenValue(u"-9999"), -9999.0);
    EXPECT_EQ(DeviceTokenValue(u"09999"), 9999.0);
}

TEST(ArchiveRecords, DateTimeAndValues) {
    const auto r = ParseArchiveRecord(u" 05 10 12 30 1.5 0 9999 abc ", 2009);
    ASSERT_TRUE(r.timeValid);
    EXPECT_DOUBLE_EQ(r.time, EncodeDate(2009, 10, 5) + EncodeTime(12, 30, 0, 0));
    EXPECT_EQ(r.values, (std::vector<double>{1.5, 0, ValueMissing, ValueConvertError}));

    // Several spaces between tokens, and no space after the last one.
    const auto last = ParseArchiveRecord(u"05  10 13 00   2.25 7", 2009);
    EXPECT_TRUE(last.timeValid);
    EXPECT_EQ(last.values, (std::vector<double>{2.25, 7}));

    // Fractions of the date and time fields are cut off, never rounded up.
    const auto cut = ParseArchiveRecord(u"31.9 12.5 23.5 59.9 7", 2009);
    EXPECT_TRUE(cut.timeValid);
    EXPECT_DOUBLE_EQ(cut.time, EncodeDate(2009, 12, 31) + EncodeTime(23, 59, 0, 0));

    // Only the date and time: a row without values.
    EXPECT_TRUE(ParseArchiveRecord(u" 01 01 00 00 ", 2010).timeValid);
    EXPECT_TRUE(ParseArchiveRecord(u" 01 01 00 00 ", 2010).values.empty());
}

TEST(ArchiveRecords, InvalidDatesAndTimesNeverWrap) {
    for (const char16_t* text :
         {u"31 02 10 00 7", u"05 13 10 00 7", u"00 10 10 00 7", u"05 10 24 00 7", u"05 10 12 60 7",
          u"65541 10 12 00 7", u"05 65547 12 00 7", u"05 10 65536 00 7", u"1e300 10 12 00 7",
          u"-1 10 12 00 7", u"xx 10 12 00 7", u"9999 10 12 00 7", u"05 10 12 -1 7"}) {
        const auto r = ParseArchiveRecord(text, 2009);
        EXPECT_FALSE(r.timeValid) << StringToAnsi(text);
        EXPECT_EQ(r.time, 0) << StringToAnsi(text);
        // The values are still read.
        EXPECT_EQ(r.values, std::vector<double>{7}) << StringToAnsi(text);
    }
    // 29 February exists only in leap years.
    EXPECT_TRUE(ParseArchiveRecord(u"29 02 00 00", 2024).timeValid);
    EXPECT_FALSE(ParseArchiveRecord(u"29 02 00 00", 2023).timeValid);
}

TEST(ArchiveRecords, ShortRecordsHaveNoTimeAndNoValues) {
    for (const char16_t* text : {u"", u"   ", u"05", u"05 10 12"}) {
        const auto r = ParseArchiveRecord(text, 2009);
        EXPECT_FALSE(r.timeValid);
        EXPECT_TRUE(r.values.empty());
    }
}

TEST(ArchiveRecords, AtMostThirteenValues) {
    String text = u"05 10 12 30";
    for (int k = 1; k <= 2000; ++k) text += u" " + IntToStr(k);
    const auto r = ParseArchiveRecord(text, 2009);
    ASSERT_EQ(r.values.size(), 13u);
    EXPECT_EQ(r.values.front(), 1);
    EXPECT_EQ(r.values.back(), 13);
}

} // namespace
