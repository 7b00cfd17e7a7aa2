#pragma once
// SysUtils: the exception tree, text and number conversions, formatting and
// dates, plus the System unit's numeric primitives (Round, Trunc, Random).

#include "platform/core/system.h"

#include <array>
#include <concepts>
#include <exception>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>

// One argument of Format, as the class library's array of const.
struct TVarRec {
    enum Kind : std::uint8_t { vtInteger, vtInt64, vtExtended, vtString, vtChar, vtBoolean, vtPointer };
    Kind kind = vtInteger;
    std::int64_t i = 0;
    double d = 0;
    String s;
    const void* p = nullptr;

    TVarRec(int v) : kind(vtInteger), i(v) {}
    TVarRec(unsigned v) : kind(vtInt64), i(v) {}
    TVarRec(long v) : kind(vtInt64), i(v) {}
    TVarRec(long long v) : kind(vtInt64), i(v) {}
    TVarRec(unsigned long v) : kind(vtInt64), i(static_cast<std::int64_t>(v)) {}
    TVarRec(unsigned long long v) : kind(vtInt64), i(static_cast<std::int64_t>(v)) {}
    TVarRec(double v) : kind(vtExtended), d(v) {}
    TVarRec(float v) : kind(vtExtended), d(v) {}
    TVarRec(bool v) : kind(vtBoolean), i(v) {}
    TVarRec(char16_t v) : kind(vtChar), s(1, v) {}
    TVarRec(const String& v) : kind(vtString), s(v) {}
    TVarRec(const char16_t* v) : kind(vtString), s(v ? v : u"") {}
    TVarRec(std::u16string_view v) : kind(vtString), s(v) {}
    TVarRec(const AnsiString& v) : kind(vtString), s(UTF8ToString(v)) {}
    TVarRec(const char* v) : kind(vtString), s(UTF8ToString(v ? v : "")) {}
    TVarRec(const void* v) : kind(vtPointer), p(v) {}
};

// ---------------------------------------------------------------------------
// Locale: the one global FormatSettings. The SysUtils unit's start-up fills it
// from the system locale; tests assign it explicitly. Month and day names are
// 0-based here: ShortMonthNames[0] is January, LongDayNames[0] Sunday.

struct TFormatSettings {
    String CurrencyString;
    Byte CurrencyFormat = 0; // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    Byte NegCurrFormat = 0;  // 0 "($1)" .. 15 "(1 $)"
    Byte CurrencyDecimals = 2;
    Char ThousandSeparator = u',';
    Char DecimalSeparator = u'.';
    Char DateSeparator = u'/';
    Char TimeSeparator = u':';
    String ShortDateFormat;
    String LongDateFormat;
    String ShortTimeFormat;
    String LongTimeFormat;
    String TimeAMString;
    String TimePMString;
    std::array<String, 12> ShortMonthNames;
    std::array<String, 12> LongMonthNames;
    std::array<String, 7> ShortDayNames;
    std::array<String, 7> LongDayNames;
    Word TwoDigitYearCenturyWindow = 50;
};

// The class library's English defaults (what FormatSettings holds before the
// units start, and for the parts of a "C" or "POSIX" system locale).
TFormatSettings EnglishFormatSettings();
// Russian settings: "dd.MM.yyyy", "H:mm:ss", decimal ',', thousands U+00A0.
TFormatSettings RussianFormatSettings();

