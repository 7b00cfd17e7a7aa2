// Logical GDI objects, regions, bitmaps and the Win32-shaped entry points.
#include "platform/win32/gdiqt.h"

#include "platform/core/sysutils.h"
#include "platform/win32/gdiemf.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QThread>

#include <array>
#include <cmath>
#include <mutex>
#include <unordered_set>

COLORREF GetSysColor(int index) {
    static constexpr std::array<COLORREF, 31> table = {
        RGB(200, 200, 200), // scroll bar
        RGB(0, 0, 0),       // desktop
        RGB(153, 180, 209), // active caption
        RGB(191, 205, 219), // inactive caption
        RGB(240, 240, 240), // menu
        RGB(255, 255, 255), // window
        RGB(100, 100, 100), // window frame
        RGB(0, 0, 0),       // menu text
        RGB(0, 0, 0),       // window text
        RGB(0, 0, 0),       // caption text
        RGB(180, 180, 180), // active border
        RGB(244, 247, 252), // inactive border
        RGB(171, 171, 171), // application work space
        RGB(51, 153, 255),  // highlight
        RGB(255, 255, 255), // highlight text
        RGB(240, 240, 240), // button face
        RGB(160, 160, 160), // button shadow
        RGB(109, 109, 109), // gray text
        RGB(0, 0, 0),       // button text
        RGB(67, 78, 84),    // inactive caption text
        RGB(255, 255, 255), // button highlight
        RGB(105, 105, 105), // 3D dark shadow
        RGB(227, 227, 227), // 3D light
        RGB(0, 0, 0),       // info text
        RGB(255, 255, 225), // info background
        RGB(0, 0, 0),       // (unused)
        RGB(0, 102, 204),   // hot light
        RGB(185, 209, 234), // gradient active caption
        RGB(215, 228, 242), // gradient inactive caption
        RGB(51, 153, 255),  // menu highlight
        RGB(240, 240, 240), // menu bar
    };
    if (index < 0 || index >= static_cast<int>(table.size())) return 0;
    // The button face is the colour the forms are painted in, the desktop's window colour, so
    // that what is painted in it does not stand out from the form around it.
    if (index == COLOR_BTNFACE && qGuiApp && QThread::currentThread() == qGuiApp->thread()) {
        const QColor face = QGuiApplication::palette().color(QPalette::Window);
        return RGB(face.red(), face.green(), face.blue());
    }
    return table[static_cast<std::size_t>(index)];
}

namespace {

// The live handles of one kind, so that a stale handle fails as it does on
// the system instead of touching freed memory.
template <class T>
class LiveSet {
public:
    T* Add(std::unique_ptr<T> obj) {
        std::lock_guard g(lock_);
        live_.insert(obj.get());
        return obj.release();
    }
    bool Contains(const T* obj) {
        if (!obj) return false;
        std::lock_guard g(lock_);
        return live_.count(obj) != 0;
    }
    // Frees obj when it is live; false otherwise.
    bool Free(T* obj) {
        {
            std::lock_guard g(lock_);
            if (!obj || live_.erase(obj) == 0) return false;
        }
        delete obj;
        return true;
    }
    template <class F>
    void ForEach(F&& f) {
        std::lock_guard g(lock_);
        for (const T* obj : live_) f(const_cast<T*>(obj));
    }

private:
    std::mutex lock_;
    std::unordered_set<const T*> live_;
};

LiveSet<GdiObject>& Objects() {
    static LiveSet<GdiObject> set;
    return set;
}

LiveSet<DeviceContext>& Contexts() {
    static LiveSet<DeviceContext> set;
    return set;
}

template <class T>
T* Track(std::unique_ptr<T> obj) {
    T* raw = obj.get();
    Objects().Add(std::move(obj));
    return raw;
}

bool IsLive(const GdiObject* obj) {
    return Objects().Contains(obj);
}

void Destroy(GdiObject* obj) {
    Objects().Free(obj);
}

bool g_textAntialias = true;

} // namespace

void GdiSetTextAntialiasing(bool on) {
    g_textAntialias = on;
}

bool GdiTextAntialiasing() {
    return g_textAntialias;
}

namespace {

struct FontPair {
    std::u16string_view from, to;
};

// Tahoma and the old dialog faces have no free metric twin; the Arial twin
// is the closest in widths among the installed faces.
constexpr FontPair kFontPairs[] = {
    {u"Arial", u"Liberation Sans"},
    {u"Helvetica", u"Liberation Sans"},
    {u"Tahoma", u"Liberation Sans"},
    {u"MS Sans Serif", u"Liberation Sans"},
    {u"MS Shell Dlg", u"Liberation Sans"},
    {u"MS Shell Dlg 2", u"Liberation Sans"},
    {u"Microsoft Sans Serif", u"Liberation Sans"},
    {u"Segoe UI", u"Liberation Sans"},
    {u"System", u"Liberation Sans"},
    {u"Verdana", u"DejaVu Sans"},
    {u"Times New Roman", u"Liberation Serif"},
    {u"Times", u"Liberation Serif"},
    {u"MS Serif", u"Liberation Serif"},
    {u"Courier New", u"Liberation Mono"},
    {u"Courier", u"Liberation Mono"},
    {u"Lucida Console", u"Liberation Mono"},
    {u"Consolas", u"DejaVu Sans Mono"},
    {u"Terminal", u"DejaVu Sans Mono"},
    {u"Fixedsys", u"DejaVu Sans Mono"},
};

} // namespace

