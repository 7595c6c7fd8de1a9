#include "saveeditor/intimacy_stream.h"

#include "shared/bytes.h"
#include "shared/texts.h"

#include <algorithm>

namespace varkel {

using namespace intimacy;

namespace {

constexpr int kLevelMask = kLevelCount - 1;
// A level starting at bit 0..3 of a byte ends inside it; from bit 4 on it runs into the next byte.
constexpr int kLastSingleByteStart = 8 - kLevelBits;

struct Place {
    qsizetype byte;  // first byte holding the level
    int shift;       // of the level within the 16 bits of that byte and the next
    bool twoBytes;
};

Place placeOf(qsizetype offset, int position)
{
    const qsizetype bit = qsizetype(position) * kLevelBits;
    const int start = int(bit % 8);
    return {offset + bit / 8, 16 - kLevelBits - start, start > kLastSingleByteStart};
}

}  // namespace

bool LevelStream::holds(const QByteArray& buffer, int position) const
{
    if (position < 0 || position >= count)
        return false;
    const Place p = placeOf(offset, position);
    return p.byte >= 0 && p.byte + (p.twoBytes ? 1 : 0) < buffer.size();
}

std::optional<int> LevelStream::read(const QByteArray& buffer, int position) const
{
    if (!holds(buffer, position))
        return std::nullopt;
    const Place p = placeOf(offset, position);
    const int window = byteAt(buffer, p.byte) << 8 | (p.twoBytes ? byteAt(buffer, p.byte + 1) : 0);
    return window >> p.shift & kLevelMask;
}

bool LevelStream::write(QByteArray& buffer, int position, int value) const
{
    if (value < 0 || value > kLevelMask || !holds(buffer, position))
        return false;
    const Place p = placeOf(offset, position);
    const int mask = kLevelMask << p.shift;
    const int bits = value << p.shift;
    setBits(buffer, p.byte, mask >> 8, bits >> 8);
    if (p.twoBytes)
        setBits(buffer, p.byte + 1, mask & 0xFF, bits & 0xFF);
    return true;
}

LevelStream GeneralStream(int slot)
{
    if (slot < 0 || slot >= save::kPlayerSlotCount)
        return {};
    return {save::playerSlot(slot) + kGeneralStreamField, kGeneralPositions};
}

LevelStream SpecialStream(int slot)
{
    if (slot < 0 || slot >= save::kPlayerSlotCount)
        return {};
    return {save::playerSlot(slot) + kSpecialStreamField, kSpecialPositions};
}

LevelStream IntimacyStream(int slot, bool special)
{
    return special ? SpecialStream(slot) : GeneralStream(slot);
}

int GeneralListRows(int officerCount)
{
    return std::clamp(officerCount, 0, kPersonMapSize);
}

std::optional<int> GeneralPositionOfficer(const QByteArray& save, int position)
{
    if (position < 0 || position >= kPersonMapSize)
        return std::nullopt;
    const qsizetype entry = save::personMapEntry(save::kFirstPersonNumber + position);
    if (entry + 1 >= save.size())
        return std::nullopt;
    return le16At(save, entry);
}

std::optional<int> GeneralPositionOf(const QByteArray& save, int rows, int officer)
{
    if (officer == save::kNoPerson)
        return std::nullopt;
    for (int k = 0; k < std::min(rows, kPersonMapSize); ++k)
        if (GeneralPositionOfficer(save, k) == officer)
            return k;
    return std::nullopt;
}

std::optional<int> SpecialPositionOfficer(int position)
{
    if (position < 0 || position >= kSpecialPositions)
        return std::nullopt;
    return kSpecialPersons[std::size_t(position)];
}

std::optional<int> SpecialPositionOf(int officer)
{
    const auto found = std::find(kSpecialPersons.begin(), kSpecialPersons.end(), officer);
    if (found == kSpecialPersons.end())
        return std::nullopt;
    return int(found - kSpecialPersons.begin());
}

QStringList IntimacyLevelItems()
{
    return GetResTexts(kFirstLevelText, kFirstLevelText + kLevelCount - 1);
}

}  // namespace varkel
