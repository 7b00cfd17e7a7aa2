// Enhanced-metafile files: the check of every record when a file is made or
// read, and the playback of the records on any device context. One decoder
// serves both, so a file that passed the check plays without surprises.
#include "platform/win32/gdimeta.h"

#include "platform/core/sysutils.h"
#include "platform/win32/gdiemf.h"
#include "platform/win32/gdiqt.h"

#include <algorithm>
#include <cmath>
#include <numeric>

using namespace emf;

namespace {

constexpr double kScaleLimit = 64;

bool InRange(int v, int limit = kCoordLimit) {
    return v >= -limit && v <= limit;
}
bool InRange(RECT r) {
    return InRange(r.Left) && InRange(r.Top) && InRange(r.Right) && InRange(r.Bottom);
}
bool InRange(POINT p) {
    return InRange(p.X) && InRange(p.Y);
}

// A device-independent bitmap of a record: where its header and bits are, checked.
struct Dib {
    int width = 0, height = 0, bitCount = 0;
    bool bottomUp = true;
    std::span<const Byte> bits;
    int RowBytes() const { return ((width * bitCount / 8) + 3) & ~3; }
};

bool ReadDib(RecordReader& r, DWORD offBmi, DWORD cbBmi, DWORD offBits, DWORD cbBits, Dib& out) {
    if (cbBmi < kBitmapInfoSize) return false;
    const std::span<const Byte> info = r.Slice(offBmi, cbBmi);
    const std::span<const Byte> bits = r.Slice(offBits, cbBits);
    if (!r.Ok()) return false;
    RecordReader h(info);
    const DWORD size = h.U32();
    const int w = h.I32(), hgt = h.I32();
    const WORD planes = h.U16(), bitCount = h.U16();
    const DWORD compression = h.U32();
    if (!h.Ok() || size < kBitmapInfoSize || size > cbBmi || planes != 1 || compression != 0) return false;
    if ((bitCount != 24 && bitCount != 32) || w < 1 || w > kCoordLimit || hgt == 0 || !InRange(hgt))
        return false;
    out.width = w;
    out.height = std::abs(hgt);
    out.bitCount = bitCount;
    out.bottomUp = hgt > 0;
    if (static_cast<std::uint64_t>(out.RowBytes()) * static_cast<std::uint64_t>(out.height) > bits.size())
        return false;
    out.bits = bits;
    return true;
}

QImage DibImage(const Dib& d) {
    QImage img(d.width, d.height, QImage::Format_RGB32);
    const int bytes = d.bitCount / 8;
    for (int y = 0; y < d.height; ++y) {
        const Byte* row = d.bits.data() + static_cast<std::size_t>(d.bottomUp ? d.height - 1 - y : y) *
                                              static_cast<std::size_t>(d.RowBytes());
        auto* out = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < d.width; ++x) {
            const Byte* px = row + static_cast<std::ptrdiff_t>(x) * bytes;
            out[x] = qRgb(px[2], px[1], px[0]);
        }
    }
    return img;
}

// Acts on the records on one device context: objects in the metafile's own
// table, its mapping composed with the one that puts its frame on the target
// rectangle, its clips inside the clip the context had.
class Player {
public:
    Player(HDC dc, const ENHMETAHEADER& h, const RECT& picture, const RECT& target)
        : dc_(dc), table_(h.nHandles), picture_(picture) {
        POINT corners[2] = {POINT{target.Left, target.Top}, POINT{target.Right, target.Bottom}};
        LPtoDP(dc, corners, 2);
        left_ = corners[0].X;
        top_ = corners[0].Y;
        width_ = corners[1].X - corners[0].X;
        height_ = corners[1].Y - corners[0].Y;
        saved_ = SaveDC(dc);
        initial_ = CreateRectRgn(0, 0, 0, 0);
        if (GetClipRgn(dc, initial_) != 1) {
            DeleteObject(initial_);
            initial_ = nullptr;
        }
        wasInPath_ = dc->InPath();
        ApplyMapping();
    }
    ~Player() {
        if (dc_->InPath() && !wasInPath_) AbortPath(dc_);
        RestoreDC(dc_, saved_);
        for (HGDIOBJ& obj : table_)
            if (obj) DeleteObject(obj);
        if (initial_) DeleteObject(initial_);
    }
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    HDC Dc() const { return dc_; }

