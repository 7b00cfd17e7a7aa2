// The form: a top-level window of controls, shown modeless or modal.
#include "platform/core/resources.h"
#include "platform/gui/actnlist.h"
#include "platform/gui/forms_internal.h"
#include "platform/gui/forms_window.h"
#include "platform/gui/imglist.h"
#include "platform/gui/menus.h"
#include "platform/gui/stdctrls.h"

#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <functional>
#include <vector>

template <>
const EnumInfo& EnumInfoOf<TPosition>() {
    static const EnumInfo info{"TPosition",
                               {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                                "poScreenCenter", "poDesktopCenter", "poMainFormCenter",
                                "poOwnerFormCenter"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TWindowState>() {
    static const EnumInfo info{"TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TFormStyle>() {
    static const EnumInfo info{"TFormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TBorderIcon>() {
    static const EnumInfo info{"TBorderIcon", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}};
    return info;
}

using namespace gui_detail;

// ---------------------------------------------------------------------------
// TCustomForm

const ClassInfo& TCustomForm::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TCustomForm>("TCustomForm", &TWinControl::StaticClass());
    return ci;
}

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
    FWindow = new FormWindow(this);
    SetWidget(FWindow);
    SetParentFont(false);
    TWinControl::SetVisible(false);
    SetBounds(0, 0, 320, 240);
}

TCustomForm::TCustomForm(TComponent* AOwner, NewTag) : TCustomForm(AOwner) {
    FReadResource = false;
}

TCustomForm::~TCustomForm() = default;

void TCustomForm::AfterConstruction() {
    TWinControl::AfterConstruction();
    // A form class of its own reads its resource; the class library's form
    // classes have none.
    if (FReadResource && &ClassType() != &TForm::StaticClass() &&
        &ClassType() != &TCustomForm::StaticClass()) {
        if (!ReadFormResource())
            throw EResNotFound(u"Resource %s not found", {IdentToString(ClassType().name)});
    }
    BindComponents();
    FCreated = true;
    DoCreate();
    if (FShowWhenCreated) {
        FShowWhenCreated = false;
        Show();
    }
}

void TCustomForm::BindError(std::u16string_view Name, bool WrongClass) const {
    if (WrongClass)
        throw EReadError(u"Component %s of %s is of another class",
                         {String(Name), IdentToString(ClassType().name)});
    throw EReadError(u"Component %s of %s not found", {String(Name), IdentToString(ClassType().name)});
}

namespace {
// A description that starts with "inherited" holds only what differs from its ancestor's.
bool IsInheritedDescription(const TEmbeddedResource& Resource) {
    std::string_view text(reinterpret_cast<const char*>(Resource.data), Resource.size);
    const auto start = text.find_first_not_of(" \t\r\n");
    return start != std::string_view::npos && text.substr(start).starts_with("inherited");
}

// The form classes whose descriptions make up a form of this class, the ancestor first.
void DescriptionChain(const ClassInfo* Class, std::vector<std::string_view>& Chain) {
    const TEmbeddedResource* own = FindResource(Class->name, kFormResourceKind);
    if (!own) return;
    if (IsInheritedDescription(*own)) {
        const ClassInfo* ancestor = Class->parent;
        while (ancestor && !FindResource(ancestor->name, kFormResourceKind)) ancestor = ancestor->parent;
        if (!ancestor)
            throw EResNotFound(u"Resource %s not found",
                               {IdentToString(Class->parent ? Class->parent->name : "")});
        DescriptionChain(ancestor, Chain);
    }
    Chain.push_back(Class->name);
}
} // namespace

bool TCustomForm::ReadFormResource() {
    std::vector<std::string_view> chain;
    DescriptionChain(&ClassType(), chain);
    if (chain.empty()) return false;
    for (const std::string_view name : chain) ReadComponentRes(IdentToString(name), this);
    return true;
}

void TCustomForm::BeforeDestruction() {
    if (FCreated) {
        FCreated = false;
        try {
            DoDestroy();
        } catch (...) {
            HandleCurrentException(this);
        }
    }
    if (FModalLoop) FModalLoop->quit();
    SetMenu(nullptr);
    TWinControl::BeforeDestruction();
}

void TCustomForm::DoCreate() {
    // An exception of OnCreate is shown; the form exists all the same.
    try {
        if (OnCreate) OnCreate(this);
    } catch (...) {
        HandleCurrentException(this);
    }
}

void TCustomForm::DoDestroy() {
    if (OnDestroy) OnDestroy(this);
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
    if (OnClose) OnClose(this, Action);
}

int TCustomForm::MenuBarHeight() const {
    return FWindow ? FWindow->MenuBarHeight() : 0;
}

void TCustomForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TCustomForm::UpdateWidgetGeometry() {
    if (!FWindow) return;
    // Until the form is placed for the first time, a default position leaves
    // the place to the window manager.
    const bool placeByManager =
        !IsEmbedded() && !FShownOnce && (FPosition == poDefault || FPosition == poDefaultPosOnly);
    if (IsEmbedded() || FWindowState == wsNormal || !FWindow->isVisible()) {
        if (placeByManager)
            FWindow->resize(FWidth, FHeight);
        else
            FWindow->setGeometry(FLeft, FTop, FWidth, FHeight);
    }
    FWindow->Layout();
}

TRect TCustomForm::GetClientRect() const {
    return Rect(0, 0, FWidth, std::max(FHeight - MenuBarHeight(), 0));
}

TPoint TCustomForm::GetClientOrigin() const {
    const QPoint p = FWindow->Client()->mapToGlobal(QPoint(0, 0));
    return {p.x(), p.y()};
}

QWidget* TCustomForm::ClientWidget() const {
    return FWindow ? FWindow->Client() : nullptr;
}

void TCustomForm::ApplyColor() {
    TWinControl::ApplyColor();
}

bool TCustomForm::GetShowing() const {
    return IsEmbedded() ? TWinControl::GetShowing() : GetVisible();
}

void TCustomForm::HandleEmbeddedShowing(bool Showing) {
    if (!IsEmbedded() || !FCreated || Showing == FEmbeddedShowing) return;
    FEmbeddedShowing = Showing;
    if (Showing)
        DoShow();
    else
        DoHide();
}

void TCustomForm::SetText(const String& Value) {
    FWindow->setWindowTitle(ToQString(Value));
}

String TCustomForm::GetText() const {
    return FromQString(FWindow->windowTitle());
}

void TCustomForm::SetMenu(TMainMenu* Value) {
    if (FMenu == Value) return;
    const bool keepClient = !GetComponentState().Contains(csLoading);
    const int clientHeight = GetClientHeight();
    if (FMenu) FMenu->RemoveFreeNotification(this);
    FMenu = Value;
    if (Value) Value->FreeNotification(this);
    FWindow->SetMenuBar(Value ? Value->MenuBar() : nullptr);
    // The client area keeps its size: the window grows by the bar.
    if (keepClient && FWindowState == wsNormal) SetClientHeight(clientHeight);
    Realign();
}

void TCustomForm::SetWindowState(TWindowState Value) {
    if (FWindowState == Value) return;
    FWindowState = Value;
    if (!FWindow->isVisible()) return;
    FWindow->ShowIn(Value);
    if (Value == wsNormal) UpdateWidgetGeometry();
}

void TCustomForm::HandleWindowStateChange(TWindowState State) {
    FWindowState = State;
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
    FBorderStyle = Value;
}

namespace {

// The frame a window manager gives a window: that of a shown window framed already, the window's
// own once it has one. None without a window manager or off screen.
QMargins FrameMargins(const QWidget* Window) {
    const auto margins = [](const QWidget* w) {
        const QRect outer = w->frameGeometry(), inner = w->geometry();
        return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                        outer.bottom() - inner.bottom());
    };
    const auto framed = [](const QWidget* w) {
        return w->isVisible() && w->isWindow() && !(w->windowFlags() & Qt::FramelessWindowHint) &&
               w->frameGeometry() != w->geometry();
    };
    if (framed(Window)) return margins(Window);
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w != Window && framed(w)) return margins(w);
    return {};
}

} // namespace

