#include "shared/backup_index.h"
#include "shared/file_store.h"
#include "shared/game_folder.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <vector>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using namespace varkel;

namespace {

constexpr SizeRange kAnySize{0, 1024 * 1024};

// Bytes that differ from position to position and from seed to seed.
QByteArray pattern(qsizetype size, int seed)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 13 + seed * 101 + i / 97) & 0xFF);
    return bytes;
}

class BackupIndexTest : public ::testing::Test {
protected:
    QString file(const QString& name) const { return dir.filePath(name); }
    QString backups() const { return dir.filePath(QStringLiteral("backups")); }
    QString indexPath() const { return QDir(backups()).filePath(BackupIndex::kIndexName); }

    // One run of the program: `path` holds `before` when a new store writes `after` over it.
    void run(const QString& path, const QByteArray& before, const QByteArray& after,
             const BackupLimits& limits = BackupLimits())
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        ASSERT_TRUE(test::WriteFileBytes(path, before));
        FileStore store(backups());
        store.setBackupLimits(limits);
        ASSERT_FALSE(store.write(path, after, false));
        ASSERT_FALSE(store.backupOf(path).isEmpty());
    }

    // The bytes of each backup of `path`, newest first.
    std::vector<QByteArray> backupBytes(const QString& path) const
    {
        std::vector<QByteArray> found;
        const BackupIndex index = BackupIndex::load(backups());
        for (const BackupEntry& e : index.entriesFor(path))
            found.push_back(test::FileBytes(index.pathOf(e)));
        return found;
    }

    QTemporaryDir dir;
};

}  // namespace

// Two games' "svd_05.sav" back up into one folder: each file's list holds its own
// backups only, however often and in whatever order they were written.
TEST_F(BackupIndexTest, TwoFilesOfOneNameNeverMix)
{
    const QString first = file(QStringLiteral("game1/svd_05.sav"));
    const QString second = file(QStringLiteral("game2/svd_05.sav"));
    run(first, pattern(300, 1), pattern(300, 2));
    run(second, pattern(400, 3), pattern(400, 4));
    run(first, pattern(300, 5), pattern(300, 6));
    run(second, pattern(400, 7), pattern(400, 8));

    EXPECT_EQ(backupBytes(first), (std::vector<QByteArray>{pattern(300, 5), pattern(300, 1)}));
    EXPECT_EQ(backupBytes(second), (std::vector<QByteArray>{pattern(400, 7), pattern(400, 3)}));
    const BackupIndex index = BackupIndex::load(backups());
    EXPECT_EQ(index.entries().size(), 4u);
    EXPECT_FALSE(index.mended());
    EXPECT_TRUE(index.unknownOriginNamedLike(first).empty());
    // Another path of the same file finds the same backups.
    EXPECT_EQ(index.entriesFor(file(QStringLiteral("game2/../game1/svd_05.sav"))).size(), 2u);

    // One of the second game's backups is not put back over the first game's file,
    // even when the user names it.
    const BackupEntry other = index.entriesFor(second).front();
    for (const bool named : {false, true}) {
        const BackupRead read = ReadBackupFor(index, first, index.pathOf(other), named, kAnySize);
        EXPECT_EQ(read.refusal, BackupRead::Refusal::OtherFile);
        EXPECT_EQ(read.otherOriginal, QFileInfo(second).canonicalFilePath());
        EXPECT_TRUE(read.bytes.isEmpty());
    }
}

// Backups of two files of one name made in the same millisecond get names of their own.
TEST_F(BackupIndexTest, NamesOfOneMillisecondStayApart)
{
    ASSERT_TRUE(QDir().mkpath(backups()));
    const QDateTime made(QDate(2024, 3, 5), QTime(7, 8, 9, 10));
    QStringList names;
    for (int n = 1; n <= 3; ++n) {
        names << BackupIndex::backupName(QStringLiteral("svd_05.sav"), made, n);
        ASSERT_TRUE(test::WriteFileBytes(QDir(backups()).filePath(names.back()), pattern(10, n)));
    }
    EXPECT_EQ(names, (QStringList{QStringLiteral("svd_05.sav.20240305-070809-010"),
                                  QStringLiteral("svd_05.sav.20240305-070809-010-2"),
                                  QStringLiteral("svd_05.sav.20240305-070809-010-3")}));
    // Found without an index, each keeps the name and time of its original.
    const BackupIndex index = BackupIndex::load(backups());
    ASSERT_EQ(index.entries().size(), 3u);
    for (const BackupEntry& e : index.entries()) {
        EXPECT_EQ(e.originalName, QStringLiteral("svd_05.sav"));
        EXPECT_EQ(e.made, made);
        EXPECT_FALSE(e.originKnown());
    }
}

