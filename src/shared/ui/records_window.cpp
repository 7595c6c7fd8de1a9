#include "shared/ui/records_window.h"

#include "shared/file_io.h"
#include "shared/ini_file.h"
#include "shared/record_writer.h"
#include "shared/record_import.h"
#include "shared/ui/batch_dialog.h"
#include "shared/ui/import_dialog.h"
#include "shared/ui/keyboard.h"
#include "shared/ui/list_window.h"
#include "shared/ui/window_geometry.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include <set>

namespace varkel {

namespace {

const QString kColumnsSection = QStringLiteral("RecordTables");
// A file of edits of every record of a kind is well under a megabyte.
constexpr qint64 kMostImportBytes = 64 * 1024 * 1024;

// The filter box shows a filter that cannot be read in red.
void markBad(QLineEdit* box, bool bad)
{
    box->setStyleSheet(bad ? QStringLiteral("QLineEdit { color: #c00000; }") : QString());
}

}  // namespace

RecordsWindow::RecordsWindow(Session& session, RecordSource& source, const QString& what,
                             std::function<void(int)> showRecord, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      session_(session),
      source_(source),
      what_(what),
      table_(this),
      filtered_(table_, this),
      showRecord_(std::move(showRecord))
{
    setObjectName(QStringLiteral("RecordsWindow_") + source.kind().name());
    setWindowTitle(QStringLiteral("一覽表 - %1").arg(what));
    setAttribute(Qt::WA_DeleteOnClose);

    QHBoxLayout* filterRow = buildFilterRow();
    buildTable();
    QHBoxLayout* buttons = buildButtons();
    statusLine = MakeStatusLine(*this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 0);
    layout->addLayout(filterRow);
    layout->addWidget(view, 1);
    layout->addLayout(buttons);
    layout->addWidget(statusLine);
    connectControls();

    TabOrder() << filterBox << view << batchButton << exportButton << importButton << copyButton << closeButton;
    restoreColumns();
    updateCount();
    KeepWindowGeometry(*this, session_);
    filterBox->setFocus();
}

QHBoxLayout* RecordsWindow::buildFilterRow()
{
    auto* filterLabel = new QLabel(QStringLiteral("篩選(&F):"), this);
    filterBox = new QLineEdit(this);
    filterBox->setObjectName(QStringLiteral("filterBox"));
    filterBox->setClearButtonEnabled(true);
    filterBox->setPlaceholderText(QStringLiteral("例: 武力>=90 身份=在野"));
    filterBox->setToolTip(QStringLiteral("條件以空格分開，須全部成立。\n"
                                         "運算: = != < <= > >= ~(包含)\n"
                                         "欄位可用標題或英文鍵名；值可用數字或清單文字。"));
    filterLabel->setBuddy(filterBox);
    TakeSearchKeys(filterBox);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(filterBox, 1);
    return filterRow;
}

void RecordsWindow::buildTable()
{
    table_.show(source_.kind());
    view = new QTableView(this);
    view->setObjectName(QStringLiteral("recordsTable"));
    view->setModel(&filtered_);
    view->setSortingEnabled(true);
    view->sortByColumn(RecordTableModel::kNumberColumn, Qt::AscendingOrder);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->setTabKeyNavigation(false);  // Tab leaves the table; the arrows move in it
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    view->horizontalHeader()->setSectionsMovable(false);
    view->horizontalHeader()->setToolTip(QStringLiteral("按右鍵選擇顯示的欄位"));
    // Each column as wide as its caption and its widest cell, up to sixteen characters;
    // a cell cut shows whole on hover.
    ShowCutTextsOnHover(*view);
    const QFontMetrics metrics(view->font());
    const int widest = metrics.horizontalAdvance(QString(16, QChar(0x570B)));  // 國
    for (int c = 0; c < table_.columnCount(); ++c)
        view->setColumnWidth(c, ColumnWidth(metrics, table_.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(),
                                            table_.widestText(c), widest));
}

QHBoxLayout* RecordsWindow::buildButtons()
{
    countLabel = new QLabel(this);
    countLabel->setObjectName(QStringLiteral("countLabel"));
    batchButton = new QPushButton(QStringLiteral("批量修改(&B)..."), this);
    batchButton->setObjectName(QStringLiteral("batchButton"));
    exportButton = new QPushButton(QStringLiteral("匯出CSV(&E)..."), this);
    exportButton->setObjectName(QStringLiteral("exportButton"));
    importButton = new QPushButton(QStringLiteral("匯入(&I)..."), this);
    importButton->setObjectName(QStringLiteral("importButton"));
    importButton->setToolTip(QStringLiteral("匯入匯出過的 CSV 或 JSON（可在試算表中修改），預覽後一次修改"));
    copyButton = new QPushButton(QStringLiteral("複製(&C)"), this);
    copyButton->setObjectName(QStringLiteral("copyButton"));
    closeButton = new QPushButton(QStringLiteral("關閉"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(countLabel, 1);
    // Enter belongs to the filter box and the table (it shows the record), never to a button.
    for (QPushButton* button : {batchButton, exportButton, importButton, copyButton, closeButton}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    return buttons;
}

void RecordsWindow::connectControls()
{
    auto* copy = new QAction(this);
    copy->setShortcuts(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    view->addAction(copy);
    connect(copy, &QAction::triggered, this, &RecordsWindow::copySelection);

    connect(filterBox, &QLineEdit::textChanged, this, &RecordsWindow::filterTyped);
    connect(view, &QTableView::activated, this,
            [this](const QModelIndex& index) { showRecord_(filtered_.mapToSource(index).row()); });
    connect(view->horizontalHeader(), &QHeaderView::customContextMenuRequested, this, &RecordsWindow::chooseColumns);
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, &RecordsWindow::updateCount);
    connect(&filtered_, &QAbstractItemModel::rowsInserted, this, &RecordsWindow::updateCount);
    connect(&filtered_, &QAbstractItemModel::rowsRemoved, this, &RecordsWindow::updateCount);
    connect(&filtered_, &QAbstractItemModel::modelReset, this, &RecordsWindow::updateCount);
    connect(&filtered_, &QAbstractItemModel::layoutChanged, this, &RecordsWindow::updateCount);
    connect(batchButton, &QPushButton::clicked, this, &RecordsWindow::openBatch);
    connect(exportButton, &QPushButton::clicked, this, &RecordsWindow::exportCsv);
    connect(importButton, &QPushButton::clicked, this, &RecordsWindow::importFile);
    connect(copyButton, &QPushButton::clicked, this, &RecordsWindow::copySelection);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(&source_.document(), &Document::changed, this, &RecordsWindow::documentChanged);
}

void RecordsWindow::filterTyped(const QString& text)
{
    FilterError error;
    const bool good = filtered_.setFilterText(text, &error);
    markBad(filterBox, !good);
    if (good)
        statusLine->clearMessage();
    else
        statusLine->showMessage(error.message);
}

void RecordsWindow::documentChanged(const DocumentChange& change)
{
    // The kind reads the document's new bytes before any row is read.
    const RecordKind& kind = source_.kind();
    if (change.everything() || kind.count() != table_.rowCount())
        table_.refreshAll(kind);
    else if (change.kind == source_.documentKind())
        table_.refresh(kind, change.records);
    else
        // An edit of another kind can change what these records show (a renamed
        // officer heads a city); reading every row costs a few milliseconds.
        table_.refreshAll(kind);
    filtered_.reread();
    updateCount();
}

void RecordsWindow::updateCount()
{
    const int selected = int(view->selectionModel()->selectedRows().size());
    QString text = QStringLiteral("顯示 %1 / 共 %2 筆").arg(filtered_.rowCount()).arg(table_.rowCount());
    if (selected > 0)
        text += QStringLiteral("，選中 %1 筆").arg(selected);
    countLabel->setText(text);
}

std::vector<int> RecordsWindow::selectedRecords() const
{
    std::set<int> rows;
    for (const QModelIndex& index : view->selectionModel()->selectedRows())
        rows.insert(index.row());
    std::vector<int> records;
    for (const int row : rows)
        records.push_back(filtered_.mapToSource(filtered_.index(row, 0)).row());
    return records;
}

void RecordsWindow::openBatch()
{
    if (beforeBatch_ && !beforeBatch_())
        return;
    BatchDialog dialog(source_, selectedRecords(), filtered_.shownRecords(), this);
    dialog.exec();
}

bool RecordsWindow::exportCsv()
{
    const QString suggested = QStringLiteral("%1-%2.csv").arg(QFileInfo(source_.document().path()).completeBaseName(),
                                                              what_);
    QString path = ShowSaveDialog(*session_.dialogs, {QStringLiteral("CSV 文件"), QStringLiteral("*.csv"),
                                                      QStringLiteral("匯出CSV"), documentsFolder() + suggested});
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    const RecordWriter writer(source_.kind());
    std::string csv = kUtf8Bom + writer.csvHeader(ColumnNames::Captions);
    for (const int n : filtered_.shownRecords())
        csv += writer.csvRow(n);
    if (const auto error = WriteRegularFile(path, QByteArray::fromStdString(csv), session_.files.io())) {
        statusLine->showMessage(QStringLiteral("無法寫入 %1: %2").arg(path, error->message()));
        return false;
    }
    statusLine->showMessage(QStringLiteral("已匯出 %1 筆到 %2").arg(filtered_.rowCount()).arg(path));
    return true;
}

bool RecordsWindow::importFile()
{
    if (beforeBatch_ && !beforeBatch_())
        return false;
    const QString path =
        ShowOpenDialog(*session_.dialogs, {QStringLiteral("CSV 或 JSON 文件"), QStringLiteral("*.csv *.json *.jsonl"),
                                           QStringLiteral("匯入"), documentsFolder()});
    if (path.isEmpty())
        return false;
    const QString title = QStringLiteral("匯入");
    RuntimeError error;
    const auto bytes = ReadRegularFile(path, kMostImportBytes, &error, session_.files.io());
    if (!bytes) {
        session_.prompter->tell(QStringLiteral("無法讀取 %1: %2").arg(QDir::toNativeSeparators(path), error.message()),
                                title, MessageIcon::Warning);
        return false;
    }
    EditsFile edits = ReadEditsFile(*bytes);
    if (edits.problem || edits.rows.empty()) {
        session_.prompter->tell(edits.problem ? edits.problem->chinese : QStringLiteral("檔案中沒有記錄。"), title,
                                MessageIcon::Warning);
        return false;
    }
    ImportDialog dialog(source_, path, std::move(edits.rows), this);
    dialog.exec();
    if (!dialog.applied())
        return false;
    statusLine->showMessage(
        QStringLiteral("已匯入 %1 筆的修改").arg(dialog.result().count(BatchOutcome::Result::Changed)));
    return true;
}

QString RecordsWindow::documentsFolder()
{
    // The home folder where there is no documents folder (a desktop without one).
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return folder + QLatin1Char('/');
}

QString RecordsWindow::selectionText() const
{
    std::vector<int> columns;
    for (int c = 0; c < table_.columnCount(); ++c)
        if (!view->isColumnHidden(c))
            columns.push_back(c);
    QStringList lines;
    QStringList header;
    for (const int c : columns)
        header << table_.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    lines << header.join(QLatin1Char('\t'));
    for (const int n : selectedRecords()) {
        QStringList cells;
        for (const int c : columns)
            cells << table_.text(n, c);
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void RecordsWindow::copySelection()
{
    const auto records = selectedRecords();
    if (records.empty())
        return;
    QApplication::clipboard()->setText(selectionText());
    statusLine->showMessage(QStringLiteral("已複製 %1 筆").arg(records.size()));
}

QMenu* RecordsWindow::columnsMenu()
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("columnsMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (int c = table_.firstFieldColumn(); c < table_.columnCount(); ++c) {
        QAction* action = menu->addAction(table_.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
        action->setCheckable(true);
        action->setChecked(!view->isColumnHidden(c));
        connect(action, &QAction::toggled, this, [this, c](bool shown) {
            view->setColumnHidden(c, !shown);
            storeColumns();
        });
    }
    return menu;
}

void RecordsWindow::chooseColumns(const QPoint& at)
{
    columnsMenu()->popup(view->horizontalHeader()->mapToGlobal(at));
}

// Stored as "<field count>:<hex digits>", one bit per field, set for a hidden one;
// a table of another length reads as all shown.
void RecordsWindow::restoreColumns()
{
    const QString stored = ReadIniValue(session_.settingsPath, kColumnsSection, source_.kind().name());
    const int fields = table_.columnCount() - table_.firstFieldColumn();
    const qsizetype colon = stored.indexOf(QLatin1Char(':'));
    if (colon < 0 || stored.left(colon).toInt() != fields)
        return;
    const QString digits = stored.mid(colon + 1);
    for (int i = 0; i < fields; ++i) {
        const qsizetype at = i / 4;
        bool ok = false;
        const int nibble = at < digits.size() ? digits.mid(at, 1).toInt(&ok, 16) : 0;
        if (ok && (nibble >> (i % 4)) & 1)
            view->setColumnHidden(table_.firstFieldColumn() + i, true);
    }
}

void RecordsWindow::storeColumns()
{
    if (session_.settingsPath.isEmpty())
        return;
    const int fields = table_.columnCount() - table_.firstFieldColumn();
    QString digits;
    for (int at = 0; at * 4 < fields; ++at) {
        int nibble = 0;
        for (int b = 0; b < 4 && at * 4 + b < fields; ++b)
            if (view->isColumnHidden(table_.firstFieldColumn() + at * 4 + b))
                nibble |= 1 << b;
        digits += QString::number(nibble, 16);
    }
    // Losing the choice of columns costs the user nothing worth a message.
    (void)WriteIniValue(session_.settingsPath, kColumnsSection, source_.kind().name(),
                        QStringLiteral("%1:%2").arg(fields).arg(digits), session_.files.io());
}

}  // namespace varkel
