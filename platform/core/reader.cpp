#include "platform/core/filer.h"

#include "platform/core/sysutils.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <unordered_set>

namespace {

// The stream itself is damaged: never offered to Error, since reading on
// from an unknown place could only make things worse.
class EStreamCorrupt final : public EReadError {
public:
    using EReadError::EReadError;
};

constexpr int kMaxNesting = 256;

[[noreturn]] void Corrupt() {
    throw EStreamCorrupt(u"Invalid stream format");
}

[[noreturn]] void Truncated() {
    throw EStreamCorrupt(u"Stream read error");
}

[[noreturn]] void PropValueError() {
    throw EReadError(u"Invalid property value");
}

bool IsIntTag(TValueType t) {
    return t == vaInt8 || t == vaInt16 || t == vaInt32 || t == vaInt64;
}

String Wide(std::string_view s) {
    return UTF8ToString(s);
}

// A second form of one class under one owner gets the stream's name with "_1", "_2", ...,
// as the class library names it, rather than failing on the name the first one holds.
std::string UniqueRootName(TComponent* Root, const std::string& Name) {
    TComponent* owner = Root->GetOwner();
    if (!owner || Name.empty()) return Name;
    std::string result = Name;
    for (int i = 1;; ++i) {
        TComponent* holder = owner->FindComponent(Wide(result));
        if (!holder || holder == Root) return result;
        result = Name + "_" + std::to_string(i);
    }
}

// Takes the marks of a failed read off the components that are still there.
// Everything a read creates is owned by its root, so the root and its owned
// components are the survivors: a component freed on the way out (a parent
// that failed to read frees the children it holds) is no longer listed and
// must not be touched.
void ClearReadState(TComponent* root, const std::vector<TComponent*>& components) {
    const std::unordered_set<const TComponent*> alive(root->Components().begin(), root->Components().end());
    for (TComponent* c : components) {
        if (c != root && !alive.contains(c)) continue;
        c->ExcludeState(csReading);
        c->ExcludeState(csLoading);
    }
}

} // namespace

const ClassInfo& TReader::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TReader>("TReader", &TFiler::StaticClass());
    return ci;
}

TReader::TReader(TStream* Stream, int BufSize) : TFiler(Stream, BufSize) {}

TReader::Nesting::Nesting(TReader& Reader) : reader_(Reader) {
    if (++reader_.FDepth > kMaxNesting) {
        --reader_.FDepth;
        throw EStreamCorrupt(u"Invalid stream format: nesting too deep");
    }
}

// ---------------------------------------------------------------------------
// Raw values

Int64 TReader::Remaining() {
    return FStream->GetSize() - FStream->GetPosition();
}

void TReader::Read(void* Buffer, LongInt Count) {
    if (Count <= 0) return;
    if (FStream->Read(Buffer, Count) != Count) Truncated();
}

void TReader::SkipBytes(Int64 Count) {
    if (Count < 0 || Count > Remaining()) Truncated();
    FStream->Seek(Count, soCurrent);
}

namespace {
template <class T>
T GetLE(TReader& r) {
    Byte bytes[sizeof(T)];
    r.Read(bytes, sizeof(T));
    std::make_unsigned_t<T> v = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) v = static_cast<std::make_unsigned_t<T>>((v << 8) | bytes[i]);
    return static_cast<T>(v);
}
} // namespace

TValueType TReader::ReadValue() {
    Byte b = 0;
    Read(&b, 1);
    if (b > vaDouble) Corrupt();
    return static_cast<TValueType>(b);
}

TValueType TReader::NextValue() {
    const TValueType t = ReadValue();
    FStream->Seek(-1, soCurrent);
    return t;
}

void TReader::CheckValue(TValueType Value) {
    if (ReadValue() != Value) throw EStreamCorrupt(u"Invalid property value");
}

