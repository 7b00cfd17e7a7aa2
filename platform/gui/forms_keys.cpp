// Key translation: the virtual key of a Qt key event, and the control a key
// is meant for.
#include "platform/gui/forms_internal.h"
#include "platform/gui/qtbridge.h"

#include <QKeyEvent>
#include <QWidget>

namespace gui_detail {

Word VirtualKeyOf(const QKeyEvent* e) {
    const int k = e->key();
    if ((k >= Qt::Key_0 && k <= Qt::Key_9) || (k >= Qt::Key_A && k <= Qt::Key_Z)) return static_cast<Word>(k);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return static_cast<Word>(VK_F1 + (k - Qt::Key_F1));
    switch (k) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Pause:
        return VK_PAUSE;
    case Qt::Key_CapsLock:
        return VK_CAPITAL;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    default:
        break;
    }
    // A letter of another keyboard layout (Cyrillic with Ctrl held, say): the
    // key's position names the virtual key, as on the other system.
    static constexpr struct {
        quint32 scan;
        char key;
    } kLetters[] = {{24, 'Q'}, {25, 'W'}, {26, 'E'}, {27, 'R'}, {28, 'T'}, {29, 'Y'}, {30, 'U'},
                    {31, 'I'}, {32, 'O'}, {33, 'P'}, {38, 'A'}, {39, 'S'}, {40, 'D'}, {41, 'F'},
                    {42, 'G'}, {43, 'H'}, {44, 'J'}, {45, 'K'}, {46, 'L'}, {52, 'Z'}, {53, 'X'},
                    {54, 'C'}, {55, 'V'}, {56, 'B'}, {57, 'N'}, {58, 'M'}};
    for (const auto& l : kLetters)
        if (e->nativeScanCode() == l.scan) return static_cast<Word>(l.key);
    return 0;
}

TWinControl* WinControlOf(const QObject* o) {
    // A window of its own that is no control's (a message box over a form) keeps its keys and
    // its focus: they are not the form's.
    for (const QObject* w = o; w; w = w->parent()) {
        if (ControlOfWidgetExact(w)) break;
        const auto* widget = qobject_cast<const QWidget*>(w);
        if (widget && widget->isWindow() && widget->windowType() != Qt::Popup) return nullptr;
    }
    TControl* c = ControlOfWidget(o);
    while (c && !dynamic_cast<TWinControl*>(c)) c = c->GetParent();
    return static_cast<TWinControl*>(c);
}

} // namespace gui_detail
