// The axis page: the axis list and custom axes, what each control writes, the rules that
// refuse a value (start past end, impossible log bases, a logarithmic axis below zero) and
// the label formats a date-time axis offers in each locale.

#include "chart/editors/zuzediaxis.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuztext.h"
#include "chart/editors/zuzaxmaxmin.h"
#include "chart/editors/zuzcustomshapeeditor.h"
#include "chart/editors/zuzedifont.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/engine/chartaxis.h"
#include "platform/core/sysutils.h"
#include "platform/gui/buttons.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/dialogfixture.h"
#include "tests/chart/editors/editorfixture.h"
#include "tests/chart/editors/modaldriver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

class AxisPage : public DialogTest {
protected:
    // The page on the axis, shown as the chart editor shows it: below the chart, on its tab.
    TFormZuzAxis* Open(TChartAxis* Axis, TTabSheet* (*Tab)(TFormZuzAxis*) = nullptr) {
        form->SetBounds(40, 40, 640, 600);
        chart->SetAlign(alTop);
        chart->SetHeight(330);
        page = Create<TFormZuzAxis>(form.get(), Axis);
        page->SetBorderStyle(bsNone);
        page->SetParent(form.get());
        page->SetAlign(alBottom);
        form->Show();
        page->Show();
        if (Tab) ShowTab(Tab(page));
        return page;
    }
    // Another main tab, as a click on it: the page loads it.
    void ShowTab(TTabSheet* Tab) {
        page->PageAxis->SetActivePage(Tab);
        page->PageAxisChange(page->PageAxis);
    }
    void PickAxis(int Index) {
        page->LBAxes->SetItemIndex(Index);
        page->LBAxesClick(page->LBAxes);
    }
    static void Type(TEdit* Edit, const String& Text) { Edit->SetText(Text); }

    TFormZuzAxis* page = nullptr;
};

TTabSheet* Scales(TFormZuzAxis* p) {
    return p->TabScales;
}
TTabSheet* Labels(TFormZuzAxis* p) {
    return p->TabLabels;
}
TTabSheet* Position(TFormZuzAxis* p) {
    return p->TabPosition;
}

} // namespace

// ---------------------------------------------------------------------------
// The axis list and custom axes

TEST_F(AxisPage, ListsTheStandardAxesThenTheCustomOnesNumberedFromZero) {
    chart->GetCustomAxes()->Add();
    chart->GetCustomAxes()->Add();
    TStringList items;
    ZuzAddAxes(chart, &items, true);
    ASSERT_EQ(items.GetCount(), 8);
    EXPECT_EQ(items[0], VavIve_LeftAxis);
    EXPECT_EQ(items[3], VavIve_BottomAxis);
    EXPECT_EQ(items[4], VavIve_DepthAxis);
    EXPECT_EQ(items[5], VavIve_DepthTopAxis);
    EXPECT_EQ(items[6], u"Custom 0");
    EXPECT_EQ(items[7], u"Custom 1");
    ZuzAddAxes(chart, &items, false);
    ASSERT_EQ(items.GetCount(), 6);
    EXPECT_EQ(items[4], u"Custom 0");
}

TEST_F(AxisPage, SelectsTheEditedAxisByItsFixedOrCustomPosition) {
    Open(chart->GetBottomAxis());
    EXPECT_EQ(page->LBAxes->GetItemIndex(), 3);
    EXPECT_FALSE(page->BDelete->GetEnabled());
    auto* custom = static_cast<TChartAxis*>(chart->GetCustomAxes()->Add());
    page->SetAxis(custom);
    page->FormShow(page);
    EXPECT_EQ(page->LBAxes->GetItemIndex(), 6);
    EXPECT_TRUE(page->BDelete->GetEnabled());
}

