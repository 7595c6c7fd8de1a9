#include "saveeditor/ui/document_follower.h"

#include "saveeditor/ui/officer_control.h"
#include "saveeditor/ui/officer_panel.h"
#include "saveeditor/ui/problems_window.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/scenario_commands.h"
#include "saveeditor/ui/side_windows.h"
#include "saveeditor/ui/treasure_panel.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

namespace varkel {

DocumentFollower::DocumentFollower(SaveGameEditor& editor) : QObject(&editor), editor_(editor)
{
    connect(&editor.document(), &Document::changed, this, &DocumentFollower::changed);
    connect(&editor.modes(), &EditorModes::aboutToFill, this, &DocumentFollower::aboutToFill);
}

void DocumentFollower::changed(const DocumentChange& change)
{
    if (change.cause == DocumentChange::Cause::Open)
        return;  // the editor shows the opened save as a whole
    // The count on the status line follows mends and undo.
    if (editor_.problemsNote->isVisible())
        countProblems();
    if (editor_.sideWindows().running()) {
        editor_.sideWindows().changedWhileRunning();
        return;
    }
    // A batch from the records table, undo and redo change records no view applied.
    if (change.everything() || change.cause != DocumentChange::Cause::Apply) {
        reloadViews();
        return;
    }
    switch (SaveRecord(change.kind)) {
    case SaveRecord::Officer: {
        // A new name shows wherever officers are named.
        const QStringList& names = editor_.tables().officerNames;
        for (const int n : change.records)
            if (editor_.modes().officerPanel()->listsOtherName(n, names.value(n)))
                officerRenamed(n);
        break;
    }
    case SaveRecord::City:
    case SaveRecord::Force:
    case SaveRecord::Intimacy:
        reloadViews();
        break;
    default:
        // The view that applied the change shows it already.
        break;
    }
}

void DocumentFollower::aboutToFill(int mode)
{
    if (mode != 0)
        return;
    ScenarioCommands& scenario = editor_.scenarioCommands();
    scenario.readNotes();
    if (TreasurePanel* treasures = editor_.modes().treasurePanelIfBuilt())
        treasures->setNotes(scenario.notes());
    if (editor_.column().Combo10->count() > 0)
        editor_.column().Combo10->setCurrentIndex(0);
}

void DocumentFollower::reloadViews()
{
    const auto quiet = editor_.modes().whileFilling();
    showTables();
    editor_.modes().officerPanel()->setCityNames(editor_.scenario().cityNames);
    editor_.modes().reload();
}

void DocumentFollower::showTables()
{
    const SaveTables& tables = editor_.tables();
    editor_.session().officerCount = tables.officerCount;
    editor_.session().officerNames = tables.officerNames;
    editor_.officerControl().fillControlledList();
    editor_.modes().officerPanel()->setForceList(tables.leaderNames);
    editor_.modes().Option3[3]->setEnabled(tables.hasFamily);
}

void DocumentFollower::officerRenamed(int n)
{
    showTables();  // force names are their leaders' names
    editor_.modes().officerPanel()->renameInList(n, editor_.tables().officerNames[n]);
    editor_.showOfficer(n);
    editor_.modes().refillOthersLater();
}

void DocumentFollower::countProblems()
{
    editor_.problemsNote->count(editor_.document(), editor_.kindsContext());
}

}  // namespace varkel
