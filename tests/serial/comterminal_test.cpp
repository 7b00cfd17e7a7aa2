// The terminal control without a port: what received text does to the screen,
// the caret, sizes, attributes, saving and loading, and its look.

#include "tests/serial/terminaltest.h"

#include "platform/core/streams.h"
#include "platform/gui/dialogs.h"
#include "tests/support/streamtext.h"

namespace {

class Terminal : public TerminalTest {};

std::string Bytes(TMemoryStream& s) {
    return std::string(static_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.GetSize()));
}

} // namespace

// The settings behind the other tests' arithmetic: an 80 x 24 VT100 screen of
// a measured font.
TEST_F(Terminal, StartsAsAnEightyByTwentyFourVT100Screen) {
    Owned<TComTerminal> fresh(Create<TComTerminal>(nullptr));
    EXPECT_EQ(fresh->GetColumns(), 80);
    EXPECT_EQ(fresh->GetRows(), 24);
    EXPECT_TRUE(dynamic_cast<TEscapeCodesVT100*>(fresh->GetEscapeCodes()));
    EXPECT_GT(fresh->GetCharWidth(), 0);
    EXPECT_GT(fresh->GetCharHeight(), fresh->GetCharWidth());
    EXPECT_FALSE(fresh->GetConnected());
}

TEST_F(Terminal, TextFillsCellsAndControlCharactersMoveTheCaret) {
    Put(u"hello\r\nworld");
    EXPECT_EQ(Row(1), u"hello");
    EXPECT_EQ(Row(2), u"world");
    EXPECT_EQ(Caret(), TPoint(6, 2));
    Put(u"\b\bX\tY");
    EXPECT_EQ(Row(2), u"worXd   Y");
    EXPECT_EQ(Caret(), TPoint(10, 2));
    Put(u"\f");
    EXPECT_EQ(Caret(), TPoint(10, 3));
    // Control codes and halves of a character change nothing on screen, yet are announced.
    std::vector<Char> seen;
    term->OnChar.Bind([&](TObject*, Char c) { seen.push_back(c); });
    Put(String(u"\x07\x1fёЯ\u2500") + Char(0xD800));
    EXPECT_EQ(Row(3), u"         ёЯ\u2500");
    EXPECT_EQ(seen, (std::vector<Char>{7, 0x1F, u'ё', u'Я', 0x2500, 0xD800}));
}

TEST_F(Terminal, LongLinesStayOrWrapAndTheLastRowScrolls) {
    Put(String(80, u'a') + u"b");
    EXPECT_EQ(Caret(), TPoint(80, 1));
    EXPECT_EQ(term->GetBuffer()->GetChar(80, 1).Ch, u'b');
    EXPECT_EQ(Row(2), u"");

    term->ClearScreen();
    term->SetWrapLines(true);
    Put(String(80, u'a') + u"bc");
    EXPECT_EQ(Row(2), u"bc");
    EXPECT_EQ(Caret(), TPoint(3, 2));

    term->ClearScreen();
    Put(u"top");
    for (int i = 0; i < 23; ++i) Put(u"\n");
    EXPECT_EQ(Caret().Y, 24);
    Put(u"\n");
    EXPECT_EQ(Row(1), u"");
    EXPECT_EQ(term->GetBuffer()->GetLastLine(), 0);
    Put(u"\r" + String(80, u'z') + u"w");
    EXPECT_EQ(Row(23), String(80, u'z'));
    EXPECT_EQ(Row(24), u"w");
    EXPECT_EQ(Caret(), TPoint(2, 24));
}

