#include "shared/ui/pending_edits.h"

#include "shared/runtime_error.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTimer>

namespace varkel {

const char* const kPendingEditsQuestion = "這個記錄有尚未應用的修改。要應用這些修改嗎？\n"
                                          "(是: 應用  否: 放棄修改  取消: 留在這個記錄)";

bool MayLeaveRecord(Prompter& prompter, bool viewDiffers, const std::function<bool()>& apply)
{
    return !viewDiffers || prompter.askToDo(QString::fromUtf8(kPendingEditsQuestion), kEditorTitle, apply);
}

bool MaySaveWithPendingEdits(Prompter& prompter, bool viewDiffers, const std::function<bool()>& apply,
                             const std::function<void()>& reread)
{
    bool applied = false;
    if (!MayLeaveRecord(prompter, viewDiffers, [&] { return applied = apply(); }))
        return false;
    if (viewDiffers && !applied)
        reread();
    return true;
}

bool MayLeaveRecord(Prompter& prompter, const PendingEdits& edits, bool* applied)
{
    if (!edits.held)
        return true;
    return MayLeaveRecord(prompter, edits.held(), [&] {
        const bool stored = edits.apply();
        if (applied)
            *applied = stored;
        return stored;
    });
}

bool MaySaveWithPendingEdits(Prompter& prompter, const PendingEdits& edits)
{
    return !edits.held || MaySaveWithPendingEdits(prompter, edits.held(), edits.apply, edits.reread);
}

void WatchUserEdits(QWidget& view, const std::function<void()>& edited)
{
    for (auto* box : view.findChildren<QLineEdit*>())
        QObject::connect(box, &QLineEdit::textEdited, box, edited);
    for (auto* box : view.findChildren<QPlainTextEdit*>())
        QObject::connect(box, &QPlainTextEdit::textChanged, box, edited);
    for (auto* list : view.findChildren<QComboBox*>())
        QObject::connect(list, &QComboBox::activated, list, edited);
    for (auto* button : view.findChildren<QAbstractButton*>())
        QObject::connect(button, &QAbstractButton::clicked, button, edited);
}

}  // namespace varkel

namespace varkel {

bool MayMoveList(QListWidget& list, int row, int shownRow, Prompter& prompter, const PendingEdits& edits)
{
    if (shownRow < 0 || row == shownRow || MayLeaveRecord(prompter, edits))
        return true;
    const auto back = [&list, shownRow] {
        const QSignalBlocker block(&list);
        list.setCurrentRow(shownRow);
    };
    back();
    QTimer::singleShot(0, &list, back);
    return false;
}

}  // namespace varkel
