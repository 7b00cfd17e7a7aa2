#include "platform/win32/serialcomm.h"

#include "platform/core/configdir.h"
#include "platform/core/system.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>

namespace fs = std::filesystem;

namespace win32 {
namespace {

struct Sources {
    std::mutex lock;
    fs::path ttyClassDir;
    fs::path listFile;
};

Sources& TheSources() {
    static Sources s;
    return s;
}

bool ProcessGone(long pid) {
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// A phantom port of a serial driver that probes for hardware has type 0.
bool PhantomPort(const fs::path& dir) {
    std::ifstream type(dir / "type");
    int value = -1;
    return type && (type >> value) && value == 0;
}

} // namespace

fs::path DefaultSerialCommListFile() {
    return ConfigDirectory() / "serialcomm";
}

void SetSerialCommSources(const fs::path& ttyClassDir, const fs::path& listFile) {
    Sources& s = TheSources();
    std::lock_guard guard(s.lock);
    s.ttyClassDir = ttyClassDir;
    s.listFile = listFile;
}

namespace {
fs::path ListFile() {
    Sources& s = TheSources();
    std::lock_guard guard(s.lock);
    return s.listFile.empty() ? DefaultSerialCommListFile() : s.listFile;
}
} // namespace

std::vector<SerialCommListEntry> ReadSerialCommList(const fs::path& file) {
    std::vector<SerialCommListEntry> entries;
    std::ifstream list(file);
    std::string line;
    while (list && std::getline(list, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto tab = line.find('\t');
        SerialCommListEntry e;
        e.port = line.substr(0, tab);
        if (e.port.empty()) continue;
        if (tab != std::string::npos) {
            e.pid = std::strtol(line.c_str() + tab + 1, nullptr, 10);
            if (const auto tab2 = line.find('\t', tab + 1); tab2 != std::string::npos)
                e.device = line.substr(tab2 + 1);
        }
        entries.push_back(std::move(e));
    }
    return entries;
}

std::string RegisteredPortDevice(std::string_view name) {
    for (const SerialCommListEntry& e : ReadSerialCommList(ListFile()))
        if (!e.device.empty() && SameIdent(e.port, name) && !ProcessGone(e.pid)) return e.device;
    return {};
}

} // namespace win32

LONG ReadSerialCommKey(std::vector<SerialCommValue>& values) {
    fs::path ttyDir, listFile;
    {
        win32::Sources& s = win32::TheSources();
        std::lock_guard guard(s.lock);
        ttyDir = s.ttyClassDir.empty() ? fs::path("/sys/class/tty") : s.ttyClassDir;
        listFile = s.listFile.empty() ? win32::DefaultSerialCommListFile() : s.listFile;
    }
    std::error_code ec;
    const bool haveTtys = fs::is_directory(ttyDir, ec);
    if (!haveTtys && !fs::is_regular_file(listFile, ec)) return static_cast<LONG>(ERROR_FILE_NOT_FOUND);

    values.clear();
    if (haveTtys) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(ttyDir, ec)) {
            std::error_code linkEc;
            if (!fs::exists(entry.path() / "device", linkEc) || win32::PhantomPort(entry.path())) continue;
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        for (const std::string& n : names)
            values.push_back({u"\\Device\\" + UTF8ToString(n), UTF8ToString(n)});
    }
    int registered = 0;
    for (const win32::SerialCommListEntry& e : win32::ReadSerialCommList(listFile)) {
        if (win32::ProcessGone(e.pid)) continue;
        values.push_back(
            {u"\\Device\\Registered" + UTF8ToString(std::to_string(registered++)), UTF8ToString(e.port)});
    }
    return static_cast<LONG>(ERROR_SUCCESS);
}

LONG SerialCommEnumValue(const std::vector<SerialCommValue>& key, DWORD dwIndex, WCHAR* lpValueName,
                         DWORD* lpcchValueName, DWORD* lpType, BYTE* lpData, DWORD* lpcbData) {
    if (dwIndex >= key.size()) return static_cast<LONG>(ERROR_NO_MORE_ITEMS);
    if (!lpValueName || !lpcchValueName) return static_cast<LONG>(ERROR_INVALID_PARAMETER);
    const SerialCommValue& v = key[dwIndex];
    if (*lpcchValueName < v.name.size() + 1) return static_cast<LONG>(ERROR_MORE_DATA);
    std::copy(v.name.begin(), v.name.end(), lpValueName);
    lpValueName[v.name.size()] = 0;
    *lpcchValueName = static_cast<DWORD>(v.name.size());
    if (lpType) *lpType = REG_SZ;
    const DWORD bytes = static_cast<DWORD>((v.data.size() + 1) * sizeof(WCHAR));
    if (lpcbData) {
        if (lpData && *lpcbData < bytes) {
            *lpcbData = bytes;
            return static_cast<LONG>(ERROR_MORE_DATA);
        }
        if (lpData) {
            std::memcpy(lpData, v.data.c_str(), bytes); // the NUL comes along
        }
        *lpcbData = bytes;
    }
    return static_cast<LONG>(ERROR_SUCCESS);
}
