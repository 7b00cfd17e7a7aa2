// The page navigator's buttons under a real mouse: a held button repeats only while the
// pointer is over it.
#include "chart/series/zuznavigator.h"

#include "tests/chart/editors/editorunits.h"
#include "tests/support/formtest.h"
#include "tests/support/xserver.h"

namespace {

class XPageNavigator : public FormTest {
protected:
    static void SetUpTestSuite() {
        FormTest::SetUpTestSuite();
        StartChartEditorUnits();
    }
};

// Runs the event loop for Ms milliseconds.
void Pump(int Ms) {
    probe::WaitFor([] { return false; }, Ms);
}

} // namespace

TEST_F(XPageNavigator, AHeldButtonRepeatsOnlyWhileThePointerIsOverIt) {
    TestForm w;
    w->SetBounds(100, 100, 300, 120);
    w->SetCaption(u"Страницы");
    auto* bar = Create<TCustomZuzNavigator>(w.get());
    bar->SetParent(w.get());
    bar->SetBounds(10, 10, 200, 25);
    int clicks = 0;
    bar->OnButtonClicked = TZuzNavClickEvent([&](TObject*, TZuzNavigateBtn) { ++clicks; });
    TZuzNavButton* next = bar->GetButton(nbNext);
    next->SetEnabled(true);
    ASSERT_TRUE(xserver::Activate(*w.form));

    const TPoint middle(next->GetWidth() / 2, next->GetHeight() / 2);
    ASSERT_TRUE(xserver::Press(*next, middle));
    Pump(800);
    EXPECT_GE(clicks, 2) << "held over the button, it repeats";
    ASSERT_TRUE(xserver::Move(*next, TPoint(middle.X, next->GetHeight() + 40)));
    const int off = clicks;
    Pump(1200);
    EXPECT_EQ(clicks, off) << "dragged off, it waits";
    ASSERT_TRUE(xserver::Move(*next, middle));
    Pump(500);
    EXPECT_GE(clicks, off + 2) << "back over it, it repeats again";
    ASSERT_TRUE(xserver::Move(*next, TPoint(middle.X, next->GetHeight() + 40)));
    ASSERT_TRUE(xserver::Release());
    const int released = clicks;
    Pump(600);
    EXPECT_EQ(clicks, released) << "let go off the button: no click";
}
