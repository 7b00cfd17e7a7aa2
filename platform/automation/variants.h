#pragma once
// Variants: values of any automation type, variant arrays, and late-bound
// calls on automation objects by member name.
//
//   OleVariant excel = CreateOleObject(u"Excel.Application");
//   excel.Set(u"SheetsInNewWorkbook", 1);
//   excel.Get(u"WorkBooks").Call(u"add");
//   sheet.Call(u"Range", sheet.Call(u"Cells", 1, 1), sheet.Call(u"Cells", r, c)).Set(u"Value", array);
//
// Member names are compared without regard to case.

#include "platform/core/sysutils.h"

#include <array>
#include <memory>
#include <span>
#include <variant>
#include <vector>

using TVarType = std::uint16_t;
constexpr TVarType varEmpty = 0x0000;
constexpr TVarType varNull = 0x0001;
constexpr TVarType varInteger = 0x0003;
constexpr TVarType varDouble = 0x0005;
constexpr TVarType varDate = 0x0007;
constexpr TVarType varOleStr = 0x0008;
constexpr TVarType varDispatch = 0x0009;
constexpr TVarType varBoolean = 0x000B;
constexpr TVarType varVariant = 0x000C;
constexpr TVarType varInt64 = 0x0014;
constexpr TVarType varTypeMask = 0x0FFF;
constexpr TVarType varArray = 0x2000;

class EVariantInvalidOpError : public EVariantError {
public:
    using EVariantError::EVariantError;
};
class EVariantTypeCastError : public EVariantError {
public:
    using EVariantError::EVariantError;
};
class EVariantBadIndexError : public EVariantError {
public:
    using EVariantError::EVariantError;
};
class EVariantArrayCreateError : public EVariantError {
public:
    using EVariantError::EVariantError;
};

class Variant;

enum class DispatchKind : std::uint8_t { Method, PropertyGet, PropertyPut };

// A late-bound automation object.
class IDispatch {
public:
    virtual ~IDispatch() = default;
    // For PropertyPut the value to assign is the last argument.
    virtual Variant Invoke(std::u16string_view name, DispatchKind kind, std::span<const Variant> args) = 0;
};
using DispatchPtr = std::shared_ptr<IDispatch>;

class Variant {
public:
    Variant() = default; // Unassigned
    Variant(bool v) : value_(v) {}
    Variant(int v) : value_(static_cast<std::int32_t>(v)) {}
    Variant(unsigned v) : value_(static_cast<std::int64_t>(v)) {}
    Variant(long v) : value_(static_cast<std::int64_t>(v)) {}
    Variant(long long v) : value_(static_cast<std::int64_t>(v)) {}
    Variant(unsigned long v) : value_(static_cast<std::int64_t>(v)) {}
    Variant(unsigned long long v) : value_(static_cast<std::int64_t>(v)) {}
    Variant(double v) : value_(v) {}
    Variant(const String& v) : value_(v) {}
    Variant(String&& v) : value_(std::move(v)) {}
    Variant(const char16_t* v) : value_(String(v != nullptr ? v : u"")) {}
    Variant(std::u16string_view v) : value_(String(v)) {}
    Variant(const char* utf8) : value_(UTF8ToString(utf8 != nullptr ? utf8 : "")) {}
    Variant(DispatchPtr v) : value_(std::move(v)) {}
    template <class T>
    Variant(T*) = delete; // no silent pointer-to-Boolean

    Variant(const Variant& other);
    Variant(Variant&&) noexcept = default;
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&&) noexcept = default;

    static Variant Null();
    static Variant FromDate(TDateTime v);

    TVarType VarType() const;
    bool IsEmpty() const { return value_.index() == 0; }
    bool IsNull() const;
    bool IsArray() const;
    bool IsDispatch() const;

    // Conversions as the class library makes them; a value that does not
    // convert raises EVariantTypeCastError.
    bool AsBoolean() const;
    std::int32_t AsInteger() const;
    std::int64_t AsInt64() const;
    double AsDouble() const;
    TDateTime AsDateTime() const;
    String AsString() const;
    DispatchPtr AsDispatch() const;

    // Variant arrays: elements by index, each index within its bounds.
    Variant& operator()(int i);
    Variant& operator()(int i, int j);
    const Variant& operator()(int i) const;
    const Variant& operator()(int i, int j) const;
    Variant& Element(std::span<const int> indices);
    const Variant& Element(std::span<const int> indices) const;
    int DimCount() const;         // 0 when not an array
    int LowBound(int dim) const;  // dim from 1
    int HighBound(int dim) const; // dim from 1

    // Late binding: a property read (with optional index arguments), a method
    // call, and a property assignment.
    template <class... A>
    Variant Get(std::u16string_view name, const A&... args) const {
        const std::array<Variant, sizeof...(A)> a{Variant(args)...};
        return Dispatch(name, DispatchKind::PropertyGet, a);
    }
    template <class... A>
    Variant Call(std::u16string_view name, const A&... args) const {
        const std::array<Variant, sizeof...(A)> a{Variant(args)...};
        return Dispatch(name, DispatchKind::Method, a);
    }
    void Set(std::u16string_view name, const Variant& value) const {
        return static_cast<void>(
            Dispatch(name, DispatchKind::PropertyPut, std::span<const Variant>(&value, 1)));
    }
    Variant Dispatch(std::u16string_view name, DispatchKind kind, std::span<const Variant> args) const;

    friend bool operator==(const Variant& a, const Variant& b);

private:
    struct NullTag {
        bool operator==(const NullTag&) const = default;
    };
    struct DateTag {
        double value = 0;
        bool operator==(const DateTag&) const = default;
    };
    struct Array {
        TVarType elementType = varVariant;
        std::vector<std::pair<int, int>> bounds; // low, high per dimension
        std::vector<Variant> items;              // last index varies fastest
    };
    friend Variant VarArrayCreate(std::initializer_list<int> bounds, TVarType elementType);

    [[noreturn]] void CastError(TVarType to) const;
    std::size_t Offset(std::span<const int> indices) const;
    const Array& GetArray() const;

    std::variant<std::monostate, NullTag, bool, std::int32_t, std::int64_t, double, DateTag, String,
                 DispatchPtr, std::shared_ptr<Array>>
        value_;
};

using OleVariant = Variant;

// Bounds low1, high1, low2, high2, ...; both bounds included. Elements start
// Unassigned (varVariant) or as the element type's zero.
Variant VarArrayCreate(std::initializer_list<int> bounds, TVarType elementType);

inline Variant Unassigned() {
    return Variant();
}
inline TVarType VarType(const Variant& v) {
    return v.VarType();
}
inline bool VarIsEmpty(const Variant& v) {
    return v.IsEmpty();
}
inline bool VarIsNull(const Variant& v) {
    return v.IsNull();
}
inline bool VarIsArray(const Variant& v) {
    return v.IsArray();
}
inline int VarArrayDimCount(const Variant& v) {
    return v.DimCount();
}
inline int VarArrayLowBound(const Variant& v, int dim) {
    return v.LowBound(dim);
}
inline int VarArrayHighBound(const Variant& v, int dim) {
    return v.HighBound(dim);
}
// The text of a variant; Unassigned and Null give the empty text.
String VarToStr(const Variant& v);
// The class library's name of a variant type: "Empty", "Integer", "OleStr", ...
String VarTypeAsText(TVarType type);

// ASCII case-insensitive comparison of member names and programmatic identifiers.
bool SameMemberName(std::u16string_view a, std::u16string_view b);
