// Form4's family commands: showing a member, its face picker and the growth
// forecast of a child.
#include "saveeditor/family_view.h"
#include "saveeditor/ui/family_panel.h"
#include "saveeditor/ui/form4.h"
#include "saveeditor/ui/form6.h"
#include "shared/ui/pickers.h"

#include <QDialog>

namespace varkel {

void Form4::setRandomSource(std::function<double()> random)
{
    random_ = random;
    if (family_)
        family_->setRandomSource(std::move(random));
}

void Form4::ReadWJinfo3(int k)
{
    familyPanel()->ReadWJinfo3(document_->bytes(), tables(), k);
}

void Form4::Command15_Click()
{
    familyPanel()->chooseFace(picker_, this);
}

void Form4::Label32_DblClick()
{
    // From the member as last read or applied, not from edits not yet applied.
    FamilyPanel* family = familyPanel();
    const FamilyMember& child = family->shownMember();
    const QByteArray& save = document_->bytes();
    const auto lines = GrowthForecast(child.person.abilities, child.caps, child.growth, family->shownAge(), save);
    const int likeness = ChooseLikeness(tables(), random_);
    const QString name = likeness >= 0 ? tables().officerNames.value(likeness) : QString();
    const int face = likeness >= 0 ? DecodePersonBlock(save, save::personBlock(likeness)).face : 0;
    Form6 forecast(session_, lines, name, face, this);
    family->setForecastOpen(true);
    showSideWindow(forecast);
    family->setForecastOpen(false);
}

}  // namespace varkel
