// A later start of the program hands its file to the running one and ends: the
// built editor is started a second time with a file, and the file opens in the
// editor running here, through the same questions as File > Open.
#include "app/editor_factories.h"
#include "app/instance_server.h"
#include "app/start_windows.h"
#include "shared/temp_folder.h"
#include "shared/texts.h"
#include "support/program_environment.h"
#include "support/temp_game_folder.h"
#include "support/typing.h"

#include <QApplication>
#include <QDataStream>
#include <QDialog>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#ifndef Q_OS_WIN
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <cstring>
#include <memory>
#include <vector>

using namespace varkel;

Q_DECLARE_METATYPE(varkel::Answer)

namespace {

enum class Before { StartWindow, SaveEditor, ChangedSaveEditor, MinimisedSaveEditor, NewOfficerEditor };
enum class After { SaveEditor, NewOfficerEditor, StartWindow };

// The environment of the built editor run here: offscreen, with its runtime and
// temporary folders (and so its lock and socket) under `tempRoot`.
QProcessEnvironment EditorEnvironment(const QString& tempRoot)
{
    QProcessEnvironment env = test::ProgramEnvironment(tempRoot);
    // The platform this test runs on: offscreen, or Windows' own in the smoke run there.
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TMPDIR"), tempRoot);
    env.insert(QStringLiteral("TMP"), tempRoot);  // Windows' temporary folder
    env.insert(QStringLiteral("TEMP"), tempRoot);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), tempRoot + QStringLiteral("/runtime"));
    return env;
}

// A client of the running program, driven from this program's event loop.
std::unique_ptr<QLocalSocket> Connect(const QString& name, const QByteArray& sent = {})
{
    auto socket = std::make_unique<QLocalSocket>();
    socket->connectToServer(name);
    if (!socket->waitForConnected(1000))
        qFatal("cannot connect to %s", qPrintable(name));
    socket->write(sent);
    socket->flush();
    return socket;
}

