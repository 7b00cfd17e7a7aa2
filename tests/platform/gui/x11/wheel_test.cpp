// The mouse wheel turned through a real X server reaches the control under the pointer,
// notch by notch, with the pointer in screen coordinates; so does the pointer moved with no
// button held, in the control's own coordinates.
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"
#include "tests/platform/gui/x11/xserver.h"

#include <string>
#include <vector>

namespace {

class XWheel : public GuiTest {};

} // namespace

TEST_F(XWheel, EachNotchReachesThePanelUnderThePointer) {
    TestForm f;
    f->SetBounds(100, 100, 300, 200);
    auto* left = Create<TPanel>(f.get());
    left->SetParent(f.get());
    left->SetBounds(10, 10, 120, 150);
    auto* right = Create<TPanel>(f.get());
    right->SetParent(f.get());
    right->SetBounds(150, 10, 120, 150);
    std::vector<std::string> heard;
    TPoint where;
    left->OnMouseWheel.Bind([&](TObject*, TShiftState, int delta, TPoint pos, bool&) {
        heard.push_back("left " + std::to_string(delta));
        where = pos;
    });
    left->OnMouseWheelDown.Bind([&](TObject*, TShiftState, TPoint, bool&) { heard.push_back("left down"); });
    left->OnMouseWheelUp.Bind([&](TObject*, TShiftState, TPoint, bool&) { heard.push_back("left up"); });
    right->OnMouseWheel.Bind([&](TObject*, TShiftState, int, TPoint, bool&) { heard.push_back("right"); });
    ASSERT_TRUE(xserver::Activate(f->Widget()));

    ASSERT_TRUE(xserver::Wheel(*left, {30, 40}, -2));
    ASSERT_TRUE(WaitFor([&] { return heard.size() >= 4; }));
    EXPECT_EQ(heard, (std::vector<std::string>{"left -120", "left down", "left -120", "left down"}));
    EXPECT_EQ(where, left->ClientToScreen({30, 40}));

    heard.clear();
    ASSERT_TRUE(xserver::Wheel(*left, {60, 100}, 1));
    ASSERT_TRUE(WaitFor([&] { return heard.size() >= 2; }));
    EXPECT_EQ(heard, (std::vector<std::string>{"left 120", "left up"}));
}

TEST_F(XWheel, APointerMovedWithNoButtonHeldReachesTheControlUnderIt) {
    TestForm f;
    f->SetBounds(100, 100, 300, 200);
    auto* panel = Create<TPanel>(f.get());
    panel->SetParent(f.get());
    panel->SetBounds(10, 10, 120, 150);
    auto* list = Create<TListBox>(f.get());
    list->SetParent(f.get());
    list->SetBounds(150, 10, 120, 150);
    list->GetItems()->Add(u"Температура");
    std::vector<TPoint> heard;
    for (TControl* c : std::initializer_list<TControl*>{panel, list})
        c->OnMouseMove = TMouseMoveEvent([&](TObject*, TShiftState Shift, int X, int Y) {
            if (Shift.Empty()) heard.emplace_back(X, Y);
        });
    ASSERT_TRUE(xserver::Activate(f->Widget()));
    for (TControl* c : std::initializer_list<TControl*>{panel, list}) {
        heard.clear();
        ASSERT_TRUE(xserver::Move(*c, {30, 40}));
        ASSERT_TRUE(WaitFor([&] { return !heard.empty(); })) << UTF8Encode(c->ClassName());
        EXPECT_EQ(heard.back(), TPoint(30, 40));
    }
}
