#include "shared/game_folder.h"

#include "shared/ini_file.h"
#include "shared/runtime_error.h"
#include "shared/texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "support/failing_file_io.h"
#include "support/file_bytes.h"
#include "support/gtest_qt.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace varkel;

namespace {

class GameFolder : public ::testing::Test {
protected:
    // A folder holding `names` (empty files), with a trailing separator.
    QString makeFolder(const QString& name, const QStringList& names)
    {
        const QString folder = root.filePath(name);
        EXPECT_TRUE(QDir().mkpath(folder));
        for (const QString& file : names) {
            QFile f(folder + QLatin1Char('/') + file);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        }
        return folder;
    }

    QTemporaryDir root;
    QString settings = root.filePath(QStringLiteral("VarkelEditor.ini"));
    ScriptedFileDialogs dialogs;
    ScriptedPrompter prompter;
};

}  // namespace

TEST_F(GameFolder, RequiresTheFiveGameFilesInOrder)
{
    EXPECT_EQ(RequiredGameFiles(), (QStringList{"g_maindy.vk", "svd_sys.sav", "rdtext.vk", "d_sce.vk", "m_msg.vk"}));
}

TEST_F(GameFolder, LooksUpFilesWithoutRegardToCase)
{
    const QString folder = makeFolder("game", {"Svd_sys.sav", "RDText.vk", "G_MAINDY.VK"});
    EXPECT_EQ(GameFilePath(folder, "svd_sys.sav"), folder + "/Svd_sys.sav");
    EXPECT_EQ(GameFilePath(folder + "/", "rdtext.vk"), folder + "/RDText.vk");
    EXPECT_EQ(GameFilePath(folder, "g_maindy.vk"), folder + "/G_MAINDY.VK");
    EXPECT_TRUE(GameFileExists(folder, "RDTEXT.VK"));
    // A missing file keeps the asked-for name, so an error names it.
    EXPECT_EQ(GameFilePath(folder, "m_msg.vk"), folder + "/m_msg.vk");
    EXPECT_FALSE(GameFileExists(folder, "m_msg.vk"));
}

TEST_F(GameFolder, PrefersAnExactMatch)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "a Windows folder cannot hold two names that differ only in case";
#endif
    const QString folder = makeFolder("game", {"d_sce.vk", "D_SCE.VK"});
    EXPECT_EQ(GameFilePath(folder, "D_SCE.VK"), folder + "/D_SCE.VK");
    EXPECT_EQ(GameFilePath(folder, "d_sce.vk"), folder + "/d_sce.vk");
}

TEST_F(GameFolder, AFolderIsNotAGameFile)
{
    const QString folder = makeFolder("game", {});
    ASSERT_TRUE(QDir(folder).mkdir("m_msg.vk"));
    EXPECT_FALSE(GameFileExists(folder, "m_msg.vk"));
}

TEST_F(GameFolder, TrailingSeparatorIsAddedOnce)
{
    EXPECT_EQ(WithTrailingSeparator("/games/varkel"), QStringLiteral("/games/varkel/"));
    EXPECT_EQ(WithTrailingSeparator("/games/varkel/"), QStringLiteral("/games/varkel/"));
    EXPECT_EQ(WithTrailingSeparator("D:\\"), QDir::fromNativeSeparators(QStringLiteral("D:\\")));  // D:/ on Windows
}

TEST_F(GameFolder, CancelGivesAnEmptyFolderAndWritesNothing)
{
    EXPECT_EQ(LocateGameFolder(dialogs, prompter, settings).folder, QString());
    ASSERT_EQ(dialogs.folderPrompts.size(), 1u);
    EXPECT_EQ(dialogs.folderPrompts[0], GetResText(Text::ChooseGameFolder));
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_FALSE(QFile::exists(settings));
}

