// The GDI canvas's text: a chart font into the canvas, text sizes with the shadow's growth, and
// text drawn with a drop shadow, outlined, or filled with a gradient or a picture through a path
// of the letters.
#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzfilters.h"
#include "chart/canvas/zuzfont.h"
#include "chart/canvas/zuzgeometry.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzshadow.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <utility>
#include <vector>

namespace {

// Measuring and the shadow's pass leave the brush alone: only TextOut brings it to the device.
constexpr TCanvasState kText{csHandleValid, csFontValid};
constexpr TCanvasState kTextBrush{csHandleValid, csFontValid, csBrushValid};
constexpr TCanvasState kTextShape{csHandleValid, csFontValid, csPenValid, csBrushValid};

// The device's clip back at the end of a scope: clips set from a letter path for one effect
// leave the clip in force before (a chart rectangle's, say) as it was.
class TClipKept {
public:
    explicit TClipKept(HDC DC) : FDC(DC), FRegion(CreateRectRgn(0, 0, 0, 0)) {
        FHadClip = GetClipRgn(FDC, FRegion) == 1;
    }
    ~TClipKept() {
        SelectClipRgn(FDC, FHadClip ? FRegion : nullptr);
        DeleteObject(FRegion);
    }
    TClipKept(const TClipKept&) = delete;
    TClipKept& operator=(const TClipKept&) = delete;

private:
    HDC FDC;
    HRGN FRegion;
    bool FHadClip = false;
};

void TextOutDC(HDC DC, int X, int Y, const String& Text) {
    TextOutW(DC, X, Y, Text.data(), static_cast<int>(Text.size()));
}

// The angle in radians the current font turns its letters by, 0 for upright ones.
double TextTurn(HDC DC) {
    LOGFONTW lf{};
    if (!GetObjectW(static_cast<HFONT>(GetCurrentObject(DC, OBJ_FONT)), &lf) || lf.lfEscapement % 3600 == 0)
        return 0;
    return lf.lfEscapement * std::numbers::pi / 1800;
}

// Box's corners turned by Angle radians about (X, Y): counter-clockwise on the screen, whose y
// runs down, as the letters turn.
std::array<std::pair<double, double>, 4> TurnedCorners(const TRect& Box, int X, int Y, double Angle) {
    const double c = std::cos(Angle), s = std::sin(Angle);
    std::array<std::pair<double, double>, 4> out;
    std::size_t k = 0;
    for (const TPoint p :
         {Box.TopLeft(), TPoint{Box.Right, Box.Top}, Box.BottomRight(), TPoint{Box.Left, Box.Bottom}}) {
        const double dx = p.X - X, dy = p.Y - Y;
        out[k++] = {X + dx * c + dy * s, Y - dx * s + dy * c};
    }
    return out;
}

// A region the scope owns.
class TRegionOwned {
public:
    explicit TRegionOwned(HRGN Region) : FRegion(Region) {}
    ~TRegionOwned() { DeleteObject(FRegion); }
    TRegionOwned(const TRegionOwned&) = delete;
    TRegionOwned& operator=(const TRegionOwned&) = delete;
    HRGN Get() const { return FRegion; }

private:
    HRGN FRegion;
};

// Blurs Box (edges included) of Bitmap, the bitmap DC draws on, for a smooth text shadow. The
// blur works on the bitmap's pixels and knows no clip: what it changes outside the clip in force
// is put back, so a text cut at the plot's edge leaves the title or wall beside it as it was.
// Turned letters give their box's Corners: what lay beside that box in Box is put back too, as
// the background beside an upright text's shadow keeps its pixels.
void BlurShadow(HDC DC, TBitmap* Bitmap, const TRect& Box, int Amount, const TPoint* Corners = nullptr) {
    const TRect r{std::max(0, Box.Left), std::max(0, Box.Top), std::min(Bitmap->GetWidth() - 1, Box.Right),
                  std::min(Bitmap->GetHeight() - 1, Box.Bottom)};
    if (r.Right < r.Left || r.Bottom < r.Top) return;
    // The pixels of the box the clip leaves out (the clip is in device pixels, the bitmap's).
    const TRegionOwned clip(CreateRectRgn(0, 0, 0, 0));
    const TRegionOwned outside(CreateRectRgn(r.Left, r.Top, r.Right + 1, r.Bottom + 1));
    bool cut = false;
    if (GetClipRgn(DC, clip.Get()) == 1) {
        const TRegionOwned inside(CreateRectRgn(0, 0, 0, 0));
        if (CombineRgn(inside.Get(), outside.Get(), clip.Get(), RGN_AND) == NULLREGION) return;
        cut = CombineRgn(outside.Get(), outside.Get(), clip.Get(), RGN_DIFF) != NULLREGION;
    }
    if (!cut && !Corners) {
        ZuzTextShadowBlur(Bitmap, r, Amount);
        return;
    }
    std::vector<Byte*> lines;
    ZuzCalcLines(lines, Bitmap);
    const std::size_t row = static_cast<std::size_t>(r.Right + 1 - r.Left) * 3;
    std::vector<Byte> kept(row * static_cast<std::size_t>(r.Bottom + 1 - r.Top));
    for (int y = r.Top; y <= r.Bottom; ++y)
        std::copy_n(lines[static_cast<std::size_t>(y)] + r.Left * 3, row,
                    kept.begin() + static_cast<std::ptrdiff_t>(row) * (y - r.Top));
    ZuzTextShadowBlur(Bitmap, r, Amount);
    ZuzCalcLines(lines, Bitmap);
    for (int y = r.Top; y <= r.Bottom; ++y)
        for (int x = r.Left; x <= r.Right; ++x)
            if ((Corners && !PointInPolygon({x, y}, Corners, 3)) || (cut && PtInRegion(outside.Get(), x, y)))
                std::copy_n(kept.begin() + static_cast<std::ptrdiff_t>(row) * (y - r.Top) + (x - r.Left) * 3,
                            3, lines[static_cast<std::size_t>(y)] + x * 3);
}

} // namespace

