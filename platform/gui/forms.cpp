// The forms unit's start-up: its globals, the class records of every control
// and the services the core leaves to the GUI (beep, waking the main thread).
#include "platform/gui/forms.h"

#include "platform/core/threads.h"
#include "platform/gui/forms_internal.h"
#include "platform/gui/guiclasses.h"
#include "platform/gui/qtbridge.h"
#include "platform/gui/splitter.h"
#include "platform/gui/treeview.h"

#include <QApplication>
#include <QSocketNotifier>

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

using namespace gui_detail;

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
    RegisterRadioButtonClasses();
    RegisterSplitterClass();
    RegisterTreeViewClass();
}

namespace {

// The notifier whose activation is being served: freeing it then waits until
// its signal has returned.
QSocketNotifier* gServedNotifier = nullptr;

// Main-thread watches run from the event loop through socket notifiers.
void HookMainThreadWatches() {
    TMainThreadWatchHooks hooks;
    hooks.Added = [](TMainThreadWatch* Watch) -> void* {
        auto* notifier = new QSocketNotifier(Watch->GetFd(), QSocketNotifier::Read);
        notifier->setEnabled(false);
        QObject::connect(notifier, &QSocketNotifier::activated, notifier, [Watch, notifier] {
            QSocketNotifier* outer = std::exchange(gServedNotifier, notifier);
            try {
                Watch->Ready();
            } catch (...) {
                HandleCurrentException(Application);
            }
            gServedNotifier = outer;
        });
        return notifier;
    };
    hooks.Enabled = [](void* Notifier, bool On) { static_cast<QSocketNotifier*>(Notifier)->setEnabled(On); };
    hooks.Removed = [](void* Notifier) {
        auto* notifier = static_cast<QSocketNotifier*>(Notifier);
        notifier->setEnabled(false);
        notifier->disconnect();
        if (notifier == gServedNotifier)
            notifier->deleteLater();
        else
            delete notifier;
    };
    SetMainThreadWatchHooks(std::move(hooks));
}

} // namespace

void InitFormsUnit() {
    EnsureQtApplication();
    RegisterGuiClasses();
    if (!Mouse) Mouse = new TMouse;
    if (!Application) Application = Create<TApplication>(nullptr);
    if (!Screen) Screen = Create<TScreen>(nullptr);
    InstallFormsFilter();
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
    HookMainThreadWatches();
}

void DoneFormsUnit() {
    ClearMainThreadWatchHooks();
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