TEST_F(AxisPage, DepthRightDisablesLogarithmicZAndDefaultAlignment) {
    Open(chart->GetLeftAxis(), Scales);
    EXPECT_TRUE(page->CBLogarithmic->GetEnabled());
    EXPECT_TRUE(page->CBLabelAlign->GetEnabled());
    PickAxis(4);
    EXPECT_EQ(page->GetAxis(), chart->GetDepthAxis());
    EXPECT_FALSE(page->CBLogarithmic->GetEnabled());
    EXPECT_FALSE(page->CBLabelAlign->GetEnabled());
    ShowTab(page->TabPosition);
    EXPECT_FALSE(page->Edit1->GetEnabled());
    EXPECT_FALSE(page->UDZ->GetEnabled());
    // Only custom axes change side or orientation.
    EXPECT_FALSE(page->CBOtherSide->GetEnabled());
    EXPECT_FALSE(page->CBHorizAxis->GetEnabled());
    PickAxis(0);
    EXPECT_TRUE(page->Edit1->GetEnabled());
}

TEST_F(AxisPage, AddingACustomAxisEditsItAndDeletingTheOnlyOneSelectsDepthTop) {
    Open(chart->GetLeftAxis(), Position);
    page->BAdd->Click();
    ASSERT_EQ(chart->GetCustomAxes()->GetCount(), 1);
    EXPECT_EQ(page->GetAxis(), chart->GetCustomAxes()->Get(0));
    EXPECT_EQ(page->LBAxes->GetItems()->GetCount(), 7);
    EXPECT_EQ(page->LBAxes->GetItemIndex(), 6);
    EXPECT_TRUE(page->BDelete->GetEnabled());
    EXPECT_TRUE(page->CBHorizAxis->GetEnabled());

    TChartAxis* told = nullptr;
    page->OnChangeHorizAxis = [&](TChartAxis* Axis) { told = Axis; };
    page->CBHorizAxis->SetChecked(true);
    EXPECT_TRUE(chart->GetCustomAxes()->Get(0)->GetHorizontal());
    EXPECT_EQ(told, chart->GetCustomAxes()->Get(0));

    page->BDelete->Click();
    EXPECT_EQ(chart->GetCustomAxes()->GetCount(), 0);
    EXPECT_EQ(page->LBAxes->GetItems()->GetCount(), 6);
    EXPECT_EQ(page->LBAxes->GetItemIndex(), 5);
    EXPECT_EQ(page->GetAxis(), chart->GetDepthTopAxis());
    EXPECT_FALSE(page->BDelete->GetEnabled());
}

TEST_F(AxisPage, TheEmbeddedEditorsComeOnceAndFollowTheAxisEvenOneDeleted) {
    auto* custom = static_cast<TChartAxis*>(chart->GetCustomAxes()->Add());
    Open(custom, Labels);
    page->PageLabels->SetActivePage(page->TabLabText);
    page->PageLabelsChange(page->PageLabels);
    TZuzFontEditor* font = page->GetFontEditor();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GetEditedFont(), custom->GetLabelsFont());
    page->PageLabels->SetActivePage(page->TabLabStyle);
    page->PageLabelsChange(page->PageLabels);
    page->PageLabels->SetActivePage(page->TabLabText);
    page->PageLabelsChange(page->PageLabels);
    EXPECT_EQ(page->GetFontEditor(), font);
    EXPECT_EQ(page->TabLabText->GetControlCount(), 1);

    custom->GetTitle()->SetBevel(bvRaised);
    ShowTab(page->TabTitle);
    page->PageTitle->SetActivePage(page->TabTitleFormat);
    page->PageTitleChange(page->PageTitle);
    ASSERT_NE(page->GetTitleShape(), nullptr);
    // Shown first, it shows the title's frame and writes to it.
    EXPECT_EQ(page->GetTitleShape()->CBBevel->GetItemIndex(), bvRaised);
    page->GetTitleShape()->UDBevW->SetPosition(4);
    EXPECT_EQ(custom->GetTitle()->GetBevelWidth(), 4);
    const int pages = page->PageTitleFormat->GetPageCount();
    EXPECT_GT(pages, 0);
    page->PageTitle->SetActivePage(page->TabTitleStyle);
    page->PageTitleChange(page->PageTitle);
    page->PageTitle->SetActivePage(page->TabTitleFormat);
    page->PageTitleChange(page->PageTitle);
    EXPECT_EQ(page->PageTitleFormat->GetPageCount(), pages);

    page->BDelete->Click(); // the editors now show the depth top axis, not the freed one
    EXPECT_EQ(font->GetEditedFont(), chart->GetDepthTopAxis()->GetLabelsFont());
}

