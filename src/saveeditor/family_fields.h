#pragma once

#include "saveeditor/family_record.h"
#include "shared/number_fields.h"

#include <vector>

namespace varkel {

// Every field of a family member, as the family view shows it: the fields a
// member record shares with the new officers (same keys, captions and limits,
// the family view's boxes), then a child's ability caps and growth values. Number
// boxes come in the order their limits apply.
const std::vector<RecordField<FamilyMember>>& FamilyFields();
// The field of FamilyFields() with this key; the key must be one of them.
const RecordField<FamilyMember>& FamilyField(const QString& key);

}  // namespace varkel
