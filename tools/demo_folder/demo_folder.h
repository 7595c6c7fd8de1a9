#pragma once

#include <QString>

namespace varkel::demo {

// Writes the complete synthetic game folder into `folder` (created when absent).
// The same call always writes the same bytes. Returns an error message, or an
// empty string on success.
//
// The nine saves "svd_00.sav".."svd_08.sav" differ on purpose:
inline constexpr int kDemoNewestSlot = 5;           // latest modification time
inline constexpr int kDemoSlotWith760Officers = 1;  // officer 760 unnamed (761.. named but not counted)
inline constexpr int kDemoLongSlot = 2;             // 374,600 bytes, non-zero tail
inline constexpr int kDemoSlotWith860Officers = 3;  // officers 760..859 all named
inline constexpr int kDemoShortSlot = 4;            // 374,520 bytes
inline constexpr int kDemoOddTacticSlot = 6;        // one officer with tactic nibble 14
inline constexpr int kDemoOddTacticOfficer = 123;   // ... its tactic 0 ("突擊")
inline constexpr int kDemoSlotWithSevenControlled = 7;  // seven controlled officers, player slot 2 unflagged
inline constexpr int kDemoSlotWithEightControlled = 8;  // all eight player slots controlled
inline constexpr int kDemoFullPersonMapSlot = kDemoSlotWith860Officers;  // no empty person-map entry
// The other slots control three to five officers, one player slot names an
// officer whose flag is clear, and the rest are empty. Every slot but the full
// one leaves the person map empty from the officer count on and leaves out:
inline constexpr int kDemoUnlistedFreeOfficer = 707;  // free (在野), no person number
inline constexpr int kDemoUnlistedDeadOfficer = 710;  // dead, no person number
inline constexpr int kDemoListedNotAppearedOfficer = 709;  // not appeared, yet listed
// Treasures hold a few values the editor shows raw: in every slot treasure 13
// belongs to officer 1800, beyond the officer name table, and the scenario stores
// skill byte 30 for treasure 77 (and 26, which reads as none, for treasure 200).
// Slots with more than 800 officers give every tenth treasure an owner from 800 on.
inline constexpr int kDemoTreasureWithOddOwner = 13;
inline constexpr int kDemoOddOwner = 1800;
inline constexpr int kDemoTreasureWithOddSkill = 77;
inline constexpr int kDemoOddSkill = 30;
inline constexpr int kDemoHighOwnerFrom = 800;
// The note stretch holds a lone 0 byte after the end code of note 39, so the
// codes of notes 40..79 start one byte later.
inline constexpr int kDemoNoteBeforeLoneZero = 39;
// Every player slot that names an officer has a family: a child aged
// kDemoChildAges[slot] (0: born after the game year) and a spouse, except slot 5,
// whose child has none. Slot 2's officer is not controlled, so its members have no
// officer to be shown with. Children's biographies have the lengths below (-1: a
// few clauses). The spouse of slot 0 (member 8) has two equal largest abilities;
// slot 1's officer of slot 3 is a woman, so member 11 is a husband.
inline constexpr int kDemoChildAges[8] = {14, 15, 9, 10, 0, 6, 12, 3};
inline constexpr int kDemoChildBiographyLengths[8] = {0, 19, -1, 74, 76, -1, -1, -1};
inline constexpr int kDemoSlotWithoutSpouse = 5;
inline constexpr int kDemoSpouseWithTiedAbilities = 0;
inline constexpr int kDemoSaveWithAFemaleOfficer = 1;
inline constexpr int kDemoFemaleOfficersSlot = 3;
// The saved game whose month is 1 also sets bit 0 of byte 1890.
inline constexpr int kDemoMonthOneSlot = kDemoSlotWith860Officers;
// "Svd_sys.sav" has records for these new officers (the others are empty). In
// this order their growth tendencies run 0..8 and again (8 is 提督); the record
// below also sets bit 0 of byte 59 beside the 提督 mark, so it reads as its other
// bits. Record 0 lives 7.5 years (15 halves), record 1 2.5; record 2 holds tactic
// nibbles 14 and 15. "RDText.vk" gives records 0..4 biographies of 0, 18, 19, 74
// and 76 characters (76 fill the record without line breaks).
inline constexpr int kDemoNewOfficers[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 40, 99};
inline constexpr int kDemoAdmiralWithBitZero = 40;
inline constexpr int kDemoBiographyLengths[] = {0, 18, 19, 74, 76};
// Relationships: records 0..kDemoRelationsInUse-1 take the kinds 1..4 (結義, 仇敵,
// 勁敵, 結婚) in turn, feuds with a third party; the rest are empty (255, 255, 255,
// 63). Record kDemoRelationWithOutsideA stores 結義 with A = the officer count, so it
// reads without a kind; the feud kDemoFeudWithoutThirdParty has C = 1023. Copies
// 1..7 of the table equal copy 0 except copy kDemoDifferingRelationCopy of record
// kDemoRelationWithDifferingCopy (a feud), whose B differs in its lowest bit.
inline constexpr int kDemoRelationsInUse = 26;
inline constexpr int kDemoRelationWithOutsideA = 24;
inline constexpr int kDemoFeudWithoutThirdParty = 25;
inline constexpr int kDemoRelationWithDifferingCopy = 5;
inline constexpr int kDemoDifferingRelationCopy = 3;
// Every player slot that names a person has intimacy levels: general positions
// 0..31 hold the 32 levels, turned by the slot, the other positions noise; special
// person s has level (5 s + 3 slot) mod 32. A slot without a person keeps zeros.
inline constexpr int DemoGeneralLevel(int playerSlot, int position)
{
    return (13 * position + 5 * playerSlot) % 32;
}
inline constexpr int DemoSpecialLevel(int playerSlot, int person)
{
    return (5 * person + 3 * playerSlot) % 32;
}
// Cities and corps, the same in every slot unless named. Each ruler stands in a
// city its own corps holds; corps numbers spread over 0..67. Corps commanders
// stand in a city their corps holds, governors head other held cities, and every
// other serving officer stands in a city of its force.
inline constexpr int kDemoForceWithOneCorps = 2;     // the ruler's corps only
inline constexpr int kDemoForceWithFourCorps = 1;    // the ruler's and three commanders'
inline constexpr int kDemoCommanderIn700s = 701;     // commands a corps of force 5
inline constexpr int kDemoHighCommander = 859;       // commands a corps of this force in the 860-officer slot;
inline constexpr int kDemoForceOfHighCommander = 9;  // the other slots leave its city without corps
// The governed city holds its governor and head candidates of status 3 and 4; two
// more stand there who are no candidates, one serving but away, one of status 6.
inline constexpr int kDemoGovernedCity = 27;
inline constexpr int kDemoGovernor = 702;
inline constexpr int kDemoAwayOfficer = 704;
inline constexpr int kDemoUnservingOfficer = 706;
inline constexpr int kDemoCityWithoutHead = 47;      // held by a corps, candidates but no head
inline constexpr int kDemoCityWithoutCorps = 49;     // corps byte 68, no serving officer
// Bandits: led by officer 15 at strength byte 250 (5000 men), without a leader at
// 255 (5100, more than can be typed), none at all, and present as the byte 1
// rather than the game's 240. Other cities draw theirs.
inline constexpr int kDemoBanditCity = 9;
inline constexpr int kDemoBanditLeader = 15;
inline constexpr int kDemoLeaderlessBanditCity = 10;
inline constexpr int kDemoCityWithoutBandits = 11;
inline constexpr int kDemoBanditCityMarkedOne = 14;
// Disaster byte 23: city kDemoDisasterCities[k] holds flag k alone (k = 0..5, with
// bits 0-1 non-zero), then come the bytes 0, 0xFC and 0xFF. Other cities draw theirs.
inline constexpr int kDemoDisasterCities[9] = {40, 41, 42, 43, 44, 45, 46, 47, 48};
// Stored values the editor shows raw, in one slot only: corps byte 70, an officer
// standing in city 55, a bandit leader 1800.
inline constexpr int kDemoOddCitySlot = 6;
inline constexpr int kDemoCityWithOddCorps = 45;
inline constexpr int kDemoOddCorps = 70;
inline constexpr int kDemoOfficerInOddCity = 708;
inline constexpr int kDemoOddCity = 55;
inline constexpr int kDemoCityWithOddBanditLeader = 16;
inline constexpr int kDemoOddBanditLeader = 1800;
// Force s (0..29) has a state name of 1 + s % 7 characters, followed up to byte 14
// by zeros, or by noise when s is even. Its other bytes are drawn and the records
// of forces 30..67 are noise. Named: a name of seven characters (its 0 at byte 14),
// one of three followed by non-zero bytes 7..14, technology byte 0xE5, rank byte
// 0x83, troop bytes 0xFF and 0x3F (every troop type and machine, bits 6-7 clear),
// machine byte 0xFF.
inline constexpr int kDemoForceWithSevenCharacterName = 6;
inline constexpr int kDemoForceWithBytesAfterName = 2;
inline constexpr int kDemoForceWithTechnologyE5 = 3;
inline constexpr int kDemoForceWithRank83 = 8;
inline constexpr int kDemoForceWithEveryTroop = 4;
inline constexpr int kDemoForceWithMachineByteFF = 5;
// The officer stored as the current one is the officer of player slot 0.
// The other slots name a few officers from 760 on, then leave one unnamed.
QString WriteDemoGameFolder(const QString& folder);

}  // namespace varkel::demo
