// SaveGameEditor's commands of single views: the treasure notes and the scenario
// file, a relationship's parties, a family member, the intimacy of a controlled
// officer, and the problems of the open save.
#include "saveeditor/game_folder_files.h"
#include "saveeditor/save_kinds.h"
#include "saveeditor/ui/family_panel.h"
#include "saveeditor/ui/problems_window.h"
#include "saveeditor/ui/relation_panel.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/side_windows.h"
#include "saveeditor/ui/treasure_panel.h"
#include "shared/texts.h"
#include "shared/ui/edit_state.h"
#include "shared/ui/outside_change.h"
#include "shared/ui/pickers.h"
#include "shared/ui/save_as.h"
#include "shared/ui/standard_error.h"

#include <QLabel>
#include <QListWidget>

#include <algorithm>

namespace varkel {

SaveKindsContext SaveGameEditor::kindsContext() const
{
    return {scenario().cityNames, scenario().courtRanks, treasureNotes_, std::nullopt, false};
}

void SaveGameEditor::noteProblems()
{
    const std::size_t found = FindSaveProblems(*document_, kindsContext()).size();
    problemsNote->setText(QStringLiteral("<a href=\"problems\">發現 %1 個問題</a>").arg(found));
    problemsNote->setToolTip(QStringLiteral("按一下打開問題清單"));
    problemsNote->setVisible(found > 0);
}

void SaveGameEditor::setSideWindowRunner(std::function<void(QDialog&)> run)
{
    sides_->setRunner(std::move(run));
}

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

void SaveGameEditor::openIntimacyOfShown()
{
    const int officer = List1->currentRow();
    const auto& controlled = tables().controlled;
    const auto slot = std::find(controlled.begin(), controlled.end(), officer);
    if (officer >= 0 && slot != controlled.end())
        sides_->openIntimacyEditor(int(slot - controlled.begin()));
}

void SaveGameEditor::chooseRelationParty(int p)
{
    const Relation& r = relationPanel()->current();
    const int party = p == 0 ? r.a : p == 1 ? r.b : r.c;
    // Cancelled, or the same officer picked: the party stays.
    if (const auto picked = Pick(picker_, PickerKind::Officer, party, this); picked && *picked != party)
        relationPanel()->setParty(document_->bytes(), tables(), p, *picked);
}

void SaveGameEditor::readTreasureNotes()
{
    // The notes are only shown: a missing or short file is reported and leaves
    // the notes it cannot give empty, so the editor stays usable.
    RuntimeError error;
    const auto notes = ReadTreasureNotes(session_.gameFolder, &error);
    if (!notes)
        ShowRuntimeError(*session_.prompter, error);
    treasureNotes_ = notes.value_or(QStringList());
    if (treasures_)
        treasures_->setNotes(treasureNotes_);
}

void SaveGameEditor::showTreasure(int i)
{
    treasurePanel()->showTreasure(document_->bytes(), scenario(), i);
}

bool SaveGameEditor::writeScenario()
{
    if (session_.prompter->ask(GetResText(Text::ConfirmTreasureSave), kEditorTitle, MessageButtons::YesNo,
                               MessageIcon::Question) == Answer::No)
        return false;
    return writeScenarioFile();
}

bool SaveGameEditor::writeScenarioFile()
{
    const QString path = document_->scenarioPath();
    if (AskAboutOutsideChange(session_, path, false) != OutsideChange::Overwrite)
        return false;
    // The file's bytes beyond the buffer stay; a failed write keeps the changes
    // here and the button enabled, so the user can try again.
    if (const auto error = document_->writeScenario(session_.files)) {
        ReportSaveFailure(session_, *state_, path, *error);
        return false;
    }
    state_->saved({path}, session_.files);
    return true;
}

bool SaveGameEditor::treasurePrompt()
{
    return !document_->modified(SaveDocument::kScenarioBuffer) ||
           session_.prompter->askToDo(GetResText(Text::ConfirmTreasureSave), kEditorTitle,
                                      [this] { return writeScenarioFile(); });
}

}  // namespace varkel
