// The relationship codec and the intimacy level streams. Decoding any record gives
// parties of ten bits and a kind of 0..4; encoding or storing any relationship
// changes nothing outside the eight copies of its record and leaves them alike;
// storing what was decoded changes no byte at all.
// A level write or apply changes exactly the five bits of each position it is given
// (read back bit by bit, most significant first) or, for a position or value out of
// range or a level the buffer does not hold, nothing. An edit through the record
// kinds changes only the record's bytes, or nothing when it is refused.
//
// Input: a kind byte (relation, level, stream, edit), then
//   relation: the record (a byte), the officer count (16 bits, signed), how many
//             bytes of the save are kept from copy 0 of the record (16 bits; the
//             save ends there when it is shorter), 32 bytes laid over the record's
//             eight copies, then the relation to store: A, B, C and kind (16 bits
//             each, signed);
//   level:    the player slot (a byte, mod 10: 8 and 9 have no streams), the
//             special flag (a byte, odd: special), the value (16 bits, signed), the
//             positions (a count byte mod 8, then 16 bits each, signed; the first
//             is also written alone), then bytes laid over the slot's streams;
//   stream:   the stream's offset (32 bits, signed) and count (16 bits), the
//             position (16 bits, signed), the value (a byte, mod 40), then the buffer;
//   edit:     the sort (a byte, mod 3: relations, general or special intimacy), the
//             player slot (a byte, mod 8), the record (16 bits, signed), a patch
//             (where, 32 bits signed; how many bytes, 16 bits; the bytes), then
//             "key=value" lines as UTF-16.

#include "fuzz_support.h"

#include "saveeditor/intimacy_kind.h"
#include "saveeditor/intimacy_stream.h"
#include "saveeditor/relation_kind.h"
#include "saveeditor/relation_record.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/save_tables.h"
#include "shared/bytes.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace varkel::fuzz {

