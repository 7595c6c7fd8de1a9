#include "saveeditor/family_fields.h"

#include "person/person_fields.h"
#include "shared/texts.h"

namespace varkel {

namespace {

using namespace person_fields;

std::vector<RecordField<FamilyMember>> buildFields()
{
    FieldTable<FamilyMember> t;
    AddNames(t);

    AddTemper(t, "Text10");
    AddCompatibility(t, "Text10(4)");
    AddBirthYear(t, "Text10(5)");
    AddLifespan(t, "Text10(6)");
    AddAbilities(t, "Text9");
    // A child's caps and growth values; a spouse shows them as 0 and has none.
    const std::array<const char*, 4> caps = {"might_cap", "intellect_cap", "politics_cap", "charisma_cap"};
    const std::array<const char*, 4> growth = {"might_growth", "intellect_growth", "politics_growth",
                                               "charisma_growth"};
    for (int a = 0; a < 4; ++a) {
        const auto i = std::size_t(a);
        const QString ability = GetResText(Text::Abilities.first + a);
        t.number(caps[i], "", ability + QStringLiteral("上限"), 3, std::nullopt, std::nullopt, kByte,
                 [i](auto& r) -> auto& { return r.caps[i]; })
            .control = QStringLiteral("Text9(%1)").arg(4 + a);
        t.number(growth[i], "", ability + QStringLiteral("成長值"), 1, std::nullopt, family::kMaxGrowth,
                 family::kMaxGrowth, [i](auto& r) -> auto& { return r.growth[i]; })
            .control = QStringLiteral("Text12(%1)").arg(a);
    }

    AddFaceAndFlags(t);
    AddTendencies(t);
    AddMemberSkillsAndTactics(t);
    return std::move(t.fields);
}

}  // namespace

const std::vector<RecordField<FamilyMember>>& FamilyFields()
{
    static const std::vector<RecordField<FamilyMember>> fields = buildFields();
    return fields;
}

const RecordField<FamilyMember>& FamilyField(const QString& key)
{
    return FieldWithKey(FamilyFields(), key);
}

}  // namespace varkel
