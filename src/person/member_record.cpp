#include "person/member_record.h"

#include "shared/bytes.h"

namespace varkel {

namespace {

using namespace member;

constexpr int kGrowthLowBit = 0x80;    // +53
constexpr int kStrategicBits = 0x70;   // +53
constexpr int kCharacterBits = 0x0C;   // +53
constexpr int kGrowthHighBits = 0x03;  // +54
constexpr int kAspirationBits = 0xE0;  // +59
constexpr int kPersonalityBits = 0x1C; // +59, bit 4 standing for 4
constexpr int kAdmiralBits = 0x03;     // +59
constexpr int kAdmiralMark = 0x02;
constexpr int kKeptOutlookBit = 0x01;  // +59 bit 0
constexpr int kLifespanBits = 0xF0;    // +111

int growthOf(const QByteArray& b, qsizetype r)
{
    if ((byteAt(b, r + kOutlook) & kAdmiralBits) == kAdmiralMark)
        return kAdmiralGrowth;
    const int low = (byteAt(b, r + kTendencies) & kGrowthLowBit) ? 1 : 0;
    return 2 * (byteAt(b, r + kTemper) & kGrowthHighBits) + low;
}

int personalityOf(const QByteArray& b, qsizetype r)
{
    const int outlook = byteAt(b, r + kOutlook);
    return (outlook & 0x10) ? kPersonalityFour : (outlook & 15) >> 2;
}

void storeGrowth(QByteArray& b, qsizetype r, int growth)
{
    if (growth == kAdmiralGrowth) {
        // Bit 0 must be clear too, or the mark does not read as "提督".
        setBits(b, r + kTendencies, kGrowthLowBit, 0);
        setBits(b, r + kOutlook, kAdmiralBits, kAdmiralMark);
        return;
    }
    setBits(b, r + kTendencies, kGrowthLowBit, (growth & 1) ? kGrowthLowBit : 0);
    setBits(b, r + kTemper, kGrowthHighBits, growth / 2);
    setBits(b, r + kOutlook, kAdmiralBits & ~kKeptOutlookBit, 0);
}

}  // namespace

MemberRecord DecodeMemberRecord(const QByteArray& b, qsizetype r)
{
    MemberRecord m;
    m.person = DecodePersonBlock(b, r);
    for (int i = 0; i < 4; ++i)
        m.person.abilities[std::size_t(i)] = byteAt(b, r + kAbilities + i);
    const int tendencies = byteAt(b, r + kTendencies);
    m.characterTendency = (tendencies & kCharacterBits) >> 2;
    m.strategicTendency = (tendencies & kStrategicBits) >> 4;
    m.growthTendency = growthOf(b, r);
    m.personality = personalityOf(b, r);
    m.aspiration = byteAt(b, r + kOutlook) >> 5;
    m.compatibleOfficer = le16At(b, r + kCompatibleOfficer);
    m.lifespanHalves = byteAt(b, r + kLifespan) >> 4;
    m.skills = DecodeSkills(b, r + kStatusPart);
    m.tactics = DecodeTactics(b, r + kStatusPart);
    return m;
}

void EncodeMemberRecord(QByteArray& b, qsizetype r, const MemberRecord& m)
{
    // Read before anything is written: these values have more than one stored form.
    const int storedGrowth = growthOf(b, r);
    const int storedPersonality = personalityOf(b, r);

    // The person block's ability bytes (+37..40) are the copy here.
    PersonBlock person = m.person;
    person.abilities = AbilityCopyToStore(b, r + kAbilities, r + kPersonAbilityCopy, m.person.abilities);
    EncodePersonBlock(b, r, person);
    for (int i = 0; i < 4; ++i)
        setByte(b, r + kAbilities + i, m.person.abilities[std::size_t(i)]);
    setBits(b, r + kTendencies, kStrategicBits | kCharacterBits, m.strategicTendency << 4 | m.characterTendency << 2);
    if (m.growthTendency != storedGrowth)
        storeGrowth(b, r, m.growthTendency);
    setBits(b, r + kOutlook, kAspirationBits, m.aspiration << 5);
    if (m.personality != storedPersonality)
        setBits(b, r + kOutlook, kPersonalityBits, m.personality << 2);  // 4 sets bit 4 alone
    setLe16(b, r + kCompatibleOfficer, m.compatibleOfficer);
    setBits(b, r + kLifespan, kLifespanBits, m.lifespanHalves << 4);
    EncodeSkills(b, r + kStatusPart, m.skills);
    EncodeTactics(b, r + kStatusPart, m.tactics);
}

}  // namespace varkel
