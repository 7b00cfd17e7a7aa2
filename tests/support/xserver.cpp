#include "tests/support/xserver.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <string>

namespace xserver {

namespace {

// Runs the event loop until the condition holds or five seconds pass.
bool WaitFor(const std::function<bool()>& done) {
    return probe::WaitFor(done, 5000);
}

// Runs the event loop while a command runs, so that the window answers the
// server meanwhile; the command's exit status.
int RunWhilePumping(const std::string& command) {
    auto done = std::async(std::launch::async, [command] { return std::system(command.c_str()); });
    while (done.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done.get();
}

// The server has sent the events; the program reads them from its connection.
void Settle() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(150);
    while (std::chrono::steady_clock::now() < until)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Where tabbing to the widget puts the focus: itself, or its first child that
// takes the focus.
QWidget* FocusTarget(QWidget* widget) {
    if ((widget->focusPolicy() & Qt::TabFocus) != 0) return widget;
    for (QWidget* child : widget->findChildren<QWidget*>())
        if ((child->focusPolicy() & Qt::TabFocus) != 0) return child;
    return widget;
}

} // namespace

bool Activate(QWidget* window) {
    window->show();
    window->raise();
    if (!WaitFor([&] { return window->windowHandle() && window->windowHandle()->isExposed(); })) return false;
    window->activateWindow();
    return WaitFor([&] { return QGuiApplication::focusWindow() == window->windowHandle(); });
}

bool Activate(const TControl& form) {
    return Activate(form.Widget());
}

bool Focus(QWidget* widget) {
    widget->setFocus(Qt::TabFocusReason);
    return WaitFor([&] { return widget->hasFocus(); });
}

bool Focus(const TControl& control) {
    QWidget* w = control.Widget();
    return w != nullptr && Focus(FocusTarget(w));
}

bool Type(const std::string& keys) {
    if (RunWhilePumping("xdotool key --clearmodifiers --delay 30 " + keys) != 0) return false;
    Settle();
    return true;
}

bool Wheel(const TControl& control, TPoint at, int notches) {
    const TPoint p = control.ClientToScreen(at);
    // The server's buttons 4 and 5 are the wheel turned away from and towards the user.
    const std::string button = notches < 0 ? "5" : "4";
    const std::string command = "xdotool mousemove --sync " + std::to_string(p.X) + " " +
                                std::to_string(p.Y) + " click --repeat " + std::to_string(std::abs(notches)) +
                                " --delay 30 " + button;
    if (RunWhilePumping(command) != 0) return false;
    Settle();
    return true;
}

bool Click(const TControl& control, TPoint at, int clicks) {
    const TPoint p = control.ClientToScreen(at);
    // No --sync: it waits for the pointer to move, forever when it is already there.
    const std::string command = "xdotool mousemove " + std::to_string(p.X) + " " + std::to_string(p.Y) +
                                " sleep 0.1 click --repeat " + std::to_string(clicks) + " --delay 80 1";
    if (RunWhilePumping(command) != 0) return false;
    Settle();
    return true;
}

bool Move(const TControl& control, TPoint at) {
    const TPoint p = control.ClientToScreen(at);
    if (RunWhilePumping("xdotool mousemove " + std::to_string(p.X) + " " + std::to_string(p.Y) +
                        " sleep 0.1") != 0)
        return false;
    Settle();
    return true;
}

bool Drag(const TControl& control, TPoint from, TPoint to) {
    const TPoint a = control.ClientToScreen(from);
    const TPoint b = control.ClientToScreen(to);
    auto at = [](TPoint p) { return std::to_string(p.X) + " " + std::to_string(p.Y); };
    const TPoint mid((a.X + b.X) / 2, (a.Y + b.Y) / 2);
    const std::string command = "xdotool mousemove " + at(a) + " sleep 0.1 mousedown 1 sleep 0.1 mousemove " +
                                at(TPoint(a.X, a.Y + 8)) + " sleep 0.1 mousemove " + at(mid) +
                                " sleep 0.1 mousemove " + at(b) + " sleep 0.1 mouseup 1";
    if (RunWhilePumping(command) != 0) return false;
    Settle();
    return true;
}

bool SetLayout(const std::string& layout) {
    return RunWhilePumping("setxkbmap -layout " + layout) == 0;
}

probe::Picture Picture(QWidget* widget) {
    return probe::GrabScreen(widget);
}

probe::Picture Picture(const TControl& control) {
    return probe::GrabScreen(control);
}

void Keep(const probe::Picture& picture, const std::string& name) {
    const char* dir = std::getenv("MOLTREN_SHOTS_DIR");
    const std::filesystem::path path = std::filesystem::path(dir && *dir ? dir : "x11-shots");
    std::filesystem::create_directories(path);
    picture.SavePng(path / (name + ".png"));
}

} // namespace xserver
