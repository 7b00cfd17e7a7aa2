// The GDI canvas's 2D shapes that do more than pass their arguments on: arcs and donuts by
// angles, gradient fills of rectangles and polygons, blending, and darkened colours.
#include "chart/canvas/gdiselection.h"
#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzgradient.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr TCanvasState kShape{csHandleValid, csPenValid, csBrushValid};

using TRGB = std::array<int, 3>;

TRGB RGBOf(TColor Color) {
    const auto c = static_cast<COLORREF>(ColorToRGB(Color));
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

COLORREF ToCOLORREF(const TRGB& c) {
    return RGB(static_cast<BYTE>(c[0]), static_cast<BYTE>(c[1]), static_cast<BYTE>(c[2]));
}

// The point at an angle (radians) on an ellipse, Y up on screen; angles of many turns come
// down to one turn first.
TPoint OnEllipse(double Angle, double XRadius, double YRadius, double XCenter, double YCenter) {
    Angle = std::fmod(Angle, 2 * std::numbers::pi);
    return {ZuzRound(std::cos(Angle) * XRadius + XCenter), ZuzRound(YCenter - std::sin(Angle) * YRadius)};
}

// The colours of a linear fill's bands: index 0 has the start colour, index N the end colour,
// linear at balance 50, else bent by a power curve.
class TBandColors {
public:
    TBandColors(TColor StartColor, TColor EndColor, int Balance, int N)
        : FStart(RGBOf(StartColor)), FBalance(Balance), FN(N), FExponent(Balance * 0.015 + 0.5) {
        const TRGB end = RGBOf(EndColor);
        for (int c = 0; c < 3; ++c) FDelta[c] = end[c] - FStart[c];
    }
    COLORREF operator()(int i) const {
        TRGB out;
        if (FBalance == 50) {
            for (int c = 0; c < 3; ++c) out[c] = FStart[c] + FDelta[c] * i / FN;
        } else {
            const double t = std::pow((1.0 + i) / (1.0 + FN), FExponent);
            for (int c = 0; c < 3; ++c) out[c] = ZuzRound(FDelta[c] * t) + FStart[c];
        }
        return ToCOLORREF(out);
    }

private:
    TRGB FStart, FDelta{};
    int FBalance, FN;
    double FExponent;
};

// Fills bands with PATCOPY in a solid brush of their colour: the device's own colour-settable
// brush where the system has one, else a brush made per colour; the brush before comes back at
// the end, and a band of the previous colour changes no brush.
class TBandPainter {
public:
    explicit TBandPainter(HDC DC) : FDC(DC) {
        if (ZuzSetDCBrushColor) FPrevious = SelectObject(DC, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }
    ~TBandPainter() {
        if (FPrevious) SelectObject(FDC, FPrevious);
        if (FMade) DeleteObject(FMade);
    }
    TBandPainter(const TBandPainter&) = delete;
    TBandPainter& operator=(const TBandPainter&) = delete;

    void Fill(int Left, int Top, int Right, int Bottom, COLORREF Color) {
        if (Right <= Left || Bottom <= Top) return;
        Use(Color);
        PatBlt(FDC, Left, Top, Right - Left, Bottom - Top, PATCOPY);
    }

private:
    void Use(COLORREF Color) {
        if (FHasColor && Color == FColor) return;
        FHasColor = true;
        FColor = Color;
        if (ZuzSetDCBrushColor) {
            ZuzSetDCBrushColor(FDC, Color);
            return;
        }
        HBRUSH made = CreateSolidBrush(Color);
        HBRUSH old = SelectObject(FDC, made);
        if (!FPrevious) FPrevious = old;
        if (FMade) DeleteObject(FMade);
        FMade = made;
    }
    HDC FDC;
    HBRUSH FPrevious = nullptr;
    HBRUSH FMade = nullptr;
    COLORREF FColor = 0;
    bool FHasColor = false;
};

bool KeepsColorOrder(TGradientDirection Direction) {
    return Direction == gdTopBottom || Direction == gdLeftRight || Direction == gdDiagonalUp ||
           Direction == gdDiagonalDown;
}

} // namespace

// ---------------------------------------------------------------------------
// Colours

TColor ApplyDark(TColor Color, Byte Quantity) {
    TRGB c = RGBOf(Color);
    for (int& v : c) v = v > Quantity ? v - Quantity : 0;
    return static_cast<TColor>(ToCOLORREF(c));
}

TColor ApplyBright(TColor Color, Byte Quantity) {
    TRGB c = RGBOf(Color);
    for (int& v : c) v = std::min(255, v + Quantity);
    return static_cast<TColor>(ToCOLORREF(c));
}

void TZuzCanvas::InternalDark(TColor Color, Byte Quantity) {
    const TColor c = ApplyDark(Color, Quantity);
    if (Brush->GetStyle() == bsSolid)
        Brush->SetColor(c);
    else
        SetBackColor(c);
}

// ---------------------------------------------------------------------------
// Blending

Owned<TZuzBlend> TZuzCanvas3D::BeginBlending(const TRect& R, int Transparency) {
    BlendTransparency = Transparency & 127;
    return MakeOwned<TZuzBlend>(this, R);
}

void TZuzCanvas3D::EndBlending(Owned<TZuzBlend> Blend) {
    if (Blend) Blend->DoBlend(BlendTransparency);
}

// ---------------------------------------------------------------------------
// Arcs by angles

void TZuzCanvas3D::Arc(int Left, int Top, int Right, int Bottom, double StartAngle, double EndAngle) {
    const int xr = (Right - Left) / 2, yr = (Bottom - Top) / 2;
    const int xc = Left + xr, yc = Top + yr;
    const TPoint s = OnEllipse(std::fmod(StartAngle, 360.0) * ZuzPiStep, xr, yr, xc, yc);
    const TPoint e = OnEllipse(std::fmod(EndAngle, 360.0) * ZuzPiStep, xr, yr, xc, yc);
    Arc(Left, Top, Right, Bottom, s.X, s.Y, e.X, e.Y);
}

void TZuzCanvas3D::Donut(double XCenter, double YCenter, double XRadius, double YRadius, double StartAngle,
                         double EndAngle, double HolePercent) {
    const double ixr = XRadius * HolePercent * 0.01, iyr = YRadius * HolePercent * 0.01;
    const TPoint s = OnEllipse(StartAngle, XRadius, YRadius, XCenter, YCenter);
    const TPoint e = OnEllipse(EndAngle, XRadius, YRadius, XCenter, YCenter);
    const TPoint is = OnEllipse(StartAngle, ixr, iyr, XCenter, YCenter);
    const TPoint ie = OnEllipse(EndAngle, ixr, iyr, XCenter, YCenter);
    ReferenceCanvas->RequiredState(kShape);
    HDC dc = Dc();
    MoveToEx(dc, s.X, s.Y, nullptr);
    BeginPath(dc);
    ArcTo(dc, ZuzRound(XCenter - XRadius), ZuzRound(YCenter - YRadius), ZuzRound(XCenter + XRadius),
          ZuzRound(YCenter + YRadius), s.X, s.Y, e.X, e.Y);
    if (ie != is) {
        SetArcDirection(dc, AD_CLOCKWISE);
        ArcTo(dc, ZuzRound(XCenter - ZuzRound(ixr)), ZuzRound(YCenter - ZuzRound(iyr)),
              ZuzRound(XCenter + ZuzRound(ixr)), ZuzRound(YCenter + ZuzRound(iyr)), ie.X, ie.Y, is.X, is.Y);
        SetArcDirection(dc, AD_COUNTERCLOCKWISE);
    }
    EndPath(dc);
    StrokeAndFillPath(dc);
    Drawn(ReferenceCanvas);
}

// ---------------------------------------------------------------------------
// Gradient fill

void TZuzCanvas3D::GradientFill(const TRect& Rect, TColor StartColor, TColor EndColor,
                                TGradientDirection Direction, int Balance, int RadialX, int RadialY) {
    const TRect r = OrientRectangle(Rect);
    if (Direction == gdRadial) {
        auto radial = MakeOwned<TZuzGradient>();
        radial->SetDirection(gdRadial);
        radial->SetStartColor(StartColor);
        radial->SetEndColor(EndColor);
        radial->SetBalance(Balance);
        radial->SetRadialX(RadialX);
        radial->SetRadialY(RadialY);
        radial->DrawRadial(this, r);
        return;
    }
    if (!KeepsColorOrder(Direction)) std::swap(StartColor, EndColor);
    const int w = r.Width(), h = r.Height();
    HDC dc = Dc();
    switch (Direction) {
    case gdTopBottom:
    case gdBottomTop:
    case gdLeftRight:
    case gdRightLeft: {
        const bool vertical = Direction == gdTopBottom || Direction == gdBottomTop;
        const int size = vertical ? h : w;
        const int n = std::min(size, 256);
        if (n <= 0) break;
        // A box one pixel thick is still painted: one band, the one at the bottom (right) edge.
        const TBandColors color(StartColor, EndColor, Balance, std::max(1, n - 1));
        TBandPainter bands(dc);
        for (int i = 0; i < n; ++i) {
            // Index 0 lies at the bottom (right) edge.
            const int nearEdge = static_cast<int>(static_cast<std::int64_t>(i) * size / n);
            const int farEdge = static_cast<int>(static_cast<std::int64_t>(i + 1) * size / n);
            if (vertical)
                bands.Fill(r.Left, r.Bottom - farEdge, r.Right, r.Bottom - nearEdge, color(i));
            else
                bands.Fill(r.Right - farEdge, r.Top, r.Right - nearEdge, r.Bottom, color(i));
        }
        break;
    }
    case gdFromCenter: {
        const TBandColors color(StartColor, EndColor, Balance, std::max(1, w / 2 + h / 2));
        TBandPainter bands(dc);
        int x = 0, y = 0;
        for (;;) {
            // One frame a pixel wide, from the border inward. Once the shorter side is used up
            // the frames turn flat and go on painting the middle rows (columns) towards the
            // centre, so that a long box of an even height reaches the end colour there as one
            // of an odd height does.
            const int l = r.Left + x, t = r.Top + y, rr = r.Right - x, b = r.Bottom - y;
            const COLORREF c = color(x + y);
            bands.Fill(l, t, rr, t + 1, c);
            bands.Fill(l, b - 1, rr, b, c);
            bands.Fill(l, t, l + 1, b, c);
            bands.Fill(rr - 1, t, rr, b, c);
            const bool growY = y < h / 2, growX = x < w / 2;
            if (!growX && !growY) break;
            if (growY) ++y;
            if (growX) ++x;
        }
        break;
    }
    case gdFromTopLeft:
    case gdFromBottomLeft: {
        const bool fromTop = Direction == gdFromTopLeft;
        const TBandColors color(StartColor, EndColor, Balance, std::max(1, w + h));
        TBandPainter bands(dc);
        int x = 0, k = 0;
        while (x < w || k < h) {
            // An L from the corner: the column at x down (up) to the moving row, the row up to x.
            // Once one arm has passed the box's far edge only the other is painted: painting the
            // last row (column) again would leave it in the newest colour.
            const COLORREF c = color(x + k);
            const int row = fromTop ? r.Top + std::min(k, h - 1) : r.Bottom - 1 - std::min(k, h - 1);
            const int column = r.Left + std::min(x, w - 1);
            if (x < w) {
                if (fromTop)
                    bands.Fill(column, r.Top, column + 1, row + 1, c);
                else
                    bands.Fill(column, row, column + 1, r.Bottom, c);
            }
            if (k < h) bands.Fill(r.Left, row, column + 1, row + 1, c);
            if (k < h) ++k;
            if (x < w) ++x;
        }
        break;
    }
    case gdDiagonalUp:
    case gdDiagonalDown: {
        TRect d = r;
        if (Direction == gdDiagonalDown) --d.Bottom;
        const int dw = d.Width(), dh = d.Height();
        const int count = dw + dh;
        if (count <= 0) break;
        const int n = std::max(1, std::min(255, count - 1));
        const TBandColors color(StartColor, EndColor, Balance, n);
        auto saved = MakeOwned<TPen>();
        saved->Assign(Pen);
        Pen->SetWidth(1);
        Pen->SetStyle(psSolid);
        Pen->SetMode(pmCopy);
        for (int j = 0; j < count; ++j) {
            Pen->SetColor(
                static_cast<TColor>(color(static_cast<int>(static_cast<std::int64_t>(n) * j / count))));
            TPoint a, b;
            if (Direction == gdDiagonalUp) {
                // From the bottom-left corner: one end up the left edge then along the top,
                // the other along the bottom then up the right edge.
                a = j < dh ? TPoint{d.Left, d.Bottom - j} : TPoint{d.Left + j - dh, d.Top};
                b = j < dw ? TPoint{d.Left + j, d.Bottom} : TPoint{d.Right, d.Bottom - (j - dw)};
            } else {
                a = j < dh ? TPoint{d.Left, d.Top + j} : TPoint{d.Left + j - dh, d.Bottom};
                b = j < dw ? TPoint{d.Left + j, d.Top} : TPoint{d.Right, d.Top + j - dw};
            }
            MoveTo(a);
            LineTo(b);
            // Downward lines end on the top row, which a line's left-out last pixel would miss.
            if (Direction == gdDiagonalDown && b.X < d.Right) SetPixel(b.X, b.Y, Pen->GetColor());
        }
        Pen->Assign(saved.get());
        break;
    }
    default:
        break;
    }
    Drawn(ReferenceCanvas);
}

void TZuzCanvas3D::PolygonGradient(const TPoint* Points, int LastIndex, TCustomZuzGradient* Gradient) {
    ClipPolygon(Points, LastIndex + 1, false);
    Gradient->Draw(this, PolygonBounds(Points, LastIndex), 0);
    UnClipRectangle();
    if (Pen->GetStyle() != psClear) {
        const TBrushStyle style = Brush->GetStyle();
        Brush->SetStyle(bsClear);
        Polygon(Points, LastIndex);
        Brush->SetStyle(style);
    }
}
