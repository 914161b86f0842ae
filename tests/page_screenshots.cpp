// Saves a PNG of each of the six pages, for a person to look at:
// page_screenshots [folder]
#include "ui/form1.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTest>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(folder);

    Form1 window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("SSTab1"));
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        QTest::qWait(20);
        const QString path = QStringLiteral("%1/page%2.png").arg(folder).arg(page);
        if (!window.grab().save(path))
            return 1;
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
