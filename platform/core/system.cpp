#include "platform/core/system.h"

#include "platform/core/components.h"
#include "platform/core/sysutils.h"
#include "platform/core/typinfo.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <mutex>

namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

struct Registry {
    std::mutex lock;
    std::vector<const ClassInfo*> classes;
};

Registry& ClassRegistry() {
    static Registry r;
    return r;
}

} // namespace

bool SameIdent(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

int EnumInfo::ValueOf(std::string_view name) const {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (SameIdent(names[i], name)) return static_cast<int>(i) + minValue;
    return -1;
}

std::string_view EnumInfo::NameOf(int value) const {
    const int i = value - minValue;
    if (i < 0 || i >= static_cast<int>(names.size())) return {};
    return names[static_cast<std::size_t>(i)];
}

const PropInfo* ClassInfo::FindProp(std::string_view propName) const {
    for (const ClassInfo* c = this; c; c = c->parent)
        for (std::size_t i = 0; i < c->propCount; ++i)
            if (!c->props[i].placesInherited && SameIdent(c->props[i].name, propName)) return &c->props[i];
    return nullptr;
}

const MethodInfo* ClassInfo::FindMethod(std::string_view methodName) const {
    for (const ClassInfo* c = this; c; c = c->parent)
        for (std::size_t i = 0; i < c->methodCount; ++i)
            if (SameIdent(c->methods[i].name, methodName)) return &c->methods[i];
    return nullptr;
}

std::vector<const PropInfo*> ClassInfo::AllProps() const {
    std::vector<const ClassInfo*> chain;
    for (const ClassInfo* c = this; c; c = c->parent) chain.push_back(c);
    std::vector<const PropInfo*> out;
    const auto find = [&out](std::string_view Name) {
        return std::find_if(out.begin(), out.end(),
                            [Name](const PropInfo* q) { return SameIdent(q->name, Name); });
    };
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const ClassInfo& c = **it;
        if (!c.ownsOrder) {
            for (std::size_t i = 0; i < c.propCount; ++i) {
                // A redeclared property (same name in a descendant) replaces the ancestor's entry.
                const PropInfo* p = &c.props[i];
                if (p->placesInherited) continue;
                if (auto same = find(p->name); same != out.end())
                    *same = p;
                else
                    out.push_back(p);
            }
            continue;
        }
        // The table's names leave their inherited places and follow in the table's order.
        std::vector<const PropInfo*> named;
        for (std::size_t i = 0; i < c.propCount; ++i) {
            const PropInfo* p = &c.props[i];
            const PropInfo* inherited = nullptr;
            if (auto same = find(p->name); same != out.end()) {
                inherited = *same;
                out.erase(same);
            }
            if (!p->placesInherited)
                named.push_back(p);
            else if (inherited)
                named.push_back(inherited);
        }
        out.insert(out.end(), named.begin(), named.end());
    }
    return out;
}

TComponent* ClassInfo::CreateComponent(TComponent* owner) const {
    if (!newComponent) throw EClassNotFound(u"Class %s cannot be created", {IdentToString(name)});
    TComponent* c = newComponent(owner);
    FinishConstruction(c);
    return c;
}

void FinishConstruction(TObject* obj) {
    obj->FConstructed = true;
    try {
        obj->AfterConstruction();
    } catch (...) {
        obj->Free();
        throw;
    }
}

namespace {
std::mutex gUnconstructedLock;
TUnconstructedHandler gUnconstructed;
} // namespace

TUnconstructedHandler SetUnconstructedHandler(TUnconstructedHandler Handler) {
    std::lock_guard g(gUnconstructedLock);
    std::swap(gUnconstructed, Handler);
    return Handler;
}

void ReportUnconstructed(const TObject& Obj) {
    TUnconstructedHandler handler;
    {
        std::lock_guard g(gUnconstructedLock);
        handler = gUnconstructed;
    }
    if (handler) {
        handler(Obj);
        return;
    }
    std::fprintf(stderr, "%.*s made without Create: its AfterConstruction never ran\n",
                 static_cast<int>(Obj.ClassNameA().size()), Obj.ClassNameA().data());
    assert(!"a component made without Create");
}

const ClassInfo& TObject::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TObject>("TObject", nullptr);
    return ci;
}

String TObject::ClassName() const {
    return IdentToString(ClassType().name);
}

bool TObject::ClassNameIs(std::string_view name) const {
    return SameIdent(ClassType().name, name);
}

void TObject::Free() {
    BeforeDestruction();
    delete this;
}

void RegisterClass(const ClassInfo& c) {
    Registry& r = ClassRegistry();
    std::lock_guard g(r.lock);
    if (std::find(r.classes.begin(), r.classes.end(), &c) == r.classes.end()) r.classes.push_back(&c);
}

void RegisterClasses(std::initializer_list<const ClassInfo*> classes) {
    for (const ClassInfo* c : classes) RegisterClass(*c);
}

void UnRegisterClass(const ClassInfo& c) {
    Registry& r = ClassRegistry();
    std::lock_guard g(r.lock);
    r.classes.erase(std::remove(r.classes.begin(), r.classes.end(), &c), r.classes.end());
}

const ClassInfo* GetClass(std::string_view name) {
    Registry& r = ClassRegistry();
    std::lock_guard g(r.lock);
    for (const ClassInfo* c : r.classes)
        if (SameIdent(c->name, name)) return c;
    return nullptr;
}

std::vector<const ClassInfo*> RegisteredClasses() {
    Registry& r = ClassRegistry();
    std::lock_guard g(r.lock);
    return r.classes;
}

const ClassInfo& FindClass(std::string_view name) {
    if (const ClassInfo* c = GetClass(name)) return *c;
    throw EClassNotFound(u"Class %s not found", {IdentToString(name)});
}

String UTF8ToString(std::string_view s) {
    String out;
    out.reserve(s.size());
    std::size_t i = 0;
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    while (i < s.size()) {
        const unsigned c = byte(i);
        char32_t cp = 0xFFFD;
        std::size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0 || (c & 0xF0) == 0xE0 || (c & 0xF8) == 0xF0) {
            len = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : 4;
            char32_t v = c & (len == 2 ? 0x1F : len == 3 ? 0x0F : 0x07);
            bool ok = i + len <= s.size();
            for (std::size_t k = 1; ok && k < len; ++k) {
                if ((byte(i + k) & 0xC0) != 0x80)
                    ok = false;
                else
                    v = (v << 6) | (byte(i + k) & 0x3F);
            }
            static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
            if (ok && v >= kMin[len] && v <= 0x10FFFF && !(v >= 0xD800 && v <= 0xDFFF))
                cp = v;
            else
                len = 1;
        }
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

AnsiString UTF8Encode(std::u16string_view s) {
    AnsiString out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t cp = s[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

String IdentToString(std::string_view ident) {
    return String(ident.begin(), ident.end());
}