String SubstituteFontName(const String& Name) {
    for (const FontPair& p : kFontPairs)
        if (SameText(Name, p.from)) return String(p.to);
    return Name;
}

std::vector<String> SubstitutedFontNames() {
    std::vector<String> names;
    for (const FontPair& p : kFontPairs) names.emplace_back(p.from);
    return names;
}

void GdiRetain(HGDIOBJ obj) {
    if (obj) ++obj->selections;
}

bool GdiRelease(HGDIOBJ obj) {
    if (!obj) return false;
    --obj->selections;
    if (obj->selections > 0 || !obj->deleted || obj->stock) return false;
    Destroy(obj);
    return true;
}

GdiRegion::GdiRegion() : GdiObject(GdiKind::Region), impl(std::make_unique<Impl>()) {}
GdiRegion::~GdiRegion() = default;
GdiBitmap::GdiBitmap() : GdiObject(GdiKind::Bitmap), impl(std::make_unique<Impl>()) {}
GdiBitmap::~GdiBitmap() = default;

QColor ToQColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

QFont ToQFont(const LOGFONTW& lf, double scale) {
    QFont f(QString::fromStdU16String(SubstituteFontName(lf.lfFaceName.empty() ? u"Tahoma" : lf.lfFaceName)));
    int h = lf.lfHeight == 0 ? -11 : lf.lfHeight;
    // A height from a file may be any number: no font is taller than a metafile records one.
    const auto pixels = [scale](int Height) {
        const double size = std::abs(static_cast<double>(Height)) * scale;
        return static_cast<int>(std::lround(std::clamp(size, 1.0, static_cast<double>(emf::kFontLimit))));
    };
    // Negative: the character (em) height; positive: the cell height, which
    // the face's ascent and descent divide.
    if (h < 0) {
        f.setPixelSize(pixels(h));
    } else {
        const int cell = pixels(h);
        f.setPixelSize(cell);
        const QFontMetricsF fm(f);
        const double ratio = fm.height() > 0 ? cell / fm.height() : 1.0;
        f.setPixelSize(std::max(1, static_cast<int>(std::lround(cell * ratio))));
    }
    f.setWeight(static_cast<QFont::Weight>(std::clamp<int>(lf.lfWeight == 0 ? 400 : lf.lfWeight, 100, 900)));
    f.setItalic(lf.lfItalic != 0);
    f.setUnderline(lf.lfUnderline != 0);
    f.setStrikeOut(lf.lfStrikeOut != 0);
    if ((lf.lfPitchAndFamily & 3) == FIXED_PITCH) f.setFixedPitch(true);
    switch (lf.lfQuality) {
    case NONANTIALIASED_QUALITY:
        f.setStyleStrategy(QFont::NoAntialias);
        break;
    case ANTIALIASED_QUALITY:
    case CLEARTYPE_QUALITY:
        f.setStyleStrategy(QFont::PreferAntialias);
        break;
    default:
        f.setStyleStrategy(g_textAntialias ? QFont::PreferAntialias : QFont::NoAntialias);
    }
    return f;
}

// ---------------------------------------------------------------------------
// Pens, brushes, fonts

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH& brush, DWORD styleCount, const DWORD* styles) {
    auto p = std::make_unique<GdiPen>();
    p->style = style;
    p->width = static_cast<int>(width);
    p->color = brush.lbColor;
    if (brush.lbStyle == BS_NULL) p->style = (style & ~static_cast<DWORD>(PS_STYLE_MASK)) | PS_NULL;
    if ((style & PS_STYLE_MASK) == PS_USERSTYLE && styles)
        p->userStyle.assign(styles, styles + std::min<DWORD>(styleCount, 16));
    if (!p->Geometric()) p->width = 1; // cosmetic pens are one device pixel
    return Track(std::move(p));
}

HPEN CreatePen(int style, int width, COLORREF color) {
    auto p = std::make_unique<GdiPen>();
    const int s = style & PS_STYLE_MASK;
    // A wide pen cannot be styled: it draws solid.
    p->style = static_cast<DWORD>((width > 1 && s >= PS_DASH && s <= PS_DASHDOTDOT) ? PS_SOLID : s);
    p->width = std::max(0, width);
    p->color = color;
    p->style |= PS_GEOMETRIC;
    return Track(std::move(p));
}

HPEN CreatePenIndirect(const LOGPEN& lp) {
    return CreatePen(static_cast<int>(lp.lopnStyle), lp.lopnWidth.X, lp.lopnColor);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH& lb) {
    auto b = std::make_unique<GdiBrush>();
    b->style = lb.lbStyle;
    b->color = lb.lbColor;
    b->hatch = static_cast<int>(lb.lbHatch);
    if (lb.lbStyle == BS_PATTERN) {
        auto* bm = reinterpret_cast<HBITMAP>(lb.lbHatch);
        if (!IsLive(bm)) return nullptr;
        auto pat = std::make_shared<GdiPattern>();
        pat->image = bm->impl->image.convertToFormat(QImage::Format_RGB32);
        b->pattern = std::move(pat);
        b->hatch = 0;
    }
    return Track(std::move(b));
}

