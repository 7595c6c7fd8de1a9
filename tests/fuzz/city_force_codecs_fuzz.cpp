// The city and force codecs. Decoding a city takes any bytes and any officers; a
// city stored as decoded changes nothing; any other store either changes nothing
// and says why, or writes only the record's five values and, for a new head, the
// status bits of the old and the new head, and only what the rules allow (another
// corps of the city's force, a head from the officers staying there, a leader of
// the save or none). A force encoded as decoded changes nothing; any force with a
// name the field accepts changes only its name field and its four bit-field bytes
// and reads back as it was given. An edit through the city and force record kinds
// changes only the record's extents, or nothing when it is refused.
//
// Input: a kind byte (city, force, edit), then
//   city:  the officers (see below), the city (a byte, mod 53, minus 1: -1..51),
//          the officer count (16 bits, mod 1024), how many bytes of the save are
//          kept from the record's start (16 bits; the save ends there when it is
//          shorter), which values of the stored city are replaced (a byte: bit
//          0 corps, 1 strength, 2 leader, 3 disasters, 4 bandits, 5 head), then
//          those six values (16 bits each, signed);
//   force: the force (a byte, mod 68), how many bytes of the save are kept from
//          the record's start (16 bits), 40 bytes laid over the record, the name
//          (a length byte mod 8, then 16-bit code units), then the technology,
//          troop, machine and rank bytes;
//   edit:  the officers, the sort (a byte, even: city, odd: force), the record (16
//          bits, signed), then "key=value" lines as UTF-16.
// The officers: a base byte (even: patterned, odd: every officer away), a count
// byte (mod 16) of officers placed (number 16 bits mod 1024, city, status mod 16,
// force and away bytes each), then a patch: where (32 bits, signed), how many
// bytes (16 bits) and the bytes.

#include "fuzz_support.h"

#include "saveeditor/city_kind.h"
#include "saveeditor/city_record.h"
#include "saveeditor/force_kind.h"
#include "saveeditor/force_record.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/save_tables.h"
#include "shared/bytes.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace varkel::fuzz {

