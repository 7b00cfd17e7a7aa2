// Numbers: Round and friends, the random generator, FloatToStr/FloatToStrF,
// FormatFloat, StrToFloat, integers and Format.

#include "platform/core/sysutils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Every test starts from the English settings and leaves them behind.
class SysUtilsNumbers : public ::testing::Test {
protected:
    void SetUp() override { FormatSettings = EnglishFormatSettings(); }
    void TearDown() override { FormatSettings = EnglishFormatSettings(); }
};

String Ru(std::u16string_view s) {
    // Tests write the Russian thousands separator as '_'.
    String out(s);
    for (auto& c : out)
        if (c == u'_') c = u'\u00A0';
    return out;
}

TEST_F(SysUtilsNumbers, RoundIsHalfToEvenWhileFormatFloatIsHalfAway) {
    const struct {
        double x;
        Int64 round;
        const char16_t* formatted; // FormatFloat("0", x)
    } cases[] = {
        {0.5, 0, u"1"},    {1.5, 2, u"2"},    {2.5, 2, u"3"},    {3.5, 4, u"4"}, {-0.5, 0, u"-1"},
        {-1.5, -2, u"-2"}, {-2.5, -2, u"-3"}, {2.4999, 2, u"2"}, {2.6, 3, u"3"}, {-2.6, -3, u"-3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Round(c.x), c.round) << c.x;
        EXPECT_EQ(FormatFloat(u"0", c.x), c.formatted) << c.x;
    }
    // The depth-axis title loop: Round(-0.5) .. Round(2.5) gives three titles.
    EXPECT_EQ(Round(2.5) - Round(-0.5) + 1, 3);
    EXPECT_EQ(Round(4503599627370497.0), 4503599627370497); // beyond 2^52 values are integers already
    EXPECT_EQ(Round(-9223372036854775808.0), std::numeric_limits<Int64>::min());
}

TEST_F(SysUtilsNumbers, TruncIntFracAndTheirRangeErrors) {
    EXPECT_EQ(Trunc(2.7), 2);
    EXPECT_EQ(Trunc(-2.7), -2);
    EXPECT_EQ(Int(-2.7), -2.0);
    EXPECT_EQ(Frac(-2.5), -0.5);
    EXPECT_EQ(Frac(3.25), 0.25);
    for (double bad : {kNaN, kInf, -kInf, 9.3e18, -9.3e18}) {
        EXPECT_THROW(Round(bad), EInvalidOp) << bad;
        EXPECT_THROW(Trunc(bad), EInvalidOp) << bad;
    }
    try {
        Round(kNaN);
    } catch (const EMathError& e) {
        EXPECT_EQ(e.Message(), u"Invalid floating point operation");
    }
}

TEST_F(SysUtilsNumbers, RandomFollowsTheThirtyTwoBitGenerator) {
    RandSeed = 0;
    std::vector<int> got;
    for (int i = 0; i < 6; ++i) got.push_back(Random(100));
    EXPECT_EQ(got, (std::vector<int>{0, 3, 86, 20, 27, 67}));

    RandSeed = 12345;
    got.clear();
    for (int i = 0; i < 4; ++i) got.push_back(Random(1000));
    EXPECT_EQ(got, (std::vector<int>{385, 289, 79, 553}));
    EXPECT_EQ(RandSeed, -1917230139); // the seed wraps as a signed 32-bit integer

    RandSeed = 0;
    EXPECT_DOUBLE_EQ(Random(), 2.3283064365386963e-10);
    EXPECT_DOUBLE_EQ(Random(), 0.031379939522594213);
    EXPECT_DOUBLE_EQ(Random(), 0.8610484672244638);

    // Random(N) stays in 0..N-1 for any seed.
    RandSeed = -1;
    for (int i = 0; i < 1000; ++i) {
        const int r = Random(7);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 7);
    }
}

