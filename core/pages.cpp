#include "core/pages.h"

#include <cmath>

namespace dielektra {

const std::array<CalcPage, 5> CalcPages{{
    // C = Q / U
    {&VoltageUnits, &ChargeUnits, [](double u, double q) { return q / u; },
     "Kondenzátor má kapacitu ", " F"},
    // Q = C · U
    {&VoltageUnits, &CapacityUnits, [](double u, double c) { return c * u; },
     "V kondenzátoru je náboj ", " C"},
    // U = Q / C
    {&ChargeUnits, &CapacityUnits, [](double q, double c) { return q / c; },
     "Kondenzátor má napětí ", " V"},
    // t = R · C
    {&CapacityUnits, &ResistanceUnits, [](double c, double r) { return r * c; },
     "Časová konstanta kondenzátoru je ", " sec.", "Kondenzátor nemůže mít nulovou kapacitu"},
    // W = U² · (C · 0.5), in this order of operations
    {&VoltageUnits, &CapacityUnits, [](double u, double c) { return std::pow(u, 2.0) * (c * 0.5); },
     "V kondenzátoru je energie ", " J"},
}};

} // namespace dielektra
