#include "support/gtest_qt.h"
#include "support/program_environment.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct EditorRun {
    bool finished = false;
    int status = -1;
    QString err;
};

// Runs the built editor offscreen, with its settings and temporary files kept in
// a folder of the test's own. A run that does not end (a window came up) is killed.
EditorRun runEditor(const QStringList& arguments)
{
    QTemporaryDir home;
    QProcess process;
    QProcessEnvironment env = varkel::test::ProgramEnvironment(home.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TMPDIR"), home.path());
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VARKEL_EDITOR), arguments);
    EditorRun run;
    run.finished = process.waitForFinished(30'000);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

}  // namespace

// An unknown name for --open ends the program with a message before any window or
// instance lock, so a typing mistake is not taken for a program that will not start.
TEST(EditorOptions, AnUnknownStartWindowIsRefusedNamingTheKnownOnes)
{
    struct Row {
        const char* what;
        QStringList arguments;
        QString named;
    };
    const std::vector<Row> rows = {
        {"nonsense", {"--open", "nonsense"}, "\"nonsense\""},
        {"joined with =", {"--open=nonsense"}, "\"nonsense\""},
        {"a known name in other case", {"--open", "About"}, "\"About\""},
        {"empty", {"--open", ""}, "\"\""},
        {"with a game folder", {"--game-folder", "/nowhere/", "--open", "faces"}, "\"faces\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const EditorRun run = runEditor(row.arguments);
        ASSERT_TRUE(run.finished);
        EXPECT_NE(run.status, 0);
        EXPECT_TRUE(run.err.contains(row.named)) << run.err.toStdString();
        for (const char* known : {"about", "face-picker", "save-editor"})
            EXPECT_TRUE(run.err.contains(QString::fromLatin1(known))) << known << ": " << run.err.toStdString();
    }
}
