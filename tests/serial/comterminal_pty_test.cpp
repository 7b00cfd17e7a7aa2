// The terminal on a port over a pseudo-terminal: the master plays the far
// end, the terminal shows what it sends and sends what is typed.

#include "tests/serial/terminaltest.h"

#include "platform/core/threads.h"
#include "tests/support/pty.h"

#include <filesystem>

using namespace std::chrono_literals;

namespace {

class TerminalOnPty : public TerminalTest {
protected:
    void SetUp() override {
        TerminalTest::SetUp();
        port = Create<TComPort>(form.get());
        port->SetPort(UTF8ToString(pty.SlavePath()));
        term->SetComPort(port);
        port->Open();
    }
    void TearDown() override {
        form.form.reset();
        TerminalTest::TearDown();
    }
    // Runs the port's events and the GUI until the condition holds (bounded).
    static bool Pump(const std::function<bool()>& done) {
        const auto until = std::chrono::steady_clock::now() + 3s;
        for (;;) {
            CheckSynchronize(1);
            probe::ProcessEvents();
            if (done()) return true;
            if (std::chrono::steady_clock::now() > until) return false;
        }
    }
    // Sends from the far end and waits until the terminal has taken it all.
    bool Receive(const std::string& bytes, std::size_t chars) {
        received = 0;
        return pty.Write(bytes, 3s) && Pump([&] { return received >= chars; });
    }
    // What the terminal answers at the far end.
    std::string Answer(std::size_t count) {
        std::string got;
        Pump([&] {
            got += pty.Read(count - got.size(), 1ms);
            return got.size() >= count;
        });
        return got;
    }
    void CountChars() {
        term->OnChar.Bind([this](TObject*, Char) { ++received; });
    }

    testsupport::PtyPair pty;
    TComPort* port = nullptr;
    std::size_t received = 0;
};

} // namespace

TEST_F(TerminalOnPty, ShowsWrapsScrollsAndAnswersLikeAVt100) {
    CountChars();
    term->SetWrapLines(true);
    ASSERT_TRUE(Receive("\x1b[2J\x1b[Hline one\r\n\x1b[1mbold\x1b[m\r\n", 16));
    EXPECT_EQ(Row(1), u"line one");
    EXPECT_EQ(Row(2), u"bold");
    EXPECT_EQ(term->GetBuffer()->GetChar(1, 2).FrontColor, term->GetAltColor());
    ASSERT_TRUE(Receive(std::string(85, 'w'), 85));
    EXPECT_EQ(Row(3), String(80, u'w'));
    EXPECT_EQ(Row(4), u"wwwww");
    // The far end asks where the caret is.
    ASSERT_TRUE(Receive("\x1b[2;3H\x1b[6n", 0));
    EXPECT_EQ(Answer(6), "\x1b[2;3R");
    ASSERT_TRUE(Receive("\x1b[5n\x1b[c", 0));
    EXPECT_EQ(Answer(4 + 7), "\x1b[0n\x1b[?1;2c");
    // Twenty-four more lines push the first ones off the top.
    std::string lines;
    for (int i = 0; i < 24; ++i) lines += "\r\nrow " + std::to_string(i);
    ASSERT_TRUE(Receive("\x1b[24;1H" + lines, lines.size()));
    EXPECT_EQ(Row(24), u"row 23");
    EXPECT_EQ(Row(1), u"row 0");
}

TEST_F(TerminalOnPty, BlocksOfAnySizeAreShownInFull) {
    CountChars();
    term->SetRows(100);
    term->SetColumns(200);
    term->SetWrapLines(true);
    std::string block;
    for (int i = 0; i < 5000; ++i) block.push_back(static_cast<char>('a' + i % 26));
    ASSERT_TRUE(Receive(block, block.size()));
    Integer shown = 0;
    for (Integer y = 1; y <= 100; ++y) shown += term->GetBuffer()->GetLineLength(y);
    EXPECT_EQ(shown, 5000);
    EXPECT_EQ(Row(25).substr(0, 3), u"qrs"); // 24 rows of 200, then the 4801st character
}

TEST_F(TerminalOnPty, ReceivedTextIsConvertedWithCharactersSplitAcrossBlocks) {
    CountChars();
    const std::string word = "Привет";
    ASSERT_TRUE(Receive(word.substr(0, 3), 1));
    ASSERT_TRUE(Receive(word.substr(3), 5));
    EXPECT_EQ(Row(1), u"Привет");
    term->SetAppendLF(true);
    ASSERT_TRUE(Receive("a\rb", 4));
    EXPECT_EQ(Row(2), u"b");
    term->SetForce7Bit(true);
    term->OnStrRecieved.Bind([](TObject*, String& s) { s += u"!"; });
    ASSERT_TRUE(Receive("\xC1\xE2", 3));
    EXPECT_EQ(Row(2), u"bAb!");
}

