// The free-drawing panel: what it paints around its OnPaint, and no repaint from inside it.
#include "chart/canvas/zuzdraw3d.h"

#include "chart/canvas/zuzconst.h"
#include "platform/gui/forms.h"
#include "tests/support/guiprobe.h"

#include <gtest/gtest.h>

namespace {

class Draw3DTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InitFormsUnit();
        ZuzConstInitialization();
        GdiSetTextAntialiasing(false);
    }
    void SetUp() override {
        panel.reset(Create<TDraw3D>(nullptr));
        panel->SetBounds(0, 0, 160, 100);
        panel->SetColor(clNavy);
        panel->SetBevelOuter(bvNone);
        out.SetSize(160, 100);
    }
    void Render() { panel->Draw(out.GetCanvas(), TRect(0, 0, 160, 100)); }
    Owned<TDraw3D> panel;
    TBitmap out;
};

// Says when the projection is set and when the background is painted, and in which chart
// rectangle.
class TOrderedDraw3D : public TDraw3D {
public:
    using TDraw3D::TDraw3D;
    std::vector<std::string>* log = nullptr;
    std::vector<TRect> chartRects;
    void PanelPaint(const TRect& R) override {
        log->push_back("background");
        chartRects.push_back(GetChartRect());
        TDraw3D::PanelPaint(R);
    }
};

class TLoggingCanvas : public TZuzCanvas3D {
public:
    explicit TLoggingCanvas(std::vector<std::string>* l, bool turns) : log(l), turns(turns) {}
    std::vector<std::string>* log;
    bool turns;
    bool GetSupportsFullRotation() override { return turns; }
    void Projection(int MaxDepth, const TRect& ABounds, const TRect& ARect) override {
        log->push_back("projection " + std::to_string(MaxDepth));
        TZuzCanvas3D::Projection(MaxDepth, ABounds, ARect);
    }
};

} // namespace

TEST_F(Draw3DTest, WithoutAHandlerOnlyBackgroundFrameAndZoomRectangleArePainted) {
    panel->GetBorder()->SetVisible(true);
    panel->GetBorder()->SetColor(clRed);
    panel->GetZoom()->Activate(40, 30);
    panel->GetZoom()->X1 = 100;
    panel->GetZoom()->Y1 = 70;
    Render();
    EXPECT_EQ(probe::Pixel(out, 0, 50), (probe::Rgb{255, 0, 0}));      // the border
    EXPECT_EQ(probe::Pixel(out, 20, 50), (probe::Rgb{0, 0, 128}));     // the background
    EXPECT_EQ(probe::Pixel(out, 40, 50), (probe::Rgb{255, 255, 255})); // the band
    EXPECT_EQ(probe::Pixel(out, 70, 50), (probe::Rgb{0, 0, 128}));
    panel->GetZoom()->Active = false;
    Render();
    EXPECT_EQ(probe::Pixel(out, 40, 50), (probe::Rgb{0, 0, 128}));
}

TEST_F(Draw3DTest, OnPaintDrawsOverTheBackgroundInTheChartRectangleWithoutRepaintingItself) {
    std::vector<TRect> given;
    int afterDraws = 0;
    auto* buffer = dynamic_cast<TZuzCanvas3D*>(panel->GetCanvas());
    ASSERT_NE(buffer, nullptr);
    std::vector<bool> dirtied;
    panel->OnPaint = TDraw3DPaintEvent([&](TObject* Sender, const TRect& R) {
        EXPECT_EQ(Sender, panel.get());
        EXPECT_FALSE(panel->AutoRepaint);
        given.push_back(R);
        TCanvas3D* c = panel->GetCanvas();
        c->Brush->SetColor(clYellow);
        c->Brush->SetStyle(bsSolid);
        c->Pen->SetStyle(psClear);
        c->Rectangle(panel->GetChartRect());
        panel->Invalidate(); // changes made while drawing start no second paint
        dirtied.push_back(buffer->Dirty);
    });
    panel->OnAfterDraw = TNotifyEvent([&](TObject*) { ++afterDraws; });
    Render();
    Render(); // the buffer is clean now: an Invalidate that went through would dirty it
    EXPECT_TRUE(panel->AutoRepaint);
    EXPECT_EQ(afterDraws, 2);
    ASSERT_EQ(given.size(), 2u);
    EXPECT_FALSE(dirtied[1]);
    panel->Invalidate();
    EXPECT_TRUE(buffer->Dirty);
    Render();
    probe::ChangeDesktopColours(); // the system colours it drew with may stand for others now
    EXPECT_TRUE(buffer->Dirty);
    {
        // On a form too, where only the form hears of the change from the desktop.
        const Owned<TForm> form{Create<TForm>(nullptr, TCustomForm::NewTag{})};
        panel->SetParent(form.get());
        Render();
        ASSERT_FALSE(buffer->Dirty);
        probe::ChangeDesktopColours();
        EXPECT_TRUE(buffer->Dirty);
        panel->SetParent(nullptr);
    }
    EXPECT_EQ(given[0], TRect(0, 0, 160, 100));
    EXPECT_EQ(panel->Width3D, 100);
    const TRect chart = panel->GetChartRect();
    EXPECT_EQ(probe::Pixel(out, chart.Left + 2, chart.Top + 2), (probe::Rgb{255, 255, 0}));
    EXPECT_EQ(probe::Pixel(out, 1, 1), (probe::Rgb{0, 0, 128}));

    // A handler that raises leaves the panel repainting.
    panel->OnPaint = TDraw3DPaintEvent([](TObject*, const TRect&) { throw Exception(u"broken"); });
    EXPECT_THROW(Render(), Exception);
    EXPECT_TRUE(panel->AutoRepaint);
}

TEST_F(Draw3DTest, AFullyTurningCanvasGetsItsBackgroundAfterTheProjectionInTheGivenRectangle) {
    for (const bool turns : {false, true}) {
        std::vector<std::string> log;
        Owned<TOrderedDraw3D> p{Create<TOrderedDraw3D>(nullptr)};
        p->log = &log;
        p->SetBounds(0, 0, 160, 100);
        p->SetInternalCanvas(new TLoggingCanvas(&log, turns));
        TBitmap target;
        target.SetSize(160, 100);
        p->Draw(target.GetCanvas(), TRect(0, 0, 160, 100));
        const TRect chart = p->GetChartRect();
        if (turns) {
            EXPECT_EQ(log, (std::vector<std::string>{"projection 100", "background"}));
            EXPECT_EQ(p->chartRects.back(), TRect(0, 0, 160, 100)); // for the moment, the whole
            EXPECT_NE(chart, TRect(0, 0, 160, 100));                // and back afterwards
        } else {
            EXPECT_EQ(log, (std::vector<std::string>{"background", "projection 100"}));
            EXPECT_EQ(p->chartRects.back(), chart);
        }
    }
}