TEST_F(GameFolder, RefusesAFolderMissingOneFileAndAsksAgain)
{
    QStringList four = RequiredGameFiles();
    four.removeAt(2);
    dialogs.folders = {makeFolder("four", four)};
    EXPECT_EQ(LocateGameFolder(dialogs, prompter, settings).folder, QString());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, GetResText(Text::NotAGameFolder));
    EXPECT_EQ(prompter.shown[0].title, QStringLiteral("Varkel-Error"));
    EXPECT_EQ(prompter.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(dialogs.folderPrompts.size(), 2u);
    EXPECT_FALSE(QFile::exists(settings));
}

TEST_F(GameFolder, AcceptsAValidFolderAndRemembersIt)
{
    const QString bad = makeFolder("bad", {"g_maindy.vk"});
    const QString good = makeFolder("good", {"G_maindy.vk", "Svd_sys.sav", "RDText.vk", "d_sce.vk", "m_msg.vk"});
    dialogs.folders = {bad, good + "/"};
    const QString chosen = LocateGameFolder(dialogs, prompter, settings).folder;
    EXPECT_EQ(chosen, good + "/");
    EXPECT_EQ(prompter.shown.size(), 1u);
    // Kept as the system writes paths: with backslashes on Windows.
    EXPECT_EQ(ReadIniValue(settings, kSettingsSection, kSettingsKey), QDir::toNativeSeparators(good + "/"));
    EXPECT_FALSE(LocateGameFolder(dialogs, prompter, settings).notRemembered);  // cancelled: nothing to keep
    QFile file(settings);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), ("[Varkel]\r\nInstallDir=" + QDir::toNativeSeparators(good + "/") + "\r\n").toUtf8());
}

// A folder the settings file cannot keep still serves this run; the caller learns
// why it was not kept, and the settings file is as it was.
TEST_F(GameFolder, AChosenFolderTheSettingsCannotKeepIsUsedAndSaysWhy)
{
    const QString good = makeFolder("good", RequiredGameFiles());
    const QByteArray before = "[Varkel]\r\nInstallDir=/gone/\r\n";
    struct Row {
        const char* what;
        QString settings;
        int failingCall;  // of the settings write; kNever for none
    };
    const QString folderInItsPlace = root.filePath("folder.ini");
    ASSERT_TRUE(QDir().mkpath(folderInItsPlace));
    const Row rows[] = {
        {"the disk is full", settings, 1},  // the write after the read
        {"the rename fails", settings, 3},
        {"a folder in its place", folderInItsPlace, test::FailingFileIo::kNever},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.settings == settings) {
            ASSERT_TRUE(test::WriteFileBytes(settings, before));
        }
        test::FailingFileIo io;
        io.failAt(row.failingCall, 4);
        dialogs.folders = {good};
        const GameFolderChoice choice = LocateGameFolder(dialogs, prompter, row.settings, io);
        EXPECT_EQ(choice.folder, good + "/");
        ASSERT_TRUE(choice.notRemembered);
        EXPECT_EQ(choice.notRemembered->subject, row.settings);
        if (row.settings == settings) {
            EXPECT_EQ(test::FileBytes(settings), before);
        }
    }
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(GameFolder, ResolveUsesARememberedFolderWithoutCheckingIt)
{
    const QString empty = makeFolder("empty", {});
    ASSERT_EQ(WriteIniValue(settings, kSettingsSection, kSettingsKey, "  " + empty + "/  "), std::nullopt);
    EXPECT_EQ(ResolveGameFolder(settings, dialogs, prompter).folder, empty + "/");
    EXPECT_TRUE(dialogs.folderPrompts.empty());
}

TEST_F(GameFolder, ResolveGivesARememberedFolderItsTrailingSeparator)
{
    const QString empty = makeFolder("empty", {});
    ASSERT_EQ(WriteIniValue(settings, kSettingsSection, kSettingsKey, empty), std::nullopt);
    EXPECT_EQ(ResolveGameFolder(settings, dialogs, prompter).folder, empty + "/");
}

