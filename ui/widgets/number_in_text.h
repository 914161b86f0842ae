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

// The number that a person means at the start of a text that is not typed (a
// paste, a drop, a screen reader's edit, an input method's phrase, a text set
// by code), or none. The rule:
//
// - The number stands at the start of the first cell or line that holds a
//   character, after blanks; it ends at the end of its cell or line (a tab or
//   a line break) at the latest. Invisible format characters (zero-width
//   space, direction marks, the byte order mark) are passed over wherever
//   they are. Any decimal digit reads as its ASCII digit, U+2212 as "-", and a
//   full-width or small form as its ASCII character.
// - A number is an optional sign ("+" or "-") right before its digits, the
//   digits in one of the shapes below, and, right after them, an optional
//   exponent: "E" or "e", an optional sign and digits.
// - Plain: digits, and where a decimal mark ("," "." or U+066B) follows,
//   more digits: "1234", "1234,5", "1.5", ",5".
// - Grouped, as it is written: a first group of one to three digits, then
//   groups of exactly three digits, each after the same grouping mark: a
//   blank (a space of any width, NBSP and U+202F included), an apostrophe
//   (U+0027 or U+2019), ".", "," or U+066C; then, where a decimal mark of
//   another kind follows, more digits. "1 000 000,5", "1'000", "1.000,5",
//   "1,000,000.5" and "١٬٠٠٠٫٥" are 1000000.5, 1000, 1000.5, 1000000.5 and
//   1000.5. A single "," or "." and nothing else is the decimal mark, as the
//   Czech interface reads a comma: "1,000" is 1.000, not 1000.
// - A mark that no digit follows is punctuation, not part of the number:
//   "0,5." is 0.5, and "1.5, 2.5" is 1.5.
// - A blank that groups no thousands ends the number, as between the
//   numbers of a list: "1,5 2,5" is 1.5, and "12 34" is 12.
// - Where the text goes on in a way that could change the number's value,
//   none is taken: right after the number, a "," "." U+066B U+066C or
//   apostrophe that a digit follows (a shape this rule does not know:
//   "4.7,10", "1,00,000", "1.2.3", "1'5"), or an exponent letter without
//   digits ("3E", "2e+"); after the number and any blanks, a sign of
//   arithmetic (a mathematical symbol such as "×" "+" "=", or "·" "*" "/" "^"
//   "%" "‰"), a number that is no decimal digit (a superscript such as "²",
//   a fraction such as "½"), a "-" dash or "x" that a digit follows, or an
//   exponent letter that digits follow: "5×10³", "5·10^3", "2^10", "1/2",
//   "5²", "5 %", "5-10", "5x10", "5 E3".
// - None either where the text holds no number, or one longer than
//   maxLength characters as the field writes it.
//
// Reads no more than the text's first four times maxLength characters (the
// number must lie within them), so that a huge paste costs no more than that.
std::optional<NumberInText> numberInText(QStringView text, qsizetype maxLength);

// Whether a field's whole text is one number in the field's own writing, the
// one that a calculation uses: an optional sign, digits with at most one "."
// (digits before it, after it, or both), and an optional exponent with
// digits. "12", "-.5", "1.", "2e+5" are; "1-32", "13.5.2", "e5" are not.
bool readsWhole(QStringView fieldText);

// A character as a field takes it: any decimal digit as its ASCII digit,
// U+2212 as "-", a full-width or small form of an ASCII character ("１", "，")
// as that character; any other as it is.
char32_t plainCharacter(char32_t c);
