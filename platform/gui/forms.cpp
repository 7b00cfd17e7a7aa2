// The forms unit's start-up: its globals, the class records of every control
// and the services the core leaves to the GUI (beep, waking the main thread).
#include "platform/gui/forms.h"

#include "platform/core/threads.h"
#include "platform/gui/forms_internal.h"
#include "platform/gui/guiclasses.h"
#include "platform/gui/qtbridge.h"

#include <QApplication>

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
}

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
