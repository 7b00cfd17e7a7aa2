#include "chart/canvas/zuzgeometry.h"

#include <cmath>

std::vector<TColor> ColorPalette;

namespace {
constexpr TColor BuiltInPalette[] = {clRed,  clGreen, clYellow,     clBlue,    clWhite, clGray,   clFuchsia,
                                     clTeal, clNavy,  clMaroon,     clLime,    clOlive, clPurple, clSilver,
                                     clAqua, clBlack, clMoneyGreen, clSkyBlue, clCream, clMedGray};
} // namespace

void SetDefaultColorPalette() {
    ColorPalette.assign(std::begin(BuiltInPalette), std::end(BuiltInPalette));
}

void SetDefaultColorPalette(std::span<const TColor> Palette, int High) {
    if (High <= 0 || Palette.empty()) {
        SetDefaultColorPalette();
        return;
    }
    const std::size_t n = std::min(Palette.size(), static_cast<std::size_t>(High) + 1);
    ColorPalette.assign(Palette.begin(), Palette.begin() + static_cast<std::ptrdiff_t>(n));
}

TColor GetDefaultColor(int Index) {
    if (ColorPalette.empty()) SetDefaultColorPalette();
    const int n = static_cast<int>(ColorPalette.size());
    const int i = ((Index % n) + n) % n;
    return ColorPalette[static_cast<std::size_t>(i)];
}

bool PointInLine(TPoint P, int X0, int Y0, int X1, int Y1, int Tolerance) {
    if ((P.X == X0 && P.Y == Y0) || (P.X == X1 && P.Y == Y1)) return true;
    const double dx = static_cast<double>(X1) - X0, dy = static_cast<double>(Y1) - Y0;
    const double len2 = dx * dx + dy * dy;
    double distance;
    if (len2 == 0) {
        distance = std::hypot(P.X - static_cast<double>(X1), P.Y - static_cast<double>(Y1));
    } else {
        const double t = ((P.X - X0) * dx + (P.Y - Y0) * dy) / len2;
        if (t < 0)
            distance = std::hypot(P.X - static_cast<double>(X0), P.Y - static_cast<double>(Y0));
        else if (t > 1)
            distance = std::hypot(P.X - static_cast<double>(X1), P.Y - static_cast<double>(Y1));
        else
            distance = std::hypot(P.X - (X0 + t * dx), P.Y - (Y0 + t * dy));
    }
    return distance <= Tolerance + 1;
}

bool PointInPolygon(TPoint P, const TPoint* Points, int High) {
    if (High < 0) return false;
    bool inside = false;
    for (int i = 0, j = High; i <= High; j = i++) {
        const TPoint a = Points[i], b = Points[j];
        if (((a.Y <= P.Y && P.Y < b.Y) || (b.Y <= P.Y && P.Y < a.Y)) &&
            P.X < a.X + static_cast<double>(b.X - a.X) * (P.Y - a.Y) / (b.Y - a.Y))
            inside = !inside;
    }
    return inside;
}

bool PointInTriangle(TPoint P, TPoint P0, TPoint P1, TPoint P2) {
    const TPoint points[] = {P0, P1, P2};
    return PointInPolygon(P, points, 2);
}

bool PointInTriangle(TPoint P, int X0, int X1, int Y0, int Y1) {
    return PointInTriangle(P, TPoint(X0, Y1), TPoint((X0 + X1) / 2, Y0), TPoint(X1, Y1));
}

bool PointInHorizTriangle(TPoint P, int Y0, int Y1, int X0, int X1) {
    return PointInTriangle(P, TPoint(X1, Y0), TPoint(X0, (Y0 + Y1) / 2), TPoint(X1, Y1));
}

bool PointInEllipse(TPoint P, int Left, int Top, int Right, int Bottom) {
    const int cx = (Left + Right) / 2, cy = (Top + Bottom) / 2;
    const float a2 = static_cast<float>(cx - Left) * static_cast<float>(cx - Left);
    const float b2 = static_cast<float>(cy - Top) * static_cast<float>(cy - Top);
    if (a2 == 0 || b2 == 0) return false;
    const float x = static_cast<float>(P.X - cx), y = static_cast<float>(P.Y - cy);
    return x * x / a2 + y * y / b2 <= 1.0f;
}

bool CrossingLines(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4,
                   double& X, double& Y) {
    // The determinant form: a vertical line has no slope, but it has a direction.
    const double dx1 = X2 - X1, dy1 = Y2 - Y1, dx2 = X4 - X3, dy2 = Y4 - Y3;
    const double d = dx1 * dy2 - dy1 * dx2;
    if (std::abs(d) <= 1e-15) {
        X = X1;
        Y = dx2 != 0 ? Y3 + (X - X3) * dy2 / dx2 : Y3;
    } else {
        const double t = ((X3 - X1) * dy2 - (Y3 - Y1) * dx2) / d;
        X = X1 + t * dx1;
        Y = Y1 + t * dy1;
    }
    auto side = [](double ax, double ay, double bx, double by, double px, double py) {
        return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
    };
    return side(X1, Y1, X2, Y2, X3, Y3) * side(X1, Y1, X2, Y2, X4, Y4) < 0 &&
           side(X3, Y3, X4, Y4, X1, Y1) * side(X3, Y3, X4, Y4, X2, Y2) < 0;
}
