#pragma once
// GDI-shaped graphics services: logical objects (pens, brushes, fonts,
// regions, bitmaps), device contexts and the calls on them, with the system's
// pixel rules. Product code sees only this header; the Qt side is private to
// the platform.

#include "platform/core/system.h"
#include "platform/core/types.h"
#include "platform/win32/wintypes.h"

#include <memory>
#include <vector>

using COLORREF = std::uint32_t;
using POINT = TPoint;
using RECT = TRect;
using SIZE = TSize;
using LPPOINT = TPoint*;
using LPSIZE = TSize*;

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) {
    return static_cast<BYTE>(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c) {
    return static_cast<BYTE>((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c) {
    return static_cast<BYTE>((c >> 16) & 0xFF);
}
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// System colour indexes.
enum : int {
    COLOR_SCROLLBAR = 0,
    COLOR_BACKGROUND = 1,
    COLOR_ACTIVECAPTION = 2,
    COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4,
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9,
    COLOR_ACTIVEBORDER = 10,
    COLOR_INACTIVEBORDER = 11,
    COLOR_APPWORKSPACE = 12,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_INACTIVECAPTIONTEXT = 19,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
    COLOR_HOTLIGHT = 26,
    COLOR_GRADIENTACTIVECAPTION = 27,
    COLOR_GRADIENTINACTIVECAPTION = 28,
    COLOR_MENUHILIGHT = 29,
    COLOR_MENUBAR = 30,
};

// A fixed table (the system's standard scheme), so pictures do not depend on
// the desktop theme; 0 for an unknown index.
COLORREF GetSysColor(int index);

// Face names of the other system mapped to installed faces with close metrics
// (fonts-liberation2, DejaVu); other names unchanged.
String SubstituteFontName(const String& Name);

// ---------------------------------------------------------------------------
// Constants

enum : int {
    // pen styles, end caps, joins, types
    PS_SOLID = 0,
    PS_DASH = 1,
    PS_DOT = 2,
    PS_DASHDOT = 3,
    PS_DASHDOTDOT = 4,
    PS_NULL = 5,
    PS_INSIDEFRAME = 6,
    PS_USERSTYLE = 7,
    PS_ALTERNATE = 8,
    PS_STYLE_MASK = 0x0F,
    PS_ENDCAP_ROUND = 0x000,
    PS_ENDCAP_SQUARE = 0x100,
    PS_ENDCAP_FLAT = 0x200,
    PS_ENDCAP_MASK = 0xF00,
    PS_JOIN_ROUND = 0x0000,
    PS_JOIN_BEVEL = 0x1000,
    PS_JOIN_MITER = 0x2000,
    PS_JOIN_MASK = 0xF000,
    PS_COSMETIC = 0x00000,
    PS_GEOMETRIC = 0x10000,
    PS_TYPE_MASK = 0xF0000,
    // brush styles and hatches
    BS_SOLID = 0,
    BS_NULL = 1,
    BS_HOLLOW = 1,
    BS_HATCHED = 2,
    BS_PATTERN = 3,
    HS_HORIZONTAL = 0,
    HS_VERTICAL = 1,
    HS_FDIAGONAL = 2,
    HS_BDIAGONAL = 3,
    HS_CROSS = 4,
    HS_DIAGCROSS = 5,
    // mix modes
    R2_BLACK = 1,
    R2_NOTMERGEPEN = 2,
    R2_MASKNOTPEN = 3,
    R2_NOTCOPYPEN = 4,
    R2_MASKPENNOT = 5,
    R2_NOT = 6,
    R2_XORPEN = 7,
    R2_NOTMASKPEN = 8,
    R2_MASKPEN = 9,
    R2_NOTXORPEN = 10,
    R2_NOP = 11,
    R2_MERGENOTPEN = 12,
    R2_COPYPEN = 13,
    R2_MERGEPENNOT = 14,
    R2_MERGEPEN = 15,
    R2_WHITE = 16,
    // background modes
    TRANSPARENT = 1,
    OPAQUE = 2,
    // polygon fill modes
    ALTERNATE = 1,
    WINDING = 2,
    // text alignment
    TA_NOUPDATECP = 0,
    TA_UPDATECP = 1,
    TA_LEFT = 0,
    TA_RIGHT = 2,
    TA_CENTER = 6,
    TA_TOP = 0,
    TA_BOTTOM = 8,
    TA_BASELINE = 24,
    // arc directions
    AD_COUNTERCLOCKWISE = 1,
    AD_CLOCKWISE = 2,
    // mapping modes
    MM_TEXT = 1,
    MM_ISOTROPIC = 7,
    MM_ANISOTROPIC = 8,
    // region combination and results
    RGN_AND = 1,
    RGN_OR = 2,
    RGN_XOR = 3,
    RGN_DIFF = 4,
    RGN_COPY = 5,
    RGN_ERROR = 0,
    NULLREGION = 1,
    SIMPLEREGION = 2,
    COMPLEXREGION = 3,
    // stock objects
    WHITE_BRUSH = 0,
    LTGRAY_BRUSH = 1,
    GRAY_BRUSH = 2,
    DKGRAY_BRUSH = 3,
    BLACK_BRUSH = 4,
    NULL_BRUSH = 5,
    HOLLOW_BRUSH = 5,
    WHITE_PEN = 6,
    BLACK_PEN = 7,
    NULL_PEN = 8,
    SYSTEM_FONT = 13,
    DEFAULT_GUI_FONT = 17,
    DC_BRUSH = 18,
    DC_PEN = 19,
    // device capabilities
    TECHNOLOGY = 2,
    HORZSIZE = 4,
    VERTSIZE = 6,
    HORZRES = 8,
    VERTRES = 10,
    BITSPIXEL = 12,
    PLANES = 14,
    NUMCOLORS = 24,
    LOGPIXELSX = 88,
    LOGPIXELSY = 90,
    PHYSICALWIDTH = 110,
    PHYSICALHEIGHT = 111,
    PHYSICALOFFSETX = 112,
    PHYSICALOFFSETY = 113,
    DT_RASDISPLAY = 1,
    DT_RASPRINTER = 2,
    DT_METAFILE = 5,
    // font weights, precision and quality
    FW_DONTCARE = 0,
    FW_NORMAL = 400,
    FW_BOLD = 700,
    OUT_DEFAULT_PRECIS = 0,
    OUT_TT_ONLY_PRECIS = 7,
    CLIP_DEFAULT_PRECIS = 0,
    DEFAULT_QUALITY = 0,
    DRAFT_QUALITY = 1,
    PROOF_QUALITY = 2,
    NONANTIALIASED_QUALITY = 3,
    ANTIALIASED_QUALITY = 4,
    CLEARTYPE_QUALITY = 5,
    DEFAULT_PITCH = 0,
    FIXED_PITCH = 1,
    VARIABLE_PITCH = 2,
    // tmPitchAndFamily bits: a set TMPF_FIXED_PITCH means the font is NOT
    // fixed-pitch, as the system has always defined it.
    TMPF_FIXED_PITCH = 0x01,
    TMPF_VECTOR = 0x02,
    TMPF_TRUETYPE = 0x04,
    // frame controls
    DFC_BUTTON = 4,
    DFCS_BUTTONCHECK = 0x0000,
    DFCS_BUTTONRADIO = 0x0004,
    DFCS_CHECKED = 0x0400,
    DFCS_INACTIVE = 0x0100,
    DFCS_FLAT = 0x4000,
    // alpha blending
    AC_SRC_OVER = 0,
    AC_SRC_ALPHA = 1,
};

// Raster operations of the blits (three-operand codes).
enum : DWORD {
    SRCCOPY = 0x00CC0020,
    SRCPAINT = 0x00EE0086,
    SRCAND = 0x008800C6,
    SRCINVERT = 0x00660046,
    SRCERASE = 0x00440328,
    NOTSRCCOPY = 0x00330008,
    NOTSRCERASE = 0x001100A6,
    MERGEPAINT = 0x00BB0226,
    PATCOPY = 0x00F00021,
    PATINVERT = 0x005A0049,
    DSTINVERT = 0x00550009,
    BLACKNESS = 0x00000042,
    WHITENESS = 0x00FF0062,
};

struct LOGPEN {
    UINT lopnStyle = PS_SOLID;
    POINT lopnWidth;
    COLORREF lopnColor = 0;
};

struct LOGBRUSH {
    UINT lbStyle = BS_SOLID;
    COLORREF lbColor = 0;
    std::uintptr_t lbHatch = 0; // hatch index, or the pattern bitmap for BS_PATTERN
};

struct LOGFONTW {
    LONG lfHeight = 0;
    LONG lfWidth = 0;
    LONG lfEscapement = 0; // tenths of a degree, counter-clockwise
    LONG lfOrientation = 0;
    LONG lfWeight = FW_NORMAL;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 1;
    BYTE lfOutPrecision = OUT_DEFAULT_PRECIS;
    BYTE lfClipPrecision = CLIP_DEFAULT_PRECIS;
    BYTE lfQuality = DEFAULT_QUALITY;
    BYTE lfPitchAndFamily = DEFAULT_PITCH;
    String lfFaceName;
};

struct TEXTMETRICW {
    LONG tmHeight = 0;
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
    LONG tmWeight = 0;
    BYTE tmItalic = 0;
    BYTE tmUnderlined = 0;
    BYTE tmStruckOut = 0;
    BYTE tmPitchAndFamily = 0;
    BYTE tmCharSet = 0;
};

struct BLENDFUNCTION {
    BYTE BlendOp = AC_SRC_OVER;
    BYTE BlendFlags = 0;
    BYTE SourceConstantAlpha = 255;
    BYTE AlphaFormat = 0;
};

// ---------------------------------------------------------------------------
// Logical objects. A handle points at an immutable description (regions and
// bitmaps hold their pixels privately). An object selected into a device
// context lives until it is both deleted and deselected everywhere.

enum class GdiKind : std::uint8_t { Pen, Brush, Font, Region, Bitmap };

struct GdiObject {
    explicit GdiObject(GdiKind k) : kind(k) {}
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    virtual ~GdiObject() = default;

    const GdiKind kind;
    bool stock = false;   // never freed
    bool deleted = false; // DeleteObject called while still selected
    int selections = 0;   // device contexts that hold it now
};

struct GdiBitmap;

struct GdiPen : GdiObject {
    GdiPen() : GdiObject(GdiKind::Pen) {}
    DWORD style = PS_SOLID; // style | end cap | join | type
    int width = 0;          // logical units; 0 = one device pixel
    COLORREF color = 0;
    std::vector<DWORD> userStyle; // PS_USERSTYLE dash/gap lengths
    bool dcPen = false;           // DC_PEN: the colour comes from the device context
    int Style() const { return static_cast<int>(style & PS_STYLE_MASK); }
    bool Geometric() const { return (style & PS_TYPE_MASK) == PS_GEOMETRIC; }
};

struct GdiBrush : GdiObject {
    GdiBrush() : GdiObject(GdiKind::Brush) {}
    UINT style = BS_SOLID;
    COLORREF color = 0;
    int hatch = 0;
    std::shared_ptr<const struct GdiPattern> pattern; // BS_PATTERN pixels
    bool dcBrush = false;                             // DC_BRUSH: the colour comes from the device context
};

struct GdiFont : GdiObject {
    GdiFont() : GdiObject(GdiKind::Font) {}
    LOGFONTW log;
};

struct GdiRegion : GdiObject {
    GdiRegion();
    ~GdiRegion() override;
    struct Impl;
    std::unique_ptr<Impl> impl;
};

struct GdiBitmap : GdiObject {
    GdiBitmap();
    ~GdiBitmap() override;
    struct Impl;
    std::unique_ptr<Impl> impl;
};

using HGDIOBJ = GdiObject*;
using HPEN = GdiPen*;
using HBRUSH = GdiBrush*;
using HFONT = GdiFont*;
using HRGN = GdiRegion*;
using HBITMAP = GdiBitmap*;
class DeviceContext;
using HDC = DeviceContext*;

HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN& lp);
// dwStyle: type | style | end cap | join; for PS_USERSTYLE the dash/gap lengths.
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH& brush, DWORD styleCount, const DWORD* styles);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
HBRUSH CreatePatternBrush(HBITMAP bitmap); // copies the bitmap's pixels
HBRUSH CreateBrushIndirect(const LOGBRUSH& lb);
HFONT CreateFontIndirectW(const LOGFONTW& lf);
HGDIOBJ GetStockObject(int index);
BOOL DeleteObject(HGDIOBJ object);
// The description of a pen, brush or font; the number of bytes filled (as the
// system does), 0 on a handle of another kind.
int GetObjectW(HPEN pen, LOGPEN* out);
int GetObjectW(HBRUSH brush, LOGBRUSH* out);
int GetObjectW(HFONT font, LOGFONTW* out);

// Regions (device pixels).
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT& r);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int w, int h);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgnIndirect(const RECT& r);
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
BOOL PtInRegion(HRGN rgn, int x, int y);
BOOL EqualRgn(HRGN a, HRGN b);
int GetRgnBox(HRGN rgn, RECT* box);
int OffsetRgn(HRGN rgn, int dx, int dy);

