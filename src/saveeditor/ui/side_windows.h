#pragma once

#include "saveeditor/save_kinds.h"
#include "shared/ui/pending_edits.h"

#include <QPointer>

#include <functional>
#include <map>

class QDialog;
class QString;
class QWidget;

namespace varkel {

class RecordListEditor;
class RecordsWindow;
class SaveGameEditor;

// The windows the saved-game editor opens beside its modes. The city, force and
// intimacy editors and the growth forecast run over it: what they apply reaches
// its views once they close, and its Undo, Redo and Save work from them. The
// records tables, the problems list, the comparison and the backups stay open
// beside it and show records in it.
class SideWindows {
public:
    // `reload` reads the editor's views again after a window running over them changed the save.
    SideWindows(SaveGameEditor& editor, std::function<void()> reload);

    // Shows a window that runs over the editor; by default modally. Tests drive it instead.
    void setRunner(std::function<void(QDialog&)> run) { run_ = std::move(run); }

    // The city and force editors, opened on city / force n (-1: their first).
    void openCityEditor(int n);
    void openForceEditor(int n);
    // The intimacy editor of the officer in controlled-officer slot `slot`.
    void openIntimacyEditor(int slot);
    // The growth forecast of the family member shown, as last read or applied.
    void openGrowthForecast();
    // Opens (or brings to the front) the table of the records of `kind` over
    // `over`; a double-click runs `show` with the record's place.
    RecordsWindow* openRecordsTable(SaveRecord kind, QWidget* over, std::function<void(int)> show);
    void openProblems();
    // Another save, chosen in the file dialog, against the open one.
    void compareChosenSave();
    // The comparison of the open save with the save at `path`; false, having said
    // why, when it is no saved game.
    bool compareWith(const QString& path);
    void openBackups();
    // Shows record n of `kind`: in a mode of the editor, or the city or force
    // editor opened on it.
    void showSaveRecord(SaveRecord kind, int n);

    // Whether a window runs over the editor, and the edits typed in it.
    bool running() const { return running_; }
    const PendingEdits& runningEdits() const { return runningEdits_; }
    // The save changed while a window runs over the editor.
    void changedWhileRunning() { changedWhileRunning_ = true; }

private:
    // Runs `window` over the editor once the edits of its view were settled.
    void run(QDialog& window, PendingEdits edits = {});
    // Runs the city or force editor `window`, of records of `kind`, on record n (-1: its first).
    void runRecordEditor(RecordListEditor& window, SaveRecord kind, int n);
    // Runs a window where it was last, or fitted to the screen.
    void place(QDialog& window);
    void showBeside(QWidget& window);

    SaveGameEditor& editor_;
    std::function<void()> reload_;
    std::function<void(QDialog&)> run_;
    std::map<SaveRecord, QPointer<RecordsWindow>> tables_;
    QPointer<QWidget> problems_;
    PendingEdits runningEdits_;
    bool running_ = false;
    bool changedWhileRunning_ = false;
};

}  // namespace varkel
