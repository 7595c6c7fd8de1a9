#pragma once

#include "person/biography.h"
#include "person/member_record.h"
#include "saveeditor/save_layout.h"

#include <QByteArray>

#include <array>

// The sixteen family members of a saved game: members 0..7 are the children and
// 8..15 the spouses of the officers the player slots control, member k belonging
// to slot k mod 8. Each is a 148-byte member record; a child also has a biography
// and growth values with ability caps inside its player slot.
namespace varkel::family {

inline constexpr int kMemberCount = save::kFamilyRecordCount;
inline constexpr int kChildCount = save::kPlayerSlotCount;
inline constexpr qsizetype kGrowthField = 962;  // in the player slot: 2 bytes of growth values, then 4 caps
inline constexpr int kMaxGrowth = 7;

inline constexpr bool isChild(int k)
{
    return k >= 0 && k < kChildCount;
}
inline constexpr int slotOf(int k)
{
    return k % kChildCount;
}
inline constexpr qsizetype record(int k)
{
    return save::kFamilyRecordOffset + save::kFamilyRecordSize * k;
}
inline constexpr qsizetype biographyRecord(int child)
{
    return save::kBiographyOffset + biography::kRecordSize * child;
}
inline constexpr qsizetype growthField(int child)
{
    return save::playerSlot(child) + kGrowthField;
}

}  // namespace varkel::family

namespace varkel {

struct FamilyMember : MemberRecord {
    // A child's, from its player slot; zero for a spouse.
    std::array<int, 4>
        growth{};  // 0..7: might +962 bits 4-2, intellect bits 7-5, politics +963 bits 2-0, charisma bits 5-3
    std::array<int, 4> caps{};    // ability caps, +964..967
};

FamilyMember DecodeFamilyMember(const QByteArray& save, int k);

// Stores member k's record and, for a child, its growth values and caps (the
// other bits of the two growth bytes kept). A spouse's write touches its record
// only. The biography is stored on its own (EncodeBiography at biographyRecord).
void EncodeFamilyMember(QByteArray& save, int k, const FamilyMember& member);

}  // namespace varkel
