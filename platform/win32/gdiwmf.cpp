// The older Windows metafile made from an enhanced one, for programs and
// files that ask for .wmf. Its records are 16-bit and know no paths, no
// mappings beyond one window and no region data, so the conversion flattens:
// every coordinate becomes a pixel of the picture, paths become the polygons
// and lines they were made of, and a clip becomes a rectangle less the parts
// of it outside the region.
#include "platform/win32/gdiemf.h"
#include "platform/win32/gdimeta.h"
#include "platform/win32/gdiqt.h"

#include <array>
#include <cmath>
#include <map>
#include <set>
#include <span>

using namespace emf;

namespace {

enum : WORD {
    META_EOF = 0x0000,
    META_SAVEDC = 0x001E,
    META_SETBKMODE = 0x0102,
    META_SETMAPMODE = 0x0103,
    META_SETROP2 = 0x0104,
    META_SETPOLYFILLMODE = 0x0106,
    META_SETTEXTCHAREXTRA = 0x0108,
    META_RESTOREDC = 0x0127,
    META_SELECTOBJECT = 0x012D,
    META_SETTEXTALIGN = 0x012E,
    META_DIBCREATEPATTERNBRUSH = 0x0142,
    META_DELETEOBJECT = 0x01F0,
    META_SETBKCOLOR = 0x0201,
    META_SETTEXTCOLOR = 0x0209,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_LINETO = 0x0213,
    META_MOVETO = 0x0214,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_POLYGON = 0x0324,
    META_POLYLINE = 0x0325,
    META_EXCLUDECLIPRECT = 0x0415,
    META_INTERSECTCLIPRECT = 0x0416,
    META_ELLIPSE = 0x0418,
    META_RECTANGLE = 0x041B,
    META_SETPIXEL = 0x041F,
    META_ROUNDRECT = 0x061C,
    META_PATBLT = 0x061D,
    META_ARC = 0x0817,
    META_PIE = 0x081A,
    META_CHORD = 0x0830,
    META_EXTTEXTOUT = 0x0A32,
    META_STRETCHDIB = 0x0F43,
};

constexpr int kRussianCharset = 204;

WORD Short(double v) {
    const long r = std::lround(std::clamp(v, -32768.0, 32767.0));
    return static_cast<WORD>(static_cast<std::int16_t>(r));
}

// The text's bytes in the Cyrillic code page, which holds ASCII as it is; '?' for the rest.
std::vector<Byte> Cp1251(const String& text) {
    std::vector<Byte> out;
    for (const Char c : text) {
        if (c < 0x80)
            out.push_back(static_cast<Byte>(c));
        else if (c >= 0x410 && c <= 0x44F)
            out.push_back(static_cast<Byte>(0xC0 + (c - 0x410)));
        else if (c == 0x401)
            out.push_back(0xA8);
        else if (c == 0x451)
            out.push_back(0xB8);
        else
            out.push_back('?');
    }
    return out;
}

class WmfWriter {
public:
    explicit WmfWriter(RECT picture) : picture_(picture) {}

    std::vector<Byte> Convert(const std::vector<Byte>& emf);

private:
    struct Rec {
        WORD function;
        std::vector<WORD> params;
    };
    void Emit(WORD function, std::vector<WORD> params) {
        Rec r{function, std::move(params)};
        if (inPath_)
            path_.push_back(std::move(r));
        else
            out_.push_back(std::move(r));
    }
    static void PutDword(std::vector<WORD>& p, DWORD v) {
        p.push_back(static_cast<WORD>(v));
        p.push_back(static_cast<WORD>(v >> 16));
    }
    static void PutBytes(std::vector<WORD>& p, std::span<const Byte> b) {
        for (std::size_t i = 0; i < b.size(); i += 2)
            p.push_back(static_cast<WORD>(b[i] | (i + 1 < b.size() ? b[i + 1] << 8 : 0)));
    }

    // A point of the records in the picture's pixels.
    double X(int x) const { return (x - winOrg_.X) * ScaleX() + vpOrg_.X - picture_.Left; }
    double Y(int y) const { return (y - winOrg_.Y) * ScaleY() + vpOrg_.Y - picture_.Top; }
    double ScaleX() const { return mapMode_ == MM_TEXT ? 1.0 : static_cast<double>(vpExt_.cx) / winExt_.cx; }
    double ScaleY() const { return mapMode_ == MM_TEXT ? 1.0 : static_cast<double>(vpExt_.cy) / winExt_.cy; }
    // Boxes in reverse order, as the records want them: bottom, right, top, left.
    std::vector<WORD> Box(RECT r) const {
        return {Short(Y(r.Bottom)), Short(X(r.Right)), Short(Y(r.Top)), Short(X(r.Left))};
    }

