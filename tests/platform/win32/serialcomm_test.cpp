#include "platform/win32/serialcomm.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class SerialCommKey : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("moltren-serialcomm-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "class");
        win32::SetSerialCommSources(root / "class", root / "serialcomm");
    }
    void TearDown() override {
        win32::SetSerialCommSources({}, {});
        fs::remove_all(root);
    }
    void Tty(const std::string& name, bool device, const char* type = nullptr) {
        const fs::path dir = root / "class" / name;
        fs::create_directories(dir);
        if (device) fs::create_directory_symlink(root, dir / "device");
        if (type) std::ofstream(dir / "type") << type << "\n";
    }
    fs::path root;
};

} // namespace

TEST_F(SerialCommKey, DevicesAndRegisteredPortsAreListed) {
    Tty("ttyS0", true, "4");
    Tty("ttyS1", true, "0"); // a phantom port of a probing driver
    Tty("tty0", false);      // a virtual console has no device
    Tty("ttyUSB0", true);
    std::ofstream(root / "serialcomm")
        << "/dev/pts/9\t" << ::getpid() << "\n/dev/pts/10\t2147483647\n\n/dev/pts/11\n";
    std::vector<SerialCommValue> values;
    ASSERT_EQ(ReadSerialCommKey(values), static_cast<LONG>(ERROR_SUCCESS));
    ASSERT_EQ(values.size(), 4u); // the entry of a process that is gone is left out
    EXPECT_EQ(values[0].name, u"\\Device\\ttyS0");
    EXPECT_EQ(values[0].data, u"ttyS0");
    EXPECT_EQ(values[1].data, u"ttyUSB0");
    EXPECT_EQ(values[2].data, u"/dev/pts/9");
    EXPECT_EQ(values[3].data, u"/dev/pts/11");
    EXPECT_NE(values[2].name, values[3].name);
}

TEST_F(SerialCommKey, EmptyAndMissingKeys) {
    std::vector<SerialCommValue> values{{u"x", u"y"}};
    ASSERT_EQ(ReadSerialCommKey(values), static_cast<LONG>(ERROR_SUCCESS));
    EXPECT_TRUE(values.empty());
    fs::remove_all(root / "class");
    EXPECT_EQ(ReadSerialCommKey(values), static_cast<LONG>(ERROR_FILE_NOT_FOUND));
}

TEST_F(SerialCommKey, EnumerationIsShapedAsTheRegistrysAndBounded) {
    const std::vector<SerialCommValue> key{{u"\\Device\\Serial0", u"COM1"}};
    WCHAR name[256];
    BYTE data[256];
    DWORD nameLen = 256, dataLen = 256, type = 0;
    ASSERT_EQ(SerialCommEnumValue(key, 0, name, &nameLen, &type, data, &dataLen),
              static_cast<LONG>(ERROR_SUCCESS));
    EXPECT_EQ(std::u16string(name, nameLen), u"\\Device\\Serial0");
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(dataLen, 10u); // "COM1" and its NUL in UTF-16
    nameLen = 4;
    EXPECT_EQ(SerialCommEnumValue(key, 0, name, &nameLen, &type, data, &dataLen),
              static_cast<LONG>(ERROR_MORE_DATA));
    nameLen = 256;
    dataLen = 6;
    EXPECT_EQ(SerialCommEnumValue(key, 0, name, &nameLen, &type, data, &dataLen),
              static_cast<LONG>(ERROR_MORE_DATA));
    EXPECT_EQ(SerialCommEnumValue(key, 1, name, &nameLen, &type, data, &dataLen),
              static_cast<LONG>(ERROR_NO_MORE_ITEMS));
}

// A port listed under a name of its own, as a virtual serial port driver
// lists "COM1": the key shows the name, and the name leads to the terminal
// only while the process that listed it runs.
TEST_F(SerialCommKey, PortsListedUnderANameOfTheirOwn) {
    std::ofstream(root / "serialcomm") << "COM1\t" << ::getpid() << "\t/dev/pts/9\n"
                                       << "COM2\t2147483647\t/dev/pts/10\n"
                                       << "/dev/pts/11\t" << ::getpid() << "\n";
    std::vector<SerialCommValue> values;
    ASSERT_EQ(ReadSerialCommKey(values), static_cast<LONG>(ERROR_SUCCESS));
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].data, u"COM1");
    EXPECT_EQ(values[1].data, u"/dev/pts/11");
    EXPECT_EQ(win32::RegisteredPortDevice("COM1"), "/dev/pts/9");
    EXPECT_EQ(win32::RegisteredPortDevice("com1"), "/dev/pts/9");
    EXPECT_EQ(win32::RegisteredPortDevice("COM2"), ""); // its process is gone
    EXPECT_EQ(win32::RegisteredPortDevice("/dev/pts/11"), "");
    EXPECT_EQ(win32::RegisteredPortDevice("COM3"), "");
}
