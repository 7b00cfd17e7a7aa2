// The canvas's convex hull against a brute-force hull, on sets full of
// repeated and collinear points.
#include "chart/canvas/zuzcanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <set>

namespace {

// The sign of twice the signed area of A, B, C: positive for a
// counter-clockwise turn (y up). Exact over the whole coordinate range.
int Turn(TPoint A, TPoint B, TPoint C) {
    __extension__ using Wide = __int128;
    const Wide t = (Wide{B.X} - A.X) * (Wide{C.Y} - A.Y) - (Wide{B.Y} - A.Y) * (Wide{C.X} - A.X);
    return (t > 0) - (t < 0);
}

bool OnSegment(TPoint A, TPoint B, TPoint C) {
    return std::min(A.X, B.X) <= C.X && C.X <= std::max(A.X, B.X) && std::min(A.Y, B.Y) <= C.Y &&
           C.Y <= std::max(A.Y, B.Y);
}

using PointSet = std::set<std::pair<int, int>>;

// The hull's corners by definition: A-B is an edge when every point lies left
// of it or on the segment itself.
PointSet BruteHull(const std::vector<TPoint>& pts) {
    PointSet corners;
    for (TPoint a : pts)
        for (TPoint b : pts) {
            if (a == b) continue;
            const bool edge = std::all_of(pts.begin(), pts.end(), [&](TPoint c) {
                const int t = Turn(a, b, c);
                return t > 0 || (t == 0 && OnSegment(a, b, c));
            });
            if (edge) {
                corners.emplace(a.X, a.Y);
                corners.emplace(b.X, b.Y);
            }
        }
    if (corners.empty() && !pts.empty()) corners.emplace(pts[0].X, pts[0].Y); // all one point
    return corners;
}

// Checks the hull of pts (four or more points) and says what is wrong, if anything.
std::string HullFault(std::vector<TPoint> pts) {
    const std::vector<TPoint> input = pts;
    if (!TZuzCanvas::ConvexHull(pts)) return "returned false";
    const PointSet want = BruteHull(input);
    PointSet got;
    for (TPoint p : pts) got.emplace(p.X, p.Y);
    if (got.size() != pts.size()) return "a corner twice";
    if (got != want) return "corners differ from the brute-force hull";
    TPoint pivot = input[0];
    for (TPoint p : input)
        if (p.Y < pivot.Y || (p.Y == pivot.Y && p.X > pivot.X)) pivot = p;
    if (pts.back() != pivot) return "the lowest, rightmost point is not last";
    const std::size_t n = pts.size();
    if (n >= 3)
        for (std::size_t i = 0; i < n; ++i) {
            if (Turn(pts[i], pts[(i + 1) % n], pts[(i + 2) % n]) <= 0) return "not a convex outline";
            for (TPoint p : input)
                if (Turn(pts[i], pts[(i + 1) % n], p) < 0) return "a point outside";
        }
    return {};
}

std::string Describe(const std::vector<TPoint>& pts) {
    std::string s;
    for (TPoint p : pts) s += "(" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")";
    return s;
}

} // namespace

TEST(ConvexHull, SmallRandomSetsWithRepeatsAndCollinearPointsGiveTheBruteForceHull) {
    std::mt19937 rng(11);
    for (int trial = 0; trial < 20000; ++trial) {
        const int span = 1 + trial % 7;
        std::uniform_int_distribution<int> coord(-span, span), count(4, 12);
        std::vector<TPoint> pts(static_cast<std::size_t>(count(rng)));
        for (TPoint& p : pts) p = TPoint(coord(rng), coord(rng));
        const std::string fault = HullFault(pts);
        ASSERT_EQ(fault, "") << Describe(pts);
    }
}

