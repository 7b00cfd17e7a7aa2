#pragma once
// Controls: the visual component base. Every control wraps one Qt widget (kept
// opaque here); bounds, alignment, visibility, fonts, colours, hints, mouse and
// key events and action links behave as the class library's controls do.

#include "platform/core/classes.h"
#include "platform/core/types.h"
#include "platform/gui/graphics.h"
#include "platform/win32/wintypes.h"

#include <functional>
#include <memory>
#include <vector>

class QWidget;
class QImage;
class TWinControl;
class TCustomForm;
class TPopupMenu;
class TBasicAction;
class TBasicActionLink;
class TControlActionLink;
class PaintSurface;

// ---------------------------------------------------------------------------
// Enumerations and small types

enum TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
template <>
const EnumInfo& EnumInfoOf<TAlign>();

enum TAnchorKind : std::uint8_t { akLeft, akTop, akRight, akBottom };
using TAnchors = Set<TAnchorKind>;
template <>
const EnumInfo& EnumInfoOf<TAnchorKind>();

enum TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };
template <>
const EnumInfo& EnumInfoOf<TMouseButton>();

enum TShiftStateItem : std::uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = Set<TShiftStateItem>;
template <>
const EnumInfo& EnumInfoOf<TShiftStateItem>();

// The form's border styles; controls use the first two.
enum TFormBorderStyle : std::uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
template <>
const EnumInfo& EnumInfoOf<TFormBorderStyle>();
using TBorderStyle = TFormBorderStyle;

// Cursor numbers; the stock ones travel in streams by name ("crHandPoint").
enum TCursor : std::int16_t {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crUpArrow = -10,
    crHourGlass = -11,
    crDrag = -12,
    crNoDrop = -13,
    crHSplit = -14,
    crVSplit = -15,
    crMultiDrag = -16,
    crSQLWait = -17,
    crNo = -18,
    crAppStart = -19,
    crHelp = -20,
    crHandPoint = -21,
    crSizeAll = -22,
    crSize = -22,
};
extern const IntIdentMap kCursorIdents;
template <>
struct IntIdentsOf<TCursor> {
    static constexpr const IntIdentMap* value = &kCursorIdents;
};
bool CursorToIdent(std::int32_t Cursor, std::string& Ident);
bool IdentToCursor(std::string_view Ident, std::int32_t& Cursor);
// Every name of the cursor table, in the table's order.
void GetCursorValues(const std::function<void(const String& Name)>& Proc);

using TModalResult = Integer;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;

// Shortcuts: a virtual key with the scShift/scCtrl/scAlt bits, as streams hold them.
using TShortCut = Word;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
inline constexpr TShortCut scNone = 0;

// Virtual key codes of the system's keyboard messages.
inline constexpr Word VK_BACK = 0x08;
inline constexpr Word VK_TAB = 0x09;
inline constexpr Word VK_RETURN = 0x0D;
inline constexpr Word VK_SHIFT = 0x10;
inline constexpr Word VK_CONTROL = 0x11;
inline constexpr Word VK_MENU = 0x12;
inline constexpr Word VK_PAUSE = 0x13;
inline constexpr Word VK_CAPITAL = 0x14;
inline constexpr Word VK_ESCAPE = 0x1B;
inline constexpr Word VK_SPACE = 0x20;
inline constexpr Word VK_PRIOR = 0x21;
inline constexpr Word VK_NEXT = 0x22;
inline constexpr Word VK_END = 0x23;
inline constexpr Word VK_HOME = 0x24;
inline constexpr Word VK_LEFT = 0x25;
inline constexpr Word VK_UP = 0x26;
inline constexpr Word VK_RIGHT = 0x27;
inline constexpr Word VK_DOWN = 0x28;
inline constexpr Word VK_INSERT = 0x2D;
inline constexpr Word VK_DELETE = 0x2E;
inline constexpr Word VK_NUMPAD0 = 0x60;
inline constexpr Word VK_MULTIPLY = 0x6A;
inline constexpr Word VK_ADD = 0x6B;
inline constexpr Word VK_SUBTRACT = 0x6D;
inline constexpr Word VK_DECIMAL = 0x6E;
inline constexpr Word VK_DIVIDE = 0x6F;
inline constexpr Word VK_F1 = 0x70;
inline constexpr Word VK_F12 = 0x7B;

using TMouseEvent = Event<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = Event<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
// The wheel: the turn in 1/120 notches (positive away from the user) and the mouse in
// screen coordinates; a handler that sets Handled ends the wheel's handling.
using TMouseWheelEvent =
    Event<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent =
    Event<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
inline constexpr int WHEEL_DELTA = 120;
using TKeyEvent = Event<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = Event<void(TObject* Sender, Char& Key)>;

