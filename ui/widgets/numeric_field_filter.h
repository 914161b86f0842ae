#pragma once

#include <QObject>

// Lets digits and backspace into a numeric field, turns a typed comma into a
// period, lets a typed period pass and swallows every other typed character;
// an input method's commit of one character is typed too. Navigation keys,
// Tab and the standard edit shortcuts are not typed characters and pass
// untouched; Enter and Escape are swallowed so that they start nothing.
// Everything else that brings text goes by the paste's rule (pasteNumber):
// every way of pasting, a drop and an input method's commit of more than one
// character (a dictated or predicted phrase). A drag is accepted only while it
// holds a number, and only as a copy, so that its source keeps its text.
class NumericFieldFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool forwardingDrag_ = false;
};
