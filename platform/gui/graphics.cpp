#include "platform/gui/graphics.h"

#include "platform/core/sysutils.h"

#include <cctype>

// ---------------------------------------------------------------------------
// Colours

namespace {

struct ColorName {
    std::int32_t value;
    std::string_view name;
};

constexpr ColorName kColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
};

constexpr ColorName kCharsetNames[] = {
    {ANSI_CHARSET, "ANSI_CHARSET"},
    {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
    {MAC_CHARSET, "MAC_CHARSET"},
    {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"},
    {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
    {JOHAB_CHARSET, "JOHAB_CHARSET"},
    {GB2312_CHARSET, "GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"},
    {GREEK_CHARSET, "GREEK_CHARSET"},
    {TURKISH_CHARSET, "TURKISH_CHARSET"},
    {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, "HEBREW_CHARSET"},
    {ARABIC_CHARSET, "ARABIC_CHARSET"},
    {BALTIC_CHARSET, "BALTIC_CHARSET"},
    {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
    {THAI_CHARSET, "THAI_CHARSET"},
    {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
    {OEM_CHARSET, "OEM_CHARSET"},
};

template <std::size_t N>
bool ValueToName(const ColorName (&table)[N], std::int64_t value, std::string& ident) {
    for (const ColorName& c : table)
        if (c.value == value) {
            ident = std::string(c.name);
            return true;
        }
    return false;
}

template <std::size_t N>
bool NameToValue(const ColorName (&table)[N], std::string_view ident, std::int64_t& value) {
    for (const ColorName& c : table)
        if (SameIdent(c.name, ident)) {
            value = c.value;
            return true;
        }
    return false;
}

} // namespace

const IntIdentMap kColorIdents{
    [](std::int64_t v, std::string& s) { return ValueToName(kColorNames, v, s); },
    [](std::string_view s, std::int64_t& v) { return NameToValue(kColorNames, s, v); },
};

const IntIdentMap kCharsetIdents{
    [](std::int64_t v, std::string& s) { return ValueToName(kCharsetNames, v, s); },
    [](std::string_view s, std::int64_t& v) { return NameToValue(kCharsetNames, s, v); },
};

std::int32_t ColorToRGB(TColor Color) {
    if (Color < 0) return static_cast<std::int32_t>(GetSysColor(Color & 0xFF));
    return Color;
}

bool ColorToIdent(std::int32_t Color, std::string& Ident) {
    return ValueToName(kColorNames, Color, Ident);
}

bool IdentToColor(std::string_view Ident, std::int32_t& Color) {
    std::int64_t v = 0;
    if (!NameToValue(kColorNames, Ident, v)) return false;
    Color = static_cast<std::int32_t>(v);
    return true;
}

String ColorToString(TColor Color) {
    std::string ident;
    if (ColorToIdent(Color, ident)) return IdentToString(ident);
    static constexpr char digits[] = "0123456789ABCDEF";
    String out = u"$";
    const auto u = static_cast<std::uint32_t>(Color);
    for (int shift = 28; shift >= 0; shift -= 4)
        out.push_back(static_cast<char16_t>(digits[(u >> shift) & 0xF]));
    return out;
}

TColor StringToColor(const String& S) {
    std::int32_t c = 0;
    const AnsiString a = UTF8Encode(S);
    if (IdentToColor(a, c)) return static_cast<TColor>(c);
    // A number as the class library writes it: decimal, or hexadecimal after '$' or "0x".
    std::size_t i = 0;
    bool negative = false;
    while (i < a.size() && a[i] == ' ') ++i;
    if (i < a.size() && (a[i] == '-' || a[i] == '+')) negative = a[i++] == '-';
    int base = 10;
    if (i < a.size() && a[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < a.size() && a[i] == '0' && (a[i + 1] == 'x' || a[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    std::uint64_t v = 0;
    const std::size_t start = i;
    for (; i < a.size(); ++i) {
        const int ch = std::toupper(static_cast<unsigned char>(a[i]));
        int d = -1;
        if (ch >= '0' && ch <= '9') d = ch - '0';
        if (base == 16 && ch >= 'A' && ch <= 'F') d = ch - 'A' + 10;
        if (d < 0) break;
        v = v * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
        if (v > 0xFFFFFFFFull) break;
    }
    if (i == start || i != a.size() || v > 0xFFFFFFFFull)
        throw EConvertError(u"'%s' is not a valid integer value", {S});
    std::uint32_t u = static_cast<std::uint32_t>(v);
    if (negative) u = 0u - u;
    return static_cast<TColor>(static_cast<std::int32_t>(u));
}

// ---------------------------------------------------------------------------
// Enumeration names

template <>
const EnumInfo& EnumInfoOf<TFontStyle>() {
    static const EnumInfo info{"TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TFontPitch>() {
    static const EnumInfo info{"TFontPitch", {"fpDefault", "fpVariable", "fpFixed"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TPenStyle>() {
    static const EnumInfo info{"TPenStyle",
                               {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear",
                                "psInsideFrame", "psUserStyle", "psAlternate"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TPenMode>() {
    static const EnumInfo info{"TPenMode",
                               {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy",
                                "pmMergePenNot", "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge",
                                "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TBrushStyle>() {
    static const EnumInfo info{"TBrushStyle",
                               {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
                                "bsBDiagonal", "bsCross", "bsDiagCross"}};
    return info;
}

// ---------------------------------------------------------------------------
// Style objects

const ClassInfo& TGraphicsObject::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TGraphicsObject>("TGraphicsObject", &TPersistent::StaticClass());
    return ci;
}

void TGraphicsObject::Changed() {
    if (OnChange) OnChange(this);
}

// TFont

const ClassInfo& TFont::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TFont::GetCharset, &TFont::SetCharset>("Charset"),
        MakeProp<&TFont::GetColor, &TFont::SetColor>("Color"),
        MakeProp<&TFont::GetHeight, &TFont::SetHeight>("Height"),
        MakeProp<&TFont::GetName, &TFont::SetName>("Name"),
        MakeProp<&TFont::GetOrientation, &TFont::SetOrientation>("Orientation").Default(0),
        MakeProp<&TFont::GetPitch, &TFont::SetPitch>("Pitch").Default(fpDefault),
        MakeProp<&TFont::GetSize, &TFont::SetSize>("Size").Stored(false),
        MakeProp<&TFont::GetStyle, &TFont::SetStyle>("Style"),
    };
    static const ClassInfo ci = MakeClassInfo<TFont>("TFont", &TGraphicsObject::StaticClass(), props);
    return ci;
}

TFont::TFont() = default;

void TFont::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TFont*>(Source);
    if (!src) {
        TGraphicsObject::Assign(Source);
        return;
    }
    FCharset = src->FCharset;
    FColor = src->FColor;
    // The same resolution keeps the pixel height; another one keeps the point size.
    if (src->FPixelsPerInch == FPixelsPerInch)
        FHeight = src->FHeight;
    else
        FHeight = -MulDiv(src->GetSize(), FPixelsPerInch, 72);
    FName = src->FName;
    FOrientation = src->FOrientation;
    FPitch = src->FPitch;
    FStyle = src->FStyle;
    Changed();
}

void TFont::SetCharset(TFontCharset Value) {
    if (FCharset == Value) return;
    FCharset = Value;
    Changed();
}
void TFont::SetColor(TColor Value) {
    if (FColor == Value) return;
    FColor = Value;
    Changed();
}
void TFont::SetHeight(int Value) {
    if (FHeight == Value) return;
    FHeight = Value;
    Changed();
}
void TFont::SetName(const String& Value) {
    if (Value.empty() || FName == Value) return;
    FName = Value;
    Changed();
}
void TFont::SetOrientation(int Value) {
    if (FOrientation == Value) return;
    FOrientation = Value;
    Changed();
}
void TFont::SetPitch(TFontPitch Value) {
    if (FPitch == Value) return;
    FPitch = Value;
    Changed();
}
int TFont::GetSize() const {
    return -MulDiv(FHeight, 72, FPixelsPerInch);
}
void TFont::SetSize(int Value) {
    SetHeight(-MulDiv(Value, FPixelsPerInch, 72));
}
void TFont::SetStyle(TFontStyles Value) {
    if (FStyle == Value) return;
    FStyle = Value;
    Changed();
}

// TPen

const ClassInfo& TPen::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TPen::GetColor, &TPen::SetColor>("Color").Default(clBlack),
        MakeProp<&TPen::GetMode, &TPen::SetMode>("Mode").Default(pmCopy),
        MakeProp<&TPen::GetStyle, &TPen::SetStyle>("Style").Default(psSolid),
        MakeProp<&TPen::GetWidth, &TPen::SetWidth>("Width").Default(1),
    };
    static const ClassInfo ci = MakeClassInfo<TPen>("TPen", &TGraphicsObject::StaticClass(), props);
    return ci;
}

void TPen::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TPen*>(Source);
    if (!src) {
        TGraphicsObject::Assign(Source);
        return;
    }
    FColor = src->FColor;
    FMode = src->FMode;
    FStyle = src->FStyle;
    FWidth = src->FWidth;
    Changed();
}

void TPen::SetColor(TColor Value) {
    if (FColor == Value) return;
    FColor = Value;
    Changed();
}
void TPen::SetMode(TPenMode Value) {
    if (FMode == Value) return;
    FMode = Value;
    Changed();
}
void TPen::SetStyle(TPenStyle Value) {
    if (FStyle == Value) return;
    FStyle = Value;
    Changed();
}
void TPen::SetWidth(int Value) {
    if (Value < 0 || FWidth == Value) return;
    FWidth = Value;
    Changed();
}

// TBrush

const ClassInfo& TBrush::StaticClass() {
    static const PropInfo props[] = {
        MakeProp<&TBrush::GetColor, &TBrush::SetColor>("Color").Default(clWhite),
        MakeProp<&TBrush::GetStyle, &TBrush::SetStyle>("Style").Default(bsSolid),
    };
    static const ClassInfo ci = MakeClassInfo<TBrush>("TBrush", &TGraphicsObject::StaticClass(), props);
    return ci;
}

void TBrush::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TBrush*>(Source);
    if (!src) {
        TGraphicsObject::Assign(Source);
        return;
    }
    FColor = src->FColor;
    FStyle = src->FStyle;
    Changed();
}

void TBrush::SetColor(TColor Value) {
    if (FColor == Value) return;
    FColor = Value;
    // A colour makes a clear brush solid again, as on the original.
    if (FStyle == bsClear) FStyle = bsSolid;
    Changed();
}
void TBrush::SetStyle(TBrushStyle Value) {
    if (FStyle == Value) return;
    FStyle = Value;
    Changed();
}
