#pragma once

#include <QRect>

class QAccessibleInterface;
class QAccessibleTextInterface;
class QLineEdit;

namespace dielektra::atspi {

// A line edit's text as AT-SPI screen readers ask for it: Qt's own interface
// loops for ever on the word at the end of the text and splits the value
// into empty attribute runs, so that Orca reads it without its last
// character.
QAccessibleInterface *lineEditInterface(QLineEdit *edit);

// The screen box around the characters from start to end (0 to the length)
// of an accessible text: measured at once for a line edit of ours, character
// by character for any other text.
QRect rangeRect(QAccessibleTextInterface *text, int start, int end);

} // namespace dielektra::atspi
