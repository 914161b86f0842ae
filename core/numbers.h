#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dielektra {

// The value of a typed field: its leading number rounded to single precision.
// Empty when the number is beyond the single-precision range.
std::optional<float> fieldValue(std::string_view text);

// At most 7 significant digits and "." as the decimal separator, so that
// fieldValue reads the text back.
std::string singleToText(float value);

// At most 15 significant digits with the caller's decimal separator.
std::string doubleToText(double value, std::string_view decimalSeparator);

} // namespace dielektra
