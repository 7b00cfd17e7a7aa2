// The panel unit's functions on controls and pictures, and its start-up and shut-down.
#include "chart/canvas/zuzpanelprocs.h"

#include "chart/canvas/zuzdraw3d.h"
#include "chart/canvas/zuzgeometry.h"
#include "chart/canvas/zuzshape.h"
#include "chart/canvas/zuztext.h"
#include "platform/core/resources.h"
#include "platform/core/streams.h"
#include "platform/gui/forms.h"
#include "platform/gui/stdctrls.h"
#include "tests/support/guiprobe.h"

#include <gtest/gtest.h>

namespace {

class PanelProcsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitFormsUnit(); }
};

// A 3 x 2 bitmap's file bytes, served as the resource of the name given.
struct BitmapResource {
    std::vector<Byte> bytes;
    std::string name;
    TEmbeddedResource table[1];
    explicit BitmapResource(std::string n) : name(std::move(n)) {
        TBitmap b;
        b.SetSize(3, 2);
        TMemoryStream s;
        b.SaveToStream(&s);
        const auto* p = static_cast<const Byte*>(s.Memory());
        bytes.assign(p, p + s.GetSize());
        table[0] = TEmbeddedResource{name, "bmp", bytes.data(), bytes.size()};
        RegisterResources(table);
    }
    ~BitmapResource() { UnRegisterResources(table); }
};

} // namespace

TEST_F(PanelProcsTest, StartUpRegistersTheHandCursorAndShutDownTakesItAway) {
    ZuzProcsFinalization();
    EXPECT_EQ(Screen->GetCursorHandle(crZuzHand), nullptr);
    EXPECT_TRUE(ZuzFieldsSeparator.empty());
    EXPECT_TRUE(ColorPalette.empty());
    EXPECT_EQ(GetDefaultColor(1), clGreen); // a read without a palette takes the built-in one

    ZuzProcsInitialization();
    const HCURSOR hand = Screen->GetCursorHandle(crZuzHand);
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(CursorSize(hand).cx, 32);
    EXPECT_EQ(CursorSize(hand).cy, 32);
    EXPECT_EQ(CursorHotSpot(hand), TPoint(5, 0)); // the fingertip
    EXPECT_EQ(ZuzFieldsSeparator, u";");
    EXPECT_EQ(ColorPalette.size(), 20u);
    // A second start-up replaces the picture instead of piling up another.
    ZuzProcsInitialization();
    EXPECT_NE(Screen->GetCursorHandle(crZuzHand), nullptr);
}

TEST_F(PanelProcsTest, TranslateHooksAreCalledOnlyWhenSet) {
    EXPECT_EQ(ZuzTranslateString(u"Chart"), u"Chart");
    TButton* button = nullptr;
    ZuzTranslateControl(button); // nothing set: nothing happens
    std::vector<TControl*> seen;
    std::size_t excluded = 0;
    ZuzTranslateStringHook = [](const String& s) { return u"«" + s + u"»"; };
    ZuzTranslateHook = [&](TControl* c, std::span<TControl* const> ex) {
        seen.push_back(c);
        excluded = ex.size();
    };
    EXPECT_EQ(ZuzTranslateString(u"Chart"), u"«Chart»");
    TControl* exclude[2] = {nullptr, nullptr};
    ZuzTranslateControl(nullptr, exclude);
    ZuzTranslateControl(nullptr);
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(excluded, 0u);
    ZuzTranslateHook = nullptr;
    ZuzTranslateStringHook = nullptr;
}

TEST_F(PanelProcsTest, EnableControlsSetsEveryControlAndSkipsGaps) {
    probe::EnsureApplication();
    Owned<TButton> a{Create<TButton>(nullptr)}, b{Create<TButton>(nullptr)};
    TControl* controls[3] = {a.get(), nullptr, b.get()};
    EnableControls(false, controls);
    EXPECT_FALSE(a->GetEnabled());
    EXPECT_FALSE(b->GetEnabled());
    EnableControls(true, controls);
    EXPECT_TRUE(a->GetEnabled());
    EXPECT_TRUE(b->GetEnabled());
}

