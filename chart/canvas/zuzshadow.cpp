// Drop shadows: settings, flat shapes, line bands and the smooth (blurred) shadow.
#include "chart/canvas/zuzshadow.h"

#include "chart/canvas/zuzgradient.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>

namespace {

// The rectangle's corners at depth Z, as the canvas projects them (flat canvases: unchanged).
TRect CornersAt(TCanvas3D* Canvas, const TRect& R, int Z) {
    const TPoint a = Canvas->Calculate3DPosition(R.Left, R.Top, Z);
    const TPoint b = Canvas->Calculate3DPosition(R.Right, R.Bottom, Z);
    return {a.X, a.Y, b.X, b.Y};
}

// The bounding rectangle of the rectangle's four corners at depth Z.
TRect BoundsAt(TCanvas3D* Canvas, const TRect& R, int Z) {
    const TPoint p[4] = {
        Canvas->Calculate3DPosition(R.Left, R.Top, Z), Canvas->Calculate3DPosition(R.Right, R.Top, Z),
        Canvas->Calculate3DPosition(R.Right, R.Bottom, Z), Canvas->Calculate3DPosition(R.Left, R.Bottom, Z)};
    return PolygonBounds(p, 3);
}

TRect Moved(TRect R, int DX, int DY) {
    OffsetRect(R, DX, DY);
    return R;
}

// Weights of a kernel of radius R, scaled by 100000.
std::vector<int> KernelWeights(int Radius, double Smoothness) {
    std::vector<int> w(2 * static_cast<std::size_t>(Radius) + 1);
    for (int d = -Radius; d <= Radius; ++d)
        w[static_cast<std::size_t>(d + Radius)] =
            Radius == 0 ? 100000 : ZuzRound(std::pow(Smoothness, -double(d) * d / Radius) * 100000);
    return w;
}

// A background's channel P darkened by a blurred pixel's Share of white: P times it, rounded.
Byte Darken(int P, double Share) {
    return static_cast<Byte>(std::clamp(ZuzRound(P * Share), 0, 255));
}

// Table[p] := Darken(p, Share) for every channel value p.
void FillProducts(Byte* Table, double Share) {
    for (int p = 0; p < 256; ++p) Table[p] = Darken(p, Share);
}

// One pass's kernel: its weights, their running sums, and the reach of its weights that are not
// 0. A tap of weight 0 adds nothing to a pixel's sum nor to the sum of its weights, so only the
// taps within the reach are taken; at the largest sizes most of the kernel rounds to 0. The
// weights are even in the offset and the middle one is never 0 (any power to 0 is 1), so every
// window holds its own pixel.
struct TSmoothKernel {
    TSmoothKernel(int ARadius, double ASmoothness)
        : Radius(ARadius), Smoothness(ASmoothness), Weights(KernelWeights(ARadius, ASmoothness)),
          Sums(Weights.size() + 1, 0) {
        for (std::size_t k = 0; k < Weights.size(); ++k) Sums[k + 1] = Sums[k] + Weights[k];
        for (int d = 1; d <= Radius; ++d)
            if (Weight(d) != 0) Reach = d;
        Positive = std::all_of(Weights.begin(), Weights.end(), [](int w) { return w >= 0; });
    }
    int Weight(int D) const { return Weights[static_cast<std::size_t>(D + Radius)]; }
    // The sum of the weights of the offsets A..B.
    std::int64_t Between(int A, int B) const {
        return Sums[static_cast<std::size_t>(B + Radius + 1)] - Sums[static_cast<std::size_t>(A + Radius)];
    }

