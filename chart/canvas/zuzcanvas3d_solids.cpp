// The solids of the GDI canvas: cubes, cylinders, cones, pyramids, truncated pyramids and
// spheres. There is no depth buffer: each solid works out from its projected corners which of
// its faces are turned to the viewer and draws only those, in a fixed order, with the
// current pen and brush; dark sides shade the side faces from the face colour.
#include "chart/canvas/zuzcanvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

// a x b of two screen vectors, in 64 bits: corners far out of the picture stay exact.
std::int64_t Cross(TPoint A, TPoint B) {
    return static_cast<std::int64_t>(A.X) * B.Y - static_cast<std::int64_t>(B.X) * A.Y;
}

TPoint Minus(TPoint A, TPoint B) {
    return {A.X - B.X, A.Y - B.Y};
}

} // namespace

TColor TZuzCanvas::FaceColor() {
    return Brush->GetStyle() == bsSolid ? Brush->GetColor() : GetBackColor();
}

// ---------------------------------------------------------------------------
// Cube

std::vector<TCanvas3D::TSolidFace> TCanvas3D::CubeFaces(int Left, int Right, int Top, int Bottom, int Z0,
                                                        int Z1, bool Wire) {
    std::vector<TSolidFace> out;
    TFourPoints q;
    auto face = [&](TPoint3D A, TPoint3D B, TPoint3D C, TPoint3D D) {
        q = {Calculate3DPosition(A), Calculate3DPosition(B), Calculate3DPosition(C), Calculate3DPosition(D)};
    };
    face({Left, Top, Z0}, {Right, Top, Z0}, {Right, Bottom, Z0}, {Left, Bottom, Z0});
    if (!Wire && Cross(Minus(q[3], q[2]), Minus(q[1], q[2])) <= 0)
        face({Left, Top, Z1}, {Right, Top, Z1}, {Right, Bottom, Z1}, {Left, Bottom, Z1});
    out.push_back({q, 0});
    face({Right, Top, Z0}, {Right, Top, Z1}, {Right, Bottom, Z1}, {Right, Bottom, Z0});
    if (Wire || Cross(Minus(q[3], q[2]), Minus(q[1], q[2])) > 0) out.push_back({q, DarkerColorQuantity});
    face({Left, Top, Z0}, {Left, Top, Z1}, {Left, Bottom, Z1}, {Left, Bottom, Z0});
    if (Wire || Cross(Minus(q[3], q[0]), Minus(q[1], q[0])) > 0) out.push_back({q, DarkerColorQuantity});
    face({Left, Top, Z0}, {Right, Top, Z0}, {Right, Top, Z1}, {Left, Top, Z1});
    if (Wire || Cross(Minus(q[0], q[1]), Minus(q[2], q[1])) > 0) out.push_back({q, DarkColorQuantity});
    face({Left, Bottom, Z0}, {Left, Bottom, Z1}, {Right, Bottom, Z1}, {Right, Bottom, Z0});
    if (Wire || Cross(Minus(q[3], q[2]), Minus(q[1], q[2])) < 0) out.push_back({q, DarkColorQuantity});
    return out;
}

void TZuzCanvas3D::Cube(int Left, int Right, int Top, int Bottom, int Z0, int Z1, bool DarkSides) {
    const TColor c = FaceColor();
    // A clear brush draws a wire frame: every face counts as turned to the viewer.
    for (const TSolidFace& f : CubeFaces(Left, Right, Top, Bottom, Z0, Z1, Brush->GetStyle() == bsClear)) {
        if (DarkSides && f.Shade) InternalDark(c, static_cast<Byte>(f.Shade));
        IPoints = f.Points;
        PolygonFour();
    }
}

// ---------------------------------------------------------------------------
// Cylinders and cones: a ring of side faces from the full ring at the base to a ring scaled by
// the cone percent at the tip, and one end cap.

std::vector<TPoint3D> TCanvas3D::SolidRing(bool Vertical, int Low, int High, int Z0, int Z1, int Along,
                                           int Sides, int Percent) {
    // Fewer than three sides make no solid, and none would divide the shading by zero.
    const int n = std::max(3, Sides);
    if (Percent == 0) Percent = ZuzDefaultConePercent;
    // A scaled ring gets whole-pixel radii before the angles spread them, like the full ring,
    // whose radii are whole already: the points of every ring round alike.
    const int r = ZuzRound((High - Low) / 2 * Percent * 0.01);
    const int zr = ZuzRound((Z1 - Z0) / 2 * Percent * 0.01);
    const int centre = (Low + High) / 2, zc = (Z0 + Z1) / 2;
    const int firstStep = Vertical ? 4 : 5;
    std::vector<TPoint3D> out;
    out.reserve(static_cast<std::size_t>(n));
    for (int k = 1; k <= n; ++k) {
        const double a = (k - firstStep) * 2 * std::numbers::pi / n;
        const int across = ZuzRound(r * std::sin(a)) + centre;
        const int depth = zc - ZuzRound(zr * std::cos(a));
        out.push_back(Vertical ? TPoint3D{across, Along, depth} : TPoint3D{Along, across, depth});
    }
    return out;
}

