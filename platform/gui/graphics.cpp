#include "platform/gui/graphics.h"

#include "platform/core/filer.h"
#include "platform/core/streams.h"
#include "platform/core/sysutils.h"
#include "platform/gui/qtbridge.h"
#include "platform/win32/gdiqt.h"

#include <QApplication>
#include <QBuffer>
#include <QImageReader>
#include <QWidget>

#include <cctype>
#include <cstdlib>
#include <map>

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
    // "$" and eight hex digits, built in place: g++ 12 misreads appends to a
    // short string as out of bounds.
    char16_t text[9] = {u'$'};
    const auto u = static_cast<std::uint32_t>(Color);
    for (int i = 0; i < 8; ++i) text[1 + i] = static_cast<char16_t>(digits[(u >> (28 - 4 * i)) & 0xF]);
    return String(text, 9);
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

TFont::~TFont() {
    if (FHandle) DeleteObject(FHandle);
}

void TFont::Changed() {
    if (FHandle) {
        DeleteObject(FHandle);
        FHandle = nullptr;
    }
    TGraphicsObject::Changed();
}

LOGFONTW TFont::GetLogFont() const {
    LOGFONTW lf;
    lf.lfHeight = FHeight;
    lf.lfEscapement = FOrientation;
    lf.lfOrientation = FOrientation;
    lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FStyle.Contains(fsItalic);
    lf.lfUnderline = FStyle.Contains(fsUnderline);
    lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    lf.lfCharSet = FCharset;
    lf.lfPitchAndFamily = FPitch == fpFixed      ? FIXED_PITCH
                          : FPitch == fpVariable ? VARIABLE_PITCH
                                                 : DEFAULT_PITCH;
    lf.lfFaceName = FName;
    return lf;
}

HFONT TFont::GetHandle() {
    if (!FHandle) FHandle = CreateFontIndirectW(GetLogFont());
    return FHandle;
}

void TFont::SetHandle(HFONT Value) {
    LOGFONTW lf;
    if (!Value || GetObjectW(Value, &lf) == 0) return;
    if (FHandle && FHandle != Value) DeleteObject(FHandle);
    FHandle = Value;
    FHeight = lf.lfHeight;
    FOrientation = lf.lfEscapement;
    FName = lf.lfFaceName;
    FCharset = static_cast<TFontCharset>(lf.lfCharSet);
    TFontStyles st;
    if (lf.lfWeight >= FW_BOLD) st += fsBold;
    if (lf.lfItalic) st += fsItalic;
    if (lf.lfUnderline) st += fsUnderline;
    if (lf.lfStrikeOut) st += fsStrikeOut;
    FStyle = st;
    TGraphicsObject::Changed();
}

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

TPen::~TPen() {
    if (FHandle) DeleteObject(FHandle);
}

void TPen::Changed() {
    if (FHandle) {
        DeleteObject(FHandle);
        FHandle = nullptr;
        FOwnHandle = false;
    }
    TGraphicsObject::Changed();
}

HPEN TPen::GetHandle() {
    if (!FHandle) {
        const COLORREF c = static_cast<COLORREF>(ColorToRGB(FColor)) & 0xFFFFFF;
        if (FStyle == psAlternate || FStyle == psUserStyle) {
            const LOGBRUSH lb{BS_SOLID, c, 0};
            FHandle = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, lb, 0, nullptr);
        } else {
            FHandle = CreatePen(static_cast<int>(FStyle), FWidth, c);
        }
        FOwnHandle = false;
    }
    return FHandle;
}

void TPen::SetHandle(HPEN Value) {
    if (FHandle && FHandle != Value) DeleteObject(FHandle);
    FHandle = Value;
    FOwnHandle = Value != nullptr;
    TGraphicsObject::Changed();
}

void TPen::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TPen*>(Source);
    if (!src) {
        TGraphicsObject::Assign(Source);
        return;
    }
    if (FHandle) DeleteObject(FHandle);
    FHandle = nullptr;
    FOwnHandle = false;
    FColor = src->FColor;
    FMode = src->FMode;
    FStyle = src->FStyle;
    FWidth = src->FWidth;
    if (src->FOwnHandle && src->FHandle) {
        // An adopted system pen travels as a copy of the same description.
        const GdiPen& p = *src->FHandle;
        const LOGBRUSH lb{p.Style() == PS_NULL ? static_cast<UINT>(BS_NULL) : static_cast<UINT>(BS_SOLID),
                          p.color, 0};
        FHandle = ExtCreatePen(p.style, static_cast<DWORD>(p.width), lb,
                               static_cast<DWORD>(p.userStyle.size()), p.userStyle.data());
        FOwnHandle = true;
    }
    TGraphicsObject::Changed();
}

