#pragma once

#include "shared/number_fields.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

namespace varkel {

// One kind of record of a game file as the command line sees it: how many there
// are, what their fields are, and how to read and store them. A kind is a field
// table over a record codec; nothing outside the codec touches the bytes.
class RecordKind {
public:
    struct Extent {
        qsizetype offset;
        qsizetype size;
    };
    // A stored value the windows cannot show as it is, or a problem of the file.
    struct Finding {
        int record = -1;  // -1 for the file as a whole
        QString field;
        qsizetype offset = 0;
        qint64 value = 0;
        QString what;
    };

    virtual ~RecordKind() = default;

    virtual QString name() const = 0;  // "officers", as --records takes it
    virtual QString recordKind(int n) const = 0;  // "officer", each record's "kind"
    // The fields every record has, in output order.
    virtual const std::vector<const FieldSpec*>& fields() const = 0;
    // What record 0 is numbered on the command line and in edits: the new officers
    // go on from the officers' numbers at 660. Everything else here takes the
    // record's place, 0..count() - 1.
    virtual int firstNumber() const { return 0; }

    // Binds the kind to the file its records are read from and written to, and
    // builds the tables derived from it. `file` must outlive the binding.
    virtual void load(QByteArray& file) = 0;
    virtual int count() const = 0;
    virtual QString recordName(int n) const = 0;
    // One value per field of fields().
    virtual std::vector<FieldValue> read(int n) const = 0;
    // Texts shown beside the fields that name other records ("force_text"), and
    // the keys they can have: a text whose source is not at hand is left out.
    virtual std::vector<std::pair<QString, QString>> namedTexts(int) const { return {}; }
    virtual QStringList namedTextKeys() const { return {}; }
    // Stores `changes` (index into fields() -> value) into record n of the file:
    // the whole record, or nothing and the problem.
    virtual std::optional<FieldProblem> write(int n, const std::map<std::size_t, FieldValue>& changes) = 0;
    // The buffers besides the loaded file that write() stores into (the scenario
    // bytes of a saved game's treasures), so that a refused edit puts them back too.
    virtual std::vector<QByteArray*> alsoWritten() const { return {}; }
    // Where record n lies in the file.
    virtual std::vector<Extent> extents(int n) const = 0;
    virtual std::vector<Finding> check() const { return {}; }
    // For records that are about other officers (the intimacy levels toward them):
    // the record about `officer`, -1 when none is. Nothing for kinds whose records
    // are not addressed by officer.
    virtual std::optional<int> recordAbout(int) const { return std::nullopt; }

    // Record n's number, and the record a number names (-1 for none).
    int numberOf(int n) const { return firstNumber() + n; }
    int recordOf(int number) const
    {
        const int n = number - firstNumber();
        return number >= firstNumber() && n < count() ? n : -1;
    }
};

// One field changed by an edit, for the lines the command line prints.
struct FieldChange {
    QString field;
    QString before;
    QString after;
    bool clamped = false;
};

struct EditResult {
    QString recordName;  // as it was before the edit
    std::vector<FieldChange> changes;  // every field that changed, in table order
    std::optional<QString> problem;  // set: nothing was stored
};

// Edits record n of a loaded kind: each (field key, typed value) is read as the
// record's view reads it. A value equal to what is stored is left alone, so its
// stored code stays; a value for a field the record lacks (absent) always goes
// to the kind, which refuses it. "kind", "number" and texts beside the fields are
// checked against the record; read-only fields that disagree, unknown fields and
// values that cannot be stored refuse the whole edit.
EditResult EditRecord(RecordKind& kind, QByteArray& file, int n, const std::vector<std::pair<QString, QString>>& values);

// The fields of record n that differ between two loaded kinds of the same sort,
// as changes from `a` to `b`.
std::vector<FieldChange> DiffRecord(const RecordKind& a, const RecordKind& b, int n);

// How a problem is named on one line: the record and the field's complaint.
QString ProblemLine(const RecordKind& kind, int n, const QString& message);

}  // namespace varkel
