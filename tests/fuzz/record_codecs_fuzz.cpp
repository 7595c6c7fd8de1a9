// The record codecs: decoding any bytes and encoding the same value back changes no
// byte, encoding any decoded value changes nothing outside the record, and no codec
// reads or writes past its buffer.
//
// Input: a kind byte (person block, status block, officer, game date), then
//   person/status block: a signed byte, where the block starts, and the buffer;
//   officer: its number (16 bits, signed) and the bytes of its person block, status
//            block, location entry, year byte and month byte, laid into a saved game;
//   game date: the buffer.

#include "fuzz_support.h"

#include "saveeditor/officer_record.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "shared/bytes.h"

#include <algorithm>

namespace varkel::fuzz {

namespace {

enum Kind { kPerson, kStatus, kOfficer, kDate, kKindCount };

struct Window {
    qsizetype at;
    qsizetype size;
};

// Where an officer's bytes lie, in the order an officer input lists them.
std::vector<Window> officerWindows(int officer)
{
    return {{save::personBlock(officer), save::kPersonBlockSize},
            {save::statusBlock(officer), save::kStatusBlockSize},
            {save::locationEntry(officer), save::kLocationSize},
            {save::kGameYearOffset, 1},
            {save::kGameMonthOffset, 1}};
}

// A saved game whose bytes all differ from their neighbours, so a stray write shows.
QByteArray patternedSave()
{
    QByteArray save(save::kStartupBufferSize, '\0');
    for (qsizetype i = 0; i < save.size(); ++i)
        save[i] = static_cast<char>((i * 131 + 7) % 251);
    return save;
}

QByteArray officerSave(int officer, const QByteArray& bytes)
{
    static const QByteArray pattern = patternedSave();
    QByteArray save = pattern;
    qsizetype next = 0;
    for (const Window& w : officerWindows(officer)) {
        for (qsizetype i = 0; i < w.size && next < bytes.size(); ++i)
            setByte(save, w.at + i, static_cast<unsigned char>(bytes[next++]));
    }
    return save;
}

// Sets `bits` in the bytes [at, at + size) of `mask`, as far as it reaches.
void mark(QByteArray& mask, qsizetype at, qsizetype size, int bits = 0xFF)
{
    for (qsizetype i = 0; i < size; ++i)
        setByte(mask, at + i, byteAt(mask, at + i) | bits);
}

// Encoding the value decoded from `buffer` back over it keeps every byte; encoding
// the value decoded from `other` changes only the bits of `owned`.
template <typename Decode, typename Encode>
void check(const QByteArray& buffer, const QByteArray& other, const QByteArray& owned, Decode decode, Encode encode)
{
    QByteArray b = buffer;
    encode(b, decode(buffer));
    FUZZ_CHECK_BYTES(b, buffer, QByteArray());
    b = buffer;
    encode(b, decode(other));
    FUZZ_CHECK_BYTES(b, buffer, owned);
}

void checkBlock(Kind kind, qsizetype at, const QByteArray& buffer)
{
    const qsizetype size = kind == kPerson ? save::kPersonBlockSize : save::kStatusBlockSize;
    QByteArray owned(buffer.size(), '\0');
    mark(owned, at, size);
    if (kind == kPerson) {
        check(
            buffer, Reversed(buffer), owned, [at](const QByteArray& b) { return DecodePersonBlock(b, at); },
            [at](QByteArray& b, const PersonBlock& p) { EncodePersonBlock(b, at, p); });
    } else {
        check(
            buffer, Reversed(buffer), owned, [at](const QByteArray& b) { return DecodeStatusBlock(b, at); },
            [at](QByteArray& b, const StatusBlock& s) { EncodeStatusBlock(b, at, s); });
    }
}

void checkOfficer(int officer, const QByteArray& bytes)
{
    const QByteArray save = officerSave(officer, bytes);
    if (officer < 0 || officer >= save::kMaxOfficers) {
        DecodeOfficer(save, officer);  // no officer, but still no read past the buffer
        return;
    }
    // Not the location entry: the city is shown, never written.
    QByteArray owned(save.size(), '\0');
    mark(owned, save::personBlock(officer), save::kPersonBlockSize);
    mark(owned, save::statusBlock(officer), save::kStatusBlockSize);
    mark(owned, save::kGameYearOffset, 1);
    mark(owned, save::kGameMonthOffset, 1, 0xF0);
    check(
        save, officerSave(officer, Reversed(bytes)), owned,
        [officer](const QByteArray& b) { return DecodeOfficer(b, officer); },
        [officer](QByteArray& b, const OfficerRecord& r) { EncodeOfficer(b, officer, r); });
}

void checkDate(const QByteArray& buffer)
{
    QByteArray owned(buffer.size(), '\0');
    mark(owned, save::kGameYearOffset, 1);
    mark(owned, save::kGameMonthOffset, 1, 0xF0);
    check(
        buffer, Reversed(buffer), owned, [](const QByteArray& b) { return DecodeGameDate(b); },
        [](QByteArray& b, const GameDate& d) { EncodeGameDate(b, d); });
}

QByteArray officerBytes(const QByteArray& save, int officer)
{
    QByteArray bytes;
    for (const Window& w : officerWindows(officer))
        bytes += save.mid(w.at, w.size);
    return bytes;
}

}  // namespace

std::vector<QByteArray> Seeds(const QString& demoFolder)
{
    std::vector<QByteArray> seeds;
    for (const int slot : {0, 3, 6}) {
        const QByteArray save = ReadFile(SaveGame::slotPath(demoFolder, slot));
        for (const int officer : {0, 1, 123, 500, 759, 760, 859}) {
            const QByteArray person = save.mid(save::personBlock(officer), save::kPersonBlockSize);
            const QByteArray status = save.mid(save::statusBlock(officer), save::kStatusBlockSize);
            seeds.push_back(Byte(kPerson) + Byte(0) + person);
            seeds.push_back(Byte(kStatus) + Byte(0) + status);
            seeds.push_back(Byte(kOfficer) + Int16(officer) + officerBytes(save, officer));
        }
        const QByteArray person = save.mid(save::personBlock(7), save::kPersonBlockSize);
        seeds.push_back(Byte(kPerson) + Byte(3) + "abc" + person + "xyz");  // a block inside other bytes
        seeds.push_back(Byte(kPerson) + Byte(0) + person.left(30));        // a block cut short
        seeds.push_back(Byte(kStatus) + Byte(-5) + save.mid(save::statusBlock(9) + 5, 40));
        seeds.push_back(Byte(kOfficer) + Int16(save::kMaxOfficers) + officerBytes(save, 0));
        seeds.push_back(Byte(kDate) + save.left(save::kGameMonthOffset + 2));
    }
    return seeds;
}

}  // namespace varkel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace varkel::fuzz;
    FuzzInput input(data, size);
    const auto kind = static_cast<Kind>(input.byte() % kKindCount);
    switch (kind) {
    case kPerson:
    case kStatus: {
        const int at = static_cast<std::int8_t>(input.byte());
        checkBlock(kind, at, input.rest());
        break;
    }
    case kOfficer: {
        const int officer = input.int16();
        checkOfficer(officer, input.rest());
        break;
    }
    case kDate:
    case kKindCount:
        checkDate(input.rest());
        break;
    }
    return 0;
}
