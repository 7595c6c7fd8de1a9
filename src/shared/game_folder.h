#pragma once

#include "shared/file_io.h"
#include "shared/runtime_error.h"
#include "shared/seams.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace varkel {

inline const QString kSettingsFileName = QStringLiteral("VarkelEditor.ini");
inline const QString kSettingsSection = QStringLiteral("Varkel");
inline const QString kSettingsKey = QStringLiteral("InstallDir");

// The five files a folder must hold to count as a game folder, in checking order.
QStringList RequiredGameFiles();

// `path` with one trailing separator.
QString WithTrailingSeparator(const QString& path);

// "C:\Varkel\" on Windows; elsewhere that folder inside the default Wine prefix.
QString DefaultGameFolder();

// The path of `name` inside `folder`. Game files are named with mixed case by the
// game and looked up by other cases, so on a case-sensitive file system an exact
// match is preferred and otherwise any file whose name differs only in case.
QString GameFilePath(const QString& folder, const QString& name);

bool GameFileExists(const QString& folder, const QString& name);

// What an install leaves beside its programs: the private library folder (the
// editor's modules) on Linux, the installer's uninstaller on Windows.
QString InstallMarkPath(const QString& programFolder);

// Whether `programFolder` is that of an installed program: it has the mark of an
// install (a folder on Linux, a file on Windows). A build tree, a copied program
// or an unpacked zip has none.
bool IsInstalledProgramFolder(const QString& programFolder);

// Where the settings file lives: beside the program when that folder is writable
// (or already holds a writable settings file) and the program is not installed,
// else the user's configuration folder.
QString SettingsFilePath(const QString& programFolder);

// The game folder for this run, empty when the user cancelled. A folder the user
// chose that the settings file could not keep says why in `notRemembered`: it
// serves this run, and the next one will ask again.
struct GameFolderChoice {
    QString folder;
    std::optional<RuntimeError> notRemembered;
};

// Asks for a folder until one holds the five game files (which is then remembered
// in the settings file) or the user cancels. Each refused folder is reported with
// text 251.
GameFolderChoice LocateGameFolder(FileDialogs& dialogs, Prompter& prompter, const QString& settingsPath,
                                  FileIo& io = FileIo::direct());

// Start-up: the remembered folder when it exists, else LocateGameFolder.
GameFolderChoice ResolveGameFolder(const QString& settingsPath, FileDialogs& dialogs, Prompter& prompter,
                                   FileIo& io = FileIo::direct());

}  // namespace varkel
