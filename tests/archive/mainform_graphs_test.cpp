// The graph side of the main window: the data series the table builder fills,
// the graph windows (numbering, activation, closing, the popup and the time
// scroll bar) and the graph settings dialog acting on them.
#include "tests/archive/graphharness.h"

#include "chart/canvas/zuzfont.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/seriesmarks.h"
#include "chart/engine/seriespointer.h"
#include "chart/series/zuzedit.h"
#include "platform/core/dateutils.h"
#include "platform/gui/menus.h"
#include "tests/support/guiprobe.h"
#include "tests/support/picturefile.h"
#include "tests/support/wait.h"
#include "tools/device-sim/simoptions.h"

#include <filesystem>
#include <fstream>

#include <cmath>

using namespace graphtest;

namespace {

const TDateTime Oct5 = EncodeDate(2009, 10, 5);
TDateTime At(int h, int m) {
    return Oct5 + EncodeTime(h, m, 0, 0);
}
const double kNull = std::nan("");
constexpr double kSecond = 1.0 / 86400;

// ---------------------------------------------------------------------------
// Data series

TEST(GraphDataSeries, HoldTheTableValuesWithNullsWhereTheTableHasMarkers) {
    GraphHarness h;
    h.ReadDays(readroad::WorkedArchive(), Oct5);
    ASSERT_EQ(h.Grid(), readroad::WorkedTable);
    const TDateTime t1 = At(12, 30), t2 = At(13, 0);
    ASSERT_EQ(h.F().Chart1->SeriesCount(), 4);
    EXPECT_EQ(PointsOf(h.F().dataSeries[0]), (Points{{t1, 1.5}, {t2, 2.25}}));
    EXPECT_EQ(PointsOf(h.F().dataSeries[1]), (Points{{t1, 0}, {t2, 0}}));
    EXPECT_EQ(PointsOf(h.F().dataSeries[2]), (Points{{t1, kNull}, {t2, 10}}));
    EXPECT_EQ(PointsOf(h.F().dataSeries[3]), (Points{{t1, kNull}, {t2, 7}}));
    for (int k = 0; k < 4; ++k) {
        TLineSeries* s = h.F().dataSeries[k];
        EXPECT_EQ(s->GetTitle(), u"Значение" + IntToStr(k + 1));
        EXPECT_EQ(s->GetPen()->GetWidth(), 2);
        EXPECT_TRUE(s->GetXValues()->GetDateTime());
        EXPECT_EQ(s->GetOwner(), h.F().Chart1);
        EXPECT_EQ(GraphSettings->CheckListBoxValue->GetItems()->GetStrings(k), s->GetTitle());
    }
    EXPECT_EQ(h.F().dataSeries[4], nullptr);
}

TEST(GraphDataSeries, AllZeroRecordIsNullEverywhereAndARecordWithoutADateGivesNoPoint) {
    GraphHarness h;
    h.ReadDays(Day(10, 5, {"05 10 12 30 0 0", "05 10 13 00 0 9999", "31 02 10 00 7 8"}), Oct5);
    ASSERT_EQ(h.Row(3), (readroad::Lines{"Err.4", "7", "8"}));
    // A marker counts as non-zero: the record's zero is a real point.
    EXPECT_EQ(PointsOf(h.F().dataSeries[0]), (Points{{At(12, 30), kNull}, {At(13, 0), 0}}));
    EXPECT_EQ(PointsOf(h.F().dataSeries[1]), (Points{{At(12, 30), kNull}, {At(13, 0), kNull}}));
    // No point at the time origin: a graph of this read spans its day, not a century.
    EXPECT_EQ(h.F().Chart1->MinXValue(h.F().Chart1->GetBottomAxis()), At(12, 30));
}

TEST(GraphDataSeries, ALaterDayWithMoreValuesAddsASeriesAndAListItem) {
    GraphHarness h;
    devsim::Archive a = Day(10, 5, {"05 10 12 00 1"});
    a.Add({10, 6}, "06 10 12 00 1 2 3");
    h.ReadDays(a, Oct5, 2);
    ASSERT_EQ(h.F().Chart1->SeriesCount(), 3);
    EXPECT_EQ(PointsOf(h.F().dataSeries[0]).size(), 2u);
    EXPECT_EQ(PointsOf(h.F().dataSeries[2]), (Points{{Oct5 + 1 + EncodeTime(12, 0, 0, 0), 3}}));
    EXPECT_EQ(GraphSettings->CheckListBoxValue->GetItems()->GetCount(), 3);
}

TEST(GraphDataSeries, ANewReadFreesTheLastReadsSeriesAndEmptiesTheList) {
    GraphHarness h;
    h.ReadDays(readroad::WorkedArchive(), Oct5);
    h.ReadDays(Day(10, 5, {"05 10 12 00 1 2"}), Oct5);
    // Only the new read's series are left on the hidden chart, and only they are owned by it.
    EXPECT_EQ(h.F().Chart1->SeriesCount(), 2);
    EXPECT_EQ(h.F().Chart1->GetComponentCount(), 2);
    EXPECT_EQ(h.F().dataSeries[2], nullptr);
    EXPECT_EQ(GraphSettings->CheckListBoxValue->GetItems()->GetCount(), 2);
}

TEST(GraphDataSeries, AHeaderRenameReachesTheSeriesTheListAndTheWindowsOfThatColumnOnly) {
    GraphHarness h;
    // Nothing read yet: the header is renamed and nothing else.
    h.F().editCol = 1;
    h.F().Edit1->SetText(u"Давление");
    h.F().Edit1Exit(h.F().Edit1);
    EXPECT_EQ(h.F().StringGrid->GetCells(1, 0), u"Давление");
    EXPECT_EQ(GraphSettings->CheckListBoxValue->GetItems()->GetCount(), 0);

    h.ReadDays(readroad::WorkedArchive(), Oct5);
    h.Open();
    h.Dialog(1);
    h.Tick(1);
    h.Tick(2);
    h.F().editCol = 2;
    h.F().editRow = 0;
    h.F().Edit1->SetText(u"Расход");
    h.F().Edit1Exit(h.F().Edit1);
    EXPECT_EQ(h.F().dataSeries[1]->GetTitle(), u"Расход");
    EXPECT_EQ(GraphSettings->CheckListBoxValue->GetItems()->GetStrings(1), u"Расход");
    EXPECT_EQ(h.G(1).seriesRecords[1].lineSeries->GetTitle(), u"Расход");
    EXPECT_EQ(h.G(1).seriesRecords[2].lineSeries->GetTitle(), u"Значение3");
    EXPECT_EQ(h.F().dataSeries[0]->GetTitle(), u"Значение1");
}

// ---------------------------------------------------------------------------
// Graph windows

TEST(GraphWindows, CtrlGOpensGraph1AsTheMainWindowOffersIt) {
    GraphHarness h;
    TMainForm& f = h.F();
    EXPECT_FALSE(f.Chart1->GetVisible());
    EXPECT_FALSE(f.Chart1->GetView3D());
    EXPECT_EQ(f.Chart1->GetColorPaletteIndex(), 13);
    EXPECT_EQ(f.Chart1->PrintMargins, TRect(15, 5, 15, 5));
    EXPECT_EQ(f.Chart1->GetBottomAxis()->GetAxisPen()->GetColor(), clWhite);

    GraphRecord& g = h.Open();
    EXPECT_EQ(f.graphCount, 1);
    EXPECT_EQ(g.graphForm->GetCaption(), u"График1");
    EXPECT_EQ(g.graphForm->GetName(), u"GraphForm1");
    EXPECT_EQ(g.graphCaption, u"График1");
    EXPECT_EQ(g.graphNumber, 1);
    EXPECT_EQ(g.graphForm->GetWidth(), 500);
    EXPECT_EQ(g.graphForm->GetHeight(), 350);
    EXPECT_EQ(g.graphForm->GetOwner(), &f);
    EXPECT_EQ(g.graphForm->GetPopupMenu(), f.PopupMenuGr);
    EXPECT_TRUE(g.graphForm->GetVisible());
    TChart* c = g.graphChart;
    EXPECT_EQ(c->GetColor(), clBlack);
    EXPECT_FALSE(c->GetView3D());
    EXPECT_EQ(c->GetAlign(), alClient);
    EXPECT_TRUE(c->GetLegend()->GetVisible());
    EXPECT_EQ(c->GetLegend()->GetLegendStyle(), lsSeries);
    EXPECT_EQ(c->GetBottomAxis()->GetDateTimeFormat(), u"HH:mm:ss");
    EXPECT_EQ(c->GetBottomAxis()->GetLabelsSeparation(), 25);
    EXPECT_DOUBLE_EQ(c->GetBottomAxis()->GetDesiredIncrement(), kSecond);
    EXPECT_EQ(c->GetLeftAxis()->GetGrid()->GetColor(), clWhite);
    EXPECT_EQ(c->GetLeftAxis()->GetLabelsFont()->GetColor(), clWhite);
    EXPECT_EQ(c->PrintMargins, TRect(2, 2, 2, 2));
    EXPECT_FALSE(g.graphScrollBar->GetVisible());
    EXPECT_FALSE(g.graphStatusBar->GetVisible());
    EXPECT_EQ(g.graphStatusBar->GetPanels()->GetCount(), 5);
    EXPECT_TRUE(g.autoX && g.autoY && g.legendVisible && !g.labelsRotated);
    EXPECT_EQ(g.yMax, 100.0f);
    EXPECT_EQ(g.textColor, clWhite);
    EXPECT_EQ(g.timeFormat, u"HH:mm:ss");
}

TEST(GraphWindows, TheTenthWindowDisablesTheActionAndClosingAnyEnablesIt) {
    GraphHarness h;
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(h.F().AddGraphic->GetEnabled());
        h.Open();
    }
    EXPECT_EQ(h.F().graphCount, 10);
    EXPECT_FALSE(h.F().AddGraphic->GetEnabled());
    // Ctrl+G does nothing more while ten are open.
    h.F().AddGraphicExecute(h.F().AddGraphic);
    EXPECT_EQ(h.F().graphCount, 10);
    h.G(4).graphForm->Close();
    h.Pump();
    EXPECT_EQ(h.F().graphCount, 9);
    EXPECT_TRUE(h.F().AddGraphic->GetEnabled());
}

