// Thousands of random clicks: every one must end either in exactly one refusal
// that changed nothing but the rewrites, or in a finite result that reads back
// to the formula's value on the inputs as read.
#include "click_check.h"
#include "core/pages.h"

#include <gtest/gtest.h>

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
            return pick(2) == 1 ? "0" : "-0";
        case 2:
            return junk();
        case 3:
            return pick(2) == 1 ? "1E39" : "-3.5e38";
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
        if (pick(2) == 1)
            text += (pick(2) == 1 ? "E" : "e") + std::to_string(exponent);
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

TEST(RandomClicks, EndInOneRefusalOrAFiniteResultThatReadsBack)
{
    RandomInputs random(20261206U);
    int shown = 0;
    for (int click = 0; click < 20000; ++click) {
        const CalcPage &page = CalcPages[static_cast<std::size_t>(click) % CalcPages.size()];
        clickcheck::ClickInputs inputs;
        inputs.a = random.field();
        inputs.b = random.field();
        inputs.unitA = random.unit(*page.a.family);
        inputs.unitB = random.unit(*page.b.family);
        SCOPED_TRACE(testing::Message()
                     << "click " << click << ": A=\"" << inputs.a << "\" " << inputs.unitA
                     << ", B=\"" << inputs.b << "\" " << inputs.unitB);

        const clickcheck::ClickReport report = clickcheck::ClickAndCheck(page, inputs);
        ASSERT_EQ(report.violation, "");
        if (report.outcome == Outcome::Shown)
            ++shown;
    }
    // The generator must reach the result path often enough to mean something.
    EXPECT_GT(shown, 2000);
}

} // namespace
