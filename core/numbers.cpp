#include "core/numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace dielektra {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t skipDigits(std::string_view text, std::size_t i)
{
    while (i < text.size() && isDigit(text[i]))
        ++i;
    return i;
}

// Decimal exponent of the leading significant digit of digits "int.frac"
// times 10^exponent; only its sign matters, to tell overflow from underflow.
long long leadingExponent(std::string_view intDigits, std::string_view fracDigits,
                          long long exponent)
{
    const auto firstInt = intDigits.find_first_not_of('0');
    if (firstInt != std::string_view::npos)
        return static_cast<long long>(intDigits.size() - firstInt) - 1 + exponent;
    const auto firstFrac = fracDigits.find_first_not_of('0');
    return exponent - static_cast<long long>(firstFrac) - 1;
}

// The exponent ("E" or "e", an optional sign, digits) that starts at text[i];
// no digits means no exponent.
struct Exponent {
    std::string_view digits;
    bool negative = false;
    long long value = 0;
};

Exponent readExponent(std::string_view text, std::size_t i)
{
    Exponent exponent;
    if (i >= text.size() || (text[i] != 'E' && text[i] != 'e'))
        return exponent;
    std::size_t j = i + 1;
    const bool negative = j < text.size() && text[j] == '-';
    if (j < text.size() && (text[j] == '+' || text[j] == '-'))
        ++j;
    const std::size_t digitsEnd = skipDigits(text, j);
    if (digitsEnd == j)
        return exponent;
    exponent.digits = text.substr(j, digitsEnd - j);
    exponent.negative = negative;
    // Saturates far beyond any double's exponent.
    for (const char c : exponent.digits)
        exponent.value = std::min(exponent.value * 10 + (c - '0'), 1'000'000'000LL);
    if (negative)
        exponent.value = -exponent.value;
    return exponent;
}

// Classic %G: exponent form below 1E-4 or from 10^precision up, with "E",
// a sign and at least two exponent digits; no trailing zeros.
std::string generalFormat(double value, int precision)
{
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, precision);
    std::string text(buffer.data(), result.ptr);
    for (char &c : text)
        if (c == 'e')
            c = 'E';
    return text;
}

// Reads the number at the start of a text, whatever the process locale:
// leading blanks, an optional sign, digits with an optional "." and
// fraction, an optional exponent ("E" or "e", optional sign, digits).
// Anything after the number is ignored; a text that does not begin with a
// number gives 0, and so does a number too small for a double. Never reads
// "inf", "nan", hexadecimal or a comma. Empty when the number lies beyond the
// double range.
std::optional<double> numberFromText(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t intBegin = i;
    i = skipDigits(text, i);
    const std::string_view intDigits = text.substr(intBegin, i - intBegin);
    std::string_view fracDigits;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fracBegin = i + 1;
        i = skipDigits(text, fracBegin);
        fracDigits = text.substr(fracBegin, i - fracBegin);
    }
    if (intDigits.empty() && fracDigits.empty())
        return 0.0;

    const Exponent exponent = readExponent(text, i);

    std::string normalised;
    normalised.reserve(intDigits.size() + fracDigits.size() + exponent.digits.size() + 4);
    normalised.append(intDigits.empty() ? std::string_view("0") : intDigits);
    normalised.push_back('.');
    normalised.append(fracDigits.empty() ? std::string_view("0") : fracDigits);
    if (!exponent.digits.empty()) {
        normalised.push_back('e');
        if (exponent.negative)
            normalised.push_back('-');
        normalised.append(exponent.digits);
    }

    double magnitude = 0.0;
    const auto result = std::from_chars(normalised.data(), normalised.data() + normalised.size(),
                                        magnitude, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        if (leadingExponent(intDigits, fracDigits, exponent.value) >= 0)
            return std::nullopt;
        magnitude = 0.0;
    }
    return negative ? -magnitude : magnitude;
}

// The nearest single-precision value; empty when that rounding overflows.
std::optional<float> toSingle(double value)
{
    constexpr float largest = std::numeric_limits<float>::max();
    // Halfway between the largest single and 2^128: from here on the
    // rounding goes to infinity.
    constexpr double overflowsFrom = 0x1.ffffffp127;
    if (!std::isfinite(value) || std::fabs(value) >= overflowsFrom)
        return std::nullopt;
    if (std::fabs(value) > static_cast<double>(largest))
        return std::copysign(largest, static_cast<float>(std::signbit(value) ? -1 : 1));
    return static_cast<float>(value);
}

} // namespace

std::optional<float> fieldValue(std::string_view text)
{
    const auto number = numberFromText(text);
    if (!number)
        return std::nullopt;
    return toSingle(*number);
}

std::string singleToText(float value)
{
    return generalFormat(static_cast<double>(value), 7);
}

std::string doubleToText(double value, std::string_view decimalSeparator)
{
    // A zero result is written "0", never "-0".
    std::string text = generalFormat(value == 0.0 ? 0.0 : value, 15);
    const auto point = text.find('.');
    if (point != std::string::npos)
        text.replace(point, 1, decimalSeparator);
    return text;
}

} // namespace dielektra
