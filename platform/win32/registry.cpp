#include "platform/win32/registry.h"

#include "platform/core/configdir.h"
#include "platform/core/streams.h"
#include "platform/win32/serialcomm.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

struct HKEY__ {
    String path; // full path, root name first
    REGSAM access = KEY_READ;
    bool serialComm = false;
    // The serial-port key as read when the handle opened or its last
    // enumeration began: the indices of one enumeration come from one read.
    std::vector<SerialCommValue> serialPorts;
    bool serialPortsFresh = false;
};

namespace {

constexpr std::u16string_view kSerialCommPath = u"HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\SERIALCOMM";

String Upper(std::u16string_view s) {
    String out(s);
    for (char16_t& c : out)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    return out;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && Upper(a) == Upper(b);
}

// Path components joined by single backslashes, without leading or trailing ones.
String Normal(std::u16string_view path) {
    String out;
    std::size_t i = 0;
    while (i < path.size()) {
        while (i < path.size() && path[i] == u'\\') ++i;
        std::size_t j = i;
        while (j < path.size() && path[j] != u'\\') ++j;
        if (j > i) {
            if (!out.empty()) out += u'\\';
            out.append(path.substr(i, j - i));
        }
        i = j;
    }
    return out;
}

struct Value {
    String name;
    DWORD type = REG_NONE;
    std::vector<Byte> data;
};

struct Key {
    String path; // as first written
    std::vector<Value> values;
    Value* Find(std::u16string_view name) {
        for (Value& v : values)
            if (SameName(v.name, name)) return &v;
        return nullptr;
    }
};

struct Store {
    std::mutex lock;
    fs::path dirOverride;
    fs::path loadedFrom;
    fs::file_time_type stamp{};
    std::map<String, Key> keys; // by upper-cased full path

    fs::path Dir() const {
        if (!dirOverride.empty()) return dirOverride;
        return ConfigDirectory();
    }
    fs::path File() const { return Dir() / "registry"; }

