#include "saveeditor/ui/compare_window.h"

#include "saveeditor/intimacy_kind.h"
#include "shared/ui/keyboard.h"
#include "shared/ui/list_window.h"
#include "shared/ui/window_geometry.h"

#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>

#include <set>
#include <tuple>

namespace varkel {

namespace {

using Presence = RecordDifference::Presence;

// What each row keeps of what it stands for.
enum Role { kLevelRole = Qt::UserRole, kKindRole, kRecordRole, kFieldRole };

// The document's name for the records of the kind named `kindName`, the levels of
// one player slot included; nothing for a kind no view shows.
std::optional<SaveRecord> SaveRecordOfKind(const QString& kindName)
{
    if (const auto kind = SaveRecordNamed(kindName))
        return kind;
    if (kindName == IntimacyKind(0, false).name())
        return SaveRecord::Intimacy;
    return std::nullopt;
}

QString KindCaption(const QString& kindName)
{
    const auto kind = SaveRecordOfKind(kindName);
    return kind ? SaveRecordCaption(*kind) : kindName;
}

QString RecordText(const RecordDifference& record)
{
    return QStringLiteral("%1 %2").arg(record.number).arg(record.name).trimmed();
}

CompareWindow::RowLevel LevelOf(const QTreeWidgetItem* item)
{
    return CompareWindow::RowLevel(item->data(0, kLevelRole).toInt());
}

std::size_t KindOf(const QTreeWidgetItem* item)
{
    return std::size_t(item->data(0, kKindRole).toULongLong());
}

int RecordOf(const QTreeWidgetItem* item)
{
    return item->data(0, kRecordRole).toInt();
}

std::size_t FieldOf(const QTreeWidgetItem* item)
{
    return std::size_t(item->data(0, kFieldRole).toULongLong());
}

QTreeWidgetItem* NewRow(CompareWindow::RowLevel level, std::size_t kind, int record, std::size_t field,
                        const QStringList& texts)
{
    auto* item = new QTreeWidgetItem(texts);
    item->setData(0, kLevelRole, int(level));
    item->setData(0, kKindRole, qulonglong(kind));
    item->setData(0, kRecordRole, record);
    item->setData(0, kFieldRole, qulonglong(field));
    return item;
}

// Where a row is, to find it again after the tree is filled afresh.
using RowKey = std::tuple<int, std::size_t, int, std::size_t>;

RowKey KeyOf(const QTreeWidgetItem* item)
{
    return {int(LevelOf(item)), KindOf(item), RecordOf(item), FieldOf(item)};
}

// The rows the user opened or closed, and the one they were on, which stay so
// when the tree is filled afresh.
struct OpenRows {
    std::set<std::size_t> closedKinds;
    std::set<std::pair<std::size_t, int>> openRecords;
    RowKey current{-1, 0, 0, 0};  // level -1 names no row
};

OpenRows OpenRowsOf(const QTreeWidget& tree)
{
    OpenRows open;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        const QTreeWidgetItem* kind = tree.topLevelItem(i);
        if (!kind->isExpanded())
            open.closedKinds.insert(KindOf(kind));
        for (int j = 0; j < kind->childCount(); ++j)
            if (kind->child(j)->isExpanded())
                open.openRecords.insert({KindOf(kind), RecordOf(kind->child(j))});
    }
    if (tree.currentItem())
        open.current = KeyOf(tree.currentItem());
    return open;
}

// A record's row with a row per differing field under it. `again` is set to the
// row that stands where `current` stood.
QTreeWidgetItem* RecordRow(std::size_t kind, const RecordDifference& record, const QBrush& fixed,
                           const RowKey& current, QTreeWidgetItem*& again)
{
    QStringList texts{RecordText(record), QString(), QString()};
    if (record.presence == Presence::OnlyOurs)
        texts[CompareWindow::kOursColumn] = QStringLiteral("只在這裡");
    else if (record.presence == Presence::OnlyTheirs)
        texts[CompareWindow::kTheirsColumn] = QStringLiteral("只在那裡");
    QTreeWidgetItem* recordRow = NewRow(CompareWindow::RowLevel::Record, kind, record.record, 0, texts);
    for (const FieldDifference& field : record.fields) {
        QTreeWidgetItem* fieldRow = NewRow(CompareWindow::RowLevel::Field, kind, record.record, field.field,
                                           {field.caption, field.oursShown(), field.theirsShown()});
        fieldRow->setToolTip(CompareWindow::kOursColumn, field.oursShown());
        fieldRow->setToolTip(CompareWindow::kTheirsColumn, field.theirsShown());
        if (field.readOnly) {
            // Worked out from other fields, or set elsewhere: it follows them.
            fieldRow->setToolTip(CompareWindow::kFieldColumn, QStringLiteral("這個欄位不能直接修改"));
            for (int c = CompareWindow::kFieldColumn; c <= CompareWindow::kTheirsColumn; ++c)
                fieldRow->setForeground(c, fixed);
        }
        recordRow->addChild(fieldRow);
        if (KeyOf(fieldRow) == current)
            again = fieldRow;
    }
    if (KeyOf(recordRow) == current)
        again = recordRow;
    return recordRow;
}

}  // namespace

