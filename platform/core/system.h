#pragma once
// The base of our class-library stand-in: basic types, sets, enumeration name
// tables, events and the root object with its class records.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

using String = std::u16string;  // the class library's text: UTF-16
using AnsiString = std::string; // bytes: serial-line data and 8-bit texts (UTF-8)
using WideString = std::u16string;
using Char = char16_t;
using WideChar = char16_t;
using AnsiChar = char;
using Byte = std::uint8_t;
using Word = std::uint16_t;
using SmallInt = std::int16_t;
using ShortInt = std::int8_t;
using Integer = std::int32_t;
using Cardinal = std::uint32_t;
using LongInt = std::int32_t;
using LongWord = std::uint32_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;
using Extended = double;
using Single = float;
using TDateTime = double; // days since 30 December 1899, time of day as the fraction
using NativeInt = std::intptr_t;

class TObject;
class TComponent;
class TCollection;
class TCollectionItem;
struct PropInfo;
struct MethodInfo;

// ---------------------------------------------------------------------------
// Enumerations: unscoped enums with a fixed underlying type keep the Parts'
// value names; their names for streams come from a specialisation of
// EnumInfoOf<E>().

struct EnumInfo {
    std::string_view typeName;
    std::vector<std::string_view> names; // names[ordinal]
    int minValue = 0;                    // ordinal of names[0] (subranges)

    // Case-insensitive lookup; -1 when the name is unknown.
    int ValueOf(std::string_view name) const;
    std::string_view NameOf(int value) const; // empty when out of range
};

template <class E>
const EnumInfo& EnumInfoOf(); // specialised next to each enumeration

template <class E>
concept HasEnumInfo = std::is_enum_v<E> && requires {
    EnumInfoOf<E>();
};

template <class E>
std::string_view EnumName(E value) {
    return EnumInfoOf<E>().NameOf(static_cast<int>(value));
}

// ---------------------------------------------------------------------------
// Pascal sets: bit n stands for ordinal n, so set values written as bytes or
// integers (in form streams and stored settings) keep the class library's
// layout.

template <class E>
class Set {
public:
    constexpr Set() = default;
    constexpr Set(std::initializer_list<E> items) {
        for (E e : items) bits_ |= Bit(e);
    }
    static constexpr Set FromBits(std::uint64_t bits) {
        Set s;
        s.bits_ = bits;
        return s;
    }
    constexpr std::uint64_t Bits() const { return bits_; }
    constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr Set& Include(E e) {
        bits_ |= Bit(e);
        return *this;
    }
    constexpr Set& Exclude(E e) {
        bits_ &= ~Bit(e);
        return *this;
    }
    constexpr Set operator+(Set o) const { return FromBits(bits_ | o.bits_); }
    constexpr Set operator-(Set o) const { return FromBits(bits_ & ~o.bits_); }
    constexpr Set operator*(Set o) const { return FromBits(bits_ & o.bits_); }
    constexpr Set operator+(E e) const { return FromBits(bits_ | Bit(e)); }
    constexpr Set operator-(E e) const { return FromBits(bits_ & ~Bit(e)); }
    constexpr Set& operator+=(Set o) {
        bits_ |= o.bits_;
        return *this;
    }
    constexpr Set& operator-=(Set o) {
        bits_ &= ~o.bits_;
        return *this;
    }
    constexpr Set& operator*=(Set o) {
        bits_ &= o.bits_;
        return *this;
    }
    constexpr Set& operator+=(E e) { return Include(e); }
    constexpr Set& operator-=(E e) { return Exclude(e); }
    constexpr bool operator<=(Set o) const { return (bits_ & ~o.bits_) == 0; } // subset
    constexpr bool operator>=(Set o) const { return o <= *this; }
    constexpr bool operator==(const Set&) const = default;

private:
    static constexpr std::uint64_t Bit(E e) { return std::uint64_t{1} << static_cast<unsigned>(e); }
    std::uint64_t bits_ = 0;
};

// ---------------------------------------------------------------------------
// Events: a callable plus the name of the method it stands for, so that a form
// resource can bind a handler by name and a writer can write the name back.

class EventBase {
public:
    const std::string& MethodName() const { return name_; }
    TObject* Target() const { return target_; }
    virtual ~EventBase() = default;

protected:
    TObject* target_ = nullptr;
    std::string name_;
};

template <class Sig>
class Event;

template <class R, class... A>
class Event<R(A...)> : public EventBase {
public:
    Event() = default;
    Event(std::function<R(A...)> f) : fn_(std::move(f)) {} // code handler, not streamed

    template <class C, class M>
    void Bind(C* obj, M C::*method, std::string name = {}) {
        fn_ = [obj, method](A... a) -> R { return (obj->*method)(std::forward<A>(a)...); };
        BindTarget(obj);
        name_ = std::move(name);
    }
    void Bind(std::function<R(A...)> f, TObject* target = nullptr, std::string name = {}) {
        fn_ = std::move(f);
        target_ = target;
        name_ = std::move(name);
    }
    void Clear() {
        fn_ = nullptr;
        target_ = nullptr;
        name_.clear();
    }
    explicit operator bool() const { return static_cast<bool>(fn_); }
    R operator()(A... a) const { return fn_(std::forward<A>(a)...); }
    // Two events are equal when they call the same method of the same object.
    friend bool operator==(const Event& x, const Event& y) {
        if (!x.fn_ && !y.fn_) return true;
        return x.target_ == y.target_ && !x.name_.empty() && x.name_ == y.name_;
    }

private:
    template <class C>
    void BindTarget(C* obj) {
        if constexpr (std::is_base_of_v<TObject, C>)
            target_ = obj;
        else
            target_ = nullptr;
    }
    std::function<R(A...)> fn_;
};

