// The recording context of enhanced metafiles. It is an ordinary context on a
// surface of the picture's size (so positions, paths, clips and text measures
// behave as anywhere else) that also writes each drawing call as a record.
// Attributes and objects are written lazily: just before a call that uses
// them, whatever differs from what the records last set is written, so the
// records say exactly what each call saw, however it was set (directly,
// through SaveDC/RestoreDC or through a DC pen or brush colour).
#include "platform/win32/gdiemf.h"
#include "platform/win32/gdimeta.h"
#include "platform/win32/gdiqt.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace emf;

namespace {

constexpr int kReferenceDpi = 96;

struct PenDesc {
    DWORD style = 0;
    int width = 0;
    COLORREF color = 0;
    std::vector<DWORD> user;
    bool operator==(const PenDesc&) const = default;
};

struct BrushDesc {
    UINT style = 0;
    COLORREF color = 0;
    int hatch = 0;
    std::shared_ptr<const GdiPattern> pattern;
    bool operator==(const BrushDesc&) const = default;
};

bool SameLogFont(const LOGFONTW& a, const LOGFONTW& b) {
    return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
           a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
           a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
           a.lfOutPrecision == b.lfOutPrecision && a.lfClipPrecision == b.lfClipPrecision &&
           a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
           a.lfFaceName == b.lfFaceName;
}

// A bottom-up 24-bit DIB (header and rows) of an image.
void WriteDib(RecordWriter& w, const QImage& image) {
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    const int rowBytes = ((img.width() * 3) + 3) & ~3;
    w.U32(kBitmapInfoSize).I32(img.width()).I32(img.height()).U16(1).U16(24).U32(0);
    w.U32(static_cast<DWORD>(rowBytes * img.height())).I32(0).I32(0).U32(0).U32(0);
    std::vector<Byte> row(static_cast<std::size_t>(rowBytes));
    for (int y = img.height() - 1; y >= 0; --y) {
        const auto* px = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            row[static_cast<std::size_t>(x) * 3] = static_cast<Byte>(qBlue(px[x]));
            row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<Byte>(qGreen(px[x]));
            row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<Byte>(qRed(px[x]));
        }
        w.Bytes(row);
    }
}

int DibBytes(const QImage& img) {
    return static_cast<int>(kBitmapInfoSize) + (((img.width() * 3) + 3) & ~3) * img.height();
}

// A rectangle in the 0.01 mm of the reference device from pixels.
int PixelsToHundredthsMm(int px) {
    return static_cast<int>(std::lround(px * 2540.0 / kReferenceDpi));
}

// The image behind the recording context, made before the context itself.
struct RecorderSurface {
    QImage image;
};

class Recorder final : private RecorderSurface, public DeviceContext {
public:
    Recorder(QSize size, std::optional<RECT> frame)
        : RecorderSurface{QImage(size, QImage::Format_RGB32)},
          DeviceContext(&image, nullptr, nullptr, kReferenceDpi), frame_(frame) {
        image.fill(Qt::white);
    }

    HENHMETAFILE Finish();

