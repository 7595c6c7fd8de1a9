#pragma once

#include "shared/record_kind.h"

#include <string>
#include <vector>

namespace varkel {

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
    std::string csvHeader() const;
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

    const RecordKind& kind_;
    std::vector<std::string> columns_;
    std::vector<std::string> jsonKeys_;  // "key": as JSON
    std::vector<int> columnOfField_;                  // the field's column; its text follows for a list
    std::vector<std::vector<std::string>> itemTexts_;  // per field
    mutable std::vector<Cell> row_;
};

}  // namespace varkel
