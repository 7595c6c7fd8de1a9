#pragma once

#include "shared/session.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace varkel {

class OfficerSearchBox;

// The officer picker: every officer of the open file and a last "no officer" item.
// Opens on the session's picked officer; choosing stores the officer number (1720
// for no officer) there, cancelling leaves it alone. Callers show it modally.
class Form5 : public QDialog {
    Q_OBJECT
public:
    explicit Form5(Session& session, QWidget* parent = nullptr);

    void Command1_Click();
    void Command2_Click();

    QLabel* Label1 = nullptr;
    QListWidget* List1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;

private:
    Session& session_;
    OfficerSearchBox* search_ = nullptr;
};

}  // namespace varkel
