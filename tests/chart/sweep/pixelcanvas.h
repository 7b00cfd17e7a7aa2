#pragma once
// A canvas that knows which pixels each outermost entity (a series, the legend, a title) changed
// while it drew, whatever covers them later, and how often the chart asked it for a repaint.

#include "chart/canvas/zuzcanvas.h"
#include "platform/gui/graphics.h"

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace sweep {

class TPixelCanvas : public TZuzCanvas3D {
public:
    // One byte a pixel, row after row: 1 where the entity changed the pixel.
    using Mask = std::vector<unsigned char>;

    void BeginEntity(const String& Name) override {
        if (FDepth++ > 0) return;
        FName = std::string(UTF8Encode(Name));
        Take(FBefore);
    }
    void EndEntity() override {
        if (--FDepth > 0) return;
        Take(FAfter);
        if (FAfter.size() != FBefore.size()) return;
        Mask& m = Masks[FName];
        m.resize(static_cast<std::size_t>(Width * Height));
        const std::size_t bpp = BytesPerPixel();
        for (std::size_t i = 0; i < m.size(); ++i)
            if (std::memcmp(&FBefore[i * bpp], &FAfter[i * bpp], 3) != 0) m[i] = 1;
    }
    void Invalidate() override {
        ++Invalidates;
        TZuzCanvas3D::Invalidate();
    }
    // Forgets the masks of the last drawing.
    void Clear() {
        Masks.clear();
        FDepth = 0;
    }

    std::map<std::string, Mask> Masks;
    int Width = 0, Height = 0;
    int Invalidates = 0;

private:
    std::size_t BytesPerPixel() const { return GetBitmap()->GetPixelFormat() == pf24bit ? 3 : 4; }
    void Take(std::vector<Byte>& Pixels) {
        TBitmap* b = GetBitmap();
        Pixels.clear();
        if (!b) return;
        Width = b->GetWidth();
        Height = b->GetHeight();
        const std::size_t row = static_cast<std::size_t>(Width) * BytesPerPixel();
        Pixels.resize(row * static_cast<std::size_t>(Height));
        for (int y = 0; y < Height; ++y)
            std::memcpy(&Pixels[row * static_cast<std::size_t>(y)], b->ScanLine(y), row);
    }

    int FDepth = 0;
    std::string FName;
    std::vector<Byte> FBefore, FAfter;
};

} // namespace sweep
