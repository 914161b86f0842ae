#pragma once

#include <QStringList>
#include <QStringView>

#include <functional>

class QAccessibleInterface;
class QLineEdit;
class QObject;
class QString;
class QWidget;

// What differs between desktops. The window calls these; CMake builds the
// sources of one platform's folder (platform/linux/ or platform/windows/).
namespace dielektra::platform {

// Hands a web address to the desktop's opener and returns without waiting
// for the browser. failed runs later on the user-interface thread, while
// context lives, if the address could not be opened.
void openAddress(const QString &address, QObject *context, std::function<void()> failed);

// Keeps a window of one fixed size whole against states that the window
// system may put it in. On Wayland a maximised or full-screen window takes
// the configured size, its content at the top left, as the compositor
// requires.
void keepFixedSize(QWidget *window);

// The faces the layout was drawn for, or the nearest the platform has, most
// wanted first. Where none is there, the system's own face for its interface
// or another sans-serif one stands in, fitted to the window's texts.
QStringList fontFaces();

// How a line edit takes a text inserted in place of its selection (a numeric
// field reads the number in it); false where it refuses the text.
using TextInsertion = std::function<bool(QLineEdit *edit, QStringView text)>;

// The platform's own accessible interface for a line edit, whose edits go
// through insert, or nullptr where Qt's serves.
QAccessibleInterface *lineEditInterface(QLineEdit *edit, TextInsertion insert);

// Sets the look the layout was drawn for, where the desktop would change it:
// the design's light colours, also where the system asks apps for dark ones.
// Before the first window.
void useDesignedLook();

// Guards the platform's accessibility bridge, where it needs it, against
// requests that would crash or hang the program. Before the bridge starts.
void guardAccessibility();

} // namespace dielektra::platform
