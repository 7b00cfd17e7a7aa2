// 3D pie slices with their walls, rotated ellipses and arrows.
#include "chart/canvas/zuzgradient.h"
#include "tests/chart/canvas/scene3dfixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

using scene3d::Dark;
using scene3d::Scene;

constexpr double kPi = std::numbers::pi;
const std::array<int, 3> kWhite{255, 255, 255};

// A pie of radius 50 around (70, 90) standing from depth 0 up to its face at depth 20: in the
// default view the face's centre lands on (90, 70) and the wall hangs below it.
struct PieScene : Scene {
    PieScene() : Scene(180, 180) {}
    void Pie(double Start, double End, bool DarkSides = true, bool DrawSides = false, int Donut = 0) {
        canvas.Pie3D(70, 90, 50, 50, 20, 0, Start, End, DarkSides, DrawSides, Donut, nullptr);
    }
    // Half-way down the wall below the rim point at an angle (radians).
    TPoint Wall(double Angle) const {
        return {static_cast<int>(std::lround(80 + 50 * std::cos(Angle))),
                static_cast<int>(std::lround(80 - 50 * std::sin(Angle)))};
    }
};

double Deg(double D) {
    return D * kPi / 180;
}

TEST(Pie3D, OneSliceHasOneRimPointPerTwoDegrees) {
    PieScene s;
    const auto c = Scene::Rgb(s.canvas.Brush->GetColor());
    s.Pie(0, kPi / 2);
    auto faces = s.canvas.Polygons();
    ASSERT_EQ(faces.size(), 1u) << "no wall: the rim's X only falls from 0 to 90 degrees";
    ASSERT_EQ(faces[0].points.size(), 47u + 1u) << "47 rim points and the centre";
    EXPECT_EQ(faces[0].points.back(), (TPoint{90, 70}));
    EXPECT_EQ(s.At(110, 50), c);
    EXPECT_EQ(s.At(70, 50), kWhite);
    // With its sides: the slice hangs down to the left, so both cut faces are turned to the
    // viewer, the one at twelve o'clock drawn first.
    PieScene sided;
    sided.Pie(0, kPi / 2, true, true);
    faces = sided.canvas.Polygons();
    ASSERT_EQ(faces.size(), 3u);
    EXPECT_EQ(faces[1].points, (std::vector<TPoint>{{90, 70}, {140, 70}, {120, 90}, {70, 90}}));
    EXPECT_EQ(faces[1].brush, static_cast<TColor>(RGB(c[0] - 32, c[1] - 32, c[2] - 32)));
    EXPECT_EQ(sided.At(115, 75), Dark(c, 32));
    EXPECT_EQ(sided.At(80, 50), Dark(c, 32));
    EXPECT_EQ(Scene::Rgb(sided.canvas.Brush->GetColor()), c) << "the face colour comes back";
}

TEST(Pie3D, AFullTurnHas96RimPointsAndItsWholeFrontWallWhereverItStarts) {
    for (const double start : {0.0, 100.0, 200.0, 300.0}) {
        PieScene s;
        const auto c = Scene::Rgb(s.canvas.Brush->GetColor());
        s.Pie(Deg(start), Deg(start + 360));
        const auto faces = s.canvas.Polygons();
        ASSERT_GE(faces.size(), 2u) << start;
        EXPECT_EQ(faces[0].points.size(), 96u + 1u) << start;
        for (const double a : {190.0, 225.0, 260.0, 290.0})
            EXPECT_EQ(s.At(s.Wall(Deg(a))), Dark(c, 32)) << "start " << start << ", wall at " << a;
        EXPECT_EQ(s.At(90, 70), c) << start;
        EXPECT_EQ(s.At(s.Wall(Deg(90))), c) << "the back wall is hidden under the face";
    }
}

