#include "saveeditor/control.h"

#include "shared/bytes.h"

#include <algorithm>

namespace varkel {

namespace {

constexpr int kFirstStatusToForce = 8;  // retired, not appeared, dead, special
constexpr int kPersonCount = save::kLastPersonNumber - save::kFirstPersonNumber + 1;

bool isOfficer(int officer)
{
    return officer >= 0 && officer < save::kMaxOfficers;
}

qsizetype statusWord(int officer)
{
    return save::statusBlock(officer) + save::status::kWord;
}

int statusCode(const QByteArray& save, int officer)
{
    return (le16At(save, statusWord(officer)) >> 6) & 15;
}

bool holds(const ControlledSlots& controlled, int officer)
{
    return std::find(controlled.begin(), controlled.end(), officer) != controlled.end();
}

int controlledCount(const ControlledSlots& controlled)
{
    return static_cast<int>(std::count_if(controlled.begin(), controlled.end(),
                                          [](int m) { return m != save::kNoControlledOfficer; }));
}

}  // namespace

int PersonNumberOf(const QByteArray& save, int officer)
{
    if (!isOfficer(officer))
        return -1;
    for (int j = 0; j < kPersonCount; ++j)
        if (le16At(save, save::kPersonMapOffset + 2 * j) == officer)
            return save::kFirstPersonNumber + j;
    return -1;
}

int CurrentOfficer(const QByteArray& save)
{
    return le16At(save, save::kCurrentOfficerOffset);
}

ControlRefusal CheckTakeControl(const QByteArray& save, const ControlledSlots& controlled, int officer)
{
    if (!isOfficer(officer))
        return ControlRefusal::NoSuchOfficer;
    if (PersonNumberOf(save, officer) < 0)
        return ControlRefusal::NotInPersonMap;
    if (holds(controlled, officer))
        return ControlRefusal::AlreadyControlled;
    if (controlledCount(controlled) >= save::kPlayerSlotCount)
        return ControlRefusal::AllSlotsTaken;
    return ControlRefusal::None;
}

ControlRefusal CheckGiveUpControl(const QByteArray& save, const ControlledSlots& controlled, int officer)
{
    if (!isOfficer(officer))
        return ControlRefusal::NoSuchOfficer;
    if (PersonNumberOf(save, officer) < 0)
        return ControlRefusal::NotInPersonMap;
    if (!holds(controlled, officer))
        return ControlRefusal::NotControlled;
    if (CurrentOfficer(save) == officer)
        return ControlRefusal::CurrentOfficer;
    if (controlledCount(controlled) <= 1)
        return ControlRefusal::LastControlled;
    return ControlRefusal::None;
}

ControlChange TakeControl(QByteArray& save, ControlledSlots& controlled, int officer)
{
    ControlChange change;
    change.refusal = CheckTakeControl(save, controlled, officer);
    if (change.refusal != ControlRefusal::None)
        return change;
    change.person = PersonNumberOf(save, officer);
    setBits(save, statusWord(officer), save::status::kControlledBit, save::status::kControlledBit);
    // The checks leave a free slot: fewer than eight are taken.
    const auto free = std::find(controlled.begin(), controlled.end(), save::kNoControlledOfficer);
    change.slot = static_cast<int>(free - controlled.begin());
    *free = officer;
    setLe16(save, save::playerPerson(change.slot), change.person);
    return change;
}

ControlChange GiveUpControl(QByteArray& save, ControlledSlots& controlled, int officer)
{
    ControlChange change;
    change.refusal = CheckGiveUpControl(save, controlled, officer);
    if (change.refusal != ControlRefusal::None)
        return change;
    change.person = PersonNumberOf(save, officer);
    setBits(save, statusWord(officer), save::status::kControlledBit, 0);
    const auto held = std::find(controlled.begin(), controlled.end(), officer);
    change.slot = static_cast<int>(held - controlled.begin());
    *held = save::kNoControlledOfficer;
    setLe16(save, save::playerPerson(change.slot), save::kNoPerson);
    return change;
}

bool MayForceAppearance(const QByteArray& save, int officer)
{
    return isOfficer(officer) && statusCode(save, officer) >= kFirstStatusToForce;
}

std::optional<Appearance> ForceAppearance(QByteArray& save, int officer)
{
    if (!isOfficer(officer))
        return std::nullopt;
    // Status code 7 (free officer) in bits 6-9 of the word: 1 in the low two bits
    // of its second byte, both top bits of its first. The other bits are kept.
    const qsizetype word = statusWord(officer);
    setBits(save, word + 1, 0x03, 0x01);
    setBits(save, word, 0xC0, 0xC0);
    setByte(save, save::locationEntry(officer) + 3, 0);

    Appearance a;
    a.person = PersonNumberOf(save, officer);
    if (a.person >= 0)
        return a;  // listed already: a second entry would give it two person numbers
    for (int j = 0; j < kPersonCount; ++j) {
        const qsizetype entry = save::kPersonMapOffset + 2 * j;
        if (le16At(save, entry) == save::kNoPerson) {
            setLe16(save, entry, officer);
            a.person = save::kFirstPersonNumber + j;
            a.added = true;
            break;
        }
    }
    return a;
}

}  // namespace varkel
