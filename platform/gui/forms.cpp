#include "platform/gui/forms.h"

#include "platform/core/resources.h"
#include "platform/core/threads.h"
#include "platform/gui/actnlist.h"
#include "platform/gui/buttons.h"
#include "platform/gui/checklst.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/grids.h"
#include "platform/gui/imglist.h"
#include "platform/gui/menus.h"
#include "platform/gui/qtbridge.h"
#include "platform/gui/stdctrls.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <QWidget>

#include <clocale>
#include <cstdio>

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

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
// The dialog responder

namespace {
TDialogResponder& Responder() {
    static TDialogResponder responder;
    return responder;
}
} // namespace

TDialogResponder SetDialogResponder(TDialogResponder Responder_) {
    TDialogResponder old = std::move(Responder());
    Responder() = std::move(Responder_);
    return old;
}

const TDialogResponder& GetDialogResponder() {
    return Responder();
}

// ---------------------------------------------------------------------------
// Clocks

void TManualClock::StartTimer(TTimer* Timer, unsigned Interval) {
    StopTimer(Timer);
    FEntries.push_back({Timer, FNow + Interval, Interval, FSeq++});
}

void TManualClock::StopTimer(TTimer* Timer) {
    std::erase_if(FEntries, [Timer](const Entry& e) { return e.timer == Timer; });
}

bool TManualClock::IsRunning(const TTimer* Timer) const {
    return DueIn(Timer) >= 0;
}

Int64 TManualClock::DueIn(const TTimer* Timer) const {
    for (const Entry& e : FEntries)
        if (e.timer == Timer) return static_cast<Int64>(e.due - FNow);
    return -1;
}

void TManualClock::Advance(unsigned Milliseconds) {
    const UInt64 target = FNow + Milliseconds;
    for (;;) {
        auto next = FEntries.end();
        for (auto it = FEntries.begin(); it != FEntries.end(); ++it)
            if (it->due <= target && (next == FEntries.end() || it->due < next->due ||
                                      (it->due == next->due && it->seq < next->seq)))
                next = it;
        if (next == FEntries.end()) break;
        FNow = next->due;
        TTimer* timer = next->timer;
        // Re-armed before the handler runs, so that the handler's own stop or
        // restart wins.
        next->due += std::max(next->interval, 1u);
        next->seq = FSeq++;
        timer->HandleTimer();
    }
    FNow = target;
}

namespace {

// Timers on the event loop: one QTimer per running timer.
class RealClock : public TTimerClock {
public:
    ~RealClock() override {
        for (auto& [timer, qt] : timers_) delete qt;
    }
    void StartTimer(TTimer* Timer, unsigned Interval) override {
        StopTimer(Timer);
        auto* qt = new QTimer();
        qt->setTimerType(Qt::PreciseTimer);
        QObject::connect(qt, &QTimer::timeout, [Timer] { Timer->HandleTimer(); });
        qt->start(static_cast<int>(std::min(Interval, 0x7FFFFFFFu)));
        timers_[Timer] = qt;
    }
    void StopTimer(TTimer* Timer) override {
        auto it = timers_.find(Timer);
        if (it == timers_.end()) return;
        it->second->stop();
        // The timer may be stopped from its own handler.
        it->second->deleteLater();
        timers_.erase(it);
    }

private:
    std::unordered_map<TTimer*, QTimer*> timers_;
};

} // namespace

// ---------------------------------------------------------------------------
// The form's window: an optional menu bar above the client area.

