// 3D pie slices with their walls (solid or with a hole), ellipses turned in their plane, and
// arrows in a plane of constant depth.
#include "chart/canvas/zuzcanvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace {

constexpr Byte kWallShade = 32;

// The run of points whose X grows from one to the next, from First on: the first point where
// X grows starts it, and it goes on while X does not fall. First = Last means none.
std::pair<std::size_t, std::size_t> RisingRun(const std::vector<TPoint>& P, std::size_t First) {
    std::size_t s = First;
    while (s + 1 < P.size() && P[s + 1].X <= P[s].X) ++s;
    if (s + 1 >= P.size()) return {s, s};
    std::size_t e = s + 1;
    while (e + 1 < P.size() && P[e + 1].X >= P[e].X) ++e;
    return {s, e};
}

} // namespace

// ---------------------------------------------------------------------------
// Pie slices

void TZuzCanvas3D::Pie3D(int XCenter, int YCenter, int XRadius, int YRadius, int Z0, int Z1,
                         double StartAngle, double EndAngle, bool DarkSides, bool DrawSides, int DonutPercent,
                         TCustomZuzGradient* Gradient) {
    // One rim point per two degrees, at most 96.
    const int np = std::min(ZuzRound(std::abs(EndAngle - StartAngle) * 180 / std::numbers::pi / 2), 94) + 2;
    const double step = (EndAngle - StartAngle) / (np - 1);
    const bool hole = DonutPercent > 0;
    const double ixr = 0.01 * DonutPercent * XRadius, iyr = 0.01 * DonutPercent * YRadius;
    const auto count = static_cast<std::size_t>(np);
    std::vector<TPoint> top(count), bottom(count), innerTop, innerBottom;
    if (hole) {
        innerTop.resize(count);
        innerBottom.resize(count);
    }
    for (std::size_t i = 0; i < count; ++i) {
        const double a = StartAngle + static_cast<double>(i) * step;
        const double x = XCenter + std::cos(a) * XRadius, y = YCenter - std::sin(a) * YRadius;
        top[i] = FProjection.Project(x, y, Z0);
        bottom[i] = FProjection.Project(x, y, Z1);
        if (hole) {
            const double ix = XCenter + std::cos(a) * ixr;
            const double iy = YCenter - ZuzRound(std::sin(a) * iyr);
            innerTop[i] = FProjection.Project(ix, iy, Z0);
            innerBottom[i] = FProjection.Project(ix, iy, Z1);
        }
    }
    const TPoint centreTop = FProjection.Project(XCenter, YCenter, Z0);
    const TPoint centreBottom = FProjection.Project(XCenter, YCenter, Z1);
    auto innerEnd = [&](std::size_t i, bool AtZ0) {
        if (hole) return AtZ0 ? innerTop[i] : innerBottom[i];
        return AtZ0 ? centreTop : centreBottom;
    };

    const bool pictureBrush = Brush->GetBitmap() != nullptr;
    const TColor c = pictureBrush ? Brush->GetColor() : FaceColor();
    auto wallShade = [&] {
        if (DarkSides) InternalDark(c, kWallShade);
    };

    if (hole) {
        // The hole's wall first: the inner ring at Z0 backwards, then at Z1 forwards.
        std::vector<TPoint> wall(innerTop.rbegin(), innerTop.rend());
        wall.insert(wall.end(), innerBottom.begin(), innerBottom.end());
        wallShade();
        Polygon(wall);
    }
    if (DrawSides) {
        auto radialSide = [&](std::size_t i) {
            const TPoint q[4] = {innerEnd(i, true), top[i], bottom[i], innerEnd(i, false)};
            wallShade();
            Polygon(q, 3);
        };
        if (top[count - 1].X < XCenterOffset()) radialSide(count - 1);
        if (top[0].X > XCenterOffset()) radialSide(0);
    }
    if (Brush->GetStyle() == bsSolid)
        Brush->SetColor(c);
    else
        SetBackColor(c);

    std::vector<TPoint> face(top);
    if (hole)
        face.insert(face.end(), innerTop.rbegin(), innerTop.rend());
    else
        face.push_back(centreTop);
    if (Gradient)
        PolygonGradient(face.data(), LastIndexOf(face), Gradient);
    else
        Polygon(face);

    // The outer wall where it is turned to the viewer: where the rim's X grows.
    auto outerWall = [&](std::size_t First, std::size_t Last) {
        std::vector<TPoint> wall(top.begin() + static_cast<std::ptrdiff_t>(First),
                                 top.begin() + static_cast<std::ptrdiff_t>(Last) + 1);
        for (std::size_t i = Last + 1; i-- > First;) wall.push_back(bottom[i]);
        if (!pictureBrush) wallShade();
        if (Gradient)
            PolygonGradient(wall.data(), LastIndexOf(wall), Gradient);
        else
            Polygon(wall);
    };
    const auto [first, last] = RisingRun(top, 0);
    if (first == last) return;
    outerWall(first, last);
    if (last + 1 >= count) return;
    // A second run, found backwards from the last point.
    std::size_t s = count - 1;
    while (s > last + 1 && top[s - 1].X <= top[s].X) --s;
    if (s < count - 1) outerWall(s, count - 1);
}

