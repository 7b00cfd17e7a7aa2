#pragma once
// Buttons: the bitmap button with its stock kinds, and the speed button with its glyphs.

#include "platform/gui/stdctrls.h"

enum TBitBtnKind : std::uint8_t {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};
template <>
const EnumInfo& EnumInfoOf<TBitBtnKind>();

enum TButtonLayout : std::uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
template <>
const EnumInfo& EnumInfoOf<TButtonLayout>();

class TBitBtn : public TButton {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TBitBtn(TComponent* AOwner);

    // A stock kind brings its caption, modal result and default or cancel role.
    TBitBtnKind GetKind() const { return FKind; }
    void SetKind(TBitBtnKind Value);
    TButtonLayout GetLayout() const { return FLayout; }
    void SetLayout(TButtonLayout Value) { FLayout = Value; }
    int GetMargin() const { return FMargin; }
    void SetMargin(int Value) { FMargin = Value; }
    int GetNumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value) { FNumGlyphs = Value; }
    int GetSpacing() const { return FSpacing; }
    void SetSpacing(int Value) { FSpacing = Value; }

    // A close button closes its form.
    void Click() override;

private:
    TBitBtnKind FKind = bkCustom;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FNumGlyphs = 1;
    int FSpacing = 4;
};

// A flat button of a tool bar or navigator. Its glyph holds NumGlyphs images side by side:
// up, disabled, clicked and down; a glyph's bottom-left pixel colour is transparent. Buttons
// of one parent with the same GroupIndex (not 0) work as radio buttons: pressing one puts it
// down and the others up; AllowAllUp lets the down one come up again.
class TSpeedButton : public TGraphicControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TSpeedButton(TComponent* AOwner);
    ~TSpeedButton() override;

    TBitmap* GetGlyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    int GetNumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value); // 1..4
    int GetGroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }
    bool GetDown() const { return FDown; }
    void SetDown(bool Value);
    bool GetAllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
    bool GetFlat() const { return FFlat; }
    void SetFlat(bool Value);
    TButtonLayout GetLayout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    int GetMargin() const { return FMargin; }
    void SetMargin(int Value) { FMargin = Value; }
    int GetSpacing() const { return FSpacing; }
    void SetSpacing(int Value) { FSpacing = Value; }
    void SetText(const String& Value) override;

    // The image of the glyph shown in a state (0 up, 1 disabled, 2 clicked, 3 down): the
    // glyph's own when it has that many, else the up image (grayed when disabled).
    Owned<TBitmap> GlyphImage(int Index) const;
    void Click() override;

    // Platform side: draws over the button's face after the button painted itself.
    void PaintOverlay(TCanvas* Canvas) { PaintOver(Canvas); }
    virtual bool HasPaintOver() const { return false; }

protected:
    void EnabledChanged() override;
    // Drawing of a derived button on top of the system's look (a focus mark); called in every
    // paint when HasPaintOver answers true.
    virtual void PaintOver(TCanvas* Canvas) {}

private:
    void UpdateLook();
    class QToolButton* FButton;
    Owned<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    int FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    bool FFlat = false;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
};