class FormWindow : public QWidget {
public:
    explicit FormWindow(TCustomForm* form) : form_(form) {
        client_ = new QWidget(this);
        setAttribute(Qt::WA_DeleteOnClose, false);
    }
    QWidget* Client() const { return client_; }
    void SetMenuBar(QMenuBar* bar) {
        if (bar_ && bar_ != bar) {
            bar_->hide();
            bar_->setParent(nullptr);
        }
        bar_ = bar;
        if (bar_) {
            bar_->setParent(this);
            bar_->show();
        }
        Layout();
    }
    int MenuBarHeight() const {
        if (!bar_ || bar_->actions().isEmpty()) return 0;
        return bar_->heightForWidth(std::max(width(), 1)) > 0 ? bar_->heightForWidth(std::max(width(), 1))
                                                              : bar_->sizeHint().height();
    }
    // Shows the window normal, maximized or minimized.
    void ShowIn(TWindowState state) {
        switch (state) {
        case wsMaximized:
            showMaximized();
            break;
        case wsMinimized:
            showMinimized();
            break;
        default:
            showNormal();
            break;
        }
    }
    void Layout() {
        const int mh = MenuBarHeight();
        if (bar_) bar_->setGeometry(0, 0, width(), mh);
        client_->setGeometry(0, mh, width(), std::max(height() - mh, 0));
    }

protected:
    void resizeEvent(QResizeEvent* e) override {
        QWidget::resizeEvent(e);
        Layout();
    }
    void moveEvent(QMoveEvent* e) override {
        QWidget::moveEvent(e);
        if (isVisible()) Guarded(form_, [&] { form_->WidgetMoved(x(), y()); });
    }
    void closeEvent(QCloseEvent* e) override {
        e->ignore();
        Guarded(form_, [&] { form_->HandleCloseRequest(); });
    }
    void changeEvent(QEvent* e) override {
        QWidget::changeEvent(e);
        if (e->type() == QEvent::ActivationChange)
            Guarded(form_, [&] { form_->HandleActivate(isActiveWindow()); });
        else if (e->type() == QEvent::WindowStateChange)
            Guarded(form_, [&] {
                const Qt::WindowStates s = windowState();
                form_->HandleWindowStateChange(s & Qt::WindowMaximized   ? wsMaximized
                                               : s & Qt::WindowMinimized ? wsMinimized
                                                                         : wsNormal);
            });
    }

private:
    TCustomForm* form_;
    QWidget* client_;
    QPointer<QMenuBar> bar_;
};

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

bool TCustomForm::ReadFormResource() {
    const std::string_view name = ClassType().name;
    if (!FindResource(name, kFormResourceKind)) return false;
    ReadComponentRes(IdentToString(name), this);
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
    const bool placeByManager = !FShownOnce && (FPosition == poDefault || FPosition == poDefaultPosOnly);
    if (FWindowState == wsNormal || !FWindow->isVisible()) {
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
    return GetVisible();
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
        TCustomForm* host = dynamic_cast<TCustomForm*>(GetOwner());
        if (FPosition == poMainFormCenter || !host) host = Application ? Application->GetMainForm() : nullptr;
        around = host && host != this && host->GetVisible() ? host->FWindow->geometry() : area;
        break;
    }
    default:
        return;
    }
    FLeft = around.x() + (around.width() - FWidth) / 2;
    FTop = around.y() + (around.height() - FHeight) / 2;
}

