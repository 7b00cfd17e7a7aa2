// The font editor: the face list (screen fonts, their common other-system names, added names),
// what is selected for a face that is not installed, the pages made on first opening, every
// control written into a chart title's font, and the modal editor's Cancel and clean-up.
#include "chart/editors/zuzedifont.h"

#include "chart/canvas/zuzfilters.h"
#include "chart/canvas/zuzfont.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/editors/zuzbackimage.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzshadoweditor.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/screenfonts.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/editorpicture.h"
#include "tests/chart/editors/modaldriver.h"
#include "tests/chart/editors/pagefixture.h"

#include <gtest/gtest.h>

namespace {

class FontEditor : public PageTest {
protected:
    // An editor embedded in a tab sheet of a shown form, as other editors hold it.
    TZuzFontEditor* Embedded(TZuzFont* Font) {
        TTabSheet* sheet = HostSheet();
        form->Show();
        TZuzFontEditor* e = InsertZuzFontEditor(sheet);
        e->RefreshControls(Font);
        return e;
    }
    static void ChooseName(TZuzFontEditor& e, const String& Name) {
        e.CBName->SetItemIndex(e.CBName->GetItems()->IndexOf(Name));
        e.CBName->OnChange(e.CBName);
    }
};

TEST_F(FontEditor, TheScreensFontsOfferTheInstalledFacesAndTheNamesMappedOntoThem) {
    TStrings* fonts = ScreenFonts();
    EXPECT_GE(fonts->IndexOf(u"Liberation Sans"), 0);
    EXPECT_GE(fonts->IndexOf(u"DejaVu Sans"), 0);
    EXPECT_GE(fonts->IndexOf(u"Arial"), 0); // the chart's default face draws in its twin
    EXPECT_GE(fonts->IndexOf(u"Times New Roman"), 0);
    EXPECT_GE(fonts->IndexOf(u"Nimbus Sans"), 0); // installed from more than one foundry
    for (int i = 0; i < fonts->GetCount(); ++i) EXPECT_EQ(fonts->GetStrings(i).find(u" ["), String::npos);
}

TEST_F(FontEditor, AFaceThatIsNotInstalledLeavesNoNameSelected) {
    TZuzFont font;
    TZuzFontEditor* e = Embedded(&font);
    EXPECT_EQ(e->CBName->CurrentItem(), u"Arial");
    TZuzFont missing;
    missing.SetName(u"Нет такого шрифта");
    e->RefreshControls(&missing);
    EXPECT_EQ(e->CBName->GetItemIndex(), -1);
    EXPECT_EQ(missing.GetName(), u"Нет такого шрифта");
}

TEST_F(FontEditor, TheAddedNamesJoinTheScreensFontsOnce) {
    static int calls = 0;
    ZuzAddFontNames = [](TStrings* Names) {
        ++calls;
        Names->Add(u"Шрифт прибора");
    };
    TZuzFont font;
    TZuzFontEditor* e = Embedded(&font);
    ZuzAddFontNames = nullptr;
    EXPECT_EQ(calls, 1);
    EXPECT_GE(e->CBName->GetItems()->IndexOf(u"Шрифт прибора"), 0);
    EXPECT_EQ(e->CBName->GetItems()->GetCount(), ScreenFonts()->GetCount() + 1);
}

TEST_F(FontEditor, TheEmbeddedEditorKeepsNoBackupAndWritesAtOnce) {
    TZuzFont* font = chart->GetTitle()->GetFont();
    TZuzFontEditor* e = Embedded(font);
    EXPECT_EQ(e->GetOwner(), nullptr);
    EXPECT_FALSE(e->PanelButtons->GetVisible());
    EXPECT_EQ(e->GetBackup(), nullptr);
    e->ESize->SetText(u"17");
    e->CBUnder->SetChecked(true);
    EXPECT_EQ(font->GetSize(), 17);
    EXPECT_TRUE(font->GetStyle().Contains(fsUnderline));
}

TEST_F(FontEditor, TheGradientPageIsMadeOnlyOnceThereIsAFont) {
    TZuzFontEditor* e = Embedded(nullptr);
    ChooseTab(e->PageControl1, e->TabGradient);
    EXPECT_EQ(e->GetGradientEditor(), nullptr);
    EXPECT_EQ(e->TabGradient->GetControlCount(), 0);
    TZuzFont font;
    e->RefreshControls(&font);
    ChooseTab(e->PageControl1, e->TabSheet1);
    ChooseTab(e->PageControl1, e->TabGradient);
    ASSERT_NE(e->GetGradientEditor(), nullptr);
    EXPECT_EQ(e->GetGradientEditor()->GetGradient(), font.GetGradient());
    ChooseTab(e->PageControl1, e->TabSheet1);
    ChooseTab(e->PageControl1, e->TabGradient);
    EXPECT_EQ(e->TabGradient->GetControlCount(), 1);
}

TEST_F(FontEditor, EveryControlWritesTheTitlesFont) {
    ChartBehind behind;
    TZuzFont* font = behind.chart->GetTitle()->GetFont();
    font->SetSize(12);
    ModalDriver driver;
    driver
        .Form<TZuzFontEditor>(
            [&](TZuzFontEditor& e) {
                EXPECT_TRUE(e.PanelButtons->GetVisible());
                EXPECT_EQ(e.UDSize->GetPosition(), 12);
                behind.Snapshot(e, "font-editor.png");
                ChooseName(e, u"Liberation Serif");
                e.ESize->SetText(u"14");
                e.CBItalic->SetChecked(true);
                e.CBBold->SetChecked(true);
                e.CBStrike->SetChecked(true);
                e.CBUnder->SetChecked(true);
                e.BColor->Click(); // colour dialog: blue
                e.EInter->SetText(u"3");
                e.BOutline->Click(); // pen dialog: width 2
                e.CBOutGrad->SetChecked(true);
                ChooseTab(e.PageControl1, e.TabShadow);
                e.GetShadowEditor()->Edit1->SetText(u"4");
                ChooseTab(e.PageControl1, e.TabGradient);
                e.GetGradientEditor()->CBVisible->SetChecked(true);
                ChooseTab(e.PageControl1, e.TabPicture);
                EXPECT_FALSE(e.GetPictureEditor()->RGBitmap->GetVisible());
                EXPECT_FALSE(e.GetPictureEditor()->GBPosition->GetVisible());
                EXPECT_EQ(e.GetPictureEditor()->GetPicture(), font->GetPicture());
                behind.Snapshot(e, "font-editor-gradient.png");
                e.Button1->Click();
            },
            mrNone)
        .Dialog(TDialogKind::ColorDialog, ColorChosen(clBlue))
        .Form<TPenDialog>([](TPenDialog& d) { d.UDWidth->SetPosition(2); }, mrOk);
    EXPECT_TRUE(EditZuzFontEx(behind.host.get(), font));
    EXPECT_EQ(font->GetName(), u"Liberation Serif");
    EXPECT_EQ(font->GetSize(), 14);
    EXPECT_EQ(font->GetStyle(), TFontStyles({fsBold, fsItalic, fsUnderline, fsStrikeOut}));
    EXPECT_EQ(font->GetColor(), clBlue);
    EXPECT_EQ(font->GetInterCharSize(), 3);
    EXPECT_EQ(font->GetOutLine()->GetWidth(), 2);
    EXPECT_TRUE(font->GetGradient()->GetOutline());
    EXPECT_EQ(font->GetShadow()->GetHorizSize(), 4);
    EXPECT_TRUE(font->GetGradient()->GetVisible());
}

TEST_F(FontEditor, TheStandardFontDialogRefreshesTheBasicControls) {
    TZuzFont font;
    TZuzFontEditor* e = Embedded(&font);
    ModalDriver driver;
    driver.Dialog(TDialogKind::FontDialog, FontChosen(u"Liberation Mono", 11));
    e->Button3->Click();
    EXPECT_EQ(font.GetName(), u"Liberation Mono");
    EXPECT_EQ(font.GetSize(), 11);
    EXPECT_EQ(e->CBName->CurrentItem(), u"Liberation Mono");
    EXPECT_EQ(e->UDSize->GetPosition(), 11);
}

TEST_F(FontEditor, CancelPutsTheWholeFontBack) {
    TZuzFont* font = chart->GetTitle()->GetFont();
    font->SetColor(clMaroon);
    font->GetShadow()->SetHorizSize(2);
    const String name = font->GetName();
    const int size = font->GetSize();
    const TFontStyles style = font->GetStyle();
    ModalDriver driver;
    driver.Form<TZuzFontEditor>(
        [&](TZuzFontEditor& e) {
            ChooseName(e, u"DejaVu Sans");
            e.ESize->SetText(u"30");
            e.CBBold->SetChecked(!e.CBBold->GetChecked());
            e.EInter->SetText(u"-5");
            ChooseTab(e.PageControl1, e.TabShadow);
            e.GetShadowEditor()->Edit1->SetText(u"9");
            e.Button2->Click();
        },
        mrNone);
    EXPECT_FALSE(EditZuzFontEx(form.get(), font));
    EXPECT_EQ(font->GetName(), name);
    EXPECT_EQ(font->GetSize(), size);
    EXPECT_EQ(font->GetStyle(), style);
    EXPECT_EQ(font->GetInterCharSize(), 0);
    EXPECT_EQ(font->GetColor(), clMaroon);
    EXPECT_EQ(font->GetShadow()->GetHorizSize(), 2);
}

TEST_F(FontEditor, ClosingTheModalEditorWithoutOKAlsoPutsTheFontBack) {
    TZuzFont* font = chart->GetTitle()->GetFont();
    const int size = font->GetSize();
    ModalDriver driver;
    driver.Form<TZuzFontEditor>([](TZuzFontEditor& e) { e.ESize->SetText(u"31"); }, mrCancel);
    EXPECT_FALSE(EditZuzFontEx(form.get(), font));
    EXPECT_EQ(font->GetSize(), size);
}

TEST_F(FontEditor, TheModalEditorIsFreedWhenAnExceptionLeavesTheShow) {
    const int before = form->GetComponentCount();
    ModalDriver driver;
    driver.Form<TZuzFontEditor>([](TZuzFontEditor&) { throw EInvalidOperation(u"failed inside"); });
    EXPECT_THROW(EditZuzFontEx(form.get(), chart->GetTitle()->GetFont()), EInvalidOperation);
    EXPECT_EQ(form->GetComponentCount(), before);
}

} // namespace
