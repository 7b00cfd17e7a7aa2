#include "platform/gui/comctrls.h"
#include "platform/gui/guiclasses.h"
#include "platform/gui/qtbridge.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <algorithm>

using namespace gui_detail;

namespace {

// The keys move the bar as the class library's bar moves, in either orientation; Qt's slider
// raises its value on Up and Page Up instead.
class TrackSlider : public QSlider {
public:
    using QSlider::QSlider;

protected:
    void keyPressEvent(QKeyEvent* Event) override {
        if (!TakeBarKey(*this, Event)) QSlider::keyPressEvent(Event);
    }

    // The class library's bar pages towards a click anywhere beside its thumb, over the tick
    // marks too; Qt's slider only on its narrow groove. A press beside the groove is taken as
    // one on the groove level with it, and so pages and repeats as that one does. Below or
    // beside the thumb itself it does nothing: it neither pages nor picks the thumb up.
    void mousePressEvent(QMouseEvent* Event) override {
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QPoint at = Event->position().toPoint();
        if (Event->button() != Qt::LeftButton ||
            style()->hitTestComplexControl(QStyle::CC_Slider, &option, at, this) != QStyle::SC_None)
            return QSlider::mousePressEvent(Event);
        const QRect groove =
            style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
        const QPoint level =
            orientation() == Qt::Horizontal
                ? QPoint(std::clamp(at.x(), groove.left(), groove.right()), groove.center().y())
                : QPoint(groove.center().x(), std::clamp(at.y(), groove.top(), groove.bottom()));
        Event->accept();
        if (style()->hitTestComplexControl(QStyle::CC_Slider, &option, level, this) !=
            QStyle::SC_SliderGroove)
            return;
        QMouseEvent onGroove(Event->type(), level, mapTo(window(), level), mapToGlobal(level),
                             Event->button(), Event->buttons(), Event->modifiers(), Event->pointingDevice());
        QSlider::mousePressEvent(&onGroove);
        Event->setAccepted(onGroove.isAccepted());
    }
};

} // namespace

bool gui_detail::TakeBarKey(QAbstractSlider& Bar, QKeyEvent* Event) {
    QAbstractSlider::SliderAction action = QAbstractSlider::SliderNoAction;
    switch (Event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        action = QAbstractSlider::SliderSingleStepSub;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        action = QAbstractSlider::SliderSingleStepAdd;
        break;
    case Qt::Key_PageUp:
        action = QAbstractSlider::SliderPageStepSub;
        break;
    case Qt::Key_PageDown:
        action = QAbstractSlider::SliderPageStepAdd;
        break;
    case Qt::Key_Home:
        action = QAbstractSlider::SliderToMinimum;
        break;
    case Qt::Key_End:
        action = QAbstractSlider::SliderToMaximum;
        break;
    default:
        return false;
    }
    Bar.triggerAction(action);
    Event->accept();
    return true;
}

