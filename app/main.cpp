// Start-up of the editor: one instance per user, then the start window. A later
// start hands its file and the window to show to the running instance and ends.
#include "editor_factories.h"
#include "hand_over.h"
#include "start_windows.h"
#include "shared/game_folder.h"
#include "shared/session.h"
#include "shared/temp_folder.h"
#include "shared/ui/qt_seams.h"
#include "shared/ui/standard_error.h"
#include "shared/ui/start_up.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

namespace {

// How long a later start tries to reach the running instance, and how long each
// try waits for its answer.
constexpr int kHandOverMilliseconds = 5000;
constexpr int kAnswerMilliseconds = 2000;

// The command line: its options, and the help it prints.
struct EditorOptions {
    QCommandLineParser parser;
    QCommandLineOption gameFolder{QStringLiteral("game-folder"),
                                  QStringLiteral("Use DIR as the game folder for this run."), QStringLiteral("DIR")};
    QCommandLineOption open{
        QStringLiteral("open"),
        QStringLiteral("Also open WINDOW at start, to look at it (%1); in the running editor when there is one.")
            .arg(varkel::OpenableWindowNames()),
        QStringLiteral("WINDOW")};
    QCommandLineOption quitWhenShown{QStringLiteral("quit-when-shown"),
                                     QStringLiteral("Quit once the windows are shown (to time the start-up).")};

    EditorOptions()
    {
        parser.setApplicationDescription(QStringLiteral("Editor for the saved games and new officers of Varkel"));
        parser.addHelpOption();
        parser.addVersionOption();
        quitWhenShown.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(gameFolder);
        parser.addOption(open);
        parser.addOption(quitWhenShown);
        parser.addPositionalArgument(
            QStringLiteral("FILE"),
            QStringLiteral("A saved game to open (a system save opens in the new-officer editor). When the editor "
                           "is already running, it opens there."),
            QStringLiteral("[FILE]"));
    }
};

void NameTheProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("varkel-editor"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VARKEL_VERSION_STRING));
}

// Whether the command line asks for the help or the version, which are printed
// without a display: the window system is not started for them.
bool AsksForHelpOrVersion(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView arg(argv[i]);
        if (arg == "--")
            return false;
        if (arg == "-h" || arg == "-?" || arg == "--help" || arg == "--help-all" || arg == "-v" || arg == "--version")
            return true;
    }
    return false;
}

// Prints the help or the version, without a display, and ends the run.
int PrintHelpOrVersion(int argc, char* argv[])
{
    QCoreApplication core(argc, argv);
    NameTheProgram();
    EditorOptions options;
    options.parser.process(core);  // prints and ends
    return 0;
}

// The file a start asks to open, made absolute here: a running instance has
// another working folder.
QString FileToOpen(const QCommandLineParser& parser)
{
    const QStringList files = parser.positionalArguments();
    return files.isEmpty() ? QString() : QFileInfo(files.constFirst()).absoluteFilePath();
}

// False, said on stderr, when --open names a window this editor does not know: a
// mistyped name is told before anything starts (or is handed over), not after the
// windows are up.
bool KnowsWindowToShow(const EditorOptions& options)
{
    const QString window = options.parser.value(options.open);
    if (!options.parser.isSet(options.open) || varkel::OpenableWindowNamed(window))
        return true;
    std::fprintf(stderr, "%s\n",
                 qPrintable(QStringLiteral("varkel-editor: unknown window \"%1\" for --open; known windows: %2")
                                .arg(window, varkel::OpenableWindowNames())));
    return false;
}

// The lock and the socket only mean something in a folder no other user can
// reach: without one, this run neither hands over nor hears later starts.
bool UsePrivateTempFolder(varkel::Session& session)
{
    session.tempFolder = varkel::PrivateTempFolder();
    if (!session.tempFolder.isEmpty())
        return true;
    std::fprintf(stderr, "varkel-editor: no private temporary folder; this run neither hands over to a running "
                         "editor nor hears later starts\n");
    return false;
}

