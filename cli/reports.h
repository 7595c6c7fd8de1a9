#pragma once

#include "gamefile/game_file.h"
#include "options.h"
#include "shared/record_filter.h"
#include "shared/record_kind.h"

#include <QString>

#include <iosfwd>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace varkel::cli {

std::ostream& operator<<(std::ostream& os, const QString& text);

// Says why `file` is refused, on one line; kRefused.
int Refuse(std::ostream& err, const QString& file, const QString& why);

// "officer 12 石華": a record as every command names it.
QString RecordLine(const RecordKind& kind, int n, QString name = QString());
// A value on one line: the line breaks of a biography as "\n".
QString OneLine(QString text);
void PrintChanges(std::ostream& out, const RecordKind& kind, int n, const std::vector<FieldChange>& changes,
                  const QString& name = QString());

// The edited records of a set or apply, and what EditRecord made of each.
using EditedRecords = std::map<std::pair<const RecordKind*, int>, const EditResult*>;
// The changes of every record an edit wrote besides the edited ones (the officers
// whose statuses a city's head change moves), told against the bytes as they were
// read, in the order diff shows records; with `showEdited` the edited records' own
// lines take their places among them, so a set prints what diff will show.
void PrintWritten(const GameFile& file, const EditedRecords& edited, bool showEdited, std::ostream& out);
// What the file's kinds had to leave out, where records are shown.
void PrintNotes(const GameFile& file, std::ostream& err);

// Why the file has no records of kind `name`.
QString NoKind(const QString& name, const Options& options);
QString NoSuchRecord(const RecordKind& kind, int number);

// The kinds --records names (every kind of the file without it); none for a
// name the file has no records of.
std::optional<std::set<const RecordKind*>> ChosenKinds(GameFile& file, const Options& options);
// The place among the file's kinds of the one kind --records chose; nothing
// when every kind was.
std::optional<std::size_t> OnlyKind(const GameFile& file, const std::set<const RecordKind*>& chosen,
                                    const Options& options);
// The filter of --where over `kind`, or nothing having said why.
std::optional<RecordFilter> ReadFilter(const RecordKind& kind, const QString& where, const QString& path,
                                       std::ostream& err);

}  // namespace varkel::cli
