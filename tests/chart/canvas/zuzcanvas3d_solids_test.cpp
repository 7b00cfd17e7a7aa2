// The solids: only the faces turned to the viewer are drawn, side faces darker, in the
// default orthogonal view where (X, Y, Z) lands on (X + Z, Y - Z).
#include "tests/chart/canvas/scene3dfixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using scene3d::Dark;
using scene3d::Scene;

const std::array<int, 3> kWhite{255, 255, 255};

std::vector<TPoint> Projected(Scene& s, std::initializer_list<TPoint3D> Points) {
    std::vector<TPoint> out;
    for (const TPoint3D& p : Points) out.push_back(s.canvas.Calculate3DPosition(p));
    return out;
}

bool HasPolygon(const std::vector<scene3d::Shape>& Shapes, const std::vector<TPoint>& Points) {
    return std::any_of(Shapes.begin(), Shapes.end(),
                       [&](const auto& s) { return s.filled && s.points == Points; });
}

TEST(Cube, ShowsItsFrontRightAndTopWithDarkerSides) {
    Scene s;
    const auto c = Scene::Rgb(s.canvas.Brush->GetColor());
    s.canvas.Cube(20, 60, 30, 70, 0, 20, true);
    EXPECT_EQ(s.canvas.Polygons().size(), 3u);
    EXPECT_EQ(s.At(30, 60), c);            // the front
    EXPECT_EQ(s.At(70, 40), Dark(c, 128)); // the right side
    EXPECT_EQ(s.At(50, 20), Dark(c, 64));  // the top
    EXPECT_EQ(s.At(30, 45), c);            // no left side over the front
    EXPECT_EQ(s.At(50, 65), c);            // no bottom over the front
    EXPECT_EQ(s.At(15, 50), kWhite);
    // The brush keeps the last shade used.
    EXPECT_EQ(Scene::Rgb(s.canvas.Brush->GetColor()), Dark(c, 64));
}

TEST(Cube, SeenFromTheLeftShowsItsLeftSide) {
    Scene s;
    s.view.SetOrthoAngle(135); // depth goes up and to the left: (X - Z, Y - Z)
    s.Reset();
    const auto c = Scene::Rgb(s.canvas.Brush->GetColor());
    s.canvas.Cube(40, 80, 30, 70, 0, 20, true);
    EXPECT_EQ(s.canvas.Polygons().size(), 3u);
    EXPECT_EQ(s.At(30, 40), Dark(c, 128)); // the left side
    EXPECT_EQ(s.At(70, 45), c);            // no right side over the front
    EXPECT_EQ(s.At(50, 20), Dark(c, 64));  // the top
}

TEST(Cube, AClearBrushDrawsTheFrameOfFiveFaces) {
    Scene s;
    s.canvas.Brush->SetStyle(bsClear);
    s.canvas.Pen->SetStyle(psSolid);
    s.canvas.Pen->SetColor(clBlack);
    s.canvas.Cube(20, 60, 30, 70, 0, 20, false);
    const auto faces = s.canvas.Polygons();
    ASSERT_EQ(faces.size(), 5u);
    EXPECT_TRUE(HasPolygon(faces, Projected(s, {{20, 70, 0}, {20, 70, 20}, {60, 70, 20}, {60, 70, 0}})))
        << "the bottom";
    EXPECT_TRUE(HasPolygon(faces, Projected(s, {{20, 30, 0}, {20, 30, 20}, {20, 70, 20}, {20, 70, 0}})))
        << "the left side";
    EXPECT_EQ(s.At(30, 45), kWhite); // hollow
    EXPECT_NE(s.At(20, 50), kWhite);
}

TEST(Cylinder, DrawsItsVisibleSidesShadedAndOnlyItsTopCap) {
    Scene s;
    const auto c = Scene::Rgb(s.canvas.Brush->GetColor());
    s.canvas.Cylinder(true, 20, 30, 60, 70, 0, 20, true);
    const auto faces = s.canvas.Polygons();
    ASSERT_GE(faces.size(), 2u);
    EXPECT_LE(faces.size(), 17u); // at most 16 sides and one cap
    const auto& cap = faces.back();
    ASSERT_EQ(cap.points.size(), 16u);
    for (const TPoint& p : cap.points) EXPECT_LE(p.Y, 30) << "the cap is the top ring";
    for (const auto& f : faces) {
        const bool allLow = std::all_of(f.points.begin(), f.points.end(), [](TPoint p) { return p.Y >= 60; });
        EXPECT_FALSE(allLow) << "a vertical cylinder draws no bottom cap";
    }
    EXPECT_EQ(s.At(50, 20), Dark(c, 64)); // the cap's middle
    // The front is one of the first sides round (shades 16 and 24 of 16 sides), the sides
    // further round darker.
    const auto front = s.At(39, 50);
    EXPECT_TRUE(front == Dark(c, 16) || front == Dark(c, 24)) << front[0];
    EXPECT_LT(s.At(58, 50)[0], front[0]);
    EXPECT_EQ(s.At(15, 50), kWhite);
}

