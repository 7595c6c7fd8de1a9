#pragma once

#include "saveeditor/save_layout.h"
#include "shared/number_fields.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// Treasures: their attributes live in the scenario file "d_sce.vk", shared by
// every saved game; who owns each one lives in the saved game; the notes shown
// with the pictures live in "m_msg.vk".
namespace varkel::treasure {

inline constexpr int kCount = save::kTreasureCount;  // 255

// Records in the scenario file.
inline constexpr qsizetype kRecordOffset = 3838;
inline constexpr qsizetype kRecordSize = 21;
inline constexpr qsizetype kName = 0;  // 6 double-byte characters; no 0 byte after a full name
inline constexpr int kNameCapacity = 6;
inline constexpr int kNameLastSlot = 2 * (kNameCapacity - 1);
inline constexpr qsizetype kKind = 13;
inline constexpr qsizetype kPicture = 14;
inline constexpr qsizetype kPrice = 15;  // in hundreds
inline constexpr qsizetype kPoints = 16;
inline constexpr qsizetype kSkill = 17;
inline constexpr qsizetype record(int t)
{
    return kRecordOffset + kRecordSize * t;
}

// Owner entries in the saved game: LE16 officer number, then two bytes the editor leaves alone.
inline constexpr qsizetype kOwnerEntrySize = 4;
inline constexpr qsizetype ownerEntry(int t)
{
    return save::kTreasureOwnerOffset + kOwnerEntrySize * t;
}
inline constexpr int kLastOwner = 1720;  // officer name table entries 0..1720

// Codes and lists.
inline constexpr int kKindCount = 12;
inline constexpr int kSealKind = 9;            // always shows 100 points
inline constexpr int kSealPoints = 100;        // typed points of 100 keep the stored byte
inline constexpr int kSkillItemCount = 27;     // 26 skills and "無"
inline constexpr int kNoSkillItem = 26;
inline constexpr int kNoSkillByte = 255;
inline constexpr int kNoAbility = 4;           // raised-ability list: might, intellect, politics, charisma, none
inline constexpr int kPriceUnit = 100;

// Notes in "m_msg.vk": one stretch of double-byte codes, one note per picture.
inline constexpr qint64 kNotesOffset = 639'906;
inline constexpr qint64 kNotesSize = 5'373;
inline constexpr int kNoteEnd = 0x2422;
inline constexpr int kNoteLineFeed = 0x4052;

}  // namespace varkel::treasure

namespace varkel {

// One treasure as its view shows it. Codes are kept as stored, so a kind above 11
// or a skill byte of 27..254 survives an edit of other fields.
struct TreasureRecord {
    QString name;
    int kind = 0;
    int picture = 0;
    int priceHundreds = 0;
    int points = 0;
    int skill = treasure::kNoSkillByte;  // the stored byte
    int owner = -1;                      // officer number; -1 when no saved game is at hand
};

// Record t of the scenario buffer and, when `save` is given, its owner.
TreasureRecord DecodeTreasure(const QByteArray& scenario, const QByteArray* save, int t);
// Stores the fields the editor owns into record t (and the owner entry when `save`
// is given and the record has an owner). A name that still reads as stored keeps
// its bytes; a shorter new name ends with a 0 byte.
void EncodeTreasure(QByteArray& scenario, QByteArray* save, int t, const TreasureRecord& record);

// The raised ability a kind shows (index into the five ability texts) and the
// points its box shows: the stored points for the kinds that raise one, 100 for
// the seal, 0 for the rest (a kind outside the list keeps its stored points).
int RaisedAbility(int kind);
int ShownPoints(int kind, int storedPoints);

// The skill list index of a stored skill byte (255 -> 26, odd bytes as themselves)
// and the byte a list index stores (26 -> 255).
int SkillListIndex(int skillByte);
int SkillByte(int listIndex);

// Brings a picture number into 0..79: one correction each way covers what stepping
// from a stored number and a two-digit entry give; anything else is wrapped.
int WrapPictureNumber(int n);

// The 80 notes of the note stretch of "m_msg.vk" (what is there of it). Reading
// stops at the 80th end code or at the end of the stretch; a lone 0 byte is
// skipped, which shifts the reading of pairs by one byte.
QStringList DecodeTreasureNotes(const QByteArray& stretch);

// Every field of a treasure, with the captions and limits its view uses; the
// command line reads and writes treasures through the same table.
const std::vector<RecordField<TreasureRecord>>& TreasureFields();
// The field of TreasureFields() with this key; the key must be one of them.
const RecordField<TreasureRecord>& TreasureField(const QString& key);

// The texts of the kind, raised-ability and skill lists.
QStringList TreasureKindItems();
QStringList RaisedAbilityItems();
QStringList TreasureSkillItems();

}  // namespace varkel
