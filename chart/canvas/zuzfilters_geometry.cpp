// The filters that move pixels about or change the bitmap's size: rotate, mirror, tile,
// bevel, zoom, resize and crop.
#include "chart/canvas/zuzfilters.h"

#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/canvas/zuzstretch.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// The largest side the resize editor offers. A larger size (read from a file) is taken as
// this: the bitmap it would ask for could be many gigabytes.
constexpr int kLargestSide = 10000;

Owned<TBitmap> NewBitmap24(int Width, int Height) {
    auto b = MakeOwned<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(std::max(Width, 0), std::max(Height, 0));
    return b;
}

std::vector<Byte*> RowsOf(TBitmap* Bitmap) {
    std::vector<Byte*> rows;
    ZuzCalcLines(rows, Bitmap);
    return rows;
}

// Dest (already sized) takes Source resized to it: resampled smoothly, or pixel by pixel
// (the nearest source pixel) where smoothing is not asked for or the sizes are too small for it.
void StretchInto(TBitmap* Source, TBitmap* Dest, bool Smooth) {
    if (Smooth && Source->GetWidth() >= 2 && Source->GetHeight() >= 2 && Dest->GetWidth() >= 2 &&
        Dest->GetHeight() >= 2) {
        SmoothStretch(Source, Dest);
        return;
    }
    const std::vector<Byte*> from = RowsOf(Source), to = RowsOf(Dest);
    if (from.empty() || to.empty()) return;
    const Int64 sw = Source->GetWidth(), sh = static_cast<Int64>(from.size());
    const Int64 dw = Dest->GetWidth(), dh = static_cast<Int64>(to.size());
    for (Int64 y = 0; y < dh; ++y) {
        const Byte* src = from[static_cast<std::size_t>(y * sh / dh)];
        Byte* dst = to[static_cast<std::size_t>(y)];
        for (Int64 x = 0; x < dw; ++x) std::copy_n(src + 3 * (x * sw / dw), 3, dst + 3 * x);
    }
}

// Copies the pixels of Source to (X, Y) of Dest, as far as they land inside it.
void CopyPixels(TBitmap* Source, TBitmap* Dest, Int64 X, Int64 Y) {
    const std::vector<Byte*> from = RowsOf(Source), to = RowsOf(Dest);
    if (from.empty() || to.empty()) return;
    const Int64 x0 = std::max<Int64>(X, 0), x1 = std::min<Int64>(X + Source->GetWidth(), Dest->GetWidth());
    const Int64 y0 = std::max<Int64>(Y, 0),
                y1 = std::min<Int64>(Y + static_cast<Int64>(from.size()), static_cast<Int64>(to.size()));
    if (x0 >= x1) return;
    for (Int64 y = y0; y < y1; ++y)
        std::copy_n(from[static_cast<std::size_t>(y - Y)] + 3 * (x0 - X), 3 * (x1 - x0),
                    to[static_cast<std::size_t>(y)] + 3 * x0);
}

// A copy of the bitmap's rectangle (X, Y, Width x Height); what lies off the bitmap stays white.
Owned<TBitmap> CopyArea(TBitmap* Bitmap, Int64 X, Int64 Y, int Width, int Height) {
    auto area = NewBitmap24(Width, Height);
    CopyPixels(Bitmap, area.get(), -X, -Y);
    return area;
}

template <class Filter>
const ClassInfo& FilterClassInfo(std::string_view Name, const ClassInfo& Parent) {
    static const ClassInfo ci = MakeClassInfo<Filter>(Name, &Parent);
    return ci;
}

} // namespace

// ---------------------------------------------------------------------------
// TRotateFilter

const ClassInfo& TRotateFilter::StaticClass() {
    using R = TRotateFilter;
    static const PropInfo props[] = {
        MakeProp<&R::GetAngle, &R::SetAngle>("Angle"),
        MakeProp<&R::GetAutoSize, &R::SetAutoSize>("AutoSize").Default(true),
        MakeProp<&R::GetBackColor, &R::SetBackColor>("BackColor").Default(clWhite),
    };
    static const ClassInfo ci = MakeClassInfo<R>("TRotateFilter", &TZuzFilter::StaticClass(), props);
    return ci;
}

