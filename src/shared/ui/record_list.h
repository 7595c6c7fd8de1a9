#pragma once

#include "shared/seams.h"
#include "shared/ui/pending_edits.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QListWidget;

namespace varkel {

// A list of records beside the view of one (the saved-game editor's modes, the
// city, force and new-officer editors): the record of each row, the record shown,
// the question before edits not yet applied are left for another row, and Apply.
// The editor supplies what depends on its kind: showing a record, telling whether
// the view differs from it, storing the view.
class RecordList : public QObject {
    Q_OBJECT
public:
    struct View {
        std::function<void(int n)> show;     // fills the view with record n as the document holds it
        std::function<bool()> differs;       // an Apply of the record shown would change it or be refused
        std::function<bool(int n)> store;    // stores the view into record n; false when refused (having said why)
    };

    // Choosing a row of `list` shows its record; `prompter` asks about edits not
    // yet applied first.
    RecordList(QListWidget& list, Prompter& prompter, View view, QObject* parent);

    // Adds a row reading `text` for record n.
    void addRow(int n, const QString& text);
    // Puts `rows` into the list, row i for record i, and shows record `first`
    // without asking: what the view held belongs to rows that are gone.
    void setRows(const QStringList& rows, int first = 0);
    // Empties the list; nothing shown is left to ask about.
    void clear();

    // The record last read or applied; -1 before the first.
    int shownRecord() const { return shown_; }
    // The record of the selected row; -1 for none.
    int selectedRecord() const;
    // Moves the list to record n, asking first about edits of the record shown;
    // nothing for a record the list does not hold.
    void choose(int n);
    // Shows record n as the document holds it.
    void show(int n);
    // True when the view holds edits not yet applied; false before any record is read.
    bool viewDiffers() const;
    // Stores the view into record n; false when refused.
    bool apply(int n);
    // Stores the view into the selected record (Apply).
    void applySelected();
    // The edits of the record shown not yet applied, for the questions before a
    // save, an undo or a batch.
    PendingEdits pendingEdits();

signals:
    // After an Apply stored the view into record n, now the record shown.
    void stored(int n);

private:
    // The list moved to another record: asks about the edits of the one shown
    // first, and on "stay" puts the list back on it.
    void rowChosen();
    int rowOf(int n) const;

    QListWidget& list_;
    Prompter& prompter_;
    View view_;
    std::vector<int> records_;  // the record of each row
    int shown_ = -1;
};

}  // namespace varkel
