#pragma once
// The registry key HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM: the
// serial ports of the machine, read-only. It is made of the terminals under
// /sys/class/tty that have a device behind them (value "\Device\<name>", data
// "<name>") and of the ports listed in the port-list file, where the device
// simulator registers its pseudo-terminal while it runs (value
// "\Device\Registered<n>", data the port name as listed). The list file holds
// one port per line, optionally followed by a TAB and the id of the process
// that registered it; entries of processes that no longer run are left out.
//
// This stands in for the key until the registry store serves it; the calls
// keep the registry's shape so that the store can forward to them.

#include "platform/win32/wintypes.h"

#include <filesystem>
#include <string>
#include <vector>

struct SerialCommValue {
    std::u16string name;
    std::u16string data;
};

// The key's values, or ERROR_FILE_NOT_FOUND when the key does not exist
// (neither the terminal class directory nor the list file is there).
LONG ReadSerialCommKey(std::vector<SerialCommValue>& values);

// One value of a key read by ReadSerialCommKey, as RegEnumValueW gives it:
// lpcchValueName is the name buffer's size in characters (on return the
// name's length without the NUL); lpcbData the data buffer's size in bytes (on
// return the bytes written, NUL included). ERROR_NO_MORE_ITEMS past the last
// value, ERROR_MORE_DATA when a buffer is too small.
LONG SerialCommEnumValue(const std::vector<SerialCommValue>& key, DWORD dwIndex, WCHAR* lpValueName,
                         DWORD* lpcchValueName, DWORD* lpType, BYTE* lpData, DWORD* lpcbData);

namespace win32 {

// The port-list file: "serialcomm" in the configuration directory
// (platform/core/configdir.h).
std::filesystem::path DefaultSerialCommListFile();
// Where the key is read from; tests point both elsewhere. Empty paths restore
// the defaults (/sys/class/tty and the default list file).
void SetSerialCommSources(const std::filesystem::path& ttyClassDir, const std::filesystem::path& listFile);

// One line of the port-list file: "<port>[\t<pid>[\t<device>]]". A port listed
// under a name of its own gives the terminal it stands for as its device.
struct SerialCommListEntry {
    std::string port;
    long pid = 0; // 0: not known
    std::string device;
};
// The entries of a port-list file in file order, blank lines left out; none
// when the file cannot be read.
std::vector<SerialCommListEntry> ReadSerialCommList(const std::filesystem::path& file);

// The terminal behind a port that the list file gives under a name of its own
// ("COM1\t<pid>\t/dev/pts/3", as a virtual serial port driver names its ports),
// compared without regard to case; empty when no running process lists one.
std::string RegisteredPortDevice(std::string_view name);

} // namespace win32
