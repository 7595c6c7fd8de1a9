#pragma once

#include "neweditor/system_save_document.h"
#include "person/ui/person_controls.h"
#include "shared/session.h"
#include "shared/ui/number_boxes.h"
#include "shared/ui/pickers.h"
#include "shared/ui/record_list.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QBoxLayout;
class QMenuBar;
class QComboBox;
class QDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace varkel {

class EditState;
class FileCommands;
class OfficerSearchBox;

// The new-officer editor: the 100 player-made officers of the system save and
// their biographies. Apply changes the two buffers, Save writes both files; the
// Save button and menu items are enabled exactly while there are unsaved changes.
class NewOfficerEditor : public QWidget {
    Q_OBJECT
public:
    // The system saves its File > Open offers.
    inline static const QString kFilePattern = QStringLiteral("Svd_sys*.sav");

    // Opens the system save `path` (the game folder's when empty) and the game
    // folder's biographies; when either cannot be read, says so and gives nullptr,
    // as it does when the system save does not look like one and the user chooses
    // not to open it.
    static NewOfficerEditor* open(Session& session, const QString& path = {});
    ~NewOfficerEditor() override;

    // The face picker; by default the program's own, FacePicker. An empty one opens nothing.
    void setPicker(Picker picker) { picker_ = std::move(picker); }
    void setAboutView(std::function<void()> showAbout) { showAbout_ = std::move(showAbout); }

    SystemSaveDocument& document() const { return *document_; }
    const SystemSave& systemSave() const { return document_->file(); }
    const BiographyFile& biographies() const { return document_->biographies(); }
    bool modified() const;
    EditState& editState() const { return *state_; }

    // Shows the file just opened, from its first record.
    void showOpenedFile();
    void showOfficer(int i) { records_->show(i); }
    // Applies the boxes to officer i; false when refused (and said why).
    bool applyOfficer(int i) { return records_->apply(i); }
    // True when an Apply of the record shown would change the system save or the
    // biographies, or be refused: the view holds edits not yet applied. False
    // before any record is read.
    bool viewDiffers() const { return records_->viewDiffers(); }
    // The record last read or applied; -1 before the first.
    int shownRecord() const { return records_->shownRecord(); }

    // A system save handed to the program opens as through File > Open: the same
    // questions first.
    void openPath(const QString& path);

    // Controls, indexed as their object names.
    QListWidget* List1 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* Text5 = nullptr;
    QLabel* Label7 = nullptr;
    std::array<QLineEdit*, 4> Text2{};
    std::array<QLineEdit*, 10> Text3{};
    std::array<QComboBox*, 5> Combo{};  // Combo1..Combo5
    QPlainTextEdit* Text4 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QAction* sOpenfile = nullptr;
    QAction* sSavefile = nullptr;
    QAction* sSaveAs = nullptr;
    QAction* sExit = nullptr;
    const PersonControls& person() const { return person_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    NewOfficerEditor(Session& session, SystemSave file, BiographyFile biographies);
    // The file commands over the system save and the biographies.
    void useFileCommands();
    void buildMenus(QMenuBar* bar);
    // The list of officers with its search box below.
    QBoxLayout* buildList();
    QWidget* buildRecord();
    QWidget* buildNumbers(QWidget* parent);
    // Tab goes through the list and the record in reading order.
    void orderTabs();
    // The Save commands follow the unsaved state of either file.
    void updateSaveCommands();
    // The document changed: the list and the record shown follow.
    void documentChanged(const DocumentChange& change);
    // The list from the buffers, showing record `row`.
    void showFile(int row);
    // Gives the officer picker the name of new officer i and returns its row of the list, "number:name".
    QString nameOfficer(int i);
    // Asks about the biographies first when another program changed them since
    // they were read, then writes the system save through `writeSystemSave` (to
    // `path`), then the biographies: the game's Save rewrites both files.
    bool biographiesMayBeWritten();
    bool writeBothFiles(const QString& path,
                        const std::function<std::optional<RuntimeError>()>& writeSystemSave);
    // Reads `path` and the biographies again in place of the open files; nothing
    // changes (false) when either cannot be read or the user declines an unlike file.
    bool openChosen(const QString& path);
    // What the boxes change of the officer shown (its biography included), or the
    // problem of a box that cannot be read. Changes nothing on screen.
    std::optional<FieldProblem> edit(RecordChanges& changes,
                                     NumberBoxes<MemberRecord>::Clamped* clamped = nullptr) const;
    // What the list of officers asks of the view: fill it with officer i as the
    // buffers hold it, tell whether an Apply of the officer shown would change the
    // files or be refused, store it into officer i (false when refused, having said why).
    void fillView(int i);
    bool viewDiffersFromShown() const;
    bool store(int i);

    Session& session_;
    SystemSaveDocument* document_ = nullptr;
    PersonControls person_;
    Picker picker_;
    std::function<void()> showAbout_;
    RecordList* records_ = nullptr;  // the officer of each row of List1 and the one shown
    OfficerSearchBox* search_ = nullptr;
    EditState* state_ = nullptr;
    std::unique_ptr<FileCommands> files_;
    std::unique_ptr<NumberBoxes<MemberRecord>> numbers_;
    std::unique_ptr<ChoiceLists<MemberRecord>> lists_;
    MemberRecord shown_;  // as read, so odd stored codes can be kept
    QString shownBiography_;
};

}  // namespace varkel
