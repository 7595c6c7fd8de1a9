#pragma once

#include "saveeditor/officer_fields.h"
#include "saveeditor/officer_record.h"
#include "saveeditor/save_document.h"
#include "saveeditor/save_tables.h"
#include "saveeditor/ui/mode_view.h"
#include "person/ui/person_controls.h"
#include "shared/record_kind.h"
#include "shared/session.h"
#include "shared/ui/number_boxes.h"

#include <QFrame>

#include <array>
#include <memory>
#include <vector>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace varkel {

// The officer view of the saved-game editor: one officer's names, numbers, traits,
// skills and tactics. Reading fills the controls from the save buffer; Apply reads
// every box and hands what the user changed to the officers' checked write.
class OfficerPanel : public QFrame, public ModeView {
    Q_OBJECT
public:
    explicit OfficerPanel(Session& session, QWidget* parent = nullptr);

    void setCityNames(const QStringList& names);
    void setForceList(const QStringList& leaderNames);

    // The officer list lives beside the views, in the window; its rows are written here.
    void setList(QListWidget* list) { list_ = list; }
    // True when the list has a row for officer n that does not name it `name`.
    bool listsOtherName(int n, const QString& name) const;
    // The list's row for officer n names it `name`.
    void renameInList(int n, const QString& name);
    QWidget* modeWidget() override { return this; }
    QListWidget* modeList() const override { return list_; }
    bool differsFrom(const DocumentKinds& kinds) const override;
    bool applyShown(DocumentKinds& kinds) override;
    ModeRows listRows(const SaveDocument& document) const override;
    void showRecord(const SaveDocument& document, int row) override;
    QPushButton* applyButton() const override { return Command7; }

    // The face picker, opened on the officer's face: the face picked is shown and stored by Apply.
    void chooseFace(const Picker& picker, QWidget* parent);
    bool viewLoaded() const { return viewLoaded_; }
    // Puts Check5 back to `on` without the handlers of its change running.
    void setCheck5Quietly(bool on);

    // Every tactic to "極" and every skill ticked; stored by Apply.
    void fillTacticsAndSkills();
    const PersonControls& person() const { return person_; }

    // Controls, indexed as their object names.
    std::array<QLineEdit*, 4> Text2{};
    std::array<QLineEdit*, 17> Text3{};
    std::array<QLineEdit*, 2> Text5{};
    QComboBox* Combo8 = nullptr;
    QComboBox* Combo3 = nullptr;
    QComboBox* Combo9 = nullptr;
    QComboBox* Combo11 = nullptr;
    QComboBox* Combo1 = nullptr;
    QCheckBox* Check5 = nullptr;
    QPushButton* Command11 = nullptr;
    QPushButton* Command9 = nullptr;
    QPushButton* Command10 = nullptr;
    QPushButton* Command7 = nullptr;  // Apply of this mode, "Command7(0)"
    // The row of the Apply button, where the window puts its Save button.
    QBoxLayout* commandRow() const override { return commandRow_; }
    // The controls in reading order, Apply last, for the window's tab order.
    std::vector<QWidget*> tabOrder() const override;

signals:
    void changeFaceRequested();

private:
    QBoxLayout* commandRow_ = nullptr;
    QWidget* buildSexAndDate();
    QWidget* buildNumbers();
    QWidget* buildLists();
    QWidget* buildCommands();
    QLineEdit* numberBox(const QString& control) const;
    void showOfficer(const QByteArray& save, const SaveTables& tables, int n);
    void showNumbers(const OfficerRecord& r);
    // What the boxes change of the officer shown, and the edit of the game date
    // when that changed; or the problem of a box that cannot be read. Changes
    // nothing on screen.
    std::optional<FieldProblem> edit(RecordChanges& changes, SaveDocument::Edit& date) const;

    Session& session_;
    PersonControls person_;
    std::unique_ptr<NumberBoxes<OfficerRecord>> numbers_;
    QHBoxLayout* dateRow_ = nullptr;
    OfficerRecord shown_;  // as read, so odd stored codes can be kept
    int shownOfficer_ = -1;
    QListWidget* list_ = nullptr;
    bool viewLoaded_ = false;
};

}  // namespace varkel
