// The extended panel: background and shadow, back image modes, the rubber band, the zoom
// settings and the panel's stream.
#include "chart/canvas/zuzpanelext.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzconst.h"
#include "platform/gui/forms.h"
#include "tests/support/guiprobe.h"
#include "tests/support/picturefile.h"
#include "tests/support/streamtext.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class ExtendedPanelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InitFormsUnit();
        ZuzConstInitialization();
        GdiSetTextAntialiasing(false);
    }
};

// Paints only its background, and remembers where the fill went.
class TBackPanel : public TCustomZuzPanelExtended {
public:
    using TCustomZuzPanelExtended::TCustomZuzPanelExtended;
    std::vector<TRect> fills;
    bool raise = false; // the background's drawing fails after its fill
    void Paint() override { TCustomZuzPanelExtended::Paint(); }
    void FillPanelRect(const TRect& Rect) override {
        fills.push_back(Rect);
        TCustomZuzPanelExtended::FillPanelRect(Rect);
        if (raise) throw Exception(u"the picture cannot be drawn");
    }

protected:
    void InternalDraw(const TRect& R) override { PanelPaint(R); }
};

using Panel = Owned<TBackPanel>;

Panel NewPanel(int w, int h, TColor colour) {
    Panel p{Create<TBackPanel>(nullptr)};
    p->SetBounds(0, 0, w, h);
    p->SetBevelOuter(bvNone);
    p->SetColor(colour);
    return p;
}

probe::Rgb At(TCanvas& c, int x, int y) {
    const auto p = static_cast<COLORREF>(c.GetPixel(x, y));
    return {GetRValue(p), GetGValue(p), GetBValue(p)};
}

probe::Rgb Rgb(TColor c) {
    const auto p = static_cast<COLORREF>(ColorToRGB(c));
    return {GetRValue(p), GetGValue(p), GetBValue(p)};
}

std::vector<probe::Rgb> Pixels(TCanvas& c, const TRect& r) {
    std::vector<probe::Rgb> out;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) out.push_back(At(c, x, y));
    return out;
}

// A picture of w x h pixels: red with a blue top-left pixel, so its placement shows.
Owned<TBitmap> Marked(int w, int h) {
    auto b = MakeOwned<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(w, h);
    b->GetCanvas()->GetBrush()->SetColor(clRed);
    b->GetCanvas()->FillRect(TRect(0, 0, w, h));
    if (w > 0 && h > 0) b->GetCanvas()->SetPixel(0, 0, clBlue);
    return b;
}

using streamtext::ObjectText;
using streamtext::ReadText;

} // namespace

// ---------------------------------------------------------------------------
// The rubber band

TEST_F(ExtendedPanelTest, TheZoomRectangleDrawnTwiceRestoresTheScreen) {
    for (const TColor back : {clBtnFace, clNavy, clBlack, TColor(0x3080C0), clWhite}) {
        for (const bool solidBrush : {false, true}) {
            Panel panel = NewPanel(200, 140, back);
            panel->Paint();
            TCanvas& screen = *panel->GetControlCanvas();
            const TRect area(0, 0, 200, 140);
            const auto before = Pixels(screen, area);
            TZuzZoom* zoom = panel->GetZoom();
            zoom->Activate(150, 100);
            zoom->X1 = 30;
            zoom->Y1 = 20;
            zoom->Check();
            EXPECT_EQ(TRect(zoom->X0, zoom->Y0, zoom->X1, zoom->Y1), TRect(30, 20, 150, 100));
            if (solidBrush) zoom->GetBrush()->SetStyle(bsSolid);

            panel->DrawZoomRectangle();
            // Over the background the band is white whatever the background is (the xor with
            // the background's complement), the inside too with a solid brush; on white, where
            // white would not show, it is the background inverted.
            const TColor band = back == clWhite ? clBlack : clWhite;
            EXPECT_EQ(At(screen, 30, 60), Rgb(band)) << back;
            EXPECT_EQ(At(screen, 90, 20), Rgb(band)) << back;
            EXPECT_EQ(At(screen, 90, 60), solidBrush ? Rgb(band) : Rgb(back)) << back;
            EXPECT_EQ(At(screen, 29, 60), Rgb(back));
            EXPECT_EQ(panel->GetZoom()->GetPen()->GetMode(), pmNotXor);

            panel->DrawZoomRectangle();
            EXPECT_EQ(Pixels(screen, area), before) << back << (solidBrush ? " solid" : " clear");
        }
    }
}

