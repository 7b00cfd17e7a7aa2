// Transparency through a saved background.
#include "chart/canvas/zuzblend.h"

#include "chart/canvas/zuzcanvas.h"

#include <algorithm>
#include <cmath>

TZuzBlend::TZuzBlend(TZuzCanvas* ACanvas, const TRect& R) : FCanvas(ACanvas) {
    SetRectangle(R);
}

TZuzBlend::~TZuzBlend() = default;

namespace {
// The canvas's own bitmap only while it draws there: a panel drawing into a picture keeps the
// window's bitmap meanwhile, and blending through that one would leave the picture opaque.
TBitmap* OffScreen(TZuzCanvas* Canvas) {
    auto* c3d = dynamic_cast<TZuzCanvas3D*>(Canvas);
    TBitmap* bitmap = c3d ? c3d->GetBitmap() : nullptr;
    return bitmap && Canvas->ReferenceCanvas == bitmap->GetCanvas() ? bitmap : nullptr;
}
} // namespace

void TZuzBlend::SetRectangle(const TRect& R) {
    FRect = OrientRectangle(R);
    FRect.Left = std::max(0, FRect.Left);
    FRect.Top = std::max(0, FRect.Top);
    FRect.Right = std::max(0, FRect.Right);
    FRect.Bottom = std::max(0, FRect.Bottom);
    if (FRect.Right - FRect.Left < 1) FRect.Right = FRect.Left + 1;
    if (FRect.Bottom - FRect.Top < 1) FRect.Bottom = FRect.Top + 1;
    FRect.Right = std::min(FRect.Right, FCanvas->Bounds.Right);
    FRect.Bottom = std::min(FRect.Bottom, FCanvas->Bounds.Bottom);
    FValid = FRect.Width() > 0 && FRect.Height() > 0;
    if (!FValid) return;
    FBitmap = MakeOwned<TBitmap>();
    FBitmap->SetPixelFormat(pf24bit);
    FBitmap->SetSize(FRect.Width(), FRect.Height());
    TBitmap* back = OffScreen(FCanvas);
    TCanvas* from = back ? back->GetCanvas() : FCanvas->ReferenceCanvas;
    BitBlt(FBitmap->GetCanvas()->GetHandle(), 0, 0, FRect.Width(), FRect.Height(), from->GetHandle(),
           FRect.Left, FRect.Top, SRCCOPY);
}

void TZuzBlend::DoBlend(int Transparency) {
    if (!FValid || FCanvas->Metafiling) return;
    TBitmap* target = OffScreen(FCanvas);
    TPoint pos{FRect.Left, FRect.Top};
    Owned<TBitmap> temporary;
    if (!target) {
        temporary = MakeOwned<TBitmap>();
        temporary->SetPixelFormat(pf24bit);
        temporary->SetSize(FRect.Width(), FRect.Height());
        BitBlt(temporary->GetCanvas()->GetHandle(), 0, 0, FRect.Width(), FRect.Height(),
               FCanvas->ReferenceCanvas->GetHandle(), FRect.Left, FRect.Top, SRCCOPY);
        target = temporary.get();
        pos = {0, 0};
    }
    const UINT align = FCanvas->GetTextAlign();
    ZuzBlendBitmaps(100 - Transparency, FBitmap.get(), target, pos);
    if (FCanvas->GetTextAlign() != align) {
        if (FCanvas->ZuzFont) FCanvas->AssignFont(FCanvas->ZuzFont);
        FCanvas->SetTextAlign(align);
    }
    if (temporary) FCanvas->Draw(FRect.Left, FRect.Top, temporary.get());
}

void ZuzBlendBitmaps(double Percent, TBitmap* Bitmap, TBitmap* BitmapTo, TPoint Pos) {
    Pos.X = std::max(0, Pos.X);
    Pos.Y = std::max(0, Pos.Y);
    const int w = std::min(Bitmap->GetWidth(), BitmapTo->GetWidth() - Pos.X);
    const int h = std::min(Bitmap->GetHeight(), BitmapTo->GetHeight() - Pos.Y);
    if (w <= 0 || h <= 0) return;
    if (ZuzAlphaBlend) {
        BLENDFUNCTION bf;
        bf.SourceConstantAlpha = static_cast<BYTE>(255 - ZuzRound(2.55 * Percent));
        ZuzAlphaBlend(BitmapTo->GetCanvas()->GetHandle(), Pos.X, Pos.Y, w, h,
                      Bitmap->GetCanvas()->GetHandle(), 0, 0, w, h, bf);
        return;
    }
    Bitmap->SetPixelFormat(pf24bit);
    BitmapTo->SetPixelFormat(pf24bit);
    const int p = 100 - ZuzRound(Percent);
    for (int y = 0; y < h; ++y) {
        const Byte* s = Bitmap->ScanLine(y);
        Byte* d = BitmapTo->ScanLine(Pos.Y + y) + 3 * Pos.X;
        for (int x = 0; x < w; ++x, s += 3, d += 3) {
            if (d[0] == 255 && d[1] == 255 && d[2] == 255) d[2] = 254;
            for (int c = 0; c < 3; ++c) d[c] = static_cast<Byte>(d[c] + ((s[c] - d[c]) * p) / 100);
        }
    }
}
