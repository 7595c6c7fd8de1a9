// SaveGameEditor's "其它" menu: the city and force editors over the open save, and the
// tables of all records.
#include "saveeditor/save_kinds.h"
#include "saveeditor/ui/city_editor.h"
#include "saveeditor/ui/save_game_editor.h"
#include "saveeditor/ui/force_editor.h"
#include "saveeditor/ui/mode_view.h"
#include "saveeditor/ui/problems_window.h"
#include "shared/ui/edit_state.h"
#include "shared/ui/records_window.h"
#include "shared/ui/side_editor.h"

#include <QAction>
#include <QListWidget>
#include <QLabel>
#include <QRadioButton>

namespace varkel {

namespace {

// The record kind each mode lists.
constexpr std::array<SaveRecord, 4> kModeRecords = {SaveRecord::Officer, SaveRecord::Treasure, SaveRecord::Relation,
                                                    SaveRecord::Family};

}  // namespace

void SaveGameEditor::sCity_Click()
{
    openCityEditor(-1);
}

void SaveGameEditor::openCityEditor(int n)
{
    CityEditor cities(session_, *document_, scenario().cityNames, picker_, this);
    if (n >= 0)
        cities.chooseCity(n);
    OfferRecordsTable(cities.tableButton, [this, &cities] {
        openRecordsTable(SaveRecord::City, &cities, [&cities](int c) { cities.chooseCity(c); });
    });
    runSideWindow(cities, cities.pendingEdits());
}

void SaveGameEditor::sBingQi_Click()
{
    openForceEditor(-1);
}

void SaveGameEditor::openForceEditor(int n)
{
    ForceEditor forces(*session_.prompter, *document_, scenario().courtRanks, this);
    if (n >= 0)
        forces.chooseForce(n);
    OfferRecordsTable(forces.tableButton, [this, &forces] {
        openRecordsTable(SaveRecord::Force, &forces, [&forces](int s) { forces.chooseForce(s); });
    });
    runSideWindow(forces, forces.pendingEdits());
}

void SaveGameEditor::sTable_Click()
{
    const int mode = mode_;
    openRecordsTable(kModeRecords[std::size_t(mode)], this, [this, mode](int n) { showRecordOf(mode, n); });
}

RecordsWindow* SaveGameEditor::openRecordsTable(SaveRecord kind, QWidget* over, std::function<void(int)> show)
{
    QPointer<RecordsWindow>& open = tables_[kind];
    if (!open || open->parentWidget() != over) {
        delete open;
        open = new RecordsWindow(session_, documentKinds().source(kind), SaveRecordCaption(kind), std::move(show), over);
        // Undo, redo and save work from the table as from the editor.
        state_->shareWith(*open);
        // Edits typed in the view are applied or dropped first, as before undo.
        open->setBeforeBatch([this] { return mayLeaveRecord(); });
    }
    open->show();
    open->raise();
    open->activateWindow();
    return open;
}

void SaveGameEditor::showRecordOf(int mode, int n)
{
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

void SaveGameEditor::showSaveRecord(SaveRecord kind, int n)
{
    const auto mode = std::find(kModeRecords.begin(), kModeRecords.end(), kind);
    if (mode != kModeRecords.end())
        showRecordOf(int(mode - kModeRecords.begin()), n);
    else if (kind == SaveRecord::City)
        openCityEditor(n);
    else if (kind == SaveRecord::Force)
        openForceEditor(n);
}

SaveKindsContext SaveGameEditor::kindsContext() const
{
    return {scenario().cityNames, scenario().courtRanks, treasureNotes_, std::nullopt, false};
}

void SaveGameEditor::sCheck_Click()
{
    if (!problems_) {
        problems_ = new ProblemsWindow(
            session_, *document_, kindsContext(), [this](SaveRecord kind, int n) { showSaveRecord(kind, n); }, this);
        state_->shareWith(*problems_);
    }
    problems_->show();
    problems_->raise();
    problems_->activateWindow();
}

void SaveGameEditor::noteProblems()
{
    const std::size_t found = FindSaveProblems(*document_, kindsContext()).size();
    problemsNote->setText(QStringLiteral("<a href=\"problems\">發現 %1 個問題</a>").arg(found));
    problemsNote->setToolTip(QStringLiteral("按一下打開問題清單"));
    problemsNote->setVisible(found > 0);
}

}  // namespace varkel
