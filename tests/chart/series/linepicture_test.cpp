// Pictures to look at: 13 hourly series over a month on a date axis, pen
// width 2, with a six-hour gap of null points in every series; and two dashed
// hourly series of widths 1 and 3. Written as lines-month.png and
// dashes-month.png under MOLTREN_PICTURE_DIR (else the tests' pictures folder).
#include "chart/engine/chartvaluelist.h"
#include "chart/engine/seriesmarks.h"
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

TEST_F(LinePicture, DashedHourlySeriesOverAMonthKeepTheirGapsFromSegmentToSegment) {
    chart->SetBounds(0, 0, 960, 400);
    chart->GetBottomAxis()->SetAutomatic(true);
    chart->GetLeftAxis()->SetAutomatic(true);
    const double start = EncodeDate(2026, 11, 1);
    const std::pair<TColor, int> lines[] = {{clRed, 1}, {clBlue, 3}};
    std::vector<TLineSeries*> series;
    for (int k = 0; k < 2; ++k) {
        auto* s = Create<TLineSeries>(chart.get());
        chart->AddSeries(s);
        s->GetXValues()->SetDateTime(true);
        s->SetSeriesColor(lines[k].first);
        s->GetLinePen()->SetWidth(lines[k].second);
        for (int h = 0; h < 24 * 30; ++h)
            s->AddXY(start + h / 24.0, 20 * k + 4 * std::sin(h * 2 * M_PI / 24) + std::sin(h / 37.0));
        series.push_back(s);
    }
    const auto inked = [&] {
        Draw();
        const TRect r = chart->GetChartRect();
        std::vector<int> n;
        for (TLineSeries* s : series) {
            n.push_back(0);
            for (int y = r.Top; y < r.Bottom; ++y)
                for (int x = r.Left; x < r.Right; ++x) n.back() += Is({x, y}, s->GetSeriesColor());
        }
        return n;
    };
    const std::vector<int> solid = inked();
    for (TLineSeries* s : series) s->GetLinePen()->SetStyle(psDash);
    const std::vector<int> dashed = inked();
    for (std::size_t k = 0; k < series.size(); ++k) {
        EXPECT_GT(dashed[k], solid[k] / 2) << k;
        // A quarter of each dash pattern is gap.
        EXPECT_LT(dashed[k], solid[k] * 8 / 10) << k << ": the dashes restart at every hour";
    }
    EXPECT_TRUE(KeepPicture(probe::Grab(out), "dashes-month.png"));
}

// The marks of the graph windows' point labels: the same box and text on the screen, in a print
// and in an exported picture.
TEST_F(LinePicture, MarksShowTheirBoxAndTextInPrintsAndPicturesAsOnTheScreen) {
    TLineSeries* s = Add({{2, 3}, {5, 6}, {8, 4}});
    TSeriesMarks* marks = s->GetMarks();
    marks->SetStyle(smsValue);
    marks->SetVisible(true);
    marks->SetColor(clYellow);
    marks->GetFont()->SetColor(clBlack);
    const TRect all(0, 0, chart->GetWidth(), chart->GetHeight());
    const auto look = [&](TBitmap& Picture, const char* Road) {
        const TRect box = marks->Positions().Get(1)->Bounds();
        int fill = 0, ink = 0;
        for (int y = box.Top + 2; y < box.Bottom - 2; ++y)
            for (int x = box.Left + 2; x < box.Right - 2; ++x) {
                const probe::Rgb p = probe::Pixel(Picture, x, y);
                fill += p == probe::Rgb{255, 255, 0};
                ink += p == probe::Rgb{0, 0, 0};
            }
        const int area = (box.Width() - 4) * (box.Height() - 4);
        EXPECT_GT(fill, area / 2) << Road << ": the box is filled";
        EXPECT_GT(ink, 5) << Road << ": the text is in it";
        KeepPicture(probe::Grab(Picture), std::string("marks-") + Road + ".png");
    };
    Draw();
    look(out, "screen");
    const Owned<TBitmap> picture = chart->ZuzCreateBitmap(clWhite, all, pf24bit);
    look(*picture, "picture");
    TBitmap printed;
    printed.SetPixelFormat(pf24bit);
    printed.SetSize(all.Width(), all.Height());
    chart->PrintPartialCanvas(printed.GetCanvas(), all);
    look(printed, "print");
}

} // namespace
