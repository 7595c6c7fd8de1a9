#include "person/person_block.h"

#include "person/person_layout.h"
#include "shared/bytes.h"
#include "shared/name_field.h"


namespace varkel {

namespace {

using namespace person;
constexpr int kTwoCharacters = 2, kFiveCharacters = 8, kFourCharacters = 6;  // last slot offsets
constexpr qsizetype kBirthYear = 36, kCompatibility = 41, kFamily = 42, kRelated = 44;
constexpr qsizetype kTacticFlags = 52, kTacticFlags2 = 53, kTemper = 54, kDutyAmbition = 55;

bool bit(int value, int b)
{
    return (value >> b) & 1;
}
int flag(bool on, int b)
{
    return on ? 1 << b : 0;
}

}  // namespace

bool HasSkill(std::uint32_t skills, int skill)
{
    return (skills >> (31 - skill)) & 1U;
}

void SetSkill(std::uint32_t& skills, int skill, bool on)
{
    const std::uint32_t mask = 1U << (31 - skill);
    skills = on ? skills | mask : skills & ~mask;
}

std::uint32_t DecodeSkills(const QByteArray& b, qsizetype at)
{
    return std::uint32_t(byteAt(b, at + kSkills + 3)) << 24 | std::uint32_t(byteAt(b, at + kSkills + 2)) << 16 |
           std::uint32_t(byteAt(b, at + kSkills + 1)) << 8 | std::uint32_t(byteAt(b, at + kSkills) & 0xC0);
}

void EncodeSkills(QByteArray& b, qsizetype at, std::uint32_t skills)
{
    setByte(b, at + kSkills + 3, static_cast<int>(skills >> 24));
    setByte(b, at + kSkills + 2, static_cast<int>(skills >> 16));
    setByte(b, at + kSkills + 1, static_cast<int>(skills >> 8));
    setBits(b, at + kSkills, 0xC0, static_cast<int>(skills));
}

std::array<int, kTacticCount> DecodeTactics(const QByteArray& b, qsizetype at)
{
    std::array<int, kTacticCount> tactics{};
    for (int t = 0; t < kTacticCount; ++t) {
        const int packed = byteAt(b, at + kTactics + t / 2);
        tactics[t] = t % 2 == 0 ? packed & 15 : packed >> 4;
    }
    return tactics;
}

void EncodeTactics(QByteArray& b, qsizetype at, const std::array<int, kTacticCount>& tactics)
{
    auto stored = [](int nibble) { return nibble & 15; };
    for (int k = 0; k < 7; ++k)
        setByte(b, at + kTactics + k, stored(tactics[2 * k + 1]) * 16 + stored(tactics[2 * k]));
    setBits(b, at + kTactics + 7, 0x0F, stored(tactics[14]));
}

std::array<int, 4> AbilityCopyToStore(const QByteArray& b, qsizetype abilitiesAt, qsizetype copyAt,
                                      const std::array<int, 4>& abilities)
{
    std::array<int, 4> copy{};
    for (int i = 0; i < 4; ++i) {
        const int ability = abilities[std::size_t(i)];
        copy[std::size_t(i)] = byteAt(b, abilitiesAt + i) != (ability & 0xFF) ? ability : byteAt(b, copyAt + i);
    }
    return copy;
}

QString ReadFullName(const QByteArray& buffer, qsizetype at)
{
    return ReadNameField(buffer, at + kFullName, kFourCharacters);
}

PersonBlock DecodePersonBlock(const QByteArray& b, qsizetype at)
{
    PersonBlock p;
    p.surname = ReadNameField(b, at + kSurname, kTwoCharacters);
    p.givenName = ReadNameField(b, at + kGivenName, kTwoCharacters);
    p.courtesyName = ReadNameField(b, at + kCourtesyName, kTwoCharacters);
    p.title = ReadNameField(b, at + kTitle, kFiveCharacters);
    p.fullName = ReadFullName(b, at);
    p.birthYear = byteAt(b, at + kBirthYear) + kYearBase;
    for (int i = 0; i < 4; ++i)
        p.abilities[i] = byteAt(b, at + kAbilities + i);
    p.compatibility = byteAt(b, at + kCompatibility);
    p.familyNumber = le16At(b, at + kFamily);
    p.relatedOfficer = le16At(b, at + kRelated);
    p.face = le16At(b, at + kFace);
    const int flags = byteAt(b, at + kTacticFlags);
    p.tacticDirect = bit(flags, 6);
    p.tacticShooting = bit(flags, 7);
    p.female = bit(flags, 5);
    const int flags2 = byteAt(b, at + kTacticFlags2);
    p.tacticSurprise = bit(flags2, 0);
    p.tacticScheme = bit(flags2, 1);
    const int temper = byteAt(b, at + kTemper);
    p.bravery = (temper >> 2) & 7;
    p.calmness = (temper >> 5) & 7;
    const int dutyAmbition = byteAt(b, at + kDutyAmbition);
    p.duty = dutyAmbition >> 4;
    p.ambition = dutyAmbition & 15;
    return p;
}

void EncodePersonBlock(QByteArray& b, qsizetype at, const PersonBlock& p)
{
    WriteNameFieldIfChanged(b, at + kSurname, kTwoCharacters, p.surname);
    WriteNameFieldIfChanged(b, at + kGivenName, kTwoCharacters, p.givenName);
    WriteNameFieldIfChanged(b, at + kCourtesyName, kTwoCharacters, p.courtesyName);
    WriteNameFieldIfChanged(b, at + kTitle, kFiveCharacters, p.title);
    WriteNameFieldIfChanged(b, at + kFullName, kFourCharacters, p.fullName);
    setByte(b, at + kBirthYear, p.birthYear - kYearBase);
    for (int i = 0; i < 4; ++i)
        setByte(b, at + kAbilities + i, p.abilities[i]);
    setByte(b, at + kCompatibility, p.compatibility);
    setLe16(b, at + kFace, p.face);
    setBits(b, at + kTacticFlags, 0xE0, flag(p.tacticDirect, 6) | flag(p.tacticShooting, 7) | flag(p.female, 5));
    setBits(b, at + kTacticFlags2, 0x03, flag(p.tacticSurprise, 0) | flag(p.tacticScheme, 1));
    setBits(b, at + kTemper, 0xFC, (p.calmness << 5) | (p.bravery << 2));
    setByte(b, at + kDutyAmbition, p.duty * 16 + p.ambition);
    setLe16(b, at + kFamily, p.familyNumber);
    setLe16(b, at + kRelated, p.relatedOfficer);
}

}  // namespace varkel
