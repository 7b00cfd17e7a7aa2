#include "platform/gui/deferred.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

void DeferCall(TControl* Control, std::function<void()> Proc) {
    // The control's widget goes with the control, so a call outliving it finds a null pointer.
    QPointer<QWidget> alive = Control->Widget();
    QTimer::singleShot(0, qApp, [alive, Proc = std::move(Proc)] {
        if (alive) Proc();
    });
}
