#include "core/units.h"

namespace dielektra {

namespace {

// Kilo is a capital K, micro a plain u, and only milli carries a trailing
// period, so "mV" without it is no unit.
constexpr UnitFamily makeFamily(std::array<std::string_view, 8> texts)
{
    constexpr std::array<double, 8> factors{1e12, 1e6, 1e3, 1.0, 1e-3, 1e-6, 1e-9, 1e-12};
    UnitFamily family{};
    for (int i = 0; i < 8; ++i)
        family.labels[static_cast<std::size_t>(i)] = {texts[static_cast<std::size_t>(i)], i,
                                                      factors[static_cast<std::size_t>(i)]};
    return family;
}

} // namespace

const UnitFamily VoltageUnits = makeFamily({"TV", "MV", "KV", "V", "mV.", "uV", "nV", "pV"});
const UnitFamily ChargeUnits = makeFamily({"TC", "MC", "KC", "C", "mC.", "uC", "nC", "pC"});
const UnitFamily CapacityUnits = makeFamily({"TF", "MF", "KF", "F", "mF.", "uF", "nF", "pF"});
const UnitFamily ResistanceUnits = makeFamily({"TO", "MO", "KO", "O", "mO.", "uO", "nO", "pO"});

std::optional<double> FactorOf(const UnitFamily &family, std::string_view text)
{
    for (const UnitLabel &label : family.labels)
        if (label.text == text)
            return label.factor;
    return std::nullopt;
}

} // namespace dielektra