    void Refresh();
    // ERROR_WRITE_FAULT when the file cannot be written; LastSaveError then says why.
    LONG Save();
    Key* Find(std::u16string_view path) {
        const auto it = keys.find(Upper(path));
        return it == keys.end() ? nullptr : &it->second;
    }
    Key& Make(std::u16string_view path) {
        // Parents exist whenever a child does.
        const String p(path);
        for (std::size_t pos = p.find(u'\\'); pos != String::npos; pos = p.find(u'\\', pos + 1)) {
            const String parent = p.substr(0, pos);
            if (!Find(parent)) keys[Upper(parent)] = Key{parent, {}};
        }
        Key* k = Find(p);
        if (!k) k = &(keys[Upper(p)] = Key{p, {}});
        return *k;
    }
};

// The last failed save of this thread: the file and the reason.
String& LastSaveError() {
    thread_local String text;
    return text;
}

Store& TheStore() {
    static Store s;
    return s;
}

// ---------------------------------------------------------------------------
// The file: UTF-8 text in the shape of an exported registry file.

std::string Quote(std::u16string_view s) {
    std::string out = "\"";
    for (char c : UTF8Encode(s)) {
        if (c == '\\' || c == '"')
            out += '\\', out += c;
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out + "\"";
}

// Reads a quoted text at s[i] (the opening quote); i moves past the closing quote.
bool Unquote(const std::string& s, std::size_t& i, std::string& out) {
    if (i >= s.size() || s[i] != '"') return false;
    ++i;
    while (i < s.size() && s[i] != '"') {
        if (s[i] == '\\' && i + 1 < s.size()) {
            ++i;
            out += s[i] == 'n' ? '\n' : s[i] == 'r' ? '\r' : s[i];
        } else {
            out += s[i];
        }
        ++i;
    }
    if (i >= s.size()) return false;
    ++i;
    return true;
}

std::vector<Byte> TextData(std::u16string_view text) {
    std::vector<Byte> data;
    data.reserve((text.size() + 1) * 2);
    for (char16_t c : text) {
        data.push_back(static_cast<Byte>(c & 0xFF));
        data.push_back(static_cast<Byte>(c >> 8));
    }
    data.push_back(0);
    data.push_back(0);
    return data;
}

String DataText(const std::vector<Byte>& data) {
    String s;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const auto c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (c == 0) break;
        s += c;
    }
    return s;
}

void Store::Refresh() {
    const fs::path file = File();
    std::error_code ec;
    const auto stampNow = fs::last_write_time(file, ec);
    if (file == loadedFrom && (ec ? fs::file_time_type{} : stampNow) == stamp) return;
    keys.clear();
    loadedFrom = file;
    stamp = ec ? fs::file_time_type{} : stampNow;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    Key* cur = nullptr;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[' && line.back() == ']') {
            cur = &Make(Normal(UTF8ToString(line.substr(1, line.size() - 2))));
            continue;
        }
        if (!cur) continue;
        // "name"=data or @=data; a line that does not parse is skipped.
        std::size_t i = 0;
        std::string name;
        if (line[0] == '@')
            i = 1;
        else if (!Unquote(line, i, name))
            continue;
        if (i >= line.size() || line[i] != '=') continue;
        ++i;
        Value v;
        v.name = UTF8ToString(name);
        const std::string rest = line.substr(i);
        if (!rest.empty() && rest[0] == '"') {
            std::string text;
            std::size_t j = 0;
            if (!Unquote(rest, j, text)) continue;
            v.type = REG_SZ;
            v.data = TextData(UTF8ToString(text));
        } else if (rest.rfind("expand:", 0) == 0) {
            std::string text;
            std::size_t j = 7;
            if (!Unquote(rest, j, text)) continue;
            v.type = REG_EXPAND_SZ;
            v.data = TextData(UTF8ToString(text));
        } else if (rest.rfind("dword:", 0) == 0) {
            const DWORD d = static_cast<DWORD>(std::strtoul(rest.c_str() + 6, nullptr, 16));
            v.type = REG_DWORD;
            v.data = {static_cast<Byte>(d), static_cast<Byte>(d >> 8), static_cast<Byte>(d >> 16),
                      static_cast<Byte>(d >> 24)};
        } else if (rest.rfind("hex(", 0) == 0) {
            char* end = nullptr;
            v.type = static_cast<DWORD>(std::strtoul(rest.c_str() + 4, &end, 16));
            if (!end || std::strncmp(end, "):", 2) != 0) continue;
            std::istringstream bytes(end + 2);
            std::string b;
            while (std::getline(bytes, b, ','))
                if (!b.empty()) v.data.push_back(static_cast<Byte>(std::strtoul(b.c_str(), nullptr, 16)));
        } else {
            continue;
        }
        if (Value* old = cur->Find(v.name))
            *old = std::move(v);
        else
            cur->values.push_back(std::move(v));
    }
}

LONG Store::Save() {
    const fs::path file = File();
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    std::ostringstream out;
    out << "; Moltren settings\n";
    for (const auto& [upper, key] : keys) {
        out << '\n' << '[' << UTF8Encode(key.path) << "]\n";
        for (const Value& v : key.values) {
            out << (v.name.empty() ? std::string("@") : Quote(v.name)) << '=';
            if (v.type == REG_SZ) {
                out << Quote(DataText(v.data));
            } else if (v.type == REG_EXPAND_SZ) {
                out << "expand:" << Quote(DataText(v.data));
            } else if (v.type == REG_DWORD && v.data.size() == 4) {
                char buf[16];
                std::snprintf(buf, sizeof buf, "dword:%08x",
                              static_cast<unsigned>(v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) |
                                                    (static_cast<unsigned>(v.data[3]) << 24)));
                out << buf;
            } else {
                char buf[16];
                std::snprintf(buf, sizeof buf, "hex(%x):", static_cast<unsigned>(v.type));
                out << buf;
                for (std::size_t i = 0; i < v.data.size(); ++i) {
                    std::snprintf(buf, sizeof buf, "%s%02x", i ? "," : "", v.data[i]);
                    out << buf;
                }
            }
            out << '\n';
        }
    }
    const std::string text = out.str();
    try {
        ReplaceFileContents(UTF8ToString(file.string()), text.data(), text.size());
    } catch (const EStreamError& e) {
        // The file keeps what it held, and so will this process: the change is read anew from it.
        LastSaveError() = e.Message();
        loadedFrom.clear();
        return ERROR_WRITE_FAULT;
    }
    stamp = fs::last_write_time(file, ec);
    loadedFrom = file;
    return ERROR_SUCCESS;
}

// ---------------------------------------------------------------------------
// Handles