void TZuzCanvas::AssignFont(TZuzFont* AFont) {
    AFont->SetPixelsPerInch(Font->GetPixelsPerInch());
    Font->Assign(AFont);
    if (FontZoom != 100) Font->SetSize(ZuzRound(Font->GetSize() * FontZoom * 0.01));
    if (GetMonochrome()) Font->SetColor(clBlack);
    HDC dc = GetHandle();
    if (GetTextCharacterExtra(dc) != AFont->GetInterCharSize())
        SetTextCharacterExtra(dc, AFont->GetInterCharSize());
    ZuzFont = AFont;
    AFont->Canvas = this;
}

TSize TZuzCanvas3D::PlainTextExtent(const String& Text) {
    ReferenceCanvas->RequiredState(kText);
    SIZE s;
    GetTextExtentPoint32W(Dc(), Text.data(), static_cast<int>(Text.size()), &s);
    return s;
}

int TZuzCanvas3D::TextWidth(const String& Text) {
    int w = PlainTextExtent(Text).cx;
    if (ZuzFont && ZuzFont->HasVisibleShadow()) w += std::abs(ZuzFont->GetShadow()->GetHorizSize());
    return w;
}

int TZuzCanvas3D::TextHeight(const String& Text) {
    int h = PlainTextExtent(Text).cy;
    if (ZuzFont && ZuzFont->HasVisibleShadow()) h += std::abs(ZuzFont->GetShadow()->GetVertSize());
    return h;
}

TRect TZuzCanvas3D::TextRect(int X, int Y, const String& Text) {
    const int w = TextWidth(Text), h = TextHeight(Text);
    // Text standing on its point, or on its baseline there, lies above it.
    const UINT align = GetTextAlign();
    int top = Y;
    if ((align & TA_BASELINE) == TA_BASELINE) {
        ReferenceCanvas->RequiredState(kText);
        TEXTMETRICW metrics;
        GetTextMetricsW(Dc(), &metrics);
        top -= metrics.tmAscent;
    } else if (align & TA_BOTTOM) {
        top -= PlainTextExtent(Text).cy;
    }
    switch (align & TA_CENTER) {
    case TA_RIGHT:
        return {X - w, top, X, top + h};
    case TA_CENTER:
        return {X - w / 2, top, X + w / 2, top + h};
    default:
        return {X, top, X + w, top + h};
    }
}

TRect TZuzCanvas3D::TurnedTextRect(int X, int Y, const String& Text) {
    const TRect r = TextRect(X, Y, Text);
    const double turn = TextTurn(Dc());
    if (turn == 0) return r;
    double left = X, top = Y, right = X, bottom = Y;
    for (const auto& [x, y] : TurnedCorners(r, X, Y, turn)) {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
    }
    return {static_cast<int>(std::floor(left)), static_cast<int>(std::floor(top)),
            static_cast<int>(std::ceil(right)) + 1, static_cast<int>(std::ceil(bottom)) + 1};
}

void TZuzCanvas3D::TextOut(int X, int Y, const String& Text) {
    // A brush changed since the last shape goes to the device now. A cleared one makes the text
    // transparent, as callers expect; a solid one would make the background opaque in its colour,
    // and a legend row would sit on a block of the symbol drawn before it: the text keeps the
    // background mode and colour set before instead.
    HDC dc = Dc();
    const int mode = GetBkMode(dc);
    const COLORREF back = GetBkColor(dc);
    ReferenceCanvas->RequiredState(kTextBrush);
    if (GetBkMode(dc) == OPAQUE) {
        SetBkMode(dc, mode);
        SetBkColor(dc, back);
    }
    int x = X, y = Y;
    if (ZuzFont && ZuzFont->HasVisibleShadow()) {
        const TZuzShadow* shadow = ZuzFont->GetShadow();
        if (shadow->GetHorizSize() != 0 || shadow->GetVertSize() != 0) TextShadow(X, Y, Text, x, y);
    }
    SetTextColor(Dc(), static_cast<COLORREF>(ColorToRGB(Font->GetColor())));
    if (!ZuzFont ||
        !(ZuzFont->HasVisibleOutLine() || ZuzFont->HasVisibleGradient() || ZuzFont->HasPictureGraphic())) {
        TextOutDC(Dc(), x, y, Text);
    } else {
        TextEffects(x, y, Text);
    }
    Drawn(ReferenceCanvas);
}

