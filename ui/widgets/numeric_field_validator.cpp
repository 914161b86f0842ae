#include "ui/widgets/numeric_field_validator.h"

#include "ui/widgets/caret.h"
#include "ui/widgets/number_in_text.h"

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>

#include <algorithm>
#include <string_view>
#include <utility>

namespace {

// An edit of the list's own line edit, which keeps its undo history (setting
// its text would clear it).
void setUnitText(QComboBox *unitList, const QString &text)
{
    unitList->lineEdit()->selectAll();
    unitList->lineEdit()->insert(text);
}

} // namespace

NumericFieldValidator::NumericFieldValidator(QLineEdit *field, QComboBox *unitList,
                                             const dielektra::UnitFamily &family)
    : QValidator(field), field_(field), unitList_(unitList), family_(family),
      accepted_(field->text()), caret_(Caret(*field))
{
    connect(field, &QLineEdit::cursorPositionChanged, this, &NumericFieldValidator::caretMoved);
    connect(field, &QLineEdit::selectionChanged, this, &NumericFieldValidator::caretMoved);
}

NumericFieldValidator *NumericFieldValidator::of(const QLineEdit *field)
{
    return field->findChild<NumericFieldValidator *>(QString(), Qt::FindDirectChildrenOnly);
}

QValidator::State NumericFieldValidator::validate(QString &input, int &pos) const
{
    if (input == accepted_)
        return Acceptable;
    if (mode_ == Mode::Read) {
        const FieldState before{accepted_, caret_.at, caret_.start, caret_.length,
                                unitList_->currentText()};
        // Qt clears its history as a text is set whole, and only then.
        if (!field_->isUndoAvailable()) {
            readWhole(input, pos);
        } else {
            const auto edit = readEdit(input, pos);
            if (input != accepted_)
                history_.record(edit, before, {input, pos, -1, 0, unitList_->currentText()});
        }
    }
    accepted_ = input;
    caret_ = Caret(pos, -1, 0);
    return Acceptable;
}

void NumericFieldValidator::refuse(QString &input, int &pos) const
{
    input = accepted_;
    pos = caret_.at;
    QApplication::beep();
}

// A text set whole: its number, and the history starts anew; an empty text
// empties the field. Qt cuts a text set whole to the field's maximum length
// before any validator sees it, so one that fills the field may have been
// cut: it is refused whole.
void NumericFieldValidator::readWhole(QString &input, int &pos) const
{
    if (input.size() >= field_->maxLength()) {
        refuse(input, pos);
        return;
    }
    if (!input.isEmpty()) {
        const auto number = numberInText(input, field_->maxLength());
        if (!number) {
            refuse(input, pos);
            return;
        }
        showUnit(QStringView(input).mid(number->end));
        input = number->number;
        pos = int(input.size());
    }
    history_.clear();
}

// An edit that no way of ours made: a deletion is taken as it is, an
// insertion by the paste's rule. The insertion is where the caret was, in
// place of the selection; where the new text does not keep what lay around
// them, it is found between what the edit kept before and after it.
FieldHistory::Edit NumericFieldValidator::readEdit(QString &input, int &pos) const
{
    const QString &before = accepted_;
    qsizetype head = caret_.length > 0 ? caret_.start : caret_.at;
    qsizetype tail = before.size() - head - caret_.length;
    if (head + tail > input.size() || QStringView(input).left(head) != before.left(head) ||
        QStringView(input).right(tail) != before.right(tail)) {
        tail = 0;
        const qsizetype tailLimit = std::min(before.size(), input.size() - pos);
        while (tail < tailLimit &&
               before[before.size() - 1 - tail] == input[input.size() - 1 - tail])
            ++tail;
        head = 0;
        const qsizetype headLimit = std::min(before.size(), input.size()) - tail;
        while (head < headLimit && before[head] == input[head])
            ++head;
    }
    const QStringView inserted = QStringView(input).mid(head, input.size() - tail - head);
    if (inserted.isEmpty()) {
        const qsizetype end = before.size() - tail;
        if (caret_.length == 0 && end == caret_.at)
            return FieldHistory::Edit::DeletingBack;
        if (caret_.length == 0 && head == caret_.at)
            return FieldHistory::Edit::DeletingForward;
        return FieldHistory::Edit::Other;
    }
    const auto number = numberInText(inserted, field_->maxLength() - (head + tail));
    QString result;
    if (number)
        result = input.left(head) + number->number + input.right(tail);
    if (!number || !readsWhole(result)) {
        refuse(input, pos);
        return FieldHistory::Edit::Other;
    }
    showUnit(inserted.mid(number->end));
    input = result;
    pos = int(head + number->number.size());
    return FieldHistory::Edit::Other;
}

FieldState NumericFieldValidator::state() const
{
    const Caret caret(*field_);
    return {field_->text(), caret.at, caret.start, caret.length, unitList_->currentText()};
}