TEST(Pie3D, ManyTinySlicesTileTheDiscAndItsWall) {
    PieScene s;
    const int n = 720;
    for (int i = 0; i < n; ++i) {
        s.canvas.Brush->SetColor(i % 2 ? clRed : clBlue);
        s.Pie(i * 2 * kPi / n, (i + 1) * 2 * kPi / n, true, true);
    }
    // A slice of half a degree is a triangle, two rim points and the centre; its sides and wall
    // are quadrilaterals.
    const auto faces = s.canvas.Polygons();
    EXPECT_TRUE(std::any_of(faces.begin(), faces.end(), [](const auto& f) { return f.points.size() == 3; }));
    EXPECT_TRUE(std::all_of(faces.begin(), faces.end(), [](const auto& f) { return f.points.size() <= 4; }));
    for (int a = 0; a < 360; a += 10)
        for (const int r : {10, 30, 45}) {
            const int x = 90 + static_cast<int>(std::lround(r * std::cos(Deg(a))));
            const int y = 70 - static_cast<int>(std::lround(r * std::sin(Deg(a))));
            EXPECT_NE(s.At(x, y), kWhite) << a << " degrees, radius " << r;
        }
    for (const double a : {190.0, 225.0, 260.0, 290.0}) {
        const auto wall = s.At(s.Wall(Deg(a)));
        EXPECT_TRUE(wall == Dark({255, 0, 0}, 32) || wall == Dark({0, 0, 255}, 32)) << a;
    }
}

// However depth runs on the screen, the face is seen from above and the slice hangs below it;
// each cut face shows by how its own corners run, wherever the slice was moved.
TEST(Pie3D, ASliceHangsBelowItsFaceAndShowsTheCutFacesTurnedToTheViewer) {
    PieScene s;
    const auto c = Scene::Rgb(s.canvas.Brush->GetColor());
    // Depth running up the screen: the face at (70, 90), the ring at Z1 up at (90, 70).
    s.canvas.Pie3D(70, 90, 50, 50, 0, 20, 0, kPi / 2, true, true, 0, nullptr);
    EXPECT_EQ(s.At(125, 80), kWhite) << "no cut face rises over the rim";
    EXPECT_EQ(s.At(85, 100), Dark(c, 32)) << "the cut face at three o'clock hangs below";
    PieScene whole;
    whole.canvas.Pie3D(70, 90, 50, 50, 0, 20, 0, 2 * kPi, true, false, 0, nullptr);
    EXPECT_EQ(whole.At(60, 148), Dark(c, 32)) << "the wall hangs below the front rim";
    EXPECT_EQ(whole.At(90, 35), kWhite) << "and not over the back";
    // Hanging down to the left, the wall shows along the rim from ten to four o'clock.
    PieScene aslant;
    aslant.Pie(0, 2 * kPi);
    EXPECT_EQ(aslant.At(aslant.Wall(Deg(150))), Dark(c, 32));
    EXPECT_EQ(aslant.At(132, 85), c) << "the face by the rim at twenty to four";
    // A slice moved right of the view's centre still shows its cut face at its end.
    PieScene moved;
    moved.canvas.Pie3D(110, 90, 50, 50, 20, 0, 0, Deg(120), true, true, 0, nullptr);
    EXPECT_EQ(moved.At(107, 58), Dark(c, 32));
}

TEST(Pie3D, ADonutLeavesItsHoleAndDrawsTheHolesWallFirst) {
    PieScene s;
    const auto c = Scene::Rgb(s.canvas.Brush->GetColor());
    s.Pie(0, 2 * kPi, true, false, 50);
    const auto faces = s.canvas.Polygons();
    ASSERT_GE(faces.size(), 2u);
    EXPECT_EQ(faces[0].points.size(), 2u * 96u) << "the hole's wall: both inner rings";
    EXPECT_EQ(faces[1].points.size(), 2u * 96u) << "the face: outer rim and inner rim";
    // Through the hole: the far side of its wall, and where the lower opening shows, nothing.
    EXPECT_EQ(s.At(100, 60), Dark(c, 32));
    EXPECT_EQ(s.At(80, 80), kWhite);
    EXPECT_EQ(s.At(90, 32), c) << "the ring";
    EXPECT_EQ(s.At(s.Wall(Deg(270))), Dark(c, 32));
}

