#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// What a numeric field reads from any text that is not typed: the number that
// the field will hold, and where it ends in the text, so that a unit written
// after it can be read.
struct NumberInText {
    QString number;
    qsizetype end = 0; // the index just after the number's last character
};

// The number at the start of a text, as any way but typing gives it to a
// numeric field (a paste, a drop, a screen reader's edit, an input method's
// phrase, a text set by code). From the first cell or line that holds a
// character, blanks and invisible format characters dropped, any decimal
// digit as its ASCII digit, U+2212 as "-" and full-width and small forms as
// their ASCII characters: a sign, digits, one decimal point and an exponent
// with digits. U+066B is the decimal point and U+066C groups digits. Of ","
// and ".", where both occur, the last is the decimal point and the others
// group digits; a separator that occurs more than once groups digits; a
// single "," is the decimal point. Empty when the text holds no number, or
// only one longer than maxLength. Reads no further than the number's end, so
// a huge paste costs no more than its first number.
std::optional<NumberInText> numberInText(QStringView text, qsizetype maxLength);
