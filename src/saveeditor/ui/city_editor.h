#pragma once

#include "saveeditor/city_record.h"
#include "saveeditor/document_kinds.h"
#include "saveeditor/save_document.h"
#include "shared/session.h"
#include "shared/ui/flag_boxes.h"
#include "shared/ui/pickers.h"
#include "shared/ui/record_list_editor.h"

#include <array>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace varkel {

// The city editor: each city's corps, head, bandits and disasters, stored straight
// into the save buffer. Shown modally over the saved-game editor; the head and
// corps tables are the save's as it stands, worked out again after each Apply.
class CityEditor : public RecordListEditor {
    Q_OBJECT
public:
    // `cityNames` are the scenario's; `picker` opens the officer picker for the bandit leader.
    CityEditor(Session& session, SaveDocument& document, const QStringList& cityNames, Picker picker,
           QWidget* parent = nullptr);

    void banditsTicked();
    void chooseBanditLeader();

    QGroupBox* Frame3 = nullptr;
    QComboBox* Combo1 = nullptr;  // force, shown only
    QComboBox* Combo2 = nullptr;  // corps
    QComboBox* Combo3 = nullptr;  // head
    QGroupBox* Frame2 = nullptr;
    QCheckBox* Check2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QPushButton* Command1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QCheckBox*, city::kDisasterCount> Check1{};
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;

private:
    void showRecord(int c) override;
    // The heads and corps worked out from the save as it stands.
    void storedChanged() override;
    bool shownDiffers() const override;
    bool store(int c) override;

    // "都市情報" (Frame3): the city's force, shown only, its corps and its head.
    QGroupBox* buildCityInfo();
    // "盜賊" (Frame2): whether bandits roam, their strength and their leader.
    QGroupBox* buildBandits();
    // "災害" (Frame1): a box per disaster, three a row.
    QGroupBox* buildDisasters();
    // The city as read with the view's values over it, or the problem of a value
    // that cannot be stored. Changes nothing on screen.
    std::optional<FieldProblem> collect(CityRecord& edited) const;
    void showForce(int force);
    void showCorps(int c);
    void showHeads();
    void showLeader();
    void enableBandits(bool on);

    Session& session_;
    DocumentKinds kinds_;  // the cities' checked write, over the document
    const QByteArray& save_;
    const SaveTables& tables_;
    Picker picker_;
    FlagBoxes<CityRecord> flags_;
    CityHeads heads_;
    CityOfficers officers_;
    CityRecord shown_;
    std::vector<int> corpsRows_;  // the corps number of each row of Combo2
    std::vector<int> headRows_;   // the officer of each row of Combo3; -1 for "無"
    int leader_ = city::kNoLeader;
};

}  // namespace varkel