HBRUSH CreateSolidBrush(COLORREF color) {
    return CreateBrushIndirect(LOGBRUSH{BS_SOLID, color, 0});
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
    return CreateBrushIndirect(LOGBRUSH{BS_HATCHED, color, static_cast<std::uintptr_t>(hatch)});
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
    return CreateBrushIndirect(LOGBRUSH{BS_PATTERN, 0, reinterpret_cast<std::uintptr_t>(bitmap)});
}

HFONT CreateFontIndirectW(const LOGFONTW& lf) {
    auto f = std::make_unique<GdiFont>();
    f->log = lf;
    return Track(std::move(f));
}

HGDIOBJ GetStockObject(int index) {
    struct Stock {
        std::array<GdiObject*, 20> objs{};
        Stock() {
            auto brush = [](UINT style, COLORREF c) {
                auto b = std::make_unique<GdiBrush>();
                b->style = style;
                b->color = c;
                return b;
            };
            auto pen = [](int style, COLORREF c) {
                auto p = std::make_unique<GdiPen>();
                p->style = static_cast<DWORD>(style);
                p->width = 1;
                p->color = c;
                return p;
            };
            objs[WHITE_BRUSH] = Track(brush(BS_SOLID, RGB(255, 255, 255)));
            objs[LTGRAY_BRUSH] = Track(brush(BS_SOLID, RGB(192, 192, 192)));
            objs[GRAY_BRUSH] = Track(brush(BS_SOLID, RGB(128, 128, 128)));
            objs[DKGRAY_BRUSH] = Track(brush(BS_SOLID, RGB(64, 64, 64)));
            objs[BLACK_BRUSH] = Track(brush(BS_SOLID, 0));
            objs[NULL_BRUSH] = Track(brush(BS_NULL, 0));
            objs[WHITE_PEN] = Track(pen(PS_SOLID, RGB(255, 255, 255)));
            objs[BLACK_PEN] = Track(pen(PS_SOLID, 0));
            objs[NULL_PEN] = Track(pen(PS_NULL, 0));
            auto font = std::make_unique<GdiFont>();
            font->log.lfHeight = -11;
            font->log.lfFaceName = u"Tahoma";
            objs[SYSTEM_FONT] = Track(std::move(font));
            auto gui = std::make_unique<GdiFont>();
            gui->log.lfHeight = -11;
            gui->log.lfFaceName = u"Tahoma";
            objs[DEFAULT_GUI_FONT] = Track(std::move(gui));
            auto dcBrush = brush(BS_SOLID, RGB(255, 255, 255));
            dcBrush->dcBrush = true;
            objs[DC_BRUSH] = Track(std::move(dcBrush));
            auto dcPen = pen(PS_SOLID, 0);
            dcPen->dcPen = true;
            objs[DC_PEN] = Track(std::move(dcPen));
            for (GdiObject* o : objs)
                if (o) o->stock = true;
        }
    };
    static Stock stock;
    if (index < 0 || index >= static_cast<int>(stock.objs.size())) return nullptr;
    return stock.objs[static_cast<std::size_t>(index)];
}

BOOL DeleteObject(HGDIOBJ object) {
    if (!IsLive(object)) return false;
    if (object->stock) return true;
    if (object->selections > 0) {
        object->deleted = true; // freed when the last context lets it go
        return true;
    }
    Destroy(object);
    return true;
}

int GetObjectW(HPEN pen, LOGPEN* out) {
    if (!IsLive(pen) || !out) return 0;
    out->lopnStyle = pen->style & (PS_STYLE_MASK | PS_ENDCAP_MASK | PS_JOIN_MASK);
    out->lopnWidth = POINT{pen->width, 0};
    out->lopnColor = pen->color;
    return static_cast<int>(sizeof(LOGPEN));
}

int GetObjectW(HBRUSH brush, LOGBRUSH* out) {
    if (!IsLive(brush) || !out) return 0;
    *out = LOGBRUSH{brush->style, brush->color, static_cast<std::uintptr_t>(brush->hatch)};
    return static_cast<int>(sizeof(LOGBRUSH));
}

int GetObjectW(HFONT font, LOGFONTW* out) {
    if (!IsLive(font) || !out) return 0;
    *out = font->log;
    return static_cast<int>(sizeof(LOGFONTW));
}

// ---------------------------------------------------------------------------
// Regions

namespace {

HRGN NewRegion(QRegion r) {
    auto rgn = std::make_unique<GdiRegion>();
    rgn->impl->region = std::move(r);
    return Track(std::move(rgn));
}

int RegionType(const QRegion& r) {
    if (r.isEmpty()) return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

QRect Normal(int l, int t, int r, int b) {
    if (r < l) std::swap(l, r);
    if (b < t) std::swap(t, b);
    return QRect(l, t, r - l, b - t);
}

} // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return NewRegion(QRegion(Normal(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT& r) {
    return CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
}

