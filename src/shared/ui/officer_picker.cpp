#include "shared/ui/officer_picker.h"

#include "shared/name_field.h"
#include "shared/texts.h"
#include "shared/ui/keyboard.h"
#include "shared/ui/officer_search_box.h"
#include "shared/ui/text_list.h"
#include "shared/ui/window_geometry.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace varkel {

OfficerPicker::OfficerPicker(Session& session, int officer, QWidget* parent) : QDialog(parent), session_(session)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(GetResText(Text::OfficerPickerTitle));
    setModal(true);

    Label1 = new QLabel(QStringLiteral("請選擇一位武將"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    List1 = TextList(this, QStringLiteral("List1"));
    Label2 = new QLabel(QStringLiteral("查找武將"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Command1 = new QPushButton(QStringLiteral("執行"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("中止"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    // Enter chooses; in the search box it searches (OfficerSearchBox keeps it there).
    Command1->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(List1, 1, 0, 1, 2);
    grid->addWidget(Label2, 2, 0);
    grid->addWidget(Text1, 2, 1);
    grid->addWidget(Command1, 3, 0);
    grid->addWidget(Command2, 3, 1);
    List1->setMinimumSize(List1->fontMetrics().horizontalAdvance(QStringLiteral("0000:國國國國")) + 40, 360);

    const int count = std::clamp(session_.officerCount, 0, kNoOfficer);
    QStringList items;
    for (int i = 0; i < count; ++i)
        items << NumberedItem(i, 3, session_.officerNames.value(i));
    items << NumberedItem(count, 3, GetResText(Text::NoOfficer));
    List1->addItems(items);
    List1->setCurrentRow(officer >= 0 && officer < count ? officer : count);
    List1->scrollToItem(List1->currentItem(), QAbstractItemView::PositionAtCenter);

    search_ = new OfficerSearchBox(Text1, List1, nullptr, *session_.prompter);
    TabOrder order;
    order << List1 << Text1 << Command1 << Command2;
    order.apply();
    connect(Command1, &QPushButton::clicked, this, &OfficerPicker::pickSelected);
    connect(Command2, &QPushButton::clicked, this, &OfficerPicker::cancel);
    connect(List1, &QListWidget::itemDoubleClicked, this, &OfficerPicker::pickSelected);
}

std::optional<int> OfficerPicker::getOfficer(Session& session, int officer, QWidget* parent)
{
    OfficerPicker picker(session, officer, parent);
    KeepWindowGeometry(picker, session);
    picker.exec();
    return picker.picked();
}

void OfficerPicker::pickSelected()
{
    const int row = List1->currentRow();
    if (row < 0)
        return;
    picked_ = row == List1->count() - 1 ? kNoOfficer : row;
    accept();
}

void OfficerPicker::cancel()
{
    reject();
}

}  // namespace varkel