// A locale as the C library describes it: strftime formats and the texts of
// nl_langinfo, UTF-8. A part left at "C"/"POSIX" is flagged as such.
struct TLocaleInfo {
    bool NumericIsC = true;
    bool TimeIsC = true;
    bool MonetaryIsC = true;
    std::string DecimalPoint;
    std::string ThousandsSep;
    std::string DateFormat;     // D_FMT, e.g. "%d.%m.%Y"
    std::string TimeFormat;     // T_FMT, e.g. "%T"
    std::string TimeFormatAmPm; // T_FMT_AMPM, what "%r" stands for
    std::string Am;
    std::string Pm;
    std::array<std::string, 12> LongMonths; // as named by themselves ("март", not "марта")
    std::array<std::string, 12> ShortMonths;
    std::array<std::string, 7> LongDays; // Sunday first
    std::array<std::string, 7> ShortDays;
    std::string Currency;
    int CurrencyDigits = 2;
    bool CurrencyFirst = true;  // "$1" rather than "1$"
    bool CurrencySpace = false; // "$ 1"
};
// The locale of the environment (LC_ALL, then LC_NUMERIC, LC_TIME and
// LC_MONETARY, then LANG). A locale the system does not have counts as "C".
TLocaleInfo SystemLocaleInfo();
// Settings in the locale's own forms ("%d.%m.%Y" gives "dd.MM.yyyy" with the
// date separator '.'); the English defaults for the parts that are "C".
TFormatSettings FormatSettingsFromLocale(const TLocaleInfo& Info);
TFormatSettings SystemFormatSettings();

extern TFormatSettings FormatSettings;

// The start-up of the SysUtils unit (see units.h): FormatSettings from the system locale.
void InitSysUtilsUnit();

// ---------------------------------------------------------------------------
// Format

// Pascal-style Format: %d %u %x %s %f %g %e %n %m %p %%, with index ("%1:s"),
// '-' (left-justify), width, precision and '*'. A specifier that does not fit
// its argument raises EConvertError ("Format '%s' invalid or incompatible with
// argument"); a missing argument raises "No argument for format '%s'".
String Format(const String& fmt, std::initializer_list<TVarRec> args);
String Format(const String& fmt, std::span<const TVarRec> args);
String Format(const String& fmt, std::initializer_list<TVarRec> args, const TFormatSettings& fs);
String Format(const String& fmt, std::span<const TVarRec> args, const TFormatSettings& fs);

// ---------------------------------------------------------------------------
// Exceptions

class Exception : public std::exception {
public:
    explicit Exception(String message = {});
    // CreateFmt-style construction.
    Exception(const String& fmt, std::initializer_list<TVarRec> args);
    const String& Message() const { return message_; }
    void SetMessage(String message);
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    String message_;
    std::string utf8_;
};

class EAbort : public Exception {
public:
    using Exception::Exception;
};
class EConvertError : public Exception {
public:
    using Exception::Exception;
};
class EStreamError : public Exception {
public:
    using Exception::Exception;
};
class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFilerError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EReadError : public EFilerError {
public:
    using EFilerError::EFilerError;
};
class EWriteError : public EFilerError {
public:
    using EFilerError::EFilerError;
};
class EClassNotFound : public EFilerError {
public:
    using EFilerError::EFilerError;
};
class EMethodNotFound : public EFilerError {
public:
    using EFilerError::EFilerError;
};
class EInvalidImage : public EFilerError {
public:
    using EFilerError::EFilerError;
};
class EListError : public Exception {
public:
    using Exception::Exception;
};
class EStringListError : public Exception {
public:
    using Exception::Exception;
};
class EComponentError : public Exception {
public:
    using Exception::Exception;
};
class EPropertyError : public Exception {
public:
    using Exception::Exception;
};
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};
class EInvalidPointer : public Exception {
public:
    using Exception::Exception;
};
class EInvalidCast : public Exception {
public:
    using Exception::Exception;
};
class EOutOfMemory : public Exception {
public:
    using Exception::Exception;
};
class EThread : public Exception {
public:
    using Exception::Exception;
};
class EOSError : public Exception {
public:
    using Exception::Exception;
    std::uint32_t ErrorCode = 0;
};
class EIntError : public Exception {
public:
    using Exception::Exception;
};
class EDivByZero : public EIntError {
public:
    using EIntError::EIntError;
};
class ERangeError : public EIntError {
public:
    using EIntError::EIntError;
};
class EIntOverflow : public EIntError {
public:
    using EIntError::EIntError;
};
class EMathError : public Exception {
public:
    using Exception::Exception;
};
class EInvalidOp : public EMathError {
public:
    using EMathError::EMathError;
};
class EZeroDivide : public EMathError {
public:
    using EMathError::EMathError;
};
class EOverflow : public EMathError {
public:
    using EMathError::EMathError;
};
class EUnderflow : public EMathError {
public:
    using EMathError::EMathError;
};
class EVariantError : public Exception {
public:
    using Exception::Exception;
};

