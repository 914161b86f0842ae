// Clicks of the five calculation pages: named rows that say what the page
// must see, and thousands of random clicks checked against the oracle.
#include "oracle.h"

#include <gtest/gtest.h>

#include <random>

using namespace oracle;

struct Row {
    const char *name;
    std::size_t page; // 0 capacity, 1 charge, 2 voltage, 3 time constant, 4 energy
    Click click;
    // With "," as the decimal separator; "= n" is the page's sentence with n.
    std::vector<std::string> log;
};

const Row rows[] = {
    {"TimeConstantStart", 3, {"10", "uF", "1", "MO"}, {"Label35=hidden", "= 10"}},
    {"SingleTenth", 0, {"0.1", "V", "1", "C"}, {"= 9,99999985098839"}},
    {"RangeEdges", 0, {"1.4E-45", "pV", "3.4028235E38", "TC"}, {"= 2,42833597054205E+107"}},
    {"SevenDigits", 1, {"-123456789", "V", "1", "pF"}, {"Text3=1.234568E+08", "= 0,0001234568"}},
    {"NegativeZeroNotRewritten", 0, {"-0", "V", "1", "C"}, {Zero}},
    {"DoubleUnderflow", 4, {"100", "V", "1e-400", "uF"}, {Zero}},
    {"BothUnknown", 3, {"10", "µF", "-1", "MO "}, {"Text7=1", UnknownUnit('F'), "focus Combo8"}},
    {"HalfwayToInfinity", 1, {"3.4028235677973366E38", "V", "1", "F"}, {TooLarge}},
};

TEST(Clicks, DoWhatTheRowsSay)
{
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> log = row.log;
        for (std::string &line : log)
            if (line[0] == '=')
                line = Caption(Pages[row.page], SV(line).substr(2));
        EXPECT_EQ(Expected(row.page, row.click, ",").log, log);
        EXPECT_EQ(Mismatch(row.page, row.click, ","), "");
    }
}

TEST(RandomClicks, DoWhatTheOracleSays)
{
    std::mt19937 random(20261206U);
    const auto pick = [&](std::size_t n) { return random() % n; };
    // Digits, signs, periods, exponents, blanks and junk, in any order.
    static const char *const pieces[] = {" ",   "\t",  "-",   "+",         ".",
                                         "E",   "e-",  ",",   "E38",       "e-45",
                                         "abc", "inf", "x1F", "3.4028235", "3.40282356"};
    const auto field = [&] {
        std::string text;
        for (std::size_t n = pick(6); n > 0; --n)
            text += pick(2) == 0 ? std::to_string(random() >> pick(32))
                                 : pieces[pick(std::size(pieces))];
        return text;
    };
    static const char *const wrongUnits[] = {"",  "kV", "kF", "mV", "mF", "V ",  " F", "v",
                                             "f", "µF", "KC", "mO", "Ω",  "uO ", "pf"};
    const auto unit = [&](char letter) -> std::string {
        return pick(4) == 0 ? wrongUnits[pick(std::size(wrongUnits))]
                            : Label(pick(8) == 0 ? "VCFO"[pick(4)] : letter, pick(8));
    };
    int shown = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::size_t page = pick(5);
        const Click click{field(), unit(Pages[page].letters[0]), field(),
                          unit(Pages[page].letters[1])};
        const char *separator = i % 2 == 0 ? "," : ".";
        shown += Expected(page, click, separator).outcome == Outcome::Shown ? 1 : 0;
        ASSERT_EQ(Mismatch(page, click, separator), "")
            << click.a << '|' << click.unitA << '|' << click.b << '|' << click.unitB;
    }
    EXPECT_GT(shown, 2000); // the random texts reach the sentence often enough
}
