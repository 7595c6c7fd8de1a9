#include "saveeditor/ui/save_game_editor.h"

#include "saveeditor/game_folder_files.h"
#include "saveeditor/ui/officer_control.h"
#include "saveeditor/ui/officer_panel.h"
#include "saveeditor/ui/save_reading.h"
#include "saveeditor/ui/side_windows.h"
#include "saveeditor/ui/treasure_panel.h"
#include "shared/name_field.h"
#include "shared/texts.h"
#include "shared/ui/edit_state.h"
#include "shared/ui/file_commands.h"
#include "shared/ui/file_drop.h"
#include "shared/ui/keyboard.h"
#include "shared/ui/standard_error.h"
#include "shared/ui/when_shown.h"
#include "shared/ui/window_geometry.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScopedValueRollback>
#include <QStackedWidget>
#include <QStatusBar>
#include <QVBoxLayout>

#include <utility>

namespace varkel {

SaveGameEditor* SaveGameEditor::open(Session& session, const QString& path)
{
    auto save = path.isEmpty() ? ReadNewestSave(session)
                               : ReadSaveToOpen(session, path, save::kOpenMinimumSize, Text::FileDamaged);
    if (!save)
        return nullptr;
    // A short scenario file reads as zeros beyond its end; a missing one ends here.
    RuntimeError error;
    const QString scenarioPath = ScenarioFilePath(session.gameFolder);
    auto scenario = ReadScenarioFile(session.files, scenarioPath, &error);
    if (!scenario) {
        ShowRuntimeError(*session.prompter, error);
        return nullptr;
    }
    return new SaveGameEditor(session, std::move(*save), std::move(*scenario), scenarioPath);
}

SaveGameEditor::SaveGameEditor(Session& session, SaveGame save, ScenarioData scenario, const QString& scenarioPath)
    : QWidget(nullptr, Qt::Window),
      session_(session),
      document_(new SaveDocument(std::move(save), std::move(scenario), scenarioPath, this)),
      picker_(ProgramPickers(session)),
      random_([] { return QRandomGenerator::global()->generateDouble(); })
{
    setObjectName(QStringLiteral("Form4"));
    state_ = new EditState(*this, *document_, GetResText(Text::EditorTitle));
    tUndo = state_->undoAction();
    tRedo = state_->redoAction();
    useFileCommands();
    sides_ = std::make_unique<SideWindows>(*this, [this] { reloadViews(); });

    auto* layout = new QVBoxLayout(this);
    auto* bar = new QMenuBar(this);
    buildMenus(bar);
    state_->setSaveAction(tSaveFile);
    layout->setMenuBar(bar);
    layout->addWidget(buildModes());
    auto* body = new QHBoxLayout;
    body->addWidget(buildSideColumn());
    body->addWidget(buildViews(), 1);
    layout->addLayout(body, 1);
    layout->addWidget(buildStatusLine());

    connect(document_, &Document::stateChanged, this, &SaveGameEditor::updateSaveCommands);
    connect(document_, &Document::changed, this, &SaveGameEditor::documentChanged);
    // Enter and Ctrl+Enter apply the view shown.
    UseApplyKeys(*this, [this] { return Command7[std::size_t(mode_)]; });
    tickSlotMenu();
    showOpenedSave();
    AcceptFileDrops(*this, [this](const QString& path) { openPath(path); });
    KeepWindowGeometry(*this, session_);
}

bool SaveGameEditor::modified() const
{
    return document_->modified(SaveDocument::kSaveBuffer);
}

void SaveGameEditor::updateSaveCommands()
{
    const bool on = modified() || viewHoldsEdits();
    for (QPushButton* save : Command8)
        save->setEnabled(on);
    tSaveFile->setEnabled(on);
    tSaveAs->setEnabled(on);
    if (treasures_)
        treasures_->Command13->setEnabled(document_->modified(SaveDocument::kScenarioBuffer));
}

void SaveGameEditor::showOpenedSave()
{
    // The views are filled from the new file: nothing typed is left to ask about.
    const QScopedValueRollback<bool> quiet(filling_, true);
    needsFilling_.fill(true);
    rowAfterFilling_.fill(-1);
    Label28->setText(GetResText(Text::FileLocation) + QDir::toNativeSeparators(document_->path()));
    state_->opened();
    showTables();
    updateSaveCommands();
    Option3[0]->setChecked(true);
    showMode(0);
    // Counting the problems reads every record: the window is shown first.
    WhenShown([editor = QPointer<SaveGameEditor>(this)] {
        if (editor)
            editor->noteProblems();
    });
}

void SaveGameEditor::documentChanged(const DocumentChange& change)
{
    if (change.cause == DocumentChange::Cause::Open) {
        showOpenedSave();
        return;
    }
    // The count on the status line follows mends and undo.
    if (problemsNote->isVisible())
        noteProblems();
    if (sides_->running()) {
        sides_->changedWhileRunning();
        return;
    }
    // A batch from the records table, undo and redo change records no view applied.
    if (change.everything() || change.cause != DocumentChange::Cause::Apply) {
        reloadViews();
        return;
    }
    switch (SaveRecord(change.kind)) {
    case SaveRecord::Officer:
        // A new name shows wherever officers are named.
        for (const int n : change.records)
            if (n >= 0 && n < List1->count() &&
                List1->item(n)->text() != NumberedItem(n, 3, tables().officerNames.value(n)))
                officerRenamed(n);
        break;
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

void SaveGameEditor::reloadViews()
{
    const QScopedValueRollback<bool> quiet(filling_, true);
    showTables();
    panel_->setCityNames(scenario().cityNames);
    const int mode = mode_;
    QListWidget* list = modeView(mode).modeList();
    const int row = list->currentRow();
    needsFilling_.fill(true);
    showMode(mode);
    if (row >= 0 && row < list->count())
        list->setCurrentRow(row);
}

void SaveGameEditor::showMode(int index)
{
    if (index != mode_ && !mayLeaveRecord()) {
        Option3[mode_]->setChecked(true);
        return;
    }
    mode_ = index;
    ModeView& view = modeView(index);
    modes_->setCurrentWidget(view.modeWidget());
    Label34->setVisible(index == 0);
    if (!needsFilling_[index])
        return;
    needsFilling_[index] = false;
    if (index == 0) {
        // A new file: the notes are read again, and the controlled officers'
        // list shows its first.
        readTreasureNotes();
        if (Combo10->count() > 0)
            Combo10->setCurrentIndex(0);
    }
    view.fillFrom(*document_);
    QListWidget* list = view.modeList();
    if (const int row = std::exchange(rowAfterFilling_[index], -1); row >= 0 && row < list->count())
        list->setCurrentRow(row);
}

PendingEdits SaveGameEditor::pendingEdits()
{
    if (sides_->running())
        return sides_->runningEdits();
    ModeView& view = modeView(mode_);
    if (filling_ || view.shownRecord() < 0)
        return {};
    return {[this, &view] { return view.differsFrom(documentKinds()); },
            [this, &view] { return view.applyShown(documentKinds()); },
            [this, &view] { view.showRecord(*document_, view.shownRecord()); }};
}

bool SaveGameEditor::mayLeaveRecord()
{
    return files_->mayLeaveRecord();
}

bool SaveGameEditor::viewHoldsEdits()
{
    if (filling_ || sides_->running() || mode_ < 0)
        return false;
    ModeView& view = modeView(mode_);
    return view.shownRecord() >= 0 && view.differsFrom(documentKinds());
}

bool SaveGameEditor::mayMoveTo(int mode, int row)
{
    ModeView& view = modeView(mode);
    return filling_ || MayMoveList(*view.modeList(), row, view.shownRecord(), *session_.prompter, pendingEdits());
}

void SaveGameEditor::controlledOfficerChosen()
{
    if (List1->currentRow() < 0)
        return;
    const int n = ItemNumber(Combo10->currentText());
    if (n >= 0 && n < List1->count())
        List1->setCurrentRow(n);
}

DocumentKinds& SaveGameEditor::documentKinds()
{
    if (!kinds_)
        kinds_ = std::make_unique<DocumentKinds>(*document_, treasureNotes_);
    return *kinds_;
}

void SaveGameEditor::showRecordOf(SaveRecord kind, int n)
{
    const int mode = int(std::find(kModeRecords.begin(), kModeRecords.end(), kind) - kModeRecords.begin());
    if (mode >= int(kModeRecords.size()))
        return;
    if (mode != mode_)
        Option3[mode]->click();
    if (mode != mode_)
        return;  // the user chose to stay with edits not yet applied
    QListWidget* list = modeView(mode).modeList();
    if (n >= 0 && n < list->count())
        list->setCurrentRow(n);
    raise();
    activateWindow();
}

void SaveGameEditor::showOfficer(int n)
{
    panel_->showRecord(*document_, n);
}

void SaveGameEditor::showTables()
{
    session_.officerCount = tables().officerCount;
    session_.officerNames = tables().officerNames;
    control_->fillControlledList();
    panel_->setForceList(tables().leaderNames);
    Option3[3]->setEnabled(tables().hasFamily);
}

void SaveGameEditor::officerRenamed(int n)
{
    showTables();  // force names are their leaders' names
    List1->item(n)->setText(NumberedItem(n, 3, tables().officerNames[n]));
    panel_->showOfficer(document_->bytes(), tables(), n);
    // The lists of the other modes show owners and parties by name: filled again
    // when next shown, on the row they were on.
    for (int mode = 1; mode < int(needsFilling_.size()); ++mode) {
        if (!needsFilling_[std::size_t(mode)]) {
            needsFilling_[std::size_t(mode)] = true;
            rowAfterFilling_[std::size_t(mode)] = modeView(mode).modeList()->currentRow();
        }
    }
}

void SaveGameEditor::closeEvent(QCloseEvent* event)
{
    // Treasure attributes applied but not written would be lost with the window.
    if (files_->mayClose([this] { return treasurePrompt(); }))
        event->accept();
    else
        event->ignore();
}

}  // namespace varkel
