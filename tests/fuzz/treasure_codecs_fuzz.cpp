// The treasure codec and the note decoder: decoding any bytes reads nothing past
// the buffers, encoding the decoded record back changes no byte of the scenario or
// the save, encoding another record changes only the bytes the editor owns (never
// byte 12 or 18..20 of the record, nor the owner entry's last two), and the notes
// are always 80 and never depend on bytes past the note stretch.
//
// Input: a kind byte (record, notes), then
//   record: the treasure number (16 bits, signed), the scenario's and the save's
//           sizes (16 bits each, as far as the files go), then bytes laid over the
//           record and then over the owner entry;
//   notes:  the stretch.

#include "fuzz_support.h"

#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/treasure_record.h"
#include "shared/bytes.h"

#include <algorithm>
#include <vector>

namespace varkel::fuzz {

namespace {

using namespace treasure;

enum Input { kRecordInput, kNotesInput, kInputCount };

const qsizetype kScenarioSize = record(kCount);
const qsizetype kSaveSize = ownerEntry(kCount);

void mark(QByteArray& mask, qsizetype at, qsizetype size)
{
    for (qsizetype i = at; i < at + size; ++i)
        setByte(mask, i, 0xFF);
}

void checkRecord(int t, const QByteArray& scenario, const QByteArray& save)
{
    const Exact exactScenario(scenario), exactSave(save);
    const QByteArray scenarioView = exactScenario.view(), saveView = exactSave.view();
    const TreasureRecord decoded = DecodeTreasure(scenarioView, &saveView, t);
    FUZZ_CHECK(DecodeTreasure(scenarioView, nullptr, t).owner == -1);
    // A slot gives one character, or two single-byte ones.
    FUZZ_CHECK(decoded.name.size() <= 2 * kNameCapacity);

    QByteArray s = scenario, g = save;
    EncodeTreasure(s, &g, t, decoded);
    FUZZ_CHECK_BYTES(s, scenario, QByteArray());
    FUZZ_CHECK_BYTES(g, save, QByteArray());

    // Another record, as an edit of every field gives it.
    QByteArray owned(scenario.size(), '\0');
    mark(owned, record(t) + kName, 2 * kNameCapacity);
    mark(owned, record(t) + kKind, kSkill - kKind + 1);
    QByteArray ownedEntry(save.size(), '\0');
    mark(ownedEntry, ownerEntry(t), 2);
    const QByteArray otherSave = Reversed(save);
    const TreasureRecord other = DecodeTreasure(Reversed(scenario), &otherSave, t);
    s = scenario;
    g = save;
    EncodeTreasure(s, &g, t, other);
    FUZZ_CHECK_BYTES(s, scenario, owned);
    FUZZ_CHECK_BYTES(g, save, ownedEntry);
    // Without a save only the scenario changes.
    s = scenario;
    EncodeTreasure(s, nullptr, t, other);
    FUZZ_CHECK_BYTES(s, scenario, owned);
}

void checkNotes(const QByteArray& stretch)
{
    const Exact exact(stretch);
    const QStringList notes = DecodeTreasureNotes(exact.view());
    FUZZ_CHECK(notes.size() == 80);
    FUZZ_CHECK(notes == DecodeTreasureNotes(stretch.left(kNotesSize)));
    // Every pair of the stretch gives a line break, one character or two
    // single-byte ones.
    qsizetype characters = 0;
    for (const QString& note : notes)
        characters += note.size();
    FUZZ_CHECK(characters <= std::min<qsizetype>(stretch.size(), kNotesSize));
}

}  // namespace

std::vector<QByteArray> Seeds(const QString& demoFolder)
{
    std::vector<QByteArray> seeds;
    const QByteArray scenario = ReadFile(demoFolder + QStringLiteral("d_sce.vk"));
    const QByteArray save = ReadFile(SaveGame::slotPath(demoFolder, 3));
    for (const int t : {0, 13, 77, 200, 254, -1, 255}) {
        const QByteArray bytes = scenario.mid(record(t), kRecordSize) + save.mid(ownerEntry(t), kOwnerEntrySize);
        seeds.push_back(Byte(kRecordInput) + Int16(t) + Int16(-1) + Int16(-1) + bytes);
    }
    // Files that end inside the record and inside the owner entry.
    seeds.push_back(Byte(kRecordInput) + Int16(254) + Int16(int(record(254) + 7)) +
                    Int16(int(ownerEntry(254) + 1 - save::kTreasureOwnerOffset)) +
                    scenario.mid(record(254), kRecordSize));
    const QByteArray stretch = ReadFile(demoFolder + QStringLiteral("m_msg.vk"), kNotesOffset, kNotesSize);
    seeds.push_back(Byte(kNotesInput) + stretch);
    seeds.push_back(Byte(kNotesInput) + stretch + "\xA4\x40");
    seeds.push_back(Byte(kNotesInput) + stretch.left(101));
    return seeds;
}

namespace {

void readRecord(FuzzInput& input)
{
    const int t = input.int16();
    const qsizetype scenarioSize = std::min<qsizetype>(kScenarioSize, input.int16() & 0xFFFF);
    const qsizetype saveSize = std::min<qsizetype>(kSaveSize, (input.int16() & 0xFFFF) + save::kTreasureOwnerOffset);
    static const QByteArray scenarioPattern = Patterned(kScenarioSize, 7), savePattern = Patterned(kSaveSize, 11);
    QByteArray scenario = scenarioPattern, save = savePattern;
    const QByteArray bytes = input.rest();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const qsizetype at = i < kRecordSize ? record(t) + i : ownerEntry(t) + i - kRecordSize;
        setByte(i < kRecordSize ? scenario : save, at, static_cast<unsigned char>(bytes[i]));
    }
    scenario.truncate(scenarioSize);
    save.truncate(saveSize);
    checkRecord(t, scenario, save);
}

void readNotes(FuzzInput& input)
{
    checkNotes(input.rest());
}

}  // namespace

}  // namespace varkel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace varkel::fuzz;
    return ReadInputOfKind<kInputCount>(data, size, readRecord, readNotes);
}
