#include "platform/win32/shell.h"

#include "platform/win32/spawn.h"

#include <QString>
#include <QUrl>

#include <cctype>
#include <cerrno>
#include <filesystem>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

ShellOpener& CurrentOpener() {
    static ShellOpener opener;
    return opener;
}

// A scheme of two or more characters: "C:" stays a (foreign) file name.
bool HasUrlScheme(const AnsiString& text) {
    std::size_t i = 0;
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0]))) return false;
    while (++i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == ':') return i >= 2;
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
    }
    return false;
}

bool SameAsciiNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

int FromExitStatus(int status) {
    if (!WIFEXITED(status)) return SE_ERR_NOASSOC;
    switch (WEXITSTATUS(status)) {
    case 0:
        return 0;
    case 2: // a file named on the command line does not exist
        return SE_ERR_FNF;
    default: // 3: no tool for it, 4: the tool failed, 127: no opener at all
        return SE_ERR_NOASSOC;
    }
}

} // namespace

AnsiString ShellTarget(const AnsiString& file, const AnsiString& directory, int& error) {
    error = 0;
    if (file.empty()) {
        error = SE_ERR_FNF;
        return {};
    }
    if (HasUrlScheme(file)) {
        const QUrl url(QString::fromUtf8(file.data(), static_cast<qsizetype>(file.size())),
                       QUrl::TolerantMode);
        if (!url.isValid()) {
            error = SE_ERR_NOASSOC;
            return {};
        }
        return url.toEncoded().toStdString();
    }
    std::error_code ec;
    fs::path path(file);
    if (path.is_relative()) path = (directory.empty() ? fs::current_path(ec) : fs::path(directory)) / path;
    path = fs::absolute(path, ec).lexically_normal();
    if (!fs::exists(path, ec)) {
        error = fs::exists(path.parent_path(), ec) ? SE_ERR_FNF : SE_ERR_PNF;
        return {};
    }
    return path.string();
}

ShellOpener SetShellOpener(ShellOpener opener) {
    ShellOpener previous = std::move(CurrentOpener());
    CurrentOpener() = std::move(opener);
    return previous;
}

int DesktopOpen(const AnsiString& target) {
    // xdg-open reports a missing handler at once; a handler it starts in the
    // foreground may keep it busy, which is success for us.
    const SpawnOutcome run = SpawnAndAwait("xdg-open", {target}, 2000);
    if (run.error != 0)
        return run.error == ENOMEM ? SE_ERR_OOM : run.error == EACCES ? SE_ERR_ACCESSDENIED : SE_ERR_NOASSOC;
    return run.ended ? FromExitStatus(run.status) : 0;
}

NativeInt ShellExecuteA(const void* /*window*/, const char* operation, const char* file,
                        const char* /*parameters*/, const char* directory, int /*showCmd*/) {
    const std::string_view verb = operation != nullptr ? operation : "";
    if (!verb.empty() && !SameAsciiNoCase(verb, "open")) return SE_ERR_NOASSOC;
    int error = 0;
    const AnsiString target =
        ShellTarget(file != nullptr ? file : "", directory != nullptr ? directory : "", error);
    if (error != 0) return error;
    const ShellOpener& opener = CurrentOpener();
    error = opener ? opener(target) : DesktopOpen(target);
    return error != 0 ? error : 42; // any value above 32 means success
}

NativeInt ShellExecuteW(const void* window, const String& operation, const String& file,
                        const String& parameters, const String& directory, int showCmd) {
    return ShellExecuteA(window, UTF8Encode(operation).c_str(), UTF8Encode(file).c_str(),
                         UTF8Encode(parameters).c_str(), UTF8Encode(directory).c_str(), showCmd);
}

NativeInt ShellExecute(const void* window, const String& operation, const String& file,
                       const String& parameters, const String& directory, int showCmd) {
    return ShellExecuteW(window, operation, file, parameters, directory, showCmd);
}
