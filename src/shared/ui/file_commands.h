#pragma once

#include "shared/session.h"
#include "shared/ui/pending_edits.h"

#include <QString>

#include <functional>

class QMenu;

namespace varkel {

class EditState;

// The file an editor has open, as its file commands reach it. Each function
// reports its own failures.
struct EditorFile {
    QString label;    // the file dialogs' filter: its label ...
    QString pattern;  // ... and its pattern
    std::function<QString()> path;
    std::function<bool()> modified;          // changes applied and not saved
    std::function<PendingEdits()> pending;   // edits typed and not applied
    std::function<bool(const QString& path)> open;     // reads `path` aside, then opens it; false when not
    std::function<bool()> write;                       // writes the open file where it is
    std::function<bool(const QString& path)> writeAs;  // writes it to `path`, where it then is
    std::function<void()> opened;  // after another file was opened; may be empty
    bool keepsRecentFiles = false;
};

// The file commands both editors share: open (from the dialog, a drop or the
// recent files), save, save as and the questions before a file or the window is
// left. Edits typed and not applied are asked about first, then unsaved changes;
// a save asks before it overwrites a file another program changed since it was read.
class FileCommands {
public:
    // Undo asks about the typed edits of `file` too (through `state`).
    FileCommands(Session& session, EditState& state, EditorFile file);

    // File > Open: the questions, then the open dialog.
    void open();
    // A file dropped on the window, handed to the program or chosen from the
    // recent files opens as through File > Open once the file is chosen.
    void openPath(const QString& path);
    // After the questions File > Open asks, runs `read`, which opens a file of
    // its own choosing; false when it did not.
    void openWith(const std::function<bool()>& read);
    void save();
    void saveAs();
    // Before the window closes: the questions, with `more` (may be empty) between
    // the typed edits and the unsaved changes. False to keep it open.
    bool mayClose(const std::function<bool()>& more = {});
    // Before the record shown is left: asks about its typed edits; false to stay.
    // `applied` tells whether they were applied.
    bool mayLeaveRecord(bool* applied = nullptr);
    // The recent-files menu, filled as it opens.
    void fillRecentMenu(QMenu& menu);

private:
    // Asks to save unsaved changes; false when the command is to stop.
    bool savePrompt();
    bool writeHere();
    bool writeElsewhere();
    void afterOpen();
    void listRecent();

    Session& session_;
    EditState& state_;
    EditorFile file_;
};

}  // namespace varkel
