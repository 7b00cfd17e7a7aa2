// The small controls and the deferred call the editor dialogs add to the platform: a bevel's
// sunken box, a splitter resizing its neighbour within its limit, and a call made after the
// waiting events that is dropped with its control.
#include "platform/gui/deferred.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/splitter.h"

#include "tests/platform/gui/guitest.h"

namespace {

class EditorControls : public GuiTest {};

TEST_F(EditorControls, ADeferredCallRunsOnceTheWaitingEventsAreHandled) {
    TestForm f;
    auto* panel = Create<TPanel>(f.get());
    panel->SetParent(f.get());
    int calls = 0;
    DeferCall(panel, [&] { ++calls; });
    EXPECT_EQ(calls, 0);
    probe::ProcessEvents();
    EXPECT_EQ(calls, 1);
    probe::ProcessEvents();
    EXPECT_EQ(calls, 1);
}

TEST_F(EditorControls, ADeferredCallIsDroppedWhenItsControlIsFreedFirst) {
    TestForm f;
    auto* panel = Create<TPanel>(f.get());
    int calls = 0;
    DeferCall(panel, [&] { ++calls; });
    panel->Free();
    probe::ProcessEvents();
    EXPECT_EQ(calls, 0);
}

TEST_F(EditorControls, ASplitterResizesTheControlBeforeItAndKeepsItsMinimum) {
    TestForm f;
    f->SetBounds(0, 0, 400, 300);
    auto* left = Create<TPanel>(f.get());
    left->SetParent(f.get());
    left->SetAlign(alLeft);
    left->SetWidth(150);
    auto* splitter = Create<TSplitter>(f.get());
    splitter->SetParent(f.get());
    splitter->SetLeft(150);
    EXPECT_EQ(splitter->FindControl(), left);
    int moved = 0;
    splitter->OnMoved = TNotifyEvent([&](TObject*) { ++moved; });
    splitter->MoveBy(40);
    EXPECT_EQ(left->GetWidth(), 190);
    splitter->MoveBy(-500);
    EXPECT_EQ(left->GetWidth(), 30);
    EXPECT_EQ(moved, 2);
    EXPECT_EQ(splitter->GetCursor(), crHSplit);
}

TEST_F(EditorControls, ALoweredBevelIsDarkAboveAndLightBelow) {
    TestForm f;
    f->SetBounds(0, 0, 200, 200);
    auto* bevel = Create<TBevel>(f.get());
    bevel->SetParent(f.get());
    bevel->SetBounds(10, 10, 60, 40);
    f->Show();
    ASSERT_TRUE(WaitFor([&] { return probe::Shown(*f.get()); }));
    probe::ProcessEvents();
    const probe::Picture p = probe::Grab(*bevel);
    EXPECT_LT(p.Pixel(20, 0).Lightness(), p.Pixel(20, 39).Lightness());
    bevel->SetStyle(bsRaised);
    probe::ProcessEvents();
    const probe::Picture raised = probe::Grab(*bevel);
    EXPECT_GT(raised.Pixel(20, 0).Lightness(), raised.Pixel(20, 39).Lightness());
}

} // namespace