namespace {

enum Input { kCityInput, kForceInput, kEditInput, kInputCount };

constexpr int kMostPlaced = 16;
constexpr int kFieldCount = 6;
constexpr qsizetype kAway = 3;
constexpr qsizetype kNameBytes = 2 * force::kNameCapacity + 1;
constexpr qsizetype kCityBytes[] = {city::kCorps,        city::kBanditStrength,
                                    city::kBanditLeader, city::kBanditLeader + 1,
                                    city::kDisasters,    city::kBandits};
constexpr qsizetype kForceBytes[] = {force::kTechnology, force::kTroops, force::kMachines, force::kRank};

const QByteArray& patternedSave()
{
    static const QByteArray bytes = Patterned(save::kStartupBufferSize);
    return bytes;
}

// The patterned save with every officer away and of status 9, so that only the
// officers an input places stay in a city.
const QByteArray& quietSave()
{
    static const QByteArray bytes = [] {
        QByteArray b = patternedSave();
        for (int n = 0; n < save::kMaxOfficers; ++n) {
            SetStatusCode(b, n, 9);
            setByte(b, save::locationEntry(n) + kAway, 1);
        }
        return b;
    }();
    return bytes;
}

int statusOf(const QByteArray& save, int n)
{
    return le16At(save, save::statusBlock(n) + save::status::kWord) >> 6 & 15;
}

void markStatus(QByteArray& mask, int officer)
{
    const qsizetype word = save::statusBlock(officer) + save::status::kWord;
    setBits(mask, word, 0xC0, 0xC0);
    setBits(mask, word + 1, 0x03, 0x03);
}

QByteArray world(FuzzInput& input)
{
    QByteArray save = input.byte() % 2 ? quietSave() : patternedSave();
    const int placed = input.byte() % kMostPlaced;
    for (int i = 0; i < placed; ++i) {
        const int n = input.int16() & 0x3FF;
        const int c = input.byte();
        SetStatusCode(save, n, input.byte() & 15);
        setByte(save, save::statusBlock(n) + save::status::kForce, input.byte());
        setBits(save, save::locationEntry(n), 0xF0, c << 4);
        setByte(save, save::locationEntry(n) + 1, c >> 4);
        setByte(save, save::locationEntry(n) + kAway, input.byte());
    }
    const qsizetype at = input.int32();
    const QByteArray bytes = input.take(input.int16() & 0xFFFF);
    for (qsizetype k = 0; k < bytes.size(); ++k)
        setByte(save, at + k, static_cast<unsigned char>(bytes[k]));
    return save;
}

bool contains(const std::vector<int>& list, int value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

void checkCity(const QByteArray& save, int count, int c, int replaced, const int (&values)[kFieldCount])
{
    const Exact exact(save);
    const CityHeads heads = CityHeads::build(exact.view(), count);
    const CityOfficers officers = CityOfficersOf(exact.view(), count, c);
    const CityRecord stored = DecodeCity(exact.view(), heads, officers, c);
    for (const int head : heads.head)
        FUZZ_CHECK(head >= -1 && head < count);
    FUZZ_CHECK(std::is_sorted(officers.candidates.begin(), officers.candidates.end()));
    for (const int n : officers.candidates)
        FUZZ_CHECK(n >= 0 && n < count && statusOf(save, n) <= city::kOrdinary);
    FUZZ_CHECK(officers.head == -1 || contains(officers.candidates, officers.head));
    FUZZ_CHECK(stored.force == heads.forceOf(stored.corps) && stored.head == officers.head);
    const bool inSave = c >= 0 && c < city::kCount && city::record(c) + save::kCityRecordSize <= save.size();

    // Stored as decoded: nothing changes.
    QByteArray b = save;
    FUZZ_CHECK(StoreCity(b, count, c, stored).has_value() == !inSave);
    FUZZ_CHECK_BYTES(b, save, QByteArray());

    CityRecord edited = stored;
    int* const fields[kFieldCount] = {&edited.corps,        &edited.strengthByte, &edited.leader,
                                      &edited.disasterByte, &edited.banditsByte,  &edited.head};
    for (int i = 0; i < kFieldCount; ++i)
        if (replaced >> i & 1)
            *fields[i] = values[i];
    b = save;
    if (StoreCity(b, count, c, edited)) {
        FUZZ_CHECK_BYTES(b, save, QByteArray());
        return;
    }
    // What was stored is what the rules allow.
    FUZZ_CHECK(inSave);
    FUZZ_CHECK(edited.corps == stored.corps || contains(heads.corpsOf(stored.force), edited.corps));
    const bool newHead = edited.head != stored.head;
    FUZZ_CHECK(!newHead || (MayChangeHead(stored, officers) && contains(officers.candidates, edited.head)));
    FUZZ_CHECK(edited.leader == stored.leader || edited.leader == city::kNoLeader ||
               (edited.leader >= 0 && edited.leader < count));
    QByteArray owned(save.size(), '\0');
    for (const qsizetype k : kCityBytes)
        setByte(owned, city::record(c) + k, 0xFF);
    if (newHead) {
        markStatus(owned, stored.head);
        markStatus(owned, edited.head);
        FUZZ_CHECK(statusOf(b, stored.head) == city::kOrdinary && statusOf(b, edited.head) == officers.headStatus);
    }
    FUZZ_CHECK_BYTES(b, save, owned);

    const CityOfficers after = CityOfficersOf(b, count, c);
    const CityRecord back = DecodeCity(b, CityHeads::build(b, count), after, c);
    FUZZ_CHECK(back.corps == (edited.corps & 0xFF) && back.strengthByte == edited.strengthByte &&
               back.leader == (edited.leader & 0xFFFF) && back.disasterByte == edited.disasterByte &&
               back.banditsByte == edited.banditsByte);
    FUZZ_CHECK(after.candidates == officers.candidates);
    // The new head heads the city, unless another head of a higher number stays there too.
    int headsThere = 0;
    for (const int n : officers.candidates)
        headsThere += statusOf(save, n) <= city::kGovernor;
    FUZZ_CHECK(!newHead || headsThere > 1 || back.head == edited.head);
}

void checkForce(const QByteArray& save, int s, const ForceRecord& given)
{
    const Exact exact(save);
    const ForceRecord stored = DecodeForce(exact.view(), s);
    FUZZ_CHECK(stored.rank() >= 0 && stored.rank() < force::kRankCount);
    FUZZ_CHECK(stored.technology() >= 0 && stored.technology() < force::kTechnologyLevels);
    FUZZ_CHECK(stored.name.size() <= force::kNameCapacity * 2);

    QByteArray b = save;
    EncodeForce(b, s, stored);
    FUZZ_CHECK_BYTES(b, save, QByteArray());

    // A name the field refuses never reaches the codec.
    if (!ParseFieldValue(ForceField(QStringLiteral("name")), given.name, nullptr))
        return;
    b = save;
    EncodeForce(b, s, given);
    QByteArray owned(save.size(), '\0');
    for (qsizetype k = 0; k < kNameBytes; ++k)
        setByte(owned, force::record(s) + k, 0xFF);
    for (const qsizetype k : kForceBytes)
        setByte(owned, force::record(s) + k, 0xFF);
    FUZZ_CHECK_BYTES(b, save, owned);
    if (force::record(s) + save::kForceRecordSize > save.size())
        return;
    const ForceRecord back = DecodeForce(b, s);
    FUZZ_CHECK(back.name == given.name);
    FUZZ_CHECK(back.technologyByte == given.technologyByte && back.troopByte == given.troopByte &&
               back.machineByte == given.machineByte && back.rankByte == given.rankByte);
}

void checkEdit(bool forces, int n, const QByteArray& save, const QString& typed)
{
    std::unique_ptr<RecordKind> kind;
    if (forces)
        kind = std::make_unique<ForceKind>(QStringList(force::kRankCount, QStringLiteral("官")));
    else
        kind = std::make_unique<CityKind>(QStringList(city::kCount, QStringLiteral("城")));
    QByteArray b = save;
    kind->load(b);
    std::vector<std::pair<QString, QString>> values;
    for (const QString& line : typed.split(QLatin1Char('\n'))) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0)
            values.emplace_back(line.left(eq), line.mid(eq + 1));
    }
    QByteArray owned(save.size(), '\0');
    auto own = [&] {
        for (const auto& e : kind->extents(n))
            for (qsizetype k = e.offset; k < e.offset + e.size; ++k)
                setByte(owned, k, 0xFF);
    };
    if (n >= 0 && n < kind->count())
        own();
    const EditResult result = EditRecord(*kind, b, n, values);
    if (result.problem || n < 0 || n >= kind->count()) {
        FUZZ_CHECK(result.problem.has_value());
        FUZZ_CHECK_BYTES(b, save, QByteArray());
        return;
    }
    own();
    FUZZ_CHECK_BYTES(b, save, owned);
    for (const auto& finding : kind->check())
        FUZZ_CHECK(finding.record >= -1 && finding.record < kind->count());
}

