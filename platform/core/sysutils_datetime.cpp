// Dates and times: encoding, the clock, FormatDateTime and reading dates back.

#include "platform/core/sysutils.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace {

// A TDateTime split the class library's way: rounded to the nearest
// millisecond, the day count toward zero, the time of day from |fraction|.
struct TimeStamp {
    Int64 date; // days since 1 January 0001, plus one
    Int64 time; // milliseconds since midnight
};

TimeStamp ToTimeStamp(TDateTime dt) {
    const Int64 ms = Round(dt * MSecsPerDay);
    return {ms / MSecsPerDay + DateDelta, (ms < 0 ? -ms : ms) % MSecsPerDay};
}

[[noreturn]] void DateEncodeError() {
    throw EConvertError(u"Invalid argument to date encode");
}

[[noreturn]] void TimeEncodeError() {
    throw EConvertError(u"Invalid argument to time encode");
}

} // namespace

bool IsLeapYear(Word year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date) {
    if (year < 1 || year > 9999 || month < 1 || month > 12) return false;
    const Word* table = MonthDays[IsLeapYear(year)];
    if (day < 1 || day > table[month - 1]) return false;
    Int64 days = day;
    for (int m = 0; m < month - 1; ++m) days += table[m];
    const Int64 y = year - 1;
    date = static_cast<TDateTime>(y * 365 + y / 4 - y / 100 + y / 400 + days - DateDelta);
    return true;
}

TDateTime EncodeDate(Word year, Word month, Word day) {
    TDateTime d = 0;
    if (!TryEncodeDate(year, month, day, d)) DateEncodeError();
    return d;
}

bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time) {
    if (hour >= HoursPerDay || min >= MinsPerHour || sec >= SecsPerMin || msec >= MSecsPerSec) return false;
    time = static_cast<TDateTime>(((hour * MinsPerHour + min) * SecsPerMin + sec) * MSecsPerSec + msec) /
           MSecsPerDay;
    return true;
}

TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec) {
    TDateTime t = 0;
    if (!TryEncodeTime(hour, min, sec, msec, t)) TimeEncodeError();
    return t;
}

void DecodeDate(TDateTime date, Word& year, Word& month, Word& day) {
    Int64 t = ToTimeStamp(date).date;
    if (t <= 0) { // before 1 January 0001
        year = month = day = 0;
        return;
    }
    constexpr Int64 D1 = 365, D4 = D1 * 4 + 1, D100 = D4 * 25 - 1, D400 = D100 * 4 + 1;
    --t;
    Int64 y = 1 + t / D400 * 400;
    t %= D400;
    Int64 i = t / D100, d = t % D100;
    if (i == 4) { // the last day of a 400-year cycle
        --i;
        d += D100;
    }
    y += i * 100;
    y += d / D4 * 4;
    d %= D4;
    i = d / D1;
    d %= D1;
    if (i == 4) {
        --i;
        d += D1;
    }
    y += i;
    // Leap-ness of the full year: beyond 9999 the Word fields wrap, the table must not.
    const Word* table = MonthDays[y % 4 == 0 && (y % 100 != 0 || y % 400 == 0)];
    int m = 0;
    while (m < 11 && d >= table[m]) d -= table[m++];
    year = static_cast<Word>(y);
    month = static_cast<Word>(m + 1);
    day = static_cast<Word>(d + 1);
}

void DecodeTime(TDateTime time, Word& hour, Word& min, Word& sec, Word& msec) {
    Int64 t = ToTimeStamp(time).time;
    msec = static_cast<Word>(t % MSecsPerSec);
    t /= MSecsPerSec;
    sec = static_cast<Word>(t % SecsPerMin);
    t /= SecsPerMin;
    min = static_cast<Word>(t % MinsPerHour);
    hour = static_cast<Word>(t / MinsPerHour);
}

Word DayOfWeek(TDateTime date) {
    // Day 1 of the time stamp (1 January 0001) was a Monday.
    const Int64 d = ToTimeStamp(date).date;
    return static_cast<Word>(((d % 7) + 7) % 7 + 1);
}

