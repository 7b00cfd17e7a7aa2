#include "platform/win32/shell.h"
#include "tests/support/shellrecorder.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(Shell, OpensLinksEncoded) {
    ShellRecorder rec;
    EXPECT_GT(ShellExecuteA(nullptr, "open", "mailto:support@moltren.example?Subject=Quilmet ", nullptr,
                            nullptr, SW_SHOW),
              32);
    EXPECT_GT(ShellExecuteA(nullptr, "open", "http://moltren.example", nullptr, nullptr, SW_SHOW), 32);
    EXPECT_GT(
        ShellExecute(nullptr, u"OPEN", u"http://moltren.example/Справка по прибору", u"", u"", SW_SHOWNORMAL),
        32);
    EXPECT_GT(ShellExecuteA(nullptr, nullptr, "https://moltren.example/a\"b<c>", nullptr, nullptr, SW_SHOW),
              32);
    EXPECT_EQ(rec.opened,
              (std::vector<AnsiString>{
                  "mailto:support@moltren.example?Subject=Quilmet%20",
                  "http://moltren.example",
                  "http://moltren.example/%D0%A1%D0%BF%D1%80%D0%B0%D0%B2%D0%BA%D0%B0%20%D0%BF%D0%BE%20"
                  "%D0%BF%D1%80%D0%B8%D0%B1%D0%BE%D1%80%D1%83",
                  "https://moltren.example/a%22b%3Cc%3E",
              }));
}

TEST(Shell, OpensFilesThatExistOnly) {
    ShellRecorder rec;
    TempDir dir;
    std::ofstream(dir.path / "Help Moltren.doc") << "{\\rtf1}";
    const auto full = (dir.path / "Help Moltren.doc").string();
    EXPECT_GT(ShellExecuteA(nullptr, "open", full.c_str(), nullptr, nullptr, SW_SHOW), 32);
    // Relative to the directory given, or else to the current one.
    EXPECT_GT(ShellExecuteA(nullptr, "open", "Help Moltren.doc", nullptr, dir.path.c_str(), SW_SHOW), 32);
    const auto cwd = fs::current_path();
    fs::current_path(dir.path);
    EXPECT_GT(ShellExecuteA(nullptr, "open", "./sub/../Help Moltren.doc", nullptr, nullptr, SW_SHOW), 32);
    fs::current_path(cwd);
    EXPECT_EQ(rec.opened, (std::vector<AnsiString>{full, full, full}));

    EXPECT_EQ(ShellExecuteA(nullptr, "open", "missing.doc", nullptr, dir.path.c_str(), SW_SHOW), SE_ERR_FNF);
    EXPECT_EQ(
        ShellExecuteA(nullptr, "open", (dir.path / "no/missing.doc").c_str(), nullptr, nullptr, SW_SHOW),
        SE_ERR_PNF);
    EXPECT_EQ(ShellExecuteA(nullptr, "open", "", nullptr, nullptr, SW_SHOW), SE_ERR_FNF);
    EXPECT_EQ(ShellExecuteA(nullptr, "print", full.c_str(), nullptr, nullptr, SW_SHOW), SE_ERR_NOASSOC);
    EXPECT_EQ(rec.opened.size(), 3u);
}

TEST(Shell, ReportsTheOpenersFailure) {
    ShellRecorder rec(SE_ERR_NOASSOC);
    EXPECT_EQ(ShellExecuteA(nullptr, "open", "http://moltren.example", nullptr, nullptr, SW_SHOW),
              SE_ERR_NOASSOC);
}

// The desktop opener hands the target over as one argument, never through a
// shell: a stand-in xdg-open early on PATH writes down what it was given.
TEST(Shell, DesktopOpenerSpawnsXdgOpenWithoutAShell) {
    TempDir dir;
    const auto log = dir.path / "args";
    const auto fake = dir.path / "xdg-open";
    std::ofstream(fake) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" << log.string()
                        << "'; done\ncase \"$1\" in *fail*) exit 3;; *gone*) exit 2;; esac\nexit 0\n";
    fs::permissions(fake, fs::perms::owner_all);
    const std::string oldPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    setenv("PATH", (dir.path.string() + ":" + oldPath).c_str(), 1);

    const AnsiString tricky = "http://moltren.example/a b;$(touch " + (dir.path / "pwned").string() + ")";
    EXPECT_EQ(DesktopOpen(tricky), 0);
    EXPECT_EQ(DesktopOpen("http://fail.example"), SE_ERR_NOASSOC);
    EXPECT_EQ(DesktopOpen("/tmp/gone.doc"), SE_ERR_FNF);
    setenv("PATH", dir.path.c_str(), 1);
    fs::remove(fake);
    EXPECT_EQ(DesktopOpen("http://moltren.example"), SE_ERR_NOASSOC); // no opener installed
    setenv("PATH", oldPath.c_str(), 1);

    std::ifstream in(log);
    std::string line;
    std::vector<std::string> args;
    while (std::getline(in, line)) args.push_back(line);
    EXPECT_EQ(args, (std::vector<std::string>{tricky, "http://fail.example", "/tmp/gone.doc"}));
    EXPECT_FALSE(fs::exists(dir.path / "pwned"));
}