void TPen::SetColor(TColor Value) {
    if (FColor == Value) return;
    FColor = Value;
    Changed();
}
void TPen::SetMode(TPenMode Value) {
    if (FMode == Value) return;
    FMode = Value;
    // The mix mode is no part of the system pen: an adopted handle stays.
    TGraphicsObject::Changed();
}
void TPen::SetStyle(TPenStyle Value) {
    if (FStyle == Value) return;
    FStyle = Value;
    Changed();
}
void TPen::SetWidth(int Value) {
    // A width from a file may be any number: a pen as wide as the largest picture covers any,
    // and drawing, framing and laying out add the width to coordinates.
    Value = std::min(Value, kLargestPictureSide);
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

TBrush::~TBrush() {
    if (FHandle) DeleteObject(FHandle);
}

void TBrush::Changed() {
    if (FHandle) {
        DeleteObject(FHandle);
        FHandle = nullptr;
    }
    TGraphicsObject::Changed();
}

HBRUSH TBrush::GetHandle() {
    if (!FHandle) {
        const COLORREF c = static_cast<COLORREF>(ColorToRGB(FColor)) & 0xFFFFFF;
        if (FPattern)
            FHandle = CreatePatternBrush(FPattern.get());
        else if (FStyle == bsSolid)
            FHandle = CreateSolidBrush(c);
        else if (FStyle == bsClear)
            FHandle = CreateBrushIndirect(LOGBRUSH{BS_NULL, c, 0});
        else
            FHandle = CreateHatchBrush(static_cast<int>(FStyle) - static_cast<int>(bsHorizontal), c);
    }
    return FHandle;
}

void TBrush::SetBitmap(TBitmap* Value) {
    FBitmap = Value;
    FPattern.reset();
    if (Value && !Value->GetEmpty())
        FPattern.reset(CopyBitmapSurface(Value->GetHandle()), [](GdiBitmap* b) { DeleteObject(b); });
    Changed();
}

void TBrush::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TBrush*>(Source);
    if (!src) {
        TGraphicsObject::Assign(Source);
        return;
    }
    FColor = src->FColor;
    FStyle = src->FStyle;
    FBitmap = src->FBitmap;
    FPattern = src->FPattern;
    Changed();
}

void TBrush::SetColor(TColor Value) {
    if (FColor == Value) return;
    FColor = Value;
    // Giving a clear brush a colour asks for it to be painted: it becomes
    // solid again (forms and charts rely on it).
    if (FStyle == bsClear) FStyle = bsSolid;
    Changed();
}
void TBrush::SetStyle(TBrushStyle Value) {
    if (FStyle == Value) return;
    FStyle = Value;
    Changed();
}

// ---------------------------------------------------------------------------
// Window regions

int SetWindowRgn(HWND Window, HRGN Region, BOOL Redraw) {
    // A window handle is a control's widget; anything else is found nowhere.
    if (!Window || !qobject_cast<QApplication*>(QCoreApplication::instance())) return 0;
    if (Region && GetRgnBox(Region, nullptr) == RGN_ERROR) return 0; // no region (any more)
    QWidget* widget = nullptr;
    for (QWidget* w : QApplication::allWidgets())
        if (reinterpret_cast<HWND>(w) == Window) {
            widget = w;
            break;
        }
    if (!widget) return 0;
    if (Region) {
        widget->setMask(Region->impl->region);
        DeleteObject(Region);
    } else {
        widget->clearMask();
    }
    if (Redraw) widget->update();
    return 1;
}

// ---------------------------------------------------------------------------
// TCanvas

const ClassInfo& TCanvas::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TCanvas>("TCanvas", &TPersistent::StaticClass());
    return ci;
}

