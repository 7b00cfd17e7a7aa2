// Text helpers: case mapping (Cyrillic included), comparisons, trimming,
// positions, replacing, quoting, file names and the process hooks.

#include "platform/core/sysutils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace {

TEST(SysUtilsText, UpperCaseIsAsciiOnlyAnsiUpperCaseIsNot) {
    EXPECT_EQ(UpperCase(u"abc Жж é"), u"ABC Жж é");
    EXPECT_EQ(LowerCase(u"ABC Жж É"), u"abc Жж É");
    EXPECT_EQ(UpperCase(std::string_view("com1")), "COM1");

    const struct {
        const char16_t* lower;
        const char16_t* upper;
    } pairs[] = {
        {u"привет, мир ёж", u"ПРИВЕТ, МИР ЁЖ"},
        {u"їєіґў", u"ЇЄІҐЎ"},
        {u"àéîõüþ ÿ", u"ÀÉÎÕÜÞ Ÿ"},
        {u"ąčęłńőžŀ", u"ĄČĘŁŃŐŽĿ"},
        {u"αβγ άέ ώ", u"ΑΒΓ ΆΈ Ώ"},
        {u"ӂӑ", u"ӁӐ"},
        {u"123 ×÷", u"123 ×÷"},
    };
    for (const auto& p : pairs) {
        EXPECT_EQ(AnsiUpperCase(p.lower), p.upper) << UTF8Encode(p.lower);
        EXPECT_EQ(AnsiLowerCase(p.upper), p.lower) << UTF8Encode(p.upper);
    }
    EXPECT_EQ(AnsiUpperCase(u"ß ς ſ ı"), u"ß Σ S I");       // letters without a partner of their own
    EXPECT_EQ(AnsiUpperCase(u"\U0001D41A"), u"\U0001D41A"); // surrogate pairs pass through

    // Every mapped letter maps back, apart from the few that fold into another letter.
    for (char32_t c = 0; c < 0x0530; ++c) {
        const Char ch = static_cast<Char>(c);
        const Char up = AnsiUpperChar(ch);
        if (up == ch || ch == 0x00B5 || ch == 0x0131 || ch == 0x017F || ch == 0x03C2) continue;
        EXPECT_EQ(AnsiLowerChar(up), ch) << std::hex << static_cast<std::uint32_t>(c);
        EXPECT_EQ(AnsiUpperChar(up), up) << std::hex << static_cast<std::uint32_t>(c);
    }
}

TEST(SysUtilsText, Comparisons) {
    EXPECT_LT(CompareStr(u"a", u"b"), 0);
    EXPECT_GT(CompareStr(u"abc", u"ab"), 0);
    EXPECT_GT(CompareStr(u"a", u"A"), 0); // ordinal
    EXPECT_EQ(CompareStr(u"", u""), 0);
    EXPECT_EQ(CompareText(u"abc", u"ABC"), 0);
    EXPECT_NE(CompareText(u"жук", u"ЖУК"), 0); // ASCII folding only
    EXPECT_LT(CompareText(u"abc", u"ABD"), 0);
    EXPECT_TRUE(SameText(u"Series1", u"SERIES1"));
    EXPECT_FALSE(SameText(u"Series1", u"Series"));

    EXPECT_EQ(AnsiCompareText(u"жук", u"ЖУК"), 0);
    EXPECT_TRUE(AnsiSameText(u"Ёлка", u"ёЛКА"));
    EXPECT_EQ(AnsiCompareText(u"ёлка", u"Елка"), 1); // 'Ё' right after 'Е' ...
    EXPECT_EQ(AnsiCompareText(u"ёлка", u"жук"), -1); // ... and before 'Ж'
    EXPECT_EQ(AnsiCompareText(u"b", u"A"), 1);
    EXPECT_EQ(AnsiCompareText(u"ab", u"A"), 1);
    EXPECT_EQ(AnsiCompareStr(u"a", u"A"), -1); // lower case first when only case differs
    EXPECT_EQ(AnsiCompareStr(u"A", u"b"), -1);
    EXPECT_EQ(AnsiCompareStr(u"Яблоко", u"Яблоко"), 0);
    EXPECT_EQ(AnsiCompareText(u"_", u"0"), -1); // symbols, digits, letters
    EXPECT_EQ(AnsiCompareText(u"9", u"a"), -1);
    EXPECT_EQ(AnsiCompareText(u"z", u"а"), -1); // Latin before Cyrillic
    EXPECT_EQ(AnsiCompareText(u"co-op", u"coop"), 1);
    EXPECT_EQ(AnsiCompareText(u"co-op", u"cope"), -1);
    EXPECT_EQ(AnsiCompareText(u"CO-OP", u"co-op"), 0);
    EXPECT_EQ(AnsiCompareStr(u"co-op", u"Co-op"), -1);
    EXPECT_TRUE(AnsiSameStr(u"x", u"x"));
    EXPECT_FALSE(AnsiSameStr(u"x", u"X"));
}