    bool MoveTo(int x, int y) override {
        if (nested_) return DeviceContext::MoveTo(x, y);
        Put(RecordWriter(EMR_MOVETOEX).Coord(x).Coord(y));
        const bool done = Forward([&] { return DeviceContext::MoveTo(x, y); });
        pos_ = St().pos;
        return done;
    }
    bool LineTo(int x, int y) override {
        if (nested_) return DeviceContext::LineTo(x, y);
        Sync(true);
        const POINT from = St().pos;
        AddBounds({from, POINT{x, y}});
        Put(RecordWriter(EMR_LINETO).Coord(x).Coord(y));
        return Forward([&] { return DeviceContext::LineTo(x, y); });
    }
    bool Polyline(const POINT* pts, int n, bool moveFirst) override {
        if (nested_ || n <= 0) return DeviceContext::Polyline(pts, n, moveFirst);
        Sync(!moveFirst);
        const std::span<const POINT> points(pts, static_cast<std::size_t>(n));
        if (moveFirst)
            WritePoly(EMR_POLYLINE16, EMR_POLYLINE, points);
        else
            WritePoly(EMR_POLYLINETO16, EMR_POLYLINETO, points);
        if (!moveFirst) AddBounds({St().pos});
        return Forward([&] { return DeviceContext::Polyline(pts, n, moveFirst); });
    }
    bool Polygon(const POINT* pts, int n) override {
        if (nested_ || n < 2) return DeviceContext::Polygon(pts, n);
        Sync(false);
        WritePoly(EMR_POLYGON16, EMR_POLYGON, std::span<const POINT>(pts, static_cast<std::size_t>(n)));
        return Forward([&] { return DeviceContext::Polygon(pts, n); });
    }
    bool Rectangle(int l, int t, int r, int b) override {
        return Box(EMR_RECTANGLE, l, t, r, b, [&] { return DeviceContext::Rectangle(l, t, r, b); });
    }
    bool Ellipse(int l, int t, int r, int b) override {
        return Box(EMR_ELLIPSE, l, t, r, b, [&] { return DeviceContext::Ellipse(l, t, r, b); });
    }
    bool RoundRect(int l, int t, int r, int b, int w, int h) override {
        if (nested_) return DeviceContext::RoundRect(l, t, r, b, w, h);
        Sync(false);
        AddBounds({POINT{l, t}, POINT{r, b}});
        Put(RecordWriter(EMR_ROUNDRECT).Rect(RECT{l, t, r, b}).Coord(w).Coord(h));
        return Forward([&] { return DeviceContext::RoundRect(l, t, r, b, w, h); });
    }
    bool ArcShape(ArcKind kind, int l, int t, int r, int b, int x1, int y1, int x2, int y2) override {
        if (nested_) return DeviceContext::ArcShape(kind, l, t, r, b, x1, y1, x2, y2);
        Sync(kind == ArcKind::ArcTo);
        static constexpr DWORD types[] = {EMR_ARC, EMR_ARCTO, EMR_PIE, EMR_CHORD};
        AddBounds({POINT{l, t}, POINT{r, b}});
        if (kind == ArcKind::ArcTo) AddBounds({St().pos});
        Put(RecordWriter(types[static_cast<int>(kind)])
                .Rect(RECT{l, t, r, b})
                .Coord(x1)
                .Coord(y1)
                .Coord(x2)
                .Coord(y2));
        return Forward([&] { return DeviceContext::ArcShape(kind, l, t, r, b, x1, y1, x2, y2); });
    }
    bool FillRect(const RECT& r, HBRUSH brush) override {
        if (nested_) return DeviceContext::FillRect(r, brush);
        if (r.Right <= r.Left || r.Bottom <= r.Top) return true;
        Sync(false);
        // A pattern blit with the brush selected fills exactly the rectangle, as FillRect does.
        SyncBrush(DescribeBrush(brush));
        WriteBitBlt(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top, PATCOPY);
        return Forward([&] { return DeviceContext::FillRect(r, brush); });
    }
    bool PatBlt(int x, int y, int w, int h, DWORD rop) override {
        if (nested_) return DeviceContext::PatBlt(x, y, w, h, rop);
        Sync(false);
        WriteBitBlt(x, y, w, h, rop);
        return Forward([&] { return DeviceContext::PatBlt(x, y, w, h, rop); });
    }
    COLORREF SetPixel(int x, int y, COLORREF c) override {
        if (nested_) return DeviceContext::SetPixel(x, y, c);
        Sync(false);
        AddBounds({POINT{x, y}, POINT{x + 1, y + 1}});
        Put(RecordWriter(EMR_SETPIXELV).Coord(x).Coord(y).U32(c));
        COLORREF result = CLR_INVALID;
        Forward([&] {
            result = DeviceContext::SetPixel(x, y, c);
            return true;
        });
        return result;
    }
    // A recording has no pixels to read.
    COLORREF GetPixel(int, int) override { return CLR_INVALID; }
    bool TextOut(int x, int y, const Char* text, int count) override;
    bool BitBlt(int x, int y, int w, int h, DeviceContext* src, int sx, int sy, int sw, int sh,
                DWORD rop) override;
    bool AlphaBlend(int x, int y, int w, int h, DeviceContext* src, int sx, int sy, int sw, int sh,
                    BYTE alpha) override;
    void DrawImage(const QRect& dst, const QImage& img, std::optional<QRgb> key) override;

