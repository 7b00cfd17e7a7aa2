// Bitmap files of every depth: the colours each depth can hold and the file writer.
#include "platform/win32/gdiqt.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

// Little-endian fields of a file's header; the caller has checked that they lie within it.
std::uint32_t FileU16(const std::vector<Byte>& data, std::size_t at) {
    return std::uint32_t{data[at]} | std::uint32_t{data[at + 1]} << 8;
}
std::uint32_t FileU32(const std::vector<Byte>& data, std::size_t at) {
    return FileU16(data, at) | FileU16(data, at + 2) << 16;
}

struct Rgb {
    int r, g, b;
};

constexpr std::array<Rgb, 16> kStandard16 = {{{0, 0, 0},
                                              {128, 0, 0},
                                              {0, 128, 0},
                                              {128, 128, 0},
                                              {0, 0, 128},
                                              {128, 0, 128},
                                              {0, 128, 128},
                                              {192, 192, 192},
                                              {128, 128, 128},
                                              {255, 0, 0},
                                              {0, 255, 0},
                                              {255, 255, 0},
                                              {0, 0, 255},
                                              {255, 0, 255},
                                              {0, 255, 255},
                                              {255, 255, 255}}};

// A channel of 0..255 on Levels evenly spaced steps, and back.
int Level(int v, int levels) {
    return (v * (levels - 1) + 127) / 255;
}
int FromLevel(int l, int levels) {
    return (l * 255 + (levels - 1) / 2) / (levels - 1);
}

// The palette entry of a colour at a depth with a palette (1, 4 or 8 bits).
int PaletteIndex(Rgb c, int bits) {
    if (bits == 1) return c.r * 299 + c.g * 587 + c.b * 114 >= 128 * 1000 ? 1 : 0;
    if (bits == 4) {
        int best = 0, bestDistance = 1 << 30;
        for (int i = 0; i < 16; ++i) {
            const Rgb& p = kStandard16[static_cast<std::size_t>(i)];
            const int d = (p.r - c.r) * (p.r - c.r) + (p.g - c.g) * (p.g - c.g) + (p.b - c.b) * (p.b - c.b);
            if (d < bestDistance) best = i, bestDistance = d;
        }
        return best;
    }
    return Level(c.r, 8) << 5 | Level(c.g, 8) << 2 | Level(c.b, 4);
}

Rgb PaletteColor(int index, int bits) {
    if (bits == 1) return index ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
    if (bits == 4) return kStandard16[static_cast<std::size_t>(index)];
    return {FromLevel(index >> 5, 8), FromLevel(index >> 2 & 7, 8), FromLevel(index & 3, 4)};
}

// The 16-bit word of a colour: 5-5-5, or 5-6-5 for 16 bits.
std::uint16_t Packed(Rgb c, int bits) {
    const int greens = bits == 16 ? 64 : 32;
    const int r = Level(c.r, 32), g = Level(c.g, greens), b = Level(c.b, 32);
    return static_cast<std::uint16_t>(bits == 16 ? r << 11 | g << 5 | b : r << 10 | g << 5 | b);
}

Rgb Unpacked(std::uint16_t w, int bits) {
    if (bits == 16) return {FromLevel(w >> 11 & 31, 32), FromLevel(w >> 5 & 63, 64), FromLevel(w & 31, 32)};
    return {FromLevel(w >> 10 & 31, 32), FromLevel(w >> 5 & 31, 32), FromLevel(w & 31, 32)};
}

// The colour a pixel keeps at the depth.
Rgb Reduced(Rgb c, int bits) {
    if (bits == 1 || bits == 4 || bits == 8) return PaletteColor(PaletteIndex(c, bits), bits);
    if (bits == 15 || bits == 16) return Unpacked(Packed(c, bits), bits);
    return c;
}

bool Supported(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

void Put16(std::vector<Byte>& d, unsigned v) {
    d.push_back(static_cast<Byte>(v));
    d.push_back(static_cast<Byte>(v >> 8));
}
void Put32(std::vector<Byte>& d, std::uint32_t v) {
    Put16(d, v & 0xFFFF);
    Put16(d, v >> 16);
}

} // namespace

void ReduceBitmapSurface(HBITMAP bitmap, int bitsPerPixel) {
    if (bitsPerPixel == 24 || bitsPerPixel == 32 || !Supported(bitsPerPixel)) return;
    QImage& img = BitmapImage(bitmap);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            const Rgb c = Reduced({qRed(p), qGreen(p), qBlue(p)}, bitsPerPixel);
            img.setPixel(x, y, qRgb(c.r, c.g, c.b));
        }
}

