#include "ui/widgets/field_history.h"

namespace {

constexpr std::size_t MostSteps = 10000;
constexpr qsizetype MostCharacters = qsizetype(1) << 22;

} // namespace

qsizetype FieldHistory::size(const Step &step)
{
    return step.before.text.size() + step.after.text.size() + step.before.unit.size() +
           step.after.unit.size();
}

void FieldHistory::clear()
{
    steps_.clear();
    done_ = 0;
    runOpen_ = false;
    characters_ = 0;
}

void FieldHistory::record(Edit edit, const FieldState &before, const FieldState &after)
{
    while (steps_.size() > done_) {
        characters_ -= size(steps_.back());
        steps_.pop_back();
    }
    if (runOpen_ && edit != Edit::Other && !steps_.empty() && steps_.back().edit == edit) {
        characters_ -= size(steps_.back());
        steps_.back().after = after;
    } else {
        steps_.push_back({edit, before, after});
    }
    characters_ += size(steps_.back());
    runOpen_ = edit != Edit::Other;
    while (steps_.size() > 1 && (steps_.size() > MostSteps || characters_ > MostCharacters)) {
        characters_ -= size(steps_.front());
        steps_.pop_front();
    }
    done_ = steps_.size();
}

std::optional<FieldState> FieldHistory::undo(const QString &unitShown)
{
    if (!canUndo())
        return std::nullopt;
    runOpen_ = false;
    const Step &step = steps_[--done_];
    FieldState state = step.before;
    if (unitShown != step.after.unit)
        state.unit = unitShown;
    return state;
}

std::optional<FieldState> FieldHistory::redo(const QString &unitShown)
{
    if (!canRedo())
        return std::nullopt;
    runOpen_ = false;
    const Step &step = steps_[done_++];
    FieldState state = step.after;
    if (unitShown != step.before.unit)
        state.unit = unitShown;
    return state;
}
