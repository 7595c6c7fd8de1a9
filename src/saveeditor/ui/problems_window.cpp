#include "saveeditor/ui/problems_window.h"

#include "shared/ui/keyboard.h"
#include "shared/ui/list_window.h"
#include "shared/ui/window_geometry.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <set>

namespace varkel {

namespace {

enum Column { KindColumn, RecordColumn, FieldColumn, ValueColumn, ReasonColumn, MendColumn };

QString kindCaption(const FileProblem& p)
{
    const auto kind = SaveRecordNamed(p.kindName);
    return kind ? SaveRecordCaption(*kind) : QStringLiteral("存檔");
}

}  // namespace

std::vector<FileProblem> FindSaveProblems(const SaveDocument& document, const SaveKindsContext& context)
{
    QByteArray save = document.bytes();
    QByteArray scenario = document.scenario().bytes;
    const RecordKinds kinds = MakeSaveKinds(context, &scenario);
    for (const auto& kind : kinds)
        kind->load(save);
    return FindProblems(kinds);
}

ProblemsWindow::ProblemsWindow(Session& session, SaveDocument& document, SaveKindsContext context,
                               std::function<void(SaveRecord, int)> showRecord, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      session_(session),
      document_(document),
      context_(std::move(context)),
      showRecord_(std::move(showRecord))
{
    setObjectName(QStringLiteral("ProblemsWindow"));
    setWindowTitle(QStringLiteral("檢查存檔"));
    setAttribute(Qt::WA_DeleteOnClose);

    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("summary"));
    summary->setWordWrap(true);
    list = new QTreeWidget(this);
    list->setObjectName(QStringLiteral("problems"));
    list->setHeaderLabels({QStringLiteral("種類"), QStringLiteral("記錄"), QStringLiteral("欄位"),
                           QStringLiteral("存值"), QStringLiteral("原因"), QStringLiteral("可以修復")});
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setAlternatingRowColors(true);
    // A long reason wraps in its column, which takes the room the others leave.
    list->setWordWrap(true);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(ReasonColumn, QHeaderView::Stretch);
    ShowCutTextsOnHover(*list);
    const QFontMetrics metrics(font());
    list->setColumnWidth(KindColumn, metrics.horizontalAdvance(QStringLiteral("家庭成員")) + 16);
    list->setColumnWidth(RecordColumn, metrics.horizontalAdvance(QStringLiteral("1023 國國國國")) + 16);
    list->setColumnWidth(FieldColumn, metrics.horizontalAdvance(QStringLiteral("國國國國")) + 16);
    list->setColumnWidth(ValueColumn, metrics.horizontalAdvance(QStringLiteral("65535")) + 16);
    list->setColumnWidth(MendColumn, metrics.horizontalAdvance(QStringLiteral("國")) * 12);

    mendButton = new QPushButton(QStringLiteral("修復選中的問題(&M)..."), this);
    mendButton->setObjectName(QStringLiteral("mendButton"));
    closeButton = new QPushButton(QStringLiteral("關閉"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    for (QPushButton* b : {mendButton, closeButton})
        b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(mendButton);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(list, 1);
    layout->addLayout(buttons);

    connect(list, &QTreeWidget::itemSelectionChanged, this, &ProblemsWindow::updateButtons);
    // Enter or a double-click shows the record of the problem.
    connect(list, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { showProblem(std::size_t(list->indexOfTopLevelItem(item))); });
    connect(mendButton, &QPushButton::clicked, this, &ProblemsWindow::mendSelected);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(&document, &Document::changed, this, &ProblemsWindow::refresh);

    TabOrder() << list << mendButton << closeButton;
    refresh();
    KeepWindowGeometry(*this, session_);
    list->setFocus();
}

void ProblemsWindow::refresh()
{
    problems_ = FindSaveProblems(document_, context_);
    list->clear();
    int mendable = 0;
    for (const FileProblem& p : problems_) {
        const QString record = p.record < 0 ? QStringLiteral("整個文件")
                                            : QStringLiteral("%1 %2").arg(p.number).arg(p.recordName).trimmed();
        auto* item = new QTreeWidgetItem(list, {kindCaption(p), record, p.caption,
                                                QString::number(p.value), p.reason, p.mend ? p.mendText : QString()});
        item->setToolTip(ReasonColumn, p.reason);
        item->setToolTip(MendColumn, p.mendText);
        mendable += p.mend ? 1 : 0;
    }
    if (problems_.empty())
        summary->setText(QStringLiteral("沒有發現問題。"));
    else
        summary->setText(QStringLiteral("發現 %1 個問題，其中 %2 個可以修復。雙擊一行可看該記錄。")
                             .arg(problems_.size())
                             .arg(mendable));
    updateButtons();
}

std::vector<std::size_t> ProblemsWindow::selectedProblems() const
{
    std::set<std::size_t> rows;
    for (QTreeWidgetItem* item : list->selectedItems())
        rows.insert(std::size_t(list->indexOfTopLevelItem(item)));
    return {rows.begin(), rows.end()};
}

void ProblemsWindow::updateButtons()
{
    const auto picked = selectedProblems();
    mendButton->setEnabled(std::any_of(picked.begin(), picked.end(), [this](std::size_t i) {
        return i < problems_.size() && problems_[i].mend.has_value();
    }));
}

void ProblemsWindow::showProblem(std::size_t i)
{
    if (i >= problems_.size() || problems_[i].record < 0)
        return;
    if (const auto kind = SaveRecordNamed(problems_[i].kindName))
        showRecord_(*kind, problems_[i].record);
}

bool ProblemsWindow::mendSelected()
{
    std::vector<std::size_t> picked;
    QStringList writes;
    for (const std::size_t i : selectedProblems()) {
        if (!problems_[i].mend)
            continue;
        picked.push_back(i);
        writes << QStringLiteral("・%1 %2: %3")
                      .arg(kindCaption(problems_[i]), QString::number(problems_[i].number), problems_[i].mendText);
    }
    if (picked.empty())
        return false;
    const QString question = QStringLiteral("將寫入:\n%1\n\n修復後需要保存才會寫入文件，也可以撤銷。要修復嗎？")
                                 .arg(writes.join(QLatin1Char('\n')));
    if (session_.prompter->ask(question, windowTitle(), MessageButtons::YesNo, MessageIcon::Question) != Answer::Yes)
        return false;
    std::vector<EditRefusal> refused;
    const bool stored = ApplySaveEdits(document_, QStringLiteral("修正 %1 個問題").arg(picked.size()), context_,
                                       Mends(problems_, picked), &refused);
    if (!refused.empty()) {
        QStringList why;
        for (const EditRefusal& r : refused)
            why << r.problem;
        session_.prompter->tell(QStringLiteral("以下問題沒有修復:\n%1").arg(why.join(QLatin1Char('\n'))), windowTitle(),
                                MessageIcon::Warning);
    }
    return stored;
}

ProblemsNote::ProblemsNote(QStatusBar& line, const std::function<void()>& openList) : QLabel(&line)
{
    setObjectName(QStringLiteral("problemsNote"));
    setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    setToolTip(QStringLiteral("按一下打開問題清單"));
    hide();
    line.addPermanentWidget(this);
    connect(this, &QLabel::linkActivated, this, openList);
}

void ProblemsNote::count(const SaveDocument& document, const SaveKindsContext& context)
{
    const std::size_t found = FindSaveProblems(document, context).size();
    setText(QStringLiteral("<a href=\"problems\">發現 %1 個問題</a>").arg(found));
    setVisible(found > 0);
}

}  // namespace varkel
