#include "ui/application.h"
#include "ui/main_window.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    dielektra::prepareApplication(app);
    // Wayland compositors find the desktop entry, and so the icon, by this id.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.ferrolux.Dielektra"));
    MainWindow window;
    window.show();
    return QApplication::exec();
}