// Raises EAbort ("Operation aborted"), the silent exception.
[[noreturn]] void Abort();

// ---------------------------------------------------------------------------
// System-unit numerics

// Half to even, as the processor's default rounding; NaN, infinities and
// values beyond Int64 raise EInvalidOp.
Int64 Round(Extended x);
// Toward zero; raises EInvalidOp as Round does.
Int64 Trunc(Extended x);
Extended Int(Extended x);  // integer part, toward zero
Extended Frac(Extended x); // x - Int(x)

// The class library's 32-bit linear congruential generator:
// RandSeed := RandSeed * 134775813 + 1 (mod 2^32), then Random(N) is the high
// half of RandSeed * N (both unsigned) and Random() is RandSeed * 2^-32.
extern Integer RandSeed;
Integer Random(Integer range);
Extended Random();
void Randomize(); // seeds from the clock

// ---------------------------------------------------------------------------
// Text

// ASCII only, as the class library.
String UpperCase(std::u16string_view s);
String LowerCase(std::u16string_view s);
AnsiString UpperCase(std::string_view s);
AnsiString LowerCase(std::string_view s);
// Full case mapping for Latin-1, Latin Extended-A, Greek and Cyrillic.
String AnsiUpperCase(std::u16string_view s);
String AnsiLowerCase(std::u16string_view s);
Char AnsiUpperChar(Char c);
Char AnsiLowerChar(Char c);

// Ordinal comparisons: the difference of the first differing characters, or
// of the lengths. CompareText folds ASCII letters only.
int CompareStr(std::u16string_view a, std::u16string_view b);
int CompareText(std::u16string_view a, std::u16string_view b);
bool SameText(std::u16string_view a, std::u16string_view b);
// Locale-style comparisons (-1, 0, 1): punctuation and symbols before digits
// before letters, letters of every script above alphabetically ('Ё' right
// after 'Е'), and hyphens and apostrophes counting only between texts equal
// without them ("coop" < "co-op" < "cope"). AnsiCompareStr puts a lower-case
// letter before its capital when the texts differ only in case.
int AnsiCompareStr(std::u16string_view a, std::u16string_view b);
int AnsiCompareText(std::u16string_view a, std::u16string_view b);
bool AnsiSameText(std::u16string_view a, std::u16string_view b);
bool AnsiSameStr(std::u16string_view a, std::u16string_view b);

// Trimming removes characters up to and including the space (controls too).
String Trim(std::u16string_view s);
String TrimLeft(std::u16string_view s);
String TrimRight(std::u16string_view s);
AnsiString Trim(std::string_view s);

// 1-based positions; Pos gives 0 when sub is absent or empty. Copy and
// Delete clamp their index and count to the text.
int Pos(std::u16string_view sub, std::u16string_view s);
int Pos(std::string_view sub, std::string_view s);
String Copy(std::u16string_view s, int index, int count);
AnsiString Copy(std::string_view s, int index, int count);
void Delete(String& s, int index, int count);
void Delete(AnsiString& s, int index, int count);

