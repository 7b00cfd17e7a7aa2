// The screen: its size, the cursor, the forms that exist and the active one.
#include "platform/gui/forms_internal.h"
#include "platform/gui/qtbridge.h"

#include "platform/core/resources.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stockcursors.h"
#include "platform/gui/winuser.h"
#include "platform/win32/gdiqt.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <sstream>

using namespace gui_detail;

// ---------------------------------------------------------------------------
// Cursor pictures

HCURSOR LoadCursorResource(const String& Name) {
    const TEmbeddedResource* res = FindResource(UTF8Encode(Name), "cur.txt");
    if (!res) return nullptr;
    std::istringstream in(std::string(reinterpret_cast<const char*>(res->data), res->size));
    int hotX = -1, hotY = -1;
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line.rfind("hotspot", 0) == 0) {
            std::istringstream(line.substr(7)) >> hotX >> hotY;
            continue;
        }
        rows.push_back(line);
    }
    const int h = static_cast<int>(rows.size());
    const int w = h > 0 ? static_cast<int>(rows[0].size()) : 0;
    if (w < 1 || w > 256 || h > 256 || hotX < 0 || hotY < 0 || hotX >= w || hotY >= h)
        throw EInvalidGraphic(u"Cursor picture %s is not valid", {Name});
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < h; ++y) {
        if (static_cast<int>(rows[static_cast<std::size_t>(y)].size()) != w)
            throw EInvalidGraphic(u"Cursor picture %s is not valid", {Name});
        for (int x = 0; x < w; ++x) {
            switch (rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]) {
            case '#':
                image.setPixel(x, y, qRgba(0, 0, 0, 255));
                break;
            case 'o':
                image.setPixel(x, y, qRgba(255, 255, 255, 255));
                break;
            case '.':
                break;
            default:
                throw EInvalidGraphic(u"Cursor picture %s is not valid", {Name});
            }
        }
    }
    EnsureQtApplication();
    return new TCursorPicture(QCursor(QPixmap::fromImage(image), hotX, hotY));
}

TCursorPicture::TCursorPicture(QCursor Shown) : Cursor(std::move(Shown)) {}
TCursorPicture::~TCursorPicture() = default;

namespace {

// The animated cursor's next step, shown wherever its number is.
void StepCursor(HCURSOR Picture, int Index) {
    Picture->Step = (Picture->Step + 1) % Picture->Steps.size();
    const TCursorPicture::TStep& step = Picture->Steps[Picture->Step];
    Picture->Cursor = Picture->Frames[step.Frame];
    Picture->Timer->SetInterval(step.Milliseconds);
    ShowCursorAgain(static_cast<TCursor>(Index));
    if (Screen && Screen->GetCursor() == Index) QApplication::changeOverrideCursor(Picture->Cursor);
}

// An animated cursor entered in the table under Index starts again from its first step.
void Animate(HCURSOR Picture, int Index) {
    if (Picture->Steps.size() < 2) return;
    Picture->Step = 0;
    Picture->Cursor = Picture->Frames[Picture->Steps[0].Frame];
    Picture->Timer.reset(Create<TTimer>(nullptr));
    Picture->Timer->SetInterval(Picture->Steps[0].Milliseconds);
    Picture->Timer->OnTimer = TNotifyEvent([Picture, Index](TObject*) { StepCursor(Picture, Index); });
}

} // namespace

void DestroyCursor(HCURSOR Cursor) {
    delete Cursor;
}

TSize CursorSize(HCURSOR Cursor) {
    if (!Cursor) return {0, 0};
    const QPixmap p = Cursor->Cursor.pixmap();
    return {p.width(), p.height()};
}

TPoint CursorHotSpot(HCURSOR Cursor) {
    if (!Cursor) return {0, 0};
    const QPoint p = Cursor->Cursor.hotSpot();
    return {p.x(), p.y()};
}

bool DrawCursorPicture(TBitmap* Bitmap, int Cursor) {
    HCURSOR picture = Screen ? Screen->GetCursorHandle(Cursor) : nullptr;
    if (!picture) return false;
    Bitmap->SetSize(GetSystemMetrics(SM_CXCURSOR), GetSystemMetrics(SM_CYCURSOR));
    QPainter painter(&BitmapImage(Bitmap->GetHandle()));
    painter.drawPixmap(0, 0, picture->Cursor.pixmap());
    return true;
}

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
    for (const auto& [index, picture] : FPictures) DestroyCursor(picture);
    for (const auto& [index, picture] : FStockPictures) DestroyCursor(picture);
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

void TScreen::SetCursors(int Index, HCURSOR Cursor) {
    for (auto it = FPictures.begin(); it != FPictures.end(); ++it)
        if (it->first == Index) {
            if (it->second == Cursor) return;
            DestroyCursor(it->second);
            if (Cursor) {
                it->second = Cursor;
                Animate(Cursor, Index);
            } else {
                FPictures.erase(it);
            }
            return;
        }
    if (!Cursor) return;
    FPictures.emplace_back(Index, Cursor);
    Animate(Cursor, Index);
}

HCURSOR TScreen::GetCursorHandle(int Index) const {
    for (const auto& [index, picture] : FPictures)
        if (index == Index) return picture;
    // The stock shapes have pictures too, so a cursor chooser can show them; each is drawn the
    // first time it is asked for, not at start-up. Over a control the desktop still shows its own
    // shape for a stock number (ToQtCursor).
    if (Index > crDefault || Index < crSizeAll) return nullptr;
    for (const auto& [index, picture] : FStockPictures)
        if (index == Index) return picture;
    const HCURSOR picture = MakeStockCursor(static_cast<TCursor>(Index));
    if (picture) FStockPictures.emplace_back(Index, picture);
    return picture;
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
