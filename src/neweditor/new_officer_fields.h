#pragma once

#include "person/member_record.h"
#include "shared/number_fields.h"

#include <vector>

namespace varkel {

// Every field of a new officer, as the new-officer view shows it: names, number
// boxes in the order their limits apply, the five tendency lists, flags, skills and
// tactics. Keys, captions and limits of what the officer view shows too are the
// officer table's. The lifespan box takes whole years; a half year it was shown
// with is kept while the box still shows it (see RecordField::shown).
const std::vector<RecordField<MemberRecord>>& NewOfficerFields();
// The field of NewOfficerFields() with this key; the key must be one of them.
const RecordField<MemberRecord>& NewOfficerField(const QString& key);

}  // namespace varkel
