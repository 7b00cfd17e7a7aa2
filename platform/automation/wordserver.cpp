#include "platform/automation/wordserver.h"

#include "platform/win32/shell.h"

namespace {

class TWordDocument : public TAutoDispatch {
public:
    explicit TWordDocument(String path) : path_(std::move(path)) {
        Member(u"FullName", 0, 0, [this](Args) -> Variant { return path_; });
    }

private:
    String path_;
};

class TWordDocuments : public TAutoDispatch {
public:
    TWordDocuments(std::shared_ptr<TWordApplication> app, std::function<Variant(const String&)> open)
        : app_(std::move(app)) {
        Member(u"Open", 1, 16, [open = std::move(open)](Args a) { return open(a[0].AsString()); });
        Member(u"Count", 0, 0, [this](Args) -> Variant { return static_cast<int>(app_->Opened().size()); });
    }

private:
    std::shared_ptr<TWordApplication> app_;
};

} // namespace

TWordApplication::TWordApplication() {
    Member(
        u"Visible", 0, 0, [this](Args) -> Variant { return visible_; },
        [this](Args, const Variant& v) { visible_ = v.AsBoolean(); });
    Member(u"Documents", 0, 0, [this](Args) -> Variant {
        auto self = std::static_pointer_cast<TWordApplication>(shared_from_this());
        return DispatchPtr(
            std::make_shared<TWordDocuments>(self, [this](const String& path) { return Open(path); }));
    });
}

Variant TWordApplication::Open(const String& path) {
    const NativeInt result = ShellExecute(nullptr, u"open", path, u"", u"", SW_SHOWNORMAL);
    if (result <= 32) {
        const String why = result == SE_ERR_FNF || result == SE_ERR_PNF
                               ? u"файл не найден"
                               : u"не найдена программа для его просмотра";
        throw EOleException(u"Не удалось открыть документ \"" + path + u"\": " + why, DISP_E_EXCEPTION,
                            u"word.application");
    }
    opened_.push_back(path);
    return DispatchPtr(std::make_shared<TWordDocument>(path));
}

DispatchPtr TWordServer::NewInstance() {
    return std::make_shared<TWordApplication>();
}