// ---------------------------------------------------------------------------
// What the controls write

TEST_F(AxisPage, EveryControlWritesItsAxisProperty) {
    TChartAxis* axis = chart->GetLeftAxis();
    Open(axis, Scales);
    page->CBInverted->SetChecked(true);
    page->CBVisible->SetChecked(false);
    page->PageScales->SetActivePage(page->TabMinimum);
    page->UDMinOff->SetPosition(-7);
    page->CBMinRound->SetChecked(true);
    page->UDMaxOff->SetPosition(9);
    page->CBShow->SetChecked(false);
    page->CBAxisBeh->SetChecked(true);
    EXPECT_TRUE(axis->GetInverted());
    EXPECT_FALSE(axis->GetVisible());
    EXPECT_EQ(axis->GetMinimumOffset(), -7);
    EXPECT_TRUE(axis->GetMinimumRound());
    EXPECT_EQ(axis->GetMaximumOffset(), 9);
    EXPECT_FALSE(chart->GetAxisVisible());
    EXPECT_TRUE(chart->GetAxisBehind());

    ShowTab(page->TabTitle);
    Type(page->ETitle, u"Давление, кПа");
    page->UDTitleAngle->SetPosition(180);
    Type(page->SETitleSize, u"40");
    page->CBTitleVisible->SetChecked(false);
    EXPECT_EQ(axis->GetTitle()->GetCaption(), u"Давление, кПа");
    EXPECT_EQ(axis->GetTitle()->GetAngle(), 180);
    EXPECT_EQ(axis->GetTitleSize(), 40);
    EXPECT_FALSE(axis->GetTitle()->GetVisible());

    ShowTab(page->TabLabels);
    page->CBMultiline->SetChecked(true);
    page->CBOnAxis->SetChecked(false);
    page->CBAlternate->SetChecked(true);
    page->UDLabelsSize->SetPosition(30);
    page->UDLabelsAngle->SetPosition(90);
    page->CBLabelStyle->SetItemIndex(2);
    page->CBLabelStyle->OnChange(page->CBLabelStyle);
    page->CBExpo->SetChecked(true);
    page->CBLabelAlign->SetChecked(false);
    EXPECT_TRUE(axis->GetLabelsMultiLine());
    EXPECT_FALSE(axis->GetLabelsOnAxis());
    EXPECT_TRUE(axis->GetLabelsAlternate());
    EXPECT_EQ(axis->GetLabelsSize(), 30);
    EXPECT_EQ(axis->GetLabelsAngle(), 90);
    EXPECT_EQ(axis->GetLabelStyle(), talValue);
    EXPECT_TRUE(axis->GetLabelsExponent());
    EXPECT_EQ(axis->GetLabelsAlign(), alOpposite);

    ShowTab(page->TabTicks);
    page->UDAxisTickLength->SetPosition(-5);
    page->UDInnerTicksLength->SetPosition(6);
    page->UDAxisMinorTickLen->SetPosition(3);
    page->UDMinorC->SetPosition(4);
    page->CBTickOnLabels->SetChecked(false);
    EXPECT_EQ(axis->GetTickLength(), -5);
    EXPECT_EQ(axis->GetTickInnerLength(), 6);
    EXPECT_EQ(axis->GetMinorTickLength(), 3);
    EXPECT_EQ(axis->GetMinorTickCount(), 4);
    EXPECT_FALSE(axis->GetTickOnLabelsOnly());
    EXPECT_EQ(page->BTickPen->GetPen(), axis->GetTicks());
    EXPECT_EQ(page->BMinorGrid->GetPen(), axis->GetMinorGrid());

    ShowTab(page->TabGrid);
    EXPECT_EQ(page->UDMinorCount->GetPosition(), 4); // one property, two boxes
    page->UDMinorCount->SetPosition(2);
    page->UDGridZ->SetPosition(30);
    page->CBGridCentered->SetChecked(true);
    page->UDEvery->SetPosition(3);
    EXPECT_EQ(axis->GetMinorTickCount(), 2);
    EXPECT_DOUBLE_EQ(axis->GetGrid()->GetZPosition(), 30);
    EXPECT_TRUE(axis->GetGrid()->GetCentered());
    EXPECT_EQ(axis->GetGrid()->GetDrawEvery(), 3);

    ShowTab(page->TabPosition);
    page->UDPos->SetPosition(-20);
    page->UDZ->SetPosition(40);
    page->CBPosUnits->SetItemIndex(1);
    page->CBPosUnits->OnChange(page->CBPosUnits);
    EXPECT_DOUBLE_EQ(axis->GetPositionPercent(), -20);
    EXPECT_DOUBLE_EQ(axis->GetZPosition(), 40);
    EXPECT_EQ(axis->GetPositionUnits(), muPixels);
}

