#pragma once
// Buttons: the bitmap button with its stock kinds.

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
