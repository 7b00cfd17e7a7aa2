// Keys typed through a real X server reach shortcuts, the focused button and
// the default and cancel buttons, whichever control has the focus.
#include "platform/gui/actnlist.h"
#include "platform/gui/buttons.h"
#include "platform/gui/menus.h"
#include "platform/gui/stdctrls.h"
#include "tests/platform/gui/x11/xserver.h"

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