    void MapMode(int mode) {
        mapMode_ = (mode == MM_ISOTROPIC || mode == MM_ANISOTROPIC) ? mode : MM_TEXT;
        if (mapMode_ == MM_TEXT) winExt_ = vpExt_ = SIZE{1, 1};
        ApplyMapping();
    }
    void WindowExt(SIZE s) { SetExt(winExt_, s); }
    void ViewportExt(SIZE s) { SetExt(vpExt_, s); }
    void WindowOrg(POINT p) {
        winOrg_ = p;
        ApplyMapping();
    }
    void ViewportOrg(POINT p) {
        vpOrg_ = p;
        ApplyMapping();
    }
    void BrushOrg(POINT p) {
        const QPoint d = MapDevice(p.X, p.Y);
        SetBrushOrgEx(dc_, d.x(), d.y(), nullptr);
    }

    void Create(DWORD index, HGDIOBJ obj) {
        if (index == 0 || index >= table_.size()) {
            DeleteObject(obj);
            return;
        }
        if (table_[index]) DeleteObject(table_[index]);
        table_[index] = obj;
    }
    void Select(DWORD index) {
        HGDIOBJ obj = nullptr;
        if (index & 0x80000000u)
            obj = GetStockObject(static_cast<int>(index & 0x7FFFFFFFu));
        else if (index < table_.size())
            obj = table_[index];
        if (obj && obj->kind != GdiKind::Region && obj->kind != GdiKind::Bitmap) SelectObject(dc_, obj);
    }
    void Delete(DWORD index) {
        if (index == 0 || index >= table_.size() || !table_[index]) return;
        DeleteObject(table_[index]);
        table_[index] = nullptr;
    }

    // A clip of the recording (its device pixels), inside the context's own.
    void Clip(const std::vector<RECT>* rects, int mode) {
        if (!rects) {
            if (mode == RGN_COPY) SelectClipRgn(dc_, initial_);
            return;
        }
        QRegion region;
        for (const RECT& r : *rects) {
            const QPoint a = MapDevice(r.Left, r.Top), b = MapDevice(r.Right, r.Bottom);
            region += QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                            QPoint(std::max(a.x(), b.x()) - 1, std::max(a.y(), b.y()) - 1));
        }
        HRGN rgn = CreateRectRgn(0, 0, 0, 0);
        rgn->impl->region = region;
        ExtSelectClipRgn(dc_, rgn, mode);
        DeleteObject(rgn);
        KeepInside();
    }
    void KeepInside() {
        if (initial_) ExtSelectClipRgn(dc_, initial_, RGN_AND);
    }

    // Draws the bitmap into (x, y, cx, cy) (logical units of the records).
    void Blit(DWORD type, int x, int y, int cx, int cy, const Dib& dib, int sx, int sy, int sw, int sh,
              DWORD extra) {
        const QImage img = DibImage(dib);
        if (type == EMR_TRANSPARENTBLT) {
            const QPoint a = dc_->ToDevice(x, y), b = dc_->ToDevice(x + cx, y + cy);
            QRectF source(sx, sy, sw, sh), target(QRect(a, b - QPoint(1, 1)).normalized());
            if (sw <= 0 || sh <= 0 || !SourceOnImage(img.size(), source, target, false, false)) return;
            dc_->DrawImage(target.toRect(), img.copy(source.toRect()),
                           qRgb(GetRValue(extra), GetGValue(extra), GetBValue(extra)));
            return;
        }
        HBITMAP bm = CreateBitmapSurface(img.width(), img.height(), GdiPixelFormat::Rgb32);
        BitmapImage(bm) = img;
        HDC mem = CreateCompatibleDC(nullptr);
        SelectObject(mem, bm);
        if (type == EMR_ALPHABLEND)
            ::AlphaBlend(dc_, x, y, cx, cy, mem, sx, sy, sw, sh,
                         BLENDFUNCTION{AC_SRC_OVER, 0, static_cast<BYTE>(extra >> 16), 0});
        else
            StretchBlt(dc_, x, y, cx, cy, mem, sx, sy, sw, sh, extra);
        DeleteDC(mem);
        DeleteObject(bm);
    }

