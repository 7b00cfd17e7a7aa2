// The projection as a value: where points land, computed from the view and the chart
// rectangle without a canvas or a device.
#include "chart/canvas/projection3d.h"

#include "chart/canvas/zuzcanvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

struct View {
    bool is3D = true, orthogonal = true;
    int zoom = 100, orthoAngle = 45, rotation = 0, elevation = 0, tilt = 0, perspective = 0;
    int horizOffset = 0, vertOffset = 0;
};

void Apply(TView3DOptions& options, const View& v) {
    options.SetOrthogonal(v.orthogonal);
    options.SetZoom(v.zoom);
    options.SetOrthoAngle(v.orthoAngle);
    options.SetRotation(v.rotation);
    options.SetElevation(v.elevation);
    options.SetTilt(v.tilt);
    options.SetPerspective(v.perspective);
    options.SetHorizOffset(v.horizOffset);
    options.SetVertOffset(v.vertOffset);
}

const View kFlat{.is3D = false};
const View kOrtho{};
const View kRotated{.orthogonal = false};

struct Row {
    const char* rule; // becomes the test's name
    View view;
    int maxDepth;
    TPoint3D from;
    TPoint expected;
};

// The chart rectangle (0, 0, 100, 100): its centre is (50, 50).
class ProjectionRule : public ::testing::TestWithParam<Row> {};

TEST_P(ProjectionRule, LandsWhereTheGeometrySays) {
    const Row& r = GetParam();
    TView3DOptions options;
    Apply(options, r.view);
    const auto p = TProjection3D::FromView(&options, r.view.is3D, TRect(0, 0, 100, 100), r.maxDepth);
    EXPECT_EQ(p.Project(r.from.X, r.from.Y, r.from.Z), r.expected);
}

View With(View v, int View::*field, int value) {
    v.*field = value;
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Views, ProjectionRule,
    ::testing::Values(
        Row{"FlatIgnoresDepth", kFlat, 0, TPoint3D{3, 4, 50}, TPoint(3, 4)},
        Row{"FlatIgnoresZoomAndOffsets", With(With(kFlat, &View::zoom, 200), &View::horizOffset, 9), 0,
            TPoint3D{60, 50, 0}, TPoint(60, 50)},
        Row{"OrthogonalDepthGoesRightAndUp", kOrtho, 0, TPoint3D{10, 20, 7}, TPoint(17, 13)},
        Row{"OrthoAngle45MovesDepthAsFarUpAsRight", With(kOrtho, &View::zoom, 150), 0, TPoint3D{50, 50, 1},
            TPoint(52, 48)},
        Row{"DepthMovesAPointOffTheCentreAsFarUpAsRight", With(kOrtho, &View::zoom, 150), 0,
            TPoint3D{200, 150, 1}, TPoint(277, 198)},
        Row{"OrthoAngle135SendsDepthLeft", With(kOrtho, &View::orthoAngle, 135), 0, TPoint3D{10, 20, 7},
            TPoint(3, 13)},
        Row{"OrthoAngle60RaisesDepthByItsTangent", With(kOrtho, &View::orthoAngle, 60), 0,
            TPoint3D{50, 50, 10}, TPoint(60, 33)},
        Row{"OrthoAngle90KeepsTheRatioAtOne", With(kOrtho, &View::orthoAngle, 90), 0, TPoint3D{10, 20, 7},
            TPoint(17, 13)},
        Row{"OrthogonalZoomScalesFromTheCentre", With(kOrtho, &View::zoom, 200), 0, TPoint3D{60, 50, 5},
            TPoint(80, 40)},
        Row{"OffsetsShiftThePicture", With(With(kOrtho, &View::horizOffset, 7), &View::vertOffset, -3), 0,
            TPoint3D{50, 50, 0}, TPoint(57, 47)},
        Row{"OffsetsFromAFileStayWithinReach",
            With(With(kOrtho, &View::horizOffset, INT_MAX), &View::vertOffset, INT_MIN), 0,
            TPoint3D{50, 50, 0}, TPoint(50 + (1 << 28), 50 - (1 << 28))},
        Row{"RotatedZoomDoublesDistanceFromCentre", With(kRotated, &View::zoom, 200), 0, TPoint3D{60, 50, 0},
            TPoint(70, 50)},
        Row{"HalfTurnMirrorsX", With(kRotated, &View::rotation, 180), 0, TPoint3D{60, 50, 0}, TPoint(40, 50)},
        Row{"QuarterTurnSendsDepthLeft", With(kRotated, &View::rotation, 90), 0, TPoint3D{50, 50, 10},
            TPoint(40, 50)},
        Row{"Elevation90LaysDepthDownTheScreen", With(kRotated, &View::elevation, 90), 0,
            TPoint3D{50, 50, 10}, TPoint(50, 60)},
        Row{"Tilt90TurnsXIntoY", With(kRotated, &View::tilt, 90), 0, TPoint3D{60, 50, 0}, TPoint(50, 60)},
        Row{"PerspectiveShrinksTheFarSide", With(kRotated, &View::perspective, 15), 0, TPoint3D{60, 50, 100},
            TPoint(59, 50)},
        Row{"PerspectiveEnlargesTheNearSide", With(kRotated, &View::perspective, 15), 0,
            TPoint3D{60, 50, -100}, TPoint(61, 50)},
        Row{"PerspectiveBelowNothingIsNone", With(kRotated, &View::perspective, -5), 0, TPoint3D{60, 50, 100},
            TPoint(60, 50)},
        Row{"DepthCentreOfFiveIsTwo", With(kRotated, &View::rotation, 90), 5, TPoint3D{50, 50, 2},
            TPoint(50, 50)},
        Row{"DepthCentreOfSevenIsFour", With(kRotated, &View::rotation, 90), 7, TPoint3D{50, 50, 4},
            TPoint(50, 50)}),
    [](const auto& info) { return std::string(info.param.rule); });