TEST(Pie3D, AGradientFillsTheFaceAndTheWall) {
    PieScene s;
    TZuzGradient gradient;
    gradient.SetDirection(gdTopBottom);
    gradient.SetStartColor(clRed);
    gradient.SetEndColor(clBlue);
    s.canvas.Pie3D(70, 90, 50, 50, 20, 0, 0, 2 * kPi, false, false, 0, &gradient);
    // Between red and blue, where the brush has green in it.
    for (const auto& c : {s.At(90, 30), s.At(90, 110), s.At(s.Wall(Deg(260)))}) {
        EXPECT_EQ(c[1], 0);
        EXPECT_GE(c[0] + c[2], 200) << c[0] << "," << c[2];
    }
    EXPECT_NE(s.At(90, 30), s.At(90, 110)) << "the colour changes down the face";
    EXPECT_EQ(s.At(10, 10), kWhite) << "only inside the slice";
}

TEST(CalcPieAngles, GivesDegreesWithAnEndStraightRightAt360) {
    double start = 0, end = 0;
    TCanvas3D::CalcPieAngles(0, 0, 100, 100, 50, 0, 100, 50, start, end);
    EXPECT_DOUBLE_EQ(start, 90);
    EXPECT_DOUBLE_EQ(end, 360);
    TCanvas3D::CalcPieAngles(0, 0, 100, 100, 0, 50, 50, 100, start, end);
    EXPECT_DOUBLE_EQ(start, 180);
    EXPECT_DOUBLE_EQ(end, 270);
    TCanvas3D::CalcPieAngles(0, 0, 100, 100, 100, 50, 100, 0, start, end);
    EXPECT_DOUBLE_EQ(start, 0) << "only the end becomes 360";
    EXPECT_DOUBLE_EQ(end, 45);
}

TEST(RotatedEllipse, TurnsInItsPlane) {
    Scene s;
    s.canvas.InitWindow(s.target.GetCanvas(), nullptr, clWhite, false, TRect(0, 0, 120, 120));
    s.canvas.Pen->SetStyle(psSolid);
    s.canvas.RotatedEllipse(20, 40, 100, 80, 0, 90); // 80 x 40 turned upright
    ASSERT_EQ(s.canvas.shapes.size(), 64u);
    const auto outline = s.canvas.shapes.back().points;
    ASSERT_EQ(outline.size(), 64u);
    EXPECT_EQ(PolygonBounds(outline), TRect(40, 20, 80, 100));
    EXPECT_EQ(s.canvas.shapes[0].points[0], (TPoint{60, 60}));
    EXPECT_EQ(s.canvas.Pen->GetStyle(), psSolid);
    EXPECT_NE(s.At(60, 25), kWhite);
    EXPECT_EQ(s.At(30, 60), kWhite);
}

double Distance(TPoint A, TPoint B) {
    return std::hypot(A.X - B.X, A.Y - B.Y);
}

TPoint Mid(TPoint A, TPoint B) {
    return {(A.X + B.X) / 2, (A.Y + B.Y) / 2};
}

struct FlatScene : Scene {
    FlatScene() {
        canvas.InitWindow(target.GetCanvas(), nullptr, clWhite, false, TRect(0, 0, 120, 120));
        canvas.Brush->SetColor(clBlack);
    }
};

