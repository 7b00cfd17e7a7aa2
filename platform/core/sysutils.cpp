#include "platform/core/sysutils.h"

#include <chrono>
#include <cmath>
#include <filesystem>
#include <system_error>
#include <thread>

// ---------------------------------------------------------------------------
// Exceptions

Exception::Exception(String message) : message_(std::move(message)), utf8_(UTF8Encode(message_)) {}

Exception::Exception(const String& fmt, std::initializer_list<TVarRec> args) : Exception(Format(fmt, args)) {}

void Exception::SetMessage(String message) {
    message_ = std::move(message);
    utf8_ = UTF8Encode(message_);
}

void Abort() {
    throw EAbort(u"Operation aborted");
}

// ---------------------------------------------------------------------------
// Locale

TFormatSettings EnglishFormatSettings() {
    TFormatSettings fs;
    fs.CurrencyString = u"$";
    fs.CurrencyFormat = 0;
    fs.NegCurrFormat = 0;
    fs.CurrencyDecimals = 2;
    fs.ThousandSeparator = u',';
    fs.DecimalSeparator = u'.';
    fs.DateSeparator = u'/';
    fs.TimeSeparator = u':';
    fs.ShortDateFormat = u"M/d/yyyy";
    fs.LongDateFormat = u"dddd, MMMM d, yyyy";
    fs.ShortTimeFormat = u"h:mm AMPM";
    fs.LongTimeFormat = u"h:mm:ss AMPM";
    fs.TimeAMString = u"AM";
    fs.TimePMString = u"PM";
    fs.ShortMonthNames = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                          u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
    fs.LongMonthNames = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                         u"July",    u"August",   u"September", u"October", u"November", u"December"};
    fs.ShortDayNames = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
    fs.LongDayNames = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
    fs.TwoDigitYearCenturyWindow = 50;
    return fs;
}

TFormatSettings RussianFormatSettings() {
    TFormatSettings fs;
    fs.CurrencyString = u"\u20BD";
    fs.CurrencyFormat = 3;
    fs.NegCurrFormat = 8;
    fs.CurrencyDecimals = 2;
    fs.ThousandSeparator = u'\u00A0';
    fs.DecimalSeparator = u',';
    fs.DateSeparator = u'.';
    fs.TimeSeparator = u':';
    fs.ShortDateFormat = u"dd.MM.yyyy";
    fs.LongDateFormat = u"d MMMM yyyy 'г.'";
    fs.ShortTimeFormat = u"H:mm";
    fs.LongTimeFormat = u"H:mm:ss";
    fs.TimeAMString = u"";
    fs.TimePMString = u"";
    fs.ShortMonthNames = {u"янв", u"фев", u"мар", u"апр", u"май", u"июн",
                          u"июл", u"авг", u"сен", u"окт", u"ноя", u"дек"};
    fs.LongMonthNames = {u"Январь", u"Февраль", u"Март",     u"Апрель",  u"Май",    u"Июнь",
                         u"Июль",   u"Август",  u"Сентябрь", u"Октябрь", u"Ноябрь", u"Декабрь"};
    fs.ShortDayNames = {u"Вс", u"Пн", u"Вт", u"Ср", u"Чт", u"Пт", u"Сб"};
    fs.LongDayNames = {u"воскресенье", u"понедельник", u"вторник", u"среда",
                       u"четверг",     u"пятница",     u"суббота"};
    fs.TwoDigitYearCenturyWindow = 50;
    return fs;
}

TFormatSettings FormatSettings = EnglishFormatSettings();

// ---------------------------------------------------------------------------
// System-unit numerics

namespace {

[[noreturn]] void InvalidOp() {
    throw EInvalidOp(u"Invalid floating point operation");
}

// Int64 holds [-2^63, 2^63).
void CheckInt64Range(Extended x) {
    if (!(x >= -9223372036854775808.0 && x < 9223372036854775808.0)) InvalidOp();
}

} // namespace

Int64 Round(Extended x) {
    CheckInt64Range(x);
    Extended r = std::round(x);                                             // half away from zero ...
    if (std::fabs(x - std::trunc(x)) == 0.5) r = 2.0 * std::round(x / 2.0); // ... but ties go to even
    return static_cast<Int64>(r);
}

Int64 Trunc(Extended x) {
    CheckInt64Range(x);
    return static_cast<Int64>(x);
}