// Bitmaps: new ones are white.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);

// Device contexts.
HDC CreateCompatibleDC(HDC dc);     // a memory context (1x1 bitmap until one is selected)
HDC GetDC(HWND window);             // 0 = the screen
int ReleaseDC(HWND window, HDC dc); // frees what GetDC gave
BOOL DeleteDC(HDC dc);
HPEN SelectObject(HDC dc, HPEN pen); // the previous object, nullptr on failure
HBRUSH SelectObject(HDC dc, HBRUSH brush);
HFONT SelectObject(HDC dc, HFONT font);
HBITMAP SelectObject(HDC dc, HBITMAP bitmap);
int SelectObject(HDC dc, HRGN region); // as SelectClipRgn
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC dc, UINT kind); // OBJ_PEN 1, OBJ_BRUSH 2, OBJ_FONT 6, OBJ_BITMAP 7
enum : UINT { OBJ_PEN = 1, OBJ_BRUSH = 2, OBJ_FONT = 6, OBJ_BITMAP = 7 };
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int saved); // negative: relative to the top
int GetDeviceCaps(HDC dc, int index);
BOOL GdiFlush();

// Attributes.
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode); // 0 if the mode is not TRANSPARENT or OPAQUE
int GetBkMode(HDC dc);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);
int SetTextCharacterExtra(HDC dc, int extra);
int GetTextCharacterExtra(HDC dc);
int SetROP2(HDC dc, int mode);
int GetROP2(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int GetPolyFillMode(HDC dc);
int SetArcDirection(HDC dc, int direction);
int GetArcDirection(HDC dc);
COLORREF SetDCBrushColor(HDC dc, COLORREF color);
COLORREF SetDCPenColor(HDC dc, COLORREF color);
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT old);