    int Radius;
    double Smoothness;
    std::vector<int> Weights;
    std::vector<std::int64_t> Sums;
    int Reach = 0;
    bool Positive = false; // every sum of weights that holds the middle is above 0
};

// The kernel of a radius and smoothness. A chart draws many shapes with one shadow, and each
// kernel at the largest sizes takes 2,001 powers: the last few made are kept.
std::shared_ptr<const TSmoothKernel> SmoothKernel(int Radius, double Smoothness) {
    thread_local std::vector<std::shared_ptr<const TSmoothKernel>> kept;
    const auto bits = std::bit_cast<std::uint64_t>(Smoothness);
    for (const auto& kernel : kept)
        if (kernel->Radius == Radius && std::bit_cast<std::uint64_t>(kernel->Smoothness) == bits)
            return kernel;
    if (kept.size() >= 4) kept.erase(kept.begin());
    return kept.emplace_back(std::make_shared<const TSmoothKernel>(Radius, Smoothness));
}

bool SamePixel(const Byte* A, const Byte* B) {
    return A[0] == B[0] && A[1] == B[1] && A[2] == B[2];
}

// The runs of equal pixels from index From to To, Step bytes apart.
struct TPixelRuns {
    void Find(const Byte* Pixel, std::ptrdiff_t Step, int From, int To) {
        Start.clear();
        At.clear();
        const Byte* run = nullptr;
        for (int i = From; i <= To; ++i, Pixel += Step)
            if (!run || !SamePixel(Pixel, run)) {
                run = Pixel;
                Start.push_back(i);
                At.push_back(Pixel);
            }
        Start.push_back(To + 1);
    }
    // The runs from index From to To where they can begin only at the indices Changes (sorted,
    // the first at or before From); Pixel(i) is the pixel at index i.
    template <class F>
    void FindAt(const std::vector<int>& Changes, int From, int To, F&& Pixel) {
        Start.assign(1, From);
        At.assign(1, Pixel(From));
        for (auto i = std::upper_bound(Changes.begin(), Changes.end(), From); i != Changes.end() && *i <= To;
             ++i) {
            const Byte* p = Pixel(*i);
            if (!SamePixel(p, At.back())) {
                Start.push_back(*i);
                At.push_back(p);
            }
        }
        Start.push_back(To + 1);
    }
    // Sum[c] := the channels under the kernel centred at Centre, over the taps A..B (one run
    // after another: each adds its colour times the weights it covers); returns the weights' sum.
    // Run is the run holding A, kept for the next, later window.
    std::int64_t Weigh(const TSmoothKernel& K, int Centre, int A, int B, std::size_t& Run,
                       std::int64_t (&Sum)[3]) const {
        Sum[0] = Sum[1] = Sum[2] = 0;
        while (Start[Run + 1] <= A) ++Run;
        for (std::size_t j = Run; Start[j] <= B; ++j) {
            const std::int64_t w =
                K.Between(std::max(A, Start[j]) - Centre, std::min(B, Start[j + 1] - 1) - Centre);
            for (int c = 0; c < 3; ++c) Sum[c] += w * At[j][c];
        }
        return K.Between(A - Centre, B - Centre);
    }
    // The last index of the run holding A, when the run reaches B; else -1.
    int OneRun(int A, int B, std::size_t& Run) const {
        while (Start[Run + 1] <= A) ++Run;
        return Start[Run + 1] > B ? Start[Run + 1] - 1 : -1;
    }
    std::vector<int> Start;      // each run's first index, and one past the last
    std::vector<const Byte*> At; // each run's first pixel
};

// What one smooth shadow's blur reads and changes. The shape's bitmap is Width x Height and
// white outside Ink; its blurred pixels multiply Back at (Left, Top) (without Back they replace
// the bitmap's own). Only Changed can differ from before, and only Source of the bitmap is read.
struct TSmoothPlan {
    TSmoothPlan(int AWidth, int AHeight, int ALeft, int ATop, int AHorz, int AVert, double Smoothness,
                bool AFullDraw, TBitmap* Back, const TRect& Ink)
        : Width(AWidth), Height(AHeight), Left(ALeft), Top(ATop), Horz(AHorz), Vert(AVert),
          FullDraw(AFullDraw), HK(SmoothKernel(std::abs(AHorz), (Smoothness + 180) * 0.01)),
          VK(SmoothKernel(std::abs(AVert), (Smoothness + 180) * 0.01)) {
        const TSmoothKernel &KH = *HK, &KV = *VK;
        if (Horz < 0) {
            Left += 2 * Horz;
            Horz = -Horz;
            FullDraw = true;
        }
        if (Vert < 0) {
            Top += 2 * Vert;
            Vert = -Vert;
            FullDraw = true;
        }
        // The visible part: inside the background where there is one.
        int x0 = 0, y0 = 0, x1 = Width - 1, y1 = Height - 1;
        if (Back) {
            x0 = Left < 0 ? -Left : 0;
            y0 = Top < 0 ? -Top : 0;
            x1 = std::min(x1, Back->GetWidth() - Left - 1);
            y1 = std::min(y1, Back->GetHeight() - Top - 1);
        }
        Changed = TRect(x0, y0, x1 + 1, y1 + 1);
        // A window of white blurs to white, which changes nothing: only what the ink reaches can.
        if (KH.Positive && KV.Positive)
            IntersectRect(
                Changed, Changed,
                TRect(Ink.Left - KH.Reach, Ink.Top - KV.Reach, Ink.Right + KH.Reach, Ink.Bottom + KV.Reach));
        if (Changed.Right <= Changed.Left || Changed.Bottom <= Changed.Top) {
            Changed = TRect();
            return;
        }
        Source =
            TRect(std::max(0, Changed.Left - KH.Reach), std::max(0, Changed.Top - KV.Reach),
                  std::min(Width, Changed.Right + KH.Reach), std::min(Height, Changed.Bottom + KV.Reach));
    }
    bool Nothing() const { return Changed.Right <= Changed.Left; }
    // Lines: the rows of a bitmap holding Source, whose first pixel is the plan's pixel Origin.
    void Blur(const std::vector<Byte*>& Lines, TPoint Origin, TBitmap* Back, TCanvas3D* Canvas,
              bool Clip) const;