Extended Int(Extended x) {
    return std::trunc(x);
}

Extended Frac(Extended x) {
    return x - std::trunc(x);
}

Integer RandSeed = 0;

namespace {

std::uint32_t NextRandSeed() {
    const std::uint32_t seed = static_cast<std::uint32_t>(RandSeed) * 134775813u + 1u;
    RandSeed = static_cast<Integer>(seed);
    return seed;
}

} // namespace

Integer Random(Integer range) {
    const std::uint64_t seed = NextRandSeed();
    return static_cast<Integer>((seed * static_cast<std::uint32_t>(range)) >> 32);
}

Extended Random() {
    return NextRandSeed() * (1.0 / 4294967296.0);
}

void Randomize() {
    const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    RandSeed = static_cast<Integer>(static_cast<std::uint32_t>(ticks ^ (ticks >> 32)));
}

// ---------------------------------------------------------------------------
// Case mapping

namespace {

bool Between(Char c, Char lo, Char hi) {
    return c >= lo && c <= hi;
}

// Ranges where an upper-case letter is followed by its lower-case one, with
// the capital on the even (or odd) code point.
bool PairedUpperEven(Char c) {
    return Between(c, 0x0100, 0x012F) || Between(c, 0x0132, 0x0137) || Between(c, 0x014A, 0x0177) ||
           Between(c, 0x0460, 0x0481) || Between(c, 0x048A, 0x04BF) || Between(c, 0x04D0, 0x052F);
}
bool PairedUpperOdd(Char c) {
    return Between(c, 0x0139, 0x0148) || Between(c, 0x0179, 0x017E) || Between(c, 0x04C1, 0x04CE);
}

} // namespace

Char AnsiUpperChar(Char c) {
    if (c < 0x80) return Between(c, u'a', u'z') ? static_cast<Char>(c - 0x20) : c;
    if (Between(c, 0x00E0, 0x00FE) && c != 0x00F7) return static_cast<Char>(c - 0x20);
    if (c == 0x00FF) return 0x0178;
    if (c == 0x00B5) return 0x039C;
    if (c == 0x0131) return u'I';
    if (c == 0x017F) return u'S';
    if (PairedUpperEven(c)) return static_cast<Char>(c & ~1u);
    if (PairedUpperOdd(c)) return (c & 1u) ? c : static_cast<Char>(c - 1);
    if (c == 0x03C2) return 0x03A3; // final sigma
    if (c == 0x03AC) return 0x0386;
    if (Between(c, 0x03AD, 0x03AF)) return static_cast<Char>(c - 0x25);
    if (c == 0x03CC) return 0x038C;
    if (Between(c, 0x03CD, 0x03CE)) return static_cast<Char>(c - 0x3F);
    if (Between(c, 0x03B1, 0x03CB)) return static_cast<Char>(c - 0x20);
    if (Between(c, 0x0430, 0x044F)) return static_cast<Char>(c - 0x20);
    if (Between(c, 0x0450, 0x045F)) return static_cast<Char>(c - 0x50);
    if (c == 0x04CF) return 0x04C0;
    return c;
}

Char AnsiLowerChar(Char c) {
    if (c < 0x80) return Between(c, u'A', u'Z') ? static_cast<Char>(c + 0x20) : c;
    if (Between(c, 0x00C0, 0x00DE) && c != 0x00D7) return static_cast<Char>(c + 0x20);
    if (c == 0x0178) return 0x00FF;
    if (c == 0x0130) return u'i';
    if (PairedUpperEven(c)) return static_cast<Char>(c | 1u);
    if (PairedUpperOdd(c)) return (c & 1u) ? static_cast<Char>(c + 1) : c;
    if (c == 0x0386) return 0x03AC;
    if (Between(c, 0x0388, 0x038A)) return static_cast<Char>(c + 0x25);
    if (c == 0x038C) return 0x03CC;
    if (Between(c, 0x038E, 0x038F)) return static_cast<Char>(c + 0x3F);
    if (Between(c, 0x0391, 0x03AB) && c != 0x03A2) return static_cast<Char>(c + 0x20);
    if (Between(c, 0x0410, 0x042F)) return static_cast<Char>(c + 0x20);
    if (Between(c, 0x0400, 0x040F)) return static_cast<Char>(c + 0x50);
    if (c == 0x04C0) return 0x04CF;
    return c;
}

