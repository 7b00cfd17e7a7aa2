// A picture to look at: 13 hourly series over a month on a date axis, pen
// width 2, with a six-hour gap of null points in every series. Written as
// lines-month.png under MOLTREN_PICTURE_DIR (else the test's temporary folder).
#include "chart/engine/chartvaluelist.h"
#include "linefixture.h"
#include "platform/core/sysutils.h"
#include "tests/chart/series/picturefile.h"

#include <cmath>

namespace {

using LinePicture = LineTest;

TEST_F(LinePicture, ThirteenHourlySeriesOverAMonthShowEachColourAndTheirGaps) {
    chart->SetBounds(0, 0, 960, 600);
    chart->GetBottomAxis()->SetAutomatic(true);
    chart->GetLeftAxis()->SetAutomatic(true);
    const double start = EncodeDate(2026, 11, 1);
    std::vector<TLineSeries*> series;
    for (int k = 0; k < 13; ++k) {
        auto* s = Create<TLineSeries>(chart.get());
        chart->AddSeries(s);
        s->GetXValues()->SetDateTime(true);
        s->GetLinePen()->SetWidth(2);
        for (int h = 0; h < 24 * 30; ++h) {
            const double x = start + h / 24.0;
            // Every series misses six hours on its own day.
            if (h / 24 == 2 * k + 2 && h % 24 >= 9 && h % 24 < 15)
                s->AddNullXY(x, 0);
            else
                s->AddXY(x, 10 * k + 4 * std::sin(h * 2 * M_PI / 24 + k) + std::sin(h / 37.0));
        }
        series.push_back(s);
    }
    Draw();
    const TRect r = chart->GetChartRect();
    for (TLineSeries* s : series) {
        int inked = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; x += 2) inked += Is({x, y}, s->GetSeriesColor());
        EXPECT_GT(inked, 300) << "series " << UTF8Encode(s->GetName());
    }
    // In the middle of its gap no segment of the last series is drawn.
    TLineSeries* last = series.back();
    const int gapX = chart->GetBottomAxis()->CalcXPosValue(start + 26 + 12 / 24.0);
    int inGap = 0;
    for (int y = r.Top; y < r.Bottom; ++y) inGap += Is({gapX, y}, last->GetSeriesColor());
    EXPECT_EQ(inGap, 0);
    EXPECT_TRUE(KeepPicture(probe::Grab(out), "lines-month.png"));
}

} // namespace
