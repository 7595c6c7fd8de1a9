#include "saveeditor/game_folder_files.h"

#include "saveeditor/treasure_record.h"
#include "shared/file_io.h"
#include "shared/game_folder.h"

namespace varkel {

QString ScenarioFilePath(const QString& gameFolder)
{
    return GameFilePath(gameFolder, QStringLiteral("d_sce.vk"));
}

std::optional<ScenarioData> ReadScenarioFile(FileStore& store, const QString& path, RuntimeError* error)
{
    auto bytes = store.read(path, ScenarioData::kSize, error);
    if (!bytes)
        return std::nullopt;
    return ScenarioData::decode(std::move(*bytes));
}

std::optional<QStringList> ReadTreasureNotes(const QString& gameFolder, RuntimeError* error)
{
    const auto bytes = ReadFileStretch(GameFilePath(gameFolder, QStringLiteral("m_msg.vk")), treasure::kNotesOffset,
                                       treasure::kNotesSize, error);
    if (!bytes)
        return std::nullopt;
    return bytes->isEmpty() ? QStringList() : DecodeTreasureNotes(*bytes);
}

SaveKindsContext GameFolderFiles::kindsContext(std::optional<int> intimacySlot, bool special) const
{
    SaveKindsContext context;
    if (scenario) {
        context.cityNames = scenario->cityNames;
        context.courtRanks = scenario->courtRanks;
    }
    context.treasureNotes = treasureNotes;
    context.intimacySlot = intimacySlot;
    context.specialIntimacy = special;
    return context;
}

GameFolderFiles ReadGameFolderFiles(FileStore& store, const QString& gameFolder)
{
    GameFolderFiles files;
    if (gameFolder.isEmpty())
        return files;
    files.scenarioPath = ScenarioFilePath(gameFolder);
    files.scenario = ReadScenarioFile(store, files.scenarioPath);
    files.treasureNotes = ReadTreasureNotes(gameFolder).value_or(QStringList());
    return files;
}

}  // namespace varkel
