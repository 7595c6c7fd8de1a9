#pragma once

#include "saveeditor/document_kinds.h"
#include "saveeditor/force_record.h"
#include "saveeditor/save_document.h"
#include "shared/seams.h"
#include "shared/ui/flag_boxes.h"
#include "shared/ui/record_list_editor.h"

#include <array>
#include <span>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace varkel {

// The force editor: the state name, court rank, technology, troop types and
// siege machines of every force that has a leader, stored straight into the save
// buffer. Shown modally over the saved-game editor.
class ForceEditor : public RecordListEditor {
    Q_OBJECT
public:
    // `courtRanks` are the scenario's 32 rank names; `prompter` asks about edits
    // not yet applied when the user leaves a force.
    ForceEditor(Prompter& prompter, SaveDocument& document, const QStringList& courtRanks, QWidget* parent = nullptr);

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

private:
    void showRecord(int s) override;
    bool shownDiffers() const override;
    // Every force the view can hold can be stored.
    bool store(int s) override;

    // "勢力情報" (Frame3): the state name, court rank and technology.
    QGroupBox* buildForceInfo(const QStringList& courtRanks);
    // A group of flag boxes named boxName(0..), three a row: the troop types, the siege machines.
    QGroupBox* buildFlagFrame(const QString& caption, const QString& name, const char* boxName,
                              std::span<QCheckBox*> boxes);
    // The force as read with the view's values over it. Changes nothing on screen.
    ForceRecord collect() const;

    DocumentKinds kinds_;  // the forces' checked write, over the document
    const QByteArray& save_;
    FlagBoxes<ForceRecord> flags_;
    ForceRecord shown_;
};

}  // namespace varkel
