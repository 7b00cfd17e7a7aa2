// Keys typed through a real X server reach shortcuts, the focused button and
// the default and cancel buttons, whichever control has the focus.
#include "platform/gui/actnlist.h"
#include "platform/gui/buttons.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/menus.h"
#include "platform/gui/stdctrls.h"
#include "tests/platform/gui/x11/xserver.h"

#include <QRadioButton>

namespace {

struct Window : TestForm {
    TEdit* edit = Create<TEdit>(get());
    TButton* ok = Create<TButton>(get());
    TButton* cancel = Create<TButton>(get());
    TBitBtn* other = Create<TBitBtn>(get());
    TActionList* actions = Create<TActionList>(get());
    TAction* read = Create<TAction>(get());
    TMainMenu* menu = Create<TMainMenu>(get());
    TMenuItem* file = Create<TMenuItem>(get());
    TMenuItem* help = Create<TMenuItem>(get());
    std::string log;

    Window() {
        form->SetBounds(100, 100, 400, 200);
        int top = 10;
        for (TWinControl* c : std::initializer_list<TWinControl*>{edit, ok, cancel, other}) {
            c->SetParent(get());
            c->SetBounds(10, top, 150, 25);
            top += 35;
        }
        ok->SetCaption(u"OK");
        ok->SetDefault(true);
        cancel->SetCaption(u"Отмена");
        cancel->SetCancel(true);
        other->SetCaption(u"Другая");
        ok->OnClick.Bind([this](TObject*) { log += "ok "; });
        cancel->OnClick.Bind([this](TObject*) { log += "cancel "; });
        other->OnClick.Bind([this](TObject*) { log += "other "; });
        read->SetActionList(actions);
        read->SetShortCut(ShortCut('R', {ssCtrl}));
        read->OnExecute.Bind([this](TObject*) { log += "read "; });
        file->SetCaption(u"Файл");
        menu->GetItems()->Add(file);
        help->SetCaption(u"Справка");
        help->SetShortCut(ShortCut(VK_F1, {}));
        help->OnClick.Bind([this](TObject*) { log += "help "; });
        file->Add(help);
        form->SetMenu(menu);
    }
};

class XKeys : public GuiTest {};

TEST_F(XKeys, ShortcutsActOnceWhereverTheFocusIs) {
    Window w;
    ASSERT_TRUE(xserver::Activate(w->Widget()));
    for (TWinControl* c : std::initializer_list<TWinControl*>{w.edit, w.ok, w.other}) {
        ASSERT_TRUE(xserver::Focus(c->Widget()));
        w.log.clear();
        ASSERT_TRUE(xserver::Type("ctrl+r F1"));
        EXPECT_EQ(w.log, "read help ") << StringToAnsi(c->GetCaption());
    }
    // The edit took none of the keys as text.
    EXPECT_EQ(w.edit->GetText(), u"");
}

TEST_F(XKeys, ReturnPressesTheFocusedButtonElseTheDefaultOne) {
    Window w;
    ASSERT_TRUE(xserver::Activate(w->Widget()));
    ASSERT_TRUE(xserver::Focus(w.edit->Widget()));
    ASSERT_TRUE(xserver::Type("Return Escape"));
    EXPECT_EQ(w.log, "ok cancel ");
    w.log.clear();
    // A focused button is pressed by Return as by Space, and the default
    // button is not.
    ASSERT_TRUE(xserver::Focus(w.other->Widget()));
    ASSERT_TRUE(xserver::Type("Return space"));
    EXPECT_EQ(w.log, "other other ");
    w.log.clear();
    ASSERT_TRUE(xserver::Focus(w.cancel->Widget()));
    ASSERT_TRUE(xserver::Type("Return"));
    EXPECT_EQ(w.log, "cancel ");
}

TEST_F(XKeys, PlainKeysStillReachTheFocusedControl) {
    Window w;
    ASSERT_TRUE(xserver::Activate(w->Widget()));
    ASSERT_TRUE(xserver::Focus(w.edit->Widget()));
    ASSERT_TRUE(xserver::Type("a b shift+c"));
    EXPECT_EQ(w.edit->GetText(), u"abC");
    EXPECT_EQ(w.log, "");
}

// Tab goes from tab stop to tab stop: a panel made one takes the focus, a button that is none is
// passed over, and Shift+Tab goes back the same way.
TEST_F(XKeys, TabVisitsTheTabStopsOnly) {
    Window w;
    auto* panel = Create<TPanel>(w.get());
    panel->SetParent(w.get());
    panel->SetBounds(200, 10, 100, 60);
    panel->SetTabStop(true);
    w.cancel->SetTabStop(false);
    ASSERT_TRUE(xserver::Activate(w->Widget()));
    ASSERT_TRUE(xserver::Focus(w.ok->Widget()));
    ASSERT_TRUE(xserver::Type("Tab"));
    EXPECT_TRUE(w.other->Focused());
    ASSERT_TRUE(xserver::Type("Tab"));
    EXPECT_TRUE(panel->Focused());
    ASSERT_TRUE(xserver::Type("shift+Tab shift+Tab"));
    EXPECT_TRUE(w.ok->Focused());

    // The tab order, not the order the controls were made in, leads Tab, through a container's own
    // children before the container's next sibling; a place past the end is the last one.
    auto* first = Create<TEdit>(w.get());
    auto* second = Create<TEdit>(w.get());
    for (TEdit* e : {first, second}) {
        e->SetParent(panel);
        e->SetBounds(5, 5, 40, 25);
    }
    second->SetTabOrder(0);
    panel->SetTabOrder(1);
    w.other->SetTabOrder(0);
    w.ok->SetTabOrder(99);
    EXPECT_EQ(w.ok->GetTabOrder(), 4);
    EXPECT_EQ(w.cancel->GetTabOrder(), 3);
    const std::vector<const TWinControl*> order{w.edit, panel, second, first, w.ok, w.other, w.edit};
    ASSERT_TRUE(xserver::Focus(w.edit->Widget()));
    xserver::ExpectTabWalk(order);
}

// Tab enters a radio group with nothing checked at its first enabled button; the arrows go round
// a group, from its last button to its first, past a disabled one.
TEST_F(XKeys, TabEntersAnUncheckedRadioGroupAtItsFirstEnabledButtonAndTheArrowsGoRoundPastADisabledOne) {
    Window w;
    auto* group = Create<TRadioGroup>(w.get());
    group->SetParent(w.get());
    group->SetBounds(200, 10, 150, 100);
    for (const char16_t* s : {u"Слева", u"Справа", u"Сверху"}) group->GetItems()->Add(s);
    group->ButtonAt(2)->setEnabled(false);
    ASSERT_TRUE(xserver::Activate(w->Widget()));
    ASSERT_TRUE(xserver::Focus(w.other->Widget()));
    ASSERT_TRUE(xserver::Type("Tab"));
    EXPECT_TRUE(group->ButtonAt(0)->hasFocus());
    group->ButtonAt(0)->setEnabled(false);
    ASSERT_TRUE(xserver::Focus(w.other->Widget()));
    ASSERT_TRUE(xserver::Type("Tab"));
    EXPECT_TRUE(group->ButtonAt(1)->hasFocus());
    group->ButtonAt(0)->setEnabled(true);
    group->SetItemIndex(1);
    ASSERT_TRUE(xserver::Focus(group->ButtonAt(1)));
    ASSERT_TRUE(xserver::Type("Down"));
    EXPECT_EQ(group->GetItemIndex(), 0);
    EXPECT_TRUE(group->ButtonAt(0)->hasFocus());
    ASSERT_TRUE(xserver::Type("Left"));
    EXPECT_EQ(group->GetItemIndex(), 1);
}

// Alt with a label's marked letter focuses the label's focus control, and not while that
// control is disabled; Alt with a group box's letter focuses the box's checked radio button.
TEST_F(XKeys, ALabelsAndAGroupBoxsAccessKeysFocusTheirControls) {
    Window w;
    auto* label = Create<TLabel>(w.get());
    label->SetParent(w.get());
    label->SetBounds(200, 10, 80, 17);
    label->SetCaption(u"&Width:");
    label->SetFocusControl(w.edit);
    auto* group = Create<TRadioGroup>(w.get());
    group->SetParent(w.get());
    group->SetBounds(200, 40, 150, 100);
    group->SetCaption(u"Treat n&ulls:");
    for (const char16_t* s : {u"Dont Paint", u"Skip", u"Ignore"}) group->GetItems()->Add(s);
    group->SetItemIndex(1);
    w->Show();
    ASSERT_TRUE(xserver::Activate(w->Widget()));
    ASSERT_TRUE(xserver::Focus(w.ok->Widget()));
    ASSERT_TRUE(xserver::Type("alt+w"));
    EXPECT_TRUE(w.edit->Focused());
    ASSERT_TRUE(xserver::Type("alt+u"));
    EXPECT_TRUE(group->ButtonAt(1)->hasFocus());
    EXPECT_EQ(w.edit->GetText(), u"");
    EXPECT_EQ(w.log, "");
    w.edit->SetEnabled(false);
    ASSERT_TRUE(xserver::Type("alt+w"));
    EXPECT_TRUE(group->ButtonAt(1)->hasFocus());
    // The label of a disabled control leaves its letter to another control that has it.
    auto* all = Create<TCheckBox>(w.get());
    all->SetParent(w.get());
    all->SetBounds(200, 150, 150, 20);
    all->SetCaption(u"Dra&w All");
    for (const bool ticked : {true, false, true}) {
        ASSERT_TRUE(xserver::Type("alt+w"));
        EXPECT_EQ(all->GetChecked(), ticked);
    }
    EXPECT_TRUE(requests.empty());
}

// A focused scroll bar's arrow keys move its box the way they point, whichever way it lies, and
// the box shows the focus.
TEST_F(XKeys, AScrollBarsArrowKeysMoveItsBoxTheWayTheyPoint) {
    Window w;
    auto* bar = Create<TScrollBar>(w.get());
    bar->SetParent(w.get());
    bar->SetBounds(200, 10, 150, 17);
    bar->SetParams(30, 0, 100);
    w->Show();
    ASSERT_TRUE(xserver::Activate(w->Widget()));
    ASSERT_TRUE(xserver::Focus(w.other->Widget()));
    const probe::Picture away = xserver::Picture(*bar);
    ASSERT_TRUE(xserver::Type("Tab")); // a tab stop as any other control
    ASSERT_TRUE(bar->Focused());
    const probe::Picture focused = xserver::Picture(*bar);
    xserver::Keep(focused, "scroll-bar-focused");
    EXPECT_GT(DifferingPixels(away, focused), 10);
    const struct {
        const char* keys;
        int position;
    } steps[] = {{"Right", 31}, {"Left Left", 29}, {"End", 100}, {"Home", 0}, {"Next", 1}};
    for (const auto& step : steps) {
        ASSERT_TRUE(xserver::Type(step.keys));
        EXPECT_EQ(bar->GetPosition(), step.position) << step.keys;
    }
    bar->SetKind(sbVertical);
    ASSERT_TRUE(xserver::Type("Down Down Up"));
    EXPECT_EQ(bar->GetPosition(), 2);
    EXPECT_EQ(w.log, "");
    // A click on it takes the focus as well.
    ASSERT_TRUE(xserver::Focus(w.ok->Widget()));
    ASSERT_TRUE(xserver::Click(*bar, TPoint(8, bar->GetHeight() - 8)));
    EXPECT_TRUE(bar->Focused());
}

// Up and Down typed in an up-down's edit step it as its arrows do, wrapping where it wraps.
// A list with nothing chosen chooses nothing as it takes the focus; the first Down chooses
// its first item, as a click does, a one-item list's too.
TEST_F(XKeys, TheFirstDownInAListWithNothingChosenChoosesTheFirstItem) {
    for (const int items : {1, 3}) {
        Window w;
        auto* list = Create<TListBox>(w.get());
        list->SetParent(w.get());
        list->SetBounds(200, 10, 150, 100);
        for (int i = 0; i < items; ++i) list->GetItems()->Add(u"Прибор " + IntToStr(i + 1));
        list->OnClick.Bind([&](TObject*) { w.log += "click " + std::to_string(list->GetItemIndex()) + " "; });
        ASSERT_TRUE(xserver::Activate(w->Widget()));
        ASSERT_TRUE(xserver::Focus(list->Widget()));
        EXPECT_EQ(list->GetItemIndex(), -1) << items;
        ASSERT_TRUE(xserver::Type("Down"));
        EXPECT_EQ(w.log, "click 0 ") << items;
        EXPECT_TRUE(list->GetSelected(0)) << items;
    }
}

TEST_F(XKeys, TheArrowKeysInAnUpDownsEditStepItAsItsArrowsDo) {
    Window w;
    auto* upDown = Create<TUpDown>(w.get());
    upDown->SetMax(360);
    upDown->SetIncrement(5);
    upDown->SetWrap(true);
    upDown->SetAssociate(w.edit);
    std::string clicks;
    upDown->OnClick = TUDClickEvent([&](TObject*, TUDBtnType b) { clicks += b == btNext ? "up " : "down "; });
    w->Show();
    ASSERT_TRUE(xserver::Activate(w->Widget()));
    ASSERT_TRUE(xserver::Focus(w.edit->Widget()));
    ASSERT_TRUE(xserver::Type("Up Up Down Down Down"));
    EXPECT_EQ(w.edit->GetText(), u"360");
    EXPECT_EQ(clicks, "up up down down down ");
    EXPECT_EQ(w.log, "");
}

// A track bar's keys and clicks, as the class library's bar takes them whichever way it stands:
// Left, Up and Page Up towards Min, Right, Down and Page Down towards Max, and a click anywhere
// beside the thumb, over the tick marks too, a page towards it; Min is at the left or the top.
TEST_F(XKeys, ATrackBarsKeysAndClicksBesideItsThumbMoveIt) {
    const struct {
        const char* keys; // else a left click at
        TPoint at;        // on the horizontal bar, taken across its diagonal on the vertical one
        int position;
    } rows[] = {{"Right Right Down", {}, 3}, {"Left Up Up", {}, -3}, {"Page_Down", {}, 10},
                {"Page_Up", {}, -10},        {"End", {}, 75},        {"Home", {}, -75},
                {nullptr, {140, 40}, 10},    {nullptr, {5, 2}, -10}};
    for (const TTrackBarOrientation orientation : {trHorizontal, trVertical}) {
        Window w;
        auto* bar = Create<TTrackBar>(w.get());
        bar->SetParent(w.get());
        bar->SetBounds(170, 10, 150, 45);
        bar->SetOrientation(orientation);
        bar->SetMin(-75);
        bar->SetMax(75);
        bar->SetPageSize(10);
        w->Show();
        ASSERT_TRUE(xserver::Activate(w->Widget()));
        ASSERT_TRUE(xserver::Focus(bar->Widget()));
        for (const auto& row : rows) {
            bar->SetPosition(0);
            const TPoint at = orientation == trHorizontal ? row.at : TPoint(row.at.Y, row.at.X);
            ASSERT_TRUE(row.keys ? xserver::Type(row.keys) : xserver::Click(*bar, at));
            WaitFor([&] { return bar->GetPosition() == row.position; });
            EXPECT_EQ(bar->GetPosition(), row.position)
                << (row.keys ? row.keys : "click") << " " << at.X << "," << at.Y << " " << int(orientation);
        }
    }
}

} // namespace

