#pragma once
// Published properties and methods: one ordered table per class, built from
// accessor pairs, read and written by the component streams and by the
// by-name property access below.
//
//   static const PropInfo kProps[] = {
//       MakeProp<&TFoo::GetCount, &TFoo::SetCount>("Count").Default(0),
//       MakeProp<&TFoo::GetFont>("Font"),                      // owned sub-object
//       MakeProp<&TFoo::FOnClick>("OnClick"),                  // event member
//       MakeProp<&TFoo::GetMax, &TFoo::SetMax>("Max").Stored<&TFoo::IsMaxStored>(),
//   };
//   static const MethodInfo kMethods[] = { MakeMethod<&TForm1::Button1Click>("Button1Click") };

#include "platform/core/system.h"

#include <concepts>
#include <typeinfo>

class TPersistent;

enum class PropKind : std::uint8_t {
    Integer,   // ordinal of up to 32 bits (and integer types with identifiers, e.g. colours)
    Int64,     // 64-bit integer
    Char,      // one UTF-16 character
    Bool,      // False/True
    Enum,      // enumeration, streamed by name
    Set,       // Pascal set, streamed as names
    Float,     // floating point
    String,    // text
    Object,    // owned persistent sub-object (written nested as "Prop.Sub"); collections too
    Component, // reference to a component, streamed by name
    Method,    // event, streamed as the handler's method name
};

// How a float property travels on the wire.
enum class FloatKind : std::uint8_t { Extended, Double, Single, Currency, Date };

// Integer properties with identifiers (colours, cursors): the names stream
// instead of the numbers where they exist.
struct IntIdentMap {
    bool (*toIdent)(std::int64_t value, std::string& ident) = nullptr;
    bool (*fromIdent)(std::string_view ident, std::int64_t& value) = nullptr;
};
template <class T>
struct IntIdentsOf {
    static constexpr const IntIdentMap* value = nullptr;
    static constexpr bool none = true; // specialisations leave this out
};
// Tested by the specialisation's shape rather than by comparing its address
// with nullptr, which g++ does not fold under -fsanitize=undefined.
template <class T>
concept HasIntIdents = !requires {
    IntIdentsOf<T>::none;
};

struct MethodInfo {
    std::string_view name;
    // Binds `target`'s method to the event; false when the signatures differ.
    bool (*bind)(EventBase& event, TObject* target, std::string_view name) = nullptr;
};

struct PropInfo {
    std::string_view name;
    PropKind kind = PropKind::Integer;
    FloatKind floatKind = FloatKind::Extended;
    const EnumInfo& (*enumInfo)() = nullptr;   // Enum; Set: its element type
    const ClassInfo& (*classInfo)() = nullptr; // Object, Component: the declared class
    const IntIdentMap* idents = nullptr;       // Integer with identifiers

    std::int64_t (*getOrd)(const TObject&) = nullptr; // Integer, Int64, Char, Bool, Enum, Set (bits)
    void (*setOrd)(TObject&, std::int64_t) = nullptr;
    double (*getFloat)(const TObject&) = nullptr;
    void (*setFloat)(TObject&, double) = nullptr;
    String (*getStr)(const TObject&) = nullptr;
    void (*setStr)(TObject&, const String&) = nullptr;
    TObject* (*getObj)(const TObject&) = nullptr;
    void (*setObj)(TObject&, TObject*) = nullptr;
    EventBase* (*event)(TObject&) = nullptr; // Method

    bool hasDefault = false; // 'default n' (ordinals)
    std::int64_t defaultOrd = 0;
    bool nodefault = false;                   // always written
    bool neverStored = false;                 // 'stored False'
    bool (*stored)(const TObject&) = nullptr; // 'stored IsXxxStored'
    // Only a place in an order-owning class's table for an ancestor's property, which keeps
    // its own accessors, default and stored test (see PlaceInherited).
    bool placesInherited = false;

    bool ReadOnly() const {
        return !setOrd && !setFloat && !setStr && !setObj && !event && kind != PropKind::Object;
    }

    constexpr PropInfo Default(std::int64_t value) const {
        PropInfo p = *this;
        p.hasDefault = true;
        p.defaultOrd = value;
        return p;
    }
    constexpr PropInfo NoDefault() const {
        PropInfo p = *this;
        p.nodefault = true;
        p.hasDefault = false;
        return p;
    }
    constexpr PropInfo Stored(bool value) const {
        PropInfo p = *this;
        p.neverStored = !value;
        return p;
    }
    constexpr PropInfo Float(FloatKind k) const {
        PropInfo p = *this;
        p.floatKind = k;
        return p;
    }
    template <auto Fn>
    PropInfo Stored() const;
};

// An entry of an order-owning class's table (see OwningOrder) that puts an ancestor's published
// property at this place of the order, unchanged.
constexpr PropInfo PlaceInherited(std::string_view Name) {
    PropInfo p;
    p.name = Name;
    p.placesInherited = true;
    return p;
}