bool TReader::EndOfList() {
    // Where a list of properties or objects may end, the next byte is either
    // the end marker or the length of a name, which may exceed every value tag.
    Byte b = 0;
    Read(&b, 1);
    FStream->Seek(-1, soCurrent);
    return b == vaNull;
}

void TReader::ReadListBegin() {
    CheckValue(vaList);
}

void TReader::ReadListEnd() {
    CheckValue(vaNull);
}

void TReader::WrongValue() {
    // The tag was just read: step back and skip the whole value, so that the
    // caller can recover at the next property.
    FStream->Seek(-1, soCurrent);
    SkipValue();
    PropValueError();
}

std::string TReader::ReadStr() {
    Byte n = 0;
    Read(&n, 1);
    std::string s(n, '\0');
    Read(s.data(), n);
    return s;
}

std::string TReader::ReadLongBytes(Int64 UnitSize) {
    const Int64 n = GetLE<std::int32_t>(*this);
    if (n < 0 || n * UnitSize > Remaining()) Truncated();
    std::string s(static_cast<std::size_t>(n * UnitSize), '\0');
    Read(s.data(), static_cast<LongInt>(s.size()));
    return s;
}

TExtended80 TReader::ReadExtended80() {
    TExtended80 x{};
    Read(x.data(), 10);
    return x;
}

Int64 TReader::ReadIntBody(TValueType Type) {
    switch (Type) {
    case vaInt8:
        return GetLE<std::int8_t>(*this);
    case vaInt16:
        return GetLE<std::int16_t>(*this);
    case vaInt32:
        return GetLE<std::int32_t>(*this);
    default:
        return GetLE<std::int64_t>(*this);
    }
}

Integer TReader::ReadInteger() {
    const TValueType t = ReadValue();
    if (!IsIntTag(t)) WrongValue();
    const Int64 v = ReadIntBody(t);
    if (v < std::numeric_limits<Integer>::min() || v > std::numeric_limits<Integer>::max()) PropValueError();
    return static_cast<Integer>(v);
}

Int64 TReader::ReadInt64() {
    const TValueType t = ReadValue();
    if (!IsIntTag(t)) WrongValue();
    return ReadIntBody(t);
}

bool TReader::ReadBoolean() {
    const TValueType t = ReadValue();
    if (t == vaTrue) return true;
    if (t == vaFalse) return false;
    if (t != vaIdent) WrongValue();
    const std::string name = ReadStr();
    if (SameIdent(name, "True")) return true;
    if (SameIdent(name, "False")) return false;
    PropValueError();
}

Char TReader::ReadChar() {
    const String s = ReadString();
    if (s.size() != 1) PropValueError();
    return s[0];
}

Extended TReader::ReadFloat() {
    const TValueType t = ReadValue();
    switch (t) {
    case vaExtended:
        return ExtendedToDouble(ReadExtended80());
    case vaDouble:
    case vaDate:
        return std::bit_cast<double>(GetLE<std::uint64_t>(*this));
    case vaSingle:
        return std::bit_cast<float>(GetLE<std::uint32_t>(*this));
    case vaCurrency:
        return static_cast<double>(GetLE<std::int64_t>(*this)) / 10000.0;
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64:
        return static_cast<double>(ReadIntBody(t));
    default:
        WrongValue();
    }
}

Single TReader::ReadSingle() {
    return static_cast<Single>(ReadFloat());
}

double TReader::ReadDouble() {
    return ReadFloat();
}

double TReader::ReadCurrency() {
    return ReadFloat();
}

TDateTime TReader::ReadDate() {
    return ReadFloat();
}

String TReader::ReadString() {
    switch (ReadValue()) {
    case vaString:
        return Wide(ReadStr());
    case vaLString:
    case vaUTF8String:
        return Wide(ReadLongBytes(1));
    case vaWString: {
        const std::string bytes = ReadLongBytes(2);
        String s(bytes.size() / 2, u'\0');
        for (std::size_t i = 0; i < s.size(); ++i)
            s[i] = static_cast<char16_t>(static_cast<Byte>(bytes[2 * i]) |
                                         (static_cast<Byte>(bytes[2 * i + 1]) << 8));
        return s;
    }
    default:
        WrongValue();
    }
}

