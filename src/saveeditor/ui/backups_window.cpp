#include "saveeditor/ui/backups_window.h"

#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "shared/ui/keyboard.h"
#include "shared/ui/list_window.h"
#include "shared/ui/standard_error.h"
#include "shared/ui/unlike_file.h"
#include "shared/ui/window_geometry.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>

namespace varkel {

const char* const kUnlikeBackupQuestion = "這個備份看起來不像Varkel的存檔，仍要還原嗎？";

namespace {

QString TimeText(const QDateTime& time)
{
    return time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString NoteText(const BackupsWindow::Row& row)
{
    QStringList notes;
    if (!row.originKnown)
        notes << QStringLiteral("來源不明");
    if (row.asOnDisk)
        notes << QStringLiteral("與磁碟上的文件相同");
    return notes.join(QStringLiteral("，"));
}

}  // namespace

BackupsWindow::BackupsWindow(Session& session, SaveDocument& document,
                             std::function<void(const QString& backupPath)> compare, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      session_(session),
      document_(document),
      compare_(std::move(compare))
{
    setObjectName(QStringLiteral("BackupsWindow"));
    setAttribute(Qt::WA_DeleteOnClose);

    backups = new QTreeWidget(this);
    backups->setObjectName(QStringLiteral("backups"));
    backups->setHeaderLabels({QStringLiteral("時間"), QStringLiteral("大小"), QStringLiteral("備註")});
    backups->setRootIsDecorated(false);
    backups->setSelectionMode(QAbstractItemView::SingleSelection);
    backups->setAlternatingRowColors(true);
    backups->setUniformRowHeights(true);
    backups->setToolTip(QStringLiteral("雙擊或按回車鍵 可與目前的存檔比較"));
    const QFontMetrics metrics(font());
    backups->setColumnWidth(kTimeColumn, metrics.horizontalAdvance(QStringLiteral("0000-00-00 00:00:00")) + 24);
    backups->setColumnWidth(kSizeColumn, metrics.horizontalAdvance(QStringLiteral("4,194,304")) + 24);

    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("summary"));
    summary->setWordWrap(true);

    compareButton = new QPushButton(QStringLiteral("比較(&C)"), this);
    compareButton->setObjectName(QStringLiteral("compareButton"));
    restoreButton = new QPushButton(QStringLiteral("還原(&R)"), this);
    restoreButton->setObjectName(QStringLiteral("restoreButton"));
    restoreButton->setToolTip(QStringLiteral("把存檔內容換成選中的備份（一步，可撤銷；保存後才寫入文件）"));
    closeButton = new QPushButton(QStringLiteral("關閉"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));

    statusLine = MakeStatusLine(*this);

    // Enter belongs to the list (it compares), never to a button.
    LayOutListWindow(*this, backups, summary, {compareButton, restoreButton, closeButton}, statusLine);

    connect(backups, &QTreeWidget::itemActivated, this, &BackupsWindow::compareSelected);
    connect(backups, &QTreeWidget::itemSelectionChanged, this, &BackupsWindow::updateButtons);
    connect(compareButton, &QPushButton::clicked, this, &BackupsWindow::compareSelected);
    connect(restoreButton, &QPushButton::clicked, this, &BackupsWindow::restoreSelected);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(&document_, &Document::stateChanged, this, &BackupsWindow::stateChanged);

    TabOrder() << backups << compareButton << restoreButton << closeButton;
    refresh();
    KeepWindowGeometry(*this, session_);
    backups->setFocus();
}

void BackupsWindow::stateChanged()
{
    // A backup is made only by a save (after which the save holds nothing unsaved)
    // and another file has backups of its own; an Apply changes neither.
    if (document_.path() != listedPath_ || !document_.modified(SaveDocument::kSaveBuffer))
        refresh();
}

void BackupsWindow::refresh()
{
    const QString path = document_.path();
    const QString selected = selectedRow() ? selectedRow()->path : QString();
    listedPath_ = path;
    setWindowTitle(QStringLiteral("備份記錄 - %1").arg(QFileInfo(path).fileName()));

    index_ = BackupIndex::load(session_.files.backupFolder());
    rows_.clear();
    const auto add = [&](const std::vector<BackupEntry>& entries, bool originKnown) {
        for (const BackupEntry& entry : entries) {
            const QString backupPath = index_.pathOf(entry);
            rows_.push_back({entry, backupPath, originKnown, SameFileBytes(backupPath, path)});
        }
    };
    if (!path.isEmpty()) {
        add(index_.entriesFor(path), true);
        add(index_.unknownOriginNamedLike(path), false);
    }

    backups->clear();
    QTreeWidgetItem* again = nullptr;
    for (const Row& row : rows_) {
        auto* item =
            new QTreeWidgetItem(backups, {TimeText(row.entry.made), QLocale().toString(row.entry.size), NoteText(row)});
        item->setTextAlignment(kSizeColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(kTimeColumn, QDir::toNativeSeparators(row.path));
        if (row.path == selected)
            again = item;
    }
    if (!again && backups->topLevelItemCount() > 0)
        again = backups->topLevelItem(0);
    if (again)
        backups->setCurrentItem(again);

    summary->setText(rows_.empty() ? QStringLiteral("這個文件還沒有備份。")
                                   : QStringLiteral("共 %1 個備份，最新的在最上面。").arg(rows_.size()));
    updateButtons();
}

const BackupsWindow::Row* BackupsWindow::selectedRow() const
{
    const QList<QTreeWidgetItem*> selected = backups->selectedItems();
    if (selected.isEmpty())
        return nullptr;
    const int i = backups->indexOfTopLevelItem(selected.front());
    return i >= 0 && std::size_t(i) < rows_.size() ? &rows_[std::size_t(i)] : nullptr;
}

void BackupsWindow::updateButtons()
{
    const bool any = selectedRow() != nullptr;
    compareButton->setEnabled(any);
    restoreButton->setEnabled(any);
}

void BackupsWindow::compareSelected()
{
    if (const Row* row = selectedRow(); row && compare_)
        compare_(row->path);
}

QString BackupsWindow::refusalText(const BackupRead& read, const QString& backupPath)
{
    switch (read.refusal) {
    case BackupRead::Refusal::None:
        break;
    case BackupRead::Refusal::Missing:
        return QStringLiteral("找不到備份文件：%1").arg(QDir::toNativeSeparators(backupPath));
    case BackupRead::Refusal::OtherFile:
        return QStringLiteral("這是另一個文件的備份（%1），不能還原到這個存檔。")
            .arg(QDir::toNativeSeparators(read.otherOriginal));
    case BackupRead::Refusal::NotListed:
        return QStringLiteral("這個文件不是這個存檔的備份，沒有還原。");
    case BackupRead::Refusal::Unreadable:
        return QStringLiteral("無法讀取備份：%1").arg(ShownError(read.error));
    case BackupRead::Refusal::WrongSize:
        return QStringLiteral("這個備份有 %1 個字節，不像存檔，沒有還原。").arg(QLocale().toString(read.size));
    }
    return {};
}

bool BackupsWindow::restoreSelected()
{
    const Row* picked = selectedRow();
    if (!picked)
        return false;
    const Row row = *picked;  // the list is read again when the document changes
    const QString title = windowTitle();
    // A backup listed only by its name was picked by the user from this list: that
    // is naming it. Only what a save can be is read: the smallest file start-up
    // opens as a save, up to the largest any view opens.
    const BackupRead read = ReadBackupFor(index_, document_.path(), row.path, !row.originKnown,
                                          {save::kNewestSlotMinimumSize, save::kMaximumSaveSize});
    if (read.refusal != BackupRead::Refusal::None) {
        session_.prompter->tell(refusalText(read, row.path), title, MessageIcon::Warning);
        return false;
    }
    // Bytes that do not look like a save are asked about, as File > Open asks.
    if (!MayOpenUnlikeFile(*session_.prompter, SaveGame::shapeProblems(read.bytes), kUnlikeBackupQuestion))
        return false;
    const QString when = TimeText(row.entry.made);
    if (read.bytes == document_.bytes()) {
        statusLine->showMessage(QStringLiteral("存檔內容已與 %1 的備份相同。").arg(when));
        return false;
    }
    if (session_.prompter->ask(QStringLiteral("把存檔內容還原為 %1 的備份？還原後需要保存才會寫入文件。").arg(when),
                               title, MessageButtons::YesNo, MessageIcon::Question) != Answer::Yes)
        return false;
    const QByteArray bytes = read.bytes;
    const bool stored = document_.applyEverywhere(QStringLiteral("還原為 %1 的備份").arg(when),
                                                 [&bytes](QByteArray& save, ScenarioData&) {
        save = bytes;
        return true;
    });
    if (stored)
        statusLine->showMessage(QStringLiteral("已還原為 %1 的備份，保存後才會寫入文件（可以撤銷）。").arg(when));
    return stored;
}

}  // namespace varkel