namespace {

// An operator who types Russian has the Russian layout active: the R key
// gives a Cyrillic letter, and Ctrl with it is still Ctrl+R.
TEST_F(XKeys, ShortcutsActUnderTheRussianLayout) {
    Window w;
    ASSERT_TRUE(xserver::SetLayout("ru"));
    ASSERT_TRUE(xserver::Activate(w->Widget()));
    ASSERT_TRUE(xserver::Focus(w.edit->Widget()));
    ASSERT_TRUE(xserver::Type("Cyrillic_ve ctrl+Cyrillic_ka F1"));
    EXPECT_EQ(w.log, "read help ");
    // The layout does reach the edit: the plain key typed its letter.
    EXPECT_EQ(w.edit->GetText(), u"в");
    EXPECT_TRUE(xserver::SetLayout("us"));
}

} // namespace

namespace {

// A handler that fails has its exception shown once, and its key does nothing more: the edit
// takes no character its key-press handler refused, a button no space its key-down handler did.
TEST_F(XKeys, AKeyWhoseHandlerFailsIsShownOnceAndGoesNoFurther) {
    Window w;
    w.edit->OnKeyPress = TKeyPressEvent([](TObject*, Char& Key) {
        if (Key == u'x') throw Exception(u"Буква x не годится");
    });
    w.other->OnKeyDown = TKeyEvent([](TObject*, Word& Key, TShiftState) {
        if (Key == VK_SPACE) throw Exception(u"Пробел не годится");
    });
    ASSERT_TRUE(xserver::Activate(w->Widget()));
    ASSERT_TRUE(xserver::Focus(w.edit->Widget()));
    ASSERT_TRUE(xserver::Type("x a"));
    EXPECT_EQ(w.edit->GetText(), u"a");
    ASSERT_TRUE(xserver::Focus(w.other->Widget()));
    ASSERT_TRUE(xserver::Type("space"));
    EXPECT_EQ(w.log, "");
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].Text, u"Буква x не годится.");
    EXPECT_EQ(requests[1].Text, u"Пробел не годится.");
}