namespace {

using relation::record;

enum Input { kRelationInput, kLevelInput, kStreamInput, kEditInput, kInputCount };
enum EditSort { kRelations, kGeneralLevels, kSpecialLevels, kSortCount };

constexpr int kCopyBytes = relation::kCopyCount * relation::kRecordSize;
constexpr int kStreamBytes = int(intimacy::kGeneralStreamSize + intimacy::kSpecialStreamSize);
constexpr int kMostPositions = 8;
const QByteArray kEmptyRecord("\xFF\xFF\xFF\x3F", relation::kRecordSize);

const QByteArray& patternedSave()
{
    static const QByteArray bytes = Patterned(save::kStartupBufferSize);
    return bytes;
}

QByteArray ownedCopies(qsizetype size, int i)
{
    QByteArray mask(size, '\0');
    for (int copy = 0; copy < relation::kCopyCount; ++copy)
        for (int k = 0; k < relation::kRecordSize; ++k)
            setByte(mask, record(i, copy) + k, 0xFF);
    return mask;
}

// The eight copies of record i that lie inside the buffer are all `bytes`.
void checkCopiesAre(const QByteArray& save, int i, const QByteArray& bytes)
{
    for (int copy = 0; copy < relation::kCopyCount; ++copy)
        for (int k = 0; k < relation::kRecordSize; ++k)
            if (record(i, copy) + k < save.size())
                FUZZ_CHECK(byteAt(save, record(i, copy) + k) == byteAt(bytes, k));
}

QByteArray copyZero(const QByteArray& save, int i)
{
    QByteArray bytes(relation::kRecordSize, '\0');
    for (int k = 0; k < relation::kRecordSize; ++k)
        setByte(bytes, k, byteAt(save, record(i) + k));
    return bytes;
}

void checkRelation(int i, int count, const QByteArray& save, const Relation& stored)
{
    const Exact exact(save);
    const Relation decoded = DecodeRelation(exact.view(), count, i);
    for (const int party : {decoded.a, decoded.b, decoded.c})
        FUZZ_CHECK(party >= 0 && party <= relation::kNoParty);
    FUZZ_CHECK(decoded.kind == (decoded.a < count ? (byteAt(save, record(i) + 3) >> 6) + 1 : relation::kNone));
    const QByteArray owned = ownedCopies(save.size(), i);
    const bool wholeRecord = record(i, relation::kCopyCount - 1) + relation::kRecordSize <= save.size();

    // Stored unchanged: every byte as it was, the further copies too.
    QByteArray b = save;
    StoreRelation(b, count, i, decoded);
    FUZZ_CHECK_BYTES(b, save, QByteArray());

    b = save;
    EncodeRelation(b, i, decoded);
    FUZZ_CHECK_BYTES(b, save, owned);
    checkCopiesAre(b, i, StoresEmpty(decoded) ? kEmptyRecord : copyZero(b, i));
    if (wholeRecord && !StoresEmpty(decoded))
        FUZZ_CHECK(DecodeRelation(b, count, i) == decoded);

    // Any relation, in range or not.
    b = save;
    StoreRelation(b, count, i, stored);
    FUZZ_CHECK_BYTES(b, save, owned);
    if (stored == decoded)
        return;
    checkCopiesAre(b, i, StoresEmpty(stored) ? kEmptyRecord : copyZero(b, i));
    if (wholeRecord)
        FUZZ_CHECK(DisagreeingRelationCopies(b, i).empty());
    const int parties[] = {stored.a, stored.b, stored.c};
    const bool inRange =
        std::all_of(std::begin(parties), std::end(parties), [](int p) { return p >= 0 && p <= relation::kNoParty; }) &&
        stored.kind >= relation::kNone && stored.kind < relation::kKindCount;
    if (wholeRecord && inRange && !StoresEmpty(stored)) {
        Relation back = stored;
        if (stored.a >= count)
            back.kind = relation::kNone;
        FUZZ_CHECK(DecodeRelation(b, count, i) == back);
    }
}

// The bits of `positions` in a stream, as a mask over the buffer.
QByteArray levelBits(qsizetype size, const LevelStream& stream, const std::vector<int>& positions)
{
    QByteArray mask(size, '\0');
    for (const int p : positions)
        for (int j = 0; j < intimacy::kLevelBits; ++j) {
            const qsizetype bit = qsizetype(p) * intimacy::kLevelBits + j;
            setBits(mask, stream.offset + bit / 8, 0x80 >> (bit % 8), 0xFF);
        }
    return mask;
}

// The level at `position` read bit by bit, top bit first.
int levelAt(const QByteArray& buffer, const LevelStream& stream, int position)
{
    int value = 0;
    for (int j = 0; j < intimacy::kLevelBits; ++j) {
        const qsizetype bit = qsizetype(position) * intimacy::kLevelBits + j;
        value = value << 1 | (byteAt(buffer, stream.offset + bit / 8) >> (7 - bit % 8) & 1);
    }
    return value;
}

bool holds(const QByteArray& buffer, const LevelStream& stream, int position)
{
    if (position < 0 || position >= stream.count)
        return false;
    const qsizetype first = qsizetype(position) * intimacy::kLevelBits;
    return stream.offset + first / 8 >= 0 && stream.offset + (first + intimacy::kLevelBits - 1) / 8 < buffer.size();
}

void checkLevels(const QByteArray& buffer, const LevelStream& stream, const std::vector<int>& positions, int value)
{
    const bool valueOk = value >= 0 && value < intimacy::kLevelCount;
    const Exact exact(buffer);
    for (const int p : positions) {
        const auto read = stream.read(exact.view(), p);
        FUZZ_CHECK(read.has_value() == holds(buffer, stream, p));
        FUZZ_CHECK(!read || *read == levelAt(buffer, stream, p));
    }

    const std::vector<std::vector<int>> writes = {
        positions.empty() ? std::vector<int>{} : std::vector<int>{positions.front()}, positions};
    for (std::size_t w = 0; w < writes.size(); ++w) {
        const std::vector<int>& set = writes[w];
        // A set is written one position after another, as the intimacy editor
        // does inside one document step; a refused position refuses the set. An
        // empty set writes nothing, whatever the value.
        const auto held = [&](int p) { return holds(buffer, stream, p); };
        const bool ok = set.empty() || (valueOk && std::all_of(set.begin(), set.end(), held));
        QByteArray b = buffer;
        const bool written = std::all_of(set.begin(), set.end(), [&](int p) { return stream.write(b, p, value); });
        FUZZ_CHECK(written == ok);
        if (!written) {
            // Only a set of one is refused before anything is written.
            if (set.size() == 1)
                FUZZ_CHECK_BYTES(b, buffer, QByteArray());
            continue;
        }
        FUZZ_CHECK_BYTES(b, buffer, levelBits(buffer.size(), stream, set));
        for (const int p : set)
            FUZZ_CHECK(levelAt(b, stream, p) == value && stream.read(b, p) == value);
    }
}

void checkEdit(EditSort sort, int slot, int n, const QByteArray& save, const QString& typed)
{
    std::unique_ptr<RecordKind> kind;
    if (sort == kRelations)
        kind = std::make_unique<RelationKind>();
    else
        kind = std::make_unique<IntimacyKind>(slot, sort == kSpecialLevels);
    QByteArray b = save;
    kind->load(b);
    FUZZ_CHECK(kind->count() == (sort == kRelations       ? relation::kCount
                                 : sort == kSpecialLevels ? intimacy::kSpecialPositions
                                                          : GeneralListRows(SaveTables::countOfficers(save))));
    std::vector<std::pair<QString, QString>> values;
    for (const QString& line : typed.split(QLatin1Char('\n'))) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0)
            values.emplace_back(line.left(eq), line.mid(eq + 1));
    }
    const EditResult result = EditRecord(*kind, b, n, values);
    if (result.problem || n < 0 || n >= kind->count()) {
        FUZZ_CHECK(result.problem.has_value());
        FUZZ_CHECK_BYTES(b, save, QByteArray());
        return;
    }
    QByteArray owned(save.size(), '\0');
    for (const auto& e : kind->extents(n))
        for (qsizetype k = e.offset; k < e.offset + e.size; ++k)
            setByte(owned, k, 0xFF);
    FUZZ_CHECK_BYTES(b, save, owned);
    if (sort == kRelations && !result.changes.empty())
        FUZZ_CHECK(DisagreeingRelationCopies(b, n).empty());
    for (const auto& finding : kind->check())
        FUZZ_CHECK(finding.record >= 0 && finding.record < kind->count());
}

