#pragma once
// A port list of the test's own: the terminal class directory and the
// port-list file live in a temporary directory while the object lives.

#include "platform/win32/serialcomm.h"
#include "tests/support/tempdir.h"

#include <filesystem>
#include <fstream>
#include <string>

class TempPortList {
public:
    explicit TempPortList(const std::string& tag) : dir_("moltren-" + tag), root_(dir_.path) {
        std::filesystem::create_directories(root_ / "tty");
        win32::SetSerialCommSources(root_ / "tty", root_ / "serialcomm");
    }
    ~TempPortList() { win32::SetSerialCommSources({}, {}); }
    TempPortList(const TempPortList&) = delete;
    TempPortList& operator=(const TempPortList&) = delete;

    // Ports registered as the device simulator registers its own, one a line.
    void Register(const std::string& lines) const { std::ofstream(root_ / "serialcomm") << lines; }
    // No serial ports at all: the key is missing.
    void RemoveKey() const { std::filesystem::remove_all(root_ / "tty"); }

private:
    TempDir dir_;
    std::filesystem::path root_;
};
