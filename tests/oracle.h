#pragma once

// What one click of a calculation page must do, worked out without the core:
// the unit labels, factors, pages, formulas, sentences and prompts are written
// out here once, and typed numbers are read by a reader of this file's own.
// mismatch() runs the core on the same click and compares. Shared by the core
// tests and the fuzz target.

#include "core/numbers.h"
#include "core/pages.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <tuple>

namespace oracle {

using SV = std::string_view;

// Tera to pico, each at its index in the unit list; "?" is the family's
// letter: V (volt), C (coulomb), F (farad), O (ohm).
inline const char *const Labels[] = {"T?", "M?", "K?", "?", "m?.", "u?", "n?", "p?"};
inline const double Factors[] = {1e12, 1e6, 1e3, 1, 1e-3, 1e-6, 1e-9, 1e-12};

// letters: the families of the upper and the lower row.
struct Page {
    const char *letters, *prefix, *suffix;
    double (*formula)(double upper, double lower);
};

// In tab order.
inline const Page Pages[] = {
    {"VC", "Kondenzátor má kapacitu ", " F", [](double u, double q) { return q / u; }},
    {"VF", "V kondenzátoru je náboj ", " C", [](double u, double c) { return c * u; }},
    {"CF", "Kondenzátor má napětí ", " V", [](double q, double c) { return q / c; }},
    {"FO", "Časová konstanta kondenzátoru je ", " sec.", [](double c, double r) { return r * c; }},
    {"VF", "V kondenzátoru je energie ", " J",
     [](double u, double c) { return std::pow(u, 2.0) * (c * 0.5); }},
};
inline constexpr std::size_t TimeConstant = 3;

// Box lines of the log (see Fake).
inline const char *const Zero = "box Zadaná hodnota nemůže být 0";
inline const char *const ZeroCapacity = "box Kondenzátor nemůže mít nulovou kapacitu";
inline const char *const TooLarge = "box Zadaná hodnota je příliš velká";

inline std::string label(char letter, std::size_t position)
{
    std::string spelling = Labels[position];
    return spelling.replace(spelling.find('?'), 1, 1, letter);
}

inline std::string unknownUnit(char letter)
{
    std::string line = "box Zadaná jednotka není platná. Platné jednotky: ";
    for (std::size_t position = 0; position < 8; ++position)
        line.append(position > 0 ? ", " : "").append(label(letter, position));
    return line;
}

inline std::optional<double> factor(char letter, SV unit)
{
    for (std::size_t position = 0; position < 8; ++position)
        if (label(letter, position) == unit)
            return Factors[position];
    return std::nullopt;
}

// The leading number: blanks and tabs, one sign, digits with an optional "."
// fraction (a digit at least), an optional exponent with digits; nothing
// else: strtod (in the C locale) reads the rest of the rule from a copy that
// holds no other character. 0 without a number; empty beyond the double range.
inline std::optional<double> number(SV text)
{
    std::string clean(text.substr(std::min(text.find_first_not_of(" \t"), text.size())));
    clean.resize(std::min(clean.find_first_not_of("+-.0123456789Ee"), clean.size()));
    const double value = std::strtod(clean.c_str(), nullptr);
    return std::isinf(value) ? std::nullopt : std::optional(value);
}

// Rounded to single precision; empty when that overflows.
inline std::optional<float> single(SV text)
{
    const auto value = static_cast<float>(number(text).value_or(INFINITY));
    return std::isinf(value) ? std::nullopt : std::optional(value);
}

// With that many significant digits and that decimal separator; never "-0".
inline std::string written(double value, int digits, SV separator)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", digits, value == 0 ? 0.0 : value);
    std::string result = buffer;
    const auto point = result.find('.');
    return point == std::string::npos ? result : result.replace(point, 1, separator);
}

struct Click {
    std::string a, unitA, b, unitB;
};

// What a page saw of a click, line by line: " | upper=2 | result=…".
using Log = std::string;

inline Log expected(std::size_t page, Click in, SV separator)
{
    const Page &p = Pages[page];
    Log log;
    const auto end = [&log](std::initializer_list<std::string> lines) {
        for (const std::string &line : lines)
            log += " | " + line;
        return log;
    };
    const auto singleA = single(in.a);
    const auto singleB = single(in.b);
    if (!singleA || !singleB)
        return end({TooLarge});
    float a = *singleA;
    float b = *singleB;
    // A negative field is written back as its absolute value, 7 digits and
    // ".", and read again.
    for (auto [row, field, value] :
         {std::tuple("upper", &in.a, &a), std::tuple("lower", &in.b, &b)})
        if (*value < 0) {
            *field = written(-*value, 7, ".");
            end({row + std::string("=") + *field});
            *value = single(*field).value_or(NAN);
        }
    // The time-constant page tests its capacity alone, then writes "1" into it.
    if (page == TimeConstant && a == 0)
        return end({ZeroCapacity, "upper=1"});
    if (page != TimeConstant && (a == 0 || b == 0))
        return end({Zero});
    const auto factorA = factor(p.letters[0], in.unitA);
    const auto factorB = factor(p.letters[1], in.unitB);
    if (!factorA || !factorB) // the upper list is named when both are wrong
        return end({unknownUnit(p.letters[factorA ? 1 : 0]),
                    std::string("focus ") + (factorA ? "lower" : "upper")});
    if (page == TimeConstant)
        end({b == 0 ? "note=shown" : "note=hidden"});
    const double result = p.formula(a * *factorA, b * *factorB); // in double precision
    return end({"result=" + (p.prefix + written(result, 15, separator)) + p.suffix});
}

// A page that logs what a click does to it; every box must be an input error
// ("Chyba zadání", critical-error icon and one OK button).
struct Fake : dielektra::PageControls {
    std::string fields[2], units[2]; // upper, lower
    Log log;

    static const char *name(dielektra::Row row)
    {
        return row == dielektra::Row::Upper ? "upper" : "lower";
    }
    static std::size_t index(dielektra::Row row) { return static_cast<std::size_t>(row); }

    std::string fieldText(dielektra::Row row) const override { return fields[index(row)]; }
    void setFieldText(dielektra::Row row, const std::string &to) override
    {
        log += " | " + std::string(name(row)) + "=" + (fields[index(row)] = to);
    }
    std::string unitText(dielektra::Row row) const override { return units[index(row)]; }
    void focusUnitList(dielektra::Row row) override { log += " | focus " + std::string(name(row)); }
    void showResult(const std::string &sentence) override { log += " | result=" + sentence; }
    void showNote(bool shown) override { log += shown ? " | note=shown" : " | note=hidden"; }
    void showMessage(SV prompt, dielektra::MessageIcon icon, SV title) override
    {
        const bool inputError = icon == dielektra::MessageIcon::Critical && title == "Chyba zadání";
        log += (inputError ? " | box " : " | wrong box ") + std::string(prompt);
    }
};

// Empty when the core does on this click what expected() says; otherwise both.
inline std::string mismatch(std::size_t page, const Click &in, SV separator)
{
    Fake core;
    core.fields[0] = in.a;
    core.fields[1] = in.b;
    core.units[0] = in.unitA;
    core.units[1] = in.unitB;
    calculate(dielektra::CalcPages.at(page), core, separator);
    const Log want = expected(page, in, separator);
    return core.log == want ? std::string() : "core: " + core.log + "\nwant: " + want;
}

} // namespace oracle
