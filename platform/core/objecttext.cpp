#include "platform/core/objecttext.h"

#include "platform/core/filer.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <locale.h>
#include <stdlib.h>

namespace {

constexpr int kMaxNesting = 256;
constexpr std::size_t kLineLength = 64; // string and binary chunks per line

// Long double is the 80-bit extended itself on x86; elsewhere extended values
// that are not doubles go through the nearest double.
constexpr bool kNativeExtended =
    std::numeric_limits<long double>::digits == 64 && std::endian::native == std::endian::little;

template <class T>
T FromLE(const Byte* p) {
    std::make_unsigned_t<T> v = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) v = static_cast<std::make_unsigned_t<T>>((v << 8) | p[i]);
    return static_cast<T>(v);
}

template <class T>
T ReadLE(TReader& r) {
    Byte bytes[sizeof(T)];
    r.Read(bytes, sizeof(T));
    return FromLE<T>(bytes);
}

// ---------------------------------------------------------------------------
// Numbers as text

// "1e+20" -> "1E20", "1.5e-07" -> "1.5E-7"; a bare integer gets ".0" so that
// it reads back as a float.
std::string NormaliseFloat(std::string s) {
    const std::size_t e = s.find('e');
    if (e != std::string::npos) {
        std::string mant = s.substr(0, e);
        std::string exp = s.substr(e + 1);
        bool neg = false;
        if (!exp.empty() && (exp[0] == '+' || exp[0] == '-')) {
            neg = exp[0] == '-';
            exp.erase(0, 1);
        }
        exp.erase(0, std::min(exp.find_first_not_of('0'), exp.size() - 1));
        return mant + "E" + (neg ? "-" : "") + exp;
    }
    if (s.find('.') == std::string::npos) s += ".0";
    return s;
}

std::string NonFinite(double d) {
    if (std::isnan(d)) return "NAN";
    return d < 0 ? "-INF" : "INF";
}

template <class F>
std::string ShortestText(F value) {
    if (!std::isfinite(value)) return NonFinite(value);
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return NormaliseFloat(std::string(buf, res.ptr));
}

std::string ExtendedText(const TExtended80& x) {
    if (kNativeExtended && !ExtendedIsDouble(x) && !std::isnan(ExtendedToDouble(x))) {
        long double ld = 0;
        std::memcpy(&ld, x.data(), 10);
        // A pattern the processor takes for no number (an unnormal, say) is
        // written as our own decoding reads it, which the text reads back.
        if (!std::isfinite(ld)) return ShortestText(ExtendedToDouble(x));
        char buf[64];
        const auto res = std::to_chars(buf, buf + sizeof buf, ld, std::chars_format::scientific, 20);
        return NormaliseFloat(std::string(buf, res.ptr));
    }
    return ShortestText(ExtendedToDouble(x));
}

std::string CurrencyText(std::int64_t v) {
    const bool neg = v < 0;
    const std::uint64_t mag = neg ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    std::string frac = std::to_string(mag % 10000);
    frac.insert(0, 4 - frac.size(), '0');
    while (frac.size() > 1 && frac.back() == '0') frac.pop_back();
    return (neg ? "-" : "") + std::to_string(mag / 10000) + "." + frac;
}

// ---------------------------------------------------------------------------
// Binary to text

class TextOut {
public:
    explicit TextOut(TStream* out) : out_(out) {}
    void Str(std::string_view s) { out_->WriteBuffer(s.data(), static_cast<LongInt>(s.size())); }
    void NewLine() {
        Str("\r\n");
        Str(std::string(static_cast<std::size_t>(2 * nesting), ' '));
    }
    void Indent() { Str(std::string(static_cast<std::size_t>(2 * nesting), ' ')); }
    int nesting = 0;

private:
    TStream* out_;
};

// A name goes into the text as a word (dotted for property paths): a stream
// whose name is no such word is damaged, and its text could not be read back.
bool IsWord(std::string_view s, bool dotted) {
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    bool start = true;
    for (const char c : s) {
        if (start ? !letter(c) : !(letter(c) || digit(c) || (dotted && c == '.'))) return false;
        start = dotted && c == '.';
    }
    return !s.empty() && !start;
}

std::string Word(std::string s, bool dotted = false) {
    if (!IsWord(s, dotted)) throw EReadError(u"Invalid stream format: a name is no identifier");
    return s;
}

