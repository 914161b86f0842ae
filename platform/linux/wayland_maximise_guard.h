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
    QTimer showLater_; // shows the window once Qt is done with its hiding
};
