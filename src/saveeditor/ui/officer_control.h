#pragma once

class QComboBox;
class QGroupBox;

namespace varkel {

class OfficerPanel;
class Prompter;
class SaveGameEditor;

// Who the players control and who appears, as the officer view changes it: the
// check box Check5 and the button Command11 write the save at once, behind a
// question, and the list of controlled officers (Combo10 in Frame26) follows.
class OfficerControl {
public:
    OfficerControl(SaveGameEditor& editor, QComboBox& controlled, QGroupBox& frame);

    // Combo10 and the Frame26 caption from the controlled-officer slots.
    void fillControlledList();
    // Check5 was ticked or unticked: the officer shown is taken or given up.
    void controlTicked();
    // Command11: the officer shown appears in the game.
    void forceAppearance();

private:
    // An officer chosen among the controlled ones is shown.
    void controlledChosen();
    OfficerPanel& panel() const;
    Prompter& prompter() const;
    void takeControl(int n);
    void giveUpControl(int n);
    // After a change of control: the list and officer n again. `selectSlot` is
    // the slot taken, -1 to leave Combo10 without a selection.
    void controlChanged(int n, int selectSlot);

    SaveGameEditor& editor_;
    QComboBox& controlled_;
    QGroupBox& frame_;
};

}  // namespace varkel
