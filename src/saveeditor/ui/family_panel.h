#pragma once

#include "saveeditor/family_fields.h"
#include "saveeditor/save_tables.h"
#include "saveeditor/ui/mode_view.h"
#include "person/ui/person_controls.h"
#include "shared/record_kind.h"
#include "shared/session.h"
#include "shared/ui/number_boxes.h"

#include <QFrame>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QBoxLayout;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace varkel {

// The family view of the saved-game editor: the sixteen family members of the
// controlled officers, and one member with the officer it belongs to and a remark
// in the officer's voice. Apply stores the member (and a child's growth values,
// caps and biography) into the save buffer.
class FamilyPanel : public QFrame, public ModeView {
    Q_OBJECT
public:
    explicit FamilyPanel(Session& session, QWidget* parent = nullptr);

    // Shows member k; reads the buffer only. `random` picks a spouse's favourite
    // among equal abilities.
    void showMember(const QByteArray& save, const SaveTables& tables, int k);

    QWidget* modeWidget() override { return this; }
    QListWidget* modeList() const override { return List4; }
    bool differsFrom(const DocumentKinds& kinds) const override;
    bool applyShown(DocumentKinds& kinds) override;
    // The first named member is shown first (member 15 when none is named).
    ModeRows listRows(const SaveDocument& document) const override;
    void showRecord(const SaveDocument& document, int row) override;
    QPushButton* applyButton() const override { return Command7; }
    // The face picker, opened on the member's face: the face picked is shown and stored by Apply.
    void chooseFace(const Picker& picker, QWidget* parent);
    // The member as last read or applied: the forecast works from these values,
    // not from unapplied edits.
    const FamilyMember& shownMember() const { return shown_; }
    int shownAge() const { return age_; }
    void setRandomSource(std::function<double()> random) { random_ = std::move(random); }
    // Label32's colour while the forecast window is open.
    void setForecastOpen(bool open);

    const PersonControls& person() const { return person_; }
    QLineEdit* numberBox(const QString& control) const { return numbers_->box(control); }

    // Controls, indexed as their object names.
    QListWidget* List4 = nullptr;
    QGroupBox* Frame15 = nullptr;
    QGroupBox* Frame22 = nullptr;
    QLineEdit* Text10Age = nullptr;  // "Text10(7)", worked out, never stored
    std::array<QComboBox*, 5> Combo7{};
    QGroupBox* Frame21 = nullptr;
    QPlainTextEdit* Text11 = nullptr;
    QGroupBox* Frame24 = nullptr;
    QLabel* Picture5 = nullptr;
    QLabel* Label26 = nullptr;
    QLabel* Label27 = nullptr;
    QLabel* Label32 = nullptr;
    QPushButton* Command16 = nullptr;
    QPushButton* Command7 = nullptr;  // Apply of this mode, "Command7(3)"
    // The row of the Apply button, where the window puts its Save button.
    QBoxLayout* commandRow() const override { return commandRow_; }
    // The controls in reading order, Apply last, for the window's tab order.
    std::vector<QWidget*> tabOrder() const override;

signals:
    void changeFaceRequested();
    void forecastRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QBoxLayout* commandRow_ = nullptr;
    QWidget* buildMember();
    QWidget* buildOfficer();
    QWidget* buildNumbers();
    QWidget* buildFooter();
    void showSexCaption();
    // What the boxes change of the member shown (its biography included), or the
    // problem of a box that cannot be read. Changes nothing on screen.
    std::optional<FieldProblem> edit(RecordChanges& changes,
                                     NumberBoxes<FamilyMember>::Clamped* clamped = nullptr) const;
    void setLinkColour(const QColor& colour);

    Session& session_;
    PersonControls person_;
    std::unique_ptr<NumberBoxes<FamilyMember>> numbers_;
    std::unique_ptr<ChoiceLists<FamilyMember>> lists_;
    std::function<double()> random_;
    FamilyMember shown_;  // as read, so odd stored codes can be kept
    QString shownBiography_;
    int shownNumber_ = -1;
    int age_ = 0;
    bool withOfficer_ = false;  // a named member shown with its officer
    bool biographyShown_ = false;  // a child whose biography the view edits
    bool editable_ = false;        // Apply is offered for the member shown
    bool forecastOpen_ = false;
    // A click on Label32 opens the forecast; these keep a double click to one.
    bool clickOpened_ = false;           // the last press's release opened it
    bool releaseOfDoubleClick_ = false;  // the next release ends a double click
};

}  // namespace varkel