TEST(Arrow, PointsEveryWayWithAHeadAtTheTipAndAShaftHalfItsWidth) {
    const TPoint from{60, 60};
    const TPoint ways[] = {{40, 0},    {28, 28}, {0, 40},   {-28, 28}, {-40, 0},
                           {-28, -28}, {0, -40}, {28, -28}, {37, -15}};
    for (const TPoint d : ways) {
        FlatScene s;
        const TPoint to{from.X + d.X, from.Y + d.Y};
        s.canvas.Arrow(true, from, to, 16, 10, 0); // size percent 50
        const auto faces = s.canvas.Polygons();
        ASSERT_EQ(faces.size(), 1u);
        const auto& p = faces[0].points;
        ASSERT_EQ(p.size(), 7u);
        const double l = std::hypot(d.X, d.Y);
        const double ux = d.X / l, uy = d.Y / l;
        EXPECT_EQ(p[4], to) << d.X << "," << d.Y;
        EXPECT_NEAR(Distance(p[3], p[5]), 16, 1.5) << "the head's width";
        EXPECT_NEAR(Distance(p[0], p[1]), 8, 1.5) << "the shaft is half the head";
        EXPECT_NEAR(Distance(Mid(p[3], p[5]), {static_cast<int>(std::lround(to.X - 10 * ux)),
                                               static_cast<int>(std::lround(to.Y - 10 * uy))}),
                    0, 1.5)
            << "the head's base is its height behind the tip";
        EXPECT_NEAR(Distance(Mid(p[0], p[1]), from), 0, 1.5) << "the shaft starts at the start";
        // The pixels: the shaft's middle and the head inked, beside the shaft nothing.
        const TPoint middle{static_cast<int>(std::lround(from.X + 15 * ux)),
                            static_cast<int>(std::lround(from.Y + 15 * uy))};
        EXPECT_NE(s.At(middle), kWhite) << d.X << "," << d.Y;
        EXPECT_NE(
            s.At(static_cast<int>(std::lround(to.X - 4 * ux)), static_cast<int>(std::lround(to.Y - 4 * uy))),
            kWhite);
        EXPECT_EQ(s.At(static_cast<int>(std::lround(middle.X - 7 * uy)),
                       static_cast<int>(std::lround(middle.Y + 7 * ux))),
                  kWhite);
        EXPECT_EQ(s.At(static_cast<int>(std::lround(middle.X + 7 * uy)),
                       static_cast<int>(std::lround(middle.Y - 7 * ux))),
                  kWhite);
    }
}

TEST(Arrow, AShortShaftShrinksTheHeadAndNoLengthDrawsNothing) {
    FlatScene s;
    s.canvas.Arrow(true, {60, 60}, {65, 60}, 16, 10, 0);
    const auto p = s.canvas.Polygons().at(0).points;
    EXPECT_EQ(p[3].X, 60) << "the head is as long as the shaft";
    EXPECT_EQ(p[5].X, 60);
    FlatScene none;
    none.canvas.Pen->SetStyle(psSolid);
    none.canvas.Arrow(true, {60, 60}, {60, 60}, 16, 10, 0);
    none.canvas.Arrow(false, {60, 60}, {60, 60}, 16, 10, 0);
    EXPECT_TRUE(none.canvas.shapes.empty());
    EXPECT_EQ(none.InkCount(), 0);
}

TEST(Arrow, AnOpenOneIsAShaftAndTwoHeadLines) {
    FlatScene s;
    s.canvas.Pen->SetStyle(psSolid);
    s.canvas.Pen->SetColor(clBlack);
    s.canvas.Arrow(false, {20, 60}, {80, 60}, 20, 10, 0);
    EXPECT_TRUE(s.canvas.Polygons().empty());
    EXPECT_NE(s.At(40, 60), kWhite);
    EXPECT_NE(s.At(75, 55), kWhite);
    EXPECT_NE(s.At(75, 65), kWhite);
    EXPECT_NE(s.At(71, 51), kWhite);
    EXPECT_EQ(s.At(71, 56), kWhite) << "the head is open";
    // In 3D the shaft lies at its depth and the head lines join the projected corners.
    Scene deep; // (X + Z, Y - Z)
    deep.canvas.Pen->SetStyle(psSolid);
    deep.canvas.Pen->SetColor(clBlack);
    deep.canvas.Arrow(false, {20, 60}, {80, 60}, 20, 10, 10);
    EXPECT_NE(deep.At(50, 50), kWhite);
    EXPECT_NE(deep.At(85, 45), kWhite);
    EXPECT_EQ(deep.At(50, 60), kWhite);
}

} // namespace
