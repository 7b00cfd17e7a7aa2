#include "platform/automation/recordingserver.h"

namespace {

String Quote(const String& text) {
    return u"\"" + text + u"\"";
}

// An object of the recording server, known by its path.
class TRecordingObject : public IDispatch {
public:
    TRecordingObject(std::shared_ptr<TRecordingServer> server, String path)
        : server_(std::move(server)), path_(std::move(path)) {}

    const String& Path() const { return path_; }

    Variant Invoke(std::u16string_view name, DispatchKind kind, std::span<const Variant> args) override {
        String target = path_ + u"." + String(name);
        if (kind == DispatchKind::PropertyPut) {
            if (args.empty()) throw EOleSysError(u"Invalid number of parameters", DISP_E_BADPARAMCOUNT);
            target += ArgumentList(args.first(args.size() - 1), false);
            server_->Record(u"put " + target + u" = " + TRecordingServer::Describe(args.back()));
            server_->RecordPut(target, args.back());
            return {};
        }
        target += ArgumentList(args, kind == DispatchKind::Method);
        server_->Record((kind == DispatchKind::Method ? u"call " : u"get ") + target);
        bool found = false;
        Variant result = server_->ResultFor(target, found);
        if (found) return result;
        return DispatchPtr(std::make_shared<TRecordingObject>(server_, target));
    }

private:
    static String ArgumentList(std::span<const Variant> args, bool always) {
        if (args.empty() && !always) return {};
        String out = u"(";
        for (std::size_t i = 0; i < args.size(); ++i) {
            if (i > 0) out += u", ";
            out += TRecordingServer::Describe(args[i]);
        }
        return out + u")";
    }

    std::shared_ptr<TRecordingServer> server_;
    String path_;
};

bool StartsWith(const String& text, const String& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

TRecordingServer::TRecordingServer(String progId) : progId_(std::move(progId)) {}

String TRecordingServer::Describe(const Variant& v) {
    if (v.IsArray()) {
        String out = u"Array[";
        for (int d = 1; d <= v.DimCount(); ++d) {
            if (d > 1) out += u", ";
            out += IntToStr(v.LowBound(d)) + u".." + IntToStr(v.HighBound(d));
        }
        return out + u"]";
    }
    switch (v.VarType()) {
    case varEmpty:
        return u"Empty";
    case varNull:
        return u"Null";
    case varBoolean:
        return v.AsBoolean() ? u"true" : u"false";
    case varOleStr:
        return Quote(v.AsString());
    case varDispatch: {
        const auto* object = dynamic_cast<const TRecordingObject*>(v.AsDispatch().get());
        return object != nullptr ? object->Path() : u"Dispatch";
    }
    default:
        return v.AsString();
    }
}

void TRecordingServer::Record(const String& line) {
    log_.push_back(line);
    for (const String& prefix : failOn_) {
        if (StartsWith(line, prefix)) throw EOleException(u"Recorded failure: " + line);
    }
}

void TRecordingServer::FailOn(String logLinePrefix) {
    failOn_.push_back(std::move(logLinePrefix));
}

void TRecordingServer::SetResult(String path, Variant value) {
    results_.emplace_back(std::move(path), std::move(value));
}

Variant TRecordingServer::ResultFor(const String& path, bool& found) const {
    for (auto it = results_.rbegin(); it != results_.rend(); ++it) {
        if (it->first == path) {
            found = true;
            return it->second;
        }
    }
    found = false;
    return {};
}

void TRecordingServer::RecordPut(const String& path, const Variant& value) {
    assigned_.emplace_back(path, value);
}

const Variant* TRecordingServer::Assigned(const String& path) const {
    for (auto it = assigned_.rbegin(); it != assigned_.rend(); ++it) {
        if (it->first == path) return &it->second;
    }
    return nullptr;
}

DispatchPtr TRecordingServer::NewInstance() {
    return std::make_shared<TRecordingObject>(shared_from_this(), progId_);
}

// Creation and lookup fail as the system reports them, with an error code.
void TRecordingServer::RecordRequest(const String& call, HRESULT failure) {
    try {
        Record(call + u"(" + Quote(progId_) + u")");
    } catch (const EOleException& e) {
        throw EOleSysError(e.Message(), failure);
    }
}

Variant TRecordingServer::CreateObject() {
    RecordRequest(u"CreateOleObject", E_FAIL);
    return TOleServer::CreateObject();
}

Variant TRecordingServer::GetActiveObject() {
    RecordRequest(u"GetActiveOleObject", MK_E_UNAVAILABLE);
    return TOleServer::GetActiveObject();
}
