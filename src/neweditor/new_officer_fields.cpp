#include "neweditor/new_officer_fields.h"

#include "saveeditor/person_fields.h"
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
    RecordField<MemberRecord>& lifespan =
        t.number("lifespan", "Text3(9)", QStringLiteral("壽命"), 1, none, member::kLifespanWholeYears,
                 member::kLifespanWholeYears, [](auto& r) -> auto& { return r.lifespanHalves; });
    lifespan.get = [](const MemberRecord& r) { return FieldValue{r.lifespanHalves / 2, {}, {}}; };
    lifespan.set = [](MemberRecord& r, const FieldValue& v) { r.lifespanHalves = 2 * v.number; };
    lifespan.shown = [](const MemberRecord& r) { return LifespanText(r.lifespanHalves); };
    AddAbilities(t);

    AddFaceAndFlags(t);
    t.choice("character_tendency", "人物傾向", GetResTexts(101, 104),
             [](auto& r) -> auto& { return r.characterTendency; });
    t.choice("strategic_tendency", "戰略傾向", GetResTexts(105, 111),
             [](auto& r) -> auto& { return r.strategicTendency; });
    t.choice("personality", "人物性格", GetResTexts(112, 116), [](auto& r) -> auto& { return r.personality; });
    t.choice("aspiration", "人物志向", GetResTexts(117, 121), [](auto& r) -> auto& { return r.aspiration; });
    t.choice("growth_tendency", "成長傾向", GetResTexts(122, 130),
             [](auto& r) -> auto& { return r.growthTendency; });

    AddSkillsAndTactics(
        t, [](auto& r) -> auto& { return r.skills; }, [](auto& r) -> auto& { return r.tactics; });
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
