#include "platform/core/inifiles.h"

#include "platform/core/sysutils.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string FileText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

String Name(const fs::path& p) {
    return UTF8ToString(p.string());
}

} // namespace

TEST(IniFile, WritesReadBackAcrossObjectsAndSectionsStayApart) {
    TempDir dir;
    const fs::path file = dir.path / "port.ini";
    {
        TIniFile ini(Name(file));
        ini.WriteString(u"ComPort1", u"Port", u"COM3");
        ini.WriteInteger(u"ComPort1", u"Buffer.InputSize", 2048);
        ini.WriteString(u"ComPort2", u"Port", u"Порт Б");
        ini.WriteInteger(u"ComPort1", u"Timeouts.ReadInterval", -1);
        ini.WriteString(u"ComPort1", u"Port", u"COM4"); // replaces in place
    }
    EXPECT_EQ(FileText(file),
              "[ComPort1]\r\nPort=COM4\r\nBuffer.InputSize=2048\r\nTimeouts.ReadInterval=-1\r\n"
              "\r\n[ComPort2]\r\nPort=Порт Б\r\n");
    const TIniFile ini(Name(file));
    EXPECT_EQ(ini.ReadString(u"comport1", u"PORT", u"x"), u"COM4");
    EXPECT_EQ(ini.ReadString(u"ComPort2", u"Port", u"x"), u"Порт Б");
    EXPECT_EQ(ini.ReadInteger(u"ComPort1", u"Buffer.InputSize", 0), 2048);
    EXPECT_EQ(ini.ReadInteger(u"ComPort1", u"Timeouts.ReadInterval", 0), -1);
    EXPECT_TRUE(ini.SectionExists(u"COMPORT2"));
    EXPECT_TRUE(ini.ValueExists(u"ComPort1", u"port"));
    EXPECT_FALSE(ini.ValueExists(u"ComPort2", u"Buffer.InputSize"));
}

TEST(IniFile, MissingFileSectionKeyOrNumberGivesTheDefault) {
    TempDir dir;
    const fs::path file = dir.path / "absent.ini";
    const TIniFile none(Name(file));
    EXPECT_EQ(none.ReadString(u"S", u"K", u"def"), u"def");
    EXPECT_FALSE(none.SectionExists(u"S"));
    EXPECT_FALSE(fs::exists(file)); // reading creates nothing

    WriteFile(file, "\xEF\xBB\xBF; comment\r\n[S]\r\n  K = 12 \r\nText=abc\r\nHex=0x1F\r\nDollar=$10\r\n"
                    "NoEquals\r\n[T]\nK=7\n");
    const TIniFile ini(Name(file));
    EXPECT_EQ(ini.ReadInteger(u"S", u"K", 0), 12);
    EXPECT_EQ(ini.ReadInteger(u"S", u"Text", 5), 5);
    EXPECT_EQ(ini.ReadInteger(u"S", u"Hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger(u"S", u"Dollar", 0), 16);
    EXPECT_EQ(ini.ReadInteger(u"S", u"Missing", -3), -3);
    EXPECT_EQ(ini.ReadString(u"S", u"NoEquals", u"d"), u"d");
    EXPECT_EQ(ini.ReadInteger(u"T", u"K", 0), 7); // LF-only lines read as well
    EXPECT_EQ(ini.ReadString(u"U", u"K", u"d"), u"d");
}

TEST(IniFile, KeepsCommentsAddsToTheRightSectionAndErases) {
    TempDir dir;
    const fs::path file = dir.path / "kept.ini";
    WriteFile(file, "; settings\r\n[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\n");
    TIniFile ini(Name(file));
    ini.WriteInteger(u"A", u"Z", 3);
    EXPECT_EQ(FileText(file), "; settings\r\n[A]\r\nX=1\r\nZ=3\r\n\r\n[B]\r\nY=2\r\n");
    TStringList keys;
    ini.ReadSection(u"A", &keys);
    ASSERT_EQ(keys.GetCount(), 2);
    EXPECT_EQ(keys[0], u"X");
    EXPECT_EQ(keys[1], u"Z");
    TStringList sections;
    ini.ReadSections(&sections);
    ASSERT_EQ(sections.GetCount(), 2);
    EXPECT_EQ(sections[1], u"B");
    ini.DeleteKey(u"A", u"X");
    ini.EraseSection(u"B");
    EXPECT_EQ(FileText(file), "; settings\r\n[A]\r\nZ=3\r\n\r\n");
}

TEST(IniFile, AWriteReplacesTheFileWholeOrNotAtAll) {
    TempDir dir;
    const fs::path file = dir.path / "whole.ini";
    TIniFile ini(Name(file));
    ini.WriteString(u"S", u"K", u"v");
    // No temporary file is left beside it.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path)) ++entries;
    EXPECT_EQ(entries, 1);

    // A file in a directory that does not exist cannot be written: the
    // failure is reported, never taken for success.
    TIniFile lost(Name(dir.path / "no-such-dir" / "x.ini"));
    EXPECT_THROW(lost.WriteString(u"S", u"K", u"v"), EIniFileException);
    EXPECT_FALSE(fs::exists(dir.path / "no-such-dir"));
}

// Byte-order marks (one, two, or stray), empty and repeated section names: what a write puts
// into a section is what a fresh reader finds there, and lines nobody understands stay as
// they were, bytes that are no UTF-8 included.
TEST(IniFile, ReadingAndWritingSeeTheSameSectionsWhateverMarksOrRepeats) {
    TempDir dir;
    const fs::path file = dir.path / "odd.ini";
    WriteFile(file, "\xEF\xBB\xBF\xEF\xBB\xBF[]\n[]\n\xBC");
    {
        TIniFile ini(Name(file));
        TStringList sections;
        ini.ReadSections(&sections);
        ASSERT_EQ(sections.GetCount(), 1);
        EXPECT_EQ(sections[0], u"");
        ini.WriteString(sections[0], u"Value", u"1");
    }
    EXPECT_EQ(TIniFile(Name(file)).ReadString(u"", u"Value", u"none"), u"1");
    EXPECT_EQ(FileText(file), "\xEF\xBB\xBF\xEF\xBB\xBF[]\r\nValue=1\r\n[]\r\n\xBC\r\n");

    WriteFile(file, "[S]\r\n\xEF\xBB\xBFK=1\r\n[A]\r\nX=1\r\n[a]\r\nX=2\r\nY=3\r\n");
    TIniFile ini(Name(file));
    EXPECT_EQ(ini.ReadString(u"S", u"K", u"none"), u"1");
    ini.WriteString(u"S", u"K", u"2");
    TStringList keys;
    ini.ReadSection(u"S", &keys);
    EXPECT_EQ(keys.GetCount(), 1);
    // Of a repeated section the first counts, for reading, writing and listing alike.
    TStringList sections;
    ini.ReadSections(&sections);
    EXPECT_EQ(sections.GetCount(), 2);
    EXPECT_EQ(ini.ReadString(u"A", u"Y", u"none"), u"none");
    ini.WriteString(u"A", u"Y", u"4");
    EXPECT_EQ(TIniFile(Name(file)).ReadString(u"a", u"Y", u"none"), u"4");
    // Erasing a section erases its repeats: none comes forward in its place.
    ini.EraseSection(u"a");
    EXPECT_FALSE(ini.SectionExists(u"A"));
    EXPECT_EQ(ini.ReadString(u"A", u"X", u"none"), u"none");
}
