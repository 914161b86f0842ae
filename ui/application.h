#pragma once

class QApplication;

namespace dielektra {

// What the application sets once at start, before its first window: Qt's own
// texts (context menus, standard buttons) in Czech, built in where the system
// has no Qt translations (Windows), else the system's; and the look the
// layout was drawn for, where the desktop would change it.
void prepareApplication(QApplication &app);

} // namespace dielektra
