#include "ui/widgets/tab_page.h"

#include <QEvent>

// A child of the tab control from the start, so that its controls are built
// with the window's font rather than re-measured when the page is added.
TabPage::TabPage(QWidget *tabControl) : QWidget(tabControl), tabControl_(tabControl) {}

void TabPage::place(QWidget *control, QRect relativeToTabControl)
{
    placed_.emplace_back(control, relativeToTabControl);
    control->setFixedSize(relativeToTabControl.size());
    relayout();
}

bool TabPage::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ParentChange:
        // The tab control moves the page's parent, not the page itself.
        if (parentWidget() != nullptr)
            parentWidget()->installEventFilter(this);
        relayout();
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
        relayout();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

bool TabPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        relayout();
    return false;
}

void TabPage::relayout()
{
    if (!tabControl_->isAncestorOf(this))
        return;
    const QPoint offset = mapTo(tabControl_, QPoint(0, 0));
    for (const auto &[control, rect] : placed_)
        control->move(rect.topLeft() - offset);
}