TDateTime IncMonth(TDateTime date, int numberOfMonths) {
    Word y = 0, m = 0, d = 0;
    DecodeDate(date, y, m, d);
    const Int64 months = static_cast<Int64>(y) * 12 + (m - 1) + numberOfMonths;
    if (months < 12 || months >= 10000 * 12) DateEncodeError();
    const Word ny = static_cast<Word>(months / 12);
    const Word nm = static_cast<Word>(months % 12 + 1);
    const Word nd = std::min(d, MonthDays[IsLeapYear(ny)][nm - 1]);
    const TDateTime result = EncodeDate(ny, nm, nd);
    const TDateTime time = std::fabs(Frac(date));
    return result >= 0 ? result + time : result - time;
}

// ---------------------------------------------------------------------------
// Clock

namespace {

TClockFunc& Clock() {
    static TClockFunc clock;
    return clock;
}

TDateTime SystemNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t tt = std::chrono::system_clock::to_time_t(now);
    std::tm tm{};
    localtime_r(&tt, &tm);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % MSecsPerSec;
    return EncodeDate(static_cast<Word>(tm.tm_year + 1900), static_cast<Word>(tm.tm_mon + 1),
                      static_cast<Word>(tm.tm_mday)) +
           EncodeTime(static_cast<Word>(tm.tm_hour), static_cast<Word>(tm.tm_min),
                      static_cast<Word>(std::min(tm.tm_sec, 59)), static_cast<Word>(ms < 0 ? 0 : ms));
}

Word CurrentYear() {
    Word y = 0, m = 0, d = 0;
    DecodeDate(Now(), y, m, d);
    return y;
}

} // namespace

void SetClock(TClockFunc clock) {
    Clock() = std::move(clock);
}

TDateTime Now() {
    return Clock() ? Clock()() : SystemNow();
}

TDateTime Date() {
    return Int(Now());
}

TDateTime Time() {
    return std::fabs(Frac(Now()));
}

// ---------------------------------------------------------------------------
// FormatDateTime

namespace {

Char AsciiUpper(Char c) {
    return (c >= u'a' && c <= u'z') ? static_cast<Char>(c - 0x20) : c;
}

// Case-insensitive match of an ASCII keyword at s[i].
bool MatchAt(std::u16string_view s, std::size_t i, std::u16string_view word) {
    if (s.size() - i < word.size()) return false;
    for (std::size_t k = 0; k < word.size(); ++k)
        if (AsciiUpper(s[i + k]) != word[k]) return false;
    return true;
}

class DateTimeFormatter {
public:
    DateTimeFormatter(TDateTime dt, const TFormatSettings& fs) : dt_(dt), fs_(fs) {}

    String Run(std::u16string_view format) {
        Append(format.empty() ? std::u16string_view(u"C") : format, 0);
        return std::move(out_);
    }

private:
    void GetDate() {
        if (!haveDate_) DecodeDate(dt_, year_, month_, day_);
        haveDate_ = true;
    }
    void GetTime() {
        if (!haveTime_) DecodeTime(dt_, hour_, min_, sec_, msec_);
        haveTime_ = true;
    }
    void Number(int value, int digits) {
        String s = IntToStr(value);
        if (static_cast<int>(s.size()) < digits)
            s.insert(0, static_cast<std::size_t>(digits) - s.size(), u'0');
        out_ += s;
    }
    int DayIndex() const { return DayOfWeek(dt_) - 1; }
    // A day before 1 January 0001 decodes to month 0, which has no name.
    const String& MonthName(const std::array<String, 12>& names) const {
        static const String none;
        return month_ >= 1 && month_ <= 12 ? names[month_ - 1u] : none;
    }

    // A 12-hour clock is in force when an am/pm marker follows this hour
    // before the next hour token.
    bool TwelveHourAhead(std::u16string_view f, std::size_t i) const {
        bool quoted = false;
        for (; i < f.size(); ++i) {
            const Char c = f[i];
            if (c == u'\'' || c == u'"') {
                quoted = !quoted;
            } else if (!quoted && (c == u'a' || c == u'A')) {
                return MatchAt(f, i, u"AM/PM") || MatchAt(f, i, u"A/P") || MatchAt(f, i, u"AMPM");
            } else if (!quoted && (c == u'h' || c == u'H')) {
                return false;
            }
        }
        return false;
    }

