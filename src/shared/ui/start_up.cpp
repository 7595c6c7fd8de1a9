#include "shared/ui/start_up.h"

#include "shared/game_folder.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QWindow>

namespace varkel {

std::unique_ptr<Form3> StartUp(Session& session, const StartUpOptions& options)
{
    session.programFolder = WithTrailingSeparator(options.programFolder);
    session.settingsPath = SettingsFilePath(session.programFolder);
    if (!options.gameFolder.isEmpty())
        session.gameFolder = WithTrailingSeparator(QDir(options.gameFolder).absolutePath());
    else
        session.gameFolder = ResolveGameFolder(session.settingsPath, *session.dialogs, *session.prompter);
    if (session.gameFolder.isEmpty())
        return nullptr;

    session.banks = PictureBanks::load(GameFilePath(session.gameFolder, QStringLiteral("g_maindy.vk")));
    return std::make_unique<Form3>(session);
}

void QuitWhenShown()
{
    QTimer::singleShot(0, qApp, [] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && !(window->windowHandle() && window->windowHandle()->isExposed())) {
                QuitWhenShown();
                return;
            }
        QApplication::quit();
    });
}

}  // namespace varkel