TEST(Cylinder, TurnedOverItStillShowsItsFront) {
    // Upside down, mirrored or with its depths swapped, the sides at the front are drawn. The
    // shades count round the ring from its first point: with the depths swapped that point is
    // at the back, and the front has the shades of sides 12 and 13. A narrow cone in a turned
    // perspective view rounds its tip ring's points a pixel the wrong way round; its sixth
    // side still shows.
    struct Row {
        int left, top, right, bottom, z0, z1, shade0, shade1;
        int conePercent = 100;
        bool perspective = false;
        TPoint at{39, 50};
    };
    const Row rows[] = {{20, 70, 60, 30, 0, 20, 16, 24},
                        {60, 30, 20, 70, 0, 20, 16, 24},
                        {20, 30, 60, 70, 20, 0, 80, 88},
                        {202, 50, 214, 250, 0, 12, 32, 32, 30, true, {199, 150}}};
    for (const Row& r : rows) {
        Scene s(560, 340);
        if (r.perspective) {
            s.view.SetOrthogonal(false);
            s.view.SetRotation(345);
            s.view.SetElevation(345);
            s.view.SetPerspective(15);
            s.Reset();
        }
        const auto c = Scene::Rgb(s.canvas.Brush->GetColor());
        if (r.conePercent == 100)
            s.canvas.Cylinder(true, r.left, r.top, r.right, r.bottom, r.z0, r.z1, true);
        else
            s.canvas.Cone(true, r.left, r.top, r.right, r.bottom, r.z0, r.z1, true, r.conePercent);
        const auto front = s.At(r.at);
        EXPECT_TRUE(front == Dark(c, r.shade0) || front == Dark(c, r.shade1))
            << r.left << "," << r.top << "," << r.z0 << ": " << front[0];
    }
}

TEST(Cylinder, FewerThanThreeSidesCountAsThree) {
    for (const int sides : {2, 1, 0, -4}) {
        Scene s;
        s.canvas.ZuzNumCylinderSides = sides;
        s.canvas.Cylinder(true, 20, 30, 60, 70, 0, 20, true);
        const auto faces = s.canvas.Polygons();
        ASSERT_FALSE(faces.empty()) << sides;
        EXPECT_EQ(faces.back().points.size(), 3u) << sides;
        EXPECT_LE(faces.size(), 4u) << sides;
    }
}

TEST(Cylinder, EitherWayRoundTheCapIsOnTheEndTurnedToTheViewer) {
    // The cap's points all lie beyond the end the viewer sees: above Y 30, right of X 60 or
    // left of X 40 (the depth moves them up and right, or up and left at 135 degrees).
    enum End { Upper, Right, Left };
    struct Row {
        const char* rule;
        bool vertical;
        int left, top, right, bottom, orthoAngle, conePercent;
        End end;
    };
    const Row rows[] = {
        {"upright", true, 20, 30, 60, 70, 45, 100, Upper},
        {"upside down", true, 20, 70, 60, 30, 45, 100, Upper},
        {"an inverted cone has its lid", true, 20, 70, 60, 30, 45, 1, Upper},
        {"horizontal", false, 20, 30, 60, 70, 45, 100, Right},
        {"horizontal reversed", false, 60, 30, 20, 70, 45, 100, Right},
        {"horizontal seen from the left", false, 40, 30, 80, 70, 135, 100, Left},
        {"horizontal reversed seen from the left", false, 80, 30, 40, 70, 135, 100, Left},
    };
    for (const Row& r : rows) {
        Scene s;
        s.view.SetOrthoAngle(r.orthoAngle);
        s.Reset();
        s.canvas.Cone(r.vertical, r.left, r.top, r.right, r.bottom, 0, 20, false, r.conePercent);
        const auto cap = s.canvas.Polygons().back().points;
        ASSERT_EQ(cap.size(), 16u) << r.rule;
        for (const TPoint& p : cap) {
            const bool beyond = r.end == Upper ? p.Y <= 30 : r.end == Right ? p.X >= 60 : p.X <= 40;
            EXPECT_TRUE(beyond) << r.rule << ": " << p.X << "," << p.Y;
        }
    }
}

