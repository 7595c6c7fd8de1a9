#pragma once

#include <QObject>

namespace varkel {

struct DocumentChange;
class SaveGameEditor;

// Keeps the saved-game editor's views in step with its document: the officer
// column, the controlled officers, the modes and the problem count follow what
// a change touched; a window running over the editor has its changes read once
// it closes.
class DocumentFollower : public QObject {
    Q_OBJECT
public:
    explicit DocumentFollower(SaveGameEditor& editor);

    // Undo or a side window changed the buffers: the lists and the record shown
    // are read again, in the mode and on the rows they were.
    void reloadViews();
    // The lists and boxes that show the document's tables.
    void showTables();
    // Says on the status line how many problems the save has.
    void countProblems();

private:
    void changed(const DocumentChange& change);
    // A new file: the notes are read again, and the controlled officers' list shows its first.
    void aboutToFill(int mode);
    // After an Apply that renamed officer `n`: everything that shows officer names follows.
    void officerRenamed(int n);

    SaveGameEditor& editor_;
};

}  // namespace varkel
