// The brush dialog driven as a user drives it, its patterns and textures, and the font and
// picture-file helpers.
#include "chart/editors/zuzbrushdlg.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/chartwalls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/jpeg.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/editorpicture.h"
#include "tests/chart/editors/editorunits.h"
#include "tests/chart/editors/modaldriver.h"
#include "tests/support/formtest.h"
#include "tests/support/guiprobe.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

namespace {

class BrushDialog : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartChartEditorUnits(); }
    void SetUp() override {
        brush.SetStyle(bsDiagCross);
        brush.SetColor(clNavy);
        brush.SetBackColor(clYellow);
        brush.OnChange = TNotifyEvent([this](TObject*) { ++changes; });
    }
    void ExpectAsSetUp() {
        EXPECT_EQ(brush.GetStyle(), bsDiagCross);
        EXPECT_EQ(brush.GetColor(), clNavy);
        EXPECT_EQ(brush.GetBackColor(), clYellow);
        EXPECT_FALSE(brush.HasImage() && brush.GetImage()->GetGraphic());
    }
    static bool HasPicture(TChartBrush& b) { return b.HasImage() && b.GetImage()->GetGraphic(); }
    // A picture file of a 4 x 4 green square.
    String GreenFile(const char* name) {
        auto bitmap = MakeOwned<TBitmap>();
        bitmap->SetSize(4, 4);
        bitmap->GetCanvas()->GetBrush()->SetColor(clLime);
        bitmap->GetCanvas()->FillRect(TRect(0, 0, 4, 4));
        const std::filesystem::path file = dir.path / name;
        if (file.extension() == ".jpg") {
            auto jpeg = MakeOwned<TJPEGImage>();
            jpeg->Assign(bitmap.get());
            jpeg->SaveToFile(UTF8ToString(file.string()));
        } else {
            bitmap->SaveToFile(UTF8ToString(file.string()));
        }
        return UTF8ToString(file.string());
    }
    TChartBrush brush;
    int changes = 0;
    TempDir dir{"moltren-brush"};
};

TEST_F(BrushDialog, OpensOnTheBrushsStyleWithAllItsStyles) {
    ModalDriver driver;
    driver.Form<TBrushDialog>(
        [](TBrushDialog& d) {
            ASSERT_EQ(d.LStyle->GetItems()->GetCount(), TBrushDialog::StyleCount);
            EXPECT_EQ(d.LStyle->GetItems()->GetStrings(8), u"Fill 80%");
            EXPECT_EQ(d.LStyle->GetItems()->GetStrings(26), u"Snow");
            EXPECT_EQ(d.LStyle->GetItemIndex(), bsDiagCross);
            EXPECT_EQ(d.Button1->GetCaption(), u"B&rowse...");
            EXPECT_EQ(d.Button1->GetTag(), 0);
            EXPECT_EQ(d.Image1->GetPicture()->GetGraphic(), nullptr);
            EXPECT_TRUE(d.BColor->GetEnabled());
            EXPECT_FALSE(d.CBTransp->GetChecked());
            EXPECT_TRUE(d.CBTransp->GetEnabled());
            EXPECT_FALSE(d.ImageSnow->GetVisible());
        },
        mrOk);
    EXPECT_TRUE(EditChartBrush(nullptr, &brush));
    ExpectAsSetUp();
    EXPECT_EQ(changes, 0);
}

TEST_F(BrushDialog, ABrushWithAPictureOpensWithNoStyleAndAClearButton) {
    TBitmap picture;
    picture.SetSize(3, 3);
    brush.GetImage()->Assign(&picture);
    ModalDriver driver;
    driver.Form<TBrushDialog>(
        [](TBrushDialog& d) {
            EXPECT_EQ(d.LStyle->GetItemIndex(), -1);
            EXPECT_EQ(d.Button1->GetCaption(), u"Clea&r");
            EXPECT_EQ(d.Button1->GetTag(), 1);
            EXPECT_NE(d.Image1->GetPicture()->GetGraphic(), nullptr);
        },
        mrOk);
    EXPECT_TRUE(EditChartBrush(nullptr, &brush));
}

TEST_F(BrushDialog, ATextureGivesThePictureAndAHatchTakesItAway) {
    ModalDriver driver;
    driver.Form<TBrushDialog>(
        [this](TBrushDialog& d) {
            probe::ClickItem(*d.LStyle, 26); // Snow
            EXPECT_TRUE(HasPicture(brush));
            EXPECT_EQ(brush.GetImage()->GetWidth(), 32);
            EXPECT_EQ(d.Button1->GetCaption(), u"Clea&r");
            probe::ClickItem(*d.LStyle, 6); // Cross
            EXPECT_FALSE(HasPicture(brush));
            EXPECT_EQ(d.Button1->GetCaption(), u"B&rowse...");
        },
        mrOk);
    EXPECT_TRUE(EditChartBrush(nullptr, &brush));
    EXPECT_EQ(brush.GetStyle(), bsCross);
    EXPECT_FALSE(HasPicture(brush));
}

