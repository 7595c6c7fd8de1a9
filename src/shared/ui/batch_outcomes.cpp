#include "shared/ui/batch_outcomes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace varkel {

BatchOutcomes::BatchOutcomes(QWidget* parent) : QWidget(parent)
{
    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("summary"));
    summary->setWordWrap(true);
    refusals = new QTreeWidget(this);
    refusals->setObjectName(QStringLiteral("refusals"));
    refusals->setHeaderLabels({QStringLiteral("編號"), QStringLiteral("名稱"), QStringLiteral("不能修改的原因")});
    refusals->setRootIsDecorated(false);
    refusals->setColumnWidth(0, 60);
    refusals->setColumnWidth(1, 110);
    refusals->setMinimumHeight(120);
    applyButton = new QPushButton(QStringLiteral("應用(&Y)"), this);
    applyButton->setObjectName(QStringLiteral("applyButton"));
    applyButton->setDefault(true);
    cancelButton = new QPushButton(QStringLiteral("取消"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    cancelButton->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(applyButton);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(summary);
    layout->addWidget(refusals, 1);
    layout->addLayout(buttons);
}

void BatchOutcomes::showPreview(const BatchResult& result)
{
    using Result = BatchOutcome::Result;
    summary->setStyleSheet(QString());
    summary->setText(QStringLiteral("預覽: %1 筆記錄中，將修改 %2 筆，不變 %3 筆，不能修改 %4 筆。")
                         .arg(result.outcomes.size())
                         .arg(result.count(Result::Changed))
                         .arg(result.count(Result::Unchanged))
                         .arg(result.count(Result::Refused)));
    listRefusals(result);
}

void BatchOutcomes::showApplied(const BatchResult& result)
{
    using Result = BatchOutcome::Result;
    summary->setText(QStringLiteral("已修改 %1 筆。以下 %2 筆沒有修改:")
                         .arg(result.count(Result::Changed))
                         .arg(result.count(Result::Refused)));
    listRefusals(result);
    applyButton->setEnabled(false);
    cancelButton->setText(QStringLiteral("關閉"));
    cancelButton->setDefault(true);
    cancelButton->setFocus();
}

void BatchOutcomes::showProblem(const QString& text)
{
    refusals->clear();
    summary->setText(text);
    summary->setStyleSheet(QStringLiteral("color: #c00000;"));
}

void BatchOutcomes::listRefusals(const BatchResult& result)
{
    refusals->clear();
    for (const BatchOutcome& o : result.outcomes) {
        if (o.result != BatchOutcome::Result::Refused)
            continue;
        auto* item = new QTreeWidgetItem(
            refusals, {o.number < 0 ? QString() : QString::number(o.number), o.recordName, o.problem});
        item->setToolTip(2, o.problem);
    }
}

}  // namespace varkel
