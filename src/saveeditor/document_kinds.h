#pragma once

#include "saveeditor/save_document.h"
#include "shared/record_batch.h"
#include "shared/record_kind.h"
#include "shared/record_source.h"

#include <QByteArray>
#include <QStringList>

#include <map>
#include <memory>
#include <vector>

namespace varkel {

// The record kinds of an open saved game, read from the document's bytes as they
// are now, and batch changes of them made as one step of the document's history.
class DocumentKinds {
public:
    // `document` must outlive this.
    DocumentKinds(SaveDocument& document, QStringList treasureNotes);
    ~DocumentKinds();

    // Kind `kind` (one with a field table, see MakeSaveKind) bound to the document's bytes as they
    // are now: the same object every time, loaded again after any change.
    RecordKind& kind(SaveRecord kind);

    // What `run` would do to records of `kind`, the document untouched.
    BatchResult preview(SaveRecord kind, const BatchRun& run);
    // Runs it as one undo step announced as a change of `records`; no step when no
    // record changed.
    BatchResult apply(SaveRecord kind, const std::vector<int>& records, const BatchRun& run);
    // The same for `assignments` made to `records` (places).
    BatchResult preview(SaveRecord kind, const std::vector<int>& records, const std::vector<Assignment>& assignments);
    BatchResult apply(SaveRecord kind, const std::vector<int>& records, const std::vector<Assignment>& assignments);
    // The records of `kind` as a window of all records sees them; lives as long as this.
    RecordSource& source(SaveRecord kind);

private:
    struct Bound {
        std::unique_ptr<RecordKind> kind;
        QByteArray save;  // the document's bytes at `revision`
        QByteArray scenario;
        quint64 revision = 0;
    };
    class Source;

    std::unique_ptr<RecordKind> make(SaveRecord kind, QByteArray* scenario) const;

    SaveDocument& document_;
    QStringList treasureNotes_;
    std::map<SaveRecord, Bound> bound_;
    std::map<SaveRecord, std::unique_ptr<RecordSource>> sources_;
};

}  // namespace varkel