enum TReplaceFlag : std::uint8_t { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = Set<TReplaceFlag>;
template <>
const EnumInfo& EnumInfoOf<TReplaceFlag>();
String StringReplace(std::u16string_view s, std::u16string_view oldPattern, std::u16string_view newPattern,
                     TReplaceFlags flags);

// Upper case; a negative value shows its two's complement in the width of
// its type (32 bits for Integer, 64 for Int64).
String IntToHexBits(UInt64 bits, int digits);
template <std::integral T>
String IntToHex(T value, int digits) {
    if constexpr (sizeof(T) <= 4)
        return IntToHexBits(static_cast<std::uint32_t>(value), digits);
    else
        return IntToHexBits(static_cast<UInt64>(value), digits);
}
String QuotedStr(std::u16string_view s);
String AnsiQuotedStr(std::u16string_view s, Char quote);
// The text between the quotes with doubled quotes undone; a text that does
// not start and end with the quote comes back unchanged.
String AnsiDequotedStr(std::u16string_view s, Char quote);
String StringOfChar(Char c, int count);
bool IsDelimiter(std::u16string_view delimiters, std::u16string_view s, int index);
int LastDelimiter(std::u16string_view delimiters, std::u16string_view s);

// The platform's 8-bit code page is UTF-8.
String AnsiToString(std::string_view s);
AnsiString StringToAnsi(std::u16string_view s);

// ---------------------------------------------------------------------------
// Files (Linux: '/' is the only path delimiter)

inline constexpr Char PathDelim = u'/';
String ExtractFilePath(std::u16string_view fileName); // with the trailing '/'
String ExtractFileDir(std::u16string_view fileName);  // without it
String ExtractFileName(std::u16string_view fileName);
String ExtractFileExt(std::u16string_view fileName); // ".ext", or empty
String ChangeFileExt(std::u16string_view fileName, std::u16string_view extension);
String IncludeTrailingPathDelimiter(std::u16string_view path);
bool FileExists(std::u16string_view fileName); // a file, not a directory
bool DirectoryExists(std::u16string_view name);
String GetCurrentDir();

// ---------------------------------------------------------------------------
// Integers

String IntToStr(Int64 value);
// Val-style: leading spaces, a sign, decimal digits or '$'/'0x' hex; nothing
// after the number. Failure raises EConvertError "'%s' is not a valid integer value".
Integer StrToInt(std::u16string_view s);
Int64 StrToInt64(std::u16string_view s);
Integer StrToIntDef(std::u16string_view s, Integer def);
Int64 StrToInt64Def(std::u16string_view s, Int64 def);
bool TryStrToInt(std::u16string_view s, Integer& value);
bool TryStrToInt64(std::u16string_view s, Int64& value);

// ---------------------------------------------------------------------------
// Floating-point numbers

enum TFloatFormat : std::uint8_t { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
template <>
const EnumInfo& EnumInfoOf<TFloatFormat>();

// General form with 15 significant digits ("0.3", "1E-5", "1E15").
String FloatToStr(Extended value);
String FloatToStr(Extended value, const TFormatSettings& fs);
String FloatToStrF(Extended value, TFloatFormat format, int precision, int digits);
String FloatToStrF(Extended value, TFloatFormat format, int precision, int digits, const TFormatSettings& fs);
// The format mini-language: sections "pos;neg;zero", '0', '#', '.', ',',
// E+/E-/e+/e-, quoted literals. Rounds half away from zero.
String FormatFloat(std::u16string_view format, Extended value);
String FormatFloat(std::u16string_view format, Extended value, const TFormatSettings& fs);

// Reads a number with the locale's decimal separator (no thousands
// separators); failure raises EConvertError "'%s' is not a valid floating point value".
Extended StrToFloat(std::u16string_view s);
Extended StrToFloat(std::u16string_view s, const TFormatSettings& fs);
Extended StrToFloatDef(std::u16string_view s, Extended def);
Extended StrToFloatDef(std::u16string_view s, Extended def, const TFormatSettings& fs);
bool TryStrToFloat(std::u16string_view s, Extended& value);
bool TryStrToFloat(std::u16string_view s, Extended& value, const TFormatSettings& fs);

// ---------------------------------------------------------------------------
// Dates and times: TDateTime counts days from 30 December 1899; a negative
// value keeps its date part's sign and carries the time of day as |fraction|.

inline constexpr int HoursPerDay = 24;
inline constexpr int MinsPerHour = 60;
inline constexpr int SecsPerMin = 60;
inline constexpr int MSecsPerSec = 1000;
inline constexpr int MinsPerDay = HoursPerDay * MinsPerHour;
inline constexpr int SecsPerDay = MinsPerDay * SecsPerMin;
inline constexpr int MSecsPerDay = SecsPerDay * MSecsPerSec;
inline constexpr int DateDelta = 693594; // days from 1 January 0001 to 30 December 1899
inline constexpr Word MonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                          {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

bool IsLeapYear(Word year);
// Raise EConvertError "Invalid argument to date encode" / "... time encode".
TDateTime EncodeDate(Word year, Word month, Word day);
TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec);
bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date);
bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time);
// The value is rounded to the nearest millisecond before it is split.
void DecodeDate(TDateTime date, Word& year, Word& month, Word& day);
void DecodeTime(TDateTime time, Word& hour, Word& min, Word& sec, Word& msec);
Word DayOfWeek(TDateTime date); // 1 = Sunday .. 7 = Saturday
// Moves by whole months, keeping the time of day; the day is clamped to the
// new month's length (31 January + 1 month = 28 or 29 February).
TDateTime IncMonth(TDateTime date, int numberOfMonths = 1);

