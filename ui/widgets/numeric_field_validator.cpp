#include "ui/widgets/numeric_field_validator.h"

#include "ui/widgets/caret.h"
#include "ui/widgets/number_in_text.h"

#include <QComboBox>
#include <QLineEdit>

#include <algorithm>
#include <string_view>
#include <utility>

namespace {

// Qt keeps an undo step apart from the one before only when the caret moves;
// so it is moved away and back, and the selection restored.
void separateUndoStep(QLineEdit *field)
{
    const Caret caret(*field);
    const int away = caret.at > 0 ? caret.at - 1 : caret.at + 1;
    if (away > field->text().size())
        return; // an empty field: nothing before to keep apart
    field->setCursorPosition(away);
    caret.restore(*field);
}

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
      accepted_(field->text())
{
}

NumericFieldValidator *NumericFieldValidator::of(const QLineEdit *field)
{
    return field->findChild<NumericFieldValidator *>(QString(), Qt::FindDirectChildrenOnly);
}

QValidator::State NumericFieldValidator::validate(QString &input, int &pos) const
{
    if (input == accepted_)
        return Acceptable;
    if (mode_ != Mode::UndoRedo)
        unitChange_.reset();
    if (mode_ == Mode::Read)
        read(input, pos);
    accepted_ = input;
    return Acceptable;
}

// A text set whole (Qt has just cleared the undo history) is read as a paste
// and, where it holds no number, the text before stays. An edit's inserted
// text, found between what the edit kept before and after it (it ends at the
// caret), is read in its place; where it holds no number, the text before
// stays.
void NumericFieldValidator::read(QString &input, int &pos) const
{
    if (!field_->isUndoAvailable()) {
        if (input.isEmpty())
            return;
        const auto pasted = numberInText(input, field_->maxLength());
        if (pasted)
            showUnit(QStringView(input).mid(pasted->end));
        input = pasted ? pasted->number : accepted_;
        pos = int(input.size());
        return;
    }
    const QString &before = accepted_;
    qsizetype tail = 0;
    const qsizetype tailLimit = std::min(before.size(), input.size() - pos);
    while (tail < tailLimit && before[before.size() - 1 - tail] == input[input.size() - 1 - tail])
        ++tail;
    qsizetype head = 0;
    const qsizetype headLimit = std::min(before.size(), input.size()) - tail;
    while (head < headLimit && before[head] == input[head])
        ++head;
    const QStringView inserted = QStringView(input).mid(head, input.size() - tail - head);
    if (inserted.isEmpty())
        return; // a deletion
    const auto pasted = numberInText(inserted, field_->maxLength() - (head + tail));
    if (!pasted) {
        input = before;
        pos = int(head);
        return;
    }
    showUnit(inserted.mid(pasted->end));
    input = input.left(head) + pasted->number + input.right(tail);
    pos = int(head + pasted->number.size());
}

void NumericFieldValidator::run(Mode mode, const std::function<void()> &edit)
{
    const Mode before = std::exchange(mode_, mode);
    edit();
    mode_ = before;
}

void NumericFieldValidator::takeAsIs(const std::function<void()> &edit)
{
    run(Mode::AsIs, edit);
}

qsizetype NumericFieldValidator::room() const
{
    return field_->maxLength() - (field_->text().size() - field_->selectedText().size());
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

void NumericFieldValidator::followUnit(QStringView text, const QString &fieldBefore)
{
    const QString unitBefore = unitList_->currentText();
    if (showUnit(text) && unitList_->currentText() != unitBefore)
        unitChange_ = {{fieldBefore, field_->text()}, {unitBefore, unitList_->currentText()}};
}

// An undo goes from the text after the paste to the one before it, a redo
// the other way; the unit goes with it where the list still shows the unit
// that it showed there.
void NumericFieldValidator::step(bool back)
{
    const QString from = field_->text();
    run(Mode::UndoRedo, [this, back] { back ? field_->undo() : field_->redo(); });
    const std::size_t was = back ? 1 : 0;
    const std::size_t now = 1 - was;
    if (unitChange_ && from == unitChange_->field[was] &&
        field_->text() == unitChange_->field[now] &&
        unitList_->currentText() == unitChange_->unit[was])
        setUnitText(unitList_, unitChange_->unit[now]);
}

void pasteNumber(QLineEdit *field, QStringView text)
{
    if (field->isReadOnly())
        return;
    auto *validator = NumericFieldValidator::of(field);
    if (validator == nullptr) {
        field->insert(text.toString());
        return;
    }
    const auto pasted = numberInText(text, validator->room());
    if (!pasted)
        return;
    const QString before = field->text();
    separateUndoStep(field);
    validator->takeAsIs([&] { field->insert(pasted->number); });
    separateUndoStep(field);
    validator->followUnit(text.mid(pasted->end), before);
}
