// The escape code parsers: what each emulation recognises in received text and
// what it sends for a code.

#include "serial/comportesc.h"

#include "platform/core/sysutils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Parsed {
    TEscapeResult result;
    TEscapeCode code;
    std::vector<String> params;
};

// Feeds the text and returns what the last character completed.
Parsed Feed(TEscapeCodes& codes, std::u16string_view text) {
    codes.GetParams()->Clear();
    TEscapeResult r = erNothing;
    for (Char c : text) r = codes.ProcessChar(c);
    Parsed p{r, codes.GetCode(), {}};
    for (int i = 0; i < codes.GetParams()->GetCount(); ++i)
        p.params.push_back(codes.GetParams()->GetStrings(i));
    return p;
}

// A code as it comes over the line: ESC and the rest.
String Esc(const char16_t* rest) {
    return u"\x1b" + String(rest);
}

std::vector<String> Params(std::initializer_list<const char16_t*> list) {
    std::vector<String> v;
    for (const char16_t* s : list) v.emplace_back(s);
    return v;
}

} // namespace

TEST(EscapeCodesVT100, LongCodesSplitTheirParametersAtSemicolons) {
    TEscapeCodesVT100 vt;
    Parsed p = Feed(vt, u"\x1b[1;31m");
    EXPECT_EQ(p.result, erCode);
    EXPECT_EQ(p.code, ecAttributes);
    EXPECT_EQ(p.params, Params({u"1", u"31"}));

    p = Feed(vt, u"\x1b[5;10H");
    EXPECT_EQ(p.code, ecCursorHome);
    EXPECT_EQ(p.params, Params({u"5", u"10"}));
    p = Feed(vt, u"\x1b[?1h");
    EXPECT_EQ(p.code, ecSetMode);
    EXPECT_EQ(p.params, Params({u"?1"}));
    // A ";" after an empty field belongs to the next field.
    p = Feed(vt, u"\x1b[;5H");
    EXPECT_EQ(p.params, Params({u";5"}));
    p = Feed(vt, u"\x1b[3;;4f");
    EXPECT_EQ(p.code, ecCursorMove);
    EXPECT_EQ(p.params, Params({u"3", u";4"}));
}

TEST(EscapeCodesVT100, EraseTabAndReportCodesChooseByTheirFirstParameter) {
    TEscapeCodesVT100 vt;
    struct Row {
        const char16_t* text;
        TEscapeCode code;
    };
    const Row rows[] = {
        {u"[K", ecEraseLineFrom},
        {u"[0K", ecEraseLineFrom},
        {u"[2K", ecEraseLine},
        {u"[1K", ecUnknown},
        {u"[J", ecEraseScreenFrom},
        {u"[2J", ecEraseScreen},
        {u"[g", ecClearTab},
        {u"[3g", ecClearAllTabs},
        {u"[5g", ecUnknown},
        {u"[0n", ecReportDeviceOK},
        {u"[3n", ecReportDeviceFailure},
        {u"[5n", ecQueryDevice},
        {u"[6n", ecQueryCursorPos},
        {u"[n", ecUnknown},
        {u"[c", ecIdentify},
        {u"[0c", ecIdentify},
        {u"[1c", ecUnknown},
        {u"[?1;2c", ecIdentResponse},
        {u"[?2;2c", ecUnknown},
        {u"[2;3R", ecReportCursorPos},
        {u"[s", ecSaveCaret},
        {u"[u", ecRestoreCaret},
        {u"[l", ecResetMode},
        {u"[A", ecCursorUp},
        {u"[B", ecCursorDown},
        {u"[C", ecCursorRight},
        {u"[D", ecCursorLeft},
        {u"[z", ecUnknown},
        {u"H", ecSetTab},
        {u"7", ecSaveCaretAndAttr},
        {u"8", ecRestoreCaretAndAttr},
        {u"c", ecReset},
        {u"#8", ecTest},
        {u"#9", ecUnknown},
        {u"OA", ecAppCursorUp},
        {u"OB", ecAppCursorDown},
        {u"OC", ecAppCursorRight},
        {u"OD", ecAppCursorLeft},
        {u"Ox", ecUnknown},
        {u"M", ecUnknown},
    };
    for (const Row& r : rows) {
        const Parsed p = Feed(vt, Esc(r.text));
        EXPECT_EQ(p.result, erCode) << UTF8Encode(r.text);
        EXPECT_EQ(p.code, r.code) << UTF8Encode(r.text);
        if (r.code == ecEraseLine || r.code == ecClearAllTabs || r.code == ecQueryCursorPos) {
            EXPECT_TRUE(p.params.empty()) << UTF8Encode(r.text);
        }
    }
}