TRotateFilter::TRotateFilter(TCollection* Collection) : TZuzFilter(Collection) {}

String TRotateFilter::Description() const {
    return VavIve_Rotate;
}

void TRotateFilter::CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) {
    TZuzFilter::CreateEditor(Creator, ChangedEvent);
    Creator->AddScroll(u"Angle", 0, 360);
    Creator->AddColor(u"BackColor", VavIve_Back);
    Creator->AddCheckBox(u"AutoSize", VavIve_Autosize, {});
}

void TRotateFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    TZuzFilter::Apply(Bitmap, Rect);
    if (Lines.empty()) return;
    // Whole turns off (a remainder, not a loop: the angle may be huge).
    if (FAngle > 360) FAngle = std::fmod(FAngle, 360.0) == 0 ? 360 : std::fmod(FAngle, 360.0);
    if (FAngle == 0) return;
    if (FAngle == 180) {
        ApplyTo(TFlipFilter::StaticClass(), Bitmap);
        ApplyTo(TReverseFilter::StaticClass(), Bitmap);
        return;
    }
    const int w = Bitmap->GetWidth(), h = static_cast<int>(Lines.size());
    const bool quarter = FAngle == 90 || FAngle == 270;
    const float a = static_cast<float>((360 - FAngle) * std::numbers::pi / 180);
    const float s = std::sin(a), c = std::cos(a);
    int nw = w, nh = h;
    if (quarter) {
        nw = h;
        nh = w;
    } else if (FAutoSize) {
        const double dc = c, ds = s;
        if (ds * dc > 0) {
            nw = std::abs(ZuzRound(w * dc + h * ds));
            nh = std::abs(ZuzRound(w * ds + h * dc));
        } else {
            nw = std::abs(ZuzRound(w * dc - h * ds));
            nh = std::abs(ZuzRound(w * ds - h * dc));
        }
        // Each turn grows the picture by up to half again: past the largest a picture may be
        // (a chain of turns from a file), it turns within its own size.
        if (!PictureSizeAllowed(nw, nh)) {
            nw = w;
            nh = h;
        }
    }
    auto turned = NewBitmap24(nw, nh);
    // A line one pixel thick turns as well, on the white of a new bitmap.
    const bool background = w > 1 && h > 1;
    if (background && FBackColor == clNone) {
        turned->SetTransparent(true);
    } else if (background && FBackColor != clWhite) {
        TCanvas* canvas = turned->GetCanvas();
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->GetBrush()->SetColor(FBackColor);
        canvas->FillRect(TRect(0, 0, nw, nh));
    }
    const std::vector<Byte*> to = RowsOf(turned.get());
    if (!to.empty()) {
        if (FAngle == 90) {
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    std::copy_n(Pixel(x, y), 3, to[static_cast<std::size_t>(x)] + 3 * (h - 1 - y));
        } else if (FAngle == 270) {
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    std::copy_n(Pixel(x, y), 3, to[static_cast<std::size_t>(w - 1 - x)] + 3 * y);
        } else {
            for (int j = 0; j < nh; ++j) {
                const double yy = j - nh / 2;
                for (int i = 0; i < nw; ++i) {
                    const double xx = i - nw / 2;
                    const int sx = ZuzRound(xx * c - yy * s + w / 2);
                    const int sy = ZuzRound(xx * s + yy * c + h / 2);
                    if (sx >= 0 && sx < w && sy >= 0 && sy < h)
                        std::copy_n(Pixel(sx, sy), 3, to[static_cast<std::size_t>(j)] + 3 * i);
                }
            }
        }
    }
    Bitmap->Assign(turned.get());
}

// ---------------------------------------------------------------------------
// TMirrorFilter

template <>
const EnumInfo& EnumInfoOf<TMirrorDirection>() {
    static const EnumInfo info{"TMirrorDirection", {"mdDown", "mdUp", "mdRight", "mdLeft"}};
    return info;
}

const ClassInfo& TMirrorFilter::StaticClass() {
    using M = TMirrorFilter;
    static const PropInfo props[] = {
        MakeProp<&M::GetDirection, &M::SetDirection>("Direction").Default(mdDown),
    };
    static const ClassInfo ci = MakeClassInfo<M>("TMirrorFilter", &TZuzFilter::StaticClass(), props);
    return ci;
}

