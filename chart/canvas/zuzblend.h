#pragma once
// Transparency of chart elements: the background under a rectangle is saved before the element
// is drawn and mixed back over it afterwards, so the element shows the given percentage of what
// was there.

#include "platform/gui/graphics.h"

class TZuzCanvas;

class TZuzBlend : public TObject {
public:
    TZuzBlend(TZuzCanvas* ACanvas, const TRect& R);
    ~TZuzBlend() override;

    // Normalises R, keeps it on the canvas's bounds and saves the background under it.
    void SetRectangle(const TRect& R);
    // Mixes the saved background back over what was drawn since: Transparency percent of it.
    void DoBlend(int Transparency);
    bool IsValid() const { return FValid; }
    const TRect& GetRectangle() const { return FRect; }
    // The saved background, which the blend mixes back.
    TBitmap* GetBitmap() const { return FBitmap.get(); }

private:
    Owned<TBitmap> FBitmap; // the background, 24 bits per pixel
    TZuzCanvas* FCanvas;
    TRect FRect;
    bool FValid = false;
};

// Mixes Bitmap into BitmapTo at Pos; BitmapTo keeps Percent % of itself.
void ZuzBlendBitmaps(double Percent, TBitmap* Bitmap, TBitmap* BitmapTo, TPoint Pos);
