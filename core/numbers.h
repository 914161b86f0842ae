#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dielektra {

// Reads the number at the start of a text, whatever the process locale:
// leading blanks, an optional sign, digits with an optional "." and
// fraction, an optional exponent ("E" or "e", optional sign, digits).
// Anything after the number is ignored; a text that does not begin with a
// number gives 0, and so does a number too small for a double. Never reads
// "inf", "nan", hexadecimal or a comma. Empty when the number lies beyond the
// double range.
std::optional<double> numberFromText(std::string_view text);

// The nearest single-precision value; empty when that rounding overflows.
std::optional<float> toSingle(double value);

// The value of a typed field: its leading number rounded to single precision.
// Empty when the number is beyond the single-precision range.
std::optional<float> fieldValue(std::string_view text);

// At most 7 significant digits and "." as the decimal separator, so that
// fieldValue reads the text back.
std::string singleToText(float value);

// At most 15 significant digits with the caller's decimal separator.
std::string doubleToText(double value, std::string_view decimalSeparator);

} // namespace dielektra
