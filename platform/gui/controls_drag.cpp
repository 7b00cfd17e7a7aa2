// Dragging inside the program: a control starts a drag from its mouse press; while the
// mouse moves, the control under it is asked whether it takes the drag (and the cursor
// says so); releasing the button over a control that takes it drops there.
#include "platform/gui/controls.h"
#include "platform/gui/forms.h"
#include "platform/gui/qtbridge.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>

#include <cstdlib>

using namespace gui_detail;

namespace {

constexpr int kDefaultThreshold = 5;

struct DragState {
    TControl* source = nullptr;
    bool started = false;
    int threshold = kDefaultThreshold;
    TPoint origin;              // where the mouse was pressed, in the source's client coordinates
    TControl* target = nullptr; // the control under the mouse
    TPoint targetPoint;
    bool accepted = false;
    bool cursorSet = false;
};

DragState gDrag;
// The last press, in client coordinates of the control pressed.
TControl* gPressed = nullptr;
TPoint gPressPoint;
// The mouse event just handled belonged to a drag: the widget must not see it.
bool gConsumed = false;

void SetDragCursor(bool accepted) {
    const QCursor cursor(accepted ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
    if (gDrag.cursorSet) {
        QGuiApplication::changeOverrideCursor(cursor);
    } else {
        QGuiApplication::setOverrideCursor(cursor);
        gDrag.cursorSet = true;
    }
}

void Finish() {
    if (gDrag.cursorSet) QGuiApplication::restoreOverrideCursor();
    gDrag = {};
}

// The control under a screen point and the point in its client coordinates.
TControl* ControlAt(const QPoint& global, TPoint& client) {
    QWidget* w = QApplication::widgetAt(global);
    TControl* c = w ? ControlOfWidget(w) : nullptr;
    if (!c) return nullptr;
    QWidget* surface = c->InputSurface();
    if (!surface) return nullptr;
    const QPoint p = surface->mapFromGlobal(global);
    client = TPoint(p.x(), p.y());
    return c;
}

void MoveTo(const QPoint& global) {
    TPoint p;
    TControl* target = ControlAt(global, p);
    TObject* source = gDrag.source;
    if (target != gDrag.target) {
        if (gDrag.target) {
            bool ignored = false;
            gDrag.target->DragOver(source, gDrag.targetPoint.X, gDrag.targetPoint.Y, dsDragLeave, ignored);
        }
        gDrag.target = target;
        gDrag.accepted = false;
        if (target) target->DragOver(source, p.X, p.Y, dsDragEnter, gDrag.accepted);
    } else if (target) {
        gDrag.accepted = false;
        target->DragOver(source, p.X, p.Y, dsDragMove, gDrag.accepted);
    }
    gDrag.targetPoint = p;
    if (gDrag.source) SetDragCursor(gDrag.accepted && gDrag.target);
}

QPoint GlobalOf(const TControl* control, int X, int Y) {
    QWidget* surface = control->InputSurface();
    return surface ? surface->mapToGlobal(QPoint(X, Y)) : QPoint(X, Y);
}

} // namespace

namespace gui_detail {

void DragNotePress(TControl* Control, int X, int Y) {
    gPressed = Control;
    gPressPoint = TPoint(X, Y);
}

bool DragMouseMove(TControl* Control, int X, int Y) {
    if (!gDrag.source || Control != gDrag.source) return false;
    if (!gDrag.started) {
        if (std::abs(X - gDrag.origin.X) < gDrag.threshold && std::abs(Y - gDrag.origin.Y) < gDrag.threshold)
            return false;
        gDrag.started = true;
    }
    MoveTo(GlobalOf(Control, X, Y));
    gConsumed = true;
    return true;
}

bool DragMouseUp(TControl* Control, int X, int Y) {
    if (!gDrag.source || Control != gDrag.source) return false;
    if (!gDrag.started) {
        // Released before it moved far enough: a plain click.
        Finish();
        return false;
    }
    MoveTo(GlobalOf(Control, X, Y));
    Control->EndDrag(true);
    gConsumed = true;
    return true;
}

void DragControlGone(TControl* Control) {
    if (gPressed == Control) gPressed = nullptr;
    if (gDrag.target == Control) gDrag.target = nullptr;
    if (gDrag.source == Control) Finish();
}

bool DragTakeConsumed() {
    const bool consumed = gConsumed;
    gConsumed = false;
    return consumed;
}

} // namespace gui_detail

void TControl::BeginDrag(bool Immediate, int Threshold) {
    Finish();
    gDrag.source = this;
    gDrag.threshold = Threshold < 0 ? kDefaultThreshold : Threshold;
    gDrag.origin = gPressed == this ? gPressPoint : TPoint();
    gDrag.started = Immediate;
}

void TControl::EndDrag(bool Drop) {
    if (gDrag.source != this) return;
    TControl* target = gDrag.started && Drop && gDrag.accepted ? gDrag.target : nullptr;
    const TPoint at = gDrag.targetPoint;
    Finish();
    if (target) target->DragDrop(this, at.X, at.Y);
}

bool TControl::Dragging() const {
    return gDrag.source == this && gDrag.started;
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    Accept = false;
    if (OnDragOver) {
        Accept = true;
        OnDragOver(this, Source, X, Y, State, Accept);
    }
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
    if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}
