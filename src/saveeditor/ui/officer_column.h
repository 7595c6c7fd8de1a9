#pragma once

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace varkel {

class Prompter;

// The column beside the saved-game editor's views: the officers the players
// control (Combo10 in Frame26), the list of every officer (List1) and the search
// by name or number under it (Text13, with Label34 saying how it searches).
class OfficerColumn : public QWidget {
    Q_OBJECT
public:
    OfficerColumn(Prompter& prompter, QWidget* parent);

    QGroupBox* Frame26 = nullptr;
    QComboBox* Combo10 = nullptr;
    QListWidget* List1 = nullptr;
    QLineEdit* Text13 = nullptr;
    QLabel* Label34 = nullptr;
};

}  // namespace varkel
