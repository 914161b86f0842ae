#pragma once

#include "core/calculate.h"

#include <array>
#include <cstddef>

namespace dielektra {

enum PageIndex : std::size_t { Capacity, Charge, Voltage, TimeConstant, Energy };

// In tab order, indexed by PageIndex.
extern const std::array<CalcPage, 5> CalcPages;

} // namespace dielektra