TMirrorFilter::TMirrorFilter(TCollection* Collection) : TZuzFilter(Collection) {}

String TMirrorFilter::Description() const {
    return VavIve_Mirror;
}

void TMirrorFilter::CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) {
    TZuzFilter::CreateEditor(Creator, ChangedEvent);
    Creator->AddCombo(u"Direction");
}

void TMirrorFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    TZuzFilter::Apply(Bitmap, Rect);
    if (Lines.empty()) return;
    const int w = Bitmap->GetWidth(), h = static_cast<int>(Lines.size());
    const bool vertical = FDirection == mdDown || FDirection == mdUp;
    // Each mirror doubles the picture: a chain of them from a file stops growing it where a
    // picture may be no larger.
    if (!PictureSizeAllowed(vertical ? w : 2 * Int64{w}, vertical ? 2 * Int64{h} : h)) return;
    auto image = CopyArea(Bitmap, 0, 0, w, h);
    auto mirrored = CopyArea(Bitmap, 0, 0, w, h);
    ApplyTo(vertical ? TFlipFilter::StaticClass() : TReverseFilter::StaticClass(), mirrored.get());
    auto doubled = NewBitmap24(vertical ? w : 2 * w, vertical ? 2 * h : h);
    const bool imageFirst = FDirection == mdDown || FDirection == mdRight;
    TBitmap* first = imageFirst ? image.get() : mirrored.get();
    TBitmap* second = imageFirst ? mirrored.get() : image.get();
    CopyPixels(first, doubled.get(), 0, 0);
    CopyPixels(second, doubled.get(), vertical ? 0 : w, vertical ? h : 0);
    Bitmap->Assign(doubled.get());
}

// ---------------------------------------------------------------------------
// TTileFilter

const ClassInfo& TTileFilter::StaticClass() {
    using T = TTileFilter;
    static const PropInfo props[] = {
        MakeProp<&T::GetNumCols, &T::SetNumCols>("NumCols").Default(3),
        MakeProp<&T::GetNumRows, &T::SetNumRows>("NumRows").Default(3),
    };
    static const ClassInfo ci = MakeClassInfo<T>("TTileFilter", &TZuzFilter::StaticClass(), props);
    return ci;
}

TTileFilter::TTileFilter(TCollection* Collection) : TZuzFilter(Collection) {}

String TTileFilter::Description() const {
    return VavIve_Tile;
}

void TTileFilter::CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) {
    TZuzFilter::CreateEditor(Creator, ChangedEvent);
    Creator->AddInteger(u"NumCols", VavIve_Columns, 1, 1000);
    Creator->AddInteger(u"NumRows", VavIve_Rows, 1, 1000);
}

void TTileFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    TZuzFilter::Apply(Bitmap, Rect);
    if (Lines.empty()) return;
    FNumCols = std::max(FNumCols, 1);
    FNumRows = std::max(FNumRows, 1);
    const int tw = (Rect.Right - Rect.Left) / FNumCols, th = (Rect.Bottom - Rect.Top) / FNumRows;
    if (tw <= 0 || th <= 0) return;
    auto tile = NewBitmap24(tw, th);
    StretchInto(Bitmap, tile.get(), true);
    // Tiles that would start beyond the bitmap add nothing.
    const int cols = std::min(FNumCols, Bitmap->GetWidth() / tw + 1);
    const int rows = std::min(FNumRows, static_cast<int>(Lines.size()) / th + 1);
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col)
            CopyPixels(tile.get(), Bitmap, static_cast<Int64>(col) * tw, static_cast<Int64>(row) * th);
}

// ---------------------------------------------------------------------------
// TBevelFilter: the area's edges brightened on the top and left, darkened on the bottom and
// right, Size pixels deep (less where the area is smaller).

const ClassInfo& TBevelFilter::StaticClass() {
    using B = TBevelFilter;
    static const PropInfo props[] = {
        MakeProp<&B::GetBright, &B::SetBright>("Bright").Default(64),
        MakeProp<&B::GetSize, &B::SetSize>("Size").Default(15),
    };
    static const ClassInfo ci = MakeClassInfo<B>("TBevelFilter", &TZuzFilter::StaticClass(), props);
    return ci;
}

