// A saved game opened by each of the three size rules, the tables derived from it,
// and every counted officer decoded.

#include "fuzz_support.h"

#include "saveeditor/officer_record.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/save_tables.h"
#include "shared/session.h"

namespace varkel::fuzz {

std::vector<QByteArray> Seeds(const QString& demoFolder)
{
    std::vector<QByteArray> seeds;
    for (int slot = 0; slot < save::kSlotCount; ++slot)
        seeds.push_back(ReadFile(SaveGame::slotPath(demoFolder, slot)));
    return seeds;
}

namespace {

void checkTables(const QByteArray& bytes)
{
    const SaveTables tables = SaveTables::build(bytes);
    FUZZ_CHECK(tables.officerCount >= save::kAlwaysPresentOfficers && tables.officerCount <= save::kMaxOfficers);
    FUZZ_CHECK(tables.officerNames.size() == kOfficerNameTableSize);
    FUZZ_CHECK(tables.forceNames.size() == save::kForceNameCount);
    for (const int officer : tables.controlled)
        FUZZ_CHECK(officer == save::kNoControlledOfficer || (officer >= 0 && officer < tables.officerCount));
    for (int officer = 0; officer < tables.officerCount; ++officer)
        FUZZ_CHECK(DecodeOfficer(bytes, officer).person.fullName == tables.officerNames[officer]);
}

}  // namespace

}  // namespace varkel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace varkel;
    using namespace varkel::fuzz;
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = TempPath(QStringLiteral("svd_00.sav"));
    WriteFile(path, input);
    FileStore store(TempPath(QStringLiteral("backups")));

    // Start-up takes exactly the buffer size: cut, or padded with zeros.
    SaveGame startup;
    FUZZ_CHECK(startup.openAtStartup(store, path) == SaveGame::Refusal::None);
    const QByteArray kept = input.left(save::kStartupBufferSize);
    FUZZ_CHECK(startup.bytes == kept + QByteArray(save::kStartupBufferSize - kept.size(), '\0'));
    checkTables(startup.bytes);
    // Whether it looks like a saved game: at most one reason per rule.
    FUZZ_CHECK(SaveGame::shapeProblems(input).size() <= 3);
    FUZZ_CHECK(SaveGame::shapeProblems(startup.bytes).size() <= 3);

    // The other two take the whole file or refuse it, leaving the game as it was.
    bool opened = false;
    for (const qint64 minimumSize : {save::kOpenMinimumSize, save::kSlotMinimumSize}) {
        SaveGame game = startup;
        const SaveGame::Refusal refusal = game.openWhole(store, path, minimumSize);
        if (input.size() < minimumSize || input.size() > save::kMaximumSaveSize) {
            FUZZ_CHECK(refusal == SaveGame::Refusal::WrongSize);
            FUZZ_CHECK(game.bytes == startup.bytes && game.path == startup.path);
        } else {
            FUZZ_CHECK(refusal == SaveGame::Refusal::None);
            FUZZ_CHECK(game.bytes == input && game.path == path);
            opened = true;
        }
    }
    if (opened)
        checkTables(input);
    return 0;
}
