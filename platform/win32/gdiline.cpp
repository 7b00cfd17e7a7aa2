// One-pixel lines on raster surfaces, as the system draws them: Bresenham
// steps along the major axis, the last pixel in drawing direction left out,
// the style pattern advanced per pixel and carried along a polyline, gaps in
// the background colour when the background mode is opaque, the mix mode
// applied per pixel, and the clip region honoured.
#include "platform/win32/gdiqt.h"

#include <cstring>

namespace {

std::uint32_t Mix(int rop2, std::uint32_t d, std::uint32_t s) {
    switch (rop2) {
    case R2_BLACK:
        return 0;
    case R2_NOTMERGEPEN:
        return ~(d | s);
    case R2_MASKNOTPEN:
        return d & ~s;
    case R2_NOTCOPYPEN:
        return ~s;
    case R2_MASKPENNOT:
        return s & ~d;
    case R2_NOT:
        return ~d;
    case R2_XORPEN:
        return d ^ s;
    case R2_NOTMASKPEN:
        return ~(d & s);
    case R2_MASKPEN:
        return d & s;
    case R2_NOTXORPEN:
        return ~(d ^ s);
    case R2_NOP:
        return d;
    case R2_MERGENOTPEN:
        return d | ~s;
    case R2_MERGEPENNOT:
        return s | ~d;
    case R2_MERGEPEN:
        return d | s;
    case R2_WHITE:
        return 0xFFFFFF;
    default:
        return s;
    }
}

// Cosmetic style patterns in pixels: dash, gap, dash, gap, ...
std::vector<DWORD> StyleLengths(const GdiPen& pen) {
    switch (pen.Style()) {
    case PS_DASH:
        return {18, 6};
    case PS_DOT:
        return {3, 3};
    case PS_DASHDOT:
        return {9, 6, 3, 6};
    case PS_DASHDOTDOT:
        return {9, 3, 3, 3, 3, 3};
    case PS_ALTERNATE:
        return {1, 1};
    case PS_USERSTYLE:
        return pen.userStyle;
    default:
        return {};
    }
}

} // namespace

void DeviceContext::PrepareLine() {
    if (!image_ || image_->isNull()) {
        bpp_ = 0;
        return;
    }
    if (!bits_) {
        bits_ = image_->bits();
        bpl_ = image_->bytesPerLine();
        const int depth = image_->depth();
        bpp_ = (depth == 24 || depth == 32) ? depth / 8 : 0;
        penDirty_ = true;
    }
    if (!penDirty_) return;
    penDirty_ = false;
    lineRop_ = st_.rop2;
    lineColor_ = ToRgb(PenColor());
    lineBk_ = ToRgb(st_.bkColor);
    // The pattern as one flag per pixel; a zero-length dash still marks its pixel.
    styleMask_.clear();
    const std::vector<DWORD> lengths = StyleLengths(*st_.pen);
    std::size_t period = 0;
    for (DWORD d : lengths) period += d;
    if (period > 0 && period <= 4096) {
        styleMask_.assign(period, false);
        std::size_t pos = 0;
        for (std::size_t i = 0; i < lengths.size(); ++i) {
            if (i % 2 == 0) {
                if (lengths[i] == 0 && pos < period) styleMask_[pos] = true;
                for (std::size_t k = 0; k < lengths[i]; ++k) styleMask_[pos + k] = true;
            }
            pos += lengths[i];
        }
    }
    lineOpaque_ = !styleMask_.empty() && st_.bkMode == OPAQUE;
    const QRect surface(0, 0, image_->width(), image_->height());
    clipRgn_ = nullptr;
    if (st_.clip) {
        clipBox_ = st_.clip->boundingRect() & surface;
        if (st_.clip->rectCount() > 1) clipRgn_ = &*st_.clip;
    } else {
        clipBox_ = surface;
    }
}

