// The backup history at its edges: writes that fail, a full disk, a damaged
// index, links planted in the backup folder and another program holding the
// index. No backup is lost and nothing outside the folder is touched.
#include "shared/backup_index.h"
#include "shared/file_store.h"
#include "support/failing_file_io.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace varkel;

namespace {

QByteArray pattern(qsizetype size, int seed)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 17 + seed * 29 + i / 89) & 0xFF);
    return bytes;
}

// Fails the final rename of every save, as a read-only save or folder does.
class FailingCommits : public FileIo {
public:
    bool commit(QSaveFile&) override { return false; }
};

// A disk that holds `capacity` bytes in the backup folder: a write that would
// go past it fails, as a full disk does.
class FullDisk : public FileIo {
public:
    FullDisk(QString folder, qint64 capacity) : folder_(std::move(folder)), capacity_(capacity) {}

    qint64 write(QIODevice& device, const char* data, qint64 size) override
    {
        const auto* file = qobject_cast<QFileDevice*>(&device);
        if (file && file->fileName().startsWith(folder_) && used() + size > capacity_)
            return -1;
        return device.write(data, size);
    }

private:
    qint64 used() const
    {
        qint64 total = 0;
        for (const QFileInfo& f : QDir(folder_).entryInfoList(QDir::Files | QDir::Hidden))
            total += f.size();
        return total;
    }

    QString folder_;
    qint64 capacity_;
};

class BackupSafetyTest : public ::testing::Test {
protected:
    QString file(const QString& name) const { return dir.filePath(name); }
    QString backups() const { return dir.filePath(QStringLiteral("backups")); }
    QString indexPath() const { return QDir(backups()).filePath(BackupIndex::kIndexName); }

    // A run of the program writing `bytes` over `path`; the error of the write.
    std::optional<RuntimeError> run(const QString& path, const QByteArray& bytes, const BackupLimits& limits,
                                    FileIo* io = nullptr, const std::function<bool()>& goOnWithout = {})
    {
        FileStore store(backups());
        store.setBackupLimits(limits);
        store.setIo(io);
        if (goOnWithout)
            store.setWithoutBackupQuestion([&](const FileStore::BackupFailure&) { return goOnWithout(); });
        return store.write(path, bytes, false);
    }

    // The backup files in the folder, by name.
    QStringList backupFiles() const
    {
        QStringList names = QDir(backups()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
        names.removeAll(BackupIndex::kIndexName);
        names.removeAll(QStringLiteral("index.lock"));
        return names;
    }

    QTemporaryDir dir;
};

}  // namespace

// A write that fails adds no backup and prunes nothing, however often it is
// tried: the history made before is all there, with its origins.
TEST_F(BackupSafetyTest, FailedWritesKeepTheHistory)
{
    struct Row {
        const char* what;
        std::function<FileIo*()> failing;
    };
    static FailingCommits commits;
    static test::FailingFileIo firstWrite;
    const Row rows[] = {
        {"the save cannot be put in place", [] { return &commits; }},
        {"the save's first write fails, after its backup",
         [] {
             // Call 0 reads the original for the backup, call 1 writes it; call 3 is the save's own write.
             firstWrite = test::FailingFileIo();
             firstWrite.failAt(3);
             return &firstWrite;
         }},
    };
    const BackupLimits limits{5, BackupLimits().totalBytes};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QDir(backups()).removeRecursively();
        const QString save = file(QStringLiteral("game/svd_05.sav"));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(save).absolutePath()));
        ASSERT_TRUE(test::WriteFileBytes(save, pattern(500, 0)));
        for (int n = 1; n <= 5; ++n)
            ASSERT_FALSE(run(save, pattern(500, n), limits));
        const QStringList before = backupFiles();
        ASSERT_EQ(before.size(), 5);
        const QByteArray index = test::FileBytes(indexPath());

        for (int n = 0; n < 5; ++n)
            EXPECT_TRUE(run(save, pattern(500, 10 + n), limits, row.failing()));
        EXPECT_EQ(backupFiles(), before);
        EXPECT_EQ(test::FileBytes(indexPath()), index);
        EXPECT_EQ(BackupIndex::load(backups()).entriesFor(save).size(), 5u);
        EXPECT_EQ(test::FileBytes(save), pattern(500, 5));
    }
}

