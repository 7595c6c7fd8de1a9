#pragma once

#include <QStringList>

namespace varkel {

class EditState;
class SaveDocument;
struct Session;

// The game folder's files that the treasure view uses beside the save: the
// treasure notes, only shown, and the scenario file "d_sce.vk", which holds the
// treasure attributes and is written on its own Save button (Command13).
class ScenarioCommands {
public:
    ScenarioCommands(Session& session, SaveDocument& document, EditState& state);

    // The notes last read; empty where the file could not give them.
    const QStringList& notes() const { return notes_; }
    // Reads the notes again. A missing or short file is reported and leaves the
    // notes it cannot give empty, so the editor stays usable.
    void readNotes();
    // Asks, then writes the treasure attributes; true when written.
    bool write();
    // Before the editor closes: offers to write treasure attributes not yet
    // written; false to stay.
    bool mayClose();

private:
    // Writes the scenario file; a failure is reported and keeps the changes, so
    // the user can try again.
    bool writeFile();

    Session& session_;
    SaveDocument& document_;
    EditState& state_;
    QStringList notes_;
};

}  // namespace varkel
