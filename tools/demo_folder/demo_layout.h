#pragma once

// Where the demo generator puts things in the game's files. The saved-game layout
// and the picture bank offsets are the editor's own (saveeditor/save_layout.h,
// shared/picture_banks.h); these constants place the rest.

#include "saveeditor/save_layout.h"

#include <QtGlobal>

namespace varkel::demo {

// Saved games "svd_0N.sav": the editor's own layout, plus what only the demo needs.
using namespace ::varkel::save;
inline constexpr qint64 kSaveFileSize = kStartupBufferSize;
inline constexpr qint64 kShortSaveFileSize = kSlotMinimumSize;  // opens from the slot menu only
inline constexpr qint64 kLongSaveFileSize = 374'600;             // carries a tail after the image
inline constexpr int kPersonCount = kLastPersonNumber - kFirstPersonNumber + 1;

inline constexpr int kForceRecordCount = 68;
inline constexpr int kIntimacyBytes = 948;     // general and special streams of a player slot
inline constexpr int kSpecialStreamField = 934;
inline constexpr int kLevelBits = 5;
inline constexpr int kLevelCount = 32;
inline constexpr int kSpecialPersonCount = 7;
inline constexpr int kChildGrowthField = 962;  // two growth bytes, then four caps
inline constexpr int kRelationRecords = 256;
inline constexpr int kRelationCopies = 8;
inline constexpr int kNoRelationParty = 1023;  // all ten bits of a party
inline constexpr int kBiographyLineChars = 18;
inline constexpr qsizetype kSaveKnownRegionsEnd = kBiographyOffset + kBiographySize * 8;

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
inline constexpr qint64 kBiographyFileSize = 24 + 152 * 134;  // whole records
inline constexpr int kFileHeaderSize = 24;
inline constexpr int kNewOfficerRecords = 100;
inline constexpr int kFirstNewOfficerNumber = 660;

// Start-window background "Selgame.vk": an 8-bit bitmap padded to this size.
inline constexpr qint64 kBackgroundFileSize = 215'040;
inline constexpr int kBackgroundWidth = 480;
inline constexpr int kBackgroundHeight = 360;

}  // namespace varkel::demo
