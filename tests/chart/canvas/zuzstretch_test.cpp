// Smooth stretching against weights worked out by hand from the kernels: Lanczos 3 at
// a half-pixel is 0.6079 (623 of 1024), at one and a half -0.1351 (-138); the triangle
// at a half-pixel is 0.5.
#include "chart/canvas/zuzstretch.h"

#include "platform/gui/graphics.h"
#include "tests/support/guiprobe.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A bitmap of grey levels, one row per inner vector.
void Fill(TBitmap& B, const std::vector<std::vector<int>>& Rows) {
    B.SetPixelFormat(pf24bit);
    B.SetSize(static_cast<int>(Rows[0].size()), static_cast<int>(Rows.size()));
    for (int y = 0; y < B.GetHeight(); ++y) {
        Byte* p = B.ScanLine(y);
        for (int x = 0; x < B.GetWidth(); ++x)
            for (int c = 0; c < 3; ++c) p[3 * x + c] = static_cast<Byte>(Rows[y][x]);
    }
}

std::vector<std::vector<int>> Greys(TBitmap& B) {
    B.SetPixelFormat(pf24bit);
    std::vector<std::vector<int>> rows;
    for (int y = 0; y < B.GetHeight(); ++y) {
        const Byte* p = B.ScanLine(y);
        rows.emplace_back();
        for (int x = 0; x < B.GetWidth(); ++x) {
            EXPECT_TRUE(p[3 * x] == p[3 * x + 1] && p[3 * x] == p[3 * x + 2]) << x << "," << y;
            rows.back().push_back(p[3 * x]);
        }
    }
    return rows;
}

using Rows = std::vector<std::vector<int>>;

Rows Stretched(const Rows& Source, int W, int H, TSmoothStretchOption Option = ssBestQuality) {
    TBitmap src, dst;
    Fill(src, Source);
    dst.SetSize(W, H);
    SmoothStretch(&src, &dst, Option);
    return Greys(dst);
}

} // namespace

TEST(SmoothStretch, SourcesOrDestinationsBelowTwoByTwoAreLeftAlone) {
    probe::EnsureApplication();
    EXPECT_EQ(Stretched({{0}}, 3, 3), Rows(3, std::vector<int>(3, 255))); // 1x1: the new white bitmap stays
    EXPECT_EQ(Stretched({{0, 0}, {0, 0}}, 1, 4), Rows(4, std::vector<int>(1, 255)));
    EXPECT_EQ(Stretched({{0, 0}, {0, 0}}, 4, 1), Rows(1, std::vector<int>(4, 255)));
}

TEST(SmoothStretch, TwoByTwoToThreeByThreeKeepsTheCornersExact) {
    probe::EnsureApplication();
    // Between 0 and 200 the middle takes 623 x 0 + (623 - 2 x 138) x 200 of the 970 the
    // weights add up to; the rows, alike in the source, stay alike.
    EXPECT_EQ(Stretched({{0, 200}, {0, 200}}, 3, 3), (Rows{{0, 71, 200}, {0, 71, 200}, {0, 71, 200}}));
    // The triangle halves the two neighbours.
    EXPECT_EQ(Stretched({{0, 200}, {0, 200}}, 3, 3, ssBestPerformance),
              (Rows{{0, 100, 200}, {0, 100, 200}, {0, 100, 200}}));
}

TEST(SmoothStretch, TwoColumnsStretchedAcrossManyRows) {
    probe::EnsureApplication();
    // A 2xN source: the rows map one to one (three to three), the columns spread to five.
    const Rows out = Stretched({{10, 250}, {250, 10}, {10, 250}}, 5, 3, ssBestPerformance);
    EXPECT_EQ(out, (Rows{{10, 70, 130, 190, 250}, {250, 190, 130, 70, 10}, {10, 70, 130, 190, 250}}));
}

TEST(SmoothStretch, AFlatPictureStaysFlatEnlargedAndShrunkWithEitherFilter) {
    probe::EnsureApplication();
    const Rows flat(30, std::vector<int>(40, 150));
    for (const TSmoothStretchOption option : {ssBestQuality, ssBestPerformance})
        for (const auto& [w, h] :
             {std::pair{272, 254}, std::pair{2, 2}, std::pair{17, 11}, std::pair{41, 29}})
            EXPECT_EQ(Stretched(flat, w, h, option), Rows(h, std::vector<int>(w, 150)))
                << option << " " << w << "x" << h;
    // To two pixels the kernel is twice as wide and reaches past both edges (mirrored
    // indexes): column 0 takes the 255 with a negative weight and clamps to 0, column 1 takes
    // a fifth of it.
    const Rows edge = Stretched({{0, 0, 255}, {0, 0, 255}, {0, 0, 255}}, 2, 3, ssBestQuality);
    EXPECT_EQ(edge[0][0], 0);
    EXPECT_EQ(edge[0][1], 211);
}

TEST(SmoothStretch, ATwoPixelDestinationOfAWideSourceReadsOnlyTheSource) {
    probe::EnsureApplication();
    // Width 9 to 2: the kernel spans 24 source columns around each end, far beyond both
    // edges; every index folds back in, so a flat picture stays flat.
    Rows flat(9, std::vector<int>(9, 80));
    const Rows out = Stretched(flat, 2, 2);
    EXPECT_EQ(out[0][0], out[1][1]);
    EXPECT_EQ(out[0][0], out[0][1]);
    EXPECT_NEAR(out[0][0], 80, 3);
}
