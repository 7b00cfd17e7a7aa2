// The zoom drag's rubber band as the X server shows it: drawn on the panel's window outside
// any paint, and gone again after the second draw.
#include "chart/canvas/zuzdraw3d.h"

#include "chart/canvas/zuzconst.h"
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
