// The flat 3D shapes of the GDI canvas: quadrilaterals in the axis planes, polygons and
// triangles at a depth, ellipses lying at a depth, single pixels, and pictures painted on a
// plane. Walls, grids, areas and the faces of the solids are made of these.
#include "chart/canvas/gdiselection.h"
#include "chart/canvas/zuzcanvas.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace {
constexpr TCanvasState kShape{csHandleValid, csPenValid, csBrushValid};
} // namespace

// ---------------------------------------------------------------------------
// Quadrilaterals: the projected corners are kept in IPoints and drawn from there.

void TZuzCanvas3D::Plane3D(const TPoint& A, const TPoint& B, int Z0, int Z1) {
    IPoints = {FProjection.Project(A, Z0), FProjection.Project(B, Z0), FProjection.Project(B, Z1),
               FProjection.Project(A, Z1)};
    PolygonFour();
}

void TZuzCanvas3D::PlaneWithZ(TPoint P1, TPoint P2, TPoint P3, TPoint P4, int Z) {
    IPoints = {FProjection.Project(P1, Z), FProjection.Project(P2, Z), FProjection.Project(P3, Z),
               FProjection.Project(P4, Z)};
    PolygonFour();
}

void TZuzCanvas3D::PlaneFour3D(TFourPoints& Points, int Z0, int Z1) {
    IPoints = Points;
    Calc3DTPoint(IPoints[0], Z0);
    Calc3DTPoint(IPoints[1], Z0);
    Calc3DTPoint(IPoints[2], Z1);
    Calc3DTPoint(IPoints[3], Z1);
    Points = IPoints;
    PolygonFour();
}

void TZuzCanvas3D::RectangleWithZ(const TRect& Rect, int Z) {
    IPoints = FourPointsFromRect(Rect, Z);
    PolygonFour();
}

void TZuzCanvas3D::RectangleY(int Left, int Top, int Right, int Z0, int Z1) {
    IPoints = {FProjection.Project(Left, Top, Z0), FProjection.Project(Right, Top, Z0),
               FProjection.Project(Right, Top, Z1), FProjection.Project(Left, Top, Z1)};
    PolygonFour();
}

void TZuzCanvas3D::RectangleZ(int Left, int Top, int Bottom, int Z0, int Z1) {
    IPoints = {FProjection.Project(Left, Top, Z0), FProjection.Project(Left, Top, Z1),
               FProjection.Project(Left, Bottom, Z1), FProjection.Project(Left, Bottom, Z0)};
    PolygonFour();
}

// ---------------------------------------------------------------------------
// Polygons and triangles

void TZuzCanvas3D::Polygon3D(const TPoint3D* Points, int LastIndex) {
    if (LastIndex < 0) return;
    std::vector<TPoint> p;
    p.reserve(static_cast<std::size_t>(LastIndex) + 1);
    for (int i = 0; i <= LastIndex; ++i) p.push_back(Calc3DTPoint3D(Points[i]));
    Polygon(p);
}

void TZuzCanvas3D::TriangleWithZ(TPoint P1, TPoint P2, TPoint P3, int Z) {
    const TPoint p[3] = {FProjection.Project(P1, Z), FProjection.Project(P2, Z), FProjection.Project(P3, Z)};
    Polygon(p, 2);
}

void TZuzCanvas3D::Triangle3D(const TTrianglePoints3D& Points, const TTriangleColors3D& Colors) {
    if (Brush->GetStyle() != bsClear) Brush->SetColor(Colors[0]);
    const TPoint p[3] = {Calc3DTPoint3D(Points[0]), Calc3DTPoint3D(Points[1]), Calc3DTPoint3D(Points[2])};
    Polygon(p, 2);
}

// ---------------------------------------------------------------------------
// Ellipses and pixels

void TZuzCanvas3D::GetCirclePoints(std::array<TPoint, 64>& P, int X1, int Y1, int X2, int Y2, int Z) const {
    const int xc = (X1 + X2) / 2, yc = (Y1 + Y2) / 2;
    const int xr = (X2 - X1) / 2, yr = (Y2 - Y1) / 2;
    P[0] = FProjection.Project(xc, Y2, Z);
    for (int i = 1; i < 64; ++i) {
        const double a = i * 2 * std::numbers::pi / 63;
        P[static_cast<std::size_t>(i)] = FProjection.Project(xr * std::sin(a) + xc, yr * std::cos(a) + yc, Z);
    }
}