    int Width, Height, Left, Top, Horz, Vert;
    bool FullDraw;
    std::shared_ptr<const TSmoothKernel> HK, VK;
    TRect Changed, Source; // in the bitmap's pixels, right and bottom edges left out
};

void TSmoothPlan::Blur(const std::vector<Byte*>& Lines, TPoint Origin, TBitmap* Back, TCanvas3D* Canvas,
                       bool Clip) const {
    if (Nothing()) return;
    const TSmoothKernel &KH = *HK, &KV = *VK;
    const int kH = 2 * Horz + 1, kV = 2 * Vert + 1;
    const auto source = [&](int x, int y) {
        return Lines[static_cast<std::size_t>(y - Origin.Y)] + static_cast<std::ptrdiff_t>(x - Origin.X) * 3;
    };
    // The work buffer: the columns that can change over the rows their columns read, starting
    // as the source, so the vertical pass never reads a row the horizontal one left out (the
    // rows just above the bottom band).
    const int cols = Changed.Right - Changed.Left, top = Source.Top, rows = Source.Bottom - Source.Top;
    const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(cols) * 3;
    std::vector<Byte> work(static_cast<std::size_t>(stride) * static_cast<std::size_t>(rows));
    const auto cell = [&](int x, int y) {
        return &work[static_cast<std::size_t>((y - top) * stride + (x - Changed.Left) * 3)];
    };
    for (int y = top; y < Source.Bottom; ++y)
        std::copy_n(source(Changed.Left, y), stride, cell(Changed.Left, y));

    // Horizontal pass, on the bottom band with the rows above it that the vertical pass reads,
    // and on the right band. A row equal to the one above it, in the same band, comes out the same.
    TPixelRuns runs;
    std::int64_t sum[3];
    const std::size_t span = static_cast<std::size_t>(Source.Right - Source.Left) * 3;
    int lastFrom = 0;
    for (int y = top; y < Source.Bottom; ++y) {
        const int from =
            FullDraw || y >= Height - kV - Vert ? Changed.Left : std::max(Changed.Left, Width - kH);
        const int to = Changed.Right - 1;
        if (y > top && from == lastFrom &&
            std::memcmp(source(Source.Left, y), source(Source.Left, y - 1), span) == 0) {
            std::copy_n(cell(Changed.Left, y - 1), stride, cell(Changed.Left, y));
            continue;
        }
        lastFrom = from;
        if (from > to) continue;
        const int a0 = std::max(0, from - KH.Reach), b0 = std::min(Width - 1, to + KH.Reach);
        runs.Find(source(a0, y), 3, a0, b0);
        std::size_t run = 0;
        for (int x = from; x <= to; ++x) {
            const int a = std::max(0, x - KH.Reach), b = std::min(Width - 1, x + KH.Reach);
            if (KH.Positive) {
                // Inside one run the weighted mean is the run's colour, which the buffer holds.
                const int end = runs.OneRun(a, b, run);
                if (end >= 0) {
                    x = end == Width - 1 ? to : std::min(to, end - KH.Reach);
                    continue;
                }
            }
            const std::int64_t weights = runs.Weigh(KH, x, a, b, run, sum);
            Byte* out = cell(x, y);
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<Byte>(weights ? sum[c] / weights : std::min<std::int64_t>(sum[c], 255));
        }
    }
    // The rows where the buffer changes from the row above: down each column, the runs of equal
    // pixels begin only there.
    std::vector<int> changes;
    for (int y = top; y < Source.Bottom; ++y)
        if (y == top || std::memcmp(cell(Changed.Left, y), cell(Changed.Left, y - 1),
                                    static_cast<std::size_t>(stride)) != 0)
            changes.push_back(y);

    // Vertical pass, straight onto the background (or the bitmap).
    HDC dc = Clip && Canvas ? Canvas->GetHandle() : nullptr;
    std::vector<Byte*> backRows;
    int backBpp = 3;
    if (Back) {
        backBpp = Back->GetPixelFormat() == pf24bit ? 3 : 4;
        for (int y = Changed.Top; y < Changed.Bottom; ++y) backRows.push_back(Back->ScanLine(Top + y));
    }
    // A window inside one run of colour v has the sums v times its weights, so the background's
    // channel p becomes Round(p * (v / 255)), the same for every such window: one table per v.
    std::vector<std::array<Byte, 256>> products;
    products.reserve(256); // the tables stay where they are
    std::array<int, 256> productOf;
    productOf.fill(-1);
    const auto product = [&](Byte v) {
        int& i = productOf[v];
        if (i < 0) {
            i = static_cast<int>(products.size());
            FillProducts(products.emplace_back().data(), double(v) / 255);
        }
        return products[static_cast<std::size_t>(i)].data();
    };
    // A column equal to the last one over the same rows has the same sums row by row: their
    // shares of white are kept, and a row whose shares serve many columns has its products
    // tabled as well.
    struct TRowSums {
        double Share[3];
        bool Blank; // no weights: the pixel stays
        int Uses, Table;
        int Kept = -1; // the column run whose sums these are
    };
    std::vector<TRowSums> rowSums(static_cast<std::size_t>(Changed.Bottom - Changed.Top));
    std::deque<std::array<Byte, 3 * 256>> tables; // where they stay until cleared
    // A table's products are written row by row afterwards, over the columns of a row that
    // took the same tables one after another: down a column every pixel lies on another line
    // of the background's memory. (Each pixel is written once, and reads only itself.)
    struct TPending {
        int From = 0, To = -1;
        const Byte* T[3] = {};
    };
    std::vector<TPending> pending(rowSums.size());
    const auto flush = [&](std::size_t i) {
        TPending& p = pending[i];
        if (p.To < p.From) return;
        for (Byte *px = backRows[i] + static_cast<std::ptrdiff_t>(Left + p.From) * backBpp,
                  *end = px + static_cast<std::ptrdiff_t>(p.To + 1 - p.From) * backBpp;
             px < end; px += backBpp) {
            px[0] = p.T[0][px[0]];
            px[1] = p.T[1][px[1]];
            px[2] = p.T[2][px[2]];
        }
        p.To = p.From - 1;
    };
    const auto put = [&](std::size_t i, int x, const Byte* t0, const Byte* t1, const Byte* t2) {
        TPending& p = pending[i];
        if (p.To == x - 1 && p.To >= p.From && p.T[0] == t0 && p.T[1] == t1 && p.T[2] == t2) {
            p.To = x;
            return;
        }
        flush(i);
        p.From = p.To = x;
        p.T[0] = t0;
        p.T[1] = t1;
        p.T[2] = t2;
    };
    const auto flushAll = [&] {
        for (std::size_t i = 0; i < pending.size(); ++i) flush(i);
    };
    std::vector<int> lastStart;
    std::vector<std::array<Byte, 3>> lastColours, colours;
    int kept = 0, lastA0 = -1, lastB0 = -1;
    for (int x = Changed.Left; x < Changed.Right; ++x) {
        const int from = FullDraw || x >= Width - kH ? Changed.Top : std::max(Changed.Top, Height - kV);
        const int to = Changed.Bottom - 1;
        if (from > to) continue;
        const int a0 = std::max(0, from - KV.Reach), b0 = std::min(Height - 1, to + KV.Reach);
        runs.FindAt(changes, a0, b0, [&](int y) -> const Byte* { return cell(x, y); });
        colours.clear();
        for (const Byte* v : runs.At) colours.push_back({v[0], v[1], v[2]});
        if (a0 != lastA0 || b0 != lastB0 || runs.Start != lastStart || colours != lastColours) {
            ++kept; // the sums kept so far are another column's
            if (Back) flushAll();
            tables.clear();
            lastA0 = a0;
            lastB0 = b0;
            lastStart = runs.Start;
            lastColours = colours;
        }
        std::size_t run = 0;
        for (int y = from; y <= to; ++y) {
            const int a = std::max(0, y - KV.Reach), b = std::min(Height - 1, y + KV.Reach);
            if (Back) {
                const int end = runs.OneRun(a, b, run);
                const Byte* v = runs.At[run];
                if (end >= 0) {
                    const int last = end == Height - 1 ? to : std::min(to, end - KV.Reach);
                    // White multiplies the background by exactly 1.
                    if (v[0] == 255 && v[1] == 255 && v[2] == 255) {
                        y = last;
                        continue;
                    }
                    if (KV.Positive) {
                        const Byte *m0 = product(v[0]), *m1 = product(v[1]), *m2 = product(v[2]);
                        for (; y <= last; ++y) {
                            const auto i = static_cast<std::size_t>(y - Changed.Top);
                            if (!dc) {
                                put(i, x, m0, m1, m2);
                                continue;
                            }
                            if (!PtVisible(dc, Left + x, Top + y)) continue;
                            Byte* px = backRows[i] + static_cast<std::ptrdiff_t>(Left + x) * backBpp;
                            px[0] = m0[px[0]];
                            px[1] = m1[px[1]];
                            px[2] = m2[px[2]];
                        }
                        y = last;
                        continue;
                    }
                }
            }
            if (Back) {
                const auto i = static_cast<std::size_t>(y - Changed.Top);
                TRowSums& row = rowSums[i];
                if (row.Kept != kept) {
                    row.Kept = kept;
                    const std::int64_t weights = runs.Weigh(KV, y, a, b, run, sum);
                    row.Blank = weights == 0;
                    for (int c = 0; c < 3; ++c) row.Share[c] = row.Blank ? 0 : double(sum[c]) / weights / 255;
                    row.Uses = 0;
                    row.Table = -1;
                } else if (++row.Uses == 32 && !row.Blank) {
                    row.Table = static_cast<int>(tables.size());
                    std::array<Byte, 3 * 256>& t = tables.emplace_back();
                    for (int c = 0; c < 3; ++c) FillProducts(t.data() + c * 256, row.Share[c]);
                }
                if (row.Blank) continue;
                if (dc && !PtVisible(dc, Left + x, Top + y)) continue;
                Byte* px = backRows[i] + static_cast<std::ptrdiff_t>(Left + x) * backBpp;
                if (row.Table >= 0) {
                    const Byte* t = tables[static_cast<std::size_t>(row.Table)].data();
                    if (!dc)
                        put(i, x, t, t + 256, t + 512);
                    else
                        for (int c = 0; c < 3; ++c) px[c] = t[c * 256 + px[c]];
                    continue;
                }
                // White leaves the background as it is; the shadow colour darkens it.
                for (int c = 0; c < 3; ++c) px[c] = Darken(px[c], row.Share[c]);
                continue;
            }
            const std::int64_t weights = runs.Weigh(KV, y, a, b, run, sum);
            if (weights == 0) continue;
            if (dc && !PtVisible(dc, Left + x, Top + y)) continue;
            // Without a background the bitmap takes the blurred pixel.
            Byte* px = source(x, y);
            for (int c = 0; c < 3; ++c)
                px[c] = static_cast<Byte>(std::clamp(ZuzRound(double(sum[c]) / weights), 0, 255));
        }
    }
    if (Back) flushAll();
}

} // namespace