// ---------------------------------------------------------------------------
// Background, shadow and back image

TEST_F(ExtendedPanelTest, ABackgroundThatRaisesLeavesTheCanvasTurningAgain) {
    Panel panel = NewPanel(60, 40, clWhite);
    TBitmap out;
    out.SetSize(60, 40);
    panel->raise = true;
    EXPECT_THROW(panel->Draw(out.GetCanvas(), TRect(0, 0, 60, 40)), Exception);
    EXPECT_EQ(panel->GetCanvas()->FrontPlaneCount(), 0);
    panel->raise = false;
    panel->fills.clear();
    panel->Draw(out.GetCanvas(), TRect(0, 0, 60, 40));
    EXPECT_EQ(panel->fills.size(), 1u);
    EXPECT_EQ(panel->GetCanvas()->FrontPlaneCount(), 0);
}

TEST_F(ExtendedPanelTest, TheShadowTakesItsWidthFromTheFillAndIsDrawnInTheStripCutOff) {
    Panel panel = NewPanel(200, 100, clWhite);
    panel->GetShadow()->SetSmooth(false);
    panel->GetShadow()->SetColor(clBlack);
    panel->GetShadow()->SetHorizSize(3);
    panel->GetShadow()->SetVertSize(0);
    TBitmap out;
    out.SetSize(200, 100);
    panel->Draw(out.GetCanvas(), TRect(0, 0, 200, 100));
    ASSERT_EQ(panel->fills.size(), 1u);
    // Six pixels narrower on the right: seven cut off, one given back.
    EXPECT_EQ(panel->fills[0], TRect(0, 0, 194, 100));
    // The shadow lies in the seven pixels cut off first.
    EXPECT_EQ(probe::Pixel(out, 195, 50), (probe::Rgb{0, 0, 0}));
    EXPECT_EQ(probe::Pixel(out, 193, 50), (probe::Rgb{255, 255, 255}));
    // Printed without its background, the panel casts no shadow on the paper either; its
    // drawing keeps its place.
    for (const bool withPanel : {false, true}) {
        const TRestoreOnExit keep(panel->PrintZuzPanel, withPanel);
        TBitmap paper;
        paper.SetSize(200, 100);
        panel->fills.clear();
        panel->PrintPartialCanvas(paper.GetCanvas(), TRect(0, 0, 200, 100));
        EXPECT_EQ(panel->fills.back(), TRect(0, 0, 194, 100)) << withPanel;
        EXPECT_EQ(probe::Pixel(paper, 195, 50),
                  (withPanel ? probe::Rgb{0, 0, 0} : probe::Rgb{255, 255, 255}));
    }

    panel->fills.clear();
    panel->GetShadow()->SetHorizSize(-2);
    panel->GetShadow()->SetVertSize(4);
    panel->Draw(out.GetCanvas(), TRect(0, 0, 200, 100));
    // A negative size cuts 1 + 4 on the left and gives one back; 9 off the bottom, one back.
    EXPECT_EQ(panel->fills.back(), TRect(4, 0, 200, 92));

    panel->fills.clear();
    panel->GetShadow()->SetVisible(false);
    panel->Draw(out.GetCanvas(), TRect(0, 0, 200, 100));
    EXPECT_EQ(panel->fills.back(), TRect(0, 0, 200, 100));
}