void TZuzCanvas3D::EllipseWithZ(int X1, int Y1, int X2, int Y2, int Z) {
    if (IsOrthogonal()) {
        const TPoint a = FProjection.Project(X1, Y1, Z), b = FProjection.Project(X2, Y2, Z);
        Ellipse(a.X, a.Y, b.X, b.Y);
        return;
    }
    if (!Is3D()) {
        Ellipse(X1, Y1, X2 + 1, Y2 + 1);
        return;
    }
    std::array<TPoint, 64> p;
    GetCirclePoints(p, X1, Y1, X2, Y2, Z);
    if (Brush->GetStyle() != bsClear) {
        // The fill as a fan of triangles from the centre, without their outlines.
        const TPoint centre = FProjection.Project((X1 + X2) / 2, (Y1 + Y2) / 2, Z);
        const TPenStyle style = Pen->GetStyle();
        Pen->SetStyle(psClear);
        for (std::size_t i = 0; i + 1 < p.size(); ++i) {
            const TPoint t[3] = {centre, p[i], p[i + 1]};
            Polygon(t, 2);
        }
        Pen->SetStyle(style);
    }
    if (Pen->GetStyle() != psClear) Polyline(p.data(), 63);
}

void TZuzCanvas3D::SetPixel3D(int X, int Y, int Z, TColor Color) {
    const TPoint p = FProjection.Project(X, Y, Z);
    if (Pen->GetWidth() > 1) {
        // A wide pen's dot: a line of no length, in the pen's colour.
        MoveTo(p);
        LineTo(p);
    } else {
        SetPixel(p.X, p.Y, Color);
    }
}

void TZuzCanvas3D::Sphere(int X, int Y, int Z, double Radius) {
    const Int64 r = ZuzRound(Radius);
    EllipseWithZ(ZuzCoordinate(X - r), ZuzCoordinate(Y - r), ZuzCoordinate(X + r), ZuzCoordinate(Y + r), Z);
}

// ---------------------------------------------------------------------------
// A picture on a plane

void TCanvas3D::StretchDraw(const TRect& R, TGraphic* Graphic, int Z, TCanvas3DPlane Plane) {
    if (!Graphic) return;
    Pen->SetStyle(psClear);
    Owned<TBitmap> copy;
    auto* bitmap = dynamic_cast<TBitmap*>(Graphic);
    if (!bitmap) {
        copy = MakeOwned<TBitmap>();
        copy->SetPixelFormat(pf24bit);
        copy->SetSize(Graphic->GetWidth(), Graphic->GetHeight());
        copy->GetCanvas()->Draw(0, 0, Graphic);
        bitmap = copy.get();
    }
    bitmap->SetPixelFormat(pf24bit);
    const int w = bitmap->GetWidth(), h = bitmap->GetHeight();
    if (w <= 0 || h <= 0) return;
    const double dx = static_cast<double>(R.Right - R.Left) / w;
    const double dy = static_cast<double>(R.Bottom - R.Top) / h;
    auto corner = [&](int X, int Y) {
        switch (Plane) {
        case cpX:
            return Calculate3DPosition(Z, Y, X);
        case cpY:
            return Calculate3DPosition(X, Z, Y);
        default:
            return Calculate3DPosition(X, Y, Z);
        }
    };
    // The device's own colour-settable brush where the system has one: no brush is made per
    // pixel. The canvas's pen (clear) and brush are selected first, so the device brush goes in
    // over them and the canvas's comes back at the end.
    HDC dc = GetHandle();
    const bool deviceBrush = ZuzSetDCBrushColor != nullptr;
    if (deviceBrush) ReferenceCanvas->RequiredState(kShape);
    const TSelectedObject<HBRUSH> selected(
        dc, deviceBrush ? static_cast<HBRUSH>(GetStockObject(DC_BRUSH)) : nullptr, TSelection::Borrowed);
    int y0 = R.Top;
    for (int i = 0; i < h; ++i) {
        const int y1 = ZuzRound((i + 1) * dy) + R.Top;
        const Byte* row = bitmap->ScanLine(i);
        int x0 = R.Left;
        for (int j = 0; j < w; ++j) {
            const int x1 = ZuzRound((j + 1) * dx) + R.Left;
            const Byte* px = row + static_cast<std::ptrdiff_t>(j) * 3;
            const COLORREF c = RGB(px[2], px[1], px[0]);
            const TPoint quad[4] = {corner(x0, y0), corner(x1, y0), corner(x1, y1), corner(x0, y1)};
            if (deviceBrush) {
                ZuzSetDCBrushColor(dc, c);
                ::Polygon(dc, quad, 4);
            } else {
                Brush->SetColor(static_cast<TColor>(c));
                Polygon(quad, 3);
            }
            x0 = x1;
        }
        y0 = y1;
    }
    if (deviceBrush && ReferenceCanvas->OnChange) ReferenceCanvas->OnChange(ReferenceCanvas);
}
