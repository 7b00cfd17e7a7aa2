// The data grid as the X server shows it and as a keyboard and mouse reach it: the
// series' symbols and titles in the header, values right-aligned, a value typed into a
// cell lands in the series, Esc in the cell editor keeps the old value, a value cleared there
// leaves a null point, and a calculated
// series' cells take no keys.
#include "chart/editors/vediruregrid.h"

#include "chart/engine/chartvaluelist.h"
#include "chart/engine/seriestypes.h"
#include "chart/engine/zuzfunction.h"
#include "chart/series/zuzfunci.h"
#include "tests/chart/editors/gridfixture.h"
#include "tests/support/xserver.h"

namespace {

class XChartGrid : public ChartFormTest {
protected:
    void SetUp() override {
        ChartFormTest::SetUp();
        form->SetCaption(u"Данные графика");
        form->SetBounds(60, 60, 640, 420);
        grid = Create<TChartGrid>(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 320, 390);
        nav = Create<TChartGridNavigator>(form.get());
        nav->SetParent(form.get());
        nav->SetBounds(0, 392, 320, 25);
        auto* t = AddSeries<TLineSeries>({21.5, 22.25, 23, 22.75, 21}, u"Температура, °C");
        t->SetSeriesColor(clRed);
        auto* p = AddSeries<TBarSeries>({101.3, 101.1, 100.8, 100.9, 101.4}, u"Давление");
        p->SetSeriesColor(clBlue);
        p->GetMarks()->SetVisible(false);
        grid->SetShowColors(true);
        grid->SetChart(chart);
        nav->SetGrid(grid);
    }
    TPoint Centre(int Col, int Row) {
        const TRect r = grid->CellRect(Col, Row);
        return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    TChartGrid* grid = nullptr;
    TChartGridNavigator* nav = nullptr;
};

} // namespace

TEST_F(XChartGrid, ShowsTheSeriesAndTakesValuesTypedIntoItsCells) {
    ASSERT_TRUE(xserver::Activate(*form.form));
    probe::ProcessEvents();
    xserver::Keep(xserver::Picture(*form.form), "chart-grid");
    const probe::Picture shot = xserver::Picture(*grid);
    // The colours column shows the first series' point colours: the line's red.
    const TRect colour = grid->CellRect(1, 2);
    EXPECT_EQ(shot.Pixel(colour.Left + 20, colour.Top + 8), (probe::Rgb{255, 0, 0}));
    TChartSeries* line = chart->GetSeries(0);

    // A click on the line's third value, a number typed and Return.
    ASSERT_TRUE(xserver::Click(*grid, Centre(3, 4)));
    ASSERT_EQ(grid->GetCol(), 3);
    ASSERT_EQ(grid->GetRow(), 4);
    ASSERT_TRUE(xserver::Type("7 5 Return"));
    EXPECT_EQ(line->GetYValues()->GetValue(2), 75);
    EXPECT_FALSE(grid->GetEditorMode());

    // F2 opens the editor on the old value; what is typed and then Esc changes nothing.
    ASSERT_TRUE(xserver::Type("F2"));
    ASSERT_TRUE(grid->GetEditorMode());
    ASSERT_TRUE(xserver::Type("BackSpace BackSpace 1 Escape"));
    EXPECT_FALSE(grid->GetEditorMode());
    EXPECT_EQ(line->GetYValues()->GetValue(2), 75);
    // A value cleared in the editor and Return: the point becomes a null one.
    ASSERT_TRUE(xserver::Type("F2 ctrl+a BackSpace Return"));
    EXPECT_TRUE(line->IsNull(2));
    xserver::Keep(xserver::Picture(*form.form), "chart-grid-edited");
}

TEST_F(XChartGrid, AClickOnAColumnHeaderSelectsItsRowsAndASecondClickLetsGo) {
    ASSERT_TRUE(xserver::Activate(*form.form));
    const TRect header = grid->CellRect(4, 0);
    ASSERT_TRUE(xserver::Click(*grid, TPoint(header.Right - 6, (header.Top + header.Bottom) / 2)));
    EXPECT_EQ(grid->GetSelection(), (TGridRect{4, 2, 4, grid->GetRowCount() - 1}));
    ASSERT_TRUE(xserver::Click(*grid, TPoint(header.Right - 6, (header.Top + header.Bottom) / 2)));
    const TGridRect one = grid->GetSelection();
    EXPECT_EQ(one.Top, one.Bottom);
}

TEST_F(XChartGrid, KeysTypedIntoAnAveragesCellChangeNothing) {
    TChartSeries* line = chart->GetSeries(0);
    auto* average = AddSeries<TLineSeries>({}, u"Среднее");
    CreateNewZuzFunction(average, &TAverageZuzFunction::StaticClass());
    average->SetDataSource(line);
    ASSERT_GT(average->Count(), 0);
    const double mean = average->YValue(0);
    grid->SetBounds(0, 0, 640, 390);
    int col = 1;
    TChartValueList* list = nullptr;
    while (col < grid->GetColCount() &&
           !(grid->GetSeriesOfCol(col, list) == average && list == average->GetYValues()))
        ++col;
    ASSERT_LT(col, grid->GetColCount());
    ASSERT_TRUE(xserver::Activate(*form.form));
    ASSERT_TRUE(xserver::Click(*grid, Centre(col, 2)));
    ASSERT_EQ(grid->GetCol(), col);
    // Typed keys, F2 and Delete open no editor on it: the next recalculation would throw
    // the value away.
    for (const char* keys : {"9 9", "Return", "F2", "Delete"}) {
        ASSERT_TRUE(xserver::Type(keys));
        EXPECT_FALSE(grid->GetEditorMode()) << keys;
    }
    EXPECT_EQ(average->YValue(0), mean);
    EXPECT_FALSE(average->GetManualData());
    xserver::Keep(xserver::Picture(*form.form), "chart-grid-average");
}
