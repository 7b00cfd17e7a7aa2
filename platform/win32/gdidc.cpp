// Device contexts: state, objects, coordinates, shapes, text, blits, paths
// and clipping over QPainter. One-pixel lines are in gdiline.cpp.
#include "platform/win32/gdiqt.h"

#include <QBitmap>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainterPathStroker>

#include <cmath>
#include <numbers>

namespace {

QPainter::CompositionMode MixMode(int rop2) {
    switch (rop2) {
    case R2_NOTMERGEPEN:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case R2_MASKNOTPEN:
        return QPainter::RasterOp_NotSourceAndDestination;
    case R2_NOTCOPYPEN:
        return QPainter::RasterOp_NotSource;
    case R2_MASKPENNOT:
        return QPainter::RasterOp_SourceAndNotDestination;
    case R2_NOT:
        return QPainter::RasterOp_NotDestination;
    case R2_XORPEN:
        return QPainter::RasterOp_SourceXorDestination;
    case R2_NOTMASKPEN:
        return QPainter::RasterOp_NotSourceOrNotDestination;
    case R2_MASKPEN:
        return QPainter::RasterOp_SourceAndDestination;
    case R2_NOTXORPEN:
        return QPainter::RasterOp_NotSourceXorDestination;
    case R2_MERGENOTPEN:
        return QPainter::RasterOp_NotSourceOrDestination;
    case R2_MERGEPENNOT:
        return QPainter::RasterOp_SourceOrNotDestination;
    case R2_MERGEPEN:
        return QPainter::RasterOp_SourceOrDestination;
    case R2_BLACK:
    case R2_WHITE:
        return QPainter::CompositionMode_Source;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

COLORREF MixColor(int rop2, COLORREF c) {
    if (rop2 == R2_BLACK) return 0;
    if (rop2 == R2_WHITE) return 0xFFFFFF;
    return c;
}

Qt::BrushStyle HatchStyle(int hatch) {
    switch (hatch) {
    case HS_HORIZONTAL:
        return Qt::HorPattern;
    case HS_VERTICAL:
        return Qt::VerPattern;
    case HS_FDIAGONAL:
        return Qt::FDiagPattern;
    case HS_BDIAGONAL:
        return Qt::BDiagPattern;
    case HS_CROSS:
        return Qt::CrossPattern;
    default:
        return Qt::DiagCrossPattern;
    }
}

QRect NormalRect(QPoint a, QPoint b) {
    const int l = std::min(a.x(), b.x()), r = std::max(a.x(), b.x());
    const int t = std::min(a.y(), b.y()), btm = std::max(a.y(), b.y());
    return QRect(l, t, r - l, btm - t);
}

int RegionType(const QRegion& r) {
    if (r.isEmpty()) return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// The outline geometry of a GDI box: a one-pixel outline covers l..r-1.
QRectF OutlineBox(const QRect& box) {
    return QRectF(box.left(), box.top(), box.width() - 1, box.height() - 1);
}

// The same for curves drawn with a one-pixel pen on pixels: the painter's
// aliased curves touch all four sides of l..r-1 by t..b-1 only on this box
// (found by measuring every size up to 70 by 70).
QRectF ThinCurveBox(const QRect& box) {
    return QRectF(box.left() + 0.3, box.top() + 0.3, box.width() - 0.775, box.height() - 0.775);
}

} // namespace

bool SourceOnImage(QSize Size, QRectF& Source, QRectF& Target, bool MirrorX, bool MirrorY) {
    // One axis: the source's ends s0 < s1 on an image of n pixels, the target's t0 < t1.
    const auto axis = [](double& s0, double& s1, int n, double& t0, double& t1, bool mirror) {
        const double c0 = std::max(s0, 0.0), c1 = std::min(s1, static_cast<double>(n));
        if (c1 <= c0) return false;
        const double scale = (t1 - t0) / (s1 - s0);
        const double low = (c0 - s0) * scale, high = (s1 - c1) * scale;
        t0 += mirror ? high : low;
        t1 -= mirror ? low : high;
        s0 = c0;
        s1 = c1;
        return true;
    };
    double sx0 = Source.left(), sx1 = Source.right(), sy0 = Source.top(), sy1 = Source.bottom();
    double tx0 = Target.left(), tx1 = Target.right(), ty0 = Target.top(), ty1 = Target.bottom();
    if (Source.isEmpty() || !axis(sx0, sx1, Size.width(), tx0, tx1, MirrorX) ||
        !axis(sy0, sy1, Size.height(), ty0, ty1, MirrorY))
        return false;
    Source = QRectF(QPointF(sx0, sy0), QPointF(sx1, sy1));
    Target = QRectF(QPointF(tx0, ty0), QPointF(tx1, ty1));
    return true;
}

DeviceContext::DeviceContext(QImage* external, HBITMAP bitmap, QPaintDevice* device, int dpi)
    : image_(external), device_(device), dpi_(dpi > 0 ? dpi : 96) {
    st_.pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
    st_.brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    st_.font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    GdiRetain(st_.pen);
    GdiRetain(st_.brush);
    GdiRetain(st_.font);
    if (bitmap) Select(bitmap);
}

DeviceContext::~DeviceContext() {
    EndPainting();
    auto drop = [](State& s) {
        GdiRelease(s.pen);
        GdiRelease(s.brush);
        GdiRelease(s.font);
    };
    for (State& s : saved_) drop(s);
    drop(st_);
    if (bitmap_) {
        bitmap_->impl->selectedInto = nullptr;
        GdiRelease(bitmap_);
    }
}

bool DeviceContext::EndPainting() {
    bool ended = true;
    if (painter_) {
        ended = !painter_->isActive() || painter_->end();
        painter_.reset();
    }
    bits_ = nullptr;
    penDirty_ = true;
    return ended;
}

bool DeviceContext::Drawable() const {
    if (bits_) return true; // the rasteriser holds the pixels of a live image
    if (image_) return !image_->isNull();
    return device_ != nullptr;
}

QPainter& DeviceContext::LinePainter() {
    const bool keep = painterHasLine_ && painter_ && !penDirty_;
    QPainter& p = Painter();
    if (!keep) {
        p.setCompositionMode(MixMode(st_.rop2));
        p.setPen(MakeQPen());
        p.setBrush(Qt::NoBrush);
        p.setBackgroundMode(st_.bkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
        p.setBackground(QBrush(ToQColor(st_.bkColor)));
    }
    painterHasLine_ = true;
    return p;
}

QPainter& DeviceContext::StyledLinePainter() {
    QPainter& p = LinePainter();
    QPen pen = p.pen();
    if (pen.style() != Qt::CustomDashLine) return p;
    // Qt measures a pattern in pen widths (a hairline's in pixels) and starts it at every call.
    const double unit = std::max(1.0, pen.widthF());
    double period = 0;
    for (const qreal d : pen.dashPattern()) period += d * unit;
    if (period > 0) styleLength_ = std::fmod(styleLength_, period);
    pen.setDashOffset(styleLength_ / unit);
    p.setPen(pen);
    return p;
}

QPainter& DeviceContext::Painter() {
    painterHasLine_ = false;
    if (!painter_) {
        painter_ = std::make_unique<QPainter>();
        QPaintDevice* pd = image_ ? static_cast<QPaintDevice*>(image_) : device_;
        painter_->begin(pd);
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
        clipDirty_ = true;
    }
    if (clipDirty_) {
        // No clip is the whole surface as a clip: Qt's raster painter can ignore a complex clip
        // set after clipping was turned off.
        if (shapeBox_)
            painter_->setClipRegion(st_.clip ? *st_.clip & *shapeBox_ : QRegion(*shapeBox_));
        else if (st_.clip)
            painter_->setClipRegion(*st_.clip);
        else
            painter_->setClipRect(SurfaceRect());
        clipDirty_ = false;
    }
    return *painter_;
}

// ---------------------------------------------------------------------------
// Objects

HGDIOBJ DeviceContext::Select(HGDIOBJ obj) {
    auto swap = [&](auto& field) -> HGDIOBJ {
        using H = std::remove_reference_t<decltype(field)>;
        H old = field;
        GdiRetain(obj);
        field = static_cast<H>(obj);
        penDirty_ = true;
        // A deleted object goes with its last selection: no handle to it comes back.
        return GdiRelease(old) ? nullptr : old;
    };
    switch (obj->kind) {
    case GdiKind::Pen:
        return swap(st_.pen);
    case GdiKind::Brush:
        return swap(st_.brush);
    case GdiKind::Font:
        return swap(st_.font);
    case GdiKind::Bitmap: {
        auto* bm = static_cast<HBITMAP>(obj);
        if (bm->impl->selectedInto && bm->impl->selectedInto != this) return nullptr; // one context at a time
        if (!bitmap_ && !memory_ && !screen_) return nullptr;                         // only memory contexts
        EndPainting();
        HBITMAP old = bitmap_;
        GdiRetain(bm);
        bm->impl->selectedInto = this;
        bitmap_ = bm;
        image_ = &bm->impl->image;
        if (old && old != bm) old->impl->selectedInto = nullptr;
        return GdiRelease(old) ? nullptr : old;
    }
    default:
        return nullptr;
    }
}

HGDIOBJ DeviceContext::Current(GdiKind kind) const {
    switch (kind) {
    case GdiKind::Pen:
        return st_.pen;
    case GdiKind::Brush:
        return st_.brush;
    case GdiKind::Font:
        return st_.font;
    case GdiKind::Bitmap:
        return bitmap_;
    default:
        return nullptr;
    }
}

int DeviceContext::Save() {
    saved_.push_back(st_);
    GdiRetain(st_.pen);
    GdiRetain(st_.brush);
    GdiRetain(st_.font);
    return static_cast<int>(saved_.size());
}

bool DeviceContext::Restore(int saved) {
    const int depth = static_cast<int>(saved_.size());
    const int target = saved < 0 ? depth + saved + 1 : saved;
    if (target < 1 || target > depth) return false;
    while (static_cast<int>(saved_.size()) > target) {
        State& s = saved_.back();
        GdiRelease(s.pen);
        GdiRelease(s.brush);
        GdiRelease(s.font);
        saved_.pop_back();
    }
    GdiRelease(st_.pen);
    GdiRelease(st_.brush);
    GdiRelease(st_.font);
    st_ = std::move(saved_.back()); // the saved references move to the live state
    saved_.pop_back();
    penDirty_ = true;
    clipDirty_ = true;
    return true;
}

QRect DeviceContext::SurfaceRect() const {
    if (image_) return QRect(0, 0, image_->width(), image_->height());
    if (device_) return QRect(0, 0, device_->width(), device_->height());
    return QRect();
}

QRegion DeviceContext::SurfaceRegion() const {
    return QRegion(SurfaceRect());
}

int DeviceContext::DeviceCaps(int index) const {
    const QRect s = SurfaceRect();
    // A memory context describes the display it is made for, not the bitmap chosen into it:
    // what is drawn there to be shown keeps the display's proportions (a round pie stays round).
    const bool display = screen_ || !device_;
    const int w = display ? ScreenWidthPixels() : s.width();
    const int h = display ? ScreenHeightPixels() : s.height();
    switch (index) {
    case TECHNOLOGY:
        return device_ ? DT_RASPRINTER : DT_RASDISPLAY;
    case HORZRES:
    case PHYSICALWIDTH:
        return w;
    case VERTRES:
    case PHYSICALHEIGHT:
        return h;
    case HORZSIZE:
        return static_cast<int>(std::lround(w * 25.4 / dpi_));
    case VERTSIZE:
        return static_cast<int>(std::lround(h * 25.4 / dpi_));
    case BITSPIXEL:
        if (image_ && !screen_) return image_->depth() == 24 ? 24 : 32;
        return device_ ? 24 : 32;
    case PLANES:
        return 1;
    case NUMCOLORS:
        return -1;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return dpi_;
    default:
        return 0;
    }
}

// ---------------------------------------------------------------------------
// Coordinates

double DeviceContext::ScaleX() const {
    return st_.mapMode == MM_TEXT ? 1.0 : static_cast<double>(st_.vpExt.cx) / st_.winExt.cx;
}

double DeviceContext::ScaleY() const {
    return st_.mapMode == MM_TEXT ? 1.0 : static_cast<double>(st_.vpExt.cy) / st_.winExt.cy;
}

QPoint DeviceContext::ToDevice(int x, int y) const {
    if (st_.mapMode == MM_TEXT) return QPoint(x - st_.winOrg.X + st_.vpOrg.X, y - st_.winOrg.Y + st_.vpOrg.Y);
    const QPointF d = ToDeviceF(x, y);
    return QPoint(static_cast<int>(std::lround(d.x())), static_cast<int>(std::lround(d.y())));
}

QPointF DeviceContext::ToDeviceF(double x, double y) const {
    return QPointF((x - st_.winOrg.X) * ScaleX() + st_.vpOrg.X, (y - st_.winOrg.Y) * ScaleY() + st_.vpOrg.Y);
}

QPoint DeviceContext::ToLogical(int x, int y) const {
    const double lx = (x - st_.vpOrg.X) / ScaleX() + st_.winOrg.X;
    const double ly = (y - st_.vpOrg.Y) / ScaleY() + st_.winOrg.Y;
    return QPoint(static_cast<int>(std::lround(lx)), static_cast<int>(std::lround(ly)));
}

QRect DeviceContext::DeviceBox(int l, int t, int r, int b) const {
    return NormalRect(ToDevice(l, t), ToDevice(r, b));
}

QRectF DeviceContext::CurveBox(const QRect& box) const {
    const bool thin = image_ && !pathOpen_ && st_.pen->Style() != PS_NULL && DevicePenWidth() <= 1;
    return thin ? ThinCurveBox(box) : OutlineBox(box);
}

// ---------------------------------------------------------------------------
// Pens and brushes on the painter

COLORREF DeviceContext::PenColor() const {
    return st_.pen->dcPen ? st_.dcPenColor : st_.pen->color;
}

COLORREF DeviceContext::BrushColor(HBRUSH b) const {
    return b->dcBrush ? st_.dcBrushColor : b->color;
}

int DeviceContext::DevicePenWidth() const {
    const GdiPen* pen = st_.pen;
    if (!pen->Geometric() || pen->width <= 0) return 1;
    return std::max(1, static_cast<int>(std::lround(pen->width * std::abs(ScaleX()))));
}

QPen DeviceContext::MakeQPen() const {
    const GdiPen* pen = st_.pen;
    const int style = pen->Style();
    if (style == PS_NULL) return QPen(Qt::NoPen);
    QPen qp(ToQColor(MixColor(st_.rop2, PenColor())));
    const int w = DevicePenWidth();
    const bool thin = w <= 1;
    if (thin && device_)
        qp.setWidthF(0); // a hairline of one device dot
    else
        qp.setWidth(w);
    if (thin) {
        qp.setCapStyle(Qt::FlatCap);
        qp.setJoinStyle(Qt::MiterJoin);
    } else {
        switch (pen->style & PS_ENDCAP_MASK) {
        case PS_ENDCAP_SQUARE:
            qp.setCapStyle(Qt::SquareCap);
            break;
        case PS_ENDCAP_FLAT:
            qp.setCapStyle(Qt::FlatCap);
            break;
        default:
            qp.setCapStyle(Qt::RoundCap);
        }
        switch (pen->style & PS_JOIN_MASK) {
        case PS_JOIN_BEVEL:
            qp.setJoinStyle(Qt::BevelJoin);
            break;
        case PS_JOIN_MITER:
            qp.setJoinStyle(Qt::MiterJoin);
            break;
        default:
            qp.setJoinStyle(Qt::RoundJoin);
        }
    }
    // Dash lengths: device pixels for thin pens, pen widths for wide ones.
    const double unit = thin ? 1.0 : 1.0 / w;
    QList<qreal> dashes;
    switch (style) {
    case PS_DASH:
        dashes = thin ? QList<qreal>{18, 6} : QList<qreal>{3, 1};
        break;
    case PS_DOT:
        dashes = thin ? QList<qreal>{3, 3} : QList<qreal>{1, 1};
        break;
    case PS_DASHDOT:
        dashes = thin ? QList<qreal>{9, 6, 3, 6} : QList<qreal>{3, 1, 1, 1};
        break;
    case PS_DASHDOTDOT:
        dashes = thin ? QList<qreal>{9, 3, 3, 3, 3, 3} : QList<qreal>{3, 1, 1, 1, 1, 1};
        break;
    case PS_ALTERNATE:
        dashes = {1, 1};
        break;
    case PS_USERSTYLE:
        for (DWORD d : pen->userStyle) dashes << std::max(0.01, d * (thin ? 1.0 : std::abs(ScaleX())) * unit);
        if (dashes.size() % 2) dashes << dashes.back();
        break;
    default:
        break;
    }
    if (!dashes.isEmpty()) {
        if (thin)
            for (qreal& d : dashes) d *= unit;
        qp.setDashPattern(dashes);
        // Each dash takes the caps: round or square ones, half a width at both ends, would close
        // the standard patterns' gaps one width long. A pattern of the pen's own keeps its caps,
        // so that a dash of length 0 is a dot.
        if (style != PS_USERSTYLE) qp.setCapStyle(Qt::FlatCap);
    }
    return qp;
}

void DeviceContext::SetupBrush(QPainter& p, HBRUSH brush) {
    if (!brush || brush->style == BS_NULL) {
        p.setBrush(Qt::NoBrush);
        return;
    }
    const QColor c = ToQColor(MixColor(st_.rop2, BrushColor(brush)));
    switch (brush->style) {
    case BS_HATCHED:
        p.setBrush(QBrush(c, HatchStyle(brush->hatch)));
        p.setBackgroundMode(st_.bkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
        p.setBackground(QBrush(ToQColor(st_.bkColor)));
        break;
    case BS_PATTERN:
        p.setBrush(brush->pattern ? QBrush(brush->pattern->image) : QBrush(c));
        break;
    default:
        p.setBrush(QBrush(c));
    }
    p.setBrushOrigin(st_.brushOrg.X, st_.brushOrg.Y);
}

// ---------------------------------------------------------------------------
// Lines

bool DeviceContext::MoveTo(int x, int y) {
    StyleFrom(POINT{x, y});
    st_.pos = POINT{x, y};
    if (pathOpen_) path_.moveTo(ToDeviceF(x, y));
    return true;
}

bool DeviceContext::LineTo(int x, int y) {
    const POINT from = st_.pos;
    st_.pos = styleEnd_ = POINT{x, y};
    if (pathOpen_) {
        if (path_.elementCount() == 0) path_.moveTo(ToDeviceF(from.X, from.Y));
        path_.lineTo(ToDeviceF(x, y));
        return true;
    }
    if (!Drawable() || st_.pen->Style() == PS_NULL || st_.rop2 == R2_NOP) return true;
    const QPoint a = ToDevice(from.X, from.Y), b = ToDevice(x, y);
    if (image_) PrepareLine();
    if (CosmeticLine()) {
        RasterSegment(a, b);
        return true;
    }
    if (WideRaster()) {
        const int cap = static_cast<int>(st_.pen->style & PS_ENDCAP_MASK);
        RasterWideSegment(a, b, cap, cap);
        return true;
    }
    QPainter& p = StyledLinePainter();
    p.drawLine(a, b);
    styleLength_ += QLineF(a, b).length();
    return true;
}

bool DeviceContext::Polyline(const POINT* pts, int n, bool moveFirst) {
    if (n <= 0) return true;
    const POINT keep = st_.pos;
    if (pathOpen_) {
        if (moveFirst) MoveTo(pts[0].X, pts[0].Y);
        for (int i = moveFirst ? 1 : 0; i < n; ++i) LineTo(pts[i].X, pts[i].Y);
        if (moveFirst) st_.pos = keep;
        return true;
    }
    if (!Drawable()) return true;
    if (moveFirst) StyleFrom(pts[0]);
    if (image_) PrepareLine();
    if (CosmeticLine() || st_.pen->Style() == PS_NULL) {
        if (moveFirst) MoveTo(pts[0].X, pts[0].Y);
        for (int i = moveFirst ? 1 : 0; i < n; ++i) LineTo(pts[i].X, pts[i].Y);
    } else if (st_.rop2 != R2_NOP) {
        // Wide pens join their segments.
        QPolygon poly;
        if (!moveFirst) poly << ToDevice(st_.pos.X, st_.pos.Y);
        for (int i = 0; i < n; ++i) poly << ToDevice(pts[i].X, pts[i].Y);
        if (WideRaster() && RoundJoinsOnce()) {
            // A round join is a disc on the joint: each segment after the first
            // starts with it, and all but the last end flat there.
            const int cap = static_cast<int>(st_.pen->style & PS_ENDCAP_MASK);
            const qsizetype last = poly.size() - 1;
            for (qsizetype i = 0; i < last; ++i)
                RasterWideSegment(poly[i], poly[i + 1], i == 0 ? cap : PS_ENDCAP_ROUND,
                                  i + 1 == last ? cap : PS_ENDCAP_FLAT);
        } else {
            StyledLinePainter().drawPolyline(poly);
            for (qsizetype i = 1; i < poly.size(); ++i) styleLength_ += QLineF(poly[i - 1], poly[i]).length();
        }
    }
    // Polyline leaves the current position alone; PolylineTo moves it.
    st_.pos = moveFirst ? keep : pts[n - 1];
    styleEnd_ = pts[n - 1];
    return true;
}

bool DeviceContext::RoundJoinsOnce() const {
    if ((st_.pen->style & PS_JOIN_MASK) != PS_JOIN_ROUND) return false;
    switch (st_.rop2) {
    case R2_COPYPEN:
    case R2_NOTCOPYPEN:
    case R2_BLACK:
    case R2_WHITE:
    case R2_MASKPEN:
    case R2_MERGEPEN:
    case R2_MASKNOTPEN:
    case R2_MERGENOTPEN:
        return true;
    default:
        return false;
    }
}

void DeviceContext::OutlineClosed(const std::vector<QPoint>& devPts) {
    ResetStyle();
    for (std::size_t i = 0; i < devPts.size(); ++i) RasterSegment(devPts[i], devPts[(i + 1) % devPts.size()]);
}

void DeviceContext::FillShape(const QPainterPath& path, HBRUSH brush, int rop2) {
    if (!brush || brush->style == BS_NULL || rop2 == R2_NOP) return;
    QPainter& p = Painter();
    p.setCompositionMode(MixMode(rop2));
    p.setPen(Qt::NoPen);
    SetupBrush(p, brush);
    p.drawPath(path);
}

void DeviceContext::StrokeShape(const QPainterPath& path) {
    if (st_.pen->Style() == PS_NULL || st_.rop2 == R2_NOP) return;
    QPainter& p = Painter();
    p.setCompositionMode(MixMode(st_.rop2));
    p.setPen(MakeQPen());
    p.setBrush(Qt::NoBrush);
    p.setBackgroundMode(st_.bkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
    p.setBackground(QBrush(ToQColor(st_.bkColor)));
    p.drawPath(path);
}

// ---------------------------------------------------------------------------
// Shapes

bool DeviceContext::Polygon(const POINT* pts, int n) {
    if (n < 2) return false;
    std::vector<QPoint> dev;
    dev.reserve(static_cast<std::size_t>(n));
    QPolygonF poly;
    for (int i = 0; i < n; ++i) {
        dev.push_back(ToDevice(pts[i].X, pts[i].Y));
        poly << QPointF(dev.back());
    }
    QPainterPath path;
    path.setFillRule(st_.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    path.addPolygon(poly);
    path.closeSubpath();
    if (pathOpen_) {
        AddToPath(path, false);
        return true;
    }
    if (!Drawable()) return true;
    FillShape(path, st_.brush, st_.rop2);
    if (image_) PrepareLine();
    if (CosmeticLine())
        OutlineClosed(dev);
    else
        StrokeShape(path);
    return true;
}

QRect DeviceContext::FrameBox(QRect box) const {
    if (st_.pen->Style() != PS_INSIDEFRAME) return box;
    const int w = DevicePenWidth();
    box.adjust(w / 2, w / 2, -(w - 1) / 2, -(w - 1) / 2);
    return box;
}

QRectF DeviceContext::ShapeGeometry(const QRect& box) const {
    const int w = DevicePenWidth();
    if (pathOpen_ || st_.pen->Style() != PS_INSIDEFRAME || w <= 1) return CurveBox(box);
    // The pen's outer edge on the box's edges.
    return QRectF(box).adjusted(w / 2.0, w / 2.0, -w / 2.0, -w / 2.0);
}

bool DeviceContext::InkInBox() const {
    return image_ &&
           (st_.pen->Style() == PS_NULL || st_.pen->Style() == PS_INSIDEFRAME || DevicePenWidth() <= 1);
}

void DeviceContext::DrawInBox(const QRect& box, const QPainterPath& path, bool fill) {
    // The painter's aliased curves may stray a pixel past their box on very
    // flat or tiny boxes; the box itself is the limit.
    if (InkInBox()) {
        shapeBox_ = box;
        clipDirty_ = true;
    }
    if (fill) FillShape(path, st_.brush, st_.rop2);
    StrokeShape(path);
    if (shapeBox_) {
        shapeBox_.reset();
        clipDirty_ = true;
    }
}

bool DeviceContext::Rectangle(int l, int t, int r, int b) {
    QRect box = DeviceBox(l, t, r, b);
    if (pathOpen_) {
        QPainterPath sub;
        sub.addRect(OutlineBox(box));
        AddToPath(sub, false);
        return true;
    }
    if (!Drawable() || box.width() <= 0 || box.height() <= 0) return true;
    const int style = st_.pen->Style();
    if (image_) PrepareLine();
    const bool cosmetic = CosmeticLine();
    box = FrameBox(box);
    if (style == PS_NULL) {
        // Without a pen the fill shrinks by the right and bottom edges.
        QPainterPath fill;
        fill.addRect(QRectF(box.left(), box.top(), box.width() - 1, box.height() - 1));
        FillShape(fill, st_.brush, st_.rop2);
        return true;
    }
    if (cosmetic) {
        if (box.width() > 2 && box.height() > 2) {
            QPainterPath inner;
            inner.addRect(QRectF(box.left() + 1, box.top() + 1, box.width() - 2, box.height() - 2));
            FillShape(inner, st_.brush, st_.rop2);
        }
        const int r1 = box.left() + box.width() - 1, b1 = box.top() + box.height() - 1;
        if (box.width() == 1 || box.height() == 1) {
            ResetStyle();
            const bool row = box.height() == 1; // a one-pixel box is a row of one
            RasterSegment(QPoint(box.left(), box.top()),
                          row ? QPoint(r1 + 1, box.top()) : QPoint(box.left(), b1 + 1));
            return true;
        }
        OutlineClosed(
            {QPoint(box.left(), box.top()), QPoint(r1, box.top()), QPoint(r1, b1), QPoint(box.left(), b1)});
        return true;
    }
    QPainterPath path;
    path.addRect(OutlineBox(box));
    FillShape(path, st_.brush, st_.rop2);
    StrokeShape(path);
    return true;
}

bool DeviceContext::RoundRect(int l, int t, int r, int b, int w, int h) {
    const QRect box = DeviceBox(l, t, r, b);
    const QRectF geometry = ShapeGeometry(box);
    QPainterPath path;
    const double rx = std::min(std::abs(w * ScaleX()) / 2.0, geometry.width() / 2.0);
    const double ry = std::min(std::abs(h * ScaleY()) / 2.0, geometry.height() / 2.0);
    path.addRoundedRect(geometry, rx, ry);
    if (pathOpen_) {
        AddToPath(path, false);
        return true;
    }
    if (!Drawable() || box.width() <= 0 || box.height() <= 0) return true;
    DrawInBox(box, path, true);
    return true;
}

bool DeviceContext::Ellipse(int l, int t, int r, int b) {
    const QRect box = DeviceBox(l, t, r, b);
    QPainterPath path;
    if (pathOpen_) {
        path.addEllipse(ShapeGeometry(box));
        AddToPath(path, false);
        return true;
    }
    if (!Drawable() || box.width() <= 0 || box.height() <= 0) return true;
    if (image_) PrepareLine();
    if (SpanEllipse(box)) return true;
    path.addEllipse(ShapeGeometry(box));
    DrawInBox(box, path, true);
    return true;
}

QPainterPath DeviceContext::ArcPath(ArcKind kind, const QRectF& box, int x1, int y1, int x2, int y2,
                                    QPointF* start, QPointF* end) const {
    const QPointF c = box.center();
    const double rx = std::max(box.width() / 2.0, 1e-9), ry = std::max(box.height() / 2.0, 1e-9);
    // The radial points give angles of the ellipse's parameter, as Qt measures arcs.
    const QPointF p1 = ToDeviceF(x1, y1), p2 = ToDeviceF(x2, y2);
    const double rad = 180.0 / std::numbers::pi;
    const double a1 = std::atan2(-(p1.y() - c.y()) / ry, (p1.x() - c.x()) / rx) * rad;
    const double a2 = std::atan2(-(p2.y() - c.y()) / ry, (p2.x() - c.x()) / rx) * rad;
    double span = std::fmod(a2 - a1 + 720.0, 360.0);
    if (span < 1e-9) span = 360.0; // the same radial: the whole ellipse
    // On screen (y down) the system's counter-clockwise is Qt's positive angle.
    const bool ccw = (st_.arcDirection == AD_COUNTERCLOCKWISE) == (ScaleY() > 0);
    if (!ccw) span = span - 360.0 == 0 ? -360.0 : span - 360.0;
    QPainterPath path;
    if (kind == ArcKind::Pie) {
        path.moveTo(c);
        path.arcTo(box, a1, span);
        path.closeSubpath();
    } else {
        path.arcMoveTo(box, a1);
        path.arcTo(box, a1, span);
        if (kind == ArcKind::Chord) path.closeSubpath();
    }
    if (start) {
        QPainterPath s;
        s.arcMoveTo(box, a1);
        *start = s.currentPosition();
    }
    if (end) {
        QPainterPath e;
        e.arcMoveTo(box, a1 + span);
        *end = e.currentPosition();
    }
    return path;
}

bool DeviceContext::ArcShape(ArcKind kind, int l, int t, int r, int b, int x1, int y1, int x2, int y2) {
    const QRect outer = DeviceBox(l, t, r, b);
    // Pies and chords are boxes an inside-frame pen stays in; arcs are lines.
    const bool framed = !pathOpen_ && (kind == ArcKind::Pie || kind == ArcKind::Chord);
    QPointF start, end;
    QPainterPath path =
        ArcPath(kind, framed ? ShapeGeometry(outer) : CurveBox(outer), x1, y1, x2, y2, &start, &end);
    if (kind == ArcKind::ArcTo) {
        QPainterPath withLine;
        withLine.moveTo(ToDeviceF(st_.pos.X, st_.pos.Y));
        withLine.lineTo(start);
        withLine.connectPath(path);
        path = withLine;
        const QPoint e =
            ToLogical(static_cast<int>(std::lround(end.x())), static_cast<int>(std::lround(end.y())));
        st_.pos = POINT{e.x(), e.y()};
    }
    if (pathOpen_) {
        AddToPath(path, kind == ArcKind::ArcTo);
        return true;
    }
    if (!Drawable()) return true;
    if (kind == ArcKind::ArcTo) {
        StrokeShape(path); // its line may come from anywhere
        return true;
    }
    if (outer.width() <= 0 || outer.height() <= 0) return true;
    DrawInBox(outer, path, kind == ArcKind::Pie || kind == ArcKind::Chord);
    return true;
}

bool DeviceContext::FillRect(const RECT& r, HBRUSH brush) {
    if (!Drawable()) return true;
    const QRect box = NormalRect(ToDevice(r.Left, r.Top), ToDevice(r.Right, r.Bottom));
    if (r.Right <= r.Left || r.Bottom <= r.Top || box.isEmpty()) return true;
    QPainterPath path;
    path.addRect(QRectF(box));
    FillShape(path, brush, R2_COPYPEN);
    return true;
}

bool DeviceContext::PatBlt(int x, int y, int w, int h, DWORD rop) {
    if (!Drawable()) return true;
    const QRect box = NormalRect(ToDevice(x, y), ToDevice(x + w, y + h));
    if (box.isEmpty()) return true;
    QPainterPath path;
    path.addRect(QRectF(box));
    QPainter& p = Painter();
    switch (rop) {
    case PATCOPY:
        if (st_.brush && st_.brush->style == BS_SOLID) { // bands of gradients: a plain fill is quickest
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.fillRect(box, ToQColor(BrushColor(st_.brush)));
        } else {
            FillShape(path, st_.brush, R2_COPYPEN);
        }
        break;
    case PATINVERT:
        FillShape(path, st_.brush, R2_XORPEN);
        break;
    case DSTINVERT:
        p.setCompositionMode(QPainter::RasterOp_NotDestination);
        p.fillRect(box, Qt::black);
        break;
    case BLACKNESS:
    case WHITENESS:
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(box, rop == BLACKNESS ? Qt::black : Qt::white);
        break;
    default:
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Text

namespace {
bool SameFont(const LOGFONTW& a, const LOGFONTW& b) {
    return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
           a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
           a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
           a.lfOutPrecision == b.lfOutPrecision && a.lfClipPrecision == b.lfClipPrecision &&
           a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
           a.lfFaceName == b.lfFaceName;
}
} // namespace

namespace {
// Qt keeps a glyph of a face it cannot scale smoothly (such as the box it draws for a
// character no face has) as one picture of the glyph's full size, whatever that size: at
// the tallest font a file may ask for, 256 MB for one character, kept while the font is.
// Text taller than this is filled as its outlines instead.
constexpr int kLargestGlyphPicture = 2048;

// The Qt font of the selected font, made again only when the font, its spacing, the mapping or
// the text antialiasing changed: a chart draws thousands of labels in one font.
const QFont& DeviceFont(DeviceContext& dc) {
    DeviceContext::FontCache& c = dc.CachedFont();
    const LOGFONTW& log = dc.St().font->log;
    const double sx = std::abs(dc.ScaleX()), sy = std::abs(dc.ScaleY());
    const bool aa = GdiTextAntialiasing();
    if (!c.font || !SameFont(c.log, log) || c.charExtra != dc.St().charExtra || c.scaleX != sx ||
        c.scaleY != sy || c.antialias != aa) {
        QFont f = ToQFont(log, sy);
        if (dc.St().charExtra != 0) f.setLetterSpacing(QFont::AbsoluteSpacing, dc.St().charExtra * sx);
        c = {log, dc.St().charExtra, sx, sy, aa, std::move(f)};
    }
    return *c.font;
}
} // namespace

SIZE DeviceContext::TextExtent(const Char* text, int count) {
    const QFont& f = DeviceFont(*this);
    const QFontMetrics fm(f);
    const QString s = QString::fromUtf16(text, count);
    const int w = fm.horizontalAdvance(s);
    const int h = fm.ascent() + fm.descent();
    return SIZE{static_cast<int>(std::lround(w / std::abs(ScaleX()))),
                static_cast<int>(std::lround(h / std::abs(ScaleY())))};
}

TEXTMETRICW DeviceContext::TextMetrics() {
    const QFont& f = DeviceFont(*this);
    const QFontMetrics fm(f);
    const double sy = std::abs(ScaleY()), sx = std::abs(ScaleX());
    auto ly = [&](int v) { return static_cast<LONG>(std::lround(v / sy)); };
    auto lx = [&](int v) { return static_cast<LONG>(std::lround(v / sx)); };
    TEXTMETRICW tm;
    tm.tmAscent = ly(fm.ascent());
    tm.tmDescent = ly(fm.descent());
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = std::max<LONG>(0, tm.tmHeight - ly(f.pixelSize()));
    tm.tmExternalLeading = std::max<LONG>(0, ly(fm.leading()));
    tm.tmAveCharWidth = lx(fm.averageCharWidth());
    tm.tmMaxCharWidth = lx(fm.maxWidth());
    tm.tmWeight = st_.font->log.lfWeight == 0 ? FW_NORMAL : st_.font->log.lfWeight;
    tm.tmItalic = st_.font->log.lfItalic;
    tm.tmUnderlined = st_.font->log.lfUnderline;
    tm.tmStruckOut = st_.font->log.lfStrikeOut;
    tm.tmCharSet = st_.font->log.lfCharSet;
    // Installed faces are outlines; the pitch bit is set for variable pitch.
    tm.tmPitchAndFamily = TMPF_VECTOR | TMPF_TRUETYPE;
    if (!QFontInfo(f).fixedPitch()) tm.tmPitchAndFamily |= TMPF_FIXED_PITCH;
    return tm;
}

bool DeviceContext::TextOut(int x, int y, const Char* text, int count) {
    const bool updateCp = (st_.textAlign & TA_UPDATECP) != 0;
    if (updateCp) {
        x = st_.pos.X;
        y = st_.pos.Y;
    }
    const QFont& f = DeviceFont(*this);
    const QFontMetrics fm(f);
    const QString s = QString::fromUtf16(text, count);
    // The advance only where something depends on it: left-aligned transparent text needs none.
    const bool needWidth =
        updateCp || (st_.textAlign & TA_CENTER) != TA_LEFT || (st_.bkMode == OPAQUE && !pathOpen_);
    const int width = needWidth ? fm.horizontalAdvance(s) : 0;
    const int ascent = fm.ascent(), descent = fm.descent();
    const QPoint at = ToDevice(x, y);
    int dx = 0;
    switch (st_.textAlign & TA_CENTER) {
    case TA_RIGHT:
        dx = -width;
        break;
    case TA_CENTER:
        dx = -width / 2;
        break;
    default:
        break;
    }
    int baseline = ascent; // TA_TOP: the reference point is the cell's top
    if ((st_.textAlign & TA_BASELINE) == TA_BASELINE)
        baseline = 0;
    else if (st_.textAlign & TA_BOTTOM)
        baseline = -descent;
    if (updateCp && (st_.textAlign & TA_CENTER) == TA_LEFT) {
        const QPoint next = ToLogical(at.x() + static_cast<int>(std::lround(width * textStretch)), at.y());
        st_.pos.X = next.x();
    }
    QTransform xf;
    xf.translate(at.x(), at.y());
    const double angle = st_.font->log.lfEscapement / 10.0;
    if (angle != 0) xf.rotate(-angle * (ScaleY() > 0 ? 1 : -1));
    if (textStretch != 1) xf.scale(textStretch, 1);
    if (pathOpen_) {
        QPainterPath sub;
        sub.addText(QPointF(dx, baseline), f, s);
        AddToPath(xf.map(sub), false);
        return true;
    }
    if (!Drawable() || count == 0) return true;
    QPainter& p = Painter();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver); // the mix mode never applies to text
    p.save();
    p.setTransform(xf);
    if (st_.bkMode == OPAQUE)
        p.fillRect(QRect(dx, baseline - ascent, width, ascent + descent), ToQColor(st_.bkColor));
    const bool antialias = f.styleStrategy() != QFont::NoAntialias;
    if (f.pixelSize() > kLargestGlyphPicture && p.paintEngine()->type() == QPaintEngine::Raster) {
        // Filled as outlines, which is how Qt draws large glyphs of outline faces anyway.
        QPainterPath glyphs;
        glyphs.setFillRule(Qt::WindingFill); // an underline over a letter adds to it
        glyphs.addText(QPointF(dx, baseline), f, s);
        p.setRenderHint(QPainter::Antialiasing, antialias);
        p.fillPath(glyphs, ToQColor(st_.textColor));
    } else {
        p.setRenderHint(QPainter::TextAntialiasing, antialias);
        p.setFont(f);
        p.setPen(ToQColor(st_.textColor));
        p.setBackgroundMode(Qt::TransparentMode);
        p.drawText(QPoint(dx, baseline), s);
    }
    p.restore();
    return true;
}

// ---------------------------------------------------------------------------
// Pixels and blits

COLORREF DeviceContext::SetPixel(int x, int y, COLORREF c) {
    const QPoint d = ToDevice(x, y);
    if (!Drawable() || !Visible(d.x(), d.y())) return CLR_INVALID;
    if (image_) {
        PrepareLine();
        if (bpp_ == 3 || bpp_ == 4) {
            WritePixel(d.x(), d.y(), R2_COPYPEN, ToRgb(c));
            return c;
        }
    }
    QPainter& p = Painter();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(QRect(d.x(), d.y(), 1, 1), ToQColor(c));
    return c;
}

COLORREF DeviceContext::GetPixel(int x, int y) {
    const QPoint d = ToDevice(x, y);
    if (!image_ || image_->isNull() || !Visible(d.x(), d.y())) return CLR_INVALID;
    const QRgb px = image_->pixel(d);
    return RGB(static_cast<BYTE>(qRed(px)), static_cast<BYTE>(qGreen(px)), static_cast<BYTE>(qBlue(px)));
}

bool DeviceContext::BitBlt(int x, int y, int w, int h, DeviceContext* src, int sx, int sy, int sw, int sh,
                           DWORD rop) {
    if (!Drawable()) return false;
    const QPoint d0 = ToDevice(x, y), d1 = ToDevice(x + w, y + h);
    const QRect dst = NormalRect(d0, d1);
    if (dst.isEmpty()) return true;
    QPainter::CompositionMode mode = QPainter::CompositionMode_Source;
    switch (rop) {
    case SRCCOPY:
        break;
    case SRCPAINT:
        mode = QPainter::RasterOp_SourceOrDestination;
        break;
    case SRCAND:
        mode = QPainter::RasterOp_SourceAndDestination;
        break;
    case SRCINVERT:
        mode = QPainter::RasterOp_SourceXorDestination;
        break;
    case SRCERASE:
        mode = QPainter::RasterOp_SourceAndNotDestination;
        break;
    case NOTSRCCOPY:
        mode = QPainter::RasterOp_NotSource;
        break;
    case NOTSRCERASE:
        mode = QPainter::RasterOp_NotSourceAndNotDestination;
        break;
    case MERGEPAINT:
        mode = QPainter::RasterOp_NotSourceOrDestination;
        break;
    default:
        return PatBlt(x, y, w, h, rop); // the operations without a source
    }
    if (!src || !src->image_ || src->image_->isNull()) return false;
    const QPoint s0 = src->ToDevice(sx, sy), s1 = src->ToDevice(sx + sw, sy + sh);
    const QRect srcRect = NormalRect(s0, s1);
    if (srcRect.isEmpty()) return true;
    const bool mirrorX = (d1.x() < d0.x()) != (s1.x() < s0.x());
    const bool mirrorY = (d1.y() < d0.y()) != (s1.y() < s0.y());
    QPainter& p = Painter();
    p.setCompositionMode(mode);
    if (src == this || mirrorX || mirrorY) {
        QRectF source(srcRect), target(dst);
        if (!SourceOnImage(src->image_->size(), source, target, mirrorX, mirrorY)) return true;
        QImage part = src->image_->copy(source.toRect());
        if (mirrorX || mirrorY) part = part.mirrored(mirrorX, mirrorY);
        p.drawImage(target, part, QRectF(part.rect()));
    } else {
        p.drawImage(QRectF(dst), *src->image_, QRectF(srcRect));
    }
    return true;
}

bool DeviceContext::AlphaBlend(int x, int y, int w, int h, DeviceContext* src, int sx, int sy, int sw, int sh,
                               BYTE alpha) {
    if (!Drawable() || !src->image_ || src->image_->isNull() || w <= 0 || h <= 0 || sw <= 0 || sh <= 0)
        return false;
    const QRect dst = NormalRect(ToDevice(x, y), ToDevice(x + w, y + h));
    const QRect srcRect = NormalRect(src->ToDevice(sx, sy), src->ToDevice(sx + sw, sy + sh));
    QRectF source(srcRect), target(dst);
    if (dst.isEmpty() || !SourceOnImage(src->image_->size(), source, target, false, false)) return true;
    const QRect inside = source.toRect();
    const QImage part = src->image_->copy(inside).convertToFormat(QImage::Format_RGB32);
    if (!image_) {
        QPainter& p = Painter();
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.setOpacity(alpha / 255.0);
        p.drawImage(target, part, QRectF(part.rect()));
        p.setOpacity(1.0);
        return true;
    }
    // Constant alpha on the pixels: dst = (src * a + dst * (255 - a) + 127) / 255.
    EndPainting();
    const QRect area = dst & SurfaceRect();
    // The source pixel of a target pixel, in part; outside it when it is off the image.
    const auto from = [](int at, int dstFrom, int dstSize, int srcFrom, int srcSize, int partFrom) {
        return static_cast<int>(srcFrom - partFrom +
                                (static_cast<std::int64_t>(at) - dstFrom) * srcSize / dstSize);
    };
    for (int yy = area.top(); yy <= area.bottom(); ++yy)
        for (int xx = area.left(); xx <= area.right(); ++xx) {
            if (!Visible(xx, yy)) continue;
            const int px = from(xx, dst.left(), dst.width(), srcRect.left(), srcRect.width(), inside.left());
            const int py = from(yy, dst.top(), dst.height(), srcRect.top(), srcRect.height(), inside.top());
            if (!part.valid(px, py)) continue;
            const QRgb s = part.pixel(px, py);
            const QRgb d = image_->pixel(xx, yy);
            auto mix = [alpha](int sc, int dc) { return (sc * alpha + dc * (255 - alpha) + 127) / 255; };
            image_->setPixel(xx, yy,
                             qRgb(mix(qRed(s), qRed(d)), mix(qGreen(s), qGreen(d)), mix(qBlue(s), qBlue(d))));
        }
    return true;
}

// ---------------------------------------------------------------------------
// Paths

void DeviceContext::AddToPath(const QPainterPath& sub, bool connect) {
    if (connect && path_.elementCount() > 0)
        path_.connectPath(sub);
    else
        path_.addPath(sub);
}

bool DeviceContext::BeginPath() {
    path_ = QPainterPath();
    path_.setFillRule(st_.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    pathOpen_ = true;
    pathReady_ = false;
    return true;
}

bool DeviceContext::EndPath() {
    if (!pathOpen_) return false;
    pathOpen_ = false;
    pathReady_ = true;
    return true;
}

bool DeviceContext::AbortPath() {
    pathOpen_ = false;
    pathReady_ = false;
    path_ = QPainterPath();
    return true;
}

bool DeviceContext::CloseFigure() {
    if (!pathOpen_) return false;
    path_.closeSubpath();
    return true;
}

bool DeviceContext::DrawPath(bool stroke, bool fill) {
    if (!pathReady_) return false;
    pathReady_ = false;
    if (!Drawable()) return true;
    QPainterPath path = path_;
    path.setFillRule(st_.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    if (fill) {
        path.closeSubpath();
        FillShape(path, st_.brush, st_.rop2);
    }
    if (stroke) StrokeShape(path);
    path_ = QPainterPath();
    return true;
}

bool DeviceContext::WidenPath() {
    if (!pathReady_) return false;
    QPainterPathStroker stroker(MakeQPen());
    stroker.setWidth(DevicePenWidth());
    path_ = stroker.createStroke(path_);
    return true;
}

bool DeviceContext::SelectClipPath(int mode) {
    if (!pathReady_) return false;
    pathReady_ = false;
    // The path's area as device pixels: paint it into a mask and take its region.
    const QRect s = SurfaceRect();
    QImage mask(std::max(1, s.width()), std::max(1, s.height()), QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter mp(&mask);
        mp.setRenderHint(QPainter::Antialiasing, false);
        mp.setPen(Qt::NoPen);
        mp.setBrush(Qt::black);
        QPainterPath path = path_;
        path.setFillRule(st_.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
        mp.drawPath(path);
    }
    const QRegion rgn(QBitmap::fromImage(mask.createAlphaMask()));
    path_ = QPainterPath();
    return CombineClip(&rgn, mode) != RGN_ERROR;
}

// ---------------------------------------------------------------------------
// Clipping

int DeviceContext::CombineClip(const QRegion* rgn, int mode) {
    if (mode == RGN_COPY) {
        if (rgn)
            st_.clip = *rgn;
        else
            st_.clip.reset();
    } else {
        if (!rgn) return RGN_ERROR;
        // Without a clip the whole surface is the region to combine with.
        const QRegion base = st_.clip ? *st_.clip : SurfaceRegion();
        switch (mode) {
        case RGN_AND:
            st_.clip = base & *rgn;
            break;
        case RGN_OR:
            st_.clip = base | *rgn;
            break;
        case RGN_XOR:
            st_.clip = base ^ *rgn;
            break;
        case RGN_DIFF:
            st_.clip = base - *rgn;
            break;
        default:
            return RGN_ERROR;
        }
    }
    clipDirty_ = true;
    penDirty_ = true;
    return st_.clip ? RegionType(*st_.clip & SurfaceRegion()) : RegionType(SurfaceRegion());
}

bool DeviceContext::Visible(int devX, int devY) const {
    if (!SurfaceRect().contains(devX, devY)) return false;
    return !st_.clip || st_.clip->contains(QPoint(devX, devY));
}

// ---------------------------------------------------------------------------
// Frame controls: the system's 13x13 check box and radio button, drawn with
// our own primitives so that recordings see them.

BOOL DrawFrameControl(HDC dc, RECT* r, UINT type, UINT state) {
    if (!dc || !r || type != DFC_BUTTON) return false;
    const int x = r->Left, y = r->Top;
    const bool radio = (state & 0x000F) == DFCS_BUTTONRADIO;
    const bool checked = (state & DFCS_CHECKED) != 0;
    const bool inactive = (state & DFCS_INACTIVE) != 0;
    const COLORREF face = inactive ? GetSysColor(COLOR_BTNFACE) : RGB(255, 255, 255);
    const COLORREF mark = inactive ? GetSysColor(COLOR_GRAYTEXT) : 0;
    const int saved = SaveDC(dc);
    SelectObject(dc, static_cast<HPEN>(GetStockObject(DC_PEN)));
    SelectObject(dc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetROP2(dc, R2_COPYPEN);
    if (radio) {
        SetDCPenColor(dc, GetSysColor(COLOR_BTNSHADOW));
        SetDCBrushColor(dc, face);
        Ellipse(dc, x, y, x + 12, y + 12);
        if (checked) {
            SetDCPenColor(dc, mark);
            SetDCBrushColor(dc, mark);
            Ellipse(dc, x + 4, y + 4, x + 8, y + 8);
        }
    } else {
        SetDCPenColor(dc, GetSysColor(COLOR_BTNSHADOW));
        SetDCBrushColor(dc, face);
        Rectangle(dc, x, y, x + 13, y + 13);
        if (checked) {
            SetDCPenColor(dc, mark);
            for (int i = 0; i < 3; ++i) {
                MoveToEx(dc, x + 3, y + 5 + i, nullptr);
                LineTo(dc, x + 5, y + 7 + i);
                LineTo(dc, x + 10, y + 2 + i);
            }
        }
    }
    RestoreDC(dc, saved);
    return true;
}

void DeviceContext::DrawImage(const QRect& dst, const QImage& img, std::optional<QRgb> key) {
    if (!Drawable() || img.isNull() || dst.isEmpty()) return;
    QImage src = img;
    if (key) {
        src = img.convertToFormat(QImage::Format_ARGB32);
        const QRgb k = *key & 0xFFFFFF;
        for (int y = 0; y < src.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(src.scanLine(y));
            for (int x = 0; x < src.width(); ++x)
                if ((row[x] & 0xFFFFFF) == k) row[x] = 0;
        }
    }
    QPainter& p = Painter();
    p.setCompositionMode(key ? QPainter::CompositionMode_SourceOver : QPainter::CompositionMode_Source);
    p.drawImage(QRectF(dst), src, QRectF(src.rect()));
}