namespace typinfo_detail {

template <class T>
struct MemberOf;
template <class C, class M>
struct MemberOf<M C::*> {
    using Class = C;
    using Member = M;
};

template <class T>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<Set<E>> : std::true_type {
    using Elem = E;
};

template <class T>
struct IsEvent : std::false_type {};
template <class S>
struct IsEvent<Event<S>> : std::true_type {};

template <auto Get>
using Cls = typename MemberOf<decltype(Get)>::Class;

// The value a getter yields (member function or data member).
template <auto Get>
using ValueOf = std::remove_cvref_t<std::invoke_result_t<decltype(Get), Cls<Get>&>>;

template <auto Get>
decltype(auto) Read(const TObject& o) {
    auto& self = const_cast<Cls<Get>&>(static_cast<const Cls<Get>&>(o));
    return std::invoke(Get, self);
}

template <auto SetFn, class V>
void Write(TObject& o, V&& v) {
    auto& self = static_cast<Cls<SetFn>&>(o);
    if constexpr (std::is_member_object_pointer_v<decltype(SetFn)>)
        self.*SetFn = std::forward<V>(v);
    else
        (self.*SetFn)(std::forward<V>(v));
}

template <class V>
constexpr bool IsOrdinal = std::is_integral_v<V> || std::is_enum_v<V> || IsSet<V>::value;

template <class V>
std::int64_t ToOrd(const V& v) {
    if constexpr (IsSet<V>::value)
        return static_cast<std::int64_t>(v.Bits());
    else if constexpr (std::is_same_v<V, char>)
        return static_cast<unsigned char>(v); // an AnsiChar's ordinal is 0..255
    else
        return static_cast<std::int64_t>(v);
}
template <class V>
V FromOrd(std::int64_t n) {
    if constexpr (IsSet<V>::value)
        return V::FromBits(static_cast<std::uint64_t>(n));
    else
        return static_cast<V>(n);
}

} // namespace typinfo_detail

template <auto Get, auto SetFn = nullptr>
PropInfo MakeProp(std::string_view name) {
    using namespace typinfo_detail;
    using V = ValueOf<Get>;
    constexpr bool hasSet = !std::is_same_v<decltype(SetFn), std::nullptr_t>;
    PropInfo p;
    p.name = name;
    if constexpr (IsEvent<V>::value) {
        static_assert(std::is_member_object_pointer_v<decltype(Get)>, "events are published as members");
        p.kind = PropKind::Method;
        p.event = [](TObject& o) -> EventBase* { return &(static_cast<Cls<Get>&>(o).*Get); };
    } else if constexpr (IsOrdinal<V>) {
        if constexpr (std::is_same_v<V, bool>)
            p.kind = PropKind::Bool;
        else if constexpr (std::is_same_v<V, char16_t> || std::is_same_v<V, char>) // WideChar, AnsiChar
            p.kind = PropKind::Char;
        else if constexpr (IsSet<V>::value) {
            p.kind = PropKind::Set;
            p.enumInfo = &EnumInfoOf<typename IsSet<V>::Elem>;
        } else if constexpr (std::is_enum_v<V> && HasIntIdents<V>) {
            p.kind = sizeof(V) > 4 ? PropKind::Int64 : PropKind::Integer; // colours, charsets
        } else if constexpr (HasEnumInfo<V>) {
            p.kind = PropKind::Enum;
            p.enumInfo = &EnumInfoOf<V>;
        } else if constexpr (sizeof(V) > 4)
            p.kind = PropKind::Int64;
        else
            p.kind = PropKind::Integer;
        p.idents = IntIdentsOf<V>::value;
        p.getOrd = [](const TObject& o) { return ToOrd<V>(Read<Get>(o)); };
        if constexpr (hasSet) p.setOrd = [](TObject& o, std::int64_t v) { Write<SetFn>(o, FromOrd<V>(v)); };
    } else if constexpr (std::is_floating_point_v<V>) {
        p.kind = PropKind::Float;
        p.getFloat = [](const TObject& o) { return static_cast<double>(Read<Get>(o)); };
        if constexpr (hasSet) p.setFloat = [](TObject& o, double v) { Write<SetFn>(o, static_cast<V>(v)); };
    } else if constexpr (std::is_same_v<V, String>) {
        p.kind = PropKind::String;
        p.getStr = [](const TObject& o) { return String(Read<Get>(o)); };
        if constexpr (hasSet) p.setStr = [](TObject& o, const String& v) { Write<SetFn>(o, v); };
    } else if constexpr (std::is_same_v<V, AnsiString>) {
        p.kind = PropKind::String;
        p.getStr = [](const TObject& o) { return UTF8ToString(Read<Get>(o)); };
        if constexpr (hasSet) p.setStr = [](TObject& o, const String& v) { Write<SetFn>(o, UTF8Encode(v)); };
    } else if constexpr (std::is_pointer_v<V>) {
        using T = std::remove_cv_t<std::remove_pointer_t<V>>;
        static_assert(std::is_base_of_v<TObject, T>, "class properties hold objects");
        p.kind = std::is_base_of_v<TComponent, T> ? PropKind::Component : PropKind::Object;
        p.classInfo = &T::StaticClass;
        p.getObj = [](const TObject& o) -> TObject* { return Read<Get>(o); };
        if constexpr (hasSet) p.setObj = [](TObject& o, TObject* v) { Write<SetFn>(o, static_cast<V>(v)); };
    } else {
        static_assert(sizeof(V) == 0, "unsupported published property type");
    }
    return p;
}