void TCustomForm::PlaceOnFirstShow() {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    QRect around;
    switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
        around = area;
        break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        // The window the operator sees the owner in: an owner embedded in another form, or a
        // control, has a place inside that form only.
        const TControl* host = FPosition == poOwnerFormCenter ? dynamic_cast<TControl*>(GetOwner()) : nullptr;
        if (!host || !host->Widget()) host = Application ? Application->GetMainForm() : nullptr;
        const QWidget* window = host && host->Widget() ? host->Widget()->window() : nullptr;
        around = window && window != FWindow && window->isVisible() ? window->geometry() : area;
        break;
    }
    default:
        return;
    }
    // Centred on a window partly off the screen, or larger than it, the form still opens on it,
    // its frame too: the window manager puts the title bar above the place given, so the margins
    // of a window it frames already stand for this one's.
    const QMargins frame = FrameMargins(FWindow);
    const QRect room = area.marginsRemoved(frame);
    FLeft = std::clamp(around.x() + (around.width() - FWidth) / 2, room.left(),
                       std::max(room.left(), room.left() + room.width() - FWidth));
    FTop = std::clamp(around.y() + (around.height() - FHeight) / 2, room.top(),
                      std::max(room.top(), room.top() + room.height() - FHeight));
}

namespace {

// With the main window on the task bar every other form belongs to it: the window manager
// keeps it in front of the main window and gives it no task bar button of its own.
void OwnByMainForm(QWidget* Window, const TCustomForm* Form) {
    TCustomForm* main =
        Application && Application->GetMainFormOnTaskBar() ? Application->GetMainForm() : nullptr;
    if (!main || main == Form || !main->Widget() || Headless()) return;
    QWidget* mainWindow = main->Widget()->window();
    Window->winId();
    mainWindow->winId();
    Window->windowHandle()->setTransientParent(mainWindow->windowHandle());
    // Qt names the owner to the X window manager for dialogs only, and takes it away from any
    // other window it shows: a form of any kind has it once shown.
    if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>()) {
        const xcb_window_t owner = static_cast<xcb_window_t>(mainWindow->winId());
        xcb_change_property(x11->connection(), XCB_PROP_MODE_REPLACE,
                            static_cast<xcb_window_t>(Window->winId()), XCB_ATOM_WM_TRANSIENT_FOR,
                            XCB_ATOM_WINDOW, 32, 1, &owner);
    }
}

} // namespace