void TCanvas3D::CalcPieAngles(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4,
                              double& StartAngle, double& EndAngle) {
    const int xc = X1 + (X2 - X1) / 2, yc = Y1 + (Y2 - Y1) / 2;
    StartAngle = std::atan2(static_cast<double>(yc - Y3), static_cast<double>(X3 - xc));
    EndAngle = std::atan2(static_cast<double>(yc - Y4), static_cast<double>(X4 - xc));
    if (StartAngle < 0) StartAngle += 2 * std::numbers::pi;
    if (EndAngle < 0) EndAngle += 2 * std::numbers::pi;
    StartAngle *= 180 / std::numbers::pi;
    EndAngle *= 180 / std::numbers::pi;
    if (EndAngle == 0) EndAngle = 360;
}

// ---------------------------------------------------------------------------
// Rotated ellipses

void TCanvas3D::RotatedEllipse(int Left, int Top, int Right, int Bottom, int Z, double Angle) {
    const double xc = (Left + Right) * 0.5, yc = (Top + Bottom) * 0.5;
    const double rx = xc - Left, ry = yc - Top;
    const double a = Angle * std::numbers::pi / 180;
    const double sa = std::sin(a), ca = std::cos(a);
    std::array<TPoint, 64> p;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const double t = static_cast<double>(i) * 2 * std::numbers::pi / 63;
        const double u = std::sin(t) * rx, v = std::cos(t) * ry;
        p[i] = {ZuzRound(ca * u + sa * v + xc), ZuzRound(-u * sa + ca * v + yc)};
    }
    if (Brush->GetStyle() != bsClear) {
        const TPoint centre{ZuzRound(xc), ZuzRound(yc)};
        const TPenStyle style = Pen->GetStyle();
        Pen->SetStyle(psClear);
        for (std::size_t i = 0; i + 1 < p.size(); ++i) {
            const TPoint t[3] = {centre, p[i], p[i + 1]};
            PolygonWithZ(t, 2, Z);
        }
        Pen->SetStyle(style);
    }
    if (Pen->GetStyle() != psClear) Polyline(p.data(), 63, Z);
}

// ---------------------------------------------------------------------------
// Arrows

void TZuzCanvas3D::Arrow(bool Filled, TPoint FromPoint, TPoint ToPoint, int HeadWidth, int HeadHeight, int Z,
                         double SizePercent) {
    const double dx = static_cast<double>(ToPoint.X) - FromPoint.X;
    const double dy = static_cast<double>(FromPoint.Y) - ToPoint.Y; // screen Y points down
    const double l = std::sqrt(dx * dx + dy * dy);
    if (l == 0) return;
    const double h = std::min(HeadHeight, ZuzRound(l));
    const double s = dy / l, c = dx / l;
    // Points in a frame turned with the arrow: u along it, v across.
    auto back = [&](double U, double V) {
        return FProjection.Project(static_cast<double>(ZuzRound(U * c + V * s)),
                                   static_cast<double>(ZuzRound(-U * s + V * c)), Z);
    };
    const double uT = ToPoint.X * c - ToPoint.Y * s, vT = ToPoint.X * s + ToPoint.Y * c;
    const double uF = FromPoint.X * c - FromPoint.Y * s;
    const double halfHead = HeadWidth * 0.5;
    const TPoint head0 = back(uT - h, vT - halfHead), head1 = back(uT - h, vT + halfHead);
    const TPoint to = FProjection.Project(ToPoint, Z);
    if (Filled) {
        const double w = HeadWidth * 0.005 * SizePercent;
        const TPoint p[7] = {back(uF, vT + w),    back(uF, vT - w), back(uT - h, vT - w), head0, to, head1,
                             back(uT - h, vT + w)};
        Polygon(p, 6);
        return;
    }
    LineWithZ(FromPoint, ToPoint, Z);
    Line(to, head1);
    Line(to, head0);
}
