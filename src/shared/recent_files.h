#pragma once

#include <QString>
#include <QStringList>

namespace varkel {

// The saved games the user opened last, newest first, kept in the settings file
// under [RecentFiles] as File1..File5. Paths compare as the file system does:
// through links, and without regard to case on Windows.

inline constexpr int kMaxRecentFiles = 5;
inline const QString kRecentFilesSection = QStringLiteral("RecentFiles");

// The stored list, newest first, without duplicates. Entries that could not be
// read back whole are left out. Files that no longer exist are kept.
QStringList ReadRecentFiles(const QString& settingsPath);

// The stored list without the files that no longer exist: what a menu shows. The
// stored entries stay, so a file on a drive that is not mounted comes back later.
QStringList ExistingRecentFiles(const QString& settingsPath);

// Puts `path` first (as an absolute path), removing an earlier entry for the same
// file and the oldest beyond kMaxRecentFiles. A path the settings file cannot hold
// whole (too long, surrounding spaces, characters outside the local code page) is
// not stored and the list stays as it was. Returns false in that case and when the
// settings file cannot be written.
bool AddRecentFile(const QString& settingsPath, const QString& path);

}  // namespace varkel
