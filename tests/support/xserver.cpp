#include "tests/support/xserver.h"

#include "tests/support/childprocess.h"

#include <QAbstractItemView>
#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// Counts what the server sends the program that tells of keys and focus, whichever of its
// windows it went to.
class ServerEvents : public QAbstractNativeEventFilter {
public:
    ServerEvents() { QCoreApplication::instance()->installNativeEventFilter(this); }
    ~ServerEvents() override { QCoreApplication::instance()->removeNativeEventFilter(this); }
    ServerEvents(const ServerEvents&) = delete;
    ServerEvents& operator=(const ServerEvents&) = delete;
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        const int kind = static_cast<const xcb_generic_event_t*>(message)->response_type & 0x7f;
        if (kind == XCB_KEY_RELEASE) ++keysReleased;
        if (kind == XCB_FOCUS_IN || kind == XCB_FOCUS_OUT) ++focusChanges;
        return false;
    }
    int keysReleased = 0;
    int focusChanges = 0;
};

// The keys of a sequence in xdotool's notation, "ctrl+e Return" being two.
int KeysIn(const std::string& keys) {
    int n = 0;
    bool inKey = false;
    for (const char c : keys) {
        if (c != ' ' && !inKey) ++n;
        inKey = c != ' ';
    }
    return n;
}

std::string KeysCommand(const std::string& keys) {
    return "xdotool key --clearmodifiers --delay 30 " + keys;
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

bool ActivateOnce(QWidget* window) {
    window->show();
    window->raise();
    if (!WaitFor([&] { return window->windowHandle() && window->windowHandle()->isExposed(); })) return false;
    window->activateWindow();
    const auto active = [&] { return QGuiApplication::focusWindow() == window->windowHandle(); };
    if (probe::WaitFor(active, 1000)) return true;
    // A window manager may keep the focus where the operator last put it: it is asked as a
    // task bar would ask it.
    const std::string id = std::to_string(window->winId());
    RunWhilePumping("xdotool windowactivate " + id);
    if (probe::WaitFor(active, 1000)) return true;
    // One just started may not yet hear such asks: the server is told directly.
    RunWhilePumping("xdotool windowraise " + id + " windowfocus " + id);
    return WaitFor(active);
}

} // namespace

bool Activate(QWidget* window) {
    // A loaded window manager may still act on earlier requests and move the focus to another
    // window and back; the window counts as active once the focus stays put.
    ServerEvents events;
    QElapsedTimer since;
    since.start();
    while (!since.hasExpired(5000)) {
        if (!ActivateOnce(window)) return false;
        const int changes = events.focusChanges;
        Settle();
        if (events.focusChanges == changes && QGuiApplication::focusWindow() == window->windowHandle())
            return true;
    }
    return false;
}

bool Activate(const TControl& form) {
    return Activate(form.Widget());
}

bool Focus(QWidget* widget) {
    if (!widget->isActiveWindow() && !Activate(widget->window())) return false;
    widget->setFocus(Qt::TabFocusReason);
    return WaitFor([&] { return widget->hasFocus(); });
}

bool Focus(const TControl& control) {
    QWidget* w = control.Widget();
    return w != nullptr && Focus(FocusTarget(w));
}

bool Type(const std::string& keys) {
    ServerEvents events;
    if (RunWhilePumping(KeysCommand(keys)) != 0) return false;
    // A loaded server may pass the keys on well after xdotool has ended. A release can also go
    // astray for good (the window it was meant for closed by the key's press), so the wait is
    // bounded and not a failure.
    const int typed = KeysIn(keys);
    probe::WaitFor([&] { return events.keysReleased >= typed; }, 2000);
    Settle();
    return true;
}

