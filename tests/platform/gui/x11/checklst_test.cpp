// A click through a real X server on a check list's mark chooses the item and then changes
// its mark, on the item the pointer is over even when the list's edge cuts it.
#include "platform/gui/checklst.h"
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
