#pragma once

#include "saveeditor/relation_record.h"
#include "saveeditor/save_tables.h"
#include "saveeditor/ui/mode_view.h"
#include "shared/record_kind.h"
#include "shared/session.h"

#include <QFrame>

#include <array>
#include <vector>

class QBoxLayout;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace varkel {

// The relationship view of the saved-game editor: the 256 sworn bonds, feuds,
// rivalries and marriages, and one of them with the faces and names of its
// parties. Apply stores the relationship into all eight copies of the table.
class RelationPanel : public QFrame, public ModeView {
    Q_OBJECT
public:
    explicit RelationPanel(Session& session, QWidget* parent = nullptr);

    // Record i becomes the current relationship and is shown; reads the buffer only.
    void showRelation(const QByteArray& save, const SaveTables& tables, int i);
    // Party p (0 A, 1 B, 2 the third party) becomes `officer`, or no officer (1023)
    // when it has no name; stored by Apply.
    void setParty(const QByteArray& save, const SaveTables& tables, int p, int officer);
    const Relation& current() const { return current_; }

    QWidget* modeWidget() override { return this; }
    QListWidget* modeList() const override { return List3; }
    bool differsFrom(const DocumentKinds& kinds) const override;
    bool applyShown(DocumentKinds& kinds) override;
    ModeRows listRows(const SaveDocument& document) const override;
    void showRecord(const SaveDocument& document, int row) override;
    QPushButton* applyButton() const override { return Command7; }

    // Controls, indexed as their object names.
    QListWidget* List3 = nullptr;
    std::array<QGroupBox*, 3> Frame11{};
    std::array<QLabel*, 3> Picture3{};
    std::array<QLabel*, 3> Label19{};
    std::array<QPushButton*, 3> Command12{};
    std::array<QFrame*, 3> Frame29{};
    std::array<QLabel*, 3> Label33{};
    QComboBox* Combo4 = nullptr;
    QPushButton* Command7 = nullptr;  // Apply of this mode, "Command7(2)"
    // The row of the Apply button, where the window puts its Save button.
    QBoxLayout* commandRow() const override { return commandRow_; }
    // The controls in reading order, Apply last, for the window's tab order.
    std::vector<QWidget*> tabOrder() const override;

signals:
    void changePartyRequested(int p);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QBoxLayout* commandRow_ = nullptr;
    QWidget* buildParty(int p);
    void relationKindChosen(int kind);
    // The face and name of party p, blank for no officer or one outside the save.
    void showParty(const QByteArray& save, const SaveTables& tables, int p, bool withFace);
    void showSpeech(int p, bool on);

    Session& session_;
    // What the user changed of the record shown, for the relations' checked write.
    RecordChanges edit() const;

    Relation shown_;    // the record as read
    Relation current_;  // the record shown, with the kind and parties chosen since
    int shownRelation_ = -1;
};

}  // namespace varkel
