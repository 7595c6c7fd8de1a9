#include "shared/ui/combo_values.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace varkel {

void FillList(QComboBox* combo, const QStringList& items)
{
    const QSignalBlocker block(combo);
    combo->clear();
    combo->addItems(items);
}

void SelectListIndex(QComboBox* combo, int listSize, int index, int raw)
{
    while (combo->count() > listSize)
        combo->removeItem(combo->count() - 1);
    if (index >= 0 && index < listSize) {
        combo->setCurrentIndex(index);
        return;
    }
    combo->addItem(QString::number(raw));
    combo->setCurrentIndex(listSize);
}

bool ShowsRawValue(const QComboBox* combo, int listSize)
{
    return combo->currentIndex() >= listSize;
}

}  // namespace varkel
