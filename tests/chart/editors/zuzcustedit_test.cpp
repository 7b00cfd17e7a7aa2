// The line-type series' page and the area series' page: the line-only controls hidden for other
// series, stairs enabling without changing "Inverted", stacking and origin enabling, every
// control written into the series.
#include "chart/editors/zuzcustedit.h"

#include "chart/canvas/zuzcontrols.h"
#include "chart/editors/zuzareaedit.h"
#include "chart/editors/zuzpoedi.h"
#include "chart/editors/zuzshadoweditor.h"
#include "chart/series/series.h"
#include "chart/series/series_area.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/modaldriver.h"
#include "tests/chart/editors/serieseditorfixture.h"

namespace {

using LineEditor = SeriesEditorTest;

TEST_F(LineEditor, ASeriesThatIsNoLineSeriesHidesTheLineOnlyControls) {
    auto* point = AddSeries<TPointSeries>();
    auto* e = Embed<TCustomSeriesEditor>(point);
    for (TControl* c :
         std::initializer_list<TControl*>{e->BBrush, e->BOutline, e->GBStair, e->CBDark3D, e->LHeight,
                                          e->EHeight, e->UDHeight, e->BGradient, e->LTransp, e->TBTransp})
        EXPECT_FALSE(c->GetVisible()) << UTF8Encode(c->GetName());
    for (TControl* c :
         std::initializer_list<TControl*>{e->BLineColor, e->BLineBorder, e->CBColorEach, e->CBClick,
                                          e->CBStack, e->CBNulls, e->Button1, e->CheckBox1})
        EXPECT_TRUE(c->GetVisible()) << UTF8Encode(c->GetName());
    e->Free();
    auto* line = AddSeries<TLineSeries>();
    auto* lineEditor = Embed<TCustomSeriesEditor>(line);
    EXPECT_TRUE(lineEditor->GBStair->GetVisible());
    EXPECT_TRUE(lineEditor->TBTransp->GetVisible());
    EXPECT_TRUE(lineEditor->LTransp->GetVisible());
}

TEST_F(LineEditor, UntickingStairsDisablesInvertedAndKeepsIt) {
    auto* line = AddSeries<TLineSeries>();
    line->SetStairs(true);
    line->SetInvertedStairs(true);
    auto* e = Embed<TCustomSeriesEditor>(line);
    EXPECT_TRUE(e->CBInvStairs->GetEnabled());
    probe::Click(*e->CBStairs);
    EXPECT_FALSE(line->GetStairs());
    EXPECT_FALSE(e->CBInvStairs->GetEnabled());
    EXPECT_TRUE(line->GetInvertedStairs());
    EXPECT_TRUE(e->CBInvStairs->GetChecked());
}

TEST_F(LineEditor, EveryControlWritesItsProperty) {
    auto* line = AddSeries<TLineSeries>();
    line->SetLineHeight(4);
    auto* e = Embed<TCustomSeriesEditor>(line);
    EXPECT_EQ(line->GetLineHeight(), 4);
    const bool clickable = line->GetClickableLine(), eachLine = line->GetColorEachLine();
    probe::Click(*e->CBColorEach);
    probe::Click(*e->CBClick);
    probe::Click(*e->CheckBox1);
    const bool dark = line->GetDark3D();
    probe::Click(*e->CBDark3D);
    e->EHeight->SetText(u"12");
    probe::Choose(*e->CBStack, cssStack);
    probe::Choose(*e->CBNulls, tnSkip);
    e->TBTransp->SetPosition(30);
    EXPECT_TRUE(line->GetColorEachPoint());
    EXPECT_NE(line->GetClickableLine(), clickable);
    EXPECT_NE(line->GetColorEachLine(), eachLine);
    EXPECT_NE(line->GetDark3D(), dark);
    EXPECT_EQ(line->GetLineHeight(), 12);
    EXPECT_EQ(line->GetStacked(), cssStack);
    EXPECT_EQ(line->GetTreatNulls(), tnSkip);
    EXPECT_EQ(line->GetTransparency(), 30);
}

class AreaEditor : public SeriesEditorTest {
protected:
    void SetUp() override {
        SeriesEditorTest::SetUp();
        area = AddSeries<TAreaSeries>();
    }
    TAreaSeries* area = nullptr;
};

TEST_F(AreaEditor, StackedEnablesTheStackGroupAndNoneDisablesIt) {
    auto* e = Embed<TAreaSeriesEditor>(area);
    EXPECT_FALSE(e->EGroup->GetEnabled());
    probe::Click(*e->RGMultiArea, 1);
    EXPECT_EQ(area->GetMultiArea(), maStacked);
    EXPECT_TRUE(e->EGroup->GetEnabled());
    EXPECT_TRUE(e->UDGroup->GetEnabled());
    e->EGroup->SetText(u"2");
    EXPECT_EQ(area->GetStackGroup(), 2);
    probe::Click(*e->RGMultiArea, 0);
    EXPECT_EQ(area->GetMultiArea(), maNone);
    EXPECT_FALSE(e->EGroup->GetEnabled());
}

TEST_F(AreaEditor, TheOriginIsAWholeNumberEnabledByItsBox) {
    area->SetUseYOrigin(false);
    area->SetYOrigin(12.6);
    auto* e = Embed<TAreaSeriesEditor>(area);
    EXPECT_EQ(e->EOrigin->GetText(), u"13");
    EXPECT_EQ(area->GetYOrigin(), 12.6);
    EXPECT_FALSE(e->EOrigin->GetEnabled());
    probe::Click(*e->CBUseOrigin);
    EXPECT_TRUE(area->GetUseYOrigin());
    EXPECT_TRUE(e->EOrigin->GetEnabled());
    e->EOrigin->SetText(u"-40000"); // held at the minimum
    EXPECT_EQ(area->GetYOrigin(), -30000);
}

TEST_F(AreaEditor, StairsColoursAndNullsWriteAtOnce) {
    auto* e = Embed<TAreaSeriesEditor>(area);
    EXPECT_FALSE(e->CBInvStairs->GetEnabled());
    probe::Click(*e->CBStairs);
    EXPECT_TRUE(area->GetStairs());
    EXPECT_TRUE(e->CBInvStairs->GetEnabled());
    probe::Click(*e->CBInvStairs);
    probe::Click(*e->CBStairs);
    EXPECT_FALSE(e->CBInvStairs->GetEnabled());
    EXPECT_TRUE(area->GetInvertedStairs());
    probe::Click(*e->CBColorEach);
    EXPECT_TRUE(area->GetColorEachPoint());
    EXPECT_FALSE(e->BAreaColor->GetEnabled());
    probe::Choose(*e->CBNulls, tnIgnore);
    EXPECT_EQ(area->GetTreatNulls(), tnIgnore);
    e->ETransp->SetText(u"25");
    EXPECT_EQ(area->GetTransparency(), 25);
    area->SetAreaColor(clZuzColor);
    area->SetSeriesColor(clGreen);
    EXPECT_EQ(e->BAreaColor->GetSymbolColor(), clGreen);
    area->SetAreaColor(clBlue);
    EXPECT_EQ(e->BAreaColor->GetSymbolColor(), clBlue);
    // With an area colour of its own (as a file may give it), the colour chosen fills the area and
    // shows on the button.
    probe::Click(*e->CBColorEach);
    ModalDriver driver;
    driver.Dialog(TDialogKind::ColorDialog, ColorChosen(clRed));
    probe::Click(*e->BAreaColor);
    EXPECT_EQ(area->GetSeriesColor(), clRed);
    EXPECT_EQ(area->GetAreaColor(), clZuzColor);
    EXPECT_EQ(e->BAreaColor->GetSymbolColor(), clRed);
}

} // namespace

