#include "saveeditor/force_record.h"

#include "shared/bytes.h"
#include "shared/field_table.h"
#include "shared/name_field.h"

namespace varkel {

using namespace force;

namespace {

using Field = RecordField<ForceRecord>;

// Troop types 0-7 are the bits of byte 28, type 8 is bit 0 of byte 29; machine k is bit k + 1 of byte 29.
int& troopByteOf(ForceRecord& r, int k)
{
    return k < 8 ? r.troopByte : r.machineByte;
}
int troopBit(int k)
{
    return 1 << (k % 8);
}

std::vector<Field> buildFields()
{
    FieldTable<ForceRecord> t;
    const auto u = [](const char* s) { return QString::fromUtf8(s); };
    t.name("name", "國號", kNameCapacity, [](auto& r) -> auto& { return r.name; }).control = QStringLiteral("Text1");
    Field& rank = t.number("rank", "Combo1", u("官爵"), 2, std::nullopt, std::nullopt, kRankCount - 1,
                           [](auto& r) -> auto& { return r.rankByte; });
    rank.get = [](const ForceRecord& r) { return FieldValue{r.rank(), {}, {}}; };
    rank.set = [](ForceRecord& r, const FieldValue& v) { r.rankByte = (r.rankByte & 0x83) | (v.number & 31) << 2; };
    // Levels 1..8, stored as 0..7.
    Field& technology = t.number("technology", "Combo2", u("技朮"), 1, 1, kTechnologyLevels, kTechnologyLevels,
                                 [](auto& r) -> auto& { return r.technologyByte; });
    technology.get = [](const ForceRecord& r) { return FieldValue{r.technology() + 1, {}, {}}; };
    technology.set = [](ForceRecord& r, const FieldValue& v) {
        r.technologyByte = (r.technologyByte & 0x1F) | ((v.number - 1) & 7) << 5;
    };
    const char* const troops[kTroopTypeCount] = {"light_infantry", "heavy_infantry",      "southern_infantry",
                                                 "light_cavalry",  "heavy_cavalry",       "mountain_cavalry",
                                                 "crossbowmen",    "repeating_crossbows", "elephants"};
    for (int k = 0; k < kTroopTypeCount; ++k) {
        Field& f = t.add(troops[k], TroopTypeCaptions()[k], FieldKind::Flag);
        f.control = QStringLiteral("Check1(%1)").arg(k);
        f.get = [k](const ForceRecord& r) { return FieldValue{r.troop(k) ? 1 : 0, {}, {}}; };
        f.set = [k](ForceRecord& r, const FieldValue& v) {
            int& byte = troopByteOf(r, k);
            byte = v.number ? byte | troopBit(k) : byte & ~troopBit(k);
        };
    }
    const char* const machines[kMachineCount] = {"battering_ram", "catapult", "siege_tower", "assault_ship",
                                                 "tower_ship"};
    for (int k = 0; k < kMachineCount; ++k) {
        Field& f = t.add(machines[k], MachineCaptions()[k], FieldKind::Flag);
        f.control = QStringLiteral("Check2(%1)").arg(k);
        const int bit = 1 << (k + 1);
        f.get = [k](const ForceRecord& r) { return FieldValue{r.machine(k) ? 1 : 0, {}, {}}; };
        f.set = [bit](ForceRecord& r, const FieldValue& v) {
            r.machineByte = v.number ? r.machineByte | bit : r.machineByte & ~bit;
        };
    }
    return std::move(t.fields);
}

}  // namespace

ForceRecord DecodeForce(const QByteArray& save, int s)
{
    const qsizetype r = record(s);
    ForceRecord d;
    d.name = ReadNameField(save, r + kName, kNameLastSlot);
    d.technologyByte = byteAt(save, r + kTechnology);
    d.troopByte = byteAt(save, r + kTroops);
    d.machineByte = byteAt(save, r + kMachines);
    d.rankByte = byteAt(save, r + kRank);
    return d;
}

void EncodeForce(QByteArray& save, int s, const ForceRecord& record)
{
    const qsizetype r = force::record(s);
    // At most seven characters and their 0: the name never runs past byte 14.
    if (ReadNameField(save, r + kName, kNameLastSlot) != record.name)
        WriteNameField(save, r + kName, record.name.left(kNameCapacity));
    setByte(save, r + kTechnology, record.technologyByte);
    setByte(save, r + kTroops, record.troopByte);
    setByte(save, r + kMachines, record.machineByte);
    setByte(save, r + kRank, record.rankByte);
}

const std::vector<RecordField<ForceRecord>>& ForceFields()
{
    static const std::vector<Field> fields = buildFields();
    return fields;
}

const RecordField<ForceRecord>& ForceField(const QString& key)
{
    return FieldWithKey(ForceFields(), key);
}

QStringList TroopTypeCaptions()
{
    return {QStringLiteral("輕步兵"), QStringLiteral("重步兵"),  QStringLiteral("南蠻兵"),
            QStringLiteral("輕騎兵"), QStringLiteral("重騎兵"),  QStringLiteral("山岳騎"),
            QStringLiteral("弩兵"),   QStringLiteral("連弩車 "), QStringLiteral("象兵")};
}

QStringList MachineCaptions()
{
    return {QStringLiteral("衝車 "), QStringLiteral("投石車 "), QStringLiteral("井闌"), QStringLiteral("艨衝"),
            QStringLiteral("樓船")};
}

QStringList TechnologyItems()
{
    QStringList items;
    for (int level = 1; level <= kTechnologyLevels; ++level)
        items << QString::number(level);
    return items;
}

}  // namespace varkel
