// The shadow editor: nothing is written before its first show or while it fills itself, the
// smoothing and visibility boxes enable their controls, every control writes the shadow of a
// chart's title at once, and the modal editor is freed on every way out.
#include "chart/editors/zuzshadoweditor.h"

#include "chart/canvas/zuzcolor.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzshadow.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/editorpicture.h"
#include "tests/chart/editors/modaldriver.h"
#include "tests/chart/editors/pagefixture.h"

#include <gtest/gtest.h>

namespace {

class ShadowEditor : public PageTest {
protected:
    TZuzShadow* Shadow() { return chart->GetTitle()->GetShadow(); }
};

TEST_F(ShadowEditor, ASizeTypedBeforeTheFirstShowWritesNothing) {
    TZuzShadow shadow;
    shadow.SetHorizSize(3);
    auto* e = Create<TZuzShadowEditor>(form.get());
    e->RefreshControls(&shadow);
    e->Edit1->SetText(u"9");
    e->EVertSize->SetText(u"8");
    e->EShadowTransp->SetText(u"50");
    e->TBBlur->SetPosition(30);
    EXPECT_EQ(shadow.GetHorizSize(), 3);
    EXPECT_EQ(shadow.GetVertSize(), 0);
    EXPECT_EQ(shadow.GetTransparency(), 0);
    EXPECT_EQ(shadow.GetSmoothBlur(), 0);
}

TEST_F(ShadowEditor, ShowingAnotherShadowChangesNothingInIt) {
    TZuzShadow first, second;
    second.SetColor(TColor(0x123456)); // does not survive luminance steps exactly
    second.SetHorizSize(-4);
    second.SetSmoothBlur(12);
    second.SetTransparency(30);
    int changes = 0;
    second.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
    TZuzShadowEditor* e = InsertZuzShadowEditor(form.get());
    form->Show();
    e->RefreshControls(&first);
    e->RefreshControls(&second);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(second.GetColor(), TColor(0x123456));
    EXPECT_EQ(e->UDShadowSize->GetPosition(), -4);
    EXPECT_EQ(e->TBBlur->GetPosition(), 12);
    EXPECT_EQ(e->UDShadowTransp->GetPosition(), 30);
}

TEST_F(ShadowEditor, TheSmoothAndVisibleBoxesEnableTheirControls) {
    TZuzShadow shadow;
    shadow.SetSmooth(false);
    shadow.SetVisible(false);
    TZuzShadowEditor* e = InsertZuzShadowEditor(form.get());
    e->RefreshControls(&shadow);
    EXPECT_FALSE(e->TBBlur->GetEnabled());
    EXPECT_FALSE(e->CBClip->GetEnabled());
    EXPECT_FALSE(e->Edit1->GetEnabled());
    EXPECT_FALSE(e->EVertSize->GetEnabled());
    e->CBSmooth->SetChecked(true);
    e->CBVisible->SetChecked(true);
    EXPECT_TRUE(shadow.GetSmooth());
    EXPECT_TRUE(shadow.GetVisible());
    EXPECT_TRUE(e->TBBlur->GetEnabled());
    EXPECT_TRUE(e->CBClip->GetEnabled());
    EXPECT_TRUE(e->Edit1->GetEnabled());
    EXPECT_TRUE(e->EVertSize->GetEnabled());
}

TEST_F(ShadowEditor, TheEmbeddedEditorHasNoOwnerAndNoOKButton) {
    TTabSheet* sheet = HostSheet();
    form->Show();
    TZuzShadowEditor* e = InsertZuzShadowEditor(sheet);
    EXPECT_EQ(e->GetOwner(), nullptr);
    EXPECT_EQ(e->GetParent(), sheet);
    EXPECT_EQ(e->GetBorderStyle(), bsNone);
    EXPECT_FALSE(e->BOK->GetVisible());
    EXPECT_TRUE(e->GetShowing());
    e->RefreshControls(Shadow());
    e->Edit1->SetText(u"6");
    EXPECT_EQ(Shadow()->GetHorizSize(), 6);
}

TEST_F(ShadowEditor, EveryControlWritesTheTitlesShadowAtOnce) {
    ChartBehind behind;
    TZuzShadow* shadow = behind.chart->GetTitle()->GetShadow();
    shadow->SetColor(clGray);
    ModalDriver driver;
    driver.Form<TZuzShadowEditor>(
        [&](TZuzShadowEditor& e) {
            EXPECT_TRUE(e.BOK->GetVisible());
            e.Edit1->SetText(u"5");
            e.EVertSize->SetText(u"-3");
            e.EShadowTransp->SetText(u"40");
            e.TBBlur->SetPosition(20);
            e.CBClip->SetChecked(true);
            e.TBColor->SetPosition(60); // darker grey: hue and saturation kept
            behind.Snapshot(e, "shadow-editor.png");
            e.BShadowColor->Click(); // the colour dialog answers red
            e.TBColor->SetPosition(50);
            e.CBSmooth->SetChecked(false);
            e.CBVisible->SetChecked(false);
            e.BOK->Click();
        },
        mrNone);
    driver.Dialog(TDialogKind::ColorDialog, ColorChosen(clRed));
    EXPECT_TRUE(EditZuzShadow(behind.host.get(), shadow));
    EXPECT_EQ(shadow->GetHorizSize(), 5);
    EXPECT_EQ(shadow->GetVertSize(), -3);
    EXPECT_EQ(shadow->GetTransparency(), 40);
    EXPECT_EQ(shadow->GetSmoothBlur(), 20);
    EXPECT_TRUE(shadow->GetClip());
    EXPECT_FALSE(shadow->GetSmooth());
    EXPECT_FALSE(shadow->GetVisible());
    Word h = 0, l = 0, s = 0, redH = 0, redL = 0, redS = 0;
    ColorToHLS(shadow->GetColor(), h, l, s);
    ColorToHLS(clRed, redH, redL, redS);
    EXPECT_EQ(h, redH); // the luminance bar after a new colour works from that colour
    EXPECT_EQ(s, redS);
    EXPECT_NEAR(l, 50, 1); // the colour is whole RGB steps
}

TEST_F(ShadowEditor, TheModalEditorIsFreedWhenAnExceptionLeavesTheShow) {
    const int before = form->GetComponentCount();
    ModalDriver driver;
    driver.Form<TZuzShadowEditor>([](TZuzShadowEditor&) { throw EInvalidOperation(u"failed inside"); });
    EXPECT_THROW(EditZuzShadow(form.get(), Shadow()), EInvalidOperation);
    EXPECT_EQ(form->GetComponentCount(), before);
}

} // namespace