namespace {
// The pixels whose centres lie inside the ellipse in the box, row by row; a
// row the curve only grazes keeps its middle pixels, and a row the centre line
// touches spans the whole width, so that the region spans the whole box both
// ways however flat (the painter's own elliptic regions lose their top row).
QRegion EllipseRegion(const QRect& box) {
    const double cx = box.left() + box.width() / 2.0, cy = box.top() + box.height() / 2.0;
    const double a = box.width() / 2.0, b = box.height() / 2.0;
    std::vector<QRect> rows;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const double dy = std::abs(y + 0.5 - cy) <= 0.5 ? 0.0 : (y + 0.5 - cy) / b;
        const double half = a * std::sqrt(std::max(0.0, 1 - dy * dy));
        int x0 = static_cast<int>(std::ceil(cx - half - 0.5)),
            x1 = static_cast<int>(std::floor(cx + half - 0.5));
        if (x1 < x0) {
            x0 = static_cast<int>(std::floor(cx - 0.5));
            x1 = static_cast<int>(std::ceil(cx - 0.5));
        }
        if (!rows.empty() && rows.back().left() == x0 && rows.back().right() == x1)
            rows.back().setBottom(y); // the same span: one band
        else
            rows.emplace_back(QPoint(x0, y), QPoint(x1, y));
    }
    QRegion r;
    r.setRects(rows.data(), static_cast<int>(rows.size()));
    return r;
}
} // namespace

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    const QRect box = Normal(left, top, right, bottom);
    if (box.isEmpty()) return NewRegion(QRegion());
    return NewRegion(EllipseRegion(box));
}

HRGN CreateEllipticRgnIndirect(const RECT& r) {
    return CreateEllipticRgn(r.Left, r.Top, r.Right, r.Bottom);
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int w, int h) {
    const QRect box = Normal(left, top, right, bottom);
    if (box.isEmpty()) return NewRegion(QRegion());
    QPainterPath path;
    // In floating point: the corner sizes may come from a file, the lowest int among them.
    path.addRoundedRect(QRectF(box), std::abs(static_cast<double>(w)) / 2.0,
                        std::abs(static_cast<double>(h)) / 2.0);
    return NewRegion(QRegion(path.toFillPolygon().toPolygon(), Qt::OddEvenFill));
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    QPolygon poly;
    for (int i = 0; i < count; ++i) poly << QPoint(points[i].X, points[i].Y);
    return NewRegion(QRegion(poly, fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill));
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
    if (!IsLive(dest) || !IsLive(src1)) return RGN_ERROR;
    const QRegion a = src1->impl->region;
    if (mode == RGN_COPY) {
        dest->impl->region = a;
        return RegionType(a);
    }
    if (!IsLive(src2)) return RGN_ERROR;
    const QRegion& b = src2->impl->region;
    switch (mode) {
    case RGN_AND:
        dest->impl->region = a & b;
        break;
    case RGN_OR:
        dest->impl->region = a | b;
        break;
    case RGN_XOR:
        dest->impl->region = a ^ b;
        break;
    case RGN_DIFF:
        dest->impl->region = a - b;
        break;
    default:
        return RGN_ERROR;
    }
    return RegionType(dest->impl->region);
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
    if (!IsLive(rgn)) return false;
    rgn->impl->region = QRegion(Normal(left, top, right, bottom));
    return true;
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
    return IsLive(rgn) && rgn->impl->region.contains(QPoint(x, y));
}

BOOL EqualRgn(HRGN a, HRGN b) {
    return IsLive(a) && IsLive(b) && a->impl->region == b->impl->region;
}

int GetRgnBox(HRGN rgn, RECT* box) {
    if (!IsLive(rgn)) return RGN_ERROR;
    const QRect r = rgn->impl->region.boundingRect();
    if (box) *box = r.isEmpty() ? RECT{} : RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    return RegionType(rgn->impl->region);
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
    if (!IsLive(rgn)) return RGN_ERROR;
    rgn->impl->region.translate(dx, dy);
    return RegionType(rgn->impl->region);
}

// ---------------------------------------------------------------------------
// Bitmaps

namespace {
QImage::Format QtFormat(GdiPixelFormat f) {
    return f == GdiPixelFormat::Bgr24 ? QImage::Format_BGR888 : QImage::Format_RGB32;
}
HBITMAP NewBitmap(QImage image, QImage::Format format) {
    auto bm = std::make_unique<GdiBitmap>();
    bm->impl->image = std::move(image);
    bm->impl->format = format;
    return Track(std::move(bm));
}
void FinishPainting(HBITMAP bm) {
    if (bm->impl->selectedInto) bm->impl->selectedInto->EndPainting();
}
} // namespace

QImage& BitmapImage(HBITMAP bitmap) {
    FinishPainting(bitmap);
    return bitmap->impl->image;
}

HBITMAP CreateBitmapSurface(int width, int height, GdiPixelFormat format) {
    QImage img(std::max(0, width), std::max(0, height), QtFormat(format));
    img.fill(Qt::white);
    return NewBitmap(std::move(img), QtFormat(format));
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    return CreateBitmapSurface(width, height, GdiPixelFormat::Rgb32);
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    HBITMAP bm = CreateBitmapSurface(width, height,
                                     bitsPerPixel == 24 ? GdiPixelFormat::Bgr24 : GdiPixelFormat::Rgb32);
    if (bits && (bitsPerPixel == 24 || bitsPerPixel == 32)) {
        QImage& img = bm->impl->image;
        const int rowBytes = ((width * static_cast<int>(bitsPerPixel) + 15) / 16) * 2; // WORD-aligned rows
        const int copyBytes = width * static_cast<int>(bitsPerPixel) / 8;
        for (int y = 0; y < height; ++y)
            std::memcpy(img.scanLine(y),
                        static_cast<const Byte*>(bits) + static_cast<std::ptrdiff_t>(y) * rowBytes,
                        static_cast<std::size_t>(copyBytes));
    }
    return bm;
}

