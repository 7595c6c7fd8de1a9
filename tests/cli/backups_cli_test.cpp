// `backups` and `restore`: the backups the editor's file store made, over several
// runs, listed and put back by the command line.
#include "cli/cli_run.h"
#include "saveeditor/save_layout.h"
#include "shared/backup_index.h"
#include "shared/file_store.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"
#include "support/temp_game_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using namespace varkel;
using test::CliRun;

namespace {

// Bytes of a save's length that are no save.
QByteArray noise()
{
    QByteArray bytes(save::kSlotMinimumSize + 100, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 2654435761u) >> 24);
    return bytes;
}

// A demo save, as every version starts.
const QByteArray& demoSave()
{
    static const QByteArray bytes = [] {
        const test::TempGameFolder folder;
        return test::FileBytes(folder.file(QStringLiteral("svd_05.sav")));
    }();
    return bytes;
}

// Each version of the save has a size of its own, so the listing shows which it
// is: the demo save with some bytes after its end.
QByteArray version(int n)
{
    return demoSave() + QByteArray(10 * n, char(n));
}

// One line of `backups`: number, time, size, marks, path.
struct Listed {
    QString number;
    QString time;
    QString size;
    QString marks;
    QString path;
};

std::vector<Listed> listing(const CliRun& run)
{
    std::vector<Listed> lines;
    for (const QString& line : run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(QStringLiteral("  "));
        if (parts.size() == 4)
            lines.push_back({parts[0], parts[1], parts[2], QString(), parts[3]});
        else if (parts.size() == 5)
            lines.push_back({parts[0], parts[1], parts[2], parts[3], parts[4]});
        else
            ADD_FAILURE() << "not a line of the listing: " << line.toStdString();
    }
    return lines;
}

// The history the tests start from: svd_05.sav of one game folder written by two
// runs of the editor (the first writing twice, so backing up once), and a file of
// the same name in another game folder with a backup of its own.
class History {
public:
    History()
    {
        EXPECT_TRUE(QDir().mkpath(scratch.filePath(QStringLiteral("game"))));
        EXPECT_TRUE(QDir().mkpath(scratch.filePath(QStringLiteral("other"))));
        EXPECT_TRUE(test::WriteFileBytes(save(), version(0)));
        {
            FileStore first(backups());
            EXPECT_FALSE(first.write(save(), version(1), false));
            EXPECT_FALSE(first.write(save(), version(2), false));
        }
        FileStore second(backups());
        EXPECT_FALSE(second.write(save(), version(3), false));

        EXPECT_TRUE(test::WriteFileBytes(other(), version(7)));
        FileStore third(backups());
        EXPECT_FALSE(third.write(other(), version(8), false));
        otherBackup = third.backupOf(other());
    }

    QString save() const { return scratch.filePath(QStringLiteral("game/svd_05.sav")); }
    // A file of the user's named on the command line as a backup.
    QString planted(const char* name, const QByteArray& bytes) const
    {
        const QString path = scratch.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(test::WriteFileBytes(path, bytes));
        return path;
    }
    QString sparse() const
    {
        const QString path = scratch.filePath(QStringLiteral("sparse"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(qint64(4) << 30));
        return path;
    }
    QString other() const { return scratch.filePath(QStringLiteral("other/svd_05.sav")); }
    QString backups() const { return test::ProgramBackupFolder(home.path()); }
    CliRun cli(const QStringList& arguments) const { return test::cli(arguments, home.path()); }
    std::vector<Listed> list() const
    {
        const CliRun run = cli({QStringLiteral("backups"), save()});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        return listing(run);
    }

    QTemporaryDir home;
    QTemporaryDir scratch;
    QString otherBackup;
};

}  // namespace

