#include "cli_files.h"

#include "neweditor/biography_file.h"
#include "neweditor/new_officer_kind.h"
#include "saveeditor/save_kinds.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/save_tables.h"
#include "saveeditor/treasure_kind.h"
#include "saveeditor/treasure_record.h"
#include "shared/game_folder.h"
#include "shared/ini_file.h"

#include <QFileInfo>

namespace varkel::cli {

namespace {

// The notes of "m_msg.vk" in `folder`; none when it cannot be read.
QStringList readTreasureNotes(const QString& folder)
{
    const auto bytes = FileStore::readStretch(GameFilePath(folder, QStringLiteral("m_msg.vk")), treasure::kNotesOffset,
                                              treasure::kNotesSize);
    if (!bytes || bytes->isEmpty())
        return {};
    return DecodeTreasureNotes(*bytes);
}

// The scenario bytes the editor keeps: the first 134,024, a short file read as
// zeros beyond its end, as the editor's window reads it.
QByteArray scenarioBytes(QByteArray bytes)
{
    bytes.resize(ScenarioData::kSize, '\0');
    return bytes;
}

HeldFile& addCompanion(GameFile& file, const QString& path, const QByteArray& bytes, bool keepTail)
{
    auto companion = std::make_unique<HeldFile>();
    companion->path = path;
    companion->bytes = companion->asRead = bytes;
    companion->keepTail = keepTail;
    file.companions.push_back(std::move(companion));
    return *file.companions.back();
}

QString folderOf(const QString& path)
{
    return WithTrailingSeparator(QFileInfo(path).absolutePath());
}

// The record kinds of each file type; a new kind is one more line here.
void addKinds(FileStore& store, GameFile& file, const GameContext& context, const SlotChoice& choice)
{
    if (file.type == FileType::SavedGame) {
        // The editor opens the levels of controlled officers only; the bytes are there all the same.
        if (choice.slot &&
            SaveTables::build(file.bytes).controlled[std::size_t(*choice.slot)] == save::kNoControlledOfficer)
            file.notes << QStringLiteral("player slot %1 controls no officer; its levels are shown as stored")
                              .arg(*choice.slot);
        // Treasure attributes live in the game folder's scenario file.
        QByteArray* scenario = nullptr;
        if (context.scenario)
            scenario = &addCompanion(file, context.scenarioPath, *context.scenario, true).bytes;
        file.kinds = MakeSaveKinds(
            {context.cityNames, context.courtRanks, context.treasureNotes, choice.slot, choice.special}, scenario);
    } else if (file.type == FileType::Scenario) {
        file.kinds.push_back(std::make_unique<TreasureKind>(nullptr, readTreasureNotes(folderOf(file.path))));
    } else if (file.type == FileType::SystemSave) {
        // The biographies live beside the system save, as the game keeps them.
        BiographyFile biographies;
        QByteArray* bytes = nullptr;
        if (const auto failure = biographies.open(store, folderOf(file.path)))
            file.notes
                << QStringLiteral("%1; the new officers' biographies are left out").arg(failure->englishMessage());
        else
            bytes = &addCompanion(file, biographies.path, biographies.bytes, false).bytes;
        file.kinds.push_back(std::make_unique<NewOfficerKind>(bytes));
    }
}

}  // namespace

FileType TypeOf(const QString& path, qint64 size)
{
    const QString name = QFileInfo(path).fileName().toLower();
    if (name == QLatin1String("svd_sys.sav"))
        return FileType::SystemSave;
    if (name == QLatin1String("d_sce.vk"))
        return FileType::Scenario;
    if (name == QLatin1String("m_msg.vk"))
        return FileType::Notes;
    if (name == QLatin1String("rdtext.vk"))
        return FileType::Biographies;
    if (name == QLatin1String("g_maindy.vk"))
        return FileType::PictureBank;
    if (name.endsWith(QLatin1String(".sav")) || (size >= save::kSlotMinimumSize && size <= save::kMaximumSaveSize))
        return size >= system_save::kMinimumSize && size < save::kSlotMinimumSize ? FileType::SystemSave
                                                                                  : FileType::SavedGame;
    // A copy of the scenario file under another name (a backup, say).
    if (size == ScenarioData::kSize)
        return FileType::Scenario;
    return FileType::Unknown;
}

QString TypeName(FileType type)
{
    switch (type) {
    case FileType::SavedGame:
        return QStringLiteral("saved game");
    case FileType::SystemSave:
        return QStringLiteral("system save (new officers)");
    case FileType::Scenario:
        return QStringLiteral("scenario");
    case FileType::Notes:
        return QStringLiteral("treasure notes");
    case FileType::Biographies:
        return QStringLiteral("biography file");
    case FileType::PictureBank:
        return QStringLiteral("picture bank");
    case FileType::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

std::optional<SizeRange> SizesOf(FileType type)
{
    switch (type) {
    case FileType::SavedGame:
        return SizeRange{save::kSlotMinimumSize, save::kMaximumSaveSize};
    case FileType::SystemSave:
        return SizeRange{system_save::kMinimumSize, system_save::kMaximumSize};
    case FileType::Biographies:
        return SizeRange{0, system_save::kBiographyFileMaximumSize};
    case FileType::Scenario:
        // The editor holds the start of the scenario file; the game's own file may be longer.
        return SizeRange{ScenarioData::kSize, save::kMaximumSaveSize};
    case FileType::Notes:
    case FileType::PictureBank:
    case FileType::Unknown:
        break;
    }
    return std::nullopt;
}

RecordKind* GameFile::kind(const QString& name)
{
    for (auto& k : kinds) {
        if (k->name() == name)
            return k.get();
        for (int n = 0; n < k->count(); ++n)
            if (k->recordKind(n) == name)
                return k.get();
    }
    return nullptr;
}

QString GameFolderFor(const QString& chosen, const QString& programFolder)
{
    QString folder = chosen;
    if (folder.isEmpty())
        folder = ReadIniValue(SettingsFilePath(programFolder), kSettingsSection, kSettingsKey, DefaultGameFolder());
    if (folder.isEmpty() || !GameFileExists(folder, QStringLiteral("d_sce.vk")))
        return {};
    return WithTrailingSeparator(folder);
}

GameContext ReadContext(FileStore& store, const QString& gameFolder)
{
    GameContext context;
    if (gameFolder.isEmpty())
        return context;
    context.scenarioPath = GameFilePath(gameFolder, QStringLiteral("d_sce.vk"));
    if (auto bytes = store.read(context.scenarioPath, ScenarioData::kSize)) {
        context.scenario = scenarioBytes(std::move(*bytes));
        context.cityNames = ScenarioData::decodeCityNames(*context.scenario);
        context.courtRanks = ScenarioData::decodeCourtRanks(*context.scenario);
    }
    context.treasureNotes = readTreasureNotes(gameFolder);
    return context;
}

std::unique_ptr<GameFile> OpenGameFile(FileStore& store, const QString& path, const GameContext& context,
                                       const SlotChoice& slot, QString* error)
{
    auto file = std::make_unique<GameFile>();
    file->path = path;
    const bool scenario = TypeOf(path, QFileInfo(path).size()) == FileType::Scenario;
    RuntimeError failure;
    auto bytes = store.read(path, scenario ? ScenarioData::kSize : save::kMaximumSaveSize + 1, &failure);
    if (!bytes) {
        *error = failure.englishMessage();
        return nullptr;
    }
    file->type = scenario ? FileType::Scenario : TypeOf(path, bytes->size());
    if (file->type == FileType::SavedGame &&
        (bytes->size() < save::kSlotMinimumSize || bytes->size() > save::kMaximumSaveSize)) {
        *error = QStringLiteral("%1: %2 bytes is no saved game the editor opens").arg(path).arg(bytes->size());
        return nullptr;
    }
    if (file->type == FileType::SystemSave &&
        (bytes->size() < system_save::kMinimumSize || bytes->size() > system_save::kMaximumSize)) {
        *error = QStringLiteral("%1: %2 bytes is no system save the editor opens").arg(path).arg(bytes->size());
        return nullptr;
    }
    file->bytes = scenario ? scenarioBytes(std::move(*bytes)) : std::move(*bytes);
    file->asRead = file->bytes;
    file->keepTail = scenario;
    addKinds(store, *file, context, slot);
    for (auto& kind : file->kinds)
        kind->load(file->bytes);
    return file;
}

}  // namespace varkel::cli
