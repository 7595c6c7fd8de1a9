// The new officers' codecs: the 148-byte record and the 152-byte biography.
// Decoding any bytes reads nothing past the buffer. A record decoded and encoded
// back keeps every byte; encoding
// another record changes nothing outside its 148 bytes. A biography's own text,
// with or without its line breaks, leaves every byte as it was; any other text is
// either refused with the buffer untouched, or stored inside the record's 152
// bytes and read back as it was given, line breaks aside; and only a record
// outside the buffer, a character that is no double-byte one or more than 74
// characters are refused.
//
// Input: a kind byte (record, biography), then
//   record:    a signed byte, where the record starts, and the buffer;
//   biography: where the record starts (16 bits, signed), the buffer's size (10
//              bits of 16), 152 bytes laid over the record, then the text to
//              store as UTF-16.

#include "fuzz_support.h"

#include "neweditor/new_officer_layout.h"
#include "person/biography.h"
#include "person/member_record.h"
#include "shared/bytes.h"
#include "shared/name_field.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace varkel::fuzz {

namespace {

using namespace member;

enum Input { kRecordInput, kBiographyInput, kInputCount };

constexpr int kBufferSizeBits = 0x3FF;

// A mask over `size` bytes with the `length` bytes from `at` set, as far as they reach.
QByteArray owned(qsizetype size, qsizetype at, qsizetype length)
{
    QByteArray mask(size, '\0');
    for (qsizetype i = at; i < at + length; ++i)
        setByte(mask, i, 0xFF);
    return mask;
}

QString withoutBreaks(QString text)
{
    return text.remove(QLatin1Char(biography::kLineBreak));
}

void checkRecord(qsizetype at, const QByteArray& buffer)
{
    const Exact exact(buffer);
    const MemberRecord decoded = DecodeMemberRecord(exact.view(), at);

    QByteArray b = buffer;
    EncodeMemberRecord(b, at, decoded);
    FUZZ_CHECK_BYTES(b, buffer, QByteArray());

    b = buffer;
    EncodeMemberRecord(b, at, DecodeMemberRecord(Reversed(buffer), at));
    FUZZ_CHECK_BYTES(b, buffer, owned(buffer.size(), at, kRecordSize));
}

void checkBiography(qsizetype at, const QByteArray& buffer, const QString& text)
{
    const Exact exact(buffer);
    const QString decoded = DecodeBiography(exact.view(), at);
    // Every byte of the record gives at most one character.
    FUZZ_CHECK(decoded.size() <= biography::kRecordSize);

    const bool inside = at >= 0 && at + biography::kRecordSize <= buffer.size();
    for (const QString& same : {decoded, withoutBreaks(decoded), QLatin1Char('\n') + decoded}) {
        QByteArray b = buffer;
        const auto problem = EncodeBiography(b, at, same);
        FUZZ_CHECK(inside ? !problem : problem == BiographyProblem::OutsideBuffer);
        FUZZ_CHECK_BYTES(b, buffer, QByteArray());
    }

    QByteArray b = buffer;
    const auto problem = EncodeBiography(b, at, text);
    const QString characters = withoutBreaks(text);
    const bool storable = std::all_of(characters.begin(), characters.end(), IsDoubleByteChar) &&
                          characters.size() <= biography::kCapacity;
    if (problem) {
        FUZZ_CHECK(!inside || !storable);
        FUZZ_CHECK_BYTES(b, buffer, QByteArray());
        return;
    }
    FUZZ_CHECK(inside);
    FUZZ_CHECK(storable || characters == withoutBreaks(decoded));
    FUZZ_CHECK_BYTES(b, buffer, owned(buffer.size(), at, biography::kRecordSize));
    FUZZ_CHECK(withoutBreaks(DecodeBiography(b, at)) == characters);
}

}  // namespace

std::vector<QByteArray> Seeds(const QString& demoFolder)
{
    std::vector<QByteArray> seeds;
    const QByteArray save = ReadFile(demoFolder + system_save::kFileName);
    for (const int k : {0, 3, 40, 99}) {
        const QByteArray record = save.mid(system_save::record(k), kRecordSize);
        seeds.push_back(Byte(kRecordInput) + Byte(0) + record);
        seeds.push_back(Byte(kRecordInput) + Byte(3) + "abc" + record + "xyz");  // a record inside other bytes
    }
    seeds.push_back(Byte(kRecordInput) + Byte(-7) + save.mid(system_save::record(1) + 7, 100));  // cut at both ends

    const QByteArray biographies = ReadFile(demoFolder + system_save::kBiographyFileName);
    const qsizetype at = system_save::biographyRecord(0);
    const qsizetype size = at + biography::kRecordSize + 8;
    const QStringList texts = {DecodeBiography(biographies, system_save::biographyRecord(3)),
                               QString(75, QChar(0x570B)), QStringLiteral("\u570Babc"), QString()};
    for (const int k : {0, 1, 2, 3, 4, 50}) {
        const QByteArray record = biographies.mid(system_save::biographyRecord(k), biography::kRecordSize);
        for (const QString& text : texts)
            seeds.push_back(Byte(kBiographyInput) + Int16(int(at)) + Int16(int(size)) + record + Utf16(text));
    }
    // A record that runs past the buffer's end.
    seeds.push_back(Byte(kBiographyInput) + Int16(int(at)) + Int16(int(at + 100)) +
                    biographies.mid(system_save::biographyRecord(1), biography::kRecordSize) + Utf16(texts[0]));
    return seeds;
}

namespace {

void readRecord(FuzzInput& input)
{
    const int at = static_cast<std::int8_t>(input.byte());
    checkRecord(at, input.rest());
}

void readBiography(FuzzInput& input)
{
    const int at = input.int16();
    QByteArray buffer = Patterned(input.int16() & kBufferSizeBits);
    const QByteArray record = input.take(biography::kRecordSize);
    for (qsizetype i = 0; i < record.size(); ++i)
        setByte(buffer, at + i, static_cast<unsigned char>(record[i]));
    checkBiography(at, buffer, input.restAsUtf16());
}

}  // namespace

}  // namespace varkel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace varkel::fuzz;
    return ReadInputOfKind<kInputCount>(data, size, readRecord, readBiography);
}