// Newest first, each with its time and size, marked where it holds the bytes the
// file has now; the other game's file of the same name is not among them.
TEST(BackupsCli, ListsTheBackupsOfTwoRunsNewestFirst)
{
    History history;
    std::vector<Listed> lines = history.list();
    ASSERT_EQ(lines.size(), 2u);
    const BackupIndex index = BackupIndex::load(history.backups());
    const std::vector<BackupEntry> entries = index.entriesFor(history.save());
    ASSERT_EQ(entries.size(), 2u);
    const QByteArray expected[] = {version(2), version(0)};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines[i].number, QString::number(i + 1));
        EXPECT_EQ(lines[i].time, entries[i].made.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        EXPECT_EQ(lines[i].size, QStringLiteral("%1 bytes").arg(expected[i].size()));
        EXPECT_EQ(lines[i].marks, QString());
        EXPECT_EQ(test::FileBytes(lines[i].path), expected[i]);
        EXPECT_NE(lines[i].path, history.otherBackup);
    }

    // The file on disk back as the first run left it.
    ASSERT_TRUE(test::WriteFileBytes(history.save(), version(2)));
    lines = history.list();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].marks, QStringLiteral("identical"));
    EXPECT_EQ(lines[1].marks, QString());

    // The other game's file has its own single backup.
    const CliRun other = history.cli({QStringLiteral("backups"), history.other()});
    ASSERT_EQ(other.status, 0);
    ASSERT_EQ(listing(other).size(), 1u);
    EXPECT_EQ(listing(other)[0].path, history.otherBackup);

    // A file without backups: nothing listed, and a note saying where they would be.
    const CliRun none = history.cli({QStringLiteral("backups"), history.scratch.filePath(QStringLiteral("x.sav"))});
    EXPECT_EQ(none.status, 0);
    EXPECT_TRUE(none.out.isEmpty());
    EXPECT_TRUE(none.err.startsWith(QStringLiteral("varkel-cli: note: "))) << none.err.toStdString();
    EXPECT_TRUE(none.err.contains(history.backups()));
}

