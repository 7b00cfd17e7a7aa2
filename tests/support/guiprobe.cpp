#include "tests/support/guiprobe.h"

#include "platform/gui/qtbridge.h"
#include "platform/win32/gdiqt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QEventLoop>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QRadioButton>
#include <QRegion>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <stdexcept>

namespace probe {

namespace {

QWidget* WidgetOf(const TControl& control) {
    QWidget* w = control.Widget();
    if (w == nullptr) throw std::logic_error("the control has no window");
    return w;
}

QPoint ToQPoint(TPoint p) {
    return {p.X, p.Y};
}
TPoint FromQPoint(QPoint p) {
    return {p.x(), p.y()};
}
Rgb RgbOf(const QColor& c) {
    return {c.red(), c.green(), c.blue()};
}

// The key Qt reports for a virtual key: letters, digits, function keys and
// the editing keys the tests press.
int QtKeyOf(Word vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return vk;
    if (vk >= VK_F1 && vk <= VK_F12) return Qt::Key_F1 + (vk - VK_F1);
    switch (vk) {
    case VK_BACK:
        return Qt::Key_Backspace;
    case VK_TAB:
        return Qt::Key_Tab;
    case VK_RETURN:
        return Qt::Key_Return;
    case VK_ESCAPE:
        return Qt::Key_Escape;
    case VK_SPACE:
        return Qt::Key_Space;
    case VK_PRIOR:
        return Qt::Key_PageUp;
    case VK_NEXT:
        return Qt::Key_PageDown;
    case VK_END:
        return Qt::Key_End;
    case VK_HOME:
        return Qt::Key_Home;
    case VK_LEFT:
        return Qt::Key_Left;
    case VK_UP:
        return Qt::Key_Up;
    case VK_RIGHT:
        return Qt::Key_Right;
    case VK_DOWN:
        return Qt::Key_Down;
    case VK_INSERT:
        return Qt::Key_Insert;
    case VK_DELETE:
        return Qt::Key_Delete;
    default:
        throw std::invalid_argument("no Qt key for this virtual key");
    }
}

Qt::KeyboardModifiers ModifiersOf(TShiftState shift) {
    Qt::KeyboardModifiers mods;
    if (shift.Contains(ssShift)) mods |= Qt::ShiftModifier;
    if (shift.Contains(ssCtrl)) mods |= Qt::ControlModifier;
    if (shift.Contains(ssAlt)) mods |= Qt::AltModifier;
    return mods;
}

void ClickButton(QAbstractButton* button) {
    if (button == nullptr) throw std::logic_error("not a button");
    button->click();
}

} // namespace

void EnsureApplication() {
    // The program's own start-up, so that a test sees what the program does: numbers in the
    // C library's "C" form whatever the locale, Qt's texts in the system's language.
    gui_detail::EnsureQtApplication();
}

void ProcessEvents() {
    QCoreApplication::processEvents();
}

bool WaitFor(const std::function<bool()>& done, int boundMs) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

bool NestedLoopUntil(const std::function<bool()>& done, int boundMs) {
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (done()) loop.quit();
    });
    check.start(1);
    QTimer::singleShot(boundMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

void Later(std::function<void()> f) {
    QTimer::singleShot(0, std::move(f));
}

void ChangeDesktopColours() {
    const QPalette before = QApplication::palette();
    QPalette other = before;
    other.setColor(QPalette::Window, QColor(0x20, 0x40, 0x60));
    QApplication::setPalette(other);
    QCoreApplication::processEvents();
    QApplication::setPalette(before);
    QCoreApplication::processEvents();
}

int Rgb::Lightness() const {
    return QColor(r, g, b).lightness();
}

struct Picture::Impl {
    QImage image;
};

Picture::Picture() : impl_(std::make_unique<Impl>()) {}
Picture::~Picture() = default;
Picture::Picture(Picture&&) noexcept = default;
Picture& Picture::operator=(Picture&&) noexcept = default;

int Picture::Width() const {
    return impl_->image.width();
}
int Picture::Height() const {
    return impl_->image.height();
}
Rgb Picture::Pixel(int x, int y) const {
    return RgbOf(impl_->image.pixelColor(x, y));
}
bool Picture::SavePng(const std::filesystem::path& file) const {
    return impl_->image.save(QString::fromStdString(file.string()), "PNG");
}

int Picture::Darkest() const {
    int darkest = 255;
    for (int y = 0; y < impl_->image.height(); ++y)
        for (int x = 0; x < impl_->image.width(); ++x)
            darkest = std::min(darkest, qGray(impl_->image.pixel(x, y)));
    return darkest;
}

bool operator==(const Picture& a, const Picture& b) {
    return a.impl_->image == b.impl_->image;
}

int DifferingPixels(const Picture& a, const Picture& b) {
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (!(a.Pixel(x, y) == b.Pixel(x, y))) ++n;
    return n;
}

Picture Grab(const TControl& control) {
    Picture p;
    p.impl_->image = WidgetOf(control)->grab().toImage();
    return p;
}

Picture GrabScreen(const TControl& control) {
    return GrabScreen(WidgetOf(control));
}

Picture GrabScreen(QWidget* w) {
    QCoreApplication::processEvents();
    const QPoint origin = w->mapToGlobal(QPoint(0, 0));
    Picture p;
    p.impl_->image = w->screen()->grabWindow(0, origin.x(), origin.y(), w->width(), w->height()).toImage();
    return p;
}

Picture Grab(TBitmap& bitmap) {
    Picture p;
    p.impl_->image = BitmapImage(bitmap.GetHandle());
    return p;
}

Picture ShownCursor(const TControl& control) {
    Picture p;
    p.impl_->image = WidgetOf(control)->cursor().pixmap().toImage();
    return p;
}

Rgb Pixel(TBitmap& bitmap, int x, int y) {
    return RgbOf(QColor(BitmapImage(bitmap.GetHandle()).pixel(x, y)));
}

Rgb Pixel(const TGraphicControl& control, int x, int y) {
    return RgbOf(control.BackImage()->pixelColor(x, y));
}

Rgb Pixel(const TCustomControl& control, int x, int y) {
    return RgbOf(control.BackImage()->pixelColor(x, y));
}

bool Shown(const TControl& control) {
    return WidgetOf(control)->isVisible();
}

String DateText(const TDateTimePicker& picker) {
    return FromQString(picker.Editor()->findChild<QLineEdit*>()->text());
}

bool CalendarShown(const TDateTimePicker& picker) {
    const auto* calendar = picker.Editor()->findChild<QCalendarWidget*>();
    return calendar && calendar->window()->isVisible();
}

TPoint DateCharacterAt(const TDateTimePicker& picker, int index) {
    QLineEdit* text = picker.Editor()->findChild<QLineEdit*>();
    const int was = text->cursorPosition();
    text->setCursorPosition(index);
    const QPoint at = text->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    text->setCursorPosition(was);
    return FromQPoint(text->mapTo(WidgetOf(picker), at));
}

TPoint MapTo(const TControl& from, const TControl& to, TPoint p) {
    return FromQPoint(WidgetOf(from)->mapTo(WidgetOf(to), ToQPoint(p)));
}

TPoint ScreenOrigin(const TControl& control) {
    return FromQPoint(WidgetOf(control)->mapToGlobal(QPoint()));
}

TRect FrameRect(const TControl& control) {
    const QRect r = WidgetOf(control)->window()->frameGeometry();
    return Bounds(r.x(), r.y(), r.width(), r.height());
}

TPoint WindowSize(const TControl& control) {
    const QWidget* w = WidgetOf(control);
    return {w->width(), w->height()};
}

int MarkRoom(const TControl& control) {
    QWidget* w = control.Widget();
    if (!w) return 0;
    auto* button = qobject_cast<QAbstractButton*>(w);
    if (!button) button = w->findChild<QRadioButton*>();
    if (!button) return 0;
    const bool radio = qobject_cast<QRadioButton*>(button) != nullptr;
    QStyle* style = button->style();
    return style->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth, nullptr,
                              button) +
           style->pixelMetric(radio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing,
                              nullptr, button);
}

