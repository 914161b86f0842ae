#pragma once

#include <QLabel>

// A label whose text screen readers present as a notification each time it is
// shown, and on announce().
class NotificationLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // Presents the current text now, as if the label had just appeared: a
    // change of name alone is not spoken.
    void announce();
};
