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
    QString out;
    QString err;
};

enum class Display { Offscreen, None };

// Runs the built editor offscreen (or with no display at all), with its settings
// and temporary files kept in a folder of the test's own. A run that does not end
// (a window came up) is killed.
EditorRun runEditor(const QStringList& arguments, Display display = Display::Offscreen)
{
    QTemporaryDir home;
    QProcess process;
    QProcessEnvironment env = varkel::test::ProgramEnvironment(home.path());
    if (display == Display::Offscreen) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    } else {
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QString::fromLatin1(name));
    }
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
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
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

// Help and version are printed where no display is (a terminal over ssh, a
// packaging check) instead of the program aborting for want of one.
TEST(EditorOptions, HelpAndVersionNeedNoDisplay)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "a Windows program without a console shows its help in a message box";
#endif
    struct Row {
        QStringList arguments;
        QString printed;
    };
    const std::vector<Row> rows = {
        {{"--help"}, "--game-folder"},
        {{"-h"}, "--open"},
        {{"--version"}, "varkel-editor " VARKEL_VERSION_STRING},
        {{"--game-folder", "/nowhere/", "--version"}, "varkel-editor " VARKEL_VERSION_STRING},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments.join(QLatin1Char(' ')).toStdString());
        const EditorRun run = runEditor(row.arguments, Display::None);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(row.printed)) << run.out.toStdString();
    }
}
