#pragma once

#include "saveeditor/document_kinds.h"
#include "saveeditor/force_record.h"
#include "saveeditor/save_document.h"
#include "shared/seams.h"
#include "shared/ui/flag_boxes.h"
#include "shared/ui/pending_edits.h"

#include <QDialog>

#include <array>
#include <span>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace varkel {

// The force editor: the state name, court rank, technology, troop types and
// siege machines of every force that has a leader, stored straight into the save
// buffer. Shown modally over the saved-game editor.
class ForceEditor : public QDialog {
    Q_OBJECT
public:
    // `courtRanks` are the scenario's 32 rank names; `prompter` asks about edits
    // not yet applied when the user leaves a force.
    ForceEditor(Prompter& prompter, SaveDocument& document, const QStringList& courtRanks, QWidget* parent = nullptr);

    void showForce(int s);
    void applyForce(int s);
    void applySelected();
    // The force number of the selected row; -1 for none.
    int selectedForce() const;
    // The force last read or applied; -1 before the first.
    int shownForce() const { return shownForce_; }
    // Moves the list to force s, asking first about edits of the force shown;
    // nothing for a force the list does not hold.
    void chooseForce(int s);
    // True when an Apply of the force shown would change the save: the view
    // holds edits not yet applied. False before any force is read.
    bool viewDiffers() const;

    // Closing (the exit button, the close box, Escape) first asks about edits not
    // yet applied; "stay" keeps the window open.
    void done(int result) override;

    QListWidget* List1 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QLineEdit* Text1 = nullptr;
    QComboBox* Combo1 = nullptr;  // court rank
    QComboBox* Combo2 = nullptr;  // technology
    QGroupBox* Frame1 = nullptr;
    std::array<QCheckBox*, force::kTroopTypeCount> Check1{};
    QGroupBox* Frame2 = nullptr;
    std::array<QCheckBox*, force::kMachineCount> Check2{};
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* tableButton = nullptr;  // the table of all forces, when the editor offers it

    // The edits of the force shown not yet applied, for the questions before a
    // save, an undo or a batch.
    PendingEdits pendingEdits();

signals:
    // After an Apply stored a force into the save.
    void applied();

private:
    // List1: a row per force that has a leader, "00:name".
    void buildList();
    // "勢力情報" (Frame3): the state name, court rank and technology.
    QGroupBox* buildForceInfo(const QStringList& courtRanks);
    // A group of flag boxes named boxName(0..), three a row: the troop types, the siege machines.
    QGroupBox* buildFlagFrame(const QString& caption, const QString& name, const char* boxName,
                              std::span<QCheckBox*> boxes);
    // The force as read with the view's values over it. Changes nothing on screen.
    ForceRecord collect() const;
    // The list moved to another force: asks about the edits of the one shown
    // first, and on "stay" puts the list back on it.
    void forceChosen();
    // Applies the edits shown.
    bool applyShownForce();

    Prompter& prompter_;
    SaveDocument& document_;
    DocumentKinds kinds_;  // the forces' checked write, over document_
    const QByteArray& save_;
    FlagBoxes<ForceRecord> flags_;
    std::vector<int> forces_;  // the force of each row of List1
    ForceRecord shown_;
    int shownForce_ = -1;
};

}  // namespace varkel