TEST(GraphWindows, ClosedWindowsMoveTheLaterRecordsDownAndFreeTheirNumbers) {
    GraphHarness h;
    for (int i = 0; i < 3; ++i) h.Open();
    TForm* third = h.G(3).graphForm;
    h.G(2).graphForm->Close();
    h.Pump();
    EXPECT_EQ(h.F().graphCount, 2);
    EXPECT_EQ(h.G(1).graphNumber, 1);
    EXPECT_EQ(h.G(2).graphNumber, 3);
    EXPECT_EQ(h.G(2).graphForm, third);
    EXPECT_EQ(h.F().FindComponent(u"GraphForm2"), nullptr);
    GraphRecord& again = h.Open();
    EXPECT_EQ(again.graphNumber, 2);
    EXPECT_EQ(again.graphForm->GetCaption(), u"График2");
    EXPECT_EQ(again.graphForm->GetName(), u"GraphForm2");
    // The highest closed: its number is the next one again.
    h.G(2).graphForm->Close();
    h.Pump();
    EXPECT_EQ(h.Open().graphNumber, 3);
}

TEST(GraphWindows, TheCurrentWindowStaysCurrentAtItsNewPlaceAndAClosedOneIsCurrentNoMore) {
    GraphHarness h;
    for (int i = 0; i < 3; ++i) h.Open();
    h.F().GraphWindowActivate(h.G(3).graphForm);
    EXPECT_EQ(h.F().currentGraph, 3);
    EXPECT_EQ(h.Panel(2), "3");
    h.G(1).graphForm->Close();
    h.Pump();
    EXPECT_EQ(h.F().currentGraph, 2);
    EXPECT_EQ(h.F().CurrentGraphRecord()->graphNumber, 3);
    h.G(2).graphForm->Close();
    h.Pump();
    EXPECT_EQ(h.F().currentGraph, 0);
    EXPECT_EQ(h.F().CurrentGraphRecord(), nullptr);
    // The dialog on no window does nothing.
    GraphSettings->FormActivate(GraphSettings);
    GraphSettings->ApplayClick(GraphSettings->Applay);
    EXPECT_EQ(h.G(1).graphForm->GetCaption(), u"График2");
}

