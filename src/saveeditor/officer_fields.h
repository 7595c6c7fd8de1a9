#pragma once

#include "saveeditor/officer_record.h"
#include "shared/number_fields.h"

#include <optional>
#include <vector>

namespace varkel {

// The number boxes of the officer view, in the order their limits apply: captions,
// input lengths, limits and the record field behind each. The view builds its
// boxes from this table and Apply reads them back through it.
const std::vector<NumberField<OfficerRecord>>& OfficerNumberFields();

// What the number boxes cannot catch: an entry year beyond what a byte holds.
std::optional<FieldProblem> OfficerStorageProblem(const OfficerRecord& record);

}  // namespace varkel
