#include "core/pages.h"
#include "fake_page.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

using namespace dielektra;

namespace {

struct Inputs {
    std::string a, unitA, b, unitB;
};

FakePage pageWith(const CalcPage &page, const Inputs &in)
{
    FakePage fake;
    fake.texts[std::string(page.a.field)] = in.a;
    fake.texts[std::string(page.a.unitList)] = in.unitA;
    fake.texts[std::string(page.b.field)] = in.b;
    fake.texts[std::string(page.b.unitList)] = in.unitB;
    return fake;
}

struct ResultCase {
    const char *name;
    friend std::ostream &operator<<(std::ostream &out, const ResultCase &row)
    {
        return out << row.name;
    }
    PageIndex page;
    Inputs in;
    std::string caption; // with "," as the user's decimal separator
};

class ResultSentenceTest : public testing::TestWithParam<ResultCase> {};

TEST_P(ResultSentenceTest, ShowsTheSentence)
{
    const auto &row = GetParam();
    const CalcPage &page = CalcPages[row.page];
    FakePage fake = pageWith(page, row.in);
    CalcQuantities quantities;

    EXPECT_EQ(CalculatePage(page, quantities, fake, ","), Outcome::Shown);

    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(fake.captions[std::string(page.resultLabel)], row.caption);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, ResultSentenceTest,
    testing::Values(
        // The start texts reproduce the captions that the pages show at start.
        ResultCase{
            "CapacityStart", Capacity, {"10", "V", "1", "KC"}, "Kondenzátor má kapacitu 100 F"},
        ResultCase{
            "ChargeStart", Charge, {"10", "V", "470", "mF."}, "V kondenzátoru je náboj 4,7 C"},
        ResultCase{"VoltageStart", Voltage, {"10", "C", "1", "F"}, "Kondenzátor má napětí 10 V"},
        ResultCase{"TimeConstantStart",
                   TimeConstant,
                   {"10", "uF", "1", "MO"},
                   "Časová konstanta kondenzátoru je 10 sec."},
        ResultCase{
            "EnergyStart", Energy, {"100", "V", "100", "uF"}, "V kondenzátoru je energie 0,5 J"},
        // Single-precision rounding of typed values shows in 15 digits.
        ResultCase{"CapacityOneThird",
                   Capacity,
                   {"3", "V", "1", "C"},
                   "Kondenzátor má kapacitu 0,333333333333333 F"},
        ResultCase{"CapacitySingleTenth",
                   Capacity,
                   {"0.1", "V", "1", "C"},
                   "Kondenzátor má kapacitu 9,99999985098839 F"},
        ResultCase{"VoltageMicroOverNano",
                   Voltage,
                   {"1", "uC", "3", "nF"},
                   "Kondenzátor má napětí 333,333333333333 V"},
        ResultCase{"ChargeSingleOnePointOne",
                   Charge,
                   {"1.1", "V", "1", "F"},
                   "V kondenzátoru je náboj 1,10000002384186 C"},
        ResultCase{"CapacityMilliUnits",
                   Capacity,
                   {"5", "mV.", "2", "mC."},
                   "Kondenzátor má kapacitu 0,4 F"},
        ResultCase{
            "CapacityTeraVolt", Capacity, {"1", "TV", "1", "C"}, "Kondenzátor má kapacitu 1E-12 F"},
        ResultCase{"TrailingTextIgnored",
                   Capacity,
                   {"10", "V", "5abc", "C"},
                   "Kondenzátor má kapacitu 0,5 F"},
        ResultCase{"CommaIsNoDecimalSeparator",
                   Capacity,
                   {"2,5", "V", "1", "C"},
                   "Kondenzátor má kapacitu 0,5 F"},
        ResultCase{"LargestCapacity",
                   Capacity,
                   {"1.4E-45", "pV", "3.4E38", "TC"},
                   "Kondenzátor má kapacitu 2,42632104344921E+107 F"},
        ResultCase{"ZeroResistanceGivesZero",
                   TimeConstant,
                   {"10", "uF", "0", "MO"},
                   "Časová konstanta kondenzátoru je 0 sec."},
        ResultCase{"NegativeVoltageSameEnergy",
                   Energy,
                   {"-100", "V", "100", "uF"},
                   "V kondenzátoru je energie 0,5 J"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ResultSentence, UsesTheSeparatorItIsGiven)
{
    const CalcPage &page = CalcPages[Charge];
    FakePage fake = pageWith(page, {"10", "V", "470", "mF."});
    CalcQuantities quantities;
    CalculatePage(page, quantities, fake, ".");
    EXPECT_EQ(fake.captions["Label12"], "V kondenzátoru je náboj 4.7 C");
}

struct RewriteCase {
    const char *name;
    friend std::ostream &operator<<(std::ostream &out, const RewriteCase &row)
    {
        return out << row.name;
    }
    PageIndex page;
    Inputs in;
    std::string afterA, afterB;
    Outcome outcome;
};

class NegativeRewriteTest : public testing::TestWithParam<RewriteCase> {};

TEST_P(NegativeRewriteTest, WritesTheAbsoluteValueWithSevenDigitsAndPeriod)
{
    const auto &row = GetParam();
    const CalcPage &page = CalcPages[row.page];
    FakePage fake = pageWith(page, row.in);
    CalcQuantities quantities;

    EXPECT_EQ(CalculatePage(page, quantities, fake, ","), row.outcome);

    EXPECT_EQ(fake.texts[std::string(page.a.field)], row.afterA);
    EXPECT_EQ(fake.texts[std::string(page.b.field)], row.afterB);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, NegativeRewriteTest,
    testing::Values(
        RewriteCase{"NegativeA", Capacity, {"-5", "V", "1", "C"}, "5", "1", Outcome::Shown},
        RewriteCase{"NegativeB", Capacity, {"5", "V", "-1", "C"}, "5", "1", Outcome::Shown},
        RewriteCase{
            "FractionKeepsPeriod", Capacity, {"-2.5", "V", "1", "C"}, "2.5", "1", Outcome::Shown},
        RewriteCase{"RoundedToSevenDigits",
                    Charge,
                    {"-123456789", "V", "1", "F"},
                    "1.234568E+08",
                    "1",
                    Outcome::Shown},
        RewriteCase{"RoundedNotCut",
                    Charge,
                    {"-1.23456789", "V", "1", "F"},
                    "1.234568",
                    "1",
                    Outcome::Shown},
        RewriteCase{
            "TrailingTextDropped", Voltage, {"-7abc", "C", "1", "F"}, "7", "1", Outcome::Shown},
        RewriteCase{"ZeroAndPositiveUntouched",
                    Voltage,
                    {"+07", "C", "5abc", "F"},
                    "+07",
                    "5abc",
                    Outcome::Shown},
        RewriteCase{"NegativeZeroIsNotNegative",
                    Capacity,
                    {"-0", "V", "1", "C"},
                    "-0",
                    "1",
                    Outcome::RefusedZero},
        RewriteCase{"RewriteBeforeZeroRefusal",
                    Capacity,
                    {"0", "V", "-3", "C"},
                    "0",
                    "3",
                    Outcome::RefusedZero},
        RewriteCase{"RewriteBeforeUnitRefusal",
                    Energy,
                    {"-4", "kV", "-2", "uF"},
                    "4",
                    "2",
                    Outcome::RefusedUnit},
        RewriteCase{"TimeConstantRewritesBoth",
                    TimeConstant,
                    {"-10", "uF", "-1", "MO"},
                    "10",
                    "1",
                    Outcome::Shown}),
    [](const auto &info) { return std::string(info.param.name); });

struct RefusalCase {
    const char *name;
    friend std::ostream &operator<<(std::ostream &out, const RefusalCase &row)
    {
        return out << row.name;
    }
    PageIndex page;
    Inputs in;
    std::string prompt;
    std::string afterA, afterB; // the field texts once the click has ended
};

class RefusalTest : public testing::TestWithParam<RefusalCase> {};

TEST_P(RefusalTest, ShowsOneBoxAndChangesNothingElse)
{
    const auto &row = GetParam();
    const CalcPage &page = CalcPages[row.page];
    FakePage fake = pageWith(page, row.in);
    const CalcQuantities before{1.0, 2.0, 3.0};
    CalcQuantities quantities = before;

    EXPECT_NE(CalculatePage(page, quantities, fake, ","), Outcome::Shown);

    ASSERT_EQ(fake.boxes.size(), 1U);
    EXPECT_EQ(fake.boxes[0].prompt, row.prompt);
    EXPECT_EQ(fake.boxes[0].style, MsgStyle::Critical);
    EXPECT_EQ(fake.boxes[0].title, "Chyba zadání");
    EXPECT_TRUE(fake.captions.empty());
    EXPECT_TRUE(fake.visible.empty());
    EXPECT_EQ(quantities.a, before.a);
    EXPECT_EQ(quantities.b, before.b);
    EXPECT_EQ(quantities.result, before.result);
    EXPECT_EQ(fake.texts[std::string(page.a.field)], row.afterA);
    EXPECT_EQ(fake.texts[std::string(page.b.field)], row.afterB);
    EXPECT_EQ(fake.texts[std::string(page.a.unitList)], row.in.unitA);
    EXPECT_EQ(fake.texts[std::string(page.b.unitList)], row.in.unitB);
}

const std::string zero = "Zadaná hodnota nemůže být 0";
const std::string zeroCapacity = "Kondenzátor nemůže mít nulovou kapacitu";
const std::string unknownUnit = "Zadaná jednotka není platná";
const std::string tooLarge = "Zadaná hodnota je příliš velká";
const std::string nines(400, '9');

INSTANTIATE_TEST_SUITE_P(
    Inputs, RefusalTest,
    testing::Values(
        RefusalCase{"ZeroA", Capacity, {"0", "V", "1", "KC"}, zero, "0", "1"},
        RefusalCase{"EmptyA", Capacity, {"", "V", "1", "KC"}, zero, "", "1"},
        RefusalCase{"LettersA", Capacity, {"abc", "V", "1", "KC"}, zero, "abc", "1"},
        RefusalCase{"NegativeZeroA", Capacity, {"-0", "V", "1", "KC"}, zero, "-0", "1"},
        RefusalCase{"SingleUnderflowA", Voltage, {"1E-50", "C", "1", "F"}, zero, "1E-50", "1"},
        RefusalCase{"ZeroB", Charge, {"10", "V", "0", "mF."}, zero, "10", "0"},
        RefusalCase{"ZeroBAfterRewriteOfA", Energy, {"-5", "V", "0", "uF"}, zero, "5", "0"},
        RefusalCase{"ZeroWinsOverUnknownUnit", Energy, {"0", "kV", "1", "uF"}, zero, "0", "1"},
        RefusalCase{"UnknownUnitA", Capacity, {"20", "kV", "1", "KC"}, unknownUnit, "20", "1"},
        RefusalCase{"UnknownUnitB", Charge, {"10", "V", "470", "mF"}, unknownUnit, "10", "470"},
        RefusalCase{"UnitOfOtherFamily", Voltage, {"10", "V", "1", "F"}, unknownUnit, "10", "1"},
        RefusalCase{"EmptyUnit", TimeConstant, {"10", "uF", "1", ""}, unknownUnit, "10", "1"},
        RefusalCase{
            "UnitRefusalKeepsRewrite", Voltage, {"-10", "C", "1", "f"}, unknownUnit, "10", "1"},
        RefusalCase{"TooLargeA", Capacity, {"1E39", "V", "1", "KC"}, tooLarge, "1E39", "1"},
        RefusalCase{"NegativeTooLargeBNotRewritten",
                    Capacity,
                    {"-5", "V", "-1E39", "KC"},
                    tooLarge,
                    "-5",
                    "-1E39"},
        RefusalCase{"BeyondDoubleRange", Energy, {"100", "V", nines, "uF"}, tooLarge, "100", nines},
        RefusalCase{"TooLargeOnTimeConstantResistance",
                    TimeConstant,
                    {"10", "uF", "1E39", "MO"},
                    tooLarge,
                    "10",
                    "1E39"},
        RefusalCase{"ZeroCapacity", TimeConstant, {"0", "uF", "1", "MO"}, zeroCapacity, "1", "1"},
        RefusalCase{"EmptyCapacity", TimeConstant, {"", "uF", "1", "MO"}, zeroCapacity, "1", "1"},
        RefusalCase{"ZeroCapacityAndResistance",
                    TimeConstant,
                    {"0", "uF", "0", "MO"},
                    zeroCapacity,
                    "1",
                    "0"},
        RefusalCase{"ZeroCapacityBeforeUnknownUnit",
                    TimeConstant,
                    {"-0", "xF", "1", "MO"},
                    zeroCapacity,
                    "1",
                    "1"},
        RefusalCase{"UnknownResistanceUnitLeavesNote",
                    TimeConstant,
                    {"10", "uF", "0", "mO"},
                    unknownUnit,
                    "10",
                    "0"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(TimeConstantPage, WritesOneOnlyAfterTheBoxIsClosed)
{
    const CalcPage &page = CalcPages[TimeConstant];
    FakePage fake = pageWith(page, {"abc", "uF", "5", "MO"});
    CalcQuantities quantities;
    CalculatePage(page, quantities, fake, ",");
    EXPECT_EQ(fake.log, (std::vector<std::string>{"box", "set Text8=1"}));
}

TEST(TimeConstantPage, ShowsTheNoteExactlyWhileTheResistanceFieldIsZero)
{
    const CalcPage &page = CalcPages[TimeConstant];
    CalcQuantities quantities;
    // A unit that matches nothing does not matter: the field's own value counts.
    const struct {
        const char *resistance;
        bool noteShown;
    } clicks[] = {{"0", true}, {"1", false}, {"", true}, {"abc", true}, {"0.5", false}};
    for (const auto &click : clicks) {
        SCOPED_TRACE(click.resistance);
        FakePage fake = pageWith(page, {"10", "uF", click.resistance, "KO"});
        ASSERT_EQ(CalculatePage(page, quantities, fake, ","), Outcome::Shown);
        EXPECT_EQ(fake.visible["Label35"], click.noteShown);
    }
}

TEST(Quantities, ComeFromTheLatestSuccessfulClick)
{
    const CalcPage &page = CalcPages[Capacity];
    CalcQuantities quantities;
    FakePage first = pageWith(page, {"10", "V", "1", "KC"});
    CalculatePage(page, quantities, first, ",");
    EXPECT_EQ(quantities.a, 10.0);
    EXPECT_EQ(quantities.b, 1000.0);
    EXPECT_EQ(quantities.result, 100.0);

    FakePage second = pageWith(page, {"20", "kV", "2", "KC"});
    CalculatePage(page, quantities, second, ",");
    EXPECT_EQ(quantities.result, 100.0);
    EXPECT_TRUE(second.captions.empty());
}

} // namespace
