#pragma once

#include <QRect>

class QAccessibleInterface;
class QAccessibleTextInterface;
class QLineEdit;

namespace dielektra::atspi {

// A line edit's text as AT-SPI screen readers ask for it: Qt's own interface
// (Qt 6.4, Debian 12) loops for ever on the word at the end of the text and
// splits the value into empty attribute runs, so that Orca reads it without
// its last character. Debian 13's Qt 6.8 passes the same tests with this
// interface; whether its own still has the faults is not measured. It can go
// when the WALK rows of tests/atspi_test.py pass with lineEditInterface
// giving nullptr (Qt's own interface then serves).
QAccessibleInterface *lineEditInterface(QLineEdit *edit);

// The screen box around the characters from start to end (0 to the length)
// of an accessible text: measured at once for a line edit of ours, character
// by character for any other text.
QRect rangeRect(QAccessibleTextInterface *text, int start, int end);

} // namespace dielektra::atspi
