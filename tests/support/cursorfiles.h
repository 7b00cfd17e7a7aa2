#pragma once
// Cursor files made byte by byte for the tests that read them: a still cursor (.cur) of one
// 32 x 32 picture and an animated one (.ani) of such frames, each field settable, so that a test
// can damage any of them.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

// A .cur file of one 32 x 32 picture, written little-endian field by field.
class CursorBytes {
public:
    // The cursor directory and the picture's header; Bits per pixel, Body the bytes after it.
    CursorBytes(int HotX, int HotY, unsigned Bits, unsigned Body) {
        U16(0), U16(2), U16(1);
        Byte(32), Byte(32), Byte(0), Byte(0);
        U16(static_cast<unsigned>(HotX)), U16(static_cast<unsigned>(HotY)), U32(40 + Body), U32(22);
        U32(40), U32(32), U32(64), U16(1), U16(Bits), U32(0), U32(0), U32(0), U32(0), U32(0), U32(0);
    }
    void Byte(unsigned v) { d.push_back(static_cast<std::uint8_t>(v)); }
    void U16(unsigned v) { Byte(v & 0xFF), Byte((v >> 8) & 0xFF); }
    void U32(unsigned v) { U16(v & 0xFFFF), U16(v >> 16); }
    CursorBytes() = default;
    void Tag(const char* Four) { d.insert(d.end(), Four, Four + 4); }
    void Append(const std::vector<std::uint8_t>& More) { d.insert(d.end(), More.begin(), More.end()); }
    const std::vector<std::uint8_t>& Data() const { return d; }
    void Save(const std::filesystem::path& Path) const {
        std::ofstream(Path, std::ios::binary)
            .write(reinterpret_cast<const char*>(d.data()), static_cast<std::streamsize>(d.size()));
    }

private:
    std::vector<std::uint8_t> d;
};

// One bit a pixel: a black Size x Size square in the top-left corner, clear elsewhere.
inline void WriteCursorFile(const std::filesystem::path& Path, int HotX, int HotY, int Size = 8) {
    CursorBytes c(HotX, HotY, 1, 8 + 128 + 128);
    c.U32(0x000000), c.U32(0xFFFFFF);        // palette: black, white
    for (int i = 0; i < 128; ++i) c.Byte(0); // XOR: all black
    for (int row = 31; row >= 0; --row)      // AND, bottom-up: clear outside the square
        for (int byte = 0; byte < 4; ++byte) {
            unsigned bits = 0xFF;
            if (row < Size)
                for (int bit = 0; bit < 8; ++bit)
                    if (byte * 8 + bit < Size) bits &= ~(0x80u >> bit);
            c.Byte(bits);
        }
    c.Save(Path);
}

// 32 bits a pixel with its own alpha: an opaque 4 x 4 square of the colour (0xRRGGBB) in the
// top-left corner.
inline CursorBytes AlphaCursor(unsigned Rgb = 0xFF0000) {
    CursorBytes c(1, 1, 32, 4096 + 128);
    for (int row = 31; row >= 0; --row)
        for (int x = 0; x < 32; ++x) {
            const unsigned on = row < 4 && x < 4 ? 0xFFFFFFFFu : 0;
            c.U32(on & (0xFF000000u | Rgb));
        }
    for (int i = 0; i < 128; ++i) c.Byte(0xFF); // the mask says clear: the alpha decides
    return c;
}

inline void WriteAlphaCursorFile(const std::filesystem::path& Path) {
    AlphaCursor().Save(Path);
}

// An animated cursor: a "fram" list of the frames (.cur files), shown in Order at Rates (jiffies)
// when those are given, with the header's counts, rate, flags and size as set here.
struct AniFile {
    std::vector<CursorBytes> Frames;
    std::vector<unsigned> Order, Rates;
    unsigned FrameCount = 0, StepCount = 0, Rate = 3, Flags = 1, HeaderSize = 36;

    AniFile(std::vector<CursorBytes> TheFrames, std::vector<unsigned> TheOrder,
            std::vector<unsigned> TheRates)
        : Frames(std::move(TheFrames)), Order(std::move(TheOrder)), Rates(std::move(TheRates)),
          FrameCount(static_cast<unsigned>(Frames.size())),
          StepCount(static_cast<unsigned>(Order.empty() ? Frames.size() : Order.size())),
          Flags(Order.empty() ? 1 : 3) {}
    std::vector<std::uint8_t> Bytes() const {
        CursorBytes body;
        body.Tag("ACON"), body.Tag("anih"), body.U32(36), body.U32(HeaderSize), body.U32(FrameCount);
        body.U32(StepCount);
        for (int i = 0; i < 4; ++i) body.U32(0); // width, height, bits, planes: for raw frames only
        body.U32(Rate), body.U32(Flags);
        for (const auto& [tag, values] : {std::pair{"rate", &Rates}, std::pair{"seq ", &Order}}) {
            if (values->empty()) continue;
            body.Tag(tag), body.U32(static_cast<unsigned>(4 * values->size()));
            for (unsigned v : *values) body.U32(v);
        }
        CursorBytes list;
        list.Tag("fram");
        for (const CursorBytes& f : Frames) {
            list.Tag("icon"), list.U32(static_cast<unsigned>(f.Data().size())), list.Append(f.Data());
            if (f.Data().size() % 2) list.Byte(0);
        }
        body.Tag("LIST"), body.U32(static_cast<unsigned>(list.Data().size())), body.Append(list.Data());
        CursorBytes file;
        file.Tag("RIFF"), file.U32(static_cast<unsigned>(body.Data().size())), file.Append(body.Data());
        return file.Data();
    }
    void Save(const std::filesystem::path& Path) const {
        const std::vector<std::uint8_t> d = Bytes();
        std::ofstream(Path, std::ios::binary)
            .write(reinterpret_cast<const char*>(d.data()), static_cast<std::streamsize>(d.size()));
    }
};
