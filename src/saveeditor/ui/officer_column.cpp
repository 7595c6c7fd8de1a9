#include "saveeditor/ui/officer_column.h"

#include "shared/texts.h"
#include "shared/ui/control_names.h"
#include "shared/ui/officer_search_box.h"
#include "shared/ui/text_list.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace varkel {

OfficerColumn::OfficerColumn(Prompter& prompter, QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Frame26 = named(new QGroupBox(this), QStringLiteral("Frame26"));
    Combo10 = named(new QComboBox(Frame26), QStringLiteral("Combo10"));
    (new QVBoxLayout(Frame26))->addWidget(Combo10);
    layout->addWidget(Frame26);
    List1 = TextList(this, QStringLiteral("List1"));
    layout->addWidget(List1, 1);

    auto* searchRow = new QHBoxLayout;
    Text13 = named(new QLineEdit(this), QStringLiteral("Text13"));
    Label34 = named(new QLabel(this), QStringLiteral("Label34"));
    Label34->setMinimumWidth(Label34->fontMetrics().horizontalAdvance(GetResText(Text::SearchByName)) + 4);
    searchRow->addWidget(Text13);
    searchRow->addWidget(Label34);
    layout->addLayout(searchRow);
    new OfficerSearchBox(Text13, List1, Label34, prompter);  // lives as long as Text13
    setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("000:國國國國")) * 2);
}

}  // namespace varkel
