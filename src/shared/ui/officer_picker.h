#pragma once

#include "shared/session.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace varkel {

class OfficerSearchBox;

// The officer picker: every officer of the open file and a last "no officer" item.
// Opens on the officer it is given; choosing gives the officer number (1720 for
// no officer), cancelling gives nothing. Callers show it modally.
class OfficerPicker : public QDialog {
    Q_OBJECT
public:
    OfficerPicker(Session& session, int officer, QWidget* parent = nullptr);

    // Shows the picker modally on `officer`; the officer chosen, or nothing when cancelled.
    static std::optional<int> getOfficer(Session& session, int officer, QWidget* parent = nullptr);
    // The officer chosen; nothing until one is.
    std::optional<int> picked() const { return picked_; }

    void pickSelected();
    void cancel();

    QLabel* Label1 = nullptr;
    QListWidget* List1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;

private:
    Session& session_;
    OfficerSearchBox* search_ = nullptr;
    std::optional<int> picked_;
};

}  // namespace varkel