    bool BeginPath() override {
        return Simple(EMR_BEGINPATH, [&] { return DeviceContext::BeginPath(); });
    }
    bool EndPath() override {
        return Simple(EMR_ENDPATH, [&] { return DeviceContext::EndPath(); });
    }
    bool AbortPath() override {
        return Simple(EMR_ABORTPATH, [&] { return DeviceContext::AbortPath(); });
    }
    bool CloseFigure() override {
        return Simple(EMR_CLOSEFIGURE, [&] { return DeviceContext::CloseFigure(); });
    }
    bool WidenPath() override {
        return Simple(EMR_WIDENPATH, [&] { return DeviceContext::WidenPath(); });
    }
    bool DrawPath(bool stroke, bool fill) override {
        const DWORD type = stroke && fill ? EMR_STROKEANDFILLPATH : stroke ? EMR_STROKEPATH : EMR_FILLPATH;
        if (nested_) return DeviceContext::DrawPath(stroke, fill);
        Sync(false);
        // The path's extent is not known here: the whole surface bounds it.
        AddDeviceBounds(SurfaceRect());
        Put(RecordWriter(type).Rect(RECT{0, 0, -1, -1}));
        return Forward([&] { return DeviceContext::DrawPath(stroke, fill); });
    }
    bool SelectClipPath(int mode) override {
        if (nested_) return DeviceContext::SelectClipPath(mode);
        Sync(false);
        Put(RecordWriter(EMR_SELECTCLIPPATH).I32(mode));
        const bool done = Forward([&] { return DeviceContext::SelectClipPath(mode); });
        clip_ = St().clip; // the player makes the same clip from the same path
        return done;
    }

private:
    template <class F>
    bool Forward(F&& draw) {
        ++nested_;
        struct Leave {
            int& n;
            ~Leave() { --n; }
        } leave{nested_};
        const POINT before = St().pos;
        const bool result = draw();
        // A call that moves the position moves it on playback the same way.
        if (St().pos != before) pos_ = St().pos;
        return result;
    }
    template <class F>
    bool Simple(DWORD type, F&& call) {
        if (nested_) return call();
        Sync(false);
        Put(RecordWriter(type));
        return Forward(call);
    }
    template <class F>
    bool Box(DWORD type, int l, int t, int r, int b, F&& draw) {
        if (nested_) return draw();
        Sync(false);
        AddBounds({POINT{l, t}, POINT{r, b}});
        Put(RecordWriter(type).Rect(RECT{l, t, r, b}));
        return Forward(draw);
    }

    void Put(RecordWriter& w) {
        const std::vector<Byte> bytes = w.Finish();
        body_.insert(body_.end(), bytes.begin(), bytes.end());
        ++records_;
    }
    void Put(RecordWriter&& w) { Put(w); }
    void PutValue(DWORD type, DWORD value) { Put(RecordWriter(type).U32(value)); }
    void PutPoint(DWORD type, POINT p) { Put(RecordWriter(type).Point(p)); }

    // Writes what the next call needs and the records do not yet say.
    void Sync(bool usesPosition);
    void SyncBrush(const BrushDesc& d);
    PenDesc DescribePen() const;
    BrushDesc DescribeBrush(HBRUSH b) const;
    static DWORD NextSlot(DWORD base, DWORD current) { return current == base ? base + 1 : base; }
    // Selects the new object and deletes the one it replaces.
    void Swap(DWORD& current, DWORD next) {
        Put(RecordWriter(EMR_SELECTOBJECT).U32(next));
        if (current != 0) Put(RecordWriter(EMR_DELETEOBJECT).U32(current));
        current = next;
    }

    void WritePoly(DWORD type16, DWORD type32, std::span<const POINT> pts);
    void WriteBitBlt(int x, int y, int w, int h, DWORD rop);
    void WriteImage(DWORD type, RECT dst, const QImage& part, DWORD extra);

