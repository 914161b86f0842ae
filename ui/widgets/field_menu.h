#pragma once

class QLineEdit;
class QPoint;

// A numeric field's menu, as Qt's standard one, in Qt's own texts, but for its
// Paste, which goes through pasteNumber, and its Undo and Redo, which take a
// pasted unit back and forth with the number. Built here, so that no action
// of Qt's menu need be found by its translated text.
void showFieldMenu(QLineEdit *field, const QPoint &globalPos);
