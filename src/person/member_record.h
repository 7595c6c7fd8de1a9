#pragma once

#include "person/person_block.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

// The 148-byte officer record of the new officers in "Svd_sys.sav" and of the
// family members of a saved game: a person block, then bytes laid out as a status
// block. Offsets are from the record start.
namespace varkel::member {

inline constexpr qsizetype kRecordSize = 148;
inline constexpr qsizetype kStatusPart = 60;  // a status block's layout from here on
inline constexpr qsizetype kTendencies = 53;  // growth bit 0, strategic, character (+ two tactic kinds)
inline constexpr qsizetype kTemper = 54;      // calm, bravery (kept by the person block), growth bits 2-1
inline constexpr qsizetype kCompatibleOfficer = 56;  // LE16
inline constexpr qsizetype kOutlook = 59;  // aspiration, personality, the admiral mark
inline constexpr qsizetype kAbilities = kStatusPart + 2;  // 62..65
inline constexpr qsizetype kPersonAbilityCopy = 37;       // 37..40 only get a copy
inline constexpr qsizetype kLifespan = kStatusPart + 51;  // 111: half years in the high nibble

inline constexpr int kAdmiralGrowth = 8;        // "提督": bits 1-0 of +59 read 2
inline constexpr int kPersonalityFour = 4;      // bit 4 of +59
inline constexpr int kLifespanWholeYears = 7;   // what the box takes
inline constexpr int kLifespanMaxHalves = 15;   // what the nibble holds (7.5)

}  // namespace varkel::member

namespace varkel {

// One 148-byte record as the views show it. Codes that have more than one stored
// form or lie outside their lists are kept as stored: a strategic tendency of 7,
// an aspiration of 5..7, a lifespan of 15 halves (7.5), tactic nibbles 1..7, 14, 15.
struct MemberRecord {
    PersonBlock person;  // abilities from +62..65
    int characterTendency = 0;  // +53 bits 3-2, 0..3
    int strategicTendency = 0;  // +53 bits 6-4, 0..6 listed
    int growthTendency = 0;     // 0..8, from +53 bit 7, +54 bits 1-0 and +59 bits 1-0
    int personality = 0;        // 0..4: +59 bits 3-2, or 4 when bit 4 is set
    int aspiration = 0;         // +59 bits 7-5, 0..4 listed
    int compatibleOfficer = 0;  // +56, LE16
    int lifespanHalves = 0;     // +111 bits 7-4
    std::uint32_t skills = 0;   // +116..119, as in a status block
    std::array<int, kTacticCount> tactics{};  // +120..127, the stored nibbles
};

MemberRecord DecodeMemberRecord(const QByteArray& buffer, qsizetype start);

// Stores the record over the one at `start`; bits no field owns keep their values
// (bit 4 and bits 3-0 of +52, bit 0 of +59 unless "提督" is newly stored, bits 3-0
// of +111, bits 5-0 of +116),
// and the abilities go to +62..65; the copy at +37..40 follows an ability that
// changes and is kept otherwise. Growth tendency and
// personality have more than one stored form: while the record's value is the one
// the stored bits read as, those bits stay as they are; a changed value is stored
// in its one plain form. "提督" is stored as bits 1-0 of +59 = 2 with the other
// growth bits of +54 kept, so that it reads back as 8.
void EncodeMemberRecord(QByteArray& buffer, qsizetype start, const MemberRecord& record);

}  // namespace varkel
