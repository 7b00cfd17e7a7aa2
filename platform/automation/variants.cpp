#include "platform/automation/variants.h"

#include <cmath>
#include <limits>

namespace {

enum Alt : std::size_t { kEmpty, kNull, kBool, kInt32, kInt64, kDouble, kDate, kString, kDispatch, kArray };

char16_t Lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

Variant ZeroOf(TVarType type) {
    switch (type) {
    case varInteger:
        return Variant(0);
    case varInt64:
        return Variant(0LL);
    case varDouble:
        return Variant(0.0);
    case varDate:
        return Variant::FromDate(0);
    case varOleStr:
        return Variant(String());
    case varBoolean:
        return Variant(false);
    default:
        return Variant();
    }
}

// Round half to even into a 64-bit integer, or fail.
bool RoundToInt64(double v, std::int64_t& out) {
    if (!std::isfinite(v)) return false;
    const double r = std::nearbyint(v); // the default rounding mode is to nearest, ties to even
    if (r < -9.2233720368547758e18 || r >= 9.2233720368547758e18) return false;
    out = static_cast<std::int64_t>(r);
    return true;
}

} // namespace

bool SameMemberName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

String VarTypeAsText(TVarType type) {
    String base;
    switch (type & varTypeMask) {
    case varEmpty:
        base = u"Empty";
        break;
    case varNull:
        base = u"Null";
        break;
    case varInteger:
        base = u"Integer";
        break;
    case varDouble:
        base = u"Double";
        break;
    case varDate:
        base = u"Date";
        break;
    case varOleStr:
        base = u"OleStr";
        break;
    case varDispatch:
        base = u"Dispatch";
        break;
    case varBoolean:
        base = u"Boolean";
        break;
    case varVariant:
        base = u"Variant";
        break;
    case varInt64:
        base = u"Int64";
        break;
    default:
        base = u"Unknown";
        break;
    }
    return (type & varArray) != 0 ? u"Array " + base : base;
}

Variant::Variant(const Variant& other) : value_(other.value_) {
    if (const auto* arr = std::get_if<kArray>(&value_)) value_ = std::make_shared<Array>(**arr);
}