TEST(SysUtilsText, TrimPosCopyDelete) {
    EXPECT_EQ(Trim(u"\t x y \r\n"), u"x y");
    EXPECT_EQ(TrimLeft(u"  x "), u"x ");
    EXPECT_EQ(TrimRight(u"  x "), u"  x");
    EXPECT_EQ(Trim(u"\u00A0x\u00A0"), u"\u00A0x\u00A0"); // only characters up to the space
    EXPECT_EQ(Trim(std::string_view(" \x01"
                                    "ab\x7f ")),
              "ab\x7f");
    EXPECT_EQ(Trim(u"   "), u"");

    EXPECT_EQ(Pos(u"=", u"ab=c="), 3);
    EXPECT_EQ(Pos(u"", u"abc"), 0);
    EXPECT_EQ(Pos(u"x", u"abc"), 0);
    EXPECT_EQ(Pos(std::string_view("?"), std::string_view("\xF0?\xFF")), 2);

    EXPECT_EQ(Copy(u"abcdef", 2, 3), u"bcd");
    EXPECT_EQ(Copy(u"abcdef", 0, 2), u"ab");
    EXPECT_EQ(Copy(u"abcdef", 5, 100), u"ef");
    EXPECT_EQ(Copy(u"abcdef", 7, 1), u"");
    EXPECT_EQ(Copy(u"abcdef", 2, -1), u"");
    EXPECT_EQ(Copy(std::string_view("\xF0\x01\x02\x03\x04"), 5, 1000), "\x04");

    String s = u"abcdef";
    Delete(s, 2, 2);
    EXPECT_EQ(s, u"adef");
    Delete(s, 0, 2);
    EXPECT_EQ(s, u"adef");
    Delete(s, 3, 100);
    EXPECT_EQ(s, u"ad");
    Delete(s, 9, 1);
    EXPECT_EQ(s, u"ad");
    AnsiString a = "\xF0\x01\x02";
    Delete(a, 1, 1);
    EXPECT_EQ(a, "\x01\x02");
}

TEST(SysUtilsText, StringReplace) {
    EXPECT_EQ(StringReplace(u"a b a", u"a", u"x", {}), u"x b a");
    EXPECT_EQ(StringReplace(u"a b a", u"a", u"x", {rfReplaceAll}), u"x b x");
    EXPECT_EQ(StringReplace(u"Привет ПРИВЕТ", u"привет", u"hi", {rfReplaceAll, rfIgnoreCase}), u"hi hi");
    EXPECT_EQ(StringReplace(u"Привет ПРИВЕТ", u"привет", u"hi", {rfReplaceAll}), u"Привет ПРИВЕТ");
    EXPECT_EQ(StringReplace(u"1 Jan 2023", u" ", u"\r", {rfReplaceAll}), u"1\rJan\r2023");
    EXPECT_EQ(StringReplace(u"aa", u"a", u"aa", {rfReplaceAll}), u"aaaa");
    EXPECT_EQ(StringReplace(u"abc", u"", u"x", {rfReplaceAll}), u"abc");
}

