#pragma once

#include "core/units.h"
#include "ui/widgets/caret.h"
#include "ui/widgets/field_history.h"
#include "ui/widgets/number_in_text.h"

#include <QString>
#include <QValidator>

#include <functional>
#include <optional>

class QComboBox;
class QInputMethodEvent;
class QLineEdit;

// The one way into a numeric field for everything that is not typed: a
// paste, a drop, an input method's phrase, a screen reader's edit, a text set
// by code, an edit that no known way makes. The field takes the number that
// numberInText reads from the text, and the unit list beside it shows the
// unit written after the number, where the list's family has it. A text set
// whole becomes that number. An insertion is taken only where the field's
// whole text then reads as the number it shows (readsWhole), or where the
// field was empty or wholly replaced: "1" + "-3" + "2" is refused. A refused
// text changes nothing and the desktop's bell says so. Nothing that does not
// fit in the field's maximum length is taken, not even in part; typed
// characters, already filtered, are taken as they are, as far as they fit.
//
// The field's undo history (FieldHistory) is kept here, for the number and
// its unit together; Qt's own history of the field goes unused.
class NumericFieldValidator : public QValidator {
    Q_OBJECT
public:
    NumericFieldValidator(QLineEdit *field, QComboBox *unitList,
                          const dielektra::UnitFamily &family);

    // The validator of a numeric field; null for any other line edit.
    static NumericFieldValidator *of(const QLineEdit *field);

    State validate(QString &input, int &pos) const override;

    // Typed characters, already filtered, at the caret in place of the
    // selection.
    void type(const QString &text);
    // A typed character committed by an input method, which may replace
    // characters near the caret.
    void typeByInputMethod(const QInputMethodEvent &event, const QString &typed);
    // The number in text at the caret, in place of the selection, as one
    // step; false where it is refused.
    bool paste(QStringView text);
    // Whether the number in text would be taken at a place, nothing selected.
    bool takes(int at, QStringView text) const { return numberFor(at, at, text).has_value(); }
    // An input method's phrase: the number in its commit, in place of what
    // the event replaces; false where it is refused.
    bool pasteByInputMethod(const QInputMethodEvent &event);

    bool canUndo() const { return history_.canUndo(); }
    bool canRedo() const { return history_.canRedo(); }
    void undo();
    void redo();

    // Whether an edit of ours is running (its events pass as they are).
    bool editing() const { return mode_ != Mode::Read; }

private:
    enum class Mode { Read, AsIs, UndoRedo };

    FieldState state() const;
    void show(const FieldState &state);
    // Runs an edit whose text the field takes as it is, and records it.
    void edit(FieldHistory::Edit kind, const std::function<void()> &change);
    void caretMoved();
    void readWhole(QString &input, int &pos) const;
    FieldHistory::Edit readEdit(QString &input, int &pos) const;
    void refuse(QString &input, int &pos) const;
    bool showUnit(QStringView text) const;
    // The number in text, where the field takes it in place of the
    // characters from start to end.
    std::optional<NumberInText> numberFor(qsizetype start, qsizetype end, QStringView text) const;

    QLineEdit *field_;
    QComboBox *unitList_;
    const dielektra::UnitFamily &family_;
    Mode mode_ = Mode::Read;
    // The text that the field held after the last change let through, and
    // the caret and selection last seen with it.
    mutable QString accepted_;
    mutable Caret caret_;
    mutable FieldHistory history_;
};

// Inserts the number that numberInText reads from text at the caret of a
// numeric field, in place of the selection, as one undo step, and shows its
// unit. Any other line edit takes the text as it is, where all of it fits.
// False where the text is refused, and then nothing changes.
bool pasteNumber(QLineEdit *field, QStringView text);
