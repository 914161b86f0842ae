#include "core/calculate.h"

#include "core/numbers.h"

#include <array>
#include <cmath>
#include <optional>

namespace dielektra {

namespace {

constexpr std::array rows{Row::Upper, Row::Lower};

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

void calculate(const CalcPage &page, PageControls &controls, std::string_view decimalSeparator)
{
    // Beyond the single range the rounding would give infinity: refuse before
    // anything is rewritten.
    const auto upper = fieldValue(controls.fieldText(Row::Upper));
    const auto lower = fieldValue(controls.fieldText(Row::Lower));
    if (!upper || !lower) {
        controls.showMessage(TooLargePrompt, MessageIcon::Critical, InputErrorTitle);
        return;
    }

    // A negative value is written back as its absolute value, 7 digits and
    // ".", and read again from there; zero and positive texts stay as typed.
    std::array values{*upper, *lower};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (values.at(i) < 0.0F) {
            controls.setFieldText(rows.at(i), singleToText(std::fabs(values.at(i))));
            values.at(i) = fieldValue(controls.fieldText(rows.at(i))).value_or(0.0F);
        }
    }
    const auto [a, b] = values;

    const bool capacityOnly = !page.capacityOnlyPrompt.empty();
    if (capacityOnly && a == 0.0F) {
        controls.showMessage(page.capacityOnlyPrompt, MessageIcon::Critical, InputErrorTitle);
        controls.setFieldText(Row::Upper, "1");
        return;
    }
    if (!capacityOnly && (a == 0.0F || b == 0.0F)) {
        controls.showMessage(ZeroPrompt, MessageIcon::Critical, InputErrorTitle);
        return;
    }

    // An unknown unit would leave an earlier (or the initial 0) quantity in
    // use and show a wrong result as if it were right. The box names the
    // spellings that are meant ("KV", not "kV"), and the user lands in the
    // list to correct, the upper one first.
    const auto factorA = factorOf(*page.upper, controls.unitText(Row::Upper));
    const auto factorB = factorOf(*page.lower, controls.unitText(Row::Lower));
    if (!factorA || !factorB) {
        const Row refused = factorA ? Row::Lower : Row::Upper;
        controls.showMessage(unknownUnitPrompt(factorA ? *page.lower : *page.upper),
                             MessageIcon::Critical, InputErrorTitle);
        controls.focusUnitList(refused);
        return;
    }

    if (capacityOnly)
        controls.showNote(b == 0.0F);

    const double result =
        page.formula(static_cast<double>(a) * *factorA, static_cast<double>(b) * *factorB);
    std::string sentence(page.prefix);
    sentence += doubleToText(result, decimalSeparator);
    sentence += page.suffix;
    controls.showResult(sentence);
}

} // namespace dielektra
