#include "shared/recent_files.h"

#include "shared/game_folder.h"
#include "shared/ini_file.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace varkel;

namespace {

class RecentFilesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    // A fresh folder per row, so rows do not see each other's files.
    QString rowFolder(const char* what)
    {
        const QString folder = dir.filePath(QString::fromLatin1(what).replace(QLatin1Char(' '), QLatin1Char('_')));
        EXPECT_TRUE(QDir().mkpath(folder));
        return folder + QLatin1Char('/');
    }

    static void touch(const QString& path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    static void writeSettings(const QString& path, const QByteArray& bytes)
    {
        ASSERT_TRUE(test::WriteFileBytes(path, bytes));
    }

    QTemporaryDir dir;
};

}  // namespace

TEST_F(RecentFilesTest, AddingKeepsTheNewestFirstOnceEachAndAtMostFive)
{
    struct Row {
        const char* what;
        QStringList added;     // names in the row's folder, in the order opened
        QStringList expected;  // newest first
    };
    std::vector<Row> rows = {
        {"one file", {"a.sav"}, {"a.sav"}},
        {"newest first", {"a.sav", "b.sav", "c.sav"}, {"c.sav", "b.sav", "a.sav"}},
        {"opened again moves to the front", {"a.sav", "b.sav", "c.sav", "a.sav"}, {"a.sav", "c.sav", "b.sav"}},
        {"the newest again changes nothing", {"a.sav", "b.sav", "b.sav"}, {"b.sav", "a.sav"}},
        {"same file through a dotted path", {"a.sav", "sub/../a.sav"}, {"a.sav"}},
        {"the oldest beyond five drops off",
         {"1.sav", "2.sav", "3.sav", "4.sav", "5.sav", "6.sav", "7.sav"},
         {"7.sav", "6.sav", "5.sav", "4.sav", "3.sav"}},
        {"an old one brought back within five",
         {"1.sav", "2.sav", "3.sav", "4.sav", "5.sav", "1.sav"},
         {"1.sav", "5.sav", "4.sav", "3.sav", "2.sav"}},
#ifdef Q_OS_WIN
        {"names differing in case are one file", {"a.sav", "A.SAV"}, {"A.SAV"}},
#else
        {"names differing in case are two files", {"a.sav", "A.sav"}, {"A.sav", "a.sav"}},
        {"same file through a link", {"a.sav", "link.sav"}, {"link.sav"}},
#endif
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QString folder = rowFolder(row.what);
        ASSERT_TRUE(QDir().mkpath(folder + "sub"));
        for (const char* name : {"a.sav", "A.sav", "1.sav", "2.sav", "3.sav", "4.sav", "5.sav", "6.sav", "7.sav"})
            touch(folder + name);
#ifndef Q_OS_WIN
        ASSERT_TRUE(QFile::link(folder + "a.sav", folder + "link.sav"));
#endif
        const QString settings = folder + kSettingsFileName;
        for (const QString& name : row.added)
            EXPECT_EQ(AddRecentFile(settings, folder + name), std::nullopt) << name.toStdString();

        QStringList expected;
        for (const QString& name : row.expected)
            expected << folder + name;
        EXPECT_EQ(ReadRecentFiles(settings), expected);
    }
}

TEST_F(RecentFilesTest, EveryOtherLineOfTheSettingsFileIsKept)
{
    struct Row {
        const char* what;
        QByteArray before;  // "%A" and "%B" stand for the paths of a.sav and b.sav
        QByteArray after;   // after a.sav is opened
    };
    const std::vector<Row> rows = {
        {"no settings file yet", "", "[RecentFiles]\r\nFile1=%A\r\n"},
        {"other sections", "; settings\r\n[Varkel]\r\nInstallDir=C:\\Varkel\\\r\n",
         "; settings\r\n[Varkel]\r\nInstallDir=C:\\Varkel\\\r\n[RecentFiles]\r\nFile1=%A\r\n"},
        {"line ends of the file", "[Varkel]\nInstallDir=/opt/varkel/",
         "[Varkel]\nInstallDir=/opt/varkel/\n[RecentFiles]\nFile1=%A\n"},
        {"lines of its own section and a later section",
         "[recentfiles]\r\n; by hand\r\nFile1=%B\r\nShown=1\r\n\r\n[Varkel]\r\nx=1\r\n",
         "[recentfiles]\r\n; by hand\r\nFile1=%A\r\nShown=1\r\nFile2=%B\r\n\r\n[Varkel]\r\nx=1\r\n"},
        {"an entry that could not be read is emptied",
         "[RecentFiles]\r\nFile1=%B\r\nFile2=" + QByteArray(200, 'x') + "\r\n[Varkel]\r\nx=1\r\n",
         "[RecentFiles]\r\nFile1=%A\r\nFile2=%B\r\n[Varkel]\r\nx=1\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QString folder = rowFolder(row.what);
        const QString settings = folder + kSettingsFileName;
        const auto withPaths = [&](QByteArray bytes) {
            return bytes.replace("%A", QDir::toNativeSeparators(folder + "a.sav").toLocal8Bit())
                .replace("%B", QDir::toNativeSeparators(folder + "b.sav").toLocal8Bit());
        };
        if (!row.before.isEmpty())
            writeSettings(settings, withPaths(row.before));
        EXPECT_EQ(AddRecentFile(settings, folder + "a.sav"), std::nullopt);
        EXPECT_EQ(test::FileBytes(settings), withPaths(row.after));
    }
}

TEST_F(RecentFilesTest, APathTheSettingsFileCannotHoldWholeIsNotStored)
{
    const qsizetype base = dir.path().size() + 1;  // the folder and its separator
    struct Row {
        const char* what;
        QString name;
        bool stored;
    };
    const std::vector<Row> rows = {
        {"126 characters", QString(126 - base, QLatin1Char('x')), true},
        {"Chinese name", QStringLiteral("存檔一.sav"), true},
        {"127 characters", QString(127 - base, QLatin1Char('x')), false},
        {"200 characters", QString(200 - base, QLatin1Char('x')), false},
        {"trailing space", QStringLiteral("a.sav "), false},
        {"line break", QStringLiteral("a\nb.sav"), false},
        {"not in the local code page", QStringLiteral("a") + QChar(0xD800) + QStringLiteral(".sav"), false},
    };
    const QString settings = dir.filePath(kSettingsFileName);
    const QString kept = dir.filePath("kept.sav");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QFile::remove(settings);
        ASSERT_EQ(AddRecentFile(settings, kept), std::nullopt);
        const QByteArray before = test::FileBytes(settings);
        const QString path = dir.path() + QLatin1Char('/') + row.name;

        // Not listing a path is no failure of the settings file.
        EXPECT_EQ(AddRecentFile(settings, path), std::nullopt);
        if (row.stored) {
            EXPECT_EQ(ReadRecentFiles(settings), QStringList({path, kept}));
        } else {
            EXPECT_EQ(ReadRecentFiles(settings), QStringList({kept}));
            EXPECT_EQ(test::FileBytes(settings), before);
        }
    }
}