using TNotifyEvent = Event<void(TObject* Sender)>;

// ---------------------------------------------------------------------------
// Class records: a class as a value, found by its name when a stream names it.
// Every streamable class has one, with its exact class name, parent, own
// published properties in declaration order, published methods and virtual
// constructors.

struct ClassInfo {
    std::string_view name;
    const ClassInfo* parent = nullptr;
    const PropInfo* props = nullptr; // own published properties (parent's come first)
    std::size_t propCount = 0;
    const MethodInfo* methods = nullptr; // own published methods (forms)
    std::size_t methodCount = 0;
    TComponent* (*newComponent)(TComponent* owner) = nullptr;
    TCollectionItem* (*newItem)(TCollection* collection) = nullptr;
    const void* traits = nullptr; // per-hierarchy "class functions"
    bool ownsOrder = false;       // the table orders every property it names (OwningOrder)

    bool InheritsFrom(const ClassInfo& other) const {
        for (const ClassInfo* c = this; c; c = c->parent)
            if (c == &other) return true;
        return false;
    }
    // Searches this class's published properties and then its ancestors'.
    const PropInfo* FindProp(std::string_view propName) const;
    const MethodInfo* FindMethod(std::string_view methodName) const;
    // Every published property, the root class's first.
    std::vector<const PropInfo*> AllProps() const;
    // Creates a component of this class (AfterConstruction included).
    TComponent* CreateComponent(TComponent* owner) const;
};

// The root of every class. Objects whose teardown must dispatch virtually put
// it in BeforeDestruction(), which every free path calls before deleting.
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;

    static const ClassInfo& StaticClass();
    virtual const ClassInfo& ClassType() const { return StaticClass(); }
    String ClassName() const;
    std::string_view ClassNameA() const { return ClassType().name; }
    bool ClassNameIs(std::string_view name) const;
    bool InheritsFrom(const ClassInfo& c) const { return ClassType().InheritsFrom(c); }
    template <class T>
    bool Is() const {
        return InheritsFrom(T::StaticClass());
    }

    virtual void AfterConstruction() {}
    virtual void BeforeDestruction() {}
    // True once FinishConstruction has run AfterConstruction on the object.
    bool Constructed() const { return FConstructed; }
    // Frees the object: BeforeDestruction(), then delete. Safe on nullptr.
    void Free();
    static void Free(TObject* obj) {
        if (obj) obj->Free();
    }

    virtual ~TObject() = default;

private:
    friend void FinishConstruction(TObject* obj);
    bool FConstructed = false;
};

// Ends a constructor call as a Pascal one ends: AfterConstruction runs, and
// when it raises the object is freed again (and leaves its owner) before the
// exception goes on. Create, the class factories and Application->CreateForm
// end every construction here; a component freed without having passed here
// is reported (see SetUnconstructedHandler).
void FinishConstruction(TObject* obj);

// Called with a component that is freed although it was made with a bare
// new, outside Create: its AfterConstruction never ran. The default aborts a
// debug build and writes a line to standard error otherwise; tests fail the
// running test. An empty handler restores the default; the previous handler
// comes back.
using TUnconstructedHandler = std::function<void(const TObject& Obj)>;
TUnconstructedHandler SetUnconstructedHandler(TUnconstructedHandler Handler);
void ReportUnconstructed(const TObject& Obj);

// Frees and clears a pointer, as FreeAndNil.
template <class T>
void FreeAndNil(T*& obj) {
    T* tmp = obj;
    obj = nullptr;
    if (tmp) tmp->Free();
}

// Stores a property's new value in its field; true when the value differed,
// so that a setter announces, applies or repaints real changes only.
template <class T, class V>
bool SetIfChanged(T& Field, V&& Value) {
    if (Field == Value) return false;
    Field = std::forward<V>(Value);
    return true;
}

// Creates an object as a Pascal constructor call does: the one way to make a
// component (see FinishConstruction).
template <class T, class... Args>
T* Create(Args&&... args) {
    T* obj = new T(std::forward<Args>(args)...);
    FinishConstruction(obj);
    return obj;
}

// A unique_ptr that frees through Free().
struct FreeDeleter {
    void operator()(TObject* obj) const {
        if (obj) obj->Free();
    }
};
template <class T>
using Owned = std::unique_ptr<T, FreeDeleter>;

template <class T, class... Args>
Owned<T> MakeOwned(Args&&... args) {
    return Owned<T>(Create<T>(std::forward<Args>(args)...));
}

// Class registry by name (case-insensitive), for streams and virtual constructors.
void RegisterClass(const ClassInfo& c);
void RegisterClasses(std::initializer_list<const ClassInfo*> classes);
void UnRegisterClass(const ClassInfo& c);
const ClassInfo* GetClass(std::string_view name);  // nullptr when unknown
const ClassInfo& FindClass(std::string_view name); // raises EClassNotFound
std::vector<const ClassInfo*> RegisteredClasses(); // in the order they were registered

// Case-insensitive comparison of ASCII identifiers.
bool SameIdent(std::string_view a, std::string_view b);

// UTF-8 <-> UTF-16; invalid input becomes U+FFFD, never an error.
String UTF8ToString(std::string_view utf8);
AnsiString UTF8Encode(std::u16string_view text);
// Identifiers and class names are ASCII; these widen and narrow them.
String IdentToString(std::string_view ident);