TEST_F(AxisPage, LoadingATabWritesNothingBack) {
    for (int i = 0; i < chart->SeriesCount(); ++i) chart->GetSeries(i)->GetXValues()->SetDateTime(true);
    TChartAxis* axis = chart->GetBottomAxis();
    axis->SetLabelsSeparation(20);
    axis->SetStartPosition(10.4);
    Open(chart->GetLeftAxis(), Scales);
    page->CBShowAll->SetChecked(true); // the left axis now shows all labels
    PickAxis(3);
    EXPECT_FALSE(page->CBShowAll->GetChecked());
    EXPECT_EQ(axis->GetLabelsSeparation(), 20);
    ShowTab(page->TabPosition);
    EXPECT_DOUBLE_EQ(axis->GetStartPosition(), 10.4);
    ShowTab(page->TabLabels);
    EXPECT_FALSE(page->CBFormat->GetText().empty()); // the default format of the range is shown
    EXPECT_TRUE(axis->GetDateTimeFormat().empty());  // and the axis keeps following its range
    // An end no calendar holds (a chart file can give one) shows as its number.
    axis->SetMinMax(-1e12, 1e12);
    ShowTab(page->TabScales);
    EXPECT_EQ(page->LAxisMax->GetCaption(), FormatFloat(axis->GetAxisValuesFormat(), 1e12));
}

TEST_F(AxisPage, TheSeparationBoxTicksShowAllOnlyAtZero) {
    TChartAxis* axis = chart->GetLeftAxis();
    Open(axis, Labels);
    page->UDSepar->SetPosition(0);
    EXPECT_TRUE(page->CBShowAll->GetChecked());
    page->UDSepar->SetPosition(20);
    EXPECT_FALSE(page->CBShowAll->GetChecked());
    EXPECT_EQ(axis->GetLabelsSeparation(), 20); // not the 10 a cleared box writes
    page->CBShowAll->SetChecked(true);
    EXPECT_EQ(axis->GetLabelsSeparation(), 0);
    page->CBShowAll->SetChecked(false);
    EXPECT_EQ(axis->GetLabelsSeparation(), 10);
}

// ---------------------------------------------------------------------------
// Values refused

