// Drop shadows: settings, flat shapes, line bands and the smooth (blurred) shadow.
#include "chart/canvas/zuzshadow.h"

#include "chart/canvas/zuzgradient.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The rectangle's corners at depth Z, as the canvas projects them (flat canvases: unchanged).
TRect CornersAt(TCanvas3D* Canvas, const TRect& R, int Z) {
    const TPoint a = Canvas->Calculate3DPosition(R.Left, R.Top, Z);
    const TPoint b = Canvas->Calculate3DPosition(R.Right, R.Bottom, Z);
    return {a.X, a.Y, b.X, b.Y};
}

// The bounding rectangle of the rectangle's four corners at depth Z.
TRect BoundsAt(TCanvas3D* Canvas, const TRect& R, int Z) {
    const TPoint p[4] = {
        Canvas->Calculate3DPosition(R.Left, R.Top, Z), Canvas->Calculate3DPosition(R.Right, R.Top, Z),
        Canvas->Calculate3DPosition(R.Right, R.Bottom, Z), Canvas->Calculate3DPosition(R.Left, R.Bottom, Z)};
    return PolygonBounds(p, 3);
}

TRect Moved(TRect R, int DX, int DY) {
    OffsetRect(R, DX, DY);
    return R;
}

// Weights of a kernel of radius R, scaled by 100000.
std::vector<int> KernelWeights(int Radius, double Smoothness) {
    std::vector<int> w(2 * static_cast<std::size_t>(Radius) + 1);
    for (int d = -Radius; d <= Radius; ++d)
        w[static_cast<std::size_t>(d + Radius)] =
            Radius == 0 ? 100000 : ZuzRound(std::pow(Smoothness, -double(d) * d / Radius) * 100000);
    return w;
}

} // namespace

// ---------------------------------------------------------------------------
// Settings

const ClassInfo& TZuzShadow::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TZuzShadow::GetClip, &TZuzShadow::SetClip>("Clip").Default(0),
        MakeProp<&TZuzShadow::GetColor, &TZuzShadow::SetColor>("Color").Stored<&TZuzShadow::IsColorStored>(),
        MakeProp<&TZuzShadow::GetHorizSize, &TZuzShadow::SetHorizSize>("HorizSize")
            .Stored<&TZuzShadow::IsHorizStored>(),
        MakeProp<&TZuzShadow::GetSmooth, &TZuzShadow::SetSmooth>("Smooth").Default(1),
        MakeProp<&TZuzShadow::GetSmoothBlur, &TZuzShadow::SetSmoothBlur>("SmoothBlur").Default(0),
        MakeProp<&TZuzShadow::GetTransparency, &TZuzShadow::SetTransparency>("Transparency").Default(0),
        MakeProp<&TZuzShadow::GetVertSize, &TZuzShadow::SetVertSize>("VertSize")
            .Stored<&TZuzShadow::IsVertStored>(),
        MakeProp<&TZuzShadow::GetVisible, &TZuzShadow::SetVisible>("Visible")
            .Stored<&TZuzShadow::IsVisibleStored>(),
    };
    static const ClassInfo ci = MakeClassInfo<TZuzShadow>("TZuzShadow", &TPersistent::StaticClass(), props);
    return ci;
}

TZuzShadow::TZuzShadow(TNotifyEvent OnChangeEvent) : OnChange(std::move(OnChangeEvent)) {}
TZuzShadow::~TZuzShadow() = default;

template <class T>
void TZuzShadow::Store(T& Field, T Value) {
    if (SetIfChanged(Field, Value) && OnChange) OnChange(this);
}

void TZuzShadow::SetClip(bool Value) {
    Store(FClip, Value);
}
void TZuzShadow::SetColor(TColor Value) {
    Store(FColor, Value);
}
// A size from a file is held to the editor's range: every drawing doubles it, and the smooth
// shadow's kernel takes one weight a pixel of it.
constexpr int kLargestShadow = 1000;

