#pragma once
// Helpers of the tests that run on a real X server (tests/support/on-xvfb
// starts one): the window is made the server's input focus, keys are typed
// through the server by XTEST (xdotool), as a keyboard would, and pictures of
// the screen are read back from the server.

#include "tests/support/guiprobe.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace xserver {

// Shows the window on the server and gives it the input focus; true once the
// GUI sees it active.
bool Activate(QWidget* window);
bool Activate(const TControl& form);
// Puts the keyboard focus on a widget of the active window; a control takes
// it where tabbing to it puts it (a radio group's first button, say).
bool Focus(QWidget* widget);
bool Focus(const TControl& control);
// Types keys in xdotool's notation ("ctrl+r", "F1", "Return") into the window
// that has the server's input focus, and lets the program handle them.
bool Type(const std::string& keys);
// Types Tab from the first control of Order (which has the focus) to the last, then Shift+Tab
// back, and expects the focus on each control of the way in turn.
void ExpectTabWalk(const std::vector<const TWinControl*>& order);
// Moves the pointer over a client point of the control and turns the wheel by Notches
// (negative: towards the user) through the server, as a mouse does.
bool Wheel(const TControl& control, TPoint at, int notches);
// Moves the pointer over a client point of the control and clicks the left button there
// Clicks times (2: a double-click) through the server, as a mouse does, with the keys Held
// ("ctrl", "shift") held down meanwhile.
bool Click(const TControl& control, TPoint at, int clicks = 1, const std::string& held = {});
// Moves the pointer over a client point of the control through the server, as a mouse does
// (the control it leaves hears it leave, the one it enters hears it enter).
bool Move(const TControl& control, TPoint at);
// Presses the left button over one client point of the control, moves the pointer in
// steps to another and releases it there, through the server.
bool Drag(const TControl& control, TPoint from, TPoint to);
// Moves the pointer over a client point of the control and presses the left button there,
// and lets it go again wherever the pointer is, through the server.
bool Press(const TControl& control, TPoint at);
bool Release();
// Whether the window manager stacks the upper form's window above the lower one's.
bool Above(const TControl& upper, const TControl& lower);
// Switches the server's keyboard layout ("us", "ru"), as an operator does.
bool SetLayout(const std::string& layout);
// What the server shows of a widget or a control now.
probe::Picture Picture(QWidget* widget);
probe::Picture Picture(const TControl& control);
// Keeps a picture for a person to look at: in the directory named by
// MOLTREN_SHOTS_DIR, or beside the tests.
void Keep(const probe::Picture& picture, const std::string& name);

// Once a file dialog comes up (within five seconds), puts the names it lists in Names (folders and
// files, sorted) when it has read its folder, keeps its picture under Name and closes it as Cancel
// does. Given a Folder, the dialog goes there first, as when the operator types its path. Called
// before the code that shows the dialog; Names must outlive the dialog.
void ListFileDialogOnceShown(std::vector<std::string>& Names, const std::string& Name,
                             const std::filesystem::path& Folder = {});

// Columns of a window's title bar, as the window manager draws it, that hold light pixels
// (letters, icon, buttons); for a title, those of an active window wide enough for any title:
// a window shows fewer when the window manager shortens its title to fit.
int TitleBarColumns(QWidget* window);
int TitleBarColumns(const std::string& title);

// Puts a window manager (openbox) on the server, as on an operator's desktop: windows get
// frames and the focus as it gives it, a click raises a window. Started on the first call, it
// stays to the end of the process, so that no test meets one half gone or half started. False
// when the machine has no openbox or it did not take the server in five seconds.
bool RunWindowManager();

// A test program of windows on an operator's desktop registers this: the window manager takes
// the server before its first window, as one started over windows that came and went before it
// may leave the next one unshown.
class DesktopEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        probe::EnsureApplication();
        RunWindowManager();
    }
};

// While it lives, Qt's own settings file, where a file dialog keeps its state as it closes, lies in
// a folder of the test's own instead of the user's home.
class OwnQtSettings {
public:
    OwnQtSettings();
    ~OwnQtSettings();
    OwnQtSettings(const OwnQtSettings&) = delete;
    OwnQtSettings& operator=(const OwnQtSettings&) = delete;

private:
    TempDir FDir{"moltren-qtsettings"};
};

// Watches for modal boxes (message boxes, modal forms) while the object lives: each one that
// appears is noted and, once it has the input focus, gets the keys Answer gives for it by its
// number (1 for the first); an empty answer closes it without a key.
class ModalBoxes {
public:
    struct Box {
        std::string title;
        int width = 0;      // of its client area
        int titleWidth = 0; // of its title in the application's font
    };
    explicit ModalBoxes(std::function<std::string(int)> answer);
    ~ModalBoxes();
    ModalBoxes(const ModalBoxes&) = delete;
    ModalBoxes& operator=(const ModalBoxes&) = delete;
    const std::vector<Box>& Seen() const { return seen_; }
    // Forgets the boxes seen: the next one is number 1 again.
    void Forget() { seen_.clear(); }
    // Runs the event loop until no box is open and no keys are on their way (five seconds at
    // most), then a moment more for whatever the keys set going.
    bool WaitUntilClosed();

private:
    struct Watch;
    std::function<std::string(int)> answer_;
    std::vector<Box> seen_;
    std::unique_ptr<Watch> watch_;
};

} // namespace xserver
