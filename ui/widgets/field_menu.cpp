#include "ui/widgets/field_menu.h"

#include "ui/widgets/numeric_field_validator.h"

#include <QApplication>
#include <QClipboard>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>

#include <functional>

void showFieldMenu(QLineEdit *field, const QPoint &globalPos)
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
            [field] { pasteNumber(field, QGuiApplication::clipboard()->text()); });
        add("Delete", QKeySequence::UnknownKey, "edit-delete", selected, [field] { field->del(); });
        menu->addSeparator();
    }
    add("Select All", QKeySequence::SelectAll, "edit-select-all",
        !field->text().isEmpty() && field->selectedText() != field->text(),
        [field] { field->selectAll(); });
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}