TEST_F(SysUtilsNumbers, FloatToStrGeneralForm) {
    const struct {
        double v;
        const char16_t* text;
    } cases[] = {
        {0.1 + 0.2, u"0.3"},
        {1e-5, u"1E-5"},
        {1.5e-7, u"1.5E-7"},
        {0.0001, u"0.0001"},
        {1e15, u"1E15"},
        {999999999999999.0, u"999999999999999"},
        {1e20, u"1E20"},
        {-1.5e300, u"-1.5E300"},
        {123.5, u"123.5"},
        {100, u"100"},
        {-1.5, u"-1.5"},
        {0, u"0"},
        {-0.0, u"0"},
        {1.0 / 3, u"0.333333333333333"},
        {2.0 / 3, u"0.666666666666667"},
        {123456789012345678.0, u"1.23456789012346E17"},
        {0.1, u"0.1"},
        {45000.75, u"45000.75"},
        {kNaN, u"NAN"},
        {kInf, u"INF"},
        {-kInf, u"-INF"},
    };
    for (const auto& c : cases) EXPECT_EQ(FloatToStr(c.v), c.text) << c.v;

    FormatSettings = RussianFormatSettings();
    EXPECT_EQ(FloatToStr(1.5), u"1,5");
    EXPECT_EQ(FloatToStr(1234567.25), u"1234567,25"); // no grouping in the general form
    EXPECT_EQ(FloatToStr(2.5e-6), u"2,5E-6");
    EXPECT_EQ(FloatToStr(1.5, EnglishFormatSettings()), u"1.5");
}

// The general form as it was built before the shortest digits were taken:
// 18 significant digits, rounded half away from zero to `precision`.
String GeneralThrough18Digits(double v, int precision, Char separator) {
    if (v == 0) return u"0";
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, 17);
    const std::string text(buf, res.ptr);
    const std::size_t e = text.find('e');
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    int exponent = std::stoi(text.substr(e + 1)) + 1;
    const bool up = digits[static_cast<std::size_t>(precision)] >= '5';
    digits.resize(static_cast<std::size_t>(precision));
    if (up) {
        int i = precision - 1;
        while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9')
            digits[static_cast<std::size_t>(i--)] = '0';
        if (i < 0) {
            digits.insert(digits.begin(), '1');
            ++exponent;
        } else {
            ++digits[static_cast<std::size_t>(i)];
        }
    }
    while (digits.back() == '0') digits.pop_back();
    std::string out = v < 0 ? "-" : "";
    const int len = static_cast<int>(digits.size());
    if (exponent > precision || exponent < -3) {
        out += digits[0];
        if (len > 1) out += '.' + digits.substr(1);
        out += 'E' + std::to_string(exponent - 1);
    } else if (exponent <= 0) {
        out += "0." + std::string(static_cast<std::size_t>(-exponent), '0') + digits;
    } else {
        digits.resize(std::max(digits.size(), static_cast<std::size_t>(exponent)), '0');
        out += digits.substr(0, static_cast<std::size_t>(exponent));
        if (len > exponent) out += '.' + digits.substr(static_cast<std::size_t>(exponent));
    }
    String result(out.begin(), out.end());
    std::replace(result.begin(), result.end(), u'.', separator);
    return result;
}

// Short digits are taken as they read back; they must be what rounding the
// 18 digits gave, for any double, any precision and either separator.
TEST_F(SysUtilsNumbers, FloatToStrMatchesRoundingEighteenDigits) {
    std::mt19937_64 random(20091);
    auto check = [](double v) {
        for (const auto& fs : {EnglishFormatSettings(), RussianFormatSettings()}) {
            for (int precision = 1; precision <= 17; ++precision)
                ASSERT_EQ(FloatToStrF(v, ffGeneral, precision, 0, fs),
                          GeneralThrough18Digits(v, precision, fs.DecimalSeparator))
                    << "value bits " << std::bit_cast<std::uint64_t>(v) << " precision " << precision;
        }
    };
    for (int i = 0; i < 20000; ++i) {
        // Any bit pattern that is a number, subnormals included.
        const double any = std::bit_cast<double>(random());
        if (std::isfinite(any)) check(any);
        // A device's kind of value: a few digits after the point.
        const auto scale = std::pow(10.0, static_cast<int>(random() % 8));
        const double device =
            static_cast<double>(static_cast<std::int64_t>(random() % 2000000000) - 1000000000) / scale;
        check(device);
        // Halfway between two 15-digit texts and its neighbours.
        const double base = static_cast<double>(random() % 1000000000000000ULL) + 0.5;
        const double tie = base * std::pow(10.0, static_cast<int>(random() % 40) - 20);
        check(tie);
        check(std::nextafter(tie, 0.0));
        check(std::nextafter(tie, 1e300));
    }
    for (const double v : {1.0, 0.1, 0.3, 1e-4, 9.99999999999999e-5, 999999999999999.0, 1e15, 1e16, 1e22,
                           1e23, 0.999999999999999944, std::numeric_limits<double>::min(),
                           std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max()}) {
        check(v);
        check(-v);
    }
}