template <>
const EnumInfo& EnumInfoOf<TTrackBarOrientation>() {
    static const EnumInfo info{"TTrackBarOrientation", {"trHorizontal", "trVertical"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TTickMark>() {
    static const EnumInfo info{"TTickMark", {"tmBottomRight", "tmTopLeft", "tmBoth"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TTickStyle>() {
    static const EnumInfo info{"TTickStyle", {"tsNone", "tsAuto", "tsManual"}};
    return info;
}

const ClassInfo& TTrackBar::StaticClass() {
    using T = TTrackBar;
    static const PropInfo props[] = {
        MakeProp<&T::GetFrequency, &T::SetFrequency>("Frequency").Default(1),
        MakeProp<&T::GetLineSize, &T::SetLineSize>("LineSize").Default(1),
        MakeProp<&T::GetMax, &T::SetMax>("Max").Default(10),
        MakeProp<&T::GetMin, &T::SetMin>("Min").Default(0),
        MakeProp<&T::GetOrientation, &T::SetOrientation>("Orientation").Default(trHorizontal),
        MakeProp<&T::GetPageSize, &T::SetPageSize>("PageSize").Default(2),
        MakeProp<&T::GetPosition, &T::SetPosition>("Position").Default(0),
        MakeProp<&T::GetTickMarks, &T::SetTickMarks>("TickMarks").Default(tmBottomRight),
        MakeProp<&T::GetTickStyle, &T::SetTickStyle>("TickStyle").Default(tsAuto),
        MakeProp<&T::OnChange>("OnChange"),
    };
    static const ClassInfo ci = MakeClassInfo<TTrackBar>("TTrackBar", &TWinControl::StaticClass(), props);
    return ci;
}

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner) {
    FSlider = new TrackSlider(Qt::Horizontal);
    SetWidget(FSlider);
    InitTabStop(true);
    SetBounds(0, 0, 150, 45);
    ShowRange();
    ShowTicks();
    FSlider->setSingleStep(FLineSize);
    FSlider->setPageStep(FPageSize);
    QObject::connect(FSlider, &QSlider::valueChanged, [this](int v) {
        Guarded(this, [this, v] {
            if (v == FPosition) return;
            FPosition = v;
            Changed();
        });
    });
}

// A range set upside down takes the other end along, as the control itself does.
void TTrackBar::SetMin(int Value) {
    FMin = Value;
    if (FMax < FMin) FMax = FMin;
    ShowRange();
}

void TTrackBar::SetMax(int Value) {
    FMax = Value;
    if (FMin > FMax) FMin = FMax;
    ShowRange();
}

void TTrackBar::SetPosition(int Value) {
    Value = std::clamp(Value, FMin, FMax);
    if (Value == FPosition) return;
    FPosition = Value;
    {
        const QSignalBlocker block(FSlider);
        FSlider->setValue(Value);
    }
    Changed();
}

// A position the new range leaves out moves to its nearer end, and says so.
void TTrackBar::ShowRange() {
    const int held = std::clamp(FPosition, FMin, FMax);
    const bool moved = held != FPosition;
    FPosition = held;
    {
        const QSignalBlocker block(FSlider);
        FSlider->setRange(FMin, FMax);
        FSlider->setValue(FPosition);
    }
    if (moved) Changed();
}

void TTrackBar::SetFrequency(int Value) {
    FFrequency = Value;
    ShowTicks();
}

void TTrackBar::SetLineSize(int Value) {
    FLineSize = Value;
    FSlider->setSingleStep(Value);
}

void TTrackBar::SetPageSize(int Value) {
    FPageSize = Value;
    FSlider->setPageStep(Value);
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value) {
    if (FOrientation == Value) return;
    FOrientation = Value;
    FSlider->setOrientation(Value == trHorizontal ? Qt::Horizontal : Qt::Vertical);
    // The class library's vertical bar has Min at the top, so that Down and a click below the
    // thumb move it down the screen; Qt's has Min at the bottom. The wheel moves the thumb the
    // way it turns, as before.
    FSlider->setInvertedAppearance(Value == trVertical);
    FSlider->setInvertedControls(Value == trVertical);
    if (!GetComponentState().Contains(csLoading)) SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
}

void TTrackBar::SetTickMarks(TTickMark Value) {
    FTickMarks = Value;
    ShowTicks();
}

void TTrackBar::SetTickStyle(TTickStyle Value) {
    FTickStyle = Value;
    ShowTicks();
}

void TTrackBar::ShowTicks() {
    QSlider::TickPosition where = QSlider::NoTicks;
    if (FTickStyle != tsNone) {
        switch (FTickMarks) {
        case tmBottomRight:
            where = QSlider::TicksBelow;
            break;
        case tmTopLeft:
            where = QSlider::TicksAbove;
            break;
        case tmBoth:
            where = QSlider::TicksBothSides;
            break;
        }
    }
    FSlider->setTickPosition(where);
    FSlider->setTickInterval(std::max(1, FFrequency));
}

void TTrackBar::Changed() {
    if (OnChange) OnChange(this);
}
