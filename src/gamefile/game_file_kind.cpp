#include "gamefile/game_file_kind.h"

#include "neweditor/new_officer_layout.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/save_tables.h"

#include <QFileInfo>

namespace varkel {

GameFileKind GameFileKindOf(const QString& path, qint64 size)
{
    const QString name = QFileInfo(path).fileName().toLower();
    if (name == QLatin1String("svd_sys.sav"))
        return GameFileKind::SystemSave;
    if (name == QLatin1String("d_sce.vk"))
        return GameFileKind::Scenario;
    if (name == QLatin1String("m_msg.vk"))
        return GameFileKind::Notes;
    if (name == QLatin1String("rdtext.vk"))
        return GameFileKind::Biographies;
    if (name == QLatin1String("g_maindy.vk"))
        return GameFileKind::PictureBank;
    if (name.endsWith(QLatin1String(".sav")) || (size >= save::kSlotMinimumSize && size <= save::kMaximumSaveSize))
        return size >= system_save::kMinimumSize && size < save::kSlotMinimumSize ? GameFileKind::SystemSave
                                                                                  : GameFileKind::SavedGame;
    // A copy of the scenario file under another name (a backup, say).
    if (size == ScenarioData::kSize)
        return GameFileKind::Scenario;
    return GameFileKind::Unknown;
}

GameFileKind GameFileKindOf(const QString& path)
{
    return GameFileKindOf(path, QFileInfo(path).size());
}

QString GameFileKindName(GameFileKind kind)
{
    switch (kind) {
    case GameFileKind::SavedGame:
        return QStringLiteral("saved game");
    case GameFileKind::SystemSave:
        return QStringLiteral("system save (new officers)");
    case GameFileKind::Scenario:
        return QStringLiteral("scenario");
    case GameFileKind::Notes:
        return QStringLiteral("treasure notes");
    case GameFileKind::Biographies:
        return QStringLiteral("biography file");
    case GameFileKind::PictureBank:
        return QStringLiteral("picture bank");
    case GameFileKind::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

std::optional<SizeRange> GameFileSizes(GameFileKind kind)
{
    switch (kind) {
    case GameFileKind::SavedGame:
        return SizeRange{save::kSlotMinimumSize, save::kMaximumSaveSize};
    case GameFileKind::SystemSave:
        return SizeRange{system_save::kMinimumSize, system_save::kMaximumSize};
    case GameFileKind::Biographies:
        return SizeRange{0, system_save::kBiographyFileMaximumSize};
    case GameFileKind::Scenario:
        // The editor holds the start of the scenario file; the game's own file may be longer.
        return SizeRange{ScenarioData::kSize, save::kMaximumSaveSize};
    case GameFileKind::Notes:
    case GameFileKind::PictureBank:
    case GameFileKind::Unknown:
        break;
    }
    return std::nullopt;
}

}  // namespace varkel
