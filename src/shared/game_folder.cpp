#include "shared/game_folder.h"

#include "shared/ini_file.h"
#include "shared/runtime_error.h"
#include "shared/texts.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace varkel {

QStringList RequiredGameFiles()
{
    return {QStringLiteral("g_maindy.vk"), QStringLiteral("svd_sys.sav"), QStringLiteral("rdtext.vk"),
            QStringLiteral("d_sce.vk"), QStringLiteral("m_msg.vk")};
}

QString WithTrailingSeparator(const QString& path)
{
    // Qt's separators inside, on Windows too; a path is shown with native ones.
    const QString qtPath = QDir::fromNativeSeparators(path);
    if (qtPath.endsWith(QLatin1Char('/')) || qtPath.endsWith(QLatin1Char('\\')))
        return qtPath;
    return qtPath + QLatin1Char('/');
}

QString DefaultGameFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:/Varkel/");
#else
    return QDir::homePath() + QStringLiteral("/.wine/drive_c/Varkel/");
#endif
}

QString GameFilePath(const QString& folder, const QString& name)
{
    const QString exact = WithTrailingSeparator(folder) + name;
#ifdef Q_OS_WIN
    // Any spelling finds the file here; the name it has is the one shown and remembered.
    if (const QStringList found = QDir(folder).entryList({name}, QDir::Files | QDir::Hidden); found.size() == 1)
        return WithTrailingSeparator(folder) + found.front();
#endif
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return WithTrailingSeparator(folder) + entry;
    }
    return exact;
}

bool GameFileExists(const QString& folder, const QString& name)
{
    return QFileInfo(GameFilePath(folder, name)).isFile();
}

QString InstallMarkPath(const QString& programFolder)
{
#ifdef Q_OS_WIN
    return QDir(programFolder).filePath(QStringLiteral(VARKEL_UNINSTALLER));
#else
    return QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral(VARKEL_INSTALLED_LIBRARY_FOLDER)));
#endif
}

bool IsInstalledProgramFolder(const QString& programFolder)
{
    const QFileInfo mark(InstallMarkPath(programFolder));
#ifdef Q_OS_WIN
    return mark.isFile();
#else
    return mark.isDir();
#endif
}

QString SettingsFilePath(const QString& programFolder)
{
    const QString besideProgram = WithTrailingSeparator(programFolder) + kSettingsFileName;
    const QFileInfo file(besideProgram);
    // An installed program shares its folder (/usr/bin) with every other program,
    // or with other users (all users' install on Windows), even where this user
    // may write there, so its settings are the user's own.
    const bool besideAllowed = !IsInstalledProgramFolder(programFolder);
    if (besideAllowed && (file.exists() ? file.isWritable() : QFileInfo(programFolder).isWritable()))
        return besideProgram;
#ifdef Q_OS_WIN
    const QString configFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);  // %APPDATA%
#else
    const QString configFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
#endif
    QDir().mkpath(configFolder);
    return WithTrailingSeparator(configFolder) + kSettingsFileName;
}

GameFolderChoice LocateGameFolder(FileDialogs& dialogs, Prompter& prompter, const QString& settingsPath, FileIo& io)
{
    const QStringList required = RequiredGameFiles();
    for (;;) {
        QString folder = BrowseForFolder(dialogs, GetResText(Text::ChooseGameFolder));
        if (folder.isEmpty())
            return {};
        folder = WithTrailingSeparator(folder);
        const bool complete = std::all_of(required.begin(), required.end(),
                                          [&](const QString& name) { return GameFileExists(folder, name); });
        if (complete)
            return {folder,
                    WriteIniValue(settingsPath, kSettingsSection, kSettingsKey, QDir::toNativeSeparators(folder), io)};
        prompter.tell(GetResText(Text::NotAGameFolder), kErrorTitle, MessageIcon::Critical);
    }
}

GameFolderChoice ResolveGameFolder(const QString& settingsPath, FileDialogs& dialogs, Prompter& prompter, FileIo& io)
{
    const QString remembered = ReadIniValue(settingsPath, kSettingsSection, kSettingsKey, DefaultGameFolder());
    // A folder typed into the settings file by hand may lack its separator; every
    // file of the game is found by appending its name.
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir())
        return {WithTrailingSeparator(remembered), std::nullopt};
    return LocateGameFolder(dialogs, prompter, settingsPath, io);
}

}  // namespace varkel
