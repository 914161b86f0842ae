// Thousands of random clicks of the five calculation pages, checked against
// the oracle; the window's tests pin the sentences of the design's examples.
#include "oracle.h"

#include <gtest/gtest.h>

#include <random>

using namespace oracle;

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
                            : label(pick(8) == 0 ? "VCFO"[pick(4)] : letter, pick(8));
    };
    for (int i = 0; i < 20000; ++i) {
        const std::size_t page = pick(5);
        const Click click{field(), unit(Pages[page].letters[0]), field(),
                          unit(Pages[page].letters[1])};
        const char *separator = i % 2 == 0 ? "," : ".";
        ASSERT_EQ(mismatch(page, click, separator), "")
            << click.a << '|' << click.unitA << '|' << click.b << '|' << click.unitB;
    }
}

// A unit written after a pasted number names its family's label, as the
// family spells it or as people write it; anything else names none.
TEST(UnitsWritten, NameTheLabelOfTheirFamily)
{
    using dielektra::UnitFamily;
    const UnitFamily &V = dielektra::VoltageUnits;
    const UnitFamily &C = dielektra::ChargeUnits;
    const UnitFamily &F = dielektra::CapacityUnits;
    const UnitFamily &O = dielektra::ResistanceUnits;
    const struct {
        const UnitFamily &family;
        const char16_t *written;
        const char *label; // "" for none
    } rows[] = {
        {V, u"KV", "KV"},      {V, u" kV", "KV"},     {V, u"\u00a0\u202fkV.", "KV"},
        {V, u"mV.", "mV."},    {V, u"mV", "mV."},     {V, u"MV", "MV"},
        {V, u"V", "V"},        {V, u"TV, 3", "TV"},   {V, u"pV)", "pV"},
        {V, u"nV\tx", "nV"},   {V, u"kVx", ""},       {V, u"Vodka", ""},
        {V, u"kV/m", ""},      {V, u"v", ""},         {V, u"kF", ""},
        {V, u"K", ""},         {V, u"", ""},          {V, u"\tV", ""},
        {V, u"mmV", ""},       {C, u"kC", "KC"},      {C, u"V", ""},
        {F, u"uF", "uF"},      {F, u"\u00b5F", "uF"}, {F, u"\u03bcF", "uF"},
        {F, u"pF", "pF"},      {F, u"f", ""},         {O, u"O", "O"},
        {O, u"M\u03a9", "MO"}, {O, u"k\u2126", "KO"}, {O, u"kohm", "KO"},
        {O, u"Ohm", "O"},      {O, u"mohm", "mO."},   {O, u"mO.", "mO."},
        {O, u"MOhm!", "MO"},   {O, u"OK", ""},        {O, u"ohms", ""},
    };
    for (const auto &row : rows) {
        const auto *label = dielektra::unitWrittenAt(row.family, row.written);
        EXPECT_EQ(label == nullptr ? "" : label->text, row.label) << "row " << &row - rows;
    }
}
