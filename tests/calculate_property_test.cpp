// Thousands of random clicks: every one must end either in exactly one refusal
// that changed nothing but the rewrites, or in a finite result that reads back
// to the formula's value on the inputs as read.
#include "core/numbers.h"
#include "core/pages.h"
#include "fake_page.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

using namespace dielektra;

namespace {

class RandomInputs {
public:
    explicit RandomInputs(std::uint32_t seed) : engine_(seed) {}

    std::string field()
    {
        switch (pick(10)) {
        case 0:
            return "";
        case 1:
            return pick(2) ? "0" : "-0";
        case 2:
            return junk();
        case 3:
            return pick(2) ? "1E39" : "-3.5e38";
        case 4:
            return std::string(1 + pick(400), '9');
        case 5:
            return number() + junk();
        default:
            return number();
        }
    }

    std::string unit(const UnitFamily &family)
    {
        if (pick(8) != 0)
            return std::string(family.labels[pick(8)].text);
        static const char *const wrong[] = {"", "kV", "mF", "v", " V", "KC", "uO ", "µF"};
        return wrong[pick(8)];
    }

private:
    std::size_t pick(std::size_t n)
    {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(engine_);
    }

    std::string number()
    {
        const double mantissa = std::uniform_real_distribution<double>(-10.0, 10.0)(engine_);
        const int exponent = std::uniform_int_distribution<int>(-50, 40)(engine_);
        std::string text = std::to_string(mantissa);
        if (pick(2))
            text += (pick(2) ? "E" : "e") + std::to_string(exponent);
        if (pick(4) == 0)
            text = " " + text;
        return text;
    }

    std::string junk()
    {
        static const char *const parts[] = {"abc", ",5", ".",   "e",   "+",   "-",
                                            " ",   "x1", "inf", "nan", "0x1F"};
        return parts[pick(11)];
    }

    std::mt19937 engine_;
};

std::string rewritten(const std::string &typed)
{
    const auto value = FieldValue(typed);
    return value && *value < 0.0F ? SingleToText(-*value) : typed;
}

TEST(RandomClicks, EndInOneRefusalOrAFiniteResultThatReadsBack)
{
    RandomInputs random(20261206U);
    int shown = 0;
    for (int click = 0; click < 20000; ++click) {
        const CalcPage &page = CalcPages[static_cast<std::size_t>(click) % CalcPages.size()];
        FakePage fake;
        const std::string a = random.field();
        const std::string b = random.field();
        const std::string unitA = random.unit(*page.a.family);
        const std::string unitB = random.unit(*page.b.family);
        fake.texts = {{std::string(page.a.field), a},
                      {std::string(page.a.unitList), unitA},
                      {std::string(page.b.field), b},
                      {std::string(page.b.unitList), unitB}};
        const CalcQuantities before{4.0, 5.0, 6.0};
        CalcQuantities quantities = before;
        SCOPED_TRACE(testing::Message() << "click " << click << ": A=\"" << a << "\" " << unitA
                                        << ", B=\"" << b << "\" " << unitB);

        const Outcome outcome = CalculatePage(page, quantities, fake, ",");
        const std::string afterA = fake.texts[std::string(page.a.field)];
        const std::string afterB = fake.texts[std::string(page.b.field)];

        if (outcome != Outcome::Shown) {
            ASSERT_EQ(fake.boxes.size(), 1U);
            ASSERT_TRUE(fake.captions.empty());
            ASSERT_TRUE(fake.visible.empty());
            ASSERT_EQ(quantities.result, before.result);
            ASSERT_EQ(quantities.a, before.a);
            if (outcome == Outcome::RefusedTooLarge) {
                ASSERT_EQ(afterA, a);
                ASSERT_EQ(afterB, b);
            } else {
                const bool wroteOne =
                    page.capacityOnly != nullptr && outcome == Outcome::RefusedZero;
                ASSERT_EQ(afterA, wroteOne ? "1" : rewritten(a));
                ASSERT_EQ(afterB, rewritten(b));
            }
            continue;
        }

        ++shown;
        ASSERT_TRUE(fake.boxes.empty());
        ASSERT_EQ(afterA, rewritten(a));
        ASSERT_EQ(afterB, rewritten(b));
        const std::string caption = fake.captions[std::string(page.resultLabel)];
        ASSERT_EQ(caption.find("inf"), std::string::npos);
        ASSERT_EQ(caption.find("nan"), std::string::npos);
        ASSERT_EQ(caption.rfind(page.prefix, 0), 0U);
        ASSERT_GT(caption.size(), page.prefix.size() + page.suffix.size());
        ASSERT_EQ(caption.substr(caption.size() - page.suffix.size()), page.suffix);

        std::string number = caption.substr(
            page.prefix.size(), caption.size() - page.prefix.size() - page.suffix.size());
        if (const auto comma = number.find(','); comma != std::string::npos)
            number[comma] = '.';
        const auto shownValue = NumberFromText(number);
        ASSERT_TRUE(shownValue.has_value());
        ASSERT_EQ(DoubleToText(*shownValue, ","),
                  caption.substr(page.prefix.size(), number.size()));

        const double expected = page.formula(
            static_cast<double>(*FieldValue(afterA)) * *FactorOf(*page.a.family, unitA),
            static_cast<double>(*FieldValue(afterB)) * *FactorOf(*page.b.family, unitB));
        ASSERT_TRUE(std::isfinite(expected));
        ASSERT_EQ(quantities.result, expected);
        ASSERT_LE(std::fabs(*shownValue - expected), 1e-14 * std::fabs(expected));
    }
    // The generator must reach the result path often enough to mean something.
    EXPECT_GT(shown, 2000);
}

} // namespace