void TCustomForm::SetVisible(bool Value) {
    // A form read as visible appears once it has been created.
    if (GetComponentState().Contains(csLoading) || !FCreated) {
        FShowWhenCreated = Value;
        return;
    }
    if (IsEmbedded()) {
        // A child of its parent: it shows with it, and the window reports each change of
        // showing (HandleEmbeddedShowing).
        if (FWindow->isWindow()) FWindow->setWindowFlags(Qt::Widget);
        TWinControl::SetVisible(Value);
        UpdateWidgetGeometry();
        FShownOnce = FShownOnce || Value;
        return;
    }
    if (Value == GetVisible() && Value == FWindow->isVisible()) return;
    if (Value) {
        const bool first = !FShownOnce;
        if (first) PlaceOnFirstShow();
        const TRect placed = Bounds(FLeft, FTop, FWidth, FHeight);
        Qt::WindowFlags flags = Qt::Window;
        switch (FBorderStyle) {
        case bsNone:
            flags |= Qt::FramelessWindowHint;
            break;
        case bsDialog:
        case bsToolWindow:
        case bsSizeToolWin:
            flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
            break;
        default:
            break;
        }
        if (FWindow->windowFlags() != flags) FWindow->setWindowFlags(flags);
        // The window gives its first focus by the chain.
        UpdateTabChain();
        TWinControl::SetVisible(true);
        UpdateWidgetGeometry();
        FShownOnce = true;
        DoShow();
        // A form that sizes itself as it shows is centred at the size it shows at, unless it
        // placed itself.
        if (first && FLeft == placed.Left && FTop == placed.Top &&
            (FWidth != placed.Width() || FHeight != placed.Height())) {
            PlaceOnFirstShow();
            UpdateWidgetGeometry();
        }
        if (FBorderStyle != bsSizeable && FBorderStyle != bsSizeToolWin)
            FWindow->setFixedSize(FWidth, FHeight);
        FWindow->ShowIn(FWindowState);
        OwnByMainForm(FWindow, this);
        if (!Headless()) FWindow->raise();
        FWindow->activateWindow();
        if (FActiveControl && FActiveControl->CanFocus() && FActiveControl->Widget())
            FActiveControl->Widget()->setFocus(Qt::ActiveWindowFocusReason);
    } else {
        TWinControl::SetVisible(false);
        FWindow->hide();
        DoHide();
    }
}

