#include "ui/message_boxes.h"

#include "ui/widgets/box_guard.h"

#include <QMessageBox>

#include <algorithm>
#include <utility>

MessageBoxes::MessageBoxes(QWidget *window) : QObject(window), window_(window)
{
    boxClosed_.setSingleShot(true);
    boxClosed_.setInterval(0);
    connect(&boxClosed_, &QTimer::timeout, this, &MessageBoxes::showWaiting);
}

void MessageBoxes::show(const QString &prompt, dielektra::MessageIcon icon, const QString &title)
{
    QMessageBox box(
        icon == dielektra::MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Information,
        title.isEmpty() ? QStringLiteral("Dielektra") : title, prompt, QMessageBox::Ok, window_);
    const std::optional<Box> under = std::exchange(open_, Box{prompt, icon, title});
    box.exec();
    open_ = under;
    // Later, so that whoever asked for this box goes on first.
    if (!waiting_.empty())
        boxClosed_.start();
}

void MessageBoxes::showWhenFree(const QString &prompt, dielektra::MessageIcon icon)
{
    const Box box{prompt, icon, {}};
    if (box == open_ || std::find(waiting_.begin(), waiting_.end(), box) != waiting_.end())
        return;
    waiting_.push_back(box);
    showWaiting();
}

void MessageBoxes::showWaiting()
{
    // Every box of the window opens through show(), which calls again for the
    // next one when it has closed.
    if (waiting_.empty() || dielektra::boxIsOpen())
        return;
    const Box box = waiting_.front();
    waiting_.pop_front();
    show(box.prompt, box.icon, box.title);
}
