#include "ui/widgets/number_in_text.h"

#include <gtest/gtest.h>

#include <QString>

namespace {

// The rows follow the rule in number_in_text.h, point by point: the text, the
// number that the field takes ("" for none), and where the number ends in
// the text (-1: not checked).
struct Row {
    const char *name;
    const char *text;
    const char *number;
    int end = -1;
};

void expectRows(std::initializer_list<Row> rows, qsizetype maxLength = 100)
{
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const auto read = numberInText(QString::fromUtf8(row.text), maxLength);
        EXPECT_EQ(read ? read->number.toStdString() : "", row.number) << row.text;
        if (read && row.end >= 0) {
            EXPECT_EQ(read->end, row.end);
        }
    }
}

TEST(NumberInText, StandsAtTheStartOfItsCell)
{
    expectRows({
        {"blanks, empty cells and lines first", "  \t\n \u200b\n 7 \n8", "7", 9},
        {"format characters anywhere", "\ufeff1\u200b000\u200f", "1000"},
        {"a tab ends the cell", "1\t5", "1", 1},
        {"a line break ends the line", "2\r\n3", "2"},
        {"a line break groups nothing", "1\n000", "1"},
        {"nothing", "", ""},
        {"blank cells", " \t\n ", ""},
        {"a word first", "x 5", ""},
        {"a unit first", "kV 5", ""},
    });
}

TEST(NumberInText, ReadsDigitsOfAnyScript)
{
    expectRows({
        {"Arabic-Indic digits", "\u0661\u0662", "12"},
        {"minus sign", "\u2212\u0661\u0662", "-12"},
        {"full-width digits and comma", "\uff11\uff0c\uff15", "1.5"},
        {"Devanagari digits", "\u0967\u0966", "10"},
        {"mathematical bold digits", "\U0001d7d3", "5"},
        {"vulgar fraction", "\u00bd", ""},
    });
}

TEST(NumberInText, TakesASignRightBeforeTheDigits)
{
    expectRows({
        {"plus", "+5", "+5"},
        {"minus", "-5", "-5"},
        {"minus before a decimal mark", "-,5", "-.5"},
        {"a blank after the sign", "- 5", ""},
        {"two signs", "+-5", ""},
        {"a sign alone", "-", ""},
    });
}

TEST(NumberInText, ReadsPlainDigitsWithOneDecimalMark)
{
    expectRows({
        {"digits", "1234", "1234", 4},
        {"decimal comma", "1234,5", "1234.5", 6},
        {"decimal period", "1.5", "1.5"},
        {"Arabic decimal mark", "\u0663\u066b\u0665", "3.5"},
        {"a decimal mark first", ",5", ".5"},
        {"a single comma before three digits", "1,000", "1.000"},
        {"a single period before three digits", "1.000", "1.000"},
        {"a long integer part", "1000000,25", "1000000.25"},
    });
}

TEST(NumberInText, ReadsGroupingAsItIsWritten)
{
    expectRows({
        {"blanks", "1 000 000,5", "1000000.5", 11},
        {"no-break space", "1\u00a0000", "1000"},
        {"narrow no-break space", "1\u202f000", "1000"},
        {"thin space", "12\u2009345", "12345"},
        {"apostrophe", "1'000", "1000"},
        {"right single quote", "1\u2019000 V", "1000", 5},
        {"periods, decimal comma", "1.000,5", "1000.5"},
        {"commas, decimal period", "1,000,000.5", "1000000.5"},
        {"two periods", "1.000.000", "1000000"},
        {"Arabic marks", "\u0661\u066c\u0660\u0660\u0660\u066b\u0665", "1000.5"},
        {"blanks, decimal period", "1 000.5", "1000.5"},
        {"three digits first", "100 000", "100000"},
        {"a first group of four is no grouping", "1000 000", "1000", 4},
        {"a last group of two is no grouping", "1 000 00", "1000", 5},
        {"a group of two after a comma", "1,00,000", ""},
        {"a group of one after a comma", "1,234,5", ""},
        {"a decimal mark of the grouping's kind", "1.000.5", ""},
    });
}

