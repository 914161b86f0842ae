#pragma once

// The one switch of the program's workarounds of Qt's faults, each of which
// asks it before it goes in. DIELEKTRA_WORKAROUNDS_OFF names those to leave
// out, by their files' names ("atspi_line_edit,split_ligature"), or "all";
// the qt-faults probes of ctest use it to see whether the running Qt still has
// each fault.
namespace dielektra::platform {

// Whether the workaround of that name goes in. One left out is said once on
// the log, with Qt's version: "Qt 6.4.2: the workaround split_ligature is off".
bool workaroundOn(const char *name);

} // namespace dielektra::platform