TEST_F(Terminal, Vt100CodesPositionEraseAndReport) {
    Put(u"junk\x1b[2J");
    EXPECT_EQ(term->GetBuffer()->GetLastLine(), 0);
    EXPECT_EQ(Caret(), TPoint(1, 1));
    Put(u"\x1b[5;10H");
    EXPECT_EQ(Caret(), TPoint(10, 5));
    Put(u"\x1b[2A\x1b[3D");
    EXPECT_EQ(Caret(), TPoint(7, 3));
    Put(u"\x1b[B\x1b[C\x1b[H");
    EXPECT_EQ(Caret(), TPoint(1, 1));
    Put(u"\x1b[3;4fabcdef\x1b[3;6H\x1b[K");
    EXPECT_EQ(Row(3), u"   ab");
    Put(u"\x1b[2K");
    EXPECT_EQ(Row(3), u"");
    EXPECT_EQ(Caret(), TPoint(1, 3));
    // Saving and restoring the caret, with and without the attributes.
    Put(u"\x1b[7;7H\x1b[1m\x1b"
        u"7\x1b[m\x1b[1;1H\x1b"
        u"8x");
    EXPECT_EQ(term->GetBuffer()->GetChar(7, 7).FrontColor, term->GetAltColor());
    Put(u"\x1b[s\x1b[20;20H\x1b[u");
    EXPECT_EQ(Caret(), TPoint(8, 7));
    // From a tab stop a tab goes on to the next one (stops every 8 columns from 1).
    Put(u"\r\t\t");
    EXPECT_EQ(Caret(), TPoint(17, 7));
    // Tab stops set and cleared at the caret.
    Put(u"\x1b[3g\r\t");
    EXPECT_EQ(Caret(), TPoint(1, 7));
    Put(u"\x1b[1;5H\x1bH\r\t");
    EXPECT_EQ(Caret(), TPoint(5, 1));
    Put(u"\x1b[g\r\t");
    EXPECT_EQ(Caret(), TPoint(1, 1));
}

TEST_F(Terminal, HugeCountsAndPositionsStayOnTheScreen) {
    Put(u"\x1b[5;5H\x1b[2147483647A");
    EXPECT_EQ(Caret(), TPoint(5, 1));
    Put(u"\x1b[2147483647B\x1b[2147483647C");
    EXPECT_EQ(Caret(), TPoint(80, 24));
    Put(u"\x1b[-2147483648A");
    EXPECT_EQ(Caret(), TPoint(80, 24));
    Put(u"\x1b[99999;0H");
    EXPECT_EQ(Caret(), TPoint(1, 24));
    term->SetEmulation(teVT52);
    Put(u"\x1bY\x20\x20");
    EXPECT_EQ(Caret(), TPoint(1, 1));
    Put(String(u"\x1bY") + Char(0xFFFF) + Char(0xFFFF));
    EXPECT_EQ(Caret(), TPoint(80, 24));
}

TEST_F(Terminal, AttributesColourTheCellsThatFollow) {
    term->SetAltColor(clYellow);
    Put(u"\x1b[1mx\x1b[0my\x1b[7mz\x1b[27;4mu\x1b[mv");
    const auto cell = [&](Integer x) { return term->GetBuffer()->GetChar(x, 1); };
    EXPECT_EQ(cell(1).FrontColor, clYellow);
    EXPECT_EQ(cell(1).BackColor, clBlack);
    EXPECT_EQ(cell(2).FrontColor, clWhite);
    EXPECT_EQ(cell(3).FrontColor, clBlack);
    EXPECT_EQ(cell(3).BackColor, clWhite);
    EXPECT_TRUE(cell(4).Underline);
    EXPECT_EQ(cell(4).FrontColor, clWhite);
    EXPECT_FALSE(cell(5).Underline);
    // Bold wins over reverse for the text colour.
    Put(u"\x1b[1;7mw\x1b"
        u"c!");
    EXPECT_EQ(cell(6).FrontColor, clYellow);
    EXPECT_EQ(cell(6).BackColor, clWhite);
    EXPECT_EQ(cell(7).FrontColor, clWhite);
    EXPECT_EQ(cell(7).BackColor, clBlack);
    // A later font colour and control colour are what new text starts with.
    term->GetFont()->SetColor(clLime);
    term->SetColor(clNavy);
    Put(u"q");
    EXPECT_EQ(cell(8).FrontColor, clLime);
    EXPECT_EQ(cell(8).BackColor, clNavy);
    Put(u"\x1b#8");
    EXPECT_EQ(Row(24), String(80, u'E'));
    EXPECT_EQ(term->GetBuffer()->GetChar(80, 24).FrontColor, clLime);
}