TEST(GraphWindows, ThePopupActsOnTheWindowItWasOpenedOn) {
    GraphHarness h;
    h.ReadDays(readroad::WorkedArchive(), Oct5);
    h.Open();
    h.Open();
    EXPECT_EQ(h.F().currentGraph, 2);
    // A right click on window 1's chart opens the windows' menu there; its
    // first command opens the dialog on window 1.
    TMenuItem* clicked = nullptr;
    SetPopupHook([&](TPopupMenu* menu, int, int) {
        EXPECT_EQ(menu, h.F().PopupMenuGr);
        clicked = h.F().MenuItem1;
        clicked->Click();
    });
    h.G(1).graphChart->HandleMouseUp(mbRight, {}, 40, 40);
    SetPopupHook({});
    ASSERT_NE(clicked, nullptr);
    EXPECT_EQ(h.F().currentGraph, 1);
    ASSERT_FALSE(h.dialogs.empty());
    EXPECT_EQ(h.dialogs.back().Form, GraphSettings);
}

TEST(GraphWindows, PrintAndSaveWorkOnTheWindowOfThePopup) {
    GraphHarness h;
    h.ReadDays(readroad::WorkedArchive(), Oct5);
    h.Open();
    h.Open();
    EXPECT_EQ(h.F().ChartPreviewer->GetOptions().Bits(), (1u << 11) - 1);
    // The preview is a modal window, gone once it is closed: its caption is read while it shows.
    String previewCaption;
    h.onDialog = [&](const TDialogRequest& r) {
        if (r.Form) previewCaption = r.Form->GetCaption();
    };
    h.F().PopupMenuGr->SetPopupComponent(h.G(1).graphChart);
    h.F().MenuItem4Click(h.F().MenuItem4);
    h.onDialog = {};
    EXPECT_EQ(previewCaption, u"Печать График1");
    EXPECT_EQ(h.F().ChartPreviewer->GetChart(), h.G(1).graphChart);
    EXPECT_EQ(h.F().currentGraph, 1);

    const std::filesystem::path file = h.dir.path / "graph.jpg";
    h.dialogs.clear();
    SetDialogResponder([&](const TDialogRequest& r) {
        h.dialogs.push_back(r);
        TDialogAnswer a;
        a.Result = IDOK;
        a.FileName = String(file.u16string());
        return a;
    });
    h.F().PopupMenuGr->SetPopupComponent(h.G(2).graphForm);
    h.F().N6Click(h.F().N6);
    EXPECT_EQ(h.F().currentGraph, 2);
    ASSERT_TRUE(std::filesystem::exists(file));
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(in.get(), 0xFF);
    EXPECT_EQ(in.get(), 0xD8);
}