namespace {

// Each show of an editor on its page loads the series again; the pages it adds come once.
TEST_F(LineEditor, ThePointPageIsAddedOnceAcrossRepeatedShows) {
    auto* line = AddSeries<TLineSeries>();
    auto* e = EmbedInPages<TCustomSeriesEditor>(line);
    VisitEveryPage();
    VisitEveryPage();
    EXPECT_EQ(PageCaptions(), (std::vector<String>{u"Format", u"Point"}));
    auto* pointer = dynamic_cast<TSeriesPointerEditor*>(e->PointerForm());
    ASSERT_NE(pointer, nullptr);
    EXPECT_EQ(pointer->Pointer(), line->GetPointer());
}

TEST_F(AreaEditor, ThePointAndGradientPagesAreAddedOnceAcrossRepeatedShows) {
    auto* e = EmbedInPages<TAreaSeriesEditor>(area);
    VisitEveryPage();
    VisitEveryPage();
    EXPECT_EQ(PageCaptions(), (std::vector<String>{u"Format", u"Point", u"Gradient"}));
    ASSERT_NE(e->PointerForm(), nullptr);
    auto* gradient = dynamic_cast<TZuzGradientEditor*>(e->GradientForm());
    ASSERT_NE(gradient, nullptr);
    EXPECT_EQ(gradient->GetParent(), pages->GetPage(2));
    EXPECT_EQ(ZuzTagObject(gradient), area->GetGradient());
    EXPECT_FALSE(gradient->Panel1->GetVisible()); // its changes are written at once, no OK or Cancel
}

TEST_F(LineEditor, TheShadowDialogEditsTheSeriesShadowWithoutSmoothingOrTransparency) {
    auto* line = AddSeries<TLineSeries>();
    auto* e = Embed<TCustomSeriesEditor>(line);
    ModalDriver driver;
    driver.Form<TZuzShadowEditor>(
        [&](TZuzShadowEditor& d) {
            EXPECT_EQ(d.GetShadow(), line->GetShadow());
            for (TControl* c :
                 std::initializer_list<TControl*>{d.CBSmooth, d.LTransp, d.EShadowTransp, d.UDShadowTransp})
                EXPECT_FALSE(c->GetVisible()) << UTF8Encode(c->GetName());
            d.Edit1->SetText(u"7");
        },
        mrOk);
    probe::Click(*e->Button1);
    EXPECT_EQ(line->GetShadow()->GetHorizSize(), 7);
}

} // namespace

namespace {

TEST_F(LineEditor, TheShadowDialogIsFreedWhenAnExceptionLeavesItsShow) {
    auto* line = AddSeries<TLineSeries>();
    auto* e = Embed<TCustomSeriesEditor>(line);
    bool destroyed = false;
    ModalDriver driver;
    driver.Form<TZuzShadowEditor>([&](TZuzShadowEditor& d) {
        d.OnDestroy = TNotifyEvent([&](TObject*) { destroyed = true; });
        throw EInvalidOperation(u"failed inside the dialog");
    });
    EXPECT_THROW(e->Button1Click(e->Button1), EInvalidOperation);
    EXPECT_TRUE(destroyed);
}

} // namespace
