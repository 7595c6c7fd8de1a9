// Form4's "其它" menu: the city and force editors over the open save.
#include "saveeditor/ui/form4.h"
#include "sideeditors/ui/form10.h"
#include "sideeditors/ui/form9.h"

#include <QListWidget>
#include <QStackedWidget>

namespace varkel {

void Form4::sCity_Click()
{
    Form10 cities(session_, save_.bytes, tables_, scenario_.cityNames, childFactory_, this);
    bool applied = false;
    connect(&cities, &Form10::applied, this, [&] {
        applied = true;
        setModified(true);
    });
    runSideWindow_(cities);
    // A head change moves two officers' statuses: the officer view must not keep the old one.
    if (applied && modes_->currentIndex() == 0 && List1->currentRow() >= 0)
        ReadWJInfo2(List1->currentRow());
}

void Form4::sBingQi_Click()
{
    Form9 forces(save_.bytes, tables_, scenario_.courtRanks, this);
    connect(&forces, &Form9::applied, this, [this] { setModified(true); });
    runSideWindow_(forces);
}

}  // namespace varkel