TEST(GraphWindows, TheTimeScrollBarMovesTheWindowOfItsOwnGraph) {
    GraphHarness h;
    h.ReadDays(HourOfMinutes(), Oct5);
    GraphRecord& g = h.Open();
    h.Open(); // another window, activated last
    h.Dialog(1);
    h.Tick(0);
    GraphSettings->CheckBoxAutoX->SetChecked(false);
    GraphSettings->EditXvalueCount->SetText(u"60");
    h.Apply();
    TScrollBar* bar = g.graphScrollBar;
    TChartAxis* axis = g.graphChart->GetBottomAxis();
    EXPECT_TRUE(bar->GetVisible());
    EXPECT_FALSE(axis->GetAutomatic());
    EXPECT_EQ(bar->GetMin(), 60);
    EXPECT_EQ(bar->GetMax(), 3600);
    EXPECT_EQ(bar->GetPosition(), 3600);
    // The last minute.
    EXPECT_NEAR(axis->GetMinimum(), At(12, 59), kSecond / 100);
    EXPECT_NEAR(axis->GetMaximum(), At(13, 0), kSecond / 100);
    h.F().GraphWindowActivate(h.G(2).graphForm);
    bar->SetPosition(1800);
    EXPECT_NEAR(axis->GetMinimum(), At(12, 29), kSecond / 100);
    EXPECT_NEAR(axis->GetMaximum(), At(12, 30), kSecond / 100);
    bar->SetPosition(60);
    EXPECT_NEAR(axis->GetMinimum(), At(12, 0), kSecond / 100);
    EXPECT_NEAR(axis->GetMaximum(), At(12, 1), kSecond / 100);
    bar->SetPosition(2400);
    EXPECT_NEAR(axis->GetMaximum(), At(12, 40), kSecond / 100);
    EXPECT_NEAR(axis->GetMaximum() - axis->GetMinimum(), 60 * kSecond, kSecond / 100);
    // The other window did not move.
    EXPECT_TRUE(h.G(2).graphChart->GetBottomAxis()->GetAutomatic());
}

TEST(GraphWindows, ANewReadEmptiesEveryWindowButKeepsItsSettings) {
    GraphHarness h;
    h.ReadDays(readroad::WorkedArchive(), Oct5);
    GraphRecord& g = h.Open();
    h.Dialog(1);
    h.Tick(0);
    h.Tick(3);
    GraphSettings->EditGraphName->SetText(u"Котёл");
    GraphSettings->RadioGroupX->SetItemIndex(2);
    h.Apply();
    ASSERT_EQ(g.graphChart->SeriesCount(), 2);
    h.ReadDays(readroad::WorkedArchive(), Oct5);
    EXPECT_EQ(g.seriesCount, 0);
    EXPECT_EQ(g.graphChart->SeriesCount(), 0);
    EXPECT_EQ(g.graphChart->GetComponentCount(), 0);
    EXPECT_EQ(g.seriesRecords[1].lineSeries, nullptr);
    EXPECT_EQ(g.seriesRecords[1].valueColumn, 0);
    EXPECT_EQ(g.graphForm->GetCaption(), u"Котёл");
    EXPECT_EQ(g.timeFormat, u"HH:mm");
    EXPECT_EQ(h.F().graphCount, 1);
}

// ---------------------------------------------------------------------------
// The settings dialog

