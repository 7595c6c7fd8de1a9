#pragma once

#include "shared/record_batch.h"
#include "shared/record_import.h"
#include "shared/record_source.h"

#include <QDialog>

#include <vector>

class QLabel;
class QPushButton;

namespace varkel {

class BatchOutcomes;

// Brings the rows of a file of edits (a CSV or JSON as the records window or
// `varkel-cli dump` writes it) back into the records of one kind: a preview of
// what they change, leave and refuse, then one Apply that makes them as one undo
// step and lists the rows refused.
class ImportDialog : public QDialog {
    Q_OBJECT
public:
    ImportDialog(RecordSource& source, const QString& path, std::vector<ImportRow> rows, QWidget* parent);

    // The preview, or the result of Apply once it was made.
    const BatchResult& result() const { return result_; }
    bool applied() const { return applied_; }
    void apply();

    QLabel* fileLabel = nullptr;
    BatchOutcomes* outcomes = nullptr;
    QPushButton* applyButton = nullptr;
    QPushButton* cancelButton = nullptr;

private:
    BatchRun run() const;

    RecordSource& source_;
    std::vector<ImportRow> rows_;
    BatchResult result_;
    bool applied_ = false;
};

}  // namespace varkel
