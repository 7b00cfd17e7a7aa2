// Same chart, same picture: a chart drawn twice, resized and resized back, or zoomed and
// unzoomed draws what it drew first; nothing one drawing leaves changes the next.
#include "tests/chart/sweep/sweep.h"

#include "tests/support/guiprobe.h"

#include <gtest/gtest.h>

namespace {

std::string Differs(TChart* Chart, const probe::Picture& First, const char* After) {
    TBitmap again;
    sweep::Draw(Chart, again);
    const int n = DifferingPixels(First, probe::Grab(again));
    return n == 0 ? std::string() : std::to_string(n) + " pixels differ " + After;
}

std::string SamePicture(const sweep::Point& P) {
    const auto chart = sweep::Build(P);
    TBitmap first;
    sweep::Draw(chart.get(), first);
    const probe::Picture picture = probe::Grab(first);
    if (auto f = Differs(chart.get(), picture, "when drawn again"); !f.empty()) return f;
    chart->SetBounds(0, 0, P.width / 2 + 40, P.height / 2 + 30);
    TBitmap small;
    sweep::Draw(chart.get(), small);
    chart->SetBounds(0, 0, P.width, P.height);
    if (auto f = Differs(chart.get(), picture, "resized and resized back"); !f.empty()) return f;
    const TRect r = chart->GetChartRect();
    chart->ZoomRect(TRect(r.Left + r.Width() / 4, r.Top + r.Height() / 4, r.Right - r.Width() / 4,
                          r.Bottom - r.Height() / 4));
    TBitmap zoomed;
    sweep::Draw(chart.get(), zoomed);
    chart->UndoZoom();
    return Differs(chart.get(), picture, "zoomed and unzoomed");
}

} // namespace

TEST(Sweep, SameChartSamePicture) {
    // Smaller charts: three drawings of each.
    sweep::Sweep(
        "SameChartSamePicture", 120,
        [](sweep::Point& P) {
            P.width = std::min(P.width, 640);
            P.height = std::min(P.height, 480);
        },
        SamePicture);
}