TCanvas::TCanvas() : FPen(MakeOwned<TPen>()), FBrush(MakeOwned<TBrush>()), FFont(MakeOwned<TFont>()) {
    FPen->OnChange = TNotifyEvent([this](TObject*) { ObjectChanged(csPenValid); });
    FBrush->OnChange = TNotifyEvent([this](TObject*) { ObjectChanged(csBrushValid); });
    FFont->OnChange = TNotifyEvent([this](TObject*) { ObjectChanged(csFontValid); });
}

TCanvas::~TCanvas() {
    // The handle belongs to whoever made it; only our objects leave it.
    DeselectHandles();
}

void TCanvas::ObjectChanged(TCanvasStates Which) {
    if (!FState.Contains(Which)) return;
    FState.Exclude(Which);
    if (!FHandle) return;
    // The changed object may go away: the context holds a stock one meanwhile.
    switch (Which) {
    case csPenValid:
        SelectObject(FHandle, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
        break;
    case csBrushValid:
        SelectObject(FHandle, static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH)));
        break;
    case csFontValid:
        SelectObject(FHandle, static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
        break;
    default:
        break;
    }
}

void TCanvas::DeselectHandles() {
    if (FHandle) {
        if (FState.Contains(csPenValid)) SelectObject(FHandle, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
        if (FState.Contains(csBrushValid))
            SelectObject(FHandle, static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH)));
        if (FState.Contains(csFontValid))
            SelectObject(FHandle, static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    }
    FState -= TCanvasState{csPenValid, csBrushValid, csFontValid};
}

HDC TCanvas::GetHandle() {
    RequiredState({csHandleValid});
    return FHandle;
}

void TCanvas::SetHandle(HDC Value) {
    if (FHandle == Value) return;
    DeselectHandles();
    FHandle = Value;
    FState = Value ? TCanvasState{csHandleValid} : TCanvasState{};
}

void TCanvas::Refresh() {
    DeselectHandles();
}

