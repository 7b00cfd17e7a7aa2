#include "platform/core/dateutils.h"

#include <cmath>

namespace {

// Position on a continuous day line: a negative TDateTime stores its time of
// day as a positive fraction, which this undoes.
double ToLine(TDateTime v) {
    return v >= 0 ? v : Int(v) + std::fabs(Frac(v));
}

TDateTime FromLine(double line) {
    const double day = std::floor(line);
    const double time = line - day;
    return day >= 0 ? line : day - time;
}

TDateTime Combine(TDateTime date, TDateTime time) {
    return date >= 0 ? date + time : date - time;
}

} // namespace

TDateTime IncDay(TDateTime value, int numberOfDays) {
    return FromLine(ToLine(value) + numberOfDays);
}

TDateTime IncYear(TDateTime value, int numberOfYears) {
    return IncMonth(value, numberOfYears * 12);
}

TDateTime IncHour(TDateTime value, Int64 numberOfHours) {
    return FromLine(ToLine(value) + static_cast<double>(numberOfHours) / HoursPerDay);
}

TDateTime IncMinute(TDateTime value, Int64 numberOfMinutes) {
    return FromLine(ToLine(value) + static_cast<double>(numberOfMinutes) / MinsPerDay);
}

TDateTime IncSecond(TDateTime value, Int64 numberOfSeconds) {
    return FromLine(ToLine(value) + static_cast<double>(numberOfSeconds) / SecsPerDay);
}

TDateTime IncMilliSecond(TDateTime value, Int64 numberOfMilliSeconds) {
    return FromLine(ToLine(value) + static_cast<double>(numberOfMilliSeconds) / MSecsPerDay);
}

Word DaysInAMonth(Word year, Word month) {
    if (month < 1 || month > 12) throw ERangeError(u"Range check error");
    return MonthDays[IsLeapYear(year)][month - 1];
}

Word DaysInMonth(TDateTime value) {
    Word y = 0, m = 0, d = 0;
    DecodeDate(value, y, m, d);
    return DaysInAMonth(y, m);
}

Word YearOf(TDateTime value) {
    Word y = 0, m = 0, d = 0;
    DecodeDate(value, y, m, d);
    return y;
}

Word MonthOf(TDateTime value) {
    Word y = 0, m = 0, d = 0;
    DecodeDate(value, y, m, d);
    return m;
}

Word DayOf(TDateTime value) {
    Word y = 0, m = 0, d = 0;
    DecodeDate(value, y, m, d);
    return d;
}

TDateTime DateOf(TDateTime value) {
    return Int(value);
}

TDateTime TimeOf(TDateTime value) {
    return Frac(value);
}

TDateTime StartOfTheDay(TDateTime value) {
    return Int(value);
}

void DecodeDateTime(TDateTime value, Word& year, Word& month, Word& day, Word& hour, Word& minute,
                    Word& second, Word& milliSecond) {
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, milliSecond);
}

TDateTime RecodeDate(TDateTime value, Word year, Word month, Word day) {
    Word h = 0, n = 0, s = 0, ms = 0;
    DecodeTime(value, h, n, s, ms);
    return Combine(EncodeDate(year, month, day), EncodeTime(h, n, s, ms));
}

TDateTime RecodeTime(TDateTime value, Word hour, Word minute, Word second, Word milliSecond) {
    Word y = 0, m = 0, d = 0;
    DecodeDate(value, y, m, d);
    return Combine(EncodeDate(y, m, d), EncodeTime(hour, minute, second, milliSecond));
}
