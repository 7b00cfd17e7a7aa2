// Number conversions: integers, FloatToStr/FloatToStrF, FormatFloat and
// StrToFloat, all independent of the C library's locale.

#include "platform/core/sysutils.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>
#include <vector>

// ---------------------------------------------------------------------------
// Integers

String IntToStr(Int64 value) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return String(buf, res.ptr);
}

namespace {

// Val-style reading: leading spaces, a sign, decimal digits or a '$'/'0x'
// hex number (which may use the full unsigned range of the type), nothing after.
bool ValInt(std::u16string_view s, int bits, Int64& value) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == u' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) negative = s[i++] == u'-';
    bool hex = false;
    if (i < s.size() && s[i] == u'$') {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
        hex = true;
        i += 2;
    }
    if (i >= s.size()) return false;
    const UInt64 limit = hex ? (bits == 64 ? ~UInt64{0} : (UInt64{1} << bits) - 1)
                             : (UInt64{1} << (bits - 1)) - (negative ? 0 : 1);
    UInt64 v = 0;
    for (; i < s.size(); ++i) {
        const Char c = s[i];
        unsigned d;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (hex && c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (hex && c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        else
            return false;
        const unsigned base = hex ? 16 : 10;
        if (v > (limit - d) / base) return false;
        v = v * base + d;
    }
    if (hex && bits == 32) v = static_cast<UInt64>(static_cast<Int64>(static_cast<Integer>(v)));
    value = static_cast<Int64>(negative ? UInt64{0} - v : v);
    return true;
}

[[noreturn]] void InvalidInteger(std::u16string_view s) {
    throw EConvertError(u"'%s' is not a valid integer value", {s});
}

} // namespace

bool TryStrToInt(std::u16string_view s, Integer& value) {
    Int64 v = 0;
    if (!ValInt(s, 32, v)) return false;
    value = static_cast<Integer>(v);
    return true;
}

bool TryStrToInt64(std::u16string_view s, Int64& value) {
    return ValInt(s, 64, value);
}

Integer StrToInt(std::u16string_view s) {
    Integer v = 0;
    if (!TryStrToInt(s, v)) InvalidInteger(s);
    return v;
}

Int64 StrToInt64(std::u16string_view s) {
    Int64 v = 0;
    if (!TryStrToInt64(s, v)) InvalidInteger(s);
    return v;
}

Integer StrToIntDef(std::u16string_view s, Integer def) {
    Integer v = 0;
    return TryStrToInt(s, v) ? v : def;
}

Int64 StrToInt64Def(std::u16string_view s, Int64 def) {
    Int64 v = 0;
    return TryStrToInt64(s, v) ? v : def;
}

// ---------------------------------------------------------------------------
// Decimal digits of a double

template <>
const EnumInfo& EnumInfoOf<TFloatFormat>() {
    static const EnumInfo info{"TFloatFormat",
                               {"ffGeneral", "ffExponent", "ffFixed", "ffNumber", "ffCurrency"}};
    return info;
}

namespace {

constexpr int kMaxDigits = 18;    // the class library converts through 18 significant digits
constexpr int kNoDecimals = 9999; // round to significant digits only

// value = 0.Digits x 10^Exponent; Digits carries no trailing zeros and is
// empty for zero.
struct FloatRec {
    int Exponent = 0;
    bool Negative = false;
    bool Nan = false;
    bool Inf = false;
    std::string Digits;

