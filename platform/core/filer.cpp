#include "platform/core/filer.h"

#include "platform/core/sysutils.h"

#include <bit>
#include <cstring>

namespace {

std::uint64_t MantissaOf(const TExtended80& x) {
    std::uint64_t m = 0;
    for (int i = 7; i >= 0; --i) m = (m << 8) | x[static_cast<std::size_t>(i)];
    return m;
}

unsigned SignExponentOf(const TExtended80& x) {
    return static_cast<unsigned>(x[8]) | (static_cast<unsigned>(x[9]) << 8);
}

// Mantissa >> Shift (1..64), rounded to nearest with ties to even.
std::uint64_t ShiftRounded(std::uint64_t Mantissa, int Shift) {
    const std::uint64_t q = Shift >= 64 ? 0 : Mantissa >> Shift;
    const std::uint64_t rem = Shift >= 64 ? Mantissa : Mantissa & ((std::uint64_t{1} << Shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (Shift - 1);
    return (rem > half || (rem == half && (q & 1))) ? q + 1 : q;
}

} // namespace

TExtended80 DoubleToExtended(double Value) {
    const auto bits = std::bit_cast<std::uint64_t>(Value);
    const unsigned sign = static_cast<unsigned>(bits >> 63);
    const int exp = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t frac = bits & ((std::uint64_t{1} << 52) - 1);
    std::uint64_t mant = 0;
    unsigned e = 0;
    if (exp == 0x7FF) { // infinities and NaNs keep their payload
        e = 0x7FFF;
        mant = (std::uint64_t{1} << 63) | (frac << 11);
    } else if (exp == 0) {
        if (frac != 0) { // a subnormal double is a normal extended
            const int top = 63 - std::countl_zero(frac);
            e = static_cast<unsigned>(top - 1074 + 16383);
            mant = frac << (63 - top);
        }
    } else {
        e = static_cast<unsigned>(exp - 1023 + 16383);
        mant = (std::uint64_t{1} << 63) | (frac << 11);
    }
    TExtended80 out{};
    for (std::size_t i = 0; i < 8; ++i) out[i] = static_cast<Byte>(mant >> (8 * i));
    const unsigned se = (sign << 15) | e;
    out[8] = static_cast<Byte>(se);
    out[9] = static_cast<Byte>(se >> 8);
    return out;
}

double ExtendedToDouble(const TExtended80& Value) {
    std::uint64_t mant = MantissaOf(Value);
    const unsigned se = SignExponentOf(Value);
    const std::uint64_t sign = static_cast<std::uint64_t>(se >> 15) << 63;
    int e = static_cast<int>(se & 0x7FFF);
    if (e == 0x7FFF) {
        const std::uint64_t frac = (mant << 1) >> 12;
        if ((mant << 1) == 0) return std::bit_cast<double>(sign | (std::uint64_t{0x7FF} << 52));
        // A NaN whose payload lives only in the low bits stays a NaN.
        return std::bit_cast<double>(sign | (std::uint64_t{0x7FF} << 52) |
                                     (frac ? frac : std::uint64_t{1} << 51));
    }
    if (mant == 0) return std::bit_cast<double>(sign);
    // Normalise (denormal and unnormal encodings too), then round into 53 bits.
    const int lz = std::countl_zero(mant);
    mant <<= lz;
    const int unbiased = (e == 0 ? 1 : e) - 16383 - lz;
    if (unbiased > 1023) return std::bit_cast<double>(sign | (std::uint64_t{0x7FF} << 52));
    if (unbiased >= -1022) {
        // q carries the implicit bit; adding it bumps the exponent field, and a
        // rounding carry into 2^53 bumps it once more (up to infinity).
        const std::uint64_t q = ShiftRounded(mant, 11);
        return std::bit_cast<double>(sign + (static_cast<std::uint64_t>(unbiased + 1023 - 1) << 52) + q);
    }
    const int shift = -1011 - unbiased; // into units of 2^-1074
    if (shift > 64) return std::bit_cast<double>(sign);
    return std::bit_cast<double>(sign | ShiftRounded(mant, shift));
}

bool ExtendedIsDouble(const TExtended80& Value) {
    const double d = ExtendedToDouble(Value);
    if (d != d) return false; // NaN payloads need not survive
    return DoubleToExtended(d) == Value;
}

// ---------------------------------------------------------------------------
// TFiler

const ClassInfo& TFiler::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TFiler>("TFiler", &TObject::StaticClass());
    return ci;
}

TFiler::TFiler(TStream* Stream, int BufSize) : FStream(Stream) {}

void TFiler::SetRoot(TComponent* Value) {
    FRoot = Value;
    FLookupRoot = Value;
}

// ---------------------------------------------------------------------------
// The component side of the streams.

void TComponent::DefineProperties(TFiler* Filer) {
    Filer->DefineProperty(
        "Left", [this](TReader* Reader) { FDesignLeft = Reader->ReadInteger(); },
        [this](TWriter* Writer) { Writer->WriteInteger(FDesignLeft); }, FDesignLeft != 0);
    Filer->DefineProperty(
        "Top", [this](TReader* Reader) { FDesignTop = Reader->ReadInteger(); },
        [this](TWriter* Writer) { Writer->WriteInteger(FDesignTop); }, FDesignTop != 0);
}

void TComponent::ReadState(TReader* Reader) {
    Reader->ReadData(this);
}

void TComponent::WriteState(TWriter* Writer) {
    Writer->WriteData(this);
}

void TStrings::DefineProperties(TFiler* Filer) {
    Filer->DefineProperty(
        "Strings",
        [this](TReader* Reader) {
            Reader->ReadListBegin();
            BeginUpdate();
            try {
                Clear();
                while (!Reader->EndOfList()) Add(Reader->ReadString());
            } catch (...) {
                EndUpdate();
                throw;
            }
            EndUpdate();
            Reader->ReadListEnd();
        },
        [this](TWriter* Writer) {
            Writer->WriteListBegin();
            for (int i = 0; i < GetCount(); ++i) Writer->WriteString(Get(i));
            Writer->WriteListEnd();
        },
        GetCount() > 0);
}

void TStream::WriteComponent(TComponent* Instance) {
    TWriter writer(this, 4096);
    writer.WriteRootComponent(Instance);
}

TComponent* TStream::ReadComponent(TComponent* Instance) {
    TReader reader(this, 4096);
    return reader.ReadRootComponent(Instance);
}

TComponent* FindNestedComponent(TComponent* Root, std::string_view NamePath) {
    TComponent* result = Root;
    bool first = true;
    while (result && !NamePath.empty()) {
        const std::size_t dot = NamePath.find('.');
        const std::string_view part = NamePath.substr(0, dot);
        NamePath = dot == std::string_view::npos ? std::string_view{} : NamePath.substr(dot + 1);
        if (part.empty()) return nullptr;
        TComponent* next = result->FindComponent(IdentToString(part));
        if (!next && first && (SameIdent(part, "Owner") || SameIdent(UTF8Encode(Root->GetName()), part)))
            next = Root;
        result = next;
        first = false;
    }
    return result;
}