private:
    void SetExt(SIZE& ext, SIZE s) {
        if (mapMode_ == MM_TEXT || s.cx == 0 || s.cy == 0) return;
        ext = s;
        ApplyMapping();
    }
    // The recording's device pixel (x, y) on the target's device.
    QPoint MapDevice(int x, int y) const {
        const int pw = std::max(1, picture_.Right - picture_.Left),
                  ph = std::max(1, picture_.Bottom - picture_.Top);
        return QPoint(
            static_cast<int>(std::lround(left_ + static_cast<double>(x - picture_.Left) * width_ / pw)),
            static_cast<int>(std::lround(top_ + static_cast<double>(y - picture_.Top) * height_ / ph)));
    }
    // One axis of the composed mapping as window and viewport extents (ratio
    // of whole numbers, exact where they fit) and the viewport origin.
    void Axis(int we, int ve, int vo, int pictureFrom, int pictureSize, int targetFrom, int targetSize,
              int& winExt, int& vpExt, int& vpOrg) const {
        std::int64_t w = static_cast<std::int64_t>(we) * pictureSize,
                     v = static_cast<std::int64_t>(ve) * targetSize;
        const std::int64_t g = std::gcd(w, v);
        if (g > 1) {
            w /= g;
            v /= g;
        }
        // Limited magnification: a damaged mapping must not make coordinates overflow.
        if (std::abs(static_cast<double>(v)) > kScaleLimit * std::abs(static_cast<double>(w)))
            v = (v < 0 ? -1 : 1) * static_cast<std::int64_t>(kScaleLimit) * std::abs(w);
        while (std::abs(w) > (1 << 30) || std::abs(v) > (1 << 30)) {
            w /= 2;
            v /= 2;
        }
        winExt = static_cast<int>(w == 0 ? 1 : w);
        vpExt = static_cast<int>(v == 0 ? 1 : v);
        vpOrg = static_cast<int>(
            std::lround(targetFrom + static_cast<double>(vo - pictureFrom) * targetSize / pictureSize));
    }
    void ApplyMapping() {
        const int pw = std::max(1, picture_.Right - picture_.Left),
                  ph = std::max(1, picture_.Bottom - picture_.Top);
        int wx, vx, ox, wy, vy, oy;
        Axis(winExt_.cx, vpExt_.cx, vpOrg_.X, picture_.Left, pw, left_, width_, wx, vx, ox);
        Axis(winExt_.cy, vpExt_.cy, vpOrg_.Y, picture_.Top, ph, top_, height_, wy, vy, oy);
        SetMapMode(dc_, MM_ANISOTROPIC);
        SetWindowExtEx(dc_, wx, wy, nullptr);
        SetViewportExtEx(dc_, vx, vy, nullptr);
        SetWindowOrgEx(dc_, winOrg_.X, winOrg_.Y, nullptr);
        SetViewportOrgEx(dc_, ox, oy, nullptr);
    }

    HDC dc_;
    std::vector<HGDIOBJ> table_;
    RECT picture_;                                    // the frame in the recording's device pixels
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0; // the target in device pixels
    int saved_ = 0;
    HRGN initial_ = nullptr;
    bool wasInPath_ = false;
    int mapMode_ = MM_TEXT;
    POINT winOrg_, vpOrg_;
    SIZE winExt_{1, 1}, vpExt_{1, 1};
};

std::vector<POINT> ReadPoints(RecordReader& r, bool small) {
    r.Skip(16); // bounds
    const DWORD count = r.U32();
    const std::size_t each = small ? 4 : 8;
    const std::span<const Byte> data = r.Slice(r.Position(), static_cast<std::size_t>(count) * each);
    std::vector<POINT> pts;
    if (!r.Ok()) return pts;
    RecordReader p(data);
    pts.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        if (small) {
            const auto x = static_cast<std::int16_t>(p.U16()), y = static_cast<std::int16_t>(p.U16());
            pts.push_back(POINT{x, y});
        } else {
            pts.push_back(p.Point());
        }
        if (!InRange(pts.back())) r.Fail();
    }
    return pts;
}

