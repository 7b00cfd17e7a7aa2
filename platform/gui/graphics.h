#pragma once
// Graphics: colours, fonts, pens, brushes, the canvas and the pictures of the
// class library, standing on our GDI-shaped device contexts.

#include "platform/core/classes.h"
#include "platform/core/types.h"
#include "platform/win32/gdi.h"

#include <string_view>

// ---------------------------------------------------------------------------
// Colours: 0x00BBGGRR values; system colours carry 0xFF in the top byte and the
// system colour index below; clNone and clDefault are the two special values.

enum TColor : std::int32_t {
    clBlack = 0x000000,
    clMaroon = 0x000080,
    clGreen = 0x008000,
    clOlive = 0x008080,
    clNavy = 0x800000,
    clPurple = 0x800080,
    clTeal = 0x808000,
    clGray = 0x808080,
    clSilver = 0xC0C0C0,
    clRed = 0x0000FF,
    clLime = 0x00FF00,
    clYellow = 0x00FFFF,
    clBlue = 0xFF0000,
    clFuchsia = 0xFF00FF,
    clAqua = 0xFFFF00,
    clWhite = 0xFFFFFF,
    clLtGray = 0xC0C0C0,
    clDkGray = 0x808080,
    clMoneyGreen = 0xC0DCC0,
    clSkyBlue = 0xF0CAA6,
    clCream = 0xF0FBFF,
    clMedGray = 0xA4A0A0,

    clNone = 0x1FFFFFFF,
    clDefault = 0x20000000,

    clSystemColor = static_cast<std::int32_t>(0xFF000000u),
    clScrollBar = clSystemColor | 0,
    clBackground = clSystemColor | 1,
    clActiveCaption = clSystemColor | 2,
    clInactiveCaption = clSystemColor | 3,
    clMenu = clSystemColor | 4,
    clWindow = clSystemColor | 5,
    clWindowFrame = clSystemColor | 6,
    clMenuText = clSystemColor | 7,
    clWindowText = clSystemColor | 8,
    clCaptionText = clSystemColor | 9,
    clActiveBorder = clSystemColor | 10,
    clInactiveBorder = clSystemColor | 11,
    clAppWorkSpace = clSystemColor | 12,
    clHighlight = clSystemColor | 13,
    clHighlightText = clSystemColor | 14,
    clBtnFace = clSystemColor | 15,
    clBtnShadow = clSystemColor | 16,
    clGrayText = clSystemColor | 17,
    clBtnText = clSystemColor | 18,
    clInactiveCaptionText = clSystemColor | 19,
    clBtnHighlight = clSystemColor | 20,
    cl3DDkShadow = clSystemColor | 21,
    cl3DLight = clSystemColor | 22,
    clInfoText = clSystemColor | 23,
    clInfoBk = clSystemColor | 24,
    clHotLight = clSystemColor | 26,
    clGradientActiveCaption = clSystemColor | 27,
    clGradientInactiveCaption = clSystemColor | 28,
    clMenuHighlight = clSystemColor | 29,
    clMenuBar = clSystemColor | 30,
};

// The colour identifiers travel in streams by name ("clBtnFace").
extern const IntIdentMap kColorIdents;
template <>
struct IntIdentsOf<TColor> {
    static constexpr const IntIdentMap* value = &kColorIdents;
};

// System colours resolved to their RGB value; any other value unchanged.
std::int32_t ColorToRGB(TColor Color);
bool ColorToIdent(std::int32_t Color, std::string& Ident);
bool IdentToColor(std::string_view Ident, std::int32_t& Color);
// "clRed", or "$00BBGGRR" for a colour without a name.
String ColorToString(TColor Color);
// A colour name or a number ("$FF", "255"); raises EConvertError otherwise.
TColor StringToColor(const String& S);
constexpr TColor MakeColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<TColor>(r | (g << 8) | (b << 16));
}

// ---------------------------------------------------------------------------
// Fonts, pens and brushes: persistent style objects that tell their owner of
// every change through OnChange.

