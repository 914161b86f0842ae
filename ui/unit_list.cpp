#include "ui/unit_list.h"

#include <QCompleter>
#include <QLineEdit>
#include <QWheelEvent>

UnitList::UnitList(QWidget *parent) : QComboBox(parent)
{
    // Editable through a line edit of its own: setEditable(true) would also
    // build the drop-down list's popup (a list view with its scroll bars) at
    // start-up; this way it is built when first opened. No completion, no
    // case-insensitive match on Enter and no new entries; an empty completer
    // on the line edit spares the box building its own.
    auto *edit = new QLineEdit(this);
    edit->setCompleter(new QCompleter(edit));
    setLineEdit(edit);
    setCompleter(nullptr);
    setDuplicatesEnabled(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Not WheelFocus, or the first notch would take the focus and turn it.
    setFocusPolicy(Qt::StrongFocus);
}

void UnitList::wheelEvent(QWheelEvent *event)
{
    if (hasFocus())
        QComboBox::wheelEvent(event);
    else
        event->ignore(); // on to the page, as over any other control
}
