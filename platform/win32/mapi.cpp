#include "platform/win32/mapi.h"

#include "platform/core/sysutils.h"
#include "platform/win32/spawn.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMailFolderPrefix = "moltren-mail-";
// Attachments left for the mail program are kept this long.
constexpr std::time_t kMailFolderLife = 24 * 60 * 60;
// How long xdg-email has to give its verdict: one that starts the mail program in the foreground
// (Thunderbird not yet running, say) stays until that program ends, and our windows must not hang
// that long. One still running then has handed the message over.
constexpr int kMailerWaitMs = 2000;

TMapiMailer& Mailer() {
    static TMapiMailer mailer;
    return mailer;
}

// The xdg-email a send would start: the first executable file of that name in a folder of PATH.
// An empty entry (the current folder) is passed over: no program is started from wherever the
// user happens to stand.
std::string FindXdgEmail() {
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        if (folder.empty()) continue;
        const std::string candidate = std::string(folder) + "/xdg-email";
        struct stat st {};
        if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

// mkdtemp makes the folder with a random name, for this user alone (mode 0700).
std::string MakePrivateDir(const fs::path& Base, std::string_view Prefix) {
    std::string pattern = (Base / (std::string(Prefix) + "XXXXXX")).string();
    return mkdtemp(pattern.data()) ? pattern : std::string();
}

// This user's mail folders a day old: their mails have long been sent or dropped.
void RemoveOldMailFolders(const fs::path& Base) {
    std::error_code error;
    const std::time_t oldest = std::time(nullptr) - kMailFolderLife;
    for (fs::directory_iterator it(Base, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() != kMailFolderPrefix.size() + 6 || !name.starts_with(kMailFolderPrefix)) continue;
        struct stat st {};
        if (lstat(it->path().c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid() ||
            st.st_mtime > oldest)
            continue;
        std::error_code ignored;
        fs::remove_all(it->path(), ignored);
    }
}

ULONG SendWithXdgEmail(const std::string& Program, const MapiMessage& Message) {
    // Our texts are UTF-8 whatever the locale says.
    std::vector<std::string> arguments{"--utf8"};
    if (!Message.lpszSubject.empty()) arguments.insert(arguments.end(), {"--subject", Message.lpszSubject});
    if (!Message.lpszNoteText.empty()) arguments.insert(arguments.end(), {"--body", Message.lpszNoteText});
    // The caller may remove its files as soon as we return, while the mail program reads an
    // attachment when it likes: it gets copies of its own.
    String folder;
    if (!Message.lpFiles.empty()) {
        std::error_code error;
        const fs::path base = fs::temp_directory_path(error);
        if (error) return MAPI_E_FAILURE;
        RemoveOldMailFolders(base);
        folder = UTF8ToString(MakePrivateDir(base, kMailFolderPrefix));
        if (folder.empty()) return MAPI_E_FAILURE;
        for (const MapiFileDesc& file : Message.lpFiles) {
            const fs::path from(file.lpszPathName);
            fs::path name = fs::path(file.lpszFileName).filename();
            if (name.empty() || name == "." || name == "..") name = from.filename();
            const fs::path to = fs::path(UTF8Encode(folder)) / name;
            if (!fs::copy_file(from, to, error)) {
                RemoveTempDir(folder);
                throw Exception(u"Cannot copy the file \"%s\" to attach it to the mail. %s",
                                {UTF8ToString(file.lpszPathName), UTF8ToString(error.message())});
            }
            arguments.insert(arguments.end(), {"--attach", to.string()});
        }
    }
    const SpawnOutcome run = SpawnAndAwait(Program, arguments, kMailerWaitMs);
    if (run.error == 0 && (!run.ended || (WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0)))
        return SUCCESS_SUCCESS;
    RemoveTempDir(folder); // nothing will read them
    return MAPI_E_FAILURE;
}

} // namespace

bool MapiAvailable() {
    return Mailer() || !FindXdgEmail().empty();
}

ULONG MAPISendMail(ULONG_PTR, ULONG_PTR, const MapiMessage& Message, ULONG flFlags, ULONG) {
    if (Mailer()) return Mailer()(Message, flFlags);
    const std::string program = FindXdgEmail();
    if (program.empty()) return MAPI_E_FAILURE;
    return SendWithXdgEmail(program, Message);
}

void SetMapiMailer(TMapiMailer Mailer_) {
    Mailer() = std::move(Mailer_);
}

bool CreatePrivateTempDir(String& Path) {
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    if (error) return false;
    const std::string folder = MakePrivateDir(base, "moltren-");
    if (folder.empty()) return false;
    Path = UTF8ToString(folder);
    return true;
}

void RemoveTempDir(const String& Path) {
    if (Path.empty()) return;
    std::error_code error;
    fs::remove_all(fs::path(UTF8Encode(Path)), error);
}
