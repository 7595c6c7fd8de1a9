#include "saveeditor/ui/side_windows.h"

#include "saveeditor/family_view.h"
#include "saveeditor/save_file.h"
#include "saveeditor/save_layout.h"
#include "saveeditor/ui/backups_window.h"
#include "saveeditor/ui/city_editor.h"
#include "saveeditor/ui/compare_window.h"
#include "saveeditor/ui/family_panel.h"
#include "saveeditor/ui/force_editor.h"
#include "saveeditor/ui/growth_forecast_dialog.h"
#include "saveeditor/ui/intimacy_editor.h"
#include "saveeditor/ui/problems_window.h"
#include "saveeditor/ui/save_file_commands.h"
#include "saveeditor/ui/save_game_editor.h"
#include "shared/file_io.h"
#include "shared/ui/edit_state.h"
#include "shared/ui/records_window.h"
#include "shared/ui/standard_error.h"
#include "shared/ui/unlike_file.h"
#include "shared/ui/window_geometry.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QScopedValueRollback>

namespace varkel {

SideWindows::SideWindows(SaveGameEditor& editor, std::function<void()> reload)
    : editor_(editor), reload_(std::move(reload)), run_([](QDialog& window) { window.exec(); })
{
}

void SideWindows::openCityEditor(int n)
{
    CityEditor cities(editor_.session(), editor_.document(), editor_.scenario().cityNames, editor_.picker(), &editor_);
    runRecordEditor(cities, SaveRecord::City, n);
}

void SideWindows::openForceEditor(int n)
{
    ForceEditor forces(*editor_.session().prompter, editor_.document(), editor_.scenario().courtRanks, &editor_);
    runRecordEditor(forces, SaveRecord::Force, n);
}

void SideWindows::runRecordEditor(RecordListEditor& window, SaveRecord kind, int n)
{
    window.chooseRecord(n);
    window.offerRecordsTable([this, &window, kind] {
        openRecordsTable(kind, &window, [&window](int record) { window.chooseRecord(record); });
    });
    run(window, window.pendingEdits());
}

void SideWindows::openIntimacyEditor(int slot)
{
    IntimacyEditor intimacy(editor_.session(), editor_.document(), slot, &editor_);
    run(intimacy);
}

void SideWindows::openGrowthForecast()
{
    // From the member as last read or applied, not from edits not yet applied.
    FamilyPanel* family = editor_.modes().familyPanel();
    const FamilyMember& child = family->shownMember();
    const QByteArray& save = editor_.document().bytes();
    const SaveTables& tables = editor_.tables();
    const auto lines = GrowthForecast(child.person.abilities, child.caps, child.growth, family->shownAge(), save);
    const int likeness = ChooseLikeness(tables, editor_.randomSource());
    const QString name = likeness >= 0 ? tables.officerNames.value(likeness) : QString();
    const int face = likeness >= 0 ? DecodePersonBlock(save, save::personBlock(likeness)).face : 0;
    GrowthForecastDialog forecast(editor_.session(), lines, name, face, &editor_);
    family->setForecastOpen(true);
    place(forecast);
    family->setForecastOpen(false);
}

RecordsWindow* SideWindows::openRecordsTable(SaveRecord kind, QWidget* over, std::function<void(int)> show)
{
    QPointer<RecordsWindow>& open = tables_[kind];
    if (!open || open->parentWidget() != over) {
        delete open;
        open = new RecordsWindow(editor_.session(), editor_.documentKinds().source(kind), SaveRecordCaption(kind),
                                 std::move(show), over);
        // Undo, redo and save work from the table as from the editor.
        editor_.editState().shareWith(*open);
        // Edits typed in the view are applied or dropped first, as before undo.
        open->setBeforeBatch([this] { return editor_.mayLeaveRecord(); });
    }
    showBeside(*open);
    return open;
}

void SideWindows::openProblems()
{
    if (!problems_) {
        problems_ = new ProblemsWindow(
            editor_.session(), editor_.document(), editor_.kindsContext(),
            [this](SaveRecord kind, int n) { showSaveRecord(kind, n); }, &editor_);
        editor_.editState().shareWith(*problems_);
    }
    showBeside(*problems_);
}

void SideWindows::compareChosenSave()
{
    Session& session = editor_.session();
    const QString path = ShowOpenDialog(*session.dialogs, {kSaveGameLabel, QStringLiteral("*.sav *.sav.*"),
                                                           QStringLiteral("比較存檔"), session.gameFolder});
    if (!path.isEmpty())
        compareWith(path);
}

bool SideWindows::compareWith(const QString& path)
{
    Session& session = editor_.session();
    RuntimeError error;
    const auto bytes = ReadRegularFile(path, save::kMaximumSaveSize + 1, &error, session.files.io());
    if (!bytes) {
        ShowRuntimeError(*session.prompter, error);
        return false;
    }
    if (bytes->size() < save::kOpenMinimumSize || bytes->size() > save::kMaximumSaveSize) {
        session.prompter->tell(
            QStringLiteral("%1 不是可以比較的存檔（%2 字節）。").arg(QDir::toNativeSeparators(path)).arg(bytes->size()),
            QStringLiteral("比較存檔"), MessageIcon::Warning);
        return false;
    }
    // A file of another kind would compare as thousands of meaningless differences.
    if (!MayOpenUnlikeFile(*session.prompter, SaveGame::shapeProblems(*bytes), kUnlikeSaveQuestion))
        return false;
    auto* window = new CompareWindow(
        session, editor_.document(), editor_.kindsContext(), path, *bytes,
        [this](SaveRecord kind, int n) { showSaveRecord(kind, n); }, &editor_);
    editor_.editState().shareWith(*window);
    showBeside(*window);
    return true;
}

void SideWindows::openBackups()
{
    auto* window = new BackupsWindow(
        editor_.session(), editor_.document(), [this](const QString& backup) { compareWith(backup); }, &editor_);
    editor_.editState().shareWith(*window);
    showBeside(*window);
}

void SideWindows::showSaveRecord(SaveRecord kind, int n)
{
    if (kind == SaveRecord::City)
        openCityEditor(n);
    else if (kind == SaveRecord::Force)
        openForceEditor(n);
    else
        editor_.showRecordOf(kind, n);
}

void SideWindows::run(QDialog& window, PendingEdits edits)
{
    // What the window applies is shown in the editor afresh, over anything typed.
    if (!editor_.mayLeaveRecord())
        return;
    editor_.editState().shareWith(window);
    window.addAction(editor_.menus().tSaveAs);
    WatchUserEdits(window, [this] {
        editor_.menus().tSaveFile->setEnabled(true);
        editor_.menus().tSaveAs->setEnabled(true);
    });
    const QScopedValueRollback<PendingEdits> asked(runningEdits_, std::move(edits));
    // The views behind it read the document again once, when it closes.
    const QScopedValueRollback<bool> covered(running_, true);
    place(window);
    if (std::exchange(changedWhileRunning_, false))
        reload_();
}

void SideWindows::place(QDialog& window)
{
    KeepWindowGeometry(window, editor_.session());
    run_(window);
}

void SideWindows::showBeside(QWidget& window)
{
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace varkel