void TCustomForm::SetVisible(bool Value) {
    // A form read as visible appears once it has been created.
    if (GetComponentState().Contains(csLoading) || !FCreated) {
        FShowWhenCreated = Value;
        return;
    }
    if (Value == GetVisible() && Value == FWindow->isVisible()) return;
    if (Value) {
        if (!FShownOnce) PlaceOnFirstShow();
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
        TWinControl::SetVisible(true);
        UpdateWidgetGeometry();
        FShownOnce = true;
        DoShow();
        if (FBorderStyle != bsSizeable && FBorderStyle != bsSizeToolWin)
            FWindow->setFixedSize(FWidth, FHeight);
        FWindow->ShowIn(FWindowState);
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
    if (const TDialogResponder& responder = Responder()) {
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

// ---------------------------------------------------------------------------
// Keys and focus, for every form: shortcuts first (menu, then action lists),
// then the form's preview, then the control; Return and Escape press the
// default and cancel buttons.

namespace {

Word VirtualKeyOf(const QKeyEvent* e) {
    const int k = e->key();
    if ((k >= Qt::Key_0 && k <= Qt::Key_9) || (k >= Qt::Key_A && k <= Qt::Key_Z)) return static_cast<Word>(k);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return static_cast<Word>(VK_F1 + (k - Qt::Key_F1));
    switch (k) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Pause:
        return VK_PAUSE;
    case Qt::Key_CapsLock:
        return VK_CAPITAL;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    default:
        break;
    }
    // A letter of another keyboard layout (Cyrillic with Ctrl held, say): the
    // key's position names the virtual key, as on the other system.
    static constexpr struct {
        quint32 scan;
        char key;
    } kLetters[] = {{24, 'Q'}, {25, 'W'}, {26, 'E'}, {27, 'R'}, {28, 'T'}, {29, 'Y'}, {30, 'U'},
                    {31, 'I'}, {32, 'O'}, {33, 'P'}, {38, 'A'}, {39, 'S'}, {40, 'D'}, {41, 'F'},
                    {42, 'G'}, {43, 'H'}, {44, 'J'}, {45, 'K'}, {46, 'L'}, {52, 'Z'}, {53, 'X'},
                    {54, 'C'}, {55, 'V'}, {56, 'B'}, {57, 'N'}, {58, 'M'}};
    for (const auto& l : kLetters)
        if (e->nativeScanCode() == l.scan) return static_cast<Word>(l.key);
    return 0;
}

TWinControl* WinControlOf(const QObject* o) {
    TControl* c = ControlOfWidget(o);
    while (c && !dynamic_cast<TWinControl*>(c)) c = c->GetParent();
    return static_cast<TWinControl*>(c);
}

class AppFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type t = event->type();
        if (t != QEvent::KeyPress && t != QEvent::KeyRelease) return false;
        auto* ke = static_cast<QKeyEvent*>(event);
        if (resending_) return false;
        // A key from the window system reaches the top-level window first and
        // is then forwarded, as the same event, to the focused widget; only a
        // widget of a control counts. A key the widget ignores travels up the
        // widget parents: it is handled once, by the first control.
        TWinControl* control = WinControlOf(watched);
        if (!control) return false;
        TCustomForm* form = dynamic_cast<TCustomForm*>(control);
        if (!form) form = GetParentForm(control);
        if (!form) return false;
        if (ke == last_ && ke->timestamp() == lastStamp_ && t == lastType_) return false;
        last_ = ke;
        lastStamp_ = ke->timestamp();
        lastType_ = t;
        bool swallow = false;
        Guarded(control, [&] {
            swallow = t == QEvent::KeyPress ? Press(watched, ke, control, form) : Release(ke, control);
        });
        return swallow;
    }

private:
    bool Press(QObject* watched, QKeyEvent* ke, TWinControl* control, TCustomForm* form) {
        const Word vk = VirtualKeyOf(ke);
        const TShiftState shift = ShiftOf(ke->modifiers());
        if (vk != 0 && form->IsShortCut(ShortCut(vk, shift))) return true;
        Word key = vk;
        if (vk != 0 && control->HandleKeyDown(key, shift)) return true;
        if (key == VK_RETURN && !control->WantsReturns() && shift.Empty()) {
            if (auto* button = dynamic_cast<TButton*>(control)) {
                button->Click();
                return true;
            }
            if (TButton* b = form->FindDefaultButton(false)) {
                b->Click();
                return true;
            }
        }
        if (key == VK_ESCAPE && shift.Empty())
            if (TButton* b = form->FindDefaultButton(true)) {
                b->Click();
                return true;
            }
        const QString text = ke->text();
        if (text.isEmpty()) return false;
        Char ch = text.at(0).unicode();
        const Char original = ch;
        if (control->HandleKeyPress(ch)) return true;
        if (ch != original) {
            // The handler changed the character: the widget gets the new one.
            QKeyEvent changed(QEvent::KeyPress, ke->key(), ke->modifiers(), QString(QChar(ch)));
            resending_ = true;
            QCoreApplication::sendEvent(watched, &changed);
            resending_ = false;
            return true;
        }
        return false;
    }

    static bool Release(QKeyEvent* ke, TWinControl* control) {
        Word key = VirtualKeyOf(ke);
        if (key == 0) return false;
        return control->HandleKeyUp(key, ShiftOf(ke->modifiers()));
    }

    const QKeyEvent* last_ = nullptr;
    quint64 lastStamp_ = 0;
    QEvent::Type lastType_ = QEvent::None;
    bool resending_ = false;
};

AppFilter* gAppFilter = nullptr;
QMetaObject::Connection gFocusConnection;

void FocusChanged(QWidget*, QWidget* now) {
    if (!now) return; // the window lost activation: no control exits
    TWinControl* control = WinControlOf(now);
    if (!control) return;
    TCustomForm* form = dynamic_cast<TCustomForm*>(control);
    if (!form) form = GetParentForm(control);
    if (!form || form == control) return;
    Guarded(control, [&] { form->HandleFocusedControl(control); });
}

} // namespace