    bool Zero() const { return Digits.empty(); }
    char DigitAt(int index) const {
        return index >= 0 && index < static_cast<int>(Digits.size()) ? Digits[static_cast<std::size_t>(index)]
                                                                     : '0';
    }
};

// Up to this many significant digits, the shortest text that reads back as the
// double is also what rounding its 18 digits gives. A double lies within half
// an ulp, under 1.2e-16 of itself, of that text; half a unit of the 15th digit
// is at least 5e-16 of the value. So the 18 digits differ from the shortest
// text's by far less than the rounding's half step and round back onto it.
// Below the normal range an ulp is a larger share of the value: not there.
constexpr int kShortestExact = 15;

// Any text of at most that many digits that reads back as the double will do,
// not only the shortest. A device's values have a few places after the point:
// m / 10^k, with m and 10^k exact and the division correctly rounded, is the
// double read from the text of m with k places exactly when it equals the value.
bool FewDecimalsDigits(double magnitude, int precision, FloatRec& r) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const double limit = kPowers[precision];
    for (int k = 0; k < static_cast<int>(std::size(kPowers)); ++k) {
        const double scaled = std::round(magnitude * kPowers[k]);
        if (scaled >= limit) return false;
        if (scaled == 0 || scaled / kPowers[k] != magnitude) continue;
        char buf[24];
        const char* end = std::to_chars(buf, buf + sizeof buf, static_cast<std::int64_t>(scaled)).ptr;
        const int length = static_cast<int>(end - buf);
        while (end[-1] == '0') --end;
        r.Exponent = length - k;
        r.Digits.assign(buf, static_cast<std::size_t>(end - buf));
        return true;
    }
    return false;
}

// The shortest digits of `magnitude` (> 0) when there are at most `precision`
// of them; false, leaving `r` alone, when there are more.
bool ShortestDigits(double magnitude, int precision, FloatRec& r) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
    const char* p = buf; // d[.ddd]e(+|-)XX, the mantissa without trailing zeros
    char digits[kShortestExact + 1];
    int n = 0;
    for (; *p != 'e'; ++p) {
        if (*p == '.') continue;
        if (n == precision) return false;
        digits[n++] = *p;
    }
    const bool negative = p[1] == '-';
    int exp10 = 0;
    for (p += 2; p != res.ptr; ++p) exp10 = exp10 * 10 + (*p - '0');
    r.Exponent = (negative ? -exp10 : exp10) + 1;
    r.Digits.assign(digits, static_cast<std::size_t>(n));
    return true;
}

// The value's 18 significant digits, rounded half away from zero to
// `precision` significant digits and, unless kNoDecimals, to `decimals`
// places after the point.
FloatRec FloatToDecimal(double v, int precision, int decimals) {
    FloatRec r;
    r.Negative = std::signbit(v);
    if (std::isnan(v)) {
        r.Nan = true;
        return r;
    }
    if (std::isinf(v)) {
        r.Inf = true;
        return r;
    }
    if (v == 0) return r;
    if (decimals == kNoDecimals && precision <= kShortestExact && std::isnormal(v) &&
        (FewDecimalsDigits(std::fabs(v), precision, r) || ShortestDigits(std::fabs(v), precision, r)))
        return r;
    char buf[40];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, kMaxDigits - 1);
    const std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf)); // d.ddd...e+XX
    std::string digits;
    digits.push_back(text[0]);
    const std::size_t e = text.find('e');
    digits.append(text.substr(2, e - 2));
    int exp10 = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exp10);
    r.Exponent = exp10 + 1;

    int keep = std::clamp(precision, 1, kMaxDigits);
    if (decimals != kNoDecimals) keep = std::min(keep, r.Exponent + decimals);
    if (keep < 0) {
        r.Exponent = 0;
        return r;
    }
    const bool up = keep < static_cast<int>(digits.size()) && digits[static_cast<std::size_t>(keep)] >= '5';
    digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9')
            digits[static_cast<std::size_t>(i--)] = '0';
        if (i < 0) {
            digits.insert(digits.begin(), '1');
            ++r.Exponent;
        } else {
            ++digits[static_cast<std::size_t>(i)];
        }
    }
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    if (digits.empty()) r.Exponent = 0;
    r.Digits = std::move(digits);
    return r;
}

void AppendDigits(String& out, std::string_view digits) {
    out.append(digits.begin(), digits.end());
}

void AppendExponent(String& out, int exponent, bool forceSign, int minDigits) {
    if (exponent < 0)
        out.push_back(u'-');
    else if (forceSign)
        out.push_back(u'+');
    String e = IntToStr(std::abs(exponent));
    if (static_cast<int>(e.size()) < minDigits)
        e.insert(0, static_cast<std::size_t>(minDigits) - e.size(), u'0');
    out += e;
}

bool SpecialValue(const FloatRec& r, String& out) {
    if (r.Nan)
        out = u"NAN";
    else if (r.Inf)
        out = r.Negative ? u"-INF" : u"INF";
    else
        return false;
    return true;
}

String FormatGeneral(const FloatRec& r, int precision, int expDigits, const TFormatSettings& fs) {
    String out;
    if (SpecialValue(r, out)) return out;
    if (r.Zero()) return u"0";
    if (r.Negative) out.push_back(u'-');
    const int len = static_cast<int>(r.Digits.size());
    if (r.Exponent > precision || r.Exponent < -3) {
        out.push_back(static_cast<Char>(r.Digits[0]));
        if (len > 1) {
            out.push_back(fs.DecimalSeparator);
            AppendDigits(out, std::string_view(r.Digits).substr(1));
        }
        out.push_back(u'E');
        AppendExponent(out, r.Exponent - 1, false, std::clamp(expDigits, 0, 4));
    } else if (r.Exponent <= 0) {
        out.push_back(u'0');
        out.push_back(fs.DecimalSeparator);
        out.append(static_cast<std::size_t>(-r.Exponent), u'0');
        AppendDigits(out, r.Digits);
    } else {
        for (int i = 0; i < r.Exponent; ++i) out.push_back(static_cast<Char>(r.DigitAt(i)));
        if (len > r.Exponent) {
            out.push_back(fs.DecimalSeparator);
            AppendDigits(out, std::string_view(r.Digits).substr(static_cast<std::size_t>(r.Exponent)));
        }
    }
    return out;
}