int BitmapWidth(HBITMAP bitmap) {
    return IsLive(bitmap) ? bitmap->impl->image.width() : 0;
}

int BitmapHeight(HBITMAP bitmap) {
    return IsLive(bitmap) ? bitmap->impl->image.height() : 0;
}

GdiPixelFormat BitmapFormat(HBITMAP bitmap) {
    return bitmap->impl->image.format() == QImage::Format_BGR888 ? GdiPixelFormat::Bgr24
                                                                 : GdiPixelFormat::Rgb32;
}

void ResizeBitmapSurface(HBITMAP bitmap, int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    QImage& old = BitmapImage(bitmap);
    if (old.width() == width && old.height() == height) return;
    QImage img(width, height, bitmap->impl->format);
    img.fill(Qt::white);
    if (!old.isNull() && width > 0 && height > 0) {
        const int w = std::min(width, old.width()), h = std::min(height, old.height());
        const int bytes = w * (old.depth() / 8);
        for (int y = 0; y < h; ++y)
            std::memcpy(img.scanLine(y), old.constScanLine(y), static_cast<std::size_t>(bytes));
    }
    old = std::move(img);
}

void ConvertBitmapSurface(HBITMAP bitmap, GdiPixelFormat format) {
    QImage& img = BitmapImage(bitmap);
    bitmap->impl->format = QtFormat(format);
    if (img.isNull() || img.format() == QtFormat(format)) return;
    img = img.convertToFormat(QtFormat(format));
}

Byte* BitmapScanLine(HBITMAP bitmap, int row) {
    QImage& img = BitmapImage(bitmap);
    if (row < 0 || row >= img.height()) return nullptr;
    return img.scanLine(row);
}

int BitmapBytesPerLine(HBITMAP bitmap) {
    return static_cast<int>(BitmapImage(bitmap).bytesPerLine());
}

HBITMAP CopyBitmapSurface(HBITMAP bitmap) {
    return NewBitmap(BitmapImage(bitmap).copy(), bitmap->impl->format);
}

HBITMAP LoadBitmapSurface(const std::vector<Byte>& data) {
    if (!BitmapFileRowsPresent(data)) return nullptr;
    QImage img;
    if (!img.loadFromData(reinterpret_cast<const uchar*>(data.data()), static_cast<int>(data.size()), "BMP"))
        return nullptr;
    // The file's own depth decides the layout: 24-bit files stay blue-green-red.
    img = img.convertToFormat(BitmapFileDepth(data) == 24 ? QImage::Format_BGR888 : QImage::Format_RGB32);
    const QImage::Format f = img.format();
    return NewBitmap(std::move(img), f);
}

bool SaveBitmapSurface(HBITMAP bitmap, std::vector<Byte>& data) {
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    const QImage& img = BitmapImage(bitmap);
    // An empty bitmap has nothing to write; the format has no zero-size picture.
    if (img.isNull() || !img.save(&buf, "BMP")) return false;
    data.assign(bytes.begin(), bytes.end());
    return true;
}

// ---------------------------------------------------------------------------
// Device contexts

HDC CreateImageDC(QImage* image) {
    auto dc = std::make_unique<DeviceContext>(image, nullptr, nullptr, 96);
    dc->SetTransient(true);
    return Contexts().Add(std::move(dc));
}

HDC AdoptDeviceContext(std::unique_ptr<DeviceContext> dc) {
    return Contexts().Add(std::move(dc));
}

bool DeviceContextLive(HDC dc) {
    return Contexts().Contains(dc);
}

HDC CreateDeviceDC(QPaintDevice* device, int dpi) {
    return Contexts().Add(std::make_unique<DeviceContext>(nullptr, nullptr, device, dpi));
}

namespace {
// A context on a bitmap of one white pixel until another is selected.
HDC NewBitmapDC(bool screen) {
    HBITMAP one = CreateBitmapSurface(1, 1, GdiPixelFormat::Rgb32);
    auto dc = std::make_unique<DeviceContext>(nullptr, one, nullptr, 96);
    if (screen)
        dc->SetScreen(true);
    else
        dc->SetMemory(true);
    DeleteObject(one); // the context holds it until another bitmap replaces it
    return Contexts().Add(std::move(dc));
}
} // namespace

HDC CreateCompatibleDC(HDC) {
    return NewBitmapDC(false);
}

HDC GetDC(HWND) {
    return NewBitmapDC(true);
}

int ReleaseDC(HWND, HDC dc) {
    return Contexts().Free(dc) ? 1 : 0;
}

BOOL DeleteDC(HDC dc) {
    return Contexts().Free(dc);
}

void EndPaintingOn(const QImage* image) {
    Contexts().ForEach([image](DeviceContext* dc) {
        if (dc->Image() == image) dc->EndPainting();
    });
}

namespace {
template <class H>
H SelectTyped(HDC dc, H obj) {
    if (!dc || !IsLive(obj)) return nullptr;
    return static_cast<H>(dc->Select(obj));
}
} // namespace

