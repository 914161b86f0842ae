#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace dielektra {

struct UnitLabel {
    std::string_view text;
    int position;  // 0 (tera) to 7 (pico): the entry's index in its unit list
    double factor; // base units in one of this unit
};

// The eight units of one quantity, tera first; the base unit (volt, coulomb,
// farad, ohm) has the factor 1.
struct UnitFamily {
    std::array<UnitLabel, 8> labels;
};

extern const UnitFamily VoltageUnits;
extern const UnitFamily ChargeUnits;
extern const UnitFamily CapacityUnits;
extern const UnitFamily ResistanceUnits;

// Exact, case-sensitive, whole-string match: "kV", "mV" and " V" match nothing.
std::optional<double> FactorOf(const UnitFamily &family, std::string_view text);

} // namespace dielektra
