#include "saveeditor/city_record.h"

#include "shared/bytes.h"
#include "shared/field_table.h"
#include "shared/texts.h"

#include <algorithm>

namespace varkel {

using namespace city;

namespace {

constexpr int kByte = 255;
constexpr int kStrengthDigits = 4;

int statusOf(const QByteArray& save, int officer)
{
    return le16At(save, save::statusBlock(officer) + save::status::kWord) >> 6 & 15;
}

int cityOf(const QByteArray& save, int officer)
{
    return le16At(save, save::locationEntry(officer)) >> 4;
}

bool heads(int status)
{
    return status == kRuler || status == kCorpsCommander || status == kGovernor;
}

using Field = RecordField<CityRecord>;

Field& disasterFlag(FieldTable<CityRecord>& t, const char* key, int k)
{
    Field& f = t.add(key, DisasterCaptions()[k], FieldKind::Flag);
    f.control = QStringLiteral("Check1(%1)").arg(k);
    const int bit = 1 << (k + kFirstDisasterBit);
    f.get = [bit](const CityRecord& r) { return FieldValue{r.disasterByte & bit ? 1 : 0, {}, {}}; };
    f.set = [bit](CityRecord& r, const FieldValue& v) {
        r.disasterByte = v.number ? r.disasterByte | bit : r.disasterByte & ~bit;
    };
    return f;
}

std::vector<Field> buildFields()
{
    FieldTable<CityRecord> t;
    const auto none = std::nullopt;
    const auto u = [](const char* s) { return QString::fromUtf8(s); };
    t.number("corps", "Combo2", u("軍團"), 2, none, none, kNoCorps, [](auto& r) -> auto& { return r.corps; });
    // The force of the corps: it follows from the corps.
    const auto force = [](auto& r) -> auto& { return r.force; };
    t.number("force", "Combo1", u("勢力"), 2, none, none, save::kNoForce, force).readOnly = true;
    t.number("head", "Combo3", u("太守"), 4, none, none, save::kMaxOfficers - 1,
             [](auto& r) -> auto& { return r.head; });
    // A tick stores 240; a stored non-zero value stays as long as the tick does.
    Field& bandits = t.add("bandits", u("出現盜賊"), FieldKind::Flag);
    bandits.control = QStringLiteral("Check2");
    bandits.get = [](const CityRecord& r) { return FieldValue{r.bandits() ? 1 : 0, {}, {}}; };
    bandits.set = [](CityRecord& r, const FieldValue& v) {
        if (!v.number)
            r.banditsByte = 0;
        else if (!r.bandits())
            r.banditsByte = kBanditsPresent;
    };
    // Shown and typed in men, stored in twenties; more than 5000 is cut to 5000.
    Field& strength = t.number("bandit_strength", "Text1", u("盜賊數量"), kStrengthDigits, 0, kMaxStrength, 9999,
                               [](auto& r) -> auto& { return r.strengthByte; });
    strength.get = [](const CityRecord& r) { return FieldValue{r.strengthByte * kStrengthUnit, {}, {}}; };
    strength.set = [](CityRecord& r, const FieldValue& v) {
        r.strengthByte = std::min(v.number, kMaxStrength) / kStrengthUnit;
    };
    // Chosen with the officer picker; 1720 for none.
    t.number("bandit_leader", "", u("盜賊首領"), 4, none, none, kNoLeader, [](auto& r) -> auto& { return r.leader; });
    const char* const keys[kDisasterCount] = {"plague", "locusts", "typhoon", "flood", "snow", "harvest"};
    for (int k = 0; k < kDisasterCount; ++k)
        disasterFlag(t, keys[k], k);
    return std::move(t.fields);
}

FieldProblem refusal(const char* key, const QString& detail)
{
    const Field& f = CityField(QString::fromLatin1(key));
    return FieldProblem{f.control, FieldProblemMessage(f.label, detail)};
}

}  // namespace

CityHeads CityHeads::build(const QByteArray& save, int officerCount)
{
    CityHeads h;
    h.head.fill(-1);
    for (int n = 0; n < officerCount; ++n) {
        const int s = statusOf(save, n);
        const int c = cityOf(save, n);
        // A place outside the 50 cities heads nothing.
        if (!heads(s) || c >= kCount)
            continue;
        h.head[std::size_t(c)] = n;
        if (s == kRuler || s == kCorpsCommander) {
            const int k = byteAt(save, record(c) + kCorps);
            if (k < kCorpsCount)
                h.corps[std::size_t(k)] = {n, byteAt(save, save::statusBlock(n) + save::status::kForce)};
        }
    }
    return h;
}

int CityHeads::forceOf(int k) const
{
    return k >= 0 && k < kCorpsCount && corps[std::size_t(k)].commander >= 0 ? corps[std::size_t(k)].force
                                                                             : save::kNoForce;
}

std::vector<int> CityHeads::corpsOf(int force) const
{
    std::vector<int> found;
    for (int k = 0; k < kCorpsCount; ++k)
        if (corps[std::size_t(k)].commander >= 0 && corps[std::size_t(k)].force == force)
            found.push_back(k);
    return found;
}

CityOfficers CityOfficersOf(const QByteArray& save, int officerCount, int c)
{
    CityOfficers o;
    for (int n = 0; n < officerCount; ++n) {
        if (byteAt(save, save::locationEntry(n) + kLocationAway) != 0 || cityOf(save, n) != c)
            continue;
        const int s = statusOf(save, n);
        if (s > kOrdinary)
            continue;
        o.candidates.push_back(n);
        if (heads(s)) {
            o.head = n;
            o.headStatus = s;
        }
    }
    return o;
}

CityRecord DecodeCity(const QByteArray& save, const CityHeads& heads, const CityOfficers& officers, int c)
{
    const qsizetype r = record(c);
    CityRecord d;
    d.corps = byteAt(save, r + kCorps);
    d.strengthByte = byteAt(save, r + kBanditStrength);
    d.leader = le16At(save, r + kBanditLeader);
    d.disasterByte = byteAt(save, r + kDisasters);
    d.banditsByte = byteAt(save, r + kBandits);
    d.force = heads.forceOf(d.corps);
    d.head = officers.head;
    return d;
}

bool MayChangeHead(const CityRecord& record, const CityOfficers& officers)
{
    return officers.head >= 0 && officers.headStatus != kRuler && record.corps != kNoCorps;
}

std::optional<FieldProblem> StoreCity(QByteArray& save, int officerCount, int c, const CityRecord& edited)
{
    if (c < 0 || c >= kCount || record(c) + save::kCityRecordSize > save.size())
        return FieldProblem{{}, FieldProblemMessage(QStringLiteral("都市"), QStringLiteral("不在存檔中。"))};
    const CityHeads heads = CityHeads::build(save, officerCount);
    const CityOfficers officers = CityOfficersOf(save, officerCount, c);
    const CityRecord stored = DecodeCity(save, heads, officers, c);

    if (edited.corps != stored.corps) {
        // Another corps of the same force, and never for the city its corps is commanded from.
        const std::vector<int> choices = heads.corpsOf(stored.force);
        const bool seat = stored.corps < kCorpsCount &&
                          heads.corps[std::size_t(stored.corps)].commander == heads.head[std::size_t(c)] &&
                          heads.head[std::size_t(c)] >= 0;
        if (seat || std::find(choices.begin(), choices.end(), edited.corps) == choices.end())
            return refusal("corps", QStringLiteral("只能是本勢力的另一軍團。"));
    }
    if (edited.head != stored.head) {
        if (!MayChangeHead(stored, officers) ||
            std::find(officers.candidates.begin(), officers.candidates.end(), edited.head) == officers.candidates.end())
            return refusal("head", QStringLiteral("只能是在此都市的武將。"));
    }
    if (edited.leader != stored.leader && edited.leader != kNoLeader &&
        (edited.leader < 0 || edited.leader >= officerCount))
        return refusal("bandit_leader", QStringLiteral("不是此存檔的武將。"));
    for (const int byte : {edited.strengthByte, edited.disasterByte, edited.banditsByte})
        if (byte < 0 || byte > kByte)
            return refusal("bandit_strength", QStringLiteral("不能大於%1。").arg(kByte));

    const qsizetype r = record(c);
    setByte(save, r + kCorps, edited.corps);
    setByte(save, r + kBanditStrength, edited.strengthByte);
    setLe16(save, r + kBanditLeader, edited.leader);
    setByte(save, r + kDisasters, edited.disasterByte);
    setByte(save, r + kBandits, edited.banditsByte);
    if (edited.head != stored.head) {
        SetStatusCode(save, stored.head, kOrdinary);
        SetStatusCode(save, edited.head, officers.headStatus);
    }
    return std::nullopt;
}

void SetStatusCode(QByteArray& save, int officer, int status)
{
    const qsizetype word = save::statusBlock(officer) + save::status::kWord;
    setBits(save, word, 0xC0, (status & 3) << 6);
    setBits(save, word + 1, 0x03, status >> 2 & 3);
}

const std::vector<RecordField<CityRecord>>& CityFields()
{
    static const std::vector<Field> fields = buildFields();
    return fields;
}

const RecordField<CityRecord>& CityField(const QString& key)
{
    return FieldWithKey(CityFields(), key);
}

QStringList DisasterCaptions()
{
    return {QStringLiteral("瘟疫"), QStringLiteral("蝗災"), QStringLiteral("台風"),
            QStringLiteral("洪水"), QStringLiteral("大雪"), QStringLiteral("丰收")};
}

}  // namespace varkel
