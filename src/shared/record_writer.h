#pragma once

#include "shared/record_kind.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace varkel {

// The UTF-8 byte-order mark: Excel reads a CSV that starts with it as UTF-8, one
// without it in the system's code page (950 on a Chinese Windows).
inline constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

// The columns RecordWriter writes for `kind`, by key, in order.
QStringList ColumnKeys(const RecordKind& kind);
// The caption of column `key` as the records table shows it: "kind" and "number"
// are 記錄種類 and 編號, a field its label, a list text or a name beside a field the
// field's label with 文字 or 名稱 after it.
QString ColumnCaption(const RecordKind& kind, const QString& key);
// Every name a CSV header may give a column of `kind` (its key and its caption),
// with the column's key.
QHash<QString, QString> ColumnsByName(const RecordKind& kind);

// How a CSV header names the columns: by key, as scripts read them, or by
// caption, as people read them.
enum class ColumnNames { Keys, Captions };

// Writes records as the command line shows them: "kind" and "number", then every
// field by its key (numbers as numbers, half units as 7.5, names as text, flags as booleans, a list
// code and its text as key and key_text, skills by name, tactics as levels), then
// the names of the records it refers to. Keys and list texts are converted once.
class RecordWriter {
public:
    explicit RecordWriter(const RecordKind& kind);

    // Record n (its place, not its number) as one line of JSON.
    std::string json(int n) const;
    // The CSV header, and record n as a CSV row, both ending in CRLF. A text cell
    // that starts with =, +, -, @, a tab, a carriage return or an apostrophe has an
    // apostrophe put in front, so no spreadsheet takes it for a formula; a reader
    // takes one apostrophe off any cell that starts with it (no number does).
    std::string csvHeader(ColumnNames names = ColumnNames::Keys) const;
    std::string csvRow(int n) const;

private:
    struct Cell {
        enum Type {
            None,
            Number,
            Decimal,
            Text,
            Bool,
            Texts,
            Numbers
        } type = None;  // Decimal: `text` as a JSON number
        long long number = 0;
        std::string text;
        std::vector<std::string> texts;
        std::vector<int> numbers;
    };
    // The cells of record n, one per column (None where the record has no value).
    // One row is filled again for every record, so its buffers are reused.
    const std::vector<Cell>& cells(int n) const;
    // Fill one cell of the row: a number, a text, or field i's value (a list code
    // with its text in the next column).
    void putNumber(std::size_t column, long long value, Cell::Type type = Cell::Number) const;
    void putText(std::size_t column, const std::string& value) const;
    void putField(std::size_t i, const FieldSpec& field, const FieldValue& v) const;

    const RecordKind& kind_;
    std::vector<std::string> columns_;
    std::vector<std::string> jsonKeys_;  // "key": as JSON
    std::vector<int> columnOfField_;                  // the field's column; its text follows for a list
    std::vector<std::vector<std::string>> itemTexts_;  // per field
    mutable std::vector<Cell> row_;
};

}  // namespace varkel
