#pragma once

#include "saveeditor/save_layout.h"

#include <QByteArray>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

// How a controlled officer regards other officers: 5-bit levels packed most
// significant bit first in two streams at the start of its player slot. The
// general stream is indexed like the person map; the special stream holds seven
// fixed persons.
namespace varkel::intimacy {

inline constexpr int kLevelBits = 5;
inline constexpr int kLevelCount = 32;  // 0 "漠視(E)" .. 30 "敬愛", 31 "未知"
inline constexpr int kFirstLevelText = 312;

inline constexpr qsizetype kGeneralStreamField = 0;  // from the start of the player slot
inline constexpr qsizetype kGeneralStreamSize = 934;
inline constexpr qsizetype kSpecialStreamField = kGeneralStreamField + kGeneralStreamSize;
inline constexpr qsizetype kSpecialStreamSize = 14;
static_assert(kSpecialStreamField + kSpecialStreamSize == save::kPlayerPersonField,
              "the person number follows the special stream");

// Bytes that hold `count` levels.
inline constexpr qsizetype streamBytes(int count)
{
    return (qsizetype(count) * kLevelBits + 7) / 8;
}

// The general stream has room for 1,494 levels; the person map names the first 860.
inline constexpr int kGeneralPositions = int(kGeneralStreamSize * 8 / kLevelBits);
inline constexpr int kPersonMapSize = save::kLastPersonNumber - save::kFirstPersonNumber + 1;
// The special stream has room for 22 levels but only seven persons; the rest of its
// bits are left alone.
inline constexpr std::array<int, 7> kSpecialPersons = {6, 74, 99, 115, 184, 364, 566};
inline constexpr int kSpecialPositions = int(kSpecialPersons.size());
static_assert(streamBytes(kGeneralPositions) == kGeneralStreamSize);
static_assert(streamBytes(kSpecialPositions) <= kSpecialStreamSize);

}  // namespace varkel::intimacy

namespace varkel {

// `count` 5-bit values packed from `offset` of a buffer: value k takes bits
// 5k..5k+4, bit 0 being the top bit of the first byte. Reads and writes of a
// position outside 0..count-1 or past the end of the buffer are refused; a write
// changes those five bits and no other.
struct LevelStream {
    qsizetype offset = 0;
    int count = 0;

    std::optional<int> read(const QByteArray& buffer, int position) const;
    // False, and nothing written, for a value outside 0..31 or a position the stream
    // or the buffer does not hold.
    bool write(QByteArray& buffer, int position, int value) const;

private:
    bool holds(const QByteArray& buffer, int position) const;
};

// The streams of player slot 0..7; another slot gives an empty stream.
LevelStream GeneralStream(int slot);
LevelStream SpecialStream(int slot);
LevelStream IntimacyStream(int slot, bool special);

// Rows of the general list: one per officer of the save, but only the positions the
// person map names.
int GeneralListRows(int officerCount);
// The officer of general stream position k: person map entry k, 1720 for an empty
// entry; nothing for a position the map does not name.
std::optional<int> GeneralPositionOfficer(const QByteArray& save, int position);
// The first position among the `rows` first whose map entry names `officer`.
std::optional<int> GeneralPositionOf(const QByteArray& save, int rows, int officer);

// The officer of special stream position k (0..6), and back.
std::optional<int> SpecialPositionOfficer(int position);
std::optional<int> SpecialPositionOf(int officer);

// The 32 level texts; list index = stored value.
QStringList IntimacyLevelItems();

}  // namespace varkel