namespace {

void CylinderOrCone(TZuzCanvas3D& Canvas, bool Vertical, int Left, int Top, int Right, int Bottom, int Z0,
                    int Z1, bool DarkSides, int ConePercent) {
    const TColor c = Canvas.FaceColor();
    const int low = Vertical ? Left : Top, high = Vertical ? Right : Bottom;
    const int sides = Canvas.ZuzNumCylinderSides;
    const std::vector<TPoint3D> base =
        TCanvas3D::SolidRing(Vertical, low, high, Z0, Z1, Vertical ? Bottom : Left, sides, 100);
    const std::vector<TPoint3D> tip =
        TCanvas3D::SolidRing(Vertical, low, high, Z0, Z1, Vertical ? Top : Right, sides, ConePercent);
    const int n = static_cast<int>(base.size());
    auto project = [&](const std::vector<TPoint3D>& Ring) {
        std::vector<TPoint> out;
        out.reserve(Ring.size());
        for (const TPoint3D& p : Ring) out.push_back(Canvas.Calc3DTPoint3D(p));
        return out;
    };
    const std::vector<TPoint> b = project(base), t = project(tip);

    const int shadeStep = 256 / (2 * n);
    auto side = [&](int From, int To) {
        const auto f = static_cast<std::size_t>(From), t2 = static_cast<std::size_t>(To);
        return std::array<TPoint, 4>{b[f], t[f], t[t2], b[t2]};
    };
    // The rings run from the front towards +X (vertical) or +Y (horizontal), so on a solid the
    // right way up a side turned to the viewer has its corners clockwise on the screen (the
    // way the cull test says true for). Each of the three ranges given the other way round
    // turns the corners the other way. The way round is read from the side's edge on the
    // wider ring (the tip's on a cylinder), or from the other edge when that one rounds to a
    // point: a narrow ring rounds neighbouring points onto one pixel or a pixel the wrong way,
    // and its edge would then cull a side that faces the viewer and leave a strip of
    // background through the cone.
    const bool turned = ((Top > Bottom) != (Left > Right)) != (Z0 > Z1);
    const bool tipWider = (ConePercent == 0 ? ZuzDefaultConePercent : ConePercent) >= 100;
    auto turnedToViewer = [turned, tipWider](const std::array<TPoint, 4>& Q) {
        const TPoint tipEdge = Minus(Q[2], Q[1]), baseEdge = Minus(Q[3], Q[0]);
        const bool byTip = tipWider ? tipEdge != TPoint{0, 0} : baseEdge == TPoint{0, 0};
        return (Cross(Minus(Q[1], Q[0]), byTip ? tipEdge : baseEdge) > 0) != turned;
    };
    for (int k = 2; k <= n; ++k) {
        const std::array<TPoint, 4> q = side(k - 2, k - 1);
        if (!turnedToViewer(q)) continue;
        if (DarkSides) Canvas.InternalDark(c, static_cast<Byte>((k - 2) * shadeStep));
        Canvas.Polygon(q);
    }
    // The closing face keeps the shade before it.
    if (const std::array<TPoint, 4> q = side(n - 1, 0); turnedToViewer(q)) Canvas.Polygon(q);

    if (DarkSides) Canvas.InternalDark(c, DarkColorQuantity);
    // The cap goes on the end the viewer sees: the one of the smaller coordinate when the
    // plane of constant Y (X) faces the viewer from above (the left), the other one otherwise.
    // An upside-down solid has its base there, not its tip.
    const TPoint o = Canvas.Calculate3DPosition(0, 0, 0);
    const bool lowerEndShows =
        Vertical ? ZuzCull(o, Canvas.Calculate3DPosition(0, 0, 10), Canvas.Calculate3DPosition(10, 0, 10))
                 : ZuzCull(o, Canvas.Calculate3DPosition(0, 10, 0), Canvas.Calculate3DPosition(0, 10, 10));
    const bool baseLower = Vertical ? Bottom < Top : Left < Right;
    Canvas.Polygon(lowerEndShows == baseLower ? b : t);
}

} // namespace

void TZuzCanvas3D::Cylinder(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1,
                            bool DarkSides) {
    CylinderOrCone(*this, Vertical, Left, Top, Right, Bottom, Z0, Z1, DarkSides, 100);
}

void TZuzCanvas3D::Cone(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1,
                        bool DarkSides, int ConePercent) {
    CylinderOrCone(*this, Vertical, Left, Top, Right, Bottom, Z0, Z1, DarkSides, ConePercent);
}

// ---------------------------------------------------------------------------
// Pyramids

