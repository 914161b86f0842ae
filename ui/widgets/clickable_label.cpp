#include "ui/widgets/clickable_label.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void ClickableLabel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // One click a press: a held key would open box after box.
        if (!event->isAutoRepeat())
            emit clicked();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void ClickableLabel::paintEvent(QPaintEvent *event)
{
    if (hasFocus()) {
        // A dotted frame in the text's own colour: the style's frame, a faint
        // tint of the highlight colour, vanishes on the About page's black
        // picture. Inside the label and under its text, so that the text
        // neither moves nor loses a pixel.
        QPainter painter(this);
        painter.setPen(QPen(palette().color(foregroundRole()), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    QLabel::paintEvent(event);
}
