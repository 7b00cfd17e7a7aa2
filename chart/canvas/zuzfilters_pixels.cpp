// The filters that change each pixel of their area from its own value (or its neighbours'):
// invert, grey, flip, reverse, colour and HLS shifts, the amount filters and the convolutions.
#include "chart/canvas/zuzfilters.h"

#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzcolor.h"
#include "chart/canvas/zuzconst.h"
#include "platform/gui/stdctrls.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

Byte Clamp255(Int64 Value) {
    return static_cast<Byte>(std::clamp<Int64>(Value, 0, 255));
}

// Calls Fn(pixel) for every pixel of R (already inside the bitmap), row by row.
template <class F>
void EachPixel(const std::vector<Byte*>& Lines, const TRect& R, F&& Fn) {
    if (R.Right < R.Left) return; // a region beside the bitmap
    for (int y = R.Top; y <= R.Bottom; ++y) {
        Byte* p = Lines[static_cast<std::size_t>(y)] + 3 * R.Left;
        for (int x = R.Left; x <= R.Right; ++x, p += 3) Fn(p);
    }
}

// Every channel through one table of 256 values.
void MapChannels(const std::vector<Byte*>& Lines, const TRect& R, const std::array<Byte, 256>& Table) {
    EachPixel(Lines, R, [&](Byte* p) {
        p[0] = Table[p[0]];
        p[1] = Table[p[1]];
        p[2] = Table[p[2]];
    });
}

constexpr int kMostBlurSteps = 20;

template <class Filter>
const ClassInfo& FilterClassInfo(std::string_view Name, const ClassInfo& Parent) {
    static const ClassInfo ci = MakeClassInfo<Filter>(Name, &Parent);
    return ci;
}

} // namespace

// ---------------------------------------------------------------------------

const ClassInfo& TInvertFilter::StaticClass() {
    return FilterClassInfo<TInvertFilter>("TInvertFilter", TZuzFilter::StaticClass());
}

TInvertFilter::TInvertFilter(TCollection* Collection) : TZuzFilter(Collection) {}

String TInvertFilter::Description() const {
    return VavIve_Invert;
}

void TInvertFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    TZuzFilter::Apply(Bitmap, Rect);
    if (Lines.empty()) return;
    EachPixel(Lines, ClampedToBitmap(Rect), [](Byte* p) {
        p[0] = static_cast<Byte>(255 - p[0]);
        p[1] = static_cast<Byte>(255 - p[1]);
        p[2] = static_cast<Byte>(255 - p[2]);
    });
}

// ---------------------------------------------------------------------------

template <>
const EnumInfo& EnumInfoOf<TGrayMethod>() {
    static const EnumInfo info{"TGrayMethod", {"gmSimple", "gmEye", "gmEye2"}};
    return info;
}

const ClassInfo& TGrayScaleFilter::StaticClass() {
    using G = TGrayScaleFilter;
    static const PropInfo props[] = {
        MakeProp<&G::GetMethod, &G::SetMethod>("Method").Default(gmSimple),
    };
    static const ClassInfo ci = MakeClassInfo<G>("TGrayScaleFilter", &TZuzFilter::StaticClass(), props);
    return ci;
}

TGrayScaleFilter::TGrayScaleFilter(TCollection* Collection) : TZuzFilter(Collection) {}

String TGrayScaleFilter::Description() const {
    return VavIve_GrayScale;
}

void TGrayScaleFilter::CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) {
    TZuzFilter::CreateEditor(Creator, ChangedEvent);
    Creator->AddCombo(u"Method");
}

void TGrayScaleFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    TZuzFilter::Apply(Bitmap, Rect);
    if (Lines.empty()) return;
    const TGrayMethod method = FMethod;
    EachPixel(Lines, ClampedToBitmap(Rect), [method](Byte* p) {
        const int b = p[0], g = p[1], r = p[2];
        int gray;
        switch (method) {
        case gmEye:
            gray = ZuzRound(0.3 * r + 0.59 * g + 0.11 * b);
            break;
        case gmEye2:
            gray = (11 * r + 16 * g + 5 * b) >> 5;
            break;
        default:
            gray = (b + g + r) / 3;
            break;
        }
        p[0] = p[1] = p[2] = Clamp255(gray);
    });
}

