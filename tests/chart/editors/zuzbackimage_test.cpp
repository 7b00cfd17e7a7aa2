// The background picture editor: what an empty, a plain and a back-image picture show and
// enable, every control written into the chart's back image, and the modal and embedded uses.
#include "chart/editors/zuzbackimage.h"

#include "chart/canvas/zuzpanelext.h"
#include "chart/editors/zuzfilterseditor.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/dialogfixture.h"
#include "tests/chart/editors/modaldriver.h"

#include <gtest/gtest.h>

namespace {

class BackImageEditor : public DialogTest {
protected:
    static Owned<TBitmap> Bitmap(int W, int H) {
        auto b = MakeOwned<TBitmap>();
        b->SetPixelFormat(pf24bit);
        b->SetSize(W, H);
        b->GetCanvas()->GetBrush()->SetColor(clTeal);
        b->GetCanvas()->FillRect(TRect(0, 0, W, H));
        return b;
    }
    TBackImageEditor* Embedded(TZuzPicture* Picture) {
        auto* e = Create<TBackImageEditor>(form.get());
        e->RefreshControls(Picture);
        return e;
    }
};

TEST_F(BackImageEditor, AnEmptyPictureOffersBrowseAndNoStyleOrSize) {
    TBackImage* back = chart->GetBackImage();
    TBackImageEditor* e = Embedded(back);
    EXPECT_EQ(e->BBrowse->GetCaption(), u"B&rowse...");
    EXPECT_FALSE(e->RGBitmap->GetEnabled());
    EXPECT_FALSE(e->LabelSize->GetVisible());
    EXPECT_FALSE(e->LabelExt->GetVisible());
    EXPECT_FALSE(e->CBTransp->GetEnabled());
    EXPECT_FALSE(e->PanelButtons->GetVisible());
}

TEST_F(BackImageEditor, APlainPictureHidesTheStyleAndThePosition) {
    TZuzPicture plain;
    plain.SetGraphic(Bitmap(10, 10).get());
    TBackImageEditor* e = Embedded(&plain);
    EXPECT_FALSE(e->RGBitmap->GetVisible());
    EXPECT_FALSE(e->GBPosition->GetVisible());
    EXPECT_EQ(e->BBrowse->GetCaption(), u"Clea&r");
}

TEST_F(BackImageEditor, ThePositionIsEditableOnlyInCustomMode) {
    TBackImage* back = chart->GetBackImage();
    back->SetGraphic(Bitmap(64, 48).get());
    back->SetMode(pbmTile);
    TBackImageEditor* e = Embedded(back);
    EXPECT_EQ(e->RGBitmap->GetItemIndex(), 1);
    EXPECT_FALSE(e->ELeft->GetEnabled());
    EXPECT_FALSE(e->UDTop->GetEnabled());
    probe::Click(*e->RGBitmap, 3);
    e->RGBitmapClick(e->RGBitmap);
    EXPECT_EQ(back->GetMode(), pbmCustom);
    EXPECT_TRUE(e->ELeft->GetEnabled());
    EXPECT_TRUE(e->ETop->GetEnabled());
    EXPECT_TRUE(e->UDLeft->GetEnabled());
}

TEST_F(BackImageEditor, EveryControlWritesTheChartsBackImageAtOnce) {
    TBackImage* back = chart->GetBackImage();
    back->SetGraphic(Bitmap(64, 48).get());
    form->Show();
    ModalDriver driver;
    driver.Form<TBackImageEditor>([&](TBackImageEditor& e) {
        SavePicture(e, "picture-editor.png");
        EXPECT_TRUE(e.PanelButtons->GetVisible());
        EXPECT_EQ(e.LabelSize->GetCaption(), u"64x48");
        EXPECT_EQ(e.LabelExt->GetCaption(), u"bmp");
        e.RGBitmap->SetItemIndex(3);
        e.RGBitmapClick(e.RGBitmap);
        e.ELeft->SetText(u"12");
        e.ETop->SetText(u"-7");
        e.CBTransp->SetChecked(true);
        EXPECT_TRUE(back->GetGraphic()->GetTransparent());
        e.Button1->Click(); // the filters dialog, next step
        e.BBrowse->Click(); // a picture holding a graphic is cleared
        EXPECT_TRUE(back->GetGraphic() == nullptr || back->GetGraphic()->GetEmpty());
        EXPECT_EQ(e.BBrowse->GetCaption(), u"B&rowse...");
        EXPECT_FALSE(e.RGBitmap->GetEnabled());
    });
    driver.Form<TFiltersEditor>(nullptr);
    EXPECT_TRUE(EditZuzPicture(form.get(), back));
    EXPECT_EQ(back->GetMode(), pbmCustom);
    EXPECT_EQ(back->GetLeft(), 12);
    EXPECT_EQ(back->GetTop(), -7);
}

TEST_F(BackImageEditor, CancelKeepsWhatWasChanged) {
    TBackImage* back = chart->GetBackImage();
    back->SetGraphic(Bitmap(8, 8).get());
    ModalDriver driver;
    driver.Form<TBackImageEditor>(
        [](TBackImageEditor& e) {
            e.RGBitmap->SetItemIndex(2);
            e.RGBitmapClick(e.RGBitmap);
        },
        mrCancel);
    EXPECT_FALSE(EditZuzPicture(form.get(), back));
    EXPECT_EQ(back->GetMode(), pbmCenter);
}

TEST_F(BackImageEditor, TheEmbeddedEditorLivesOnItsTabSheet) {
    auto* pages = Create<TPageControl>(form.get());
    pages->SetParent(form.get());
    pages->SetBounds(0, 0, 400, 300);
    auto* sheet = Create<TTabSheet>(form.get());
    sheet->SetPageControl(pages);
    TBackImageEditor* e = InsertImageEditor(sheet);
    EXPECT_EQ(e->GetParent(), sheet);
    EXPECT_EQ(e->GetOwner(), nullptr);
    EXPECT_EQ(e->GetBorderStyle(), bsNone);
    e->RefreshControls(chart->GetBackImage());
    EXPECT_EQ(e->GetPicture(), chart->GetBackImage());
}

} // namespace
