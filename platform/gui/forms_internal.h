#pragma once
// What the parts of the forms unit share among themselves: the real clock,
// key translation, the application's key and focus filter.

#include "platform/gui/forms.h"

#include <memory>

class QKeyEvent;
class QObject;

namespace gui_detail {

// Timers on the Qt event loop: the application's clock unless a test sets
// another.
std::unique_ptr<TTimerClock> MakeRealClock();

// The virtual key of a key event; 0 for a key that has none.
Word VirtualKeyOf(const QKeyEvent* Event);

// The windowed control that an object (a widget or one of its inner widgets)
// belongs to, or nullptr.
TWinControl* WinControlOf(const QObject* Object);

// Routes every key to shortcuts, the focused control and the default and
// cancel buttons, and tells forms where the focus went; installed once.
void InstallFormsFilter();

} // namespace gui_detail