TEST_F(AxisPage, AStartAtOrPastTheEndIsRefusedAndTheBoxShowsTheStartAgain) {
    TChartAxis* axis = chart->GetLeftAxis();
    axis->SetEndPosition(50);
    Open(axis, Position);
    Type(page->EStart, u"60");
    EXPECT_DOUBLE_EQ(axis->GetStartPosition(), 0);
    EXPECT_EQ(page->EStart->GetText(), u"0");
    Type(page->EStart, u"50");
    EXPECT_DOUBLE_EQ(axis->GetStartPosition(), 0);
    Type(page->EStart, u"40");
    EXPECT_DOUBLE_EQ(axis->GetStartPosition(), 40);
    Type(page->EEnd, u"30");
    EXPECT_DOUBLE_EQ(axis->GetEndPosition(), 50);
    EXPECT_EQ(page->EEnd->GetText(), u"50");
    Type(page->EEnd, u"90");
    EXPECT_DOUBLE_EQ(axis->GetEndPosition(), 90);
}

TEST_F(AxisPage, TypedLogBasesAtOrBelowZeroAndOneAreIgnored) {
    TChartAxis* axis = chart->GetLeftAxis();
    Open(axis, Scales);
    EXPECT_FALSE(page->ELogBase->GetEnabled());
    page->CBLogarithmic->SetChecked(true);
    ASSERT_TRUE(axis->GetLogarithmic());
    EXPECT_TRUE(page->ELogBase->GetEnabled());
    EXPECT_TRUE(page->LogE->GetEnabled());
    for (const char16_t* text : {u"1", u"0", u"-", u"-2", u"abc", u""}) {
        Type(page->ELogBase, text);
        EXPECT_DOUBLE_EQ(axis->GetLogarithmicBase(), 10) << UTF8Encode(text);
    }
    Type(page->ELogBase, u"2");
    EXPECT_DOUBLE_EQ(axis->GetLogarithmicBase(), 2);
    page->LogE->SetChecked(true);
    EXPECT_NEAR(axis->GetLogarithmicBase(), std::numbers::e, 1e-12);
    EXPECT_FALSE(page->LogE->GetEnabled());
    Type(page->ELogBase, u"3");
    EXPECT_FALSE(page->LogE->GetChecked());
    EXPECT_TRUE(page->LogE->GetEnabled());
}

TEST_F(AxisPage, ALogarithmicScaleRefusedBelowZeroLeavesTheBoxClearAndReachesTheCaller) {
    TChartAxis* axis = chart->GetLeftAxis();
    axis->SetAutomatic(false);
    axis->SetMinMax(-5, 100);
    Open(axis, Scales);
    EXPECT_THROW(page->CBLogarithmic->SetChecked(true), Exception);
    EXPECT_FALSE(axis->GetLogarithmic());
    EXPECT_FALSE(page->CBLogarithmic->GetChecked());
    EXPECT_FALSE(page->ELogBase->GetEnabled());
}

// ---------------------------------------------------------------------------
// Scales

TEST_F(AxisPage, ClearingAutomaticFixesBothEnds) {
    TChartAxis* axis = chart->GetLeftAxis();
    Open(axis, Scales);
    ASSERT_TRUE(axis->GetAutomatic());
    page->CBAutomatic->SetChecked(false);
    EXPECT_FALSE(axis->GetAutomatic());
    EXPECT_FALSE(axis->GetAutomaticMaximum());
    EXPECT_FALSE(axis->GetAutomaticMinimum());
    EXPECT_FALSE(page->CBAutoMin->GetChecked());
    EXPECT_FALSE(page->CBMinRound->GetEnabled());
}

TEST_F(AxisPage, AFixedMaximumFromTheDialogTurnsTheAutomaticMaximumOff) {
    TChartAxis* axis = chart->GetLeftAxis();
    Open(axis, Scales);
    ModalDriver driver;
    driver.Form<TAxisMaxMin>(
        [](TAxisMaxMin& d) {
            EXPECT_EQ(d.GetCaption(), u"Left Axis Maximum");
            d.EMaximum->SetText(u"120");
            d.BitBtn1->Click();
        },
        mrOk);
    page->BAxisMax->Click();
    EXPECT_DOUBLE_EQ(axis->GetMaximum(), 120);
    EXPECT_FALSE(axis->GetAutomaticMaximum());
    EXPECT_FALSE(page->CBAutoMax->GetChecked());
    EXPECT_EQ(page->LAxisMax->GetCaption(), FormatFloat(axis->GetAxisValuesFormat(), 120));
}

