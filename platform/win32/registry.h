#pragma once
// The registry: a file-backed store of keys and typed values under the user's
// configuration directory ("registry" there, platform/core/configdir.h; tests move it),
// the Win32 calls on it, and the class library's TRegistry and TRegIniFile.
//
// HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM is not stored: it is read
// live from the machine's serial ports (serialcomm.h) and cannot be written.

#include "platform/core/classes.h"
#include "platform/core/lists.h"
#include "platform/core/sysutils.h"
#include "platform/win32/wintypes.h"

#include <filesystem>

struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;

inline HKEY const HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000000u));
inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001u));
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000002u));
inline HKEY const HKEY_USERS = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000003u));
inline HKEY const HKEY_CURRENT_CONFIG = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000005u));

inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_WRITE = 0x20006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, WCHAR* lpClass, DWORD dwOptions,
                     REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                     LPDWORD lpdwDisposition);
LONG RegCloseKey(HKEY hKey);
// lpcbData: the buffer's size in bytes, on return the value's size; a null
// lpData asks for the size only; ERROR_MORE_DATA when the buffer is too small.
LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, BYTE* lpData,
                      LPDWORD lpcbData);
LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                    DWORD cbData);
LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName);
// Deletes a key that has no subkeys.
LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey);
LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, WCHAR* lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                   WCHAR* lpClass, LPDWORD lpcchClass, void* lpftLastWriteTime);
LONG RegEnumValueW(HKEY hKey, DWORD dwIndex, WCHAR* lpValueName, LPDWORD lpcchValueName, LPDWORD lpReserved,
                   LPDWORD lpType, BYTE* lpData, LPDWORD lpcbData);

namespace win32 {
// The directory of the store; tests point it at their own. Empty restores
// the default, the configuration directory (platform/core/configdir.h).
void SetRegistryDirectory(const std::filesystem::path& dir);
std::filesystem::path RegistryDirectory();
} // namespace win32

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

enum TRegDataType : std::uint8_t { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

class TRegistry : public TObject {
public:
    explicit TRegistry(REGSAM AAccess = KEY_ALL_ACCESS);
    ~TRegistry() override;

    HKEY GetRootKey() const { return FRootKey; }
    void SetRootKey(HKEY Value); // closes the open key
    HKEY GetCurrentKey() const { return FCurrentKey; }
    const String& GetCurrentPath() const { return FCurrentPath; }
    REGSAM GetAccess() const { return FAccess; }
    void SetAccess(REGSAM Value) { FAccess = Value; }

    // A key path starting with '\' is taken from the root; otherwise from the
    // open key when there is one.
    bool OpenKey(const String& Key, bool CanCreate);
    bool OpenKeyReadOnly(const String& Key);
    void CloseKey();
    bool CreateKey(const String& Key);
    bool DeleteKey(const String& Key);
    bool KeyExists(const String& Key);
    bool HasSubKeys();
    void GetKeyNames(TStrings* Strings);
    void GetValueNames(TStrings* Strings);
    bool ValueExists(const String& Name);
    bool DeleteValue(const String& Name);
    TRegDataType GetDataType(const String& ValueName);
    int GetDataSize(const String& ValueName); // -1 when there is no such value

    // Reading a value of another type raises ERegistryException.
    bool ReadBool(const String& Name);
    int ReadInteger(const String& Name);
    String ReadString(const String& Name); // "" for a missing value
    int ReadBinaryData(const String& Name, void* Buffer, int BufSize);
    void WriteBool(const String& Name, bool Value);
    void WriteInteger(const String& Name, int Value);
    void WriteString(const String& Name, const String& Value);
    void WriteBinaryData(const String& Name, const void* Buffer, int BufSize);

private:
    String Absolute(const String& Key) const;
    void PutData(const String& Name, DWORD Type, const void* Buffer, DWORD Size);

    HKEY FRootKey = HKEY_CURRENT_USER;
    HKEY FCurrentKey = nullptr;
    String FCurrentPath;
    REGSAM FAccess;
};

// Settings in the shape of an ini file: sections are subkeys of the file's
// key (under HKEY_CURRENT_USER), identifiers are values.
class TRegIniFile : public TRegistry {
public:
    explicit TRegIniFile(const String& FileName, REGSAM AAccess = KEY_ALL_ACCESS);

    const String& GetFileName() const { return FFileName; }
    String ReadString(const String& Section, const String& Ident, const String& Default);
    int ReadInteger(const String& Section, const String& Ident, int Default);
    bool ReadBool(const String& Section, const String& Ident, bool Default);
    void WriteString(const String& Section, const String& Ident, const String& Value);
    void WriteInteger(const String& Section, const String& Ident, int Value);
    void WriteBool(const String& Section, const String& Ident, bool Value);
    void ReadSection(const String& Section, TStrings* Strings);
    void ReadSections(TStrings* Strings);
    void EraseSection(const String& Section);
    void DeleteKey(const String& Section, const String& Ident);

private:
    template <class F>
    auto InSection(const String& Section, bool CanCreate, F&& f) -> decltype(f());
    String FFileName;
};