TEST_F(ExtendedPanelTest, ARoundedPanelWithASmoothShadowShowsWhatIsBehindInItsCorners) {
    Panel panel = NewPanel(240, 150, clWhite);
    panel->SetBorderRound(16);
    panel->GetShadow()->SetColor(clGray);
    panel->GetShadow()->SetSize(6);
    panel->GetGradient()->SetStartColor(clSkyBlue);
    panel->GetGradient()->SetEndColor(clWhite);
    panel->GetGradient()->SetVisible(true);
    const auto picture = Marked(40, 30);
    panel->GetBackImage()->SetGraphic(picture.get());
    panel->SetBackImageMode(pbmCustom);
    panel->GetBackImage()->SetLeft(20);
    panel->GetBackImage()->SetTop(20);
    TBitmap out;
    out.SetSize(240, 150);
    panel->Draw(out.GetCanvas(), TRect(0, 0, 240, 150));
    EXPECT_TRUE(panel->GetShadow()->FullSmooth);            // rounded corners blur all round
    EXPECT_EQ(probe::Pixel(out, 0, 0), Rgb(clWhite));       // behind the rounded corner
    EXPECT_EQ(probe::Pixel(out, 239, 0), Rgb(clWhite));     // above the shadow
    EXPECT_EQ(probe::Pixel(out, 20, 20), Rgb(clBlue));      // the picture at its offset
    EXPECT_LT(probe::Pixel(out, 232, 75).Lightness(), 250); // the shadow on the right
    const fs::path file = testsupport::PictureFile("chart-panel-extended.png");
    EXPECT_TRUE(probe::Grab(out).SavePng(file));
    // Without a shadow too: not what an earlier drawing, square and red, left there.
    panel->GetShadow()->SetVisible(false);
    panel->GetGradient()->SetVisible(false);
    panel->SetBorderRound(0);
    panel->SetColor(clRed);
    panel->Draw(out.GetCanvas(), TRect(0, 0, 240, 150));
    panel->SetBorderRound(16);
    panel->SetColor(clWhite);
    TBitmap again;
    again.SetSize(240, 150);
    panel->Draw(again.GetCanvas(), TRect(0, 0, 240, 150));
    EXPECT_EQ(probe::Pixel(again, 0, 0), Rgb(clWhite));
}

TEST_F(ExtendedPanelTest, TheFillIsTheGradientWhenVisibleElseThePanelsColour) {
    Panel panel = NewPanel(100, 60, clNavy);
    TBitmap out;
    out.SetSize(100, 60);
    panel->Draw(out.GetCanvas(), TRect(0, 0, 100, 60));
    EXPECT_EQ(probe::Pixel(out, 50, 30), Rgb(clNavy));
    EXPECT_FALSE(panel->HasGradient());
    panel->GetGradient()->SetStartColor(clRed);
    panel->GetGradient()->SetEndColor(clRed);
    panel->Draw(out.GetCanvas(), TRect(0, 0, 100, 60));
    EXPECT_EQ(probe::Pixel(out, 50, 30), Rgb(clNavy)); // made, but not visible
    panel->GetGradient()->SetVisible(true);
    panel->Draw(out.GetCanvas(), TRect(0, 0, 100, 60));
    EXPECT_EQ(probe::Pixel(out, 50, 30), Rgb(clRed));
    panel->SetGradient(nullptr);
    EXPECT_FALSE(panel->HasGradient());
    // clNone paints nothing: what was there stays.
    panel->SetColor(clNone);
    panel->Draw(out.GetCanvas(), TRect(0, 0, 100, 60));
    EXPECT_EQ(probe::Pixel(out, 50, 30), Rgb(clRed));
}

