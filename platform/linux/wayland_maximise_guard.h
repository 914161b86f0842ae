// A workaround of Qt 6.4's Wayland plugin (qt6-wayland 6.4.2, Debian 12) under
// weston 10, where a window of fixed size is disconnected, and what was typed
// lost, when the desktop maximises it or makes it full-screen:
// - Qt acknowledges a maximised or full-screen configuration at the size that
//   the window's limits allow and draws at that size; weston disconnects a
//   client whose frame does not fit that state: "xdg_surface geometry
//   (559 x 194) does not match the configured maximized state (1024 x 608)".
// - When a frame callback is 100 ms late, as on a busy machine, Qt marks the
//   window unexposed; a configuration acknowledged then sends no window
//   geometry, and once exposed again Qt commits the frame of the old size.
//   Qt's frame callback timeout is switched off for it.
// - weston 10 answers a window that leaves one of maximised and full screen
//   while it keeps or takes the other with a size of 0 x 0, which no frame
//   fits: "(1024 x 640) is larger than the configured fullscreen state
//   (0 x 0)". Such a window is shown anew.
// It can go when the rows of Window.OnWaylandNoStateEndsTheWindow
// (tests/system/wayland-window) pass, loaded too (scripts/stress-tests), with
// keepFixedSize in platform/linux/platform_linux.cpp creating no guard.
#pragma once

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QTimer>

class QWidget;
class QWindow;

// Lets a fixed-size window on Wayland take the size that the desktop gives it
// when maximised or full-screen, as Qt's own title bar offers to maximise it
// and a desktop (a kiosk) may do so at will. Its content keeps its size at the
// top left; the rest is the window's plain background.
class WaylandMaximiseGuard : public QObject {
    Q_OBJECT
public:
    explicit WaylandMaximiseGuard(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void growForRequest();
    void showAnew();
    void setGrown(bool grown);

    QWidget *window_;
    QPointer<QWindow> handle_; // watched since the window was first shown
    QSize fixed_;
    // The states of the last configuration that Qt has acknowledged to the
    // compositor, which the next frame must fit.
    Qt::WindowStates granted_;
    bool grown_ = false;
    bool asked_ = false; // a state changed since growForRequest last ran
    QTimer showLater_;   // shows the window once Qt is done with its hiding
};