TEST_F(BrushDialog, NoneDisablesBothColoursAndAPatternKeepsTheStyle) {
    ModalDriver driver;
    driver.Form<TBrushDialog>(
        [this](TBrushDialog& d) {
            probe::ClickItem(*d.LStyle, 1);
            EXPECT_EQ(brush.GetStyle(), bsClear);
            EXPECT_FALSE(d.BColor->GetEnabled());
            EXPECT_FALSE(d.BBackColor->GetEnabled());
            probe::ClickItem(*d.LStyle, 0);
            EXPECT_TRUE(d.BColor->GetEnabled());
            EXPECT_TRUE(d.BBackColor->GetEnabled());
            probe::ClickItem(*d.LStyle, 13); // zig zag: a pattern bitmap as the picture
            EXPECT_EQ(brush.GetStyle(), bsSolid);
            EXPECT_EQ(brush.GetImage()->GetWidth(), 8);
        },
        mrOk);
    EXPECT_TRUE(EditChartBrush(nullptr, &brush));
}

TEST_F(BrushDialog, TheTransparentBoxAndTheBackColourFollowEachOther) {
    ModalDriver driver;
    driver
        .Form<TBrushDialog>(
            [this](TBrushDialog& d) {
                d.CBTransp->SetChecked(true);
                EXPECT_EQ(brush.GetBackColor(), clNone);
                EXPECT_FALSE(d.CBTransp->GetEnabled());
                d.BBackColor->Click();
                EXPECT_EQ(brush.GetBackColor(), clAqua);
                EXPECT_FALSE(d.CBTransp->GetChecked());
                EXPECT_TRUE(d.CBTransp->GetEnabled());
            },
            mrOk)
        .Dialog(TDialogKind::ColorDialog, ColorChosen(clAqua));
    EXPECT_TRUE(EditChartBrush(nullptr, &brush));

    brush.SetBackColor(clNone);
    driver.Form<TBrushDialog>(
        [](TBrushDialog& d) {
            EXPECT_TRUE(d.CBTransp->GetChecked());
            EXPECT_FALSE(d.CBTransp->GetEnabled());
        },
        mrOk);
    EXPECT_TRUE(EditChartBrush(nullptr, &brush));
}

TEST_F(BrushDialog, EveryControlOnceThenCancelPutsTheBrushBack) {
    TBitmap pattern;
    pattern.SetSize(8, 8);
    brush.SetBitmap(&pattern);
    const String file = GreenFile("green.bmp");
    ModalDriver driver;
    driver
        .Form<TBrushDialog>([this](TBrushDialog& d) {
            EXPECT_EQ(d.Button1->GetCaption(), u"Clea&r"); // the pattern bitmap counts
            probe::ClickItem(*d.LStyle, 4);
            d.BColor->Click();
            d.BBackColor->Click();
            d.CBTransp->SetChecked(true);
            d.Button1->Click(); // clears the pattern
            EXPECT_EQ(brush.GetBitmap(), nullptr);
            d.Button1->Click(); // asks for a picture
            EXPECT_TRUE(HasPicture(brush));
            EXPECT_EQ(brush.GetStyle(), bsFDiagonal);
            EXPECT_EQ(brush.GetColor(), clMaroon);
            EXPECT_EQ(brush.GetBackColor(), clNone);
            d.Button3->Click();
        })
        .Dialog(TDialogKind::ColorDialog, ColorChosen(clMaroon))
        .Dialog(TDialogKind::ColorDialog, ColorChosen(clSilver))
        .Dialog(TDialogKind::OpenDialog, FileChosen(file));
    EXPECT_FALSE(EditChartBrush(nullptr, &brush));
    ExpectAsSetUp();
    EXPECT_NE(brush.GetBitmap(), nullptr);
}

TEST_F(BrushDialog, APictureThatIsNoBitmapBecomesOne) {
    const String file = GreenFile("green.jpg");
    ModalDriver driver;
    driver.Form<TBrushDialog>([](TBrushDialog& d) { d.Button1->Click(); }, mrOk)
        .Dialog(TDialogKind::OpenDialog, FileChosen(file));
    EXPECT_TRUE(EditChartBrush(nullptr, &brush));
    auto* bitmap = dynamic_cast<TBitmap*>(brush.GetImage()->GetGraphic());
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->GetWidth(), 4);
    const probe::Rgb c = probe::Pixel(*bitmap, 2, 2);
    EXPECT_LT(c.r, 40);
    EXPECT_GT(c.g, 200);
}

