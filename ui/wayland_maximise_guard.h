#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWidget;

// Keeps a fixed-size window unmaximised on Wayland, where Qt's own title bar
// offers to maximise it and a desktop may maximise it as well.
class WaylandMaximiseGuard : public QObject {
    Q_OBJECT
public:
    explicit WaylandMaximiseGuard(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showAnew();

    QWidget *window_;
    QTimer reshow_;
    // Since the window was last shown anew to refuse a maximise; 1000 ms of it
    // tell a desktop that insists on the state.
    QElapsedTimer sinceReshown_;
};
