#pragma once

class QCoreApplication;

namespace dielektra {

// Qt's own texts (context menus, standard buttons) in Czech: built in where the
// system has no Qt translations (Windows), else the system's. Once, at start.
void installCzechQtTexts(QCoreApplication &app);

} // namespace dielektra
