// 3D pie slices with their walls (solid or with a hole), ellipses turned in their plane, and
// arrows in a plane of constant depth.
#include "chart/canvas/zuzcanvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr Byte kWallShade = 32;

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
    TPoint centreBottom = FProjection.Project(XCenter, YCenter, Z1);
    // The face at Z0 is seen from above, the slice hanging below it. Where depth runs up the
    // screen, the ring at Z1 lies above the face: the slice then hangs as far below the face as
    // that ring stands above it, or its walls and cut faces would rise over the face.
    if (centreBottom.Y < centreTop.Y) {
        centreBottom = ZuzHangBelow(centreBottom, centreTop);
        for (std::size_t i = 0; i < count; ++i) {
            bottom[i] = ZuzHangBelow(bottom[i], top[i]);
            if (hole) innerBottom[i] = ZuzHangBelow(innerBottom[i], innerTop[i]);
        }
    }
    // Which way growing angles run round on the screen. A wall or a cut face is seen when its
    // corners, taken round it as seen from outside the slice, run that way too: each is judged
    // by its own corners, so a moved-out slice and a turned view show the faces they turn to
    // the viewer.
    const int turn = ZuzWinding({centreTop, FProjection.Project(XCenter + XRadius, YCenter, Z0),
                                 FProjection.Project(XCenter, YCenter - YRadius, Z0)});
    auto shows = [&](TPoint A, TPoint B, TPoint C, TPoint D) { return ZuzWinding({A, B, C, D}) == turn; };
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
        const std::size_t last = count - 1;
        if (shows(innerEnd(last, true), top[last], bottom[last], innerEnd(last, false))) radialSide(last);
        if (shows(innerEnd(0, true), innerEnd(0, false), bottom[0], top[0])) radialSide(0);
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

    // The outer wall where it is turned to the viewer, in runs of the rim.
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
    // A run starts where the rim turns to the viewer and goes on while it does not turn away.
    auto facing = [&](std::size_t j) {
        return ZuzWinding({top[j], bottom[j], bottom[j + 1], top[j + 1]}) * turn;
    };
    for (std::size_t i = 0; i + 1 < count;) {
        if (facing(i) <= 0) {
            ++i;
            continue;
        }
        std::size_t e = i + 1;
        while (e + 1 < count && facing(e) >= 0) ++e;
        outerWall(i, e);
        i = e;
    }
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
