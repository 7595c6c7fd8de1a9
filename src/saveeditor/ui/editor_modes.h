#pragma once

#include "saveeditor/save_kinds.h"
#include "shared/ui/pending_edits.h"

#include <QObject>
#include <QScopedValueRollback>
#include <QSize>

#include <array>
#include <functional>

class QBoxLayout;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QWidget;

namespace varkel {

class FamilyPanel;
class ModeView;
class OfficerPanel;
class RecordList;
class RelationPanel;
class SaveGameEditor;
class TreasurePanel;

// The four modes of the saved-game editor (officers, treasures, relationships,
// family members): the buttons that choose them, their views in a stack, and
// filling, leaving and applying the view shown. The treasure, relationship and
// family views are built the first time they are shown: many sessions never open
// them, and building them made the window slower to appear.
class EditorModes : public QObject {
    Q_OBJECT
public:
    // The record kind each mode lists, in the order of Option3.
    static constexpr std::array<SaveRecord, 4> kRecords = {SaveRecord::Officer, SaveRecord::Treasure,
                                                           SaveRecord::Relation, SaveRecord::Family};

    explicit EditorModes(SaveGameEditor& editor);

    // Option3(0..3) into `row`, with Alt+1..4 as their keys.
    void addButtons(QBoxLayout& row);
    // The stack of views, the officer view built over the officer column's list.
    QWidget* buildViews();

    // The mode shown, as Option3.
    int current() const { return mode_; }
    // Shows mode `index`; stays when the user keeps edits of the view shown.
    void show(int index);
    // Shows record n of `kind` in the mode that lists it, as choosing it in its list does.
    void showRecordOf(SaveRecord kind, int n);
    // A save was opened: each view is filled from its first record when next shown,
    // starting with the officer view, now.
    void showOpened();
    // The buffers changed under the views: they are filled again, the one shown
    // now on the row it was on.
    void reload();
    // An officer was renamed: the other modes, which name owners and parties, are
    // filled again when next shown, on the rows they were on.
    void refillOthersLater();
    // The edits typed into the view shown and not applied.
    PendingEdits pendingEdits();
    bool viewHoldsEdits();
    // While the views are filled from the buffers, nothing asks about edits.
    [[nodiscard]] QScopedValueRollback<bool> whileFilling() { return QScopedValueRollback<bool>(filling_, true); }

    ModeView& view(int mode);
    // The list of `mode`, with the record its view shows.
    RecordList& records(int mode);
    OfficerPanel* officerPanel() const { return officers_; }
    TreasurePanel* treasurePanel();
    RelationPanel* relationPanel();
    FamilyPanel* familyPanel();
    TreasurePanel* treasurePanelIfBuilt() const { return treasures_; }
    void setRandomSource(const std::function<double()>& random);
    // What the window needs beyond its views' own size hints for the largest view,
    // the family view, before it is built.
    QSize unbuiltRoom() const;

    std::array<QRadioButton*, 4> Option3{};
    std::array<QWidget*, 4> Frame10{};
    std::array<QPushButton*, 4> Command7{};  // Apply of each mode
    std::array<QPushButton*, 4> Command8{};  // Save, shown in each mode's view

signals:
    // Before the view of `mode` is filled from the document.
    void aboutToFill(int mode);
    // Mode `mode` is shown.
    void shown(int mode);
    // The user typed, chose or ticked something in a view.
    void edited();
    void saveRequested();

private:
    // Puts a mode's view into the stack with its Apply and the window's Save button.
    template <typename View>
    View* addMode(int i, View* view);
    void wireOfficerView();
    // Picks another officer for party p (0..2) of the relationship shown.
    void chooseRelationParty(int p);
    // The intimacy editor of the officer shown, when a player controls it.
    void openIntimacyOfShown();

    SaveGameEditor& editor_;
    QStackedWidget* stack_ = nullptr;
    OfficerPanel* officers_ = nullptr;
    TreasurePanel* treasures_ = nullptr;
    RelationPanel* relations_ = nullptr;
    FamilyPanel* family_ = nullptr;
    std::array<RecordList*, 4> lists_{};
    int mode_ = 0;
    std::array<bool, 4> needsFilling_{};
    // The row a mode's list goes back to once it is filled again (-1: its first).
    std::array<int, 4> rowAfterFilling_{-1, -1, -1, -1};
    bool filling_ = false;  // views being filled from the buffers: no questions
};

}  // namespace varkel