void TCanvas::RequiredState(TCanvasState ReqState) {
    const TCanvasState needed = ReqState - FState;
    if (needed.Empty()) return;
    if (needed.Contains(csHandleValid)) {
        CreateHandle();
        if (!FHandle) throw EInvalidOperation(u"Canvas does not allow drawing");
        FState += csHandleValid;
    }
    if (needed.Contains(csFontValid)) {
        SelectObject(FHandle, FFont->GetHandle());
        SetTextColor(FHandle, static_cast<COLORREF>(ColorToRGB(FFont->GetColor())));
        FState += csFontValid;
    }
    if (needed.Contains(csPenValid)) {
        SelectObject(FHandle, FPen->GetHandle());
        static constexpr int modes[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                                        R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                                        R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                                        R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
        SetROP2(FHandle, modes[FPen->GetMode()]);
        FState += csPenValid;
    }
    if (needed.Contains(csBrushValid)) {
        SelectObject(FHandle, FBrush->GetHandle());
        const COLORREF c = static_cast<COLORREF>(ColorToRGB(FBrush->GetColor()));
        if (FBrush->GetStyle() == bsSolid) {
            SetBkColor(FHandle, c);
            SetBkMode(FHandle, OPAQUE);
        } else {
            SetBkColor(FHandle, ~c & 0xFFFFFF);
            SetBkMode(FHandle, TRANSPARENT);
        }
        FState += csBrushValid;
    }
}

void TCanvas::Changing() {
    if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

namespace {
constexpr TCanvasState kShapeState{csHandleValid, csPenValid, csBrushValid};
}

TPoint TCanvas::GetPenPos() {
    RequiredState({csHandleValid});
    POINT p;
    GetCurrentPositionEx(FHandle, &p);
    return p;
}

TColor TCanvas::GetPixel(int X, int Y) {
    RequiredState({csHandleValid});
    return static_cast<TColor>(static_cast<std::int32_t>(::GetPixel(FHandle, X, Y)));
}

void TCanvas::SetPixel(int X, int Y, TColor Color) {
    Changing();
    RequiredState({csHandleValid, csPenValid});
    ::SetPixel(FHandle, X, Y, static_cast<COLORREF>(ColorToRGB(Color)));
    Changed();
}

void TCanvas::MoveTo(int X, int Y) {
    RequiredState({csHandleValid});
    MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y) {
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::LineTo(FHandle, X, Y);
    Changed();
}

void TCanvas::Polyline(const TPoint* Points, int Count) {
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Polyline(FHandle, Points, Count);
    Changed();
}

void TCanvas::Polygon(const TPoint* Points, int Count) {
    Changing();
    RequiredState(kShapeState);
    ::Polygon(FHandle, Points, Count);
    Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
    Changing();
    RequiredState(kShapeState);
    ::Rectangle(FHandle, X1, Y1, X2, Y2);
    Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
    Changing();
    RequiredState(kShapeState);
    ::RoundRect(FHandle, X1, Y1, X2, Y2, X3, Y3);
    Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
    Changing();
    RequiredState(kShapeState);
    ::Ellipse(FHandle, X1, Y1, X2, Y2);
    Changed();
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    Changing();
    RequiredState(kShapeState);
    ::Arc(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    Changed();
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    Changing();
    RequiredState(kShapeState);
    ::Chord(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    Changed();
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    Changing();
    RequiredState(kShapeState);
    ::Pie(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    Changed();
}

void TCanvas::FillRect(const TRect& Rect) {
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ::FillRect(FHandle, Rect, FBrush->GetHandle());
    Changed();
}

void TCanvas::FrameRect(const TRect& Rect) {
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ::FrameRect(FHandle, Rect, FBrush->GetHandle());
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& Rect) {
    Changing();
    RequiredState({csHandleValid});
    // A dotted outline mixed in by XOR: drawing it twice removes it. The gaps between the dots
    // stay as they were, whatever background mode the canvas is in.
    const int saved = SaveDC(FHandle);
    SetBkMode(FHandle, TRANSPARENT);
    const LOGBRUSH lb{BS_SOLID, RGB(255, 255, 255), 0};
    HPEN dots = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, lb, 0, nullptr);
    SelectObject(FHandle, dots);
    SelectObject(FHandle, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
    SetROP2(FHandle, R2_XORPEN);
    ::Rectangle(FHandle, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
    RestoreDC(FHandle, saved);
    DeleteObject(dots);
    Changed();
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
    if (!Graphic || Graphic->GetEmpty()) return;
    Changing();
    RequiredState({csHandleValid});
    Graphic->Draw(this, TRect(X, Y, X + Graphic->GetWidth(), Y + Graphic->GetHeight()));
    Changed();
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic) {
    if (!Graphic) return;
    Changing();
    RequiredState({csHandleValid});
    Graphic->Draw(this, Rect);
    Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    Canvas->RequiredState({csHandleValid, csBrushValid});
    StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Canvas->FHandle, Source.Left,
               Source.Top, Source.Width(), Source.Height(), static_cast<DWORD>(FCopyMode));
    Changed();
}

void TCanvas::TextOut(int X, int Y, const String& Text) {
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    TextOutW(FHandle, X, Y, Text.data(), static_cast<int>(Text.size()));
    MoveToEx(FHandle, X + TextWidth(Text), Y, nullptr);
    Changed();
}

void TCanvas::TextRect(const TRect& Rect, int X, int Y, const String& Text) {
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    const int saved = SaveDC(FHandle);
    IntersectClipRect(FHandle, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
    if (FBrush->GetStyle() != bsClear) ::FillRect(FHandle, Rect, FBrush->GetHandle());
    TextOutW(FHandle, X, Y, Text.data(), static_cast<int>(Text.size()));
    RestoreDC(FHandle, saved);
    Changed();
}

TSize TCanvas::TextExtent(const String& Text) {
    RequiredState({csHandleValid, csFontValid});
    TSize size;
    GetTextExtentPoint32W(FHandle, Text.data(), static_cast<int>(Text.size()), &size);
    return size;
}

TImageCanvas::~TImageCanvas() {
    HDC dc = HandleAllocated() ? GetHandle() : nullptr;
    SetHandle(nullptr);
    if (dc) DeleteDC(dc);
}

void TImageCanvas::CreateHandle() {
    if (QImage* image = FImage ? FImage() : nullptr) SetHandle(CreateImageDC(image));
}

// ---------------------------------------------------------------------------
// TGraphic

bool PictureSizeAllowed(Int64 Width, Int64 Height) {
    return Width <= kLargestPictureSide && Height <= kLargestPictureSide &&
           Width * Height <= kLargestPicturePixels;
}

void CheckPictureSize(Int64 Width, Int64 Height) {
    if (!PictureSizeAllowed(Width, Height))
        throw EInvalidGraphic(Format(u"The picture is too large (%d x %d pixels)", {Width, Height}));
}

// Every picture Qt decodes is first measured here, so its readers are let allocate what the
// largest picture needs before the first one: their own default stops at 128 MB, half of it.
QSize ClaimedPictureSize(const void* Data, std::size_t Size, const char* Format) {
    static const bool allowed = [] {
        // The largest picture at 32 bits a pixel, in the megabytes Qt counts (rows of whole
        // pixels times their number): 256, exactly what 8,192 x 8,192 takes.
        QImageReader::setAllocationLimit(static_cast<int>(kLargestPicturePixels * 4 >> 20));
        return true;
    }();
    (void)allowed;
    QByteArray bytes = QByteArray::fromRawData(static_cast<const char*>(Data), static_cast<qsizetype>(Size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer, Format).size();
}

const ClassInfo& TGraphic::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TGraphic>("TGraphic", &TPersistent::StaticClass());
    return ci;
}

void TGraphic::SetTransparent(bool Value) {
    if (FTransparent == Value) return;
    FTransparent = Value;
    Changed(this);
}

void TGraphic::SetModified(bool Value) {
    if (Value)
        Changed(this);
    else
        FModified = false;
}

void TGraphic::Changed(TObject* Sender) {
    FModified = true;
    if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const String& FileName) {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

// The picture is made in memory first: a picture that fails to come out leaves the file as it was.
void TGraphic::SaveToFile(const String& FileName) {
    TMemoryStream stream;
    SaveToStream(&stream);
    stream.SaveToFile(FileName);
}

namespace {
std::map<const ClassInfo*, TGraphicFactory>& GraphicFactories() {
    static std::map<const ClassInfo*, TGraphicFactory> factories{
        {&TBitmap::StaticClass(), []() -> TGraphic* { return Create<TBitmap>(); }},
        {&TMetafile::StaticClass(), []() -> TGraphic* { return Create<TMetafile>(); }},
    };
    return factories;
}

struct FileFormat {
    String extension;
    String description;
    const ClassInfo* cls;
};
std::vector<FileFormat>& FileFormats() {
    static std::vector<FileFormat> formats{{u"bmp", u"Bitmaps", &TBitmap::StaticClass()},
                                           {u"emf", u"Enhanced Metafiles", &TMetafile::StaticClass()}};
    return formats;
}

String LowerAscii(String s) {
    for (char16_t& c : s)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    return s;
}
} // namespace

void RegisterGraphicClass(const ClassInfo& Class, TGraphicFactory Factory) {
    GraphicFactories()[&Class] = Factory;
}

TGraphic* NewGraphicOfClass(const ClassInfo& Class) {
    const auto it = GraphicFactories().find(&Class);
    return it == GraphicFactories().end() ? nullptr : it->second();
}

// ---------------------------------------------------------------------------
// TBitmap

template <>
const EnumInfo& EnumInfoOf<TPixelFormat>() {
    static const EnumInfo info{
        "TPixelFormat",
        {"pfDevice", "pf1bit", "pf4bit", "pf8bit", "pf15bit", "pf16bit", "pf24bit", "pf32bit", "pfCustom"}};
    return info;
}

template <>
const EnumInfo& EnumInfoOf<TTransparentMode>() {
    static const EnumInfo info{"TTransparentMode", {"tmAuto", "tmFixed"}};
    return info;
}

namespace {
// The bitmap's own canvas: a memory context with the bitmap selected.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* owner) : owner_(owner) {}
    ~TBitmapCanvas() override {
        HDC dc = HandleAllocated() ? GetHandle() : nullptr;
        SetHandle(nullptr);
        if (dc) DeleteDC(dc);
    }

protected:
    void CreateHandle() override {
        HDC dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, owner_->GetHandle());
        SetHandle(dc);
    }

private:
    TBitmap* owner_;
};

GdiPixelFormat StorageOf(TPixelFormat f) {
    return f == pf24bit ? GdiPixelFormat::Bgr24 : GdiPixelFormat::Rgb32;
}

// The bits a pixel of the format's file; 0 for the formats written as the screen's.
int FileBitsOf(TPixelFormat f) {
    switch (f) {
    case pf1bit:
        return 1;
    case pf4bit:
        return 4;
    case pf8bit:
        return 8;
    case pf15bit:
        return 15;
    case pf16bit:
        return 16;
    case pf32bit:
        return 32;
    default:
        return 0;
    }
}

TPixelFormat FormatOfFileBits(int bits) {
    switch (bits) {
    case 1:
        return pf1bit;
    case 4:
        return pf4bit;
    case 8:
        return pf8bit;
    case 15:
        return pf15bit;
    case 16:
        return pf16bit;
    case 24:
        return pf24bit;
    default:
        return pf32bit;
    }
}
} // namespace

const ClassInfo& TBitmap::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TBitmap>("TBitmap", &TGraphic::StaticClass());
    return ci;
}

TBitmap::TBitmap() : FHandle(CreateBitmapSurface(0, 0, GdiPixelFormat::Rgb32)) {}

TBitmap::~TBitmap() {
    FCanvas.reset();
    DeleteObject(FHandle);
}

bool TBitmap::GetEmpty() const {
    return BitmapWidth(FHandle) == 0 || BitmapHeight(FHandle) == 0;
}

int TBitmap::GetWidth() const {
    return BitmapWidth(FHandle);
}

int TBitmap::GetHeight() const {
    return BitmapHeight(FHandle);
}

void TBitmap::SetSize(int AWidth, int AHeight) {
    if (AWidth == GetWidth() && AHeight == GetHeight()) return;
    ResizeBitmapSurface(FHandle, AWidth, AHeight);
    Changed(this);
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
    if (Value == FPixelFormat) return;
    FPixelFormat = Value;
    ConvertBitmapSurface(FHandle, StorageOf(Value));
    Changed(this);
}

void TBitmap::SetMonochrome(bool Value) {
    if (Value)
        SetPixelFormat(pf1bit);
    else if (FPixelFormat == pf1bit)
        SetPixelFormat(pfDevice);
}

void TBitmap::ReducePixels() {
    if (const int bits = FileBitsOf(FPixelFormat)) ReduceBitmapSurface(FHandle, bits);
}

Byte* TBitmap::ScanLine(int Row) {
    Byte* row = BitmapScanLine(FHandle, Row);
    if (!row) throw EInvalidGraphicOperation(u"Scan line index out of range");
    return row;
}

TCanvas* TBitmap::GetCanvas() {
    if (!FCanvas) {
        FCanvas.reset(new TBitmapCanvas(this));
        FCanvas->AfterConstruction();
        FCanvas->OnChange = TNotifyEvent([this](TObject*) { Changed(this); });
    }
    return FCanvas.get();
}

TColor TBitmap::GetTransparentColor() {
    if (FTransparentMode == tmFixed || GetEmpty()) return FTransparentColor;
    const QImage& img = BitmapImage(FHandle);
    const QRgb p = img.pixel(0, img.height() - 1); // the bottom-left pixel
    return static_cast<TColor>(
        RGB(static_cast<BYTE>(qRed(p)), static_cast<BYTE>(qGreen(p)), static_cast<BYTE>(qBlue(p))));
}

void TBitmap::SetTransparentColor(TColor Value) {
    FTransparentColor = Value;
    FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
    Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
    if (Value == FTransparentMode) return;
    if (Value == tmAuto)
        SetTransparentColor(clDefault);
    else
        SetTransparentColor(GetTransparentColor());
}

void TBitmap::Assign(TPersistent* Source) {
    if (!Source) {
        SetSize(0, 0);
        return;
    }
    if (auto* src = dynamic_cast<TBitmap*>(Source)) {
        if (src == this) return;
        src->ReducePixels();
        HBITMAP copy = CopyBitmapSurface(src->FHandle);
        if (FCanvas && FCanvas->HandleAllocated()) SelectObject(FCanvas->GetHandle(), copy);
        DeleteObject(FHandle);
        FHandle = copy;
        FPixelFormat = src->FPixelFormat;
        FTransparentColor = src->FTransparentColor;
        FTransparentMode = src->FTransparentMode;
        SetTransparent(src->GetTransparent());
        Changed(this);
        return;
    }
    if (auto* g = dynamic_cast<TGraphic*>(Source)) {
        SetSize(g->GetWidth(), g->GetHeight());
        GetCanvas()->GetBrush()->SetColor(clWhite);
        GetCanvas()->GetBrush()->SetStyle(bsSolid);
        GetCanvas()->FillRect(TRect(0, 0, GetWidth(), GetHeight()));
        GetCanvas()->Draw(0, 0, g);
        return;
    }
    TGraphic::Assign(Source);
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
    if (GetEmpty()) return;
    ReducePixels();
    HDC dst = ACanvas->GetHandle();
    if (GetTransparent()) {
        const COLORREF key = static_cast<COLORREF>(ColorToRGB(GetTransparentColor()));
        const QRgb k = qRgb(GetRValue(key), GetGValue(key), GetBValue(key));
        const QPoint a = dst->ToDevice(Rect.Left, Rect.Top), b = dst->ToDevice(Rect.Right, Rect.Bottom);
        dst->DrawImage(QRect(a, b - QPoint(1, 1)).normalized(), BitmapImage(FHandle), k);
        return;
    }
    HDC src = GetCanvas()->GetHandle();
    StretchBlt(dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src, 0, 0, GetWidth(), GetHeight(),
               static_cast<DWORD>(ACanvas->GetCopyMode()));
}

void TBitmap::LoadFromStream(TStream* Stream) {
    const Int64 left = Stream->GetSize() - Stream->GetPosition();
    std::vector<Byte> data(static_cast<std::size_t>(std::max<Int64>(0, left)));
    if (!data.empty()) Stream->ReadBuffer(data.data(), static_cast<LongInt>(data.size()));
    // A bitmap stored top row first claims a negative height.
    if (const QSize claimed = ClaimedPictureSize(data.data(), data.size(), "BMP"); claimed != QSize())
        CheckPictureSize(std::abs(claimed.width()), std::abs(claimed.height()));
    HBITMAP loaded = LoadBitmapSurface(data);
    if (!loaded) throw EInvalidGraphic(u"Bitmap image is not valid");
    if (FCanvas && FCanvas->HandleAllocated()) SelectObject(FCanvas->GetHandle(), loaded);
    DeleteObject(FHandle);
    FHandle = loaded;
    FPixelFormat = FormatOfFileBits(BitmapFileDepth(data));
    Changed(this);
}

void TBitmap::SaveToStream(TStream* Stream) {
    std::vector<Byte> data;
    if (GetEmpty()) return;
    const int bits = FileBitsOf(FPixelFormat);
    if (!(bits ? SaveBitmapSurfaceAs(FHandle, bits, data) : SaveBitmapSurface(FHandle, data))) return;
    Stream->WriteBuffer(data.data(), static_cast<LongInt>(data.size()));
}

// ---------------------------------------------------------------------------
// TPicture

const ClassInfo& TPicture::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TPicture>("TPicture", &TPersistent::StaticClass());
    return ci;
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed(TObject* Sender) {
    if (OnChange) OnChange(this);
}

void TPicture::SetGraphic(TGraphic* Value) {
    Owned<TGraphic> copy;
    if (Value) {
        copy.reset(NewGraphicOfClass(Value->ClassType()));
        if (!copy) throw EInvalidGraphic(u"Unsupported picture type " + Value->ClassName());
        copy->Assign(Value);
        copy->OnChange = TNotifyEvent([this](TObject* s) { Changed(s); });
    }
    FGraphic = std::move(copy);
    Changed(this);
}

TBitmap* TPicture::GetBitmap() {
    if (!dynamic_cast<TBitmap*>(FGraphic.get())) {
        FGraphic.reset(Create<TBitmap>());
        FGraphic->OnChange = TNotifyEvent([this](TObject* s) { Changed(s); });
    }
    return static_cast<TBitmap*>(FGraphic.get());
}

void TPicture::Assign(TPersistent* Source) {
    if (!Source) {
        SetGraphic(nullptr);
    } else if (auto* pic = dynamic_cast<TPicture*>(Source)) {
        SetGraphic(pic->GetGraphic());
    } else if (auto* g = dynamic_cast<TGraphic*>(Source)) {
        SetGraphic(g);
    } else {
        TPersistent::Assign(Source);
    }
}

void TPicture::DefineProperties(TFiler* Filer) {
    TPersistent::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        "Data",
        [this](TStream* Stream) {
            const Int64 left = Stream->GetSize() - Stream->GetPosition();
            Byte nameLength = 0;
            if (left < 1) throw EReadError(u"Invalid picture data");
            Stream->ReadBuffer(&nameLength, 1);
            std::string name(nameLength, '\0');
            if (nameLength > 0) {
                if (left < 1 + nameLength) throw EReadError(u"Invalid picture data");
                Stream->ReadBuffer(name.data(), nameLength);
            }
            if (name.empty()) {
                SetGraphic(nullptr);
                return;
            }
            const ClassInfo* cls = nullptr;
            for (const auto& [c, factory] : GraphicFactories())
                if (SameIdent(c->name, name)) cls = c;
            Owned<TGraphic> g(cls ? NewGraphicOfClass(*cls) : nullptr);
            if (!g) throw EReadError(u"Unknown picture class %s", {IdentToString(name)});
            LongInt size = 0;
            if (Stream->GetSize() - Stream->GetPosition() < 4) throw EReadError(u"Invalid picture data");
            Stream->ReadBuffer(&size, 4);
            if (size < 0 || size > Stream->GetSize() - Stream->GetPosition())
                throw EReadError(u"Invalid picture data");
            auto picture = MakeOwned<TMemoryStream>();
            picture->SetSize(size);
            if (size > 0) Stream->ReadBuffer(picture->Memory(), size);
            picture->SetPosition(0);
            // An empty graphic saves no bytes: it reads back empty, not as a damaged picture.
            if (size > 0) g->LoadFromStream(picture.get());
            g->OnChange = TNotifyEvent([this](TObject* s) { Changed(s); });
            FGraphic = std::move(g);
            Changed(this);
        },
        [this](TStream* Stream) {
            const std::string_view name = FGraphic ? FGraphic->ClassType().name : std::string_view();
            const Byte nameLength = static_cast<Byte>(std::min<std::size_t>(name.size(), 255));
            Stream->WriteBuffer(&nameLength, 1);
            Stream->WriteBuffer(name.data(), nameLength);
            if (!FGraphic) return;
            auto picture = MakeOwned<TMemoryStream>();
            FGraphic->SaveToStream(picture.get());
            const LongInt size = static_cast<LongInt>(picture->GetSize());
            Stream->WriteBuffer(&size, 4);
            Stream->WriteBuffer(picture->Memory(), size);
        },
        FGraphic != nullptr);
}

String GraphicFilter(const ClassInfo& GraphicClass) {
    String all, each;
    for (const FileFormat& f : FileFormats()) {
        if (!f.cls->InheritsFrom(GraphicClass)) continue;
        const String mask = u"*." + f.extension;
        all += (all.empty() ? u"" : u";") + mask;
        each += u"|" + f.description + u" (" + mask + u")|" + mask;
    }
    return u"All (" + all + u")|" + all + each;
}

void TPicture::RegisterFileFormat(const String& Extension, const String& Description,
                                  const ClassInfo& Class) {
    const String ext = LowerAscii(Extension);
    for (FileFormat& f : FileFormats())
        if (f.extension == ext) {
            f = FileFormat{ext, Description, &Class};
            return;
        }
    FileFormats().push_back(FileFormat{ext, Description, &Class});
}

const ClassInfo* TPicture::FileFormatClass(const String& Extension) {
    String ext = LowerAscii(Extension);
    if (!ext.empty() && ext[0] == u'.') ext.erase(0, 1);
    for (const FileFormat& f : FileFormats())
        if (f.extension == ext) return f.cls;
    return nullptr;
}

namespace {
String ExtensionOf(const String& FileName) {
    const auto dot = FileName.find_last_of(u'.');
    const auto slash = FileName.find_last_of(u"/\\");
    if (dot == String::npos || (slash != String::npos && dot < slash)) return {};
    return FileName.substr(dot + 1);
}
} // namespace

void TPicture::LoadFromFile(const String& FileName) {
    const String ext = ExtensionOf(FileName);
    const ClassInfo* cls = FileFormatClass(ext);
    if (!cls) throw EInvalidGraphic(u"Unknown picture file extension (." + ext + u")");
    Owned<TGraphic> g(NewGraphicOfClass(*cls));
    if (!g) throw EInvalidGraphic(u"Unknown picture file extension (." + ext + u")");
    g->LoadFromFile(FileName);
    g->OnChange = TNotifyEvent([this](TObject* s) { Changed(s); });
    FGraphic = std::move(g);
    Changed(this);
}

void TPicture::SaveToFile(const String& FileName) {
    if (FGraphic) FGraphic->SaveToFile(FileName);
}
