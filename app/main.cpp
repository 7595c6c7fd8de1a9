// Start-up of the editor: one instance per user, then the start window.
#include "editor_factories.h"
#include "shared/game_folder.h"
#include "shared/session.h"
#include "shared/temp_folder.h"
#include "shared/ui/qt_seams.h"
#include "shared/ui/standard_error.h"
#include "shared/ui/start_up.h"
#include "sideeditors/ui/form2.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("varkel-editor"));
    QApplication::setApplicationVersion(QStringLiteral(VARKEL_VERSION_STRING));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Editor for the saved games and new officers of Varkel"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption gameFolderOption(QStringLiteral("game-folder"),
                                              QStringLiteral("Use DIR as the game folder for this run."),
                                              QStringLiteral("DIR"));
    const QCommandLineOption openOption(QStringLiteral("open"),
                                        QStringLiteral("Also open WINDOW at start, to look at it (face-picker, about, save-editor)."),
                                        QStringLiteral("WINDOW"));
    parser.addOption(gameFolderOption);
    parser.addOption(openOption);
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
    varkel::UseChineseTranslation();

    const auto form3 = varkel::StartUp(
        session, {QApplication::applicationDirPath(), parser.value(gameFolderOption)});
    if (!form3)
        return 0;
    varkel::InstallEditorFactories(*form3);
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(form3.get(), &varkel::Form3::programEnded, &app, &QApplication::quit, Qt::QueuedConnection);
    form3->show();
    if (parser.value(openOption) == QLatin1String("about"))
        form3->showAbout();
    if (parser.value(openOption) == QLatin1String("face-picker")) {
        auto* picker = new varkel::Form2(session, form3.get());
        picker->setAttribute(Qt::WA_DeleteOnClose);
        picker->open();
    }
    if (parser.value(openOption) == QLatin1String("save-editor"))
        form3->Command3_Click();
    return app.exec();
}