TEST_F(SysUtilsNumbers, FloatToStrFFormats) {
    EXPECT_EQ(FloatToStrF(1234.5678, ffFixed, 15, 2), u"1234.57");
    EXPECT_EQ(FloatToStrF(1234.5678, ffFixed, 4, 2), u"1235.00"); // precision caps the digits
    EXPECT_EQ(FloatToStrF(1234.5678, ffFixed, 3, 2), u"1.23E3");  // more integer digits than precision
    EXPECT_EQ(FloatToStrF(0.5, ffFixed, 15, 0), u"1");
    EXPECT_EQ(FloatToStrF(-0.001, ffFixed, 15, 2), u"0.00");
    EXPECT_EQ(FloatToStrF(1e20, ffFixed, 15, 2), u"1E20");
    EXPECT_EQ(FloatToStrF(1234567.891, ffNumber, 15, 2), u"1,234,567.89");
    EXPECT_EQ(FloatToStrF(-999.999, ffNumber, 15, 2), u"-1,000.00");
    EXPECT_EQ(FloatToStrF(1234.5, ffExponent, 4, 2), u"1.235E+03");
    EXPECT_EQ(FloatToStrF(-0.00012345, ffExponent, 3, 0), u"-1.23E-4");
    EXPECT_EQ(FloatToStrF(0, ffExponent, 3, 2), u"0.00E+00");
    EXPECT_EQ(FloatToStrF(1e-5, ffGeneral, 15, 2), u"1E-05");
    EXPECT_EQ(FloatToStrF(1234.5, ffCurrency, 15, 2), u"$1,234.50");
    EXPECT_EQ(FloatToStrF(-1234.5, ffCurrency, 15, 2), u"($1,234.50)");

    FormatSettings = RussianFormatSettings();
    EXPECT_EQ(FloatToStrF(1234567.891, ffNumber, 15, 2), Ru(u"1_234_567,89"));
    EXPECT_EQ(FloatToStrF(1234.5, ffCurrency, 15, 2), Ru(u"1_234,50 \u20BD"));
    EXPECT_EQ(FloatToStrF(-1234.5, ffCurrency, 15, 2), Ru(u"-1_234,50 \u20BD"));
}