TEST(SysUtilsText, QuotingAndSmallHelpers) {
    EXPECT_EQ(QuotedStr(u"it's"), u"'it''s'");
    EXPECT_EQ(QuotedStr(u""), u"''");
    EXPECT_EQ(AnsiQuotedStr(u"a\"b", u'"'), u"\"a\"\"b\"");
    EXPECT_EQ(AnsiDequotedStr(u"'it''s'", u'\''), u"it's");
    EXPECT_EQ(AnsiDequotedStr(u"''", u'\''), u"");
    EXPECT_EQ(AnsiDequotedStr(u"'abc", u'\''), u"'abc"); // not closed: unchanged
    EXPECT_EQ(AnsiDequotedStr(u"abc", u'\''), u"abc");
    EXPECT_EQ(AnsiDequotedStr(u"'", u'\''), u"'");
    EXPECT_EQ(AnsiDequotedStr(QuotedStr(u"''x'"), u'\''), u"''x'");

    EXPECT_EQ(StringOfChar(u'-', 3), u"---");
    EXPECT_EQ(StringOfChar(u'-', -1), u"");
    EXPECT_TRUE(IsDelimiter(u"/.", u"a/b", 2));
    EXPECT_FALSE(IsDelimiter(u"/.", u"a/b", 1));
    EXPECT_FALSE(IsDelimiter(u"/.", u"a/b", 0));
    EXPECT_FALSE(IsDelimiter(u"/.", u"a/b", 4));
    EXPECT_EQ(LastDelimiter(u"/.", u"/a/b.txt"), 5);
    EXPECT_EQ(LastDelimiter(u"/", u"abc"), 0);

    EXPECT_EQ(AnsiToString("Значение1"), u"Значение1");
    EXPECT_EQ(StringToAnsi(u"Значение1"), "Значение1");
}

TEST(SysUtilsText, FileNames) {
    EXPECT_EQ(ExtractFilePath(u"/home/u/file.txt"), u"/home/u/");
    EXPECT_EQ(ExtractFilePath(u"file.txt"), u"");
    EXPECT_EQ(ExtractFileDir(u"/home/u/file.txt"), u"/home/u");
    EXPECT_EQ(ExtractFileDir(u"/file"), u"/");
    EXPECT_EQ(ExtractFileName(u"/home/u/file.txt"), u"file.txt");
    EXPECT_EQ(ExtractFileName(u"/home/u/"), u"");
    EXPECT_EQ(ExtractFileExt(u"/home/u/file.txt"), u".txt");
    EXPECT_EQ(ExtractFileExt(u"archive.tar.gz"), u".gz");
    EXPECT_EQ(ExtractFileExt(u"/a.b/file"), u"");
    EXPECT_EQ(ExtractFileExt(u"name."), u".");
    EXPECT_EQ(ChangeFileExt(u"/a/b.txt", u".jpg"), u"/a/b.jpg");
    EXPECT_EQ(ChangeFileExt(u"/a.b/c", u".x"), u"/a.b/c.x");
    EXPECT_EQ(ChangeFileExt(u"f.txt", u""), u"f");
    EXPECT_EQ(IncludeTrailingPathDelimiter(u"/tmp"), u"/tmp/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(u"/tmp/"), u"/tmp/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(u""), u"/");
}

TEST(SysUtilsText, FileSystemQueries) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("moltren-sysutils-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    const fs::path file = dir / "Справка.doc";
    std::ofstream(file) << "x";
    const String dirName = UTF8ToString(dir.string());
    const String fileName = UTF8ToString(file.string());
    EXPECT_TRUE(FileExists(fileName));
    EXPECT_FALSE(FileExists(dirName));
    EXPECT_TRUE(DirectoryExists(dirName));
    EXPECT_FALSE(DirectoryExists(fileName));
    EXPECT_FALSE(FileExists(dirName + u"/missing.doc"));
    EXPECT_FALSE(FileExists(u""));
    EXPECT_FALSE(DirectoryExists(u""));
    EXPECT_EQ(GetCurrentDir(), UTF8ToString(fs::current_path().string()));
    fs::remove_all(dir);
    EXPECT_FALSE(FileExists(fileName));
}

TEST(SysUtilsText, ProcessHooks) {
    int beeps = 0;
    SetBeepHandler([&] { ++beeps; });
    Beep();
    Beep();
    EXPECT_EQ(beeps, 2);
    SetBeepHandler(nullptr);
    Beep(); // silent, and no crash
    EXPECT_EQ(beeps, 2);

    const Cardinal before = GetTickCount();
    Sleep(0);
    Sleep(20);
    EXPECT_GE(GetTickCount() - before, 19u);
}

} // namespace
