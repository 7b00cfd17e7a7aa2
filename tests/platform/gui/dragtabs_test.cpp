// Dragging inside the program, the tab control and the input query: when a drag starts,
// who is asked and who gets the drop; tabs that change from code quietly and from the user
// with events; the input query's answer.
#include "platform/gui/comctrls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/extctrls.h"
#include "tests/platform/gui/guitest.h"

namespace {

class DragTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        f->SetBounds(50, 50, 400, 200);
        source = Create<TPanel>(f.get());
        source->SetParent(f.get());
        source->SetBounds(0, 0, 150, 150);
        target = Create<TPanel>(f.get());
        target->SetParent(f.get());
        target->SetBounds(200, 0, 150, 150);
        f->Show();
        source->OnMouseDown = TMouseEvent(
            [this](TObject*, TMouseButton, TShiftState, int, int) { source->BeginDrag(false, 5); });
        source->OnClick.Bind([this](TObject*) { ++clicks; });
    }
    // A point of the target in the source's client coordinates.
    TPoint OverTarget(int X, int Y) {
        const TPoint screen = target->ClientToScreen(TPoint(X, Y));
        return source->ScreenToClient(screen);
    }

    TestForm f;
    TPanel* source = nullptr;
    TPanel* target = nullptr;
    int clicks = 0;
};

TEST_F(DragTest, AMoveShorterThanTheThresholdIsAClick) {
    source->HandleMouseDown(mbLeft, {}, 10, 10, false);
    source->HandleMouseMove({}, 14, 13);
    EXPECT_FALSE(source->Dragging());
    source->HandleMouseUp(mbLeft, {}, 14, 13);
    EXPECT_EQ(clicks, 1);
}

TEST_F(DragTest, ADropReachesTheTargetThatAcceptsIt) {
    std::vector<TDragState> states;
    TObject* droppedFrom = nullptr;
    TPoint droppedAt;
    target->OnDragOver = TDragOverEvent([&](TObject*, TObject* s, int, int, TDragState st, bool& accept) {
        states.push_back(st);
        accept = s == source;
    });
    target->OnDragDrop = TDragDropEvent([&](TObject*, TObject* s, int x, int y) {
        droppedFrom = s;
        droppedAt = TPoint(x, y);
    });
    source->HandleMouseDown(mbLeft, {}, 10, 10, false);
    source->HandleMouseMove({}, 30, 10);
    EXPECT_TRUE(source->Dragging());
    const TPoint over = OverTarget(20, 30);
    source->HandleMouseMove({}, over.X, over.Y);
    source->HandleMouseMove({}, over.X + 1, over.Y);
    source->HandleMouseUp(mbLeft, {}, over.X + 1, over.Y);
    EXPECT_FALSE(source->Dragging());
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(droppedFrom, source);
    EXPECT_EQ(droppedAt, TPoint(21, 30));
    ASSERT_GE(states.size(), 2u);
    EXPECT_EQ(states.front(), dsDragEnter);
    EXPECT_EQ(states[1], dsDragMove);
}

TEST_F(DragTest, NoDropWhereNobodyAcceptsOrWhenTheDragIsCancelled) {
    int drops = 0;
    target->OnDragDrop = TDragDropEvent([&](TObject*, TObject*, int, int) { ++drops; });
    // Without OnDragOver the target takes nothing.
    source->HandleMouseDown(mbLeft, {}, 10, 10, false);
    TPoint over = OverTarget(20, 30);
    source->HandleMouseMove({}, over.X, over.Y);
    source->HandleMouseUp(mbLeft, {}, over.X, over.Y);
    EXPECT_EQ(drops, 0);
    target->OnDragOver = TDragOverEvent([](TObject*, TObject*, int, int, TDragState, bool&) {});
    source->HandleMouseDown(mbLeft, {}, 10, 10, false);
    source->HandleMouseMove({}, over.X, over.Y);
    source->EndDrag(false);
    EXPECT_FALSE(source->Dragging());
    source->HandleMouseUp(mbLeft, {}, over.X, over.Y);
    EXPECT_EQ(drops, 0);
}

