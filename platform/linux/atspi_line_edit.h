#pragma once

#include "platform/platform.h"

class QAccessibleInterface;
class QLineEdit;

namespace dielektra::atspi {

using platform::TextInsertion;

// A line edit's text as AT-SPI screen readers ask for it, its edits through
// insert; nullptr where the switch leaves it out (platform/workarounds.h), and
// Qt's own interface serves. Qt's own, in Qt 6.4 and 6.8, loops for ever on the
// word at the end of the text and splits the value into empty attribute runs,
// so that Orca reads it without its last character. The test
// qt_fault_atspi_line_edit (ctest -L qt-faults) asks a program without this
// for both, and fails where the running Qt no longer has them: then this can
// go.
QAccessibleInterface *lineEditInterface(QLineEdit *edit, TextInsertion insert);

} // namespace dielektra::atspi
