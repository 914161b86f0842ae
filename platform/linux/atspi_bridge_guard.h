#pragma once

namespace dielektra::atspi {

// Puts a guard in front of Qt's AT-SPI bridge once the bridge starts, so that
// no request, whatever its arguments, crashes or hangs the program.
void guardBridge();

} // namespace dielektra::atspi
