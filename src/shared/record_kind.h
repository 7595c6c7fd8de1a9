#pragma once

#include "shared/number_fields.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace varkel {

// A checked edit of one record: values for some of its fields (index into the
// kind's fields()), and for a record the file keeps in several copies, whether
// the copies that drifted from the one read are to take its bytes.
struct RecordChanges {
    std::map<std::size_t, FieldValue> values;
    bool alignCopies = false;

    bool empty() const { return values.empty() && !alignCopies; }
};

// A mend of a finding that is safe and obvious: what it stores through the kind's
// checked write, and, in the window's words, what that will write.
struct FindingMend {
    RecordChanges changes;
    QString text;
};

// A stored value the windows cannot show as it is, or a problem of the file: the
// field and offset at fault, the value, what is odd about it in English (the
// command line's words) and in Traditional Chinese (the window's), and a mend
// where one is safe.
struct RecordFinding {
    int record = -1;  // -1 for the file as a whole
    QString field;
    qsizetype offset = 0;
    qint64 value = 0;
    QString what;
    QString reason;
    std::optional<FindingMend> mend;
};

// Gets each finding of one record and hands it back, so that a mend can be set.
using FindingSink = std::function<RecordFinding&(const char* field, qsizetype offset, qint64 value, const QString& what,
                                                 const QString& reason)>;

// One kind of record of a game file as the command line sees it: how many there
// are, what their fields are, and how to read and store them. A kind is a field
// table over a record codec; nothing outside the codec touches the bytes.
class RecordKind {
public:
    struct Extent {
        qsizetype offset;
        qsizetype size;
    };
    using Finding = RecordFinding;

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
    // The key of the field that holds what recordName() gives, where one does.
    virtual QString nameKey() const { return {}; }
    // One value per field of fields().
    virtual std::vector<FieldValue> read(int n) const = 0;
    // Texts shown beside the fields that name other records ("force_text"), and
    // the keys they can have: a text whose source is not at hand is left out.
    virtual std::vector<std::pair<QString, QString>> namedTexts(int) const { return {}; }
    virtual QStringList namedTextKeys() const { return {}; }
    // The caption of a key of namedTextKeys(): the label of the field that names the
    // record, with 名稱 after it; a kind captions the texts that stand for no field.
    virtual QString namedTextCaption(const QString& key) const;
    // Stores `changes` (index into fields() -> value) into record n of the file:
    // the whole record, or nothing and the problem.
    virtual std::optional<FieldProblem> write(int n, const std::map<std::size_t, FieldValue>& changes) = 0;
    // The buffers besides the loaded file that write() stores into (the scenario
    // bytes of a saved game's treasures), so that a refused edit puts them back too.
    virtual std::vector<QByteArray*> alsoWritten() const { return {}; }
    // Where record n lies in the file.
    virtual std::vector<Extent> extents(int n) const = 0;
    virtual std::vector<Finding> check() const { return {}; }
    // Stores record n as it reads into every copy the file keeps of it, so that
    // copies that drifted from the one read take its bytes; nothing for kinds that
    // keep one copy.
    virtual std::optional<FieldProblem> alignCopies(int) { return std::nullopt; }
    // For records that are about other officers (the intimacy levels toward them):
    // the record about `officer`, -1 when none is. Nothing for kinds whose records
    // are not addressed by officer.
    virtual std::optional<int> recordAbout(int) const { return std::nullopt; }

    // The index into fields() of the field keyed `key`, or nothing.
    std::optional<std::size_t> fieldIndex(const QString& key) const;

    // Record n's number, and the record a number names (-1 for none).
    int numberOf(int n) const { return firstNumber() + n; }
    int recordOf(int number) const
    {
        const int n = number - firstNumber();
        return number >= firstNumber() && n < count() ? n : -1;
    }

protected:
    // Adds to `found` the findings of each record in turn: `checkRecord(n, add)`
    // gives those of record n to `add`.
    void checkEach(std::vector<Finding>& found,
                   const std::function<void(int n, const FindingSink& add)>& checkRecord) const;
};

// A kind whose records decode to a `Record` and whose fields are a field table
// over it. It holds what such kinds do alike: the table's fields that each record
// holds (not a value of the whole file, nor one worked out), the file the kind is
// bound to, reading every field of a decoded record, and an edit as decode, set
// the changed fields, then check and encode. Each kind gives its names, its count,
// how a record is decoded and stored, and where it lies.
template <typename Record>
class TableKind : public RecordKind {
public:
    using Field = RecordField<Record>;
    using Changes = std::map<std::size_t, FieldValue>;