bool SaveBitmapSurfaceAs(HBITMAP bitmap, int bitsPerPixel, std::vector<Byte>& data) {
    const QImage& img = BitmapImage(bitmap);
    if (img.isNull() || img.width() == 0 || img.height() == 0 || !Supported(bitsPerPixel)) return false;
    const int fileBits = bitsPerPixel == 15 ? 16 : bitsPerPixel;
    const bool palette = bitsPerPixel <= 8;
    const bool masks = bitsPerPixel == 16;
    const std::uint32_t colours = palette ? 1u << bitsPerPixel : 0;
    const std::uint32_t stride = (static_cast<std::uint32_t>(img.width()) * fileBits + 31) / 32 * 4;
    const std::uint32_t headers = 14 + 40 + (masks ? 12 : 0) + colours * 4;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(img.height());
    data.clear();
    data.reserve(headers + imageSize);
    data.push_back('B');
    data.push_back('M');
    Put32(data, headers + imageSize);
    Put32(data, 0);
    Put32(data, headers);
    Put32(data, 40);
    Put32(data, static_cast<std::uint32_t>(img.width()));
    Put32(data, static_cast<std::uint32_t>(img.height())); // rows bottom-up
    Put16(data, 1);
    Put16(data, static_cast<unsigned>(fileBits));
    Put32(data, masks ? 3 : 0); // colour masks, or plain
    Put32(data, imageSize);
    Put32(data, 3780); // 96 per inch in pixels a metre
    Put32(data, 3780);
    Put32(data, colours);
    Put32(data, 0);
    if (masks) {
        Put32(data, 0xF800);
        Put32(data, 0x07E0);
        Put32(data, 0x001F);
    }
    for (std::uint32_t i = 0; i < colours; ++i) {
        const Rgb c = PaletteColor(static_cast<int>(i), bitsPerPixel);
        data.push_back(static_cast<Byte>(c.b));
        data.push_back(static_cast<Byte>(c.g));
        data.push_back(static_cast<Byte>(c.r));
        data.push_back(0);
    }
    std::vector<Byte> row(stride);
    for (int y = img.height() - 1; y >= 0; --y) {
        std::fill(row.begin(), row.end(), Byte(0));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            const Rgb c{qRed(p), qGreen(p), qBlue(p)};
            const auto at = static_cast<std::size_t>(x);
            if (palette) {
                const int index = PaletteIndex(c, bitsPerPixel);
                const std::size_t perByte = static_cast<std::size_t>(8 / bitsPerPixel);
                const int shift = 8 - bitsPerPixel * (static_cast<int>(at % perByte) + 1);
                row[at / perByte] = static_cast<Byte>(row[at / perByte] | index << shift);
            } else if (fileBits == 16) {
                const std::uint16_t w = Packed(c, bitsPerPixel);
                row[at * 2] = static_cast<Byte>(w);
                row[at * 2 + 1] = static_cast<Byte>(w >> 8);
            } else {
                const std::size_t step = static_cast<std::size_t>(fileBits / 8);
                row[at * step] = static_cast<Byte>(c.b);
                row[at * step + 1] = static_cast<Byte>(c.g);
                row[at * step + 2] = static_cast<Byte>(c.r);
            }
        }
        data.insert(data.end(), row.begin(), row.end());
    }
    return true;
}

bool BitmapFileRowsPresent(const std::vector<Byte>& data) {
    constexpr std::uint64_t fileHeader = 14;
    const std::uint64_t size = data.size();
    const auto u16 = [&data](std::size_t at) { return std::uint64_t{FileU16(data, at)}; };
    const auto u32 = [&data](std::size_t at) { return std::uint64_t{FileU32(data, at)}; };
    if (size < fileHeader + 4 || data[0] != 'B' || data[1] != 'M') return false;
    // The headers the reader knows: the old core one, Windows 3, OS/2 2, Windows 4 and 5.
    const std::uint64_t header = u32(14);
    const bool core = header == 12;
    if (!core && header != 40 && header != 64 && header != 108 && header != 124) return false;
    if (size < fileHeader + header) return false;
    std::uint64_t width = 0, rows = 0, bits = 0, compression = 0, colours = 0;
    if (core) {
        width = u16(18), rows = u16(20), bits = u16(24);
    } else {
        const auto w = static_cast<std::int32_t>(u32(18)), h = static_cast<std::int32_t>(u32(22));
        if (w <= 0 || h == 0) return false;
        // A negative height stores the rows top first.
        width = static_cast<std::uint64_t>(w);
        rows = static_cast<std::uint64_t>(h < 0 ? -std::int64_t{h} : std::int64_t{h});
        bits = u16(28), compression = u32(30), colours = u32(46);
    }
    if (width == 0 || rows == 0) return false;
    // Run-length pixels are read as far as their runs go.
    if (compression == 1 || compression == 2) return true;
    std::uint64_t start = fileHeader + header;
    if (compression == 3 && header < 108) start += 12; // the colour masks follow a short header
    if (bits <= 8) {
        if (colours > 256) return false;
        start += (colours ? colours : std::uint64_t{1} << bits) * (core ? 3 : 4); // the palette
    }
    // The pixels start where the file says, but never inside the headers and palette.
    start = std::max(start, u32(10));
    const std::uint64_t stride = (width * bits + 31) / 32 * 4; // rows padded to four bytes
    return start <= size && (stride == 0 || rows <= (size - start) / stride);
}

int BitmapFileDepth(const std::vector<Byte>& data) {
    if (data.size() < 26 || data[0] != 'B' || data[1] != 'M') return 0;
    // The old core header has 16-bit sizes, so its depth comes four bytes earlier, and no
    // colour masks: its 16 bits a pixel are 5-5-5.
    if (FileU32(data, 14) == 12) {
        const int bits = static_cast<int>(FileU16(data, 24));
        return bits == 16 ? 15 : bits;
    }
    if (data.size() < 34) return 0;
    const int bits = static_cast<int>(FileU16(data, 28));
    if (bits != 16) return bits;
    if (FileU32(data, 30) != 3 || data.size() < 62) return 15;
    // The masks follow the 40-byte header: red, green, blue.
    return (FileU32(data, 58) & 0xFFFFFF) == 0x07E0 ? 16 : 15;
}
