// The custom shape editor: the bevel and round-frame enabling, its six pages moved live into a
// host page control, every control written into a chart title's box, the modal form built in
// code, and that form freed on every way out.
#include "chart/editors/zuzcustomshapeeditor.h"

#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzfont.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzpanelext.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/canvas/zuzshape.h"
#include "chart/editors/zuzbackimage.h"
#include "chart/editors/zuzbrushdlg.h"
#include "chart/editors/zuzedifont.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzshadoweditor.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/editorpicture.h"
#include "tests/chart/editors/modaldriver.h"
#include "tests/chart/editors/pagefixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class ShapeEditor : public PageTest {
protected:
    TZuzCustomShape* Title() { return chart->GetTitle(); }
    // The shape form's pages moved into a shown host page control beside its own "Style" page,
    // whose change handler fills the shape form's pages as a host page does.
    TFormZuzShape* Hosted() {
        TTabSheet* own = HostSheet();
        own->SetCaption(u"Style");
        form->Show();
        TPageControl* host = own->GetPageControl();
        TFormZuzShape* f = InsertZuzObjectForm(host, Title());
        host->OnChange = TNotifyEvent([f](TObject* s) { f->PC1Change(s); });
        return f;
    }
    static void ChooseBevel(TFormZuzShape& f, int Index) {
        f.CBBevel->SetItemIndex(Index);
        f.CBBevel->OnChange(f.CBBevel);
    }
};

TEST_F(ShapeEditor, BevelNoneDisablesTheBevelSizeAndRaisedEnablesIt) {
    const Owned<TFormZuzShape> f{TFormZuzShape::CreateForm(nullptr, Title(), nullptr)};
    f->RefreshControls(Title());
    EXPECT_EQ(f->CBBevel->GetItemIndex(), 0);
    EXPECT_FALSE(f->EBevWidth->GetEnabled());
    EXPECT_FALSE(f->UDBevW->GetEnabled());
    ChooseBevel(*f, 2);
    EXPECT_EQ(Title()->GetBevel(), bvRaised);
    EXPECT_TRUE(f->EBevWidth->GetEnabled());
    EXPECT_TRUE(f->UDBevW->GetEnabled());
    ChooseBevel(*f, 0);
    EXPECT_EQ(Title()->GetBevel(), bvNone);
    EXPECT_FALSE(f->EBevWidth->GetEnabled());
    Title()->SetBevel(bvSpace); // not in the list, yet sized
    f->RefreshControls(Title());
    EXPECT_TRUE(f->EBevWidth->GetEnabled());
}

TEST_F(ShapeEditor, NothingIsWrittenBeforeTheControlsWereFilledFromTheShape) {
    const Owned<TFormZuzShape> f{TFormZuzShape::CreateForm(nullptr, Title(), nullptr)};
    f->EShadowTransp->SetText(u"40");
    f->CBTransparent->SetChecked(!Title()->GetTransparent());
    f->ERoundSize->SetText(u"9");
    EXPECT_EQ(Title()->GetTransparency(), 0);
    EXPECT_NE(Title()->GetTransparent(), f->CBTransparent->GetChecked());
    EXPECT_NE(Title()->GetRoundSize(), 9);
}

TEST_F(ShapeEditor, TheHostPageControlTakesAllSixPagesLiveAndInOrder) {
    TFormZuzShape* f = Hosted();
    TPageControl* host = f->TabFormat->GetPageControl();
    EXPECT_EQ(f->PC1->GetPageCount(), 0);
    std::vector<String> captions;
    for (int i = 0; i < host->GetPageCount(); ++i) captions.push_back(host->GetPage(i)->GetCaption());
    EXPECT_EQ(captions, (std::vector<String>{u"Style", u"Format", u"Border", u"Text", u"Gradient", u"Shadow",
                                             u"Picture"}));
    EXPECT_EQ(host->GetActivePageIndex(), 0);
    EXPECT_EQ(f->GetParent(), host);
    EXPECT_FALSE(f->GetVisible());
    // The moved pages keep their controls, show them, and still write through the form.
    f->RefreshControls(Title());
    host->SetActivePage(f->TabFormat);
    probe::ProcessEvents();
    EXPECT_EQ(f->CBTransparent->GetParent(), f->TabFormat);
    EXPECT_TRUE(f->CBTransparent->GetShowing());
    EXPECT_TRUE(probe::Shown(*f->CBTransparent));
    f->CBTransparent->SetChecked(true);
    EXPECT_TRUE(Title()->GetTransparent());
    ChooseTab(host, f->TabText);
    ASSERT_NE(f->GetFontEditor(), nullptr);
    EXPECT_EQ(f->GetFontEditor()->GetParent(), f->TabText);
    EXPECT_TRUE(f->GetFontEditor()->GetShowing());
    EXPECT_EQ(f->GetFontEditor()->GetEditedFont(), Title()->GetFont());
    EXPECT_FALSE(f->CBTransparent->GetShowing());
}

