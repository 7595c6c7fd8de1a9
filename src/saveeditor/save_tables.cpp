#include "saveeditor/save_tables.h"

#include "saveeditor/officer_record.h"

#include "shared/bytes.h"
#include "shared/name_field.h"
#include "shared/session.h"
#include "shared/texts.h"

namespace varkel {

namespace {

constexpr int kLeaderStatus = 0;
constexpr int kChieftainStatus = 5;

QString fullName(const QByteArray& save, int officer)
{
    return ReadFullName(save, save::personBlock(officer));
}

}  // namespace

int SaveTables::countOfficers(const QByteArray& save)
{
    for (int i = save::kAlwaysPresentOfficers; i < save::kMaxOfficers; ++i) {
        if (fullName(save, i).isEmpty())
            return i;
    }
    return save::kMaxOfficers;
}

SaveTables SaveTables::build(const QByteArray& save)
{
    SaveTables t;
    t.officerCount = countOfficers(save);
    t.officerNames = QStringList(kOfficerNameTableSize);
    for (int i = 0; i < t.officerCount; ++i)
        t.officerNames[i] = fullName(save, i);

    t.forceNames = QStringList(save::kForceNameCount);
    t.forceNames[save::kNoForce] = GetResText(Text::Nothing);
    for (int i = 0; i < t.officerCount; ++i) {
        const StatusBlock status = DecodeStatusBlock(save, save::statusBlock(i));
        if (status.status != kLeaderStatus && status.status != kChieftainStatus)
            continue;
        const int force = status.force;
        if (force < save::kForceNameCount)
            t.forceNames[force] = t.officerNames[i];
        t.leaderNames << t.officerNames[i];
    }
    t.leaderNames << GetResText(Text::Nothing);

    for (int k = 0; k < save::kPlayerSlotCount; ++k) {
        t.controlled[k] = save::kNoControlledOfficer;
        const int person = le16At(save, save::playerSlot(k) + save::kPlayerPersonField);
        if (person < save::kFirstPersonNumber || person > save::kLastPersonNumber)
            continue;  // 1720 is empty; anything else outside the map is treated the same
        const int officer = le16At(save, save::personMapEntry(person));
        if (officer < t.officerCount && DecodeStatusBlock(save, save::statusBlock(officer)).controlled)
            t.controlled[k] = officer;
    }

    for (int k = 0; k < save::kFamilyRecordCount && !t.hasFamily; ++k) {
        t.hasFamily = !ReadFullName(save, save::kFamilyRecordOffset + save::kFamilyRecordSize * k).isEmpty();
    }
    return t;
}

bool SaveTables::isControlled(int officer) const
{
    return officer != save::kNoControlledOfficer &&
           std::find(controlled.begin(), controlled.end(), officer) != controlled.end();
}

int SaveTables::controlledCount() const
{
    return static_cast<int>(std::count_if(controlled.begin(), controlled.end(),
                                          [](int m) { return m != save::kNoControlledOfficer; }));
}

QString SaveTables::forceName(int forceByte) const
{
    return forceByte >= 0 && forceByte < forceNames.size() ? forceNames[forceByte] : QString::number(forceByte);
}

QString SaveTables::officerText(int officer, int none) const
{
    if (officer == none)
        return GetResText(Text::Nothing);
    return officer >= 0 && officer < officerCount ? officerNames[officer] : QString::number(officer);
}

QStringList ScenarioData::decodeCityNames(const QByteArray& bytes)
{
    constexpr qsizetype kCityNames = 2036, kCityStride = 16;
    constexpr int kCityNameLastSlot = 2;
    QStringList names;
    for (int c = 0; c < kCityCount; ++c)
        names << ReadNameField(bytes, kCityNames + kCityStride * c, kCityNameLastSlot);
    return names;
}

QStringList ScenarioData::decodeCourtRanks(const QByteArray& bytes)
{
    constexpr qsizetype kRanks = 3454, kRankStride = 12;
    constexpr int kRankCount = 32, kRankLastSlot = 10;
    QStringList names;
    for (int i = 0; i < kRankCount; ++i)
        names << ReadNameField(bytes, kRanks + kRankStride * i, kRankLastSlot);
    return names;
}

ScenarioData ScenarioData::decode(QByteArray bytes)
{
    constexpr qsizetype kTreasureNames = 3838, kTreasureStride = 21;
    constexpr int kTreasureNameLastSlot = 10;

    ScenarioData s;
    setSize(bytes, kSize);
    s.bytes = std::move(bytes);
    s.cityNames = decodeCityNames(s.bytes);
    s.courtRanks = decodeCourtRanks(s.bytes);
    for (int t = 0; t < save::kTreasureCount; ++t)
        s.treasureNames << ReadNameField(s.bytes, kTreasureNames + kTreasureStride * t, kTreasureNameLastSlot);
    return s;
}

}  // namespace varkel
