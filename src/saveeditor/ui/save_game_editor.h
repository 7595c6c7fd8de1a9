#pragma once

#include "saveeditor/document_kinds.h"
#include "saveeditor/save_document.h"
#include "saveeditor/save_kinds.h"
#include "shared/session.h"
#include "shared/ui/pending_edits.h"
#include "shared/ui/pickers.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <map>
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

namespace varkel {

class FamilyPanel;
class ModeView;
class OfficerPanel;
class RelationPanel;
class TreasurePanel;
class OfficerSearchBox;
class RecordsWindow;
class EditState;

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

    // The face and officer pickers this window and its side windows open; by
    // default the program's own, FacePicker and OfficerPicker. An empty one opens nothing.
    void setPicker(Picker picker) { picker_ = std::move(picker); }
    // Shows a side window (the forecast, the intimacy, city and force editors); by
    // default modally. Tests drive it instead.
    void setSideWindowRunner(std::function<void(QDialog&)> run) { runSideWindow_ = std::move(run); }
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

    void rLoadFile();
    void showOfficer(int n);

    void Option3_Click(int index);
    void List1_Click();
    void Combo10_Click();
    void Command1_Click();
    void Check5_Click();
    void Command11_Click();
    void Command10_Click();
    void ReadBWNote();
    void showTreasure(int i);
    void Command2_Click();
    // Asks, then writes the scenario buffer; true when it was written.
    bool Command13_Click();
    void List3_Click(int i);
    void Command12_Click(int p);
    void showMember(int k);
    void Command15_Click();
    void Label32_DblClick();
    void Command7_Click(int index);
    void Command8_Click(int index);
    void tOpenFile_Click();
    // A file dropped on the window or chosen from the recent files opens as through File > Open.
    void openPath(const QString& path);
    void fillRecentMenu();
    void sSavSum_Click(int k);
    void tSaveFile_Click();
    void tSaveAs_Click();
    void sCity_Click();
    void sBingQi_Click();
    // The table of every record of the mode shown (其它 > 一覽表).
    void sTable_Click();
    // Opens (or brings to the front) the table of the records of `kind` over
    // `over`; a double-click runs `show` with the record's place.
    RecordsWindow* openRecordsTable(SaveRecord kind, QWidget* over, std::function<void(int)> show);
    // Shows record n (its place) of `mode` in its view, as choosing it in the list does.
    void showRecordOf(int mode, int n);
    // Shows record n of `kind` in its view: a mode of this window, or the city or
    // force editor opened on it.
    void showSaveRecord(SaveRecord kind, int n);
    // The city and force editors, opened on city / force n (-1: their first).
    void openCityEditor(int n);
    void openForceEditor(int n);
    // The problems of the open save (其它 > 檢查存檔).
    void sCheck_Click();
    // File > 比較存檔: another save, chosen in the file dialog, against the open one.
    void tCompare_Click();
    // File > 備份記錄: the backups of the open file, to compare with or restore.
    void tBackups_Click();
    // The comparison of the open save with `bytes`, read from `path`; false, having
    // said why, when they are no saved game.
    bool compareWith(const QString& path);
    // What the record kinds of the open save take from the game folder.
    SaveKindsContext kindsContext() const;

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
    void buildMenus(QMenuBar* bar);
    QWidget* buildSideColumn();
    QWidget* buildModes();
    // Puts a mode's view into the window with its Apply and the window's Save button.
    template <typename View>
    View* addMode(int i, View* view);
    // The view of `mode`, built if it was not yet.
    ModeView& modeView(int mode);
    // The Save commands and the scenario's Save button follow the unsaved state.
    void updateSaveCommands();
    // The document changed: the views show what the change touched.
    void documentChanged(const DocumentChange& change);
    // Undo or a side window changed the buffers: the lists and the record shown
    // are read again, in the mode and on the rows they were.
    void reloadViews();
    // Runs a side window that changes the save. Its Applies reach the views through
    // the document (a head change moves two officers' statuses, a force name shows
    // in the officer view). Undo, Redo and Save work from it too; what they ask
    // about is its `edits` not yet applied.
    void runSideWindow(QDialog& window, PendingEdits edits = {});
    // Runs a side window where it was last, or fitted to the screen.
    void showSideWindow(QDialog& window);
    // The edits typed and not applied that a question is about: the side window's
    // while one runs, else the view shown's.
    PendingEdits pendingEdits();
    // Before the view of the current mode (or the side window running) is left:
    // asks about typed edits; false to stay. `applied` tells whether they were applied.
    bool mayLeaveRecord(bool* applied = nullptr);
    // Before the list of `mode` moves to `row`; on "stay" the list is put back.
    bool mayMoveTo(int mode, int row);
    // Before Save or Save as: asks about edits typed but not applied, in the side
    // window running or else in the view shown; false to stop the save.
    bool settleEditsBeforeSave();
    // Whether the view shown holds edits typed but not applied.
    bool viewHoldsEdits();
    void tickSlotMenu();
    // Asks to save unsaved changes; false when the command is to stop.
    bool savePrompt();
    bool saveFile();
    // Writes the treasure attributes to "d_sce.vk"; failures are reported.
    bool writeScenario();
    // Before the window closes: offers to write treasure attributes not yet written.
    bool treasurePrompt();
    bool saveAs();
    // Opens a saved game over the current one; refusals are reported (text
    // `missingText` for a file that is not there). A file that does not look like
    // a saved game is asked about first; on "No" the open save stays as it was.
    bool openSave(const QString& path, qint64 minimumSize, int missingText);
    void loadOpened();
    // Puts the open file first in the recent-files list; a failed write is told on the status line.
    void listRecent();
    // Combo10 and the Frame26 caption from the controlled-officer slots.
    void fillControlledList();
    // The lists and boxes that show the document's tables.
    void showTables();
    // Says on the status line, once a save is opened, how many problems it has.
    void noteProblems();
    // After an Apply that renamed officer `n`: everything that shows officer names follows.
    void officerRenamed(int n);
    void takeControl(int n);
    void giveUpControl(int n);
    // After a change of control: the lists and officer n again. `selectSlot` is
    // the slot taken, -1 to leave Combo10 without a selection.
    void controlChanged(int n, int selectSlot);

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
    std::function<void(QDialog&)> runSideWindow_;
    PendingEdits sideWindowEdits_;  // the edits of the side window running
    std::function<double()> random_;
    EditState* state_ = nullptr;
    std::unique_ptr<DocumentKinds> kinds_;  // made when first asked for
    std::map<SaveRecord, QPointer<RecordsWindow>> tables_;
    QPointer<QWidget> problems_;
    bool filling_ = false;  // views being filled from the buffers: no questions
    bool coveredBySideWindow_ = false;  // a side window runs over the views
    bool changedWhileCovered_ = false;

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
