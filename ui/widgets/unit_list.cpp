#include "ui/widgets/unit_list.h"

#include "ui/widgets/caret.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
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
    connect(this, &QComboBox::editTextChanged, this, &UnitList::followText);
}

int UnitList::labelShown() const
{
    return findText(currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

void UnitList::followText()
{
    const int label = labelShown();
    if (label < 0)
        return;
    if (label != currentIndex())
        setCurrentIndex(label); // the same text: the line edit is left alone
    // Qt keeps an undo step apart from the one before only where the caret
    // moves: so it moves away and back, the selection restored.
    QLineEdit *edit = lineEdit();
    const Caret caret(*edit);
    const int away = caret.at > 0 ? caret.at - 1 : caret.at + 1;
    if (away > edit->text().size())
        return;
    edit->setCursorPosition(away);
    caret.restore(*edit);
}

void UnitList::stepFromNoLabel(int step)
{
    if (step <= 0 || count() == 0)
        return;
    setCurrentIndex(0);
    emit activated(0);
    emit textActivated(itemText(0));
}

void UnitList::showPopup()
{
    QComboBox::showPopup();
    if (labelShown() < 0)
        view()->selectionModel()->clear();
}

void UnitList::keyPressEvent(QKeyEvent *event)
{
    // As the box steps: Alt+Down opens the list, Ctrl+Up and Ctrl+Down go to
    // the line edit.
    const bool plain = (event->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) == 0;
    const int key = event->key();
    const int step = key == Qt::Key_Down || key == Qt::Key_PageDown ? 1
                     : key == Qt::Key_Up || key == Qt::Key_PageUp   ? -1
                                                                    : 0;
    if (plain && step != 0 && labelShown() < 0) {
        stepFromNoLabel(step);
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void UnitList::wheelEvent(QWheelEvent *event)
{
    if (!hasFocus()) {
        event->ignore(); // on to the page, as over any other control
        return;
    }
    const int delta = event->angleDelta().y();
    if (labelShown() < 0 && delta != 0) {
        stepFromNoLabel(delta < 0 ? 1 : -1);
        event->accept();
        return;
    }
    QComboBox::wheelEvent(event);
}
