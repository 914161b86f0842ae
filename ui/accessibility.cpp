#include "ui/accessibility.h"

#include "platform/platform.h"
#include "ui/accessible_tab_list.h"
#include "ui/widgets/box_guard.h"
#include "ui/widgets/clickable_label.h"
#include "ui/widgets/numeric_field_validator.h"
#include "ui/widgets/unit_list.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QLineEdit>
#include <QTabBar>

namespace {

class NotificationInterface : public QAccessibleWidget {
public:
    explicit NotificationInterface(QLabel *label)
        : QAccessibleWidget(label, QAccessible::Notification)
    {
    }

    // A notification is spoken by its name.
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<QLabel *>(widget())->text()
                                      : QAccessibleWidget::text(t);
    }
};

// On Linux Qt names an editable combo box by its text and leaves its label to
// a labelled-by relation; a unit list is named by its quantity instead, and
// its text is its value.
class UnitListInterface : public QAccessibleWidget {
public:
    explicit UnitListInterface(UnitList *list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? static_cast<UnitList *>(widget())->currentText()
                                       : QAccessibleWidget::text(t);
    }
};

// Text that reacts to a click is a link to a screen reader, and it can be
// pressed like one.
class ClickableLabelInterface : public QAccessibleWidget {
public:
    explicit ClickableLabelInterface(ClickableLabel *label) : QAccessibleWidget(label) {}

    // Asked each time: the label may be connected after its interface exists.
    QAccessible::Role role() const override
    {
        return label()->isClickable() ? QAccessible::Link : QAccessible::StaticText;
    }

    QString text(QAccessible::Text t) const override
    {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = label()->text();
        return text;
    }
    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (label()->isClickable())
            names.prepend(pressAction());
        return names;
    }
    void doAction(const QString &action) override
    {
        // Queued: the click may open a modal box, and the screen reader's call
        // must not wait until it is closed. A press that arrives while a box
        // is open does nothing, even where it would be handled after the box
        // closed.
        if (action == pressAction() && label()->isClickable()) {
            if (!dielektra::boxIsOpen())
                QMetaMethod::fromSignal(&ClickableLabel::clicked)
                    .invoke(label(), Qt::QueuedConnection);
        } else
            QAccessibleWidget::doAction(action);
    }

private:
    ClickableLabel *label() const { return static_cast<ClickableLabel *>(widget()); }
};

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (className == QLatin1String("NotificationLabel"))
        return new NotificationInterface(static_cast<QLabel *>(object));
    if (className == QLatin1String("UnitList"))
        return new UnitListInterface(static_cast<UnitList *>(object));
    if (className == QLatin1String("ClickableLabel"))
        return new ClickableLabelInterface(static_cast<ClickableLabel *>(object));
    if (className == QLatin1String("QLineEdit"))
        return dielektra::platform::lineEditInterface(static_cast<QLineEdit *>(object),
                                                      pasteNumber);
    if (className == QLatin1String("QTabBar"))
        return dielektra::accessibility::tabListInterface(static_cast<QTabBar *>(object));
    return nullptr;
}

} // namespace

void dielektra::accessibility::install()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(factory);
        dielektra::platform::guardAccessibility();
    }
    installed = true;
}