void ExpectTabWalk(const std::vector<const TWinControl*>& order) {
    for (std::size_t i = 1; i < order.size(); ++i) {
        ASSERT_TRUE(Type("Tab"));
        EXPECT_TRUE(order[i]->Focused()) << "Tab " << i;
    }
    for (std::size_t i = order.size() - 1; i > 0; --i) {
        ASSERT_TRUE(Type("shift+Tab"));
        EXPECT_TRUE(order[i - 1]->Focused()) << "Shift+Tab " << i;
    }
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

bool Click(const TControl& control, TPoint at, int clicks, const std::string& held) {
    const TPoint p = control.ClientToScreen(at);
    // No --sync: it waits for the pointer to move, forever when it is already there.
    std::string command =
        "xdotool mousemove " + std::to_string(p.X) + " " + std::to_string(p.Y) + " sleep 0.1";
    if (!held.empty()) command += " keydown " + held;
    command += " click --repeat " + std::to_string(clicks) + " --delay 80 1";
    if (!held.empty()) command += " keyup " + held;
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

bool Press(const TControl& control, TPoint at) {
    const TPoint p = control.ClientToScreen(at);
    if (RunWhilePumping("xdotool mousemove " + std::to_string(p.X) + " " + std::to_string(p.Y) +
                        " sleep 0.1 mousedown 1") != 0)
        return false;
    Settle();
    return true;
}

bool Release() {
    if (RunWhilePumping("xdotool mouseup 1") != 0) return false;
    Settle();
    return true;
}

bool Above(const TControl& upper, const TControl& lower) {
    // The window manager's list of its windows, bottom to top.
    FILE* out = popen("xprop -root _NET_CLIENT_LIST_STACKING 2>/dev/null", "r");
    if (!out) return false;
    std::string text;
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, out)) text += chunk;
    pclose(out);
    const auto place = [&text](const TControl& c) {
        QWidget* w = c.Widget() ? c.Widget()->window() : nullptr;
        if (!w) return std::string::npos;
        char id[32];
        std::snprintf(id, sizeof id, "0x%llx", static_cast<unsigned long long>(w->winId()));
        for (std::size_t at = text.find(id); at != std::string::npos; at = text.find(id, at + 1)) {
            const std::size_t end = at + std::strlen(id);
            if (end == text.size() || !std::isxdigit(static_cast<unsigned char>(text[end]))) return at;
        }
        return std::string::npos;
    };
    const std::size_t up = place(upper);
    const std::size_t low = place(lower);
    return up != std::string::npos && low != std::string::npos && up > low;
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

namespace {

void ListFileDialogWhenShown(std::vector<std::string>& Names, const std::string& Name,
                             const std::filesystem::path& Folder, int Tries) {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
        // Not up yet: looked for again from the event loop, which then runs the code showing it.
        if (Tries > 0)
            QTimer::singleShot(50, [&Names, Name, Folder, Tries] {
                ListFileDialogWhenShown(Names, Name, Folder, Tries - 1);
            });
        return;
    }
    if (!Folder.empty()) dialog->setDirectory(QString::fromStdString(Folder.string()));
    const auto* view = dialog->findChild<QAbstractItemView*>(QStringLiteral("listView"));
    // The folder is read in the background, its names coming in a moment after the folder.
    WaitFor([&] { return view && view->model()->rowCount(view->rootIndex()) > 0; });
    probe::WaitFor([] { return false; }, 300);
    for (int i = 0; view && i < view->model()->rowCount(view->rootIndex()); ++i)
        Names.push_back(view->model()->index(i, 0, view->rootIndex()).data().toString().toStdString());
    std::sort(Names.begin(), Names.end());
    Keep(Picture(dialog), Name);
    dialog->reject();
}

} // namespace

void ListFileDialogOnceShown(std::vector<std::string>& Names, const std::string& Name,
                             const std::filesystem::path& Folder) {
    ListFileDialogWhenShown(Names, Name, Folder, 100);
}

bool RunWindowManager() {
    // Its settings and its log go to a folder of the tests' own, not to the user's home.
    static const TempDir own("moltren-openbox");
    static const std::unique_ptr<ChildProcess> process = []() -> std::unique_ptr<ChildProcess> {
        const char* program = "/usr/bin/openbox";
        if (access(program, X_OK) != 0) return nullptr;
        auto started = std::make_unique<ChildProcess>(
            "/usr/bin/env", std::vector<std::string>{"XDG_CONFIG_HOME=" + (own.path / "config").string(),
                                                     "XDG_CACHE_HOME=" + (own.path / "cache").string(),
                                                     program, "--sm-disable"});
        if (!started->Started()) return nullptr;
        // A window manager names its check window on the root once it manages the screen.
        if (!WaitFor([] {
                return RunWhilePumping(
                           "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'") == 0;
            }))
            return nullptr;
        // It names that window before it listens to windows asking to be shown, and one that
        // asks meanwhile stays unmapped: a window of its own is shown until the manager shows it.
        if (QApplication::instance()) {
            bool shown = false;
            for (int attempt = 0; attempt < 5 && !shown; ++attempt) {
                QWidget window;
                window.resize(40, 30);
                window.show();
                shown = probe::WaitFor([&] { return window.windowHandle()->isExposed(); }, 1000);
            }
            if (!shown) return nullptr;
        }
        return started;
    }();
    return process != nullptr;
}

