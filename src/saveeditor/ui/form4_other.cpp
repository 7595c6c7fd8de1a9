// Form4's "其它" menu: the city and force editors over the open save.
#include "saveeditor/ui/form10.h"
#include "saveeditor/ui/form4.h"
#include "saveeditor/ui/form9.h"


namespace varkel {

void Form4::sCity_Click()
{
    Form10 cities(session_, save_.bytes, tables_, scenario_.cityNames, childFactory_, this);
    runSideWindow(cities, &Form10::applied);
}

void Form4::sBingQi_Click()
{
    Form9 forces(*session_.prompter, save_.bytes, tables_, scenario_.courtRanks, this);
    runSideWindow(forces, &Form9::applied);
}

}  // namespace varkel
