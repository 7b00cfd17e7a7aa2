#pragma once
// Private to the GUI half of the platform (and its tests): the seams between
// our class-library objects and Qt. Product code never includes this header.

#include "platform/core/system.h"

#include "platform/gui/controls.h"

#include <QColor>
#include <QCursor>
#include <QDateTime>
#include <QFont>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <QString>

#include <cstddef>
#include <vector>

class QWidget;
class QAbstractSlider;
class QKeyEvent;
class QEvent;
class QLocale;
class QMessageBox;
class TTimer;

inline QString ToQString(std::u16string_view s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}
inline String FromQString(const QString& q) {
    return String(reinterpret_cast<const char16_t*>(q.utf16()), static_cast<std::size_t>(q.size()));
}

// The size a picture file's header claims, read without decoding the picture; an invalid
// size when the header tells none. The rule of the largest picture (graphics.h) is applied to
// it before anything is made.
QSize ClaimedPictureSize(const void* Data, std::size_t Size, const char* Format);

namespace gui_detail {

// Moves a bar the operator sets a value with (a track bar, a scroll bar) for a key as the class
// library's bars move: Left, Up and Page Up towards the minimum, Right, Down and Page Down towards
// the maximum, Home and End to the ends. False, and the key left alone, for any other key.
bool TakeBarKey(QAbstractSlider& Bar, QKeyEvent* Event);

// Creates the Qt application object on first use (the GUI needs one before any
// widget exists); the forms unit owns it.
void EnsureQtApplication();
// Qt's own texts (standard buttons, file dialogs) in the language of the
// locale; English where Qt has no translation for it.
void InstallQtTranslations(const QLocale& Locale);

// True on the offscreen and minimal platforms, where nobody sees a window.
bool Headless();

// Makes a message box wide enough for the window manager to show its title whole.
void WidenToTitle(QMessageBox& Box);

// Which control a widget belongs to. A control registers its own widget and the
// inner widgets that receive input for it (viewports, line edits); lookups walk
// up the widget parents until a registered one is found.
void RegisterWidget(QObject* widget, TControl* control);
void UnregisterWidget(QObject* widget);
TControl* ControlOfWidget(const QObject* widget);
// The in-process drag (controls_drag.cpp): a press noted, moves and a release that belong
// to a drag, a control that goes away, and whether the last mouse event was the drag's.
void DragNotePress(TControl* Control, int X, int Y);
bool DragMouseMove(TControl* Control, int X, int Y);
bool DragMouseUp(TControl* Control, int X, int Y);
void DragControlGone(TControl* Control);
bool DragTakeConsumed();
TControl* ControlOfWidgetExact(const QObject* widget);
// Every control showing the cursor number shows its picture again (an animated cursor's
// picture changes under the same number).
void ShowCursorAgain(TCursor Cursor);

// Runs a handler coming from the Qt event loop: Qt must never see an
// exception, so anything thrown goes to the application object's handler.
void HandleCurrentException(TObject* sender);
template <class F>
void Guarded(TObject* sender, F&& f) {
    try {
        f();
    } catch (...) {
        HandleCurrentException(sender);
    }
}

// A control's own paint comes with the next paint event (self-painted controls only).
void MarkForPaint(QWidget* widget);

// The one event filter through which every control's widgets report to it.
QObject* ControlEventFilter();

TShiftState ShiftOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons = Qt::NoButton);
QColor ToQColor(TColor color);
// The face goes through the substitution of names this system lacks.
QFont ToQFont(const TFont& font);
// A cursor picture of the program's own when the screen's table holds one for the number,
// else the stock shape.
QCursor ToQtCursor(TCursor cursor);

// Days since 30 December 1899 with the time of day as the fraction.
QDateTime ToQDateTime(TDateTime value);
TDateTime FromQDateTime(const QDateTime& value);
// The class library's date and time patterns ("dd/mm/yyyy", "hh:nn:ss") in Qt's
// terms, "/" and ":" standing for the locale's separators.
QString ToQtDateFormat(const String& format, Char dateSeparator, Char timeSeparator);

} // namespace gui_detail

// A cursor made from a picture of the program's own. An animated one also holds its frames and
// the steps that show them in turn, each for its time; while the screen's cursor table holds it,
// a timer on the application's clock moves it from step to step (forms_screen.cpp).
struct TCursorPicture {
    explicit TCursorPicture(QCursor Shown = {});
    ~TCursorPicture();
    TCursorPicture(const TCursorPicture&) = delete;
    TCursorPicture& operator=(const TCursorPicture&) = delete;
    struct TStep {
        std::size_t Frame;
        unsigned Milliseconds;
    };
    QCursor Cursor; // the picture shown now
    std::vector<QCursor> Frames;
    std::vector<TStep> Steps;
    std::size_t Step = 0;
    Owned<TTimer> Timer;
};