void TZuzCanvas3D::TextShadow(int X, int Y, const String& Text, int& TextX, int& TextY) {
    TZuzShadow* shadow = ZuzFont->GetShadow();
    const int h = shadow->GetHorizSize(), v = shadow->GetVertSize();
    // A negative offset keeps the shadow at the given point and moves the text instead.
    int sx = X, sy = Y;
    if (h < 0)
        TextX = X - h;
    else
        sx = X + h;
    if (v < 0)
        TextY = Y - v;
    else
        sy = Y + v;
    // An invisible colour draws no shadow, but the text still moves to where the measure put it.
    if (shadow->GetColor() == clNone) return;
    Owned<TZuzBlend> blend;
    if (shadow->GetTransparency() > 0)
        blend = BeginBlending(TurnedTextRect(sx, sy, Text), shadow->GetTransparency());
    ReferenceCanvas->RequiredState(kText);
    SetTextColor(Dc(), static_cast<COLORREF>(ColorToRGB(shadow->GetColor())));
    TextOutDC(Dc(), sx, sy, Text);
    TBitmap* bitmap = GetBitmap();
    if (shadow->GetSmooth() && shadow->GetSmoothBlur() > 0 && bitmap &&
        ReferenceCanvas == bitmap->GetCanvas() && ZuzTextShadowBlur) {
        const TSize size = PlainTextExtent(Text);
        int left = sx;
        if ((GetTextAlign() & TA_CENTER) == TA_RIGHT)
            left -= size.cx;
        else if ((GetTextAlign() & TA_CENTER) == TA_CENTER)
            left -= size.cx / 2;
        if (const double turn = TextTurn(Dc()); turn != 0) {
            // The turned letters' box, not the upright one at their point: that holds only a piece
            // of the shadow, and blurs what lies beside the text.
            const int top = GetTextAlign() & TA_BOTTOM ? sy - size.cy : sy;
            TPoint corners[4];
            std::size_t k = 0;
            for (const auto& [x, y] :
                 TurnedCorners(TRect(left - 1, top, left + size.cx + 1, top + size.cy), sx, sy, turn))
                corners[k++] = {ZuzRound(x), ZuzRound(y)};
            // The bounds take the edges in, as the blur does.
            BlurShadow(Dc(), bitmap, PolygonBounds(corners, 3), shadow->GetSmoothBlur(), corners);
        } else {
            BlurShadow(Dc(), bitmap, TRect(left - 1, sy, left + size.cx, sy + size.cy - 1),
                       shadow->GetSmoothBlur());
        }
        SetBackMode(cbmTransparent);
    }
    if (blend) EndBlending(std::move(blend));
}

void TZuzCanvas3D::TextEffects(int X, int Y, const String& Text) {
    const bool outline = ZuzFont->HasVisibleOutLine();
    if (outline)
        AssignVisiblePenColor(ZuzFont->GetOutLine(), ZuzFont->GetOutLine()->GetColor());
    else
        Pen->SetStyle(psClear);
    Brush->SetColor(Font->GetColor());
    Brush->SetStyle(bsSolid);
    ReferenceCanvas->RequiredState(kTextShape);
    HDC dc = Dc();
    SetBkMode(dc, TRANSPARENT);
    const auto letterPath = [&] {
        BeginPath(dc);
        TextOutDC(dc, X, Y, Text);
        EndPath(dc);
    };
    letterPath();
    const TRect r = TextRect(X, Y, Text);
    // Turned letters lie outside the upright text rectangle: they are filled over their own box.
    const bool turned = TextTurn(dc) != 0;
    const auto fillArea = [&] {
        RECT box;
        return turned && GetClipBox(dc, &box) != NULLREGION ? TRect(box) : r;
    };
    if (ZuzFont->HasVisibleGradient()) {
        TZuzFontGradient* gradient = ZuzFont->GetGradient();
        if (gradient->GetOutline()) WidenPath(dc);
        {
            const TClipKept kept(dc);
            SelectClipPath(dc, RGN_AND);
            gradient->Draw(this, fillArea(), 0);
        }
        if (gradient->GetOutline()) return;
        if (!outline) return;
        ReferenceCanvas->RequiredState(kTextShape);
        letterPath();
        Brush->SetStyle(bsClear);
    } else if (ZuzFont->HasPictureGraphic()) {
        {
            const TClipKept kept(dc);
            SelectClipPath(dc, RGN_AND);
            // The font makes its picture as one with filters.
            StretchDraw(fillArea(), static_cast<TZuzPicture*>(ZuzFont->GetPicture())->Filtered());
        }
        if (!outline) return;
        ReferenceCanvas->RequiredState(kTextShape);
        letterPath();
        Brush->SetStyle(bsClear);
    }
    ReferenceCanvas->RequiredState(kTextShape);
    if (Font->GetColor() == clNone)
        StrokePath(dc);
    else
        StrokeAndFillPath(dc);
}
