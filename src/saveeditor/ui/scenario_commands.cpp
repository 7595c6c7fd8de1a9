#include "saveeditor/ui/scenario_commands.h"

#include "saveeditor/game_folder_files.h"
#include "saveeditor/save_document.h"
#include "shared/session.h"
#include "shared/texts.h"
#include "shared/ui/edit_state.h"
#include "shared/ui/outside_change.h"
#include "shared/ui/save_as.h"
#include "shared/ui/standard_error.h"

namespace varkel {

ScenarioCommands::ScenarioCommands(Session& session, SaveDocument& document, EditState& state)
    : session_(session), document_(document), state_(state)
{
}

void ScenarioCommands::readNotes()
{
    RuntimeError error;
    const auto notes = ReadTreasureNotes(session_.gameFolder, &error);
    if (!notes)
        ShowRuntimeError(*session_.prompter, error);
    notes_ = notes.value_or(QStringList());
}

bool ScenarioCommands::write()
{
    if (session_.prompter->ask(GetResText(Text::ConfirmTreasureSave), kEditorTitle, MessageButtons::YesNo,
                               MessageIcon::Question) == Answer::No)
        return false;
    return writeFile();
}

bool ScenarioCommands::writeFile()
{
    const QString path = document_.scenarioPath();
    if (AskAboutOutsideChange(session_, path, false) != OutsideChange::Overwrite)
        return false;
    // The file's bytes beyond the buffer stay.
    if (const auto error = document_.writeScenario(session_.files)) {
        ReportSaveFailure(session_, state_, path, *error);
        return false;
    }
    state_.saved({path}, session_.files);
    return true;
}

bool ScenarioCommands::mayClose()
{
    return !document_.modified(SaveDocument::kScenarioBuffer) ||
           session_.prompter->askToDo(GetResText(Text::ConfirmTreasureSave), kEditorTitle,
                                      [this] { return writeFile(); });
}

}  // namespace varkel
