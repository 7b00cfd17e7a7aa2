#pragma once
// Forms: the form (a top-level window), the application object that runs the
// message loop and shows escaped exceptions, and the screen.

#include "platform/core/sysutils.h"
#include "platform/gui/controls.h"

#include <functional>
#include <vector>

class TMainMenu;
class TCustomImageList;
class TButton;
class TTimer;
class QEventLoop;

enum TPosition : std::uint8_t {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
template <>
const EnumInfo& EnumInfoOf<TPosition>();

enum TWindowState : std::uint8_t { wsNormal, wsMinimized, wsMaximized };
template <>
const EnumInfo& EnumInfoOf<TWindowState>();

enum TCloseAction : std::uint8_t { caNone, caHide, caFree, caMinimize };

enum TFormStyle : std::uint8_t { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
template <>
const EnumInfo& EnumInfoOf<TFormStyle>();

enum TBorderIcon : std::uint8_t { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = Set<TBorderIcon>;
template <>
const EnumInfo& EnumInfoOf<TBorderIcon>();

using TCloseEvent = Event<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = Event<void(TObject* Sender, bool& CanClose)>;
using TShortCutEvent = Event<void(TObject* Sender, TShortCut ShortCut, bool& Handled)>;
using TExceptionEvent = Event<void(TObject* Sender, const Exception& E)>;
// A help request: Command says what is asked (HELP_CONTEXT with the topic in Data); the handler
// answers whether it showed help and may clear CallHelp.
using THelpEvent = Event<bool(Word Command, NativeInt Data, bool& CallHelp)>;
inline constexpr Word HELP_CONTEXT = 1;

// ---------------------------------------------------------------------------
// Message boxes: the system's flags and answers.

inline constexpr UINT MB_OK = 0x00;
inline constexpr UINT MB_OKCANCEL = 0x01;
inline constexpr UINT MB_ABORTRETRYIGNORE = 0x02;
inline constexpr UINT MB_YESNOCANCEL = 0x03;
inline constexpr UINT MB_YESNO = 0x04;
inline constexpr UINT MB_RETRYCANCEL = 0x05;
inline constexpr UINT MB_ICONHAND = 0x10;
inline constexpr UINT MB_ICONERROR = 0x10;
inline constexpr UINT MB_ICONSTOP = 0x10;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONEXCLAMATION = 0x30;
inline constexpr UINT MB_ICONWARNING = 0x30;
inline constexpr UINT MB_ICONASTERISK = 0x40;
inline constexpr UINT MB_ICONINFORMATION = 0x40;
inline constexpr UINT MB_DEFBUTTON1 = 0x000;
inline constexpr UINT MB_DEFBUTTON2 = 0x100;
inline constexpr UINT MB_DEFBUTTON3 = 0x200;
// The sound of a message box of this icon kind, without the box.
void MessageBeep(UINT Type);
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// ---------------------------------------------------------------------------
// Test seam: a responder answers every modal dialog, message box and file
// dialog instead of a user. A modal form is shown to it, so it can press the
// form's buttons; the other kinds are not shown at all.

enum class TDialogKind : std::uint8_t {
    MessageBox,
    MessageDlg,
    OpenDialog,
    SaveDialog,
    ModalForm,
    FontDialog,
    ColorDialog,
    PrinterSetupDialog, // Text: the printer chosen when it opens; the responder may choose another
    InputQuery,         // Caption, Text: the prompt, Value: the text it starts with
    PrintDialog         // FromPage..ToPage in MinPage..MaxPage, Flags: its TPrintDialogOptions bits
};

struct TDialogRequest {
    TDialogKind Kind = TDialogKind::MessageBox;
    String Caption;
    String Text;
    UINT Flags =
        0; // MessageBox: the MB_ flags; file dialogs: their TOpenOptions bits; font dialog: its options
    int DlgType = 0;           // MessageDlg: the TMsgDlgType
    std::uint64_t Buttons = 0; // MessageDlg: the TMsgDlgButtons bits
    int HelpCtx = 0;           // MessageDlg: its help context
    bool AtPosition = false;   // MessageDlg: the box's top-left is Position (screen), else its default place
    TPoint Position;
    TCustomForm* Form = nullptr;
    String FileName; // file dialogs: the name they start with
    String InitialDir;
    String Filter;
    String DefaultExt; // file dialogs: the extension a name typed without one takes
    int FilterIndex = 1;
    const TFont* Font = nullptr; // font dialog: the font it starts with (Flags: its TFontDialogOptions bits)
    int Color = 0;               // colour dialog: the colour it starts with (a TColor)
    const TStrings* CustomColors = nullptr; // colour dialog: its custom colours ("ColorA=..." lines)
    String Value;                           // input query: the text it starts with
    int FromPage = 0, ToPage = 0, MinPage = 0, MaxPage = 0; // print dialog: the page range offered
};

struct TDialogAnswer {
    int Result = 0;      // the button (IDOK.., mrOk..), a modal result; for file dialogs mrOk or mrCancel
    String FileName;     // file dialogs: the chosen file
    int FilterIndex = 0; // file dialogs: the chosen filter (0 keeps the current one)
    String FontName;     // font dialog: the chosen face and size
    int FontSize = 0;
    int Color = 0; // colour dialog: the chosen colour (a TColor)
    std::vector<String>
        CustomColors; // colour dialog: custom colours it now holds, as its lines ("ColorA=FF0000")
    String Value;     // input query: the text typed
    int FromPage = 0, ToPage = 0; // print dialog: the pages chosen (0 keeps the range offered)
};

using TDialogResponder = std::function<TDialogAnswer(const TDialogRequest&)>;
// Installs a responder (an empty one restores real dialogs); returns the previous one.
TDialogResponder SetDialogResponder(TDialogResponder Responder);
const TDialogResponder& GetDialogResponder();

// ---------------------------------------------------------------------------
// The application clock that timers run on. The real one waits on the event
// loop; tests install a manual clock and advance it.

class TTimerClock {
public:
    virtual ~TTimerClock() = default;
    virtual void StartTimer(TTimer* Timer, unsigned Interval) = 0;
    virtual void StopTimer(TTimer* Timer) = 0;
};

class TManualClock : public TTimerClock {
public:
    void StartTimer(TTimer* Timer, unsigned Interval) override;
    void StopTimer(TTimer* Timer) override;
    // Moves time forward, firing every timer that falls due on the way in order.
    void Advance(unsigned Milliseconds);
    // Milliseconds advanced since the clock was made.
    UInt64 Now() const { return FNow; }
    bool IsRunning(const TTimer* Timer) const;
    // Milliseconds until the timer fires; -1 when it does not run.
    Int64 DueIn(const TTimer* Timer) const;

private:
    struct Entry {
        TTimer* timer;
        UInt64 due;
        unsigned interval;
        UInt64 seq;
    };
    std::vector<Entry> FEntries;
    UInt64 FNow = 0;
    UInt64 FSeq = 0;
};

// ---------------------------------------------------------------------------
// TCustomForm / TForm

class TCustomForm : public TWinControl {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    // Creates the form; a class derived from TForm reads its form resource
    // (resources/<class name>.frm.txt) when it is constructed with Create<>
    // or Application->CreateForm, which run AfterConstruction.
    explicit TCustomForm(TComponent* AOwner);
    // Creates the form without a resource, for forms built in code.
    struct NewTag {};
    TCustomForm(TComponent* AOwner, NewTag);
    ~TCustomForm() override;
    void AfterConstruction() override;
    void BeforeDestruction() override;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    TRect GetClientRect() const override;
    TPoint GetClientOrigin() const override;
    void SetVisible(bool Value) override;
    bool GetShowing() const override;
    void SetText(const String& Value) override;
    String GetText() const override;
    void SetFocus() override;

