#pragma once

#include "saveeditor/save_layout.h"
#include "shared/number_fields.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// The relationship table of a saved game: 256 records of four bytes, and seven
// more copies of the whole table right after it. Views read copy 0 and every
// store writes all eight copies alike.
namespace varkel::relation {

inline constexpr int kCount = 256;
inline constexpr qsizetype kRecordSize = 4;
inline constexpr int kCopyCount = 8;
inline constexpr qsizetype kCopySize = kRecordSize * kCount;  // 1,024
inline constexpr qsizetype record(int i, int copy = 0)
{
    return save::kRelationTableOffset + kCopySize * copy + kRecordSize * i;
}

// The record as a little-endian 32-bit value: C in bits 0-9, B in 10-19, A in
// 20-29, kind - 1 in 30-31.
inline constexpr int kPartyBits = 10;
inline constexpr int kPartyMask = (1 << kPartyBits) - 1;
inline constexpr int kNoParty = save::kNoControlledOfficer;  // 1023: all ten bits set
inline constexpr quint32 kEmptyRecord = 0x3FFF'FFFF;        // bytes 255, 255, 255, 63

// Kinds: 0 none, then sworn brothers, mortal enemies (with a third party to avenge),
// rivals and spouses.
inline constexpr int kNone = 0;
inline constexpr int kSworn = 1;
inline constexpr int kFeud = 2;
inline constexpr int kRivals = 3;
inline constexpr int kMarried = 4;
inline constexpr int kKindCount = 5;

}  // namespace varkel::relation

namespace varkel {

// One relationship: the officers A (甲方) and B (乙方), the third party C whom a
// feud avenges, and the kind. Parties are kept as stored, so one at or above the
// officer count survives a change of another field.
struct Relation {
    int a = relation::kNoParty;
    int b = relation::kNoParty;
    int c = relation::kNoParty;
    int kind = relation::kNone;
    bool operator==(const Relation&) const = default;
};

// Record i of copy 0. A record whose A is not below the officer count has no kind.
Relation DecodeRelation(const QByteArray& save, int officerCount, int i);

// True when storing `r` writes the empty record: no kind, or A or B is no officer.
bool StoresEmpty(const Relation& r);

// Writes `r` as record i of all eight copies; a relation that StoresEmpty writes
// the empty record. Parties are stored in their ten bits as they are.
void EncodeRelation(QByteArray& save, int i, const Relation& r);

// Apply of record i: a relation that still decodes as copy 0 does writes nothing,
// so odd stored bits the view cannot show and copies that disagree stay as they
// are; any other is encoded into all eight copies.
void StoreRelation(QByteArray& save, int officerCount, int i, const Relation& r);

// The copies 1..7 whose record i differs from copy 0.
std::vector<int> DisagreeingRelationCopies(const QByteArray& save, int i);
// Writes the four bytes of record i of copy 0, as they are, into copies 1..7.
void AlignRelationCopies(QByteArray& save, int i);

// The name of a party, empty for a number outside the name table (1023 included).
QString PartyName(const QStringList& officerNames, int party);

// The list row of record i: "###000", ":", A's name padded to 10 columns, the kind
// text, an ideographic space, B's name padded to 10 columns, C's name.
QString RelationRowText(int i, const Relation& r, const QStringList& officerNames);
// The row of a record after a store wrote it empty.
QString EmptyRelationRowText(int i);
// The row of record i after storing `r`.
QString StoredRelationRowText(int i, const Relation& r, const QStringList& officerNames);

// What A and B say for a kind, and what the third party says (empty for kind 0).
QString RelationSpeech(int kind, int party);

// The kind list: "──", then the four kinds.
QStringList RelationKindItems();

// Every field of a relationship. Parties are officer numbers up to 1023 (1023 is
// none); a larger or negative number, or a kind outside the list, is refused.
const std::vector<RecordField<Relation>>& RelationFields();
const RecordField<Relation>& RelationField(const QString& key);

}  // namespace varkel
