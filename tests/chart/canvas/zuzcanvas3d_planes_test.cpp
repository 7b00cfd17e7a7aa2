// The flat 3D shapes: corners through the projection in the order given, ellipses lying at a
// depth, pixels, and pictures painted on a plane.
#include "tests/chart/canvas/scene3dfixture.h"

#include <gtest/gtest.h>

namespace {

using scene3d::Scene;

const std::array<int, 3> kWhite{255, 255, 255};

TFourPoints Four(Scene& s, TPoint3D A, TPoint3D B, TPoint3D C, TPoint3D D) {
    return {s.canvas.Calculate3DPosition(A), s.canvas.Calculate3DPosition(B), s.canvas.Calculate3DPosition(C),
            s.canvas.Calculate3DPosition(D)};
}

TEST(Planes3D, CornersGoThroughTheProjectionInTheOrderGiven) {
    Scene s;
    s.canvas.Plane3D({10, 20}, {30, 40}, 5, 15);
    EXPECT_EQ(s.canvas.IPoints, Four(s, {10, 20, 5}, {30, 40, 5}, {30, 40, 15}, {10, 20, 15}));
    s.canvas.PlaneWithZ({1, 2}, {3, 4}, {5, 6}, {7, 8}, 9);
    EXPECT_EQ(s.canvas.IPoints, Four(s, {1, 2, 9}, {3, 4, 9}, {5, 6, 9}, {7, 8, 9}));
    TFourPoints given = {TPoint{10, 10}, TPoint{40, 10}, TPoint{40, 30}, TPoint{10, 30}};
    s.canvas.PlaneFour3D(given, 3, 12);
    const TFourPoints expected = Four(s, {10, 10, 3}, {40, 10, 3}, {40, 30, 12}, {10, 30, 12});
    EXPECT_EQ(s.canvas.IPoints, expected);
    EXPECT_EQ(given, expected) << "the caller gets the projected points back";
    s.canvas.Rectangle(TRect(10, 20, 50, 60), 7);
    EXPECT_EQ(s.canvas.IPoints, Four(s, {10, 20, 7}, {50, 20, 7}, {50, 60, 7}, {10, 60, 7}));
    s.canvas.RectangleY(10, 20, 50, 0, 30);
    EXPECT_EQ(s.canvas.IPoints, Four(s, {10, 20, 0}, {50, 20, 0}, {50, 20, 30}, {10, 20, 30}));
    s.canvas.RectangleY(10, 20, 50, 4, 4); // no depth: two coinciding edges
    EXPECT_EQ(s.canvas.IPoints[0], s.canvas.IPoints[3]);
    EXPECT_EQ(s.canvas.IPoints[1], s.canvas.IPoints[2]);
    s.canvas.RectangleZ(10, 20, 60, 0, 30);
    EXPECT_EQ(s.canvas.IPoints, Four(s, {10, 20, 0}, {10, 20, 30}, {10, 60, 30}, {10, 60, 0}));
    // Each was drawn as one polygon of its four corners.
    ASSERT_EQ(s.canvas.Polygons().size(), 7u);
    EXPECT_EQ(s.canvas.Polygons().back().points,
              std::vector<TPoint>(s.canvas.IPoints.begin(), s.canvas.IPoints.end()));
}

TEST(Planes3D, PolygonsTakeTheirOwnDepthAndTrianglesOne) {
    Scene s;
    const TPoint3D poly[] = {{10, 10, 0}, {50, 10, 10}, {50, 50, 20}, {10, 50, 30}};
    s.canvas.Polygon3D(poly, 3);
    const auto p3d = s.canvas.Polygons().back().points;
    ASSERT_EQ(p3d.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(p3d[i], s.canvas.Calculate3DPosition(poly[i]));
    s.canvas.TriangleWithZ({10, 10}, {50, 10}, {30, 40}, 6);
    EXPECT_EQ(s.canvas.Polygons().back().points, (std::vector<TPoint>{{16, 4}, {56, 4}, {36, 34}}));
}

TEST(Planes3D, ATriangleWithThreeColoursFillsWithTheFirst) {
    Scene s;
    s.canvas.Triangle3D({TPoint3D{10, 60, 0}, TPoint3D{70, 60, 0}, TPoint3D{40, 10, 0}},
                        {clRed, clLime, clBlue});
    EXPECT_EQ(s.At(40, 45), (std::array<int, 3>{255, 0, 0}));
    // A clear brush keeps its colour.
    s.canvas.Brush->SetColor(clYellow);
    s.canvas.Brush->SetStyle(bsClear);
    s.canvas.Triangle3D({TPoint3D{0, 0, 0}, TPoint3D{5, 0, 0}, TPoint3D{0, 5, 0}}, {clRed, clLime, clBlue});
    EXPECT_EQ(s.canvas.Brush->GetColor(), clYellow);
}

TEST(EllipseWithZ, InARotatedViewIsAFanOfTrianglesAndA64PointOutline) {
    Scene s;
    s.view.SetOrthogonal(false);
    s.view.SetElevation(0);
    s.view.SetRotation(0);
    s.view.SetPerspective(0);
    s.Reset();
    s.canvas.Pen->SetStyle(psSolid);
    s.canvas.EllipseWithZ(30, 30, 90, 90, 50);
    const auto& shapes = s.canvas.shapes;
    ASSERT_EQ(shapes.size(), 64u); // 63 triangles and the outline
    for (std::size_t i = 0; i < 63; ++i) {
        EXPECT_TRUE(shapes[i].filled);
        EXPECT_EQ(shapes[i].penStyle, psClear) << "the fill has no outlines";
        EXPECT_EQ(shapes[i].points[0], (TPoint{60, 60}));
    }
    EXPECT_FALSE(shapes.back().filled);
    ASSERT_EQ(shapes.back().points.size(), 64u);
    EXPECT_EQ(shapes.back().points.front(), shapes.back().points.back()) << "the ring closes";
    EXPECT_EQ(shapes.back().points.front(), (TPoint{60, 90}));
    EXPECT_EQ(s.canvas.Pen->GetStyle(), psSolid) << "the pen comes back";
    EXPECT_EQ(s.At(60, 60), scene3d::Scene::Rgb(s.canvas.Brush->GetColor()));
    // A clear brush: only the outline.
    s.canvas.shapes.clear();
    s.canvas.Brush->SetStyle(bsClear);
    s.canvas.EllipseWithZ(30, 30, 90, 90, 50);
    ASSERT_EQ(s.canvas.shapes.size(), 1u);
    EXPECT_EQ(s.canvas.shapes[0].points.size(), 64u);
}

TEST(EllipseWithZ, OrthogonalAndFlatViewsDrawOneEllipse) {
    Scene s;
    s.canvas.Pen->SetStyle(psSolid);
    s.canvas.Pen->SetColor(clBlack);
    s.canvas.EllipseWithZ(20, 40, 60, 80, 10); // lands on (30, 30) - (70, 70)
    EXPECT_NE(s.At(30, 50), kWhite);
    EXPECT_EQ(s.At(25, 50), kWhite);
    EXPECT_NE(s.At(50, 50), kWhite);
    Scene flat;
    flat.canvas.InitWindow(flat.target.GetCanvas(), nullptr, clWhite, false, TRect(0, 0, 120, 120));
    flat.canvas.Pen->SetStyle(psSolid);
    flat.canvas.Pen->SetColor(clBlack);
    flat.canvas.Brush->SetStyle(bsClear);
    flat.canvas.EllipseWithZ(20, 40, 60, 80, 10); // one pixel wider and higher, to include the corner
    EXPECT_NE(flat.At(60, 60), kWhite);
    EXPECT_NE(flat.At(40, 80), kWhite);
    EXPECT_EQ(flat.At(61, 60), kWhite);
}

TEST(Spheres, AreDiscsWhoseRadiusRoundsHalvesToEven) {
    Scene s;
    s.canvas.InitWindow(s.target.GetCanvas(), nullptr, clWhite, false, TRect(0, 0, 120, 120));
    s.canvas.Pen->SetStyle(psSolid);
    s.canvas.Pen->SetColor(clBlack);
    s.canvas.Sphere(50, 50, 0, 4.5); // radius 4: (46, 46) - (54, 54), one wider in 2D
    EXPECT_NE(s.At(54, 50), kWhite);
    EXPECT_EQ(s.At(55, 50), kWhite);
    EXPECT_NE(s.At(46, 50), kWhite);
    EXPECT_EQ(s.At(45, 50), kWhite);
    s.canvas.Sphere(20, 20, 0, 5.5); // radius 6
    EXPECT_NE(s.At(14, 20), kWhite);
    EXPECT_NE(s.At(26, 20), kWhite);
    // A radius beyond any coordinate (a pointer size from a file) covers everything around.
    Scene huge;
    huge.canvas.InitWindow(huge.target.GetCanvas(), nullptr, clWhite, false, TRect(0, 0, 120, 120));
    huge.canvas.Brush->SetColor(clBlack);
    huge.canvas.Sphere(50, 50, 0, 3e9);
    EXPECT_NE(huge.At(60, 60), kWhite);
}

TEST(SetPixel3D, SetsOnePixelOrAWidePensDot) {
    Scene s;
    s.canvas.Pen->SetStyle(psSolid);
    s.canvas.Pen->SetWidth(1);
    s.canvas.SetPixel3D(20, 30, 5, clRed); // lands on (25, 25)
    EXPECT_EQ(s.At(25, 25), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(s.At(26, 25), kWhite);
    EXPECT_EQ(s.canvas.GetPixel3D(20, 30, 5), clRed);
    s.canvas.Pen->SetWidth(5);
    s.canvas.Pen->SetColor(clBlue);
    s.canvas.SetPixel3D(60, 70, 10, clRed); // the pen's colour, not the one given
    EXPECT_EQ(s.At(70, 60), (std::array<int, 3>{0, 0, 255}));
    EXPECT_EQ(s.At(71, 61), (std::array<int, 3>{0, 0, 255}));
}

// A 3 x 2 picture: red, green, blue over yellow, white, black.
void FillPicture(TBitmap& b) {
    b.SetPixelFormat(pf24bit);
    b.SetSize(3, 2);
    const TColor colours[2][3] = {{clRed, clLime, clBlue}, {clYellow, clWhite, clBlack}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) b.GetCanvas()->SetPixel(x, y, colours[y][x]);
}

TEST(PictureOnAPlane, EachPixelBecomesAProjectedQuadrilateral) {
    Scene s;
    s.canvas.InitWindow(s.target.GetCanvas(), nullptr, clWhite, false, TRect(0, 0, 120, 120));
    TBitmap picture;
    FillPicture(picture);
    s.canvas.Pen->SetStyle(psSolid);
    s.canvas.StretchDraw(TRect(0, 0, 30, 20), &picture, 0, cpZ);
    EXPECT_EQ(s.canvas.Pen->GetStyle(), psClear);
    // Six cells of 10 x 10, each filled to its edges in its pixel's colour.
    EXPECT_EQ(s.At(0, 0), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(s.At(9, 9), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(s.At(10, 0), (std::array<int, 3>{0, 255, 0}));
    EXPECT_EQ(s.At(29, 5), (std::array<int, 3>{0, 0, 255}));
    EXPECT_EQ(s.At(5, 10), (std::array<int, 3>{255, 255, 0}));
    EXPECT_EQ(s.At(25, 19), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(s.At(30, 5), kWhite);
    EXPECT_EQ(s.At(5, 20), kWhite);
    // Without the device's colour brush the canvas brush takes each colour: the same picture.
    Scene t;
    const auto saved = ZuzSetDCBrushColor;
    ZuzSetDCBrushColor = nullptr;
    t.canvas.InitWindow(t.target.GetCanvas(), nullptr, clWhite, false, TRect(0, 0, 120, 120));
    t.canvas.StretchDraw(TRect(0, 0, 30, 20), &picture, 0, cpZ);
    ZuzSetDCBrushColor = saved;
    EXPECT_EQ(t.canvas.Polygons().size(), 6u);
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 35; ++x) ASSERT_EQ(t.At(x, y), s.At(x, y)) << x << "," << y;
}

TEST(PictureOnAPlane, LiesAtADepthFlatInYOrStandingInX) {
    TBitmap picture;
    FillPicture(picture);
    Scene s; // (X + Z, Y - Z)
    s.canvas.StretchDraw(TRect(20, 40, 50, 60), &picture, 10, cpZ);
    EXPECT_EQ(s.At(30, 30), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(s.At(55, 45), (std::array<int, 3>{0, 0, 0}));
    Scene y; // corners (x, Z, y): R's vertical range runs in depth
    y.canvas.StretchDraw(TRect(20, 0, 50, 20), &picture, 80, cpY);
    EXPECT_EQ(y.At(y.canvas.Calculate3DPosition(25, 80, 5)), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(y.At(y.canvas.Calculate3DPosition(45, 80, 15)), (std::array<int, 3>{0, 0, 0}));
    Scene x; // corners (Z, y, x): R's horizontal range runs in depth
    x.canvas.StretchDraw(TRect(0, 40, 30, 60), &picture, 30, cpX);
    EXPECT_EQ(x.At(x.canvas.Calculate3DPosition(30, 45, 5)), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(x.At(x.canvas.Calculate3DPosition(30, 55, 25)), (std::array<int, 3>{0, 0, 0}));
    // An empty picture draws nothing.
    Scene e;
    TBitmap empty;
    e.canvas.StretchDraw(TRect(0, 0, 30, 20), &empty, 0, cpZ);
    e.canvas.StretchDraw(TRect(0, 0, 30, 20), nullptr, 0, cpZ);
    EXPECT_EQ(e.InkCount(), 0);
    // Nor does a surface: its point source is not even asked.
    int asked = 0;
    const TZuzCanvasCalcPoints source = [&](int X, int Z, TPoint3D& P0, TPoint3D& P1, TColor& C0,
                                            TColor& C1) {
        ++asked;
        P0 = {X * 10, 10, Z * 10};
        P1 = {X * 10 + 10, 20, Z * 10};
        C0 = C1 = clRed;
        return true;
    };
    EXPECT_FALSE(e.canvas.Surface3D(tcsSolid, false, 4, 4, source));
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(e.InkCount(), 0);
}

} // namespace
