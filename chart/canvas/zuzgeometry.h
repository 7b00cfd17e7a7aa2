#pragma once
// Free functions of the panel unit: the default series colours and the hit tests of points
// against lines, polygons, triangles and ellipses.

#include "platform/core/types.h"
#include "platform/gui/graphics.h"

#include <span>
#include <vector>

// The default series colours, in order.
extern std::vector<TColor> ColorPalette;
// Entry Index of the palette, counted round from either end (a negative index counts back
// from the last colour instead of reading before the palette).
TColor GetDefaultColor(int Index);
// The built-in twenty colours.
void SetDefaultColorPalette();
// A copy of Palette[0..High]; High 0 (or an empty palette) gives the built-in colours.
void SetDefaultColorPalette(std::span<const TColor> Palette, int High);

// True when P is an end point or lies within Tolerance + 1 of the segment.
bool PointInLine(TPoint P, int X0, int Y0, int X1, int Y1, int Tolerance);
inline bool PointInLine(TPoint P, TPoint P0, TPoint P1, int Tolerance) {
    return PointInLine(P, P0.X, P0.Y, P1.X, P1.Y, Tolerance);
}
inline bool PointInLine(TPoint P, int X0, int Y0, int X1, int Y1) {
    return PointInLine(P, X0, Y0, X1, Y1, 0);
}
inline bool PointInLine(TPoint P, TPoint P0, TPoint P1) {
    return PointInLine(P, P0.X, P0.Y, P1.X, P1.Y, 0);
}
inline bool PointInLineTolerance(TPoint P, int X0, int Y0, int X1, int Y1, int Tolerance) {
    return PointInLine(P, X0, Y0, X1, Y1, Tolerance);
}
// Even-odd rule over Points[0..High]; false for a negative High.
bool PointInPolygon(TPoint P, const TPoint* Points, int High);
bool PointInTriangle(TPoint P, TPoint P0, TPoint P1, TPoint P2);
// The upward triangle with its base at Y1 and its tip at Y0.
bool PointInTriangle(TPoint P, int X0, int X1, int Y0, int Y1);
// The sideways triangle with its tip at X0 and its base at X1.
bool PointInHorizTriangle(TPoint P, int Y0, int Y1, int X0, int X1);
bool PointInEllipse(TPoint P, int Left, int Top, int Right, int Bottom);
inline bool PointInEllipse(TPoint P, const TRect& R) {
    return PointInEllipse(P, R.Left, R.Top, R.Right, R.Bottom);
}
// Where the lines through (X1, Y1)-(X2, Y2) and (X3, Y3)-(X4, Y4) meet; true when the two
// segments cross (the ends of each on different sides of the other line). Vertical lines meet
// like any other; for parallel lines X is X1 and Y lies on the second line.
bool CrossingLines(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4,
                   double& X, double& Y);
