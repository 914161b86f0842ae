#pragma once

#include <QObject>
#include <QString>

// Lets digits and backspace into a numeric field, turns a typed comma into a
// period and swallows every other typed character. Navigation keys, Tab and
// the standard edit shortcuts are not typed characters and pass untouched;
// Enter and Escape are swallowed so that they start nothing.
class NumericFieldFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // What a field receives for typed text: each character kept, replaced or
    // dropped on its own.
    static QString filtered(const QString &typed);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