// ---------------------------------------------------------------------------
// Settings

const ClassInfo& TZuzShadow::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TZuzShadow::GetClip, &TZuzShadow::SetClip>("Clip").Default(0),
        MakeProp<&TZuzShadow::GetColor, &TZuzShadow::SetColor>("Color").Stored<&TZuzShadow::IsColorStored>(),
        MakeProp<&TZuzShadow::GetHorizSize, &TZuzShadow::SetHorizSize>("HorizSize")
            .Stored<&TZuzShadow::IsHorizStored>(),
        MakeProp<&TZuzShadow::GetSmooth, &TZuzShadow::SetSmooth>("Smooth").Default(1),
        MakeProp<&TZuzShadow::GetSmoothBlur, &TZuzShadow::SetSmoothBlur>("SmoothBlur").Default(0),
        MakeProp<&TZuzShadow::GetTransparency, &TZuzShadow::SetTransparency>("Transparency").Default(0),
        MakeProp<&TZuzShadow::GetVertSize, &TZuzShadow::SetVertSize>("VertSize")
            .Stored<&TZuzShadow::IsVertStored>(),
        MakeProp<&TZuzShadow::GetVisible, &TZuzShadow::SetVisible>("Visible")
            .Stored<&TZuzShadow::IsVisibleStored>(),
    };
    static const ClassInfo ci = MakeClassInfo<TZuzShadow>("TZuzShadow", &TPersistent::StaticClass(), props);
    return ci;
}

