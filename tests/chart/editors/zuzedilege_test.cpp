// The legend page: the custom position and what it disables, pixel and percent positions,
// check boxes, the margin by orientation, the title's lines, every style control written into
// the legend, and one symbol editor however often the page is shown.
#include "chart/editors/zuzedilege.h"

#include "chart/editors/zuzcustomshapeeditor.h"
#include "chart/editors/zuzsymboleditor.h"
#include "chart/engine/chartlegend.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/pagefixture.h"

#include <gtest/gtest.h>

namespace {

class LegendPage : public PageTest {
protected:
    TFormZuzLegend* Page() { return Embed(Create<TFormZuzLegend>(form.get(), chart->GetLegend())); }
    TChartLegend* Legend() { return chart->GetLegend(); }
};

TEST_F(LegendPage, ACustomPositionDisablesResizeOffsetAndMarginAndStopsResizing) {
    Legend()->SetResizeChart(true);
    TFormZuzLegend* p = Page();
    EXPECT_TRUE(p->CBResizeChart->GetEnabled());
    EXPECT_FALSE(p->ECustLeft->GetEnabled());
    EXPECT_FALSE(p->CBPosPercent->GetEnabled());
    p->CBCustPos->SetChecked(true);
    EXPECT_TRUE(Legend()->GetCustomPosition());
    EXPECT_FALSE(Legend()->GetResizeChart());
    EXPECT_FALSE(p->CBResizeChart->GetChecked());
    for (TControl* c : std::initializer_list<TControl*>{p->CBResizeChart, p->SEMargin, p->UDMargin,
                                                        p->SETopPos, p->UDTopPos})
        EXPECT_FALSE(c->GetEnabled()) << UTF8Encode(c->GetName());
    for (TControl* c :
         std::initializer_list<TControl*>{p->ECustLeft, p->ECustTop, p->UDLeft, p->UDTop, p->CBPosPercent})
        EXPECT_TRUE(c->GetEnabled()) << UTF8Encode(c->GetName());
}

TEST_F(LegendPage, TheCustomPositionIsWrittenInPixelsOrInPercent) {
    Legend()->SetCustomPosition(true);
    Legend()->SetPositionUnits(muPixels);
    TFormZuzLegend* p = Page();
    EXPECT_FALSE(p->CBPosPercent->GetChecked());
    const int leftPercent = Legend()->GetLeftPercent();
    p->ECustLeft->SetText(u"120");
    p->ECustTop->SetText(u"45");
    EXPECT_EQ(Legend()->GetLeft(), 120);
    EXPECT_EQ(Legend()->GetTop(), 45);
    EXPECT_EQ(Legend()->GetLeftPercent(), leftPercent);
    p->CBPosPercent->SetChecked(true);
    EXPECT_EQ(Legend()->GetPositionUnits(), muPercent);
    EXPECT_EQ(p->ECustLeft->GetText(), IntToStr(leftPercent));
    p->ECustLeft->SetText(u"30");
    p->ECustTop->SetText(u"15");
    EXPECT_EQ(Legend()->GetLeftPercent(), 30);
    EXPECT_EQ(Legend()->GetTopPercent(), 15);
    EXPECT_EQ(Legend()->GetLeft(), 120);
}

TEST_F(LegendPage, RadioButtonsAreCheckBoxesOfRadioStyleAndNoneKeepsTheStyle) {
    TFormZuzLegend* p = Page();
    EXPECT_EQ(p->CBCheckBoxes->GetItemIndex(), 0);
    probe::Choose(*p->CBCheckBoxes, 2);
    EXPECT_TRUE(Legend()->GetCheckBoxes());
    EXPECT_EQ(Legend()->GetCheckBoxesStyle(), cbsRadio);
    probe::Choose(*p->CBCheckBoxes, 0);
    EXPECT_FALSE(Legend()->GetCheckBoxes());
    EXPECT_EQ(Legend()->GetCheckBoxesStyle(), cbsRadio);
    probe::Choose(*p->CBCheckBoxes, 1);
    EXPECT_TRUE(Legend()->GetCheckBoxes());
    EXPECT_EQ(Legend()->GetCheckBoxesStyle(), cbsCheck);
}

TEST_F(LegendPage, TheMarginIsTheVerticalOneForAHorizontalLegendAndTheHorizontalOneOtherwise) {
    Legend()->SetAlignment(laRight);
    Legend()->SetHorizMargin(7);
    TFormZuzLegend* p = Page();
    EXPECT_EQ(p->SEMargin->GetText(), u"7");
    p->SEMargin->SetText(u"11");
    EXPECT_EQ(Legend()->GetHorizMargin(), 11);
    p->RGPosition->SetItemIndex(3);
    EXPECT_EQ(Legend()->GetAlignment(), laBottom);
    EXPECT_EQ(p->SEMargin->GetText(), u"11"); // not reloaded on a change of position
    p->SEMargin->SetText(u"-4");
    EXPECT_EQ(Legend()->GetVertMargin(), -4);
    EXPECT_EQ(Legend()->GetHorizMargin(), 11);
}

TEST_F(LegendPage, ATwoLineTitleTypedInTheMemoBecomesTwoLines) {
    TFormZuzLegend* p = Page();
    p->MemoText->SetText(u"Каналы\r\nприбора");
    TStrings* text = Legend()->GetTitle()->GetText();
    ASSERT_EQ(text->GetCount(), 2);
    EXPECT_EQ(text->GetStrings(0), u"Каналы");
    EXPECT_EQ(text->GetStrings(1), u"прибора");
    probe::Choose(*p->CBTextAlign, 1);
    EXPECT_EQ(Legend()->GetTitle()->GetTextAlignment(), taCenter);
    p->CBTitleVisible->SetChecked(!Legend()->GetTitle()->GetVisible());
    EXPECT_EQ(Legend()->GetTitle()->GetVisible(), p->CBTitleVisible->GetChecked());
}

TEST_F(LegendPage, EveryStyleControlWritesTheLegend) {
    TFormZuzLegend* p = Page();
    EXPECT_EQ(p->BDivLines->GetPen(), Legend()->GetDividingLines());
    p->CBShow->SetChecked(false);
    p->CBInverted->SetChecked(true);
    probe::Choose(*p->CBLegendStyle, 2);
    probe::Choose(*p->CBLegStyle, 9);
    p->EVertSpacing->SetText(u"-10");
    p->CBFontColor->SetChecked(true);
    p->SETopPos->SetText(u"25");
    p->CBResizeChart->SetChecked(false);
    EXPECT_FALSE(Legend()->GetVisible());
    EXPECT_TRUE(Legend()->GetInverted());
    EXPECT_EQ(Legend()->GetLegendStyle(), lsValues);
    EXPECT_EQ(Legend()->GetTextStyle(), ltsXAndPercent);
    EXPECT_EQ(Legend()->GetVertSpacing(), -10);
    EXPECT_TRUE(Legend()->GetFontSeriesColor());
    EXPECT_EQ(Legend()->GetTopPos(), 25);
    EXPECT_FALSE(Legend()->GetResizeChart());
    EXPECT_EQ(p->CBLegStyle->GetDropDownCount(), 11);
}

TEST_F(LegendPage, TheSymbolsTabHoldsOneSymbolEditorHoweverOftenThePageIsShown) {
    TFormZuzLegend* p = Page();
    TSymbolEditor* editor = p->GetSymbolEditor();
    ASSERT_NE(editor, nullptr);
    for (int i = 0; i < 3; ++i) {
        p->SetVisible(false);
        p->SetVisible(true);
        ChooseTab(p->PageControl1, p->TabSymbols);
        ChooseTab(p->PageControl1, p->TabStyle);
    }
    EXPECT_EQ(p->TabSymbols->GetControlCount(), 1);
    EXPECT_EQ(p->GetSymbolEditor(), editor);
    EXPECT_EQ(ZuzTagObject<TLegendSymbol>(editor), Legend()->GetSymbol());
}

TEST_F(LegendPage, TheLegendsAndItsTitlesFormatTabsFollowTheFixedOnes) {
    TFormZuzLegend* p = Page();
    ASSERT_EQ(p->PageControl1->GetPageCount(), 4 + 6);
    EXPECT_EQ(p->PageControl1->GetPage(4)->GetCaption(), u"Format");
    ASSERT_EQ(p->PageControl2->GetPageCount(), 1 + 6);
    EXPECT_EQ(p->PageControl2->GetPage(1)->GetCaption(), u"Format");
    EXPECT_EQ(p->GetLegendShapeEditor()->GetShape(), Legend());
    EXPECT_EQ(p->GetTitleShapeEditor()->GetShape(), Legend()->GetTitle());
    EXPECT_EQ(p->PageControl1->GetActivePage(), p->TabStyle);
}

TEST_F(LegendPage, Pictures) {
    TFormZuzLegend* p = Page();
    PagePicture("legend-page-style.png");
    ChooseTab(p->PageControl1, p->TabPosition);
    PagePicture("legend-page-position.png");
}

} // namespace
