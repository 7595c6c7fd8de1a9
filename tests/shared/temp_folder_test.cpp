#include "shared/temp_folder.h"

#include "shared/picture_banks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/gtest_qt.h"

#include <gtest/gtest.h>

using namespace varkel;

namespace {

void touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

}  // namespace

TEST(PrivateTempFolder, IsAFolderOnlyThisUserCanEnter)
{
    const QString folder = PrivateTempFolder();
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_TRUE(folder.endsWith(QDir::separator()));
    const QFileInfo info(folder);
    EXPECT_TRUE(info.isDir());
    EXPECT_EQ(info.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                                    QFile::WriteOther | QFile::ExeOther),
              QFile::Permissions());
    EXPECT_EQ(PrivateTempFolder(), folder);
}

TEST(DeleteTemporaryBitmaps, RemovesBothBitmapsAndToleratesTheirAbsence)
{
    QTemporaryDir dir;
    const QString temp = dir.path() + QLatin1Char('/');
    touch(temp + "tsmall.bmp");
    touch(temp + "tbaowu.bmp");
    touch(temp + "other.bmp");
    DeleteTemporaryBitmaps(temp);
    EXPECT_FALSE(QFile::exists(temp + "tsmall.bmp"));
    EXPECT_FALSE(QFile::exists(temp + "tbaowu.bmp"));
    EXPECT_TRUE(QFile::exists(temp + "other.bmp"));

    touch(temp + kTreasureBitmapName);
    DeleteTemporaryBitmaps(temp);
    EXPECT_FALSE(QFile::exists(temp + kTreasureBitmapName));
    DeleteTemporaryBitmaps(temp);
    DeleteTemporaryBitmaps(QString());
    EXPECT_TRUE(QFile::exists(temp + "other.bmp"));
}

TEST(LockSingleInstance, ASecondLockFailsWhileTheFirstIsHeld)
{
    QTemporaryDir dir;
    const QString temp = dir.path() + QLatin1Char('/');
    auto first = LockSingleInstance(temp);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(LockSingleInstance(temp), nullptr);
    first.reset();
    EXPECT_NE(LockSingleInstance(temp), nullptr);
}

TEST(LockSingleInstance, TakesOverTheLockOfAProcessThatIsGone)
{
    QTemporaryDir dir;
    const QString temp = dir.path() + QLatin1Char('/');
    {
        auto crashed = LockSingleInstance(temp);
        ASSERT_NE(crashed, nullptr);
        // Leave the lock file behind as a crash would, naming a process that does not exist.
        QFile lockFile(temp + "varkel-editor.lock");
        ASSERT_TRUE(lockFile.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = lockFile.readAll().split('\n');
        lockFile.close();
        lines[0] = "2147483646";
        crashed->unlock();
        ASSERT_TRUE(lockFile.open(QIODevice::WriteOnly));
        lockFile.write(lines.join('\n'));
    }
    ASSERT_TRUE(QFile::exists(temp + "varkel-editor.lock"));
    EXPECT_NE(LockSingleInstance(temp), nullptr);
}
