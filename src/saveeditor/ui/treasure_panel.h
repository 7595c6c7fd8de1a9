#pragma once

#include "saveeditor/save_tables.h"
#include "saveeditor/treasure_record.h"
#include "saveeditor/ui/mode_view.h"
#include "shared/record_kind.h"
#include "shared/session.h"

#include <QFrame>

#include <array>
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

// The treasure view of the saved-game editor: the 255 treasures with their owners,
// and one treasure's attributes, owner, picture and note. Attributes are stored
// into the scenario buffer and the owner into the save buffer; writing either
// file is the editor's business.
class TreasurePanel : public QFrame, public ModeView {
    Q_OBJECT
public:
    explicit TreasurePanel(Session& session, QWidget* parent = nullptr);

    // The notes shown with the pictures, by picture number.
    void setNotes(QStringList notes) { notes_ = std::move(notes); }
    // Shows treasure i; reads the buffers only.
    void showTreasure(const QByteArray& save, const ScenarioData& scenario, int i);

    QWidget* modeWidget() override { return this; }
    QListWidget* modeList() const override { return List2; }
    bool differsFrom(const DocumentKinds& kinds) const override;
    bool applyShown(DocumentKinds& kinds) override;
    ModeRows listRows(const SaveDocument& document) const override;
    void showRecord(const SaveDocument& document, int row) override;
    QPushButton* applyButton() const override { return Command7; }
    // Wraps `n` into the bank (written back), shows it in Text7 and draws it.
    void ShowBWPic(int& n);

    int currentOwner() const { return owner_; }
    // Shows `owner` as the treasure's owner; stored by Apply.
    void setOwner(int owner);
    int currentPicture() const { return picture_; }

    // Controls, indexed as their object names.
    QListWidget* List2 = nullptr;
    QLabel* Label17 = nullptr;
    std::array<QLineEdit*, 4> Text4{};
    std::array<QComboBox*, 3> Combo2{};
    QPushButton* Command2 = nullptr;
    QGroupBox* Frame14 = nullptr;
    QPlainTextEdit* Text6 = nullptr;
    QGroupBox* Frame12 = nullptr;
    QLabel* Picture2 = nullptr;
    QLineEdit* Text7 = nullptr;
    QPushButton* Command3 = nullptr;  // >
    QPushButton* Command4 = nullptr;  // <
    QPushButton* Command5 = nullptr;  // > >
    QPushButton* Command6 = nullptr;  // < <
    QLabel* Label31 = nullptr;
    QPushButton* Command13 = nullptr;
    QPushButton* Command7 = nullptr;  // Apply of this mode, "Command7(1)"
    // The row of the Apply button, where the window puts its Save button.
    QBoxLayout* commandRow() const override { return commandRow_; }
    // The controls in reading order, Apply last, for the window's tab order.
    std::vector<QWidget*> tabOrder() const override;

signals:
    void chooseOwnerRequested();

private:
    QBoxLayout* commandRow_ = nullptr;
    QWidget* buildAttributes();
    QWidget* buildPicture();
    QWidget* buildFooter();
    // The kind shown decides the ability raised and how its points read.
    void treasureKindChosen();
    void Text7_Enter();
    void stepPicture(int by);
    // Draws picture n as it is, blank when it lies outside the bank.
    void drawPicture(int n);
    QString ownerName(int owner) const;
    // What the boxes change of the treasure shown, or the problem of a box that
    // cannot be read. Changes nothing on screen.
    std::optional<FieldProblem> edit(RecordChanges& changes) const;
    QString rowText(int i, const QString& name, const QString& owner) const;

    Session& session_;
    QStringList notes_;
    TreasureRecord shown_;  // as read, so odd stored codes can be kept
    int shownTreasure_ = -1;
    int picture_ = 0;
    int owner_ = 0;
};

}  // namespace varkel
