#include "saveeditor/officer_record.h"

#include "saveeditor/save_layout.h"
#include "shared/bytes.h"
#include "shared/name_field.h"

#include <algorithm>

namespace varkel {

namespace {

// Status block fields.
using namespace save::status;
constexpr qsizetype kEntryYear = 1, kAbilityCopy = 2, kLoyalty = 10, kAction = 11;
constexpr qsizetype kMerit = 34, kFame = 38, kInfamy = 40, kMoney = 80;

}  // namespace

StatusBlock DecodeStatusBlock(const QByteArray& b, qsizetype at)
{
    StatusBlock s;
    s.force = byteAt(b, at + kForce);
    s.entryYearByte = byteAt(b, at + kEntryYear);
    s.loyalty = byteAt(b, at + kLoyalty);
    s.action = byteAt(b, at + kAction);
    s.merit = le16At(b, at + kMerit);
    s.fame = le16At(b, at + kFame);
    s.infamy = le16At(b, at + kInfamy);
    s.money = le16At(b, at + kMoney);
    const int word = le16At(b, at + kWord);
    s.controlled = (word & kControlledBit) != 0;
    s.rank = (word >> 2) & 15;
    s.status = (word >> 6) & 15;
    s.health = (word >> 10) & 7;
    s.lifespan = (word >> 13) & 7;
    s.skills = DecodeSkills(b, at);
    s.tactics = DecodeTactics(b, at);
    return s;
}

void EncodeStatusBlock(QByteArray& b, qsizetype at, const StatusBlock& s)
{
    setByte(b, at + kEntryYear, s.entryYearByte);
    setByte(b, at + kAction, s.action);
    setLe16(b, at + kFame, s.fame);
    setLe16(b, at + kInfamy, s.infamy);
    setLe16(b, at + kMerit, s.merit);
    setByte(b, at + kLoyalty, s.loyalty);
    setLe16(b, at + kMoney, s.money);
    // Byte 51: lifespan and health; its low two bits are the top of the status code.
    setBits(b, at + kWord + 1, 0xFC, (s.lifespan << 5) | (s.health << 2));
    EncodeSkills(b, at, s.skills);
    EncodeTactics(b, at, s.tactics);
    setBits(b, at + kWord, 0x3C, s.rank << 2);
}

GameDate DecodeGameDate(const QByteArray& save)
{
    return {byteAt(save, save::kGameYearOffset) + save::kYearBase, byteAt(save, save::kGameMonthOffset) >> 4};
}

void EncodeGameDate(QByteArray& save, const GameDate& date)
{
    setByte(save, save::kGameYearOffset, date.year - save::kYearBase);
    setBits(save, save::kGameMonthOffset, 0xF0, date.month << 4);
}

int YearsOfService(int entryYearByte, int gameYear)
{
    const int years = gameYear - (entryYearByte + save::kYearBase) + 1;
    return entryYearByte != 0 && years > 0 ? years : 0;
}

int EntryYearByte(int gameYear, int years, int previousByte)
{
    if (previousByte == 0 && years == 0)
        return 0;
    const int entry = gameYear - years + 1 - save::kYearBase;
    return entry >= 1 ? entry : 0;
}

int EntryYearToStore(const OfficerRecord& record)
{
    if (record.yearsOfService == record.readYearsOfService)
        return record.status.entryYearByte;
    return EntryYearByte(record.date.year, record.yearsOfService, record.status.entryYearByte);
}

OfficerRecord DecodeOfficer(const QByteArray& save, int officer)
{
    OfficerRecord r;
    r.person = DecodePersonBlock(save, save::personBlock(officer));
    r.status = DecodeStatusBlock(save, save::statusBlock(officer));
    r.city = le16At(save, save::locationEntry(officer)) >> 4;
    r.date = DecodeGameDate(save);
    r.yearsOfService = YearsOfService(r.status.entryYearByte, r.date.year);
    r.readYearsOfService = r.yearsOfService;
    return r;
}

void EncodeOfficer(QByteArray& save, int officer, const OfficerRecord& record)
{
    const qsizetype at = save::statusBlock(officer);
    const qsizetype person = save::personBlock(officer);
    const auto copy = AbilityCopyToStore(save, person + person::kAbilities, at + kAbilityCopy, record.person.abilities);
    for (int i = 0; i < 4; ++i)
        setByte(save, at + kAbilityCopy + i, copy[std::size_t(i)]);
    EncodePersonBlock(save, person, record.person);
    StatusBlock status = record.status;
    status.entryYearByte = EntryYearToStore(record);
    EncodeStatusBlock(save, at, status);
    EncodeGameDate(save, record.date);
}

int RankListIndex(int rank)
{
    return std::min(rank, 9);
}

int RankFromList(int listIndex, int storedRank)
{
    return listIndex == RankListIndex(storedRank) ? storedRank : listIndex;
}

int StatusListIndex(int status)
{
    return std::min(status, 11);
}

}  // namespace varkel
