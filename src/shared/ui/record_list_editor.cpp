#include "shared/ui/record_list_editor.h"

#include "shared/document.h"
#include "shared/name_field.h"
#include "shared/ui/control_names.h"
#include "shared/ui/keyboard.h"
#include "shared/ui/text_list.h"

#include <QAction>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace varkel {

namespace {

constexpr int kRowDigits = 2;

}  // namespace

RecordListEditor::RecordListEditor(Prompter& prompter, Document& document, QWidget* parent)
    : QDialog(parent), prompter_(prompter)
{
    setModal(true);
    List1 = TextList(this, QStringLiteral("List1"));
    records_ = new RecordList(*List1, prompter,
                              {[this](int n) { showRecord(n); }, [this] { return shownDiffers(); },
                               [this](int n) { return store(n); }},
                              this);
    // As stored, so the view shows what the game will.
    connect(records_, &RecordList::stored, this, [this](int n) {
        storedChanged();
        showRecord(n);
        emit applied();
    });
    // Undo, redo or a batch changed the document under the view: the record shown
    // is read again, so that its next Apply stores nothing that was undone.
    connect(&document, &Document::changed, this, [this](const DocumentChange& change) {
        if (change.cause != DocumentChange::Cause::Apply && shownRecord() >= 0) {
            storedChanged();
            records_->show(shownRecord());
        }
    });
}

void RecordListEditor::addRow(int n, const QString& name)
{
    records_->addRow(n, FormatNumber(n, kRowDigits) + QLatin1Char(':') + name);
}

void RecordListEditor::fitList(int nameWidth)
{
    const QString widest = QStringLiteral("00:") + QString(nameWidth, QChar(0x570B));  // 國
    List1->setFixedWidth(fontMetrics().horizontalAdvance(widest) + 40);
}

RecordListEditor::Buttons RecordListEditor::layOut(std::initializer_list<QWidget*> groups, const QString& applyName,
                                                   const QString& exitName)
{
    const Buttons b{named(new QPushButton(QStringLiteral("應用"), this), applyName),
                    named(new QPushButton(QStringLiteral("退出"), this), exitName)};
    tableButton = named(new QPushButton(QStringLiteral("一覽表(&T)"), this), QStringLiteral("tableButton"));
    connect(b.apply, &QPushButton::clicked, this, &RecordListEditor::applySelected);
    connect(b.exit, &QPushButton::clicked, this, &QDialog::accept);
    b.apply->setDefault(true);
    UseApplyKeys(*this, b.apply);
    tableButton->setAutoDefault(false);
    tableButton->hide();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(tableButton);
    buttons->addStretch();
    buttons->addWidget(b.apply);
    buttons->addWidget(b.exit);

    auto* side = new QVBoxLayout;
    for (QWidget* group : groups)
        side->addWidget(group);
    side->addStretch();
    side->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(List1);
    layout->addLayout(side, 1);
    return b;
}

void RecordListEditor::offerRecordsTable(std::function<void()> open)
{
    tableButton->show();
    connect(tableButton, &QPushButton::clicked, tableButton, open);
    auto* key = new QAction(tableButton);
    key->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    key->setShortcutContext(Qt::WindowShortcut);
    connect(key, &QAction::triggered, tableButton, &QPushButton::click);
    addAction(key);
}

void RecordListEditor::done(int result)
{
    if (MayLeaveRecord(prompter_, pendingEdits()))
        QDialog::done(result);
}

}  // namespace varkel
