#include "platform/win32/registry.h"

#include "platform/win32/serialcomm.h"
#include "tests/support/errnotext.h"
#include "tests/support/filesizelimit.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("moltren-registry-" + std::to_string(::getpid()));
        fs::remove_all(root);
        win32::SetRegistryDirectory(root);
    }
    void TearDown() override {
        win32::SetRegistryDirectory({});
        win32::SetSerialCommSources({}, {});
        fs::remove_all(root);
    }
    fs::path root;
};

const String kEditor = u"SOFTWARE\\Dedara Software\\ZarEzodo Vez\\Editor";

} // namespace

TEST_F(Registry, ValuesSurviveInTheFileAndReadingCreatesNothing) {
    {
        TRegistry reg;
        EXPECT_FALSE(reg.OpenKeyReadOnly(kEditor));
        EXPECT_FALSE(reg.KeyExists(kEditor));
        EXPECT_FALSE(fs::exists(root / "registry"));
        ASSERT_TRUE(reg.OpenKey(kEditor, true));
        reg.WriteBool(u"TreeMode", true);
        reg.WriteInteger(u"Width", -414);
        reg.WriteString(u"Caption", u"Зона \"A\"\\B\nC");
    }
    win32::SetRegistryDirectory(root); // as a new process would: read back from the file
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(u"software\\dedara software\\zarezodo vez\\editor"));
    EXPECT_TRUE(reg.ReadBool(u"TreeMode"));
    EXPECT_EQ(reg.ReadInteger(u"width"), -414);
    EXPECT_EQ(reg.ReadString(u"Caption"), u"Зона \"A\"\\B\nC");
    EXPECT_TRUE(reg.ValueExists(u"Width"));
    EXPECT_FALSE(reg.ValueExists(u"Height"));
    EXPECT_EQ(reg.GetDataType(u"TreeMode"), rdInteger);
    // A value of another type is an error for the caller.
    EXPECT_THROW(reg.ReadInteger(u"Caption"), ERegistryException);
    EXPECT_THROW(reg.ReadString(u"Width"), ERegistryException);
    EXPECT_EQ(reg.ReadString(u"Missing"), u"");
    // A read-only key refuses writes.
    EXPECT_THROW(reg.WriteInteger(u"Width", 1), ERegistryException);
}

TEST_F(Registry, ASettingThatCannotBeSavedIsReportedAndTheFileKeepsWhatItHeld) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kEditor, true));
    reg.WriteString(u"Caption", String(200, u'x'));
    const auto file = root / "registry";
    const auto size = fs::file_size(file);
    {
        FileSizeLimit limit(size); // the disk fills up before the longer file is whole
        try {
            reg.WriteString(u"Caption", String(300, u'y'));
            ADD_FAILURE() << "an unsaved setting passed for saved";
        } catch (const ERegistryException& e) {
            EXPECT_EQ(e.Message(),
                      u"Cannot write file \"" + UTF8ToString(file.string()) + u"\". " + ErrnoText(EFBIG));
        }
    }
    EXPECT_EQ(fs::file_size(file), size);
    EXPECT_EQ(reg.ReadString(u"Caption"), String(200, u'x')); // nor does this process take it for saved
    EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 1);
}

TEST_F(Registry, KeysNestEnumerateAndDelete) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(u"Software\\Moltren", true));
    ASSERT_TRUE(reg.OpenKey(u"Ports\\COM1", true)); // relative to the open key
    EXPECT_EQ(reg.GetCurrentPath(), u"Software\\Moltren\\Ports\\COM1");
    reg.WriteInteger(u"Baud", 9600);
    ASSERT_TRUE(reg.OpenKey(u"\\Software\\Moltren\\Ports\\COM2", true));
    ASSERT_TRUE(reg.OpenKey(u"\\Software\\Moltren\\Ports", false));
    TStringList names;
    reg.GetKeyNames(&names);
    ASSERT_EQ(names.GetCount(), 2);
    EXPECT_EQ(names[0], u"COM1");
    EXPECT_TRUE(reg.HasSubKeys());
    reg.CloseKey();
    EXPECT_TRUE(reg.DeleteKey(u"Software\\Moltren"));
    EXPECT_FALSE(reg.KeyExists(u"Software\\Moltren\\Ports\\COM1"));
    EXPECT_TRUE(reg.KeyExists(u"Software"));
}

TEST_F(Registry, IniShapedSettingsUseSectionsAsSubkeys) {
    {
        TRegIniFile ini(u"Software\\Moltren\\Port");
        EXPECT_EQ(ini.ReadInteger(u"COM3", u"BaudRate", 19200), 19200);
        ini.WriteInteger(u"COM3", u"BaudRate", 9600);
        ini.WriteString(u"COM3", u"Parity", u"None");
        ini.WriteBool(u"Misc", u"Flag", true);
    }
    TRegIniFile ini(u"Software\\Moltren\\Port");
    EXPECT_EQ(ini.ReadInteger(u"COM3", u"BaudRate", 0), 9600);
    EXPECT_EQ(ini.ReadString(u"COM3", u"Parity", u""), u"None");
    EXPECT_TRUE(ini.ReadBool(u"Misc", u"Flag", false));
    TStringList sections;
    ini.ReadSections(&sections);
    EXPECT_EQ(sections.GetCount(), 2);
    ini.EraseSection(u"COM3");
    EXPECT_EQ(ini.ReadString(u"COM3", u"Parity", u"gone"), u"gone");
    EXPECT_EQ(ini.GetCurrentPath(), u"Software\\Moltren\\Port");
}

TEST_F(Registry, TheSerialPortKeyIsServedLiveAndReadOnly) {
    fs::create_directories(root / "class");
    std::ofstream(root / "serialcomm") << "/dev/pts/7\n";
    win32::SetSerialCommSources(root / "class", root / "serialcomm");
    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKeyReadOnly(u"HARDWARE\\DEVICEMAP\\SERIALCOMM"));
    TStringList names;
    reg.GetValueNames(&names);
    ASSERT_EQ(names.GetCount(), 1);
    EXPECT_EQ(reg.ReadString(names[0]), u"/dev/pts/7");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    const Byte one[4] = {1, 0, 0, 0};
    EXPECT_EQ(RegSetValueExW(key, u"X", 0, REG_DWORD, one, 4), ERROR_ACCESS_DENIED);
    RegCloseKey(key);
    EXPECT_FALSE(fs::exists(root / "registry"));
}

// One enumeration reads the port list once: a list rewritten halfway through
// shows up at the next enumeration, not mixed into this one.
TEST_F(Registry, OneEnumerationOfTheSerialPortKeyIsOneReadOfTheList) {
    fs::create_directories(root / "class");
    std::ofstream(root / "serialcomm") << "/dev/pts/1\n/dev/pts/2\n";
    win32::SetSerialCommSources(root / "class", root / "serialcomm");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    const auto port = [key](DWORD index, LONG expected = ERROR_SUCCESS) {
        WCHAR name[256];
        WCHAR data[128];
        DWORD nameLength = 256, dataLength = sizeof data;
        EXPECT_EQ(RegEnumValueW(key, index, name, &nameLength, nullptr, nullptr,
                                reinterpret_cast<BYTE*>(data), &dataLength),
                  expected);
        return expected == ERROR_SUCCESS ? std::u16string(data) : std::u16string();
    };
    EXPECT_EQ(port(0), u"/dev/pts/1");
    std::ofstream(root / "serialcomm") << "/dev/pts/3\n";
    EXPECT_EQ(port(1), u"/dev/pts/2");
    EXPECT_EQ(port(0), u"/dev/pts/3");
    port(1, ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}