TEST_F(ExtendedPanelTest, BackImageModesPlaceThePicture) {
    const auto draw = [](TBackPanel& panel, TBitmap& out) {
        out.SetSize(120, 80);
        panel.Draw(out.GetCanvas(), TRect(0, 0, 120, 80));
    };
    Panel panel = NewPanel(120, 80, clWhite);
    // Without an image nothing is made, and the image's settings read their defaults.
    EXPECT_FALSE(panel->GetBackImageTransp());
    EXPECT_FALSE(panel->GetBackImageInside());
    EXPECT_EQ(panel->GetBackImageMode(), pbmStretch);
    panel->SetBackImageTransp(true);
    EXPECT_FALSE(panel->HasBackImageObject());

    const auto picture = Marked(30, 20);
    panel->GetBackImage()->SetGraphic(picture.get());
    EXPECT_TRUE(panel->HasBackImage());
    TBitmap out;

    draw(*panel, out); // stretched over the whole panel
    EXPECT_EQ(probe::Pixel(out, 0, 0), Rgb(clBlue));
    EXPECT_EQ(probe::Pixel(out, 119, 79), Rgb(clRed));

    panel->SetBackImageMode(pbmTile);
    draw(*panel, out);
    for (const TPoint p : {TPoint(0, 0), TPoint(30, 0), TPoint(90, 60), TPoint(60, 40)})
        EXPECT_EQ(probe::Pixel(out, p.X, p.Y), Rgb(clBlue)) << p.X << "," << p.Y;
    EXPECT_EQ(probe::Pixel(out, 31, 0), Rgb(clRed));

    panel->SetBackImageMode(pbmCustom);
    panel->GetBackImage()->SetLeft(10);
    panel->GetBackImage()->SetTop(20);
    draw(*panel, out);
    EXPECT_EQ(probe::Pixel(out, 10, 20), Rgb(clBlue));
    EXPECT_EQ(probe::Pixel(out, 39, 39), Rgb(clRed)); // natural size: 30 x 20
    EXPECT_EQ(probe::Pixel(out, 40, 39), Rgb(clWhite));
    EXPECT_EQ(probe::Pixel(out, 39, 40), Rgb(clWhite));
    EXPECT_EQ(probe::Pixel(out, 9, 20), Rgb(clWhite));
    // An offset from a file as far as a number goes puts the picture out of sight.
    for (const int far : {2147483647 - 10, -2147483647 - 1}) {
        panel->GetBackImage()->SetLeft(far);
        panel->GetBackImage()->SetTop(far);
        draw(*panel, out);
        for (const TPoint p : {TPoint(0, 0), TPoint(60, 40), TPoint(119, 79)})
            EXPECT_EQ(probe::Pixel(out, p.X, p.Y), Rgb(clWhite)) << far;
    }

    panel->SetBackImageMode(pbmCenter);
    draw(*panel, out);
    EXPECT_EQ(probe::Pixel(out, 45, 30), Rgb(clBlue)); // (120 - 30) / 2, (80 - 20) / 2
    EXPECT_EQ(probe::Pixel(out, 44, 30), Rgb(clWhite));
    EXPECT_EQ(probe::Pixel(out, 74, 49), Rgb(clRed));
    EXPECT_EQ(probe::Pixel(out, 75, 49), Rgb(clWhite));

    // Inside: the chart draws it on its back wall, not the background.
    panel->SetBackImageInside(true);
    draw(*panel, out);
    EXPECT_EQ(probe::Pixel(out, 45, 30), Rgb(clWhite));
    panel->SetBackImageInside(false);

    // A tile of no width draws nothing, and ends well; the panel has a back image all the same.
    panel->SetBackImageMode(pbmTile);
    const auto empty = Marked(0, 20);
    panel->GetBackImage()->SetGraphic(empty.get());
    EXPECT_TRUE(panel->HasBackImage());
    draw(*panel, out);
    EXPECT_EQ(probe::Pixel(out, 0, 0), Rgb(clWhite));

    // The picture is drawn through its filters.
    panel->SetBackImageMode(pbmStretch);
    panel->GetBackImage()->SetGraphic(picture.get());
    panel->GetBackImage()->GetFilters()->Add(TInvertFilter::StaticClass());
    draw(*panel, out);
    EXPECT_EQ(probe::Pixel(out, 119, 79), (probe::Rgb{0, 255, 255})); // red inverted

    panel->SetBackImage(nullptr);
    EXPECT_FALSE(panel->HasBackImageObject());
}