TEST_F(BrushDialog, TheDialogIsFreedWhenAnExceptionLeavesTheShow) {
    TestForm owner;
    const int before = owner->GetComponentCount();
    ModalDriver driver;
    driver.Form<TBrushDialog>([](TBrushDialog&) { throw EInvalidOperation(u"failed inside the dialog"); });
    EXPECT_THROW(EditChartBrush(owner.get(), &brush), EInvalidOperation);
    EXPECT_EQ(owner->GetComponentCount(), before);
}

TEST_F(BrushDialog, ThePatternsAndTexturesAreThereInTheirSizes) {
    for (int i = 0; i < 12; ++i) {
        TBitmap b;
        GetZuzBrush(i, &b);
        EXPECT_EQ(b.GetWidth(), 8) << i;
        EXPECT_EQ(b.GetHeight(), 8) << i;
        EXPECT_EQ(b.GetTransparentMode(), tmFixed);
        EXPECT_EQ(b.GetTransparentColor(), clWhite);
    }
    Owned<TBrushDialog> d(ZuzCreateForm<TBrushDialog>(nullptr));
    for (int i = 0; i < 19; ++i) {
        const Owned<TBitmap> b = d->GetInternalBrush(i);
        const int expected = i < 12 ? 8 : i < 15 ? 16 : 32;
        EXPECT_EQ(b->GetWidth(), expected) << i;
    }
    // Fill 80% covers more than Fill 10%.
    const auto inked = [&](int i) {
        const Owned<TBitmap> b = d->GetInternalBrush(i);
        int n = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) n += probe::Pixel(*b, x, y) == probe::Rgb{0, 0, 0};
        return n;
    };
    EXPECT_GT(inked(0), inked(4));
}

// ---------------------------------------------------------------------------
// Font and picture-file helpers

TEST_F(BrushDialog, AConfirmedFontIsCopiedBackAndACancelledOneIsNot) {
    TFont font;
    font.SetName(u"Arial");
    font.SetSize(10);
    ModalDriver driver;
    driver
        .Dialog(TDialogKind::FontDialog, FontChosen(u"Courier New", 14),
                [](const TDialogRequest& r) { EXPECT_EQ(r.Font->GetName(), u"Arial"); })
        .Dialog(TDialogKind::FontDialog, Answered(mrCancel));
    EXPECT_TRUE(EditZuzFont(nullptr, &font));
    EXPECT_EQ(font.GetName(), u"Courier New");
    EXPECT_EQ(font.GetSize(), 14);
    EXPECT_FALSE(EditZuzFont(nullptr, &font));
    EXPECT_EQ(font.GetName(), u"Courier New");
}

TEST_F(BrushDialog, APictureIsClearedOrAskedForAndLoaded) {
    const String file = GreenFile("load.bmp");
    TPicture picture;
    ModalDriver driver;
    driver.Dialog(TDialogKind::OpenDialog, Answered(mrCancel))
        .Dialog(TDialogKind::OpenDialog, FileChosen(file),
                [](const TDialogRequest& r) { EXPECT_NE(r.Filter.find(u"*.bmp"), String::npos); });
    EXPECT_EQ(ZuzGetPictureFileName(nullptr), u"");
    ZuzLoadClearImage(nullptr, &picture);
    EXPECT_EQ(picture.GetWidth(), 4);
    ZuzLoadClearImage(nullptr, &picture); // no dialog: it clears
    EXPECT_EQ(picture.GetGraphic(), nullptr);
}

// ---------------------------------------------------------------------------
// Pictures of the dialogs over a chart, to look at.

TEST_F(BrushDialog, PicturesOfThePenAndBrushDialogsOverAChart) {
    ChartBehind behind;
    TChartBrush& wall = *behind.chart->GetBackWall()->GetBrush();
    ModalDriver driver;
    driver
        .Form<TPenDialog>(
            [&](TPenDialog& d) {
                EXPECT_EQ(d.GetOwner(), behind.host.get());
                behind.Snapshot(d, "pen-dialog.png");
            },
            mrOk)
        .Form<TBrushDialog>(
            [&](TBrushDialog& d) {
                d.LStyle->SetItemIndex(22);
                behind.Snapshot(d, "brush-dialog.png");
            },
            mrOk);
    EXPECT_TRUE(EditChartPen(behind.chart, behind.series[0]->GetLinePen()));
    EXPECT_TRUE(EditChartBrush(behind.chart, &wall));
}

} // namespace
