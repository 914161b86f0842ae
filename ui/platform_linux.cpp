#include "ui/platform.h"

#include "ui/atspi_line_edit.h"
#include "ui/wayland_maximise_guard.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QTimer>
#include <QUrl>

namespace dielektra::platform {

void openAddress(const QString &address, QObject *context, std::function<void()> failed)
{
    // Without a browser or xdg-open the request fails at once.
    if (!QDesktopServices::openUrl(QUrl(address)))
        QTimer::singleShot(0, context, std::move(failed));
}

void keepFixedSize(QWidget *window)
{
    // Elsewhere the window system honours the fixed size.
    if (QGuiApplication::platformName().startsWith(u"wayland"))
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
