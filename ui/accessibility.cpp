#include "ui/accessibility.h"

#include "platform/platform.h"
#include "ui/widgets/box_guard.h"
#include "ui/widgets/clickable_label.h"
#include "ui/widgets/unit_list.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTabBar>

#include <map>

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

// A tab of the page tab list, named by its text; pressed, it shows its page.
class TabInterface : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TabInterface(QTabBar *bar, int index) : bar(bar), index(index) {}

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this)
                                                 : nullptr;
    }
    bool isValid() const override { return !bar.isNull() && index < bar->count(); }
    QObject *object() const override { return nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(bar.data());
    }
    QAccessibleInterface *child(int /*index*/) const override { return nullptr; }
    QAccessibleInterface *childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface * /*child*/) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    // As Qt's own tab: the tab list's state, focused where current; and
    // selected there too, as tabs are on other toolkits.
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s = parent()->state();
        s.focused = index == bar->currentIndex();
        s.selectable = true;
        s.selected = s.focused;
        return s;
    }
    QRect rect() const override
    {
        return isValid() ? bar->tabRect(index).translated(bar->mapToGlobal(QPoint())) : QRect();
    }
    QString text(QAccessible::Text t) const override
    {
        return isValid() && t == QAccessible::Name ? bar->tabText(index) : QString();
    }
    void setText(QAccessible::Text /*t*/, const QString & /*text*/) override {}

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &action) override
    {
        if (isValid() && action == pressAction())
            bar->setCurrentIndex(index);
    }
    QStringList keyBindingsForAction(const QString & /*action*/) const override { return {}; }

    const QPointer<QTabBar> bar;
    const int index;
};

// Qt's tab list also holds its two scroll buttons, hidden or not, so that a
// screen reader counts eight tabs where the window shows six; this one holds
// the tabs alone.
class TabBarInterface : public QAccessibleWidget {
public:
    explicit TabBarInterface(QTabBar *bar) : QAccessibleWidget(bar, QAccessible::PageTabList) {}
    ~TabBarInterface() override
    {
        for (const auto &[index, id] : tabs)
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return bar()->count(); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= bar()->count())
            return nullptr;
        QAccessible::Id &id = tabs[index];
        if (id == 0) {
            auto *tab = new TabInterface(bar(), index);
            // Qt owns the interface once registered, and the destructor deletes it.
            // NOLINTNEXTLINE(clang-analyzer-cplusplus.NewDeleteLeaks)
            id = QAccessible::registerAccessibleInterface(tab);
        }
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *tab = dynamic_cast<const TabInterface *>(child);
        return tab != nullptr && tab->bar == bar() && tab->isValid() ? tab->index : -1;
    }
    QAccessibleInterface *focusChild() const override { return child(bar()->currentIndex()); }
    // Named, as by Qt, after the current tab.
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? bar()->tabText(bar()->currentIndex())
                                      : QAccessibleWidget::text(t);
    }

private:
    QTabBar *bar() const { return static_cast<QTabBar *>(widget()); }

    mutable std::map<int, QAccessible::Id> tabs;
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
        return dielektra::platform::lineEditInterface(static_cast<QLineEdit *>(object));
    if (className == QLatin1String("QTabBar"))
        return new TabBarInterface(static_cast<QTabBar *>(object));
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
