#include "ui/accessible_tab_list.h"

#include "platform/workarounds.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QTabBar>

#include <map>

namespace {

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

} // namespace

QAccessibleInterface *dielektra::accessibility::tabListInterface(QTabBar *bar)
{
    if (!dielektra::platform::workaroundOn("accessible_tab_list"))
        return nullptr;
    return new TabBarInterface(bar);
}