TEST(GraphSettingsDialog, TickingCopiesTheColumnAndUntickingClosesUp) {
    GraphHarness h;
    h.ReadDays(readroad::WorkedArchive(), Oct5);
    GraphRecord& g = h.Open();
    TGraphSettings& d = h.Dialog(1);
    EXPECT_EQ(d.GetCaption(), u"Настройки - График1");
    EXPECT_FALSE(d.ColorBox->GetEnabled());
    h.Tick(0);
    h.Tick(2);
    ASSERT_EQ(g.seriesCount, 2);
    const SeriesRecord& s = g.seriesRecords[2];
    EXPECT_EQ(s.valueColumn, 3);
    EXPECT_EQ(s.lineSeries->GetTitle(), u"Значение3");
    EXPECT_EQ(s.lineSeries->GetOwner(), g.graphChart);
    EXPECT_EQ(PointsOf(s.lineSeries), PointsOf(h.F().dataSeries[2]));
    EXPECT_EQ(s.lineSeries->GetTreatNulls(), tnDontPaint);
    EXPECT_EQ(s.lineSeries->GetPen()->GetWidth(), 2);
    EXPECT_EQ(s.penWidth, 2);
    EXPECT_EQ(s.penStyleName, u"esRound");
    EXPECT_EQ(s.lineSeries->GetPen()->GetStyle(), psSolid);
    EXPECT_FALSE(s.lineSeries->GetMarks()->GetVisible());
    EXPECT_EQ(s.lineSeries->GetMarks()->GetStyle(), smsValue);
    EXPECT_FALSE(s.lineSeries->GetPointer()->GetVisible());
    EXPECT_EQ(s.lineSeries->GetPointer()->GetHorizSize(), 3);
    EXPECT_EQ(s.seriesColor, s.lineSeries->GetSeriesColor());
    EXPECT_EQ(d.ColorBox->GetSelected(), s.seriesColor);
    EXPECT_EQ(g.graphChart->SeriesCount(), 2);

    TLineSeries* third = s.lineSeries;
    h.Tick(0, false);
    EXPECT_EQ(g.seriesCount, 1);
    EXPECT_EQ(g.seriesRecords[1].valueColumn, 3);
    EXPECT_EQ(g.seriesRecords[1].lineSeries, third);
    EXPECT_EQ(g.seriesRecords[2].lineSeries, nullptr);
    EXPECT_EQ(g.graphChart->SeriesCount(), 1);
    // The next activation ticks what the window shows.
    h.Dialog(1);
    EXPECT_FALSE(d.CheckListBoxValue->GetChecked(0));
    EXPECT_TRUE(d.CheckListBoxValue->GetChecked(2));
}

TEST(GraphSettingsDialog, AThirtyFirstSeriesIsRefused) {
    GraphHarness h;
    h.ReadDays(readroad::WorkedArchive(), Oct5);
    GraphRecord& g = h.Open();
    h.Dialog(1);
    g.seriesCount = 30;
    h.Tick(1);
    EXPECT_EQ(h.Boxes(), (std::vector<std::string>{"Максимальное число графиков значений равно тридцати!"}));
    EXPECT_EQ(h.beeps, 1);
    EXPECT_FALSE(GraphSettings->CheckListBoxValue->GetChecked(1));
    EXPECT_EQ(g.graphChart->SeriesCount(), 0);
    g.seriesCount = 0;
}

TEST(GraphSettingsDialog, LineControlsFollowTheSelectedItemAndSetItsSeries) {
    GraphHarness h;
    h.ReadDays(readroad::WorkedArchive(), Oct5);
    GraphRecord& g = h.Open();
    TGraphSettings& d = h.Dialog(1);
    h.Tick(1);
    SeriesRecord& s = g.seriesRecords[1];
    d.ColorBox->SetSelected(clLime);
    d.ColorBoxChange(d.ColorBox);
    d.ComboBoxLineWidth->SetItemIndex(4);
    d.ComboBoxLineWidthChange(d.ComboBoxLineWidth);
    d.ComboBoxEx->SetItemIndex(2);
    d.ComboBoxExChange(d.ComboBoxEx);
    d.CheckBoxLegend->SetChecked(true);
    d.CheckBoxLegendClick(d.CheckBoxLegend);
    d.CheckBoxPointeShow->SetChecked(true);
    d.CheckBoxPointeShowClick(d.CheckBoxPointeShow);
    EXPECT_EQ(s.lineSeries->GetSeriesColor(), clLime);
    EXPECT_EQ(s.seriesColor, clLime);
    EXPECT_EQ(s.lineSeries->GetPen()->GetWidth(), 5);
    EXPECT_EQ(s.penWidth, 5);
    EXPECT_EQ(s.lineSeries->GetPen()->GetStyle(), psDot);
    EXPECT_EQ(s.penStyleName, u"esFlat");
    EXPECT_TRUE(s.lineSeries->GetMarks()->GetVisible() && s.marksVisible);
    EXPECT_TRUE(s.lineSeries->GetPointer()->GetVisible() && s.pointerVisible);

    // An unticked item: the five controls off, and they change nothing.
    d.CheckListBoxValue->SetItemIndex(0);
    d.CheckListBoxValueClick(d.CheckListBoxValue);
    EXPECT_FALSE(d.ColorBox->GetEnabled() || d.ComboBoxEx->GetEnabled() ||
                 d.CheckBoxPointeShow->GetEnabled());
    d.ComboBoxEx->SetItemIndex(1);
    d.ComboBoxExChange(d.ComboBoxEx);
    EXPECT_EQ(s.penStyleName, u"esFlat");
    // Back on the ticked one: its settings are loaded.
    d.CheckListBoxValue->SetItemIndex(1);
    d.CheckListBoxValueClick(d.CheckListBoxValue);
    EXPECT_TRUE(d.ColorBox->GetEnabled());
    EXPECT_EQ(d.ColorBox->GetSelected(), clLime);
    EXPECT_EQ(d.ComboBoxLineWidth->GetText(), u"5");
    EXPECT_EQ(d.ComboBoxEx->GetItemIndex(), 2);
    EXPECT_TRUE(d.CheckBoxLegend->GetChecked() && d.CheckBoxPointeShow->GetChecked());
}

