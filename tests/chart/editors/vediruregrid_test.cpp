// The data grid: which column shows what, what an edited cell writes into the series,
// how rows come and go, and when the navigator's buttons are enabled.
#include "chart/editors/vediruregrid.h"

#include "chart/engine/chartvaluelist.h"
#include "chart/engine/zuzfunction.h"
#include "chart/series/bubblech.h"
#include "chart/series/zuzfunci.h"
#include "platform/core/sysutils.h"
#include "platform/gui/graphics.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/gridfixture.h"
#include "tests/support/guiprobe.h"
#include "tests/support/streamtext.h"

#include <gtest/gtest.h>

namespace {

class ChartGrid : public ChartFormTest {
protected:
    void SetUp() override {
        ChartFormTest::SetUp();
        grid = Create<TChartGrid>(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 320, 300);
    }
    // Presses a key as the keyboard would reach the grid.
    void Press(Word Key, TShiftState Shift = {}) { grid->HandleKeyDown(Key, Shift); }
    String Cell(int Col, int Row) { return grid->GetEditText(Col, Row); }

    TChartGrid* grid = nullptr;
};

// --- Columns and headers ---------------------------------------------------------

TEST_F(ChartGrid, ColoursTakeColumnOneAndLabelsColumnTwo) {
    AddSeries<TBarSeries>({1, 2, 3}, u"Bars");
    grid->SetShowColors(true);
    grid->SetChart(chart);
    EXPECT_EQ(grid->ColorsColumn(), 1);
    EXPECT_EQ(grid->LabelsColumn(), 2);
    EXPECT_EQ(Cell(1, 1), VavIve_Colors);
    EXPECT_EQ(Cell(2, 1), VavIve_Text);
    EXPECT_EQ(Cell(0, 1), u"#");
    EXPECT_EQ(grid->GetColWidths(0), 30);
    EXPECT_EQ(grid->GetColWidths(1), 40);
    grid->SetShowColors(false);
    EXPECT_EQ(grid->ColorsColumn(), -1);
    EXPECT_EQ(grid->LabelsColumn(), 1);
}

TEST_F(ChartGrid, BothScrollBarsAreTheStoredDefault) {
    EXPECT_EQ(grid->GetScrollBars(), ssBoth);
    EXPECT_EQ(streamtext::ObjectText(grid).find("ScrollBars"), std::string::npos);
    grid->SetScrollBars(ssVertical);
    auto* back = Create<TChartGrid>(form.get());
    streamtext::ReadText(streamtext::ObjectText(grid), back);
    EXPECT_EQ(back->GetScrollBars(), ssVertical);
}

TEST_F(ChartGrid, EachSeriesTakesItsXColumnOnlyWhenItsXIsNotASequence) {
    AddSeries<TLineSeries>({5, 6, 7}, u"Plain");
    auto* xy = AddSeries<TLineSeries>({}, u"XY");
    xy->AddXY(10, 1);
    xy->AddXY(20, 2);
    grid->SetChart(chart);
    // #, labels, Plain's Y, XY's X and Y.
    EXPECT_EQ(grid->GetColCount(), 5);
    TChartValueList* list = nullptr;
    EXPECT_EQ(grid->GetSeriesOfCol(2, list), chart->GetSeries(0));
    EXPECT_EQ(list, chart->GetSeries(0)->GetYValues());
    EXPECT_EQ(grid->GetSeriesOfCol(3, list), xy);
    EXPECT_EQ(list, xy->GetXValues());
    EXPECT_EQ(grid->GetSeriesOfCol(4, list), xy);
    EXPECT_EQ(list, xy->GetYValues());
    EXPECT_EQ(grid->GetSeriesOfCol(5, list), nullptr);
    EXPECT_EQ(Cell(3, 1), xy->GetXValues()->GetName());
    // One row per point of the longest series, under the two header rows.
    EXPECT_EQ(grid->GetRowCount(), 2 + 3);
    EXPECT_EQ(Cell(0, 2), u"0");
    EXPECT_EQ(Cell(3, 3), u"20");
    EXPECT_EQ(Cell(3, 4), u"");
    grid->SetShowXValues(cgsNo);
    EXPECT_EQ(grid->GetColCount(), 4);
    grid->SetShowXValues(cgsYes);
    EXPECT_EQ(grid->GetColCount(), 6);
}

TEST_F(ChartGrid, AHorizontalSeriesWithoutItsYColumnShowsItsXList) {
    auto* h = AddSeries<THorizLineSeries>({}, u"H");
    h->Add(3);
    h->Add(4);
    grid->SetChart(chart);
    TChartValueList* list = nullptr;
    EXPECT_EQ(grid->GetSeriesOfCol(2, list), h);
    EXPECT_EQ(list, h->MandatoryValueList());
}

TEST_F(ChartGrid, WithoutTheFieldsRowTheDataStartsOnRowOne) {
    AddSeries<TLineSeries>({1, 2});
    grid->SetChart(chart);
    grid->SetShowFields(false);
    EXPECT_EQ(grid->FirstRowNum(), 1);
    EXPECT_EQ(grid->GetRowCount(), 3);
    EXPECT_EQ(Cell(0, 0), u"#");
    EXPECT_EQ(Cell(2, 1), u"1");
}

TEST_F(ChartGrid, OneSeriesWithoutTheFieldsRowNamesItsValueListsInRowZero) {
    auto* s = AddSeries<TBarSeries>({1, 2}, u"Bars");
    s->SetSeriesColor(clRed);
    grid->SetShowFields(false);
    grid->SetSeries(s);
    form->Show();
    // The list names take the place of the series' symbol and title: no red square.
    const TRect symbol = grid->CellRect(2, 0);
    const probe::Picture shot = probe::Grab(*grid);
    EXPECT_NE(shot.Pixel(symbol.Left + 9, symbol.Top + 9), (probe::Rgb{255, 0, 0}));
    grid->SetShowFields(true);
    EXPECT_EQ(probe::Grab(*grid).Pixel(symbol.Left + 9, symbol.Top + 9), (probe::Rgb{255, 0, 0}));
}

TEST_F(ChartGrid, The3DModeShowsOnlyASeriesThatCarriesZValuesUnderTwoFixedRows) {
    auto* b = AddSeries<TBubbleSeries>({});
    b->AddBubble(1, 5, 2);
    b->AddBubble(2, 6, 1);
    grid->SetShowFields(false);
    grid->SetChart(chart);
    grid->SetGrid3DMode(true);
    // A bubble's radius is no depth.
    TChartValueList* list = nullptr;
    EXPECT_EQ(grid->GetSeriesOfCol(1, list), nullptr);
    EXPECT_EQ(grid->GetColCount(), 2);
    b->UsesZValues = true; // as a series with Z values of its own
    grid->SetGrid3DMode(true);
    EXPECT_EQ(grid->GetSeriesOfCol(1, list), b);
    EXPECT_EQ(grid->GetFixedRows(), 2);
    EXPECT_EQ(Cell(0, 0), u"#"); // the header row is row 0 without the fields row
    EXPECT_EQ(Cell(0, 1), u"");
    EXPECT_EQ(grid->GetColCount(), 1 + 2); // X 1 and 2
    EXPECT_EQ(grid->GetRowCount(), 2 + 2); // Z 1 and 2
    EXPECT_EQ(Cell(1, 3), u"5");           // X 1, Z 2
    EXPECT_EQ(Cell(2, 2), u"6");           // X 2, Z 1
    grid->SetGrid3DMode(false);
    EXPECT_EQ(grid->GetFixedRows(), 1);
}

TEST_F(ChartGrid, SingleSeriesModeDropsTheChartAndFollowsTheSeries) {
    auto* a = AddSeries<TLineSeries>({1, 2});
    auto* b = AddSeries<TLineSeries>({7, 8, 9});
    grid->SetChart(chart);
    grid->SetSeries(b);
    EXPECT_EQ(grid->GetChart(), nullptr);
    EXPECT_EQ(grid->GetColCount(), 3);
    EXPECT_EQ(Cell(2, 4), u"9");
    // Points added elsewhere reach the grid through the chart's events.
    b->Add(10);
    b->RefreshSeries();
    EXPECT_EQ(grid->GetRowCount(), 2 + 4);
    (void)a;
    // The series freed: the grid lets go of it.
    b->Free();
    EXPECT_EQ(grid->GetSeries(), nullptr);
    EXPECT_EQ(Cell(2, 2), u"");
}

TEST_F(ChartGrid, TheChartFreedLeavesAnEmptyGrid) {
    AddSeries<TLineSeries>({1, 2});
    grid->SetChart(chart);
    chart->Free();
    chart = nullptr;
    EXPECT_EQ(grid->GetChart(), nullptr);
    EXPECT_EQ(grid->GetRowCount(), 3);
}

// --- Values written from cells ---------------------------------------------------

TEST_F(ChartGrid, AValueTypedPastTheLastPointFillsNullPointsUpToIt) {
    auto* s = AddSeries<TLineSeries>({1});
    grid->SetChart(chart);
    grid->SetEditText(2, 2 + 3, u" 42 ");
    ASSERT_EQ(s->Count(), 4);
    EXPECT_TRUE(s->IsNull(1));
    EXPECT_TRUE(s->IsNull(2));
    EXPECT_FALSE(s->IsNull(3));
    EXPECT_EQ(s->GetYValues()->GetValue(3), 42);
    EXPECT_EQ(s->ValueColor(3), s->GetSeriesColor());
}

TEST_F(ChartGrid, ClearingAValueOutsideTheEditorMakesTheNullPoint) {
    auto* s = AddSeries<TLineSeries>({1, 2, 3});
    grid->SetChart(chart);
    ASSERT_FALSE(grid->GetEditorMode());
    grid->SetEditText(2, 3, u"");
    EXPECT_TRUE(s->IsNull(1));
    EXPECT_EQ(s->GetYValues()->GetValue(1), 2);
    // A value typed into the null point brings it back.
    grid->SetEditText(2, 3, u"5");
    EXPECT_FALSE(s->IsNull(1));
    EXPECT_EQ(s->GetYValues()->GetValue(1), 5);
}

TEST_F(ChartGrid, BadTextRaisesAndKeepsTheValue) {
    auto* s = AddSeries<TLineSeries>({1, 2});
    grid->SetChart(chart);
    EXPECT_THROW(grid->SetEditText(2, 2, u"abc"), EConvertError);
    EXPECT_EQ(s->GetYValues()->GetValue(0), 1);
    EXPECT_FALSE(s->IsNull(0));
}

TEST_F(ChartGrid, TheLabelsColumnLabelsThePointInEverySeries) {
    auto* a = AddSeries<TLineSeries>({1});
    auto* b = AddSeries<TLineSeries>({1, 2});
    grid->SetChart(chart);
    grid->SetEditText(1, 3, u"Noon");
    EXPECT_EQ(a->Count(), 2);
    EXPECT_EQ(a->GetXLabel(1), u"Noon");
    EXPECT_EQ(b->GetXLabel(1), u"Noon");
    EXPECT_EQ(Cell(1, 3), u"Noon");
}

TEST_F(ChartGrid, EditedSeriesCountAsHandEnteredAndTellTheHandler) {
    auto* s = AddSeries<TLineSeries>({1});
    grid->SetChart(chart);
    int col = -1, row = -1;
    grid->OnSetEditText = TSetEditEvent([&](TObject*, int c, int r, const String&) {
        col = c;
        row = r;
    });
    grid->SetEditText(2, 2, u"3");
    EXPECT_TRUE(s->GetManualData());
    EXPECT_EQ(col, 2);
    EXPECT_EQ(row, 2);
}

TEST_F(ChartGrid, TheColoursColumnIsNeverEdited) {
    auto* s = AddSeries<TBarSeries>({1, 2});
    grid->SetShowColors(true);
    grid->SetChart(chart);
    grid->SetCol(1);
    grid->SetRow(2);
    EXPECT_FALSE(grid->CanEditShow());
    grid->SetEditText(1, 2, u"7");
    EXPECT_EQ(s->GetYValues()->GetValue(0), 1);
}

TEST_F(ChartGrid, TheEditingHandlerCanRefuseTheEditor) {
    AddSeries<TLineSeries>({1, 2});
    grid->SetChart(chart);
    grid->SetCol(2);
    grid->SetRow(2);
    grid->OnEditingCell = TEditingCellEvent([](TObject*, int, int, bool& can) { can = false; });
    grid->StartEditing();
    EXPECT_FALSE(grid->GetEditorMode());
}

// Numbers are read and shown with the program's decimal separator: run once under C and
// once more under ru_RU.UTF-8.
TEST_F(ChartGrid, ValuesFollowTheProgramsDecimalSeparator) {
    auto* s = AddSeries<TLineSeries>({1.5});
    grid->SetChart(chart);
    const String half = Russian() ? u"2,25" : u"2.25";
    EXPECT_EQ(Cell(2, 2), Russian() ? u"1,5" : u"1.5");
    grid->SetEditText(2, 2, half);
    EXPECT_EQ(s->GetYValues()->GetValue(0), 2.25);
    EXPECT_EQ(Cell(2, 2), half);
    // A date-time list shows its times alone below one day.
    s->GetYValues()->SetDateTime(true);
    s->GetYValues()->SetValue(0, 0.25);
    EXPECT_EQ(Cell(2, 2), TimeToStr(0.25));
    s->GetYValues()->SetValue(0, 45000.5);
    EXPECT_EQ(Cell(2, 2), DateTimeToStr(45000.5));
    grid->SetEditText(2, 2, DateTimeToStr(45001.75));
    EXPECT_DOUBLE_EQ(s->GetYValues()->GetValue(0), 45001.75);
    // One no calendar holds (a chart file can carry it) shows as its number.
    s->GetYValues()->SetValue(0, -1e12);
    EXPECT_EQ(Cell(2, 2), FormatFloat(s->GetValueFormat(), -1e12));
}

// A date and time is right-aligned in its cell: a column narrower than the text would cut
// off its day and month.
TEST_F(ChartGrid, ValuesOfDateTimesFitWholeInTheirColumn) {
    auto* s = AddSeries<TLineSeries>({});
    s->GetXValues()->SetDateTime(true);
    for (int h = 1; h <= 3; ++h) s->AddXY(EncodeDate(2026, 12, 8) + EncodeTime(h, 0, 0, 0), h);
    grid->SetChart(chart);
    TChartValueList* list = nullptr;
    ASSERT_EQ(grid->GetSeriesOfCol(2, list), s);
    ASSERT_EQ(list, s->GetXValues());
    const auto fitsWhole = [&](const char* When) {
        TBitmap measure;
        measure.GetCanvas()->GetFont()->Assign(grid->GetFont());
        for (int r = 2; r < grid->GetRowCount(); ++r) {
            const String text = Cell(2, r);
            ASSERT_NE(text.find(u"2026"), String::npos);
            EXPECT_GE(grid->GetColWidths(2), measure.GetCanvas()->TextWidth(text) + 4)
                << When << ": " << UTF8Encode(text);
        }
    };
    fitsWhole("shown");
    // The numbers beside it keep the default width.
    EXPECT_EQ(grid->GetColWidths(3), grid->GetDefaultColWidth());
    grid->GetFont()->SetSize(grid->GetFont()->GetSize() * 2);
    fitsWhole("in a larger font");
    // A column whose values are no longer date-times is no longer widened for them.
    s->GetXValues()->SetDateTime(false);
    s->RefreshSeries();
    EXPECT_EQ(grid->GetColWidths(2), grid->GetDefaultColWidth());
}

// --- Editing: start, post, cancel ------------------------------------------------

TEST_F(ChartGrid, CancelWritesTheOldTextBackAndPostKeepsTheNewOne) {
    auto* s = AddSeries<TLineSeries>({1, 2});
    grid->SetChart(chart);
    form->Show();
    grid->SetCol(2);
    grid->SetRow(3);
    grid->StartEditing();
    ASSERT_TRUE(grid->GetEditorMode());
    EXPECT_EQ(grid->GetEditorText(), u"2");
    grid->SetEditorText(u"9");
    grid->StopEditing(true);
    EXPECT_FALSE(grid->GetEditorMode());
    EXPECT_EQ(s->GetYValues()->GetValue(1), 2);
    grid->StartEditing();
    grid->SetEditorText(u"9");
    grid->StopEditing(false);
    EXPECT_EQ(s->GetYValues()->GetValue(1), 9);
}

TEST_F(ChartGrid, ASeriesThatCalculatesItsPointsIsNotEdited) {
    auto* source = AddSeries<TLineSeries>({1, 2});
    auto* fed = AddSeries<TLineSeries>({});
    CreateNewZuzFunction(fed, &TAverageZuzFunction::StaticClass());
    fed->SetDataSource(source);
    auto* formula = AddSeries<TLineSeries>({});
    CreateNewZuzFunction(formula, &TCustomZuzFunction::StaticClass());
    form->Show();
    for (TChartSeries* s : {static_cast<TChartSeries*>(fed), static_cast<TChartSeries*>(formula)}) {
        grid->SetSeries(s);
        for (const int col : {1, 2}) { // its labels, its values
            grid->SetCol(col);
            grid->SetRow(2);
            grid->StartEditing();
            EXPECT_FALSE(grid->GetEditorMode()) << col;
            // Typed characters and Delete open the editor without StartEditing.
            grid->SetEditorMode(true);
            EXPECT_FALSE(grid->GetEditorMode()) << col;
        }
    }
    // Side by side, a label typed goes to the series that keep it.
    grid->SetChart(chart);
    form->Show();
    grid->SetEditText(grid->LabelsColumn(), 2, u"first");
    EXPECT_EQ(source->GetXLabel(0), u"first");
    EXPECT_EQ(fed->GetXLabel(0), u"");
    EXPECT_EQ(formula->Count(), 0);
    EXPECT_FALSE(fed->GetManualData());
    // Nor do rows added or deleted reach them, and alone they offer no row to add.
    const int averaged = fed->Count();
    grid->Insert();
    EXPECT_EQ(source->Count(), 3);
    EXPECT_EQ(fed->Count(), averaged);
    EXPECT_EQ(formula->Count(), 0);
    grid->SetRow(2);
    grid->Delete();
    EXPECT_EQ(source->Count(), 2);
    EXPECT_EQ(fed->Count(), averaged);
    auto* nav = Create<TChartGridNavigator>(form.get());
    nav->SetGrid(grid);
    grid->SetSeries(fed);
    nav->EnableButtons();
    for (const TZuzNavigateBtn b : {nbInsert, nbEdit, nbDelete})
        EXPECT_FALSE(nav->GetButton(b)->GetEnabled()) << b;
    // A row goes only with a point: alone, the calculated series keeps all its rows.
    const int rows = grid->GetRowCount();
    grid->SetRow(2);
    grid->Delete();
    EXPECT_EQ(grid->GetRowCount(), rows);
    EXPECT_EQ(fed->Count(), averaged);
    // Nor does Down on its last row append one.
    grid->AllowAppendRows = true;
    grid->SetRow(rows - 1);
    Press(VK_DOWN);
    EXPECT_EQ(grid->GetRowCount(), rows);
    EXPECT_EQ(fed->Count(), averaged);
}

// --- Rows ------------------------------------------------------------------------

TEST_F(ChartGrid, DeletingAPointWithHiddenXRenumbersXFromZero) {
    auto* s = AddSeries<TLineSeries>({10, 11, 12, 13});
    grid->SetChart(chart);
    grid->SetRow(3);
    grid->Delete();
    ASSERT_EQ(s->Count(), 3);
    EXPECT_EQ(s->GetYValues()->GetValue(1), 12);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(s->GetXValues()->GetValue(i), i);
    EXPECT_EQ(grid->GetRowCount(), 2 + 3);
}

TEST_F(ChartGrid, DeletingKeepsTheXValuesOfASeriesThatShowsThem) {
    auto* s = AddSeries<TLineSeries>({});
    s->AddXY(5, 1);
    s->AddXY(7, 2);
    s->AddXY(9, 3);
    grid->SetChart(chart);
    grid->SetRow(2);
    grid->Delete();
    EXPECT_EQ(s->GetXValues()->GetValue(0), 7);
    EXPECT_EQ(s->GetXValues()->GetValue(1), 9);
}

TEST_F(ChartGrid, InsertAddsANullPointToEverySeriesAndGoesToTheLastRow) {
    auto* a = AddSeries<TLineSeries>({1, 2});
    auto* b = AddSeries<TLineSeries>({1});
    grid->SetChart(chart);
    Press(VK_INSERT);
    EXPECT_EQ(a->Count(), 3);
    EXPECT_EQ(b->Count(), 2);
    EXPECT_TRUE(a->IsNull(2));
    EXPECT_EQ(a->GetXValues()->GetValue(2), 2);
    EXPECT_EQ(grid->GetRowCount(), 2 + 3);
    EXPECT_EQ(grid->GetRow(), grid->GetRowCount() - 1);
}

TEST_F(ChartGrid, UpOnAnAppendedEmptyLastRowRemovesItAgain) {
    auto* s = AddSeries<TLineSeries>({1, 2});
    grid->SetChart(chart);
    grid->AllowAppendRows = true;
    grid->SetCol(2);
    grid->SetRow(3);
    Press(VK_DOWN);
    EXPECT_EQ(s->Count(), 3);
    EXPECT_EQ(grid->GetRowCount(), 2 + 3);
    EXPECT_EQ(grid->GetRow(), 4);
    Press(VK_UP);
    EXPECT_EQ(s->Count(), 2);
    EXPECT_EQ(grid->GetRowCount(), 2 + 2);
    EXPECT_EQ(grid->GetRow(), 3);
    // A last row that holds a value stays.
    Press(VK_UP);
    EXPECT_EQ(s->Count(), 2);
    // Appended in a shorter series' column, the new point lies on the new row, not on its first.
    auto* shorter = AddSeries<TLineSeries>({5});
    grid->SetCol(3);
    Press(VK_DOWN);
    EXPECT_EQ(shorter->Count(), 3);
    EXPECT_EQ(shorter->YValue(0), 5);
    EXPECT_EQ(grid->GetRow(), 4);
    Press(VK_UP);
    EXPECT_EQ(grid->GetRowCount(), 2 + 2);
}

// A row added or typed under dated points is their last point, not one of 1900 at the top that
// stretches the time axis over a century and takes another point's value: Up takes it back again.
TEST_F(ChartGrid, ARowAddedUnderDatedPointsIsTheirLastAndTheirDatesStay) {
    auto* s = AddSeries<TLineSeries>({});
    s->GetXValues()->SetDateTime(true);
    s->AddXY(46000, 1);
    s->AddXY(46001, 2);
    grid->SetChart(chart);
    grid->AllowAppendRows = true;
    grid->SetCol(2);
    grid->SetRow(3);
    Press(VK_DOWN);
    ASSERT_EQ(s->Count(), 3);
    EXPECT_TRUE(s->IsNull(2));
    EXPECT_EQ(s->GetXValues()->GetMinValue(), 46000);
    Press(VK_UP);
    EXPECT_EQ(s->Count(), 2);
    Press(VK_INSERT);
    ASSERT_EQ(s->Count(), 3);
    EXPECT_TRUE(s->IsNull(2));
    EXPECT_EQ(s->GetXValues()->GetMinValue(), 46000);
    // A value or a label typed further down goes to a new last point, the dated ones keep theirs.
    grid->SetEditText(3, 2 + 4, u"7");
    ASSERT_EQ(s->Count(), 5);
    EXPECT_EQ(s->GetYValues()->GetValue(4), 7);
    EXPECT_EQ(s->GetYValues()->GetValue(1), 2);
    grid->SetEditText(1, 2 + 5, u"март");
    ASSERT_EQ(s->Count(), 6);
    EXPECT_EQ(s->GetXLabel(5), u"март");
    EXPECT_EQ(s->GetXValues()->GetMinValue(), 46000);
}

TEST_F(ChartGrid, DownOnTheLastRowAppendsOnlyWhenAllowed) {
    auto* s = AddSeries<TLineSeries>({1, 2});
    grid->SetChart(chart);
    grid->SetCol(2);
    grid->SetRow(3);
    Press(VK_DOWN);
    EXPECT_EQ(s->Count(), 2);
    EXPECT_EQ(grid->GetRowCount(), 4);
}

TEST_F(ChartGrid, RightAndLeftOnTheLastColumnGrowAndShrinkTheChart) {
    AddSeries<TBarSeries>({1, 2});
    grid->SetChart(chart);
    grid->AllowGrowSeries = true;
    grid->SetCol(grid->GetColCount() - 1);
    Press(VK_RIGHT);
    ASSERT_EQ(chart->SeriesCount(), 2);
    EXPECT_EQ(&chart->GetSeries(1)->ClassType(), &TBarSeries::StaticClass());
    grid->SetCol(grid->GetColCount() - 1);
    Word key = VK_LEFT;
    grid->HandleKeyDown(key, {});
    EXPECT_EQ(chart->SeriesCount(), 1);
    EXPECT_EQ(key, 0);
}

TEST_F(ChartGrid, TheCurrentCellNeverLandsOnTheNumbersOrTheHeaders) {
    AddSeries<TLineSeries>({1, 2});
    grid->SetChart(chart);
    EXPECT_FALSE(grid->SelectCell(0, 2));
    EXPECT_FALSE(grid->SelectCell(2, 1));
    EXPECT_TRUE(grid->SelectCell(2, 2));
    EXPECT_EQ(grid->GetCol(), 1);
    EXPECT_EQ(grid->GetRow(), 2);
}

// --- Colours ---------------------------------------------------------------------

TEST_F(ChartGrid, ChangeColorGivesThePointTheChosenColour) {
    auto* s = AddSeries<TBarSeries>({1, 2});
    grid->SetShowColors(true);
    grid->SetChart(chart);
    grid->SetCol(1);
    grid->SetRow(3);
    int told = 0;
    grid->OnChangeColor = TNotifyEvent([&](TObject*) { ++told; });
    answer = [](const TDialogRequest& r) {
        TDialogAnswer a;
        if (r.Kind == TDialogKind::ColorDialog) {
            a.Result = mrOk;
            a.Color = static_cast<int>(clLime);
        }
        return a;
    };
    Press(VK_F1 + 1); // F2
    EXPECT_EQ(s->ValueColor(1), clLime);
    EXPECT_EQ(told, 1);
    // Cancelled: nothing changes.
    answer = nullptr;
    Press(VK_RETURN);
    EXPECT_EQ(s->ValueColor(1), clLime);
    EXPECT_EQ(told, 1);
}

// --- The navigator ---------------------------------------------------------------

class GridNavigator : public ChartGrid {
protected:
    void SetUp() override {
        ChartGrid::SetUp();
        nav = Create<TChartGridNavigator>(form.get());
        nav->SetParent(form.get());
        nav->SetBounds(0, 300, 320, 25);
    }
    bool On(TZuzNavigateBtn b) { return nav->GetButton(b)->GetEnabled(); }
    TChartGridNavigator* nav = nullptr;
};

TEST_F(GridNavigator, FirstAndPriorOffOnTheFirstRowNextAndLastOffOnTheLast) {
    AddSeries<TLineSeries>({1, 2, 3});
    grid->SetChart(chart);
    nav->SetGrid(grid);
    EXPECT_EQ(grid->GetNavigator(), nav);
    EXPECT_FALSE(On(nbFirst));
    EXPECT_FALSE(On(nbPrior));
    EXPECT_TRUE(On(nbNext));
    EXPECT_TRUE(On(nbLast));
    nav->BtnClick(nbLast);
    EXPECT_EQ(grid->GetRow(), 4);
    EXPECT_TRUE(On(nbFirst));
    EXPECT_FALSE(On(nbNext));
    nav->BtnClick(nbPrior);
    EXPECT_EQ(grid->GetRow(), 3);
    nav->BtnClick(nbFirst);
    EXPECT_EQ(grid->GetRow(), 2);
    // Moving the grid's row from code reaches the buttons too.
    grid->SetRow(4);
    EXPECT_FALSE(On(nbLast));
}

TEST_F(GridNavigator, InsertEditAndDeleteNeedSeriesPostAndCancelAnOpenEditor) {
    grid->SetChart(chart);
    nav->SetGrid(grid);
    EXPECT_FALSE(On(nbInsert));
    EXPECT_FALSE(On(nbEdit));
    EXPECT_FALSE(On(nbDelete));
    AddSeries<TLineSeries>({1, 2})->RefreshSeries();
    EXPECT_TRUE(On(nbInsert));
    EXPECT_TRUE(On(nbEdit));
    EXPECT_TRUE(On(nbDelete));
    EXPECT_FALSE(On(nbPost));
    form->Show();
    grid->SetCol(2);
    nav->BtnClick(nbEdit);
    ASSERT_TRUE(grid->GetEditorMode());
    EXPECT_TRUE(On(nbPost));
    EXPECT_TRUE(On(nbCancel));
    EXPECT_FALSE(On(nbInsert));
    grid->SetEditorText(u"8");
    nav->BtnClick(nbPost);
    EXPECT_FALSE(grid->GetEditorMode());
    EXPECT_EQ(chart->GetSeries(0)->GetYValues()->GetValue(0), 8);
    EXPECT_FALSE(On(nbPost));
    // Read-only: only a single series still allows Insert.
    grid->SetReadOnly(true);
    nav->EnableButtons();
    EXPECT_FALSE(On(nbInsert));
    grid->SetSeries(chart->GetSeries(0));
    EXPECT_TRUE(On(nbInsert));
}

TEST_F(GridNavigator, DeleteNeedsPointsAndTakesTheLastOneToo) {
    auto* s = AddSeries<TLineSeries>({1, 2});
    grid->SetChart(chart);
    nav->SetGrid(grid);
    EXPECT_TRUE(On(nbDelete));
    nav->BtnClick(nbDelete);
    EXPECT_EQ(s->Count(), 1);
    // The one data row left: its point goes too, and the row stays, empty.
    EXPECT_TRUE(On(nbDelete));
    nav->BtnClick(nbDelete);
    EXPECT_EQ(s->Count(), 0);
    EXPECT_EQ(grid->GetRowCount(), grid->FirstRowNum() + 1);
    EXPECT_FALSE(On(nbDelete));
}

TEST_F(GridNavigator, AFreedGridDisablesEveryButton) {
    AddSeries<TLineSeries>({1, 2, 3});
    grid->SetChart(chart);
    nav->SetGrid(grid);
    grid->Free();
    grid = nullptr;
    EXPECT_EQ(nav->GetGrid(), nullptr);
    for (int b = nbFirst; b <= nbCancel; ++b) EXPECT_FALSE(On(static_cast<TZuzNavigateBtn>(b)));
}

} // namespace
