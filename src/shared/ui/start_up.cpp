#include "shared/ui/start_up.h"

#include "shared/game_folder.h"
#include "shared/ui/save_as.h"
#include "shared/ui/standard_error.h"
#include "shared/ui/wheel_guard.h"

#include <QApplication>
#include <QDir>

namespace varkel {

std::unique_ptr<StartWindow> StartUp(Session& session, const StartUpOptions& options)
{
    // Before the first window, the game-folder question included.
    GuardValuesFromTheWheel();
    session.programFolder = WithTrailingSeparator(options.programFolder);
    session.settingsPath = SettingsFilePath(session.programFolder);
    session.files.setBackupLimits(ReadBackupLimits(session.settingsPath));
    AskBeforeSavingWithoutBackup(session);
    if (!options.gameFolder.isEmpty()) {
        session.gameFolder = WithTrailingSeparator(QDir(options.gameFolder).absolutePath());
    } else {
        const GameFolderChoice choice =
            ResolveGameFolder(session.settingsPath, *session.dialogs, *session.prompter, session.files.io());
        session.gameFolder = choice.folder;
        if (choice.notRemembered) {
            session.prompter->tell(QStringLiteral("未能把Varkel所在目錄記入設定文件，下次啟動時需要重新選擇。\n\n") +
                                       ShownError(*choice.notRemembered),
                                   kEditorTitle, MessageIcon::Warning);
        }
    }
    if (session.gameFolder.isEmpty())
        return nullptr;

    session.banks = PictureBanks::load(GameFilePath(session.gameFolder, QStringLiteral("g_maindy.vk")));
    return std::make_unique<StartWindow>(session);
}

}  // namespace varkel
