// Self-painted controls: the retained image each one paints into, the widget that shows it
// (and, for a transparent one, what lies under it), and the graphic and custom controls on it.
#include "platform/gui/controls.h"
#include "platform/gui/qtbridge.h"
#include "platform/win32/gdiqt.h"

#include <QPainter>
#include <QRegion>
#include <QWidget>

#include <algorithm>

using namespace gui_detail;

// ---------------------------------------------------------------------------
// Self-painted controls

class PaintSurface : public QWidget {
public:
    explicit PaintSurface(TControl* owner, std::function<void()> paint)
        : owner_(owner), paint_(std::move(paint)) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    // What the control shows has changed: the next paint lets the control draw it. A paint
    // asked for by drawing outside painting only shows the image as that drawing left it, as
    // a window shows what was drawn on it without a paint message (a rubber band drawn twice
    // in xor goes away again, and the control's Paint does not draw over it in between).
    void Invalidated() { invalid_ = true; }
    // The image, its painting finished (whoever asks may copy or read it).
    QImage* Back() {
        EnsureSize();
        EndPaintingOn(&back_);
        return &back_;
    }
    void SetTransparent(bool on) {
        if (transparent_ == on) return;
        transparent_ = on;
        setAttribute(Qt::WA_OpaquePaintEvent, !on);
        invalid_ = true;
        update();
    }
    // Drawing outside painting shows at the next paint (asked for once until it comes).
    void Drawn() {
        if (painting_ || updateAsked_) return;
        updateAsked_ = true;
        update();
    }
    // The canvas over the retained image, made on first use.
    TCanvas* Canvas(Owned<TCanvas>& holder) {
        if (!holder) {
            holder.reset(new TImageCanvas([this] { return Back(); }));
            holder->OnChange.Bind([this](TObject*) { Drawn(); });
        }
        return holder.get();
    }

protected:
    // The image follows the size at once: drawing before the next paint lands on it.
    void resizeEvent(QResizeEvent*) override {
        EnsureSize();
        invalid_ = true;
    }
    void showEvent(QShowEvent*) override { invalid_ = true; }
    void changeEvent(QEvent* e) override {
        invalid_ = true; // enabled, font, palette, style: the control draws itself anew
        QWidget::changeEvent(e);
    }
    void paintEvent(QPaintEvent*) override {
        // The picture of what lies under a transparent surface is being taken: this one adds
        // nothing to it.
        if (grabbing_) return;
        EnsureSize();
        // What lies under a transparent surface may have changed whenever the system paints it.
        if (transparent_ && !updateAsked_) invalid_ = true;
        updateAsked_ = false;
        if (invalid_) {
            invalid_ = false;
            if (transparent_) TakeUnderlay();
            painting_ = true;
            Guarded(owner_, paint_);
            painting_ = false;
        }
        EndPaintingOn(&back_);
        QPainter p(this);
        p.drawImage(0, 0, back_);
    }

private:
    // The image becomes what lies under the surface: the parent's background and the controls
    // beneath this one, without the surface.
    void TakeUnderlay() {
        EndPaintingOn(&back_);
        QWidget* parent = parentWidget();
        if (!parent) {
            back_.fill(palette().color(QPalette::Window));
            return;
        }
        grabbing_ = true;
        QPainter p(&back_);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        parent->render(&p, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        // The parent's children come in their stacking order, the lowest first: those before
        // this one lie beneath it.
        for (QObject* child : parent->children()) {
            if (child == this) break;
            auto* below = qobject_cast<QWidget*>(child);
            if (!below || below->isWindow() || below->isHidden()) continue;
            const QRect shared = below->geometry() & geometry();
            if (shared.isEmpty()) continue;
            below->render(&p, shared.topLeft() - pos(), QRegion(shared.translated(-below->pos())),
                          QWidget::DrawWindowBackground | QWidget::DrawChildren);
        }
        grabbing_ = false;
    }
    void EnsureSize() {
        const QSize s(std::max(width(), 1), std::max(height(), 1));
        if (back_.size() == s) return;
        EndPaintingOn(&back_); // the canvas draws on the new image from its next call
        QImage next(s, QImage::Format_RGB32);
        next.fill(palette().color(QPalette::Window));
        if (!back_.isNull()) {
            QPainter p(&next);
            p.drawImage(0, 0, back_);
        }
        back_ = std::move(next);
    }

    TControl* owner_;
    std::function<void()> paint_;
    QImage back_;
    bool painting_ = false;
    bool updateAsked_ = false;
    bool invalid_ = true;
    bool transparent_ = false;
    bool grabbing_ = false;
};

void gui_detail::MarkForPaint(QWidget* widget) {
    if (auto* surface = dynamic_cast<PaintSurface*>(widget)) surface->Invalidated();
}

TRetainedSurface::TRetainedSurface() = default;

TRetainedSurface::~TRetainedSurface() = default;

QWidget* TRetainedSurface::Create(TControl* Owner, std::function<void()> Paint) {
    FWidget = new PaintSurface(Owner, std::move(Paint));
    return FWidget;
}

QImage* TRetainedSurface::Image() const {
    return FWidget ? FWidget->Back() : nullptr;
}

TCanvas* TRetainedSurface::Canvas() {
    return FWidget ? FWidget->Canvas(FCanvas) : nullptr;
}

void TRetainedSurface::SetTransparent(bool Value) {
    if (FWidget) FWidget->SetTransparent(Value);
}

const ClassInfo& TGraphicControl::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TGraphicControl>("TGraphicControl", &TControl::StaticClass());
    return ci;
}

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {
    SetWidget(FSurface.Create(this, [this] { Paint(); }));
}

TGraphicControl::TGraphicControl(TComponent* AOwner, QWidget* AWidget) : TControl(AOwner) {
    SetWidget(AWidget);
}

// The canvas goes with the surface, before the control frees the widget.
TGraphicControl::~TGraphicControl() = default;

QImage* TGraphicControl::BackImage() const {
    return FSurface.Image();
}

TCanvas* TGraphicControl::GetCanvas() {
    return FSurface.Canvas();
}

const ClassInfo& TCustomControl::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TCustomControl>("TCustomControl", &TWinControl::StaticClass());
    return ci;
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
    QWidget* surface = FSurface.Create(this, [this] { Paint(); });
    surface->setFocusPolicy(Qt::StrongFocus);
    SetWidget(surface);
}

TCustomControl::TCustomControl(TComponent* AOwner, QWidget* AWidget) : TWinControl(AOwner) {
    SetWidget(AWidget);
}

TCustomControl::~TCustomControl() = default;

QImage* TCustomControl::BackImage() const {
    return FSurface.Image();
}

TCanvas* TCustomControl::GetCanvas() {
    return FSurface.Canvas();
}

void TCustomControl::RecreateWnd() {
    DWORD style = 0, exStyle = 0;
    CreateParams(style, exStyle);
    FSurface.SetTransparent((exStyle & WS_EX_TRANSPARENT) != 0);
}

void TCustomControl::Loaded() {
    TWinControl::Loaded();
    RecreateWnd();
}
