#pragma once

#include <QPushButton>

// A push button that Enter and the keypad's Enter press while it has the
// focus, as Space does. It never becomes a default button, so Enter typed
// elsewhere starts nothing.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    explicit CommandButton(QWidget *parent);

signals:
    // A click whose press began while no box was open. A screen reader's
    // press arrives as Qt's animated click, which comes 100 ms after the
    // press: a press that arrived while a box was open does nothing even
    // where the box has closed by then.
    void triggered();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool pressedUnderBox_ = false;
};