TEST(EscapeCodesVT100, IncompleteSequencesWaitAndUnknownOnesEndAtOnce) {
    TEscapeCodesVT100 vt;
    EXPECT_EQ(vt.ProcessChar(u'a'), erChar);
    EXPECT_EQ(vt.GetCharacter(), u'a');
    EXPECT_EQ(vt.ProcessChar(27), erNothing);
    EXPECT_EQ(vt.ProcessChar(u'O'), erNothing); // ESC O alone is not complete
    EXPECT_EQ(vt.ProcessChar(u'A'), erCode);
    EXPECT_EQ(vt.GetCode(), ecAppCursorUp);
    EXPECT_EQ(vt.ProcessChar(27), erNothing);
    EXPECT_EQ(vt.ProcessChar(u'#'), erNothing);
    // Inside a sequence ESC is just the next character.
    EXPECT_EQ(vt.ProcessChar(27), erCode);
    EXPECT_EQ(vt.GetCode(), ecUnknown);
    // An unknown code ends the sequence; the next character is plain again.
    const Parsed p = Feed(vt, u"\x1b(");
    EXPECT_EQ(p.code, ecUnknown);
    EXPECT_EQ(vt.ProcessChar(u'B'), erChar);
    EXPECT_FALSE(vt.GetEscStarted());
}

TEST(EscapeCodesVT100, AnEndlessLongCodeEndsAsUnknownAtItsLimit) {
    TEscapeCodesVT100 vt;
    EXPECT_EQ(vt.ProcessChar(27), erNothing);
    EXPECT_EQ(vt.ProcessChar(u'['), erNothing);
    std::size_t fed = 1;
    TEscapeResult r = erNothing;
    while (r == erNothing && fed < 10000) {
        r = vt.ProcessChar(u'1');
        ++fed;
    }
    EXPECT_EQ(r, erCode);
    EXPECT_EQ(vt.GetCode(), ecUnknown);
    EXPECT_EQ(fed, TEscapeCodesVT100::MaxLongCode);
    EXPECT_EQ(vt.GetData().size(), TEscapeCodesVT100::MaxLongCode);
    EXPECT_FALSE(vt.GetLongCode());
    EXPECT_EQ(vt.ProcessChar(u'm'), erChar);
}

TEST(EscapeCodesVT52, CursorMoveCarriesRowAndColumnAsCharacters) {
    TEscapeCodesVT52 vt;
    EXPECT_EQ(vt.ProcessChar(27), erNothing);
    EXPECT_EQ(vt.ProcessChar(u'Y'), erNothing);
    EXPECT_EQ(vt.ProcessChar(36), erNothing);
    EXPECT_EQ(vt.ProcessChar(41), erCode);
    EXPECT_EQ(vt.GetCode(), ecCursorMove);
    ASSERT_EQ(vt.GetParams()->GetCount(), 2);
    EXPECT_EQ(TEscapeCodes::GetParam(1, vt.GetParams()), 5);
    EXPECT_EQ(TEscapeCodes::GetParam(2, vt.GetParams()), 10);
    EXPECT_EQ(vt.EscCodeToStr(ecCursorMove, vt.GetParams()), "\x1bY\x24\x29");

    struct Row {
        const char16_t* text;
        TEscapeCode code;
    };
    const Row rows[] = {{u"A", ecCursorUp},        {u"B", ecCursorDown},    {u"C", ecCursorRight},
                        {u"D", ecCursorLeft},      {u"H", ecCursorHome},    {u"I", ecReverseLineFeed},
                        {u"J", ecEraseScreenFrom}, {u"K", ecEraseLineFrom}, {u"Z", ecIdentify},
                        {u"/Z", ecIdentResponse},  {u"/K", ecUnknown},      {u"F", ecUnknown}};
    for (const Row& r : rows) {
        const Parsed p = Feed(vt, Esc(r.text));
        EXPECT_EQ(p.result, erCode) << UTF8Encode(r.text);
        EXPECT_EQ(p.code, r.code) << UTF8Encode(r.text);
    }
    EXPECT_EQ(vt.ProcessChar(27), erNothing);
    EXPECT_EQ(vt.ProcessChar(u'/'), erNothing);
}

