#pragma once

#include <QString>

#include <cstddef>
#include <deque>
#include <optional>

// What a numeric field shows: its text, caret and selection, and the text of
// the unit list beside it.
struct FieldState {
    QString text;
    int cursor = 0;
    int selectionStart = 0;
    int selectionLength = 0; // 0: nothing selected
    QString unit;
};

// What Ctrl+Z and Ctrl+Shift+Z walk through in a numeric field: its steps,
// each with the number and the unit shown before and after it.
// - A step is one paste, drop, input method's phrase, screen reader's edit,
//   cut or other edit; or a run of typed characters, or of deletions in one
//   direction, with no caret move and no other step between.
// - An undo brings back the text and caret from before the last step done,
//   and the unit shown then, unless the list shows another unit than the
//   step left: the user chose that one since, and it stays. A redo goes
//   forward the same way.
// - An edit after an undo drops the steps undone.
// - The latest 10,000 steps are kept, and no more than about 4 million
//   characters of their texts, so that no stream of edits fills the memory.
class FieldHistory {
public:
    enum class Edit { Typing, DeletingBack, DeletingForward, Other };

    // A text set whole starts the history anew.
    void clear();
    // An edit from one state to another: a step of its own, or the last
    // step's continuation where both are of the same run.
    void record(Edit edit, const FieldState &before, const FieldState &after);
    // The caret moved: the next edit starts a step of its own.
    void breakRun() { runOpen_ = false; }

    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < steps_.size(); }
    // The state to show now, where unitShown is the list's text; none at
    // the history's start or end.
    std::optional<FieldState> undo(const QString &unitShown);
    std::optional<FieldState> redo(const QString &unitShown);

private:
    struct Step {
        Edit edit;
        FieldState before, after;
    };

    static qsizetype size(const Step &step);

    std::deque<Step> steps_;
    std::size_t done_ = 0;
    bool runOpen_ = false;
    qsizetype characters_ = 0;
};