TEST(GraphSettingsDialog, ApplySetsAxesFormatAngleLegendColoursAndCaption) {
    GraphHarness h;
    h.ReadDays(readroad::WorkedArchive(), Oct5);
    GraphRecord& g = h.Open();
    TGraphSettings& d = h.Dialog(1);
    h.Tick(0);
    // "Применить" belongs to the second page.
    EXPECT_FALSE(d.Applay->GetVisible());
    d.PageControlGraph->SetActivePage(d.GraphSet);
    d.PageControlGraphChange(d.PageControlGraph);
    EXPECT_TRUE(d.Applay->GetVisible());

    TChart* c = g.graphChart;
    c->GetLeftAxis()->SetMinMax(0, 100);
    d.CheckBox2->SetChecked(false);
    d.EditYmin->SetText(u"30,1");
    d.EditYmax->SetText(u"300,1");
    d.RadioGroupX->SetItemIndex(0);
    d.CheckBoxLabel90Rotate->SetChecked(true);
    d.CheckBoxShowLegend->SetChecked(false);
    d.ColorBoxGrBckGr->SetSelected(clNavy);
    d.ColorBoxText->SetSelected(clYellow);
    d.EditGraphName->SetText(u"Котёл 2");
    h.Apply();
    EXPECT_TRUE(h.Boxes().empty());
    EXPECT_FALSE(c->GetLeftAxis()->GetAutomatic());
    EXPECT_EQ(c->GetLeftAxis()->GetMinimum(), 30.1);
    EXPECT_EQ(c->GetLeftAxis()->GetMaximum(), 300.1);
    EXPECT_EQ(g.yMin, 30.1f);
    EXPECT_EQ(g.yMax, 300.1f);
    EXPECT_FALSE(g.autoY);
    EXPECT_EQ(c->GetBottomAxis()->GetDateTimeFormat(), u"dd/MM/yyyy HH:mm:ss");
    EXPECT_EQ(g.timeFormat, u"dd/MM/yyyy HH:mm:ss");
    EXPECT_EQ(c->GetBottomAxis()->GetLabelsAngle(), 90);
    EXPECT_TRUE(g.labelsRotated);
    EXPECT_FALSE(c->GetLegend()->GetVisible());
    EXPECT_FALSE(g.legendVisible);
    EXPECT_EQ(c->GetColor(), clNavy);
    EXPECT_EQ(g.backColor, clNavy);
    EXPECT_EQ(g.textColor, clYellow);
    for (TChartAxis* a : {c->GetBottomAxis(), c->GetLeftAxis()}) {
        EXPECT_EQ(a->GetAxisPen()->GetColor(), clYellow);
        EXPECT_EQ(a->GetGrid()->GetColor(), clYellow);
        EXPECT_EQ(a->GetLabelsFont()->GetColor(), clYellow);
        EXPECT_EQ(a->GetTicks()->GetColor(), clYellow);
        EXPECT_EQ(a->GetTicksInner()->GetColor(), clYellow);
        EXPECT_EQ(a->GetMinorTicks()->GetColor(), clYellow);
    }
    EXPECT_EQ(g.graphForm->GetCaption(), u"Котёл 2");
    EXPECT_EQ(g.graphCaption, u"Котёл 2");
    EXPECT_EQ(d.GetCaption(), u"Настройки - Котёл 2");

    // The next activation shows what the window holds; a stored format none of
    // the items has leaves the choice as it was.
    d.RadioGroupX->SetItemIndex(1);
    g.timeFormat = u"mm:ss";
    h.Dialog(1);
    EXPECT_EQ(d.RadioGroupX->GetItemIndex(), 1);
    // The limits kept as floats show as they were typed.
    EXPECT_EQ(d.EditYmax->GetText(), u"300,1");
    EXPECT_EQ(d.EditYmin->GetText(), u"30,1");
    EXPECT_TRUE(d.EditYmax->GetEnabled());
    EXPECT_TRUE(d.CheckBoxLabel90Rotate->GetChecked());
    EXPECT_FALSE(d.CheckBoxShowLegend->GetChecked());
    EXPECT_EQ(d.ColorBoxGrBckGr->GetSelected(), clNavy);

    // OK applies too.
    d.CheckBox2->SetChecked(true);
    d.OKBtnClick(d.OKBtn);
    EXPECT_TRUE(c->GetLeftAxis()->GetAutomatic());
    EXPECT_TRUE(g.autoY);
}

