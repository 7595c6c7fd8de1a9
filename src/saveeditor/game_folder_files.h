#pragma once

#include "saveeditor/save_kinds.h"
#include "saveeditor/save_tables.h"
#include "shared/file_store.h"
#include "shared/runtime_error.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace varkel {

// The files of the game folder that a saved game takes its names and treasures
// from, read the one way the editors, the command line and the tests read them.

QString ScenarioFilePath(const QString& gameFolder);

// The scenario file at `path` as the editors hold it: its first 134,024 bytes, a
// short file read as zeros beyond its end. Read through `store`, so that a write
// over it later sees whether another program changed it meanwhile.
std::optional<ScenarioData> ReadScenarioFile(FileStore& store, const QString& path, RuntimeError* error = nullptr);

// The 80 treasure notes of "m_msg.vk" in `gameFolder`, only shown, never written;
// none when the file ends before them. Nothing when it cannot be read (`error`
// says why).
std::optional<QStringList> ReadTreasureNotes(const QString& gameFolder, RuntimeError* error = nullptr);

// What a saved game takes from its game folder.
struct GameFolderFiles {
    QString scenarioPath;                  // empty without a game folder
    std::optional<ScenarioData> scenario;  // nothing when it could not be read
    QStringList treasureNotes;             // empty when they could not be read

    // The names the record kinds of a saved game show; none without a scenario file.
    SaveKindsContext kindsContext(std::optional<int> intimacySlot = std::nullopt, bool special = false) const;
};

// The files of `gameFolder`, the scenario file through `store`; nothing when the
// folder is empty. What cannot be read is left out.
GameFolderFiles ReadGameFolderFiles(FileStore& store, const QString& gameFolder);

}  // namespace varkel
