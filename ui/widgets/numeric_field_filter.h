#pragma once

#include <QObject>

// Lets digits (of any script, as their ASCII digits) and backspace into a
// numeric field, turns a typed comma (or the Arabic decimal mark) into a
// period, lets a typed period pass and swallows every other typed character;
// an input method's commit of one character is typed too. Navigation keys,
// Tab and the standard edit shortcuts are not typed characters and pass
// untouched; Enter and Escape are swallowed so that they start nothing.
// Everything else that brings text goes by the paste's rule (pasteNumber):
// every way of pasting, a drop and an input method's commit of more than one
// character (a dictated or predicted phrase); a commit that brings nothing to
// take changes nothing. A drag is answered Copy, from its first hover on,
// where its number would be taken, and refused elsewhere, so that its source
// keeps its text.
class NumericFieldFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool forwardingDrag_ = false;
};