CompareWindow::CompareWindow(Session& session, SaveDocument& document, SaveKindsContext context, QString otherPath,
                             QByteArray otherBytes, std::function<void(SaveRecord, int)> showRecord, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      session_(session),
      document_(document),
      context_(std::move(context)),
      otherPath_(std::move(otherPath)),
      theirs_(std::move(otherBytes)),
      showRecord_(std::move(showRecord))
{
    setObjectName(QStringLiteral("CompareWindow"));
    setWindowTitle(QStringLiteral("比較存檔 - %1").arg(QFileInfo(otherPath_).fileName()));
    setAttribute(Qt::WA_DeleteOnClose);

    differences = new QTreeWidget(this);
    differences->setObjectName(QStringLiteral("differences"));
    differences->setHeaderLabels({QStringLiteral("欄位"), QStringLiteral("這裡"), QStringLiteral("那裡")});
    differences->setSelectionMode(QAbstractItemView::SingleSelection);
    differences->setAlternatingRowColors(true);
    differences->setUniformRowHeights(true);
    // A double-click shows the record; the arrows and the branch marks open and close rows.
    differences->setExpandsOnDoubleClick(false);
    differences->setToolTip(QStringLiteral("雙擊或按回車鍵 可在編輯視窗中看該記錄"));
    const QFontMetrics metrics(font());
    differences->setColumnWidth(kFieldColumn, metrics.horizontalAdvance(QStringLiteral("國")) * 14);
    differences->setColumnWidth(kOursColumn, metrics.horizontalAdvance(QStringLiteral("國")) * 14);

    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("summary"));
    summary->setWordWrap(true);

    takeButton = new QPushButton(QStringLiteral("採用對方的值(&T)"), this);
    takeButton->setObjectName(QStringLiteral("takeButton"));
    takeButton->setToolTip(QStringLiteral("選中的欄位、記錄或整類記錄改為對方的值（一步，可撤銷）"));
    takeAllButton = new QPushButton(QStringLiteral("全部採用(&A)"), this);
    takeAllButton->setObjectName(QStringLiteral("takeAllButton"));
    takeAllButton->setToolTip(QStringLiteral("所有不同的欄位都改為對方的值（一步，可撤銷）"));
    closeButton = new QPushButton(QStringLiteral("關閉"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));

    statusLine = MakeStatusLine(*this);

    // Enter belongs to the tree (it shows the record), never to a button.
    LayOutListWindow(*this, differences, summary, {takeButton, takeAllButton, closeButton}, statusLine);

    connect(differences, &QTreeWidget::itemActivated, this, &CompareWindow::rowActivated);
    connect(differences, &QTreeWidget::itemSelectionChanged, this, &CompareWindow::updateButtons);
    connect(takeButton, &QPushButton::clicked, this, &CompareWindow::takeSelected);
    connect(takeAllButton, &QPushButton::clicked, this, &CompareWindow::takeEverything);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    // The comparison belongs to the file it was opened over: another file in its
    // place closes it, and what it took over stays on that file's history.
    connect(&document_, &Document::changed, this, [this](const DocumentChange& change) {
        if (change.cause == DocumentChange::Cause::Open)
            close();
        else
            refresh();
    });

    TabOrder() << differences << takeButton << takeAllButton << closeButton;
    refresh();
    KeepWindowGeometry(*this, session_);
    differences->setFocus();
}