void TZuzCanvas3D::Pyramid(bool Vertical, int Left, int Top, int Right, int Bottom, int Z0, int Z1,
                           bool DarkSides) {
    const TColor c = FaceColor();
    const int zc = (Z0 + Z1) / 2;
    TPoint a, b, cc, d, p;
    bool upward;
    if (Vertical) {
        p = FProjection.Project((Left + Right) / 2, Top, zc);
        a = FProjection.Project(Left, Bottom, Z0);
        b = FProjection.Project(Right, Bottom, Z0);
        cc = FProjection.Project(Left, Bottom, Z1);
        d = FProjection.Project(Right, Bottom, Z1);
        upward = Top < Bottom;
    } else {
        p = FProjection.Project(Right, (Top + Bottom) / 2, zc);
        a = FProjection.Project(Left, Top, Z0);
        b = FProjection.Project(Left, Bottom, Z0);
        cc = FProjection.Project(Left, Top, Z1);
        d = FProjection.Project(Left, Bottom, Z1);
        upward = Left < Right;
    }
    auto triangle = [&](TPoint P0, TPoint P1, TPoint P2) {
        const TPoint t[3] = {P0, P1, P2};
        Polygon(t, 2);
    };
    // The test of a face turned to the viewer, negated where the pyramid points the other way.
    auto facing = [](TPoint P0, TPoint P1, TPoint P2, bool Negated) {
        return ZuzCull(P0, P1, P2) != Negated;
    };
    if (Vertical && Top != Bottom) {
        triangle(a, p, b);
        if (facing(a, p, cc, upward)) triangle(a, p, cc);
        if (DarkSides) InternalDark(c, DarkerColorQuantity);
        if (facing(b, p, d, !upward)) triangle(b, p, d);
        if (upward && ZuzCull(p, cc, d)) triangle(p, cc, d);
    } else if (!Vertical && Left != Right) {
        triangle(a, p, b);
        if (facing(cc, p, d, upward)) triangle(cc, p, d);
        if (DarkSides) InternalDark(c, DarkColorQuantity);
        if (facing(a, p, cc, upward)) triangle(a, p, cc);
        if (facing(d, p, b, upward)) triangle(d, p, b);
    }
    if (!facing(a, b, cc, !upward)) return;
    if (DarkSides) InternalDark(c, Vertical ? DarkColorQuantity : DarkerColorQuantity);
    if (Vertical)
        RectangleY(Left, Bottom, Right, Z0, Z1);
    else
        RectangleZ(Left, Top, Bottom, Z0, Z1);
}

void TZuzCanvas3D::PyramidTrunc(const TRect& R, int StartZ, int EndZ, int TruncX, int TruncZ) {
    const int xc = (R.Left + R.Right) / 2, zc = (StartZ + EndZ) / 2;
    auto bottom = [&] { RectangleY(R.Left, R.Bottom, R.Right, StartZ, EndZ); };
    auto top = [&] {
        if (TruncX != 0) RectangleY(xc - TruncX, R.Top, xc + TruncX, zc - TruncZ, zc + TruncZ);
    };
    const bool topFirst = R.Bottom <= R.Top;
    if (topFirst)
        top();
    else
        bottom();
    // The faces' corners run the same way round for every frustum the right way up; a frustum
    // turned over in X, in depth or upside down runs them the other way.
    const bool turned = ((R.Left > R.Right) != (StartZ > EndZ)) != (R.Top > R.Bottom);
    auto depthFace = [&](int BottomZ, int TopZ, bool FacesWhenCulled) {
        TFourPoints f = {TPoint{R.Left, R.Bottom}, TPoint{R.Right, R.Bottom}, TPoint{xc + TruncX, R.Top},
                         TPoint{xc - TruncX, R.Top}};
        const TPoint q[3] = {Calculate3DPosition(f[0], BottomZ), Calculate3DPosition(f[1], BottomZ),
                             Calculate3DPosition(f[2], TopZ)};
        if ((ZuzCull(q) == FacesWhenCulled) != turned) PlaneFour3D(f, BottomZ, TopZ);
    };
    auto sideFace = [&](int BottomX, int TopX, bool FacesWhenCulled) {
        const TFourPoints f = {
            FProjection.Project(BottomX, R.Bottom, StartZ), FProjection.Project(BottomX, R.Bottom, EndZ),
            FProjection.Project(TopX, R.Top, zc + TruncZ), FProjection.Project(TopX, R.Top, zc - TruncZ)};
        if ((ZuzCull(f.data()) == FacesWhenCulled) != turned) {
            IPoints = f;
            PolygonFour();
        }
    };
    if (TruncX == 0 && StartZ == EndZ) {
        // A flat pyramid: its one face, whichever way it turns.
        TFourPoints f = {TPoint{R.Left, R.Bottom}, TPoint{R.Right, R.Bottom}, TPoint{xc, R.Top},
                         TPoint{xc, R.Top}};
        PlaneFour3D(f, EndZ, zc + TruncZ);
    } else {
        depthFace(EndZ, zc + TruncZ, true);
        sideFace(R.Left, xc - TruncX, true);
        depthFace(StartZ, zc - TruncZ, false);
        sideFace(R.Right, xc + TruncX, false);
    }
    if (topFirst)
        bottom();
    else
        top();
}
