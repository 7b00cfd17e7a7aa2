#pragma once
// Graphics: colours, fonts, pens, brushes, the canvas and the pictures of the
// class library, standing on our GDI-shaped device contexts.

#include "platform/core/classes.h"
#include "platform/core/sysutils.h"
#include "platform/core/types.h"
#include "platform/win32/gdi.h"
#include "platform/win32/gdimeta.h"

#include <functional>
#include <memory>
#include <string_view>

class QImage;

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

class TBitmap;
class TCanvas;
class TGraphic;
class TStream;

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
    // The system font of these settings, made on demand and owned by the font;
    // a handle given to SetHandle is adopted and its description taken over.
    HFONT GetHandle();
    void SetHandle(HFONT Value);
    // The font as a GDI font description: what its handle is made of, and
    // what widgets show text in.
    LOGFONTW GetLogFont() const;
    ~TFont() override;

protected:
    void Changed() override;

private:
    HFONT FHandle = nullptr;
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
    // The system pen of these settings, made on demand and owned by the pen; a
    // handle given to SetHandle (an ExtCreatePen pen) is adopted as it is.
    HPEN GetHandle();
    void SetHandle(HPEN Value);
    ~TPen() override;

protected:
    void Changed() override;

private:
    HPEN FHandle = nullptr;
    bool FOwnHandle = false; // adopted through SetHandle
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
    // A pattern bitmap (not owned): the brush copies its pixels when it is
    // given, so the bitmap may change or go away afterwards; nullptr for none.
    TBitmap* GetBitmap() const { return FBitmap; }
    void SetBitmap(TBitmap* Value);
    HBRUSH GetHandle();
    ~TBrush() override;

protected:
    void Changed() override;

private:
    HBRUSH FHandle = nullptr;
    TBitmap* FBitmap = nullptr;
    std::shared_ptr<GdiBitmap> FPattern; // the pixels of FBitmap when it was given
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

// The window takes the region (it is deleted by the call) as the part of it
// that shows; nullptr gives it back all of its area. 0 for a handle that is no
// window (the caller keeps the region then).
int SetWindowRgn(HWND Window, HRGN Region, BOOL Redraw);

// ---------------------------------------------------------------------------
// The canvas: a device context with a pen, a brush and a font that are
// selected into it lazily, only when they changed since they were last
// selected. Selecting the pen sets the mix mode of Pen.Mode; the brush sets the
// background (opaque in the brush colour for a solid brush, else transparent);
// the font sets the text colour.

enum TCanvasStates : std::uint8_t { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = Set<TCanvasStates>;
using TCopyMode = std::int32_t;

class TCanvas : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TCanvas();
    ~TCanvas() override;

    HDC GetHandle();
    // Uses a device context made elsewhere (not owned); nullptr lets go of it.
    void SetHandle(HDC Value);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TPen* GetPen() const { return FPen.get(); }
    void SetPen(TPen* Value) { FPen->Assign(Value); }
    TBrush* GetBrush() const { return FBrush.get(); }
    void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
    TFont* GetFont() const { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    TCopyMode GetCopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
    TPoint GetPenPos();
    void SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }
    TColor GetPixel(int X, int Y);
    void SetPixel(int X, int Y, TColor Color);
    int GetTextFlags() const { return FTextFlags; }
    void SetTextFlags(int Value) { FTextFlags = Value; }

    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void Polyline(const TPoint* Points, int Count);
    void Polygon(const TPoint* Points, int Count);
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
    void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void FillRect(const TRect& Rect);
    void FrameRect(const TRect& Rect);
    void DrawFocusRect(const TRect& Rect);
    void Draw(int X, int Y, TGraphic* Graphic);
    void StretchDraw(const TRect& Rect, TGraphic* Graphic);
    void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
    void TextOut(int X, int Y, const String& Text);
    void TextRect(const TRect& Rect, int X, int Y, const String& Text);
    TSize TextExtent(const String& Text);
    int TextWidth(const String& Text) { return TextExtent(Text).cx; }
    int TextHeight(const String& Text) { return TextExtent(Text).cy; }
    // Deselects the pen, brush and font: the next drawing selects them again.
    void Refresh();
    // Kept for code that locks a canvas around drawing from another thread;
    // all drawing here is on the GUI thread, so there is nothing to lock.
    void Lock() {}
    void Unlock() {}
    // Makes the handle and selects what is asked for (changed objects only);
    // code mixing direct device-context calls with the canvas uses it.
    void RequiredState(TCanvasState ReqState);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void CreateHandle() {}
    virtual void Changing();
    virtual void Changed();
    void DeselectHandles();

private:
    void ObjectChanged(TCanvasStates Which);

