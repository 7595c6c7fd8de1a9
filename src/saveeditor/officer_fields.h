#pragma once

#include "saveeditor/officer_record.h"
#include "shared/number_fields.h"

#include <optional>
#include <vector>

namespace varkel {

// Every field of an officer: names, numbers in the order their limits apply, lists,
// flags, skills and tactics, with captions, input lengths, limits and the record
// field behind each. The officer view builds its number boxes from this table and
// Apply reads them back through it; the command line reads and writes officers
// through the same table.
const std::vector<RecordField<OfficerRecord>>& OfficerFields();
// The field of OfficerFields() with this key; the key must be one of them.
const RecordField<OfficerRecord>& OfficerField(const QString& key);

// The list texts of the officer lists.
QStringList RankItems();

// What the single boxes cannot catch: an entry year beyond what a byte holds.
std::optional<FieldProblem> OfficerStorageProblem(const OfficerRecord& record);

}  // namespace varkel