void TZuzShadow::SetHorizSize(int Value) {
    Store(FHorizSize, std::clamp(Value, -kLargestShadow, kLargestShadow));
}
void TZuzShadow::SetVertSize(int Value) {
    Store(FVertSize, std::clamp(Value, -kLargestShadow, kLargestShadow));
}
int TZuzShadow::GetSize() const {
    return std::max(std::abs(FHorizSize), std::abs(FVertSize));
}
void TZuzShadow::SetSize(int Value) {
    SetHorizSize(Value);
    SetVertSize(Value);
}
void TZuzShadow::SetSmooth(bool Value) {
    Store(FSmooth, Value);
}
void TZuzShadow::SetSmoothBlur(int Value) {
    Store(FSmoothBlur, Value);
}
void TZuzShadow::SetTransparency(int Value) {
    Store(FTransparency, std::clamp(Value, 0, 100));
}
void TZuzShadow::SetVisible(bool Value) {
    Store(FVisible, Value);
}

void TZuzShadow::InitValues(TColor AColor, int ASize) {
    DefaultColor = AColor;
    DefaultSize = ASize;
    FColor = AColor;
    FHorizSize = ASize;
    FVertSize = ASize;
}

void TZuzShadow::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TZuzShadow*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    FColor = src->FColor;
    FHorizSize = src->FHorizSize;
    FSmooth = src->FSmooth;
    FSmoothBlur = src->FSmoothBlur;
    FTransparency = src->FTransparency;
    FVertSize = src->FVertSize;
    FVisible = src->FVisible;
}

// ---------------------------------------------------------------------------
// The frame of every draw

bool TZuzShadow::ValidCanvas(TCanvas3D* Canvas) {
    auto* c = dynamic_cast<TZuzCanvas3D*>(Canvas);
    // The blur works on the bitmap being drawn on: a canvas drawing elsewhere for once (its
    // bitmap kept) would blur a picture nobody sees.
    return c && !c->Metafiling && c->GetBitmap() && c->ReferenceCanvas == c->GetBitmap()->GetCanvas();
}

bool TZuzShadow::PrepareCanvas(TCanvas3D* Canvas, const TRect& R, int Z) {
    if (FColor == clNone || (FHorizSize == 0 && FVertSize == 0)) return false;
    if (!(FSmooth && ValidCanvas(Canvas))) {
        Canvas->Brush->SetColor(FColor);
        Canvas->Brush->SetStyle(bsSolid);
        Canvas->Pen->SetStyle(psClear);
    }
    if (FTransparency > 0)
        FBlend = Canvas->BeginBlending(BoundsAt(Canvas, Moved(R, FHorizSize, FVertSize), Z), FTransparency);
    return true;
}

void TZuzShadow::FinishBlending(TCanvas3D* Canvas) {
    if (FTransparency > 0 || FBlend) Canvas->EndBlending(std::move(FBlend));
}

namespace {
// The pen's style and colour back at the end of a draw, also when it fails.
class TPenKept {
public:
    explicit TPenKept(TPen* APen) : FPen(APen), FStyle(APen->GetStyle()), FColor(APen->GetColor()) {}
    ~TPenKept() {
        FPen->SetStyle(FStyle);
        FPen->SetColor(FColor);
    }
    TPenKept(const TPenKept&) = delete;
    TPenKept& operator=(const TPenKept&) = delete;

private:
    TPen* FPen;
    TPenStyle FStyle;
    TColor FColor;
};
} // namespace

// ---------------------------------------------------------------------------
// Rectangles, polygons and ellipses

void TZuzShadow::Draw(TCanvas3D* Canvas, const TRect& R, int Z, int RoundSize) {
    const TPenKept pen(Canvas->Pen);
    if (!PrepareCanvas(Canvas, R, Z)) return;
    if (!FSmooth || GetSize() == 0)
        DrawFlat(Canvas, R, Z, RoundSize);
    else if (ValidCanvas(Canvas))
        DrawSmooth(Canvas, R, false, false, RoundSize, {});
    else if (Canvas->GetSupportsFullRotation())
        DrawFlat(Canvas, R, Z, RoundSize);
    else if (RoundSize >= 1)
        DrawFlat(Canvas, R, Z, RoundSize);
    else
        DrawLineBand(Canvas, R, Z);
    FinishBlending(Canvas);
}

