#include "ui/platform.h"

#include "ui/atspi_line_edit.h"
#include "ui/wayland_maximise_guard.h"

#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace dielektra::platform {

void openAddress(const QString &address, QObject *context, std::function<void()> failed)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        QTimer::singleShot(0, context, std::move(failed));
        return;
    }
    // Owned by no window and deleted when it ends: xdg-open may run as long
    // as the browser it found, which closing the window must not kill.
    auto *process = new QProcess;
    process->setProgram(opener);
    process->setArguments({address});
    // Its messages go where the program's go rather than pile up unread.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    const auto ended = [process, alive = QPointer<QObject>(context), failed](bool opened) {
        process->deleteLater();
        if (!opened && alive)
            QTimer::singleShot(0, alive, failed);
    };
    // xdg-open exits non-zero when it finds no browser or the browser fails.
    QObject::connect(process, &QProcess::finished, process,
                     [ended](int status, QProcess::ExitStatus exit) {
                         ended(exit == QProcess::NormalExit && status == 0);
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [ended](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart)
                             ended(false);
                     });
    process->start();
}

void keepFixedSize(QWidget *window)
{
    new WaylandMaximiseGuard(window);
}

// Metric-compatible with Arial (Debian fonts-liberation2).
QString fontFace()
{
    return QStringLiteral("Liberation Sans");
}

QAccessibleInterface *lineEditInterface(QLineEdit *edit)
{
    return atspi::lineEditInterface(edit);
}

} // namespace dielektra::platform