class BinaryToText {
public:
    BinaryToText(TReader& r, TextOut& o) : r_(r), o_(o) {}

    void Object() {
        if (++depth_ > kMaxNesting) throw EReadError(u"Invalid stream format: nesting too deep");
        TFilerFlags flags;
        int childPos = 0;
        r_.ReadPrefix(flags, childPos);
        const std::string className = Word(r_.ReadStr());
        std::string name = r_.ReadStr();
        if (!name.empty()) name = Word(std::move(name));
        o_.Indent();
        o_.Str(flags.Contains(ffInherited) ? "inherited " : flags.Contains(ffInline) ? "inline " : "object ");
        if (!name.empty()) o_.Str(name + ": ");
        o_.Str(className);
        if (flags.Contains(ffChildPos)) o_.Str(" [" + std::to_string(childPos) + "]");
        o_.Str("\r\n");
        ++o_.nesting;
        while (!r_.EndOfList()) Property();
        r_.ReadListEnd();
        while (!r_.EndOfList()) Object();
        r_.ReadListEnd();
        --o_.nesting;
        o_.Indent();
        o_.Str("end\r\n");
        --depth_;
    }

private:
    void Property() {
        o_.Indent();
        o_.Str(Word(r_.ReadStr(), true) + " = ");
        Value();
        o_.Str("\r\n");
    }

    void Value() {
        if (++depth_ > kMaxNesting) throw EReadError(u"Invalid stream format: nesting too deep");
        const TValueType t = r_.NextValue();
        switch (t) {
        case vaList:
            r_.ReadValue();
            o_.Str("(");
            ++o_.nesting;
            while (!r_.EndOfList()) {
                o_.NewLine();
                Value();
            }
            r_.ReadListEnd();
            --o_.nesting;
            o_.Str(")");
            break;
        case vaInt8:
        case vaInt16:
        case vaInt32:
        case vaInt64:
            o_.Str(std::to_string(r_.ReadInt64()));
            break;
        case vaExtended:
            r_.ReadValue();
            o_.Str(ExtendedText(r_.ReadExtended80()));
            break;
        case vaSingle:
            r_.ReadValue();
            o_.Str(ShortestText(std::bit_cast<float>(ReadLE<std::uint32_t>(r_))) + "s");
            break;
        case vaDouble:
        case vaDate:
            r_.ReadValue();
            o_.Str(ShortestText(std::bit_cast<double>(ReadLE<std::uint64_t>(r_))) +
                   (t == vaDate ? "d" : "f"));
            break;
        case vaCurrency:
            r_.ReadValue();
            o_.Str(CurrencyText(ReadLE<std::int64_t>(r_)) + "c");
            break;
        case vaString:
        case vaLString:
        case vaWString:
        case vaUTF8String:
            Text(r_.ReadString());
            break;
        case vaIdent:
        case vaFalse:
        case vaTrue:
        case vaNil:
        case vaNull:
            o_.Str(Word(r_.ReadIdent(), true));
            break;
        case vaBinary:
            Binary(r_.ReadBinary());
            break;
        case vaSet: {
            r_.ReadValue();
            o_.Str("[");
            bool first = true;
            for (std::string name; !(name = r_.ReadStr()).empty(); first = false)
                o_.Str((first ? "" : ", ") + Word(std::move(name)));
            o_.Str("]");
            break;
        }
        case vaCollection:
            Collection();
            break;
        default:
            throw EReadError(u"Invalid stream format");
        }
        --depth_;
    }

    // Printable ASCII in quotes, everything else (the quote too) as #n; long
    // texts start on a line of their own and break every 64 characters.
    void Text(const String& s) {
        if (s.empty()) {
            o_.Str("''");
            return;
        }
        ++o_.nesting;
        if (s.size() > kLineLength) o_.NewLine();
        std::size_t lineStart = 0;
        for (std::size_t i = 0; i < s.size();) {
            const auto plain = [&](std::size_t k) { return s[k] >= 32 && s[k] < 127 && s[k] != u'\''; };
            if (plain(i)) {
                const std::size_t j = i;
                while (i < s.size() && plain(i) && i - lineStart < kLineLength) ++i;
                o_.Str("'" +
                       std::string(s.begin() + static_cast<std::ptrdiff_t>(j),
                                   s.begin() + static_cast<std::ptrdiff_t>(i)) +
                       "'");
            } else {
                o_.Str("#" + std::to_string(static_cast<unsigned>(s[i])));
                ++i;
            }
            if (i - lineStart >= kLineLength && i < s.size()) {
                o_.Str(" +");
                o_.NewLine();
                lineStart = i;
            }
        }
        --o_.nesting;
    }