namespace {
// The height of the window manager's title bar, as a window of the tests' own shows it (the
// frame of a window just shown is not always known at once).
int TitleBarHeight() {
    static const int height = [] {
        QWidget window;
        window.resize(200, 40);
        if (!Activate(&window)) return 0;
        probe::WaitFor([&] { return window.frameGeometry().top() + 4 <= window.geometry().top(); }, 5000);
        return window.geometry().top() - window.frameGeometry().top();
    }();
    return height;
}
} // namespace

int TitleBarColumns(QWidget* window) {
    const int bar = TitleBarHeight();
    Settle();
    if (bar < 4) return 0;
    const QPoint client = window->mapToGlobal(QPoint(0, 0));
    const QImage image =
        window->screen()->grabWindow(0, client.x(), client.y() - bar, window->width(), bar).toImage();
    // The middle rows skip the bar's edge highlights, which run its whole width.
    int columns = 0;
    for (int x = 0; x < image.width(); ++x)
        for (int y = bar / 4; y < bar * 3 / 4; ++y)
            if (QColor(image.pixel(x, y)).lightness() > 220) {
                ++columns;
                break;
            }
    return columns;
}

int TitleBarColumns(const std::string& title) {
    QWidget window;
    window.setWindowTitle(QString::fromStdString(title));
    window.resize(1000, 40);
    return Activate(&window) ? TitleBarColumns(&window) : 0;
}

struct ModalBoxes::Watch {
    QTimer timer;
    std::vector<QPointer<QWidget>> known;
    QPointer<QWidget> waiting;
    QElapsedTimer since;
    std::vector<std::future<int>> typing;
};

namespace {
void PointQtSettings(const QString& path) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
}
} // namespace

OwnQtSettings::OwnQtSettings() {
    PointQtSettings(QString::fromStdString(FDir.path.string()));
}

OwnQtSettings::~OwnQtSettings() {
    PointQtSettings(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

ModalBoxes::ModalBoxes(std::function<std::string(int)> answer)
    : answer_(std::move(answer)), watch_(std::make_unique<Watch>()) {
    QObject::connect(&watch_->timer, &QTimer::timeout, [this] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        for (const QPointer<QWidget>& k : watch_->known)
            if (k == box) {
                // Keys that did not close it: closed all the same, so that no test waits for ever.
                if (watch_->since.hasExpired(3000)) box->close();
                return;
            }
        // Keys reach it once the server gives it the input focus; one that never gets it is
        // closed all the same, so that no test waits for ever.
        if (watch_->waiting != box) {
            watch_->waiting = box;
            watch_->since.start();
        }
        const bool focused = box->isVisible() && QGuiApplication::focusWindow() == box->windowHandle();
        if (!focused && !watch_->since.hasExpired(3000)) return;
        watch_->known.emplace_back(box);
        watch_->since.start();
        seen_.push_back({box->windowTitle().toStdString(), box->width(),
                         QFontMetrics(box->font()).horizontalAdvance(box->windowTitle())});
        const std::string keys = answer_(static_cast<int>(seen_.size()));
        if (keys.empty() || !focused) {
            box->close();
            return;
        }
        const std::string command = KeysCommand(keys);
        watch_->typing.push_back(
            std::async(std::launch::async, [command] { return std::system(command.c_str()); }));
    });
    watch_->timer.start(20);
}

ModalBoxes::~ModalBoxes() {
    for (auto& t : watch_->typing) t.wait();
}

bool ModalBoxes::WaitUntilClosed() {
    const bool closed = WaitFor([this] {
        for (auto& t : watch_->typing)
            if (t.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) return false;
        return QApplication::activeModalWidget() == nullptr;
    });
    Settle();
    return closed && QApplication::activeModalWidget() == nullptr;
}

} // namespace xserver
