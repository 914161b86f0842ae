#pragma once

#include <QLineEdit>

// A line edit's caret and selection, to be put back where Qt moved them.
struct Caret {
    explicit Caret(const QLineEdit &edit)
        : at(edit.cursorPosition()), start(edit.selectionStart()),
          length(int(edit.selectedText().size()))
    {
    }

    void restore(QLineEdit &edit) const
    {
        if (length == 0)
            edit.setCursorPosition(at);
        else if (at == start) // the caret at the selection's start
            edit.setSelection(start + length, -length);
        else
            edit.setSelection(start, length);
    }

    int at, start, length;
};