void NumericFieldValidator::edit(FieldHistory::Edit kind, const std::function<void()> &change)
{
    const FieldState before = state();
    const Mode was = std::exchange(mode_, Mode::AsIs);
    change();
    mode_ = was;
    const FieldState after = state();
    caret_ = Caret(*field_);
    if (after.text != before.text || after.unit != before.unit)
        history_.record(kind, before, after);
}

void NumericFieldValidator::caretMoved()
{
    if (mode_ != Mode::Read || field_->text() != accepted_)
        return; // an edit's own move, recorded with it
    const Caret now(*field_);
    if (!(now == caret_))
        history_.breakRun();
    caret_ = now;
}

void NumericFieldValidator::type(const QString &text)
{
    edit(FieldHistory::Edit::Typing, [&] { field_->insert(text); });
}

void NumericFieldValidator::typeByInputMethod(const QInputMethodEvent &event, const QString &typed)
{
    QInputMethodEvent replacement(event.preeditString(), event.attributes());
    replacement.setCommitString(typed, event.replacementStart(), event.replacementLength());
    edit(event.replacementLength() == 0 ? FieldHistory::Edit::Typing : FieldHistory::Edit::Other,
         [&] { QCoreApplication::sendEvent(field_, &replacement); });
}

std::optional<NumberInText> NumericFieldValidator::numberFor(qsizetype start, qsizetype end,
                                                             QStringView text) const
{
    QString kept = accepted_;
    kept.remove(start, end - start);
    auto number = numberInText(text, field_->maxLength() - kept.size());
    if (!number || !readsWhole(kept.insert(start, number->number)))
        return std::nullopt;
    return number;
}

bool NumericFieldValidator::paste(QStringView text)
{
    const Caret caret(*field_);
    const int start = caret.length > 0 ? caret.start : caret.at;
    const auto number = numberFor(start, start + caret.length, text);
    if (!number) {
        QApplication::beep();
        return false;
    }
    edit(FieldHistory::Edit::Other, [&] {
        field_->insert(number->number);
        showUnit(text.mid(number->end));
    });
    return true;
}

// Where Qt puts an input method's commit: the selection goes first, then
// what the event replaces, counted from the caret; a replacement that
// reaches past the text's end replaces nothing.
bool NumericFieldValidator::pasteByInputMethod(const QInputMethodEvent &event)
{
    const Caret caret(*field_);
    QString kept = accepted_;
    qsizetype at = caret.at;
    if (caret.length > 0) {
        kept.remove(caret.start, caret.length);
        at = caret.start;
    }
    at = std::max<qsizetype>(0, at + event.replacementStart());
    const qsizetype replaced = event.replacementLength();
    if (replaced > 0 && at + replaced <= kept.size())
        kept.remove(at, replaced);
    const auto number = numberInText(event.commitString(), field_->maxLength() - kept.size());
    if (at > kept.size() || !number || !readsWhole(kept.insert(at, number->number))) {
        QApplication::beep();
        return false;
    }
    QInputMethodEvent replacement(event.preeditString(), event.attributes());
    replacement.setCommitString(number->number, event.replacementStart(),
                                event.replacementLength());
    edit(FieldHistory::Edit::Other, [&] {
        QCoreApplication::sendEvent(field_, &replacement);
        showUnit(QStringView(event.commitString()).mid(number->end));
    });
    return true;
}

void NumericFieldValidator::undo()
{
    if (const auto state = history_.undo(unitList_->currentText()))
        show(*state);
}

void NumericFieldValidator::redo()
{
    if (const auto state = history_.redo(unitList_->currentText()))
        show(*state);
}

void NumericFieldValidator::show(const FieldState &state)
{
    const Mode was = std::exchange(mode_, Mode::UndoRedo);
    field_->setText(state.text);
    Caret(state.cursor, state.selectionStart, state.selectionLength).restore(*field_);
    if (unitList_->currentText() != state.unit)
        setUnitText(unitList_, state.unit);
    mode_ = was;
    caret_ = Caret(*field_);
}

bool NumericFieldValidator::showUnit(QStringView text) const
{
    const auto *label = dielektra::unitWrittenAt(
        family_, std::u16string_view(text.utf16(), std::size_t(text.size())));
    if (label == nullptr)
        return false;
    const QString unit = QString::fromLatin1(label->text.data(), qsizetype(label->text.size()));
    if (unitList_->currentText() != unit)
        setUnitText(unitList_, unit);
    return true;
}

bool pasteNumber(QLineEdit *field, QStringView text)
{
    if (field->isReadOnly())
        return false;
    if (auto *validator = NumericFieldValidator::of(field))
        return validator->paste(text);
    if (field->text().size() - field->selectedText().size() + text.size() > field->maxLength()) {
        QApplication::beep();
        return false;
    }
    field->insert(text.toString());
    return true;
}