void ZuzGrayScale(TBitmap* Bitmap, bool Inverted, int Method) {
    auto gray = MakeOwned<TGrayScaleFilter>(nullptr);
    gray->SetMethod(Method != 0 ? gmEye : gmSimple);
    gray->Apply(Bitmap);
    if (Inverted) TZuzFilter::ApplyTo(TInvertFilter::StaticClass(), Bitmap);
}

// ---------------------------------------------------------------------------
// Flip and reverse swap mirrored rows or columns of the area. Each pair is swapped once, the
// middle row (or column) of an odd count stays: the count of pairs is half the rows, rounded
// down, for even counts as well as odd.

const ClassInfo& TFlipFilter::StaticClass() {
    return FilterClassInfo<TFlipFilter>("TFlipFilter", TZuzFilter::StaticClass());
}

TFlipFilter::TFlipFilter(TCollection* Collection) : TZuzFilter(Collection) {}

String TFlipFilter::Description() const {
    return VavIve_Flip;
}

void TFlipFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    TZuzFilter::Apply(Bitmap, Rect);
    if (Lines.empty()) return;
    const TRect r = ClampedToBitmap(Rect);
    if (r.Right < r.Left) return;
    const std::size_t bytes = static_cast<std::size_t>(r.Right - r.Left + 1) * 3;
    for (int y = r.Top, other = r.Bottom; y < other; ++y, --other)
        std::swap_ranges(Pixel(r.Left, y), Pixel(r.Left, y) + bytes, Pixel(r.Left, other));
}

const ClassInfo& TReverseFilter::StaticClass() {
    return FilterClassInfo<TReverseFilter>("TReverseFilter", TZuzFilter::StaticClass());
}

TReverseFilter::TReverseFilter(TCollection* Collection) : TZuzFilter(Collection) {}

String TReverseFilter::Description() const {
    return VavIve_Reverse;
}

void TReverseFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    TZuzFilter::Apply(Bitmap, Rect);
    if (Lines.empty()) return;
    const TRect r = ClampedToBitmap(Rect);
    for (int y = r.Top; y <= r.Bottom; ++y)
        for (int x = r.Left, other = r.Right; x < other; ++x, --other)
            std::swap_ranges(Pixel(x, y), Pixel(x, y) + 3, Pixel(other, y));
}

// ---------------------------------------------------------------------------

const ClassInfo& TColorFilter::StaticClass() {
    using C = TColorFilter;
    static const PropInfo props[] = {
        MakeProp<&C::GetRed, &C::SetRed>("Red").Default(0),
        MakeProp<&C::GetGreen, &C::SetGreen>("Green").Default(0),
        MakeProp<&C::GetBlue, &C::SetBlue>("Blue").Default(0),
    };
    static const ClassInfo ci = MakeClassInfo<C>("TColorFilter", &TZuzFilter::StaticClass(), props);
    return ci;
}

TColorFilter::TColorFilter(TCollection* Collection) : TZuzFilter(Collection) {}

String TColorFilter::Description() const {
    return VavIve_Color;
}

void TColorFilter::CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) {
    TZuzFilter::CreateEditor(Creator, ChangedEvent);
    Creator->AddScroll(u"Red", -255, 255);
    Creator->AddScroll(u"Green", -255, 255);
    Creator->AddScroll(u"Blue", -255, 255);
}

void TColorFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    TZuzFilter::Apply(Bitmap, Rect);
    if (Lines.empty() || (FRed == 0 && FGreen == 0 && FBlue == 0)) return;
    const Int64 red = FRed, green = FGreen, blue = FBlue;
    EachPixel(Lines, ClampedToBitmap(Rect), [&](Byte* p) {
        if (blue != 0) p[0] = Clamp255(p[0] + blue);
        if (green != 0) p[1] = Clamp255(p[1] + green);
        if (red != 0) p[2] = Clamp255(p[2] + red);
    });
}

// ---------------------------------------------------------------------------