// Officers placed as (number, city, status, force, away).
QByteArray officers(bool quiet, std::initializer_list<std::array<int, 5>> placed, qsizetype at = 0,
                    const QByteArray& patch = {})
{
    QByteArray input = Byte(quiet ? 1 : 0) + Byte(int(placed.size()));
    for (const auto& [n, c, s, f, away] : placed)
        input += Int16(n) + Byte(c) + Byte(s) + Byte(f) + Byte(away);
    return input + Int32(int(at)) + Int16(int(patch.size())) + patch;
}

QByteArray cityRecord(int corps, int leader = city::kNoLeader)
{
    QByteArray record(save::kCityRecordSize, '\0');
    setByte(record, city::kCorps, corps);
    setLe16(record, city::kBanditLeader, leader);
    return record;
}

QByteArray citySeed(const QByteArray& world, int c, int count, int kept, int replaced,
                    const std::array<int, kFieldCount>& values)
{
    QByteArray input = Byte(kCityInput) + world + Byte(c + 1) + Int16(count) + Int16(kept) + Byte(replaced);
    for (const int v : values)
        input += Int16(v);
    return input;
}

QByteArray forceSeed(const QByteArray& save, int s, int kept, const QString& name, std::array<int, 4> bytes)
{
    QByteArray input = Byte(kForceInput) + Byte(s) + Int16(kept) + save.mid(force::record(s), save::kForceRecordSize) +
                       Byte(int(name.size()));
    for (const QChar ch : name)
        input += Int16(ch.unicode());
    for (const int v : bytes)
        input += Byte(v);
    return input;
}

