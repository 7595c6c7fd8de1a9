#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace varkel {

// A folder only this user can enter (mode 0700) under the system temporary path,
// ending in a separator; the temporary bitmaps live there so that no other user
// can plant or read them. Empty when it cannot be made safely.
QString PrivateTempFolder();

// The lock that keeps a second copy of the program from running for this user,
// held for as long as the result lives; null when a running instance holds it.
// A lock left behind by a crashed instance is taken over.
std::unique_ptr<QLockFile> LockSingleInstance(const QString& tempFolder);

// Deletes the two temporary bitmaps when present.
void DeleteTemporaryBitmaps(const QString& tempFolder);

}  // namespace varkel
