#pragma once

#include <QString>

namespace varkel {

// A folder only this user can enter (mode 0700) under the system temporary path,
// ending in a separator; the temporary bitmaps live there so that no other user
// can plant or read them. Empty when it cannot be made safely.
QString PrivateTempFolder();

// Deletes the two temporary bitmaps when present.
void DeleteTemporaryBitmaps(const QString& tempFolder);

}  // namespace varkel