TEST(ConvexHull, ProjectedBoxCornersGiveTheBruteForceHull) {
    // The eight corners of a clip cube as the canvas projects them, at angles
    // that fold faces onto edges and edges onto points.
    std::mt19937 rng(12);
    std::uniform_int_distribution<int> side(0, 40), depth(0, 30), angle(0, 23);
    for (int trial = 0; trial < 12000; ++trial) {
        const int l = side(rng), t = side(rng), r = l + side(rng), b = t + side(rng);
        const int z0 = depth(rng), z1 = z0 + depth(rng);
        const double ay = angle(rng) * 15.0 * std::numbers::pi / 180,
                     ax = angle(rng) * 15.0 * std::numbers::pi / 180;
        auto project = [&](int x, int y, int z) {
            const double x1 = x * std::cos(ay) + z * std::sin(ay), z1r = -x * std::sin(ay) + z * std::cos(ay);
            const double y1 = y * std::cos(ax) - z1r * std::sin(ax);
            return TPoint(static_cast<int>(std::lround(x1)), static_cast<int>(std::lround(y1)));
        };
        const std::vector<TPoint> pts{project(l, b, z0), project(l, b, z1), project(l, t, z1),
                                      project(r, t, z1), project(r, t, z0), project(r, b, z0),
                                      project(l, t, z0), project(r, b, z1)};
        const std::string fault = HullFault(pts);
        ASSERT_EQ(fault, "") << Describe(pts);
    }
}

TEST(ConvexHull, FarPointsOnSharedLinesGiveTheBruteForceHull) {
    // Small patterns full of collinear points, stretched to the ends of the
    // coordinate range: turns there need 66 bits, and a rounded one loses or
    // keeps a corner it should not.
    std::mt19937 rng(13);
    std::uniform_int_distribution<int> cell(-3, 3), count(4, 10), scale(1, 700'000'000);
    constexpr long long low = std::numeric_limits<int>::min(), high = std::numeric_limits<int>::max();
    for (int trial = 0; trial < 20000; ++trial) {
        const long long sx = scale(rng), sy = trial % 2 ? sx : scale(rng);
        // Pinned to the low end, the middle or the high end, each way.
        const auto place = [&](long long v, long long s, int end) {
            return static_cast<int>(end == 0 ? v * s : end == 1 ? low + (v + 3) * s : high + (v - 3) * s);
        };
        std::vector<TPoint> pts(static_cast<std::size_t>(count(rng)));
        for (TPoint& p : pts)
            p = TPoint(place(cell(rng), sx, trial % 3), place(cell(rng), sy, trial / 3 % 3));
        const std::string fault = HullFault(pts);
        ASSERT_EQ(fault, "") << Describe(pts);
    }
}

TEST(ConvexHull, FewerThanThreePointsAreNoHullAndThreeStayAsTheyAre) {
    std::vector<TPoint> two{{0, 0}, {5, 5}};
    EXPECT_FALSE(TZuzCanvas::ConvexHull(two));
    std::vector<TPoint> three{{0, 0}, {5, 5}, {9, 1}};
    const auto keep = three;
    EXPECT_TRUE(TZuzCanvas::ConvexHull(three));
    EXPECT_EQ(three, keep);
}

TEST(ConvexHull, PointsOnOneLineOrOnePlaceGiveTheirEnds) {
    std::vector<TPoint> line{{4, 4}, {0, 0}, {2, 2}, {6, 6}, {2, 2}};
    ASSERT_TRUE(TZuzCanvas::ConvexHull(line));
    EXPECT_EQ(line, (std::vector<TPoint>{{6, 6}, {0, 0}}));
    std::vector<TPoint> row{{1, 5}, {7, 5}, {3, 5}, {5, 5}};
    ASSERT_TRUE(TZuzCanvas::ConvexHull(row));
    EXPECT_EQ(row, (std::vector<TPoint>{{1, 5}, {7, 5}}));
    std::vector<TPoint> same(5, TPoint(3, 3));
    ASSERT_TRUE(TZuzCanvas::ConvexHull(same));
    EXPECT_EQ(same, (std::vector<TPoint>{{3, 3}}));
}
