#pragma once
// The font of chart texts: the framework font with chart defaults, extra space between
// characters, and four decorations that text output applies, each made on first use so a plain
// font costs no more than a framework font: an outline pen, a shadow, a gradient fill of the
// glyphs and a picture.

#include "platform/gui/graphics.h"

class TChartHiddenPen;
class TZuzShadow;
class TZuzFontGradient;
class TZuzCanvas;

// The default face and size of chart texts, from the message table at start-up (a Japanese
// system gets its own face and one point more).
int GetDefaultFontSize();
String GetDefaultFontName();
void ZuzFontInitialization();
// The drawing unit's ending: the default face is cleared.
void ZuzFontFinalization();

class TZuzFont : public TFont {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TZuzFont(TNotifyEvent ChangedEvent = {});
    ~TZuzFont() override;
    // From another chart font its decorations too (a source without one frees the target's),
    // then the framework font's settings.
    void Assign(TPersistent* Source) override;

    TZuzFontGradient* GetGradient();
    void SetGradient(TZuzFontGradient* Value); // nullptr frees it
    bool HasGradient() const { return FGradient != nullptr; }
    int GetInterCharSize() const { return FInterCharSize; }
    void SetInterCharSize(int Value);
    TChartHiddenPen* GetOutLine();
    void SetOutLine(TChartHiddenPen* Value);
    bool HasOutLine() const { return FOutLine != nullptr; }
    TPicture* GetPicture();
    void SetPicture(TPicture* Value);
    bool HasPicture() const { return FPicture != nullptr; }
    TZuzShadow* GetShadow();
    void SetShadow(TZuzShadow* Value);
    bool HasShadow() const { return FShadow != nullptr; }

    // The decorations text output draws: existing and visible (a picture: holding a graphic).
    bool HasVisibleShadow() const;
    bool HasVisibleOutLine() const;
    bool HasVisibleGradient() const;
    bool HasPictureGraphic() const;

    bool IsColorStored() const { return GetColor() != DefaultColor; }
    bool IsHeightStored() const { return GetSize() != GetDefaultFontSize(); }
    bool IsNameStored() const { return GetName() != GetDefaultFontName(); }
    bool IsStyleStored() const { return GetStyle() != DefaultStyle; }

    // The font's own change notification (the gradient reports through it).
    void DoChanged(TObject* Sender);

    TZuzCanvas* Canvas = nullptr; // the canvas that took the font last; not owned
    TColor DefaultColor = clBlack;
    TFontStyles DefaultStyle;

private:
    TNotifyEvent FontChangeEvent();
    Owned<TZuzFontGradient> FGradient;
    int FInterCharSize = 0;
    Owned<TChartHiddenPen> FOutLine;
    Owned<TPicture> FPicture;
    Owned<TZuzShadow> FShadow;
};