namespace {

template <class S, class F>
S MapChars(std::basic_string_view<typename S::value_type> s, F f) {
    S out(s);
    for (auto& c : out) c = f(c);
    return out;
}

template <class C>
C AsciiUpper(C c) {
    return (c >= 'a' && c <= 'z') ? static_cast<C>(c - 0x20) : c;
}
template <class C>
C AsciiLower(C c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<C>(c + 0x20) : c;
}

} // namespace

String UpperCase(std::u16string_view s) {
    return MapChars<String>(s, AsciiUpper<Char>);
}
String LowerCase(std::u16string_view s) {
    return MapChars<String>(s, AsciiLower<Char>);
}
AnsiString UpperCase(std::string_view s) {
    return MapChars<AnsiString>(s, AsciiUpper<char>);
}
AnsiString LowerCase(std::string_view s) {
    return MapChars<AnsiString>(s, AsciiLower<char>);
}
String AnsiUpperCase(std::u16string_view s) {
    return MapChars<String>(s, AnsiUpperChar);
}
String AnsiLowerCase(std::u16string_view s) {
    return MapChars<String>(s, AnsiLowerChar);
}

// ---------------------------------------------------------------------------
// Comparisons

namespace {

template <class F>
int CompareWith(std::u16string_view a, std::u16string_view b, F key) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int d = key(a[i]) - key(b[i]);
        if (d != 0) return d;
    }
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

// Hyphens and apostrophes join words rather than separate them.
bool WordJoiner(Char c) {
    return c == u'-' || c == u'\'';
}

// The locale's order regardless of case: punctuation and symbols first (by
// code point), then digits, then letters alphabetically by their capitals,
// Latin before Greek before Cyrillic, with 'Ё' right after 'Е'. Word joiners
// weigh most, so that between texts equal without them the plain one leads.
int CollationKey(Char c) {
    constexpr int kDigits = 0x10000, kLetters = 0x20000, kJoiners = 0x40000;
    if (WordJoiner(c)) return kJoiners + c;
    if (c >= u'0' && c <= u'9') return kDigits + c;
    const bool symbol = (c < 0xC0 && !Between(AsciiUpper(c), u'A', u'Z')) || c == 0xD7 || c == 0xF7 ||
                        Between(c, 0x2000, 0x2BFF) || Between(c, 0x3000, 0x303F);
    if (symbol) return c;
    const Char u = AnsiUpperChar(c);
    if (u == 0x0401) return kLetters + 0x0415 * 2 + 1;
    return kLetters + u * 2;
}

// Word joiners count only between texts that are otherwise equal:
// "coop" < "co-op" < "cope".
int CompareCollated(std::u16string_view a, std::u16string_view b) {
    std::size_t i = 0, j = 0;
    for (;;) {
        while (i < a.size() && WordJoiner(a[i])) ++i;
        while (j < b.size() && WordJoiner(b[j])) ++j;
        if (i == a.size() || j == b.size()) break;
        // Equal characters weigh alike: long shared prefixes (dates, times)
        // are passed without weighing.
        if (a[i] == b[j]) {
            ++i, ++j;
            continue;
        }
        const int d = CollationKey(a[i++]) - CollationKey(b[j++]);
        if (d != 0) return d;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return CompareWith(a, b, CollationKey);
}

int Sign(int v) {
    return (v > 0) - (v < 0);
}

} // namespace

int CompareStr(std::u16string_view a, std::u16string_view b) {
    return CompareWith(a, b, [](Char c) { return static_cast<int>(c); });
}

int CompareText(std::u16string_view a, std::u16string_view b) {
    return CompareWith(a, b, [](Char c) { return static_cast<int>(AsciiUpper(c)); });
}

bool SameText(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && CompareText(a, b) == 0;
}

int AnsiCompareText(std::u16string_view a, std::u16string_view b) {
    return Sign(CompareCollated(a, b));
}

int AnsiCompareStr(std::u16string_view a, std::u16string_view b) {
    const int r = AnsiCompareText(a, b);
    if (r != 0) return r;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return AnsiLowerChar(a[i]) == a[i] ? -1 : 1; // lower case first
    return 0;
}

bool AnsiSameText(std::u16string_view a, std::u16string_view b) {
    return AnsiCompareText(a, b) == 0;
}