TEST_F(Terminal, ModesSwitchCursorKeysWrappingAndWidth) {
    Put(u"\x1b[?1h");
    EXPECT_TRUE(term->GetAppCursorKeys());
    Put(u"\x1b[?1l\x1b[7h");
    EXPECT_FALSE(term->GetAppCursorKeys());
    EXPECT_TRUE(term->GetWrapLines());
    Put(u"\x1b[7l");
    EXPECT_FALSE(term->GetWrapLines());
    Put(u"\x1b[?3h");
    EXPECT_EQ(term->GetColumns(), 132);
    // A caret at column 120 comes inside the narrower screen, and writing goes on.
    Put(u"\x1b[10;120Hx\x1b"
        u"7\x1b[?3l");
    EXPECT_EQ(term->GetColumns(), 80);
    EXPECT_EQ(Caret(), TPoint(80, 10));
    Put(u"yz\x1b"
        u"8w");
    EXPECT_EQ(term->GetBuffer()->GetChar(80, 10).Ch, u'w');
}

TEST_F(Terminal, SizesAreLimitedAndKeepTheCaretInside) {
    term->SetColumns(300);
    EXPECT_EQ(term->GetColumns(), 256);
    term->SetRows(1);
    EXPECT_EQ(term->GetRows(), 2);
    term->SetRows(500);
    EXPECT_EQ(term->GetRows(), 100);
    Put(u"\x1b[90;250H");
    EXPECT_EQ(Caret(), TPoint(250, 90));
    term->SetColumns(10);
    term->SetRows(5);
    EXPECT_EQ(Caret(), TPoint(10, 5));
    EXPECT_GE(term->GetTopLeft().X, 1);
    EXPECT_LE(term->GetTopLeft().X, 10);
    EXPECT_LE(term->GetTopLeft().Y, 5);
    Put(u"abc");
    EXPECT_EQ(term->GetBuffer()->GetChar(10, 5).Ch, u'c');
}

TEST_F(Terminal, UnknownAndMalformedCodesAreReportedAndTextGoesOn) {
    std::vector<std::pair<TEscapeCode, String>> unhandled;
    term->OnUnhandledCode.Bind(
        [&](TObject*, TEscapeCode code, const String& data) { unhandled.emplace_back(code, data); });
    Put(u"\x1b[1Ka\x1b[;5Hb\x1b[99999999999Ac\x1b(Bd");
    ASSERT_EQ(unhandled.size(), 4u);
    EXPECT_EQ(unhandled[0].first, ecUnknown);
    EXPECT_EQ(unhandled[0].second, u"[1K");
    EXPECT_EQ(unhandled[1].first, ecCursorHome);
    EXPECT_EQ(unhandled[2].first, ecCursorUp);
    EXPECT_EQ(unhandled[3].second, u"(");
    EXPECT_EQ(Row(1), u"abcBd");
    EXPECT_EQ(term->GetEscapeCodes()->GetParams()->GetCount(), 0);
}

TEST_F(Terminal, EmulationChoosesTheParserAndAProgramMayBringItsOwn) {
    term->SetEmulation(teNone);
    EXPECT_EQ(term->GetEscapeCodes(), nullptr);
    Put(u"\x1b[1m");
    EXPECT_EQ(Row(1), u"[1m");
    term->SetEmulation(teVT52);
    EXPECT_TRUE(dynamic_cast<TEscapeCodesVT52*>(term->GetEscapeCodes()));
    Put(u"\x1bH\x1bY\x24\x29!");
    EXPECT_EQ(term->GetBuffer()->GetChar(10, 5).Ch, u'!');
    term->OnGetEscapeCodes.Bind([](TObject*, TEscapeCodes*& codes) { codes = new TEscapeCodesVT52; });
    term->SetEmulation(teNone);
    EXPECT_TRUE(dynamic_cast<TEscapeCodesVT52*>(term->GetEscapeCodes()));
}

