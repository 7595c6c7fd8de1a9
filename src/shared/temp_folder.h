#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace varkel {

// This user's private folder, ending in a separator: the instance lock, the
// socket later starts hand over through and the temporary bitmaps live there, so
// that no other user can plant, read or answer them. On Unix it is
// "varkel-editor" inside $XDG_RUNTIME_DIR when that is a real folder of this
// user's with mode 0700, else "varkel-editor-<uid>" under the system temporary
// path; either is made with mode 0700, and one found with another owner, other
// rights or as a link is refused. On Windows it is "varkel-editor" in the user's
// own temporary folder. Empty when none can be had: the program then runs without
// a lock, a hand-over or bitmap files.
QString PrivateTempFolder();
// The same choice between the given runtime folder (empty for none) and temporary path.
QString PrivateTempFolder(const QString& runtimeFolder, const QString& tempPath);

// The lock that keeps a second copy of the program from running for this user,
// held for as long as the result lives; null when a running instance holds it.
// A lock left behind by a crashed instance is taken over.
std::unique_ptr<QLockFile> LockSingleInstance(const QString& tempFolder);

// Deletes the two temporary bitmaps when present.
void DeleteTemporaryBitmaps(const QString& tempFolder);

}  // namespace varkel