const ClassInfo& THueLumSatFilter::StaticClass() {
    using H = THueLumSatFilter;
    static const PropInfo props[] = {
        MakeProp<&H::GetHue, &H::SetHue>("Hue").Default(0),
        MakeProp<&H::GetLuminance, &H::SetLuminance>("Luminance").Default(0),
        MakeProp<&H::GetSaturation, &H::SetSaturation>("Saturation").Default(0),
    };
    static const ClassInfo ci = MakeClassInfo<H>("THueLumSatFilter", &TZuzFilter::StaticClass(), props);
    return ci;
}

THueLumSatFilter::THueLumSatFilter(TCollection* Collection) : TZuzFilter(Collection) {}

String THueLumSatFilter::Description() const {
    return VavIve_HueLumSat;
}

void THueLumSatFilter::CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) {
    TZuzFilter::CreateEditor(Creator, ChangedEvent);
    Creator->AddScroll(u"Hue", -255, 255);
    Creator->AddScroll(u"Luminance", -255, 255);
    Creator->AddScroll(u"Saturation", -255, 255);
}

void THueLumSatFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    TZuzFilter::Apply(Bitmap, Rect);
    if (Lines.empty() || (FHue == 0 && FLuminance == 0 && FSaturation == 0)) return;
    const auto shift = [](Word Value, int By) {
        return By == 0 ? Value : static_cast<Word>(std::clamp<Int64>(Int64{Value} + By, 0, 255));
    };
    EachPixel(Lines, ClampedToBitmap(Rect), [&](Byte* p) {
        Word h, l, s;
        RGBToHLS(RGB(p[2], p[1], p[0]), h, l, s);
        COLORREF rgb;
        HLSToRGB(shift(h, FHue), shift(l, FLuminance), shift(s, FSaturation), rgb);
        p[0] = GetBValue(rgb);
        p[1] = GetGValue(rgb);
        p[2] = GetRValue(rgb);
    });
}

// ---------------------------------------------------------------------------
// The amount filters

const ClassInfo& TAmountFilter::StaticClass() {
    using A = TAmountFilter;
    static const PropInfo props[] = {
        MakeProp<&A::GetAmount, &A::SetAmount>("Amount").Default(5),
        MakeProp<&A::GetPercent, &A::SetPercent>("Percent").Default(true),
    };
    static const ClassInfo ci = MakeClassInfo<A>("TAmountFilter", &TZuzFilter::StaticClass(), props);
    return ci;
}

void TAmountFilter::CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) {
    TZuzFilter::CreateEditor(Creator, ChangedEvent);
    const int max = FPercent ? 100 : 255;
    FScroll = Creator->AddScroll(u"Amount", FOnlyPositive ? 0 : -max, max);
    TNotifyEvent toggled;
    toggled.Bind(this, &TAmountFilter::ResetRange, "ResetRange");
    Creator->AddCheckBox(u"Percent", VavIve_Percent, toggled);
}

void TAmountFilter::ResetRange(TObject*) {
    if (!FScroll) return;
    const int max = FPercent ? 100 : 255;
    const int min = FOnlyPositive ? 0 : -max;
    FScroll->SetParams(std::clamp(FAmount, min, max), min, max);
}

// Blocks of Amount x Amount take their mean colour. Block rows run while a whole block fits
// before the area's bottom row, then one shorter row of blocks takes the rest above it; in
// each row the last block reaches the area's right column.
const ClassInfo& TMosaicFilter::StaticClass() {
    using M = TMosaicFilter;
    static const PropInfo props[] = {
        MakeProp<&M::GetAmount, &M::SetAmount>("Amount").Default(8),
    };
    static const ClassInfo ci = MakeClassInfo<M>("TMosaicFilter", &TAmountFilter::StaticClass(), props);
    return ci;
}

TMosaicFilter::TMosaicFilter(TCollection* Collection) : TAmountFilter(Collection) {
    FAmount = 8;
    FOnlyPositive = true;
}

String TMosaicFilter::Description() const {
    return VavIve_Mosaic;
}

void TMosaicFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    TZuzFilter::Apply(Bitmap, Rect);
    if (Lines.empty() || FAmount <= 0) return;
    const TRect r = ClampedToBitmap(Rect);
    // 64-bit positions: Amount may be anything up to the largest integer.
    const Int64 amount = FAmount;
    const auto fill = [&](Int64 x0, Int64 x1, Int64 y0, Int64 y1) { // inclusive
        Int64 sum[3] = {};
        for (Int64 y = y0; y <= y1; ++y)
            for (Int64 x = x0; x <= x1; ++x) {
                const Byte* p = Pixel(static_cast<int>(x), static_cast<int>(y));
                sum[0] += p[0];
                sum[1] += p[1];
                sum[2] += p[2];
            }
        // Divided rather than multiplied by the reciprocal: a mean of exactly n.5 stays n.5 and
        // rounds to even.
        const double count = static_cast<double>(x1 - x0 + 1) * static_cast<double>(y1 - y0 + 1);
        Byte mean[3];
        for (int k = 0; k < 3; ++k) mean[k] = Clamp255(ZuzRound(static_cast<double>(sum[k]) / count));
        for (Int64 y = y0; y <= y1; ++y)
            for (Int64 x = x0; x <= x1; ++x)
                std::copy_n(mean, 3, Pixel(static_cast<int>(x), static_cast<int>(y)));
    };
    const auto blockRow = [&](Int64 y0, Int64 y1) {
        Int64 x = r.Left;
        for (; x < r.Right - amount; x += amount) fill(x, x + amount - 1, y0, y1);
        if (x <= r.Right) fill(x, r.Right, y0, y1);
    };
    Int64 y = r.Top;
    for (; y < r.Bottom - amount; y += amount) blockRow(y, y + amount - 1);
    if (y < r.Bottom) blockRow(y, r.Bottom - 1);
}

const ClassInfo& TBrightnessFilter::StaticClass() {
    return FilterClassInfo<TBrightnessFilter>("TBrightnessFilter", TAmountFilter::StaticClass());
}

TBrightnessFilter::TBrightnessFilter(TCollection* Collection) : TAmountFilter(Collection) {}

String TBrightnessFilter::Description() const {
    return VavIve_Brightness;
}

void TBrightnessFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    TZuzFilter::Apply(Bitmap, Rect);
    if (Lines.empty() || FAmount == 0) return;
    Int64 d = FAmount;
    if (FPercent) {
        const float s = static_cast<float>(FAmount) * 0.01f;
        d = ZuzRound(255.0 * s);
    }
    std::array<Byte, 256> table;
    for (int c = 0; c < 256; ++c) table[static_cast<std::size_t>(c)] = Clamp255(c + d);
    MapChannels(Lines, ClampedToBitmap(Rect), table);
}

// Distances from 128 grow (or shrink) by Amount / 256 of themselves; with Percent the step
// is taken from the channel scaled by Amount percent. Products are 64-bit and the division
// truncates toward zero.
const ClassInfo& TContrastFilter::StaticClass() {
    return FilterClassInfo<TContrastFilter>("TContrastFilter", TAmountFilter::StaticClass());
}

TContrastFilter::TContrastFilter(TCollection* Collection) : TAmountFilter(Collection) {}

String TContrastFilter::Description() const {
    return VavIve_Contrast;
}

void TContrastFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    TZuzFilter::Apply(Bitmap, Rect);
    if (Lines.empty()) return;
    std::array<Byte, 256> table;
    const float f = static_cast<float>(FAmount) * 0.01f;
    for (Int64 c = 0; c < 256; ++c) {
        const Int64 step = FPercent ? ZuzRound(static_cast<double>(c) * f) : Int64{FAmount};
        table[static_cast<std::size_t>(c)] = Clamp255(c + (step * (c - 128)) / 256);
    }
    MapChannels(Lines, ClampedToBitmap(Rect), table);
}

const ClassInfo& TGammaCorrectionFilter::StaticClass() {
    using G = TGammaCorrectionFilter;
    static const PropInfo props[] = {
        MakeProp<&G::GetAmount, &G::SetAmount>("Amount").Default(70),
    };
    static const ClassInfo ci =
        MakeClassInfo<G>("TGammaCorrectionFilter", &TAmountFilter::StaticClass(), props);
    return ci;
}

TGammaCorrectionFilter::TGammaCorrectionFilter(TCollection* Collection) : TAmountFilter(Collection) {
    FAmount = 70;
    FOnlyPositive = true;
}

String TGammaCorrectionFilter::Description() const {
    return VavIve_GammaCorrection;
}

void TGammaCorrectionFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    TZuzFilter::Apply(Bitmap, Rect);
    if (Lines.empty()) return;
    const double g = std::max(std::abs(static_cast<double>(FAmount)) * 0.01, 0.001);
    std::array<Byte, 256> table;
    table[0] = 0;
    for (int i = 1; i < 256; ++i)
        table[static_cast<std::size_t>(i)] = Clamp255(ZuzRound(std::exp(std::log(i / 255.0) / g) * 255));
    MapChannels(Lines, ClampedToBitmap(Rect), table);
}

// ---------------------------------------------------------------------------
// The convolutions

namespace {

void SetWeights(TConvolveFilter& Filter, const std::array<float, 9>& Weights) {
    std::copy(Weights.begin(), Weights.end(), Filter.Weights);
}

} // namespace

const ClassInfo& TSharpenFilter::StaticClass() {
    return FilterClassInfo<TSharpenFilter>("TSharpenFilter", TConvolveFilter::StaticClass());
}

TSharpenFilter::TSharpenFilter(TCollection* Collection) : TConvolveFilter(Collection) {}

String TSharpenFilter::Description() const {
    return VavIve_Sharpen;
}

void TSharpenFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    constexpr float e = -0.125f;
    SetWeights(*this, {e, e, e, e, 2.0f, e, e, e, e});
    TConvolveFilter::Apply(Bitmap, Rect);
}

const ClassInfo& TEmbossFilter::StaticClass() {
    return FilterClassInfo<TEmbossFilter>("TEmbossFilter", TConvolveFilter::StaticClass());
}

TEmbossFilter::TEmbossFilter(TCollection* Collection) : TConvolveFilter(Collection) {}

String TEmbossFilter::Description() const {
    return VavIve_Emboss;
}

void TEmbossFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    SetWeights(*this, {0, -1, 0, -1, 1, 1, 0, -1, 0});
    TConvolveFilter::Apply(Bitmap, Rect);
}

const ClassInfo& TSoftenFilter::StaticClass() {
    return FilterClassInfo<TSoftenFilter>("TSoftenFilter", TConvolveFilter::StaticClass());
}

TSoftenFilter::TSoftenFilter(TCollection* Collection) : TConvolveFilter(Collection) {}

String TSoftenFilter::Description() const {
    return VavIve_AntiAlias;
}

void TSoftenFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    SetWeights(*this, {0, 0, 0, 0, 1, 1, 0, 1, 1});
    TConvolveFilter::Apply(Bitmap, Rect);
}

const ClassInfo& TBlurFilter::StaticClass() {
    using B = TBlurFilter;
    static const PropInfo props[] = {
        MakeProp<&B::GetAmount, &B::SetAmount>("Amount").Default(1),
        MakeProp<&B::GetSteps, &B::SetSteps>("Steps").Default(1),
    };
    static const ClassInfo ci = MakeClassInfo<B>("TBlurFilter", &TConvolveFilter::StaticClass(), props);
    return ci;
}

TBlurFilter::TBlurFilter(TCollection* Collection) : TConvolveFilter(Collection) {}

String TBlurFilter::Description() const {
    return VavIve_Blur;
}

void TBlurFilter::CreateEditor(IFormCreator* Creator, const TNotifyEvent& ChangedEvent) {
    TConvolveFilter::CreateEditor(Creator, ChangedEvent);
    Creator->AddScroll(u"Steps", 1, kMostBlurSteps);
    Creator->AddScroll(u"Amount", 0, 50);
}

void TBlurFilter::Apply(TBitmap* Bitmap, const TRect& Rect) {
    SetWeights(*this, {1, 1, 1, 1, static_cast<float>(FAmount), 1, 1, 1, 1});
    // The rows are taken once for all the passes.
    TZuzFilter::Apply(Bitmap, Rect);
    if (Lines.empty()) return;
    SetLinesReady(true);
    try {
        // No more passes than the editor offers, whatever number a file holds.
        for (int step = 0; step < std::min(FSteps, kMostBlurSteps); ++step)
            TConvolveFilter::Apply(Bitmap, Rect);
    } catch (...) {
        SetLinesReady(false);
        throw;
    }
    SetLinesReady(false);
}