template <auto Fn>
PropInfo PropInfo::Stored() const {
    PropInfo p = *this;
    p.stored = [](const TObject& o) -> bool {
        using C = typinfo_detail::Cls<Fn>;
        return std::invoke(Fn, const_cast<C&>(static_cast<const C&>(o)));
    };
    return p;
}

template <auto M>
MethodInfo MakeMethod(std::string_view name) {
    using C = typinfo_detail::Cls<M>;
    using Sig = typename typinfo_detail::MemberOf<decltype(M)>::Member;
    MethodInfo m;
    m.name = name;
    m.bind = [](EventBase& e, TObject* target, std::string_view n) -> bool {
        auto* ev = dynamic_cast<Event<Sig>*>(&e);
        auto* self = dynamic_cast<C*>(target);
        if (!ev || !self) return false;
        ev->Bind(self, M, std::string(n));
        return true;
    };
    return m;
}

// Builds a class record; call inside T::StaticClass() as a function-local static.
template <class T, std::size_t NP = 0, std::size_t NM = 0>
ClassInfo MakeClassInfo(std::string_view name, const ClassInfo* parent, const PropInfo (&props)[NP],
                        const MethodInfo (&methods)[NM]) {
    ClassInfo c;
    c.name = name;
    c.parent = parent;
    c.props = props;
    c.propCount = NP;
    c.methods = methods;
    c.methodCount = NM;
    if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*> &&
                  !std::is_abstract_v<T>)
        c.newComponent = [](TComponent* owner) -> TComponent* { return new T(owner); };
    if constexpr (std::is_base_of_v<TCollectionItem, T> && std::is_constructible_v<T, TCollection*> &&
                  !std::is_abstract_v<T>)
        c.newItem = [](TCollection* col) -> TCollectionItem* { return new T(col); };
    return c;
}
template <class T, std::size_t NP>
ClassInfo MakeClassInfo(std::string_view name, const ClassInfo* parent, const PropInfo (&props)[NP]) {
    static const MethodInfo none[1] = {};
    ClassInfo c = MakeClassInfo<T, NP, 1>(name, parent, props, none);
    c.methodCount = 0;
    return c;
}
// A form publishes no properties of its own, only the handlers its resource binds.
template <class T, std::size_t NM>
ClassInfo MakeClassInfo(std::string_view name, const ClassInfo* parent, const MethodInfo (&methods)[NM]) {
    static const PropInfo none[1] = {};
    ClassInfo c = MakeClassInfo<T, 1, NM>(name, parent, none, methods);
    c.propCount = 0;
    return c;
}
template <class T>
ClassInfo MakeClassInfo(std::string_view name, const ClassInfo* parent) {
    static const PropInfo none[1] = {};
    ClassInfo c = MakeClassInfo<T, 1>(name, parent, none);
    c.propCount = 0;
    return c;
}

// Marks a class record as owning the order of its published properties: every property its table
// names (declared, redeclared or placed with PlaceInherited) leaves its ancestor's place and is
// written in the table's order, after the inherited properties the table does not name.
inline ClassInfo OwningOrder(ClassInfo Info) {
    Info.ownsOrder = true;
    return Info;
}

// The 'stored' clause: false for Stored(false), the stored test's answer when
// there is one, else true. Whether a stored property is worth writing (its
// default, the implicit rules) is the writer's business.
bool IsStoredProp(const TObject& Instance, const PropInfo& Prop);

// By-name property access over the published tables (case-insensitive names).
const PropInfo* GetPropInfo(const TObject& obj, std::string_view name);
const PropInfo& PropOf(const TObject& obj, std::string_view name); // raises EPropertyError
std::int64_t GetOrdProp(const TObject& obj, std::string_view name);
void SetOrdProp(TObject& obj, std::string_view name, std::int64_t value);
double GetFloatProp(const TObject& obj, std::string_view name);
void SetFloatProp(TObject& obj, std::string_view name, double value);
String GetStrProp(const TObject& obj, std::string_view name);
void SetStrProp(TObject& obj, std::string_view name, const String& value);
TObject* GetObjectProp(const TObject& obj, std::string_view name);
void SetObjectProp(TObject& obj, std::string_view name, TObject* value);
String GetEnumProp(const TObject& obj, std::string_view name);
void SetEnumProp(TObject& obj, std::string_view name, std::string_view value);
