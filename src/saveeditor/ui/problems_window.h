#pragma once

#include "saveeditor/save_document.h"
#include "saveeditor/save_kinds.h"
#include "shared/file_problems.h"
#include "shared/session.h"

#include <QDialog>
#include <QLabel>

#include <functional>
#include <vector>

class QStatusBar;
class QPushButton;
class QTreeWidget;

namespace varkel {

// The problems of the open save, as `varkel-cli check` finds them: where each is,
// what is stored and why the game may not expect it. A problem whose mend is safe
// and obvious can be mended, after the user has seen what will be written, as one
// undo step. The list is checked again after every change of the document.
class ProblemsWindow : public QDialog {
    Q_OBJECT
public:
    // `showRecord` shows a record (its kind and place) in its view.
    ProblemsWindow(Session& session, SaveDocument& document, SaveKindsContext context,
                   std::function<void(SaveRecord, int)> showRecord, QWidget* parent);

    const std::vector<FileProblem>& problems() const { return problems_; }
    // Checks the document again and lists what it finds.
    void refresh();
    // Asks, then makes the mends of the selected problems that have one; false
    // when nothing was written.
    bool mendSelected();

    QSize sizeHint() const override { return {860, 460}; }

    QTreeWidget* list = nullptr;
    QLabel* summary = nullptr;
    QPushButton* mendButton = nullptr;
    QPushButton* closeButton = nullptr;

private:
    std::vector<std::size_t> selectedProblems() const;
    void updateButtons();
    void showProblem(std::size_t i);

    Session& session_;
    SaveDocument& document_;
    SaveKindsContext context_;
    std::function<void(SaveRecord, int)> showRecord_;
    std::vector<FileProblem> problems_;
};

// The problems of the document's save, every kind checked.
std::vector<FileProblem> FindSaveProblems(const SaveDocument& document, const SaveKindsContext& context);

// On the status line, "發現 N 個問題" while the open save has problems: a link
// that opens their list. Not a stop of Tab: the list is also on the menu.
class ProblemsNote : public QLabel {
    Q_OBJECT
public:
    ProblemsNote(QStatusBar& line, const std::function<void()>& openList);
    // Counts the problems of `document` again.
    void count(const SaveDocument& document, const SaveKindsContext& context);
};

}  // namespace varkel