    TPosition GetPosition() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    TWindowState GetWindowState() const { return FWindowState; }
    void SetWindowState(TWindowState Value);
    TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons GetBorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value) { FBorderIcons = Value; }
    TFormStyle GetFormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle Value) { FFormStyle = Value; }
    TMainMenu* GetMenu() const { return FMenu; }
    void SetMenu(TMainMenu* Value);
    bool GetKeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool Value) { FKeyPreview = Value; }
    TModalResult GetModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value);
    TWinControl* GetActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* Value);
    bool GetActive() const { return FActive; }
    bool GetScaled() const { return FScaled; }
    void SetScaled(bool Value) { FScaled = Value; }
    int GetPixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value) { FPixelsPerInch = Value; }
    int GetTextHeight() const { return FTextHeight; }
    void SetTextHeight(int Value) { FTextHeight = Value; }
    bool GetOldCreateOrder() const { return FOldCreateOrder; }
    void SetOldCreateOrder(bool Value) { FOldCreateOrder = Value; }
    const String& GetHelpFile() const { return FHelpFile; }
    void SetHelpFile(const String& Value) { FHelpFile = Value; }
    bool IsModal() const { return FModalLoopDepth > 0 || FInModalHook; }
    // A form with a parent control is a borderless child of it (embedded), not a window:
    // it is showing while it and its parents are, and OnShow/OnHide run each time that changes.
    bool IsEmbedded() const { return GetParent() != nullptr; }
    // The client size as streams hold it: kept until the menu is in place.
    void SetFormClientWidth(int Value);
    void SetFormClientHeight(int Value);

    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Shows the form modally: a nested loop runs until ModalResult is set.
    virtual TModalResult ShowModal();
    void Close();
    virtual bool CloseQuery();
    // Frees the form once the current event has been handled.
    void Release();
    void BringToFront();
    // The window's icon: image Index of an image list (the class library fills
    // the form's Icon from the list).
    void SetIconFromImages(TCustomImageList* Images, int Index);

    // Runs the shortcut of the menu or of one of the form's action lists.
    virtual bool IsShortCut(TShortCut ShortCut);
    // The default and cancel buttons that Return and Escape press.
    TButton* FindDefaultButton(bool Cancel) const;

    void GetChildren(TGetChildProc Proc, TComponent* Root) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

    QWidget* ClientWidget() const override;
    // Platform side: the window asks to close, was activated or deactivated,
    // or its state changed.
    void HandleCloseRequest();
    void HandleActivate(bool Active);
    void HandleWindowStateChange(TWindowState State);
    void HandleFocusedControl(TWinControl* Control);
    // Platform side: an embedded form's window became visible on screen, or stopped being.
    void HandleEmbeddedShowing(bool Showing);
    // A control leaves the form: it can no longer be the active one.
    void ForgetControl(TControl* Control);