// ---------------------------------------------------------------------------
// TApplication

const ClassInfo& TApplication::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TApplication>("TApplication", &TComponent::StaticClass());
    return ci;
}

TApplication::TApplication(TComponent* AOwner)
    : TComponent(AOwner), FRealClock(std::make_unique<RealClock>()) {
    EnsureQtApplication();
    FClock = FRealClock.get();
}

TApplication::~TApplication() = default;

void TApplication::BeforeDestruction() {
    FMainForm = nullptr;
    TComponent::BeforeDestruction();
}

void TApplication::Initialize() {
    EnsureQtApplication();
}

void TApplication::Run() {
    if (FMainForm && !FTerminated) {
        try {
            FMainForm->Show();
        } catch (...) {
            HandleException(this);
        }
    }
    while (!FTerminated) {
        QEventLoop loop;
        PushLoop(&loop);
        loop.exec();
        PopLoop();
    }
}

void TApplication::Terminate() {
    FTerminated = true;
    for (QEventLoop* loop : FLoops) loop->quit();
}

void TApplication::ProcessMessages() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    try {
        CheckSynchronize();
    } catch (...) {
        HandleException(this);
    }
}

void TApplication::HandleMessage() {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
    try {
        CheckSynchronize();
    } catch (...) {
        HandleException(this);
    }
}

void TApplication::HandleException(TObject* Sender) {
    if (!std::current_exception()) return;
    // An exception while one is being shown is not shown again.
    if (FHandlingException) return;
    FHandlingException = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{FHandlingException};
    try {
        throw;
    } catch (const EAbort&) {
        // the silent exception
    } catch (const Exception& e) {
        if (OnException)
            OnException(Sender, e);
        else
            ShowException(e);
    } catch (...) {
        // Anything outside the class library's exception tree shows as an
        // exception with an empty message.
        const Exception e;
        if (OnException)
            OnException(Sender, e);
        else
            ShowException(e);
    }
}

