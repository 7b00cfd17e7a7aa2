#include "platform/core/resources.h"

#include "platform/core/filer.h"
#include "platform/core/objecttext.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

struct ResourceRegistry {
    std::mutex lock;
    std::vector<std::span<const TEmbeddedResource>> tables;
};

ResourceRegistry& Registry() {
    static ResourceRegistry r;
    return r;
}

bool SameTable(std::span<const TEmbeddedResource> a, std::span<const TEmbeddedResource> b) {
    return a.data() == b.data() && a.size() == b.size();
}

} // namespace

void RegisterResources(std::span<const TEmbeddedResource> Table) {
    ResourceRegistry& r = Registry();
    std::lock_guard g(r.lock);
    if (std::none_of(r.tables.begin(), r.tables.end(), [&](auto t) { return SameTable(t, Table); }))
        r.tables.push_back(Table);
}

void UnRegisterResources(std::span<const TEmbeddedResource> Table) {
    ResourceRegistry& r = Registry();
    std::lock_guard g(r.lock);
    std::erase_if(r.tables, [&](auto t) { return SameTable(t, Table); });
}

const TEmbeddedResource* FindResource(std::string_view Name, std::string_view Kind) {
    ResourceRegistry& r = Registry();
    std::lock_guard g(r.lock);
    for (auto table : r.tables)
        for (const TEmbeddedResource& res : table)
            if (res.kind == Kind && SameIdent(res.name, Name)) return &res;
    return nullptr;
}

const ClassInfo& TResourceStream::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TResourceStream>("TResourceStream", &TCustomMemoryStream::StaticClass());
    return ci;
}

TResourceStream::TResourceStream(const String& ResName, std::string_view Kind) {
    const TEmbeddedResource* res = FindResource(UTF8Encode(ResName), Kind);
    if (!res) throw EResNotFound(u"Resource %s not found", {ResName});
    // The bytes are constant; this stream never writes through the pointer.
    SetPointer(const_cast<Byte*>(res->data), static_cast<Int64>(res->size));
}

LongInt TResourceStream::Write(const void*, LongInt) {
    throw EStreamError(u"Can't write to a read-only resource stream");
}

TComponent* ReadComponentRes(const String& ResName, TComponent* Instance) {
    TResourceStream res(ResName, kFormResourceKind);
    char head[4] = {};
    const bool binary = res.Read(head, 4) == 4 && std::equal(head, head + 4, FilerSignature);
    res.SetPosition(0);
    if (binary) return res.ReadComponent(Instance);
    TMemoryStream converted;
    try {
        ObjectTextToBinary(&res, &converted);
    } catch (const EParserError& e) {
        throw EParserError(u"%s: %s", {ResName, e.Message()});
    }
    converted.SetPosition(0);
    return converted.ReadComponent(Instance);
}
