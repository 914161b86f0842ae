#pragma once

#include <QObject>
#include <QString>
#include <QValidator>

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

// Cleans text that reaches a numeric field without being typed (pasted from
// the menu, Ctrl+V, Shift+Insert, a middle click, dropped) as far as a
// number needs: a comma becomes a period; blanks, line breaks, no-break
// spaces and invisible format characters go; any decimal digit becomes its
// ASCII digit and the minus sign U+2212 a "-". Everything else stays, so a
// pasted "-5" is still "-5" and the leading-number rule reads the rest.
// Typed text is already clean and passes unchanged.
class PastedNumberCleaner : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;

    static QString cleaned(const QString &text);

    State validate(QString &input, int &pos) const override;
};