    void Append(std::u16string_view f, int level) {
        if (level >= 2) return; // formats nested in formats go two levels deep
        Char lastToken = u' ';
        std::size_t i = 0;
        while (i < f.size()) {
            const Char starter = f[i++];
            Char token = AsciiUpper(starter);
            if (token >= u'A' && token <= u'Z') {
                if (token == u'M' && lastToken == u'H') token = u'N';
                lastToken = token;
            }
            auto count = [&] {
                int n = 1;
                while (i < f.size() && f[i] == starter) {
                    ++i;
                    ++n;
                }
                return n;
            };
            switch (token) {
            case u'Y': {
                const int n = count();
                GetDate();
                if (n <= 2)
                    Number(year_ % 100, 2);
                else
                    Number(year_, 4);
                break;
            }
            case u'M': {
                const int n = count();
                GetDate();
                if (n <= 2)
                    Number(month_, n);
                else
                    out_ += MonthName(n == 3 ? fs_.ShortMonthNames : fs_.LongMonthNames);
                break;
            }
            case u'D': {
                const int n = count();
                if (n <= 2) {
                    GetDate();
                    Number(day_, n);
                } else if (n == 3) {
                    out_ += fs_.ShortDayNames[DayIndex()];
                } else if (n == 4) {
                    out_ += fs_.LongDayNames[DayIndex()];
                } else if (n == 5) {
                    Append(fs_.ShortDateFormat, level + 1);
                } else {
                    Append(fs_.LongDateFormat, level + 1);
                }
                break;
            }
            case u'H': {
                const int n = count();
                GetTime();
                if (TwelveHourAhead(f, i)) use12_ = true;
                int h = hour_;
                if (use12_) {
                    if (h == 0)
                        h = 12;
                    else if (h > 12)
                        h -= 12;
                }
                Number(h, std::min(n, 2));
                break;
            }
            case u'N': {
                const int n = count();
                GetTime();
                Number(min_, std::min(n, 2));
                break;
            }
            case u'S': {
                const int n = count();
                GetTime();
                Number(sec_, std::min(n, 2));
                break;
            }
            case u'Z': {
                const int n = count();
                GetTime();
                Number(msec_, std::min(n, 3));
                break;
            }
            case u'T': {
                const int n = count();
                Append(n == 1 ? fs_.ShortTimeFormat : fs_.LongTimeFormat, level + 1);
                break;
            }
            case u'C': {
                count();
                Append(fs_.ShortDateFormat, level + 1);
                GetTime();
                if (hour_ != 0 || min_ != 0 || sec_ != 0) {
                    out_.push_back(u' ');
                    Append(fs_.LongTimeFormat, level + 1);
                }
                break;
            }
            case u'A':
                AmPm(f, i, starter);
                break;
            case u'/':
                if (fs_.DateSeparator != 0) out_.push_back(fs_.DateSeparator);
                break;
            case u':':
                if (fs_.TimeSeparator != 0) out_.push_back(fs_.TimeSeparator);
                break;
            case u'\'':
            case u'"': {
                const std::size_t start = i;
                while (i < f.size() && f[i] != starter) ++i;
                out_.append(f.substr(start, i - start));
                if (i < f.size()) ++i;
                break;
            }
            default:
                out_.push_back(starter);
            }
        }
    }

    // At f[i - 1] an 'a' or 'A': am/pm (the format's own letters), a/p,
    // ampm (the locale's strings), aaa/aaaa (day names), or a plain letter.
    void AmPm(std::u16string_view f, std::size_t& i, Char starter) {
        const std::size_t p = i - 1;
        if (MatchAt(f, p, u"AM/PM")) {
            GetTime();
            out_.append(f.substr(hour_ >= 12 ? p + 3 : p, 2));
            i = p + 5;
            use12_ = true;
        } else if (MatchAt(f, p, u"A/P")) {
            GetTime();
            out_.push_back(f[hour_ >= 12 ? p + 2 : p]);
            i = p + 3;
            use12_ = true;
        } else if (MatchAt(f, p, u"AMPM")) {
            GetTime();
            out_ += hour_ < 12 ? fs_.TimeAMString : fs_.TimePMString;
            i = p + 4;
            use12_ = true;
        } else if (MatchAt(f, p, u"AAAA")) {
            out_ += fs_.LongDayNames[DayIndex()];
            i = p + 4;
        } else if (MatchAt(f, p, u"AAA")) {
            out_ += fs_.ShortDayNames[DayIndex()];
            i = p + 3;
        } else {
            out_.push_back(starter);
        }
    }

