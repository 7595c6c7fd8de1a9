// Form4's treasure commands: the notes, the owner picker, and writing the
// treasure attributes to the scenario file, which every saved game shares.
#include "saveeditor/treasure_record.h"
#include "saveeditor/ui/form4.h"
#include "saveeditor/ui/treasure_panel.h"
#include "shared/game_folder.h"
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

void Form4::ReadBWNote()
{
    // The notes are only shown: a missing or short file is reported and leaves
    // the notes it cannot give empty, so the editor stays usable.
    const QString path = GameFilePath(session_.gameFolder, QStringLiteral("m_msg.vk"));
    RuntimeError error;
    const auto bytes = FileStore::readStretch(path, treasure::kNotesOffset, treasure::kNotesSize, &error);
    if (!bytes)
        ShowRuntimeError(*session_.prompter, error);
    treasureNotes_ = DecodeTreasureNotes(bytes.value_or(QByteArray()));
    if (treasures_)
        treasures_->setNotes(treasureNotes_);
}

void Form4::ReadHorse(int i)
{
    treasurePanel()->ReadHorse(document_->bytes(), scenario(), i);
}

void Form4::Command2_Click()
{
    if (const auto owner = Pick(picker_, PickerKind::Officer, treasurePanel()->currentOwner(), this))
        treasurePanel()->setOwner(*owner);
}

bool Form4::Command13_Click()
{
    if (session_.prompter->ask(GetResText(291), kEditorTitle, MessageButtons::YesNo, MessageIcon::Question) ==
        Answer::No)
        return false;
    return writeScenario();
}

bool Form4::writeScenario()
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

bool Form4::treasurePrompt()
{
    return !document_->modified(SaveDocument::kScenarioBuffer) ||
           session_.prompter->askToDo(GetResText(291), kEditorTitle, [this] { return writeScenario(); });
}

}  // namespace varkel
