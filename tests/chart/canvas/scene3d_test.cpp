// A 3D scene drawn as a chart draws it, through the canvas's off-screen bitmap: a cube, a
// cylinder, a pie and an arrow, then passed through a filter as chart pictures are. Both
// pictures are written for a person to look at, into the picture directory when one is given,
// else the tests' pictures folder.
#include "chart/canvas/zuzfilters.h"
#include "tests/chart/canvas/scene3dfixture.h"
#include "tests/support/picturefile.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

using scene3d::Dark;
using scene3d::Scene;

const std::array<int, 3> kWhite{255, 255, 255};

using testsupport::PictureFile;

// The scene on a 360 x 240 bitmap in a turned view (rotation and elevation 345, a little
// perspective), depth going up and a little to the right.
void DrawScene(TZuzCanvas3D& c) {
    c.Pen->SetStyle(psSolid);
    c.Pen->SetColor(clBlack);
    c.Brush->SetStyle(bsSolid);

    c.Brush->SetColor(static_cast<TColor>(RGB(220, 60, 60)));
    c.Cube(30, 90, 110, 200, 0, 40, true);

    c.Brush->SetColor(static_cast<TColor>(RGB(70, 130, 230)));
    c.Cylinder(true, 120, 90, 180, 200, 0, 40, true);

    constexpr double pi = std::numbers::pi;
    const TColor slices[] = {static_cast<TColor>(RGB(250, 190, 40)), static_cast<TColor>(RGB(90, 190, 90)),
                             static_cast<TColor>(RGB(180, 110, 220))};
    const double ends[] = {0, 0.45 * pi, 1.25 * pi, 2 * pi};
    for (int i = 0; i < 3; ++i) {
        c.Brush->SetColor(slices[i]);
        c.Pie3D(265, 150, 60, 45, 25, 0, ends[i], ends[i + 1], true, true, 0, nullptr);
    }

    c.Brush->SetColor(static_cast<TColor>(RGB(40, 40, 40)));
    c.Arrow(true, {40, 60}, {200, 30}, 18, 14, 0);
}

TEST(Scene3D, ACubeACylinderAPieAndAnArrowLookRightAndAreWritten) {
    Scene s(360, 240);
    s.view.SetOrthogonal(false);
    s.canvas.SetUseBuffer(true); // as a panel paints: into the canvas's bitmap, then shown
    s.Reset();
    DrawScene(s.canvas);
    s.canvas.ShowImage(s.target.GetCanvas(), s.target.GetCanvas(), TRect(0, 0, 360, 240));

    const probe::Picture picture = probe::Grab(s.target);
    EXPECT_TRUE(picture.SavePng(PictureFile("scene3d.png")));

    // Points on the faces, where the view puts them.
    auto at = [&](int X, int Y, int Z) { return s.At(s.canvas.Calculate3DPosition(X, Y, Z)); };
    const std::array<int, 3> red{220, 60, 60}, blue{70, 130, 230};
    EXPECT_EQ(at(60, 155, 0), red) << "the cube's front";
    EXPECT_EQ(at(90, 155, 20), Dark(red, 128)) << "its right side";
    EXPECT_EQ(at(60, 110, 20), Dark(red, 64)) << "its top";
    EXPECT_EQ(at(50, 155, 40), red) << "its back is hidden";
    const auto side = at(144, 150, 1); // the cylinder's front, a shade of its blue
    EXPECT_LT(side[2], blue[2]);
    EXPECT_GT(side[2], blue[2] - 128);
    EXPECT_GT(side[2], side[0]);
    EXPECT_EQ(at(150, 90, 20), Dark(blue, 64)) << "its top";
    EXPECT_EQ(at(289, 130, 25), (std::array<int, 3>{250, 190, 40})) << "the first slice's face";
    EXPECT_EQ(at(265, 195, 12), Dark({180, 110, 220}, 32)) << "the last slice's wall";
    EXPECT_EQ(at(120, 45, 0), (std::array<int, 3>{40, 40, 40})) << "the arrow";
    EXPECT_EQ(s.At(355, 235), kWhite);

    // Blurred: flat faces keep their colour, edges soften into what is beside them.
    ZuzFiltersInitialization();
    TBitmap filtered;
    filtered.Assign(&s.target);
    TFilterItems filters(nullptr);
    static_cast<TBlurFilter*>(filters.Add(TBlurFilter::StaticClass()))->SetSteps(2);
    filters.ApplyTo(&filtered);
    EXPECT_TRUE(probe::Grab(filtered).SavePng(PictureFile("scene3d_blurred.png")));
    auto blurred = [&](TPoint P) {
        const probe::Rgb c = probe::Pixel(filtered, P.X, P.Y);
        return std::array<int, 3>{c.r, c.g, c.b};
    };
    const TPoint front = s.canvas.Calculate3DPosition(60, 155, 0);
    EXPECT_EQ(blurred(front), red);
    const TPoint edge = s.canvas.Calculate3DPosition(30, 155, 0); // the outline's column
    const TPoint outside{edge.X - 1, edge.Y};
    ASSERT_EQ(s.At(outside), kWhite);
    EXPECT_LT(blurred(outside)[0], 255) << "the outline spreads out";
    EXPECT_GT(blurred(edge)[0], s.At(edge)[0]) << "and lightens";
    EXPECT_EQ(blurred({355, 235}), kWhite);
}

} // namespace