// ---------------------------------------------------------------------------
// What a drag carries: the control under the mouse asks it for the cursor to show, and
// it hears where the drag ended.

class TDragObject : public TObject {
public:
    virtual TCursor GetDragCursor(bool Accepted, int, int) { return Accepted ? crDrag : crNoDrop; }
    virtual void Finished(TObject*, int, int, bool) {}
};

// Where a drag is over a control: coming in, leaving, or moving inside.
enum TDragState : std::uint8_t { dsDragEnter, dsDragLeave, dsDragMove };
using TDragOverEvent =
    Event<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = Event<void(TObject* Sender, TObject* Source, int X, int Y)>;

// ---------------------------------------------------------------------------
// The mouse: the pointer position in screen coordinates.

class TMouse {
public:
    TPoint GetCursorPos() const;
    void SetCursorPos(TPoint Value);
};
extern TMouse* Mouse;
bool GetCursorPos(TPoint& Point);

// ---------------------------------------------------------------------------
// TControl

class TControl : public TComponent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TControl(TComponent* AOwner);
    ~TControl() override;
    void BeforeDestruction() override;

    // Bounds in the parent's client coordinates (a form: on the screen).
    int GetLeft() const { return FLeft; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    int GetTop() const { return FTop; }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    int GetWidth() const { return FWidth; }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    int GetHeight() const { return FHeight; }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect GetBoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }

    virtual TRect GetClientRect() const;
    int GetClientWidth() const { return GetClientRect().Width(); }
    void SetClientWidth(int Value);
    int GetClientHeight() const { return GetClientRect().Height(); }
    void SetClientHeight(int Value);
    // Screen position of the client area's top-left corner.
    virtual TPoint GetClientOrigin() const;
    TPoint ClientToScreen(const TPoint& Point) const;
    TPoint ScreenToClient(const TPoint& Point) const;

    TAlign GetAlign() const { return FAlign; }
    void SetAlign(TAlign Value);
    TAnchors GetAnchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value) { FAnchors = Value; }

    bool GetVisible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible together with every parent up to a shown form.
    virtual bool GetShowing() const;
    bool GetEnabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);

    // Caption and Text are one value, as the class library has them.
    String GetCaption() const { return GetText(); }
    void SetCaption(const String& Value) { SetText(Value); }
    virtual String GetText() const { return FText; }
    virtual void SetText(const String& Value);

    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    bool GetParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    TFont* GetFont() const { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    bool GetParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);

    const String& GetHint() const { return FHint; }
    void SetHint(const String& Value);
    bool GetShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    bool GetParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool Value);
    TCursor GetCursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    int GetHelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }
    TPopupMenu* GetPopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);

    TWinControl* GetParent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);

    // The action this control shows and executes.
    TBasicAction* GetAction() const;
    void SetAction(TBasicAction* Value);
    TControlActionLink* GetActionLink() const { return FActionLink.get(); }
    // Takes the action's values; with CheckDefaults only where this control still
    // has its default value (a control read from a stream keeps what it read).
    virtual void ActionChange(TObject* Sender, bool CheckDefaults);

    virtual void Invalidate();
    // Paints now rather than when the loop is idle.
    void Repaint();
    void Update();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    virtual void Click();
    virtual void DblClick();

    // Dragging inside the program, from a mouse press: a drag that is not immediate
    // starts once the pressed mouse has moved Threshold pixels (-1: 5); releasing the
    // button over a control that accepts the drag drops it there.
    void BeginDrag(bool Immediate, int Threshold = -1);
    void EndDrag(bool Drop);
    bool Dragging() const;
    // Asked while a drag is over the control; accepts when OnDragOver is assigned and
    // leaves Accept set.
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void DragDrop(TObject* Source, int X, int Y);
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;

    // Streaming of visual parents.
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;

    // Platform side: the widget that stands for this control, and the one
    // whose top-left corner is the origin of its client coordinates.
    QWidget* Widget() const { return FWidget; }
    virtual QWidget* InputSurface() const;
    // Called by the platform when the widget's size changed from outside
    // (the window manager, a page control's layout).
    virtual void WidgetResized(int AWidth, int AHeight);
    void WidgetMoved(int ALeft, int ATop);
    // Mouse input reported by the widget, in client coordinates.
    void HandleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y, bool DoubleClick);
    void HandleMouseMove(TShiftState Shift, int X, int Y);
    void HandleMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    void HandleMouseEnter() { MouseEnter(); }
    void HandleMouseLeave() { MouseLeave(); }
    // The desktop's colours changed (the system colours may stand for others now).
    void HandleSysColorChange() { SysColorChange(); }
    // The control came into view or went out of it (itself or with a parent).
    void HandleShowingChanged() { ShowingChanged(); }
    // A wheel turn, the mouse in screen coordinates; true when it was handled.
    bool HandleMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);

    // The wheel: DoMouseWheel first; when it leaves the turn unhandled, every whole
    // notch turned so far goes to DoMouseWheelDown (towards the user) or DoMouseWheelUp.
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);

    bool IsCaptionStored() const;
    bool IsEnabledStored() const;
    bool IsHintStored() const;
    bool IsVisibleStored() const;
    bool IsColorStored() const { return !FParentColor && FColor != DefaultColor(); }
    bool IsFontStored() const { return !FParentFont; }
    bool IsShowHintStored() const { return !FParentShowHint; }