void CompareWindow::refresh()
{
    // Both sides are read through kinds of their own over copies: the treasures'
    // attributes come from the one scenario file, so only what the saves hold differs.
    QByteArray ours = document_.bytes();
    QByteArray theirs = theirs_;
    QByteArray scenario = document_.scenario().bytes;
    const RecordKinds oursKinds = MakeSaveKinds(context_, &scenario);
    const RecordKinds theirsKinds = MakeSaveKinds(context_, &scenario);
    for (const auto& kind : oursKinds)
        kind->load(ours);
    for (const auto& kind : theirsKinds)
        kind->load(theirs);
    comparison_ = CompareFiles(oursKinds, ours, theirsKinds, theirs);
    fillTree();
}

void CompareWindow::fillTree()
{
    const OpenRows open = OpenRowsOf(*differences);
    differences->clear();
    QTreeWidgetItem* again = nullptr;
    const QBrush fixed = palette().brush(QPalette::Disabled, QPalette::Text);
    QList<QTreeWidgetItem*> kinds;
    for (const KindDifference& kind : comparison_.kinds) {
        QTreeWidgetItem* kindRow =
            NewRow(RowLevel::Kind, kind.kind, 0, 0,
                   {QStringLiteral("%1（%2 筆）").arg(KindCaption(kind.name)).arg(kind.records.size())});
        for (const RecordDifference& record : kind.records)
            kindRow->addChild(RecordRow(kind.kind, record, fixed, open.current, again));
        kinds << kindRow;
        if (KeyOf(kindRow) == open.current)
            again = kindRow;
    }
    differences->addTopLevelItems(kinds);
    for (QTreeWidgetItem* kindRow : kinds) {
        kindRow->setFirstColumnSpanned(true);
        kindRow->setExpanded(!open.closedKinds.contains(KindOf(kindRow)));
        for (int j = 0; j < kindRow->childCount(); ++j)
            kindRow->child(j)->setExpanded(open.openRecords.contains({KindOf(kindRow), RecordOf(kindRow->child(j))}));
    }
    if (again)
        differences->setCurrentItem(again);
    showSummary();
    updateButtons();
}

void CompareWindow::showSummary()
{
    QStringList lines;
    if (!comparison_.found())
        lines << QStringLiteral("沒有不同");
    if (comparison_.unownedCount > 0) {
        lines << QStringLiteral("另有 %1 個字節不同，不屬於任何欄位").arg(QLocale().toString(comparison_.unownedCount));
        QStringList at;
        for (const qsizetype offset : comparison_.firstUnowned)
            at << QStringLiteral("0x%1").arg(QString::number(offset, 16).toUpper());
        summary->setToolTip(QStringLiteral("最先的位置：%1").arg(at.join(QStringLiteral("、"))));
    } else {
        summary->setToolTip(QString());
    }
    if (comparison_.oursSize != comparison_.theirsSize)
        lines << QStringLiteral("這裡 %1 個字節，那裡 %2 個字節")
                     .arg(QLocale().toString(comparison_.oursSize), QLocale().toString(comparison_.theirsSize));
    summary->setText(lines.join(QLatin1Char('\n')));
    summary->setVisible(!lines.isEmpty());
}

QTreeWidgetItem* CompareWindow::kindRow(std::size_t kind) const
{
    for (int i = 0; i < differences->topLevelItemCount(); ++i)
        if (KindOf(differences->topLevelItem(i)) == kind)
            return differences->topLevelItem(i);
    return nullptr;
}

QTreeWidgetItem* CompareWindow::recordRow(std::size_t kind, int place) const
{
    QTreeWidgetItem* parent = kindRow(kind);
    for (int j = 0; parent && j < parent->childCount(); ++j)
        if (RecordOf(parent->child(j)) == place)
            return parent->child(j);
    return nullptr;
}

