// SaveGameEditor's treasure commands: the notes, the owner picker, and writing the
// treasure attributes to the scenario file, which every saved game shares.
#include "saveeditor/game_folder_files.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/treasure_panel.h"
#include "shared/runtime_error.h"
#include "shared/texts.h"
#include "shared/ui/edit_state.h"
#include "shared/ui/outside_change.h"
#include "shared/ui/pickers.h"
#include "shared/ui/save_as.h"
#include "shared/ui/standard_error.h"

#include <QDialog>
#include <QPushButton>

namespace varkel {

void SaveGameEditor::ReadBWNote()
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

void SaveGameEditor::Command2_Click()
{
    if (const auto owner = Pick(picker_, PickerKind::Officer, treasurePanel()->currentOwner(), this))
        treasurePanel()->setOwner(*owner);
}

bool SaveGameEditor::Command13_Click()
{
    if (session_.prompter->ask(GetResText(Text::ConfirmTreasureSave), kEditorTitle, MessageButtons::YesNo,
                               MessageIcon::Question) == Answer::No)
        return false;
    return writeScenario();
}

bool SaveGameEditor::writeScenario()
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
                                      [this] { return writeScenario(); });
}

}  // namespace varkel