QByteArray editSeed(const QByteArray& world, bool forces, int n, const QString& typed)
{
    return Byte(kEditInput) + world + Byte(forces ? 1 : 0) + Int16(n) + Utf16(typed);
}

}  // namespace

std::vector<QByteArray> Seeds(const QString& demoFolder)
{
    std::vector<QByteArray> seeds;
    const QByteArray newest = ReadFile(SaveGame::slotPath(demoFolder, 5));
    const int all = save::kMaxOfficers;
    constexpr int kHead = 1 << 5, kCorps = 1, kLeader = 1 << 2, kStrength = 1 << 1;
    // A governor's city and a corps commander's city with two more officers; a ruler's city.
    const QByteArray governed =
        officers(true, {{200, 5, 2, 9, 0}, {201, 5, 4, 9, 0}, {202, 5, 3, 9, 0}}, city::record(5), cityRecord(30));
    const QByteArray commanded =
        officers(true, {{200, 5, 1, 9, 0}, {201, 5, 4, 9, 0}, {202, 5, 3, 9, 0}}, city::record(5), cityRecord(30));
    const QByteArray ruled = officers(true, {{10, 1, 0, 1, 0}, {11, 1, 4, 1, 0}}, city::record(1), cityRecord(2));
    seeds.push_back(citySeed(governed, 5, all, -1, kHead, {0, 0, 0, 0, 0, 202}));
    seeds.push_back(citySeed(governed, 5, all, -1, kHead, {0, 0, 0, 0, 0, 203}));
    seeds.push_back(citySeed(commanded, 5, all, -1, kHead, {0, 0, 0, 0, 0, 201}));
    seeds.push_back(citySeed(ruled, 1, all, -1, kHead, {0, 0, 0, 0, 0, 11}));
    seeds.push_back(citySeed(commanded, 5, all, -1, 0x1F, {30, 250, 1720, 0xFC, 240, 0}));
    // Another corps of the force: a ruler's corps 2 and a commander's corps 7 hold city 3.
    const QByteArray corps = officers(true, {{10, 1, 0, 1, 0}, {12, 2, 1, 1, 0}, {13, 3, 4, 1, 0}}, city::record(1),
                                      cityRecord(2) + cityRecord(7) + cityRecord(2));
    seeds.push_back(citySeed(corps, 3, all, -1, kCorps, {7, 0, 0, 0, 0, 0}));
    seeds.push_back(citySeed(corps, 2, all, -1, kCorps, {2, 0, 0, 0, 0, 0}));
    seeds.push_back(citySeed(corps, 3, all, -1, kCorps | kLeader, {70, 0, 1800, 0, 0, 0}));
    // Odd stored values, a leader past the count, a strength past a byte, two governors.
    const QByteArray odd = officers(true, {{20, 7, 4, 2, 0}}, city::record(7), cityRecord(70, 1800));
    seeds.push_back(citySeed(odd, 7, all, -1, 1 << 3, {0, 0, 0, 0x40, 0, 0}));
    seeds.push_back(citySeed(odd, 7, 100, -1, kLeader, {0, 0, 100, 0, 0, 0}));
    seeds.push_back(citySeed(odd, 7, all, -1, kStrength, {0, 256, 0, 0, 0, 0}));
    const QByteArray twoHeads =
        officers(true, {{300, 11, 2, 4, 0}, {301, 11, 2, 4, 0}, {250, 11, 4, 4, 0}}, city::record(11), cityRecord(40));
    seeds.push_back(citySeed(twoHeads, 11, all, -1, kHead, {0, 0, 0, 0, 0, 250}));
    // Cut inside the record; cities outside the 50; the demo's cities on the patterned officers.
    seeds.push_back(citySeed(governed, 5, all, 20, kHead, {0, 0, 0, 0, 0, 202}));
    seeds.push_back(citySeed(governed, 50, all, -1, 1, {1, 0, 0, 0, 0, 0}));
    seeds.push_back(citySeed(governed, -1, all, -1, 0, {0, 0, 0, 0, 0, 0}));
    const QByteArray demoCities = newest.mid(city::record(0), save::kCityRecordSize * city::kCount);
    for (const int c : {0, 9, 49})
        seeds.push_back(citySeed(officers(false, {}, city::record(0), demoCities), c, 760, -1, 0x3F,
                                 {5, 10, 12, 0xFF, 1, 7}));

    for (const int s : {0, 1, 3, 67}) {
        const ForceRecord f = DecodeForce(newest, s);
        seeds.push_back(forceSeed(newest, s, -1, f.name, {f.technologyByte, f.troopByte, f.machineByte, f.rankByte}));
        seeds.push_back(forceSeed(newest, s, -1, QStringLiteral("大漢國天下一統"), {0xFF, 0xFF, 0xFF, 0xFF}));
        seeds.push_back(forceSeed(newest, s, -1, QString(), {0, 0, 0, 0}));
    }
    seeds.push_back(forceSeed(newest, 2, 10, QStringLiteral("吳國"), {0xE0, 1, 0x3E, 0x7C}));
    seeds.push_back(forceSeed(newest, 2, -1, QStringLiteral("ABC"), {0, 0, 0, 0}));
    seeds.push_back(forceSeed(newest, 2, -1, QStringLiteral("十"), {0, 0, 0, 0}));

    seeds.push_back(editSeed(governed, false, 5, QStringLiteral("head=202")));
    seeds.push_back(editSeed(ruled, false, 1, QStringLiteral("head=11")));
    seeds.push_back(editSeed(corps, false, 3, QStringLiteral("corps=7\nbandits=1\nbandit_strength=9999")));
    seeds.push_back(editSeed(odd, false, 7, QStringLiteral("snow=1\nbandit_leader=1720\nforce=68")));
    seeds.push_back(editSeed(officers(false, {}), false, 12, QStringLiteral("plague=1\nhead_name=城")));
    seeds.push_back(editSeed(officers(false, {}), true, 4, QStringLiteral("name=大漢\ntechnology=8\nelephants=1")));
    seeds.push_back(editSeed(officers(false, {}), true, 67, QStringLiteral("rank=31\nrank_text=官\nname=ABC")));
    seeds.push_back(editSeed(officers(false, {}), true, 68, QStringLiteral("rank=1")));
    return seeds;
}

