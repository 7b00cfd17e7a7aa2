#include "platform/automation/comobj.h"

#include "platform/automation/excelserver.h"
#include "platform/automation/wordserver.h"

#include <map>

namespace {

struct NoCase {
    bool operator()(const String& a, const String& b) const {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(), [](char16_t x, char16_t y) {
                const auto lower = [](char16_t c) {
                    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
                };
                return lower(x) < lower(y);
            });
    }
};

using Registry = std::map<String, std::shared_ptr<TOleServer>, NoCase>;

// The servers this program carries, registered on first use.
Registry& Servers() {
    static Registry servers = [] {
        Registry r;
        r[u"Excel.Application"] = std::make_shared<TExcelServer>();
        r[u"word.application"] = std::make_shared<TWordServer>();
        return r;
    }();
    return servers;
}

} // namespace

Variant TOleServer::CreateObject() {
    DispatchPtr instance = NewInstance();
    running_ = instance;
    return Variant(std::move(instance));
}

Variant TOleServer::GetActiveObject() {
    if (DispatchPtr instance = running_.lock()) return Variant(std::move(instance));
    throw EOleSysError(u"Operation unavailable", MK_E_UNAVAILABLE);
}

void RegisterOleServer(const String& progId, std::shared_ptr<TOleServer> server) {
    Servers()[progId] = std::move(server);
}

void UnregisterOleServer(const String& progId) {
    Servers().erase(progId);
}

std::shared_ptr<TOleServer> FindOleServer(const String& progId) {
    const auto it = Servers().find(progId);
    return it == Servers().end() ? nullptr : it->second;
}

namespace {
TOleServer& ServerOf(const String& progId) {
    auto server = FindOleServer(progId);
    if (server == nullptr) throw EOleSysError(u"Invalid class string", CO_E_CLASSSTRING);
    return *server;
}
} // namespace

Variant CreateOleObject(const String& ClassName) {
    return ServerOf(ClassName).CreateObject();
}

Variant GetActiveOleObject(const String& ClassName) {
    return ServerOf(ClassName).GetActiveObject();
}

TOleServerScope::TOleServerScope(String progId, std::shared_ptr<TOleServer> server)
    : progId_(std::move(progId)), previous_(FindOleServer(progId_)) {
    RegisterOleServer(progId_, std::move(server));
}

TOleServerScope::~TOleServerScope() {
    if (previous_ != nullptr) {
        RegisterOleServer(progId_, std::move(previous_));
    } else {
        UnregisterOleServer(progId_);
    }
}

// ---------------------------------------------------------------------------

void TAutoDispatch::Member(std::u16string_view name, int minArgs, int maxArgs, Getter get, Setter set) {
    members_.push_back({String(name), minArgs, maxArgs, std::move(get), std::move(set)});
}

const Variant& TAutoDispatch::Arg(Args args, std::size_t i) {
    static const Variant missing;
    return i < args.size() ? args[i] : missing;
}

Variant TAutoDispatch::Invoke(std::u16string_view name, DispatchKind kind, std::span<const Variant> args) {
    for (const Entry& e : members_) {
        if (!SameMemberName(e.name, name)) continue;
        const bool put = kind == DispatchKind::PropertyPut;
        if (put ? !e.set : !e.get) break;
        const auto count = static_cast<int>(args.size()) - (put ? 1 : 0);
        if (count < e.minArgs || count > e.maxArgs) {
            throw EOleSysError(u"Invalid number of parameters", DISP_E_BADPARAMCOUNT);
        }
        if (!put) return e.get(args);
        e.set(args.first(args.size() - 1), args.back());
        return {};
    }
    throw EOleError(u"Method '" + String(name) + u"' not supported by automation object");
}
