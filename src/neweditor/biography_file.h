#pragma once

#include "neweditor/new_officer_layout.h"
#include "person/biography.h"
#include "shared/file_buffer.h"

#include <QString>

#include <optional>

namespace varkel {

// The biographies of the new officers ("RDText.vk"), read whole from the game
// folder and saved back there whenever the system save is saved.
class BiographyFile : public FileBuffer {
public:
    static QString defaultPath(const QString& gameFolder);

    // Reads the file of `gameFolder`; a missing, unreadable or oversized file is
    // the error, and the buffer stays as it was.
    std::optional<RuntimeError> open(FileStore& store, const QString& gameFolder);
    // The whole buffer over the path it was read from.
    std::optional<RuntimeError> save(FileStore& store) const;

    QString biography(int i) const;
    // Refused texts leave the record as it was.
    std::optional<BiographyProblem> setBiography(int i, const QString& text);
};

}  // namespace varkel