// A key whose handler shows a modal form shows it once, however the form is closed, and the
// next key reaches the control as usual.
TEST_F(XKeys, AKeyThatShowsAModalFormShowsItOnce) {
    Window w;
    SetDialogResponder({}); // the form is shown for real and answered by keys
    int shown = 0;
    w->SetKeyPreview(true);
    w->OnKeyDown = TKeyEvent([&](TObject*, Word& Key, TShiftState) {
        if (Key != VK_F1 + 4) return;
        ++shown;
        TestForm box;
        box->SetBounds(200, 200, 240, 100);
        auto* ok = Create<TButton>(box.get());
        ok->SetParent(box.get());
        ok->SetCaption(u"OK");
        ok->SetDefault(true);
        ok->SetModalResult(mrOk);
        box->ShowModal();
    });
    ASSERT_TRUE(xserver::Activate(w->Widget()));
    for (const char* closing : {"Return", "space"}) {
        ASSERT_TRUE(xserver::Focus(w.edit->Widget())) << closing;
        shown = 0;
        w.edit->SetText({});
        xserver::ModalBoxes boxes([&](int) { return std::string(closing); });
        ASSERT_TRUE(xserver::Type("F5"));
        ASSERT_TRUE(boxes.WaitUntilClosed()) << closing;
        EXPECT_EQ(boxes.Seen().size(), 1u) << closing;
        EXPECT_EQ(shown, 1) << closing;
        // Without a window manager nobody gives the window the focus back.
        ASSERT_TRUE(xserver::Activate(w->Widget()));
        ASSERT_TRUE(xserver::Type("a"));
        EXPECT_EQ(w.edit->GetText(), u"a") << closing;
    }
}

} // namespace
