#pragma once

// What one click of a calculation page must do, worked out without the core:
// the unit labels, factors, pages, formulas, sentences and prompts are written
// out here once, and typed numbers are read by a reader of this file's own.
// Mismatch() runs the core on the same click and compares. Shared by the core
// tests and the fuzz target.

#include "core/numbers.h"
#include "core/pages.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <tuple>
#include <vector>

namespace oracle {

using dielektra::Outcome;
using SV = std::string_view;

// Tera to pico, each at its index in the unit list; "?" is the family's
// letter: V (volt), C (coulomb), F (farad), O (ohm).
inline const char *const Labels[] = {"T?", "M?", "K?", "?", "m?.", "u?", "n?", "p?"};
inline const double Factors[] = {1e12, 1e6, 1e3, 1, 1e-3, 1e-6, 1e-9, 1e-12};

struct Page {
    const char *fieldA, *unitA, *fieldB, *unitB, *letters, *label, *prefix, *suffix;
    double (*formula)(double a, double b);
};

// In tab order; field A is the upper row.
inline const Page Pages[] = {
    {"Text1", "Combo1", "Text2", "Combo2", "VC", "Label4", "Kondenzátor má kapacitu ", " F",
     [](double u, double q) { return q / u; }},
    {"Text3", "Combo3", "Text4", "Combo4", "VF", "Label12", "V kondenzátoru je náboj ", " C",
     [](double u, double c) { return c * u; }},
    {"Text5", "Combo5", "Text6", "Combo6", "CF", "Label20", "Kondenzátor má napětí ", " V",
     [](double q, double c) { return q / c; }},
    {"Text8", "Combo8", "Text7", "Combo7", "FO", "Label26", "Časová konstanta kondenzátoru je ",
     " sec.", [](double c, double r) { return r * c; }},
    {"Text10", "Combo10", "Text9", "Combo9", "VF", "Label37", "V kondenzátoru je energie ", " J",
     [](double u, double c) { return std::pow(u, 2.0) * (c * 0.5); }},
};
inline constexpr std::size_t TimeConstant = 3;

// Box lines of the log (see Fake).
inline const char *const Zero = "box Zadaná hodnota nemůže být 0";
inline const char *const ZeroCapacity = "box Kondenzátor nemůže mít nulovou kapacitu";
inline const char *const TooLarge = "box Zadaná hodnota je příliš velká";

inline std::string Label(char letter, std::size_t position)
{
    std::string label = Labels[position];
    return label.replace(label.find('?'), 1, 1, letter);
}

inline std::string UnknownUnit(char letter)
{
    std::string line = "box Zadaná jednotka není platná. Platné jednotky: ";
    for (std::size_t position = 0; position < 8; ++position)
        line.append(position > 0 ? ", " : "").append(Label(letter, position));
    return line;
}

inline std::optional<double> Factor(char letter, SV unit)
{
    for (std::size_t position = 0; position < 8; ++position)
        if (Label(letter, position) == unit)
            return Factors[position];
    return std::nullopt;
}

inline std::string Caption(const Page &page, SV number)
{
    return std::string(page.label) + "=" + page.prefix + std::string(number) + page.suffix;
}

// The leading number: blanks and tabs, one sign, digits with an optional "."
// fraction (a digit at least), an optional exponent with digits; nothing
// else: strtod (in the C locale) reads the rest of the rule from a copy that
// holds no other character. 0 without a number; empty beyond the double range.
inline std::optional<double> Number(SV text)
{
    std::string clean(text.substr(std::min(text.find_first_not_of(" \t"), text.size())));
    clean.resize(std::min(clean.find_first_not_of("+-.0123456789Ee"), clean.size()));
    const double value = std::strtod(clean.c_str(), nullptr);
    return std::isinf(value) ? std::nullopt : std::optional(value);
}

// Rounded to single precision; empty when that overflows.
inline std::optional<float> Single(SV text)
{
    const auto value = static_cast<float>(Number(text).value_or(INFINITY));
    return std::isinf(value) ? std::nullopt : std::optional(value);
}

// With that many significant digits and that decimal separator; never "-0".
inline std::string Text(double value, int digits, SV separator)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*G", digits, value == 0 ? 0.0 : value);
    std::string result = text;
    const auto point = result.find('.');
    return point == std::string::npos ? result : result.replace(point, 1, separator);
}