// A later start hands over to the running instance and ends; one started for
// timing says so and fails, since it never showed what was to be timed. An
// instance that is just starting (or ending) is waited for a little. The exit
// code when this start ends here; else `instanceLock` holds the lock of the one
// running instance.
std::optional<int> HandOverOrLock(const QString& tempFolder, const QString& fileToOpen, const QString& windowToShow,
                                  bool quitWhenShown, varkel::Prompter& prompter,
                                  std::unique_ptr<QLockFile>& instanceLock)
{
    instanceLock = varkel::LockSingleInstance(tempFolder);
    if (!instanceLock && quitWhenShown) {
        std::fprintf(stderr, "varkel-editor: another instance is running\n");
        return EXIT_FAILURE;
    }
    const QDeadlineTimer handOverTime(kHandOverMilliseconds);
    while (!instanceLock) {
        const varkel::HandOver* handOver = varkel::LoadHandOver();
        if (handOver && handOver->handOver(tempFolder, fileToOpen, windowToShow, kAnswerMilliseconds))
            return 0;
        if (!handOver || handOverTime.hasExpired()) {
            varkel::UseChineseFont();
            varkel::UseChineseTranslation();
            prompter.tell(QStringLiteral("Varkel編輯器已經在運行，但沒有回應。"), varkel::kEditorTitle,
                          varkel::MessageIcon::Warning);
            return EXIT_FAILURE;
        }
        QThread::msleep(100);
        instanceLock = varkel::LockSingleInstance(tempFolder);
    }
    return std::nullopt;
}

// Later starts are heard from the first window shown on (the game-folder
// question, or else the start window), so the network library the hand-over
// needs never delays a window; what arrives waits for the start window.
class LaterStarts {
public:
    explicit LaterStarts(varkel::Session& session) : session_(session) {}

    // Listens, a child of `parent`, once the first window is shown.
    void listenWhenShown(QObject* parent)
    {
        varkel::WhenShown([this, parent] {
            const varkel::HandOver* handOver = varkel::LoadHandOver();
            listener_ = handOver ? handOver->listen(session_.tempFolder, parent) : nullptr;
            if (!listener_)
                std::fprintf(stderr, "varkel-editor: later starts cannot reach this one\n");
            hear();
        });
    }

    // What later starts ask for goes to `start` from now on.
    void sendTo(varkel::StartWindow* start)
    {
        start_ = start;
        hear();
    }

private:
    // Hands what arrives to the start window once both it and the listener are there.
    void hear()
    {
        if (listener_ && start_)
            varkel::LoadHandOver()->setHandler(listener_,
                                               [&session = session_, start = start_](const QString& path,
                                                                                     const QString& window) {
                                                   varkel::OpenWhatStartAsks(session, *start, path, window);
                                               });
    }

    varkel::Session& session_;
    varkel::StartWindow* start_ = nullptr;
    QObject* listener_ = nullptr;
};

}  // namespace

int main(int argc, char* argv[])
{
    if (AsksForHelpOrVersion(argc, argv))
        return PrintHelpOrVersion(argc, argv);
    QApplication app(argc, argv);
    NameTheProgram();
    EditorOptions options;
    const QCommandLineParser& parser = options.parser;
    options.parser.process(app);
    const QString fileToOpen = FileToOpen(parser);
    const QString windowToShow = parser.value(options.open);
    if (!KnowsWindowToShow(options))
        return EXIT_FAILURE;

    varkel::Session session;
    varkel::MessageBoxPrompter prompter;
    varkel::QtFileDialogs dialogs;
    session.prompter = &prompter;
    session.dialogs = &dialogs;

    const bool handingOver = UsePrivateTempFolder(session);
    const bool quitWhenShown = parser.isSet(options.quitWhenShown);
    std::unique_ptr<QLockFile> instanceLock;
    if (handingOver) {
        if (const auto ended =
                HandOverOrLock(session.tempFolder, fileToOpen, windowToShow, quitWhenShown, prompter, instanceLock))
            return *ended;
    }

    // A run for timing ends at its shown windows and listens to nobody.
    LaterStarts laterStarts(session);
    if (handingOver && !quitWhenShown)
        laterStarts.listenWhenShown(&app);

    varkel::UseChineseFont();
    varkel::UseChineseTranslation();
    varkel::UseChineseLocale();
    varkel::UseProgramIcon();

    const auto form3 = varkel::StartUp(session, {QApplication::applicationDirPath(), parser.value(options.gameFolder)});
    if (!form3)
        return quitWhenShown ? EXIT_FAILURE : 0;
    varkel::InstallEditorFactories(*form3);
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(form3.get(), &varkel::StartWindow::programEnded, &app, &QApplication::quit, Qt::QueuedConnection);
    form3->show();
    varkel::OpenWhatStartAsks(session, *form3, fileToOpen, windowToShow);
    laterStarts.sendTo(form3.get());
    if (quitWhenShown)
        varkel::QuitWhenShown();
    return app.exec();
}
