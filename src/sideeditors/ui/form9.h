#pragma once

#include "saveeditor/force_record.h"
#include "saveeditor/save_tables.h"
#include "shared/ui/flag_boxes.h"

#include <QDialog>

#include <array>
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
class Form9 : public QDialog {
    Q_OBJECT
public:
    // `courtRanks` are the scenario's 32 rank names.
    Form9(QByteArray& save, const SaveTables& tables, const QStringList& courtRanks,
          QWidget* parent = nullptr);

    void ReadBZQX(int s);
    void WriteBZQX(int s);
    void Command1_Click();
    // The force number of the selected row; -1 for none.
    int selectedForce() const;

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

signals:
    // After an Apply stored a force into the save buffer.
    void applied();

private:
    QByteArray& save_;
    FlagBoxes<ForceRecord> flags_;
    std::vector<int> forces_;  // the force of each row of List1
    ForceRecord shown_;
};

}  // namespace varkel