TEST_F(PanelProcsTest, CheckBoxesAndRadioButtonsAreThirteenPixelsAndShowTheirMark) {
    TBitmap out;
    out.SetSize(60, 20);
    ZuzDrawCheckBox(2, 3, out.GetCanvas(), true, clWindow, true);
    ZuzDrawCheckBox(20, 3, out.GetCanvas(), true, clWindow, false);
    ZuzDrawCheckBox(40, 3, out.GetCanvas(), false, clWindow, true);
    const probe::Rgb frame{160, 160, 160}, white{255, 255, 255}, black{0, 0, 0};
    EXPECT_EQ(probe::Pixel(out, 2, 3), frame);
    EXPECT_EQ(probe::Pixel(out, 14, 15), frame); // 13 x 13
    EXPECT_EQ(probe::Pixel(out, 15, 15), white);
    EXPECT_EQ(probe::Pixel(out, 2 + 4, 3 + 6), black);  // the tick
    EXPECT_EQ(probe::Pixel(out, 20 + 4, 3 + 6), white); // unticked
    EXPECT_EQ(probe::Pixel(out, 20 + 1, 3 + 1), white);
    EXPECT_EQ(probe::Pixel(out, 40 + 6, 3 + 6), black); // the radio button's dot
    EXPECT_EQ(probe::Pixel(out, 40, 3), white);         // round: the corner stays out
}

TEST_F(PanelProcsTest, BitmapsLoadByTheFirstNameThatExists) {
    const BitmapResource second("PANELTEST_SECOND"), parent("TZuzCustomShape");
    TBitmap b;
    ZuzLoadBitmap(&b, u"PANELTEST_MISSING", u"PANELTEST_SECOND");
    EXPECT_EQ(b.GetWidth(), 3);
    EXPECT_EQ(b.GetHeight(), 2);
    TBitmap untouched;
    untouched.SetSize(7, 7);
    ZuzLoadBitmap(&untouched, u"PANELTEST_MISSING", u"PANELTEST_ALSO_MISSING");
    EXPECT_EQ(untouched.GetWidth(), 7);
    // An editor's picture by its class, else by its parent class.
    TZuzShape shape(nullptr);
    TBitmap editor;
    ZuzGetBitmapEditor(&shape, &editor);
    EXPECT_EQ(editor.GetWidth(), 3);
}

TEST_F(PanelProcsTest, AnAntiAliasedPictureSoftensThePanelsEdges) {
    GdiSetTextAntialiasing(false);
    Owned<TDraw3D> panel{Create<TDraw3D>(nullptr)};
    panel->SetBounds(0, 0, 40, 30);
    panel->SetBevelOuter(bvNone);
    panel->SetColor(clWhite);
    panel->OnPaint = TDraw3DPaintEvent([&](TObject*, const TRect&) {
        TCanvas3D* c = panel->GetCanvas();
        c->Brush->SetStyle(bsSolid);
        c->Brush->SetColor(clBlack);
        c->FillRect(TRect(0, 0, 20, 30));
    });
    const Owned<TBitmap> sharp = panel->ZuzCreateBitmap(clWhite, TRect(0, 0, 40, 30), pf24bit);
    const Owned<TBitmap> soft = ZuzAntiAlias(panel.get(), false);
    EXPECT_EQ(soft->GetWidth(), 40);
    EXPECT_EQ(soft->GetHeight(), 30);
    EXPECT_EQ(soft->GetPixelFormat(), pf24bit);
    EXPECT_EQ(probe::Pixel(*sharp, 19, 15), (probe::Rgb{0, 0, 0}));
    EXPECT_EQ(probe::Pixel(*sharp, 20, 15), (probe::Rgb{255, 255, 255}));
    // The soften kernel takes each pixel with its right and lower neighbours: the last black
    // column becomes the mean of black and white, the rest stays.
    EXPECT_EQ(probe::Pixel(*soft, 18, 15), (probe::Rgb{0, 0, 0}));
    EXPECT_EQ(probe::Pixel(*soft, 19, 15), (probe::Rgb{128, 128, 128}));
    EXPECT_EQ(probe::Pixel(*soft, 20, 15), (probe::Rgb{255, 255, 255}));
    EXPECT_EQ(probe::Pixel(*soft, 5, 15), (probe::Rgb{0, 0, 0}));
    EXPECT_EQ(probe::Pixel(*soft, 35, 15), (probe::Rgb{255, 255, 255}));
}
