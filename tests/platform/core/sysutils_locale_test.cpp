// Format settings from the system locale: the C library's strftime formats
// and names turned into the format language, checked through what the
// conversions then print and read. The machine's own locales vary, so the
// locales are given as the C library describes them.

#include "platform/core/sysutils.h"

#include <gtest/gtest.h>

namespace {

constexpr TDateTime k15Mar2023At18 = 45000.75;

TLocaleInfo Russian() {
    TLocaleInfo ru;
    ru.NumericIsC = ru.TimeIsC = ru.MonetaryIsC = false;
    ru.DecimalPoint = ",";
    ru.ThousandsSep = "\u202F";
    ru.DateFormat = "%d.%m.%Y";
    ru.TimeFormat = "%T";
    ru.LongMonths = {"январь", "февраль", "март",     "апрель",  "май",    "июнь",
                     "июль",   "август",  "сентябрь", "октябрь", "ноябрь", "декабрь"};
    ru.ShortMonths = {"янв", "фев", "мар", "апр", "май", "июн", "июл", "авг", "сен", "окт", "ноя", "дек"};
    ru.LongDays = {"Воскресенье", "Понедельник", "Вторник", "Среда", "Четверг", "Пятница", "Суббота"};
    ru.ShortDays = {"Вс", "Пн", "Вт", "Ср", "Чт", "Пт", "Сб"};
    ru.Currency = "₽";
    ru.CurrencyFirst = false;
    ru.CurrencySpace = true;
    return ru;
}

TLocaleInfo AmericanEnglish() {
    TLocaleInfo en;
    en.NumericIsC = en.TimeIsC = en.MonetaryIsC = false;
    en.DecimalPoint = ".";
    en.ThousandsSep = ",";
    en.DateFormat = "%m/%d/%Y";
    en.TimeFormat = "%r";
    en.TimeFormatAmPm = "%I:%M:%S %p";
    en.Am = "AM";
    en.Pm = "PM";
    en.Currency = "$";
    return en; // names left empty: the English ones stand in
}

TEST(SysUtilsLocale, RussianLocaleGivesItsOwnFormsEverywhere) {
    const TFormatSettings fs = FormatSettingsFromLocale(Russian());
    EXPECT_EQ(fs.ShortDateFormat, u"dd.MM.yyyy");
    EXPECT_EQ(fs.DateSeparator, u'.');
    EXPECT_EQ(fs.LongTimeFormat, u"HH:nn:ss");
    EXPECT_EQ(fs.ShortTimeFormat, u"HH:nn");
    EXPECT_EQ(fs.TimeSeparator, u':');

    EXPECT_EQ(DateTimeToStr(k15Mar2023At18, fs), u"15.03.2023 18:00:00");
    EXPECT_EQ(DateTimeToStr(45000, fs), u"15.03.2023");
    EXPECT_EQ(FormatDateTime(u"t", k15Mar2023At18 + EncodeTime(0, 5, 0, 0), fs), u"18:05");
    EXPECT_EQ(FormatDateTime(u"dddddd", 45000, fs), u"15 март 2023");
    EXPECT_EQ(FormatDateTime(u"ddd, d mmm", 45000, fs), u"Ср, 15 мар");
    EXPECT_EQ(StrToDateTime(u"15.03.2023 18:00:00", fs), k15Mar2023At18);
    EXPECT_EQ(FloatToStr(1.5, fs), u"1,5");
    EXPECT_EQ(StrToFloat(u"2,25", fs), 2.25);
    EXPECT_EQ(FormatFloat(u"#,##0.00", 1234567.891, fs), u"1\u202F234\u202F567,89");
    EXPECT_EQ(FloatToStrF(-1234.5, ffCurrency, 15, 2, fs), u"-1\u202F234,50 ₽");
}

TEST(SysUtilsLocale, TwelveHourLocalesKeepTheirMarkers) {
    const TFormatSettings fs = FormatSettingsFromLocale(AmericanEnglish());
    EXPECT_EQ(fs.ShortDateFormat, u"MM/dd/yyyy");
    EXPECT_EQ(fs.LongDateFormat, u"dddd, MMMM d, yyyy");
    EXPECT_EQ(fs.LongTimeFormat, u"hh:nn:ss AMPM");
    EXPECT_EQ(fs.ShortTimeFormat, u"hh:nn AMPM");
    EXPECT_EQ(DateTimeToStr(k15Mar2023At18, fs), u"03/15/2023 06:00:00 PM");
    EXPECT_EQ(StrToDateTime(u"03/15/2023 06:00:00 PM", fs), k15Mar2023At18);
    EXPECT_EQ(FormatDateTime(u"mmmm", 45000, fs), u"March");
    EXPECT_EQ(FloatToStrF(1234.5, ffCurrency, 15, 2, fs), u"$1,234.50");
    EXPECT_EQ(FloatToStrF(-1234.5, ffCurrency, 15, 2, fs), u"-$1,234.50");
}

TEST(SysUtilsLocale, LettersAndOtherScriptsInFormatsStayLiteral) {
    TLocaleInfo info = Russian();
    info.DateFormat = "%Y年%m月%d日"; // no separator between the fields
    info.TimeFormat = "%Hh%M";        // a letter between them
    TFormatSettings fs = FormatSettingsFromLocale(info);
    EXPECT_EQ(fs.DateSeparator, u'/');
    EXPECT_EQ(FormatDateTime(u"ddddd tt", k15Mar2023At18, fs), u"2023年03月15日 18h00");
    EXPECT_EQ(fs.LongDateFormat, u"yyyy MMMM d");

    info.DateFormat = "%e de %B de %Y, %A";
    fs = FormatSettingsFromLocale(info);
    EXPECT_EQ(FormatDateTime(u"ddddd", 45000, fs), u"15 de март de 2023, Среда");
}

TEST(SysUtilsLocale, TheCLocaleKeepsTheEnglishDefaults) {
    const TFormatSettings english = EnglishFormatSettings();
    for (const TFormatSettings& fs : {FormatSettingsFromLocale(TLocaleInfo{}), SystemFormatSettings()}) {
        EXPECT_EQ(fs.ShortDateFormat, english.ShortDateFormat);
        EXPECT_EQ(fs.LongTimeFormat, english.LongTimeFormat);
        EXPECT_EQ(fs.DecimalSeparator, english.DecimalSeparator);
        EXPECT_EQ(fs.CurrencyString, english.CurrencyString);
        EXPECT_EQ(fs.LongMonthNames, english.LongMonthNames);
    }
    // The test entry runs the tests in the "C" locale.
    const TLocaleInfo system = SystemLocaleInfo();
    EXPECT_TRUE(system.NumericIsC && system.TimeIsC && system.MonetaryIsC);
    EXPECT_EQ(DateTimeToStr(k15Mar2023At18), u"3/15/2023 6:00:00 PM");
}

} // namespace
