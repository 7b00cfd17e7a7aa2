// One-pixel lines on raster surfaces, as the system draws them: Bresenham
// steps along the major axis, the last pixel in drawing direction left out,
// the style pattern advanced per pixel and carried along a polyline and from
// one line to the next, gaps in the background colour when the background
// mode is opaque, the mix mode applied per pixel, and the clip region honoured.
#include "platform/win32/gdiqt.h"

#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <typeinfo>
#include <vector>

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

void DeviceContext::ReadyLine() {
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
    painterHasLine_ = false; // the painter's pen for wide styled lines is made again too
    lineWidth_ = DevicePenWidth();
    PrepareDisc();
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

// Wide solid pens on raster surfaces. The stroke is an area around the
// segment (a band of the pen's width, ended flat, square or by a half disc)
// and a pixel is inked when its centre lies inside; a centre exactly on the
// area's top or left edge counts, one on its bottom or right edge does not, as
// polygons fill. So an even width puts its extra row above a horizontal line
// and its extra column left of a vertical one, and a flat end stops at the end
// point. Each row of the area is one span, written once.
namespace {

// Rows are sampled a hair below their centre, columns a hair left of the
// boundary, which makes the top and left edges inclusive.
constexpr double kRowNudge = 1e-6;
constexpr double kColNudge = 1e-9;
constexpr double kInf = std::numeric_limits<double>::infinity();

// The smallest whole number not below v, for |v| < 2^31.
int CeilInt(double v) {
    const int i = static_cast<int>(v);
    return i + (i < v ? 1 : 0);
}

// The points where lo <= c * x + kSlope * y <= hi: on each row a range of x
// whose ends move linearly with y (worked out once per segment), or every x or
// none when c is 0.
class Slab {
public:
    Slab() = default;
    Slab(double c, double kSlope, double lo, double hi) : c_(c), kSlope_(kSlope), lo_(lo), hi_(hi) {
        if (c == 0) return;
        slope_ = -kSlope / c;
        from_ = std::min(lo / c, hi / c);
        to_ = std::max(lo / c, hi / c);
    }
    // Narrows [x0, x1] on the row at offset ry.
    void Narrow(double ry, double& x0, double& x1) const {
        if (c_ == 0) {
            const double k = kSlope_ * ry;
            if (k < lo_ || k > hi_) x1 = -kInf;
            return;
        }
        x0 = std::max(x0, from_ + slope_ * ry);
        x1 = std::min(x1, to_ + slope_ * ry);
    }

private:
    double c_ = 0, kSlope_ = 0, lo_ = 0, hi_ = 0;
    double slope_ = 0, from_ = 0, to_ = 0;
};

} // namespace

// Round ends sit on whole pixels, so each row of their disc is a fixed run
// of columns around the centre, worked out once per pen width.
void DeviceContext::PrepareDisc() {
    const double r = lineWidth_ / 2.0;
    discReach_ = static_cast<int>(std::ceil(r));
    discCols_.clear();
    for (int j = -discReach_; j <= discReach_; ++j) {
        const double k = j + kRowNudge;
        if (k * k >= r * r) {
            discCols_.emplace_back(INT_MAX / 2, INT_MIN / 2); // no columns: widens nothing
            continue;
        }
        const double h = std::sqrt(r * r - k * k);
        discCols_.emplace_back(CeilInt(-h - kColNudge), CeilInt(h - kColNudge) - 1);
    }
}

void DeviceContext::RasterWideSegment(QPoint a, QPoint b, int startCap, int endCap) {
    if (lineRop_ == R2_NOP || clipBox_.isEmpty()) return;
    // 64 bits throughout: far points (a projection run wild) must not wrap.
    using I64 = std::int64_t;
    const I64 w = lineWidth_;
    const I64 ax = a.x(), ay = a.y(), bx = b.x(), by = b.y(), idx = bx - ax, idy = by - ay;
    const bool roundStart = startCap == PS_ENDCAP_ROUND, roundEnd = endCap == PS_ENDCAP_ROUND;
    const bool square = startCap == PS_ENDCAP_SQUARE || endCap == PS_ENDCAP_SQUARE;
    // Along an axis the band is a box whose edges lie on whole or half pixels:
    // worked out in half pixels, exactly.
    const bool boxed = idx == 0 || idy == 0;
    bool body = true;
    I64 boxTop = 0, boxBottom = -1, boxLeft = 0, boxRight = -1;
    Slab across, along; // the band's sides and ends, off the axes
    if (boxed) {
        const I64 len = std::abs(idx + idy);
        const I64 from2 = startCap == PS_ENDCAP_SQUARE ? -w : 0,
                  to2 = 2 * len + (endCap == PS_ENDCAP_SQUARE ? w : 0);
        body = from2 < to2;
        const I64 ux = idx > 0 ? 1 : (idx < 0 ? -1 : (idy == 0 ? 1 : 0)),
                  uy = idy > 0 ? 1 : (idy < 0 ? -1 : 0);
        const I64 xa = 2 * ax + ux * from2, xb = 2 * ax + ux * to2;
        const I64 ya = 2 * ay + uy * from2, yb = 2 * ay + uy * to2;
        // A half-pixel edge v / 2 starts its pixels at ceil(v / 2), inclusive.
        auto firstIn = [](I64 v2) { return (v2 + 1) >> 1; };
        boxLeft = firstIn(std::min(xa, xb) - std::abs(uy) * w);
        boxRight = firstIn(std::max(xa, xb) + std::abs(uy) * w) - 1;
        boxTop = firstIn(std::min(ya, yb) - std::abs(ux) * w);
        boxBottom = firstIn(std::max(ya, yb) + std::abs(ux) * w) - 1;
    } else {
        const double r = static_cast<double>(w) / 2, dx = static_cast<double>(idx),
                     dy = static_cast<double>(idy);
        const double len = std::sqrt(dx * dx + dy * dy);
        const double from = startCap == PS_ENDCAP_SQUARE ? -r : 0,
                     to = len + (endCap == PS_ENDCAP_SQUARE ? r : 0);
        const double ux = dx / len, uy = dy / len;
        // Across the pen: |n . (p - a)| <= r with n = (-uy, ux); along it: from <= u . (p - a) <= to.
        across = Slab(-uy, ux, -r, r);
        along = Slab(ux, uy, from, to);
    }
    if (!body && !roundStart && !roundEnd) return; // a flat dot has no area
    // Rows the pen reaches beyond the end points (a square end's corner r * sqrt(2)).
    const I64 reachRows = square ? w : (w + 1) / 2;
    const int top = static_cast<int>(std::max<I64>(clipBox_.top(), std::min(ay, by) - reachRows));
    const int bottom = static_cast<int>(std::min<I64>(clipBox_.bottom(), std::max(ay, by) + reachRows));
    const I64 left = clipBox_.left(), right = clipBox_.right();
    const bool fast = lineRop_ == R2_COPYPEN && !clipRgn_ && bpp_ == 4;
    // Locals, as the pixel stores could otherwise alias the context's members.
    uchar* const bits = bits_;
    const qsizetype bpl = bpl_;
    const std::uint32_t colour = lineColor_ | 0xFF000000u;
    const I64 reach = discReach_;
    const std::pair<int, int>* const discCols = discCols_.data();
    const std::uint64_t discRows = discCols_.size();
    const double fax = static_cast<double>(ax), fay = static_cast<double>(ay);
    for (int y = top; y <= bottom; ++y) {
        I64 x0 = std::numeric_limits<I64>::max(), x1 = std::numeric_limits<I64>::min();
        if (boxed) {
            if (y >= boxTop && y <= boxBottom) {
                x0 = boxLeft;
                x1 = boxRight;
            }
        } else {
            const double ry = y + kRowNudge - fay;
            double lo = -kInf, hi = kInf;
            across.Narrow(ry, lo, hi);
            along.Narrow(ry, lo, hi);
            if (lo <= hi) {
                x0 = CeilInt(std::max(fax + lo, -1e9) - kColNudge);
                x1 = CeilInt(std::min(fax + hi, 1e9) - kColNudge) - 1;
            }
        }
        // The round ends: the row's columns of a disc around the end point.
        auto disc = [&](I64 cx, I64 cy) {
            const auto j = static_cast<std::uint64_t>(y - cy + reach);
            if (j >= discRows) return;
            const auto [l, r] = discCols[j];
            x0 = std::min(x0, cx + l);
            x1 = std::max(x1, cx + r);
        };
        if (roundStart) disc(ax, ay);
        if (roundEnd) disc(bx, by);
        if (x0 < left) x0 = left;
        if (x1 > right) x1 = right;
        if (x0 > x1) continue;
        if (fast) {
            auto* row = reinterpret_cast<std::uint32_t*>(bits + static_cast<qsizetype>(y) * bpl);
            for (I64 x = x0; x <= x1; ++x) row[x] = colour;
            continue;
        }
        for (int x = static_cast<int>(x0); x <= x1; ++x)
            if (!clipRgn_ || clipRgn_->contains(QPoint(x, y))) WritePixel(x, y, lineRop_, lineColor_);
    }
}

namespace {

// The rows of a pen-less ellipse inside a clip box. The curve is the one the
// painter filled: the ellipse inscribed in l..r-1 by t..b-1 (a shape without a
// pen loses its right and bottom edges), a pixel filled when its centre lies
// inside, a centre on the curve counting on the left and not on the right, as
// polygons fill.
class EllipseRows {
public:
    EllipseRows(const QRect& box, const QRect& clip)
        : a_((static_cast<double>(box.right()) - box.left()) / 2),
          b_((static_cast<double>(box.bottom()) - box.top()) / 2), cx_(box.left() + a_), cy_(box.top() + b_),
          top_(std::max(box.top(), clip.top())), bottom_(std::min(box.bottom(), clip.bottom())),
          left_(std::max(box.left(), clip.left())), right_(std::min(box.right(), clip.right())) {}
    bool NoArea() const { return a_ <= 0 || b_ <= 0; }
    // The row whose columns equal row y's: the same distance from the centre on the other side.
    int Mirror(int y) const { return static_cast<int>(2 * cy_) - 1 - y; }
    int Top() const { return top_; }
    int Bottom() const { return bottom_; }
    // Row y's columns x0..x1; false when the row has none.
    bool Row(int y, int& x0, int& x1) const {
        const double v = (y + 0.5 - cy_) / b_, q = 1 - v * v;
        if (q <= 0) return false;
        const double half = a_ * std::sqrt(q);
        x0 = std::max(left_, CeilInt(std::max(cx_ - half - 0.5, -1e9)));
        x1 = std::min(right_, CeilInt(std::min(cx_ + half - 0.5, 1e9)) - 1);
        return x0 <= x1;
    }

private:
    double a_, b_, cx_, cy_;
    int top_, bottom_, left_, right_;
};

// Stores Count copies of Pixel from At on, two pixels per store.
void FillPixels(std::uint32_t* At, std::size_t Count, std::uint32_t Pixel) {
    if (Count > 0 && reinterpret_cast<std::uintptr_t>(At) % 8 != 0) {
        *At++ = Pixel;
        --Count;
    }
    const std::uint64_t two = (static_cast<std::uint64_t>(Pixel) << 32) | Pixel;
    for (std::size_t i = 0; i + 1 < Count; i += 2) std::memcpy(At + i, &two, sizeof two);
    if (Count % 2 != 0) At[Count - 1] = Pixel;
}

// The columns of one row already taken by later shapes: disjoint runs, left to right.
class TakenRuns {
public:
    void Clear() { runs_.clear(); }
    // Calls Fresh(from, to) for each part of x0..x1 no run holds, then takes x0..x1.
    template <class F>
    void Take(int x0, int x1, F&& Fresh) {
        if (runs_.size() == 1 && x0 <= runs_[0].first && x1 >= runs_[0].second) {
            // Around the one run (nested shapes): its two sides are fresh.
            auto& [lo, hi] = runs_[0];
            if (x0 < lo) Fresh(x0, lo - 1);
            if (x1 > hi) Fresh(hi + 1, x1);
            lo = x0;
            hi = x1;
            return;
        }
        auto it = runs_.begin();
        while (it != runs_.end() && it->second < x0 - 1) ++it;
        const auto first = it;
        int from = x0, lo = x0, hi = x1;
        for (; it != runs_.end() && it->first <= x1 + 1; ++it) {
            if (it->first > from) Fresh(from, std::min(it->first - 1, x1));
            from = std::max(from, it->second + 1);
            lo = std::min(lo, it->first);
            hi = std::max(hi, it->second);
        }
        if (from <= x1) Fresh(from, x1);
        runs_.insert(runs_.erase(first, it), {lo, hi});
    }

private:
    std::vector<std::pair<int, int>> runs_;
};

// Large ellipse sets are painted by this thread and helpers taking rows in shares.
constexpr std::int64_t kSplitWork = 20000; // rows of all ellipses together
constexpr int kMostThreads = 4;
constexpr int kRowsPerShare = 8;

// Rows First..Last handed out in shares to this thread and to helpers. It lives as long as
// the last helper holding it: a helper that starts after every row was handed out finds
// nothing to do and never touches the painter, which may be gone by then.
class RowShares {
public:
    RowShares(int First, int Last, const std::function<void(int, int)>& Paint)
        : next_(First), last_(Last), paint_(&Paint) {}
    // Paints shares until none is left.
    void Work() {
        std::unique_lock lock(mutex_);
        while (next_ <= last_) {
            const int from = next_, to = std::min(last_, from + kRowsPerShare - 1);
            next_ = to + 1;
            ++painting_;
            const std::function<void(int, int)>& paint = *paint_;
            lock.unlock();
            paint(from, to);
            lock.lock();
            if (--painting_ == 0) idle_.notify_all();
        }
    }
    // After Work: waits for the shares others took.
    void WaitForOthers() {
        std::unique_lock lock(mutex_);
        idle_.wait(lock, [this] { return painting_ == 0; });
    }

private:
    std::mutex mutex_;
    std::condition_variable idle_;
    int next_, last_, painting_ = 0;
    const std::function<void(int, int)>* paint_;
};

// Paints rows First..Last with Paint on this thread and on up to Count pooled threads, and
// returns once every row is painted. Only helpers that took a share are waited for: on a
// busy machine one that has not yet run costs nothing.
void PaintRowsShared(int Count, int First, int Last, const std::function<void(int, int)>& Paint) {
    const auto shares = std::make_shared<RowShares>(First, Last, Paint);
    for (int i = 0; i < Count; ++i) QThreadPool::globalInstance()->start([shares] { shares->Work(); });
    shares->Work();
    shares->WaitForOthers();
}

} // namespace

// Pen-less ellipses with a solid brush on raster surfaces, written row by row.
bool DeviceContext::SpanEllipse(const QRect& box) {
    if (bpp_ == 0 || st_.pen->Style() != PS_NULL) return false;
    const HBRUSH brush = st_.brush;
    if (!brush || brush->style != BS_SOLID) return false;
    if (st_.rop2 == R2_NOP || clipBox_.isEmpty()) return true;
    const EllipseRows rows(box, clipBox_);
    if (rows.NoArea()) return true;
    const int rop2 = st_.rop2;
    const std::uint32_t rgb = ToRgb(BrushColor(brush));
    for (int y = rows.Top(), x0, x1; y <= rows.Bottom(); ++y)
        if (rows.Row(y, x0, x1)) FillRow(y, x0, x1, rop2, rgb);
    return true;
}

bool DeviceContext::EllipsesOnceHere() {
    if (typeid(*this) != typeid(DeviceContext) || pathOpen_ || !image_ || !Drawable()) return false;
    StateChanged(); // the surface read afresh, as EllipsesOnce reads it
    PrepareLine();
    return bpp_ != 0 && st_.rop2 == R2_COPYPEN && st_.mapMode == MM_TEXT;
}

bool DeviceContext::EllipsesOnce(const RECT* boxes, const COLORREF* colors, int count) {
    // Only this class's own Ellipse is known to paint what is written here.
    if (typeid(*this) != typeid(DeviceContext) || count <= 0 || pathOpen_ || !image_ || !Drawable())
        return false;
    StateChanged(); // the surface and clip read afresh, as the first SetDCBrushColor would
    PrepareLine();
    const HBRUSH brush = st_.brush;
    if (bpp_ == 0 || st_.pen->Style() != PS_NULL || st_.rop2 != R2_COPYPEN || !brush ||
        brush->style != BS_SOLID)
        return false;
    struct Band {
        EllipseRows rows;
        std::uint32_t rgb;
    };
    std::vector<Band> bands;
    bands.reserve(static_cast<std::size_t>(count));
    int top = INT_MAX, bottom = INT_MIN;
    for (int i = 0; i < count; ++i) {
        st_.dcBrushColor = colors[i] & 0xFFFFFF;
        const RECT& r = boxes[i];
        const QRect box = DeviceBox(r.Left, r.Top, r.Right, r.Bottom);
        if (box.width() <= 0 || box.height() <= 0 || clipBox_.isEmpty()) continue;
        const EllipseRows rows(box, clipBox_);
        if (rows.NoArea() || rows.Top() > rows.Bottom()) continue;
        bands.push_back({rows, ToRgb(BrushColor(brush))});
        top = std::min(top, rows.Top());
        bottom = std::max(bottom, rows.Bottom());
    }
    StateChanged(); // the colour-settable brush keeps the last colour, as after one call per ellipse
    if (bands.empty()) return true;
    const std::size_t n = bands.size();
    const bool direct = !clipRgn_ && bpp_ == 4;
    // Each row's columns per ellipse (x0 > x1: none), for a row and its mirror.
    struct Span {
        int x0, x1;
    };
    // A later ellipse lies over the earlier ones: walking back from the last, each writes only
    // the columns no later one took. While every ellipse so far holds the ones after it (nested
    // bands) the taken columns are one run and each writes at most its two sides of it.
    const auto paintRow = [&](int y, const std::vector<Span>& spans, TakenRuns& taken) {
        auto* row = reinterpret_cast<std::uint32_t*>(bits_ + static_cast<qsizetype>(y) * bpl_);
        std::uint32_t rgb = 0;
        const auto fill = [&](int a, int b) {
            if (direct)
                FillPixels(row + a, static_cast<std::size_t>(b - a + 1), rgb | 0xFF000000u);
            else
                FillRow(y, a, b, R2_COPYPEN, rgb);
        };
        int lo = 1, hi = 0; // the one run taken while nested (none yet: lo > hi)
        bool nested = true;
        for (std::size_t k = n; k-- > 0;) {
            const Span sp = spans[k];
            if (sp.x0 > sp.x1) continue;
            rgb = bands[k].rgb;
            if (nested) {
                if (lo > hi) {
                    fill(sp.x0, sp.x1);
                    lo = sp.x0;
                    hi = sp.x1;
                    continue;
                }
                if (sp.x0 <= lo && sp.x1 >= hi) {
                    if (sp.x0 < lo) fill(sp.x0, lo - 1);
                    if (sp.x1 > hi) fill(hi + 1, sp.x1);
                    lo = sp.x0;
                    hi = sp.x1;
                    continue;
                }
                nested = false;
                taken.Clear();
                taken.Take(lo, hi, [](int, int) {});
            }
            taken.Take(sp.x0, sp.x1, fill);
        }
    };
    // Rows pair up around the first ellipse's middle: where an ellipse shares that middle, a row
    // below it has the columns of its mirror row above, worked out once for both. A row whose
    // mirror lies above it in the set goes with that row.
    const int mirrorSum = bands.front().rows.Mirror(0);
    const auto leads = [&](int y) { return !(mirrorSum - y < y && mirrorSum - y >= top); };
    // Rows from..to and their mirrors. Rows touch nothing shared but their own pixels, so
    // several threads may paint rows apart.
    const auto paintRows = [&](int from, int to) {
        TakenRuns taken;
        std::vector<Span> upper(n), lower(n);
        for (int y = from; y <= to; ++y) {
            if (!leads(y)) continue;
            const int m = mirrorSum - y;
            const bool pair = m > y && m <= bottom;
            for (std::size_t k = 0; k < n; ++k) {
                const EllipseRows& rows = bands[k].rows;
                const bool crosses = y >= rows.Top() && y <= rows.Bottom();
                Span& u = upper[k];
                if (!crosses || !rows.Row(y, u.x0, u.x1)) u = {1, 0};
                if (!pair) continue;
                Span& l = lower[k];
                if (m < rows.Top() || m > rows.Bottom())
                    l = {1, 0};
                else if (crosses && rows.Mirror(y) == m)
                    l = u;
                else if (!rows.Row(m, l.x0, l.x1))
                    l = {1, 0};
            }
            paintRow(y, upper, taken);
            if (pair) paintRow(m, lower, taken);
        }
    };
    std::int64_t work = 0; // rows of all ellipses
    for (const Band& b : bands) work += b.rows.Bottom() - b.rows.Top() + 1;
    // Helpers pay off only on a large set; FillRow's shared row buffer keeps other surfaces on one thread.
    const int helpers =
        direct && work >= kSplitWork ? std::min(QThread::idealThreadCount(), kMostThreads) - 1 : 0;
    if (helpers <= 0) {
        paintRows(top, bottom);
        return true;
    }
    PaintRowsShared(helpers, top, bottom, paintRows);
    return true;
}

void DeviceContext::FillRow(int y, int x0, int x1, int rop2, std::uint32_t rgb) {
    if (clipRgn_) {
        // The parts of the row inside the clip; its rectangles come in rows, top to bottom.
        for (const QRect& r : *clipRgn_) {
            if (r.top() > y) break;
            if (r.bottom() < y) continue;
            const int from = std::max(x0, r.left()), to = std::min(x1, r.right());
            for (int x = from; x <= to; ++x) WritePixel(x, y, rop2, rgb);
        }
        return;
    }
    if (bpp_ == 4 && rop2 == R2_COPYPEN) {
        // Copied from a row of the colour: the library's block copy outruns a loop of stores.
        const std::uint32_t pixel = rgb | 0xFF000000u;
        const auto width = static_cast<std::size_t>(image_->width());
        if (spanRow_.size() != width || spanRow_.front() != pixel) spanRow_.assign(width, pixel);
        std::memcpy(bits_ + static_cast<qsizetype>(y) * bpl_ + static_cast<qsizetype>(x0) * 4,
                    spanRow_.data(), static_cast<std::size_t>(x1 - x0 + 1) * 4);
        return;
    }
    for (int x = x0; x <= x1; ++x) WritePixel(x, y, rop2, rgb);
}