HPEN SelectObject(HDC dc, HPEN pen) {
    return SelectTyped(dc, pen);
}
HBRUSH SelectObject(HDC dc, HBRUSH brush) {
    return SelectTyped(dc, brush);
}
HFONT SelectObject(HDC dc, HFONT font) {
    return SelectTyped(dc, font);
}
HBITMAP SelectObject(HDC dc, HBITMAP bitmap) {
    return SelectTyped(dc, bitmap);
}
int SelectObject(HDC dc, HRGN region) {
    return SelectClipRgn(dc, region);
}
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    if (!dc || !IsLive(object)) return nullptr;
    if (object->kind == GdiKind::Region) {
        SelectClipRgn(dc, static_cast<HRGN>(object));
        return nullptr;
    }
    return dc->Select(object);
}

HGDIOBJ GetCurrentObject(HDC dc, UINT kind) {
    switch (kind) {
    case OBJ_PEN:
        return dc->Current(GdiKind::Pen);
    case OBJ_BRUSH:
        return dc->Current(GdiKind::Brush);
    case OBJ_FONT:
        return dc->Current(GdiKind::Font);
    case OBJ_BITMAP:
        return dc->Current(GdiKind::Bitmap);
    default:
        return nullptr;
    }
}

int SaveDC(HDC dc) {
    return dc ? dc->Save() : 0;
}
BOOL RestoreDC(HDC dc, int saved) {
    return dc && dc->Restore(saved);
}
int GetDeviceCaps(HDC dc, int index) {
    return dc ? dc->DeviceCaps(index) : 0;
}
// Contexts on surfaces that others own (a control's image) keep their painter
// between calls; a flush finishes them, as the owner's paint does.
BOOL GdiFlush() {
    Contexts().ForEach([](DeviceContext* dc) {
        if (dc->Transient()) dc->EndPainting();
    });
    return true;
}

// Attributes: each returns the previous value.
namespace {
template <class T, class V>
T Swap(HDC dc, T DeviceContext::State::*field, V value) {
    T old = dc->St().*field;
    dc->St().*field = static_cast<T>(value);
    dc->StateChanged();
    return old;
}
} // namespace

COLORREF SetBkColor(HDC dc, COLORREF color) {
    return dc ? Swap(dc, &DeviceContext::State::bkColor, color & 0xFFFFFF) : CLR_INVALID;
}
COLORREF GetBkColor(HDC dc) {
    return dc ? dc->St().bkColor : CLR_INVALID;
}
int SetBkMode(HDC dc, int mode) {
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    return Swap(dc, &DeviceContext::State::bkMode, mode);
}
int GetBkMode(HDC dc) {
    return dc ? dc->St().bkMode : 0;
}
COLORREF SetTextColor(HDC dc, COLORREF color) {
    return dc ? Swap(dc, &DeviceContext::State::textColor, color & 0xFFFFFF) : CLR_INVALID;
}
COLORREF GetTextColor(HDC dc) {
    return dc ? dc->St().textColor : CLR_INVALID;
}
UINT SetTextAlign(HDC dc, UINT align) {
    return dc ? Swap(dc, &DeviceContext::State::textAlign, align) : 0xFFFFFFFF;
}
UINT GetTextAlign(HDC dc) {
    return dc ? dc->St().textAlign : 0xFFFFFFFF;
}
int SetTextCharacterExtra(HDC dc, int extra) {
    return dc ? Swap(dc, &DeviceContext::State::charExtra, extra) : 0x80000000;
}
int GetTextCharacterExtra(HDC dc) {
    return dc ? dc->St().charExtra : 0x80000000;
}
int SetROP2(HDC dc, int mode) {
    if (!dc || mode < R2_BLACK || mode > R2_WHITE) return 0;
    return Swap(dc, &DeviceContext::State::rop2, mode);
}
int GetROP2(HDC dc) {
    return dc ? dc->St().rop2 : 0;
}
int SetPolyFillMode(HDC dc, int mode) {
    if (!dc || (mode != ALTERNATE && mode != WINDING)) return 0;
    return Swap(dc, &DeviceContext::State::polyFillMode, mode);
}
int GetPolyFillMode(HDC dc) {
    return dc ? dc->St().polyFillMode : 0;
}
int SetArcDirection(HDC dc, int direction) {
    if (!dc || (direction != AD_CLOCKWISE && direction != AD_COUNTERCLOCKWISE)) return 0;
    return Swap(dc, &DeviceContext::State::arcDirection, direction);
}
int GetArcDirection(HDC dc) {
    return dc ? dc->St().arcDirection : 0;
}
COLORREF SetDCBrushColor(HDC dc, COLORREF color) {
    return dc ? Swap(dc, &DeviceContext::State::dcBrushColor, color & 0xFFFFFF) : CLR_INVALID;
}
COLORREF SetDCPenColor(HDC dc, COLORREF color) {
    return dc ? Swap(dc, &DeviceContext::State::dcPenColor, color & 0xFFFFFF) : CLR_INVALID;
}
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT old) {
    if (!dc) return false;
    if (old) *old = dc->St().brushOrg;
    dc->St().brushOrg = POINT{x, y};
    return true;
}