    void Binary(const std::string& bytes) {
        static const char* digits = "0123456789ABCDEF";
        o_.Str("{");
        ++o_.nesting;
        for (std::size_t i = 0; i < bytes.size(); i += kLineLength / 2) {
            o_.NewLine();
            std::string line;
            for (std::size_t k = i; k < std::min(bytes.size(), i + kLineLength / 2); ++k) {
                line += digits[static_cast<Byte>(bytes[k]) >> 4];
                line += digits[static_cast<Byte>(bytes[k]) & 15];
            }
            o_.Str(line);
        }
        --o_.nesting;
        o_.Str("}");
    }

    void Collection() {
        r_.ReadValue();
        o_.Str("<");
        ++o_.nesting;
        while (!r_.EndOfList()) {
            o_.NewLine();
            o_.Str("item");
            const TValueType t = r_.NextValue();
            if (t == vaInt8 || t == vaInt16 || t == vaInt32)
                o_.Str(" [" + std::to_string(r_.ReadInt64()) + "]");
            o_.Str("\r\n");
            r_.CheckValue(vaList);
            ++o_.nesting;
            while (!r_.EndOfList()) Property();
            r_.ReadListEnd();
            --o_.nesting;
            o_.Indent();
            o_.Str("end");
        }
        r_.ReadListEnd();
        --o_.nesting;
        o_.Str(">");
    }

    TReader& r_;
    TextOut& o_;
    int depth_ = 0;
};

// ---------------------------------------------------------------------------
// Text to binary

enum class Tok { Eof, Symbol, String, Integer, Float, Char };

class TextToBinary {
public:
    TextToBinary(std::string_view text, TWriter& w) : src_(text), w_(w) {
        if (src_.starts_with("\xEF\xBB\xBF")) pos_ = 3;
        Next();
    }

