#pragma once

#include "saveeditor/save_layout.h"
#include "shared/number_fields.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

// The force records of a saved game: each force's state name, court rank,
// technology and the troop types and siege machines it can field.
namespace varkel::force {

inline constexpr int kCount = 68;  // forces 0..67; 68 is none
inline constexpr qsizetype kName = 0;  // 7 double-byte characters, then a 0 byte (at 14 after a full name)
inline constexpr int kNameCapacity = 7;
inline constexpr int kNameLastSlot = 2 * (kNameCapacity - 1);
inline constexpr qsizetype kTechnology = 27;  // bits 5-7
inline constexpr qsizetype kTroops = 28;      // troop types 0-7; type 8 is bit 0 of the next byte
inline constexpr qsizetype kMachines = 29;    // bits 1-5; bits 6-7 are not the editor's
inline constexpr qsizetype kRank = 31;        // bits 2-6
inline constexpr int kTroopTypeCount = 9;
inline constexpr int kMachineCount = 5;
inline constexpr int kTechnologyLevels = 8;
inline constexpr int kRankCount = 32;

inline constexpr qsizetype record(int s)
{
    return save::kForceRecordOffset + save::kForceRecordSize * s;
}

}  // namespace varkel::force

namespace varkel {

// One force as its editor shows it. The four bytes that hold its bit fields are
// kept whole, so the bits the editor does not own survive every edit.
struct ForceRecord {
    QString name;
    int technologyByte = 0;
    int troopByte = 0;
    int machineByte = 0;
    int rankByte = 0;

    int technology() const { return technologyByte >> 5; }
    int rank() const { return rankByte >> 2 & 31; }
    bool troop(int k) const { return (k < 8 ? troopByte >> k : machineByte) & 1; }
    bool machine(int k) const { return (machineByte >> (k + 1) & 1) != 0; }
};

ForceRecord DecodeForce(const QByteArray& save, int s);
// Stores the fields into force s; a name that still reads as stored keeps its bytes.
void EncodeForce(QByteArray& save, int s, const ForceRecord& record);

// The field table of a force: the command line reads and writes forces through it.
const std::vector<RecordField<ForceRecord>>& ForceFields();
const RecordField<ForceRecord>& ForceField(const QString& key);

QStringList TroopTypeCaptions();
QStringList MachineCaptions();
QStringList TechnologyItems();

}  // namespace varkel
