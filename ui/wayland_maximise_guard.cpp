#include "ui/wayland_maximise_guard.h"

#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace {

constexpr Qt::WindowStates large = Qt::WindowMaximized | Qt::WindowFullScreen;

} // namespace

WaylandMaximiseGuard::WaylandMaximiseGuard(QWidget *window)
    : QObject(window), window_(window), fixed_(window->minimumSize())
{
    window->installEventFilter(this);
}

bool WaylandMaximiseGuard::eventFilter(QObject *watched, QEvent *event)
{
    // Each state that the compositor configures reaches the QWindow; a state
    // that the program or Qt's title bar asks for only changes its windowStates().
    QWindow *handle = window_->windowHandle();
    if (watched == window_ && event->type() == QEvent::Show) {
        handle->installEventFilter(this);
        connect(handle, &QWindow::windowStateChanged, this, &WaylandMaximiseGuard::growForRequest,
                static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::UniqueConnection));
    }

    if (watched == handle && event->type() == QEvent::WindowStateChange && event->spontaneous()) {
        // Qt has already acknowledged this configuration, at the size that its
        // limits allowed. weston disconnects a program whose next frame is not
        // of the maximised size, so a window still of fixed size is hidden at
        // once, before a repaint that Qt has queued can draw, and shown anew,
        // free to grow: a new Wayland window is configured afresh, and the
        // widgets keep everything typed. weston 10 also maximises a window
        // that leaves full screen for maximised at 0 x 0, a size no frame has.
        const Qt::WindowStates before = std::exchange(granted_, handle->windowStates());
        const bool zeroSized = before == Qt::WindowFullScreen && granted_ == Qt::WindowMaximized;
        if (((granted_ & large) != 0 && !grown_) || zeroSized) {
            window_->hide();
            setGrown(true); // hidden, new limits reach the compositor with no frame
            QTimer::singleShot(0, window_, &QWidget::show);
        } else if ((granted_ & large) == 0 && grown_) {
            setGrown(false);
        }
    }
    return QObject::eventFilter(watched, event);
}

// Called after a state is asked for: Qt handles the compositor's answer after
// the events already posted, this call among them, so the window grows before
// it is configured maximised or full-screen, and is not shown anew for it.
void WaylandMaximiseGuard::growForRequest()
{
    QWindow *handle = window_->windowHandle();
    // Unexposed, Qt may have acknowledged a configuration that its state
    // change has not reported yet; new limits would be sent with a frame.
    if (!grown_ && (granted_ & large) == 0 && (handle->windowStates() & large) != 0 &&
        handle->isExposed())
        setGrown(true);
}

void WaylandMaximiseGuard::setGrown(bool grown)
{
    grown_ = grown;
    if (grown) {
        window_->setMinimumSize(0, 0);
        window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        window_->setFixedSize(fixed_);
    }
}
