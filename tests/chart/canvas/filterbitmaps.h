#pragma once
// Small 24-bit bitmaps for the filter tests: built from a rule per pixel and read back as
// blue-green-red triples.

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzfilters.h"
#include "tests/support/guiprobe.h"

#include <array>
#include <functional>
#include <ostream>

namespace filtertest {

struct Bgr {
    int b = 0, g = 0, r = 0;
    friend bool operator==(const Bgr&, const Bgr&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Bgr& c) {
        return os << "bgr(" << c.b << ", " << c.g << ", " << c.r << ")";
    }
};

inline Bgr Gray(int v) {
    return {v, v, v};
}

inline void StartFilters() {
    probe::EnsureApplication();
    ZuzConstInitialization();
    ZuzFiltersInitialization();
}

inline Owned<TBitmap> MakeBitmap(int w, int h, const std::function<Bgr(int x, int y)>& at) {
    auto b = MakeOwned<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(w, h);
    for (int y = 0; y < h; ++y) {
        Byte* row = b->ScanLine(y);
        for (int x = 0; x < w; ++x) {
            const Bgr c = at(x, y);
            row[3 * x] = static_cast<Byte>(c.b);
            row[3 * x + 1] = static_cast<Byte>(c.g);
            row[3 * x + 2] = static_cast<Byte>(c.r);
        }
    }
    return b;
}

inline Bgr At(TBitmap* b, int x, int y) {
    const Byte* p = b->ScanLine(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

// Every pixel of two bitmaps of one size, for "nothing changed" checks.
inline bool SamePixels(TBitmap* a, TBitmap* b) {
    if (a->GetWidth() != b->GetWidth() || a->GetHeight() != b->GetHeight()) return false;
    for (int y = 0; y < a->GetHeight(); ++y)
        for (int x = 0; x < a->GetWidth(); ++x)
            if (!(At(a, x, y) == At(b, x, y))) return false;
    return true;
}

template <class F>
Owned<F> MakeFilter() {
    return MakeOwned<F>(nullptr);
}

} // namespace filtertest
