#include "shared/ui/pending_edits.h"

#include "shared/runtime_error.h"

#include <QListWidget>
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

}  // namespace varkel

namespace varkel {

void StayOnRow(QListWidget& list, int row)
{
    const auto back = [&list, row] {
        const QSignalBlocker block(&list);
        list.setCurrentRow(row);
    };
    back();
    QTimer::singleShot(0, &list, back);
}

}  // namespace varkel