    // Bounds: the device pixels the records may touch.
    void AddBounds(std::initializer_list<POINT> logical) {
        for (POINT p : logical) {
            const QPoint d = ToDevice(p.X, p.Y);
            AddDeviceBounds(QRect(d, d));
        }
    }
    void AddDeviceBounds(const QRect& r) {
        // Wide pens reach half their width beyond the points.
        const int reach = PenReach();
        const QRect grown = r.adjusted(-reach, -reach, reach, reach);
        bounds_ = bounds_.isNull() ? grown : bounds_.united(grown);
    }
    // The device pixels a text of the given logical extent touches from its reference point.
    // Upright text runs to the right and downwards on the device whatever the mapping; the
    // alignment says which side of the point it lies on. Turned text may lie anywhere
    // within its diagonal of the point.
    QRect TextDeviceBox(QPoint at, SIZE extent) const {
        const int w = static_cast<int>(std::ceil(extent.cx * std::abs(ScaleX())));
        const int h = static_cast<int>(std::ceil(extent.cy * std::abs(ScaleY())));
        if (St().font && St().font->log.lfEscapement % 3600 != 0) {
            const int r = static_cast<int>(std::ceil(std::hypot(w, h)));
            return QRect(at.x() - r, at.y() - r, 2 * r + 1, 2 * r + 1);
        }
        const UINT align = St().textAlign;
        int left = at.x();
        if ((align & TA_CENTER) == TA_CENTER)
            left -= (w + 1) / 2;
        else if (align & TA_RIGHT)
            left -= w;
        int top = at.y();
        if ((align & TA_BASELINE) == TA_BASELINE)
            top -= h; // the ascent is less than the height, the descent too
        else if (align & TA_BOTTOM)
            top -= h;
        const int height = (align & TA_BASELINE) == TA_BASELINE ? 2 * h : h;
        return QRect(left, top, std::max(1, w + 1), std::max(1, height + 1));
    }
    int PenReach() const {
        const GdiPen* p = St().pen;
        if (!p || !p->Geometric() || p->width <= 1) return 0;
        return static_cast<int>(std::ceil(p->width * std::abs(ScaleX()) / 2.0)) + 1;
    }

    std::optional<RECT> frame_;
    std::vector<Byte> body_;
    DWORD records_ = 0;
    QRect bounds_;
    int nested_ = 0;

    // What the records have set so far.
    bool started_ = false;
    State set_;
    POINT pos_;
    std::optional<QRegion> clip_;
    PenDesc pen_;
    BrushDesc brush_;
    LOGFONTW font_;
    DWORD penSlot_ = 0, brushSlot_ = 0, fontSlot_ = 0;
};

PenDesc Recorder::DescribePen() const {
    const GdiPen* p = St().pen;
    return PenDesc{p->style, p->width, p->dcPen ? St().dcPenColor : p->color, p->userStyle};
}

BrushDesc Recorder::DescribeBrush(HBRUSH b) const {
    return BrushDesc{b->style, b->dcBrush ? St().dcBrushColor : b->color, b->hatch, b->pattern};
}

void Recorder::SyncBrush(const BrushDesc& d) {
    if (started_ && d == brush_) return;
    const DWORD slot = NextSlot(kBrushSlot, brushSlot_);
    if (d.style == BS_PATTERN && d.pattern) {
        RecordWriter w(EMR_CREATEDIBPATTERNBRUSHPT);
        const QImage& img = d.pattern->image;
        w.U32(slot).U32(0).U32(32).U32(kBitmapInfoSize).U32(32 + kBitmapInfoSize);
        w.U32(static_cast<DWORD>(DibBytes(img)) - kBitmapInfoSize);
        WriteDib(w, img);
        Put(w);
    } else {
        const UINT style = d.style == BS_PATTERN ? static_cast<UINT>(BS_SOLID) : d.style;
        Put(RecordWriter(EMR_CREATEBRUSHINDIRECT)
                .U32(slot)
                .U32(style)
                .U32(d.color)
                .U32(static_cast<DWORD>(d.hatch)));
    }
    Swap(brushSlot_, slot);
    brush_ = d;
}

