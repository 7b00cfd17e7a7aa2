// The zoom drag's rubber band as the X server shows it: drawn on the panel's window outside
// any paint, and gone again after the second draw.
#include "chart/canvas/zuzdraw3d.h"

#include "chart/canvas/zuzconst.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"
#include "tests/support/formtest.h"
#include "tests/support/xserver.h"

namespace {

struct Window : TestForm {
    TDraw3D* panel = Create<TDraw3D>(get());
    Window() {
        form->SetBounds(100, 100, 260, 180);
        form->SetCaption(u"Rubber band");
        panel->SetParent(get());
        panel->SetBounds(10, 10, 220, 140);
        panel->SetBevelOuter(bvNone);
        panel->SetColor(clBtnFace);
    }
};

class XExtendedPanel : public FormTest {
protected:
    static void SetUpTestSuite() {
        FormTest::SetUpTestSuite();
        ZuzConstInitialization();
    }
};

} // namespace

TEST_F(XExtendedPanel, TheRubberBandShowsOnScreenAndASecondDrawTakesItAway) {
    Window w;
    ASSERT_TRUE(xserver::Activate(*w.form));
    const probe::Rgb face = xserver::Picture(*w.panel).Pixel(100, 70);
    ASSERT_TRUE(WaitFor([&] { return xserver::Picture(*w.panel).Pixel(30, 60) == face; }));
    const probe::Picture before = xserver::Picture(*w.panel);

    TZuzZoom* zoom = w.panel->GetZoom();
    zoom->Activate(30, 20);
    zoom->X1 = 180;
    zoom->Y1 = 110;
    w.panel->DrawZoomRectangle(); // from a mouse handler: no paint in between
    ASSERT_TRUE(WaitFor([&] {
        return xserver::Picture(*w.panel).Pixel(30, 60) == probe::Rgb{255, 255, 255};
    }));
    const probe::Picture band = xserver::Picture(*w.panel);
    xserver::Keep(band, "chart-rubber-band");
    EXPECT_EQ(band.Pixel(100, 20), (probe::Rgb{255, 255, 255}));
    EXPECT_EQ(band.Pixel(100, 70), face);

    w.panel->DrawZoomRectangle();
    EXPECT_TRUE(WaitFor([&] { return xserver::Picture(*w.panel) == before; }));
}

// The panel takes the arrow keys: they reach its key handlers, and the focus stays on it.
TEST_F(XExtendedPanel, TheArrowKeysReachThePanelAndKeepTheFocusOnIt) {
    Window w;
    TEdit* edit = Create<TEdit>(w.get());
    edit->SetParent(w.get());
    edit->SetBounds(10, 150, 100, 22);
    w.form->SetBounds(100, 100, 260, 200);
    w.panel->SetTabStop(true);
    std::vector<Word> keys;
    w.panel->OnKeyDown.Bind([&](TObject*, Word& Key, TShiftState) { keys.push_back(Key); });
    ASSERT_TRUE(xserver::Activate(*w.form));
    ASSERT_TRUE(xserver::Focus(*w.panel));
    ASSERT_TRUE(xserver::Type("Down Right Up Left"));
    EXPECT_EQ(keys, (std::vector<Word>{VK_DOWN, VK_RIGHT, VK_UP, VK_LEFT}));
    EXPECT_TRUE(w.panel->Focused());
}

// A panel without a colour of its own shows the form and the controls under it wherever it
// draws nothing.
TEST_F(XExtendedPanel, APanelWithoutAColourShowsWhatLiesUnderIt) {
    Window w;
    w.form->SetColor(clRed);
    TPanel* beneath = Create<TPanel>(w.get());
    beneath->SetParent(w.get());
    beneath->SetBounds(170, 30, 40, 40); // (160, 20) to (200, 60) on the chart panel
    beneath->SetBevelOuter(bvNone);
    beneath->SetColor(clYellow);
    beneath->SendToBack();
    w.panel->SetColor(clNone);
    w.panel->OnPaint.Bind([](TObject* Sender, const TRect&) {
        TCanvas3D* c = static_cast<TDraw3D*>(Sender)->GetCanvas();
        c->Brush->SetColor(clBlue);
        c->Brush->SetStyle(bsSolid);
        c->Pen->SetStyle(psClear);
        c->Rectangle(TRect(20, 20, 60, 60));
    });
    ASSERT_TRUE(xserver::Activate(*w.form));
    ASSERT_TRUE(WaitFor([&] { return xserver::Picture(*w.panel).Pixel(40, 40) == probe::Rgb{0, 0, 255}; }));
    const probe::Picture shown = xserver::Picture(*w.form);
    xserver::Keep(shown, "chart-panel-without-colour");
    EXPECT_EQ(xserver::Picture(*w.panel).Pixel(150, 100), (probe::Rgb{255, 0, 0}));
    EXPECT_EQ(xserver::Picture(*w.panel).Pixel(180, 40), (probe::Rgb{255, 255, 0}));
    w.form->SetColor(clLime); // and what lies under it now
    EXPECT_TRUE(WaitFor([&] { return xserver::Picture(*w.panel).Pixel(150, 100) == probe::Rgb{0, 255, 0}; }));
    EXPECT_EQ(xserver::Picture(*w.panel).Pixel(40, 40), (probe::Rgb{0, 0, 255}));
}
