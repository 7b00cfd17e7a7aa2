// The mouse wheel turned through a real X server reaches the control under the pointer,
// notch by notch, with the pointer in screen coordinates; so does the pointer moved.
#include "platform/gui/extctrls.h"
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

// A self-painted control hears the pointer move over it with no button held, as it hears a drag.
TEST_F(XWheel, APointerMovedWithoutAButtonReachesThePanelUnderIt) {
    TestForm f;
    f->SetBounds(100, 100, 300, 200);
    auto* panel = Create<TPanel>(f.get());
    panel->SetParent(f.get());
    panel->SetBounds(10, 10, 200, 150);
    std::vector<TPoint> heard;
    panel->OnMouseMove.Bind([&](TObject*, TShiftState, int X, int Y) { heard.push_back({X, Y}); });
    ASSERT_TRUE(xserver::Activate(f->Widget()));
    ASSERT_TRUE(xserver::Move(*panel, {30, 40}));
    ASSERT_TRUE(xserver::Move(*panel, {90, 70}));
    ASSERT_TRUE(WaitFor([&] { return !heard.empty() && heard.back() == TPoint(90, 70); }));
}