// Reads one record (its type and size already read) and, with a player, acts on it.
bool Decode(DWORD type, RecordReader& r, Player* play) {
    HDC dc = play ? play->Dc() : nullptr;
    switch (type) {
    case EMR_POLYGON16:
    case EMR_POLYLINE16:
    case EMR_POLYLINETO16:
    case EMR_POLYGON:
    case EMR_POLYLINE:
    case EMR_POLYLINETO: {
        const bool small = type == EMR_POLYGON16 || type == EMR_POLYLINE16 || type == EMR_POLYLINETO16;
        const std::vector<POINT> pts = ReadPoints(r, small);
        if (!r.Ok()) return false;
        if (!play) return true;
        const int n = static_cast<int>(pts.size());
        if (type == EMR_POLYGON16 || type == EMR_POLYGON)
            Polygon(dc, pts.data(), n);
        else if (type == EMR_POLYLINE16 || type == EMR_POLYLINE)
            Polyline(dc, pts.data(), n);
        else
            PolylineTo(dc, pts.data(), static_cast<DWORD>(n));
        return true;
    }
    case EMR_SETWINDOWEXTEX:
    case EMR_SETVIEWPORTEXTEX:
    case EMR_SETWINDOWORGEX:
    case EMR_SETVIEWPORTORGEX:
    case EMR_SETBRUSHORGEX:
    case EMR_MOVETOEX:
    case EMR_LINETO: {
        const POINT p = r.Point();
        if (!r.Ok() || !InRange(p)) return false;
        if (!play) return true;
        if (type == EMR_SETWINDOWEXTEX) play->WindowExt(SIZE{p.X, p.Y});
        if (type == EMR_SETVIEWPORTEXTEX) play->ViewportExt(SIZE{p.X, p.Y});
        if (type == EMR_SETWINDOWORGEX) play->WindowOrg(p);
        if (type == EMR_SETVIEWPORTORGEX) play->ViewportOrg(p);
        if (type == EMR_SETBRUSHORGEX) play->BrushOrg(p);
        if (type == EMR_MOVETOEX) MoveToEx(dc, p.X, p.Y, nullptr);
        if (type == EMR_LINETO) LineTo(dc, p.X, p.Y);
        return true;
    }
    case EMR_SETMAPMODE:
    case EMR_SETBKMODE:
    case EMR_SETPOLYFILLMODE:
    case EMR_SETROP2:
    case EMR_SETTEXTALIGN:
    case EMR_SETTEXTCOLOR:
    case EMR_SETBKCOLOR:
    case EMR_SETARCDIRECTION:
    case EMR_SELECTOBJECT:
    case EMR_DELETEOBJECT:
    case EMR_SELECTCLIPPATH: {
        const DWORD v = r.U32();
        if (!r.Ok()) return false;
        if (!play) return true;
        const int i = static_cast<int>(v);
        switch (type) {
        case EMR_SETMAPMODE:
            play->MapMode(i);
            break;
        case EMR_SETBKMODE:
            SetBkMode(dc, i);
            break;
        case EMR_SETPOLYFILLMODE:
            SetPolyFillMode(dc, i);
            break;
        case EMR_SETROP2:
            SetROP2(dc, i);
            break;
        case EMR_SETTEXTALIGN:
            SetTextAlign(dc, v);
            break;
        case EMR_SETTEXTCOLOR:
            SetTextColor(dc, v);
            break;
        case EMR_SETBKCOLOR:
            SetBkColor(dc, v);
            break;
        case EMR_SETARCDIRECTION:
            SetArcDirection(dc, i);
            break;
        case EMR_SELECTOBJECT:
            play->Select(v);
            break;
        case EMR_DELETEOBJECT:
            play->Delete(v);
            break;
        default:
            SelectClipPath(dc, i);
            play->KeepInside();
        }
        return true;
    }
    case EMR_SETPIXELV: {
        const POINT p = r.Point();
        const DWORD c = r.U32();
        if (!r.Ok() || !InRange(p)) return false;
        if (play) SetPixel(dc, p.X, p.Y, c);
        return true;
    }
    case EMR_CREATEPEN: {
        const DWORD index = r.U32(), style = r.U32();
        const int width = r.I32();
        r.I32();
        const COLORREF color = r.U32();
        if (!r.Ok() || (style & PS_STYLE_MASK) > PS_ALTERNATE || !InRange(width, kPenLimit)) return false;
        if (play)
            play->Create(index,
                         CreatePen(static_cast<int>(style & (PS_STYLE_MASK | PS_ENDCAP_MASK | PS_JOIN_MASK)),
                                   width, color & 0xFFFFFF));
        return true;
    }
    case EMR_EXTCREATEPEN: {
        const DWORD index = r.U32();
        r.Skip(16); // no pattern bitmap in the pens we read
        const DWORD style = r.U32(), width = r.U32(), brushStyle = r.U32();
        const COLORREF color = r.U32();
        r.U32();
        const DWORD count = r.U32();
        if (!r.Ok() || count > 16 || (style & PS_STYLE_MASK) > PS_ALTERNATE || width > kPenLimit)
            return false;
        std::vector<DWORD> dashes;
        for (DWORD i = 0; i < count; ++i) {
            dashes.push_back(r.U32());
            if (dashes.back() < 1 || dashes.back() > kPenLimit) return false;
        }
        if (!r.Ok()) return false;
        if (play) {
            const LOGBRUSH lb{brushStyle == BS_NULL ? static_cast<UINT>(BS_NULL)
                                                    : static_cast<UINT>(BS_SOLID),
                              color & 0xFFFFFF, 0};
            play->Create(index, ExtCreatePen(style, width, lb, count, dashes.data()));
        }
        return true;
    }
    case EMR_CREATEBRUSHINDIRECT: {
        const DWORD index = r.U32(), style = r.U32();
        const COLORREF color = r.U32();
        const DWORD hatch = r.U32();
        if (!r.Ok() || (style != BS_SOLID && style != BS_NULL && style != BS_HATCHED) ||
            (style == BS_HATCHED && hatch > HS_DIAGCROSS))
            return false;
        if (play)
            play->Create(index, CreateBrushIndirect(
                                    LOGBRUSH{style, color & 0xFFFFFF, style == BS_HATCHED ? hatch : 0}));
        return true;
    }
    case EMR_CREATEDIBPATTERNBRUSHPT: {
        const DWORD index = r.U32();
        r.U32();
        const DWORD offBmi = r.U32(), cbBmi = r.U32(), offBits = r.U32(), cbBits = r.U32();
        Dib dib;
        if (!r.Ok() || !ReadDib(r, offBmi, cbBmi, offBits, cbBits, dib)) return false;
        if (play) {
            HBITMAP bm = CreateBitmapSurface(dib.width, dib.height, GdiPixelFormat::Rgb32);
            BitmapImage(bm) = DibImage(dib);
            play->Create(index, CreatePatternBrush(bm));
            DeleteObject(bm);
        }
        return true;
    }
    case EMR_EXTCREATEFONTINDIRECTW: {
        const DWORD index = r.U32();
        LOGFONTW lf;
        lf.lfHeight = r.I32();
        lf.lfWidth = r.I32();
        lf.lfEscapement = r.I32();
        lf.lfOrientation = r.I32();
        lf.lfWeight = r.I32();
        lf.lfItalic = r.U8();
        lf.lfUnderline = r.U8();
        lf.lfStrikeOut = r.U8();
        lf.lfCharSet = r.U8();
        lf.lfOutPrecision = r.U8();
        lf.lfClipPrecision = r.U8();
        lf.lfQuality = r.U8();
        lf.lfPitchAndFamily = r.U8();
        for (int i = 0; i < kFaceUnits; ++i) {
            const WORD c = r.U16();
            if (c == 0) break;
            lf.lfFaceName.push_back(static_cast<Char>(c));
        }
        if (!r.Ok() || !InRange(lf.lfHeight, kFontLimit) || !InRange(lf.lfWidth, kFontLimit) ||
            !InRange(lf.lfWeight, 1000) || !InRange(lf.lfEscapement) || !InRange(lf.lfOrientation))
            return false;
        if (play) play->Create(index, CreateFontIndirectW(lf));
        return true;
    }
    case EMR_ELLIPSE:
    case EMR_RECTANGLE: {
        const RECT b = r.Rect();
        if (!r.Ok() || !InRange(b)) return false;
        if (play && type == EMR_ELLIPSE) Ellipse(dc, b.Left, b.Top, b.Right, b.Bottom);
        if (play && type == EMR_RECTANGLE) Rectangle(dc, b.Left, b.Top, b.Right, b.Bottom);
        return true;
    }
    case EMR_ROUNDRECT: {
        const RECT b = r.Rect();
        const POINT corner = r.Point();
        if (!r.Ok() || !InRange(b) || !InRange(corner)) return false;
        if (play) RoundRect(dc, b.Left, b.Top, b.Right, b.Bottom, corner.X, corner.Y);
        return true;
    }
    case EMR_ARC:
    case EMR_ARCTO:
    case EMR_PIE:
    case EMR_CHORD: {
        const RECT b = r.Rect();
        const POINT p1 = r.Point(), p2 = r.Point();
        if (!r.Ok() || !InRange(b) || !InRange(p1) || !InRange(p2)) return false;
        if (!play) return true;
        using Shape = BOOL (*)(HDC, int, int, int, int, int, int, int, int);
        const Shape shape = type == EMR_ARC     ? &Arc
                            : type == EMR_ARCTO ? &ArcTo
                            : type == EMR_PIE   ? &Pie
                                                : &Chord;
        shape(dc, b.Left, b.Top, b.Right, b.Bottom, p1.X, p1.Y, p2.X, p2.Y);
        return true;
    }
    case EMR_BEGINPATH:
    case EMR_ENDPATH:
    case EMR_CLOSEFIGURE:
    case EMR_ABORTPATH:
    case EMR_WIDENPATH:
        if (!play) return true;
        if (type == EMR_BEGINPATH) BeginPath(dc);
        if (type == EMR_ENDPATH) EndPath(dc);
        if (type == EMR_CLOSEFIGURE) CloseFigure(dc);
        if (type == EMR_ABORTPATH) AbortPath(dc);
        if (type == EMR_WIDENPATH) WidenPath(dc);
        return true;
    case EMR_FILLPATH:
    case EMR_STROKEANDFILLPATH:
    case EMR_STROKEPATH:
        r.Skip(16);
        if (!r.Ok()) return false;
        if (play && type == EMR_FILLPATH) FillPath(dc);
        if (play && type == EMR_STROKEPATH) StrokePath(dc);
        if (play && type == EMR_STROKEANDFILLPATH) StrokeAndFillPath(dc);
        return true;
    case EMR_GDICOMMENT: {
        const DWORD size = r.U32();
        const std::span<const Byte> data = r.Slice(r.Position(), size);
        if (!r.Ok()) return false;
        RecordReader c(data);
        if (size >= 8 && c.U32() == kCommentCharExtra) {
            const int extra = c.I32();
            if (!InRange(extra, kFontLimit)) return false;
            if (play) SetTextCharacterExtra(dc, extra);
        }
        return true;
    }
    case EMR_EXTSELECTCLIPRGN: {
        const DWORD size = r.U32(), mode = r.U32();
        if (!r.Ok() || mode < RGN_AND || mode > RGN_COPY) return false;
        if (size == 0) {
            if (mode != RGN_COPY) return false;
            if (play) play->Clip(nullptr, RGN_COPY);
            return true;
        }
        const std::span<const Byte> data = r.Slice(r.Position(), size);
        if (!r.Ok() || size < 32) return false;
        RecordReader d(data);
        const DWORD headerSize = d.U32(), kind = d.U32(), count = d.U32();
        if (headerSize != 32 || kind != 1 || count > (size - 32) / 16) return false;
        d.Seek(32);
        std::vector<RECT> rects;
        for (DWORD i = 0; i < count; ++i) {
            rects.push_back(d.Rect());
            if (!InRange(rects.back())) return false;
        }
        if (!d.Ok()) return false;
        if (play) play->Clip(&rects, static_cast<int>(mode));
        return true;
    }
    case EMR_EXTTEXTOUTW: {
        r.Skip(16 + 12); // bounds, graphics mode, scales
        const POINT at = r.Point();
        const DWORD count = r.U32(), offString = r.U32();
        r.Skip(4 + 16); // options, clipping box
        const DWORD offDx = r.U32();
        const std::span<const Byte> chars = r.Slice(offString, static_cast<std::size_t>(count) * 2);
        if (!r.Ok() || !InRange(at)) return false;
        if (!play) return true;
        String text;
        RecordReader t(chars);
        for (DWORD i = 0; i < count; ++i) text.push_back(static_cast<Char>(t.U16()));
        // The advances recorded make the text's width where it was drawn. Played into a box of
        // other proportions, the font follows the height; the text is drawn as wide as recorded,
        // as the system's player does, instead of running past the room laid out for it.
        std::int64_t recorded = 0;
        if (offDx != 0 && count > 0) {
            RecordReader d(r.Slice(offDx, static_cast<std::size_t>(count) * 4));
            for (DWORD i = 0; i < count; ++i) recorded += d.I32();
            if (!d.Ok()) recorded = 0;
        }
        SIZE natural{};
        if (recorded > 0 && GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &natural) &&
            natural.cx > 0) {
            const double stretch = static_cast<double>(recorded) / natural.cx;
            // Rounding of a few letters' advances is no other proportion.
            if (std::abs(stretch - 1) > 0.05) dc->textStretch = std::clamp(stretch, 1.0 / 16, 16.0);
        }
        TextOutW(dc, at.X, at.Y, text.data(), static_cast<int>(text.size()));
        dc->textStretch = 1;
        return true;
    }
    case EMR_BITBLT: {
        r.Skip(16);
        const int x = r.I32(), y = r.I32(), cx = r.I32(), cy = r.I32();
        const DWORD rop = r.U32();
        const int sx = r.I32(), sy = r.I32();
        r.Skip(24 + 8);
        const DWORD offBmi = r.U32(), cbBmi = r.U32(), offBits = r.U32(), cbBits = r.U32();
        if (!r.Ok() || !InRange(x) || !InRange(y) || !InRange(cx) || !InRange(cy)) return false;
        if (cbBmi == 0) {
            if (play) PatBlt(dc, x, y, cx, cy, rop);
            return true;
        }
        Dib dib;
        if (!ReadDib(r, offBmi, cbBmi, offBits, cbBits, dib) || !InRange(sx) || !InRange(sy)) return false;
        if (play) play->Blit(EMR_STRETCHDIBITS, x, y, cx, cy, dib, sx, sy, cx, cy, rop);
        return true;
    }
    case EMR_STRETCHDIBITS: {
        r.Skip(16);
        const int x = r.I32(), y = r.I32(), sx = r.I32(), sy = r.I32(), sw = r.I32(), sh = r.I32();
        const DWORD offBmi = r.U32(), cbBmi = r.U32(), offBits = r.U32(), cbBits = r.U32();
        r.U32();
        const DWORD rop = r.U32();
        const int cx = r.I32(), cy = r.I32();
        Dib dib;
        if (!r.Ok() || !ReadDib(r, offBmi, cbBmi, offBits, cbBits, dib)) return false;
        for (int v : {x, y, sx, sy, sw, sh, cx, cy})
            if (!InRange(v)) return false;
        // A bottom-up bitmap counts its source rows from the bottom.
        if (play)
            play->Blit(type, x, y, cx, cy, dib, sx, dib.bottomUp ? dib.height - sy - sh : sy, sw, sh, rop);
        return true;
    }
    case EMR_ALPHABLEND:
    case EMR_TRANSPARENTBLT: {
        r.Skip(16);
        const int x = r.I32(), y = r.I32(), cx = r.I32(), cy = r.I32();
        const DWORD extra = r.U32();
        const int sx = r.I32(), sy = r.I32();
        r.Skip(24 + 8);
        const DWORD offBmi = r.U32(), cbBmi = r.U32(), offBits = r.U32(), cbBits = r.U32();
        const int sw = r.I32(), sh = r.I32();
        Dib dib;
        if (!r.Ok() || !ReadDib(r, offBmi, cbBmi, offBits, cbBits, dib)) return false;
        for (int v : {x, y, sx, sy, sw, sh, cx, cy})
            if (!InRange(v)) return false;
        if (play) play->Blit(type, x, y, cx, cy, dib, sx, sy, sw, sh, extra);
        return true;
    }
    case EMR_HEADER:
        return false; // one header only, at the start
    default:
        return true; // records we do not draw are passed over
    }
}