// The clock behind Now, Date and Time; tests replace it (nullptr restores
// the system's local time).
using TClockFunc = std::function<TDateTime()>;
void SetClock(TClockFunc clock);
TDateTime Now();
TDateTime Date();
TDateTime Time();

// The format mini-language: d dd ddd dddd ddddd dddddd, m mm mmm mmmm (m/mm
// right after an h token mean minutes), yy yyyy, h hh, n nn, s ss, z zzz,
// t tt, c, am/pm a/p ampm, '/' and ':' as the locale separators, quoted
// literals. An empty format means "c".
String FormatDateTime(std::u16string_view format, TDateTime dateTime);
String FormatDateTime(std::u16string_view format, TDateTime dateTime, const TFormatSettings& fs);
String DateTimeToStr(TDateTime dateTime); // short date, then long time unless midnight
String DateTimeToStr(TDateTime dateTime, const TFormatSettings& fs);
String DateToStr(TDateTime date);
String DateToStr(TDateTime date, const TFormatSettings& fs);
String TimeToStr(TDateTime time);
String TimeToStr(TDateTime time, const TFormatSettings& fs);

// Read day, month and year in the order of ShortDateFormat, separated by
// DateSeparator (the year may be left out or given with two digits); times
// as h[:n[:s[.z]]] with an optional AM/PM marker. Failure raises EConvertError.
TDateTime StrToDate(std::u16string_view s);
TDateTime StrToDate(std::u16string_view s, const TFormatSettings& fs);
TDateTime StrToTime(std::u16string_view s);
TDateTime StrToTime(std::u16string_view s, const TFormatSettings& fs);
TDateTime StrToDateTime(std::u16string_view s);
TDateTime StrToDateTime(std::u16string_view s, const TFormatSettings& fs);
bool TryStrToDate(std::u16string_view s, TDateTime& value);
bool TryStrToDate(std::u16string_view s, TDateTime& value, const TFormatSettings& fs);
bool TryStrToTime(std::u16string_view s, TDateTime& value);
bool TryStrToTime(std::u16string_view s, TDateTime& value, const TFormatSettings& fs);
bool TryStrToDateTime(std::u16string_view s, TDateTime& value);
bool TryStrToDateTime(std::u16string_view s, TDateTime& value, const TFormatSettings& fs);

// ---------------------------------------------------------------------------
// Process services

// The beep of error messages; the GUI layer installs the desktop's beep, tests
// a counter (nullptr: silent).
void SetBeepHandler(std::function<void()> handler);
void Beep();
void Sleep(Cardinal milliseconds); // 0 yields the processor once
Cardinal GetTickCount();           // milliseconds, wrapping at 2^32
