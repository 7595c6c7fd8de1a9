#pragma once

#include <QString>

namespace varkel {

// Windows profile ("INI") files: [section] headers and raw key=value lines. Values
// are stored as written, without escaping; CRLF and LF line ends are both read.
// Section and key names compare without regard to case, as Windows does.

// The value of `key` in `section`, trimmed of spaces and at most 127 characters,
// or `defaultValue` when the file, section or key is absent.
QString ReadIniValue(const QString& path, const QString& section, const QString& key,
                     const QString& defaultValue = QString());

// Sets `key` in `section`, creating the file and section when absent and keeping
// every other line as it was. Returns false when the file cannot be written.
bool WriteIniValue(const QString& path, const QString& section, const QString& key, const QString& value);

}  // namespace varkel
