#pragma once
// A memory device context on a new (white) bitmap, with pixel probes, for the tests of the
// device context.

#include "platform/win32/gdiqt.h"

#include <algorithm>
#include <vector>

namespace gditest {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

// A memory context on a new (white) bitmap.
struct Surface {
    HBITMAP bitmap;
    HDC dc;
    explicit Surface(int w = 40, int h = 30, GdiPixelFormat f = GdiPixelFormat::Rgb32)
        : bitmap(CreateBitmapSurface(w, h, f)), dc(CreateCompatibleDC(nullptr)) {
        SelectObject(dc, bitmap);
    }
    ~Surface() {
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    // The stored pixel, whatever the clip (GetPixel answers only inside it).
    COLORREF At(int x, int y) const {
        const QRgb p = BitmapImage(bitmap).pixel(x, y);
        return RGB(static_cast<BYTE>(qRed(p)), static_cast<BYTE>(qGreen(p)), static_cast<BYTE>(qBlue(p)));
    }
    QImage Image() { return BitmapImage(bitmap).copy(); }
    // Pixels that differ from white, as a set of "x,y" in row order.
    std::vector<QPoint> Inked() {
        std::vector<QPoint> out;
        const QImage img = Image();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) out.emplace_back(x, y);
        return out;
    }
};

// An object selected into a context for the scope, then put back and deleted.
struct Selected {
    HDC dc;
    HGDIOBJ old;
    Selected(HDC d, HGDIOBJ object) : dc(d), old(SelectObject(d, object)) {}
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;
    ~Selected() { DeleteObject(SelectObject(dc, old)); }
};

// The box around every inked pixel, right and bottom exclusive.
inline RECT InkBox(Surface& s) {
    int l = 1 << 20, t = 1 << 20, r = -1, b = -1;
    for (QPoint p : s.Inked()) {
        l = std::min(l, p.x());
        t = std::min(t, p.y());
        r = std::max(r, p.x());
        b = std::max(b, p.y());
    }
    return r < 0 ? RECT{} : RECT{l, t, r + 1, b + 1};
}

} // namespace gditest
