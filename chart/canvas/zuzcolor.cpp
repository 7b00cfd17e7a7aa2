// Colour conversion and the colour dialog.
#include "chart/canvas/zuzcolor.h"

#include "chart/canvas/zuzcanvas.h"
#include "platform/core/lists.h"
#include "platform/gui/dialogs.h"

#include <algorithm>

void RGBToHLS(COLORREF RGB, Word& H, Word& L, Word& S) {
    const int r = GetRValue(RGB), g = GetGValue(RGB), b = GetBValue(RGB);
    const int mx = std::max({r, g, b}), mn = std::min({r, g, b});
    const int sum = mx + mn, d = mx - mn;
    const float lum = static_cast<float>(sum * 240 + 255) / 510.0f;
    L = static_cast<Word>(ZuzRound(lum));
    if (mx == mn) {
        S = 0;
        H = 160;
        return;
    }
    if (lum <= 120)
        S = static_cast<Word>(ZuzRound((d * 240 + sum / 2.0) / sum));
    else
        S = static_cast<Word>(ZuzRound((d * 240 + (510 - sum) / 2.0) / (510 - sum)));
    auto part = [mx, d](int c) {
        return static_cast<float>((mx - c) * 40 + d / 2.0f) / static_cast<float>(d);
    };
    const float dR = part(r), dG = part(g), dB = part(b);
    float hue;
    if (r == mx)
        hue = dB - dG;
    else if (g == mx)
        hue = 80 + dR - dB;
    else
        hue = 160 + dG - dR;
    if (hue < 0) hue += 240;
    if (hue > 240) hue -= 240;
    H = static_cast<Word>(ZuzRound(hue));
}

void ColorToHLS(TColor Color, Word& H, Word& L, Word& S) {
    RGBToHLS(static_cast<COLORREF>(ColorToRGB(Color)), H, L, S);
}

namespace {
int ChannelOf(double M1, double M2, double Hue) {
    if (Hue < 0) Hue += 240;
    if (Hue > 240) Hue -= 240;
    double v;
    if (Hue < 40)
        v = M1 + ((M2 - M1) * Hue + 20) / 40;
    else if (Hue < 120)
        v = M2;
    else if (Hue < 160)
        v = M1 + ((M2 - M1) * (160 - Hue) + 20) / 40;
    else
        v = M1;
    const int rounded = ZuzRound(v);
    return std::clamp(ZuzRound((rounded * 255 + 120) / 240.0), 0, 255);
}
} // namespace

void HLSToRGB(Word H, Word L, Word S, COLORREF& RGB) {
    if (S == 0) {
        const int grey = std::min(255, ZuzRound(L * 255 / 240.0));
        RGB = static_cast<COLORREF>(MakeColor(grey, grey, grey));
        return;
    }
    const double m2 =
        L <= 120 ? (L * (240.0 + S) + 120) / 240 : L + S - (L * static_cast<double>(S) + 120) / 240;
    const double m1 = 2.0 * L - m2;
    const int r = ChannelOf(m1, m2, H + 80.0), g = ChannelOf(m1, m2, H), b = ChannelOf(m1, m2, H - 80.0);
    RGB = static_cast<COLORREF>(
        MakeColor(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)));
}

TColor HLSToColor(Word H, Word L, Word S) {
    COLORREF rgb = 0;
    HLSToRGB(H, L, S, rgb);
    return static_cast<TColor>(rgb);
}

namespace {
Owned<TStringList> CustomColors;
}

TStrings* ZuzCustomEditColors() {
    if (!CustomColors) CustomColors = MakeOwned<TStringList>();
    return CustomColors.get();
}

void ZuzFreeCustomEditColors() {
    CustomColors.reset();
}

TColor EditColor(TComponent* Owner, TColor Color) {
    // Owned by Owner while it runs, freed (and so taken off Owner's list) when done.
    const Owned<TColorDialog> dialog(Create<TColorDialog>(Owner));
    dialog->SetColor(Color);
    dialog->SetCustomColors(ZuzCustomEditColors());
    if (!dialog->Execute()) return Color;
    ZuzCustomEditColors()->Assign(dialog->GetCustomColors());
    return dialog->GetColor();
}

bool EditColorDialog(TComponent* Owner, TColor& Color) {
    const TColor chosen = EditColor(Owner, Color);
    if (chosen == Color) return false;
    Color = chosen;
    return true;
}
