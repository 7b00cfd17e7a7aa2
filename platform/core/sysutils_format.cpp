// Pascal-style Format: "%" [index ":"] ["-"] [width] ["." precision] type.

#include "platform/core/sysutils.h"

#include <charconv>

namespace {

class Formatter {
public:
    Formatter(const String& fmt, std::span<const TVarRec> args, const TFormatSettings& fs)
        : fmt_(fmt), args_(args), fs_(fs) {}

    String Run() {
        while (i_ < fmt_.size()) {
            const Char c = fmt_[i_++];
            if (c != u'%') {
                out_.push_back(c);
                continue;
            }
            if (At() == u'%') {
                out_.push_back(u'%');
                ++i_;
                continue;
            }
            Spec();
        }
        return std::move(out_);
    }

private:
    Char At() const { return i_ < fmt_.size() ? fmt_[i_] : Char{0}; }

    [[noreturn]] void Invalid() const {
        throw EConvertError(u"Format '" + fmt_ + u"' invalid or incompatible with argument");
    }

    const TVarRec& NextArg() {
        if (argIndex_ >= args_.size()) throw EConvertError(u"No argument for format '" + fmt_ + u"'");
        return args_[argIndex_++];
    }

    // A number or '*' (taken from the arguments); false when neither is there.
    bool Number(int& value) {
        if (At() == u'*') {
            ++i_;
            const TVarRec& a = NextArg();
            if (a.kind != TVarRec::vtInteger) Invalid();
            value = static_cast<int>(a.i);
            return true;
        }
        if (At() < u'0' || At() > u'9') return false;
        std::int64_t v = 0;
        while (At() >= u'0' && At() <= u'9') {
            v = std::min<std::int64_t>(v * 10 + (At() - u'0'), 1 << 30);
            ++i_;
        }
        value = static_cast<int>(v);
        return true;
    }

    void Spec() {
        int n = 0;
        bool haveNumber = Number(n);
        if (haveNumber && At() == u':') {
            ++i_;
            if (n < 0) Invalid();
            argIndex_ = static_cast<std::size_t>(n);
            haveNumber = false;
        }
        bool left = false;
        if (!haveNumber && At() == u'-') {
            left = true;
            ++i_;
        }
        int width = 0;
        if (haveNumber)
            width = n;
        else
            Number(width);
        int prec = -1;
        if (At() == u'.') {
            ++i_;
            prec = 0;
            Number(prec);
        }
        const Char type = At();
        if (type == 0) Invalid();
        ++i_;
        String text = Convert(type, NextArg(), prec);
        if (width > static_cast<int>(text.size())) {
            const std::size_t pad = static_cast<std::size_t>(width) - text.size();
            if (left)
                text.append(pad, u' ');
            else
                text.insert(0, pad, u' ');
        }
        out_ += text;
    }

    String Convert(Char type, const TVarRec& a, int prec) {
        const bool integer = a.kind == TVarRec::vtInteger || a.kind == TVarRec::vtInt64;
        auto withMinDigits = [&](String digits, bool negative) {
            if (prec > static_cast<int>(digits.size()))
                digits.insert(0, static_cast<std::size_t>(prec) - digits.size(), u'0');
            return negative ? u"-" + digits : digits;
        };
        auto unsignedBits = [&] {
            // A 32-bit argument shows its 32-bit two's complement.
            return a.kind == TVarRec::vtInteger ? static_cast<std::uint64_t>(static_cast<std::uint32_t>(a.i))
                                                : static_cast<std::uint64_t>(a.i);
        };
        auto flt = [&](TFloatFormat f, int precision, int digits) {
            if (a.kind != TVarRec::vtExtended) Invalid();
            return FloatToStrF(a.d, f, precision, digits, fs_);
        };
        switch (type) {
        case u'd':
        case u'D': {
            if (!integer) Invalid();
            const std::uint64_t magnitude = a.i < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(a.i)
                                                    : static_cast<std::uint64_t>(a.i);
            return withMinDigits(Decimal(magnitude), a.i < 0);
        }
        case u'u':
        case u'U':
            if (!integer) Invalid();
            return withMinDigits(Decimal(unsignedBits()), false);
        case u'x':
        case u'X':
            if (!integer) Invalid();
            return withMinDigits(IntToHexBits(unsignedBits(), 0), false);
        case u'e':
        case u'E':
            return flt(ffExponent, prec < 0 ? 15 : prec, 3);
        case u'f':
        case u'F':
            return flt(ffFixed, 18, prec < 0 ? 2 : prec);
        case u'g':
        case u'G':
            return flt(ffGeneral, prec < 0 ? 15 : prec, 3);
        case u'n':
        case u'N':
            return flt(ffNumber, 18, prec < 0 ? 2 : prec);
        case u'm':
        case u'M':
            return flt(ffCurrency, 18, prec < 0 ? fs_.CurrencyDecimals : prec);
        case u's':
        case u'S': {
            if (a.kind != TVarRec::vtString && a.kind != TVarRec::vtChar) Invalid();
            if (prec >= 0 && prec < static_cast<int>(a.s.size()))
                return a.s.substr(0, static_cast<std::size_t>(prec));
            return a.s;
        }
        case u'p':
        case u'P':
            if (a.kind != TVarRec::vtPointer) Invalid();
            return IntToHexBits(reinterpret_cast<std::uintptr_t>(a.p), static_cast<int>(sizeof(void*) * 2));
        default:
            Invalid();
        }
    }

    static String Decimal(std::uint64_t v) {
        char buf[24];
        const auto res = std::to_chars(buf, buf + sizeof buf, v);
        return String(buf, res.ptr);
    }

    const String& fmt_;
    std::span<const TVarRec> args_;
    const TFormatSettings& fs_;
    std::size_t i_ = 0;
    std::size_t argIndex_ = 0;
    String out_;
};

} // namespace

String Format(const String& fmt, std::span<const TVarRec> args, const TFormatSettings& fs) {
    return Formatter(fmt, args, fs).Run();
}

String Format(const String& fmt, std::initializer_list<TVarRec> args, const TFormatSettings& fs) {
    return Format(fmt, std::span<const TVarRec>(args.begin(), args.size()), fs);
}

String Format(const String& fmt, std::span<const TVarRec> args) {
    return Format(fmt, args, FormatSettings);
}

String Format(const String& fmt, std::initializer_list<TVarRec> args) {
    return Format(fmt, args, FormatSettings);
}