TEST_F(DragTest, ASourceFreedWhileDraggingEndsTheDrag) {
    source->HandleMouseDown(mbLeft, {}, 10, 10, false);
    source->HandleMouseMove({}, 40, 10);
    ASSERT_TRUE(source->Dragging());
    source->Free();
    source = nullptr;
    target->HandleMouseMove({}, 5, 5); // nothing left over to act on
    EXPECT_FALSE(target->Dragging());
}

// --- The tab control -------------------------------------------------------------------

class TabControlTest : public GuiTest {};

TEST_F(TabControlTest, TabsFromCodeFireNothingAndTheUsersChoiceFiresChange) {
    TestForm f;
    auto* tabs = Create<TTabControl>(f.get());
    tabs->SetParent(f.get());
    tabs->SetBounds(0, 0, 300, 200);
    int changes = 0;
    tabs->OnChange.Bind([&](TObject*) { ++changes; });
    EXPECT_EQ(tabs->GetTabIndex(), -1);
    tabs->GetTabs()->Add(u"Серии");
    tabs->GetTabs()->Add(u"Functions");
    EXPECT_EQ(tabs->GetTabIndex(), 0);
    tabs->SetTabIndex(1);
    EXPECT_EQ(changes, 0);
    tabs->TabClicked(0);
    EXPECT_EQ(tabs->GetTabIndex(), 0);
    EXPECT_EQ(changes, 1);
    tabs->OnChanging = TTabChangingEvent([](TObject*, bool& allow) { allow = false; });
    tabs->TabClicked(1);
    EXPECT_EQ(tabs->GetTabIndex(), 0);
    EXPECT_EQ(changes, 1);
    // Exchanged tabs keep the index; deleting past it pulls it back.
    tabs->GetTabs()->Exchange(0, 1);
    EXPECT_EQ(tabs->GetTabs()->GetStrings(0), u"Functions");
    tabs->SetTabIndex(1);
    tabs->GetTabs()->Delete(1);
    EXPECT_EQ(tabs->GetTabIndex(), 0);
}

TEST_F(TabControlTest, AnAlignedChildFillsTheAreaBelowTheTabs) {
    TestForm f;
    auto* tabs = Create<TTabControl>(f.get());
    tabs->SetParent(f.get());
    tabs->SetBounds(0, 0, 300, 200);
    tabs->GetTabs()->Add(u"Standard");
    auto* inner = Create<TPanel>(f.get());
    inner->SetParent(tabs);
    inner->SetAlign(alClient);
    const TRect area = tabs->GetDisplayRect();
    EXPECT_GT(area.Top, 10);
    EXPECT_EQ(inner->GetTop(), area.Top);
    EXPECT_EQ(inner->GetLeft(), area.Left);
    EXPECT_EQ(inner->GetWidth(), area.Right - area.Left);
    EXPECT_EQ(inner->GetHeight(), area.Bottom - area.Top);
}

// --- The input query ---------------------------------------------------------------------

class InputQueryTest : public GuiTest {};

TEST_F(InputQueryTest, OkGivesTheTypedTextAndCancelKeepsTheValue) {
    answer = [](const TDialogRequest& r) {
        TDialogAnswer a;
        a.Result = mrOk;
        a.Value = r.Value + u" 2";
        return a;
    };
    String value = u"Серия";
    EXPECT_TRUE(InputQuery(u"Caption", u"Prompt:", value));
    EXPECT_EQ(value, u"Серия 2");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Kind, TDialogKind::InputQuery);
    EXPECT_EQ(requests[0].Caption, u"Caption");
    EXPECT_EQ(requests[0].Text, u"Prompt:");
    answer = nullptr;
    EXPECT_FALSE(InputQuery(u"Caption", u"Prompt:", value));
    EXPECT_EQ(value, u"Серия 2");
}

} // namespace
