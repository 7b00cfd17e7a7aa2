#include "platform/gui/actnlist.h"

#include "platform/gui/comctrls.h"
#include "platform/gui/menus.h"
#include "platform/gui/stdctrls.h"
#include "tests/platform/gui/guitest.h"

#include <QAction>

namespace {

class ActionsTest : public GuiTest {};

struct ActionForm : TestForm {
    TActionList* list = Create<TActionList>(get());
    TAction* action = Create<TAction>(get());
    TButton* button = Create<TButton>(get());
    TToolBar* bar = Create<TToolBar>(get());
    TToolButton* tool = Create<TToolButton>(get());
    TMenuItem* item = Create<TMenuItem>(get());
    TMainMenu* menu = Create<TMainMenu>(get());
    int runs = 0;
    ActionForm() {
        action->SetActionList(list);
        action->SetCaption(u"Читать архив");
        action->SetHint(u"Читать архив устройства");
        action->SetShortCut(ShortCut('R', {ssCtrl}));
        action->SetImageIndex(0);
        action->OnExecute.Bind([this](TObject*) { ++runs; });
        button->SetParent(get());
        bar->SetParent(get());
        tool->SetParent(bar);
        menu->GetItems()->Add(item);
        button->SetAction(action);
        tool->SetAction(action);
        item->SetAction(action);
    }
};

TEST_F(ActionsTest, ClientsTakeTheActionsValues) {
    ActionForm f;
    EXPECT_EQ(f.button->GetCaption(), u"Читать архив");
    EXPECT_EQ(f.button->GetHint(), u"Читать архив устройства");
    EXPECT_EQ(f.item->GetCaption(), u"Читать архив");
    EXPECT_EQ(f.item->GetShortCut(), ShortCut('R', {ssCtrl}));
    EXPECT_EQ(f.item->Action()->text(), QStringLiteral("Читать архив\tCtrl+R"));
    EXPECT_EQ(f.tool->GetImageIndex(), 0);
    EXPECT_EQ(f.tool->GetHint(), u"Читать архив устройства");
}

TEST_F(ActionsTest, EnabledFlowsToEveryClient) {
    ActionForm f;
    f.action->SetEnabled(false);
    EXPECT_FALSE(f.button->GetEnabled());
    EXPECT_FALSE(f.tool->GetEnabled());
    EXPECT_FALSE(f.item->GetEnabled());
    EXPECT_FALSE(f.item->Action()->isEnabled());
    f.action->SetEnabled(true);
    EXPECT_TRUE(f.button->GetEnabled());
    EXPECT_TRUE(f.item->GetEnabled());
}

TEST_F(ActionsTest, ACaptionSetOnTheClientStaysLocal) {
    ActionForm f;
    f.button->SetCaption(u"Прервать");
    f.action->SetCaption(u"Другое");
    EXPECT_EQ(f.button->GetCaption(), u"Прервать");
    EXPECT_EQ(f.item->GetCaption(), u"Другое");
    EXPECT_FALSE(f.button->IsCaptionStored() == false);
    // Back to the action's caption, the link holds again.
    f.button->SetCaption(u"Другое");
    f.action->SetCaption(u"Третье");
    EXPECT_EQ(f.button->GetCaption(), u"Третье");
    EXPECT_FALSE(f.button->IsCaptionStored());
}

TEST_F(ActionsTest, ClicksRunTheActionUnlessTheClientHasItsOwnHandler) {
    ActionForm f;
    f.button->Click();
    f.item->Click();
    f.tool->Click();
    EXPECT_EQ(f.runs, 3);
    int own = 0;
    f.button->OnClick.Bind([&](TObject*) { ++own; });
    f.button->Click();
    EXPECT_EQ(own, 1);
    EXPECT_EQ(f.runs, 3);
    // A disabled action does not run.
    f.action->SetEnabled(false);
    f.item->Click();
    EXPECT_EQ(f.runs, 3);
    EXPECT_TRUE(f.list->IsShortCut(ShortCut('R', {ssCtrl})) == false);
}

TEST_F(ActionsTest, FreeingTheActionUnlinksItsClients) {
    ActionForm f;
    f.action->Free();
    EXPECT_EQ(f.button->GetAction(), nullptr);
    EXPECT_EQ(f.item->GetAction(), nullptr);
    EXPECT_EQ(f.tool->GetAction(), nullptr);
    EXPECT_EQ(f.list->GetActionCount(), 0);
    EXPECT_EQ(f.button->GetCaption(), u"Читать архив");
}

TEST_F(ActionsTest, TheListFindsActionsByShortcut) {
    ActionForm f;
    EXPECT_TRUE(f.list->IsShortCut(ShortCut('R', {ssCtrl})));
    EXPECT_FALSE(f.list->IsShortCut(ShortCut('R', {})));
    EXPECT_EQ(f.runs, 1);
    EXPECT_EQ(f.action->GetIndex(), 0);
    EXPECT_EQ(f.action->GetParentComponent(), f.list);
}

} // namespace
