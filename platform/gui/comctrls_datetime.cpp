// The date and time picker: a date edit whose calendar drops as a combo box's list does.
#include "platform/gui/comctrls.h"

#include "platform/core/sysutils.h"
#include "platform/gui/qtbridge.h"

#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <cmath>
#include <functional>
#include <string_view>

using namespace gui_detail;

template <>
const EnumInfo& EnumInfoOf<TDateTimeKind>() {
    static const EnumInfo info{"TDateTimeKind", {"dtkDate", "dtkTime"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TDTDateFormat>() {
    static const EnumInfo info{"TDTDateFormat", {"dfShort", "dfLong"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TDTDateMode>() {
    static const EnumInfo info{"TDTDateMode", {"dmComboBox", "dmUpDown"}};
    return info;
}

QDateTime gui_detail::ToQDateTime(TDateTime value) {
    static const QDate origin(1899, 12, 30);
    const double days = std::trunc(value);
    const double fraction = std::fabs(value - days);
    const auto ms = static_cast<int>(std::llround(fraction * 86400000.0));
    QDate date = origin.addDays(static_cast<qint64>(days));
    if (ms >= 86400000) return QDateTime(date.addDays(1), QTime(0, 0));
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(ms));
}

TDateTime gui_detail::FromQDateTime(const QDateTime& value) {
    static const QDate origin(1899, 12, 30);
    const double days = static_cast<double>(origin.daysTo(value.date()));
    const double fraction = value.time().msecsSinceStartOfDay() / 86400000.0;
    // Before the origin the time of day still counts forward from midnight.
    return days < 0 ? days - fraction : days + fraction;
}

QString gui_detail::ToQtDateFormat(const String& format, Char dateSeparator, Char timeSeparator) {
    auto lower = [](Char c) { return (c >= u'A' && c <= u'Z') ? static_cast<Char>(c + 32) : c; };
    auto repeat = [](std::size_t n, char c) { return QString(static_cast<qsizetype>(n), QLatin1Char(c)); };
    // The markers of the morning and the afternoon: with one, the hours count to 12.
    const auto marker = [&](std::size_t at) -> std::size_t {
        for (const std::u16string_view m : {u"am/pm", u"ampm", u"a/p"}) {
            if (at + m.size() > format.size()) continue;
            bool same = true;
            for (std::size_t k = 0; k < m.size() && same; ++k) same = lower(format[at + k]) == m[k];
            if (same) return m.size();
        }
        return 0;
    };
    bool twelve = false;
    for (std::size_t i = 0; i < format.size() && !twelve; ++i) twelve = marker(i) != 0;
    QString out;
    bool afterHour = false;
    for (std::size_t i = 0; i < format.size();) {
        if (const std::size_t n = marker(i)) {
            out += format[i] == u'a' ? QStringLiteral("ap") : QStringLiteral("AP");
            i += n;
            continue;
        }
        const Char c = lower(format[i]);
        std::size_t run = 1;
        if (c >= u'a' && c <= u'z')
            while (i + run < format.size() && lower(format[i + run]) == c) ++run;
        switch (c) {
        case u'd':
            out += repeat(std::min<std::size_t>(run, 4), 'd');
            break;
        case u'm':
            // Right after an hour "m" counts minutes, as "n" does.
            out += afterHour ? repeat(std::min<std::size_t>(run, 2), 'm')
                             : repeat(std::min<std::size_t>(run, 4), 'M');
            break;
        case u'n':
            out += repeat(std::min<std::size_t>(run, 2), 'm');
            break;
        case u'y':
            out += run <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy");
            break;
        case u'h':
            out += repeat(std::min<std::size_t>(run, 2), twelve ? 'h' : 'H');
            break;
        case u's':
            out += repeat(std::min<std::size_t>(run, 2), 's');
            break;
        case u'/':
            out += QChar(dateSeparator);
            break;
        case u':':
            out += QChar(timeSeparator);
            break;
        default:
            out += QChar(format[i]);
            break;
        }
        if (c >= u'a' && c <= u'z') afterHour = c == u'h';
        i += run;
    }
    return out;
}

namespace {
// A date edit as the program's operators know it: a click chooses the section under the pointer,
// so that typed digits replace it (and move on to the next section once it is full); Left and
// Right go from section to section; Tab and Shift+Tab leave the edit as they leave any control.
// Its calendar drops as a combo box's list does, by F4 or Alt+Down as by its button, and the
// date stays as it was until a day is chosen in it (Return or a click): Escape, or a click
// elsewhere, closes it with the date unchanged.
class DateTimeEdit : public QDateTimeEdit {
public:
    DateTimeEdit() { lineEdit()->installEventFilter(this); }

    // While the calendar is open the date shown follows its highlight; the date is not yet
    // chosen. Closed runs once it has closed, the date chosen or put back.
    bool Dropped() const { return dropped_; }
    std::function<void()> Closed;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }

    void mousePressEvent(QMouseEvent* e) override {
        WatchCalendar();
        QDateTimeEdit::mousePressEvent(e);
    }

    void keyPressEvent(QKeyEvent* e) override {
        const Qt::KeyboardModifiers shift = e->modifiers() & ~Qt::KeypadModifier;
        if (calendarPopup() && ((e->key() == Qt::Key_F4 && shift == Qt::NoModifier) ||
                                (e->key() == Qt::Key_Down && shift == Qt::AltModifier))) {
            DropCalendar();
            e->accept();
            return;
        }
        const bool left = e->key() == Qt::Key_Left;
        if ((left || e->key() == Qt::Key_Right) &&
            !(e->modifiers() & (Qt::ShiftModifier | Qt::AltModifier))) {
            const int to = currentSectionIndex() + (left ? -1 : 1);
            if (to >= 0 && to < sectionCount()) setCurrentSectionIndex(to);
            setSelectedSection(currentSection());
            e->accept();
            return;
        }
        QDateTimeEdit::keyPressEvent(e);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == lineEdit() && ChooseSection(event)) return true;
        if (popup_ && watched == popup_) {
            if (event->type() == QEvent::Show && !dropped_) {
                before_ = dateTime();
                chosen_ = false;
                dropped_ = true;
            } else if (event->type() == QEvent::Hide && dropped_) {
                // A day chosen closes the calendar before the choice is heard: it is looked at
                // once the closing is over.
                QMetaObject::invokeMethod(
                    this,
                    [this] {
                        dropped_ = false;
                        if (!chosen_ && dateTime() != before_) setDateTime(before_);
                        if (Closed) Closed();
                    },
                    Qt::QueuedConnection);
            }
        }
        return QDateTimeEdit::eventFilter(watched, event);
    }

private:
    // The calendar is made when it first drops; from then on its showing and hiding are watched,
    // and a day clicked or taken by Return counts as chosen.
    void WatchCalendar() {
        if (popup_ || !calendarPopup()) return;
        QCalendarWidget* calendar = calendarWidget();
        if (!calendar) return;
        popup_ = calendar->window();
        popup_->installEventFilter(this);
        const auto choose = [this] { chosen_ = true; };
        QObject::connect(calendar, &QCalendarWidget::clicked, this, choose);
        QObject::connect(calendar, &QCalendarWidget::activated, this, choose);
    }

    // As a press on the drop-down button does.
    void DropCalendar() {
        WatchCalendar();
        QStyleOptionComboBox combo;
        combo.initFrom(this);
        combo.editable = true;
        combo.subControls = QStyle::SC_All;
        const QPointF at =
            style()->subControlRect(QStyle::CC_ComboBox, &combo, QStyle::SC_ComboBoxArrow, this).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QDateTimeEdit::mousePressEvent(&press);
    }

    QPointer<QWidget> popup_;
    QDateTime before_;
    bool chosen_ = false;
    bool dropped_ = false;

    // The text's own press would only place the cursor between two digits (or start dragging the
    // chosen section away); a drag does not choose several sections.
    bool ChooseSection(QEvent* event) {
        const QEvent::Type t = event->type();
        if (t != QEvent::MouseButtonPress && t != QEvent::MouseButtonDblClick && t != QEvent::MouseMove)
            return false;
        const auto* me = static_cast<QMouseEvent*>(event);
        if (t == QEvent::MouseMove) return (me->buttons() & Qt::LeftButton) != 0;
        if (me->button() != Qt::LeftButton) return false;
        // Placing the cursor makes the section it is in (or the one nearest) the current one.
        lineEdit()->setCursorPosition(lineEdit()->cursorPositionAt(me->position().toPoint()));
        setSelectedSection(currentSection());
        return true;
    }
};
} // namespace

const ClassInfo& TDateTimePicker::StaticClass() {
    using D = TDateTimePicker;
    static const PropInfo props[] = {
        MakeProp<&D::GetChecked, &D::SetChecked>("Checked").Default(true),
        MakeProp<&D::GetDate, &D::SetDate>("Date").Float(FloatKind::Date),
        MakeProp<&D::GetTime, &D::SetTime>("Time").Float(FloatKind::Date),
        MakeProp<&D::GetDateFormat, &D::SetDateFormat>("DateFormat").Default(dfShort),
        MakeProp<&D::GetDateMode, &D::SetDateMode>("DateMode").Default(dmComboBox),
        MakeProp<&D::GetKind, &D::SetKind>("Kind").Default(dtkDate),
        MakeProp<&D::GetMaxDate, &D::SetMaxDate>("MaxDate").Float(FloatKind::Date),
        MakeProp<&D::GetMinDate, &D::SetMinDate>("MinDate").Float(FloatKind::Date),
        MakeProp<&D::GetShowCheckbox, &D::SetShowCheckbox>("ShowCheckbox").Default(false),
        MakeProp<&D::OnChange>("OnChange"),
        MakeProp<&D::OnCloseUp>("OnCloseUp"),
        MakeProp<&D::OnDropDown>("OnDropDown"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TDateTimePicker>("TDateTimePicker", &TWinControl::StaticClass(), props);
    return ci;
}

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TWinControl(AOwner) {
    InitColor(clWindow);
    FEdit = new DateTimeEdit();
    FEdit->setCalendarPopup(true);
    FEdit->setMinimumDateTime(QDateTime(QDate(1753, 1, 1), QTime(0, 0)));
    FEdit->setMaximumDateTime(QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 999)));
    SetWidget(FEdit);
    InitTabStop(true);
    SetBounds(0, 0, 186, 21);
    FDateTime = Now();
    ApplyFormat();
    UpdateEditor();
    const auto take = [this](const QDateTime& value) {
        const TDateTime taken = FromQDateTime(value);
        if (taken == FDateTime) return;
        Guarded(this, [&] {
            FDateTime = taken;
            Change();
        });
    };
    QObject::connect(FEdit, &QDateTimeEdit::dateTimeChanged, [this, take](const QDateTime& value) {
        if (FUpdating || static_cast<DateTimeEdit*>(FEdit)->Dropped()) return;
        take(value);
    });
    static_cast<DateTimeEdit*>(FEdit)->Closed = [this, take] { take(FEdit->dateTime()); };
}

void TDateTimePicker::ApplyFormat() {
    const TFormatSettings& fs = FormatSettings;
    String pattern;
    if (FKind == dtkTime)
        pattern = fs.LongTimeFormat.empty() ? String(u"hh:nn:ss") : fs.LongTimeFormat;
    else if (FDateFormat == dfLong)
        pattern = fs.LongDateFormat.empty() ? String(u"dddd, d mmmm yyyy") : fs.LongDateFormat;
    else
        pattern = fs.ShortDateFormat.empty() ? String(u"dd/mm/yyyy") : fs.ShortDateFormat;
    FEdit->setDisplayFormat(ToQtDateFormat(pattern, fs.DateSeparator, fs.TimeSeparator));
    FEdit->setCalendarPopup(FKind == dtkDate && FDateMode == dmComboBox);
}

void TDateTimePicker::UpdateEditor() {
    FUpdating = true;
    FEdit->setDateTime(ToQDateTime(FDateTime));
    FUpdating = false;
}

void TDateTimePicker::SetDateTime(TDateTime Value) {
    if (FMinDate != 0 && Value < FMinDate) Value = FMinDate;
    if (FMaxDate != 0 && Value > FMaxDate) Value = FMaxDate;
    FDateTime = Value;
    UpdateEditor();
}

TDateTime TDateTimePicker::GetDate() const {
    return static_cast<TDateTime>(Trunc(FDateTime));
}

void TDateTimePicker::SetDate(TDateTime Value) {
    SetDateTime(static_cast<TDateTime>(Trunc(Value)) + Frac(FDateTime));
}

TDateTime TDateTimePicker::GetTime() const {
    return Frac(FDateTime);
}

void TDateTimePicker::SetTime(TDateTime Value) {
    SetDateTime(static_cast<TDateTime>(Trunc(FDateTime)) + Frac(Value));
}

void TDateTimePicker::SetKind(TDateTimeKind Value) {
    FKind = Value;
    ApplyFormat();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat Value) {
    FDateFormat = Value;
    ApplyFormat();
}

void TDateTimePicker::SetDateMode(TDTDateMode Value) {
    FDateMode = Value;
    ApplyFormat();
}

void TDateTimePicker::SetMinDate(TDateTime Value) {
    FMinDate = Value;
    FEdit->setMinimumDateTime(Value != 0 ? ToQDateTime(Value) : QDateTime(QDate(1753, 1, 1), QTime(0, 0)));
    if (Value != 0 && FDateTime < Value) SetDateTime(Value);
}

void TDateTimePicker::SetMaxDate(TDateTime Value) {
    FMaxDate = Value;
    FEdit->setMaximumDateTime(Value != 0 ? ToQDateTime(Value)
                                         : QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 999)));
    if (Value != 0 && FDateTime > Value) SetDateTime(Value);
}

void TDateTimePicker::Change() {
    if (OnChange) OnChange(this);
}