TZuzShadow::TZuzShadow(TNotifyEvent OnChangeEvent) : OnChange(std::move(OnChangeEvent)) {}
TZuzShadow::~TZuzShadow() = default;

template <class T>
void TZuzShadow::Store(T& Field, T Value) {
    if (SetIfChanged(Field, Value) && OnChange) OnChange(this);
}

void TZuzShadow::SetClip(bool Value) {
    Store(FClip, Value);
}
void TZuzShadow::SetColor(TColor Value) {
    Store(FColor, Value);
}
// A size from a file is held to the editor's range: every drawing doubles it, and the smooth
// shadow's kernel takes one weight a pixel of it.
constexpr int kLargestShadow = 1000;

void TZuzShadow::SetHorizSize(int Value) {
    Store(FHorizSize, std::clamp(Value, -kLargestShadow, kLargestShadow));
}
void TZuzShadow::SetVertSize(int Value) {
    Store(FVertSize, std::clamp(Value, -kLargestShadow, kLargestShadow));
}
int TZuzShadow::GetSize() const {
    return std::max(std::abs(FHorizSize), std::abs(FVertSize));
}
void TZuzShadow::SetSize(int Value) {
    SetHorizSize(Value);
    SetVertSize(Value);
}
void TZuzShadow::SetSmooth(bool Value) {
    Store(FSmooth, Value);
}
void TZuzShadow::SetSmoothBlur(int Value) {
    Store(FSmoothBlur, Value);
}
void TZuzShadow::SetTransparency(int Value) {
    Store(FTransparency, std::clamp(Value, 0, 100));
}
void TZuzShadow::SetVisible(bool Value) {
    Store(FVisible, Value);
}

void TZuzShadow::InitValues(TColor AColor, int ASize) {
    DefaultColor = AColor;
    DefaultSize = ASize;
    FColor = AColor;
    FHorizSize = ASize;
    FVertSize = ASize;
}

