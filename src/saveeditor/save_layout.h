#pragma once

#include "person/person_layout.h"

#include <QtGlobal>

// Where things lie in a saved game ("svd_0N.sav"). Offsets are bytes from the start
// of the file; multi-byte numbers are little-endian.
namespace varkel::save {

// File sizes.
inline constexpr qsizetype kStartupBufferSize = 374'534;  // the newest save is read into exactly this much
inline constexpr qint64 kNewestSlotMinimumSize = 374'001; // start-up ignores files of 374,000 bytes or less
inline constexpr qint64 kOpenMinimumSize = 374'530;       // the Open dialog refuses shorter files
inline constexpr qint64 kSlotMinimumSize = 374'520;       // the slot menu refuses shorter files
inline constexpr qint64 kMaximumSaveSize = 4 * 1024 * 1024;  // a larger file is no saved game
inline constexpr int kSlotCount = 9;

// Game date.
inline constexpr qsizetype kGameYearOffset = 1876;   // year - 100
inline constexpr qsizetype kGameMonthOffset = 1891;  // month in the high nibble
inline constexpr int kYearBase = person::kYearBase;

// The officer the game is being played as (LE16): its control cannot be given up.
inline constexpr qsizetype kCurrentOfficerOffset = 1882;

// Officers. Each table has room for officers 0..859 before the next region.
inline constexpr int kMaxOfficers = 860;
inline constexpr int kAlwaysPresentOfficers = 760;
inline constexpr qsizetype kStatusBlockOffset = 3616;
inline constexpr qsizetype kStatusBlockSize = 88;
inline constexpr qsizetype kLocationOffset = 79'296;
inline constexpr qsizetype kLocationSize = 4;
inline constexpr qsizetype kPersonBlockOffset = 82'736;
inline constexpr qsizetype kPersonBlockSize = 60;

inline constexpr qsizetype statusBlock(int officer)
{
    return kStatusBlockOffset + kStatusBlockSize * officer;
}
inline constexpr qsizetype locationEntry(int officer)
{
    return kLocationOffset + kLocationSize * officer;
}
inline constexpr qsizetype personBlock(int officer)
{
    return kPersonBlockOffset + kPersonBlockSize * officer;
}

// Fields of a status block that checks of the stored values point at.
namespace status {
inline constexpr qsizetype kForce = 0;
inline constexpr qsizetype kWord = 50;     // flag, rank, status, health and lifespan bits
inline constexpr int kControlledBit = 0x01;  // bit 0 of the word
}  // namespace status

// Persons: numbers 860..1719 name officers through the person map.
inline constexpr qsizetype kPersonMapOffset = 1896;
inline constexpr int kFirstPersonNumber = 860;
inline constexpr int kLastPersonNumber = 1719;
inline constexpr int kNoPerson = 1720;
inline constexpr qsizetype personMapEntry(int person)
{
    return kPersonMapOffset + 2 * (person - kFirstPersonNumber);
}

// Player slots.
inline constexpr int kPlayerSlotCount = 8;
inline constexpr qsizetype kPlayerSlotOffset = 145'458;
inline constexpr qsizetype kPlayerSlotSize = 972;
inline constexpr qsizetype kPlayerPersonField = 948;
inline constexpr int kNoControlledOfficer = 1023;
inline constexpr qsizetype playerSlot(int slot)
{
    return kPlayerSlotOffset + kPlayerSlotSize * slot;
}
inline constexpr qsizetype playerPerson(int slot)
{
    return playerSlot(slot) + kPlayerPersonField;
}

// Other regions.
inline constexpr qsizetype kCityRecordOffset = 134'336;
inline constexpr qsizetype kCityRecordSize = 56;
inline constexpr int kCityRecordCount = 50;
inline constexpr qsizetype kForceRecordOffset = 137'880;
inline constexpr qsizetype kForceRecordSize = 40;
inline constexpr qsizetype kTreasureOwnerOffset = 153'234;
inline constexpr int kTreasureCount = 255;
inline constexpr qsizetype kRelationTableOffset = 154'254;
inline constexpr qsizetype kFamilyRecordOffset = 177'646;
inline constexpr qsizetype kFamilyRecordSize = 148;
inline constexpr int kFamilyRecordCount = 16;
inline constexpr qsizetype kFamilyNameField = person::kFullName;
inline constexpr qsizetype kBiographyOffset = 180'030;
inline constexpr qsizetype kBiographySize = 152;

// Force bytes 0..67 name forces; 68 is "no force".
inline constexpr int kForceNameCount = 69;
inline constexpr int kNoForce = 68;

}  // namespace varkel::save