TEST_F(RecentFilesTest, ReadingTakesOnlyEntriesThatReadBackWhole)
{
    struct Row {
        const char* what;
        QByteArray settings;
        QStringList expected;
    };
    const QByteArray cut(127, 'y');
    const std::vector<Row> rows = {
        {"no section", "[Varkel]\r\nInstallDir=C:\\Varkel\\\r\n", {}},
        {"empty slots are skipped",
         "[RecentFiles]\r\nFile1=\r\nFile2=/g/b.sav\r\nFile4=/g/d.sav\r\n",
         {"/g/b.sav", "/g/d.sav"}},
        {"in the order of the keys", "[RecentFiles]\r\nFile3=/g/c.sav\r\nFile1=/g/a.sav\r\n", {"/g/a.sav", "/g/c.sav"}},
        {"a repeated file once",
         "[RecentFiles]\r\nFile1=/g/a.sav\r\nFile2=/g/b.sav\r\nFile3=/g/./a.sav\r\n",
         {"/g/a.sav", "/g/b.sav"}},
        {"a value at the reader's cap may be cut",
         "[RecentFiles]\r\nFile1=/" + cut + "\r\nFile2=/g/b.sav\r\n",
         {"/g/b.sav"}},
        {"keys beyond five", "[RecentFiles]\r\nFile5=/g/e.sav\r\nFile6=/g/f.sav\r\n", {"/g/e.sav"}},
        {"spaces around the value", "[RecentFiles]\r\nFile1 =  /g/a.sav  \r\n", {"/g/a.sav"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QString settings = rowFolder(row.what) + kSettingsFileName;
        writeSettings(settings, row.settings);
        EXPECT_EQ(ReadRecentFiles(settings), row.expected);
    }
    EXPECT_EQ(ReadRecentFiles(dir.filePath("no-such.ini")), QStringList());
}

TEST_F(RecentFilesTest, FilesThatAreGoneAreLeftOutOfTheListingButKept)
{
    struct Row {
        const char* what;
        QStringList present;  // of a.sav, b.sav, c.sav (opened in that order)
        QStringList shown;
    };
    const std::vector<Row> rows = {
        {"all there", {"a.sav", "b.sav", "c.sav"}, {"c.sav", "b.sav", "a.sav"}},
        {"one removed", {"a.sav", "c.sav"}, {"c.sav", "a.sav"}},
        {"all removed", {}, {}},
        {"a folder in its place", {"a.sav", "b.sav", "c.sav/"}, {"b.sav", "a.sav"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QString folder = rowFolder(row.what);
        const QString settings = folder + kSettingsFileName;
        for (const char* name : {"a.sav", "b.sav", "c.sav"})
            ASSERT_EQ(AddRecentFile(settings, folder + name), std::nullopt);
        for (const QString& name : row.present) {
            if (name.endsWith(QLatin1Char('/')))
                ASSERT_TRUE(QDir().mkpath(folder + name));
            else
                touch(folder + name);
        }
        QStringList shown;
        for (const QString& name : row.shown)
            shown << folder + name;
        EXPECT_EQ(ExistingRecentFiles(settings), shown);
        EXPECT_EQ(ReadRecentFiles(settings), QStringList({folder + "c.sav", folder + "b.sav", folder + "a.sav"}));
    }
}

TEST_F(RecentFilesTest, ASettingsFileThatCannotBeWrittenIsReported)
{
    struct Row {
        const char* what;
        QString settings;
    };
    const std::vector<Row> rows = {
        {"its folder is missing", dir.filePath("missing/") + kSettingsFileName},
        {"a folder in its place", dir.filePath("folder.ini")},
    };
    ASSERT_TRUE(QDir().mkpath(dir.filePath("folder.ini")));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto failure = AddRecentFile(row.settings, dir.filePath("a.sav"));
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->number, RuntimeError::kFileAccess);
        EXPECT_EQ(failure->subject, row.settings);
        EXPECT_EQ(ReadRecentFiles(row.settings), QStringList());
    }
}
