// A later start of the program hands its file to the running one and ends: the
// built editor is started a second time with a file, and the file opens in the
// editor running here, through the same questions as File > Open.
#include "app/editor_factories.h"
#include "app/instance_server.h"
#include "shared/temp_folder.h"
#include "shared/texts.h"
#include "support/temp_game_folder.h"
#include "support/typing.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLockFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <memory>

using namespace varkel;

Q_DECLARE_METATYPE(varkel::Answer)

namespace {

enum class Before { StartWindow, SaveEditor, ChangedSaveEditor, MinimisedSaveEditor, NewOfficerEditor };
enum class After { SaveEditor, NewOfficerEditor, StartWindow };

// The environment of the built editor run here: offscreen, with its temporary
// folder (and so its lock and socket) under `tempRoot`.
QProcessEnvironment EditorEnvironment(const QString& tempRoot)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TMPDIR"), tempRoot);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), tempRoot);
    env.insert(QStringLiteral("XDG_DATA_HOME"), tempRoot);
    return env;
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

}  // namespace

class SecondStartTest : public QObject, protected test::EditorFixture {
    Q_OBJECT

private:
    QTemporaryDir instanceRoot_;  // TMPDIR of the editor run here and of the ones started
    QString instanceFolder_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<InstanceServer> server_;
    std::unique_ptr<Form3> form3_;

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

    Form4* saveEditor() const { return qobject_cast<Form4*>(form3_->editor()); }
    Form1* newOfficerEditor() const { return qobject_cast<Form1*>(form3_->editor()); }

    void changeOfficer(Form4& form)
    {
        test::Retype(control<QLineEdit>(form, QStringLiteral("Text3(15)")), QStringLiteral("1"));
        form.Command7[0]->click();
        QVERIFY(form.modified());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(instanceRoot_.isValid());
        // The folder the started editors take as theirs, as this program's own.
        qputenv("TMPDIR", QFile::encodeName(instanceRoot_.path()));
        instanceFolder_ = PrivateTempFolder();
        QVERIFY(!instanceFolder_.isEmpty());
    }

    void init()
    {
        prepare();
        lock_ = LockSingleInstance(instanceFolder_);
        QVERIFY(lock_);
        server_ = std::make_unique<InstanceServer>();
        QVERIFY(server_->listen(InstanceServerName(instanceFolder_)));
        form3_ = std::make_unique<Form3>(session_);
        InstallEditorFactories(*form3_);
        server_->setHandler([this](const QString& path) { form3_->handOver(path); });
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
        const QString question = GetResText(252);
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
            << QStringList{GetResText(254)};
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
            form3_->Command2_Click();
            QVERIFY(newOfficerEditor());
        } else if (before != Before::StartWindow) {
            form3_->Command3_Click();
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
        form3_->Command3_Click();
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
        QVERIFY(!HandOverToRunningInstance(name, QString(), 1000));
        server_ = std::make_unique<InstanceServer>();
        QVERIFY(server_->listen(name));
        server_->setHandler([this](const QString& path) { form3_->handOver(path); });
        QCOMPARE(runEditor({session_.gameFolder + QStringLiteral("svd_05.sav")}), 0);
        QTRY_VERIFY(saveEditor());
        QCOMPARE(saveEditor()->saveGame().path, session_.gameFolder + QStringLiteral("svd_05.sav"));
    }

    // The name is the user's own: inside the user's private temporary folder, or
    // where that path is too long for a socket, a short name made from it.
    void theServerNameBelongsToTheTemporaryFolder()
    {
        const QString shortFolder = QStringLiteral("/tmp/varkel-editor-1000/");
        const QString otherUser = QStringLiteral("/tmp/varkel-editor-1001/");
        const QString longFolder = QStringLiteral("/tmp/") + QString(120, QLatin1Char('x')) + QStringLiteral("/");
        const QString otherLong = QStringLiteral("/tmp/") + QString(120, QLatin1Char('y')) + QStringLiteral("/");
        QVERIFY(InstanceServerName(shortFolder).startsWith(shortFolder));
        QCOMPARE(InstanceServerName(shortFolder), InstanceServerName(shortFolder));
        QVERIFY(InstanceServerName(shortFolder) != InstanceServerName(otherUser));
        for (const QString& folder : {longFolder, otherLong}) {
            QVERIFY(!InstanceServerName(folder).contains(QLatin1Char('/')));
            QVERIFY(InstanceServerName(folder).size() < 64);
        }
        QVERIFY(InstanceServerName(longFolder) != InstanceServerName(otherLong));
    }

    // The network library the hand-over needs is the module's alone: the editor
    // does not wait for it before its window shows.
    void onlyTheHandOverModuleNeedsTheNetworkLibrary()
    {
        const auto needsNetwork = [](const QString& path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) && file.readAll().contains("libQt6Network.so");
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
        QTRY_VERIFY_WITH_TIMEOUT(HandOverToRunningInstance(name, QString(), 500), 20'000);
        QCOMPARE(runEditor(runFolder), 0);
        QCOMPARE(first.state(), QProcess::Running);

        ::kill(pid_t(first.processId()), SIGKILL);
        QVERIFY(first.waitForFinished());
        QVERIFY(QFile::exists(name));  // the killed program's socket is still there
        QProcess next;
        next.setProcessEnvironment(EditorEnvironment(instanceRoot_.path()));
        next.start(QStringLiteral(VARKEL_EDITOR), runFolder);
        QTRY_VERIFY_WITH_TIMEOUT(HandOverToRunningInstance(name, QString(), 500), 20'000);
        QCOMPARE(next.state(), QProcess::Running);
        next.kill();
        next.waitForFinished();
    }
};

QTEST_MAIN(SecondStartTest)
#include "second_start_uitest.moc"