WideString TReader::ReadWideString() {
    return ReadString();
}

std::string TReader::ReadIdent() {
    switch (ReadValue()) {
    case vaIdent:
        return ReadStr();
    case vaFalse:
        return "False";
    case vaTrue:
        return "True";
    case vaNil:
        return "nil";
    case vaNull:
        return "Null";
    default:
        WrongValue();
    }
}

std::uint64_t TReader::ReadSet(const EnumInfo& Info) {
    if (ReadValue() != vaSet) WrongValue();
    std::uint64_t bits = 0;
    bool bad = false;
    for (;;) {
        const std::string name = ReadStr();
        if (name.empty()) break;
        const int v = Info.ValueOf(name);
        if (v < 0 || v >= 64)
            bad = true;
        else
            bits |= std::uint64_t{1} << v;
    }
    if (bad) PropValueError();
    return bits;
}

AnsiString TReader::ReadBinary() {
    if (ReadValue() != vaBinary) WrongValue();
    return ReadLongBytes(1);
}

void TReader::SkipValue() {
    switch (ReadValue()) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
        break;
    case vaList: {
        Nesting nest(*this);
        while (!EndOfList()) SkipValue();
        ReadListEnd();
        break;
    }
    case vaInt8:
        SkipBytes(1);
        break;
    case vaInt16:
        SkipBytes(2);
        break;
    case vaInt32:
    case vaSingle:
        SkipBytes(4);
        break;
    case vaInt64:
    case vaDouble:
    case vaDate:
    case vaCurrency:
        SkipBytes(8);
        break;
    case vaExtended:
        SkipBytes(10);
        break;
    case vaString:
    case vaIdent: {
        Byte n = 0;
        Read(&n, 1);
        SkipBytes(n);
        break;
    }
    case vaBinary:
    case vaLString:
    case vaUTF8String:
        SkipBytes(GetLE<std::int32_t>(*this));
        break;
    case vaWString:
        SkipBytes(2 * static_cast<Int64>(GetLE<std::int32_t>(*this)));
        break;
    case vaSet:
        while (!ReadStr().empty()) {
        }
        break;
    case vaCollection: {
        Nesting nest(*this);
        while (!EndOfList()) {
            const TValueType t = NextValue();
            if (t == vaInt8 || t == vaInt16 || t == vaInt32) SkipValue();
            CheckValue(vaList);
            while (!EndOfList()) {
                ReadStr();
                SkipValue();
            }
            ReadListEnd();
        }
        ReadListEnd();
        break;
    }
    }
}

void TReader::ReadPrefix(TFilerFlags& Flags, int& ChildPos) {
    Flags = {};
    Byte b = 0;
    Read(&b, 1);
    if ((b & 0xF0) != 0xF0) {
        FStream->Seek(-1, soCurrent);
        return;
    }
    Flags = TFilerFlags::FromBits(b & 0x07);
    if (Flags.Contains(ffChildPos)) ChildPos = ReadInteger();
}

void TReader::ReadSignature() {
    char sig[4] = {};
    if (FStream->Read(sig, 4) != 4 || !std::equal(sig, sig + 4, FilerSignature))
        throw EStreamCorrupt(u"Invalid stream format");
}

// ---------------------------------------------------------------------------
// Defined properties

void TReader::DefineProperty(std::string_view Name, const TReaderProc& ReadData, const TWriterProc&, bool) {
    if (FPropName.empty() || !ReadData || !SameIdent(Name, FPropName)) return;
    FPropName.clear();
    ReadData(this);
    FPropName.clear();
}

