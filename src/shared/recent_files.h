#pragma once

#include "shared/file_io.h"
#include "shared/runtime_error.h"

#include <QString>
#include <QStringList>

#include <optional>

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
// file and the oldest beyond kMaxRecentFiles, in one write of the settings file.
// A path the settings file cannot hold whole (too long, surrounding spaces,
// characters outside the local code page) is not stored and the list stays as it
// was; that is no failure, and neither is an empty `settingsPath` (a run without a
// settings file). The failure when the settings file could not be read or
// written; the file is then as it was.
[[nodiscard]] std::optional<RuntimeError> AddRecentFile(const QString& settingsPath, const QString& path,
                                                        FileIo& io = FileIo::direct());

}  // namespace varkel
