#pragma once

#include "core/units.h"

#include <QString>
#include <QValidator>

#include <array>
#include <functional>
#include <optional>

class QComboBox;
class QLineEdit;

// Every text that reaches a numeric field except what is typed goes by one
// rule, the paste's: the field takes the number that numberInText reads from
// it, and the unit list beside it shows the unit written after the number,
// where the list's family has it; a text that holds no number changes
// nothing. The ways in that the program knows (a paste, a drop, a screen
// reader's edit, an input method's phrase) read the text before they insert
// its number, as one undo step; this validator is the choke point for the
// others: a text set whole is read as a paste, and an edit's inserted text is
// read in its place (which, as the validator then rewrites the text, clears
// the undo history). Typed characters, already filtered, an undo and a redo
// pass as they are.
class NumericFieldValidator : public QValidator {
    Q_OBJECT
public:
    NumericFieldValidator(QLineEdit *field, QComboBox *unitList,
                          const dielektra::UnitFamily &family);

    // The validator of a numeric field; null for any other line edit.
    static NumericFieldValidator *of(const QLineEdit *field);

    State validate(QString &input, int &pos) const override;

    // Runs an edit whose text the field takes as it is: typed characters,
    // already filtered, or a number already read.
    void takeAsIs(const std::function<void()> &edit);
    bool takesAsIs() const { return mode_ != Mode::Read; }

    // How many characters the field can take in place of its selection.
    qsizetype room() const;

    // The unit written at the start of text (after a number read from it)
    // shown in the unit list, if its family has it; an undo in the field
    // that takes the number back takes the unit back too.
    void followUnit(QStringView text, const QString &fieldBefore);

    // The field's undo and redo, with the unit that a paste showed.
    void undo() { step(true); }
    void redo() { step(false); }

private:
    enum class Mode { Read, AsIs, UndoRedo };

    void run(Mode mode, const std::function<void()> &edit);
    void step(bool back);
    void read(QString &input, int &pos) const;
    bool showUnit(QStringView text) const;

    QLineEdit *field_;
    QComboBox *unitList_;
    const dielektra::UnitFamily &family_;
    Mode mode_ = Mode::Read;
    // The text that the field held after the last change let through.
    mutable QString accepted_;
    // The texts of the field and the unit list before and after the last
    // paste that showed a unit, while only undo and redo followed it.
    struct UnitChange {
        std::array<QString, 2> field, unit;
    };
    mutable std::optional<UnitChange> unitChange_;
};

// Inserts the number that numberInText reads from text at the caret of a
// numeric field, in place of the selection, as one undo step, and shows its
// unit; a text that holds no number, or none that fits, changes nothing. Any
// other line edit takes the text as it is.
void pasteNumber(QLineEdit *field, QStringView text);
