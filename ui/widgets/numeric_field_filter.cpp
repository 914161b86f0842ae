#include "ui/widgets/numeric_field_filter.h"

#include "ui/widgets/number_in_text.h"
#include "ui/widgets/numeric_field_validator.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QIcon>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

#include <array>
#include <functional>
#include <utility>

namespace {

bool passesUnfiltered(const QKeyEvent *key)
{
    static constexpr std::array shortcuts{QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Undo,
                                          QKeySequence::Redo, QKeySequence::SelectAll};
    for (const auto shortcut : shortcuts)
        if (key->matches(shortcut))
            return true;
    // Backspace deletes as usual, and so does Delete, whose text X11 gives as
    // the character DEL.
    return key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->text().isEmpty() ||
           key->text() == u"\b" || key->text() == u"\x7f";
}

// What a field receives for typed text: digits of any script as ASCII digits,
// periods, and a comma (or the Arabic decimal mark) as a period; every other
// character is dropped.
QString typed(const QString &text)
{
    QString kept;
    kept.reserve(text.size());
    for (const char32_t key : text.toUcs4()) {
        const char32_t c = plainCharacter(key);
        if (c == U',' || c == U'\u066b')
            kept += u'.';
        // A typed period passes as it is: cancelling it would turn 1.5 into 15.
        else if ((c >= U'0' && c <= U'9') || c == U'.')
            kept += QChar(char16_t(c));
    }
    return kept;
}

void type(QLineEdit *field, const QString &text)
{
    if (text.isEmpty())
        return;
    if (auto *validator = NumericFieldValidator::of(field))
        validator->type(text);
    else
        field->insert(text);
}

void pasteFromClipboard(QLineEdit *field, QClipboard::Mode mode)
{
    pasteNumber(field, QGuiApplication::clipboard()->text(mode));
}

// The field's menu, as Qt's standard one, in Qt's own texts, but for its
// Paste, which goes through pasteNumber, and its Undo and Redo, which take a
// pasted unit back and forth with the number. Built here, so that no action
// of Qt's menu need be found by its translated text.
void showContextMenu(QLineEdit *field, const QPoint &globalPos)
{
    auto *validator = NumericFieldValidator::of(field);
    auto *menu = new QMenu(field);
    const auto add = [&](const char *text, QKeySequence::StandardKey key, const char *icon,
                         bool enabled, const std::function<void()> &run) {
        QString label = QLineEdit::tr(text);
        if (key != QKeySequence::UnknownKey &&
            !QCoreApplication::testAttribute(Qt::AA_DontShowShortcutsInContextMenus))
            label += u'\t' + QKeySequence(key).toString(QKeySequence::NativeText);
        QAction *action = menu->addAction(QIcon::fromTheme(QString::fromLatin1(icon)), label);
        action->setEnabled(enabled);
        QObject::connect(action, &QAction::triggered, field, run);
    };
    const bool editable = !field->isReadOnly();
    const bool selected = field->hasSelectedText();
    if (editable) {
        add("&Undo", QKeySequence::Undo, "edit-undo",
            validator != nullptr ? validator->canUndo() : field->isUndoAvailable(),
            [field, validator] { validator != nullptr ? validator->undo() : field->undo(); });
        add("&Redo", QKeySequence::Redo, "edit-redo",
            validator != nullptr ? validator->canRedo() : field->isRedoAvailable(),
            [field, validator] { validator != nullptr ? validator->redo() : field->redo(); });
        menu->addSeparator();
        add("Cu&t", QKeySequence::Cut, "edit-cut", selected, [field] { field->cut(); });
    }
    add("&Copy", QKeySequence::Copy, "edit-copy", selected, [field] { field->copy(); });
    if (editable) {
        add("&Paste", QKeySequence::Paste, "edit-paste",
            !QGuiApplication::clipboard()->text().isEmpty(),
            [field] { pasteFromClipboard(field, QClipboard::Clipboard); });
        add("Delete", QKeySequence::UnknownKey, "edit-delete", selected, [field] { field->del(); });
        menu->addSeparator();
    }
    add("Select All", QKeySequence::SelectAll, "edit-select-all",
        !field->text().isEmpty() && field->selectedText() != field->text(),
        [field] { field->selectAll(); });
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

// Whether a drag may be copied and holds a number that the field takes: where
// it would be dropped, or, as it enters the field, anywhere (Qt sends no more
// of a drag to a field that refused its entry).
bool offersNumber(QLineEdit *field, const QDropEvent *drag)
{
    const auto *validator = NumericFieldValidator::of(field);
    if (validator == nullptr || field->isReadOnly() ||
        (drag->possibleActions() & Qt::CopyAction) == 0 || !drag->mimeData()->hasText())
        return false;
    const QString text = drag->mimeData()->text();
    if (drag->type() == QEvent::DragEnter)
        return validator->takes(0, text) || validator->takes(int(field->text().size()), text);
    return validator->takes(field->cursorPositionAt(drag->position().toPoint()), text);
}

// A drag that holds a number is shown where it would go, by the field itself,
// and answered Copy whatever action it proposes; any other is refused where
// it hovers. The field's own handler takes the action that Qt proposes, which
// under X11 is the foreign source's first action even where that is not
// offered to the field: so the field is given a drag that offers only a copy
// (forwarded: while it runs, this filter lets the field have it), and the
// answer is set here.
template <typename Drag> bool dragOver(QLineEdit *field, Drag *drag, bool &forwarded)
{
    if (forwarded)
        return false;
    if (!offersNumber(field, drag)) {
        drag->ignore();
        return true;
    }
    Drag copy(drag->position().toPoint(), Qt::CopyAction, drag->mimeData(), drag->buttons(),
              drag->modifiers());
    forwarded = true;
    QCoreApplication::sendEvent(field, &copy);
    forwarded = false;
    drag->setDropAction(Qt::CopyAction);
    drag->setAccepted(copy.isAccepted());
    return true;
}

// A drop pastes its number where it is dropped, as a copy.
void dropNumber(QLineEdit *field, QDropEvent *drop)
{
    if (!offersNumber(field, drop)) {
        drop->ignore();
        return;
    }
    field->setCursorPosition(field->cursorPositionAt(drop->position().toPoint()));
    if (pasteNumber(field, drop->mimeData()->text())) {
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
    } else {
        drop->ignore();
    }
    QDragLeaveEvent leave; // the drag's caret goes, as after Qt's own drop
    QCoreApplication::sendEvent(field, &leave);
}

// One character is a key through an input method (a keyboard layout of
// IBus, say) and is typed; more are a phrase (dictation, a prediction) and
// are pasted. A commit that brings nothing to take changes nothing, what it
// would replace included; its composition goes on.
bool commitInput(QLineEdit *field, const QInputMethodEvent *input)
{
    auto *validator = NumericFieldValidator::of(field);
    const QString &commit = input->commitString();
    if (validator == nullptr || validator->editing() || commit.isEmpty())
        return false;
    if (commit.toUcs4().size() == 1) {
        if (const QString key = typed(commit); !key.isEmpty()) {
            validator->typeByInputMethod(*input, key);
            return true;
        }
    } else if (validator->pasteByInputMethod(*input)) {
        return true;
    }
    QInputMethodEvent composition(input->preeditString(), input->attributes());
    QCoreApplication::sendEvent(field, &composition);
    return true;
}

bool keyPress(QLineEdit *field, const QKeyEvent *key)
{
    auto *validator = NumericFieldValidator::of(field);
    if (key->matches(QKeySequence::Paste)) {
        pasteFromClipboard(field, QClipboard::Clipboard);
        return true;
    }
    if (validator != nullptr && key->matches(QKeySequence::Undo)) {
        validator->undo();
        return true;
    }
    if (validator != nullptr && key->matches(QKeySequence::Redo)) {
        validator->redo();
        return true;
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Escape)
        return true;
    if (passesUnfiltered(key) || field->isReadOnly())
        return false;
    type(field, typed(key->text()));
    return true;
}

} // namespace

bool NumericFieldFilter::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (field == nullptr)
        return false;

    switch (event->type()) {
    case QEvent::KeyPress:
        return keyPress(field, static_cast<QKeyEvent *>(event));
    case QEvent::InputMethod:
        return commitInput(field, static_cast<QInputMethodEvent *>(event));
    case QEvent::ContextMenu:
        showContextMenu(field, static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    case QEvent::MouseButtonRelease:
        // A middle click pastes the selection where the press put the caret.
        if (static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton &&
            QGuiApplication::clipboard()->supportsSelection()) {
            field->deselect();
            pasteFromClipboard(field, QClipboard::Selection);
            return true;
        }
        return false;
    case QEvent::DragEnter:
        return dragOver(field, static_cast<QDragEnterEvent *>(event), forwardingDrag_);
    case QEvent::DragMove:
        return dragOver(field, static_cast<QDragMoveEvent *>(event), forwardingDrag_);
    case QEvent::Drop:
        dropNumber(field, static_cast<QDropEvent *>(event));
        return true;
    default:
        return false;
    }
}
