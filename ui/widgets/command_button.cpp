#include "ui/widgets/command_button.h"

#include "ui/widgets/box_guard.h"

#include <QApplication>
#include <QKeyEvent>

CommandButton::CommandButton(QWidget *parent) : QPushButton(parent)
{
    setAutoDefault(false);
    setDefault(false);
    connect(this, &QAbstractButton::pressed, this,
            [this] { pressedUnderBox_ = dielektra::boxIsOpen(); });
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (!pressedUnderBox_)
            emit triggered();
    });
}

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // One click a press: a held key would open box after box.
        if (!event->isAutoRepeat())
            click();
        return;
    }
    QPushButton::keyPressEvent(event);
}
