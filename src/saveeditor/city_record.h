#pragma once

#include "saveeditor/save_layout.h"
#include "shared/number_fields.h"

#include <QByteArray>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

// The 50 cities of a saved game: which corps holds each, its bandits and its
// disasters, and (from the officers standing there) its head.
namespace varkel::city {

inline constexpr int kCount = save::kCityRecordCount;
inline constexpr qsizetype kCorps = 0;
inline constexpr qsizetype kBanditStrength = 3;  // strength / 20
inline constexpr qsizetype kBanditLeader = 18;   // LE16
inline constexpr qsizetype kDisasters = 23;      // flag k in bit k + 2
inline constexpr qsizetype kBandits = 25;        // 0: none

inline constexpr int kCorpsCount = 69;  // corps 0..67, and 68 for none
inline constexpr int kNoCorps = 68;
inline constexpr int kStrengthUnit = 20;
inline constexpr int kMaxStrength = 5000;
inline constexpr int kNoLeader = 1720;
inline constexpr int kBanditsPresent = 240;  // what a tick stores
inline constexpr int kDisasterCount = 6;
inline constexpr int kFirstDisasterBit = 2;
inline constexpr qsizetype kLocationAway = 3;  // byte of an officer's location entry: non-zero when not staying

// Status codes of the officers that head a city, and of the officer a replaced head becomes.
inline constexpr int kRuler = 0;
inline constexpr int kCorpsCommander = 1;
inline constexpr int kGovernor = 2;
inline constexpr int kOrdinary = 4;

inline constexpr qsizetype record(int c)
{
    return save::kCityRecordOffset + save::kCityRecordSize * c;
}

}  // namespace varkel::city

namespace varkel {

// Who commands each corps and who heads each city, as the officers' statuses and
// places say: rulers and corps commanders command the corps of the city they stand
// in; rulers, corps commanders and governors head the city they stand in (the
// highest-numbered one where several do). Numbers, never names.
struct CityHeads {
    struct Corps {
        int commander = -1;  // -1: no corps of that number
        int force = save::kNoForce;
    };
    std::array<int, city::kCount> head{};  // officer; -1 for none
    std::array<Corps, city::kCorpsCount> corps{};

    static CityHeads build(const QByteArray& save, int officerCount);
    // The force a city's corps byte belongs to; 68 (none) for a corps without commander.
    int forceOf(int corps) const;
    // The corps whose commander serves `force`, in number order.
    std::vector<int> corpsOf(int force) const;
};

// The officers staying in city c who could head it (status 4 or less) and the one
// who does: a ruler, corps commander or governor among them.
struct CityOfficers {
    std::vector<int> candidates;
    int head = -1;        // -1: none of them heads the city
    int headStatus = -1;
};
CityOfficers CityOfficersOf(const QByteArray& save, int officerCount, int c);

// One city as its editor shows it: the five stored values, each kept whole so that
// odd codes survive an edit of the others, and the force and head worked out from
// the officers.
struct CityRecord {
    int corps = city::kNoCorps;
    int strengthByte = 0;
    int leader = city::kNoLeader;
    int disasterByte = 0;
    int banditsByte = 0;
    int force = save::kNoForce;  // not stored in the record
    int head = -1;               // not stored; a new head is a head change

    bool bandits() const { return banditsByte != 0; }
    bool disaster(int k) const { return (disasterByte >> (k + city::kFirstDisasterBit) & 1) != 0; }
};

CityRecord DecodeCity(const QByteArray& save, const CityHeads& heads, const CityOfficers& officers, int c);

// Whether the head of a city may be replaced here: it has a head, the head is no
// ruler, and a corps holds the city.
bool MayChangeHead(const CityRecord& record, const CityOfficers& officers);

// Checks `edited` against city c as stored, then stores it: the record's bytes
// and, when the head changed, the statuses of the old and the new head (the old
// one becomes an ordinary officer, the new one what the old one was). Either all
// of it is stored or nothing, and the problem names the field.
std::optional<FieldProblem> StoreCity(QByteArray& save, int officerCount, int c, const CityRecord& edited);

// Status code n of an officer (bits 6-9 of its status word), changing no other bit.
void SetStatusCode(QByteArray& save, int officer, int status);

// The field table of a city: the command line reads and writes cities through it.
const std::vector<RecordField<CityRecord>>& CityFields();
const RecordField<CityRecord>& CityField(const QString& key);

// The captions of the six disasters.
QStringList DisasterCaptions();

}  // namespace varkel
