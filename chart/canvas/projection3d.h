#pragma once
// Where a point of the chart's 3D space (X right, Y down, Z into the screen) lands on the
// device. The view's mode, angles, zoom, offsets and centre become a value that draws nothing
// and holds no canvas: a canvas computes it when it sets up a window and when it learns the
// chart rectangle, and only reads it while drawing, so drawing, hit tests, printing and
// pictures share one formula.

#include "platform/core/types.h"

#include <array>

class TView3DOptions;

class TProjection3D {
public:
    // A new canvas's: flat (every point lands where it is), at zoom 1, so that text a canvas
    // draws before it sets up a window keeps its size.
    TProjection3D() = default;

    // Both halves at once: the view on the chart rectangle with MaxDepth of depth.
    static TProjection3D FromView(const TView3DOptions* View, bool Is3D, const TRect& Rect, int MaxDepth);
    // The window's half: mode, orthogonal ratio and angles from the view, zoom 1; the centre
    // stays until the rectangle is known.
    TProjection3D ForWindow(const TView3DOptions* View, bool Is3D) const;
    // The rectangle's half: centre, offsets, zoom and perspective.
    TProjection3D ForRect(const TView3DOptions* View, const TRect& Rect, int MaxDepth) const;
    // The same view with rotation on or off (the front plane switches it off).
    TProjection3D WithIs3D(bool Value) const;

    // One formula for integer and fractional input; flat views leave points where they are
    // (fractional ones rounded).
    TPoint Project(double X, double Y, int Z) const;
    TPoint Project(int X, int Y, int Z) const {
        return Project(static_cast<double>(X), static_cast<double>(Y), Z);
    }
    TPoint Project(TPoint P, int Z) const { return Project(P.X, P.Y, Z); }
    // The inverse at depth Z, perspective and tilt included, for hit tests; the point stays as
    // it is when the view cannot be inverted (zoom 0, or the plane seen edge on).
    void Unproject(int& X, int& Y, int Z) const;

    bool Is3D() const { return FIs3D; }
    bool IsOrthogonal() const { return FIsOrthogonal; }
    bool IsPerspective() const { return FIsPerspective; }
    bool IsTilted() const { return FIsTilted; }
    int XCenter() const { return FXCenter; }
    int YCenter() const { return FYCenter; }
    int ZCenter() const { return FZCenter; }
    int XCenterOffset() const { return FXCenterOffset; }
    int YCenterOffset() const { return FYCenterOffset; }
    double SinX() const { return FSinX; }
    double SinY() const { return FSinY; }
    double SinZ() const { return FSinZ; }
    double CosX() const { return FCosX; }
    double CosY() const { return FCosY; }
    double CosZ() const { return FCosZ; }
    // Products of the sines and cosines used by the inverse, 0..5.
    double InvTerm(int Index) const { return FInvTerm[static_cast<std::size_t>(Index)]; }
    double OrthoX() const { return FOrthoX; }
    double OrthoY() const { return FOrthoY; }
    double PerspectiveFactor() const { return FPerspectiveFactor; }
    double ZoomFactor() const { return FZoomFactor; }
    bool ZoomText() const { return FZoomText; }

private:
    void CalcTrigValues(const TView3DOptions* View);

    bool FIs3D = false;
    bool FIsOrthogonal = false;
    bool FIsPerspective = false;
    bool FIsTilted = false;
    bool FZoomText = true;
    int FXCenter = 0, FYCenter = 0, FZCenter = 0;
    int FXCenterOffset = 0, FYCenterOffset = 0;
    double FSinX = 0, FSinY = 0, FSinZ = 0, FCosX = 1, FCosY = 1, FCosZ = 1;
    std::array<double, 6> FInvTerm{};
    double FOrthoX = 1, FOrthoY = 1;
    double FPerspectiveFactor = 0;
    double FZoomFactor = 1;
};
