#include "shared/ui/import_dialog.h"

#include "shared/ui/batch_outcomes.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace varkel {

ImportDialog::ImportDialog(RecordSource& source, const QString& path, std::vector<ImportRow> rows, QWidget* parent)
    : QDialog(parent), source_(source), rows_(std::move(rows))
{
    setObjectName(QStringLiteral("ImportDialog"));
    setWindowTitle(QStringLiteral("匯入"));
    fileLabel = new QLabel(QStringLiteral("檔案: %1").arg(QDir::toNativeSeparators(path)), this);
    fileLabel->setObjectName(QStringLiteral("fileLabel"));
    fileLabel->setWordWrap(true);
    fileLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    outcomes = new BatchOutcomes(this);
    applyButton = outcomes->applyButton;
    cancelButton = outcomes->cancelButton;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fileLabel);
    layout->addWidget(outcomes, 1);

    connect(applyButton, &QPushButton::clicked, this, &ImportDialog::apply);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    result_ = source_.preview(run());
    outcomes->showPreview(result_);
    applyButton->setEnabled(result_.count(BatchOutcome::Result::Changed) > 0);
    resize(640, 420);
}

BatchRun ImportDialog::run() const
{
    return [this](RecordKind& kind, QByteArray& file) { return ImportRows(kind, file, rows_); };
}

void ImportDialog::apply()
{
    if (applied_)
        return;
    std::vector<int> records;
    for (const BatchOutcome& o : result_.outcomes)
        if (o.record >= 0)
            records.push_back(o.record);
    result_ = source_.apply(records, run());
    applied_ = true;
    if (result_.count(BatchOutcome::Result::Refused) == 0) {
        accept();
        return;
    }
    // The rows refused stay listed, with why, until the user closes the dialog.
    outcomes->showApplied(result_);
}

}  // namespace varkel
