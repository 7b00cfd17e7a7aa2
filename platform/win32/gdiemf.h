#pragma once
// The enhanced-metafile file format as the recorder writes it and the player
// reads it, for the platform only: record numbers, fixed sizes, and a writer
// and a bounds-checked reader of little-endian fields.

#include "platform/win32/gdi.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

namespace emf {

enum : DWORD {
    EMR_HEADER = 1,
    EMR_POLYGON = 3,
    EMR_POLYLINE = 4,
    EMR_POLYLINETO = 6,
    EMR_SETWINDOWEXTEX = 9,
    EMR_SETWINDOWORGEX = 10,
    EMR_SETVIEWPORTEXTEX = 11,
    EMR_SETVIEWPORTORGEX = 12,
    EMR_SETBRUSHORGEX = 13,
    EMR_EOF = 14,
    EMR_SETPIXELV = 15,
    EMR_SETMAPMODE = 17,
    EMR_SETBKMODE = 18,
    EMR_SETPOLYFILLMODE = 19,
    EMR_SETROP2 = 20,
    EMR_SETTEXTALIGN = 22,
    EMR_SETTEXTCOLOR = 24,
    EMR_SETBKCOLOR = 25,
    EMR_MOVETOEX = 27,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_ELLIPSE = 42,
    EMR_RECTANGLE = 43,
    EMR_ROUNDRECT = 44,
    EMR_ARC = 45,
    EMR_CHORD = 46,
    EMR_PIE = 47,
    EMR_LINETO = 54,
    EMR_ARCTO = 55,
    EMR_SETARCDIRECTION = 57,
    EMR_BEGINPATH = 59,
    EMR_ENDPATH = 60,
    EMR_CLOSEFIGURE = 61,
    EMR_FILLPATH = 62,
    EMR_STROKEANDFILLPATH = 63,
    EMR_STROKEPATH = 64,
    EMR_WIDENPATH = 66,
    EMR_SELECTCLIPPATH = 67,
    EMR_ABORTPATH = 68,
    EMR_GDICOMMENT = 70,
    EMR_EXTSELECTCLIPRGN = 75,
    EMR_BITBLT = 76,
    EMR_STRETCHDIBITS = 81,
    EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTW = 84,
    EMR_POLYGON16 = 86,
    EMR_POLYLINE16 = 87,
    EMR_POLYLINETO16 = 89,
    EMR_CREATEDIBPATTERNBRUSHPT = 94,
    EMR_EXTCREATEPEN = 95,
    EMR_ALPHABLEND = 114,
    EMR_TRANSPARENTBLT = 116,
};

constexpr DWORD kSignature = 0x464D4520; // " EMF"
constexpr DWORD kVersion = 0x00010000;
constexpr DWORD kHeaderSize = 108;    // with both header extensions
constexpr DWORD kMinHeaderSize = 88;  // the header without extensions
constexpr DWORD kBitmapInfoSize = 40; // a BITMAPINFOHEADER
constexpr DWORD kLogFontSize = 92;    // a LOGFONTW: 28 bytes of numbers, 32 UTF-16 units of face
constexpr int kFaceUnits = 32;
constexpr DWORD kCommentCharExtra = 0x5854434D; // "MCTX": our character spacing, kept in a comment
constexpr WORD kHandleCount = 7;                // index 0 and two slots each for pen, brush and font

// Bounds on what a record may ask for. Drawing never reaches them; the
// recorder pulls anything beyond them in, and the reader refuses a file that
// goes beyond them instead of drawing something absurd.
constexpr int kCoordLimit = 1 << 22;
constexpr int kFontLimit = 1 << 14;
constexpr int kPenLimit = 1 << 12;

// Object table slots: two per kind, taken in turn, so the next object is made
// before the last one is deleted.
constexpr DWORD kPenSlot = 1, kBrushSlot = 3, kFontSlot = 5;

// One record under construction: fields are appended little-endian; Finish
// pads it to four bytes and writes its size.
class RecordWriter {
public:
    explicit RecordWriter(DWORD type) {
        U32(type);
        U32(0);
    }
    RecordWriter& U32(DWORD v) {
        for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<Byte>(v >> (8 * i)));
        return *this;
    }
    RecordWriter& I32(int v) { return U32(static_cast<DWORD>(v)); }
    RecordWriter& U16(WORD v) {
        bytes_.push_back(static_cast<Byte>(v));
        bytes_.push_back(static_cast<Byte>(v >> 8));
        return *this;
    }
    RecordWriter& U8(Byte v) {
        bytes_.push_back(v);
        return *this;
    }
    RecordWriter& F32(float v) {
        DWORD bits;
        std::memcpy(&bits, &v, 4);
        return U32(bits);
    }
    // A coordinate, pulled in to the limit.
    RecordWriter& Coord(int v) { return I32(std::clamp(v, -kCoordLimit, kCoordLimit)); }
    RecordWriter& Rect(const RECT& r) { return Coord(r.Left).Coord(r.Top).Coord(r.Right).Coord(r.Bottom); }
    RecordWriter& Point(POINT p) { return Coord(p.X).Coord(p.Y); }
    RecordWriter& Bytes(std::span<const Byte> b) {
        bytes_.insert(bytes_.end(), b.begin(), b.end());
        return *this;
    }
    std::size_t Size() const { return bytes_.size(); }
    // Overwrites a field written before (an offset known only later).
    void PatchU32(std::size_t at, DWORD v) {
        for (int i = 0; i < 4; ++i)
            bytes_[at + static_cast<std::size_t>(i)] = static_cast<Byte>(v >> (8 * i));
    }
    void Align() {
        while (bytes_.size() % 4) bytes_.push_back(0);
    }
    std::vector<Byte> Finish() {
        Align();
        PatchU32(4, static_cast<DWORD>(bytes_.size()));
        return std::move(bytes_);
    }

private:
    std::vector<Byte> bytes_;
};