TEST_F(Terminal, SavingWritesTheRowsAsBytesWithLineEnds) {
    Put(u"ab\r\nc");
    TMemoryStream out;
    term->SaveToStream(&out);
    EXPECT_EQ(Bytes(out), "ab\r\nc");
    // Gaps are blanks; Cyrillic text goes out in the code page and comes back.
    term->ClearScreen();
    Put(u"x\x1b[1;4HПривет");
    TMemoryStream again;
    term->SaveToStream(&again);
    EXPECT_EQ(Bytes(again), "x  Привет");
    term->ClearScreen();
    again.SetPosition(0);
    term->LoadFromStream(&again);
    EXPECT_EQ(Row(1), u"x  Привет");
}

TEST_F(Terminal, LoadingReadsFromThePositionToTheEnd) {
    TMemoryStream in;
    const std::string text = "skip|one\r\ntwo";
    in.WriteBuffer(text.data(), static_cast<LongInt>(text.size()));
    in.SetPosition(5);
    term->LoadFromStream(&in);
    EXPECT_EQ(Row(1), u"one");
    EXPECT_EQ(Row(2), u"two");
    EXPECT_EQ(in.GetPosition(), in.GetSize());
    EXPECT_EQ(Caret(), TPoint(4, 2));
}

TEST_F(Terminal, ScrollBarsCoverWhatTheClientAreaCannotShow) {
    term->SetBounds(0, 0, 300, 200);
    const int cw = term->GetCharWidth(), ch = term->GetCharHeight();
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(term->GetHandle(), SB_VERT, &si));
    const int border = GetSystemMetrics(SM_CXEDGE);
    EXPECT_EQ(si.nMax, 24 - (200 - 2 * border) / ch);
    const int rowsRange = si.nMax;
    ASSERT_TRUE(GetScrollInfo(term->GetHandle(), SB_HORZ, &si));
    EXPECT_EQ(si.nMax, 80 - (300 - 2 * border - GetSystemMetrics(SM_CXVSCROLL)) / cw);
    EXPECT_EQ(term->GetClientWidth(), 300 - 2 * border - GetSystemMetrics(SM_CXVSCROLL));

    term->HandleScroll(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(term->GetTopLeft().Y, 2);
    term->HandleScroll(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(term->GetTopLeft().Y, std::min(2 + term->GetClientHeight() / ch, rowsRange + 1));
    term->HandleScroll(WM_VSCROLL, SB_THUMBPOSITION, 0);
    EXPECT_EQ(term->GetTopLeft().Y, 1);
    term->HandleScroll(WM_HSCROLL, SB_THUMBTRACK, 5); // followed only with SmoothScroll
    EXPECT_EQ(term->GetTopLeft().X, 1);
    term->SetSmoothScroll(true);
    term->HandleScroll(WM_HSCROLL, SB_THUMBTRACK, 5);
    EXPECT_EQ(term->GetTopLeft().X, 6);
    term->HandleScroll(WM_HSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(term->GetTopLeft().X, 5);
    term->HandleScroll(WM_HSCROLL, SB_ENDSCROLL, 0);
    EXPECT_EQ(term->GetTopLeft().X, 5);
    term->HandleScroll(WM_HSCROLL, SB_THUMBPOSITION, 100000);
    EXPECT_EQ(term->GetTopLeft().X, si.nMax + 1);

    // Sized to the screen, nothing is left to scroll.
    term->SetColumns(40);
    term->SetRows(10);
    EXPECT_EQ(term->GetWidth(), 40 * cw + 2 * border);
    EXPECT_EQ(term->GetHeight(), 10 * ch + 2 * border);
    ASSERT_TRUE(GetScrollInfo(term->GetHandle(), SB_HORZ, &si));
    EXPECT_EQ(si.nMax, 0);
    EXPECT_EQ(term->GetTopLeft(), TPoint(1, 1));
    term->SetBorderStyle(bsNone);
    term->SetColumns(41);
    EXPECT_EQ(term->GetWidth(), 41 * cw);
}

TEST_F(Terminal, TheCaretFollowsTheFocusAndItsKind) {
    form->SetFocus();
    term->SetFocus();
    ASSERT_TRUE(WaitFor([&] { return GetCaretWindow() == term->GetHandle(); }));
    EXPECT_TRUE(IsCaretShown());
    const int cw = term->GetCharWidth(), ch = term->GetCharHeight();
    Put(u"\x1b[3;5H");
    POINT p;
    ASSERT_TRUE(GetCaretPos(&p));
    EXPECT_EQ(p, TPoint(4 * cw, 2 * ch));
    term->SetCaret(tcUnderline);
    ASSERT_TRUE(GetCaretPos(&p));
    EXPECT_EQ(p, TPoint(4 * cw, 2 * ch + ch - ch / 8));
    term->SetCaret(tcNone);
    EXPECT_EQ(GetCaretWindow(), nullptr);
}

TEST_F(Terminal, SelectFontOffersFixedPitchFacesAndTakesTheChoice) {
    answer = [](const TDialogRequest& r) {
        TDialogAnswer a;
        a.Result = mrOk;
        a.FontName = u"Liberation Mono";
        a.FontSize = 14;
        EXPECT_TRUE(TFontDialogOptions::FromBits(r.Flags).Contains(fdFixedPitchOnly));
        EXPECT_EQ(r.Font->GetName(), u"Fixedsys");
        return a;
    };
    const int before = term->GetCharHeight();
    term->SelectFont();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Kind, TDialogKind::FontDialog);
    EXPECT_EQ(term->GetFont()->GetName(), u"Liberation Mono");
    EXPECT_GT(term->GetCharHeight(), before);
    // A face that is not fixed-pitch is not taken; nor is underlining.
    term->GetFont()->SetName(u"Liberation Sans");
    EXPECT_EQ(term->GetFont()->GetName(), u"Fixedsys");
    term->GetFont()->SetStyle(TFontStyles{fsUnderline, fsBold});
    EXPECT_EQ(term->GetFont()->GetStyle(), TFontStyles{fsBold});
}

TEST_F(Terminal, PaintingShowsCellsInTheirColours) {
    term->SetAltColor(clYellow);
    Put(u"\x1b[1m\x1b[7m  \x1b[m");
    const probe::Picture img = Picture();
    const int cw = term->GetCharWidth(), ch = term->GetCharHeight();
    const probe::Rgb white{255, 255, 255}, black{0, 0, 0};
    // Reverse blanks: the bold colour as background is the text colour white.
    EXPECT_EQ(ClientPixel(img, cw / 2, ch / 2), white);
    EXPECT_EQ(ClientPixel(img, 3 * cw, ch / 2), black);
    // Erasing shows the background again.
    Put(u"\x1b[2J\x1b[5;5H"); // the caret (shown when focused) out of the way
    EXPECT_EQ(ClientPixel(Picture(), cw / 2, ch / 2), black);
}

TEST_F(Terminal, FormResourcesCarryTheSettingsAndLoadingSizesTheScreen) {
    RegisterComTerminalClasses();
    term->SetColumns(100);
    term->SetRows(30);
    term->SetEmulation(teVT52);
    term->SetCaret(tcUnderline);
    term->SetWrapLines(true);
    term->SetAltColor(clRed);
    const std::string written = streamtext::ObjectText(term);
    for (const char* line : {"Columns = 100", "Rows = 30", "Emulation = teVT52", "Caret = tcUnderline",
                             "WrapLines = True", "AltColor = clRed"})
        EXPECT_NE(written.find(line), std::string::npos) << line << "\n" << written;
    for (const char* name : {"Connected", "LocalEcho", "ArrowKeys", "ScrollBars", "BorderStyle"})
        EXPECT_EQ(written.find(name), std::string::npos) << name << "\n" << written;

    Owned<TComTerminal> read(Create<TComTerminal>(nullptr));
    streamtext::ReadText(written, read.get());
    EXPECT_EQ(read->GetColumns(), 100);
    EXPECT_EQ(read->GetRows(), 30);
    EXPECT_EQ(read->GetBuffer()->GetColumns(), 100);
    EXPECT_EQ(read->GetBuffer()->GetRows(), 30);
    EXPECT_TRUE(dynamic_cast<TEscapeCodesVT52*>(read->GetEscapeCodes()));
    EXPECT_EQ(read->GetCaret(), tcUnderline);
    EXPECT_TRUE(read->GetWrapLines());
    EXPECT_EQ(read->GetAltColor(), clRed);
}