TEST_F(SysUtilsNumbers, FormatFloatMiniLanguage) {
    const struct {
        const char16_t* format;
        double v;
        const char16_t* text;
    } cases[] = {
        {u"0.00", 0.125, u"0.13"},
        {u"0.00", 1.005, u"1.00"}, // the double lies below 1.005
        {u"#,##0.###", 1234.5, u"1,234.5"},
        {u"#,##0.###", 0.0001, u"0"},
        {u"#,##0.###", -1234.5678, u"-1,234.568"},
        {u"##0.## %", 25, u"25 %"},
        {u"##0.## %", 33.3333, u"33.33 %"},
        {u"0", -0.0001, u"0"}, // no sign on a value that rounds to zero
        {u"0.0", -0.04, u"0.0"},
        {u"#", 0, u""},
        {u"#.##", 0.5, u".5"},
        {u"0.##", 1, u"1"},
        {u".00", 12.5, u"12.50"},
        {u"000", 5, u"005"},
        {u"#0#.#0#", 1.5, u"01.50"}, // '#' between '0's is a forced digit
        {u"#,##0", 1234567, u"1,234,567"},
        {u"#,##0.00", 1e17, u"100,000,000,000,000,000.00"},
        {u"0", 1e18, u"1E18"}, // beyond 18 digits: the general form
        {u"0.00E+00", 1234.5, u"1.23E+03"},
        {u"0.00E-00", 1234.5, u"1.23E03"},
        {u"0.00e+0", 0.00012345, u"1.23e-4"},
        {u"00.0E+0", 1234, u"12.3E+2"},
        {u"0.00E+00", 0, u"0.00E+00"},
        {u"0;(0);zero", -5, u"(5)"},
        {u"0;(0);zero", 0, u"zero"},
        {u"0;(0);zero", 5, u"5"},
        {u"0;(0);zero", -0.2, u"zero"},
        {u"0;(0)", -0.2, u"0"},
        {u"0;;zero", -5, u"-5"}, // an empty section falls back to the first
        {u"$#,##0.00", -5, u"-$5.00"},
        {u"'#'0", 5, u"#5"},
        {u"\"x;y\"0.0", 1.25, u"x;y1.3"},
        {u"(###) ###-####", 5551234567.0, u"(555) 123-4567"},
        {u"", 0.1 + 0.2, u"0.3"},
        {u"0.00", kNaN, u"NAN"},
        {u"0.00", -kInf, u"-INF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFloat(c.format, c.v), c.text) << UTF8Encode(c.format) << " " << c.v;

    FormatSettings = RussianFormatSettings();
    EXPECT_EQ(FormatFloat(u"#,##0.###", 1234.5), Ru(u"1_234,5"));
    EXPECT_EQ(FormatFloat(u"0.00", 0.125), u"0,13");
    EXPECT_EQ(FormatFloat(u"##0.## %", 33.3333), u"33,33 %");
    EXPECT_EQ(FormatFloat(u"0.0E+00", 1234), u"1,2E+03");
}

TEST_F(SysUtilsNumbers, StrToFloatReadsTheLocaleForm) {
    EXPECT_EQ(StrToFloat(u"1.5"), 1.5);
    EXPECT_EQ(StrToFloat(u"  -2.25  "), -2.25);
    EXPECT_EQ(StrToFloat(u"+.5"), 0.5);
    EXPECT_EQ(StrToFloat(u"1e3"), 1000);
    EXPECT_EQ(StrToFloat(u"1.5E-2"), 0.015);
    EXPECT_EQ(StrToFloat(u"0.1"), 0.1);
    EXPECT_EQ(StrToFloat(u"1e-400"), 0);
    for (const char16_t* bad :
         {u"", u" ", u"abc", u"1,5", u"1.2.3", u"-", u".", u"1e", u"1 000", u"1e400", u"0x10"})
        EXPECT_THROW(StrToFloat(bad), EConvertError) << UTF8Encode(bad);
    try {
        StrToFloat(u"abc");
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"'abc' is not a valid floating point value");
    }
    EXPECT_EQ(StrToFloatDef(u"x", 7), 7);

    FormatSettings = RussianFormatSettings();
    EXPECT_EQ(StrToFloat(u"1,5"), 1.5);
    EXPECT_THROW(StrToFloat(u"1.5"), EConvertError);
    Extended v = 0;
    EXPECT_FALSE(TryStrToFloat(Ru(u"1_234,5"), v)); // no grouping on input
    // What FloatToStr writes reads back exactly.
    for (double x : {0.1, 1.0 / 3, 45000.520833333336, -1e-7, 123456789.125})
        EXPECT_EQ(StrToFloat(FloatToStr(x)),
                  StrToFloat(FloatToStr(x, EnglishFormatSettings()), EnglishFormatSettings()));
}

TEST_F(SysUtilsNumbers, IntegersAndHex) {
    EXPECT_EQ(IntToStr(-42), u"-42");
    EXPECT_EQ(IntToStr(std::numeric_limits<Int64>::min()), u"-9223372036854775808");
    EXPECT_EQ(StrToInt(u"  42"), 42);
    EXPECT_EQ(StrToInt(u"-2147483648"), std::numeric_limits<Integer>::min());
    EXPECT_EQ(StrToInt(u"$FF"), 255);
    EXPECT_EQ(StrToInt(u"-$10"), -16);
    EXPECT_EQ(StrToInt(u"0x1f"), 31);
    EXPECT_EQ(StrToInt(u"$FFFFFFFF"), -1); // hex fills the whole unsigned range
    EXPECT_EQ(StrToInt64(u"9223372036854775807"), std::numeric_limits<Int64>::max());
    for (const char16_t* bad :
         {u"", u"42 ", u"4 2", u"2147483648", u"-2147483649", u"$", u"$1FFFFFFFF", u"1.0", u"+"})
        EXPECT_THROW(StrToInt(bad), EConvertError) << UTF8Encode(bad);
    try {
        StrToInt(u"12a");
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"'12a' is not a valid integer value");
    }
    EXPECT_EQ(StrToIntDef(u"x", -1), -1);
    Integer i = 5;
    EXPECT_FALSE(TryStrToInt(u"99999999999", i));
    EXPECT_EQ(i, 5);

    EXPECT_EQ(IntToHex(255, 4), u"00FF");
    EXPECT_EQ(IntToHex(-1, 2), u"FFFFFFFF");
    EXPECT_EQ(IntToHex(Int64{-1}, 2), u"FFFFFFFFFFFFFFFF");
    EXPECT_EQ(IntToHex(Byte{10}, 1), u"A");
}

