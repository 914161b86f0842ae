#include "platform/linux/wayland_maximise_guard.h"

#include <QLibraryInfo>
#include <QTimer>
#include <QVersionNumber>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace {

constexpr Qt::WindowStates large = Qt::WindowMaximized | Qt::WindowFullScreen;

// weston answers a window that leaves one of these states while it keeps or
// takes the other as if it had asked for the state last drawn: weston 10 with
// a size of 0 x 0, which no frame fits, and weston 14 in neither state, so
// that full screen asked to be maximised ends as a normal window.
bool leavesLargeForLarge(Qt::WindowStates from, Qt::WindowStates to)
{
    return (to & large) != 0 && (from & large & ~to) != 0;
}

// Qt 6.8 takes the configured size of a maximised or full-screen window
// whatever its limits (measured in Debian 13 with weston 14; its Wayland
// plugin no longer bounds a configured size by them): the window need not
// grow there.
bool qtBoundsConfiguredSize()
{
    static const bool bounds = QLibraryInfo::version() < QVersionNumber(6, 8);
    return bounds;
}

} // namespace

WaylandMaximiseGuard::WaylandMaximiseGuard(QWidget *window)
    : QObject(window), window_(window), fixed_(window->minimumSize())
{
    window->installEventFilter(this);
    // Read as Qt makes the window's Wayland surface, when it is first shown.
    if (!qEnvironmentVariableIsSet("QT_WAYLAND_FRAME_CALLBACK_TIMEOUT"))
        qputenv("QT_WAYLAND_FRAME_CALLBACK_TIMEOUT", "0");
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
        connect(handle, &QWindow::windowStateChanged, this, [this] { asked_ = true; });
        connect(handle, &QWindow::windowStateChanged, this, &WaylandMaximiseGuard::growForRequest,
                Qt::QueuedConnection);
    }
    // Qt may have read the compositor's answer before the queued call runs,
    // and applies it at the end of the next paint: the window grows first.
    if (watched == window_ && event->type() == QEvent::UpdateRequest && asked_)
        growForRequest();
    if (watched == window_ && event->type() == QEvent::Hide)
        granted_ = {}; // shown again, the window is configured afresh

    if (watched == handle && event->type() == QEvent::WindowStateChange && event->spontaneous()) {
        // Qt has already acknowledged this configuration, at the size that its
        // limits allowed, but drawn nothing for it yet. A window still of
        // fixed size, or one that may have been given 0 x 0, is shown anew.
        const Qt::WindowStates before = granted_;
        granted_ = handle->windowStates();
        if ((granted_ & large) != 0 &&
            ((!grown_ && qtBoundsConfiguredSize()) || leavesLargeForLarge(before, granted_)))
            showAnew();
        else if ((granted_ & large) == 0 && grown_)
            setGrown(false);
    }
    return QObject::eventFilter(watched, event);
}

// Called after a state is asked for, before Qt acknowledges the compositor's
// answer: Qt applies a configuration in a queued call, posted when it reads
// the answer, or at the end of a paint that was under way or due when it read
// it. So the window grows before it is configured maximised or full-screen,
// or is shown anew before a configuration that no frame fits is acknowledged.
void WaylandMaximiseGuard::growForRequest()
{
    if (!std::exchange(asked_, false))
        return; // done at a paint already
    QWindow *handle = window_->windowHandle();
    // Hidden or not configured yet, a window asks for its states as it is
    // configured; the first configuration's states reach it before its expose.
    if (handle == nullptr || !handle->isExposed())
        return;
    const Qt::WindowStates asked = handle->windowStates();
    if (leavesLargeForLarge(granted_, asked))
        showAnew();
    else if (!grown_ && (asked & large) != 0 && qtBoundsConfiguredSize())
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
