#pragma once

#include "person/person_block.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace varkel {

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

StatusBlock DecodeStatusBlock(const QByteArray& buffer, qsizetype at);
GameDate DecodeGameDate(const QByteArray& save);

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
