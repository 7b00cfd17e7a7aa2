#include "platform/core/typinfo.h"

#include "platform/core/sysutils.h"

const PropInfo* GetPropInfo(const TObject& obj, std::string_view name) {
    return obj.ClassType().FindProp(name);
}

const PropInfo& PropOf(const TObject& obj, std::string_view name) {
    if (const PropInfo* p = GetPropInfo(obj, name)) return *p;
    throw EPropertyError(u"Property %s does not exist", {IdentToString(name)});
}

namespace {
[[noreturn]] void ReadOnlyError(std::string_view name) {
    throw EPropertyError(u"Property %s is read-only", {IdentToString(name)});
}
} // namespace

std::int64_t GetOrdProp(const TObject& obj, std::string_view name) {
    const PropInfo& p = PropOf(obj, name);
    if (!p.getOrd) throw EPropertyError(u"Invalid property type: %s", {IdentToString(name)});
    return p.getOrd(obj);
}

void SetOrdProp(TObject& obj, std::string_view name, std::int64_t value) {
    const PropInfo& p = PropOf(obj, name);
    if (!p.setOrd) ReadOnlyError(name);
    p.setOrd(obj, value);
}

double GetFloatProp(const TObject& obj, std::string_view name) {
    const PropInfo& p = PropOf(obj, name);
    if (!p.getFloat) throw EPropertyError(u"Invalid property type: %s", {IdentToString(name)});
    return p.getFloat(obj);
}

void SetFloatProp(TObject& obj, std::string_view name, double value) {
    const PropInfo& p = PropOf(obj, name);
    if (!p.setFloat) ReadOnlyError(name);
    p.setFloat(obj, value);
}

String GetStrProp(const TObject& obj, std::string_view name) {
    const PropInfo& p = PropOf(obj, name);
    if (!p.getStr) throw EPropertyError(u"Invalid property type: %s", {IdentToString(name)});
    return p.getStr(obj);
}

void SetStrProp(TObject& obj, std::string_view name, const String& value) {
    const PropInfo& p = PropOf(obj, name);
    if (!p.setStr) ReadOnlyError(name);
    p.setStr(obj, value);
}

TObject* GetObjectProp(const TObject& obj, std::string_view name) {
    const PropInfo& p = PropOf(obj, name);
    if (!p.getObj) throw EPropertyError(u"Invalid property type: %s", {IdentToString(name)});
    return p.getObj(obj);
}

void SetObjectProp(TObject& obj, std::string_view name, TObject* value) {
    const PropInfo& p = PropOf(obj, name);
    if (!p.setObj) ReadOnlyError(name);
    p.setObj(obj, value);
}

String GetEnumProp(const TObject& obj, std::string_view name) {
    const PropInfo& p = PropOf(obj, name);
    if (p.kind != PropKind::Enum || !p.getOrd)
        throw EPropertyError(u"Invalid property type: %s", {IdentToString(name)});
    return IdentToString(p.enumInfo().NameOf(static_cast<int>(p.getOrd(obj))));
}

void SetEnumProp(TObject& obj, std::string_view name, std::string_view value) {
    const PropInfo& p = PropOf(obj, name);
    if (p.kind != PropKind::Enum) throw EPropertyError(u"Invalid property type: %s", {IdentToString(name)});
    if (!p.setOrd) ReadOnlyError(name);
    const int v = p.enumInfo().ValueOf(value);
    if (v < 0) throw EPropertyError(u"Invalid property value");
    p.setOrd(obj, v);
}

bool IsStoredProp(const TObject& Instance, const PropInfo& Prop) {
    if (Prop.neverStored) return false;
    return Prop.stored ? Prop.stored(Instance) : true;
}
