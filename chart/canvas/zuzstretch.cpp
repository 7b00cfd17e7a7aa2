// Smooth stretching: a horizontal pass into a work bitmap, then a vertical pass into the
// destination, each through a precomputed list of (source index, weight) pairs per
// destination pixel.
#include "chart/canvas/zuzstretch.h"

#include "chart/canvas/zuzcanvas.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace {

struct Contributor {
    int Index;
    int Weight; // scaled by 1024
};
using Contributors = std::vector<std::vector<Contributor>>;

double Lanczos3(double X) {
    X = std::fabs(X);
    if (X == 0) return 1;
    if (X >= 3) return 0;
    const double pix = std::numbers::pi * X;
    const float window = static_cast<float>(std::sin(pix / 3) / (pix / 3));
    return std::sin(pix) / pix * window;
}

double Triangle(double X) {
    X = std::fabs(X);
    return X < 1 ? 1 - X : 0;
}

// Source indexes beyond either edge are mirrored back inside, however far out they
// lie: a wide kernel (a destination of two pixels) reaches past both edges.
int Mirrored(int J, int Size) {
    for (int turn = 0; turn < 64 && (J < 0 || J >= Size); ++turn) {
        if (J < 0) J = -J;
        if (J >= Size) J = 2 * Size - 1 - J;
    }
    return J < 0 ? 0 : (J >= Size ? Size - 1 : J);
}

Contributors ContributorsOf(int SourceSize, int DestSize, double (*Kernel)(double), double Support) {
    const float k = static_cast<float>(DestSize - 1) / static_cast<float>(SourceSize - 1);
    const float f = k < 1 ? k : 1.0f;
    const float width = static_cast<float>(Support) / k;
    Contributors result(static_cast<std::size_t>(DestSize));
    std::vector<double> weights;
    for (int i = 0; i < DestSize; ++i) {
        const float c = static_cast<float>(i) / k;
        auto& list = result[static_cast<std::size_t>(i)];
        list.reserve(static_cast<std::size_t>(2 * Support / f) + 3);
        const int first = static_cast<int>(std::floor(c - width));
        const int last = static_cast<int>(std::ceil(c + width));
        weights.clear();
        double sum = 0;
        for (int j = first; j <= last; ++j) {
            weights.push_back(Kernel((static_cast<double>(c) - j) * f));
            sum += weights.back();
        }
        if (sum <= 0) sum = 1;
        // The weights add up to exactly one, so that a flat colour stays that colour: what
        // rounding leaves over goes to the heaviest.
        int total = 0;
        std::size_t heaviest = 0;
        for (int j = first; j <= last; ++j) {
            const int weight = ZuzRound(weights[static_cast<std::size_t>(j - first)] / sum * 1024.0);
            if (weight == 0) continue;
            if (list.empty() || weight > list[heaviest].Weight) heaviest = list.size();
            list.push_back({Mirrored(j, SourceSize), weight});
            total += weight;
        }
        if (!list.empty()) list[heaviest].Weight += 1024 - total;
    }
    return result;
}

Byte Clamped(int Sum) {
    if (Sum < 0) return 0;
    if (Sum >= 256 * 1024) return 255;
    return static_cast<Byte>(Sum >> 10);
}

// One destination pixel from the weighted source pixels that From gives by index.
template <class PixelAt>
void Resample(const std::vector<Contributor>& List, PixelAt From, Byte* To) {
    int b = 0, g = 0, r = 0;
    for (const Contributor& c : List) {
        const Byte* p = From(c.Index);
        b += c.Weight * p[0];
        g += c.Weight * p[1];
        r += c.Weight * p[2];
    }
    To[0] = Clamped(b);
    To[1] = Clamped(g);
    To[2] = Clamped(r);
}

} // namespace

void SmoothStretch(TBitmap* Source, TBitmap* Dest, TSmoothStretchOption Option) {
    const int sw = Source->GetWidth(), sh = Source->GetHeight();
    const int dw = Dest->GetWidth(), dh = Dest->GetHeight();
    if (sw < 2 || sh < 2 || dw < 2 || dh < 2) return;
    const bool lanczos = Option == ssBestQuality;
    double (*kernel)(double) = lanczos ? Lanczos3 : Triangle;
    const double support = lanczos ? 3.0 : 1.0;
    Source->SetPixelFormat(pf24bit);
    Dest->SetPixelFormat(pf24bit);
    TBitmap work;
    work.SetPixelFormat(pf24bit);
    work.SetSize(dw, sh);

    const Contributors columns = ContributorsOf(sw, dw, kernel, support);
    for (int y = 0; y < sh; ++y) {
        const Byte* from = Source->ScanLine(y);
        Byte* to = work.ScanLine(y);
        for (int x = 0; x < dw; ++x)
            Resample(
                columns[static_cast<std::size_t>(x)], [from](int i) { return from + 3 * i; }, to + 3 * x);
    }

    const Contributors rows = ContributorsOf(sh, dh, kernel, support);
    std::vector<const Byte*> workRows(static_cast<std::size_t>(sh));
    for (int y = 0; y < sh; ++y) workRows[static_cast<std::size_t>(y)] = work.ScanLine(y);
    for (int y = 0; y < dh; ++y) {
        Byte* to = Dest->ScanLine(y);
        const auto& list = rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < dw; ++x)
            Resample(
                list, [&workRows, x](int i) { return workRows[static_cast<std::size_t>(i)] + 3 * x; },
                to + 3 * x);
    }
}
