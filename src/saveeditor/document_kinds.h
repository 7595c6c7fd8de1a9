#pragma once

#include "saveeditor/save_document.h"
#include "shared/record_batch.h"
#include "shared/record_kind.h"
#include "shared/record_source.h"

#include <QByteArray>
#include <QStringList>

#include <map>
#include <optional>
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

    SaveDocument& document() const { return document_; }

    // Kind `kind` (one with a field table, see MakeSaveKind) bound to the document's bytes as they
    // are now: the same object every time, loaded again after any change.
    RecordKind& kind(SaveRecord kind);

    // Stores `changes` into record n of `kind` through the kind's checked write, as
    // one undo step named for the record and its fields, announced as a change of
    // that record. The kind's problem when it refuses; nothing is stored then.
    // `first`, when given, runs in the same step before the kind's write: values of
    // the whole file a view shows beside the record (the game date).
    std::optional<FieldProblem> write(SaveRecord kind, int n, const RecordChanges& changes,
                                      const SaveDocument::Edit& first = {});
    // Whether that write would change the document or be refused: it is made on a copy.
    bool differs(SaveRecord kind, int n, const RecordChanges& changes, const SaveDocument::Edit& first = {}) const;

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
    // `first`, then `changes` through a kind bound to these buffers.
    std::optional<FieldProblem> writeInto(QByteArray& save, ScenarioData& scenario, SaveRecord kind, int n,
                                          const RecordChanges& changes, const SaveDocument::Edit& first) const;

    SaveDocument& document_;
    QStringList treasureNotes_;
    std::map<SaveRecord, Bound> bound_;
    std::map<SaveRecord, std::unique_ptr<RecordSource>> sources_;
};

}  // namespace varkel
