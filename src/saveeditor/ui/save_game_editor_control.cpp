// SaveGameEditor's commands that change who is controlled and who appears: the check box
// Check5 of the officer view and its button Command11. Both write the save buffer
// at once, behind a question, and keep Combo10 and Frame26 in step.
#include "saveeditor/control.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/officer_panel.h"
#include "shared/name_field.h"
#include "shared/runtime_error.h"
#include "shared/texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QSignalBlocker>

namespace varkel {

namespace {

bool confirmed(Prompter& prompter, int text)
{
    return prompter.ask(GetResText(text), kEditorTitle, MessageButtons::YesNo, MessageIcon::Question) == Answer::Yes;
}

void refuse(Prompter& prompter, int text)
{
    prompter.tell(GetResText(text), kEditorTitle, MessageIcon::Critical);
}

}  // namespace

void SaveGameEditor::fillControlledList()
{
    {
        const QSignalBlocker block(Combo10);
        const int shown = Combo10->currentIndex();
        Combo10->clear();
        for (const int m : tables().controlled)
            if (m != save::kNoControlledOfficer)
                Combo10->addItem(NumberedItem(m, 3, tables().officerNames[m]));
        if (shown >= 0 && shown < Combo10->count())
            Combo10->setCurrentIndex(shown);
    }
    Frame26->setTitle(GetResText(Text::ControlledOfficers) + QStringLiteral("(%1)").arg(Combo10->count()));
}

void SaveGameEditor::Check5_Click()
{
    // Filling the view ticks or unticks the box too; only the user's change counts.
    const int n = List1->currentRow();
    if (!panel_->viewLoaded() || n < 0)
        return;
    // Both commands read the officer again when done, over anything typed.
    if (!mayLeaveRecord()) {
        panel_->setCheck5Quietly(!panel_->Check5->isChecked());
        return;
    }
    if (panel_->Check5->isChecked())
        takeControl(n);
    else
        giveUpControl(n);
}

void SaveGameEditor::takeControl(int n)
{
    switch (CheckTakeControl(document_->bytes(), tables().controlled, n)) {
    case ControlRefusal::None:
        break;
    case ControlRefusal::AllSlotsTaken:
        panel_->setCheck5Quietly(false);
        refuse(*session_.prompter, Text::TooManyControlled);
        return;
    default:
        return;  // no person number to control it by: nothing is done
    }
    if (!confirmed(*session_.prompter, Text::ConfirmControl)) {
        panel_->setCheck5Quietly(false);
        return;
    }
    ControlChange change;
    document_->apply(SaveRecord::Control, {n}, QStringLiteral("擔當 %1").arg(tables().officerNames.value(n)),
                     [&](QByteArray& save, ScenarioData&) {
        ControlledSlots controlled = tables().controlled;
        change = TakeControl(save, controlled, n);
        return true;
    });
    controlChanged(n, change.slot);
}

void SaveGameEditor::giveUpControl(int n)
{
    switch (CheckGiveUpControl(document_->bytes(), tables().controlled, n)) {
    case ControlRefusal::None:
        break;
    case ControlRefusal::CurrentOfficer:
        panel_->setCheck5Quietly(true);
        refuse(*session_.prompter, Text::CannotGiveUpCurrent);
        return;
    case ControlRefusal::LastControlled:
        panel_->setCheck5Quietly(true);
        refuse(*session_.prompter, Text::OneMustStayControlled);
        return;
    default:
        return;  // no person number, or not controlled after all: nothing is done
    }
    if (!confirmed(*session_.prompter, Text::ConfirmGiveUpControl)) {
        panel_->setCheck5Quietly(true);
        return;
    }
    document_->apply(SaveRecord::Control, {n}, QStringLiteral("不再擔當 %1").arg(tables().officerNames.value(n)),
                     [&](QByteArray& save, ScenarioData&) {
        ControlledSlots controlled = tables().controlled;
        GiveUpControl(save, controlled, n);
        return true;
    });
    controlChanged(n, -1);
}

void SaveGameEditor::controlChanged(int n, int selectSlot)
{
    fillControlledList();
    // Every slot below the one taken is held, so item s is slot s.
    Combo10->setCurrentIndex(selectSlot >= 0 && selectSlot < Combo10->count() ? selectSlot : -1);
    showOfficer(n);
}

void SaveGameEditor::Command11_Click()
{
    if (!mayLeaveRecord() || !confirmed(*session_.prompter, Text::ConfirmForceAppearance))
        return;
    const int n = List1->currentRow();
    if (n < 0 || !document_->apply(
                     SaveRecord::Control, {n}, QStringLiteral("%1 登場").arg(tables().officerNames.value(n)),
                     [n](QByteArray& save, ScenarioData&) { return ForceAppearance(save, n).has_value(); }))
        return;
    showOfficer(n);
}

}  // namespace varkel