// Reads the header's fields.
bool ReadHeader(std::span<const Byte> bytes, ENHMETAHEADER& h, DWORD& headerSize, String* error) {
    auto fail = [&](const char16_t* why) {
        if (error) *error = why;
        return false;
    };
    if (bytes.size() < kMinHeaderSize) return fail(u"the file is too short for a metafile header");
    RecordReader r(bytes);
    const DWORD type = r.U32();
    headerSize = r.U32();
    h.rclBounds = r.Rect();
    h.rclFrame = r.Rect();
    const DWORD signature = r.U32();
    r.U32(); // version
    h.nBytes = r.U32();
    h.nRecords = r.U32();
    h.nHandles = r.U16();
    r.U16();
    r.Skip(12); // description and palette
    h.szlDevice = SIZE{r.I32(), r.I32()};
    h.szlMillimeters = SIZE{r.I32(), r.I32()};
    if (type != EMR_HEADER || signature != kSignature) return fail(u"the file is no enhanced metafile");
    if (headerSize < kMinHeaderSize || headerSize % 4 || headerSize > bytes.size())
        return fail(u"the metafile header has a wrong size");
    if (headerSize >= kHeaderSize) {
        r.Skip(12);
        h.szlMicrometers = SIZE{r.I32(), r.I32()};
    }
    if (h.nBytes != bytes.size()) return fail(u"the file's length differs from the length its header gives");
    if (h.nHandles == 0) return fail(u"the metafile header has no object table");
    if (!InRange(h.rclFrame) || !InRange(h.rclBounds)) return fail(u"the metafile's frame is out of range");
    return r.Ok() || fail(u"the metafile header is damaged");
}

