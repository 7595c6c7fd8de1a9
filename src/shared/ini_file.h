#pragma once

#include "shared/file_io.h"
#include "shared/runtime_error.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace varkel {

// Windows profile ("INI") files: [section] headers and raw key=value lines. Values
// are stored as written, without escaping; CRLF and LF line ends are both read.
// Section and key names compare without regard to case, as Windows does.

// One settings file in memory: read once, changed, and written back whole in one
// atomic write, so several keys change together or not at all.
class IniFile {
public:
    // The file at `path` as it is now; a missing file reads as an empty one. Null,
    // with the reason in `error`, when the file is there but cannot be read whole:
    // writing it back would throw away what could not be read.
    static std::optional<IniFile> read(const QString& path, RuntimeError* error = nullptr,
                                       FileIo& io = FileIo::direct());

    // The value of `key` in `section`, trimmed of spaces and at most 127
    // characters, or `defaultValue` when the section or key is absent.
    QString value(const QString& section, const QString& key, const QString& defaultValue = QString()) const;
    // Sets `key` in `section`, adding the section when absent and keeping every
    // other line byte for byte.
    void setValue(const QString& section, const QString& key, const QString& value);

    // Replaces the file with these lines. On failure the file on disk is as it was.
    [[nodiscard]] std::optional<RuntimeError> write(FileIo& io = FileIo::direct()) const;

private:
    // One line as stored: its text and its line end ("\n", "\r\n" or none for a
    // last line). Lines the program does not own are written back from these
    // bytes, so text in another encoding survives.
    struct Line {
        QByteArray text;
        QByteArray end;
    };

    QString path_;
    std::vector<Line> lines_;
    QByteArray newline_ = "\r\n";
};

// The value of `key` in `section` of the file at `path` (see IniFile::value), or
// `defaultValue` when the file cannot be read.
QString ReadIniValue(const QString& path, const QString& section, const QString& key,
                     const QString& defaultValue = QString());

// Sets `key` in `section`, creating the file and section when absent and keeping
// every other line as it was. The failure when the file could not be read or
// written; the file is then as it was.
[[nodiscard]] std::optional<RuntimeError> WriteIniValue(const QString& path, const QString& section, const QString& key,
                                                        const QString& value, FileIo& io = FileIo::direct());

}  // namespace varkel
