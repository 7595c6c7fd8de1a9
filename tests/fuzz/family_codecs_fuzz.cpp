// The family members of a saved game: the member codec with a child's growth
// values and caps, a child's biography, and the view around each member. A member
// decoded and encoded back keeps every byte; encoding another member changes nothing outside its 148 bytes and,
// for a child, the growth bits and caps of its player slot. A child's biography,
// stored or refused, changes nothing outside its 152 bytes and reads back as it was
// given. The view and the forecast of every member take any bytes.
//
// Input: a kind byte (member, biography, view), then
//   member:    the member (a byte, mod 16), how many bytes of the save are kept from
//              the record's start (16 bits; the save ends there when it is shorter),
//              then bytes laid over the record and then over the 6 growth bytes;
//   biography: the child (a byte, mod 8), 152 bytes laid over its biography, then
//              the text to store as UTF-16;
//   view:      8 bytes the random draws cycle through (each byte / 256), a base byte
//              (even: zeros, odd: patterned), then patches up to the input's end:
//              where (32 bits, signed), how many bytes (16 bits) and the bytes.

#include "fuzz_support.h"

#include "person/biography.h"
#include "saveeditor/family_record.h"
#include "saveeditor/family_view.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/save_tables.h"
#include "shared/bytes.h"
#include "shared/name_field.h"

#include <algorithm>
#include <array>
#include <vector>

