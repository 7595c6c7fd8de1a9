#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "shared/file_store.h"
#include "shared/game_folder.h"
#include "shared/ini_file.h"
#include "shared/picture_banks.h"
#include "shared/recent_files.h"
#include "support/failing_file_io.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <optional>
#include <utility>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <sys/types.h>
#endif

using namespace varkel;
using test::FailingFileIo;

namespace {

QByteArray contents(const QString& path)
{
    return test::FileBytes(path);
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    ASSERT_TRUE(test::WriteFileBytes(path, bytes)) << path.toStdString();
}

// Some bytes that differ from position to position, so a shifted or cut copy shows.
QByteArray pattern(qsizetype size, int seed)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + seed * 7 + i / 251) & 0xFF);
    return bytes;
}

// Where a sweep fails a run that made `calls`: each call after none of its bytes
// and, for a read or write of more than one byte, after half of them.
std::vector<std::pair<int, qint64>> failurePoints(const std::vector<FailingFileIo::Call>& calls)
{
    std::vector<std::pair<int, qint64>> points;
    for (int i = 0; i < int(calls.size()); ++i) {
        points.emplace_back(i, 0);
        if (calls[i].size > 1)
            points.emplace_back(i, calls[i].size / 2);
    }
    return points;
}

class FileStoreTest : public ::testing::Test {
protected:
    QString file(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }
    QStringList folderEntries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir;
    QTemporaryDir backups;
};

}  // namespace