// A restore puts the backup's bytes on disk through the file store, whose backup
// keeps what they replaced; a dry run and every refusal change nothing.
TEST(BackupsCli, RestorePutsABackupBack)
{
    struct Row {
        const char* what;
        std::function<QStringList(const History&)> arguments;  // after "restore FILE"
        int status;
        QByteArray restored;  // empty: the file stays as it was
        const char* says;     // on stdout, or on stderr for a refusal
        bool fromListed = true;  // restored from one of the file's backups
    };
    auto number = [](const char* n) { return [n](const History&) { return QStringList{QString::fromLatin1(n)}; }; };
    const std::vector<Row> rows = {
        {"by number", number("2"), 0, version(0), "restored from"},
        {"by path", [](const History& h) { return QStringList{h.list().at(0).path}; }, 0, version(2), "restored from"},
        {"dry run",
         [](const History&) { return QStringList{QStringLiteral("2"), QStringLiteral("--dry-run")}; },
         0,
         {},
         "dry run: nothing written"},
        {"a number beyond the list", number("3"), 2, {}, "backup 3: no such backup"},
        {"number 0", number("0"), 2, {}, "no such backup"},
        // A number is digits only: anything else names a file, here none.
        {"a number after a space", number(" 1"), 2, {}, "no such backup"},
        {"a number with its sign", number("+1"), 2, {}, "no such backup"},
        {"a number past every backup", number("99999999999999999999"), 2, {}, "no such backup"},
        // What a backup holds is checked as opening a save checks it, before anything is written.
        {"a backup cut short",
         [](const History& h) { return QStringList{h.planted("short", demoSave().left(1000))}; },
         2,
         {},
         "1000 bytes is no saved game"},
        {"a backup too large",
         [](const History& h) {
             return QStringList{h.planted("large", demoSave() + QByteArray(5 * 1024 * 1024, '\0'))};
         },
         2,
         {},
         "is no saved game"},
        {"a backup of random bytes",
         [](const History& h) { return QStringList{h.planted("random", noise())}; },
         2,
         {},
         "does not look like a saved game"},
        {"a backup of random bytes, forced",
         [](const History& h) { return QStringList{h.planted("random", noise()), QStringLiteral("--force")}; }, 0,
         noise(), "restored from", false},
        {"a sparse file of 4 GiB", [](const History& h) { return QStringList{h.sparse()}; }, 2, {}, "is no saved game"},
        {"a sparse file of 4 GiB, dry run",
         [](const History& h) { return QStringList{h.sparse(), QStringLiteral("--dry-run")}; },
         2,
         {},
         "is no saved game"},
        {"another game's backup", [](const History& h) { return QStringList{h.otherBackup}; }, 2, {}, "is a backup of"},
        {"a missing backup",
         [](const History& h) { return QStringList{h.scratch.filePath(QStringLiteral("gone.sav"))}; },
         2,
         {},
         "no such backup"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        History history;
        const QByteArray indexBefore = test::FileBytes(QDir(history.backups()).filePath(BackupIndex::kIndexName));
        const CliRun run = history.cli(QStringList{QStringLiteral("restore"), history.save()} + row.arguments(history));
        EXPECT_EQ(run.status, row.status) << run.err.toStdString();
        EXPECT_TRUE((row.status == 0 ? run.out : run.err).contains(QString::fromLatin1(row.says)))
            << run.out.toStdString() << run.err.toStdString();
        if (row.status != 0) {
            EXPECT_TRUE(run.err.startsWith(QStringLiteral("varkel-cli: "))) << run.err.toStdString();
        }

        const std::vector<Listed> lines = history.list();
        if (row.restored.isEmpty()) {
            EXPECT_EQ(test::FileBytes(history.save()), version(3));
            EXPECT_EQ(lines.size(), 2u);
            EXPECT_EQ(test::FileBytes(QDir(history.backups()).filePath(BackupIndex::kIndexName)), indexBefore);
            continue;
        }
        EXPECT_EQ(test::FileBytes(history.save()), row.restored);
        // What the restore replaced is the newest backup; the one restored from now matches the file.
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(test::FileBytes(lines[0].path), version(3));
        EXPECT_TRUE(run.out.contains(lines[0].path)) << run.out.toStdString();
        int identical = 0;
        for (const Listed& line : lines) {
            if (line.marks == QStringLiteral("identical")) {
                ++identical;
                EXPECT_EQ(test::FileBytes(line.path), row.restored);
            }
        }
        EXPECT_EQ(identical, row.fromListed ? 1 : 0);
    }
}

// Six programs write six games' "svd_05.sav" thirty times each, at once: every
// backup is kept under a name of its own and recorded with its origin, and each
// file keeps the twenty its limit allows.
TEST(BackupsCli, ProgramsWritingAtOnceLoseNoBackup)
{
    constexpr int kPrograms = 6;
    constexpr int kWrites = 30;
    QTemporaryDir home;
    QTemporaryDir scratch;
    QStringList saves;
    for (int p = 0; p < kPrograms; ++p) {
        const QString save = scratch.filePath(QStringLiteral("game%1/svd_05.sav").arg(p));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(save).absolutePath()));
        ASSERT_TRUE(test::WriteFileBytes(save, demoSave()));
        saves << save;
    }
    // Rounds of six programs started together (no shell, so it runs on Windows
    // too); each write changes the loyalty, so each one backs the file up.
    for (int write = 0; write < kWrites; ++write) {
        std::vector<std::unique_ptr<QProcess>> programs;
        for (const QString& save : saves) {
            auto program = std::make_unique<QProcess>();
            program->setProcessEnvironment(test::ProgramEnvironment(home.path()));
            program->setStandardOutputFile(QProcess::nullDevice());
            program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            program->start(QStringLiteral(VARKEL_CLI), {QStringLiteral("set"), save, QStringLiteral("officer"),
                                                        QStringLiteral("1"),
                                                        QStringLiteral("loyalty=%1").arg(50 + write % 2)});
            programs.push_back(std::move(program));
        }
        for (auto& program : programs) {
            ASSERT_TRUE(program->waitForFinished(60'000));
            ASSERT_EQ(program->exitCode(), 0);
        }
    }
    const BackupIndex index = BackupIndex::load(test::ProgramBackupFolder(home.path()));
    EXPECT_FALSE(index.mended()) << "the index lost track of a backup";
    for (const QString& save : saves)
        EXPECT_EQ(index.entriesFor(save).size(), std::size_t(BackupLimits::kDefaultPerFile));
    EXPECT_EQ(index.entries().size(), std::size_t(kPrograms * BackupLimits::kDefaultPerFile));
}

// With the index lost, the backups are listed again with their origin unknown:
// the numbers of `backups` no longer reach them, a path does.
TEST(BackupsCli, BackupsOfUnknownOriginAreRestoredByPathOnly)
{
    History history;
    ASSERT_TRUE(QFile::remove(QDir(history.backups()).filePath(BackupIndex::kIndexName)));
    const CliRun run = history.cli({QStringLiteral("backups"), history.save()});
    ASSERT_EQ(run.status, 0);
    const std::vector<Listed> lines = listing(run);
    ASSERT_EQ(lines.size(), 3u);  // both games' files were named svd_05.sav
    for (const Listed& line : lines) {
        EXPECT_EQ(line.number, QStringLiteral("?"));
        EXPECT_TRUE(line.marks.contains(QStringLiteral("origin unknown")));
    }
    EXPECT_TRUE(run.err.contains(QStringLiteral("restore one by its path"))) << run.err.toStdString();

    const CliRun byNumber = history.cli({QStringLiteral("restore"), history.save(), QStringLiteral("1")});
    EXPECT_EQ(byNumber.status, 2);
    EXPECT_EQ(test::FileBytes(history.save()), version(3));

    const CliRun byPath = history.cli({QStringLiteral("restore"), history.save(), lines[1].path});
    EXPECT_EQ(byPath.status, 0) << byPath.err.toStdString();
    EXPECT_EQ(test::FileBytes(history.save()), test::FileBytes(lines[1].path));
}
