#include "platform/platform.h"

#include "platform/linux/atspi_bridge_guard.h"
#include "platform/linux/atspi_line_edit.h"
#include "platform/linux/wayland_maximise_guard.h"
#include "platform/workarounds.h"

#include <QGuiApplication>
#include <QProcess>

namespace dielektra::platform {

void openAddress(const QString &address, QObject *context, std::function<void()> failed)
{
    // Owned by no window and deleted when it ends: xdg-open may run as long
    // as the browser it found, which closing the window must not kill.
    auto *process = new QProcess;
    process->setProgram(QStringLiteral("xdg-open")); // found on PATH, or fails to start
    process->setArguments({address});
    // Its messages go where the program's go rather than pile up unread.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    // Queued, so that no box opens inside QProcess's signal. xdg-open exits
    // non-zero when it finds no browser or the browser fails.
    QObject::connect(
        process, &QProcess::finished, context,
        [failed](int status, QProcess::ExitStatus exit) {
            if (exit != QProcess::NormalExit || status != 0)
                failed();
        },
        Qt::QueuedConnection);
    QObject::connect(
        process, &QProcess::errorOccurred, context,
        [failed = std::move(failed)](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                failed();
        },
        Qt::QueuedConnection);
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart)
                             process->deleteLater();
                     });
    process->start();
}

void keepFixedSize(QWidget *window)
{
    // Elsewhere the window system honours the fixed size.
    if (QGuiApplication::platformName().startsWith(u"wayland") &&
        workaroundOn("wayland_maximise_guard"))
        new WaylandMaximiseGuard(window);
}

// Metric-compatible with Arial (Debian fonts-liberation2).
QStringList fontFaces()
{
    return {QStringLiteral("Liberation Sans")};
}

// Qt 6.4's Linux platforms give the light palette whatever the desktop's
// scheme.
void useDesignedLook() {}

QAccessibleInterface *lineEditInterface(QLineEdit *edit, TextInsertion insert)
{
    return atspi::lineEditInterface(edit, std::move(insert));
}

void guardAccessibility()
{
    atspi::guardBridge();
}

} // namespace dielektra::platform
