// Form4's "其它" menu: the city and force editors over the open save.
#include "saveeditor/ui/form10.h"
#include "saveeditor/ui/form4.h"
#include "saveeditor/ui/form9.h"

namespace varkel {

void Form4::sCity_Click()
{
    Form10 cities(session_, *document_, scenario().cityNames, picker_, this);
    runSideWindow(cities);
}

void Form4::sBingQi_Click()
{
    Form9 forces(*session_.prompter, *document_, scenario().courtRanks, this);
    runSideWindow(forces);
}

}  // namespace varkel
