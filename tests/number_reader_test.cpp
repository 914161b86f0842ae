#include "ui/widgets/number_in_text.h"

#include <QFile>
#include <QString>

#include <gtest/gtest.h>

namespace {

// A text of the rows' file with its escapes resolved.
QString unescaped(const QString &text)
{
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            plain += text[i];
            continue;
        }
        const QChar kind = text[++i];
        if (kind == u'u' || kind == u'U') {
            const qsizetype digits = kind == u'u' ? 4 : 8;
            const char32_t code = text.mid(i + 1, digits).toUInt(nullptr, 16);
            plain += QString::fromUcs4(&code, 1);
            i += digits;
        } else {
            plain += kind == u't' ? u'\t' : kind == u'n' ? u'\n' : kind == u'r' ? u'\r' : kind;
        }
    }
    return plain;
}

// Every row of tests/number_reader_rows.tsv: the examples of the reader's
// rule, section by section.
TEST(NumberInText, ReadsEachExampleOfItsRule)
{
    QFile file(QStringLiteral(DIELEKTRA_READER_ROWS));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QString section;
    qsizetype room = 0;
    int rows = 0;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            section = line.mid(1).chopped(1);
            room = section.section(QStringLiteral("room "), 1).toLongLong();
            continue;
        }
        const QStringList cells = line.split(u'\t');
        ++rows;
        if (section == u"whole") {
            EXPECT_EQ(readsWhole(unescaped(cells.value(0))), cells.value(1) == u"yes")
                << line.toStdString();
            continue;
        }
        SCOPED_TRACE((section + QStringLiteral(": ") + cells.value(0)).toStdString());
        const auto read = numberInText(unescaped(cells.value(1)), room);
        EXPECT_EQ(read ? read->number : QString(), cells.value(2));
        if (read && cells.size() > 3) {
            EXPECT_EQ(read->end, cells[3].toLongLong());
        }
    }
    EXPECT_GT(rows, 100); // the file was read whole
}

} // namespace