void TCustomForm::SetModalResult(TModalResult Value) {
    FModalResult = Value;
    if (Value != mrNone && FModalLoop) FModalLoop->quit();
}

void TCustomForm::SetActiveControl(TWinControl* Value) {
    if (Value && GetParentForm(Value) != this)
        throw EInvalidOperation(u"Invalid parent for the active control");
    FActiveControl = Value;
    if (Value && Value->Widget() && GetVisible() && Value->CanFocus())
        Value->Widget()->setFocus(Qt::OtherFocusReason);
}

void TCustomForm::ForgetControl(TControl* Control) {
    auto* w = dynamic_cast<TWinControl*>(Control);
    if (!w) return;
    if (FActiveControl && w->ContainsControl(FActiveControl)) FActiveControl = nullptr;
    if (FFocusedControl && w->ContainsControl(FFocusedControl)) FFocusedControl = nullptr;
}

void TCustomForm::SetFocus() {
    if (!GetVisible() || !GetEnabled())
        throw EInvalidOperation(u"Cannot focus a disabled or invisible window");
    FWindow->activateWindow();
}

// Focus moved to a control of this form: the controls it leaves hear OnExit
// (innermost first), those it enters OnEnter (outermost first).
void TCustomForm::HandleFocusedControl(TWinControl* Control) {
    if (Control == FFocusedControl) return;
    // While the form is being freed, focus wanders as its widgets go; the
    // handlers must not run on controls that are half gone.
    if (GetComponentState().Contains(csDestroying)) {
        FFocusedControl = FActiveControl = nullptr;
        return;
    }
    TWinControl* old = FFocusedControl;
    FFocusedControl = Control;
    FActiveControl = Control;
    std::vector<TWinControl*> leaving;
    for (TWinControl* c = old; c && c != this; c = c->GetParent())
        if (!c->ContainsControl(Control)) leaving.push_back(c);
    std::vector<TWinControl*> entering;
    for (TWinControl* c = Control; c && c != this; c = c->GetParent())
        if (!old || !c->ContainsControl(old)) entering.push_back(c);
    for (TWinControl* c : leaving) c->HandleExit();
    for (auto it = entering.rbegin(); it != entering.rend(); ++it) (*it)->HandleEnter();
}

void TCustomForm::HandleActivate(bool Active) {
    if (FActive == Active) return;
    FActive = Active;
    if (Active) {
        if (OnActivate) OnActivate(this);
    } else if (OnDeactivate) {
        OnDeactivate(this);
    }
}

