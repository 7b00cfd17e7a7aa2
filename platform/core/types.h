#pragma once
// Types: points, sizes and rectangles shared by the graphics, the controls and
// the chart code, with the few helpers the class library has for them.

#include <cstdint>
#include <limits>

struct TPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    constexpr TPoint() = default;
    constexpr TPoint(std::int32_t x, std::int32_t y) : X(x), Y(y) {}
    constexpr bool operator==(const TPoint&) const = default;
};

struct TSize {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    constexpr bool operator==(const TSize&) const = default;
};

// Left/Top inclusive, Right/Bottom exclusive when used as a pixel area.
struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    constexpr TRect() = default;
    constexpr TRect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b)
        : Left(l), Top(t), Right(r), Bottom(b) {}
    constexpr TRect(TPoint topLeft, TPoint bottomRight)
        : Left(topLeft.X), Top(topLeft.Y), Right(bottomRight.X), Bottom(bottomRight.Y) {}
    constexpr std::int32_t Width() const { return Right - Left; }
    constexpr std::int32_t Height() const { return Bottom - Top; }
    constexpr TPoint TopLeft() const { return {Left, Top}; }
    constexpr TPoint BottomRight() const { return {Right, Bottom}; }
    constexpr bool operator==(const TRect&) const = default;
};

constexpr TPoint Point(std::int32_t x, std::int32_t y) {
    return {x, y};
}
constexpr TRect Rect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
    return {l, t, r, b};
}
constexpr TRect Bounds(std::int32_t l, std::int32_t t, std::int32_t w, std::int32_t h) {
    return {l, t, l + w, t + h};
}

// True when the rectangle covers no pixel.
constexpr bool IsRectEmpty(const TRect& r) {
    return r.Right <= r.Left || r.Bottom <= r.Top;
}
// Right and bottom edges excluded, as the system does for pixel areas.
constexpr bool PtInRect(const TRect& r, TPoint p) {
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}
constexpr void OffsetRect(TRect& r, std::int32_t dx, std::int32_t dy) {
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}
constexpr void InflateRect(TRect& r, std::int32_t dx, std::int32_t dy) {
    r.Left -= dx;
    r.Right += dx;
    r.Top -= dy;
    r.Bottom += dy;
}
// The common area; false (and an empty result) when there is none.
constexpr bool IntersectRect(TRect& dst, const TRect& a, const TRect& b) {
    TRect r{a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
            a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
    if (IsRectEmpty(r)) r = TRect{};
    dst = r;
    return !IsRectEmpty(r);
}

// Number * Numerator / Denominator through a 64-bit product, rounded half away
// from zero; -1 when the denominator is 0 or the result does not fit.
constexpr std::int32_t MulDiv(std::int32_t number, std::int32_t numerator, std::int32_t denominator) {
    if (denominator == 0) return -1;
    const std::int64_t p = static_cast<std::int64_t>(number) * numerator;
    std::int64_t d = denominator;
    std::int64_t n = p;
    if (d < 0) {
        d = -d;
        n = -n;
    }
    const std::int64_t q = n >= 0 ? (n + d / 2) / d : -((-n + d / 2) / d);
    if (q > std::numeric_limits<std::int32_t>::max() || q < std::numeric_limits<std::int32_t>::min())
        return -1;
    return static_cast<std::int32_t>(q);
}