TEST(Projection3D, ANewProjectionIsFlatAndFractionalPointsRound) {
    const TProjection3D p;
    EXPECT_FALSE(p.Is3D());
    EXPECT_EQ(p.ZoomFactor(), 1); // text drawn before a window is set up keeps its size
    EXPECT_EQ(p.Project(7, -3, 40), (TPoint{7, -3}));
    EXPECT_EQ(p.Project(2.5, 3.5, 0), (TPoint{2, 4})); // halves to even
    // Without options a 3D window is rotated at no angle: the centre and zoom 1.
    const auto bare = TProjection3D::FromView(nullptr, true, TRect(0, 0, 100, 100), 0);
    EXPECT_EQ(bare.Project(60, 40, 0), (TPoint{60, 40}));
}

TEST(Projection3D, TheInverseFindsThePointAtItsDepth) {
    // Clicks hit what is drawn: orthogonal views, and rotated ones turned, tilted, zoomed, moved
    // and in perspective.
    const View turned{.orthogonal = false, .rotation = 335, .elevation = 340, .perspective = 15};
    const View views[] = {kOrtho,
                          With(kOrtho, &View::zoom, 150),
                          With(kOrtho, &View::orthoAngle, 135),
                          With(kRotated, &View::zoom, 50),
                          turned,
                          With(turned, &View::perspective, 100),
                          With(With(With(turned, &View::tilt, 20), &View::zoom, 130), &View::horizOffset, 30),
                          With(With(turned, &View::rotation, 180), &View::elevation, 180)};
    for (const View& v : views) {
        TView3DOptions options;
        Apply(options, v);
        const auto p = TProjection3D::FromView(&options, true, TRect(0, 0, 400, 300), 20);
        for (const TPoint3D q : {TPoint3D{200, 150, 0}, TPoint3D{120, 80, 10}, TPoint3D{330, 260, 20}}) {
            const TPoint s = p.Project(q.X, q.Y, q.Z);
            int x = s.X, y = s.Y;
            p.Unproject(x, y, q.Z);
            EXPECT_NEAR(x, q.X, 1) << v.rotation << " " << v.perspective << " " << q.X << "," << q.Y << ","
                                   << q.Z;
            EXPECT_NEAR(y, q.Y, 1) << v.rotation << " " << v.perspective << " " << q.X << "," << q.Y << ","
                                   << q.Z;
        }
    }
    // Zoom 0 cannot be inverted: the point stays.
    TView3DOptions options;
    options.SetZoom(0);
    const auto p = TProjection3D::FromView(&options, true, TRect(0, 0, 100, 100), 0);
    int x = 10, y = 20;
    p.Unproject(x, y, 5);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
}

