// The series list box as the X server shows it and as a mouse reaches it: four sections
// per row (the type's icon first), a click on a check box switches the series off, a row dragged onto another
// changes the chart's order.
#include "chart/editors/zuzlisb.h"

#include "tests/chart/editors/gridfixture.h"
#include "tests/support/xserver.h"

namespace {

class XChartListBox : public ChartFormTest {
protected:
    void SetUp() override {
        ChartFormTest::SetUp();
        form->SetCaption(u"Серии графика");
        form->SetBounds(60, 60, 640, 420);
        list = Create<TChartListBox>(form.get());
        list->SetParent(form.get());
        list->SetBounds(0, 0, 310, 420);
        auto* t = AddSeries<TLineSeries>({21, 22, 24, 23, 21}, u"Температура, °C");
        t->SetSeriesColor(clRed);
        auto* p = AddSeries<TBarSeries>({11, 12, 10, 9, 12}, u"Давление, кПа");
        p->SetSeriesColor(clBlue);
        p->GetMarks()->SetVisible(false);
        auto* q = AddSeries<TLineSeries>({5, 7, 6, 8, 9}, u"Расход, м³/ч");
        q->SetSeriesColor(clGreen);
        list->SetChart(chart);
    }
    TPoint At(int Row, TChartListBox::TSection Section) {
        const TRect r = list->ItemRect(Row);
        return TPoint(list->SectionLeft(Section) + 6, (r.Top + r.Bottom) / 2);
    }
    TChartListBox* list = nullptr;
};

} // namespace

TEST_F(XChartListBox, ShowsItsSectionsAndTakesClicksAndDrags) {
    ASSERT_TRUE(xserver::Activate(*form.form));
    probe::ProcessEvents();
    xserver::Keep(xserver::Picture(*form.form), "chart-listbox");
    // The colour box of the second row holds the bar's blue.
    const probe::Picture shot = xserver::Picture(*list);
    const TPoint colour = At(1, TChartListBox::secColor);
    EXPECT_EQ(shot.Pixel(colour.X + 4, colour.Y), (probe::Rgb{0, 0, 255}));
    // The icon section holds the series type's own picture: the line's grey axes, the bar's
    // green middle bar.
    const auto count = [&](int Row, probe::Rgb Colour) {
        const TPoint at = At(Row, TChartListBox::secIcon);
        int n = 0;
        for (int y = at.Y - 12; y < at.Y + 12; ++y)
            for (int x = 0; x < list->SectionLeft(TChartListBox::secCheck); ++x)
                n += shot.Pixel(x, y) == Colour;
        return n;
    };
    EXPECT_GT(count(0, probe::Rgb{128, 128, 128}), 20);
    EXPECT_GT(count(1, probe::Rgb{0, 128, 0}), 5);
    EXPECT_EQ(count(0, probe::Rgb{0, 128, 0}), 0);

    TChartSeries* bars = chart->GetSeries(1);
    ASSERT_TRUE(xserver::Click(*list, At(1, TChartListBox::secCheck)));
    EXPECT_FALSE(bars->GetActive());
    ASSERT_TRUE(xserver::Click(*list, At(1, TChartListBox::secCheck)));
    EXPECT_TRUE(bars->GetActive());

    // The first row dragged onto the third: the two series change places.
    TChartSeries* first = chart->GetSeries(0);
    TChartSeries* third = chart->GetSeries(2);
    ASSERT_TRUE(xserver::Drag(*list, At(0, TChartListBox::secTitle), At(2, TChartListBox::secTitle)));
    EXPECT_EQ(chart->GetSeries(2), first);
    EXPECT_EQ(chart->GetSeries(0), third);
    EXPECT_EQ(list->GetSeries(2), first);
    xserver::Keep(xserver::Picture(*form.form), "chart-listbox-dragged");
}