void TCustomForm::HandleCloseRequest() {
    Close();
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (IsModal()) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application && Application->GetMainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide:
        Hide();
        break;
    case caMinimize:
        SetWindowState(wsMinimized);
        break;
    case caFree:
        Release();
        break;
    default:
        break;
    }
}

void TCustomForm::Release() {
    QPointer<QWidget> alive = FWindow;
    QTimer::singleShot(0, qApp, [alive, this] {
        if (alive) Free();
    });
}

void TCustomForm::BringToFront() {
    if (!Headless()) FWindow->raise();
    FWindow->activateWindow();
}

void TCustomForm::CloseModal() {
    TCloseAction action = CloseQuery() ? caHide : caNone;
    DoClose(action);
    if (action == caNone) FModalResult = mrNone;
}

TModalResult TCustomForm::ShowModal() {
    if (GetVisible() || !GetEnabled() || IsModal())
        throw EInvalidOperation(u"Cannot make a visible window modal");
    FModalResult = mrNone;
    if (const TDialogResponder& responder = GetDialogResponder()) {
        // The responder sees the form shown and may press its buttons.
        FInModalHook = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{FInModalHook};
        Show();
        TDialogRequest request;
        request.Kind = TDialogKind::ModalForm;
        request.Caption = GetCaption();
        request.Form = this;
        const TDialogAnswer answer = responder(request);
        if (FModalResult == mrNone) FModalResult = answer.Result != mrNone ? answer.Result : mrCancel;
        CloseModal();
        if (FModalResult == mrNone) FModalResult = mrCancel;
        Hide();
        return FModalResult;
    }
    FWindow->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    FModalLoop = &loop;
    ++FModalLoopDepth;
    if (Application) Application->PushLoop(&loop);
    struct Reset {
        TCustomForm* f;
        ~Reset() {
            f->FModalLoop = nullptr;
            --f->FModalLoopDepth;
            if (Application) Application->PopLoop();
            f->FWindow->setWindowModality(Qt::NonModal);
        }
    } reset{this};
    Show();
    for (;;) {
        if (FModalResult == mrNone && !(Application && Application->GetTerminated())) loop.exec();
        if (Application && Application->GetTerminated()) FModalResult = mrCancel;
        if (FModalResult != mrNone) {
            CloseModal();
            if (FModalResult != mrNone) break;
        }
    }
    Hide();
    return FModalResult;
}

bool TCustomForm::IsShortCut(TShortCut ShortCut) {
    if (ShortCut == 0) return false;
    bool handled = false;
    if (OnShortCut) OnShortCut(this, ShortCut, handled);
    if (handled) return true;
    if (FMenu && FMenu->IsShortCut(ShortCut)) return true;
    for (TComponent* c : Components())
        if (auto* list = dynamic_cast<TCustomActionList*>(c); list && list->IsShortCut(ShortCut)) return true;
    return false;
}

TButton* TCustomForm::FindDefaultButton(bool Cancel) const {
    std::function<TButton*(const TWinControl*)> find = [&](const TWinControl* parent) -> TButton* {
        for (TControl* c : parent->Controls()) {
            if (!c->GetVisible() || !c->GetEnabled()) continue;
            if (auto* b = dynamic_cast<TButton*>(c); b && (Cancel ? b->GetCancel() : b->GetDefault()))
                return b;
            if (auto* w = dynamic_cast<TWinControl*>(c))
                if (TButton* b = find(w)) return b;
        }
        return nullptr;
    };
    return find(this);
}

void TCustomForm::GetChildren(TGetChildProc Proc, TComponent* Root) {
    // Components without a visual parent first, then the controls.
    for (TComponent* c : Components())
        if (!c->HasParent()) Proc(c);
    TWinControl::GetChildren(Proc, Root);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FMenu) {
        FMenu = nullptr;
        FWindow->SetMenuBar(nullptr);
    }
    if (AComponent == FActiveControl) FActiveControl = nullptr;
    if (AComponent == FFocusedControl) FFocusedControl = nullptr;
}

