#pragma once

#include "shared/file_buffer.h"
#include "shared/file_store.h"
#include "shared/runtime_error.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace varkel {

// The saved game being edited: its bytes and where they came from. The three
// ways a file is opened size the buffer differently; Save writes the buffer's own
// length.
class SaveGame : public FileBuffer {
public:
    static QString slotPath(const QString& gameFolder, int digit);
    // The slot digit whose file `path` is (letter case ignored), or -1.
    static int slotOf(const QString& path, const QString& gameFolder);
    // The newest slot file longer than 374,000 bytes (strictly later time wins; ties
    // keep the lower digit), or empty.
    static QString newestSlot(const QString& gameFolder);

    // Start-up: exactly 374,534 bytes whatever the file's length (a shorter file
    // is padded with zeros).
    Refusal openAtStartup(FileStore& store, const QString& file, RuntimeError* error = nullptr);
    // Open dialog (at least 374,530 bytes) and slot menu (at least 374,520): the
    // whole file, up to kMaximumSaveSize. A refused open leaves bytes and path as
    // they were; an Unreadable one says why in `error`.
    Refusal openWhole(FileStore& store, const QString& file, qint64 minimumSize, RuntimeError* error = nullptr);

    // Over the current path, keeping the tail of a longer file. Save as (the file
    // holds exactly the buffer) is FileBuffer::saveAs.
    std::optional<RuntimeError> save(FileStore& store) const;

    // Why `bytes` cannot be a saved game, one line per rule they break; empty when
    // they can. Every saved game, the game's own or one written here, has a game
    // month no larger than 12, a person map whose entries are officers 0..859 or
    // 1720 (no officer), and player slots that name persons 860..1719 or 1720 (none).
    // Values the views show as odd (a city above 50, an officer at or beyond the
    // officer count) are no reason: only what no saved game can hold is.
    static QStringList shapeProblems(const QByteArray& bytes);
};

}  // namespace varkel
