#include "shared/ui/text_list.h"

namespace varkel {

QListWidget* TextList(QWidget* parent, const QString& name)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setUniformItemSizes(true);
    return list;
}

}  // namespace varkel