void DeviceContext::WritePixel(int x, int y, int rop2, std::uint32_t rgb) {
    uchar* p = bits_ + static_cast<qsizetype>(y) * bpl_ + static_cast<qsizetype>(x) * bpp_;
    if (bpp_ == 4) {
        std::uint32_t d;
        std::memcpy(&d, p, 4);
        d = rop2 == R2_COPYPEN ? rgb : Mix(rop2, d, rgb);
        d = (d & 0xFFFFFF) | 0xFF000000u;
        std::memcpy(p, &d, 4);
    } else {
        // Bytes blue, green, red.
        std::uint32_t d = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                          (static_cast<std::uint32_t>(p[2]) << 16);
        d = rop2 == R2_COPYPEN ? rgb : Mix(rop2, d, rgb);
        p[0] = static_cast<uchar>(d & 0xFF);
        p[1] = static_cast<uchar>((d >> 8) & 0xFF);
        p[2] = static_cast<uchar>((d >> 16) & 0xFF);
    }
}

void DeviceContext::RasterSegment(QPoint a, QPoint b) {
    const int dx = b.x() - a.x(), dy = b.y() - a.y();
    const std::int64_t adx = std::abs(static_cast<std::int64_t>(dx)),
                       ady = std::abs(static_cast<std::int64_t>(dy));
    const std::int64_t n = std::max(adx, ady);
    if (n == 0) return;
    const std::size_t period = styleMask_.size();
    const std::size_t styleStart = stylePos_;
    stylePos_ =
        period ? (stylePos_ + static_cast<std::size_t>(n % static_cast<std::int64_t>(period))) % period : 0;
    if (lineRop_ == R2_NOP || clipBox_.isEmpty()) return;

    const bool xMajor = adx >= ady;
    const int sMaj = xMajor ? (dx > 0 ? 1 : -1) : (dy > 0 ? 1 : -1);
    const int sMin = xMajor ? (dy > 0 ? 1 : (dy < 0 ? -1 : 0)) : (dx > 0 ? 1 : (dx < 0 ? -1 : 0));
    const std::int64_t maj0 = xMajor ? a.x() : a.y(), min0 = xMajor ? a.y() : a.x();
    const std::int64_t dmin = xMajor ? ady : adx;
    // Only the steps whose major coordinate lies in the clip box are walked.
    const std::int64_t lo = xMajor ? clipBox_.left() : clipBox_.top();
    const std::int64_t hi = xMajor ? clipBox_.right() : clipBox_.bottom();
    std::int64_t kLo = 0, kHi = n - 1;
    if (sMaj > 0) {
        kLo = std::max(kLo, lo - maj0);
        kHi = std::min(kHi, hi - maj0);
    } else {
        kLo = std::max(kLo, maj0 - hi);
        kHi = std::min(kHi, maj0 - lo);
    }
    if (kLo > kHi) return;
    const std::int64_t minLo = xMajor ? clipBox_.top() : clipBox_.left();
    const std::int64_t minHi = xMajor ? clipBox_.bottom() : clipBox_.right();

    // Minor offset at step k: floor((2·k·dmin + n) / 2n), kept as quotient and remainder.
    const std::int64_t twoN = 2 * n;
    const std::int64_t num = 2 * kLo * dmin + n;
    std::int64_t off = num / twoN, rem = num % twoN;
    const bool solid = period == 0;
    const bool plainCopy = solid && lineRop_ == R2_COPYPEN && !clipRgn_;
    std::size_t sp =
        solid ? 0 : (styleStart + static_cast<std::size_t>(kLo % static_cast<std::int64_t>(period))) % period;
    for (std::int64_t k = kLo; k <= kHi; ++k) {
        const std::int64_t maj = maj0 + sMaj * k;
        const std::int64_t mn = min0 + sMin * off;
        rem += 2 * dmin;
        if (rem >= twoN) {
            rem -= twoN;
            ++off;
        }
        bool on = true;
        if (!solid) {
            on = styleMask_[sp];
            if (++sp == period) sp = 0;
        }
        if (mn < minLo || mn > minHi) continue;
        const int x = static_cast<int>(xMajor ? maj : mn), y = static_cast<int>(xMajor ? mn : maj);
        if (plainCopy) {
            WritePixel(x, y, R2_COPYPEN, lineColor_);
            continue;
        }
        if (!on && !lineOpaque_) continue;
        if (clipRgn_ && !clipRgn_->contains(QPoint(x, y))) continue;
        WritePixel(x, y, lineRop_, on ? lineColor_ : lineBk_);
    }
}
