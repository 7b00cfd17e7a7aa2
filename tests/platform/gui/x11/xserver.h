#pragma once
// Helpers of the tests that run on a real X server (tests/support/on-xvfb
// starts one): the window is made the server's input focus, keys are typed
// through the server by XTEST (xdotool), as a keyboard would, and pictures of
// the screen are read back from the server.

#include "tests/platform/gui/guitest.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <string>

namespace xserver {

// Runs the event loop until the condition holds or five seconds pass.
inline bool WaitFor(const std::function<bool()>& done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Runs the event loop while a command runs, so that the window answers the
// server meanwhile; the command's exit status.
inline int RunWhilePumping(const std::string& command) {
    auto done = std::async(std::launch::async, [command] { return std::system(command.c_str()); });
    while (done.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done.get();
}

// Shows the window on the server and gives it the input focus; true once Qt
// sees it active.
inline bool Activate(QWidget* window) {
    window->show();
    window->raise();
    if (!WaitFor([&] { return window->windowHandle() && window->windowHandle()->isExposed(); })) return false;
    window->activateWindow();
    return WaitFor([&] { return QGuiApplication::focusWindow() == window->windowHandle(); });
}

// Puts the keyboard focus on a widget of the active window.
inline bool Focus(QWidget* widget) {
    widget->setFocus(Qt::TabFocusReason);
    return WaitFor([&] { return widget->hasFocus(); });
}

// Types keys in xdotool's notation ("ctrl+r", "F1", "Return") into the window
// that has the server's input focus, and lets the program handle them.
inline bool Type(const std::string& keys) {
    if (RunWhilePumping("xdotool key --clearmodifiers --delay 30 " + keys) != 0) return false;
    // The server has sent the events; the program reads them from its
    // connection.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(150);
    while (std::chrono::steady_clock::now() < until)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return true;
}

// What the server shows of a widget now.
inline QImage Picture(QWidget* widget) {
    QCoreApplication::processEvents();
    const QPoint origin = widget->mapToGlobal(QPoint(0, 0));
    QScreen* screen = widget->screen();
    return screen->grabWindow(0, origin.x(), origin.y(), widget->width(), widget->height()).toImage();
}

// Keeps a picture for a person to look at: in the directory named by
// MOLTREN_SHOTS_DIR, or beside the tests.
inline void Keep(const QImage& image, const std::string& name) {
    const char* dir = std::getenv("MOLTREN_SHOTS_DIR");
    const std::filesystem::path path = std::filesystem::path(dir && *dir ? dir : "x11-shots");
    std::filesystem::create_directories(path);
    image.save(QString::fromStdString((path / (name + ".png")).string()));
}

} // namespace xserver
