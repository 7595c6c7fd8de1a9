#pragma once

#include "shared/document.h"
#include "shared/record_source.h"
#include "shared/record_table.h"
#include "shared/session.h"

#include <QDialog>

#include <functional>

class QHBoxLayout;
class QLabel;
class QMenu;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTableView;

namespace varkel {

// Every record of one kind in a table: sorted by any column, picked by a filter in
// the command line's language, shown in its own view on a double-click or Enter,
// and changed many at once through the batch dialog. The table follows the
// document: whatever changes it, the rows read again. Cells are never edited here,
// so every change goes through the kind's checked write.
class RecordsWindow : public QDialog {
    Q_OBJECT
public:
    // `what` names the records in the title ("武將"); `showRecord` shows record n
    // (its place) in its view. `source` must outlive the window.
    RecordsWindow(Session& session, RecordSource& source, const QString& what, std::function<void(int)> showRecord,
                  QWidget* parent);

    RecordSource& source() { return source_; }
    RecordTableModel& table() { return table_; }
    RecordFilterModel& filtered() { return filtered_; }
    // The places of the selected records, in the order shown.
    std::vector<int> selectedRecords() const;
    // Asked before the batch dialog opens (whether edits typed in a view may be
    // left); false keeps it closed.
    void setBeforeBatch(std::function<bool()> ask) { beforeBatch_ = std::move(ask); }
    // Opens the batch dialog over the selected records (all shown when none is).
    void openBatch();
    // Asks for a file (in the documents folder, named for the open file and the
    // records) and writes the shown rows as CSV for a spreadsheet: UTF-8 with a
    // byte-order mark, headed by the captions; false when nothing was written.
    bool exportCsv();
    // Asks for a CSV or JSON file of edits, shows what it would change and applies
    // it as one undo step; false when nothing was applied.
    bool importFile();
    // The selected rows (header first) of the shown columns, tab-separated.
    QString selectionText() const;
    void copySelection();
    // The header's menu: a ticked entry per field column, which shows or hides it.
    QMenu* columnsMenu();

    // Wide enough for a dozen columns, within a 1024x700 work area.
    QSize sizeHint() const override { return {900, 560}; }

    QLineEdit* filterBox = nullptr;
    QTableView* view = nullptr;
    QLabel* countLabel = nullptr;
    QPushButton* batchButton = nullptr;
    QPushButton* exportButton = nullptr;
    QPushButton* importButton = nullptr;
    QPushButton* copyButton = nullptr;
    QPushButton* closeButton = nullptr;
    QStatusBar* statusLine = nullptr;

private:
    // The filter box with its caption.
    QHBoxLayout* buildFilterRow();
    // The table of the filtered records (view), sorted by number, its columns sized to their texts.
    void buildTable();
    // The count of rows shown and selected, and the buttons beside it.
    QHBoxLayout* buildButtons();
    // Sends the copy key, the filter, the table, the buttons and the document's changes to their handlers.
    void connectControls();
    void filterTyped(const QString& text);
    void documentChanged(const DocumentChange& change);
    void updateCount();
    // The user's documents folder with a separator after it, where CSV files start; empty when there is none.
    static QString documentsFolder();
    void chooseColumns(const QPoint& at);
    // The hidden columns, kept per kind in the settings file.
    void restoreColumns();
    void storeColumns();

    Session& session_;
    RecordSource& source_;
    QString what_;
    RecordTableModel table_;
    RecordFilterModel filtered_;
    std::function<void(int)> showRecord_;
    std::function<bool()> beforeBatch_;
};

}  // namespace varkel
