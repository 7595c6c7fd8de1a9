#pragma once

#include "person/member_record.h"
#include "person/person_block.h"
#include "shared/field_table.h"
#include "shared/texts.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

// The fields every person record shares (officers, family members, new officers):
// the person block, skills and tactic levels. Each record's table adds them in its
// own order, with the boxes its view shows them in, so keys, captions and limits
// are declared once. The accessors need only a `person` member of the record.
namespace varkel::person_fields {

inline constexpr int kByte = 255;
inline constexpr int kWord = 65535;
inline constexpr int kLastFace = 845;

// The list level a stored tactic nibble shows as; 14 and 15 stand for themselves.
int TacticLevel(int nibble);
FieldValue SkillsValue(std::uint32_t skills);
void SetSkills(std::uint32_t& skills, const FieldValue& held);
FieldValue TacticsValue(const std::array<int, kTacticCount>& nibbles);
// A level left as it was keeps its stored nibble (1..7 also show as "未").
void SetTactics(std::array<int, kTacticCount>& nibbles, const FieldValue& levels);

template <typename Record>
void AddNames(FieldTable<Record>& t)
{
    t.name("surname", "姓", 2, [](auto& r) -> auto& { return r.person.surname; });
    t.name("given_name", "名", 2, [](auto& r) -> auto& { return r.person.givenName; });
    t.name("courtesy_name", "字", 2, [](auto& r) -> auto& { return r.person.courtesyName; });
    t.name("title", "稱號", 5, [](auto& r) -> auto& { return r.person.title; });
    // Always written as surname + given name.
    t.name("full_name", "姓名", 4, [](auto& r) -> auto& { return r.person.fullName; }).readOnly = true;
}

// Bravery, calmness, duty and ambition: boxes 0..3 of `boxes` ("Text3" in the
// officer and new-officer views).
template <typename Record>
void AddTemper(FieldTable<Record>& t, const char* boxes = "Text3")
{
    const auto none = std::nullopt;
    const auto box = [boxes](int i) { return QStringLiteral("%1(%2)").arg(QLatin1String(boxes)).arg(i); };
    const auto bravery = [](auto& r) -> auto& { return r.person.bravery; };
    t.number("bravery", "", QStringLiteral("勇猛"), 1, none, 7, 7, bravery).control = box(0);
    const auto calmness = [](auto& r) -> auto& { return r.person.calmness; };
    t.number("calmness", "", QStringLiteral("冷靜"), 1, none, 7, 7, calmness).control = box(1);
    const auto duty = [](auto& r) -> auto& { return r.person.duty; };
    t.number("duty", "", QStringLiteral("義理"), 2, none, 15, 15, duty).control = box(2);
    const auto ambition = [](auto& r) -> auto& { return r.person.ambition; };
    t.number("ambition", "", QStringLiteral("野心"), 2, none, 15, 15, ambition).control = box(3);
}

// The boxes of the related officer, the family and the compatibility value,
// which each view places at its own index.
struct RelationBoxes {
    const char* relatedOfficer;
    const char* family;
    const char* compatibility;
};

template <typename Record>
void AddCompatibility(FieldTable<Record>& t, const char* box)
{
    t.number("compatibility", box, QStringLiteral("相性"), 3, std::nullopt, 150, kByte,
             [](auto& r) -> auto& { return r.person.compatibility; });
}

template <typename Record>
void AddRelations(FieldTable<Record>& t, const RelationBoxes& boxes)
{
    const auto none = std::nullopt;
    t.number("related_officer", boxes.relatedOfficer, QStringLiteral("親武將"), 5, none, kWord, kWord,
             [](auto& r) -> auto& { return r.person.relatedOfficer; });
    t.number("family", boxes.family, QStringLiteral("家族"), 5, none, kWord, kWord,
             [](auto& r) -> auto& { return r.person.familyNumber; });
    AddCompatibility(t, boxes.compatibility);
}

template <typename Record>
void AddBirthYear(FieldTable<Record>& t, const char* box = "Text3(8)")
{
    t.number("birth_year", box, QStringLiteral("出生"), 3, 100, 355, 355,
             [](auto& r) -> auto& { return r.person.birthYear; });
}

// Boxes 0..3 of `boxes`; no limits of their own, only what the record can hold.
template <typename Record>
void AddAbilities(FieldTable<Record>& t, const char* boxes = "Text2")
{
    const std::array<const char*, 4> keys = {"might", "intellect", "politics", "charisma"};
    for (int i = 0; i < 4; ++i)
        t.number(keys[std::size_t(i)], "", GetResText(Text::Abilities.first + i), 3, std::nullopt, std::nullopt, kByte,
                 [i](auto& r) -> auto& { return r.person.abilities[std::size_t(i)]; })
            .control = QStringLiteral("%1(%2)").arg(QLatin1String(boxes)).arg(i);
}

// The face (chosen from the face bank by the face picker), the sex and the
// preferred tactic kinds.
template <typename Record>
void AddFaceAndFlags(FieldTable<Record>& t)
{
    t.number("face", "", QStringLiteral("頭像"), 3, std::nullopt, std::nullopt, kLastFace,
             [](auto& r) -> auto& { return r.person.face; });
    t.flag("female", "女", [](auto& r) -> auto& { return r.person.female; });
    t.flag("tactic_direct", "直接", [](auto& r) -> auto& { return r.person.tacticDirect; });
    t.flag("tactic_shooting", "射擊", [](auto& r) -> auto& { return r.person.tacticShooting; });
    t.flag("tactic_surprise", "奇襲", [](auto& r) -> auto& { return r.person.tacticSurprise; });
    t.flag("tactic_scheme", "計謀", [](auto& r) -> auto& { return r.person.tacticScheme; });
}

// `skills` and `tactics` reach the record's skill bits and tactic nibbles.
template <typename Record, typename SkillsRef, typename TacticsRef>
void AddSkillsAndTactics(FieldTable<Record>& t, SkillsRef skills, TacticsRef tactics)
{
    RecordField<Record>& s = t.add("skills", QStringLiteral("特技"), FieldKind::Skills);
    s.items = SkillBoxCaptions();
    s.get = [skills](const Record& r) { return SkillsValue(skills(r)); };
    s.set = [skills](Record& r, const FieldValue& v) { SetSkills(skills(r), v); };

    RecordField<Record>& k = t.add("tactics", QStringLiteral("戰法"), FieldKind::Tactics);
    k.capacity = kTacticCount;
    k.items = GetResTexts(Text::TacticLevels);
    k.get = [tactics](const Record& r) { return TacticsValue(tactics(r)); };
    k.set = [tactics](Record& r, const FieldValue& v) { SetTactics(tactics(r), v); };
}

// The fields of a member record (new officers, family members) beyond the
// person block.

// Kept in half years. The box takes whole years (up to 7); a half year it was
// shown with is kept while the box still shows it.
template <typename Record>
void AddLifespan(FieldTable<Record>& t, const char* box)
{
    t.number("lifespan", box, QStringLiteral("壽命"), 1, std::nullopt, 2 * member::kLifespanWholeYears,
             member::kLifespanMaxHalves, [](auto& r) -> auto& { return r.lifespanHalves; })
        .halves = true;
}

// The five tendency lists, in the order the views show them.
template <typename Record>
void AddTendencies(FieldTable<Record>& t)
{
    t.choice("character_tendency", "人物傾向", GetResTexts(Text::CharacterTendencies),
             [](auto& r) -> auto& { return r.characterTendency; });
    t.choice("strategic_tendency", "戰略傾向", GetResTexts(Text::StrategicTendencies),
             [](auto& r) -> auto& { return r.strategicTendency; });
    t.choice("personality", "人物性格", GetResTexts(Text::Personalities),
             [](auto& r) -> auto& { return r.personality; });
    t.choice("aspiration", "人物志向", GetResTexts(Text::Aspirations), [](auto& r) -> auto& { return r.aspiration; });
    t.choice("growth_tendency", "成長傾向", GetResTexts(Text::GrowthTendencies),
             [](auto& r) -> auto& { return r.growthTendency; });
}

template <typename Record>
void AddMemberSkillsAndTactics(FieldTable<Record>& t)
{
    AddSkillsAndTactics(t, [](auto& r) -> auto& { return r.skills; }, [](auto& r) -> auto& { return r.tactics; });
}

// After an edit has set `changes` (indices into `fields`; one past them is a
// field of the kind's own) into `record`: as in the views, the full name follows
// a new surname or given name, unless the edit gives the full name itself (a view
// passes on what the user typed). Whether it did.
template <typename Record>
bool FullNameFollows(Record& record, const std::vector<const RecordField<Record>*>& fields,
                     const std::map<std::size_t, FieldValue>& changes)
{
    bool renamed = false, named = false;
    for (const auto& [i, value] : changes) {
        if (i >= fields.size())
            continue;
        const QString& key = fields[i]->key;
        renamed = renamed || key == QLatin1String("surname") || key == QLatin1String("given_name");
        named = named || key == QLatin1String("full_name");
    }
    if (renamed && !named)
        record.person.fullName = record.person.surname + record.person.givenName;
    return renamed;
}

}  // namespace varkel::person_fields
