#include "table_rows.h"
#include "ui/widgets/number_in_text.h"

#include <gtest/gtest.h>

namespace {

// Every row of tests/number_reader_rows.tsv: the examples of the reader's
// rule, section by section.
TEST(NumberInText, ReadsEachExampleOfItsRule)
{
    const std::vector<TableRow> rows = tableRows(QStringLiteral(DIELEKTRA_READER_ROWS));
    for (const auto &[section, cells] : rows) {
        if (section == u"whole") {
            EXPECT_EQ(readsWhole(cells.value(0)), cells.value(1) == u"yes")
                << cells.join(u'\t').toStdString();
            continue;
        }
        SCOPED_TRACE((section + QStringLiteral(": ") + cells.value(0)).toStdString());
        const auto read =
            numberInText(cells.value(1), section.section(QStringLiteral("room "), 1).toLongLong());
        EXPECT_EQ(read ? read->number : QString(), cells.value(2));
        if (read && cells.size() > 3) {
            EXPECT_EQ(read->end, cells[3].toLongLong());
        }
    }
    EXPECT_GT(rows.size(), 100U); // the file was read whole
}

} // namespace
