#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace varkel::test {

// The rows of a CSV text as RFC 4180 has them: records end in CRLF (the last may
// end without), fields are separated by commas, a field holding a comma, a quote,
// CR or LF is quoted with its quotes doubled. Anything else (a bare CR or LF, a
// quote inside an unquoted field, text after a closing quote, an open quote at the
// end) is no CSV: nothing comes back. A cell that starts with an apostrophe loses
// it: the writer puts one before a text a spreadsheet would take for a formula.
inline std::optional<std::vector<QStringList>> ReadCsv(const QString& text)
{
    std::vector<QStringList> rows;
    QStringList row;
    QString cell;
    qsizetype i = 0;
    const qsizetype n = text.size();
    const QChar quote = QLatin1Char('"');
    auto endOfRecord = [&](qsizetype at) {
        return at + 1 < n && text[at] == QLatin1Char('\r') && text[at + 1] == QLatin1Char('\n');
    };
    while (i < n) {
        // One field, from its first character.
        if (text[i] == quote) {
            for (++i;; ++i) {
                if (i >= n)
                    return std::nullopt;  // the quote is never closed
                if (text[i] == quote) {
                    if (i + 1 < n && text[i + 1] == quote) {
                        cell += quote;
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                cell += text[i];
            }
        } else {
            for (; i < n && text[i] != QLatin1Char(',') && text[i] != QLatin1Char('\r'); ++i) {
                if (text[i] == quote || text[i] == QLatin1Char('\n'))
                    return std::nullopt;
                cell += text[i];
            }
        }
        // What ends it: a comma, the end of the record or of the text.
        if (cell.startsWith(QLatin1Char('\'')))
            cell.remove(0, 1);
        row << cell;
        cell.clear();
        if (i >= n) {
            break;
        } else if (text[i] == QLatin1Char(',')) {
            ++i;
            if (i >= n)
                row << QString();  // a last empty field without a record end
        } else if (endOfRecord(i)) {
            i += 2;
            rows.push_back(row);
            row.clear();
        } else {
            return std::nullopt;
        }
    }
    if (!row.isEmpty())
        rows.push_back(row);
    return rows;
}

}  // namespace varkel::test
