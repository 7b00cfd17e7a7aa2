#pragma once
// Test helper for tests above the platform: looks at what the GUI shows (pixels,
// fonts, hints, masks) and acts as a user would (keys, clicks, choices), through
// the platform's public types only, so those tests compile without Qt.

#include "platform/gui/comctrls.h"
#include "platform/gui/controls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/graphics.h"
#include "platform/gui/stdctrls.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string_view>

namespace probe {

// Makes the GUI's application object unless one exists: tests that measure or
// draw text need it even when no form is made.
void EnsureApplication();

// Runs the event loop once, then until `done` holds or the bound passes.
void ProcessEvents();
bool WaitFor(const std::function<bool()>& done, int boundMs = 2000);
// Runs a nested event loop, as a modal box does, until `done` holds (bounded).
bool NestedLoopUntil(const std::function<bool()>& done, int boundMs = 3000);
// Runs `f` from the event loop as soon as it next turns.
void Later(std::function<void()> f);
// The desktop's colours change, as when the operator picks others, and come back: every
// control hears of both changes.
void ChangeDesktopColours();

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    // HSL lightness, 0..255.
    int Lightness() const;
    friend bool operator==(const Rgb&, const Rgb&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Rgb& c) {
        return os << "rgb(" << c.r << ", " << c.g << ", " << c.b << ")";
    }
};

// A picture taken of a control as the screen shows it, or of a bitmap.
class Picture {
public:
    Picture();
    ~Picture();
    Picture(Picture&&) noexcept;
    Picture& operator=(Picture&&) noexcept;

    int Width() const;
    int Height() const;
    Rgb Pixel(int x, int y) const;
    bool SavePng(const std::filesystem::path& file) const;
    // The darkest grey of any pixel (0 black .. 255 white): a control's text, in practice.
    int Darkest() const;
    friend bool operator==(const Picture& a, const Picture& b);
    // How many pixels of two pictures of one size differ.
    friend int DifferingPixels(const Picture& a, const Picture& b);

private:
    friend Picture Grab(const TControl& control);
    friend Picture Grab(TBitmap& bitmap);
    friend Picture GrabScreen(QWidget* widget);
    friend Picture ShownCursor(const TControl& control);
    friend Picture Overlay(const Picture& back, const Picture& front, TPoint at);
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

Picture Grab(const TControl& control);
Picture Grab(TBitmap& bitmap);
// What the window system's screen shows of the control (other windows on top included).
Picture GrabScreen(QWidget* widget);
Picture GrabScreen(const TControl& control);
Rgb Pixel(TBitmap& bitmap, int x, int y);
// The picture of the mouse cursor the control's window shows now (a picture of the program's
// own; empty for a stock shape).
Picture ShownCursor(const TControl& control);
// A pixel of a custom-drawn control's retained picture as last painted,
// without running the event loop.
Rgb Pixel(const TGraphicControl& control, int x, int y);
Rgb Pixel(const TCustomControl& control, int x, int y);

// Whether the control's window is shown on the screen.
bool Shown(const TControl& control);
// A point of `from`'s window in `to`'s window, and a window's origin on the screen.
TPoint MapTo(const TControl& from, const TControl& to, TPoint p);
TPoint ScreenOrigin(const TControl& control);
// The size of the control's window as the screen has it.
TPoint WindowSize(const TControl& control);
// The screen rectangle of the window holding the control with the frame a window manager gives it.
TRect FrameRect(const TControl& control);

// The text a date edit shows, and the client point where a click puts its
// caret before the character at `index`.
String DateText(const TDateTimePicker& picker);
TPoint DateCharacterAt(const TDateTimePicker& picker, int index);
// Whether the date edit's calendar is dropped down.
bool CalendarShown(const TDateTimePicker& picker);

// The room a check box's or a radio button's mark takes beside its caption (a radio group's
// buttons' for the group): the mark and the space after it.
int MarkRoom(const TControl& control);
// The face the screen draws the control's text in, after substitution.
String FontFamily(const TControl& control);
// Whether the machine has a face installed (tests that check faces skip,
// saying so, without it).
bool FontInstalled(const String& family);
// The hint the window system shows for the control.
String ToolTip(const TControl& control);
// Whether a window's shape (HWND) holds a point; an unshaped window holds none.
bool ShapeHolds(HWND window, TPoint p);
bool Shaped(HWND window);

// Sends a key press and release to the control's input surface as the
// keyboard would; `key` is a virtual key code.
void Key(const TControl& control, Word key, TShiftState shift = {});
// Types the characters into the control's input surface, each as a key
// press and release that carry it (Return for "\r", Tab for "\t").
void Type(const TControl& control, std::u16string_view text);
// Clicks a button control, or a radio group's button, with the mouse.
void Click(const TControl& button);
void Click(const TCustomRadioGroup& group, int index);
// A mouse button pressed, the mouse moved with it held, and the button
// released on the control's input surface, at client coordinates.
void MousePress(const TControl& control, TMouseButton button, TPoint at, TShiftState shift = {});
void MouseMoveTo(const TControl& control, TMouseButton held, TPoint at, TShiftState shift = {});
void MouseRelease(const TControl& control, TMouseButton button, TPoint at, TShiftState shift = {});
// Turns the wheel over the control at a client point by delta (120 = one notch away from the user).
void Wheel(const TControl& control, TPoint at, int delta, TShiftState shift = {});
// Chooses an item of a combo box's list as a user does.
void Choose(const TCustomComboBox& box, int index);
// Chooses a tab of a page control as a user does: the page control may refuse it.
void ChooseTab(const TTabSheet& sheet);
// The sheet a page control shows, its tab marked and its page on view; nullptr when the tab
// marked and the page on view are not of one sheet.
const TTabSheet* ShownPage(const TPageControl& pages);
// Clicks an item of a list box with the mouse (scrolled into view first).
void ClickItem(const TCustomListBox& list, int index);
// The front picture laid over a copy of the back one with its top-left at `at`.
Picture Overlay(const Picture& back, const Picture& front, TPoint at);

} // namespace probe