void TReader::DefineBinaryProperty(std::string_view Name, const TStreamProc& ReadData, const TStreamProc&,
                                   bool) {
    if (FPropName.empty() || !ReadData || !SameIdent(Name, FPropName)) return;
    FPropName.clear();
    const std::string bytes = ReadBinary();
    TMemoryStream block;
    block.WriteBuffer(bytes.data(), static_cast<LongInt>(bytes.size()));
    block.SetPosition(0);
    ReadData(&block);
    FPropName.clear();
}

// ---------------------------------------------------------------------------
// Properties

bool TReader::Error(const String& Message) {
    bool handled = false;
    if (OnError) OnError(this, Message, handled);
    return handled;
}

void TReader::PropertyError(const std::string& Name) {
    SkipValue();
    throw EReadError(u"Property %s does not exist", {Wide(Name)});
}

void TReader::ReadProperty(TPersistent* Instance) {
    const std::string path = ReadStr();
    bool inDefined = false;
    try {
        TPersistent* target = Instance;
        std::string_view rest = path;
        for (std::size_t dot; (dot = rest.find('.')) != std::string_view::npos;) {
            const PropInfo* p = target->ClassType().FindProp(rest.substr(0, dot));
            auto* sub = p && (p->kind == PropKind::Object || p->kind == PropKind::Component)
                            ? dynamic_cast<TPersistent*>(p->getObj(*target))
                            : nullptr;
            if (!sub) PropertyError(path);
            target = sub;
            rest = rest.substr(dot + 1);
        }
        if (const PropInfo* p = target->ClassType().FindProp(rest)) {
            ReadPropValue(target, *p);
            return;
        }
        // A defined property cannot be recovered from halfway, so its errors
        // are not offered to Error, and nested reads inside it offer none either.
        FPropName = std::string(rest);
        inDefined = true;
        const bool saved = FCanHandleExcepts;
        FCanHandleExcepts = false;
        try {
            target->DefineProperties(this);
        } catch (...) {
            FCanHandleExcepts = saved;
            throw;
        }
        FCanHandleExcepts = saved;
        inDefined = false;
        if (!FPropName.empty()) {
            FPropName.clear();
            PropertyError(path);
        }
    } catch (const EStreamCorrupt&) {
        throw;
    } catch (const Exception& E) {
        FPropName.clear();
        if (inDefined || !FCanHandleExcepts || !Error(E.Message())) throw;
    }
}

void TReader::ReadPropValue(TPersistent* Instance, const PropInfo& Prop) {
    if (Prop.ReadOnly()) {
        SkipValue();
        throw EReadError(u"Property %s is read-only", {Wide(Prop.name)});
    }
    switch (Prop.kind) {
    case PropKind::Integer: {
        Int64 v = 0;
        const TValueType t = NextValue();
        if (t == vaIdent && Prop.idents && Prop.idents->fromIdent) {
            if (!Prop.idents->fromIdent(ReadIdent(), v)) PropValueError();
        } else if (t == vaInt64) {
            // Another writer's unsigned 32-bit value.
            v = ReadInt64();
            if (v < std::numeric_limits<Integer>::min() || v > std::numeric_limits<Cardinal>::max())
                PropValueError();
        } else {
            v = ReadInteger();
        }
        Prop.setOrd(*Instance, v);
        return;
    }
    case PropKind::Int64:
        Prop.setOrd(*Instance, ReadInt64());
        return;
    case PropKind::Char:
        Prop.setOrd(*Instance, ReadChar());
        return;
    case PropKind::Bool:
        Prop.setOrd(*Instance, ReadBoolean() ? 1 : 0);
        return;
    case PropKind::Enum: {
        const EnumInfo& info = Prop.enumInfo();
        int v = 0;
        if (IsIntTag(NextValue())) {
            v = ReadInteger();
            if (info.NameOf(v).empty()) PropValueError();
        } else {
            const std::string ident = ReadIdent();
            v = info.ValueOf(ident);
            // An empty identifier would match the empty name of an unknown value.
            if (ident.empty() || !SameIdent(info.NameOf(v), ident)) PropValueError();
        }
        Prop.setOrd(*Instance, v);
        return;
    }
    case PropKind::Set:
        Prop.setOrd(*Instance, static_cast<Int64>(ReadSet(Prop.enumInfo())));
        return;
    case PropKind::Float:
        Prop.setFloat(*Instance, ReadFloat());
        return;
    case PropKind::String:
        Prop.setStr(*Instance, ReadString());
        return;
    case PropKind::Method:
        ReadEvent(Instance, Prop);
        return;
    case PropKind::Component: {
        if (NextValue() == vaNil) {
            ReadValue();
            Prop.setObj(*Instance, nullptr);
            return;
        }
        // Resolved once the whole tree exists: the target may come later.
        FFixups.push_back({Instance, &Prop, ReadIdent(), FItems});
        return;
    }
    case PropKind::Object: {
        auto* collection = dynamic_cast<TCollection*>(Prop.getObj(*Instance));
        if (!collection || NextValue() != vaCollection) {
            SkipValue();
            PropValueError();
        }
        ReadValue();
        ReadCollection(collection);
        return;
    }
    }
}

