#include "platform/gui/controls.h"

#include "platform/core/sysutils.h"
#include "platform/gui/actnlist.h"
#include "platform/gui/forms.h"
#include "platform/gui/menus.h"
#include "platform/gui/qtbridge.h"
#include "platform/win32/gdiqt.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <unordered_map>
#include <vector>

// ---------------------------------------------------------------------------
// Enumeration names

template <>
const EnumInfo& EnumInfoOf<TAlign>() {
    static const EnumInfo info{"TAlign",
                               {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TAnchorKind>() {
    static const EnumInfo info{"TAnchorKind", {"akLeft", "akTop", "akRight", "akBottom"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TMouseButton>() {
    static const EnumInfo info{"TMouseButton", {"mbLeft", "mbRight", "mbMiddle"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TShiftStateItem>() {
    static const EnumInfo info{"TShiftStateItem",
                               {"ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TFormBorderStyle>() {
    static const EnumInfo info{
        "TFormBorderStyle",
        {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
    return info;
}

namespace {

struct CursorName {
    std::int32_t value;
    std::string_view name;
};
constexpr CursorName kCursorNames[] = {
    {crDefault, "crDefault"},     {crNone, "crNone"},           {crArrow, "crArrow"},
    {crCross, "crCross"},         {crIBeam, "crIBeam"},         {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"},   {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},       {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},     {crNo, "crNo"},
    {crAppStart, "crAppStart"},   {crHelp, "crHelp"},           {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},
};

} // namespace

bool CursorToIdent(std::int32_t Cursor, std::string& Ident) {
    for (const CursorName& c : kCursorNames)
        if (c.value == Cursor) {
            Ident = c.name;
            return true;
        }
    return false;
}

bool IdentToCursor(std::string_view Ident, std::int32_t& Cursor) {
    for (const CursorName& c : kCursorNames)
        if (SameIdent(c.name, Ident)) {
            Cursor = c.value;
            return true;
        }
    return false;
}

void GetCursorValues(const std::function<void(const String& Name)>& Proc) {
    for (const CursorName& c : kCursorNames) Proc(IdentToString(c.name));
}

const IntIdentMap kCursorIdents{
    [](std::int64_t v, std::string& s) { return CursorToIdent(static_cast<std::int32_t>(v), s); },
    [](std::string_view s, std::int64_t& v) {
        std::int32_t c = 0;
        if (!IdentToCursor(s, c)) return false;
        v = c;
        return true;
    },
};

// ---------------------------------------------------------------------------
// Widget registry, event routing and exception guard

namespace gui_detail {

namespace {
std::unordered_map<const QObject*, TControl*>& Registry() {
    static std::unordered_map<const QObject*, TControl*> map;
    return map;
}

// Mouse events travel up the widget parents when a child does not take them;
// one event is reported to its control only once.
struct SeenEvent {
    QEvent::Type type = QEvent::None;
    quint64 timestamp = 0;
    QPointF global;
    bool Same(const QSinglePointEvent* e) const {
        return type == e->type() && timestamp == e->timestamp() && global == e->globalPosition();
    }
};
SeenEvent gLastMouse;

QWidget* ClientSurface(TControl* c) {
    return c->InputSurface();
}

class EventFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
            // A drag step taken by a direct call, outside any event, swallows no later event.
            DragTakeConsumed();
            Mouse(watched, static_cast<QMouseEvent*>(event));
            // The moves and the release of a drag are not the widget's.
            return DragTakeConsumed();
        case QEvent::Wheel:
            return Wheel(watched, static_cast<QWheelEvent*>(event));
        case QEvent::Enter:
        case QEvent::Leave:
            if (TControl* c = ControlOfWidgetExact(watched); c && c->Widget() == watched)
                Guarded(c, [&] {
                    if (event->type() == QEvent::Enter)
                        c->HandleMouseEnter();
                    else
                        c->HandleMouseLeave();
                });
            break;
        case QEvent::ApplicationPaletteChange:
            SysColorChange(watched);
            break;
        case QEvent::Show:
        case QEvent::Hide:
            if (TControl* c = ControlOfWidgetExact(watched); c && c->Widget() == watched)
                Guarded(c, [&] { c->HandleShowingChanged(); });
            break;
        case QEvent::Resize:
            if (TControl* c = ControlOfWidgetExact(watched); c && c->Widget() == watched) {
                auto* w = static_cast<QWidget*>(watched);
                Guarded(c, [&] { c->WidgetResized(w->width(), w->height()); });
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    // The desktop's colours reach only the windows: each tells the controls inside it, as
    // far as the next window, which hears of it itself.
    static void SysColorChange(QObject* watched) {
        auto* window = qobject_cast<QWidget*>(watched);
        if (!window || !window->isWindow()) return;
        std::vector<QPointer<QWidget>> widgets{window};
        for (std::size_t i = 0; i < widgets.size(); ++i)
            for (QWidget* child : widgets[i]->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (!child->isWindow()) widgets.emplace_back(child);
        for (const QPointer<QWidget>& w : widgets)
            if (TControl* c = w ? ControlOfWidgetExact(w) : nullptr; c && c->Widget() == w)
                Guarded(c, [&] { c->HandleSysColorChange(); });
    }

    // A wheel turn goes, like the buttons, to the innermost control under the mouse; a
    // handled turn goes no further up the parents.
    static bool Wheel(QObject* watched, QWheelEvent* e) {
        TControl* c = ControlOfWidget(watched);
        if (!c || gLastMouse.Same(e)) return false;
        gLastMouse = {e->type(), e->timestamp(), e->globalPosition()};
        const int delta = e->angleDelta().y();
        if (delta == 0) return false; // a sideways turn: nothing here takes it
        const QPoint g = e->globalPosition().toPoint();
        const TShiftState shift = ShiftOf(e->modifiers(), e->buttons());
        bool handled = false;
        Guarded(c, [&] { handled = c->HandleMouseWheel(shift, delta, TPoint(g.x(), g.y())); });
        return handled;
    }

    static void Mouse(QObject* watched, QMouseEvent* e) {
        TControl* c = ControlOfWidget(watched);
        if (!c || gLastMouse.Same(e)) return;
        const SeenEvent seen{e->type(), e->timestamp(), e->globalPosition()};
        gLastMouse = seen;
        // A handler that runs a loop of its own (a popup menu, a modal window)
        // sees other events meanwhile: this one is still the one handled when
        // the parents are offered it.
        const struct Restore {
            SeenEvent event;
            ~Restore() { gLastMouse = event; }
        } restore{seen};
        QWidget* surface = ClientSurface(c);
        if (!surface) return;
        const QPoint p = surface->mapFromGlobal(e->globalPosition().toPoint());
        const TShiftState shift = ShiftOf(e->modifiers(), e->buttons());
        TMouseButton button = mbLeft;
        if (e->button() == Qt::RightButton) button = mbRight;
        if (e->button() == Qt::MiddleButton) button = mbMiddle;
        Guarded(c, [&] {
            switch (e->type()) {
            case QEvent::MouseButtonPress:
                c->HandleMouseDown(button, shift, p.x(), p.y(), false);
                break;
            case QEvent::MouseButtonDblClick:
                c->HandleMouseDown(button, shift + ssDouble, p.x(), p.y(), true);
                break;
            case QEvent::MouseButtonRelease:
                c->HandleMouseUp(button, shift, p.x(), p.y());
                break;
            default:
                c->HandleMouseMove(shift, p.x(), p.y());
                break;
            }
        });
    }
};
} // namespace

void RegisterWidget(QObject* widget, TControl* control) {
    if (!widget) return;
    Registry()[widget] = control;
    widget->installEventFilter(ControlEventFilter());
    // A control hears the mouse move over it with no button held too: the hand over a list's
    // sections, a chart's hover tools.
    if (auto* w = qobject_cast<QWidget*>(widget)) w->setMouseTracking(true);
}

void UnregisterWidget(QObject* widget) {
    if (!widget) return;
    Registry().erase(widget);
    widget->removeEventFilter(ControlEventFilter());
}

void ShowCursorAgain(TCursor Cursor) {
    for (const auto& [widget, control] : Registry())
        if (control->Widget() == widget && control->GetCursor() == Cursor)
            control->Widget()->setCursor(ToQtCursor(Cursor));
}

TControl* ControlOfWidgetExact(const QObject* widget) {
    auto it = Registry().find(widget);
    return it == Registry().end() ? nullptr : it->second;
}

TControl* ControlOfWidget(const QObject* widget) {
    for (const QObject* o = widget; o; o = o->parent())
        if (TControl* c = ControlOfWidgetExact(o)) return c;
    return nullptr;
}

QObject* ControlEventFilter() {
    static EventFilter* filter = new EventFilter; // lives as long as the process
    return filter;
}

void HandleCurrentException(TObject* sender) {
    if (Application) {
        Application->HandleException(sender);
        return;
    }
    // No application object (a unit test without one): nothing can show it.
    try {
        throw;
    } catch (const std::exception& e) {
        qWarning("unhandled exception: %s", e.what());
    } catch (...) {
        qWarning("unhandled exception");
    }
}

TShiftState ShiftOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
    TShiftState s;
    if (mods & Qt::ShiftModifier) s += ssShift;
    if (mods & Qt::ControlModifier) s += ssCtrl;
    if (mods & Qt::AltModifier) s += ssAlt;
    if (buttons & Qt::LeftButton) s += ssLeft;
    if (buttons & Qt::RightButton) s += ssRight;
    if (buttons & Qt::MiddleButton) s += ssMiddle;
    return s;
}

QColor ToQColor(TColor color) {
    const auto rgb = static_cast<std::uint32_t>(ColorToRGB(color));
    return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>((rgb >> 16) & 0xFF));
}

// A control's font is made as a device context makes a font selected into
// it, so text measures the same on a widget and on its canvas.
QFont ToQFont(const TFont& font) {
    return ToQFont(font.GetLogFont());
}

QCursor ToQtCursor(TCursor cursor) {
    // A number of the program's own stands for its picture, or for the shape the cursor
    // table gives.
    if (Screen && (cursor > 0 || cursor < crSizeAll)) {
        if (const HCURSOR picture = Screen->GetCursorHandle(cursor)) return picture->Cursor;
        cursor = Screen->GetCursors(cursor);
    }
    switch (cursor) {
    case crNone:
        return Qt::BlankCursor;
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeNESW:
        return Qt::SizeBDiagCursor;
    case crSizeNS:
    case crVSplit:
        return cursor == crVSplit ? Qt::SplitVCursor : Qt::SizeVerCursor;
    case crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case crSizeWE:
        return Qt::SizeHorCursor;
    case crHSplit:
        return Qt::SplitHCursor;
    case crUpArrow:
        return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait:
        return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag:
        return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo:
        return Qt::ForbiddenCursor;
    case crAppStart:
        return Qt::BusyCursor;
    case crHelp:
        return Qt::WhatsThisCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace gui_detail

using namespace gui_detail;

// ---------------------------------------------------------------------------
// TMouse

TMouse* Mouse = nullptr;

TPoint TMouse::GetCursorPos() const {
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

void TMouse::SetCursorPos(TPoint Value) {
    QCursor::setPos(Value.X, Value.Y);
}

bool GetCursorPos(TPoint& Point) {
    const QPoint p = QCursor::pos();
    Point = {p.x(), p.y()};
    return true;
}

// ---------------------------------------------------------------------------
// TControl

const ClassInfo& TControl::StaticClass() {
    using C = TControl;
    // The properties every control of the class library publishes; the
    // classes add their own (Caption, Text, ...).
    static const PropInfo props[] = {
        MakeProp<&C::GetLeft, &C::SetLeft>("Left"),
        MakeProp<&C::GetTop, &C::SetTop>("Top"),
        MakeProp<&C::GetWidth, &C::SetWidth>("Width"),
        MakeProp<&C::GetHeight, &C::SetHeight>("Height"),
        MakeProp<&C::GetAction, &C::SetAction>("Action"),
        MakeProp<&C::GetAlign, &C::SetAlign>("Align").Default(alNone),
        MakeProp<&C::GetAnchors, &C::SetAnchors>("Anchors").Default(
            static_cast<std::int64_t>(TAnchors{akLeft, akTop}.Bits())),
        MakeProp<&C::GetColor, &C::SetColor>("Color").Stored<&C::IsColorStored>(),
        MakeProp<&C::GetCursor, &C::SetCursor>("Cursor").Default(crDefault),
        MakeProp<&C::GetEnabled, &C::SetEnabled>("Enabled").Default(true).Stored<&C::IsEnabledStored>(),
        MakeProp<&C::GetFont, &C::SetFont>("Font").Stored<&C::IsFontStored>(),
        MakeProp<&C::GetHelpContext, &C::SetHelpContext>("HelpContext").Default(0),
        MakeProp<&C::GetHint, &C::SetHint>("Hint").Stored<&C::IsHintStored>(),
        MakeProp<&C::GetParentColor, &C::SetParentColor>("ParentColor").Default(false),
        MakeProp<&C::GetParentFont, &C::SetParentFont>("ParentFont"),
        MakeProp<&C::GetParentShowHint, &C::SetParentShowHint>("ParentShowHint").Default(true),
        MakeProp<&C::GetPopupMenu, &C::SetPopupMenu>("PopupMenu"),
        MakeProp<&C::GetShowHint, &C::SetShowHint>("ShowHint").Stored<&C::IsShowHintStored>(),
        MakeProp<&C::GetVisible, &C::SetVisible>("Visible").Default(true).Stored<&C::IsVisibleStored>(),
        MakeProp<&C::OnClick>("OnClick"),
        MakeProp<&C::OnDblClick>("OnDblClick"),
        MakeProp<&C::OnDragDrop>("OnDragDrop"),
        MakeProp<&C::OnDragOver>("OnDragOver"),
        MakeProp<&C::OnMouseDown>("OnMouseDown"),
        MakeProp<&C::OnMouseEnter>("OnMouseEnter"),
        MakeProp<&C::OnMouseLeave>("OnMouseLeave"),
        MakeProp<&C::OnMouseMove>("OnMouseMove"),
        MakeProp<&C::OnMouseUp>("OnMouseUp"),
        MakeProp<&C::OnResize>("OnResize"),
    };
    static const ClassInfo ci = MakeClassInfo<TControl>("TControl", &TComponent::StaticClass(), props);
    return ci;
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(MakeOwned<TFont>()) {
    EnsureQtApplication();
    FFont->OnChange.Bind(this, &TControl::FontChangedHandler);
}

TControl::~TControl() {
    DragControlGone(this);
    FActionLink.reset();
    if (FWidget) {
        UnregisterWidget(FWidget);
        delete FWidget;
        FWidget = nullptr;
    }
}

void TControl::BeforeDestruction() {
    if (!GetComponentState().Contains(csDestroying)) Destroying();
    SetAction(nullptr);
    SetParent(nullptr);
    TComponent::BeforeDestruction();
}

QWidget* TControl::InputSurface() const {
    if (auto* w = dynamic_cast<const TWinControl*>(this)) return w->ClientWidget();
    return FWidget;
}

void TControl::SetWidget(QWidget* AWidget) {
    FWidget = AWidget;
    RegisterWidget(FWidget, this);
    FWidget->setAttribute(Qt::WA_DeleteOnClose, false);
    FWidth = std::max(FWidth, 0);
    ApplyFont();
    UpdateWidgetGeometry();
    ApplyEnabled();
    ApplyVisibility();
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    // A position or size read from a stream may be any number. No widget is larger than
    // QWIDGETSIZE_MAX a side, and every rectangle adds a position to a size: both are kept
    // within that, so their sum always fits.
    ALeft = std::clamp(ALeft, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    ATop = std::clamp(ATop, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    AWidth = std::clamp(AWidth, 0, QWIDGETSIZE_MAX);
    AHeight = std::clamp(AHeight, 0, QWIDGETSIZE_MAX);
    const bool sized = AWidth != FWidth || AHeight != FHeight;
    if (!sized && ALeft == FLeft && ATop == FTop) return;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    UpdateWidgetGeometry();
    // The anchors measure from where the control was put by its user.
    if (FParent && !FParent->FAligning) {
        const TRect pc = FParent->GetClientRect();
        FAnchorParentWidth = pc.Width();
        FAnchorParentHeight = pc.Height();
    }
    if (sized && !GetComponentState().Contains(csLoading)) Resize();
    RequestAlign();
}

void TControl::UpdateWidgetGeometry() {
    if (FWidget) FWidget->setGeometry(FLeft, FTop, FWidth, FHeight);
}

void TControl::WidgetResized(int AWidth, int AHeight) {
    if (AWidth == FWidth && AHeight == FHeight) return;
    FWidth = AWidth;
    FHeight = AHeight;
    if (!GetComponentState().Contains(csLoading)) Resize();
}

void TControl::WidgetMoved(int ALeft, int ATop) {
    FLeft = ALeft;
    FTop = ATop;
}

TRect TControl::GetClientRect() const {
    return Rect(0, 0, FWidth, FHeight);
}

void TControl::SetClientWidth(int Value) {
    SetWidth(Value + (FWidth - GetClientWidth()));
}

void TControl::SetClientHeight(int Value) {
    SetHeight(Value + (FHeight - GetClientHeight()));
}

TPoint TControl::GetClientOrigin() const {
    QWidget* surface = ClientSurface(const_cast<TControl*>(this));
    if (!surface) return {FLeft, FTop};
    const QPoint p = surface->mapToGlobal(QPoint(0, 0));
    return {p.x(), p.y()};
}

TPoint TControl::ClientToScreen(const TPoint& Point) const {
    const TPoint o = GetClientOrigin();
    return {Point.X + o.X, Point.Y + o.Y};
}

TPoint TControl::ScreenToClient(const TPoint& Point) const {
    const TPoint o = GetClientOrigin();
    return {Point.X - o.X, Point.Y - o.Y};
}

void TControl::SetAlign(TAlign Value) {
    if (FAlign == Value) return;
    const TAlign old = FAlign;
    FAlign = Value;
    // An aligned control stretched along its side keeps its size across.
    if (old == alClient || Value == alNone) {
        // nothing to restore: the last bounds stay
    }
    RequestAlign();
}

void TControl::RequestAlign() {
    if (FParent && (FAlign != alNone || FParent->FAlignPending)) FParent->Realign();
}

void TControl::SetVisible(bool Value) {
    if (FVisible == Value) return;
    FVisible = Value;
    ApplyVisibility();
    VisibleChanged();
    if (FParent && FAlign != alNone) FParent->Realign();
}

void TControl::ApplyVisibility() {
    if (!FWidget) return;
    FWidget->setVisible(FVisible && FParent != nullptr);
}

bool TControl::GetShowing() const {
    return FVisible && FParent && FParent->GetShowing();
}

void TControl::SetEnabled(bool Value) {
    if (FEnabled == Value) return;
    FEnabled = Value;
    ApplyEnabled();
    EnabledChanged();
}

void TControl::ApplyEnabled() {
    if (FWidget) FWidget->setEnabled(FEnabled);
}

void TControl::SetText(const String& Value) {
    if (FText == Value) return;
    FText = Value;
    TextChanged();
}

void TControl::SetColor(TColor Value) {
    if (FColor == Value && !FParentColor) return;
    FColor = Value;
    FParentColor = false;
    ApplyColor();
    if (auto* w = dynamic_cast<TWinControl*>(this))
        for (TControl* c : w->FControls) c->ParentColorChanged();
}

void TControl::SetParentColor(bool Value) {
    if (FParentColor == Value) return;
    FParentColor = Value;
    if (Value && FParent) ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (!FParentColor || !FParent) return;
    FColor = FParent->FColor;
    ApplyColor();
    if (auto* w = dynamic_cast<TWinControl*>(this))
        for (TControl* c : w->FControls) c->ParentColorChanged();
}

void TControl::ApplyColor() {
    if (!FWidget) return;
    if (FColor == DefaultColor() || FColor == clDefault || FColor == clNone) {
        FWidget->setAutoFillBackground(false);
        QPalette p = FWidget->palette();
        p.setBrush(QPalette::Window, QApplication::palette(FWidget).brush(QPalette::Window));
        FWidget->setPalette(p);
        return;
    }
    QPalette p = FWidget->palette();
    p.setColor(QPalette::Window, ToQColor(FColor));
    p.setColor(QPalette::Base, ToQColor(FColor));
    FWidget->setPalette(p);
    FWidget->setAutoFillBackground(true);
}

void TControl::FontChangedHandler(TObject*) {
    if (FUpdatingFont) return;
    FParentFont = false;
    FontChanged();
}

void TControl::FontChanged() {
    ApplyFont();
}

void TControl::ApplyFont() {
    if (!FWidget) return;
    FWidget->setFont(ToQFont(*FFont));
    QPalette p = FWidget->palette();
    const QPalette system = QApplication::palette(FWidget);
    const QColor text =
        FFont->GetColor() == clWindowText ? system.color(QPalette::WindowText) : ToQColor(FFont->GetColor());
    // The font's colour is the text of an enabled control; a disabled one
    // keeps the system's greyed text, whatever its font says.
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(QPalette::Active, role, text);
        p.setColor(QPalette::Inactive, role, text);
        p.setColor(QPalette::Disabled, role, system.color(QPalette::Disabled, role));
    }
    FWidget->setPalette(p);
}

void TControl::SetParentFont(bool Value) {
    if (FParentFont == Value) return;
    FParentFont = Value;
    if (Value && FParent) ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (!FParentFont || !FParent) return;
    FUpdatingFont = true;
    FFont->Assign(FParent->GetFont());
    FUpdatingFont = false;
    FontChanged();
}

void TControl::SetHint(const String& Value) {
    if (FHint == Value) return;
    FHint = Value;
    ApplyHint();
}

void TControl::SetShowHint(bool Value) {
    FParentShowHint = false;
    if (FShowHint == Value) return;
    FShowHint = Value;
    ApplyHint();
    if (auto* w = dynamic_cast<TWinControl*>(this)) w->ShowHintChanged();
}

void TControl::SetParentShowHint(bool Value) {
    if (FParentShowHint == Value) return;
    FParentShowHint = Value;
    if (Value) ParentShowHintChanged();
}

void TControl::ParentShowHintChanged() {
    if (!FParentShowHint || !FParent) return;
    FShowHint = FParent->FShowHint;
    ApplyHint();
    if (auto* w = dynamic_cast<TWinControl*>(this)) w->ShowHintChanged();
}

bool TControl::EffectiveShowHint() const {
    return FShowHint && (!Application || Application->GetShowHint());
}

void TControl::ApplyHint() {
    if (!FWidget) return;
    // The part before '|' is the short hint that the tooltip shows.
    String shortHint = FHint.substr(0, FHint.find(u'|'));
    FWidget->setToolTip(EffectiveShowHint() ? ToQString(shortHint) : QString());
}

void TControl::SetCursor(TCursor Value) {
    if (FCursor == Value) return;
    FCursor = Value;
    if (!FWidget) return;
    if (Value == crDefault)
        FWidget->unsetCursor();
    else
        FWidget->setCursor(ToQtCursor(Value));
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
    if (FPopupMenu == Value) return;
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = Value;
    if (Value) Value->FreeNotification(this);
}

void TControl::SetParent(TWinControl* AParent) {
    if (FParent == AParent) return;
    if (AParent == this) throw EInvalidOperation(u"A control cannot have itself as its parent");
    if (FParent) FParent->RemoveControl(this);
    if (AParent) AParent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const {
    return FParent;
}

void TControl::SetParentComponent(TComponent* Value) {
    if (auto* w = dynamic_cast<TWinControl*>(Value)) SetParent(w);
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (FActionLink) {
        // Fix-ups may have set the action while it was still being read; now its
        // values are complete.
        ActionChange(FActionLink->GetAction(), true);
    }
    if (FParent && FAlign != alNone) FParent->Realign();
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FPopupMenu) FPopupMenu = nullptr;
    if (FActionLink && AComponent == FActionLink->GetAction()) SetAction(nullptr);
}

TBasicAction* TControl::GetAction() const {
    return FActionLink ? FActionLink->GetAction() : nullptr;
}

void TControl::SetAction(TBasicAction* Value) {
    if (LinkAction(this, FActionLink, Value, [this] { return CreateActionLink(); }))
        ActionChange(Value, Value->GetComponentState().Contains(csLoading));
}

std::unique_ptr<TControlActionLink> TControl::CreateActionLink() {
    return std::make_unique<TControlActionLink>(this);
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults) {
    auto* a = dynamic_cast<TCustomAction*>(Sender);
    if (!a) return;
    if (!CheckDefaults || GetCaption().empty() || GetCaption() == GetName()) SetCaption(a->GetCaption());
    if (!CheckDefaults || FEnabled) SetEnabled(a->GetEnabled());
    if (!CheckDefaults || FHint.empty()) SetHint(a->GetHint());
    if (!CheckDefaults || FVisible) SetVisible(a->GetVisible());
    if (!CheckDefaults || FHelpContext == 0) SetHelpContext(a->GetHelpContext());
}

bool TControl::IsCaptionStored() const {
    return !FActionLink || !FActionLink->IsCaptionLinked();
}
bool TControl::IsEnabledStored() const {
    return !FActionLink || !FActionLink->IsEnabledLinked();
}
bool TControl::IsHintStored() const {
    return !FActionLink || !FActionLink->IsHintLinked();
}
bool TControl::IsVisibleStored() const {
    return !FActionLink || !FActionLink->IsVisibleLinked();
}

void TControl::Invalidate() {
    MarkForPaint(FWidget);
    if (FWidget) FWidget->update();
}

void TControl::Repaint() {
    MarkForPaint(FWidget);
    if (FWidget) FWidget->repaint();
}

void TControl::Update() {
    MarkForPaint(FWidget);
    if (FWidget) FWidget->repaint();
}

void TControl::BringToFront() {
    if (FWidget) FWidget->raise();
    if (FParent) {
        auto& list = FParent->FControls;
        list.erase(std::find(list.begin(), list.end(), this));
        list.push_back(this);
    }
}

void TControl::SendToBack() {
    if (FWidget) FWidget->lower();
    if (FParent) {
        auto& list = FParent->FControls;
        list.erase(std::find(list.begin(), list.end(), this));
        list.insert(list.begin(), this);
    }
}

void TControl::Click() {
    // A handler of its own wins over the action's; otherwise the action runs.
    TBasicAction* action = GetAction();
    if (OnClick && (!action || !(OnClick == action->OnExecute)))
        OnClick(this);
    else if (action)
        FActionLink->Execute(this);
    else if (OnClick)
        OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

void TControl::HandleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y, bool DoubleClick) {
    DragNotePress(this, X, Y);
    if (DoubleClick && Button == mbLeft) DblClick();
    if (Button == mbLeft) FMousePressed = true;
    MouseDown(Button, Shift, X, Y);
}

void TControl::HandleMouseMove(TShiftState Shift, int X, int Y) {
    if (DragMouseMove(this, X, Y)) return;
    MouseMove(Shift, X, Y);
}

void TControl::HandleMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // A release that drops a drag is no click.
    if (Button == mbLeft && DragMouseUp(this, X, Y)) {
        FMousePressed = false;
        return;
    }
    const bool click =
        Button == mbLeft && FMousePressed && FReportsClicks && PtInRect(GetClientRect(), {X, Y});
    if (Button == mbLeft) FMousePressed = false;
    if (click) Click();
    MouseUp(Button, Shift, X, Y);
    if (Button == mbRight) DoContextPopup(X, Y);
}

bool TControl::HandleMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    if (DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    // Fine-grained wheels turn a notch in several small steps: each whole notch counts once.
    FWheelAccumulator += WheelDelta;
    bool handled = false;
    while (FWheelAccumulator <= -WHEEL_DELTA || FWheelAccumulator >= WHEEL_DELTA) {
        const bool down = FWheelAccumulator < 0;
        FWheelAccumulator += down ? WHEEL_DELTA : -WHEEL_DELTA;
        handled = (down ? DoMouseWheelDown(Shift, MousePos) : DoMouseWheelUp(Shift, MousePos)) || handled;
    }
    return handled;
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    return handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    bool handled = false;
    if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, handled);
    return handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    bool handled = false;
    if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, handled);
    return handled;
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::MouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
}

// A control without a menu of its own shows its nearest parent's, as the
// system passes the context-menu request up; the menu learns which control was
// clicked.
void TControl::DoContextPopup(int X, int Y) {
    TControl* owner = this;
    while (owner && !owner->FPopupMenu) owner = owner->GetParent();
    if (!owner) return;
    const TPoint p = ClientToScreen({X, Y});
    owner->FPopupMenu->SetPopupComponent(this);
    owner->FPopupMenu->Popup(p.X, p.Y);
}

// ---------------------------------------------------------------------------
// TWinControl

const ClassInfo& TWinControl::StaticClass() {
    using W = TWinControl;
    static const PropInfo props[] = {
        MakeProp<&W::GetTabOrder, &W::SetTabOrder>("TabOrder").Default(-1),
        MakeProp<&W::GetTabStop, &W::SetTabStop>("TabStop").Stored<&W::IsTabStopStored>(),
        MakeProp<&W::OnEnter>("OnEnter"),
        MakeProp<&W::OnExit>("OnExit"),
        MakeProp<&W::OnKeyDown>("OnKeyDown"),
        MakeProp<&W::OnKeyPress>("OnKeyPress"),
        MakeProp<&W::OnKeyUp>("OnKeyUp"),
    };
    static const ClassInfo ci = MakeClassInfo<TWinControl>("TWinControl", &TControl::StaticClass(), props);
    return ci;
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
    // Children that were not freed through BeforeDestruction go with their parent.
    while (!FControls.empty()) {
        TControl* c = FControls.back();
        RemoveControl(c);
        c->Free();
    }
}

void TWinControl::BeforeDestruction() {
    if (!GetComponentState().Contains(csDestroying)) Destroying();
    // Children go before the owned components: a control parented here but
    // owned elsewhere is freed with its parent, as the class library does.
    while (!FControls.empty()) {
        TControl* c = FControls.back();
        RemoveControl(c);
        c->Free();
    }
    TControl::BeforeDestruction();
}

TControl* TWinControl::GetControl(int Index) const {
    if (Index < 0 || Index >= GetControlCount()) throw EListError(u"List index out of bounds (%d)", {Index});
    return FControls[static_cast<std::size_t>(Index)];
}

bool TWinControl::ContainsControl(const TControl* Control) const {
    for (const TControl* c = Control; c; c = c->GetParent())
        if (c == this) return true;
    return false;
}

void TWinControl::InsertControl(TControl* AControl) {
    if (!AControl || AControl->FParent == this) return;
    FControls.push_back(AControl);
    AControl->FParent = this;
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
        FTabList.push_back(w);
        TabChainChanged();
    }
    PlaceChildWidget(AControl);
    AControl->ParentFontChanged();
    AControl->ParentColorChanged();
    AControl->ParentShowHintChanged();
    const TRect pc = GetClientRect();
    AControl->FAnchorParentWidth = pc.Width();
    AControl->FAnchorParentHeight = pc.Height();
    if (AControl->FAlign != alNone) Realign();
}

void TWinControl::PlaceChildWidget(TControl* Child) {
    if (QWidget* w = Child->Widget()) {
        w->setParent(ClientWidget());
        Child->UpdateWidgetGeometry();
        Child->ApplyVisibility();
    }
}

void TWinControl::DetachChildWidget(TControl* Child) {
    if (QWidget* w = Child->Widget()) {
        w->hide();
        w->setParent(nullptr);
    }
}

void TWinControl::RemoveControl(TControl* AControl) {
    auto it = std::find(FControls.begin(), FControls.end(), AControl);
    if (it == FControls.end()) return;
    if (TCustomForm* form = GetParentForm(this)) form->ForgetControl(AControl);
    DetachChildWidget(AControl);
    FControls.erase(it);
    std::erase(FTabList, AControl);
    AControl->FParent = nullptr;
    if (AControl->FAlign != alNone && !GetComponentState().Contains(csDestroying)) Realign();
}

void TWinControl::SetTabStop(bool Value) {
    FTabStop = Value;
    FTabStopSet = true;
    // Tab goes to the controls made tab stops, a panel among them, and passes over those that
    // are not; a click focuses a control as its class does.
    if (QWidget* w = Widget()) {
        const int policy = w->focusPolicy();
        w->setFocusPolicy(
            static_cast<Qt::FocusPolicy>(Value ? policy | Qt::TabFocus : policy & ~Qt::TabFocus));
    }
    // A widget that took no focus had no place of its own in the chain.
    TabChainChanged();
}

int TWinControl::GetTabOrder() const {
    if (!FParent) return -1;
    const auto& list = FParent->FTabList;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int Value) {
    // The children of a stream come one by one: each one's place is known once all have been read.
    if (GetComponentState().Contains(csReading)) {
        FTabOrder = Value;
        return;
    }
    if (!FParent) return;
    auto& list = FParent->FTabList;
    std::erase(list, this);
    Value = std::clamp(Value, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + Value, this);
    TabChainChanged();
}

void TWinControl::ReadState(TReader* Reader) {
    TControl::ReadState(Reader);
    // A child read without a place keeps its turn after those read with one.
    auto place = [](const TWinControl* c) { return c->FTabOrder >= 0 ? c->FTabOrder : INT_MAX; };
    std::stable_sort(FTabList.begin(), FTabList.end(),
                     [&](const TWinControl* a, const TWinControl* b) { return place(a) < place(b); });
    for (TWinControl* c : FTabList) c->FTabOrder = -1;
    TabChainChanged();
}

// The chain is brought into order lazily, by the window's outermost control: once before the
// window shows, and after changes to a window on the screen once they are all made (or at a Tab
// that comes first), not at every control a form reads.
void TWinControl::TabChainChanged() {
    TWinControl* top = this;
    while (top->FParent) top = top->FParent;
    if (top->FTabChainStale) return;
    top->FTabChainStale = true;
    if (QWidget* w = top->Widget(); w && w->isVisible())
        QTimer::singleShot(0, w, [top] { top->UpdateTabChain(); });
}

void TWinControl::UpdateTabChain() {
    TWinControl* top = this;
    while (top->FParent) top = top->FParent;
    if (!top->FTabChainStale || !top->Widget()) return;
    top->FTabChainStale = false;
    std::vector<QWidget*> chain;
    top->CollectTabChain(chain, top->Widget()->window());
    for (std::size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

// Each child before its own children, then its next sibling. A compound widget stands in the
// chain through the widget its focus goes to, followed by the inner widgets that take focus for
// the same control (a page control's tabs), in the order they had.
void TWinControl::CollectTabChain(std::vector<QWidget*>& Chain, const QWidget* Window) const {
    for (const TWinControl* c : FTabList) {
        QWidget* outer = c->Widget();
        if (!outer || outer->window() != Window) continue;
        QWidget* w = outer;
        while (w->focusPolicy() == Qt::NoFocus && w->focusProxy()) w = w->focusProxy();
        if (w->focusPolicy() != Qt::NoFocus) Chain.push_back(w);
        for (QWidget* x = Window->nextInFocusChain(); x != Window; x = x->nextInFocusChain())
            if (x != w && x->focusPolicy() != Qt::NoFocus && outer->isAncestorOf(x) &&
                ControlOfWidget(x) == c)
                Chain.push_back(x);
        c->CollectTabChain(Chain, Window);
    }
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->GetParent())
        if (!c->GetVisible() || !c->GetEnabled()) return false;
    return GetParentForm(this) != nullptr || dynamic_cast<const TCustomForm*>(this) != nullptr;
}

bool TWinControl::Focused() const {
    QWidget* w = Widget();
    if (!w) return false;
    QWidget* f = QApplication::focusWidget();
    return f && (f == w || ControlOfWidget(f) == this);
}

void TWinControl::SetFocus() {
    if (!CanFocus()) throw EInvalidOperation(u"Cannot focus a disabled or invisible window");
    if (TCustomForm* form = GetParentForm(this)) {
        form->SetActiveControl(this);
        return;
    }
    if (Widget()) Widget()->setFocus(Qt::OtherFocusReason);
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyPress(Char& Key) {
    if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

// The form sees the key first when it previews keys, then the control.
bool TWinControl::HandleKeyDown(Word& Key, TShiftState Shift) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->GetKeyPreview()) {
        form->KeyDown(Key, Shift);
        if (Key == 0) return true;
    }
    KeyDown(Key, Shift);
    return Key == 0;
}

bool TWinControl::HandleKeyPress(Char& Key) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->GetKeyPreview()) {
        form->KeyPress(Key);
        if (Key == 0) return true;
    }
    KeyPress(Key);
    return Key == 0;
}

bool TWinControl::HandleKeyUp(Word& Key, TShiftState Shift) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->GetKeyPreview()) {
        form->KeyUp(Key, Shift);
        if (Key == 0) return true;
    }
    KeyUp(Key, Shift);
    return Key == 0;
}

void TWinControl::EnableAlign() {
    if (FAlignLevel > 0) --FAlignLevel;
    if (FAlignLevel == 0 && FAlignPending) Realign();
}

void TWinControl::Realign() {
    AlignAll();
}

void TWinControl::UpdateControlState() {
    Realign();
    Invalidate();
}

void TWinControl::AlignAll() {
    if (FAligning) return;
    if (FAlignLevel > 0 || GetComponentState().Contains(csLoading)) {
        FAlignPending = true;
        return;
    }
    FAlignPending = false;
    FAligning = true;
    try {
        TRect r = AdjustClientRect();
        AlignControls(nullptr, r);
        ApplyAnchors();
    } catch (...) {
        FAligning = false;
        throw;
    }
    FAligning = false;
}

// Aligned children take the client area's edges in the order top, bottom,
// left, right, then the rest; within one side the nearer control goes first,
// ties keep the z-order.
void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
    static constexpr TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
    for (TAlign align : order) {
        std::vector<TControl*> list;
        for (TControl* c : FControls)
            if (c->FAlign == align && c->FVisible) list.push_back(c);
        auto key = [align](const TControl* c) {
            switch (align) {
            case alTop:
                return c->FTop;
            case alBottom:
                return -(c->FTop + c->FHeight);
            case alLeft:
                return c->FLeft;
            case alRight:
                return -(c->FLeft + c->FWidth);
            default:
                return 0;
            }
        };
        std::stable_sort(list.begin(), list.end(), [&](const TControl* a, const TControl* b) {
            if (key(a) != key(b)) return key(a) < key(b);
            return a == AControl && b != AControl;
        });
        for (TControl* c : list) {
            const int w = std::max(Rect.Width(), 0);
            const int h = std::max(Rect.Height(), 0);
            switch (align) {
            case alTop:
                c->SetBounds(Rect.Left, Rect.Top, w, c->FHeight);
                Rect.Top += c->FHeight;
                break;
            case alBottom:
                c->SetBounds(Rect.Left, Rect.Bottom - c->FHeight, w, c->FHeight);
                Rect.Bottom -= c->FHeight;
                break;
            case alLeft:
                c->SetBounds(Rect.Left, Rect.Top, c->FWidth, h);
                Rect.Left += c->FWidth;
                break;
            case alRight:
                c->SetBounds(Rect.Right - c->FWidth, Rect.Top, c->FWidth, h);
                Rect.Right -= c->FWidth;
                break;
            default:
                c->SetBounds(Rect.Left, Rect.Top, w, h);
                break;
            }
        }
    }
}

// Controls anchored to the right or bottom follow those edges when the client
// area changes size; anchored to both sides they stretch.
void TWinControl::ApplyAnchors() {
    const TRect pc = GetClientRect();
    for (TControl* c : FControls) {
        if (c->FAlign != alNone) continue;
        if (c->FAnchorParentWidth < 0) {
            c->FAnchorParentWidth = pc.Width();
            c->FAnchorParentHeight = pc.Height();
            continue;
        }
        const int dx = pc.Width() - c->FAnchorParentWidth;
        const int dy = pc.Height() - c->FAnchorParentHeight;
        if (dx == 0 && dy == 0) continue;
        int l = c->FLeft, t = c->FTop, w = c->FWidth, h = c->FHeight;
        const TAnchors a = c->FAnchors;
        if (a.Contains(akRight)) {
            if (a.Contains(akLeft))
                w += dx;
            else
                l += dx;
        } else if (!a.Contains(akLeft)) {
            l += dx / 2;
        }
        if (a.Contains(akBottom)) {
            if (a.Contains(akTop))
                h += dy;
            else
                t += dy;
        } else if (!a.Contains(akTop)) {
            t += dy / 2;
        }
        c->SetBounds(l, t, w, h);
        c->FAnchorParentWidth = pc.Width();
        c->FAnchorParentHeight = pc.Height();
    }
}

void TWinControl::Resize() {
    AlignAll();
    TControl::Resize();
}

void TWinControl::FontChanged() {
    TControl::FontChanged();
    for (TControl* c : FControls) c->ParentFontChanged();
}

void TWinControl::ShowHintChanged() {
    for (TControl* c : FControls) c->ParentShowHintChanged();
}

void TWinControl::UpdateWidgetGeometry() {
    TControl::UpdateWidgetGeometry();
}

void TWinControl::Loaded() {
    TControl::Loaded();
    AlignAll();
}

void TWinControl::GetChildren(TGetChildProc Proc, TComponent* Root) {
    for (TControl* c : FControls)
        if (c->GetOwner() == Root) Proc(c);
}

void TWinControl::SetChildOrder(TComponent* Child, int Order) {
    auto* c = dynamic_cast<TControl*>(Child);
    if (!c) return;
    auto it = std::find(FControls.begin(), FControls.end(), c);
    if (it == FControls.end()) return;
    FControls.erase(it);
    Order = std::clamp(Order, 0, static_cast<int>(FControls.size()));
    FControls.insert(FControls.begin() + Order, c);
}

TCustomForm* GetParentForm(const TControl* Control) {
    const TControl* c = Control;
    while (c && c->GetParent()) c = c->GetParent();
    return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(c));
}