    // The entry the next object takes: the lowest free one, as the player fills its table.
    WORD FreeEntry() {
        WORD i = 0;
        while (used_.count(i)) ++i;
        used_.insert(i);
        maxObjects_ = std::max<WORD>(maxObjects_, static_cast<WORD>(i + 1));
        return i;
    }
    void Object(DWORD emfIndex, int kind) {
        Forget(emfIndex);
        objects_[emfIndex] = Entry{FreeEntry(), kind};
    }
    void Forget(DWORD emfIndex) {
        const auto it = objects_.find(emfIndex);
        if (it == objects_.end()) return;
        Emit(META_DELETEOBJECT, {it->second.index});
        used_.erase(it->second.index);
        for (WORD& s : selected_)
            if (s == it->second.index) s = kNone;
        objects_.erase(it);
    }
    void Select(DWORD emfIndex) {
        const auto it = objects_.find(emfIndex);
        if (it == objects_.end()) return;
        Emit(META_SELECTOBJECT, {it->second.index});
        selected_[static_cast<std::size_t>(it->second.kind)] = it->second.index;
    }
    void Clip(RecordReader& r);
    void Figure(POINT to) {
        if (figures_.empty() || figures_.back().closed) figures_.push_back({{pos_}, false});
        figures_.back().points.push_back(to);
    }
    void EndPathDrawing(bool stroke, bool fill);
    bool Record(DWORD type, RecordReader& r);

