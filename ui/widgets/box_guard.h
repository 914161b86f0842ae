#pragma once

#include <QApplication>

namespace dielektra {

// Whether a message box is open. Modality stops the mouse and the keys, but
// not a press over AT-SPI nor a click in code, and each would open a box in
// the box: whatever is pressed while a box is open does nothing, and news that
// comes back later waits for the box to close.
inline bool boxIsOpen()
{
    return QApplication::activeModalWidget() != nullptr;
}

} // namespace dielektra
