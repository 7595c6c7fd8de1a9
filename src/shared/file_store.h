#pragma once

#include "shared/runtime_error.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

namespace varkel {

// Reads and writes whole game files. Writes are atomic (a temporary file in the
// same folder, renamed over the target), and before the first write over a file
// in a run its original bytes are copied to a timestamped backup outside the game
// folder.
class FileStore {
public:
    // Backups go to `backupFolder`; empty means the user's data folder.
    explicit FileStore(QString backupFolder = QString());

    // The whole file, or the error that stopped the read.
    static std::optional<QByteArray> readAll(const QString& path, RuntimeError* error = nullptr);

    // Writes `bytes` from the file's first byte. With `keepTail` a longer existing
    // file keeps its bytes beyond `bytes` (and so its length); without it the file
    // holds exactly `bytes`. On failure the file on disk is as it was.
    std::optional<RuntimeError> write(const QString& path, const QByteArray& bytes, bool keepTail);

    QString backupFolder() const { return backupFolder_; }
    // The backup made of `path` in this run, or empty.
    QString backupOf(const QString& path) const;

private:
    std::optional<RuntimeError> backUp(const QString& path);

    QString backupFolder_;
    QHash<QString, QString> backups_;  // canonical path -> its backup
};

}  // namespace varkel
