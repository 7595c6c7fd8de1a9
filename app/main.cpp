// Start-up of the editor: one instance per user, the game folder, the temporary
// folder and the picture banks, then the start window.
#include "shared/game_folder.h"
#include "shared/picture_banks.h"
#include "shared/session.h"
#include "shared/temp_folder.h"
#include "shared/ui/form3.h"
#include "shared/ui/qt_seams.h"
#include "shared/ui/standard_error.h"
#include "shared/ui/editor_factories.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("varkel-editor"));
    QApplication::setOrganizationName(QStringLiteral("varkel-editor"));
    QApplication::setApplicationVersion(QStringLiteral(VARKEL_VERSION_STRING));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Editor for the saved games and new officers of Varkel"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption gameFolderOption(QStringLiteral("game-folder"),
                                              QStringLiteral("Use DIR as the game folder for this run."),
                                              QStringLiteral("DIR"));
    parser.addOption(gameFolderOption);
    parser.process(app);

    varkel::Session session;
    varkel::MessageBoxPrompter prompter;
    varkel::QtFileDialogs dialogs;
    session.prompter = &prompter;
    session.dialogs = &dialogs;

    session.tempFolder = varkel::PrivateTempFolder();
    if (session.tempFolder.isEmpty())
        session.tempFolder = varkel::WithTrailingSeparator(QDir::tempPath());

    // A second instance ends silently.
    const auto instanceLock = varkel::LockSingleInstance(session.tempFolder);
    if (!instanceLock)
        return 0;

    varkel::UseChineseFont();

    session.programFolder = varkel::WithTrailingSeparator(QApplication::applicationDirPath());
    session.settingsPath = varkel::SettingsFilePath(session.programFolder);
    if (parser.isSet(gameFolderOption))
        session.gameFolder = varkel::WithTrailingSeparator(QDir(parser.value(gameFolderOption)).absolutePath());
    else
        session.gameFolder = varkel::ResolveGameFolder(session.settingsPath, dialogs, prompter);
    if (session.gameFolder.isEmpty())
        return 0;

    session.banks = varkel::PictureBanks::load(varkel::GameFilePath(session.gameFolder, QStringLiteral("g_maindy.vk")));

    varkel::Form3 form3(session);
    varkel::InstallEditorFactories(form3);
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&form3, &varkel::Form3::programEnded, &app, &QApplication::quit, Qt::QueuedConnection);
    form3.show();
    return app.exec();
}