protected:
    // Wraps the given widget (made by the derived class's constructor).
    void SetWidget(QWidget* AWidget);
    // Pushes bounds, visibility, enabledness, font, colour, hint and cursor to the
    // widget; a derived class overrides to push its own state as well.
    virtual void UpdateWidgetGeometry();
    virtual void ApplyFont();
    virtual void ApplyColor();
    virtual void ApplyEnabled();
    virtual void ApplyVisibility();
    void ApplyHint();
    // The class's default colour: colours equal to it leave the native look alone.
    virtual TColor DefaultColor() const { return clBtnFace; }
    void InitColor(TColor Value) { FColor = Value; }
    // Controls whose widget reports clicks itself (buttons) switch this off.
    void SetReportsClicks(bool Value) { FReportsClicks = Value; }
    virtual std::unique_ptr<TControlActionLink> CreateActionLink();

    virtual void TextChanged() {}
    virtual void FontChanged();
    virtual void VisibleChanged() {}
    virtual void EnabledChanged() {}
    virtual void Resize();
    virtual void ParentFontChanged();
    virtual void ParentColorChanged();
    virtual void ParentShowHintChanged();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void SysColorChange() {}
    virtual void ShowingChanged() {}
    virtual void DoContextPopup(int X, int Y);
    // Asks the parent to lay out its aligned children again.
    void RequestAlign();

    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;

private:
    friend class TWinControl;
    void FontChangedHandler(TObject* Sender);
    bool EffectiveShowHint() const;

    QWidget* FWidget = nullptr;
    TWinControl* FParent = nullptr;
    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    bool FVisible = true;
    bool FEnabled = true;
    String FText;
    TColor FColor = clBtnFace;
    bool FParentColor = false;
    Owned<TFont> FFont;
    bool FParentFont = true;
    bool FUpdatingFont = false;
    String FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TCursor FCursor = crDefault;
    int FHelpContext = 0;
    TPopupMenu* FPopupMenu = nullptr;
    std::unique_ptr<TControlActionLink> FActionLink;
    bool FReportsClicks = true;
    bool FMousePressed = false;
    int FWheelAccumulator = 0; // the part of a notch turned by fine-grained wheels
    // The parent's size when the anchors were last applied.
    int FAnchorParentWidth = -1;
    int FAnchorParentHeight = -1;
};

// ---------------------------------------------------------------------------
// TWinControl: a control that has children, takes focus and keys.

class TWinControl : public TControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;
    void BeforeDestruction() override;

    int GetControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* GetControl(int Index) const;
    const std::vector<TControl*>& Controls() const { return FControls; }
    bool ContainsControl(const TControl* Control) const;
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);

    // The window that stands for the control in system calls (a dialog's
    // parent, the shell's owner window).
    HWND GetHandle() const { return reinterpret_cast<HWND>(Widget()); }
    bool HandleAllocated() const { return Widget() != nullptr; }

    // The place among the parent's windowed children that Tab visits them in, 0..n-1; -1 without a
    // parent. Setting it moves the control to that place, the others closing up behind it.
    int GetTabOrder() const;
    void SetTabOrder(int Value);
    bool GetTabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    // Written only when set apart from the class's own choice.
    bool IsTabStopStored() const { return FTabStopSet; }
    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();

    // Alignment of the children; nested DisableAlign/EnableAlign defer it.
    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();
    void Realign();
    // Brings the control up to date after a change of what shows in it: its children are
    // aligned again and it repaints.
    void UpdateControlState();
    // The client area the aligned children share (inside borders and bevels).
    virtual TRect AdjustClientRect() const { return GetClientRect(); }

    // Streaming: the children owned by Root, in z-order.
    void GetChildren(TGetChildProc Proc, TComponent* Root) override;
    void SetChildOrder(TComponent* Child, int Order) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

    // Platform side: where the children's widgets live.
    virtual QWidget* ClientWidget() const { return Widget(); }
    // Focus and keys as the platform reports them; the key handlers return
    // true when the key was swallowed (set to 0).
    void HandleEnter() { DoEnter(); }
    void HandleExit() { DoExit(); }
    bool HandleKeyDown(Word& Key, TShiftState Shift);
    bool HandleKeyPress(Char& Key);
    bool HandleKeyUp(Word& Key, TShiftState Shift);
    // Whether the control itself uses the Return key (multi-line editors).
    virtual bool WantsReturns() const { return false; }
    // Brings the window's focus chain into the tab order of the controls in it, if that changed
    // since it last did: Tab and Shift+Tab follow the chain.
    void UpdateTabChain();
    void ReadState(TReader* Reader) override;