// ---------------------------------------------------------------------------
// Label formats in each locale

class AxisPageFormats : public AxisPage, public ::testing::WithParamInterface<editortest::Locale> {
protected:
    void SetUp() override {
        AxisPage::SetUp();
        saved = FormatSettings;
        FormatSettings = editortest::LocaleSettings(GetParam().system);
    }
    void TearDown() override {
        FormatSettings = saved;
        AxisPage::TearDown();
    }
    // The bottom axis over dates, fixed to the span given.
    TChartAxis* DateAxis(double Days) {
        for (int i = 0; i < chart->SeriesCount(); ++i) chart->GetSeries(i)->GetXValues()->SetDateTime(true);
        TChartAxis* axis = chart->GetBottomAxis();
        axis->SetAutomatic(false);
        const double start = EncodeDate(2026, 12, 1);
        axis->SetMinMax(start, start + Days);
        return axis;
    }
    std::vector<String> Items() const {
        std::vector<String> out;
        for (int i = 0; i < page->CBFormat->GetItems()->GetCount(); ++i)
            out.push_back(page->CBFormat->GetItems()->GetStrings(i));
        return out;
    }
    TFormatSettings saved;
};

TEST_P(AxisPageFormats, TwelveHoursOfferTheFiveTimeFormats) {
    TChartAxis* axis = DateAxis(0.5);
    axis->SetDateTimeFormat(u"hh:nn");
    Open(axis, Labels);
    EXPECT_EQ(page->LabelAxisFormat->GetCaption(), VavIve_DateTimeFormat);
    const std::vector<String> expected = {FormatSettings.ShortTimeFormat, FormatSettings.LongTimeFormat,
                                          u"hh:nn", u"hh:nn:ss", u"hh:nn:ss.zzz"};
    EXPECT_EQ(Items(), expected);
    EXPECT_EQ(page->CBFormat->GetText(), u"hh:nn");
}

TEST_P(AxisPageFormats, ThreeDaysOfferTheNineDateFormatsAndTheAxisFormatIsAdded) {
    TChartAxis* axis = DateAxis(3);
    axis->SetDateTimeFormat(u"dd.mm hh:nn");
    Open(axis, Labels);
    const std::vector<String> expected = {FormatSettings.ShortDateFormat,
                                          FormatSettings.LongDateFormat,
                                          u"yyyy-mm-dd",
                                          u"mm-dd-yyyy",
                                          u"dd-mm-yyyy",
                                          u"ddd",
                                          u"dddd",
                                          u"mmm",
                                          u"mmmm",
                                          u"dd.mm hh:nn"};
    EXPECT_EQ(Items(), expected);
    page->CBFormat->SetText(u"yyyy-mm-dd");
    page->CBFormatChange(page->CBFormat);
    EXPECT_EQ(axis->GetDateTimeFormat(), u"yyyy-mm-dd");
}

