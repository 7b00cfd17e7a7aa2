// A tab sheet lent to a plain panel and given back to its page control, and a check list
// whose marks (grayed ones too) survive being a drop target and answer the user's clicks.
#include "platform/gui/checklst.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "tests/platform/gui/guitest.h"

#include <QListWidget>

namespace {

class LentSheetTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        f->SetBounds(40, 40, 500, 300);
        pages = Create<TPageControl>(f.get());
        pages->SetParent(f.get());
        pages->SetBounds(0, 0, 250, 300);
        for (TTabSheet** s : {&first, &second}) {
            *s = Create<TTabSheet>(f.get());
            (*s)->SetPageControl(pages);
        }
        first->SetCaption(u"Серии");
        second->SetCaption(u"Оси");
        label = Create<TLabel>(f.get());
        label->SetParent(second);
        label->SetCaption(u"Левая ось");
        panel = Create<TPanel>(f.get());
        panel->SetParent(f.get());
        panel->SetBounds(260, 0, 240, 300);
        f->Show();
    }

    TestForm f;
    TPageControl* pages = nullptr;
    TTabSheet *first = nullptr, *second = nullptr;
    TLabel* label = nullptr;
    TPanel* panel = nullptr;
};

TEST_F(LentSheetTest, ASheetOnAPanelShowsItsContentsAndGoesBackAsAPage) {
    // The sheet that is not the active page goes out, so the stack had hidden it.
    second->SetParent(panel);
    second->SetAlign(alClient);
    second->SetVisible(true);
    EXPECT_EQ(pages->GetPageCount(), 1);
    EXPECT_EQ(second->GetPageControl(), nullptr);
    EXPECT_EQ(second->GetPageIndex(), -1);
    EXPECT_TRUE(second->GetShowing());
    EXPECT_TRUE(second->Widget()->isVisible());
    EXPECT_TRUE(label->Widget()->isVisible());
    EXPECT_EQ(second->Widget()->parentWidget(), panel->Widget());
    EXPECT_EQ(second->GetBoundsRect(), panel->AdjustClientRect());

    // The active page goes out too: the page control falls back on what it has left.
    first->SetParent(panel);
    EXPECT_EQ(pages->GetPageCount(), 0);
    first->SetParent(nullptr);
    EXPECT_FALSE(first->GetShowing());

    // Back home, each is a page again, in the order given back, and shown only when active.
    second->SetAlign(alNone);
    second->SetParent(pages);
    first->SetPageControl(pages);
    first->SetPageIndex(0);
    ASSERT_EQ(pages->GetPageCount(), 2);
    EXPECT_EQ(pages->GetPage(0), first);
    EXPECT_EQ(pages->GetPage(1), second);
    pages->SetActivePage(second);
    EXPECT_TRUE(second->GetShowing());
    EXPECT_FALSE(first->GetShowing());
    EXPECT_TRUE(label->Widget()->isVisible());
    EXPECT_LE(second->GetWidth(), pages->GetWidth());
}

// ---------------------------------------------------------------------------

class CheckListTargetTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        f->SetBounds(40, 40, 400, 200);
        source = Create<TListBox>(f.get());
        source->SetParent(f.get());
        source->SetBounds(0, 0, 150, 150);
        source->GetItems()->Add(u"Температура, °C");
        source->OnMouseDown = TMouseEvent(
            [this](TObject*, TMouseButton, TShiftState, int, int) { source->BeginDrag(false, 5); });
        groups = Create<TCheckListBox>(f.get());
        groups->SetParent(f.get());
        groups->SetBounds(200, 0, 150, 150);
        for (const char16_t* s : {u"(all)", u"Котёл", u"Сеть"}) groups->GetItems()->Add(s);
        groups->SetState(0, cbChecked);
        groups->SetState(1, cbUnchecked);
        groups->SetState(2, cbGrayed);
        f->Show();
    }
    // A point inside an item of the check list, in the source's client coordinates.
    TPoint OverItem(int Index) {
        const TRect r = groups->ItemRect(Index);
        return source->ScreenToClient(groups->ClientToScreen(TPoint(r.Left + 40, r.Top + r.Height() / 2)));
    }
    void Drag(const TPoint& to) {
        source->HandleMouseDown(mbLeft, {}, 10, 5, false);
        source->HandleMouseMove({}, to.X, to.Y);
        source->HandleMouseMove({}, to.X, to.Y + 1);
        source->HandleMouseUp(mbLeft, {}, to.X, to.Y + 1);
    }

    TestForm f;
    TListBox* source = nullptr;
    TCheckListBox* groups = nullptr;
};

TEST_F(CheckListTargetTest, TheItemUnderTheDropIsFoundAndNoMarkChanges) {
    std::vector<int> over;
    int dropped = -2;
    groups->OnDragOver = TDragOverEvent([&](TObject*, TObject* s, int x, int y, TDragState, bool& accept) {
        const int i = groups->ItemAtPos(TPoint(x, y), true);
        over.push_back(i);
        accept = i >= 0 && s == source;
    });
    groups->OnDragDrop = TDragDropEvent(
        [&](TObject*, TObject*, int x, int y) { dropped = groups->ItemAtPos(TPoint(x, y), true); });
    Drag(OverItem(2));
    EXPECT_EQ(dropped, 2);
    ASSERT_FALSE(over.empty());
    EXPECT_EQ(over.back(), 2);
    EXPECT_EQ(groups->GetState(0), cbChecked);
    EXPECT_EQ(groups->GetState(1), cbUnchecked);
    EXPECT_EQ(groups->GetState(2), cbGrayed);

    // Below the last item nothing takes the drop.
    dropped = -2;
    const TRect last = groups->ItemRect(2);
    Drag(source->ScreenToClient(groups->ClientToScreen(TPoint(last.Left + 40, last.Bottom + 30))));
    EXPECT_EQ(dropped, -2);
}

TEST_F(CheckListTargetTest, TheUsersClickOnAMarkSetFromCodeIsHeard) {
    int checks = 0;
    groups->OnClickCheck.Bind([&](TObject*) { ++checks; });
    auto* list = static_cast<QListWidget*>(groups->Widget());
    // Checked from code, then cleared by the user.
    list->item(0)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(groups->GetState(0), cbUnchecked);
    // A grayed mark clicked becomes checked.
    list->item(2)->setCheckState(Qt::Checked);
    EXPECT_EQ(checks, 2);
    EXPECT_EQ(groups->GetItemIndex(), 2);
    EXPECT_EQ(groups->GetState(2), cbChecked);
}

} // namespace
