#pragma once

#include "shared/session.h"
#include "shared/ui/file_commands.h"

#include <functional>

namespace varkel {

class EditState;
class SaveDocument;

// The saved games in the file dialogs: their filter's label and pattern.
inline const QString kSaveGameLabel = QStringLiteral("Varkel遊戲存檔");
inline const QString kSaveGamePattern = QStringLiteral("Svd_0*.sav");

// The open saved game as the file commands reach it: a file read aside and then
// opened over `document`, written where it is or under another name; failures
// are reported. `pending` gives the edits typed and not applied; `moved` runs
// once another file is the one open, opened or written under a new name.
EditorFile SaveGameFile(Session& session, SaveDocument& document, EditState& state,
                        std::function<PendingEdits()> pending, std::function<void()> moved);

// Reads the saved game at `path` aside and opens it over `document`; refusals are
// reported (text `missingText` for a file that is not there), and a file that does
// not look like a saved game is asked about first. False when it was not opened:
// the open save stays as it was.
bool OpenSaveOver(Session& session, SaveDocument& document, const QString& path, qint64 minimumSize,
                  int missingText);

}  // namespace varkel
