#include "core/calculate.h"

#include "core/numbers.h"

#include <cmath>
#include <optional>

namespace dielektra {

namespace {

// A negative value is written back as its absolute value, 7 digits and ".",
// so that it reads back; zero and positive texts stay as typed.
void cleanField(PageOps &ops, std::string_view field)
{
    const auto value = FieldValue(ops.text(field));
    if (value && *value < 0.0F)
        ops.setText(field, SingleToText(std::fabs(*value)));
}

bool isZero(const PageOps &ops, std::string_view field)
{
    return FieldValue(ops.text(field)).value_or(0.0F) == 0.0F;
}

bool tooLarge(const PageOps &ops, std::string_view field)
{
    return !FieldValue(ops.text(field)).has_value();
}

double quantity(const PageOps &ops, const CalcField &field, double factor)
{
    return static_cast<double>(FieldValue(ops.text(field.field)).value_or(0.0F)) * factor;
}

std::string unknownUnitPrompt(const UnitFamily &family)
{
    std::string prompt(UnknownUnitPrompt);
    prompt += ". Platné jednotky: ";
    for (const UnitLabel &label : family.labels) {
        if (label.position > 0)
            prompt += ", ";
        prompt += label.text;
    }
    return prompt;
}

} // namespace

Outcome CalculatePage(const CalcPage &page, CalcQuantities &quantities, PageOps &ops,
                      std::string_view decimalSeparator)
{
    // Beyond the single range the rounding would give infinity: refuse before
    // anything is rewritten.
    if (tooLarge(ops, page.a.field) || tooLarge(ops, page.b.field)) {
        ops.msgBox(TooLargePrompt, MsgStyle::Critical, InputErrorTitle);
        return Outcome::RefusedTooLarge;
    }

    cleanField(ops, page.a.field);
    cleanField(ops, page.b.field);

    if (page.capacityOnly != nullptr) {
        if (isZero(ops, page.a.field)) {
            ops.msgBox(page.capacityOnly->prompt, MsgStyle::Critical, InputErrorTitle);
            ops.setText(page.a.field, "1");
            return Outcome::RefusedZero;
        }
    } else {
        // Both are evaluated, A before B.
        const bool zeroA = isZero(ops, page.a.field);
        const bool zeroB = isZero(ops, page.b.field);
        if (zeroA || zeroB) {
            ops.msgBox(ZeroPrompt, MsgStyle::Critical, InputErrorTitle);
            return Outcome::RefusedZero;
        }
    }

    // An unknown unit would leave an earlier (or the initial 0) quantity in
    // use and show a wrong result as if it were right. The box names the
    // spellings that are meant ("KV", not "kV"), and the user lands in the
    // list to correct, the upper one first.
    const auto factorA = FactorOf(*page.a.family, ops.unitText(page.a.unitList));
    const auto factorB = FactorOf(*page.b.family, ops.unitText(page.b.unitList));
    if (!factorA || !factorB) {
        const CalcField &refused = factorA ? page.b : page.a;
        ops.msgBox(unknownUnitPrompt(*refused.family), MsgStyle::Critical, InputErrorTitle);
        ops.setFocus(refused.unitList);
        return Outcome::RefusedUnit;
    }

    if (page.capacityOnly != nullptr)
        ops.setVisible(page.capacityOnly->noteLabel, isZero(ops, page.b.field));

    quantities.a = quantity(ops, page.a, *factorA);
    quantities.b = quantity(ops, page.b, *factorB);
    quantities.result = page.formula(quantities.a, quantities.b);

    std::string caption(page.prefix);
    caption += DoubleToText(quantities.result, decimalSeparator);
    caption += page.suffix;
    ops.setCaption(page.resultLabel, caption);
    return Outcome::Shown;
}

} // namespace dielektra