    void Object() {
        Nest nest(*this);
        if (tok_ != Tok::Symbol || !(Is("object") || Is("inherited") || Is("inline")))
            Error("'object' expected");
        TFilerFlags flags;
        if (Is("inherited")) flags += ffInherited;
        if (Is("inline")) flags += ffInline;
        Next();
        std::string name;
        std::string className = Symbol();
        if (IsChar(':')) {
            Next();
            name = className;
            className = Symbol();
        }
        int childPos = 0;
        if (IsChar('[')) {
            Next();
            childPos =
                static_cast<int>(IntegerIn(std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
            Expect(']');
            flags += ffChildPos;
        }
        w_.WritePrefix(flags, childPos);
        w_.WriteStr(className);
        w_.WriteStr(name);
        while (tok_ == Tok::Symbol && !Is("object") && !Is("inherited") && !Is("inline") && !Is("end"))
            Property();
        w_.WriteListEnd();
        while (!(tok_ == Tok::Symbol && Is("end"))) Object();
        Next();
        w_.WriteListEnd();
    }

    void End() {
        if (tok_ != Tok::Eof) Error("End of text expected");
    }

private:
    class Nest {
    public:
        explicit Nest(TextToBinary& p) : p_(p) {
            if (++p_.depth_ > kMaxNesting) p_.Error("Nesting too deep");
        }
        ~Nest() { --p_.depth_; }
        Nest(const Nest&) = delete;
        Nest& operator=(const Nest&) = delete;

    private:
        TextToBinary& p_;
    };

    [[noreturn]] void Error(const std::string& what) const {
        throw EParserError(u"%s on line %d", {UTF8ToString(what), line_});
    }

    bool Is(std::string_view word) const { return SameIdent(text_, word); }
    bool IsChar(char c) const { return tok_ == Tok::Char && text_[0] == c; }

    void Expect(char c) {
        if (!IsChar(c)) Error(std::string("'") + c + "' expected");
        Next();
    }

    std::string Symbol() {
        if (tok_ != Tok::Symbol) Error("Identifier expected");
        std::string s = text_;
        Next();
        return s;
    }

    // Symbol ('.' Symbol)*
    std::string DottedSymbol() {
        std::string s = Symbol();
        while (IsChar('.')) {
            Next();
            s += "." + Symbol();
        }
        return s;
    }

    std::int64_t IntegerIn(std::int64_t lo, std::int64_t hi) {
        if (tok_ != Tok::Integer || int_ < lo || int_ > hi) Error("Integer expected");
        const std::int64_t v = int_;
        Next();
        return v;
    }

    void Property() {
        w_.WriteStr(DottedSymbol());
        Expect('=');
        Value();
    }

    void Value() {
        Nest nest(*this);
        switch (tok_) {
        case Tok::Integer:
            w_.WriteInteger(int_);
            Next();
            return;
        case Tok::Float:
            FloatValue();
            Next();
            return;
        case Tok::String: {
            String s = string_;
            Next();
            while (IsChar('+')) {
                Next();
                if (tok_ != Tok::String) Error("String expected");
                s += string_;
                Next();
            }
            w_.WriteString(s);
            return;
        }
        case Tok::Symbol:
            if (NonFiniteValue(false)) return;
            w_.WriteIdent(DottedSymbol());
            return;
        case Tok::Char:
            break;
        case Tok::Eof:
            Error("Property value expected");
        }
        switch (text_[0]) {
        case '-':
            Next();
            if (tok_ != Tok::Symbol || !NonFiniteValue(true)) Error("Number expected");
            return;
        case '[': {
            Next();
            w_.WriteValue(vaSet);
            if (!IsChar(']'))
                for (;;) {
                    w_.WriteStr(Symbol());
                    if (IsChar(']')) break;
                    Expect(',');
                }
            Next();
            w_.WriteStr({});
            return;
        }
        case '(':
            Next();
            w_.WriteListBegin();
            while (!IsChar(')')) Value();
            Next();
            w_.WriteListEnd();
            return;
        case '{':
            Binary();
            return;
        case '<':
            Next();
            w_.WriteValue(vaCollection);
            while (!IsChar('>')) {
                if (tok_ != Tok::Symbol || !Is("item")) Error("'item' expected");
                Next();
                if (IsChar('[')) {
                    Next();
                    w_.WriteInteger(
                        IntegerIn(std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
                    Expect(']');
                }
                w_.WriteListBegin();
                while (!(tok_ == Tok::Symbol && Is("end"))) Property();
                Next();
                w_.WriteListEnd();
            }
            Next();
            w_.WriteListEnd();
            return;
        default:
            Error("Property value expected");
        }
    }

    // NAN, INF and -INF, with the kind's suffix for the kinds that have one.
    bool NonFiniteValue(bool negative) {
        std::string_view s = text_;
        char suffix = 0;
        if (s.size() == 4 && (s[3] == 's' || s[3] == 'd' || s[3] == 'f')) {
            suffix = s[3];
            s.remove_suffix(1);
        }
        double v = 0;
        if (s == "NAN" && !negative)
            v = std::numeric_limits<double>::quiet_NaN();
        else if (s == "INF")
            v = negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
        else
            return false;
        WriteFloatOfKind(v, suffix);
        Next();
        return true;
    }

    void WriteFloatOfKind(double v, char suffix) {
        switch (suffix) {
        case 's':
            w_.WriteSingle(static_cast<float>(v));
            break;
        case 'd':
            w_.WriteDate(v);
            break;
        case 'f':
            w_.WriteDouble(v);
            break;
        default:
            w_.WriteFloat(v);
            break;
        }
    }

    void FloatValue() {
        const std::string& s = text_;
        const char* first = s.data();
        const char* last = s.data() + s.size();
        if (suffix_ == 's') {
            float f = 0;
            if (std::from_chars(first, last, f).ec != std::errc()) Error("Number out of range");
            w_.WriteSingle(f);
            return;
        }
        if (suffix_ == 'c') {
            Currency();
            return;
        }
        double d = 0;
        const bool isDouble = std::from_chars(first, last, d).ec == std::errc();
        // More digits than a double holds, or a value beyond a double's range, is an extended.
        if (suffix_ == 0 && kNativeExtended && (SignificantDigits() > 17 || !isDouble)) {
            long double ld = 0;
            if (!ParseExtended(ld)) Error("Number out of range");
            TExtended80 x{};
            std::memcpy(x.data(), &ld, 10);
            w_.WriteExtended80(x);
            return;
        }
        if (!isDouble) Error("Number out of range");
        WriteFloatOfKind(d, suffix_);
    }

    // The runtime's conversion calls a subnormal result out of range, though the
    // extended holds it (and the writer writes it); the C library's rounds it
    // exactly and only reports the underflow. What still overflows or comes
    // to nothing from non-zero digits stays refused.
    bool ParseExtended(long double& Value) const {
        const char* first = text_.data();
        const char* last = first + text_.size();
        const auto res = std::from_chars(first, last, Value);
        if (res.ec == std::errc()) return true;
        if (res.ec != std::errc::result_out_of_range) return false;
        static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        char* end = nullptr;
        const long double v = strtold_l(first, &end, c);
        if (end != last || v == 0 || !std::isfinite(v)) return false;
        Value = v;
        return true;
    }

    int SignificantDigits() const {
        int n = 0;
        bool started = false;
        for (char c : text_) {
            if (c == 'e' || c == 'E') break;
            if (c < '0' || c > '9') continue;
            started = started || c != '0';
            n += started;
        }
        return n;
    }

    // Exact decimal with up to four places into the scaled 64-bit value.
    void Currency() {
        std::string_view s = text_;
        const bool neg = !s.empty() && s[0] == '-';
        if (neg) s.remove_prefix(1);
        if (s.find_first_of("eE") != std::string_view::npos) Error("Invalid currency value");
        const std::size_t dot = s.find('.');
        std::string digits(s.substr(0, dot));
        std::string frac(dot == std::string_view::npos ? std::string_view{} : s.substr(dot + 1));
        if (frac.size() > 4) Error("Invalid currency value");
        frac.resize(4, '0');
        digits += frac;
        std::uint64_t mag = 0;
        const auto res = std::from_chars(digits.data(), digits.data() + digits.size(), mag);
        if (res.ec != std::errc() || res.ptr != digits.data() + digits.size() ||
            mag > (neg ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1))
            Error("Invalid currency value");
        const auto v = neg ? static_cast<std::int64_t>(0 - mag) : static_cast<std::int64_t>(mag);
        w_.WriteValue(vaCurrency);
        Byte bytes[8];
        for (int i = 0; i < 8; ++i) bytes[i] = static_cast<Byte>(static_cast<std::uint64_t>(v) >> (8 * i));
        w_.Write(bytes, 8);
    }

    void Binary() {
        // Hex digits up to '}', whitespace anywhere between them.
        std::string bytes;
        int half = -1;
        for (;;) {
            if (pos_ >= src_.size()) Error("'}' expected");
            const char c = src_[pos_++];
            if (c == '}') break;
            if (c == '\n') ++line_;
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
            int v = -1;
            if (c >= '0' && c <= '9') v = c - '0';
            if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
            if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
            if (v < 0) Error("Invalid binary value");
            if (half < 0) {
                half = v;
            } else {
                bytes += static_cast<char>(half * 16 + v);
                half = -1;
            }
        }
        if (half >= 0) Error("Invalid binary value");
        if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<LongInt>::max()))
            Error("Invalid binary value");
        w_.WriteValue(vaBinary);
        const auto n = static_cast<std::uint32_t>(bytes.size());
        const Byte size[4] = {static_cast<Byte>(n), static_cast<Byte>(n >> 8), static_cast<Byte>(n >> 16),
                              static_cast<Byte>(n >> 24)};
        w_.Write(size, 4);
        w_.Write(bytes.data(), static_cast<LongInt>(bytes.size()));
        Next();
    }

    // ----- the scanner

    static bool IsAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    char Peek(std::size_t ahead = 0) const { return pos_ + ahead < src_.size() ? src_[pos_ + ahead] : '\0'; }

    void Next() {
        for (;;) {
            const char c = Peek();
            if (c == '\n') ++line_;
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                ++pos_;
                continue;
            }
            break;
        }
        text_.clear();
        suffix_ = 0;
        if (pos_ >= src_.size()) {
            tok_ = Tok::Eof;
            return;
        }
        const char c = Peek();
        if (IsAlpha(c)) {
            const std::size_t start = pos_;
            while (IsAlpha(Peek()) || IsDigit(Peek())) ++pos_;
            text_ = std::string(src_.substr(start, pos_ - start));
            tok_ = Tok::Symbol;
        } else if (c == '\'' || c == '#') {
            ScanString();
        } else if (IsDigit(c) || (c == '-' && IsDigit(Peek(1)))) {
            ScanNumber();
        } else if (c == '$') {
            ScanHex();
        } else {
            text_ = std::string(1, c);
            ++pos_;
            tok_ = Tok::Char;
        }
    }

    void ScanString() {
        string_.clear();
        for (;;) {
            if (Peek() == '\'') {
                ++pos_;
                std::string run;
                for (;;) {
                    if (pos_ >= src_.size() || Peek() == '\n' || Peek() == '\r') Error("Unterminated string");
                    const char ch = src_[pos_++];
                    if (ch == '\'') {
                        if (Peek() != '\'') break;
                        ++pos_;
                    }
                    run += ch;
                }
                string_ += UTF8ToString(run);
            } else if (Peek() == '#') {
                ++pos_;
                std::uint32_t code = 0;
                std::from_chars_result res{};
                if (Peek() == '$')
                    ++pos_, res = std::from_chars(src_.data() + pos_, src_.data() + src_.size(), code, 16);
                else
                    res = std::from_chars(src_.data() + pos_, src_.data() + src_.size(), code);
                if (res.ec != std::errc() || code > 0xFFFF) Error("Invalid string constant");
                pos_ = static_cast<std::size_t>(res.ptr - src_.data());
                string_ += static_cast<char16_t>(code);
            } else {
                break;
            }
        }
        tok_ = Tok::String;
    }

    void ScanNumber() {
        const std::size_t start = pos_;
        bool isFloat = false;
        if (Peek() == '-') ++pos_;
        while (IsDigit(Peek())) ++pos_;
        if (Peek() == '.' && IsDigit(Peek(1))) {
            isFloat = true;
            ++pos_;
            while (IsDigit(Peek())) ++pos_;
        }
        if ((Peek() == 'e' || Peek() == 'E') &&
            (IsDigit(Peek(1)) || ((Peek(1) == '-' || Peek(1) == '+') && IsDigit(Peek(2))))) {
            isFloat = true;
            pos_ += 2;
            while (IsDigit(Peek())) ++pos_;
        }
        text_ = std::string(src_.substr(start, pos_ - start));
        const char s = static_cast<char>(Peek() | 0x20);
        if (s == 's' || s == 'c' || s == 'd' || s == 'f') {
            if (!IsAlpha(Peek(1)) && !IsDigit(Peek(1))) {
                suffix_ = s;
                isFloat = true;
                ++pos_;
            }
        }
        if (isFloat) {
            tok_ = Tok::Float;
            return;
        }
        const auto res = std::from_chars(text_.data(), text_.data() + text_.size(), int_);
        if (res.ec != std::errc()) Error("Number out of range");
        tok_ = Tok::Integer;
    }

    void ScanHex() {
        ++pos_;
        std::uint64_t v = 0;
        const auto res = std::from_chars(src_.data() + pos_, src_.data() + src_.size(), v, 16);
        if (res.ec != std::errc()) Error("Invalid hexadecimal number");
        pos_ = static_cast<std::size_t>(res.ptr - src_.data());
        int_ = static_cast<std::int64_t>(v);
        tok_ = Tok::Integer;
    }

    std::string_view src_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int depth_ = 0;
    Tok tok_ = Tok::Eof;
    std::string text_;
    String string_;
    std::int64_t int_ = 0;
    char suffix_ = 0;
    TWriter& w_;
};

} // namespace

void ObjectBinaryToText(TStream* Input, TStream* Output) {
    TReader reader(Input);
    reader.ReadSignature();
    TextOut out(Output);
    BinaryToText(reader, out).Object();
}

void ObjectTextToBinary(TStream* Input, TStream* Output) {
    const Int64 size = Input->GetSize() - Input->GetPosition();
    if (size < 0 || size > std::numeric_limits<LongInt>::max()) throw EReadError(u"Stream read error");
    std::string text(static_cast<std::size_t>(size), '\0');
    Input->ReadBuffer(text.data(), static_cast<LongInt>(size));
    TWriter writer(Output);
    writer.WriteSignature();
    TextToBinary parser(text, writer);
    parser.Object();
    parser.End();
}
