#pragma once

#include <QStringList>

class QComboBox;

namespace varkel {

// A list whose items are `items`, plus room for one extra item that shows a stored
// value outside the list as its raw number.
void FillList(QComboBox* combo, const QStringList& items);

// Selects `index` when it is one of the first `listSize` items; otherwise shows
// `raw` as an extra item and selects that. A previous extra item is removed first.
void SelectListIndex(QComboBox* combo, int listSize, int index, int raw);

// True while the extra item of a value outside the list is selected.
bool ShowsRawValue(const QComboBox* combo, int listSize);

}  // namespace varkel
