#include "platform/core/filer.h"

#include "platform/core/sysutils.h"

#include <bit>
#include <cmath>
#include <limits>
#include <utility>

namespace {

template <class T>
void PutLE(TWriter& w, T value) {
    Byte bytes[sizeof(T)];
    auto bits = static_cast<std::make_unsigned_t<T>>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<Byte>(bits >> (8 * i));
    w.Write(bytes, sizeof(T));
}

bool IsAscii(std::u16string_view s) {
    for (char16_t c : s)
        if (c >= 0x80) return false;
    return true;
}

// UTF-8 cannot carry a lone surrogate; such text travels as UTF-16.
bool HasLoneSurrogate(std::u16string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] >= 0xD800 && s[i] <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF)
            ++i;
        else if (s[i] >= 0xD800 && s[i] <= 0xDFFF)
            return true;
    }
    return false;
}

LongInt CheckedLength(std::size_t n) {
    if (n > static_cast<std::size_t>(std::numeric_limits<LongInt>::max()))
        throw EWriteError(u"Stream write error");
    return static_cast<LongInt>(n);
}

// Marks a component as being written for the duration of a scope.
class WritingScope {
public:
    explicit WritingScope(TComponent* c) : c_(c) { c_->IncludeState(csWriting); }
    ~WritingScope() { c_->ExcludeState(csWriting); }
    WritingScope(const WritingScope&) = delete;
    WritingScope& operator=(const WritingScope&) = delete;

private:
    TComponent* c_;
};

} // namespace

const ClassInfo& TWriter::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TWriter>("TWriter", &TFiler::StaticClass());
    return ci;
}

TWriter::TWriter(TStream* Stream, int BufSize) : TFiler(Stream, BufSize) {}

void TWriter::Write(const void* Buffer, LongInt Count) {
    FStream->WriteBuffer(Buffer, Count);
}

void TWriter::WriteValue(TValueType Value) {
    const Byte b = Value;
    Write(&b, 1);
}

void TWriter::WriteSignature() {
    Write(FilerSignature, 4);
}

void TWriter::WritePrefix(TFilerFlags Flags, int ChildPos) {
    if (Flags.Empty()) return;
    const Byte b = static_cast<Byte>(0xF0 | Flags.Bits());
    Write(&b, 1);
    if (Flags.Contains(ffChildPos)) WriteInteger(ChildPos);
}

void TWriter::WriteStr(std::string_view Value) {
    if (Value.size() > 255) throw EWriteError(u"Name too long for the stream: %s", {UTF8ToString(Value)});
    const Byte n = static_cast<Byte>(Value.size());
    Write(&n, 1);
    Write(Value.data(), n);
}

void TWriter::WriteIdent(std::string_view Ident) {
    if (SameIdent(Ident, "False"))
        WriteValue(vaFalse);
    else if (SameIdent(Ident, "True"))
        WriteValue(vaTrue);
    else if (SameIdent(Ident, "nil"))
        WriteValue(vaNil);
    else if (SameIdent(Ident, "Null"))
        WriteValue(vaNull);
    else {
        WriteValue(vaIdent);
        WriteStr(Ident);
    }
}

void TWriter::WriteListBegin() {
    WriteValue(vaList);
}

void TWriter::WriteListEnd() {
    WriteValue(vaNull);
}

void TWriter::WriteBoolean(bool Value) {
    WriteValue(Value ? vaTrue : vaFalse);
}

void TWriter::WriteChar(Char Value) {
    WriteString(String(1, Value));
}

void TWriter::WriteInteger(Int64 Value) {
    if (Value >= -128 && Value <= 127) {
        WriteValue(vaInt8);
        PutLE(*this, static_cast<std::int8_t>(Value));
    } else if (Value >= -32768 && Value <= 32767) {
        WriteValue(vaInt16);
        PutLE(*this, static_cast<std::int16_t>(Value));
    } else if (Value >= std::numeric_limits<std::int32_t>::min() &&
               Value <= std::numeric_limits<std::int32_t>::max()) {
        WriteValue(vaInt32);
        PutLE(*this, static_cast<std::int32_t>(Value));
    } else {
        WriteValue(vaInt64);
        PutLE(*this, Value);
    }
}

void TWriter::WriteExtended80(const TExtended80& Value) {
    WriteValue(vaExtended);
    Write(Value.data(), 10);
}

void TWriter::WriteFloat(Extended Value) {
    WriteExtended80(DoubleToExtended(Value));
}

void TWriter::WriteSingle(Single Value) {
    WriteValue(vaSingle);
    PutLE(*this, std::bit_cast<std::uint32_t>(Value));
}

void TWriter::WriteDouble(double Value) {
    WriteValue(vaDouble);
    PutLE(*this, std::bit_cast<std::uint64_t>(Value));
}