#ifndef Q_OS_WIN
// A pipe, a device, a folder or a dangling link must never be opened in a way
// that blocks or reads without end: each is reported like a missing file.
TEST_F(FileStoreTest, OnlyRegularFilesAreRead)
{
    struct Row {
        const char* what;
        std::function<void(const QString&)> make;
    };
    const std::vector<Row> rows = {
        {"missing", [](const QString&) {}},
        {"pipe", [](const QString& p) { ASSERT_EQ(::mkfifo(QFile::encodeName(p).constData(), 0600), 0); }},
        {"folder", [](const QString& p) { ASSERT_TRUE(QDir().mkpath(p)); }},
        {"dangling link", [](const QString& p) { ASSERT_TRUE(QFile::link(p + ".gone", p)); }},
        {"link to a device", [](const QString& p) { ASSERT_TRUE(QFile::link("/dev/zero", p)); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QString path = file(QStringLiteral("d_sce.vk.") + QString::fromLatin1(row.what).replace(' ', '_'));
        row.make(path);
        FileStore store(backups.path());
        RuntimeError error;
        EXPECT_FALSE(store.read(path, 134'024, &error));
        EXPECT_TRUE(error.isFileNotFound()) << error.message().toStdString();

        SaveGame game;
        EXPECT_EQ(game.openAtStartup(store, path), SaveGame::Refusal::Missing);
        EXPECT_EQ(game.openWhole(store, path, save::kSlotMinimumSize), SaveGame::Refusal::Missing);
        EXPECT_EQ(PictureBanks::load(path).faces, QByteArray(kFaceBankSize, '\0'));
        EXPECT_EQ(ReadIniValue(path, "Varkel", "InstallDir", "dflt"), QStringLiteral("dflt"));
    }
}
#endif

TEST_F(FileStoreTest, ReadsTakeNoMoreThanTheFormatNeeds)
{
    const QString huge = file("svd_00.sav");
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(qint64(3) << 30));  // sparse: costs no disk
    }
    FileStore store(backups.path());
    const auto scenario = store.read(huge, 134'024);
    ASSERT_TRUE(scenario);
    EXPECT_EQ(scenario->size(), 134'024);

    SaveGame game;
    ASSERT_EQ(game.openAtStartup(store, huge), SaveGame::Refusal::None);
    EXPECT_EQ(game.bytes.size(), save::kStartupBufferSize);
    EXPECT_EQ(game.openWhole(store, huge, save::kOpenMinimumSize), SaveGame::Refusal::WrongSize);
    EXPECT_EQ(game.bytes.size(), save::kStartupBufferSize);
}

// A stretch deep in a file is read without what comes before it; a file that
// ends sooner gives what it has, and a failing read gives nothing.
TEST_F(FileStoreTest, StretchesAreReadFromTheirOffset)
{
    const QString path = file("m_msg.vk");
    const QByteArray bytes = pattern(10'000, 5);
    writeBytes(path, bytes);
    struct Row {
        qint64 offset;
        QByteArray expected;
    };
    const std::vector<Row> rows = {
        {0, bytes.left(500)},   {9'000, bytes.mid(9'000, 500)}, {9'800, bytes.mid(9'800)},  // ends inside
        {10'000, QByteArray()},     // ends at the offset
        {12'000, QByteArray()},     // ends before it
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.offset);
        const auto read = ReadFileStretch(path, row.offset, 500);
        ASSERT_TRUE(read);
        EXPECT_EQ(*read, row.expected);
    }
    RuntimeError error;
    EXPECT_FALSE(ReadFileStretch(file("gone.vk"), 0, 10, &error));
    EXPECT_TRUE(error.isFileNotFound());
    FailingFileIo io;
    io.failAt(0, 100);
    EXPECT_FALSE(ReadFileStretch(path, 9'000, 500, &error, io));
    EXPECT_EQ(error.number, RuntimeError::kFileAccess);
}

// A file that claims more bytes than a read gives back is damaged or failing:
// padding it with zeros would later save the zeros over real data.
TEST_F(FileStoreTest, AReadThatStopsEarlyOpensNothing)
{
    const QString path = file("svd_03.sav");
    writeBytes(path, pattern(374'600, 3));
    using Open = std::function<SaveGame::Refusal(SaveGame&, FileStore&, RuntimeError*)>;
    const Open opens[] = {
        [&](SaveGame& g, FileStore& s, RuntimeError* e) { return g.openAtStartup(s, path, e); },
        [&](SaveGame& g, FileStore& s, RuntimeError* e) { return g.openWhole(s, path, save::kSlotMinimumSize, e); },
    };
    for (const Open& open : opens) {
        for (const qint64 bytesFirst : {qint64(0), qint64(1000)}) {
            FailingFileIo io;
            io.failAt(1, bytesFirst);  // the second piece of the read
            FileStore store(backups.path());
            store.setIo(&io);
            SaveGame game;
            game.bytes = "before";
            RuntimeError error;
            EXPECT_EQ(open(game, store, &error), SaveGame::Refusal::Unreadable);
            EXPECT_EQ(error.number, RuntimeError::kFileAccess);
            EXPECT_TRUE(error.message().contains(path));
            EXPECT_EQ(game.bytes, QByteArray("before"));
            EXPECT_TRUE(game.path.isEmpty());
        }
    }
}

// Every read, write, flush and rename of a save fails in turn, after none and
// after part of its bytes: the file on disk stays byte-identical, no temporary
// file is left beside it, the error is reported and the game in memory is kept.
TEST_F(FileStoreTest, ASaveThatFailsAnywhereChangesNothing)
{
    struct Row {
        const char* what;
        qint64 existingSize;  // 0: no file yet
        bool saveAs;
    };
    const Row rows[] = {
        {"save over a longer file, keeping its tail", 374'600 + 200'000, false},
        {"save as over another file", 380'000, true},
        {"save as a new file", 0, true},
    };
    int points = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QString source = file("svd_01.sav");
        const QString target = row.saveAs ? file("svd_02.sav") : source;
        writeBytes(source, pattern(374'534, 1));
        QFile::remove(target);
        if (row.existingSize > 0)
            writeBytes(target, pattern(row.existingSize, 2));
        const QByteArray before = contents(target);
        const bool existed = QFileInfo::exists(target);
        const QStringList entries = folderEntries();

        auto attempt = [&](FileIo* io) {
            // A store of its own each time, so that every save also makes its backup.
            FileStore store(QDir(backups.path()).filePath(QString::number(points)));
            SaveGame game;
            EXPECT_EQ(game.openAtStartup(store, source), SaveGame::Refusal::None);
            store.setIo(io);
            game.bytes = pattern(save::kStartupBufferSize, 9);
            const auto error = row.saveAs ? game.saveAs(store, target) : game.save(store);
            return std::make_pair(error, game);
        };

        FailingFileIo recorder;
        ASSERT_FALSE(attempt(&recorder).first);  // a plain run, to learn every call it makes
        const std::vector<FailingFileIo::Call> calls = recorder.calls;
        writeBytes(source, pattern(374'534, 1));
        QFile::remove(target);
        if (existed)
            writeBytes(target, before);

        for (const auto& [call, cut] : failurePoints(calls)) {
            SCOPED_TRACE(testing::Message() << "call " << call << " after " << cut << " bytes");
            FailingFileIo io;
            io.failAt(call, cut);
            const auto [error, game] = attempt(&io);
            ++points;
            ASSERT_TRUE(error);
            EXPECT_FALSE(error->message().isEmpty());
            EXPECT_EQ(QFileInfo::exists(target), existed);
            EXPECT_EQ(contents(target), before);
            EXPECT_EQ(folderEntries(), entries);
            EXPECT_EQ(game.bytes, pattern(save::kStartupBufferSize, 9));
            EXPECT_EQ(game.path, source);
        }
    }
    std::cout << "failure points tried: " << points << '\n';
}

// The same sweep over the settings file: whichever read, write, flush or rename
// fails, the game folder and the recent-files list on disk stay as they were
// (or absent), nothing is left beside them, and the caller gets the failure.
TEST_F(FileStoreTest, ASettingsWriteThatFailsAnywhereChangesNothing)
{
    using Write = std::function<std::optional<RuntimeError>(const QString& settings, FileIo& io)>;
    const Write gameFolder = [](const QString& settings, FileIo& io) {
        return WriteIniValue(settings, kSettingsSection, kSettingsKey, QStringLiteral("/games/varkel/"), io);
    };
    const Write recentFile = [this](const QString& settings, FileIo& io) {
        return AddRecentFile(settings, file("a.sav"), io);
    };
    const QByteArray existing = "; kept\r\n[Varkel]\r\nInstallDir=C:\\Varkel\\\r\n[RecentFiles]\r\n"
                                "File1=/g/b.sav\r\nFile2=/g/c.sav\r\n";
    // Larger than one piece of reading and writing.
    const QByteArray large = QByteArray("; ") + pattern(200'000, 3).toHex() + "\r\n" + existing;
    struct Row {
        const char* what;
        QByteArray before;  // empty: no settings file yet
        Write write;
    };
    const Row rows[] = {
        {"the game folder over a settings file", existing, gameFolder},
        {"the game folder into a new settings file", QByteArray(), gameFolder},
        {"the game folder over a large settings file", large, gameFolder},
        {"a recent file over the list", existing, recentFile},
        {"a recent file into a new settings file", QByteArray(), recentFile},
    };
    int points = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QString settings = file(kSettingsFileName);
        auto restore = [&] {
            QFile::remove(settings);
            if (!row.before.isEmpty())
                writeBytes(settings, row.before);
        };
        restore();
        const QStringList entries = folderEntries();

        FailingFileIo recorder;
        ASSERT_FALSE(row.write(settings, recorder));  // a plain run, to learn every call it makes
        ASSERT_NE(contents(settings), row.before);
        const std::vector<FailingFileIo::Call> calls = recorder.calls;
        restore();

        for (const auto& [call, cut] : failurePoints(calls)) {
            SCOPED_TRACE(testing::Message() << "call " << call << " after " << cut << " bytes");
            FailingFileIo io;
            io.failAt(call, cut);
            const auto error = row.write(settings, io);
            ++points;
            ASSERT_TRUE(error);
            EXPECT_EQ(error->number, RuntimeError::kFileAccess);
            EXPECT_EQ(error->subject, settings);
            EXPECT_EQ(QFileInfo::exists(settings), !row.before.isEmpty());
            EXPECT_EQ(contents(settings), row.before);
            EXPECT_EQ(folderEntries(), entries);
        }
    }
    std::cout << "failure points tried: " << points << '\n';
}

#ifndef Q_OS_WIN
// Backups hold the user's games: private whatever the umask. A file written by
// Save as looks like the file it replaces, or like any new file of the user's.
TEST_F(FileStoreTest, PermissionsOfBackupsAndWrittenFiles)
{
    struct Row {
        mode_t umask;
        mode_t existing;  // 0: the target is new
        mode_t expected;
    };
    const Row rows[] = {{0, 0, 0666}, {022, 0, 0644}, {0077, 0640, 0640}, {0, 0604, 0604}};
    const QString source = file("svd_01.sav");
    const QString target = file("svd_02.sav");
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << std::oct << "umask " << row.umask << " existing " << row.existing);
        QFile::remove(target);
        if (row.existing) {
            writeBytes(target, "old");
            ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), row.existing), 0);
        }
        writeBytes(source, pattern(374'534, 1));
        const mode_t previous = ::umask(row.umask);
        QTemporaryDir backupRoot;
        FileStore store(backupRoot.filePath("backups"));
        SaveGame game;
        ASSERT_EQ(game.openAtStartup(store, source), SaveGame::Refusal::None);
        const auto saved = game.save(store);
        const auto savedAs = game.saveAs(store, target);
        ::umask(previous);
        ASSERT_FALSE(saved);
        ASSERT_FALSE(savedAs);

        struct stat st{};
        ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, row.expected);
        ASSERT_EQ(::stat(QFile::encodeName(store.backupFolder()).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        for (const QString& original : {source, target}) {
            if (store.backupOf(original).isEmpty())
                continue;
            ASSERT_EQ(::stat(QFile::encodeName(store.backupOf(original)).constData(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, 0600u);
        }
    }
}
#endif

// The game may write a save while the editor has it open: the store tells a real
// change (other size, or other bytes under a new time) from a mere touch, and a
// file that is gone from one that changed.
TEST_F(FileStoreTest, ChangesByAnotherProgramAreSeen)
{
    using State = FileStore::DiskState;
    struct Row {
        const char* what;
        std::function<void(const QString&)> change;
        State state;
    };
    const QDateTime later = QDateTime::currentDateTime().addSecs(60);
    auto touch = [later](const QString& p) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(later, QFileDevice::FileModificationTime));
    };
    const std::vector<Row> rows = {
        {"nothing", [](const QString&) {}, State::AsSeen},
        {"only its time", touch, State::AsSeen},
        {"same size, other bytes",
         [&](const QString& p) {
             writeBytes(p, pattern(374'600, 5));
             touch(p);
         },
         State::Changed},
        {"another size", [&](const QString& p) { writeBytes(p, pattern(374'601, 4)); }, State::Changed},
        {"removed", [](const QString& p) { QFile::remove(p); }, State::Gone},
        {"moved away", [](const QString& p) { QFile::rename(p, p + ".moved"); }, State::Gone},
        {"a folder in its place",
         [](const QString& p) {
             QFile::remove(p);
             QDir().mkpath(p);
         },
         State::Changed},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QString path = file(QStringLiteral("svd_0%1.sav").arg(&row - rows.data()));
        writeBytes(path, pattern(374'600, 4));
        FileStore store(backups.path());
        EXPECT_EQ(store.diskState(path), State::AsSeen);  // not read yet: nothing to compare
        SaveGame game;
        ASSERT_EQ(game.openAtStartup(store, path), SaveGame::Refusal::None);
        row.change(path);
        EXPECT_EQ(store.diskState(path), row.state);
        EXPECT_EQ(store.changedOnDisk(path), row.state != State::AsSeen);
        if (row.state != State::Changed) {
            // Our own save is not an outside change, and it puts a file that was gone back.
            ASSERT_FALSE(game.save(store));
            EXPECT_EQ(store.diskState(path), State::AsSeen);
            const QByteArray written = contents(path);
            EXPECT_EQ(written.left(game.bytes.size()), game.bytes);
            if (row.state == State::Gone) {
                EXPECT_EQ(written.size(), game.bytes.size());
            }
        }
    }
}