#ifndef Q_OS_WIN
// The files anywhere under `folder` that are the program's own.
QStringList ProgramFilesUnder(const QString& folder)
{
    QStringList found;
    QDirIterator it(folder, {QStringLiteral("varkel-editor.*"), QStringLiteral("*.bmp")},
                    QDir::Files | QDir::System | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    return found;
}

// Leaves a Unix socket file at `path` that nobody listens on, as a killed program does.
bool LeaveDeadSocket(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(name.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        ::close(fd);
    return bound && QFile::exists(path);
}
#endif

}  // namespace

class SecondStartTest : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    QTemporaryDir instanceRoot_;  // TMPDIR of the editor run here and of the ones started
    QString instanceFolder_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<InstanceServer> server_;
    std::unique_ptr<StartWindow> form3_;

    // Runs the built editor with `arguments` while this program's event loop
    // turns, so the editor "running" here can answer it; its exit code, or -1
    // when it did not end.
    int runEditor(const QStringList& arguments, int timeoutMs = 20'000)
    {
        QProcess process;
        process.setProcessEnvironment(EditorEnvironment(instanceRoot_.path()));
        process.start(QStringLiteral(VARKEL_EDITOR), arguments);
        QElapsedTimer waited;
        waited.start();
        while (process.state() != QProcess::NotRunning && waited.elapsed() < timeoutMs)
            QTest::qWait(10);
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    SaveGameEditor* saveEditor() const { return qobject_cast<SaveGameEditor*>(form3_->editor()); }
    NewOfficerEditor* newOfficerEditor() const { return qobject_cast<NewOfficerEditor*>(form3_->editor()); }

    void changeOfficer(SaveGameEditor& form)
    {
        test::Retype(control<QLineEdit>(form, QStringLiteral("Text3(15)")), QStringLiteral("1"));
        form.modes().Command7[0]->click();
        QVERIFY(form.modified());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(instanceRoot_.isValid());
        // The folder the started editors take as theirs, as this program's own:
        // inside their runtime folder.
        const QString runtime = instanceRoot_.filePath(QStringLiteral("runtime"));
        QVERIFY(QDir().mkdir(runtime));
        QVERIFY(QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QProcessEnvironment env = EditorEnvironment(instanceRoot_.path());
        for (const char* name : {"TMPDIR", "XDG_RUNTIME_DIR", "TMP", "TEMP"})
            qputenv(name, QFile::encodeName(env.value(QString::fromLatin1(name))));
        instanceFolder_ = PrivateTempFolder();
#ifdef Q_OS_WIN
        // The temporary folder's, one per logon session.
        QVERIFY2(instanceFolder_.startsWith(QDir(instanceRoot_.path()).path() + QStringLiteral("/varkel-editor-")),
                 qPrintable(instanceFolder_));
#else
        QCOMPARE(instanceFolder_, runtime + QStringLiteral("/varkel-editor/"));
#endif
    }

    void init()
    {
        prepare();
        lock_ = LockSingleInstance(instanceFolder_);
        QVERIFY(lock_);
        server_ = std::make_unique<InstanceServer>();
        QVERIFY(server_->listen(InstanceServerName(instanceFolder_)));
        form3_ = std::make_unique<StartWindow>(session_);
        InstallEditorFactories(*form3_);
        server_->setHandler(
            [this](const QString& path, const QString& window) { OpenWhatStartAsks(session_, *form3_, path, window); });
        form3_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form3_.get()));
    }

    void cleanup()
    {
        // Whatever the editor holds is dropped without its questions.
        delete form3_->editor();
        form3_.reset();
        server_.reset();
        lock_.reset();
    }

    void aFileGivenToALaterStartOpensHere_data()
    {
        QTest::addColumn<Before>("before");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<After>("after");
        QTest::addColumn<QStringList>("asked");

        const QString saveFile = QStringLiteral("svd_02.sav");
        const QString systemSave = QStringLiteral("Svd_sys.sav");
        const QString question = GetResText(Text::SaveChanges);
        QTest::newRow("start window, a saved game")
            << Before::StartWindow << saveFile << QList<Answer>{} << After::SaveEditor << QStringList{};
        QTest::newRow("saved-game editor, another saved game")
            << Before::SaveEditor << saveFile << QList<Answer>{} << After::SaveEditor << QStringList{};
        QTest::newRow("unsaved changes, not saved")
            << Before::ChangedSaveEditor << saveFile << QList<Answer>{Answer::No} << After::SaveEditor
            << QStringList{question};
        QTest::newRow("unsaved changes, cancelled: the open save stays")
            << Before::ChangedSaveEditor << saveFile << QList<Answer>{Answer::Cancel} << After::SaveEditor
            << QStringList{question};
        QTest::newRow("start window, the system save")
            << Before::StartWindow << systemSave << QList<Answer>{} << After::NewOfficerEditor << QStringList{};
        QTest::newRow("saved-game editor, the system save")
            << Before::SaveEditor << systemSave << QList<Answer>{} << After::NewOfficerEditor << QStringList{};
        QTest::newRow("saved-game editor with changes, the system save, cancelled")
            << Before::ChangedSaveEditor << systemSave << QList<Answer>{Answer::Cancel} << After::SaveEditor
            << QStringList{question};
        QTest::newRow("new-officer editor, a saved game")
            << Before::NewOfficerEditor << saveFile << QList<Answer>{} << After::SaveEditor << QStringList{};
        QTest::newRow("a file that is not there: the start window stays")
            << Before::StartWindow << QStringLiteral("svd_gone.sav") << QList<Answer>{} << After::StartWindow
            << QStringList{GetResText(Text::FileDamaged)};
        QTest::newRow("no file: the minimised editor comes back")
            << Before::MinimisedSaveEditor << QString() << QList<Answer>{} << After::SaveEditor << QStringList{};
    }

    void aFileGivenToALaterStartOpensHere()
    {
        QFETCH(Before, before);
        QFETCH(QString, file);
        QFETCH(QList<Answer>, answers);
        QFETCH(After, after);
        QFETCH(QStringList, asked);

        QString openBefore;
        if (before == Before::NewOfficerEditor) {
            form3_->openNewOfficerEditor();
            QVERIFY(newOfficerEditor());
        } else if (before != Before::StartWindow) {
            form3_->openSaveGameEditor();
            QVERIFY(saveEditor());
            openBefore = saveEditor()->saveGame().path;
            if (before == Before::ChangedSaveEditor)
                changeOfficer(*saveEditor());
            if (before == Before::MinimisedSaveEditor)
                saveEditor()->showMinimized();
        }
        const QWidget* editorBefore = form3_->editor();
        prompter_.answers.assign(answers.begin(), answers.end());
        prompter_.shown.clear();

        const QString path = file.isEmpty() ? QString() : session_.gameFolder + file;
        QCOMPARE(runEditor(path.isEmpty() ? QStringList{} : QStringList{path}), 0);
        QTRY_VERIFY(prompter_.answers.empty());
        QTest::qWait(200);

        QStringList shown;
        for (const auto& s : prompter_.shown)
            shown << s.text;
        QCOMPARE(shown, asked);
        const bool cancelled = !answers.isEmpty() && answers.constLast() == Answer::Cancel;
        switch (after) {
        case After::SaveEditor: {
            QVERIFY(saveEditor());
            QVERIFY(saveEditor()->isVisible());
            QVERIFY(!saveEditor()->isMinimized());
            QVERIFY(!form3_->isVisible());
            const QString expected = file.isEmpty() || cancelled ? openBefore : path;
            QCOMPARE(QFileInfo(saveEditor()->saveGame().path), QFileInfo(expected));
            // The same window when it already showed a saved game.
            if (before == Before::SaveEditor || before == Before::ChangedSaveEditor ||
                before == Before::MinimisedSaveEditor)
                QCOMPARE(form3_->editor(), editorBefore);
            QCOMPARE(saveEditor()->modified(), cancelled);
            break;
        }
        case After::NewOfficerEditor:
            QVERIFY(newOfficerEditor());
            QVERIFY(newOfficerEditor()->isVisible());
            QVERIFY(!form3_->isVisible());
            QCOMPARE(QFileInfo(newOfficerEditor()->systemSave().path), QFileInfo(path));
            break;
        case After::StartWindow:
            QVERIFY(!form3_->editor());
            QVERIFY(form3_->isVisible());
            QVERIFY(!form3_->aboutMode());
            break;
        }
    }

    // Files handed over one after another open in turn, the last one staying.
    void filesHandedOverInTurnOpenInTurn()
    {
        form3_->handOver(session_.gameFolder + QStringLiteral("svd_01.sav"));
        form3_->handOver(session_.gameFolder + QStringLiteral("Svd_sys.sav"));
        form3_->handOver(session_.gameFolder + QStringLiteral("svd_03.sav"));
        QTRY_VERIFY(saveEditor());
        QCOMPARE(saveEditor()->saveGame().path, session_.gameFolder + QStringLiteral("svd_03.sav"));
        QVERIFY(prompter_.shown.empty());
    }

    // A modal window works on the open file: the file handed over waits until it closes.
    void aFileWaitsForTheModalWindowOpen()
    {
        form3_->openSaveGameEditor();
        QVERIFY(saveEditor());
        const QString first = saveEditor()->saveGame().path;
        QDialog modal(saveEditor());
        modal.setModal(true);
        modal.show();
        QTRY_COMPARE(QApplication::activeModalWidget(), &modal);

        const QString path = session_.gameFolder + QStringLiteral("svd_07.sav");
        QCOMPARE(runEditor({path}), 0);
        QTest::qWait(500);
        QCOMPARE(saveEditor()->saveGame().path, first);
        modal.close();
        QTRY_COMPARE(saveEditor()->saveGame().path, path);
    }

    // The socket a killed program left under the name is no obstacle to the next
    // one; the later start reaches it.
    void whatAKilledProgramLeftIsTakenOver_data()
    {
        QTest::addColumn<bool>("socket");
        QTest::newRow("a socket nobody listens on") << true;
        QTest::newRow("a plain file") << false;
    }

    void whatAKilledProgramLeftIsTakenOver()
    {
#ifdef Q_OS_WIN
        QSKIP("a named pipe ends with the program that made it: nothing is left to take over");
#else
        QFETCH(bool, socket);
        server_.reset();
        const QString name = InstanceServerName(instanceFolder_);
        QVERIFY(!QFile::exists(name));
        if (socket) {
            QVERIFY(LeaveDeadSocket(name));
        } else {
            QFile plain(name);
            QVERIFY(plain.open(QIODevice::WriteOnly));
        }
        QVERIFY(!HandOverToRunningInstance(name, QString(), QString(), 1000));
        server_ = std::make_unique<InstanceServer>();
        QVERIFY(server_->listen(name));
        server_->setHandler(
            [this](const QString& path, const QString& window) { OpenWhatStartAsks(session_, *form3_, path, window); });
        QCOMPARE(runEditor({session_.gameFolder + QStringLiteral("svd_05.sav")}), 0);
        QTRY_VERIFY(saveEditor());
        QCOMPARE(saveEditor()->saveGame().path, session_.gameFolder + QStringLiteral("svd_05.sav"));
#endif
    }

    // The name is the user's own: a socket inside the private folder, or where that
    // path is too long for a socket, a short name made from a secret kept there,
    // which no other user can read or work out from the folder's path.
    void theServerNameBelongsToThePrivateFolder()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows names its pipes from the secret alone, and the folder's permissions are its parent's");
#else
        const QString shortFolder = QStringLiteral("/tmp/varkel-editor-1000/");
        QCOMPARE(InstanceServerName(shortFolder), shortFolder + QStringLiteral("varkel-editor.socket"));

        QTemporaryDir root;
        const QString longFolder = root.filePath(QString(110, QLatin1Char('x'))) + QLatin1Char('/');
        const QString otherLong = root.filePath(QString(110, QLatin1Char('y'))) + QLatin1Char('/');
        QVERIFY(QDir().mkpath(longFolder));
        QVERIFY(QDir().mkpath(otherLong));
        const QString name = InstanceServerName(longFolder);
        QVERIFY(!name.isEmpty());
        QVERIFY(!name.contains(QLatin1Char('/')));
        QVERIFY(name.size() < 64);
        QCOMPARE(InstanceServerName(longFolder), name);  // what a later start finds
        QVERIFY(InstanceServerName(otherLong) != name);
        const QString secret = longFolder + QStringLiteral("varkel-editor.key");
        QCOMPARE(QFile::permissions(secret) &
                     ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser),
                 QFile::Permissions());
        // Another secret under the same path gives another name.
        QVERIFY(QFile::remove(secret));
        QVERIFY(InstanceServerName(longFolder) != name);
        // Without a secret, no name.
        QCOMPARE(InstanceServerName(root.filePath(QString(110, QLatin1Char('z'))) + QLatin1Char('/')), QString());
        InstanceServer server;
        QVERIFY(!server.listen(QString()));
#endif
    }

    // A later start hands over the window to show with its file; one that gives
    // no window sends the request that the first editors sent and took.
    void aLaterStartHandsOverTheWindowToShow_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("window");
        QTest::newRow("a file") << "/games/svd_05.sav" << "";
        QTest::newRow("a window") << "" << "about";
        QTest::newRow("a file and a window") << "/games/Svd_sys.sav" << "face-picker";
    }

    void aLaterStartHandsOverTheWindowToShow()
    {
        QFETCH(QString, path);
        QFETCH(QString, window);
        const QString name = InstanceServerName(instanceFolder_);
        QList<QStringList> handed;
        server_->setHandler([&](const QString& p, const QString& w) { handed << QStringList{p, w}; });
        const auto client = Connect(name, HandOverRequest(path, window));
        const QList<QStringList> expected{QStringList{path, window}};
        QTRY_COMPARE(handed, expected);
        QTRY_COMPARE_WITH_TIMEOUT(client->state(), QLocalSocket::UnconnectedState, 5000);
        QCOMPARE(client->readAll(), QByteArray("k"));
        // Without a window, the bytes are the first editors' request: their tag, the path.
        QByteArray first;
        QDataStream out(&first, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << quint32(0x56524b31) << path;
        QCOMPARE(HandOverRequest(path, window) == first, window.isEmpty());
    }

    // `varkel-editor --open about` started again shows About in the editor running
    // here and ends; a window name it does not know is refused before handing over.
    void aLaterStartShowsItsWindowHere()
    {
        form3_->openSaveGameEditor();
        QVERIFY(saveEditor());
        QVERIFY(!form3_->aboutMode());
        QCOMPARE(runEditor({QStringLiteral("--open"), QStringLiteral("no-such-window")}), 1);
        QTest::qWait(100);
        QVERIFY(!form3_->aboutMode());
        QCOMPARE(runEditor({QStringLiteral("--open"), QStringLiteral("about")}), 0);
        QTRY_VERIFY(form3_->aboutMode());
        QVERIFY(saveEditor());  // About shows over the editor, which stays open
    }

    // A later start sends its whole request at once: a connection that has sent
    // only part of one is closed after a while, and one finished in time is served.
    void aRequestNotSentWholeInTimeIsCutOff_data()
    {
        const QByteArray request = HandOverRequest(QStringLiteral("/games/svd_05.sav"));
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("later");
        QTest::newRow("nothing") << QByteArray() << QByteArray();
        QTest::newRow("the tag only") << request.left(4) << QByteArray();
        QTest::newRow("half the path") << request.left(request.size() / 2) << QByteArray();
        QTest::newRow("half, then the rest in time")
            << request.left(request.size() / 2) << request.mid(request.size() / 2);
    }

    void aRequestNotSentWholeInTimeIsCutOff()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, later);
        constexpr int kRequestMilliseconds = 400;
        server_ = std::make_unique<InstanceServer>(nullptr, InstanceServer::Limits{kRequestMilliseconds, 8});
        const QString name = InstanceServerName(instanceFolder_);
        QVERIFY(server_->listen(name));
        QStringList handed;
        server_->setHandler([&](const QString& path, const QString&) { handed << path; });

        QElapsedTimer waited;
        waited.start();
        const auto client = Connect(name, first);
        if (!later.isEmpty()) {
            QTest::qWait(kRequestMilliseconds / 2);
            client->write(later);
        }
        QTRY_COMPARE_WITH_TIMEOUT(client->state(), QLocalSocket::UnconnectedState, 5000);
        if (later.isEmpty()) {
            QVERIFY2(waited.elapsed() >= kRequestMilliseconds * 3 / 4, qPrintable(QString::number(waited.elapsed())));
            QCOMPARE(client->readAll(), QByteArray());
            QTest::qWait(50);
            QVERIFY(handed.isEmpty());
        } else {
            QCOMPARE(client->readAll(), QByteArray("k"));
            QTRY_COMPARE(handed, QStringList{QStringLiteral("/games/svd_05.sav")});
        }
    }

    // However many connect, eight are served at a time and the rest are closed at
    // once; once they go, a later start is served again.
    void atMostEightConnectionsAreServedAtOnce_data()
    {
        QTest::addColumn<bool>("heldToTheEnd");
        QTest::newRow("the eight close") << false;
        QTest::newRow("the eight are cut off") << true;
    }

    void atMostEightConnectionsAreServedAtOnce()
    {
        QFETCH(bool, heldToTheEnd);
        InstanceServer::Limits limits;  // the program's own number of connections
        limits.requestMilliseconds = heldToTheEnd ? 1500 : 60'000;
        server_ = std::make_unique<InstanceServer>(nullptr, limits);
        const QString name = InstanceServerName(instanceFolder_);
        QVERIFY(server_->listen(name));
        server_->setHandler(
            [this](const QString& path, const QString& window) { OpenWhatStartAsks(session_, *form3_, path, window); });

        std::vector<std::unique_ptr<QLocalSocket>> held;
        for (int i = 0; i < 8; ++i)
            held.push_back(Connect(name));
        QTest::qWait(200);  // the server takes them
        const QString refused = session_.gameFolder + QStringLiteral("svd_01.sav");
        const auto ninth = Connect(name, HandOverRequest(refused));
        QTRY_COMPARE_WITH_TIMEOUT(ninth->state(), QLocalSocket::UnconnectedState, 1000);
        QCOMPARE(ninth->readAll(), QByteArray());
        for (const auto& socket : held)
            QCOMPARE(socket->state(), QLocalSocket::ConnectedState);

        if (heldToTheEnd) {
            for (const auto& socket : held)
                QTRY_COMPARE_WITH_TIMEOUT(socket->state(), QLocalSocket::UnconnectedState, 5000);
        } else {
            held.clear();
        }
        const QString path = session_.gameFolder + QStringLiteral("svd_05.sav");
        QCOMPARE(runEditor({path}), 0);
        QTRY_VERIFY(saveEditor());
        QCOMPARE(saveEditor()->saveGame().path, path);
    }

    // Where no folder of the user's alone can be had (another user made it first,
    // or it is open to others), each start runs on its own: no lock, no socket,
    // no bitmap in a folder others can reach, and it says so.
    void withoutAPrivateFolderEachStartRunsOnItsOwn_data()
    {
        QTest::addColumn<QString>("planted");
        QTest::newRow("a folder open to others") << QStringLiteral("open folder");
        QTest::newRow("a link to another's folder") << QStringLiteral("link");
        QTest::newRow("a plain file") << QStringLiteral("file");
    }

    void withoutAPrivateFolderEachStartRunsOnItsOwn()
    {
#ifdef Q_OS_WIN
        QSKIP("the user's temporary folder on Windows is the user's alone; there is no runtime folder to plant");
#else
        QFETCH(QString, planted);
        server_.reset();
        lock_.reset();
        QTemporaryDir root;
        // Another user's folder, open to all, stands for both the runtime folder
        // and what the temporary folder's place holds.
        const QString theirs = root.filePath(QStringLiteral("theirs"));
        QVERIFY(QDir().mkdir(theirs));
        QVERIFY(QFile::setPermissions(theirs, QFile::Permissions(0x7777)));
        const QString place = root.filePath(QStringLiteral("varkel-editor-%1").arg(::getuid()));
        if (planted == QStringLiteral("open folder")) {
            QVERIFY(QDir().mkdir(place));
            QVERIFY(QFile::setPermissions(place, QFile::Permissions(0x7755)));
        } else if (planted == QStringLiteral("link")) {
            QVERIFY(QFile::link(theirs, place));
        } else {
            QFile file(place);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QProcessEnvironment env = EditorEnvironment(root.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), theirs);
        const QStringList runFolder = {QStringLiteral("--game-folder"), session_.gameFolder};
        const QString told = QStringLiteral("no private temporary folder");

        QProcess first;
        first.setProcessEnvironment(env);
        first.start(QStringLiteral(VARKEL_EDITOR), runFolder);
        QString firstTold;
        QTRY_VERIFY_WITH_TIMEOUT((firstTold += QString::fromLocal8Bit(first.readAllStandardError())).contains(told),
                                 20'000);
        QTest::qWait(300);
        // With a running editor holding the hand-over, this start would hand its
        // file over and end, or fail for --quit-when-shown; here it shows its own
        // windows, faces drawn.
        QProcess second;
        second.setProcessEnvironment(env);
        second.start(QStringLiteral(VARKEL_EDITOR),
                     runFolder + QStringList{QStringLiteral("--quit-when-shown"), QStringLiteral("--open"),
                                             QStringLiteral("face-picker"),
                                             session_.gameFolder + QStringLiteral("svd_05.sav")});
        QVERIFY(second.waitForFinished(30'000));
        const QString secondTold = QString::fromLocal8Bit(second.readAllStandardError());
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QVERIFY2(second.exitCode() == 0, qPrintable(secondTold));
        QVERIFY2(secondTold.contains(told), qPrintable(secondTold));
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        first.waitForFinished();

        QCOMPARE(ProgramFilesUnder(root.path()), QStringList());
        QCOMPARE(QDir(theirs).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System | QDir::Hidden),
                 QStringList());
#endif
    }

    // The network library the hand-over needs is the module's alone: the editor
    // does not wait for it before its window shows.
    void onlyTheHandOverModuleNeedsTheNetworkLibrary()
    {
        const auto needsNetwork = [](const QString& path) {
            QFile file(path);
#ifdef Q_OS_WIN
            return file.open(QIODevice::ReadOnly) && file.readAll().contains("Qt6Network.dll");
#else
            return file.open(QIODevice::ReadOnly) && file.readAll().contains("libQt6Network.so");
#endif
        };
        QVERIFY(!needsNetwork(QStringLiteral(VARKEL_EDITOR)));
        QVERIFY(needsNetwork(QStringLiteral(VARKEL_HAND_OVER_MODULE_FILE)));
    }

    // The program as started twice from outside: the second start reaches the
    // first and ends; once the first is killed, the next start takes its place.
    void aKilledProgramIsFollowedByTheNextStart()
    {
        // This test starts its own first instance.
        server_.reset();
        lock_.reset();
        const QStringList runFolder = {QStringLiteral("--game-folder"), session_.gameFolder};
        QProcess first;
        first.setProcessEnvironment(EditorEnvironment(instanceRoot_.path()));
        first.start(QStringLiteral(VARKEL_EDITOR), runFolder);
        const QString name = InstanceServerName(instanceFolder_);
        QTRY_VERIFY_WITH_TIMEOUT(HandOverToRunningInstance(name, QString(), QString(), 500), 20'000);
        QCOMPARE(runEditor(runFolder), 0);
        QCOMPARE(first.state(), QProcess::Running);

#ifdef Q_OS_WIN
        first.kill();  // TerminateProcess: no chance to tidy up either
        QVERIFY(first.waitForFinished());
#else
        ::kill(pid_t(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished());
        QVERIFY(QFile::exists(name));  // the killed program's socket is still there
#endif
        QProcess next;
        next.setProcessEnvironment(EditorEnvironment(instanceRoot_.path()));
        next.start(QStringLiteral(VARKEL_EDITOR), runFolder);
        QTRY_VERIFY_WITH_TIMEOUT(HandOverToRunningInstance(name, QString(), QString(), 500), 20'000);
        QCOMPARE(next.state(), QProcess::Running);
        next.kill();
        next.waitForFinished();
    }
};

QTEST_MAIN(SecondStartTest)
#include "second_start_uitest.moc"