// Coordinates.
int SetMapMode(HDC dc, int mode);
int GetMapMode(HDC dc);
BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT old);
BOOL SetWindowExtEx(HDC dc, int x, int y, LPSIZE old);
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT old);
BOOL SetViewportExtEx(HDC dc, int x, int y, LPSIZE old);
BOOL GetWindowOrgEx(HDC dc, LPPOINT p);
BOOL GetViewportOrgEx(HDC dc, LPPOINT p);
BOOL LPtoDP(HDC dc, POINT* points, int count);
BOOL DPtoLP(HDC dc, POINT* points, int count);

// Drawing.
BOOL MoveToEx(HDC dc, int x, int y, LPPOINT old);
BOOL GetCurrentPositionEx(HDC dc, LPPOINT p);
BOOL LineTo(HDC dc, int x, int y);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL PolylineTo(HDC dc, const POINT* points, DWORD count);
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int w, int h);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
// For each box in turn, SetDCBrushColor with its colour and Ellipse: the same
// pixels and the same state after, where the surface allows each pixel written once.
BOOL EllipsesWithDCBrush(HDC dc, const RECT* boxes, const COLORREF* colors, int count);
// Whether EllipsesWithDCBrush on dc, with no pen and the colour-settable brush,
// writes the surface's own pixels in one pass (not a printer's, nor a picture's).
BOOL EllipsesWithDCBrushInOnePass(HDC dc);
BOOL Arc(HDC dc, int l, int t, int r, int b, int x1, int y1, int x2, int y2);
BOOL ArcTo(HDC dc, int l, int t, int r, int b, int x1, int y1, int x2, int y2);
BOOL Pie(HDC dc, int l, int t, int r, int b, int x1, int y1, int x2, int y2);
BOOL Chord(HDC dc, int l, int t, int r, int b, int x1, int y1, int x2, int y2);
int FillRect(HDC dc, const RECT& r, HBRUSH brush);
int FrameRect(HDC dc, const RECT& r, HBRUSH brush);
BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);
BOOL TextOutW(HDC dc, int x, int y, const Char* text, int count);
BOOL GetTextExtentPoint32W(HDC dc, const Char* text, int count, LPSIZE size);
BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* tm);
BOOL DrawFrameControl(HDC dc, RECT* r, UINT type, UINT state);

