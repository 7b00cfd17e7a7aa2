#include "platform/win32/mapi.h"

#include "platform/core/sysutils.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {
TMapiMailer& Mailer() {
    static TMapiMailer mailer;
    return mailer;
}
} // namespace

bool MapiAvailable() {
    return static_cast<bool>(Mailer());
}

ULONG MAPISendMail(ULONG_PTR, ULONG_PTR, const MapiMessage& Message, ULONG flFlags, ULONG) {
    if (!Mailer()) return MAPI_E_FAILURE;
    return Mailer()(Message, flFlags);
}

void SetMapiMailer(TMapiMailer Mailer_) {
    Mailer() = std::move(Mailer_);
}

bool CreatePrivateTempDir(String& Path) {
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) return false;
    // mkdtemp makes the folder with a random name, for this user alone (mode 0700).
    std::string pattern = (base / "moltren-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return false;
    Path = UTF8ToString(pattern);
    return true;
}

void RemoveTempDir(const String& Path) {
    if (Path.empty()) return;
    std::error_code error;
    std::filesystem::remove_all(std::filesystem::path(UTF8Encode(Path)), error);
}