protected:
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    void UpdateWidgetGeometry() override;
    void ApplyColor() override;
    // Reads the form's resource; false when the class has none.
    bool ReadFormResource();
    // After the resource is read and before OnCreate: a form class points its
    // members at the components the resource made (Bind for each).
    virtual void BindComponents() {}
    // Field := the owned component of that name; EReadError when there is none
    // or it is of another class.
    template <class T>
    void Bind(T*& Field, std::u16string_view Name) {
        TComponent* c = FindComponent(String(Name));
        Field = dynamic_cast<T*>(c);
        if (!Field) BindError(Name, c != nullptr);
    }

private:
    friend class TApplication;
    [[noreturn]] void BindError(std::u16string_view Name, bool WrongClass) const;
    int MenuBarHeight() const;
    void PlaceOnFirstShow();
    void CloseModal();

    class FormWindow* FWindow = nullptr;
    bool FReadResource = true;
    TPosition FPosition = poDefaultPosOnly;
    TWindowState FWindowState = wsNormal;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TFormStyle FFormStyle = fsNormal;
    TMainMenu* FMenu = nullptr;
    bool FKeyPreview = false;
    TModalResult FModalResult = mrNone;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    bool FActive = false;
    bool FScaled = true;
    int FPixelsPerInch = 96;
    int FTextHeight = 13;
    bool FOldCreateOrder = false;
    String FHelpFile;
    int FModalLoopDepth = 0;
    bool FInModalHook = false;
    QEventLoop* FModalLoop = nullptr;
    bool FShownOnce = false;
    bool FCreated = false;
    bool FShowWhenCreated = false;
    bool FEmbeddedShowing = false;
    // Client size read from the stream, applied once the menu is known.
    int FLoadedClientWidth = -1;
    int FLoadedClientHeight = -1;
};

class TForm : public TCustomForm {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TCustomForm::TCustomForm;
};

// Reads the form resource of a form's class into it (installed by the
// streaming layer): false when the class has no resource.
using TFormResourceReader = std::function<bool(TCustomForm* Form)>;
void SetFormResourceReader(TFormResourceReader Reader);

// ---------------------------------------------------------------------------
// TApplication

