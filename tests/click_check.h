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

inline ClickReport ClickAndCheck(const dielektra::CalcPage &page, const ClickInputs &in)
{
    using namespace dielektra;
    FakePage fake;
    fake.texts = {{std::string(page.a.field), in.a},
                  {std::string(page.a.unitList), in.unitA},
                  {std::string(page.b.field), in.b},
                  {std::string(page.b.unitList), in.unitB}};
    const CalcQuantities before{4.0, 5.0, 6.0};
    CalcQuantities quantities = before;

    ClickReport report{CalculatePage(page, quantities, fake, ","), {}};
    const std::string afterA = fake.texts[std::string(page.a.field)];
    const std::string afterB = fake.texts[std::string(page.b.field)];
    const auto fail = [&report](const std::string &what) {
        report.violation = what;
        return report;
    };
    const auto fieldsAre = [&](const std::string &a, const std::string &b) {
        return afterA == a && afterB == b;
    };
    const std::string fields = "fields now \"" + afterA + "\" and \"" + afterB + "\"";

    if (report.outcome != Outcome::Shown) {
        if (fake.boxes.size() != 1)
            return fail("a refusal showed " + std::to_string(fake.boxes.size()) + " boxes");
        if (!fake.captions.empty() || !fake.visible.empty())
            return fail("a refusal changed a caption or a label's visibility");
        if (quantities.a != before.a || quantities.b != before.b ||
            quantities.result != before.result)
            return fail("a refusal changed the quantities");
        if (report.outcome == Outcome::RefusedTooLarge) {
            if (!fieldsAre(in.a, in.b))
                return fail("the too-large refusal rewrote a field: " + fields);
            return report;
        }
        const bool wroteOne =
            page.capacityOnly != nullptr && report.outcome == Outcome::RefusedZero;
        if (!fieldsAre(wroteOne ? "1" : Rewritten(in.a), Rewritten(in.b)))
            return fail("a refusal left the fields wrong: " + fields);
        if (!RewriteReadsBack(in.a) || !RewriteReadsBack(in.b))
            return fail("a rewritten field does not read back: " + fields);
        return report;
    }

    if (!fake.boxes.empty())
        return fail("a result came with a box: " + fake.boxes.front().prompt);
    if (!fieldsAre(Rewritten(in.a), Rewritten(in.b)))
        return fail("a result left the fields wrong: " + fields);
    if (!RewriteReadsBack(in.a) || !RewriteReadsBack(in.b))
        return fail("a rewritten field does not read back: " + fields);

    const std::string caption = fake.captions[std::string(page.resultLabel)];
    if (caption.find("inf") != std::string::npos || caption.find("nan") != std::string::npos)
        return fail("the result is not finite: " + caption);
    if (caption.rfind(page.prefix, 0) != 0 ||
        caption.size() <= page.prefix.size() + page.suffix.size() ||
        caption.substr(caption.size() - page.suffix.size()) != page.suffix)
        return fail("the sentence lacks its prefix, number or suffix: " + caption);

    const std::string written = caption.substr(
        page.prefix.size(), caption.size() - page.prefix.size() - page.suffix.size());
    std::string number = written;
    if (const auto comma = number.find(','); comma != std::string::npos)
        number[comma] = '.';
    const auto shown = NumberFromText(number);
    if (!shown || DoubleToText(*shown, ",") != written)
        return fail("the result does not read back: " + caption);

    const auto valueA = FieldValue(afterA);
    const auto valueB = FieldValue(afterB);
    const auto factorA = FactorOf(*page.a.family, in.unitA);
    const auto factorB = FactorOf(*page.b.family, in.unitB);
    if (!valueA || !valueB || !factorA || !factorB)
        return fail("a result from a field beyond range or an unknown unit");
    const double expected = page.formula(static_cast<double>(*valueA) * *factorA,
                                         static_cast<double>(*valueB) * *factorB);
    if (!std::isfinite(expected) || quantities.result != expected)
        return fail("the result is not the formula's value on the inputs as read");
    // 15 significant digits.
    if (std::fabs(*shown - expected) > 1e-14 * std::fabs(expected))
        return fail("the sentence shows " + written + ", not the formula's value");
    return report;
}

} // namespace clickcheck