void TApplication::ShowException(const Exception& E) {
    String msg = E.Message();
    if (!msg.empty() && msg.back() > u'.') msg += u'.';
    MessageBox(msg, GetTitle(), MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const String& Text, const String& Caption, UINT Flags) {
    static constexpr int kButtons[][3] = {
        {IDOK, 0, 0},     {IDOK, IDCANCEL, 0},   {IDABORT, IDRETRY, IDIGNORE}, {IDYES, IDNO, IDCANCEL},
        {IDYES, IDNO, 0}, {IDRETRY, IDCANCEL, 0}};
    const UINT type = std::min<UINT>(Flags & 0x0F, 5);
    const UINT defIndex = std::min<UINT>((Flags >> 8) & 0x0F, 2);
    int defaultId = kButtons[type][defIndex] ? kButtons[type][defIndex] : kButtons[type][0];
    const String caption = Caption.empty() ? String(u"Error") : Caption;
    if (const TDialogResponder& responder = Responder()) {
        TDialogRequest request;
        request.Kind = TDialogKind::MessageBox;
        request.Caption = caption;
        request.Text = Text;
        request.Flags = Flags;
        const TDialogAnswer answer = responder(request);
        return answer.Result != 0 ? answer.Result : defaultId;
    }
    if (Headless()) {
        // Nobody can answer on a screen nobody sees.
        std::fprintf(stderr, "message box \"%s\": %s\n", UTF8Encode(caption).c_str(),
                     UTF8Encode(Text).c_str());
        return defaultId;
    }
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(ToQString(caption));
    box.setText(ToQString(Text));
    switch (Flags & 0xF0) {
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    std::vector<std::pair<QAbstractButton*, int>> buttons;
    for (int id : kButtons[type]) {
        if (id == 0) continue;
        QMessageBox::StandardButton sb = QMessageBox::Ok;
        switch (id) {
        case IDCANCEL:
            sb = QMessageBox::Cancel;
            break;
        case IDABORT:
            sb = QMessageBox::Abort;
            break;
        case IDRETRY:
            sb = QMessageBox::Retry;
            break;
        case IDIGNORE:
            sb = QMessageBox::Ignore;
            break;
        case IDYES:
            sb = QMessageBox::Yes;
            break;
        case IDNO:
            sb = QMessageBox::No;
            break;
        default:
            break;
        }
        QAbstractButton* b = box.addButton(sb);
        buttons.emplace_back(b, id);
        if (id == defaultId) box.setDefaultButton(static_cast<QPushButton*>(b));
    }
    // A box without a Cancel button would let Qt take Escape and the close
    // button for its No; closing such a box is no answer at all.
    if (type == MB_YESNO || type == MB_ABORTRETRYIGNORE) {
        QPushButton* none = box.addButton(QString(), QMessageBox::RejectRole);
        none->hide();
        box.setEscapeButton(none);
    }
    box.exec();
    for (auto& [b, id] : buttons)
        if (box.clickedButton() == b) return id;
    return kButtons[type][1] ? IDCANCEL : defaultId;
}

String TApplication::GetTitle() const {
    if (!FTitle.empty()) return FTitle;
    return ChangeFileExt(ExtractFileName(GetExeName()), u"");
}

String TApplication::GetExeName() const {
    return FromQString(QCoreApplication::applicationFilePath());
}

void TApplication::SetShowHint(bool Value) {
    FShowHint = Value;
}

TTimerClock* TApplication::GetClock() const {
    return FClock;
}

void TApplication::SetClock(TTimerClock* Clock) {
    TTimerClock* next = Clock ? Clock : FRealClock.get();
    if (next == FClock) return;
    TTimerClock* old = FClock;
    FClock = next;
    MoveTimersToClock(old, next);
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FMainForm) FMainForm = nullptr;
}

// ---------------------------------------------------------------------------
// TScreen

const ClassInfo& TScreen::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TScreen>("TScreen", &TComponent::StaticClass());
    return ci;
}

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {
    EnsureQtApplication();
}

TScreen::~TScreen() {
    if (FCursor != crDefault) QApplication::restoreOverrideCursor();
}

void TScreen::SetCursor(TCursor Value) {
    if (Value == FCursor) return;
    if (Value == crDefault)
        QApplication::restoreOverrideCursor();
    else if (FCursor == crDefault)
        QApplication::setOverrideCursor(ToQtCursor(Value));
    else
        QApplication::changeOverrideCursor(ToQtCursor(Value));
    FCursor = Value;
}

TCursor TScreen::GetCursors(int Index) const {
    for (const auto& [index, shape] : FCursors)
        if (index == Index) return shape;
    return static_cast<TCursor>(Index);
}

void TScreen::SetCursors(int Index, TCursor Shape) {
    for (auto& [index, shape] : FCursors)
        if (index == Index) {
            shape = Shape;
            return;
        }
    FCursors.emplace_back(Index, Shape);
}

int TScreen::GetWidth() const {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 0;
}

int TScreen::GetHeight() const {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 0;
}

TRect TScreen::GetWorkAreaRect() const {
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return {};
    const QRect r = s->availableGeometry();
    return Bounds(r.x(), r.y(), r.width(), r.height());
}

