#include "platform/gui/winuser.h"

#include "platform/gui/qtbridge.h"
#include "platform/win32/gdiqt.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QRegion>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>

using namespace gui_detail;

namespace {

QRect ToQRect(const TRect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}
TRect FromQRect(const QRect& r) {
    return Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

// The application's one caret.
struct Caret {
    QPointer<FrameWidget> owner;
    QRect rect; // in the owner's client coordinates
    int hideCount = 1;
    bool blinkOn = true;
    QTimer* blink = nullptr;
};
Caret& TheCaret() {
    static Caret caret;
    return caret;
}

} // namespace

// The frame: a scroll area whose viewport is the client area. It keeps the
// retained client image, the part of it that still has to be painted by the
// control, and the scroll bars' state as the control last set it.
class Corner : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), ToQColor(clBtnFace)); }
};

class FrameWidget : public QAbstractScrollArea {
public:
    explicit FrameWidget(TFramedControl* owner) : owner_(owner) {
        setFocusPolicy(Qt::StrongFocus);
        viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setFrameStyle(QFrame::NoFrame);
        // The corner between the bars belongs to them: it keeps the button face whatever colour
        // the control takes.
        setCornerWidget(new Corner);
        Connect(horizontalScrollBar(), WM_HSCROLL);
        Connect(verticalScrollBar(), WM_VSCROLL);
    }

    void ApplyStyle(DWORD style, DWORD exStyle) {
        style_ = style;
        if (exStyle & WS_EX_CLIENTEDGE) {
            setFrameStyle(QFrame::Panel | QFrame::Sunken);
            setLineWidth(2);
        } else if (style & WS_BORDER) {
            setFrameStyle(QFrame::Box | QFrame::Plain);
            setLineWidth(1);
        } else {
            setFrameStyle(QFrame::NoFrame);
        }
        UpdateBars();
    }
    int FrameWidth() const { return frameWidth(); }
    bool BarShown(int bar) const { return Allowed(bar) && Info(bar).nMax > Info(bar).nMin; }

    SCROLLINFO& Info(int bar) { return bar == SB_HORZ ? horz_ : vert_; }
    const SCROLLINFO& Info(int bar) const { return bar == SB_HORZ ? horz_ : vert_; }
    void ApplyBar(int bar) {
        const SCROLLINFO& si = Info(bar);
        QScrollBar* b = Bar(bar);
        const QSignalBlocker block(b);
        b->setRange(si.nMin, std::max(si.nMin, si.nMax - std::max(0, static_cast<int>(si.nPage) - 1)));
        b->setPageStep(std::max(1, static_cast<int>(si.nPage)));
        b->setValue(si.nPos);
        b->setSliderPosition(si.nPos);
        UpdateBars();
    }

