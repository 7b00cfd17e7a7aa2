// The terminal's screen buffer: cells, tab stops, erasing and scrolling.

#include "tests/serial/terminaltest.h"

namespace {

class TermBuffer : public TerminalTest {
protected:
    TComTermBuffer* Buffer() const { return term->GetBuffer(); }
    static TComTermChar Cell(Char ch) {
        TComTermChar c;
        c.Ch = ch;
        return c;
    }
};

} // namespace

TEST_F(TermBuffer, TabStopsStandEveryEighthColumnFromTheFirst) {
    EXPECT_EQ(term->GetColumns(), 80);
    for (Integer x = 1; x <= 80; ++x) EXPECT_EQ(Buffer()->GetTab(x), x % 8 == 1) << x;
    EXPECT_EQ(Buffer()->NextTab(2), 9);
    EXPECT_EQ(Buffer()->NextTab(73), 73);
    EXPECT_EQ(Buffer()->NextTab(74), 0);
    Buffer()->SetTab(76, true);
    EXPECT_EQ(Buffer()->NextTab(74), 76);
    Buffer()->ClearAllTabs();
    EXPECT_EQ(Buffer()->NextTab(1), 0);
}

TEST_F(TermBuffer, LineLengthCountsToTheLastCharacterAcrossGaps) {
    Buffer()->SetChar(1, 3, Cell(u'a'));
    Buffer()->SetChar(2, 3, Cell(u'b'));
    Buffer()->SetChar(10, 3, Cell(u'z'));
    EXPECT_EQ(Buffer()->GetLineLength(3), 10);
    EXPECT_EQ(Buffer()->GetLineLength(4), 0);
    EXPECT_EQ(Buffer()->GetLastLine(), 3);
    Buffer()->EraseLine(1, 3);
    EXPECT_EQ(Buffer()->GetLineLength(3), 0);
    EXPECT_EQ(Buffer()->GetLastLine(), 0);
}

TEST_F(TermBuffer, EraseClearsFromThePositionOnward) {
    for (Integer y = 1; y <= 3; ++y)
        for (Integer x = 1; x <= 5; ++x) Buffer()->SetChar(x, y, Cell(u'x'));
    Buffer()->EraseLine(3, 1);
    EXPECT_EQ(Row(1), u"xx");
    Buffer()->EraseScreen(4, 2);
    EXPECT_EQ(Row(2), u"xxx");
    EXPECT_EQ(Row(3), u"");
}

TEST_F(TermBuffer, ScrollingMovesEveryRowByOne) {
    for (Integer y = 1; y <= 24; ++y) Buffer()->SetChar(1, y, Cell(static_cast<Char>(u'A' + y - 1)));
    Buffer()->ScrollDown();
    EXPECT_EQ(Row(1), u"B");
    EXPECT_EQ(Row(23), u"X");
    EXPECT_EQ(Row(24), u"");
    Buffer()->ScrollUp();
    EXPECT_EQ(Row(1), u"");
    EXPECT_EQ(Row(2), u"B");
    EXPECT_EQ(Row(24), u"X");
}

TEST_F(TermBuffer, PositionsOutsideTheScreenAreIgnored) {
    Buffer()->SetChar(0, 1, Cell(u'a'));
    Buffer()->SetChar(81, 1, Cell(u'a'));
    Buffer()->SetChar(1, 25, Cell(u'a'));
    Buffer()->SetChar(-5, -5, Cell(u'a'));
    EXPECT_EQ(Buffer()->GetLastLine(), 0);
    EXPECT_EQ(Buffer()->GetChar(81, 1).Ch, 0);
    EXPECT_EQ(Buffer()->GetChar(1, 0).Ch, 0);
    EXPECT_FALSE(Buffer()->GetTab(0));
    EXPECT_FALSE(Buffer()->GetTab(81));
    Buffer()->SetTab(300, true);
    Buffer()->EraseLine(200, 1);
    Buffer()->EraseLine(1, 200);
    Buffer()->EraseScreen(1, 0);
    Buffer()->EraseScreen(500, 24);
    EXPECT_EQ(Buffer()->GetLineLength(0), 0);
    EXPECT_EQ(Buffer()->GetLineLength(25), 0);
}