// Paths.
BOOL BeginPath(HDC dc);
BOOL EndPath(HDC dc);
BOOL AbortPath(HDC dc);
BOOL CloseFigure(HDC dc);
BOOL StrokePath(HDC dc);
BOOL FillPath(HDC dc);
BOOL StrokeAndFillPath(HDC dc);
BOOL WidenPath(HDC dc);
BOOL SelectClipPath(HDC dc, int mode);

// Clipping (regions in device pixels).
int GetClipRgn(HDC dc, HRGN rgn); // 1 and a copy when a clip exists, 0 when none
int SelectClipRgn(HDC dc, HRGN rgn);
int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int GetClipBox(HDC dc, RECT* r);
BOOL PtVisible(HDC dc, int x, int y);

// Blits.
BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop);
BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop);
BOOL AlphaBlend(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                BLENDFUNCTION bf);

// Pixels of a bitmap surface: 24-bit rows are blue-green-red, 32-bit rows
// blue-green-red-unused; rows top-down.
enum class GdiPixelFormat : std::uint8_t { Rgb32, Bgr24 };
HBITMAP CreateBitmapSurface(int width, int height, GdiPixelFormat format); // white
int BitmapWidth(HBITMAP bitmap);
int BitmapHeight(HBITMAP bitmap);
GdiPixelFormat BitmapFormat(HBITMAP bitmap);
// Resizes (new area white) or converts in place; painting on it is finished first.
void ResizeBitmapSurface(HBITMAP bitmap, int width, int height);
void ConvertBitmapSurface(HBITMAP bitmap, GdiPixelFormat format);
Byte* BitmapScanLine(HBITMAP bitmap, int row); // nullptr when out of range
int BitmapBytesPerLine(HBITMAP bitmap);
HBITMAP CopyBitmapSurface(HBITMAP bitmap);
// BMP files in and out; nullptr/false when the data is not a bitmap.
HBITMAP LoadBitmapSurface(const std::vector<Byte>& data);
bool SaveBitmapSurface(HBITMAP bitmap, std::vector<Byte>& data);
// Depths a bitmap file can have below true colour keep only the colours they can hold:
// 1 bit black and white, 4 bits the sixteen standard colours, 8 bits 8 reds x 8 greens x
// 4 blues, 15 bits 5-5-5, 16 bits 5-6-5. Snaps the surface's pixels to them (24 and 32 keep all).
void ReduceBitmapSurface(HBITMAP bitmap, int bitsPerPixel);
// A BMP file of 1, 4, 8, 15 (16 bits 5-5-5), 16 (5-6-5 with colour masks), 24 or 32 bits a
// pixel; false for an empty bitmap or another depth.
bool SaveBitmapSurfaceAs(HBITMAP bitmap, int bitsPerPixel, std::vector<Byte>& data);
// Whether a BMP file holds the pixel rows its header claims. The reader takes a file whose
// rows run past its end at its claimed size, the missing rows whatever memory held: an
// uncompressed file shorter than its rows is damaged. Run-length files are read as far as
// their runs go; false for what is no bitmap file at all.
bool BitmapFileRowsPresent(const std::vector<Byte>& data);
// The bits a pixel of a BMP file (15 for a 16-bit file without 5-6-5 masks); 0 when it is none.
int BitmapFileDepth(const std::vector<Byte>& data);

// Text of default quality with or without antialiasing (tests turn it off for
// exact pixels); fonts asking for a quality keep it.
void GdiSetTextAntialiasing(bool on);