void Recorder::Sync(bool usesPosition) {
    const State& s = St();
    const bool all = !started_;
    if (all || s.mapMode != set_.mapMode) {
        PutValue(EMR_SETMAPMODE, static_cast<DWORD>(s.mapMode));
        set_.mapMode = s.mapMode;
        if (s.mapMode == MM_TEXT) set_.winExt = set_.vpExt = SIZE{1, 1};
    }
    if (s.mapMode != MM_TEXT) {
        if (all || s.winExt != set_.winExt)
            Put(RecordWriter(EMR_SETWINDOWEXTEX).Coord(s.winExt.cx).Coord(s.winExt.cy));
        if (all || s.vpExt != set_.vpExt)
            Put(RecordWriter(EMR_SETVIEWPORTEXTEX).Coord(s.vpExt.cx).Coord(s.vpExt.cy));
        set_.winExt = s.winExt;
        set_.vpExt = s.vpExt;
    }
    if (all || s.winOrg != set_.winOrg) PutPoint(EMR_SETWINDOWORGEX, s.winOrg);
    if (all || s.vpOrg != set_.vpOrg) PutPoint(EMR_SETVIEWPORTORGEX, s.vpOrg);
    set_.winOrg = s.winOrg;
    set_.vpOrg = s.vpOrg;
    auto value = [&]<class T>(T State::*field, DWORD type) {
        if (all || s.*field != set_.*field) PutValue(type, static_cast<DWORD>(s.*field));
        set_.*field = s.*field;
    };
    value(&State::bkColor, EMR_SETBKCOLOR);
    value(&State::bkMode, EMR_SETBKMODE);
    value(&State::textColor, EMR_SETTEXTCOLOR);
    value(&State::rop2, EMR_SETROP2);
    value(&State::textAlign, EMR_SETTEXTALIGN);
    value(&State::polyFillMode, EMR_SETPOLYFILLMODE);
    value(&State::arcDirection, EMR_SETARCDIRECTION);
    if (all || s.brushOrg != set_.brushOrg) PutPoint(EMR_SETBRUSHORGEX, s.brushOrg);
    set_.brushOrg = s.brushOrg;
    if (all || s.charExtra != set_.charExtra)
        Put(RecordWriter(EMR_GDICOMMENT)
                .U32(8)
                .U32(kCommentCharExtra)
                .I32(std::clamp(s.charExtra, -kFontLimit, kFontLimit)));
    set_.charExtra = s.charExtra;

    PenDesc pen = DescribePen();
    pen.width = std::clamp(pen.width, 0, kPenLimit);
    if (all || !(pen == pen_)) {
        const DWORD slot = NextSlot(kPenSlot, penSlot_);
        const int style = static_cast<int>(pen.style & PS_STYLE_MASK);
        const bool dashed = style >= PS_DASH && style <= PS_DASHDOTDOT;
        // A plain pen in the short form when making it again gives the same pen.
        if (pen.style == (PS_GEOMETRIC | static_cast<DWORD>(style)) && pen.user.empty() &&
            !(pen.width > 1 && dashed) && pen.width >= 0) {
            Put(RecordWriter(EMR_CREATEPEN)
                    .U32(slot)
                    .U32(static_cast<DWORD>(style))
                    .I32(pen.width)
                    .I32(0)
                    .U32(pen.color));
        } else {
            RecordWriter w(EMR_EXTCREATEPEN);
            w.U32(slot).U32(0).U32(0).U32(0).U32(0);
            w.U32(pen.style).U32(static_cast<DWORD>(pen.width)).U32(BS_SOLID).U32(pen.color).U32(0);
            w.U32(static_cast<DWORD>(pen.user.size()));
            for (DWORD d : pen.user) w.U32(d);
            Put(w);
        }
        Swap(penSlot_, slot);
        pen_ = pen;
    }
    SyncBrush(DescribeBrush(s.brush));
    const LOGFONTW& font = s.font->log;
    if (all || !SameLogFont(font, font_)) {
        const DWORD slot = NextSlot(kFontSlot, fontSlot_);
        RecordWriter w(EMR_EXTCREATEFONTINDIRECTW);
        w.U32(slot).I32(std::clamp<int>(font.lfHeight, -kFontLimit, kFontLimit));
        w.I32(std::clamp<int>(font.lfWidth, -kFontLimit, kFontLimit));
        w.Coord(font.lfEscapement).Coord(font.lfOrientation).I32(std::clamp<int>(font.lfWeight, 0, 1000));
        w.U8(font.lfItalic).U8(font.lfUnderline).U8(font.lfStrikeOut).U8(font.lfCharSet);
        w.U8(font.lfOutPrecision).U8(font.lfClipPrecision).U8(font.lfQuality).U8(font.lfPitchAndFamily);
        for (int i = 0; i < kFaceUnits; ++i)
            w.U16(i < kFaceUnits - 1 && static_cast<std::size_t>(i) < font.lfFaceName.size()
                      ? static_cast<WORD>(font.lfFaceName[static_cast<std::size_t>(i)])
                      : 0);
        Put(w);
        Swap(fontSlot_, slot);
        font_ = font;
    }
    if (all || s.clip != clip_) {
        RecordWriter w(EMR_EXTSELECTCLIPRGN);
        if (!s.clip) {
            w.U32(0).U32(RGN_COPY);
        } else {
            const int n = s.clip->rectCount();
            w.U32(static_cast<DWORD>(32 + 16 * n)).U32(RGN_COPY);
            const QRect b = s.clip->boundingRect();
            w.U32(32).U32(1).U32(static_cast<DWORD>(n)).U32(static_cast<DWORD>(16 * n));
            w.Rect(b.isEmpty() ? RECT{} : RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1});
            for (const QRect& r : *s.clip) w.Rect(RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1});
        }
        Put(w);
        clip_ = s.clip;
    }
    if (usesPosition && (all || s.pos != pos_)) {
        PutPoint(EMR_MOVETOEX, s.pos);
        pos_ = s.pos;
    }
    started_ = true;
}

