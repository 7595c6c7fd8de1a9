#include "shared/ui/officer_search_box.h"

#include "shared/runtime_error.h"
#include "shared/seams.h"
#include "shared/texts.h"
#include "shared/ui/input_filters.h"
#include "shared/ui/keyboard.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace varkel {

OfficerSearchBox::OfficerSearchBox(QLineEdit* box, QListWidget* list, QLabel* modeLabel, Prompter& prompter,
                                   int firstNumber)
    : QObject(box), box_(box), list_(list), modeLabel_(modeLabel), prompter_(prompter), firstNumber_(firstNumber)
{
    UseSearchFilter(box_);
    TakeSearchKeys(box_);
    connect(box_, &QLineEdit::textChanged, this, &OfficerSearchBox::textChanged);
    connect(box_, &QLineEdit::returnPressed, this, &OfficerSearchBox::search);
}

void OfficerSearchBox::textChanged(const QString& text)
{
    if (text.isEmpty()) {
        if (modeLabel_)
            modeLabel_->clear();
        return;
    }
    // A first character of another kind leaves the mode as it was.
    if (const auto mode = SearchModeOf(text)) {
        mode_ = mode;
        if (modeLabel_)
            modeLabel_->setText(GetResText(*mode_ == SearchMode::Name ? Text::SearchByName : Text::SearchByNumber));
    }
}

void OfficerSearchBox::search()
{
    const QString text = box_->text();
    if (text.isEmpty() || !mode_)
        return;
    int found = -1;
    if (*mode_ == SearchMode::Number) {
        found = FindItemByNumber(list_->count(), text, firstNumber_);
    } else {
        QStringList items;
        items.reserve(list_->count());
        for (int i = 0; i < list_->count(); ++i)
            items << list_->item(i)->text();
        found = FindItemByName(items, list_->currentRow(), text);
    }
    if (found < 0) {
        prompter_.tell(GetResText(Text::OfficerNotFound), kEditorTitle, MessageIcon::Information);
        return;
    }
    list_->setCurrentRow(found);
    list_->scrollToItem(list_->item(found));
}

}  // namespace varkel