Variant& Variant::operator=(const Variant& other) {
    if (this != &other) {
        Variant copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Variant Variant::Null() {
    Variant v;
    v.value_ = NullTag{};
    return v;
}

Variant Variant::FromDate(TDateTime date) {
    Variant v;
    v.value_ = DateTag{date};
    return v;
}

TVarType Variant::VarType() const {
    switch (value_.index()) {
    case kEmpty:
        return varEmpty;
    case kNull:
        return varNull;
    case kBool:
        return varBoolean;
    case kInt32:
        return varInteger;
    case kInt64:
        return varInt64;
    case kDouble:
        return varDouble;
    case kDate:
        return varDate;
    case kString:
        return varOleStr;
    case kDispatch:
        return varDispatch;
    default:
        return static_cast<TVarType>(varArray | std::get<kArray>(value_)->elementType);
    }
}

bool Variant::IsNull() const {
    return value_.index() == kNull;
}
bool Variant::IsArray() const {
    return value_.index() == kArray;
}
bool Variant::IsDispatch() const {
    return value_.index() == kDispatch;
}

void Variant::CastError(TVarType to) const {
    throw EVariantTypeCastError(u"Could not convert variant of type (" + VarTypeAsText(VarType()) +
                                u") into type (" + VarTypeAsText(to) + u")");
}

double Variant::AsDouble() const {
    switch (value_.index()) {
    case kEmpty:
        return 0;
    case kBool:
        return std::get<kBool>(value_) ? -1 : 0;
    case kInt32:
        return std::get<kInt32>(value_);
    case kInt64:
        return static_cast<double>(std::get<kInt64>(value_));
    case kDouble:
        return std::get<kDouble>(value_);
    case kDate:
        return std::get<kDate>(value_).value;
    case kString: {
        Extended v = 0;
        if (TryStrToFloat(std::get<kString>(value_), v) && std::isfinite(v)) return v;
        break;
    }
    default:
        break;
    }
    CastError(varDouble);
}

std::int64_t Variant::AsInt64() const {
    std::int64_t out = 0;
    switch (value_.index()) {
    case kEmpty:
        return 0;
    case kBool:
        return std::get<kBool>(value_) ? -1 : 0;
    case kInt32:
        return std::get<kInt32>(value_);
    case kInt64:
        return std::get<kInt64>(value_);
    case kDouble:
    case kDate:
        if (RoundToInt64(AsDouble(), out)) return out;
        break;
    case kString: {
        const String& s = std::get<kString>(value_);
        Int64 v = 0;
        if (TryStrToInt64(s, v)) return v;
        Extended f = 0;
        if (TryStrToFloat(s, f) && RoundToInt64(f, out)) return out;
        break;
    }
    default:
        break;
    }
    CastError(varInt64);
}

std::int32_t Variant::AsInteger() const {
    std::int64_t v = 0;
    try {
        v = AsInt64();
    } catch (const EVariantTypeCastError&) {
        CastError(varInteger);
    }
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max()) {
        CastError(varInteger);
    }
    return static_cast<std::int32_t>(v);
}

bool Variant::AsBoolean() const {
    switch (value_.index()) {
    case kEmpty:
        return false;
    case kBool:
        return std::get<kBool>(value_);
    case kString: {
        const String& s = std::get<kString>(value_);
        if (SameMemberName(s, u"True")) return true;
        if (SameMemberName(s, u"False")) return false;
        Extended v = 0;
        if (TryStrToFloat(s, v)) return v != 0;
        break;
    }
    case kInt32:
    case kInt64:
    case kDouble:
    case kDate:
        return AsDouble() != 0;
    default:
        break;
    }
    CastError(varBoolean);
}

TDateTime Variant::AsDateTime() const {
    if (const auto* s = std::get_if<kString>(&value_)) {
        TDateTime v = 0;
        if (TryStrToDateTime(*s, v)) return v;
        CastError(varDate);
    }
    if (value_.index() == kNull || value_.index() > kString) CastError(varDate);
    return AsDouble();
}

String Variant::AsString() const {
    switch (value_.index()) {
    case kEmpty:
        return {};
    case kBool:
        return std::get<kBool>(value_) ? u"True" : u"False";
    case kInt32:
        return IntToStr(std::get<kInt32>(value_));
    case kInt64:
        return IntToStr(std::get<kInt64>(value_));
    case kDouble:
        return FloatToStr(std::get<kDouble>(value_));
    case kDate:
        return DateTimeToStr(std::get<kDate>(value_).value);
    case kString:
        return std::get<kString>(value_);
    default:
        CastError(varOleStr);
    }
}

DispatchPtr Variant::AsDispatch() const {
    if (const auto* d = std::get_if<kDispatch>(&value_)) return *d;
    if (value_.index() == kEmpty) return nullptr;
    CastError(varDispatch);
}

String VarToStr(const Variant& v) {
    return v.IsNull() ? String() : v.AsString();
}

// ---------------------------------------------------------------------------
// Arrays

Variant VarArrayCreate(std::initializer_list<int> bounds, TVarType elementType) {
    if (bounds.size() == 0 || bounds.size() % 2 != 0) {
        throw EVariantArrayCreateError(u"Error creating variant or safe array");
    }
    auto arr = std::make_shared<Variant::Array>();
    arr->elementType = static_cast<TVarType>(elementType & varTypeMask);
    std::size_t count = 1;
    for (auto it = bounds.begin(); it != bounds.end(); it += 2) {
        const int low = it[0];
        const int high = it[1];
        // An empty dimension (high = low - 1) is allowed; the whole array is
        // held in memory, so its size is bounded.
        if (high < low - 1 || static_cast<std::int64_t>(high) - low + 1 > (1 << 26)) {
            throw EVariantArrayCreateError(u"Error creating variant or safe array");
        }
        count *= static_cast<std::size_t>(high - low + 1);
        if (count > (std::size_t{1} << 26))
            throw EVariantArrayCreateError(u"Error creating variant or safe array");
        arr->bounds.emplace_back(low, high);
    }
    arr->items.assign(count, ZeroOf(arr->elementType));
    Variant v;
    v.value_ = std::move(arr);
    return v;
}

const Variant::Array& Variant::GetArray() const {
    const auto* arr = std::get_if<kArray>(&value_);
    if (arr == nullptr) throw EVariantInvalidOpError(u"Invalid variant operation");
    return **arr;
}

std::size_t Variant::Offset(std::span<const int> indices) const {
    const Array& arr = GetArray();
    if (indices.size() != arr.bounds.size())
        throw EVariantBadIndexError(u"Variant or safe array index out of bounds");
    std::size_t offset = 0;
    for (std::size_t d = 0; d < indices.size(); ++d) {
        const auto [low, high] = arr.bounds[d];
        if (indices[d] < low || indices[d] > high) {
            throw EVariantBadIndexError(u"Variant or safe array index out of bounds");
        }
        offset =
            offset * static_cast<std::size_t>(high - low + 1) + static_cast<std::size_t>(indices[d] - low);
    }
    return offset;
}

Variant& Variant::Element(std::span<const int> indices) {
    const std::size_t at = Offset(indices);
    return std::get<kArray>(value_)->items[at];
}

const Variant& Variant::Element(std::span<const int> indices) const {
    return GetArray().items[Offset(indices)];
}

Variant& Variant::operator()(int i) {
    const int idx[] = {i};
    return Element(idx);
}
Variant& Variant::operator()(int i, int j) {
    const int idx[] = {i, j};
    return Element(idx);
}
const Variant& Variant::operator()(int i) const {
    const int idx[] = {i};
    return Element(idx);
}
const Variant& Variant::operator()(int i, int j) const {
    const int idx[] = {i, j};
    return Element(idx);
}

int Variant::DimCount() const {
    const auto* arr = std::get_if<kArray>(&value_);
    return arr == nullptr ? 0 : static_cast<int>((*arr)->bounds.size());
}

int Variant::LowBound(int dim) const {
    const Array& arr = GetArray();
    if (dim < 1 || dim > static_cast<int>(arr.bounds.size())) {
        throw EVariantBadIndexError(u"Variant or safe array index out of bounds");
    }
    return arr.bounds[static_cast<std::size_t>(dim - 1)].first;
}

int Variant::HighBound(int dim) const {
    const Array& arr = GetArray();
    if (dim < 1 || dim > static_cast<int>(arr.bounds.size())) {
        throw EVariantBadIndexError(u"Variant or safe array index out of bounds");
    }
    return arr.bounds[static_cast<std::size_t>(dim - 1)].second;
}

// ---------------------------------------------------------------------------

Variant Variant::Dispatch(std::u16string_view name, DispatchKind kind, std::span<const Variant> args) const {
    const auto* d = std::get_if<kDispatch>(&value_);
    if (d == nullptr || *d == nullptr) throw EVariantInvalidOpError(u"Invalid variant operation");
    return (*d)->Invoke(name, kind, args);
}

bool operator==(const Variant& a, const Variant& b) {
    if (a.value_.index() != b.value_.index()) return false;
    if (a.IsArray()) {
        const auto& x = a.GetArray();
        const auto& y = b.GetArray();
        return x.elementType == y.elementType && x.bounds == y.bounds && x.items == y.items;
    }
    return a.value_ == b.value_;
}
