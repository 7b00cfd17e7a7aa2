#pragma once
// DateUtils: calendar arithmetic on TDateTime.

#include "platform/core/sysutils.h"

// Whole units added along the time line, so that values before 30 December
// 1899 (negative, with the time of day as |fraction|) move correctly too.
TDateTime IncDay(TDateTime value, int numberOfDays = 1);
TDateTime IncYear(TDateTime value, int numberOfYears = 1);
TDateTime IncHour(TDateTime value, Int64 numberOfHours = 1);
TDateTime IncMinute(TDateTime value, Int64 numberOfMinutes = 1);
TDateTime IncSecond(TDateTime value, Int64 numberOfSeconds = 1);
TDateTime IncMilliSecond(TDateTime value, Int64 numberOfMilliSeconds = 1);

Word DaysInAMonth(Word year, Word month); // raises ERangeError for a month outside 1..12
Word DaysInMonth(TDateTime value);

Word YearOf(TDateTime value);
Word MonthOf(TDateTime value);
Word DayOf(TDateTime value);
TDateTime DateOf(TDateTime value); // the time of day removed
TDateTime TimeOf(TDateTime value); // the date removed
TDateTime StartOfTheDay(TDateTime value);

void DecodeDateTime(TDateTime value, Word& year, Word& month, Word& day, Word& hour, Word& minute,
                    Word& second, Word& milliSecond);
// Replace the date (or the time) and keep the other part; an invalid part
// raises EConvertError as EncodeDate (EncodeTime) does.
TDateTime RecodeDate(TDateTime value, Word year, Word month, Word day);
TDateTime RecodeTime(TDateTime value, Word hour, Word minute, Word second, Word milliSecond);
