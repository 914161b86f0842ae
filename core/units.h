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
std::optional<double> factorOf(const UnitFamily &family, std::string_view text);

// The family's label that a unit written at the start of a text names, after
// any spaces: in the family's own spelling ("KV", "mV.", "uF") or as people
// write it ("kV", "mV", "µF", "MΩ", "kohm"); null if none. Prefixes keep
// their SI case (M mega, m milli), but kilo is k or K and micro u, µ or μ;
// the unit's letter is a capital, and the ohm is O, Ω, Ω, ohm or Ohm. The
// unit ends the text or is followed by a blank, a tab, a line break or one of
// . , ; : ! ? ) ], so that "kVx", "Vodka" and "kV/m" name nothing.
const UnitLabel *unitWrittenAt(const UnitFamily &family, std::u16string_view text);

} // namespace dielektra