TEST_F(ShapeEditor, AHostFreeingTheMovedPagesLeavesTheFormNothingFreedToReach) {
    TFormZuzShape* f = Hosted();
    TPageControl* host = f->TabFormat->GetPageControl();
    f->RefreshControls(Title());
    for (TTabSheet* page : {f->TabText, f->TabGradient, f->TabShadow, f->TabImage}) ChooseTab(host, page);
    ASSERT_NE(f->GetFontEditor(), nullptr);
    ASSERT_NE(f->GetPictureEditor(), nullptr);
    for (TTabSheet* page : {f->TabText, f->TabGradient, f->TabShadow, f->TabImage}) page->Free();
    EXPECT_EQ(f->GetFontEditor(), nullptr);
    EXPECT_EQ(f->GetGradientEditor(), nullptr);
    EXPECT_EQ(f->GetShadowEditor(), nullptr);
    EXPECT_EQ(f->GetPictureEditor(), nullptr);
    Title()->SetBevelWidth(4);
    f->RefreshControls(Title());
    EXPECT_EQ(f->UDBevW->GetPosition(), 4);
    while (host->GetPageCount() > 1) host->GetPage(1)->Free();
    f->RefreshControls(Title());
    ChooseTab(host, host->GetPage(0));
    EXPECT_EQ(f->GetShape(), Title());
}

TEST_F(ShapeEditor, EveryControlWritesTheTitlesBox) {
    ChartBehind behind;
    TZuzCustomShape* title = behind.chart->GetTitle();
    ModalDriver driver;
    driver
        .Form<TFormZuzShape>(
            [&](TFormZuzShape& f) {
                EXPECT_EQ(f.PC1->GetActivePage(), f.TabFormat);
                EXPECT_FALSE(f.ERoundSize->GetEnabled());
                behind.Snapshot(f, "custom-shape-editor.png");
                f.BBackColor->Click(); // colour dialog: yellow
                f.Button6->Click();    // brush dialog: diagonal cross
                f.CBTransparent->SetChecked(true);
                f.EShadowTransp->SetText(u"25");
                f.PC1->SetActivePage(f.TabSheet1);
                f.CBRound->SetChecked(true);
                EXPECT_TRUE(f.ERoundSize->GetEnabled());
                EXPECT_TRUE(f.UDRoundSize->GetEnabled());
                f.ERoundSize->SetText(u"12");
                ChooseBevel(f, 1);
                f.EBevWidth->SetText(u"3");
                f.Button4->Click(); // pen dialog: width 3
                behind.Snapshot(f, "custom-shape-editor-border.png");
                ChooseTab(f.PC1, f.TabText);
                f.GetFontEditor()->ESize->SetText(u"15");
                ChooseTab(f.PC1, f.TabGradient);
                f.GetGradientEditor()->CBVisible->SetChecked(true);
                ChooseTab(f.PC1, f.TabShadow);
                f.GetShadowEditor()->EVertSize->SetText(u"6");
                ChooseTab(f.PC1, f.TabImage);
                EXPECT_EQ(f.GetPictureEditor()->GetPicture(), title->GetPicture());
                ChooseTab(f.PC1, f.TabText);
                behind.Snapshot(f, "custom-shape-editor-text.png");
            },
            mrOk)
        .Dialog(TDialogKind::ColorDialog, ColorChosen(clYellow))
        .Form<TBrushDialog>([](TBrushDialog& d) { probe::ClickItem(*d.LStyle, bsDiagCross); }, mrOk)
        .Form<TPenDialog>([](TPenDialog& d) { d.UDWidth->SetPosition(3); }, mrOk);
    EditZuzCustomShape(behind.host.get(), title);
    EXPECT_EQ(title->GetColor(), clYellow);
    EXPECT_EQ(title->GetBrush()->GetStyle(), bsDiagCross);
    EXPECT_TRUE(title->GetTransparent());
    EXPECT_EQ(title->GetTransparency(), 25);
    EXPECT_EQ(title->GetShapeStyle(), fosRoundRectangle);
    EXPECT_EQ(title->GetRoundSize(), 12);
    EXPECT_EQ(title->GetBevel(), bvLowered);
    EXPECT_EQ(title->GetBevelWidth(), 3);
    EXPECT_EQ(title->GetPen()->GetWidth(), 3);
    EXPECT_EQ(title->GetFont()->GetSize(), 15);
    EXPECT_TRUE(title->GetGradient()->GetVisible());
    EXPECT_EQ(title->GetShadow()->GetVertSize(), 6);
}