// What the index keeps of a backup: the original's path with links resolved, its
// name and time, the backup's size and time, and the program's version; privately.
TEST_F(BackupIndexTest, EachBackupRecordsWhereItCameFrom)
{
    const QString real = file(QStringLiteral("game/svd_02.sav"));
    ASSERT_TRUE(QDir().mkpath(file(QStringLiteral("game"))));
    ASSERT_TRUE(test::WriteFileBytes(real, pattern(500, 1)));
    const QDateTime modified = QDateTime::currentDateTime().addDays(-3);
    {
        QFile f(real);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(modified, QFileDevice::FileModificationTime));
    }
    QString through = real;
#ifndef Q_OS_WIN
    through = file(QStringLiteral("link.sav"));
    ASSERT_TRUE(QFile::link(real, through));
#endif
    const QDateTime before = QDateTime::currentDateTime();
    FileStore store(backups());
    ASSERT_FALSE(store.write(through, pattern(600, 2), false));

    const BackupIndex index = store.backupIndex();
    ASSERT_EQ(index.entries().size(), 1u);
    const BackupEntry& e = index.entries().front();
    EXPECT_EQ(index.pathOf(e), store.backupOf(through));
    EXPECT_EQ(e.original, QFileInfo(real).canonicalFilePath());
    EXPECT_EQ(e.originalName, QFileInfo(through).fileName());
    EXPECT_EQ(e.size, 500);
    EXPECT_EQ(e.programVersion, QStringLiteral(VARKEL_VERSION_STRING));
    EXPECT_EQ(e.originalModified.toMSecsSinceEpoch() / 1000, modified.toMSecsSinceEpoch() / 1000);
    EXPECT_GE(e.made, before.addMSecs(-1));
    EXPECT_LE(e.made, QDateTime::currentDateTime());
    EXPECT_EQ(index.entriesFor(real).size(), 1u);
