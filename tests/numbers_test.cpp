#include "core/numbers.h"

#include <gtest/gtest.h>

#include <ostream>

#include <limits>
#include <optional>
#include <string>

using namespace dielektra;

namespace {

struct ReadCase {
    const char *name;
    friend std::ostream &operator<<(std::ostream &out, const ReadCase &row)
    {
        return out << row.name;
    }
    std::string text;
    std::optional<double> value;
};

class NumberFromTextTest : public testing::TestWithParam<ReadCase> {};

TEST_P(NumberFromTextTest, ReadsTheLeadingNumber)
{
    const auto &row = GetParam();
    EXPECT_EQ(NumberFromText(row.text), row.value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NumberFromTextTest,
    testing::Values(
        ReadCase{"Integer", "12", 12.0}, ReadCase{"Fraction", "2.5", 2.5},
        ReadCase{"LeadingBlanksSkipped", "  \t3.5", 3.5}, ReadCase{"Negative", "-2.5", -2.5},
        ReadCase{"PlusSign", "+4", 4.0}, ReadCase{"TrailingTextIgnored", "5abc", 5.0},
        ReadCase{"SecondPeriodEndsTheNumber", "1.2.3", 1.2}, ReadCase{"NoNumber", "abc", 0.0},
        ReadCase{"Empty", "", 0.0}, ReadCase{"SignAlone", "-", 0.0},
        ReadCase{"BlankAfterSign", "- 5", 0.0}, ReadCase{"FractionWithoutInteger", ".5", 0.5},
        ReadCase{"PeriodWithoutFraction", "5.", 5.0}, ReadCase{"PeriodAlone", ".", 0.0},
        ReadCase{"Exponent", "1e5", 1e5}, ReadCase{"CapitalNegativeExponent", "1E-5", 1e-5},
        ReadCase{"ExponentWithPlus", "2.5E+3", 2500.0},
        ReadCase{"ExponentWithoutDigits", "1e", 1.0},
        ReadCase{"ExponentSignWithoutDigits", "1e+x", 1.0},
        ReadCase{"CommaIsNoSeparator", "2,5", 2.0}, ReadCase{"InfinityIsNoNumber", "inf", 0.0},
        ReadCase{"NanIsNoNumber", "nan", 0.0}, ReadCase{"HexadecimalIsNoNumber", "0x1A", 0.0},
        ReadCase{"LongExponentOfZero", "0e99999999999999999999", 0.0},
        ReadCase{"BeyondDoubleRange", "1e400", std::nullopt},
        ReadCase{"NegativeBeyondDoubleRange", "-1e400", std::nullopt},
        ReadCase{"FourHundredNines", std::string(400, '9'), std::nullopt},
        ReadCase{"HugeExponent", "1e99999999999999999999", std::nullopt},
        ReadCase{"TooSmallForDouble", "1e-400", 0.0},
        ReadCase{"TooSmallWithLeadingZeros", "0.0001e-400", 0.0},
        ReadCase{"SmallestDenormal", "5e-324", 5e-324}),
    [](const auto &info) { return std::string(info.param.name); });

struct SingleCase {
    const char *name;
    friend std::ostream &operator<<(std::ostream &out, const SingleCase &row)
    {
        return out << row.name;
    }
    std::string text;
    std::optional<float> value;
};

class FieldValueTest : public testing::TestWithParam<SingleCase> {};

TEST_P(FieldValueTest, RoundsToSinglePrecisionOrRefusesOverflow)
{
    const auto &row = GetParam();
    EXPECT_EQ(FieldValue(row.text), row.value);
}

constexpr float largest = std::numeric_limits<float>::max();

INSTANTIATE_TEST_SUITE_P(
    Limits, FieldValueTest,
    testing::Values(SingleCase{"RoundsToNearestSingle", "0.1", 0.1F},
                    SingleCase{"LargestSingle", "3.4028235E38", largest},
                    SingleCase{"JustAboveLargestRoundsDown", "3.40282356E38", largest},
                    SingleCase{"NegativeJustAboveLargest", "-3.40282356E38", -largest},
                    SingleCase{"HalfwayToInfinityOverflows", "3.4028235677973366E38", std::nullopt},
                    SingleCase{"OverflowsSingle", "1E39", std::nullopt},
                    SingleCase{"NegativeOverflowsSingle", "-1E39", std::nullopt},
                    SingleCase{"BeyondDouble", std::string(400, '9'), std::nullopt},
                    SingleCase{"UnderflowsToZero", "1E-50", 0.0F},
                    SingleCase{"SmallestSingle", "1.4E-45",
                               std::numeric_limits<float>::denorm_min()}),
    [](const auto &info) { return std::string(info.param.name); });

struct FormatCase {
    const char *name;
    friend std::ostream &operator<<(std::ostream &out, const FormatCase &row)
    {
        return out << row.name;
    }
    double value;
    const char *text;
};

class SingleToTextTest : public testing::TestWithParam<FormatCase> {};

TEST_P(SingleToTextTest, WritesSevenDigitsWithPeriod)
{
    const auto &row = GetParam();
    EXPECT_EQ(SingleToText(static_cast<float>(row.value)), row.text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SingleToTextTest,
    testing::Values(FormatCase{"Integer", 100.0, "100"}, FormatCase{"Fraction", 2.5, "2.5"},
                    FormatCase{"RoundedNotCut", 2.00000006, "2"},
                    FormatCase{"Third", 1.0 / 3.0, "0.3333333"},
                    FormatCase{"SevenDigitsStayPlain", 1234567.0, "1234567"},
                    FormatCase{"EightDigitsGoExponential", 123456789.0, "1.234568E+08"},
                    FormatCase{"TenThousandthStaysPlain", 0.0001, "0.0001"},
                    FormatCase{"SmallGoesExponential", 1e-5, "1E-05"},
                    FormatCase{"LargestSingle", 3.4028234663852886e38, "3.402823E+38"}),
    [](const auto &info) { return std::string(info.param.name); });

class DoubleToTextTest : public testing::TestWithParam<FormatCase> {};

TEST_P(DoubleToTextTest, WritesFifteenDigitsWithTheGivenSeparator)
{
    const auto &row = GetParam();
    EXPECT_EQ(DoubleToText(row.value, ","), row.text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, DoubleToTextTest,
    testing::Values(
        FormatCase{"Integer", 100.0, "100"}, FormatCase{"Fraction", 4.7, "4,7"},
        FormatCase{"Third", 1.0 / 3.0, "0,333333333333333"},
        FormatCase{"SingleTenthDivided", 1.0 / static_cast<double>(0.1F), "9,99999985098839"},
        FormatCase{"FifteenDigitsStayPlain", 123456789012345.0, "123456789012345"},
        FormatCase{"SixteenDigitsGoExponential", 1234567890123456.0, "1,23456789012346E+15"},
        FormatCase{"SmallGoesExponential", 1e-5, "1E-05"},
        FormatCase{"TinyThird", 1e-24 / 3.0, "3,33333333333333E-25"},
        FormatCase{"ThreeDigitExponent", 2.5e107, "2,5E+107"},
        FormatCase{"JustBelowHalfIsHalf", 0.49999999999999994, "0,5"},
        FormatCase{"NegativeZeroHasNoSign", -0.0, "0"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(TextRoundTrip, WrittenTextsReadBack)
{
    for (const double value : {1.0 / 3.0, 1e-300, 2.5e107, 123456.789, 7e-5, 1e15, 1e16}) {
        SCOPED_TRACE(value);
        const auto back = NumberFromText(DoubleToText(value, "."));
        ASSERT_TRUE(back.has_value());
        EXPECT_NEAR(*back / value, 1.0, 1e-14);
    }
    for (const float value : {1.0F / 3.0F, 1e-40F, 3.4e38F, 16777217.0F, 0.1F, 8.589973e9F}) {
        SCOPED_TRACE(value);
        const auto back = FieldValue(SingleToText(value));
        ASSERT_TRUE(back.has_value());
        EXPECT_NEAR(static_cast<double>(*back) / static_cast<double>(value), 1.0, 5e-7);
    }
}

} // namespace