TEST_F(ShapeEditor, TheModalFormHasItsOKPanelAndCanHideTheTextAndShadowPages) {
    ModalDriver driver;
    driver.Form<TFormZuzShape>(
        [](TFormZuzShape& f) {
            const Owned<TFormZuzShape> plain{TFormZuzShape::CreateForm(nullptr, nullptr, nullptr)};
            EXPECT_EQ(f.GetHeight(), plain->GetHeight() + 30);
            EXPECT_EQ(f.GetBorderStyle(), bsDialog);
            TButton* ok = nullptr;
            for (int i = 0; i < f.GetComponentCount(); ++i)
                if (auto* b = dynamic_cast<TButton*>(f.GetComponent(i)); b && b->GetCaption() == u"OK")
                    ok = b;
            ASSERT_NE(ok, nullptr);
            EXPECT_EQ(ok->GetModalResult(), mrOk);
            EXPECT_EQ(ok->GetLeft(), f.GetWidth() - 98);
            EXPECT_EQ(ok->GetTop(), 4);
            EXPECT_EQ(ok->GetParent()->GetHeight(), 34);
            EXPECT_FALSE(f.TabText->GetTabVisible());
            EXPECT_FALSE(f.TabShadow->GetTabVisible());
            EXPECT_TRUE(f.TabGradient->GetTabVisible());
            ok->Click();
        },
        mrNone);
    EditZuzCustomShape(form.get(), Title(), true);
}

TEST_F(ShapeEditor, TheModalFormIsFreedOnEveryWayOut) {
    const int before = form->GetComponentCount();
    {
        ModalDriver driver;
        driver.Form<TFormZuzShape>([](TFormZuzShape&) {}, mrOk);
        EditZuzCustomShape(form.get(), Title());
    }
    EXPECT_EQ(form->GetComponentCount(), before);
    ModalDriver driver;
    driver.Form<TFormZuzShape>([](TFormZuzShape&) { throw EInvalidOperation(u"failed inside"); });
    EXPECT_THROW(EditZuzCustomShape(form.get(), Title()), EInvalidOperation);
    EXPECT_EQ(form->GetComponentCount(), before);
}

TEST_F(ShapeEditor, AHostsVisibleBoxShowsAndHidesTheShape) {
    const Owned<TFormZuzShape> f{TFormZuzShape::CreateForm(nullptr, Title(), nullptr)};
    auto* box = Create<TCheckBox>(f.get());
    box->SetParent(f->TabFormat);
    box->OnClick = TNotifyEvent([&](TObject* s) { f->CBVisibleChecked(s); });
    box->SetChecked(true);
    box->SetChecked(false);
    EXPECT_FALSE(Title()->GetVisible());
    box->SetChecked(true);
    EXPECT_TRUE(Title()->GetVisible());
}

} // namespace
