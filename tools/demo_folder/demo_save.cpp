#include "demo_folder/demo_save.h"

#include "demo_folder/demo_bytes.h"
#include "demo_folder/demo_folder.h"
#include "demo_folder/demo_layout.h"
#include "demo_folder/demo_records.h"
#include "demo_folder/demo_world.h"
#include "shared/bytes.h"
#include "shared/name_field.h"

#include <algorithm>

namespace varkel::demo {

namespace {

using Controllers = std::array<int, kPlayerSlotCount>;

QDateTime at(int month, int day, int hour)
{
    return QDateTime(QDate(2021, month, day), QTime(hour, 0), Qt::UTC);
}

// Bytes that no part of the editor decodes: noise, so tests can see them survive.
// This covers the tail of a file longer than the image too.
void writeUnknownRegions(QByteArray& save, const SlotPlan& plan)
{
    DemoRandom random(Stream::Region, 0, static_cast<std::uint32_t>(plan.slot));
    const struct {
        qsizetype from, to;
    } regions[] = {
        {0, kGameYearOffset},
        {kGameYearOffset + 1, kGameMonthOffset},
        {kGameMonthOffset + 1, kPersonMapOffset},
        {kForceRecordOffset + kForceRecordSize * kForceRecordCount, kPlayerSlotOffset},
        {kRelationTableOffset + 4 * kRelationRecords * kRelationCopies, kFamilyRecordOffset},
        {kSaveKnownRegionsEnd, save.size()},
    };
    for (const auto& r : regions) {
        for (qsizetype i = r.from; i < r.to; ++i)
            PutByte(save, i, random.noiseByte());
    }
}

void writeGameDate(QByteArray& save, const SlotPlan& plan)
{
    PutByte(save, kGameYearOffset, plan.gameYearByte);
    PutByte(save, kGameMonthOffset, plan.month << 4 | (plan.slot + 3));
    // Bit 0 of the byte before the month: set in the month-1 slot, where it gives
    // children a year more of growth; clear elsewhere.
    PutBits(save, kGameMonthOffset - 1, 1, plan.slot == kDemoMonthOneSlot ? 1 : 0);
}

// Officers 0..759 always, then the slot's extra ones; returns the officer count.
int writeOfficers(QByteArray& save, const SlotPlan& plan)
{
    const SaveMoment moment{plan.slot, plan.gameYearByte};
    const int count = kAlwaysPresentOfficers + plan.namedFrom760;
    for (int i = 0; i < count; ++i)
        WriteSaveOfficer(save, i, PlanOfficer(i), moment);
    // Officer `count` stays all zero: its empty name ends the officer table. Names
    // after it are never read as officers.
    for (int i = count + 1; i <= count + plan.namedAfterGap && i < kMaxOfficers; ++i)
        WriteSaveOfficer(save, i, PlanOfficer(i), moment);
    if (plan.oddTacticOfficer >= 0) {
        const qsizetype tactics = statusBlock(plan.oddTacticOfficer) + 60;
        PutBits(save, tactics, 0x0F, 14);
    }
    if (plan.slot == kDemoOddCitySlot) {
        // A city beyond the 50 city records; the noise nibble below it stays.
        const qsizetype place = locationEntry(kDemoOfficerInOddCity);
        PutLE16(save, place, kDemoOddCity << 4 | (le16At(save, place) & 15));
    }
    return count;
}

// Person 860 + k is officer count - 1 - k: a numbering of its own, so that person
// and officer numbers are never mistaken for each other.
int personOf(int officer, int count)
{
    return kFirstPersonNumber + count - 1 - officer;
}

// Every officer but two has its person; the full map leaves none out.
void writePersonMap(QByteArray& save, const SlotPlan& plan, int count)
{
    for (int k = 0; k < kPersonCount; ++k) {
        int officer = k < count ? count - 1 - k : kNoPerson;
        if (plan.slot != kDemoFullPersonMapSlot &&
            (officer == kDemoUnlistedFreeOfficer || officer == kDemoUnlistedDeadOfficer))
            officer = kNoPerson;
        PutLE16(save, personMapEntry(kFirstPersonNumber + k), officer);
    }
}

int controlledOfficers(const SlotPlan& plan)
{
    switch (plan.slot) {
    case kDemoSlotWithSevenControlled:
        return 7;
    case kDemoSlotWithEightControlled:
        return kPlayerSlotCount;
    default:
        return 3 + plan.slot % 3;
    }
}

// Level `value` at `position` of the 5-bit stream at `stream`, most significant bit first.
void putLevel(QByteArray& save, qsizetype stream, int position, int value)
{
    for (int b = 0; b < kLevelBits; ++b) {
        const qsizetype bit = qsizetype(position) * kLevelBits + b;
        const int mask = 0x80 >> (bit % 8);
        PutBits(save, stream + bit / 8, mask, value >> (kLevelBits - 1 - b) & 1 ? mask : 0);
    }
}

// Over the noise of the streams: every level among the first general positions,
// and one level per special person, both turned by the player slot.
void writeIntimacy(QByteArray& save, qsizetype slotBase, int playerSlot)
{
    for (int k = 0; k < kLevelCount; ++k)
        putLevel(save, slotBase, k, DemoGeneralLevel(playerSlot, k));
    for (int s = 0; s < kSpecialPersonCount; ++s)
        putLevel(save, slotBase + kSpecialStreamField, s, DemoSpecialLevel(playerSlot, s));
}

// Controlled officers (rulers), one slot naming an officer whose controlled flag
// is clear unless all eight are controlled, the rest empty.
Controllers writePlayerSlots(QByteArray& save, const SlotPlan& plan, int count)
{
    const int controlledCount = controlledOfficers(plan);
    Controllers controllers;
    controllers.fill(kNoControlledOfficer);
    std::array<int, kPlayerSlotCount> persons;
    persons.fill(kNoPerson);
    int next = 0;
    for (int k = 0; next < controlledCount; ++k) {
        if (k == 2 && controlledCount < kPlayerSlotCount) {
            persons[k] = personOf(1 + plan.slot, count);  // flag clear: not controlled
            continue;
        }
        const int ruler = kOfficersPerRuler * ((plan.slot * 5 + next * 7) % kRulerCount);
        controllers[k] = ruler;
        persons[k] = personOf(ruler, count);
        PutBits(save, statusBlock(ruler) + 50, 1, 1);
        ++next;
    }
    for (int k = 0; k < kPlayerSlotCount; ++k) {
        const qsizetype base = playerSlot(k);
        PutLE16(save, base + kPlayerPersonField, persons[k]);
        if (persons[k] == kNoPerson)
            continue;
        DemoRandom random(Stream::SaveSlot, static_cast<std::uint32_t>(k), static_cast<std::uint32_t>(plan.slot));
        for (int i = 0; i < kIntimacyBytes; ++i)
            PutByte(save, base + i, static_cast<int>(random.next()));
        writeIntimacy(save, base, k);
        const qsizetype growth = base + kChildGrowthField;
        PutByte(save, growth, random.between(0, 7) << 5 | random.between(0, 7) << 2 | random.between(1, 3));
        PutByte(save, growth + 1, random.between(1, 3) << 6 | random.between(0, 7) << 3 | random.between(0, 7));
        for (int a = 0; a < 4; ++a)
            PutByte(save, growth + 2 + a, random.between(60, 100));
    }
    return controllers;
}

// The disaster byte of the planted cities: flag k alone, then 0, 0xFC and 0xFF.
int plantedDisasters(int index)
{
    constexpr int kFlags = 6;
    if (index < kFlags)
        return 1 << (index + 2) | (index % 3 + 1);
    const int rest[] = {0x00, 0xFC, 0xFF};
    return rest[index - kFlags];
}

// Corps from the world, bandits and disasters drawn around the planted cities,
// noise in the bytes no view decodes.
void writeCities(QByteArray& save, const SlotPlan& plan, int count)
{
    for (int c = 0; c < kCityRecordCount; ++c) {
        DemoRandom random(Stream::City, static_cast<std::uint32_t>(c), static_cast<std::uint32_t>(plan.slot));
        const qsizetype r = kCityRecordOffset + qsizetype(kCityRecordSize) * c;
        for (int i = 0; i < kCityRecordSize; ++i)
            PutByte(save, r + i, random.noiseByte());

        const bool odd = plan.slot == kDemoOddCitySlot;
        PutByte(save, r + 0, odd && c == kDemoCityWithOddCorps ? kDemoOddCorps : DemoCityCorps(c, count));

        bool bandits = random.percent(20);
        int strength = bandits ? random.between(5, 50) : 0;
        const int drawnLeader = kOfficersPerRuler * random.below(kBanditLeaderCount) + 15;
        int leader = bandits && random.percent(70) ? drawnLeader : kNoPerson;
        int present = 240;
        if (c == kDemoBanditCity) {
            bandits = true;
            strength = 250;
            leader = kDemoBanditLeader;
        } else if (c == kDemoLeaderlessBanditCity) {
            bandits = true;
            strength = 255;
            leader = kNoPerson;
        } else if (c == kDemoCityWithoutBandits) {
            bandits = false;
            strength = 0;
            leader = kNoPerson;
        } else if (c == kDemoBanditCityMarkedOne) {
            bandits = true;
            strength = std::max(strength, 30);
            present = 1;
        } else if (odd && c == kDemoCityWithOddBanditLeader) {
            bandits = true;
            strength = std::max(strength, 40);
            leader = kDemoOddBanditLeader;
        }
        PutByte(save, r + 3, strength);
        PutLE16(save, r + 18, leader);
        PutByte(save, r + 25, bandits ? present : 0);

        int disasters = (random.percent(30) ? random.between(1, 63) << 2 : 0) | random.between(0, 3);
        const auto planted = std::find(std::begin(kDemoDisasterCities), std::end(kDemoDisasterCities), c);
        if (planted != std::end(kDemoDisasterCities))
            disasters = plantedDisasters(int(planted - std::begin(kDemoDisasterCities)));
        PutByte(save, r + 23, disasters);
        // Byte 26 of city 0 stays 0: it is where the name of officer 860 would be.
        if (c == 0)
            PutByte(save, r + 26, 0);
    }
}

// State names, technology, troops and rank for the forces with a leader, noise
// for the rest.
void writeForces(QByteArray& save)
{
    constexpr int kNameCapacity = 7;
    constexpr int kNameBytes = 2 * kNameCapacity + 1;
    for (int s = 0; s < kForceRecordCount; ++s) {
        DemoRandom random(Stream::Force, static_cast<std::uint32_t>(s));
        const qsizetype r = kForceRecordOffset + qsizetype(kForceRecordSize) * s;
        for (int i = 0; i < kForceRecordSize; ++i)
            PutByte(save, r + i, random.noiseByte());
        if (s >= kLeaderForceCount)
            continue;
        const int length = 1 + s % kNameCapacity;
        if (s % 2 != 0) {
            for (int i = 2 * length; i < kNameBytes; ++i)
                PutByte(save, r + i, 0);
        }
        WriteNameField(save, r, MakeStateName(s, length));

        int technology = s * 3 % 8 << 5 | random.between(0, 31);  // every level, in turn
        int troops = random.between(0, 255);
        int machines = random.between(0, 255);
        int rank = (random.percent(50) ? 0x80 : 0) | random.between(0, 31) << 2 | random.between(0, 3);
        if (s == kDemoForceWithTechnologyE5)
            technology = 0xE5;
        if (s == kDemoForceWithEveryTroop) {
            troops = 0xFF;
            machines = 0x3F;
        }
        if (s == kDemoForceWithMachineByteFF)
            machines = 0xFF;
        if (s == kDemoForceWithRank83)
            rank = 0x83;
        PutByte(save, r + 27, technology);
        PutByte(save, r + 28, troops);
        PutByte(save, r + 29, machines);
        PutByte(save, r + 31, rank);
    }
}

void writeTreasureOwners(QByteArray& save, const SlotPlan& plan, int count)
{
    for (int t = 0; t < kTreasureCount; ++t) {
        DemoRandom random(Stream::Treasure, static_cast<std::uint32_t>(t), static_cast<std::uint32_t>(plan.slot));
        const qsizetype r = kTreasureOwnerOffset + 4 * t;
        int owner = random.percent(65) ? random.below(kAlwaysPresentOfficers) : kNoPerson;
        if (count > kDemoHighOwnerFrom && t % 10 == 4)
            owner = kDemoHighOwnerFrom + t * 7 % (count - kDemoHighOwnerFrom);
        if (t == kDemoTreasureWithOddOwner)
            owner = kDemoOddOwner;
        PutLE16(save, r, owner);
        PutByte(save, r + 2, random.noiseByte());
        PutByte(save, r + 3, random.noiseByte());
    }
}

// Relationships of every kind, one whose A is no officer, a feud without a third
// party, the other records empty; all eight copies alike but for one planted
// difference.
void writeRelations(QByteArray& save, const SlotPlan& plan, int count)
{
    for (int i = 0; i < kRelationRecords; ++i) {
        DemoRandom random(Stream::Relation, static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(plan.slot));
        quint32 value = 0xFFFFFFFFu >> 2;  // A = B = C = 1023, kind bits 0
        if (i < kDemoRelationsInUse) {
            const quint32 kind = 1 + i % 4;
            quint32 a = random.below(kAlwaysPresentOfficers);
            const quint32 b = (a + 1 + random.below(kAlwaysPresentOfficers - 1)) % kAlwaysPresentOfficers;
            quint32 c = kind == 2 ? random.below(kAlwaysPresentOfficers) : kNoRelationParty;
            if (i == kDemoRelationWithOutsideA)
                a = static_cast<quint32>(count);
            if (i == kDemoFeudWithoutThirdParty)
                c = kNoRelationParty;
            value = c | b << 10 | a << 20 | (kind - 1) << 30;
        }
        for (int copy = 0; copy < kRelationCopies; ++copy) {
            const qsizetype r = kRelationTableOffset + 4 * kRelationRecords * copy + 4 * i;
            // The lowest bit of B differs in the planted copy.
            const bool planted = i == kDemoRelationWithDifferingCopy && copy == kDemoDifferingRelationCopy;
            const quint32 stored = planted ? value ^ 1u << 10 : value;
            PutLE16(save, r, static_cast<int>(stored & 0xFFFF));
            PutLE16(save, r + 2, static_cast<int>(stored >> 16));
        }
    }
}

// A child of the age kDemoChildAges gives and a spouse for each player slot that
// names an officer (controlled or not), but no spouse in slot 5.
void writeFamilies(QByteArray& save, const SlotPlan& plan, const Controllers& controllers)
{
    for (int k = 0; k < kPlayerSlotCount; ++k) {
        const int person = le16At(save, playerSlot(k) + kPlayerPersonField);
        if (person == kNoPerson)
            continue;
        const int officer = controllers[k] != kNoControlledOfficer ? controllers[k]
                                                                   : le16At(save, personMapEntry(person));
        const OfficerPlan parent = PlanOfficer(officer);
        DemoRandom random(Stream::Family, static_cast<std::uint32_t>(k), static_cast<std::uint32_t>(plan.slot));
        const MemberPlan child =
            PlanMember(random, parent.name.surname, random.percent(40), plan.gameYearByte + 1 - kDemoChildAges[k]);
        WriteMemberRecord(save, kFamilyRecordOffset + qsizetype(kFamilyRecordSize) * k, child, random);
        const int length = kDemoChildBiographyLengths[k];
        PutBiography(save, kBiographyOffset + kBiographySize * k,
                     length < 0 ? MakePersonStory(random, 74) : MakeStoryOfLength(random, length));
        if (k == kDemoSlotWithoutSpouse)
            continue;
        MemberPlan spouse = PlanMember(random, QString(), !parent.female, parent.birthYearByte + random.between(-3, 8));
        if (k == kDemoSpouseWithTiedAbilities)
            spouse.abilities = {82, 82, 40, 75};  // might and intellect tie as the largest
        WriteMemberRecord(save, kFamilyRecordOffset + qsizetype(kFamilyRecordSize) * (k + 8), spouse, random);
    }
}

}  // namespace

const std::array<SlotPlan, 9>& SlotPlans()
{
    static const std::array<SlotPlan, 9> plans = {{
        {0, kSaveFileSize, 20, 0, 84, 3, -1, at(3, 1, 20)},
        {kDemoSlotWith760Officers, kSaveFileSize, 0, 40, 86, 7, -1, at(3, 2, 21)},
        {kDemoLongSlot, kLongSaveFileSize, 30, 0, 88, 11, -1, at(3, 3, 19)},
        {kDemoSlotWith860Officers, kSaveFileSize, kMaxOfficers - kAlwaysPresentOfficers, 0, 90, 1, -1, at(3, 4, 22)},
        {kDemoShortSlot, kShortSaveFileSize, 10, 0, 92, 5, -1, at(3, 5, 18)},
        {kDemoNewestSlot, kSaveFileSize, 40, 0, 94, 9, -1, at(4, 2, 23)},
        {kDemoOddTacticSlot, kSaveFileSize, 15, 0, 96, 12, kDemoOddTacticOfficer, at(3, 7, 20)},
        {7, kSaveFileSize, 60, 5, 98, 2, -1, at(3, 8, 21)},
        {8, kSaveFileSize, 5, 0, 100, 6, -1, at(3, 9, 17)},
    }};
    return plans;
}

QByteArray MakeSavedGame(const SlotPlan& plan)
{
    QByteArray save(plan.size, '\0');
    writeUnknownRegions(save, plan);
    writeGameDate(save, plan);
    const int count = writeOfficers(save, plan);
    writePersonMap(save, plan, count);
    const Controllers controllers = writePlayerSlots(save, plan, count);
    PutLE16(save, kCurrentOfficerOffset, controllers[0]);
    writeCities(save, plan, count);
    writeForces(save);
    writeTreasureOwners(save, plan, count);
    writeRelations(save, plan, count);
    writeFamilies(save, plan, controllers);
    return save;
}

}  // namespace varkel::demo