int SetMapMode(HDC dc, int mode) {
    if (!dc || (mode != MM_TEXT && mode != MM_ISOTROPIC && mode != MM_ANISOTROPIC)) return 0;
    const int old = dc->St().mapMode;
    dc->St().mapMode = mode;
    if (mode == MM_TEXT) {
        dc->St().winExt = SIZE{1, 1};
        dc->St().vpExt = SIZE{1, 1};
    }
    dc->StateChanged();
    return old;
}
int GetMapMode(HDC dc) {
    return dc ? dc->St().mapMode : 0;
}
BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT old) {
    if (!dc) return false;
    if (old) *old = dc->St().winOrg;
    dc->St().winOrg = POINT{x, y};
    dc->StateChanged();
    return true;
}
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT old) {
    if (!dc) return false;
    if (old) *old = dc->St().vpOrg;
    dc->St().vpOrg = POINT{x, y};
    dc->StateChanged();
    return true;
}
BOOL SetWindowExtEx(HDC dc, int x, int y, LPSIZE old) {
    if (!dc) return false;
    if (old) *old = dc->St().winExt;
    if (dc->St().mapMode == MM_TEXT) return true; // extents are fixed in this mode
    if (x == 0 || y == 0) return false;
    dc->St().winExt = SIZE{x, y};
    dc->StateChanged();
    return true;
}
BOOL SetViewportExtEx(HDC dc, int x, int y, LPSIZE old) {
    if (!dc) return false;
    if (old) *old = dc->St().vpExt;
    if (dc->St().mapMode == MM_TEXT) return true;
    if (x == 0 || y == 0) return false;
    dc->St().vpExt = SIZE{x, y};
    dc->StateChanged();
    return true;
}
BOOL GetWindowOrgEx(HDC dc, LPPOINT p) {
    if (!dc || !p) return false;
    *p = dc->St().winOrg;
    return true;
}
BOOL GetViewportOrgEx(HDC dc, LPPOINT p) {
    if (!dc || !p) return false;
    *p = dc->St().vpOrg;
    return true;
}
BOOL LPtoDP(HDC dc, POINT* points, int count) {
    if (!dc) return false;
    for (int i = 0; i < count; ++i) {
        const QPoint d = dc->ToDevice(points[i].X, points[i].Y);
        points[i] = POINT{d.x(), d.y()};
    }
    return true;
}
BOOL DPtoLP(HDC dc, POINT* points, int count) {
    if (!dc) return false;
    for (int i = 0; i < count; ++i) {
        const QPoint l = dc->ToLogical(points[i].X, points[i].Y);
        points[i] = POINT{l.x(), l.y()};
    }
    return true;
}

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT old) {
    if (!dc) return false;
    if (old) *old = dc->St().pos;
    return dc->MoveTo(x, y);
}
BOOL GetCurrentPositionEx(HDC dc, LPPOINT p) {
    if (!dc || !p) return false;
    *p = dc->St().pos;
    return true;
}
BOOL LineTo(HDC dc, int x, int y) {
    return dc && dc->LineTo(x, y);
}
BOOL Polyline(HDC dc, const POINT* points, int count) {
    return dc && count >= 2 && dc->Polyline(points, count, true);
}
BOOL PolylineTo(HDC dc, const POINT* points, DWORD count) {
    return dc && dc->Polyline(points, static_cast<int>(count), false);
}
BOOL Polygon(HDC dc, const POINT* points, int count) {
    return dc && count >= 2 && dc->Polygon(points, count);
}
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
    return dc && dc->Rectangle(left, top, right, bottom);
}
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int w, int h) {
    return dc && dc->RoundRect(left, top, right, bottom, w, h);
}
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
    return dc && dc->Ellipse(left, top, right, bottom);
}
BOOL EllipsesWithDCBrush(HDC dc, const RECT* boxes, const COLORREF* colors, int count) {
    if (!dc || count < 0 || (count > 0 && (!boxes || !colors))) return false;
    if (count == 0 || dc->EllipsesOnce(boxes, colors, count)) return true;
    BOOL ok = true;
    for (int i = 0; i < count; ++i) {
        SetDCBrushColor(dc, colors[i]);
        ok = Ellipse(dc, boxes[i].Left, boxes[i].Top, boxes[i].Right, boxes[i].Bottom) && ok;
    }
    return ok;
}
BOOL EllipsesWithDCBrushInOnePass(HDC dc) {
    return dc && dc->EllipsesOnceHere();
}
BOOL Arc(HDC dc, int l, int t, int r, int b, int x1, int y1, int x2, int y2) {
    return dc && dc->ArcShape(DeviceContext::ArcKind::Arc, l, t, r, b, x1, y1, x2, y2);
}
BOOL ArcTo(HDC dc, int l, int t, int r, int b, int x1, int y1, int x2, int y2) {
    return dc && dc->ArcShape(DeviceContext::ArcKind::ArcTo, l, t, r, b, x1, y1, x2, y2);
}
BOOL Pie(HDC dc, int l, int t, int r, int b, int x1, int y1, int x2, int y2) {
    return dc && dc->ArcShape(DeviceContext::ArcKind::Pie, l, t, r, b, x1, y1, x2, y2);
}
BOOL Chord(HDC dc, int l, int t, int r, int b, int x1, int y1, int x2, int y2) {
    return dc && dc->ArcShape(DeviceContext::ArcKind::Chord, l, t, r, b, x1, y1, x2, y2);
}
int FillRect(HDC dc, const RECT& r, HBRUSH brush) {
    return dc && IsLive(brush) && dc->FillRect(r, brush);
}
int FrameRect(HDC dc, const RECT& r, HBRUSH brush) {
    if (!dc || !IsLive(brush) || r.Right <= r.Left || r.Bottom <= r.Top) return 0;
    dc->FillRect(RECT{r.Left, r.Top, r.Right, r.Top + 1}, brush);
    dc->FillRect(RECT{r.Left, r.Bottom - 1, r.Right, r.Bottom}, brush);
    dc->FillRect(RECT{r.Left, r.Top, r.Left + 1, r.Bottom}, brush);
    dc->FillRect(RECT{r.Right - 1, r.Top, r.Right, r.Bottom}, brush);
    return 1;
}
BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop) {
    return dc && dc->PatBlt(x, y, w, h, rop);
}
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
    return dc ? dc->SetPixel(x, y, color & 0xFFFFFF) : CLR_INVALID;
}
COLORREF GetPixel(HDC dc, int x, int y) {
    return dc ? dc->GetPixel(x, y) : CLR_INVALID;
}
BOOL TextOutW(HDC dc, int x, int y, const Char* text, int count) {
    return dc && count >= 0 && dc->TextOut(x, y, text, count);
}
BOOL GetTextExtentPoint32W(HDC dc, const Char* text, int count, LPSIZE size) {
    if (!dc || !size || count < 0) return false;
    *size = dc->TextExtent(text, count);
    return true;
}
BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* tm) {
    if (!dc || !tm) return false;
    *tm = dc->TextMetrics();
    return true;
}

