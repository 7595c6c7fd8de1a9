#include "demo_folder/demo_records.h"

#include "demo_folder/demo_bytes.h"
#include "demo_folder/demo_layout.h"
#include "demo_folder/demo_world.h"
#include "shared/picture_banks.h"

#include <algorithm>

namespace varkel::demo {

namespace {

// A tactic level nibble: mostly none or 8..13; a few 1..7, which read as none.
int tacticNibble(DemoRandom& random)
{
    const int r = random.below(100);
    if (r < 50)
        return 0;
    if (r < 95)
        return random.between(8, 13);
    return random.between(1, 7);
}

// Skill bytes 56..59 of the status block; byte 56 owns bits 6 and 7 only.
std::array<int, 4> skillBytes(DemoRandom& random)
{
    std::array<int, 4> bytes{};
    for (int b = 0; b < 8; ++b) {
        for (int j = 1; j < 4; ++j)
            bytes[j] |= random.percent(12) ? 1 << b : 0;
    }
    bytes[0] = (random.percent(5) ? 0x80 : 0) | (random.percent(5) ? 0x40 : 0);
    return bytes;
}

// Status code of an officer without a fixed part, weighted like a game in progress.
int drawnStatus(DemoRandom& random)
{
    static constexpr std::array<int, 16> weights = {0, 6, 16, 8, 76, 0, 6, 20, 6, 40, 12, 4, 2, 2, 1, 1};
    int r = random.below(200);
    for (int s = 0; s < 16; ++s) {
        if (r < weights[s])
            return s;
        r -= weights[s];
    }
    return 4;
}

// The force of an officer: leaders lead theirs, servants follow a leader, others have none.
int forceFor(int status, DemoRandom& random)
{
    switch (status) {
    case 1:
    case 2:
    case 3:
    case 4:
        return random.percent(90) ? random.below(kRulerCount) : 28;
    case 6:
        return random.percent(80) ? kRulerCount + random.below(kBanditLeaderCount) : 29;
    default:
        return kNoForce;
    }
}

}  // namespace

OfficerPlan PlanOfficer(int officer)
{
    OfficerPlan o = DrawOfficer(officer);
    PlaceInWorld(officer, o);
    return o;
}

namespace {

// The status and force: rulers and bandit leaders at their fixed numbers, a range
// of officers with every status code, the rest drawn.
void drawPost(int officer, bool ruler, bool bandit, DemoRandom& random, OfficerPlan& o)
{
    if (ruler) {
        o.status = kStatusRuler;
        o.force = officer / kOfficersPerRuler;
    } else if (bandit) {
        o.status = kStatusBanditLeader;
        o.force = kRulerCount + officer / kOfficersPerRuler;
    } else if (officer == kSharedForceLeader) {
        o.status = kStatusBanditLeader;
        o.force = kSharedForce;
    } else if (officer >= kEveryStatusFirst && officer < kEveryStatusFirst + 16) {
        o.status = officer - kEveryStatusFirst;
        o.force = o.status == kStatusRuler ? 28 : o.status == kStatusBanditLeader ? 29 : forceFor(o.status, random);
    } else {
        o.status = drawnStatus(random);
        o.force = forceFor(o.status, random);
    }
}

// Birth, abilities (a few beyond 100), relations, face and character.
void drawPerson(int officer, bool ruler, DemoRandom& random, OfficerPlan& o)
{
    const bool notYetIn = o.status == kStatusNotAppeared;
    o.birthYearByte = notYetIn ? random.between(60, 100) : random.between(40, 85);
    const int base = ruler ? 60 : 20;
    for (int& a : o.abilities)
        a = random.between(base, std::min(base + 70, 100));
    if (random.percent(3))
        o.abilities[random.below(4)] = random.between(101, 120);
    o.compatibility = random.between(0, 150);
    o.family = random.percent(70) ? officer - officer % 10 : random.below(kAlwaysPresentOfficers);
    o.related = random.percent(60) ? kNoPerson : random.below(kAlwaysPresentOfficers);
    o.face = officer % kFaceCount;
    o.tendencies = random.between(1, 15);
    o.bravery = random.between(0, 7);
    o.calmness = random.between(0, 7);
    o.duty = random.between(0, 15);
    o.ambition = random.between(0, 15);
}

// Rank, health and lifespan, with ranges of officers holding every code of each.
void drawRankAndHealth(int officer, bool ruler, DemoRandom& random, OfficerPlan& o)
{
    if (officer >= kEveryRankFirst && officer < kEveryRankFirst + 10)
        o.rank = officer - kEveryRankFirst;
    else if (officer % 97 == 0)
        o.rank = 10 + officer / 97 % 6;
    else
        o.rank = ruler ? 8 : random.between(0, 9);

    if (officer >= kEveryHealthFirst && officer < kEveryHealthFirst + 64) {
        const int pair = officer - kEveryHealthFirst;
        o.health = pair % 8;
        o.lifespan = pair / 8;
    } else {
        o.health = random.percent(80) ? 0 : random.between(1, 7);
        o.lifespan = random.between(2, 7);
    }
}

// Service, merit and fame, skills and tactics, and where the officer is.
void drawCareer(int officer, bool ruler, DemoRandom& random, OfficerPlan& o)
{
    o.serviceAge = random.between(15, 30);
    o.entersLater = officer % 53 == 7;
    o.merit = random.between(0, 20000);
    o.fame = random.between(0, 5000);
    o.infamy = random.percent(30) ? random.between(1, 1000) : 0;
    o.skills = skillBytes(random);
    for (int& t : o.tactics)
        t = tacticNibble(random);
    o.city = ruler ? officer / kOfficersPerRuler * 2 % kCityNameCount : random.below(kCityNameCount);
    o.away = o.status == kStatusFree && random.percent(25);
}

// Fills `count` bytes from `from` with noise.
void fillNoise(QByteArray& save, qsizetype from, int count, DemoRandom& noise)
{
    for (int k = 0; k < count; ++k)
        PutByte(save, from + k, noise.noiseByte());
}

void writePersonBlock(QByteArray& save, qsizetype p, const OfficerPlan& o, DemoRandom& noise)
{
    WritePersonName(save, p, o.name);
    fillNoise(save, p + 35, 1, noise);
    PutByte(save, p + 36, o.birthYearByte);
    for (int a = 0; a < 4; ++a)
        PutByte(save, p + 37 + a, o.abilities[a]);
    PutByte(save, p + 41, o.compatibility);
    PutLE16(save, p + 42, o.family);
    PutLE16(save, p + 44, o.related);
    fillNoise(save, p + 46, 2, noise);
    PutLE16(save, p + 48, o.face);
    fillNoise(save, p + 50, 2, noise);
    PutByte(save, p + 52,
            (o.tendencies & 1) << 6 | (o.tendencies & 2) << 6 | (o.female ? 0x20 : 0) | (noise.percent(60) ? 0x10 : 0));
    PutByte(save, p + 53, (o.tendencies >> 2 & 3) | noise.between(1, 63) << 2);
    PutByte(save, p + 54, o.calmness << 5 | o.bravery << 2 | noise.between(1, 3));
    PutByte(save, p + 55, o.duty << 4 | o.ambition);
    fillNoise(save, p + 56, 4, noise);
}

// `now` draws what changes from save to save (loyalty, action, money).
void writeStatusBlock(QByteArray& save, qsizetype s, const OfficerPlan& o, const SaveMoment& moment,
                      DemoRandom& noise, DemoRandom& now)
{
    int entry = 0;
    if (o.status != kStatusFree && o.status != kStatusNotAppeared) {
        entry = o.entersLater ? moment.gameYearByte + 2 : std::min(o.birthYearByte + o.serviceAge, moment.gameYearByte);
    }
    PutByte(save, s + 0, o.force);
    PutByte(save, s + 1, entry);
    for (int a = 0; a < 4; ++a)
        PutByte(save, s + 2 + a, o.abilities[a]);
    fillNoise(save, s + 6, 4, noise);
    PutByte(save, s + 10, o.status == kStatusRuler ? 100 : now.between(40, 100));
    PutByte(save, s + 11, now.between(0, 200));
    fillNoise(save, s + 12, 22, noise);
    PutLE16(save, s + 34, o.merit);
    fillNoise(save, s + 36, 2, noise);
    PutLE16(save, s + 38, o.fame);
    PutLE16(save, s + 40, o.infamy);
    fillNoise(save, s + 42, 8, noise);
    const int word = (noise.percent(50) ? 2 : 0) | o.rank << 2 | o.status << 6 | o.health << 10 | o.lifespan << 13;
    PutLE16(save, s + 50, word);
    fillNoise(save, s + 52, 4, noise);
    PutByte(save, s + 56, o.skills[0] | noise.between(1, 63));
    for (int j = 1; j < 4; ++j)
        PutByte(save, s + 56 + j, o.skills[j]);
    for (int k = 0; k < 7; ++k)
        PutByte(save, s + 60 + k, o.tactics[2 * k + 1] << 4 | o.tactics[2 * k]);
    PutByte(save, s + 67, o.tactics[14]);
    fillNoise(save, s + 68, 12, noise);
    const int money = o.status == kStatusRuler ? now.between(12000, 50000) : now.between(100, 9000);
    PutLE16(save, s + 80, money);
    fillNoise(save, s + 82, 6, noise);
}

void writeLocationEntry(QByteArray& save, qsizetype l, const OfficerPlan& o, DemoRandom& noise)
{
    PutLE16(save, l, o.city << 4 | noise.between(1, 15));
    PutByte(save, l + 2, noise.noiseByte());
    PutByte(save, l + 3, o.away ? noise.noiseByte() : 0);
}

}  // namespace

OfficerPlan DrawOfficer(int officer)
{
    DemoRandom random(Stream::Officer, static_cast<std::uint32_t>(officer));
    OfficerPlan o;
    o.female = random.percent(8);
    const bool ruler = officer % kOfficersPerRuler == 0 && officer < kOfficersPerRuler * kRulerCount;
    const bool bandit = officer % kOfficersPerRuler == 15 && officer < kOfficersPerRuler * kBanditLeaderCount;
    o.name = MakePersonName(random, o.female, ruler || random.percent(12));
    // One stream draws them all, in this order.
    drawPost(officer, ruler, bandit, random, o);
    drawPerson(officer, ruler, random, o);
    drawRankAndHealth(officer, ruler, random, o);
    drawCareer(officer, ruler, random, o);
    return o;
}

void WriteSaveOfficer(QByteArray& save, int officer, const OfficerPlan& o, const SaveMoment& moment)
{
    DemoRandom noise(Stream::OfficerNoise, static_cast<std::uint32_t>(officer));
    DemoRandom now(Stream::OfficerInSlot, static_cast<std::uint32_t>(officer), static_cast<std::uint32_t>(moment.slot));
    // The noise stream runs through the three in this order.
    writePersonBlock(save, personBlock(officer), o, noise);
    writeStatusBlock(save, statusBlock(officer), o, moment, noise, now);
    writeLocationEntry(save, locationEntry(officer), o, noise);
}

MemberPlan PlanMember(DemoRandom& random, const QString& surname, bool female, int birthYearByte)
{
    MemberPlan m;
    m.name = MakePersonName(random, female, random.percent(15));
    if (!surname.isEmpty())
        m.name.surname = surname;
    m.female = female;
    m.birthYearByte = birthYearByte;
    for (int& a : m.abilities)
        a = random.between(20, 95);
    m.compatibility = random.between(0, 150);
    m.face = random.below(kFaceCount);
    m.byte52 = (random.percent(50) ? 0x80 : 0) | (random.percent(50) ? 0x40 : 0) | (female ? 0x20 : 0) |
               (random.percent(50) ? 0x10 : 0);
    m.byte53 = random.between(0, 6) << 4 | random.between(0, 3) << 2 | random.below(4);
    m.byte54 = random.between(0, 7) << 5 | random.between(0, 7) << 2;
    m.byte55 = random.between(0, 15) << 4 | random.between(0, 15);
    const int personality = random.below(5);
    m.byte59 = random.between(0, 4) << 5 | (personality == 4 ? 0x10 : personality << 2);
    SetGrowth(m, random.below(9), random);
    m.compatibleOfficer = random.below(kAlwaysPresentOfficers);
    m.lifespanHalves = random.between(4, 15);
    m.skills = skillBytes(random);
    for (int& t : m.tactics)
        t = tacticNibble(random);
    return m;
}

void SetGrowth(MemberPlan& m, int growth, DemoRandom& random)
{
    // 提督 is the mark 2 in bits 0-1 of byte 59; its other growth bits are left random.
    const int growthBits = growth == 8 ? random.below(8) : growth;
    m.byte53 = (m.byte53 & 0x7F) | (growthBits & 1) << 7;
    m.byte54 = (m.byte54 & ~3) | growthBits >> 1;
    m.byte59 = (m.byte59 & ~3) | (growth == 8 ? 2 : 0) | random.below(2);
}

void WriteMemberRecord(QByteArray& buffer, qsizetype r, const MemberPlan& m, DemoRandom& noise)
{
    WritePersonName(buffer, r, m.name);
    PutByte(buffer, r + 35, noise.noiseByte());
    PutByte(buffer, r + 36, m.birthYearByte);
    for (int a = 0; a < 4; ++a) {
        PutByte(buffer, r + 37 + a, m.abilities[a]);
        PutByte(buffer, r + kRecordStatusPart + 2 + a, m.abilities[a]);
    }
    PutByte(buffer, r + 41, m.compatibility);
    PutLE16(buffer, r + 48, m.face);
    PutByte(buffer, r + 52, m.byte52);
    PutByte(buffer, r + 53, m.byte53);
    PutByte(buffer, r + 54, m.byte54);
    PutByte(buffer, r + 55, m.byte55);
    PutLE16(buffer, r + 56, m.compatibleOfficer);
    PutByte(buffer, r + 59, m.byte59);
    PutByte(buffer, r + 111, m.lifespanHalves << 4 | noise.between(1, 15));
    for (int j = 0; j < 4; ++j)
        PutByte(buffer, r + 116 + j, m.skills[j]);
    for (int k = 0; k < 7; ++k)
        PutByte(buffer, r + 120 + k, m.tactics[2 * k + 1] << 4 | m.tactics[2 * k]);
    PutByte(buffer, r + 127, m.tactics[14]);
}

}  // namespace varkel::demo
