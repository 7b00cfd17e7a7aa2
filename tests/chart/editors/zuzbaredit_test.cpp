// The bar series' page and its "Stack" page: enabling by style, the gradient button on a cone,
// every control written into the series, nothing written while loading, a bad origin text.
#include "chart/editors/zuzbaredit.h"

#include "chart/canvas/zuzcontrols.h"
#include "chart/editors/zuzbrushdlg.h"
#include "chart/editors/zuzshadoweditor.h"
#include "chart/editors/zuzstackbaredit.h"
#include "chart/series/series_bar.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/serieseditorfixture.h"

namespace {

class BarEditor : public SeriesEditorTest {
protected:
    void SetUp() override {
        SeriesEditorTest::SetUp();
        bar = AddSeries<TBarSeries>();
    }
    TBarSeries* bar = nullptr;
};

TEST_F(BarEditor, ShowingTheSeriesWritesNothingBack) {
    bar->SetBarWidthPercent(63);
    bar->SetOffsetPercent(-35);
    bar->SetDepthPercent(42);
    bar->SetBevelSize(7);
    bar->SetDarkPen(40);
    bar->SetTransparency(30);
    bar->SetBarStyle(bsCilinder);
    auto* e = Embed<TBarSeriesEditor>(bar);
    EXPECT_EQ(e->CBBarStyle->GetItemIndex(), bsCilinder);
    EXPECT_EQ(e->SEBarwidth->GetText(), u"63");
    EXPECT_EQ(e->UDBarOffset->GetPosition(), -35);
    EXPECT_EQ(e->TBTransp->GetPosition(), 30);
    EXPECT_EQ(e->BBarColor->GetSymbolColor(), bar->GetSeriesColor()); // also the palette's colour
    EXPECT_EQ(bar->GetBarWidthPercent(), 63);
    EXPECT_EQ(bar->GetOffsetPercent(), -35);
    EXPECT_EQ(bar->GetDepthPercent(), 42);
    EXPECT_EQ(bar->GetBevelSize(), 7);
    EXPECT_EQ(bar->GetDarkPen(), 40);
    EXPECT_EQ(bar->GetBarStyle(), bsCilinder);
}

TEST_F(BarEditor, OnlyBevelEnablesTheBevelSizeAndOnlyRectanglesTheGradient) {
    auto* e = Embed<TBarSeriesEditor>(bar);
    probe::Choose(*e->CBBarStyle, bsBevel);
    EXPECT_EQ(bar->GetBarStyle(), bsBevel);
    EXPECT_TRUE(e->EBevel->GetEnabled());
    EXPECT_TRUE(e->UDBevel->GetEnabled());
    EXPECT_FALSE(e->BGradient->GetEnabled());
    probe::Choose(*e->CBBarStyle, bsPyramid);
    EXPECT_FALSE(e->EBevel->GetEnabled());
    EXPECT_FALSE(e->LBevel->GetEnabled());
    EXPECT_FALSE(e->BGradient->GetEnabled());
    probe::Choose(*e->CBBarStyle, bsRectGradient);
    EXPECT_TRUE(e->BGradient->GetEnabled());
}

TEST_F(BarEditor, GradientOnAConeTurnsTheBarsToRectGradientBeforeTheEditorOpens) {
    bar->SetBarStyle(bsCone);
    auto* e = Embed<TBarSeriesEditor>(bar);
    EXPECT_FALSE(e->BGradient->GetEnabled());
    ModalDriver driver;
    driver.Form<TZuzGradientEditor>(
        [&](TZuzGradientEditor&) {
            EXPECT_EQ(bar->GetBarStyle(), bsRectGradient);
            EXPECT_EQ(e->CBBarStyle->GetItemIndex(), bsRectGradient);
        },
        mrCancel);
    e->BGradientClick(e->BGradient);
    EXPECT_TRUE(e->BGradient->GetEnabled());
}

TEST_F(BarEditor, EveryControlWritesItsPropertyAtOnce) {
    auto* e = Embed<TBarSeriesEditor>(bar);
    e->SEBarwidth->SetText(u"55");
    e->UDBarOffset->Click(btPrev);
    e->Edit1->SetText(u"0"); // held at the minimum 1
    probe::Click(*e->CBColorEach);
    probe::Click(*e->CBDarkBar);
    probe::Click(*e->CBBarSideMargins);
    probe::Click(*e->CBMarksAutoPosition);
    e->TBTransp->SetPosition(40);
    probe::Choose(*e->CBBarStyle, bsBevel);
    e->EBevel->SetText(u"9");
    e->Edit2->SetText(u"300"); // held at the maximum 255
    EXPECT_EQ(bar->GetBarWidthPercent(), 55);
    EXPECT_EQ(bar->GetOffsetPercent(), -5);
    EXPECT_EQ(bar->GetDepthPercent(), 1);
    EXPECT_TRUE(bar->GetColorEachPoint());
    EXPECT_FALSE(e->BBarColor->GetEnabled());
    EXPECT_FALSE(bar->GetDark3D());
    EXPECT_FALSE(bar->GetSideMargins());
    EXPECT_FALSE(bar->GetAutoMarkPosition());
    EXPECT_EQ(bar->GetTransparency(), 40);
    EXPECT_EQ(bar->GetBevelSize(), 9);
    EXPECT_EQ(bar->GetDarkPen(), 255);

    ModalDriver driver;
    driver.Dialog(TDialogKind::ColorDialog, ColorChosen(clRed))
        .Form<TBrushDialog>([](TBrushDialog&) {}, mrOk)
        .Form<TPenDialog>([](TPenDialog& d) { d.UDWidth->SetPosition(3); }, mrOk)
        .Form<TPenDialog>([](TPenDialog& d) { probe::Click(*d.CBVisible); }, mrOk);
    probe::Click(*e->CBColorEach);
    probe::Click(*e->BBarColor);
    probe::Click(*e->BBarBrush);
    probe::Click(*e->BBarPen);
    probe::Click(*e->BTickLines);
    EXPECT_EQ(bar->GetSeriesColor(), clRed);
    EXPECT_EQ(bar->GetBarPen()->GetWidth(), 3);
    EXPECT_TRUE(bar->GetTickLines()->GetVisible()); // hidden until shown
}

class StackBarEditor : public BarEditor {
protected:
    TStackBarSeriesEditor* EmbedStack() { return Embed<TStackBarSeriesEditor>(bar); }
};

// Each show of the page loads the series again; the "Stack" page comes once, for the same bar.
TEST_F(StackBarEditor, TheStackPageIsAddedOnceAcrossRepeatedShowsAndEditsTheBar) {
    auto* e = EmbedInPages<TBarSeriesEditor>(bar);
    VisitEveryPage();
    VisitEveryPage();
    EXPECT_EQ(PageCaptions(), (std::vector<String>{u"Format", u"Stack"}));
    TStackBarSeriesEditor* stack = e->StackForm();
    ASSERT_NE(stack, nullptr);
    EXPECT_EQ(stack->GetParent(), pages->GetPage(1));
    probe::Click(*stack->RGMultiBar, mbSelfStack);
    EXPECT_EQ(bar->GetMultiBar(), mbSelfStack);
}

// The origin is shown and read in the locale's notation.
TEST_F(StackBarEditor, TextThatIsNoNumberKeepsTheOrigin) {
    bar->SetUseYOrigin(true);
    for (const auto& locale : editortest::kLocales) {
        UseLocale(locale.system);
        bar->SetYOrigin(12.5);
        auto* e = EmbedStack();
        EXPECT_TRUE(e->EYOrigin->GetEnabled());
        EXPECT_EQ(e->EYOrigin->GetText(), FloatToStr(12.5)) << locale.name;
        e->EYOrigin->SetText(u"abc");
        EXPECT_EQ(bar->GetYOrigin(), 12.5);
        e->EYOrigin->SetText(u"-");
        EXPECT_EQ(bar->GetYOrigin(), 12.5);
        e->EYOrigin->SetText(FloatToStr(-4.25));
        EXPECT_EQ(bar->GetYOrigin(), -4.25) << locale.name;
        e->Free();
    }
}

TEST_F(StackBarEditor, OnlyStackedModesEnableTheGroupAndTheOriginFollowsItsBox) {
    bar->SetUseYOrigin(false);
    auto* e = EmbedStack();
    EXPECT_FALSE(e->EYOrigin->GetEnabled());
    probe::Click(*e->CBYOrigin);
    EXPECT_TRUE(bar->GetUseYOrigin());
    EXPECT_TRUE(e->EYOrigin->GetEnabled());
    probe::Click(*e->RGMultiBar, mbStacked100);
    EXPECT_EQ(bar->GetMultiBar(), mbStacked100);
    EXPECT_TRUE(e->EGroup->GetEnabled());
    e->EGroup->SetText(u"3");
    EXPECT_EQ(bar->GetStackGroup(), 3);
    probe::Click(*e->RGMultiBar, mbSideAll);
    EXPECT_FALSE(e->EGroup->GetEnabled());
    EXPECT_FALSE(e->UDGroup->GetEnabled());
}

} // namespace

namespace {

TEST_F(BarEditor, PictureOfThePageBesideItsChart) {
    bar->SetTitle(u"Расход, м³");
    bar->SetBarStyle(bsBevel);
    auto* e = Embed<TBarSeriesEditor>(bar);
    SavePicture(*form.get(), "bar-editor.png");
    e->PageControl1->SetActivePage(e->TabSize);
    SavePicture(*form.get(), "bar-editor-size.png");
}

} // namespace

namespace {

TEST_F(BarEditor, TheShadowPageHoldsOneEditorOfTheBarsShadow) {
    auto* e = Embed<TBarSeriesEditor>(bar);
    ShowAgain(e);
    ShowAgain(e);
    std::vector<TZuzShadowEditor*> editors;
    for (int i = 0; i < e->TabShadow->GetControlCount(); ++i)
        if (auto* s = dynamic_cast<TZuzShadowEditor*>(e->TabShadow->GetControl(i))) editors.push_back(s);
    ASSERT_EQ(editors.size(), 1u);
    EXPECT_EQ(editors[0]->GetShadow(), bar->GetShadow());
}

} // namespace
