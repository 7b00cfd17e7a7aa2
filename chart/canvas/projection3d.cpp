// The projection of the chart's 3D space: orthogonal (oblique), rotated (with perspective and
// tilt) and flat.
#include "chart/canvas/projection3d.h"

#include "chart/canvas/zuzcanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// A rounded coordinate moved by an offset and by a depth shift rounded on its own, saturated to
// the integer range: views turned beyond 90 degrees divide by the tiny floor of their divisors,
// and a vanishing perspective divisor gives huge values, which must stay at the edge of the
// range rather than wrap.
int Shifted(double Value, int Offset, double Depth = 0) {
    const int r = ZuzRound(Value);
    if (r == std::numeric_limits<int>::max() || r == std::numeric_limits<int>::min()) return r;
    const std::int64_t v = static_cast<std::int64_t>(r) + Offset + ZuzRound(Depth);
    return static_cast<int>(
        std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

TProjection3D TProjection3D::FromView(const TView3DOptions* View, bool Is3D, const TRect& Rect,
                                      int MaxDepth) {
    return TProjection3D().ForWindow(View, Is3D).ForRect(View, Rect, MaxDepth);
}

TProjection3D TProjection3D::ForWindow(const TView3DOptions* View, bool Is3D) const {
    TProjection3D p = *this;
    p.FIs3D = Is3D;
    p.FIsOrthogonal = false;
    p.FZoomFactor = 1;
    if (!Is3D) return p;
    if (View) {
        p.FIsOrthogonal = View->GetOrthogonal();
        if (p.FIsOrthogonal) {
            double a = View->GetOrthoAngle();
            if (a > 90) {
                p.FOrthoX = -1;
                a = 180 - a;
            } else {
                p.FOrthoX = 1;
            }
            const double s = std::sin(a * ZuzPiStep), c = std::cos(a * ZuzPiStep);
            // Near 90 degrees the tangent runs away: the depth axis goes straight up. At 45
            // degrees the quotient falls short of one in the last bit, and a depth that a zoom
            // makes a half pixel would then move one pixel less up than right.
            p.FOrthoY = c < 0.01 || a == 45 ? 1 : s / c;
        }
    }
    if (!p.FIsOrthogonal) p.CalcTrigValues(View);
    return p;
}

void TProjection3D::CalcTrigValues(const TView3DOptions* View) {
    double ax = 0, ay = 0, az = 0;
    if (View) {
        ax = -View->GetElevation();
        ay = -View->GetRotation();
        az = View->GetTilt();
    }
    FIsPerspective = false;
    FPerspectiveFactor = 0;
    FSinX = std::sin(ax * ZuzPiStep);
    FCosX = std::cos(ax * ZuzPiStep);
    FSinY = std::sin(ay * ZuzPiStep);
    FCosY = std::cos(ay * ZuzPiStep);
    FIsTilted = az != 0;
    FSinZ = std::sin(az * ZuzPiStep);
    FCosZ = std::cos(az * ZuzPiStep);
    // The lower bound applies to negative values too.
    FInvTerm[0] = FCosY * FSinZ;
    FInvTerm[1] = std::max(FCosY * FCosZ, 0.00001);
    FInvTerm[2] = std::max(FSinX * FSinY * FSinZ + FCosX * FCosZ, 0.00001);
    FInvTerm[3] = FCosZ * FSinX * FSinY - FCosX * FSinZ;
    FInvTerm[4] = FCosX * FSinY * FSinZ - FCosZ * FSinX;
    FInvTerm[5] = FCosX * FCosZ * FSinY + FSinX * FSinZ;
}

TProjection3D TProjection3D::ForRect(const TView3DOptions* View, const TRect& Rect, int MaxDepth) const {
    TProjection3D p = *this;
    RectCenter(Rect, p.FXCenter, p.FYCenter);
    p.FZCenter = ZuzRound(MaxDepth * 0.5);
    p.FXCenterOffset = p.FXCenter;
    p.FYCenterOffset = p.FYCenter;
    if (!View) return p;
    p.FXCenterOffset += View->GetHorizOffset();
    p.FYCenterOffset += View->GetVertOffset();
    if (p.FIs3D) {
        p.FZoomFactor = View->GetZoomInteger() * 0.01;
        p.FZoomText = View->GetZoomText();
    }
    p.FIsPerspective = View->GetPerspective() > 0;
    if (p.FIsPerspective) {
        const int w = std::max(1, Rect.Right - Rect.Left);
        p.FPerspectiveFactor = View->GetPerspective() * p.FZoomFactor * (1.0 / 150.0) / w;
    }
    return p;
}

TProjection3D TProjection3D::WithIs3D(bool Value) const {
    TProjection3D p = *this;
    p.FIs3D = Value;
    return p;
}

TPoint TProjection3D::Project(double X, double Y, int Z) const {
    // Whatever the mode: the front plane keeps zoom, offsets and depth. The depth moves every
    // point by the same whole pixels, rounded apart from the point: rounded with it, a point
    // at a half pixel would go one pixel right and two up at 45 degrees.
    if (FIsOrthogonal)
        return {Shifted((X - FXCenter) * FZoomFactor, FXCenterOffset, Z * FOrthoX * FZoomFactor),
                Shifted((Y - FYCenter) * FZoomFactor, FYCenterOffset, -Z * FOrthoY * FZoomFactor)};
    if (!FIs3D) return {ZuzRound(X), ZuzRound(Y)};
    const double x = X - FXCenter, y = Y - FYCenter, z = static_cast<double>(Z) - FZCenter;
    const double t = z * FCosY - x * FSinY;
    const double s =
        FIsPerspective ? FZoomFactor / ((FCosX * t + y * FSinX) * FPerspectiveFactor + 1) : FZoomFactor;
    const double a = x * FCosY + z * FSinY;
    const double b = y * FCosX - FSinX * t;
    if (!FIsTilted) return {Shifted(a * s, FXCenterOffset), Shifted(b * s, FYCenterOffset)};
    return {Shifted((FCosZ * a - FSinZ * b) * s, FXCenterOffset),
            Shifted((FCosZ * b + FSinZ * a) * s, FYCenterOffset)};
}

void TProjection3D::Unproject(int& X, int& Y, int Z) const {
    if (FZoomFactor == 0) return;
    const double k = 1.0 / FZoomFactor;
    if (FIsOrthogonal) {
        const double depthX = ZuzRound(Z * FOrthoX * FZoomFactor),
                     depthY = ZuzRound(Z * FOrthoY * FZoomFactor);
        X = Shifted((static_cast<double>(X) - FXCenterOffset - depthX) * k, FXCenter);
        Y = Shifted((static_cast<double>(Y) - FYCenterOffset + depthY) * k, FYCenter);
        return;
    }
    if (!FIs3D) return;
    // The projection at a fixed depth is a ratio of linear terms in the model's x and y: with
    // the screen point turned back by the tilt, a = A·d and b = B·d, d being the perspective
    // divisor. Solved exactly, so a click on a drawn point finds that point in a turned,
    // perspective view too.
    const double u = static_cast<double>(X) - FXCenterOffset, v = static_cast<double>(Y) - FYCenterOffset;
    const double A = (FCosZ * u + FSinZ * v) * k, B = (FCosZ * v - FSinZ * u) * k;
    const double z = static_cast<double>(Z) - FZCenter;
    const double p = FIsPerspective ? FPerspectiveFactor : 0;
    const double d0 = p * FCosX * FCosY * z + 1; // the divisor's part that does not move with x, y
    const double m11 = FCosY + A * p * FCosX * FSinY, m12 = -A * p * FSinX;
    const double m21 = FSinX * FSinY + B * p * FCosX * FSinY, m22 = FCosX - B * p * FSinX;
    const double r1 = A * d0 - z * FSinY, r2 = B * d0 + FSinX * FCosY * z;
    const double det = m11 * m22 - m12 * m21;
    // Seen edge on, the plane at this depth is a line: no point can be found on it.
    if (std::abs(det) < 1e-9) return;
    X = Shifted((r1 * m22 - m12 * r2) / det, FXCenter);
    Y = Shifted((m11 * r2 - r1 * m21) / det, FYCenter);
}
