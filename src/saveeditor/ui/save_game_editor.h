#pragma once

#include "saveeditor/document_kinds.h"
#include "saveeditor/save_document.h"
#include "saveeditor/save_kinds.h"
#include "shared/session.h"
#include "shared/ui/pending_edits.h"
#include "shared/ui/pickers.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QButtonGroup;
class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QStatusBar;

namespace varkel {

class FamilyPanel;
class ModeView;
class OfficerPanel;
class RelationPanel;
class TreasurePanel;
class OfficerSearchBox;
class EditState;
class FileCommands;
class OfficerControl;
class SideWindows;

// The saved-game editor: one saved game in memory, shown in four modes. Apply
// changes the buffer, Save writes it; the Save buttons and menu items are enabled
// exactly while there are unsaved changes.
class SaveGameEditor : public QWidget {
    Q_OBJECT
public:
    // The saved games in the file dialogs: their filter's label and pattern.
    inline static const QString kSaveLabel = QStringLiteral("Varkel遊戲存檔");
    inline static const QString kSavePattern = QStringLiteral("Svd_0*.sav");

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
    void setAboutView(std::function<void()> showAbout) { showAbout_ = std::move(showAbout); }

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

    void showOfficer(int n);
    void showTreasure(int i);
    void showMember(int k);
    // Shows record n of `kind` in the mode that lists it, as choosing it in its list does.
    void showRecordOf(SaveRecord kind, int n);
    // Shows mode `index` (of Option3); stays when the user keeps edits of the view shown.
    void showMode(int index);
    // A file dropped on the window or handed to the program opens as through File > Open.
    void openPath(const QString& path);
    // File > 存檔 k: opens save slot k as File > Open would.
    void openSlot(int k);
    // Asks, then writes the treasure attributes to the scenario file; true when written.
    bool writeScenario();
    // Before the view of the current mode (or the side window running) is left:
    // asks about typed edits; false to stay.
    bool mayLeaveRecord();

    OfficerPanel* officerPanel() const { return panel_; }
    // The treasure, relationship and family views are built when first asked for.
    TreasurePanel* treasurePanel();
    RelationPanel* relationPanel();
    FamilyPanel* familyPanel();
    const ScenarioData& scenario() const { return document_->scenario(); }

    // Large enough for the largest view, the family view, though it is not built yet.
    QSize sizeHint() const override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    SaveGameEditor(Session& session, SaveGame save, ScenarioData scenario, const QString& scenarioPath);
    // The file commands over the open save.
    void useFileCommands();
    void buildMenus(QMenuBar* bar);
    QWidget* buildSideColumn();
    QWidget* buildModes();
    // The views of the modes: the officer view now, the others when first shown.
    QWidget* buildViews();
    QStatusBar* buildStatusLine();
    // Puts a mode's view into the window with its Apply and the window's Save button.
    template <typename View>
    View* addMode(int i, View* view);
    // The view of `mode`, built if it was not yet.
    ModeView& modeView(int mode);
    // The Save commands and the scenario's Save button follow the unsaved state.
    void updateSaveCommands();
    // A save was opened: every view is filled from it when next shown.
    void showOpenedSave();
    // The document changed: the views show what the change touched.
    void documentChanged(const DocumentChange& change);
    // Undo or a side window changed the buffers: the lists and the record shown
    // are read again, in the mode and on the rows they were.
    void reloadViews();
    // The edits typed and not applied that a question is about: the side window's
    // while one runs, else the view shown's.
    PendingEdits pendingEdits();
    // Before the list of `mode` moves to `row`; on "stay" the list is put back.
    bool mayMoveTo(int mode, int row);
    // Whether the view shown holds edits typed but not applied.
    bool viewHoldsEdits();
    void tickSlotMenu();
    // Writes the open save where it is, or to `path`; failures are reported.
    bool writeSave();
    bool writeSaveAs(const QString& path);
    // Writes the treasure attributes to "d_sce.vk"; failures are reported.
    bool writeScenarioFile();
    // Before the window closes: offers to write treasure attributes not yet written.
    bool treasurePrompt();
    // Opens a saved game over the current one; refusals are reported (text
    // `missingText` for a file that is not there). A file that does not look like
    // a saved game is asked about first; on "No" the open save stays as it was.
    bool openSave(const QString& path, qint64 minimumSize, int missingText);
    // The treasure notes, read again from the game folder.
    void readTreasureNotes();
    // The lists and boxes that show the document's tables.
    void showTables();
    // Says on the status line, once a save is opened, how many problems it has.
    void noteProblems();
    // After an Apply that renamed officer `n`: everything that shows officer names follows.
    void officerRenamed(int n);
    // Jumps to the officer chosen among the controlled ones.
    void controlledOfficerChosen();
    // The intimacy editor of the officer shown, when a player controls it.
    void openIntimacyOfShown();
    // Picks another officer for party p (0..2) of the relationship shown.
    void chooseRelationParty(int p);

    // The record kind each mode lists, in the order of Option3.
    static constexpr std::array<SaveRecord, 4> kModeRecords = {SaveRecord::Officer, SaveRecord::Treasure,
                                                               SaveRecord::Relation, SaveRecord::Family};

    Session& session_;
    SaveDocument* document_ = nullptr;
    Picker picker_;
    std::function<void()> showAbout_;
    std::array<bool, 4> needsFilling_{};
    // The row a mode's list goes back to once it is filled again (-1: its first).
    std::array<int, 4> rowAfterFilling_{-1, -1, -1, -1};
    OfficerPanel* panel_ = nullptr;
    TreasurePanel* treasures_ = nullptr;
    FamilyPanel* family_ = nullptr;
    RelationPanel* relations_ = nullptr;
    std::array<std::function<ModeView&()>, 4> modeViews_;
    QStringList treasureNotes_;
    int mode_ = 0;  // the mode shown, as Option3
    OfficerSearchBox* search_ = nullptr;
    std::function<double()> random_;
    EditState* state_ = nullptr;
    std::unique_ptr<FileCommands> files_;
    std::unique_ptr<SideWindows> sides_;
    std::unique_ptr<OfficerControl> control_;
    std::unique_ptr<DocumentKinds> kinds_;  // made when first asked for
    bool filling_ = false;  // views being filled from the buffers: no questions

public:
    // Controls, indexed as their object names.
    std::array<QAction*, 9> sSavSum{};
    QAction* tOpenFile = nullptr;
    QAction* tSaveFile = nullptr;
    QAction* tSaveAs = nullptr;
    QAction* tExit = nullptr;
    QMenu* tRecent = nullptr;
    QAction* tUndo = nullptr;
    QAction* tRedo = nullptr;
    QAction* sCity = nullptr;
    QAction* sBingQi = nullptr;
    QAction* sTable = nullptr;
    QAction* sCheck = nullptr;
    QAction* tCompare = nullptr;
    QAction* tBackups = nullptr;
    QLabel* problemsNote = nullptr;  // on the status line: "發現 N 個問題" when the save has any
    std::array<QRadioButton*, 4> Option3{};
    std::array<QWidget*, 4> Frame10{};
    std::array<QPushButton*, 4> Command7{};  // Apply of each mode
    std::array<QPushButton*, 4> Command8{};  // Save, shown in each mode's view
    QLabel* Label28 = nullptr;
    QGroupBox* Frame26 = nullptr;
    QComboBox* Combo10 = nullptr;
    QListWidget* List1 = nullptr;
    QLineEdit* Text13 = nullptr;
    QLabel* Label34 = nullptr;

private:
    QStackedWidget* modes_ = nullptr;
};

}  // namespace varkel
