#include "core/pages.h"

#include <cmath>

namespace dielektra {

namespace {

const CapacityOnlyZeroTest timeConstantZeroTest{"Kondenzátor nemůže mít nulovou kapacitu",
                                                "Label35"};

} // namespace

const std::array<CalcPage, 5> CalcPages{{
    // C = Q / U
    {"Command1",
     {"Text1", "Combo1", &VoltageUnits},
     {"Text2", "Combo2", &ChargeUnits},
     [](double u, double q) { return q / u; },
     "Label4",
     "Kondenzátor má kapacitu ",
     " F"},
    // Q = C · U
    {"Command2",
     {"Text3", "Combo3", &VoltageUnits},
     {"Text4", "Combo4", &CapacityUnits},
     [](double u, double c) { return c * u; },
     "Label12",
     "V kondenzátoru je náboj ",
     " C"},
    // U = Q / C
    {"Command3",
     {"Text5", "Combo5", &ChargeUnits},
     {"Text6", "Combo6", &CapacityUnits},
     [](double q, double c) { return q / c; },
     "Label20",
     "Kondenzátor má napětí ",
     " V"},
    // t = R · C
    {"Command4",
     {"Text8", "Combo8", &CapacityUnits},
     {"Text7", "Combo7", &ResistanceUnits},
     [](double c, double r) { return r * c; },
     "Label26",
     "Časová konstanta kondenzátoru je ",
     " sec.",
     &timeConstantZeroTest},
    // W = U² · (C · 0.5), in this order of operations
    {"Command5",
     {"Text10", "Combo10", &VoltageUnits},
     {"Text9", "Combo9", &CapacityUnits},
     [](double u, double c) { return std::pow(u, 2.0) * (c * 0.5); },
     "Label37",
     "V kondenzátoru je energie ",
     " J"},
}};

} // namespace dielektra
