// The system locale: what the C library says about numbers, dates, times and
// money, turned into FormatSettings.

#include "platform/core/sysutils.h"

#include <climits>
#include <cstdlib>
#include <langinfo.h>
#include <locale.h>
#include <string_view>

namespace {

// The locale name that rules a category, by the precedence of the environment.
std::string_view CategoryLocale(const char* category) {
    for (const char* var : {"LC_ALL", category, "LANG"})
        if (const char* v = std::getenv(var); v && *v) return v;
    return "C";
}

bool IsCLocale(std::string_view name) {
    return name == "C" || name == "POSIX" || name.starts_with("C.");
}

Char FirstChar(const std::string& utf8, Char fallback) {
    const String s = UTF8ToString(utf8);
    return s.empty() ? fallback : s[0];
}

template <std::size_t N>
std::array<String, N> Names(const std::array<std::string, N>& utf8, const std::array<String, N>& fallback) {
    std::array<String, N> out;
    for (std::size_t i = 0; i < N; ++i) out[i] = utf8[i].empty() ? fallback[i] : UTF8ToString(utf8[i]);
    return out;
}

// A strftime format in the format language of FormatDateTime. Letters outside
// conversions become quoted literals; the first punctuation between fields is
// the separator.
class FormatConverter {
public:
    FormatConverter(const TLocaleInfo& info, bool time) : info_(info), time_(time) {}

    String Convert(std::string_view f, int depth = 0) {
        for (std::size_t i = 0; i < f.size(); ++i) {
            const char c = f[i];
            if (c != '%' || i + 1 == f.size()) {
                Literal(c);
                continue;
            }
            char conv = f[++i];
            bool unpadded = false;
            while ((conv == '-' || conv == '_' || conv == '0' || conv == '^' || conv == '#') &&
                   i + 1 < f.size()) {
                unpadded = unpadded || conv == '-' || conv == '_';
                conv = f[++i];
            }
            Conversion(conv, unpadded, depth);
        }
        return out_;
    }

    Char Separator(Char fallback) const { return separator_ ? separator_ : fallback; }

private:
    // A strftime field and its tokens, zero-padded and not. Minutes become
    // "nn", which is never taken for the month whatever precedes it.
    struct Field {
        char conv;
        std::u16string_view padded;
        std::u16string_view unpadded;
    };
    static constexpr Field kFields[] = {
        {'d', u"dd", u"d"},      {'e', u"d", u"d"},       {'m', u"MM", u"M"},    {'Y', u"yyyy", u"yyyy"},
        {'y', u"yy", u"yy"},     {'b', u"MMM", u"MMM"},   {'h', u"MMM", u"MMM"}, {'B', u"MMMM", u"MMMM"},
        {'a', u"ddd", u"ddd"},   {'A', u"dddd", u"dddd"}, {'H', u"HH", u"H"},    {'k', u"H", u"H"},
        {'I', u"hh", u"h"},      {'l', u"h", u"h"},       {'M', u"nn", u"nn"},   {'S', u"ss", u"ss"},
        {'p', u"AMPM", u"AMPM"}, {'P', u"AMPM", u"AMPM"},
    };
    // Conversions that stand for a whole format.
    struct Composite {
        char conv;
        std::string_view format;
    };
    static constexpr Composite kComposites[] = {
        {'D', "%m/%d/%y"}, {'F', "%Y-%m-%d"}, {'T', "%H:%M:%S"}, {'R', "%H:%M"}};

    void Conversion(char conv, bool unpadded, int depth) {
        for (const Field& f : kFields)
            if (f.conv == conv) {
                Token(unpadded ? f.unpadded : f.padded);
                return;
            }
        if (conv == 'n' || conv == 't') {
            Literal(' ');
            return;
        }
        if (conv == '%') {
            Literal('%');
            return;
        }
        if (depth >= 2) return;
        for (const Composite& c : kComposites)
            if (c.conv == conv) {
                Convert(c.format, depth + 1);
                return;
            }
        // The locale's own formats used inside another: its 12-hour time, its
        // date in a time format and its time in a date format (a format
        // never inside itself).
        if (conv == 'r')
            Convert(info_.TimeFormatAmPm.empty() ? "%I:%M:%S %p" : info_.TimeFormatAmPm, depth + 1);
        if (conv == 'x' && time_) Convert(info_.DateFormat, depth + 1);
        if (conv == 'X' && !time_) Convert(info_.TimeFormat, depth + 1);
        // Anything else has no use in a date or time format.
    }

