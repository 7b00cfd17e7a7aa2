// The application object: the main form, the event loop and its nested
// loops, exceptions shown to the user, message boxes, the timers' clock.
#include "platform/core/sysutils.h"
#include "platform/core/threads.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/forms_internal.h"
#include "platform/gui/qtbridge.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

using namespace gui_detail;

// ---------------------------------------------------------------------------
// TApplication

const ClassInfo& TApplication::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TApplication>("TApplication", &TComponent::StaticClass());
    return ci;
}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner), FRealClock(MakeRealClock()) {
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

void TApplication::BringToFront() {
    if (FMainForm) FMainForm->BringToFront();
}

void MessageBeep(UINT) {
    Beep();
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
    if (const TDialogResponder& responder = GetDialogResponder()) {
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
    WidenToTitle(box);
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

bool TApplication::HelpContext(int Context) {
    bool callHelp = true;
    return OnHelp && OnHelp(HELP_CONTEXT, Context, callHelp);
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