void TZuzShadow::DrawFlat(TCanvas3D* Canvas, const TRect& R, int Z, int RoundSize) {
    const int h = FHorizSize, v = FVertSize;
    if (RoundSize >= 1) {
        Canvas->RoundRect(Moved(R, h, v), RoundSize, RoundSize);
    } else if (!Canvas->View3DOptions) {
        // The bottom and the right strip, at the element's depth.
        Canvas->Rectangle(CornersAt(Canvas, TRect(R.Left + h, R.Bottom, R.Right + h, R.Bottom + v), Z));
        Canvas->Rectangle(CornersAt(Canvas, TRect(R.Right, R.Top + v, R.Right + h, R.Bottom + v), Z));
    } else {
        if (v != 0) {
            if (v >= 1)
                Canvas->Rectangle(R.Left + h, R.Bottom, R.Right + h, R.Bottom + 1 + v);
            else
                Canvas->Rectangle(R.Left + h, R.Top + 1, R.Right + h, R.Top + v);
        }
        if (h != 0) {
            if (h >= 1)
                Canvas->Rectangle(R.Right, R.Top + v, R.Right + 1 + h, R.Bottom + v + 1);
            else
                Canvas->Rectangle(R.Left + 1, R.Top + v, R.Left + h, R.Bottom + v + 1);
        }
    }
}

void TZuzShadow::DrawLineBand(TCanvas3D* Canvas, const TRect& R, int Z) {
    const int h = FHorizSize, v = FVertSize;
    Canvas->Pen->SetStyle(psSolid);
    Byte r, g, b;
    const auto rgb = static_cast<COLORREF>(ColorToRGB(FColor));
    r = GetRValue(rgb);
    g = GetGValue(rgb);
    b = GetBValue(rgb);
    const double towardWhite = 255 - (r + g + b) / 3.0;
    // Each line brightens by an even share of the way to white; no share for no band.
    const auto stepFor = [&](int n) {
        return static_cast<Byte>(std::clamp(ZuzRound(towardWhite / n), 0, 255));
    };
    const bool flat = Canvas->View3DOptions != nullptr;
    if (v != 0) {
        const Byte step = stepFor(v);
        Canvas->Pen->SetColor(FColor);
        for (int i = 1; i <= v; ++i) {
            const int y = R.Bottom + i - 1, x0 = R.Left + h, x1 = R.Right + h - v + i - 1;
            if (flat)
                Canvas->DoHorizLine(x0, x1, y);
            else
                Canvas->HorizLine3D(x0, x1, y, Z);
            Canvas->Pen->SetColor(ApplyBright(Canvas->Pen->GetColor(), step));
        }
    }
    if (h != 0) {
        const Byte step = stepFor(h);
        Canvas->Pen->SetColor(FColor);
        for (int i = 1; i <= h; ++i) {
            const int x = R.Right + i - 1, y0 = R.Top + v, y1 = R.Bottom + v - h + i - 1;
            if (flat) {
                Canvas->DoVertLine(x, y0, y1);
                Canvas->SetPixel(x - 1, y1 - 1, Canvas->Pen->GetColor());
            } else {
                Canvas->VertLine3D(x, y0, y1, Z);
                const TPoint p = Canvas->Calculate3DPosition(x - 1, y1 - 1, Z);
                Canvas->SetPixel(p.X, p.Y, Canvas->Pen->GetColor());
            }
            Canvas->Pen->SetColor(ApplyBright(Canvas->Pen->GetColor(), step));
        }
    }
}

void TZuzShadow::Draw(TCanvas3D* Canvas, std::span<const TPoint> Points) {
    if (Points.empty()) return;
    std::vector<TPoint> moved(Points.begin(), Points.end());
    for (TPoint& p : moved) {
        p.X += FHorizSize;
        p.Y += FVertSize;
    }
    const TRect bounds = PolygonBounds(moved);
    if (!PrepareCanvas(Canvas, bounds, 0)) return;
    if (FSmooth && ValidCanvas(Canvas)) {
        for (TPoint& p : moved) {
            p.X -= bounds.Left;
            p.Y -= bounds.Top;
        }
        DrawSmooth(Canvas, bounds, false, true, 0, moved);
    } else {
        Canvas->Polygon(moved);
    }
    FinishBlending(Canvas);
}