void Recorder::WritePoly(DWORD type16, DWORD type32, std::span<const POINT> pts) {
    auto fits = [](int v) {
        return v >= std::numeric_limits<std::int16_t>::min() && v <= std::numeric_limits<std::int16_t>::max();
    };
    const bool small = std::all_of(pts.begin(), pts.end(), [&](POINT p) { return fits(p.X) && fits(p.Y); });
    int l = pts[0].X, t = pts[0].Y, r = l, b = t;
    for (POINT p : pts) {
        l = std::min(l, p.X);
        r = std::max(r, p.X);
        t = std::min(t, p.Y);
        b = std::max(b, p.Y);
        AddBounds({p});
    }
    RecordWriter w(small ? type16 : type32);
    w.Rect(RECT{l, t, r, b}).U32(static_cast<DWORD>(pts.size()));
    for (POINT p : pts) {
        if (small)
            w.U16(static_cast<WORD>(static_cast<std::int16_t>(p.X)))
                .U16(static_cast<WORD>(static_cast<std::int16_t>(p.Y)));
        else
            w.Point(p);
    }
    Put(w);
}

void Recorder::WriteBitBlt(int x, int y, int w, int h, DWORD rop) {
    AddBounds({POINT{x, y}, POINT{x + w, y + h}});
    RecordWriter r(EMR_BITBLT);
    r.Rect(RECT{std::min(x, x + w), std::min(y, y + h), std::max(x, x + w) - 1, std::max(y, y + h) - 1});
    r.Coord(x).Coord(y).Coord(w).Coord(h).U32(rop).I32(0).I32(0);
    r.F32(1).F32(0).F32(0).F32(1).F32(0).F32(0); // the source's transform: none
    r.U32(0).U32(0).U32(0).U32(0).U32(0).U32(0); // background, usage, no source bitmap
    Put(std::move(r));
}

// A bitmap record (STRETCHDIBITS, ALPHABLEND or TRANSPARENTBLT) that puts all
// of part into dst (logical units, normalised).
void Recorder::WriteImage(DWORD type, RECT dst, const QImage& part, DWORD extra) {
    AddBounds({POINT{dst.Left, dst.Top}, POINT{dst.Right, dst.Bottom}});
    const RECT bounds{dst.Left, dst.Top, dst.Right - 1, dst.Bottom - 1};
    const int cx = dst.Right - dst.Left, cy = dst.Bottom - dst.Top;
    const DWORD dib = static_cast<DWORD>(DibBytes(part));
    RecordWriter w(type);
    w.Rect(bounds);
    if (type == EMR_STRETCHDIBITS) {
        const DWORD fixed = 80;
        w.Coord(dst.Left).Coord(dst.Top).I32(0).I32(0).I32(part.width()).I32(part.height());
        w.U32(fixed).U32(kBitmapInfoSize).U32(fixed + kBitmapInfoSize).U32(dib - kBitmapInfoSize);
        w.U32(0).U32(extra).Coord(cx).Coord(cy);
    } else {
        const DWORD fixed = 108;
        w.Coord(dst.Left).Coord(dst.Top).Coord(cx).Coord(cy).U32(extra).I32(0).I32(0);
        w.F32(1).F32(0).F32(0).F32(1).F32(0).F32(0);
        w.U32(0)
            .U32(0)
            .U32(fixed)
            .U32(kBitmapInfoSize)
            .U32(fixed + kBitmapInfoSize)
            .U32(dib - kBitmapInfoSize);
        w.I32(part.width()).I32(part.height());
    }
    WriteDib(w, part);
    Put(w);
}