TEST_F(ExtendedPanelTest, AChangedBackImageRepaintsAndAssignCopiesPlacementAndPicture) {
    Panel panel = NewPanel(120, 80, clWhite);
    panel->Paint();
    panel->Paint();
    TBackImage* image = panel->GetBackImage();
    int changes = 0;
    const TNotifyEvent repaint = image->OnChange;
    image->OnChange = TNotifyEvent([&](TObject* s) {
        ++changes;
        repaint(s);
    });
    image->SetMode(pbmTile);
    image->SetMode(pbmTile);
    image->SetLeft(4);
    EXPECT_EQ(changes, 2);

    TBackImage copy;
    const auto picture = Marked(5, 6);
    image->SetGraphic(picture.get());
    copy.Assign(image);
    EXPECT_EQ(copy.GetMode(), pbmTile);
    EXPECT_EQ(copy.GetLeft(), 4);
    EXPECT_EQ(copy.GetWidth(), 5);
}

// ---------------------------------------------------------------------------
// Zoom settings and events

TEST_F(ExtendedPanelTest, ZoomSettingsCopyWithoutTheDragAndTheirPenAndBrushAreMadeOnRead) {
    TZuzZoom a, b;
    EXPECT_FALSE(a.HasBrush());
    EXPECT_FALSE(a.HasPen());
    EXPECT_EQ(a.GetPen()->GetColor(), clWhite);
    EXPECT_EQ(a.GetBrush()->GetColor(), clWhite);
    EXPECT_EQ(a.GetBrush()->GetStyle(), bsClear);
    a.SetAllow(false);
    a.SetAnimated(true);
    a.SetAnimatedSteps(3);
    a.SetDirection(tzdVertical);
    a.SetKeyShift(TShiftState{ssCtrl});
    a.SetMouseButton(mbRight);
    a.SetMinimumPixels(40);
    a.SetUpLeftZooms(true);
    a.GetPen()->SetColor(clRed);
    a.Activate(5, 6);
    b.GetBrush();
    b.Assign(&a);
    EXPECT_FALSE(b.GetAllow());
    EXPECT_TRUE(b.GetAnimated());
    EXPECT_EQ(b.GetAnimatedSteps(), 3);
    EXPECT_EQ(b.GetDirection(), tzdVertical);
    EXPECT_EQ(b.GetKeyShift(), TShiftState{ssCtrl});
    EXPECT_EQ(b.GetMouseButton(), mbRight);
    EXPECT_EQ(b.GetPen()->GetColor(), clRed);
    EXPECT_TRUE(b.HasBrush());
    TZuzZoom plain;
    b.Assign(&plain);
    EXPECT_FALSE(b.HasBrush()); // the source has none: the copy's goes
    EXPECT_FALSE(b.HasPen());
    EXPECT_EQ(b.GetMinimumPixels(), 16);
    EXPECT_FALSE(b.GetUpLeftZooms());
    EXPECT_FALSE(b.Active);
    a.SetPen(nullptr);
    EXPECT_FALSE(a.HasPen());
}

TEST_F(ExtendedPanelTest, UndoZoomTellsItsHandlerAndClearsZoomed) {
    Panel panel = NewPanel(50, 50, clWhite);
    int told = 0;
    panel->OnUndoZoom = TNotifyEvent([&](TObject* s) {
        EXPECT_EQ(s, panel.get());
        ++told;
    });
    panel->Zoomed = true;
    panel->UndoZoom();
    EXPECT_EQ(told, 1);
    EXPECT_FALSE(panel->Zoomed);
    // The old names reach the zoom.
    panel->SetAllowZoom(false);
    panel->SetAnimatedZoomSteps(5);
    EXPECT_FALSE(panel->GetZoom()->GetAllow());
    EXPECT_EQ(panel->GetZoom()->GetAnimatedSteps(), 5);
    // Each step repaints: a file asks for no more than the editor offers.
    panel->SetAnimatedZoomSteps(2147483647);
    EXPECT_EQ(panel->GetZoom()->GetAnimatedSteps(), 100);
}

// ---------------------------------------------------------------------------
// Streams and copies