void TZuzShadow::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TZuzShadow*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    FColor = src->FColor;
    FHorizSize = src->FHorizSize;
    FSmooth = src->FSmooth;
    FSmoothBlur = src->FSmoothBlur;
    FTransparency = src->FTransparency;
    FVertSize = src->FVertSize;
    FVisible = src->FVisible;
}

// ---------------------------------------------------------------------------
// The frame of every draw

bool TZuzShadow::ValidCanvas(TCanvas3D* Canvas) {
    auto* c = dynamic_cast<TZuzCanvas3D*>(Canvas);
    // The blur works on the bitmap being drawn on: a canvas drawing elsewhere for once (its
    // bitmap kept) would blur a picture nobody sees.
    return c && !c->Metafiling && c->GetBitmap() && c->ReferenceCanvas == c->GetBitmap()->GetCanvas();
}

bool TZuzShadow::PrepareCanvas(TCanvas3D* Canvas, const TRect& R, int Z) {
    return PrepareOver(Canvas, BoundsAt(Canvas, Moved(R, FHorizSize, FVertSize), Z));
}

bool TZuzShadow::PrepareOver(TCanvas3D* Canvas, const TRect& Area) {
    if (FColor == clNone || (FHorizSize == 0 && FVertSize == 0)) return false;
    if (!(FSmooth && ValidCanvas(Canvas))) {
        Canvas->Brush->SetColor(FColor);
        Canvas->Brush->SetStyle(bsSolid);
        Canvas->Pen->SetStyle(psClear);
    }
    // A smooth shadow spreads its blur as far again as its offsets, a flat one takes its last
    // column and row: all of it is blended, or those parts stay opaque.
    if (FTransparency > 0) {
        const int h = std::abs(FHorizSize), v = std::abs(FVertSize);
        FBlend = Canvas->BeginBlending(
            TRect(Area.Left - h, Area.Top - v, Area.Right + h + 1, Area.Bottom + v + 1), FTransparency);
    }
    return true;
}

void TZuzShadow::FinishBlending(TCanvas3D* Canvas) {
    if (FTransparency > 0 || FBlend) Canvas->EndBlending(std::move(FBlend));
}

namespace {
// The pen's style and colour back at the end of a draw, also when it fails.
class TPenKept {
public:
    explicit TPenKept(TPen* APen) : FPen(APen), FStyle(APen->GetStyle()), FColor(APen->GetColor()) {}
    ~TPenKept() {
        FPen->SetStyle(FStyle);
        FPen->SetColor(FColor);
    }
    TPenKept(const TPenKept&) = delete;
    TPenKept& operator=(const TPenKept&) = delete;

private:
    TPen* FPen;
    TPenStyle FStyle;
    TColor FColor;
};
} // namespace

// ---------------------------------------------------------------------------
// Rectangles, polygons and ellipses

void TZuzShadow::Draw(TCanvas3D* Canvas, const TRect& R, int Z, int RoundSize) {
    const TPenKept pen(Canvas->Pen);
    if (!PrepareCanvas(Canvas, R, Z)) return;
    if (!FSmooth || GetSize() == 0)
        DrawFlat(Canvas, R, Z, RoundSize);
    else if (ValidCanvas(Canvas))
        DrawSmooth(Canvas, R, false, false, RoundSize, {});
    else if (Canvas->GetSupportsFullRotation())
        DrawFlat(Canvas, R, Z, RoundSize);
    else if (RoundSize >= 1 || FHorizSize < 0 || FVertSize < 0)
        DrawFlat(Canvas, R, Z, RoundSize); // the lines run right and down only
    else
        DrawLineBand(Canvas, R, Z);
    FinishBlending(Canvas);
}

void TZuzShadow::DrawFlat(TCanvas3D* Canvas, const TRect& R, int Z, int RoundSize) {
    const int h = FHorizSize, v = FVertSize;
    if (RoundSize >= 1) {
        Canvas->RoundRect(Moved(R, h, v), RoundSize, RoundSize);
    } else if (!Canvas->View3DOptions) {
        // The bottom and the right strip, at the element's depth.
        Canvas->Rectangle(CornersAt(Canvas, TRect(R.Left + h, R.Bottom, R.Right + h, R.Bottom + v), Z));
        Canvas->Rectangle(CornersAt(Canvas, TRect(R.Right, R.Top + v, R.Right + h, R.Bottom + v), Z));
    } else {
        if (v != 0) {
            if (v >= 1)
                Canvas->Rectangle(R.Left + h, R.Bottom, R.Right + h, R.Bottom + 1 + v);
            else
                Canvas->Rectangle(R.Left + h, R.Top + 1, R.Right + h, R.Top + v);
        }
        if (h != 0) {
            if (h >= 1)
                Canvas->Rectangle(R.Right, R.Top + v, R.Right + 1 + h, R.Bottom + v + 1);
            else
                Canvas->Rectangle(R.Left + 1, R.Top + v, R.Left + h, R.Bottom + v + 1);
        }
    }
}