    // The image, its canvas's painting finished (whoever asks may copy, paint or replace it).
    QImage& Back() {
        EndPaintingOn(&back_);
        const QSize s(std::max(viewport()->width(), 1), std::max(viewport()->height(), 1));
        if (back_.size() != s) {
            QImage next(s, QImage::Format_RGB32);
            next.fill(ToQColor(owner_->GetColor()));
            if (!back_.isNull()) {
                QPainter p(&next);
                p.drawImage(0, 0, back_);
            }
            back_ = std::move(next);
            invalid_ = QRegion(back_.rect());
        }
        return back_;
    }
    void Invalidate(const QRect& r) {
        invalid_ += r;
        viewport()->update(r);
    }
    void Drawn() {
        if (!painting_) viewport()->update();
    }
    void Scroll(int dx, int dy, const QRect& area, bool invalidate, QRect* uncovered) {
        QImage& img = Back();
        const QRect target = area.translated(dx, dy) & area;
        if (!target.isEmpty()) {
            const QImage part = img.copy(target.translated(-dx, -dy));
            QPainter p(&img);
            p.drawImage(target.topLeft(), part);
        }
        // Parts still waiting for paint move with the pixels.
        QRegion moved = invalid_ & QRegion(area);
        invalid_ -= QRegion(area);
        invalid_ += moved.translated(dx, dy) & QRegion(area);
        const QRegion open = QRegion(area) - QRegion(target);
        if (uncovered) *uncovered = open.boundingRect();
        if (invalidate) invalid_ += open;
        viewport()->update(area);
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        QImage& img = Back();
        const QRegion due = invalid_ & e->region();
        if (!due.isEmpty()) {
            invalid_ -= due;
            painting_ = true;
            Guarded(owner_, [&] {
                for (const QRect& part : due) owner_->PaintPart(FromQRect(part));
            });
            painting_ = false;
        }
        EndPaintingOn(&img);
        QPainter p(viewport());
        p.drawImage(e->rect().topLeft(), img, e->rect());
        const Caret& caret = TheCaret();
        if (caret.owner == this && caret.hideCount == 0 && caret.blinkOn) {
            p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            p.fillRect(caret.rect, Qt::white);
        }
    }
    void resizeEvent(QResizeEvent* e) override {
        QAbstractScrollArea::resizeEvent(e);
        Back();
    }
    void scrollContentsBy(int, int) override {} // the control scrolls its own content

private:
    QScrollBar* Bar(int bar) const { return bar == SB_HORZ ? horizontalScrollBar() : verticalScrollBar(); }
    bool Allowed(int bar) const { return (style_ & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) != 0; }
    void UpdateBars() {
        setHorizontalScrollBarPolicy(BarShown(SB_HORZ) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(BarShown(SB_VERT) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    }
    // A bar moves only when the control says so: a click asks the control,
    // which sets the new position; a dragged thumb follows the mouse and
    // reports its track position.
    void Connect(QScrollBar* b, UINT message) {
        connect(b, &QAbstractSlider::actionTriggered, this, [this, b, message](int action) {
            int code = -1;
            switch (action) {
            case QAbstractSlider::SliderSingleStepSub:
                code = SB_LINEUP;
                break;
            case QAbstractSlider::SliderSingleStepAdd:
                code = SB_LINEDOWN;
                break;
            case QAbstractSlider::SliderPageStepSub:
                code = SB_PAGEUP;
                break;
            case QAbstractSlider::SliderPageStepAdd:
                code = SB_PAGEDOWN;
                break;
            case QAbstractSlider::SliderToMinimum:
                code = SB_TOP;
                break;
            case QAbstractSlider::SliderToMaximum:
                code = SB_BOTTOM;
                break;
            case QAbstractSlider::SliderMove:
                Info(message == WM_HSCROLL ? SB_HORZ : SB_VERT).nTrackPos = b->sliderPosition();
                owner_->HandleScroll(message, SB_THUMBTRACK, b->sliderPosition());
                return;
            default:
                return;
            }
            owner_->HandleScroll(message, code, b->value());
            owner_->HandleScroll(message, SB_ENDSCROLL, 0);
            b->setSliderPosition(Info(message == WM_HSCROLL ? SB_HORZ : SB_VERT).nPos);
        });
        connect(b, &QAbstractSlider::sliderReleased, this, [this, b, message] {
            const int bar = message == WM_HSCROLL ? SB_HORZ : SB_VERT;
            owner_->HandleScroll(message, SB_THUMBPOSITION, b->sliderPosition());
            owner_->HandleScroll(message, SB_ENDSCROLL, 0);
            const QSignalBlocker block(b);
            b->setValue(Info(bar).nPos);
            b->setSliderPosition(Info(bar).nPos);
        });
    }

    TFramedControl* owner_;
    DWORD style_ = 0;
    SCROLLINFO horz_;
    SCROLLINFO vert_;
    QImage back_;
    QRegion invalid_;
    bool painting_ = false;
};

namespace {

FrameWidget* FrameOf(HWND window) {
    auto* w = reinterpret_cast<QWidget*>(window);
    if (!w) return nullptr;
    auto* control = dynamic_cast<TFramedControl*>(ControlOfWidgetExact(w));
    return control ? dynamic_cast<FrameWidget*>(w) : nullptr;
}

void UpdateCaretArea() {
    Caret& c = TheCaret();
    if (c.owner) c.owner->viewport()->update(c.rect);
}

} // namespace

// ---------------------------------------------------------------------------
// Scroll bars and scrolling

int SetScrollInfo(HWND Window, int Bar, const SCROLLINFO* Info, BOOL Redraw) {
    FrameWidget* f = FrameOf(Window);
    if (!f || !Info || (Bar != SB_HORZ && Bar != SB_VERT)) return 0;
    SCROLLINFO& si = f->Info(Bar);
    if (Info->fMask & SIF_RANGE) {
        si.nMin = Info->nMin;
        si.nMax = Info->nMax;
    }
    if (Info->fMask & SIF_PAGE) si.nPage = Info->nPage;
    if (Info->fMask & SIF_POS) si.nPos = Info->nPos;
    // The position stays inside the range, as the system keeps it.
    const int last = std::max(si.nMin, si.nMax - std::max(0, static_cast<int>(si.nPage) - 1));
    si.nPos = std::clamp(si.nPos, si.nMin, last);
    f->ApplyBar(Bar);
    return si.nPos;
}

BOOL GetScrollInfo(HWND Window, int Bar, SCROLLINFO* Info) {
    FrameWidget* f = FrameOf(Window);
    if (!f || !Info || (Bar != SB_HORZ && Bar != SB_VERT)) return FALSE;
    const SCROLLINFO& si = f->Info(Bar);
    if (Info->fMask & SIF_RANGE) {
        Info->nMin = si.nMin;
        Info->nMax = si.nMax;
    }
    if (Info->fMask & SIF_PAGE) Info->nPage = si.nPage;
    if (Info->fMask & SIF_POS) Info->nPos = si.nPos;
    if (Info->fMask & SIF_TRACKPOS) Info->nTrackPos = si.nTrackPos;
    return TRUE;
}

int GetScrollPos(HWND Window, int Bar) {
    SCROLLINFO si;
    si.fMask = SIF_POS;
    return GetScrollInfo(Window, Bar, &si) ? si.nPos : 0;
}

int ScrollWindowEx(HWND Window, int dx, int dy, const RECT* Scroll, const RECT* Clip, HRGN, RECT* Update,
                   UINT Flags) {
    FrameWidget* f = FrameOf(Window);
    if (!f) return 0; // ERROR
    QRect area = f->Back().rect();
    if (Scroll) area &= ToQRect(*Scroll);
    if (Clip) area &= ToQRect(*Clip);
    QRect open;
    f->Scroll(dx, dy, area, (Flags & SW_INVALIDATE) != 0, &open);
    if (Update) *Update = FromQRect(open);
    return open.isEmpty() ? NULLREGION : SIMPLEREGION;
}

BOOL InvalidateRect(HWND Window, const RECT* Rect, BOOL) {
    FrameWidget* f = FrameOf(Window);
    if (!f) return FALSE;
    f->Invalidate(Rect ? ToQRect(*Rect) & f->Back().rect() : f->Back().rect());
    return TRUE;
}

// ---------------------------------------------------------------------------
// The caret

BOOL CreateCaret(HWND Window, HBITMAP, int Width, int Height) {
    FrameWidget* f = FrameOf(Window);
    if (!f) return FALSE;
    DestroyCaret();
    Caret& c = TheCaret();
    c.owner = f;
    c.rect = QRect(0, 0, std::max(Width, 1), std::max(Height, 1));
    c.hideCount = 1;
    c.blinkOn = true;
    // Nobody sees a headless screen blink; pictures of it stay steady.
    if (!Headless() && QApplication::cursorFlashTime() > 0) {
        if (!c.blink) {
            c.blink = new QTimer(qApp);
            QObject::connect(c.blink, &QTimer::timeout, [] {
                TheCaret().blinkOn = !TheCaret().blinkOn;
                UpdateCaretArea();
            });
        }
        c.blink->start(QApplication::cursorFlashTime() / 2);
    }
    return TRUE;
}

BOOL DestroyCaret() {
    Caret& c = TheCaret();
    if (!c.owner) return FALSE;
    UpdateCaretArea();
    c.owner = nullptr;
    c.hideCount = 1;
    if (c.blink) c.blink->stop();
    return TRUE;
}

BOOL ShowCaret(HWND Window) {
    Caret& c = TheCaret();
    if (!c.owner || (Window && FrameOf(Window) != c.owner)) return FALSE;
    if (c.hideCount == 0) return TRUE;
    if (--c.hideCount == 0) {
        c.blinkOn = true;
        UpdateCaretArea();
    }
    return TRUE;
}

BOOL HideCaret(HWND Window) {
    Caret& c = TheCaret();
    if (!c.owner || (Window && FrameOf(Window) != c.owner)) return FALSE;
    if (c.hideCount++ == 0) UpdateCaretArea();
    return TRUE;
}

BOOL SetCaretPos(int X, int Y) {
    Caret& c = TheCaret();
    if (!c.owner) return FALSE;
    if (c.rect.topLeft() == QPoint(X, Y)) return TRUE;
    UpdateCaretArea();
    c.rect.moveTo(X, Y);
    UpdateCaretArea();
    return TRUE;
}

BOOL GetCaretPos(POINT* Point) {
    const Caret& c = TheCaret();
    if (!Point || !c.owner) return FALSE;
    *Point = TPoint(c.rect.left(), c.rect.top());
    return TRUE;
}

HWND GetCaretWindow() {
    return reinterpret_cast<HWND>(static_cast<QWidget*>(TheCaret().owner.data()));
}

bool IsCaretShown() {
    return TheCaret().owner && TheCaret().hideCount == 0;
}

int GetSystemMetrics(int Index) {
    EnsureQtApplication();
    switch (Index) {
    case SM_CXSCREEN:
        return QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry().width() : 0;
    case SM_CYSCREEN:
        return QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry().height() : 0;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CYSIZE:
        return QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight) - 4;
    default:
        return 0;
    }
}

// ---------------------------------------------------------------------------
// TFramedControl

const ClassInfo& TFramedControl::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TFramedControl>("TFramedControl", &TCustomControl::StaticClass());
    return ci;
}

