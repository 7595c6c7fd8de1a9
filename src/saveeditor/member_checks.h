#pragma once

#include "saveeditor/member_record.h"
#include "shared/number_fields.h"
#include "shared/record_kind.h"

#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <vector>

// What every kind built on the member record shares (new officers, family
// members): the steps of an edit, stored values the views show raw, and
// biographies that could not be stored again once changed.
namespace varkel {

// An edit of a member record: the field changes put into `record` (the full name
// following the surname and given name, as in the views), except that of the
// biography, which comes after the table's fields and is handed back.
struct MemberEdit {
    bool recordChanged = false;
    const FieldValue* biography = nullptr;
};
template <typename Record>
MemberEdit ApplyMemberChanges(Record& record, const std::vector<const RecordField<Record>*>& fields,
                              const std::map<std::size_t, FieldValue>& changes)
{
    MemberEdit edit;
    bool renamed = false;
    for (const auto& [i, value] : changes) {
        if (i == fields.size()) {
            edit.biography = &value;
            continue;
        }
        fields[i]->set(record, value);
        edit.recordChanged = true;
        renamed = renamed || fields[i]->key == QLatin1String("surname") || fields[i]->key == QLatin1String("given_name");
    }
    if (renamed)
        record.person.fullName = record.person.surname + record.person.givenName;
    return edit;
}

// The field of a member's biography, after the table's fields, shown in `control`:
// several lines of double-byte characters, at most what a record holds.
FieldSpec BiographyField(const QString& control);

// Stores a changed biography at `start` of `buffer`; a refusal names the field
// and writes nothing.
std::optional<FieldProblem> StoreBiography(QByteArray& buffer, qsizetype start, const FieldValue& text,
                                           const FieldSpec& field);

// Gets each finding of one record: the field, the offset at fault, the value and
// what is odd about it.
using FindingSink = std::function<void(const char* field, qsizetype offset, qint64 value, const QString& what)>;

// Tactic nibbles 14 and 15, a strategic tendency or aspiration outside its list,
// a face beyond the bank; `start` is where the record lies.
void CheckMemberRecord(const MemberRecord& record, qsizetype start, const FindingSink& add);

// A biography is kept as it is read; more than 74 characters or a single-byte one
// could not be stored again once changed. `where` ends the finding's text (the
// file it is in, when that is not the checked one).
void CheckBiography(const QString& text, qsizetype start, const FindingSink& add, const QString& where = {});

}  // namespace varkel