void TReader::ReadEvent(TPersistent* Instance, const PropInfo& Prop) {
    EventBase* event = Prop.event(*Instance);
    if (NextValue() == vaNil) {
        ReadValue();
        return;
    }
    const std::string name = ReadIdent();
    TComponent* root = FRoot;
    const String className = root ? root->ClassName() : String(u"(none)");
    const MethodInfo* method = root ? root->ClassType().FindMethod(name) : nullptr;
    bool error = method == nullptr;
    if (OnFindMethod) OnFindMethod(this, Wide(name), method, error);
    if (error) throw EReadError(u"Method %s not found in class %s", {Wide(name), className});
    if (!method) return; // the handler chose to leave the event unbound
    if (!method->bind || !method->bind(*event, root, method->name))
        throw EReadError(u"Method %s of class %s does not fit the event %s",
                         {Wide(method->name), className, Wide(Prop.name)});
}

void TReader::ReadCollection(TCollection* Collection) {
    Nesting nest(*this);
    const std::size_t depth = FItems.size();
    Collection->BeginUpdate();
    try {
        // An empty collection in the stream empties the object's too; a
        // property set twice in one record frees the items of the first value.
        DropFixupsWithin(*Collection);
        Collection->Clear();
        while (!EndOfList()) {
            const TValueType t = NextValue();
            if (t == vaInt8 || t == vaInt16 || t == vaInt32) ReadInteger(); // an item order, not kept
            TCollectionItem* item = Collection->Add();
            FItems.push_back(item);
            ReadListBegin();
            while (!EndOfList()) ReadProperty(item);
            ReadListEnd();
            FItems.pop_back();
        }
        ReadListEnd();
    } catch (...) {
        FItems.resize(depth);
        Collection->EndUpdate();
        throw;
    }
    Collection->EndUpdate();
}

void TReader::DropFixupsWithin(const TCollection& Collection) {
    if (Collection.GetCount() == 0) return;
    const std::unordered_set<const TCollectionItem*> items(Collection.begin(),
                                                           Collection.begin() + Collection.GetCount());
    std::erase_if(FFixups, [&](const Fixup& f) {
        return std::any_of(f.within.begin(), f.within.end(),
                           [&](const TCollectionItem* item) { return items.contains(item); });
    });
}

void TReader::FixupReferences() {
    std::vector<Fixup> fixups = std::move(FFixups);
    FFixups.clear();
    for (const Fixup& f : fixups) {
        try {
            TComponent* target = FRoot ? FindNestedComponent(FRoot, f.name) : nullptr;
            if (!target)
                throw EReadError(u"Unresolved reference %s in property %s",
                                 {Wide(f.name), Wide(f.prop->name)});
            if (f.prop->classInfo && !target->InheritsFrom(f.prop->classInfo())) PropValueError();
            f.prop->setObj(*f.instance, target);
        } catch (const Exception& E) {
            if (!Error(E.Message())) throw;
        }
    }
}

