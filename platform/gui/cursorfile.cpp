// Reading cursor files. A .cur file is a directory of pictures, each a device-independent
// bitmap (an XOR picture over a one-bit AND mask, twice as high as the cursor) or a PNG, with
// the hot spot in the directory entry. An animated cursor (.ani) is a RIFF "ACON" file: an
// "anih" header with the frame and step counts, the default rate and the flags, optional
// "rate" (one rate a step) and "seq " (one frame number a step) chunks, and a "fram" list of
// "icon" chunks, each a .cur file of its own. Every count, size and offset is checked against
// the file before anything is made for it: a damaged or lying file gives no cursor, never a
// crash or a large allocation.
#include "platform/gui/cursorfile.h"

#include "platform/core/sysutils.h"
#include "platform/gui/qtbridge.h"
#include "platform/gui/winuser.h"

#include <QImage>
#include <QPixmap>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Span = std::span<const std::uint8_t>;
constexpr std::size_t kMaxFile = 4 * 1024 * 1024;
// The pixels all the pictures of one file may decode to together (sixty-four frames of the
// largest size, thousands of the usual one): the frames of a small file that claim to be large
// cannot make the reader hold more.
constexpr std::size_t kMaxPixels = 64 * 256 * 256;
// The fewest bytes an "icon" chunk takes: its chunk header, the cursor directory of one entry
// and a PNG signature. A frame count above the list's length over this is a lie.
constexpr std::size_t kMinFrameBytes = 8 + 6 + 16 + 8;
// A step's rate in jiffies (1/60 s): none shows for less than one, nor for more than an hour.
constexpr std::uint32_t kMaxJiffies = 60 * 60 * 60;
// The header's flags: the frames are cursor files (not raw bitmaps); the steps follow "seq ".
constexpr std::uint32_t kIconFrames = 1, kSequenced = 2;

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

std::uint32_t U16(Span d, std::size_t at) {
    return d[at] | (d[at + 1] << 8);
}
std::uint32_t U32(Span d, std::size_t at) {
    return U16(d, at) | (U16(d, at + 2) << 16);
}
std::string_view Tag(Span d, std::size_t at) {
    return {reinterpret_cast<const char*>(d.data() + at), 4};
}

// Takes a picture's pixels from what the file may still decode; false when they do not fit.
bool Spend(std::size_t& Pixels, std::size_t Width, std::size_t Height) {
    if (Width * Height > Pixels) return false;
    Pixels -= Width * Height;
    return true;
}

