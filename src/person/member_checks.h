#pragma once

#include "person/member_record.h"
#include "person/person_fields.h"
#include "shared/number_fields.h"
#include "shared/record_kind.h"

#include <QString>

#include <map>
#include <optional>
#include <vector>

// What every kind built on the member record shares (new officers, family
// members): the steps of an edit, stored values the views show raw, and
// biographies that could not be stored again once changed.
namespace varkel {

// An edit of a member record, once its table's fields are set into the record:
// whether the record changed (the full name following the surname and given name,
// as in the views), and the biography, which comes after the table's fields and
// is handed back.
struct MemberEdit {
    bool recordChanged = false;
    const FieldValue* biography = nullptr;
};
template <typename Record>
MemberEdit FollowMemberChanges(Record& record, const std::vector<const RecordField<Record>*>& fields,
                               const std::map<std::size_t, FieldValue>& changes)
{
    MemberEdit edit;
    for (const auto& [i, value] : changes) {
        if (i == fields.size())
            edit.biography = &value;
        else
            edit.recordChanged = true;
    }
    person_fields::FullNameFollows(record, fields, changes);
    return edit;
}

// The field of a member's biography, after the table's fields, shown in `control`:
// several lines of double-byte characters, at most what a record holds.
FieldSpec BiographyField(const QString& control);

// Stores a changed biography at `start` of `buffer`; a refusal names the field
// and writes nothing.
std::optional<FieldProblem> StoreBiography(QByteArray& buffer, qsizetype start, const FieldValue& text,
                                           const FieldSpec& field);

// Tactic nibbles 14 and 15, a strategic tendency or aspiration outside its list,
// a face beyond the bank; `start` is where the record lies.
void CheckMemberRecord(const MemberRecord& record, qsizetype start, const FindingSink& add);

// A biography is kept as it is read; more than 74 characters or a single-byte one
// could not be stored again once changed. `file` names the file it is in, when
// that is not the checked one.
void CheckBiography(const QString& text, qsizetype start, const FindingSink& add, const QString& file = {});

// The window's words for findings every record with tactics or a face has: tactic
// t holding a nibble that is no level, a face beyond the bank.
QString OddTacticReason(int t, int nibble);
QString FaceBeyondBankReason(int face);

}  // namespace varkel