TBevelFilter::TBevelFilter(TCollection* Collection) : TZuzFilter(Collection) {}

String TBevelFilter::Description() const {
    return VavIve_Bevel;
}

void TBevelFilter::CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) {
    TZuzFilter::CreateEditor(Creator, ChangedEvent);
    Creator->AddScroll(u"Bright", 1, 255);
    Creator->AddScroll(u"Size", 1, 1000);
}

void TBevelFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    TZuzFilter::Apply(Bitmap, Rect);
    if (Lines.empty()) return;
    const TRect r = ClampedToBitmap(Rect);
    if (r.Right < r.Left || r.Bottom < r.Top) return;
    const int w = r.Right - r.Left, h = r.Bottom - r.Top;
    const Int64 bright = FBright;
    // Held to a channel's range both ways: a file's negative brightness darkens the top and
    // left edges instead of wrapping round to light.
    const auto lighten = [bright](Byte* p) {
        for (int k = 0; k < 3; ++k) p[k] = static_cast<Byte>(std::clamp<Int64>(p[k] + bright, 0, 255));
    };
    const auto darken = [bright](Byte* p) {
        for (int k = 0; k < 3; ++k) p[k] = static_cast<Byte>(std::clamp<Int64>(p[k] - bright, 0, 255));
    };
    // Beyond half the area's width and height no step changes anything.
    const int size = std::min(FSize, std::max(w / 2, h / 2));
    for (int k = 0; k < size; ++k) {
        if (k < h / 2) {
            for (int x = r.Left + k; x <= r.Right - k; ++x) {
                lighten(Pixel(x, r.Top + k));
                darken(Pixel(x, r.Bottom - k));
            }
        }
        if (k < w / 2) {
            for (int y = r.Top + k + 1; y <= r.Bottom - k; ++y) {
                lighten(Pixel(r.Left + k, y));
                darken(Pixel(r.Right - k, y));
            }
        }
    }
}

// ---------------------------------------------------------------------------
// TZoomFilter: the area's middle, without Percent / 2 of its size on each side, stretched
// over the area.

const ClassInfo& TZoomFilter::StaticClass() {
    using Z = TZoomFilter;
    static const PropInfo props[] = {
        MakeProp<&Z::GetPercent, &Z::SetPercent>("Percent"),
        MakeProp<&Z::GetSmooth, &Z::SetSmooth>("Smooth").Default(false),
    };
    static const ClassInfo ci = MakeClassInfo<Z>("TZoomFilter", &TZuzFilter::StaticClass(), props);
    return ci;
}

TZoomFilter::TZoomFilter(TCollection* Collection) : TZuzFilter(Collection) {}

String TZoomFilter::Description() const {
    return VavIve_Zoom;
}

void TZoomFilter::CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) {
    TZuzFilter::CreateEditor(Creator, ChangedEvent);
    Creator->AddScroll(u"Percent", 0, 100);
    Creator->AddCheckBox(u"Smooth", VavIve_Smooth, {});
}

void TZoomFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    TZuzFilter::Apply(Bitmap, Rect);
    if (Lines.empty()) return;
    const TRect r = ClampedToBitmap(Rect);
    const int w = r.Right - r.Left + 1, h = r.Bottom - r.Top + 1;
    if (w <= 0 || h <= 0) return;
    const Int64 dx = ZuzRound(w * FPercent * 0.005), dy = ZuzRound(h * FPercent * 0.005);
    auto crop = MakeOwned<TCropFilter>(nullptr);
    const auto clampSize = [](Int64 v) { return static_cast<int>(std::clamp<Int64>(v, 1, INT32_MAX)); };
    crop->SetWidth(clampSize(w - 2 * dx));
    crop->SetHeight(clampSize(h - 2 * dy));
    crop->SetSmooth(FSmooth);
    const auto clampPos = [](Int64 v) {
        return static_cast<int>(std::clamp<Int64>(v, INT32_MIN, INT32_MAX));
    };
    if (w == Bitmap->GetWidth() && h == static_cast<int>(Lines.size())) {
        crop->SetLeft(clampPos(r.Left + dx));
        crop->SetTop(clampPos(r.Top + dy));
        crop->Apply(Bitmap);
        return;
    }
    auto area = CopyArea(Bitmap, r.Left, r.Top, w, h);
    crop->SetLeft(clampPos(dx));
    crop->SetTop(clampPos(dy));
    crop->Apply(area.get());
    CopyPixels(area.get(), Bitmap, r.Left, r.Top);
}