void TZuzShadow::DrawLineBand(TCanvas3D* Canvas, const TRect& R, int Z) {
    const int h = FHorizSize, v = FVertSize;
    Canvas->Pen->SetStyle(psSolid);
    Byte r, g, b;
    const auto rgb = static_cast<COLORREF>(ColorToRGB(FColor));
    r = GetRValue(rgb);
    g = GetGValue(rgb);
    b = GetBValue(rgb);
    const double towardWhite = 255 - (r + g + b) / 3.0;
    // Each line brightens by an even share of the way to white; no share for no band.
    const auto stepFor = [&](int n) {
        return static_cast<Byte>(std::clamp(ZuzRound(towardWhite / n), 0, 255));
    };
    const bool flat = Canvas->View3DOptions != nullptr;
    if (v != 0) {
        const Byte step = stepFor(v);
        Canvas->Pen->SetColor(FColor);
        for (int i = 1; i <= v; ++i) {
            const int y = R.Bottom + i - 1, x0 = R.Left + h, x1 = R.Right + h - v + i - 1;
            if (flat)
                Canvas->DoHorizLine(x0, x1, y);
            else
                Canvas->HorizLine3D(x0, x1, y, Z);
            Canvas->Pen->SetColor(ApplyBright(Canvas->Pen->GetColor(), step));
        }
    }
    if (h != 0) {
        const Byte step = stepFor(h);
        Canvas->Pen->SetColor(FColor);
        for (int i = 1; i <= h; ++i) {
            const int x = R.Right + i - 1, y0 = R.Top + v, y1 = R.Bottom + v - h + i - 1;
            if (flat) {
                Canvas->DoVertLine(x, y0, y1);
                Canvas->SetPixel(x - 1, y1 - 1, Canvas->Pen->GetColor());
            } else {
                Canvas->VertLine3D(x, y0, y1, Z);
                const TPoint p = Canvas->Calculate3DPosition(x - 1, y1 - 1, Z);
                Canvas->SetPixel(p.X, p.Y, Canvas->Pen->GetColor());
            }
            Canvas->Pen->SetColor(ApplyBright(Canvas->Pen->GetColor(), step));
        }
    }
}

void TZuzShadow::Draw(TCanvas3D* Canvas, std::span<const TPoint> Points) {
    if (Points.empty()) return;
    std::vector<TPoint> moved(Points.begin(), Points.end());
    for (TPoint& p : moved) {
        p.X += FHorizSize;
        p.Y += FVertSize;
    }
    const TRect bounds = PolygonBounds(moved);
    // The points are on the screen already.
    if (!PrepareOver(Canvas, bounds)) return;
    if (FSmooth && ValidCanvas(Canvas)) {
        for (TPoint& p : moved) {
            p.X -= bounds.Left;
            p.Y -= bounds.Top;
        }
        DrawSmooth(Canvas, bounds, false, true, 0, moved);
    } else {
        Canvas->Polygon(moved);
    }
    FinishBlending(Canvas);
}

void TZuzShadow::DrawEllipse(TCanvas3D* Canvas, const TRect& R, int Z) {
    // In a turned view the ellipse lies slanted, no longer in the box of two corners: the
    // smooth shadow takes the outline of its projected ring instead.
    if (auto* gdi = dynamic_cast<TZuzCanvas3D*>(Canvas);
        gdi && FSmooth && gdi->Is3D() && !gdi->IsOrthogonal()) {
        std::array<TPoint, 64> ring;
        gdi->GetCirclePoints(ring, R.Left, R.Top, R.Right, R.Bottom, Z);
        Draw(Canvas, ring);
        return;
    }
    if (!PrepareCanvas(Canvas, R, Z)) return;
    if (FSmooth) {
        const TRect r3 = CornersAt(Canvas, Moved(R, FHorizSize, FVertSize), Z);
        if (ValidCanvas(Canvas)) {
            // The blur moves the ellipse by the offsets itself, as it does a rectangle's.
            DrawSmooth(Canvas, CornersAt(Canvas, R, Z), true, false, 0, {});
        } else {
            Canvas->ClipEllipse(r3, false);
            auto radial = MakeOwned<TZuzGradient>();
            radial->SetEndColor(ApplyBright(FColor, 32));
            radial->SetStartColor(ApplyDark(FColor, 128));
            radial->DrawRadial(Canvas, r3);
            Canvas->UnClipRectangle();
        }
    } else {
        Canvas->EllipseWithZ(R.Left + FHorizSize, R.Top + FVertSize, R.Right + FHorizSize,
                             R.Bottom + FVertSize, Z);
    }
    FinishBlending(Canvas);
}

// ---------------------------------------------------------------------------
// The smooth shadow

