#include "platform/win32/shell.h"

#include <QString>
#include <QUrl>

#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

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
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    std::string program = "xdg-open";
    std::string argument = target;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return rc == ENOMEM ? SE_ERR_OOM : rc == EACCES ? SE_ERR_ACCESSDENIED : SE_ERR_NOASSOC;

    // xdg-open reports a missing handler at once; a handler it starts in the
    // foreground may keep it busy, which is success for us.
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (pidfd >= 0) {
        pollfd p{pidfd, POLLIN, 0};
        int ready = 0;
        do {
            ready = poll(&p, 1, 2000);
        } while (ready < 0 && errno == EINTR);
        close(pidfd);
        if (ready > 0) {
            int status = 0;
            if (waitpid(pid, &status, 0) == pid) return FromExitStatus(status);
            return 0;
        }
    }
    std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
    return 0;
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