String FontFamily(const TControl& control) {
    return FromQString(QFontInfo(WidgetOf(control)->font()).family());
}

bool FontInstalled(const String& family) {
    return QFontDatabase::hasFamily(ToQString(family));
}

String ToolTip(const TControl& control) {
    return FromQString(WidgetOf(control)->toolTip());
}

bool ShapeHolds(HWND window, TPoint p) {
    return reinterpret_cast<QWidget*>(window)->mask().contains(ToQPoint(p));
}

bool Shaped(HWND window) {
    return !reinterpret_cast<QWidget*>(window)->mask().isEmpty();
}

void Key(const TControl& control, Word key, TShiftState shift) {
    QWidget* target = control.InputSurface();
    if (target == nullptr) throw std::logic_error("the control takes no input");
    const int qtKey = QtKeyOf(key);
    const Qt::KeyboardModifiers mods = ModifiersOf(shift);
    QKeyEvent press(QEvent::KeyPress, qtKey, mods);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, mods);
    QCoreApplication::sendEvent(target, &release);
}

namespace {

Qt::MouseButton QtButtonOf(TMouseButton button) {
    switch (button) {
    case mbRight:
        return Qt::RightButton;
    case mbMiddle:
        return Qt::MiddleButton;
    default:
        return Qt::LeftButton;
    }
}

void SendMouse(const TControl& control, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
               TPoint at, TShiftState shift) {
    QWidget* target = control.InputSurface();
    if (target == nullptr) throw std::logic_error("the control takes no input");
    const QPointF local(at.X, at.Y);
    QMouseEvent e(type, local, target->mapToGlobal(local), button, held, ModifiersOf(shift));
    QCoreApplication::sendEvent(target, &e);
}

} // namespace