    TDateTime dt_;
    const TFormatSettings& fs_;
    String out_;
    bool haveDate_ = false, haveTime_ = false, use12_ = false;
    Word year_ = 0, month_ = 0, day_ = 0, hour_ = 0, min_ = 0, sec_ = 0, msec_ = 0;
};

} // namespace

String FormatDateTime(std::u16string_view format, TDateTime dateTime, const TFormatSettings& fs) {
    return DateTimeFormatter(dateTime, fs).Run(format);
}

String FormatDateTime(std::u16string_view format, TDateTime dateTime) {
    return FormatDateTime(format, dateTime, FormatSettings);
}

String DateTimeToStr(TDateTime dateTime, const TFormatSettings& fs) {
    return FormatDateTime(u"c", dateTime, fs);
}

String DateTimeToStr(TDateTime dateTime) {
    return DateTimeToStr(dateTime, FormatSettings);
}

String DateToStr(TDateTime date, const TFormatSettings& fs) {
    return FormatDateTime(u"ddddd", date, fs);
}

String DateToStr(TDateTime date) {
    return DateToStr(date, FormatSettings);
}

String TimeToStr(TDateTime time, const TFormatSettings& fs) {
    return FormatDateTime(u"tt", time, fs);
}

String TimeToStr(TDateTime time) {
    return TimeToStr(time, FormatSettings);
}

// ---------------------------------------------------------------------------
// Reading dates and times

namespace {

enum DateOrder { doMDY, doDMY, doYMD };

DateOrder GetDateOrder(std::u16string_view format) {
    for (Char c : format) switch (AsciiUpper(c)) {
        case u'E':
        case u'Y':
            return doYMD;
        case u'M':
            return doMDY;
        case u'D':
            return doDMY;
        default:
            break;
        }
    return doMDY;
}

class Scanner {
public:
    Scanner(std::u16string_view s, const TFormatSettings& fs) : s_(s), fs_(fs) {}

    bool AtEnd() const { return pos_ >= s_.size(); }

    bool ScanDate(TDateTime& date) {
        Word n1 = 0, n2 = 0, n3 = 0, y = 0, m = 0, d = 0;
        int l1 = 0, l3 = 0, yearLen = 0;
        int l2 = 0;
        if (!ScanNumber(n1, l1) || !ScanChar(fs_.DateSeparator) || !ScanNumber(n2, l2)) return false;
        const DateOrder order = GetDateOrder(fs_.ShortDateFormat);
        if (ScanChar(fs_.DateSeparator)) {
            if (!ScanNumber(n3, l3)) return false;
            switch (order) {
            case doMDY:
                y = n3, yearLen = l3, m = n1, d = n2;
                break;
            case doDMY:
                y = n3, yearLen = l3, m = n2, d = n1;
                break;
            case doYMD:
                y = n1, yearLen = l1, m = n2, d = n3;
                break;
            }
            if (yearLen <= 2) { // two digits: the century window decides
                const int centuryBase = CurrentYear() - fs_.TwoDigitYearCenturyWindow;
                int year = y + centuryBase / 100 * 100;
                if (fs_.TwoDigitYearCenturyWindow > 0 && year < centuryBase) year += 100;
                y = static_cast<Word>(year);
            }
        } else {
            y = CurrentYear();
            if (order == doDMY)
                d = n1, m = n2;
            else
                m = n1, d = n2;
        }
        ScanChar(fs_.DateSeparator);
        Blanks();
        return TryEncodeDate(y, m, d, date);
    }