    QString name() const override { return name_; }
    QString recordKind(int) const override { return recordKind_; }
    const std::vector<const FieldSpec*>& fields() const final { return specs_; }
    void load(QByteArray& file) final
    {
        file_ = &file;
        loaded();
    }
    std::vector<FieldValue> read(int n) const override { return valuesOf(decode(n)); }
    std::optional<FieldProblem> write(int n, const Changes& changes) final
    {
        Record record = decode(n);
        for (const auto& [i, value] : changes)
            if (i < table_.size())
                table_[i]->set(record, value);
        return store(n, record, changes);
    }

protected:
    TableKind(QString name, QString recordKind, const std::vector<Field>& table)
        : name_(std::move(name)), recordKind_(std::move(recordKind))
    {
        for (const Field& field : table) {
            if (!Holds(field))
                continue;
            table_.push_back(&field);
            specs_.push_back(&field);
        }
    }

public:
    // Whether a kind over `table` has `field` among its fields(): a value each
    // record holds, not one of the whole file nor one worked out.
    static bool Holds(const Field& field) { return field.get && field.perRecord; }

protected:

    // Adds a field after the table's (a biography), which the kind reads and stores itself.
    void addOwnField(const FieldSpec& field) { specs_.push_back(&field); }

    // Record n as the file holds it.
    virtual Record decode(int n) const = 0;
    // Stores record n with the table's fields of `changes` set, or refuses it and
    // stores nothing. `changes` are the whole edit, a field of the kind's own included.
    virtual std::optional<FieldProblem> store(int n, Record& record, const Changes& changes) = 0;
    // Builds what the kind derives from the file just bound.
    virtual void loaded() {}

    QByteArray& file() const { return *file_; }
    const std::vector<const Field*>& table() const { return table_; }
    // The values of the table's fields, with room for the kind's own after them.
    std::vector<FieldValue> valuesOf(const Record& record) const
    {
        std::vector<FieldValue> values;
        values.reserve(specs_.size());
        for (const Field* field : table_)
            values.push_back(field->get(record));
        return values;
    }

private:
    QString name_;
    QString recordKind_;
    std::vector<const Field*> table_;
    std::vector<const FieldSpec*> specs_;
    QByteArray* file_ = nullptr;
};

// The edit of a record that turns `before` into `after`, as a view hands it to the
// kind of `table`: each field the kind holds whose value differs, by its index into
// the kind's fields(). A read-only field the view changed goes too (the full name a
// user typed); the command line's edits refuse those before they reach a kind.
template <typename Record>
RecordChanges ChangesBetween(const std::vector<RecordField<Record>>& table, const Record& before, const Record& after)
{
    RecordChanges changes;
    std::size_t index = 0;
    for (const RecordField<Record>& field : table) {
        if (!TableKind<Record>::Holds(field))
            continue;
        if (field.set)
            if (FieldValue value = field.get(after); !(value == field.get(before)))
                changes.values.emplace(index, std::move(value));
        ++index;
    }
    return changes;
}

// The index a kind over `table` gives the first field of its own, after the table's
// (a biography).
template <typename Record>
std::size_t OwnFieldIndex(const std::vector<RecordField<Record>>& table)
{
    return std::size_t(std::count_if(table.begin(), table.end(), &TableKind<Record>::Holds));
}

// What an edit of record n is called in the Edit menu: "修改 武將 葉德: 忠誠、武力";
// `caption` names the kind ("武將"), the record is named as it was before the edit.
QString EditStepName(const QString& caption, const RecordKind& kind, int n, const RecordChanges& changes);

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
    QString reason;  // with a problem: why, in the window's words, without the record
};

// Edits record n of a loaded kind: each (field key, typed value) is read as the
// record's view reads it. A value equal to what is stored is left alone, so its
// stored code stays; a value for a field the record lacks (absent) always goes
// to the kind, which refuses it. "kind", "number" and texts beside the fields are
// checked against the record; read-only fields that disagree, unknown fields and
// values that cannot be stored refuse the whole edit. `beyond` says what a number
// above the most its field can store does.
EditResult EditRecord(RecordKind& kind, QByteArray& file, int n,
                      const std::vector<std::pair<QString, QString>>& values,
                      BeyondStorable beyond = BeyondStorable::Refuse);

// The fields of record n that differ between two loaded kinds of the same sort,
// as changes from `a` to `b`.
std::vector<FieldChange> DiffRecord(const RecordKind& a, const RecordKind& b, int n);

// Stores `changes` into record n through the kind's checked write: the values,
// then the copies aligned. When the kind refuses, nothing is stored and the
// problem comes back.
std::optional<FieldProblem> StoreChanges(RecordKind& kind, int n, const RecordChanges& changes);

// The key of the text a record of `kind` shows beside `field` when the field's
// number names another record ("force" -> "force_text", "a" -> "a_name"); empty
// when there is none.
QString NamedTextKey(const RecordKind& kind, const FieldSpec& field);

// How a problem is named on one line: the record and the field's complaint.
QString ProblemLine(const RecordKind& kind, int n, const QString& message);

}  // namespace varkel
