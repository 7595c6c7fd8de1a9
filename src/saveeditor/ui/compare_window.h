#pragma once

#include "saveeditor/save_document.h"
#include "saveeditor/save_kinds.h"
#include "shared/file_compare.h"
#include "shared/session.h"

#include <QByteArray>
#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QStatusBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace varkel {

// The open save beside another saved game (a backup, another slot): the records
// that differ, grouped by kind, with each differing field's value here and there.
// Values of theirs can be taken over, a field, a record, a kind or everything at
// a time, each as one undo step through the kinds' checked writes. The
// comparison is made again whenever the document changes, and the window closes
// when the document opens another file.
class CompareWindow : public QDialog {
    Q_OBJECT
public:
    // The columns of the tree.
    enum Column { kFieldColumn, kOursColumn, kTheirsColumn };
    // What a row of the tree stands for.
    enum class RowLevel { Kind, Record, Field };

    // `otherBytes` were read from `otherPath`; `showRecord` shows a record (its
    // kind and place) in its view.
    CompareWindow(Session& session, SaveDocument& document, SaveKindsContext context, QString otherPath,
                  QByteArray otherBytes, std::function<void(SaveRecord, int)> showRecord, QWidget* parent);

    const FileComparison& comparison() const { return comparison_; }
    // Compares the document as it is now with the other file and lists what differs.
    void refresh();
    // Takes over their values for what the selected row stands for / for every
    // difference, as one undo step; false when nothing was stored.
    bool takeSelected();
    bool takeEverything();

    // The row of kind `kind` (index into the kinds), and of its record at `place`.
    QTreeWidgetItem* kindRow(std::size_t kind) const;
    QTreeWidgetItem* recordRow(std::size_t kind, int place) const;

    // Room for three columns of names and values, within a 1024x700 work area.
    QSize sizeHint() const override { return {780, 540}; }

    QTreeWidget* differences = nullptr;
    QLabel* summary = nullptr;
    QPushButton* takeButton = nullptr;
    QPushButton* takeAllButton = nullptr;
    QPushButton* closeButton = nullptr;
    QStatusBar* statusLine = nullptr;

private:
    bool take(const TakeSelection& selection);
    // The selection a row stands for.
    std::optional<TakeSelection> selectionOf(const QTreeWidgetItem* item) const;
    void rowActivated(QTreeWidgetItem* item);
    void updateButtons();
    // A row per kind, record and field that differ, the rows opened, closed and
    // chosen kept as they were.
    void fillTree();
    // The summary under the tree: no difference, bytes outside every field, sizes.
    void showSummary();
    // "武將 12 張三": the record a refusal is about, as the tree names it.
    QString recordLabel(std::size_t kind, int place) const;

    Session& session_;
    SaveDocument& document_;
    SaveKindsContext context_;
    QString otherPath_;
    QByteArray theirs_;
    std::function<void(SaveRecord, int)> showRecord_;
    FileComparison comparison_;
};

}  // namespace varkel