    bool ScanTime(TDateTime& time) {
        int baseHour = -1;
        if (ScanText(fs_.TimeAMString) || ScanText(u"AM"))
            baseHour = 0;
        else if (ScanText(fs_.TimePMString) || ScanText(u"PM"))
            baseHour = 12;
        if (baseHour >= 0) Blanks();
        Word hour = 0, min = 0, sec = 0, msec = 0;
        int len = 0;
        if (!ScanNumber(hour, len)) return false;
        if (ScanChar(fs_.TimeSeparator)) {
            if (!ScanNumber(min, len)) return false;
            if (ScanChar(fs_.TimeSeparator)) {
                if (!ScanNumber(sec, len)) return false;
                if (ScanChar(fs_.DecimalSeparator) && !ScanNumber(msec, len)) return false;
            }
        }
        if (baseHour < 0) {
            if (ScanText(fs_.TimeAMString) || ScanText(u"AM"))
                baseHour = 0;
            else if (ScanText(fs_.TimePMString) || ScanText(u"PM"))
                baseHour = 12;
        }
        if (baseHour >= 0) {
            if (hour == 0 || hour > 12) return false;
            if (hour == 12) hour = 0;
            hour = static_cast<Word>(hour + baseHour);
        }
        Blanks();
        return TryEncodeTime(hour, min, sec, msec, time);
    }

private:
    void Blanks() {
        while (pos_ < s_.size() && s_[pos_] == u' ') ++pos_;
    }
    // Up to four digits (the value stops growing at 1000 or more).
    bool ScanNumber(Word& value, int& length) {
        Blanks();
        std::size_t i = pos_;
        unsigned n = 0;
        while (i < s_.size() && s_[i] >= u'0' && s_[i] <= u'9' && n < 1000) n = n * 10 + (s_[i++] - u'0');
        if (i == pos_) return false;
        length = static_cast<int>(i - pos_);
        pos_ = i;
        value = static_cast<Word>(n);
        return true;
    }
    bool ScanChar(Char c) {
        Blanks();
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool ScanText(std::u16string_view word) {
        if (word.empty()) return false;
        Blanks();
        if (s_.size() - pos_ < word.size() || !AnsiSameText(s_.substr(pos_, word.size()), word)) return false;
        pos_ += word.size();
        return true;
    }

    std::u16string_view s_;
    const TFormatSettings& fs_;
    std::size_t pos_ = 0;
};

} // namespace

bool TryStrToDate(std::u16string_view s, TDateTime& value, const TFormatSettings& fs) {
    Scanner sc(s, fs);
    TDateTime d = 0;
    if (!sc.ScanDate(d) || !sc.AtEnd()) return false;
    value = d;
    return true;
}

bool TryStrToTime(std::u16string_view s, TDateTime& value, const TFormatSettings& fs) {
    Scanner sc(s, fs);
    TDateTime t = 0;
    if (!sc.ScanTime(t) || !sc.AtEnd()) return false;
    value = t;
    return true;
}

// A date with an optional time after it, or a time alone. Unlike the class
// library, text left over after the time is refused rather than ignored.
bool TryStrToDateTime(std::u16string_view s, TDateTime& value, const TFormatSettings& fs) {
    Scanner sc(s, fs);
    TDateTime d = 0, t = 0;
    if (sc.ScanDate(d) && (sc.AtEnd() || (sc.ScanTime(t) && sc.AtEnd()))) {
        value = d >= 0 ? d + t : d - t;
        return true;
    }
    return TryStrToTime(s, value, fs);
}

bool TryStrToDate(std::u16string_view s, TDateTime& value) {
    return TryStrToDate(s, value, FormatSettings);
}

bool TryStrToTime(std::u16string_view s, TDateTime& value) {
    return TryStrToTime(s, value, FormatSettings);
}

bool TryStrToDateTime(std::u16string_view s, TDateTime& value) {
    return TryStrToDateTime(s, value, FormatSettings);
}

TDateTime StrToDate(std::u16string_view s, const TFormatSettings& fs) {
    TDateTime v = 0;
    if (!TryStrToDate(s, v, fs)) throw EConvertError(u"'%s' is not a valid date", {s});
    return v;
}

TDateTime StrToTime(std::u16string_view s, const TFormatSettings& fs) {
    TDateTime v = 0;
    if (!TryStrToTime(s, v, fs)) throw EConvertError(u"'%s' is not a valid time", {s});
    return v;
}

TDateTime StrToDateTime(std::u16string_view s, const TFormatSettings& fs) {
    TDateTime v = 0;
    if (!TryStrToDateTime(s, v, fs)) throw EConvertError(u"'%s' is not a valid date and time", {s});
    return v;
}

TDateTime StrToDate(std::u16string_view s) {
    return StrToDate(s, FormatSettings);
}

TDateTime StrToTime(std::u16string_view s) {
    return StrToTime(s, FormatSettings);
}

TDateTime StrToDateTime(std::u16string_view s) {
    return StrToDateTime(s, FormatSettings);
}
