#include "person/person_fields.h"

#include "shared/name_field.h"

#include <algorithm>

namespace varkel::person_fields {

namespace {

constexpr int kFirstRawTactic = 14;  // nibbles 14 and 15 are no level

}  // namespace

int TacticLevel(int nibble)
{
    return nibble >= kFirstRawTactic ? nibble : NibbleToListIndex(nibble);
}

FieldValue SkillsValue(std::uint32_t skills)
{
    FieldValue v;
    for (int s = 0; s < kSkillCount; ++s)
        if (HasSkill(skills, s))
            v.list.push_back(s);
    return v;
}

void SetSkills(std::uint32_t& skills, const FieldValue& held)
{
    for (int s = 0; s < kSkillCount; ++s)
        SetSkill(skills, s, std::find(held.list.begin(), held.list.end(), s) != held.list.end());
}

FieldValue TacticsValue(const std::array<int, kTacticCount>& nibbles)
{
    FieldValue v;
    for (const int nibble : nibbles)
        v.list.push_back(TacticLevel(nibble));
    return v;
}

void SetTactics(std::array<int, kTacticCount>& nibbles, const FieldValue& levels)
{
    for (int k = 0; k < kTacticCount && k < int(levels.list.size()); ++k) {
        int& nibble = nibbles[std::size_t(k)];
        const int level = levels.list[std::size_t(k)];
        if (level != TacticLevel(nibble))
            nibble = level >= kFirstRawTactic ? level : ListIndexToNibble(level);
    }
}

}  // namespace varkel::person_fields