bool Recorder::TextOut(int x, int y, const Char* text, int count) {
    if (nested_) return DeviceContext::TextOut(x, y, text, count);
    const bool updateCp = (St().textAlign & TA_UPDATECP) != 0;
    Sync(updateCp);
    // Each character's advance, as readers elsewhere want them.
    std::vector<int> dx(static_cast<std::size_t>(count));
    int before = 0;
    for (int i = 0; i < count; ++i) {
        const int upTo = TextExtent(text, i + 1).cx;
        dx[static_cast<std::size_t>(i)] = upTo - before;
        before = upTo;
    }
    const SIZE extent{before, TextExtent(text, count).cy};
    const POINT at = updateCp ? St().pos : POINT{x, y};
    const QRect touched = TextDeviceBox(ToDevice(at.X, at.Y), extent);
    bounds_ = bounds_.isNull() ? touched : bounds_.united(touched);
    const RECT box{touched.left(), touched.top(), touched.right(), touched.bottom()};
    const DWORD offString = 76;
    const DWORD stringBytes = static_cast<DWORD>((count * 2 + 3) & ~3);
    RecordWriter w(EMR_EXTTEXTOUTW);
    w.Rect(box).U32(1).F32(0).F32(0);
    w.Coord(x).Coord(y).U32(static_cast<DWORD>(count)).U32(offString).U32(0).Rect(RECT{0, 0, -1, -1});
    w.U32(offString + stringBytes);
    for (int i = 0; i < count; ++i) w.U16(static_cast<WORD>(text[i]));
    w.Align();
    for (int d : dx) w.I32(d);
    Put(w);
    return Forward([&] { return DeviceContext::TextOut(x, y, text, count); });
}

bool Recorder::BitBlt(int x, int y, int w, int h, DeviceContext* src, int sx, int sy, int sw, int sh,
                      DWORD rop) {
    if (nested_) return DeviceContext::BitBlt(x, y, w, h, src, sx, sy, sw, sh, rop);
    switch (rop) {
    case SRCCOPY:
    case SRCPAINT:
    case SRCAND:
    case SRCINVERT:
    case SRCERASE:
    case NOTSRCCOPY:
    case NOTSRCERASE:
    case MERGEPAINT:
        break;
    default:
        return PatBlt(x, y, w, h, rop); // the operations without a source
    }
    if (!src || !src->Image() || src->Image()->isNull()) return false;
    const QPoint s0 = src->ToDevice(sx, sy), s1 = src->ToDevice(sx + sw, sy + sh);
    const QRect srcRect = QRect(QPoint(std::min(s0.x(), s1.x()), std::min(s0.y(), s1.y())),
                                QPoint(std::max(s0.x(), s1.x()) - 1, std::max(s0.y(), s1.y()) - 1));
    if (srcRect.isEmpty() || w == 0 || h == 0) return true;
    src->EndPainting();
    // Mirrored blits keep their mirror in the pixels, so the record's extents are positive.
    const bool mirrorX = (w < 0) != (s1.x() < s0.x()), mirrorY = (h < 0) != (s1.y() < s0.y());
    QImage part = src->Image()->copy(srcRect);
    if (mirrorX || mirrorY) part = part.mirrored(mirrorX, mirrorY);
    Sync(false);
    WriteImage(EMR_STRETCHDIBITS,
               RECT{std::min(x, x + w), std::min(y, y + h), std::max(x, x + w), std::max(y, y + h)}, part,
               rop);
    return Forward([&] { return DeviceContext::BitBlt(x, y, w, h, src, sx, sy, sw, sh, rop); });
}