QByteArray relationSeed(const QByteArray& save, int i, int count, const Relation& stored)
{
    QByteArray copies;
    for (int copy = 0; copy < relation::kCopyCount; ++copy)
        copies += save.mid(record(i, copy), relation::kRecordSize);
    return Byte(kRelationInput) + Byte(i) + Int16(count) + Int16(-1) + copies + Int16(stored.a) + Int16(stored.b) +
           Int16(stored.c) + Int16(stored.kind);
}

QByteArray levelSeed(const QByteArray& save, int slot, bool special, int value, const std::vector<int>& positions)
{
    QByteArray input = Byte(kLevelInput) + Byte(slot) + Byte(special ? 1 : 0) + Int16(value) +
                       Byte(int(positions.size()));
    for (const int p : positions)
        input += Int16(p);
    return input + (slot < save::kPlayerSlotCount ? save.mid(save::playerSlot(slot), kStreamBytes) : QByteArray());
}

QByteArray editSeed(EditSort sort, int slot, int n, qsizetype at, const QByteArray& bytes, const QString& typed)
{
    return Byte(kEditInput) + Byte(sort) + Byte(slot) + Int16(n) + Int32(int(at)) + Int16(int(bytes.size())) + bytes +
           Utf16(typed);
}

}  // namespace

std::vector<QByteArray> Seeds(const QString& demoFolder)
{
    std::vector<QByteArray> seeds;
    const QByteArray newest = ReadFile(SaveGame::slotPath(demoFolder, 5));
    const int count = SaveTables::countOfficers(newest);
    // Every kind, the planted copy, A at the officer count, a feud without a third party, an empty record.
    for (const int i : {0, 1, 2, 3, 5, 24, 25, 26, 255}) {
        seeds.push_back(relationSeed(newest, i, count, DecodeRelation(newest, count, i)));
        seeds.push_back(relationSeed(newest, i, count, Relation{19, 3, 335, relation::kFeud}));
    }
    seeds.push_back(relationSeed(newest, 24, count, Relation{count, 3, 1023, relation::kSworn}));
    seeds.push_back(relationSeed(newest, 7, count, Relation{1024, -1, 70000, 9}));
    seeds.push_back(relationSeed(newest, 7, 0, Relation{5, 6, 1023, relation::kNone}));

    for (const int slot : {0, 2, 7, 8}) {
        seeds.push_back(levelSeed(newest, slot, false, 31, {1, 0, 2, 5, 7}));
        seeds.push_back(levelSeed(newest, slot, false, 0, {3, 4, 6, 8, 859, 1493}));
        seeds.push_back(levelSeed(newest, slot, true, 17, {0, 1, 2, 3, 4, 5, 6}));
    }
    seeds.push_back(levelSeed(newest, 0, false, 32, {1}));
    seeds.push_back(levelSeed(newest, 0, false, -1, {1494}));
    seeds.push_back(levelSeed(newest, 0, true, 5, {7, -1}));

    // Streams over short buffers: the level runs past the end, starts before it, fits exactly.
    const QByteArray first = QByteArray::fromHex("1234");
    seeds.push_back(Byte(kStreamInput) + Int32(0) + Int16(4) + Int16(1) + Byte(31) + first);
    seeds.push_back(Byte(kStreamInput) + Int32(0) + Int16(4) + Int16(3) + Byte(31) + first);
    seeds.push_back(Byte(kStreamInput) + Int32(-1) + Int16(4) + Int16(0) + Byte(7) + first);
    seeds.push_back(Byte(kStreamInput) + Int32(1) + Int16(8) + Int16(7) + Byte(9) +
                    QByteArray::fromHex("123456789A0B"));

    const qsizetype table = save::kRelationTableOffset;
    seeds.push_back(editSeed(kRelations, 0, 5, table, {}, QStringLiteral("b=206")));
    seeds.push_back(editSeed(kRelations, 0, 5, table, {}, QStringLiteral("type=0")));
    seeds.push_back(editSeed(kRelations, 0, 26, table, {}, QStringLiteral("a=5\nb=6\ntype=結義")));
    seeds.push_back(editSeed(kRelations, 0, 26, table, {}, QStringLiteral("a=5")));
    seeds.push_back(editSeed(kRelations, 0, 24, record(24), newest.mid(record(24), 4), QStringLiteral("type=仇敵")));
    seeds.push_back(editSeed(kRelations, 0, 3, record(3), {}, QStringLiteral("c=1023\nkind=relation")));
    seeds.push_back(editSeed(kGeneralLevels, 0, 1, save::playerSlot(0), {}, QStringLiteral("level=敬愛")));
    seeds.push_back(editSeed(kGeneralLevels, 3, 859, save::playerSlot(3), {}, QStringLiteral("level=31\nslot=3")));
    seeds.push_back(editSeed(kSpecialLevels, 2, 6, save::playerSlot(2), {}, QStringLiteral("level=32")));
    seeds.push_back(editSeed(kSpecialLevels, 7, 0, save::playerSlot(7), {}, QStringLiteral("officer=6\nlevel=0")));
    return seeds;
}

