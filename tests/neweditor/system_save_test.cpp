#include "demo_folder/demo_game_files.h"
#include "neweditor/biography_file.h"
#include "neweditor/system_save.h"
#include "support/failing_file_io.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace varkel;
using test::FailingFileIo;
using test::FileBytes;
using test::WriteFileBytes;

namespace {

class SystemSaveTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QTemporaryDir backups;
    FileStore store{backups.path()};

    QString file(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }
    QString folder() const { return dir.path() + QLatin1Char('/'); }

    static QByteArray pattern(qint64 size, int seed)
    {
        QByteArray b(size, '\0');
        for (qint64 i = 0; i < size; ++i)
            b[i] = static_cast<char>((i * 7 + seed) & 0xFF);
        return b;
    }
    // The demo system save at `path`, opened.
    SystemSave openDemo(const QString& path)
    {
        EXPECT_TRUE(WriteFileBytes(path, demo::MakeSystemSave()));
        SystemSave sys;
        EXPECT_EQ(sys.open(store, path), SystemSave::Refusal::None);
        return sys;
    }
};

}  // namespace

TEST_F(SystemSaveTest, OpenTakesTheWholeFileOfAllowedSizes)
{
    struct Row {
        qint64 size;  // -1: no file
        SystemSave::Refusal refusal;
    };
    const std::vector<Row> rows = {
        {14'840, SystemSave::Refusal::WrongSize},
        {14'841, SystemSave::Refusal::None},
        {14'848, SystemSave::Refusal::None},
        {system_save::kMaximumSize, SystemSave::Refusal::None},
        {system_save::kMaximumSize + 1, SystemSave::Refusal::WrongSize},
        {0, SystemSave::Refusal::WrongSize},
        {-1, SystemSave::Refusal::Missing},
    };
    const QString kept = file("kept.sav");
    ASSERT_TRUE(WriteFileBytes(kept, pattern(15'000, 1)));
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "size " << row.size);
        const QString path = file("Svd_sys.sav");
        QFile::remove(path);
        if (row.size >= 0) {
            ASSERT_TRUE(WriteFileBytes(path, pattern(row.size, 2)));
        }
        SystemSave sys;
        ASSERT_EQ(sys.open(store, kept), SystemSave::Refusal::None);
        RuntimeError error;
        EXPECT_EQ(sys.open(store, path, &error), row.refusal);
        if (row.refusal == SystemSave::Refusal::None) {
            EXPECT_EQ(sys.bytes, pattern(row.size, 2));
            EXPECT_EQ(sys.path, path);
        } else {
            EXPECT_EQ(sys.bytes, pattern(15'000, 1));  // a refused open changes nothing
            EXPECT_EQ(sys.path, kept);
        }
        if (row.refusal == SystemSave::Refusal::Missing) {
            EXPECT_TRUE(error.isFileNotFound());
        }
    }
}

TEST_F(SystemSaveTest, RecordsAreTheNewOfficersAndEverythingElseIsCarried)
{
    const QString path = file("Svd_sys.sav");
    const QByteArray original = demo::MakeSystemSave();
    SystemSave sys = openDemo(path);
    EXPECT_EQ(SystemSave::officerNumber(0), 660);
    EXPECT_EQ(SystemSave::officerNumber(99), 759);
    EXPECT_FALSE(sys.officerName(0).isEmpty());
    EXPECT_TRUE(sys.officerName(98).isEmpty());

    struct Row {
        int record;
        int birthYear;
    };
    const std::vector<Row> rows = {{0, 180}, {50, 120}, {99, 355}};
    for (const Row& row : rows) {
        MemberRecord m = sys.officer(row.record);
        m.person.birthYear = row.birthYear;
        sys.setOfficer(row.record, m);
    }
    ASSERT_FALSE(sys.save(store));
    const QByteArray onDisk = FileBytes(path);
    ASSERT_EQ(onDisk.size(), original.size());
    QByteArray expected = original;
    for (const Row& row : rows)
        expected[system_save::record(row.record) + 36] = static_cast<char>(row.birthYear - 100);
    EXPECT_EQ(onDisk, expected);
    EXPECT_EQ(SystemSave::defaultPath(folder()), path);
}

TEST_F(SystemSaveTest, SaveAsWritesExactlyTheBufferAndMakesThePathCurrent)
{
    struct Row {
        const char* what;
        qint64 existing;  // -1: a new file
    };
    const std::vector<Row> rows = {{"over a longer file", 20'000}, {"over a shorter file", 100}, {"a new file", -1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SystemSave sys = openDemo(file("Svd_sys.sav"));
        const QString target = file("Svd_sys2.sav");
        QFile::remove(target);
        if (row.existing >= 0) {
            ASSERT_TRUE(WriteFileBytes(target, pattern(row.existing, 3)));
        }
        sys.bytes[30] = 'x';
        ASSERT_FALSE(sys.saveAs(store, target));
        EXPECT_EQ(FileBytes(target), sys.bytes);
        EXPECT_EQ(sys.path, target);
        sys.bytes[31] = 'y';
        ASSERT_FALSE(sys.save(store));  // Save now goes to the new path
        EXPECT_EQ(FileBytes(target), sys.bytes);
        EXPECT_EQ(FileBytes(file("Svd_sys.sav")), demo::MakeSystemSave());
    }
}

TEST_F(SystemSaveTest, AFailedWriteLeavesTheFileAndThePath)
{
    struct Row {
        const char* what;
        bool saveAs;
    };
    const std::vector<Row> rows = {{"save", false}, {"save as over another file", true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QString source = file("Svd_sys.sav");
        const QString target = row.saveAs ? file("other.sav") : source;
        int stores = 0;
        auto attempt = [&](FileIo* io) {
            // A store of its own, so that every attempt also makes its backup.
            FileStore own(QDir(backups.path()).filePath(QStringLiteral("%1-%2").arg(row.saveAs).arg(++stores)));
            WriteFileBytes(source, demo::MakeSystemSave());
            if (row.saveAs)
                WriteFileBytes(target, pattern(16'000, 4));
            SystemSave sys;
            EXPECT_EQ(sys.open(own, source), SystemSave::Refusal::None);
            own.setIo(io);
            sys.bytes.fill('n');
            const auto error = row.saveAs ? sys.saveAs(own, target) : sys.save(own);
            return std::make_pair(error, sys.path);
        };
        FailingFileIo recorder;
        ASSERT_FALSE(attempt(&recorder).first);
        const int calls = int(recorder.calls.size());
        ASSERT_GT(calls, 2);
        for (int i = 0; i < calls; ++i) {
            SCOPED_TRACE(testing::Message() << "call " << i);
            FailingFileIo io;
            io.failAt(i);
            const auto [error, path] = attempt(&io);
            ASSERT_TRUE(error);
            EXPECT_EQ(path, source);
            EXPECT_EQ(FileBytes(target), row.saveAs ? pattern(16'000, 4) : demo::MakeSystemSave());
        }
    }
}

TEST_F(SystemSaveTest, TheBiographyFileIsReadWholeAndSavedToTheGameFolder)
{
    const QString path = file("RDText.vk");
    const QByteArray original = demo::MakeBiographyFile();
    ASSERT_TRUE(WriteFileBytes(path, original));
    BiographyFile bios;
    ASSERT_FALSE(bios.open(store, folder()));
    EXPECT_EQ(bios.path, path);
    EXPECT_EQ(bios.bytes, original);
    EXPECT_FALSE(bios.biography(1).isEmpty());

    struct Row {
        int record;
        QString text;
        std::optional<BiographyProblem> problem;
    };
    const std::vector<Row> rows = {
        {1, QStringLiteral("張飛"), std::nullopt},
        {2, QStringLiteral("ab"), BiographyProblem::SingleByteCharacter},
        {99, QString(), std::nullopt},
    };
    QByteArray expected = original;
    for (const Row& row : rows) {
        EXPECT_EQ(bios.setBiography(row.record, row.text), row.problem) << row.record;
        if (!row.problem) {
            QByteArray rec(biography::kRecordSize, '\0');
            const qsizetype used = 2 * row.text.size();
            rec.replace(0, used, QByteArray("\xB1\x69\xAD\xB8").left(used));
            expected.replace(system_save::biographyRecord(row.record), biography::kRecordSize, rec);
        }
    }
    ASSERT_FALSE(bios.save(store));
    EXPECT_EQ(FileBytes(path), expected);
}

TEST_F(SystemSaveTest, ABiographyFileThatCannotBeReadIsAnError)
{
    struct Row {
        const char* what;
        qint64 size;  // -1: missing; -2: a folder
        int number;
    };
    const std::vector<Row> rows = {
        {"missing", -1, RuntimeError::kFileNotFound},
        {"a folder", -2, RuntimeError::kFileNotFound},
        {"too large", system_save::kBiographyFileMaximumSize + 1, RuntimeError::kFileAccess},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir game;
        const QString path = game.path() + QStringLiteral("/RDText.vk");
        if (row.size == -2) {
            ASSERT_TRUE(QDir().mkpath(path));
        } else if (row.size >= 0) {
            ASSERT_TRUE(WriteFileBytes(path, QByteArray(row.size, 'a')));
        }
        BiographyFile bios;
        bios.bytes = "kept";
        const auto error = bios.open(store, game.path() + QLatin1Char('/'));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number, row.number);
        EXPECT_FALSE(error->message().isEmpty());
        EXPECT_EQ(bios.bytes, QByteArray("kept"));
    }
}