std::u16string_view RootName(HKEY h) {
    if (h == HKEY_CLASSES_ROOT) return u"HKEY_CLASSES_ROOT";
    if (h == HKEY_CURRENT_USER) return u"HKEY_CURRENT_USER";
    if (h == HKEY_LOCAL_MACHINE) return u"HKEY_LOCAL_MACHINE";
    if (h == HKEY_USERS) return u"HKEY_USERS";
    if (h == HKEY_CURRENT_CONFIG) return u"HKEY_CURRENT_CONFIG";
    return {};
}

bool IsRoot(HKEY h) {
    return !RootName(h).empty();
}

// The full path of a key handle (a root or an opened key); empty for an invalid one.
String PathOf(HKEY h) {
    if (!h) return {};
    if (IsRoot(h)) return String(RootName(h));
    return h->path;
}

String Join(HKEY parent, LPCWSTR sub) {
    String base = PathOf(parent);
    if (base.empty()) return {};
    const String tail = Normal(sub ? std::u16string_view(sub) : std::u16string_view());
    return tail.empty() ? base : base + u"\\" + tail;
}

bool IsSerialComm(std::u16string_view path) {
    return SameName(path, kSerialCommPath);
}

// HARDWARE and DEVICEMAP exist as the way to the serial port key.
bool IsSerialCommParent(std::u16string_view path) {
    return SameName(path, kSerialCommPath.substr(0, kSerialCommPath.rfind(u'\\'))) ||
           SameName(path, u"HKEY_LOCAL_MACHINE\\HARDWARE");
}

LONG CopyOut(const std::vector<Byte>& data, DWORD type, LPDWORD lpType, BYTE* lpData, LPDWORD lpcbData) {
    if (lpType) *lpType = type;
    const auto size = static_cast<DWORD>(data.size());
    if (lpData && lpcbData) {
        if (*lpcbData < size) {
            *lpcbData = size;
            return ERROR_MORE_DATA;
        }
        std::memcpy(lpData, data.data(), size);
    }
    if (lpcbData) *lpcbData = size;
    return ERROR_SUCCESS;
}

LONG CopyName(std::u16string_view name, WCHAR* out, LPDWORD cch) {
    if (!out || !cch) return ERROR_INVALID_PARAMETER;
    if (*cch <= name.size()) {
        *cch = static_cast<DWORD>(name.size() + 1);
        return ERROR_MORE_DATA;
    }
    std::copy(name.begin(), name.end(), out);
    out[name.size()] = 0;
    *cch = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

} // namespace

namespace win32 {
void SetRegistryDirectory(const fs::path& dir) {
    Store& s = TheStore();
    std::lock_guard g(s.lock);
    s.dirOverride = dir;
    s.loadedFrom.clear();
}
fs::path RegistryDirectory() {
    Store& s = TheStore();
    std::lock_guard g(s.lock);
    return s.Dir();
}
} // namespace win32

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    const String path = Join(hKey, lpSubKey);
    if (path.empty()) return ERROR_INVALID_HANDLE;
    auto h = std::make_unique<HKEY__>();
    h->path = path;
    h->access = samDesired;
    if (IsSerialComm(path)) {
        if (const LONG rc = ReadSerialCommKey(h->serialPorts); rc != ERROR_SUCCESS) return rc;
        h->serialComm = true;
        h->serialPortsFresh = true;
    } else if (!IsSerialCommParent(path) && Normal(path).find(u'\\') != String::npos) {
        Store& s = TheStore();
        std::lock_guard g(s.lock);
        s.Refresh();
        if (Key* k = s.Find(path))
            h->path = k->path;
        else
            return ERROR_FILE_NOT_FOUND;
    }
    *phkResult = h.release();
    return ERROR_SUCCESS;
}

LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, WCHAR*, DWORD, REGSAM samDesired,
                     LPSECURITY_ATTRIBUTES, PHKEY phkResult, LPDWORD lpdwDisposition) {
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    const String path = Join(hKey, lpSubKey);
    if (path.empty()) return ERROR_INVALID_HANDLE;
    if (IsSerialComm(path) || IsSerialCommParent(path))
        return RegOpenKeyExW(hKey, lpSubKey, 0, samDesired & ~KEY_SET_VALUE, phkResult);
    Store& s = TheStore();
    std::lock_guard g(s.lock);
    s.Refresh();
    Key* existing = s.Find(path);
    const bool created = !existing;
    const bool made = created && Normal(path).find(u'\\') != String::npos;
    if (made) existing = &s.Make(path);
    // Where the settings cannot be kept (a read-only home, a full disk, a folder of another user),
    // a key opened for writing is refused as one the user may not write: callers that skip such a
    // key lose nothing they were told was saved. A failed save drops the made key at the next read.
    if ((made || (samDesired & KEY_SET_VALUE)) && s.Save() != ERROR_SUCCESS) return ERROR_ACCESS_DENIED;
    if (lpdwDisposition) *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    auto h = std::make_unique<HKEY__>();
    h->path = existing ? existing->path : path;
    h->access = samDesired;
    *phkResult = h.release();
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY hKey) {
    if (!hKey) return ERROR_INVALID_HANDLE;
    if (!IsRoot(hKey)) delete hKey;
    return ERROR_SUCCESS;
}

LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD, LPDWORD lpType, BYTE* lpData,
                      LPDWORD lpcbData) {
    if (!hKey) return ERROR_INVALID_HANDLE;
    const std::u16string_view name = lpValueName ? lpValueName : u"";
    if (!IsRoot(hKey) && hKey->serialComm) {
        std::vector<SerialCommValue> values;
        if (const LONG rc = ReadSerialCommKey(values); rc != ERROR_SUCCESS) return rc;
        for (const SerialCommValue& v : values)
            if (SameName(v.name, name)) return CopyOut(TextData(v.data), REG_SZ, lpType, lpData, lpcbData);
        return ERROR_FILE_NOT_FOUND;
    }
    Store& s = TheStore();
    std::lock_guard g(s.lock);
    s.Refresh();
    Key* k = s.Find(PathOf(hKey));
    Value* v = k ? k->Find(name) : nullptr;
    if (!v) return ERROR_FILE_NOT_FOUND;
    return CopyOut(v->data, v->type, lpType, lpData, lpcbData);
}

LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData) {
    if (!hKey) return ERROR_INVALID_HANDLE;
    if (IsRoot(hKey) || hKey->serialComm || IsSerialCommParent(hKey->path) || !(hKey->access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    Store& s = TheStore();
    std::lock_guard g(s.lock);
    s.Refresh();
    Key& k = s.Make(hKey->path);
    Value v;
    v.name = lpValueName ? lpValueName : u"";
    v.type = dwType;
    if (lpData) v.data.assign(lpData, lpData + cbData);
    if (Value* old = k.Find(v.name))
        *old = std::move(v);
    else
        k.values.push_back(std::move(v));
    return s.Save();
}

LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
    if (!hKey) return ERROR_INVALID_HANDLE;
    if (IsRoot(hKey) || hKey->serialComm || !(hKey->access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    Store& s = TheStore();
    std::lock_guard g(s.lock);
    s.Refresh();
    Key* k = s.Find(hKey->path);
    const std::u16string_view name = lpValueName ? lpValueName : u"";
    if (!k) return ERROR_FILE_NOT_FOUND;
    for (auto it = k->values.begin(); it != k->values.end(); ++it)
        if (SameName(it->name, name)) {
            k->values.erase(it);
            return s.Save();
        }
    return ERROR_FILE_NOT_FOUND;
}

LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
    const String path = Join(hKey, lpSubKey);
    if (path.empty()) return ERROR_INVALID_HANDLE;
    if (IsSerialComm(path) || IsSerialCommParent(path)) return ERROR_ACCESS_DENIED;
    Store& s = TheStore();
    std::lock_guard g(s.lock);
    s.Refresh();
    const String upper = Upper(path);
    const auto it = s.keys.find(upper);
    if (it == s.keys.end()) return ERROR_FILE_NOT_FOUND;
    const auto next = std::next(it);
    if (next != s.keys.end() && next->first.rfind(upper + u"\\", 0) == 0) return ERROR_ACCESS_DENIED;
    s.keys.erase(it);
    return s.Save();
}

LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, WCHAR* lpName, LPDWORD lpcchName, LPDWORD, WCHAR*, LPDWORD,
                   void*) {
    const String base = PathOf(hKey);
    if (base.empty()) return ERROR_INVALID_HANDLE;
    std::vector<String> names;
    if (SameName(base, u"HKEY_LOCAL_MACHINE\\HARDWARE"))
        names.push_back(u"DEVICEMAP");
    else if (IsSerialCommParent(base))
        names.push_back(u"SERIALCOMM");
    {
        Store& s = TheStore();
        std::lock_guard g(s.lock);
        s.Refresh();
        const String prefix = Upper(base) + u"\\";
        for (const auto& [upper, key] : s.keys)
            if (upper.rfind(prefix, 0) == 0 && upper.find(u'\\', prefix.size()) == String::npos)
                names.push_back(key.path.substr(prefix.size()));
    }
    if (dwIndex >= names.size()) return ERROR_NO_MORE_ITEMS;
    return CopyName(names[dwIndex], lpName, lpcchName);
}

LONG RegEnumValueW(HKEY hKey, DWORD dwIndex, WCHAR* lpValueName, LPDWORD lpcchValueName, LPDWORD lpReserved,
                   LPDWORD lpType, BYTE* lpData, LPDWORD lpcbData) {
    if (!hKey) return ERROR_INVALID_HANDLE;
    if (!IsRoot(hKey) && hKey->serialComm) {
        if (dwIndex == 0 && !hKey->serialPortsFresh)
            if (const LONG rc = ReadSerialCommKey(hKey->serialPorts); rc != ERROR_SUCCESS) return rc;
        hKey->serialPortsFresh = false;
        return SerialCommEnumValue(hKey->serialPorts, dwIndex, lpValueName, lpcchValueName, lpType, lpData,
                                   lpcbData);
    }
    Store& s = TheStore();
    std::lock_guard g(s.lock);
    s.Refresh();
    Key* k = s.Find(PathOf(hKey));
    if (!k || dwIndex >= k->values.size()) return ERROR_NO_MORE_ITEMS;
    const Value& v = k->values[dwIndex];
    if (const LONG rc = CopyName(v.name, lpValueName, lpcchValueName); rc != ERROR_SUCCESS) return rc;
    return CopyOut(v.data, v.type, lpType, lpData, lpcbData);
}

// ---------------------------------------------------------------------------
// TRegistry

TRegistry::TRegistry(REGSAM AAccess) : FAccess(AAccess) {}

TRegistry::~TRegistry() {
    CloseKey();
}

void TRegistry::SetRootKey(HKEY Value) {
    if (Value == FRootKey) return;
    CloseKey();
    FRootKey = Value;
}

void TRegistry::CloseKey() {
    if (FCurrentKey) RegCloseKey(FCurrentKey);
    FCurrentKey = nullptr;
    FCurrentPath.clear();
}

String TRegistry::Absolute(const String& Key) const {
    if (!Key.empty() && Key[0] == u'\\') return Normal(Key);
    if (FCurrentKey && !FCurrentPath.empty()) return Normal(FCurrentPath + u"\\" + Key);
    return Normal(Key);
}

bool TRegistry::OpenKey(const String& Key, bool CanCreate) {
    const String path = Absolute(Key);
    HKEY h = nullptr;
    const LONG rc = CanCreate ? RegCreateKeyExW(FRootKey, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                FAccess, nullptr, &h, nullptr)
                              : RegOpenKeyExW(FRootKey, path.c_str(), 0, FAccess, &h);
    if (rc != ERROR_SUCCESS) return false;
    CloseKey();
    FCurrentKey = h;
    FCurrentPath = path;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const String& Key) {
    const String path = Absolute(Key);
    HKEY h = nullptr;
    if (RegOpenKeyExW(FRootKey, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    CloseKey();
    FCurrentKey = h;
    FCurrentPath = path;
    return true;
}

bool TRegistry::CreateKey(const String& Key) {
    HKEY h = nullptr;
    const String path = Absolute(Key);
    if (RegCreateKeyExW(FRootKey, path.c_str(), 0, nullptr, 0, FAccess, nullptr, &h, nullptr) !=
        ERROR_SUCCESS)
        throw ERegistryException(u"Failed to create key " + Key);
    RegCloseKey(h);
    return true;
}

bool TRegistry::DeleteKey(const String& Key) {
    const String path = Absolute(Key);
    // Subkeys first: the system call deletes only leaf keys.
    HKEY h = nullptr;
    if (RegOpenKeyExW(FRootKey, path.c_str(), 0, KEY_READ, &h) == ERROR_SUCCESS) {
        std::vector<String> subs;
        WCHAR name[256];
        for (DWORD i = 0;; ++i) {
            DWORD cch = 256;
            if (RegEnumKeyExW(h, i, name, &cch, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            subs.emplace_back(name, cch);
        }
        RegCloseKey(h);
        for (const String& sub : subs) DeleteKey(u"\\" + path + u"\\" + sub);
    }
    return RegDeleteKeyW(FRootKey, path.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::KeyExists(const String& Key) {
    HKEY h = nullptr;
    const String path = Absolute(Key);
    if (RegOpenKeyExW(FRootKey, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

namespace {
HKEY BaseKey(HKEY current, HKEY root) {
    return current ? current : root;
}
} // namespace

bool TRegistry::HasSubKeys() {
    WCHAR name[256];
    DWORD cch = 256;
    return RegEnumKeyExW(BaseKey(FCurrentKey, FRootKey), 0, name, &cch, nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

void TRegistry::GetKeyNames(TStrings* Strings) {
    Strings->Clear();
    WCHAR name[256];
    for (DWORD i = 0;; ++i) {
        DWORD cch = 256;
        if (RegEnumKeyExW(BaseKey(FCurrentKey, FRootKey), i, name, &cch, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS)
            break;
        Strings->Add(String(name, cch));
    }
}

void TRegistry::GetValueNames(TStrings* Strings) {
    Strings->Clear();
    WCHAR name[256];
    for (DWORD i = 0;; ++i) {
        DWORD cch = 256;
        if (RegEnumValueW(BaseKey(FCurrentKey, FRootKey), i, name, &cch, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS)
            break;
        Strings->Add(String(name, cch));
    }
}

bool TRegistry::ValueExists(const String& Name) {
    return GetDataSize(Name) >= 0;
}

bool TRegistry::DeleteValue(const String& Name) {
    return RegDeleteValueW(BaseKey(FCurrentKey, FRootKey), Name.c_str()) == ERROR_SUCCESS;
}

TRegDataType TRegistry::GetDataType(const String& ValueName) {
    DWORD type = REG_NONE;
    if (RegQueryValueExW(BaseKey(FCurrentKey, FRootKey), ValueName.c_str(), nullptr, &type, nullptr,
                         nullptr) != ERROR_SUCCESS)
        return rdUnknown;
    switch (type) {
    case REG_SZ:
        return rdString;
    case REG_EXPAND_SZ:
        return rdExpandString;
    case REG_DWORD:
        return rdInteger;
    case REG_BINARY:
        return rdBinary;
    default:
        return rdUnknown;
    }
}

int TRegistry::GetDataSize(const String& ValueName) {
    DWORD size = 0;
    if (RegQueryValueExW(BaseKey(FCurrentKey, FRootKey), ValueName.c_str(), nullptr, nullptr, nullptr,
                         &size) != ERROR_SUCCESS)
        return -1;
    return static_cast<int>(size);
}

namespace {
[[noreturn]] void ReadError(const String& Name) {
    throw ERegistryException(u"Invalid data type for '" + Name + u"'");
}
} // namespace

bool TRegistry::ReadBool(const String& Name) {
    return ReadInteger(Name) != 0;
}

int TRegistry::ReadInteger(const String& Name) {
    DWORD type = REG_NONE, size = 4;
    std::uint32_t v = 0;
    const LONG rc = RegQueryValueExW(BaseKey(FCurrentKey, FRootKey), Name.c_str(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(&v), &size);
    if (rc == ERROR_FILE_NOT_FOUND) throw ERegistryException(u"Failed to get data for '" + Name + u"'");
    if (rc != ERROR_SUCCESS || type != REG_DWORD || size != 4) ReadError(Name);
    return static_cast<int>(v);
}

String TRegistry::ReadString(const String& Name) {
    DWORD type = REG_NONE, size = 0;
    HKEY key = BaseKey(FCurrentKey, FRootKey);
    if (RegQueryValueExW(key, Name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ) ReadError(Name);
    std::vector<Byte> data(size);
    RegQueryValueExW(key, Name.c_str(), nullptr, &type, data.data(), &size);
    return DataText(data);
}

int TRegistry::ReadBinaryData(const String& Name, void* Buffer, int BufSize) {
    DWORD type = REG_NONE, size = static_cast<DWORD>(std::max(0, BufSize));
    const LONG rc = RegQueryValueExW(BaseKey(FCurrentKey, FRootKey), Name.c_str(), nullptr, &type,
                                     static_cast<BYTE*>(Buffer), &size);
    if (rc != ERROR_SUCCESS || type != REG_BINARY) ReadError(Name);
    return static_cast<int>(size);
}

void TRegistry::PutData(const String& Name, DWORD Type, const void* Buffer, DWORD Size) {
    const LONG rc = RegSetValueExW(BaseKey(FCurrentKey, FRootKey), Name.c_str(), 0, Type,
                                   static_cast<const BYTE*>(Buffer), Size);
    if (rc == ERROR_WRITE_FAULT) throw ERegistryException(LastSaveError());
    if (rc != ERROR_SUCCESS) throw ERegistryException(u"Failed to set data for '" + Name + u"'");
}

void TRegistry::WriteBool(const String& Name, bool Value) {
    WriteInteger(Name, Value ? 1 : 0);
}

void TRegistry::WriteInteger(const String& Name, int Value) {
    const auto v = static_cast<std::uint32_t>(Value);
    PutData(Name, REG_DWORD, &v, 4);
}

void TRegistry::WriteString(const String& Name, const String& Value) {
    const std::vector<Byte> data = TextData(Value);
    PutData(Name, REG_SZ, data.data(), static_cast<DWORD>(data.size()));
}

void TRegistry::WriteBinaryData(const String& Name, const void* Buffer, int BufSize) {
    PutData(Name, REG_BINARY, Buffer, static_cast<DWORD>(std::max(0, BufSize)));
}

// ---------------------------------------------------------------------------
// TRegIniFile

TRegIniFile::TRegIniFile(const String& FileName, REGSAM AAccess) : TRegistry(AAccess), FFileName(FileName) {
    SetRootKey(HKEY_CURRENT_USER);
    OpenKey(FileName, true);
}

template <class F>
auto TRegIniFile::InSection(const String& Section, bool CanCreate, F&& f) -> decltype(f()) {
    // Sections are opened below the file's key and the file's key is reopened after.
    const String file = GetCurrentPath();
    struct Back {
        TRegIniFile* self;
        String path;
        ~Back() { self->OpenKey(u"\\" + path, false); }
    } back{this, file};
    if (!Section.empty() && !OpenKey(u"\\" + file + u"\\" + Section, CanCreate)) {
        if constexpr (std::is_void_v<decltype(f())>)
            return;
        else
            return decltype(f()){};
    }
    return f();
}

String TRegIniFile::ReadString(const String& Section, const String& Ident, const String& Default) {
    String result = Default;
    InSection(Section, false, [&] {
        if (GetDataType(Ident) == rdString || GetDataType(Ident) == rdExpandString)
            result = TRegistry::ReadString(Ident);
    });
    return result;
}

int TRegIniFile::ReadInteger(const String& Section, const String& Ident, int Default) {
    int result = Default;
    InSection(Section, false, [&] {
        // The file shape keeps numbers as text; both forms are understood.
        switch (GetDataType(Ident)) {
        case rdInteger:
            result = TRegistry::ReadInteger(Ident);
            break;
        case rdString:
            result = StrToIntDef(TRegistry::ReadString(Ident), Default);
            break;
        default:
            break;
        }
    });
    return result;
}

bool TRegIniFile::ReadBool(const String& Section, const String& Ident, bool Default) {
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TRegIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
    InSection(Section, true, [&] { TRegistry::WriteString(Ident, Value); });
}

void TRegIniFile::WriteInteger(const String& Section, const String& Ident, int Value) {
    InSection(Section, true, [&] { TRegistry::WriteString(Ident, IntToStr(Value)); });
}

void TRegIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
    WriteInteger(Section, Ident, Value ? 1 : 0);
}

void TRegIniFile::ReadSection(const String& Section, TStrings* Strings) {
    Strings->Clear();
    InSection(Section, false, [&] { GetValueNames(Strings); });
}

void TRegIniFile::ReadSections(TStrings* Strings) {
    GetKeyNames(Strings);
}

void TRegIniFile::EraseSection(const String& Section) {
    TRegistry::DeleteKey(Section);
}

void TRegIniFile::DeleteKey(const String& Section, const String& Ident) {
    InSection(Section, false, [&] { DeleteValue(Ident); });
}
