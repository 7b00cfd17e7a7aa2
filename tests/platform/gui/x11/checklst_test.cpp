// A click through a real X server on a check list's mark chooses the item and then changes
// its mark, on the item the pointer is over even when the list's edge cuts it; a key that
// chooses an item is a click too.
#include "platform/gui/checklst.h"
#include "platform/gui/stdctrls.h"
#include "tests/platform/gui/x11/xserver.h"

#include <string>

namespace {

class XCheckList : public GuiTest {};

} // namespace

TEST_F(XCheckList, AClickOnTheMarkOfAnItemCutByTheEdgeChoosesAndMarksThatItem) {
    TestForm f;
    f->SetBounds(100, 100, 300, 200);
    auto* l = Create<TCheckListBox>(f.get());
    l->SetParent(f.get());
    l->SetBounds(10, 10, 200, 150);
    for (const char16_t* s : {u"(all)", u"Котёл", u"Сеть", u"Вода"}) l->GetItems()->Add(s);
    std::string heard;
    l->OnClick.Bind([&](TObject*) { heard += "click " + std::to_string(l->GetItemIndex()) + "; "; });
    l->OnClickCheck.Bind([&](TObject*) { heard += "mark " + std::to_string(l->GetItemIndex()) + "; "; });
    ASSERT_TRUE(xserver::Activate(f->Widget()));
    l->SetItemIndex(0);
    // The third item shows its upper part only, its mark's middle within sight.
    const TRect third = l->ItemRect(2);
    l->SetHeight(third.Top + third.Height() * 4 / 5);

    ASSERT_TRUE(xserver::Click(*l, TPoint(third.Left + 9, (third.Top + third.Bottom) / 2)));
    ASSERT_TRUE(WaitFor([&] { return heard.find("mark") != std::string::npos; }));
    EXPECT_EQ(heard, "click 2; mark 2; ");
    EXPECT_TRUE(l->GetChecked(2));
    EXPECT_FALSE(l->GetChecked(3));
}

// A key that chooses another item is a click, heard once, on a list and on a check list alike;
// Space changes a check list's mark only, and choosing from code is heard as nothing.
TEST_F(XCheckList, AKeyThatChoosesAnotherItemIsHeardAsAClick) {
    TestForm f;
    f->SetBounds(100, 100, 300, 200);
    auto* plain = Create<TListBox>(f.get());
    auto* checks = Create<TCheckListBox>(f.get());
    std::string heard;
    int left = 10;
    for (TCustomListBox* l : std::initializer_list<TCustomListBox*>{plain, checks}) {
        l->SetParent(f.get());
        l->SetBounds(left, 10, 130, 150);
        left += 140;
        for (const char16_t* s : {u"(all)", u"Котёл", u"Сеть", u"Вода"}) l->GetItems()->Add(s);
        l->OnClick.Bind(
            [&heard, l](TObject*) { heard += "click " + std::to_string(l->GetItemIndex()) + "; "; });
    }
    checks->OnClickCheck.Bind(
        [&](TObject*) { heard += "mark " + std::to_string(checks->GetItemIndex()) + "; "; });
    ASSERT_TRUE(xserver::Activate(f->Widget()));
    // The Russian letter is typed as a Russian operator types it: with the layout that has it.
    // Another layout makes the typing tool lend a key the letter for a moment, and a loaded
    // machine may read the key after the loan has ended.
    struct RussianLayout {
        bool set = xserver::SetLayout("ru");
        ~RussianLayout() { xserver::SetLayout("us"); }
    } russian;
    ASSERT_TRUE(russian.set);
    const struct {
        const char* keys;
        const char* plain;
        const char* checks;
    } steps[] = {
        {"Down", "click 1; ", "click 1; "},
        {"End", "click 3; ", "click 3; "},
        {"Down", "", ""},
        {"space", "", "mark 3; "},
        {"Prior", "click 0; ", "click 0; "},
        {"Next", "click 3; ", "click 3; "},
        {"Home", "click 0; ", "click 0; "},
        {"Cyrillic_es", "click 2; ", "click 2; "},
        {"Up", "click 1; ", "click 1; "},
    };
    for (TCustomListBox* l : std::initializer_list<TCustomListBox*>{plain, checks}) {
        l->SetItemIndex(0);
        ASSERT_TRUE(xserver::Focus(*l));
        for (const auto& step : steps) {
            heard.clear();
            ASSERT_TRUE(xserver::Type(step.keys));
            EXPECT_EQ(heard, l == plain ? step.plain : step.checks) << step.keys;
        }
        heard.clear();
        l->SetItemIndex(3);
        EXPECT_EQ(heard, "");
    }
    EXPECT_TRUE(checks->GetChecked(3));
}

// A check box laid out wider than its caption ticks on a click anywhere in its bounds.
TEST_F(XCheckList, ACheckBoxTicksOnAClickBesideItsCaption) {
    TestForm f;
    f->SetBounds(100, 100, 300, 200);
    auto* box = Create<TCheckBox>(f.get());
    box->SetParent(f.get());
    box->SetBounds(10, 10, 250, 21);
    box->SetCaption(u"Сглаживание");
    ASSERT_TRUE(xserver::Activate(f->Widget()));
    ASSERT_TRUE(xserver::Click(*box, TPoint(240, 10)));
    EXPECT_TRUE(WaitFor([&] { return box->GetChecked(); }));
}
