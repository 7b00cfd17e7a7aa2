// Reading .cur files: a directory of pictures, each a device-independent bitmap (an XOR
// picture over a one-bit AND mask, twice as high as the cursor) or a PNG, with the hot spot
// in the directory entry. Every size and offset is checked against the file: a damaged file
// gives no cursor, never a crash.
#include "platform/gui/cursorfile.h"

#include "platform/core/sysutils.h"
#include "platform/gui/qtbridge.h"
#include "platform/gui/winuser.h"

#include <QImage>
#include <QPixmap>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::size_t kMaxFile = 4 * 1024 * 1024;

std::optional<Bytes> ReadFile(const String& FileName) {
    std::ifstream in(UTF8Encode(FileName), std::ios::binary);
    if (!in) return std::nullopt;
    Bytes data;
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        data.insert(data.end(), buffer, buffer + in.gcount());
        if (data.size() > kMaxFile) return std::nullopt;
    }
    return data;
}

std::uint32_t U16(const Bytes& d, std::size_t at) {
    return d[at] | (d[at + 1] << 8);
}
std::uint32_t U32(const Bytes& d, std::size_t at) {
    return U16(d, at) | (U16(d, at + 2) << 16);
}

// The DIB of one entry: BITMAPINFOHEADER, palette, XOR rows, AND rows, all bottom-up with
// rows padded to four bytes.
std::optional<QImage> DecodeDib(const Bytes& d, std::size_t at, std::size_t size) {
    if (size < 40 || U32(d, at) < 40 || U32(d, at) > size) return std::nullopt;
    const auto width = static_cast<std::int32_t>(U32(d, at + 4));
    const auto height2 = static_cast<std::int32_t>(U32(d, at + 8));
    const std::uint32_t bits = U16(d, at + 14), compression = U32(d, at + 16);
    std::uint32_t colours = U32(d, at + 32);
    if (width <= 0 || width > 256 || height2 <= 0 || height2 > 512 || height2 % 2 != 0 || compression != 0)
        return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;
    const int height = height2 / 2;
    if (bits <= 8 && colours == 0) colours = 1u << bits;
    if (bits > 8) colours = 0;
    if (colours > 256) return std::nullopt;
    const std::size_t palette = at + U32(d, at);
    const std::size_t xorStride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
    const std::size_t andStride = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
    const std::size_t xorAt = palette + 4 * colours;
    const std::size_t andAt = xorAt + xorStride * height;
    if (andAt + andStride * height > at + size) return std::nullopt;

    QImage image(width, height, QImage::Format_ARGB32);
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const std::size_t row = xorAt + xorStride * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            std::uint32_t b = 0, g = 0, r = 0, a = 255;
            if (bits <= 8) {
                const std::size_t bit = static_cast<std::size_t>(x) * bits;
                const std::uint32_t index = (d[row + bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (index >= colours) return std::nullopt;
                const std::size_t p = palette + 4 * index;
                b = d[p], g = d[p + 1], r = d[p + 2];
            } else {
                const std::size_t p = row + static_cast<std::size_t>(x) * (bits / 8);
                b = d[p], g = d[p + 1], r = d[p + 2];
                if (bits == 32) a = d[p + 3], anyAlpha = anyAlpha || a != 0;
            }
            image.setPixel(
                x, y,
                qRgba(static_cast<int>(r), static_cast<int>(g), static_cast<int>(b), static_cast<int>(a)));
        }
    }
    if (!anyAlpha) {
        // The mask decides: a set AND bit over black is clear; over a colour it would invert the
        // screen, which a cursor picture here cannot, so it shows black.
        for (int y = 0; y < height; ++y) {
            const std::size_t row = andAt + andStride * (height - 1 - y);
            for (int x = 0; x < width; ++x) {
                if (!((d[row + x / 8] >> (7 - x % 8)) & 1)) continue;
                const QRgb c = image.pixel(x, y);
                image.setPixel(x, y, (c & 0xFFFFFF) == 0 ? qRgba(0, 0, 0, 0) : qRgba(0, 0, 0, 255));
            }
        }
    }
    return image;
}

} // namespace

bool IsAnimatedCursorFile(const String& FileName) {
    std::ifstream in(UTF8Encode(FileName), std::ios::binary);
    char head[12] = {};
    if (!in.read(head, sizeof head)) return false;
    return std::string(head, 4) == "RIFF" && std::string(head + 8, 4) == "ACON";
}

HCURSOR LoadCursorFromFileW(const String& FileName) {
    const std::optional<Bytes> file = ReadFile(FileName);
    if (!file || file->size() < 6) return nullptr;
    const Bytes& d = *file;
    if (U16(d, 0) != 0 || U16(d, 2) != 2) return nullptr; // 2: a cursor directory
    const std::uint32_t count = U16(d, 4);
    if (count == 0 || 6 + 16 * static_cast<std::size_t>(count) > d.size()) return nullptr;
    // The entry nearest the system cursor size.
    const int want = GetSystemMetrics(SM_CXCURSOR);
    std::size_t best = 0;
    int bestDistance = 1 << 30;
    for (std::size_t i = 0; i < count; ++i) {
        const int w = d[6 + 16 * i] ? d[6 + 16 * i] : 256;
        if (std::abs(w - want) < bestDistance) bestDistance = std::abs(w - want), best = i;
    }
    const std::size_t entry = 6 + 16 * best;
    const std::uint32_t hotX = U16(d, entry + 4), hotY = U16(d, entry + 6);
    const std::size_t size = U32(d, entry + 8), at = U32(d, entry + 12);
    if (at >= d.size() || size > d.size() - at) return nullptr;
    static const std::uint8_t png[] = {0x89, 'P', 'N', 'G'};
    std::optional<QImage> image;
    if (size >= 8 &&
        std::equal(std::begin(png), std::end(png), d.begin() + static_cast<std::ptrdiff_t>(at))) {
        // A cursor is at most 256 pixels a side: a larger one is not decoded at all.
        const QSize claimed = ClaimedPictureSize(d.data() + at, size, "PNG");
        QImage decoded;
        if (claimed.isValid() && claimed.width() <= 256 && claimed.height() <= 256 &&
            decoded.loadFromData(d.data() + at, static_cast<int>(size), "PNG") && decoded.width() <= 256 &&
            decoded.height() <= 256)
            image = decoded.convertToFormat(QImage::Format_ARGB32);
    } else {
        image = DecodeDib(d, at, size);
    }
    if (!image || image->isNull()) return nullptr;
    const int x = static_cast<int>(hotX) < image->width() ? static_cast<int>(hotX) : 0;
    const int y = static_cast<int>(hotY) < image->height() ? static_cast<int>(hotY) : 0;
    gui_detail::EnsureQtApplication();
    return new TCursorPicture{QCursor(QPixmap::fromImage(*image), x, y)};
}
