// The screen: its size, the cursor, the forms that exist and the active one.
#include "platform/gui/forms_internal.h"
#include "platform/gui/qtbridge.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

using namespace gui_detail;

// ---------------------------------------------------------------------------
// TScreen

const ClassInfo& TScreen::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TScreen>("TScreen", &TComponent::StaticClass());
    return ci;
}

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {
    EnsureQtApplication();
}

TScreen::~TScreen() {
    if (FCursor != crDefault) QApplication::restoreOverrideCursor();
}

void TScreen::SetCursor(TCursor Value) {
    if (Value == FCursor) return;
    if (Value == crDefault)
        QApplication::restoreOverrideCursor();
    else if (FCursor == crDefault)
        QApplication::setOverrideCursor(ToQtCursor(Value));
    else
        QApplication::changeOverrideCursor(ToQtCursor(Value));
    FCursor = Value;
}

TCursor TScreen::GetCursors(int Index) const {
    for (const auto& [index, shape] : FCursors)
        if (index == Index) return shape;
    return static_cast<TCursor>(Index);
}

void TScreen::SetCursors(int Index, TCursor Shape) {
    for (auto& [index, shape] : FCursors)
        if (index == Index) {
            shape = Shape;
            return;
        }
    FCursors.emplace_back(Index, Shape);
}

int TScreen::GetWidth() const {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 0;
}

int TScreen::GetHeight() const {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 0;
}

TRect TScreen::GetWorkAreaRect() const {
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return {};
    const QRect r = s->availableGeometry();
    return Bounds(r.x(), r.y(), r.width(), r.height());
}

namespace {
std::vector<TCustomForm*> AllForms() {
    std::vector<TCustomForm*> forms;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = dynamic_cast<TCustomForm*>(ControlOfWidgetExact(w))) forms.push_back(f);
    return forms;
}
} // namespace

int TScreen::GetFormCount() const {
    return static_cast<int>(AllForms().size());
}

TCustomForm* TScreen::GetForm(int Index) const {
    const auto forms = AllForms();
    if (Index < 0 || Index >= static_cast<int>(forms.size()))
        throw EListError(u"List index out of bounds (%d)", {Index});
    return forms[static_cast<std::size_t>(Index)];
}

TCustomForm* TScreen::GetActiveForm() const {
    QWidget* w = QApplication::activeWindow();
    return w ? dynamic_cast<TCustomForm*>(ControlOfWidgetExact(w)) : nullptr;
}

TWinControl* TScreen::GetActiveControl() const {
    QWidget* w = QApplication::focusWidget();
    return w ? WinControlOf(w) : nullptr;
}
