#pragma once

#include "shared/document.h"
#include "shared/record_batch.h"
#include "shared/record_kind.h"

#include <vector>

namespace varkel {

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
    // What `assignments` would do to `records` (places); the document is untouched.
    virtual BatchResult preview(const std::vector<int>& records, const std::vector<Assignment>& assignments) = 0;
    // Makes them as one step of the document's history (none when nothing changed).
    virtual BatchResult apply(const std::vector<int>& records, const std::vector<Assignment>& assignments) = 0;
};

}  // namespace varkel
