// Name fields and code page 950: reading any field and writing it back changes
// nothing, writing any text touches only its own slots and its end byte, and every
// character with a double-byte code reads back as itself.
//
// Input: the field's last slot offset, where it starts (a signed byte), the buffer's
// length and bytes, then the text to write as UTF-16 code units.

#include "fuzz_support.h"

#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "shared/big5.h"
#include "shared/bytes.h"
#include "shared/name_field.h"

namespace varkel::fuzz {

namespace {

constexpr int kLastOffsets = 16;

void checkBig5(const QString& text, std::uint16_t anyCode)
{
    const Big5& big5 = Big5::instance();
    const qsizetype decodedSize = big5.decodeSlot(anyCode).size();
    FUZZ_CHECK(decodedSize == 1 || decodedSize == 2);
    for (const QChar c : text) {
        const std::uint16_t code = big5.encode(c.unicode());
        FUZZ_CHECK(code <= 255 ? code == 0 || code == c.unicode() : big5.decodeSlot(code) == QString(c));
    }
}

void checkWrite(const QByteArray& buffer, qsizetype start, int lastOffset, const QString& text)
{
    QByteArray written = buffer;
    WriteNameField(written, start, text);
    // Only the text's slots and the 0 after them may change, and of the slots only
    // those of characters with a double-byte code.
    QByteArray mayChange(buffer.size(), '\0');
    bool allDoubleByte = true;
    for (qsizetype j = 0; j < text.size(); ++j) {
        const bool doubleByte = Big5::instance().encode(text[j].unicode()) > 255;
        allDoubleByte = allDoubleByte && doubleByte;
        if (doubleByte) {
            setByte(mayChange, start + 2 * j, 0xFF);
            setByte(mayChange, start + 2 * j + 1, 0xFF);
        }
    }
    setByte(mayChange, start + 2 * text.size(), 0xFF);
    FUZZ_CHECK_BYTES(written, buffer, mayChange);
    if (allDoubleByte && start >= 0 && start + 2 * text.size() < buffer.size())
        FUZZ_CHECK(ReadNameField(written, start, int(2 * text.size())) == text);

    QByteArray ifChanged = buffer;
    WriteNameFieldIfChanged(ifChanged, start, lastOffset, text);
    FUZZ_CHECK(ifChanged == buffer || ifChanged == written);
}

}  // namespace

std::vector<QByteArray> Seeds(const QString& demoFolder)
{
    struct Field {
        qsizetype at;
        int lastOffset;
    };
    const Field fields[] = {{person::kSurname, 2},
                            {person::kGivenName, 2},
                            {person::kCourtesyName, 2},
                            {person::kTitle, 8},
                            {person::kFullName, 6}};
    const QByteArray save = ReadFile(SaveGame::slotPath(demoFolder, 0));
    std::vector<QByteArray> seeds;
    for (const int officer : {0, 42, 759}) {
        const QByteArray block = save.mid(save::personBlock(officer), save::kPersonBlockSize);
        const QByteArray other = save.mid(save::personBlock(officer + 1), save::kPersonBlockSize);
        for (const Field& f : fields) {
            const QByteArray header = Byte(f.lastOffset) + Byte(int(f.at));
            const QString text = ReadNameField(other, f.at, f.lastOffset);
            seeds.push_back(header + Byte(int(block.size())) + block + Utf16(text));
            seeds.push_back(header + Byte(int(f.at + 3)) + block.left(f.at + 3) + Utf16(text));  // cut short
        }
    }
    seeds.push_back(Byte(2) + Byte(0) + Byte(4) + QByteArray("ab\0\0", 4) + Utf16(QStringLiteral("a b ")));
    return seeds;
}

}  // namespace varkel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace varkel;
    using namespace varkel::fuzz;
    FuzzInput input(data, size);
    const int lastOffset = input.byte() % kLastOffsets;
    const qsizetype start = static_cast<std::int8_t>(input.byte());
    const QByteArray buffer = input.take(input.byte());
    const QString text = input.restAsUtf16();

    QByteArray rewritten = buffer;
    WriteNameFieldIfChanged(rewritten, start, lastOffset, ReadNameField(buffer, start, lastOffset));
    FUZZ_CHECK(rewritten == buffer);

    checkWrite(buffer, start, lastOffset, text);
    checkBig5(text, static_cast<std::uint16_t>(le16At(buffer, 0)));
    return 0;
}
