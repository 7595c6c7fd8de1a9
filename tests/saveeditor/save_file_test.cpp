#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "shared/backup_index.h"
#include "support/file_bytes.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace varkel;

namespace {

class SaveFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QTemporaryDir backups;
    FileStore store{backups.path()};

    QString folder() const { return dir.path() + QLatin1Char('/'); }

    QString writeSlot(int k, qint64 size, char fill, const QDateTime& time)
    {
        const QString path = folder() + QStringLiteral("svd_0%1.sav").arg(k);
        EXPECT_TRUE(test::WriteFileBytes(path, QByteArray(size, fill)));
        QFile f(path);
        f.open(QIODevice::ReadWrite);
        f.setFileTime(time, QFileDevice::FileModificationTime);
        return path;
    }
    const QDateTime t0 = QDateTime(QDate(2026, 1, 1), QTime(12, 0));
};

}  // namespace

TEST_F(SaveFileTest, NewestSlotSkipsSmallFilesAndKeepsTheLowerDigitOnTies)
{
    EXPECT_TRUE(SaveGame::newestSlot(folder()).isEmpty());
    writeSlot(1, 374'534, 'a', t0);
    writeSlot(3, 374'534, 'b', t0);  // same time: slot 1 stays
    writeSlot(5, 374'000, 'c', t0.addDays(5));  // too small
    EXPECT_EQ(SaveGame::newestSlot(folder()), folder() + "svd_01.sav");
    writeSlot(7, 374'534, 'e', t0.addMSecs(400));  // the same second as slot 1: a tie
    EXPECT_EQ(SaveGame::newestSlot(folder()), folder() + "svd_01.sav");
    writeSlot(6, 374'001, 'd', t0.addSecs(1));
    EXPECT_EQ(SaveGame::newestSlot(folder()), folder() + "svd_06.sav");
}

TEST_F(SaveFileTest, SlotOfIgnoresLetterCaseAndOtherFolders)
{
    EXPECT_EQ(SaveGame::slotOf(folder() + "SVD_04.SAV", folder()), 4);
    EXPECT_EQ(SaveGame::slotOf(folder() + "x/../svd_04.sav", dir.path()), 4);
    EXPECT_EQ(SaveGame::slotOf(dir.path() + "/x/svd_04.sav", folder()), -1);
    EXPECT_EQ(SaveGame::slotOf(folder() + "svd_09.sav", folder()), -1);
}

TEST_F(SaveFileTest, OpeningSizesTheBufferByHowTheFileWasChosen)
{
    const QString small = writeSlot(0, 374'520, 'x', t0);
    const QString big = writeSlot(1, 374'600, 'y', t0);
    SaveGame game;
    ASSERT_EQ(game.openAtStartup(store, big), SaveGame::Refusal::None);
    EXPECT_EQ(game.bytes.size(), save::kStartupBufferSize);
    ASSERT_EQ(game.openAtStartup(store, small), SaveGame::Refusal::None);
    EXPECT_EQ(game.bytes.size(), save::kStartupBufferSize);
    EXPECT_EQ(game.bytes.at(374'519), 'x');
    EXPECT_EQ(game.bytes.at(374'520), '\0');

    EXPECT_EQ(game.openWhole(store, small, save::kOpenMinimumSize), SaveGame::Refusal::WrongSize);
    EXPECT_EQ(game.path, small);  // a refused open changes nothing
    EXPECT_EQ(game.bytes.size(), save::kStartupBufferSize);
    EXPECT_EQ(game.openWhole(store, small, save::kSlotMinimumSize), SaveGame::Refusal::None);
    EXPECT_EQ(game.bytes.size(), 374'520);
    EXPECT_EQ(game.openWhole(store, folder() + "svd_07.sav", save::kSlotMinimumSize), SaveGame::Refusal::Missing);
    EXPECT_EQ(game.openWhole(store, big, save::kOpenMinimumSize), SaveGame::Refusal::None);
    EXPECT_EQ(game.bytes.size(), 374'600);
}

TEST_F(SaveFileTest, SaveKeepsTheTailOfALongerFileAndGrowsAShorterOne)
{
    const QString big = writeSlot(1, 374'600, 'y', t0);
    SaveGame game;
    game.openAtStartup(store, big);
    game.bytes.fill('z');
    ASSERT_FALSE(game.save(store));
    const QByteArray onDisk = test::FileBytes(big);
    ASSERT_EQ(onDisk.size(), 374'600);
    EXPECT_EQ(onDisk.left(374'534), QByteArray(374'534, 'z'));
    EXPECT_EQ(onDisk.mid(374'534), QByteArray(66, 'y'));

    const QString small = writeSlot(2, 374'100, 's', t0);
    game.openAtStartup(store, small);
    ASSERT_FALSE(game.save(store));
    const QByteArray grown = test::FileBytes(small);
    ASSERT_EQ(grown.size(), 374'534);
    EXPECT_EQ(grown.mid(374'100), QByteArray(434, '\0'));
}

TEST_F(SaveFileTest, SaveAsOverALongerFileLeavesExactlyTheBuffer)
{
    const QString big = writeSlot(1, 400'000, 'y', t0);
    SaveGame game;
    game.openAtStartup(store, writeSlot(0, 374'534, 'a', t0));
    ASSERT_FALSE(game.saveAs(store, big));
    EXPECT_EQ(test::FileBytes(big), QByteArray(374'534, 'a'));
    EXPECT_EQ(game.path, big);
}

TEST_F(SaveFileTest, TheFirstWriteOfARunBacksUpTheOriginalOnce)
{
    const QString path = writeSlot(1, 374'534, 'o', t0);
    SaveGame game;
    game.openAtStartup(store, path);
    game.bytes.fill('1');
    ASSERT_FALSE(game.save(store));
    const QString backup = store.backupOf(path);
    ASSERT_FALSE(backup.isEmpty());
    EXPECT_FALSE(backup.startsWith(folder()));
    game.bytes.fill('2');
    ASSERT_FALSE(game.save(store));
    EXPECT_EQ(store.backupOf(path), backup);
    EXPECT_EQ(test::FileBytes(backup), QByteArray(374'534, 'o'));
    // One backup, and the index that records it.
    EXPECT_EQ(QDir(backups.path()).entryList(QDir::Files),
              (QStringList{BackupIndex::kIndexName, QFileInfo(backup).fileName()}));
}

TEST_F(SaveFileTest, AFailedWriteIsReportedAndKeepsThePathAndTheFile)
{
    const QString path = writeSlot(1, 374'534, 'o', t0);
    SaveGame game;
    game.openAtStartup(store, path);
    game.bytes.fill('n');
    const QString blocked = folder() + "occupied";
    ASSERT_TRUE(QDir().mkpath(blocked));  // a folder where the file should go
    const auto error = game.saveAs(store, blocked);
    ASSERT_TRUE(error);
    EXPECT_FALSE(error->message().isEmpty());
    EXPECT_EQ(game.path, path);
    EXPECT_EQ(test::FileBytes(path), QByteArray(374'534, 'o'));
}
