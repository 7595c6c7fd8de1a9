#pragma once

// Where the demo generator puts things in the game's files. The picture bank
// offsets come from shared/picture_banks.h; everything else the generator writes
// is placed by these constants.

#include <QtGlobal>

namespace varkel::demo {

// Saved games "svd_0N.sav".
inline constexpr qint64 kSaveFileSize = 374'534;
inline constexpr qint64 kShortSaveFileSize = 374'520;  // opens from the slot menu only
inline constexpr qint64 kLongSaveFileSize = 374'600;   // carries a tail after the image
inline constexpr int kSaveSlotCount = 9;

inline constexpr int kGameYearOffset = 1876;   // year - 100
inline constexpr int kGameMonthOffset = 1891;  // month in the high nibble
inline constexpr int kPersonMapOffset = 1896;  // LE16 officer number per person 860..1719
inline constexpr int kFirstPersonNumber = 860;
inline constexpr int kPersonCount = 860;
inline constexpr int kNoPerson = 1720;

inline constexpr int kStatusBlockOffset = 3616;
inline constexpr int kStatusBlockSize = 88;
inline constexpr int kLocationOffset = 79296;
inline constexpr int kLocationSize = 4;
inline constexpr int kPersonBlockOffset = 82736;
inline constexpr int kPersonBlockSize = 60;
inline constexpr int kOfficerSlots = 860;       // room for officers 0..859 in each table
inline constexpr int kAlwaysPresentOfficers = 760;

// Person block fields (also the first 60 bytes of family and new-officer records).
inline constexpr int kSurnameField = 0;
inline constexpr int kGivenNameField = 5;
inline constexpr int kCourtesyNameField = 10;
inline constexpr int kTitleField = 15;
inline constexpr int kFullNameField = 26;

inline constexpr int kCityRecordOffset = 134336;
inline constexpr int kCityRecordSize = 56;
inline constexpr int kCityRecordCount = 50;
inline constexpr int kForceRecordOffset = 137880;
inline constexpr int kForceRecordSize = 40;
inline constexpr int kForceRecordCount = 68;
inline constexpr int kNoForce = 68;

inline constexpr int kPlayerSlotOffset = 145458;
inline constexpr int kPlayerSlotSize = 972;
inline constexpr int kPlayerSlotCount = 8;
inline constexpr int kIntimacyBytes = 948;        // general and special streams
inline constexpr int kPlayerPersonField = 948;    // LE16 person number
inline constexpr int kChildGrowthField = 962;     // two growth bytes, then four caps

inline constexpr int kTreasureOwnerOffset = 153234;
inline constexpr int kTreasureCount = 255;
inline constexpr int kRelationOffset = 154254;
inline constexpr int kRelationRecords = 256;
inline constexpr int kRelationCopies = 8;
inline constexpr int kFamilyRecordOffset = 177646;
inline constexpr int kFamilyRecordSize = 148;
inline constexpr int kFamilyRecordCount = 16;
inline constexpr int kChildBiographyOffset = 180030;
inline constexpr int kBiographySize = 152;
inline constexpr int kBiographyLineChars = 18;
inline constexpr int kSaveKnownRegionsEnd = 181246;

// 148-byte officer record (family member, new officer): status part from byte 60.
inline constexpr int kRecordStatusPart = 60;

// Scenario file "d_sce.vk".
inline constexpr qint64 kScenarioFileSize = 134'024;
inline constexpr int kCityNameOffset = 2036;
inline constexpr int kCityNameStride = 16;
inline constexpr int kCityNameCount = 51;
inline constexpr int kCourtRankOffset = 3454;
inline constexpr int kCourtRankStride = 12;
inline constexpr int kCourtRankCount = 32;
inline constexpr int kTreasureRecordOffset = 3838;
inline constexpr int kTreasureRecordSize = 21;

// Treasure notes in "m_msg.vk".
inline constexpr qint64 kMessageFileSize = 655'360;
inline constexpr int kNoteOffset = 639'906;
inline constexpr int kNoteBytes = 5'373;
inline constexpr int kNoteEnd = 0x2422;
inline constexpr int kNoteLineBreak = 0x4052;

// System save "Svd_sys.sav" and biographies "RDText.vk".
inline constexpr qint64 kSystemSaveFileSize = 14'848;
inline constexpr qint64 kBiographyFileSize = 20'480;
inline constexpr int kFileHeaderSize = 24;
inline constexpr int kNewOfficerRecords = 100;
inline constexpr int kFirstNewOfficerNumber = 660;

// Start-window background "Selgame.vk": an 8-bit bitmap padded to this size.
inline constexpr qint64 kBackgroundFileSize = 215'040;
inline constexpr int kBackgroundWidth = 480;
inline constexpr int kBackgroundHeight = 360;

}  // namespace varkel::demo
