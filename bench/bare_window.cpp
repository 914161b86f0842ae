// The baseline scripts/bench compares the program's start-up with: a Qt
// window of the program's size with a title and nothing in it.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.resize(553, 161);
    window.show();
    return QApplication::exec();
}