namespace {

void readCity(FuzzInput& input)
{
    QByteArray save = world(input);
    const int c = input.byte() % (city::kCount + 3) - 1;
    const int count = input.int16() & 0x3FF;
    const qsizetype kept = input.int16() & 0xFFFF;
    save.truncate(std::min(save.size(), city::record(std::max(c, 0)) + kept));
    const int replaced = input.byte();
    int values[kFieldCount];
    for (int& v : values)
        v = input.int16();
    checkCity(save, count, c, replaced, values);
}

void readForce(FuzzInput& input)
{
    const int s = input.byte() % force::kCount;
    const qsizetype kept = input.int16() & 0xFFFF;
    QByteArray save = patternedSave();
    const QByteArray bytes = input.take(save::kForceRecordSize);
    for (qsizetype k = 0; k < bytes.size(); ++k)
        setByte(save, force::record(s) + k, static_cast<unsigned char>(bytes[k]));
    save.truncate(std::min(save.size(), force::record(s) + kept));
    ForceRecord given;
    const int length = input.byte() % (force::kNameCapacity + 1);
    for (int i = 0; i < length; ++i)
        given.name += QChar(char16_t(input.int16()));
    given.technologyByte = input.byte();
    given.troopByte = input.byte();
    given.machineByte = input.byte();
    given.rankByte = input.byte();
    checkForce(save, s, given);
}

void readEdit(FuzzInput& input)
{
    const QByteArray save = world(input);
    const bool forces = input.byte() % 2;
    const int n = input.int16();
    checkEdit(forces, n, save, input.restAsUtf16());
}

}  // namespace

}  // namespace varkel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace varkel::fuzz;
    return ReadInputOfKind<kInputCount>(data, size, readCity, readForce, readEdit);
}
