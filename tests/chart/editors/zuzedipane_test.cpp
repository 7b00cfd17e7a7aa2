// The panel page: margins held below 100 % together, pixel ranges, the default colour, every
// control written into the chart's panel, and the pages made on first show of their tabs.
#include "chart/editors/zuzedipane.h"

#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzpanelext.h"
#include "chart/editors/zuzbackimage.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzshadoweditor.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/pagefixture.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <utility>

namespace {

class PanelPage : public PageTest {
protected:
    TFormZuzPanel* Page() { return Embed(Create<TFormZuzPanel>(form.get(), chart)); }
};

TEST_F(PanelPage, APercentMarginMeetingItsOppositeAt100IsRefused) {
    chart->SetMarginUnits(muPercent);
    chart->SetMarginLeft(40);
    chart->SetMarginRight(7);
    TFormZuzPanel* p = Page();
    p->SERightMa->SetText(u"60");
    EXPECT_EQ(chart->GetMarginRight(), 7);
    EXPECT_EQ(p->SERightMa->GetText(), u"7");
    p->SERightMa->SetText(u"59");
    EXPECT_EQ(chart->GetMarginRight(), 59);
    // Top and bottom are a pair of their own.
    chart->SetMarginBottom(50);
    p->SETopMa->SetText(u"50");
    EXPECT_NE(chart->GetMarginTop(), 50);
    p->SETopMa->SetText(u"49");
    EXPECT_EQ(chart->GetMarginTop(), 49);
}

TEST_F(PanelPage, PixelMarginsAreNotHeldTogetherAndRangeOver2000EachWay) {
    TFormZuzPanel* p = Page();
    probe::Choose(*p->CBMarUnits, 1);
    EXPECT_EQ(chart->GetMarginUnits(), muPixels);
    for (TUpDown* ud : {p->UDTopMa, p->UDLeftMa, p->UDBotMa, p->UDRightMa}) {
        EXPECT_EQ(ud->GetMin(), -2000);
        EXPECT_EQ(ud->GetMax(), 2000);
    }
    p->SELeftMa->SetText(u"90");
    p->SERightMa->SetText(u"-150");
    EXPECT_EQ(chart->GetMarginLeft(), 90);
    EXPECT_EQ(chart->GetMarginRight(), -150);
    probe::Choose(*p->CBMarUnits, 0);
    EXPECT_EQ(p->UDRightMa->GetMin(), 0);
    EXPECT_EQ(p->UDRightMa->GetMax(), 100);
}

// A change of units converts the margins, each keeping its width on the panel as far as the new
// range holds it, and in percent each pair leaves room for the plot; the boxes show what the chart
// then holds, and a margin typed next is weighed against those.
TEST_F(PanelPage, ChangingTheUnitsConvertsTheMarginsAndTheBoxesShowThem) {
    TFormZuzPanel* p = Page();
    const int w = chart->GetWidth(), h = chart->GetHeight();
    ASSERT_GT(w, 100);
    ASSERT_GT(h, 100);
    const auto shown = [&] {
        return std::array{StrToInt(p->SELeftMa->GetText()), StrToInt(p->SETopMa->GetText()),
                          StrToInt(p->SERightMa->GetText()), StrToInt(p->SEBotMa->GetText())};
    };
    const auto held = [&] {
        return std::array{chart->GetMarginLeft(), chart->GetMarginTop(), chart->GetMarginRight(),
                          chart->GetMarginBottom()};
    };
    // To percent: left below 0, right 30 % of the width, top a quarter, bottom beyond the panel.
    probe::Choose(*p->CBMarUnits, 1);
    for (const auto& [box, value] : {std::pair{p->SELeftMa, -20}, std::pair{p->SERightMa, w * 3 / 10},
                                     std::pair{p->SETopMa, h / 4}, std::pair{p->SEBotMa, 2 * h}})
        box->SetText(IntToStr(value));
    probe::Choose(*p->CBMarUnits, 0);
    EXPECT_EQ(chart->GetMarginUnits(), muPercent);
    EXPECT_EQ(held(), (std::array{0, 25, 30, 74}));
    EXPECT_EQ(shown(), held());
    p->SELeftMa->SetText(u"5");
    EXPECT_EQ(chart->GetMarginLeft(), 5);
    // To pixels: each as wide as it was.
    probe::Choose(*p->CBMarUnits, 1);
    EXPECT_EQ(chart->GetMarginUnits(), muPixels);
    const std::array<int, 4> pixels = held();
    for (const auto& [margin, percent, size] :
         {std::tuple{0, 5, w}, std::tuple{1, 25, h}, std::tuple{2, 30, w}, std::tuple{3, 74, h}})
        EXPECT_NEAR(pixels[margin], percent * size / 100.0, 0.5) << margin;
    EXPECT_EQ(shown(), held());
}

TEST_F(PanelPage, APixelMarginBeyondThePercentRangeIsShownAndKeptWhole) {
    chart->SetMarginUnits(muPixels);
    chart->SetMarginTop(150);
    chart->SetMarginLeft(-20);
    TFormZuzPanel* p = Page();
    EXPECT_EQ(p->SETopMa->GetText(), u"150");
    EXPECT_EQ(p->SELeftMa->GetText(), u"-20");
    EXPECT_EQ(chart->GetMarginTop(), 150);
    EXPECT_EQ(chart->GetMarginLeft(), -20);
}

TEST_F(PanelPage, DefaultGivesTheButtonFaceColourAndThenCannotBeClickedAgain) {
    chart->SetColor(clWhite);
    TFormZuzPanel* p = Page();
    EXPECT_FALSE(p->CBColorDef->GetChecked());
    EXPECT_TRUE(p->CBColorDef->GetEnabled());
    probe::Click(*p->CBColorDef);
    EXPECT_EQ(chart->GetColor(), clBtnFace);
    EXPECT_TRUE(p->CBColorDef->GetChecked());
    EXPECT_FALSE(p->CBColorDef->GetEnabled());
}

TEST_F(PanelPage, AColourChosenOnTheButtonReleasesDefault) {
    chart->SetColor(clBtnFace);
    TFormZuzPanel* p = Page();
    EXPECT_FALSE(p->CBColorDef->GetEnabled());
    answer = [](const TDialogRequest& r) {
        TDialogAnswer a;
        if (r.Kind == TDialogKind::ColorDialog) {
            a.Result = mrOk;
            a.Color = clYellow;
        }
        return a;
    };
    p->BPanelColor->Click();
    EXPECT_EQ(chart->GetColor(), clYellow);
    EXPECT_FALSE(p->CBColorDef->GetChecked());
    EXPECT_TRUE(p->CBColorDef->GetEnabled());
}

TEST_F(PanelPage, EveryBorderControlWritesThePanel) {
    TFormZuzPanel* p = Page();
    EXPECT_EQ(p->PageControl1->GetActivePage(), p->TabColor);
    EXPECT_EQ(p->BBorder->GetPen(), chart->GetBorder());
    p->SEPanelBor->SetText(u"6");
    p->SEPanelWi->SetText(u"3");
    p->ERound->SetText(u"12");
    probe::Choose(*p->CBInner, 1);
    probe::Choose(*p->CBOuter, 0);
    probe::Click(*p->CBImageInside);
    EXPECT_EQ(chart->GetBorderWidth(), 6);
    EXPECT_EQ(chart->GetBevelWidth(), 3);
    EXPECT_EQ(chart->GetBorderRound(), 12);
    EXPECT_EQ(chart->GetBevelInner(), bvLowered);
    EXPECT_EQ(chart->GetBevelOuter(), bvNone);
    EXPECT_TRUE(chart->GetBackImageInside());
    // The bevel width starts at 1: typing 0 is held there.
    p->SEPanelWi->SetText(u"0");
    EXPECT_EQ(chart->GetBevelWidth(), 1);
}

TEST_F(PanelPage, TheGradientAndImageEditorsAreMadeOnceOnTheirTabs) {
    TFormZuzPanel* p = Page();
    EXPECT_EQ(p->GetGradientEditor(), nullptr);
    ChooseTab(p->PageControl1, p->TabGradient);
    TZuzGradientEditor* g = p->GetGradientEditor();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->GetGradient(), chart->GetGradient());
    EXPECT_FALSE(g->Panel1->GetVisible());
    g->CBVisible->SetChecked(true);
    EXPECT_TRUE(chart->GetGradient()->GetVisible());
    ChooseTab(p->PageControl1, p->TabImage);
    ChooseTab(p->PageControl1, p->TabShadow);
    ChooseTab(p->PageControl1, p->TabGradient);
    ChooseTab(p->PageControl1, p->TabImage);
    ChooseTab(p->PageControl1, p->TabShadow);
    EXPECT_EQ(p->GetGradientEditor(), g);
    EXPECT_EQ(p->TabGradient->GetControlCount(), 1);
    ASSERT_EQ(p->TabImage->GetControlCount(), 1);
    auto* image = dynamic_cast<TBackImageEditor*>(p->TabImage->GetControl(0));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetPicture(), chart->GetBackImage());
    ASSERT_EQ(p->TabShadow->GetControlCount(), 1);
    auto* shadow = dynamic_cast<TZuzShadowEditor*>(p->TabShadow->GetControl(0));
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(shadow->GetShadow(), chart->GetShadow());
    // Both stand at the top of their tabs, as the gradient editor does.
    for (const TControl* editor :
         {static_cast<const TControl*>(image), static_cast<const TControl*>(shadow)}) {
        ASSERT_GT(editor->GetParent()->GetClientHeight(), editor->GetHeight() + 20);
        EXPECT_LE(editor->GetTop(), 4);
    }
}

TEST_F(PanelPage, InsertAtFillsTheParentWithAPageForThePanel) {
    auto* sheet = Create<TPanel>(form.get());
    sheet->SetParent(form.get());
    sheet->SetAlign(alClient);
    TFormZuzPanel* p = TFormZuzPanel::InsertAt(form.get(), sheet, chart);
    EXPECT_EQ(p->GetParent(), sheet);
    EXPECT_EQ(p->GetOwner(), form.get());
    EXPECT_EQ(p->GetAlign(), alClient);
    EXPECT_EQ(p->GetPanel(), chart);
    EXPECT_EQ(p->GetCaption(), u"Panel Editor");
}

TEST_F(PanelPage, Picture) {
    chart->SetMarginUnits(muPixels);
    chart->SetMarginLeft(24);
    TFormZuzPanel* p = Page();
    ChooseTab(p->PageControl1, p->TabMargins);
    PagePicture("panel-page-margins.png");
    ChooseTab(p->PageControl1, p->TabBorders);
    PagePicture("panel-page-borders.png");
}

} // namespace
