#pragma once
// The metering device's archive as bytes and texts: the command frames the
// main window sends, the records cut out of a collected reply, and the fields
// of one record's text. Nothing here touches a port, a clock or a control.

#include "platform/core/system.h"

#include <array>
#include <string_view>
#include <vector>

// Command frame: N, code, parameter 1, parameter 2, N (no checksum, no terminator).
using TCommandFrame = std::array<Byte, 5>;

inline constexpr Byte CmdResetIndex = 0x01;
inline constexpr Byte CmdReadDay = 0x03;

inline constexpr AnsiChar RecordStart = '\xF0';
inline constexpr AnsiChar RecordEnd = '\xFF';
inline constexpr AnsiChar PortionComplete = '='; // more records of the day follow
inline constexpr AnsiChar DayComplete = '?';

// Header bytes of a record (0xF0 and three bytes the device defines).
inline constexpr std::size_t RecordHeaderSize = 4;

// Values that mark a token instead of a number; never shown as numbers.
inline constexpr double ValueConvertError = -2000000.0;
inline constexpr double ValueMissing = -3000000.0;

// The table and the data series have room for this many value columns;
// further values of a record are ignored.
inline constexpr int MaxValueColumns = 13;
// Day, month, hour, minute, then the values.
inline constexpr int RecordTimeTokens = 4;
inline constexpr int MaxRecordTokens = RecordTimeTokens + MaxValueColumns;

// Packed BCD of 0..99: 12 is 0x12.
Byte PackedBcd(int value);

TCommandFrame ResetIndexFrame(Byte device);
// The year is not sent: the device keeps one year of days by month and day.
TCommandFrame ReadDayFrame(Byte device, TDateTime day);

// The record texts of a collected reply, in order of arrival. A record runs
// from a 0xF0 to the next 0xFF that follows neither 0xFF nor "?"; a 0xF0
// inside a record starts it anew. Its four header bytes are dropped; a record
// with nothing after its header is dropped whole. Bytes outside records (portion
// markers, stray 0xFF, line noise) belong to no record.
std::vector<AnsiString> CutReplyRecords(std::string_view buffer);

// A record's bytes as text: UTF-8 when they are valid UTF-8, otherwise the
// Russian 8-bit code page (Windows-1251), whose every byte stands for one
// character. Bytes below 0x80 are ASCII either way.
String DeviceText(std::string_view bytes);

// A number as the device writes it, read the same in every locale: an
// optional sign, decimal digits with at most one "." or "," as the decimal
// point, and an optional decimal exponent. Names (NaN, INF), hexadecimal
// forms and numbers out of the double range are not numbers.
bool TryParseDeviceNumber(std::u16string_view token, double& value);

// One token of a record: the number, ValueConvertError when the token is not
// a number, or ValueMissing when it is the device's "no value" text: 9999,
// with or without a decimal point inside (99.99, 9,999).
double DeviceTokenValue(std::u16string_view token);

// The fields of a record text: day, month, hour, minute, value 1 .. value N,
// separated by spaces.
struct TArchiveRecord {
    bool timeValid = false; // day, month, hour and minute make a real date and time
    TDateTime time = 0;     // the record's date and time; 0 when not valid
    // Value 1 .. value N with the markers, at most MaxValueColumns; empty when
    // the record has fewer tokens than its date and time need.
    std::vector<double> values;
};

// Every record takes the given year: the device does not send one.
TArchiveRecord ParseArchiveRecord(std::u16string_view text, Word year);