    void Token(std::u16string_view t) {
        CloseQuote();
        out_ += t;
        afterField_ = true;
    }

    void Literal(char c) {
        const auto u = static_cast<unsigned char>(c);
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (letter || c == '\'' || c == '"') {
            if (!quoted_) out_.push_back(u'\'');
            quoted_ = true;
            if (c == '\'') {
                out_ += u"'\"'\"'"; // a quote inside a literal: close, a quoted quote, reopen
                return;
            }
            out_.push_back(static_cast<Char>(c));
            return;
        }
        CloseQuote();
        // A UTF-8 sequence passes through byte by byte and is decoded with the rest.
        if (u >= 0x80) {
            pending_.push_back(c);
            if (const String s = UTF8ToString(pending_); !s.empty() && s.find(u'\uFFFD') == String::npos) {
                out_ += s;
                pending_.clear();
            }
            return;
        }
        if (afterField_ && !separator_ && c != ' ' && !(c >= '0' && c <= '9'))
            separator_ = static_cast<Char>(c);
        out_.push_back(static_cast<Char>(c));
    }

    void CloseQuote() {
        if (quoted_) out_.push_back(u'\'');
        quoted_ = false;
    }

    const TLocaleInfo& info_;
    const bool time_;
    String out_;
    std::string pending_;
    Char separator_ = 0;
    bool afterField_ = false;
    bool quoted_ = false;
};

// The long time format without its seconds (and the separator before them).
String WithoutSeconds(String format) {
    const auto at = format.find(u"ss");
    if (at == String::npos) return format;
    std::size_t from = at;
    if (from > 0 && format[from - 1] != u' ' && format[from - 1] != u'\'') --from;
    format.erase(from, at + 2 - from);
    return format;
}

// Where the day, the month and the year stand in a short date format.
String LongDateFor(std::u16string_view shortDate) {
    const auto day = shortDate.find_first_of(u"dD");
    const auto month = shortDate.find(u'M');
    const auto year = shortDate.find_first_of(u"yY");
    if (year < day && year < month) return u"yyyy MMMM d";
    if (month < day) return u"dddd, MMMM d, yyyy";
    return u"d MMMM yyyy";
}

std::string Langinfo(nl_item item, locale_t loc) {
    const char* s = nl_langinfo_l(item, loc);
    return s ? std::string(s) : std::string();
}

int LanginfoByte(nl_item item, locale_t loc) {
    const char* s = nl_langinfo_l(item, loc);
    return s && *s != CHAR_MAX ? static_cast<unsigned char>(*s) : -1;
}

} // namespace