TEST(Cone, APercentOfZeroPutsTheWholeTopRingOnTheAxisAndShowsItsFront) {
    Scene s;
    const auto c = Scene::Rgb(s.canvas.Brush->GetColor());
    s.canvas.Cone(true, 20, 30, 60, 70, 0, 20, true, 0);
    const auto faces = s.canvas.Polygons();
    const auto tip = faces.back().points;
    ASSERT_EQ(tip.size(), 16u);
    for (const TPoint& p : tip) EXPECT_EQ(p, s.canvas.Calculate3DPosition(40, 30, 10));
    EXPECT_GE(faces.size(), 5u) << "the sides turned to the viewer";
    EXPECT_LE(faces.size(), 17u);
    const auto front = s.At(42, 62);
    EXPECT_NE(front, c);
    EXPECT_NE(front, kWhite);
    EXPECT_EQ(s.At(24, 40), kWhite) << "a cone narrows";
    Scene half;
    half.canvas.Cone(true, 20, 30, 60, 70, 0, 20, false, 50);
    const auto ring = half.canvas.Polygons().back().points;
    const auto [lo, hi] =
        std::minmax_element(ring.begin(), ring.end(), [](TPoint a, TPoint b) { return a.X < b.X; });
    // Radius 10 across and 5 in depth: the ring spans 2 * sqrt(10^2 + 5^2) across the screen.
    EXPECT_EQ(hi->X - lo->X, 22);
}

TEST(Pyramid, AnUpwardOneShowsItsFrontAndDarkerRightSideButNotItsBase) {
    Scene s;
    const auto c = Scene::Rgb(s.canvas.Brush->GetColor());
    s.canvas.Pyramid(true, 20, 30, 60, 70, 0, 20, true);
    const auto faces = s.canvas.Polygons();
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_EQ(faces[0].points, Projected(s, {{20, 70, 0}, {40, 30, 10}, {60, 70, 0}}));
    EXPECT_EQ(faces[1].points, Projected(s, {{60, 70, 0}, {40, 30, 10}, {60, 70, 20}}));
    EXPECT_EQ(s.At(43, 60), c);
    EXPECT_EQ(s.At(64, 50), Dark(c, 128));
}

TEST(Pyramid, ADownwardOneShowsItsBaseOnTop) {
    Scene s;
    const auto c = Scene::Rgb(s.canvas.Brush->GetColor());
    s.canvas.Pyramid(true, 20, 70, 60, 30, 0, 20, true);
    const auto faces = s.canvas.Polygons();
    ASSERT_EQ(faces.size(), 3u);
    EXPECT_EQ(faces[2].points, Projected(s, {{20, 30, 0}, {60, 30, 0}, {60, 30, 20}, {20, 30, 20}}));
    EXPECT_EQ(s.At(50, 20), Dark(c, 64));
}

TEST(PyramidTrunc, ShowsTheFacesTurnedToTheViewerBetweenItsCaps) {
    Scene s;
    s.canvas.PyramidTrunc(TRect(20, 30, 60, 70), 0, 20, 10, 5);
    const auto faces = s.canvas.Polygons();
    ASSERT_EQ(faces.size(), 4u); // bottom, front, right, top
    EXPECT_EQ(faces[0].points, Projected(s, {{20, 70, 0}, {60, 70, 0}, {60, 70, 20}, {20, 70, 20}}));
    EXPECT_EQ(faces[1].points, Projected(s, {{20, 70, 0}, {60, 70, 0}, {50, 30, 5}, {30, 30, 5}}));
    EXPECT_EQ(faces[2].points, Projected(s, {{60, 70, 0}, {60, 70, 20}, {50, 30, 15}, {50, 30, 5}}));
    EXPECT_EQ(faces[3].points, Projected(s, {{30, 30, 5}, {50, 30, 5}, {50, 30, 15}, {30, 30, 15}}));
    // A squat one leaning back shows its back face.
    Scene squat;
    squat.canvas.PyramidTrunc(TRect(20, 60, 60, 70), 0, 40, 10, 0);
    EXPECT_TRUE(HasPolygon(squat.canvas.Polygons(),
                           Projected(squat, {{20, 70, 40}, {60, 70, 40}, {50, 60, 20}, {30, 60, 20}})));
    // Without a top and depth: the one face.
    Scene flat;
    flat.canvas.PyramidTrunc(TRect(20, 30, 60, 70), 10, 10, 0, 0);
    EXPECT_EQ(flat.canvas.Polygons().size(), 2u);
    EXPECT_NE(flat.At(40, 55), kWhite);
}

} // namespace