TEST(Projection3D, ViewsTurnedNearAQuarterStayOrSaturateInsteadOfOverflowing) {
    // Turned a quarter, the plane is seen edge on and nothing can be found on it: the point
    // stays. Nearly a quarter, points land far away, and beyond the integers they stay at the
    // edge of the range rather than wrap (the sanitizer build fails on a wrapped sum).
    constexpr int kMax = std::numeric_limits<int>::max(), kMin = std::numeric_limits<int>::min();
    TView3DOptions options;
    Apply(options, With(kRotated, &View::rotation, 90));
    int x = 399, y = 299;
    TProjection3D::FromView(&options, true, TRect(0, 0, 400, 300), 0).Unproject(x, y, 10);
    EXPECT_EQ((TPoint{x, y}), (TPoint{399, 299}));
    Apply(options, With(kRotated, &View::rotation, 89));
    const auto turned = TProjection3D::FromView(&options, true, TRect(0, 0, 400, 300), 0);
    for (const TPoint at : {TPoint{kMax, kMax}, TPoint{kMin, kMin}, TPoint{kMax, kMin}}) {
        x = at.X;
        y = at.Y;
        turned.Unproject(x, y, 10);
        EXPECT_TRUE(x == kMax || x == kMin) << at.X << "," << at.Y << ": " << x;
        EXPECT_TRUE(y == kMax || y == kMin) << at.X << "," << at.Y << ": " << y;
    }
    // Far points of a zoomed orthogonal view, both ways.
    Apply(options, With(kOrtho, &View::zoom, 200));
    const auto ortho = TProjection3D::FromView(&options, true, TRect(0, 0, 400, 300), 0);
    EXPECT_EQ(ortho.Project(kMax, kMin, 0), (TPoint{kMax, kMin}));
    Apply(options, kOrtho);
    const auto plain = TProjection3D::FromView(&options, true, TRect(0, 0, 400, 300), 0);
    x = kMax;
    y = kMin;
    plain.Unproject(x, y, -5);
    EXPECT_EQ(x, kMax);
    EXPECT_EQ(y, kMin);
}

TEST(Projection3D, TheFrontPlaneStopsRotationButNotTheOrthogonalView) {
    TView3DOptions options;
    Apply(options, With(kRotated, &View::zoom, 200));
    const auto rotated = TProjection3D::FromView(&options, true, TRect(0, 0, 100, 100), 0);
    EXPECT_EQ(rotated.WithIs3D(false).Project(60, 50, 9), (TPoint{60, 50}));
    EXPECT_EQ(rotated.WithIs3D(false).WithIs3D(true).Project(60, 50, 0), (TPoint{70, 50}));
    Apply(options, kOrtho);
    const auto ortho = TProjection3D::FromView(&options, true, TRect(0, 0, 100, 100), 0);
    EXPECT_EQ(ortho.WithIs3D(false).Project(10, 20, 7), (TPoint{17, 13}));
}

TEST(Projection3D, TheCanvasDrawsWithTheValueItComputed) {
    TView3DOptions options;
    Apply(options, With(With(kRotated, &View::rotation, 30), &View::perspective, 15));
    TZuzCanvas3D canvas;
    canvas.SetUseBuffer(false);
    canvas.InitWindow(nullptr, &options, clWhite, true, TRect(0, 0, 300, 200));
    canvas.Projection(40, TRect(), TRect(10, 10, 290, 190));
    const auto value = TProjection3D::FromView(&options, true, TRect(10, 10, 290, 190), 40);
    for (const TPoint3D q : {TPoint3D{0, 0, 0}, TPoint3D{150, 100, 40}, TPoint3D{290, 10, -5}}) {
        EXPECT_EQ(canvas.Calculate3DPosition(q), value.Project(q.X, q.Y, q.Z));
        TPoint fractional;
        canvas.Calc3DPoint(fractional, q.X + 0.0, q.Y + 0.0, q.Z);
        EXPECT_EQ(fractional, value.Project(q.X, q.Y, q.Z)); // one formula for both kinds of input
    }
    EXPECT_EQ(canvas.ZCenter(), 20);
    EXPECT_EQ(canvas.XCenter(), 150);
}

} // namespace
