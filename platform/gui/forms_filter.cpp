// The application's filter: every key of every form passes here first.
#include "platform/gui/forms_internal.h"
#include "platform/gui/menus.h"
#include "platform/gui/qtbridge.h"
#include "platform/gui/stdctrls.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <QWidget>

using namespace gui_detail;

// Keys and focus, for every form: shortcuts first (menu, then action lists),
// then the form's preview, then the control; Return and Escape press the
// default and cancel buttons.

namespace {

// Whether a standard widget uses Tab itself: a memo that keeps tabs, a list that moves between cells.
bool TakesTabs(const QObject* widget) {
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(widget)) return !text->tabChangesFocus();
    if (const auto* text = qobject_cast<const QTextEdit*>(widget)) return !text->tabChangesFocus();
    if (const auto* view = qobject_cast<const QAbstractItemView*>(widget)) return view->tabKeyNavigation();
    return false;
}

// Whether a widget is an editor opened in place over an item of a tree, list or grid (the view's
// own, or a control laid over the view): every widget inside an item view but its viewport.
bool InPlaceEditor(const QObject* watched) {
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (!widget || widget->isWindow() || qobject_cast<const QAbstractItemView*>(widget)) return false;
    for (const QWidget* w = widget->parentWidget(); w; w = w->isWindow() ? nullptr : w->parentWidget())
        if (const auto* view = qobject_cast<const QAbstractItemView*>(w)) return widget != view->viewport();
    return false;
}

// A key that no shortcut of its own window takes is the main window's, from any window the program
// shows beside it; a modal window keeps its keys, as the main window is disabled while it is up.
bool MainFormShortCut(TCustomForm* form, TShortCut shortCut) {
    TCustomForm* main = Application ? Application->GetMainForm() : nullptr;
    if (!main || main == form || !main->GetEnabled() || form->IsModal() || QApplication::activeModalWidget())
        return false;
    return main->IsShortCut(shortCut);
}

class AppFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type t = event->type();
        if (t != QEvent::KeyPress && t != QEvent::KeyRelease) return false;
        auto* ke = static_cast<QKeyEvent*>(event);
        if (resending_) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && t == QEvent::KeyPress) pressedIn_[ke->key()] = widget->window();
        // A key from the window system reaches the top-level window first and
        // is then forwarded, as the same event, to the focused widget; only a
        // widget of a control counts. A key the widget ignores travels up the
        // widget parents: it is handled once, by the first control.
        TWinControl* control = WinControlOf(watched);
        if (!control) return false;
        TCustomForm* form = dynamic_cast<TCustomForm*>(control);
        if (!form) form = GetParentForm(control);
        if (!form) return false;
        // A key's release belongs to the window its press went to: the release of a key that
        // closed a box, or opened this window, reaches no control here.
        if (t == QEvent::KeyRelease && widget && pressedIn_.value(ke->key()) != widget->window()) return true;
        if (ke == last_ && ke->timestamp() == lastStamp_ && t == lastType_) return false;
        Remember(ke);
        bool swallow = false;
        bool failed = true;
        Guarded(control, [&] {
            swallow = t == QEvent::KeyPress ? Press(watched, ke, control, form) : Release(ke, control);
            failed = false;
        });
        // A handler may have run a loop of its own (a modal form, the box showing its exception)
        // whose keys came here: this key is still the one handled when the parents are offered it.
        Remember(ke);
        // A key whose handler failed does nothing more: the exception has been shown.
        return swallow || failed;
    }

private:
    bool Press(QObject* watched, QKeyEvent* ke, TWinControl* control, TCustomForm* form) {
        const Word vk = VirtualKeyOf(ke);
        const TShiftState shift = ShiftOf(ke->modifiers());
        // Whoever moves the focus for Tab follows the window's chain: it is brought into the tab
        // order first if that has changed.
        if (vk == VK_TAB) control->UpdateTabChain();
        if (vk != 0 && (form->IsShortCut(ShortCut(vk, shift)) || MainFormShortCut(form, ShortCut(vk, shift))))
            return true;
        Word key = vk;
        if (vk != 0 && control->HandleKeyDown(key, shift)) return true;
        // Tab moves the focus before the key filter of a standard control sees a character; a
        // control that draws itself takes its keys and says which ones it leaves to the focus.
        if (key == VK_TAB && !dynamic_cast<TCustomControl*>(control) && !TakesTabs(watched) &&
            !shift.Contains(ssCtrl) && !shift.Contains(ssAlt))
            return false;
        // A dropped list (a combo box's, a picker's calendar) is a popup of its control: Return
        // takes its item and Escape closes it, and neither reaches the form's buttons.
        const auto* widget = qobject_cast<const QWidget*>(watched);
        if ((key == VK_RETURN || key == VK_ESCAPE) && widget && widget->window()->windowType() == Qt::Popup)
            return false;
        // An editor in place over a node, a row or a cell ends its editing with them: the form's
        // default and cancel buttons never hear them either.
        const bool inPlace = InPlaceEditor(watched);
        if (key == VK_RETURN && !inPlace && !control->WantsReturns() && shift.Empty()) {
            if (auto* button = dynamic_cast<TButton*>(control)) {
                button->Click();
                return true;
            }
            if (TButton* b = form->FindDefaultButton(false)) {
                b->Click();
                return true;
            }
        }
        if (key == VK_ESCAPE && !inPlace && shift.Empty())
            if (TButton* b = form->FindDefaultButton(true)) {
                b->Click();
                return true;
            }
        const QString text = ke->text();
        if (text.isEmpty()) return false;
        Char ch = text.at(0).unicode();
        const Char original = ch;
        if (control->HandleKeyPress(ch)) return true;
        if (ch != original) {
            // The handler changed the character: the widget gets the new one.
            QKeyEvent changed(QEvent::KeyPress, ke->key(), ke->modifiers(), QString(QChar(ch)));
            resending_ = true;
            QCoreApplication::sendEvent(watched, &changed);
            resending_ = false;
            return true;
        }
        return false;
    }

    static bool Release(QKeyEvent* ke, TWinControl* control) {
        Word key = VirtualKeyOf(ke);
        if (key == 0) return false;
        return control->HandleKeyUp(key, ShiftOf(ke->modifiers()));
    }

    void Remember(const QKeyEvent* ke) {
        last_ = ke;
        lastStamp_ = ke->timestamp();
        lastType_ = ke->type();
    }

    // The window each key last went down in, by key.
    QHash<int, QPointer<QWidget>> pressedIn_;
    const QKeyEvent* last_ = nullptr;
    quint64 lastStamp_ = 0;
    QEvent::Type lastType_ = QEvent::None;
    bool resending_ = false;
};

AppFilter* gAppFilter = nullptr;
QMetaObject::Connection gFocusConnection;

void FocusChanged(QWidget*, QWidget* now) {
    if (!now) return; // the window lost activation: no control exits
    TWinControl* control = WinControlOf(now);
    if (!control) return;
    TCustomForm* form = dynamic_cast<TCustomForm*>(control);
    if (!form) form = GetParentForm(control);
    if (!form || form == control) return;
    Guarded(control, [&] { form->HandleFocusedControl(control); });
}

} // namespace

void gui_detail::InstallFormsFilter() {
    if (gAppFilter) return;
    gAppFilter = new AppFilter;
    qApp->installEventFilter(gAppFilter);
    gFocusConnection = QObject::connect(qApp, &QApplication::focusChanged, FocusChanged);
}
