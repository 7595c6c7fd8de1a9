#include "neweditor/new_officer_fields.h"

#include "person/person_fields.h"
#include "shared/texts.h"

namespace varkel {

namespace {

using namespace person_fields;

std::vector<RecordField<MemberRecord>> buildFields()
{
    FieldTable<MemberRecord> t;
    const auto none = std::nullopt;
    AddNames(t);

    // Number boxes, limits first, in the order they are applied.
    AddTemper(t);
    AddRelations(t, {"Text3(4)", "Text3(5)", "Text3(6)"});
    t.number("compatible_officer", "Text3(7)", QStringLiteral("相性相符武將"), 5, none, kWord, kWord,
             [](auto& r) -> auto& { return r.compatibleOfficer; });
    AddBirthYear(t);
    AddLifespan(t, "Text3(9)");
    AddAbilities(t);

    AddFaceAndFlags(t);
    AddTendencies(t);
    AddMemberSkillsAndTactics(t);
    return std::move(t.fields);
}

}  // namespace

const std::vector<RecordField<MemberRecord>>& NewOfficerFields()
{
    static const std::vector<RecordField<MemberRecord>> fields = buildFields();
    return fields;
}

const RecordField<MemberRecord>& NewOfficerField(const QString& key)
{
    return FieldWithKey(NewOfficerFields(), key);
}

}  // namespace varkel