// ---------------------------------------------------------------------------
// Components

void TReader::SetComponentName(TComponent* Component, const std::string& Name) {
    try {
        Component->SetName(Wide(Name));
    } catch (const EReadError&) {
        throw;
    } catch (const Exception& E) {
        // A name the owner cannot take is a fault of the stream.
        throw EStreamCorrupt(E.Message());
    }
}

void TReader::ReadData(TComponent* Instance) {
    while (!EndOfList()) ReadProperty(Instance);
    ReadListEnd();
    TComponent* const savedParent = FParent;
    TComponent* const savedOwner = FOwner;
    FParent = Instance;
    FOwner = FRoot ? FRoot : Instance;
    try {
        while (!EndOfList()) ReadComponent(nullptr);
        ReadListEnd();
    } catch (...) {
        FParent = savedParent;
        FOwner = savedOwner;
        throw;
    }
    FParent = savedParent;
    FOwner = savedOwner;
}

TComponent* TReader::ReadComponent(TComponent* Component) {
    Nesting nest(*this);
    TFilerFlags flags;
    int childPos = 0;
    ReadPrefix(flags, childPos);
    const std::string className = ReadStr();
    const std::string name = ReadStr();
    TComponent* result = Component;
    bool created = false;
    if (!result) {
        if (flags.Contains(ffInherited)) {
            result = FOwner ? FOwner->FindComponent(Wide(name)) : nullptr;
            if (!result) throw EStreamCorrupt(u"Ancestor for '%s' not found", {Wide(name)});
        } else {
            const ClassInfo* ci = GetClass(className);
            if (!ci || !ci->newComponent) throw EStreamCorrupt(u"Class %s not found", {Wide(className)});
            result = ci->CreateComponent(FOwner);
            created = true;
        }
    }
    try {
        result->IncludeState(csLoading);
        if (!flags.Contains(ffInherited)) SetComponentName(result, name);
        result->IncludeState(csReading);
        if (FParent) result->SetParentComponent(FParent);
        result->ReadState(this);
        result->ExcludeState(csReading);
        if (flags.Contains(ffChildPos) && FParent) FParent->SetChildOrder(result, childPos);
        if (std::find(FLoaded.begin(), FLoaded.end(), result) == FLoaded.end()) FLoaded.push_back(result);
    } catch (...) {
        if (created) result->Free();
        throw;
    }
    return result;
}

TComponent* TReader::ReadRootComponent(TComponent* Root) {
    ReadSignature();
    TFilerFlags flags;
    int childPos = 0;
    ReadPrefix(flags, childPos);
    const std::string className = ReadStr();
    const std::string name = ReadStr();
    bool created = false;
    if (!Root) {
        const ClassInfo* ci = GetClass(className);
        if (!ci || !ci->newComponent) throw EStreamCorrupt(u"Class %s not found", {Wide(className)});
        Root = ci->CreateComponent(nullptr);
        created = true;
    }
    SetRoot(Root);
    FOwner = Root;
    FParent = nullptr;
    FFixups.clear();
    FItems.clear();
    FLoaded.assign(1, Root);
    Root->IncludeState(csLoading);
    Root->IncludeState(csReading);
    try {
        SetComponentName(Root, created ? name : UniqueRootName(Root, name));
        Root->ReadState(this);
        Root->ExcludeState(csReading);
        FixupReferences();
        // A component that refuses what it read (Loaded raises) takes down the
        // tree the reader made, as any other read error does.
        for (TComponent* c : FLoaded) c->Loaded();
    } catch (...) {
        ClearReadState(Root, FLoaded);
        FLoaded.clear();
        FFixups.clear();
        if (created) Root->Free();
        throw;
    }
    FLoaded.clear();
    return Root;
}
