#pragma once

class QAccessibleInterface;
class QLineEdit;

namespace dielektra::atspi {

// A line edit's text as AT-SPI screen readers ask for it: Qt's own interface
// loops for ever on the word at the end of the text and splits the value
// into empty attribute runs, so that Orca reads it without its last
// character.
QAccessibleInterface *lineEditInterface(QLineEdit *edit);

} // namespace dielektra::atspi
