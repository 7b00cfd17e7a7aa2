// A tool more than a test: with MOLTREN_SWEEP_SHEETS naming a folder, draws the turned views of a
// bar, a line, a pie and an area chart (rotation 0 to 360 down, elevation 270 to 360 across, in
// steps of 15) on one contact sheet each, for a person to look over.
#include "tests/chart/sweep/sweep.h"

#include "tests/support/guiprobe.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

TEST(SweepTool, ContactSheets) {
    const char* folder = std::getenv("MOLTREN_SWEEP_SHEETS");
    if (!folder || !*folder) GTEST_SKIP() << "MOLTREN_SWEEP_SHEETS names no folder";
    constexpr int W = 160, H = 120;
    for (const char* kind : {"bar", "line", "pie", "area"}) {
        sweep::Point p;
        p.view = 2;
        p.width = W;
        p.height = H;
        p.font = 6;
        for (std::size_t i = 0; i < sweep::SeriesKinds().size(); ++i)
            if (std::string_view(sweep::SeriesKinds()[i].name) == kind) p.series = static_cast<int>(i);
        TBitmap sheet;
        sheet.SetSize(7 * W, 25 * H);
        for (int r = 0; r <= 24; ++r)
            for (int e = 0; e <= 6; ++e) {
                p.rotation = r * 15;
                p.elevation = 270 + e * 15;
                const auto chart = sweep::Build(p);
                TBitmap one;
                sweep::Draw(chart.get(), one);
                sheet.GetCanvas()->Draw(e * W, r * H, &one);
                sheet.GetCanvas()->TextOut(e * W + 2, r * H + H - 14,
                                           IntToStr(p.rotation) + u"/" + IntToStr(p.elevation));
            }
        EXPECT_TRUE(probe::Grab(sheet).SavePng(std::filesystem::path(folder) / (std::string(kind) + ".png")));
    }
}