struct Click {
    std::string a, unitA, b, unitB;
};

struct Result {
    Outcome outcome = Outcome::Shown;
    dielektra::CalcQuantities quantities;
    std::vector<std::string> log; // what the page saw, in order
};

inline Result Expected(std::size_t page, Click in, SV separator)
{
    const Page &p = Pages[page];
    Result r;
    const auto end = [&r](Outcome outcome, std::initializer_list<std::string> lines) {
        r.outcome = outcome;
        r.log.insert(r.log.end(), lines);
        return r;
    };
    const auto singleA = Single(in.a);
    const auto singleB = Single(in.b);
    if (!singleA || !singleB)
        return end(Outcome::RefusedTooLarge, {TooLarge});
    float a = *singleA;
    float b = *singleB;
    // A negative field is written back as its absolute value, 7 digits and
    // ".", and read again.
    for (auto [field, text, value] :
         {std::tuple(p.fieldA, &in.a, &a), std::tuple(p.fieldB, &in.b, &b)})
        if (*value < 0) {
            *text = Text(-*value, 7, ".");
            r.log.emplace_back(field).append("=").append(*text);
            *value = Single(*text).value_or(NAN);
        }
    // The time-constant page tests its capacity alone, then writes "1" into it.
    if (page == TimeConstant && a == 0)
        return end(Outcome::RefusedZero, {ZeroCapacity, "Text8=1"});
    if (page != TimeConstant && (a == 0 || b == 0))
        return end(Outcome::RefusedZero, {Zero});
    const auto factorA = Factor(p.letters[0], in.unitA);
    const auto factorB = Factor(p.letters[1], in.unitB);
    if (!factorA || !factorB) // the upper list is named when both are wrong
        return end(Outcome::RefusedUnit, {UnknownUnit(p.letters[factorA ? 1 : 0]),
                                          std::string("focus ") + (factorA ? p.unitB : p.unitA)});
    if (page == TimeConstant)
        r.log.emplace_back(b == 0 ? "Label35=shown" : "Label35=hidden");
    const double result = p.formula(a * *factorA, b * *factorB); // in double precision
    return end(Outcome::Shown, {Caption(p, Text(result, 15, separator))});
}

// A page that logs what a click does to it; every box must be an input error
// ("Chyba zadání", critical-error icon and one OK button: style 16).
struct Fake : dielektra::PageOps, Result {
    std::map<std::string, std::string> texts; // fields and unit lists

    std::string text(SV name) const override { return texts.at(std::string(name)); }
    std::string unitText(SV name) const override { return text(name); }
    void setText(SV name, const std::string &to) override
    {
        add(name, texts.at(std::string(name)) = to);
    }
    void setCaption(SV name, const std::string &to) override { add(name, to); }
    void setVisible(SV name, bool shown) override { add(name, shown ? "shown" : "hidden"); }
    void setFocus(SV name) override { log.emplace_back("focus ").append(name); }
    void msgBox(SV prompt, dielektra::MsgStyle style, SV title) override
    {
        const bool inputError = static_cast<int>(style) == 16 && title == "Chyba zadání";
        log.emplace_back(inputError ? "box " : "wrong box ").append(prompt);
    }
    void add(SV name, SV value) { log.emplace_back(name).append("=").append(value); }
};

// The result's outcome and log in one line.
inline std::string Joined(const Result &r)
{
    std::string joined = std::to_string(static_cast<int>(r.outcome));
    for (const std::string &line : r.log)
        joined.append(" | ").append(line);
    return joined;
}

// Empty when the core does on this click what Expected() says; otherwise both.
inline std::string Mismatch(std::size_t page, const Click &in, SV separator)
{
    const Page &p = Pages[page];
    Fake core;
    core.texts = {{p.fieldA, in.a}, {p.unitA, in.unitA}, {p.fieldB, in.b}, {p.unitB, in.unitB}};
    core.outcome = CalculatePage(dielektra::CalcPages.at(page), core.quantities, core, separator);
    const std::string have = Joined(core);
    const std::string want = Joined(Expected(page, in, separator));
    return have == want ? std::string() : "core: " + have + "\nwant: " + want;
}

} // namespace oracle