// A full disk frees room first where the limits allow; only then is a write
// without a backup asked for, and made only on yes.
TEST_F(BackupSafetyTest, AFullDiskPrunesThenAsks)
{
    struct Row {
        const char* what;
        int perFile;  // the limit when the disk is full
        bool answer;  // to "go on without a backup?"
        bool asked;
        bool saved;
        int backupsAfter;
    };
    const Row rows[] = {
        {"the limits free room", 2, false, false, true, 2},
        {"no room to free, the user goes on", 20, true, true, true, 3},
        {"no room to free, the user stops", 20, false, true, false, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QDir(backups()).removeRecursively();
        const QString save = file(QStringLiteral("svd_03.sav"));
        ASSERT_TRUE(test::WriteFileBytes(save, pattern(1000, 0)));
        for (int n = 1; n <= 3; ++n)
            ASSERT_FALSE(run(save, pattern(1000, n), BackupLimits()));
        const QString oldest = BackupIndex::load(backups()).entriesFor(save).back().fileName;
        ASSERT_EQ(backupFiles().size(), 3);

        FullDisk full(backups(), qint64(3) * 1000 + 1200);  // the three backups and the index
        bool asked = false;
        const auto error = run(save, pattern(1000, 9), {row.perFile, BackupLimits().totalBytes}, &full, [&] {
            asked = true;
            return row.answer;
        });
        EXPECT_EQ(asked, row.asked);
        EXPECT_EQ(!error, row.saved);
        EXPECT_EQ(test::FileBytes(save), row.saved ? pattern(1000, 9) : pattern(1000, 3));
        EXPECT_EQ(backupFiles().size(), row.backupsAfter);
        EXPECT_EQ(backupFiles().contains(oldest), row.asked) << "the oldest goes only to make room";
    }
}

// With the index lost, backups of unknown origin are never pruned by the
// per-file limit (two games' "svd_05.sav" cannot be told apart), and the total
// limit takes the oldest first but never the last backup of a name.
TEST_F(BackupSafetyTest, BackupsOfUnknownOriginArePrunedOnlyByTheTotal)
{
    struct Row {
        const char* what;
        BackupLimits limits;
        QStringList left;  // of the four backups below, by their names' seeds
    };
    // game1 and game2 each back up svd_05.sav once; game3 backs up svd_06.sav once;
    // then, with the index damaged, game1's svd_05.sav is written again.
    const Row rows[] = {
        {"per file 1",
         {1, qint64(1) << 40},
         {QStringLiteral("g1"), QStringLiteral("g2"), QStringLiteral("g3"), QStringLiteral("g1 again")}},
        {"a total that fits one backup", {20, 1}, {QStringLiteral("g3"), QStringLiteral("g1 again")}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QDir(backups()).removeRecursively();
        std::map<QString, QString> made;  // seed name -> backup file name
        auto backUp = [&](const QString& label, const QString& path, int seed) {
            ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
            if (!QFileInfo::exists(path)) {
                ASSERT_TRUE(test::WriteFileBytes(path, pattern(300, seed)));
            }
            FileStore store(backups());
            store.setBackupLimits(row.limits);
            ASSERT_FALSE(store.write(path, pattern(300, seed + 1), false));
            made[label] = QFileInfo(store.backupOf(path)).fileName();
        };
        backUp(QStringLiteral("g1"), file(QStringLiteral("game1/svd_05.sav")), 1);
        backUp(QStringLiteral("g2"), file(QStringLiteral("game2/svd_05.sav")), 3);
        backUp(QStringLiteral("g3"), file(QStringLiteral("game3/svd_06.sav")), 5);
        ASSERT_TRUE(test::WriteFileBytes(indexPath(), "{ damaged"));
        QThread::msleep(2);  // a stamp of its own
        backUp(QStringLiteral("g1 again"), file(QStringLiteral("game1/svd_05.sav")), 7);

        QStringList left;
        for (const auto& [label, name] : made)
            if (backupFiles().contains(name))
                left << label;
        QStringList expected = row.left;
        expected.sort();
        EXPECT_EQ(left, expected);
    }
}

#ifndef Q_OS_WIN
// Links in the backup folder never lead anything outside it: the index is
// replaced, not written through; a folder that is a link is not used (the
// write refused, or made without a backup when the user says so); a link named
// like a backup is not deleted by pruning, nor what it points to.
TEST_F(BackupSafetyTest, LinksLeadNothingOutsideTheFolder)
{
    const QString outside = file(QStringLiteral("outside"));
    const QString target = QDir(outside).filePath(QStringLiteral("notes.txt"));
    const QString save = file(QStringLiteral("svd_02.sav"));
    struct Row {
        const char* what;
        std::function<void()> plant;
        std::optional<bool> answer;  // to "go on without a backup?"; none: no question expected
        bool saved;
        bool backedUp;
    };
    auto planted = [&](const QString& link) {
        ASSERT_TRUE(QDir().mkpath(backups()));
        ASSERT_TRUE(QFile::link(target, link));
    };
    const std::vector<Row> rows = {
        {"the index a link to a file", [&] { planted(indexPath()); }, std::nullopt, true, true},
        {"a backup's name a link to a file",
         [&] { planted(QDir(backups()).filePath(QStringLiteral("svd_02.sav.20200101-000000-000"))); }, std::nullopt,
         true, true},
        {"the folder a link, write refused", [&] { ASSERT_TRUE(QFile::link(outside, backups())); }, false, false,
         false},
        {"the folder a link, written without a backup", [&] { ASSERT_TRUE(QFile::link(outside, backups())); }, true,
         true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QFile::remove(backups());
        QDir(backups()).removeRecursively();
        QDir(outside).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(outside));
        ASSERT_TRUE(test::WriteFileBytes(target, "the user's own notes"));
        // A file of the user's named like a backup beside it.
        const QString lookalike = QDir(outside).filePath(QStringLiteral("svd_02.sav.20200101-000000-000"));
        ASSERT_TRUE(test::WriteFileBytes(lookalike, "not a backup"));
        ASSERT_EQ(::chmod(QFile::encodeName(outside).constData(), 0755), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0644), 0);
        ASSERT_TRUE(test::WriteFileBytes(save, pattern(400, 1)));
        row.plant();

        bool asked = false;
        const auto error = run(save, pattern(400, 2), {1, 1}, nullptr, [&] {
            asked = true;
            return row.answer.value_or(false);
        });
        EXPECT_EQ(asked, row.answer.has_value());
        EXPECT_EQ(!error, row.saved);
        EXPECT_EQ(test::FileBytes(save), row.saved ? pattern(400, 2) : pattern(400, 1));
        // Outside: every file and mode as it was.
        EXPECT_EQ(test::FileBytes(target), QByteArray("the user's own notes"));
        EXPECT_EQ(test::FileBytes(lookalike), QByteArray("not a backup"));
        struct stat st{};
        ASSERT_EQ(::stat(QFile::encodeName(outside).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0755u);
        ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0644u);
        EXPECT_EQ(QDir(outside).entryList(QDir::Files | QDir::Hidden).size(), 2);
        if (row.backedUp) {
            EXPECT_EQ(BackupIndex::load(backups()).entriesFor(save).size(), 1u);
            EXPECT_FALSE(QFileInfo(indexPath()).isSymLink());
        }
    }
}
#endif

// A writer never changes the index while another program holds its lock: it
// waits as long as that takes, says so after a few seconds, naming the program,
// and records its backup once the lock is free. A lock left by a program that
// is gone is taken over at once.
TEST_F(BackupSafetyTest, TheIndexLockIsWaitedForAndStaleOnesTakenOver)
{
    const QString save = file(QStringLiteral("svd_04.sav"));
    ASSERT_TRUE(test::WriteFileBytes(save, pattern(200, 1)));
    ASSERT_TRUE(QDir().mkpath(backups()));
    const QString lockPath = QDir(backups()).filePath(QStringLiteral("index.lock"));

    // Held by this very program, as another writer would hold it.
    auto held = std::make_unique<QLockFile>(lockPath);
    ASSERT_TRUE(held->tryLock(0));
    std::mutex heard;
    std::vector<BackupNotice> notices;
    const auto noticesNow = [&] {
        const std::lock_guard<std::mutex> guard(heard);
        return notices;
    };
    std::atomic<bool> done = false;
    QElapsedTimer waited;
    waited.start();
    std::thread writer([&] {
        FileStore store(backups());
        store.setBackupNotices([&](const BackupNotice& n) {
            const std::lock_guard<std::mutex> guard(heard);
            notices.push_back(n);
        });
        EXPECT_FALSE(store.write(save, pattern(200, 2), false));
        done = true;
    });
    while (noticesNow().empty() && waited.elapsed() < 10'000)
        QThread::msleep(50);
    QThread::msleep(500);  // long after the old wait of two seconds
    EXPECT_FALSE(done) << "recorded without the lock";
    ASSERT_EQ(noticesNow().size(), 1u);
    EXPECT_EQ(notices[0].kind, BackupNotice::Kind::WaitingForIndex);
    EXPECT_TRUE(notices[0].detail.contains(QStringLiteral("process %1").arg(QCoreApplication::applicationPid())))
        << notices[0].detail.toStdString();
    held.reset();  // unlocks
    writer.join();
    EXPECT_EQ(BackupIndex::load(backups()).entriesFor(save).size(), 1u);

#ifndef Q_OS_WIN
    // A lock that names a process that has ended.
    const pid_t gone = fork();
    if (gone == 0)
        _exit(0);
    ASSERT_GT(gone, 0);
    ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
    ASSERT_TRUE(test::WriteFileBytes(lockPath, QByteArray::number(gone) + "\nvarkel-cli\n" +
                                                   QSysInfo::machineHostName().toUtf8() + "\n"));
    ASSERT_TRUE(test::WriteFileBytes(save, pattern(200, 3)));
    notices.clear();
    waited.restart();
    FileStore store(backups());
    store.setBackupNotices([&](const BackupNotice& n) { notices.push_back(n); });
    EXPECT_FALSE(store.write(save, pattern(200, 4), false));
    EXPECT_LT(waited.elapsed(), 2000);
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(BackupIndex::load(backups()).entriesFor(save).size(), 2u);
#endif
}

// An index that cannot be written costs the origins of the backups made
// meanwhile, never a backup, and the store says so once.
TEST_F(BackupSafetyTest, AnIndexThatCannotBeWrittenIsToldOnce)
{
    ASSERT_TRUE(QDir().mkpath(indexPath()));  // a folder where the index should be
    FileStore store(backups());
    for (const char* name : {"svd_01.sav", "svd_02.sav"}) {
        const QString path = file(QString::fromLatin1(name));
        ASSERT_TRUE(test::WriteFileBytes(path, pattern(100, 1)));
        ASSERT_FALSE(store.write(path, pattern(100, 2), false));
        EXPECT_FALSE(store.backupOf(path).isEmpty());
        EXPECT_TRUE(QFileInfo::exists(store.backupOf(path)));
    }
    const std::vector<BackupNotice> notices = store.takeBackupNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].kind, BackupNotice::Kind::IndexNotWritten);
    EXPECT_TRUE(store.takeBackupNotices().empty());
}
