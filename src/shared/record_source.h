#pragma once

#include "shared/document.h"
#include "shared/record_batch.h"
#include "shared/record_kind.h"

#include <QByteArray>

#include <functional>
#include <vector>

namespace varkel {

// A change of many records of one kind (a batch, an import): it edits the kind,
// bound to `file`, and says what it did to each record.
using BatchRun = std::function<BatchResult(RecordKind& kind, QByteArray& file)>;

// The run that makes `assignments` to `records` (places).
inline BatchRun Assigning(std::vector<int> records, std::vector<Assignment> assignments)
{
    return [records = std::move(records), assignments = std::move(assignments)](RecordKind& kind, QByteArray&) {
        return RunBatch(kind, records, assignments);
    };
}

// One record kind of an open document, as a window that lists all its records and
// changes many at once sees it.
class RecordSource {
public:
    virtual ~RecordSource() = default;

    virtual Document& document() = 0;
    // The kind's number in the document's changes (DocumentChange::kind).
    virtual int documentKind() const = 0;
    // The kind, bound to the document's bytes as they are now.
    virtual const RecordKind& kind() = 0;
    // What `run` would do to the records, run on a copy of the document's bytes;
    // the document is untouched.
    virtual BatchResult preview(const BatchRun& run) = 0;
    // Runs it on the document's bytes as one step of its history (none when no
    // record changed), announced as a change of `records` (places).
    virtual BatchResult apply(const std::vector<int>& records, const BatchRun& run) = 0;
};

}  // namespace varkel