// Integer part with optional grouping, a point and exactly `decimals` places.
String FixedBody(const FloatRec& r, int decimals, bool thousands, const TFormatSettings& fs) {
    String out;
    if (r.Exponent <= 0) {
        out.push_back(u'0');
    } else {
        for (int i = 0; i < r.Exponent; ++i) {
            out.push_back(static_cast<Char>(r.DigitAt(i)));
            const int power = r.Exponent - 1 - i;
            if (thousands && power > 0 && power % 3 == 0) out.push_back(fs.ThousandSeparator);
        }
    }
    if (decimals > 0) {
        out.push_back(fs.DecimalSeparator);
        for (int i = 0; i < decimals; ++i) out.push_back(static_cast<Char>(r.DigitAt(r.Exponent + i)));
    }
    return out;
}

String CurrencyText(const String& number, bool negative, const TFormatSettings& fs) {
    // '$' stands for the currency string, '1' for the number.
    static constexpr std::u16string_view kPositive[] = {u"$1", u"1$", u"$ 1", u"1 $"};
    static constexpr std::u16string_view kNegative[] = {u"($1)", u"-$1",  u"$-1",   u"$1-",  u"(1$)", u"-1$",
                                                        u"1-$",  u"1$-",  u"-1 $",  u"-$ 1", u"1 $-", u"$ 1-",
                                                        u"$ -1", u"1- $", u"($ 1)", u"(1 $)"};
    const std::u16string_view pattern =
        negative ? kNegative[fs.NegCurrFormat % 16] : kPositive[fs.CurrencyFormat % 4];
    String out;
    for (Char c : pattern) {
        if (c == u'$')
            out += fs.CurrencyString;
        else if (c == u'1')
            out += number;
        else
            out.push_back(c);
    }
    return out;
}

} // namespace

String FloatToStrF(Extended value, TFloatFormat format, int precision, int digits,
                   const TFormatSettings& fs) {
    precision = std::clamp(precision, 1, kMaxDigits);
    switch (format) {
    case ffGeneral:
        return FormatGeneral(FloatToDecimal(value, precision, kNoDecimals), precision, digits, fs);
    case ffExponent: {
        const FloatRec r = FloatToDecimal(value, precision, kNoDecimals);
        String out;
        if (SpecialValue(r, out)) return out;
        if (r.Negative && !r.Zero()) out.push_back(u'-');
        out.push_back(static_cast<Char>(r.DigitAt(0)));
        if (precision > 1) {
            out.push_back(fs.DecimalSeparator);
            for (int i = 1; i < precision; ++i) out.push_back(static_cast<Char>(r.DigitAt(i)));
        }
        out.push_back(u'E');
        AppendExponent(out, r.Zero() ? 0 : r.Exponent - 1, true, std::clamp(digits, 0, 4));
        return out;
    }
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
        digits = std::clamp(digits, 0, kMaxDigits);
        const FloatRec r = FloatToDecimal(value, precision, digits);
        String out;
        if (SpecialValue(r, out)) return out;
        if (r.Exponent > precision)
            return FormatGeneral(FloatToDecimal(value, precision, kNoDecimals), precision, 0, fs);
        const bool negative = r.Negative && !r.Zero();
        const String body = FixedBody(r, digits, format != ffFixed, fs);
        if (format == ffCurrency) return CurrencyText(body, negative, fs);
        return negative ? u"-" + body : body;
    }
    }
    return {};
}

String FloatToStrF(Extended value, TFloatFormat format, int precision, int digits) {
    return FloatToStrF(value, format, precision, digits, FormatSettings);
}

String FloatToStr(Extended value, const TFormatSettings& fs) {
    return FloatToStrF(value, ffGeneral, 15, 0, fs);
}

String FloatToStr(Extended value) {
    return FloatToStr(value, FormatSettings);
}

// ---------------------------------------------------------------------------
// FormatFloat

