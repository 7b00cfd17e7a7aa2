#pragma once
// Window services of self-painted controls, shaped as the system's user calls:
// a window frame (border or sunken edge, scroll bars) around the client area,
// the scroll-bar calls and scroll messages, scrolling the window's content,
// invalidating part of it, and the one text caret of the application.
//
// The calls act on the window of a TFramedControl (its GetHandle()); on any
// other window they do nothing and report failure.

#include "platform/gui/controls.h"
#include "platform/win32/gdi.h"

// Window styles a framed control asks for in CreateParams.
inline constexpr DWORD WS_BORDER = 0x00800000;
inline constexpr DWORD WS_VSCROLL = 0x00200000;
inline constexpr DWORD WS_HSCROLL = 0x00100000;
inline constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;

// Scroll bars and their messages.
enum : int { SB_HORZ = 0, SB_VERT = 1, SB_BOTH = 3 };
enum : int {
    SB_LINEUP = 0,
    SB_LINELEFT = 0,
    SB_LINEDOWN = 1,
    SB_LINERIGHT = 1,
    SB_PAGEUP = 2,
    SB_PAGELEFT = 2,
    SB_PAGEDOWN = 3,
    SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_LEFT = 6,
    SB_BOTTOM = 7,
    SB_RIGHT = 7,
    SB_ENDSCROLL = 8
};
inline constexpr UINT WM_HSCROLL = 0x0114;
inline constexpr UINT WM_VSCROLL = 0x0115;
inline constexpr UINT SIF_RANGE = 0x1;
inline constexpr UINT SIF_PAGE = 0x2;
inline constexpr UINT SIF_POS = 0x4;
inline constexpr UINT SIF_DISABLENOSCROLL = 0x8;
inline constexpr UINT SIF_TRACKPOS = 0x10;
inline constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

struct SCROLLINFO {
    UINT cbSize = sizeof(SCROLLINFO);
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

// Sets the parts of a bar that fMask names; a bar whose range is empty
// (nMax <= nMin) is hidden. Returns the bar's position.
int SetScrollInfo(HWND Window, int Bar, const SCROLLINFO* Info, BOOL Redraw);
BOOL GetScrollInfo(HWND Window, int Bar, SCROLLINFO* Info);
int GetScrollPos(HWND Window, int Bar);

inline constexpr UINT SW_SCROLLCHILDREN = 0x1;
inline constexpr UINT SW_INVALIDATE = 0x2;
inline constexpr UINT SW_ERASE = 0x4;

// Moves the pixels of the scroll rectangle (clipped to the clip rectangle;
// the client area when null) by (dx, dy); with SW_INVALIDATE the part left
// uncovered is repainted (Update receives its bounds).
int ScrollWindowEx(HWND Window, int dx, int dy, const RECT* Scroll, const RECT* Clip, HRGN UpdateRegion,
                   RECT* Update, UINT Flags);
// The rectangle (the whole client area when null) is painted again at the
// next paint.
BOOL InvalidateRect(HWND Window, const RECT* Rect, BOOL Erase);

// The caret: one per application, owned by one window; created hidden.
BOOL CreateCaret(HWND Window, HBITMAP Bitmap, int Width, int Height);
BOOL DestroyCaret();
// Show and hide nest: the caret shows once every hide has been undone.
BOOL ShowCaret(HWND Window);
BOOL HideCaret(HWND Window);
BOOL SetCaretPos(int X, int Y);
BOOL GetCaretPos(POINT* Point);
// The window that owns the caret, and whether it is shown (for tests).
HWND GetCaretWindow();
bool IsCaretShown();

enum : int {
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1,
    SM_CXVSCROLL = 2,
    SM_CYHSCROLL = 3,
    SM_CXBORDER = 5,
    SM_CYBORDER = 6,
    SM_CXCURSOR = 13,
    SM_CYCURSOR = 14,
    SM_CYSIZE = 31,
    SM_CXEDGE = 45,
    SM_CYEDGE = 46,
};
int GetSystemMetrics(int Index);

class FrameWidget;

// A self-painted control in a window frame: CreateParams names the border
// and the scroll bars, the client area is what lies inside them, Paint draws
// into a retained image of the client area (the part being painted is
// GetPaintRect), and the scroll bars report as scroll messages.
class TFramedControl : public TCustomControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TFramedControl(TComponent* AOwner);
    ~TFramedControl() override;

    TRect GetClientRect() const override;
    // The whole client area is painted again.
    void Invalidate() override;
    QWidget* InputSurface() const override;
    // The retained client image and the canvas over it.
    QImage* BackImage() const;
    TCanvas* GetCanvas();

    bool GetDoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
    bool GetCtl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);

    // Platform side: the frame reports its scroll bars.
    void HandleScroll(UINT Message, int Code, int Pos);

protected:
    void CreateParams(DWORD& Style, DWORD& ExStyle) override {}
    // Builds the frame again from CreateParams.
    void RecreateWnd();
    // The client-area rectangle being painted, while Paint runs.
    TRect GetPaintRect() const { return FPaintRect; }
    virtual void WMHScroll(int Code, int Pos) {}
    virtual void WMVScroll(int Code, int Pos) {}
    virtual void Ctl3DChanged() {}

private:
    friend class FrameWidget;
    void PaintPart(const TRect& Rect);

    FrameWidget* FFrame = nullptr;
    Owned<TCanvas> FCanvas;
    TRect FPaintRect;
    bool FDoubleBuffered = false;
    bool FCtl3D = true;
};
