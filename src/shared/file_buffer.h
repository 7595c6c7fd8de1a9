#pragma once

#include "shared/file_store.h"
#include "shared/runtime_error.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace varkel {

// A game file being edited as one byte image: its bytes and where they came from.
class FileBuffer {
public:
    enum class Refusal { None, Missing, WrongSize, Unreadable };

    QByteArray bytes;
    QString path;

    // The whole file, when it holds minimumSize..maximumSize bytes. A refused open
    // leaves bytes and path as they were; Missing and Unreadable say why in `error`.
    Refusal openWhole(FileStore& store, const QString& file, qint64 minimumSize, qint64 maximumSize,
                      RuntimeError* error = nullptr);
    // To a new path: the file holds exactly the buffer. The path becomes current
    // only when the write succeeds.
    std::optional<RuntimeError> saveAs(FileStore& store, const QString& newPath);

protected:
    static Refusal refusalOf(const RuntimeError& error);
};

}  // namespace varkel