bool AnsiSameStr(std::u16string_view a, std::u16string_view b) {
    return a == b;
}

// ---------------------------------------------------------------------------
// Trimming, positions, copies

namespace {

template <class C>
std::basic_string_view<C> TrimView(std::basic_string_view<C> s, bool left, bool right) {
    std::size_t b = 0, e = s.size();
    if (left)
        while (b < e && static_cast<std::make_unsigned_t<C>>(s[b]) <= ' ') ++b;
    if (right)
        while (e > b && static_cast<std::make_unsigned_t<C>>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

template <class C>
int PosIn(std::basic_string_view<C> sub, std::basic_string_view<C> s) {
    if (sub.empty()) return 0;
    const auto at = s.find(sub);
    return at == s.npos ? 0 : static_cast<int>(at) + 1;
}

// Turns a 1-based index and a count into a clamped [start, start + len).
std::pair<std::size_t, std::size_t> ClampRange(std::size_t size, int index, int count) {
    const std::int64_t start = std::max<std::int64_t>(index, 1) - 1;
    if (start >= static_cast<std::int64_t>(size) || count <= 0) return {size, 0};
    const std::int64_t len = std::min<std::int64_t>(count, static_cast<std::int64_t>(size) - start);
    return {static_cast<std::size_t>(start), static_cast<std::size_t>(len)};
}

} // namespace

String Trim(std::u16string_view s) {
    return String(TrimView(s, true, true));
}
String TrimLeft(std::u16string_view s) {
    return String(TrimView(s, true, false));
}
String TrimRight(std::u16string_view s) {
    return String(TrimView(s, false, true));
}
AnsiString Trim(std::string_view s) {
    return AnsiString(TrimView(s, true, true));
}

int Pos(std::u16string_view sub, std::u16string_view s) {
    return PosIn(sub, s);
}
int Pos(std::string_view sub, std::string_view s) {
    return PosIn(sub, s);
}

String Copy(std::u16string_view s, int index, int count) {
    const auto [start, len] = ClampRange(s.size(), index, count);
    return String(s.substr(start, len));
}
AnsiString Copy(std::string_view s, int index, int count) {
    const auto [start, len] = ClampRange(s.size(), index, count);
    return AnsiString(s.substr(start, len));
}

// Pascal's Delete leaves the text alone when the index is outside it.
void Delete(String& s, int index, int count) {
    if (index < 1) return;
    const auto [start, len] = ClampRange(s.size(), index, count);
    s.erase(start, len);
}
void Delete(AnsiString& s, int index, int count) {
    if (index < 1) return;
    const auto [start, len] = ClampRange(s.size(), index, count);
    s.erase(start, len);
}

template <>
const EnumInfo& EnumInfoOf<TReplaceFlag>() {
    static const EnumInfo info{"TReplaceFlag", {"rfReplaceAll", "rfIgnoreCase"}};
    return info;
}

String StringReplace(std::u16string_view s, std::u16string_view oldPattern, std::u16string_view newPattern,
                     TReplaceFlags flags) {
    if (oldPattern.empty()) return String(s);
    // Case folding maps one code unit to one, so positions carry over.
    const bool fold = flags.Contains(rfIgnoreCase);
    const String hay = fold ? AnsiUpperCase(s) : String(s);
    const String needle = fold ? AnsiUpperCase(oldPattern) : String(oldPattern);
    String out;
    std::size_t from = 0;
    while (true) {
        const std::size_t at = hay.find(needle, from);
        if (at == String::npos) break;
        out.append(s.substr(from, at - from));
        out.append(newPattern);
        from = at + needle.size();
        if (!flags.Contains(rfReplaceAll)) break;
    }
    out.append(s.substr(from));
    return out;
}

String IntToHexBits(UInt64 bits, int digits) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    String out;
    do {
        out.insert(out.begin(), static_cast<Char>(kHex[bits & 15]));
        bits >>= 4;
    } while (bits != 0);
    if (static_cast<int>(out.size()) < digits)
        out.insert(0, static_cast<std::size_t>(digits) - out.size(), u'0');
    return out;
}

String AnsiQuotedStr(std::u16string_view s, Char quote) {
    String out(1, quote);
    for (Char c : s) {
        out.push_back(c);
        if (c == quote) out.push_back(c);
    }
    out.push_back(quote);
    return out;
}

String QuotedStr(std::u16string_view s) {
    return AnsiQuotedStr(s, u'\'');
}

String AnsiDequotedStr(std::u16string_view s, Char quote) {
    if (s.size() < 2 || s.front() != quote || s.back() != quote) return String(s);
    String out;
    std::size_t i = 1;
    for (; i < s.size(); ++i) {
        if (s[i] == quote) {
            if (i + 1 < s.size() && s[i + 1] == quote) {
                out.push_back(quote);
                ++i;
                continue;
            }
            break; // the closing quote
        }
        out.push_back(s[i]);
    }
    return out;
}

String StringOfChar(Char c, int count) {
    return count > 0 ? String(static_cast<std::size_t>(count), c) : String();
}

bool IsDelimiter(std::u16string_view delimiters, std::u16string_view s, int index) {
    if (index < 1 || index > static_cast<int>(s.size())) return false;
    return delimiters.find(s[static_cast<std::size_t>(index) - 1]) != std::u16string_view::npos;
}

int LastDelimiter(std::u16string_view delimiters, std::u16string_view s) {
    const auto at = s.find_last_of(delimiters);
    return at == std::u16string_view::npos ? 0 : static_cast<int>(at) + 1;
}

String AnsiToString(std::string_view s) {
    return UTF8ToString(s);
}

AnsiString StringToAnsi(std::u16string_view s) {
    return UTF8Encode(s);
}

// ---------------------------------------------------------------------------
// Files

namespace {

std::filesystem::path ToPath(std::u16string_view name) {
    return std::filesystem::path(UTF8Encode(name));
}

// Index just past the last path delimiter (0 when there is none).
std::size_t NameStart(std::u16string_view fileName) {
    const auto at = fileName.rfind(PathDelim);
    return at == std::u16string_view::npos ? 0 : at + 1;
}

// Index of the extension's dot, or npos.
std::size_t ExtStart(std::u16string_view fileName) {
    const auto dot = fileName.rfind(u'.');
    return (dot == std::u16string_view::npos || dot < NameStart(fileName)) ? std::u16string_view::npos : dot;
}

} // namespace

String ExtractFilePath(std::u16string_view fileName) {
    return String(fileName.substr(0, NameStart(fileName)));
}

String ExtractFileDir(std::u16string_view fileName) {
    std::size_t n = NameStart(fileName);
    if (n > 1) --n; // keep the root's own '/'
    return String(fileName.substr(0, n));
}

String ExtractFileName(std::u16string_view fileName) {
    return String(fileName.substr(NameStart(fileName)));
}

String ExtractFileExt(std::u16string_view fileName) {
    const auto dot = ExtStart(fileName);
    return dot == std::u16string_view::npos ? String() : String(fileName.substr(dot));
}

String ChangeFileExt(std::u16string_view fileName, std::u16string_view extension) {
    const auto dot = ExtStart(fileName);
    String out(fileName.substr(0, dot == std::u16string_view::npos ? fileName.size() : dot));
    out.append(extension);
    return out;
}

String IncludeTrailingPathDelimiter(std::u16string_view path) {
    String out(path);
    if (out.empty() || out.back() != PathDelim) out.push_back(PathDelim);
    return out;
}

bool FileExists(std::u16string_view fileName) {
    std::error_code ec;
    return !fileName.empty() && std::filesystem::exists(ToPath(fileName), ec) &&
           !std::filesystem::is_directory(ToPath(fileName), ec);
}

bool DirectoryExists(std::u16string_view name) {
    std::error_code ec;
    return !name.empty() && std::filesystem::is_directory(ToPath(name), ec);
}

String GetCurrentDir() {
    std::error_code ec;
    const auto dir = std::filesystem::current_path(ec);
    return ec ? String() : UTF8ToString(dir.string());
}

// ---------------------------------------------------------------------------
// Process services

namespace {

std::function<void()>& BeepHandler() {
    static std::function<void()> handler;
    return handler;
}

} // namespace

void SetBeepHandler(std::function<void()> handler) {
    BeepHandler() = std::move(handler);
}

void Beep() {
    if (BeepHandler()) BeepHandler()();
}

void Sleep(Cardinal milliseconds) {
    if (milliseconds == 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

Cardinal GetTickCount() {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<Cardinal>(ms.count());
}
