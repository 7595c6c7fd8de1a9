#pragma once

#include <QString>

namespace varkel::demo {

// Writes the complete synthetic game folder into `folder` (created when absent).
// The same call always writes the same bytes. Returns an error message, or an
// empty string on success.
QString WriteDemoGameFolder(const QString& folder);

}  // namespace varkel::demo