namespace {

void readRelation(FuzzInput& input)
{
    const int i = input.byte();
    const int count = input.int16();
    const qsizetype kept = input.int16() & 0xFFFF;
    QByteArray save = patternedSave();
    const QByteArray bytes = input.take(kCopyBytes);
    for (qsizetype k = 0; k < bytes.size(); ++k)
        setByte(save, record(i, int(k / relation::kRecordSize)) + k % relation::kRecordSize,
                static_cast<unsigned char>(bytes[k]));
    save.truncate(std::min(save.size(), record(i) + kept));
    Relation stored;
    stored.a = input.int16();
    stored.b = input.int16();
    stored.c = input.int16();
    stored.kind = input.int16();
    checkRelation(i, count, save, stored);
}

void readLevels(FuzzInput& input)
{
    const int slot = input.byte() % 10;
    const bool special = input.byte() % 2;
    const int value = input.int16();
    std::vector<int> positions(std::size_t(input.byte() % kMostPositions));
    for (int& p : positions)
        p = input.int16();
    QByteArray save = patternedSave();
    if (slot < save::kPlayerSlotCount) {
        const QByteArray bytes = input.take(kStreamBytes);
        for (qsizetype k = 0; k < bytes.size(); ++k)
            setByte(save, save::playerSlot(slot) + k, static_cast<unsigned char>(bytes[k]));
    }
    const LevelStream stream = IntimacyStream(slot, special);
    FUZZ_CHECK(stream.count == (slot >= save::kPlayerSlotCount ? 0
                                : special                      ? intimacy::kSpecialPositions
                                                               : intimacy::kGeneralPositions));
    checkLevels(save, stream, positions, value);
}

void readStream(FuzzInput& input)
{
    LevelStream stream;
    stream.offset = input.int32();
    stream.count = input.int16() & 0xFFFF;
    const int position = input.int16();
    const int value = input.byte() % 40;
    checkLevels(input.rest(), stream, {position}, value);
}

void readEdit(FuzzInput& input)
{
    const auto sort = static_cast<EditSort>(input.byte() % kSortCount);
    const int slot = input.byte() % save::kPlayerSlotCount;
    const int n = input.int16();
    QByteArray save = patternedSave();
    const qsizetype at = input.int32();
    const QByteArray bytes = input.take(input.int16() & 0xFFFF);
    for (qsizetype k = 0; k < bytes.size(); ++k)
        setByte(save, at + k, static_cast<unsigned char>(bytes[k]));
    checkEdit(sort, slot, n, save, input.restAsUtf16());
}

}  // namespace

}  // namespace varkel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace varkel::fuzz;
    return ReadInputOfKind<kInputCount>(data, size, readRelation, readLevels, readStream, readEdit);
}