void TZuzShadow::DrawEllipse(TCanvas3D* Canvas, const TRect& R, int Z) {
    if (!PrepareCanvas(Canvas, R, Z)) return;
    if (FSmooth) {
        const TRect r3 = CornersAt(Canvas, Moved(R, FHorizSize, FVertSize), Z);
        if (ValidCanvas(Canvas)) {
            DrawSmooth(Canvas, r3, true, false, 0, {});
        } else {
            Canvas->ClipEllipse(r3, false);
            auto radial = MakeOwned<TZuzGradient>();
            radial->SetEndColor(ApplyBright(FColor, 32));
            radial->SetStartColor(ApplyDark(FColor, 128));
            radial->DrawRadial(Canvas, r3);
            Canvas->UnClipRectangle();
        }
    } else {
        Canvas->EllipseWithZ(R.Left + FHorizSize, R.Top + FVertSize, R.Right + FHorizSize,
                             R.Bottom + FVertSize, Z);
    }
    FinishBlending(Canvas);
}

// ---------------------------------------------------------------------------
// The smooth shadow

void TZuzShadow::DrawSmooth(TCanvas3D* Canvas, const TRect& R, bool IsEllipse, bool IsPolygon, int RoundSize,
                            std::span<const TPoint> Points) {
    const int ah = std::abs(FHorizSize), av = std::abs(FVertSize);
    const Int64 wide = Int64{R.Right} + 1 - R.Left + 2 * ah, high = Int64{R.Bottom} + 1 - R.Top + 2 * av;
    // A shape of any size (a font or a zoom from a file) casts no smooth shadow larger than a
    // picture may be: its bitmap would take gigabytes.
    if (!PictureSizeAllowed(wide, high)) return;
    const int w = static_cast<int>(std::max<Int64>(1, wide)), h = static_cast<int>(std::max<Int64>(1, high));
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(w, h);
    TCanvas* c = bitmap->GetCanvas();
    c->GetBrush()->SetColor(FColor);
    c->GetBrush()->SetStyle(bsSolid);
    c->GetPen()->SetStyle(psClear);
    const TRect inner(ah, av, w - ah, h - av);
    if (IsPolygon)
        c->Polygon(Points.data(), static_cast<int>(Points.size()));
    else if (IsEllipse)
        c->Ellipse(inner.Left, inner.Top, inner.Right, inner.Bottom);
    else if (RoundSize != 0)
        c->RoundRect(inner.Left, inner.Top, inner.Right, inner.Bottom, RoundSize, RoundSize);
    else
        c->Rectangle(inner);
    auto* c3d = dynamic_cast<TZuzCanvas3D*>(Canvas);
    ZuzShadowSmooth(bitmap.get(), c3d ? c3d->GetBitmap() : nullptr, R.Left, R.Top, w, h, FHorizSize,
                    FVertSize, (static_cast<double>(FSmoothBlur) + 180) * 0.01,
                    IsPolygon || IsEllipse || FullSmooth || RoundSize != 0, Canvas, FClip);
}

void ZuzCalcLines(std::vector<Byte*>& Lines, TBitmap* Bitmap) {
    Bitmap->SetPixelFormat(pf24bit);
    const int height = std::max(0, Bitmap->GetHeight());
    Lines.assign(static_cast<std::size_t>(height), nullptr);
    if (height == 0 || Bitmap->GetWidth() <= 0) {
        Lines.clear();
        return;
    }
    Lines[0] = Bitmap->ScanLine(0);
    if (height == 1) return; // no second row to measure the distance between rows with
    Lines[1] = Bitmap->ScanLine(1);
    const std::ptrdiff_t stride = Lines[1] - Lines[0];
    for (std::size_t y = 2; y < Lines.size(); ++y) Lines[y] = Lines[y - 1] + stride;
}