// Walks every record after the header; with a player, acts on each.
bool Walk(std::span<const Byte> bytes, const ENHMETAHEADER& h, DWORD headerSize, Player* play,
          String* error) {
    auto fail = [&](const String& why) {
        if (error) *error = why;
        return false;
    };
    std::size_t at = headerSize;
    DWORD records = 1;
    for (;;) {
        if (bytes.size() - at < 8) return fail(u"the metafile ends without its end record");
        RecordReader head(bytes.subspan(at, 8));
        const DWORD type = head.U32(), size = head.U32();
        if (size < 8 || size % 4 || size > bytes.size() - at)
            return fail(u"a record at byte " + IntToStr(static_cast<int>(at)) + u" has a wrong size");
        RecordReader r(bytes.subspan(at, size));
        r.Skip(8);
        ++records;
        if (!Decode(type, r, play) || !r.Ok())
            return fail(u"record " + IntToStr(static_cast<int>(type)) + u" at byte " +
                        IntToStr(static_cast<int>(at)) + u" is damaged");
        at += size;
        if (type == EMR_EOF) break;
    }
    if (at != bytes.size()) return fail(u"data follows the metafile's end record");
    if (records != h.nRecords) return fail(u"the metafile's record count differs from its header");
    return true;
}

} // namespace

