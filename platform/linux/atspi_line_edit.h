#pragma once

#include <QRect>

class QAccessibleEditableTextInterface;
class QAccessibleInterface;
class QAccessibleTextInterface;
class QLineEdit;

namespace dielektra::atspi {

// A line edit's text as AT-SPI screen readers ask for it: Qt's own interface
// (Qt 6.4 and 6.8, measured on Debian 12 and 13) loops for ever on the word at
// the end of the text and splits the value into empty attribute runs, so
// that Orca reads it without its last character. It can go when the WALK
// rows of tests/atspi_test.py pass with lineEditInterface giving nullptr (Qt's
// own interface then serves).
QAccessibleInterface *lineEditInterface(QLineEdit *edit);

// Whether the last edit of an accessible text was taken: a line edit of ours
// refuses a text that it cannot take whole; any other takes every edit.
bool editTaken(QAccessibleEditableTextInterface *text);

// The screen box around the characters from start to end (0 to the length)
// of an accessible text: measured at once for a line edit of ours, character
// by character for any other text.
QRect rangeRect(QAccessibleTextInterface *text, int start, int end);

} // namespace dielektra::atspi