void TZuzShadow::DrawSmooth(TCanvas3D* Canvas, const TRect& R, bool IsEllipse, bool IsPolygon, int RoundSize,
                            std::span<const TPoint> Points) {
    const int ah = std::abs(FHorizSize), av = std::abs(FVertSize);
    const Int64 wide = Int64{R.Right} + 1 - R.Left + 2 * ah, high = Int64{R.Bottom} + 1 - R.Top + 2 * av;
    // A shape of any size (a font or a zoom from a file) casts no smooth shadow larger than a
    // picture may be: its bitmap would take gigabytes.
    if (!PictureSizeAllowed(wide, high)) return;
    const int w = static_cast<int>(std::max<Int64>(1, wide)), h = static_cast<int>(std::max<Int64>(1, high));
    const TRect inner(ah, av, w - ah, h - av);
    // Where the shape can put its colour, with a pixel or two to spare for a curve's edge; the
    // rest of its bitmap stays white.
    TRect ink = IsPolygon ? PolygonBounds(Points)
                          : TRect(std::min(inner.Left, inner.Right), std::min(inner.Top, inner.Bottom),
                                  std::max(inner.Left, inner.Right), std::max(inner.Top, inner.Bottom));
    InflateRect(ink, 2, 2);
    auto* c3d = dynamic_cast<TZuzCanvas3D*>(Canvas);
    TBitmap* back = c3d ? c3d->GetBitmap() : nullptr;
    const TSmoothPlan plan(w, h, R.Left, R.Top, FHorizSize, FVertSize,
                           (static_cast<double>(FSmoothBlur) + 180) * 0.01,
                           IsPolygon || IsEllipse || FullSmooth || RoundSize != 0, back, ink);
    // Off the picture, or too far from it for the blur to reach: nothing changes.
    if (plan.Nothing()) return;
    // A rectangle covers whole pixels wherever it is drawn, so only the part of the bitmap the
    // blur reads is made, with the rectangle moved into it; curves and polygons are drawn where
    // they always were, on the whole bitmap.
    const bool rectangle = !IsPolygon && !IsEllipse && RoundSize == 0;
    const TPoint origin = rectangle ? TPoint{plan.Source.Left, plan.Source.Top} : TPoint{0, 0};
    auto bitmap = MakeOwned<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    if (rectangle)
        bitmap->SetSize(plan.Source.Right - plan.Source.Left, plan.Source.Bottom - plan.Source.Top);
    else
        bitmap->SetSize(w, h);
    TCanvas* c = bitmap->GetCanvas();
    c->GetBrush()->SetColor(FColor);
    c->GetBrush()->SetStyle(bsSolid);
    c->GetPen()->SetStyle(psClear);
    if (IsPolygon)
        c->Polygon(Points.data(), static_cast<int>(Points.size()));
    else if (IsEllipse)
        c->Ellipse(inner.Left, inner.Top, inner.Right, inner.Bottom);
    else if (RoundSize != 0)
        c->RoundRect(inner.Left, inner.Top, inner.Right, inner.Bottom, RoundSize, RoundSize);
    else
        c->Rectangle(Moved(inner, -origin.X, -origin.Y));
    std::vector<Byte*> lines;
    ZuzCalcLines(lines, bitmap.get());
    plan.Blur(lines, origin, back, Canvas, FClip);
}

void ZuzCalcLines(std::vector<Byte*>& Lines, TBitmap* Bitmap) {
    Bitmap->SetPixelFormat(pf24bit);
    const int height = std::max(0, Bitmap->GetHeight());
    Lines.assign(static_cast<std::size_t>(height), nullptr);
    if (height == 0 || Bitmap->GetWidth() <= 0) {
        Lines.clear();
        return;
    }
    Lines[0] = Bitmap->ScanLine(0);
    if (height == 1) return; // no second row to measure the distance between rows with
    Lines[1] = Bitmap->ScanLine(1);
    const std::ptrdiff_t stride = Lines[1] - Lines[0];
    for (std::size_t y = 2; y < Lines.size(); ++y) Lines[y] = Lines[y - 1] + stride;
}

void ZuzShadowSmooth(TBitmap* Bitmap, TBitmap* Back, int Left, int Top, int Width, int Height, int Horz,
                     int Vert, double Smoothness, bool FullDraw, TCanvas3D* Canvas, bool Clip) {
    std::vector<Byte*> lines;
    ZuzCalcLines(lines, Bitmap);
    Width = std::min(Width, Bitmap->GetWidth());
    Height = std::min(Height, static_cast<int>(lines.size()));
    if (Width <= 0 || Height <= 0) return;
    // Nothing is known of the bitmap: any pixel of it may be the shape's.
    const TSmoothPlan plan(Width, Height, Left, Top, Horz, Vert, Smoothness, FullDraw, Back,
                           TRect(0, 0, Width, Height));
    plan.Blur(lines, {0, 0}, Back, Canvas, Clip);
}