    HDC FHandle = nullptr;
    TCanvasState FState;
    Owned<TPen> FPen;
    Owned<TBrush> FBrush;
    Owned<TFont> FFont;
    TCopyMode FCopyMode = SRCCOPY;
    int FTextFlags = 0;
};

// A canvas on an image that someone else keeps (a control's retained surface,
// which it may resize between calls): drawing reaches the image at once, at any
// time, inside or outside painting.
class TImageCanvas : public TCanvas {
public:
    explicit TImageCanvas(std::function<QImage*()> Image) : FImage(std::move(Image)) {}
    ~TImageCanvas() override;

protected:
    void CreateHandle() override;

private:
    std::function<QImage*()> FImage;
};

// ---------------------------------------------------------------------------
// Pictures

class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};
class EInvalidGraphicOperation : public Exception {
public:
    using Exception::Exception;
};

// The largest picture that is read from outside bytes (a file, a stream, a chart's back
// image), whatever its kind: at most 32,767 pixels a side, what 16-bit device coordinates
// reach, and 2^26 pixels in all (8,192 x 8,192: 256 MB at 32 bits a pixel, what Qt's picture
// readers are let allocate, and about two seconds a drawing). A header of a few bytes can
// claim any size; a larger picture is refused as damaged before a pixel of it is made.
constexpr int kLargestPictureSide = 32767;
constexpr Int64 kLargestPicturePixels = Int64{1} << 26;
bool PictureSizeAllowed(Int64 Width, Int64 Height);
// Raises EInvalidGraphic when a picture of Width x Height is larger than that.
void CheckPictureSize(Int64 Width, Int64 Height);

class TGraphic : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    virtual bool GetEmpty() const = 0;
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual void SetWidth(int Value) = 0;
    virtual void SetHeight(int Value) = 0;
    virtual bool GetTransparent() const { return FTransparent; }
    virtual void SetTransparent(bool Value);
    bool GetModified() const { return FModified; }
    void SetModified(bool Value);

    virtual void LoadFromStream(TStream* Stream) = 0;
    virtual void SaveToStream(TStream* Stream) = 0;
    void LoadFromFile(const String& FileName);
    void SaveToFile(const String& FileName);

    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    // Paints the picture into Rect of the canvas.
    virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
    virtual void Changed(TObject* Sender);

private:
    bool FTransparent = false;
    bool FModified = false;
};

// A new instance of a graphic class (the class references of pictures).
using TGraphicFactory = TGraphic* (*)();
void RegisterGraphicClass(const ClassInfo& Class, TGraphicFactory Factory);
TGraphic* NewGraphicOfClass(const ClassInfo& Class); // nullptr when not registered

enum TPixelFormat : std::uint8_t {
    pfDevice,
    pf1bit,
    pf4bit,
    pf8bit,
    pf15bit,
    pf16bit,
    pf24bit,
    pf32bit,
    pfCustom
};
template <>
const EnumInfo& EnumInfoOf<TPixelFormat>();
enum TTransparentMode : std::uint8_t { tmAuto, tmFixed };
template <>
const EnumInfo& EnumInfoOf<TTransparentMode>();

class TBitmap : public TGraphic {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TBitmap();
    ~TBitmap() override;
    void Assign(TPersistent* Source) override;