void TCustomForm::SetFormClientWidth(int Value) {
    if (GetComponentState().Contains(csLoading))
        FLoadedClientWidth = Value;
    else
        SetClientWidth(Value);
}

void TCustomForm::SetFormClientHeight(int Value) {
    if (GetComponentState().Contains(csLoading))
        FLoadedClientHeight = Value;
    else
        SetClientHeight(Value);
}

void TCustomForm::Loaded() {
    TWinControl::Loaded();
    // The client size read from the stream counts below the menu, which fix-ups
    // have put in place by now.
    if (FLoadedClientWidth >= 0) SetClientWidth(FLoadedClientWidth);
    if (FLoadedClientHeight >= 0) SetClientHeight(FLoadedClientHeight);
    FLoadedClientWidth = FLoadedClientHeight = -1;
    Realign();
}

const ClassInfo& TForm::StaticClass() {
    using F = TCustomForm;
    static const PropInfo props[] = {
        MakeProp<&F::GetActiveControl, &F::SetActiveControl>("ActiveControl"),
        MakeProp<&F::GetBorderIcons, &F::SetBorderIcons>("BorderIcons")
            .Default(static_cast<std::int64_t>(TBorderIcons{biSystemMenu, biMinimize, biMaximize}.Bits())),
        MakeProp<&F::GetBorderStyle, &F::SetBorderStyle>("BorderStyle").Default(bsSizeable),
        MakeProp<&F::GetCaption, &F::SetCaption>("Caption"),
        MakeProp<&F::GetClientHeight, &F::SetFormClientHeight>("ClientHeight"),
        MakeProp<&F::GetClientWidth, &F::SetFormClientWidth>("ClientWidth"),
        MakeProp<&F::GetFormStyle, &F::SetFormStyle>("FormStyle").Default(fsNormal),
        MakeProp<&F::GetHelpFile, &F::SetHelpFile>("HelpFile"),
        MakeProp<&F::GetKeyPreview, &F::SetKeyPreview>("KeyPreview").Default(false),
        MakeProp<&F::GetMenu, &F::SetMenu>("Menu"),
        MakeProp<&F::GetOldCreateOrder, &F::SetOldCreateOrder>("OldCreateOrder").Default(false),
        MakeProp<&F::GetPixelsPerInch, &F::SetPixelsPerInch>("PixelsPerInch"),
        MakeProp<&F::GetPosition, &F::SetPosition>("Position").Default(poDefaultPosOnly),
        MakeProp<&F::GetScaled, &F::SetScaled>("Scaled").Default(true),
        MakeProp<&F::GetWindowState, &F::SetWindowState>("WindowState").Default(wsNormal),
        // Written by the form designer's stream; read and kept, never written.
        MakeProp<&F::GetTextHeight, &F::SetTextHeight>("TextHeight").Stored(false),
        MakeProp<&F::OnActivate>("OnActivate"),
        MakeProp<&F::OnClose>("OnClose"),
        MakeProp<&F::OnCloseQuery>("OnCloseQuery"),
        MakeProp<&F::OnCreate>("OnCreate"),
        MakeProp<&F::OnDeactivate>("OnDeactivate"),
        MakeProp<&F::OnDestroy>("OnDestroy"),
        MakeProp<&F::OnHide>("OnHide"),
        MakeProp<&F::OnShortCut>("OnShortCut"),
        MakeProp<&F::OnShow>("OnShow"),
    };
    static const ClassInfo ci = MakeClassInfo<TForm>("TForm", &TCustomForm::StaticClass(), props);
    return ci;
}

void TCustomForm::SetIconFromImages(TCustomImageList* Images, int Index) {
    if (FWindow && Images && Index >= 0 && Index < Images->GetCount())
        FWindow->setWindowIcon(Images->IconOf(Index));
}
