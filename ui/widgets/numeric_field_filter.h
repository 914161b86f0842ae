#pragma once

#include "ui/widgets/field_drops.h"

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
// take changes nothing. Its menu (showFieldMenu) and drags and drops
// (FieldDrops) are handled in files of their own.
class NumericFieldFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    FieldDrops drops_;
};