TLocaleInfo SystemLocaleInfo() {
    TLocaleInfo info;
    locale_t loc = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(nullptr));
    if (!loc) return info; // a locale the system lacks: all "C"
    info.NumericIsC = IsCLocale(CategoryLocale("LC_NUMERIC"));
    info.TimeIsC = IsCLocale(CategoryLocale("LC_TIME"));
    info.MonetaryIsC = IsCLocale(CategoryLocale("LC_MONETARY"));
    info.DecimalPoint = Langinfo(RADIXCHAR, loc);
    info.ThousandsSep = Langinfo(THOUSEP, loc);
    info.DateFormat = Langinfo(D_FMT, loc);
    info.TimeFormat = Langinfo(T_FMT, loc);
    info.TimeFormatAmPm = Langinfo(T_FMT_AMPM, loc);
    info.Am = Langinfo(AM_STR, loc);
    info.Pm = Langinfo(PM_STR, loc);
    for (int i = 0; i < 12; ++i) {
        // The forms for a month named by itself where the locale has them.
        info.LongMonths[i] = Langinfo(static_cast<nl_item>(ALTMON_1 + i), loc);
        if (info.LongMonths[i].empty()) info.LongMonths[i] = Langinfo(static_cast<nl_item>(MON_1 + i), loc);
        info.ShortMonths[i] = Langinfo(static_cast<nl_item>(_NL_ABALTMON_1 + i), loc);
        if (info.ShortMonths[i].empty())
            info.ShortMonths[i] = Langinfo(static_cast<nl_item>(ABMON_1 + i), loc);
    }
    for (int i = 0; i < 7; ++i) {
        info.LongDays[i] = Langinfo(static_cast<nl_item>(DAY_1 + i), loc);
        info.ShortDays[i] = Langinfo(static_cast<nl_item>(ABDAY_1 + i), loc);
    }
    info.Currency = Langinfo(CURRENCY_SYMBOL, loc);
    if (const int digits = LanginfoByte(FRAC_DIGITS, loc); digits >= 0 && digits <= 18)
        info.CurrencyDigits = digits;
    info.CurrencyFirst = LanginfoByte(P_CS_PRECEDES, loc) != 0;
    info.CurrencySpace = LanginfoByte(P_SEP_BY_SPACE, loc) == 1;
    freelocale(loc);
    return info;
}

TFormatSettings FormatSettingsFromLocale(const TLocaleInfo& Info) {
    TFormatSettings fs = EnglishFormatSettings();
    if (!Info.NumericIsC) {
        fs.DecimalSeparator = FirstChar(Info.DecimalPoint, fs.DecimalSeparator);
        // A locale without a thousands separator still needs one that differs
        // from its decimal separator.
        fs.ThousandSeparator =
            FirstChar(Info.ThousandsSep, fs.DecimalSeparator == u',' ? Char{u'\u00A0'} : Char{u','});
    }
    if (!Info.TimeIsC) {
        FormatConverter date(Info, false);
        const String shortDate = date.Convert(Info.DateFormat.empty() ? "%m/%d/%Y" : Info.DateFormat);
        fs.ShortDateFormat = shortDate;
        fs.DateSeparator = date.Separator(fs.DateSeparator);
        fs.LongDateFormat = LongDateFor(shortDate);
        FormatConverter time(Info, true);
        const String longTime = time.Convert(Info.TimeFormat.empty() ? "%H:%M:%S" : Info.TimeFormat);
        fs.LongTimeFormat = longTime;
        fs.ShortTimeFormat = WithoutSeconds(longTime);
        fs.TimeSeparator = time.Separator(fs.TimeSeparator);
        fs.TimeAMString = UTF8ToString(Info.Am);
        fs.TimePMString = UTF8ToString(Info.Pm);
        const TFormatSettings english = EnglishFormatSettings();
        fs.LongMonthNames = Names(Info.LongMonths, english.LongMonthNames);
        fs.ShortMonthNames = Names(Info.ShortMonths, english.ShortMonthNames);
        fs.LongDayNames = Names(Info.LongDays, english.LongDayNames);
        fs.ShortDayNames = Names(Info.ShortDays, english.ShortDayNames);
    }
    if (!Info.MonetaryIsC) {
        fs.CurrencyString = UTF8ToString(Info.Currency);
        fs.CurrencyDecimals = static_cast<Byte>(Info.CurrencyDigits);
        // "$1", "1$", "$ 1", "1 $" and their negative forms "-$1", "-1$", "-$ 1", "-1 $".
        static constexpr Byte kNegative[] = {1, 5, 9, 8};
        fs.CurrencyFormat = static_cast<Byte>((Info.CurrencyFirst ? 0 : 1) + (Info.CurrencySpace ? 2 : 0));
        fs.NegCurrFormat = kNegative[fs.CurrencyFormat];
    }
    return fs;
}

TFormatSettings SystemFormatSettings() {
    return FormatSettingsFromLocale(SystemLocaleInfo());
}

void InitSysUtilsUnit() {
    FormatSettings = SystemFormatSettings();
}
