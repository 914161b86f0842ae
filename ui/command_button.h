#pragma once

#include <QPushButton>

// A push button that Enter and the keypad's Enter press while it has the
// focus, as Space does. It never becomes a default button, so Enter typed
// elsewhere starts nothing.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    explicit CommandButton(QWidget *parent);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