TEST_P(AxisPageFormats, AValueFormatIsShownInTheLocaleAndStoredInTheFilesOwn) {
    TChartAxis* axis = chart->GetLeftAxis();
    axis->SetValuesFormat(u"#,##0.00");
    Open(axis, Labels);
    EXPECT_EQ(page->LabelAxisFormat->GetCaption(), VavIve_ValuesFormat);
    const String local = page->CBFormat->GetText();
    EXPECT_EQ(local, SarvikToLocalFormat(u"#,##0.00"));
    page->CBFormat->SetText(SarvikToLocalFormat(u"0.0"));
    page->CBFormatChange(page->CBFormat);
    EXPECT_EQ(axis->GetAxisValuesFormat(), u"0.0");
    // Each format the list offers is written in the locale's notation too: chosen, it is stored
    // as the one it stands for.
    TStringList defaults;
    AddDefaultValueFormats(&defaults);
    TStrings* offered = page->CBFormat->GetItems();
    ASSERT_GE(offered->GetCount(), defaults.GetCount());
    for (int i = 0; i < defaults.GetCount(); ++i) {
        page->CBFormat->SetText(offered->GetStrings(i));
        page->CBFormatChange(page->CBFormat);
        EXPECT_EQ(axis->GetAxisValuesFormat(), defaults.GetStrings(i)) << i;
    }
}

// What the format editor builds in the locale's notation reaches the labels as the number format
// it stands for: two fixed decimals, not three digits; thousands grouped all along.
TEST_P(AxisPageFormats, TheFormatEditorsDecimalsAndThousandsShowOnTheLabels) {
    TChartAxis* axis = chart->GetLeftAxis();
    Open(axis, Labels);
    const auto edit = [&](bool Thousands, int Decimals) {
        ModalDriver driver;
        driver.Form<TFormatEditor>(
            [&](TFormatEditor& e) {
                if (e.CBThousands->GetChecked() != Thousands) probe::Click(*e.CBThousands);
                e.UpDown1->SetPosition(Decimals);
                if (!e.CBFixedDecimals->GetChecked()) probe::Click(*e.CBFixedDecimals);
            },
            mrOk);
        probe::Click(*page->Button1);
    };
    const String point(1, FormatSettings.DecimalSeparator), group(1, FormatSettings.ThousandSeparator);
    edit(false, 2);
    EXPECT_EQ(axis->LabelValue(3.14159), u"3" + point + u"14");
    edit(true, 0);
    EXPECT_EQ(axis->LabelValue(1234567), u"1" + group + u"234" + group + u"567");
}

TEST_P(AxisPageFormats, TheLogBaseIsTypedAndShownWithTheLocalesDecimalSeparator) {
    TChartAxis* axis = chart->GetLeftAxis();
    axis->SetLogarithmic(true);
    Open(axis, Scales);
    Type(page->ELogBase, FloatToStr(2.5));
    EXPECT_DOUBLE_EQ(axis->GetLogarithmicBase(), 2.5);
    page->LogE->SetChecked(true);
    EXPECT_EQ(page->ELogBase->GetText(), FloatToStr(std::numbers::e));
    EXPECT_NEAR(axis->GetLogarithmicBase(), std::numbers::e, 1e-12);
    page->FormShow(page); // shown again: e is recognised in its 15 digits
    EXPECT_TRUE(page->LogE->GetChecked());
    EXPECT_FALSE(page->LogE->GetEnabled());
}

INSTANTIATE_TEST_SUITE_P(Locales, AxisPageFormats, ::testing::ValuesIn(editortest::kLocales),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// A look

TEST_F(AxisPage, PictureOfEachMainTab) {
    Open(chart->GetLeftAxis(), Scales);
    page->PageLabels->SetActivePage(page->TabLabText);
    page->PageLabelsChange(page->PageLabels);
    page->PageTitle->SetActivePage(page->TabTitleFormat);
    page->PageTitleChange(page->PageTitle);
    const struct {
        TTabSheet* tab;
        const char* name;
    } tabs[] = {
        {page->TabScales, "axis-page-scales.png"},      {page->TabTitle, "axis-page-title-format.png"},
        {page->TabLabels, "axis-page-labels-text.png"}, {page->TabTicks, "axis-page-ticks.png"},
        {page->TabGrid, "axis-page-grid.png"},          {page->TabPosition, "axis-page-position.png"}};
    for (const auto& t : tabs) {
        ShowTab(t.tab);
        SavePicture(*form.get(), t.name);
    }
}