std::optional<TakeSelection> CompareWindow::selectionOf(const QTreeWidgetItem* item) const
{
    if (!item)
        return std::nullopt;
    switch (LevelOf(item)) {
    case RowLevel::Kind:
        return TakeSelection::oneKind(KindOf(item));
    case RowLevel::Record:
        return TakeSelection::oneRecord(KindOf(item), RecordOf(item));
    case RowLevel::Field:
        return TakeSelection::oneField(KindOf(item), RecordOf(item), FieldOf(item));
    }
    return std::nullopt;
}

void CompareWindow::updateButtons()
{
    const QList<QTreeWidgetItem*> selected = differences->selectedItems();
    takeButton->setEnabled(!selected.isEmpty());
    takeAllButton->setEnabled(!comparison_.kinds.empty());
}

void CompareWindow::rowActivated(QTreeWidgetItem* item)
{
    if (!item)
        return;
    if (LevelOf(item) == RowLevel::Kind) {
        item->setExpanded(!item->isExpanded());
        return;
    }
    const KindDifference* kind = comparison_.kind(KindOf(item));
    const RecordDifference* record = comparison_.record(KindOf(item), RecordOf(item));
    if (!kind || !record)
        return;
    if (record->presence == Presence::OnlyTheirs) {
        statusLine->showMessage(QStringLiteral("這筆記錄只在那裡，這個存檔沒有。"));
        return;
    }
    if (const auto shown = SaveRecordOfKind(kind->name); shown && showRecord_)
        showRecord_(*shown, record->record);
}

bool CompareWindow::takeSelected()
{
    const QList<QTreeWidgetItem*> selected = differences->selectedItems();
    const auto selection = selectionOf(selected.isEmpty() ? nullptr : selected.front());
    return selection && take(*selection);
}

bool CompareWindow::takeEverything()
{
    return take(TakeSelection::everything());
}

QString CompareWindow::recordLabel(std::size_t kind, int place) const
{
    const KindDifference* k = comparison_.kind(kind);
    const RecordDifference* r = comparison_.record(kind, place);
    if (!k || !r)
        return QString::number(place);
    return KindCaption(k->name) + QLatin1Char(' ') + RecordText(*r);
}

bool CompareWindow::take(const TakeSelection& selection)
{
    const TakeTheirs taken = TheirsEdits(comparison_, selection);
    // The records are named now: once the document changes, the comparison is made afresh.
    QStringList why;
    for (const EditRefusal& r : taken.refused)
        why << recordLabel(r.kind, r.record) + QStringLiteral("：") + r.problem;
    std::vector<QString> labels;
    for (const RecordEdit& e : taken.edits)
        labels.push_back(recordLabel(e.kind, e.record));

    bool stored = false;
    std::size_t storedRecords = 0;
    if (!taken.edits.empty()) {
        std::vector<EditRefusal> refused;
        const QString name = QStringLiteral("取用比較的值：%1 筆").arg(taken.edits.size());
        stored = ApplySaveEdits(document_, name, context_, taken.edits, &refused);
        storedRecords = stored ? taken.edits.size() - refused.size() : 0;
        for (const EditRefusal& r : refused) {
            QString label = QString::number(r.record);
            for (std::size_t i = 0; i < taken.edits.size(); ++i)
                if (taken.edits[i].kind == r.kind && taken.edits[i].record == r.record)
                    label = labels[i];
            why << label + QStringLiteral("：") + r.problem;
        }
    }

    if (why.isEmpty() && !stored) {
        statusLine->showMessage(QStringLiteral("沒有可以採用的值。"));
        return false;
    }
    QString status = stored ? QStringLiteral("已採用對方的值：%1 筆記錄（可以撤銷）。").arg(storedRecords)
                            : QStringLiteral("沒有採用任何值。");
    if (!why.isEmpty())
        status += QStringLiteral("%1 項沒有採用。").arg(why.size());
    statusLine->showMessage(status);
    if (!why.isEmpty())
        session_.prompter->tell(QStringLiteral("以下的值沒有採用：\n%1").arg(why.join(QLatin1Char('\n'))),
                                windowTitle(), MessageIcon::Warning);
    return stored;
}

}  // namespace varkel