// Reads fields of one record; any read past the record's end marks it damaged
// and answers zero, so a decoder checks Ok() once after reading.
class RecordReader {
public:
    explicit RecordReader(std::span<const Byte> record) : data_(record) {}
    DWORD U32() {
        if (!Need(4)) return 0;
        DWORD v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<DWORD>(data_[pos_ + static_cast<std::size_t>(i)]) << (8 * i);
        pos_ += 4;
        return v;
    }
    int I32() { return static_cast<int>(U32()); }
    WORD U16() {
        if (!Need(2)) return 0;
        const WORD v = static_cast<WORD>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return v;
    }
    Byte U8() {
        if (!Need(1)) return 0;
        return data_[pos_++];
    }
    RECT Rect() {
        const int l = I32(), t = I32(), r = I32(), b = I32();
        return RECT{l, t, r, b};
    }
    POINT Point() {
        const int x = I32(), y = I32();
        return POINT{x, y};
    }
    void Skip(std::size_t n) {
        if (Need(n)) pos_ += n;
    }
    void Seek(std::size_t at) {
        if (at > data_.size())
            ok_ = false;
        else
            pos_ = at;
    }
    // The bytes [offset, offset + size) of the record, empty and damaged when outside it.
    std::span<const Byte> Slice(std::size_t offset, std::size_t size) {
        if (offset > data_.size() || size > data_.size() - offset) {
            ok_ = false;
            return {};
        }
        return data_.subspan(offset, size);
    }
    std::size_t Size() const { return data_.size(); }
    std::size_t Position() const { return pos_; }
    bool Ok() const { return ok_; }
    void Fail() { ok_ = false; }

private:
    bool Need(std::size_t n) {
        if (ok_ && n <= data_.size() - pos_) return true;
        ok_ = false;
        return false;
    }
    std::span<const Byte> data_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

} // namespace emf
