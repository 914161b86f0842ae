#include "platform/platform.h"

#include <QGuiApplication>
#include <QString>
#include <QStringList>
#include <QStyleHints>
#include <QTimer>

#include <windows.h>

#include <shellapi.h>

namespace dielektra::platform {

void openAddress(const QString &address, QObject *context, std::function<void()> failed)
{
    // The shell's default action on the address: the default browser, in a
    // normal window. It returns once the browser is asked, without waiting
    // for it; a value of 32 or less is a failure.
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, nullptr, reinterpret_cast<LPCWSTR>(address.utf16()), nullptr,
                      nullptr, SW_SHOWNORMAL));
    if (result <= 32)
        QTimer::singleShot(0, context, std::move(failed));
}

// Windows keeps a fixed-size window as it is: it offers no maximise button.
void keepFixedSize(QWidget * /*window*/) {}

// The TrueType successor of the design's "MS Sans Serif", a bitmap font that
// cannot follow the screen's scale. Where it is missing (Wine), the system's
// own face stands in: Tahoma there.
QStringList fontFaces()
{
    return {QStringLiteral("Microsoft Sans Serif")};
}

// Dark mode for apps would darken the style's parts and Qt's palette, while
// the design's banners, result rows and About texts keep their colours: a
// window of two looks, with grey texts on dark grounds. The design's look is
// light, and stays whole.
void useDesignedLook()
{
    QGuiApplication::styleHints()->setColorScheme(Qt::ColorScheme::Light);
}

// Qt's UI Automation bridge serves Windows screen readers.
QAccessibleInterface *lineEditInterface(QLineEdit * /*edit*/, TextInsertion /*insert*/)
{
    return nullptr;
}

// The guard is for Qt's AT-SPI bridge, which Windows does not have.
void guardAccessibility() {}

} // namespace dielektra::platform
