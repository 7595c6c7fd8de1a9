#include "shared/temp_folder.h"

#include "shared/picture_banks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/gtest_qt.h"

#include <gtest/gtest.h>

#include <vector>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace varkel;

namespace {

void touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

}  // namespace

#ifndef Q_OS_WIN
namespace {

// What stands at a folder's place before the program looks: its own folder, or
// what another user may have put there first (tests do not run as two users, so
// another's folder is one with other rights, or a link).
enum class Made { Nothing, PrivateFolder, OpenFolder, LinkToPrivateFolder, PlainFile, DanglingLink };

void make(const QString& path, Made made)
{
    const QByteArray native = QFile::encodeName(path);
    const QString elsewhere = path + QStringLiteral(".elsewhere");
    switch (made) {
    case Made::Nothing:
        return;
    case Made::PrivateFolder:
        ASSERT_EQ(::mkdir(native.constData(), 0700), 0);
        return;
    case Made::OpenFolder:
        ASSERT_EQ(::mkdir(native.constData(), 0700), 0);
        ASSERT_EQ(::chmod(native.constData(), 0755), 0);
        return;
    case Made::LinkToPrivateFolder:
        ASSERT_EQ(::mkdir(QFile::encodeName(elsewhere).constData(), 0700), 0);
        ASSERT_TRUE(QFile::link(elsewhere, path));
        return;
    case Made::PlainFile:
        touch(path);
        return;
    case Made::DanglingLink:
        ASSERT_TRUE(QFile::link(elsewhere, path));
        return;
    }
}

// A real folder of this user's that only they may enter.
bool isPrivateFolder(const QString& folder)
{
    const QFileInfo info(QDir::cleanPath(folder));
    const auto own = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    return info.isDir() && !info.isSymLink() && info.ownerId() == ::getuid() &&
           (info.permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser)) == own;
}

}  // namespace

// $XDG_RUNTIME_DIR is taken only as a real folder of the user's alone; anything
// else leaves the choice to the folder under the temporary path.
TEST(PrivateTempFolder, TakesTheRuntimeFolderOnlyWhenItIsTheUsersAlone)
{
    enum class Given { Path, PathWithSeparator, Relative, None };
    struct Row {
        const char* what;
        Given given;
        Made runtime;
        Made inside;  // at runtime/varkel-editor
        bool taken;
    };
    const std::vector<Row> rows = {
        {"a private runtime folder", Given::Path, Made::PrivateFolder, Made::Nothing, true},
        {"with its own folder made before", Given::Path, Made::PrivateFolder, Made::PrivateFolder, true},
        {"given with a trailing separator", Given::PathWithSeparator, Made::PrivateFolder, Made::Nothing, true},
        {"open to others", Given::Path, Made::OpenFolder, Made::Nothing, false},
        {"a link to a private folder", Given::Path, Made::LinkToPrivateFolder, Made::Nothing, false},
        {"a link given with a trailing separator", Given::PathWithSeparator, Made::LinkToPrivateFolder, Made::Nothing,
         false},
        {"a plain file", Given::Path, Made::PlainFile, Made::Nothing, false},
        {"not there", Given::Path, Made::Nothing, Made::Nothing, false},
        {"relative", Given::Relative, Made::PrivateFolder, Made::Nothing, false},
        {"not set", Given::None, Made::Nothing, Made::Nothing, false},
        {"its own folder there open to others", Given::Path, Made::PrivateFolder, Made::OpenFolder, false},
        {"its own folder there a link", Given::Path, Made::PrivateFolder, Made::LinkToPrivateFolder, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir root;
        const QString runtime = root.filePath(QStringLiteral("runtime"));
        const QString temp = root.filePath(QStringLiteral("tmp"));
        ASSERT_TRUE(QDir().mkpath(temp));
        make(runtime, row.runtime);
        make(runtime + QStringLiteral("/varkel-editor"), row.inside);
        const QString given[] = {runtime, runtime + QLatin1Char('/'), QStringLiteral("runtime"), QString()};
        const QString current = QDir::currentPath();
        QDir::setCurrent(root.path());  // where the relative path points at the private folder
        const QString folder = PrivateTempFolder(given[int(row.given)], temp);
        QDir::setCurrent(current);
        const QString expected = row.taken ? runtime + QStringLiteral("/varkel-editor/")
                                           : temp + QStringLiteral("/varkel-editor-%1/").arg(::getuid());
        EXPECT_EQ(folder, expected);
        EXPECT_TRUE(isPrivateFolder(folder));
        EXPECT_EQ(PrivateTempFolder(given[int(row.given)], temp), folder);
    }
}

// The folder under the temporary path is the user's own only when the program
// made it so; what somebody else put in its place is refused and left alone.
TEST(PrivateTempFolder, RefusesWhatStandsInItsPlaceUnderTheTemporaryPath)
{
    struct Row {
        const char* what;
        Made made;
        bool taken;
    };
    const std::vector<Row> rows = {
        {"nothing yet: made", Made::Nothing, true},
        {"made before", Made::PrivateFolder, true},
        {"a folder open to others", Made::OpenFolder, false},
        {"a link to a private folder", Made::LinkToPrivateFolder, false},
        {"a plain file", Made::PlainFile, false},
        {"a link to nothing", Made::DanglingLink, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir temp;
        const QString place = temp.filePath(QStringLiteral("varkel-editor-%1").arg(::getuid()));
        make(place, row.made);
        const QString folder = PrivateTempFolder(QString(), temp.path());
        if (row.taken) {
            EXPECT_EQ(folder, place + QLatin1Char('/'));
            EXPECT_TRUE(isPrivateFolder(folder));
        } else {
            EXPECT_EQ(folder, QString());
            // Left as it was found: a link's target is neither made nor changed.
            EXPECT_EQ(QFileInfo(place + QStringLiteral(".elsewhere")).exists(), row.made == Made::LinkToPrivateFolder);
            EXPECT_EQ(QDir(place + QStringLiteral(".elsewhere")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                      QStringList());
        }
    }
}
#endif

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
