#pragma once
// Colours in hue, luminance and saturation, and the colour dialog that remembers the
// user's custom colours between calls. Hue, luminance and saturation run 0..240
// (240 = full); a grey has hue 160 and saturation 0.

#include "platform/gui/graphics.h"

class TComponent;
class TStrings;

void RGBToHLS(COLORREF RGB, Word& H, Word& L, Word& S);
// System colours are resolved first.
void ColorToHLS(TColor Color, Word& H, Word& L, Word& S);
void HLSToRGB(Word H, Word L, Word S, COLORREF& RGB);
TColor HLSToColor(Word H, Word L, Word S);

// The custom colours of the colour dialog ("ColorA=..." lines), made on first use and
// kept until the canvas unit ends.
TStrings* ZuzCustomEditColors();
void ZuzFreeCustomEditColors();
// Runs the colour dialog from Color; the chosen colour after OK, Color on cancel.
TColor EditColor(TComponent* Owner, TColor Color);
// True, with Color updated, when the user chose another colour.
bool EditColorDialog(TComponent* Owner, TColor& Color);