    static constexpr WORD kNone = 0xFFFF;
    enum Kind { kPen, kBrush, kFont };
    RECT picture_;
    std::vector<Rec> out_, path_;
    struct Entry {
        WORD index;
        int kind;
    };
    std::map<DWORD, Entry> objects_;
    std::set<WORD> used_;
    WORD maxObjects_ = 0;
    std::array<WORD, 3> selected_{kNone, kNone, kNone};
    std::map<WORD, std::vector<WORD>> attributes_; // the last value of each attribute record
    bool clipped_ = false;
    int mapMode_ = MM_TEXT;
    POINT winOrg_, vpOrg_, pos_;
    SIZE winExt_{1, 1}, vpExt_{1, 1};
    bool inPath_ = false;
    struct Shape {
        std::vector<POINT> points;
        bool closed;
    };
    std::vector<Shape> figures_; // a path's lines, in the records' units
};

void WmfWriter::Clip(RecordReader& r) {
    const DWORD size = r.U32();
    r.U32(); // mode: our recordings only copy
    // Back to the state before any clip, then the attributes and objects again.
    if (clipped_) {
        Emit(META_RESTOREDC, {static_cast<WORD>(-1)});
        for (const auto& [function, params] : attributes_) Emit(function, params);
        for (WORD s : selected_)
            if (s != kNone) Emit(META_SELECTOBJECT, {s});
        clipped_ = false;
    }
    if (size < 32) return;
    RecordReader d(r.Slice(r.Position(), size));
    d.Skip(8);
    const DWORD count = d.U32();
    d.Seek(32);
    QRegion region;
    for (DWORD i = 0; i < count && d.Ok(); ++i) {
        const RECT c = d.Rect();
        region += QRect(c.Left - picture_.Left, c.Top - picture_.Top, c.Right - c.Left, c.Bottom - c.Top);
    }
    Emit(META_SAVEDC, {});
    clipped_ = true;
    // The region's box, less what of the box lies outside the region.
    const QRect box = region.boundingRect();
    auto rect = [](const QRect& q) {
        return std::vector<WORD>{Short(q.bottom() + 1), Short(q.right() + 1), Short(q.top()),
                                 Short(q.left())};
    };
    Emit(META_INTERSECTCLIPRECT, rect(box));
    for (const QRect& q : QRegion(box) - region) Emit(META_EXCLUDECLIPRECT, rect(q));
}

void WmfWriter::EndPathDrawing(bool stroke, bool fill) {
    inPath_ = false;
    // Draw with the pen or the brush left out, as the path was stroked or filled.
    const WORD pen = selected_[kPen], brush = selected_[kBrush];
    const bool swapPen = !stroke && pen != kNone, swapBrush = !fill && brush != kNone;
    WORD nullIndex = kNone;
    if (swapPen || swapBrush) {
        nullIndex = FreeEntry();
        if (swapPen) {
            std::vector<WORD> p{PS_NULL, 0, 0};
            PutDword(p, 0);
            Emit(META_CREATEPENINDIRECT, p);
        } else {
            std::vector<WORD> p{BS_NULL};
            PutDword(p, 0);
            p.push_back(0);
            Emit(META_CREATEBRUSHINDIRECT, p);
        }
        Emit(META_SELECTOBJECT, {nullIndex});
    }
    for (Rec& r : path_) out_.push_back(std::move(r));
    path_.clear();
    for (const Shape& f : figures_) {
        if (f.points.size() < 2) continue;
        std::vector<WORD> p{static_cast<WORD>(f.points.size())};
        for (POINT pt : f.points) {
            p.push_back(Short(X(pt.X)));
            p.push_back(Short(Y(pt.Y)));
        }
        if (fill || f.closed) {
            Emit(fill ? META_POLYGON : META_POLYLINE, p);
            if (!fill && f.closed)
                Emit(META_LINETO, {Short(Y(f.points.front().Y)), Short(X(f.points.front().X))});
        } else {
            Emit(META_POLYLINE, p);
        }
    }
    figures_.clear();
    if (nullIndex != kNone) {
        Emit(META_SELECTOBJECT, {swapPen ? pen : brush});
        Emit(META_DELETEOBJECT, {nullIndex});
        used_.erase(nullIndex);
    }
}

bool WmfWriter::Record(DWORD type, RecordReader& r) {
    auto attribute = [&](WORD function, std::vector<WORD> params) {
        attributes_[function] = params;
        Emit(function, std::move(params));
    };
    auto colour = [&](WORD function) {
        std::vector<WORD> p;
        PutDword(p, r.U32());
        attribute(function, p);
    };
    switch (type) {
    case EMR_SETMAPMODE:
        mapMode_ = static_cast<int>(r.U32());
        if (mapMode_ == MM_TEXT) winExt_ = vpExt_ = SIZE{1, 1};
        break;
    case EMR_SETWINDOWEXTEX:
    case EMR_SETVIEWPORTEXTEX: {
        const SIZE s{r.I32(), r.I32()};
        if (mapMode_ != MM_TEXT && s.cx != 0 && s.cy != 0)
            (type == EMR_SETWINDOWEXTEX ? winExt_ : vpExt_) = s;
        break;
    }
    case EMR_SETWINDOWORGEX:
        winOrg_ = r.Point();
        break;
    case EMR_SETVIEWPORTORGEX:
        vpOrg_ = r.Point();
        break;
    case EMR_SETBKCOLOR:
        colour(META_SETBKCOLOR);
        break;
    case EMR_SETTEXTCOLOR:
        colour(META_SETTEXTCOLOR);
        break;
    case EMR_SETBKMODE:
        attribute(META_SETBKMODE, {static_cast<WORD>(r.U32())});
        break;
    case EMR_SETROP2:
        attribute(META_SETROP2, {static_cast<WORD>(r.U32())});
        break;
    case EMR_SETPOLYFILLMODE:
        attribute(META_SETPOLYFILLMODE, {static_cast<WORD>(r.U32())});
        break;
    case EMR_SETTEXTALIGN:
        attribute(META_SETTEXTALIGN, {static_cast<WORD>(r.U32())});
        break;
    case EMR_GDICOMMENT:
        if (r.U32() >= 8 && r.U32() == kCommentCharExtra)
            attribute(META_SETTEXTCHAREXTRA, {Short(r.I32() * ScaleX())});
        break;
    case EMR_CREATEPEN:
    case EMR_EXTCREATEPEN: {
        const DWORD index = r.U32();
        DWORD style = 0;
        int width = 0;
        COLORREF color = 0;
        if (type == EMR_CREATEPEN) {
            style = r.U32();
            width = r.I32();
            r.I32();
            color = r.U32();
        } else {
            r.Skip(16);
            style = r.U32();
            width = r.I32();
            const DWORD brushStyle = r.U32();
            color = r.U32();
            if (brushStyle == BS_NULL) style = (style & ~static_cast<DWORD>(PS_STYLE_MASK)) | PS_NULL;
            if ((style & PS_TYPE_MASK) != PS_GEOMETRIC) width = 0; // a one-pixel pen
            if ((style & PS_STYLE_MASK) == PS_USERSTYLE || (style & PS_STYLE_MASK) == PS_ALTERNATE)
                style = (style & ~static_cast<DWORD>(PS_STYLE_MASK)) | PS_DOT;
        }
        const WORD w = Short(width * std::abs(ScaleX()));
        std::vector<WORD> p{static_cast<WORD>(style & 0xFFFF), w, 0};
        PutDword(p, color);
        Object(index, kPen);
        Emit(META_CREATEPENINDIRECT, p);
        break;
    }
    case EMR_CREATEBRUSHINDIRECT: {
        const DWORD index = r.U32(), style = r.U32();
        const COLORREF color = r.U32();
        const DWORD hatch = r.U32();
        std::vector<WORD> p{static_cast<WORD>(style)};
        PutDword(p, color);
        p.push_back(static_cast<WORD>(hatch));
        Object(index, kBrush);
        Emit(META_CREATEBRUSHINDIRECT, p);
        break;
    }
    case EMR_CREATEDIBPATTERNBRUSHPT: {
        const DWORD index = r.U32();
        r.U32();
        const DWORD offBmi = r.U32(), cbBmi = r.U32(), offBits = r.U32(), cbBits = r.U32();
        std::vector<WORD> p{5 /* a DIB pattern */, 0};
        PutBytes(p, r.Slice(offBmi, cbBmi));
        PutBytes(p, r.Slice(offBits, cbBits));
        Object(index, kBrush);
        Emit(META_DIBCREATEPATTERNBRUSH, p);
        break;
    }
    case EMR_EXTCREATEFONTINDIRECTW: {
        const DWORD index = r.U32();
        const int height = r.I32(), width = r.I32(), escapement = r.I32(), orientation = r.I32(),
                  weight = r.I32();
        std::vector<Byte> bytes;
        for (int i = 0; i < 8; ++i) bytes.push_back(r.U8());
        if (bytes[3] == 0 || bytes[3] == 1)
            bytes[3] = kRussianCharset; // the code page its text is written in
        String face;
        for (int i = 0; i < kFaceUnits; ++i) {
            const WORD c = r.U16();
            if (c == 0) break;
            face.push_back(static_cast<Char>(c));
        }
        std::vector<Byte> name = Cp1251(face);
        name.resize(32, 0);
        std::vector<WORD> p{Short(height * std::abs(ScaleY())), Short(width * std::abs(ScaleX())),
                            static_cast<WORD>(escapement), static_cast<WORD>(orientation),
                            static_cast<WORD>(weight)};
        PutBytes(p, bytes);
        PutBytes(p, name);
        Object(index, kFont);
        Emit(META_CREATEFONTINDIRECT, p);
        break;
    }
    case EMR_SELECTOBJECT:
        Select(r.U32());
        break;
    case EMR_DELETEOBJECT:
        Forget(r.U32());
        break;
    case EMR_EXTSELECTCLIPRGN:
        if (inPath_) break;
        Clip(r);
        break;
    case EMR_MOVETOEX:
        pos_ = r.Point();
        if (inPath_)
            figures_.push_back({{pos_}, false});
        else
            Emit(META_MOVETO, {Short(Y(pos_.Y)), Short(X(pos_.X))});
        break;
    case EMR_LINETO: {
        const POINT p = r.Point();
        if (inPath_)
            Figure(p);
        else
            Emit(META_LINETO, {Short(Y(p.Y)), Short(X(p.X))});
        pos_ = p;
        break;
    }
    case EMR_POLYLINE16:
    case EMR_POLYLINETO16:
    case EMR_POLYGON16:
    case EMR_POLYLINE:
    case EMR_POLYLINETO:
    case EMR_POLYGON: {
        const bool small = type == EMR_POLYLINE16 || type == EMR_POLYLINETO16 || type == EMR_POLYGON16;
        r.Skip(16);
        const DWORD count = r.U32();
        std::vector<POINT> pts;
        for (DWORD i = 0; i < count && r.Ok(); ++i) {
            if (small) {
                const auto x = static_cast<std::int16_t>(r.U16()), y = static_cast<std::int16_t>(r.U16());
                pts.push_back(POINT{x, y});
            } else {
                pts.push_back(r.Point());
            }
        }
        const bool to = type == EMR_POLYLINETO16 || type == EMR_POLYLINETO;
        const bool polygon = type == EMR_POLYGON16 || type == EMR_POLYGON;
        if (inPath_ && !polygon) {
            if (!to && !pts.empty()) {
                pos_ = pts.front();
                figures_.push_back({{pos_}, false});
            }
            for (std::size_t i = to ? 0 : 1; i < pts.size(); ++i) {
                Figure(pts[i]);
                pos_ = pts[i];
            }
            break;
        }
        if (to) pts.insert(pts.begin(), pos_);
        std::vector<WORD> p{static_cast<WORD>(pts.size())};
        for (POINT pt : pts) {
            p.push_back(Short(X(pt.X)));
            p.push_back(Short(Y(pt.Y)));
        }
        Emit(polygon ? META_POLYGON : META_POLYLINE, p);
        if (to && !pts.empty()) {
            pos_ = pts.back();
            Emit(META_MOVETO, {Short(Y(pos_.Y)), Short(X(pos_.X))});
        }
        break;
    }
    case EMR_RECTANGLE:
        Emit(META_RECTANGLE, Box(r.Rect()));
        break;
    case EMR_ELLIPSE:
        Emit(META_ELLIPSE, Box(r.Rect()));
        break;
    case EMR_ROUNDRECT: {
        const RECT b = r.Rect();
        const POINT c = r.Point();
        std::vector<WORD> p{Short(c.Y * std::abs(ScaleY())), Short(c.X * std::abs(ScaleX()))};
        const std::vector<WORD> box = Box(b);
        p.insert(p.end(), box.begin(), box.end());
        Emit(META_ROUNDRECT, p);
        break;
    }
    case EMR_ARC:
    case EMR_ARCTO:
    case EMR_PIE:
    case EMR_CHORD: {
        const RECT b = r.Rect();
        const POINT p1 = r.Point(), p2 = r.Point();
        std::vector<WORD> p{Short(Y(p2.Y)), Short(X(p2.X)), Short(Y(p1.Y)), Short(X(p1.X))};
        const std::vector<WORD> box = Box(b);
        p.insert(p.end(), box.begin(), box.end());
        Emit(type == EMR_PIE ? META_PIE : type == EMR_CHORD ? META_CHORD : META_ARC, p);
        break;
    }
    case EMR_SETPIXELV: {
        const POINT at = r.Point();
        std::vector<WORD> p;
        PutDword(p, r.U32());
        p.push_back(Short(Y(at.Y)));
        p.push_back(Short(X(at.X)));
        Emit(META_SETPIXEL, p);
        break;
    }
    case EMR_EXTTEXTOUTW: {
        r.Skip(28);
        const POINT at = r.Point();
        const DWORD count = r.U32(), offString = r.U32();
        RecordReader t(r.Slice(offString, static_cast<std::size_t>(count) * 2));
        String text;
        for (DWORD i = 0; i < count && t.Ok(); ++i) text.push_back(static_cast<Char>(t.U16()));
        const std::vector<Byte> bytes = Cp1251(text);
        std::vector<WORD> p{Short(Y(at.Y)), Short(X(at.X)), static_cast<WORD>(bytes.size()), 0};
        PutBytes(p, bytes);
        Emit(META_EXTTEXTOUT, p);
        break;
    }
    case EMR_BITBLT: {
        r.Skip(16);
        const int x = r.I32(), y = r.I32(), cx = r.I32(), cy = r.I32();
        std::vector<WORD> p;
        PutDword(p, r.U32());
        p.push_back(Short(cy * ScaleY()));
        p.push_back(Short(cx * ScaleX()));
        p.push_back(Short(Y(y)));
        p.push_back(Short(X(x)));
        Emit(META_PATBLT, p);
        break;
    }
    case EMR_STRETCHDIBITS:
    case EMR_ALPHABLEND:
    case EMR_TRANSPARENTBLT: {
        // Blended and keyed pictures go as plain copies: the older records have neither.
        r.Skip(16);
        int x = 0, y = 0, sx = 0, sy = 0, sw = 0, sh = 0, cx = 0, cy = 0;
        DWORD offBmi = 0, cbBmi = 0, offBits = 0, cbBits = 0, rop = SRCCOPY;
        if (type == EMR_STRETCHDIBITS) {
            x = r.I32(), y = r.I32(), sx = r.I32(), sy = r.I32(), sw = r.I32(), sh = r.I32();
            offBmi = r.U32(), cbBmi = r.U32(), offBits = r.U32(), cbBits = r.U32();
            r.U32();
            rop = r.U32();
            cx = r.I32(), cy = r.I32();
        } else {
            x = r.I32(), y = r.I32(), cx = r.I32(), cy = r.I32();
            r.U32();
            sx = r.I32(), sy = r.I32();
            r.Skip(32);
            offBmi = r.U32(), cbBmi = r.U32(), offBits = r.U32(), cbBits = r.U32();
            sw = r.I32(), sh = r.I32();
        }
        std::vector<WORD> p;
        PutDword(p, rop);
        p.insert(p.end(), {0, static_cast<WORD>(sh), static_cast<WORD>(sw), static_cast<WORD>(sy),
                           static_cast<WORD>(sx), Short(cy * ScaleY()), Short(cx * ScaleX()), Short(Y(y)),
                           Short(X(x))});
        PutBytes(p, r.Slice(offBmi, cbBmi));
        PutBytes(p, r.Slice(offBits, cbBits));
        Emit(META_STRETCHDIB, p);
        break;
    }
    case EMR_BEGINPATH:
        inPath_ = true;
        path_.clear();
        figures_.clear();
        break;
    case EMR_CLOSEFIGURE:
        if (!figures_.empty()) figures_.back().closed = true;
        break;
    case EMR_ENDPATH:
        break; // drawn when it is filled or stroked
    case EMR_FILLPATH:
    case EMR_STROKEPATH:
    case EMR_STROKEANDFILLPATH:
        EndPathDrawing(type != EMR_FILLPATH, type != EMR_STROKEPATH);
        break;
    case EMR_ABORTPATH:
    case EMR_SELECTCLIPPATH: // no clip of a path's shape in the older records: the clip stays as it was
        inPath_ = false;
        path_.clear();
        figures_.clear();
        break;
    default:
        break;
    }
    return r.Ok();
}

std::vector<Byte> WmfWriter::Convert(const std::vector<Byte>& emf) {
    const int w = picture_.Right - picture_.Left, h = picture_.Bottom - picture_.Top;
    out_.push_back(Rec{META_SETMAPMODE, {MM_ANISOTROPIC}});
    out_.push_back(Rec{META_SETWINDOWORG, {0, 0}});
    out_.push_back(Rec{META_SETWINDOWEXT, {Short(h), Short(w)}});
    RecordReader head(emf);
    head.Skip(4);
    std::size_t at = head.U32();
    while (at + 8 <= emf.size()) {
        RecordReader size(std::span<const Byte>(emf).subspan(at, 8));
        const DWORD type = size.U32(), bytes = size.U32();
        if (bytes < 8 || bytes > emf.size() - at || type == EMR_EOF) break;
        RecordReader r(std::span<const Byte>(emf).subspan(at, bytes));
        r.Skip(8);
        Record(type, r);
        at += bytes;
    }
    if (clipped_) out_.push_back(Rec{META_RESTOREDC, {static_cast<WORD>(-1)}});
    out_.push_back(Rec{META_EOF, {}});
    std::vector<WORD> words;
    DWORD maxRecord = 0;
    const DWORD headerWords = 9;
    DWORD total = headerWords;
    for (const Rec& r : out_) {
        const DWORD size = 3 + static_cast<DWORD>(r.params.size());
        maxRecord = std::max(maxRecord, size);
        total += size;
    }
    words.insert(words.end(), {1, static_cast<WORD>(headerWords), 0x0300});
    PutDword(words, total);
    words.push_back(maxObjects_);
    PutDword(words, maxRecord);
    words.push_back(0);
    for (const Rec& r : out_) {
        PutDword(words, 3 + static_cast<DWORD>(r.params.size()));
        words.push_back(r.function);
        words.insert(words.end(), r.params.begin(), r.params.end());
    }
    std::vector<Byte> bytes;
    bytes.reserve(words.size() * 2);
    for (WORD v : words) {
        bytes.push_back(static_cast<Byte>(v));
        bytes.push_back(static_cast<Byte>(v >> 8));
    }
    return bytes;
}

} // namespace

std::vector<Byte> GetWinMetaFileBits(const HENHMETAFILE& Metafile) {
    if (!Metafile) return {};
    const SIZE size = EnhMetaFilePixels(Metafile->Header());
    WmfWriter writer(RECT{0, 0, std::max(1, size.cx), std::max(1, size.cy)});
    return writer.Convert(Metafile->Bytes());
}