TEST_F(SysUtilsNumbers, FormatIntegersAndStrings) {
    const struct {
        const char16_t* format;
        std::vector<TVarRec> args;
        const char16_t* text;
    } cases[] = {
        {u"%d", {42}, u"42"},
        {u"%5d|", {42}, u"   42|"},
        {u"%-5d|", {42}, u"42   |"},
        {u"%.3d", {-5}, u"-005"},
        {u"%D", {Int64{1} << 40}, u"1099511627776"},
        {u"%u", {-1}, u"4294967295"},
        {u"%x", {255}, u"FF"},
        {u"%.4x", {255}, u"00FF"},
        {u"%x", {-1}, u"FFFFFFFF"},
        {u"%x", {Int64{-1}}, u"FFFFFFFFFFFFFFFF"},
        {u"%s and %s", {u"a", "б"}, u"a and б"},
        {u"%.2s", {u"abc"}, u"ab"},
        {u"[%5s][%-5s]", {u"abc", u"abc"}, u"[  abc][abc  ]"},
        {u"%s", {u'x'}, u"x"},
        {u"%1:s %0:s %s", {u"a", u"b"}, u"b a b"},
        {u"%*d", {5, 42}, u"   42"},
        {u"%-*.*d|", {6, 3, 7}, u"007   |"},
        {u"100%%", {}, u"100%"},
        {u"Editing %s", {u"Chart1"}, u"Editing Chart1"},
        {u"%s\rof %s", {u"25", u"4"}, u"25\rof 4"},
    };
    for (const auto& c : cases) EXPECT_EQ(Format(c.format, c.args), c.text) << UTF8Encode(c.format);
}

TEST_F(SysUtilsNumbers, FormatFloats) {
    EXPECT_EQ(Format(u"%f", {1.0}), u"1.00");
    EXPECT_EQ(Format(u"%.3f", {3.14159}), u"3.142");
    EXPECT_EQ(Format(u"%.*f", {1, 2.25}), u"2.3");
    EXPECT_EQ(Format(u"%8.2f|", {-1.5}), u"   -1.50|");
    EXPECT_EQ(Format(u"%e", {1.0}), u"1.00000000000000E+000");
    EXPECT_EQ(Format(u"%.3e", {-12345.0}), u"-1.23E+004");
    EXPECT_EQ(Format(u"%g", {0.5}), u"0.5");
    EXPECT_EQ(Format(u"%g", {1e20}), u"1E020");
    EXPECT_EQ(Format(u"%n", {1234567.891}), u"1,234,567.89");
    EXPECT_EQ(Format(u"%.0n", {1234.5}), u"1,235");
    EXPECT_EQ(Format(u"%m", {-5.0}), u"($5.00)");
    FormatSettings = RussianFormatSettings();
    EXPECT_EQ(Format(u"%.2f", {1.5}), u"1,50");
    EXPECT_EQ(Format(u"%.2f", {1.5}, EnglishFormatSettings()), u"1.50");
}

TEST_F(SysUtilsNumbers, FormatMismatchesRaise) {
    auto message = [](const String& fmt, std::initializer_list<TVarRec> args) {
        try {
            Format(fmt, args);
        } catch (const EConvertError& e) {
            return e.Message();
        }
        return String(u"no error");
    };
    EXPECT_EQ(message(u"%d", {1.5}), u"Format '%d' invalid or incompatible with argument");
    EXPECT_EQ(message(u"%f", {1}), u"Format '%f' invalid or incompatible with argument");
    EXPECT_EQ(message(u"%s", {1}), u"Format '%s' invalid or incompatible with argument");
    EXPECT_EQ(message(u"%d", {u"1"}), u"Format '%d' invalid or incompatible with argument");
    EXPECT_EQ(message(u"%d", {true}), u"Format '%d' invalid or incompatible with argument");
    EXPECT_EQ(message(u"%z", {1}), u"Format '%z' invalid or incompatible with argument");
    EXPECT_EQ(message(u"abc%", {1}), u"Format 'abc%' invalid or incompatible with argument");
    EXPECT_EQ(message(u"%*d", {1.0, 1}), u"Format '%*d' invalid or incompatible with argument");
    EXPECT_EQ(message(u"%d %d", {1}), u"No argument for format '%d %d'");
    EXPECT_EQ(message(u"%5:d", {1}), u"No argument for format '%5:d'");
}

TEST_F(SysUtilsNumbers, ExceptionsCarryFormattedMessages) {
    const EConvertError e(u"Cannot assign a %s to a %s", {u"TFont", u"TPen"});
    EXPECT_EQ(e.Message(), u"Cannot assign a TFont to a TPen");
    EXPECT_STREQ(e.what(), "Cannot assign a TFont to a TPen");
    try {
        Abort();
    } catch (const Exception& a) {
        EXPECT_NE(dynamic_cast<const EAbort*>(&a), nullptr);
        EXPECT_EQ(a.Message(), u"Operation aborted");
    }
}

} // namespace