TEST_F(GameFolder, ResolveAsksWhenTheRememberedFolderIsMissing)
{
    ASSERT_EQ(WriteIniValue(settings, kSettingsSection, kSettingsKey, root.filePath("gone/")), std::nullopt);
    const QString good = makeFolder("good", RequiredGameFiles());
    dialogs.folders = {good};
    EXPECT_EQ(ResolveGameFolder(settings, dialogs, prompter).folder, good + "/");
    EXPECT_EQ(dialogs.folderPrompts.size(), 1u);
    // Kept as the system writes paths: with backslashes on Windows.
    EXPECT_EQ(ReadIniValue(settings, kSettingsSection, kSettingsKey), QDir::toNativeSeparators(good + "/"));
}

TEST_F(GameFolder, ResolveWithoutSettingsTriesTheDefaultFolder)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "the default folder there is C:\\Varkel, which a test does not make";
#endif
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", root.path().toUtf8());
    EXPECT_EQ(ResolveGameFolder(settings, dialogs, prompter).folder, QString());
    EXPECT_EQ(dialogs.folderPrompts.size(), 1u);

    ASSERT_TRUE(QDir().mkpath(root.filePath(".wine/drive_c/Varkel")));
    EXPECT_EQ(ResolveGameFolder(settings, dialogs, prompter).folder, DefaultGameFolder());
    EXPECT_EQ(dialogs.folderPrompts.size(), 1u);
    qputenv("HOME", home);
}

TEST_F(GameFolder, SettingsLiveBesideAWritableProgramUnlessItIsInstalled)
{
    // An install leaves its mark beside the programs: the private library folder
    // on Linux, the uninstaller on Windows. Only the mark itself, not something
    // else of its name, marks an install.
#ifdef Q_OS_WIN
    constexpr bool kMarkIsFolder = false;
#else
    constexpr bool kMarkIsFolder = true;
#endif
    struct Case {
        const char* name;
        bool mark;
        bool lookAlike;
        bool settingsBeside;
        bool besideProgram;
    };
    const Case cases[] = {
        {"build tree", false, false, false, true},
        {"build tree with settings", false, false, true, true},
        {"installed", true, false, false, false},
        {"installed with settings left beside", true, false, true, false},
        {"something else where the mark goes", false, true, false, true},
    };
    QStandardPaths::setTestModeEnabled(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString prefix = root.filePath(QString::fromLatin1(c.name));
        const QString program = prefix + QStringLiteral("/bin");
        ASSERT_TRUE(QDir().mkpath(program));
        const QString mark = InstallMarkPath(program);
        ASSERT_EQ(mark.startsWith(program), !kMarkIsFolder) << qPrintable(mark);
        if (c.mark || c.lookAlike) {
            ASSERT_TRUE(QDir().mkpath(QFileInfo(mark).path()));
            QFile file(mark);
            ASSERT_TRUE(c.mark == kMarkIsFolder ? QDir().mkpath(mark) : file.open(QIODevice::WriteOnly));
        }
        if (c.settingsBeside) {
            QFile file(program + QLatin1Char('/') + kSettingsFileName);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        EXPECT_EQ(IsInstalledProgramFolder(program), c.mark);
        const QString path = SettingsFilePath(program);
        EXPECT_EQ(path == program + QLatin1Char('/') + kSettingsFileName, c.besideProgram) << qPrintable(path);
        EXPECT_TRUE(path.endsWith(kSettingsFileName));
        // Moved settings leave the installed tree alone.
        EXPECT_TRUE(c.besideProgram || !path.startsWith(prefix)) << qPrintable(path);
    }
    QStandardPaths::setTestModeEnabled(false);
}

TEST_F(GameFolder, SettingsMoveToTheConfigFolderWhenTheProgramFolderIsReadOnly)
{
    const QString program = makeFolder("program", {});
    ASSERT_TRUE(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner));
    if (access(QFile::encodeName(program).constData(), W_OK) == 0)
        GTEST_SKIP() << "this user can write into read-only folders";
    QStandardPaths::setTestModeEnabled(true);
    const QString path = SettingsFilePath(program);
    QStandardPaths::setTestModeEnabled(false);
    EXPECT_FALSE(path.startsWith(program));
    EXPECT_TRUE(path.endsWith(kSettingsFileName));
    EXPECT_TRUE(QFileInfo(QFileInfo(path).path()).isWritable());
}
