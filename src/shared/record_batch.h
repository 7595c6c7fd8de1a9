#pragma once

#include "shared/record_filter.h"
#include "shared/record_kind.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace varkel {

// One change a batch makes to a field of every record it picks, typed as
// FIELD=VALUE with the field by key or caption:
//
//   loyalty=90      the value, read as a single edit reads it (a list text, a name, ...)
//   loyalty=+10     more, loyalty=-5 less (also loyalty+=10, loyalty-=5)
//   loyalty=*120%   a share of the value, rounded (also loyalty*=120%)
//   loyalty=min     the field's lowest value, loyalty=max its highest
//   might=cap       up to the record's own cap for it (might_cap), where the kind has caps
//
// The sums, shares and caps are numbers only. What comes out goes through the
// field's limits as a typed number does: clamped to its limits, refused above what
// the record can hold.
struct Assignment {
    enum class Change { Value, Add, Share, Lowest, Highest, Cap };

    std::size_t field = 0;  // index into fields()
    Change change = Change::Value;
    QString valueText;       // Value: as typed; a value that reads as the record's own is left alone
    FieldValue value;        // Value: read once, as a single edit reads it
    bool clamped = false;    // Value: the typed value lay beyond the field's limits
    qlonglong amount = 0;    // Add: units (negative for less); Share: percent
    std::size_t capField = 0;  // Cap: the field holding the cap
    QString typed;           // as written, for messages
    BeyondStorable beyond = BeyondStorable::Refuse;  // what a number above what the field stores does
};

// Reads assignments against the fields of `kind`; nothing and why (the position
// is the index of the assignment at fault) when one cannot be made: an unknown or
// read-only field, a field named twice, a sum on a field that is no number, a
// value the field refuses everywhere.
std::optional<std::vector<Assignment>> ParseAssignments(const RecordKind& kind, const QStringList& typed,
                                                        FilterError* error,
                                                        BeyondStorable beyond = BeyondStorable::Refuse);

// What a batch did to one record.
struct BatchOutcome {
    enum class Result { Changed, Unchanged, Refused };

    int record = 0;  // its place in the kind; -1 for an imported row that names no record of it
    int number = -1;  // its number as the kind numbers records (as the imported row names it)
    Result result = Result::Unchanged;
    QString recordName;               // as it was before the batch
    std::vector<FieldChange> changes;  // Changed: every field that changed, read back, in table order
    QString problem;                   // Refused: why, one line; the record is as it was
};

struct BatchResult {
    std::vector<BatchOutcome> outcomes;  // one per record picked, in order

    int count(BatchOutcome::Result result) const;
    std::vector<int> changedRecords() const;
};

// Makes `assignments` to each of `records` (places) of `kind`, through its checked
// write(), into the buffers the kind is bound to: every record that can change
// changes, one the kind refuses is left as it was and says why. A window runs it
// inside one step of its document; a preview is the same run on a copy of the
// buffers with a kind bound to them.
BatchResult RunBatch(RecordKind& kind, const std::vector<int>& records, const std::vector<Assignment>& assignments);
// The same over the records `filter` picks, all picked before any changes.
BatchResult RunBatch(RecordKind& kind, const RecordFilter& filter, const std::vector<Assignment>& assignments);

}  // namespace varkel