#ifndef Q_OS_WIN
    struct stat st{};
    ASSERT_EQ(::stat(QFile::encodeName(indexPath()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
#endif
}

// The limits drop the oldest backups first, per file and over all files, and
// never the newest backup of any file, however small the total allowed.
TEST_F(BackupIndexTest, LimitsDropTheOldestFirst)
{
    constexpr qint64 kSize = 1000;
    struct Run {
        char file;  // 'A', 'B' or 'C'
        qint64 size = kSize;
    };
    struct Row {
        const char* what;
        BackupLimits limits;
        std::vector<Run> runs;
        std::map<char, std::vector<int>> kept;  // per file, the runs whose backups stay, newest first
    };
    const qint64 kAll = qint64(1) << 40;
    const std::vector<Row> rows = {
        {"three per file", {3, kAll}, {{'A'}, {'A'}, {'A'}, {'A'}, {'A'}}, {{'A', {4, 3, 2}}}},
        {"per file, each file counted apart",
         {2, kAll},
         {{'A'}, {'B'}, {'A'}, {'B'}, {'A'}, {'B'}},
         {{'A', {4, 2}}, {'B', {5, 3}}}},
        {"one per file", {1, kAll}, {{'A'}, {'A'}, {'B'}}, {{'A', {1}}, {'B', {2}}}},
        {"the total drops the oldest of all files",
         {20, kSize * 5 / 2},
         {{'A'}, {'B'}, {'A'}, {'B'}},
         {{'A', {2}}, {'B', {3}}}},
        {"the total counts the sizes",
         {20, 3500},
         {{'A', 3000}, {'B', 200}, {'A', 300}, {'B', 200}},
         {{'A', {2}}, {'B', {3, 1}}}},
        {"nothing allowed: the newest of each file stays",
         {20, 0},
         {{'A'}, {'B'}, {'C'}, {'A'}},
         {{'A', {3}}, {'B', {1}}, {'C', {2}}}},
        {"within the limits nothing goes", {20, kAll}, {{'A'}, {'B'}, {'A'}}, {{'A', {2, 0}}, {'B', {1}}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QDir(backups()).removeRecursively();
        auto pathOf = [&](char f) { return file(QStringLiteral("game%1/svd_05.sav").arg(QLatin1Char(f))); };
        for (std::size_t i = 0; i < row.runs.size(); ++i)
            run(pathOf(row.runs[i].file), pattern(row.runs[i].size, int(i)), pattern(10, 99), row.limits);

        std::size_t total = 0;
        for (const auto& [f, runs] : row.kept) {
            std::vector<QByteArray> expected;
            for (const int r : runs)
                expected.push_back(pattern(row.runs[r].size, r));
            EXPECT_EQ(backupBytes(pathOf(f)), expected) << "file " << f;
            total += runs.size();
        }
        // The dropped backups are deleted, not only forgotten.
        const QStringList left =
            QDir(backups()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("svd_05.sav."));
        EXPECT_EQ(std::size_t(left.size()), total);
    }
}

// Without its index, or with a damaged one, the folder's backups are all listed
// again (those the index cannot vouch for with their origin unknown), entries
// of deleted backups are dropped, nothing outside the backups is ever deleted,
// and the next save goes on and writes a sound index.
TEST_F(BackupIndexTest, AMissingOrDamagedIndexIsRebuilt)
{
    using Damage = std::function<void(const QString& index, const QString& folder)>;
    auto replace = [](const QByteArray& bytes) {
        return [bytes](const QString& index, const QString&) { ASSERT_TRUE(test::WriteFileBytes(index, bytes)); };
    };
    auto edit = [](const std::function<void(QJsonArray&)>& change) {
        return [change](const QString& index, const QString&) {
            QJsonObject root = QJsonDocument::fromJson(test::FileBytes(index)).object();
            QJsonArray list = root.value(QStringLiteral("backups")).toArray();
            change(list);
            root.insert(QStringLiteral("backups"), list);
            ASSERT_TRUE(test::WriteFileBytes(index, QJsonDocument(root).toJson()));
        };
    };
    struct Row {
        const char* what;
        Damage damage;
        int known;                 // backups of the first file whose origin stays known
        bool indexWritable = true;
    };
    const std::vector<Row> rows = {
        {"missing", [](const QString& index, const QString&) { ASSERT_TRUE(QFile::remove(index)); }, 0},
        {"not JSON", replace("{\"backups\": [ {\"file\": "), 0},
        {"empty", replace(QByteArray()), 0},
        {"an array", replace("[1, 2, 3]"), 0},
        {"binary", replace(pattern(5000, 3)), 0},
        {"a folder in its place",
         [](const QString& index, const QString&) {
             ASSERT_TRUE(QFile::remove(index));
             ASSERT_TRUE(QDir().mkpath(index));
         },
         0, false},
        {"an entry whose backup was deleted",
         [](const QString&, const QString& folder) {
             const BackupIndex index = BackupIndex::load(folder);
             ASSERT_TRUE(QFile::remove(index.pathOf(index.entries().front())));
         },
         1},
        {"entries pointing outside the folder", edit([](QJsonArray& list) {
             for (const char* name : {"../outside.sav", "/etc/passwd", "", "index.json"}) {
                 QJsonObject o = list.at(0).toObject();
                 o.insert(QStringLiteral("file"), QString::fromLatin1(name));
                 list.append(o);
             }
         }),
         2},
        {"an entry listed twice", edit([](QJsonArray& list) { list.append(list.at(0)); }), 2},
        {"fields of the wrong type", edit([](QJsonArray& list) {
             QJsonObject o = list.at(0).toObject();
             o.insert(QStringLiteral("original"), 7);
             o.insert(QStringLiteral("made"), QJsonArray());
             o.insert(QStringLiteral("size"), QStringLiteral("big"));
             list.replace(0, o);
         }),
         1},
    };
    const QString first = file(QStringLiteral("game1/svd_05.sav"));
    const QString second = file(QStringLiteral("game2/svd_05.sav"));
    const QString outside = file(QStringLiteral("outside.sav"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QDir(backups()).removeRecursively();
        ASSERT_TRUE(test::WriteFileBytes(outside, "keep me"));
        run(first, pattern(100, 1), pattern(100, 2));
        run(first, pattern(100, 3), pattern(100, 4));
        run(second, pattern(100, 5), pattern(100, 6));
        const QStringList backupFiles = QDir(backups()).entryList(QDir::Files).filter(QStringLiteral("svd_05.sav."));
        ASSERT_EQ(backupFiles.size(), 3);

        row.damage(indexPath(), backups());
        const BackupIndex index = BackupIndex::load(backups());
        EXPECT_TRUE(index.mended());
        QStringList listed;
        for (const BackupEntry& e : index.entries()) {
            listed << e.fileName;
            EXPECT_TRUE(QFileInfo(index.pathOf(e)).isFile()) << e.fileName.toStdString();
            EXPECT_EQ(e.originalName, QStringLiteral("svd_05.sav"));
            EXPECT_TRUE(e.made.isValid());
            EXPECT_EQ(e.size, 100);
        }
        QStringList onDisk = QDir(backups()).entryList(QDir::Files).filter(QStringLiteral("svd_05.sav."));
        listed.sort();
        EXPECT_EQ(listed, onDisk);
        EXPECT_EQ(int(index.entriesFor(first).size()), row.known);
        // What lost its origin is still found by the original's name, never as a backup of the file.
        EXPECT_EQ(index.entriesFor(first).size() + index.entriesFor(second).size() +
                      index.unknownOriginNamedLike(first).size(),
                  std::size_t(onDisk.size()));

        // The next save goes on, records its backup with its origin and keeps within
        // the limits, deleting nothing but backups.
        run(second, pattern(100, 7), pattern(100, 8), {1, qint64(1) << 40});
        EXPECT_EQ(test::FileBytes(outside), QByteArray("keep me"));
        const BackupIndex after = BackupIndex::load(backups());
        if (!row.indexWritable) {
            EXPECT_TRUE(after.mended());
            EXPECT_TRUE(after.entriesFor(second).empty());
            const auto made = std::find_if(after.entries().begin(), after.entries().end(), [&](const BackupEntry& e) {
                return test::FileBytes(after.pathOf(e)) == pattern(100, 7);
            });
            EXPECT_NE(made, after.entries().end());
            continue;
        }
        EXPECT_FALSE(after.mended());
        ASSERT_FALSE(after.entriesFor(second).empty());
        EXPECT_EQ(test::FileBytes(after.pathOf(after.entriesFor(second).front())), pattern(100, 7));
        EXPECT_EQ(after.entriesFor(second).size(), 1u);
        EXPECT_EQ(int(after.entriesFor(first).size()), std::min(row.known, 1));
    }
}

// A backup is read for a file when the index lists it for that file; a backup the
// index cannot place, or a copy kept elsewhere, only when the user names it.
TEST_F(BackupIndexTest, ReadingABackupForAFile)
{
    const QString original = file(QStringLiteral("game/svd_05.sav"));
    run(original, pattern(200, 1), pattern(200, 2));
    const QString unknown = QDir(backups()).filePath(QStringLiteral("svd_05.sav.20200101-000000-000"));
    ASSERT_TRUE(test::WriteFileBytes(unknown, pattern(150, 3)));
    const QString elsewhere = file(QStringLiteral("my copy.sav"));
    ASSERT_TRUE(test::WriteFileBytes(elsewhere, pattern(120, 4)));
    const BackupIndex index = BackupIndex::load(backups());
    ASSERT_EQ(index.entriesFor(original).size(), 1u);
    const QString listed = index.pathOf(index.entriesFor(original).front());

    using Refusal = BackupRead::Refusal;
    struct Row {
        const char* what;
        QString backup;
        bool named;
        Refusal refusal;
        QByteArray bytes;
    };
    const std::vector<Row> rows = {
        {"listed for the file", listed, false, Refusal::None, pattern(200, 1)},
        {"listed, named", listed, true, Refusal::None, pattern(200, 1)},
        {"origin unknown", unknown, false, Refusal::NotListed, {}},
        {"origin unknown, named", unknown, true, Refusal::None, pattern(150, 3)},
        {"elsewhere", elsewhere, false, Refusal::NotListed, {}},
        {"elsewhere, named", elsewhere, true, Refusal::None, pattern(120, 4)},
        {"missing", file(QStringLiteral("gone.sav")), true, Refusal::Missing, {}},
        {"a folder", backups(), true, Refusal::Missing, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const BackupRead read = ReadBackupFor(index, original, row.backup, row.named, kAnySize);
        EXPECT_EQ(read.refusal, row.refusal);
        EXPECT_EQ(read.bytes, row.bytes);
        EXPECT_EQ(read.entry.has_value(), row.backup == listed || row.backup == unknown);
    }
}

// "Identical to the file on disk": the same length and the same bytes.
TEST_F(BackupIndexTest, SameBytesComparesSizesThenBytes)
{
    const QByteArray large = pattern(3 * kFileChunkSize + 17, 1);
    QByteArray lastByte = large;
    lastByte[lastByte.size() - 1] = char(lastByte.back() ^ 1);
    QByteArray firstChunk = large;
    firstChunk[10] = char(firstChunk[10] ^ 1);
    struct Row {
        const char* what;
        QByteArray a;
        QByteArray b;  // empty: no file
        bool same;
    };
    const std::vector<Row> rows = {
        {"same bytes", large, large, true},
        {"last byte differs", large, lastByte, false},
        {"an early byte differs", large, firstChunk, false},
        {"one longer", large, large + 'x', false},
        {"both short", "abc", "abc", true},
        {"missing", large, {}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QString a = file(QStringLiteral("a")), b = file(QStringLiteral("b"));
        QFile::remove(b);
        ASSERT_TRUE(test::WriteFileBytes(a, row.a));
        if (!row.b.isEmpty()) {
            ASSERT_TRUE(test::WriteFileBytes(b, row.b));
        }
        EXPECT_EQ(SameFileBytes(a, b), row.same);
        EXPECT_EQ(SameFileBytes(b, a), row.same);
    }
}

// The limits come from the settings file; what is no positive number there gives the default.
TEST_F(BackupIndexTest, LimitsAreReadFromTheSettings)
{
    constexpr qint64 kMiB = 1024 * 1024;
    struct Row {
        QByteArray settings;  // empty: no settings file
        int perFile;
        qint64 totalBytes;
    };
    const std::vector<Row> rows = {
        {{}, 20, 500 * kMiB},
        {"[Varkel]\r\nInstallDir=C:\\Varkel\\\r\n", 20, 500 * kMiB},
        {"[Backups]\r\nMaxPerFile=5\r\nMaxTotalMB=1\r\n", 5, kMiB},
        {"[backups]\nmaxperfile = 7\nMAXTOTALMB=2048\n", 7, 2048 * kMiB},
        {"[Backups]\r\nMaxPerFile=0\r\nMaxTotalMB=-3\r\n", 20, 500 * kMiB},
        {"[Backups]\r\nMaxPerFile=many\r\nMaxTotalMB=1.5\r\n", 20, 500 * kMiB},
        {"[Backups]\r\nMaxPerFile=99999999999\r\nMaxTotalMB=99999999999999\r\n", 1'000'000, (qint64(1) << 30) * kMiB},
    };
    const QString settings = file(kSettingsFileName);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.settings.toStdString());
        QFile::remove(settings);
        if (!row.settings.isEmpty()) {
            ASSERT_TRUE(test::WriteFileBytes(settings, row.settings));
        }
        const BackupLimits limits = ReadBackupLimits(settings);
        EXPECT_EQ(limits.perFile, row.perFile);
        EXPECT_EQ(limits.totalBytes, row.totalBytes);
    }
}