void TWriter::WriteCurrency(double Value) {
    const double scaled = std::round(Value * 10000.0);
    if (!(std::fabs(scaled) < 9.2233720368547758e18))
        throw EWriteError(u"Currency value out of range: %s", {UTF8ToString(std::to_string(Value))});
    WriteValue(vaCurrency);
    PutLE(*this, static_cast<std::int64_t>(scaled));
}

void TWriter::WriteDate(TDateTime Value) {
    WriteValue(vaDate);
    PutLE(*this, std::bit_cast<std::uint64_t>(Value));
}

void TWriter::WriteString(const String& Value) {
    if (IsAscii(Value)) {
        const std::string bytes(Value.begin(), Value.end());
        if (bytes.size() <= 255) {
            WriteValue(vaString);
            WriteStr(bytes);
        } else {
            WriteValue(vaLString);
            PutLE(*this, CheckedLength(bytes.size()));
            Write(bytes.data(), static_cast<LongInt>(bytes.size()));
        }
        return;
    }
    if (!HasLoneSurrogate(Value)) {
        const AnsiString utf8 = UTF8Encode(Value);
        if (utf8.size() < 2 * Value.size()) {
            WriteUTF8String(utf8);
            return;
        }
    }
    WriteWideString(Value);
}

void TWriter::WriteWideString(const WideString& Value) {
    WriteValue(vaWString);
    PutLE(*this, CheckedLength(Value.size()));
    std::string bytes(2 * Value.size(), '\0');
    for (std::size_t i = 0; i < Value.size(); ++i) {
        bytes[2 * i] = static_cast<char>(Value[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(Value[i] >> 8);
    }
    Write(bytes.data(), CheckedLength(bytes.size()));
}

void TWriter::WriteUTF8String(const AnsiString& Value) {
    WriteValue(vaUTF8String);
    PutLE(*this, CheckedLength(Value.size()));
    Write(Value.data(), static_cast<LongInt>(Value.size()));
}

void TWriter::WriteSet(std::uint64_t Bits, const EnumInfo& Info) {
    WriteValue(vaSet);
    for (int i = 0; i < 64; ++i) {
        if (!(Bits & (std::uint64_t{1} << i))) continue;
        const std::string_view name = Info.NameOf(i);
        if (!name.empty()) WriteStr(name); // a bit without a name is no element
    }
    WriteStr({});
}

// ---------------------------------------------------------------------------
// Defined properties

void TWriter::DefineProperty(std::string_view Name, const TReaderProc&, const TWriterProc& WriteData,
                             bool HasData) {
    if (!HasData || !WriteData) return;
    WritePropName(Name);
    WriteData(this);
}

void TWriter::DefineBinaryProperty(std::string_view Name, const TStreamProc&, const TStreamProc& WriteData,
                                   bool HasData) {
    if (!HasData || !WriteData) return;
    WritePropName(Name);
    WriteValue(vaBinary);
    TMemoryStream block;
    WriteData(&block);
    const Int64 size = block.GetSize();
    if (size > std::numeric_limits<LongInt>::max()) throw EWriteError(u"Stream write error");
    PutLE(*this, static_cast<std::int32_t>(size));
    Write(block.Memory(), static_cast<LongInt>(size));
}

// ---------------------------------------------------------------------------
// Components and their properties

void TWriter::WritePropName(std::string_view Name) {
    WriteStr(FPropPath + std::string(Name));
}

void TWriter::WriteRootComponent(TComponent* Root) {
    SetRoot(Root);
    WriteSignature();
    WriteComponent(Root);
}

void TWriter::WriteComponent(TComponent* Component) {
    WritingScope writing(Component);
    Component->WriteState(this);
}

void TWriter::WriteData(TComponent* Instance) {
    WriteStr(Instance->ClassNameA());
    WriteStr(UTF8Encode(Instance->GetName()));
    WriteProperties(Instance);
    WriteListEnd();
    if (!FIgnoreChildren) Instance->GetChildren([this](TComponent* Child) { WriteComponent(Child); }, FRoot);
    WriteListEnd();
}

void TWriter::WriteProperties(TPersistent* Instance) {
    for (const PropInfo* p : Instance->ClassType().AllProps()) WriteProperty(Instance, *p);
    Instance->DefineProperties(this);
}

void TWriter::WriteNested(TPersistent* Value, std::string_view Name) {
    const std::string saved = FPropPath;
    FPropPath += std::string(Name) + ".";
    try {
        WriteProperties(Value);
    } catch (...) {
        FPropPath = saved;
        throw;
    }
    FPropPath = saved;
}

void TWriter::WriteCollection(TCollection* Value,
                              const std::function<void(TWriter* Writer, TCollectionItem* Item)>& WriteHead) {
    // Item properties carry no prefix, whatever object holds the collection.
    const std::string saved = std::exchange(FPropPath, std::string());
    try {
        WriteValue(vaCollection);
        if (Value)
            for (TCollectionItem* item : *Value) {
                WriteListBegin();
                if (WriteHead) WriteHead(this, item);
                WriteProperties(item);
                WriteListEnd();
            }
        WriteListEnd();
    } catch (...) {
        FPropPath = saved;
        throw;
    }
    FPropPath = saved;
}

std::string TWriter::GetComponentValue(TComponent* Component) const {
    const std::string name = UTF8Encode(Component->GetName());
    if (Component == FLookupRoot) return "Owner";
    if (name.empty()) return {};
    TComponent* owner = Component->GetOwner();
    // What the lookup root or the root holds is found again by its name alone.
    if (owner == FLookupRoot || owner == FRoot || !owner) return name;
    const std::string ownerName = UTF8Encode(owner->GetName());
    return ownerName.empty() ? std::string{} : ownerName + "." + name;
}

void TWriter::WriteProperty(TPersistent* Instance, const PropInfo& Prop) {
    if (!IsStoredProp(*Instance, Prop)) return;
    // A stored test or 'nodefault' writes the property whatever its value.
    const bool always = Prop.stored || Prop.nodefault;
    switch (Prop.kind) {
    case PropKind::Integer:
    case PropKind::Int64:
    case PropKind::Char:
    case PropKind::Bool:
    case PropKind::Enum:
    case PropKind::Set: {
        if (!Prop.setOrd) return;
        const std::int64_t v = Prop.getOrd(*Instance);
        if (!always && Prop.hasDefault && v == Prop.defaultOrd) return;
        WritePropName(Prop.name);
        std::string ident;
        switch (Prop.kind) {
        case PropKind::Integer:
            if (Prop.idents && Prop.idents->toIdent && Prop.idents->toIdent(v, ident))
                WriteIdent(ident);
            else
                WriteInteger(static_cast<std::int32_t>(v)); // 32-bit pattern, unsigned types too
            break;
        case PropKind::Int64:
            WriteInteger(v);
            break;
        case PropKind::Char:
            WriteChar(static_cast<Char>(v));
            break;
        case PropKind::Bool:
            WriteBoolean(v != 0);
            break;
        case PropKind::Enum: {
            const std::string_view name = Prop.enumInfo().NameOf(static_cast<int>(v));
            if (name.empty())
                WriteInteger(v);
            else
                WriteIdent(name);
            break;
        }
        default:
            WriteSet(static_cast<std::uint64_t>(v), Prop.enumInfo());
            break;
        }
        return;
    }
    case PropKind::Float: {
        if (!Prop.setFloat) return;
        const double v = Prop.getFloat(*Instance);
        const double dflt = Prop.hasDefault ? static_cast<double>(Prop.defaultOrd) : 0.0;
        if (!always && v == dflt) return;
        WritePropName(Prop.name);
        switch (Prop.floatKind) {
        case FloatKind::Extended:
            WriteFloat(v);
            break;
        case FloatKind::Double:
            WriteDouble(v);
            break;
        case FloatKind::Single:
            WriteSingle(static_cast<Single>(v));
            break;
        case FloatKind::Currency:
            WriteCurrency(v);
            break;
        case FloatKind::Date:
            WriteDate(v);
            break;
        }
        return;
    }
    case PropKind::String: {
        if (!Prop.setStr) return;
        const String v = Prop.getStr(*Instance);
        if (!always && v.empty()) return;
        WritePropName(Prop.name);
        WriteString(v);
        return;
    }
    case PropKind::Method: {
        const EventBase* ev = Prop.event(*Instance);
        const std::string& name = ev->MethodName();
        if (name.empty() && !always) return;
        WritePropName(Prop.name);
        if (name.empty())
            WriteValue(vaNil);
        else
            WriteIdent(name);
        return;
    }
    case PropKind::Component: {
        auto* c = static_cast<TComponent*>(Prop.getObj(*Instance));
        if (c && c->GetComponentStyle().Contains(csSubComponent)) {
            WriteNested(c, Prop.name);
            return;
        }
        if (!Prop.setObj) return;
        if (!c) {
            if (always) {
                WritePropName(Prop.name);
                WriteValue(vaNil);
            }
            return;
        }
        const std::string ref = GetComponentValue(c);
        if (ref.empty()) return; // an unnamed component cannot be found again
        WritePropName(Prop.name);
        WriteIdent(ref);
        return;
    }
    case PropKind::Object: {
        TObject* o = Prop.getObj(*Instance);
        if (auto* collection = dynamic_cast<TCollection*>(o)) {
            WritePropName(Prop.name);
            WriteCollection(collection);
        } else if (auto* p = dynamic_cast<TPersistent*>(o)) {
            WriteNested(p, Prop.name);
        }
        return;
    }
    }
}