TEST_F(ExtendedPanelTest, PrintMarginsStreamOnlyWhenNotAllFifteenAsAListOfFour) {
    Panel panel = NewPanel(50, 50, clWhite);
    panel->SetName(u"Chart1");
    const std::string plain = ObjectText(panel.get());
    for (const char* name : {"PrintMargins", "Zoom", "AllowPanning", "BackImage", "Gradient"})
        EXPECT_EQ(plain.find(name), std::string::npos) << name << "\n" << plain;

    panel->PrintMargins = TRect(10, 15, 15, 15);
    panel->SetAllowPanning(pmVertical);
    panel->GetZoom()->SetMinimumPixels(30);
    panel->GetZoom()->GetPen()->SetColor(clRed);
    const std::string out = ObjectText(panel.get());
    for (const char* line : {"PrintMargins = (", "AllowPanning = pmVertical", "Zoom.MinimumPixels = 30",
                             "Zoom.Pen.Color = clRed"})
        EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;

    Panel copy = NewPanel(50, 50, clWhite);
    ReadText(out, copy.get());
    EXPECT_EQ(copy->PrintMargins, TRect(10, 15, 15, 15));
    EXPECT_EQ(copy->GetAllowPanning(), pmVertical);
    EXPECT_EQ(copy->GetZoom()->GetMinimumPixels(), 30);
    EXPECT_EQ(copy->GetZoom()->GetPen()->GetColor(), clRed);
    // A file's margins are held to percentages of the page.
    ReadText("object Chart1: TCustomZuzPanelExtended\n"
             "  PrintMargins = (\n    2147483647\n    -2147483648\n    -5\n    100)\nend\n",
             copy.get());
    EXPECT_EQ(copy->PrintMargins, TRect(100, 0, 0, 100));
}

TEST_F(ExtendedPanelTest, OlderStreamsZoomPropertiesGoIntoZoomAndAreNeverWritten) {
    Panel panel = NewPanel(50, 50, clWhite);
    ReadText("object Chart1: TCustomZuzPanelExtended\n"
             "  AllowZoom = False\n"
             "  AnimatedZoom = True\n"
             "  AnimatedZoomSteps = 12\n"
             "  PrintMargins = (\n    1\n    2\n    3\n    4\n    5)\n"
             "end\n",
             panel.get());
    EXPECT_FALSE(panel->GetZoom()->GetAllow());
    EXPECT_TRUE(panel->GetZoom()->GetAnimated());
    EXPECT_EQ(panel->GetZoom()->GetAnimatedSteps(), 12);
    // A list longer than four keeps the first four.
    EXPECT_EQ(panel->PrintMargins, TRect(1, 2, 3, 4));
    const std::string out = ObjectText(panel.get());
    EXPECT_EQ(out.find("AllowZoom"), std::string::npos) << out;
    EXPECT_NE(out.find("Zoom.Allow = False"), std::string::npos) << out;
    EXPECT_NE(out.find("Zoom.AnimatedSteps = 12"), std::string::npos) << out;
}

TEST_F(ExtendedPanelTest, AssignCopiesImageGradientPanningAndZoom) {
    Panel a = NewPanel(50, 50, clWhite), b = NewPanel(50, 50, clWhite);
    const auto picture = Marked(4, 4);
    a->GetBackImage()->SetGraphic(picture.get());
    a->SetBackImageMode(pbmCenter);
    a->GetGradient()->SetVisible(true);
    a->SetAllowPanning(pmNone);
    a->GetZoom()->SetDirection(tzdHorizontal);
    b->Assign(a.get());
    EXPECT_TRUE(b->HasBackImage());
    EXPECT_EQ(b->GetBackImageMode(), pbmCenter);
    EXPECT_TRUE(b->GetGradient()->GetVisible());
    EXPECT_EQ(b->GetAllowPanning(), pmNone);
    EXPECT_EQ(b->GetZoom()->GetDirection(), tzdHorizontal);
    // A source without image or gradient frees the copy's.
    Panel c = NewPanel(50, 50, clWhite);
    b->Assign(c.get());
    EXPECT_FALSE(b->HasBackImageObject());
    EXPECT_FALSE(b->HasGradient());
}