// ---------------------------------------------------------------------------
// TResizeFilter and TCropFilter

const ClassInfo& TResizeFilter::StaticClass() {
    using R = TResizeFilter;
    static const PropInfo props[] = {
        MakeProp<&R::GetWidth, &R::SetWidth>("Width").Default(0),
        MakeProp<&R::GetHeight, &R::SetHeight>("Height").Default(0),
    };
    static const ClassInfo ci = MakeClassInfo<R>("TResizeFilter", &TZuzFilter::StaticClass(), props);
    return ci;
}

TResizeFilter::TResizeFilter(TCollection* Collection) : TZuzFilter(Collection) {}

String TResizeFilter::Description() const {
    return VavIve_Resize;
}

void TResizeFilter::CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) {
    TZuzFilter::CreateEditor(Creator, ChangedEvent);
    Creator->AddInteger(u"Width", VavIve_Width, 0, kLargestSide);
    Creator->AddInteger(u"Height", VavIve_Height, 0, kLargestSide);
}

void TResizeFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    TZuzFilter::Apply(Bitmap, Rect);
    if (Lines.empty() || FWidth < 1 || FHeight < 1) return;
    auto resized = NewBitmap24(std::min(FWidth, kLargestSide), std::min(FHeight, kLargestSide));
    StretchInto(Bitmap, resized.get(), true);
    Bitmap->Assign(resized.get());
}

const ClassInfo& TCropFilter::StaticClass() {
    using C = TCropFilter;
    static const PropInfo props[] = {
        MakeProp<&C::GetLeft, &C::SetLeft>("Left").Default(0),
        MakeProp<&C::GetTop, &C::SetTop>("Top").Default(0),
        MakeProp<&C::GetSmooth, &C::SetSmooth>("Smooth").Default(false),
    };
    static const ClassInfo ci = MakeClassInfo<C>("TCropFilter", &TResizeFilter::StaticClass(), props);
    return ci;
}

TCropFilter::TCropFilter(TCollection* Collection) : TResizeFilter(Collection) {}

String TCropFilter::Description() const {
    return VavIve_Crop;
}

void TCropFilter::CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) {
    TResizeFilter::CreateEditor(Creator, ChangedEvent);
    Creator->AddInteger(u"Left", VavIve_Left, 0, 10000);
    Creator->AddInteger(u"Top", VavIve_Top, 0, 10000);
    Creator->AddCheckBox(u"Smooth", VavIve_Smooth, {});
}

void TCropFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    TZuzFilter::Apply(Bitmap, Rect);
    if (Lines.empty() || FWidth < 1 || FHeight < 1) return;
    const int w = Bitmap->GetWidth(), h = static_cast<int>(Lines.size());
    // The cut-out is never kept larger than the bitmap it is stretched over: a larger one
    // (a size from a file) is read at the bitmap's resolution instead, the same pixels as
    // nearest-pixel stretching picks.
    const bool direct = !FSmooth || static_cast<Int64>(FWidth) * FHeight > static_cast<Int64>(w) * h * 4;
    if (!direct) {
        auto area = CopyArea(Bitmap, FLeft, FTop, FWidth, FHeight);
        StretchInto(area.get(), Bitmap, true);
        return;
    }
    auto result = NewBitmap24(w, h);
    const std::vector<Byte*> to = RowsOf(result.get());
    for (Int64 y = 0; y < h; ++y) {
        const Int64 sy = FTop + y * FHeight / h;
        for (Int64 x = 0; x < w; ++x) {
            const Int64 sx = FLeft + x * FWidth / w;
            if (sx >= 0 && sx < w && sy >= 0 && sy < h)
                std::copy_n(Pixel(static_cast<int>(sx), static_cast<int>(sy)), 3,
                            to[static_cast<std::size_t>(y)] + 3 * x);
        }
    }
    CopyPixels(result.get(), Bitmap, 0, 0);
}