std::shared_ptr<const EnhMetaFile> EnhMetaFile::FromBytes(std::vector<Byte> Bytes, String* Error) {
    auto mf = std::shared_ptr<EnhMetaFile>(new EnhMetaFile());
    DWORD headerSize = 0;
    if (!ReadHeader(Bytes, mf->header_, headerSize, Error)) return nullptr;
    if (!Walk(Bytes, mf->header_, headerSize, nullptr, Error)) return nullptr;
    mf->bytes_ = std::move(Bytes);
    return mf;
}

std::shared_ptr<const EnhMetaFile> EnhMetaFile::WithFrame(const RECT& Frame) const {
    auto mf = std::shared_ptr<EnhMetaFile>(new EnhMetaFile(*this));
    RecordWriter patch(0);
    patch.Rect(Frame);
    const std::vector<Byte> fields = patch.Finish();
    std::copy(fields.begin() + 8, fields.end(), mf->bytes_.begin() + 24); // the frame's place in the header
    mf->header_.rclFrame = Frame;
    return mf;
}

namespace {
// Pixels per 0.01 mm of the reference device, 96 dots per inch when the header does not say.
double PixelScale(int pixels, int micrometres, int millimetres) {
    if (pixels > 0 && micrometres > 0) return pixels * 10.0 / micrometres;
    if (pixels > 0 && millimetres > 0) return pixels / (millimetres * 100.0);
    return 96 / 2540.0;
}
// The frame in the reference device's pixels.
RECT FramePixels(const ENHMETAHEADER& h) {
    const double sx = PixelScale(h.szlDevice.cx, h.szlMicrometers.cx, h.szlMillimeters.cx);
    const double sy = PixelScale(h.szlDevice.cy, h.szlMicrometers.cy, h.szlMillimeters.cy);
    // The reference device's sizes are the file's own numbers: a frame they put beyond
    // reachable coordinates is held there.
    auto px = [](int v, double s) {
        return static_cast<int>(std::lround(std::clamp(v * s, -double{kCoordLimit}, double{kCoordLimit})));
    };
    return RECT{px(h.rclFrame.Left, sx), px(h.rclFrame.Top, sy), px(h.rclFrame.Right, sx),
                px(h.rclFrame.Bottom, sy)};
}
} // namespace

SIZE EnhMetaFilePixels(const ENHMETAHEADER& h) {
    const RECT r = FramePixels(h);
    return SIZE{r.Right - r.Left, r.Bottom - r.Top};
}

BOOL PlayEnhMetaFile(HDC dc, const HENHMETAFILE& Metafile, const RECT& Rect) {
    if (!DeviceContextLive(dc) || !Metafile) return false;
    const ENHMETAHEADER& h = Metafile->Header();
    RECT picture = FramePixels(h);
    if (picture.Right <= picture.Left || picture.Bottom <= picture.Top) {
        // No frame: the picture is what was drawn.
        picture = RECT{h.rclBounds.Left, h.rclBounds.Top, h.rclBounds.Right + 1, h.rclBounds.Bottom + 1};
    }
    if (picture.Right <= picture.Left || picture.Bottom <= picture.Top) return true;
    if (Rect.Right == Rect.Left || Rect.Bottom == Rect.Top) return true;
    Player player(dc, h, picture, Rect);
    RecordReader r(Metafile->Bytes());
    r.Skip(4);
    const DWORD headerSize = r.U32();
    return Walk(Metafile->Bytes(), h, headerSize, &player, nullptr);
}