TEST(EscapeCodesVT52, PositionsPastOneByteAreSentAsTheFarthestOne) {
    TEscapeCodesVT52 vt;
    TStringList params;
    params.Add(u"300");
    params.Add(u"-7");
    const AnsiString s = vt.EscCodeToStr(ecCursorMove, &params);
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(static_cast<unsigned char>(s[2]), 255);
    EXPECT_EQ(static_cast<unsigned char>(s[3]), 32);
    EXPECT_EQ(vt.EscCodeToStr(ecSetTab, nullptr), "");
}

TEST(EscapeCodes, EachEmulationSpellsTheCodesItCanSend) {
    TEscapeCodesVT100 vt100;
    TEscapeCodesVT52 vt52;
    TStringList two;
    two.Add(u"2");
    two.Add(u"3");
    EXPECT_EQ(vt100.EscCodeToStr(ecReportCursorPos, &two), "\x1b[2;3R");
    EXPECT_EQ(vt100.EscCodeToStr(ecCursorMove, &two), "\x1b[2;3f");
    EXPECT_EQ(vt100.EscCodeToStr(ecIdentResponse, &two), "\x1b[?1;2c");
    EXPECT_EQ(vt100.EscCodeToStr(ecCursorMove, nullptr), "\x1b[1;1f");
    const std::pair<TEscapeCode, const char*> fixed[] = {{ecCursorUp, "[A"},
                                                         {ecCursorDown, "[B"},
                                                         {ecCursorRight, "[C"},
                                                         {ecCursorLeft, "[D"},
                                                         {ecCursorHome, "[H"},
                                                         {ecAppCursorLeft, "OD"},
                                                         {ecAppCursorRight, "OC"},
                                                         {ecAppCursorUp, "OA"},
                                                         {ecAppCursorDown, "OB"},
                                                         {ecEraseLineFrom, "[K"},
                                                         {ecEraseScreenFrom, "[J"},
                                                         {ecEraseLine, "[2K"},
                                                         {ecEraseScreen, "[2J"},
                                                         {ecSetTab, "H"},
                                                         {ecClearTab, "[g"},
                                                         {ecClearAllTabs, "[3g"},
                                                         {ecIdentify, "[c"},
                                                         {ecQueryDevice, "[5n"},
                                                         {ecReportDeviceOK, "[0n"},
                                                         {ecReportDeviceFailure, "[3n"},
                                                         {ecQueryCursorPos, "[6n"},
                                                         {ecAttributes, "[m"},
                                                         {ecSetMode, "[h"},
                                                         {ecResetMode, "[l"},
                                                         {ecReset, "c"},
                                                         {ecSaveCaretAndAttr, "7"},
                                                         {ecRestoreCaretAndAttr, "8"},
                                                         {ecSaveCaret, "[s"},
                                                         {ecRestoreCaret, "[u"},
                                                         {ecTest, "#8"}};
    for (const auto& [code, text] : fixed)
        EXPECT_EQ(vt100.EscCodeToStr(code, nullptr), std::string("\x1b") + text);
    EXPECT_EQ(vt100.EscCodeToStr(ecReverseLineFeed, nullptr), "");
    EXPECT_EQ(vt100.EscCodeToStr(ecUnknown, nullptr), "");
    EXPECT_EQ(vt52.EscCodeToStr(ecIdentResponse, nullptr), "\x1b/Z");
    EXPECT_EQ(vt52.EscCodeToStr(ecReverseLineFeed, nullptr), "\x1bI");
}

TEST(EscapeCodes, GetParamIsOneWithoutTheParameterAndRaisesForNonNumbers) {
    TStringList params;
    params.Add(u"7");
    params.Add(u"12");
    EXPECT_EQ(TEscapeCodes::GetParam(2, &params), 12);
    EXPECT_EQ(TEscapeCodes::GetParam(3, &params), 1);
    EXPECT_EQ(TEscapeCodes::GetParam(1, nullptr), 1);
    params.Add(u"?1");
    EXPECT_THROW(TEscapeCodes::GetParam(3, &params), EConvertError);
}
