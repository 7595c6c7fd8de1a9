#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace varkel {

// The 60-byte person block of an officer. The same layout opens the 148-byte
// records of family members and of new officers.
struct PersonBlock {
    QString surname;       // +0, 2 characters
    QString givenName;     // +5, 2 characters
    QString courtesyName;  // +10, 2 characters
    QString title;         // +15, 5 characters
    QString fullName;      // +26, 4 characters: always written as surname + given name
    int birthYear = 100;   // +36, stored minus 100
    std::array<int, 4> abilities{};  // +37..40: might, intellect, politics, charisma
    int compatibility = 0;   // +41
    int familyNumber = 0;    // +42, LE16
    int relatedOfficer = 0;  // +44, LE16
    int face = 0;            // +48, LE16
    bool tacticDirect = false;    // +52 bit 6
    bool tacticShooting = false;  // +52 bit 7
    bool female = false;          // +52 bit 5
    bool tacticSurprise = false;  // +53 bit 0
    bool tacticScheme = false;    // +53 bit 1
    int bravery = 0;   // +54 bits 2-4
    int calmness = 0;  // +54 bits 5-7
    int duty = 0;      // +55 high nibble
    int ambition = 0;  // +55 low nibble
};

inline constexpr int kSkillCount = 26;
inline constexpr int kTacticCount = 15;

bool HasSkill(std::uint32_t skills, int skill);
void SetSkill(std::uint32_t& skills, int skill, bool on);

// The skill bits and tactic nibbles of the status block at `at`; the 148-byte
// records of family members and new officers hold them at the same offsets of
// their status part. Bits 5-0 of the first skill byte are no skill and are kept.
std::uint32_t DecodeSkills(const QByteArray& buffer, qsizetype at);
void EncodeSkills(QByteArray& buffer, qsizetype at, std::uint32_t skills);
std::array<int, kTacticCount> DecodeTactics(const QByteArray& buffer, qsizetype at);
// Nibbles are stored as given; the high nibble of the last byte is no tactic and
// keeps what it holds.
void EncodeTactics(QByteArray& buffer, qsizetype at, const std::array<int, kTacticCount>& tactics);

// What the second place of the four abilities (status block +2 of an officer, +37
// of a member record), which the game writes and never reads, holds after storing
// `abilities` at `abilitiesAt`: the copy of an ability that changes follows it, the
// copy of one left as it was keeps its byte. Call before the abilities are written.
std::array<int, 4> AbilityCopyToStore(const QByteArray& buffer, qsizetype abilitiesAt, qsizetype copyAt,
                                      const std::array<int, 4>& abilities);

// The full name of the person block at `at`: what lists and name tables show.
QString ReadFullName(const QByteArray& buffer, qsizetype at);

PersonBlock DecodePersonBlock(const QByteArray& buffer, qsizetype at);
// Writes the fields the editor owns; every other bit of the block keeps its value.
// A name that still reads as stored keeps its bytes.
void EncodePersonBlock(QByteArray& buffer, qsizetype at, const PersonBlock& person);

}  // namespace varkel
