#pragma once

#include "shared/seams.h"

#include <QString>
#include <QStringList>

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

// Where the settings file lives: beside the program when that folder is writable
// (or already holds a writable settings file), else the user's configuration folder.
QString SettingsFilePath(const QString& programFolder);

// Asks for a folder until one holds the five game files (which is then remembered
// in the settings file) or the user cancels (empty result). Each refused folder is
// reported with text 251.
QString LocateGameFolder(FileDialogs& dialogs, Prompter& prompter, const QString& settingsPath);

// Start-up: the remembered folder when it exists, else LocateGameFolder.
QString ResolveGameFolder(const QString& settingsPath, FileDialogs& dialogs, Prompter& prompter);

}  // namespace varkel