namespace {

bool IsQuote(Char c) {
    return c == u'"' || c == u'\'';
}

// Index just past the quoted literal that starts at `i`.
std::size_t SkipQuoted(std::u16string_view s, std::size_t i) {
    const Char q = s[i++];
    while (i < s.size() && s[i] != q) ++i;
    return i < s.size() ? i + 1 : i;
}

bool IsExponentMark(std::u16string_view s, std::size_t i) {
    return (s[i] == u'E' || s[i] == u'e') && i + 1 < s.size() && (s[i + 1] == u'+' || s[i + 1] == u'-');
}

// At most three sections, split at ';' outside quoted literals.
std::vector<std::u16string_view> SplitSections(std::u16string_view format) {
    std::vector<std::u16string_view> sections;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= format.size();) {
        if (i == format.size() || format[i] == u';') {
            sections.push_back(format.substr(start, i - start));
            if (sections.size() == 3 || i == format.size()) break;
            start = ++i;
        } else if (IsQuote(format[i])) {
            i = SkipQuoted(format, i);
        } else {
            ++i;
        }
    }
    return sections;
}

struct Section {
    std::u16string_view text;
    int digitCount = 0;   // '0' and '#' placeholders (exponent digits excluded)
    int decimalIndex = 0; // placeholders before the first '.'
    int firstZero = INT_MAX;
    int lastZero = -1;
    bool thousands = false;
    bool scientific = false;

    explicit Section(std::u16string_view s) : text(s) {
        bool point = false;
        for (std::size_t i = 0; i < s.size();) {
            const Char c = s[i];
            if (IsQuote(c)) {
                i = SkipQuoted(s, i);
                continue;
            }
            if (c == u'0' || c == u'#') {
                if (c == u'0') {
                    firstZero = std::min(firstZero, digitCount);
                    lastZero = digitCount;
                }
                ++digitCount;
            } else if (c == u'.') {
                if (!point) decimalIndex = digitCount;
                point = true;
            } else if (c == u',') {
                thousands = true;
            } else if (IsExponentMark(s, i)) {
                scientific = true;
                i += 2;
                while (i < s.size() && s[i] == u'0') ++i;
                continue;
            }
            ++i;
        }
        if (!point) decimalIndex = digitCount;
    }
};

String ApplySection(const Section& sec, const FloatRec& r, bool withSign, const TFormatSettings& fs) {
    // In scientific form the mantissa keeps decimalIndex integer digits.
    const int shift = sec.scientific ? (r.Zero() ? 0 : sec.decimalIndex) : r.Exponent;
    const int exponent = (sec.scientific && !r.Zero()) ? r.Exponent - sec.decimalIndex : 0;
    const int minInt = sec.firstZero < sec.decimalIndex ? sec.decimalIndex - sec.firstZero : 0;
    const int printInt = std::max({shift, minInt, 0});
    const int minFrac = sec.lastZero >= sec.decimalIndex ? sec.lastZero - sec.decimalIndex + 1 : 0;
    const int actualFrac = std::max(0, static_cast<int>(r.Digits.size()) - shift);
    const int shownFrac = std::max(minFrac, actualFrac);
    auto digit = [&](int power) { return static_cast<Char>(r.DigitAt(shift - 1 - power)); };

    String out;
    if (withSign) out.push_back(u'-');
    bool intDone = false;
    auto emitInt = [&](int hi, int lo) {
        for (int p = hi; p >= lo; --p) {
            out.push_back(digit(p));
            if (sec.thousands && p > 0 && p % 3 == 0) out.push_back(fs.ThousandSeparator);
        }
    };
    auto emitLeading = [&](int lowest) {
        intDone = true;
        emitInt(printInt - 1, lowest);
    };
    int placeholder = 0;
    bool point = false;
    const std::u16string_view s = sec.text;
    for (std::size_t i = 0; i < s.size();) {
        const Char c = s[i];
        if (c == u'0' || c == u'#') {
            if (placeholder < sec.decimalIndex) {
                const int power = sec.decimalIndex - 1 - placeholder;
                if (!intDone) emitLeading(sec.decimalIndex); // digits beyond the placeholders
                if (power < printInt) emitInt(power, power);
            } else if (placeholder - sec.decimalIndex + 1 <= shownFrac) {
                out.push_back(digit(sec.decimalIndex - 1 - placeholder));
            }
            ++placeholder;
            ++i;
        } else if (c == u'.') {
            if (!point) {
                point = true;
                if (!intDone) emitLeading(0);
                if (shownFrac > 0) out.push_back(fs.DecimalSeparator);
            }
            ++i;
        } else if (c == u',') {
            ++i;
        } else if (IsQuote(c)) {
            const std::size_t end = SkipQuoted(s, i);
            const std::size_t close = (end > i + 1 && s[end - 1] == c) ? end - 1 : end;
            out.append(s.substr(i + 1, close - i - 1));
            i = end;
        } else if (IsExponentMark(s, i)) {
            out.push_back(c);
            const bool forceSign = s[i + 1] == u'+';
            i += 2;
            int zeros = 0;
            while (i < s.size() && s[i] == u'0') {
                ++zeros;
                ++i;
            }
            AppendExponent(out, exponent, forceSign, std::min(zeros, 4));
        } else {
            out.push_back(c);
            ++i;
        }
    }
    return out;
}

} // namespace