namespace {
QWidget* NewFrame(TFramedControl* owner) {
    EnsureQtApplication();
    return new FrameWidget(owner);
}
} // namespace

TFramedControl::TFramedControl(TComponent* AOwner) : TCustomControl(AOwner, NewFrame(this)) {
    FFrame = static_cast<FrameWidget*>(Widget());
    RegisterWidget(FFrame->viewport(), this);
}

TFramedControl::~TFramedControl() {
    if (TheCaret().owner == FFrame) DestroyCaret();
    FCanvas.reset();
    // The viewport goes with the frame; a widget made later at its address must not lead here.
    UnregisterWidget(FFrame->viewport());
}

TRect TFramedControl::GetClientRect() const {
    const int fw = FFrame->FrameWidth();
    const int w = FWidth - 2 * fw - (FFrame->BarShown(SB_VERT) ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    const int h = FHeight - 2 * fw - (FFrame->BarShown(SB_HORZ) ? GetSystemMetrics(SM_CYHSCROLL) : 0);
    return Rect(0, 0, std::max(w, 0), std::max(h, 0));
}

void TFramedControl::Invalidate() {
    InvalidateRect(GetHandle(), nullptr, FALSE);
}

QWidget* TFramedControl::InputSurface() const {
    return FFrame->viewport();
}

QImage* TFramedControl::BackImage() const {
    return &FFrame->Back();
}

TCanvas* TFramedControl::GetCanvas() {
    if (!FCanvas) {
        FCanvas.reset(new TImageCanvas([this] { return &FFrame->Back(); }));
        FCanvas->OnChange.Bind([this](TObject*) { FFrame->Drawn(); });
    }
    return FCanvas.get();
}

void TFramedControl::SetCtl3D(bool Value) {
    if (FCtl3D == Value) return;
    FCtl3D = Value;
    Ctl3DChanged();
}

void TFramedControl::RecreateWnd() {
    DWORD style = 0, exStyle = 0;
    CreateParams(style, exStyle);
    FFrame->ApplyStyle(style, exStyle);
    InvalidateRect(GetHandle(), nullptr, FALSE);
}

void TFramedControl::HandleScroll(UINT Message, int Code, int Pos) {
    if (Message == WM_HSCROLL)
        WMHScroll(Code, Pos);
    else
        WMVScroll(Code, Pos);
}

void TFramedControl::PaintPart(const TRect& Rect) {
    FPaintRect = Rect;
    Paint();
    FPaintRect = TRect();
}
