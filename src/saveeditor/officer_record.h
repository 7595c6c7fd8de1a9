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

// The 88-byte status block. Raw codes are kept as stored, so values outside the
// lists (a rank of 12, a tactic nibble of 14) survive an edit of other fields.
struct StatusBlock {
    int force = 0;          // +0
    int entryYearByte = 0;  // +1: year entered service minus 100; 0 = never
    int loyalty = 0;        // +10
    int action = 0;         // +11
    int merit = 0;          // +34, LE16
    int fame = 0;           // +38, LE16
    int infamy = 0;         // +40, LE16
    int money = 0;          // +80, LE16
    bool controlled = false;  // word +50 bit 0
    int rank = 0;             // word +50 bits 2-5
    int status = 0;           // word +50 bits 6-9
    int health = 0;           // word +50 bits 10-12
    int lifespan = 0;         // word +50 bits 13-15
    // Skill s (the order of texts 143..168) is bit 31 - s of bytes 59,58,57,56 read
    // as one big-endian number: skill 0 is bit 7 of byte 59, skill 25 bit 6 of byte 56.
    std::uint32_t skills = 0;
    std::array<int, kTacticCount> tactics{};  // level nibbles, tactic t at +60 + t/2
};

struct GameDate {
    int year = 100;  // 100..355
    int month = 1;   // 1..12
};

// One officer of a saved game as the officer view shows it.
struct OfficerRecord {
    PersonBlock person;
    StatusBlock status;
    int city = 0;  // location entry bits 4-15; shown, never written
    GameDate date;
    int yearsOfService = 0;  // derived from the entry year and the game year
    // The years of service as decoded; while yearsOfService still equals them the
    // entry-year byte is stored back as it was (-1: always derive it).
    int readYearsOfService = -1;
};

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
StatusBlock DecodeStatusBlock(const QByteArray& buffer, qsizetype at);
GameDate DecodeGameDate(const QByteArray& save);

// Writes the fields the editor owns; every other bit of the block keeps its value.
// A name that still reads as stored keeps its bytes.
void EncodePersonBlock(QByteArray& buffer, qsizetype at, const PersonBlock& person);
// Status code, force byte and the controlled flag are not written here. Tactic
// nibbles are stored as given: a level the user left as it was keeps its stored
// nibble (1..7 show as "未"), so normalising is the caller's business.
void EncodeStatusBlock(QByteArray& buffer, qsizetype at, const StatusBlock& status);
void EncodeGameDate(QByteArray& save, const GameDate& date);

// Years of service shown for an entry-year byte in a game year: 0 for "never" or a
// future year.
int YearsOfService(int entryYearByte, int gameYear);
// The entry-year byte that gives `years` of service in `gameYear`; it can exceed 255,
// which cannot be stored. An officer who never served and still shows 0 years keeps 0.
int EntryYearByte(int gameYear, int years, int previousByte);
// The entry-year byte to store for `record`: the stored one while the years of
// service are as decoded (an entry after the game year included), else derived.
int EntryYearToStore(const OfficerRecord& record);

OfficerRecord DecodeOfficer(const QByteArray& save, int officer);
// Stores the officer's person and status blocks and the game date.
void EncodeOfficer(QByteArray& save, int officer, const OfficerRecord& record);

// The list index a stored code is shown at, and the code a list index stores: a
// selection the user left where it was keeps the stored code (ranks 10..15 show as
// "無官職", tactic nibbles 14 and 15 as an extra item).
int RankListIndex(int rank);
int RankFromList(int listIndex, int storedRank);
int StatusListIndex(int status);

}  // namespace varkel