bool Recorder::AlphaBlend(int x, int y, int w, int h, DeviceContext* src, int sx, int sy, int sw, int sh,
                          BYTE alpha) {
    if (nested_) return DeviceContext::AlphaBlend(x, y, w, h, src, sx, sy, sw, sh, alpha);
    if (!src->Image() || src->Image()->isNull() || w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return false;
    const QPoint s0 = src->ToDevice(sx, sy), s1 = src->ToDevice(sx + sw, sy + sh);
    src->EndPainting();
    const QImage part = src->Image()->copy(QRect(s0, s1 - QPoint(1, 1)).normalized());
    Sync(false);
    WriteImage(EMR_ALPHABLEND, RECT{x, y, x + w, y + h}, part, static_cast<DWORD>(alpha) << 16);
    return Forward([&] { return DeviceContext::AlphaBlend(x, y, w, h, src, sx, sy, sw, sh, alpha); });
}

void Recorder::DrawImage(const QRect& dst, const QImage& img, std::optional<QRgb> key) {
    if (nested_ || img.isNull() || dst.isEmpty()) {
        DeviceContext::DrawImage(dst, img, key);
        return;
    }
    Sync(false);
    const QPoint a = ToLogical(dst.left(), dst.top());
    const QPoint b = ToLogical(dst.left() + dst.width(), dst.top() + dst.height());
    const RECT r{std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()),
                 std::max(a.y(), b.y())};
    if (key)
        WriteImage(EMR_TRANSPARENTBLT, r, img,
                   RGB(static_cast<BYTE>(qRed(*key)), static_cast<BYTE>(qGreen(*key)),
                       static_cast<BYTE>(qBlue(*key))));
    else
        WriteImage(EMR_STRETCHDIBITS, r, img, SRCCOPY);
    Forward([&] {
        DeviceContext::DrawImage(dst, img, key);
        return true;
    });
}

HENHMETAFILE Recorder::Finish() {
    EndPainting();
    const QRect drawn = bounds_;
    const RECT bounds =
        drawn.isEmpty() ? RECT{0, 0, -1, -1} : RECT{drawn.left(), drawn.top(), drawn.right(), drawn.bottom()};
    RECT frame;
    if (frame_) {
        frame = *frame_;
    } else if (drawn.isEmpty()) {
        frame = RECT{};
    } else {
        frame = RECT{PixelsToHundredthsMm(drawn.left()), PixelsToHundredthsMm(drawn.top()),
                     PixelsToHundredthsMm(drawn.right() + 1), PixelsToHundredthsMm(drawn.bottom() + 1)};
    }
    const int devW = ScreenWidthPixels(), devH = ScreenHeightPixels();
    RecordWriter eof(EMR_EOF);
    eof.U32(0).U32(16).U32(20);
    const std::vector<Byte> end = eof.Finish();
    const DWORD total = kHeaderSize + static_cast<DWORD>(body_.size() + end.size());
    RecordWriter h(EMR_HEADER);
    h.Rect(bounds).Rect(frame).U32(kSignature).U32(kVersion).U32(total).U32(records_ + 2);
    h.U16(kHandleCount).U16(0).U32(0).U32(0).U32(0);
    h.I32(devW).I32(devH);
    h.I32(static_cast<int>(std::lround(devW * 25.4 / kReferenceDpi)))
        .I32(static_cast<int>(std::lround(devH * 25.4 / kReferenceDpi)));
    h.U32(0).U32(0).U32(0);
    h.I32(static_cast<int>(std::lround(devW * 25400.0 / kReferenceDpi)))
        .I32(static_cast<int>(std::lround(devH * 25400.0 / kReferenceDpi)));
    std::vector<Byte> file = h.Finish();
    file.insert(file.end(), body_.begin(), body_.end());
    file.insert(file.end(), end.begin(), end.end());
    String error;
    return EnhMetaFile::FromBytes(std::move(file), &error);
}

} // namespace

HDC CreateEnhMetaFileW(HDC, const RECT* Frame) {
    std::optional<RECT> frame;
    QSize size(ScreenWidthPixels(), ScreenHeightPixels());
    if (Frame) {
        frame = *Frame;
        const int w = static_cast<int>(std::lround((Frame->Right - Frame->Left) * kReferenceDpi / 2540.0));
        const int h = static_cast<int>(std::lround((Frame->Bottom - Frame->Top) * kReferenceDpi / 2540.0));
        size = QSize(std::max(1, w), std::max(1, h));
    }
    return AdoptDeviceContext(std::make_unique<Recorder>(size, frame));
}

HENHMETAFILE CloseEnhMetaFile(HDC Recording) {
    auto* recorder = DeviceContextLive(Recording) ? dynamic_cast<Recorder*>(Recording) : nullptr;
    if (!recorder) return nullptr;
    HENHMETAFILE result = recorder->Finish();
    DeleteDC(Recording);
    return result;
}
