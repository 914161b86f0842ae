#pragma once

#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// A row of a table of examples (tests/*.tsv), its section and its cells:
// lines that start with "#" are comments, "[SECTION]" starts a section, and a
// row's cells are between tabs. In a cell, \t \n \r \\ and \uXXXX or
// \UXXXXXXXX stand for their characters.
using TableRow = std::pair<QString, QStringList>;

inline QString unescaped(const QString &text)
{
    static const QRegularExpression escape(
        QStringLiteral(R"(\\(u[0-9a-fA-F]{4}|U[0-9a-fA-F]{8}|.))"));
    QString plain;
    qsizetype done = 0;
    for (const QRegularExpressionMatch &match : escape.globalMatch(text)) {
        const QString code = match.captured(1);
        const qsizetype control = QStringLiteral("tnr").indexOf(code);
        const char32_t c = code.size() > 1 ? code.mid(1).toUInt(nullptr, 16) : code[0].unicode();
        plain += text.mid(done, match.capturedStart() - done) +
                 (control >= 0 ? QString(u"\t\n\r"[control]) : QString::fromUcs4(&c, 1));
        done = match.capturedEnd();
    }
    return plain + text.mid(done);
}

// The rows of a table file, or none when it cannot be read.
inline std::vector<TableRow> tableRows(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    std::vector<TableRow> rows;
    QString section;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.startsWith(u'[')) {
            section = line.mid(1).chopped(1);
        } else if (!line.isEmpty() && !line.startsWith(u'#')) {
            QStringList cells;
            for (const QString &cell : line.split(u'\t'))
                cells += unescaped(cell);
            rows.emplace_back(section, cells);
        }
    }
    return rows;
}
