#pragma once

#include <QObject>
#include <QString>
#include <QValidator>

#include <optional>

class QLineEdit;

// Lets digits and backspace into a numeric field, turns a typed comma into a
// period and swallows every other typed character. Navigation keys, Tab and
// the standard edit shortcuts are not typed characters and pass untouched;
// Enter and Escape are swallowed so that they start nothing. Every way of
// pasting goes through PasteNumber.
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

// What a paste gives a numeric field (Ctrl+V, Shift+Insert, the menu, a
// middle click, a drop): the number that the field will read, and nothing
// else. From the first cell or line that holds a character, blanks and
// invisible format characters dropped, any decimal digit as its ASCII digit
// and U+2212 as "-": a sign, digits, one decimal point and an exponent.
// Where both "," and "." occur, the last of them is the decimal point and
// the others group digits; a separator that occurs more than once groups
// digits; a single "," is the decimal point. Empty when the text holds no
// number, or only one longer than maxLength. Reads no further than the
// number's end, so a huge paste costs no more than its first number.
std::optional<QString> PastedNumber(QStringView text, qsizetype maxLength);

// Inserts a paste's number at the caret, replacing the selection, as one
// undo step; a paste that holds no number, or none that fits, changes nothing.
void PasteNumber(QLineEdit *field, QStringView text);

// The last safeguard for text that reaches a numeric field by any other way:
// drops blanks and invisible format characters, turns a comma into a period,
// any decimal digit into its ASCII digit and U+2212 into "-". Typed text is
// already clean and passes unchanged.
class PastedNumberCleaner : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;

    static QString cleaned(const QString &text);

    State validate(QString &input, int &pos) const override;
};
