#pragma once

#include "shared/seams.h"
#include "shared/ui/pending_edits.h"
#include "shared/ui/record_list.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <initializer_list>

class QListWidget;
class QPushButton;
class QWidget;

namespace varkel {

class Document;

// A side window that edits one record at a time, chosen from a list beside its
// groups (the city and force editors). It lays out the list, the groups and the
// buttons, asks about edits not yet applied before it closes, and leaves the list
// and the record shown to a RecordList; the editor of a kind shows a record,
// tells whether its view differs and stores it.
class RecordListEditor : public QDialog {
    Q_OBJECT
public:
    // The record last read or applied; -1 before the first.
    int shownRecord() const { return records_->shownRecord(); }
    // The record of the selected row; -1 for none.
    int selectedRecord() const { return records_->selectedRecord(); }
    // Moves the list to record n, asking first about edits of the record shown;
    // nothing for a record the list does not hold.
    void chooseRecord(int n) { records_->choose(n); }
    // True when an Apply of the record shown would change the document or be
    // refused: the view holds edits not yet applied. False before any record is read.
    bool viewDiffers() const { return records_->viewDiffers(); }
    // Stores the view into the selected record (Apply).
    void applySelected() { records_->applySelected(); }
    // The edits of the record shown not yet applied, for the questions before a
    // save, an undo or a batch.
    PendingEdits pendingEdits() { return records_->pendingEdits(); }
    // Closing (the exit button, the close box, Escape) first asks about edits not
    // yet applied; "stay" keeps the window open.
    void done(int result) override;
    // Shows the records-table button, which (and Ctrl+T) then runs `open`.
    void offerRecordsTable(std::function<void()> open);

    QListWidget* List1 = nullptr;
    QPushButton* tableButton = nullptr;  // the table of all records, hidden until offered

signals:
    // After an Apply stored a record into the document.
    void applied();

protected:
    // `prompter` asks about edits not yet applied; undo, redo and batches of
    // `document` read the record shown again.
    RecordListEditor(Prompter& prompter, Document& document, QWidget* parent);

    // Adds the row "00:name" for record n, and fits List1 to names of
    // `nameWidth` characters.
    void addRow(int n, const QString& name);
    void fitList(int nameWidth);

    struct Buttons {
        QPushButton* apply;  // the default button; runs applySelected
        QPushButton* exit;   // accepts the dialog
    };
    // Lays the window out: List1 on the left, `groups` one above the other beside
    // it, and under them the records-table button and then Apply and Exit on the
    // right, named as given.
    Buttons layOut(std::initializer_list<QWidget*> groups, const QString& applyName, const QString& exitName);

    // Fills the view with record n as the document holds it.
    virtual void showRecord(int n) = 0;
    // The document changed under the view (undo, redo, a batch, an Apply): what
    // the view works out from more than its record is worked out again.
    virtual void storedChanged() {}
    // True when an Apply of the view over the record shown would change it or be
    // refused.
    virtual bool shownDiffers() const = 0;
    // Stores the view into record n; false when refused (having said why).
    virtual bool store(int n) = 0;

private:
    Prompter& prompter_;
    RecordList* records_ = nullptr;
};

}  // namespace varkel
