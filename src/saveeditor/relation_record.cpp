#include "saveeditor/relation_record.h"

#include "shared/bytes.h"
#include "shared/field_table.h"
#include "shared/name_field.h"
#include "shared/texts.h"

#include <algorithm>

namespace varkel {

using namespace relation;

namespace {

constexpr int kNumberDigits = 3;
constexpr int kNameColumns = 10;
constexpr int kFirstKindText = 177;
constexpr int kFirstSpeech = 280;
constexpr int kAvengerSpeech = 288;
constexpr int kThirdParty = 2;

const QChar kIdeographicSpace(0x3000);

quint32 valueAt(const QByteArray& save, qsizetype at)
{
    return quint32(byteAt(save, at)) | quint32(byteAt(save, at + 1)) << 8 | quint32(byteAt(save, at + 2)) << 16 |
           quint32(byteAt(save, at + 3)) << 24;
}

void writeAllCopies(QByteArray& save, int i, quint32 value)
{
    for (int copy = 0; copy < kCopyCount; ++copy)
        for (int k = 0; k < kRecordSize; ++k)
            setByte(save, record(i, copy) + k, int(value >> (8 * k)));
}

quint32 encode(const Relation& r)
{
    if (StoresEmpty(r))
        return kEmptyRecord;
    return quint32(r.c & kPartyMask) | quint32(r.b & kPartyMask) << kPartyBits |
           quint32(r.a & kPartyMask) << (2 * kPartyBits) | quint32((r.kind - 1) & 3) << (3 * kPartyBits);
}

using Field = RecordField<Relation>;

std::vector<Field> buildFields()
{
    FieldTable<Relation> t;
    const auto none = std::nullopt;
    const auto u = [](const char* s) { return QString::fromUtf8(s); };
    // Parties are chosen with the officer picker; any ten-bit number can be stored.
    t.number("a", "", u("甲方"), 4, none, none, kNoParty, [](auto& r) -> auto& { return r.a; });
    t.number("b", "", u("乙方"), 4, none, none, kNoParty, [](auto& r) -> auto& { return r.b; });
    t.number("c", "", u("第三者"), 4, none, none, kNoParty, [](auto& r) -> auto& { return r.c; });
    // "type", as for treasures: "kind" names the sort of record on the command line.
    t.choice("type", "關系", RelationKindItems(), [](auto& r) -> auto& { return r.kind; }).control =
        QStringLiteral("Combo4");
    return std::move(t.fields);
}

}  // namespace

Relation DecodeRelation(const QByteArray& save, int officerCount, int i)
{
    const quint32 v = valueAt(save, record(i));
    Relation r;
    r.c = int(v & kPartyMask);
    r.b = int(v >> kPartyBits & kPartyMask);
    r.a = int(v >> (2 * kPartyBits) & kPartyMask);
    r.kind = r.a < officerCount ? int(v >> (3 * kPartyBits)) + 1 : kNone;
    return r;
}

bool StoresEmpty(const Relation& r)
{
    return r.kind == kNone || r.a == kNoParty || r.b == kNoParty;
}

void EncodeRelation(QByteArray& save, int i, const Relation& r)
{
    writeAllCopies(save, i, encode(r));
}

void StoreRelation(QByteArray& save, int officerCount, int i, const Relation& r)
{
    if (r != DecodeRelation(save, officerCount, i))
        EncodeRelation(save, i, r);
}

std::vector<int> DisagreeingRelationCopies(const QByteArray& save, int i)
{
    std::vector<int> copies;
    const quint32 first = valueAt(save, record(i));
    for (int copy = 1; copy < kCopyCount; ++copy)
        if (valueAt(save, record(i, copy)) != first)
            copies.push_back(copy);
    return copies;
}

void AlignRelationCopies(QByteArray& save, int i)
{
    writeAllCopies(save, i, valueAt(save, record(i)));
}

QString PartyName(const QStringList& officerNames, int party)
{
    return party >= 0 && party < officerNames.size() ? officerNames[party] : QString();
}

QString RelationRowText(int i, const Relation& r, const QStringList& officerNames)
{
    return FormatNumber(i, kNumberDigits) + QLatin1Char(':') + PadRight(PartyName(officerNames, r.a), kNameColumns) +
           ChoiceText(RelationField(QStringLiteral("type")), r.kind) + kIdeographicSpace +
           PadRight(PartyName(officerNames, r.b), kNameColumns) + PartyName(officerNames, r.c);
}

QString EmptyRelationRowText(int i)
{
    return FormatNumber(i, kNumberDigits) + QLatin1Char(':') + QString(5, kIdeographicSpace) +
           GetResText(kFirstKindText);
}

QString StoredRelationRowText(int i, const Relation& r, const QStringList& officerNames)
{
    return StoresEmpty(r) ? EmptyRelationRowText(i) : RelationRowText(i, r, officerNames);
}

QString RelationSpeech(int kind, int party)
{
    if (kind <= kNone || kind >= kKindCount || party < 0 || party > kThirdParty)
        return {};
    return GetResText(party == kThirdParty ? kAvengerSpeech : kFirstSpeech + 2 * (kind - 1) + party);
}

QStringList RelationKindItems()
{
    return GetResTexts(kFirstKindText, kFirstKindText + kKindCount - 1);
}

const std::vector<RecordField<Relation>>& RelationFields()
{
    static const std::vector<Field> fields = buildFields();
    return fields;
}

const RecordField<Relation>& RelationField(const QString& key)
{
    return FieldWithKey(RelationFields(), key);
}

}  // namespace varkel
