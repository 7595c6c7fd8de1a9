#pragma once

#include "saveeditor/intimacy_stream.h"
#include "saveeditor/save_document.h"
#include "shared/session.h"

#include <QDialog>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace varkel {

// The intimacy editor: how the officer of one controlled-officer slot regards
// every officer the person map names (or the seven special persons). The user
// ticks rows, picks a level and applies it to all of them at once, straight into
// the save buffer. Shown modally over the saved-game editor.
class IntimacyEditor : public QDialog {
    Q_OBJECT
public:
    IntimacyEditor(Session& session, SaveDocument& document, int slot, QWidget* parent = nullptr);

    // Fills List1 for the general stream or the special persons.
    void fillList(bool special);
    void applyLevelToTicked();
    void tickAll();
    void untickAll();
    void Text1_Enter();
    int tickedCount() const;

    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QListWidget* List1 = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* Combo1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* Command2 = nullptr;

signals:
    // After an Apply wrote levels into the save.
    void applied();

private:
    // The two modes above the list: general officers (Option1), special persons (Option2).
    QHBoxLayout* buildModes();
    // List1 of names and levels, with the count of ticked rows (Label2) under it.
    QVBoxLayout* buildListColumn();
    // Beside the list: the level (Frame1), Apply, the tick buttons, the name search and Exit.
    QVBoxLayout* buildSide();
    // The levels shown read again, the ticks and the row chosen kept.
    void readAgain();
    void showCount();
    void showLevel(int row);
    QString rowText(int position) const;

    Session& session_;
    SaveDocument& document_;
    const QByteArray& save_;
    const SaveTables& tables_;
    int slot_;
    bool special_ = false;
};

}  // namespace varkel