namespace varkel::fuzz {

namespace {

using namespace family;

enum Input { kMemberInput, kBiographyInput, kViewInput, kInputCount };

constexpr qsizetype kSaveSize = save::kStartupBufferSize;
constexpr qsizetype kGrowthBytes = 6;
// The growth values' bits in the two growth bytes; the caps are whole bytes.
constexpr std::array<int, kGrowthBytes> kGrowthMask = {0xFC, 0x3F, 0xFF, 0xFF, 0xFF, 0xFF};
constexpr int kDraws = 8;

const QByteArray& patternedSave()
{
    static const QByteArray bytes = Patterned(kSaveSize);
    return bytes;
}

void mark(QByteArray& mask, qsizetype at, qsizetype length, int bits = 0xFF)
{
    for (qsizetype i = at; i < at + length; ++i)
        setByte(mask, i, bits);
}

QString withoutBreaks(QString text)
{
    return text.remove(QLatin1Char(biography::kLineBreak));
}

void checkMember(int k, const QByteArray& save)
{
    const Exact exact(save);
    const FamilyMember decoded = DecodeFamilyMember(exact.view(), k);
    for (std::size_t a = 0; a < 4; ++a) {
        FUZZ_CHECK(decoded.growth[a] >= 0 && decoded.growth[a] <= kMaxGrowth);
        FUZZ_CHECK(decoded.caps[a] >= 0 && decoded.caps[a] <= 255);
        FUZZ_CHECK(isChild(k) || (decoded.growth[a] == 0 && decoded.caps[a] == 0));
    }

    QByteArray b = save;
    EncodeFamilyMember(b, k, decoded);
    FUZZ_CHECK_BYTES(b, save, QByteArray());

    QByteArray owned(save.size(), '\0');
    mark(owned, record(k), member::kRecordSize);
    if (isChild(k))
        for (qsizetype i = 0; i < kGrowthBytes; ++i)
            mark(owned, growthField(k) + i, 1, kGrowthMask[std::size_t(i)]);
    b = save;
    EncodeFamilyMember(b, k, DecodeFamilyMember(Reversed(save), k));
    FUZZ_CHECK_BYTES(b, save, owned);
}

void checkBiography(int child, const QByteArray& save, const QString& text)
{
    const qsizetype at = biographyRecord(child);
    const QString decoded = DecodeBiography(Exact(save).view(), at);
    for (const QString& same : {decoded, withoutBreaks(decoded)}) {
        QByteArray b = save;
        FUZZ_CHECK(!EncodeBiography(b, at, same));
        FUZZ_CHECK_BYTES(b, save, QByteArray());
    }

    QByteArray b = save;
    const auto problem = EncodeBiography(b, at, text);
    const QString characters = withoutBreaks(text);
    if (problem) {
        FUZZ_CHECK(problem != BiographyProblem::OutsideBuffer);
        FUZZ_CHECK(characters.size() > biography::kCapacity ||
                   !std::all_of(characters.begin(), characters.end(), IsDoubleByteChar));
        FUZZ_CHECK_BYTES(b, save, QByteArray());
        return;
    }
    QByteArray owned(save.size(), '\0');
    mark(owned, at, biography::kRecordSize);
    FUZZ_CHECK_BYTES(b, save, owned);
    FUZZ_CHECK(withoutBreaks(DecodeBiography(b, at)) == characters);
}

void checkView(const QByteArray& save, const RandomSource& random)
{
    const Exact exact(save);
    const QByteArray view = exact.view();
    const SaveTables tables = SaveTables::build(view);
    for (int k = -1; k <= kMemberCount; ++k) {
        const FamilyDisplay d = DisplayFamilyMember(view, tables, k, random);
        FUZZ_CHECK(!d.memberCaption.isEmpty() && !d.officerCaption.isEmpty());
        if (k < 0 || k >= kMemberCount || d.officer == save::kNoControlledOfficer) {
            FUZZ_CHECK(d.officer == save::kNoControlledOfficer && !d.editable && !d.forecastShown && d.age == 0);
            continue;
        }
        FUZZ_CHECK(d.officer == tables.controlled[std::size_t(slotOf(k))]);
        FUZZ_CHECK(!d.remark.isEmpty());
        FUZZ_CHECK(d.forecastShown == (isChild(k) && d.age <= kOldestChild));
        FUZZ_CHECK(d.spouseFemale.has_value() == !isChild(k));
        // Every child's forecast, whatever its age.
        if (isChild(k)) {
            const FamilyMember m = DecodeFamilyMember(view, k);
            for (const int age : {d.age, 0, -300, 300})
                for (const QString& line : GrowthForecast(m.person.abilities, m.caps, m.growth, age, view))
                    FUZZ_CHECK(!line.isEmpty());
        }
    }
    const int likeness = ChooseLikeness(tables, random);
    FUZZ_CHECK(likeness == -1 || (likeness >= 0 && likeness <= tables.officerCount - 2 &&
                                  !tables.officerNames.value(likeness).isEmpty()));
}

// A patch of `length` bytes of `from` at `at`, as the view input reads it.
QByteArray patch(const QByteArray& from, qsizetype at, qsizetype length)
{
    return Int32(int(at)) + Int16(int(length)) + from.mid(at, length);
}

// The parts of `save` the view reads, as patches over a save of zeros: the date,
// each player slot with its person, officer and growth bytes, and the members.
// Over zeros the officer count is 760, which the demo's controlled officers are below.
QByteArray viewOf(const QByteArray& save, const QByteArray& draws)
{
    QByteArray input = Byte(kViewInput) + draws + Byte(0);
    input += patch(save, save::kGameYearOffset, save::kGameMonthOffset + 1 - save::kGameYearOffset);
    const SaveTables tables = SaveTables::build(save);
    for (int s = 0; s < save::kPlayerSlotCount; ++s) {
        input += patch(save, save::playerPerson(s), 2);
        input += patch(save, growthField(s), kGrowthBytes);
        const int person = le16At(save, save::playerPerson(s));
        if (person >= save::kFirstPersonNumber && person <= save::kLastPersonNumber)
            input += patch(save, save::personMapEntry(person), 2);
        const int officer = tables.controlled[std::size_t(s)];
        if (officer != save::kNoControlledOfficer) {
            input += patch(save, save::statusBlock(officer) + save::status::kWord, 2);
            input += patch(save, save::personBlock(officer), save::kPersonBlockSize);
        }
    }
    input += patch(save, record(0), member::kRecordSize * kMemberCount);
    return input;
}

}  // namespace

std::vector<QByteArray> Seeds(const QString& demoFolder)
{
    std::vector<QByteArray> seeds;
    const QByteArray newest = ReadFile(SaveGame::slotPath(demoFolder, 5));  // children of 14, 15, 9, 10, 0 and 6
    for (const int k : {0, 1, 3, 4, 8, 12, 15}) {
        const QByteArray bytes = newest.mid(record(k), member::kRecordSize) +
                                 (isChild(k) ? newest.mid(growthField(k), kGrowthBytes) : QByteArray());
        seeds.push_back(Byte(kMemberInput) + Byte(k) + Int16(-1) + bytes);
    }
    // Saves that end inside the record.
    seeds.push_back(Byte(kMemberInput) + Byte(15) + Int16(100) + newest.mid(record(15), member::kRecordSize));
    seeds.push_back(Byte(kMemberInput) + Byte(0) + Int16(40) + newest.mid(record(0), member::kRecordSize));

    const QStringList texts = {DecodeBiography(newest, biographyRecord(2)), QString(75, QChar(0x570B)),
                               QStringLiteral("\u570Babc"), QString()};
    for (int child = 0; child < kChildCount; ++child) {
        const QByteArray bytes = newest.mid(biographyRecord(child), biography::kRecordSize);
        for (const QString& text : texts)
            seeds.push_back(Byte(kBiographyInput) + Byte(child) + bytes + Utf16(text));
    }

    // The newest save, the one of month 1, all eight slots controlled, a woman's husband.
    for (const int slot : {5, 3, 8, 1}) {
        const QByteArray save = ReadFile(SaveGame::slotPath(demoFolder, slot));
        seeds.push_back(viewOf(save, QByteArray(kDraws, '\0')));
        seeds.push_back(viewOf(save, QByteArray("\x80\x00\xff\x10\x7f\x81\x00\xff", kDraws)));
    }
    seeds.push_back(Byte(kViewInput) + QByteArray(kDraws, '\x40') + Byte(1));  // patterned, nothing laid over
    return seeds;
}

namespace {

void readMember(FuzzInput& input)
{
    const int k = input.byte() % family::kMemberCount;
    const qsizetype kept = input.int16() & 0xFFFF;
    QByteArray save = patternedSave();
    const QByteArray bytes = input.take(member::kRecordSize + kGrowthBytes);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const qsizetype at = i < member::kRecordSize ? family::record(k) + i
                                                     : family::growthField(k) + i - member::kRecordSize;
        setByte(save, at, static_cast<unsigned char>(bytes[i]));
    }
    save.truncate(std::min(kSaveSize, family::record(k) + kept));
    checkMember(k, save);
}

void readBiography(FuzzInput& input)
{
    const int child = input.byte() % family::kChildCount;
    QByteArray save = patternedSave();
    const QByteArray bytes = input.take(biography::kRecordSize);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        setByte(save, family::biographyRecord(child) + i, static_cast<unsigned char>(bytes[i]));
    checkBiography(child, save, input.restAsUtf16());
}

void readView(FuzzInput& input)
{
    const QByteArray draws = input.take(kDraws).leftJustified(kDraws, '\0');
    QByteArray save = input.byte() % 2 ? patternedSave() : QByteArray(kSaveSize, '\0');
    for (QByteArray piece = input.take(6); !piece.isEmpty(); piece = input.take(6)) {
        FuzzInput header(reinterpret_cast<const std::uint8_t*>(piece.constData()), std::size_t(piece.size()));
        const qsizetype at = header.int32();
        const QByteArray bytes = input.take(header.int16() & 0xFFFF);
        for (qsizetype i = 0; i < bytes.size(); ++i)
            setByte(save, at + i, static_cast<unsigned char>(bytes[i]));
    }
    std::size_t next = 0;
    const RandomSource random = [&draws, &next] {
        return static_cast<unsigned char>(draws[qsizetype(next++ % kDraws)]) / 256.0;
    };
    checkView(save, random);
}

}  // namespace

}  // namespace varkel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace varkel::fuzz;
    return ReadInputOfKind<kInputCount>(data, size, readMember, readBiography, readView);
}
