#pragma once
// A chart canvas on a white bitmap for pixel probes: straight onto the bitmap, or through the
// canvas's own off-screen bitmap as a panel paints (smooth shadows need that one).

#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzconst.h"
#include "tests/support/guiprobe.h"

#include <algorithm>
#include <array>

namespace canvastest {

struct CanvasOn {
    TBitmap target;
    TZuzCanvas3D canvas;
    CanvasOn(int w, int h, bool buffered = false) {
        probe::EnsureApplication();
        ZuzConstInitialization();
        ZuzCanvasInitialization();
        GdiSetTextAntialiasing(false);
        target.SetSize(w, h);
        canvas.SetUseBuffer(buffered);
        canvas.InitWindow(target.GetCanvas(), nullptr, clWhite, false, TRect(0, 0, w, h));
        canvas.ZuzFontAntiAlias = NONANTIALIASED_QUALITY;
    }
    ~CanvasOn() { GdiSetTextAntialiasing(true); }
    // The pixel drawn, wherever the canvas draws.
    TColor At(int x, int y) { return canvas.ReferenceCanvas->GetPixel(x, y); }
    static std::array<int, 3> Rgb(TColor c) {
        const auto v = static_cast<COLORREF>(ColorToRGB(c));
        return {GetRValue(v), GetGValue(v), GetBValue(v)};
    }
    std::array<int, 3> RgbAt(int x, int y) { return Rgb(At(x, y)); }
    // The box around the pixels that are not white, right and bottom exclusive; with a colour,
    // around the pixels of that colour only.
    TRect InkBox(TColor only = clNone) {
        int l = 1 << 20, t = 1 << 20, r = -1, b = -1;
        TBitmap* bmp = canvas.GetBitmap() ? canvas.GetBitmap() : &target;
        for (int y = 0; y < bmp->GetHeight(); ++y)
            for (int x = 0; x < bmp->GetWidth(); ++x) {
                const TColor c = At(x, y);
                if (only == clNone ? c == clWhite : c != only) continue;
                l = std::min(l, x);
                t = std::min(t, y);
                r = std::max(r, x);
                b = std::max(b, y);
            }
        return r < 0 ? TRect() : TRect(l, t, r + 1, b + 1);
    }
};

inline int Brightness(const std::array<int, 3>& c) {
    return c[0] + c[1] + c[2];
}

} // namespace canvastest
