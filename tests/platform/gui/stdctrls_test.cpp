#include "platform/gui/stdctrls.h"

#include "platform/gui/checklst.h"
#include "tests/platform/gui/guitest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include <chrono>
#include <tuple>

namespace {

class StdCtrlsTest : public GuiTest {};

TEST_F(StdCtrlsTest, SettingAnEditsTextFiresOnChangeOnlyForANewText) {
    TestForm f;
    auto* e = Create<TEdit>(f.get());
    e->SetParent(f.get());
    int changes = 0;
    e->OnChange.Bind([&](TObject*) { ++changes; });
    e->SetText(u"Значение1");
    EXPECT_EQ(changes, 1);
    e->SetText(u"Значение1");
    EXPECT_EQ(changes, 1);
    e->SetMaxLength(3);
    static_cast<QLineEdit*>(e->Widget())->insert(QStringLiteral("12345"));
    EXPECT_LE(e->GetText().size(), 9u + 3u);
    e->Clear();
    e->SetText(u"");
    GuiTest::Key(e->Widget(), Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
    GuiTest::Key(e->Widget(), Qt::Key_2, Qt::NoModifier, QStringLiteral("2"));
    GuiTest::Key(e->Widget(), Qt::Key_3, Qt::NoModifier, QStringLiteral("3"));
    GuiTest::Key(e->Widget(), Qt::Key_4, Qt::NoModifier, QStringLiteral("4"));
    EXPECT_EQ(e->GetText(), u"123");
}

TEST_F(StdCtrlsTest, ADropDownListChangesOnlyByTheUser) {
    TestForm f;
    auto* c = Create<TComboBox>(f.get());
    c->SetParent(f.get());
    c->SetStyle(csDropDownList);
    for (const char16_t* s : {u"9600", u"4800", u"2400", u"1200"}) c->GetItems()->Add(s);
    EXPECT_EQ(c->GetItemIndex(), -1);
    int changes = 0;
    c->OnChange.Bind([&](TObject*) { ++changes; });
    c->SetItemIndex(0);
    EXPECT_EQ(c->GetText(), u"9600");
    EXPECT_EQ(changes, 0);
    c->SetText(u"2400");
    EXPECT_EQ(c->GetItemIndex(), 2);
    c->SetText(u"300");
    EXPECT_EQ(c->GetItemIndex(), 2);
    emit static_cast<QComboBox*>(c->Widget())->activated(1);
    EXPECT_EQ(changes, 1);
    c->GetItems()->Delete(2);
    EXPECT_EQ(c->GetItems()->GetCount(), 3);
    EXPECT_EQ(c->GetItems()->GetStrings(2), u"1200");
}

TEST_F(StdCtrlsTest, ComboItemsKeepObjectsAndSortedOrder) {
    TestForm f;
    auto* c = Create<TComboBox>(f.get());
    c->SetSorted(true);
    TObject tag;
    c->GetItems()->AddObject(u"b", &tag);
    c->GetItems()->Add(u"a");
    c->GetItems()->Add(u"c");
    EXPECT_EQ(c->GetItems()->GetCommaText(), u"a,b,c");
    EXPECT_EQ(c->GetItems()->GetObjects(1), &tag);
    EXPECT_THROW(c->GetItems()->GetStrings(3), EStringListError);
}

TEST_F(StdCtrlsTest, MemoLinesAreTheLinesShown) {
    TestForm f;
    auto* m = Create<TMemo>(f.get());
    m->SetParent(f.get());
    TStrings* lines = m->GetLines();
    EXPECT_EQ(lines->GetCount(), 0);
    lines->Add(u" 05 10 12 30 1.5 ");
    lines->Add(u"");
    lines->Add(u" ab ");
    EXPECT_EQ(lines->GetCount(), 3);
    EXPECT_EQ(lines->GetStrings(1), u"");
    EXPECT_EQ(m->GetText(), u" 05 10 12 30 1.5 \r\n\r\n ab \r\n");
    lines->Insert(0, u"first");
    lines->Delete(2);
    lines->SetStrings(2, u"last");
    EXPECT_EQ(lines->GetText(), u"first\r\n 05 10 12 30 1.5 \r\nlast\r\n");
    EXPECT_EQ(static_cast<QPlainTextEdit*>(m->Widget())->toPlainText(),
              QStringLiteral("first\n 05 10 12 30 1.5 \nlast\n"));
    lines->Delete(2);
    EXPECT_EQ(lines->GetCount(), 2);
    lines->Clear();
    EXPECT_EQ(lines->GetCount(), 0);
    // Text typed past the end is a line of its own.
    m->SetText(u"one\r\ntwo");
    EXPECT_EQ(lines->GetCount(), 2);
    lines->Add(u"three");
    EXPECT_EQ(lines->GetStrings(2), u"three");
}

// A log takes a portion's lines at once: one change, the lines in order after
// whatever was there, a line typed past the end kept as a line of its own.
TEST_F(StdCtrlsTest, MemoLinesAddedTogetherAreOneChange) {
    TestForm f;
    auto* m = Create<TMemo>(f.get());
    m->SetParent(f.get());
    int changes = 0;
    m->OnChange.Bind([&](TObject*) { ++changes; });
    TStrings* lines = m->GetLines();
    TStringList portion;
    lines->AddStrings(&portion);
    EXPECT_EQ(changes, 0);
    portion.Add(u" 05 10 12 30 1.5 ");
    portion.Add(u"");
    lines->AddStrings(&portion);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(m->GetText(), u" 05 10 12 30 1.5 \r\n\r\n");
    lines->AddStrings(lines); // its own lines once more
    EXPECT_EQ(lines->GetCount(), 4);
    m->SetText(u"one\r\ntwo");
    changes = 0;
    portion.SetText(u"three\r\nfour\r\n");
    lines->AddStrings(&portion);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(m->GetText(), u"one\r\ntwo\r\nthree\r\nfour");
    EXPECT_EQ(lines->GetCount(), 4);
}

TEST_F(StdCtrlsTest, MemoLinesChangedInOneUpdateAreShownAfterIt) {
    TestForm f;
    auto* m = Create<TMemo>(f.get());
    m->SetParent(f.get());
    m->SetBounds(0, 0, 200, 100);
    f->Show();
    auto* e = static_cast<QPlainTextEdit*>(m->Widget());
    TStrings* lines = m->GetLines();
    lines->Add(u"old");
    lines->BeginUpdate();
    lines->Add(u"gone");
    lines->Clear();
    for (int i = 0; i < 50; ++i) lines->Add(IntToStr(i));
    lines->Delete(0);
    EXPECT_EQ(lines->GetCount(), 49);
    lines->EndUpdate();
    EXPECT_EQ(lines->GetStrings(0), u"1");
    EXPECT_EQ(lines->GetStrings(48), u"49");
    QCoreApplication::processEvents();
    // The document is laid out again: the scroll bar covers all the lines.
    EXPECT_GT(e->verticalScrollBar()->maximum(), 30);
    lines->Add(u"50");
    EXPECT_EQ(e->document()->findBlockByNumber(49).text(), QStringLiteral("50"));
}

TEST_F(StdCtrlsTest, AReadOnlyMemoWithAVerticalBarWrapsItsLines) {
    TestForm f;
    auto* m = Create<TMemo>(f.get());
    m->SetReadOnly(true);
    m->SetScrollBars(ssVertical);
    auto* e = static_cast<QPlainTextEdit*>(m->Widget());
    EXPECT_TRUE(e->isReadOnly());
    EXPECT_EQ(e->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(e->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    m->SetScrollBars(ssBoth);
    EXPECT_EQ(e->lineWrapMode(), QPlainTextEdit::NoWrap);
}

TEST_F(StdCtrlsTest, LabelsFitTheirTextAndHideTheAcceleratorMark) {
    TestForm f;
    f->GetFont()->SetName(u"Tahoma");
    f->GetFont()->SetHeight(-11);
    auto* l = Create<TLabel>(f.get());
    l->SetParent(f.get());
    l->SetCaption(u"&Порт && скорость");
    EXPECT_EQ(static_cast<QLabel*>(l->Widget())->text(), QStringLiteral("Порт & скорость"));
    EXPECT_EQ(l->GetHeight(), QFontMetrics(l->Widget()->font()).height());
    const int w = l->GetWidth();
    l->SetCaption(u"&Порт && скорость, байт/с");
    EXPECT_GT(l->GetWidth(), w);
    l->SetAutoSize(false);
    l->SetCaption(u"x");
    EXPECT_GT(l->GetWidth(), w);
}

TEST_F(StdCtrlsTest, CheckingFromCodeClicksAndTheUsersClickIsSeen) {
    TestForm f;
    auto* c = Create<TCheckBox>(f.get());
    c->SetParent(f.get());
    int clicks = 0;
    c->OnClick.Bind([&](TObject*) { ++clicks; });
    c->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    c->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    static_cast<QCheckBox*>(c->Widget())->click();
    EXPECT_FALSE(c->GetChecked());
    EXPECT_EQ(clicks, 2);
}

TEST_F(StdCtrlsTest, CheckListMarksChangeSilentlyFromCode) {
    TestForm f;
    auto* l = Create<TCheckListBox>(f.get());
    l->SetParent(f.get());
    l->GetItems()->Add(u"Значение1");
    l->GetItems()->Add(u"Значение2");
    int checks = 0;
    l->OnClickCheck.Bind([&](TObject*) { ++checks; });
    EXPECT_FALSE(l->GetChecked(0));
    l->SetChecked(1, true);
    EXPECT_TRUE(l->GetChecked(1));
    EXPECT_EQ(checks, 0);
    l->GetItems()->SetStrings(0, u"Давление");
    EXPECT_EQ(l->GetItems()->GetStrings(0), u"Давление");
    auto* list = static_cast<QListWidget*>(l->Widget());
    l->SetItemIndex(1);
    int indexSeen = -1;
    l->OnClickCheck.Bind([&](TObject*) {
        ++checks;
        indexSeen = l->GetItemIndex();
    });
    // The user's click on a mark selects its item before the handler runs.
    list->item(0)->setCheckState(Qt::Checked);
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(indexSeen, 0);
    // Items that change places take their marks, enabled states and objects along, silently; the
    // chosen row stays.
    l->SetChecked(1, false);
    l->SetItemEnabled(1, false);
    l->GetItems()->SetObjects(1, l);
    l->GetItems()->Exchange(0, 1);
    EXPECT_EQ(l->GetItems()->GetStrings(0), u"Значение2");
    EXPECT_EQ(std::make_tuple(l->GetChecked(0), l->GetChecked(1)), std::make_tuple(false, true));
    EXPECT_EQ(std::make_tuple(l->GetItemEnabled(0), l->GetItemEnabled(1)), std::make_tuple(false, true));
    EXPECT_EQ(l->GetItems()->GetObjects(0), l);
    EXPECT_EQ(l->GetItemIndex(), 0);
    EXPECT_EQ(checks, 1);
    l->GetItems()->Clear();
    EXPECT_EQ(l->GetItems()->GetCount(), 0);
    EXPECT_THROW(l->GetChecked(0), EListError);
}

} // namespace

namespace {

class StdCtrlsMoreTest : public GuiTest {};

TEST_F(StdCtrlsMoreTest, TypingIntoAnEditableComboChangesIt) {
    TestForm f;
    auto* c = Create<TComboBox>(f.get());
    c->SetParent(f.get());
    c->SetMaxLength(3);
    int changes = 0;
    c->OnChange.Bind([&](TObject*) { ++changes; });
    f->Show();
    QApplication::setActiveWindow(f->Widget());
    c->SetFocus();
    ASSERT_TRUE(WaitFor([&] { return c->Focused(); }));
    QWidget* edit = static_cast<QComboBox*>(c->Widget())->lineEdit();
    for (const char* k : {"1", "2", "3", "4"})
        GuiTest::Key(edit, Qt::Key_1 + (k[0] - '1'), Qt::NoModifier, QString::fromLatin1(k));
    EXPECT_EQ(c->GetText(), u"123");
    EXPECT_EQ(changes, 3);
    // Text from code is no change of the user's.
    c->SetText(u"77");
    EXPECT_EQ(changes, 3);
}

TEST_F(StdCtrlsMoreTest, AMemoTakesTenThousandLinesInOneUpdate) {
    TestForm f;
    auto* m = Create<TMemo>(f.get());
    m->SetParent(f.get());
    f->Show();
    TStringList lines;
    for (int i = 0; i < 10000; ++i) lines.Add(u" 05 10 12 30 " + IntToStr(i) + u" ");
    m->GetLines()->BeginUpdate();
    m->GetLines()->AddStrings(&lines);
    m->GetLines()->EndUpdate();
    EXPECT_EQ(m->GetLines()->GetCount(), 10000);
    EXPECT_EQ(m->GetLines()->GetStrings(9999), u" 05 10 12 30 9999 ");
}

TEST_F(StdCtrlsMoreTest, ARightJustifiedLabelKeepsItsRightEdge) {
    TestForm f;
    auto* l = Create<TLabel>(f.get());
    l->SetParent(f.get());
    l->SetAlignment(taRightJustify);
    l->SetBounds(100, 10, 50, 13);
    l->SetCaption(u"x");
    const int right = l->GetLeft() + l->GetWidth();
    l->SetCaption(u"гораздо длиннее");
    EXPECT_EQ(l->GetLeft() + l->GetWidth(), right);
    EXPECT_LT(l->GetLeft(), 100);
}

TEST_F(StdCtrlsTest, AScrollBarKeepsItsPositionInRangeAndReportsEveryMove) {
    TestForm f;
    auto* bar = Create<TScrollBar>(f.get());
    bar->SetParent(f.get());
    std::vector<int> moves;
    bar->OnChange.Bind([&](TObject*) { moves.push_back(bar->GetPosition()); });
    bar->SetParams(150, -255, 255);
    bar->SetParams(150, -100, 100); // the range shrinks under the position
    bar->SetMax(100);               // no move: no event
    EXPECT_EQ(moves, (std::vector<int>{150, 100}));
    EXPECT_THROW(bar->SetParams(0, 10, 5), EInvalidOperation);
    EXPECT_EQ(bar->GetMin(), -100);

    // The user's move reaches the control as a change of position.
    static_cast<QScrollBar*>(bar->Widget())->setValue(-20);
    EXPECT_EQ(bar->GetPosition(), -20);
    EXPECT_EQ(moves.back(), -20);
}

} // namespace

TEST_F(StdCtrlsTest, ADigitsOnlyEditTakesDigitsAndControlKeysOnly) {
    TestForm f;
    auto* e = Create<TEdit>(f.get());
    e->SetParent(f.get());
    e->SetNumbersOnly(true);
    for (const char* k : {"6", "a", "-", ",", "0"})
        GuiTest::Key(e->Widget(), Qt::Key_A, Qt::NoModifier, QString::fromLatin1(k));
    EXPECT_EQ(e->GetText(), u"60");
    GuiTest::Key(e->Widget(), Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    EXPECT_EQ(e->GetText(), u"6");
    // Code may still put anything there.
    e->SetText(u"abc");
    EXPECT_EQ(e->GetText(), u"abc");
}