TEST_F(TerminalOnPty, TypedKeysGoToThePortAndEchoOnlyWhenAsked) {
    const TControl& w = *term;
    probe::Type(w, u"a");
    EXPECT_EQ(pty.Read(1), "a");
    EXPECT_EQ(term->GetBuffer()->GetLastLine(), 0);
    term->SetLocalEcho(true);
    term->SetSendLF(true);
    probe::Type(w, u"b\r");
    EXPECT_EQ(pty.Read(3), "b\r\n");
    EXPECT_EQ(Row(1), u"b");
    EXPECT_EQ(Caret(), TPoint(1, 2));
    term->SetLocalEcho(false);
    // Tab is the focus's unless the terminal wants it.
    probe::Type(w, u"\t");
    term->SetWantTab(true);
    probe::Type(w, u"\t");
    EXPECT_EQ(pty.Read(1), "\t");
    EXPECT_EQ(pty.Read(1, 100ms), "");
}

TEST_F(TerminalOnPty, ArrowKeysAreSentAppliedOrSentInApplicationMode) {
    const TControl& w = *term;
    probe::Key(w, VK_UP);
    probe::Key(w, VK_HOME);
    EXPECT_EQ(pty.Read(6), "\x1b[A\x1b[H");
    term->WriteStr(u"\x1b[?1h");
    probe::Key(w, VK_LEFT);
    probe::Key(w, VK_HOME); // nothing in application mode
    probe::Key(w, VK_DOWN);
    EXPECT_EQ(pty.Read(6), "\x1bOD\x1bOB");
    term->WriteStr(u"\x1b[?1l\x1b[5;5H");
    term->SetArrowKeys(akWindows);
    probe::Key(w, VK_RIGHT);
    probe::Key(w, VK_UP);
    EXPECT_EQ(Caret(), TPoint(6, 4));
    EXPECT_EQ(pty.Read(1, 100ms), "");
    term->SetEmulation(teVT52);
    term->SetArrowKeys(akTerminal);
    probe::Key(w, VK_UP);
    EXPECT_EQ(pty.Read(2), "\x1b"
                           "A");
}

TEST_F(TerminalOnPty, AFreedTerminalLeavesThePortsLinks) {
    EXPECT_TRUE(port->GetHasLink());
    EXPECT_EQ(term->GetConnected(), true);
    term->Free();
    term = nullptr;
    EXPECT_FALSE(port->GetHasLink());
    int chars = 0;
    port->OnRxChar.Bind([&](TObject*, Integer count) {
        AnsiString s;
        chars += port->ReadStr(s, count);
    });
    ASSERT_TRUE(pty.Write("after", 1s));
    EXPECT_TRUE(Pump([&] { return chars == 5; }));
}

TEST_F(TerminalOnPty, AFreedPortLeavesTheTerminalWithoutOne) {
    port->Free();
    EXPECT_EQ(term->GetComPort(), nullptr);
    EXPECT_FALSE(term->GetConnected());
    term->SendChar(u'x'); // goes nowhere
}

// A picture of a session: text, bold, reverse and underlined cells, erased
// parts and the caret, written beside the test program for people to look at.
TEST_F(TerminalOnPty, PictureOfAVt100Session) {
    CountChars();
    form->SetFocus();
    term->SetFocus();
    term->SetAltColor(clYellow);
    const std::string session =
        "\x1b[2J\x1b[H"
        "Moltren terminal \x1b[1mVT100\x1b[m session\r\n"
        "\x1b[7m reverse \x1b[m \x1b[4munderlined\x1b[m \x1b[1;7m bold reverse \x1b[m\r\n"
        "\x1b[4;10Hcolumn 10, row 4\x1b[6;1H"
        "tabs:\tone\ttwo\tthree\r\n"
        "erased from here>XXXXXXXXXXXX\x1b[12D\x1b[K\r\n"
        "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82, \xd0\xbc\xd0\xb8\xd1\x80\r\n$ ";
    ASSERT_TRUE(pty.Write(session, 3s));
    ASSERT_TRUE(Pump([&] { return Row(9) == u"$ "; }));
    const probe::Picture picture = probe::Grab(*term);
    const auto path = std::filesystem::current_path() / "terminal-vt100-session.png";
    ASSERT_TRUE(picture.SavePng(path));
    std::printf("picture: %s\n", path.c_str());
    EXPECT_EQ(Row(7), u"erased from here>");
    EXPECT_EQ(Row(8), u"Привет, мир");
}