void MousePress(const TControl& control, TMouseButton button, TPoint at, TShiftState shift) {
    SendMouse(control, QEvent::MouseButtonPress, QtButtonOf(button), QtButtonOf(button), at, shift);
}

void MouseMoveTo(const TControl& control, TMouseButton held, TPoint at, TShiftState shift) {
    SendMouse(control, QEvent::MouseMove, Qt::NoButton, QtButtonOf(held), at, shift);
}

void MouseRelease(const TControl& control, TMouseButton button, TPoint at, TShiftState shift) {
    SendMouse(control, QEvent::MouseButtonRelease, QtButtonOf(button), Qt::NoButton, at, shift);
}

void Wheel(const TControl& control, TPoint at, int delta, TShiftState shift) {
    QWidget* target = control.InputSurface();
    if (target == nullptr) throw std::logic_error("the control takes no input");
    // Each turn is a new event for the platform's routing, as real ones are.
    static quint64 timestamp = 0;
    const QPointF local(at.X, at.Y);
    QWheelEvent e(local, target->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton,
                  ModifiersOf(shift), Qt::NoScrollPhase, false);
    e.setTimestamp(++timestamp);
    QCoreApplication::sendEvent(target, &e);
}

void Type(const TControl& control, std::u16string_view text) {
    QWidget* target = control.InputSurface();
    if (target == nullptr) throw std::logic_error("the control takes no input");
    for (const char16_t c : text) {
        int qtKey = c;
        if (c >= u'a' && c <= u'z') qtKey = Qt::Key_A + (c - u'a');
        if (c == u'\r') qtKey = Qt::Key_Return;
        if (c == u'\t') qtKey = Qt::Key_Tab;
        const QString typed(QChar(static_cast<ushort>(c)));
        QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, typed);
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier, typed);
        QCoreApplication::sendEvent(target, &release);
    }
}

void Click(const TControl& button) {
    ClickButton(qobject_cast<QAbstractButton*>(WidgetOf(button)));
}

void Click(const TCustomRadioGroup& group, int index) {
    ClickButton(group.ButtonAt(index));
}

void Choose(const TCustomComboBox& box, int index) {
    box.ComboBox()->setCurrentIndex(index);
    Q_EMIT box.ComboBox()->activated(index);
}

void ChooseTab(const TTabSheet& sheet) {
    TPageControl* pc = sheet.GetPageControl();
    if (pc == nullptr) throw std::logic_error("the sheet is in no page control");
    pc->TabWidget()->tabBar()->setCurrentIndex(pc->TabWidget()->indexOf(sheet.Widget()));
}

const TTabSheet* ShownPage(const TPageControl& pages) {
    QTabWidget* tabs = pages.TabWidget();
    QWidget* page = tabs->currentWidget();
    if (page == nullptr || tabs->widget(tabs->tabBar()->currentIndex()) != page || !page->isVisible())
        return nullptr;
    for (int i = 0; i < pages.GetPageCount(); ++i)
        if (pages.GetPage(i)->Widget() == page) return pages.GetPage(i);
    return nullptr;
}

void ClickItem(const TCustomListBox& list, int index) {
    auto* w = qobject_cast<QListWidget*>(WidgetOf(list));
    if (w == nullptr || w->item(index) == nullptr) throw std::logic_error("no such list item");
    w->scrollToItem(w->item(index));
    const QPointF at = w->visualItemRect(w->item(index)).center();
    QWidget* viewport = w->viewport();
    QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &release);
}

Picture Overlay(const Picture& back, const Picture& front, TPoint at) {
    Picture p;
    p.impl_->image = back.impl_->image.copy();
    QPainter painter(&p.impl_->image);
    painter.drawImage(at.X, at.Y, front.impl_->image);
    return p;
}

} // namespace probe