enum TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = Set<TFontStyle>;
template <>
const EnumInfo& EnumInfoOf<TFontStyle>();

enum TFontPitch : std::uint8_t { fpDefault, fpVariable, fpFixed };
template <>
const EnumInfo& EnumInfoOf<TFontPitch>();

// The character set numbers of the system, streamed by name ("DEFAULT_CHARSET").
enum TFontCharset : std::uint8_t {
    ANSI_CHARSET = 0,
    DEFAULT_CHARSET = 1,
    SYMBOL_CHARSET = 2,
    MAC_CHARSET = 77,
    SHIFTJIS_CHARSET = 128,
    HANGEUL_CHARSET = 129,
    JOHAB_CHARSET = 130,
    GB2312_CHARSET = 134,
    CHINESEBIG5_CHARSET = 136,
    GREEK_CHARSET = 161,
    TURKISH_CHARSET = 162,
    VIETNAMESE_CHARSET = 163,
    HEBREW_CHARSET = 177,
    ARABIC_CHARSET = 178,
    BALTIC_CHARSET = 186,
    RUSSIAN_CHARSET = 204,
    THAI_CHARSET = 222,
    EASTEUROPE_CHARSET = 238,
    OEM_CHARSET = 255,
};
extern const IntIdentMap kCharsetIdents;
template <>
struct IntIdentsOf<TFontCharset> {
    static constexpr const IntIdentMap* value = &kCharsetIdents;
};

enum TPenStyle : std::uint8_t {
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame,
    psUserStyle,
    psAlternate
};
template <>
const EnumInfo& EnumInfoOf<TPenStyle>();

enum TPenMode : std::uint8_t {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};
template <>
const EnumInfo& EnumInfoOf<TPenMode>();

enum TBrushStyle : std::uint8_t {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};
template <>
const EnumInfo& EnumInfoOf<TBrushStyle>();

// Face names: SubstituteFontName (gdi.h) maps the names that forms and charts
// ask for ("Tahoma", "Arial", ...) to installed faces with close metrics.

class TGraphicsObject : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TNotifyEvent OnChange;

protected:
    virtual void Changed();
};

class TFont : public TGraphicsObject {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TFont();
    void Assign(TPersistent* Source) override;

    TFontCharset GetCharset() const { return FCharset; }
    void SetCharset(TFontCharset Value);
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    int GetHeight() const { return FHeight; }
    void SetHeight(int Value);
    const String& GetName() const { return FName; }
    void SetName(const String& Value);
    int GetOrientation() const { return FOrientation; }
    void SetOrientation(int Value);
    TFontPitch GetPitch() const { return FPitch; }
    void SetPitch(TFontPitch Value);
    int GetSize() const;
    void SetSize(int Value);
    TFontStyles GetStyle() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    // Height stays when the resolution changes: the font keeps its pixel size.
    int GetPixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value) { FPixelsPerInch = Value > 0 ? Value : 96; }

private:
    TFontCharset FCharset = DEFAULT_CHARSET;
    TColor FColor = clWindowText;
    int FHeight = -11;
    String FName = u"Tahoma";
    int FOrientation = 0;
    TFontPitch FPitch = fpDefault;
    TFontStyles FStyle;
    int FPixelsPerInch = 96;
};

class TPen : public TGraphicsObject {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    void Assign(TPersistent* Source) override;

    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    TPenMode GetMode() const { return FMode; }
    void SetMode(TPenMode Value);
    TPenStyle GetStyle() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    int GetWidth() const { return FWidth; }
    void SetWidth(int Value);

private:
    TColor FColor = clBlack;
    TPenMode FMode = pmCopy;
    TPenStyle FStyle = psSolid;
    int FWidth = 1;
};

class TBrush : public TGraphicsObject {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    void Assign(TPersistent* Source) override;

    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle GetStyle() const { return FStyle; }
    void SetStyle(TBrushStyle Value);

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};
