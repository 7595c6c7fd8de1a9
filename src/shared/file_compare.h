#pragma once

#include "shared/record_kind.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace varkel {

// The record kinds of one file, bound to its bytes, in the order its file type
// lists them: two files of one type have their kinds at the same places.
using RecordKinds = std::vector<std::unique_ptr<RecordKind>>;

// One field of a record that two files hold differently: the values here (ours)
// and there (theirs), as stored and as a view shows them.
struct FieldDifference {
    std::size_t field = 0;  // index into the kind's fields()
    QString key;            // "loyalty"
    QString caption;        // "忠誠"
    bool readOnly = false;  // worked out or set elsewhere: it cannot be taken over on its own
    FieldValue ours;
    FieldValue theirs;
    // The values as typed and dumped: a list's text, skill names, "7.5".
    QString oursText;
    QString theirsText;
    // For a number that names another record (an officer, a force), the name the
    // record shows beside it; empty when it names none or the name is not at hand.
    QString oursName;
    QString theirsName;

    // What a view shows: the text, with the name beside a number that names one.
    QString oursShown() const;
    QString theirsShown() const;
};

// A record that differs between the two files, or that only one of them has.
struct RecordDifference {
    enum class Presence { Both, OnlyOurs, OnlyTheirs };

    int record = 0;  // its place in the kind
    int number = 0;  // as the command line numbers it
    QString recordKind;  // "officer"
    QString name;        // as the file that has it names it (ours when both do)
    Presence presence = Presence::Both;
    std::vector<FieldDifference> fields;  // Both: in table order
};

// The records of one kind that differ, in record order.
struct KindDifference {
    std::size_t kind = 0;  // index into both files' kinds
    QString name;          // "officers"
    std::vector<RecordDifference> records;
};

struct FileComparison {
    static constexpr int kUnownedShown = 16;

    std::vector<KindDifference> kinds;  // the kinds compared that have differences, in kind order
    qsizetype oursSize = 0;
    qsizetype theirsSize = 0;
    // Bytes that differ (or that only the longer file has) outside every field
    // that was found to differ: how many and where the first ones are. Not
    // counted when the comparison is of one kind.
    bool unownedCompared = false;
    qsizetype unownedCount = 0;
    std::vector<qsizetype> firstUnowned;  // at most kUnownedShown, in order

    // Whether anything differs (a difference in size alone does not count).
    bool found() const { return !kinds.empty() || unownedCount > 0; }
    const KindDifference* kind(std::size_t index) const;
    const RecordDifference* record(std::size_t kind, int record) const;
};

// Compares two files of one type, kind by kind (only kind `only` when it is given)
// and record by record; tables worked out from the records (kinds without
// extents) are left out. Unless one kind is compared, counts the differing bytes
// that no differing record owns.
FileComparison CompareFiles(const RecordKinds& ours, const QByteArray& oursBytes, const RecordKinds& theirs,
                            const QByteArray& theirsBytes, std::optional<std::size_t> only = std::nullopt);

// An edit of one record of a file through its kind's checked write.
struct RecordEdit {
    std::size_t kind = 0;  // index into the file's kinds
    int record = 0;        // place
    RecordChanges changes;
};

// An edit that is not made: the record it is about and why, in the window's words
// (a write's refusal as the kind gives it).
struct EditRefusal {
    std::size_t kind = 0;
    int record = 0;
    QString field;  // the key of the field at fault, when it is one
    QString problem;
};

// What of a comparison to take over from theirs into ours.
struct TakeSelection {
    enum class Scope { Field, Record, Kind, Everything };

    Scope scope = Scope::Everything;
    std::size_t kind = 0;   // Field, Record, Kind
    int record = 0;         // Field, Record: its place
    std::size_t field = 0;  // Field: index into fields()

    static TakeSelection oneField(std::size_t kind, int record, std::size_t field)
    {
        return {Scope::Field, kind, record, field};
    }
    static TakeSelection oneRecord(std::size_t kind, int record) { return {Scope::Record, kind, record, 0}; }
    static TakeSelection oneKind(std::size_t kind) { return {Scope::Kind, kind, 0, 0}; }
    static TakeSelection everything() { return {}; }
};

struct TakeTheirs {
    std::vector<RecordEdit> edits;      // one per record, in the comparison's order
    std::vector<EditRefusal> refused;   // records or fields that cannot be taken over
};

// The edits that store their values into our records for what `selection` picks
// of `comparison`: the differing fields that can be written. A record only they
// have, and a read-only field picked alone, are refused here; read-only fields of a
// record taken whole are left out (a worked-out one follows the fields it is made
// of, one set elsewhere stays: a new comparison shows it). What the kinds refuse
// comes back from ApplyRecordEdits.
TakeTheirs TheirsEdits(const FileComparison& comparison, const TakeSelection& selection);

// Makes `edits` through the checked writes of `kinds`, each record whole or not at
// all: the refusals, one per record refused. A window runs it inside one step of
// its document, over kinds bound to the document's buffers.
std::vector<EditRefusal> ApplyRecordEdits(const RecordKinds& kinds, const std::vector<RecordEdit>& edits);

}  // namespace varkel
