#pragma once

namespace dielektra::atspi {

// Puts a guard in front of Qt's AT-SPI bridge once the bridge starts, so that
// no request, whatever its arguments, crashes or hangs the program.
// A workaround of Qt's bridge, measured in Qt 6.4 (Debian 12) and 6.8 (Debian
// 13): in both, a request without its arguments crashes it, an insertion far
// beyond a button's end aborts it (it edits a copy of the value), a range of
// 100,000 characters hangs it (it asks for each character's box), a text's
// bounded ranges and the application's id get no answer, and a table's cell
// that does not exist is given extents. Qt 6.8 gives a character at an offset
// whole itself; that part stays off there. The guard takes Qt's private
// connection "a11y" and its object at /org/a11y/atspi/accessible; where a Qt
// has neither, it warns, and tests/atspi_test.py fails on that warning. The
// switch leaves it out (platform/workarounds.h). The test
// qt_fault_atspi_bridge_guard (ctest -L qt-faults) sends each of those
// requests to a program without the guard, and fails where the running Qt no
// longer has the fault: then the guard, or that part of it, can go.
void guardBridge();

} // namespace dielektra::atspi