TEST(GraphSettingsDialog, BadInputIsRefusedBeforeAnythingIsApplied) {
    GraphHarness h;
    h.ReadDays(HourOfMinutes(), Oct5);
    GraphRecord& g = h.Open();
    TGraphSettings& d = h.Dialog(1);
    h.Tick(0);
    d.CheckBoxAutoX->SetChecked(false);
    d.EditXvalueCount->SetText(u"60");
    d.EditGraphName->SetText(u"Не применится");
    d.CheckBox2->SetChecked(false);
    d.EditYmax->SetText(u"abc");
    h.Apply();
    EXPECT_EQ(h.Boxes(), (std::vector<std::string>{"Неверный формат данных"}));
    EXPECT_EQ(h.beeps, 1);
    EXPECT_EQ(d.EditYmax->GetText(), u"100");
    EXPECT_EQ(g.graphForm->GetCaption(), u"График1");
    EXPECT_TRUE(g.autoX);
    EXPECT_TRUE(g.graphChart->GetBottomAxis()->GetAutomatic());
    EXPECT_FALSE(g.graphScrollBar->GetVisible());
    EXPECT_TRUE(g.autoY);

    d.EditYmax->SetText(u"5");
    d.EditYmin->SetText(u"10");
    h.Apply();
    EXPECT_EQ(h.Boxes(), (std::vector<std::string>{"Xmax<Xmin"}));
    EXPECT_EQ(d.EditYmax->GetText(), u"100");
    EXPECT_EQ(g.graphForm->GetCaption(), u"График1");

    // A visible time below 3 s is put right as the edit's exit does, and applied.
    d.EditYmin->SetText(u"0");
    d.EditXvalueCount->SetText(u"2");
    h.Apply();
    EXPECT_TRUE(h.Boxes().empty());
    EXPECT_EQ(d.EditXvalueCount->GetText(), u"25");
    EXPECT_EQ(g.visibleSeconds, 25);
    EXPECT_EQ(g.graphScrollBar->GetMin(), 25);
    EXPECT_EQ(g.graphForm->GetCaption(), u"Не применится");
}

TEST(GraphSettingsDialog, ExitChecksOfTheEdits) {
    GraphHarness h;
    h.ReadDays(readroad::WorkedArchive(), Oct5);
    h.Open();
    TGraphSettings& d = h.Dialog(1);
    for (const auto& [typed, left] : {std::pair{u"", u"25"}, std::pair{u"2", u"25"}, std::pair{u"3", u"3"}}) {
        d.EditXvalueCount->SetText(typed);
        d.EditXvalueCountExit(d.EditXvalueCount);
        EXPECT_EQ(d.EditXvalueCount->GetText(), left);
    }
    d.EditYmax->SetText(u"abc");
    d.EditYmaxExit(d.EditYmax);
    EXPECT_EQ(h.Boxes(), (std::vector<std::string>{"Неверный формат данных"}));
    EXPECT_EQ(d.EditYmax->GetText(), u"100");
    d.EditYmax->SetText(u"5");
    d.EditYmin->SetText(u"10");
    d.EditYmaxExit(d.EditYmax);
    EXPECT_EQ(h.Boxes(), (std::vector<std::string>{"Xmax<Xmin"}));
    EXPECT_EQ(d.EditYmax->GetText(), u"100");
    d.EditYmax->SetText(u"5");
    d.EditYminExit(d.EditYmin);
    EXPECT_EQ(h.Boxes(), (std::vector<std::string>{"Xmax<Xmin"}));
    EXPECT_EQ(d.EditYmin->GetText(), u"0");
    // The other edit half typed ("-" or ","): nothing to compare, no error.
    d.EditYmin->SetText(u"-");
    d.EditYmax->SetText(u"7");
    d.EditYmaxExit(d.EditYmax);
    EXPECT_TRUE(h.Boxes().empty());
    // Both separators are read, whichever the locale's is.
    d.EditYmin->SetText(u"0");
    for (const char16_t separator : {u',', u'.'}) {
        FormatSettings.DecimalSeparator = separator;
        for (const char16_t* typed : {u"7.5", u"7,5"}) {
            d.EditYmax->SetText(typed);
            d.EditYmaxExit(d.EditYmax);
            EXPECT_TRUE(h.Boxes().empty()) << StringToAnsi(typed);
            EXPECT_EQ(d.EditYmax->GetText(), typed);
        }
    }
    FormatSettings.DecimalSeparator = u',';
    // The key filters.
    for (const auto& [key, kept] : {std::pair{u'5', true}, std::pair{u'-', true}, std::pair{u',', true},
                                    std::pair{u'.', true}, std::pair{char16_t(8), true},
                                    std::pair{u'a', false}, std::pair{u'e', false}, std::pair{u' ', false}}) {
        Char k = key;
        d.EditYmaxKeyPress(d.EditYmax, k);
        EXPECT_EQ(k != 0, kept) << static_cast<int>(key);
        k = key;
        d.EditYminKeyPress(d.EditYmin, k);
        EXPECT_EQ(k != 0, kept) << static_cast<int>(key);
    }
    Char k = u'x';
    d.ComboBoxExKeyPress(d.ComboBoxEx, k);
    EXPECT_EQ(k, 0);
}

