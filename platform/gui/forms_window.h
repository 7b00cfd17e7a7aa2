#pragma once
// The form's top-level window: an optional menu bar above the client area;
// window events go to the form.

#include "platform/gui/forms.h"
#include "platform/gui/qtbridge.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QPointer>
#include <QShowEvent>
#include <QWidget>

#include <algorithm>

class FormWindow : public QWidget {
public:
    explicit FormWindow(TCustomForm* form) : form_(form) {
        client_ = new QWidget(this);
        setAttribute(Qt::WA_DeleteOnClose, false);
    }
    QWidget* Client() const { return client_; }
    void SetMenuBar(QMenuBar* bar) {
        if (bar_ && bar_ != bar) {
            bar_->hide();
            bar_->setParent(nullptr);
        }
        bar_ = bar;
        if (bar_) {
            bar_->setParent(this);
            bar_->show();
        }
        Layout();
    }
    int MenuBarHeight() const {
        if (!bar_ || bar_->actions().isEmpty()) return 0;
        return bar_->heightForWidth(std::max(width(), 1)) > 0 ? bar_->heightForWidth(std::max(width(), 1))
                                                              : bar_->sizeHint().height();
    }
    // Shows the window normal, maximized or minimized.
    void ShowIn(TWindowState state) {
        switch (state) {
        case wsMaximized:
            showMaximized();
            break;
        case wsMinimized:
            showMinimized();
            break;
        default:
            showNormal();
            break;
        }
    }
    void Layout() {
        const int mh = MenuBarHeight();
        if (bar_) bar_->setGeometry(0, 0, width(), mh);
        client_->setGeometry(0, mh, width(), std::max(height() - mh, 0));
    }

protected:
    void resizeEvent(QResizeEvent* e) override {
        QWidget::resizeEvent(e);
        Layout();
    }
    // A window's place is read back as it is set, by its inside: the frame's corner would put a
    // window given its own place back higher and further left by the window manager's frame.
    void moveEvent(QMoveEvent* e) override {
        QWidget::moveEvent(e);
        const QPoint at = geometry().topLeft();
        if (isVisible()) gui_detail::Guarded(form_, [&] { form_->WidgetMoved(at.x(), at.y()); });
    }
    void showEvent(QShowEvent* e) override {
        QWidget::showEvent(e);
        if (!isWindow()) gui_detail::Guarded(form_, [&] { form_->HandleEmbeddedShowing(true); });
    }
    void hideEvent(QHideEvent* e) override {
        QWidget::hideEvent(e);
        if (!isWindow()) gui_detail::Guarded(form_, [&] { form_->HandleEmbeddedShowing(false); });
    }
    void closeEvent(QCloseEvent* e) override {
        e->ignore();
        gui_detail::Guarded(form_, [&] { form_->HandleCloseRequest(); });
    }
    void changeEvent(QEvent* e) override {
        QWidget::changeEvent(e);
        if (e->type() == QEvent::ActivationChange)
            gui_detail::Guarded(form_, [&] { form_->HandleActivate(isActiveWindow()); });
        else if (e->type() == QEvent::WindowStateChange)
            gui_detail::Guarded(form_, [&] {
                const Qt::WindowStates s = windowState();
                form_->HandleWindowStateChange(s & Qt::WindowMaximized   ? wsMaximized
                                               : s & Qt::WindowMinimized ? wsMinimized
                                                                         : wsNormal);
            });
    }

private:
    TCustomForm* form_;
    QWidget* client_;
    QPointer<QMenuBar> bar_;
};
