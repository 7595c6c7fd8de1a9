#pragma once

#include "shared/record_batch.h"
#include "shared/record_kind.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace varkel {

// Why a file of edits cannot be read: in the command line's words and in the window's.
struct ImportProblem {
    QString english;
    QString chinese;
};

// One record's edit as a file of edits gives it: each column's name (a key or a
// caption) with its cell as typed, "kind" and "number" among them.
struct ImportRow {
    int line = 0;  // where it starts in the file, from 1; 0 inside a JSON array
    std::vector<std::pair<QString, QString>> cells;
};

struct EditsFile {
    std::vector<ImportRow> rows;
    std::optional<ImportProblem> problem;  // set: the file cannot be read, nothing is
};

// The records of a CSV text, each a list of cells and the line it starts on: RFC
// 4180 (quoted cells with doubled quotes and line breaks), and what spreadsheets
// write besides: LF or CRLF, a quote inside an unquoted cell kept as it is, rows
// with no cells left out. Nothing, and the line where it starts, for a quote that
// is never closed.
struct CsvRecord {
    int line = 0;
    QStringList cells;
};
std::optional<std::vector<CsvRecord>> ReadCsv(const QString& text, int* openQuoteLine);

// Reads a file of edits as `varkel-cli dump` and the records window write it, also
// after a spreadsheet saved it again. UTF-8, with or without a byte-order mark;
// anything else is refused, never read garbled. By its content: JSON (an array of
// objects, one object, or one object a line) when it starts with [ or {, else CSV
// with a header naming each column by key or caption. A CSV cell that starts with
// an apostrophe loses it (the writer's guard against formulas); a cell the header
// has no column for, or a column named twice, refuses the file.
EditsFile ReadEditsFile(const QByteArray& bytes);

// The record kind a row names, empty for none; and its number, -1 for none.
QString RowKind(const ImportRow& row);
int RowNumber(const ImportRow& row);

// Row `row` as values by key for EditRecord on record n of `kind`, whose columns are
// `columns` (ColumnsByName): columns named by caption take their keys, and an empty
// cell of a field the record lacks (the writer leaves those empty) is no edit.
// Nothing, and why, for a column the kind does not have.
std::optional<std::vector<std::pair<QString, QString>>> RowValues(const RecordKind& kind,
                                                                  const QHash<QString, QString>& columns, int n,
                                                                  const ImportRow& row, ImportProblem* problem);

// Edits the records of `kind` (bound to `file`) by each row in turn, through
// EditRecord: one outcome per row, a row refused (no such record, a column the
// kind lacks, a value that cannot be stored, a text that disagrees) leaving its
// record as it was. The records window previews an import on a copy and applies it
// as one step of its document.
BatchResult ImportRows(RecordKind& kind, QByteArray& file, const std::vector<ImportRow>& rows);

}  // namespace varkel