BOOL BeginPath(HDC dc) {
    return dc && dc->BeginPath();
}
BOOL EndPath(HDC dc) {
    return dc && dc->EndPath();
}
BOOL AbortPath(HDC dc) {
    return dc && dc->AbortPath();
}
BOOL CloseFigure(HDC dc) {
    return dc && dc->CloseFigure();
}
BOOL StrokePath(HDC dc) {
    return dc && dc->DrawPath(true, false);
}
BOOL FillPath(HDC dc) {
    return dc && dc->DrawPath(false, true);
}
BOOL StrokeAndFillPath(HDC dc) {
    return dc && dc->DrawPath(true, true);
}
BOOL WidenPath(HDC dc) {
    return dc && dc->WidenPath();
}
BOOL SelectClipPath(HDC dc, int mode) {
    return dc && dc->SelectClipPath(mode);
}

int GetClipRgn(HDC dc, HRGN rgn) {
    if (!dc || !IsLive(rgn)) return -1;
    if (!dc->St().clip) return 0;
    rgn->impl->region = *dc->St().clip;
    return 1;
}
int SelectClipRgn(HDC dc, HRGN rgn) {
    if (!dc) return RGN_ERROR;
    if (!rgn) return dc->CombineClip(nullptr, RGN_COPY);
    if (!IsLive(rgn)) return RGN_ERROR;
    return dc->CombineClip(&rgn->impl->region, RGN_COPY);
}
int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode) {
    if (!dc) return RGN_ERROR;
    if (!rgn) return mode == RGN_COPY ? dc->CombineClip(nullptr, RGN_COPY) : RGN_ERROR;
    if (!IsLive(rgn)) return RGN_ERROR;
    return dc->CombineClip(&rgn->impl->region, mode);
}
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    if (!dc) return RGN_ERROR;
    const QPoint a = dc->ToDevice(left, top), b = dc->ToDevice(right, bottom);
    const QRegion r(Normal(a.x(), a.y(), b.x(), b.y()));
    return dc->CombineClip(&r, RGN_AND);
}
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
    if (!dc) return RGN_ERROR;
    const QPoint a = dc->ToDevice(left, top), b = dc->ToDevice(right, bottom);
    const QRegion r(Normal(a.x(), a.y(), b.x(), b.y()));
    return dc->CombineClip(&r, RGN_DIFF);
}
int GetClipBox(HDC dc, RECT* r) {
    if (!dc || !r) return RGN_ERROR;
    const QRegion vis = dc->St().clip ? (*dc->St().clip & dc->SurfaceRegion()) : dc->SurfaceRegion();
    const QRect b = vis.boundingRect();
    const QPoint tl = dc->ToLogical(b.left(), b.top());
    const QPoint br = dc->ToLogical(b.left() + b.width(), b.top() + b.height());
    *r = b.isEmpty() ? RECT{} : RECT{tl.x(), tl.y(), br.x(), br.y()};
    return RegionType(vis);
}
BOOL PtVisible(HDC dc, int x, int y) {
    if (!dc) return false;
    const QPoint d = dc->ToDevice(x, y);
    return dc->Visible(d.x(), d.y());
}

BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop) {
    return dst && dst->BitBlt(x, y, w, h, src, sx, sy, w, h, rop);
}
BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop) {
    return dst && dst->BitBlt(x, y, w, h, src, sx, sy, sw, sh, rop);
}
BOOL AlphaBlend(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                BLENDFUNCTION bf) {
    return dst && src && bf.BlendOp == AC_SRC_OVER &&
           dst->AlphaBlend(x, y, w, h, src, sx, sy, sw, sh, bf.SourceConstantAlpha);
}

int ScreenWidthPixels() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        if (QScreen* s = QGuiApplication::primaryScreen()) return s->geometry().width();
    return 1920;
}

int ScreenHeightPixels() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        if (QScreen* s = QGuiApplication::primaryScreen()) return s->geometry().height();
    return 1080;
}
