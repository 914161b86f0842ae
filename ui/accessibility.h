#pragma once

#include <QLabel>

namespace dielektra::accessibility {

// Gives screen readers what Qt alone does not: unit lists named by their
// quantity, notifications for new results, and a press action on the About
// page's clickable labels. Once per application, before any control is asked
// for its accessible interface.
void install();

} // namespace dielektra::accessibility

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
