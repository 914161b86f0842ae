// Huge pastes, timed and weighed (a benchmark, not a test): each paste of up
// to 50 MB into Text2 and the next click on Spočítat, then ten cycles of
// pasting 5 MB and deleting it, with the process's memory after each.
// Offscreen: paste_bench (QT_QPA_PLATFORM is set to offscreen if unset).
#include "ui/main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

// VmRSS or VmHWM of this process, in MiB.
double memory(const char *which)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QString text = QString::fromLatin1(status.readAll());
    const auto match =
        QRegularExpression(QLatin1String(which) + QStringLiteral(":\\s+(\\d+)")).match(text);
    return match.captured(1).toDouble() / 1024;
}

QString repeated(const char *piece, qsizetype bytes)
{
    const QString unit = QString::fromUtf8(piece);
    return unit.repeated(bytes / unit.size());
}

double milliseconds(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MainWindow window;
    window.show();
    auto *field = window.findChild<QLineEdit *>(QStringLiteral("Text2"));
    auto *button = window.findChild<QPushButton *>(QStringLiteral("Command1"));
    constexpr qsizetype MB = 1000 * 1000;

    // Made one at a time, so that the figures weigh the window, not the bench.
    const struct {
        const char *name;
        QString (*text)();
    } pastes[] = {
        {"50 MB of digits (too long a number)", [] { return repeated("1234567890", 50 * MB); }},
        {"50 MB of blanks, then 5", [] { return repeated(" ", 50 * MB) + QStringLiteral("5"); }},
        {"50 MB of cells \"5 kV\\t\"", [] { return repeated("5 kV\t", 50 * MB); }},
        {"50 MB of letters", [] { return repeated("abcdefghij", 50 * MB); }},
        {"\"1.\" and 32,765 zeros (the longest)",
         [] { return QStringLiteral("1.") + repeated("0", 32765); }},
    };
    std::printf("%-40s %10s %10s %8s %8s\n", "paste", "paste ms", "click ms", "RSS MiB",
                "peak MiB");
    // A box would wait for a person: each one is closed at once.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget *box = QApplication::activeModalWidget())
            box->close();
    });
    closer.start(5);
    for (const auto &paste : pastes) {
        field->setText(QStringLiteral("1")); // a refused paste leaves it
        field->selectAll();
        field->setFocus();
        QGuiApplication::clipboard()->setText(paste.text());
        QElapsedTimer timer;
        timer.start();
        QTest::keySequence(field, QKeySequence::Paste);
        QCoreApplication::processEvents();
        const double pasteTime = milliseconds(timer);
        timer.restart();
        button->click();
        QCoreApplication::processEvents();
        const double clickTime = milliseconds(timer);
        QGuiApplication::clipboard()->clear();
        std::printf("%-40s %10.2f %10.2f %8.1f %8.1f\n", paste.name, pasteTime, clickTime,
                    memory("VmRSS"), memory("VmHWM"));
    }

    std::printf("ten cycles of pasting 5 MB and deleting it, RSS MiB: %.1f before,",
                memory("VmRSS"));
    const QString fiveMB = repeated("12345 kV\n", 5 * MB);
    for (int cycle = 0; cycle < 10; ++cycle) {
        QGuiApplication::clipboard()->setText(fiveMB);
        field->selectAll();
        QTest::keySequence(field, QKeySequence::Paste);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QGuiApplication::clipboard()->clear();
        QCoreApplication::processEvents();
        std::printf(" %.1f", memory("VmRSS"));
    }
    std::printf("\n");
    return 0;
}
