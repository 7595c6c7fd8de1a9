// Files that only have the name and size of a saved game or a system save: every
// command that reads one refuses it, unless --force.
#include "cli/cli_run.h"
#include "neweditor/new_officer_layout.h"
#include "saveeditor/save_layout.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"
#include "support/temp_game_folder.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace varkel;
using test::cli;
using test::CliRun;

namespace {

QByteArray textOfSize(qsizetype size)
{
    const QByteArray line = "This is a plain text file, not a saved game of Varkel; it only has the size of one.\n";
    QByteArray text;
    while (text.size() < size)
        text += line;
    text.truncate(size);
    return text;
}

class SaveCheckCli : public ::testing::Test {
protected:
    static void SetUpTestSuite() { folder = new test::TempGameFolder; }
    static void TearDownTestSuite() { delete folder; }

    void SetUp() override
    {
        // A text file under a save's name and of a save's size, and one under the
        // system save's name and size with the demo's biographies beside it.
        textSave = scratch.filePath(QStringLiteral("svd_03.sav"));
        ASSERT_TRUE(test::WriteFileBytes(textSave, textOfSize(save::kStartupBufferSize)));
        const QByteArray system = test::FileBytes(folder->file(system_save::kFileName));
        ASSERT_FALSE(system.isEmpty());
        ASSERT_TRUE(QDir().mkpath(scratch.filePath(QStringLiteral("sys"))));
        textSystemSave = scratch.filePath(QStringLiteral("sys/Svd_sys.sav"));
        ASSERT_TRUE(test::WriteFileBytes(textSystemSave, textOfSize(system.size())));
        ASSERT_TRUE(test::WriteFileBytes(scratch.filePath(QStringLiteral("sys/RDText.vk")),
                                         test::FileBytes(folder->file(system_save::kBiographyFileName))));
        edits = scratch.filePath(QStringLiteral("edits.json"));
        ASSERT_TRUE(test::WriteFileBytes(edits, "[]"));
    }

    static QString demoSave() { return folder->file(QStringLiteral("svd_05.sav")); }

    static test::TempGameFolder* folder;
    QTemporaryDir scratch;
    QString textSave;
    QString textSystemSave;
    QString edits;
};

test::TempGameFolder* SaveCheckCli::folder = nullptr;

struct Command {
    const char* name;
    bool systemSave;  // run on the system save, else on the saved game
    // The arguments; "FILE" stands for the file, "EDITS" for an empty edit list,
    // "DEMO" for a demo save.
    QStringList arguments;
};

const std::vector<Command>& commands()
{
    static const std::vector<Command> rows = {
        {"info", false, {"info", "FILE"}},
        {"dump", false, {"dump", "FILE"}},
        {"dump of the tables", false, {"dump", "FILE", "--records", "tables"}},
        {"set", false, {"set", "FILE", "officer", "1", "loyalty=50"}},
        {"apply", false, {"apply", "FILE", "EDITS"}},
        {"diff", false, {"diff", "DEMO", "FILE"}},
        {"check", false, {"check", "FILE"}},
        {"control", false, {"control", "FILE", "appear", "1"}},
        {"forecast", false, {"forecast", "FILE", "0"}},
        {"system save: info", true, {"info", "FILE"}},
        {"system save: dump", true, {"dump", "FILE"}},
        {"system save: set", true, {"set", "FILE", "new_officer", "660", "might=90"}},
        {"system save: apply", true, {"apply", "FILE", "EDITS"}},
        {"system save: check", true, {"check", "FILE"}},
    };
    return rows;
}

}  // namespace

TEST_F(SaveCheckCli, EveryCommandRefusesAFileThatIsNoSaveInOneLine)
{
    for (const Command& c : commands()) {
        SCOPED_TRACE(c.name);
        const QString file = c.systemSave ? textSystemSave : textSave;
        const QByteArray before = test::FileBytes(file);
        QStringList arguments = c.arguments;
        arguments.replaceInStrings(QStringLiteral("FILE"), file);
        arguments.replaceInStrings(QStringLiteral("EDITS"), edits);
        arguments.replaceInStrings(QStringLiteral("DEMO"), demoSave());

        const CliRun run = cli(arguments);

        EXPECT_EQ(run.status, 2) << run.err.toStdString();
        const QStringList lines = run.err.trimmed().split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 1) << run.err.toStdString();
        const QString kind = c.systemSave ? QStringLiteral("a system save") : QStringLiteral("a saved game");
        EXPECT_TRUE(lines[0].startsWith(QStringLiteral("varkel-cli: %1: does not look like %2: ").arg(file, kind)))
            << lines[0].toStdString();
        EXPECT_TRUE(lines[0].endsWith(QStringLiteral("; --force opens it all the same"))) << lines[0].toStdString();
        EXPECT_EQ(test::FileBytes(file), before);
    }
}

TEST_F(SaveCheckCli, ForceOpensItForEveryCommand)
{
    for (const Command& c : commands()) {
        SCOPED_TRACE(c.name);
        QStringList arguments = c.arguments;
        arguments.replaceInStrings(QStringLiteral("FILE"), c.systemSave ? textSystemSave : textSave);
        arguments.replaceInStrings(QStringLiteral("EDITS"), edits);
        arguments.replaceInStrings(QStringLiteral("DEMO"), demoSave());
        arguments << QStringLiteral("--force");

        const CliRun run = cli(arguments);

        // What a command makes of such bytes is its own affair; it only has to read them.
        EXPECT_FALSE(run.err.contains(QStringLiteral("does not look like"))) << run.err.toStdString();
        EXPECT_NE(run.status, -1);
    }
    const CliRun dump = cli({"dump", textSave, "--only", "0", "--force"});
    EXPECT_EQ(dump.status, 0) << dump.err.toStdString();
    EXPECT_EQ(test::dumped(dump).size(), 1);
}

TEST_F(SaveCheckCli, WhyIsSaid)
{
    QByteArray zeros(save::kStartupBufferSize, '\0');
    const QString zeroSave = scratch.filePath(QStringLiteral("zeros.sav"));
    ASSERT_TRUE(test::WriteFileBytes(zeroSave, zeros));
    const CliRun run = cli({"dump", zeroSave});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, QStringLiteral("varkel-cli: %1: does not look like a saved game: player slot 0 names person 0, "
                                      "not 860..1719 or 1720 for none; --force opens it all the same\n")
                           .arg(zeroSave));
}

TEST_F(SaveCheckCli, TheDemoFilesAreRead)
{
    for (int k = 0; k < save::kSlotCount; ++k) {
        const CliRun run = cli({"info", folder->file(QStringLiteral("svd_0%1.sav").arg(k))});
        EXPECT_EQ(run.status, 0) << "slot " << k << ": " << run.err.toStdString();
    }
    const CliRun system = cli({"dump", folder->file(system_save::kFileName), "--only", "660"});
    EXPECT_EQ(system.status, 0) << system.err.toStdString();
    EXPECT_EQ(test::dumped(system).size(), 1);
}
