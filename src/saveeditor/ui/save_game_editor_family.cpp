// SaveGameEditor's family commands: showing a member, its face picker and the growth
// forecast of a child.
#include "saveeditor/family_view.h"
#include "saveeditor/ui/family_panel.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/growth_forecast_dialog.h"
#include "shared/ui/pickers.h"

#include <QDialog>

namespace varkel {

void SaveGameEditor::setRandomSource(std::function<double()> random)
{
    random_ = random;
    if (family_)
        family_->setRandomSource(std::move(random));
}

void SaveGameEditor::showMember(int k)
{
    familyPanel()->showMember(document_->bytes(), tables(), k);
}

void SaveGameEditor::Command15_Click()
{
    familyPanel()->chooseFace(picker_, this);
}

void SaveGameEditor::Label32_DblClick()
{
    // From the member as last read or applied, not from edits not yet applied.
    FamilyPanel* family = familyPanel();
    const FamilyMember& child = family->shownMember();
    const QByteArray& save = document_->bytes();
    const auto lines = GrowthForecast(child.person.abilities, child.caps, child.growth, family->shownAge(), save);
    const int likeness = ChooseLikeness(tables(), random_);
    const QString name = likeness >= 0 ? tables().officerNames.value(likeness) : QString();
    const int face = likeness >= 0 ? DecodePersonBlock(save, save::personBlock(likeness)).face : 0;
    GrowthForecastDialog forecast(session_, lines, name, face, this);
    family->setForecastOpen(true);
    showSideWindow(forecast);
    family->setForecastOpen(false);
}

}  // namespace varkel