// The DIB of one entry: BITMAPINFOHEADER, palette, XOR rows, AND rows, all bottom-up with
// rows padded to four bytes.
std::optional<QImage> DecodeDib(Span d, std::size_t at, std::size_t size, std::size_t& Pixels) {
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
    if (!Spend(Pixels, static_cast<std::size_t>(width), static_cast<std::size_t>(height)))
        return std::nullopt;

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

// The picture of a .cur file nearest the system cursor size, as a cursor with its hot spot.
std::optional<QCursor> ReadCursor(Span d, std::size_t& Pixels) {
    if (d.size() < 6 || U16(d, 0) != 0 || U16(d, 2) != 2) return std::nullopt; // 2: a cursor directory
    const std::uint32_t count = U16(d, 4);
    if (count == 0 || 6 + 16 * static_cast<std::size_t>(count) > d.size()) return std::nullopt;
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
    if (at >= d.size() || size > d.size() - at) return std::nullopt;
    static const std::uint8_t png[] = {0x89, 'P', 'N', 'G'};
    std::optional<QImage> image;
    if (size >= 8 &&
        std::equal(std::begin(png), std::end(png), d.begin() + static_cast<std::ptrdiff_t>(at))) {
        // A cursor is at most 256 pixels a side: a larger one is not decoded at all.
        const QSize claimed = ClaimedPictureSize(d.data() + at, size, "PNG");
        QImage decoded;
        if (claimed.isValid() && claimed.width() <= 256 && claimed.height() <= 256 &&
            Spend(Pixels, static_cast<std::size_t>(claimed.width()),
                  static_cast<std::size_t>(claimed.height())) &&
            decoded.loadFromData(d.data() + at, static_cast<int>(size), "PNG") && decoded.width() <= 256 &&
            decoded.height() <= 256 && decoded.size() == claimed)
            image = decoded.convertToFormat(QImage::Format_ARGB32);
    } else {
        image = DecodeDib(d, at, size, Pixels);
    }
    if (!image || image->isNull()) return std::nullopt;
    const int x = static_cast<int>(hotX) < image->width() ? static_cast<int>(hotX) : 0;
    const int y = static_cast<int>(hotY) < image->height() ? static_cast<int>(hotY) : 0;
    gui_detail::EnsureQtApplication();
    return QCursor(QPixmap::fromImage(*image), x, y);
}

// The chunks of a RIFF body in turn, each padded to an even length.
class Chunks {
public:
    explicit Chunks(Span Body) : FRest(Body) {}
    // False at the end, or when a chunk claims more bytes than are left (then Damaged).
    bool Next(std::string_view& Id, Span& Data) {
        if (FRest.empty()) return false;
        if (FRest.size() < 8 || U32(FRest, 4) > FRest.size() - 8) {
            FDamaged = true;
            return false;
        }
        const std::size_t size = U32(FRest, 4);
        Id = Tag(FRest, 0);
        Data = FRest.subspan(8, size);
        // The last chunk may go without its pad byte.
        FRest = FRest.subspan(std::min(FRest.size(), 8 + size + (size & 1)));
        return true;
    }
    bool Damaged() const { return FDamaged; }

private:
    Span FRest;
    bool FDamaged = false;
};

unsigned Milliseconds(std::uint32_t Jiffies) {
    const std::uint64_t jiffies = std::clamp<std::uint32_t>(Jiffies, 1, kMaxJiffies);
    return static_cast<unsigned>((jiffies * 1000 + 30) / 60);
}

// An animated cursor: its frames, and the steps that show them, each with its time.
HCURSOR ReadAnimatedCursor(Span d) {
    const std::uint32_t riff = U32(d, 4);
    if (riff < 4 || riff > d.size() - 8) return nullptr;
    Chunks chunks(d.subspan(12, riff - 4));
    std::optional<Span> header, rates, order, list;
    std::string_view id;
    Span data;
    while (chunks.Next(id, data)) {
        if (id == "anih" && !header)
            header = data;
        else if (id == "rate" && !rates)
            rates = data;
        else if (id == "seq " && !order)
            order = data;
        else if (id == "LIST" && data.size() >= 4 && Tag(data, 0) == "fram" && !list)
            list = data.subspan(4);
    }
    if (chunks.Damaged() || !header || !list || header->size() < 36 || U32(*header, 0) != 36) return nullptr;
    const std::uint32_t frameCount = U32(*header, 4), stepCount = U32(*header, 8);
    const std::uint32_t rate = U32(*header, 28), flags = U32(*header, 32);
    const bool sequenced = (flags & kSequenced) != 0;
    // Frames given as raw bitmaps, not cursor files, are not read.
    if (!(flags & kIconFrames) || (sequenced && !order)) return nullptr;
    // The counts against the bytes that have to hold them, before anything is made for them.
    if (frameCount == 0 || stepCount == 0 || frameCount > list->size() / kMinFrameBytes) return nullptr;
    if ((rates && stepCount > rates->size() / 4) || (sequenced && stepCount > order->size() / 4) ||
        (!sequenced && stepCount > frameCount))
        return nullptr;

    auto picture = std::make_unique<TCursorPicture>();
    picture->Frames.reserve(frameCount);
    std::size_t pixels = kMaxPixels;
    Chunks frames(*list);
    while (frames.Next(id, data)) {
        if (id != "icon") continue;
        if (picture->Frames.size() == frameCount) return nullptr; // more frames than the header says
        std::optional<QCursor> frame = ReadCursor(data, pixels);
        if (!frame) return nullptr;
        picture->Frames.push_back(*frame);
    }
    if (frames.Damaged() || picture->Frames.size() != frameCount) return nullptr;
    picture->Steps.reserve(stepCount);
    for (std::size_t i = 0; i < stepCount; ++i) {
        const std::size_t frame = sequenced ? U32(*order, 4 * i) : i;
        if (frame >= frameCount) return nullptr;
        picture->Steps.push_back({frame, Milliseconds(rates ? U32(*rates, 4 * i) : rate)});
    }
    picture->Cursor = picture->Frames[picture->Steps[0].Frame];
    return picture.release();
}

} // namespace

HCURSOR LoadCursorFromFileW(const String& FileName) {
    const std::optional<Bytes> file = ReadFile(FileName);
    if (!file) return nullptr;
    const Span d(*file);
    if (d.size() >= 12 && Tag(d, 0) == "RIFF" && Tag(d, 8) == "ACON") return ReadAnimatedCursor(d);
    std::size_t pixels = kMaxPixels;
    std::optional<QCursor> cursor = ReadCursor(d, pixels);
    return cursor ? new TCursorPicture(*cursor) : nullptr;
}
