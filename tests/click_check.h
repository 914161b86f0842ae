#pragma once

// One click of a page's button on a fresh fake page, and what every click
// must keep: it ends in exactly one refusal that changed nothing but the
// rewrites, or in a finite result that reads back to the formula's value on
// the inputs as read. Shared by the random property test and the fuzz target.

#include "core/numbers.h"
#include "core/pages.h"
#include "fake_page.h"

#include <cmath>
#include <string>
#include <string_view>

namespace clickcheck {

struct ClickInputs {
    std::string a;
    std::string b;
    std::string unitA;
    std::string unitB;
};

struct ClickReport {
    dielektra::Outcome outcome;
    std::string violation; // empty when every invariant holds
};

// What a field must hold after the click when only the negative rewrite
// touched it.
inline std::string Rewritten(const std::string &typed)
{
    const auto value = dielektra::FieldValue(typed);
    return value && *value < 0.0F ? dielektra::SingleToText(-*value) : typed;
}

// A rewrite keeps the typed magnitude to 7 significant digits: half a unit
// of the 7th digit (5e-7 relative) plus the single-precision rounding of the
// read-back (2^-24 relative).
inline bool RewriteReadsBack(const std::string &typed)
{
    const std::string text = Rewritten(typed);
    if (text == typed)
        return true;
    const auto original = dielektra::FieldValue(typed);
    const auto back = dielektra::FieldValue(text);
    if (!original || !back)
        return false;
    const double magnitude = std::fabs(static_cast<double>(*original));
    return std::fabs(static_cast<double>(*back) - magnitude) <= 6e-7 * magnitude;
}

namespace detail {

inline std::string FieldText(const FakePage &fake, std::string_view field)
{
    const auto found = fake.texts.find(field);
    return found == fake.texts.end() ? std::string() : found->second;
}

// The fields must hold expectedA and B's rewrite, and every rewrite must read
// back; too-large refusals rewrite nothing, so they pass the typed texts.
inline std::string FieldsViolation(const dielektra::CalcPage &page, const ClickInputs &in,
                                   const FakePage &fake, const std::string &expectedA,
                                   const std::string &expectedB)
{
    const std::string afterA = FieldText(fake, page.a.field);
    const std::string afterB = FieldText(fake, page.b.field);
    const std::string fields = "fields now \"" + afterA + "\" and \"" + afterB + "\"";
    if (afterA != expectedA || afterB != expectedB)
        return "the fields are wrong: " + fields;
    if (!RewriteReadsBack(in.a) || !RewriteReadsBack(in.b))
        return "a rewritten field does not read back: " + fields;
    return {};
}

inline std::string RefusalViolation(const dielektra::CalcPage &page, const ClickInputs &in,
                                    dielektra::Outcome outcome, const FakePage &fake,
                                    const dielektra::CalcQuantities &before,
                                    const dielektra::CalcQuantities &after)
{
    using dielektra::Outcome;
    if (fake.boxes.size() != 1)
        return "a refusal showed " + std::to_string(fake.boxes.size()) + " boxes";
    if (!fake.captions.empty() || !fake.visible.empty())
        return "a refusal changed a caption or a label's visibility";
    if (after.a != before.a || after.b != before.b || after.result != before.result)
        return "a refusal changed the quantities";
    if (outcome == Outcome::RefusedTooLarge)
        return FieldsViolation(page, in, fake, in.a, in.b);
    const bool wroteOne = page.capacityOnly != nullptr && outcome == Outcome::RefusedZero;
    return FieldsViolation(page, in, fake, wroteOne ? "1" : Rewritten(in.a), Rewritten(in.b));
}

inline std::string ResultViolation(const dielektra::CalcPage &page, const ClickInputs &in,
                                   const FakePage &fake, const dielektra::CalcQuantities &after)
{
    using namespace dielektra;
    if (!fake.boxes.empty())
        return "a result came with a box: " + fake.boxes.front().prompt;
    if (auto wrong = FieldsViolation(page, in, fake, Rewritten(in.a), Rewritten(in.b));
        !wrong.empty())
        return wrong;

    const auto found = fake.captions.find(page.resultLabel);
    const std::string caption = found == fake.captions.end() ? std::string() : found->second;
    if (caption.find("inf") != std::string::npos || caption.find("nan") != std::string::npos)
        return "the result is not finite: " + caption;
    if (caption.rfind(page.prefix, 0) != 0 ||
        caption.size() <= page.prefix.size() + page.suffix.size() ||
        caption.substr(caption.size() - page.suffix.size()) != page.suffix)
        return "the sentence lacks its prefix, number or suffix: " + caption;

    const std::string written = caption.substr(
        page.prefix.size(), caption.size() - page.prefix.size() - page.suffix.size());
    std::string number = written;
    if (const auto comma = number.find(','); comma != std::string::npos)
        number[comma] = '.';
    const auto shown = NumberFromText(number);
    if (!shown || DoubleToText(*shown, ",") != written)
        return "the result does not read back: " + caption;

    const auto valueA = FieldValue(FieldText(fake, page.a.field));
    const auto valueB = FieldValue(FieldText(fake, page.b.field));
    const auto factorA = FactorOf(*page.a.family, in.unitA);
    const auto factorB = FactorOf(*page.b.family, in.unitB);
    if (!valueA || !valueB || !factorA || !factorB)
        return "a result from a field beyond range or an unknown unit";
    const double expected = page.formula(static_cast<double>(*valueA) * *factorA,
                                         static_cast<double>(*valueB) * *factorB);
    if (!std::isfinite(expected) || after.result != expected)
        return "the result is not the formula's value on the inputs as read";
    // 15 significant digits.
    if (std::fabs(*shown - expected) > 1e-14 * std::fabs(expected))
        return "the sentence shows " + written + ", not the formula's value";
    return {};
}

} // namespace detail

inline ClickReport ClickAndCheck(const dielektra::CalcPage &page, const ClickInputs &in)
{
    FakePage fake;
    fake.texts = {{std::string(page.a.field), in.a},
                  {std::string(page.a.unitList), in.unitA},
                  {std::string(page.b.field), in.b},
                  {std::string(page.b.unitList), in.unitB}};
    const dielektra::CalcQuantities before{4.0, 5.0, 6.0};
    dielektra::CalcQuantities after = before;

    ClickReport report{dielektra::CalculatePage(page, after, fake, ","), {}};
    report.violation =
        report.outcome == dielektra::Outcome::Shown
            ? detail::ResultViolation(page, in, fake, after)
            : detail::RefusalViolation(page, in, report.outcome, fake, before, after);
    return report;
}

} // namespace clickcheck