protected:
    // The class's own tab stop, not written to streams.
    void InitTabStop(bool Value) { FTabStop = Value; }
    virtual void DoEnter();
    virtual void DoExit();
    virtual void KeyDown(Word& Key, TShiftState Shift);
    virtual void KeyPress(Char& Key);
    virtual void KeyUp(Word& Key, TShiftState Shift);
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    void Resize() override;
    void FontChanged() override;
    void ShowHintChanged();
    void UpdateWidgetGeometry() override;
    void Loaded() override;
    // Child widgets are placed by the parent: the page control puts sheets
    // into its stack rather than at their bounds.
    virtual void PlaceChildWidget(TControl* Child);
    virtual void DetachChildWidget(TControl* Child);

private:
    friend class TControl;
    void AlignAll();
    void ApplyAnchors();
    void TabChainChanged();
    void CollectTabChain(std::vector<QWidget*>& Chain, const QWidget* Window) const;

    std::vector<TControl*> FControls;
    // The windowed children in the order Tab visits them.
    std::vector<TWinControl*> FTabList;
    // The value read from a stream, until the parent has read all its children.
    int FTabOrder = -1;
    // Kept by the outermost control: the window's focus chain no longer follows the tab order.
    bool FTabChainStale = true;
    bool FTabStop = false;
    bool FTabStopSet = false;
    int FAlignLevel = 0;
    bool FAligning = false;
    bool FAlignPending = false;
};

// ---------------------------------------------------------------------------
// Controls that paint themselves. Their canvas draws into a retained back image
// at any time; painting copies the image to the screen.

// The retained image of a self-painted control, its canvas, and the widget
// that shows it.
class TRetainedSurface {
public:
    TRetainedSurface();
    ~TRetainedSurface();
    TRetainedSurface(const TRetainedSurface&) = delete;
    TRetainedSurface& operator=(const TRetainedSurface&) = delete;
    // Makes the widget, which calls Paint before it copies the image to the
    // screen; the control owns the widget.
    QWidget* Create(TControl* Owner, std::function<void()> Paint);
    // A transparent surface starts each paint from what lies under it: what Paint leaves
    // untouched shows the parent and the controls beneath.
    void SetTransparent(bool Value);
    // nullptr until the widget is made.
    QImage* Image() const;
    TCanvas* Canvas();

private:
    PaintSurface* FWidget = nullptr;
    Owned<TCanvas> FCanvas;
};

class TGraphicControl : public TControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    // The retained image the control paints into (platform side).
    QImage* BackImage() const;
    // Draws into the retained image, in Paint or at any other time.
    TCanvas* GetCanvas();

protected:
    // A graphic control whose widget draws itself (a label).
    TGraphicControl(TComponent* AOwner, QWidget* AWidget);
    virtual void Paint() {}

private:
    TRetainedSurface FSurface;
};

class TCustomControl : public TWinControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    // The retained image the control paints into (platform side); nullptr for
    // a control whose widget draws itself.
    QImage* BackImage() const;
    // Draws into the retained image, in Paint or at any other time.
    TCanvas* GetCanvas();

protected:
    // A control whose widget draws itself (a grid).
    TCustomControl(TComponent* AOwner, QWidget* AWidget);
    virtual void Paint() {}
    // The window styles the control asks for, asked when it has been loaded and by
    // RecreateWnd; a self-painted control's window knows WS_EX_TRANSPARENT.
    virtual void CreateParams(DWORD& Style, DWORD& ExStyle) {}
    void RecreateWnd();
    void Loaded() override;

private:
    TRetainedSurface FSurface;
};

// The extended window style of a control that lets what lies under it show.
inline constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;

// The form a control sits on, or nullptr.
TCustomForm* GetParentForm(const TControl* Control);

// Scales the marks that the check boxes, radio buttons and check lists under Control draw (their
// boxes, circles and the room beside them) by M/D, as a form scaled to another resolution scales
// its text: the style draws them at one size for every form.
void ScaleControlMarks(TControl* Control, int M, int D);