TEST(NumberInText, EndsWhereAPersonSaysItEnds)
{
    expectRows({
        {"a sentence's full stop", "0,5.", "0.5", 3},
        {"a full stop after a comma", "2,5.", "2.5"},
        {"a full stop after a period", "1.5.", "1.5"},
        {"a full stop after an integer", "5.", "5", 1},
        {"a comma and a blank", "1.5, 2.5", "1.5", 3},
        {"a list of decimal commas", "0,5, 1,5", "0.5"},
        {"a list after a blank", "1,5 2,5", "1.5", 3},
        {"a blank that groups nothing", "12 34", "12", 2},
        {"a unit", "5 kV", "5", 1},
        {"a unit right after", "5kV", "5", 1},
        {"a unit after a fraction", "1.000 000", "1.000", 5},
        {"a word with an e", "5 eV", "5"},
        {"a dash before a word", "5 - x", "5"},
        {"an x alone", "5 x", "5"},
        {"a unit with a slash", "5 kV/m", "5", 1},
    });
}

TEST(NumberInText, TakesNothingWhereWhatFollowsChangesTheValue)
{
    expectRows({
        {"a comma and digits", "4.7,10", ""},
        {"a version number", "1.2.3", ""},
        {"an apostrophe and a digit", "1'5", ""},
        {"an Arabic group mark and a digit", "1\u066c5", ""},
        {"a blank, a comma and a digit", "1 ,5", ""},
        {"an exponent letter alone", "3E", ""},
        {"an exponent's sign alone", "2e+", ""},
        {"an exponent's sign and a letter", "2E-x", ""},
        {"two exponents", "5E3E2", ""},
        {"a letter e", "5eggs", ""},
        {"a power of ten", "5\u00d710\u00b3 V", ""},
        {"a middle dot", "5\u00b710^3", ""},
        {"a dot operator", "5 \u22c5 10", ""},
        {"a caret", "2^10", ""},
        {"a slash", "1/2", ""},
        {"a superscript", "5\u00b2", ""},
        {"a fraction", "5\u00bd", ""},
        {"per cent", "5 %", ""},
        {"per mille", "5\u2030", ""},
        {"an asterisk", "5*2", ""},
        {"plus", "5+", ""},
        {"equals", "5 = 3", ""},
        {"a range", "5-10", ""},
        {"an en dash range", "5 \u2013 10", ""},
        {"a minus sign and digits", "5 \u2212 3", ""},
        {"x and digits", "5x10", ""},
        {"x, a blank and digits", "5 x 10", ""},
        {"an exponent after a blank", "5 E3", ""},
        {"a signed exponent after a blank", "5 e-3", ""},
    });
}

TEST(NumberInText, ReadsAnExponentWithDigits)
{
    expectRows({
        {"plain", "2e5", "2e5", 3},
        {"signed, after a comma", "4,69999980926514E-05", "4.69999980926514E-05"},
        {"before a word", "+2e1x", "+2e1", 4},
        {"after grouping", "1 000E3", "1000E3"},
    });
}

TEST(NumberInText, TakesNothingLongerThanTheRoom)
{
    expectRows(
        {
            {"as long as the room", "12345", "12345"},
            {"one digit more", "123456", ""},
            {"grouping dropped, still too long", "1 234,5", ""},
            {"grouping dropped, it fits", "12 345", "12345"},
            {"a long exponent", "1e1234", ""},
            {"within the first four rooms", "                              5", "5"},
            {"beyond them", "                                        5", ""},
        },
        5);
}

TEST(NumberInText, FieldTextReadsWholeOnlyAsOneNumber)
{
    const struct {
        const char *text;
        bool whole;
    } rows[] = {{"12", true},    {"-.5", true},     {"1.", true},   {"2e+5", true}, {"+7E3", true},
                {"1-32", false}, {"13.5.2", false}, {"e5", false},  {".", false},   {"", false},
                {"+", false},    {"1e", false},     {"1e+", false}, {" 1", false},  {"1,5", false}};
    for (const auto &[text, whole] : rows)
        EXPECT_EQ(readsWhole(QString::fromUtf8(text)), whole) << text;
}

} // namespace