void ZuzShadowSmooth(TBitmap* Bitmap, TBitmap* Back, int Left, int Top, int Width, int Height, int Horz,
                     int Vert, double Smoothness, bool FullDraw, TCanvas3D* Canvas, bool Clip) {
    std::vector<Byte*> lines;
    ZuzCalcLines(lines, Bitmap);
    Width = std::min(Width, Bitmap->GetWidth());
    Height = std::min(Height, static_cast<int>(lines.size()));
    if (Width <= 0 || Height <= 0) return;
    if (Horz < 0) {
        Left += 2 * Horz;
        Horz = -Horz;
        FullDraw = true;
    }
    if (Vert < 0) {
        Top += 2 * Vert;
        Vert = -Vert;
        FullDraw = true;
    }
    const int kH = 2 * Horz + 1, kV = 2 * Vert + 1;
    Smoothness = (Smoothness + 180) * 0.01;
    const std::vector<int> wh = KernelWeights(Horz, Smoothness), wv = KernelWeights(Vert, Smoothness);

    // The visible part: inside the background where there is one.
    int x0 = 0, y0 = 0, x1 = Width - 1, y1 = Height - 1;
    int backBpp = 3;
    if (Back) {
        x0 = Left < 0 ? -Left : 0;
        y0 = Top < 0 ? -Top : 0;
        x1 = std::min(x1, Back->GetWidth() - Left - 1);
        y1 = std::min(y1, Back->GetHeight() - Top - 1);
        backBpp = Back->GetPixelFormat() == pf24bit ? 3 : 4;
    }
    if (x1 < x0 || y1 < y0) return;
    const auto inBand = [&](int x, int y, int extraRows) {
        return FullDraw || y >= Height - kV - extraRows || x >= Width - kH;
    };

    // Horizontal pass into a work buffer that starts as the source, so the vertical pass never
    // reads a row the horizontal pass left out (the rows just above the bottom band).
    std::vector<Byte> work(static_cast<std::size_t>(Width) * Height * 3);
    for (int y = 0; y < Height; ++y)
        std::copy_n(lines[y], Width * 3, &work[static_cast<std::size_t>(y) * Width * 3]);
    for (int y = 0; y < Height; ++y) {
        const Byte* src = lines[y];
        Byte* out = &work[static_cast<std::size_t>(y) * Width * 3];
        for (int x = x0; x <= x1; ++x) {
            if (!inBand(x, y, Vert)) continue;
            std::int64_t sum[3] = {0, 0, 0}, weights = 0;
            for (int k = 0; k < kH; ++k) {
                const int col = x - Horz + k;
                if (col < 0 || col >= Width) continue;
                const int wgt = wh[static_cast<std::size_t>(k)];
                weights += wgt;
                for (int c = 0; c < 3; ++c) sum[c] += std::int64_t{wgt} * src[col * 3 + c];
            }
            for (int c = 0; c < 3; ++c)
                out[x * 3 + c] =
                    static_cast<Byte>(weights ? sum[c] / weights : std::min<std::int64_t>(sum[c], 255));
        }
    }

    std::vector<Byte*> backRows;
    if (Back) {
        backRows.resize(static_cast<std::size_t>(Height));
        for (int y = y0; y <= y1; ++y) backRows[static_cast<std::size_t>(y)] = Back->ScanLine(Top + y);
    }
    // Vertical pass, straight onto the background (or the bitmap).
    HDC dc = Canvas ? Canvas->GetHandle() : nullptr;
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y) {
            if (!inBand(x, y, 0)) continue;
            if (Clip && dc && !PtVisible(dc, Left + x, Top + y)) continue;
            std::int64_t sum[3] = {0, 0, 0}, weights = 0;
            for (int k = 0; k < kV; ++k) {
                const int row = y - Vert + k;
                if (row < 0 || row >= Height) continue;
                const int wgt = wv[static_cast<std::size_t>(k)];
                weights += wgt;
                const Byte* in = &work[(static_cast<std::size_t>(row) * Width + x) * 3];
                for (int c = 0; c < 3; ++c) sum[c] += std::int64_t{wgt} * in[c];
            }
            if (weights == 0) continue;
            if (!Back) {
                for (int c = 0; c < 3; ++c)
                    lines[y][x * 3 + c] =
                        static_cast<Byte>(std::clamp(ZuzRound(double(sum[c]) / weights), 0, 255));
                continue;
            }
            // White leaves the background as it is; the shadow colour darkens it.
            Byte* px =
                backRows[static_cast<std::size_t>(y)] + static_cast<std::ptrdiff_t>(Left + x) * backBpp;
            if (sum[0] == sum[1] && sum[1] == sum[2]) {
                const double f = double(sum[0]) / weights / 255;
                for (int c = 0; c < 3; ++c)
                    px[c] = static_cast<Byte>(std::clamp(ZuzRound(px[c] * f), 0, 255));
            } else {
                for (int c = 0; c < 3; ++c)
                    px[c] = static_cast<Byte>(
                        std::clamp(ZuzRound(px[c] * (double(sum[c]) / weights / 255)), 0, 255));
            }
        }
}
