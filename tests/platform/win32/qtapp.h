#pragma once
// Tests that measure or draw text need a Qt application object (fonts); one is
// made on first use unless the program's own start-up made one already.
#include <QCoreApplication>

template <class App>
void EnsureQtApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "moltren-tests";
    static char* argv[] = {name, nullptr};
    // Kept to the end of the process: Qt's own exit routines still use it.
    static App* app = new App(argc, argv);
    (void)app;
}
