#pragma once

#include "core/calculate.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <deque>
#include <optional>

class QWidget;

// The window's message boxes, each modal with one OK button, never two open at
// once.
class MessageBoxes : public QObject {
    Q_OBJECT
public:
    explicit MessageBoxes(QWidget *window);

    // Returns when the user has closed the box; a box given no title is titled
    // "Dielektra".
    void show(const QString &prompt, dielektra::MessageIcon icon, const QString &title = {});

    // For news that comes back later, unasked (the browser that did not
    // start): shown at once, or once the box that is open has closed, never
    // over it; dropped where the same box is already open or waiting.
    void showWhenFree(const QString &prompt, dielektra::MessageIcon icon);

private:
    struct Box {
        QString prompt;
        dielektra::MessageIcon icon;
        QString title;
        bool operator==(const Box &) const = default;
    };

    void showWaiting();

    QWidget *window_;
    std::optional<Box> open_; // the box that show() shows now
    std::deque<Box> waiting_; // for showWhenFree, first come first shown
    QTimer boxClosed_;        // shows the next waiting box after the open one closed
};
