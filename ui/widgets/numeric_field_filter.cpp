#include "ui/widgets/numeric_field_filter.h"

#include "ui/widgets/field_menu.h"
#include "ui/widgets/number_in_text.h"
#include "ui/widgets/numeric_field_validator.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <array>

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
        showFieldMenu(field, static_cast<QContextMenuEvent *>(event)->globalPos());
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
    default:
        return drops_.handle(field, event);
    }
}
