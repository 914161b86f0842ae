#include "ui/wayland_maximise_guard.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <QWindowStateChangeEvent>

WaylandMaximiseGuard::WaylandMaximiseGuard(QWidget *window) : QObject(window), window_(window)
{
    reshow_.setSingleShot(true);
    connect(&reshow_, &QTimer::timeout, this, &WaylandMaximiseGuard::showAnew);
    window->installEventFilter(this);
}

bool WaylandMaximiseGuard::eventFilter(QObject *watched, QEvent *event)
{
    // Each state that the window system reports, with the one before it,
    // reaches the QWindow; the widget hears only of changes to its own.
    if (watched == window_ && event->type() == QEvent::Show)
        window_->windowHandle()->installEventFilter(this);

    // Once Qt has acknowledged the maximised state, weston disconnects the
    // program at its next frame, which is not of the maximised size; asking
    // for the state back is not enough either, as weston does not answer for
    // a state that no frame has shown. So nothing is drawn, and the window is
    // shown anew: a new Wayland window starts unmaximised, and the widgets
    // keep everything typed.
    QWindow *window = window_->windowHandle();
    if (watched == window && event->type() == QEvent::WindowStateChange && event->spontaneous() &&
        QGuiApplication::platformName().startsWith(u"wayland")) {
        const bool maximised = window->windowStates().testFlag(Qt::WindowMaximized);
        const bool wasMaximised =
            static_cast<QWindowStateChangeEvent *>(event)->oldState().testFlag(Qt::WindowMaximized);
        // A desktop that maximises the new window too (a kiosk) insists: it keeps the state.
        const bool insists = sinceReshown_.isValid() && !sinceReshown_.hasExpired(1000);
        if (maximised && !wasMaximised && !insists) {
            window_->setUpdatesEnabled(false);
            reshow_.start(0);
        }
    }
    return QObject::eventFilter(watched, event);
}

void WaylandMaximiseGuard::showAnew()
{
    window_->hide();
    window_->showNormal();
    sinceReshown_.start();
    window_->setUpdatesEnabled(true);
}