    bool GetEmpty() const override;
    int GetWidth() const override;
    int GetHeight() const override;
    void SetWidth(int Value) override { SetSize(Value, GetHeight()); }
    void SetHeight(int Value) override { SetSize(GetWidth(), Value); }
    // Both sizes in one call; the pixels kept, a new area white.
    void SetSize(int AWidth, int AHeight);
    TPixelFormat GetPixelFormat() const { return FPixelFormat; }
    // Changing the format converts the pixels: pf24bit keeps blue-green-red
    // bytes, every other format blue-green-red-unused. The file keeps the format's depth
    // (pfDevice and pfCustom: 24 bits).
    void SetPixelFormat(TPixelFormat Value);
    // One row of pixels, top row 0; raises for a row out of range.
    Byte* ScanLine(int Row);
    TCanvas* GetCanvas();
    HBITMAP GetHandle() const { return FHandle; }
    TColor GetTransparentColor();
    void SetTransparentColor(TColor Value);
    TTransparentMode GetTransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode Value);
    // A monochrome bitmap is one of 1 bit a pixel; turning it off goes back to the device's format.
    bool GetMonochrome() const { return FPixelFormat == pf1bit; }
    void SetMonochrome(bool Value);
    // Pixels are drawn at full depth; below 24 bits they are snapped to the colours the
    // format holds when they leave the bitmap (saved, drawn, copied), or here.
    void ReducePixels();
    void Dormant() {}
    void FreeImage() {}

    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
    HBITMAP FHandle = nullptr;
    Owned<TCanvas> FCanvas;
    TPixelFormat FPixelFormat = pfDevice;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = tmAuto;
};

// A vector picture: the drawing calls recorded through a TMetafileCanvas,
// played back into any rectangle, kept and written as an enhanced metafile.
class TMetafile : public TGraphic {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    void Assign(TPersistent* Source) override;
    void Clear();

    bool GetEmpty() const override { return !FImage; }
    // In pixels of the screen the picture was made for (96 per inch).
    int GetWidth() const override;
    int GetHeight() const override;
    void SetWidth(int Value) override;
    void SetHeight(int Value) override;
    // In 0.01 mm.
    int GetMMWidth() const { return FMMWidth; }
    int GetMMHeight() const { return FMMHeight; }
    void SetMMWidth(int Value);
    void SetMMHeight(int Value);
    // Written as an enhanced metafile (.emf) or as a placeable Windows metafile (.wmf).
    bool GetEnhanced() const { return FEnhanced; }
    void SetEnhanced(bool Value);
    // The recording; nullptr while the picture is empty. A new one takes the
    // recording's frame as the size when the metafile has none.
    const HENHMETAFILE& GetHandle() const { return FImage; }
    void SetHandle(HENHMETAFILE Value);

    // The whole stream from its position; EInvalidGraphic when it holds no
    // metafile or a damaged one.
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
    HENHMETAFILE FImage;
    int FMMWidth = 0, FMMHeight = 0;
    bool FEnhanced = true;
};

// A canvas whose drawing is recorded; freeing it finishes the recording into
// its metafile. The reference device is the screen, whatever is given.
class TMetafileCanvas : public TCanvas {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TMetafileCanvas(TMetafile* AMetafile, HDC ReferenceDevice);
    ~TMetafileCanvas() override;

private:
    TMetafile* FMetafile;
};

// The filter of a picture dialog for the registered picture formats of that class and its
// descendants: "All (*.a;*.b)|*.a;*.b|" and then "Description (*.a)|*.a" for each.
String GraphicFilter(const ClassInfo& GraphicClass);

class TPicture : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TPicture();
    ~TPicture() override;
    void Assign(TPersistent* Source) override;

    TGraphic* GetGraphic() const { return FGraphic.get(); }
    // Holds a copy of Value (a new graphic of its class), or nothing for nullptr.
    void SetGraphic(TGraphic* Value);
    // The picture as a bitmap: a graphic of another kind is replaced by an empty bitmap.
    TBitmap* GetBitmap();
    void SetBitmap(TBitmap* Value) { SetGraphic(Value); }
    int GetWidth() const { return FGraphic ? FGraphic->GetWidth() : 0; }
    int GetHeight() const { return FGraphic ? FGraphic->GetHeight() : 0; }

    // By the file name's extension among the registered formats; EInvalidGraphic
    // "Unknown picture file extension (.ext)" otherwise.
    void LoadFromFile(const String& FileName);
    void SaveToFile(const String& FileName);
    static void RegisterFileFormat(const String& Extension, const String& Description,
                                   const ClassInfo& Class);
    // The registered class of an extension (without the dot), nullptr when none.
    static const ClassInfo* FileFormatClass(const String& Extension);

    TNotifyEvent OnChange;

protected:
    virtual void Changed(TObject* Sender);
    // "Data": the graphic's class name (a short string) and its picture, size first, so a
    // form resource carries its images.
    void DefineProperties(TFiler* Filer) override;

private:
    Owned<TGraphic> FGraphic;
};
