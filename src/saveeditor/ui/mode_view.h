#pragma once

#include <QStringList>

#include <vector>

class QBoxLayout;
class QListWidget;
class QPushButton;
class QWidget;

namespace varkel {

class DocumentKinds;
class SaveDocument;

// The rows of a mode's list, row i for record i, and the record shown first.
struct ModeRows {
    QStringList texts;
    int first = 0;
};

// One mode of the saved-game editor: a list of records and a view of the one
// chosen. The editor switches, fills, asks about and applies its modes through
// this alone; which record is shown is kept by the mode's record list.
class ModeView {
public:
    // The view itself, as put into the editor.
    virtual QWidget* modeWidget() = 0;
    // The list the records are chosen from.
    virtual QListWidget* modeList() const = 0;
    // True when an Apply of the record shown would change the document or be
    // refused: the view holds edits not yet applied.
    virtual bool differsFrom(const DocumentKinds& kinds) const = 0;
    // Hands what the user changed of the record shown to its kind's checked write
    // through the document, as one undo step. A refusal is shown once the document
    // returned, and the result is false (nothing is stored then).
    virtual bool applyShown(DocumentKinds& kinds) = 0;
    // The rows of the list as the document holds them.
    virtual ModeRows listRows(const SaveDocument& document) const = 0;
    // Shows record `row`; reads the document only.
    virtual void showRecord(const SaveDocument& document, int row) = 0;

    // Apply of this mode, "Command7(i)".
    virtual QPushButton* applyButton() const = 0;
    // The row of the Apply button, where the window puts its Save button.
    virtual QBoxLayout* commandRow() const = 0;
    // The controls in reading order, Apply last, for the window's tab order.
    virtual std::vector<QWidget*> tabOrder() const = 0;

protected:
    ModeView() = default;
    ModeView(const ModeView&) = default;
    ModeView& operator=(const ModeView&) = default;
    ~ModeView() = default;
};

}  // namespace varkel