namespace {
std::vector<TCustomForm*> AllForms() {
    std::vector<TCustomForm*> forms;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = dynamic_cast<TCustomForm*>(ControlOfWidgetExact(w))) forms.push_back(f);
    return forms;
}
} // namespace

int TScreen::GetFormCount() const {
    return static_cast<int>(AllForms().size());
}

TCustomForm* TScreen::GetForm(int Index) const {
    const auto forms = AllForms();
    if (Index < 0 || Index >= static_cast<int>(forms.size()))
        throw EListError(u"List index out of bounds (%d)", {Index});
    return forms[static_cast<std::size_t>(Index)];
}

TCustomForm* TScreen::GetActiveForm() const {
    QWidget* w = QApplication::activeWindow();
    return w ? dynamic_cast<TCustomForm*>(ControlOfWidgetExact(w)) : nullptr;
}

TWinControl* TScreen::GetActiveControl() const {
    QWidget* w = QApplication::focusWidget();
    return w ? WinControlOf(w) : nullptr;
}

// ---------------------------------------------------------------------------
// The Qt application object and the unit

namespace gui_detail {

namespace {
// Made on first need and kept to the end of the process: destroying it from
// an exit handler, after other statics are gone, is not safe.
QApplication* gQtApp = nullptr;
int gArgc = 1;
char gArg0[] = "moltren";
char* gArgv[] = {gArg0, nullptr};
} // namespace

bool Headless() {
    return QGuiApplication::platformName() == QLatin1String("offscreen") ||
           QGuiApplication::platformName() == QLatin1String("minimal");
}

void EnsureQtApplication() {
    if (QCoreApplication::instance()) return;
    gQtApp = new QApplication(gArgc, gArgv);
    // Qt sets every category of the C locale from the environment. C
    // libraries (the workbook writer among them) format numbers with printf,
    // and file formats want dots: numbers stay "C" for the whole process, and
    // the locale's own number settings are read apart from it.
    std::setlocale(LC_NUMERIC, "C");
    // The program's windows speak the system's language; Qt's buttons and
    // dialogs inside them must too.
    InstallQtTranslations(QLocale::system());
}

void InstallQtTranslations(const QLocale& Locale) {
    static QTranslator* installed = nullptr;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(Locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;
    QCoreApplication::installTranslator(translator.get());
    installed = translator.release();
}

} // namespace gui_detail

void RegisterGuiClasses() {
    RegisterClasses({&TForm::StaticClass()});
    RegisterStdCtrlsClasses();
    RegisterExtCtrlsClasses();
    RegisterMenusClasses();
    RegisterActnListClasses();
    RegisterImgListClasses();
    RegisterComCtrlsClasses();
    RegisterGridsClasses();
    RegisterButtonsClasses();
    RegisterDialogsClasses();
    RegisterCheckLstClasses();
}

void InitFormsUnit() {
    EnsureQtApplication();
    RegisterGuiClasses();
    if (!Mouse) Mouse = new TMouse;
    if (!Application) Application = new TApplication(nullptr);
    if (!Screen) Screen = new TScreen(nullptr);
    if (!gAppFilter) {
        gAppFilter = new AppFilter;
        qApp->installEventFilter(gAppFilter);
        gFocusConnection = QObject::connect(qApp, &QApplication::focusChanged, FocusChanged);
    }
    SetBeepHandler([] { QApplication::beep(); });
    // Calls posted for the main thread run from the event loop.
    SetWakeMainThreadHook([] {
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app,
                [] {
                    try {
                        CheckSynchronize();
                    } catch (...) {
                        HandleCurrentException(Application);
                    }
                },
                Qt::QueuedConnection);
    });
}

void DoneFormsUnit() {
    SetWakeMainThreadHook({});
    SetBeepHandler({});
    if (Application) {
        TApplication* app = Application;
        app->Free();
        Application = nullptr;
    }
    if (Screen) {
        TScreen* s = Screen;
        s->Free();
        Screen = nullptr;
    }
    delete Mouse;
    Mouse = nullptr;
}