TEST(GraphSettingsDialog, AVisibleTimeLongerThanTheDataLeavesTheAxisAutomatic) {
    GraphHarness h;
    h.ReadDays(HourOfMinutes(), Oct5);
    GraphRecord& g = h.Open();
    TGraphSettings& d = h.Dialog(1);
    h.Tick(0);
    d.CheckBoxAutoX->SetChecked(false);
    d.EditXvalueCount->SetText(u"7200");
    h.Apply();
    EXPECT_FALSE(g.autoX);
    EXPECT_EQ(g.visibleSeconds, 7200);
    EXPECT_FALSE(g.graphScrollBar->GetVisible());
    EXPECT_TRUE(g.graphChart->GetBottomAxis()->GetAutomatic());
    // The hidden status bar shows the bar's Min and page size whenever the time is set by hand.
    const auto panel = [&](int i) { return g.graphStatusBar->GetPanels()->GetItem(i)->GetText(); };
    EXPECT_EQ(panel(0), u"0");
    EXPECT_EQ(panel(3), u"0");
    // Back to automatic hides the bar again.
    d.EditXvalueCount->SetText(u"60");
    h.Apply();
    EXPECT_TRUE(g.graphScrollBar->GetVisible());
    EXPECT_EQ(panel(0), u"60");
    d.CheckBoxAutoX->SetChecked(true);
    h.Apply();
    EXPECT_FALSE(g.graphScrollBar->GetVisible());
    EXPECT_TRUE(g.graphChart->GetBottomAxis()->GetAutomatic());
}

// ---------------------------------------------------------------------------
// What the operator sees

// The demo's month read and every column plotted: the window as the screen
// shows it, saved for a person to look at.
TEST(GraphWindowPicture, TheDemoMonthIsPlottedOnTheWindow) {
    using namespace std::chrono;
    const TDateTime today = EncodeDate(2023, 3, 15);
    const devsim::Config config = devsim::ParseArguments({"--demo", "--first", "2023-02-13"},
                                                         year_month_day{year{2023}, March, day{15}});
    GraphHarness h;
    h.Device(config.device.device);
    h.Interval(today - 30, today);
    h.Read();
    devsim::Device dev(devsim::LoadArchive(config), config.device);
    h.Serve(dev);
    ASSERT_EQ(h.F().StringGrid->GetRowCount(), 1 + 31 * 24);
    const auto shown = OpenGraphOfEveryColumn(h.F());
    ASSERT_EQ(shown.size(), 4u);
    GraphRecord& g = h.G(1);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return probe::Shown(*g.graphForm); }, [&] { h.Pump(); }));
    g.graphChart->Repaint();
    probe::ProcessEvents();
    const probe::Picture picture = probe::Grab(*g.graphChart);
    EXPECT_TRUE(picture.SavePng(testsupport::PictureFile("graphwindow-demo.png")));
    // A black chart with white axes and the four lines in their own colours.
    EXPECT_EQ(picture.Pixel(2, 2), (probe::Rgb{0, 0, 0}));
    std::vector<int> seen(4, 0);
    int white = 0;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const probe::Rgb p = picture.Pixel(x, y);
            if (p == probe::Rgb{255, 255, 255}) ++white;
            for (int k = 0; k < 4; ++k) {
                const std::int32_t c = ColorToRGB(g.seriesRecords[k + 1].seriesColor);
                if (p == probe::Rgb{c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF}) ++seen[k];
            }
        }
    EXPECT_GT(white, 500);
    for (int k = 0; k < 4; ++k) EXPECT_GT(seen[k], 200) << "series " << k + 1;
}

} // namespace
