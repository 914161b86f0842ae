#include "ui/unit_list.h"

#include "ui/caret.h"

#include <QCompleter>
#include <QLineEdit>
#include <QSignalBlocker>
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
    connect(this, &QComboBox::editTextChanged, this, &UnitList::followText);
}

void UnitList::followText()
{
    const QString text = currentText();
    const int label = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (label == currentIndex())
        return;
    if (label >= 0) {
        setCurrentIndex(label); // the same text: the line edit is left alone
        return;
    }
    // No item current clears the text; it is put back with the caret and the
    // selection where they were.
    QLineEdit *edit = lineEdit();
    const Caret caret(*edit);
    const QSignalBlocker quiet(this);
    setCurrentIndex(-1);
    edit->setText(text);
    caret.restore(*edit);
}

void UnitList::wheelEvent(QWheelEvent *event)
{
    if (hasFocus())
        QComboBox::wheelEvent(event);
    else
        event->ignore(); // on to the page, as over any other control
}
