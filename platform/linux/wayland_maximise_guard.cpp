#include "platform/linux/wayland_maximise_guard.h"

#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

constexpr Qt::WindowStates large = Qt::WindowMaximized | Qt::WindowFullScreen;

} // namespace

WaylandMaximiseGuard::WaylandMaximiseGuard(QWidget *window)
    : QObject(window), window_(window), fixed_(window->minimumSize())
{
    window->installEventFilter(this);
    showLater_.setSingleShot(true);
    showLater_.setInterval(0);
    connect(&showLater_, &QTimer::timeout, window, &QWidget::show);
}

bool WaylandMaximiseGuard::eventFilter(QObject *watched, QEvent *event)
{
    // Each state that the compositor configures reaches the QWindow; a state
    // that the program or Qt's title bar asks for only changes its windowStates().
    QWindow *handle = window_->windowHandle();
    if (watched == window_ && event->type() == QEvent::Show && handle != handle_) {
        handle_ = handle; // shown anew, the window keeps its QWindow
        handle->installEventFilter(this);
        connect(handle, &QWindow::windowStateChanged, this, &WaylandMaximiseGuard::growForRequest,
                Qt::QueuedConnection);
    }

    if (watched == handle && event->type() == QEvent::WindowStateChange && event->spontaneous()) {
        // Qt has already acknowledged this configuration, at the size that its
        // limits allowed. weston disconnects a program whose next frame is not
        // of the maximised size, so a window still of fixed size is shown anew.
        granted_ = handle->windowStates();
        if ((granted_ & large) != 0 && !grown_)
            showAnew();
        else if ((granted_ & large) == 0 && grown_)
            setGrown(false);
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
    if (handle == nullptr || !handle->isExposed())
        return;
    const Qt::WindowStates asked = handle->windowStates();
    // weston 10 answers a window that leaves full screen for maximised with a
    // maximised size of 0 x 0, which no frame has; a new window is maximised.
    if (granted_ == Qt::WindowFullScreen && asked == Qt::WindowMaximized)
        showAnew();
    else if (!grown_ && (granted_ & large) == 0 && (asked & large) != 0)
        setGrown(true);
}

// A new Wayland window is configured afresh, and the widgets keep everything
// typed. Hidden at once, the window draws nothing that Qt may have queued.
void WaylandMaximiseGuard::showAnew()
{
    window_->hide();
    setGrown(true); // hidden, new limits reach the compositor with no frame
    showLater_.start();
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
