// The baseline scripts/bench compares the program's start-up with: a Qt
// window of the program's size with a title and nothing in it; with the
// argument "text", the same window showing one short label, to tell what
// drawing any text at all costs.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstring>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.resize(553, 161);
    if (argc > 1 && std::strcmp(argv[1], "text") == 0)
        new QLabel(QStringLiteral("Kapacita"), &window);
    window.show();
    return QApplication::exec();
}
