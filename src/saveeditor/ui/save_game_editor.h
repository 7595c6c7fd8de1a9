#pragma once

#include "saveeditor/document_kinds.h"
#include "saveeditor/save_document.h"
#include "saveeditor/save_kinds.h"
#include "saveeditor/ui/editor_modes.h"
#include "saveeditor/ui/officer_column.h"
#include "saveeditor/ui/save_editor_menus.h"
#include "shared/session.h"
#include "shared/ui/pending_edits.h"
#include "shared/ui/pickers.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QDialog;
class QLabel;
class QStatusBar;

namespace varkel {

class DocumentFollower;
class EditState;
class FileCommands;
class OfficerControl;
class ProblemsNote;
class ScenarioCommands;
class SideWindows;

// The saved-game editor: one saved game in memory, shown in four modes. Apply
// changes the buffer, Save writes it; the Save buttons and menu items are enabled
// exactly while there are unsaved changes.
class SaveGameEditor : public QWidget {
    Q_OBJECT
public:
    // Opens the newest saved game, or `path` as File > Open reads it; when there is
    // none or it is refused, says so and gives nullptr, as it does when the file
    // does not look like a saved game and the user chooses not to open it.
    static SaveGameEditor* open(Session& session, const QString& path = {});
    ~SaveGameEditor() override;

    // The face and officer pickers this window and its side windows open; by
    // default the program's own, FacePicker and OfficerPicker. An empty one opens nothing.
    void setPicker(Picker picker) { picker_ = std::move(picker); }
    // Shows a side window (the forecast, the intimacy, city and force editors); by
    // default modally. Tests drive it instead.
    void setSideWindowRunner(std::function<void(QDialog&)> run);
    // The random source of the family view and the forecast's likeness.
    void setRandomSource(std::function<double()> random);
    void setAboutView(std::function<void()> showAbout);

    SaveDocument& document() const { return *document_; }
    // The record kinds the views write through; made when first asked for.
    DocumentKinds& documentKinds();
    const SaveGame& saveGame() const { return document_->save(); }
    const SaveTables& tables() const { return document_->tables(); }
    // Unsaved changes to the save (not counting treasure attributes for the scenario file).
    bool modified() const;
    EditState& editState() const { return *state_; }

    Session& session() const { return session_; }
    Picker& picker() { return picker_; }
    const std::function<double()>& randomSource() const { return random_; }
    // The windows it opens beside its modes.
    SideWindows& sideWindows() { return *sides_; }
    // What the record kinds of the open save take from the game folder.
    SaveKindsContext kindsContext() const;

    // Shows officer n as the document holds it, over anything typed.
    void showOfficer(int n);
    // Shows record n of `kind` in the mode that lists it, as choosing it in its list does.
    void showRecordOf(SaveRecord kind, int n);
    // A file dropped on the window or handed to the program opens as through File > Open.
    void openPath(const QString& path);
    // File > 存檔 k: opens save slot k as File > Open would.
    void openSlot(int k);
    // The treasure notes and the scenario file.
    ScenarioCommands& scenarioCommands() const { return *scenarioCommands_; }
    // Before the view of the current mode (or the side window running) is left:
    // asks about typed edits; false to stay.
    bool mayLeaveRecord();

    // The four modes and their views.
    EditorModes& modes() const { return *modes_; }
    SaveEditorMenus& menus() const { return *menus_; }
    OfficerColumn& column() const { return *column_; }
    FileCommands& fileCommands() const { return *files_; }
    OfficerControl& officerControl() const { return *control_; }
    const ScenarioData& scenario() const { return document_->scenario(); }
    // The edits typed and not applied that a question is about: the side window's
    // while one runs, else the view shown's.
    PendingEdits pendingEdits();

    // Large enough for the largest view, the family view, though it is not built yet.
    QSize sizeHint() const override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    SaveGameEditor(Session& session, SaveGame save, ScenarioData scenario);
    // The file commands over the open save.
    void useFileCommands();
    QWidget* buildModeRow();
    // The Save commands and the scenario's Save button follow the unsaved state.
    void updateSaveCommands();
    // A save was opened: every view is filled from it when next shown.
    void showOpenedSave();
    // Whether the view shown holds edits typed but not applied.
    bool viewHoldsEdits();
    // The place of the open file above the views, and its slot ticked in the menu.
    void showFilePlace();

    Session& session_;
    SaveDocument* document_ = nullptr;
    Picker picker_;
    std::function<double()> random_;
    EditState* state_ = nullptr;
    std::unique_ptr<FileCommands> files_;
    std::unique_ptr<SideWindows> sides_;
    std::unique_ptr<ScenarioCommands> scenarioCommands_;
    std::unique_ptr<OfficerControl> control_;
    std::unique_ptr<DocumentKinds> kinds_;  // made when first asked for
    EditorModes* modes_ = nullptr;
    SaveEditorMenus* menus_ = nullptr;
    OfficerColumn* column_ = nullptr;
    DocumentFollower* follower_ = nullptr;

public:
    ProblemsNote* problemsNote = nullptr;
    // Above the views: where the open file is.
    QLabel* Label28 = nullptr;
};

}  // namespace varkel