String FormatFloat(std::u16string_view format, Extended value, const TFormatSettings& fs) {
    if (std::isnan(value)) return u"NAN";
    if (std::isinf(value)) return value < 0 ? u"-INF" : u"INF";
    if (format.empty()) return FloatToStrF(value, ffGeneral, 15, 0, fs);
    const auto sections = SplitSections(format);
    auto usable = [&](std::size_t k) { return k < sections.size() && !sections[k].empty(); };
    std::size_t index = 0;
    if (value < 0 && usable(1))
        index = 1;
    else if (value == 0 && usable(2))
        index = 2;
    Section sec(sections[index]);
    if (!sec.scientific && std::fabs(value) >= 1e18) return FloatToStrF(value, ffGeneral, 15, 0, fs);

    const FloatRec r = sec.scientific ? FloatToDecimal(value, std::max(sec.digitCount, 1), kNoDecimals)
                                      : FloatToDecimal(value, kMaxDigits, sec.digitCount - sec.decimalIndex);
    if (r.Zero()) {
        // A value that rounds to zero prints as zero, without a sign.
        const std::size_t zeroIndex = usable(2) ? 2 : 0;
        if (zeroIndex != index) sec = Section(sections[zeroIndex]);
        return ApplySection(sec, FloatRec{}, false, fs);
    }
    return ApplySection(sec, r, r.Negative && index == 0, fs);
}

String FormatFloat(std::u16string_view format, Extended value) {
    return FormatFloat(format, value, FormatSettings);
}

// ---------------------------------------------------------------------------
// StrToFloat

bool TryStrToFloat(std::u16string_view s, Extended& value, const TFormatSettings& fs) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == u' ') ++i;
    std::size_t end = s.size();
    while (end > i && s[end - 1] == u' ') --end;
    std::string text; // the number in C notation
    if (i < end && (s[i] == u'-' || s[i] == u'+')) {
        if (s[i] == u'-') text.push_back('-');
        ++i;
    }
    auto digits = [&] {
        std::size_t n = 0;
        for (; i < end && s[i] >= u'0' && s[i] <= u'9'; ++i, ++n) text.push_back(static_cast<char>(s[i]));
        return n;
    };
    std::size_t mantissa = digits();
    if (i < end && s[i] == fs.DecimalSeparator) {
        text.push_back('.');
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) return false;
    bool tinyExponent = false;
    if (i < end && (s[i] == u'e' || s[i] == u'E')) {
        text.push_back('e');
        ++i;
        if (i < end && (s[i] == u'-' || s[i] == u'+')) {
            tinyExponent = s[i] == u'-';
            if (tinyExponent) text.push_back('-');
            ++i;
        }
        if (digits() == 0) return false;
    }
    if (i != end) return false;
    double v = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
    if (res.ec == std::errc::result_out_of_range && tinyExponent) {
        v = text[0] == '-' ? -0.0 : 0.0; // below the smallest double
    } else if (res.ec != std::errc() || res.ptr != text.data() + text.size()) {
        return false;
    }
    value = v;
    return true;
}

bool TryStrToFloat(std::u16string_view s, Extended& value) {
    return TryStrToFloat(s, value, FormatSettings);
}

Extended StrToFloat(std::u16string_view s, const TFormatSettings& fs) {
    Extended v = 0;
    if (!TryStrToFloat(s, v, fs)) throw EConvertError(u"'%s' is not a valid floating point value", {s});
    return v;
}

Extended StrToFloat(std::u16string_view s) {
    return StrToFloat(s, FormatSettings);
}

Extended StrToFloatDef(std::u16string_view s, Extended def, const TFormatSettings& fs) {
    Extended v = 0;
    return TryStrToFloat(s, v, fs) ? v : def;
}

Extended StrToFloatDef(std::u16string_view s, Extended def) {
    return StrToFloatDef(s, def, FormatSettings);
}
