#include "cli_files.h"

#include "saveeditor/save_layout.h"
#include "saveeditor/save_record_kinds.h"
#include "saveeditor/save_tables.h"
#include "shared/game_folder.h"
#include "shared/ini_file.h"

#include <QFileInfo>

namespace varkel::cli {

namespace {

constexpr qint64 kSystemSaveMinimumSize = 14'841;

// The record kinds of each file type; a new kind is one more line here.
std::vector<std::unique_ptr<RecordKind>> KindsOf(FileType type, const GameContext& context)
{
    std::vector<std::unique_ptr<RecordKind>> kinds;
    if (type == FileType::SavedGame) {
        kinds.push_back(std::make_unique<OfficerKind>(context.cityNames));
        kinds.push_back(std::make_unique<SaveTablesKind>());
    }
    return kinds;
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
        return size >= kSystemSaveMinimumSize && size < save::kSlotMinimumSize ? FileType::SystemSave
                                                                               : FileType::SavedGame;
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

GameContext ReadContext(const QString& gameFolder)
{
    GameContext context;
    if (gameFolder.isEmpty())
        return context;
    if (const auto bytes =
            FileStore::readFile(GameFilePath(gameFolder, QStringLiteral("d_sce.vk")), ScenarioData::kSize))
        context.cityNames = ScenarioData::decodeCityNames(*bytes);
    return context;
}

std::unique_ptr<GameFile> OpenGameFile(FileStore& store, const QString& path, const GameContext& context,
                                       QString* error)
{
    auto file = std::make_unique<GameFile>();
    file->path = path;
    RuntimeError failure;
    auto bytes = store.read(path, save::kMaximumSaveSize + 1, &failure);
    if (!bytes) {
        *error = failure.message();
        return nullptr;
    }
    file->type = TypeOf(path, bytes->size());
    if (file->type == FileType::SavedGame &&
        (bytes->size() < save::kSlotMinimumSize || bytes->size() > save::kMaximumSaveSize)) {
        *error = QStringLiteral("%1: %2 bytes is no saved game the editor opens").arg(path).arg(bytes->size());
        return nullptr;
    }
    file->bytes = std::move(*bytes);
    file->kinds = KindsOf(file->type, context);
    for (auto& kind : file->kinds)
        kind->load(file->bytes);
    return file;
}

}  // namespace varkel::cli