class TApplication : public TComponent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;
    void BeforeDestruction() override;

    void Initialize();
    bool GetMainFormOnTaskBar() const { return FMainFormOnTaskBar; }
    void SetMainFormOnTaskBar(bool Value) { FMainFormOnTaskBar = Value; }
    // Creates a form owned by the application into Reference; the first one
    // becomes the main form. Reference is set before the form's OnCreate runs.
    template <class T>
    void CreateForm(T*& Reference) {
        T* instance = new T(this);
        Reference = instance;
        try {
            FinishConstruction(instance);
        } catch (...) {
            Reference = nullptr;
            throw;
        }
        if (!FMainForm) FMainForm = instance;
    }
    // Shows the main form and runs the loop until the application terminates.
    void Run();
    void Terminate();
    // Raises the main window above the program's other windows.
    void BringToFront();
    bool GetTerminated() const { return FTerminated; }
    void ProcessMessages();
    // Waits for and handles one batch of events.
    void HandleMessage();
    // Shows the exception being handled (call inside a catch block).
    void HandleException(TObject* Sender);
    void ShowException(const Exception& E);
    int MessageBox(const String& Text, const String& Caption, UINT Flags = MB_OK);

    TCustomForm* GetMainForm() const { return FMainForm; }
    String GetTitle() const;
    void SetTitle(const String& Value) { FTitle = Value; }
    String GetExeName() const;
    bool GetShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    const String& GetHelpFile() const { return FHelpFile; }
    void SetHelpFile(const String& Value) { FHelpFile = Value; }
    // Asks for the help topic Context: OnHelp answers it; without a handler there is no help
    // system here, and the request is refused (false).
    bool HelpContext(int Context);

    // The clock the timers run on; nullptr restores the real one.
    TTimerClock* GetClock() const;
    void SetClock(TTimerClock* Clock);

    TExceptionEvent OnException;
    TNotifyEvent OnIdle;
    THelpEvent OnHelp;

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TCustomForm;
    void PushLoop(QEventLoop* Loop) { FLoops.push_back(Loop); }
    void PopLoop() { FLoops.pop_back(); }

    TCustomForm* FMainForm = nullptr;
    bool FMainFormOnTaskBar = false;
    bool FTerminated = false;
    bool FShowHint = true;
    bool FHandlingException = false;
    String FTitle;
    String FHelpFile;
    std::vector<QEventLoop*> FLoops;
    std::unique_ptr<TTimerClock> FRealClock;
    TTimerClock* FClock = nullptr;
};

// ---------------------------------------------------------------------------
// Cursor pictures

struct TCursorPicture;
using HCURSOR = TCursorPicture*;

// The cursor resource Name (kind "cur.txt"): a picture drawn in text, one character a
// pixel ('#' black, 'o' white, '.' clear), after a line "hotspot X Y". nullptr when there
// is no such resource; EInvalidGraphic for a picture that cannot be read.
HCURSOR LoadCursorResource(const String& Name);
void DestroyCursor(HCURSOR Cursor);
// The picture's size and the point of it that is the cursor's position.
TSize CursorSize(HCURSOR Cursor);
TPoint CursorHotSpot(HCURSOR Cursor);
// The screen's cursor of that number drawn at (0, 0) in its own size onto Bitmap, which takes the
// system cursor size (GetSystemMetrics SM_CXCURSOR x SM_CYCURSOR); false, and the bitmap
// untouched, when the screen has no picture for that number.
bool DrawCursorPicture(TBitmap* Bitmap, int Cursor);

// ---------------------------------------------------------------------------
// TScreen

class TScreen : public TComponent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TScreen(TComponent* AOwner);
    ~TScreen() override;

    // The cursor shown over the whole application; crDefault lets each control
    // show its own.
    TCursor GetCursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    // The cursor table: a number of the program's own (the chart library's
    // hand, 2020) stands for one of the stock shapes; stock numbers stand for
    // themselves.
    TCursor GetCursors(int Index) const;
    void SetCursors(int Index, TCursor Shape);
    // A cursor picture under a number of the program's own; the screen owns it from here on
    // and frees one it replaces. nullptr removes the number's picture. The stock numbers have
    // pictures of their shapes from the start (stockcursors.h).
    void SetCursors(int Index, HCURSOR Cursor);
    HCURSOR GetCursorHandle(int Index) const;
    int GetWidth() const;
    int GetHeight() const;
    TRect GetWorkAreaRect() const;
    // The screen's resolution forms scale to; 96 unless set (a test stands for a finer screen).
    int GetPixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value) { FPixelsPerInch = Value > 0 ? Value : 96; }
    int GetFormCount() const;
    TCustomForm* GetForm(int Index) const;
    TCustomForm* GetActiveForm() const;
    TWinControl* GetActiveControl() const;

private:
    TCursor FCursor = crDefault;
    int FPixelsPerInch = 96;
    std::vector<std::pair<int, TCursor>> FCursors;
    std::vector<std::pair<int, HCURSOR>> FPictures;
    mutable std::vector<std::pair<int, HCURSOR>> FStockPictures; // drawn when first asked for
};

extern TApplication* Application;
extern TScreen* Screen;

// Registers the class records of every control, so streams can name them.
void RegisterGuiClasses();

// Unit start-up and shut-down: the application object, the screen and the mouse.
void InitFormsUnit();
void DoneFormsUnit();
