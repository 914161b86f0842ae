#pragma once

#include <QLineEdit>

// A line edit's caret and selection, to be put back where Qt moved them.
struct Caret {
    explicit Caret(const QLineEdit &edit)
        : at(edit.cursorPosition()), start(edit.selectionStart()),
          length(int(edit.selectedText().size()))
    {
    }
    Caret(int at, int start, int length) : at(at), start(start), length(length) {}

    void restore(QLineEdit &edit) const
    {
        if (length == 0)
            edit.setCursorPosition(at);
        else if (at == start) // the caret at the selection's start
            edit.setSelection(start + length, -length);
        else
            edit.setSelection(start, length);
    }

    bool operator==(const Caret &other) const = default;

    int at;
    int start; // -1 where nothing is selected
    int length;
};
