#pragma once

#include <QLabel>
#include <QMetaMethod>

// A label that reacts to a click, and to Space or Enter while it has focus,
// which it shows with a focus frame.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // Whether a click does anything: only then is the label a link to screen readers.
    bool isClickable() const
    {
        return isSignalConnected(QMetaMethod::fromSignal(&ClickableLabel::clicked));
    }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
