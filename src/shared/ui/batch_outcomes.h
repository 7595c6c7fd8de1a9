#pragma once

#include "shared/record_batch.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace varkel {

// What a change of many records does, as the batch dialog and the import show it:
// a line of counts (before Apply what it would do, after it what it did), the
// records refused, each with why, and the dialog's Apply and Cancel.
class BatchOutcomes : public QWidget {
    Q_OBJECT
public:
    explicit BatchOutcomes(QWidget* parent);

    // The counts of a preview and its refusals.
    void showPreview(const BatchResult& result);
    // What Apply changed and the records it left, with why, until Cancel (now
    // 關閉) closes the dialog.
    void showApplied(const BatchResult& result);
    // Why nothing can be previewed, in red.
    void showProblem(const QString& text);

    QLabel* summary = nullptr;
    QTreeWidget* refusals = nullptr;
    QPushButton* applyButton = nullptr;  // the dialog's default button
    QPushButton* cancelButton = nullptr;

private:
    void listRefusals(const BatchResult& result);
};

}  // namespace varkel
