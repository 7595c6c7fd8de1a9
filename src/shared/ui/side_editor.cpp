#include "shared/ui/side_editor.h"

#include "shared/ui/control_names.h"
#include "shared/ui/keyboard.h"

#include <QAction>
#include <QDialog>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace varkel {

SideEditorButtons LayOutSideEditor(QDialog& window, QListWidget* list, std::initializer_list<QWidget*> groups,
                                   const QString& applyName, const QString& exitName)
{
    SideEditorButtons b{named(new QPushButton(QStringLiteral("應用"), &window), applyName),
                        named(new QPushButton(QStringLiteral("退出"), &window), exitName),
                        named(new QPushButton(QStringLiteral("一覽表(&T)"), &window), QStringLiteral("tableButton"))};
    QObject::connect(b.exit, &QPushButton::clicked, &window, &QDialog::accept);
    b.apply->setDefault(true);
    UseApplyKeys(window, b.apply);
    b.table->setAutoDefault(false);
    b.table->hide();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(b.table);
    buttons->addStretch();
    buttons->addWidget(b.apply);
    buttons->addWidget(b.exit);

    auto* side = new QVBoxLayout;
    for (QWidget* group : groups)
        side->addWidget(group);
    side->addStretch();
    side->addLayout(buttons);
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(list);
    layout->addLayout(side, 1);
    return b;
}

void OfferRecordsTable(QPushButton* table, std::function<void()> open)
{
    table->show();
    QObject::connect(table, &QPushButton::clicked, table, open);
    auto* key = new QAction(table);
    key->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    key->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(key, &QAction::triggered, table, &QPushButton::click);
    table->window()->addAction(key);
}

}  // namespace varkel
