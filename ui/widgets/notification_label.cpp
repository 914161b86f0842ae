#include "ui/widgets/notification_label.h"

#include <QAccessible>

void NotificationLabel::announce()
{
    if (!isVisible())
        return; // "shown" would be untrue, and the text is not to be seen
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}
