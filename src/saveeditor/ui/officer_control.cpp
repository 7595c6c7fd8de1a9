#include "saveeditor/ui/officer_control.h"

#include "saveeditor/control.h"
#include "saveeditor/ui/officer_panel.h"
#include "saveeditor/ui/officer_column.h"
#include "saveeditor/ui/save_game_editor.h"
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

OfficerControl::OfficerControl(SaveGameEditor& editor, QComboBox& controlled, QGroupBox& frame)
    : editor_(editor), controlled_(controlled), frame_(frame)
{
    QObject::connect(&controlled, &QComboBox::activated, &controlled, [this] { controlledChosen(); });
}

OfficerPanel& OfficerControl::panel() const
{
    return *editor_.modes().officerPanel();
}

void OfficerControl::controlledChosen()
{
    QListWidget* list = editor_.column().List1;
    if (list->currentRow() < 0)
        return;
    const int n = ItemNumber(controlled_.currentText());
    if (n >= 0 && n < list->count())
        list->setCurrentRow(n);
}

Prompter& OfficerControl::prompter() const
{
    return *editor_.session().prompter;
}

void OfficerControl::fillControlledList()
{
    {
        const QSignalBlocker block(&controlled_);
        const int shown = controlled_.currentIndex();
        controlled_.clear();
        for (const int m : editor_.tables().controlled)
            if (m != save::kNoControlledOfficer)
                controlled_.addItem(NumberedItem(m, 3, editor_.tables().officerNames[m]));
        if (shown >= 0 && shown < controlled_.count())
            controlled_.setCurrentIndex(shown);
    }
    frame_.setTitle(GetResText(Text::ControlledOfficers) + QStringLiteral("(%1)").arg(controlled_.count()));
}

void OfficerControl::controlTicked()
{
    // Filling the view ticks or unticks the box too; only the user's change counts.
    const int n = editor_.column().List1->currentRow();
    if (!panel().viewLoaded() || n < 0)
        return;
    // Both commands read the officer again when done, over anything typed.
    if (!editor_.mayLeaveRecord()) {
        panel().setCheck5Quietly(!panel().Check5->isChecked());
        return;
    }
    if (panel().Check5->isChecked())
        takeControl(n);
    else
        giveUpControl(n);
}

void OfficerControl::takeControl(int n)
{
    switch (CheckTakeControl(editor_.document().bytes(), editor_.tables().controlled, n)) {
    case ControlRefusal::None:
        break;
    case ControlRefusal::AllSlotsTaken:
        panel().setCheck5Quietly(false);
        refuse(prompter(), Text::TooManyControlled);
        return;
    default:
        return;  // no person number to control it by: nothing is done
    }
    if (!confirmed(prompter(), Text::ConfirmControl)) {
        panel().setCheck5Quietly(false);
        return;
    }
    ControlChange change;
    const QString name = QStringLiteral("擔當 %1").arg(editor_.tables().officerNames.value(n));
    editor_.document().apply(SaveRecord::Control, {n}, name, [&](QByteArray& save, ScenarioData&) {
        ControlledSlots controlled = editor_.tables().controlled;
        change = TakeControl(save, controlled, n);
        return true;
    });
    controlChanged(n, change.slot);
}

void OfficerControl::giveUpControl(int n)
{
    switch (CheckGiveUpControl(editor_.document().bytes(), editor_.tables().controlled, n)) {
    case ControlRefusal::None:
        break;
    case ControlRefusal::CurrentOfficer:
        panel().setCheck5Quietly(true);
        refuse(prompter(), Text::CannotGiveUpCurrent);
        return;
    case ControlRefusal::LastControlled:
        panel().setCheck5Quietly(true);
        refuse(prompter(), Text::OneMustStayControlled);
        return;
    default:
        return;  // no person number, or not controlled after all: nothing is done
    }
    if (!confirmed(prompter(), Text::ConfirmGiveUpControl)) {
        panel().setCheck5Quietly(true);
        return;
    }
    const QString name = QStringLiteral("不再擔當 %1").arg(editor_.tables().officerNames.value(n));
    editor_.document().apply(SaveRecord::Control, {n}, name, [&](QByteArray& save, ScenarioData&) {
        ControlledSlots controlled = editor_.tables().controlled;
        GiveUpControl(save, controlled, n);
        return true;
    });
    controlChanged(n, -1);
}

void OfficerControl::controlChanged(int n, int selectSlot)
{
    fillControlledList();
    // Every slot below the one taken is held, so item s is slot s.
    controlled_.setCurrentIndex(selectSlot >= 0 && selectSlot < controlled_.count() ? selectSlot : -1);
    editor_.showOfficer(n);
}

void OfficerControl::forceAppearance()
{
    if (!editor_.mayLeaveRecord() || !confirmed(prompter(), Text::ConfirmForceAppearance))
        return;
    const int n = editor_.column().List1->currentRow();
    if (n < 0 || !editor_.document().apply(
                     SaveRecord::Control, {n}, QStringLiteral("%1 登場").arg(editor_.tables().officerNames.value(n)),
                     [n](QByteArray& save, ScenarioData&) { return ForceAppearance(save, n).has_value(); }))
        return;
    editor_.showOfficer(n);
}

}  // namespace varkel
